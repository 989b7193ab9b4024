// The GDI additions: every ternary raster operation, pattern brushes, BrushCopy, tabbed text, font
// handles and enumeration, named images.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gfx_support.h"
#include "resources.h"
#include "sysutils.h"
#include "wingdi.h"

namespace {

// ---------------------------------------------------------------- raster operations

// Bit b of the result is the code's bit at index (p_b << 2 | s_b << 1 | d_b).
int ExpectedChannel(unsigned code, int p, int s, int d) {
    int r = 0;
    for (int b = 0; b < 8; ++b) {
        unsigned idx = unsigned(((p >> b) & 1) << 2 | ((s >> b) & 1) << 1 | ((d >> b) & 1));
        r |= int((code >> idx) & 1) << b;
    }
    return r;
}

const struct {
    unsigned code;
    std::uint32_t rop;
    const char* name;
} kNamedRops[] = {
    {0x00, BLACKNESS, "BLACKNESS"}, {0x11, NOTSRCERASE, "NOTSRCERASE"}, {0x33, NOTSRCCOPY, "NOTSRCCOPY"},
    {0x44, SRCERASE, "SRCERASE"},   {0x55, DSTINVERT, "DSTINVERT"},     {0x5A, PATINVERT, "PATINVERT"},
    {0x66, SRCINVERT, "SRCINVERT"}, {0x88, SRCAND, "SRCAND"},           {0xBB, MERGEPAINT, "MERGEPAINT"},
    {0xC0, MERGECOPY, "MERGECOPY"}, {0xCC, SRCCOPY, "SRCCOPY"},         {0xEE, SRCPAINT, "SRCPAINT"},
    {0xF0, PATCOPY, "PATCOPY"},     {0xFB, PATPAINT, "PATPAINT"},       {0xFF, WHITENESS, "WHITENESS"},
};

// The full value Windows gives a named code (its fast path here); others carry the code alone.
std::uint32_t RopValue(unsigned code) {
    for (const auto& n : kNamedRops)
        if (n.code == code)
            return n.rop;
    return std::uint32_t(code) << 16;
}

class RopTable : public ::testing::TestWithParam<unsigned> {};

// Red channel: P 0xF0, S 0xCC, D 0xAA make the result the code itself; green and blue mix otherwise.
TEST_P(RopTable, BitBltAppliesTheCodeToPatternSourceAndDestination) {
    const unsigned code = GetParam();
    const int P[3] = {0xF0, 0x3C, 0x0F}, S[3] = {0xCC, 0x5A, 0x33}, D[3] = {0xAA, 0x96, 0x55};
    TBitmap dst, src;
    WhiteBitmap(dst, 4, 3);
    WhiteBitmap(src, 4, 3);
    dst.Canvas()->Brush()->SetColor(TColor(RGB(D[0], D[1], D[2])));
    dst.Canvas()->FillRect(Rect(0, 0, 4, 3));
    src.Canvas()->Brush()->SetColor(TColor(RGB(S[0], S[1], S[2])));
    src.Canvas()->FillRect(Rect(0, 0, 4, 3));
    dst.Canvas()->Brush()->SetColor(TColor(RGB(P[0], P[1], P[2])));
    ASSERT_TRUE(BitBlt(dst.Canvas()->Handle(), 1, 1, 2, 1, src.Canvas()->Handle(), 0, 0, RopValue(code)));
    const TColor expect =
        TColor(RGB(ExpectedChannel(code, P[0], S[0], D[0]), ExpectedChannel(code, P[1], S[1], D[1]),
                   ExpectedChannel(code, P[2], S[2], D[2])));
    QImage img = dst.Image();
    EXPECT_EQ(GetRValue(COLORREF(PixelAt(img, 1, 1))), int(code));
    EXPECT_EQ(PixelAt(img, 1, 1), expect);
    EXPECT_EQ(PixelAt(img, 2, 1), expect);
    // Outside the box the destination stays.
    EXPECT_EQ(PixelAt(img, 0, 1), TColor(RGB(D[0], D[1], D[2])));
    EXPECT_EQ(PixelAt(img, 3, 1), TColor(RGB(D[0], D[1], D[2])));
    EXPECT_EQ(PixelAt(img, 1, 0), TColor(RGB(D[0], D[1], D[2])));
}

std::string RopName(const ::testing::TestParamInfo<unsigned>& info) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "x%02X", info.param);
    std::string name = buf;
    for (const auto& n : kNamedRops)
        if (n.code == info.param)
            name += std::string("_") + n.name;
    return name;
}

std::vector<unsigned> AllCodes() {
    std::vector<unsigned> v;
    for (unsigned c = 0; c < 256; ++c)
        v.push_back(c);
    return v;
}

INSTANTIATE_TEST_SUITE_P(AllCodes, RopTable, ::testing::ValuesIn(AllCodes()), RopName);

TEST(RopPatterns, PatternBrushesAreAlignedToTheDeviceOrigin) {
    TBitmap pattern;
    WhiteBitmap(pattern, 2, 2);
    pattern.Canvas()->Pixels[0][0] = clBlack;
    pattern.Canvas()->Pixels[1][1] = clBlack;
    auto checker = [](int x, int y) { return ((x + y) & 1) ? clWhite : clBlack; };

    // PATCOPY through PatBlt, and PATPAINT (P | ~S | D) over black with a white source: the pattern.
    for (std::uint32_t rop : {PATCOPY, PATPAINT}) {
        TBitmap dst, src;
        WhiteBitmap(dst, 8, 6);
        WhiteBitmap(src, 8, 6);
        dst.Canvas()->Brush()->SetColor(clBlack);
        dst.Canvas()->FillRect(Rect(0, 0, 8, 6));
        dst.Canvas()->Brush()->SetBitmap(&pattern);
        if (rop == PATCOPY)
            ASSERT_TRUE(PatBlt(dst.Canvas()->Handle(), 1, 1, 5, 3, rop));
        else
            ASSERT_TRUE(BitBlt(dst.Canvas()->Handle(), 1, 1, 5, 3, src.Canvas()->Handle(), 0, 0, rop));
        QImage img = dst.Image();
        for (int y = 1; y < 4; ++y)
            for (int x = 1; x < 6; ++x)
                EXPECT_EQ(PixelAt(img, x, y), checker(x, y)) << std::hex << rop << " at " << x << "," << y;
        EXPECT_EQ(PixelAt(img, 0, 0), clBlack);
        EXPECT_EQ(PixelAt(img, 6, 1), clBlack);
    }

    // PatBlt refuses a code that reads a source.
    TBitmap b;
    WhiteBitmap(b, 4, 4);
    EXPECT_FALSE(PatBlt(b.Canvas()->Handle(), 0, 0, 4, 4, SRCCOPY));
}

TEST(RopPatterns, EvaluatedCodesKeepToTheClipAndTheSelectedBrushHandle) {
    TBitmap b;
    WhiteBitmap(b, 10, 4);
    HDC dc = b.Canvas()->Handle();
    IntersectClipRect(dc, 2, 0, 5, 4);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HBRUSH old = SelectObject(dc, red);
    // DPna (0x0A, no named constant): destination AND NOT pattern.
    ASSERT_TRUE(PatBlt(dc, 0, 0, 10, 4, 0x000A0329));
    SelectObject(dc, old);
    EXPECT_TRUE(DeleteObject(red));
    QImage img = b.Image();
    // D AND NOT P: white AND NOT red = cyan inside the clip; outside it stays white.
    EXPECT_EQ(PixelAt(img, 2, 1), clAqua);
    EXPECT_EQ(PixelAt(img, 4, 3), clAqua);
    EXPECT_EQ(PixelAt(img, 1, 1), clWhite);
    EXPECT_EQ(PixelAt(img, 5, 1), clWhite);
}

TEST(RopPatterns, BrushCopyPaintsTheKeyColourWithTheBrush) {
    TBitmap mark;
    WhiteBitmap(mark, 4, 4);
    mark.Canvas()->Brush()->SetColor(clOlive);
    mark.Canvas()->FillRect(Rect(0, 0, 4, 2));
    mark.Canvas()->Pixels[3][3] = clNavy;
    TBitmap dst;
    WhiteBitmap(dst, 10, 10);
    dst.Canvas()->Brush()->SetColor(clYellow);
    dst.Canvas()->BrushCopy(Rect(2, 2, 6, 6), &mark, Rect(0, 0, 4, 4), clOlive);
    QImage img = dst.Image();
    EXPECT_EQ(PixelAt(img, 2, 2), clYellow); // olive became the brush
    EXPECT_EQ(PixelAt(img, 5, 3), clYellow);
    EXPECT_EQ(PixelAt(img, 2, 4), clWhite); // other colours are copied
    EXPECT_EQ(PixelAt(img, 5, 5), clNavy);
    EXPECT_EQ(PixelAt(img, 1, 1), clWhite); // outside untouched
    EXPECT_EQ(PixelAt(img, 6, 6), clWhite);
}

// ---------------------------------------------------------------- tabbed text

std::vector<std::string> SplitTabs(const std::string& s) {
    std::vector<std::string> out(1);
    for (char ch : s) {
        if (ch == '\t')
            out.emplace_back();
        else
            out.back() += ch;
    }
    return out;
}

struct TabCase {
    const char* name;
    std::string text;
    std::vector<int> stops;
    int origin;
    // The left edge of each segment, from the segment widths w and the average width a.
    std::function<std::vector<int>(const std::vector<int>& w, int a)> lefts;
};

TEST(TabbedText, SegmentsStartAtTheStopsAndTheExtentEndsAfterTheLast) {
    const TabCase cases[] = {
        {"two stops",
         "A\tBB\tC",
         {40, 100},
         0,
         [](auto&, int) {
             return std::vector<int>{0, 40, 100};
         }},
        {"a stop already passed",
         "WWWWWWWW\tB",
         {10, 200},
         0,
         [](auto&, int) {
             return std::vector<int>{0, 200};
         }},
        {"each segment to the next stop",
         "A\tB\tC",
         {30, 45},
         0,
         [](auto&, int) {
             return std::vector<int>{0, 30, 45};
         }},
        {"past the last stop, multiples of the first",
         "A\tB\tC\tD",
         {30, 45},
         0,
         [](auto&, int) {
             return std::vector<int>{0, 30, 45, 60};
         }},
        {"one stop: every n pixels",
         "A\tB\tC",
         {25},
         0,
         [](auto&, int) {
             return std::vector<int>{0, 25, 50};
         }},
        {"no stops: eight average widths",
         "A\tB",
         {},
         0,
         [](auto&, int a) {
             return std::vector<int>{0, 8 * a};
         }},
        {"stops from the tab origin",
         "A\tB",
         {40},
         7,
         [](auto&, int) {
             return std::vector<int>{0, 47};
         }},
    };
    for (const TabCase& k : cases) {
        TBitmap tabbed, plain;
        WhiteBitmap(tabbed, 300, 20);
        WhiteBitmap(plain, 300, 20);
        HDC dc = tabbed.Canvas()->Handle();
        SetBkMode(dc, TRANSPARENT);
        SetBkMode(plain.Canvas()->Handle(), TRANSPARENT);
        std::vector<std::string> segs = SplitTabs(k.text);
        std::vector<int> w;
        for (const std::string& s : segs)
            w.push_back(plain.Canvas()->TextWidth(s));
        TEXTMETRIC tm;
        GetTextMetrics(dc, &tm);
        std::vector<int> lefts = k.lefts(w, tm.tmAveCharWidth);
        ASSERT_EQ(lefts.size(), segs.size()) << k.name;
        for (size_t i = 0; i < segs.size(); ++i)
            plain.Canvas()->TextOut(lefts[i], 0, segs[i]);
        const int* stops = k.stops.empty() ? nullptr : k.stops.data();
        std::int32_t r =
            TabbedTextOut(dc, 0, 0, k.text.c_str(), int(k.text.size()), int(k.stops.size()), stops, k.origin);
        EXPECT_EQ(tabbed.Image(), plain.Image()) << k.name;
        EXPECT_EQ(int(std::uint32_t(r) & 0xFFFF), lefts.back() + w.back()) << k.name;
        EXPECT_EQ(int(std::uint32_t(r) >> 16), tabbed.Canvas()->TextHeight("Xy")) << k.name;
        if (k.origin == 0) {
            EXPECT_EQ(GetTabbedTextExtent(dc, k.text.c_str(), -1, int(k.stops.size()), stops),
                      std::uint32_t(r))
                << k.name;
        }
    }
}

TEST(TabbedText, AnOpaqueBackgroundFillsTheTabGap) {
    TBitmap b;
    WhiteBitmap(b, 120, 20);
    HDC dc = b.Canvas()->Handle();
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(0, 255, 0));
    const int stops[] = {60};
    TabbedTextOut(dc, 0, 0, "i\tj", 3, 1, stops, 0);
    QImage img = b.Image();
    EXPECT_EQ(PixelAt(img, 50, 2), clLime);
    EXPECT_EQ(PixelAt(img, 62 + b.Canvas()->TextWidth("j"), 2), clWhite);
}

// ---------------------------------------------------------------- font handles

LOGFONT MakeLogFont(const char* face, int height, int weight, int escapement) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfEscapement = escapement;
    lf.lfItalic = 1;
    lf.lfCharSet = RUSSIAN_CHARSET;
    lf.lfPitchAndFamily = FIXED_PITCH;
    std::strcpy(lf.lfFaceName, face);
    return lf;
}

TEST(FontHandles, LogFontRoundTripsThroughHandlesAndTFont) {
    EnsureApp();
    LOGFONT lf = MakeLogFont("Courier New", -15, FW_BOLD, 900);
    HFONT h = CreateFontIndirect(&lf);
    LOGFONT back;
    EXPECT_EQ(GetObject(h, 0, nullptr), int(sizeof(LOGFONT)));
    ASSERT_EQ(GetObject(h, sizeof back, &back), int(sizeof(LOGFONT)));
    EXPECT_EQ(std::memcmp(&back, &lf, sizeof lf), 0);

    TFont f;
    f.SetHandle(h);
    EXPECT_EQ(f.Name(), "Courier New");
    EXPECT_EQ(f.Height(), -15);
    EXPECT_EQ(f.Style(), (TFontStyles{fsBold, fsItalic}));
    EXPECT_EQ(f.Orientation(), 900);
    EXPECT_EQ(f.Pitch(), fpFixed);
    EXPECT_EQ(f.Charset(), RUSSIAN_CHARSET);
    EXPECT_EQ(f.Handle(), h);      // the font owns the handle now
    EXPECT_FALSE(DeleteObject(h)); // so it is not deleted under it

    // A change makes a new handle describing the font.
    f.SetSize(12);
    HFONT h2 = f.Handle();
    ASSERT_EQ(GetObject(h2, sizeof back, &back), int(sizeof(LOGFONT)));
    EXPECT_EQ(back.lfHeight, -16);
    EXPECT_EQ(back.lfWeight, FW_BOLD);
    EXPECT_EQ(back.lfEscapement, 900);
    EXPECT_STREQ(back.lfFaceName, "Courier New");
}

TEST(FontHandles, SelectObjectDrawsInTheHandlesFontUntilTheOldOneReturns) {
    TBitmap b;
    WhiteBitmap(b, 60, 60);
    HDC dc = b.Canvas()->Handle();
    TEXTMETRIC plain, bold;
    GetTextMetrics(dc, &plain);
    LOGFONT lf = MakeLogFont("Arial", -20, FW_BOLD, 0);
    HFONT h = CreateFontIndirect(&lf);
    HFONT old = SelectObject(dc, h);
    GetTextMetrics(dc, &bold);
    EXPECT_EQ(bold.tmWeight, FW_BOLD);
    EXPECT_EQ(bold.tmHeight - bold.tmInternalLeading, 20);
    EXPECT_FALSE(DeleteObject(h)); // selected
    EXPECT_EQ(SelectObject(dc, old), h);
    TEXTMETRIC again;
    GetTextMetrics(dc, &again);
    EXPECT_EQ(again.tmHeight, plain.tmHeight);
    EXPECT_EQ(again.tmWeight, plain.tmWeight);
    EXPECT_TRUE(DeleteObject(h));

    // A change of the canvas's Font ends the selection.
    HFONT h3 = CreateFontIndirect(&lf);
    SelectObject(dc, h3);
    b.Canvas()->Font()->SetHeight(-9);
    GetTextMetrics(dc, &again);
    EXPECT_EQ(again.tmHeight - again.tmInternalLeading, 9);
    EXPECT_TRUE(DeleteObject(h3));

    // A font that changes while a canvas has its handle selected lets go of the handle; the canvas
    // keeps drawing in it, and frees it once it is deselected.
    TFont owner;
    owner.SetHeight(-12);
    HFONT owned = owner.Handle();
    HFONT prev = SelectObject(dc, owned);
    owner.SetHeight(-20);
    EXPECT_NE(owner.Handle(), owned);
    GetTextMetrics(dc, &again);
    EXPECT_EQ(again.tmHeight - again.tmInternalLeading, 12);
    SelectObject(dc, prev);
    GetTextMetrics(dc, &again);
    EXPECT_EQ(again.tmHeight - again.tmInternalLeading, 9);
}

TEST(FontHandles, EscapementTurnsTheText) {
    TBitmap b;
    WhiteBitmap(b, 80, 80);
    TCanvas* c = b.Canvas();
    c->Font()->SetHeight(-14);
    LOGFONT lf;
    GetObject(c->Font()->Handle(), sizeof lf, &lf);
    lf.lfEscapement = 900;
    c->Font()->SetHandle(CreateFontIndirect(&lf));
    c->Brush()->SetStyle(bsClear);
    c->TextOut(30, 70, "WWWW");
    TRect ink = InkBox(b.Image(), clWhite);
    EXPECT_GT(ink.Height(), 2 * ink.Width());
    EXPECT_LE(ink.Bottom, 71);
}

// ---------------------------------------------------------------- enumeration

TEST(FontEnumeration, FamiliesCarryTrueTypePitchAndCharsetFlags) {
    EnsureApp();
    struct Seen {
        std::string name;
        unsigned char pitchAndFamily, charset;
        std::uint32_t type;
    };
    std::vector<Seen> seen;
    auto collect = [](const LOGFONT* lf, const TEXTMETRIC* tm, std::uint32_t type, std::intptr_t data) {
        auto* out = reinterpret_cast<std::vector<Seen>*>(data);
        out->push_back({lf->lfFaceName, tm->tmPitchAndFamily, lf->lfCharSet, type});
        return 1;
    };
    EXPECT_EQ(EnumFontFamilies(nullptr, nullptr, collect, std::intptr_t(&seen)), 1);
    auto find = [&](const std::string& n) -> const Seen* {
        for (const Seen& s : seen)
            if (s.name == n)
                return &s;
        return nullptr;
    };
    const struct {
        const char* face;
        bool fixed;
        int charset;
    } expect[] = {{"Arial", false, RUSSIAN_CHARSET},
                  {"Courier New", true, RUSSIAN_CHARSET},
                  {"MS Sans Serif", false, RUSSIAN_CHARSET},
                  {"Times New Roman", false, RUSSIAN_CHARSET},
                  {"Wingdings", false, SYMBOL_CHARSET}};
    for (const auto& e : expect) {
        const Seen* s = find(e.face);
        ASSERT_NE(s, nullptr) << e.face;
        EXPECT_EQ(s->type, TRUETYPE_FONTTYPE) << e.face;
        EXPECT_NE(s->pitchAndFamily & TMPF_TRUETYPE, 0) << e.face;
        // The "fixed pitch" bit marks variable pitch.
        EXPECT_EQ((s->pitchAndFamily & TMPF_FIXED_PITCH) == 0, e.fixed) << e.face;
        EXPECT_EQ(s->charset, e.charset) << e.face;
    }
    for (size_t i = 1; i < seen.size(); ++i)
        EXPECT_LT(CompareText(seen[i - 1].name, seen[i].name), 0);

    // A named family lists its styles; a callback answering 0 stops the enumeration.
    seen.clear();
    EnumFontFamilies(nullptr, "arial", collect, std::intptr_t(&seen));
    EXPECT_EQ(seen.size(), 4u);
    int calls = 0;
    auto stop = [](const LOGFONT*, const TEXTMETRIC*, std::uint32_t, std::intptr_t data) {
        ++*reinterpret_cast<int*>(data);
        return 0;
    };
    EXPECT_EQ(EnumFontFamilies(nullptr, nullptr, stop, std::intptr_t(&calls)), 0);
    EXPECT_EQ(calls, 1);
}

TEST(Palettes, AreAcceptedAndChangeNothing) {
    TBitmap b;
    WhiteBitmap(b, 2, 2);
    LOGPALETTE lp;
    HPALETTE p = CreatePalette(&lp);
    HPALETTE old = SelectPalette(b.Canvas()->Handle(), p, false);
    EXPECT_NE(old, nullptr);
    EXPECT_EQ(RealizePalette(b.Canvas()->Handle()), 0u);
    SelectPalette(b.Canvas()->Handle(), old, true);
    EXPECT_TRUE(DeleteObject(p));
    EXPECT_FALSE(DeleteObject(old));
    EXPECT_EQ(b.Palette(), nullptr);
}

// ---------------------------------------------------------------- named images

TEST(NamedResources, BitmapsLoadByNameIgnoringCase) {
    EnsureApp();
    static const char kXpm[] = "/* XPM */\n"
                               "static const char* mark[] = {\n"
                               "\"3 2 2 1\",\n"
                               "\"r c #FF0000\",\n"
                               "\"b c #0000FF\",\n"
                               "\"rbr\",\n"
                               "\"bbr\"};\n";
    RegisterResourceImage("GWTEST_MARK", kXpm, sizeof kXpm - 1);
    EXPECT_TRUE(ResourceImageExists("gwtest_mark"));
    TBitmap b;
    b.LoadFromResourceName(HInstance, "GwTest_Mark");
    ASSERT_EQ(b.Width(), 3);
    ASSERT_EQ(b.Height(), 2);
    QImage img = b.Image();
    EXPECT_EQ(PixelAt(img, 0, 0), clRed);
    EXPECT_EQ(PixelAt(img, 1, 0), clBlue);
    EXPECT_EQ(PixelAt(img, 0, 1), clBlue);
    EXPECT_EQ(PixelAt(img, 2, 1), clRed);
    EXPECT_THROW(b.LoadFromResourceName(HInstance, "GWTEST_NONE"), EResNotFound);
    EXPECT_EQ(b.Width(), 3);
}

} // namespace
