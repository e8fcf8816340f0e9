#ifndef QUORLAN_DRIVER_APP_INFO_H
#define QUORLAN_DRIVER_APP_INFO_H

// The Visual Studio editions the tool can drive, one row per command-line switch.
// A row with a dteProgId is reached through the automation object in the Running Object Table
// (and the tool must be started by that Visual Studio process); every other row through DDE.

struct AppInfo {
    int id;                       // the row's position in appTable; 6 and up get a second window search
    const char* switchName;       // "-vs2022"
    const char* ddeServiceName;   // "VisualStudio.17.0"
    const char* dteProgId;        // "VisualStudio.DTE.17.0", or null for the DDE editions
    const char* displayName;      // "Visual Studio 2022"
    const char* windowTitleText;  // text the main window's title contains, compared lower-cased
};

constexpr int APP_COUNT = 16;
extern const AppInfo appTable[APP_COUNT];

// The row whose switchName equals argument exactly (case-sensitive), or null.
const AppInfo* findAppBySwitch(const char* argument);

#endif
