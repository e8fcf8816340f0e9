#include "solution/msbuild_properties.h"

#include "solution/text.h"

namespace {

bool isNameCharacter(char c, bool first)
{
    bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    return letter || (!first && ((c >= '0' && c <= '9') || c == '-'));
}

bool isPlainName(const std::string& name)
{
    if (name.empty())
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        if (!isNameCharacter(name[i], i == 0))
            return false;
    }
    return true;
}

}  // namespace

void PropertyTable::set(const std::string& name, const std::string& value)
{
    if (value.size() > MAX_PROPERTY_VALUE || bytesDefined_ + name.size() + value.size() > MAX_PROPERTY_BYTES)
        return;
    bytesDefined_ += name.size() + value.size();
    values_[lowerCase(name)] = value;
}

void PropertyTable::forget(const std::string& name)
{
    values_.erase(lowerCase(name));
}

const std::string* PropertyTable::find(const std::string& name) const
{
    auto found = values_.find(lowerCase(name));
    return found == values_.end() ? nullptr : &found->second;
}

bool PropertyTable::expand(const std::string& text, std::string& result) const
{
    std::string expanded;
    size_t done = 0;
    for (size_t start; (start = text.find("$(", done)) != std::string::npos;) {
        size_t end = text.find(')', start);
        if (end == std::string::npos)
            return false;
        std::string name = text.substr(start + 2, end - start - 2);
        const std::string* value = isPlainName(name) ? find(name) : nullptr;
        if (!value)
            return false;
        expanded.append(text, done, start - done).append(*value);
        done = end + 1;
        if (expanded.size() > MAX_PROPERTY_VALUE)
            return false;
    }
    expanded.append(text, done, std::string::npos);
    if (expanded.size() > MAX_PROPERTY_VALUE)
        return false;
    result.swap(expanded);
    return true;
}

bool propertyIsTrue(const PropertyTable& table, const std::string& name, bool defaultValue)
{
    const std::string* value = table.find(name);
    std::string text = value ? trimmed(*value) : "";
    return text.empty() ? defaultValue : equalsIgnoringCase(text, "true");
}
