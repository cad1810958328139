// AddressSpaceFiller: takes away the free address space, and optionally the process heap's room, for out-of-memory tests.
#pragma once
#include <windows.h>
#include <cstddef>

// Reserves every free region of at least chunk bytes, so that no block of
// chunk bytes or more can be had while the object lives; the C run-time's
// own heap keeps the room it already has. fillProcessHeap then also takes
// every block of at least minimum bytes that the process heap still holds.
// Everything is given back at destruction. Do not assert while it lives:
// the test framework needs memory too.
class AddressSpaceFiller {
public:
    explicit AddressSpaceFiller(size_t chunk);
    ~AddressSpaceFiller();
    AddressSpaceFiller(const AddressSpaceFiller&) = delete;
    AddressSpaceFiller& operator=(const AddressSpaceFiller&) = delete;

    void fillProcessHeap(size_t minimum);
    size_t reservations() const { return count_; }

private:
    static constexpr size_t capacity = 65536;
    void* regions_[capacity];
    size_t count_ = 0;
    void* heapBlocks_ = nullptr;  // a chain linked through each block's first word
};
