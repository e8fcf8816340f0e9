#ifndef QUORLAN_TESTS_SUPPORT_TEMP_DIR_H
#define QUORLAN_TESTS_SUPPORT_TEMP_DIR_H

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes away. Paths are Windows paths with backslashes, in native builds too (where the
// file-system seam maps them: "Z:\tmp\..." is /tmp/...). temp_dir_win32.cpp or temp_dir_posix.cpp
// holds what differs.

#include <cstdint>
#include <string>

class TempDir {
public:
    TempDir();
    // The folder at exactly fixedPath, emptied first if a run that died left it behind: for tests
    // whose files hold their own paths and are compared with files written elsewhere.
    explicit TempDir(const std::string& fixedPath);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // The full path of a relative name ("a\\b.cpp") inside the folder.
    std::string path(const std::string& relative) const;

    // Writes a file (creating its folders); returns its full path.
    std::string write(const std::string& relative, const std::string& content = "") const;

private:
    std::string path_;
};

// File helpers for tests that work on real files.
bool writeFile(const std::string& path, const std::string& content);
std::string readFile(const std::string& path);  // "" when it can't be read
bool fileExists(const std::string& path);
bool createFolder(const std::string& path);  // false when it can't be made or exists already

// Sets a file's modification time, in seconds since 1970 (UTC).
bool setModifiedTime(const std::string& path, int64_t secondsSince1970);
int64_t modifiedTime(const std::string& path);  // -1 when it can't be read

// Keeps every other opening of a file from reading it while it lives: on Windows by holding it
// open unshared, natively by taking away its permissions (which root ignores: the lock is then
// false).
class FileLock {
public:
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    explicit operator bool() const { return locked_; }
    // The system's text for the error that an opening of the locked file meets.
    std::string errorText() const;

private:
    std::string path_;
    bool locked_ = false;
    [[maybe_unused]] void* handle_ = nullptr;  // the unshared handle, on Windows
};

// Makes the file size bytes long, the new part a hole that takes no disk space.
bool setFileSize(const std::string& path, int64_t size);

#endif
