// Project::load: reading the file list and references of one project file.
//
// The reader is chosen by the project file's extension. ".vcproj" files list File elements in
// nested Filter elements; the MSBuild formats list items in ItemGroup elements, collected group
// by group and, within a group, by item name in the order of the format's item list (so every
// ClCompile of a group comes before its ClInclude items, whatever their order in the file).

#include "solution/project.h"

#include "solution/file_handle.h"
#include "solution/file_system.h"
#include "solution/load_report.h"
#include "solution/path.h"
#include "solution/text.h"
#include "solution/xml_depth.h"

#include <rapidxml.hpp>

#include <algorithm>
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
    std::string extension = findExtension(path);
    for (const ProjectKind& kind : KINDS) {
        if (compareIgnoringCase(extension.c_str(), kind.extension) == 0)
            return kind;
    }
    return UNKNOWN_KIND;
}

bool isOnChain(const std::string& path, const std::vector<std::string>& chain)
{
    for (const std::string& link : chain) {
        if (compareIgnoringCase(link.c_str(), path.c_str()) == 0)
            return true;
    }
    return false;
}

// Turns item elements into the full paths of a project file's contents, no more of each kind
// than the budget has left.
class ItemCollector {
public:
    ItemCollector(const std::string& projectPath, const ModelBudget& budget, ProjectContents& contents)
        : projectDir_(removeFileSpec(projectPath)), budget_(budget), contents_(contents)
    {
    }

    // Adds the path named by the item's attribute. Items without the attribute, whose joined path
    // is too long, or beyond the budget are skipped.
    void add(const XmlNode& item, const char* attributeName, bool isReference)
    {
        std::vector<std::string>& list = isReference ? contents_.references : contents_.files;
        const rapidxml::xml_attribute<>* attribute = item.first_attribute(attributeName);
        if (!attribute || list.size() >= (isReference ? budget_.projectsLeft : budget_.filesLeft))
            return;
        // MSBuild takes '/' for '\'; the shell's path functions don't: they would leave "../"
        // unresolved, and findFileName would split such a path where removeFileSpec doesn't.
        std::string value = attribute->value();
        std::replace(value.begin(), value.end(), '/', '\\');
        std::string full = appendPath(projectDir_, value);
        if (!full.empty())
            list.push_back(std::move(full));
    }

private:
    std::string projectDir_;
    const ModelBudget& budget_;
    ProjectContents& contents_;
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

// Parses the project file and collects its items; read is false, and nothing collected, when the
// file can't be read or isn't XML the parser accepts.
ProjectContents readProjectFile(const std::string& path, const ProjectKind& kind, const ModelBudget& budget)
{
    ProjectContents contents;
    std::string text = readWholeFile(path);
    if (text.empty() || !xmlDepthWithin(text.c_str(), MAX_XML_DEPTH))
        return contents;
    ItemCollector collector(path, budget, contents);
    try {
        // The document holds a 64 KiB memory pool: on the heap, not in a frame of this recursion.
        auto document = std::make_unique<rapidxml::xml_document<>>();
        document->parse<0>(&text[0]);
        if (kind.format == Format::vcproj)
            collectVcproj(*document, collector);
        else
            collectMsbuild(*document, kind, collector);
    } catch (const rapidxml::parse_error&) {
        return ProjectContents();
    } catch (const std::bad_alloc&) {
        return ProjectContents();  // a file whose nodes don't fit in memory is as good as unreadable
    }
    contents.read = true;
    return contents;
}

// The project file's contents as first read during this load.
const ProjectContents& contentsOf(const std::string& path, const ProjectKind& kind, LoadContext& context)
{
    std::string key = lowerCase(path);
    auto found = context.parsed.find(key);
    if (found == context.parsed.end())
        found = context.parsed.emplace(std::move(key), readProjectFile(path, kind, context.budget)).first;
    return found->second;
}

// Whether the project file is not newer than the cache (equal times count as fresh); false when
// it can't be stat'ed. Asked once per file and load, however many projects share the file.
bool isFresh(const std::string& path, int64_t cacheTime, LoadContext& context)
{
    auto found = context.fresh.emplace(lowerCase(path), false);
    if (found.second) {
        int64_t time;
        found.first->second = modificationTime(path, time) && time <= cacheTime;
    }
    return found.first->second;
}

}  // namespace

bool Project::load(bool useCacheTimes, int64_t cacheTime, LoadContext& context)
{
    bool modified = true;
    bool childFlag = false;
    if (useCacheTimes && isFresh(path, cacheTime, context)) {
        // Kept from the cache, and charged here: the cache reader counted on a budget of its own.
        files.resize(takeUpTo(context.budget.filesLeft, files.size()));
        references.resize(takeUpTo(context.budget.projectsLeft, references.size()));
        modified = false;
        childFlag = true;
    } else {
        clear();
        const ProjectKind& kind = kindOf(path);
        if (kind.format == Format::setup)
            return false;
        if (kind.format == Format::unknown) {
            reportLoadProblem("Quorlan", "Unrecognised project type in file '%s'!\n", path.c_str());
            return false;
        }
        const ProjectContents& contents = contentsOf(path, kind, context);
        if (!contents.read)
            return false;
        size_t fileCount = takeUpTo(context.budget.filesLeft, contents.files.size());
        files.assign(contents.files.begin(), contents.files.begin() + fileCount);
        // A project as deep as the cache can hold gets no references.
        if (context.chain.size() + 1 < MAX_REFERENCE_DEPTH) {
            size_t referenceCount = takeUpTo(context.budget.projectsLeft, contents.references.size());
            for (size_t i = 0; i < referenceCount; ++i)
                references.push_back(std::make_unique<Project>(baseDir, contents.references[i]));
        }
    }

    context.chain.push_back(path);
    for (const std::unique_ptr<Project>& reference : references) {
        if (!isOnChain(reference->path, context.chain) && reference->load(childFlag, cacheTime, context))
            modified = true;
    }
    context.chain.pop_back();
    return modified;
}
