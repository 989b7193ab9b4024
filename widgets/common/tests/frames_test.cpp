// Border and frame drawing: the inner rectangles and the pixels of each rule.
#include <gtest/gtest.h>

#include "Gwcommon.h"
#include "gw_support.h"

namespace {

const TRect Box(2, 2, 12, 10);

TEST(GwFrames, SidesDrawHalfOpenEdgesAndShrinkOnlyTheirSides) {
    TPaper p(16, 14);
    const TRect in = DrawSides(p.Canvas(), Box, clRed, clBlue, TSides{sdLeft, sdBottom});
    EXPECT_EQ(in, TRect(3, 2, 12, 9));
    EXPECT_EQ(p.At(2, 2), clRed);
    EXPECT_EQ(p.At(2, 8), clRed);
    EXPECT_EQ(p.At(2, 9), clBlue) << "the bottom side, drawn after the left, takes the corner";
    EXPECT_EQ(p.At(11, 9), clBlue) << "the bottom side runs to Right - 1";
    EXPECT_EQ(p.At(12, 9), clWhite);
    EXPECT_EQ(p.At(2, 10), clWhite);
    EXPECT_EQ(p.At(5, 2), clWhite) << "no top side";
}

TEST(GwFrames, NoColourDrawsNothingButStillShrinks) {
    TPaper p(16, 14);
    EXPECT_EQ(DrawSides(p.Canvas(), Box, clNone, clNone, AllSides), TRect(3, 3, 11, 9));
    for (int y = 0; y < 14; ++y)
        EXPECT_EQ(p.Row(y, 0, 15), TPaper(16, 1).Row(0, 0, 15));
}

TEST(GwFrames, BevelOfWidthZeroIsTheBounds) {
    TPaper p(16, 14);
    EXPECT_EQ(DrawBevel(p.Canvas(), Box, clRed, clRed, 0), Box);
    EXPECT_EQ(p.At(2, 2), clWhite);
    EXPECT_EQ(DrawBevel(p.Canvas(), Box, clRed, clBlue, 3), TRect(5, 5, 9, 7));
    EXPECT_EQ(p.At(4, 4), clRed);
    EXPECT_EQ(p.At(9, 7), clBlue);
}

struct TStyleCase {
    const char* Name;
    TFrameStyle Style;
    TSides Sides;
    TRect Inner;
};

// Cases print as their names in test lists.
void PrintTo(const TStyleCase& c, std::ostream* os) { *os << c.Name; }

class BorderStyleTable : public ::testing::TestWithParam<TStyleCase> {};

TEST_P(BorderStyleTable, ShrinksByTheStyleWidth) {
    TPaper p(16, 14);
    EXPECT_EQ(DrawBorderSides(p.Canvas(), Box, GetParam().Style, GetParam().Sides), GetParam().Inner);
    TPaper q(16, 14);
    EXPECT_EQ(DrawColorBorderSides(q.Canvas(), Box, clBtnFace, GetParam().Style, GetParam().Sides),
              GetParam().Inner);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, BorderStyleTable,
    ::testing::Values(TStyleCase{"None", fsNone, AllSides, Box},
                      TStyleCase{"Flat", fsFlat, AllSides, TRect(3, 3, 11, 9)},
                      TStyleCase{"GrooveTopOnly", fsGroove, TSides{sdTop}, TRect(2, 4, 12, 10)},
                      TStyleCase{"Bump", fsBump, AllSides, TRect(4, 4, 10, 8)},
                      TStyleCase{"Lowered", fsLowered, AllSides, TRect(4, 4, 10, 8)},
                      TStyleCase{"ButtonUp", fsButtonUp, AllSides, TRect(4, 4, 10, 8)},
                      TStyleCase{"Status", fsStatus, AllSides, TRect(3, 3, 11, 9)},
                      TStyleCase{"FlatBold", fsFlatBold, TSides{sdLeft, sdRight}, TRect(4, 2, 10, 10)}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(GwFrames, LoweredUsesShadowOutsideAndDarkShadowInside) {
    TPaper p(16, 14);
    DrawBorderSides(p.Canvas(), Box, fsLowered);
    EXPECT_EQ(p.At(2, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(p.At(3, 5), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(p.At(11, 5), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(p.At(10, 5), ColorToRGB(cl3DLight));
}

TEST(GwFrames, GrooveIsTwoOffsetRings) {
    TPaper p(16, 14);
    DrawBorderSides(p.Canvas(), Box, fsGroove);
    const TColor ul = ColorToRGB(clBtnShadow), lr = ColorToRGB(clBtnHighlight);
    EXPECT_EQ(p.At(2, 5), ul);
    EXPECT_EQ(p.At(3, 5), lr);
    EXPECT_EQ(p.At(10, 5), ul) << "the shadow ring's right side, one in";
    EXPECT_EQ(p.At(11, 5), lr);
    EXPECT_EQ(p.At(11, 2), lr) << "corner pixel of a drawn right side";
    EXPECT_EQ(p.At(2, 9), lr) << "corner pixel of a drawn bottom side";
}

TEST(GwFrames, ShadedStylesFollowTheColour) {
    TPaper p(16, 14);
    DrawColorBorderSides(p.Canvas(), Box, 0x4080C0, fsStatus);
    EXPECT_EQ(p.At(2, 5), DarkerColor(0x4080C0, 50));
    EXPECT_EQ(p.At(11, 5), LighterColor(0x4080C0, 100));
}

TEST(GwFrames, BoxCornersAndFocusBorder) {
    TPaper p(16, 14);
    EXPECT_EQ(DrawBoxCorners(p.Canvas(), Box, clRed, 3), TRect(3, 3, 11, 9));
    EXPECT_EQ(p.Row(2, 2, 6), "0000FF 0000FF 0000FF FFFFFF FFFFFF");
    EXPECT_EQ(p.At(2, 4), clRed);
    EXPECT_EQ(p.At(2, 5), clWhite);
    EXPECT_EQ(p.At(11, 9), clRed);
    TPaper f(16, 14);
    DrawFocusBorder(f.Canvas(), Box);
    EXPECT_EQ(f.Row(2, 2, 6), "FFFFFF 000000 FFFFFF 000000 FFFFFF");
    EXPECT_EQ(f.At(11, 3), clBlack);
    EXPECT_EQ(f.At(11, 4), clWhite);
}

TEST(GwFrames, RoundedFlatBorderCutsItsCorners) {
    TPaper p(16, 14);
    EXPECT_EQ(DrawRoundedFlatBorder(p.Canvas(), Box, clRed), TRect(4, 4, 10, 8));
    EXPECT_EQ(p.At(2, 2), clWhite);
    EXPECT_EQ(p.At(3, 3), clRed) << "corner pixel closes the cut";
    EXPECT_EQ(p.At(2, 4), clRed);
    EXPECT_EQ(p.At(2, 7), clRed);
    EXPECT_EQ(p.At(2, 8), clWhite);
    EXPECT_EQ(p.At(4, 2), clRed);
}

TEST(GwFrames, NonClientFrameUsesSystemLookOnlyForWindowColour) {
    TPaper sys(16, 14);
    DrawFrame(sys.Canvas(), 16, 14, fsStatus, clWindow, clRed, AllSides, TGwFrameRing::NoColorRing);
    EXPECT_EQ(sys.At(0, 5), ColorToRGB(clBtnShadow));
    TPaper shaded(16, 14);
    DrawFrame(shaded.Canvas(), 16, 14, fsStatus, 0x4080C0, clRed, AllSides, TGwFrameRing::NoColorRing);
    EXPECT_EQ(shaded.At(0, 5), DarkerColor(0x4080C0, 50));
    TPaper ring(16, 14);
    DrawFrame(ring.Canvas(), 16, 14, fsFlat, 0x00FF00, clRed, AllSides, TGwFrameRing::PaintColorRing);
    EXPECT_EQ(ring.Row(5, 0, 3), "00FF00 00FF00 0000FF FFFFFF");
}

TEST(GwFrames, PanelFramesChainOutsideIn) {
    TPaper p(20, 20);
    TGwInnerOuterFrame f;
    f.OuterStyle = fsFlat;
    f.FlatColor = clRed;
    f.BorderWidth = 2;
    f.BorderColor = clBlue;
    f.InnerStyle = fsStatus;
    EXPECT_EQ(DrawInnerOuterBorders(p.Canvas(), TRect(0, 0, 20, 20), f), TRect(4, 4, 16, 16));
    EXPECT_EQ(p.Row(8, 0, 4), "0000FF FF0000 FF0000 " + TPaper::Hex(clBtnShadow) + " FFFFFF");
}

TEST(GwFrames, DropShadowDarkensBelowAndRight) {
    TPaper p(30, 30);
    DrawDropShadow(p.Canvas(), TRect(5, 5, 20, 20), 3, clBlack);
    EXPECT_EQ(p.At(15, 20), BlendColors(clBlack, clWhite, 128)) << "first ring under the bottom edge";
    EXPECT_EQ(p.At(15, 22), BlendColors(clBlack, clWhite, 128 - 2 * 42)) << "outermost ring is faintest";
    EXPECT_EQ(p.At(15, 23), clWhite);
    EXPECT_EQ(p.At(20, 15), BlendColors(clBlack, clWhite, 128));
    EXPECT_EQ(p.At(5, 20), clWhite) << "the shadow starts in from the left";
}

} // namespace
