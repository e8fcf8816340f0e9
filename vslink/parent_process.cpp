#include "vslink/parent_process.h"

#include "driver/unique_resource.h"

#include <tlhelp32.h>

DWORD getParentProcessId()
{
    UniqueSnapshotHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return 0;
    DWORD ownId = GetCurrentProcessId();
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == ownId)
            return entry.th32ParentProcessID;
    }
    return 0;
}
