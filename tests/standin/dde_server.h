#ifndef QUORLAN_TESTS_STANDIN_DDE_SERVER_H
#define QUORLAN_TESTS_STANDIN_DDE_SERVER_H

// The DDE side of Visual Studio, for the tool's DDE client to talk to: windows that answer a
// WM_DDE_INITIATE for their service and the topic "system" (letter case ignored) and hand the
// text of each WM_DDE_EXECUTE to a recorder, acknowledging as configured. Every window of the
// server answers alike: top-level windows with a title (what the tool's window search finds) or
// message-only windows. They live as long as the server.

#include "driver/unique_resource.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

enum class DdeAnswer {
    Ack,          // acknowledges the conversation and each command
    Nack,         // acknowledges the conversation, each command negatively
    ConnectOnly,  // acknowledges the conversation, never a command
    Never,        // never answers at all
};

class DdeServer {
public:
    using Recorder = std::function<void(const std::string& command)>;

    DdeServer(std::string serviceName, DdeAnswer answer, Recorder recorder);
    DdeServer(const DdeServer&) = delete;
    DdeServer& operator=(const DdeServer&) = delete;

    // A new window of this server; null on failure. parent HWND_MESSAGE makes a message-only one.
    HWND createWindow(const char* title, DWORD style, HWND parent = nullptr);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void answerInitiate(HWND window, HWND client, LPARAM lParam);
    void answerExecute(HWND window, HWND client, LPARAM lParam);

    std::string serviceName_;
    DdeAnswer answer_;
    Recorder recorder_;
    std::vector<UniqueWindow> windows_;
};

#endif
