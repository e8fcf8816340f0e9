#ifndef QUORLAN_SOLUTION_MSBUILD_PROPERTIES_H
#define QUORLAN_SOLUTION_MSBUILD_PROPERTIES_H

// The properties that item values of an MSBuild project file may refer to as "$(Name)", and the
// expansion of such references.
//
// The table holds what the reader can know without building: the path properties it sets itself
// (the project's and the solution's folders) and the properties a project file defines without a
// condition. A reference to anything else (a property of the build configuration, of an imported
// .props file, a property function such as "$([System.IO.Path]::Combine(...))") can't be
// expanded: expand() then fails, and the caller leaves out the item, since the path it would make
// names a file in a place that can't be told.
//
// Names compare without regard to ASCII case, as MSBuild's do. The table is filled from untrusted
// files: a value is at most MAX_PROPERTY_VALUE bytes, and once the values defined add up to
// MAX_PROPERTY_BYTES further definitions are ignored (their properties stay unknown).

#include <cstddef>
#include <string>
#include <unordered_map>

constexpr size_t MAX_PROPERTY_VALUE = 32 * 1024;
constexpr size_t MAX_PROPERTY_BYTES = 1024 * 1024;

class PropertyTable {
public:
    // Gives the property a value, replacing any earlier one.
    void set(const std::string& name, const std::string& value);
    // Makes the property unknown again.
    void forget(const std::string& name);
    // The property's value; null when it is unknown.
    const std::string* find(const std::string& name) const;

    // text with every "$(Name)" replaced by the value of the property Name. False, result
    // unchanged, when a reference is unknown or no plain name, or the result would be longer than
    // MAX_PROPERTY_VALUE.
    bool expand(const std::string& text, std::string& result) const;

private:
    std::unordered_map<std::string, std::string> values_;  // by lower-cased name
    size_t bytesDefined_ = 0;
};

// Whether a boolean property is on: its value is "true" in any letter case, around spaces; an
// unknown or empty property has defaultValue. (MSBuild's default item switches are written this
// way: empty counts as "true", anything but "true" as off.)
bool propertyIsTrue(const PropertyTable& table, const std::string& name, bool defaultValue);

#endif
