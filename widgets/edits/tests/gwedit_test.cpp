// The numeric edit's reading of typed numbers: evaluator, key filter and range check.
#include <gtest/gtest.h>

#include "Gwedit.h"
#include "sysutils.h"

namespace {

struct EvalCase {
    const char* Text;
    double Value;
};

void PrintTo(const EvalCase& c, std::ostream* os) { *os << '"' << c.Text << '"'; }

class Evaluator : public ::testing::TestWithParam<EvalCase> {
protected:
    void SetUp() override { std::swap(Saved, DecimalSeparator); }
    void TearDown() override { std::swap(Saved, DecimalSeparator); }
    char Saved = '.';
};

TEST_P(Evaluator, ForgivingReading) {
    EXPECT_DOUBLE_EQ(GwEvaluateNumberText(GetParam().Text), GetParam().Value);
}

INSTANTIATE_TEST_SUITE_P(Gw, Evaluator,
                         ::testing::Values(EvalCase{"(1,234)", -1234}, EvalCase{"1.5E-3", 0.0015},
                                           EvalCase{"-1.5E-3", -0.0015},
                                           EvalCase{"1.5e-3", 0.0015}, // lower-case exponent: not negative
                                           EvalCase{"-1.5e-3", -0.0015}, EvalCase{"abc", 0}, EvalCase{"", 0},
                                           EvalCase{"--5", -5}, EvalCase{"+12", 12},
                                           EvalCase{"$ 1 000.50", 1000.5}, EvalCase{"1.2.3", 0},
                                           EvalCase{"E", 0}, EvalCase{"2E3", 2000}, EvalCase{"1e400", 0}));

struct KeyCase {
    char Key;
    const char* Text;
    int SelStart, SelLength;
    bool IntegersOnly, Valid;
};

// A control key as its code (#8), so that test names stay printable.
void PrintTo(const KeyCase& c, std::ostream* os) {
    if (c.Key >= 0x20 && c.Key < 0x7F)
        *os << "'" << c.Key << "'";
    else
        *os << "#" << int(static_cast<unsigned char>(c.Key));
    *os << " into \"" << c.Text << "\" at " << c.SelStart << "+" << c.SelLength
        << (c.IntegersOnly ? " integers" : " floats");
}

class KeyFilter : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyFilter, NumberKeys) {
    const KeyCase& c = GetParam();
    char saved = DecimalSeparator;
    DecimalSeparator = '.';
    EXPECT_EQ(GwIsValidNumberChar(c.Key, c.Text, c.SelStart, c.SelLength, c.IntegersOnly), c.Valid);
    DecimalSeparator = saved;
}

INSTANTIATE_TEST_SUITE_P(
    Gw, KeyFilter,
    ::testing::Values(KeyCase{'5', "-12", 0, 0, true, false}, // nothing before the sign
                      KeyCase{'5', "-12", 1, 0, true, true}, KeyCase{'5', "-12", 0, 1, true, true},
                      KeyCase{'-', "12", 0, 0, true, true}, KeyCase{'-', "12", 1, 0, true, false},
                      KeyCase{'-', "-12", 0, 0, true, false}, KeyCase{'-', "-12", 0, 3, true, true},
                      KeyCase{'-', "-12", 0, 1, true, true},
                      KeyCase{'.', "1.5", 3, 0, false, false}, // a second separator
                      KeyCase{'.', "1.5", 1, 1, false, true},  // unless the selection holds the first
                      KeyCase{'.', "15", 1, 0, false, true}, KeyCase{'.', "15", 1, 0, true, false},
                      KeyCase{'e', "15", 2, 0, false, true}, KeyCase{'e', "15", 2, 0, true, false},
                      KeyCase{'x', "15", 2, 0, false, false}, KeyCase{'\b', "15", 2, 0, true, true},
                      KeyCase{'\r', "15", 2, 0, true, false}));

TEST(GwNumericRange, BoundsAndTheHandlersChoice) {
    bool keep = true;
    EXPECT_EQ(GwCheckRange(5, 0, 0, false, nullptr, keep), 5); // Min = Max: no check
    EXPECT_FALSE(keep);
    EXPECT_EQ(GwCheckRange(5, 0, 0, true, nullptr, keep), 0); // CheckRange: forced to 0
    double entered = 0, adjusted = 0;
    auto note = [&](double e, double a, bool&) {
        entered = e;
        adjusted = a;
    };
    EXPECT_EQ(GwCheckRange(-3, 1, 10, false, note, keep), 1);
    EXPECT_EQ(entered, -3);
    EXPECT_EQ(adjusted, 1);
    EXPECT_EQ(GwCheckRange(11, 1, 10, false, note, keep), 10);
    EXPECT_EQ(adjusted, 10);
    EXPECT_EQ(GwCheckRange(
                  11, 1, 10, false, [](double, double, bool& ac) { ac = false; }, keep),
              11);
    EXPECT_TRUE(keep);
    EXPECT_EQ(GwCheckRange(4, 1, 10, false, note, keep), 4);
    EXPECT_FALSE(keep);
}

} // namespace
