// The model's share of the open-file command, natively (tests/native builds it, with or without
// sanitizers): the first load, the load from the warm cache, the index build, a cache write and
// the filter pass, on a generated solution (bench/generated_solution.h). For profiling our own
// code apart from Wine's: run it under perf or callgrind (bench/README.md).
//
// Usage: model_bench projects files-per-project [rounds]
// Prints one line per figure and round: "name milliseconds".

#include "bench/generated_solution.h"
#include "flip/file_index.h"
#include "solution/solution.h"
#include "ui/name_filter.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

class Stopwatch {
public:
    double milliseconds() const
    {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_).count();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

void figure(const char* name, double value)
{
    printf("%s %.2f\n", name, value);
    fflush(stdout);
}

const char* const QUERIES[] = {"m", "e", ".", "mesh", "scene", "zq", "zzzz", "_scene12", "mesh_scene12.cpp"};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: model_bench projects files-per-project [rounds]\n");
        return 2;
    }
    int rounds = argc > 3 ? atoi(argv[3]) : 3;
    GeneratedSolution generated(atoi(argv[1]), atoi(argv[2]));
    {
        Stopwatch first;
        Solution solution(generated.solutionPath);
        solution.load();
        figure("first_load_ms", first.milliseconds());
    }
    for (int round = 0; round < rounds; ++round) {
        Solution solution(generated.solutionPath);
        Stopwatch load;
        solution.load();
        figure("cache_load_ms", load.milliseconds());
        FileIndex index;
        Stopwatch build;
        index.build(solution);
        figure("index_build_ms", build.milliseconds());
        Stopwatch write;
        solution.writeCache();
        figure("cache_write_ms", write.milliseconds());
        MatchList matches;
        double slowest = 0;
        for (const char* query : QUERIES) {
            Stopwatch pass;
            findMatches(index, query, matches);
            slowest = std::max(slowest, pass.milliseconds());
        }
        figure("filter_pass_max_ms", slowest);
        figure("files", index.size());
    }
    return 0;
}
