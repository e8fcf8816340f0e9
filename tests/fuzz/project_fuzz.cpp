// One project reader (chosen by PROJECT_EXTENSION) on any bytes: the load ends, whatever the
// file holds, and the project it builds goes through the cache file and comes back the same.

#include "solution/project.h"
#include "solution/solution.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string name = std::string("p") + PROJECT_EXTENSION;
    writeFile(scratch().path(name), bytesOf(data, size));
    Solution solution(scratch().path("A.sln"));
    solution.projects.push_back(std::make_unique<Project>(scratch().path(), name));
    LoadContext context;
    solution.projects[0]->load(false, 0, context);
    requireCacheRoundTrip(solution);
    return 0;
}
