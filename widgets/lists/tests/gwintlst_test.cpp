// The integer list: sorting, duplicates, the value range and its errors.
#include <gtest/gtest.h>

#include "Gwintlst.h"

namespace {

std::vector<int> Values(const TGwIntegerList& l) {
    std::vector<int> v;
    for (int i = 0; i < l.Count(); ++i)
        v.push_back(l[i]);
    return v;
}

TEST(GwIntegerList, NoRangeAcceptsAnyValue) {
    TGwIntegerList l;
    l.Add(-2147483647 - 1);
    l.Add(2147483647);
    EXPECT_EQ(l.Count(), 2);
}

TEST(GwIntegerList, RangeLimits) {
    TGwIntegerList l;
    l.SetMax(10);
    EXPECT_EQ(l.Min(), 0);
    l.Add(5);
    EXPECT_THROW(l.Add(11), EOutOfRange);
    EXPECT_THROW(l.SetMin(6), EOutOfRange);
    EXPECT_EQ(l.Min(), 0) << "a failed narrowing keeps the minimum";
    l.Clear();
    l.SetMin(20);
    EXPECT_EQ(l.Max(), 20) << "a minimum above the maximum raises it";
    l.Add(3);
    EXPECT_EQ(l.Count(), 1) << "Min = Max is no range at all";
    l.Clear();
    l.SetMax(30);
    try {
        l.Add(3);
        FAIL();
    } catch (const EOutOfRange& e) {
        EXPECT_STREQ(e.what(), "Value must be within 20..30");
    }
}

TEST(GwIntegerList, UnsortedDuplicatePolicies) {
    TGwIntegerList l;
    l.Add(3);
    l.Add(3);
    EXPECT_EQ(Values(l), std::vector<int>({3})) << "dupIgnore drops a present value";
    l.SetDuplicates(dupError);
    l.Add(3);
    EXPECT_EQ(Values(l), std::vector<int>({3, 3})) << "only a sorted Add checks for dupError";
}

TEST(GwIntegerList, SortedListKeepsOrderAndRefusesPlacement) {
    TGwIntegerList l;
    for (int v : {5, 1, 4})
        l.Add(v);
    l.SetSorted(true);
    EXPECT_EQ(Values(l), std::vector<int>({1, 4, 5}));
    EXPECT_EQ(l.Add(3), 1);
    EXPECT_EQ(l.Add(4), 2) << "dupIgnore answers the present index";
    EXPECT_EQ(l.Count(), 4);
    EXPECT_THROW(l.Insert(0, 9), EListError);
    l.SetDuplicates(dupError);
    EXPECT_THROW(l.Add(4), EListError);
    l.SetDuplicates(dupAccept);
    l.Add(4);
    EXPECT_EQ(Values(l), std::vector<int>({1, 3, 4, 4, 5}));
    EXPECT_EQ(l.IndexOf(4), 2);
    EXPECT_EQ(l.IndexOf(2), -1);
}

TEST(GwIntegerList, SetItemOnASortedListIsRefused) {
    // Overwriting in place would break the order every later Find relies on.
    TGwIntegerList l;
    l.SetSorted(true);
    for (int v : {1, 2, 3})
        l.Add(v);
    EXPECT_THROW(l.SetItem(0, 9), EListError);
    EXPECT_EQ(Values(l), std::vector<int>({1, 2, 3}));
    TGwIntegerList u;
    u.Add(1);
    u.SetItem(0, 9);
    EXPECT_EQ(u[0], 9);
}

TEST(GwIntegerList, IndexErrors) {
    TGwIntegerList l;
    l.Add(1);
    EXPECT_THROW(l.Insert(2, 5), EListError);
    EXPECT_THROW(l.Delete(1), EListError);
    EXPECT_THROW(l[-1], EListError);
    l.Insert(1, 5);
    l.Move(1, 0);
    EXPECT_EQ(Values(l), std::vector<int>({5, 1}));
    l.Exchange(0, 1);
    EXPECT_EQ(Values(l), std::vector<int>({1, 5}));
}

TEST(GwIntegerList, AssignAndEquals) {
    TGwIntegerList a, b;
    a.Add(2);
    a.Add(7);
    b.Add(1);
    b.Assign(&a);
    EXPECT_TRUE(b.Equals(&a));
    b.Delete(0);
    EXPECT_FALSE(b.Equals(&a));
    b.Assign(&b);
    EXPECT_EQ(Values(b), std::vector<int>({7}));
}

TEST(GwIntegerList, MatchesASortedVectorAtRandom) {
    TGwIntegerList l;
    l.SetSorted(true);
    l.SetDuplicates(dupAccept);
    std::vector<int> model;
    unsigned seed = 12345;
    for (int i = 0; i < 500; ++i) {
        seed = seed * 1103515245u + 12345u;
        const int v = int((seed >> 8) % 50);
        l.Add(v);
        model.insert(std::lower_bound(model.begin(), model.end(), v), v);
        if (i % 7 == 0) {
            const int at = int((seed >> 4) % unsigned(model.size()));
            l.Delete(at);
            model.erase(model.begin() + at);
        }
    }
    EXPECT_EQ(Values(l), model);
}

} // namespace
