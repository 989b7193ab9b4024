// The public face of the GUI core compiles without Qt: this file sees only what widgets, forms,
// the model and the device objects see, and builds with no Qt folder on its include path.
#if __has_include(<QWidget>) || __has_include(<QtWidgets/QWidget>) || __has_include(<QtCore/QObject>)
#error "Qt headers are reachable from a user of the GUI core"
#endif

#include <gtest/gtest.h>

#include "clipbrd.h"
#include "controls.h"
#include "dialogs.h"
#include "extctrls.h"
#include "forms.h"
#include "graphics.h"
#include "menus.h"
#include "messages.h"
#include "stdctrls.h"
#include "timers.h"
#include "winapi.h"
#include "wingdi.h"

namespace {

// A form with a panel and an edit, driven through the message path; a bitmap painted through the
// device-context functions.
TEST(VclWithoutQt, FormControlsAndCanvasWorkThroughThePublicHeaders) {
    Application->Initialize();
    TForm form(nullptr);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    auto* edit = new TEdit(&form);
    edit->SetParent(panel);
    edit->SetText("Канал 1");
    char text[16] = {};
    EXPECT_EQ(SendMessage(edit->Handle(), WM_GETTEXT, sizeof text, LPARAM(text)), 7);
    EXPECT_STREQ(text, "Канал 1");
    EXPECT_EQ(FindControl(edit->Handle()), edit);

    TBitmap bmp;
    bmp.SetSize(8, 8);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    TRect r = Rect(2, 2, 6, 6);
    EXPECT_EQ(FillRect(bmp.Canvas()->Handle(), &r, red), 1);
    DeleteObject(red);
    EXPECT_EQ(bmp.Canvas()->GetPixel(2, 2), TColor(RGB(255, 0, 0)));
    EXPECT_NE(bmp.Canvas()->GetPixel(6, 6), TColor(RGB(255, 0, 0)));
}

} // namespace
