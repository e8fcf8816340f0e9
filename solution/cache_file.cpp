#include "solution/cache_file.h"

#include "driver/build_info.h"
#include "solution/file_handle.h"
#include "solution/file_system.h"
#include "solution/path.h"
#include "solution/solution.h"
#include "solution/temporary_cache_file.h"
#include "solution/text.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// Smallest sizes of a project record (path length, F, D, R), a directory (its length) and a file
// entry (length of the rest, index).
constexpr size_t MIN_PROJECT_RECORD_SIZE = 16;
constexpr size_t MIN_DIRECTORY_SIZE = 4;
constexpr size_t MIN_FILE_ENTRY_SIZE = 8;

}  // namespace

namespace {

// The size of the reader's and the writer's buffers.
constexpr size_t STREAM_BUFFER_SIZE = 64 * 1024;

}  // namespace

CacheWriter::CacheWriter(FILE* stream) : stream_(stream), buffer_(STREAM_BUFFER_SIZE) {}

namespace {

// The value as 4 bytes, little-endian, at out.
void storeInteger(char* out, int32_t value)
{
    uint32_t bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>(bits >> 8 * i);
}

// The value stored by storeInteger at bytes.
int32_t loadInteger(const char* bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return static_cast<int32_t>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24);
}

}  // namespace

bool CacheWriter::writeInteger(int32_t value)
{
    char bytes[4];
    storeInteger(bytes, value);
    return writeBytes(bytes, sizeof bytes);
}

bool CacheWriter::writeBytes(const void* bytes, size_t size)
{
    if (bytesWritten_ + static_cast<int64_t>(size) > MAX_CACHE_FILE_SIZE)
        return false;
    if (used_ + size > buffer_.size()) {
        if (!flush())
            return false;
        // More than the buffer holds goes to the stream as it is.
        if (size > buffer_.size()) {
            if (fwrite(bytes, 1, size, stream_) != size)
                return false;
            bytesWritten_ += static_cast<int64_t>(size);
            return true;
        }
    }
    copyBytes(buffer_.data() + used_, static_cast<const char*>(bytes), size);
    used_ += size;
    bytesWritten_ += static_cast<int64_t>(size);
    return true;
}

bool CacheWriter::writeString(const std::string& text)
{
    return writeString(text.data(), text.size());
}

bool CacheWriter::writeString(const char* text, size_t length)
{
    return writeInteger(static_cast<int32_t>(length)) && writeBytes(text, length);
}

bool CacheWriter::writeFileEntry(const char* rest, size_t restLength, int32_t directoryIndex)
{
    // A million entries at a save: one check of the room and of the limit for the whole entry.
    size_t size = restLength + MIN_FILE_ENTRY_SIZE;
    if (used_ + size > buffer_.size() || bytesWritten_ + static_cast<int64_t>(size) > MAX_CACHE_FILE_SIZE)
        return writeString(rest, restLength) && writeInteger(directoryIndex);
    char* out = buffer_.data() + used_;
    storeInteger(out, static_cast<int32_t>(restLength));
    copyBytes(out + 4, rest, restLength);
    storeInteger(out + 4 + restLength, directoryIndex);
    used_ += size;
    bytesWritten_ += static_cast<int64_t>(size);
    return true;
}

bool CacheWriter::flush()
{
    bool written = fwrite(buffer_.data(), 1, used_, stream_) == used_;
    used_ = 0;
    return written;
}

CacheReader::CacheReader(FILE* stream, int64_t size)
    : stream_(stream), unread_(size > 0 ? size : 0), buffer_(STREAM_BUFFER_SIZE)
{
}

bool CacheReader::fill(size_t size)
{
    // Nearly every read finds its bytes buffered: the check alone, before the call.
    return bufferEnd_ - bufferStart_ >= size || refill(size);
}

bool CacheReader::refill(size_t size)
{
    if (static_cast<int64_t>(size) > bytesLeft())
        return false;
    // The size is within the file's: a long string grows the buffer no further than the file.
    if (size > buffer_.size())
        buffer_.resize(size);
    memmove(buffer_.data(), buffer_.data() + bufferStart_, bufferEnd_ - bufferStart_);
    bufferEnd_ -= bufferStart_;
    bufferStart_ = 0;
    while (bufferEnd_ < size) {
        // Never beyond the size the file had when opened, though it may have grown since.
        size_t wanted = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(buffer_.size() - bufferEnd_), unread_));
        size_t read = fread(buffer_.data() + bufferEnd_, 1, wanted, stream_);
        if (read == 0)
            return false;
        bufferEnd_ += read;
        unread_ -= static_cast<int64_t>(read);
    }
    return true;
}

int64_t CacheReader::bytesLeft() const
{
    return unread_ + static_cast<int64_t>(bufferEnd_ - bufferStart_);
}

bool CacheReader::readInteger(int32_t& value)
{
    if (!fill(4))
        return false;
    value = loadInteger(buffer_.data() + bufferStart_);
    bufferStart_ += 4;
    return true;
}

bool CacheReader::skip(size_t size)
{
    if (!fill(size))
        return false;
    bufferStart_ += size;
    return true;
}

bool CacheReader::readString(std::string& text)
{
    int32_t length;
    if (!readInteger(length) || length < 0 || !fill(static_cast<size_t>(length)))
        return false;
    const char* bytes = buffer_.data() + bufferStart_;
    text.assign(bytes, strnlen(bytes, static_cast<size_t>(length)));
    bufferStart_ += static_cast<size_t>(length);
    return true;
}

bool CacheReader::readFileEntry(char*& rest, size_t& length, int32_t& directoryIndex)
{
    // The whole entry is buffered at once: reading the index must not move the rest. A file that
    // ends within the smallest entry can't hold this one.
    if (!fill(MIN_FILE_ENTRY_SIZE))
        return false;
    int32_t size = loadInteger(buffer_.data() + bufferStart_);
    if (size < 0 || !fill(MIN_FILE_ENTRY_SIZE + static_cast<size_t>(size)))
        return false;
    rest = buffer_.data() + bufferStart_ + 4;
    length = static_cast<size_t>(size);
    directoryIndex = loadInteger(rest + length);
    bufferStart_ += MIN_FILE_ENTRY_SIZE + length;
    return true;
}

void CacheReader::countRests(size_t count, size_t bytes)
{
    rests_ += count;
    restBytes_ += bytes;
}

size_t CacheReader::likelyRestBytes(size_t count) const
{
    // Before the first file, names of some twenty bytes. Never more than the bytes left: each
    // rest with its NUL takes fewer bytes in the list than its entry does in the file.
    uint64_t perFile = rests_ > 0 ? restBytes_ / rests_ : 20;
    uint64_t likely = count * (perFile + perFile / 8 + 1);
    return static_cast<size_t>(std::min<uint64_t>(likely, static_cast<uint64_t>(bytesLeft())));
}

bool CacheReader::readCount(int32_t& count, size_t entrySize)
{
    int32_t value;
    if (!readInteger(value))
        return false;
    if (value < 0)
        value = 0;
    if (static_cast<int64_t>(value) * static_cast<int64_t>(entrySize) > bytesLeft())
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

}  // namespace

bool Project::writeCache(CacheWriter& stream) const
{
    const std::vector<std::string>& directories = files.directories();
    if (!stream.writeString(path) || !stream.writeInteger(static_cast<int32_t>(files.size())) ||
        !stream.writeInteger(static_cast<int32_t>(directories.size())))
        return false;
    for (const std::string& directory : directories) {
        if (!stream.writeString(directory))
            return false;
    }
    for (size_t file = 0; file < files.size(); ++file) {
        if (!stream.writeFileEntry(files.rest(file), files.restLength(file),
                                   static_cast<int32_t>(files.directoryIndex(file))))
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

    // Lower-cased here, a table may hold one directory twice ("C:\s" and "c:\s"): the list merges them.
    std::vector<std::string>& directories = stream.directories;
    if (directories.size() < static_cast<size_t>(directoryCount))
        directories.resize(static_cast<size_t>(directoryCount));
    for (int32_t i = 0; i < directoryCount; ++i) {
        if (!stream.readString(directories[static_cast<size_t>(i)]))
            return false;
        lowerCaseInPlace(directories[static_cast<size_t>(i)]);
    }

    files.reserve(static_cast<size_t>(fileCount), stream.likelyRestBytes(static_cast<size_t>(fileCount)),
                  static_cast<size_t>(directoryCount));
    std::vector<int32_t> slots(static_cast<size_t>(directoryCount), FileList::NEW_DIRECTORY);
    for (int32_t i = 0; i < fileCount; ++i) {
        char* rest;
        size_t length;
        int32_t index;
        if (!stream.readFileEntry(rest, length, index) || index < 0 || index >= directoryCount)
            return false;
        const std::string& directory = directories[static_cast<size_t>(index)];
        int32_t& slot = slots[static_cast<size_t>(index)];
        // Every path the loader makes fits the platform's path limit; a longer one is damage, and
        // many entries naming one long directory would multiply it.
        if (slot >= 0 && directory.size() + length < PATH_BUFFER_SIZE &&
            files.appendLowerCased(static_cast<uint32_t>(slot), rest, length))
            continue;
        size_t restLength = lowerCaseToNul(rest, length);
        if (directory.size() + restLength >= PATH_BUFFER_SIZE)
            return false;
        files.appendSplit(directory, rest, restLength, slot);
    }
    stream.countRests(files.size(), files.textSize());

    return readProjectRecords(stream, references);
}

bool isCacheFileName(const std::string& name)
{
    return endsWithIgnoringCase(name, ".qlcache") || isTemporaryCacheName(name);
}

bool Solution::writeCacheTo(FILE* file) const
{
    char revision[REVISION_SIZE];
    memset(revision, '0', sizeof revision);
    memcpy(revision, revisionId, strnlen(revisionId, sizeof revision));

    CacheWriter stream(file);
    return stream.writeInteger(CACHE_FORMAT_VERSION) && stream.writeBytes(revision, sizeof revision) &&
           stream.writeString(lastFilter) && stream.writeInteger(lastSelection) && stream.writeString(solutionPath) &&
           writeProjectRecords(stream, projects) && watches.write(stream) && projectCuts.write(stream) &&
           stream.flush();
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
    watches.lists.clear();
    projectCuts.projects.clear();
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
    return readProjectRecords(stream, projects) && readSections(stream);
}

bool Solution::readSections(CacheReader& stream)
{
    // Fewer bytes than a marker, or a marker of no known section, end the file as the bytes after
    // the project records always did.
    int32_t marker;
    while (stream.readInteger(marker)) {
        if (marker == WATCH_SECTION_MARKER) {
            if (!watches.readBody(stream))
                return false;
        } else if (marker == CUT_SECTION_MARKER) {
            if (!projectCuts.readBody(stream))
                return false;
        } else {
            return true;
        }
    }
    return true;
}
