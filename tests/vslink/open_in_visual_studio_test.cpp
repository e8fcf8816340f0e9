#include "vslink/open_in_visual_studio.h"

#include "tests/standin/dde_server.h"
#include "tests/standin/recording_dte.h"
#include "tests/standin/rot_registration.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_dir.h"
#include "vslink/com_owners.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Process ids that no real process has: instances registered here never meet a stand-in's.
const DWORD INSTANCE = 1000000004;
const DWORD OTHER_INSTANCE = 1000000008;
const DWORD LOWER_CASE_INSTANCE = 1000000012;
const DWORD INSTANCE_WITHOUT_DTE = 1000000016;

struct Call {
    std::string instance;
    std::string commandName;
    std::string commandArgs;
    bool operator==(const Call& other) const
    {
        return instance == other.instance && commandName == other.commandName && commandArgs == other.commandArgs;
    }
};

// Automation objects registered in this process's Running Object Table, where the lookup finds
// the objects themselves; each records its calls under the name it was registered with.
class OpenInVisualStudioTest : public testing::Test {
protected:
    void registerDte(const std::string& itemName)
    {
        ComPtr<RecordingDte> dte(new RecordingDte([this, itemName](const std::string& name, const std::string& args) {
            calls.push_back({itemName, name, args});
        }));
        registrations_.push_back(std::make_unique<RotRegistration>(dte.get(), itemName));
        ASSERT_TRUE(registrations_.back()->registered());
    }

    void registerObjectWithoutDte(const std::string& itemName)
    {
        ComPtr<IBindCtx> notADte;
        ASSERT_EQ(S_OK, CreateBindCtx(0, notADte.put()));
        registrations_.push_back(std::make_unique<RotRegistration>(notADte.get(), itemName));
    }

    const AppInfo& vs2022 = appTable[15];
    const AppInfo& vs2008 = appTable[5];
    TempDir folder;
    // A space and a byte above 0x7F: both must reach Visual Studio unchanged.
    const std::string file = folder.write("with space\\caf\xE9.cpp", "int x;\n");
    const std::string missing = folder.path("with space\\missing.cpp");
    MessageRecorder messages;
    std::vector<Call> calls;

private:
    std::vector<std::unique_ptr<RotRegistration>> registrations_;
};

std::string instanceName(const char* progId, DWORD processId)
{
    return std::string(progId) + ":" + std::to_string(processId);
}

TEST_F(OpenInVisualStudioTest, AutomationOpensTheFileInTheParentInstanceOnly)
{
    registerDte(instanceName("VisualStudio.DTE.16.0", INSTANCE));
    registerDte(instanceName("VisualStudio.DTE.17.0", OTHER_INSTANCE));
    registerDte(instanceName("VisualStudio.DTE.17.0", INSTANCE));
    openInVisualStudio(vs2022, nullptr, file, INSTANCE);
    std::vector<Call> expected = {{instanceName("VisualStudio.DTE.17.0", INSTANCE), "File.OpenFile", "\"" + file + "\""}};
    EXPECT_EQ(expected, calls);
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(OpenInVisualStudioTest, AutomationFailuresShowTheirMessage)
{
    registerDte(instanceName("visualstudio.dte.17.0", LOWER_CASE_INSTANCE));
    registerObjectWithoutDte(instanceName("VisualStudio.DTE.17.0", INSTANCE_WITHOUT_DTE));

    openInVisualStudio(vs2022, nullptr, file, 0);
    openInVisualStudio(vs2022, nullptr, file, LOWER_CASE_INSTANCE);
    openInVisualStudio(vs2022, nullptr, file, INSTANCE_WITHOUT_DTE);

    EXPECT_TRUE(calls.empty());
    std::vector<std::string> expected = {"Using DTE but couldn't find the parent process ID!",
                                         "Couldn't find Visual Studio DTE object!"};
    EXPECT_EQ(expected, messages.texts());
    for (const RecordedMessage& message : messages.messages())
        EXPECT_EQ("Quorlan", message.caption);
}

TEST_F(OpenInVisualStudioTest, DdeSendsTheOpenCommandToTheWindow)
{
    std::vector<std::string> received;
    DdeServer server("VisualStudio.9.0", DdeAnswer::Ack, [&](const std::string& text) { received.push_back(text); });
    openInVisualStudio(vs2008, server.createWindow("", 0, HWND_MESSAGE), file, 0);
    EXPECT_EQ(std::vector<std::string>{"[Open(\"" + file + "\")]"}, received);
    EXPECT_TRUE(messages.messages().empty());

    openInVisualStudio(vs2008, nullptr, file, 0);
    ASSERT_EQ(1u, messages.messages().size());
    EXPECT_EQ("Couldn't connect to Visual Studio: Unknown error\n", messages.messages()[0].text);
    EXPECT_EQ("Quorlan", messages.messages()[0].caption);
}

TEST_F(OpenInVisualStudioTest, MissingFileDoesNothingAtAll)
{
    registerDte(instanceName("VisualStudio.DTE.17.0", INSTANCE));
    openInVisualStudio(vs2022, nullptr, missing, INSTANCE);
    openInVisualStudio(vs2022, nullptr, missing, 0);
    openInVisualStudio(vs2008, nullptr, missing, 0);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(messages.messages().empty());
}

TEST(DteDeclarationTest, ExecuteCommandIsInVtableSlot32)
{
    std::vector<std::string> recorded;
    ComPtr<RecordingDte> dte(new RecordingDte([&](const std::string& name, const std::string& args) {
        recorded = {name, args};
    }));
    using ExecuteCommandFunction = HRESULT(STDMETHODCALLTYPE*)(_DTE*, BSTR, BSTR);
    auto vtable = *reinterpret_cast<ExecuteCommandFunction**>(static_cast<_DTE*>(dte.get()));
    UniqueBstr name = makeBstr("File.OpenFile");
    UniqueBstr args = makeBstr("\"C:\\a.cpp\"");
    EXPECT_EQ(S_OK, vtable[32](dte.get(), name.get(), args.get()));
    EXPECT_EQ((std::vector<std::string>{"File.OpenFile", "\"C:\\a.cpp\""}), recorded);
}

}  // namespace
