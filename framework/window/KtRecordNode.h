// KtRecordNode: one item of a KtRecordList, a fixed record copied into the node.
#pragma once

#include <cstddef>
#include <cstdint>

// No virtual table: prev, next, then the record's words. Nodes are plain
// heap blocks, so lists whose records are shorter than seven words make
// shorter nodes and all of them are freed the same way.
struct KtRecordNode {
    static const int words = 7;

    KtRecordNode* prev;   // a new node points to itself both ways
    KtRecordNode* next;
    int32_t record[words];

    // A node holding a copy of the first recordWords words of record
    // (1 to 7); null when out of memory or when recordWords is out of range.
    static KtRecordNode* make(const int32_t* record, int recordWords = words);
    static void destroy(KtRecordNode* node);
};
