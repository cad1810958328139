// KtString: shared buffers, copy-on-write appends and Shift-JIS walking.
#include "KtString.h"
#include "Diagnostic.h"
#include "KtMessageBox.h"
#include <windows.h>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

static_assert(sizeof(KtString) == 12, "vtable, buffer, cursor");

// Modules read a string's buffer and cursor in place.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
struct KtStringLayout {
#ifndef _WIN64
    static_assert(offsetof(KtString, buffer_) == 4, "the buffer follows the table pointer");
    static_assert(offsetof(KtString, cursor_) == 8, "the cursor follows the buffer");
#endif
    static_assert(sizeof(void*) <= offsetof(KtString, buffer_), "the table pointer first");
    static_assert(offsetof(KtString, buffer_) < offsetof(KtString, cursor_), "buffer, then cursor");
};
#pragma GCC diagnostic pop

namespace {
const char kNoMemory[] = "メモリが足りません！";
const char kCreateTitle[] = "KtString - create()";
const char kAppendTitle[] = "KtString - append";
const int kDefaultGrowth = 256;

// Bytes of the character at p: 2 for a lead byte with a trail, else 1.
int charBytes(const char* p)
{
    return (IsDBCSLeadByte(static_cast<BYTE>(p[0])) && p[1]) ? 2 : 1;
}

bool setHolds(const char* set, const char* ch)
{
    if (!set)
        return false;
    int n = charBytes(ch);
    for (const char* s = set; *s; s += charBytes(s)) {
        if (charBytes(s) == n && std::memcmp(s, ch, n) == 0)
            return true;
    }
    return false;
}

// Digits of value in radix, most significant first, NUL-terminated.
void toDigits(unsigned value, int radix, bool negative, char* out)
{
    char reversed[40];
    int n = 0;
    do {
        reversed[n++] = "0123456789abcdefghijklmnopqrstuvwxyz"[value % radix];
        value /= radix;
    } while (value);
    if (negative)
        reversed[n++] = '-';
    for (int i = 0; i < n; ++i)
        out[i] = reversed[n - 1 - i];
    out[n] = '\0';
}

// A radix outside 2..36 would divide by zero or read past the digit table.
int saneRadix(int radix)
{
    return (radix < 2 || radix > 36) ? 10 : radix;
}
}

KtStringBuffer* KtString::makeBuffer(int growth, const char* text, const char* second,
                                     const char* failureTitle)
{
    try {
        return new KtStringBuffer(growth, text, second, failureTitle);
    } catch (const std::bad_alloc&) {
        throw NotEnoughMemoryException(failureTitle, kNoMemory);
    }
}

KtString::KtString() : buffer_(nullptr), cursor_(nullptr)
{
    create(kDefaultGrowth, nullptr);
}

KtString::KtString(int growth, const char* text) : buffer_(nullptr), cursor_(nullptr)
{
    create(growth, text);
}

KtString::KtString(const char* text) : buffer_(nullptr), cursor_(nullptr)
{
    create(kDefaultGrowth, text);
}

KtString::KtString(const KtString& other) : buffer_(other.buffer_), cursor_(other.cursor_)
{
    if (buffer_)
        InterlockedIncrement(&buffer_->references);
}

KtString& KtString::operator=(const KtString& other)
{
    if (buffer_ == other.buffer_)
        return *this;
    // Take the new reference before dropping ours, so that a handle reached
    // through the buffer being released can never be freed under us.
    KtStringBuffer* shared = other.buffer_;
    char* cursor = other.cursor_;
    if (shared)
        InterlockedIncrement(&shared->references);
    release();
    buffer_ = shared;
    cursor_ = cursor;
    return *this;
}

KtString::~KtString()
{
    release();
}

void KtString::release()
{
    if (!buffer_)
        return;
    if (InterlockedDecrement(&buffer_->references) <= 0)
        delete buffer_;
    // The handle no longer owns a reference either way; forgetting the
    // buffer keeps it from being released twice.
    buffer_ = nullptr;
    cursor_ = nullptr;
}

void KtString::take(KtStringBuffer* buffer, int cursorOffset)
{
    release();
    buffer_ = buffer;
    InterlockedIncrement(&buffer_->references);
    cursor_ = buffer_->text + cursorOffset;
}

char* KtString::create(int growth, const char* text)
{
    // The new buffer is made before the old one goes: text may point into
    // the old buffer, and a failure then leaves the string as it was.
    KtStringBuffer* fresh = makeBuffer(growth, text, nullptr, kCreateTitle);
    take(fresh, 0);
    return buffer_->text;
}

void KtString::clear()
{
    if (!buffer_) {
        create(kDefaultGrowth, nullptr);
    } else if (buffer_->references > 1) {
        create(buffer_->growth, nullptr);
    } else {
        buffer_->text[0] = '\0';
        buffer_->length = 0;
        cursor_ = buffer_->text;
    }
}

void KtString::append(const char* more)
{
    if (!more)
        return;
    long long added = static_cast<long long>(std::strlen(more));
    long long total = static_cast<long long>(length()) + added;
    if (buffer_ && buffer_->references <= 1 && buffer_->capacity > total) {
        // more may be this string's own text: the copy's first byte lands
        // on the terminator that the copy still has to read.
        std::memmove(buffer_->text + buffer_->length, more, static_cast<size_t>(added) + 1);
        buffer_->length = static_cast<int>(total);
        return;
    }
    int offset = buffer_ ? static_cast<int>(cursor_ - buffer_->text) : 0;
    int growth = buffer_ ? buffer_->growth : kDefaultGrowth;
    KtStringBuffer* grown = makeBuffer(growth, text(), more, kAppendTitle);
    take(grown, offset);
}

void KtString::appendN(const char* more, int maxBytes)
{
    if (!more || maxBytes <= 0)
        return;
    if (std::strlen(more) <= static_cast<size_t>(maxBytes)) {
        append(more);
        return;
    }
    char* block = static_cast<char*>(KtStringBuffer::allocate(static_cast<size_t>(maxBytes) + 1));
    if (!block)
        throw NotEnoughMemoryException(kAppendTitle, kNoMemory);
    int used = 0;
    while (more[used]) {
        int n = charBytes(more + used);
        if (used + n > maxBytes)
            break;                     // a lead byte in the last place: leave the character out
        std::memcpy(block + used, more + used, n);
        used += n;
    }
    block[used] = '\0';
    try {
        append(block);
    } catch (...) {
        KtStringBuffer::deallocate(block);
        throw;
    }
    KtStringBuffer::deallocate(block);
}

void KtString::appendDigits(const char* digits, int width)
{
    int d = static_cast<int>(std::strlen(digits));
    if (width <= 0 || width == d) {
        append(digits);
    } else if (width < d) {
        append(digits + (d - width));
    } else {
        char spaces[64];
        int pad = width - d;
        std::memset(spaces, ' ', sizeof spaces - 1);
        spaces[sizeof spaces - 1] = '\0';
        while (pad > 0) {
            int n = pad < static_cast<int>(sizeof spaces) - 1 ? pad : static_cast<int>(sizeof spaces) - 1;
            appendN(spaces, n);
            pad -= n;
        }
        append(digits);
    }
}

void KtString::appendInt(int value, int radix, int width)
{
    radix = saneRadix(radix);
    char digits[40];
    if (radix == 10 && value < 0)
        toDigits(0u - static_cast<unsigned>(value), 10, true, digits);
    else
        toDigits(static_cast<unsigned>(value), radix, false, digits);
    appendDigits(digits, width);
}

void KtString::appendUInt(unsigned value, int radix, int width)
{
    char digits[40];
    toDigits(value, saneRadix(radix), false, digits);
    appendDigits(digits, width);
}

bool KtString::next()
{
    if (!cursor_ || !*cursor_)
        return false;
    cursor_ = CharNextA(cursor_);
    return *cursor_ != '\0';
}

bool KtString::prev()
{
    if (!buffer_ || !cursor_ || cursor_ <= buffer_->text)
        return false;
    cursor_ = CharPrevA(buffer_->text, cursor_);
    return cursor_ != buffer_->text;
}

int KtString::seek(int offset, int origin)
{
    if (!buffer_)
        return 0;
    if (origin == 0) {
        if (offset < 0)
            return 0;
        cursor_ = buffer_->text;
    } else if (origin == 2) {
        if (offset > 0)
            return 0;
        cursor_ = buffer_->text + buffer_->length;
    }
    for (; offset > 0; --offset) {
        if (!next())
            return 0;
    }
    for (; offset < 0; ++offset) {
        if (!prev())
            return 0;
    }
    BYTE lead = static_cast<BYTE>(cursor_[0]);
    if (!lead)
        return 0;
    if (charBytes(cursor_) == 2)
        return (lead << 8) | static_cast<BYTE>(cursor_[1]);
    return static_cast<signed char>(lead);
}

const char* KtString::findFirstOf(const char* set)
{
    if (!cursor_)
        return nullptr;
    for (; *cursor_; cursor_ += charBytes(cursor_)) {
        if (setHolds(set, cursor_))
            return cursor_;
    }
    return nullptr;
}

const char* KtString::findLastOf(const char* set)
{
    const char* found = findFirstOf(set);
    if (!found)
        return nullptr;
    for (;;) {
        cursor_ = const_cast<char*>(found) + charBytes(found);
        const char* again = findFirstOf(set);
        if (!again) {
            cursor_ = const_cast<char*>(found);
            return found;
        }
        found = again;
    }
}

void KtString::extract(KtString& out, const char* start, const char* end) const
{
    const char* first = text();
    const char* terminator = first + length();
    const char* s = start ? start : first;
    const char* e = end ? end : terminator;
    auto address = [](const char* p) { return reinterpret_cast<uintptr_t>(p); };
    if (address(s) > address(e)) {
        const char* t = s;
        s = e;
        e = t;
    }
    if (address(s) < address(first) || address(e) > address(terminator)) {
        KtString report("  start:");
        report.appendUInt(static_cast<unsigned>(address(s)));
        report.append("\n    end:");
        report.appendUInt(static_cast<unsigned>(address(e)));
        report.append("\nstrings:");
        report.appendUInt(static_cast<unsigned>(address(first)));
        report.append("\n length:");
        report.appendUInt(static_cast<unsigned>(length()));
        KtMessageBox::show(nullptr, report.text(), "KtString class", KtMessageBox::notice);
        return;
    }
    int bytes = static_cast<int>(e - s) + 1;
    if (&out == this) {
        // Clearing first would wipe the very text being copied.
        KtString piece(growth(), nullptr);
        piece.appendN(s, bytes);
        out = piece;
        return;
    }
    out.clear();
    out.appendN(s, bytes);
}
