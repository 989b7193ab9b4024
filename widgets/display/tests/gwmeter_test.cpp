// The meter: range setters, segment colours, the segment sum, tiny controls.
#include <gtest/gtest.h>

#include "Gwborder.h"
#include "forms.h"
#include "gw_support.h"

namespace {

struct TMeterFixture {
    TForm Form{nullptr};
    TGwMeter Meter{&Form};
    TMeterFixture() {
        Form.SetBounds(0, 0, 900, 200);
        Meter.SetParent(&Form);
    }
};

TEST(GwMeter, RangeNeverCollapsesAndValuesAreClamped) {
    TMeterFixture f;
    f.Meter.SetMin(100);
    EXPECT_EQ(f.Meter.Min(), 99);
    f.Meter.SetMin(0);
    f.Meter.SetMax(0);
    EXPECT_EQ(f.Meter.Max(), 1);
    f.Meter.SetMax(100);
    f.Meter.SetValue(150);
    EXPECT_EQ(f.Meter.Value(), 100);
    f.Meter.AddValue(-300);
    EXPECT_EQ(f.Meter.Value(), 0);
    f.Meter.SetValue(33);
    EXPECT_EQ(f.Meter.GetPercent(), 33);
}

TEST(GwMeter, SeventyPercentLightsFiveGreenTwoYellowAndThreeOff) {
    TMeterFixture f;
    f.Meter.SetValue(70);
    TPaper p(150, 30);
    f.Meter.Perform(WM_PAINT, WPARAM(p.Canvas()));
    std::string got;
    for (int i = 0; i < 10; ++i)
        got += TPaper::Hex(p.At(3 + i * 14 + 6, 14)) + " ";
    const std::string g = TPaper::Hex(clGreen) + " ", y = TPaper::Hex(clYellow) + " ",
                      k = TPaper::Hex(clBlack) + " ";
    EXPECT_EQ(got, g + g + g + g + g + y + y + k + k + k);
}

TEST(GwMeter, SegmentCountsSummingTo256AreDrawnAll) {
    // An 8-bit sum would wrap to zero segments and divide by it.
    TMeterFixture f;
    f.Meter.SetBounds(0, 0, 800, 30);
    f.Meter.SetSegSpacing(0);
    f.Meter.SetSegCount(0, 200);
    f.Meter.SetSegCount(1, 50);
    f.Meter.SetSegCount(2, 6);
    f.Meter.SetValue(100);
    TPaper p(800, 30);
    f.Meter.Perform(WM_PAINT, WPARAM(p.Canvas()));
    EXPECT_EQ(TPaper::Hex(p.At(10, 14)), TPaper::Hex(clGreen));
    EXPECT_EQ(TPaper::Hex(p.At(760, 14)), TPaper::Hex(clRed));
}

TEST(GwMeter, SegmentCountsStayWithinAByte) {
    TMeterFixture f;
    f.Meter.SetSegCount(0, 0);
    f.Meter.SetSegCount(1, 1000);
    EXPECT_EQ(f.Meter.GetSegCount(0), 1);
    EXPECT_EQ(f.Meter.GetSegCount(1), 255);
}

TEST(GwMeter, ControlsBelowFourPixelsPaintNothing) {
    TMeterFixture f;
    f.Meter.SetBounds(0, 0, 3, 30);
    TPaper p(3, 30);
    f.Meter.Perform(WM_PAINT, WPARAM(p.Canvas()));
    EXPECT_EQ(p.Row(15, 0, 2), "FFFFFF FFFFFF FFFFFF");
}

TEST(GwMeter, PlainBarIsCutToTheValue) {
    TMeterFixture f;
    f.Meter.SetMeterType(mtNormal);
    f.Meter.SetShowPercent(false);
    f.Meter.SetValue(50);
    TPaper p(150, 30);
    f.Meter.Perform(WM_PAINT, WPARAM(p.Canvas()));
    EXPECT_EQ(TPaper::Hex(p.At(30, 15)), TPaper::Hex(clRed));
    EXPECT_EQ(TPaper::Hex(p.At(120, 15)), TPaper::Hex(clBlack));
}

} // namespace
