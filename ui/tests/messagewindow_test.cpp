// The message window and the main window's frame as the user handles them with the mouse and the
// window manager: the message window dragged out to float, its own menu, its close box, dragged
// back onto the main window's bottom edge, shown again from the view menu; the window maximised
// by the window manager and saved so.
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "Conjoinhost.h"
#include "Dockform.h"
#include "Gwbars.h"
#include "Gwtabpages.h"
#include "Tabhost.h"
#include "Umain.h"
#include "Uprogram.h"
#include "dragdock.h"
#include "inifiles.h"
#include "inputkit.h"
#include "mainwindow_fixture.h"
#include "screenkit.h"

namespace {

using namespace inputkit;

std::string Str(const TRect& r) {
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom);
}

// Every message shown is counted; none is expected here.
struct CountedDialogs : TDialogService {
    int Shown = 0;
    int MessageBox(const std::string&, const std::string&, UINT) override { return ++Shown, IDOK; }
    int MessageDlg(const std::string&, TMsgDlgType, TMsgDlgButtons) override { return ++Shown, mrYes; }
    bool FileDialog(TFileDialogRequest&, std::vector<std::string>&) override { return false; }
};

// The caption strip a floating dockable form draws above its client area, in client coordinates:
// its row and the middle of its close box at the right end.
constexpr int kCaptionY = -8;
int CloseBoxX(TControl* f) { return f->ClientWidth() - 9; }
// The close box in the form's window coordinates: a 14 x 12 button 6 pixels in from the right
// and the top.
TRect CloseBoxRect(TControl* f) { return TRect(f->Width() - 20, 6, f->Width() - 6, 18); }

class MessageWindow : public TMainWindowTest<CountedDialogs> {
protected:
    void SetUp() override {
        TMainWindowTest::SetUp();
        m->SetBounds(0, 0, 780, 560);
        m->Show();
        form = DockableForm;
        SetDockPreviewHook([this](const TRect& r, int, bool show) {
            if (show)
                previews.push_back(r);
        });
    }
    void TearDown() override {
        SetDockPreviewHook(nullptr);
        TMainWindowTest::TearDown();
    }
    void ChooseInMenu(const std::string& title, const std::string& item) {
        ChooseInNextMenu(item);
        ClickMenuBar(m, title);
        ProcessEvents();
    }
    // The message window, docked at the bottom, dragged by its grabber (the strip at its left,
    // below the grabber's close button) into the middle of the main window, where no site takes it.
    void DragOut() {
        ASSERT_EQ(form->HostDockSite(), m->BottomDockPanel);
        TPoint middle = m->BottomDockPanel->ScreenToClient(m->ClientToScreen(TPoint(300, 150)));
        Drag(m->BottomDockPanel, form->Left() - 6, form->Top() + 40, middle.x, middle.y);
        ProcessEvents();
        ASSERT_EQ(form->HostDockSite(), nullptr);
        ASSERT_TRUE(form->Floating());
    }
    // The message window's caption dragged to a point of the main window's client area.
    void DragCaptionTo(TPoint client) {
        TPoint to = form->ScreenToClient(m->ClientToScreen(client));
        Drag(form, 40, kCaptionY, to.x, to.y);
        ProcessEvents();
    }

    // A second dockable form dropped on the floating message window: on its left fifth, which joins
    // the two side by side, or on its centre, which puts them on pages. The drop itself is not what
    // these tests are about.
    TDockableForm* DockSecond(bool onPages) {
        auto* second = new TDockableForm(Application);
        second->SetCaption("Второе");
        form->ManualFloat(Bounds(100, 100, 339, 110));
        form->Show();
        second->Show();
        TDragDockObject drop(second);
        drop.Floating = false;
        const LPARAM at =
            onPages ? MAKELPARAM(form->ClientWidth() / 2, form->ClientHeight() / 2) : MAKELPARAM(2, 50);
        form->Perform(CM_DOCKCLIENT, reinterpret_cast<WPARAM>(&drop), at);
        return second;
    }

    TDockableForm* form = nullptr;
    std::vector<TRect> previews;
};

TEST_F(MessageWindow, FloatingItKeepsItsMenuClosesAndDocksBackAtTheBottomEdge) {
    ChooseInMenu("Вид", "Окно Сообщений");
    // Its own menu, docked and floating.
    auto clearByMenu = [&] {
        AddMessage("x", kMessageError);
        ChooseInNextMenu("Очистить Результаты Проверки");
        Click(form->MessageMemo, 20, 10, Right);
        ProcessEvents();
        EXPECT_EQ(form->MessageMemo->Lines()->Count(), 0);
    };
    clearByMenu();
    DragOut();
    EXPECT_EQ(m->BottomDockPanel->Height(), 0);
    EXPECT_TRUE(form->Visible());
    clearByMenu();

    // Over the bottom edge the panel, of no height, takes it: the preview is the strip of the
    // form's height above the panel, and the release docks it.
    previews.clear();
    TPoint panelOrigin = m->BottomDockPanel->ClientToScreen(TPoint(0, 0));
    DragCaptionTo(TPoint(300, m->ClientHeight() - m->GwStatusBar1->Height() - 3));
    ASSERT_FALSE(previews.empty());
    EXPECT_EQ(previews.back().Left, panelOrigin.x);
    EXPECT_EQ(previews.back().Top, panelOrigin.y);
    EXPECT_EQ(form->HostDockSite(), m->BottomDockPanel);
    EXPECT_EQ(m->BottomDockPanel->Height(), m->ClientHeight() / 3);

    // Floating again, its close box hides it; the view menu brings it back to the bottom.
    DragOut();
    Click(form, CloseBoxX(form), kCaptionY);
    ProcessEvents();
    EXPECT_FALSE(form->Visible());
    ChooseInMenu("Вид", "Окно Сообщений");
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(form->HostDockSite(), m->BottomDockPanel);
    EXPECT_EQ(dialogs.Shown, 0);
}

TEST_F(MessageWindow, APressOnTheCloseBoxReleasedElsewhereClosesNothing) {
    ChooseInMenu("Вид", "Окно Сообщений");
    DragOut();
    MouseDown(form, CloseBoxX(form), kCaptionY);
    MouseUp(form, 40, 20);
    ProcessEvents();
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(form->HostDockSite(), nullptr);
}

TEST_F(MessageWindow, TheViewCommandShowsItAgainAfterItsHostWasClosed) {
    DockSecond(false);
    auto* host = dynamic_cast<TConjoinDockHost*>(form->HostDockSite());
    ASSERT_NE(host, nullptr);
    host->Perform(WM_CLOSE, 0, 0); // the window manager's close box
    ASSERT_FALSE(host->Visible());
    ASSERT_FALSE(form->Showing());
    ChooseInMenu("Вид", "Окно Сообщений");
    EXPECT_TRUE(host->Visible());
    EXPECT_TRUE(form->Showing());
}

TEST_F(MessageWindow, AWindowMaximisedByTheWindowManagerIsSavedMaximisedWithItsNormalGeometry) {
    const std::string settings = dir.File("qbxconf.ini");
    TMainWindowTest::TearDown();
    std::ofstream(settings) << "[Window]\nLeft=60\nTop=40\nWidth=640\nHeight=480\nWindowState=0\n";
    TMainWindowTest::SetUp();
    m->Show();
    ProcessEvents();
    ASSERT_EQ(Str(m->BoundsRect()), "60,40,700,520");
    WindowManagerSets(m, TWindowManagerState::Maximized);
    EXPECT_EQ(m->WindowState(), wsMaximized);
    EXPECT_NE(Str(m->BoundsRect()), "60,40,700,520");

    TMainWindowTest::TearDown();
    {
        TIniFile written(settings);
        EXPECT_EQ(written.ReadString("Window", "WindowState", ""), "2");
        EXPECT_EQ(written.ReadString("Window", "Left", ""), "60");
        EXPECT_EQ(written.ReadString("Window", "Top", ""), "40");
        EXPECT_EQ(written.ReadString("Window", "Width", ""), "640");
        EXPECT_EQ(written.ReadString("Window", "Height", ""), "480");
    }

    // The next start comes up maximised, and the window manager's restore gives the normal bounds.
    TMainWindowTest::SetUp();
    m->Show();
    ProcessEvents();
    EXPECT_EQ(m->WindowState(), wsMaximized);
    WindowManagerSets(m, TWindowManagerState::Normal);
    EXPECT_EQ(m->WindowState(), wsNormal);
    EXPECT_EQ(Str(m->BoundsRect()), "60,40,700,520");
}

TEST_F(MessageWindow, TheViewCommandBringsItsPageToTheFrontOfItsTabHost) {
    TDockableForm* second = DockSecond(true);
    auto* pages = dynamic_cast<TGwPageControl*>(form->HostDockSite());
    ASSERT_NE(pages, nullptr);
    auto* host = dynamic_cast<TTabDockHost*>(pages->Owner());
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(pages->ActivePage(), pages->GetPageFromDockClient(second)); // docked last, in front

    // The host shown with the other page in front, then the host closed by the window manager.
    for (bool closed : {false, true}) {
        pages->SetActivePage(pages->GetPageFromDockClient(second));
        if (closed)
            host->Perform(WM_CLOSE, 0, 0);
        ASSERT_EQ(host->Visible(), !closed);
        ASSERT_FALSE(form->Showing());
        ChooseInMenu("Вид", "Окно Сообщений");
        EXPECT_TRUE(host->Visible()) << "closed " << closed;
        EXPECT_EQ(pages->ActivePage(), pages->GetPageFromDockClient(form)) << "closed " << closed;
        EXPECT_TRUE(form->Showing()) << "closed " << closed;
    }
    EXPECT_EQ(dialogs.Shown, 0);
}

TEST_F(MessageWindow, FloatingItsCaptionDrawsACloseBoxAtTheRightEnd) {
    ChooseInMenu("Вид", "Окно Сообщений");
    DragOut();
    TBitmap shot;
    screenkit::Window(form, shot);
    ASSERT_EQ(shot.Width(), form->Width());
    const TRect box = CloseBoxRect(form);
    auto at = [&](int x, int y) { return shot.Canvas()->GetPixel(x, y); };
    // A raised button: light top-left edge, dark bottom-right edge, face inside.
    EXPECT_EQ(at(box.Left, box.Top), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(at(box.Right - 1, box.Bottom - 1), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(at(box.Left + 2, box.Top + 2), ColorToRGB(clBtnFace));
    // The cross, 8 x 7 in its middle: both diagonals meet in the centre, the sides between stay face.
    const int cx = box.Left + 3, cy = box.Top + 2;
    for (TPoint ink : {TPoint(0, 0), TPoint(7, 0), TPoint(3, 3), TPoint(4, 3), TPoint(0, 6), TPoint(7, 6)})
        EXPECT_EQ(at(cx + ink.x, cy + ink.y), ColorToRGB(clBtnText)) << ink.x << "," << ink.y;
    for (TPoint face : {TPoint(3, 0), TPoint(0, 3), TPoint(7, 3), TPoint(3, 6)})
        EXPECT_EQ(at(cx + face.x, cy + face.y), ColorToRGB(clBtnFace)) << face.x << "," << face.y;
    // The caption's colour on either side of the box, and the sizing frame's face below it.
    const TColor caption = at(box.Left - 2, box.Top + 1);
    EXPECT_TRUE(caption == ColorToRGB(clActiveCaption) || caption == ColorToRGB(clInactiveCaption));
    EXPECT_EQ(at(box.Right + 1, box.Top + 1), caption);
    EXPECT_EQ(at(form->Width() - 3, form->Height() / 2), ColorToRGB(clBtnFace));
}

// A floating message window resized by a drag of its sizing frame: where the press is (window
// coordinates of the frame w x h), how far the mouse goes, and the bounds expected from the old ones.
struct SizingCase {
    const char* name;
    TPoint (*from)(int w, int h);
    TPoint by;
    TRect (*expect)(TRect);
};

const SizingCase kSizingCases[] = {
    {"LeftEdge", [](int, int h) { return TPoint(1, h / 2); }, TPoint(-30, 7),
     [](TRect r) { return TRect(r.Left - 30, r.Top, r.Right, r.Bottom); }},
    {"BottomEdge", [](int w, int h) { return TPoint(w / 2, h - 2); }, TPoint(9, 35),
     [](TRect r) { return TRect(r.Left, r.Top, r.Right, r.Bottom + 35); }},
    {"BottomRightCorner", [](int w, int h) { return TPoint(w - 2, h - 2); }, TPoint(40, 25),
     [](TRect r) { return TRect(r.Left, r.Top, r.Right + 40, r.Bottom + 25); }},
    {"TopLeftCornerAlongTheTopEdge", [](int, int) { return TPoint(12, 1); }, TPoint(15, 12),
     [](TRect r) { return TRect(r.Left + 15, r.Top + 12, r.Right, r.Bottom); }},
    {"RightEdgeStopsWhereTheCaptionEnds", [](int w, int h) { return TPoint(w - 1, h / 2); }, TPoint(-2000, 0),
     [](TRect r) { return TRect(r.Left, r.Top, r.Left + 40, r.Bottom); }},
};

void PrintTo(const SizingCase& c, std::ostream* os) { *os << c.name; }

class MessageWindowSizing : public MessageWindow, public ::testing::WithParamInterface<SizingCase> {};

TEST_P(MessageWindowSizing, ADragOfItsFrameResizesTheFloatingWindow) {
    const SizingCase& c = GetParam();
    ChooseInMenu("Вид", "Окно Сообщений");
    DragOut();
    const TRect before = form->BoundsRect();
    const TPoint p = c.from(form->Width(), form->Height());
    const TPoint from(before.Left + p.x, before.Top + p.y);
    // Each point in screen coordinates, given in the form's client coordinates of the moment.
    auto client = [&](int dx, int dy) { return form->ScreenToClient(TPoint(from.x + dx, from.y + dy)); };
    TPoint at = client(0, 0);
    MouseDown(form, at.x, at.y);
    at = client(c.by.x / 2, c.by.y / 2);
    MouseMove(form, at.x, at.y, Left);
    at = client(c.by.x, c.by.y);
    MouseMove(form, at.x, at.y, Left);
    at = client(c.by.x, c.by.y);
    MouseUp(form, at.x, at.y);
    ProcessEvents();
    EXPECT_EQ(Str(form->BoundsRect()), Str(c.expect(before)));
    // The release ends the drag: a later move changes nothing.
    at = client(c.by.x + 20, c.by.y + 20);
    MouseMove(form, at.x, at.y);
    EXPECT_EQ(Str(form->BoundsRect()), Str(c.expect(before)));
    EXPECT_EQ(form->HostDockSite(), nullptr);
    EXPECT_EQ(dialogs.Shown, 0);
}

INSTANTIATE_TEST_SUITE_P(Frame, MessageWindowSizing, ::testing::ValuesIn(kSizingCases),
                         [](const ::testing::TestParamInfo<SizingCase>& i) {
                             return std::string(i.param.name);
                         });

} // namespace
