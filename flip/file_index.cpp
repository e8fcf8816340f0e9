#include "flip/file_index.h"

#include "flip/name_sort.h"
#include "solution/path.h"
#include "solution/solution.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <numeric>
#include <string_view>
#include <unordered_map>

namespace {

bool isSlash(char c)
{
    return c == '\\' || c == '/';
}

bool isSeparator(char c)
{
    return isSlash(c) || c == ':';
}

bool isHighByte(char c)
{
    return static_cast<unsigned char>(c) >= 0x80;
}

// Where the shell's PathFindFileNameA puts the file-name part of the file's path when that lies
// in its rest: after the last separator ("\", "/" or ":") that is followed by neither a slash nor
// the end. Null when it lies further back, and when a byte above 127 could be the lead byte of a
// double-byte character, whose trail byte the shell never takes for a separator.
const char* nameInRest(const FileList& list, size_t file)
{
    const char* rest = list.rest(file);
    size_t length = list.restLength(file);
    const char* name = nullptr;
    for (size_t i = 0; i < length; ++i) {
        if (isHighByte(rest[i]))
            return nullptr;
        if (i + 1 < length && isSeparator(rest[i]) && !isSlash(rest[i + 1]))
            name = rest + i + 1;
    }
    if (name)
        return name;
    const std::string& directory = list.directoryOf(file);
    if (directory.empty())
        return rest;  // the rest is the whole path
    // A backslash stands before the rest: the joining one, or the directory's own last byte.
    bool plainEnd = !isHighByte(directory.back()) && (directory.size() < 2 || !isHighByte(directory[directory.size() - 2]));
    return length > 0 && !isSlash(rest[0]) && plainEnd ? rest : nullptr;
}

}  // namespace

void FileIndex::build(const Solution& solution)
{
    // Depth first with a stack of its own rather than recursion: however deep the references
    // of a project file go, the walk needs no more than its own memory.
    std::vector<const Project*> pending;
    for (auto project = solution.projects.rbegin(); project != solution.projects.rend(); ++project)
        pending.push_back(project->get());
    uint32_t total = 0;
    while (!pending.empty()) {
        const Project* project = pending.back();
        pending.pop_back();
        if (!project->files.empty()) {
            lists_.push_back({&project->files, total});
            total += static_cast<uint32_t>(project->files.size());
        }
        for (auto reference = project->references.rbegin(); reference != project->references.rend(); ++reference)
            pending.push_back(reference->get());
    }

    std::vector<const char*> names(total);
    std::deque<std::string> spareNames;  // names that don't lie in their rest
    std::vector<uint32_t> directories(total);
    collectNames(names, spareNames, directories);

    std::vector<uint32_t> ids(total);
    std::iota(ids.begin(), ids.end(), 0);
    std::vector<NameRun> equalNames = sortByName(ids, names);
    dropRepeatedPaths(ids, equalNames, directories);
    directories = std::vector<uint32_t>();

    size_t textSize = 1;
    for (uint32_t id : ids)
        textSize += strlen(names[id]) + 1;
    names_.clear();
    names_.reserve(textSize);
    nameStarts_.reserve(ids.size() + 1);
    for (uint32_t id : ids) {
        for (const char* byte = names[id]; *byte; ++byte)
            names_.push_back(static_cast<char>(foldCase(static_cast<unsigned char>(*byte))));
        names_.push_back('\0');
        nameStarts_.push_back(static_cast<uint32_t>(names_.size()));
    }
    names_.push_back('\0');
    fileOfEntry_ = std::move(ids);
}

void FileIndex::collectNames(std::vector<const char*>& names, std::deque<std::string>& spareNames,
                             std::vector<uint32_t>& directories) const
{
    // Each distinct directory text gets one number, whichever lists hold it.
    std::unordered_map<std::string_view, uint32_t> numbers;
    uint32_t walk = 0;
    for (const ListStart& start : lists_) {
        const FileList& list = *start.list;
        std::vector<uint32_t> numberOf;
        for (const std::string& directory : list.directories())
            numberOf.push_back(numbers.emplace(directory, static_cast<uint32_t>(numbers.size())).first->second);
        for (size_t file = 0; file < list.size(); ++file, ++walk) {
            names[walk] = nameInRest(list, file);
            if (!names[walk]) {
                spareNames.push_back(findFileName(list.path(file)));
                names[walk] = spareNames.back().c_str();
            }
            directories[walk] = numberOf[list.directoryIndex(file)];
        }
    }
}

void FileIndex::dropRepeatedPaths(std::vector<uint32_t>& ids, const std::vector<NameRun>& equalNames,
                                  const std::vector<uint32_t>& directories) const
{
    // Two files have the same path exactly when they have the same directory and rest, and then
    // the same name: a repeated path sits among the equal names, under one directory number.
    std::vector<bool> repeated(ids.size());
    std::vector<uint32_t> run;
    for (const NameRun& equal : equalNames) {
        run.assign(ids.begin() + equal.first, ids.begin() + equal.second);
        std::sort(run.begin(), run.end(), [&directories](uint32_t a, uint32_t b) {
            return directories[a] != directories[b] ? directories[a] < directories[b] : a < b;
        });
        for (size_t i = 1; i < run.size(); ++i) {
            for (size_t earlier = i; earlier-- > 0 && directories[run[earlier]] == directories[run[i]];) {
                if (!repeated[run[earlier]] && strcmp(rest(run[earlier]), rest(run[i])) == 0) {
                    repeated[run[i]] = true;
                    break;
                }
            }
        }
    }
    ids.erase(std::remove_if(ids.begin(), ids.end(), [&repeated](uint32_t id) { return repeated[id]; }), ids.end());
}

const FileIndex::ListStart& FileIndex::listOf(uint32_t walk) const
{
    auto after = std::upper_bound(lists_.begin(), lists_.end(), walk,
                                  [](uint32_t file, const ListStart& start) { return file < start.firstFile; });
    return *(after - 1);
}

const char* FileIndex::rest(uint32_t walk) const
{
    const ListStart& start = listOf(walk);
    return start.list->rest(walk - start.firstFile);
}

std::string FileIndex::path(int32_t position) const
{
    uint32_t walk = fileOfEntry_[static_cast<size_t>(position)];
    const ListStart& start = listOf(walk);
    return start.list->path(walk - start.firstFile);
}

std::string FileIndex::name(int32_t position) const
{
    std::string full = path(position);
    size_t length = nameStarts_[static_cast<size_t>(position) + 1] - nameStarts_[static_cast<size_t>(position)] - 1;
    return full.substr(full.size() - length);
}
