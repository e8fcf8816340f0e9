#include "bench/generated_solution.h"

#include <iterator>
#include <random>
#include <vector>

namespace {

const char* const WORDS[] = {"render", "Scene", "physics", "net",  "audio",  "Input", "shader", "mesh",
                             "ui",     "Texture", "camera", "io",   "main",   "util",  "Memory", "task",
                             "World",  "player", "Entity",  "font", "script", "anim",  "light",  "path"};

struct Extension {
    const char* text;
    const char* item;
};
const Extension EXTENSIONS[] = {{".cpp", "ClCompile"}, {".h", "ClInclude"}, {".hpp", "ClInclude"},
                                {".c", "ClCompile"},   {".cs", "None"},     {".xaml", "None"}};

std::string projectText(int project, int files, std::mt19937& random)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                       "<Project DefaultTargets=\"Build\" ToolsVersion=\"4.0\">\n  <ItemGroup>\n"
                       "    <ClInclude Include=\"..\\Shared\\Version.h\" />\n"
                       "    <ClInclude Include=\"..\\Shared\\stdafx.h\" />\n";
    const size_t words = std::size(WORDS);
    for (int file = 2; file < files; ++file) {
        const Extension& extension = EXTENSIONS[random() % std::size(EXTENSIONS)];
        std::string folder = std::string(WORDS[(project + file / 40) % words]) + std::to_string(file / 40 % 7);
        std::string name = std::string(WORDS[random() % words]) + "_" + WORDS[random() % words] + std::to_string(file);
        text += std::string("    <") + extension.item + " Include=\"src\\" + folder + "\\" + name + extension.text +
                "\" />\n";
    }
    return text + "  </ItemGroup>\n</Project>\n";
}

}  // namespace

GeneratedSolution::GeneratedSolution(int projects, int filesPerProject)
{
    std::mt19937 random(42);
    std::string solutionText = "Microsoft Visual Studio Solution File, Format Version 12.00\n";
    std::vector<std::string> written;
    for (int project = 0; project < projects; ++project) {
        std::string name = "Project" + std::to_string(project);
        std::string text = projectText(project, filesPerProject, random);
        projectBytes += static_cast<int64_t>(text.size());
        written.push_back(folder.write(name + "\\" + name + ".vcxproj", text));
        solutionText += "Project(\"{8BC9CEB8-8B4A-11D0-8D11-00A0C91BC942}\") = \"" + name + "\", \"" + name + "\\" +
                        name + ".vcxproj\", \"{00000000-0000-0000-0000-000000000000}\"\nEndProject\n";
    }
    solutionPath = folder.write("Bench.sln", solutionText);
    written.push_back(solutionPath);
    for (const std::string& path : written)
        setModifiedTime(path, modifiedTime(path) - 60);
}
