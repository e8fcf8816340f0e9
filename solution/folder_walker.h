#ifndef QUORLAN_SOLUTION_FOLDER_WALKER_H
#define QUORLAN_SOLUTION_FOLDER_WALKER_H

// Expands wildcard patterns (wildcard.h) against the disk, through file_system.h's listDirectory.
//
// Order: the files of a folder before those of its subfolders, and within a folder its entries in
// case-insensitive name order (ties, names that differ only in case, in byte order). That is the
// order MSBuild gives on NTFS, whose folders list in that order, and it does not depend on the
// order in which another file system happens to list a folder. The tool's own cache files, which
// sit beside the solution and so often in a project's folder, are never listed.
//
// The disk is untrusted, as project files are: a link that leads back up the tree (a junction, a
// symbolic link) would make a "**" walk endless. A folder whose identity (file_system.h) is that
// of a folder the walk is in is not entered again; links elsewhere are followed, as MSBuild does.
// And every walk is bounded: no path the walk makes reaches the platform's 260-byte path limit
// (the model holds none longer), and the folders and entries listed by all the walks of one load
// are counted against a WalkBudget; a walk that runs out stops where it is, silently, like the
// model's own limits (project.h).

#include "solution/file_system.h"
#include "solution/watch_list.h"
#include "solution/wildcard.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Most folders and folder entries the walks of one load list. A large source tree has some tens
// of thousands of folders; these bounds stay well above that, and a walk that hits them ends in
// seconds.
constexpr uint32_t MAX_WALK_FOLDERS = 200000;
constexpr uint32_t MAX_WALK_ENTRIES = 4000000;

// What is left of the bounds above while a load walks folders.
struct WalkBudget {
    uint32_t foldersLeft = MAX_WALK_FOLDERS;
    uint32_t entriesLeft = MAX_WALK_ENTRIES;
    bool ranOut = false;  // set when a walk found less than it would have: whoever reads it clears it
};

// The walks of one project file read. Each folder is listed once, however many patterns walk it.
class FolderWalker {
public:
    // Charges every listing to budget, which outlives the walker.
    explicit FolderWalker(WalkBudget& budget) : budget_(budget) {}

    // Appends to files the full path of every file that pattern matches and no exclude does, until
    // files holds limit paths. pattern is a full path with wildcards in some component; the walk
    // starts at the folder its components before the first wildcard name, and enters no folder
    // that an exclude covers (PathPattern::coversFolder): an exclude such as "bin\**" costs no
    // listing of bin.
    void expand(const std::string& pattern, const std::vector<PathPattern>& excludes, std::vector<std::string>& files,
                size_t limit);

    // Every folder listed so far, with its time when it was listed, in the order first listed.
    const WatchList& watched() const { return watched_; }

private:
    struct Walk;
    const std::vector<DirectoryEntry>& listing(const std::string& folder);
    void walkFolder(Walk& walk, const std::string& folder, size_t depth);

    WalkBudget& budget_;
    std::unordered_map<std::string, std::vector<DirectoryEntry>> listings_;  // by lower-cased folder
    WatchList watched_;
};

#endif
