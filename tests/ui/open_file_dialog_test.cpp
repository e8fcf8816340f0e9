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
    // Shows a new dialog over a solution whose one project lists names (each in D:\src\), with
    // the filter text and row that a previous run left.
    void show(const std::vector<std::string>& names, const std::string& restoredFilter = "", int32_t initialRow = -1)
    {
        dialog.reset();
        solution.projects.clear();
        solution.projects.push_back(std::make_unique<Project>());
        for (const std::string& name : names)
            solution.projects[0]->files.push_back("D:\\src\\" + name);
        dialog = std::make_unique<OpenFileDialog>(nullptr);
        dialog->index.build(solution);
        SetWindowTextA(edit(), restoredFilter.c_str());
        dialog->initialRow = initialRow;
        ShowWindow(dialog->hwnd(), SW_SHOW);
    }

    HWND edit() const { return dialog->editBox->hwnd(); }
    HWND list() const { return dialog->listView->hwnd(); }

    // Puts text into the filter box and releases a key there, as typing does.
    void type(const std::string& text, WPARAM key = 'A')
    {
        SetWindowTextA(edit(), text.c_str());
        SendMessageA(edit(), WM_KEYUP, key, 0);
    }

    std::string caption() const
    {
        char text[512] = {};
        GetWindowTextA(dialog->hwnd(), text, sizeof text);
        return text;
    }
    int mark() const { return static_cast<int>(SendMessageA(list(), LVM_GETSELECTIONMARK, 0, 0)); }

    // The names in the list's rows, as the list asks for them when it paints.
    std::vector<std::string> shownNames() const
    {
        std::vector<std::string> names;
        for (int row = 0; row < SendMessageA(list(), LVM_GETITEMCOUNT, 0, 0); ++row) {
            char text[260] = {};
            LVITEMA item = {};
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(list(), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
            names.push_back(text);
        }
        return names;
    }

    Solution solution{"D:\\src\\Game.sln"};
    std::unique_ptr<OpenFileDialog> dialog;  // destroyed before the solution it points into
};

TEST_F(OpenFileDialogTest, IsAFixedSizeWindowWithTheListAboveTheFilterBox)
{
    show({"a.h"});
    RECT window, client, listRect, editRect;
    GetWindowRect(dialog->hwnd(), &window);
    EXPECT_EQ(800, window.right - window.left);
    EXPECT_EQ(500, window.bottom - window.top);
    EXPECT_FALSE(GetWindowLongA(dialog->hwnd(), GWL_STYLE) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    GetClientRect(dialog->hwnd(), &client);
    GetWindowRect(list(), &listRect);
    GetWindowRect(edit(), &editRect);
    MapWindowPoints(nullptr, dialog->hwnd(), reinterpret_cast<POINT*>(&listRect), 2);
    MapWindowPoints(nullptr, dialog->hwnd(), reinterpret_cast<POINT*>(&editRect), 2);
    EXPECT_EQ((std::vector<LONG>{5, 5, client.right - 5, client.bottom - 32}),
              (std::vector<LONG>{listRect.left, listRect.top, listRect.right, listRect.bottom}));
    EXPECT_EQ((std::vector<LONG>{5, client.bottom - 27, client.right - 5, client.bottom - 5}),
              (std::vector<LONG>{editRect.left, editRect.top, editRect.right, editRect.bottom}));
}

TEST_F(OpenFileDialogTest, CaptionCountsFilesOrMatchesAndNamesTheSelectedFile)
{
    std::vector<std::string> names = {"viewport.cpp", "viewport.h"};
    for (int i = 0; i < 248; ++i)
        names.push_back((i < 10 ? "old_viewport_" : "module_") + std::to_string(1000 + i) + ".cpp");
    show(names);
    EXPECT_EQ("Open file in solution - 250 files - module_1010.cpp", caption());
    type("ViewPort");
    EXPECT_EQ("Open file in solution - 12 matches (250 total) - viewport.cpp", caption());
    type("module_1017");
    EXPECT_EQ("Open file in solution - 1 match (250 total) - module_1017.cpp", caption());
    type("zzz");
    EXPECT_EQ("Open file in solution - 0 matches (250 total)", caption());
    EXPECT_EQ(-1, mark());
    EXPECT_EQ(nullptr, dialog->selectedEntry());

    show({"a.h"});
    EXPECT_EQ("Open file in solution - 1 file - a.h", caption());
    show({});
    EXPECT_EQ("Open file in solution - 0 files", caption());
    EXPECT_EQ(-1, mark());
}

TEST_F(OpenFileDialogTest, ProposesTheFirstMatchThatBeginsWithTheText)
{
    show({"main.h", "amain.cpp", "main.cpp", "zeta.cpp"});
    type("Main");
    EXPECT_EQ((std::vector<std::string>{"amain.cpp", "main.cpp", "main.h"}), shownNames());
    EXPECT_EQ(&dialog->index.at(1), dialog->selectedEntry());
    type("ain");
    EXPECT_EQ(0, mark());
}

TEST_F(OpenFileDialogTest, FoldsOnlyAsciiLettersAndSearchesOnlyNames)
{
    show({"main.cpp", "Main.cpp", "MAIN.H", "domain.h", "\xC9t\xE9.txt", "a.cpp", "src.txt"});
    type("mAIN");
    EXPECT_EQ(4u, shownNames().size());
    EXPECT_EQ("main", dialog->currentFilter);
    type("\xC9T\xE9");
    EXPECT_EQ((std::vector<std::string>{"\xC9t\xE9.txt"}), shownNames());
    type("\xE9T\xE9");
    EXPECT_TRUE(shownNames().empty());
    type("src");  // every path lies in D:\src\: only the name src.txt counts
    EXPECT_EQ((std::vector<std::string>{"src.txt"}), shownNames());
    type("src\\a");
    EXPECT_TRUE(shownNames().empty());
}

TEST_F(OpenFileDialogTest, KeysThatLeaveTheAppliedTextAloneDoNotFilter)
{
    show({"amain_b.h", "main.cpp", "main_x.h"});
    type("main");
    ASSERT_EQ(1, mark());
    SendMessageA(edit(), EM_SETSEL, 2, 2);
    SendMessageA(edit(), WM_KEYDOWN, VK_DOWN, 0);  // moves the list, not the caret
    SendMessageA(edit(), WM_KEYUP, VK_DOWN, 0);
    EXPECT_EQ(2, mark());
    EXPECT_EQ(2, LOWORD(SendMessageA(edit(), EM_GETSEL, 0, 0)));

    SendMessageA(list(), WM_KEYDOWN, VK_UP, 0);
    type("main.", VK_OEM_PERIOD);  // refreshes the caption only
    EXPECT_EQ("Open file in solution - 3 matches (3 total) - main.cpp", caption());
    EXPECT_EQ(3u, shownNames().size());
    type("main.", VK_SHIFT);
    EXPECT_EQ((std::vector<std::string>{"main.cpp"}), shownNames());
}

TEST_F(OpenFileDialogTest, RestoredRowIsSelectedOnlyWhereTheListHasIt)
{
    const std::vector<std::string> names = {"amain_b.h", "main.cpp", "main_x.h", "zeta.h"};
    show(names, "main", 2);
    EXPECT_EQ(&dialog->index.at(2), dialog->selectedEntry());
    show(names, "main", 3);  // three rows only
    EXPECT_EQ(0, mark());
    show(names, "zzz", 0);  // no row at all: nothing may be chosen
    EXPECT_EQ(nullptr, dialog->selectedEntry());
}

TEST_F(OpenFileDialogTest, CellTextsPointIntoTheSolutionModel)
{
    show({"b.cpp", "a.h"});
    type("a");
    const char* path = solution.projects[0]->files[1].c_str();
    for (int column : {0, 1}) {
        NMLVDISPINFOA info = {{list(), 0, static_cast<UINT>(LVN_GETDISPINFOA)}, {}};
        info.item.mask = LVIF_TEXT;
        info.item.iSubItem = column;
        SendMessageA(dialog->hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(column == 0 ? path + 7 : path, info.item.pszText);
    }
}

}  // namespace
