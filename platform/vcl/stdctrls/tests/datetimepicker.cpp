// Date-time picker: format pictures, the DTM_/MCM_ messages, the user's change against values set
// from code, the calendar's drop-down and close-up, and the check box.
#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QCheckBox>
#include <QApplication>
#include <QDateTimeEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTableView>
#include <QTextCharFormat>

#include "comctrls.h"
#include "cp1251.h"
#include "forms.h"
#include "gfx_support.h"
#include "handle.h"
#include "inputkit.h"
#include "messagerecorder.h"
#include "stdctrls.h"
#include "winapi.h"

namespace {

TEST(DateTimeFormat, WindowsPicturesBecomeQtFormats) {
    const std::pair<const char*, const char*> cases[] = {
        {"dd.MM", "dd.MM"},       {"dd.MM.yyyy", "dd.MM.yyyy"}, {"d MMMM yy", "d MMMM yy"},
        {"HH:mm:ss", "HH:mm:ss"}, {"hh:mm tt", "hh:mm AP"},     {"'day' d", "'day' d"},
        {"dd-MM g", "dd-MM 'g'"},
    };
    for (auto& [win, qt] : cases)
        EXPECT_EQ(DateTimeFormatToQt(win), qt) << win;
}

class Pickers : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 100);
        Picker = new TDateTimePicker(Form);
        Picker->SetParent(Form);
        Picker->SetBounds(10, 10, 200, 21);
        Picker->SetDate(EncodeDate(2026, 3, 14));
        Picker->OnChange = [&](TObject*) { Log.push_back("change"); };
        Picker->OnDropDown = [&](TObject*) { Log.push_back("drop"); };
        Picker->OnCloseUp = [&](TObject*) { Log.push_back("close"); };
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    QDateTimeEdit* Edit() { return ClientWidget(Picker)->findChild<QDateTimeEdit*>(); }
    TForm* Form = nullptr;
    TDateTimePicker* Picker = nullptr;
    std::vector<std::string> Log;
};

TEST_F(Pickers, MessagesSetTheFormatColoursAndFirstDay) {
    static const char fmt[] = "dd.MM";
    EXPECT_EQ(Picker->Perform(DTM_SETFORMAT, 0, LPARAM(fmt)), 1);
    EXPECT_EQ(Edit()->text(), "14.03");
    EXPECT_EQ(Picker->Perform(DTM_SETMCCOLOR, MCSC_TITLEBK, clRed), LRESULT(ColorToRGB(clActiveCaption)));
    EXPECT_EQ(Picker->CalColor(MCSC_TITLEBK), clRed);
    EXPECT_EQ(Picker->Perform(DTM_SETMCCOLOR, 9, clRed), -1);
    EXPECT_EQ(Picker->Perform(DTM_GETMONTHCAL, 0, 0), 0); // not dropped down
    Picker->Perform(MCM_SETFIRSTDAYOFWEEK, 0, dowSunday);
    EXPECT_EQ(LOWORD(Picker->Perform(MCM_GETFIRSTDAYOFWEEK, 0, 0)), 6);
    EXPECT_TRUE(Log.empty());
    // The calendar that drops down takes what the picker was told.
    Picker->DropDown();
    HWND cal = reinterpret_cast<HWND>(Picker->Perform(DTM_GETMONTHCAL, 0, 0));
    ASSERT_NE(cal, nullptr);
    EXPECT_EQ(LOWORD(SendMessage(cal, MCM_GETFIRSTDAYOFWEEK, 0, 0)), 6);
    EXPECT_EQ(SendMessage(cal, MCM_GETCOLOR, MCSC_TITLEBK, 0), LRESULT(ColorToRGB(clRed)));
    for (QCalendarWidget* month : ClientWidget(cal->Control())->findChildren<QCalendarWidget*>())
        EXPECT_EQ(month->firstDayOfWeek(), Qt::Sunday);
    Picker->CloseUp(false);
}

// A Russian desktop's picker: the date as dd.MM.yyyy, and a calendar that names its months and
// days in Russian from Monday.
TEST_F(Pickers, ADateAndItsCalendarReadAsOnARussianDesktop) {
    TApplication::QtApp();
    Picker->SetDate(EncodeDate(2007, 1, 1));
    EXPECT_EQ(Edit()->text(), "01.01.2007");
    Picker->DropDown();
    HWND cal = reinterpret_cast<HWND>(Picker->Perform(DTM_GETMONTHCAL, 0, 0));
    ASSERT_NE(cal, nullptr);
    auto months = ClientWidget(cal->Control())->findChildren<QCalendarWidget*>();
    ASSERT_FALSE(months.isEmpty());
    for (QCalendarWidget* month : months) {
        EXPECT_EQ(month->firstDayOfWeek(), Qt::Monday);
        EXPECT_EQ(month->locale().standaloneMonthName(1), QString::fromUtf16(u"январь"));
        EXPECT_EQ(month->locale().dayName(1, QLocale::ShortFormat), QString::fromUtf16(u"пн"));
    }
    Picker->CloseUp(false);
}

TEST_F(Pickers, UserChangesTellOnChangeAndValuesFromCodeStaySilent) {
    Picker->SetDateTime(EncodeDate(2026, 1, 2) + EncodeTime(10, 30, 0, 0));
    EXPECT_EQ(Edit()->date(), QDate(2026, 1, 2));
    EXPECT_DOUBLE_EQ(Picker->Time(), EncodeTime(10, 30, 0, 0));
    EXPECT_TRUE(Log.empty());
    Edit()->setFocus();
    Edit()->setCurrentSection(QDateTimeEdit::DaySection);
    TypeKey(Edit(), Qt::Key_Up);
    EXPECT_EQ(Picker->Date(), EncodeDate(2026, 1, 3));
    EXPECT_EQ(Log, std::vector<std::string>{"change"});
    // The calendar drops down and closes again: a window of its own, not the picker.
    Picker->DropDown();
    EXPECT_TRUE(Picker->DroppedDown());
    LRESULT cal = Picker->Perform(DTM_GETMONTHCAL, 0, 0);
    EXPECT_NE(cal, 0);
    EXPECT_NE(cal, reinterpret_cast<LRESULT>(Picker->Handle()));
    TypeKey(Edit(), Qt::Key_Escape);
    EXPECT_FALSE(Picker->DroppedDown());
    EXPECT_EQ(Picker->Date(), EncodeDate(2026, 1, 3)) << "Escape picks nothing";
    EXPECT_EQ(Log, (std::vector<std::string>{"change", "drop", "close"}));
}

// The user's ways to the calendar: a press on the arrow drops it under the picker, the keys move
// its selection while the picker keeps the focus, Enter picks, a press elsewhere closes it.
TEST_F(Pickers, ArrowDropsTheCalendarAndKeysPickADay) {
    Edit()->setFocus();
    QStyleOptionComboBox opt;
    opt.initFrom(Edit());
    opt.editable = true;
    opt.subControls = QStyle::SC_All;
    QRect arrow =
        Edit()->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxArrow, Edit());
    QPoint at = arrow.center();
    QMouseEvent press(QEvent::MouseButtonPress, at, Edit()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(Edit(), &press);
    ASSERT_TRUE(Picker->DroppedDown());
    auto* cal = reinterpret_cast<HWND>(Picker->Perform(DTM_GETMONTHCAL, 0, 0))->Control();
    TRect box;
    GetWindowRect(Picker->Handle(), &box);
    EXPECT_EQ(cal->Top(), box.Bottom);
    EXPECT_EQ(cal->Left(), box.Left);
    EXPECT_TRUE(HandleWidget(cal)->isVisible());
    for (int key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Return})
        TypeKey(Edit(), key);
    EXPECT_FALSE(Picker->DroppedDown());
    EXPECT_EQ(Picker->Date(), EncodeDate(2026, 3, 22));
    EXPECT_EQ(Log, (std::vector<std::string>{"drop", "change", "close"}));
    Log.clear();
    TypeKey(Edit(), Qt::Key_F4);
    ASSERT_TRUE(Picker->DroppedDown());
    QMouseEvent elsewhere(QEvent::MouseButtonPress, QPoint(5, 80), Form->Handle()->mapToGlobal(QPoint(5, 80)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(ClientWidget(Form), &elsewhere);
    EXPECT_FALSE(Picker->DroppedDown());
    EXPECT_EQ(Log, (std::vector<std::string>{"drop", "close"}));
}

enum TDropSide { dsBelow, dsAbove };
enum TDropEdge { deAtPicker, deAtWorkLeft, deAtWorkRight };

struct PlaceCase {
    const char* Name;
    int FormX, FormY;
    TDropSide Side;
    TDropEdge Edge;
    bool Widened; // OnDropDown gives the calendar three months across
};
void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.Name; }

class DropPlacement : public Pickers, public ::testing::WithParamInterface<PlaceCase> {};

// Two monitors side by side, the first with a task bar 40 pixels high at its bottom: the calendar
// comes down under the picker, goes over it where the work area ends below, and moves sideways to
// stay inside the work area of the picker's own monitor, also when OnDropDown makes it wider.
TEST_P(DropPlacement, CalendarStaysInsideThePickersWorkArea) {
    const PlaceCase& c = GetParam();
    SetMonitorLayout({{TRect(0, 0, 800, 600), TRect(0, 0, 800, 560)},
                      {TRect(800, 0, 1600, 600), TRect(800, 0, 1600, 600)}});
    Form->SetBounds(c.FormX, c.FormY, 300, 100);
    if (c.Widened)
        Picker->OnDropDown = [this](TObject*) {
            auto* cal = reinterpret_cast<HWND>(Picker->Perform(DTM_GETMONTHCAL, 0, 0))->Control();
            cal->SetBounds(cal->Left(), cal->Top(), cal->Width() * 3 + 20, cal->Height());
        };
    Picker->DropDown();
    ASSERT_TRUE(Picker->DroppedDown());
    TControl* cal = reinterpret_cast<HWND>(Picker->Perform(DTM_GETMONTHCAL, 0, 0))->Control();
    TRect box, at;
    GetWindowRect(Picker->Handle(), &box);
    GetWindowRect(reinterpret_cast<HWND>(Picker->Perform(DTM_GETMONTHCAL, 0, 0)), &at);
    MONITORINFO mi;
    GetMonitorInfo(MonitorFromRect(&box, MONITOR_DEFAULTTONEAREST), &mi);
    const TRect work = mi.rcWork;
    EXPECT_EQ(at.Width(), cal->Width());
    if (c.Side == dsBelow)
        EXPECT_EQ(at.Top, box.Bottom);
    else
        EXPECT_EQ(at.Bottom, box.Top);
    const int left[] = {box.Left, work.Left, work.Right - at.Width()};
    EXPECT_EQ(at.Left, left[c.Edge]);
    EXPECT_GE(at.Left, work.Left);
    EXPECT_LE(at.Right, work.Right);
    EXPECT_LE(at.Bottom, work.Bottom);
    Picker->CloseUp(false);
    SetMonitorLayout({});
}

const PlaceCase kPlaces[] = {
    {"BelowAtThePicker", 100, 100, dsBelow, deAtPicker, false},
    {"AboveOverTheTaskBar", 100, 480, dsAbove, deAtPicker, false},
    {"LeftOfTheWorkAreasRight", 1450, 100, dsBelow, deAtWorkRight, false},
    {"RightOfTheWorkAreasLeft", -60, 100, dsBelow, deAtWorkLeft, false},
    {"WidenedByOnDropDown", 500, 100, dsBelow, deAtWorkRight, true},
    {"WidenedAboveOverTheTaskBar", 500, 480, dsAbove, deAtWorkRight, true},
};
INSTANTIATE_TEST_SUITE_P(Places, DropPlacement, ::testing::ValuesIn(kPlaces),
                         [](const auto& info) { return std::string(info.param.Name); });

// The calendar window holds as many whole months as its size does, and its styles apply when
// they change.
TEST(MonthCalWindow, MonthsFollowTheSizeAndTheStylesApplyAtOnce) {
    EnsureApp();
    TMonthCalWindow cal(nullptr);
    cal.HandleNeeded();
    cal.SetDate(EncodeDate(2026, 3, 14));
    TSystemTime today;
    today.wYear = 2026;
    today.wMonth = 3;
    today.wDay = 10;
    cal.Perform(MCM_SETTODAY, 0, LPARAM(&today));
    TRect one;
    ASSERT_EQ(cal.Perform(MCM_GETMINREQRECT, 0, LPARAM(&one)), 1);
    ASSERT_GT(one.Width(), 100);
    auto months = [&] {
        int shown = 0;
        for (QCalendarWidget* m : ClientWidget(&cal)->findChildren<QCalendarWidget*>())
            shown += m->isVisibleTo(ClientWidget(&cal));
        return shown;
    };
    struct Case {
        const char* Name;
        int Columns, Rows;
    };
    const Case cases[] = {{"one", 1, 1}, {"two across", 2, 1}, {"two by two", 2, 2}, {"four across", 4, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        cal.SetBounds(0, 0, c.Columns * (one.Width() + 30) + 2, c.Rows * one.Height() + 2);
        EXPECT_EQ(cal.MonthCount(), c.Columns * c.Rows);
        EXPECT_EQ(months(), c.Columns * c.Rows);
        TSystemTime range[2];
        EXPECT_EQ(cal.Perform(MCM_GETMONTHRANGE, GMR_VISIBLE, LPARAM(range)), c.Columns * c.Rows);
        EXPECT_EQ(range[0].wMonth, 3);
        EXPECT_EQ(range[1].wMonth, 3 + c.Columns * c.Rows - 1);
        EXPECT_EQ(cal.Perform(MCM_GETMONTHRANGE, GMR_DAYSTATE, LPARAM(range)), c.Columns * c.Rows + 2);
        EXPECT_EQ(range[0].wMonth, 2);
    }
    // Only the month holding the selection shows it, wherever the selection has been before.
    QList<QCalendarWidget*> views = ClientWidget(&cal)->findChildren<QCalendarWidget*>();
    auto shows = [](QCalendarWidget* m) {
        return m->palette().color(QPalette::Highlight) != m->palette().color(QPalette::Base);
    };
    cal.SetDate(EncodeDate(2026, 4, 2));
    EXPECT_FALSE(shows(views[0]));
    EXPECT_TRUE(shows(views[1]));
    cal.SetDate(EncodeDate(2026, 3, 14));
    EXPECT_TRUE(shows(views[0]));
    EXPECT_FALSE(shows(views[1]));
    auto first = views[0];
    EXPECT_EQ(first->verticalHeaderFormat(), QCalendarWidget::NoVerticalHeader);
    SetWindowLong(cal.Handle(), GWL_STYLE,
                  GetWindowLong(cal.Handle(), GWL_STYLE) | MCS_WEEKNUMBERS | MCS_NOTODAY);
    EXPECT_EQ(first->verticalHeaderFormat(), QCalendarWidget::ISOWeekNumbers);
    auto* line = ClientWidget(&cal)->findChild<QPushButton*>();
    ASSERT_NE(line, nullptr);
    EXPECT_FALSE(line->isVisibleTo(ClientWidget(&cal)));
    SetWindowLong(cal.Handle(), GWL_STYLE, GetWindowLong(cal.Handle(), GWL_STYLE) & ~LPARAM(MCS_NOTODAY));
    EXPECT_TRUE(line->isVisibleTo(ClientWidget(&cal)));
    EXPECT_EQ(line->text().toStdString(), Cp1251ToUtf8("Сегодня: " + DateToStr(EncodeDate(2026, 3, 10))));
    // Bold days: the state words start at the month before the first one shown.
    MONTHDAYSTATE states[3] = {0, 1u << 19, 0};
    EXPECT_EQ(cal.Perform(MCM_SETDAYSTATE, 3, LPARAM(states)), 1);
    EXPECT_TRUE(first->dateTextFormat(QDate(2026, 3, 20)).font().bold());
    EXPECT_FALSE(first->dateTextFormat(QDate(2026, 3, 19)).font().bold());
}

TEST_F(Pickers, CheckBoxEnablesTheValueAndTheTimeKindUsesItsOwnFormat) {
    Picker->SetShowCheckbox(true);
    Picker->SetChecked(false);
    EXPECT_FALSE(Edit()->isEnabled());
    EXPECT_TRUE(Log.empty());
    ClientWidget(Picker)->findChild<QCheckBox*>()->click();
    EXPECT_TRUE(Picker->Checked());
    EXPECT_EQ(Log, std::vector<std::string>{"change"});
    Picker->SetKind(dtkTime);
    Picker->SetTime(EncodeTime(7, 5, 9, 0));
    EXPECT_EQ(Edit()->text(), "07:05:09");
    EXPECT_FALSE(Edit()->calendarPopup());
}

struct CalCase {
    const char* Name;
    UINT Msg;
    WPARAM W;
    LPARAM L;
    LRESULT Result;
};

// The calendar on its own answers the month-calendar messages; the locale's first day here is
// Monday, and a first day set by message says so in the high word.
TEST(MonthCalendar, MessagesAnswerAsAWindowsMonthCalendar) {
    EnsureApp();
    TForm form(nullptr);
    auto* cal = new TMonthCalendar(&form);
    cal->SetParent(&form);
    cal->SetDate(EncodeDate(2026, 3, 14));
    TSystemTime picked, bad, got;
    picked.wYear = 2025;
    picked.wMonth = 2;
    picked.wDay = 28;
    bad = picked;
    bad.wDay = 30;
    const CalCase cases[] = {
        {"locale first day", MCM_GETFIRSTDAYOFWEEK, 0, 0, MAKELRESULT(dowMonday, 0)},
        {"set Sunday answers the old day", MCM_SETFIRSTDAYOFWEEK, 0, dowSunday, MAKELRESULT(dowMonday, 0)},
        {"Sunday, set by message", MCM_GETFIRSTDAYOFWEEK, 0, 0, MAKELRESULT(dowSunday, 1)},
        {"colour answers the old one", MCM_SETCOLOR, MCSC_TITLEBK, LPARAM(clRed),
         LRESULT(ColorToRGB(clActiveCaption))},
        {"colour back", MCM_GETCOLOR, MCSC_TITLEBK, 0, LRESULT(clRed)},
        {"no such colour", MCM_GETCOLOR, 6, 0, -1},
        {"read the selection", MCM_GETCURSEL, 0, LPARAM(&got), 1},
        {"select by message", MCM_SETCURSEL, 0, LPARAM(&picked), 1},
        {"no 30 February", MCM_SETCURSEL, 0, LPARAM(&bad), 0},
    };
    for (const CalCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(cal->Perform(c.Msg, c.W, c.L), c.Result);
    }
    EXPECT_EQ(got.wYear, 2026);
    EXPECT_EQ(got.wMonth, 3);
    EXPECT_EQ(got.wDay, 14);
    EXPECT_EQ(got.wDayOfWeek, 6); // a Saturday
    EXPECT_EQ(cal->Date(), EncodeDate(2025, 2, 28));
    EXPECT_EQ(cal->FirstDayOfWeek(), dowSunday);
    auto* q = ClientWidget(cal)->findChild<QCalendarWidget*>();
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->firstDayOfWeek(), Qt::Sunday);
}

// A click on a day selects it and fires OnClick; setting the date from code is silent.
TEST(MonthCalendar, UsersClickSelectsTheDay) {
    EnsureApp();
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 250);
    auto* cal = new TMonthCalendar(&form);
    cal->SetParent(&form);
    int clicks = 0;
    cal->OnClick = [&](TObject*) { ++clicks; };
    cal->SetDate(EncodeDate(2026, 3, 14));
    form.Show();
    EXPECT_EQ(clicks, 0);
    auto* view = ClientWidget(cal)->findChild<QTableView*>();
    ASSERT_NE(view, nullptr);
    // The cell of the 14th, then the one below it: a week later.
    QModelIndex at = view->currentIndex();
    QRect cell = view->visualRect(view->model()->index(at.row() + 1, at.column()));
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(t, cell.center(), view->viewport()->mapToGlobal(cell.center()), Qt::LeftButton,
                      t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &e);
    }
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(cal->Date(), EncodeDate(2026, 3, 21));
}

// Whether a day's cell of one month shows its number in the trailing colour (pure red here).
bool ShowsNeighbourDay(QCalendarWidget* month, QDate d) {
    auto* view = month->findChild<QTableView*>();
    const QAbstractItemModel* m = view->model();
    const bool before = d < QDate(month->yearShown(), month->monthShown(), 1);
    for (int r = 0; r < m->rowCount(); ++r)
        for (int c = 0; c < m->columnCount(); ++c) {
            const QModelIndex at = m->index(r, c);
            // The month before fills the first rows, the month after the last ones.
            if (at.data().toInt() != d.day() || (before ? r > 2 : r < 4))
                continue;
            const QImage cell = view->viewport()->grab(view->visualRect(at)).toImage();
            for (int y = 0; y < cell.height(); ++y)
                for (int x = 0; x < cell.width(); ++x) {
                    const QColor px = cell.pixelColor(x, y);
                    if (px.red() > 160 && px.green() < 90 && px.blue() < 90)
                        return true;
                }
            return false;
        }
    ADD_FAILURE() << "no cell for " << d.toString().toStdString();
    return false;
}

// The calendar on its own is the same engine as the dropped one: months by its size, week numbers
// by its property or its style, and the neighbours' days only before the first month and after
// the last.
TEST(MonthCalendar, ShowsMonthsBySizeWithNeighbourDaysOnlyAtTheEnds) {
    EnsureApp();
    TForm form(nullptr);
    form.SetBounds(0, 0, 900, 400);
    auto* cal = new TMonthCalendar(&form);
    cal->SetWeekNumbers(true);
    cal->SetParent(&form);
    cal->SetFirstDayOfWeek(dowMonday);
    cal->SetDate(EncodeDate(2026, 3, 14));
    TSystemTime elsewhere;
    elsewhere.wYear = 2020;
    elsewhere.wMonth = 1;
    elsewhere.wDay = 8;
    cal->Perform(MCM_SETTODAY, 0, LPARAM(&elsewhere));
    cal->Perform(MCM_SETCOLOR, MCSC_TRAILINGTEXT, LPARAM(clRed));
    form.Show();
    EXPECT_TRUE(GetWindowLong(cal->Handle(), GWL_STYLE) & MCS_WEEKNUMBERS);
    TRect withWeeks, one;
    cal->Perform(MCM_GETMINREQRECT, 0, LPARAM(&withWeeks));
    cal->SetWeekNumbers(false);
    EXPECT_FALSE(GetWindowLong(cal->Handle(), GWL_STYLE) & MCS_WEEKNUMBERS);
    cal->Perform(MCM_GETMINREQRECT, 0, LPARAM(&one));
    EXPECT_GT(withWeeks.Width(), one.Width());
    EXPECT_EQ(cal->MonthCount(), 1);
    cal->SetBounds(0, 0, 3 * one.Width() + 20, one.Height());
    ASSERT_EQ(cal->MonthCount(), 3);
    std::vector<QCalendarWidget*> months;
    for (QCalendarWidget* m : ClientWidget(cal)->findChildren<QCalendarWidget*>())
        if (m->isVisibleTo(ClientWidget(cal)))
            months.push_back(m);
    std::sort(months.begin(), months.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
    ASSERT_EQ(months.size(), 3u);
    EXPECT_EQ(months[1]->monthShown(), 4);
    struct Case {
        const char* Name;
        int Month;
        QDate Day;
        bool Shown;
    };
    const Case cases[] = {
        {"February before the first", 0, QDate(2026, 2, 28), true},
        {"April after the first", 0, QDate(2026, 4, 1), false},
        {"March before the middle", 1, QDate(2026, 3, 31), false},
        {"May after the middle", 1, QDate(2026, 5, 1), false},
        {"April before the last", 2, QDate(2026, 4, 30), false},
        {"June after the last", 2, QDate(2026, 6, 1), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(ShowsNeighbourDay(months[size_t(c.Month)], c.Day), c.Shown);
    }
    // The arrow and page keys move the selection; Enter is left to the dialog.
    int clicks = 0;
    cal->OnClick = [&](TObject*) { ++clicks; };
    inputkit::Press(cal, inputkit::Key::Down);
    inputkit::Press(cal, inputkit::Key::PageDown);
    inputkit::Press(cal, inputkit::Key::Return);
    EXPECT_EQ(cal->Date(), EncodeDate(2026, 4, 21));
    EXPECT_EQ(clicks, 0);
}

} // namespace

// Typing into the picker's fields, key by key, then leaving it with a click on another control:
// a number past a field's last value takes the last value, and no field ever moves another.
struct TTypedCase {
    const char* Name;
    const char* Format;
    TDateTime Start;
    const char* Keys; // the separator moves to the next field, as on a Windows picker
    TDateTime Expected;
};

void PrintTo(const TTypedCase& c, std::ostream* os) { *os << c.Name; }

const TTypedCase kTyped[] = {
    {"DayPastFebruarysEndTakesItsLastDay", "dd.MM.yyyy", EncodeDate(2007, 2, 2), "31",
     EncodeDate(2007, 2, 28)},
    {"DayPastAprilsEndTakesItsLastDay", "dd.MM.yyyy", EncodeDate(2007, 4, 10), "31", EncodeDate(2007, 4, 30)},
    {"DayPastALeapFebruaryTakes29", "dd.MM.yyyy", EncodeDate(2008, 2, 2), "30", EncodeDate(2008, 2, 29)},
    {"DayInTheMonthIsTaken", "dd.MM.yyyy", EncodeDate(2007, 2, 2), "15", EncodeDate(2007, 2, 15)},
    {"DayOfAShortPictureKeepsTheMonth", "dd.MM", EncodeDate(2007, 2, 2), "31", EncodeDate(2007, 2, 28)},
    {"MonthPastTwelveTakesTwelve", "dd.MM.yyyy", EncodeDate(2007, 1, 15), ".13", EncodeDate(2007, 12, 15)},
    {"MonthShorterThanTheDayTakesItsLastDay", "dd.MM.yyyy", EncodeDate(2007, 1, 31), ".02",
     EncodeDate(2007, 2, 28)},
    {"YearWithoutFebruary29TakesThe28th", "dd.MM.yyyy", EncodeDate(2008, 2, 29), "..2007",
     EncodeDate(2007, 2, 28)},
    {"HourPast23Takes23", "HH:mm:ss", EncodeDate(2007, 2, 2) + EncodeTime(10, 30, 0, 0), "25",
     EncodeDate(2007, 2, 2) + EncodeTime(23, 30, 0, 0)},
    {"MinutePast59Takes59", "HH:mm:ss", EncodeDate(2007, 2, 2) + EncodeTime(10, 30, 0, 0), ":61",
     EncodeDate(2007, 2, 2) + EncodeTime(10, 59, 0, 0)},
    {"SecondPast59Takes59", "HH:mm:ss", EncodeDate(2007, 2, 2) + EncodeTime(10, 30, 0, 0), "::77",
     EncodeDate(2007, 2, 2) + EncodeTime(10, 30, 59, 0)},
};

class TypedFields : public ::testing::TestWithParam<TTypedCase> {};

TEST_P(TypedFields, AValueTheFieldLacksTakesItsLastAndNoOtherFieldMoves) {
    EnsureApp();
    const TTypedCase& c = GetParam();
    testsupport::MessageRecorder messages;
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 100);
    auto* before = new TEdit(&form);
    before->SetParent(&form);
    before->SetBounds(10, 40, 100, 21);
    auto* picker = new TDateTimePicker(&form);
    picker->SetParent(&form);
    picker->SetBounds(10, 10, 200, 21);
    picker->SetFormat(c.Format);
    picker->SetDateTime(c.Start);
    form.Show();
    before->SetFocus();
    inputkit::ProcessEvents();
    // Tab enters the picker on its first field, as a keyboard user reaches it.
    inputkit::PressToFocus(inputkit::Key::Tab);
    for (char k : std::string(c.Keys))
        inputkit::TypeToFocus(std::string(1, k));
    inputkit::Click(before, 5, 5);
    EXPECT_FALSE(ClientWidget(picker)->isAncestorOf(QApplication::focusWidget()));
    EXPECT_DOUBLE_EQ(picker->DateTime(), c.Expected)
        << "got " << ClientWidget(picker)->findChild<QDateTimeEdit*>()->dateTime().toString().toStdString();
    EXPECT_TRUE(messages.Texts().empty());
}

INSTANTIATE_TEST_SUITE_P(Keys, TypedFields, ::testing::ValuesIn(kTyped),
                         [](const auto& info) { return std::string(info.param.Name); });
