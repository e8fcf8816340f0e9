#include "vslink/window_search.h"

#include "driver/unique_resource.h"
#include "solution/text.h"

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <thread>
#include <vector>

namespace {

const char MANAGEMENT_WINDOW_TITLE[] = "Visual Studio Application Management Window";

// Real hidden top-level windows; titles carry this process's id, so that windows of other
// programs on the same desktop never match.
class WindowSearchTest : public testing::Test {
protected:
    HWND makeWindow(const std::string& title)
    {
        windows_.emplace_back(CreateWindowExA(0, "STATIC", title.c_str(), WS_POPUP, 0, 0, 9, 9, nullptr, nullptr,
                                              nullptr, nullptr));
        return windows_.back().get();
    }

    static bool matches(HWND window, const std::string& title, const std::string& extra, DWORD processFilter = 0)
    {
        WindowSearch search{title, extra, nullptr, processFilter};
        bool stopped = !matchWindow(window, reinterpret_cast<LPARAM>(&search));
        EXPECT_EQ(stopped, search.foundWindow == window);
        return stopped;
    }

    const std::string solution = "Sln" + std::to_string(GetCurrentProcessId()) + "q";
    const AppInfo& vs2010 = appTable[8];

private:
    std::vector<UniqueWindow> windows_;
};

TEST_F(WindowSearchTest, TitleRules)
{
    // The title is read into 128 bytes: only its first 127 characters are searched.
    EXPECT_TRUE(matches(makeWindow(std::string(127 - solution.size(), 'a') + solution), lowerCase(solution), ""));
    EXPECT_FALSE(matches(makeWindow(std::string(128 - solution.size(), 'a') + solution), lowerCase(solution), ""));
    EXPECT_FALSE(matches(makeWindow(""), "", ""));

    // Only A to Z are lower-cased: an upper-case accented letter stays as it is.
    HWND accented = makeWindow("GAME \xC4 - MICROSOFT VISUAL STUDIO " + solution);
    EXPECT_TRUE(matches(accented, "game \xC4 - microsoft visual studio", lowerCase(solution)));
    EXPECT_FALSE(matches(accented, "game \xE4 - microsoft visual studio", lowerCase(solution)));
    EXPECT_FALSE(matches(accented, "microsoft visual studio", lowerCase(solution) + "x"));
    EXPECT_TRUE(matches(accented, "game", "", GetCurrentProcessId()));
    EXPECT_FALSE(matches(accented, "game", "", GetCurrentProcessId() + 4));
}

TEST_F(WindowSearchTest, SecondPassTakesThisInstancesManagementWindowElseTheMainWindow)
{
    HWND mainWindow = makeWindow(solution + " - Microsoft Visual Studio");
    HWND foundMain = nullptr;
    EXPECT_EQ(mainWindow, findVisualStudioWindow(vs2010, GetCurrentProcessId(), solution + " ", foundMain));
    EXPECT_EQ(mainWindow, foundMain);

    // Without a process filter, only the main window's thread counts: another instance's
    // management window, made later (so offered earlier) on another thread, is never taken. That
    // thread answers messages until told to quit: reading a window's title sends it one.
    HWND management = makeWindow(MANAGEMENT_WINDOW_TITLE);
    std::promise<HWND> made;
    std::thread otherInstance([&made] {
        UniqueWindow other(CreateWindowExA(0, "STATIC", MANAGEMENT_WINDOW_TITLE, WS_POPUP, 0, 0, 9, 9, nullptr,
                                           nullptr, nullptr, nullptr));
        made.set_value(other.get());
        for (MSG message; GetMessageA(&message, nullptr, 0, 0) > 0;)
            DispatchMessageA(&message);
    });
    HWND other = made.get_future().get();
    foundMain = nullptr;
    EXPECT_EQ(management, findVisualStudioWindow(vs2010, 0, solution + " ", foundMain));
    EXPECT_EQ(mainWindow, foundMain);
    PostMessageA(other, WM_QUIT, 0, 0);
    otherInstance.join();
}

}  // namespace
