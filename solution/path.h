#ifndef QUORLAN_SOLUTION_PATH_H
#define QUORLAN_SOLUTION_PATH_H

// Path functions over 8-bit (ANSI) Windows paths, the project's own: each gives what the shell's
// function of the same purpose gives (PathRemoveFileSpecA, PathAppendA, PathRenameExtensionA,
// PathFindFileNameA, PathFindExtensionA, PathIsRelativeA), so the model behaves alike in the
// program and in native builds. A test under Wine compares them with the real ones.
//
// Those that build a path work as in a buffer of PATH_BUFFER_SIZE bytes: their input is cut to
// 259 characters (and at an embedded NUL), and they give "" where the shell's function fails (a
// result too long, nothing to remove). Every byte counts as one character, as in the single-byte
// ANSI code pages; '\' separates components, and where the shell's functions also take '/' or
// ':' these do too.

#include <cstddef>
#include <string>

// MAX_PATH: the longest path the model holds, its terminator included.
constexpr size_t PATH_BUFFER_SIZE = 260;

// The path without its last component: "C:\a\b.txt" gives "C:\a", "C:\a" gives "C:\".
std::string removeFileSpec(const std::string& path);

// dir and more joined with exactly one backslash, "." and ".." resolved; a full path in more
// replaces dir. "" when more has 260 characters or more, or the result would.
std::string appendPath(const std::string& dir, const std::string& more);

// The path with the extension of its file-name part (from its last ".") replaced by extension,
// which includes its dot; appended when there is none; removed when extension is "".
std::string renameExtension(const std::string& path, const std::string& extension);

// The last component of the path (after the last '\', '/' or ':' that something follows).
std::string findFileName(const std::string& path);

// The extension of the path's last component, from its last "." ("" when it has none). A space
// or '\' after the dot ends the extension, as for the shell.
std::string findExtension(const std::string& path);

// Neither rooted ("\...") nor starting with a drive ("X:"); "" is relative.
bool isRelativePath(const std::string& path);

#endif
