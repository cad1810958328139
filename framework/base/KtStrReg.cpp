// KtStrReg: creation, forgiving indexing and the file form of string register arrays.
#include "KtStrReg.h"
#include "Diagnostic.h"
#include "KtFile.h"
#include "KtRegWarning.h"
#include "KtStringRecord.h"
#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace {
const char createTitle[] = "KtStrReg - create";
const char itemCaption[] = "KtStrReg - item()";
const char noMemory[] = "メモリが足りません！";
// Array new puts a count ahead of elements that have a destructor.
constexpr std::size_t arrayCookie = sizeof(std::size_t);
}

KtStrReg::KtStrReg() : strings_(nullptr), count_(0)
{
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
    static_assert(sizeof(KtStrReg) == 12, "table pointer, strings, count");
    static_assert(offsetof(KtStrReg, strings_) == 4, "strings follow the table pointer");
    static_assert(offsetof(KtStrReg, count_) == 8, "count follows strings");
#pragma GCC diagnostic pop
}

KtStrReg::~KtStrReg()
{
    clear();
}

KtString* KtStrReg::allocate(int count)
{
    // count * 12 and the array's cookie must not wrap around the address space.
    if (static_cast<std::size_t>(count) > (SIZE_MAX - arrayCookie) / sizeof(KtString))
        throw NotEnoughMemoryException(createTitle, noMemory);
    try {
        return new KtString[count];
    } catch (const std::bad_alloc&) {
        throw NotEnoughMemoryException(createTitle, noMemory);
    } catch (const NotEnoughMemoryException&) {
        // An element's buffer could not be made; the strings made so far
        // are already destroyed. The box names the array, not the string.
        throw NotEnoughMemoryException(createTitle, noMemory);
    }
}

void KtStrReg::adopt(KtString* strings, int count)
{
    clear();
    strings_ = strings;
    count_ = count;
}

void KtStrReg::create(int count)
{
    if (count <= 0)
        return;
    adopt(allocate(count), count);
}

void KtStrReg::clear()
{
    if (!strings_)
        return;
    delete[] strings_;
    strings_ = nullptr;
    count_ = 0;
}

KtString& KtStrReg::item(int index)
{
    if (!strings_) {
        create(1);
        KtRegWarning::notCreated(itemCaption);
        return strings_[0];
    }
    if (index < 0 || index >= count_) {
        KtRegWarning::outOfRange(itemCaption, index, count_);
        return strings_[0];
    }
    return strings_[index];
}

void KtStrReg::save(KtFile& file)
{
    DWORD count = strings_ ? static_cast<DWORD>(count_) : 0;
    file.write(&count, sizeof count);
    for (DWORD i = 0; i < count; ++i)
        KtStringRecord::save(strings_[i], file);
}

bool KtStrReg::load(KtFile& file)
{
    DWORD start = KtStringRecord::position(file);
    DWORD size = GetFileSize(file.handle, nullptr);
    DWORD count = 0;
    // Every record takes at least its 4-byte count, which bounds how many
    // strings the rest of the file can hold before the count sizes a block.
    bool sane = KtStringRecord::readCount(file, count) && size != INVALID_FILE_SIZE &&
                count != 0 && count <= (size - start - sizeof count) / sizeof(DWORD);
    if (!sane) {
        KtStringRecord::rewind(file, start);
        return false;
    }
    std::unique_ptr<KtString[]> strings(allocate(static_cast<int>(count)));
    for (DWORD i = 0; i < count; ++i)
        KtStringRecord::load(strings[i], file);
    adopt(strings.release(), static_cast<int>(count));
    return true;
}
