// The month calendar: areas and hit tests, date rules, keys, buttons and the grid in pixels.
#include <gtest/gtest.h>

#include "Gwpopups.h"
#include "forms.h"
#include "gw_support.h"

namespace {

TDateTime FixedToday() { return EncodeDate(2026, 7, 15) + 0.25; }

TPoint Middle(const TRect& R) { return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); }

struct TFixture {
    TFixture() {
        TApplication::QtApp();
        SetClock(&FixedToday);
        Form.SetBounds(0, 0, 400, 400);
        Cal = new TGwCalendar(&Form);
        Cal->SetParent(&Form);
        Cal->SetAutoSize(false);
        Cal->SetBounds(0, 0, 200, 200);
        Cal->SetFirstDayOfWeek(fdowMonday);
        Cal->CalcAreas();
    }
    ~TFixture() { SetClock(nullptr); }
    void Click(TPoint P) {
        Cal->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(P.x, P.y));
        Cal->Perform(WM_LBUTTONUP, 0, MAKELPARAM(P.x, P.y));
    }
    void Key(WORD K) { Cal->Perform(WM_KEYDOWN, K, 0); }

    TForm Form{nullptr};
    TGwCalendar* Cal;
};

TEST(GwCalendar, AreasHitTestedFromTheButtonsUp) {
    TFixture f;
    const TGwCalendarArea areas[] = {caLeftArrow, caRightArrow,  caMonth,      caDaysOfWeek,
                                     caDays,      caTodayButton, caClearButton};
    for (TGwCalendarArea a : areas) {
        TRect r = f.Cal->Area(a);
        ASSERT_FALSE(IsRectEmpty(r)) << int(a);
        EXPECT_EQ(f.Cal->AreaAt(Middle(r)), a) << int(a);
    }
    TRect year = f.Cal->Area(caYear), month = f.Cal->Area(caMonth);
    EXPECT_EQ(f.Cal->AreaAt(TPoint(month.Right + 3, Middle(year).y)), caYear); // the year text
    EXPECT_EQ(f.Cal->AreaAt(TPoint(1, 199)), caFillDays);                      // no area
    EXPECT_TRUE(IsRectEmpty(f.Cal->Area(caWeekNumbers)));
}

TEST(GwCalendar, WithoutButtonsTheGridReachesTheBottom) {
    TFixture f;
    TRect withButtons = f.Cal->Area(caDays);
    TGwCalendarElements e = f.Cal->Elements();
    e >> ceTodayButton >> ceClearButton;
    f.Cal->SetElements(e);
    f.Cal->SetAutoSize(false);
    f.Cal->SetBounds(0, 0, 200, 200);
    f.Cal->CalcAreas();
    EXPECT_TRUE(IsRectEmpty(f.Cal->Area(caTodayButton)));
    EXPECT_GT(f.Cal->Area(caDays).Bottom, withButtons.Bottom);
    e << ceWeekNumbers;
    f.Cal->SetElements(e);
    f.Cal->SetAutoSize(false);
    f.Cal->SetBounds(0, 0, 200, 200);
    f.Cal->CalcAreas();
    EXPECT_EQ(f.Cal->Area(caWeekNumbers).Right, f.Cal->Area(caDays).Left);
    EXPECT_EQ(f.Cal->Area(caWeekNumbers).Top, f.Cal->Area(caDaysOfWeek).Bottom);
}

TEST(GwCalendar, OutOfRangeDatesRaiseAndKeysStopAtTheBounds) {
    TFixture f;
    f.Cal->SetMinDate(EncodeDate(2026, 7, 10));
    f.Cal->SetMaxDate(EncodeDate(2026, 7, 20));
    EXPECT_THROW(f.Cal->SetDate(EncodeDate(2026, 7, 21)), EGwCalendarError);
    try {
        f.Cal->SetDate(EncodeDate(2026, 7, 1));
        FAIL();
    } catch (const EGwCalendarError& e) {
        EXPECT_EQ(e.Message.rfind("Date is less than minimum of ", 0), 0u) << e.Message;
    }
    EXPECT_EQ(f.Cal->Date(), 0);
    EXPECT_THROW(f.Cal->SetMaxDate(EncodeDate(2026, 7, 1)), EGwCalendarError);
    f.Cal->SetDate(EncodeDate(2026, 7, 18) + 0.5);
    EXPECT_EQ(f.Cal->Date(), EncodeDate(2026, 7, 18)); // the time is dropped
    f.Key(VK_DOWN);
    EXPECT_EQ(f.Cal->Date(), EncodeDate(2026, 7, 18)); // 25th is beyond the maximum
    f.Key(VK_RIGHT);
    f.Key(VK_RIGHT);
    f.Key(VK_RIGHT);
    EXPECT_EQ(f.Cal->Date(), EncodeDate(2026, 7, 20));
    f.Key(VK_HOME);
    EXPECT_EQ(f.Cal->Date(), EncodeDate(2026, 7, 20)); // the 1st is below the minimum
    f.Key(VK_UP);
    EXPECT_EQ(f.Cal->Date(), EncodeDate(2026, 7, 13));
}

TEST(GwCalendar, ButtonsAndDaysByMouse) {
    TFixture f;
    int changes = 0;
    f.Cal->OnChange = [&](TObject*) { ++changes; };
    f.Click(Middle(f.Cal->Area(caTodayButton)));
    EXPECT_EQ(f.Cal->Date(), EncodeDate(2026, 7, 15));
    f.Click(Middle(f.Cal->CellRect(EncodeDate(2026, 7, 2))));
    EXPECT_EQ(f.Cal->Date(), EncodeDate(2026, 7, 2));
    f.Click(Middle(f.Cal->CellRect(EncodeDate(2026, 8, 1)))); // a fill day: the view follows
    EXPECT_EQ(f.Cal->Date(), EncodeDate(2026, 8, 1));
    EXPECT_EQ(f.Cal->ViewDate(), EncodeDate(2026, 8, 1));
    f.Cal->CalcAreas();
    f.Click(Middle(f.Cal->Area(caClearButton)));
    EXPECT_EQ(f.Cal->Date(), 0);
    EXPECT_EQ(changes, 4);
    f.Click(Middle(f.Cal->Area(caLeftArrow))); // one step at once
    EXPECT_EQ(f.Cal->ViewDate(), EncodeDate(2026, 6, 1));
}

TEST(GwCalendar, GridPaintsTheSelectedDateInItsCell) {
    TFixture f;
    f.Cal->CalendarColors()->Set(TGwCalendarColors::SelectedDateBack, clLime);
    f.Cal->SetDate(EncodeDate(2026, 7, 8));
    TPaper p(200, 200);
    TMessage m{WM_PAINT, WPARAM(p.Canvas()), 0};
    f.Cal->Perform(m.Msg, m.WParam, m.LParam);
    TRect cell = f.Cal->CellRect(EncodeDate(2026, 7, 8));
    // July 2026 starts on a Wednesday: the 8th is the Wednesday of the second row.
    EXPECT_EQ(cell.Left, f.Cal->Area(caDays).Left + 2 * (cell.Right - cell.Left));
    EXPECT_EQ(TPaper::Hex(p.At(cell.Left + 1, cell.Top + 1)), TPaper::Hex(clLime));
    TRect next = f.Cal->CellRect(EncodeDate(2026, 7, 9));
    EXPECT_NE(TPaper::Hex(p.At(next.Left + 1, next.Top + 1)), TPaper::Hex(clLime));
}

} // namespace
