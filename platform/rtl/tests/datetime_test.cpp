// Date and time: the day count, encoding limits, formatting and reading times and dates.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "sysutils.h"

namespace {

struct DateSettings {
    char ds = DateSeparator, ts = TimeSeparator;
    std::string sdf = ShortDateFormat, ltf = LongTimeFormat;
    DateSettings(char d, std::string shortDate) {
        DateSeparator = d;
        TimeSeparator = ':';
        ShortDateFormat = std::move(shortDate);
        LongTimeFormat = "hh:nn:ss";
    }
    ~DateSettings() {
        DateSeparator = ds;
        TimeSeparator = ts;
        ShortDateFormat = sdf;
        LongTimeFormat = ltf;
    }
};

TDateTime FixedClock() { return 45000.75; } // 2023-03-15 18:00

} // namespace

TEST(DateTime, KnownDays) {
    struct Case {
        int y, m, d;
        double serial;
        int dow;
    } cases[] = {
        {1899, 12, 30, 0, 7},    {1900, 1, 1, 2, 2},    {1970, 1, 1, 25569, 5}, {2000, 2, 29, 36585, 3},
        {2023, 3, 15, 45000, 4}, {1899, 12, 29, -1, 6}, {1, 1, 1, -693593, 2},  {9999, 12, 31, 2958465, 6},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
        unsigned short y, m, d;
        // Noon of that day; before day 0 the fraction is added away from zero.
        DecodeDate(c.serial < 0 ? c.serial - 0.5 : c.serial + 0.5, y, m, d);
        EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d);
        EXPECT_EQ(DayOfWeek(c.serial), c.dow);
    }
}

TEST(DateTime, EncodingRejectsImpossibleValues) {
    struct Case {
        int y, m, d;
    } bad[] = {{2023, 2, 29}, {1900, 2, 29}, {2023, 13, 1}, {2023, 0, 1}, {0, 1, 1}, {2023, 4, 31}};
    for (const auto& c : bad) {
        try {
            EncodeDate(c.y, c.m, c.d);
            ADD_FAILURE();
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, "Invalid argument to date encode");
        }
    }
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
}

TEST(DateTime, TimeOfDayRoundTripsToTheMillisecond) {
    for (int ms = 0; ms < 86400000; ms += 86399 * 7) {
        TDateTime t = EncodeTime(ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
        unsigned short h, m, s, z;
        DecodeTime(45000 + t, h, m, s, z);
        ASSERT_EQ(((h * 60 + m) * 60 + s) * 1000 + z, ms);
        DecodeTime(-3 - t, h, m, s, z); // before 1899-12-30 the fraction still counts from midnight
        ASSERT_EQ(((h * 60 + m) * 60 + s) * 1000 + z, ms);
    }
    unsigned short h, m, s, z;
    DecodeTime(0.99999999999, h, m, s, z); // rounds up into the next day, never to 24:00
    EXPECT_EQ(h + m + s + z, 0);
}

TEST(DateTime, FormatDateTime) {
    DateSettings set('.', "dd.MM.yyyy");
    const TDateTime t = EncodeDate(2023, 3, 5) + EncodeTime(7, 4, 9, 12);
    struct Case {
        const char* format;
        const char* text;
    } cases[] = {
        {"dd/mm/yyyy", "05.03.2023"},
        {"d/m/yy", "5.3.23"},
        {"hh:nn:ss.zzz", "07:04:09.012"},
        {"h:m", "7:4"},
        {"hh:mm", "07:04"},
        {"c", "05.03.2023 07:04:09"},
        {"ddddd", "05.03.2023"},
        {"yyyy'y'", "2023y"},
        {"\"at\" hh", "at 07"},
        {"h am/pm", "7 am"},
        {"mmm", ShortMonthNames[2].c_str()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDateTime(c.format, t), c.text) << c.format;
    EXPECT_EQ(FormatDateTime("c", EncodeDate(2023, 3, 5)), "05.03.2023");
    EXPECT_EQ(FormatDateTime("h AM/PM", EncodeTime(19, 0, 0, 0)), "7 PM");
}

TEST(DateTime, StrToTime) {
    struct Case {
        const char* text;
        int h, m, s;
    } good[] = {
        {"12:30", 12, 30, 0},     {"9:05:07", 9, 5, 7},    {" 7 : 15 ", 7, 15, 0},
        {"23:59:59", 23, 59, 59}, {"930 PM", -1, 0, 0},    {"9:30 PM", 21, 30, 0},
        {"12 AM", 0, 0, 0},       {"12:15 pm", 12, 15, 0}, {"5", 5, 0, 0},
    };
    for (const auto& c : good) {
        if (c.h < 0) {
            EXPECT_THROW(StrToTime(c.text), EConvertError) << c.text;
            continue;
        }
        TDateTime t = StrToTime(c.text);
        EXPECT_NEAR(t, EncodeTime(c.h, c.m, c.s, 0), 1e-9) << c.text;
    }
    for (const char* bad : {"", "  :  ", "24:00", "12:60", "1:2:3:4", "ab", "13 PM", "0 AM", "12:"}) {
        try {
            StrToTime(bad);
            ADD_FAILURE() << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, Format(SInvalidTime, std::string(bad)));
        }
    }
}

TEST(DateTime, StrToDateFollowsTheShortFormat) {
    SetClock(&FixedClock);
    {
        DateSettings ru('.', "dd.MM.yyyy");
        EXPECT_EQ(StrToDate("05.03.2023"), EncodeDate(2023, 3, 5));
        EXPECT_EQ(StrToDate("5.3.23"), EncodeDate(2023, 3, 5));
        EXPECT_EQ(StrToDate("5.3"), EncodeDate(2023, 3, 5)); // this year
        EXPECT_THROW(StrToDate("31.02.2023"), EConvertError);
        EXPECT_THROW(StrToDate("5/3/2023"), EConvertError);
        EXPECT_NEAR(StrToDateTime("05.03.2023 18:30"), EncodeDate(2023, 3, 5) + EncodeTime(18, 30, 0, 0),
                    1e-9);
        EXPECT_NEAR(StrToDateTime("18:30"), EncodeTime(18, 30, 0, 0), 1e-9);
        EXPECT_EQ(StrToDateTime("05.03.2023"), EncodeDate(2023, 3, 5));
        for (const char* bad : {"", "  ", "05.03.2023 x", "x 18:30", "05.03.2023 25:00"}) {
            try {
                StrToDateTime(bad);
                ADD_FAILURE() << bad;
            } catch (const EConvertError& e) {
                EXPECT_EQ(e.Message, Format(SInvalidDateTime, std::string(bad)));
            }
        }
        EXPECT_EQ(DateToStr(EncodeDate(2023, 3, 5)), "05.03.2023");
    }
    {
        DateSettings us('/', "M/d/yyyy");
        EXPECT_EQ(StrToDate("3/5/2023"), EncodeDate(2023, 3, 5));
    }
    {
        DateSettings iso('-', "yyyy-MM-dd");
        EXPECT_EQ(StrToDate("2023-03-05"), EncodeDate(2023, 3, 5));
    }
    EXPECT_EQ(Date(), 45000);
    EXPECT_NEAR(Time(), 0.75, 1e-12);
    SetClock(nullptr);
    EXPECT_GT(Now(), 45000);
}

TEST(DateTime, IncMonthCutsTheDay) {
    struct Case {
        int y, m, d, add, ry, rm, rd;
    } cases[] = {
        {2023, 1, 31, 1, 2023, 2, 28},  {2024, 1, 31, 1, 2024, 2, 29},    {2023, 12, 15, 1, 2024, 1, 15},
        {2023, 3, 31, -1, 2023, 2, 28}, {2023, 1, 10, -13, 2021, 12, 10}, {2020, 2, 29, 12, 2021, 2, 28},
    };
    for (const auto& c : cases) {
        const TDateTime t = EncodeTime(6, 30, 0, 0);
        EXPECT_NEAR(IncMonth(EncodeDate(c.y, c.m, c.d) + t, c.add), EncodeDate(c.ry, c.rm, c.rd) + t, 1e-9)
            << c.y << "-" << c.m << "-" << c.d << " + " << c.add;
    }
}

// The settings are a Russian desktop's whatever the environment names, with the decimal point '.'.
TEST(Locale, ARussianDesktopWithTheDecimalPoint) {
    const char* saved = std::getenv("LC_ALL");
    const std::string keep = saved ? saved : "";
    for (const char* env : {"C", "en_US.UTF-8", "ru_RU.UTF-8"}) {
        ::setenv("LC_ALL", env, 1);
        DateSeparator = '/';
        ShortDateFormat = "M/d/yyyy";
        InitLocaleSettings();
        EXPECT_EQ(DecimalSeparator, '.') << env;
        EXPECT_EQ(DateSeparator, '.') << env;
        EXPECT_EQ(ShortDateFormat, "dd.MM.yyyy") << env;
        EXPECT_EQ(LongTimeFormat, "H:mm:ss") << env;
        const TDateTime t = EncodeDate(2007, 1, 1) + EncodeTime(9, 5, 7, 0);
        EXPECT_EQ(DateToStr(t), "01.01.2007") << env;
        EXPECT_EQ(TimeToStr(t), "9:05:07") << env;
        EXPECT_EQ(FormatDateTime("mmmm", EncodeDate(2023, 3, 1)), "Март") << env;
        EXPECT_EQ(FormatDateTime("ddd dddd", EncodeDate(2007, 1, 1)), "Пн понедельник") << env;
        EXPECT_EQ(FloatToStrF(1234.5, ffNumber, 15, 1), "1\xA0"
                                                        "234.5")
            << env;
        EXPECT_EQ(StrToDate("31.12.2006"), EncodeDate(2006, 12, 31)) << env;
    }
    if (saved)
        ::setenv("LC_ALL", keep.c_str(), 1);
    else
        ::unsetenv("LC_ALL");
    InitLocaleSettings();
}

TEST(DateTime, ValuesNoDateCanHaveDecodeAsZero) {
    // Such values arrive from damaged files; every reader must survive them.
    const double bad[] = {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, -1e300, 2958466.0, -693594.5, 9.3e18};
    for (double v : bad) {
        unsigned short y = 1, m = 1, d = 1, h = 1, mi = 1, s = 1, ms = 1;
        DecodeDate(v, y, m, d);
        DecodeTime(v, h, mi, s, ms);
        EXPECT_EQ(y + m + d + h + mi + s + ms, 0) << v;
        EXPECT_GE(DayOfWeek(v), 1) << v;
        EXPECT_LE(DayOfWeek(v), 7) << v;
        EXPECT_NO_THROW(FormatDateTime("dddd d mmmm yyyy hh:nn:ss.zzz ampm c", v)) << v;
        EXPECT_THROW(IncMonth(v, 1), EConvertError) << v;
    }
    unsigned short y, m, d;
    DecodeDate(2958465.99, y, m, d); // the last day still decodes
    EXPECT_EQ(y * 10000 + m * 100 + d, 99991231);
    DecodeDate(-693593.5, y, m, d); // and the first
    EXPECT_EQ(y * 10000 + m * 100 + d, 10101);
}
