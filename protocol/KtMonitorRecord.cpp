// KtMonitorRecord: bounded reading of copy-data records.
#include "KtMonitorRecord.h"
#include <cstring>

std::string KtMonitorRecord::text(const void* data, std::size_t size)
{
    if (!data || size == 0)
        return std::string();
    const char* bytes = static_cast<const char*>(data);
    const void* end = std::memchr(bytes, '\0', size);
    std::size_t length = end ? static_cast<std::size_t>(static_cast<const char*>(end) - bytes) : size;
    return std::string(bytes, length);
}

std::size_t KtMonitorRecord::valueCount(std::uint32_t dwData, std::size_t size)
{
    std::size_t named = number(dwData);
    std::size_t delivered = size / 4;
    return named < delivered ? named : delivered;
}
