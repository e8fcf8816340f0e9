#include "tests/standin/dde_server.h"

#include <dde.h>

#include <cstring>
#include <utility>

namespace {

const char SERVER_CLASS_NAME[] = "QuorlanStandInDdeServer";
const char DDE_TOPIC[] = "system";

// An atom of 0 in WM_DDE_INITIATE asks for any service or topic.
bool atomNames(ATOM atom, const std::string& name)
{
    char text[256];
    return atom == 0 || (GlobalGetAtomNameA(atom, text, sizeof text) && _stricmp(text, name.c_str()) == 0);
}

}  // namespace

DdeServer::DdeServer(std::string serviceName, DdeAnswer answer, Recorder recorder)
    : serviceName_(std::move(serviceName)), answer_(answer), recorder_(std::move(recorder))
{
    // Registered once per process and kept until its end: several servers may exist at a time.
    static UniqueClassRegistration serverClass = [] {
        WNDCLASSA windowClass = {0, windowProc, 0, 0, GetModuleHandleA(nullptr), nullptr,
                                 LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr,
                                 SERVER_CLASS_NAME};
        ATOM atom = RegisterClassA(&windowClass);
        return UniqueClassRegistration(atom ? ClassRegistration{atom, windowClass.hInstance} : ClassRegistration{});
    }();
}

HWND DdeServer::createWindow(const char* title, DWORD style, HWND parent)
{
    // Larger than the open-file window, so that centring on it shows.
    HWND window = CreateWindowExA(0, SERVER_CLASS_NAME, title, style, 100, 80, 1000, 700, parent, nullptr,
                                  GetModuleHandleA(nullptr), this);
    if (window)
        windows_.emplace_back(window);
    return window;
}

LRESULT CALLBACK DdeServer::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    auto* server = reinterpret_cast<DdeServer*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (server && message == WM_DDE_INITIATE)
        server->answerInitiate(window, reinterpret_cast<HWND>(wParam), lParam);
    else if (server && message == WM_DDE_EXECUTE)
        server->answerExecute(window, reinterpret_cast<HWND>(wParam), lParam);
    else
        return DefWindowProcA(window, message, wParam, lParam);
    return 0;
}

void DdeServer::answerInitiate(HWND window, HWND client, LPARAM lParam)
{
    if (answer_ == DdeAnswer::Never || !atomNames(LOWORD(lParam), serviceName_) ||
        !atomNames(HIWORD(lParam), DDE_TOPIC))
        return;
    // The answer to WM_DDE_INITIATE is sent, with atoms of the server's own (the client owns them
    // afterwards), and is never packed.
    SendMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(GlobalAddAtomA(serviceName_.c_str()), GlobalAddAtomA(DDE_TOPIC)));
}

void DdeServer::answerExecute(HWND window, HWND client, LPARAM lParam)
{
    UINT_PTR unused = 0;
    UINT_PTR commands = 0;
    UnpackDDElParam(WM_DDE_EXECUTE, lParam, &unused, &commands);
    HGLOBAL block = reinterpret_cast<HGLOBAL>(commands);
    // The block is the client's: read within its size, never free it.
    if (const char* text = static_cast<const char*>(GlobalLock(block))) {
        recorder_(std::string(text, strnlen(text, GlobalSize(block))));
        GlobalUnlock(block);
    }
    if (answer_ != DdeAnswer::Ack && answer_ != DdeAnswer::Nack)
        return;
    LPARAM ack = PackDDElParam(WM_DDE_ACK, answer_ == DdeAnswer::Ack ? DDE_FACK : 0, commands);
    if (!PostMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(window), ack))
        FreeDDElParam(WM_DDE_ACK, ack);
}
