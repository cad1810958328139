// ImportedCode: the code behind a function that a program names but KtLIB.dll holds.
#pragma once
#include <cstdint>
#include <cstring>

// A program takes the address of a KtLIB.dll function as the address of its
// own import thunk, a "jmp [slot]" whose slot holds the function's address
// inside KtLIB.dll. Code in KtLIB.dll (a window class's procedure, a stored
// handler) holds the inside address, so a test compares against this one.
template <class Function>
const void* importedCode(Function function)
{
    const unsigned char* code;
    std::memcpy(&code, &function, sizeof code);
    if (code[0] != 0xFF || code[1] != 0x25)
        return code;   // not a thunk: the function itself
    std::int32_t operand;
    std::memcpy(&operand, code + 2, sizeof operand);
#ifdef _WIN64
    const unsigned char* slot = code + 6 + operand;   // relative to the next instruction
#else
    const unsigned char* slot = reinterpret_cast<const unsigned char*>(static_cast<std::uintptr_t>(
        static_cast<std::uint32_t>(operand)));
#endif
    const void* target;
    std::memcpy(&target, slot, sizeof target);
    return target;
}
