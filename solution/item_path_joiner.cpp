#include "solution/item_path_joiner.h"

#include "solution/path.h"
#include "solution/text.h"

namespace {

// The longest path the shell's functions make, terminator excluded.
constexpr size_t LONGEST_PATH = 259;

bool isPlainName(const char* name, size_t length)
{
    // The shell also takes a segment that merely begins with ".." for a step up.
    if (length == 0 || name[0] == '.' || name[length - 1] == '.' || name[length - 1] == ' ')
        return false;
    // Runs of plain bytes four at a time; of the bytes that end a run, only a lone dot may stay.
    size_t i = plainSpan(name, length, ':', '\\', '.');
    while (i < length) {
        if (name[i] != '.' || name[i + 1] == '.')
            return false;
        ++i;
        i += plainSpan(name + i, length - i, ':', '\\', '.');
    }
    return true;
}

}  // namespace

bool ItemPathJoiner::startsWithLastPart(std::string_view value, size_t length) const
{
    // A loop rather than the runtime's memcmp, whose call costs more than these few bytes.
    if (length != lastPart_.size())
        return false;
    for (size_t i = 0; i < length; ++i) {
        if (value[i] != lastPart_[i])
            return false;
    }
    return true;
}

const std::string* ItemPathJoiner::folderOf(std::string_view value, size_t& nameStart)
{
    nameStart = value.size();
    while (nameStart > 0 && value[nameStart - 1] != '\\')
        --nameStart;
    // Joined, the folder and the value fit the limit with room to spare: no join fails for length.
    if (folder_.size() + value.size() + 2 >= LONGEST_PATH ||
        !isPlainName(value.data() + nameStart, value.size() - nameStart))
        return nullptr;

    if (!lastPrefix_ || !startsWithLastPart(value, nameStart)) {
        lastPart_.assign(value.data(), nameStart);
        auto found = prefixes_.find(lastPart_);
        if (found == prefixes_.end()) {
            std::string joined = appendPath(folder_, lastPart_ + "x");
            bool endsInName = joined.size() >= 3 && joined.compare(joined.size() - 2, 2, "\\x") == 0 &&
                              joined[joined.size() - 3] != '\\';
            found = prefixes_.emplace(lastPart_, endsInName ? joined.substr(0, joined.size() - 2) : "").first;
        }
        lastPrefix_ = &found->second;
    }
    return lastPrefix_->empty() ? nullptr : lastPrefix_;
}

const std::string& ItemPathJoiner::join(const std::string& value)
{
    size_t nameStart;
    const std::string* folder = folderOf(value, nameStart);
    if (!folder)
        return joined_ = appendPath(folder_, value);
    return joined_.assign(*folder).append(1, '\\').append(value, nameStart, std::string::npos);
}

bool ItemPathJoiner::joinSplit(std::string_view value, const std::string*& folder, size_t& nameStart)
{
    folder = folderOf(value, nameStart);
    return folder != nullptr;
}
