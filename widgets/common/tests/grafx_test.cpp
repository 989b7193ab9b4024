// Bitmap and gradient painting: transparency, tiling, centring, flipping, gradient bands,
// trapezoids.
#include <gtest/gtest.h>

#include "Gwgrafx.h"
#include "gw_support.h"

namespace {

// A W x H bitmap: red with a green pixel at (0, 0) and a blue one at (W-1, H-1).
void Marked(TBitmap& b, int W, int H) {
    TApplication::QtApp();
    b.SetSize(W, H);
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(TRect(0, 0, W, H));
    b.Canvas()->SetPixel(0, 0, clLime);
    b.Canvas()->SetPixel(W - 1, H - 1, clBlue);
}

TEST(GwGrafx, TransparentBitmapLeavesTheKeyColour) {
    TPaper p(10, 10);
    TBitmap b;
    Marked(b, 4, 4);
    DrawTransparentBitmap(p.Canvas(), &b, TRect(2, 2, 6, 6), TRect(0, 0, 4, 4), clRed);
    EXPECT_EQ(p.At(2, 2), clLime);
    EXPECT_EQ(p.At(5, 5), clBlue);
    EXPECT_EQ(p.At(3, 3), clWhite) << "the key colour shows the canvas";
    EXPECT_EQ(p.Canvas()->CopyMode(), cmSrcPaint);
}

TEST(GwGrafx, FullTransparentBitmapDrawsAtTheDestination) {
    // It used to draw at the canvas origin whatever the destination.
    TPaper p(10, 10);
    TBitmap b;
    Marked(b, 4, 4);
    DrawFullTransparentBitmap(p.Canvas(), &b, TRect(5, 5, 9, 9), TRect(0, 0, 4, 4), clRed);
    EXPECT_EQ(p.At(0, 0), clWhite);
    EXPECT_EQ(p.At(5, 5), clLime);
    EXPECT_EQ(p.At(8, 8), clBlue);
    EXPECT_EQ(p.At(6, 6), clWhite);
}

TEST(GwGrafx, TilingAnchorsAndCutsTheLastTiles) {
    TPaper p(10, 10);
    TBitmap b;
    Marked(b, 4, 4);
    TileBitmap(p.Canvas(), &b, TRect(1, 1, 10, 7));
    EXPECT_EQ(p.At(1, 1), clLime);
    EXPECT_EQ(p.At(5, 1), clLime);
    EXPECT_EQ(p.At(9, 5), clLime) << "third column, second row, cut";
    EXPECT_EQ(p.At(4, 4), clBlue);
    EXPECT_EQ(p.At(1, 7), clWhite);
    TPaper r(10, 10);
    TileRealizedBitmap(r.Canvas(), &b, TRect(1, 1, 10, 7));
    EXPECT_EQ(r.At(4, 4), clLime) << "anchored at the canvas origin";
    EXPECT_EQ(r.At(3, 3), clBlue);
    EXPECT_EQ(r.At(0, 0), clWhite);
}

TEST(GwGrafx, TilingAnEmptyBitmapOrFromANegativeOffsetEnds) {
    TPaper p(10, 10);
    TBitmap empty;
    TileBitmap(p.Canvas(), &empty, TRect(0, 0, 10, 10));
    TileRealizedBitmap(p.Canvas(), &empty, TRect(0, 0, 10, 10));
    TileTransparentBitmap(p.Canvas(), &empty, TRect(0, 0, 10, 10), clRed);
    EXPECT_EQ(p.At(5, 5), clWhite);
    TBitmap b;
    Marked(b, 4, 4);
    TileRealizedBitmap(p.Canvas(), &b, TRect(-3, -3, 9, 9));
    EXPECT_EQ(p.At(0, 0), clLime) << "a negative start keeps the pattern on the origin";
    EXPECT_EQ(p.At(3, 3), clBlue);
}

TEST(GwGrafx, CenterAndFlip) {
    TPaper p(10, 10);
    TBitmap b;
    Marked(b, 4, 4);
    CenterBitmap(p.Canvas(), &b, TRect(0, 0, 10, 10));
    EXPECT_EQ(p.At(3, 3), clLime);
    EXPECT_EQ(p.At(6, 6), clBlue);
    FlipBitmap(&b);
    EXPECT_EQ(b.Canvas()->GetPixel(0, 3), clLime);
    EXPECT_EQ(b.Canvas()->GetPixel(3, 0), clBlue);
}

TEST(GwGrafx, LinearGradientRunsFromStartToStop) {
    TPaper p(40, 30);
    PaintGradient(p.Canvas(), TRect(5, 5, 35, 25), gdVerticalEnd, clBlack, clWhite, 1);
    EXPECT_EQ(p.At(4, 10), clWhite);
    const int left = GetRValue(COLORREF(p.At(5, 10))), right = GetRValue(COLORREF(p.At(34, 10)));
    EXPECT_LT(left, 16);
    EXPECT_GT(right, 239);
    for (int x = 6; x < 35; ++x)
        EXPECT_GE(GetRValue(COLORREF(p.At(x, 10))), GetRValue(COLORREF(p.At(x - 1, 10)))) << x;
    EXPECT_EQ(p.At(20, 5), p.At(20, 24)) << "one strip replicated down the rectangle";
}

TEST(GwGrafx, CentreAndBoxGradientsPutStopInTheMiddle) {
    TPaper p(40, 40);
    PaintGradient(p.Canvas(), TRect(0, 0, 40, 40), gdSquareBox, clBlack, clWhite, 1);
    EXPECT_GT(GetRValue(COLORREF(p.At(19, 19))), 200);
    EXPECT_LT(GetRValue(COLORREF(p.At(0, 0))), 40);
    EXPECT_EQ(p.At(5, 20), p.At(34, 20)) << "mirrored left to right";
    TPaper c(40, 10);
    PaintGradient(c.Canvas(), TRect(0, 0, 40, 10), gdVerticalCenter, clBlack, clWhite, 1);
    EXPECT_GT(GetRValue(COLORREF(c.At(20, 5))), 200);
    EXPECT_LT(GetRValue(COLORREF(c.At(0, 5))), 16);
    EXPECT_LT(GetRValue(COLORREF(c.At(39, 5))), 40);
}

TEST(GwGrafx, DiagonalGradientCoversTheRectangle) {
    TPaper p(30, 20);
    PaintGradient(p.Canvas(), TRect(0, 0, 30, 20), gdDiagonalUp, clBlack, clWhite, 1);
    int white = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            white += p.At(x, y) == clWhite;
    EXPECT_LT(white, 10);
    EXPECT_LT(GetRValue(COLORREF(p.At(0, 19))), GetRValue(COLORREF(p.At(29, 0))));
    TPaper same(30, 20);
    PaintGradient(same.Canvas(), TRect(0, 0, 30, 20), gdDiagonalDown, clRed, clRed, 1);
    EXPECT_EQ(same.At(0, 0), clRed);
    EXPECT_EQ(same.At(29, 19), clRed);
}

TEST(GwGrafx, StepsSetTheLeastBandWidth) {
    TPaper p(64, 8);
    PaintGradient(p.Canvas(), TRect(0, 0, 64, 8), gdVerticalEnd, clBlack, clWhite, 8);
    int run = 1, shortest = 64;
    for (int x = 1; x < 64; ++x) {
        if (p.At(x, 2) == p.At(x - 1, 2)) {
            ++run;
        } else {
            shortest = std::min(shortest, run);
            run = 1;
        }
    }
    EXPECT_GE(shortest, 8);
}

TEST(GwGrafx, EmptyGradientPaintsNothing) {
    TPaper p(10, 10);
    PaintGradient(p.Canvas(), TRect(3, 3, 3, 9), gdHorizontalEnd, clBlack, clBlack, 1);
    EXPECT_EQ(p.At(3, 5), clWhite);
}

TEST(GwGrafx, Trapezoids) {
    TTrap t;
    SetTrapezoid(t, TRect(0, 0, 20, 10), 6, tsCenter, dirUp, tdLargeToSmall);
    EXPECT_EQ(t.P0, TPoint(7, 0));
    EXPECT_EQ(t.P1, TPoint(13, 0));
    EXPECT_EQ(t.P2, TPoint(20, 10));
    EXPECT_EQ(t.P3, TPoint(0, 10));
    SetTrapezoid(t, TRect(0, 0, 10, 20), 4, tsLeft, dirRight, tdLargeToSmall);
    EXPECT_EQ(t.P1, TPoint(10, 0));
    EXPECT_EQ(t.P2, TPoint(10, 4));
    EXPECT_EQ(Intersect(TPoint(0, 0), TPoint(10, 10), TPoint(0, 5), dirUp), TPoint(5, 5));
    InflateTrapezoid(t, 1);
    EXPECT_EQ(t.P0, TPoint(-1, -1));
}

} // namespace
