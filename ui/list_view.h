#ifndef QUORLAN_UI_LIST_VIEW_H
#define QUORLAN_UI_LIST_VIEW_H

// ListView: a virtual report list ("SysListView32" with LVS_OWNERDATA) on the window layer.
//
// The list holds no texts, only an item count; it asks displayTextHandler for each cell it
// paints. Its notifications arrive at its parent, whose Control hands them back to the list.

#include "ui/control.h"

#include <cstdint>

class ListView : public Control {
public:
    // A single-selection, double-buffered report list with a client edge, a child of parent.
    explicit ListView(Control* parent);

    // Adds list-view extended style bits (LVS_EX_...).
    void addExtendedStyle(DWORD bits);
    // Inserts a column with the header text (copied by the list) before the column at position;
    // its width is set afterwards with LVM_SETCOLUMNWIDTH.
    void insertColumn(int32_t position, const char* header);
    // Sets the number of rows; the list asks for their texts again.
    void setRowCount(int32_t rows);
    // Selects and focuses the row, sets the selection mark to it and scrolls it fully into view.
    void selectRow(int32_t row);
    // The row the list holds as its selection mark, -1 for none. The list may keep a mark past its
    // last row (an emptied list keeps its old one): callers compare it with their row count.
    int32_t selectionMark() const;

    // While a Batch lives the list paints nothing and leaves its scroll bars alone; when it ends
    // it brings them up to date, scrolls the row at the selection mark into view and is painted
    // once. On Windows this spares only intermediate paints; under Wine it also spares the list
    // view's immediate redraws of its scroll bar, twice at each change of the row count. A list
    // that is not visible (its window is about to be shown) paints nothing anyway: there a Batch
    // does nothing, where under Wine it would have the list laid out and painted twice over.
    class Batch {
    public:
        explicit Batch(ListView& list);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        ListView& list_;
        bool active_;
    };

    // Asked for the text of each cell, which is copied into the list's own buffer at once: it need
    // last only until the handler returns. Empty: the cells stay blank.
    EventHandler<DisplayTextArgs> displayTextHandler;

protected:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

#endif
