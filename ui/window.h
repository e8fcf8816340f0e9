#ifndef QUORLAN_UI_WINDOW_H
#define QUORLAN_UI_WINDOW_H

// Window: a top-level Control with a modal message loop and a result.

#include "ui/control.h"

#include <cstdint>

class Window : public Control {
public:
    // A top-level window of className with the given style, hidden unless the style says.
    Window(const char* className, DWORD style);

    // Shows the window and pumps messages (dialog keys included) until it is closed; hides it
    // again and returns result.
    virtual int32_t runModal();
    // Sets result and closes the window, which ends the loop of runModal.
    void endModal(int32_t value);

    // The outcome that runModal returns: whatever endModal set last, or what the owner put here
    // before the loop (the value a plain close leaves). Its meaning is the subclass's: the open-file
    // window uses 0 for "a file was chosen" and 1 for "cancelled".
    int32_t result = 0;

protected:
    // Closing (WM_CLOSE) ends the modal loop and hides the window; it is not destroyed.
    virtual void onClose();
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

#endif
