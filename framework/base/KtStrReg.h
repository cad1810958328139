// KtStrReg: a forgiving array of string registers that holds the scenario's text variables.
#pragma once
#include "KtString.h"

class KtFile;
template <class T> class RegisterArray;

// Behaves as KtReg does, with KtString elements (growth 256, empty when
// made). Scenario modules build these objects themselves and call their
// virtual operations through the table, so the fields (table pointer,
// strings, count) and the slot order are fixed. The strings are made with
// array new, as the module frees them with array delete.
class KtStrReg {
public:
    KtStrReg();
    virtual ~KtStrReg();                 // slot 0 (two entries)
    // Writes the count, then every string as a string record.
    virtual void save(KtFile& file);     // slot 1
    // Reads what save wrote. A count that the rest of the file cannot hold
    // is refused (false); the array changes only when every string was read.
    virtual bool load(KtFile& file);     // slot 2

    KtStrReg(const KtStrReg&) = delete;
    KtStrReg& operator=(const KtStrReg&) = delete;

    // Replaces the array by count empty strings; count <= 0 changes nothing.
    // A failure (NotEnoughMemoryException) leaves the array as it was.
    void create(int count);
    // Destroys every string and frees the array; count becomes 0.
    void clear();
    KtString& item(int index);

    const KtString* strings() const { return strings_; }
    int count() const { return count_; }

private:
    RegisterArray<KtString> array();

    KtString* strings_;
    int count_;
};
