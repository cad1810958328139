// AddressSpaceFiller: reserving the address space in shrinking chunks and filling the process heap.
#include "AddressSpaceFiller.h"

AddressSpaceFiller::AddressSpaceFiller(size_t chunk)
{
    // Large chunks first, so that few reservations cover the space.
    for (size_t size = 256u << 20; size >= chunk && count_ < capacity; size /= 2) {
        while (count_ < capacity) {
            void* region = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS);
            if (!region)
                break;
            regions_[count_++] = region;
        }
        if (size / 2 < chunk)
            break;
    }
}

AddressSpaceFiller::~AddressSpaceFiller()
{
    HANDLE heap = GetProcessHeap();
    while (heapBlocks_) {
        void* next = *static_cast<void**>(heapBlocks_);
        HeapFree(heap, 0, heapBlocks_);
        heapBlocks_ = next;
    }
    while (count_ > 0)
        VirtualFree(regions_[--count_], 0, MEM_RELEASE);
}

void AddressSpaceFiller::fillProcessHeap(size_t minimum)
{
    HANDLE heap = GetProcessHeap();
    auto take = [&](size_t size) {
        while (void* block = HeapAlloc(heap, 0, size)) {
            *static_cast<void**>(block) = heapBlocks_;
            heapBlocks_ = block;
        }
    };
    for (size_t size = 1u << 20; size > minimum; size /= 2)
        take(size);
    take(minimum);
}
