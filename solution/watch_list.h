#ifndef QUORLAN_SOLUTION_WATCH_LIST_H
#define QUORLAN_SOLUTION_WATCH_LIST_H

// What a project's file list depends on besides its own project file: the folders its wildcard
// items listed and the files it imported, each with the modification time seen when it was read.
//
// A folder's time changes whenever an entry is added to it, removed or renamed, so a project
// whose watched paths all still carry their recorded times lists the same files as when it was
// read; checking that costs one stat per watched path and lists no folder. Writing the cache
// changes the time of its own folder, which is often a project's: there a time not later than the
// cache file's counts as unchanged too, as for project files.
//
// The lists are kept in the cache file, after the project records, in a section (cache_file.h)
// that is written only when some project has a list: the cache of a solution that uses no wildcard, no import and
// no SDK-style project is the same, byte for byte, as without it. Layout (cache_file.h's integers
// and strings):
//
//   marker             WATCH_SECTION_MARKER
//   P                  integer, then P times:
//     project          string: the project file's lower-cased path
//     W                integer, then W times:
//       path           string
//       time           two integers, the low then the high 32 bits of the time (seconds since
//                      1970), or of MISSING_TIME for a path that did not exist

#include <cstdint>
#include <limits>
#include <string>
#include <unordered_map>
#include <vector>

class CacheReader;
class CacheWriter;

// The time recorded for a path that could not be stat'ed.
constexpr int64_t MISSING_TIME = std::numeric_limits<int64_t>::min();

constexpr int32_t WATCH_SECTION_MARKER = 0x57434C51;  // "QLCW"

struct WatchedPath {
    std::string path;
    int64_t modificationTime = MISSING_TIME;
};

using WatchList = std::vector<WatchedPath>;

// The path with its modification time now (MISSING_TIME when it can't be stat'ed).
WatchedPath watchNow(const std::string& path);

// Every path of the list still exists or is still missing, and has the time recorded for it; the
// cache file's folder, cacheFolder, may also have one not later than cacheTime (the cache file's).
bool watchListUnchanged(const WatchList& list, const std::string& cacheFolder, int64_t cacheTime);

// The watch lists of a solution's projects, by the lower-cased path of the project file.
struct WatchTable {
    std::unordered_map<std::string, WatchList> lists;

    // Writes the section, or nothing at all when no project has a list.
    bool write(CacheWriter& stream) const;
    // Reads the section's body, which follows its marker. False on a short or corrupt section.
    bool readBody(CacheReader& stream);
};

#endif
