#include "flip/header_flip.h"

#include "solution/file_system.h"
#include "solution/path.h"
#include "solution/solution.h"
#include "vslink/open_in_visual_studio.h"

#include <shlwapi.h>

#include <cstring>

namespace {

// The extensions to try for a given file, in order; second may be null. A null first means the
// file has no counterpart.
struct Candidates {
    const char* first;
    const char* second;
};

bool hasExtension(const std::string& extension, const char* wanted)
{
    return _stricmp(extension.c_str(), wanted) == 0;
}

// The code-behind test is an exact search of the whole path, folders included.
std::string flipExtension(const std::string& path)
{
    std::string extension = PathFindExtensionA(path.c_str());
    bool xaml = hasExtension(extension, ".cs") || hasExtension(extension, ".xaml");
    if (xaml && path.find(".xaml.cs") != std::string::npos)
        extension = ".xaml.cs";
    return extension;
}

Candidates candidatesFor(const std::string& extension)
{
    if (hasExtension(extension, ".hpp") || hasExtension(extension, ".h"))
        return {".cpp", ".c"};
    if (hasExtension(extension, ".xaml"))
        return {".xaml.cs", nullptr};
    if (hasExtension(extension, ".cpp") || hasExtension(extension, ".c"))
        return {".h", ".hpp"};
    if (hasExtension(extension, ".xaml.cs"))
        return {"", nullptr};  // Page.xaml.cs gives Page.xaml
    return {nullptr, nullptr};
}

std::string findBeside(const std::string& path, Candidates candidates)
{
    std::string result = renameExtension(path, candidates.first);
    if (!pathExists(result) && candidates.second)
        result = renameExtension(path, candidates.second);
    return result;
}

// The first file of the solution named like the counterpart; "" when there is none. A listed
// file stands even when it no longer exists: the second candidate is then not searched.
std::string findInSolution(const Solution& solution, const std::string& path, Candidates candidates)
{
    std::string name = findFileName(renameExtension(path, candidates.first));
    std::string result = solution.findFileByName(name);
    if (result.empty() && candidates.second)
        result = solution.findFileByName(renameExtension(name, candidates.second));
    return result;
}

}  // namespace

void headerFlip(const AppInfo& app, HWND window, const std::string& headerFlipPath, const std::string& solutionPath,
                DWORD parentProcessId)
{
    Candidates candidates = candidatesFor(flipExtension(headerFlipPath));
    if (!candidates.first)
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
