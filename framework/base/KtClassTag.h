// KtClassTag: the class name written ahead of a stored object and recognised again on reading.
#pragma once
#include "KtString.h"

class KtFile;

// Writers put the tag in front of an object's data with save; readers check
// it with matchInFile before reading the data. Scenario modules call these
// through the virtual table, so the order of the virtual operations is fixed.
class KtClassTag {
public:
    KtClassTag();
    explicit KtClassTag(const char* name);
    KtClassTag(const KtClassTag& other) = default;
    KtClassTag& operator=(const KtClassTag& other) = default;

    virtual ~KtClassTag();                              // slot 0
    // Shares other's buffer.
    virtual void assign(const KtString& other);         // slot 1
    // A fresh text of growth 256.
    virtual void assign(const char* text);              // slot 2
    // Kept for its place in the table; no effect.
    virtual int reserved();                             // slot 3
    // Same buffer, or texts equal by lstrcmpA (case-sensitive).
    virtual bool equals(const KtString& other);         // slot 4
    virtual bool equals(const char* text);              // slot 5
    // True with the file just after the tag when the record at the file's
    // position holds this name; false with the position unchanged otherwise.
    virtual bool matchInFile(KtFile& file);             // slot 6
    virtual KtString& name();                           // slot 7
    virtual void save(KtFile& file);                    // slot 8
    virtual void load(KtFile& file);                    // slot 9

private:
    KtString name_;
};
