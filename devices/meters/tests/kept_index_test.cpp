// The index a configuration keeps of its channel list against a plain walk of that list, after
// random sequences of what the user does: adding and deleting objects (which renumbers the rest),
// binding signals and moving channels as the main window does, making and deleting channels,
// retyping signals, saving and opening again, closing.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

#include "Channelindex.h"
#include "meterfixture.h"

namespace metertest {
namespace {

class KeptIndexTest : public MeterTest, public ::testing::WithParamInterface<unsigned> {
protected:
    // Every address of the list and a few others answer as a walk does; members are on the list.
    void Check(std::mt19937& rng, int step) {
        TChannelIndex* index = ChannelIndexOf(&cm->Channels);
        ASSERT_NE(index, nullptr);
        std::map<uint32_t, std::vector<TParamItem*>> walk;
        for (ELEM* e = cm->Channels.Oldest; e; e = e->Newer) {
            auto* p = static_cast<TParamItem*>(e);
            ASSERT_TRUE(index->Holds(p)) << "step " << step;
            if (p->ChannelType != 0 || p->ChannelIndex != 0)
                walk[uint32_t{p->ChannelType} << 8 | p->ChannelIndex].push_back(p);
        }
        for (const auto& [key, channels] : walk)
            ASSERT_EQ(index->At(static_cast<uint16_t>(key >> 8), static_cast<uint8_t>(key)), channels)
                << "step " << step << " address " << (key >> 8) << ":" << (key & 0xFF);
        for (int k = 0; k < 5; ++k) {
            const auto [type, at] = Address(rng);
            if (!walk.count(uint32_t{type} << 8 | at)) {
                ASSERT_TRUE(index->At(type, at).empty()) << "step " << step;
            }
        }
        // A freed channel's memory may hold a new channel since.
        for (const TParamItem* p : gone)
            ASSERT_EQ(index->Holds(p), cm->Channels.Contains(p)) << "step " << step;
    }

    // A few addresses, so that bindings meet channels already there.
    static std::pair<uint16_t, uint8_t> Address(std::mt19937& rng) {
        return {static_cast<uint16_t>(std::uniform_int_distribution<int>(200, 202)(rng)),
                static_cast<uint8_t>(std::uniform_int_distribution<int>(0, 6)(rng))};
    }

    TParamItem* AnyChannel(std::mt19937& rng) const {
        const uint32_t n = std::uniform_int_distribution<uint32_t>(0, cm->Channels.Count - 1)(rng);
        return static_cast<TParamItem*>(cm->Channels.At(n));
    }

    TObjectItem* AnyObject(std::mt19937& rng) const {
        if (cm->Objects.Count == 0)
            return nullptr;
        const uint32_t n = std::uniform_int_distribution<uint32_t>(0, cm->Objects.Count - 1)(rng);
        return static_cast<TObjectItem*>(cm->Objects.At(n));
    }

    std::vector<const TParamItem*> gone; // deleted channels, never dereferenced
};

TEST_P(KeptIndexTest, AnswersAsAWalkDoes) {
    std::mt19937 rng(GetParam());
    const auto classes = MeterClasses();
    for (int step = 0; step < 400; ++step) {
        const int op = std::uniform_int_distribution<int>(0, 19)(rng);
        if (op <= 3) {
            const auto c = std::uniform_int_distribution<size_t>(0, classes.size() - 1)(rng);
            cm->AddObject(classes[c].Def->TypeCode);
        } else if (op == 4) {
            if (TObjectItem* o = AnyObject(rng))
                cm->DeleteObject(o);
        } else if (op <= 8) {
            // The binding tree: the owner binds its signal, or refuses.
            if (TObjectItem* o = AnyObject(rng)) {
                ELEMList signals;
                o->ListSignalParams(&signals, true);
                if (signals.Count) {
                    const auto n = std::uniform_int_distribution<uint32_t>(0, signals.Count - 1)(rng);
                    const auto [type, at] = Address(rng);
                    o->BindParam(type, at, static_cast<TParamItemP*>(signals.At(n))->Item);
                }
                while (ELEM* e = signals.Newest) {
                    signals.Remove(e);
                    delete e;
                }
            }
        } else if (op <= 10) {
            // The channel grid moving a channel: its owner binds it, else it is set.
            TParamItem* p = AnyChannel(rng);
            const auto [type, at] = Address(rng);
            if (p->Owner)
                p->Owner->BindParam(p->ChannelType, at, p);
            else
                p->SetAddress(type, at);
        } else if (op <= 12) {
            const auto [type, at] = Address(rng);
            cm->NewChannel(type, at);
        } else if (op == 13) {
            // The channel grid deleting a channel no object owns.
            TParamItem* p = AnyChannel(rng);
            bool builtIn = false;
            for (const TParamItem* b : cm->BuiltIn)
                builtIn = builtIn || b == p;
            if (!p->Owner && !builtIn) {
                cm->Channels.Remove(p);
                gone.push_back(p);
                delete p;
            }
        } else if (op <= 16) {
            // A signal retyped: the channels of its type are numbered again.
            TParamItem* p = AnyChannel(rng);
            if (p->Kind == kChannelMeasured || p->Kind == kChannelSignal) {
                p->ParamType = static_cast<uint8_t>(std::uniform_int_distribution<int>(0, 20)(rng));
                p->RaiseChanged();
            }
        } else if (op <= 18) {
            // A configuration with two channels at one address is not saved.
            if (cm->SaveDatabase(dbPath)) {
                cm = std::make_unique<configmanager>();
                ASSERT_TRUE(cm->LoadDatabase(dbPath)) << cm->LastError;
                gone.clear(); // a fresh list: freed pointers may come back as new channels
            }
        } else {
            cm = std::make_unique<configmanager>();
            gone.clear();
        }
        Check(rng, step);
        if (HasFatalFailure())
            return;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, KeptIndexTest, ::testing::Values(1u, 2u, 3u, 4u, 5u, 42u),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "seed" + std::to_string(info.param);
                         });

} // namespace
} // namespace metertest
