#include "tests/fuzz/fuzz_support.h"

#include "solution/file_system.h"
#include "tests/solution/solution_files.h"

#include <cstdio>
#include <cstdlib>

const TempDir& scratch()
{
    static TempDir dir;
    return dir;
}

std::string bytesOf(const uint8_t* data, size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

void require(bool condition, const char* expectation)
{
    if (!condition) {
        fprintf(stderr, "broken: %s\n", expectation);
        abort();
    }
}

void requireCacheRoundTrip(Solution& solution)
{
    std::string cachePath = scratch().path("check.qlcache");
    std::string ownCachePath = solution.cachePath;
    solution.cachePath = cachePath;
    bool written = solution.writeCache();
    solution.cachePath = ownCachePath;
    require(written, "every model a reader builds can be cached");

    Solution read(solution.solutionPath);
    read.cachePath = cachePath;
    require(read.readCache(), "every cache file written reads back");
    require(walkLines(read) == walkLines(solution, true), "the cache gives back the model");
    require(read.lastFilter == solution.lastFilter && read.lastSelection == solution.lastSelection,
            "the cache gives back the window's state");
    deleteFile(cachePath);
}
