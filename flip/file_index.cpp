#include "flip/file_index.h"

#include "flip/name_kinds.h"
#include "flip/name_sort.h"
#include "solution/path.h"
#include "solution/solution.h"
#include "solution/text.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <string_view>
#include <unordered_map>

namespace {

// How many names ahead the gathering of sorted names asks the processor to fetch.
constexpr size_t GATHER_PREFETCH = 8;

// In the sorted order of a bucket, in place of a name whose path an earlier file has.
constexpr uint32_t REPEATED = UINT32_MAX;

// Names are staged in buckets by their first two bytes: a bucket of a million files' names is
// small enough for the processor's nearer caches.
constexpr uint32_t BUCKETS = 1u << 16;

// A name's bucket: its first two bytes, folded, a zero byte standing past the end of a shorter name.
uint32_t bucketOf(const char* name, uint32_t length)
{
    uint32_t first = length > 0 ? foldCase(static_cast<unsigned char>(name[0])) : 0;
    uint32_t second = length > 1 ? foldCase(static_cast<unsigned char>(name[1])) : 0;
    return first << 8 | second;
}

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

// What a file's directory tells of where its name may start.
enum class DirectoryEnd : uint8_t {
    none,        // no directory: the rest is the whole path
    plain,       // a backslash before the rest separates
    doubleByte,  // one of its last two bytes may lead a double-byte character, the backslash its trail
};

DirectoryEnd directoryEnd(const std::string& directory)
{
    if (directory.empty())
        return DirectoryEnd::none;
    bool plain = !isHighByte(directory.back()) &&
                 (directory.size() < 2 || !isHighByte(directory[directory.size() - 2]));
    return plain ? DirectoryEnd::plain : DirectoryEnd::doubleByte;
}

// Where the shell's PathFindFileNameA puts the file-name part of the file's path when that lies
// in its rest: after the last separator ("\", "/" or ":") that is followed by neither a slash nor
// the end. Null when it lies further back, and when a byte above 127 could be the lead byte of a
// double-byte character, whose trail byte the shell never takes for a separator. end is what the
// file's directory tells, found once per directory rather than once per file.
const char* nameInRest(const FileList& list, size_t file, DirectoryEnd end)
{
    const char* rest = list.rest(file);
    size_t length = list.restLength(file);
    // Most rests hold none: then the name is the whole rest, if the byte before it separates.
    size_t plain = plainSpan(rest, length, '\\', '/', ':');
    const char* name = nullptr;
    for (size_t i = plain; i < length; ++i) {
        if (isHighByte(rest[i]))
            return nullptr;
        if (i + 1 < length && isSeparator(rest[i]) && !isSlash(rest[i + 1]))
            name = rest + i + 1;
    }
    if (name)
        return name;
    if (end == DirectoryEnd::none)
        return rest;
    // A backslash stands before the rest: the joining one, or the directory's own last byte.
    return length > 0 && !isSlash(rest[0]) && end == DirectoryEnd::plain ? rest : nullptr;
}

}  // namespace

// The folded names of every file, moved into buckets by their first two bytes. Sorting, finding
// repeated paths and gathering the block then read one bucket at a time, which the processor's
// cache holds, rather than the whole model in sorted order, which it doesn't. Everything but the
// bucket bounds is in staged order: bucket by bucket, walk order within a bucket.
struct FileIndex::StagedNames {
    // Sized up front and filled entry by entry: blocks that don't zero what they add first.
    ByteBlock text;                          // each name, folded, ending in a NUL
    UninitializedVector<uint32_t> starts;    // where each name starts in text; one more, for the end
    UninitializedVector<uint32_t> walks;     // the walk number of each name's file
    // The number of each name's directory text, one per distinct text whichever lists hold it:
    // read beside the bucket's names when looking for repeated paths, where looking it up from
    // the file would reach into the model's lists all over memory.
    UninitializedVector<uint32_t> directories;
    // Bucket b holds the names [bucketStarts[b], bucketStarts[b + 1]).
    std::vector<uint32_t> bucketStarts = std::vector<uint32_t>(BUCKETS + 1);
};

void FileIndex::build(const Solution& solution)
{
    uint32_t total = collectLists(solution);
    StagedNames staged;
    stageNames(total, staged);
    // The sorted entries are written back over the staged ones, bucket after bucket, from a copy
    // of the bucket: repeated paths only take entries away, so writing never overtakes reading, and
    // the index takes no second block of every name, start or walk number: fresh pages cost half a
    // millisecond a megabyte to be given, and a million files' blocks are tens of megabytes.
    char* out = staged.text.data();
    uint32_t* outStarts = staged.starts.data() + 1;  // the first name starts at 0 in either order
    uint32_t* outWalks = staged.walks.data();
    nameKinds_.resize(total);
    uint32_t* outKinds = nameKinds_.data();
    std::vector<char> bucketText;
    std::vector<uint32_t> starts;
    std::vector<uint32_t> walks;
    std::vector<const char*> names;
    std::vector<uint32_t> order;
    NameSorter sorter;
    for (uint32_t bucket = 0; bucket < BUCKETS; ++bucket) {
        uint32_t first = staged.bucketStarts[bucket];
        uint32_t count = staged.bucketStarts[bucket + 1] - first;
        if (count == 0)
            continue;
        starts.assign(staged.starts.begin() + first, staged.starts.begin() + first + count + 1);
        walks.assign(staged.walks.begin() + first, staged.walks.begin() + first + count);
        bucketText.assign(staged.text.begin() + starts[0], staged.text.begin() + starts[count]);
        bucketText.resize(bucketText.size() + NAME_PADDING, '\0');
        names.resize(count);
        order.resize(count);
        for (uint32_t i = 0; i < count; ++i) {
            names[i] = bucketText.data() + (starts[i] - starts[0]);
            order[i] = i;
        }
        std::vector<NameRun> equalNames = sorter.sort(order, names);
        // The directory numbers are not written back over: the bucket's own are read in place.
        dropRepeatedPaths(order, equalNames, walks.data(), staged.directories.data() + first);
        for (size_t k = 0; k < order.size(); ++k) {
            uint32_t i = order[k];
            if (i == REPEATED)
                continue;
            if (k + GATHER_PREFETCH < order.size() && order[k + GATHER_PREFETCH] != REPEATED)
                __builtin_prefetch(names[order[k + GATHER_PREFETCH]]);
            size_t length = starts[i + 1] - starts[i];  // the NUL included
            copyBytes(out, names[i], length);
            *outKinds++ = nameKindsOf(names[i], length - 1);
            out += length;
            *outStarts++ = static_cast<uint32_t>(out - staged.text.data());
            *outWalks++ = walks[i];
        }
    }
    *out++ = '\0';
    staged.text.resize(static_cast<size_t>(out - staged.text.data()));
    names_ = std::move(staged.text);
    staged.starts.resize(static_cast<size_t>(outStarts - staged.starts.data()));
    nameStarts_ = std::move(staged.starts);
    staged.walks.resize(static_cast<size_t>(outWalks - staged.walks.data()));
    fileOfEntry_ = std::move(staged.walks);
    nameKinds_.resize(fileOfEntry_.size());
}

uint32_t FileIndex::collectLists(const Solution& solution)
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
    return total;
}

void FileIndex::stageNames(uint32_t total, StagedNames& staged) const
{
    // Each file's name length, in walk order. A name in its rest ends the rest, and the second
    // pass finds it there again: four bytes a file, where a pointer, a bucket and a directory
    // number were four times that, in fresh pages that cost time to be given.
    constexpr uint32_t SPARE_NAME = 1u << 31;  // the name is the next of spareNames
    UninitializedVector<uint32_t> lengths(total);
    std::deque<std::string> spareNames;  // names that don't lie in their rest, in walk order
    // Each distinct directory text gets one number, whichever lists hold it.
    std::unordered_map<std::string_view, uint32_t> numbers;
    // Per list, in the order of lists_: the number of each directory of its table.
    std::vector<std::vector<uint32_t>> directoryNumbers;
    std::vector<DirectoryEnd> ends;  // of each directory of the list at hand
    std::vector<size_t> bytes(BUCKETS);
    uint32_t walk = 0;
    for (const ListStart& start : lists_) {
        const FileList& list = *start.list;
        std::vector<uint32_t>& numberOf = directoryNumbers.emplace_back();
        ends.clear();
        for (const std::string& directory : list.directories()) {
            numberOf.push_back(numbers.emplace(directory, static_cast<uint32_t>(numbers.size())).first->second);
            ends.push_back(directoryEnd(directory));
        }
        for (size_t file = 0; file < list.size(); ++file, ++walk) {
            const char* name = nameInRest(list, file, ends[list.directoryIndex(file)]);
            uint32_t length;
            if (name) {
                length = static_cast<uint32_t>(list.rest(file) + list.restLength(file) - name);
                lengths[walk] = length;
            } else {
                spareNames.push_back(findFileName(list.path(file)));
                name = spareNames.back().c_str();
                length = static_cast<uint32_t>(spareNames.back().size());
                lengths[walk] = length | SPARE_NAME;
            }
            uint32_t bucket = bucketOf(name, length);
            ++staged.bucketStarts[bucket + 1];
            bytes[bucket] += length + 1;
        }
    }

    std::vector<size_t> textStarts(BUCKETS);
    size_t textSize = 0;
    for (uint32_t bucket = 0; bucket < BUCKETS; ++bucket) {
        staged.bucketStarts[bucket + 1] += staged.bucketStarts[bucket];
        textStarts[bucket] = textSize;
        textSize += bytes[bucket];
    }
    std::vector<uint32_t> next(staged.bucketStarts.begin(), staged.bucketStarts.end() - 1);
    // One byte more for the NUL that ends the index's block.
    staged.text.resize(textSize + 1);
    staged.starts.resize(total + 1);
    staged.starts[total] = static_cast<uint32_t>(textSize);
    staged.walks.resize(total);
    staged.directories.resize(total);
    walk = 0;
    size_t spare = 0;
    for (size_t listIndex = 0; listIndex < lists_.size(); ++listIndex) {
        const FileList& list = *lists_[listIndex].list;
        const std::vector<uint32_t>& numberOf = directoryNumbers[listIndex];
        for (size_t file = 0; file < list.size(); ++file, ++walk) {
            uint32_t length = lengths[walk] & ~SPARE_NAME;
            const char* name = lengths[walk] & SPARE_NAME ? spareNames[spare++].c_str()
                                                          : list.rest(file) + list.restLength(file) - length;
            uint32_t bucket = bucketOf(name, length);
            uint32_t entry = next[bucket]++;
            staged.starts[entry] = static_cast<uint32_t>(textStarts[bucket]);
            staged.walks[entry] = walk;
            staged.directories[entry] = numberOf[list.directoryIndex(file)];
            char* out = staged.text.data() + textStarts[bucket];
            lowerCaseCopy(out, name, length);
            out[length] = '\0';
            textStarts[bucket] += length + 1;
        }
    }
}

void FileIndex::dropRepeatedPaths(std::vector<uint32_t>& order, const std::vector<NameRun>& equalNames,
                                  const uint32_t* walks, const uint32_t* directories) const
{
    // Two files have the same path exactly when they have the same directory and rest, and then
    // the same name: a repeated path sits among the equal names, under one directory number. A
    // run's names come in walk order, and the first listing of each path stays.
    struct Listing {
        uint32_t directory;
        uint32_t position;  // in order
    };
    std::vector<Listing> run;
    std::vector<uint32_t> repeated;
    for (const NameRun& equal : equalNames) {
        run.clear();
        for (uint32_t position = equal.first; position < equal.second; ++position)
            run.push_back({directories[order[position]], position});
        // By directory, then position: the order a stable sort gives, without the buffer that
        // std::stable_sort asks the heap for at every run, most of which are pairs.
        std::sort(run.begin(), run.end(), [](const Listing& a, const Listing& b) {
            return a.directory != b.directory ? a.directory < b.directory : a.position < b.position;
        });
        repeated.clear();
        for (size_t i = 1; i < run.size(); ++i) {
            for (size_t earlier = i; earlier-- > 0 && run[earlier].directory == run[i].directory;) {
                if (strcmp(rest(walks[order[run[earlier].position]]), rest(walks[order[run[i].position]])) == 0) {
                    repeated.push_back(run[i].position);
                    break;
                }
            }
        }
        for (uint32_t position : repeated)
            order[position] = REPEATED;
    }
}

size_t FileIndex::listIndexOf(uint32_t walk) const
{
    auto after = std::upper_bound(lists_.begin(), lists_.end(), walk,
                                  [](uint32_t file, const ListStart& start) { return file < start.firstFile; });
    return static_cast<size_t>(after - lists_.begin()) - 1;
}

const FileIndex::ListStart& FileIndex::listOf(uint32_t walk) const
{
    return lists_[listIndexOf(walk)];
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
