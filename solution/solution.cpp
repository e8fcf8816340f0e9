#include "solution/solution.h"

Solution::Solution(const std::string& solutionPath)
    : cachePath(solutionPath + ".qlcache"), solutionPath(solutionPath)
{
}

Solution::~Solution()
{
    if (dirty)
        writeCache();
    clearProjects();
}

std::string Solution::findFileByName(const std::string& name) const
{
    for (const std::unique_ptr<Project>& project : projects) {
        std::string found = project->findFileByName(name);
        if (!found.empty())
            return found;
    }
    return "";
}

void Solution::clearProjects()
{
    projects.clear();
}
