#include "solution/slnx_reader.h"

#include "solution/path.h"
#include "solution/text.h"
#include "solution/xml_depth.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

using XmlNode = rapidxml::xml_node<>;

// The depth guard that ran before the parse bounds the recursion.
void collectProjects(const XmlNode& parent, std::vector<std::string>& projectPaths)
{
    for (const XmlNode* child = parent.first_node(); child; child = child->next_sibling()) {
        if (strcmp(child->name(), "Folder") == 0) {
            collectProjects(*child, projectPaths);
        } else if (strcmp(child->name(), "Project") == 0) {
            if (const rapidxml::xml_attribute<>* path = child->first_attribute("Path")) {
                std::string value = path->value();
                std::replace(value.begin(), value.end(), '/', '\\');
                projectPaths.push_back(std::move(value));
            }
        }
    }
}

}  // namespace

bool isSlnxPath(const std::string& path)
{
    std::string name = findFileName(path);
    return endsWithIgnoringCase(name, ".slnx");
}

bool readSlnxProjects(std::string& text, std::vector<std::string>& projectPaths)
{
    auto document = std::make_unique<rapidxml::xml_document<>>();
    if (!parseXml(text, *document))
        return false;
    const XmlNode* root = document->first_node("Solution");
    if (!root)
        return false;
    collectProjects(*root, projectPaths);
    return true;
}
