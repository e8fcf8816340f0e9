#include "solution/msbuild_project.h"

#include "solution/file_handle.h"
#include "solution/item_path_joiner.h"
#include "solution/msbuild_properties.h"
#include "solution/path.h"
#include "solution/sdk_default_items.h"
#include "solution/text.h"
#include "solution/wildcard.h"
#include "solution/xml_depth.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <string_view>
#include <unordered_map>

namespace {

using XmlNode = rapidxml::xml_node<>;

// Items that name no file of the project, besides every "...Reference" and "...References".
const char* const NON_FILE_ITEMS[] = {
    "AssemblyAttribute", "AssemblyMetadata",  "AvailableItemName",   "BootstrapperPackage",
    "Folder",            "Import",            "InternalsVisibleTo",  "Interpreter",
    "PackageVersion",    "ProjectCapability", "ProjectConfiguration", "PropertyPageSchema",
    "Service",           "SqlCmdVariable",    "SupportedPlatform",   "Using",
    "WCFMetadata",       "WCFMetadataStorage", "WebReferenceUrl",
};

// A shared project imports one .projitems file; a file that imports thousands is hostile.
constexpr size_t MAX_SHARED_IMPORTS = 64;

bool endsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string withBackslash(std::string folder)
{
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder;
}

const char* attributeOf(const XmlNode& node, const char* name)
{
    const rapidxml::xml_attribute<>* attribute = node.first_attribute(name);
    return attribute ? attribute->value() : nullptr;
}

// The pieces of an MSBuild list: split at ";", trimmed, empty pieces dropped.
std::vector<std::string> splitList(const std::string& value)
{
    std::vector<std::string> pieces;
    for (size_t start = 0;;) {
        size_t end = value.find(';', start);
        std::string piece = trimmed(std::string_view(value).substr(start, end == std::string::npos ? end : end - start));
        if (!piece.empty())
            pieces.push_back(std::move(piece));
        if (end == std::string::npos)
            return pieces;
        start = end + 1;
    }
}

bool matchesAny(const std::vector<PathPattern>& patterns, std::string_view path)
{
    if (patterns.empty())
        return false;  // the usual case, without splitting the path
    std::vector<std::string_view> components = splitPath(path);
    return std::any_of(patterns.begin(), patterns.end(), [&](const PathPattern& p) { return p.matches(components); });
}

// isPlainPath's test of the sixteen-byte blocks from the start, with SSE2; sets end past them.
__attribute__((target("sse2"))) bool plainPathBlocks(const char* text, size_t length, size_t& end)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i star = _mm_set1_epi8('*');
    const __m128i question = _mm_set1_epi8('?');
    const __m128i dollar = _mm_set1_epi8('$');
    const __m128i slash = _mm_set1_epi8('/');
    size_t i = 0;
    for (; i + 16 <= length; i += 16) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        __m128i other = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, zero), _mm_cmpeq_epi8(bytes, star)),
                                     _mm_or_si128(_mm_cmpeq_epi8(bytes, question), _mm_cmpeq_epi8(bytes, dollar)));
        // A byte above 127 has its top bit set as it stands.
        if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(other, _mm_cmpeq_epi8(bytes, slash)), bytes)) != 0)
            return false;
    }
    end = i;
    return true;
}

// Whether the length bytes of an item's value are one path as written, with backslashes: ASCII,
// without a NUL (a character reference can make one), a wildcard, "$" or "/". Sixteen bytes at a
// time where the processor has SSE2, then four at a time, and no call of the runtime: asked of
// every item.
bool isPlainPath(const char* text, size_t length)
{
    size_t i = 0;
    if (hasSse2() && !plainPathBlocks(text, length, i))
        return false;
    for (; i + 4 <= length; i += 4) {
        uint32_t word;
        memcpy(&word, text + i, 4);
        if (((word & 0x80808080u) | anyZeroByte(word) | anyZeroByte(word ^ '*' * EACH_BYTE) |
             anyZeroByte(word ^ '?' * EACH_BYTE) | anyZeroByte(word ^ '$' * EACH_BYTE) |
             anyZeroByte(word ^ '/' * EACH_BYTE)) != 0)
            return false;
    }
    for (; i < length; ++i) {
        char c = text[i];
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\0' || c == '*' || c == '?' || c == '$' || c == '/')
            return false;
    }
    return true;
}

// The same names, compared without a call of the runtime's memcmp.
bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

bool isSdkProject(const XmlNode& root)
{
    const char* sdk = attributeOf(root, "Sdk");
    if ((sdk && *sdk) || root.first_node("Sdk"))
        return true;
    for (const XmlNode* import = root.first_node("Import"); import; import = import->next_sibling("Import")) {
        if (attributeOf(*import, "Sdk"))
            return true;
    }
    return false;
}

bool isElement(const XmlNode& node)
{
    return node.type() == rapidxml::node_element;
}

// A file imported by a shared project; root is null when it couldn't be read as MSBuild.
struct ImportedFile {
    std::string text;
    std::unique_ptr<rapidxml::xml_document<>> document;
    const XmlNode* root = nullptr;
    std::string folder;
};

}  // namespace

struct MsbuildWorkspace::Lists {
    // An item without a string of its own: a project of a hundred thousand items would otherwise
    // make as many allocations. Most items name a file of a folder the joiner knows: they keep the
    // folder and the name, which lies in the text of the project file, and the file list takes the
    // two apart. The others' paths lie one after another in the evaluation's block of paths.
    struct Item {
        std::string_view type;      // the element's name, or a default item's
        const std::string* folder;  // the folder of the name (ItemPathJoiner::joinSplit: a plain one); null: a path
        const char* name;           // with a folder: the name, in the project file's parsed text
        size_t pathStart;           // without: where the path starts in the block
        size_t length;              // of the name or the path
        bool removed;
    };
    struct NamedItem {
        size_t index;  // the position of its name in the project's item names
        const XmlNode* node;
    };

    std::vector<Item> items;
    std::vector<NamedItem> named;  // the items of the group being collected
};

MsbuildWorkspace::MsbuildWorkspace() : lists_(std::make_unique<Lists>()) {}

MsbuildWorkspace::~MsbuildWorkspace() = default;

namespace {

using Item = MsbuildWorkspace::Lists::Item;

// One reading: the properties first, every file's, then the items.
class Evaluation {
public:
    Evaluation(MsbuildWorkspace& workspace, const MsbuildProject& project, WalkBudget& budget, size_t fileLimit)
        : project_(project), projectDir_(removeFileSpec(project.path)), joiner_(projectDir_), walker_(budget),
          fileLimit_(fileLimit), items_(workspace.lists().items), named_(workspace.lists().named)
    {
        items_.clear();
        std::string fileName = findFileName(project.path);
        std::string name = fileName.substr(0, fileName.rfind('.'));
        properties_.set("MSBuildProjectDirectory", projectDir_);
        properties_.set("ProjectDir", withBackslash(projectDir_));
        properties_.set("MSBuildProjectName", name);
        properties_.set("ProjectName", name);
        if (!project.solutionDir.empty())
            properties_.set("SolutionDir", withBackslash(project.solutionDir));
        setSdkProperties(properties_);
        itemNames_.assign(project.itemNames, project.itemNames + project.itemNameCount);
        folderHasWildcard_ = hasWildcard(projectDir_);
    }

    void run(const XmlNode& root, MsbuildItems& out)
    {
        enterFile(projectDir_);
        defineProperties(root, true);
        bool sdk = isSdkProject(root);
        literalValues_ = project_.literalValues && !sdk;
        if (sdk)
            addDefaultItems();
        size_t importIndex = 0;
        collectItems(root, &importIndex);
        output(out);
        out.watched = watched_;
        out.watched.insert(out.watched.end(), walker_.watched().begin(), walker_.watched().end());
    }

private:
    void output(MsbuildItems& out) const
    {
        size_t files = 0;
        size_t textSize = 0;
        for (const Item& item : items_) {
            files += item.removed ? 0 : 1;
            textSize += item.removed ? 0 : item.length + 1;
        }
        out.files.reserve(files, textSize);
        std::string path;
        std::unordered_map<const std::string*, int32_t> slots;  // FileList::appendSplit's, by folder
        const std::string* lastFolder = nullptr;
        int32_t* slot = nullptr;
        for (const Item& item : items_) {
            if (item.removed)
                continue;
            if (item.type == "ProjectReference") {
                out.references.push_back(pathOf(item, path));
            } else if (item.folder) {
                if (item.folder != lastFolder) {
                    // Not emplace, which makes a node at every change of folder, then drops it.
                    slot = &slots.try_emplace(item.folder, FileList::NEW_DIRECTORY).first->second;
                    lastFolder = item.folder;
                }
                out.files.appendPlain(*item.folder, item.name, item.length, *slot);
            } else if (item.length > 0) {
                out.files.append(pathOf(item, path));
            }
        }
    }

    // Sets MSBuildThisFileDirectory for the items and properties of the file in folder.
    void enterFile(const std::string& folder) { properties_.set("MSBuildThisFileDirectory", withBackslash(folder)); }

    bool followsImport(const XmlNode& node) const
    {
        const char* label = attributeOf(node, "Label");
        return project_.sharedImports && strcmp(node.name(), "Import") == 0 && label && strcmp(label, "Shared") == 0;
    }

    // The properties of a file defined without conditions, in document order; with imports, also
    // those of the shared files it imports, read here once.
    void defineProperties(const XmlNode& root, bool withImports)
    {
        for (const XmlNode* child = root.first_node(); child; child = child->next_sibling()) {
            if (strcmp(child->name(), "PropertyGroup") == 0 && !attributeOf(*child, "Condition")) {
                for (const XmlNode* property = child->first_node(); property; property = property->next_sibling())
                    defineProperty(*property);
            } else if (withImports && followsImport(*child) && imports_.size() < MAX_SHARED_IMPORTS) {
                ImportedFile& imported = readImport(*child);
                if (imported.root) {
                    enterFile(imported.folder);
                    defineProperties(*imported.root, false);
                    enterFile(projectDir_);
                }
            }
        }
    }

    void defineProperty(const XmlNode& property)
    {
        std::string name = property.name();
        // MSBuild's reserved properties can't be set by a project.
        if (!isElement(property) || attributeOf(property, "Condition") || equalsIgnoringCase(name.substr(0, 7), "MSBuild"))
            return;
        std::string expanded;
        if (properties_.expand(trimmed(property.value()), expanded))
            properties_.set(name, expanded);
        else
            properties_.forget(name);
    }

    ImportedFile& readImport(const XmlNode& node)
    {
        imports_.push_back(std::make_unique<ImportedFile>());
        ImportedFile& imported = *imports_.back();
        std::string path;
        const char* value = attributeOf(node, "Project");
        if (!value || !resolve(value, path))
            return imported;
        watched_.push_back(watchNow(path));
        imported.folder = removeFileSpec(path);
        imported.text = readWholeFile(path);
        imported.document = std::make_unique<rapidxml::xml_document<>>();
        if (parseXml(imported.text, *imported.document))
            imported.root = imported.document->first_node("Project");
        return imported;
    }

    void collectItems(const XmlNode& root, size_t* importIndex)
    {
        for (const XmlNode* child = root.first_node(); child; child = child->next_sibling()) {
            if (strcmp(child->name(), "ItemGroup") == 0) {
                collectGroup(*child);
            } else if (importIndex && followsImport(*child) && *importIndex < imports_.size()) {
                const ImportedFile& imported = *imports_[(*importIndex)++];
                if (imported.root) {
                    enterFile(imported.folder);
                    collectItems(*imported.root, nullptr);
                    enterFile(projectDir_);
                }
            }
        }
    }

    void collectGroup(const XmlNode& group)
    {
        if (!project_.itemNames) {
            for (const XmlNode* item = group.first_node(); item; item = item->next_sibling()) {
                if (isElement(*item) && itemNamesFiles(item->name()))
                    collectItem(*item);
            }
            return;
        }
        // One pass over the group tells each item's name; a pass per name present (most groups
        // hold one), up to its last item, then takes the items of each name in document order.
        named_.clear();
        nameCounts_.assign(project_.itemNameCount, 0);
        for (const XmlNode* item = group.first_node(); item; item = item->next_sibling()) {
            size_t index = itemNameIndex(*item);
            if (index < project_.itemNameCount) {
                named_.push_back({index, item});
                ++nameCounts_[index];
            }
        }
        if (items_.capacity() < items_.size() + named_.size())
            items_.reserve(std::max(items_.size() + named_.size(), 2 * items_.capacity()));
        for (size_t index = 0; index < project_.itemNameCount; ++index) {
            for (size_t i = 0, left = nameCounts_[index]; left > 0; ++i) {
                if (named_[i].index == index) {
                    collectItem(*named_[i].node);
                    --left;
                }
            }
        }
    }

    // The position of the node's name among the item names to collect; itemNameCount when it is
    // none of them. Compared as rapidxml's first_node(name) compares: the exact bytes.
    size_t itemNameIndex(const XmlNode& node) const
    {
        std::string_view name(node.name(), node.name_size());
        for (size_t i = 0; i < project_.itemNameCount; ++i) {
            if (sameName(name, itemNames_[i]))
                return i;
        }
        return project_.itemNameCount;
    }

    void collectItem(const XmlNode& item)
    {
        std::string_view type(item.name(), item.name_size());  // a name holds no NUL
        if (const rapidxml::xml_attribute<>* include = item.first_attribute("Include"))
            includeItems(type, *include, attributeOf(item, "Exclude"));
        else if (const char* remove = attributeOf(item, "Remove"))
            removeItems(type, remove);
    }

    // The full path a piece of a value names, its properties expanded; false when it can't be
    // told (an unknown property, an item or metadata reference, a path too long).
    bool resolve(const std::string& piece, std::string& full) const
    {
        std::string expanded;
        if (piece.find("@(") != std::string::npos || piece.find("%(") != std::string::npos ||
            !properties_.expand(piece, expanded))
            return false;
        full = joined(expanded);
        return !full.empty();
    }

    // MSBuild takes '/' for '\'; the path functions don't: they would leave "../" unresolved, and
    // findFileName would split such a path where removeFileSpec doesn't.
    const std::string& backslashed(std::string_view value) const
    {
        value_.assign(value.data(), value.size());
        std::replace(value_.begin(), value_.end(), '/', '\\');
        return value_;
    }

    // The text is the joiner's, valid until the next join.
    const std::string& joined(std::string_view value) const { return joiner_.join(backslashed(value)); }

    std::vector<PathPattern> patternsOf(const char* value) const
    {
        std::vector<PathPattern> patterns;
        if (!value)
            return patterns;
        std::string full;
        for (const std::string& piece : splitList(value)) {
            if (resolve(piece, full))
                patterns.emplace_back(full);
        }
        return patterns;
    }

    void includeItems(std::string_view type, const rapidxml::xml_attribute<>& include, const char* exclude)
    {
        std::vector<PathPattern> excludes = patternsOf(exclude);
        const char* value = include.value();
        // The usual item of a project of the old kinds: one path as written. Taken without the
        // list of pieces, whose allocations a hundred thousand items feel.
        if (literalValues_) {
            if (isPlainPath(value, include.value_size())) {
                includeOnePath(type, value, std::string_view(value, include.value_size()), excludes);
                return;
            }
            if (!hasWildcard(value) && std::string_view(value).find("$(") == std::string_view::npos) {
                includeOnePath(type, value, backslashed(value), excludes);
                return;
            }
        }
        std::string full;
        for (const std::string& piece : splitList(value)) {
            if (resolve(piece, full))
                includePath(type, full, excludes);
        }
    }

    // A value that is one path: path is the value's text with its separators made backslashes,
    // byte for byte where the value's name is. Without a wildcard, joined to a folder without one,
    // it is a path without one.
    void includeOnePath(std::string_view type, const char* value, std::string_view path,
                        const std::vector<PathPattern>& excludes)
    {
        const std::string* folder;
        size_t nameStart;
        if (excludes.empty() && !folderHasWildcard_ && joiner_.joinSplit(path, folder, nameStart)) {
            addName(type, folder, value + nameStart, path.size() - nameStart);
            return;
        }
        const std::string& full = joiner_.join(backslashed(path));
        if (!full.empty())
            includePath(type, full, excludes);
    }

    // Adds the path, or the files its wildcards match, unless an exclude matches it.
    void includePath(std::string_view type, const std::string& full, const std::vector<PathPattern>& excludes)
    {
        if (!hasWildcard(full)) {
            if (!matchesAny(excludes, full))
                add(type, full);
            return;
        }
        std::vector<std::string> found;
        walker_.expand(full, excludes, found, fileLimit_ - filesAdded_);
        for (const std::string& path : found)
            add(type, path);
    }

    void removeItems(std::string_view type, const char* value)
    {
        std::vector<PathPattern> patterns = patternsOf(value);
        std::string path;
        for (Item& item : items_) {
            if (!item.removed && item.type == type && matchesAny(patterns, pathOf(item, path)))
                item.removed = true;
        }
    }

    // Whether an item of the type fits the file limit; counts it.
    bool takeItem(std::string_view type)
    {
        bool isFile = type != "ProjectReference";
        if (isFile && filesAdded_ >= fileLimit_)
            return false;
        filesAdded_ += isFile ? 1 : 0;
        return true;
    }

    void add(std::string_view type, std::string_view path)
    {
        if (!takeItem(type))
            return;
        items_.push_back({type, nullptr, nullptr, paths_.size(), path.size(), false});
        paths_.append(path.data(), path.size());
    }

    // An item of a name in a folder; the name lies in a project file's parsed text.
    void addName(std::string_view type, const std::string* folder, const char* name, size_t length)
    {
        if (takeItem(type))
            items_.push_back({type, folder, name, 0, length, false});
    }

    // The item's full path, composed in path.
    const std::string& pathOf(const Item& item, std::string& path) const
    {
        if (item.folder)
            return path.assign(*item.folder).append(1, '\\').append(item.name, item.length);
        return path.assign(paths_, item.pathStart, item.length);
    }

    // The SDK's default items: one walk of the project's folder.
    void addDefaultItems()
    {
        if (!defaultItemsOn(properties_))
            return;
        std::vector<std::string> found;
        walker_.expand(appendPath(projectDir_, "**\\*"), patternsOf(defaultItemExcludes(properties_).c_str()), found,
                       fileLimit_ - filesAdded_);
        for (const DefaultItem& item : defaultItems(properties_, project_.path, std::move(found)))
            add(item.name, item.path);
    }

    const MsbuildProject& project_;
    std::string projectDir_;
    mutable ItemPathJoiner joiner_;  // appendPath to projectDir_, the shell asked once per folder
    mutable std::string value_;      // the value being joined
    PropertyTable properties_;
    FolderWalker walker_;
    size_t fileLimit_;
    bool literalValues_ = false;
    size_t filesAdded_ = 0;
    std::vector<std::unique_ptr<ImportedFile>> imports_;
    WatchList watched_;
    std::vector<Item>& items_;  // the workspace's
    std::string paths_;         // the paths of the items without a folder, one after another
    bool folderHasWildcard_ = false;
    std::vector<std::string_view> itemNames_;                  // project_.itemNames
    std::vector<MsbuildWorkspace::Lists::NamedItem>& named_;  // the workspace's
    std::vector<size_t> nameCounts_;                           // how many of them have each name
};

}  // namespace

bool itemNamesFiles(const char* name)
{
    std::string_view text = name;
    if (endsWith(text, "Reference") || endsWith(text, "References"))
        return false;
    return std::none_of(std::begin(NON_FILE_ITEMS), std::end(NON_FILE_ITEMS),
                        [&](const char* other) { return text == other; });
}

MsbuildRead readMsbuildProject(std::string& text, rapidxml::xml_document<char>& document, MsbuildWorkspace& workspace,
                               const MsbuildProject& project, WalkBudget& budget, size_t fileLimit,
                               MsbuildItems& items)
{
    if (!parseXml(text, document))
        return MsbuildRead::notXml;
    const XmlNode* root = document.first_node("Project");
    if (!root)
        return MsbuildRead::notMsbuild;
    Evaluation(workspace, project, budget, fileLimit).run(*root, items);
    return MsbuildRead::read;
}
