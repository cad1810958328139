// RingCheck: checks the links of a circular list and lists its items in order.
#pragma once
#include <gtest/gtest.h>
#include <cstdint>
#include <cstring>
#include <vector>

// Walks count nodes forward from last->next and back from last, checking that
// every prev/next pair agrees and that both walks close the ring.
template <class List, class Node, class Value>
std::vector<Value> ringItems(const List& list, Value (*valueOf)(Node*))
{
    std::vector<Value> items;
    if (list.count == 0) {
        EXPECT_EQ(nullptr, list.last);
        return items;
    }
    EXPECT_NE(nullptr, list.last);
    Node* node = list.last->next;
    for (int i = 0; i < list.count; ++i) {
        EXPECT_EQ(node, node->next->prev) << "at item " << i;
        EXPECT_EQ(node, node->prev->next) << "at item " << i;
        items.push_back(valueOf(node));
        node = node->next;
    }
    EXPECT_EQ(list.last->next, node) << "forward walk does not close the ring";
    node = list.last;
    for (int i = 0; i < list.count; ++i)
        node = node->prev;
    EXPECT_EQ(list.last, node) << "backward walk does not close the ring";
    return items;
}

// The vtable index of a virtual member function with this compiler's ABI,
// counted as the framework counts slots: the destructor's two entries are
// slot 0.
template <class F>
int slotNumber(F member)
{
    static_assert(sizeof(F) == 2 * sizeof(void*), "Itanium member function pointer");
    uintptr_t words[2];
    std::memcpy(words, &member, sizeof words);
    EXPECT_EQ(1u, words[0] & 1) << "not virtual";
    return static_cast<int>((words[0] - 1) / sizeof(void*)) - 1;
}
