#include "tests/standin/recording_dte.h"

#include <utility>
#include <vector>

namespace {

std::string ansiBytes(BSTR text)
{
    if (!text)
        return std::string();
    int length = static_cast<int>(SysStringLen(text));
    int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::vector<char> buffer(size > 0 ? size : 1);
    size = WideCharToMultiByte(CP_ACP, 0, text, length, buffer.data(), size, nullptr, nullptr);
    return std::string(buffer.data(), size > 0 ? size : 0);
}

}  // namespace

RecordingDte::RecordingDte(Recorder recorder) : recorder_(std::move(recorder)) {}

HRESULT STDMETHODCALLTYPE RecordingDte::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID__DTE) {
        *object = static_cast<_DTE*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE RecordingDte::AddRef()
{
    return InterlockedIncrement(&references_);
}

ULONG STDMETHODCALLTYPE RecordingDte::Release()
{
    LONG left = InterlockedDecrement(&references_);
    if (left == 0)
        delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE RecordingDte::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RecordingDte::ExecuteCommand(BSTR commandName, BSTR commandArgs)
{
    recorder_(ansiBytes(commandName), ansiBytes(commandArgs));
    return S_OK;
}
