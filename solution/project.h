#ifndef QUORLAN_SOLUTION_PROJECT_H
#define QUORLAN_SOLUTION_PROJECT_H

// One project file reached from a solution: its path, the full paths of its files, and the
// projects it references, which it owns.
//
// The same project file may be represented by several Project objects (listed twice, both
// top-level and referenced, referenced by two projects); each is loaded and cached on its own,
// and duplicate file paths are never removed here: consumers de-duplicate or stop at the first
// match.
//
// Walk order, for every consumer that visits all files: a project's own files in order, then
// each of its references in order, walked the same way.

#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CacheReader;
class CacheWriter;

// Deepest nesting of projects in the model: a top-level project is at depth 1, its references at
// depth 2. A project at this depth gets no references, and the cache reader refuses anything
// deeper, so every model the loader builds can be cached and read back.
constexpr size_t MAX_REFERENCE_DEPTH = 256;

// Most files and references one solution load may collect from project files, and the cache
// reader from the cache file. References are expanded as a tree, so a few small project files
// that each reference the next one twice would otherwise ask for billions of entries; two
// million paths (several times the largest real solutions) still fit a 32-bit process.
constexpr uint32_t MAX_MODEL_ENTRIES = 2000000;

// What the project loads of one solution load share.
struct LoadContext {
    // The projects being loaded, top-level first: a reference to any of them is a cycle.
    std::vector<std::string> chain;
    uint32_t entriesLeft = MAX_MODEL_ENTRIES;
};

class Project {
public:
    // An empty project (no path, no files, no references): what the cache reader fills in.
    Project();

    // A project whose file is pathText, joined to baseDir when it is relative, taken unchanged
    // when it is a full path. When the join fails (a result longer than the path limit), reports
    // it and keeps the project with an empty path, which then loads as an unrecognised type.
    Project(const std::string& baseDir, const std::string& pathText);

    // Empties files and destroys every reference.
    void clear();

    // The full path, as stored, of the first file in walk order whose file-name part equals name
    // without regard to ASCII case; "" when there is none. No prefix or pattern matching.
    std::string findFileByName(const std::string& name) const;

    // Brings the project up to date; true when it or any reference was read from its project file.
    // With useCacheTimes, contents that came from the cache stay when the project file is not
    // newer than cacheStat's time; otherwise the project file is read again, by its extension, and
    // its new references are read in full. An unreadable or malformed file leaves the project
    // empty (false, nothing reported); an unknown extension is reported. A reference to a project
    // already on context.chain is kept but never loaded, so reference cycles end.
    bool load(bool useCacheTimes, const struct _stat64i32& cacheStat, LoadContext& context);

    // Writes the project's record (and its references' records) to the cache file.
    bool writeCache(CacheWriter& stream) const;

    // Reads a record written by writeCache into this empty project; file paths come back
    // lower-cased. False on a short, corrupt or too deeply nested record.
    bool readCache(CacheReader& stream);

    std::string baseDir;  // what path was resolved against; "" for a project read from the cache
    std::string path;     // full path of the project file, never lower-cased
    std::vector<std::string> files;
    std::vector<std::unique_ptr<Project>> references;

private:
    bool readCacheRecord(CacheReader& stream);
};

#endif
