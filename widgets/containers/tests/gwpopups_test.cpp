// Drop-down popups through the message path, typed-date and typed-time reading, and the calendar
// and clock arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "Gwpopups.h"
#include "forms.h"
#include "inputkit.h"
#include "winapi.h"

namespace {

TDateTime FixedToday() { return EncodeDate(2026, 7, 15) + 0.5; }

// The locale's date and time formats and a fixed today for the duration of a test.
class Locale : public ::testing::Test {
protected:
    void SetUp() override {
        FDate = ShortDateFormat;
        FTime = LongTimeFormat;
        FSep = DateSeparator;
        SetClock(&FixedToday);
    }
    void TearDown() override {
        ShortDateFormat = FDate;
        LongTimeFormat = FTime;
        DateSeparator = FSep;
        SetClock(nullptr);
    }
    std::string FDate, FTime;
    char FSep = '.';
};

struct DateCase {
    const char* Format;
    const char* Text;
    bool Ok;
    int Y, M, D; // 0 0 0 with Ok: the value 0
};

void PrintTo(const DateCase& c, std::ostream* os) { *os << c.Format << " \"" << c.Text << '"'; }

class TypedDates : public Locale, public ::testing::WithParamInterface<DateCase> {};

TEST_P(TypedDates, ReadInTheLocaleOrder) {
    const DateCase& c = GetParam();
    ShortDateFormat = c.Format;
    DateSeparator = '/';
    TDateTime v = -1;
    EXPECT_EQ(StrToDateEx(c.Text, v), c.Ok);
    EXPECT_EQ(v, c.Y ? EncodeDate(c.Y, c.M, c.D) : 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    Gw, TypedDates,
    ::testing::Values(
        DateCase{"MM/dd/yyyy", "", true, 0, 0, 0}, DateCase{"MM/dd/yyyy", "   ", true, 0, 0, 0},
        DateCase{"MM/dd/yyyy", "12252004", true, 2004, 12, 25},
        DateCase{"MM/dd/yyyy", "March 4", true, 2026, 3, 4},
        // The 4 is read as the month, then the name takes the month and the 4 becomes the day.
        DateCase{"MM/dd/yyyy", "4 March", true, 2026, 3, 4},
        DateCase{"MM/dd/yyyy", "4 march 2001", true, 2001, 3, 4},
        DateCase{"MM/dd/yyyy", "12/25/2004", true, 2004, 12, 25},
        DateCase{"MM/dd/yyyy", "25/12/2004", true, 2004, 12, 25}, // 25 cannot be a month
        DateCase{"MM/dd/yyyy", "12 25 2004", true, 2004, 12, 25},
        DateCase{"MM/dd/yyyy", "2004", true, 2026, 4, 20}, // split 20 04: 20 cannot be the month
        DateCase{"MM/dd/yyyy", "7", true, 2026, 7, 15}, DateCase{"dd/MM/yyyy", "3", true, 2026, 7, 3},
        DateCase{"dd/MM/yyyy", "0304", true, 2026, 4, 3}, DateCase{"dd/MM/yyyy", "31 2 2001", false, 0, 0, 0},
        DateCase{"dd/MM/yyyy", "1 13", true, 2026, 7, 13},     // 13 or more never the month
        DateCase{"yyyy/MM/dd", "20 14 14", true, 2020, 7, 14}, // two-digit year through StrToDate
        DateCase{"dd/MM/yyyy", "5/6/07", true, 2007, 6, 5},
        DateCase{"dd/MM/yyyy", "12 3 4 5", true, 2004, 3, 12}, // three numbers at most
        DateCase{"dd/MM/yyyy", "99999999999999999999", false, 0, 0, 0}));

struct TimeCase {
    const char* Text;
    int H, M, S;
};

void PrintTo(const TimeCase& c, std::ostream* os) { *os << '"' << c.Text << '"'; }

class TypedTimes : public Locale, public ::testing::WithParamInterface<TimeCase> {};

TEST_P(TypedTimes, ReadInTheLocaleOrder) {
    const TimeCase& c = GetParam();
    LongTimeFormat = "hh:mm:ss";
    EXPECT_NEAR(StrToTimeEx(c.Text), EncodeTime(c.H, c.M, c.S, 0), 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Gw, TypedTimes,
                         ::testing::Values(TimeCase{"930 PM", 21, 30, 0}, TimeCase{"12 AM", 0, 0, 0},
                                           TimeCase{"75", 3, 0, 0}, TimeCase{"12:30 pm", 12, 30, 0},
                                           TimeCase{"p 1", 13, 0, 0}, TimeCase{"8:61:59", 8, 0, 59},
                                           TimeCase{"23 59 60", 23, 59, 0}, TimeCase{"", 0, 0, 0},
                                           TimeCase{"abc", 0, 0, 0}));

// The month grid: the first row ends with the previous month's last day, for every first day.
TEST(GwCalendarGrid, FirstRowEndsWithThePreviousMonthsLastDay) {
    TDateTime june2026 = EncodeDate(2026, 6, 1);                             // a Monday
    EXPECT_EQ(CalendarFirstShownDate(june2026, 0), EncodeDate(2026, 5, 25)); // a whole week before
    EXPECT_EQ(CalendarFirstShownDate(june2026, 6), EncodeDate(2026, 5, 31)); // Sunday first
    for (int first = 0; first < 7; ++first)
        for (int month = 1; month <= 12; ++month) {
            TDateTime view = EncodeDate(2027, month, 1);
            TDateTime d = CalendarFirstShownDate(view, first);
            EXPECT_EQ((DayOfWeek(d) + 5) % 7, first) << month; // the row starts on the first day
            EXPECT_GE(view - d, 1);
            EXPECT_LE(view - d, 7);
        }
}

TEST(GwCalendarGrid, HeldArrowSteps) {
    std::vector<int> steps;
    for (int tick = 0; tick < 205; ++tick)
        if (CalendarRepeatStepActs(tick))
            steps.push_back(tick);
    // At once, then every 250 ms to one second, every 100 ms to ten seconds, then every 50 ms.
    EXPECT_EQ(std::vector<int>(steps.begin(), steps.begin() + 6), (std::vector<int>{0, 5, 10, 15, 20, 22}));
    EXPECT_EQ(std::vector<int>(steps.end() - 6, steps.end()),
              (std::vector<int>{198, 200, 201, 202, 203, 204}));
}

struct ClockCase {
    double Degrees; // clockwise from twelve o'clock
    int Hour, Minute, Restricted7, Restricted15;
};

void PrintTo(const ClockCase& c, std::ostream* os) { *os << c.Degrees << " degrees"; }

class ClockAngles : public ::testing::TestWithParam<ClockCase> {};

TEST_P(ClockAngles, HourAndMinuteFromThePoint) {
    const ClockCase& c = GetParam();
    double a = c.Degrees * std::numbers::pi / 180 - std::numbers::pi / 2;
    int dx = int(std::lround(100 * std::cos(a))), dy = int(std::lround(100 * std::sin(a)));
    EXPECT_EQ(ClockHourAt(dx, dy), c.Hour);
    EXPECT_EQ(ClockMinuteAt(dx, dy), c.Minute);
    EXPECT_EQ(ClockMinuteAt(dx, dy, 7), c.Restricted7);
    EXPECT_EQ(ClockMinuteAt(dx, dy, 15), c.Restricted15);
}

INSTANTIATE_TEST_SUITE_P(
    Gw, ClockAngles,
    ::testing::Values(
        ClockCase{0, 12, 0, 0, 0}, // exactly above the centre: 0 whatever the restriction
        ClockCase{90, 3, 15, 14, 15}, ClockCase{180, 6, 30, 30, 30},  // straight down: no restriction
        ClockCase{270, 9, 45, 42, 45}, ClockCase{318, 11, 53, 49, 0}, // 53/60 x 4 rounds to 4: 60, taken as 0
        ClockCase{14, 12, 2, 0, 0}, ClockCase{16, 1, 3, 0, 0},        // past the 12/1 boundary: 1, not 12
        ClockCase{29, 1, 5, 7, 0}, ClockCase{46, 2, 8, 7, 15}));

struct PlaceCase {
    const char* Name;
    TAlignment Alignment;
    int X, Y, W, H;
    TPoint Expected;
};

void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.Name; }

class Placement : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(Placement, UnderTheControlAndOnTheScreen) {
    const PlaceCase& c = GetParam();
    TRect control(500, 300, 600, 320), work(0, 0, 800, 600);
    EXPECT_EQ(PlacePopup(control, c.Alignment, c.X, c.Y, c.W, c.H, work), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Gw, Placement,
    ::testing::Values(PlaceCase{"right", taRightJustify, -1, -1, 150, 100, TPoint(450, 320)},
                      PlaceCase{"left", taLeftJustify, -1, -1, 150, 100, TPoint(500, 320)},
                      PlaceCase{"centre", taCenter, -1, -1, 150, 100, TPoint(475, 320)},
                      PlaceCase{"wide_left_shifted", taLeftJustify, -1, -1, 400, 100, TPoint(400, 320)},
                      PlaceCase{"tall_opens_above", taRightJustify, -1, -1, 150, 290, TPoint(450, 10)},
                      PlaceCase{"offset_ignores_alignment", taCenter, 10, 5, 50, 50, TPoint(510, 305)},
                      PlaceCase{"huge_held_at_the_origin", taRightJustify, -1, -1, 900, 700, TPoint(0, 0)}));

// A control that accepts its popup when clicked, as a picker's button does.
class TAcceptor : public TCustomControl {
public:
    TAcceptor(TComponent* Owner, TGwPopupPanel* Panel) : TCustomControl(Owner), FPanel(Panel) {}
    int Downs = 0;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_LBUTTONDOWN)
            ++Downs;
        if (m.Msg == WM_LBUTTONUP)
            FPanel->Close(this);
        TCustomControl::WndProc(m);
    }

private:
    TGwPopupPanel* FPanel;
};

class PopupLoop : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form.SetBounds(100, 100, 300, 200);
        Edit = new TCustomControl(&Form);
        Edit->SetBounds(10, 10, 120, 20);
        Edit->SetParent(&Form);
        Other = new TCustomControl(&Form);
        Other->SetBounds(10, 100, 120, 20);
        Other->SetParent(&Form);
        Panel = new TGwPopupPanel(&Form);
        Panel->SetParent(&Form);
        Panel->SetBounds(0, 0, 80, 60);
        Button = new TAcceptor(&Form, Panel);
        Button->SetBounds(5, 5, 40, 20);
        Button->SetParent(Panel);
        Form.Show();
        Panel->OnPopup = [this](TObject*) { ++Popups; };
        Panel->OnClose = [this](TObject*) { ++Closes; };
    }
    // Runs the popup with Input posted once its loop runs (the panel's window, and its children's,
    // are made anew before it shows).
    bool Run(std::function<void()> Input) {
        int hook = Application->HookMessages([&](TMsg& m) {
            if (m.message != WM_APP)
                return false;
            Input();
            return true;
        });
        PostMessage(Form.Handle(), WM_APP, 0, 0);
        bool r = Panel->Popup(Edit);
        Application->UnhookMessages(hook);
        return r;
    }

    TForm Form{nullptr};
    TCustomControl* Edit = nullptr;
    TCustomControl* Other = nullptr;
    TGwPopupPanel* Panel = nullptr;
    TAcceptor* Button = nullptr;
    int Popups = 0, Closes = 0;
};

TEST_F(PopupLoop, ClickOnAnAcceptingControlInsideReturnsTrue) {
    EXPECT_TRUE(Run([this] { inputkit::Click(Button, 3, 3); }));
    EXPECT_EQ(Button->Downs, 1);
    EXPECT_EQ(Popups, 1);
    EXPECT_EQ(Closes, 1);
    EXPECT_EQ(Button->Parent(), Panel); // the children came back
    EXPECT_FALSE(Panel->Active());
}

TEST_F(PopupLoop, EscapeCancels) {
    EXPECT_FALSE(Run([this] { inputkit::Press(&Form, inputkit::Key::Escape); }));
    EXPECT_EQ(Closes, 1);
    EXPECT_EQ(Button->Parent(), Panel);
}

TEST_F(PopupLoop, AClickOutsideCancelsAndIsConsumed) {
    int outside = 0;
    Other->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++outside; };
    EXPECT_FALSE(Run([this] { inputkit::MouseDown(Other, 3, 3); }));
    inputkit::MouseUp(Other, 3, 3);
    Application->ProcessMessages();
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(Closes, 1);
    EXPECT_EQ(Button->Parent(), Panel);
}

TEST_F(PopupLoop, ASecondPopupWhileShowingIsRefused) {
    bool nested = true;
    EXPECT_TRUE(Run([&] {
        nested = Panel->Popup(Edit);
        Panel->Close(nullptr);
    }));
    EXPECT_EQ(Popups, 1);
    EXPECT_FALSE(nested);
}

} // namespace
