// Solution::load: the cache file when it is fresh, else the solution file's projects.
//
// Of a classic solution file (".sln") only lines of this shape matter, and only their second
// quoted string:
//   Project("{type GUID}") = "display name", "project path", "{project GUID}"
// An XML solution file (".slnx") is read by slnx_reader.h.

#include "solution/solution.h"

#include "solution/file_handle.h"
#include "solution/file_system.h"
#include "solution/load_report.h"
#include "solution/path.h"
#include "solution/slnx_reader.h"

#include <cstring>

namespace {

// The type of a solution folder: a line of that type names no project file.
const char SOLUTION_FOLDER_GUID[] = "2150E333-8FDC-42A3-9474-1A3956D46DE8";

// Fits a line of 510 characters with its newline; a longer one arrives in pieces, each looked at
// as a line of its own.
constexpr int LINE_BUFFER_SIZE = 512;

// The project path of a project line, or false for any other line.
bool projectPathOfLine(const char* line, std::string& projectPath)
{
    if (strncmp(line, "Project", 7) != 0)
        return false;
    const char* brace = strchr(line, '{');
    if (brace && strncmp(brace + 1, SOLUTION_FOLDER_GUID, strlen(SOLUTION_FOLDER_GUID)) == 0)
        return false;
    const char* comma = strchr(line, ',');
    const char* start = comma ? strchr(comma, '"') : nullptr;
    const char* end = start ? strchr(start + 1, '"') : nullptr;
    if (!end)
        return false;
    projectPath.assign(start + 1, end);
    return true;
}

}  // namespace

bool Solution::load()
{
    if (!pathExists(solutionPath)) {
        reportLoadProblem("Quorlan", "Couldn't find solution file %s.\n", solutionPath.c_str());
        return false;
    }

    bool loadedFromCache = false;
    if (pathExists(cachePath)) {
        loadedFromCache = readCache();
        if (!loadedFromCache) {
            clearProjects();
            deleteCacheFile();
        }
    }

    bool modified = true;
    int64_t cacheTime = 0;
    if (loadedFromCache) {
        if (!statExists(solutionPath)) {
            reportLoadProblem("Quorlan", "Solution file '%s' does not exist.", solutionPath.c_str());
            return false;
        }
        int64_t solutionTime;
        if (modificationTime(cachePath, cacheTime) && modificationTime(solutionPath, solutionTime) &&
            solutionTime <= cacheTime)
            modified = false;
    }

    LoadContext context;
    context.solutionDir = removeFileSpec(solutionPath);
    if (modified) {
        // A stale cache stays until the new one replaces it: another run that starts meanwhile
        // still finds the window's state in it. Only a solution file that can't be read removes it.
        loadedFromCache = false;
        clearProjects();
        if (!readSolutionFile(context.budget))
            return false;
    } else {
        takeUpTo(context.budget.projectsLeft, projects.size());  // the cache reader kept within the limit
        context.cachedWatches = std::move(watches);
        context.cachedCuts = std::move(projectCuts);
    }

    for (const std::unique_ptr<Project>& project : projects) {
        if (project->load(loadedFromCache, cacheTime, context))
            modified = true;
    }
    watches = std::move(context.watches);
    projectCuts = std::move(context.cuts);
    // A model that holds as many projects or files as it may was cut, or came as close as makes
    // no difference: the cache reader counts against the same bounds.
    budgetCuts_ = 0;
    if (context.budget.projectsLeft == 0)
        budgetCuts_ |= CUT_PROJECTS;
    if (context.budget.filesLeft == 0)
        budgetCuts_ |= CUT_FILES;
    if (modified)
        writeCache();
    return true;
}

bool Solution::readSolutionFile(ModelBudget& budget)
{
    bool xml = isSlnxPath(solutionPath);
    FileHandle file(solutionPath, xml ? "rb" : "rt");
    if (!file) {
        std::string reason = lastErrorText();
        deleteCacheFile();  // before the message, which waits for the user
        reportLoadProblem("Quorlan", "Solution file '%s' exists but it couldn't be loaded:\n%s\n", solutionPath.c_str(),
                          reason.c_str());
        return false;
    }
    std::string folder = removeFileSpec(solutionPath);
    auto addProject = [&](const std::string& projectPath) {
        if (takeUpTo(budget.projectsLeft, 1) == 1)
            projects.push_back(std::make_unique<Project>(folder, projectPath));
    };

    if (xml) {
        std::string text = readWholeFile(file);
        std::vector<std::string> projectPaths;
        if (!readSlnxProjects(text, projectPaths)) {
            deleteCacheFile();
            reportLoadProblem("Quorlan", "Solution file '%s' exists but it couldn't be loaded:\n%s\n",
                              solutionPath.c_str(), "It is not a well-formed XML solution file.");
            return false;
        }
        for (const std::string& projectPath : projectPaths)
            addProject(projectPath);
        return true;
    }

    char line[LINE_BUFFER_SIZE];
    std::string projectPath;
    while (fgets(line, sizeof line, file.get())) {
        if (projectPathOfLine(line, projectPath))
            addProject(projectPath);
    }
    return true;
}

void Solution::deleteCacheFile() const
{
    if (statExists(cachePath))
        deleteFile(cachePath);
}
