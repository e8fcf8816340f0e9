#include "solution/folder_walker.h"

#include "solution/cache_file.h"
#include "solution/text.h"

#include <algorithm>

namespace {

// Paths the model holds stay below the platform's path limit (the cache reader refuses longer
// ones), so the walk makes none that long.
constexpr size_t PATH_LIMIT = 260;

bool listsBefore(const DirectoryEntry& a, const DirectoryEntry& b)
{
    int order = compareIgnoringCase(a.name, b.name);
    return order != 0 ? order < 0 : a.name < b.name;
}

bool anyMatches(const std::vector<PathPattern>& patterns, const std::vector<std::string_view>& path)
{
    return std::any_of(patterns.begin(), patterns.end(), [&](const PathPattern& p) { return p.matches(path); });
}

bool anyCovers(const std::vector<PathPattern>& patterns, const std::vector<std::string_view>& folder)
{
    return std::any_of(patterns.begin(), patterns.end(), [&](const PathPattern& p) { return p.coversFolder(folder); });
}

}  // namespace

// One expansion: the pattern, split once, and the components of the path being looked at.
struct FolderWalker::Walk {
    std::vector<std::string_view> parts;  // the pattern's components
    size_t base = 0;                      // components before the first wildcard
    size_t firstRecursive = 0;            // index of the first "**" below base, or parts.size()
    PathPattern pattern;
    const std::vector<PathPattern>& excludes;
    std::vector<std::string>& files;
    size_t limit;
    std::vector<std::string_view> components;
    std::vector<FolderIdentity> ancestors;  // of the folder being walked, itself included

    Walk(const std::string& text, const std::vector<PathPattern>& excludes, std::vector<std::string>& files,
         size_t limit)
        : parts(splitPath(text)), pattern(text), excludes(excludes), files(files), limit(limit)
    {
        while (base < parts.size() && !hasWildcard(parts[base]))
            ++base;
        firstRecursive = base;
        while (firstRecursive < parts.size() && parts[firstRecursive] != "**")
            ++firstRecursive;
        components.assign(parts.begin(), parts.begin() + base);
    }

    // Whether a folder named name, depth levels below the start, can hold a match.
    bool mayEnter(size_t depth, std::string_view name) const
    {
        size_t index = base + depth;
        if (index >= firstRecursive && firstRecursive < parts.size())
            return true;
        return index + 1 < parts.size() && matchesWildcard(parts[index], name);
    }
};

void FolderWalker::expand(const std::string& pattern, const std::vector<PathPattern>& excludes,
                          std::vector<std::string>& files, size_t limit)
{
    Walk walk(pattern, excludes, files, limit);
    if (walk.base == 0 || walk.base == walk.parts.size())
        return;  // no folder to start from, or no wildcard
    std::string start(pattern, 0, static_cast<size_t>(walk.parts[walk.base - 1].end() - pattern.data()));
    if (!start.empty())
        walkFolder(walk, start, 0);
}

void FolderWalker::walkFolder(Walk& walk, const std::string& folder, size_t depth)
{
    // A link back to a folder being walked (a junction, a symbolic link) would repeat it without
    // end: such a folder is not walked again.
    FolderIdentity identity;
    bool known = folderIdentity(folder, identity);
    if (known && std::find(walk.ancestors.begin(), walk.ancestors.end(), identity) != walk.ancestors.end())
        return;
    if (known)
        walk.ancestors.push_back(identity);

    const std::vector<DirectoryEntry>& entries = listing(folder);
    for (const DirectoryEntry& entry : entries) {
        if (entry.isDirectory || walk.files.size() >= walk.limit || folder.size() + 1 + entry.name.size() >= PATH_LIMIT ||
            isCacheFileName(entry.name))
            continue;
        walk.components.push_back(entry.name);
        if (walk.pattern.matches(walk.components) && !anyMatches(walk.excludes, walk.components))
            walk.files.push_back(folder + "\\" + entry.name);
        walk.components.pop_back();
    }
    for (const DirectoryEntry& entry : entries) {
        if (!entry.isDirectory || !walk.mayEnter(depth, entry.name) ||
            folder.size() + 1 + entry.name.size() >= PATH_LIMIT)
            continue;
        walk.components.push_back(entry.name);
        if (!anyCovers(walk.excludes, walk.components))
            walkFolder(walk, folder + "\\" + entry.name, depth + 1);
        walk.components.pop_back();
    }
    if (known)
        walk.ancestors.pop_back();
}

const std::vector<DirectoryEntry>& FolderWalker::listing(const std::string& folder)
{
    auto found = listings_.emplace(lowerCase(folder), std::vector<DirectoryEntry>());
    std::vector<DirectoryEntry>& entries = found.first->second;
    if (!found.second)
        return entries;
    if (budget_.foldersLeft == 0) {
        budget_.ranOut = true;
        return entries;
    }
    --budget_.foldersLeft;
    watched_.push_back(watchNow(folder));
    if (!listDirectory(folder, entries))
        entries.clear();
    std::sort(entries.begin(), entries.end(), listsBefore);
    if (entries.size() > budget_.entriesLeft) {
        entries.resize(budget_.entriesLeft);
        budget_.ranOut = true;
    }
    budget_.entriesLeft -= static_cast<uint32_t>(entries.size());
    return entries;
}
