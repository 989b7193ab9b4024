// The indicator settings: which channels can be chosen, the 16-line limit, ordering and the bytes
// written into the object's two parameters.
#include <gtest/gtest.h>

#include <ostream>

#include "Indicatormodel.h"
#include "Objectstore.h"
#include "elem.h"

namespace {

constexpr uint16_t kObject = 2512; // its parameters' index: (2512 + 49) & 0xFF = 1

struct Config {
    ELEMList list;
    TParamItem *sources = nullptr, *formats = nullptr;
    ~Config() {
        while (ELEM* e = list.Newest) {
            list.Remove(e);
            delete e;
        }
    }
    TParamItem* Add(uint16_t type, uint8_t index, uint16_t bits, const char* name = "ch") {
        auto* p = new TParamItem;
        p->SetAddress(type, index);
        p->Name = name;
        p->SetBitWidth(bits);
        list.Append(p);
        return p;
    }
    void AddParams() {
        sources = Add(kIndicatorSourcesType, 1, 8 * 48, "src");
        formats = Add(kIndicatorFormatsType, 1, 8 * 48, "fmt");
    }
    void SetSource(int i, uint16_t type, uint8_t index, uint8_t digits, uint16_t divisor) {
        sources->Value[3 * i] = uint8_t(type);
        sources->Value[3 * i + 1] = uint8_t(type >> 8);
        sources->Value[3 * i + 2] = index;
        formats->Value[3 * i] = digits;
        formats->Value[3 * i + 1] = uint8_t(divisor);
        formats->Value[3 * i + 2] = uint8_t(divisor >> 8);
    }
    std::vector<uint8_t> Bytes(TParamItem* p, int from, int n) {
        std::vector<uint8_t> out;
        for (int i = from; i < from + n; ++i)
            out.push_back(p->Value[i]);
        return out;
    }
};

TEST(Indicator, OnlyBoundByteAndWordChannelsAreAvailable) {
    Config c;
    c.AddParams();
    c.Add(4, 17, 8, "a");
    c.Add(4, 18, 16, "b");
    c.Add(4, 19, 24, "wide");
    c.Add(4, 20, 1, "bit");
    c.Add(0, 5, 8, "untyped");
    c.Add(4, 0, 8, "unbound");
    TIndicatorSettings s;
    ASSERT_TRUE(s.Load(&c.list, kObject));
    EXPECT_EQ(s.Available, (std::vector<std::string>{"4:17-a", "4:18-b"}));
    EXPECT_TRUE(s.Selected.empty());
}

TEST(Indicator, SelectedLinesComeFromTheEntriesAndGoneChannelsMoveTheRestUp) {
    Config c;
    c.AddParams();
    c.Add(4, 17, 8, "a");
    c.Add(5, 2, 24, "wide");
    c.SetSource(0, 9, 9, 1, 10); // deleted since
    c.SetSource(1, 4, 17, 2, 100);
    c.SetSource(2, 5, 2, 0, 1);
    TIndicatorSettings s;
    ASSERT_TRUE(s.Load(&c.list, kObject));
    ASSERT_EQ(s.Selected.size(), 2u);
    EXPECT_EQ(s.Selected[0].Text, "4:17-a");
    EXPECT_EQ(s.Selected[0].Format.Digits, 2);
    EXPECT_EQ(s.Selected[0].Format.Divisor, 100);
    EXPECT_EQ(s.Selected[1].Text, "5:2-wide");
    EXPECT_TRUE(s.Available.empty());
    ASSERT_TRUE(s.Write());
    EXPECT_EQ(c.Bytes(c.sources, 0, 9), (std::vector<uint8_t>{4, 0, 17, 5, 0, 2, 0, 0, 0}));
    EXPECT_EQ(c.Bytes(c.formats, 0, 6), (std::vector<uint8_t>{2, 100, 0, 0, 1, 0}));
}

TEST(Indicator, AddRemoveAndMoveWriteTheBytesInIndicatorOrder) {
    Config c;
    c.AddParams();
    c.Add(1084 + 256, 3, 16, "x"); // a type above 255 is written low byte first
    c.Add(2, 7, 8, "y");
    TIndicatorSettings s;
    ASSERT_TRUE(s.Load(&c.list, kObject));
    EXPECT_FALSE(s.Add(""));
    ASSERT_TRUE(s.Add("2:7-y"));
    ASSERT_TRUE(s.Add("1340:3-x"));
    s.Selected[1].Format = {3, 65535};
    EXPECT_FALSE(s.Move(0, -1));
    EXPECT_FALSE(s.Move(1, +1));
    ASSERT_TRUE(s.Move(1, -1));
    ASSERT_TRUE(s.Write());
    EXPECT_EQ(c.Bytes(c.sources, 0, 6), (std::vector<uint8_t>{0x3C, 0x05, 3, 2, 0, 7}));
    EXPECT_EQ(c.Bytes(c.formats, 0, 6), (std::vector<uint8_t>{3, 0xFF, 0xFF, 0, 1, 0}));

    ASSERT_TRUE(s.Remove("1340:3-x"));
    EXPECT_EQ(s.Available, std::vector<std::string>{"1340:3-x"});
    ASSERT_TRUE(s.Add("1340:3-x"));
    EXPECT_EQ(s.Selected[1].Format.Digits, 0) << "a channel added again starts afresh";
    EXPECT_EQ(s.Selected[1].Format.Divisor, 1);
}

TEST(Indicator, ASeventeenthLineIsRefused) {
    Config c;
    c.AddParams();
    for (int i = 1; i <= 17; ++i)
        c.Add(3, uint8_t(i), 8);
    TIndicatorSettings s;
    ASSERT_TRUE(s.Load(&c.list, kObject));
    for (int i = 1; i <= 16; ++i)
        ASSERT_TRUE(s.Add("3:" + std::to_string(i) + "-ch"));
    EXPECT_FALSE(s.CanAdd());
    EXPECT_FALSE(s.Add("3:17-ch"));
    EXPECT_EQ(s.Selected.size(), 16u);
    EXPECT_EQ(s.Available, std::vector<std::string>{"3:17-ch"});
}

struct MissingCase {
    const char* name;
    bool sources, formats;
    uint16_t bits;
};
void PrintTo(const MissingCase& c, std::ostream* os) { *os << c.name; }

class MissingParams : public testing::TestWithParam<MissingCase> {};

TEST_P(MissingParams, AreReportedAndNothingIsWritten) {
    Config c;
    const MissingCase& m = GetParam();
    TParamItem* src = m.sources ? c.Add(kIndicatorSourcesType, 1, m.bits) : nullptr;
    if (m.formats)
        c.Add(kIndicatorFormatsType, 1, m.bits);
    c.Add(4, 17, 8, "a");
    TIndicatorSettings s;
    EXPECT_FALSE(s.Load(&c.list, kObject));
    EXPECT_FALSE(s.Add("4:17-a"));
    EXPECT_FALSE(s.Write());
    if (src) {
        EXPECT_EQ(c.Bytes(src, 0, 3), (std::vector<uint8_t>{0, 0, 0}));
    }
}

INSTANTIATE_TEST_SUITE_P(Indicator, MissingParams,
                         testing::Values(MissingCase{"NoSources", false, true, 384},
                                         MissingCase{"NoFormats", true, false, 384},
                                         MissingCase{"Neither", false, false, 384},
                                         MissingCase{"TooShort", true, true, 16}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Indicator, ParametersOfAnotherObjectAreNotTaken) {
    Config c;
    c.Add(kIndicatorSourcesType, 2, 384);
    c.Add(kIndicatorFormatsType, 2, 384);
    TIndicatorSettings s;
    EXPECT_FALSE(s.Load(&c.list, kObject));
    EXPECT_TRUE(s.Load(&c.list, kObject + 1));
}

} // namespace
