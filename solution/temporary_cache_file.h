#ifndef QUORLAN_SOLUTION_TEMPORARY_CACHE_FILE_H
#define QUORLAN_SOLUTION_TEMPORARY_CACHE_FILE_H

// The temporary file a cache write goes through, and the removal of those that dead runs left.
//
// A run writes the whole cache into "qlcache-<process id>.tmp" beside the cache and then moves it
// over the cache in one step, so that other runs read the old cache or the new one, never half of
// one. A run that dies on the way (killed, crashed, powered off) leaves its temporary file behind;
// a later writer beside the same cache removes it. A live writer's file is never removed: while it
// is open for writing the system refuses to delete it (it is not shared for delete), and in the
// moment between closing and moving it, it is younger than ABANDONED_AFTER_SECONDS.

#include <cstdint>
#include <string>

// How old a temporary cache file must be before another run takes it for abandoned. Generous
// enough for the clock of a file server that runs behind.
constexpr int64_t ABANDONED_AFTER_SECONDS = 60;

// The name is that of a temporary cache file ("qlcache-<digits>.tmp", in any letter case).
bool isTemporaryCacheName(const std::string& name);

// This process's temporary file for the cache at cachePath.
std::string temporaryCachePath(const std::string& cachePath);

// Deletes the temporary cache files of other processes beside cachePath that are older than
// ABANDONED_AFTER_SECONDS and that the system lets go; quietly leaves any it can't delete.
void removeAbandonedTemporaryFiles(const std::string& cachePath);

#endif
