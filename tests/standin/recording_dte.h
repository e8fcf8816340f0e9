#ifndef QUORLAN_TESTS_STANDIN_RECORDING_DTE_H
#define QUORLAN_TESTS_STANDIN_RECORDING_DTE_H

// A real _DTE object, as Visual Studio's automation object looks to the tool: ExecuteCommand
// hands the command name and argument to a recorder and succeeds; every other method answers
// E_NOTIMPL. Reference-counted; it deletes itself when the last reference goes.

#include "vslink/dte.h"

#include <functional>
#include <string>

class RecordingDte : public _DTE {
public:
    // The texts as ANSI bytes, each exactly as long as its BSTR says.
    using Recorder = std::function<void(const std::string& commandName, const std::string& commandArgs)>;

    // Starts with one reference, owned by the caller (hand it to a ComPtr).
    explicit RecordingDte(Recorder recorder);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_Name(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_FileName(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Version(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_CommandBars(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Windows(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Events(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_AddIns(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_MainWindow(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ActiveWindow(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Quit() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_DisplayMode(long*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_DisplayMode(long) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Solution(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Commands(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetObject(BSTR, IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Properties(BSTR, BSTR, IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_SelectedItems(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_CommandLineArguments(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OpenFile(BSTR, BSTR, IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_IsOpenFile(BSTR, BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_DTE(_DTE**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_LocaleID(long*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_WindowConfigurations(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Documents(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ActiveDocument(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ExecuteCommand(BSTR commandName, BSTR commandArgs) override;

private:
    virtual ~RecordingDte() = default;

    LONG references_ = 1;
    Recorder recorder_;
};

#endif
