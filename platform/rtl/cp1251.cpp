// Windows-1251 <-> Unicode conversion (runtime layer): one table for the upper half of the code page.
#include "cp1251.h"

#include <array>

namespace {

// Code points of bytes 0x80..0xFF.
constexpr char16_t kHigh[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, // F8
};

void AppendUtf8(std::string& out, char32_t u) {
    if (u < 0x80) {
        out += char(u);
    } else if (u < 0x800) {
        out += char(0xC0 | (u >> 6));
        out += char(0x80 | (u & 0x3F));
    } else {
        out += char(0xE0 | (u >> 12));
        out += char(0x80 | ((u >> 6) & 0x3F));
        out += char(0x80 | (u & 0x3F));
    }
}

} // namespace

char32_t Cp1251ToUnicode(unsigned char c) { return c < 0x80 ? char32_t(c) : char32_t(kHigh[c - 0x80]); }

char UnicodeToCp1251(char32_t u) {
    if (u < 0x80)
        return char(u);
    // Cyrillic А..я is contiguous; everything else is a short scan of the table.
    if (u >= 0x0410 && u <= 0x044F)
        return char(0xC0 + (u - 0x0410));
    for (int i = 0; i < 0x40; ++i)
        if (kHigh[i] == u)
            return char(0x80 + i);
    return '?';
}

std::string Cp1251ToUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size() * 2);
    for (unsigned char c : s)
        AppendUtf8(out, Cp1251ToUnicode(c));
    return out;
}

namespace {

// One UTF-8 sequence at s[i]: its code point and length; a malformed one (a stray or truncated
// sequence, an overlong form, a surrogate, past U+10FFFF) has Ok false and the length to skip.
struct TUtf8Step {
    char32_t Code = 0;
    size_t Length = 1;
    bool Ok = false;
};

TUtf8Step Utf8Step(std::string_view s, size_t i) {
    const unsigned char c = s[i];
    if (c < 0x80)
        return {c, 1, true};
    size_t len = 0;
    char32_t u = 0;
    if ((c & 0xE0) == 0xC0) {
        len = 2;
        u = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3;
        u = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4;
        u = c & 0x07;
    } else {
        return {};
    }
    size_t k = 1;
    for (; k < len && i + k < s.size(); ++k) {
        const unsigned char cc = s[i + k];
        if ((cc & 0xC0) != 0x80)
            break;
        u = (u << 6) | (cc & 0x3F);
    }
    if (k < len)
        return {0, k, false};
    // Overlong forms are malformed, not an alternative spelling of a character.
    static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
    const bool ok = u >= kMin[len] && u <= 0x10FFFF && (u < 0xD800 || u > 0xDFFF);
    return {u, len, ok};
}

// Decodes UTF-8 into CP1251; false when a code point has no CP1251 byte or a sequence is malformed
// (each such place becomes '?').
bool DecodeUtf8(std::string_view s, std::string& out) {
    bool exact = true;
    out.clear();
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const TUtf8Step step = Utf8Step(s, i);
        const char b = step.Ok ? UnicodeToCp1251(step.Code) : '?';
        if (!step.Ok || (b == '?' && step.Code != '?'))
            exact = false;
        out += b;
        i += step.Length;
    }
    return exact;
}
} // namespace

bool IsWellFormedUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const TUtf8Step step = Utf8Step(s, i);
        if (!step.Ok)
            return false;
        i += step.Length;
    }
    return true;
}

std::string Utf8ToCp1251(std::string_view s) {
    std::string out;
    DecodeUtf8(s, out);
    return out;
}

bool TryUtf8ToCp1251(std::string_view s, std::string& out) { return DecodeUtf8(s, out); }

std::u16string Cp1251ToUtf16(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    for (unsigned char c : s)
        out += char16_t(Cp1251ToUnicode(c));
    return out;
}

std::string Utf16ToCp1251(std::u16string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        char16_t c = s[i];
        if (c >= 0xD800 && c <= 0xDFFF) {
            // A surrogate pair is outside CP1251 either way: one '?' per character.
            if (c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF)
                ++i;
            out += '?';
        } else {
            out += UnicodeToCp1251(c);
        }
    }
    return out;
}
