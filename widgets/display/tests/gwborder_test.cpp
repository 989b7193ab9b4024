// The plain frame: client rectangles per frame, the frame controller's pull, its removal.
#include <gtest/gtest.h>

#include "Gwborder.h"
#include "forms.h"
#include "gw_support.h"

namespace {

struct TClientCase {
    const char* Name;
    TFrameStyleEx Outer, Inner;
    TSides Sides;
    int BorderWidth, BevelWidth, W, H;
    TRect Expected;
};

void PrintTo(const TClientCase& c, std::ostream* os) { *os << c.Name; }

class GwBorderClient : public ::testing::TestWithParam<TClientCase> {};

TEST_P(GwBorderClient, FramesAndBandLeaveTheClientRectangle) {
    const TClientCase& c = GetParam();
    TForm form(nullptr);
    TGwBorder b(&form);
    b.SetParent(&form);
    b.SetBounds(0, 0, c.W, c.H);
    b.SetBorderOuter(c.Outer);
    b.SetBorderInner(c.Inner);
    b.SetBorderSides(c.Sides);
    b.SetBorderWidth(c.BorderWidth);
    b.SetBevelWidth(c.BevelWidth);
    EXPECT_EQ(b.ClientRect(), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GwBorderClient,
    ::testing::Values(
        TClientCase{"DefaultGroove", fsGroove, fsNone, AllSides, 0, 1, 50, 50, TRect(2, 2, 48, 48)},
        TClientCase{"StatusUsesBevel", fsStatus, fsFlat, AllSides, 0, 3, 50, 40, TRect(4, 4, 46, 36)},
        TClientCase{"BandOnAllSidesFramesOnTwo", fsRaised, fsNone, TSides{sdLeft, sdTop}, 5, 1, 50, 50,
                    TRect(7, 7, 45, 45)},
        TClientCase{"TooWideIsEmpty", fsFlatBold, fsGroove, AllSides, 4, 1, 10, 30, TRect(0, 0, 0, 0)}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(GwBorder, ControllerPullsOnlyWhileFramesAreVisibleAndIsForgottenWhenFreed) {
    TForm form(nullptr);
    TGwBorder b(&form);
    b.SetParent(&form);
    auto* fc = new TGwFrameController(&form);
    b.SetFrameController(fc);
    fc->SetFrameStyle(fsFlat);
    fc->SetFrameColor(clRed);
    b.CustomFramingChanged();
    EXPECT_EQ(b.BorderOuter(), fsGroove);
    fc->SetFrameVisible(true);
    b.CustomFramingChanged();
    EXPECT_EQ(b.BorderOuter(), fsFlat);
    EXPECT_EQ(b.FlatColor(), clRed);
    EXPECT_EQ(b.FlatColorAdjustment(), 0);
    delete fc;
    EXPECT_EQ(b.FrameController(), nullptr);
}

TEST(GwBorder, PaintsTheFrameOnItsSidesOnly) {
    TForm form(nullptr);
    TGwBorder b(&form);
    b.SetParent(&form);
    b.SetBounds(0, 0, 20, 20);
    b.SetBorderOuter(fsFlat);
    b.SetFlatColorAdjustment(0);
    b.SetFlatColor(clRed);
    b.SetBorderSides(TSides{sdLeft});
    TPaper p(20, 20);
    b.Perform(WM_PAINT, WPARAM(p.Canvas()));
    EXPECT_EQ(TPaper::Hex(p.At(0, 10)), TPaper::Hex(clRed));
    EXPECT_EQ(TPaper::Hex(p.At(19, 10)), TPaper::Hex(clWhite));
}

} // namespace
