#ifndef QUORLAN_SOLUTION_SDK_DEFAULT_ITEMS_H
#define QUORLAN_SOLUTION_SDK_DEFAULT_ITEMS_H

// The .NET SDK's default items: what an SDK-style project (msbuild_project.h) holds without naming
// it, every file below the project's folder but those its default excludes leave out.
//
// Excludes (properties the project may extend): DefaultItemExcludes, "bin\**;obj\**;**\*.user;
// **\*.*proj;**\*.sln;**\*.slnx;**\*.vssscc", and DefaultExcludesInProjectFolder, "**\.*\**"
// (folders whose names start with ".").
//
// Kinds, by extension: Compile (.cs of a .csproj, .vb of a .vbproj, .fs of an .fsproj),
// EmbeddedResource (.resx), for a WPF project (UseWPF) ApplicationDefinition (App.xaml in the
// project's folder) and Page (.xaml), and None (everything else). EnableDefaultItems,
// EnableDefaultCompileItems, EnableDefaultEmbeddedResourceItems, EnableDefaultApplicationDefinition,
// EnableDefaultPageItems and EnableDefaultNoneItems set to anything but "true" turn kinds off as
// in MSBuild: a file whose kind is off falls to the next one, so a .cs file is a None item when
// compile items are off. The items come kind by kind in that order, each kind in walk order.

#include "solution/msbuild_properties.h"

#include <string>
#include <vector>

// Gives the table the properties the SDK defines before the project's own.
void setSdkProperties(PropertyTable& properties);

// EnableDefaultItems is on.
bool defaultItemsOn(const PropertyTable& properties);

// The default excludes as the project leaves them, a ";" list relative to the project's folder.
std::string defaultItemExcludes(const PropertyTable& properties);

struct DefaultItem {
    const char* name;  // Compile, EmbeddedResource, None, ApplicationDefinition or Page
    std::string path;
};

// The default items of the files that the walk of the project's folder found (in walk order),
// in item order.
std::vector<DefaultItem> defaultItems(const PropertyTable& properties, const std::string& projectPath,
                                      std::vector<std::string> files);

#endif
