#include "solution/cache_file.h"

#include "driver/build_info.h"
#include "solution/file_handle.h"
#include "solution/file_system.h"
#include "solution/path.h"
#include "solution/solution.h"
#include "solution/temporary_cache_file.h"
#include "solution/text.h"

#include <cstring>
#include <new>
#include <unordered_map>

namespace {

// Smallest sizes of a project record (path length, F, D, R), a directory (its length) and a file
// entry (length of the rest, index).
constexpr size_t MIN_PROJECT_RECORD_SIZE = 16;
constexpr size_t MIN_DIRECTORY_SIZE = 4;
constexpr size_t MIN_FILE_ENTRY_SIZE = 8;

}  // namespace

bool CacheWriter::writeInteger(int32_t value)
{
    uint32_t bits = static_cast<uint32_t>(value);
    unsigned char bytes[4] = {static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
                              static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
    return writeBytes(bytes, sizeof bytes);
}

bool CacheWriter::writeBytes(const void* bytes, size_t size)
{
    if (bytesWritten_ + static_cast<int64_t>(size) > MAX_CACHE_FILE_SIZE || fwrite(bytes, 1, size, stream_) != size)
        return false;
    bytesWritten_ += static_cast<int64_t>(size);
    return true;
}

bool CacheWriter::writeString(const std::string& text)
{
    return writeInteger(static_cast<int32_t>(text.size())) && writeBytes(text.data(), text.size());
}

CacheReader::CacheReader(FILE* stream, int64_t size) : stream_(stream), bytesLeft_(size > 0 ? size : 0) {}

bool CacheReader::readBytes(void* bytes, size_t size)
{
    if (static_cast<int64_t>(size) > bytesLeft_ || fread(bytes, 1, size, stream_) != size)
        return false;
    bytesLeft_ -= size;
    return true;
}

bool CacheReader::readInteger(int32_t& value)
{
    unsigned char bytes[4];
    if (!readBytes(bytes, sizeof bytes))
        return false;
    value = static_cast<int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24);
    return true;
}

bool CacheReader::skip(size_t size)
{
    if (static_cast<int64_t>(size) > bytesLeft_ || fseek(stream_, static_cast<long>(size), SEEK_CUR) != 0)
        return false;
    bytesLeft_ -= size;
    return true;
}

bool CacheReader::readString(std::string& text)
{
    int32_t length;
    if (!readInteger(length) || length < 0 || length > bytesLeft_)
        return false;
    std::string bytes(static_cast<size_t>(length), '\0');
    if (!readBytes(&bytes[0], bytes.size()))
        return false;
    bytes.resize(strlen(bytes.c_str()));
    text.swap(bytes);
    return true;
}

bool CacheReader::readCount(int32_t& count, size_t entrySize)
{
    int32_t value;
    if (!readInteger(value))
        return false;
    if (value < 0)
        value = 0;
    if (static_cast<int64_t>(value) * static_cast<int64_t>(entrySize) > bytesLeft_)
        return false;
    count = value;
    return true;
}

bool CacheReader::takeProjects(int32_t count)
{
    return count >= 0 && takeUpTo(budget_.projectsLeft, static_cast<size_t>(count)) == static_cast<size_t>(count);
}

bool CacheReader::takeFiles(int32_t count)
{
    return count >= 0 && takeUpTo(budget_.filesLeft, static_cast<size_t>(count)) == static_cast<size_t>(count);
}

CacheReader::Nesting::Nesting(CacheReader& reader) : reader_(reader), entered_(reader.depth_ < MAX_REFERENCE_DEPTH)
{
    if (entered_)
        ++reader_.depth_;
}

CacheReader::Nesting::~Nesting()
{
    if (entered_)
        --reader_.depth_;
}

namespace {

// A count of project records, then the records: a solution's projects or a project's references.
bool writeProjectRecords(CacheWriter& stream, const std::vector<std::unique_ptr<Project>>& list)
{
    if (!stream.writeInteger(static_cast<int32_t>(list.size())))
        return false;
    for (const std::unique_ptr<Project>& project : list) {
        if (!project->writeCache(stream))
            return false;
    }
    return true;
}

// Appends the records written by writeProjectRecords to list, which keeps those read before a
// failure.
bool readProjectRecords(CacheReader& stream, std::vector<std::unique_ptr<Project>>& list)
{
    int32_t count;
    if (!stream.readCount(count, MIN_PROJECT_RECORD_SIZE) || !stream.takeProjects(count))
        return false;
    for (int32_t i = 0; i < count; ++i) {
        list.push_back(std::make_unique<Project>());
        if (!list.back()->readCache(stream))
            return false;
    }
    return true;
}

// Whether a backslash goes between a directory and the rest of a stored path: unless the
// directory is empty or already ends in one ("C:\").
bool needsSeparator(const std::string& directory)
{
    return !directory.empty() && directory.back() != '\\';
}

std::string joinStoredPath(const std::string& directory, const std::string& rest)
{
    return directory + (needsSeparator(directory) ? "\\" : "") + rest;
}

// The directory-table entry and the rest that joinStoredPath turns back into file. Not the shell's
// file-name part: that splits at '/' as well, and a path ending in '\' would not come back.
std::pair<std::string, std::string> splitStoredPath(const std::string& file)
{
    std::string directory = removeFileSpec(file);
    size_t restStart = directory.size() + (needsSeparator(directory) ? 1 : 0);
    if (restStart <= file.size()) {
        std::string rest = file.substr(restStart);
        if (joinStoredPath(directory, rest) == file)
            return {directory, rest};
    }
    return {"", file};
}

}  // namespace

bool Project::writeCache(CacheWriter& stream) const
{
    // Each file's directory goes into the table once; a hash map finds it again (the table of a
    // large project holds thousands of directories).
    std::vector<const std::string*> directories;
    std::vector<std::pair<std::string, int32_t>> entries;  // rest of the path, directory index
    std::unordered_map<std::string, int32_t> indexOfDirectory;
    entries.reserve(files.size());
    for (const std::string& file : files) {
        std::pair<std::string, std::string> split = splitStoredPath(file);
        auto found = indexOfDirectory.emplace(std::move(split.first), static_cast<int32_t>(directories.size()));
        if (found.second)
            directories.push_back(&found.first->first);
        entries.emplace_back(std::move(split.second), found.first->second);
    }

    if (!stream.writeString(path) || !stream.writeInteger(static_cast<int32_t>(files.size())) ||
        !stream.writeInteger(static_cast<int32_t>(directories.size())))
        return false;
    for (const std::string* directory : directories) {
        if (!stream.writeString(*directory))
            return false;
    }
    for (const std::pair<std::string, int32_t>& entry : entries) {
        if (!stream.writeString(entry.first) || !stream.writeInteger(entry.second))
            return false;
    }
    return writeProjectRecords(stream, references);
}

bool Project::readCache(CacheReader& stream)
{
    CacheReader::Nesting nesting(stream);
    int32_t fileCount;
    int32_t directoryCount;
    // A table of more directories than files is corrupt: no entry could name the rest.
    if (!nesting.entered() || !stream.readString(path) || !stream.readCount(fileCount, MIN_FILE_ENTRY_SIZE) ||
        !stream.readCount(directoryCount, MIN_DIRECTORY_SIZE) || directoryCount > fileCount ||
        !stream.takeFiles(fileCount))
        return false;

    std::vector<std::string> directories;
    for (int32_t i = 0; i < directoryCount; ++i) {
        directories.emplace_back();
        if (!stream.readString(directories.back()))
            return false;
    }

    for (int32_t i = 0; i < fileCount; ++i) {
        std::string rest;
        int32_t index;
        if (!stream.readString(rest) || !stream.readInteger(index) || index < 0 || index >= directoryCount)
            return false;
        const std::string& directory = directories[static_cast<size_t>(index)];
        // Every path the loader makes fits the platform's path limit; a longer one is damage, and
        // many entries naming one long directory would multiply it.
        if (directory.size() + rest.size() >= PATH_BUFFER_SIZE)
            return false;
        files.push_back(lowerCase(joinStoredPath(directory, rest)));
    }

    return readProjectRecords(stream, references);
}

bool Solution::writeCacheTo(FILE* file) const
{
    char revision[REVISION_SIZE];
    memset(revision, '0', sizeof revision);
    memcpy(revision, revisionId, strnlen(revisionId, sizeof revision));

    CacheWriter stream(file);
    if (!stream.writeInteger(CACHE_FORMAT_VERSION) || !stream.writeBytes(revision, sizeof revision) ||
        !stream.writeString(lastFilter) || !stream.writeInteger(lastSelection) || !stream.writeString(solutionPath))
        return false;
    return writeProjectRecords(stream, projects);
}

bool Solution::writeCache() const
{
    // Written in full beside the cache, then moved over it: a run reading the cache meanwhile
    // sees the old file or the new one, never half of one, and a failed write keeps the old one.
    std::string temporary = temporaryCachePath(cachePath);
    FileHandle file(temporary, "wb");
    if (!file)
        return false;
    bool written = writeCacheTo(file.get());
    bool replaced = file.close() && written && replaceFile(temporary, cachePath);
    if (!replaced)
        deleteFile(temporary);
    removeAbandonedTemporaryFiles(cachePath);
    return replaced;
}

bool Solution::readCache()
{
    clearProjects();
    FileHandle file(cachePath, "rb");
    int64_t size = file.size();
    if (size < 0 || size > MAX_CACHE_FILE_SIZE)
        return false;
    try {
        return readCacheFrom(file.get(), size);
    } catch (const std::bad_alloc&) {
        // Every length is within the file's size, yet a 32-bit address space may not hold them all.
        return false;
    }
}

bool Solution::readCacheFrom(FILE* file, int64_t size)
{
    CacheReader stream(file, size);
    int32_t version;
    std::string storedPath;
    if (!stream.readInteger(version) || version != CACHE_FORMAT_VERSION || !stream.skip(REVISION_SIZE) ||
        !stream.readString(lastFilter) || !stream.readInteger(lastSelection) || !stream.readString(storedPath))
        return false;
    // The cache of another copy of the tree (moved, copied, reached by another drive letter)
    // describes that tree's files: stale, though the window's state above is still welcome.
    if (compareIgnoringCase(storedPath.c_str(), solutionPath.c_str()) != 0)
        return false;
    solutionPath = storedPath;
    return readProjectRecords(stream, projects);
}
