#ifndef QUORLAN_UI_CONTROL_H
#define QUORLAN_UI_CONTROL_H

// Control: one object wrapping one window, the base of the window layer.
//
// The window carries a property "this" with the object's address (the layer reads its own copy
// of that binding, which a window's last message removes); sharedWindowProc turns every
// message into a call of the object's virtual windowProc, which unpacks the messages it knows
// into event operations. An event operation raises its handler list by default; a handler that
// clears passOn keeps the message from the default window procedure. Windows of system classes
// ("EDIT", "SysListView32") are subclassed onto sharedWindowProc; a class that does not exist yet
// is registered by the Control and unregistered when that Control goes away, so such a class
// serves one window at a time.
//
// Children keep their place relative to their parent's client edges through anchor bits. A
// parent never owns its children: their owner deletes them, and a dying child detaches itself.

#include "driver/unique_resource.h"
#include "ui/event_handler.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

enum : uint32_t {
    AnchorStretchX = 1,  // with AnchorFollowX: follow a width change by stretching, else by moving
    AnchorFollowX = 2,
    AnchorStretchY = 4,  // with AnchorFollowY: follow a height change by stretching, else by moving
    AnchorFollowY = 8,
};

// The window procedure of every window of the layer: the "this" property's windowProc, or
// DefWindowProcA for a window that has no such property (yet).
LRESULT CALLBACK sharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class Control {
public:
    // Creates the window of class className (registered here when it does not exist) with the
    // given style, at (0, 0) with size 0 x 0, and attaches it to parent when there is one. The
    // window is hidden or shown as its style says. hwnd() is null when creation failed.
    Control(const char* className, DWORD style, Control* parent);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND hwnd() const { return window_.get(); }
    Control* parent() const { return parent_; }
    const std::vector<Control*>& children() const { return children_; }
    bool visible() const { return visible_; }

    // Makes this a child of newParent (shown as visible() says), or, with null, a hidden
    // window without a parent.
    void attach(Control* newParent);
    // Removes child from the children, detaches it and lays out again.
    void detach(Control& child);

    // Records the client rectangle and the distances to the parent's right and bottom client
    // edges; when the client size changed, lets every child follow (unless layoutEnabled is off).
    void updateLayout();
    // Follows a change of the parent's client rectangle (new minus old edges) as anchors say.
    // A stretch that leaves no room gives size 0 and hides the window.
    void followParentResize(const RECT& delta);

    // Moves to (x, y) in the parent's client coordinates (screen coordinates without parent).
    void moveTo(int x, int y);
    // Gives the window the outer size width x height.
    void resizeTo(int width, int height);
    // Shows or hides the window and records the wish: a child that anchors hid, or that a parent
    // left hidden, is shown again only while visible() holds.
    void setVisible(bool show);
    // A sunken client edge and a tab stop instead of any other border.
    void setClientEdge();
    // Centers this window on the other window's rectangle, keeping off negative coordinates.
    void centerOn(HWND other);
    // The window text.
    std::string getText() const;

    HandlerList<KeyEventArgs> keyUpHandlers;
    HandlerList<KeyEventArgs> keyDownHandlers;
    HandlerList<EventArgs> setFocusHandlers;
    HandlerList<EventArgs> killFocusHandlers;
    HandlerList<SizeEventArgs> sizeHandlers;
    HandlerList<MoveEventArgs> moveHandlers;
    HandlerList<PaintArgs> paintHandlers;
    HandlerList<EventArgs> showHandlers;
    HandlerList<EventArgs> hideHandlers;
    HandlerList<WheelEventArgs> mouseWheelHandlers;

    uint32_t anchors = AnchorStretchX | AnchorStretchY;  // follows nothing
    bool layoutEnabled = true;  // when false, updateLayout records sizes but moves no child

protected:
    // Event operations: each raises its handler list and returns whether a handler handled the
    // message (then the default window procedure does not run).
    virtual bool onKeyUp(KeyEventArgs& args);
    virtual bool onKeyDown(KeyEventArgs& args);
    virtual bool onSize(SizeEventArgs& args);  // lays out first; never "handled"
    virtual bool onMove(MoveEventArgs& args);  // lays out first; never "handled"
    virtual bool onPaint(PaintArgs& args);
    virtual bool onSetFocus(EventArgs& args);
    virtual bool onKillFocus(EventArgs& args);
    virtual bool onShow(EventArgs& args);
    virtual bool onHide(EventArgs& args);
    virtual bool onMouseWheel(WheelEventArgs& args);

    virtual LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The subclassed procedure, or DefWindowProcA; Escape and Enter key presses are always
    // wanted, so that they reach the control inside IsDialogMessageA's loop.
    LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    void setVisibleFlag(bool show) { visible_ = show; }

private:
    friend LRESULT CALLBACK sharedWindowProc(HWND, UINT, WPARAM, LPARAM);

    bool registerClass(const char* className);
    void subclass();
    LRESULT forwardNotify(WPARAM wParam, LPARAM lParam);
    LRESULT paint(WPARAM wParam, LPARAM lParam);
    RECT rectInParent() const;

    // Declared before the window, so that the class outlives every window of it.
    UniqueClassRegistration classRegistration_;
    UniqueWindow window_;
    const char* className_;
    Control* parent_ = nullptr;
    std::vector<Control*> children_;
    bool visible_ = true;
    WNDPROC previousWindowProc_ = nullptr;
    RECT lastClientRect_ = {};
    LONG rightMargin_ = 0;
    LONG bottomMargin_ = 0;
};

// The Control whose window this is, or null.
Control* controlOf(HWND window);

// The header of a WM_NOTIFY message; null for any other message and for a WM_NOTIFY that carries
// none. Every WM_NOTIFY handler of the layer reads the header through this one check.
const NMHDR* notificationOf(UINT message, LPARAM lParam);

#endif
