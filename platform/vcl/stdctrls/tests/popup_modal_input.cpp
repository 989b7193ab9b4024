// A popup dropped from a modal form takes the user's mouse: the calendar of a date picker on a
// modal form, dropped with a click on its button, picks the day the user moves to and clicks.
#include <gtest/gtest.h>

#include <functional>

#include "comctrls.h"
#include "forms.h"
#include "inputkit.h"
#include "winapi.h"

namespace {

using namespace inputkit;

// A form that runs the test's steps inside its own modal loop, then closes.
class TModalHost : public TForm {
public:
    static constexpr UINT kRunSteps = WM_USER + 1;
    using TForm::TForm;
    std::function<void()> Steps;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg != kRunSteps) {
            TForm::Dispatch(Message);
            return;
        }
        Steps();
        SetModalResult(mrOk);
    }
};

struct DayCase {
    const char* Name;
    int Day; // of March 2026; the picker holds the 14th
};

void PrintTo(const DayCase& c, std::ostream* os) { *os << c.Name; }

const DayCase kDays[] = {{"FirstOfMonth", 1}, {"NextWeek", 19}, {"LastOfMonth", 31}};

class ModalFormCalendar : public ::testing::TestWithParam<DayCase> {
protected:
    void SetUp() override { Application->Initialize(); }
};

TEST_P(ModalFormCalendar, ClickOnADayPicksIt) {
    const int day = GetParam().Day;
    TModalHost form(nullptr);
    form.SetBounds(100, 100, 300, 200);
    auto* picker = new TDateTimePicker(&form);
    picker->SetParent(&form);
    picker->SetBounds(10, 10, 120, 21);
    picker->SetDate(EncodeDate(2026, 3, 14));
    bool ran = false;
    form.Steps = [&] {
        ran = true;
        Click(picker, picker->Width() - 8, picker->Height() / 2);
        ASSERT_TRUE(picker->DroppedDown());
        TWinControl* cal = FindControl(reinterpret_cast<HWND>(picker->Perform(DTM_GETMONTHCAL, 0, 0)));
        ASSERT_NE(cal, nullptr);
        int x = 0, y = 0;
        ASSERT_TRUE(DayPoint(cal, 2026, 3, day, x, y));
        MouseMove(cal, x, 1);
        MouseMove(cal, x, y);
        ASSERT_TRUE(picker->DroppedDown());
        Click(cal, x, y);
        EXPECT_FALSE(picker->DroppedDown());
    };
    PostMessage(form.Handle(), TModalHost::kRunSteps, 0, 0);
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_TRUE(ran);
    EXPECT_EQ(picker->Date(), EncodeDate(2026, 3, day));
}

INSTANTIATE_TEST_SUITE_P(Days, ModalFormCalendar, ::testing::ValuesIn(kDays),
                         [](const ::testing::TestParamInfo<DayCase>& i) {
                             return std::string(i.param.Name);
                         });

} // namespace
