// Date and time of the runtime layer: TDateTime arithmetic, the clock, formatting and parsing,
// and the locale settings they read.
#include "sysutils.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <sys/time.h>

// Filled by InitLocaleSettings before main.
char DecimalSeparator = '.';
char ThousandSeparator = ',';
char DateSeparator = '/';
char TimeSeparator = ':';
std::string ShortDateFormat;
std::string LongTimeFormat;
std::string ShortTimeFormat;
std::string CurrencyString;
unsigned char CurrencyFormat = 0;
unsigned char NegCurrFormat = 0;
unsigned char CurrencyDecimals = 2;
std::string ShortMonthNames[12];
std::string LongMonthNames[12];
std::string ShortDayNames[7];
std::string LongDayNames[7];
std::string TimeAMString;
std::string TimePMString;

namespace {

// One locale's settings, as InitLocaleSettings applies them.
struct LocaleTable {
    char decimal, thousand, date, time;
    const char* shortDate;
    const char* longTime;
    const char* shortTime;
    const char* currency;
    unsigned char currencyFormat, negCurrFormat;
    const char* shortMonths[12];
    const char* longMonths[12];
    const char* shortDays[7];
    const char* longDays[7];
    const char* am;
    const char* pm;
};

// A Russian desktop's, as the program's users have it: the decimal point stays '.', as the texts
// the program writes and reads show. The thousands separator is the no-break space, 0xA0 in CP1251.
const LocaleTable kDesktop = {
    '.',
    '\xA0',
    '.',
    ':',
    "dd.MM.yyyy",
    "H:mm:ss",
    "H:mm",
    "р.",
    1,
    5,
    {"янв", "фев", "мар", "апр", "май", "июн", "июл", "авг", "сен", "окт", "ноя", "дек"},
    {"Январь", "Февраль", "Март", "Апрель", "Май", "Июнь", "Июль", "Август", "Сентябрь", "Октябрь", "Ноябрь",
     "Декабрь"},
    {"Вс", "Пн", "Вт", "Ср", "Чт", "Пт", "Сб"},
    {"воскресенье", "понедельник", "вторник", "среда", "четверг", "пятница", "суббота"},
    "",
    "",
};

void Apply(const LocaleTable& t) {
    DecimalSeparator = t.decimal;
    ThousandSeparator = t.thousand;
    DateSeparator = t.date;
    TimeSeparator = t.time;
    ShortDateFormat = t.shortDate;
    LongTimeFormat = t.longTime;
    ShortTimeFormat = t.shortTime;
    CurrencyString = t.currency;
    CurrencyFormat = t.currencyFormat;
    NegCurrFormat = t.negCurrFormat;
    CurrencyDecimals = 2;
    for (int i = 0; i < 12; ++i) {
        ShortMonthNames[i] = t.shortMonths[i];
        LongMonthNames[i] = t.longMonths[i];
    }
    for (int i = 0; i < 7; ++i) {
        ShortDayNames[i] = t.shortDays[i];
        LongDayNames[i] = t.longDays[i];
    }
    TimeAMString = t.am;
    TimePMString = t.pm;
}

// The process's settings are fixed before main runs, so every layer sees the same separator.
const bool g_localeRead = (InitLocaleSettings(), true);

// Days since 1970-01-01 of a proleptic Gregorian date (civil-calendar arithmetic).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + int64_t(doe) - 719468;
}

void CivilFromDays(int64_t z, int& y, unsigned& m, unsigned& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = int(int64_t(yoe) + era * 400 + (m <= 2));
}

constexpr int64_t kUnixEpochSerial = 25569; // 1970-01-01 as a TDateTime

// 0001-01-01 and the day after 9999-12-31: the range of dates.
constexpr double kFirstDay = -693593;
constexpr double kEndDay = 2958466;

// Splits a TDateTime into whole days and milliseconds of the day; the fraction counts from
// midnight even for days before 1899-12-30. False for values outside the date range (NaN too),
// which damaged files can hold.
bool Split(TDateTime dt, int64_t& day, int& ms) {
    day = 0;
    ms = 0;
    if (!(dt > kFirstDay - 1 && dt < kEndDay))
        return false;
    double whole = std::trunc(dt);
    int64_t m = std::llround(std::fabs(dt - whole) * MSecsPerDay);
    day = int64_t(whole);
    if (m >= int64_t(MSecsPerDay)) {
        m -= int64_t(MSecsPerDay);
        day += dt < 0 ? -1 : 1;
    }
    ms = int(m);
    return day >= int64_t(kFirstDay) && day < int64_t(kEndDay);
}

TDateTime SystemClock() {
    timeval tv{};
    gettimeofday(&tv, nullptr);
    time_t t = tv.tv_sec;
    tm local{};
    localtime_r(&t, &local);
    double day =
        double(DaysFromCivil(local.tm_year + 1900, unsigned(local.tm_mon + 1), unsigned(local.tm_mday)) +
               kUnixEpochSerial);
    double ms = ((local.tm_hour * 60.0 + local.tm_min) * 60.0 + local.tm_sec) * 1000.0 + tv.tv_usec / 1000;
    return day + ms / MSecsPerDay;
}

TClockFunc g_clock = &SystemClock;

} // namespace

void InitLocaleSettings() { Apply(kDesktop); }

bool IsLeapYear(int y) { return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0); }

int DaysInMonth(int y, int m) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12)
        return 0;
    return kDays[m - 1] + (m == 2 && IsLeapYear(y));
}

bool TryEncodeDate(int y, int m, int d, TDateTime& out) {
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m))
        return false;
    out = double(DaysFromCivil(y, unsigned(m), unsigned(d)) + kUnixEpochSerial);
    return true;
}

bool TryEncodeTime(int h, int mi, int s, int ms, TDateTime& out) {
    if (h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 59 || ms < 0 || ms > 999)
        return false;
    out = (((h * 60.0 + mi) * 60.0 + s) * 1000.0 + ms) / MSecsPerDay;
    return true;
}

TDateTime EncodeDate(int y, int m, int d) {
    TDateTime r;
    if (!TryEncodeDate(y, m, d, r))
        throw EConvertError(SDateEncodeError);
    return r;
}

TDateTime EncodeTime(int h, int mi, int s, int ms) {
    TDateTime r;
    if (!TryEncodeTime(h, mi, s, ms, r))
        throw EConvertError(STimeEncodeError);
    return r;
}

void DecodeDate(TDateTime dt, unsigned short& year, unsigned short& month, unsigned short& day) {
    int64_t days;
    int ms;
    year = month = day = 0;
    if (!Split(dt, days, ms))
        return;
    int y;
    unsigned m, d;
    CivilFromDays(days - kUnixEpochSerial, y, m, d);
    year = (unsigned short)y;
    month = (unsigned short)m;
    day = (unsigned short)d;
}

void DecodeTime(TDateTime dt, unsigned short& hour, unsigned short& min, unsigned short& sec,
                unsigned short& msec) {
    int64_t days;
    int ms;
    Split(dt, days, ms);
    hour = (unsigned short)(ms / 3600000);
    min = (unsigned short)(ms / 60000 % 60);
    sec = (unsigned short)(ms / 1000 % 60);
    msec = (unsigned short)(ms % 1000);
}

int DayOfWeek(TDateTime dt) {
    int64_t days;
    int ms;
    Split(dt, days, ms);
    // 1899-12-30 was a Saturday.
    int64_t w = (days + 6) % 7;
    if (w < 0)
        w += 7;
    return int(w) + 1;
}

TDateTime IncMonth(TDateTime dt, int months) {
    unsigned short y, m, d;
    DecodeDate(dt, y, m, d);
    int total = y * 12 + (m - 1) + months;
    int ny = total / 12, nm = total % 12 + 1;
    int nd = std::min<int>(d, DaysInMonth(ny, nm));
    TDateTime day = EncodeDate(ny, nm, nd);
    TDateTime time = std::fabs(dt - std::trunc(dt));
    return day < 0 ? day - time : day + time;
}

void SetClock(TClockFunc f) { g_clock = f ? f : &SystemClock; }
TDateTime Now() { return g_clock(); }
TDateTime Date() { return std::trunc(g_clock()); }
TDateTime Time() {
    TDateTime n = g_clock();
    return n - std::trunc(n);
}

namespace {

std::string Two(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

bool StartsWithText(std::string_view s, size_t i, std::string_view what) {
    return s.size() - i >= what.size() && SameText(s.substr(i, what.size()), what);
}

void FormatInto(std::string& out, std::string_view f, TDateTime dt, int depth) {
    unsigned short y, mo, d, h, mi, s, ms;
    DecodeDate(dt, y, mo, d);
    DecodeTime(dt, h, mi, s, ms);
    // 12-hour clock when the format has an am/pm marker.
    bool twelve = false;
    for (size_t k = 0; k < f.size(); ++k)
        if (StartsWithText(f, k, "am/pm") || StartsWithText(f, k, "a/p") || StartsWithText(f, k, "ampm"))
            twelve = true;
    int hourShown = twelve ? (h % 12 == 0 ? 12 : h % 12) : h;
    bool lastWasHour = false;
    size_t i = 0;
    while (i < f.size()) {
        char c = f[i];
        char lc = char(c | 0x20);
        size_t run = 1;
        while (i + run < f.size() && (f[i + run] | 0x20) == lc && lc >= 'a' && lc <= 'z')
            ++run;
        if (c == '"' || c == '\'') {
            size_t e = f.find(c, i + 1);
            if (e == std::string_view::npos)
                e = f.size();
            out.append(f.substr(i + 1, e - i - 1));
            i = e + 1;
            continue;
        }
        bool hour = false;
        if (lc == 'd') {
            if (run == 1)
                out += std::to_string(d);
            else if (run == 2)
                out += Two(d);
            else if (run == 3)
                out += ShortDayNames[DayOfWeek(dt) - 1];
            else if (run == 4)
                out += LongDayNames[DayOfWeek(dt) - 1];
            else if (run == 5 && depth == 0)
                FormatInto(out, ShortDateFormat, dt, 1);
            else if (depth == 0)
                FormatInto(out, ShortDateFormat, dt, 1);
        } else if (lc == 'y') {
            out += run <= 2 ? Two(y % 100) : std::to_string(y);
        } else if (lc == 'm') {
            if (lastWasHour)
                out += run >= 2 ? Two(mi) : std::to_string(mi);
            else if (run == 1)
                out += std::to_string(mo);
            else if (run == 2)
                out += Two(mo);
            else if (mo >= 1 && run == 3)
                out += ShortMonthNames[mo - 1]; // mo is 0 for no date
            else if (mo >= 1)
                out += LongMonthNames[mo - 1];
        } else if (lc == 'h') {
            out += run >= 2 ? Two(hourShown) : std::to_string(hourShown);
            hour = true;
        } else if (lc == 'n') {
            out += run >= 2 ? Two(mi) : std::to_string(mi);
        } else if (lc == 's') {
            out += run >= 2 ? Two(s) : std::to_string(s);
        } else if (lc == 'z') {
            std::string z = std::to_string(ms);
            out += run >= 3 ? std::string(3 - z.size(), '0') + z : z;
        } else if (lc == 't') {
            if (depth == 0)
                FormatInto(out, run >= 2 ? LongTimeFormat : ShortTimeFormat, dt, 1);
        } else if (lc == 'c' && depth == 0) {
            FormatInto(out, ShortDateFormat, dt, 1);
            if (dt - std::trunc(dt) != 0) {
                out += ' ';
                FormatInto(out, LongTimeFormat, dt, 1);
            }
        } else if (lc == 'a' && StartsWithText(f, i, "am/pm")) {
            out += h < 12 ? std::string(f.substr(i, 2)) : std::string(f.substr(i + 3, 2));
            run = 5;
        } else if (lc == 'a' && StartsWithText(f, i, "a/p")) {
            out += h < 12 ? f[i] : f[i + 2];
            run = 3;
        } else if (lc == 'a' && StartsWithText(f, i, "ampm")) {
            out += h < 12 ? TimeAMString : TimePMString;
            run = 4;
        } else if (c == '/') {
            out += DateSeparator;
        } else if (c == ':') {
            out += TimeSeparator;
        } else {
            out.append(f.substr(i, run));
        }
        if (hour)
            lastWasHour = true;
        else if (lc >= 'a' && lc <= 'z' && lc != 'h')
            lastWasHour = false;
        i += run;
    }
}

// Reads digits at i (after blanks); false when there are none.
bool ScanNumber(std::string_view s, size_t& i, int& v, int& len) {
    while (i < s.size() && s[i] == ' ')
        ++i;
    size_t b = i;
    v = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9' && i - b < 9)
        v = v * 10 + (s[i++] - '0');
    len = int(i - b);
    return len > 0;
}

bool ScanChar(std::string_view s, size_t& i, char c) {
    while (i < s.size() && s[i] == ' ')
        ++i;
    if (i < s.size() && s[i] == c) {
        ++i;
        return true;
    }
    return false;
}

int ScanAmPm(std::string_view s, size_t& i) {
    while (i < s.size() && s[i] == ' ')
        ++i;
    const std::string_view am[] = {TimeAMString, "AM"};
    const std::string_view pm[] = {TimePMString, "PM"};
    for (auto w : am)
        if (!w.empty() && StartsWithText(s, i, w)) {
            i += w.size();
            return 0;
        }
    for (auto w : pm)
        if (!w.empty() && StartsWithText(s, i, w)) {
            i += w.size();
            return 12;
        }
    return -1;
}

bool ScanTime(std::string_view s, size_t& i, TDateTime& out) {
    int base = ScanAmPm(s, i);
    int h, m = 0, sec = 0, ms = 0, len;
    if (!ScanNumber(s, i, h, len))
        return false;
    if (ScanChar(s, i, TimeSeparator)) {
        if (!ScanNumber(s, i, m, len))
            return false;
        if (ScanChar(s, i, TimeSeparator)) {
            if (!ScanNumber(s, i, sec, len))
                return false;
            if (ScanChar(s, i, DecimalSeparator) && !ScanNumber(s, i, ms, len))
                return false;
        }
    }
    if (base < 0)
        base = ScanAmPm(s, i);
    if (base >= 0) {
        if (h == 0 || h > 12)
            return false;
        h = h % 12 + base;
    }
    while (i < s.size() && s[i] == ' ')
        ++i;
    return TryEncodeTime(h, m, sec, ms, out);
}

bool ScanDate(std::string_view s, size_t& i, TDateTime& out) {
    int n[3], len[3], count = 0;
    if (!ScanNumber(s, i, n[0], len[0]))
        return false;
    count = 1;
    while (count < 3 && ScanChar(s, i, DateSeparator)) {
        if (!ScanNumber(s, i, n[count], len[count]))
            return false;
        ++count;
    }
    if (count < 2)
        return false;
    // Field order from the short date format: the first of d, M, y decides.
    char order[3] = {'m', 'd', 'y'};
    std::string f = LowerCase(ShortDateFormat);
    size_t pd = f.find('d'), pm = f.find('m'), py = f.find('y');
    if (py < pm && pm < pd) {
        order[0] = 'y';
        order[1] = 'm';
        order[2] = 'd';
    } else if (pd < pm) {
        order[0] = 'd';
        order[1] = 'm';
        order[2] = 'y';
    }
    unsigned short cy, cm, cd;
    DecodeDate(Date(), cy, cm, cd);
    int y = cy, m = 0, d = 0, yLen = 4;
    if (count == 2) {
        // Day and month only, in the format's order; the year is this year.
        int k = 0;
        for (char o : order) {
            if (o == 'y')
                continue;
            (o == 'd' ? d : m) = n[k++];
        }
    } else {
        for (int k = 0; k < 3; ++k) {
            if (order[k] == 'y') {
                y = n[k];
                yLen = len[k];
            } else if (order[k] == 'm')
                m = n[k];
            else
                d = n[k];
        }
        if (yLen <= 2)
            y += cy / 100 * 100;
    }
    while (i < s.size() && s[i] == ' ')
        ++i;
    return TryEncodeDate(y, m, d, out);
}

} // namespace

std::string FormatDateTime(std::string_view format, TDateTime dt) {
    std::string out;
    FormatInto(out, format.empty() ? std::string_view("c") : format, dt, 0);
    return out;
}

std::string DateToStr(TDateTime dt) { return FormatDateTime("ddddd", dt); }
std::string TimeToStr(TDateTime dt) { return FormatDateTime("tt", dt); }
std::string DateTimeToStr(TDateTime dt) { return FormatDateTime("c", dt); }

bool TryStrToTime(std::string_view s, TDateTime& out) {
    size_t i = 0;
    TDateTime t;
    if (!ScanTime(s, i, t) || i != s.size())
        return false;
    out = t;
    return true;
}

bool TryStrToDate(std::string_view s, TDateTime& out) {
    size_t i = 0;
    TDateTime d;
    if (!ScanDate(s, i, d) || i != s.size())
        return false;
    out = d;
    return true;
}

TDateTime StrToTime(std::string_view s) {
    TDateTime t;
    if (!TryStrToTime(s, t))
        throw EConvertError(Format(SInvalidTime, s));
    return t;
}

TDateTime StrToDate(std::string_view s) {
    TDateTime d;
    if (!TryStrToDate(s, d))
        throw EConvertError(Format(SInvalidDate, s));
    return d;
}

bool TryStrToDateTime(std::string_view s, TDateTime& out) {
    size_t i = 0;
    TDateTime d = 0, t = 0;
    const bool haveDate = ScanDate(s, i, d);
    if (!haveDate) {
        i = 0;
        d = 0;
    }
    bool haveTime = false;
    if (i < s.size() && !(haveTime = ScanTime(s, i, t)))
        return false;
    if (!(haveDate || haveTime) || i != s.size())
        return false;
    out = d < 0 ? d - t : d + t;
    return true;
}

TDateTime StrToDateTime(std::string_view s) {
    TDateTime dt;
    if (!TryStrToDateTime(s, dt))
        throw EConvertError(Format(SInvalidDateTime, s));
    return dt;
}
