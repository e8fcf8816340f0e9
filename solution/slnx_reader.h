#ifndef QUORLAN_SOLUTION_SLNX_READER_H
#define QUORLAN_SOLUTION_SLNX_READER_H

// The XML solution format ("App.slnx") that Visual Studio 2022 and the .NET SDK write beside or
// instead of the classic ".sln" text:
//
//   <Solution>
//     <Folder Name="/src/">
//       <Project Path="src/App/App.csproj" />
//       <Folder Name="/src/tools/"> <Project Path="tools\Tool.vcxproj" /> </Folder>
//     </Folder>
//     <Project Path="Lib/Lib.vcxproj" Id="..." />
//   </Solution>
//
// Every Project element below the top-level Solution element names a project file by its Path,
// relative to the solution's folder, with '/' or '\'; Folder elements group them and may nest.
// Everything else (configurations, solution items, build dependencies) is ignored.

#include <string>
#include <vector>

// The path has the extension ".slnx" (in any letter case).
bool isSlnxPath(const std::string& path);

// Appends the Path of every Project element, in document order, with '/' turned into '\'. text is
// NUL-terminated (as readWholeFile gives it) and parsed in place. False when it is not such a
// file: not XML the parser accepts, nested too deeply, or without a top-level Solution element.
bool readSlnxProjects(std::string& text, std::vector<std::string>& projectPaths);

#endif
