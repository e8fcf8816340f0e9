// The solution reader on any bytes, in a copy of the sample solution so that project lines can
// name real project files: the load never fails for a solution file that exists, and the model it
// builds goes through the cache file and comes back the same.

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
        return scratch().path("Game\\Game.sln");
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
    require(solution.load(), "a solution file that exists loads");
    requireCacheRoundTrip(solution);
    return 0;
}
