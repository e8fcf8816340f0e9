// The file system of the solution model on Windows.

#include "solution/file_system.h"

#include "driver/unique_resource.h"

#include <windows.h>
#include <shlwapi.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstring>

bool pathExists(const std::string& path)
{
    return PathFileExistsA(path.c_str()) != FALSE;
}

bool statExists(const std::string& path)
{
    struct _stat64i32 status;
    return _stat64i32(path.c_str(), &status) == 0;
}

bool modificationTime(const std::string& path, int64_t& seconds)
{
    struct _stat64i32 status;
    if (_stat64i32(path.c_str(), &status) != 0)
        return false;
    seconds = status.st_mtime;
    return true;
}

FILE* openSharedStream(const std::string& path, const char* mode)
{
    bool writing = mode[0] == 'w';
    bool text = strchr(mode, 't') != nullptr;
    // The C runtime's _fsopen can't share delete access, and without it another run could not
    // replace the cache file while this one reads it. A file being written is not shared for
    // delete: another run can then tell a live run's temporary file from one a dead run left.
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | (writing ? 0 : FILE_SHARE_DELETE);
    UniqueWin32File file(CreateFileA(path.c_str(), writing ? GENERIC_WRITE : GENERIC_READ, share, nullptr,
                                     writing ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return nullptr;
    int flags = (writing ? _O_WRONLY : _O_RDONLY) | (text ? _O_TEXT : _O_BINARY);
    int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file.get()), flags);
    if (descriptor == -1)
        return nullptr;
    file.release();  // the descriptor owns the handle now
    FILE* stream = _fdopen(descriptor, mode);
    if (!stream)
        _close(descriptor);
    return stream;
}

int64_t streamLength(FILE* stream)
{
    return stream ? _filelengthi64(_fileno(stream)) : -1;
}

bool deleteFile(const std::string& path)
{
    return DeleteFileA(path.c_str()) != FALSE;
}

bool replaceFile(const std::string& from, const std::string& to)
{
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

uint32_t currentProcessId()
{
    return GetCurrentProcessId();
}

std::string lastErrorText()
{
    DWORD error = GetLastError();
    if (error == ERROR_SUCCESS)
        return "";
    UniqueLocalMemory buffer;
    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    DWORD length = FormatMessageA(flags, nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<char*>(buffer.put()), 0, nullptr);
    if (length == 0)
        return "";
    return std::string(static_cast<const char*>(buffer.get()), length);
}

namespace {

// FILETIME counts 100 ns steps from 1601; stat's seconds count from 1970.
int64_t secondsSince1970(const FILETIME& time)
{
    const int64_t TICKS_PER_SECOND = 10000000;
    const int64_t SECONDS_1601_TO_1970 = 11644473600LL;
    int64_t ticks = static_cast<int64_t>(static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime);
    return ticks / TICKS_PER_SECOND - SECONDS_1601_TO_1970;
}

struct FindTraits {
    using Value = HANDLE;
    static Value empty() { return INVALID_HANDLE_VALUE; }
    static void close(Value handle) { FindClose(handle); }
};

}  // namespace

bool listDirectory(const std::string& path, std::vector<DirectoryEntry>& entries)
{
    entries.clear();
    std::string pattern = path;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/')
        pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAA found;
    UniqueResource<FindTraits> search(FindFirstFileA(pattern.c_str(), &found));
    if (!search)
        return false;
    do {
        if (strcmp(found.cFileName, ".") == 0 || strcmp(found.cFileName, "..") == 0)
            continue;
        DirectoryEntry entry;
        entry.name = found.cFileName;
        entry.isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.modificationTime = secondsSince1970(found.ftLastWriteTime);
        entries.push_back(std::move(entry));
    } while (FindNextFileA(search.get(), &found));
    return GetLastError() == ERROR_NO_MORE_FILES;
}

bool folderIdentity(const std::string& path, FolderIdentity& identity)
{
    // No access asked for: attributes can be read all the same, and no one is kept out meanwhile.
    UniqueWin32File folder(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    if (!folder || !GetFileInformationByHandle(folder.get(), &information))
        return false;
    identity.volume = information.dwVolumeSerialNumber;
    identity.index = static_cast<uint64_t>(information.nFileIndexHigh) << 32 | information.nFileIndexLow;
    return true;
}
