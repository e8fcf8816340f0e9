#include "ui/control.h"

#include "driver/instance_handle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

// Records each message (with its wParam) that reaches it and calls on to callOn: as the original
// procedure of a class that a Control subclasses, it sees what the layer lets through.
std::vector<std::pair<UINT, WPARAM>> reached;
WNDPROC callOn = DefWindowProcA;

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    reached.emplace_back(message, wParam);
    return CallWindowProcA(callOn, window, message, wParam, lParam);
}

bool wasReached(UINT message, WPARAM wParam = 0)
{
    return std::count(reached.begin(), reached.end(), std::make_pair(message, wParam)) > 0;
}

struct Recorder {
    std::vector<std::string>& log;
    const char* name;
    bool stop;

    void onKey(Control&, KeyEventArgs& args) { log.push_back(name + std::to_string(args.key)); args.passOn = !stop; }
    void onSize(Control&, SizeEventArgs& args) { args.passOn = !stop; }
};

TEST(ControlTest, TheDefaultProcedureGetsWhatNoHandlerStoppedWithItsParameters)
{
    WNDCLASSEXA recordingClass = {sizeof(WNDCLASSEXA), 0, recordingProc, 0, 0, instanceHandle, nullptr, nullptr,
                                  nullptr, nullptr, "RecordingClass", nullptr};
    UniqueClassRegistration registration({RegisterClassExA(&recordingClass), instanceHandle});
    Control control("RecordingClass", WS_POPUP, nullptr);
    std::vector<std::string> log;
    Recorder first{log, "first:", true};
    Recorder second{log, "second:", false};
    for (Recorder* target : {&first, &first, &second})
        control.keyDownHandlers.addHandler(EventHandler<KeyEventArgs>::to<&Recorder::onKey>(target));
    control.keyUpHandlers.addHandler(EventHandler<KeyEventArgs>::to<&Recorder::onKey>(&second));
    control.sizeHandlers.addHandler(EventHandler<SizeEventArgs>::to<&Recorder::onSize>(&first));
    EXPECT_EQ(2u, control.keyDownHandlers.size());

    reached.clear();
    SendMessageA(control.hwnd(), WM_KEYDOWN, VK_END, 0);
    SendMessageA(control.hwnd(), WM_KEYUP, VK_HOME, 0);
    SendMessageA(control.hwnd(), WM_SIZE, 0, MAKELPARAM(10, 20));  // size events always go on
    SendMessageA(control.hwnd(), WM_PAINT, 0x5678, 0);  // a device context to paint into
    EXPECT_EQ((std::vector<std::string>{"first:35", "second:36"}), log);
    EXPECT_EQ((std::vector<bool>{false, true, true, true}),
              (std::vector<bool>{wasReached(WM_KEYDOWN, VK_END), wasReached(WM_KEYUP, VK_HOME), wasReached(WM_SIZE),
                                 wasReached(WM_PAINT, 0x5678)}));
}

TEST(ControlTest, TearDownLeavesASubclassInstalledLaterHooked)
{
    reached.clear();
    {
        Control edit("EDIT", WS_POPUP, nullptr);
        callOn = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(edit.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recordingProc)));
    }
    callOn = DefWindowProcA;
    EXPECT_TRUE(wasReached(WM_NCDESTROY));  // where such a subclass unhooks itself
}

}  // namespace

TEST(ControlTest, AWindowDestroyedWithItsParentNoLongerReachesItsControl)
{
    Control parent("STATIC", WS_POPUP, nullptr);
    auto* child = new Control("EDIT", WS_CHILD, &parent);
    HWND childWindow = child->hwnd();
    EXPECT_EQ(child, controlOf(childWindow));
    EXPECT_EQ(child, GetPropA(childWindow, "this"));  // the binding other tools can see
    DestroyWindow(parent.hwnd());
    EXPECT_EQ(nullptr, controlOf(childWindow));
    EXPECT_EQ(nullptr, controlOf(parent.hwnd()));
    delete child;
}
