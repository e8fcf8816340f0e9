// The model's own path functions against the shell's, on many generated paths.

#include "solution/path.h"

#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// The shell's functions, called as the model used to call them: in a MAX_PATH buffer holding the
// input cut to 259 characters, "" when the call fails.
struct ShellBuffer {
    explicit ShellBuffer(const std::string& path) { lstrcpynA(text, path.c_str(), MAX_PATH); }
    char text[MAX_PATH];
};

std::string shellRemoveFileSpec(const std::string& path)
{
    ShellBuffer buffer(path);
    return PathRemoveFileSpecA(buffer.text) ? buffer.text : "";
}

// Wine's PathAppendA reads one character beyond the joined path when a ".." climbs to the start
// of a relative path ("a\.."), from a buffer on its stack: stale bytes of earlier calls then end
// up in the result. Zeroed stack below this frame makes that character the end of the path.
__attribute__((noinline)) void zeroStackBelow()
{
    volatile char area[16384];
    for (volatile char& c : area)
        c = 0;
}

std::string shellAppend(const std::string& dir, const std::string& more)
{
    zeroStackBelow();
    ShellBuffer buffer(dir);
    return PathAppendA(buffer.text, more.c_str()) ? buffer.text : "";
}

std::string shellRenameExtension(const std::string& path, const std::string& extension)
{
    ShellBuffer buffer(path);
    return PathRenameExtensionA(buffer.text, extension.c_str()) ? buffer.text : "";
}

// Paths made of the pieces that the path functions treat specially, with a long component now
// and then that brings the whole to some 250 to 265 characters.
class PathGenerator {
public:
    std::string path()
    {
        static const char* const ROOTS[] = {"", "", "C:", "c:\\", "Z:\\", "\\", "\\\\", "\\\\srv\\share", "\\\\srv\\",
                                            "/", ":", "C:/", "\\\\?\\C:\\", "..\\", ".\\", "a:"};
        static const char* const PIECES[] = {"a", "Dir", "b.txt", "x.y.z", ".", "..", "...", ". ", ".x", "a b",
                                             "a. b", "C:", ":", "\xE4", "\x80\xFF", "\xC3\xA9.h", "*", "..a", "a..",
                                             ".vcxproj", "", " "};
        static const char* const SEPARATORS[] = {"\\", "\\", "\\", "/", "\\\\", ""};
        std::string text = pick(ROOTS);
        int pieces = static_cast<int>(random_() % 7);
        for (int i = 0; i < pieces; ++i) {
            text += pick(PIECES);
            if (random_() % 4 != 0)
                text += pick(SEPARATORS);
        }
        if (random_() % 3 == 0) {
            size_t target = 250 + random_() % 16;
            if (text.size() < target)
                text.insert(random_() % (text.size() + 1), std::string(target - text.size(), 'n'));
        }
        return text;
    }

    std::string extension()
    {
        static const char* const EXTENSIONS[] = {".cpp", ".h", "", ".xaml.cs", "x", ".", ".\xE9"};
        return pick(EXTENSIONS);
    }

private:
    template <size_t N>
    const char* pick(const char* const (&choices)[N])
    {
        return choices[random_() % N];
    }

    std::mt19937 random_{12};
};

struct Difference {
    std::string function, input, ours, shell;
};

void compare(std::vector<Difference>& differences, const char* function, const std::string& input,
             const std::string& ours, const std::string& shell)
{
    if (ours != shell && differences.size() < 20)
        differences.push_back({function, input, ours, shell});
}

// The one way Wine's PathAppendA gives other than the path: when a ".." climbs to the start of
// the joined path, the result is "" followed by whatever lay beyond it. The stack zeroing above
// makes that nothing in the 32-bit build; in the 64-bit one the call itself leaves characters there.
bool wineReadPastTheJoin(const std::string& ours, const std::string& shell)
{
    return ours == "\\" && shell.size() > 1 && shell[0] == '\\';
}

TEST(PathTest, EveryFunctionGivesWhatTheShellGives)
{
    PathGenerator generator;
    std::vector<Difference> differences;
    int failedJoins = 0, longPaths = 0, overReads = 0;
    const int INPUTS = 120000;
    for (int i = 0; i < INPUTS; ++i) {
        std::string path = generator.path();
        std::string more = generator.path();
        std::string extension = generator.extension();
        failedJoins += shellAppend(path, more).empty();
        longPaths += path.size() >= 259;
        compare(differences, "removeFileSpec", path, removeFileSpec(path), shellRemoveFileSpec(path));
        std::string joined = appendPath(path, more), shellJoined = shellAppend(path, more);
        if (wineReadPastTheJoin(joined, shellJoined))
            ++overReads;
        else
            compare(differences, "appendPath", path + " | " + more, joined, shellJoined);
        compare(differences, "renameExtension", path + " | " + extension, renameExtension(path, extension),
                shellRenameExtension(path, extension));
        compare(differences, "findFileName", path, findFileName(path), PathFindFileNameA(path.c_str()));
        compare(differences, "findExtension", path, findExtension(path), PathFindExtensionA(path.c_str()));
        compare(differences, "isRelativePath", path, isRelativePath(path) ? "relative" : "not",
                PathIsRelativeA(path.c_str()) ? "relative" : "not");
    }
    // The generator reaches the limits: joins too long to fit, inputs that are cut.
    EXPECT_GT(failedJoins, 1000);
    EXPECT_GT(longPaths, 1000);
    EXPECT_LT(overReads, INPUTS / 1000) << "joins that climb to their start, where Wine reads past the join";
    for (const Difference& d : differences)
        ADD_FAILURE() << d.function << "(" << d.input << "): ours '" << d.ours << "', shell '" << d.shell << "'";
}

}  // namespace
