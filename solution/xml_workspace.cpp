#include "solution/xml_workspace.h"

#include <rapidxml.hpp>

XmlWorkspace::XmlWorkspace() = default;

XmlWorkspace::~XmlWorkspace() = default;

rapidxml::xml_document<char>& XmlWorkspace::freshDocument()
{
    // On the heap, not in a frame of a recursion: the document holds its 64 KiB pool.
    if (!document_)
        document_ = std::make_unique<rapidxml::xml_document<char>>();
    else
        document_->clear();
    return *document_;
}
