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
#include <string_view>
#include <unordered_map>

class ItemPathJoiner {
public:
    explicit ItemPathJoiner(std::string folder) : folder_(std::move(folder)) {}

    // appendPath(folder, value), for a value whose separators are backslashes; "" when it fails.
    // The text is the joiner's own, valid until the next call.
    const std::string& join(const std::string& value);

    // The same join in two parts, without composing it: true when it is *folder, a backslash and
    // the value's own last segment, which starts at nameStart in value and is a plain name (some
    // bytes, none of them a backslash, a colon or above 127). The folder is not empty, ends in no
    // backslash, and is the joiner's own, valid as long as the joiner. False when the join is
    // anything else (join it then).
    bool joinSplit(std::string_view value, const std::string*& folder, size_t& nameStart);

private:
    // The folder that the value's plain name joins, and where the name starts; null when the
    // value must be joined whole.
    const std::string* folderOf(std::string_view value, size_t& nameStart);
    // value begins with lastPart_.
    bool startsWithLastPart(std::string_view value) const;

    std::string folder_;
    // By the part of a value before its name: what appendPath makes of that part and a name, up
    // to the backslash before the name; "" when it doesn't end in a backslash and the name, or
    // what comes before that backslash is empty or ends in another.
    std::unordered_map<std::string, std::string> prefixes_;
    // Items come folder by folder: the part met last, and its prefix.
    std::string lastPart_;
    const std::string* lastPrefix_ = nullptr;
    std::string joined_;
};

#endif
