// Tests of the intrusive lists (lists layer, target elemlist): edge cases and a random walk against
// std::list.
#include "elem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <random>
#include <vector>

namespace {

struct Item : ELEM {
    int v;
    explicit Item(int v) : v(v) {}
};

std::vector<int> Forward(const ELEMList& l) {
    std::vector<int> out;
    for (ELEM* e = l.Oldest; e; e = e->Newer)
        out.push_back(static_cast<Item*>(e)->v);
    return out;
}

std::vector<int> Backward(const ELEMList& l) {
    std::vector<int> out;
    for (ELEM* e = l.Newest; e; e = e->Older)
        out.push_back(static_cast<Item*>(e)->v);
    return out;
}

void ExpectSame(const ELEMList& l, const std::list<int>& model) {
    std::vector<int> fwd(model.begin(), model.end());
    std::vector<int> bwd(model.rbegin(), model.rend());
    ASSERT_EQ(Forward(l), fwd);
    ASSERT_EQ(Backward(l), bwd);
    ASSERT_EQ(l.Count, model.size());
}

TEST(ElemList, RemovingOnlyElementEmptiesTheList) {
    ELEMList l;
    Item a(1);
    l.Append(&a);
    l.Remove(&a);
    EXPECT_EQ(l.Oldest, nullptr);
    EXPECT_EQ(l.Newest, nullptr);
    EXPECT_EQ(l.Count, 0u);
}

TEST(ElemList, PrependOnEmptySetsBothEnds) {
    ELEMList l;
    Item a(1);
    l.Prepend(&a);
    EXPECT_EQ(l.Oldest, &a);
    EXPECT_EQ(l.Newest, &a);
    EXPECT_EQ(l.Count, 1u);
}

TEST(ElemList, InsertAfterNewestActsLikeAppend) {
    ELEMList l;
    Item a(1), b(2), c(3);
    l.Append(&a);
    l.Append(&b);
    l.InsertAfter(&c, &b);
    EXPECT_EQ(l.Newest, &c);
    EXPECT_EQ(Forward(l), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Backward(l), (std::vector<int>{3, 2, 1}));
}

TEST(ElemList, RemoveClearsOwnLinksAndIgnoresASecondRemove) {
    ELEMList l;
    Item a(1), b(2), c(3);
    l.Append(&a);
    l.Append(&b);
    l.Append(&c);
    l.Remove(&b);
    EXPECT_EQ(b.Older, nullptr);
    EXPECT_EQ(b.Newer, nullptr);
    l.Remove(&b);
    l.Remove(nullptr);
    EXPECT_EQ(l.Count, 2u);
    EXPECT_EQ(Forward(l), (std::vector<int>{1, 3}));
    l.Remove(&a);
    l.Remove(&a); // was the oldest end
    EXPECT_EQ(l.Count, 1u);
    EXPECT_EQ(Forward(l), (std::vector<int>{3}));
}

TEST(ElemList, SecondRemoveAfterItsOldNeighbourWasFreedIsIgnored) {
    ELEMList l;
    auto* a = new Item(1);
    Item b(2), c(3);
    l.Append(a);
    l.Append(&b);
    l.Append(&c);
    l.Remove(&b);
    l.Remove(a);
    delete a;
    l.Remove(&b); // must not look at the freed neighbour
    EXPECT_EQ(l.Count, 1u);
    EXPECT_EQ(Forward(l), (std::vector<int>{3}));
    EXPECT_EQ(Backward(l), (std::vector<int>{3}));
}

TEST(ElemList, InsertedElementRaisesTheListHooks) {
    std::vector<std::pair<char, ELEM*>> calls;
    ELEMList l;
    l.OnChanged = [&](ELEM* e) { calls.push_back({'c', e}); };
    l.OnRebind = [&](ELEM* e) { calls.push_back({'r', e}); };
    Item a(1), b(2), c(3), lone(4);
    l.Append(&a);
    l.Prepend(&b);
    l.InsertAfter(&c, &a);
    for (Item* e : {&a, &b, &c}) {
        e->RaiseChanged();
        e->RaiseRebind();
    }
    lone.RaiseChanged(); // unset hooks do nothing
    std::vector<std::pair<char, ELEM*>> want{{'c', &a}, {'r', &a}, {'c', &b},
                                             {'r', &b}, {'c', &c}, {'r', &c}};
    EXPECT_EQ(calls, want);
}

TEST(ElemList, MovedElementTakesTheNewListsHooks) {
    int first = 0, second = 0;
    ELEMList l1, l2;
    l1.OnChanged = [&](ELEM*) { ++first; };
    l2.OnChanged = [&](ELEM*) { ++second; };
    Item a(1);
    l1.Append(&a);
    l1.Remove(&a);
    l2.Append(&a);
    a.RaiseChanged();
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
}

TEST(ElemList, CopyIsAnUnlinkedElementWithoutHooks) {
    ELEMList l;
    l.OnChanged = [](ELEM*) {};
    Item a(1), b(2);
    l.Append(&a);
    l.Append(&b);
    Item copy(a);
    EXPECT_EQ(copy.Newer, nullptr);
    EXPECT_EQ(copy.Older, nullptr);
    EXPECT_FALSE(copy.OnChanged);
    b = copy; // payload assignment keeps b linked
    EXPECT_EQ(b.v, 1);
    EXPECT_EQ(l.Newest, &b);
    EXPECT_EQ(b.Older, &a);
    EXPECT_TRUE(b.OnChanged);
}

TEST(ElemList, RandomOperationsMatchStdList) {
    std::mt19937 rng(20261209);
    std::vector<std::unique_ptr<Item>> pool;
    for (int i = 0; i < 64; ++i)
        pool.push_back(std::make_unique<Item>(i));
    ELEMList l;
    std::list<int> model;
    std::vector<bool> in(pool.size(), false);
    for (int step = 0; step < 20000; ++step) {
        int i = rng() % pool.size();
        Item* e = pool[i].get();
        if (in[i]) {
            l.Remove(e);
            model.remove(i);
            in[i] = false;
        } else {
            switch (rng() % 3) {
            case 0:
                l.Append(e);
                model.push_back(i);
                break;
            case 1:
                l.Prepend(e);
                model.push_front(i);
                break;
            default: {
                if (model.empty()) {
                    l.Append(e);
                    model.push_back(i);
                    break;
                }
                auto pos = model.begin();
                std::advance(pos, rng() % model.size());
                l.InsertAfter(e, l.At(std::distance(model.begin(), pos)));
                model.insert(std::next(pos), i);
            }
            }
            in[i] = true;
        }
        ExpectSame(l, model);
        ASSERT_EQ(l.Contains(e), in[i]);
    }
}

} // namespace
