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
    // Shows the dialog over a solution whose one project lists names (each in folder D:\src\)
    // with the filter text and row that a previous run left.
    void show(const std::vector<std::string>& names, const std::string& restoredFilter = "", int32_t initialRow = -1)
    {
        auto project = std::make_unique<Project>();
        for (const std::string& name : names)
            project->files.push_back("D:\\src\\" + name);
        solution.projects.push_back(std::move(project));
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
        release(key);
    }
    void release(WPARAM key) { SendMessageA(edit(), WM_KEYUP, key, 0); }

    std::string caption() const
    {
        char text[512] = {};
        GetWindowTextA(dialog->hwnd(), text, sizeof text);
        return text;
    }
    int itemCount() const { return static_cast<int>(SendMessageA(list(), LVM_GETITEMCOUNT, 0, 0)); }
    int selectionMark() const { return static_cast<int>(SendMessageA(list(), LVM_GETSELECTIONMARK, 0, 0)); }

    // The names the list shows, asked of the list as it paints them.
    std::vector<std::string> shownNames() const
    {
        std::vector<std::string> names;
        for (int row = 0; row < itemCount(); ++row) {
            char text[260] = {};
            LVITEMA item = {};
            item.iSubItem = 0;
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

std::vector<std::string> captionTestNames()
{
    std::vector<std::string> names = {"viewport.cpp", "viewport.h"};
    for (int i = 0; i < 10; ++i)
        names.push_back("old_viewport_" + std::to_string(i) + ".cpp");
    for (int i = 0; i < 238; ++i)
        names.push_back("module_" + std::string(i < 10 ? "00" : i < 100 ? "0" : "") + std::to_string(i) + ".cpp");
    return names;
}

TEST_F(OpenFileDialogTest, IsAFixedSizeWindowWithTheListAboveTheFilterBox)
{
    show({"a.h"});
    RECT window;
    GetWindowRect(dialog->hwnd(), &window);
    EXPECT_EQ(800, window.right - window.left);
    EXPECT_EQ(500, window.bottom - window.top);
    EXPECT_FALSE(GetWindowLongA(dialog->hwnd(), GWL_STYLE) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

    RECT client, listRect, editRect;
    GetClientRect(dialog->hwnd(), &client);
    GetWindowRect(list(), &listRect);
    GetWindowRect(edit(), &editRect);
    MapWindowPoints(nullptr, dialog->hwnd(), reinterpret_cast<POINT*>(&listRect), 2);
    MapWindowPoints(nullptr, dialog->hwnd(), reinterpret_cast<POINT*>(&editRect), 2);
    EXPECT_EQ((std::vector<LONG>{5, 5, client.right - 5, client.bottom - 32}),
              (std::vector<LONG>{listRect.left, listRect.top, listRect.right, listRect.bottom}));
    EXPECT_EQ((std::vector<LONG>{5, client.bottom - 27, client.right - 5, client.bottom - 5}),
              (std::vector<LONG>{editRect.left, editRect.top, editRect.right, editRect.bottom}));
    EXPECT_EQ(edit(), GetFocus());
}

TEST_F(OpenFileDialogTest, CaptionCountsFilesOrMatchesAndNamesTheSelectedFile)
{
    show(captionTestNames());
    EXPECT_EQ("Open file in solution - 250 files - module_000.cpp", caption());
    EXPECT_EQ(250, itemCount());
    type("ViewPort");
    EXPECT_EQ("Open file in solution - 12 matches (250 total) - viewport.cpp", caption());
    EXPECT_EQ(12, itemCount());
    type("module_007");
    EXPECT_EQ("Open file in solution - 1 match (250 total) - module_007.cpp", caption());
    type("zzz");
    EXPECT_EQ("Open file in solution - 0 matches (250 total)", caption());
    EXPECT_EQ(0, itemCount());
    EXPECT_EQ(-1, selectionMark());
    EXPECT_EQ(-1, dialog->selectedPosition());
    type("");
    EXPECT_EQ("Open file in solution - 250 files - module_000.cpp", caption());
    EXPECT_EQ(0, selectionMark());
}

TEST_F(OpenFileDialogTest, SmallIndexesHaveTheirOwnCaptions)
{
    show({"a.h"});
    EXPECT_EQ("Open file in solution - 1 file - a.h", caption());
    dialog.reset();
    solution.projects.clear();
    show({});
    EXPECT_EQ("Open file in solution - 0 files", caption());
    EXPECT_EQ(-1, selectionMark());
}

TEST_F(OpenFileDialogTest, ProposesTheFirstMatchThatBeginsWithTheText)
{
    show({"main.h", "amain.cpp", "main.cpp", "zeta.cpp"});
    type("Main");
    EXPECT_EQ((std::vector<std::string>{"amain.cpp", "main.cpp", "main.h"}), shownNames());
    EXPECT_EQ(1, selectionMark());
    EXPECT_EQ("main.cpp", std::string(dialog->index.at(dialog->selectedPosition()).name));
    type("ain");
    EXPECT_EQ(0, selectionMark());
}

TEST_F(OpenFileDialogTest, FoldsOnlyAsciiLettersAndSearchesOnlyNames)
{
    show({"main.cpp", "Main.cpp", "MAIN.H", "domain.h", "\xC9t\xE9.txt", "a.cpp", "src.txt"});
    type("mAIN");
    EXPECT_EQ(4, itemCount());
    EXPECT_EQ("main", dialog->currentFilter);
    type("\xC9T\xE9");
    EXPECT_EQ((std::vector<std::string>{"\xC9t\xE9.txt"}), shownNames());
    type("\xE9T\xE9");
    EXPECT_EQ(0, itemCount());
    type("src");  // every path lies in D:\src\: only the name src.txt counts
    EXPECT_EQ((std::vector<std::string>{"src.txt"}), shownNames());
    type("src\\a");
    EXPECT_EQ(0, itemCount());
}

TEST_F(OpenFileDialogTest, KeysFrom0x80UpRefreshTheCaptionWithoutFiltering)
{
    show({"amain_b.h", "main.cpp", "main_x.h"});
    type("main");
    ASSERT_EQ(3, itemCount());
    SendMessageA(list(), WM_KEYDOWN, VK_DOWN, 0);
    type("main.", VK_OEM_PERIOD);
    EXPECT_EQ(3, itemCount());
    EXPECT_EQ("Open file in solution - 3 matches (3 total) - main_x.h", caption());
    EXPECT_EQ("main", dialog->currentFilter);
    release(VK_SHIFT);
    EXPECT_EQ((std::vector<std::string>{"main.cpp"}), shownNames());
}

TEST_F(OpenFileDialogTest, ArrowsInTheFilterBoxMoveTheListWithoutFiltering)
{
    show({"amain_b.h", "main.cpp", "main_x.h"});
    type("main");
    ASSERT_EQ(1, selectionMark());
    SendMessageA(edit(), EM_SETSEL, 2, 2);
    SendMessageA(edit(), WM_KEYDOWN, VK_DOWN, 0);
    release(VK_DOWN);
    EXPECT_EQ(2, selectionMark());
    EXPECT_EQ("Open file in solution - 3 matches (3 total) - main_x.h", caption());
    DWORD caret = static_cast<DWORD>(SendMessageA(edit(), EM_GETSEL, 0, 0));
    EXPECT_EQ(2, LOWORD(caret));
    // Home and End stay with the text while there is one.
    SendMessageA(edit(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(2, selectionMark());
}

TEST_F(OpenFileDialogTest, RestoredRowIsSelectedOnlyWhereTheListHasIt)
{
    show({"amain_b.h", "main.cpp", "main_x.h", "zeta.h"}, "main", 2);
    EXPECT_EQ(2, selectionMark());
    EXPECT_EQ(2, dialog->selectedPosition());
    dialog.reset();
    solution.projects.clear();

    show({"amain_b.h", "main.cpp", "main_x.h", "zeta.h"}, "main", 3);  // three rows only
    EXPECT_EQ(0, selectionMark());
    dialog.reset();
    solution.projects.clear();

    show({"amain_b.h", "main.cpp"}, "zzz", 0);  // no row at all: nothing may be chosen
    EXPECT_EQ(-1, dialog->selectedPosition());
}

TEST_F(OpenFileDialogTest, CellTextsPointIntoTheSolutionModel)
{
    show({"b.cpp", "a.h"});
    type("a");
    const std::string& path = solution.projects[0]->files[1];
    for (int column : {0, 1}) {
        NMLVDISPINFOA info = {};
        info.hdr.hwndFrom = list();
        info.hdr.code = LVN_GETDISPINFOA;
        info.item.mask = LVIF_TEXT;
        info.item.iItem = 0;
        info.item.iSubItem = column;
        SendMessageA(dialog->hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(path.c_str() + (column == 0 ? 7 : 0), info.item.pszText);
    }
}

}  // namespace
