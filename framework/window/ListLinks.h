// ListLinks: linking and unlinking nodes of the framework's circular doubly linked lists.
#pragma once

// The lists keep only `last`; the first node is last->next. Every function
// works for any node type with `prev` and `next` pointers of its own type.
namespace ListLinks {

// Makes node the only node of an empty ring.
template <class Node>
void linkAlone(Node*& last, Node* node)
{
    node->prev = node;
    node->next = node;
    last = node;
}

// Puts node in front of `before` (which stays where it is in the ring).
template <class Node>
void linkBefore(Node* before, Node* node)
{
    node->prev = before->prev;
    node->next = before;
    before->prev->next = node;
    before->prev = node;
}

// Links node first; `last` stays.
template <class Node>
void linkFirst(Node*& last, Node* node)
{
    if (!last)
        linkAlone(last, node);
    else
        linkBefore(last->next, node);
}

// Links node after `last` and makes it `last`.
template <class Node>
void linkLast(Node*& last, Node* node)
{
    linkFirst(last, node);
    last = node;
}

// Takes node out of the ring; `last` moves to its predecessor when it was
// the last node, and to null when it was the only one.
template <class Node>
void unlink(Node*& last, Node* node)
{
    if (node->next == node) {
        last = nullptr;
    } else {
        node->prev->next = node->next;
        node->next->prev = node->prev;
        if (node == last)
            last = node->prev;
    }
    node->prev = node;
    node->next = node;
}

}  // namespace ListLinks
