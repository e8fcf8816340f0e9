#include "tests/solution/solution_files.h"

#include "solution/text.h"

std::string solutionText(const std::vector<std::string>& projectPaths)
{
    std::string text = "\xEF\xBB\xBF\nMicrosoft Visual Studio Solution File, Format Version 12.00\n";
    for (const std::string& path : projectPaths) {
        text += "Project(\"{8BC9CEB8-8B4A-11D0-8D11-00A0C91E6BC8}\") = \"name\", \"" + path + "\", \"{1}\"\n"
                "\tProjectSection(ProjectDependencies) = postProject\n\t\tProject(\"x\") = \"y\", \"indented\"\n"
                "\tEndProjectSection\nEndProject\n";
    }
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

std::unique_ptr<Project> makeProject(const std::string& path, std::vector<std::string> files)
{
    auto project = std::make_unique<Project>();
    project->path = path;
    project->files = std::move(files);
    return project;
}

std::vector<std::string> walkLines(const Project& project, const std::string& indent)
{
    std::vector<std::string> lines{indent + "P " + project.path};
    for (const std::string& file : project.files)
        lines.push_back(indent + "F " + file);
    for (const std::unique_ptr<Project>& reference : project.references) {
        std::vector<std::string> below = walkLines(*reference, indent + "  ");
        lines.insert(lines.end(), below.begin(), below.end());
    }
    return lines;
}

std::vector<std::string> walkLines(const Solution& solution)
{
    std::vector<std::string> lines;
    for (const std::unique_ptr<Project>& project : solution.projects) {
        std::vector<std::string> below = walkLines(*project);
        lines.insert(lines.end(), below.begin(), below.end());
    }
    return lines;
}

std::vector<std::string> filesLowerCased(std::vector<std::string> lines)
{
    for (std::string& line : lines) {
        size_t marker = line.find("F ");
        if (marker != std::string::npos)
            line.replace(marker + 2, std::string::npos, lowerCase(line.substr(marker + 2)));
    }
    return lines;
}

LockedFile::LockedFile(const std::string& path)
    : file_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr))
{
}
