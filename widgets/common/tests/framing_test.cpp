// The shared framing piece: state colours, colour following, the hot frame, the controller push.
#include <gtest/gtest.h>

#include "Gwframing.h"
#include "gw_support.h"

namespace {

// A framed control in miniature: its colour, state flags and what the framing asked of it.
class TFramedControl : public TControl, public IGwFramingHost, public IGwFramedControl {
public:
    explicit TFramedControl(TComponent* Owner) : TControl(Owner) {}
    TGwFraming Framing{this, this};
    bool IsEnabled = true, IsFocused = false, IsReadOnly = false, Loading = false;
    int FrameRepaints = 0, Recreates = 0;
    TColor Shown = clWindow;

    void FramingRepaintFrame() override { ++FrameRepaints; }
    void FramingRecreateWindow() override { ++Recreates; }
    TColor FramingColor() const override { return Shown; }
    void FramingSetColor(TColor Value) override { Shown = Value; }
    void FramingSetParentColor(bool) override {}
    bool FramingEnabled() const override { return IsEnabled; }
    bool FramingFocused() const override { return IsFocused; }
    bool FramingReadOnly() const override { return IsReadOnly; }
    bool FramingLoading() const override { return Loading; }
    TGwFrameControllerNotifications FrameControllerNotifications() const override {
        return Framing.Notifications;
    }
    bool SetFramingProperty(TGwFrameControllerProperty P, int V) override {
        return Framing.SetFramingProperty(P, V);
    }
    // A colour set from outside, as CM_COLORCHANGED would report it.
    void UserSetsColor(TColor C) {
        Shown = C;
        Framing.ColorChanged();
    }
};

struct TStateCase {
    const char* Name;
    bool Enabled, Focused, ReadOnly, ReadOnlyOnFocus;
    TColor Expected;
};

// Cases print as their names in test lists.
void PrintTo(const TStateCase& c, std::ostream* os) { *os << c.Name; }

class StateColorTable : public ::testing::TestWithParam<TStateCase> {};

TEST_P(StateColorTable, PicksTheStateColour) {
    const TStateCase& c = GetParam();
    TFramedControl f(nullptr);
    f.Framing.SetDisabledColor(clGray);
    f.Framing.SetFocusColor(clYellow);
    f.Framing.SetReadOnlyColor(clAqua);
    f.Framing.SetReadOnlyColorOnFocus(c.ReadOnlyOnFocus);
    f.UserSetsColor(clWhite);
    f.IsEnabled = c.Enabled;
    f.IsFocused = c.Focused;
    f.IsReadOnly = c.ReadOnly;
    f.Framing.UpdateColors();
    EXPECT_EQ(f.Shown, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(States, StateColorTable,
                         ::testing::Values(TStateCase{"Disabled", false, true, true, true, clGray},
                                           TStateCase{"Focused", true, true, false, false, clYellow},
                                           TStateCase{"FocusedReadOnly", true, true, true, false, clYellow},
                                           TStateCase{"FocusedReadOnlyKept", true, true, true, true, clAqua},
                                           TStateCase{"ReadOnly", true, false, true, false, clAqua},
                                           TStateCase{"Normal", true, false, false, false, clWhite}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(GwFraming, FocusColourFollowsTheNormalColour) {
    TFramedControl f(nullptr);
    f.UserSetsColor(clBtnFace);
    EXPECT_EQ(f.Framing.FocusColor(), clBtnFace);
    f.Framing.SetFocusColor(clYellow);
    f.UserSetsColor(clWhite);
    EXPECT_EQ(f.Framing.FocusColor(), clYellow) << "a focus colour of its own stays";
    f.IsFocused = true;
    f.Framing.UpdateColors();
    EXPECT_EQ(f.Framing.NormalColor(), clWhite) << "the framing's own change is not a new normal colour";
}

TEST(GwFraming, HotTrackingTurnsTheFrameOn) {
    TFramedControl f(nullptr);
    f.Framing.SetFrameSides(TSides{sdTop});
    f.Framing.SetFrameHotTrack(true);
    EXPECT_TRUE(f.Framing.FrameVisible());
    EXPECT_EQ(f.Framing.FrameSides(), AllSides);
    EXPECT_EQ(f.Recreates, 1);
    TFramedControl loading(nullptr);
    loading.Loading = true;
    loading.Framing.SetFrameSides(TSides{sdTop});
    loading.Framing.SetFrameHotTrack(true);
    EXPECT_EQ(loading.Framing.FrameSides(), TSides{sdTop}) << "stored sides survive loading";
}

TEST(GwFraming, PaintsTheHotFrameOnlyWhenHot) {
    TFramedControl f(nullptr);
    TPaper p(20, 20);
    EXPECT_FALSE(f.Framing.PaintFrame(p.Canvas(), 20, 20, TGwFrameRing::NoColorRing)) << "frame not visible";
    f.Framing.SetFrameHotTrack(true);
    f.Framing.SetFrameColor(clRed);
    f.Framing.SetFrameHotColor(clBlue);
    ASSERT_TRUE(f.Framing.PaintFrame(p.Canvas(), 20, 20, TGwFrameRing::NoColorRing));
    EXPECT_EQ(p.Row(10, 0, 1), "0000FF FFFFFF") << "flat frame, one pixel, normal colour";
    f.Framing.UpdateFrame(true, true);
    TPaper hot(20, 20);
    f.Framing.PaintFrame(hot.Canvas(), 20, 20, TGwFrameRing::NoColorRing);
    EXPECT_EQ(hot.Row(10, 0, 2), "FF0000 FF0000 FFFFFF") << "bold hot frame, two pixels";
}

TEST(GwFraming, ControllerPushesThroughTheSetters) {
    TGwFrameController fc(nullptr);
    {
        TFramedControl f(nullptr);
        f.Framing.Notifications >> fcpFrameColor;
        f.Framing.SetFrameController(&fc);
        EXPECT_EQ(fc.ControlCount(), 1);
        fc.SetFrameColor(clRed);
        fc.SetFrameStyle(fsLowered);
        fc.SetDisabledColor(clGray);
        EXPECT_EQ(f.Framing.FrameColor(), clBtnShadow);
        EXPECT_EQ(f.Framing.FrameStyle(), fsLowered);
        EXPECT_EQ(f.Framing.DisabledColor(), clGray);
        EXPECT_FALSE(f.Framing.Stored(fcpFrameStyle));
        EXPECT_TRUE(f.Framing.Stored(fcpFrameColor));
        fc.SetColor(clYellow);
        EXPECT_EQ(f.Shown, clYellow);
    }
    EXPECT_EQ(fc.ControlCount(), 0) << "a destroyed control leaves its controller";
}

} // namespace
