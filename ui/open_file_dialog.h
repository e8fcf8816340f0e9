#ifndef QUORLAN_UI_OPEN_FILE_DIALOG_H
#define QUORLAN_UI_OPEN_FILE_DIALOG_H

// OpenFileDialog: the "Open file in solution" window.
//
// A fixed-size top-level window (class "OpenFileWindow") with a virtual list of the index's files
// and a filter box below it. Releasing a key narrows the list to the files whose name contains the
// filter text (ASCII letters folded, folders never searched) and names the selected file in the
// caption. Enter or a double-click on a row chooses the selected file (result 0); Escape or closing
// the window cancels (result 1). Arrow and page keys typed in the filter box move the list's
// selection, Home and End too while the box is empty.
//
// The list shows texts composed from the index, and the index refers to the solution model, so
// the model must outlive the dialog. One such window exists at a time (its class is registered by the
// dialog and unregistered with it).

#include "flip/file_index.h"
#include "ui/edit_box.h"
#include "ui/list_view.h"
#include "ui/name_filter.h"
#include "ui/window.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class OpenFileDialog : public Window {
public:
    // A hidden, fully built window, centered on referenceWindow unless that is null.
    explicit OpenFileDialog(HWND referenceWindow);
    ~OpenFileDialog() override;

    // The index position of the selected row; -1 when no row of the list is selected.
    int32_t selectedPosition() const;

    // Filled by the caller before runModal; read-only while the window exists.
    FileIndex index;
    // The caller may put a text into the filter box before runModal.
    std::unique_ptr<EditBox> editBox;
    std::unique_ptr<ListView> listView;
    // The row to select when the window is shown, -1 for the row the filter proposes.
    int32_t initialRow = -1;
    // The lower-cased filter text applied last.
    std::string currentFilter;
    // What the caption tells after the counts when the solution's model was cut (describeCuts);
    // "" for a whole model. Set by the caller before runModal.
    std::string cutText;

protected:
    // Applies the restored filter and selects the initial row.
    bool onShow(EventArgs& args) override;
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void makeFixedSize();
    void createList(int width, int height);
    void createFilterBox(int width, int height);
    void connectHandlers();
    void loadIcon();

    void handleKeyDown(Control& sender, KeyEventArgs& args);
    void handleKeyUp(Control& sender, KeyEventArgs& args);
    void forwardWheel(Control& sender, WheelEventArgs& args);
    void provideRowText(Control& sender, DisplayTextArgs& args);
    void sendKeyToList(uint32_t key);

    // Filters the index by the filter box's text unless it is the text applied last (or force),
    // proposes a row and refreshes the caption.
    void applyFilter(bool force);
    // Gives the list its rows and selects one of them (any row when there are rows), painting once.
    void showRows(int32_t rows, int32_t selected);
    // The caption: titleText_, then the selected file's name.
    void refreshTitle();
    // The number of rows the list has: every file, or the matches of a filter.
    int32_t rowCount() const;
    // The index position a row of the list stands for; -1 outside the list.
    int32_t positionOfRow(int32_t row) const;
    // The text of a cell, composed from the solution model into cellText_ (the list copies it at
    // once); null outside the list.
    const char* rowText(int32_t row, int32_t column);

    MatchList matches_;  // index positions of the rows while a filter is applied
    std::string titleText_;          // the caption without the selected file's name
    std::string cellText_;           // the text of the cell the list asked for last
    UniqueIcon icon_;
};

#endif
