// ListWalk: walks of the framework's circular lists that survive callbacks which change the list.
#pragma once
#include <type_traits>

// Works for any list with `count`, `last`, first() and containsNode, whose
// nodes have `prev` and `next`. A callback may remove any node, the one it is
// given or others: the walk never reads a node that has left the list.
namespace ListWalk {

// Where a node of a walk stood before its callback ran.
template <class Node>
struct Neighbours {
    Node* previous;
    Node* following;
    bool wasFirst;
};

// The node to visit after node once a callback has changed the list: the
// first of node's old successor, node's new successor and its old
// predecessor's new successor that is still there; none when that would
// wrap round to the start. (node was not last when the callback began.)
// The base class's own containsNode is asked, never a variant's.
template <class List, class Node>
Node* nextAfterChange(List& list, Node* node, const Neighbours<Node>& around)
{
    if (list.List::containsNode(around.following))
        return around.following;
    if (list.List::containsNode(node))
        return node == list.last ? nullptr : node->next;
    if (around.wasFirst)
        return list.first();
    if (list.List::containsNode(around.previous))
        return around.previous == list.last ? nullptr : around.previous->next;
    return nullptr;
}

// Calls visit(node) for at most the nodes there at the start, from the first;
// answers 0 at the first visit that answers 0, 1 otherwise. The next node is
// looked for again after every visit: a callback that removes the next node
// and adds another leaves the count as it was.
template <class List, class Visit>
int forEach(List& list, Visit visit)
{
    auto* node = list.first();
    using Node = std::remove_pointer_t<decltype(node)>;
    for (int left = list.count; left > 0 && node; --left) {
        const Neighbours<Node> around{node->prev, node->next, node == list.first()};
        const bool wasLast = node == list.last;
        if (visit(node) == 0)
            return 0;
        if (wasLast || !list.last)
            break;
        node = nextAfterChange(list, node, around);
    }
    return 1;
}

}  // namespace ListWalk
