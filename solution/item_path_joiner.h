#ifndef QUORLAN_SOLUTION_ITEM_PATH_JOINER_H
#define QUORLAN_SOLUTION_ITEM_PATH_JOINER_H

// Joining the paths that a project's items name to the project's folder, as appendPath does,
// for projects of a hundred thousand items: the shell is asked once per folder the items name
// rather than once per item.
//
// The shell's join resolves "." and ".." segments and may drop a trailing dot, but leaves a
// plain last segment alone: appendPath(folder, "a\\b\\Name.cpp") is appendPath(folder, "a\\b\\x")
// with its "x" replaced by "Name.cpp". A name that is not plain (empty, beginning with a dot,
// holding "..", ending in a dot or a space, holding a byte above 127 that a code-page round trip
// might change) and a path near the length limit are joined by appendPath itself.

#include <string>
#include <unordered_map>

class ItemPathJoiner {
public:
    explicit ItemPathJoiner(std::string folder) : folder_(std::move(folder)) {}

    // appendPath(folder, value), for a value whose separators are backslashes; "" when it fails.
    // The text is the joiner's own, valid until the next call.
    const std::string& join(const std::string& value);

private:
    std::string folder_;
    // By the part of a value before its name: what appendPath makes of that part and a name,
    // up to the name; "" when it doesn't end in the name.
    std::unordered_map<std::string, std::string> prefixes_;
    // Items come folder by folder: the part met last, and its prefix.
    std::string lastPart_;
    const std::string* lastPrefix_ = nullptr;
    std::string joined_;
};

#endif
