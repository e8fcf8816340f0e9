#include "ui/control.h"

#include "driver/instance_handle.h"
#include "ui/dialog_font.h"
#include "ui/edit_box.h"
#include "ui/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

bool operator==(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b);
}

void PrintTo(const RECT& r, std::ostream* out)
{
    *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace {

// A plain Win32 class whose procedure records what reaches it: once a Control subclasses a
// window of it, the messages that the layer lets through to the default procedure.
std::vector<UINT> seenByOriginal;

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    seenByOriginal.push_back(message);
    return DefWindowProcA(window, message, wParam, lParam);
}

struct Recorder {
    std::vector<std::string>* log;
    std::string name;
    bool stop = false;

    void onKey(Control&, KeyEventArgs& args)
    {
        log->push_back(name + ":" + std::to_string(args.key));
        if (stop)
            args.passOn = false;
    }
    void onSize(Control&, SizeEventArgs& args)
    {
        log->push_back(name + ":size");
        args.passOn = false;
    }
};

bool seen(UINT message)
{
    return std::find(seenByOriginal.begin(), seenByOriginal.end(), message) != seenByOriginal.end();
}

bool hasVisibleStyle(const Control& control)
{
    return (GetWindowLongA(control.hwnd(), GWL_STYLE) & WS_VISIBLE) != 0;
}

RECT rectInParent(const Control& control)
{
    RECT rect;
    GetWindowRect(control.hwnd(), &rect);
    MapWindowPoints(nullptr, control.parent()->hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class ControlTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSEXA recording = {};
        recording.cbSize = sizeof recording;
        recording.lpfnWndProc = recordingProc;
        recording.hInstance = instanceHandle;
        recording.lpszClassName = "RecordingClass";
        RegisterClassExA(&recording);
    }
    static void TearDownTestSuite() { UnregisterClassA("RecordingClass", instanceHandle); }

    void SetUp() override { seenByOriginal.clear(); }

    std::vector<std::string> log;
};

TEST_F(ControlTest, MessagesBeforeTheThisPropertyGoToTheDefaultProcedure)
{
    // Creation needs WM_NCCREATE answered, and only DefWindowProcA stores the initial title.
    WNDCLASSEXA shared = {};
    shared.cbSize = sizeof shared;
    shared.lpfnWndProc = sharedWindowProc;
    shared.hInstance = instanceHandle;
    shared.lpszClassName = "NoPropertyClass";
    ASSERT_NE(0, RegisterClassExA(&shared));
    UniqueWindow window(CreateWindowExA(0, "NoPropertyClass", "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        instanceHandle, nullptr));
    ASSERT_TRUE(window);
    char title[16] = {};
    GetWindowTextA(window.get(), title, sizeof title);
    EXPECT_STREQ("probe", title);
    window.reset();
    UnregisterClassA("NoPropertyClass", instanceHandle);
}

TEST_F(ControlTest, ClassRegisteredByAControlLivesAsLongAsItsWindow)
{
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    {
        Window first("LayerTestWindow", WS_OVERLAPPEDWINDOW);
        ASSERT_NE(nullptr, first.hwnd());
        EXPECT_EQ(controlOf(first.hwnd()), &first);

        // A second window of the class finds it registered; it must not loop into its own procedure.
        Window second("LayerTestWindow", WS_OVERLAPPEDWINDOW);
        SetWindowTextA(second.hwnd(), std::string(300, 'x').c_str());
        EXPECT_EQ(std::string(300, 'x'), second.getText());
        EXPECT_TRUE(GetClassInfoExA(instanceHandle, "LayerTestWindow", &info));
    }
    EXPECT_FALSE(GetClassInfoExA(instanceHandle, "LayerTestWindow", &info));
}

TEST_F(ControlTest, AddHandlerIgnoresAHandlerThatIsConnectedAlready)
{
    Recorder a{&log, "a"};
    Recorder b{&log, "b"};
    HandlerList<KeyEventArgs> list;
    list.addHandler(EventHandler<KeyEventArgs>::to<&Recorder::onKey>(&a));
    list.addHandler(EventHandler<KeyEventArgs>::to<&Recorder::onKey>(&a));
    list.addHandler(EventHandler<KeyEventArgs>::to<&Recorder::onKey>(&b));
    EXPECT_EQ(2u, list.size());

    Control control("STATIC", 0, nullptr);
    KeyEventArgs args;
    args.key = 65;
    EXPECT_FALSE(list.raise(control, args));
    EXPECT_EQ((std::vector<std::string>{"a:65", "b:65"}), log);
}

TEST_F(ControlTest, ClearedPassOnStopsLaterHandlersAndTheDefaultProcedure)
{
    Control control("RecordingClass", WS_POPUP, nullptr);
    Recorder first{&log, "first", true};
    Recorder second{&log, "second"};
    control.keyDownHandlers.addHandler(EventHandler<KeyEventArgs>::to<&Recorder::onKey>(&first));
    control.keyDownHandlers.addHandler(EventHandler<KeyEventArgs>::to<&Recorder::onKey>(&second));
    control.keyUpHandlers.addHandler(EventHandler<KeyEventArgs>::to<&Recorder::onKey>(&second));
    control.sizeHandlers.addHandler(EventHandler<SizeEventArgs>::to<&Recorder::onSize>(&first));

    SendMessageA(control.hwnd(), WM_KEYDOWN, VK_END, 0);
    EXPECT_FALSE(seen(WM_KEYDOWN));
    SendMessageA(control.hwnd(), WM_KEYUP, VK_HOME, 0);
    EXPECT_TRUE(seen(WM_KEYUP));
    // Size (and move) events always reach the default procedure.
    SendMessageA(control.hwnd(), WM_SIZE, 0, MAKELPARAM(10, 20));
    EXPECT_TRUE(seen(WM_SIZE));
    EXPECT_EQ((std::vector<std::string>{"first:35", "second:36", "first:size"}), log);
}

TEST_F(ControlTest, EscapeAndEnterKeyPressesAreWantedInsideTheDialogLoop)
{
    Control control("RecordingClass", WS_POPUP, nullptr);
    auto dialogCode = [&](UINT message, WPARAM key) {
        MSG msg = {control.hwnd(), message, key, 0, 0, {0, 0}};
        return SendMessageA(control.hwnd(), WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTALLKEYS;
    };
    EXPECT_TRUE(dialogCode(WM_KEYDOWN, VK_ESCAPE));
    EXPECT_TRUE(dialogCode(WM_KEYDOWN, VK_RETURN));
    EXPECT_FALSE(dialogCode(WM_KEYDOWN, VK_TAB));
    EXPECT_FALSE(dialogCode(WM_CHAR, VK_RETURN));
    EXPECT_EQ(0, SendMessageA(control.hwnd(), WM_GETDLGCODE, 0, 0));
}

TEST_F(ControlTest, EditBoxUsesTheDialogFontAndSwallowsEscapeAndEnterCharacters)
{
    Window parent("LayerTestWindow", WS_OVERLAPPEDWINDOW);
    EditBox edit(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, &parent);
    ASSERT_NE(nullptr, dialogFont());
    EXPECT_EQ(dialogFont(), reinterpret_cast<HFONT>(SendMessageA(edit.hwnd(), WM_GETFONT, 0, 0)));
    for (WPARAM c : {WPARAM('a'), WPARAM(VK_ESCAPE), WPARAM(VK_RETURN), WPARAM('b')})
        SendMessageA(edit.hwnd(), WM_CHAR, c, 0);
    EXPECT_EQ("ab", edit.getText());
}

TEST_F(ControlTest, CloseHidesTheWindowAndEndsItsLoopWithoutDestroyingIt)
{
    Window window("LayerTestWindow", WS_OVERLAPPEDWINDOW);
    window.result = 7;
    PostMessageA(window.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(7, window.runModal());
    EXPECT_TRUE(IsWindow(window.hwnd()));
    EXPECT_FALSE(IsWindowVisible(window.hwnd()));
    EXPECT_FALSE(window.visible());
}

class LayoutTest : public ControlTest {
protected:
    void SetUp() override
    {
        parent.resizeTo(400, 300);
        RECT client;
        GetClientRect(parent.hwnd(), &client);
        list.moveTo(5, 5);
        list.resizeTo(client.right - 10, client.bottom - 37);
        list.anchors = AnchorStretchX | AnchorFollowX | AnchorStretchY | AnchorFollowY;
        list.updateLayout();
        box.moveTo(5, client.bottom - 27);
        box.resizeTo(client.right - 10, 22);
        box.anchors = AnchorStretchX | AnchorFollowX | AnchorFollowY;
        box.updateLayout();
    }

    Window parent{"LayerTestWindow", WS_OVERLAPPEDWINDOW};
    Control list{"STATIC", WS_CHILD | WS_VISIBLE, &parent};
    Control box{"STATIC", WS_CHILD | WS_VISIBLE, &parent};
};

TEST_F(LayoutTest, AnchoredChildrenFollowTheParentsClientEdges)
{
    RECT client;
    GetClientRect(parent.hwnd(), &client);
    parent.resizeTo(520, 350);
    RECT grown;
    GetClientRect(parent.hwnd(), &grown);
    ASSERT_EQ(120, grown.right - client.right);

    RECT listRect = rectInParent(list);
    EXPECT_EQ((RECT{5, 5, grown.right - 5, grown.bottom - 32}), listRect);
    RECT boxRect = rectInParent(box);
    EXPECT_EQ((RECT{5, grown.bottom - 27, grown.right - 5, grown.bottom - 5}), boxRect);
    EXPECT_TRUE(hasVisibleStyle(list));
    EXPECT_TRUE(hasVisibleStyle(box));
}

TEST_F(LayoutTest, StretchingPastZeroHidesTheChild)
{
    parent.resizeTo(400, 60);  // the client height shrinks by more than the list's height
    RECT listRect = rectInParent(list);
    EXPECT_EQ(0, listRect.bottom - listRect.top);
    EXPECT_FALSE(hasVisibleStyle(list));
    EXPECT_TRUE(hasVisibleStyle(box));
}

TEST_F(LayoutTest, ChildrenDetachFromTheirParentInWhicheverOrderTheyGo)
{
    auto orphan = std::make_unique<Control>("STATIC", WS_CHILD | WS_VISIBLE, &parent);
    auto child = std::make_unique<Control>("STATIC", WS_CHILD | WS_VISIBLE, &parent);
    ASSERT_EQ(4u, parent.children().size());
    child.reset();
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
