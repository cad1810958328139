// KtCursor: a mouse cursor loaded by number, resource name or file, and whether it is owned.
#pragma once
#include <windows.h>

// Every window embeds one. A cursor from a file belongs to this object and is
// destroyed with it; cursors from resources are shared by the system and are
// never destroyed. Layout (virtual table, owned, cursor) is read by scenario
// modules.
class KtCursor {
public:
    KtCursor();
    virtual ~KtCursor();
    KtCursor(const KtCursor&) = delete;            // two owners would destroy twice
    KtCursor& operator=(const KtCursor&) = delete;

    // idOrName: a cursor number (high 16 bits 0) or a resource name or file
    // name. Falls back to the standard arrow when nothing can be loaded.
    void load(const char* idOrName);
    void load(int number);

    // Takes the other object's cursor without its ownership: the source keeps
    // destroying it, this object only shows it.
    void share(const KtCursor& other);

    void destroyOwned();

    HCURSOR handle() const { return cursor_; }
    bool owned() const { return owned_ != 0; }

    // Which module a cursor number is looked up in: null for the system's
    // cursors, otherwise the program's own.
    static HINSTANCE moduleForNumber(unsigned number);

private:
    void keep(HCURSOR cursor, int owned);
    void loadNumber(unsigned number);

    int owned_;
    HCURSOR cursor_;

    friend struct KtCursorLayout;
};
