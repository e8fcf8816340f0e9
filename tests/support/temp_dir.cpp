#include "tests/support/temp_dir.h"

#include "driver/unique_resource.h"

#include <cstdio>

namespace {

void createFoldersFor(const std::string& filePath)
{
    for (size_t slash = filePath.find('\\', 3); slash != std::string::npos; slash = filePath.find('\\', slash + 1))
        CreateDirectoryA(filePath.substr(0, slash).c_str(), nullptr);
}

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
        if (CreateDirectoryA(name, nullptr)) {
            path_ = name;
            return;
        }
    }
}

TempDir::TempDir(const std::string& fixedPath) : path_(fixedPath)
{
    removeTree(path_);
    createFoldersFor(path_ + "\\");
}

TempDir::~TempDir()
{
    removeTree(path_);
}

std::string TempDir::path(const std::string& relative) const
{
    return path_ + "\\" + relative;
}

std::string TempDir::write(const std::string& relative, const std::string& content) const
{
    std::string full = path(relative);
    createFoldersFor(full);
    writeFile(full, content);
    return full;
}

bool writeFile(const std::string& path, const std::string& content)
{
    UniqueCStream stream(fopen(path.c_str(), "wb"));
    if (!stream)
        return false;
    return fwrite(content.data(), 1, content.size(), stream.get()) == content.size();
}

std::string readFile(const std::string& path)
{
    UniqueCStream stream(fopen(path.c_str(), "rb"));
    if (!stream)
        return "";
    std::string content;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, stream.get())) > 0)
        content.append(buffer, got);
    return content;
}

bool fileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
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
