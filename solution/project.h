#ifndef QUORLAN_SOLUTION_PROJECT_H
#define QUORLAN_SOLUTION_PROJECT_H

// One project file reached from a solution: its path, the full paths of its files, and the
// projects it references, which it owns.
//
// The same project file may be represented by several Project objects (listed twice, both
// top-level and referenced, referenced by two projects); each holds its own copy of the file's
// contents (the file itself is read once per load) and is cached on its own, and duplicate file
// paths are never removed here: consumers de-duplicate or stop at the first match.
//
// Walk order, for every consumer that visits all files: a project's own files in order, then
// each of its references in order, walked the same way.

#include "solution/file_list.h"
#include "solution/folder_walker.h"
#include "solution/model_cuts.h"
#include "solution/msbuild_project.h"
#include "solution/watch_list.h"
#include "solution/xml_workspace.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CacheReader;
class CacheWriter;

// Deepest nesting of projects in the model: a top-level project is at depth 1, its references at
// depth 2. A project at this depth gets no references, and the cache reader refuses anything
// deeper, so every model the loader builds can be cached and read back.
constexpr size_t MAX_REFERENCE_DEPTH = 256;

// Most Project objects and most file paths one model may hold. References are expanded as a
// tree, so a few small project files that each reference the next one twice would otherwise ask
// for millions of projects; the largest real solutions stay far below both (a few thousand
// projects, a million files or so). Eight million files of ordinary paths, with the open-file
// window's index over them, take well under a gigabyte: the 32-bit process holds them.
//
// When a load reaches either limit, the model is cut there, silently: solution lines, reference
// items and file items beyond it are skipped. The cache reader counts the same things against the
// same limits, so the cut model is cached and read back like any other.
constexpr uint32_t MAX_MODEL_PROJECTS = 100000;
constexpr uint32_t MAX_MODEL_FILES = 8000000;

// What is left of the limits above while a model is loaded or read from the cache.
struct ModelBudget {
    uint32_t projectsLeft = MAX_MODEL_PROJECTS;
    uint32_t filesLeft = MAX_MODEL_FILES;
};

// Takes up to wanted from left and returns how many it took.
size_t takeUpTo(uint32_t& left, size_t wanted);

// What one reading of a project file gave: full paths of its files and of the project files it
// references, in item order. read is false when the file couldn't be read or parsed; recognised
// is false when a file whose extension names no known kind proved no MSBuild project file.
struct ProjectContents {
    bool read = false;
    bool recognised = true;
    FileList files;
    // The list of the first Project of the file, which took files: every later one copies it.
    const FileList* filesTakenBy = nullptr;
    std::vector<std::string> references;
    WatchList watched;  // what the files depend on besides the project file (watch_list.h)
    ModelCuts cuts = 0;  // what a bound left out of this reading (model_cuts.h)
};

// What the project loads of one solution load share.
struct LoadContext {
    // The projects being loaded, top-level first: a reference to any of them is a cycle.
    std::vector<std::string> chain;
    // Counts every Project created and every file path taken into the model.
    ModelBudget budget;
    // Each project file read so far, by its lower-cased path: a file that many projects reference
    // is parsed once per load and copied into each of them.
    std::unordered_map<std::string, ProjectContents> parsed;
    // Whether each project file tested so far is not newer than the cache, by lower-cased path.
    std::unordered_map<std::string, bool> fresh;

    // The solution's folder, for $(SolutionDir) in item values; the cache file's folder too.
    std::string solutionDir;
    // Bounds every folder walk of wildcard items and SDK-style projects.
    WalkBudget walkBudget;
    // The watch lists the cache file holds, and those of the projects as this load leaves them.
    WatchTable cachedWatches;
    WatchTable watches;
    // What the bounds cut from each project file, as the cache file holds it and as this load
    // leaves it.
    CutTable cachedCuts;
    CutTable cuts;
    // The parser's document and the text buffer, reused by each project file read.
    XmlWorkspace xml;
    // The lists of items, reused by each MSBuild project file read.
    MsbuildWorkspace msbuild;
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
    // newer than cacheTime (seconds since 1970); otherwise the project file is read again, by its extension, and
    // its new references are read in full. An unreadable or malformed file leaves the project
    // empty (false, nothing reported); an unknown extension is reported. A reference to a project
    // already on context.chain is kept but never loaded, so reference cycles end. Whatever the
    // project keeps or takes is charged to context.budget, and cut where that runs out.
    bool load(bool useCacheTimes, int64_t cacheTime, LoadContext& context);

    // Writes the project's record (and its references' records) to the cache file.
    bool writeCache(CacheWriter& stream) const;

    // Reads a record written by writeCache into this empty project; file paths come back
    // lower-cased. False on a short, corrupt or too deeply nested record, or one beyond the
    // reader's budget.
    bool readCache(CacheReader& stream);

    std::string baseDir;  // what path was resolved against; "" for a project read from the cache
    std::string path;     // full path of the project file, never lower-cased
    FileList files;       // full paths of its files: files.paths() gives them as strings
    std::vector<std::unique_ptr<Project>> references;
};

#endif
