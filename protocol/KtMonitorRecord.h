// KtMonitorRecord: the copy-data records of the register monitor protocol, shared by the game and the monitor.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// A record's dwData carries its kind in the top 8 bits and a number (a
// count or an index) in the low 24. The record arrives from another
// process, so nothing about its size is trusted: readers look only at the
// cbData bytes that were really delivered.
class KtMonitorRecord {
public:
    static constexpr std::uint32_t gameRegisters = 0x1000000;    // + count; count x 4 bytes
    static constexpr std::uint32_t systemRegisters = 0x2000000;  // + count; count x 4 bytes
    static constexpr std::uint32_t stringRegister = 0x3000000;   // + index; text and its NUL
    static constexpr std::uint32_t registerText = 0x4000000;     // the store's text and its NUL
    static constexpr std::uint32_t kindMask = 0xFF000000;
    static constexpr std::uint32_t numberMask = 0x00FFFFFF;

    static std::uint32_t kind(std::uint32_t dwData) { return dwData & kindMask; }
    static std::uint32_t number(std::uint32_t dwData) { return dwData & numberMask; }

    // The text of a record: up to the first NUL within size bytes, or all
    // size bytes when there is none.
    static std::string text(const void* data, std::size_t size);

    // Number of whole 32-bit values a record can hold: the count named in
    // dwData, cut down to what the delivered bytes really contain.
    static std::size_t valueCount(std::uint32_t dwData, std::size_t size);
};
