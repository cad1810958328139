// KtSldReader: reads "SLD" files through a header holder preset with default colours.
#pragma once
#include "KtImageReader.h"
#include "LzssDecoder.h"
#include "SldHeader.h"

// attach reads the 16 fixed bytes and the colour table into the holder;
// a file too short for them keeps the preset values (see SldHeader).
class KtSldReader : public KtImageReader {
public:
    ~KtSldReader() override;
    // Presets the holder, then reads the header from the file's position.
    void attach(KtFile& file) override;        // slot 1
    int formatId() override;                   // slot 2: 2
    bool isMine() override;                    // slot 3
    // Decodes the rest of the file after the colour table.
    void* load() override;                     // slot 4

    // Back to magic "SLD", size 0 and the default colours.
    void presetHeader() { header.preset(); }
    const SldHeader& heldHeader() const { return header; }

private:
    static void checkLayout();

    SldHeader header;
    uint8_t window[LzssDecoder::windowSize];
};
