// GDI pixel rules of TCanvas on a bitmap: boxes, lines, figures, text cells, raster operations,
// clipping and saved states.
#include <gtest/gtest.h>

#include <QFontMetrics>

#include <functional>
#include <set>

#include "gfx_support.h"
#include "wingdi.h"

namespace {

struct RectCase {
    TRect r;
};

TEST(CanvasPixels, FillRectCoversTheHalfOpenBox) {
    const TRect cases[] = {{2, 3, 7, 9}, {0, 0, 1, 1},   {5, 5, 5, 9},
                           {8, 2, 3, 6}, {0, 0, 20, 20}, {-4, -4, 3, 2}};
    for (const TRect& r : cases) {
        TBitmap b;
        WhiteBitmap(b, 20, 20);
        b.Canvas()->Brush()->SetColor(clRed);
        b.Canvas()->FillRect(r);
        TRect expect;
        IntersectRect(expect, r, Rect(0, 0, 20, 20));
        EXPECT_EQ(InkBox(b.Image(), clWhite), expect)
            << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
        EXPECT_EQ(CountColor(b.Image(), clRed), expect.Width() * expect.Height());
    }
}

TEST(CanvasPixels, RectangleOutlineAndFillStayInsideTheBox) {
    TBitmap b;
    WhiteBitmap(b, 20, 20);
    TCanvas* c = b.Canvas();
    c->Pen()->SetColor(clBlue);
    c->Brush()->SetColor(clLime);
    c->Rectangle(3, 4, 10, 12);
    QImage img = b.Image();
    EXPECT_EQ(InkBox(img, clWhite), Rect(3, 4, 10, 12));
    struct {
        int x, y;
        TColor c;
    } probes[] = {{3, 4, clBlue}, {9, 4, clBlue},  {3, 11, clBlue},  {9, 11, clBlue},
                  {6, 4, clBlue}, {3, 7, clBlue},  {9, 7, clBlue},   {6, 11, clBlue},
                  {4, 5, clLime}, {8, 10, clLime}, {10, 7, clWhite}, {6, 12, clWhite}};
    for (auto& p : probes)
        EXPECT_EQ(PixelAt(img, p.x, p.y), p.c) << p.x << "," << p.y;
    EXPECT_EQ(CountColor(img, clLime), 5 * 6);
}

TEST(CanvasPixels, RectangleWithoutPenFillsOnePixelLess) {
    TBitmap b;
    WhiteBitmap(b, 20, 20);
    TCanvas* c = b.Canvas();
    c->Pen()->SetStyle(psClear);
    c->Brush()->SetColor(clRed);
    c->Rectangle(2, 2, 8, 6);
    EXPECT_EQ(InkBox(b.Image(), clWhite), Rect(2, 2, 7, 5));
}

TEST(CanvasPixels, LineToLeavesItsEndPoint) {
    struct {
        TPoint from, to;
    } cases[] = {{{2, 5}, {12, 5}},  {{12, 6}, {2, 6}}, {{4, 1}, {4, 15}}, {{5, 15}, {5, 1}},
                 {{1, 1}, {11, 11}}, {{14, 2}, {3, 9}}, {{6, 6}, {6, 6}}};
    for (auto& k : cases) {
        TBitmap b;
        WhiteBitmap(b, 20, 20);
        TCanvas* c = b.Canvas();
        c->MoveTo(k.from.x, k.from.y);
        c->LineTo(k.to.x, k.to.y);
        QImage img = b.Image();
        int steps = std::max(std::abs(k.to.x - k.from.x), std::abs(k.to.y - k.from.y));
        EXPECT_EQ(CountColor(img, clBlack), steps)
            << k.from.x << "," << k.from.y << " -> " << k.to.x << "," << k.to.y;
        if (steps) {
            EXPECT_EQ(PixelAt(img, k.from.x, k.from.y), clBlack);
            EXPECT_EQ(PixelAt(img, k.to.x, k.to.y), clWhite);
        }
        EXPECT_EQ(c->PenPos(), k.to);
    }
}

TEST(CanvasPixels, EllipseStaysInsideItsBoxAndTouchesEverySide) {
    const TRect boxes[] = {{2, 2, 18, 12}, {3, 1, 10, 19}, {0, 0, 20, 20}, {5, 5, 9, 9}};
    for (const TRect& r : boxes) {
        TBitmap b;
        WhiteBitmap(b, 20, 20);
        b.Canvas()->Brush()->SetColor(clYellow);
        b.Canvas()->Ellipse(r);
        EXPECT_EQ(InkBox(b.Image(), clWhite), r)
            << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
    }
}

TEST(CanvasPixels, PolygonFillsAlternate) {
    TBitmap b;
    WhiteBitmap(b, 41, 41);
    TCanvas* c = b.Canvas();
    c->Pen()->SetStyle(psClear);
    c->Brush()->SetColor(clRed);
    // A five-pointed star drawn in one stroke: its centre pentagon is crossed twice.
    std::vector<TPoint> star = {{20, 0}, {32, 38}, {0, 14}, {40, 14}, {8, 38}};
    c->Polygon(star);
    QImage img = b.Image();
    EXPECT_EQ(PixelAt(img, 20, 21), clWhite);
    EXPECT_EQ(PixelAt(img, 20, 6), clRed);
    EXPECT_EQ(PixelAt(img, 4, 15), clRed);
}

TEST(CanvasText, TextOutHangsFromTheTopLeftOfItsCell) {
    TBitmap b;
    WhiteBitmap(b, 60, 40);
    TCanvas* c = b.Canvas();
    c->Font()->SetColor(clBlack);
    c->Brush()->SetColor(clAqua);
    TSize ext = c->TextExtent("Wg");
    c->TextOut(10, 7, "Wg");
    QImage img = b.Image();
    // The opaque background is exactly the cell.
    EXPECT_EQ(InkBox(img, clWhite), Bounds(10, 7, ext.cx, ext.cy));
    EXPECT_EQ(PixelAt(img, 10, 7), clAqua);
    EXPECT_GT(CountColor(img, clBlack), 10);
    EXPECT_EQ(c->PenPos(), Point(10 + ext.cx, 7));
}

// Widths measured once are kept per font: each font, met again, still gets its own width, the one
// Qt measures for it.
TEST(CanvasText, WidthsFollowEveryFontChange) {
    TBitmap b;
    WhiteBitmap(b, 10, 10);
    TCanvas* c = b.Canvas();
    const std::function<void(TFont*)> fonts[] = {
        [](TFont*) {},
        [](TFont* f) { f->SetSize(16); },
        [](TFont* f) { f->SetStyle(TFontStyles{fsBold}); },
        [](TFont* f) {
            f->SetStyle(TFontStyles{fsItalic, fsUnderline});
        },
        [](TFont* f) { f->SetName("Courier New"); },
        [](TFont* f) { f->SetName("Times New Roman"); },
    };
    std::set<int> widths;
    for (int round = 0; round < 2; ++round)
        for (size_t i = 0; i < std::size(fonts); ++i) {
            TFont plain;
            c->Font()->Assign(plain);
            fonts[i](c->Font());
            const int w = c->TextWidth("Wide wig 10");
            EXPECT_EQ(w, QFontMetrics(c->Font()->QtFont()).horizontalAdvance(QStringLiteral("Wide wig 10")))
                << "font " << i << ", round " << round;
            EXPECT_EQ(c->TextExtent("Wide wig 10").cx, w);
            widths.insert(w);
        }
    EXPECT_GE(widths.size(), 4u);
}

TEST(CanvasText, SetTextAlignMovesTheReferencePoint) {
    struct {
        unsigned align;
        int expectRightAtMost, expectBottomAtMost;
    } cases[] = {{TA_RIGHT | TA_TOP, 30, 99}, {TA_LEFT | TA_BOTTOM, 99, 20}, {TA_LEFT | TA_BASELINE, 99, 21}};
    for (auto& k : cases) {
        TBitmap b;
        WhiteBitmap(b, 80, 50);
        TCanvas* c = b.Canvas();
        c->Brush()->SetStyle(bsClear);
        EXPECT_EQ(SetTextAlign(c->Handle(), k.align), unsigned(TA_LEFT | TA_TOP));
        c->TextOut(30, 20, "Hx");
        TRect ink = InkBox(b.Image(), clWhite);
        ASSERT_FALSE(ink.IsEmpty());
        EXPECT_LE(ink.Right, k.expectRightAtMost);
        EXPECT_LE(ink.Bottom, k.expectBottomAtMost);
        if ((k.align & TA_BASELINE) == TA_BASELINE) {
            EXPECT_GE(ink.Bottom, 19); // "H" sits on the baseline
        }
    }
}

// TextRect places its text by the same reference point (a percent bar centres its figure so), and
// clips it to the box, whose background it fills unless the brush is clear.
// A parent painting into a child's context through a canvas of its own: after RestoreDC the
// child's text is in the child's font again.
TEST(CanvasText, RestoreDCTakesBackTheFontAnotherCanvasSelected) {
    TBitmap b, ref;
    WhiteBitmap(b, 200, 60);
    WhiteBitmap(ref, 200, 60);
    for (TBitmap* m : {&b, &ref}) {
        m->Canvas()->Brush()->SetStyle(bsClear);
        m->Canvas()->Font()->SetHeight(-30);
    }
    ref.Canvas()->TextOut(0, 0, "Hg");
    TCanvas* c = b.Canvas();
    c->TextOut(100, 0, "x"); // the big font is selected now
    int saved = c->SaveDC();
    TCanvas parent;
    BindPainter(&parent, CanvasPainter(c));
    parent.Font()->SetHeight(-8);
    parent.Brush()->SetStyle(bsClear);
    parent.TextOut(100, 40, "p");
    BindPainter(&parent, nullptr);
    ASSERT_TRUE(c->RestoreDC(saved));
    c->TextOut(0, 0, "Hg");
    EXPECT_EQ(InkBox(b.Image().copy(0, 0, 100, 60), clWhite),
              InkBox(ref.Image().copy(0, 0, 100, 60), clWhite));
}

TEST(CanvasText, TextRectHonoursTheTextAlignment) {
    TBitmap b;
    WhiteBitmap(b, 100, 30);
    TCanvas* c = b.Canvas();
    c->Brush()->SetColor(clYellow);
    SetTextAlign(c->Handle(), TA_CENTER);
    c->TextRect(Rect(10, 0, 90, 30), 50, 5, "50%");
    QImage img = b.Image();
    EXPECT_EQ(PixelAt(img, 10, 0), clYellow);
    EXPECT_EQ(PixelAt(img, 9, 0), clWhite);
    TRect ink = InkBox(img.copy(10, 0, 80, 30), clYellow);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_NEAR(10 + (ink.Left + ink.Right) / 2.0, 50.0, 2.0);
    // Right-aligned at the box's left edge: all of it falls outside and is clipped.
    SetTextAlign(c->Handle(), TA_RIGHT);
    c->TextRect(Rect(10, 0, 90, 30), 10, 5, "50%");
    EXPECT_TRUE(InkBox(b.Image().copy(10, 0, 80, 30), clYellow).IsEmpty());
}

TEST(CanvasText, DrawTextFlags) {
    TBitmap b;
    WhiteBitmap(b, 100, 100);
    TCanvas* c = b.Canvas();
    int h = c->TextHeight("Ag");

    TRect calc(0, 0, 60, 0);
    int one = c->DrawText("word", calc, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(one, h);
    EXPECT_EQ(calc.Right, c->TextWidth("word"));

    calc = TRect(0, 0, 5 * c->TextWidth("word "), 0);
    int three =
        c->DrawText("word word word word word word word word word word", calc, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_GE(three, 2 * h);
    EXPECT_EQ(calc.Bottom, three);
    EXPECT_LE(calc.Right, 5 * c->TextWidth("word "));

    TRect two(0, 0, 100, 0);
    EXPECT_EQ(c->DrawText("a\r\nb", two, DT_CALCRECT), 2 * h);
    TRect empty(3, 4, 50, 50);
    EXPECT_EQ(c->DrawText("", empty, DT_CALCRECT), 0);
    EXPECT_EQ(empty, Rect(3, 4, 3, 4));

    // Tabs stop every 8 average characters; text before the first tab starts at 0.
    TEXTMETRIC tm;
    ASSERT_TRUE(GetTextMetrics(c->Handle(), &tm));
    const int stop = 8 * tm.tmAveCharWidth;
    struct TabCase {
        const char* text;
        int width;
    } tabs[] = {{"i\tW", stop + c->TextWidth("W")},
                {"\tW", stop + c->TextWidth("W")},
                {"i\t\tW", 2 * stop + c->TextWidth("W")}};
    for (const TabCase& k : tabs) {
        TRect t(0, 0, 500, 0);
        c->DrawText(k.text, t, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
        EXPECT_EQ(t.Right, k.width) << k.text;
    }

    // 0x455 (centred, word break) measures the prefix-free text.
    TRect pre(0, 0, 100, 0);
    c->DrawText("&File", pre, 0x455);
    EXPECT_EQ(pre.Right, c->TextWidth("File"));

    // Centred single line: ink centred in the box, clipped to it.
    c->Brush()->SetStyle(bsClear);
    TRect box(10, 10, 90, 50);
    c->DrawText("X", box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    TRect ink = InkBox(b.Image(), clWhite);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_NEAR((ink.Left + ink.Right) / 2.0, 50.0, 2.0);
    EXPECT_NEAR((ink.Top + ink.Bottom) / 2.0, 30.0, 3.0);
}

TEST(CanvasText, PrefixUnderlinesTheMarkedLetter) {
    TBitmap a, b;
    WhiteBitmap(a, 80, 30);
    WhiteBitmap(b, 80, 30);
    for (TBitmap* m : {&a, &b})
        m->Canvas()->Brush()->SetStyle(bsClear);
    TRect r(0, 0, 80, 30);
    a.Canvas()->DrawText("&File", r, DT_SINGLELINE);
    b.Canvas()->DrawText("&File", r, DT_SINGLELINE | DT_NOPREFIX);
    TRect r2 = r;
    TBitmap plain;
    WhiteBitmap(plain, 80, 30);
    plain.Canvas()->Brush()->SetStyle(bsClear);
    plain.Canvas()->DrawText("File", r2, DT_SINGLELINE);
    // Underlined: the plain text's ink plus a line below the first letter only.
    EXPECT_GT(CountColor(a.Image(), clBlack), CountColor(plain.Image(), clBlack));
    EXPECT_GT(InkBox(b.Image(), clWhite).Width(), InkBox(plain.Image(), clWhite).Width());
}

TEST(CanvasPens, MixModes) {
    struct {
        TPenMode mode;
        TColor pen, before, after;
    } cases[] = {{pmCopy, clRed, clWhite, clRed},           {pmNot, clRed, clWhite, clBlack},
                 {pmXor, clRed, clWhite, TColor(0xFFFF00)}, {pmNotXor, clRed, clWhite, clRed},
                 {pmMask, clRed, clYellow, clRed},          {pmMerge, clRed, clBlue, clFuchsia},
                 {pmNop, clRed, clGreen, clGreen},          {pmBlack, clRed, clWhite, clBlack},
                 {pmWhite, clRed, clBlack, clWhite},        {pmNotCopy, clRed, clWhite, TColor(0xFFFF00)}};
    for (auto& k : cases) {
        TBitmap b;
        WhiteBitmap(b, 10, 10);
        TCanvas* c = b.Canvas();
        c->Brush()->SetColor(k.before);
        c->FillRect(Rect(0, 0, 10, 10));
        c->Pen()->SetColor(k.pen);
        c->Pen()->SetMode(k.mode);
        c->MoveTo(0, 5);
        c->LineTo(10, 5);
        EXPECT_EQ(PixelAt(b.Image(), 3, 5), k.after) << "mode " << int(k.mode);
        EXPECT_EQ(PixelAt(b.Image(), 3, 4), k.before);
    }
}

TEST(CanvasPens, XorTwiceRestoresThePicture) {
    TBitmap b;
    WhiteBitmap(b, 30, 30);
    TCanvas* c = b.Canvas();
    c->Brush()->SetColor(clTeal);
    c->FillRect(Rect(5, 5, 25, 25));
    QImage before = b.Image().copy();
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetColor(clWhite);
    c->Brush()->SetStyle(bsClear);
    for (int i = 0; i < 2; ++i) {
        c->MoveTo(0, 0);
        c->LineTo(29, 17);
        c->Rectangle(2, 2, 28, 28);
        c->DrawFocusRect(Rect(1, 1, 20, 20));
    }
    EXPECT_TRUE(b.Image() == before);
}

TEST(CanvasBlt, RasterOperations) {
    const TColor dst = TColor(0x00F0AA55), src = TColor(0x0033CC0F), pat = TColor(0x000F0F0F);
    auto rgb = [](TColor c) { return std::uint32_t(c) & 0xFFFFFF; };
    struct {
        std::uint32_t rop;
        std::uint32_t expect;
    } cases[] = {
        {SRCCOPY, rgb(src)},
        {SRCINVERT, rgb(src) ^ rgb(dst)},
        {SRCAND, rgb(src) & rgb(dst)},
        {SRCPAINT, rgb(src) | rgb(dst)},
        {DSTINVERT, ~rgb(dst) & 0xFFFFFF},
        {PATINVERT, rgb(pat) ^ rgb(dst)},
        {PATCOPY, rgb(pat)},
        {NOTSRCCOPY, ~rgb(src) & 0xFFFFFF},
        {BLACKNESS, 0},
        {WHITENESS, 0xFFFFFF},
    };
    for (auto& k : cases) {
        TBitmap s, d;
        WhiteBitmap(s, 8, 8);
        WhiteBitmap(d, 8, 8);
        s.Canvas()->Brush()->SetColor(src);
        s.Canvas()->FillRect(Rect(0, 0, 8, 8));
        d.Canvas()->Brush()->SetColor(dst);
        d.Canvas()->FillRect(Rect(0, 0, 8, 8));
        d.Canvas()->Brush()->SetColor(pat);
        EXPECT_TRUE(BitBlt(d.Canvas()->Handle(), 2, 2, 4, 4, s.Canvas()->Handle(), 0, 0, k.rop));
        EXPECT_EQ(std::uint32_t(PixelAt(d.Image(), 3, 3)), k.expect) << std::hex << k.rop;
        EXPECT_EQ(PixelAt(d.Image(), 1, 1), dst) << std::hex << k.rop;
        EXPECT_EQ(PixelAt(d.Image(), 6, 6), dst) << std::hex << k.rop;
    }
}

TEST(CanvasBlt, CopyWithinOneBitmapAndMirroredStretch) {
    TBitmap b;
    WhiteBitmap(b, 16, 8);
    TCanvas* c = b.Canvas();
    c->Pixels[0][0] = clRed;
    c->Pixels[1][0] = clBlue;
    // Doubling copy, as gradient painting does: the source overlaps the destination's image.
    EXPECT_TRUE(BitBlt(c->Handle(), 2, 0, 2, 1, c->Handle(), 0, 0, SRCCOPY));
    EXPECT_EQ(TColor(c->Pixels[2][0]), clRed);
    EXPECT_EQ(TColor(c->Pixels[3][0]), clBlue);
    // A negative width mirrors; the start column is inside, so (x + w - 1, -w) covers [x, x + w).
    EXPECT_TRUE(StretchBlt(c->Handle(), 9, 2, -2, 1, c->Handle(), 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(TColor(c->Pixels[9][2]), clRed);
    EXPECT_EQ(TColor(c->Pixels[8][2]), clBlue);
    EXPECT_EQ(TColor(c->Pixels[7][2]), clWhite);
    EXPECT_EQ(TColor(c->Pixels[10][2]), clWhite);
    EXPECT_EQ(TColor(c->Pixels[40][2]), TColor(-1));
}

TEST(CanvasClip, RegionsRectanglesAndSavedStates) {
    TBitmap b;
    WhiteBitmap(b, 30, 30);
    TCanvas* c = b.Canvas();
    HDC dc = c->Handle();
    c->Brush()->SetColor(clRed);

    int saved = SaveDC(dc);
    EXPECT_EQ(IntersectClipRect(dc, 5, 5, 15, 15), SIMPLEREGION);
    EXPECT_EQ(ExcludeClipRect(dc, 5, 5, 10, 10), COMPLEXREGION);
    c->FillRect(Rect(0, 0, 30, 30));
    EXPECT_EQ(CountColor(b.Image(), clRed), 100 - 25);
    EXPECT_EQ(PixelAt(b.Image(), 7, 7), clWhite);
    EXPECT_TRUE(RestoreDC(dc, saved));

    c->Brush()->SetColor(clBlue);
    HRGN rgn = CreateRectRgn(20, 20, 25, 30);
    HRGN other = CreateRectRgn(0, 0, 2, 2);
    EXPECT_EQ(CombineRgn(rgn, rgn, other, RGN_OR), COMPLEXREGION);
    EXPECT_EQ(SelectClipRgn(dc, rgn), COMPLEXREGION);
    DeleteObject(rgn);
    DeleteObject(other);
    c->FillRect(Rect(0, 0, 30, 30));
    EXPECT_EQ(CountColor(b.Image(), clBlue), 50 + 4);
    EXPECT_EQ(SelectClipRgn(dc, nullptr), SIMPLEREGION);
    c->FillRect(Rect(0, 0, 30, 30));
    EXPECT_EQ(CountColor(b.Image(), clBlue), 900);
    EXPECT_FALSE(RestoreDC(dc, saved));
}

TEST(CanvasEdges, Frame3DAndDrawEdgeColourTheirCorners) {
    TBitmap b;
    WhiteBitmap(b, 20, 20);
    TCanvas* c = b.Canvas();
    TRect r(2, 2, 12, 10);
    Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
    EXPECT_EQ(r, Rect(3, 3, 11, 9));
    QImage img = b.Image();
    const TColor hi = ColorToRGB(clBtnHighlight), sh = ColorToRGB(clBtnShadow);
    EXPECT_EQ(PixelAt(img, 2, 2), hi);
    EXPECT_EQ(PixelAt(img, 11, 2), sh); // top-right corner belongs to the dark side
    EXPECT_EQ(PixelAt(img, 2, 9), sh);  // and so does the bottom-left one
    EXPECT_EQ(PixelAt(img, 11, 9), sh);
    EXPECT_EQ(PixelAt(img, 5, 5), clWhite);

    TBitmap e;
    WhiteBitmap(e, 20, 20);
    TRect er(0, 0, 10, 10);
    EXPECT_TRUE(DrawEdge(e.Canvas()->Handle(), &er, EDGE_RAISED, BF_RECT | BF_ADJUST | BF_MIDDLE));
    EXPECT_EQ(er, Rect(2, 2, 8, 8));
    QImage ei = e.Image();
    EXPECT_EQ(PixelAt(ei, 0, 0), ColorToRGB(cl3DLight));
    EXPECT_EQ(PixelAt(ei, 9, 9), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(PixelAt(ei, 1, 1), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(PixelAt(ei, 8, 8), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelAt(ei, 5, 5), ColorToRGB(clBtnFace));
}

TEST(CanvasBitmap, TransparentDrawKeepsTheKeyColourPixels) {
    TBitmap src, dst;
    WhiteBitmap(src, 4, 4);
    WhiteBitmap(dst, 4, 4);
    src.Canvas()->Brush()->SetColor(clFuchsia);
    src.Canvas()->FillRect(Rect(0, 0, 4, 4));
    src.Canvas()->Pixels[1][1] = clNavy;
    src.SetTransparent(true);
    EXPECT_EQ(src.TransparentColor(), clFuchsia); // the bottom-left pixel
    dst.Canvas()->Brush()->SetColor(clGreen);
    dst.Canvas()->FillRect(Rect(0, 0, 4, 4));
    dst.Canvas()->Draw(0, 0, &src);
    EXPECT_EQ(PixelAt(dst.Image(), 1, 1), clNavy);
    EXPECT_EQ(PixelAt(dst.Image(), 2, 2), clGreen);
}

// A bitmap drawn onto its own canvas lands as the picture was before the draw, however the two
// overlap, and a later change to the bitmap leaves what another canvas got from it alone.
TEST(CanvasBitmap, DrawnOntoItselfOrElsewhereCopiesThePictureAsItWas) {
    const int W = 64, H = 3;
    auto shade = [](int x, int y) { return TColor(RGB(x * 3, y * 50, 7)); };
    for (TPoint shift : {TPoint(1, 0), TPoint(-1, 0), TPoint(0, 1), TPoint(5, -1)}) {
        TBitmap b;
        WhiteBitmap(b, W, H);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                b.Canvas()->Pixels[x][y] = shade(x, y);
        b.Canvas()->Draw(shift.x, shift.y, &b);
        int wrong = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                int sx = x - shift.x, sy = y - shift.y;
                bool moved = sx >= 0 && sx < W && sy >= 0 && sy < H;
                wrong += PixelAt(b.Image(), x, y) != (moved ? shade(sx, sy) : shade(x, y));
            }
        EXPECT_EQ(wrong, 0) << shift.x << "," << shift.y;
        TBitmap other;
        WhiteBitmap(other, W, H);
        other.Canvas()->Draw(0, 0, &b);
        QImage before = other.Image();
        b.Canvas()->Brush()->SetColor(clBlue);
        b.Canvas()->FillRect(Rect(0, 0, W, H));
        EXPECT_EQ(other.Image(), before);
    }
}

} // namespace

namespace {

TEST(CanvasPixels, EveryFigureStaysInsideItsBox) {
    const TRect box(3, 4, 27, 19);
    struct {
        const char* name;
        std::function<void(TCanvas*)> draw;
    } cases[] = {
        {"Rectangle", [&](TCanvas* c) { c->Rectangle(box); }},
        {"Ellipse", [&](TCanvas* c) { c->Ellipse(box); }},
        {"RoundRect", [&](TCanvas* c) { c->RoundRect(box.Left, box.Top, box.Right, box.Bottom, 8, 8); }},
        {"Pie", [&](TCanvas* c) { c->Pie(box.Left, box.Top, box.Right, box.Bottom, 27, 12, 3, 12); }},
        {"Chord", [&](TCanvas* c) { c->Chord(box.Left, box.Top, box.Right, box.Bottom, 27, 12, 3, 12); }},
        {"Arc", [&](TCanvas* c) { c->Arc(box.Left, box.Top, box.Right, box.Bottom, 27, 12, 3, 12); }},
        {"FrameRect", [&](TCanvas* c) { c->FrameRect(box); }},
    };
    for (auto& k : cases) {
        TBitmap b;
        WhiteBitmap(b, 30, 24);
        b.Canvas()->Brush()->SetColor(clRed);
        k.draw(b.Canvas());
        TRect ink = InkBox(b.Image(), clWhite);
        TRect inside;
        IntersectRect(inside, ink, box);
        EXPECT_EQ(inside, ink) << k.name;
        EXPECT_EQ(ink.Left, box.Left) << k.name;
        EXPECT_EQ(ink.Right, box.Right) << k.name;
        EXPECT_EQ(ink.Top, box.Top) << k.name;
    }
    // The upper half-figures leave the lower half empty; the full ones reach the bottom.
    TBitmap pie;
    WhiteBitmap(pie, 30, 24);
    pie.Canvas()->Pie(box.Left, box.Top, box.Right, box.Bottom, 27, 12, 3, 12);
    EXPECT_LE(InkBox(pie.Image(), clWhite).Bottom, 13);
}

TEST(CanvasPixels, HatchedBrushesPaintPatternAndBackground) {
    TBitmap b;
    WhiteBitmap(b, 24, 24);
    TCanvas* c = b.Canvas();
    c->Brush()->SetColor(clBlue);
    c->Brush()->SetStyle(bsCross);
    SetBkColor(c->Handle(), 0x00FFFF); // yellow background between the hatch lines
    c->FillRect(Rect(4, 4, 20, 20));
    QImage img = b.Image();
    EXPECT_EQ(InkBox(img, clWhite), Rect(4, 4, 20, 20));
    EXPECT_GT(CountColor(img, clBlue), 16);
    EXPECT_GT(CountColor(img, clYellow), 100);
    EXPECT_EQ(CountColor(img, clBlue) + CountColor(img, clYellow), 256);
}

TEST(CanvasText, OrientationTurnsTheText) {
    TBitmap flat, turned;
    for (TBitmap* b : {&flat, &turned}) {
        WhiteBitmap(*b, 120, 120);
        b->Canvas()->Brush()->SetStyle(bsClear);
        b->Canvas()->Font()->SetSize(12);
    }
    turned.Canvas()->Font()->SetOrientation(900);
    flat.Canvas()->TextOut(20, 60, "Поворот");
    turned.Canvas()->TextOut(20, 100, "Поворот");
    TRect f = InkBox(flat.Image(), clWhite), t = InkBox(turned.Image(), clWhite);
    EXPECT_GT(f.Width(), f.Height());
    EXPECT_GT(t.Height(), t.Width());
    EXPECT_LE(t.Bottom, 101); // reads upwards from the reference point
}

TEST(CanvasBlt, CopyRectAndStretchDraw) {
    TBitmap src, dst;
    WhiteBitmap(src, 4, 4);
    src.Canvas()->Brush()->SetColor(clRed);
    src.Canvas()->FillRect(Rect(0, 0, 2, 4));
    WhiteBitmap(dst, 20, 20);
    dst.Canvas()->StretchDraw(Rect(0, 0, 8, 8), &src);
    QImage img = dst.Image();
    EXPECT_EQ(InkBox(img, clWhite), Rect(0, 0, 4, 8));
    dst.Canvas()->SetCopyMode(TCopyMode(SRCINVERT));
    dst.Canvas()->CopyRect(Rect(10, 10, 14, 14), src.Canvas(), Rect(0, 0, 4, 4));
    img = dst.Image();
    EXPECT_EQ(PixelAt(img, 10, 10), clAqua);  // red xor white
    EXPECT_EQ(PixelAt(img, 13, 13), clBlack); // white xor white
}

} // namespace

namespace {

// A row of pixels read back from a bitmap.
std::vector<TColor> Row(const TBitmap& b, int y) {
    std::vector<TColor> out;
    QImage img = b.Image();
    for (int x = 0; x < img.width(); ++x)
        out.push_back(PixelAt(img, x, y));
    return out;
}

// The mask method of transparent bitmap drawing: a monochrome mask made from the key colour,
// the key pixels blackened through the mask, then AND with the mask and OR with the image.
TEST(CanvasBlt, MonochromeMaskDrawsAroundTheKeyColour) {
    TBitmap image, mask, target;
    WhiteBitmap(image, 4, 1);
    const TColor key = clLime;
    const TColor src[4] = {clRed, key, clBlue, key};
    for (int x = 0; x < 4; ++x)
        image.Canvas()->Pixels[x][0] = src[x];

    mask.SetMonochrome(true);
    mask.SetHeight(1);
    mask.SetWidth(4);
    ASSERT_EQ(mask.Width(), 4); // height first, then width, on an empty bitmap
    ASSERT_EQ(mask.Height(), 1);
    SetBkColor(image.Canvas()->Handle(), COLORREF(key));
    ASSERT_TRUE(BitBlt(mask.Canvas()->Handle(), 0, 0, 4, 1, image.Canvas()->Handle(), 0, 0, SRCCOPY));
    EXPECT_EQ(Row(mask, 0), (std::vector<TColor>{clBlack, clWhite, clBlack, clWhite}));

    SetBkColor(image.Canvas()->Handle(), 0);
    SetTextColor(image.Canvas()->Handle(), 0xFFFFFF);
    ASSERT_TRUE(BitBlt(image.Canvas()->Handle(), 0, 0, 4, 1, mask.Canvas()->Handle(), 0, 0, SRCAND));
    EXPECT_EQ(Row(image, 0), (std::vector<TColor>{clRed, clBlack, clBlue, clBlack}));

    WhiteBitmap(target, 4, 1);
    target.Canvas()->Pixels[1][0] = clYellow;
    target.Canvas()->SetCopyMode(cmSrcAnd);
    target.Canvas()->CopyRect(Rect(0, 0, 4, 1), mask.Canvas(), Rect(0, 0, 4, 1));
    target.Canvas()->SetCopyMode(cmSrcPaint);
    target.Canvas()->CopyRect(Rect(0, 0, 4, 1), image.Canvas(), Rect(0, 0, 4, 1));
    EXPECT_EQ(Row(target, 0), (std::vector<TColor>{clRed, clYellow, clBlue, clWhite}));

    // The same picture, stretched twice as wide, through the mask in one call.
    TBitmap wide;
    WhiteBitmap(wide, 8, 1);
    wide.Canvas()->Pixels[2][0] = clYellow;
    ASSERT_TRUE(TransparentStretchBlt(wide.Canvas()->Handle(), 0, 0, 8, 1, image.Canvas()->Handle(), 0, 0, 4,
                                      1, mask.Canvas()->Handle(), 0, 0));
    EXPECT_EQ(Row(wide, 0),
              (std::vector<TColor>{clRed, clRed, clYellow, clWhite, clBlue, clBlue, clWhite, clWhite}));

    // Turning a colour bitmap monochrome keeps only white.
    image.SetMonochrome(true);
    EXPECT_EQ(Row(image, 0), (std::vector<TColor>{clBlack, clBlack, clBlack, clBlack}));
}

// Mirroring a quarter into the rest of a box with negative extents that start on the last row or
// column, as box gradients do: every pixel of the box is reached.
TEST(CanvasBlt, MirroredQuartersFillTheWholeBox) {
    TBitmap b;
    WhiteBitmap(b, 4, 4);
    TCanvas* c = b.Canvas();
    const TColor q[2][2] = {{clRed, clBlue}, {clLime, clNavy}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            c->Pixels[x][y] = q[y][x];
    ASSERT_TRUE(StretchBlt(c->Handle(), 0, 3, 2, -2, c->Handle(), 0, 0, 2, 2, SRCCOPY));
    ASSERT_TRUE(StretchBlt(c->Handle(), 3, 0, -2, 4, c->Handle(), 0, 0, 2, 4, SRCCOPY));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            int qy = y < 2 ? y : 3 - y, qx = x < 2 ? x : 3 - x;
            EXPECT_EQ(TColor(c->Pixels[x][y]), q[qy][qx]) << x << "," << y;
        }
}

// Painting a parent into a child's context: the origin moves, the clip stays on the device, and
// RestoreDC brings both back.
TEST(CanvasClip, ViewportOriginMovesDrawingNotTheClip) {
    TBitmap b;
    WhiteBitmap(b, 10, 10);
    TCanvas* c = b.Canvas();
    HDC dc = c->Handle();
    int saved = SaveDC(dc);
    TPoint old(7, 7);
    ASSERT_TRUE(OffsetViewportOrgEx(dc, 3, 2, &old));
    EXPECT_EQ(old, TPoint(0, 0));
    TPoint now;
    ASSERT_TRUE(GetViewportOrgEx(dc, &now));
    EXPECT_EQ(now, TPoint(3, 2));
    IntersectClipRect(dc, 0, 0, 4, 4); // device (3, 2)-(7, 6)
    TRect box;
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, TRect(0, 0, 4, 4));
    ASSERT_TRUE(SetViewportOrgEx(dc, 0, 0, &old));
    EXPECT_EQ(old, TPoint(3, 2));
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, TRect(3, 2, 7, 6));
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(InkBox(b.Image(), clWhite), TRect(3, 2, 7, 6));
    ASSERT_TRUE(RestoreDC(dc, saved));
    EXPECT_EQ(c->ViewportOrg(), TPoint(0, 0));
    c->Brush()->SetColor(clBlue);
    c->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(PixelAt(b.Image(), 0, 0), clBlue);
}

// Brush handles as gradient bands use them: FillRect with a handle leaves the selection; a
// selected handle fills polygons until the canvas's own brush changes; a selected handle is
// not deleted.
TEST(CanvasBrushHandles, SelectFillAndDelete) {
    TBitmap b;
    WhiteBitmap(b, 10, 4);
    TCanvas* c = b.Canvas();
    c->Pen()->SetStyle(psClear);
    HDC dc = c->Handle();
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    TRect r(0, 0, 2, 4);
    EXPECT_EQ(FillRect(dc, &r, red), 1);
    c->FillRect(Rect(2, 0, 4, 4)); // still the canvas's white brush
    EXPECT_EQ(PixelAt(b.Image(), 0, 0), clRed);
    EXPECT_EQ(PixelAt(b.Image(), 3, 0), clWhite);

    HBRUSH own = SelectObject(dc, red);
    const TPoint quad[4] = {{4, 0}, {8, 0}, {8, 4}, {4, 4}};
    EXPECT_TRUE(Polygon(dc, quad, 4));
    EXPECT_EQ(PixelAt(b.Image(), 5, 1), clRed);
    EXPECT_FALSE(DeleteObject(red)); // still selected
    EXPECT_EQ(SelectObject(dc, own), red);
    EXPECT_TRUE(DeleteObject(red));
    c->FillRect(Rect(8, 0, 10, 4));
    EXPECT_EQ(PixelAt(b.Image(), 9, 0), clWhite);

    // Changing Brush takes the canvas back to its own brush.
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    SelectObject(dc, blue);
    c->Brush()->SetColor(clLime);
    c->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(PixelAt(b.Image(), 0, 0), clLime);
    EXPECT_TRUE(DeleteObject(blue));
}

// A dotted pen draws 3 pixels on and 3 off; the gaps show the brush colour unless the brush is clear.
TEST(CanvasPens, StyledPenGapsFollowTheBackgroundMode) {
    struct Case {
        TBrushStyle brush;
        TColor gap;
    } cases[] = {{bsSolid, clWhite}, {bsClear, clYellow}};
    for (const Case& k : cases) {
        TBitmap b;
        WhiteBitmap(b, 12, 3);
        TCanvas* c = b.Canvas();
        c->Brush()->SetColor(clYellow);
        c->FillRect(Rect(0, 0, 12, 3));
        c->Brush()->SetColor(clWhite);
        c->Brush()->SetStyle(k.brush);
        c->Pen()->SetStyle(psDot);
        c->Pen()->SetColor(clRed);
        c->MoveTo(0, 1);
        c->LineTo(12, 1);
        EXPECT_EQ(Row(b, 1), (std::vector<TColor>{clRed, clRed, clRed, k.gap, k.gap, k.gap, clRed, clRed,
                                                  clRed, k.gap, k.gap, k.gap}))
            << k.brush;
        // The outline of a figure follows the same rule (an arc has no fill to hide it).
        WhiteBitmap(b, 40, 40);
        c->Brush()->SetColor(clYellow);
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(Rect(0, 0, 40, 40));
        c->Brush()->SetColor(clWhite);
        c->Brush()->SetStyle(k.brush);
        c->Arc(0, 0, 40, 40, 40, 20, 40, 20);
        EXPECT_GT(CountColor(b.Image(), clRed), 0);
        EXPECT_EQ(CountColor(b.Image(), clWhite) > 0, k.brush == bsSolid) << k.brush;
    }
}

TEST(CanvasText, TextMetricsMatchTheMeasuredCell) {
    struct Case {
        const char* face;
        bool bold;
        bool fixed;
    } cases[] = {{"Arial", false, false}, {"Courier New", true, true}, {"MS Sans Serif", false, false}};
    for (const Case& k : cases) {
        TBitmap b;
        WhiteBitmap(b, 2, 2);
        TCanvas* c = b.Canvas();
        c->Font()->SetName(k.face);
        c->Font()->SetHeight(-13);
        c->Font()->SetStyle(k.bold ? TFontStyles{fsBold} : TFontStyles{});
        TEXTMETRIC tm;
        ASSERT_TRUE(GetTextMetrics(c->Handle(), &tm));
        EXPECT_EQ(tm.tmHeight, c->TextHeight("Xy")) << k.face;
        EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight) << k.face;
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 13) << k.face;
        EXPECT_EQ(tm.tmWeight, k.bold ? 700 : 400) << k.face;
        EXPECT_EQ((tm.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0, k.fixed) << k.face;
        EXPECT_NE(tm.tmPitchAndFamily & TMPF_TRUETYPE, 0) << k.face;
        EXPECT_EQ(tm.tmCharSet, RUSSIAN_CHARSET) << k.face;
    }
}

} // namespace
