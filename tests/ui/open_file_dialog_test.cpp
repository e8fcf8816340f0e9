#include "ui/open_file_dialog.h"

#include "solution/solution.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class OpenFileDialogTest : public testing::Test {
protected:
    // Shows a new dialog over a solution whose one project lists names (each in D:\src\), with the
    // row restored from the last run.
    void show(const std::vector<std::string>& names, int32_t initialRow = -1)
    {
        dialog.reset();
        solution.projects.clear();
        solution.projects.push_back(std::make_unique<Project>());
        for (const std::string& name : names)
            solution.projects[0]->files.append("D:\\src\\" + name);
        dialog = std::make_unique<OpenFileDialog>(nullptr);
        dialog->index.build(solution);
        dialog->initialRow = initialRow;
        ShowWindow(dialog->hwnd(), SW_SHOW);
    }

    // Puts text into the filter box and releases a key there, as typing does; returns the caption.
    std::string type(const std::string& text, WPARAM key = 'A')
    {
        SetWindowTextA(dialog->editBox->hwnd(), text.c_str());
        SendMessageA(dialog->editBox->hwnd(), WM_KEYUP, key, 0);
        return dialog->getText();
    }

    Solution solution{"D:\\src\\Game.sln"};
    std::unique_ptr<OpenFileDialog> dialog;  // destroyed before the solution it points into
};

TEST_F(OpenFileDialogTest, CaptionCountsFilesOrMatchesAndNamesTheSelectedFile)
{
    std::vector<std::string> names = {"viewport.cpp", "viewport.h"};
    for (int i = 0; i < 248; ++i)
        names.push_back((i < 10 ? "old_viewport_" : "module_") + std::to_string(1000 + i) + ".cpp");
    show(names);
    EXPECT_EQ("Open file in solution - 250 files - module_1010.cpp", dialog->getText());
    EXPECT_EQ("Open file in solution - 12 matches (250 total) - viewport.cpp", type("ViewPort"));
    EXPECT_EQ("Open file in solution - 1 match (250 total) - module_1017.cpp", type("module_1017"));
    EXPECT_EQ("Open file in solution - 0 matches (250 total)", type("zzz"));
    show({"a.h"});
    EXPECT_EQ("Open file in solution - 1 file - a.h", dialog->getText());
    show({});
    EXPECT_EQ("Open file in solution - 0 files", dialog->getText());
    EXPECT_EQ(-1, dialog->listView->selectionMark());
}

TEST_F(OpenFileDialogTest, FoldsOnlyAsciiLettersAndSearchesOnlyNames)
{
    show({"main.cpp", "Main.h", "MAIN.TXT", "domain.h", "\xC9t\xE9.txt", "a.cpp", "src.txt"});
    EXPECT_EQ("Open file in solution - 4 matches (7 total) - main.cpp", type("mAIN"));
    EXPECT_EQ("Open file in solution - 1 match (7 total) - \xC9t\xE9.txt", type("\xC9T\xE9"));
    EXPECT_EQ("Open file in solution - 0 matches (7 total)", type("\xE9T\xE9"));
    // Every path lies in D:\src\: only the name src.txt counts, and a backslash is never in a name.
    EXPECT_EQ("Open file in solution - 1 match (7 total) - src.txt", type("src"));
    EXPECT_EQ("Open file in solution - 0 matches (7 total)", type("src\\a"));
}

TEST_F(OpenFileDialogTest, ProposesTheFirstMatchThatBeginsWithTheTextOnKeysThatFilter)
{
    show({"amain_b.h", "main.cpp", "main_x.h", "zeta.h"});
    EXPECT_EQ("Open file in solution - 3 matches (4 total) - main.cpp", type("Main"));
    char path[MAX_PATH] = {};
    ListView_GetItemText(dialog->listView->hwnd(), 1, 1, path, MAX_PATH);
    EXPECT_STREQ("D:\\src\\main.cpp", path);
    EXPECT_EQ("Open file in solution - 3 matches (4 total) - amain_b.h", type("ain"));  // none begins with it
    // The period key (0xBE, like every key from 0x80 up) names the newly selected row but filters nothing.
    SendMessageA(dialog->listView->hwnd(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ("Open file in solution - 3 matches (4 total) - main.cpp", type("ain.", VK_OEM_PERIOD));
    EXPECT_EQ("Open file in solution - 1 match (4 total) - main.cpp", type("ain.", VK_SHIFT));
}

TEST_F(OpenFileDialogTest, ProposedRowIsInViewWhenTheListGrowsUnderIt)
{
    std::vector<std::string> names = {"b.h"};
    for (int i = 0; i < 300; ++i)
        names.push_back("a_b_" + std::to_string(1000 + i) + ".h");
    show(names);
    type("zzz");
    EXPECT_EQ("Open file in solution - 301 matches (301 total) - b.h", type("b"));
    HWND list = dialog->listView->hwnd();
    LRESULT top = SendMessageA(list, LVM_GETTOPINDEX, 0, 0);
    EXPECT_GE(300, top);
    EXPECT_LT(300, top + SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
}

TEST_F(OpenFileDialogTest, RestoredRowFarDownIsSelectedAndInViewAsTheWindowShows)
{
    std::vector<std::string> names;
    for (int i = 0; i < 300; ++i)
        names.push_back(std::to_string(1000 + i) + ".h");
    show(names, 250);
    HWND list = dialog->listView->hwnd();
    EXPECT_EQ(250, dialog->listView->selectionMark());
    EXPECT_EQ(LVIS_SELECTED, SendMessageA(list, LVM_GETITEMSTATE, 250, LVIS_SELECTED));
    LRESULT top = SendMessageA(list, LVM_GETTOPINDEX, 0, 0);
    EXPECT_GE(250, top);
    EXPECT_LT(250, top + SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
}

// left, top, right, bottom in the parent's client coordinates; the visible style.
std::vector<LONG> placement(const Control& control)
{
    RECT r;
    GetWindowRect(control.hwnd(), &r);
    MapWindowPoints(nullptr, control.parent()->hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom, (GetWindowLongA(control.hwnd(), GWL_STYLE) & WS_VISIBLE) != 0};
}

TEST_F(OpenFileDialogTest, ListAndFilterBoxFollowTheClientEdgesAsTheirAnchorsSay)
{
    show({"a.h"});
    dialog->resizeTo(900, 600);  // users can't; the anchors apply all the same
    RECT c;
    GetClientRect(dialog->hwnd(), &c);
    EXPECT_EQ((std::vector<LONG>{5, 5, c.right - 5, c.bottom - 32, true}), placement(*dialog->listView));
    EXPECT_EQ((std::vector<LONG>{5, c.bottom - 27, c.right - 5, c.bottom - 5, true}), placement(*dialog->editBox));
    dialog->resizeTo(900, 60);  // the client height shrinks by more than the list's height
    GetClientRect(dialog->hwnd(), &c);
    EXPECT_EQ((std::vector<LONG>{5, 5, c.right - 5, 5, false}), placement(*dialog->listView));
    EXPECT_EQ((std::vector<LONG>{5, c.bottom - 27, c.right - 5, c.bottom - 5, true}), placement(*dialog->editBox));
}

TEST_F(OpenFileDialogTest, WheelOverTheFilterBoxScrollsTheList)
{
    std::vector<std::string> names;
    for (int i = 0; i < 100; ++i)
        names.push_back(std::to_string(1000 + i) + ".h");
    show(names);
    SendMessageA(dialog->editBox->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_GT(SendMessageA(dialog->listView->hwnd(), LVM_GETTOPINDEX, 0, 0), 0);
}

HWND watchedWindow = nullptr;
HICON iconAtDestruction = nullptr;

LRESULT CALLBACK noteIcon(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_DESTROYWND && HWND(wParam) == watchedWindow)
        iconAtDestruction = reinterpret_cast<HICON>(SendMessageA(watchedWindow, WM_GETICON, ICON_BIG, 0));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(OpenFileDialogTest, HasAnIconThatOutlivesItsUse)
{
    show({"a.h"});
    EXPECT_NE(0, SendMessageA(dialog->hwnd(), WM_GETICON, ICON_SMALL, 0));
    watchedWindow = dialog->hwnd();
    std::unique_ptr<HHOOK__, decltype(&UnhookWindowsHookEx)> hook(
        SetWindowsHookExA(WH_CBT, noteIcon, nullptr, GetCurrentThreadId()), &UnhookWindowsHookEx);
    dialog.reset();
    EXPECT_EQ(nullptr, iconAtDestruction);  // the window showed no icon that was already destroyed
}

}  // namespace
