// The cache reader on any bytes: it fails cleanly, or what it read goes through the writer and
// comes back the same.

#include "solution/cache_file.h"
#include "solution/solution.h"
#include "tests/fuzz/fuzz_support.h"

#include <cstring>

namespace {

// The solution path the bytes store, so that the reader goes on to the projects: a cache file
// written for another path is stale, and the fuzzer would seldom guess the one it is read for.
std::string storedSolutionPath(const std::string& bytes)
{
    auto integerAt = [&](size_t offset, int32_t& value) {
        if (offset + 4 > bytes.size())
            return false;
        memcpy(&value, bytes.data() + offset, 4);  // little-endian, as the file
        return true;
    };
    int32_t filterLength, pathLength;
    size_t offset = 4 + REVISION_SIZE;
    if (!integerAt(offset, filterLength) || filterLength < 0 || static_cast<size_t>(filterLength) > bytes.size())
        return "";
    offset += 4 + static_cast<size_t>(filterLength) + 4;
    if (!integerAt(offset, pathLength) || pathLength < 0 || offset + 4 + static_cast<size_t>(pathLength) > bytes.size())
        return "";
    return std::string(bytes.c_str() + offset + 4, strnlen(bytes.data() + offset + 4, static_cast<size_t>(pathLength)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string bytes = bytesOf(data, size);
    std::string cachePath = scratch().path("A.sln.qlcache");
    writeFile(cachePath, bytes);
    Solution solution(storedSolutionPath(bytes));
    solution.cachePath = cachePath;
    if (solution.readCache())
        requireCacheRoundTrip(solution);
    return 0;
}
