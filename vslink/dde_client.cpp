#include "vslink/dde_client.h"

#include "driver/instance_handle.h"

#include <dde.h>
#include <ddeml.h>

#include <cstring>

namespace {

const char DDE_CLASS_NAME[] = "DDEClass";
const char DDE_TOPIC[] = "system";

// Set by the client window when any WM_DDE_ACK arrives; cleared right before each message that
// expects one. Only one conversation exists at a time, on the main thread.
bool ackReceived = false;

LRESULT CALLBACK ddeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DDE_ACK)
        ackReceived = true;
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

DdeClient::DdeClient(HWND serverWindow, DWORD timeoutMs) : serverWindow(serverWindow), timeoutMs(timeoutMs) {}

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
    // itself a sent message and normally arrives before the send returns. The send is bounded by
    // the same time-out, so a hung server can't hang the tool.
    ackReceived = false;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(serverWindow, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(clientWindow.get()),
                        PackDDElParam(WM_DDE_INITIATE, serviceAtom.get(), topicAtom.get()), SMTO_NORMAL, timeoutMs,
                        &ignored);
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

bool DdeClient::waitForAck(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (ackReceived)
            return true;
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        // Unsigned difference: a wrap of the tick counter does no harm.
        if (GetTickCount() - start > timeoutMs)
            return false;
    }
}
