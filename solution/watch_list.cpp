#include "solution/watch_list.h"

#include "solution/cache_file.h"
#include "solution/file_system.h"
#include "solution/text.h"

#include <algorithm>

namespace {

// Smallest sizes of a project entry (path length, W) and of a watched path (length, time).
constexpr size_t MIN_PROJECT_ENTRY_SIZE = 8;
constexpr size_t MIN_WATCHED_PATH_SIZE = 12;

bool writeTime(CacheWriter& stream, int64_t time)
{
    uint64_t bits = static_cast<uint64_t>(time);
    return stream.writeInteger(static_cast<int32_t>(bits & 0xFFFFFFFF)) &&
           stream.writeInteger(static_cast<int32_t>(bits >> 32));
}

bool readTime(CacheReader& stream, int64_t& time)
{
    int32_t low, high;
    if (!stream.readInteger(low) || !stream.readInteger(high))
        return false;
    time = static_cast<int64_t>(static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32 | static_cast<uint32_t>(low));
    return true;
}

}  // namespace

WatchedPath watchNow(const std::string& path)
{
    WatchedPath watched{path, MISSING_TIME};
    int64_t time;
    if (modificationTime(path, time))
        watched.modificationTime = time;
    return watched;
}

bool watchListUnchanged(const WatchList& list, const std::string& cacheFolder, int64_t cacheTime)
{
    // "C:" and "C:" both name the root folder.
    auto sameFolder = [](std::string_view a, std::string_view b) {
        while (!a.empty() && a.back() == '\\')
            a.remove_suffix(1);
        while (!b.empty() && b.back() == '\\')
            b.remove_suffix(1);
        return equalsIgnoringCase(a, b);
    };
    return std::all_of(list.begin(), list.end(), [&](const WatchedPath& watched) {
        int64_t now = watchNow(watched.path).modificationTime;
        if (now == watched.modificationTime)
            return true;
        return now != MISSING_TIME && now <= cacheTime && sameFolder(watched.path, cacheFolder);
    });
}

bool WatchTable::write(CacheWriter& stream) const
{
    if (lists.empty())
        return true;
    auto entries = sortedByKey(lists);

    if (!stream.writeInteger(WATCH_SECTION_MARKER) || !stream.writeInteger(static_cast<int32_t>(entries.size())))
        return false;
    for (const auto* entry : entries) {
        if (!stream.writeString(entry->first) || !stream.writeInteger(static_cast<int32_t>(entry->second.size())))
            return false;
        for (const WatchedPath& watched : entry->second) {
            if (!stream.writeString(watched.path) || !writeTime(stream, watched.modificationTime))
                return false;
        }
    }
    return true;
}

bool WatchTable::readBody(CacheReader& stream)
{
    lists.clear();
    int32_t projectCount;
    if (!stream.readCount(projectCount, MIN_PROJECT_ENTRY_SIZE))
        return false;
    for (int32_t i = 0; i < projectCount; ++i) {
        std::string project;
        int32_t pathCount;
        if (!stream.readString(project) || !stream.readCount(pathCount, MIN_WATCHED_PATH_SIZE))
            return false;
        WatchList& list = lists[project];
        for (int32_t j = 0; j < pathCount; ++j) {
            WatchedPath watched;
            if (!stream.readString(watched.path) || !readTime(stream, watched.modificationTime))
                return false;
            list.push_back(std::move(watched));
        }
    }
    return true;
}
