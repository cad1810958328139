// KtObjectList: a circular doubly linked list of object pointers with virtual operations.
#pragma once

#include "KtObjectNode.h"

// Scenario modules reach lists inside host objects through the virtual
// table: the slot order and the fields (vtable, count, last) are fixed.
// Variants change only how an item matches a key (find); this base matches
// by identity, the object pointer itself.
class KtObjectList {
public:
    using Callback = int (*)(void* object);

    KtObjectList();
    KtObjectList(const KtObjectList&) = delete;
    KtObjectList& operator=(const KtObjectList&) = delete;

    virtual ~KtObjectList();                                        // slot 0
    virtual int forEach(Callback callback);                         // slot 1
    virtual void removeAll();                                       // slot 2
    virtual void clear();                                           // slot 3
    // Insertions return the new count, but 0 for the first item of an empty
    // list, and 0 when no node could be made.
    virtual int insertFirst(void* object, int owned);               // slot 4
    virtual int insertLast(void* object, int owned);                // slot 5
    virtual int add(void* object, int owned);                       // slot 6
    virtual void remove(void* key);                                 // slot 7
    // Searches answer notFound (-1) when nothing matches.
    virtual KtObjectNode* find(void* key);                          // slot 8
    virtual KtObjectNode* findChecked(void* key);                   // slot 9
    virtual int containsNode(KtObjectNode* node);                   // slot 10
    virtual int contains(void* key);                                // slot 11
    virtual int containsChecked(void* key);                         // slot 12
    virtual int isValidNode(KtObjectNode* node);                    // slot 13

    static KtObjectNode* const notFound;

    // Removes the node that holds this very object, whatever the variant's
    // matching rule (two windows may share a name, two objects a key), and
    // deletes it as remove does. An object not in the list changes nothing.
    void removeObject(void* object);

    KtObjectNode* first() const { return last ? last->next : nullptr; }

    int count;            // number of items
    KtObjectNode* last;   // null when empty; the first node is last->next

protected:
    // The first node, from the first on, whose object satisfies matches(object, key).
    template <class Match>
    KtObjectNode* findWhere(void* key, Match matches)
    {
        KtObjectNode* node = first();
        for (int i = 0; i < count; ++i, node = node->next) {
            if (matches(node->object, key))
                return node;
        }
        return notFound;
    }
    // Makes a node (null when out of memory).
    static KtObjectNode* makeNode(void* object, int owned);
    // Links a node made elsewhere first or last; returns what insertFirst returns.
    int linkFirst(KtObjectNode* node);
    int linkLast(KtObjectNode* node);
    static int discard(KtObjectNode* node);
};
