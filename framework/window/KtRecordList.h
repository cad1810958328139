// KtRecordList: a circular doubly linked list of seven-word records copied into its nodes.
#pragma once

#include "KtRecordNode.h"

// Like KtObjectList, reached by scenario modules through its virtual table;
// the slot order and the fields (vtable, count, last) are fixed. A record
// matches a key when their first words are equal.
class KtRecordList {
public:
    using Callback = int (*)(int32_t* record);

    KtRecordList();
    KtRecordList(const KtRecordList&) = delete;
    KtRecordList& operator=(const KtRecordList&) = delete;

    virtual ~KtRecordList();                                        // slot 0
    virtual int forEach(Callback callback);                         // slot 1
    virtual void removeAll();                                       // slot 2
    virtual void clear();                                           // slot 3
    // Insertions return the new count, but 0 for the first item of an empty
    // list and 0 for a rejected (null or -1) node. The list takes the node.
    virtual int insertNodeFirst(KtRecordNode* node);                // slot 4
    virtual int insertFirst(const int32_t* record);                 // slot 5
    virtual int insertNodeLast(KtRecordNode* node);                 // slot 6
    virtual int insertLast(const int32_t* record);                  // slot 7
    virtual int add(const int32_t* record);                         // slot 8
    virtual void remove(const int32_t* key);                        // slot 9
    // Searches answer notFound (-1) when nothing matches.
    virtual KtRecordNode* find(const int32_t* key);                 // slot 10
    virtual KtRecordNode* findChecked(const int32_t* key);          // slot 11
    virtual int containsNode(KtRecordNode* node);                   // slot 12
    virtual int contains(const int32_t* key);                       // slot 13
    virtual int containsChecked(const int32_t* key);                // slot 14
    virtual int isValidNode(KtRecordNode* node);                    // slot 15

    static KtRecordNode* const notFound;

    KtRecordNode* first() const { return last ? last->next : nullptr; }

    int count;            // number of items
    KtRecordNode* last;   // null when empty; the first node is last->next
};
