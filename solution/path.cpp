#include "solution/path.h"

#include <cstring>

namespace {

// The text up to an embedded NUL, cut to 259 characters: what lstrcpynA puts into a buffer of
// PATH_BUFFER_SIZE bytes.
std::string inBuffer(const std::string& path)
{
    return std::string(path.c_str(), strnlen(path.c_str(), PATH_BUFFER_SIZE - 1));
}

bool isRelative(const char* path)
{
    return !(path[0] == '\\' || (path[0] && path[1] == ':'));
}

bool isUnc(const char* path)
{
    return path[0] == '\\' && path[1] == '\\';
}

// "\\server\share" with nothing after the share: ".." never climbs out of it.
bool isUncServerShare(const char* path)
{
    if (!isUnc(path))
        return false;
    bool seenSeparator = false;
    for (path += 2; *path; ++path) {
        if (*path == '\\') {
            if (seenSeparator)
                return false;
            seenSeparator = true;
        }
    }
    return seenSeparator;
}

// The shell's canonical form of a path of at most 259 characters: ".\" dropped, "\.." climbing
// one component (never above a drive's root or out of a UNC share), "" turned into "\" and a
// bare "X:" into "X:\". Other dots stay: "a.\b", "...", a trailing "." are kept as written.
//
// The buffer is zero-filled and twice the longest input: the shell's steps read one character
// beyond the path's end after a ".." at the very start of a relative path, and so does this,
// reading the end again.
std::string canonicalize(std::string_view path)
{
    if (path.empty())
        return "\\";
    char source[2 * PATH_BUFFER_SIZE] = {};
    char buffer[2 * PATH_BUFFER_SIZE] = {};
    memcpy(source, path.data(), path.size());
    const char* src = source;
    char* dst = buffer;

    // The root: "\", or "X:" and its backslash.
    if (*src == '\\') {
        *dst++ = *src++;
    } else if (*src && src[1] == ':') {
        *dst++ = *src++;
        *dst++ = *src++;
        if (*src == '\\')
            *dst++ = *src++;
    }

    while (*src) {
        if (*src != '.') {
            *dst++ = *src++;
        } else if (src[1] == '\\' && (src == source || src[-1] == '\\' || src[-1] == ':')) {
            src += 2;  // ".\"
        } else if (src[1] == '.' && dst != buffer && dst[-1] == '\\') {
            *dst = '\0';
            if (dst > buffer + 1 && (dst[-2] != '\\' || dst > buffer + 2)) {
                // Before a drive's colon only when something precedes the drive ("a\X:\.."); the
                // character before the buffer reads as nothing.
                bool afterDrive = dst[-2] == ':' && (dst > buffer + 3 || (dst > buffer + 2 && dst[-3] == ':'));
                if (afterDrive) {
                    dst -= 2;
                    while (dst > buffer && *dst != '\\')
                        --dst;
                    if (*dst == '\\')
                        ++dst;
                    else
                        dst = buffer;
                } else if (dst[-2] != ':' && !isUncServerShare(buffer)) {
                    dst -= 2;
                }
            }
            while (dst > buffer && *dst != '\\')
                --dst;
            if (dst == buffer) {
                *dst++ = '\\';
                ++src;
            }
            src += 2;
            if (src > source + path.size())
                src = source + path.size();  // stepped past the end: the end it is
        } else {
            *dst++ = *src++;
        }
    }

    if (dst - buffer == 2 && dst[-1] == ':')
        *dst++ = '\\';
    *dst = '\0';
    return buffer;
}

}  // namespace

std::string removeFileSpec(const std::string& path)
{
    std::string text = inBuffer(path);
    const char* start = text.c_str();
    const char* p = start;
    const char* fileSpec = start;
    // A leading "\" or "\\" belongs to the root.
    if (*p == '\\')
        fileSpec = ++p;
    if (*p == '\\')
        fileSpec = ++p;
    while (*p) {
        if (*p == '\\') {
            fileSpec = p;
        } else if (*p == ':') {
            fileSpec = ++p;  // keeps the drive, and its backslash
            if (*p == '\\')
                ++fileSpec;
        }
        if (*p)
            ++p;
    }
    if (!*fileSpec)
        return "";
    return text.substr(0, static_cast<size_t>(fileSpec - start));
}

std::string appendPath(const std::string& dir, const std::string& more)
{
    // Composed on the stack: the model's loader asks this for every folder its items name.
    std::string_view base(dir.c_str(), strnlen(dir.c_str(), PATH_BUFFER_SIZE - 1));
    const char* file = more.c_str();
    if (!isUnc(file)) {
        while (*file == '\\')
            ++file;
    }
    // The shell converts both texts into buffers of PATH_BUFFER_SIZE characters first.
    size_t fileLength = strlen(file);
    if (fileLength >= PATH_BUFFER_SIZE)
        return "";
    if (*file == '\0')
        return canonicalize(base);
    // After the leading backslashes went, a file that is not relative is a drive or UNC path.
    if (base.empty() || !isRelative(file))
        return canonicalize(std::string_view(file, fileLength));
    char joined[PATH_BUFFER_SIZE + 1];
    size_t length = base.size();
    memcpy(joined, base.data(), length);
    if (base.back() != '\\')
        joined[length++] = '\\';
    if (length + fileLength >= PATH_BUFFER_SIZE)
        return "";
    memcpy(joined + length, file, fileLength);
    return canonicalize(std::string_view(joined, length + fileLength));
}

std::string renameExtension(const std::string& path, const std::string& extension)
{
    std::string text = inBuffer(path);
    size_t start = text.size() - findExtension(text).size();
    size_t extensionLength = strlen(extension.c_str());
    if (start + extensionLength >= PATH_BUFFER_SIZE)
        return "";
    return text.substr(0, start) + extension.c_str();
}

std::string findFileName(const std::string& path)
{
    const char* text = path.c_str();
    const char* name = text;
    for (const char* p = text; *p; ++p) {
        if ((*p == '\\' || *p == '/' || *p == ':') && p[1] && p[1] != '\\' && p[1] != '/')
            name = p + 1;
    }
    return name;
}

std::string findExtension(const std::string& path)
{
    const char* text = path.c_str();
    const char* dot = nullptr;
    const char* p = text;
    for (; *p; ++p) {
        if (*p == '\\' || *p == ' ')
            dot = nullptr;
        else if (*p == '.')
            dot = p;
    }
    return dot ? dot : p;
}

bool isRelativePath(const std::string& path)
{
    return isRelative(path.c_str());
}
