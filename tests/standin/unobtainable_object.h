#ifndef QUORLAN_TESTS_STANDIN_UNOBTAINABLE_OBJECT_H
#define QUORLAN_TESTS_STANDIN_UNOBTAINABLE_OBJECT_H

// An object whose Running Object Table entry can be found but not obtained, as when the
// registering instance can no longer hand its object out: it marshals itself with an unmarshaller
// class registered nowhere, so every GetObject on its moniker fails, in this process or another.
// Not reference-counted: it lives in its owner's scope, which must outlast its registration.

#include <objbase.h>

class UnobtainableObject : public IMarshal {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        *object = iid == IID_IUnknown || iid == IID_IMarshal ? static_cast<IMarshal*>(this) : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE GetUnmarshalClass(REFIID, void*, DWORD, void*, DWORD, CLSID* unmarshaller) override
    {
        // {5A7E0D3C-51F4-4C3B-9E1B-0C1A50B1E0F0}: made up for this, never registered.
        *unmarshaller = {0x5A7E0D3C, 0x51F4, 0x4C3B, {0x9E, 0x1B, 0x0C, 0x1A, 0x50, 0xB1, 0xE0, 0xF0}};
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMarshalSizeMax(REFIID, void*, DWORD, void*, DWORD, DWORD* size) override
    {
        *size = 0;  // nothing to say: there is nothing to unmarshal
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE MarshalInterface(IStream*, REFIID, void*, DWORD, void*, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE UnmarshalInterface(IStream*, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ReleaseMarshalData(IStream*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DisconnectObject(DWORD) override { return S_OK; }
};

#endif
