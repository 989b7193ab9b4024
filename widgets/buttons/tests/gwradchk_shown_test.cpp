// A glyph check box changed while it is not on screen draws nothing then; when it shows, its window
// holds the same pixels as a box changed on screen.
#include <gtest/gtest.h>

#include "Gwradchk.h"
#include "extctrls.h"
#include "forms.h"
#include "gw_support.h"
#include "screenkit.h"

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

} // namespace
