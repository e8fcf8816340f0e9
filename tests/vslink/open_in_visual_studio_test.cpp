#include "vslink/open_in_visual_studio.h"

#include "tests/standin/recording_dte.h"
#include "tests/standin/rot_registration.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace {

// Objects registered in this process's Running Object Table, where the lookup finds the objects
// themselves. The process ids in their names belong to no real process: no stand-in's meets them.
TEST(OpenInVisualStudioTest, AutomationTalksOnlyToTheObjectNamedExactlyAfterTheParentInstance)
{
    std::vector<std::string> calls;
    std::deque<RotRegistration> registrations;
    for (std::string name : {"VisualStudio.DTE.16.0:1000000004", "VisualStudio.DTE.17.0:1000000008",
                             "VisualStudio.DTE.17.0:1000000004", "visualstudio.dte.17.0:1000000012"}) {
        auto record = [&calls, name](const std::string& command, const std::string& args) {
            calls.push_back(name + " " + command + " " + args);
        };
        registrations.emplace_back(ComPtr<RecordingDte>(new RecordingDte(record)).get(), name);
    }
    ComPtr<IBindCtx> notADte;
    ASSERT_EQ(S_OK, CreateBindCtx(0, notADte.put()));
    registrations.emplace_back(notADte.get(), "VisualStudio.DTE.17.0:1000000016");

    TempDir folder;
    // A space and a byte above 0x7F: both must reach Visual Studio unchanged.
    std::string file = folder.write("with space\\caf\xE9.cpp", "int x;\n");
    MessageRecorder messages;
    // The instance itself; one whose name differs in letter case only; one without _DTE.
    for (DWORD instance : {1000000004, 1000000012, 1000000016})
        openInVisualStudio(appTable[15], nullptr, file, instance);

    EXPECT_EQ(std::vector<std::string>{"VisualStudio.DTE.17.0:1000000004 File.OpenFile \"" + file + "\""}, calls);
    EXPECT_EQ(std::vector<std::string>{"Couldn't find Visual Studio DTE object!"}, messages.texts());
}

TEST(DteDeclarationTest, ExecuteCommandIsInVtableSlot32)
{
    std::vector<std::string> recorded;
    ComPtr<RecordingDte> dte(new RecordingDte([&](const std::string& name, const std::string& args) {
        recorded = {name, args};
    }));
    using ExecuteCommandFunction = HRESULT(STDMETHODCALLTYPE*)(_DTE*, BSTR, BSTR);
    auto vtable = *reinterpret_cast<ExecuteCommandFunction**>(static_cast<_DTE*>(dte.get()));
    EXPECT_EQ(S_OK, vtable[32](dte.get(), makeBstr("File.OpenFile").get(), makeBstr("\"C:\\a.cpp\"").get()));
    EXPECT_EQ((std::vector<std::string>{"File.OpenFile", "\"C:\\a.cpp\""}), recorded);
}

}  // namespace
