#ifndef QUORLAN_SOLUTION_NATIVE_PATH_H
#define QUORLAN_SOLUTION_NATIVE_PATH_H

// Native builds only (file_system_posix.cpp): the POSIX path that the file-system seam opens for
// one of the model's Windows paths. A drive ("Z:") is dropped and every '\' becomes '/', as
// Wine's drive Z: is the root: "Z:\tmp\a.sln" and "\tmp\a.sln" are both /tmp/a.sln. Where the path
// doesn't exist as written, each component is found in its folder without regard to ASCII case,
// as on Windows.

#include <string>

std::string nativePath(const std::string& path);

#endif
