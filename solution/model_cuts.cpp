#include "solution/model_cuts.h"

#include "solution/cache_file.h"
#include "solution/file_handle.h"
#include "solution/folder_walker.h"
#include "solution/project.h"
#include "solution/text.h"
#include "solution/xml_depth.h"

#include <algorithm>
#include <vector>

namespace {

// Smallest size of a project entry: the path's length and the cuts.
constexpr size_t MIN_CUT_ENTRY_SIZE = 8;

// What the caption says of each cut, in the order it says them.
struct CutText {
    ModelCut cut;
    std::string text;
};

std::vector<CutText> cutTexts()
{
    return {
        {CUT_PROJECTS, "more than " + decimalText(MAX_MODEL_PROJECTS) + " projects"},
        {CUT_FILES, "more than " + decimalText(MAX_MODEL_FILES) + " files"},
        {CUT_REFERENCE_DEPTH, "project references nested more than " + decimalText(MAX_REFERENCE_DEPTH) + " deep"},
        {CUT_FILE_SIZE,
         "a project file larger than " + decimalText(static_cast<int32_t>(MAX_WHOLE_FILE_SIZE >> 20)) + " MB"},
        {CUT_XML_DEPTH, "a project file nested more than " + decimalText(MAX_XML_DEPTH) + " elements deep"},
        {CUT_FOLDER_WALK, "wildcards reaching more than " + decimalText(MAX_WALK_FOLDERS) + " folders or " +
                              decimalText(MAX_WALK_ENTRIES) + " entries"},
    };
}

}  // namespace

ModelCuts CutTable::all() const
{
    ModelCuts cuts = 0;
    for (const auto& entry : projects)
        cuts |= entry.second;
    return cuts;
}

bool CutTable::write(CacheWriter& stream) const
{
    if (projects.empty())
        return true;
    auto entries = sortedByKey(projects);

    if (!stream.writeInteger(CUT_SECTION_MARKER) || !stream.writeInteger(static_cast<int32_t>(entries.size())))
        return false;
    for (const auto* entry : entries) {
        if (!stream.writeString(entry->first) || !stream.writeInteger(static_cast<int32_t>(entry->second)))
            return false;
    }
    return true;
}

bool CutTable::readBody(CacheReader& stream)
{
    projects.clear();
    int32_t count;
    if (!stream.readCount(count, MIN_CUT_ENTRY_SIZE))
        return false;
    for (int32_t i = 0; i < count; ++i) {
        std::string project;
        int32_t cuts;
        if (!stream.readString(project) || !stream.readInteger(cuts))
            return false;
        projects[project] |= static_cast<ModelCuts>(cuts);
    }
    return true;
}

std::string describeCuts(ModelCuts cuts)
{
    std::string text;
    for (const CutText& cut : cutTexts()) {
        if (cuts & cut.cut)
            text += (text.empty() ? "not every file is listed: " : "; ") + cut.text;
    }
    return text;
}
