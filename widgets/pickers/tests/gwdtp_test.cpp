// The Gw date-time picker: the dropped calendar's look, the state colours, the hot-tracked frame,
// the format and calendar colours across a new window, and the flat button in pixels.
#include <gtest/gtest.h>

#include "Gwdtp.h"
#include "forms.h"
#include "gw_support.h"
#include "screenkit.h"
#include "sysinfo.h"
#include "winapi.h"

namespace {

TEST(GwDropCalendar, FirstDayStylesAndSize) {
    const struct {
        const char* Name;
        TCalDayOfWeek FirstDay;
        char Locale;
        bool Today, Circle, Weeks;
        int Columns, Rows;
        TGwDropCalendar Want;
    } cases[] = {
        {"locale Monday",
         dowLocaleDefault,
         '0',
         false,
         false,
         false,
         1,
         1,
         {0, MCS_NOTODAY | MCS_NOTODAYCIRCLE, MCS_WEEKNUMBERS, 204, 150}},
        {"locale Sunday",
         dowLocaleDefault,
         '6',
         true,
         true,
         false,
         1,
         1,
         {6, 0, MCS_NOTODAY | MCS_NOTODAYCIRCLE | MCS_WEEKNUMBERS, 204, 150}},
        {"own first day",
         dowWednesday,
         '0',
         true,
         false,
         false,
         1,
         1,
         {2, MCS_NOTODAYCIRCLE, MCS_NOTODAY | MCS_WEEKNUMBERS, 204, 150}},
        {"week numbers two across",
         dowMonday,
         '0',
         false,
         false,
         true,
         2,
         1,
         {0, MCS_NOTODAY | MCS_NOTODAYCIRCLE | MCS_WEEKNUMBERS, 0, 2 * (200 + 4 + 30), 150}},
        {"two down",
         dowMonday,
         '0',
         false,
         false,
         false,
         1,
         2,
         {0, MCS_NOTODAY | MCS_NOTODAYCIRCLE, MCS_WEEKNUMBERS, 204, 300}},
    };
    for (const auto& c : cases) {
        TGwDropCalendar d =
            GwDropCalendar(c.FirstDay, c.Locale, c.Today, c.Circle, c.Weeks, c.Columns, c.Rows, 30, 200, 150);
        EXPECT_EQ(d.FirstDay, c.Want.FirstDay) << c.Name;
        EXPECT_EQ(d.SetStyles, c.Want.SetStyles) << c.Name;
        EXPECT_EQ(d.ClearStyles, c.Want.ClearStyles) << c.Name;
        EXPECT_EQ(d.Width, c.Want.Width) << c.Name;
        EXPECT_EQ(d.Height, c.Want.Height) << c.Name;
    }
}

class GwDateTimePicker : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 100);
        P = new TGwDateTimePicker(Form);
        P->SetParent(Form);
        P->SetBounds(10, 10, 150, 22);
    }
    void TearDown() override { delete Form; }
    TForm* Form = nullptr;
    TGwDateTimePicker* P = nullptr;
};

TEST_F(GwDateTimePicker, FocusColourFollowsTheColourUntilSetApart) {
    P->SetColor(clYellow);
    EXPECT_EQ(P->FocusColor(), clYellow);
    P->SetFocusColor(clAqua);
    P->SetColor(clRed);
    EXPECT_EQ(P->FocusColor(), clAqua);
    EXPECT_TRUE(P->FramingStored(fcpFocusColor));
    P->SetFocusColor(clRed);
    EXPECT_FALSE(P->FramingStored(fcpFocusColor)) << "the same colour as Color is not written";
    P->SetDisabledColor(clGray);
    P->SetEnabled(false);
    EXPECT_EQ(P->Color(), clGray);
    EXPECT_FALSE(P->FramingStored(fcpColor)) << "the disabled colour is not written as Color";
    P->SetEnabled(true);
    EXPECT_EQ(P->Color(), clRed);
}

TEST_F(GwDateTimePicker, HotTrackingInCodeShowsTheFrameOnAllSides) {
    P->SetFrameSides(TSides{sdTop});
    P->SetFrameHotTrack(true);
    EXPECT_TRUE(P->FrameVisible());
    EXPECT_EQ(P->FrameSides(), AllSides);
}

TEST_F(GwDateTimePicker, FormatAndCalendarColoursOutliveTheWindow) {
    P->CalColors()->SetColor(MCSC_TITLEBK, clRed); // no window yet: kept for it
    P->SetFormat("dd.MM");
    P->HandleNeeded();
    EXPECT_EQ(P->Perform(DTM_GETMCCOLOR, MCSC_TITLEBK, 0), LRESULT(ColorToRGB(clRed)));
    P->CalColors()->SetColor(MCSC_TEXT, clBlue);
    EXPECT_EQ(P->Perform(DTM_GETMCCOLOR, MCSC_TEXT, 0), LRESULT(ColorToRGB(clBlue)));
    P->RecreateWnd();
    P->HandleNeeded();
    EXPECT_EQ(P->Format(), "dd.MM");
    EXPECT_EQ(P->Perform(DTM_GETMCCOLOR, MCSC_TITLEBK, 0), LRESULT(ColorToRGB(clRed)));
    TGwDateTimePicker other(nullptr);
    other.SetCalColors(P->CalColors());
    EXPECT_EQ(other.CalColors()->Get(MCSC_TEXT), clBlue);
}

TEST_F(GwDateTimePicker, FlatButtonPlainWhileColdAndInItsColourWhileHot) {
    P->SetFramingPreference(fpCustomFraming);
    P->SetFrameVisible(true);
    P->SetFlatButtons(true);
    P->SetFlatButtonColor(clYellow);
    P->SetColor(clWhite);
    const int sb = GetSystemMetrics(SM_CXVSCROLL);
    const int left = P->Width() - sb - 4, cx = left + sb / 2, cy = P->Height() / 2;
    auto paint = [&] {
        auto p = std::make_unique<TPaper>(P->Width(), P->Height());
        p->Fill(clFuchsia);
        P->Perform(WM_PAINT, WPARAM(p->Canvas()), 0);
        return p;
    };
    auto cold = paint();
    EXPECT_EQ(TPaper::Hex(cold->At(left + 2, 3)), TPaper::Hex(clWhite));
    EXPECT_EQ(TPaper::Hex(cold->At(cx - 1, cy - 3)), TPaper::Hex(clBlack)) << "the arrow";
    // The form is not shown, so no pointer can enter: entering and leaving come as the messages
    // the pointer sends.
    P->Perform(CM_MOUSEENTER, 0, 0);
    auto hot = paint();
    EXPECT_EQ(TPaper::Hex(hot->At(left + 3, 3)), TPaper::Hex(clYellow));
    EXPECT_EQ(TPaper::Hex(hot->At(cx, cy - 3)), TPaper::Hex(clBlack));
    P->Perform(CM_MOUSELEAVE, 0, 0);
    P->SetFlatButtons(false);
    auto none = paint();
    EXPECT_NE(TPaper::Hex(none->At(left + 3, 3)), TPaper::Hex(clYellow));
}

// The running program's look: the frame in the window's border and the flat button over the
// platform's own drop-down button.
TEST_F(GwDateTimePicker, FrameAndFlatButtonShowOverTheNativePaint) {
    Form->Show();
    P->SetFramingPreference(fpCustomFraming);
    P->SetFrameVisible(true);
    P->SetFrameColor(clRed);
    P->SetFlatButtons(true);
    P->SetFlatButtonColor(clLime);
    P->SetColor(clYellow);
    P->SetFocus();
    TBitmap img;
    screenkit::Window(P, img);
    ASSERT_EQ(img.Width(), P->Width());
    auto at = [&](int x, int y) { return TPaper::Hex(img.Canvas()->GetPixel(x, y)); };
    EXPECT_EQ(at(0, 10), TPaper::Hex(clRed));
    EXPECT_EQ(at(P->Width() - 1, 10), TPaper::Hex(clRed));
    EXPECT_EQ(at(75, P->Height() - 1), TPaper::Hex(clRed));
    // The focused picker's flat button in its colour over the platform's arrow button, and the
    // arrow on it (the button's left edge in client coordinates, the client 2 pixels in).
    const int sb = GetSystemMetrics(SM_CXVSCROLL);
    const int left = 2 + P->Width() - sb - 4;
    EXPECT_EQ(at(left + 3, 4), TPaper::Hex(clLime));
    EXPECT_EQ(at(left + sb / 2, 2 + P->Height() / 2 - 3), TPaper::Hex(clBlack)) << "the arrow";
}

// The dropped calendar takes the picker's week numbers and months across and down.
TEST_F(GwDateTimePicker, DroppedCalendarShowsWeekNumbersAndSeveralMonths) {
    Form->Show();
    P->SetDate(EncodeDate(2026, 3, 14));
    P->ShowWeekNumbers = true;
    P->SetDropColumns(2);
    P->SetDropRows(2);
    P->DropDown();
    ASSERT_TRUE(P->DroppedDown());
    HWND cal = reinterpret_cast<HWND>(P->Perform(DTM_GETMONTHCAL, 0, 0));
    ASSERT_NE(cal, nullptr);
    const LPARAM style = GetWindowLong(cal, GWL_STYLE);
    EXPECT_TRUE(style & MCS_WEEKNUMBERS);
    EXPECT_TRUE(style & MCS_NOTODAY) << "ShowToday is off";
    TSystemTime range[2];
    EXPECT_EQ(SendMessage(cal, MCM_GETMONTHRANGE, GMR_VISIBLE, LPARAM(range)), 4);
    EXPECT_EQ(range[0].wMonth, 3);
    TSystemTime picked;
    SendMessage(cal, MCM_GETCURSEL, 0, LPARAM(&picked));
    EXPECT_EQ(picked.wDay, 14);
    P->CloseUp(false);
    P->SetDropColumns(1);
    P->SetDropRows(1);
    P->DropDown();
    EXPECT_EQ(SendMessage(cal, MCM_GETMONTHRANGE, GMR_VISIBLE, LPARAM(range)), 1)
        << "each drop starts afresh";
    P->CloseUp(false);
}

} // namespace
