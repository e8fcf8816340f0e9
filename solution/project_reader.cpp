// Project::load: reading the file list and references of one project file.
//
// The reader is chosen by the project file's extension. ".vcproj" files list File elements in
// nested Filter elements; the MSBuild kinds known by their extensions list items in ItemGroup
// elements, collected group by group and, within a group, by item name in the order of the kind's
// item list (so every ClCompile of a group comes before its ClInclude items, whatever their order
// in the file). A file of any other extension is read as an MSBuild project file when it is one
// (its top-level element is Project), with every item that names files, in document order
// (msbuild_project.h); anything else is an unrecognised project type.

#include "solution/project.h"

#include "solution/file_handle.h"
#include "solution/file_system.h"
#include "solution/item_path_joiner.h"
#include "solution/load_report.h"
#include "solution/msbuild_project.h"
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

// msbuild: a kind read since before SDK-style projects, by its item list; anyMsbuild: any other
// file, read by msbuild_project.h's own rule when it proves an MSBuild project file.
enum class Format { vcproj, msbuild, setup, anyMsbuild };

const char* const VCXPROJ_ITEMS[] = {"ClCompile", "ClInclude", "None",  "ProjectReference", "ResourceCompile",
                                     "Text",      "Image",     "Compile", "CustomBuild"};
const char* const CSPROJ_ITEMS[] = {"Compile", "EmbeddedResource", "None", "Page", "Content", "TypeScriptCompile"};

struct ProjectKind {
    const char* extension;
    Format format;
    const char* const* items;  // the MSBuild item names, in collection order; null: any naming files
    size_t itemCount;
    bool sharedImports;  // the items of the files it imports as shared are its own
};

const ProjectKind KINDS[] = {
    {".vcproj", Format::vcproj, nullptr, 0, false},
    {".csproj", Format::msbuild, CSPROJ_ITEMS, std::size(CSPROJ_ITEMS), false},
    {".vcxproj", Format::msbuild, VCXPROJ_ITEMS, std::size(VCXPROJ_ITEMS), false},
    {".unityproj", Format::msbuild, VCXPROJ_ITEMS, std::size(VCXPROJ_ITEMS), false},
    {".njsproj", Format::msbuild, CSPROJ_ITEMS, std::size(CSPROJ_ITEMS), false},
    {".vdproj", Format::setup, nullptr, 0, false},
    {".shproj", Format::anyMsbuild, nullptr, 0, true},
};

const ProjectKind OTHER_KIND = {"", Format::anyMsbuild, nullptr, 0, false};

const ProjectKind& kindOf(const std::string& path)
{
    std::string extension = findExtension(path);
    for (const ProjectKind& kind : KINDS) {
        if (compareIgnoringCase(extension.c_str(), kind.extension) == 0)
            return kind;
    }
    return OTHER_KIND;
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
        : joiner_(removeFileSpec(projectPath)), budget_(budget), contents_(contents)
    {
    }

    // Adds the path named by the item's attribute. Items without the attribute, whose joined path
    // is too long, or beyond the budget are skipped.
    void add(const XmlNode& item, const char* attributeName, bool isReference)
    {
        const rapidxml::xml_attribute<>* attribute = item.first_attribute(attributeName);
        if (!attribute)
            return;
        // Visual Studio takes '/' for '\'; the shell's path functions don't: they would leave
        // "../" unresolved, and findFileName would split such a path where removeFileSpec doesn't.
        value_.assign(attribute->value());
        std::replace(value_.begin(), value_.end(), '/', '\\');
        addPath(joiner_.join(value_), isReference);
    }

    // Adds a full path; an empty one, or one beyond the budget, is skipped.
    void addPath(const std::string& full, bool isReference)
    {
        size_t taken = isReference ? contents_.references.size() : contents_.files.size();
        if (full.empty() || taken >= (isReference ? budget_.projectsLeft : budget_.filesLeft))
            return;
        if (isReference)
            contents_.references.push_back(full);
        else
            contents_.files.append(full);
    }

    // Adds what an MSBuild project file's items name.
    void addAll(MsbuildItems& items)
    {
        contents_.files = std::move(items.files);
        contents_.files.truncate(std::min<size_t>(budget_.filesLeft, contents_.files.size()));
        for (const std::string& reference : items.references)
            addPath(reference, true);
        contents_.watched = std::move(items.watched);
    }

private:
    ItemPathJoiner joiner_;  // appendPath to the project's folder
    std::string value_;      // the attribute value being added
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

// An MSBuild project file; false when it is no XML, or, when its kind is not known by its
// extension, no MSBuild project file.
bool collectMsbuild(std::string& text, const std::string& path, const ProjectKind& kind, LoadContext& context,
                    ItemCollector& collector)
{
    MsbuildProject project;
    project.path = path;
    project.solutionDir = context.solutionDir;
    project.itemNames = kind.items;
    project.itemNameCount = kind.itemCount;
    project.literalValues = kind.format == Format::msbuild;
    project.sharedImports = kind.sharedImports;
    MsbuildItems items;
    MsbuildRead read = readMsbuildProject(text, context.xml.freshDocument(), context.msbuild, project,
                                          context.walkBudget, context.budget.filesLeft, items);
    if (read == MsbuildRead::notXml || (read == MsbuildRead::notMsbuild && kind.format == Format::anyMsbuild))
        return false;
    collector.addAll(items);
    return true;
}

// What a project file that couldn't be parsed gave: nothing, and the cut when it nests too deep for
// the parser (a failed parse has only cut the text short where it wrote its terminators).
ProjectContents unreadContents(const std::string& text, bool recognised)
{
    ProjectContents unread;
    unread.recognised = recognised;
    if (!text.empty() && !xmlDepthWithin(text.c_str(), MAX_XML_DEPTH))
        unread.cuts = CUT_XML_DEPTH;
    return unread;
}

// Parses the project file and collects its items; read is false, and nothing collected, when the
// file can't be read or isn't XML the parser accepts. A file of no known kind that isn't an
// MSBuild project file is not recognised.
ProjectContents readProjectFile(const std::string& path, const ProjectKind& kind, LoadContext& context)
{
    ProjectContents contents;
    FileHandle file(path, "rb");
    if (file.size() > MAX_WHOLE_FILE_SIZE) {
        contents.cuts = CUT_FILE_SIZE;
        return contents;
    }
    std::string& text = context.xml.text;
    readWholeFile(file, text);
    ItemCollector collector(path, context.budget, contents);
    context.walkBudget.ranOut = false;
    try {
        if (kind.format == Format::vcproj) {
            rapidxml::xml_document<>& document = context.xml.freshDocument();
            if (!parseXml(text, document))
                return unreadContents(text, true);
            collectVcproj(document, collector);
        } else if (!collectMsbuild(text, path, kind, context, collector)) {
            return unreadContents(text, kind.format != Format::anyMsbuild);
        }
    } catch (const std::bad_alloc&) {
        return ProjectContents();  // a file whose items don't fit in memory is as good as unreadable
    }
    contents.read = true;
    if (context.walkBudget.ranOut)
        contents.cuts |= CUT_FOLDER_WALK;
    return contents;
}

// The project file's contents as first read during this load.
ProjectContents& contentsOf(const std::string& path, const ProjectKind& kind, LoadContext& context)
{
    std::string key = lowerCase(path);
    auto found = context.parsed.find(key);
    if (found == context.parsed.end()) {
        ProjectContents contents = readProjectFile(path, kind, context);
        if (!contents.watched.empty())
            context.watches.lists[key] = std::move(contents.watched);
        if (contents.cuts)
            context.cuts.projects[key] |= contents.cuts;
        found = context.parsed.emplace(std::move(key), std::move(contents)).first;
    }
    return found->second;
}

// Whether the project file is not newer than the cache (equal times count as fresh; false when
// it can't be stat'ed) and every folder and file its list depends on has its recorded time. Asked
// once per file and load, however many projects share the file; a fresh file keeps its watch list.
bool isFresh(const std::string& path, int64_t cacheTime, LoadContext& context)
{
    auto found = context.fresh.emplace(lowerCase(path), false);
    if (found.second) {
        int64_t time;
        bool fresh = modificationTime(path, time) && time <= cacheTime;
        auto cached = context.cachedWatches.lists.find(found.first->first);
        if (fresh && cached != context.cachedWatches.lists.end()) {
            fresh = watchListUnchanged(cached->second, context.solutionDir, cacheTime);
            if (fresh)
                context.watches.lists[cached->first] = std::move(cached->second);
        }
        auto cut = context.cachedCuts.projects.find(found.first->first);
        if (fresh && cut != context.cachedCuts.projects.end())
            context.cuts.projects[cut->first] |= cut->second;
        found.first->second = fresh;
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
        files.truncate(takeUpTo(context.budget.filesLeft, files.size()));
        references.resize(takeUpTo(context.budget.projectsLeft, references.size()));
        modified = false;
        childFlag = true;
    } else {
        clear();
        const ProjectKind& kind = kindOf(path);
        if (kind.format == Format::setup)
            return false;
        ProjectContents& contents = contentsOf(path, kind, context);
        if (!contents.recognised) {
            reportLoadProblem("Quorlan", "Unrecognised project type in file '%s'!\n", path.c_str());
            return false;
        }
        if (!contents.read)
            return false;
        // The first project of the file takes its list, later ones copy that project's: its list
        // was cut only if the budget ran out, and then they get no files either way.
        if (contents.filesTakenBy) {
            files = *contents.filesTakenBy;
        } else {
            files = std::move(contents.files);
            contents.filesTakenBy = &files;
        }
        files.truncate(takeUpTo(context.budget.filesLeft, files.size()));
        // A project as deep as the cache can hold gets no references.
        if (context.chain.size() + 1 < MAX_REFERENCE_DEPTH) {
            size_t referenceCount = takeUpTo(context.budget.projectsLeft, contents.references.size());
            for (size_t i = 0; i < referenceCount; ++i)
                references.push_back(std::make_unique<Project>(baseDir, contents.references[i]));
        } else if (!contents.references.empty()) {
            context.cuts.projects[lowerCase(path)] |= CUT_REFERENCE_DEPTH;
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
