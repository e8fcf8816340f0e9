// Loads a generated solution of about 300,000 files in a few hundred projects and prints how
// long the first load (every project file parsed, cache written) and a load from the fresh cache
// take, and the cache file's size. The generated files live in a temporary folder, removed after.
//
// Usage: solution_bench.exe [projects [files per project]]

#include "solution/solution.h"

#include "driver/unique_resource.h"

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

bool writeText(const std::string& path, const std::string& text)
{
    UniqueCStream stream(fopen(path.c_str(), "wb"));
    return stream && fwrite(text.data(), 1, text.size(), stream.get()) == text.size();
}

// Moves a file's modification time back by a minute, so that a cache written now is fresh for it.
void age(const std::string& path)
{
    UniqueWin32File file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES | FILE_READ_ATTRIBUTES, FILE_SHARE_READ,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
    FILETIME written;
    GetFileTime(file.get(), nullptr, nullptr, &written);
    ULARGE_INTEGER time{{written.dwLowDateTime, written.dwHighDateTime}};
    time.QuadPart -= 60ULL * 10000000ULL;
    written = {time.LowPart, time.HighPart};
    SetFileTime(file.get(), nullptr, nullptr, &written);
}

// A project of filesPerProject items spread over 25 folders, as ClCompile and ClInclude pairs.
std::string projectText(int project, int filesPerProject)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Project DefaultTargets=\"Build\">\n  <ItemGroup>\n";
    for (int i = 0; i < filesPerProject; ++i) {
        char item[160];
        snprintf(item, sizeof item, "    <%s Include=\"src\\module%02d\\Source_%d_%05d.%s\" />\n",
                 i % 2 ? "ClInclude" : "ClCompile", i % 25, project, i, i % 2 ? "h" : "cpp");
        text += item;
    }
    return text + "  </ItemGroup>\n</Project>\n";
}

void removeTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(folder + "\\" + name);
            else
                DeleteFileA((folder + "\\" + name).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
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

}  // namespace

int main(int argc, char** argv)
{
    int projects = argc > 1 ? atoi(argv[1]) : 300;
    int filesPerProject = argc > 2 ? atoi(argv[2]) : 1000;

    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string root = std::string(base) + "quorlan-bench-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(root.c_str(), nullptr);
    std::string solutionText;
    std::vector<std::string> toAge;
    for (int p = 0; p < projects; ++p) {
        std::string name = "Project" + std::to_string(p);
        CreateDirectoryA((root + "\\" + name).c_str(), nullptr);
        std::string path = root + "\\" + name + "\\" + name + ".vcxproj";
        if (!writeText(path, projectText(p, filesPerProject))) {
            fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        toAge.push_back(path);
        solutionText += "Project(\"{8BC9CEB8-8B4A-11D0-8D11-00A0C91BC942}\") = \"" + name + "\", \"" + name + "\\" +
                        name + ".vcxproj\", \"{00000000-0000-0000-0000-000000000000}\"\nEndProject\n";
    }
    std::string solutionPath = root + "\\Bench.sln";
    writeText(solutionPath, solutionText);
    toAge.push_back(solutionPath);
    for (const std::string& path : toAge)
        age(path);

    double start = now();
    size_t firstFiles;
    {
        Solution solution(solutionPath);
        solution.load();
        firstFiles = countFiles(solution);
    }
    double firstLoad = now() - start;

    UniqueWin32File cacheFile(CreateFileA((solutionPath + ".qlcache").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER cacheSize{};
    GetFileSizeEx(cacheFile.get(), &cacheSize);
    cacheFile.reset();

    start = now();
    size_t cachedFiles;
    {
        Solution solution(solutionPath);
        solution.load();
        cachedFiles = countFiles(solution);
    }
    double cachedLoad = now() - start;

    printf("projects:             %d\n", projects);
    printf("files (first load):   %u\n", static_cast<unsigned>(firstFiles));
    printf("files (from cache):   %u\n", static_cast<unsigned>(cachedFiles));
    printf("first load:           %.0f ms (parse every project, write the cache)\n", firstLoad * 1000);
    printf("load from fresh cache: %.0f ms\n", cachedLoad * 1000);
    printf("cache file:           %lld bytes (%.1f bytes per file)\n", static_cast<long long>(cacheSize.QuadPart),
           static_cast<double>(cacheSize.QuadPart) / static_cast<double>(firstFiles ? firstFiles : 1));
    removeTree(root);
    return firstFiles == cachedFiles && firstFiles == static_cast<size_t>(projects) * filesPerProject ? 0 : 1;
}
