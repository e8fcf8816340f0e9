#include "vslink/parent_process.h"

#include "driver/unique_resource.h"
#include "solution/path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Runs a program with its standard output in a pipe; returns what it wrote.
std::string outputOf(std::string commandLine)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0))
        return "";
    UniqueHandle reader(readEnd);
    UniqueHandle writer(writeEnd);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started))
        return "";
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    writer.reset();  // so that reading ends when the child's copy closes

    std::string output;
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
        output.append(buffer, got);
    WaitForSingleObject(process.get(), INFINITE);
    return output;
}

std::string besideThisProgram(const std::string& name)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    return appendPath(removeFileSpec(path), name);
}

TEST(ParentProcessTest, ChildFindsTheProcessThatStartedIt)
{
    std::string output = outputOf("\"" + besideThisProgram("open_driver.exe") + "\" -parent");
    ASSERT_FALSE(output.empty());
    EXPECT_EQ(GetCurrentProcessId(), strtoul(output.c_str(), nullptr, 10));
}

}  // namespace
