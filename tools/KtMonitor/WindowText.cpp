// WindowText: reading a window's text into a buffer of its own length.
#include "WindowText.h"
#include <vector>

std::string WindowText::read(HWND window)
{
    if (!window || !IsWindow(window))
        return {};
    // The length is an upper bound in bytes of the ANSI text; the text may
    // change between the two calls, so the second one's count is what counts.
    const int length = GetWindowTextLengthA(window);
    if (length <= 0)
        return {};
    std::vector<char> text(size_t(length) + 1);
    const int copied = GetWindowTextA(window, text.data(), length + 1);
    return std::string(text.data(), copied > 0 ? size_t(copied) : 0);
}
