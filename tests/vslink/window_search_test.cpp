#include "vslink/window_search.h"

#include "driver/unique_resource.h"
#include "solution/text.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

const char MANAGEMENT_WINDOW_TITLE[] = "Visual Studio Application Management Window";

// Real hidden top-level windows of this thread; titles carry this process's id, so that windows
// of other programs on the same desktop never match.
class WindowSearchTest : public testing::Test {
protected:
    HWND makeWindow(const std::string& title)
    {
        windows_.emplace_back(CreateWindowExA(0, "STATIC", title.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                              nullptr, nullptr));
        return windows_.back().get();
    }

    static bool matches(HWND window, const std::string& titlePattern, const std::string& extraPattern = "",
                        DWORD processFilter = 0)
    {
        WindowSearch search;
        search.titlePattern = titlePattern;
        search.extraPattern = extraPattern;
        search.processFilter = processFilter;
        BOOL goOn = matchWindow(window, reinterpret_cast<LPARAM>(&search));
        EXPECT_EQ(goOn == FALSE, search.foundWindow == window);
        return search.foundWindow == window;
    }

    const std::string solution = "Sln" + std::to_string(GetCurrentProcessId()) + "q";
    const AppInfo& vs2008 = appTable[5];
    const AppInfo& vs2010 = appTable[8];

private:
    std::vector<UniqueWindow> windows_;
};

TEST_F(WindowSearchTest, TitleRules)
{
    std::string pattern = "needle" + solution;
    // The title is read into 128 bytes: only its first 127 characters are searched.
    HWND fits = makeWindow(std::string(127 - pattern.size(), 'a') + pattern);
    HWND cut = makeWindow(std::string(128 - pattern.size(), 'a') + pattern);
    EXPECT_TRUE(matches(fits, lowerCase(pattern)));
    EXPECT_FALSE(matches(cut, lowerCase(pattern)));

    HWND untitled = makeWindow("");
    EXPECT_FALSE(matches(untitled, ""));

    // Only A to Z are lower-cased: an upper-case accented letter stays as it is.
    HWND accented = makeWindow("GAME \xC4 - MICROSOFT VISUAL STUDIO " + solution);
    EXPECT_TRUE(matches(accented, "game \xC4 - microsoft visual studio", lowerCase(solution)));
    EXPECT_FALSE(matches(accented, "game \xE4 - microsoft visual studio", lowerCase(solution)));
    EXPECT_FALSE(matches(accented, "microsoft visual studio", lowerCase(solution) + "x"));
}

TEST_F(WindowSearchTest, ProcessFilterKeepsOtherProcessesOut)
{
    HWND window = makeWindow(solution);
    EXPECT_TRUE(matches(window, lowerCase(solution), "", GetCurrentProcessId()));
    EXPECT_FALSE(matches(window, lowerCase(solution), "", GetCurrentProcessId() + 4));
}

TEST_F(WindowSearchTest, LaterEditionsTalkToTheManagementWindowOfTheSameInstance)
{
    HWND mainWindow = makeWindow(solution + " - Microsoft Visual Studio");
    HWND management = makeWindow(MANAGEMENT_WINDOW_TITLE);
    for (DWORD filter : {DWORD(0), GetCurrentProcessId()}) {
        HWND foundMain = nullptr;
        EXPECT_EQ(management, findVisualStudioWindow(vs2010, filter, solution + " ", foundMain));
        EXPECT_EQ(mainWindow, foundMain);
        EXPECT_EQ(mainWindow, findVisualStudioWindow(vs2008, filter, solution + " ", foundMain));
        EXPECT_EQ(mainWindow, foundMain);
    }
}

TEST_F(WindowSearchTest, WithoutProcessFilterOnlyTheMainWindowsThreadCounts)
{
    HWND mainWindow = makeWindow(solution + " - Microsoft Visual Studio");
    HWND management = makeWindow(MANAGEMENT_WINDOW_TITLE);

    // Another instance's management window, made later (so offered earlier) on another thread.
    UniqueHandle madeEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    UniqueHandle doneEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    HANDLE made = madeEvent.get();
    HANDLE done = doneEvent.get();
    std::thread otherInstance([made, done] {
        UniqueWindow other(CreateWindowExA(0, "STATIC", MANAGEMENT_WINDOW_TITLE, WS_POPUP, 0, 0, 10, 10, nullptr,
                                           nullptr, nullptr, nullptr));
        SetEvent(made);
        // Reading the title of a window of another thread sends it a message: keep answering.
        while (MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
        }
    });
    WaitForSingleObject(made, INFINITE);
    HWND foundMain = nullptr;
    EXPECT_EQ(management, findVisualStudioWindow(vs2010, 0, solution + " ", foundMain));
    EXPECT_EQ(mainWindow, foundMain);
    SetEvent(done);
    otherInstance.join();
}

TEST_F(WindowSearchTest, WithoutManagementWindowTheMainWindowIsTheOne)
{
    HWND mainWindow = makeWindow(solution + " - Microsoft Visual Studio");
    HWND foundMain = nullptr;
    EXPECT_EQ(mainWindow, findVisualStudioWindow(vs2010, 0, solution + " ", foundMain));
    EXPECT_EQ(mainWindow, foundMain);
}

TEST_F(WindowSearchTest, NothingFoundGivesNullAndTheDesktop)
{
    makeWindow(solution + "s - Microsoft Visual Studio");  // the trailing space of the search text rules it out
    makeWindow(MANAGEMENT_WINDOW_TITLE);
    HWND foundMain = nullptr;
    EXPECT_EQ(nullptr, findVisualStudioWindow(vs2010, 0, solution + " ", foundMain));
    EXPECT_EQ(GetDesktopWindow(), foundMain);
}

}  // namespace
