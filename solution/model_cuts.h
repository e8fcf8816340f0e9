#ifndef QUORLAN_SOLUTION_MODEL_CUTS_H
#define QUORLAN_SOLUTION_MODEL_CUTS_H

// What the model's bounds left out of a solution's file list, so that the open-file window can
// say so instead of losing files without a word.
//
// The model is bounded against damaged and hostile files: its projects and files (project.h), the
// nesting of references (project.h), the size of a project file (file_handle.h), the nesting of
// its elements (xml_depth.h), the folders that wildcards walk (folder_walker.h). Where a bound
// cuts the model, the load notes which. What the whole model lost shows in the model itself: it
// holds as many projects or files as the bound allows. What one project file lost is noted for
// that project, since a later load may take the project from the cache; the notes are kept in the
// cache file, in a section after the project records (cache_file.h) that is written only when some
// project lost something, so the cache of a solution within every bound is the same, byte for
// byte, as without it. Layout (cache_file.h's integers and strings):
//
//   marker             CUT_SECTION_MARKER
//   P                  integer, then P times:
//     project          string: the project file's lower-cased path
//     cuts             integer: its ModelCut bits

#include <cstdint>
#include <string>
#include <unordered_map>

class CacheReader;
class CacheWriter;

enum ModelCut : uint32_t {
    CUT_PROJECTS = 1u << 0,         // more projects than MAX_MODEL_PROJECTS
    CUT_FILES = 1u << 1,            // more files than MAX_MODEL_FILES
    CUT_REFERENCE_DEPTH = 1u << 2,  // references nested deeper than MAX_REFERENCE_DEPTH
    CUT_FILE_SIZE = 1u << 3,        // a project file larger than MAX_WHOLE_FILE_SIZE, not read
    CUT_XML_DEPTH = 1u << 4,        // a project file nested deeper than MAX_XML_DEPTH, not read
    CUT_FOLDER_WALK = 1u << 5,      // wildcards that walked more than the WalkBudget allows
};

// A set of ModelCut bits; 0 when nothing was cut.
using ModelCuts = uint32_t;

constexpr int32_t CUT_SECTION_MARKER = 0x43434C51;  // "QLCC"

// The cuts of each project file that lost something, by the lower-cased path of the file.
struct CutTable {
    std::unordered_map<std::string, ModelCuts> projects;

    // Every project's cuts together.
    ModelCuts all() const;
    // Writes the section, or nothing at all when no project lost anything.
    bool write(CacheWriter& stream) const;
    // Reads the section's body, which follows its marker. False on a short or corrupt section.
    bool readBody(CacheReader& stream);
};

// What the open-file window's caption says of cuts: "" when there are none, else what was left
// out, "not every file is listed: more than 8000000 files" for instance.
std::string describeCuts(ModelCuts cuts);

#endif
