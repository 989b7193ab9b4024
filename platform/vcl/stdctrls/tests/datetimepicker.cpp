// Date-time picker: format pictures, the DTM_/MCM_ messages, the user's change against values set
// from code, the calendar's drop-down and close-up, and the check box.
#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateTimeEdit>

#include "comctrls.h"
#include "forms.h"
#include "gfx_support.h"
#include "handle.h"

namespace {

TEST(DateTimeFormat, WindowsPicturesBecomeQtFormats)
{
    const std::pair<const char*, const char*> cases[] = {
        {"dd.MM", "dd.MM"},
        {"dd.MM.yyyy", "dd.MM.yyyy"},
        {"d MMMM yy", "d MMMM yy"},
        {"HH:mm:ss", "HH:mm:ss"},
        {"hh:mm tt", "hh:mm AP"},
        {"'day' d", "'day' d"},
        {"dd-MM g", "dd-MM 'g'"},
    };
    for (auto& [win, qt] : cases)
        EXPECT_EQ(DateTimeFormatToQt(win), qt) << win;
}

class Pickers : public ::testing::Test {
protected:
    void SetUp() override
    {
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
    void TearDown() override
    {
        delete Form;
        Application->ProcessMessages();
    }
    QDateTimeEdit* Edit() { return ClientWidget(Picker)->findChild<QDateTimeEdit*>(); }
    TForm* Form = nullptr;
    TDateTimePicker* Picker = nullptr;
    std::vector<std::string> Log;
};

TEST_F(Pickers, MessagesSetTheFormatColoursAndFirstDay)
{
    static const char fmt[] = "dd.MM";
    EXPECT_EQ(Picker->Perform(DTM_SETFORMAT, 0, LPARAM(fmt)), 1);
    EXPECT_EQ(Edit()->text(), "14.03");
    EXPECT_EQ(Picker->Perform(DTM_SETMCCOLOR, MCSC_TITLEBK, clRed), LRESULT(ColorToRGB(clActiveCaption)));
    EXPECT_EQ(Picker->CalColor(MCSC_TITLEBK), clRed);
    EXPECT_EQ(Picker->Perform(DTM_SETMCCOLOR, 9, clRed), -1);
    EXPECT_EQ(Picker->Perform(DTM_GETMONTHCAL, 0, 0), 0);  // not dropped down
    Picker->Perform(MCM_SETFIRSTDAYOFWEEK, 0, dowSunday);
    EXPECT_EQ(Edit()->calendarWidget()->firstDayOfWeek(), Qt::Sunday);
    EXPECT_EQ(LOWORD(Picker->Perform(MCM_GETFIRSTDAYOFWEEK, 0, 0)), 6);
    EXPECT_TRUE(Log.empty());
}

TEST_F(Pickers, UserChangesTellOnChangeAndValuesFromCodeStaySilent)
{
    Picker->SetDateTime(EncodeDate(2026, 1, 2) + EncodeTime(10, 30, 0, 0));
    EXPECT_EQ(Edit()->date(), QDate(2026, 1, 2));
    EXPECT_DOUBLE_EQ(Picker->Time(), EncodeTime(10, 30, 0, 0));
    EXPECT_TRUE(Log.empty());
    Edit()->setFocus();
    Edit()->setCurrentSection(QDateTimeEdit::DaySection);
    TypeKey(Edit(), Qt::Key_Up);
    EXPECT_EQ(Picker->Date(), EncodeDate(2026, 1, 3));
    EXPECT_EQ(Log, std::vector<std::string>{"change"});
    // The calendar drops down and closes again.
    Edit()->calendarWidget()->window()->show();
    EXPECT_TRUE(Picker->DroppedDown());
    EXPECT_EQ(Picker->Perform(DTM_GETMONTHCAL, 0, 0), reinterpret_cast<LRESULT>(Picker->Handle()));
    Edit()->calendarWidget()->window()->hide();
    EXPECT_EQ(Log, (std::vector<std::string>{"change", "drop", "close"}));
}

TEST_F(Pickers, CheckBoxEnablesTheValueAndTheTimeKindUsesItsOwnFormat)
{
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

} // namespace
