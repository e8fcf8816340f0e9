#ifndef QUORLAN_SOLUTION_FILE_SYSTEM_H
#define QUORLAN_SOLUTION_FILE_SYSTEM_H

// The solution model's one way to the file system.
//
// The code that turns files into the model (the solution, project and cache readers) reaches the
// disk through these functions only and includes no Windows header, so that it also builds and
// runs natively for sanitizer and fuzzing builds. The program links file_system_win32.cpp, native
// builds file_system_posix.cpp (which maps the model's Windows paths, native_path.h).
//
// Paths are 8-bit (ANSI) strings, as everywhere in the model.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// A file or folder of that name exists.
bool pathExists(const std::string& path);

// The C runtime's stat succeeds on the path.
bool statExists(const std::string& path);

// The path's modification time in seconds since 1970, as the C runtime's stat gives it; false
// when it can't be stat'ed.
bool modificationTime(const std::string& path, int64_t& seconds);

// A stdio stream on path in mode "rb", "rt" or "wb" ("wb" creates or empties the file). Other
// processes may read and write the file while it is open, and delete or replace a file open for
// reading: Visual Studio rewrites solution and project files while the tool reads them, and other
// runs of the tool replace the cache file. A file open for writing can't be deleted meanwhile.
// Null on failure; lastErrorText then tells why.
FILE* openSharedStream(const std::string& path, const char* mode);

// The length in bytes of the file open on the stream; -1 when it can't be told.
int64_t streamLength(FILE* stream);

// Deletes the file; false when it can't (lastErrorText tells why).
bool deleteFile(const std::string& path);

// Moves the file from over the file to in one step: a reader of to sees the old file or the new
// one, never neither and never a mix. False when it can't (lastErrorText tells why).
bool replaceFile(const std::string& from, const std::string& to);

// The running process's id.
uint32_t currentProcessId();

// The system's readable text for the failure of the last call above that failed on this
// thread, "" when there is none.
std::string lastErrorText();

// One entry of a folder.
struct DirectoryEntry {
    std::string name;          // the entry's own name, no folder
    bool isDirectory = false;
    int64_t modificationTime = 0;  // seconds since 1970
};

// The entries of the folder at path, without "." and "..", in the order the system lists them;
// false when the folder can't be listed.
bool listDirectory(const std::string& path, std::vector<DirectoryEntry>& entries);

// What tells a folder from every other: paths that reach one folder through a junction or a
// symbolic link give the same identity.
struct FolderIdentity {
    uint64_t volume = 0;
    uint64_t index = 0;
    bool operator==(const FolderIdentity& other) const { return volume == other.volume && index == other.index; }
};

// The identity of the folder at path; false when it can't be told.
bool folderIdentity(const std::string& path, FolderIdentity& identity);

#endif
