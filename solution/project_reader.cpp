// Project::load: reading the file list and references of one project file.
//
// The reader is chosen by the project file's extension. ".vcproj" files list File elements in
// nested Filter elements; the MSBuild formats list items in ItemGroup elements, collected group
// by group and, within a group, by item name in the order of the format's item list (so every
// ClCompile of a group comes before its ClInclude items, whatever their order in the file).

#include "solution/project.h"

#include "driver/report_error.h"
#include "solution/file_handle.h"
#include "solution/path.h"
#include "solution/xml_depth.h"

#include <rapidxml.hpp>

#include <windows.h>
#include <shlwapi.h>

#include <cstring>
#include <iterator>
#include <new>

namespace {

using XmlNode = rapidxml::xml_node<>;

enum class Format { vcproj, msbuild, setup, unknown };

const char* const VCXPROJ_ITEMS[] = {"ClCompile", "ClInclude", "None",  "ProjectReference", "ResourceCompile",
                                     "Text",      "Image",     "Compile", "CustomBuild"};
const char* const CSPROJ_ITEMS[] = {"Compile", "EmbeddedResource", "None", "Page", "Content", "TypeScriptCompile"};

struct ProjectKind {
    const char* extension;
    Format format;
    const char* const* items;  // the MSBuild item names, in collection order
    size_t itemCount;
};

const ProjectKind KINDS[] = {
    {".vcproj", Format::vcproj, nullptr, 0},
    {".csproj", Format::msbuild, CSPROJ_ITEMS, std::size(CSPROJ_ITEMS)},
    {".vcxproj", Format::msbuild, VCXPROJ_ITEMS, std::size(VCXPROJ_ITEMS)},
    {".unityproj", Format::msbuild, VCXPROJ_ITEMS, std::size(VCXPROJ_ITEMS)},
    {".njsproj", Format::msbuild, CSPROJ_ITEMS, std::size(CSPROJ_ITEMS)},
    {".vdproj", Format::setup, nullptr, 0},
};

const ProjectKind UNKNOWN_KIND = {"", Format::unknown, nullptr, 0};

const ProjectKind& kindOf(const std::string& path)
{
    const char* extension = PathFindExtensionA(path.c_str());
    for (const ProjectKind& kind : KINDS) {
        if (_stricmp(extension, kind.extension) == 0)
            return kind;
    }
    return UNKNOWN_KIND;
}

bool isOnChain(const std::string& path, const std::vector<std::string>& chain)
{
    for (const std::string& link : chain) {
        if (_stricmp(link.c_str(), path.c_str()) == 0)
            return true;
    }
    return false;
}

// Turns item elements into the project's files and references.
class ItemCollector {
public:
    ItemCollector(Project& project, LoadContext& context)
        : project_(project),
          context_(context),
          projectDir_(removeFileSpec(project.path)),
          referencesAllowed_(context.chain.size() + 1 < MAX_REFERENCE_DEPTH)
    {
    }

    // Adds the file (or reference) named by the item's attribute. Items without the attribute,
    // whose joined path is too long, or beyond the entry budget are skipped.
    void add(const XmlNode& item, const char* attributeName, bool isReference)
    {
        const rapidxml::xml_attribute<>* attribute = item.first_attribute(attributeName);
        if (!attribute || context_.entriesLeft == 0 || (isReference && !referencesAllowed_))
            return;
        std::string full = appendPath(projectDir_, attribute->value());
        if (full.empty())
            return;
        --context_.entriesLeft;
        if (isReference)
            project_.references.push_back(std::make_unique<Project>(project_.baseDir, full));
        else
            project_.files.push_back(std::move(full));
    }

private:
    Project& project_;
    LoadContext& context_;
    std::string projectDir_;
    bool referencesAllowed_;
};

// A level of a ".vcproj" file list: its File elements, then each Filter the same way. The
// depth guard that ran before the parse bounds the recursion.
void collectVcprojLevel(const XmlNode& level, ItemCollector& collector)
{
    for (const XmlNode* file = level.first_node("File"); file; file = file->next_sibling("File"))
        collector.add(*file, "RelativePath", false);
    for (const XmlNode* filter = level.first_node("Filter"); filter; filter = filter->next_sibling("Filter"))
        collectVcprojLevel(*filter, collector);
}

void collectVcproj(const XmlNode& document, ItemCollector& collector)
{
    const XmlNode* root = document.first_node("VisualStudioProject");
    const XmlNode* files = root ? root->first_node("Files") : nullptr;
    if (files)
        collectVcprojLevel(*files, collector);
}

void collectMsbuild(const XmlNode& document, const ProjectKind& kind, ItemCollector& collector)
{
    const XmlNode* root = document.first_node("Project");
    if (!root)
        return;
    for (const XmlNode* group = root->first_node("ItemGroup"); group; group = group->next_sibling("ItemGroup")) {
        for (size_t i = 0; i < kind.itemCount; ++i) {
            const char* name = kind.items[i];
            bool isReference = strcmp(name, "ProjectReference") == 0;
            for (const XmlNode* item = group->first_node(name); item; item = item->next_sibling(name))
                collector.add(*item, "Include", isReference);
        }
    }
}

// Parses the project file and collects its items; false, with the project left empty, when the
// file can't be read or isn't XML the parser accepts.
bool readProjectFile(Project& project, const ProjectKind& kind, LoadContext& context)
{
    std::string text = readWholeFile(project.path);
    if (text.empty() || !xmlDepthWithin(text.c_str(), MAX_XML_DEPTH))
        return false;
    ItemCollector collector(project, context);
    try {
        // The document holds a 64 KiB memory pool: on the heap, not in a frame of this recursion.
        auto document = std::make_unique<rapidxml::xml_document<>>();
        document->parse<0>(&text[0]);
        if (kind.format == Format::vcproj)
            collectVcproj(*document, collector);
        else
            collectMsbuild(*document, kind, collector);
    } catch (const rapidxml::parse_error&) {
        project.clear();
        return false;
    } catch (const std::bad_alloc&) {
        project.clear();  // a file whose nodes don't fit in memory is as good as unreadable
        return false;
    }
    return true;
}

}  // namespace

bool Project::load(bool useCacheTimes, const struct _stat64i32& cacheStat, LoadContext& context)
{
    bool modified = true;
    bool childFlag = false;
    struct _stat64i32 status;
    if (useCacheTimes && _stat64i32(path.c_str(), &status) == 0 && status.st_mtime <= cacheStat.st_mtime) {
        modified = false;
        childFlag = true;
    } else {
        clear();
        const ProjectKind& kind = kindOf(path);
        if (kind.format == Format::setup)
            return false;
        if (kind.format == Format::unknown) {
            reportError("Quorlan", "Unrecognised project type in file '%s'!\n", path.c_str());
            return false;
        }
        if (!readProjectFile(*this, kind, context))
            return false;
    }

    context.chain.push_back(path);
    for (const std::unique_ptr<Project>& reference : references) {
        if (!isOnChain(reference->path, context.chain) && reference->load(childFlag, cacheStat, context))
            modified = true;
    }
    context.chain.pop_back();
    return modified;
}
