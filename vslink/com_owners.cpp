#include "vslink/com_owners.h"

#include <vector>

UniqueBstr makeBstr(const std::string& text)
{
    int length = static_cast<int>(text.size());
    int wideLength = MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), length, nullptr, 0);
    if (wideLength <= 0 && length > 0)
        return UniqueBstr();
    // SysAllocStringLen with a null source gives an uninitialised string of that length.
    UniqueBstr result(SysAllocStringLen(nullptr, static_cast<UINT>(wideLength)));
    if (result && length > 0 &&
        MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), length, result.get(), wideLength) != wideLength)
        result.reset();
    return result;
}

std::string ansiText(const wchar_t* text)
{
    int size = WideCharToMultiByte(CP_THREAD_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::vector<char> buffer(size);
    if (WideCharToMultiByte(CP_THREAD_ACP, 0, text, -1, buffer.data(), size, nullptr, nullptr) != size)
        return std::string();
    return std::string(buffer.data(), size - 1);
}
