#ifndef QUORLAN_VSLINK_DDE_CLIENT_H
#define QUORLAN_VSLINK_DDE_CLIENT_H

// A minimal DDE client spoken with raw WM_DDE_* messages (no DDEML): one conversation on the
// topic "system" with one known server window, one execute command, a short fixed wait for each
// acknowledgement. Any acknowledgement, positive or negative, counts as success; what it carries
// is only freed, as the receiver of an acknowledgement must.
//
// The client window is a message-only window of the class "DDEClass", registered by connect and
// unregistered by close, so one client may exist at a time per process; the acknowledgement flag
// is process-wide for the same reason. No WM_DDE_TERMINATE is sent: destroying the client window
// ends the conversation.

#include "driver/unique_resource.h"

#include <windows.h>

#include <string>

// The program's own error code for a missing acknowledgement, one past the highest DDEML code.
constexpr DWORD DDE_ERR_NO_ACK = 0x4012;

class DdeClient {
public:
    // Talks to server (may be null: connect then fails at once, creating nothing) and waits up to
    // ackTimeoutMs for each acknowledgement.
    DdeClient(HWND server, DWORD ackTimeoutMs);
    ~DdeClient();
    DdeClient(const DdeClient&) = delete;
    DdeClient& operator=(const DdeClient&) = delete;

    // Opens the conversation with serviceName and the topic "system". False when there is no
    // server window, an atom, the class or the client window can't be made (error() holds
    // GetLastError), or no acknowledgement came in time (error() is DDE_ERR_NO_ACK). A server
    // that is busy for a few seconds is waited for; one Windows deems hung is not.
    bool connect(const char* serviceName);

    // Posts command if connected and waits for its acknowledgement; a missing one is no error.
    void execute(const std::string& command);

    // Frees what connect made, each only if it exists; safe to call at any time and repeatedly.
    void close();

    // The last error: 0, a Win32 error code, or DDE_ERR_NO_ACK.
    DWORD error() const { return lastError; }
    // The name of error(): "DDE_ERR_NO_ACK", a DDEML error name, or "Unknown error".
    const char* errorName() const;

    // Pumps the thread's messages until an acknowledgement arrives (true) or more than waitMs
    // have passed (false).
    static bool waitForAck(DWORD waitMs);

private:
    DWORD lastError = 0;
    bool connected = false;
    UniqueGlobalAtom topicAtom;
    UniqueGlobalAtom serviceAtom;
    HWND serverWindow;
    UniqueWindow clientWindow;
    UniqueClassRegistration classAtom;
    DWORD timeoutMs;
};

#endif
