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
//   files              F times: string (the rest of the path after its directory and one
//                      backslash: the file-name part of any ordinary path), integer (its
//                      directory's index)
//   R                  integer, then R project records
//
// After the project records come sections, each begun by its own marker integer, each written only
// when it has something to say: the watch lists of watch_list.h (some project's file list depends
// on folders or imported files), then the cuts of model_cuts.h (some project file lost something
// to a bound). A reader that stops after the project records (as every reader before the sections
// did) reads such a file as before, and bytes that begin no known section end the reading.
//
// Paths are read back lower-cased; directory and rest are joined with one backslash unless the
// directory is empty or ends in one, which rebuilds every stored path byte for byte (a path that
// the rule couldn't rebuild is stored whole, under an empty directory).
//
// The file comes from disk and is untrusted: a file larger than MAX_CACHE_FILE_SIZE is not read;
// every length and count is checked against the bytes left before anything is allocated, every
// directory index against the table, the nesting against MAX_REFERENCE_DEPTH, the projects and
// files against the model's limits (ModelBudget); any fault, running out of memory included,
// fails the whole read, and the caller then rebuilds the file from the solution. Every model a
// load builds keeps within these limits, and the writer refuses to grow a file beyond
// MAX_CACHE_FILE_SIZE, so every cache file a load writes reads back.

#include "solution/project.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

// The tool's version 1.14 as major * 65536 + minor. Files of any other version are rebuilt.
constexpr int32_t CACHE_FORMAT_VERSION = 0x1000E;
constexpr size_t REVISION_SIZE = 40;

// The largest cache file written or read: 256 MiB. Five million files of ordinary paths take some
// 150 MB; a larger size is damage, or a sparse file whose lengths would ask for gigabytes.
constexpr int64_t MAX_CACHE_FILE_SIZE = 256 * 1024 * 1024;

// The name is that of a cache file, or of one being written ("App.sln.qlcache", "qlcache-12.tmp"):
// the tool's own files, which no folder walk lists as a project's.
bool isCacheFileName(const std::string& name);

// Writes the cache's fields to a stream, through a buffer of its own (a million files are some
// three million fields); every call is false once a write came up short or the file would grow
// beyond MAX_CACHE_FILE_SIZE. Nothing is complete before flush.
class CacheWriter {
public:
    explicit CacheWriter(FILE* stream);

    // The value as 4 bytes, little-endian.
    bool writeInteger(int32_t value);
    // The bytes as they are.
    bool writeBytes(const void* bytes, size_t size);
    // The length, then the bytes.
    bool writeString(const std::string& text);
    bool writeString(const char* text, size_t length);
    // A file entry: writeString of the rest, then writeInteger of its directory's index.
    bool writeFileEntry(const char* rest, size_t restLength, int32_t directoryIndex);
    // Hands what is buffered to the stream; false when it came up short.
    bool flush();

private:
    FILE* stream_;
    int64_t bytesWritten_ = 0;
    std::vector<char> buffer_;
    size_t used_ = 0;  // the bytes of buffer_ not yet handed to the stream
};

// Reads the cache's fields from a stream of known size, through a buffer of its own. Every read
// checks the bytes left first, and changes its output only when it succeeds.
class CacheReader {
public:
    CacheReader(FILE* stream, int64_t size);

    // 4 bytes, little-endian.
    bool readInteger(int32_t& value);
    // Moves past size bytes.
    bool skip(size_t size);
    // A string is cut at its first NUL, if it holds one.
    bool readString(std::string& text);
    // A file entry of a project record: the length bytes of the rest of its path as the file holds
    // them (not yet cut at a NUL nor lower-cased), as a view into the reader's own buffer that the
    // caller may change, valid until the next read; and its directory's index. Spares a copy per
    // file.
    bool readFileEntry(char*& rest, size_t& length, int32_t& directoryIndex);
    // A count of entries, each needing at least entrySize bytes: false when the bytes left can't
    // hold them. A negative count reads as 0.
    bool readCount(int32_t& count, size_t entrySize);

    // The rests of count files took bytes in their list, NULs included: what likelyRestBytes
    // averages.
    void countRests(size_t count, size_t bytes);
    // How many bytes the rests of count more files will likely take, NULs included: the average
    // so far, and an eighth more, so that a list reserved that large rarely grows; never more than
    // the bytes left in the file.
    size_t likelyRestBytes(size_t count) const;

    // The directory table of the project record being read. Kept from record to record, so that
    // each reuses the strings of the last rather than allocating its own.
    std::vector<std::string> directories;

    // Take count projects or files from the reader's ModelBudget; false when fewer are left.
    bool takeProjects(int32_t count);
    bool takeFiles(int32_t count);

    // One more level of project-record nesting for as long as it lives; entered() is false, and
    // nothing counted, when the record would nest deeper than MAX_REFERENCE_DEPTH.
    class Nesting {
    public:
        explicit Nesting(CacheReader& reader);
        ~Nesting();
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;
        bool entered() const { return entered_; }

    private:
        CacheReader& reader_;
        bool entered_;
    };

private:
    // Makes size bytes of the file lie in the buffer from bufferStart_ on; false when the file hasn't them.
    bool fill(size_t size);
    // fill when the buffer doesn't hold them: moves what is left to its start and reads on.
    bool refill(size_t size);
    // The bytes of the file not yet read through the reader.
    int64_t bytesLeft() const;

    FILE* stream_;
    int64_t unread_;  // the bytes of the file not yet in the buffer: it never holds more than the file
    std::vector<char> buffer_;
    size_t bufferStart_ = 0;  // the next byte of buffer_ to hand out
    size_t bufferEnd_ = 0;    // the end of what the stream gave
    uint64_t restBytes_ = 0;  // the rests of the files read so far, and their number
    uint64_t rests_ = 0;
    ModelBudget budget_;
    size_t depth_ = 0;
};

// The entries of a section's table, by project, in the order of their keys: the same table always
// gives the same bytes, whatever order the hash table holds them in.
template <typename Value>
std::vector<const std::pair<const std::string, Value>*> sortedByKey(const std::unordered_map<std::string, Value>& table)
{
    std::vector<const std::pair<const std::string, Value>*> entries;
    entries.reserve(table.size());
    for (const auto& entry : table)
        entries.push_back(&entry);
    std::sort(entries.begin(), entries.end(), [](const auto* a, const auto* b) { return a->first < b->first; });
    return entries;
}

#endif
