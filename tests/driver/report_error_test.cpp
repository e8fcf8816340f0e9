#include "driver/report_error.h"

#include "tests/support/message_recorder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ReportErrorTest, NullCaptionMeansTheDefaultCaption)
{
    MessageRecorder recorder;
    reportError(nullptr, "Couldn't find solution file %s.\n", "C:\\a.sln");
    reportError("QUORLAN", "Found it");
    ASSERT_EQ(2u, recorder.messages().size());
    EXPECT_EQ("Quorlan", recorder.messages()[0].caption);
    EXPECT_EQ("Couldn't find solution file C:\\a.sln.\n", recorder.messages()[0].text);
    EXPECT_EQ("QUORLAN", recorder.messages()[1].caption);
}

TEST(ReportErrorTest, EmptyTextShowsNoBox)
{
    MessageRecorder recorder;
    reportError("Quorlan", "%s", "");
    reportError("Quorlan", "%.0s", "hidden");
    EXPECT_TRUE(recorder.messages().empty());
}

TEST(ReportErrorTest, LongTextIsNeverCut)
{
    MessageRecorder recorder;
    std::string longText(100000, 'q');
    longText += "end";
    reportError("Quorlan", "[%s|%d]", longText.c_str(), 42);
    ASSERT_EQ(1u, recorder.messages().size());
    EXPECT_EQ("[" + longText + "|42]", recorder.messages()[0].text);
}

TEST(ReportErrorTest, MessageOwnerOwnsEveryBoxWhileSet)
{
    MessageRecorder recorder;
    HWND window = CreateWindowExA(0, "STATIC", "owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    reportError("Quorlan", "before");
    messageOwner = window;
    reportError("Quorlan", "during");
    messageOwner = nullptr;
    DestroyWindow(window);
    ASSERT_EQ(2u, recorder.messages().size());
    EXPECT_EQ(nullptr, recorder.messages()[0].owner);
    EXPECT_EQ(window, recorder.messages()[1].owner);
}

}  // namespace
