#include "ui/control.h"

#include "driver/instance_handle.h"
#include "ui/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// Windows of this plain class record what reaches their own procedure: once a Control subclasses
// one, that is what the layer lets through to the default procedure.
std::vector<UINT> seenByOriginal;

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    seenByOriginal.push_back(message);
    return DefWindowProcA(window, message, wParam, lParam);
}

bool seen(UINT message)
{
    return std::count(seenByOriginal.begin(), seenByOriginal.end(), message) > 0;
}

struct Recorder {
    std::vector<std::string>* log;
    std::string name;
    bool stop = false;

    void onKey(Control&, KeyEventArgs& args)
    {
        log->push_back(name + ":" + std::to_string(args.key));
        args.passOn = !stop;
    }
    void onSize(Control&, SizeEventArgs& args) { args.passOn = false; }
};

UniqueClassRegistration registerPlainClass(const char* name, WNDPROC procedure)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instanceHandle;
    windowClass.lpszClassName = name;
    return UniqueClassRegistration({RegisterClassExA(&windowClass), instanceHandle});
}

TEST(ControlTest, MessagesBeforeTheThisPropertyGoToTheDefaultProcedure)
{
    // Creation needs WM_NCCREATE answered, and only DefWindowProcA stores the initial title.
    UniqueClassRegistration shared = registerPlainClass("NoPropertyClass", sharedWindowProc);
    UniqueWindow window(CreateWindowExA(0, "NoPropertyClass", "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        instanceHandle, nullptr));
    char title[16] = {};
    GetWindowTextA(window.get(), title, sizeof title);
    EXPECT_STREQ("probe", title);
}

TEST(ControlTest, ClassRegisteredByAControlLivesAsLongAsItsWindow)
{
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    {
        Window first("LayerTestWindow", WS_OVERLAPPEDWINDOW);
        // A second window finds the class registered and must not loop into its own procedure.
        Window second("LayerTestWindow", WS_OVERLAPPEDWINDOW);
        SetWindowTextA(second.hwnd(), std::string(300, 'x').c_str());
        EXPECT_EQ(std::string(300, 'x'), second.getText());
    }
    EXPECT_FALSE(GetClassInfoExA(instanceHandle, "LayerTestWindow", &info));
}

TEST(ControlTest, HandlersAreConnectedOnceAndAClearedPassOnStopsTheRest)
{
    UniqueClassRegistration recording = registerPlainClass("RecordingClass", recordingProc);
    Control control("RecordingClass", WS_POPUP, nullptr);
    std::vector<std::string> log;
    Recorder first{&log, "first", true};
    Recorder second{&log, "second"};
    for (Recorder* target : {&first, &first, &second})
        control.keyDownHandlers.addHandler(EventHandler<KeyEventArgs>::to<&Recorder::onKey>(target));
    control.keyUpHandlers.addHandler(EventHandler<KeyEventArgs>::to<&Recorder::onKey>(&second));
    control.sizeHandlers.addHandler(EventHandler<SizeEventArgs>::to<&Recorder::onSize>(&first));
    EXPECT_EQ(2u, control.keyDownHandlers.size());

    seenByOriginal.clear();
    SendMessageA(control.hwnd(), WM_KEYDOWN, VK_END, 0);
    EXPECT_FALSE(seen(WM_KEYDOWN));
    SendMessageA(control.hwnd(), WM_KEYUP, VK_HOME, 0);
    EXPECT_TRUE(seen(WM_KEYUP));
    SendMessageA(control.hwnd(), WM_SIZE, 0, MAKELPARAM(10, 20));  // size events always go on
    EXPECT_TRUE(seen(WM_SIZE));
    EXPECT_EQ((std::vector<std::string>{"first:35", "second:36"}), log);
}

TEST(ControlTest, CloseHidesTheWindowAndEndsItsLoopWithoutDestroyingIt)
{
    Window window("LayerTestWindow", WS_OVERLAPPEDWINDOW);
    window.result = 7;
    PostMessageA(window.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(7, window.runModal());
    EXPECT_TRUE(IsWindow(window.hwnd()));
    EXPECT_FALSE(IsWindowVisible(window.hwnd()));
}

class LayoutTest : public testing::Test {
protected:
    // Places a list (anchors 15) and a box under it (anchors 11) as the open-file window does.
    void SetUp() override
    {
        parent.resizeTo(400, 300);
        RECT client = clientRect();
        list.moveTo(5, 5);
        list.resizeTo(client.right - 10, client.bottom - 37);
        list.anchors = AnchorStretchX | AnchorFollowX | AnchorStretchY | AnchorFollowY;
        box.moveTo(5, client.bottom - 27);
        box.resizeTo(client.right - 10, 22);
        box.anchors = AnchorStretchX | AnchorFollowX | AnchorFollowY;
    }

    RECT clientRect() const
    {
        RECT client;
        GetClientRect(parent.hwnd(), &client);
        return client;
    }

    // left, top, right, bottom in the parent's client coordinates; the visible style.
    static std::vector<LONG> placement(const Control& control)
    {
        RECT r;
        GetWindowRect(control.hwnd(), &r);
        MapWindowPoints(nullptr, control.parent()->hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return {r.left, r.top, r.right, r.bottom, (GetWindowLongA(control.hwnd(), GWL_STYLE) & WS_VISIBLE) != 0};
    }

    Window parent{"LayerTestWindow", WS_OVERLAPPEDWINDOW};
    Control list{"STATIC", WS_CHILD | WS_VISIBLE, &parent};
    Control box{"STATIC", WS_CHILD | WS_VISIBLE, &parent};
};

TEST_F(LayoutTest, AnchoredChildrenFollowTheParentsClientEdges)
{
    parent.resizeTo(520, 350);
    RECT c = clientRect();
    EXPECT_EQ((std::vector<LONG>{5, 5, c.right - 5, c.bottom - 32, true}), placement(list));
    EXPECT_EQ((std::vector<LONG>{5, c.bottom - 27, c.right - 5, c.bottom - 5, true}), placement(box));
}

TEST_F(LayoutTest, StretchingPastZeroHidesTheChild)
{
    parent.resizeTo(400, 60);  // the client height shrinks by more than the list's height
    std::vector<LONG> shrunk = placement(list);
    EXPECT_EQ(shrunk[1], shrunk[3]);
    EXPECT_FALSE(shrunk[4]);
    EXPECT_TRUE(placement(box)[4]);
}

TEST_F(LayoutTest, ChildrenDetachFromTheirParentInWhicheverOrderTheyGo)
{
    auto orphan = std::make_unique<Control>("STATIC", WS_CHILD | WS_VISIBLE, &parent);
    std::make_unique<Control>("STATIC", WS_CHILD | WS_VISIBLE, &parent).reset();
    EXPECT_EQ((std::vector<Control*>{&list, &box, orphan.get()}), parent.children());
    {
        Window shortLived("LayerTestWindow", WS_OVERLAPPEDWINDOW);
        orphan->attach(&shortLived);
        EXPECT_EQ(2u, parent.children().size());
    }
    EXPECT_EQ(nullptr, orphan->parent());
    EXPECT_TRUE(IsWindow(orphan->hwnd()));
}

}  // namespace
