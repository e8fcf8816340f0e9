#include "ui/window.h"

Window::Window(const char* className, DWORD style) : Control(className, style, nullptr)
{
}

int32_t Window::runModal()
{
    setVisible(true);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(hwnd(), &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    setVisible(false);
    return result;
}

void Window::endModal(int32_t value)
{
    result = value;
    SendMessageA(hwnd(), WM_CLOSE, 0, 0);
}

void Window::onClose()
{
    PostQuitMessage(0);
    setVisible(false);
}

LRESULT Window::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        onClose();
        return 0;
    }
    return Control::windowProc(message, wParam, lParam);
}
