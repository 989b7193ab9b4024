// CP1251 <-> Unicode conversion: every byte, checked against the system's iconv tables.
#include <gtest/gtest.h>
#include <iconv.h>

#include "cp1251.h"
#include "testhelpers.h"

namespace {

std::string IconvToUtf8(const std::string& in) {
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    EXPECT_NE(cd, (iconv_t)-1);
    std::string out(in.size() * 4 + 4, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size(), dstLeft = out.size();
    char* dst = out.data();
    size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (r == size_t(-1))
        return "<error>";
    out.resize(out.size() - dstLeft);
    return out;
}

} // namespace

TEST(Cp1251, AllBytesRoundTripThroughUtf8AndUtf16) {
    std::string all;
    for (int c = 0; c < 256; ++c)
        all += char(c);
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
    EXPECT_EQ(Utf16ToCp1251(Cp1251ToUtf16(all)), all);
}

TEST(Cp1251, EveryByteMatchesIconv) {
    for (int c = 1; c < 256; ++c) {
        if (c == 0x98)
            continue; // unassigned in the code page; iconv refuses it
        std::string b(1, char(c));
        EXPECT_EQ(Cp1251ToUtf8(b), IconvToUtf8(b)) << "byte " << c;
    }
}

TEST(Cp1251, ExecutionCharsetIsCp1251) {
    // The build compiles literals to CP1251; the whole program relies on it.
    EXPECT_EQ(std::string("Ёж"), std::string("\xA8\xE6"));
    EXPECT_EQ(Cp1251ToUtf8("Файл не найден: "), U8(u8"Файл не найден: "));
}

TEST(Cp1251, UnmappedAndMalformedInputBecomesQuestionMark) {
    struct Case {
        std::string utf8;
        std::string cp1251;
    } cases[] = {
        {U8(u8"abc"), "abc"}, {U8(u8"Привет №5 €"), "Привет №5 €"},
        {U8(u8"日本"), "??"}, // outside the code page
        {U8(u8"😀x"), "?x"},   // four-byte sequence
        {"\xC3", "?"},        // truncated sequence
        {"\xC3(", "?("},      // bad continuation byte
        {"\xC0\xAF", "?"},    // overlong '/'
        {"\xFF", "?"},        // never valid in UTF-8
        {"\x80", "?"},        // stray continuation byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utf8ToCp1251(c.utf8), c.cp1251) << c.utf8;
}

// What tells a UTF-8 file from a Windows-1251 one: Cyrillic in Windows-1251 is never well-formed UTF-8.
TEST(Cp1251, WellFormedUtf8IsToldFromWindows1251) {
    EXPECT_TRUE(IsWellFormedUtf8(""));
    EXPECT_TRUE(IsWellFormedUtf8("id1=Poll,a.act,40"));
    const std::string beyondTheCodePage = U8(u8"Общий опрос №5 日本 😀");
    EXPECT_TRUE(IsWellFormedUtf8(beyondTheCodePage));
    for (const std::string& cp1251 : {std::string("Общий опрос"), std::string("Ёж"), std::string("ы")})
        EXPECT_FALSE(IsWellFormedUtf8(cp1251)) << Cp1251ToUtf8(cp1251);
    for (const char* malformed : {"\xC3", "\xC3(", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80"})
        EXPECT_FALSE(IsWellFormedUtf8(malformed));
}

TEST(Cp1251, Utf16SurrogatesBecomeOneQuestionMarkPerCharacter) {
    EXPECT_EQ(Utf16ToCp1251(u"a\U0001F600b"), "a?b");
    EXPECT_EQ(Utf16ToCp1251(std::u16string(1, char16_t(0xD800)) + u"z"), "?z");
    EXPECT_EQ(Utf16ToCp1251(u"Ё\u2116"), "Ё№");
}
