// KtRegisterStore: setting system registers and the safe save of ".system.dat".
#include "KtRegisterStore.h"
#include "Diagnostic.h"
#include "KtCriticalSection.h"
#include "KtFile.h"
#include "KtMessageBox.h"
#include "KtPathName.h"
#include "KtLayoutCheck.h"
#include <cstddef>
#include <cstring>

namespace {
const char systemFile[] = ".system.dat";
const char pendingSuffix[] = ".new";

// The store, and with it the system registers' table, normally comes from
// the scenario module. Hiding where the pointer came from stops the compiler
// from assuming this library's own table and calling KtReg::save directly.
KtReg* throughTable(KtReg* reg)
{
    asm("" : "+r"(reg));
    return reg;
}

// FlushFileBuffers under KtFile's Retry/Cancel rule: the swap must not make
// a file durable whose contents may still be only in the cache.
void flush(KtFile& file, const char* name)
{
    while (!FlushFileBuffers(file.handle)) {
        DWORD code = GetLastError();
        KtString text(256, name);
        KtFile::appendWriteReason(text, code);
        if (KtMessageBox::show(nullptr, text.text(), "KtFile - write", KtFile::retryCancelStyle) !=
            IDRETRY)
            throw CannotWriteException("cannot write", name);
    }
}

// The scenario thread (the module's setSystem) and the main thread (a
// monitor's write) both save through the same ".system.dat.new". Host and
// module run the one copy of this code in KtLIB.dll, so a lock of the
// process serves; a named kernel object could be taken first by any other
// program. The lock is re-entrant, so a save started again on the same
// thread (a monitor's write arriving while a Retry box of a save is open)
// goes on.
KtCriticalSection& saveLock()
{
    static KtCriticalSection lock;
    return lock;
}
}

KtRegisterStore::KtRegisterStore(const char* base) : baseDirectory(256, base)
{
    std::memset(moduleHead_, 0, sizeof moduleHead_);
    std::memset(moduleMembers_, 0, sizeof moduleMembers_);
#ifndef _WIN64
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
    static_assert(offsetof(KtRegisterStore, baseDirectory) == 12, "base directory");
    static_assert(offsetof(KtRegisterStore, monitorText) == 24, "monitor text");
    static_assert(offsetof(KtRegisterStore, gameRegisters) == 36, "game registers");
    static_assert(offsetof(KtRegisterStore, stringRegisters) == 48, "string registers");
    static_assert(offsetof(KtRegisterStore, systemRegisters) == 536, "system registers");
#pragma GCC diagnostic pop
#else
    static_assert(ktFieldsInOrder({offsetof(KtRegisterStore, baseDirectory),
                                   offsetof(KtRegisterStore, monitorText),
                                   offsetof(KtRegisterStore, gameRegisters),
                                   offsetof(KtRegisterStore, stringRegisters),
                                   offsetof(KtRegisterStore, systemRegisters)}),
                  "base directory, monitor text, game, string and system registers");
#endif
}

KtString KtRegisterStore::systemFileName() const
{
    KtString name(256, baseDirectory.text());
    name.append(systemFile);
    return name;
}

KtString KtRegisterStore::pendingFileName() const
{
    KtString name = systemFileName();
    name.append(pendingSuffix);
    return name;
}

DWORD& KtRegisterStore::setSystem(int index, DWORD value, bool saveNow)
{
    DWORD& element = systemRegisters.item(index);
    element = value;
    if (saveNow)
        saveSystem();
    return element;
}

void KtRegisterStore::saveSystem()
{
    KtCriticalSection::Hold serialised(saveLock());
    KtString target = systemFileName();
    KtString pending = pendingFileName();
    KtPathName pendingPath(pending.text());
    try {
        KtFile file(pending.text());
        file.open(pendingPath, CREATE_ALWAYS, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                  FILE_ATTRIBUTE_NORMAL);
        throughTable(&systemRegisters)->save(file);
        flush(file, pending.text());
        file.close();
        KtFile::replace(pending.text(), target.text());
    } catch (...) {
        // The previous file is untouched; only the half-written one goes.
        DeleteFileA(pendingPath.text());
        throw;
    }
}

bool KtRegisterStore::loadSystem()
{
    KtString name = systemFileName();
    KtPathName path(name.text());
    if (GetFileAttributesA(path.text()) == INVALID_FILE_ATTRIBUTES)
        return false;
    KtFile file(name.text());
    file.open(path, OPEN_EXISTING, GENERIC_READ, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL);
    return throughTable(&systemRegisters)->load(file);
}
