#include "ui/edit_box.h"

EditBox::EditBox(DWORD style, Control* parent) : Control("EDIT", style, parent)
{
}

LRESULT EditBox::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CHAR && (wParam == VK_ESCAPE || wParam == VK_RETURN))
        return 0;
    return Control::windowProc(message, wParam, lParam);
}
