#ifndef QUORLAN_SOLUTION_XML_WORKSPACE_H
#define QUORLAN_SOLUTION_XML_WORKSPACE_H

// The parser's document and the buffer of a project file's text, kept from one project file to
// the next during a load.
//
// rapidxml's document holds a 64 KiB pool, and a project file's text runs to tens of kilobytes:
// made and freed once per project file, both are new memory each time, its pages mapped and
// faulted in again (under Wine, a third of the parse of a project of a thousand items). Kept,
// they cost that once per load. One project file is read at a time: the reader is done with
// both before it loads the projects the file references.

#include <memory>
#include <string>

namespace rapidxml {
template <class Ch>
class xml_document;
}

class XmlWorkspace {
public:
    XmlWorkspace();
    ~XmlWorkspace();
    XmlWorkspace(const XmlWorkspace&) = delete;
    XmlWorkspace& operator=(const XmlWorkspace&) = delete;

    // The document, emptied of what it held; valid until the next call.
    rapidxml::xml_document<char>& freshDocument();

    // The buffer for a project file's text (readWholeFile), kept with its capacity.
    std::string text;

private:
    std::unique_ptr<rapidxml::xml_document<char>> document_;
};

#endif
