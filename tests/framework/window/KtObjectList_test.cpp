// KtObjectList and its variants: links, insertion results, search, removal, ownership, order.
#include "KtObjectList.h"
#include "KtInteractiveObjectList.h"
#include "KtPriorityList.h"
#include "KtWindowHandle.h"
#include "KtWindowList.h"
#include "ImportPatch.h"
#include "RingCheck.h"
#include <gtest/gtest.h>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

// While a NodeTracker lives, the framework's nothrow operator new, which
// makes the lists' nodes, and its plain operator deletes go through the
// tracker: blocks from the nothrow new are tracked until they are deleted.
// Blocks of the test's own code pass through untouched.
namespace {
void* trackedBlocks[64];
long liveBlocks = 0;

void track(void* block)
{
    for (void*& slot : trackedBlocks)
        if (!slot) {
            slot = block;
            ++liveBlocks;
            return;
        }
}

void untrack(void* block)
{
    for (void*& slot : trackedBlocks)
        if (block && slot == block) {
            slot = nullptr;
            --liveBlocks;
            return;
        }
}

#ifdef _WIN64
using BlockSize = unsigned long long;
constexpr const char* nothrowNewName = "_ZnwyRKSt9nothrow_t";
constexpr const char* sizedDeleteName = "_ZdlPvy";
#else
using BlockSize = unsigned int;
constexpr const char* nothrowNewName = "_ZnwjRKSt9nothrow_t";
constexpr const char* sizedDeleteName = "_ZdlPvj";
#endif
constexpr const char* plainDeleteName = "_ZdlPv";
constexpr const char* runtimeLibrary = "libstdc++-6.dll";

using NothrowNew = void* (*)(BlockSize size, const std::nothrow_t& tag) noexcept;
using SizedDelete = void (*)(void* block, BlockSize size) noexcept;
using PlainDelete = void (*)(void* block) noexcept;
NothrowNew realNew = nullptr;
SizedDelete realSizedDelete = nullptr;
PlainDelete realPlainDelete = nullptr;

void* trackingNew(BlockSize size, const std::nothrow_t& tag) noexcept
{
    void* block = realNew(size, tag);
    track(block);
    return block;
}
void trackingSizedDelete(void* block, BlockSize size) noexcept
{
    untrack(block);
    realSizedDelete(block, size);
}
void trackingPlainDelete(void* block) noexcept
{
    untrack(block);
    realPlainDelete(block);
}

template <class Function>
Function runtimeFunction(const char* name)
{
    FARPROC found = GetProcAddress(GetModuleHandleA(runtimeLibrary), name);
    return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

struct Originals {
    Originals()
    {
        realNew = runtimeFunction<NothrowNew>(nothrowNewName);
        realSizedDelete = runtimeFunction<SizedDelete>(sizedDeleteName);
        realPlainDelete = runtimeFunction<PlainDelete>(plainDeleteName);
    }
};

struct NodeTracker {
    // The framework may free its nodes with either delete; one is enough.
    bool active() const { return newPatch.active() && (sizedPatch.active() || plainPatch.active()); }

    // First, so a call that comes while the entries are swapped still
    // reaches the run-time library.
    Originals originals;
    ImportPatch newPatch{runtimeLibrary, nothrowNewName, reinterpret_cast<const void*>(&trackingNew)};
    ImportPatch sizedPatch{runtimeLibrary, sizedDeleteName,
                           reinterpret_cast<const void*>(&trackingSizedDelete)};
    ImportPatch plainPatch{runtimeLibrary, plainDeleteName,
                           reinterpret_cast<const void*>(&trackingPlainDelete)};
};
}  // namespace

namespace {

// A polymorphic item that reports its own destruction; the second word is
// the key of interactive-object lists, priority that of priority lists.
class Item {
public:
    Item(int id, int* deaths = nullptr, int priority = 0) : id(id), deaths(deaths), priority(priority) {}
    virtual ~Item()
    {
        if (deaths)
            ++*deaths;
    }
    int32_t id;
    int* deaths;
    int priority;
};

int idOf(KtObjectNode* node) { return static_cast<Item*>(node->object)->id; }

std::vector<int> ids(const KtObjectList& list) { return ringItems(list, &idOf); }

TEST(KtObjectList, SlotsAndFieldsKeepTheirOrder)
{
    EXPECT_EQ(1, slotNumber(&KtObjectList::forEach));
    EXPECT_EQ(2, slotNumber(&KtObjectList::removeAll));
    EXPECT_EQ(3, slotNumber(&KtObjectList::clear));
    EXPECT_EQ(4, slotNumber(&KtObjectList::insertFirst));
    EXPECT_EQ(5, slotNumber(&KtObjectList::insertLast));
    EXPECT_EQ(6, slotNumber(&KtObjectList::add));
    EXPECT_EQ(7, slotNumber(&KtObjectList::remove));
    EXPECT_EQ(8, slotNumber(&KtObjectList::find));
    EXPECT_EQ(9, slotNumber(&KtObjectList::findChecked));
    EXPECT_EQ(10, slotNumber(&KtObjectList::containsNode));
    EXPECT_EQ(11, slotNumber(&KtObjectList::contains));
    EXPECT_EQ(12, slotNumber(&KtObjectList::containsChecked));
    EXPECT_EQ(13, slotNumber(&KtObjectList::isValidNode));
    EXPECT_EQ(14, slotNumber(&KtPriorityList::priorityOf));
    static_assert(sizeof(KtObjectList) == 12, "vtable, count, last");
    static_assert(sizeof(KtObjectNode) == 20, "vtable, prev, next, owned, object");
}

TEST(KtObjectList, InsertionResultsAndCircularLinks)
{
    Item a(1), b(2), c(3), d(4), e(5);
    KtObjectList list;
    EXPECT_EQ(0, list.insertLast(&a, 0));    // the first item answers 0, not 1
    EXPECT_EQ(1, list.count);
    EXPECT_EQ(list.last, list.last->next);   // alone: linked to itself both ways
    EXPECT_EQ(list.last, list.last->prev);
    EXPECT_EQ(2, list.add(&b, 0));
    EXPECT_EQ(3, list.insertLast(&c, 0));
    EXPECT_EQ((std::vector<int>{1, 2, 3}), ids(list));

    KtObjectNode* last = list.last;
    EXPECT_EQ(4, list.insertFirst(&d, 0));
    EXPECT_EQ(last, list.last);              // insertFirst keeps last
    EXPECT_EQ(5, list.insertLast(&e, 0));
    EXPECT_EQ(&e, list.last->object);        // insertLast moves it
    EXPECT_EQ((std::vector<int>{4, 1, 2, 3, 5}), ids(list));

    KtObjectList other;
    EXPECT_EQ(0, other.insertFirst(&a, 0));
    EXPECT_EQ(2, other.insertFirst(&b, 0));
    EXPECT_EQ((std::vector<int>{2, 1}), ids(other));
    EXPECT_EQ(&a, other.last->object);
}

TEST(KtObjectList, RemoveUnlinksAndMovesLast)
{
    Item a(1), b(2), c(3);
    KtObjectList list;
    list.add(&a, 0);
    list.add(&b, 0);
    list.add(&c, 0);
    list.remove(&c);                         // the last node: last moves back
    EXPECT_EQ(&b, list.last->object);
    EXPECT_EQ((std::vector<int>{1, 2}), ids(list));
    Item stranger(9);
    list.remove(&stranger);
    list.remove(nullptr);
    EXPECT_EQ(2, list.count);
    list.remove(&a);                         // the first node: last stays
    EXPECT_EQ(&b, list.last->object);
    EXPECT_EQ((std::vector<int>{2}), ids(list));
    list.remove(&b);                         // the only node
    EXPECT_EQ(0, list.count);
    EXPECT_EQ(nullptr, list.last);
    EXPECT_EQ(0, list.insertLast(&c, 0));    // and the empty list works again
    EXPECT_EQ((std::vector<int>{3}), ids(list));
}

TEST(KtObjectList, FindAnswersMinusOneWhenNothingMatches)
{
    Item a(1), b(2);
    KtObjectList list;
    EXPECT_EQ(KtObjectList::notFound, list.find(&a));
    EXPECT_EQ(reinterpret_cast<KtObjectNode*>(-1), KtObjectList::notFound);
    list.add(&a, 0);
    list.add(&b, 0);
    list.add(&a, 0);
    KtObjectNode* node = list.find(&a);
    EXPECT_EQ(list.first(), node);           // the first of two matches
    EXPECT_TRUE(list.containsNode(node));
    EXPECT_TRUE(list.contains(&b));
    EXPECT_TRUE(list.containsChecked(&b));
    EXPECT_FALSE(list.containsChecked(nullptr));
    EXPECT_FALSE(list.isValidNode(nullptr));
    EXPECT_FALSE(list.isValidNode(KtObjectList::notFound));

    KtObjectNode loose(&a, 0);
    EXPECT_FALSE(list.containsNode(&loose));
    EXPECT_FALSE(list.containsNode(nullptr));
}

// Counts the searches that reach find.
class CountingList : public KtObjectList {
public:
    KtObjectNode* find(void* key) override
    {
        ++searches;
        return KtObjectList::find(key);
    }
    int searches = 0;
};

TEST(KtObjectList, NullKeysAreRefusedWithoutAWalk)
{
    CountingList list;
    list.add(nullptr, 0);                    // a null item exists, yet a null key finds nothing
    EXPECT_EQ(KtObjectList::notFound, list.findChecked(nullptr));
    EXPECT_EQ(0, list.searches);
    list.remove(nullptr);
    EXPECT_EQ(0, list.searches);
    EXPECT_EQ(1, list.count);
    EXPECT_EQ(list.first(), list.find(nullptr));
}

std::vector<int> visited;
int visitUntilThree(void* object)
{
    visited.push_back(static_cast<Item*>(object)->id);
    return static_cast<Item*>(object)->id != 3;
}

KtObjectList* walkedList = nullptr;
int removeEachVisited(void* object)
{
    visited.push_back(static_cast<Item*>(object)->id);
    walkedList->remove(object);
    return 1;
}

TEST(KtObjectList, ForEachWalksFromTheFirstAndStopsAtZero)
{
    visited.clear();
    KtObjectList list;
    EXPECT_EQ(1, list.forEach(&visitUntilThree));
    EXPECT_TRUE(visited.empty());

    Item a(1), b(2), c(3), d(4);
    list.add(&b, 0);
    list.add(&c, 0);
    list.add(&d, 0);
    list.insertFirst(&a, 0);
    EXPECT_EQ(0, list.forEach(&visitUntilThree));
    EXPECT_EQ((std::vector<int>{1, 2, 3}), visited);
    list.remove(&c);
    visited.clear();
    EXPECT_EQ(1, list.forEach(&visitUntilThree));
    EXPECT_EQ((std::vector<int>{1, 2, 4}), visited);

    // A callback may remove the item it was given.
    visited.clear();
    walkedList = &list;
    EXPECT_EQ(1, list.forEach(&removeEachVisited));
    EXPECT_EQ((std::vector<int>{1, 2, 4}), visited);
    EXPECT_EQ(0, list.count);
}

// Callbacks that change the list while it is walked; each removes the items
// named for the item it is given.
struct RemovalCase {
    const char* name;
    int visitedId;
    std::vector<int> removedIds;
    std::vector<int> expectedVisits;
};
const RemovalCase* removalCase = nullptr;
std::vector<Item*> removalItems;

int removeNamed(void* object)
{
    const int id = static_cast<Item*>(object)->id;
    visited.push_back(id);
    if (id == removalCase->visitedId)
        for (int removed : removalCase->removedIds)
            walkedList->remove(removalItems[removed - 1]);
    return 1;
}

TEST(KtObjectList, ForEachSurvivesCallbacksThatRemoveOtherItems)
{
    const RemovalCase cases[] = {
        {"the next", 2, {3}, {1, 2, 4, 5}},
        {"itself and the next", 2, {2, 3}, {1, 2, 4, 5}},
        {"the next two", 1, {2, 3}, {1, 4, 5}},
        {"the last from the one before", 4, {5}, {1, 2, 3, 4}},
        {"an item already visited", 3, {1}, {1, 2, 3, 4, 5}},
        {"every other item", 2, {1, 3, 4, 5}, {1, 2}},
        {"everything", 1, {1, 2, 3, 4, 5}, {1}},
    };
    for (const RemovalCase& c : cases) {
        int deaths = 0;
        KtObjectList list;
        removalItems.clear();
        for (int id = 1; id <= 5; ++id) {
            removalItems.push_back(new Item(id, &deaths));
            list.add(removalItems.back(), 1);
        }
        removalCase = &c;
        walkedList = &list;
        visited.clear();
        EXPECT_EQ(1, list.forEach(&removeNamed)) << c.name;
        EXPECT_EQ(c.expectedVisits, visited) << c.name;
        EXPECT_EQ(5 - int(c.removedIds.size()), list.count) << c.name;
        EXPECT_EQ(int(c.removedIds.size()), deaths) << c.name;
    }
}

// A variant that takes no node at all.
class RefusingList : public KtObjectList {
public:
    int isValidNode(KtObjectNode*) override { return 0; }
};

TEST(KtObjectList, RefusedNodesAreFreedAndTheirObjectsKept)
{
    int deaths = 0;
    Item item(1, &deaths);
    RefusingList list;
    NodeTracker tracker;
    ASSERT_TRUE(tracker.active());
    const long before = liveBlocks;
    {
        KtObjectList accepting;
        accepting.insertFirst(&item, 0);
        ASSERT_EQ(1, accepting.count);
        ASSERT_EQ(before + 1, liveBlocks) << "the tracker does not see the framework's nodes";
    }
    ASSERT_EQ(before, liveBlocks) << "the tracker does not see the framework free its nodes";
    EXPECT_EQ(0, list.insertFirst(&item, 1));
    EXPECT_EQ(0, list.insertLast(&item, 1));
    EXPECT_EQ(0, list.add(&item, 0));
    EXPECT_EQ(before, liveBlocks) << "a refused node stays allocated";
    EXPECT_EQ(0, deaths) << "the caller still owns an object that was not inserted";
    EXPECT_EQ(0, list.count);
    EXPECT_EQ(nullptr, list.last);
}

TEST(KtObjectList, OwnedObjectsDieWithTheirNodesOthersLive)
{
    int deaths = 0;
    Item kept(1, &deaths);
    {
        KtObjectList list;
        list.add(new Item(2, &deaths), 1);
        list.add(&kept, 0);
        Item* removed = new Item(3, &deaths);
        list.add(removed, 1);
        list.add(new Item(4, &deaths), 1);
        list.remove(removed);
        EXPECT_EQ(1, deaths);
        list.clear();
        EXPECT_EQ(3, deaths);
        EXPECT_EQ(0, list.count);
        EXPECT_EQ(nullptr, list.last);

        list.add(new Item(5, &deaths), 1);
        list.add(&kept, 0);
        list.removeAll();
        EXPECT_EQ(4, deaths);
        list.add(new Item(6, &deaths), 1);
    }                                        // the destructor frees what is left
    EXPECT_EQ(5, deaths);
    EXPECT_EQ(1, kept.id);
}

// Window objects as the scenario runtime registers them.
TEST(KtWindowList, NamedKeysMatchByNameOthersByHandle)
{
    KtWindowHandle title(KtString("title"));
    title.handle = reinterpret_cast<HWND>(0x100);
    KtWindowHandle menu(KtString("menu"));
    menu.handle = reinterpret_cast<HWND>(0x200);
    KtWindowHandle unnamed;
    unnamed.handle = reinterpret_cast<HWND>(0x300);
    KtWindowList list;
    list.add(&title, 0);
    list.add(&menu, 0);
    list.add(&unnamed, 0);

    KtWindowHandle byName(KtString("menu"));
    byName.handle = reinterpret_cast<HWND>(0x100);      // ignored: the key has a name
    EXPECT_EQ(&menu, list.find(&byName)->object);
    KtWindowHandle otherName(KtString("MENU"));         // case counts
    EXPECT_EQ(KtObjectList::notFound, list.find(&otherName));

    KtWindowHandle byHandle;
    byHandle.handle = reinterpret_cast<HWND>(0x300);
    EXPECT_EQ(&unnamed, list.find(&byHandle)->object);
    byHandle.handle = reinterpret_cast<HWND>(0x100);
    EXPECT_EQ(&title, list.find(&byHandle)->object);    // a named item, found by handle
    byHandle.handle = nullptr;
    EXPECT_EQ(KtObjectList::notFound, list.find(&byHandle));
    EXPECT_EQ(KtObjectList::notFound, list.find(nullptr));

    list.remove(&byName);
    EXPECT_EQ(2, list.count);
    EXPECT_FALSE(list.contains(&byName));
}

TEST(KtInteractiveObjectList, MatchesTheSecondWord)
{
    Item a(10), b(20), twin(20);
    KtInteractiveObjectList list;
    list.add(&a, 0);
    list.add(&b, 0);
    EXPECT_EQ(&b, list.find(&twin)->object);            // another object, same second word
    Item none(30);
    EXPECT_EQ(KtObjectList::notFound, list.find(&none));
    EXPECT_EQ(KtObjectList::notFound, list.find(nullptr));
    list.remove(&twin);
    EXPECT_EQ((std::vector<int>{10}), ids(list));
}

class ItemPriorityList : public KtPriorityList {
public:
    int priorityOf(void* object) override { return static_cast<Item*>(object)->priority; }
};

TEST(KtPriorityList, KeepsAscendingPriorityAndInsertionOrderOfEquals)
{
    struct Step { int id; int priority; int result; std::vector<int> order; };
    const Step steps[] = {
        {1, 5, 0, {1}},
        {2, 3, 2, {2, 1}},                   // before the first: last stays
        {3, 5, 3, {2, 1, 3}},                // equal to last: appended
        {4, 4, 4, {2, 4, 1, 3}},
        {5, 3, 5, {2, 5, 4, 1, 3}},          // after its equal
        {6, -1, 6, {6, 2, 5, 4, 1, 3}},
        {7, 9, 7, {6, 2, 5, 4, 1, 3, 7}},
    };
    std::vector<Item> items;
    items.reserve(8);
    ItemPriorityList list;
    for (const Step& s : steps) {
        items.emplace_back(s.id, nullptr, s.priority);
        EXPECT_EQ(s.result, list.add(&items.back(), 0)) << "item " << s.id;
        EXPECT_EQ(s.order, ids(list)) << "after item " << s.id;
    }
    EXPECT_EQ(7, idOf(list.last));
    EXPECT_EQ(&items[2], list.find(&items[2])->object);  // identity matching
    Item early(8, nullptr, 100);
    list.insertFirst(&early, 0);             // plain insertion at the front stays available
    EXPECT_EQ(8, idOf(list.first()));
}

}  // namespace
