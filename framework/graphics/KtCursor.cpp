// KtCursor: the load rules by number range, by resource name and from a file.
#include "KtCursor.h"
#include "KtLayoutCheck.h"
#include <cstddef>
#include <cstdint>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
struct KtCursorLayout {
#ifndef _WIN64
    static_assert(sizeof(KtCursor) == 12, "virtual table, owned, cursor");
    static_assert(offsetof(KtCursor, owned_) == 4);
    static_assert(offsetof(KtCursor, cursor_) == 8);
#else
    static_assert(ktFieldsInOrder({offsetof(KtCursor, owned_), offsetof(KtCursor, cursor_)}),
                  "virtual table, owned, cursor");
#endif
};
#pragma GCC diagnostic pop

KtCursor::KtCursor() : owned_(0), cursor_(nullptr)
{
}

KtCursor::~KtCursor()
{
    destroyOwned();
}

void KtCursor::destroyOwned()
{
    if (owned_ && cursor_) {
        DestroyCursor(cursor_);
        cursor_ = nullptr;
        owned_ = 0;
    }
}

void KtCursor::keep(HCURSOR cursor, int owned)
{
    destroyOwned();
    cursor_ = cursor;
    owned_ = owned;
}

void KtCursor::share(const KtCursor& other)
{
    if (&other == this)
        return;
    keep(other.cursor_, 0);
}

HINSTANCE KtCursor::moduleForNumber(unsigned number)
{
    HINSTANCE program = GetModuleHandleA(nullptr);
    if (number >= 32512 && number <= 32516)
        return nullptr;
    if (number >= 32640 && number <= 32650)
        return (number == 32647 || number == 32649) ? program : nullptr;
    return program;
}

void KtCursor::loadNumber(unsigned number)
{
    if (number == 0)
        number = 32512;   // IDC_ARROW
    HCURSOR loaded = LoadCursorA(moduleForNumber(number), MAKEINTRESOURCEA(number));
    if (loaded) {
        keep(loaded, 0);
        return;
    }
    keep(LoadCursorA(nullptr, IDC_ARROW), 0);
}

void KtCursor::load(int number)
{
    // Only 16 bits name a resource; a larger number would be taken for a
    // pointer by the system, so it gets the fallback arrow instead.
    if (number < 0 || number > 0xFFFF) {
        keep(LoadCursorA(nullptr, IDC_ARROW), 0);
        return;
    }
    loadNumber(static_cast<unsigned>(number));
}

void KtCursor::load(const char* idOrName)
{
    uintptr_t value = reinterpret_cast<uintptr_t>(idOrName);
    if ((value >> 16) == 0) {
        loadNumber(static_cast<unsigned>(value));
        return;
    }
    if (HCURSOR resource = LoadCursorA(GetModuleHandleA(nullptr), idOrName)) {
        keep(resource, 0);
        return;
    }
    if (HCURSOR file = LoadCursorFromFileA(idOrName)) {
        keep(file, 1);
        return;
    }
    keep(LoadCursorA(nullptr, IDC_ARROW), 0);
}
