// A solution reader (chosen by SOLUTION_EXTENSION) on any bytes, in a copy of the sample solution
// so that project lines can name real project files: the load ends, whatever the file holds, and
// the model it builds goes through the cache file and comes back the same. A ".sln" file that
// exists always loads; an XML solution that isn't well-formed is refused.

#include "solution/file_system.h"
#include "solution/solution.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/solution/solution_files.h"

#include <cstdlib>

namespace {

// Copies examples/Game into the scratch folder once; returns its Game.sln path.
std::string sampleSolution()
{
    static std::string path = [] {
        for (const char* file : {"Engine\\Engine.vcxproj", "Game\\Game.vcxproj", "Editor\\Editor.csproj"})
            scratch().write(std::string("Game\\") + file, readFile(QUORLAN_SAMPLE_DIR "\\" + std::string(file)));
        return scratch().path(std::string("Game\\Game") + SOLUTION_EXTENSION);
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string solutionPath = sampleSolution();
    writeFile(solutionPath, bytesOf(data, size));
    deleteFile(solutionPath + ".qlcache");
    Solution solution(solutionPath);
    bool loaded = solution.load();
    require(loaded || std::string(SOLUTION_EXTENSION) != ".sln", "a solution file that exists loads");
    if (loaded)
        requireCacheRoundTrip(solution);
    return 0;
}
