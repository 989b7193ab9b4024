// The keyboard focus on the library's buttons, check boxes, radio buttons and spinner shows as a
// dotted rectangle once Tab moves it there, and goes with it.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "Gwbutton.h"
#include "Gwradchk.h"
#include "Gwspnedt.h"
#include "forms.h"
#include "gw_support.h"
#include "inputkit.h"
#include "screenkit.h"
#include "stdctrls.h"

namespace {

using namespace inputkit;

struct FocusCase {
    const char* name;
    std::function<TWinControl*(TForm*)> make;
    // The mark's place in the control (120 x 25).
    std::function<void(const TRect&)> check;
};
void PrintTo(const FocusCase& c, std::ostream* os) { *os << c.name; }

template <class T> T* Place(TForm* f) {
    auto* c = new T(f);
    c->SetParent(f);
    c->SetBounds(10, 40, 120, 25);
    return c;
}

// A default button looks the same focused or not but for its focus mark.
template <class T> T* DefaultButton(TForm* f, bool flat) {
    auto* b = Place<T>(f);
    b->SetCaption("Отмена");
    b->SetDefault(true);
    b->SetHotTrack(flat);
    return b;
}

template <class T> T* Box(TForm* f, bool flat) {
    auto* b = Place<T>(f);
    b->SetCaption("Автозапуск");
    b->SetHotTrack(flat);
    return b;
}

std::function<void(const TRect&)> Inset(int by) {
    return [by](const TRect& r) { EXPECT_EQ(r, TRect(by, by, 120 - by, 25 - by)); };
}

void AroundTheCaption(const TRect& r) {
    EXPECT_EQ(r.Left, 17) << "right of the glyph";
    EXPECT_GT(r.Width(), 30) << "as wide as the caption";
    EXPECT_LE(r.Right, 120);
}

const FocusCase kCases[] = {
    {"Button", [](TForm* f) { return DefaultButton<TGwButton>(f, false); }, Inset(4)},
    {"FlatButton", [](TForm* f) { return DefaultButton<TGwButton>(f, true); }, Inset(3)},
    {"BitBtn", [](TForm* f) { return DefaultButton<TGwBitBtn>(f, false); }, Inset(4)},
    {"CheckBox", [](TForm* f) { return Box<TGwCheckBox>(f, false); }, AroundTheCaption},
    {"FlatCheckBox", [](TForm* f) { return Box<TGwCheckBox>(f, true); }, AroundTheCaption},
    {"RadioButton",
     [](TForm* f) {
         auto* r = Box<TGwRadioButton>(f, false);
         r->SetChecked(true); // the checked one is Tab's stop
         return r;
     },
     AroundTheCaption},
    {"Spinner", [](TForm* f) { return Place<TGwSpinner>(f); },
     [](const TRect& r) { EXPECT_EQ(r, TRect(19, 2, 101, 23)) << "between its buttons"; }},
};

class GwFocusMark : public testing::TestWithParam<FocusCase> {
protected:
    void SetUp() override {
        TApplication::QtApp();
        RegisterGwButtonResources();
        form = new TForm(nullptr);
        form->SetBounds(0, 0, 300, 200);
        edit = new TEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 120, 21);
        control = GetParam().make(form);
        form->Show();
        ProcessEvents();
    }
    void TearDown() override {
        delete form;
        Application->ProcessMessages();
    }
    TForm* form = nullptr;
    TEdit* edit = nullptr;
    TWinControl* control = nullptr;
};

TEST_P(GwFocusMark, ShowsWhileTabHasTheFocusThereAndGoesWithIt) {
    Click(edit, 5, 5);
    ASSERT_TRUE(edit->Focused());
    ProcessEvents();
    TBitmap without, with, after;
    screenkit::Window(control, without);

    Press(edit, Key::Tab);
    ASSERT_TRUE(control->Focused());
    ProcessEvents();
    screenkit::Window(control, with);
    const TRect mark = screenkit::DottedRect(with, without);
    ASSERT_FALSE(mark.IsEmpty()) << "a dotted rectangle marks the focus";
    GetParam().check(mark);

    Press(control, Key::Backtab, Shift);
    ASSERT_TRUE(edit->Focused());
    ProcessEvents();
    screenkit::Window(control, after);
    EXPECT_TRUE(screenkit::SamePixels(after, without)) << "the mark goes with the focus";
}

INSTANTIATE_TEST_SUITE_P(Widgets, GwFocusMark, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<FocusCase>& i) {
                             return std::string(i.param.name);
                         });

} // namespace
