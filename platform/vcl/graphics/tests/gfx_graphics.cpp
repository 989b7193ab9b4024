// Colours, fonts, symbol fonts and image lists of the GUI core's painting side.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>

#include <functional>

#include "gfx_support.h"

namespace {

TEST(Colors, SystemColoursResolveThroughTheClassicScheme) {
    struct {
        TColor c;
        int index;
        TColor rgb;
    } cases[] = {
        {clScrollBar, 0, 0xC8D0D4},      {clBackground, 1, 0xA56E3A}, {clActiveCaption, 2, 0x6A240A},
        {clWindow, 5, 0xFFFFFF},         {clWindowText, 8, 0x000000}, {clHighlight, 13, 0x6A240A},
        {clHighlightText, 14, 0xFFFFFF}, {clBtnFace, 15, 0xC8D0D4},   {clBtnShadow, 16, 0x808080},
        {clGrayText, 17, 0x808080},      {clBtnText, 18, 0x000000},   {clBtnHighlight, 20, 0xFFFFFF},
        {cl3DDkShadow, 21, 0x404040},    {cl3DLight, 22, 0xC8D0D4},   {clInfoText, 23, 0x000000},
        {clInfoBk, 24, 0xE1FFFF},        {clMenuBar, 30, 0xC8D0D4},
    };
    for (auto& k : cases) {
        EXPECT_EQ(std::uint32_t(k.c), 0x80000000u + unsigned(k.index));
        EXPECT_EQ(ColorToRGB(k.c), k.rgb) << ColorToString(k.c);
        EXPECT_EQ(GetSysColor(k.index), COLORREF(k.rgb));
    }
    EXPECT_EQ(GetSysColor(99), 0u);
    // Plain colours and the two markers pass unchanged.
    for (TColor c : {clRed, clNavy, TColor(0x00149BF0), clNone, clDefault})
        EXPECT_EQ(ColorToRGB(c), c);
    EXPECT_EQ(clNone, 0x1FFFFFFF);
    EXPECT_EQ(clDefault, 0x20000000);
    EXPECT_EQ(RGB(240, 155, 20), 0x00149BF0u);
    EXPECT_EQ(GetGValue(0x00149BF0), 155);
}

TEST(Colors, NamesRoundTrip) {
    for (TColor c : {clBtnFace, clBlack, clInfoBk, clNone, TColor(0x00123456)}) {
        TColor back = 0;
        ASSERT_TRUE(IdentToColor(ColorToString(c), back)) << ColorToString(c);
        EXPECT_EQ(back, c);
    }
    TColor x;
    EXPECT_FALSE(IdentToColor("clNoSuchColour", x));
    EXPECT_FALSE(IdentToColor("$12G", x));
}

TEST(Fonts, PointsAndPixelsAt96Dpi) {
    struct {
        int points, height;
    } cases[] = {{8, -11}, {9, -12}, {10, -13}, {12, -16}, {5, -7}, {14, -19}};
    for (auto& k : cases) {
        TFont f;
        f.SetSize(k.points);
        EXPECT_EQ(f.Height(), k.height) << k.points;
        EXPECT_EQ(f.Size(), k.points);
    }
    TFont d;
    EXPECT_EQ(d.Name(), "MS Sans Serif");
    EXPECT_EQ(d.Size(), 8);
    EXPECT_EQ(d.Color(), clWindowText);
}

TEST(Fonts, ChangeNotifiesOnlyOnRealChanges) {
    TFont f;
    int calls = 0;
    TObject* sender = nullptr;
    f.OnChange = [&](TObject* s) {
        ++calls;
        sender = s;
    };
    f.SetSize(8);
    f.SetName("MS Sans Serif");
    EXPECT_EQ(calls, 0);
    f.SetStyle(TFontStyles{fsBold});
    f.SetColor(clRed);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(sender, &f);
    TFont g;
    g.Assign(&f);
    EXPECT_EQ(g.Color(), clRed);
    EXPECT_TRUE(g.Style().Contains(fsBold));
}

TEST(Fonts, FaceNamesMapToMetricCompatibleFaces) {
    struct {
        const char* from;
        const char* to;
    } cases[] = {{"Arial", "Liberation Sans"},       {"arial", "Liberation Sans"},
                 {"Courier New", "Liberation Mono"}, {"Times New Roman", "Liberation Serif"},
                 {"MS Sans Serif", "Tahoma"},        {"Tahoma", "Tahoma"},
                 {"Verdana", "DejaVu Sans"},         {"DejaVu Sans Mono", "DejaVu Sans Mono"}};
    for (auto& k : cases)
        EXPECT_EQ(MapFontName(k.from), k.to);
}

// The dialog font the forms are sized for is drawn with its substitute, not a fallback, and is no
// wider than the face it stands for: its 8 pt faces average about 5.5 pixels a character, 130-150 here.
TEST(Fonts, TheFormsFontIsDrawnWithItsNarrowSubstitute) {
    EnsureApp();
    for (const char* name : {"MS Sans Serif", "Tahoma"}) {
        TBitmap b;
        b.SetWidth(10);
        b.SetHeight(10);
        b.Canvas()->Font()->SetName(name);
        EXPECT_EQ(QFontInfo(b.Canvas()->Font()->QtFont()).family(), QString("Tahoma")) << name;
        const int w = b.Canvas()->TextWidth("Кол-во цифр после запятой:");
        EXPECT_GE(w, 130) << name;
        EXPECT_LE(w, 150) << name;
    }
}

// Fonts alike share one Qt font, whatever Qt does not draw (colour, character set) and whichever
// name of the same face they use; each attribute Qt draws gives a font of its own.
TEST(Fonts, FontsAlikeShareOneQtFontAndEveryChangeTakesEffect) {
    EnsureApp();
    TFont plain, coloured, tahoma;
    coloured.SetColor(clRed);
    coloured.SetCharset(RUSSIAN_CHARSET);
    tahoma.SetName("Tahoma");
    EXPECT_EQ(&plain.QtFont(), &coloured.QtFont());
    EXPECT_EQ(&plain.QtFont(), &tahoma.QtFont());
    struct {
        const char* what;
        std::function<void(TFont&)> change;
        std::function<bool(const QFont&)> holds;
    } cases[] = {
        {"name", [](TFont& f) { f.SetName("Arial"); },
         [](const QFont& q) { return q.family() == "Liberation Sans"; }},
        {"height", [](TFont& f) { f.SetHeight(-16); }, [](const QFont& q) { return q.pixelSize() == 16; }},
        {"cell height", [](TFont& f) { f.SetHeight(20); },
         [](const QFont& q) { return q.pixelSize() > 11 && q.pixelSize() <= 20; }},
        {"bold", [](TFont& f) { f.SetStyle(TFontStyles{fsBold}); }, [](const QFont& q) { return q.bold(); }},
        {"italic", [](TFont& f) { f.SetStyle(TFontStyles{fsItalic}); },
         [](const QFont& q) { return q.italic(); }},
        {"underline", [](TFont& f) { f.SetStyle(TFontStyles{fsUnderline}); },
         [](const QFont& q) { return q.underline(); }},
        {"strike-out", [](TFont& f) { f.SetStyle(TFontStyles{fsStrikeOut}); },
         [](const QFont& q) { return q.strikeOut(); }},
        {"fixed pitch", [](TFont& f) { f.SetPitch(fpFixed); }, [](const QFont& q) { return q.fixedPitch(); }},
    };
    for (auto& k : cases) {
        TFont f;
        const QFont& before = f.QtFont();
        k.change(f);
        EXPECT_TRUE(k.holds(f.QtFont())) << k.what;
        EXPECT_FALSE(k.holds(before)) << k.what;
        TFont copy;
        copy.Assign(f);
        EXPECT_EQ(&copy.QtFont(), &f.QtFont()) << k.what;
    }
}

// Widths come from a memory of the strings measured in each font: asked again they are still Qt's
// widths, also after the font database has changed under them.
TEST(Fonts, RememberedWidthsStayQtsWidths) {
    TBitmap b;
    WhiteBitmap(b, 10, 10);
    TCanvas* c = b.Canvas();
    const auto qtWidth = [&](const std::string& s) {
        return QFontMetrics(c->Font()->QtFont()).horizontalAdvance(ToQString(s));
    };
    const char* const texts[] = {"Свойства объекта", "Пример", "W", "", "Каналы концентратора"};
    for (const char* face : {"MS Sans Serif", "Arial"})
        for (TFontStyles style : {TFontStyles{}, TFontStyles{fsBold}}) {
            c->Font()->SetName(face);
            c->Font()->SetStyle(style);
            for (int pass = 0; pass < 2; ++pass)
                for (const char* t : texts)
                    EXPECT_EQ(c->TextWidth(t), qtWidth(t)) << face << " " << t << " pass " << pass;
        }
    // A face Qt has not got is drawn with a fallback until it is added.
    const std::string text = "Small Fonts 0123";
    c->Font()->SetName("Small Fonts");
    const int fallback = c->TextWidth(text);
    ASSERT_GE(QFontDatabase::addApplicationFont("/usr/share/wine/fonts/small_fonts.ttf"), 0);
    EXPECT_NE(qtWidth(text), fallback);
    EXPECT_EQ(c->TextWidth(text), qtWidth(text));
}

TEST(Fonts, WingdingsAndMarlettDrawTheirSymbols) {
    TFont w;
    w.SetName("Wingdings");
    EXPECT_EQ(FontText(w, "\xFE\xA8"), u"\u2611\u2610");
    TFont m;
    m.SetName("Marlett");
    EXPECT_EQ(FontText(m, "r"), u"\u2715");
    TFont plain;
    EXPECT_EQ(FontText(plain, "\xC0\xFE"), u"\u0410\u044E"); // Cyrillic for ordinary fonts

    // The ticked and the empty box both leave ink, and not the same ink.
    QImage boxes[2];
    const char* codes[2] = {"\xFE", "\xA8"};
    for (int i = 0; i < 2; ++i) {
        TBitmap b;
        WhiteBitmap(b, 30, 30);
        b.Canvas()->Font()->SetName("Wingdings");
        b.Canvas()->Font()->SetSize(12);
        b.Canvas()->TextOut(2, 2, codes[i]);
        boxes[i] = b.Image();
        EXPECT_GT(CountColor(boxes[i], clBlack), 20) << i;
    }
    EXPECT_GT(CountColor(boxes[0], clBlack), CountColor(boxes[1], clBlack));
}

TEST(Fonts, TextExtentGrowsWithSizeAndStyle) {
    TBitmap b;
    WhiteBitmap(b, 10, 10);
    TCanvas* c = b.Canvas();
    TSize small = c->TextExtent("Пример");
    c->Font()->SetSize(16);
    TSize big = c->TextExtent("Пример");
    EXPECT_GT(big.cx, small.cx);
    EXPECT_GT(big.cy, small.cy);
    c->Font()->SetStyle(TFontStyles{fsBold});
    EXPECT_GE(c->TextExtent("Пример").cx, big.cx);
    EXPECT_EQ(c->TextExtent("").cx, 0);
}

TEST(ImageList, AddSlicesMasksAndDraws) {
    EnsureApp();
    TImageList il(nullptr);
    il.SetWidth(4);
    il.SetHeight(4);
    TBitmap strip;
    WhiteBitmap(strip, 12, 4);
    strip.Canvas()->Brush()->SetColor(clRed);
    strip.Canvas()->FillRect(Rect(0, 0, 4, 4));
    strip.Canvas()->Brush()->SetColor(clBlue);
    strip.Canvas()->FillRect(Rect(4, 0, 8, 4));
    strip.Canvas()->Pixels[5][1] = clFuchsia;
    EXPECT_EQ(il.AddMasked(&strip, clFuchsia), 0);
    EXPECT_EQ(il.Count(), 3);

    TBitmap dst;
    WhiteBitmap(dst, 10, 10);
    dst.Canvas()->Brush()->SetColor(clGreen);
    dst.Canvas()->FillRect(Rect(0, 0, 10, 10));
    il.Draw(dst.Canvas(), 2, 3, 1);
    QImage img = dst.Image();
    EXPECT_EQ(PixelAt(img, 2, 3), clBlue);
    EXPECT_EQ(PixelAt(img, 3, 4), clGreen); // the masked pixel shows the background
    EXPECT_EQ(PixelAt(img, 6, 3), clGreen);

    TBitmap out;
    EXPECT_TRUE(il.GetBitmap(0, &out));
    EXPECT_EQ(PixelAt(out.Image(), 0, 0), clRed);
    EXPECT_FALSE(il.GetBitmap(7, &out));
    il.Delete(0);
    EXPECT_EQ(il.Count(), 2);
    il.SetWidth(8);
    EXPECT_EQ(il.Count(), 0);
}

} // namespace
