// The window side beyond the client area: hit testing and non-client messages, frames repainted
// from code, drawing outside paint through the XOR overlay, window scroll bars, the application's
// idle time, message hooks and local loops, posts to freed windows, hints, and the control members
// for wheel, automatic size, constraints, scaling and painting a copy.
#include <gtest/gtest.h>

#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <atomic>
#include <thread>

#include "core_support.h"
#include "handle.h"
#include "inputkit.h"
#include "winapi.h"
#include "wingdi.h"
#include "graphics_qt.h"

namespace {

class CoreFrames : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
    }
    void TearDown() override {
        Application->OnIdle = nullptr;
        Application->OnMessage = nullptr;
        delete Form;
        Application->ProcessMessages();
    }
    TForm* Form = nullptr;
};

// Presses and releases the left button at a point of c's window box, on the widget Qt would pick.
void ClickWindowAt(TWinControl* c, int x, int y) {
    QWidget* outer = HandleWidget(c);
    QWidget* child = outer->childAt(x, y);
    QWidget* target = child ? child : outer;
    QPoint local = target->mapFrom(outer, QPoint(x, y));
    Click(target, local.x(), local.y());
}

// A control keeping a button strip in its frame, as a drop-down edit does: the frame's spare part
// answers HTNOWHERE, which the control turns into a client hit on its button.
class TButtonFrameProbe : public TFramedProbe {
public:
    using TFramedProbe::TFramedProbe;
    bool InButton = false;

protected:
    void WMNCCalcSize(TWMNCCalcSize& m) override {
        if (m.CalcSize_Params)
            m.CalcSize_Params->Rgrc[0].Right -= 16;
        TFramedProbe::WMNCCalcSize(m);
    }
    void WMNCHitTest(TWMNCHitTest& m) override {
        TFramedProbe::WMNCHitTest(m);
        InButton = m.Result == HTNOWHERE;
        if (InButton)
            m.Result = HTCLIENT;
    }
};

// A pane the mouse passes through to the window beneath.
class TTransparentProbe : public TProbe {
public:
    using TProbe::TProbe;

protected:
    void WMNCHitTest(TWMNCHitTest& m) override { m.Result = HTTRANSPARENT; }
};

struct TSeen {
    std::string Who;
    UINT Msg;
    WPARAM W;
    TPoint Pt;
};

TEST_F(CoreFrames, EveryClickAsksTheHitTestAndGetsTheMessageOfItsCode) {
    auto* framed = new TButtonFrameProbe(Form);
    framed->Style = WS_BORDER;
    framed->ExStyle = WS_EX_CLIENTEDGE;
    framed->SetParent(Form);
    framed->SetBounds(10, 10, 100, 40);
    auto* under = new TProbe(Form);
    under->SetParent(Form);
    under->SetBounds(150, 10, 100, 40);
    auto* pane = new TTransparentProbe(Form);
    pane->SetParent(Form);
    pane->SetBounds(150, 10, 100, 40);
    Form->Show();
    // 1 pixel border plus a 2 pixel edge; the strip narrows the client on the right.
    EXPECT_EQ(framed->ClientWidth(), 100 - 6 - 16);

    std::vector<TSeen> seen;
    int cursorHit = -100;
    auto record = [&](const char* who) {
        return [&, who](TMessage& m) {
            if (m.Msg == WM_SETCURSOR)
                cursorHit = short(LOWORD(std::uintptr_t(m.LParam)));
            if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_NCLBUTTONDOWN)
                seen.push_back(
                    {who, m.Msg, m.WParam, TPoint(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam))});
        };
    };
    framed->OnMessage = record("framed");
    under->OnMessage = record("under");
    pane->OnMessage = record("pane");

    TPoint org = framed->ClientToScreen(TPoint(0, 0)); // the client origin on the screen
    struct Row {
        TWinControl* Control;
        int X, Y; // window coordinates of Control
        int Hit;  // the code WM_SETCURSOR carries
        const char* Who;
        UINT Msg;
        TPoint Pt; // client coordinates, or the screen point for a non-client message
        bool InButton;
    } rows[] = {
        {framed, 20, 20, HTCLIENT, "framed", WM_LBUTTONDOWN, {17, 17}, false},
        {framed, 90, 20, HTCLIENT, "framed", WM_LBUTTONDOWN, {87, 17}, true}, // the strip: a button
        {framed, 0, 20, HTBORDER, "framed", WM_NCLBUTTONDOWN, {org.x - 3, org.y + 17}, false},
        {framed, 50, 1, HTBORDER, "framed", WM_NCLBUTTONDOWN, {org.x + 47, org.y - 2}, false},
        {pane, 20, 20, HTCLIENT, "under", WM_LBUTTONDOWN, {20, 20}, false}, // through the pane
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.Who) + " at " + IntToStr(r.X) + "," + IntToStr(r.Y));
        seen.clear();
        ClickWindowAt(r.Control, r.X, r.Y);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].Who, r.Who);
        EXPECT_EQ(seen[0].Msg, r.Msg);
        EXPECT_EQ(seen[0].Pt.x, r.Pt.x);
        EXPECT_EQ(seen[0].Pt.y, r.Pt.y);
        EXPECT_EQ(cursorHit, r.Hit);
        if (r.Msg == WM_NCLBUTTONDOWN) {
            EXPECT_EQ(int(seen[0].W), r.Hit);
        }
        if (r.Control == framed) {
            EXPECT_EQ(framed->InButton, r.InButton);
        }
    }
    EXPECT_TRUE(std::count(pane->Log.begin(), pane->Log.end(), UINT(WM_NCHITTEST)) > 0);
}

// Draws a green frame on the window DC when asked from code: it shows after the next paint.
class TFrameDrawer : public TFramedProbe {
public:
    using TFramedProbe::TFramedProbe;
    bool Green = false;
    int FramePaints = 0;

protected:
    void WMNCPaint(TWMNCPaint& m) override {
        TFramedProbe::WMNCPaint(m);
        ++FramePaints;
        if (!Green)
            return;
        HDC dc = GetWindowDC(Handle());
        dc->Brush()->SetColor(clLime);
        dc->FrameRect(Rect(0, 0, Width(), Height()));
        ReleaseDC(Handle(), dc);
    }
};

TEST_F(CoreFrames, AFramePaintAskedFromCodeWaitsForTheNextPaint) {
    auto* p = new TFrameDrawer(Form);
    p->ExStyle = WS_EX_CLIENTEDGE;
    p->SetParent(Form);
    p->SetBounds(10, 10, 60, 40);
    p->SetColor(clWhite);
    Form->Show();
    ASSERT_TRUE(WaitFor([&] { return p->FramePaints > 0; }));
    p->Green = true;
    int before = p->FramePaints;
    p->Perform(WM_NCPAINT, 1, 0);
    EXPECT_EQ(p->FramePaints, before); // nothing painted outside the paint
    QImage shot = HandleWidget(Form)->grab().toImage();
    EXPECT_EQ(Pixel(shot, 10, 30), clLime);
    // GetWindowDC outside a paint gives a scratch context and asks for the frame again.
    p->Green = false;
    HDC dc = GetWindowDC(p->Handle());
    ASSERT_NE(dc, nullptr);
    TRect clip;
    EXPECT_NE(GetClipBox(dc, &clip), 0);
    EXPECT_EQ(clip.Width(), 60);
    ReleaseDC(p->Handle(), dc);
    RedrawWindow(p->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    shot = HandleWidget(Form)->grab().toImage();
    EXPECT_NE(Pixel(shot, 10, 30), clLime);
}

TEST_F(CoreFrames, XorDrawnTwiceOutsidePaintRestoresThePixels) {
    auto* p = new TProbe(Form);
    p->SetParent(Form);
    p->SetBounds(0, 0, 300, 200);
    p->SetColor(clRed);
    Form->Show();
    QImage before = HandleWidget(Form)->grab().toImage();
    ASSERT_EQ(Pixel(before, 30, 30), clRed);
    struct Row {
        const char* Name;
        std::function<HDC()> Get;
        std::uint32_t Rop;
        TColor Inverted;
    } rows[] = {
        {"GetDCEx PATINVERT",
         [&] { return GetDCEx(p->Handle(), nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE); },
         PATINVERT, TColor(RGB(0, 255, 255))},
        {"GetDC DSTINVERT", [&] { return GetDC(Form->Handle()); }, DSTINVERT, TColor(RGB(0, 255, 255))},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Name);
        for (int pass = 1; pass <= 2; ++pass) {
            HDC dc = r.Get();
            ASSERT_NE(dc, nullptr);
            dc->Brush()->SetColor(clWhite);
            PatBlt(dc, 20, 20, 50, 30, r.Rop);
            ReleaseDC(p->Handle(), dc);
            QImage now = HandleWidget(Form)->grab().toImage();
            EXPECT_EQ(Pixel(now, 30, 30), pass == 1 ? r.Inverted : clRed);
            EXPECT_EQ(Pixel(now, 100, 100), clRed);
        }
        EXPECT_EQ(HandleWidget(Form)->grab().toImage(), before);
    }
    // GetDC(0) measures.
    HDC screen = GetDC(nullptr);
    TSize size;
    EXPECT_TRUE(GetTextExtentPoint32(screen, "Wg", 2, &size));
    EXPECT_GT(size.cx, 0);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

TEST_F(CoreFrames, WindowScrollBarsSendEveryCodeAndMoveOnlyWhenTheProgramSays) {
    auto* p = new TFramedProbe(Form);
    p->Style = WS_VSCROLL;
    p->SetParent(Form);
    p->SetBounds(0, 0, 200, 100);
    Form->Show();
    HWND h = p->Handle();
    EXPECT_EQ(p->ClientWidth(), 200 - GetSystemMetrics(SM_CXVSCROLL));
    TScrollInfo si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = 99;
    si.nPage = 10;
    si.nPos = 50;
    EXPECT_EQ(SetScrollInfo(h, SB_VERT, &si, true), 50);
    QScrollBar* bar = h->Bars[SB_VERT];
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->isVisible());

    std::vector<int> codes;
    bool answer = true;
    p->OnMessage = [&](TMessage& m) {
        if (m.Msg != WM_VSCROLL)
            return;
        TWMScroll s(m);
        codes.push_back(s.ScrollCode);
        if (!answer)
            return;
        int pos = GetScrollPos(h, SB_VERT);
        TScrollInfo t;
        t.fMask = SIF_TRACKPOS;
        GetScrollInfo(h, SB_VERT, &t);
        switch (s.ScrollCode) {
        case SB_LINEUP: --pos; break;
        case SB_LINEDOWN: ++pos; break;
        case SB_PAGEUP: pos -= 10; break;
        case SB_PAGEDOWN: pos += 10; break;
        case SB_TOP: pos = 0; break;
        case SB_BOTTOM: pos = 99; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = t.nTrackPos; break;
        default: break;
        }
        SetScrollPos(h, SB_VERT, pos, true);
    };
    struct Row {
        const char* Name;
        std::function<void()> Act;
        bool Answer;
        std::vector<int> Codes;
        int Pos;
    } rows[] = {
        {"line down",
         [&] { bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); },
         true,
         {SB_LINEDOWN},
         51},
        {"line up", [&] { bar->triggerAction(QAbstractSlider::SliderSingleStepSub); }, true, {SB_LINEUP}, 50},
        {"page down",
         [&] { bar->triggerAction(QAbstractSlider::SliderPageStepAdd); },
         true,
         {SB_PAGEDOWN},
         60},
        {"page up", [&] { bar->triggerAction(QAbstractSlider::SliderPageStepSub); }, true, {SB_PAGEUP}, 50},
        {"unanswered",
         [&] { bar->triggerAction(QAbstractSlider::SliderPageStepAdd); },
         false,
         {SB_PAGEDOWN},
         50},
        {"bottom (last page)",
         [&] { bar->triggerAction(QAbstractSlider::SliderToMaximum); },
         true,
         {SB_BOTTOM},
         90},
        {"top", [&] { bar->triggerAction(QAbstractSlider::SliderToMinimum); }, true, {SB_TOP}, 0},
        {"click on the down arrow",
         [&] {
             SendMouse(bar, QEvent::MouseButtonPress, bar->width() / 2, bar->height() - 4);
             SendMouse(bar, QEvent::MouseButtonRelease, bar->width() / 2, bar->height() - 4);
             WaitFor([&] { return codes.size() >= 2; }, 500);
         },
         true,
         {SB_LINEDOWN, SB_ENDSCROLL},
         1},
        {"thumb",
         [&] {
             bar->setSliderDown(true);
             bar->setSliderPosition(37);
             bar->setSliderDown(false);
         },
         true,
         {SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL},
         37},
        {"thumb unanswered",
         [&] {
             bar->setSliderDown(true);
             bar->setSliderPosition(70);
             bar->setSliderDown(false);
         },
         false,
         {SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL},
         37},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Name);
        codes.clear();
        answer = r.Answer;
        r.Act();
        EXPECT_EQ(codes, r.Codes);
        EXPECT_EQ(GetScrollPos(h, SB_VERT), r.Pos);
        EXPECT_EQ(bar->value(), r.Pos);
    }
    // Nothing to scroll: the bar goes and the client widens; ShowScrollBar brings it back.
    int sizes = 0;
    p->OnMessage = [&](TMessage& m) { sizes += m.Msg == WM_SIZE; };
    si.fMask = SIF_PAGE;
    si.nPage = 100;
    SetScrollInfo(h, SB_VERT, &si, true);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(p->ClientWidth(), 200);
    EXPECT_EQ(sizes, 1);
    ShowScrollBar(h, SB_VERT, true);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(p->ClientWidth(), 200 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(GetWindowLong(h, GWL_STYLE) & WS_VSCROLL, LPARAM(WS_VSCROLL));
    // The handler counts into this frame's local: the window's last messages (WM_DESTROY in the
    // teardown) must not reach it.
    p->OnMessage = nullptr;
}

TEST_F(CoreFrames, ScrollWindowMovesThePixelsAndTheChildWindows) {
    auto* p = new TProbe(Form);
    p->SetParent(Form);
    p->SetBounds(0, 0, 200, 100);
    auto* child = new TProbe(Form);
    child->SetParent(p);
    child->SetBounds(10, 10, 20, 20);
    Form->Show();
    TRect updated;
    ScrollWindowEx(p->Handle(), 0, -5, nullptr, nullptr, nullptr, &updated, SW_INVALIDATE);
    EXPECT_EQ(child->Top(), 10); // without SW_SCROLLCHILDREN the children stay
    EXPECT_EQ(updated, Rect(0, 95, 200, 100));
    ScrollWindow(p->Handle(), 0, -5, nullptr, nullptr);
    EXPECT_EQ(child->Top(), 5);
    EXPECT_EQ(HandleWidget(child)->y(), 5);
}

TEST_F(CoreFrames, HooksSeeInputAsWindowAndMessageAndMayEatOrRedirectIt) {
    auto* a = new TProbe(Form);
    a->SetParent(Form);
    a->SetBounds(0, 0, 100, 100);
    auto* b = new TProbe(Form);
    b->SetParent(Form);
    b->SetBounds(100, 0, 100, 100);
    Form->Show();
    std::vector<std::pair<HWND, UINT>> hooked;
    int id = Application->HookMessages([&](TMsg& m) {
        hooked.emplace_back(m.hwnd, m.message);
        if (m.message == WM_LBUTTONDOWN)
            return true; // eaten
        if (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST)
            m.hwnd = b->Handle(); // redirected
        return false;
    });
    auto count = [](TProbe* p, UINT msg) { return std::count(p->Log.begin(), p->Log.end(), msg); };
    Click(ClientWidget(a), 10, 10);
    EXPECT_EQ(count(a, WM_LBUTTONDOWN), 0);
    EXPECT_EQ(count(a, WM_LBUTTONUP), 1);
    EXPECT_TRUE(InOrder(hooked, {{a->Handle(), UINT(WM_LBUTTONDOWN)}, {a->Handle(), UINT(WM_LBUTTONUP)}}));
    SendKey(ClientWidget(a), Qt::Key_X, "x");
    EXPECT_EQ(count(a, WM_KEYDOWN) + count(a, WM_CHAR), 0);
    EXPECT_EQ(count(b, WM_KEYDOWN), 1);
    EXPECT_EQ(count(b, WM_CHAR), 1);
    // OnMessage sees posted messages too, after the hooks.
    std::vector<UINT> onMessage;
    Application->OnMessage = [&](TMsg& m, bool& handled) {
        onMessage.push_back(m.message);
        handled = m.message == WM_USER + 1;
    };
    PostMessage(a->Handle(), WM_USER + 1, 0, 0);
    PostMessage(a->Handle(), WM_USER + 2, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return count(a, WM_USER + 2) == 1; }));
    EXPECT_EQ(count(a, WM_USER + 1), 0);
    EXPECT_TRUE(InOrder(onMessage, {UINT(WM_USER + 1), UINT(WM_USER + 2)}));
    Application->UnhookMessages(id);
    Click(ClientWidget(a), 10, 10);
    EXPECT_EQ(count(a, WM_LBUTTONDOWN), 1);
}

TEST_F(CoreFrames, OnIdleFollowsTheDrainedQueueAndLocalLoopsWaitForEvents) {
    auto* a = new TProbe(Form);
    a->SetParent(Form);
    std::vector<std::string> log;
    int idles = 0;
    a->OnMessage = [&](TMessage& m) {
        if (m.Msg == WM_USER + 3)
            log.push_back("message");
    };
    // What earlier events left to do is done first.
    Application->ProcessMessages();
    Application->ProcessMessages();
    Application->OnIdle = [&](TObject*, bool& done) {
        log.push_back("idle");
        // The first call asks for another at once.
        done = ++idles > 1;
    };
    PostMessage(a->Handle(), WM_USER + 3, 0, 0);
    bool got = false;
    QTimer::singleShot(30, [&] { got = true; });
    Application->RunLoop([&] { return got; });
    EXPECT_TRUE(got);
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "message");
    EXPECT_EQ(log[1], "idle");
    EXPECT_EQ(log[2], "idle");
}

TEST_F(CoreFrames, APostToAWindowFreedMeanwhileIsRefused) {
    auto* a = new TProbe(Form);
    a->SetParent(Form);
    HWND h = a->Handle();
    ASSERT_TRUE(IsWindow(h));
    std::atomic<bool> freed{false};
    std::atomic<int> refusedAfterFree{0};
    std::thread worker([&] {
        for (int i = 0; i < 5000000 && refusedAfterFree < 100; ++i) {
            bool wasFreed = freed;
            if (!PostMessage(h, WM_USER + 4, WPARAM(i), 0) && wasFreed)
                ++refusedAfterFree;
            if (i % 64 == 0)
                std::this_thread::sleep_for(std::chrono::microseconds(1));
        }
    });
    WaitFor([] { return false; }, 20);
    delete a;
    freed = true;
    EXPECT_FALSE(IsWindow(h));
    Application->ProcessMessages();
    worker.join();
    EXPECT_EQ(refusedAfterFree, 100);
    Application->ProcessMessages();
}

TEST_F(CoreFrames, SynchronizeRunsOnTheGuiThreadAndCarriesTheExceptionBack) {
    std::thread::id ranOn;
    bool caught = false;
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        TThread::Synchronize([&] { ranOn = std::this_thread::get_id(); });
        try {
            TThread::Synchronize([] { throw Exception("Stopped"); });
        } catch (const Exception& e) {
            caught = e.Message == "Stopped";
        }
        finished = true;
    });
    EXPECT_TRUE(WaitFor([&] { return finished.load(); }));
    worker.join();
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    EXPECT_TRUE(caught);
}

TEST_F(CoreFrames, TopLevelWindowsHearWhenTheProgramIsActivatedOrLeft) {
    std::vector<WPARAM> heard;
    auto old = Form->WindowProc;
    Form->WindowProc = [&, old](TMessage& m) {
        if (m.Msg == WM_ACTIVATEAPP)
            heard.push_back(m.WParam);
        old(m);
    };
    int deactivated = 0;
    Application->OnDeactivate = [&](TObject*) { ++deactivated; };
    Form->Show();
    EXPECT_TRUE(WaitFor([] { return Application->Active(); }));
    // The platform reports the program going to the background (offscreen never does by itself).
    heard.clear();
    QMetaObject::invokeMethod(qApp, "applicationStateChanged",
                              Q_ARG(Qt::ApplicationState, Qt::ApplicationInactive));
    EXPECT_EQ(heard, (std::vector<WPARAM>{0}));
    EXPECT_EQ(deactivated, 1);
    Application->OnDeactivate = nullptr;
    Form->WindowProc = old;
}

TEST_F(CoreFrames, AHintShowsAfterThePauseAndIsAskedAgainWhileTheMouseStays) {
    auto* host = new TProbe(Form);
    host->SetParent(Form);
    host->SetBounds(0, 0, 100, 50);
    host->SetHint("Open|Open the base");
    host->SetShowHint(true);
    int asked = 0;
    host->OnMessage = [&](TMessage& m) {
        if (m.Msg != CM_HINTSHOW)
            return;
        TCMHintShow s(m);
        ++asked;
        s.HintInfo->ReshowTimeout = 10;
        s.HintInfo->HintStr += IntToStr(asked);
    };
    Form->Show();
    Application->SetHintPause(5);
    SendMouse(ClientWidget(host), QEvent::MouseMove, 15, 15);
    ASSERT_TRUE(WaitFor([] { return Application->HintWindow() != nullptr; }));
    EXPECT_EQ(Application->HintWindow()->Caption(), "Open1");
    EXPECT_EQ(Application->HintWindow()->Color(), Application->HintColor());
    EXPECT_TRUE(HandleWidget(Application->HintWindow())->isVisible());
    EXPECT_TRUE(WaitFor([&] { return asked >= 3; }));
    EXPECT_EQ(Application->HintWindow()->Caption(), "Open" + IntToStr(asked));
    // The control's hint changes while the mouse stays (a hot item's own hint): it shows anew.
    host->OnMessage = nullptr;
    host->SetHint("Save|Save the base");
    SendMouse(ClientWidget(host), QEvent::MouseMove, 16, 15);
    EXPECT_TRUE(
        WaitFor([] { return Application->HintWindow() && Application->HintWindow()->Caption() == "Save"; }));
    // A press hides it.
    SendMouse(ClientWidget(host), QEvent::MouseButtonPress, 15, 15);
    SendMouse(ClientWidget(host), QEvent::MouseButtonRelease, 15, 15);
    EXPECT_EQ(Application->HintWindow(), nullptr);
    Application->SetHintPause(500);
}

// A key keeps the hint away while the mouse moves on, unless the control's hint changes meanwhile
// (a control that describes what is under the mouse while a key is held).
TEST_F(CoreFrames, AHintThatChangesAfterAKeyShows) {
    auto* host = new TProbe(Form);
    host->SetParent(Form);
    host->SetBounds(0, 0, 100, 50);
    host->SetHint("One");
    host->SetShowHint(true);
    Form->Show();
    WaitFor([] { return false; }, 50); // the window system's enter and leave first
    Application->SetHintPause(100);
    Application->SetHintShortPause(100);
    QWidget* w = ClientWidget(host);
    SendMouse(w, QEvent::MouseMove, 15, 15);
    SendKey(w, Qt::Key_A, "a");
    SendMouse(w, QEvent::MouseMove, 16, 15);
    WaitFor([] { return false; }, 200);
    EXPECT_EQ(Application->HintWindow(), nullptr);
    host->SetHint("Two|The second");
    Application->SetHintShortPause(5);
    SendMouse(w, QEvent::MouseMove, 17, 15);
    EXPECT_TRUE(
        WaitFor([] { return Application->HintWindow() && Application->HintWindow()->Caption() == "Two"; }));
    Application->SetHintPause(500);
    Application->SetHintShortPause(50);
}

// Members the widgets override: wheel up/down, automatic size, constraints, scaling.
class TSizedProbe : public TProbe {
public:
    using TProbe::TProbe;
    int AutoW = 0, AutoH = 0;

protected:
    bool CanAutoSize(int& w, int& h) override {
        w = AutoW;
        h = AutoH;
        return true;
    }
};

TEST_F(CoreFrames, WheelAutoSizeConstraintsAndScale) {
    auto* p = new TSizedProbe(Form);
    p->SetParent(Form);
    p->SetBounds(10, 10, 50, 50);
    std::vector<std::string> wheel;
    p->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool& handled) {
        wheel.push_back("down");
        handled = true;
    };
    p->OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, bool&) { wheel.push_back("up"); };
    inputkit::Wheel(p, 25, 25, -1);
    inputkit::Wheel(p, 25, 25, 1);
    EXPECT_EQ(wheel, (std::vector<std::string>{"down", "up"}));

    p->AutoW = 80;
    p->AutoH = 30;
    p->SetAutoSize(true);
    EXPECT_EQ(p->Width(), 80);
    EXPECT_EQ(p->Height(), 30);
    p->AutoW = 90;
    p->OnConstrainedResize = [](TObject*, int&, int&, int& maxW, int&) { maxW = 85; };
    p->SetWidth(10); // automatic size wins over the width asked, the constraint over both
    EXPECT_EQ(p->Width(), 85);
    p->SetAutoSize(false);
    p->OnConstrainedResize = nullptr;
    p->SetBounds(10, 10, 40, 20);
    p->ScaleBy(3, 2);
    EXPECT_EQ(p->BoundsRect(), Rect(15, 15, 75, 45));
}

TEST_F(CoreFrames, PaintToDrawsTheControlAndItsChildrenAndBroadcastStopsAtTheFirstAnswer) {
    auto* p = new TProbe(Form);
    p->SetParent(Form);
    p->SetBounds(0, 0, 40, 30);
    p->SetColor(clBlue);
    auto* child = new TProbe(Form);
    child->SetParent(p);
    child->SetBounds(10, 10, 10, 10);
    child->SetColor(clYellow);
    TBitmap bmp;
    bmp.SetSize(60, 50);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(Rect(0, 0, 60, 50));
    p->PaintTo(bmp.Canvas()->Handle(), 5, 5);
    EXPECT_EQ(TColor(bmp.Canvas()->Pixels[2][2]), clWhite);
    EXPECT_EQ(TColor(bmp.Canvas()->Pixels[7][7]), clBlue);
    EXPECT_EQ(TColor(bmp.Canvas()->Pixels[17][17]), clYellow);

    auto* second = new TProbe(Form);
    second->SetParent(Form);
    int asked = 0;
    p->OnMessage = [&](TMessage& m) {
        if (m.Msg == WM_USER + 5) {
            ++asked;
            m.Result = 7;
            m.Msg = WM_NULL;
        }
    };
    TMessage m = MakeMessage(WM_USER + 5);
    Form->Broadcast(m);
    EXPECT_EQ(m.Result, 7);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(std::count(second->Log.begin(), second->Log.end(), UINT(WM_USER + 5)), 0);
}

} // namespace
