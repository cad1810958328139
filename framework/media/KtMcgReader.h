// KtMcgReader: reads "MCG " files, their colour table and the flag byte of each colour.
#pragma once
#include "KtImageReader.h"

// Colour-table operations work on the table right after the 64-byte header;
// in a file with bit-field masks that place holds the masks (decode takes
// the table after them). Every operation here rewinds the file afterwards.
class KtMcgReader : public KtImageReader {
public:
    ~KtMcgReader() override;
    int formatId() override;                                   // slot 2: 1
    bool isMine() override;                                    // slot 3
    // Reads the whole file from the attached position and decodes it.
    void* load() override;                                     // slot 4
    // A whole file image in memory; a packed DIB block from KtHeap or null.
    virtual void* decode(const void* data, DWORD size);        // slot 5
    // flags: 256 entries; 0, then each stored colour's fourth byte.
    virtual void readFlags(DWORD* flags);                      // slot 6
    // The stated colour count; 0 when not MCG or above 256.
    virtual int colourCount();                                 // slot 7
    // table: room for colourCount() entries of 4 bytes.
    virtual void readColourTable(void* table);                 // slot 8
    // Writes count entries over the stored table (file open for writing),
    // no more than the file states.
    virtual void writeColourTable(const void* table, int count);  // slot 9

private:
    // The header, then up to 256 colour entries; returns the bytes read, or
    // 0 when nothing is attached or the file is not MCG.
    DWORD readHead(uint8_t* buffer, DWORD size);
};
