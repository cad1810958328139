// KtObjectNode: one item of a KtObjectList, a pointer that may own its object.
#pragma once

// An owned object is deleted through its virtual destructor, which must be
// its first virtual function, as it is for every framework class and every
// object a scenario module hands over.
class KtObjectNode {
public:
    KtObjectNode(void* object, int owned);
    virtual ~KtObjectNode();
    KtObjectNode(const KtObjectNode&) = delete;
    KtObjectNode& operator=(const KtObjectNode&) = delete;

    KtObjectNode* prev;   // a new node points to itself both ways
    KtObjectNode* next;
    int owned;            // non-zero: deleting the node deletes the object
    void* object;

    // Stands for any polymorphic object whose first virtual function is its
    // destructor: an owned object is deleted through this type. Declared
    // here, with external linkage, so the compiler cannot assume it knows
    // every class behind such a pointer.
    class Owned {
    public:
        virtual ~Owned();
    };
};
