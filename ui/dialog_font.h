#ifndef QUORLAN_UI_DIALOG_FONT_H
#define QUORLAN_UI_DIALOG_FONT_H

// The one font of every window of the layer: the system's message-box font, made once while the
// program starts (before its entry point runs) and deleted when it exits.

#include <windows.h>

// The font; null only when the system gave no metrics or the font could not be made.
HFONT dialogFont();

#endif
