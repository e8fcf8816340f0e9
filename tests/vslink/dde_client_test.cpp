#include "vslink/dde_client.h"

#include "driver/instance_handle.h"
#include "tests/standin/dde_server.h"

#include <gtest/gtest.h>

#include <deque>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace {

const DWORD TIMEOUT_MS = 250;
const char SERVICE[] = "VisualStudio.9.0";
const char COMMAND[] = "[Open(\"C:\\a b\\c.cpp\")]";

// DDE servers on message-only windows. On this thread the client's own waiting delivers their
// messages, as it delivers Visual Studio's; on a thread of their own they can be busy or hung.
class DdeClientTest : public testing::Test {
protected:
    ~DdeClientTest() override
    {
        SetEvent(stop_.get());
        for (std::thread& thread : threads_)
            thread.join();
    }

    HWND serve(DdeAnswer answer, const std::string& service = SERVICE)
    {
        servers_.emplace_back(service, answer, [this](const std::string& text) { received.push_back(text); });
        return servers_.back().createWindow("", 0, HWND_MESSAGE);
    }

    // A server on a thread of its own that leaves its messages alone for busyMs (INFINITE: for
    // ever), then looks at them every 10 ms.
    HWND serveFromAThreadBusyFor(DWORD busyMs)
    {
        std::promise<HWND> made;
        std::future<HWND> window = made.get_future();
        threads_.emplace_back([made = std::move(made), stop = stop_.get(), busyMs]() mutable {
            DdeServer server(SERVICE, DdeAnswer::Ack, [](const std::string&) {});
            made.set_value(server.createWindow("", 0, HWND_MESSAGE));
            for (MSG message; WaitForSingleObject(stop, busyMs) == WAIT_TIMEOUT; busyMs = 10) {
                while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                    DispatchMessageA(&message);
            }
        });
        return window.get();
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
    std::deque<DdeServer> servers_;
    UniqueHandle stop_{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    std::vector<std::thread> threads_;
};

TEST_F(DdeClientTest, EachAcknowledgementIsWaitedForAFixedTimeAndNothingIsLeftBehind)
{
    // A client that doesn't connect fails after TIMEOUT_MS with DDE_ERR_NO_ACK; a command that is
    // never acknowledged costs TIMEOUT_MS and is no error.
    const struct { DdeAnswer answer; std::string service; bool connects; bool executeWaits; } cases[] = {
        {DdeAnswer::Ack, uniqueService, true, false}, {DdeAnswer::ConnectOnly, uniqueService, true, true},
        {DdeAnswer::Never, uniqueService, false, false}, {DdeAnswer::Ack, uniqueService + "x", false, false}};
    for (const auto& test : cases) {
        SCOPED_TRACE(&test - cases);
        received.clear();
        DdeClient client(serve(test.answer, test.service), TIMEOUT_MS);
        DWORD start = GetTickCount();
        EXPECT_EQ(test.connects, client.connect(uniqueService.c_str()));
        DWORD connected = GetTickCount();
        client.execute(COMMAND);
        DWORD executed = GetTickCount();
        EXPECT_EQ(!test.connects, connected - start >= TIMEOUT_MS);
        EXPECT_LT(connected - start, 4 * TIMEOUT_MS);
        EXPECT_EQ(test.executeWaits, executed - connected >= TIMEOUT_MS);
        EXPECT_STREQ(test.connects ? "Unknown error" : "DDE_ERR_NO_ACK", client.errorName());
        EXPECT_EQ(std::vector<std::string>(test.connects, COMMAND), received);
        client.close();  // the next client can register "DDEClass"; the answer's atoms are gone too
        EXPECT_FALSE(ddeClassRegistered());
        EXPECT_EQ(0, GlobalFindAtomA(uniqueService.c_str()));
    }
}

TEST_F(DdeClientTest, BusyServerIsWaitedForHungOneCostsNoMoreThanTheBoundAndOneWait)
{
    DWORD start = GetTickCount();
    DdeClient busy(serveFromAThreadBusyFor(400), TIMEOUT_MS);
    EXPECT_TRUE(busy.connect(SERVICE));
    EXPECT_GE(GetTickCount() - start, 400u);
    busy.close();

    DdeClient hung(serveFromAThreadBusyFor(INFINITE), TIMEOUT_MS);
    start = GetTickCount();
    EXPECT_FALSE(hung.connect(SERVICE));
    EXPECT_LT(GetTickCount() - start, 5000 + 2 * TIMEOUT_MS);  // the bound on the initiate, and one wait
    EXPECT_STREQ("DDE_ERR_NO_ACK", hung.errorName());
}

TEST_F(DdeClientTest, CloseAfterAFailedConnectFreesExactlyWhatWasMade)
{
    // Someone else's "DDEClass" makes the registration fail after both atoms exist.
    WNDCLASSA othersClass = {0, DefWindowProcA, 0, 0, instanceHandle, nullptr, nullptr, nullptr, nullptr, "DDEClass"};
    UniqueClassRegistration registered({RegisterClassA(&othersClass), instanceHandle});
    DdeClient client(serve(DdeAnswer::Ack), TIMEOUT_MS);
    EXPECT_FALSE(client.connect(uniqueService.c_str()));
    EXPECT_EQ(DWORD(ERROR_CLASS_ALREADY_EXISTS), client.error());
    EXPECT_NE(0, GlobalFindAtomA(uniqueService.c_str()));
    client.close();
    EXPECT_EQ(0, GlobalFindAtomA(uniqueService.c_str()));
    EXPECT_TRUE(ddeClassRegistered());
}

}  // namespace
