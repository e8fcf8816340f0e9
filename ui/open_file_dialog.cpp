#include "ui/open_file_dialog.h"

#include "driver/instance_handle.h"
#include "solution/text.h"
#include "ui/name_filter.h"

#include <commctrl.h>
#include <shlwapi.h>

namespace {

const char* const CAPTION = "Open file in solution";
const int DIALOG_WIDTH = 800;
const int DIALOG_HEIGHT = 500;
const int MARGIN = 5;
const int FILTER_BOX_HEIGHT = 22;
const int FILE_COLUMN_WIDTH = 200;

}  // namespace

OpenFileDialog::OpenFileDialog(HWND referenceWindow)
    : Window("OpenFileWindow", WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME)
{
    result = 1;
    // The children are placed by hand; the anchors take over once they are in place.
    layoutEnabled = false;
    SetWindowTextA(hwnd(), CAPTION);
    resizeTo(DIALOG_WIDTH, DIALOG_HEIGHT);
    makeFixedSize();

    RECT client;
    GetClientRect(hwnd(), &client);
    int width = client.right - 2 * MARGIN;
    int height = client.bottom;
    createList(width, height);
    createFilterBox(width, height);
    connectHandlers();

    if (referenceWindow)
        centerOn(referenceWindow);
    SetFocus(editBox->hwnd());
    loadIcon();
    layoutEnabled = true;
    updateLayout();
}

OpenFileDialog::~OpenFileDialog()
{
    // The icon goes with this object, before the window that shows it: take it off first.
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, 0);
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, 0);
    setVisible(false);
    editBox.reset();
    listView.reset();
}

void OpenFileDialog::makeFixedSize()
{
    LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE);
    style = (style & ~static_cast<LONG_PTR>(WS_THICKFRAME)) | WS_CAPTION;
    SetWindowLongPtrA(hwnd(), GWL_STYLE, style);
    SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

void OpenFileDialog::createList(int width, int height)
{
    listView = std::make_unique<ListView>(this);
    listView->moveTo(MARGIN, MARGIN);
    int bottom = height - MARGIN - FILTER_BOX_HEIGHT - MARGIN;  // above the filter box and a gap
    listView->resizeTo(width, bottom - MARGIN);
    listView->anchors = AnchorStretchX | AnchorFollowX | AnchorStretchY | AnchorFollowY;
    listView->updateLayout();
    listView->insertColumn(0, "File");
    listView->insertColumn(1, "Path");
    SendMessageA(listView->hwnd(), LVM_SETCOLUMNWIDTH, 0, FILE_COLUMN_WIDTH);
    // The path column fills the rest of the list: showRows sizes it, with the rows in, as the
    // window is shown.
    listView->addExtendedStyle(LVS_EX_FULLROWSELECT);
    listView->addExtendedStyle(LVS_EX_GRIDLINES);
}

void OpenFileDialog::createFilterBox(int width, int height)
{
    editBox = std::make_unique<EditBox>(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, this);
    editBox->setClientEdge();
    SHAutoComplete(editBox->hwnd(), SHACF_AUTOAPPEND_FORCE_OFF);
    editBox->moveTo(MARGIN, height - MARGIN - FILTER_BOX_HEIGHT);
    editBox->resizeTo(width, FILTER_BOX_HEIGHT);
    editBox->anchors = AnchorStretchX | AnchorFollowX | AnchorFollowY;
    editBox->updateLayout();
}

void OpenFileDialog::connectHandlers()
{
    auto keyDown = EventHandler<KeyEventArgs>::to<&OpenFileDialog::handleKeyDown>(this);
    auto keyUp = EventHandler<KeyEventArgs>::to<&OpenFileDialog::handleKeyUp>(this);
    for (Control* child : {static_cast<Control*>(editBox.get()), static_cast<Control*>(listView.get())}) {
        child->keyDownHandlers.addHandler(keyDown);
        child->keyUpHandlers.addHandler(keyUp);
    }
    editBox->mouseWheelHandlers.addHandler(EventHandler<WheelEventArgs>::to<&OpenFileDialog::forwardWheel>(this));
    listView->displayTextHandler = EventHandler<DisplayTextArgs>::to<&OpenFileDialog::provideRowText>(this);
}

void OpenFileDialog::loadIcon()
{
    icon_.reset(static_cast<HICON>(LoadImageA(instanceHandle, "OpenInSolution", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
}

bool OpenFileDialog::onShow(EventArgs& args)
{
    matches_.reserve(static_cast<size_t>(index.size()));
    applyFilter(true);
    // A restored row that the list does not have (any row of an empty list) is dropped.
    int32_t rows = rowCount();
    if (initialRow >= rows)
        initialRow = -1;
    if (initialRow >= 0)
        listView->selectRow(initialRow);
    else if (rows > 0)
        listView->selectRow(0);
    return Window::onShow(args);
}

LRESULT OpenFileDialog::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETFOCUS && editBox)
        SetFocus(editBox->hwnd());
    // A double-click below the last row has no row under the pointer: it chooses nothing.
    const NMHDR* header = notificationOf(message, lParam);
    if (header && listView && header->hwndFrom == listView->hwnd() && header->code == static_cast<UINT>(NM_DBLCLK) &&
        reinterpret_cast<const NMITEMACTIVATE*>(header)->iItem >= 0)
        endModal(0);
    return Window::windowProc(message, wParam, lParam);
}

void OpenFileDialog::handleKeyDown(Control& sender, KeyEventArgs& args)
{
    bool inFilterBox = &sender == editBox.get();
    switch (args.key) {
    case VK_ESCAPE:
        endModal(1);
        break;
    case VK_RETURN:
        endModal(0);
        break;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN:
        if (inFilterBox) {
            sendKeyToList(args.key);
            args.passOn = false;
        }
        break;
    case VK_HOME:
    case VK_END:
        // The box still moves its caret: the list follows only while there is no text to edit.
        if (inFilterBox && GetWindowTextLengthA(editBox->hwnd()) == 0)
            sendKeyToList(args.key);
        break;
    }
}

void OpenFileDialog::sendKeyToList(uint32_t key)
{
    SendMessageA(listView->hwnd(), WM_KEYDOWN, key, 0);
}

void OpenFileDialog::handleKeyUp(Control&, KeyEventArgs& args)
{
    // Keys from 0x80 up (the punctuation keys among them) never re-filter: the list keeps the
    // result of the text without their character until the next key below 0x80.
    if (args.key < 0x80)
        applyFilter(false);
    refreshTitle();
}

void OpenFileDialog::forwardWheel(Control&, WheelEventArgs& args)
{
    WPARAM delta = static_cast<WPARAM>(static_cast<uint16_t>(args.delta)) << 16;
    SendMessageA(listView->hwnd(), WM_MOUSEWHEEL, delta, 0);
}

void OpenFileDialog::provideRowText(Control&, DisplayTextArgs& args)
{
    args.text = rowText(args.row, args.column);
}

void OpenFileDialog::applyFilter(bool force)
{
    std::string filter = editBox->getText();
    lowerCaseInPlace(filter);
    if (filter == currentFilter && !force)
        return;
    currentFilter = std::move(filter);
    titleText_ = std::string(CAPTION) + " - ";
    matches_.clear();

    const int32_t total = index.size();
    int32_t preferredRow = -1;
    if (currentFilter.empty()) {
        titleText_ += decimalText(total) + (total == 1 ? " file" : " files");
    } else {
        preferredRow = findMatches(index, currentFilter, matches_);
        int32_t count = static_cast<int32_t>(matches_.size());
        titleText_ += decimalText(count) + (count == 1 ? " match (" : " matches (") + decimalText(total) + " total)";
    }
    if (!cutText.empty())
        titleText_ += " - " + cutText;

    showRows(rowCount(), preferredRow >= 0 ? preferredRow : 0);
    refreshTitle();
}

void OpenFileDialog::showRows(int32_t rows, int32_t selected)
{
    ListView::Batch batch(*listView);
    listView->setRowCount(rows);
    if (rows > 0)
        listView->selectRow(selected);
    else  // the list keeps its old mark when it empties: it would name a row it no longer has
        SendMessageA(listView->hwnd(), LVM_SETSELECTIONMARK, 0, -1);
    SendMessageA(listView->hwnd(), LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE_USEHEADER);
}

void OpenFileDialog::refreshTitle()
{
    std::string caption = titleText_;
    int32_t position = selectedPosition();
    std::string name = position >= 0 ? index.name(position) : "";
    if (!name.empty())
        caption += " - " + name;
    SetWindowTextA(hwnd(), caption.c_str());
}

int32_t OpenFileDialog::rowCount() const
{
    return currentFilter.empty() ? index.size() : static_cast<int32_t>(matches_.size());
}

int32_t OpenFileDialog::positionOfRow(int32_t row) const
{
    if (row < 0 || row >= rowCount())
        return -1;
    return currentFilter.empty() ? row : matches_[static_cast<size_t>(row)];
}

int32_t OpenFileDialog::selectedPosition() const
{
    // A mark outside the list (one left on a list that has since emptied) chooses nothing.
    return positionOfRow(listView->selectionMark());
}

const char* OpenFileDialog::rowText(int32_t row, int32_t column)
{
    int32_t position = positionOfRow(row);
    if (position < 0)
        return nullptr;
    cellText_ = column == 0 ? index.name(position) : index.path(position);
    return cellText_.c_str();
}
