// Glyphs and bars: LED and percent bars, arrows, check boxes, radio buttons, group bars.
#include <gtest/gtest.h>

#include "Gwcommon.h"
#include "gw_support.h"

namespace {

const TColor Bar = clRed, Back = clBlue;

// Within a gradient step of the colour.
bool Near(TColor a, TColor b) {
    const COLORREF x = COLORREF(a), y = COLORREF(b);
    return std::abs(GetRValue(x) - GetRValue(y)) <= 16 && std::abs(GetGValue(x) - GetGValue(y)) <= 16 &&
           std::abs(GetBValue(x) - GetBValue(y)) <= 16;
}

int CountColumns(TPaper& p, int y, int w, TColor c) {
    int n = 0;
    for (int x = 0; x < w; ++x)
        n += p.At(x, y) == c;
    return n;
}

TEST(GwGlyphs, LedBarOfEightyPixelsUsesTenSegmentsOfEight) {
    TPaper p(80, 6);
    DrawLEDBar(p.Canvas(), TRect(0, 0, 80, 6), {}, Bar, Back, 20, 50);
    // Five lit segments of 8 pixels, each framed by the back-coloured pen: 6 red columns each.
    EXPECT_EQ(CountColumns(p, 3, 80, Bar), 5 * 6);
    EXPECT_EQ(p.At(41, 3), Back) << "the sixth segment is unlit";
}

TEST(GwGlyphs, LedBarAtZeroDrawsEverySegmentInBackColour) {
    TPaper p(80, 6);
    DrawLEDBar(p.Canvas(), TRect(0, 0, 80, 6), {}, Bar, Back, 10, 0);
    EXPECT_EQ(CountColumns(p, 3, 80, Bar), 0);
    EXPECT_EQ(CountColumns(p, 3, 80, Back), 80);
    TPaper t(80, 6);
    DrawLEDBar(t.Canvas(), TRect(0, 0, 80, 6), {orHorizontal, true}, Bar, Back, 10, 0);
    EXPECT_EQ(CountColumns(t, 3, 80, clWhite), 80) << "transparent: nothing at all";
}

TEST(GwGlyphs, VerticalLedBarFillsFromTheBottom) {
    TPaper p(6, 80);
    DrawLEDBar(p.Canvas(), TRect(0, 0, 6, 80), {orVertical, false}, Bar, Back, 10, 30);
    EXPECT_EQ(p.At(3, 76), Bar);
    EXPECT_EQ(p.At(3, 3), Back);
}

TEST(GwGlyphs, LedBarWithoutSegmentsOrWithTooMuchPercentStaysSound) {
    // No segments used to divide by zero; more than 100 percent lit segments past the bar's end.
    TPaper p(40, 6);
    DrawLEDBar(p.Canvas(), TRect(0, 0, 40, 6), {}, Bar, Back, 0, 50);
    EXPECT_EQ(CountColumns(p, 3, 40, Back), 40);
    TPaper q(40, 6);
    DrawLEDBar(q.Canvas(), TRect(0, 0, 40, 6), {}, Bar, Back, 4, 250);
    EXPECT_EQ(CountColumns(q, 3, 40, Bar), 4 * 8);
    EXPECT_EQ(q.At(0, 3), Back);
}

TEST(GwGlyphs, PercentBarSplitsAtThePercentage) {
    TPaper p(100, 12);
    DrawPercentBar(p.Canvas(), TRect(0, 0, 100, 12), {}, Bar, Back, 30, false);
    EXPECT_EQ(p.At(29, 6), Bar);
    EXPECT_EQ(p.At(30, 6), Back);
    TPaper full(100, 12);
    DrawPercentBar(full.Canvas(), TRect(0, 0, 100, 12), {}, Bar, Back, 150, false);
    EXPECT_EQ(CountColumns(full, 6, 100, Bar), 100);
}

TEST(GwGlyphs, PercentTextIsCentredBetweenLeftAndRight) {
    // The text's centre used to be half the right edge, off the bar when it does not start at 0.
    TPaper p(200, 20);
    DrawPercentBar(p.Canvas(), TRect(100, 0, 200, 20), {}, clBlack, clWhite, 0, true);
    int l = 200, r = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 200; ++x)
            if (p.At(x, y) == clBlack) {
                l = std::min(l, x);
                r = std::max(r, x);
            }
    ASSERT_LE(l, r) << "the text was drawn";
    EXPECT_GE(l, 100);
    EXPECT_NEAR((l + r) / 2.0, 150, 3);
}

TEST(GwGlyphs, DropDownArrowIsATriangleMovedWhenDown) {
    TPaper p(16, 16);
    DrawDropDownArrow(p.Canvas(), TRect(0, 0, 15, 15), uiWindows95, {});
    // Centre (7, 7), tip at y 9, rows 7 pixels wide at y 6.
    EXPECT_EQ(p.At(7, 9), clBlack);
    EXPECT_EQ(p.Row(6, 3, 11), "FFFFFF 000000 000000 000000 000000 000000 000000 000000 FFFFFF");
    TPaper d(16, 16);
    DrawDropDownArrow(d.Canvas(), TRect(0, 0, 15, 15), uiWindows95, {true, false});
    EXPECT_EQ(d.At(8, 10), ColorToRGB(clBtnShadow)) << "disabled colour, one right and down";
    EXPECT_EQ(d.At(7, 10), clWhite);
}

TEST(GwGlyphs, SpinArrowPointsItsWay) {
    TPaper up(16, 16);
    DrawSpinArrow(up.Canvas(), TRect(0, 0, 15, 15), uiWindows95, dirUp, {});
    EXPECT_EQ(up.At(7, 5), clBlack) << "tip on top";
    EXPECT_EQ(up.At(4, 8), clBlack);
    EXPECT_EQ(up.At(4, 5), clWhite);
    TPaper right(16, 16);
    DrawSpinArrow(right.Canvas(), TRect(0, 0, 15, 15), uiWindows95, dirRight, {});
    EXPECT_EQ(right.At(8, 7), clBlack) << "tip on the right";
    EXPECT_EQ(right.At(5, 4), clBlack);
    EXPECT_EQ(right.At(8, 4), clWhite);
}

TEST(GwGlyphs, CheckBoxStates) {
    TGwGlyphColors k;
    k.FrameColor = clBlack;
    k.FillColor = clWhite;
    k.HighlightColor = clRed;
    TPaper grayed(13, 13);
    DrawCheckBox(grayed.Canvas(), TRect(0, 0, 13, 13), cbGrayed, k);
    EXPECT_EQ(grayed.At(0, 6), clBlack);
    EXPECT_EQ(grayed.At(2, 6), clWhite);
    EXPECT_EQ(grayed.At(3, 3), clRed) << "a square two inside the box";
    EXPECT_EQ(grayed.At(9, 9), clRed);
    EXPECT_EQ(grayed.At(10, 10), clWhite);
    TPaper checked(13, 13);
    DrawCheckBox(checked.Canvas(), TRect(0, 0, 13, 13), cbChecked, k);
    EXPECT_EQ(checked.At(3, 5), clRed);
    EXPECT_EQ(checked.At(9, 3), clRed);
    EXPECT_EQ(checked.At(6, 5), clWhite);
    k.DisplayState = bdsDisabled;
    k.DisabledColor = clSilver;
    TPaper disabled(13, 13);
    DrawCheckBox(disabled.Canvas(), TRect(0, 0, 13, 13), cbChecked, k);
    EXPECT_EQ(disabled.At(6, 5), clSilver);
    EXPECT_EQ(disabled.At(3, 5), ColorToRGB(clBtnShadow));
}

TEST(GwGlyphs, RadioButtonIsACircleWithADot) {
    TGwGlyphColors k;
    k.FrameColor = clBlack;
    k.FillColor = clWhite;
    k.HighlightColor = clRed;
    TPaper p(13, 13);
    DrawRadioButton(p.Canvas(), TRect(0, 0, 13, 13), true, k, clLime, false, clNone);
    EXPECT_EQ(p.At(0, 0), clLime) << "outside the circle";
    EXPECT_EQ(p.At(4, 1), clBlack) << "end of a straight run";
    EXPECT_EQ(p.At(6, 6), clRed);
    EXPECT_EQ(p.At(6, 3), clWhite);
}

TEST(GwGlyphs, GroupBarBackgroundOnlyInGradientStyle) {
    TPaper classic(20, 20);
    DrawGroupBarBackground(classic.Canvas(), TRect(0, 0, 20, 20), vsClassic, gcsCustom, gpTopToBottom, clRed,
                           clBlue);
    EXPECT_EQ(classic.At(10, 10), clWhite);
    TPaper gradient(20, 20);
    DrawGroupBarBackground(gradient.Canvas(), TRect(0, 0, 20, 20), vsGradient, gcsCustom, gpTopToBottom,
                           clRed, clBlue);
    EXPECT_TRUE(Near(gradient.At(10, 0), clRed));
    EXPECT_TRUE(Near(gradient.At(10, 19), clBlue));
    TPaper up(20, 20);
    DrawGroupBarBackground(up.Canvas(), TRect(0, 0, 20, 20), vsGradient, gcsCustom, gpBottomToTop, clRed,
                           clBlue);
    EXPECT_TRUE(Near(up.At(10, 0), clBlue));
}

} // namespace
