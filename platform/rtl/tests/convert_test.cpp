// Number conversions: integer parsing and its errors, float parsing and printing under both
// decimal separators, Format.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "sysutils.h"

namespace {

// Sets the number settings for one test and restores them afterwards.
class Separators {
public:
    Separators(char dec, char thousand) : dec_(DecimalSeparator), th_(ThousandSeparator) {
        DecimalSeparator = dec;
        ThousandSeparator = thousand;
    }
    ~Separators() {
        DecimalSeparator = dec_;
        ThousandSeparator = th_;
    }

private:
    char dec_, th_;
};

} // namespace

TEST(StrToInt, AcceptsSignDecimalAndHexadecimal) {
    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {"0", 0},
        {"12", 12},
        {"  12", 12},
        {"+7", 7},
        {"-7", -7},
        {"007", 7},
        {"$FF", 255},
        {"$ff", 255},
        {"-$10", -16},
        {"0x1A", 26},
        {"$7FFFFFFF", 2147483647},
        {"$FFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
        int v = 0;
        EXPECT_TRUE(TryStrToInt(c.text, v)) << c.text;
        EXPECT_EQ(StrToIntDef(c.text, 99), c.value) << c.text;
    }
}

TEST(StrToInt, RejectsWithTheConversionErrorNamingTheText) {
    const char* bad[] = {"",
                         " ",
                         "12 ",
                         "1a",
                         "$",
                         "-",
                         "--1",
                         "1.0",
                         "$G",
                         "xA",
                         "0x",
                         "2147483648",
                         "-2147483649",
                         "$100000000",
                         "99999999999999999999",
                         "1 2",
                         "\x01"
                         "1"};
    for (const char* text : bad) {
        try {
            StrToInt(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, Format(SInvalidInteger, std::string(text)));
        }
        EXPECT_EQ(StrToIntDef(text, -5), -5) << text;
    }
}

TEST(StrToInt, SixtyFourBitRange) {
    EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(StrToInt64("$FFFFFFFF"), 4294967295LL);
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
}

TEST(IntToHex, WidthFollowsTheArgumentType) {
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0, 0), "0");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
    EXPECT_EQ(IntToHex(int64_t(-1), 2), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(IntToHex((unsigned char)0xAB, 1), "AB");
}

TEST(FloatToStrF, BothDecimalSeparators) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double v;
        TFloatFormat f;
        int precision, digits;
        const char* dot;   // DecimalSeparator '.', ThousandSeparator ','
        const char* comma; // DecimalSeparator ',', ThousandSeparator ' '
    } cases[] = {
        {1.5, ffFixed, 5, 1, "1.5", "1,5"},
        {1.234, ffFixed, 10, 3, "1.234", "1,234"},
        {123.456, ffFixed, 5, 3, "123.460", "123,460"}, // precision limits the digits first
        {0.125, ffFixed, 15, 2, "0.13", "0,13"},        // exact half rounds away from zero
        {-0.125, ffFixed, 15, 2, "-0.13", "-0,13"},
        {2.675, ffFixed, 15, 2, "2.67", "2,67"}, // stored just below the half
        {9.995, ffFixed, 15, 2, "9.99", "9,99"},
        {99.96, ffFixed, 15, 1, "100.0", "100,0"}, // carry into a new digit
        {-0.001, ffFixed, 15, 2, "0.00", "0,00"},  // no sign on a zero result
        {0.0, ffFixed, 15, 2, "0.00", "0,00"},
        {42.0, ffFixed, 15, 0, "42", "42"},
        {1e20, ffFixed, 15, 2, "1E20", "1E20"}, // too many digits for the precision
        {1234567.891, ffNumber, 15, 2, "1,234,567.89", "1 234 567,89"},
        {-999.5, ffNumber, 15, 0, "-1,000", "-1 000"},
        {1234.5, ffExponent, 4, 2, "1.235E+03", "1,235E+03"},
        {0.000123, ffExponent, 3, 0, "1.23E-4", "1,23E-4"},
        {0.0, ffExponent, 3, 2, "0.00E+00", "0,00E+00"},
        {0.1, ffGeneral, 15, 0, "0.1", "0,1"},
        {0.1 + 0.2, ffGeneral, 15, 0, "0.3", "0,3"},
        {-2.5, ffGeneral, 15, 0, "-2.5", "-2,5"},
        {100.0, ffGeneral, 15, 0, "100", "100"},
        {0.0001, ffGeneral, 15, 0, "0.0001", "0,0001"}, // plain down to 1E-4
        {0.00012345, ffGeneral, 15, 0, "0.00012345", "0,00012345"},
        {0.00001, ffGeneral, 15, 0, "1E-5", "1E-5"}, // scientific below it
        {-0.000099, ffGeneral, 15, 0, "-9.9E-5", "-9,9E-5"},
        {123456.0, ffGeneral, 6, 0, "123456", "123456"},
        {1234567.0, ffGeneral, 6, 0, "1.23457E6", "1,23457E6"},
        {1.5e-7, ffGeneral, 15, 0, "1.5E-7", "1,5E-7"},
        {1e20, ffGeneral, 15, 0, "1E20", "1E20"},
        {123456789012345678.0, ffGeneral, 15, 0, "1.23456789012346E17", "1,23456789012346E17"},
        {std::nan(""), ffFixed, 15, 2, "NAN", "NAN"},
        {-inf, ffGeneral, 15, 0, "-INF", "-INF"},
    };
    for (const auto& c : cases) {
        {
            Separators s('.', ',');
            EXPECT_EQ(FloatToStrF(c.v, c.f, c.precision, c.digits), c.dot) << c.v;
        }
        {
            Separators s(',', ' ');
            EXPECT_EQ(FloatToStrF(c.v, c.f, c.precision, c.digits), c.comma) << c.v;
        }
    }
}

TEST(FloatToStrF, Currency) {
    Separators s(',', ' ');
    std::string cs = CurrencyString;
    unsigned char cf = CurrencyFormat, nf = NegCurrFormat;
    CurrencyString = "р.";
    CurrencyFormat = 3;
    NegCurrFormat = 8;
    EXPECT_EQ(FloatToStrF(1234.5, ffCurrency, 15, 2), "1 234,50 р.");
    EXPECT_EQ(FloatToStrF(-1234.5, ffCurrency, 15, 2), "-1 234,50 р.");
    CurrencyString = cs;
    CurrencyFormat = cf;
    NegCurrFormat = nf;
}

TEST(StrToFloat, OnlyTheCurrentSeparatorIsAccepted) {
    struct Case {
        char sep;
        const char* text;
        bool ok;
        double v;
    } cases[] = {
        {'.', "1.5", true, 1.5},  {'.', " 2.5e3 ", true, 2500}, {'.', "-.5", true, -0.5},
        {'.', "5.", true, 5},     {'.', "+1E-2", true, 0.01},   {'.', "1,5", false, 0},
        {'.', "", false, 0},      {'.', "e5", false, 0},        {'.', "1e", false, 0},
        {'.', "1e999", false, 0}, {'.', ".", false, 0},         {'.', "1.5x", false, 0},
        {'.', "nan", false, 0},   {'.', "inf", false, 0},       {',', "1,5", true, 1.5},
        {',', "1.5", false, 0},   {',', "-0,25", true, -0.25},
    };
    for (const auto& c : cases) {
        Separators s(c.sep, ' ');
        double v = -1;
        EXPECT_EQ(TryStrToFloat(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, c.v) << c.text;
        } else {
            try {
                StrToFloat(c.text);
                ADD_FAILURE() << c.text;
            } catch (const EConvertError& e) {
                EXPECT_EQ(e.Message, Format(SInvalidFloat, std::string(c.text)));
            }
        }
    }
}

TEST(FloatText, PrintedValuesReadBack) {
    for (char sep : {'.', ','}) {
        Separators s(sep, ' ');
        for (double v : {0.1, -123.456, 1e-10, 6.02214076e23, 1.0 / 3.0, 65535.0})
            EXPECT_NEAR(StrToFloat(FloatToStr(v)), v, std::fabs(v) * 1e-14) << v;
    }
}

TEST(FormatFloat, Pictures) {
    Separators s('.', ',');
    struct Case {
        const char* format;
        double v;
        const char* text;
    } cases[] = {
        {"0.00", 3.14159, "3.14"},
        {"0.00", -3.14159, "-3.14"},
        {"#,##0.00", 1234567.5, "1,234,567.50"},
        {"#,##0", 999.5, "1,000"},
        {"#.##", 0.5, ".5"},
        {"0.##", 1, "1"},
        {"0.##", 1.005, "1"},
        {"000", 7, "007"},
        {"00", 1234, "1234"},
        {"0.00;(0.00);zero", -1.5, "(1.50)"},
        {"0.00;(0.00);zero", 0, "zero"},
        {"0.0E+00", 12345, "1.2E+04"},
        {"0.0E-00", 12345, "1.2E04"},
        {"\"Total: \"0", 5, "Total: 5"},
        {"0 'kg'", 12, "12 kg"},
        {"", 2.5, "2.5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloat(c.format, c.v), c.text) << c.format;
    Separators comma(',', ' ');
    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1 234,50");
}

TEST(Format, Specifiers) {
    Separators s('.', ',');
    EXPECT_EQ(Format("%d", 42), "42");
    EXPECT_EQ(Format("%5d|%-5d|", 42, 42), "   42|42   |");
    EXPECT_EQ(Format("%.3d %.3d", 7, -7), "007 -007");
    EXPECT_EQ(Format("%x %.4x %x", 255, 255, -1), "FF 00FF FFFFFFFF");
    EXPECT_EQ(Format("%u", 3000000000u), "3000000000");
    EXPECT_EQ(Format("%s=%s", "a", std::string("b")), "a=b");
    EXPECT_EQ(Format("%.2f %f %.0f", 3.14159, 2.0, 2.5), "3.14 2.00 3");
    EXPECT_EQ(Format("%g %g", 0.5, 1e20), "0.5 1E20");
    EXPECT_EQ(Format("%e", 1234.5), "1.23450000000000E+003");
    EXPECT_EQ(Format("%n", 1234.5), "1,234.50");
    EXPECT_EQ(Format("%1:s %0:s %s", "a", "b"), "b a b");
    EXPECT_EQ(Format("%*d|%-*d|", 4, 7, 3, 1), "   7|1  |");
    EXPECT_EQ(Format("100%%"), "100%");
    EXPECT_EQ(Format("%.2s|%3s", "abcd", 'c'), "ab|  c");
    EXPECT_EQ(Format("%f", 3), "3.00"); // an integer is taken where a float is asked for
    Separators comma(',', ' ');
    EXPECT_EQ(Format("%.1f", 0.25), "0,3");
}

TEST(Format, BadSpecifierOrArgumentIsAConversionError) {
    auto expectError = [](auto&& call, const char* fmt) {
        try {
            call();
            ADD_FAILURE() << fmt;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, "Format '" + std::string(fmt) + "' invalid or incompatible with argument");
        }
    };
    expectError([] { Format("%d", "x"); }, "%d");
    expectError([] { Format("%s", 5); }, "%s");
    expectError([] { Format("%d %d", 5); }, "%d %d");
    expectError([] { Format("%k", 1); }, "%k");
    expectError([] { Format("%f", "x"); }, "%f");
    expectError([] { Format("abc%"); }, "abc%");
}

namespace {

// What the user reads when a text does not convert, as a Russian desktop's runtime words it.
struct ConversionCase {
    const char* name;
    void (*convert)(std::string_view);
    const char* message;
};

void PrintTo(const ConversionCase& c, std::ostream* os) { *os << c.name; }

const ConversionCase kConversions[] = {
    {"Integer", [](std::string_view s) { StrToInt(s); }, "'qq' - недопустимое целое значение"},
    {"Int64", [](std::string_view s) { StrToInt64(s); }, "'qq' - недопустимое целое значение"},
    {"Float", [](std::string_view s) { StrToFloat(s); }, "'qq' - недопустимое значение с плавающей точкой"},
    {"Date", [](std::string_view s) { StrToDate(s); }, "'qq' - недопустимая дата"},
    {"Time", [](std::string_view s) { StrToTime(s); }, "'qq' - недопустимое время"},
    {"DateTime", [](std::string_view s) { StrToDateTime(s); }, "'qq' - недопустимые дата и время"},
};

class ConversionErrors : public testing::TestWithParam<ConversionCase> {};

TEST_P(ConversionErrors, SayWhatTheTextIsNotInRussian) {
    const ConversionCase& c = GetParam();
    try {
        c.convert("qq");
        ADD_FAILURE() << "accepted";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, c.message);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ConversionErrors, testing::ValuesIn(kConversions),
                         [](const testing::TestParamInfo<ConversionCase>& i) {
                             return std::string(i.param.name);
                         });

} // namespace
