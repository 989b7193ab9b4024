// String helpers and integer conversions of the runtime layer (Windows-1251 text).
#include "sysutils.h"

#include <algorithm>
#include <array>
#include <climits>

#include "cp1251.h"

namespace {

// Case tables for the whole code page, built from the Unicode mapping so that every Cyrillic
// pair (А/а … Я/я, Ё/ё, Ђ/ђ, Ў/ў, Ґ/ґ …) is covered by one rule.
struct CaseTables {
    std::array<unsigned char, 256> upper{}, lower{};
    CaseTables() {
        for (int c = 0; c < 256; ++c)
            upper[c] = lower[c] = (unsigned char)c;
        for (int c = 0; c < 256; ++c) {
            char32_t u = Cp1251ToUnicode((unsigned char)c);
            char32_t up = u;
            if (u >= 'a' && u <= 'z')
                up = u - 32;
            else if (u >= 0x0430 && u <= 0x044F)
                up = u - 0x20;
            else if (u >= 0x0450 && u <= 0x045F)
                up = u - 0x50;
            else if (u == 0x0491)
                up = 0x0490;
            if (up == u)
                continue;
            unsigned char b = (unsigned char)UnicodeToCp1251(up);
            if (b == '?')
                continue;
            upper[c] = b;
            lower[b] = (unsigned char)c;
        }
    }
};

const CaseTables& Cases() {
    static const CaseTables t;
    return t;
}

// Collation weights for AnsiCompare*: control and punctuation bytes first in byte order, then
// digits, then Latin, then Cyrillic in alphabet order with Ё after Е and the other Cyrillic
// letters after Я. Upper and lower case share a weight.
struct Collation {
    std::array<int, 256> weight{};
    Collation() {
        const auto& cs = Cases();
        int next = 0;
        auto isLetterOrDigit = [&](int c) { return (c >= '0' && c <= '9') || cs.upper[c] != cs.lower[c]; };
        for (int c = 0; c < 256; ++c)
            if (!isLetterOrDigit(c))
                weight[c] = next++;
        for (int c = '0'; c <= '9'; ++c)
            weight[c] = next++;
        for (int c = 'A'; c <= 'Z'; ++c)
            weight[c] = weight[c + 32] = next++;
        const unsigned char yo = 0xA8;
        for (int c = 0xC0; c <= 0xDF; ++c) {
            weight[c] = weight[cs.lower[c]] = next++;
            if (c == 0xC5) // Е, then Ё
                weight[yo] = weight[cs.lower[yo]] = next++;
        }
        for (int c = 0x80; c < 0xC0; ++c)
            if (cs.upper[c] == c && cs.lower[c] != c && c != yo)
                weight[c] = weight[cs.lower[c]] = next++;
    }
};

const Collation& Collate() {
    static const Collation t;
    return t;
}

int Sign(long v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

bool IsBlank(char c) { return (unsigned char)c <= ' '; }

[[noreturn]] void InvalidInteger(std::string_view s) { throw EConvertError(Format(SInvalidInteger, s)); }

// Parses as described at StrToInt; `bits` is 32 or 64.
bool ParseInt(std::string_view s, int bits, int64_t& out) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        neg = s[i++] == '-';
    bool hex = false;
    if (i < s.size() && s[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= s.size())
        return false;
    const uint64_t limit = hex ? (bits == 32 ? 0xFFFFFFFFull : ~0ull)
                               : (bits == 32 ? uint64_t(INT_MAX) + neg : uint64_t(INT64_MAX) + neg);
    uint64_t v = 0;
    for (; i < s.size(); ++i) {
        char c = s[i];
        unsigned d;
        if (c >= '0' && c <= '9')
            d = unsigned(c - '0');
        else if (hex && c >= 'a' && c <= 'f')
            d = unsigned(c - 'a' + 10);
        else if (hex && c >= 'A' && c <= 'F')
            d = unsigned(c - 'A' + 10);
        else
            return false;
        const unsigned base = hex ? 16 : 10;
        if (v > (limit - d) / base)
            return false;
        v = v * base + d;
    }
    if (hex && bits == 32)
        v = uint64_t(int64_t(int32_t(uint32_t(v)))); // $FFFFFFFF is -1
    out = neg ? int64_t(0 - v) : int64_t(v);
    if (bits == 32)
        out = int32_t(out);
    return true;
}

} // namespace

void Abort() { throw EAbort(SOperationAborted); }

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return std::string(s.substr(b, e - b));
}

std::string TrimLeft(std::string_view s) {
    size_t b = 0;
    while (b < s.size() && IsBlank(s[b]))
        ++b;
    return std::string(s.substr(b));
}

std::string TrimRight(std::string_view s) {
    size_t e = s.size();
    while (e > 0 && IsBlank(s[e - 1]))
        --e;
    return std::string(s.substr(0, e));
}

std::string UpperCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z')
            c = char(c - 32);
    return r;
}

std::string LowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
    return r;
}

char AnsiUpperChar(char c) { return char(Cases().upper[(unsigned char)c]); }
char AnsiLowerChar(char c) { return char(Cases().lower[(unsigned char)c]); }

std::string AnsiUpperCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = AnsiUpperChar(c);
    return r;
}

std::string AnsiLowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = AnsiLowerChar(c);
    return r;
}

int CompareStr(std::string_view a, std::string_view b) { return Sign(a.compare(b)); }

int CompareText(std::string_view a, std::string_view b) {
    // Locale-free: only a..z fold, every other byte compares as it is.
    auto up = [](char c) { return int((unsigned char)(c >= 'a' && c <= 'z' ? c - 32 : c)); };
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int d = up(a[i]) - up(b[i]);
        if (d)
            return Sign(d);
    }
    return Sign(long(a.size()) - long(b.size()));
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareText(a, b) == 0;
}

int AnsiCompareText(std::string_view a, std::string_view b) {
    const auto& w = Collate().weight;
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int d = w[(unsigned char)a[i]] - w[(unsigned char)b[i]];
        if (d)
            return Sign(d);
    }
    return Sign(long(a.size()) - long(b.size()));
}

int AnsiCompareStr(std::string_view a, std::string_view b) {
    if (int r = AnsiCompareText(a, b))
        return r;
    // Same letters: lower case sorts first, as Windows does.
    const auto& low = Cases().lower;
    for (size_t i = 0; i < a.size(); ++i) {
        bool al = low[(unsigned char)a[i]] == (unsigned char)a[i];
        bool bl = low[(unsigned char)b[i]] == (unsigned char)b[i];
        if (al != bl)
            return al ? -1 : 1;
    }
    return 0;
}

bool AnsiSameText(std::string_view a, std::string_view b) { return AnsiCompareText(a, b) == 0; }
bool AnsiSameStr(std::string_view a, std::string_view b) { return a == b; }

std::string StringReplace(std::string_view s, std::string_view oldPattern, std::string_view newPattern,
                          TReplaceFlags flags) {
    if (oldPattern.empty())
        return std::string(s);
    const bool ic = flags.Contains(rfIgnoreCase);
    const std::string hay = ic ? AnsiUpperCase(s) : std::string(s);
    const std::string pat = ic ? AnsiUpperCase(oldPattern) : std::string(oldPattern);
    std::string r;
    size_t from = 0;
    while (true) {
        size_t at = hay.find(pat, from);
        if (at == std::string::npos)
            break;
        r.append(s.substr(from, at - from));
        r.append(newPattern);
        from = at + pat.size();
        if (!flags.Contains(rfReplaceAll))
            break;
    }
    r.append(s.substr(from));
    return r;
}

int Pos(std::string_view sub, std::string_view s) {
    if (sub.empty())
        return 0;
    size_t at = s.find(sub);
    return at == std::string_view::npos ? 0 : int(at) + 1;
}

int AnsiPos(std::string_view sub, std::string_view s) { return Pos(sub, s); }

std::string Copy(std::string_view s, int index, int count) {
    if (index < 1)
        index = 1;
    if (count <= 0 || size_t(index) > s.size())
        return {};
    return std::string(s.substr(size_t(index - 1), size_t(count)));
}

std::string StringOfChar(char c, int count) {
    return count > 0 ? std::string(size_t(count), c) : std::string();
}

std::string AnsiQuotedStr(std::string_view s, char quote) {
    std::string r(1, quote);
    for (char c : s) {
        r += c;
        if (c == quote)
            r += c;
    }
    r += quote;
    return r;
}

std::string QuotedStr(std::string_view s) { return AnsiQuotedStr(s, '\''); }

std::string IntToStr(int64_t v) { return std::to_string(v); }

std::string IntToHexBits(uint64_t u, int digits) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string r;
    do {
        r += kHex[u & 15];
        u >>= 4;
    } while (u);
    while (int(r.size()) < digits)
        r += '0';
    std::reverse(r.begin(), r.end());
    return r;
}

bool TryStrToInt(std::string_view s, int& out) {
    int64_t v;
    if (!ParseInt(s, 32, v))
        return false;
    out = int(v);
    return true;
}

bool TryStrToInt64(std::string_view s, int64_t& out) { return ParseInt(s, 64, out); }

int StrToInt(std::string_view s) {
    int v;
    if (!TryStrToInt(s, v))
        InvalidInteger(s);
    return v;
}

int64_t StrToInt64(std::string_view s) {
    int64_t v;
    if (!TryStrToInt64(s, v))
        InvalidInteger(s);
    return v;
}

int StrToIntDef(std::string_view s, int def) {
    int v;
    return TryStrToInt(s, v) ? v : def;
}

int64_t StrToInt64Def(std::string_view s, int64_t def) {
    int64_t v;
    return TryStrToInt64(s, v) ? v : def;
}
