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
    if (name.size() <= prefix + suffix || compareIgnoringCase(name.substr(0, prefix).c_str(), PREFIX) != 0 ||
        compareIgnoringCase(name.substr(name.size() - suffix).c_str(), SUFFIX) != 0)
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
        bool ours = compareIgnoringCase(entry.name.c_str(), own.c_str()) == 0;
        if (!entry.isDirectory && isTemporaryCacheName(entry.name) && !ours &&
            now - entry.modificationTime >= ABANDONED_AFTER_SECONDS)
            deleteFile(appendPath(folder, entry.name));
    }
}
