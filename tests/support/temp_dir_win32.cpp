#include "tests/support/temp_dir.h"

#include "driver/unique_resource.h"

#include <cstdio>

namespace {

void removeTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = folder + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

// 100-nanosecond intervals between 1601 and 1970.
constexpr int64_t UNIX_EPOCH_AS_FILETIME = 116444736000000000LL;

}  // namespace

TempDir::TempDir()
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        char name[MAX_PATH];
        snprintf(name, sizeof name, "%squorlan-test-%lu-%u", base, GetCurrentProcessId(), counter++);
        if (createFolder(name)) {
            path_ = name;
            return;
        }
    }
}

TempDir::TempDir(const std::string& fixedPath) : path_(fixedPath)
{
    removeTree(path_);
    createFolder(path_);
}

TempDir::~TempDir()
{
    removeTree(path_);
}

bool createFolder(const std::string& path)
{
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool setModifiedTime(const std::string& path, int64_t secondsSince1970)
{
    UniqueWin32File file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file)
        return false;
    int64_t ticks = secondsSince1970 * 10000000LL + UNIX_EPOCH_AS_FILETIME;
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return SetFileTime(file.get(), nullptr, nullptr, &time) != 0;
}

int64_t modifiedTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    int64_t ticks = (static_cast<int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                    data.ftLastWriteTime.dwLowDateTime;
    return (ticks - UNIX_EPOCH_AS_FILETIME) / 10000000LL;
}

bool setFileSize(const std::string& path, int64_t size)
{
    UniqueWin32File file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER end;
    end.QuadPart = size;
    return file && SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get());
}

FileLock::FileLock(const std::string& path) : path_(path)
{
    handle_ = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    locked_ = handle_ != INVALID_HANDLE_VALUE;
}

FileLock::~FileLock()
{
    if (locked_)
        CloseHandle(handle_);
}

std::string FileLock::errorText() const
{
    char text[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_SHARING_VIOLATION, 0, text, sizeof text, nullptr);
    return text;
}
