#include "tests/support/temp_dir.h"

#include "driver/unique_resource_core.h"
#include "solution/file_system.h"

namespace {

void createFoldersFor(const std::string& filePath)
{
    for (size_t slash = filePath.find('\\', 3); slash != std::string::npos; slash = filePath.find('\\', slash + 1))
        createFolder(filePath.substr(0, slash));
}

}  // namespace

std::string TempDir::path(const std::string& relative) const
{
    return path_ + "\\" + relative;
}

std::string TempDir::write(const std::string& relative, const std::string& content) const
{
    std::string full = path(relative);
    createFoldersFor(full);
    writeFile(full, content);
    return full;
}

bool writeFile(const std::string& path, const std::string& content)
{
    UniqueCStream stream(openSharedStream(path, "wb"));
    if (!stream)
        return false;
    return fwrite(content.data(), 1, content.size(), stream.get()) == content.size();
}

std::string readFile(const std::string& path)
{
    UniqueCStream stream(openSharedStream(path, "rb"));
    if (!stream)
        return "";
    std::string content;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, stream.get())) > 0)
        content.append(buffer, got);
    return content;
}

bool fileExists(const std::string& path)
{
    return pathExists(path);
}
