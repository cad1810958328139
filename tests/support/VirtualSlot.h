// VirtualSlot: calls a virtual function by its slot number, the way a scenario module does.
#pragma once

// A scenario module knows the framework's objects only by their layouts: it
// loads the table pointer from offset 0 and calls entry n with the object in
// ECX. Calling through this helper proves that a slot number reaches the
// operation the interface promises. The destructor (slot 0) fills two
// entries in this compiler's tables, so slot n >= 1 is entry n + 1.
template <class R, class... Args>
R callSlot(void* object, int slot, Args... args)
{
    using Entry = R(__thiscall*)(void*, Args...);
    void** table = *static_cast<void***>(object);
    return reinterpret_cast<Entry>(table[slot + 1])(object, args...);
}

// The slot number that a virtual member function occupies, as a scenario
// module counts it. (A pointer to a virtual member holds one plus the byte
// offset of its table entry.)
template <class F>
int slotOf(F member)
{
    static_assert(sizeof(F) >= sizeof(long long), "a pointer to member function");
    long long raw = 0;
    __builtin_memcpy(&raw, &member, sizeof(void*));
    return static_cast<int>((raw - 1) / static_cast<long long>(sizeof(void*))) - 1;
}

// The slot number of a virtual member function as this compiler lays out
// the table, counted as the framework counts (the destructor's two entries
// are slot 0); -1 for a function that is not virtual. Pick an overload with
// a cast: slotNumber(static_cast<int (Diagnostic::*)()>(&Diagnostic::show)).
template <class F>
int slotNumber(F member)
{
    static_assert(sizeof(F) == 2 * sizeof(void*), "member pointer of two words");
    unsigned long long word = 0;
    static_assert(sizeof(void*) <= sizeof word, "");
    __builtin_memcpy(&word, &member, sizeof(void*));
    if ((word & 1) == 0)
        return -1;
    return static_cast<int>((word - 1) / sizeof(void*)) - 1;
}
