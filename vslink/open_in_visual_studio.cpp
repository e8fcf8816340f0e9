#include "vslink/open_in_visual_studio.h"

#include "driver/report_error.h"
#include "solution/file_system.h"
#include "vslink/automation.h"
#include "vslink/dde_client.h"

namespace {

const DWORD DDE_TIMEOUT_MS = 250;

void openThroughDde(const char* serviceName, HWND window, const std::string& path)
{
    DdeClient client(window, DDE_TIMEOUT_MS);
    if (client.connect(serviceName))
        client.execute("[Open(\"" + path + "\")]");
    else
        reportError("Quorlan", "Couldn't connect to Visual Studio: %s\n", client.errorName());
    client.close();
}

}  // namespace

void openInVisualStudio(const AppInfo& app, HWND window, std::string path, DWORD parentProcessId)
{
    if (!pathExists(path))
        return;
    if (app.dteProgId)
        openThroughAutomation(app.dteProgId, path, parentProcessId);
    else
        openThroughDde(app.ddeServiceName, window, path);
}
