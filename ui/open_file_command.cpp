#include "ui/open_file_command.h"

#include "driver/report_error.h"
#include "solution/solution.h"
#include "ui/open_file_dialog.h"
#include "vslink/open_in_visual_studio.h"

namespace {

// Messages shown while the dialog exists are owned by its window.
class MessageOwnerScope {
public:
    explicit MessageOwnerScope(HWND owner) { messageOwner = owner; }
    ~MessageOwnerScope() { messageOwner = nullptr; }
    MessageOwnerScope(const MessageOwnerScope&) = delete;
    MessageOwnerScope& operator=(const MessageOwnerScope&) = delete;
};

void restoreState(OpenFileDialog& dialog, const Solution& solution)
{
    HWND filterBox = dialog.editBox->hwnd();
    SetWindowTextA(filterBox, solution.lastFilter.c_str());
    // Selected whole, so that the first typed character replaces it.
    SendMessageA(filterBox, EM_SETSEL, 0, -1);
    dialog.initialRow = solution.lastSelection;
    dialog.cutText = describeCuts(solution.cuts());
}

// Marks the solution to be written back when the applied filter or the selected row changed.
void storeState(const OpenFileDialog& dialog, Solution& solution)
{
    if (dialog.currentFilter != solution.lastFilter) {
        solution.lastFilter = dialog.currentFilter;
        solution.dirty = true;
    }
    int32_t row = dialog.listView->selectionMark();
    if (row != solution.lastSelection) {
        solution.lastSelection = row;
        solution.dirty = true;
    }
}

}  // namespace

void openFileCommand(const AppInfo& app, HWND window, std::string solutionPath, HWND referenceWindow,
                     DWORD parentProcessId)
{
    // The solution outlives the dialog: the index refers to the model's file lists.
    Solution solution(solutionPath);
    if (!solution.load())
        return;

    OpenFileDialog dialog(referenceWindow);
    MessageOwnerScope owner(dialog.hwnd());
    dialog.index.build(solution);
    restoreState(dialog, solution);
    if (dialog.runModal() != 0)
        return;

    storeState(dialog, solution);
    int32_t position = dialog.selectedPosition();
    std::string chosen = position >= 0 ? dialog.index.path(position) : "";
    openInVisualStudio(app, window, chosen, parentProcessId);
}
