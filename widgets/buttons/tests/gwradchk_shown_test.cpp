// A glyph check box or radio button draws a change of state on screen as it happens, whatever made
// the change; one changed while it is not on screen draws nothing then, and when it shows, its window
// holds the same pixels as a box changed on screen. The mouse coming and going repaints the glyph
// alone.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "Gwradchk.h"
#include "extctrls.h"
#include "forms.h"
#include "gw_support.h"
#include "inputkit.h"
#include "screenkit.h"

void PrintTo(const TRect& R, std::ostream* os) {
    *os << "(" << R.Left << "," << R.Top << "," << R.Right << "," << R.Bottom << ")";
}

namespace {

TEST(GwCheckBoxShown, ABoxCheckedWhileHiddenShowsAsOneCheckedOnScreen) {
    TApplication::QtApp();
    RegisterGwButtonResources();
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    // Both on panels alike; the second panel is hidden while its box is checked.
    auto* near = new TPanel(&form);
    near->SetParent(&form);
    near->SetBounds(0, 0, 150, 100);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(150, 0, 150, 100);
    panel->SetVisible(false);
    auto make = [&](TWinControl* parent) {
        auto* b = new TGwCheckBox(&form);
        b->SetParent(parent);
        b->SetBounds(10, 10, 120, 17);
        b->SetCaption("Канал 1");
        // Neither takes the focus when the form shows (a focused box draws its focus frame).
        b->SetTabStop(false);
        return b;
    };
    TGwCheckBox* shown = make(near);
    TGwCheckBox* hidden = make(panel);
    form.Show();
    Application->ProcessMessages();
    shown->SetChecked(true);
    hidden->SetChecked(true);
    panel->SetVisible(true);
    Application->ProcessMessages();
    TBitmap a, b;
    screenkit::Window(shown, a);
    screenkit::Window(hidden, b);
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    int differ = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            differ += a.Canvas()->GetPixel(x, y) != b.Canvas()->GetPixel(x, y);
    EXPECT_EQ(differ, 0);
    EXPECT_TRUE(hidden->Checked());
}

enum class TBoxKind { CheckBox, RadioButton, FlatCheckBox, FlatRadioButton };
enum class TChangePath { Click, Space, Code };

struct TTickCase {
    const char* name;
    TBoxKind kind;
    TChangePath path;
};
void PrintTo(const TTickCase& c, std::ostream* os) { *os << c.name; }

class GlyphBoxOnScreen : public testing::TestWithParam<TTickCase> {};

// What the screen keeps of the box right after the change, with no paint asked for, is what a
// fresh paint of the checked box gives, and not what it showed before.
TEST_P(GlyphBoxOnScreen, ShowsTheChangeAtOnce) {
    TApplication::QtApp();
    RegisterGwButtonResources();
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    const TBoxKind kind = GetParam().kind;
    TGwCustomGlyphButton* box = nullptr;
    if (kind == TBoxKind::CheckBox || kind == TBoxKind::FlatCheckBox)
        box = new TGwCheckBox(&form);
    else
        box = new TGwRadioButton(&form);
    box->SetParent(&form);
    box->SetBounds(10, 10, 120, 17);
    box->SetCaption("Канал 1");
    box->SetHotTrack(kind == TBoxKind::FlatCheckBox || kind == TBoxKind::FlatRadioButton);
    box->SetTabStop(false);
    form.Show();
    inputkit::ProcessEvents();
    if (GetParam().path == TChangePath::Space) {
        box->SetFocus();
        inputkit::ProcessEvents();
    }
    TBitmap before, after, fresh;
    screenkit::OnScreen(box, before);

    switch (GetParam().path) {
    case TChangePath::Click: inputkit::Click(box, 6, box->Height() / 2); break;
    case TChangePath::Space: inputkit::Press(box, inputkit::Key::Space); break;
    case TChangePath::Code: box->SetChecked(true); break;
    }
    ASSERT_TRUE(box->Checked());
    screenkit::OnScreen(box, after);
    screenkit::Client(box, fresh);
    EXPECT_FALSE(screenkit::SamePixels(before, after)) << "the change is not on screen";
    EXPECT_TRUE(screenkit::SamePixels(after, fresh)) << "the screen shows other pixels than a paint";
}

INSTANTIATE_TEST_SUITE_P(
    Gw, GlyphBoxOnScreen,
    testing::Values(TTickCase{"CheckBoxClicked", TBoxKind::CheckBox, TChangePath::Click},
                    TTickCase{"CheckBoxSpace", TBoxKind::CheckBox, TChangePath::Space},
                    TTickCase{"CheckBoxFromCode", TBoxKind::CheckBox, TChangePath::Code},
                    TTickCase{"FlatCheckBoxClicked", TBoxKind::FlatCheckBox, TChangePath::Click},
                    TTickCase{"FlatCheckBoxSpace", TBoxKind::FlatCheckBox, TChangePath::Space},
                    TTickCase{"FlatCheckBoxFromCode", TBoxKind::FlatCheckBox, TChangePath::Code},
                    TTickCase{"RadioButtonClicked", TBoxKind::RadioButton, TChangePath::Click},
                    TTickCase{"RadioButtonFromCode", TBoxKind::RadioButton, TChangePath::Code},
                    TTickCase{"FlatRadioButtonClicked", TBoxKind::FlatRadioButton, TChangePath::Click},
                    TTickCase{"FlatRadioButtonFromCode", TBoxKind::FlatRadioButton, TChangePath::Code}),
    [](const auto& info) { return std::string(info.param.name); });

struct THoverCase {
    const char* name;
    TBoxKind kind;
    TAlignment alignment;
    TAlignmentVertical vertical;
};
void PrintTo(const THoverCase& c, std::ostream* os) { *os << c.name; }

class GlyphBoxHover : public testing::TestWithParam<THoverCase> {};

TEST_P(GlyphBoxHover, RepaintsTheGlyphAloneAndShowsItsHotLook) {
    const THoverCase& c = GetParam();
    TApplication::QtApp();
    RegisterGwButtonResources();
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    TGwCustomGlyphButton* box = nullptr;
    if (c.kind == TBoxKind::FlatCheckBox)
        box = new TGwCheckBox(&form);
    else
        box = new TGwRadioButton(&form);
    box->SetParent(&form);
    box->SetBounds(10, 10, 120, 30);
    box->SetCaption("Канал 1");
    box->SetHotTrack(true);
    box->SetAlignment(c.alignment);
    box->SetAlignmentVertical(c.vertical);
    box->SetTabStop(false);
    form.Show();
    // The mouse comes from a point of the form away from the box.
    inputkit::MouseMove(&form, 250, 150);
    inputkit::ProcessEvents();
    TBitmap before, hot, fresh, left;
    screenkit::OnScreen(box, before);
    const TRect glyph = box->GlyphRect();
    {
        screenkit::TPaintWatch watch(box);
        inputkit::MouseMove(box, glyph.Left + 6, glyph.Top + 6);
        inputkit::ProcessEvents();
        ASSERT_TRUE(box->MouseOverButton());
        EXPECT_EQ(watch.Painted(), std::vector<TRect>{glyph}) << "the mouse came in";
        screenkit::OnScreen(box, hot);
        watch.Clear();
        inputkit::MouseMove(&form, 250, 150);
        inputkit::ProcessEvents();
        ASSERT_FALSE(box->MouseOverButton());
        EXPECT_EQ(watch.Painted(), std::vector<TRect>{glyph}) << "the mouse went";
        screenkit::OnScreen(box, left);
    }
    EXPECT_FALSE(screenkit::SamePixels(before, hot)) << "no hot look";
    EXPECT_TRUE(screenkit::SamePixels(left, before)) << "the hot look stays";
    box->Perform(CM_MOUSEENTER);
    screenkit::Client(box, fresh);
    EXPECT_TRUE(screenkit::SamePixels(hot, fresh)) << "the screen shows other pixels than a paint";
}

INSTANTIATE_TEST_SUITE_P(
    Gw, GlyphBoxHover,
    testing::Values(THoverCase{"CheckBoxGlyphLeftTop", TBoxKind::FlatCheckBox, taRightJustify, avTop},
                    THoverCase{"CheckBoxGlyphRightCentred", TBoxKind::FlatCheckBox, taLeftJustify, avCenter},
                    THoverCase{"RadioButtonGlyphLeftBottom", TBoxKind::FlatRadioButton, taRightJustify,
                               avBottom},
                    THoverCase{"RadioButtonGlyphRightTop", TBoxKind::FlatRadioButton, taLeftJustify, avTop}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
