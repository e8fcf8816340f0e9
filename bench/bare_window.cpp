#include "bench/bare_window.h"

#include <commctrl.h>

#include <cstdio>

namespace {

const char* const CLASS_NAME = "BareOpenFileWindow";
const int WIDTH = 800;
const int HEIGHT = 500;
const int MARGIN = 5;
const int BOX_HEIGHT = 22;

HFONT messageFont()
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        return nullptr;
    return CreateFontIndirectA(&metrics.lfMessageFont);
}

void setCaption(HWND window, int rows)
{
    char caption[128];
    snprintf(caption, sizeof caption, "Bare window - %d files - mesh_Scene123.cpp", rows);
    SetWindowTextA(window, caption);
}

void selectFirstRow(HWND list)
{
    LVITEMA item = {};
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    SendMessageA(list, LVM_SETSELECTIONMARK, 0, 0);
}

HWND makeList(HWND parent, HFONT font, RECT client)
{
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&init);
    int width = client.right - 2 * MARGIN;
    int height = client.bottom - 3 * MARGIN - BOX_HEIGHT;
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_TABSTOP | LVS_OWNERDATA |
                                    LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_REPORT,
                                MARGIN, MARGIN, width, height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_DOUBLEBUFFER | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    const char* headers[] = {"File", "Path"};
    for (int column = 0; column < 2; ++column) {
        LVCOLUMNA entry = {};
        entry.mask = LVCF_TEXT | LVCF_WIDTH;
        entry.pszText = const_cast<char*>(headers[column]);
        entry.cx = column == 0 ? 200 : width - 200 - GetSystemMetrics(SM_CXVSCROLL) - 4;
        SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&entry));
    }
    return list;
}

}  // namespace

BareWindow::BareWindow(int rows)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    windowClass.lpszClassName = CLASS_NAME;
    ATOM atom = RegisterClassExA(&windowClass);
    if (!atom)
        return;
    class_.reset({atom, instance});
    font_.reset(messageFont());
    window_ = CreateWindowExA(0, CLASS_NAME, "", WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, 0, WIDTH,
                              HEIGHT, nullptr, nullptr, instance, nullptr);
    if (!window_)
        return;
    icon_.reset(static_cast<HICON>(LoadImageA(instance, "OpenInSolution", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    RECT client;
    GetClientRect(window_, &client);
    list_ = makeList(window_, static_cast<HFONT>(font_.get()), client);
    HWND box = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                               MARGIN, client.bottom - MARGIN - BOX_HEIGHT, client.right - 2 * MARGIN, BOX_HEIGHT,
                               window_, nullptr, instance, nullptr);
    SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    SetFocus(box);
    SendMessageA(list_, LVM_SETITEMCOUNT, rows, 0);
    selectFirstRow(list_);
    setCaption(window_, rows);
}

BareWindow::~BareWindow()
{
    if (window_)
        DestroyWindow(window_);
}

void BareWindow::show()
{
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

void BareWindow::showRows(int rows)
{
    SendMessageA(list_, LVM_SETITEMCOUNT, rows, 0);
    if (rows > 0)
        selectFirstRow(list_);
    setCaption(window_, rows);
    UpdateWindow(window_);
}

LRESULT CALLBACK BareWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(lParam);
        if (info->hdr.code == LVN_GETDISPINFOA && (info->item.mask & LVIF_TEXT) && info->item.cchTextMax > 0) {
            // Texts of the generated solution's length: the rows paint as much as the real ones.
            const char* text = info->item.iSubItem == 0 ? "mesh_Scene123.cpp"
                                                        : "Z:\\tmp\\bench\\project123\\mesh\\scene\\mesh_Scene123.cpp";
            lstrcpynA(info->item.pszText, text, info->item.cchTextMax);
        }
        return 0;
    }
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
