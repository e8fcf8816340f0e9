#include "driver/app_info.h"

#include <cstring>

const AppInfo appTable[APP_COUNT] = {
    {0, "-vcpp2005x", "VCExpress.8.0", nullptr, "Visual C++ 2005 Express", "Visual C++ 2005 Express Edition"},
    {1, "-vcs2005x", "VCSExpress.8.0", nullptr, "Visual C# 2005 Express", "Microsoft Visual C# 2005 Express Edition"},
    {2, "-vs2005", "VisualStudio.8.0", nullptr, "Visual Studio 2005", "Microsoft Visual Studio"},
    {3, "-vcpp2008x", "VCExpress.9.0", nullptr, "Visual C++ 2008 Express", "Visual C++ 2008 Express Edition"},
    {4, "-vcs2008x", "VCSExpress.9.0", nullptr, "Visual C# 2008 Express", "Microsoft Visual C# 2008 Express Edition"},
    {5, "-vs2008", "VisualStudio.9.0", nullptr, "Visual Studio 2008", "Microsoft Visual Studio"},
    {6, "-vcpp2010x", "VCExpress.10.0", nullptr, "Visual C++ 2010 Express", "Microsoft Visual C++ 2010 Express"},
    {7, "-vcs2010x", "VCSExpress.10.0", nullptr, "Visual C# 2010 Express", "Microsoft Visual C# 2010 Express"},
    {8, "-vs2010", "VisualStudio.10.0", nullptr, "Visual Studio 2010", "Microsoft Visual Studio"},
    {9, "-vs2012x", "WDExpress.11.0", nullptr, "Visual Studio Express 2012 for Windows Desktop",
     "Microsoft Visual Studio Express 2012"},
    {10, "-vs2012", "VisualStudio.11.0", nullptr, "Visual Studio 2012", "Microsoft Visual Studio"},
    {11, "-vs2013", "VisualStudio.12.0", "VisualStudio.DTE.12.0", "Visual Studio 2013", "Microsoft Visual Studio"},
    {12, "-vs2015", "VisualStudio.14.0", "VisualStudio.DTE.14.0", "Visual Studio 2015", "Microsoft Visual Studio"},
    {13, "-vs2017", "VisualStudio.15.0", "VisualStudio.DTE.15.0", "Visual Studio 2017", "Microsoft Visual Studio"},
    {14, "-vs2019", "VisualStudio.16.0", "VisualStudio.DTE.16.0", "Visual Studio 2019", "Microsoft Visual Studio"},
    {15, "-vs2022", "VisualStudio.17.0", "VisualStudio.DTE.17.0", "Visual Studio 2022", "Microsoft Visual Studio"},
};

const AppInfo* findAppBySwitch(const char* argument)
{
    for (const AppInfo& app : appTable) {
        if (strcmp(argument, app.switchName) == 0)
            return &app;
    }
    return nullptr;
}
