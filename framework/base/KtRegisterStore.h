// KtRegisterStore: the scenario's registers as the host reaches them, and the saving of the system registers.
#pragma once
#include "KtReg.h"
#include "KtStrReg.h"
#include "KtString.h"

// The scenario module lays this object out and hands the runtime a pointer
// to it; the host touches only the members below, at fixed byte positions.
// The bytes between them belong to the module. The constructor exists for
// modules built on this library and for tests; the host never makes one.
//
// The system registers persist between runs in ".system.dat" in the base
// directory. A save writes the complete file beside the old one and then
// swaps it in, so a crash or a failed write never loses the previous data.
class KtRegisterStore {
public:
    explicit KtRegisterStore(const char* baseDirectory = "");
    KtRegisterStore(const KtRegisterStore&) = delete;
    KtRegisterStore& operator=(const KtRegisterStore&) = delete;

    // System register index = value, then, with saveNow, saveSystem.
    DWORD& setSystem(int index, DWORD value, bool saveNow);
    // Writes the system registers with their own save operation (slot 1 of
    // their table) into ".system.dat". File errors ask Retry or Cancel;
    // Cancel throws and leaves the previous file as it was.
    void saveSystem();
    // Reads the system registers back; false when there is no file or it
    // does not hold a register array.
    bool loadSystem();

    // The base directory's text followed directly by ".system.dat".
    KtString systemFileName() const;
    // Where a save writes before it replaces the file.
    KtString pendingFileName() const;

private:
    unsigned char moduleHead_[12];
public:
    // A prefix ending with a backslash.
    KtString baseDirectory;              // byte 12
    // A text the register monitor may ask for.
    KtString monitorText;                // byte 24
    KtReg gameRegisters;                 // byte 36
    KtStrReg stringRegisters;            // byte 48
private:
    unsigned char moduleMembers_[476];
public:
    KtReg systemRegisters;               // byte 536
};
