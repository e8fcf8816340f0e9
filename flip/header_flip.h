#ifndef QUORLAN_FLIP_HEADER_FLIP_H
#define QUORLAN_FLIP_HEADER_FLIP_H

// The header-flip command: opens the counterpart of a source file in Visual Studio. The
// candidates, tried in this order:
//
//   .h, .hpp      ->  .cpp, .c, .cc, .cxx, .c++, .cu, .m, .mm
//   .cpp, .c      ->  .h, .hpp
//   .hh           ->  .cc             .cc      ->  .hh, .h, .hpp
//   .hxx          ->  .cxx            .cxx     ->  .hxx, .h, .hpp
//   .h++          ->  .c++            .c++     ->  .h++, .h, .hpp
//   .cuh          ->  .cu             .cu      ->  .cuh, .h, .hpp
//                                     .m, .mm  ->  .h, .hpp
//   .xaml         ->  .xaml.cs
//   .xaml.cs      ->  .xaml        (".xaml.cs" written in lower case anywhere in the path)
//
// The counterpart is looked for beside the file first, each candidate in turn; only when none
// exists there is the solution loaded and searched by file name alone, each candidate in turn, the
// first match in walk order winning. So the usual case, header and source side by side, touches
// no solution, project or cache file. Nothing is reported when there is no counterpart.

#include "driver/app_info.h"

#include <windows.h>

#include <string>

// app, window and parentProcessId are handed unchanged to openInVisualStudio. solutionPath may be
// empty: then only the file's own folder is searched.
void headerFlip(const AppInfo& app, HWND window, const std::string& headerFlipPath, const std::string& solutionPath,
                DWORD parentProcessId);

#endif
