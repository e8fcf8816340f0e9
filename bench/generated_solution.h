#ifndef QUORLAN_BENCH_GENERATED_SOLUTION_H
#define QUORLAN_BENCH_GENERATED_SOLUTION_H

// A solution made up for the benchmarks, in a temporary folder removed with it: a number of
// ".vcxproj" projects of a number of files each, with names like those of a large code base (a
// few words, a number, an extension) in a few dozen folders per project, and two files that every
// project shares. Every file is dated a minute back, so a cache written now is fresh.

#include "tests/support/temp_dir.h"

#include <cstdint>
#include <string>

struct GeneratedSolution {
    GeneratedSolution(int projects, int filesPerProject);

    TempDir folder;
    std::string solutionPath;
    int64_t projectBytes = 0;  // the size of every project file together
};

#endif
