// Loads a generated solution of about 300,000 files in a few hundred projects and prints how
// long the first load (every project file parsed, cache written) and a load from the fresh cache
// take, and the cache file's size; then the same for a chain of references and for SDK-style
// projects whose files are found by walking their folders. The generated files live in a temporary folder, removed after
// (the tests' TempDir).
//
// Usage: solution_bench.exe [projects [files per project]]

#include "bench/memory_use.h"
#include "solution/solution.h"

#include "tests/support/temp_dir.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A project of filesPerProject items spread over 25 folders, as ClCompile and ClInclude pairs.
std::string projectText(int project, int filesPerProject)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                       "<Project DefaultTargets=\"Build\">\n  <ItemGroup>\n";
    for (int i = 0; i < filesPerProject; ++i) {
        char item[160];
        snprintf(item, sizeof item, "    <%s Include=\"src\\module%02d\\Source_%d_%05d.%s\" />\n",
                 i % 2 ? "ClInclude" : "ClCompile", i % 25, project, i, i % 2 ? "h" : "cpp");
        text += item;
    }
    return text + "  </ItemGroup>\n</Project>\n";
}

size_t countFiles(const Project& project)
{
    size_t count = project.files.size();
    for (const std::unique_ptr<Project>& reference : project.references)
        count += countFiles(*reference);
    return count;
}

size_t countFiles(const Solution& solution)
{
    size_t count = 0;
    for (const std::unique_ptr<Project>& project : solution.projects)
        count += countFiles(*project);
    return count;
}

size_t countProjects(const std::vector<std::unique_ptr<Project>>& projects)
{
    size_t count = projects.size();
    for (const std::unique_ptr<Project>& project : projects)
        count += countProjects(project->references);
    return count;
}

// A chain of 20 small project files, each referencing the next one twice: a tree of a million
// projects if nothing bounded it. Prints the projects the model holds and the time of the first
// load and of a load from the fresh cache.
void referenceExpansion()
{
    const int LEVELS = 20;
    TempDir root;
    std::vector<std::string> files;
    for (int i = 0; i < LEVELS; ++i) {
        std::string next = "<ProjectReference Include=\"p" + std::to_string(i + 1) + ".vcxproj\"/>";
        files.push_back(root.write("p" + std::to_string(i) + ".vcxproj",
                                   "<Project><ItemGroup><ClCompile Include=\"f.cpp\"/>" + next + next +
                                       "</ItemGroup></Project>"));
    }
    files.push_back(root.write("Chain.sln", "Project(\"{8BC9CEB8-8B4A-11D0-8D11-00A0C91BC942}\") = \"p0\", "
                                            "\"p0.vcxproj\", \"{00000000-0000-0000-0000-000000000000}\"\n"));
    for (const std::string& path : files)
        setModifiedTime(path, modifiedTime(path) - 60);

    double times[2];
    size_t counts[2];
    for (int load = 0; load < 2; ++load) {
        double start = now();
        Solution solution(files.back());
        solution.load();
        counts[load] = countProjects(solution.projects);
        times[load] = now() - start;
    }
    printf("reference expansion:   %d project files, each referencing the next twice: %u projects in the model\n"
           "                       (first load %.0f ms, from the cache %.0f ms, %u projects)\n",
           LEVELS, static_cast<unsigned>(counts[0]), times[0] * 1000, times[1] * 1000,
           static_cast<unsigned>(counts[1]));
}

// SDK-style projects, which name no files: every file below each project's folder is its item. Prints
// the first load (every folder walked), a load from the fresh cache (one stat per walked folder,
// nothing walked) and a load after one file was added (that project walked again).
void sdkProjects()
{
    const int PROJECTS = 10, FOLDERS = 300, FILES = 10;
    TempDir root;
    std::vector<std::string> stale;
    std::string solutionText;
    for (int p = 0; p < PROJECTS; ++p) {
        std::string name = "Sdk" + std::to_string(p);
        stale.push_back(root.write(name + "\\" + name + ".csproj", "<Project Sdk=\"Microsoft.NET.Sdk\"></Project>"));
        for (int f = 0; f < FOLDERS; ++f) {
            std::string folder = name + "\\area" + std::to_string(f / 20) + "\\part" + std::to_string(f);
            for (int i = 0; i < FILES; ++i)
                root.write(folder + "\\Type" + std::to_string(i) + ".cs");
            stale.push_back(root.path(folder));
        }
        solutionText += "Project(\"{9A19103F-16F7-4668-BE54-9A1E7A4F7556}\") = \"" + name + "\", \"" + name + "\\" +
                        name + ".csproj\", \"{00000000-0000-0000-0000-000000000000}\"\nEndProject\n";
    }
    stale.push_back(root.write("Sdk.sln", solutionText));
    for (const std::string& path : stale)
        setModifiedTime(path, modifiedTime(path) - 60);

    double times[3];
    size_t counts[3];
    for (int load = 0; load < 3; ++load) {
        if (load == 2)
            root.write("Sdk0\\area0\\part0\\Added.cs");
        double start = now();
        Solution solution(root.path("Sdk.sln"));
        solution.load();
        counts[load] = countFiles(solution);
        times[load] = now() - start;
    }
    printf("SDK-style projects:    %d projects of %d folders (%u files)\n"
           "                       first load %.0f ms, from the cache %.0f ms (%.1f us per folder), "
           "one file added %.0f ms (%u files)\n",
           PROJECTS, FOLDERS, static_cast<unsigned>(counts[0]), times[0] * 1000, times[1] * 1000,
           times[1] * 1e6 / (PROJECTS * (FOLDERS + FOLDERS / 20 + 1)), times[2] * 1000,
           static_cast<unsigned>(counts[2]));
}

}  // namespace

int main(int argc, char** argv)
{
    int projects = argc > 1 ? atoi(argv[1]) : 300;
    int filesPerProject = argc > 2 ? atoi(argv[2]) : 1000;

    TempDir root;
    std::string solutionText;
    std::vector<std::string> files;
    for (int p = 0; p < projects; ++p) {
        std::string name = "Project" + std::to_string(p);
        files.push_back(root.write(name + "\\" + name + ".vcxproj", projectText(p, filesPerProject)));
        solutionText += "Project(\"{8BC9CEB8-8B4A-11D0-8D11-00A0C91BC942}\") = \"" + name + "\", \"" + name + "\\" +
                        name + ".vcxproj\", \"{00000000-0000-0000-0000-000000000000}\"\nEndProject\n";
    }
    std::string solutionPath = root.write("Bench.sln", solutionText);
    files.push_back(solutionPath);
    // A minute in the past, so that the cache written by the first load is fresh for every file.
    for (const std::string& path : files)
        setModifiedTime(path, modifiedTime(path) - 60);

    double start = now();
    size_t firstFiles;
    {
        Solution solution(solutionPath);
        solution.load();
        firstFiles = countFiles(solution);
    }
    double firstLoad = now() - start;

    size_t cacheSize = readFile(solutionPath + ".qlcache").size();

    start = now();
    size_t cachedFiles;
    size_t modelBytes;
    bool servedByCache;  // the cache gives paths back lower-cased; the project files spell "Source_"
    {
        size_t before = privateBytes();
        Solution solution(solutionPath);
        solution.load();
        modelBytes = privateBytes() - before;
        cachedFiles = countFiles(solution);
        servedByCache = cachedFiles > 0 && solution.projects[0]->files.path(0).find("source_") != std::string::npos;
    }
    double cachedLoad = now() - start;

    printf("projects:              %d\n", projects);
    printf("files:                 %u (first load), %u (from the cache)\n", static_cast<unsigned>(firstFiles),
           static_cast<unsigned>(cachedFiles));
    printf("first load:            %.0f ms (parse every project, write the cache)\n", firstLoad * 1000);
    printf("load from fresh cache: %.0f ms%s\n", cachedLoad * 1000, servedByCache ? "" : " (NOT served by the cache)");
    printf("cache file:            %u bytes (%.1f bytes per file)\n", static_cast<unsigned>(cacheSize),
           static_cast<double>(cacheSize) / static_cast<double>(firstFiles ? firstFiles : 1));
    printf("model in memory:       %.1f MB (%.0f bytes per file, loaded from the cache)\n",
           static_cast<double>(modelBytes) / (1024 * 1024),
           static_cast<double>(modelBytes) / static_cast<double>(cachedFiles ? cachedFiles : 1));
    referenceExpansion();
    sdkProjects();
    bool complete = firstFiles == cachedFiles && firstFiles == static_cast<size_t>(projects) * filesPerProject;
    return complete && servedByCache ? 0 : 1;
}
