#include "tests/solution/solution_files.h"

#include "solution/file_system.h"
#include "solution/text.h"

std::string solutionText(const std::vector<std::string>& projectPaths)
{
    std::string text = "\xEF\xBB\xBF\nMicrosoft Visual Studio Solution File, Format Version 12.00\n";
    for (const std::string& path : projectPaths)
        text += "Project(\"{8BC9CEB8-8B4A-11D0-8D11-00A0C91E6BC8}\") = \"n\", \"" + path + "\", \"{1}\"\nEndProject\n";
    return text + "Global\n\tGlobalSection(SolutionProperties) = preSolution\n\tEndGlobalSection\nEndGlobal\n";
}

std::string vcxprojText(const std::vector<std::string>& items)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Project>\n  <ItemGroup>\n";
    for (const std::string& item : items) {
        size_t space = item.find(' ');
        text += "    <" + item.substr(0, space) + " Include=\"" + item.substr(space + 1) + "\" />\n";
    }
    return text + "  </ItemGroup>\n</Project>\n";
}

namespace {

void walk(const Project& project, bool lowerFiles, const std::string& indent, std::vector<std::string>& lines)
{
    lines.push_back(indent + "P " + project.path);
    for (const std::string& file : project.files.paths())
        lines.push_back(indent + "F " + (lowerFiles ? lowerCase(file) : file));
    for (const std::unique_ptr<Project>& reference : project.references)
        walk(*reference, lowerFiles, indent + "  ", lines);
}

}  // namespace

std::vector<std::string> walkLines(const Solution& solution, bool lowerFiles)
{
    std::vector<std::string> lines;
    for (const std::unique_ptr<Project>& project : solution.projects)
        walk(*project, lowerFiles, "", lines);
    return lines;
}

void copyTree(const std::string& from, const TempDir& dir, const std::string& relative)
{
    std::vector<DirectoryEntry> entries;
    listDirectory(from, entries);
    for (const DirectoryEntry& entry : entries) {
        std::string name = relative.empty() ? entry.name : relative + "\\" + entry.name;
        if (entry.isDirectory)
            copyTree(from + "\\" + entry.name, dir, name);
        else
            dir.write(name, readFile(from + "\\" + entry.name));
    }
}

std::vector<std::string> relativeWalkLines(const Solution& solution, const std::string& folder)
{
    std::vector<std::string> lines = walkLines(solution);
    std::string prefix = lowerCase(folder + "\\");
    for (std::string& line : lines) {
        size_t start = lowerCase(line).find(prefix);
        if (start != std::string::npos)
            line.erase(start, prefix.size());
    }
    return lines;
}
