#include "ui/control.h"

#include "driver/instance_handle.h"
#include "ui/dialog_font.h"

#include <algorithm>

namespace {

const char* const THIS_PROPERTY = "this";

// Every window of the layer and its Control, as the "this" property binds them. Routing reads
// this copy: under Wine every GetPropA is a request to the wineserver, and one repaint of the list
// routes a few hundred messages (a notification per cell, each looked up three times).
std::vector<std::pair<HWND, Control*>>& boundControls()
{
    static std::vector<std::pair<HWND, Control*>> bound;
    return bound;
}

void unbind(HWND window)
{
    auto& bound = boundControls();
    bound.erase(std::remove_if(bound.begin(), bound.end(), [window](const auto& pair) { return pair.first == window; }),
                bound.end());
}

LONG width(const RECT& r) { return r.right - r.left; }
LONG height(const RECT& r) { return r.bottom - r.top; }

// One direction of followParentResize: a parent's size change moves the child, or stretches it
// (to 0 when that leaves no room before the parent's edge and the child's margin).
void followAxis(bool follow, bool stretch, LONG change, LONG margin, LONG parentEnd, LONG& position, LONG& extent)
{
    if (!follow)
        return;
    if (!stretch) {
        position += change;
        return;
    }
    extent += change;
    if (extent < 0 || position + extent + margin > parentEnd)
        extent = 0;
}

}  // namespace

LRESULT CALLBACK sharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (Control* control = controlOf(window)) {
        LRESULT result = control->windowProc(message, wParam, lParam);
        // The last message of a window: its handle may be given to another one afterwards.
        if (message == WM_NCDESTROY)
            unbind(window);
        return result;
    }
    // Messages of creation arrive before the property is set.
    return DefWindowProcA(window, message, wParam, lParam);
}

Control* controlOf(HWND window)
{
    if (!window)
        return nullptr;
    for (const auto& [boundWindow, control] : boundControls()) {
        if (boundWindow == window)
            return control;
    }
    return nullptr;
}

const NMHDR* notificationOf(UINT message, LPARAM lParam)
{
    return message == WM_NOTIFY ? reinterpret_cast<const NMHDR*>(lParam) : nullptr;
}

Control::Control(const char* className, DWORD style, Control* parent) : className_(className)
{
    registerClass(className);
    window_.reset(CreateWindowExA(0, className, "", style, 0, 0, 0, 0, parent ? parent->hwnd() : nullptr,
                                  nullptr, instanceHandle, this));
    if (!window_)
        return;
    SetPropA(hwnd(), THIS_PROPERTY, this);
    boundControls().emplace_back(hwnd(), this);
    if (!classRegistration_)
        subclass();
    GetClientRect(hwnd(), &lastClientRect_);
    updateLayout();
    SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont()), TRUE);
    if (parent) {
        attach(parent);
        parent->updateLayout();
    }
}

Control::~Control()
{
    if (parent_)
        parent_->detach(*this);
    // Children that outlive their parent become hidden orphans rather than keep a dangling
    // parent (and lose their windows with the parent's).
    while (!children_.empty())
        children_.back()->attach(nullptr);
    // A subclass installed after ours (auto-completion hooks the filter box) calls on through us
    // and unhooks itself on WM_NCDESTROY: putting the old procedure back over it would cut it off.
    if (window_ && previousWindowProc_ &&
        GetWindowLongPtrA(hwnd(), GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(sharedWindowProc))
        SetWindowLongPtrA(hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousWindowProc_));
    HWND window = hwnd();
    window_.reset();
    unbind(window);
    classRegistration_.reset();
}

bool Control::registerClass(const char* className)
{
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instanceHandle, className, &existing))
        return true;
    if (GetLastError() != ERROR_CLASS_DOES_NOT_EXIST)
        return false;

    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = sharedWindowProc;
    windowClass.hInstance = instanceHandle;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    windowClass.lpszClassName = className;
    ATOM atom = RegisterClassExA(&windowClass);
    if (atom)
        classRegistration_.reset({atom, instanceHandle});
    return atom != 0;
}

void Control::subclass()
{
    // A second window of a class this layer registered runs on sharedWindowProc already:
    // "subclassing" it onto itself would make the default procedure call itself for ever.
    auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd(), GWLP_WNDPROC));
    if (current == sharedWindowProc)
        return;
    previousWindowProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(sharedWindowProc)));
}

void Control::attach(Control* newParent)
{
    if (parent_) {
        auto& siblings = parent_->children_;
        auto self = std::find(siblings.begin(), siblings.end(), this);
        if (self != siblings.end())
            siblings.erase(self);
    }
    if (newParent) {
        newParent->children_.push_back(this);
        setVisible(visible_);
        SetParent(hwnd(), newParent->hwnd());
    } else {
        ShowWindow(hwnd(), SW_HIDE);
        SetParent(hwnd(), nullptr);
    }
    parent_ = newParent;
}

void Control::detach(Control& child)
{
    if (child.parent_ == this)
        child.attach(nullptr);
    updateLayout();
}

RECT Control::rectInParent() const
{
    RECT rect;
    GetWindowRect(hwnd(), &rect);
    MapWindowPoints(nullptr, parent_->hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void Control::updateLayout()
{
    RECT old = lastClientRect_;
    GetClientRect(hwnd(), &lastClientRect_);
    if (!layoutEnabled)
        return;

    if (parent_) {
        RECT own = rectInParent();
        const RECT& parentClient = parent_->lastClientRect_;
        if (width(own) > 0)
            rightMargin_ = parentClient.right - own.right;
        if (height(own) > 0)
            bottomMargin_ = parentClient.bottom - own.bottom;
    } else {
        rightMargin_ = 0;
        bottomMargin_ = 0;
    }

    const RECT& now = lastClientRect_;
    if (width(now) == width(old) && height(now) == height(old))
        return;
    RECT delta = {now.left - old.left, now.top - old.top, now.right - old.right, now.bottom - old.bottom};
    for (Control* child : children_)
        child->followParentResize(delta);
}

void Control::followParentResize(const RECT& delta)
{
    RECT own = rectInParent();
    LONG x = own.left, y = own.top, w = width(own), h = height(own);
    RECT parentClient;
    GetClientRect(parent_->hwnd(), &parentClient);

    followAxis(anchors & AnchorFollowX, anchors & AnchorStretchX, delta.right - delta.left, rightMargin_,
               parentClient.right, x, w);
    followAxis(anchors & AnchorFollowY, anchors & AnchorStretchY, delta.bottom - delta.top, bottomMargin_,
               parentClient.bottom, y, h);
    resizeTo(w, h);
    moveTo(x, y);
    ShowWindow(hwnd(), w > 0 && h > 0 && visible_ ? SW_SHOW : SW_HIDE);
}

void Control::moveTo(int x, int y)
{
    SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    updateLayout();
}

void Control::resizeTo(int width, int height)
{
    SetWindowPos(hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    updateLayout();
}

void Control::setVisible(bool show)
{
    ShowWindow(hwnd(), show ? SW_SHOW : SW_HIDE);
    visible_ = show;
}

void Control::setClientEdge()
{
    LONG_PTR style = GetWindowLongPtrA(hwnd(), GWL_STYLE);
    style &= ~static_cast<LONG_PTR>(WS_CLIPSIBLINGS | WS_BORDER | WS_DLGFRAME | WS_THICKFRAME);
    style |= WS_GROUP | WS_TABSTOP;
    SetWindowLongPtrA(hwnd(), GWL_STYLE, style);

    LONG_PTR exStyle = GetWindowLongPtrA(hwnd(), GWL_EXSTYLE);
    exStyle &= ~static_cast<LONG_PTR>(WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME);
    exStyle |= WS_EX_CLIENTEDGE;
    SetWindowLongPtrA(hwnd(), GWL_EXSTYLE, exStyle);

    SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOSENDCHANGING);
}

void Control::centerOn(HWND other)
{
    RECT own, target;
    GetWindowRect(hwnd(), &own);
    GetWindowRect(other, &target);
    LONG x = target.left + (width(target) - width(own)) / 2;
    LONG y = target.top + (height(target) - height(own)) / 2;
    moveTo(std::max(x, 0L), std::max(y, 0L));
}

std::string Control::getText() const
{
    int length = GetWindowTextLengthA(hwnd());
    if (length <= 0)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(hwnd(), &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

bool Control::onKeyUp(KeyEventArgs& args) { return keyUpHandlers.raise(*this, args); }
bool Control::onKeyDown(KeyEventArgs& args) { return keyDownHandlers.raise(*this, args); }
bool Control::onPaint(PaintArgs& args) { return paintHandlers.raise(*this, args); }
bool Control::onSetFocus(EventArgs& args) { return setFocusHandlers.raise(*this, args); }
bool Control::onKillFocus(EventArgs& args) { return killFocusHandlers.raise(*this, args); }
bool Control::onShow(EventArgs& args) { return showHandlers.raise(*this, args); }
bool Control::onHide(EventArgs& args) { return hideHandlers.raise(*this, args); }
bool Control::onMouseWheel(WheelEventArgs& args) { return mouseWheelHandlers.raise(*this, args); }

bool Control::onSize(SizeEventArgs& args)
{
    updateLayout();
    sizeHandlers.raise(*this, args);
    return false;
}

bool Control::onMove(MoveEventArgs& args)
{
    updateLayout();
    moveHandlers.raise(*this, args);
    return false;
}

LRESULT Control::defaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = previousWindowProc_ ? CallWindowProcA(previousWindowProc_, hwnd(), message, wParam, lParam)
                                         : DefWindowProcA(hwnd(), message, wParam, lParam);
    if (message == WM_GETDLGCODE && lParam) {
        const MSG* key = reinterpret_cast<const MSG*>(lParam);
        if (key->message == WM_KEYDOWN && (key->wParam == VK_ESCAPE || key->wParam == VK_RETURN))
            result |= DLGC_WANTALLKEYS;
    }
    return result;
}

LRESULT Control::forwardNotify(WPARAM wParam, LPARAM lParam)
{
    const NMHDR* header = notificationOf(WM_NOTIFY, lParam);
    Control* child = header ? controlOf(header->hwndFrom) : nullptr;
    if (child && child != this && child->parent_ == this)
        child->windowProc(WM_NOTIFY, wParam, lParam);
    return defaultProc(WM_NOTIFY, wParam, lParam);
}

LRESULT Control::paint(WPARAM wParam, LPARAM lParam)
{
    PaintArgs args;
    args.control = this;
    bool handled = onPaint(args);
    if (args.paintingBegun)
        EndPaint(hwnd(), &args.paint);
    // Common controls paint into the device context that a non-zero wParam names.
    return handled ? 0 : defaultProc(WM_PAINT, wParam, lParam);
}

LRESULT Control::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    bool handled = false;
    switch (message) {
    case WM_MOVE: {
        MoveEventArgs args;
        args.x = LOWORD(lParam);
        args.y = HIWORD(lParam);
        handled = onMove(args);
        break;
    }
    case WM_SIZE: {
        SizeEventArgs args;
        args.width = LOWORD(lParam);
        args.height = HIWORD(lParam);
        handled = onSize(args);
        break;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        EventArgs args;
        handled = message == WM_SETFOCUS ? onSetFocus(args) : onKillFocus(args);
        break;
    }
    case WM_PAINT:
        return paint(wParam, lParam);
    case WM_SHOWWINDOW: {
        EventArgs args;
        handled = wParam ? onShow(args) : onHide(args);
        break;
    }
    case WM_SETFONT:
        for (Control* child : children_)
            SendMessageA(child->hwnd(), WM_SETFONT, wParam, lParam);
        break;
    case WM_NOTIFY:
        return forwardNotify(wParam, lParam);
    case WM_KEYDOWN:
    case WM_KEYUP: {
        KeyEventArgs args;
        args.key = static_cast<uint32_t>(wParam);
        handled = message == WM_KEYDOWN ? onKeyDown(args) : onKeyUp(args);
        break;
    }
    case WM_MOUSEWHEEL: {
        WheelEventArgs args;
        args.delta = GET_WHEEL_DELTA_WPARAM(wParam);
        handled = onMouseWheel(args);
        break;
    }
    }
    return handled ? 0 : defaultProc(message, wParam, lParam);
}
