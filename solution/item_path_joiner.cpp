#include "solution/item_path_joiner.h"

#include "solution/path.h"

namespace {

// The longest path the shell's functions make, terminator excluded.
constexpr size_t LONGEST_PATH = 259;

bool isPlainName(const char* name, size_t length)
{
    // The shell also takes a segment that merely begins with ".." for a step up.
    if (length == 0 || name[0] == '.' || name[length - 1] == '.' || name[length - 1] == ' ')
        return false;
    for (size_t i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(name[i]) >= 0x80 || name[i] == ':' || name[i] == '\\' ||
            (name[i] == '.' && name[i + 1] == '.'))
            return false;
    }
    return true;
}

}  // namespace

const std::string& ItemPathJoiner::join(const std::string& value)
{
    size_t nameStart = value.size();
    while (nameStart > 0 && value[nameStart - 1] != '\\')
        --nameStart;
    // Joined, the folder and the value fit the limit with room to spare: no join fails for length.
    if (folder_.size() + value.size() + 2 >= LONGEST_PATH ||
        !isPlainName(value.data() + nameStart, value.size() - nameStart))
        return joined_ = appendPath(folder_, value);

    if (!lastPrefix_ || value.compare(0, nameStart, lastPart_) != 0) {
        lastPart_.assign(value, 0, nameStart);
        auto found = prefixes_.find(lastPart_);
        if (found == prefixes_.end()) {
            std::string joined = appendPath(folder_, lastPart_ + "x");
            bool endsInName = joined.size() >= 2 && joined.compare(joined.size() - 2, 2, "\\x") == 0;
            found = prefixes_.emplace(lastPart_, endsInName ? joined.substr(0, joined.size() - 1) : "").first;
        }
        lastPrefix_ = &found->second;
    }
    if (lastPrefix_->empty())
        return joined_ = appendPath(folder_, value);
    return joined_.assign(*lastPrefix_).append(value, nameStart, std::string::npos);
}
