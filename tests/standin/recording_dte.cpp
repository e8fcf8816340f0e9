#include "tests/standin/recording_dte.h"

#include <utility>

namespace {

// The BSTR's ANSI bytes, exactly as many as its length says (embedded NULs included).
std::string ansiBytes(BSTR text)
{
    int length = static_cast<int>(SysStringLen(text));
    int size = length > 0 ? WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr) : 0;
    std::string bytes(size, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text, length, &bytes[0], size, nullptr, nullptr);
    return bytes;
}

}  // namespace

RecordingDte::RecordingDte(Recorder recorder) : recorder_(std::move(recorder)) {}

HRESULT STDMETHODCALLTYPE RecordingDte::QueryInterface(REFIID iid, void** object)
{
    *object = iid == IID_IUnknown || iid == IID_IDispatch || iid == IID__DTE ? static_cast<_DTE*>(this) : nullptr;
    if (!*object)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE RecordingDte::Release()
{
    LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE RecordingDte::ExecuteCommand(BSTR commandName, BSTR commandArgs)
{
    recorder_(ansiBytes(commandName), ansiBytes(commandArgs));
    return S_OK;
}
