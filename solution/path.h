#ifndef QUORLAN_SOLUTION_PATH_H
#define QUORLAN_SOLUTION_PATH_H

// Path functions over 8-bit (ANSI) paths, on the shell's path functions.
//
// Those that build a path work in a buffer of MAX_PATH (260) bytes: their input is cut to 259
// characters, and they give "" when the platform call fails (a result too long, nothing to remove).

#include <string>

// The path without its last component: "C:\a\b.txt" gives "C:\a".
std::string removeFileSpec(const std::string& path);

// dir and more joined with exactly one backslash, "." and ".." resolved; a full path in more
// replaces dir.
std::string appendPath(const std::string& dir, const std::string& more);

// The path with the extension of its file-name part (from its last ".") replaced by extension,
// which includes its dot; appended when there is none; removed when extension is "".
std::string renameExtension(const std::string& path, const std::string& extension);

// The last component of the path.
std::string findFileName(const std::string& path);

#endif
