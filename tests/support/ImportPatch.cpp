// ImportPatch: finding a function's entry in the framework's import table and swapping it.
#include "ImportPatch.h"

namespace {

template <class T>
T* at(BYTE* base, DWORD offset)
{
    return reinterpret_cast<T*>(base + offset);
}

// The module whose calls are patched: KtLIB.dll, or the program when the
// framework is linked into it.
HMODULE frameworkModule()
{
    HMODULE framework = GetModuleHandleA("KtLIB.dll");
    return framework ? framework : GetModuleHandleA(nullptr);
}

// The entry of function among the framework's imports from dll, or null.
void** findSlot(const char* dll, const char* function)
{
    auto* base = reinterpret_cast<BYTE*>(frameworkModule());
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = at<IMAGE_NT_HEADERS>(base, DWORD(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0)
        return nullptr;
    // Matched by address as well as by name: an entry without its name
    // table still holds the bound address.
    HMODULE library = GetModuleHandleA(dll);
    FARPROC wanted = library ? GetProcAddress(library, function) : nullptr;
    for (auto* d = at<IMAGE_IMPORT_DESCRIPTOR>(base, imports.VirtualAddress); d->Name; ++d) {
        if (lstrcmpiA(at<char>(base, d->Name), dll) != 0)
            continue;
        auto* bound = at<IMAGE_THUNK_DATA>(base, d->FirstThunk);
        auto* names = d->OriginalFirstThunk ? at<IMAGE_THUNK_DATA>(base, d->OriginalFirstThunk)
                                            : nullptr;
        for (size_t i = 0; bound[i].u1.Function; ++i) {
            void** slot = reinterpret_cast<void**>(&bound[i].u1.Function);
            if (wanted && *slot == reinterpret_cast<void*>(wanted))
                return slot;
            if (names && !IMAGE_SNAP_BY_ORDINAL(names[i].u1.Ordinal)) {
                auto* byName = at<IMAGE_IMPORT_BY_NAME>(base, DWORD(names[i].u1.AddressOfData));
                if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), function) == 0)
                    return slot;
            }
        }
    }
    return nullptr;
}

}  // namespace

ImportPatch::ImportPatch(const char* dll, const char* function, const void* replacement)
    : slot_(findSlot(dll, function))
{
    if (!slot_)
        return;
    original_ = *slot_;
    write(slot_, replacement);
}

ImportPatch::~ImportPatch()
{
    if (slot_)
        write(slot_, original_);
}

void ImportPatch::write(void** slot, const void* value)
{
    DWORD old = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    *slot = const_cast<void*>(value);
    VirtualProtect(slot, sizeof *slot, old, &old);
}
