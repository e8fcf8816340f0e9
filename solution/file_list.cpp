#include "solution/file_list.h"

#include "solution/path.h"
#include "solution/text.h"

#include <algorithm>
#include <cstring>

bool needsSeparator(const std::string& directory)
{
    return !directory.empty() && directory.back() != '\\';
}

namespace {

std::string joined(const std::string& directory, const char* rest, size_t restLength)
{
    std::string path = directory;
    if (needsSeparator(directory))
        path += '\\';
    return path.append(rest, restLength);
}

// A rest in which the shell's rule finds nothing to cut: removeFileSpec of any such rest joined to
// a directory stops where it stops for "x" joined to it, so one answer serves every such rest.
bool isPlainRest(const char* rest, size_t length)
{
    return length > 0 && !containsEitherByte(rest, length, '\\', ':');
}

// removeFileSpec(joined(directory, "x")) == directory: whether every plain rest joined to the
// directory splits back into it. Answered without building the path when the directory, a
// backslash and one more byte fit the path buffer, it holds no NUL and ends in neither a backslash
// nor a colon: the shell's rule then cuts at the added backslash. Asked once per directory of each
// project read from the cache.
bool splitsAlike(const std::string& directory)
{
    if (directory.empty())
        return false;
    char last = directory.back();
    if (directory.size() + 2 < PATH_BUFFER_SIZE && last != '\\' && last != ':' &&
        directory.find('\0') == std::string::npos)
        return true;
    return removeFileSpec(joined(directory, "x", 1)) == directory;
}

}  // namespace

FileList::FileList(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths)
        append(path);
}

void FileList::append(const std::string& path)
{
    // Most paths split at their last backslash, under a directory met before. (A loop rather than
    // find_last_of, which makes a library call per byte.)
    size_t cut = path.size();
    while (cut > 0 && path[cut - 1] != '\\' && path[cut - 1] != ':')
        --cut;
    if (cut > 1 && path[cut - 1] == '\\' && path[cut - 2] != '\\') {
        --cut;
        const char* rest = path.data() + cut + 1;
        size_t restLength = path.size() - cut - 1;
        if (isPlainRest(rest, restLength) &&
            (appendToLast(path.data(), cut, rest, restLength) || appendToKnown(path.substr(0, cut), rest, restLength)))
            return;
    }

    std::string directory = removeFileSpec(path);
    size_t restStart = directory.size() + (needsSeparator(directory) ? 1 : 0);
    if (restStart > path.size() || joined(directory, path.data() + restStart, path.size() - restStart) != path) {
        directory.clear();  // held whole
        restStart = 0;
    }
    push(tableIndex(entryFor(directory), directory), path.data() + restStart, path.size() - restStart);
}

void FileList::appendSplit(const std::string& directory, const char* rest, size_t restLength, int32_t& slot)
{
    if (isPlainRest(rest, restLength))
        appendPlain(directory, rest, restLength, slot);
    else
        append(joined(directory, rest, restLength));
}

void FileList::appendPlain(const std::string& directory, const char* rest, size_t restLength, int32_t& slot)
{
    if (slot == NEW_DIRECTORY)
        slot = splitSlot(directory);
    if (slot >= 0)
        push(static_cast<uint32_t>(slot), rest, restLength);
    else
        append(joined(directory, rest, restLength));
}

bool FileList::appendLowerCased(uint32_t directory, const char* rest, size_t length)
{
    size_t at = text_.size();
    text_.resize(at + length + 1);
    if (length == 0 || !lowerCaseCopyWithout(text_.data() + at, rest, length, '\\', ':')) {
        text_.resize(at);
        return false;
    }
    text_[at + length] = '\0';
    directoryIndex_.push_back(directory);
    restStart_.push_back(static_cast<uint32_t>(at));
    return true;
}

bool FileList::appendToLast(const char* directory, size_t directoryLength, const char* rest, size_t restLength)
{
    if (lastDirectory_ == UINT32_MAX)
        return false;
    const std::string& last = directories_[lastDirectory_];
    if (last.size() != directoryLength || memcmp(last.data(), directory, directoryLength) != 0)
        return false;
    push(lastDirectory_, rest, restLength);
    return true;
}

bool FileList::appendToKnown(const std::string& directory, const char* rest, size_t restLength)
{
    Directory& entry = entryFor(directory);
    if (!entry.splitsAlike)
        return false;
    lastDirectory_ = tableIndex(entry, directory);
    push(lastDirectory_, rest, restLength);
    return true;
}

int32_t FileList::splitSlot(const std::string& directory)
{
    if (!splitsAlike(directory))
        return -1;
    int32_t index = tableIndexOf(directory);
    if (index < 0) {
        index = static_cast<int32_t>(directories_.size());
        directories_.push_back(directory);
    }
    return index;
}

int32_t FileList::tableIndexOf(const std::string& directory)
{
    // Past a few directories, one search through all of them would cost more than the map.
    if (directories_.size() - indexed_ > MAX_UNINDEXED)
        indexDirectories();
    if (!known_.empty()) {
        auto found = known_.find(directory);
        if (found != known_.end() && found->second.index >= 0)
            return found->second.index;
    }
    for (size_t index = indexed_; index < directories_.size(); ++index) {
        if (directories_[index] == directory)
            return static_cast<int32_t>(index);
    }
    return -1;
}

void FileList::indexDirectories()
{
    for (; indexed_ < directories_.size(); ++indexed_) {
        Directory& entry = known_[directories_[indexed_]];
        entry.index = static_cast<int32_t>(indexed_);
        entry.splitsAlike = true;  // splitSlot adds no other
    }
}

FileList::Directory& FileList::entryFor(const std::string& directory)
{
    indexDirectories();
    auto found = known_.find(directory);
    if (found != known_.end())
        return found->second;
    Directory entry;
    entry.splitsAlike = splitsAlike(directory);
    return known_.emplace(directory, entry).first->second;
}

uint32_t FileList::tableIndex(Directory& entry, const std::string& directory)
{
    if (entry.index < 0) {
        entry.index = static_cast<int32_t>(directories_.size());
        directories_.push_back(directory);
        indexed_ = directories_.size();  // entryFor, which gave the entry, indexed the others
    }
    return static_cast<uint32_t>(entry.index);
}

void FileList::push(uint32_t directory, const char* rest, size_t restLength)
{
    directoryIndex_.push_back(directory);
    size_t at = text_.size();
    restStart_.push_back(static_cast<uint32_t>(at));
    text_.resize(at + restLength + 1);
    copyBytes(text_.data() + at, rest, restLength);
    text_[at + restLength] = '\0';
}

std::string FileList::path(size_t file) const
{
    return joined(directoryOf(file), rest(file), restLength(file));
}

std::vector<std::string> FileList::paths() const
{
    std::vector<std::string> all;
    all.reserve(size());
    for (size_t file = 0; file < size(); ++file)
        all.push_back(path(file));
    return all;
}

void FileList::truncate(size_t count)
{
    if (count >= size())
        return;
    // Directories enter the table with their first file, so those of the files kept come first.
    uint32_t used = 0;
    for (size_t file = 0; file < count; ++file)
        used = std::max(used, directoryIndex_[file] + 1);
    for (size_t index = used; index < indexed_; ++index)
        known_[directories_[index]].index = -1;
    indexed_ = std::min<size_t>(indexed_, used);
    directories_.resize(used);
    text_.resize(count > 0 ? restStart_[count] : 0);
    directoryIndex_.resize(count);
    restStart_.resize(count);
    if (lastDirectory_ != UINT32_MAX && lastDirectory_ >= used)
        lastDirectory_ = UINT32_MAX;
}

void FileList::reserve(size_t files, size_t textSize, size_t directories)
{
    directoryIndex_.reserve(size() + files);
    restStart_.reserve(size() + files);
    text_.reserve(text_.size() + textSize);
    directories_.reserve(directories_.size() + directories);
}
