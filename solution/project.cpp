#include "solution/project.h"

#include "solution/load_report.h"
#include "solution/path.h"
#include "solution/text.h"

size_t takeUpTo(uint32_t& left, size_t wanted)
{
    size_t taken = wanted < left ? wanted : left;
    left -= static_cast<uint32_t>(taken);
    return taken;
}

Project::Project() = default;

Project::Project(const std::string& baseDir, const std::string& pathText) : baseDir(baseDir)
{
    path = isRelativePath(pathText) ? appendPath(baseDir, pathText) : pathText;
    if (path.empty()) {
        reportLoadProblem("Quorlan error",
                          "Full project filename is empty (was given '%s', solution path was '%s')!\n",
                          pathText.c_str(), baseDir.c_str());
    }
}

void Project::clear()
{
    files.clear();
    references.clear();
}

std::string Project::findFileByName(const std::string& name) const
{
    for (size_t file = 0; file < files.size(); ++file) {
        std::string path = files.path(file);
        // A file-name part equal to name ends the path: the cheap test first.
        if (endsWithIgnoringCase(path, name) && compareIgnoringCase(findFileName(path), name) == 0)
            return path;
    }
    for (const std::unique_ptr<Project>& reference : references) {
        std::string found = reference->findFileByName(name);
        if (!found.empty())
            return found;
    }
    return "";
}
