// The month calendar: areas and hit tests, date rules, keys, buttons and the grid in pixels.
#include <gtest/gtest.h>

#include "Gwpopups.h"
#include "forms.h"
#include "gw_support.h"
#include "inputkit.h"

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
    void Click(TPoint P) { inputkit::Click(Cal, P.x, P.y); }
    void Key(WORD K) {
        inputkit::TMods mods = inputkit::None;
        const int key = inputkit::KeyOfVirtualKey(K, mods);
        inputkit::Press(Cal, key, mods);
    }

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

// Thrown from the menu's OnPopup so the test leaves before the menu's own loop starts.
struct TMenuShown {};

TEST(GwCalendar, MonthMenuChecksTheViewMonthAndMovesTheView) {
    TFixture f;
    TPopupMenu* menu = f.Cal->MonthMenu();
    ASSERT_EQ(menu->Items()->Count(), 12);
    EXPECT_EQ(menu->Items()->Items(2)->Caption(), LongMonthNames[2]);
    menu->Items()->Items(0)->SetChecked(true); // left over from an earlier showing
    std::string checked;
    menu->OnPopup = [&](TObject*) {
        for (int i = 0; i < 12; ++i)
            if (menu->Items()->Items(i)->Checked())
                checked += IntToStr(i + 1) + " ";
        throw TMenuShown();
    };
    EXPECT_THROW(f.Cal->DisplayMonthPopupMenu(10, 10), TMenuShown);
    EXPECT_EQ(checked, "7 ");
    EXPECT_EQ(menu->PopupComponent(), f.Cal);
    menu->Items()->Items(2)->Click(); // March: four months back
    EXPECT_EQ(f.Cal->ViewDate(), EncodeDate(2026, 3, 1));
    menu->Items()->Items(11)->Click();
    EXPECT_EQ(f.Cal->ViewDate(), EncodeDate(2026, 12, 1));
}

TEST(GwCalendar, DaysToBitmaskKeepsOnlyDaysOfAMonth) {
    EXPECT_EQ(TGwCalendar::DaysToBitmask({}), 0u);
    EXPECT_EQ(TGwCalendar::DaysToBitmask({1, 3}), 0x5u);
    EXPECT_EQ(TGwCalendar::DaysToBitmask({31}), 0x40000000u);
    EXPECT_EQ(TGwCalendar::DaysToBitmask({0, 32, -5, 2}), 0x2u);
}

// Dark pixels inside a rectangle of a painted calendar.
int Ink(TPaper& P, const TRect& R) {
    int n = 0;
    for (int y = R.Top + 1; y < R.Bottom - 1; ++y)
        for (int x = R.Left + 1; x < R.Right - 1; ++x)
            n += (ColorToRGB(P.At(x, y)) & 0xFF) < 0x80;
    return n;
}

TEST(GwCalendar, BoldDaysAskedOncePerMonthShownAndDrawnBold) {
    TFixture f;
    std::string asked;
    unsigned julyBold = 0;
    f.Cal->OnGetBoldDays = [&](TObject*, int Year, int Month, unsigned& Mask) {
        asked += IntToStr(Year) + "-" + IntToStr(Month) + " ";
        if (Month == 7)
            Mask = julyBold;
    };
    auto paint = [&](TPaper& p) { f.Cal->Perform(WM_PAINT, WPARAM(p.Canvas()), 0); };
    TPaper plain(200, 200), bold(200, 200);
    paint(plain);
    EXPECT_EQ(asked, "2026-6 2026-7 2026-8 ");
    julyBold = TGwCalendar::DaysToBitmask({22});
    paint(bold);
    TRect cell = f.Cal->CellRect(EncodeDate(2026, 7, 22)), other = f.Cal->CellRect(EncodeDate(2026, 7, 23));
    EXPECT_GT(Ink(bold, cell), Ink(plain, cell));
    EXPECT_EQ(Ink(bold, other), Ink(plain, other));
}

TEST(GwCalendar, DayFormatFillsTheCell) {
    TFixture f;
    f.Cal->OnGetDayFormat = [](TObject*, TDateTime, int, int Month, int Day, TColor& Fill, TColor&,
                               TFontStyles&) {
        if (Month == 7 && Day == 20)
            Fill = clYellow;
    };
    TPaper p(200, 200);
    f.Cal->Perform(WM_PAINT, WPARAM(p.Canvas()), 0);
    TRect cell = f.Cal->CellRect(EncodeDate(2026, 7, 20)), other = f.Cal->CellRect(EncodeDate(2026, 7, 21));
    EXPECT_EQ(TPaper::Hex(p.At(cell.Left + 1, cell.Top + 1)), TPaper::Hex(clYellow));
    EXPECT_NE(TPaper::Hex(p.At(other.Left + 1, other.Top + 1)), TPaper::Hex(clYellow));
}

} // namespace
