#include "flip/file_index.h"

#include "flip/name_sort.h"
#include "solution/path.h"
#include "solution/solution.h"
#include "solution/text.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <numeric>
#include <string_view>
#include <unordered_map>

namespace {

// How many names ahead the gathering of sorted names asks the processor to fetch.
constexpr size_t GATHER_PREFETCH = 8;

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
// The bytes that make a rest's file-name part need a closer look: separators and high bytes.
struct SpecialBytes {
    bool special[256] = {};
    constexpr SpecialBytes()
    {
        for (int byte = 0x80; byte < 0x100; ++byte)
            special[byte] = true;
        special[static_cast<unsigned char>('\\')] = special[static_cast<unsigned char>('/')] = true;
        special[static_cast<unsigned char>(':')] = true;
    }
};
constexpr SpecialBytes SPECIAL_BYTES;

const char* nameInRest(const FileList& list, size_t file)
{
    const char* rest = list.rest(file);
    size_t length = list.restLength(file);
    // Most rests hold none: then the name is the whole rest, if the byte before it separates.
    size_t plain = 0;
    while (plain < length && !SPECIAL_BYTES.special[static_cast<unsigned char>(rest[plain])])
        ++plain;
    const char* name = nullptr;
    for (size_t i = plain; i < length; ++i) {
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

// The folded names of every file, moved into buckets by their first byte. Sorting, finding
// repeated paths and gathering the block then read one bucket at a time, which the processor's
// cache holds, rather than the whole model in sorted order, which it doesn't.
struct FileIndex::StagedNames {
    std::vector<char> text;        // each bucket's names, each ending in a NUL, in walk order
    std::vector<uint32_t> starts;  // where each staged name starts in text
    std::vector<uint32_t> walks;   // the walk number of each staged name's file
    std::vector<uint32_t> directories;  // by walk number: a number per distinct directory text
    uint32_t bucketStarts[257] = {};    // bucket b holds the staged names [bucketStarts[b], bucketStarts[b + 1])
    size_t bucketTextStarts[257] = {};  // and the bytes [bucketTextStarts[b], bucketTextStarts[b + 1]) of text
};

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

    StagedNames staged;
    stageNames(total, staged);
    nameStarts_.reserve(total + 1);
    fileOfEntry_.reserve(total);
    // The sorted names are written back over the staged ones, bucket after bucket, from a copy of
    // the bucket: repeated paths only take bytes away, so writing never overtakes reading, and the
    // index needs no second block of every name.
    char* out = staged.text.data();
    std::vector<char> bucketText;
    std::vector<const char*> names;
    std::vector<uint32_t> order;
    for (int bucket = 0; bucket < 256; ++bucket) {
        uint32_t first = staged.bucketStarts[bucket];
        uint32_t count = staged.bucketStarts[bucket + 1] - first;
        size_t textStart = staged.bucketTextStarts[bucket];
        bucketText.assign(staged.text.begin() + textStart, staged.text.begin() + staged.bucketTextStarts[bucket + 1]);
        names.resize(count);
        order.resize(count);
        for (uint32_t i = 0; i < count; ++i) {
            names[i] = bucketText.data() + (staged.starts[first + i] - textStart);
            order[i] = i;
        }
        std::vector<NameRun> equalNames = sortByName(order, names);
        dropRepeatedPaths(order, equalNames, staged.walks.data() + first, staged.directories);
        for (size_t k = 0; k < order.size(); ++k) {
            uint32_t i = order[k];
            if (k + GATHER_PREFETCH < order.size())
                __builtin_prefetch(names[order[k + GATHER_PREFETCH]]);
            for (const char* byte = names[i]; (*out++ = *byte) != '\0'; ++byte) {
            }
            nameStarts_.push_back(static_cast<uint32_t>(out - staged.text.data()));
            fileOfEntry_.push_back(staged.walks[first + i]);
        }
    }
    *out++ = '\0';
    staged.text.resize(static_cast<size_t>(out - staged.text.data()));
    names_ = std::move(staged.text);
}

void FileIndex::stageNames(uint32_t total, StagedNames& staged) const
{
    struct Name {
        const char* text;
        uint32_t length;
    };
    std::vector<Name> names(total);
    std::deque<std::string> spareNames;  // names that don't lie in their rest
    staged.directories.resize(total);
    // Each distinct directory text gets one number, whichever lists hold it.
    std::unordered_map<std::string_view, uint32_t> numbers;
    size_t bytes[256] = {};
    uint32_t walk = 0;
    for (const ListStart& start : lists_) {
        const FileList& list = *start.list;
        std::vector<uint32_t> numberOf;
        for (const std::string& directory : list.directories())
            numberOf.push_back(numbers.emplace(directory, static_cast<uint32_t>(numbers.size())).first->second);
        for (size_t file = 0; file < list.size(); ++file, ++walk) {
            const char* text = nameInRest(list, file);
            if (text) {
                names[walk] = {text, static_cast<uint32_t>(list.rest(file) + list.restLength(file) - text)};
            } else {
                spareNames.push_back(findFileName(list.path(file)));
                names[walk] = {spareNames.back().c_str(), static_cast<uint32_t>(spareNames.back().size())};
            }
            unsigned char bucket = foldCase(static_cast<unsigned char>(*names[walk].text));
            ++staged.bucketStarts[bucket + 1];
            bytes[bucket] += names[walk].length + 1;
            staged.directories[walk] = numberOf[list.directoryIndex(file)];
        }
    }

    for (int bucket = 0; bucket < 256; ++bucket) {
        staged.bucketStarts[bucket + 1] += staged.bucketStarts[bucket];
        staged.bucketTextStarts[bucket + 1] = staged.bucketTextStarts[bucket] + bytes[bucket];
    }
    uint32_t next[256];
    std::copy(staged.bucketStarts, staged.bucketStarts + 256, next);
    size_t textStarts[256];
    std::copy(staged.bucketTextStarts, staged.bucketTextStarts + 256, textStarts);
    // One byte more for the NUL that ends the index's block.
    staged.text.resize(staged.bucketTextStarts[256] + 1);
    staged.starts.resize(total);
    staged.walks.resize(total);
    for (walk = 0; walk < total; ++walk) {
        const Name& name = names[walk];
        unsigned char bucket = foldCase(static_cast<unsigned char>(*name.text));
        uint32_t entry = next[bucket]++;
        staged.starts[entry] = static_cast<uint32_t>(textStarts[bucket]);
        staged.walks[entry] = walk;
        char* out = staged.text.data() + textStarts[bucket];
        for (uint32_t i = 0; i < name.length; ++i)
            out[i] = static_cast<char>(foldCase(static_cast<unsigned char>(name.text[i])));
        out[name.length] = '\0';
        textStarts[bucket] += name.length + 1;
    }
}

void FileIndex::dropRepeatedPaths(std::vector<uint32_t>& order, const std::vector<NameRun>& equalNames,
                                  const uint32_t* walks, const std::vector<uint32_t>& directories) const
{
    // Two files have the same path exactly when they have the same directory and rest, and then
    // the same name: a repeated path sits among the equal names, under one directory number.
    std::vector<uint32_t> run;  // walk numbers
    std::vector<uint32_t> repeated;
    for (const NameRun& equal : equalNames) {
        run.clear();
        for (uint32_t i = equal.first; i < equal.second; ++i)
            run.push_back(walks[order[i]]);
        std::sort(run.begin(), run.end(), [&directories](uint32_t a, uint32_t b) {
            return directories[a] != directories[b] ? directories[a] < directories[b] : a < b;
        });
        for (size_t i = 1; i < run.size(); ++i) {
            for (size_t earlier = i; earlier-- > 0 && directories[run[earlier]] == directories[run[i]];) {
                if (strcmp(rest(run[earlier]), rest(run[i])) == 0) {
                    repeated.push_back(run[i]);
                    break;
                }
            }
        }
    }
    if (repeated.empty())
        return;
    std::sort(repeated.begin(), repeated.end());
    order.erase(std::remove_if(order.begin(), order.end(),
                               [&](uint32_t i) { return std::binary_search(repeated.begin(), repeated.end(), walks[i]); }),
                order.end());
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
