#ifndef QUORLAN_SOLUTION_MSBUILD_PROJECT_H
#define QUORLAN_SOLUTION_MSBUILD_PROJECT_H

// Reads the items of an MSBuild project file (".vcxproj", ".csproj", ".vbproj", ".vcxitems", ...)
// as full paths, the way MSBuild would list them, short of building.
//
// Only ItemGroup and PropertyGroup elements that are direct children of the top-level Project
// element are read; conditions on items are not evaluated (every item counts), and properties
// defined under a condition stay unknown (msbuild_properties.h). For each item element:
//
// - "Include": its value is split at ";", each piece trimmed and its "$(...)" references expanded
//   (a piece that refers to an unknown property, or to items or metadata, "@(...)", "%(...)", is
//   left out); the path is taken relative to the project's folder, and one with wildcards is
//   expanded against the disk (folder_walker.h). "Exclude" removes the paths it matches from this
//   item's. A value of a project of one of the kinds read before SDK-style projects existed
//   (MsbuildProject::literalValues) that holds no wildcard and no property is one path as written,
//   ";" and all, as those kinds have always been read.
// - "Remove": drops the earlier items of its name whose paths its value matches.
//
// Relative paths are relative to the project's folder, also in a file the project imports (as in
// MSBuild: such files write "$(MSBuildThisFileDirectory)"). Only a shared project follows imports,
// and only those labelled "Shared", one level deep.
//
// An SDK-style project (a Project element with an Sdk attribute, or an Sdk element or import)
// first gets the .NET SDK's default items (sdk_default_items.h).
//
// Properties the reader sets: MSBuildThisFileDirectory (the folder of the file the item is
// written in, with a trailing backslash), MSBuildProjectDirectory (the project's folder, without
// one), ProjectDir (with one), SolutionDir (the solution's folder, with one), MSBuildProjectName
// and ProjectName (the project file's name without extension).

#include "solution/file_list.h"
#include "solution/folder_walker.h"
#include "solution/watch_list.h"
#include "solution/xml_workspace.h"

#include <memory>
#include <string>
#include <vector>

// What reading one project file needs besides its text.
struct MsbuildProject {
    std::string path;         // full path of the project file
    std::string solutionDir;  // the solution's folder; "" when unknown
    // The item names to collect, in collection order: within each ItemGroup every item of the
    // first name, then of the second... Null: every item that names files, in document order.
    const char* const* itemNames = nullptr;
    size_t itemNameCount = 0;
    bool literalValues = false;  // values without wildcard or property are one path as written
    bool sharedImports = false;  // a shared project (.shproj): the items of the files it imports
                                 // with Label="Shared" (its .projitems) are its own
};

// What the reading gave.
struct MsbuildItems {
    FileList files;                       // full paths of the items, in item order
    std::vector<std::string> references;  // full paths of the ProjectReference items (when collected)
    WatchList watched;                    // the folders walked and the files imported
};

// What reading project files keeps from one file to the next during a load: the evaluation's
// lists of items. Made afresh for every file, a project of a thousand items takes new blocks for
// them each time, whose pages Wine's heap maps and faults in again (as it would the parser's
// document: xml_workspace.h).
class MsbuildWorkspace {
public:
    MsbuildWorkspace();
    ~MsbuildWorkspace();
    MsbuildWorkspace(const MsbuildWorkspace&) = delete;
    MsbuildWorkspace& operator=(const MsbuildWorkspace&) = delete;

    struct Lists;  // the reader's own
    Lists& lists() { return *lists_; }

private:
    std::unique_ptr<Lists> lists_;
};

enum class MsbuildRead {
    notXml,      // empty, nested too deeply, or no XML the parser accepts
    notMsbuild,  // XML without a top-level Project element
    read,
};

// Whether an item of this name names files: every item but references of any kind ("...Reference"),
// project configurations and capabilities, folders, namespace imports and the like.
bool itemNamesFiles(const char* name);

// Reads the project file's text (NUL-terminated as readWholeFile gives it; parsed in place into
// document, an empty one: XmlWorkspace::freshDocument) into items, no more than fileLimit files. Imported files are
// read, and folders listed, through file_system.h; walks are charged to budget. The lists of the
// workspace are the reading's until it returns.
MsbuildRead readMsbuildProject(std::string& text, rapidxml::xml_document<char>& document, MsbuildWorkspace& workspace,
                               const MsbuildProject& project, WalkBudget& budget, size_t fileLimit,
                               MsbuildItems& items);

#endif
