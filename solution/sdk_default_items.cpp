#include "solution/sdk_default_items.h"

#include "solution/path.h"
#include "solution/text.h"

#include <algorithm>

namespace {

const char DEFAULT_ITEM_EXCLUDES[] = "bin\\**;obj\\**;**\\*.user;**\\*.*proj;**\\*.sln;**\\*.slnx;**\\*.vssscc";
const char DEFAULT_EXCLUDES_IN_PROJECT_FOLDER[] = "**\\.*\\**";

// The source files of each .NET language's projects: their default Compile items.
struct Language {
    const char* projectExtension;
    const char* sourceExtension;
};
const Language LANGUAGES[] = {{".csproj", ".cs"}, {".vbproj", ".vb"}, {".fsproj", ".fs"}};

// The kinds, in the order their items come.
enum class Kind { compile, embeddedResource, none, applicationDefinition, page, off };

const char* itemNameOf(Kind kind)
{
    switch (kind) {
    case Kind::compile:
        return "Compile";
    case Kind::embeddedResource:
        return "EmbeddedResource";
    case Kind::applicationDefinition:
        return "ApplicationDefinition";
    case Kind::page:
        return "Page";
    default:
        return "None";
    }
}

// The extension of the path's file-name part, from its last ".", dot included; "" when none.
std::string extensionOf(const std::string& path)
{
    std::string name = findFileName(path);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? "" : name.substr(dot);
}

bool on(const PropertyTable& properties, const char* name)
{
    return propertyIsTrue(properties, name, true);
}

// Which kinds a project has on, and which files each takes.
class Kinds {
public:
    Kinds(const PropertyTable& properties, const std::string& projectPath)
        : compile_(on(properties, "EnableDefaultCompileItems")),
          embeddedResource_(on(properties, "EnableDefaultEmbeddedResourceItems")),
          none_(on(properties, "EnableDefaultNoneItems")),
          wpf_(propertyIsTrue(properties, "UseWPF", false)),
          applicationDefinition_(on(properties, "EnableDefaultApplicationDefinition")),
          page_(on(properties, "EnableDefaultPageItems")),
          applicationXaml_(appendPath(removeFileSpec(projectPath), "App.xaml"))
    {
        for (const Language& language : LANGUAGES) {
            if (equalsIgnoringCase(extensionOf(projectPath), language.projectExtension))
                sourceExtension_ = language.sourceExtension;
        }
    }

    // The first kind that is on and takes the file; off when none does.
    Kind of(const std::string& path) const
    {
        std::string extension = extensionOf(path);
        if (compile_ && !sourceExtension_.empty() && equalsIgnoringCase(extension, sourceExtension_))
            return Kind::compile;
        if (embeddedResource_ && equalsIgnoringCase(extension, ".resx"))
            return Kind::embeddedResource;
        if (wpf_ && applicationDefinition_ && equalsIgnoringCase(path, applicationXaml_))
            return Kind::applicationDefinition;
        if (wpf_ && page_ && equalsIgnoringCase(extension, ".xaml"))
            return Kind::page;
        return none_ ? Kind::none : Kind::off;
    }

private:
    bool compile_, embeddedResource_, none_, wpf_, applicationDefinition_, page_;
    std::string applicationXaml_;
    std::string sourceExtension_;
};

std::string valueOr(const PropertyTable& properties, const char* name, const char* defaultValue)
{
    const std::string* value = properties.find(name);
    return value ? *value : defaultValue;
}

}  // namespace

void setSdkProperties(PropertyTable& properties)
{
    properties.set("DefaultItemExcludes", DEFAULT_ITEM_EXCLUDES);
    properties.set("DefaultExcludesInProjectFolder", DEFAULT_EXCLUDES_IN_PROJECT_FOLDER);
}

bool defaultItemsOn(const PropertyTable& properties)
{
    return on(properties, "EnableDefaultItems");
}

std::string defaultItemExcludes(const PropertyTable& properties)
{
    // A project that made either unknown (by a reference to a property the reader can't know)
    // keeps the SDK's own.
    return valueOr(properties, "DefaultItemExcludes", DEFAULT_ITEM_EXCLUDES) + ";" +
           valueOr(properties, "DefaultExcludesInProjectFolder", DEFAULT_EXCLUDES_IN_PROJECT_FOLDER);
}

std::vector<DefaultItem> defaultItems(const PropertyTable& properties, const std::string& projectPath,
                                      std::vector<std::string> files)
{
    Kinds kinds(properties, projectPath);
    std::vector<std::pair<Kind, std::string>> classified;
    for (std::string& path : files) {
        Kind kind = kinds.of(path);
        if (kind != Kind::off)
            classified.emplace_back(kind, std::move(path));
    }
    std::stable_sort(classified.begin(), classified.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<DefaultItem> items;
    for (auto& [kind, path] : classified)
        items.push_back({itemNameOf(kind), std::move(path)});
    return items;
}
