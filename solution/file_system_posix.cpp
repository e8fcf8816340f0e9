// The file system of the solution model in native builds (sanitizer tests, fuzzing).
//
// The model's paths stay Windows paths; nativePath (native_path.h) maps them, finding names in
// any letter case as Windows does. Unlike on Windows, a file open for writing can still be deleted.

#include "solution/file_system.h"
#include "solution/native_path.h"

#include "driver/unique_resource_core.h"
#include "solution/text.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

namespace {

struct DirectoryTraits {
    using Value = DIR*;
    static Value empty() { return nullptr; }
    static void close(Value directory) { closedir(directory); }
};

// The entry of folder whose name equals name without regard to ASCII case; name itself when
// there is none.
std::string entryIgnoringCase(const std::string& folder, const std::string& name)
{
    UniqueResource<DirectoryTraits> directory(opendir(folder.empty() ? "/" : folder.c_str()));
    while (const dirent* found = directory ? readdir(directory.get()) : nullptr) {
        if (compareIgnoringCase(found->d_name, name.c_str()) == 0)
            return found->d_name;
    }
    return name;
}

// Like Windows, and Wine on a Linux file system, a path names a file in any letter case: when the
// exact path doesn't exist, each component is looked up in its folder without regard to case.
std::string resolveIgnoringCase(const std::string& path)
{
    struct stat status;
    if (path.empty() || lstat(path.c_str(), &status) == 0)
        return path;
    std::string resolved;
    size_t start = path[0] == '/' ? 1 : 0;
    if (start == 0)
        resolved = ".";
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string name = path.substr(start, end - start);
        if (!name.empty())
            resolved += "/" + (name == "." || name == ".." ? name : entryIgnoringCase(resolved, name));
        start = end + 1;
    }
    return path[0] == '/' ? resolved : resolved.substr(2);
}

}  // namespace

std::string nativePath(const std::string& path)
{
    bool hasDrive = path.size() >= 2 && path[1] == ':' && isalpha(static_cast<unsigned char>(path[0]));
    std::string native = path.substr(hasDrive ? 2 : 0);
    std::replace(native.begin(), native.end(), '\\', '/');
    return resolveIgnoringCase(native);
}

namespace {

bool statOf(const std::string& path, struct stat& status)
{
    return stat(nativePath(path).c_str(), &status) == 0;
}

}  // namespace

bool pathExists(const std::string& path)
{
    struct stat status;
    return statOf(path, status);
}

bool statExists(const std::string& path)
{
    return pathExists(path);
}

bool modificationTime(const std::string& path, int64_t& seconds)
{
    struct stat status;
    if (!statOf(path, status))
        return false;
    seconds = status.st_mtime;
    return true;
}

FILE* openSharedStream(const std::string& path, const char* mode)
{
    // POSIX streams know no text mode, and share everything anyway.
    std::string posixMode = mode;
    posixMode.erase(std::remove(posixMode.begin(), posixMode.end(), 't'), posixMode.end());
    return fopen(nativePath(path).c_str(), posixMode.c_str());
}

int64_t streamLength(FILE* stream)
{
    struct stat status;
    if (!stream || fstat(fileno(stream), &status) != 0 || !S_ISREG(status.st_mode))
        return -1;
    return status.st_size;
}

bool deleteFile(const std::string& path)
{
    return unlink(nativePath(path).c_str()) == 0;
}

bool replaceFile(const std::string& from, const std::string& to)
{
    return rename(nativePath(from).c_str(), nativePath(to).c_str()) == 0;
}

uint32_t currentProcessId()
{
    return static_cast<uint32_t>(getpid());
}

std::string lastErrorText()
{
    return errno == 0 ? "" : strerror(errno);
}

bool listDirectory(const std::string& path, std::vector<DirectoryEntry>& entries)
{
    entries.clear();
    std::string folder = nativePath(path);
    UniqueResource<DirectoryTraits> directory(opendir(folder.c_str()));
    if (!directory)
        return false;
    while (const dirent* found = readdir(directory.get())) {
        if (strcmp(found->d_name, ".") == 0 || strcmp(found->d_name, "..") == 0)
            continue;
        DirectoryEntry entry;
        entry.name = found->d_name;
        struct stat status;
        if (stat((folder + "/" + entry.name).c_str(), &status) == 0) {
            entry.isDirectory = S_ISDIR(status.st_mode);
            entry.modificationTime = status.st_mtime;
        }
        entries.push_back(std::move(entry));
    }
    return true;
}

bool folderIdentity(const std::string& path, FolderIdentity& identity)
{
    struct stat status;
    if (!statOf(path, status) || !S_ISDIR(status.st_mode))
        return false;
    identity.volume = static_cast<uint64_t>(status.st_dev);
    identity.index = static_cast<uint64_t>(status.st_ino);
    return true;
}
