// Tree tests against std::map: a randomized run of inserts, replaces, deletes, seeks, steps and
// walks both ways, with the base reopened between rounds; records that fill a page exactly.
#include "lortest.h"

#include <map>
#include <random>

using namespace lortest;

namespace {

struct Mix {
    uint32_t pageSize;
    uint32_t maxKey;  // longest key drawn
    uint32_t maxData; // longest data drawn
    int rounds, opsPerRound;
    unsigned seed;
    int minDepth; // the mix must build at least this many levels
};

class LorRandom : public ::testing::TestWithParam<Mix> {};

std::string RandomBytes(std::mt19937& rng, uint32_t minLen, uint32_t maxLen, int alphabet) {
    std::uniform_int_distribution<uint32_t> len(minLen, maxLen);
    std::uniform_int_distribution<int> byte(0, alphabet - 1);
    std::string s(len(rng), '\0');
    for (char& c : s)
        c = char(alphabet >= 256 ? byte(rng) : 'a' + byte(rng));
    return s;
}

void ExpectSameWalks(LORHANDLE t, const std::map<std::string, std::string>& model, int* depth = nullptr) {
    std::vector<std::pair<std::string, std::string>> fwd, back;
    Answer a;
    for (bool ok = Call(FirstRec, t, "\x01", &a); ok; ok = Call(NextRec, t, a.key, &a))
        fwd.emplace_back(a.key, a.data);
    for (bool ok = Call(LastRec, t, "\x01", &a); ok; ok = Call(PrevRec, t, a.key, &a))
        back.emplace_back(a.key, a.data);
    std::vector<std::pair<std::string, std::string>> want(model.begin(), model.end());
    ASSERT_EQ(fwd, want);
    std::reverse(back.begin(), back.end());
    ASSERT_EQ(back, want);
    std::vector<std::string> keys;
    ASSERT_EQ(LorVerifyTable(t, &keys, depth), 0u);
    ASSERT_EQ(keys.size(), model.size());
    ASSERT_EQ(CountRec(t), model.size());
}

TEST_P(LorRandom, MatchesStdMap) {
    const Mix m = GetParam();
    TempDir dir;
    std::string path = dir / "random.lor";
    std::mt19937 rng(m.seed);
    std::map<std::string, std::string> model;
    std::uniform_int_distribution<int> pick(0, 99);
    int maxDepth = 0;
    for (int round = 0; round < m.rounds; ++round) {
        LORHANDLE b = OpenBase(path.c_str(), m.pageSize, 0);
        ASSERT_GT(b, 32u);
        LORHANDLE t = OpenTable(b, "random");
        ASSERT_GT(t, 32u);
        ASSERT_EQ(CountRec(t), model.size());
        for (int i = 0; i < m.opsPerRound; ++i) {
            int op = pick(rng);
            // Keys from a small alphabet so that replaces, deletes and hits are common.
            std::string key = RandomBytes(rng, 1, (op % 7 == 0) ? m.maxKey : 6, 4);
            if (op < 50) {
                std::string data = RandomBytes(rng, 0, (op % 5 == 0) ? m.maxData : 24, 256);
                ASSERT_TRUE(Call(SaveRec, t, key, nullptr, data)) << "save " << i;
                model[key] = data;
            } else if (op < 75) {
                // Deletes mostly hit: take a stored key near the drawn one.
                auto it = model.lower_bound(key);
                if (it != model.end() && op % 3)
                    key = it->first;
                Answer a;
                bool had = model.count(key) != 0;
                ASSERT_EQ(Call(DelRec, t, key, &a), had) << "delete " << i;
                if (had) {
                    ASSERT_EQ(a.data, model[key]);
                    model.erase(key);
                }
            } else if (op < 85) {
                Answer a;
                bool had = model.count(key) != 0;
                ASSERT_EQ(Call(SeekRec, t, key, &a), had);
                if (had) {
                    ASSERT_EQ(a.data, model[key]);
                }
            } else if (op < 93) {
                Answer a;
                auto it = model.upper_bound(key);
                ASSERT_EQ(Call(NextRec, t, key, &a), it != model.end()) << "next " << i;
                if (it != model.end()) {
                    ASSERT_EQ(a.key, it->first);
                }
            } else {
                Answer a;
                auto it = model.lower_bound(key);
                bool has = it != model.begin();
                ASSERT_EQ(Call(PrevRec, t, key, &a), has) << "prev " << i;
                if (has) {
                    ASSERT_EQ(a.key, std::prev(it)->first);
                }
            }
        }
        int depth = 0;
        ExpectSameWalks(t, model, &depth);
        maxDepth = std::max(maxDepth, depth);
        if (round == m.rounds - 1) {
            // Emptying the table leaves no tree behind.
            while (!model.empty()) {
                ASSERT_TRUE(Call(DelRec, t, model.begin()->first));
                model.erase(model.begin());
            }
            ExpectSameWalks(t, model);
        }
        CloseBase(b);
    }
    EXPECT_GE(maxDepth, m.minDepth);
    // Every page went back to the free list: reopen and look at the directory record.
    LORHANDLE b = OpenBase(path.c_str(), m.pageSize, 1);
    Answer a;
    ASSERT_TRUE(Call(SeekRec, MetaTable(b), std::string("random") + '\0', &a));
    EXPECT_EQ(U32(std::vector<uint8_t>(a.data.begin(), a.data.end()), 4), 0u); // root
    EXPECT_EQ(U32(std::vector<uint8_t>(a.data.begin(), a.data.end()), 8), 0u); // count
    CloseBase(b);
    auto file = ReadAll(path);
    for (size_t at = 14; at + m.pageSize <= file.size(); at += m.pageSize) {
        if (U32(file, at + 4) != 1) { // every page but the directory's is free
            EXPECT_EQ(file[at + 16] & 0x13, 0) << "page " << U32(file, at);
        }
    }
}

const auto kMixes = ::testing::Values(Mix{512, 200, 250, 5, 4000, 1, 5}, Mix{1024, 300, 600, 5, 4000, 2, 4},
                                      Mix{512, 12, 40, 4, 6000, 3, 3}, Mix{1024, 480, 400, 4, 3000, 4, 4});

void PrintTo(const Mix& m, std::ostream* os) { *os << "page size " << m.pageSize << ", seed " << m.seed; }

std::string MixName(const ::testing::TestParamInfo<Mix>& info) {
    return "ps" + std::to_string(info.param.pageSize) + "_seed" + std::to_string(info.param.seed);
}

#ifdef LOR_SANITIZED
INSTANTIATE_TEST_SUITE_P(Sanitized, LorRandom, kMixes, MixName);
#else
INSTANTIATE_TEST_SUITE_P(PageSizes, LorRandom, kMixes, MixName);
#endif

} // namespace

TEST(LOR_SUITE(LorTree), ReplacementThatFillsThePage) {
    // A record replaced by one whose entry takes the whole page: alone in the root leaf, and
    // among neighbours in a tree of several levels.
    TempDir dir;
    for (uint32_t ps : {512u, 1024u}) {
        LORHANDLE b = OpenBase((dir / ("fill" + std::to_string(ps))).c_str(), ps, 0);
        const uint32_t full = ps - 17 - 6; // key + data of a page-filling entry
        LORHANDLE alone = OpenTable(b, "alone");
        ASSERT_TRUE(Call(SaveRec, alone, "k", nullptr, "short"));
        ASSERT_TRUE(Call(SaveRec, alone, "k", nullptr, std::string(full - 1, 'F'))) << ps;
        Answer a;
        ASSERT_TRUE(Call(SeekRec, alone, "k", &a));
        EXPECT_EQ(a.data, std::string(full - 1, 'F'));
        EXPECT_EQ(LorVerifyTable(alone, nullptr), 0u);
        LORHANDLE many = OpenTable(b, "many");
        std::map<std::string, std::string> model;
        for (int i = 0; i < 120; ++i) {
            std::string k = "key" + std::to_string(1000 + i);
            model[k] = std::string(i % 30, 'v');
            ASSERT_TRUE(Call(SaveRec, many, k, nullptr, model[k]));
        }
        for (int i = 0; i < 120; i += 7) {
            std::string k = "key" + std::to_string(1000 + i);
            model[k] = std::string(full - k.size(), char('a' + i % 26));
            ASSERT_TRUE(Call(SaveRec, many, k, nullptr, model[k])) << ps << " " << k;
        }
        std::vector<std::string> keys;
        EXPECT_EQ(LorVerifyTable(many, &keys), 0u);
        EXPECT_EQ(keys.size(), model.size());
        for (auto& [k, v] : model) {
            ASSERT_TRUE(Call(SeekRec, many, k, &a)) << k;
            EXPECT_EQ(a.data, v) << k;
        }
        CloseBase(b);
    }
}

// Seeks in ascending key order answer from the leaf of the record found last; between them, saves,
// deletes and steps move or invalidate that position. Every answer must match std::map, hits and
// misses, keys between and beside stored ones, and a descending sweep that never uses the shortcut.
TEST(LOR_SUITE(LorTree), SeeksInKeyOrderMatchStdMap) {
    TempDir dir;
    std::string path = dir / "seek.lor";
    LORHANDLE b = OpenBase(path.c_str(), 512, 0);
    LORHANDLE t = OpenTable(b, "seek");
    std::map<std::string, std::string> model;
    auto keyOf = [](int n) {
        char k[8];
        std::snprintf(k, sizeof k, "%06d", n);
        return std::string(k);
    };
    for (int n = 0; n < 6000; n += 3) {
        model[keyOf(n)] = std::string(n % 40, char('a' + n % 26));
        ASSERT_TRUE(Call(SaveRec, t, keyOf(n), nullptr, model[keyOf(n)]));
    }
    int depth = 0;
    ASSERT_EQ(LorVerifyTable(t, nullptr, &depth), 0u);
    ASSERT_GE(depth, 3);
    auto expectSeek = [&](const std::string& key) {
        Answer a;
        auto it = model.find(key);
        ASSERT_EQ(Call(SeekRec, t, key, &a), it != model.end()) << key;
        if (it != model.end()) {
            ASSERT_EQ(a.key, key);
            ASSERT_EQ(a.data, it->second) << key;
        }
    };
    for (int n = 0; n < 6010; ++n) {
        expectSeek(keyOf(n));
        expectSeek(keyOf(n) + "x"); // longer than the stored key, sorts right after it
        if (n % 97 == 0) {
            std::string added = keyOf(n + 1) + "+";
            model[added] = "added";
            ASSERT_TRUE(Call(SaveRec, t, added, nullptr, "added"));
        } else if (n % 89 == 0 && model.count(keyOf(n + 3))) {
            ASSERT_TRUE(Call(DelRec, t, keyOf(n + 3)));
            model.erase(keyOf(n + 3));
        } else if (n % 83 == 0) {
            Answer a;
            auto it = model.upper_bound(keyOf(n + 50));
            ASSERT_EQ(Call(NextRec, t, keyOf(n + 50), &a), it != model.end());
        }
    }
    for (int n = 6010; n-- > 0;)
        expectSeek(keyOf(n));
    CloseBase(b);
}
