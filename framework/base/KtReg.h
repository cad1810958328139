// KtReg: a forgiving array of 32-bit registers that holds the scenario's integer variables.
#pragma once
#include <windows.h>

class KtFile;
template <class T> class RegisterArray;

// An index outside the array warns and uses element 0; touching an array
// that was never created makes a one-element array on the spot. Neither
// stops the game.
//
// Scenario modules build these objects themselves and call their virtual
// operations through the table, so the fields (table pointer, values,
// count) and the slot order are fixed.
class KtReg {
public:
    KtReg();
    virtual ~KtReg();                    // slot 0 (two entries)
    // Writes the array to an open file: the count, then every value.
    virtual void save(KtFile& file);     // slot 1
    // Reads what save wrote. A count that the rest of the file cannot hold
    // is refused (false) and the array is left as it was.
    virtual bool load(KtFile& file);     // slot 2

    // The array owns its block; a copy would free it twice.
    KtReg(const KtReg&) = delete;
    KtReg& operator=(const KtReg&) = delete;

    // Replaces the array by count zeros; count <= 0 changes nothing. The new
    // block is made before the old one goes, so a failure (thrown as
    // NotEnoughMemoryException) leaves the array as it was.
    void create(int count);
    // Frees the array; count becomes 0.
    void clear();
    DWORD& item(int index);

    const DWORD* values() const { return values_; }
    int count() const { return count_; }

private:
    RegisterArray<DWORD> array();

    DWORD* values_;
    int count_;
};
