// The time picker through the message path: hands by mouse, carries past twelve, the halves of the
// day, keys, and the face in pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "Gwpopups.h"
#include "forms.h"
#include "gw_support.h"
#include "inputkit.h"

namespace {

TPoint Middle(const TRect& R) { return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); }

struct TFixture {
    TFixture() {
        TApplication::QtApp();
        Form.SetBounds(0, 0, 300, 300);
        Picker = new TGwTimePicker(&Form);
        Picker->SetParent(&Form);
        Picker->SetAutoSize(false);
        Picker->SetBounds(0, 0, 160, 190);
        Picker->CalcRects();
    }
    // The client point at Degrees clockwise from twelve, at half the radius.
    TPoint At(double Degrees) {
        double a = Degrees * std::numbers::pi / 180 - std::numbers::pi / 2;
        TPoint c = Picker->ClockCenter();
        int r = Picker->ClockRadius() / 2;
        return TPoint(c.x + int(std::lround(r * std::cos(a))), c.y + int(std::lround(r * std::sin(a))));
    }
    void Down(TPoint P, inputkit::TButton B, inputkit::TMods Mods = inputkit::None) {
        inputkit::MouseDown(Picker, P.x, P.y, B, Mods);
    }
    void Up(TPoint P, inputkit::TButton B, inputkit::TMods Mods = inputkit::None) {
        inputkit::MouseUp(Picker, P.x, P.y, B, Mods);
    }
    void Move(TPoint P, inputkit::TButton Held) { inputkit::MouseMove(Picker, P.x, P.y, Held); }
    void Click(TPoint P) { inputkit::Click(Picker, P.x, P.y); }
    std::string Shown() { return FormatDateTime("hh:nn", Picker->Time()); }

    TForm Form{nullptr};
    TGwTimePicker* Picker;
};

TEST(GwTimePicker, RightClickAboveTheCentreIsMinuteZeroWhateverTheRestriction) {
    TFixture f;
    f.Picker->SetTime(EncodeTime(3, 20, 0, 0));
    f.Picker->RestrictMinutesBy = 7;
    TPoint c = f.Picker->ClockCenter();
    f.Down(TPoint(c.x, c.y - 20), inputkit::Right, inputkit::Ctrl);
    f.Up(TPoint(c.x, c.y - 20), inputkit::Right, inputkit::Ctrl);
    EXPECT_EQ(f.Shown(), "03:00");
}

TEST(GwTimePicker, RestrictedMinuteRoundsToTheStep) {
    TFixture f;
    f.Picker->SetTime(EncodeTime(3, 20, 0, 0));
    f.Picker->RestrictMinutesBy = 15;
    f.Picker->RestrictMinutes = true;
    f.Down(f.At(53 * 6), inputkit::Right); // minute 53 becomes 60, taken as 0
    EXPECT_EQ(f.Shown(), "03:00");
    f.Up(f.At(53 * 6), inputkit::Right);
}

TEST(GwTimePicker, MinuteHandPastTwelveCarriesIntoTheHour) {
    TFixture f;
    f.Picker->SetTime(EncodeTime(5, 50, 0, 0));
    int sets = 0;
    f.Picker->OnSetTime = [&](TObject*) { ++sets; };
    f.Down(f.At(55 * 6), inputkit::Right);
    EXPECT_EQ(f.Shown(), "05:55");
    f.Move(f.At(1), inputkit::Right); // minute 0
    EXPECT_EQ(f.Shown(), "06:00");
    f.Move(f.At(10 * 6), inputkit::Right);
    EXPECT_EQ(f.Shown(), "06:10");
    f.Move(f.At(50 * 6), inputkit::Right); // back past twelve
    EXPECT_EQ(f.Shown(), "05:50");
    f.Up(f.At(50 * 6), inputkit::Right);
    EXPECT_EQ(sets, 1);
}

TEST(GwTimePicker, TwelveIsNoonInTheAfternoonAndMidnightInTheMorning) {
    TFixture f;
    f.Picker->SetTime(EncodeTime(15, 30, 0, 0));
    ASSERT_TRUE(f.Picker->PM());
    f.Click(f.At(0));
    EXPECT_EQ(f.Shown(), "12:30");
    f.Picker->SetTime(EncodeTime(3, 30, 0, 0));
    f.Click(f.At(0));
    EXPECT_EQ(f.Shown(), "00:30");
    f.Click(f.At(90));
    EXPECT_EQ(f.Shown(), "03:30");
    TPoint pm = Middle(f.Picker->PMRect());
    f.Click(pm);
    EXPECT_EQ(f.Shown(), "15:30");
    TPoint am = Middle(f.Picker->AMRect());
    f.Click(am);
    EXPECT_EQ(f.Shown(), "03:30");
}

TEST(GwTimePicker, KeysStepHoursAndMinutesAcrossMidnight) {
    TFixture f;
    f.Picker->SetTime(EncodeTime(23, 59, 0, 0));
    inputkit::Press(f.Picker, inputkit::Key::Up);
    EXPECT_EQ(f.Shown(), "00:00");
    inputkit::Press(f.Picker, inputkit::Key::PageDown);
    EXPECT_EQ(f.Shown(), "23:00");
    inputkit::Press(f.Picker, inputkit::Key::PageUp);
    inputkit::Press(f.Picker, inputkit::Key::Down);
    EXPECT_EQ(f.Shown(), "23:59");
    EXPECT_NE(f.Picker->HowToUseText().find("restricts to 5 minutes"), std::string::npos);
}

TEST(GwTimePicker, FacePaintsItsHandsInTheHandsColour) {
    TFixture f;
    f.Picker->SetTime(EncodeTime(3, 0, 0, 0));
    f.Picker->ClockFaceColors()->Set(TGwClockFaceColors::Hands, clRed);
    f.Picker->ClockFaceColors()->Set(TGwClockFaceColors::Face, clYellow);
    TPaper p(160, 190);
    TMessage m{WM_PAINT, WPARAM(p.Canvas()), 0};
    f.Picker->Perform(m.Msg, m.WParam, m.LParam);
    TPoint c = f.Picker->ClockCenter();
    int r = f.Picker->ClockRadius();
    EXPECT_EQ(TPaper::Hex(p.At(c.x + r / 4, c.y)), TPaper::Hex(clRed)); // hour hand at three
    EXPECT_EQ(TPaper::Hex(p.At(c.x, c.y - r / 2)), TPaper::Hex(clRed)); // minute hand at twelve
    EXPECT_EQ(TPaper::Hex(p.At(c.x - r / 4, c.y + r / 4)), TPaper::Hex(clYellow));
}

} // namespace
