#ifndef QUORLAN_VSLINK_DTE_H
#define QUORLAN_VSLINK_DTE_H

// Visual Studio's automation interface _DTE, as far as the tool calls it.
//
// Only ExecuteCommand is called; the methods before it are declared so that it lands in its
// vtable slot (32, counting IUnknown's and IDispatch's seven). Objects the real interface returns
// as its own automation types are plain IDispatch pointers here, enumerations plain longs: the
// slots, not the types, are what a call through this declaration relies on.

#include <oaidl.h>

// {04A72314-32E9-48E2-9B87-A63603454F3E}
inline constexpr IID IID__DTE = {0x04A72314, 0x32E9, 0x48E2, {0x9B, 0x87, 0xA6, 0x36, 0x03, 0x45, 0x4F, 0x3E}};

struct _DTE : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Name(BSTR* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_FileName(BSTR* fileName) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Version(BSTR* version) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CommandBars(IDispatch** commandBars) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Windows(IDispatch** windows) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Events(IDispatch** events) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_AddIns(IDispatch** addIns) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MainWindow(IDispatch** window) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ActiveWindow(IDispatch** window) = 0;
    virtual HRESULT STDMETHODCALLTYPE Quit() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DisplayMode(long* mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DisplayMode(long mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Solution(IDispatch** solution) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Commands(IDispatch** commands) = 0;
    // Named GetObjectA wherever windows.h's GetObject macro is in force, consistently so.
    virtual HRESULT STDMETHODCALLTYPE GetObject(BSTR name, IDispatch** object) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Properties(BSTR category, BSTR page, IDispatch** properties) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SelectedItems(IDispatch** items) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CommandLineArguments(BSTR* arguments) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenFile(BSTR viewKind, BSTR fileName, IDispatch** window) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsOpenFile(BSTR viewKind, BSTR fileName, VARIANT_BOOL* isOpen) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DTE(_DTE** dte) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_LocaleID(long* locale) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_WindowConfigurations(IDispatch** configurations) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Documents(IDispatch** documents) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ActiveDocument(IDispatch** document) = 0;
    // Runs a named Visual Studio command; "File.OpenFile" with a quoted full path opens that file.
    virtual HRESULT STDMETHODCALLTYPE ExecuteCommand(BSTR commandName, BSTR commandArgs) = 0;
};

#endif
