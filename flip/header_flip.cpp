#include "flip/header_flip.h"

#include "solution/file_system.h"
#include "solution/path.h"
#include "solution/solution.h"
#include "vslink/open_in_visual_studio.h"

#include <shlwapi.h>

#include <cstring>
#include <vector>

namespace {

// A header and a source file that are each other's counterparts. Pairs are tried in table order:
// the first four are the pairs the flip has always known, in their old order; the others came
// later and come after them. The candidates of an extension are the other sides of the pairs it
// is in, in table order (header_flip.h lists them).
struct Pair {
    const char* header;
    const char* source;
};

const Pair PAIRS[] = {
    {".h", ".cpp"},    {".h", ".c"},     {".hpp", ".cpp"},  {".hpp", ".c"},                         //
    {".hh", ".cc"},    {".hxx", ".cxx"}, {".h++", ".c++"},  {".cuh", ".cu"},                        //
    {".h", ".cc"},     {".hpp", ".cc"},  {".h", ".cxx"},    {".hpp", ".cxx"}, {".h", ".c++"},       //
    {".hpp", ".c++"},  {".h", ".cu"},    {".hpp", ".cu"},   {".h", ".m"},     {".hpp", ".m"},       //
    {".h", ".mm"},     {".hpp", ".mm"},
};

// The code-behind pair: the markup's candidate, and the code-behind's (Page.xaml.cs gives
// Page.xaml: its last extension removed).
const char XAML[] = ".xaml";
const char CODE_BEHIND[] = ".xaml.cs";

bool hasExtension(const std::string& extension, const char* wanted)
{
    return _stricmp(extension.c_str(), wanted) == 0;
}

// The code-behind test is an exact search of the whole path, folders included.
std::string flipExtension(const std::string& path)
{
    std::string extension = PathFindExtensionA(path.c_str());
    bool xaml = hasExtension(extension, ".cs") || hasExtension(extension, XAML);
    if (xaml && path.find(CODE_BEHIND) != std::string::npos)
        extension = CODE_BEHIND;
    return extension;
}

// The extensions to try for a file with this extension, in order; none when it has no counterpart.
std::vector<std::string> candidatesFor(const std::string& extension)
{
    if (hasExtension(extension, XAML))
        return {CODE_BEHIND};
    if (hasExtension(extension, CODE_BEHIND))
        return {""};
    std::vector<std::string> candidates;
    for (const Pair& pair : PAIRS) {
        if (hasExtension(extension, pair.header))
            candidates.push_back(pair.source);
        else if (hasExtension(extension, pair.source))
            candidates.push_back(pair.header);
    }
    return candidates;
}

// The first candidate that exists beside the file; else the last one tried, which doesn't.
std::string findBeside(const std::string& path, const std::vector<std::string>& candidates)
{
    std::string result;
    for (const std::string& candidate : candidates) {
        result = renameExtension(path, candidate);
        if (pathExists(result))
            break;
    }
    return result;
}

// The first file of the solution named like a candidate, trying them in order; "" when there is
// none. A listed file stands even when it no longer exists: later candidates are then not searched.
std::string findInSolution(const Solution& solution, const std::string& path, const std::vector<std::string>& candidates)
{
    for (const std::string& candidate : candidates) {
        std::string name = findFileName(renameExtension(path, candidate));
        std::string result = name.empty() ? "" : solution.findFileByName(name);
        if (!result.empty())
            return result;
    }
    return "";
}

}  // namespace

void headerFlip(const AppInfo& app, HWND window, const std::string& headerFlipPath, const std::string& solutionPath,
                DWORD parentProcessId)
{
    std::vector<std::string> candidates = candidatesFor(flipExtension(headerFlipPath));
    if (candidates.empty())
        return;

    std::string result = findBeside(headerFlipPath, candidates);
    if (!pathExists(result) && !solutionPath.empty()) {
        // The solution is gone (its cache rewritten if need be) before Visual Studio is asked.
        Solution solution(solutionPath);
        if (solution.load())
            result = findInSolution(solution, headerFlipPath, candidates);
    }

    if (pathExists(result))
        openInVisualStudio(app, window, result, parentProcessId);
}
