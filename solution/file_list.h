#ifndef QUORLAN_SOLUTION_FILE_LIST_H
#define QUORLAN_SOLUTION_FILE_LIST_H

// FileList: the full paths of one project's files, held the way the cache file holds them.
//
// A table of the distinct directories (removeFileSpec of each path, byte for byte, in order of
// first appearance) and, per file, the index of its directory and the rest of the path after the
// directory and one backslash. The rests lie one after another in one block, each ending in a
// NUL. A file costs its rest plus 9 bytes, where a string of its own cost some 80; the cache
// writer writes the table as it stands, and the cache reader fills it without joining or
// splitting a path.
//
// A path is composed on demand: the directory, a backslash unless the directory is empty or ends
// in one, the rest. A path that this rule would not give back byte for byte is held whole under an
// empty directory, as the cache file stores it. The split is a function of the path alone, so two
// files have the same path exactly when they have the same directory text and the same rest.

#include "solution/byte_block.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class FileList {
public:
    FileList() = default;
    // A list of the paths, appended in order.
    explicit FileList(const std::vector<std::string>& paths);

    // Appends a full path, splitting it as above.
    void append(const std::string& path);

    // Appends the file whose path joins directory and rest (restLength bytes, no NUL among them):
    // the cache reader's way. Gives the same list as append of the joined path, but asks the
    // shell's rule once per directory rather than once per file: slot keeps its answer. Start
    // a slot at NEW_DIRECTORY for each directory, and pass it with every file of that directory.
    void appendSplit(const std::string& directory, const char* rest, size_t restLength, int32_t& slot);
    static constexpr int32_t NEW_DIRECTORY = -2;
    // appendSplit of a rest known to be plain (some bytes, no backslash or colon among them), as the
    // name of a project item joined by ItemPathJoiner::joinSplit is: without looking at its bytes.
    void appendPlain(const std::string& directory, const char* rest, size_t restLength, int32_t& slot);
    // The quick way for nearly every file after its directory's first: appends the file whose
    // directory lies at position directory of the table and whose rest is the length bytes at rest,
    // lower-cased, when they are plain (some bytes, no NUL, backslash or colon: the slot that
    // appendSplit gave for the directory then serves it as is). False, and nothing appended, when
    // they are not: appendSplit takes those.
    bool appendLowerCased(uint32_t directory, const char* rest, size_t length);

    size_t size() const { return restStart_.size(); }
    bool empty() const { return restStart_.empty(); }

    // The full path of the file at position 0 to size() - 1.
    std::string path(size_t file) const;
    // Its directory, as in the table.
    const std::string& directoryOf(size_t file) const { return directories_[directoryIndex_[file]]; }
    // Its directory's position in the table.
    uint32_t directoryIndex(size_t file) const { return directoryIndex_[file]; }
    // The rest of its path, ending in a NUL.
    const char* rest(size_t file) const { return text_.data() + restStart_[file]; }
    size_t restLength(size_t file) const
    {
        size_t end = file + 1 < restStart_.size() ? restStart_[file + 1] : text_.size();
        return end - restStart_[file] - 1;
    }

    // The distinct directories, in order of first appearance.
    const std::vector<std::string>& directories() const { return directories_; }

    // Every full path, in order.
    std::vector<std::string> paths() const;

    // Keeps the first count files (all when there are fewer) and the directories they use.
    void truncate(size_t count);
    // Empties the list and gives its memory back.
    void clear() { *this = FileList(); }

    // How many bytes the rests take, NULs included.
    size_t textSize() const { return text_.size(); }
    // Room for files more files, textSize more bytes of rests and directories more directories.
    void reserve(size_t files, size_t textSize, size_t directories = 0);

private:
    // What the split rule gives for a directory: its position in the table (-1 until a file uses
    // it), and whether every rest without a separator joins to it and splits back the same way.
    struct Directory {
        int32_t index = -1;
        bool splitsAlike = false;
    };

    bool appendToKnown(const std::string& directory, const char* rest, size_t restLength);
    // appendSplit's slot for a directory: its table position, the directory added when new, or -1
    // when it doesn't split alike. Enters nothing in known_: the cache reader's lists are never
    // appended to by path, and an entry there costs two allocations per directory and project.
    int32_t splitSlot(const std::string& directory);
    int32_t tableIndexOf(const std::string& directory);
    // Enters the directories that splitSlot added in known_.
    void indexDirectories();
    Directory& entryFor(const std::string& directory);
    uint32_t tableIndex(Directory& entry, const std::string& directory);
    bool appendToLast(const char* directory, size_t directoryLength, const char* rest, size_t restLength);
    void push(uint32_t directory, const char* rest, size_t restLength);

    std::vector<std::string> directories_;
    std::vector<uint32_t> directoryIndex_;
    std::vector<uint32_t> restStart_;
    ByteBlock text_;
    std::unordered_map<std::string, Directory> known_;
    // directories_ before this position are in known_; splitSlot adds those after it, which all
    // split alike, and searches them one by one while they are no more than MAX_UNINDEXED.
    size_t indexed_ = 0;
    static constexpr size_t MAX_UNINDEXED = 32;
    uint32_t lastDirectory_ = UINT32_MAX;  // the table entry of the last file that split alike
};

// Whether a backslash goes between a directory and the rest of a path: unless the directory is
// empty or already ends in one ("C:\").
bool needsSeparator(const std::string& directory);

#endif
