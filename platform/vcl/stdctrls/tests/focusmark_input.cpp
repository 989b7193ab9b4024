// The keyboard focus on the wrapped buttons shows as the classic desktop shows it: Tab moves it, and
// the focused button, check box or radio button shows a dotted rectangle (inside a push button,
// around a caption), which goes with the focus.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "forms.h"
#include "inputkit.h"
#include "screenkit.h"
#include "stdctrls.h"

namespace {

using namespace inputkit;

struct FocusCase {
    const char* Name;
    std::function<TWinControl*(TForm*)> Make;
    // Where the mark stands in a control of 120 x 25: the push button's inside its frame; the
    // others' around the caption, right of the 13-pixel box.
    std::function<void(const TRect&)> Check;
};

void PrintTo(const FocusCase& c, std::ostream* os) { *os << c.Name; }

template <class T> T* Place(TForm* f, const char* caption) {
    auto* c = new T(f);
    c->SetParent(f);
    c->SetBounds(10, 40, 120, 25);
    c->SetCaption(caption);
    return c;
}

void InsideTheFrame(const TRect& r) { EXPECT_EQ(r, TRect(4, 4, 116, 21)); }

void AroundTheCaption(const TRect& r) {
    EXPECT_GE(r.Left, 14) << "right of the box";
    EXPECT_LE(r.Left, 18);
    EXPECT_GT(r.Width(), 30) << "as wide as the caption";
    EXPECT_LT(r.Right, 120);
    EXPECT_GT(r.Height(), 10);
}

const FocusCase kFocusCases[] = {
    {"Button", [](TForm* f) { return Place<::TButton>(f, "Отмена"); }, InsideTheFrame},
    {"CheckBox", [](TForm* f) { return Place<TCheckBox>(f, "Автозапуск"); }, AroundTheCaption},
    {"RadioButton",
     [](TForm* f) {
         auto* r = Place<TRadioButton>(f, "Автозапуск");
         r->SetChecked(true); // the checked button of a group is the one Tab reaches
         return r;
     },
     AroundTheCaption},
};

class FocusMark : public ::testing::TestWithParam<FocusCase> {
protected:
    void SetUp() override {
        Application->Initialize();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 320, 200);
        Edit = new TEdit(Form);
        Edit->SetParent(Form);
        Edit->SetBounds(10, 10, 120, 21);
        Control = GetParam().Make(Form);
        Form->Show();
        ProcessEvents();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    TForm* Form = nullptr;
    TEdit* Edit = nullptr;
    TWinControl* Control = nullptr;
};

TEST_P(FocusMark, ShowsWhileTabHasTheFocusThereAndGoesWithIt) {
    Click(Edit, 5, 5);
    ASSERT_TRUE(Edit->Focused());
    TBitmap without, with, after;
    screenkit::Window(Control, without);

    Press(Edit, Key::Tab);
    ASSERT_TRUE(Control->Focused());
    screenkit::Window(Control, with);
    const TRect mark = screenkit::DottedRect(with, without);
    ASSERT_FALSE(mark.IsEmpty()) << "a dotted rectangle marks the focus";
    GetParam().Check(mark);

    Press(Control, Key::Backtab, Shift);
    ASSERT_TRUE(Edit->Focused());
    screenkit::Window(Control, after);
    EXPECT_TRUE(screenkit::SamePixels(after, without)) << "the mark goes with the focus";
}

INSTANTIATE_TEST_SUITE_P(Controls, FocusMark, ::testing::ValuesIn(kFocusCases),
                         [](const ::testing::TestParamInfo<FocusCase>& i) {
                             return std::string(i.param.Name);
                         });

} // namespace
