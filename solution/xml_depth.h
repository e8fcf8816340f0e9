#ifndef QUORLAN_SOLUTION_XML_DEPTH_H
#define QUORLAN_SOLUTION_XML_DEPTH_H

// A guard against deep element nesting, run before rapidxml parses a project file.
//
// rapidxml is a recursive-descent parser: every open element costs it a few stack frames, so a
// file of a few megabytes holding nothing but "<a>" would overflow the thread's stack long before
// the parser found that it is malformed. Real project files nest fewer than a dozen levels.
//
// The scan follows rapidxml's own reading with the default flags (names, quoted attribute values,
// comments, CDATA, processing instructions, DOCTYPE) so that it never counts fewer levels than the
// parser would open. Where the parser would stop with an error, the scan may stop too: the parser
// never gets deeper than that point.

#include <rapidxml.hpp>

#include <cstddef>
#include <string>

// Deepest element nesting a project file may have. Each level costs rapidxml well under 200
// bytes of stack, so this stays far below the 2 MiB stack of the main thread.
constexpr size_t MAX_XML_DEPTH = 1000;

// False when the NUL-terminated text opens elements more than maxDepth levels deep.
bool xmlDepthWithin(const char* text, size_t maxDepth);

// Parses text in place into document (rapidxml's default flags) once the depth check passed. text
// must end in a NUL, as readWholeFile gives it; the parse writes into it. False when it is empty,
// nests deeper than MAX_XML_DEPTH or isn't XML the parser accepts: the parser's exception, and
// running out of memory, end here.
bool parseXml(std::string& text, rapidxml::xml_document<>& document);

#endif
