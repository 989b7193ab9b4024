// Colour maths: HSL conversions, shades, blends and the gradient colour sets.
#include <gtest/gtest.h>

#include "Gwcommon.h"
#include "gw_support.h"

namespace {

struct THslCase {
    const char* Name;
    TColor Color;
    int H, S, L;
};

// Cases print as their names in test lists.
void PrintTo(const THslCase& c, std::ostream* os) { *os << c.Name; }

class ColorToHslTable : public ::testing::TestWithParam<THslCase> {};

TEST_P(ColorToHslTable, GivesTheScaleValues) {
    const THslCase& c = GetParam();
    std::uint8_t h, s, l;
    ColorToHSL(c.Color, h, s, l);
    EXPECT_EQ(h, c.H);
    EXPECT_EQ(s, c.S);
    EXPECT_EQ(l, c.L);
}

INSTANTIATE_TEST_SUITE_P(Examples, ColorToHslTable,
                         ::testing::Values(THslCase{"White", clWhite, 0, 0, 240},
                                           THslCase{"Black", clBlack, 0, 0, 0},
                                           THslCase{"Red", clRed, 0, 240, 120},
                                           THslCase{"Blue", clBlue, 160, 240, 120},
                                           THslCase{"Lime", clLime, 80, 240, 120}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(GwColors, HslToColorExamples) {
    EXPECT_EQ(HSLtoColor(0, 0, 240), clWhite);
    for (int h : {0, 80, 200})
        for (int s : {0, 120, 240})
            EXPECT_EQ(HSLtoColor(std::uint8_t(h), std::uint8_t(s), 0), clBlack);
    EXPECT_EQ(HSLtoColor(239, 240, 120), clRed) << "sextant 6 behaves as sextant 0";
}

TEST(GwColors, HslToColorClampsEveryChannelBeforePacking) {
    // Luminance above the scale used to push a channel past 255 into its neighbour's byte.
    const TColor c = HSLtoColor(0, 240, 250);
    EXPECT_EQ(GetRValue(COLORREF(c)), 255);
    EXPECT_EQ(c & 0xFF000000, 0);
    EXPECT_EQ(HSLtoColor(80, 240, 255), clWhite);
}

TEST(GwColors, ShadesAndAdjustments) {
    EXPECT_EQ(LighterColor(clWhite, 10), clWhite);
    EXPECT_EQ(DarkerColor(0x3366CC, 255), clBlack);
    EXPECT_EQ(AdjustColor(clBtnFace, 0), clBtnFace) << "no amount keeps the system colour itself";
    EXPECT_EQ(AdjustColor(0x808080, -20), DarkerColor(0x808080, 20));
    EXPECT_EQ(AdjustColor(0x808080, 20), LighterColor(0x808080, 20));
    EXPECT_LT(ColorLuminance(DarkerColor(clBtnFace, 50)), ColorLuminance(clBtnFace));
}

TEST(GwColors, BlendEnds) {
    EXPECT_EQ(BlendColors(clBtnFace, clRed, 255), ColorToRGB(clBtnFace));
    EXPECT_EQ(BlendColors(clRed, clBtnShadow, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(BlendColors(clWhite, clBlack, 128), TColor(RGB(128, 128, 128)));
}

TEST(GwColors, TooCloseComparesHueThenLuminance) {
    // Hues 19 and 0 (both saturated), luminances 59 apart: close; hue 20 apart: not.
    EXPECT_TRUE(ColorsTooClose(HSLtoColor(0, 240, 120), HSLtoColor(0, 240, 61)));
    EXPECT_FALSE(ColorsTooClose(HSLtoColor(0, 240, 120), HSLtoColor(0, 240, 60)));
    std::uint8_t h1, h2, s, l;
    const TColor a = HSLtoColor(100, 240, 120), b = HSLtoColor(120, 240, 120);
    ColorToHSL(a, h1, s, l);
    ColorToHSL(b, h2, s, l);
    ASSERT_GE(std::abs(h1 - h2), 20);
    EXPECT_FALSE(ColorsTooClose(a, b));
}

TEST(GwColors, ComplementaryTurnsTheHueHalfway) {
    const TColor hue119 = TColor(RGB(0, 255, 249)), hue120 = TColor(RGB(0, 255, 255));
    ASSERT_EQ(ColorHue(hue119), 119);
    ASSERT_EQ(ColorHue(hue120), 120);
    EXPECT_EQ(ComplementaryColor(hue119, 120), HSLtoColor(239, 240, 120));
    EXPECT_EQ(ComplementaryColor(hue120, 120), HSLtoColor(0, 240, 120));
    EXPECT_EQ(ComplementaryColor(hue120), HSLtoColor(0, 240, ColorLuminance(hue120)));
}

TEST(GwColors, WithoutThemesEveryStyleTakesTheSystemColours) {
    EXPECT_FALSE(GwThemesEnabled());
    EXPECT_EQ(GetXPThemeColor(xptcEditBorder), clBtnFace);
    EXPECT_TRUE(FullColorSupported);
    for (TGwGradientColorStyle s : {gcsSystem, gcsMSOffice, gcsCustom}) {
        const TGwSelectionColors sel = GetGradientSelectionColors(s);
        EXPECT_EQ(sel.Frame, clHighlight);
        EXPECT_EQ(sel.Stop, BlendColors(clHighlight, clWindow, 77));
        EXPECT_EQ(sel.Start, LighterColor(sel.Stop, 20));
        TColor a, b;
        GetGradientPanelColors(s, a, b);
        EXPECT_EQ(a, clWindow);
        EXPECT_EQ(b, DarkerColor(clBtnFace, 10));
        EXPECT_EQ(GetGradientPanelFrameColor(s), LighterColor(clBtnShadow, 30));
        const TGwStatusBarColors st = GetGradientStatusBarColors(s);
        EXPECT_EQ(st.Third, DarkerColor(clBtnFace, 40));
        GetGradientGroupBarColors(s, a, b);
        EXPECT_EQ(a, BlendColors(clBlack, clBtnFace, 40));
        const TGwCategoryGroupColors special = GetGradientCategoryGroupColors(s, true);
        EXPECT_EQ(special.C[3], clHighlightText);
        EXPECT_EQ(special.C[9], TColor(0xFFFFFF));
        const TGwOutlookGroupColors o = GetGradientOutlookGroupColors(s);
        EXPECT_EQ(o.C[4], o.C[0]);
        EXPECT_EQ(o.C[2], DarkerColor(clHighlight, 30));
    }
}

TEST(GwColors, SilverSchemeFallbackUsesFixedGreys) {
    const TGwXPColorScheme saved = CurrentXPColorScheme;
    CurrentXPColorScheme = xpcsSilver;
    TColor a, b;
    GetGradientGroupItemColors(gcsSystem, a, b);
    EXPECT_EQ(a, TColor(0x3D3D3F));
    EXPECT_EQ(b, TColor(0x7C7C7E));
    EXPECT_EQ(GetGradientCategoryGroupColors(gcsSystem, false).C[4], TColor(0x555556));
    CurrentXPColorScheme = saved;
}

} // namespace
