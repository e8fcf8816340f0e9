#include "solution/cache_file.h"

#include "driver/build_info.h"
#include "solution/file_handle.h"
#include "solution/path.h"
#include "solution/solution.h"
#include "solution/text.h"

#include <windows.h>

#include <cstring>
#include <unordered_map>

bool CacheWriter::writeInteger(int32_t value)
{
    uint32_t bits = static_cast<uint32_t>(value);
    unsigned char bytes[4] = {static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
                              static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
    return writeBytes(bytes, sizeof bytes);
}

bool CacheWriter::writeBytes(const void* bytes, size_t size)
{
    return fwrite(bytes, 1, size, stream_) == size;
}

bool CacheWriter::writeString(const std::string& text)
{
    return writeInteger(static_cast<int32_t>(text.size())) && writeBytes(text.data(), text.size());
}

CacheReader::CacheReader(FILE* stream, int64_t size)
    : stream_(stream), bytesLeft_(size > 0 ? size : 0), entriesLeft_(MAX_MODEL_ENTRIES)
{
}

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

bool CacheReader::takeEntries(int32_t count)
{
    if (count < 0 || static_cast<uint32_t>(count) > entriesLeft_)
        return false;
    entriesLeft_ -= static_cast<uint32_t>(count);
    return true;
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
    if (!stream.readCount(count, MIN_PROJECT_RECORD_SIZE) || !stream.takeEntries(count))
        return false;
    for (int32_t i = 0; i < count; ++i) {
        list.push_back(std::make_unique<Project>());
        if (!list.back()->readCache(stream))
            return false;
    }
    return true;
}

}  // namespace

bool Project::writeCache(CacheWriter& stream) const
{
    // Each file's directory goes into the table once; a hash map finds it again (the table of a
    // large project holds thousands of directories).
    std::vector<const std::string*> directories;
    std::vector<int32_t> directoryIndexes;
    std::unordered_map<std::string, int32_t> indexOfDirectory;
    directoryIndexes.reserve(files.size());
    for (const std::string& file : files) {
        auto found = indexOfDirectory.emplace(removeFileSpec(file), static_cast<int32_t>(directories.size()));
        if (found.second)
            directories.push_back(&found.first->first);
        directoryIndexes.push_back(found.first->second);
    }

    if (!stream.writeString(path) || !stream.writeInteger(static_cast<int32_t>(files.size())) ||
        !stream.writeInteger(static_cast<int32_t>(directories.size())))
        return false;
    for (const std::string* directory : directories) {
        if (!stream.writeString(*directory))
            return false;
    }
    for (size_t i = 0; i < files.size(); ++i) {
        if (!stream.writeString(findFileName(files[i])) || !stream.writeInteger(directoryIndexes[i]))
            return false;
    }
    return writeProjectRecords(stream, references);
}

bool Project::readCache(CacheReader& stream)
{
    if (stream.depth >= MAX_REFERENCE_DEPTH)
        return false;
    ++stream.depth;
    bool read = readCacheRecord(stream);
    --stream.depth;
    return read;
}

bool Project::readCacheRecord(CacheReader& stream)
{
    int32_t fileCount;
    int32_t directoryCount;
    if (!stream.readString(path) || !stream.readCount(fileCount, MIN_FILE_ENTRY_SIZE) ||
        !stream.readCount(directoryCount, MIN_DIRECTORY_SIZE) || !stream.takeEntries(fileCount))
        return false;

    std::vector<std::string> directories(static_cast<size_t>(directoryCount));
    for (std::string& directory : directories) {
        if (!stream.readString(directory))
            return false;
    }

    files.reserve(static_cast<size_t>(fileCount));
    for (int32_t i = 0; i < fileCount; ++i) {
        std::string name;
        int32_t index;
        if (!stream.readString(name) || !stream.readInteger(index) || index < 0 || index >= directoryCount)
            return false;
        std::string file = appendPath(directories[static_cast<size_t>(index)], name);
        if (file.empty())
            return false;
        files.push_back(lowerCase(std::move(file)));
    }

    return readProjectRecords(stream, references);
}

namespace {

// Beside the cache, named by the process, so that two runs writing at once never share it.
std::string temporaryCachePath(const std::string& cachePath)
{
    return appendPath(removeFileSpec(cachePath),
                      "qlcache-" + decimalText(static_cast<int32_t>(GetCurrentProcessId())) + ".tmp");
}

}  // namespace

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
    if (file.close() && written && MoveFileExA(temporary.c_str(), cachePath.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    DeleteFileA(temporary.c_str());
    return false;
}

bool Solution::readCache()
{
    clearProjects();
    FileHandle file(cachePath, "rb");
    if (!file)
        return false;
    CacheReader stream(file.get(), file.size());
    int32_t version;
    std::string storedPath;
    if (!stream.readInteger(version) || version != CACHE_FORMAT_VERSION || !stream.skip(REVISION_SIZE) ||
        !stream.readString(lastFilter) || !stream.readInteger(lastSelection) || !stream.readString(storedPath))
        return false;
    // The cache of another copy of the tree (moved, copied, reached by another drive letter)
    // describes that tree's files: stale, though the window's state above is still welcome.
    if (_stricmp(storedPath.c_str(), solutionPath.c_str()) != 0)
        return false;
    solutionPath = storedPath;
    return readProjectRecords(stream, projects);
}
