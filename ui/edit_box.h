#ifndef QUORLAN_UI_EDIT_BOX_H
#define QUORLAN_UI_EDIT_BOX_H

// EditBox: the system's "EDIT" control on the window layer.

#include "ui/control.h"

class EditBox : public Control {
public:
    // An "EDIT" window with the given style, a child of parent.
    EditBox(DWORD style, Control* parent);

protected:
    // Swallows the Escape and Enter characters: their key presses are handled as events, and
    // the control itself would only beep.
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

#endif
