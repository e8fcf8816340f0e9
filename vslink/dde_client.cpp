#include "vslink/dde_client.h"

#include "driver/instance_handle.h"

#include <dde.h>
#include <ddeml.h>

#include <cstring>

namespace {

const char DDE_CLASS_NAME[] = "DDEClass";
const char DDE_TOPIC[] = "system";

// How long sending WM_DDE_INITIATE may wait for Visual Studio to take it. Its window can be busy
// for seconds (loading a solution, building). Windows calls a window "not responding" once it has
// left its messages alone for 5 seconds, and with SMTO_ABORTIFHUNG the send gives up at once on
// such a window. Hence the same 5 seconds: what Windows deems busy is waited for, not what it
// deems hung.
const UINT INITIATE_SEND_TIMEOUT_MS = 5000;

// The message whose acknowledgement is awaited (WM_DDE_INITIATE or WM_DDE_EXECUTE), and whether
// one came; both set right before each message that expects one. Only one conversation exists
// at a time, on the main thread.
UINT awaitedAck = 0;
bool ackReceived = false;

// The receiver of an acknowledgement owns what it carries: the two atoms of the answer to
// WM_DDE_INITIATE (never packed), the packed lParam of the answer to WM_DDE_EXECUTE. The command
// block named in the latter stays the client's, freed by execute.
void freeAck(LPARAM lParam)
{
    if (awaitedAck == WM_DDE_INITIATE) {
        GlobalDeleteAtom(LOWORD(lParam));
        GlobalDeleteAtom(HIWORD(lParam));
    } else if (awaitedAck == WM_DDE_EXECUTE) {
        FreeDDElParam(WM_DDE_ACK, lParam);
    }
}

LRESULT CALLBACK ddeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DDE_ACK) {
        freeAck(lParam);
        ackReceived = true;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

DdeClient::DdeClient(HWND server, DWORD ackTimeoutMs) : serverWindow(server), timeoutMs(ackTimeoutMs) {}

DdeClient::~DdeClient()
{
    close();
}

bool DdeClient::connect(const char* serviceName)
{
    if (!serverWindow)
        return false;

    serviceAtom.reset(GlobalAddAtomA(serviceName));
    topicAtom.reset(GlobalAddAtomA(DDE_TOPIC));
    if (!serviceAtom || !topicAtom) {
        serverWindow = nullptr;
        lastError = GetLastError();
        return false;
    }

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ddeWindowProc;
    windowClass.hInstance = instanceHandle;
    windowClass.lpszClassName = DDE_CLASS_NAME;
    ATOM registered = RegisterClassA(&windowClass);
    if (!registered) {
        lastError = GetLastError();
        return false;
    }
    classAtom.reset({registered, instanceHandle});

    clientWindow.reset(CreateWindowExA(0, DDE_CLASS_NAME, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       instanceHandle, nullptr));
    if (!clientWindow) {
        lastError = GetLastError();
        return false;
    }

    // Sent, not posted, and to this one window, never broadcast: the server's acknowledgement is
    // itself a sent message and normally arrives before the send returns. The send is bounded,
    // so a hung server can't hang the tool.
    awaitedAck = WM_DDE_INITIATE;
    ackReceived = false;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(serverWindow, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(clientWindow.get()),
                        PackDDElParam(WM_DDE_INITIATE, serviceAtom.get(), topicAtom.get()),
                        SMTO_NORMAL | SMTO_ABORTIFHUNG, INITIATE_SEND_TIMEOUT_MS, &ignored);
    if (!waitForAck(timeoutMs)) {
        lastError = DDE_ERR_NO_ACK;
        return false;
    }
    connected = true;
    return true;
}

void DdeClient::execute(const std::string& command)
{
    if (!connected)
        return;

    UniqueGlobalMemory block(GlobalAlloc(GMEM_MOVEABLE, command.size() + 1));
    if (!block) {
        lastError = GetLastError();
        return;
    }
    void* text = GlobalLock(block.get());
    if (!text) {
        lastError = GetLastError();
        return;
    }
    memcpy(text, command.c_str(), command.size() + 1);
    GlobalUnlock(block.get());

    awaitedAck = WM_DDE_EXECUTE;
    ackReceived = false;
    PostMessageA(serverWindow, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(clientWindow.get()),
                 PackDDElParam(WM_DDE_EXECUTE, 0, reinterpret_cast<UINT_PTR>(block.get())));
    waitForAck(timeoutMs);
}

void DdeClient::close()
{
    // In this order: the class can only be unregistered once its window is gone.
    topicAtom.reset();
    serviceAtom.reset();
    clientWindow.reset();
    classAtom.reset();
    connected = false;
}

const char* DdeClient::errorName() const
{
    switch (lastError) {
    case DMLERR_DLL_USAGE:
        return "DMLERR_DLL_USAGE";
    case DMLERR_INVALIDPARAMETER:
        return "DMLERR_INVALIDPARAMETER";
    case DMLERR_NO_CONV_ESTABLISHED:
        return "DMLERR_NO_CONV_ESTABLISHED";
    case DMLERR_SYS_ERROR:
        return "DMLERR_SYS_ERROR";
    case DDE_ERR_NO_ACK:
        return "DDE_ERR_NO_ACK";
    default:
        return "Unknown error";
    }
}

bool DdeClient::waitForAck(DWORD waitMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (ackReceived)
            return true;
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        // Unsigned difference: a wrap of the tick counter does no harm.
        if (GetTickCount() - start > waitMs)
            return false;
    }
}
