// KtStringRecord: saving, loading and measuring KtString records in a file.
#include "KtStringRecord.h"
#include "KtFile.h"
#include "KtHeap.h"

namespace {
constexpr int textGrowth = 256;

// Bytes between the file's position and its end; the most a record can hold.
DWORD bytesLeft(KtFile& file)
{
    DWORD here = KtStringRecord::position(file);
    DWORD size = GetFileSize(file.handle, nullptr);
    if (here == INVALID_SET_FILE_POINTER || size == INVALID_FILE_SIZE || size < here)
        return 0;
    return size - here;
}

// Frees its heap block on every way out, an exception from a read included.
class HeapBlock {
public:
    explicit HeapBlock(DWORD size)
        : bytes_(static_cast<char*>(KtHeap::malloc(size, KtHeap::throwOnFailure | KtHeap::zeroFill)))
    {
    }
    ~HeapBlock() { KtHeap::free(bytes_, 0); }
    HeapBlock(const HeapBlock&) = delete;
    HeapBlock& operator=(const HeapBlock&) = delete;
    char* bytes() const { return bytes_; }

private:
    char* bytes_;
};
}

void KtStringRecord::save(const KtString& string, KtFile& file)
{
    if (!file.isOpen())
        return;
    DWORD count = static_cast<DWORD>(string.length()) + 1;
    file.write(&count, sizeof count);
    file.write(string.text(), count);
}

void KtStringRecord::load(KtString& string, KtFile& file)
{
    if (!file.isOpen())
        return;
    DWORD count = 0;
    if (!readCount(file, count)) {
        string.create(textGrowth, "");
        return;
    }
    // The count comes from the file: never allocate or read more than the
    // file can still give, so a damaged record cannot ask for gigabytes.
    DWORD left = bytesLeft(file);
    DWORD wanted = count < left ? count : left;
    // One byte more than the record, so that a record without its NUL
    // still ends inside the block.
    HeapBlock block(wanted + 1);
    DWORD got = file.read(block.bytes(), wanted);
    block.bytes()[got] = '\0';
    string.create(textGrowth, block.bytes());
}

DWORD KtStringRecord::storedLength(KtFile& file)
{
    if (!file.isOpen())
        return 0;
    DWORD start = position(file);
    DWORD count = 0;
    bool whole = readCount(file, count);
    rewind(file, start);
    return whole && count > 0 ? count - 1 : 0;
}

bool KtStringRecord::readCount(KtFile& file, DWORD& count)
{
    DWORD value = 0;
    if (file.read(&value, sizeof value) != sizeof value)
        return false;
    count = value;
    return true;
}

DWORD KtStringRecord::position(KtFile& file)
{
    return SetFilePointer(file.handle, 0, nullptr, FILE_CURRENT);
}

void KtStringRecord::rewind(KtFile& file, DWORD position)
{
    SetFilePointer(file.handle, static_cast<LONG>(position), nullptr, FILE_BEGIN);
}
