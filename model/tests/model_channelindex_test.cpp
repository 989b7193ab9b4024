// The channel index against a plain walk of its list: insertions anywhere, removals and address
// changes, in random order; the index hears of them from the list and the channels alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "Channelindex.h"

namespace {

std::vector<TParamItem*> AtByWalk(const ELEMList& list, uint16_t type, uint8_t index) {
    std::vector<TParamItem*> out;
    for (ELEM* e = list.Oldest; e; e = e->Newer) {
        auto* p = static_cast<TParamItem*>(e);
        if (p->ChannelType == type && p->ChannelIndex == index)
            out.push_back(p);
    }
    return out;
}

std::vector<TParamItem*> OfTypeByWalk(const ELEMList& list, uint16_t type) {
    std::vector<TParamItem*> out;
    for (ELEM* e = list.Oldest; e; e = e->Newer) {
        auto* p = static_cast<TParamItem*>(e);
        if (p->ChannelType == type && p->ChannelIndex != 0)
            out.push_back(p);
    }
    std::stable_sort(out.begin(), out.end(), [](const TParamItem* a, const TParamItem* b) {
        return a->ChannelIndex < b->ChannelIndex;
    });
    return out;
}

class ChannelIndexTest : public ::testing::TestWithParam<unsigned> {
protected:
    ~ChannelIndexTest() override {
        index.reset();
        while (ELEM* e = list.Newest) {
            list.Remove(e);
            delete e;
        }
    }
    TParamItem* Make(uint16_t type, uint8_t at) {
        auto* p = new TParamItem;
        p->SetAddress(type, at);
        return p;
    }
    TParamItem* Pick(std::mt19937& rng) const {
        uint32_t n = std::uniform_int_distribution<uint32_t>(0, list.Count - 1)(rng);
        return static_cast<TParamItem*>(list.At(n));
    }
    ELEMList list;
    std::unique_ptr<TChannelIndex> index;
};

TEST_P(ChannelIndexTest, AnswersAsAWalkDoes) {
    std::mt19937 rng(GetParam());
    auto type = [&] { return static_cast<uint16_t>(std::uniform_int_distribution<int>(0, 3)(rng)); };
    auto at = [&] { return static_cast<uint8_t>(std::uniform_int_distribution<int>(0, 4)(rng)); };
    auto make = [&] {
        const uint16_t t = type();
        return Make(t, at());
    };
    for (int k = 0; k < 20; ++k)
        list.Append(make());
    index = std::make_unique<TChannelIndex>(list);
    ASSERT_EQ(ChannelIndexOf(&list), index.get());
    std::vector<std::unique_ptr<TParamItem>> gone; // freed only at the end: Holds must not see them
    for (int step = 0; step < 3000; ++step) {
        const int op = std::uniform_int_distribution<int>(0, 9)(rng);
        if (op <= 1 || list.Count < 3) {
            list.Append(make());
        } else if (op == 2) {
            if (step % 2)
                list.Prepend(make());
            else
                list.InsertAfter(make(), Pick(rng));
        } else if (op <= 5) {
            TParamItem* p = Pick(rng);
            const uint16_t t = type();
            p->SetAddress(t, at());
        } else if (op <= 7) {
            // A move made while the index records them comes back with the address before it.
            TParamItem* p = Pick(rng);
            const uint32_t before = uint32_t{p->ChannelType} << 8 | p->ChannelIndex;
            const auto moves = index->Moves([&] {
                p->SetAddress(static_cast<uint16_t>(p->ChannelType + 1), p->ChannelIndex);
                p->SetAddress(p->ChannelType, static_cast<uint8_t>(p->ChannelIndex + 1));
            });
            ASSERT_EQ(moves.size(), 1u);
            EXPECT_EQ(moves[0].first, p);
            EXPECT_EQ(moves[0].second, before);
        } else {
            // The newest and the oldest element too.
            TParamItem* p = op == 8 ? static_cast<TParamItem*>(list.Newest) : Pick(rng);
            list.Remove(p);
            gone.emplace_back(p);
            // Off the list it moves unseen.
            p->SetAddress(1, 1);
        }
        const uint16_t t = type();
        const uint8_t i = at();
        if (t != 0 || i != 0) {
            ASSERT_EQ(index->At(t, i), AtByWalk(list, t, i)) << "step " << step;
        }
        ASSERT_EQ(index->OfType(t), OfTypeByWalk(list, t)) << "step " << step;
        TParamItem* probe = gone.empty() || step % 2 ? Pick(rng) : gone.back().get();
        ASSERT_EQ(index->Holds(probe), list.Contains(probe)) << "step " << step;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, ChannelIndexTest, ::testing::Values(1u, 2u, 3u, 42u),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "seed" + std::to_string(info.param);
                         });

// Kept only for its own list, while it lives.
TEST(ChannelIndexLifeTest, KeptWhileItLives) {
    ELEMList a, b;
    auto* p = new TParamItem;
    p->SetAddress(7, 1);
    a.Append(p);
    EXPECT_EQ(ChannelIndexOf(&a), nullptr);
    {
        TChannelIndex index(a);
        EXPECT_EQ(ChannelIndexOf(&a), &index);
        EXPECT_EQ(ChannelIndexOf(&b), nullptr);
        EXPECT_EQ(index.At(7, 1), std::vector<TParamItem*>{p});
    }
    EXPECT_EQ(ChannelIndexOf(&a), nullptr);
    p->SetAddress(7, 2); // reports to no index
    a.Remove(p);
    delete p;
}

} // namespace
