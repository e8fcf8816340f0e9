#include "ui/list_view.h"

#include <commctrl.h>

namespace {

const DWORD LIST_STYLE = WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | LVS_OWNERDATA | LVS_SHOWSELALWAYS |
                         LVS_SINGLESEL | LVS_REPORT;

// The list-view class must be known before the window is made: the layer would otherwise
// register a class of that name of its own.
const char* registeredListViewClass()
{
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&init);
    return WC_LISTVIEWA;
}

}  // namespace

ListView::ListView(Control* parent) : Control(registeredListViewClass(), LIST_STYLE, parent)
{
    setClientEdge();
    addExtendedStyle(LVS_EX_DOUBLEBUFFER);
}

void ListView::addExtendedStyle(DWORD bits)
{
    LRESULT current = SendMessageA(hwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    SendMessageA(hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, current | bits);
}

void ListView::insertColumn(int32_t position, const char* header)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<char*>(header);
    SendMessageA(hwnd(), LVM_INSERTCOLUMNA, position, reinterpret_cast<LPARAM>(&column));
}

void ListView::setRowCount(int32_t rows)
{
    // Wine's list view pays for every row at the next selection when the count changes under a
    // selected row; a list with nothing selected does not. Windows shows the same either way. The
    // selected row is the one at the selection mark (searching for it costs Wine a step per row).
    int32_t mark = selectionMark();
    if (mark >= 0 && SendMessageA(hwnd(), LVM_GETITEMSTATE, mark, LVIS_SELECTED)) {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED;
        SendMessageA(hwnd(), LVM_SETITEMSTATE, mark, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(hwnd(), LVM_SETITEMCOUNT, rows, 0);
}

void ListView::selectRow(int32_t row)
{
    LVITEMA item = {};
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(hwnd(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageA(hwnd(), LVM_SETSELECTIONMARK, 0, row);
    SendMessageA(hwnd(), LVM_ENSUREVISIBLE, row, FALSE);
}

int32_t ListView::selectionMark() const
{
    return static_cast<int32_t>(SendMessageA(hwnd(), LVM_GETSELECTIONMARK, 0, 0));
}

ListView::Batch::Batch(ListView& list) : list_(list), active_(IsWindowVisible(list.hwnd()) != FALSE)
{
    if (!active_)
        return;
    SendMessageA(list_.hwnd(), WM_SETREDRAW, FALSE, 0);
    // Also the default handling, which leaves the window undrawable until it ends: Wine's list
    // view keeps it to itself, and then draws its scroll bars on every change of their range.
    DefWindowProcA(list_.hwnd(), WM_SETREDRAW, FALSE, 0);
}

ListView::Batch::~Batch()
{
    if (!active_)
        return;
    SendMessageA(list_.hwnd(), WM_SETREDRAW, TRUE, 0);
    // A row brought into view meanwhile was scrolled to within the scroll range of the old row
    // count: bring it into view again now that the range is the new one.
    int32_t mark = list_.selectionMark();
    if (mark >= 0 && mark < SendMessageA(list_.hwnd(), LVM_GETITEMCOUNT, 0, 0))
        SendMessageA(list_.hwnd(), LVM_ENSUREVISIBLE, mark, FALSE);
    DefWindowProcA(list_.hwnd(), WM_SETREDRAW, TRUE, 0);
    // As the message's own documentation asks: scroll bars, header and rows, painted once.
    RedrawWindow(list_.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

LRESULT ListView::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const NMHDR* header = notificationOf(message, lParam);
    if (header && displayTextHandler.hasTarget()) {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(lParam);
        if (header->code == LVN_GETDISPINFOA && header->hwndFrom == hwnd() && (info->item.mask & LVIF_TEXT)) {
            DisplayTextArgs args;
            args.row = info->item.iItem;
            args.column = info->item.iSubItem;
            displayTextHandler(*this, args);
            // Copied into the list's own buffer: the handler's text need only last until it returns.
            if (args.text && info->item.pszText && info->item.cchTextMax > 0)
                lstrcpynA(info->item.pszText, args.text, info->item.cchTextMax);
        }
    }
    return Control::windowProc(message, wParam, lParam);
}
