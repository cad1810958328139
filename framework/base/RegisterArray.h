// RegisterArray: creation, freeing, forgiving indexing and the stored count shared by the register arrays.
#pragma once
#include "Diagnostic.h"
#include "KtFile.h"
#include "KtRegWarning.h"
#include "KtStringRecord.h"
#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <new>
#include <type_traits>

// The captions a register array's boxes carry ("KtReg - create", "KtReg - item()").
struct RegisterCaptions {
    const char* create;
    const char* item;
};

// Works on the block pointer and count of a register array of T. The arrays
// keep those fields themselves because scenario modules read them at fixed
// offsets; this view only holds references to them.
template <class T>
class RegisterArray {
public:
    RegisterArray(T*& values, int& count, const RegisterCaptions& captions)
        : values_(values), count_(count), captions_(captions)
    {
    }

    // count elements made as array new makes them (zeros for integers), so
    // that a scenario module may free them with array delete.
    T* allocate(int count) const
    {
        // Array new puts a count ahead of elements that have a destructor.
        // The block stays below 2 GB, all that the 32-bit program can ever
        // hold, so that a 64-bit build refuses the same counts instead of
        // committing gigabytes.
        constexpr std::size_t cookie =
            std::is_trivially_destructible<T>::value ? 0 : sizeof(std::size_t);
        constexpr std::size_t largestBlock = 0x7FFFFFFF;
        if (static_cast<std::size_t>(count) > (largestBlock - cookie) / sizeof(T))
            throw NotEnoughMemoryException(captions_.create, noMemory);
        try {
            return new T[count]();
        } catch (const std::bad_alloc&) {
            throw NotEnoughMemoryException(captions_.create, noMemory);
        } catch (const NotEnoughMemoryException&) {
            // An element's own buffer could not be made; those made so far
            // are already destroyed. The box names the array, not the element.
            throw NotEnoughMemoryException(captions_.create, noMemory);
        }
    }

    // Frees the old block and takes values in its place.
    void adopt(T* values, int count)
    {
        clear();
        values_ = values;
        count_ = count;
    }

    void create(int count)
    {
        if (count <= 0)
            return;
        adopt(allocate(count), count);
    }

    void clear()
    {
        if (!values_)
            return;
        delete[] values_;
        values_ = nullptr;
        count_ = 0;
    }

    T& item(int index)
    {
        if (!values_) {
            create(1);
            KtRegWarning::notCreated(captions_.item);
            return values_[0];
        }
        if (index < 0 || index >= count_) {
            KtRegWarning::outOfRange(captions_.item, index, count_);
            return values_[0];
        }
        return values_[index];
    }

    // Reads a stored element count. It comes from the file, so it must fit
    // what the file still holds (every element takes at least 4 bytes) before
    // it may size a block; otherwise the file goes back to start and the
    // result is false.
    static bool readCount(KtFile& file, DWORD& start, DWORD& count)
    {
        start = KtStringRecord::position(file);
        const DWORD size = GetFileSize(file.handle, nullptr);
        count = 0;
        const bool sane = KtStringRecord::readCount(file, count) && size != INVALID_FILE_SIZE &&
                          count != 0 && count <= (size - start - sizeof count) / sizeof(DWORD);
        if (!sane)
            KtStringRecord::rewind(file, start);
        return sane;
    }

private:
    static constexpr const char* noMemory = "メモリが足りません！";

    T*& values_;
    int& count_;
    const RegisterCaptions& captions_;
};
