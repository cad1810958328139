// KtFont: an empty font description whose handle, once given, is deleted with the holder.
#include "KtFont.h"
#include <cstddef>
#include <cstring>

#ifndef _WIN64
static_assert(offsetof(KtFont, logFont) == 4);
static_assert(offsetof(KtFont, handle) == 64);
static_assert(sizeof(KtFont) == 68);
#else
static_assert(offsetof(KtFont, logFont) < offsetof(KtFont, handle));
#endif

KtFont::KtFont() : handle(nullptr)
{
    // Every size, angle, weight and byte field zero and an empty face name:
    // the font mapper's default when someone makes a font from it.
    std::memset(&logFont, 0, sizeof logFont);
}

KtFont::~KtFont()
{
    if (handle)
        DeleteObject(handle);
    handle = nullptr;
}
