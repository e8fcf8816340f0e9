#include "vslink/automation.h"

#include "driver/report_error.h"
#include "vslink/com_owners.h"
#include "vslink/dte.h"

namespace {

std::string displayName(IMoniker* moniker, IBindCtx* bindContext)
{
    LPOLESTR name = nullptr;
    if (FAILED(moniker->GetDisplayName(bindContext, nullptr, &name)) || !name)
        return std::string();
    UniqueCoTaskMemory owner(name);
    return ansiText(name);
}

}  // namespace

void openThroughAutomation(const char* progId, const std::string& path, DWORD parentProcessId)
{
    if (parentProcessId == 0) {
        reportError("Quorlan", "Using DTE but couldn't find the parent process ID!");
        return;
    }
    std::string wantedName = "!" + std::string(progId) + ":" + std::to_string(parentProcessId);

    ComPtr<IBindCtx> bindContext;
    if (FAILED(CreateBindCtx(0, bindContext.put())) || !bindContext) {
        reportError("Quorlan", "Using DTE but couldn't get the bind context!");
        return;
    }
    ComPtr<IRunningObjectTable> table;
    if (FAILED(bindContext->GetRunningObjectTable(table.put())) || !table) {
        reportError("Quorlan", "Using DTE but couldn't get the running object table interface!");
        return;
    }
    ComPtr<IEnumMoniker> monikers;
    if (FAILED(table->EnumRunning(monikers.put())) || !monikers) {
        reportError("Quorlan", "Using DTE but couldn't enumerate the monikers!");
        return;
    }

    ComPtr<IUnknown> object;
    ComPtr<IMoniker> moniker;
    while (!object && monikers->Next(1, moniker.put(), nullptr) == S_OK) {
        if (displayName(moniker.get(), bindContext.get()) != wantedName)
            continue;
        // GetObject is GetObjectA here, as in the COM headers: windows.h renames both alike.
        if (table->GetObject(moniker.get(), object.put()) != S_OK || !object) {
            reportError("QUORLAN", "Found the Visual Studio DTE moniker but couldn't get the DTE object pointer!");
            return;
        }
    }
    if (!object) {
        reportError("Quorlan", "Couldn't find Visual Studio DTE object!");
        return;
    }

    ComPtr<_DTE> dte;
    if (FAILED(object->QueryInterface(IID__DTE, dte.putVoid())) || !dte)
        return;
    UniqueBstr commandName = makeBstr("File.OpenFile");
    UniqueBstr commandArgs = makeBstr("\"" + path + "\"");
    if (!commandName || !commandArgs)
        return;
    // Cross-process: blocks until Visual Studio answers. Its result changes nothing here.
    dte->ExecuteCommand(commandName.get(), commandArgs.get());
}
