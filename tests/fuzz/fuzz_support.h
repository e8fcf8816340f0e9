#ifndef QUORLAN_TESTS_FUZZ_FUZZ_SUPPORT_H
#define QUORLAN_TESTS_FUZZ_FUZZ_SUPPORT_H

// What the fuzz targets share: a scratch folder for the files an input becomes, and the check
// that whatever model a reader builds goes through the cache file and comes back the same.
//
// A failed check aborts, which libFuzzer reports like a crash, with the input that caused it.

#include "solution/solution.h"
#include "tests/support/temp_dir.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The folder of this process's files, removed at exit.
const TempDir& scratch();

// The input's bytes as a string.
std::string bytesOf(const uint8_t* data, size_t size);

// Stops the run, naming the broken expectation, when condition is false.
void require(bool condition, const char* expectation);

// Writes the solution's model to a cache file of scratch's (its own cache file untouched), reads
// it back into a new solution and requires the same model and window state (file paths
// lower-cased, as the reader gives them).
void requireCacheRoundTrip(Solution& solution);

#endif
