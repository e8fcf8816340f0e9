#include "solution/path.h"

#include <windows.h>
#include <shlwapi.h>

namespace {

// A MAX_PATH buffer holding path cut to 259 characters.
struct PathBuffer {
    explicit PathBuffer(const std::string& path) { lstrcpynA(text, path.c_str(), MAX_PATH); }
    char text[MAX_PATH];
};

}  // namespace

std::string removeFileSpec(const std::string& path)
{
    PathBuffer buffer(path);
    if (!PathRemoveFileSpecA(buffer.text))
        return "";
    return buffer.text;
}

std::string appendPath(const std::string& dir, const std::string& more)
{
    PathBuffer buffer(dir);
    if (!PathAppendA(buffer.text, more.c_str()))
        return "";
    return buffer.text;
}

std::string renameExtension(const std::string& path, const std::string& extension)
{
    PathBuffer buffer(path);
    if (!PathRenameExtensionA(buffer.text, extension.c_str()))
        return "";
    return buffer.text;
}

std::string findFileName(const std::string& path)
{
    return PathFindFileNameA(path.c_str());
}
