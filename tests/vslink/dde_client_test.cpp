#include "vslink/dde_client.h"

#include "driver/instance_handle.h"
#include "tests/standin/dde_server.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

const DWORD TIMEOUT_MS = 250;

// A DDE server on a message-only window of this thread: the client's sent and posted messages
// reach it through the client's own waiting, as they reach Visual Studio.
class DdeClientTest : public testing::Test {
protected:
    HWND serve(DdeAnswer answer, const std::string& service = "VisualStudio.9.0")
    {
        servers_.push_back(std::make_unique<DdeServer>(service, answer,
                                                       [this](const std::string& text) { received.push_back(text); }));
        return servers_.back()->createWindow("", 0, HWND_MESSAGE);
    }

    static bool ddeClassRegistered()
    {
        WNDCLASSA found;
        return GetClassInfoA(instanceHandle, "DDEClass", &found) != FALSE;
    }

    // A service name no other test or program uses, so that its atom's life can be watched.
    const std::string uniqueService = "QuorlanTest." + std::to_string(GetCurrentProcessId());
    std::vector<std::string> received;

private:
    std::vector<std::unique_ptr<DdeServer>> servers_;
};

TEST_F(DdeClientTest, AnyAcknowledgementCompletesTheCommand)
{
    // Twice each: close unregisters "DDEClass", so the next client can register it again.
    for (DdeAnswer answer : {DdeAnswer::Ack, DdeAnswer::Nack, DdeAnswer::Ack, DdeAnswer::Nack}) {
        HWND server = serve(answer);
        DdeClient client(server, TIMEOUT_MS);
        ASSERT_TRUE(client.connect("VisualStudio.9.0"));
        DWORD start = GetTickCount();
        client.execute("[Open(\"C:\\a b\\c.cpp\")]");
        EXPECT_LT(GetTickCount() - start, TIMEOUT_MS);
        EXPECT_EQ(0u, client.error());
        client.close();
        EXPECT_FALSE(ddeClassRegistered());
    }
    EXPECT_EQ(std::vector<std::string>(4, "[Open(\"C:\\a b\\c.cpp\")]"), received);
}

TEST_F(DdeClientTest, MissingAcknowledgementsAreWaitedForAFixedTime)
{
    // A server that never answers, and one that doesn't serve the service asked for.
    for (HWND server : {serve(DdeAnswer::Never), serve(DdeAnswer::Ack, "VisualStudio.8.0")}) {
        DdeClient client(server, TIMEOUT_MS);
        DWORD start = GetTickCount();
        EXPECT_FALSE(client.connect("VisualStudio.9.0"));
        DWORD elapsed = GetTickCount() - start;
        EXPECT_GE(elapsed, TIMEOUT_MS);
        EXPECT_LT(elapsed, 4 * TIMEOUT_MS);
        EXPECT_EQ(DDE_ERR_NO_ACK, client.error());
        EXPECT_STREQ("DDE_ERR_NO_ACK", client.errorName());
        client.execute("[Open(\"C:\\a.cpp\")]");
    }

    // A command that is never acknowledged costs the same wait and is no error.
    DdeClient client(serve(DdeAnswer::ConnectOnly), TIMEOUT_MS);
    ASSERT_TRUE(client.connect("VisualStudio.9.0"));
    DWORD start = GetTickCount();
    client.execute("[Open(\"C:\\a.cpp\")]");
    EXPECT_GE(GetTickCount() - start, TIMEOUT_MS);
    EXPECT_EQ(0u, client.error());
    EXPECT_EQ(std::vector<std::string>{"[Open(\"C:\\a.cpp\")]"}, received);
}

TEST_F(DdeClientTest, HungServerCostsNoMoreThanTwoTimeouts)
{
    // A window whose thread never looks at its messages again.
    UniqueHandle madeEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    UniqueHandle doneEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    HANDLE made = madeEvent.get();
    HANDLE done = doneEvent.get();
    HWND hung = nullptr;
    std::thread hungThread([made, done, &hung] {
        UniqueWindow window(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
        hung = window.get();
        SetEvent(made);
        WaitForSingleObject(done, INFINITE);
    });
    WaitForSingleObject(made, INFINITE);

    DdeClient client(hung, TIMEOUT_MS);
    DWORD start = GetTickCount();
    EXPECT_FALSE(client.connect("VisualStudio.9.0"));
    EXPECT_LT(GetTickCount() - start, 4 * TIMEOUT_MS);
    EXPECT_STREQ("DDE_ERR_NO_ACK", client.errorName());
    SetEvent(done);
    hungThread.join();
}

TEST_F(DdeClientTest, NullServerWindowFailsAtOnceAndCreatesNothing)
{
    DdeClient client(nullptr, TIMEOUT_MS);
    DWORD start = GetTickCount();
    EXPECT_FALSE(client.connect(uniqueService.c_str()));
    EXPECT_LT(GetTickCount() - start, TIMEOUT_MS);
    EXPECT_EQ(0, GlobalFindAtomA(uniqueService.c_str()));
    EXPECT_FALSE(ddeClassRegistered());
    EXPECT_STREQ("Unknown error", client.errorName());
}

TEST_F(DdeClientTest, ExecuteWithoutConversationSendsNothing)
{
    DdeClient client(serve(DdeAnswer::Ack), TIMEOUT_MS);
    client.execute("[Open(\"C:\\a.cpp\")]");
    DdeClient::waitForAck(50);
    EXPECT_TRUE(received.empty());
}

TEST_F(DdeClientTest, CloseAfterAFailedConnectFreesExactlyWhatWasMade)
{
    // Someone else's "DDEClass" makes the client's registration fail after both atoms exist.
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instanceHandle;
    windowClass.lpszClassName = "DDEClass";
    UniqueClassRegistration othersClass({RegisterClassA(&windowClass), instanceHandle});
    ASSERT_TRUE(othersClass.get().atom);

    DdeClient client(serve(DdeAnswer::Ack), TIMEOUT_MS);
    EXPECT_FALSE(client.connect(uniqueService.c_str()));
    EXPECT_EQ(DWORD(ERROR_CLASS_ALREADY_EXISTS), client.error());
    EXPECT_STREQ("Unknown error", client.errorName());
    EXPECT_NE(0, GlobalFindAtomA(uniqueService.c_str()));
    client.close();
    EXPECT_EQ(0, GlobalFindAtomA(uniqueService.c_str()));
    EXPECT_TRUE(ddeClassRegistered());
    client.close();
}

}  // namespace
