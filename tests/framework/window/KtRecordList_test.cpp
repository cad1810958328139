// KtRecordList and KtWordList: copied records, links, insertion results, search and removal.
#include "KtRecordList.h"
#include "KtWordList.h"
#include "RingCheck.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

int firstWord(KtRecordNode* node) { return node->record[0]; }

std::vector<int> keys(const KtRecordList& list) { return ringItems(list, &firstWord); }

struct Record {
    int32_t words[7];
};

Record record(int key) { return Record{{key, key * 10, 2, 3, 4, 5, key + 6}}; }

#ifndef _WIN64
// The byte sizes that modules of the 32-bit product rely on; a 64-bit build
// checks the same fields' order where the classes are defined.
TEST(KtRecordListLayout32BitOnly, ByteSizes)
{
    static_assert(sizeof(KtRecordList) == 12, "vtable, count, last");
    static_assert(sizeof(KtRecordNode) == 36, "prev, next, seven words");
}
#endif

TEST(KtRecordList, SlotsAndFieldsKeepTheirOrder)
{
    EXPECT_EQ(1, slotNumber(&KtRecordList::forEach));
    EXPECT_EQ(3, slotNumber(&KtRecordList::clear));
    EXPECT_EQ(4, slotNumber(&KtRecordList::insertNodeFirst));
    EXPECT_EQ(5, slotNumber(&KtRecordList::insertFirst));
    EXPECT_EQ(6, slotNumber(&KtRecordList::insertNodeLast));
    EXPECT_EQ(7, slotNumber(&KtRecordList::insertLast));
    EXPECT_EQ(8, slotNumber(&KtRecordList::add));
    EXPECT_EQ(9, slotNumber(&KtRecordList::remove));
    EXPECT_EQ(10, slotNumber(&KtRecordList::find));
    EXPECT_EQ(11, slotNumber(&KtRecordList::findChecked));
    EXPECT_EQ(12, slotNumber(&KtRecordList::containsNode));
    EXPECT_EQ(13, slotNumber(&KtRecordList::contains));
    EXPECT_EQ(14, slotNumber(&KtRecordList::containsChecked));
    EXPECT_EQ(15, slotNumber(&KtRecordList::isValidNode));
}

TEST(KtRecordList, RecordsAreCopiedAndInsertionResultsCount)
{
    KtRecordList list;
    Record r = record(1);
    EXPECT_EQ(0, list.add(r.words));
    r.words[6] = 99;                              // the list holds its own copy
    EXPECT_EQ(7, list.last->record[6]);
    EXPECT_EQ(2, list.insertLast(record(2).words));
    KtRecordNode* last = list.last;
    EXPECT_EQ(3, list.insertFirst(record(3).words));
    EXPECT_EQ(last, list.last);
    EXPECT_EQ(4, list.insertNodeLast(KtRecordNode::make(record(4).words)));
    EXPECT_EQ(5, list.insertNodeFirst(KtRecordNode::make(record(5).words)));
    EXPECT_EQ((std::vector<int>{5, 3, 1, 2, 4}), keys(list));

    EXPECT_EQ(0, list.insertNodeFirst(nullptr));
    EXPECT_EQ(0, list.insertNodeLast(KtRecordList::notFound));
    EXPECT_EQ(0, list.insertFirst(nullptr));      // no record: no node
    EXPECT_EQ(5, list.count);
}

TEST(KtRecordList, FindMatchesTheFirstWordAndRemoveUnlinks)
{
    KtRecordList list;
    for (int key : {1, 2, 3, 2})
        list.add(record(key).words);
    int32_t key2[7] = {2};
    KtRecordNode* found = list.find(key2);
    ASSERT_TRUE(list.isValidNode(found));
    EXPECT_EQ(20, found->record[1]);
    EXPECT_EQ(list.first()->next, found);         // the first of two matches
    EXPECT_TRUE(list.containsNode(found));
    int32_t key9[7] = {9};
    EXPECT_EQ(KtRecordList::notFound, list.find(key9));
    EXPECT_FALSE(list.contains(key9));
    EXPECT_EQ(KtRecordList::notFound, list.findChecked(nullptr));
    EXPECT_FALSE(list.containsChecked(nullptr));

    list.remove(key2);
    EXPECT_EQ((std::vector<int>{1, 3, 2}), keys(list));
    list.remove(key2);                            // the last node: last moves back
    EXPECT_EQ(3, list.last->record[0]);
    list.remove(key9);
    list.remove(nullptr);
    EXPECT_EQ(2, list.count);
    int32_t key1[1] = {1}, key3[1] = {3};
    list.remove(key1);
    list.remove(key3);
    EXPECT_EQ(0, list.count);
    EXPECT_EQ(nullptr, list.last);
}

std::vector<int> seen;
int recordUntilTwo(int32_t* r)
{
    seen.push_back(r[0]);
    return r[0] != 2;
}

TEST(KtRecordList, ForEachGetsRecordsAndStopsAtZero)
{
    seen.clear();
    KtRecordList list;
    EXPECT_EQ(1, list.forEach(&recordUntilTwo));
    EXPECT_TRUE(seen.empty());
    for (int key : {1, 2, 3})
        list.add(record(key).words);
    EXPECT_EQ(0, list.forEach(&recordUntilTwo));
    EXPECT_EQ((std::vector<int>{1, 2}), seen);
    list.removeAll();
    EXPECT_EQ(0, list.count);
    EXPECT_EQ(nullptr, list.last);
}

// Callbacks that change the list while it is walked; each removes the
// records named for the record it is given, then adds the ones named.
struct RemovalCase {
    const char* name;
    int visitedKey;
    std::vector<int> removedKeys;
    std::vector<int> addedKeys;
    std::vector<int> expectedVisits;
};
const RemovalCase* removalCase = nullptr;
KtRecordList* walkedList = nullptr;

int removeNamed(int32_t* r)
{
    const int key = r[0];
    seen.push_back(key);
    if (key == removalCase->visitedKey) {
        for (int removed : removalCase->removedKeys) {
            int32_t k[7] = {removed};
            walkedList->remove(k);
        }
        for (int added : removalCase->addedKeys)
            walkedList->add(record(added).words);
    }
    return 1;
}

TEST(KtRecordList, ForEachSurvivesCallbacksThatRemoveRecords)
{
    const RemovalCase cases[] = {
        {"itself", 2, {2}, {}, {1, 2, 3, 4, 5}},
        {"the next", 2, {3}, {}, {1, 2, 4, 5}},
        {"itself and the next", 2, {2, 3}, {}, {1, 2, 4, 5}},
        {"the next two", 1, {2, 3}, {}, {1, 4, 5}},
        {"the last from the one before", 4, {5}, {}, {1, 2, 3, 4}},
        {"a record already visited", 3, {1}, {}, {1, 2, 3, 4, 5}},
        {"every other record", 2, {1, 3, 4, 5}, {}, {1, 2}},
        {"everything", 1, {1, 2, 3, 4, 5}, {}, {1}},
        // The count stays as it was, yet 3 is gone; 9 comes in its turn.
        {"the next, replaced at the end", 2, {3}, {9}, {1, 2, 4, 5, 9}},
    };
    for (const RemovalCase& c : cases) {
        KtRecordList list;
        for (int key = 1; key <= 5; ++key)
            list.add(record(key).words);
        removalCase = &c;
        walkedList = &list;
        seen.clear();
        EXPECT_EQ(1, list.forEach(&removeNamed)) << c.name;
        EXPECT_EQ(c.expectedVisits, seen) << c.name;
        EXPECT_EQ(5 - int(c.removedKeys.size()) + int(c.addedKeys.size()), list.count) << c.name;
        keys(list);   // the ring is whole
    }
}

TEST(KtWordList, OneWordRecords)
{
    KtWordList list;
    int32_t words[] = {7, 8, 9};
    EXPECT_EQ(0, list.add(&words[0]));            // reads one word only
    EXPECT_EQ(2, list.insertFirst(&words[1]));
    EXPECT_EQ(3, list.insertLast(&words[2]));
    EXPECT_EQ((std::vector<int>{8, 7, 9}), keys(list));
    int32_t key = 7;
    EXPECT_TRUE(list.contains(&key));
    list.remove(&key);
    EXPECT_EQ((std::vector<int>{8, 9}), keys(list));
}

}  // namespace
