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

#include <memory>
#include <string>
#include <vector>

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

    std::string baseDir;  // what path was resolved against; "" for a project read from the cache
    std::string path;     // full path of the project file, never lower-cased
    std::vector<std::string> files;
    std::vector<std::unique_ptr<Project>> references;
};

#endif
