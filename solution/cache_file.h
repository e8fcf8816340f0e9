#ifndef QUORLAN_SOLUTION_CACHE_FILE_H
#define QUORLAN_SOLUTION_CACHE_FILE_H

// The cache file beside each solution ("App.sln.qlcache"): the loaded model and the open-file
// window's state, so that later runs read only the project files that changed.
//
// Layout. Integers are 32-bit little-endian, counts and the selection signed; a string is its
// byte length L (no terminator counted) followed by its L bytes.
//
//   format version     CACHE_FORMAT_VERSION
//   revision           40 lower-case hexadecimal characters of the build that wrote it (not checked)
//   lastFilter         string
//   lastSelection      integer, -1 for none
//   solutionPath       string
//   N                  integer, then N project records in solution order
//
// Project record, nested for references:
//
//   path               string
//   F, D               integers: number of files, number of distinct directories among them
//   directories        D strings: removeFileSpec of each file, in order of first appearance
//                      (byte-for-byte distinct, so "C:\s" and "c:\s" are two entries)
//   files              F times: string (the file-name part), integer (its directory's index)
//   R                  integer, then R project records
//
// Paths are read back lower-cased. The file comes from disk and is untrusted: every length and
// count is checked against the bytes left before anything is allocated, every directory index
// against the table, the nesting against MAX_REFERENCE_DEPTH; any fault fails the whole read,
// and the caller then rebuilds the file from the solution.

#include <cstdint>
#include <cstdio>
#include <string>

// The tool's version 1.14 as major * 65536 + minor. Files of any other version are rebuilt.
constexpr int32_t CACHE_FORMAT_VERSION = 0x1000E;
constexpr size_t REVISION_SIZE = 40;

// Writes the cache's fields to a stream; every call is false once a write came up short.
class CacheWriter {
public:
    explicit CacheWriter(FILE* stream) : stream_(stream) {}

    bool writeInteger(int32_t value);
    bool writeBytes(const void* bytes, size_t size);
    // The length, then the bytes.
    bool writeString(const std::string& text);

private:
    FILE* stream_;
};

// Reads the cache's fields from a stream of known size. Every read checks the bytes left first,
// and changes its output only when it succeeds.
class CacheReader {
public:
    CacheReader(FILE* stream, int64_t size);

    bool readInteger(int32_t& value);
    bool skip(size_t size);
    // A string is cut at its first NUL, if it holds one.
    bool readString(std::string& text);
    // A count of entries, each needing at least entrySize bytes: false when the bytes left can't
    // hold them. A negative count reads as 0.
    bool readCount(int32_t& count, size_t entrySize);

    // Takes count entries from the reader's budget (MAX_MODEL_ENTRIES); false when exhausted.
    bool takeEntries(int32_t count);

    size_t depth = 0;  // nesting of the project record being read

private:
    bool readBytes(void* bytes, size_t size);

    FILE* stream_;
    int64_t bytesLeft_;
    uint32_t entriesLeft_;
};

// Smallest sizes of a project record (path length, F, D, R), a directory (its length) and a
// file entry (name length, index).
constexpr size_t MIN_PROJECT_RECORD_SIZE = 16;
constexpr size_t MIN_DIRECTORY_SIZE = 4;
constexpr size_t MIN_FILE_ENTRY_SIZE = 8;

#endif
