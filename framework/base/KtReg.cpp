// KtReg: creation, forgiving indexing and the file form of integer register arrays.
#include "KtReg.h"
#include "Diagnostic.h"
#include "KtFile.h"
#include "KtRegWarning.h"
#include "KtStringRecord.h"
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace {
const char createTitle[] = "KtReg - create";
const char itemCaption[] = "KtReg - item()";
const char noMemory[] = "メモリが足りません！";
}

KtReg::KtReg() : values_(nullptr), count_(0)
{
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
    static_assert(sizeof(KtReg) == 12, "table pointer, values, count");
    static_assert(offsetof(KtReg, values_) == 4, "values follow the table pointer");
    static_assert(offsetof(KtReg, count_) == 8, "count follows values");
#pragma GCC diagnostic pop
}

KtReg::~KtReg()
{
    clear();
}

DWORD* KtReg::allocate(int count)
{
    // count * 4 must not wrap around the 32-bit address space.
    if (static_cast<std::size_t>(count) > SIZE_MAX / sizeof(DWORD))
        throw NotEnoughMemoryException(createTitle, noMemory);
    try {
        return new DWORD[count]();
    } catch (const std::bad_alloc&) {
        throw NotEnoughMemoryException(createTitle, noMemory);
    }
}

void KtReg::adopt(DWORD* values, int count)
{
    clear();
    values_ = values;
    count_ = count;
}

void KtReg::create(int count)
{
    if (count <= 0)
        return;
    adopt(allocate(count), count);
}

void KtReg::clear()
{
    if (!values_)
        return;
    delete[] values_;
    values_ = nullptr;
    count_ = 0;
}

DWORD& KtReg::item(int index)
{
    if (!values_) {
        create(1);
        KtRegWarning::notCreated(itemCaption);
        return values_[0];
    }
    if (index < 0 || index >= count_) {
        KtRegWarning::outOfRange(itemCaption, index, count_);
        return values_[0];
    }
    return values_[index];
}

void KtReg::save(KtFile& file)
{
    DWORD count = values_ ? static_cast<DWORD>(count_) : 0;
    file.write(&count, sizeof count);
    if (count)
        file.write(values_, count * sizeof(DWORD));
}

bool KtReg::load(KtFile& file)
{
    DWORD start = KtStringRecord::position(file);
    DWORD size = GetFileSize(file.handle, nullptr);
    DWORD count = 0;
    // The count comes from the file: it must fit what the file still holds
    // before it may size a block.
    bool sane = KtStringRecord::readCount(file, count) && size != INVALID_FILE_SIZE &&
                count != 0 && count <= (size - start - sizeof count) / sizeof(DWORD);
    if (!sane) {
        KtStringRecord::rewind(file, start);
        return false;
    }
    std::unique_ptr<DWORD[]> values(allocate(static_cast<int>(count)));
    DWORD bytes = count * sizeof(DWORD);
    if (file.read(values.get(), bytes) != bytes) {
        KtStringRecord::rewind(file, start);
        return false;
    }
    adopt(values.release(), static_cast<int>(count));
    return true;
}
