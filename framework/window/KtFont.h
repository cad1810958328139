// KtFont: the description and handle of the font a viewport draws its input text in.
#pragma once
#include <windows.h>

// Embedded in KtViewport, whose fields scenario modules reach by position:
// the virtual table, the 60-byte LOGFONTA, then the handle. Nothing in the
// framework makes the handle; whoever stores one here hands it over, and the
// holder deletes it.
class KtFont {
public:
    KtFont();
    KtFont(const KtFont&) = delete;            // two holders would delete one font twice
    KtFont& operator=(const KtFont&) = delete;
    virtual ~KtFont();

    LOGFONTA logFont;
    HFONT handle;      // owned; null until someone stores a font
};
