#include "solution/temporary_cache_file.h"

#include "solution/file_system.h"
#include "solution/path.h"
#include "solution/text.h"

#include <cstring>
#include <ctime>

namespace {

const char PREFIX[] = "qlcache-";
const char SUFFIX[] = ".tmp";

std::string temporaryName(uint32_t processId)
{
    return PREFIX + decimalText(static_cast<int32_t>(processId)) + SUFFIX;
}

}  // namespace

// "qlcache-<digits>.tmp", letter case ignored as the file system does: no other file is touched.
bool isTemporaryCacheName(const std::string& name)
{
    size_t prefix = strlen(PREFIX), suffix = strlen(SUFFIX);
    if (name.size() <= prefix + suffix || !equalsIgnoringCase(std::string_view(name).substr(0, prefix), PREFIX) ||
        !endsWithIgnoringCase(name, SUFFIX))
        return false;
    for (size_t i = prefix; i < name.size() - suffix; ++i) {
        if (name[i] < '0' || name[i] > '9')
            return false;
    }
    return true;
}

std::string temporaryCachePath(const std::string& cachePath)
{
    return appendPath(removeFileSpec(cachePath), temporaryName(currentProcessId()));
}

void removeAbandonedTemporaryFiles(const std::string& cachePath)
{
    std::string folder = removeFileSpec(cachePath);
    std::vector<DirectoryEntry> entries;
    if (!listDirectory(folder.empty() ? "." : folder, entries))
        return;
    std::string own = temporaryName(currentProcessId());
    int64_t now = time(nullptr);
    for (const DirectoryEntry& entry : entries) {
        bool ours = equalsIgnoringCase(entry.name, own);
        if (!entry.isDirectory && isTemporaryCacheName(entry.name) && !ours &&
            now - entry.modificationTime >= ABANDONED_AFTER_SECONDS)
            deleteFile(appendPath(folder, entry.name));
    }
}
