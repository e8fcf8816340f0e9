#ifndef QUORLAN_UI_EVENT_HANDLER_H
#define QUORLAN_UI_EVENT_HANDLER_H

// Events of the window layer: argument records, connected handlers and handler lists.
//
// A handler is a member function bound to a target object. It is stored as the target's address
// and one plain function per member function (a template instance), so two handlers compare
// equal exactly when they call the same member function on the same target.

#include <windows.h>

#include <cstdint>
#include <vector>

class Control;

// The start of every argument record: a handler clears passOn to stop the remaining handlers of
// the list and the control's default window procedure.
struct EventArgs {
    bool passOn = true;
};

struct KeyEventArgs : EventArgs {
    uint32_t key = 0;  // virtual-key code, from wParam of WM_KEYDOWN / WM_KEYUP
};

struct SizeEventArgs : EventArgs {
    uint16_t width = 0;
    uint16_t height = 0;
};

struct MoveEventArgs : EventArgs {
    uint16_t x = 0;
    uint16_t y = 0;
};

struct WheelEventArgs : EventArgs {
    int16_t delta = 0;  // the wheel turn, WHEEL_DELTA (120) per notch
};

// WM_PAINT: a handler that paints calls BeginPaint with paint and sets paintingBegun, so that
// the control calls EndPaint afterwards.
struct PaintArgs : EventArgs {
    PAINTSTRUCT paint = {};
    Control* control = nullptr;
    bool paintingBegun = false;
};

// A list view asking for the text of one cell; the handler sets text to storage that outlives
// the list (it is not copied).
struct DisplayTextArgs : EventArgs {
    int32_t row = 0;
    int32_t column = 0;
    const char* text = nullptr;
};

template <typename Args>
class EventHandler {
public:
    EventHandler() = default;

    // The handler that calls target->*Method(sender, args).
    template <auto Method, typename Target>
    static EventHandler to(Target* target)
    {
        return EventHandler(target, &call<Target, Method>);
    }

    bool hasTarget() const { return target_ != nullptr; }
    void operator()(Control& sender, Args& args) const { call_(target_, sender, args); }

    bool operator==(const EventHandler& other) const
    {
        return target_ == other.target_ && call_ == other.call_;
    }

private:
    using Call = void (*)(void* target, Control& sender, Args& args);

    EventHandler(void* target, Call call) : target_(target), call_(call) {}

    template <typename Target, auto Method>
    static void call(void* target, Control& sender, Args& args)
    {
        (static_cast<Target*>(target)->*Method)(sender, args);
    }

    void* target_ = nullptr;
    Call call_ = nullptr;
};

// Handlers in the order they were connected; never removed.
template <typename Args>
class HandlerList {
public:
    // Appends the handler unless an equal one is connected already.
    void addHandler(const EventHandler<Args>& handler)
    {
        for (const EventHandler<Args>& connected : handlers_)
            if (connected == handler)
                return;
        handlers_.push_back(handler);
    }

    // Calls the handlers in order while args.passOn is set; true ("handled") when a handler
    // cleared it.
    bool raise(Control& sender, Args& args) const
    {
        for (const EventHandler<Args>& handler : handlers_) {
            if (!args.passOn)
                break;
            handler(sender, args);
        }
        return !args.passOn;
    }

    size_t size() const { return handlers_.size(); }

private:
    std::vector<EventHandler<Args>> handlers_;
};

#endif
