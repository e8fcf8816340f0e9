#ifndef QUORLAN_SOLUTION_FILE_HANDLE_H
#define QUORLAN_SOLUTION_FILE_HANDLE_H

// C runtime streams opened shared with other processes, and whole-file reading.
//
// Visual Studio keeps solution and project files open and rewrites them while the tool runs, and
// other runs of the tool read and replace the same cache file: every stream is opened shared
// (openSharedStream), so it neither blocks them nor is blocked by them.

#include "driver/unique_resource_core.h"

#include <cstdint>
#include <cstdio>
#include <string>

class FileHandle {
public:
    // Opens path shared (openSharedStream) in mode "rt", "rb" or "wb"; check with operator bool.
    FileHandle(const std::string& path, const char* mode);

    explicit operator bool() const { return static_cast<bool>(stream_); }
    FILE* get() const { return stream_.get(); }

    // The file's length in bytes, -1 when it can't be told.
    int64_t size() const;

    // Flushes and closes the stream now; false when buffered data could not be written. The
    // destructor closes silently.
    bool close();

private:
    UniqueCStream stream_;
};

// The largest file readWholeFile accepts: 256 MiB. The biggest project files, generated ones
// with a hundred thousand items, run to tens of megabytes; a size in the gigabytes is a damaged
// or hostile file, and asking for it in one block would fail (or throw) in a 32-bit process
// whose address space is 2 GiB.
constexpr int64_t MAX_WHOLE_FILE_SIZE = 256 * 1024 * 1024;

// The whole file's bytes followed by one NUL (so a parser may work on it in place); "" when the
// file can't be opened, sized or read completely, or is larger than MAX_WHOLE_FILE_SIZE. An empty
// file gives a text of just the NUL.
std::string readWholeFile(const std::string& path);
// The same for a file already open in mode "rb", from its current position.
std::string readWholeFile(FileHandle& file);
// The same into text, whose buffer is reused; false, and text "", when readWholeFile gives "".
bool readWholeFile(FileHandle& file, std::string& text);

#endif
