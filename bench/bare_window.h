#ifndef QUORLAN_BENCH_BARE_WINDOW_H
#define QUORLAN_BENCH_BARE_WINDOW_H

// The open-file window's controls with none of the program's code: a top-level window of the same
// size and styles holding a virtual report list (double-buffered, full-row selection, grid lines,
// two columns) of any number of rows with fixed texts, and a filter box, made with plain Win32
// calls. What it costs to make, show and paint, and to change its row count and repaint, is the
// least the real window can cost on the same system: the benchmark's floor beside the real window.

#include "driver/unique_resource.h"

#include <windows.h>

class BareWindow {
public:
    // Made hidden, with rows rows, the first selected.
    explicit BareWindow(int rows);
    ~BareWindow();
    BareWindow(const BareWindow&) = delete;
    BareWindow& operator=(const BareWindow&) = delete;

    bool made() const { return window_ != nullptr; }
    // Shows and paints the window.
    void show();
    // What a key that changes the list needs at the least: the new row count, the first row
    // selected, the caption, and the window painted.
    void showRows(int rows);
    HWND list() const { return list_; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    UniqueClassRegistration class_;
    UniqueGdiObject font_;
    UniqueIcon icon_;
    HWND window_ = nullptr;
    HWND list_ = nullptr;
};

#endif
