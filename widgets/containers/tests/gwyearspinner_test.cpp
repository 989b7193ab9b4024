// The calendar's year spinner: shown by a press on the year, its steps move the view a year within
// the date bounds and the years 1..9999; Enter, Escape, losing the focus or a press elsewhere hide it.
#include <gtest/gtest.h>

#include "Gwpopups.h"
#include "forms.h"
#include "inputkit.h"

namespace {

TDateTime FixedToday() { return EncodeDate(2026, 7, 15); }

class GwYearSpinner : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        SetClock(&FixedToday);
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 400);
        Form->Show();
        Cal = new TGwCalendar(Form);
        Cal->SetParent(Form);
        Cal->SetAutoSize(false);
        Cal->SetBounds(0, 0, 200, 200);
        Cal->CalcAreas();
        Spin = Cal->YearSpinner();
    }
    void TearDown() override {
        delete Form;
        SetClock(nullptr);
        Application->ProcessMessages();
    }
    void PressYear() {
        const TRect r = Cal->Area(caYear);
        const TPoint p(Cal->Area(caMonth).Right + 4, (r.Top + r.Bottom) / 2);
        ASSERT_EQ(Cal->AreaAt(p), caYear);
        inputkit::Click(Cal, p.x, p.y);
    }
    int ViewYear() {
        unsigned short y, m, d;
        DecodeDate(Cal->ViewDate(), y, m, d);
        return y;
    }
    TForm* Form = nullptr;
    TGwCalendar* Cal = nullptr;
    TGwYearSpinner* Spin = nullptr;
};

TEST_F(GwYearSpinner, PressOnTheYearShowsItAndStepsMoveTheViewAYear) {
    EXPECT_FALSE(Cal->YearSpinnerShowing());
    EXPECT_FALSE(Spin->TabStop());
    PressYear();
    ASSERT_TRUE(Cal->YearSpinnerShowing());
    EXPECT_TRUE(Spin->Focused());
    EXPECT_EQ(Spin->Value(), 2026);
    inputkit::Press(Spin, inputkit::Key::Up);
    inputkit::Press(Spin, inputkit::Key::Up);
    EXPECT_EQ(ViewYear(), 2028);
    EXPECT_EQ(Cal->ViewDate(), EncodeDate(2028, 7, 1));
    inputkit::Press(Spin, inputkit::Key::Down);
    EXPECT_EQ(ViewYear(), 2028) << "the down arrow is not the spinner's";
    inputkit::Click(Spin, 3, 3);
    EXPECT_EQ(ViewYear(), 2027) << "the minus button";
}

TEST_F(GwYearSpinner, YearsStayWithinTheBoundsAndNeverReachZero) {
    Cal->SetMinDate(EncodeDate(2020, 3, 1));
    Cal->SetMaxDate(EncodeDate(2027, 3, 1));
    PressYear();
    EXPECT_EQ(Spin->Min(), 2020);
    EXPECT_EQ(Spin->Max(), 2027);
    for (int i = 0; i < 5; ++i)
        inputkit::Press(Spin, inputkit::Key::Up);
    EXPECT_EQ(Spin->Value(), 2027);
    Cal->HideYearSpinner();
    Cal->SetMinDate(0);
    Cal->SetMaxDate(0);
    PressYear();
    EXPECT_EQ(Spin->Min(), 1);
    EXPECT_EQ(Spin->Max(), 9999);
    Spin->SetValue(0);
    EXPECT_EQ(Spin->Value(), 1);
    EXPECT_EQ(ViewYear(), 1);
}

struct HideCase {
    const char* Name;
    int Key;    // a key on the spinner, else
    bool Press; // a press on the calendar's days, else the focus goes to the form
};

TEST_F(GwYearSpinner, EnterEscapeFocusLossAndAPressElsewhereHideIt) {
    const HideCase cases[] = {{"Enter", inputkit::Key::Return, false},
                              {"Escape", inputkit::Key::Escape, false},
                              {"PressOnCalendar", 0, true},
                              {"FocusLost", 0, false}};
    for (const HideCase& c : cases) {
        PressYear();
        ASSERT_TRUE(Cal->YearSpinnerShowing()) << c.Name;
        if (c.Key)
            inputkit::Press(Spin, c.Key);
        else if (c.Press)
            inputkit::MouseDown(Cal, 100, 150);
        else
            Form->SetFocus();
        EXPECT_FALSE(Cal->YearSpinnerShowing()) << c.Name;
        if (c.Press)
            inputkit::MouseUp(Cal, 100, 150);
    }
    EXPECT_EQ(Cal->Date(), 0.0) << "the press that hid the spinner picked no day";
}

} // namespace
