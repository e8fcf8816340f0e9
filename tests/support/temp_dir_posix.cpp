#include "tests/support/temp_dir.h"

#include "solution/native_path.h"

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cstdio>
#include <cstdlib>

namespace {

int removeEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return remove(path);
}

}  // namespace

TempDir::TempDir()
{
    const char* base = getenv("TMPDIR");
    std::string folder = std::string(base && *base ? base : "/tmp") + "/quorlan-test-XXXXXX";
    if (!mkdtemp(&folder[0]))
        abort();  // no test can run without it
    path_ = "Z:" + folder;
    std::replace(path_.begin(), path_.end(), '/', '\\');
}

TempDir::TempDir(const std::string& fixedPath) : path_(fixedPath)
{
    nftw(nativePath(path_).c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
    createFolder(path_);
}

TempDir::~TempDir()
{
    nftw(nativePath(path_).c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

bool createFolder(const std::string& path)
{
    return mkdir(nativePath(path).c_str(), 0777) == 0;
}

bool setModifiedTime(const std::string& path, int64_t secondsSince1970)
{
    struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(secondsSince1970), 0}};
    return utimensat(AT_FDCWD, nativePath(path).c_str(), times, 0) == 0;
}

int64_t modifiedTime(const std::string& path)
{
    struct stat status;
    return stat(nativePath(path).c_str(), &status) == 0 ? status.st_mtime : -1;
}

bool setFileSize(const std::string& path, int64_t size)
{
    return truncate(nativePath(path).c_str(), size) == 0;
}

FileLock::FileLock(const std::string& path) : path_(path)
{
    locked_ = geteuid() != 0 && chmod(nativePath(path).c_str(), 0) == 0;
}

FileLock::~FileLock()
{
    if (locked_)
        chmod(nativePath(path_).c_str(), 0644);
}

std::string FileLock::errorText() const
{
    return strerror(EACCES);
}
