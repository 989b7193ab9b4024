// The message path of the GUI core: Qt events become messages in the Windows order, Perform and
// PostMessage, the exception boundary, graphic-control mouse routing, focus, keys, frames, alignment.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <memory>
#include <thread>

#include "core_support.h"
#include "handle.h"
#include "winapi.h"
#include "graphics_qt.h"

namespace {

class CoreMessages : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
        Application->OnException = nullptr;
    }
    TForm* Form = nullptr;
};

TEST_F(CoreMessages, CreateShowPaintClickArriveInWindowsOrder) {
    auto* p = new TFramedProbe(Form);
    p->ExStyle = WS_EX_CLIENTEDGE;
    p->SetParent(Form);
    p->SetBounds(10, 10, 50, 40);
    int clicks = 0;
    p->OnClick = [&](TObject*) {
        ++clicks;
        p->Log.push_back(0xFFFF);
    };
    EXPECT_FALSE(p->HandleAllocated());
    Form->Show();
    ASSERT_TRUE(p->HandleAllocated());
    HandleWidget(Form)->grab();
    Click(ClientWidget(p), 5, 5);

    EXPECT_TRUE(InOrder<UINT>(p->Log, {WM_NCCALCSIZE, WM_CREATE, CM_SHOWINGCHANGED, WM_NCPAINT, WM_ERASEBKGND,
                                       WM_PAINT, WM_LBUTTONDOWN, WM_LBUTTONUP, 0xFFFF}))
        << ::testing::PrintToString(p->Log);
    EXPECT_EQ(clicks, 1);
    EXPECT_GE(p->Paints, 1);
}

TEST_F(CoreMessages, ReleaseOutsideTheClientAreaIsNoClick) {
    auto* p = new TProbe(Form);
    p->SetParent(Form);
    p->SetBounds(0, 0, 50, 40);
    int clicks = 0;
    p->OnClick = [&](TObject*) { ++clicks; };
    Form->Show();
    // Qt keeps the pressed widget as the receiver, as Windows capture does.
    SendMouse(ClientWidget(p), QEvent::MouseButtonPress, 5, 5);
    SendMouse(ClientWidget(p), QEvent::MouseButtonRelease, 50, 5);
    EXPECT_EQ(clicks, 0);
    Click(ClientWidget(p), 49, 39);
    EXPECT_EQ(clicks, 1);
}

TEST_F(CoreMessages, PerformIsSynchronousAndPostMessageWaitsForTheLoop) {
    auto* p = new TProbe(Form);
    p->SetParent(Form);
    std::vector<std::pair<WPARAM, LPARAM>> seen;
    p->OnMessage = [&](TMessage& m) {
        if (m.Msg == WM_USER + 107) {
            seen.push_back({m.WParam, m.LParam});
            m.Result = 42;
        }
    };
    EXPECT_EQ(p->Perform(WM_USER + 107, 1, 2), 42);
    ASSERT_EQ(seen.size(), 1u);

    Form->Show();
    EXPECT_TRUE(PostMessage(p->Handle(), WM_USER + 107, 3, -4));
    EXPECT_EQ(seen.size(), 1u);
    Application->ProcessMessages();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].first, 3u);
    EXPECT_EQ(seen[1].second, -4);
    EXPECT_FALSE(PostMessage(nullptr, WM_USER, 0, 0));
    EXPECT_EQ(SendMessage(p->Handle(), WM_USER + 107, 5, 6), 42);
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(CoreMessages, PostMessageFromAnotherThreadArrivesOnTheGuiThread) {
    auto* p = new TProbe(Form);
    p->SetParent(Form);
    std::vector<std::thread::id> seenOn;
    p->OnMessage = [&](TMessage& m) {
        if (m.Msg == WM_USER + 107)
            seenOn.push_back(std::this_thread::get_id());
    };
    HWND h = p->Handle();
    std::thread reader([h] {
        for (int i = 0; i < 3; ++i)
            PostMessage(h, WM_USER + 107, WPARAM(i), 0);
    });
    reader.join();
    EXPECT_TRUE(WaitFor([&] { return seenOn.size() == 3; }));
    for (auto id : seenOn)
        EXPECT_EQ(id, std::this_thread::get_id());
}

TEST_F(CoreMessages, ExceptionInAHandlerReachesHandleExceptionAndStopsThere) {
    TFakeDialogScope dialogs;
    auto* p = new TProbe(Form);
    p->SetParent(Form);
    p->SetBounds(0, 0, 40, 40);
    Form->Show();
    struct Case {
        std::function<void()> Throw;
        std::string Shown;
    } cases[] = {
        {[] { throw Exception("Нет связи"); }, "Нет связи."},
        {[] { throw EConvertError("'x' is not a valid integer value."); },
         "'x' is not a valid integer value."},
        {[] { throw std::runtime_error("plain"); }, "plain."},
        {[] { throw 7; }, "Unknown exception."},
        {[] { throw EAbort("silent"); }, ""},
    };
    for (const Case& c : cases) {
        dialogs.Fake.Calls.clear();
        p->OnClick = [&](TObject*) { c.Throw(); };
        EXPECT_NO_THROW(Click(ClientWidget(p), 5, 5));
        if (c.Shown.empty()) {
            EXPECT_TRUE(dialogs.Fake.Calls.empty());
            continue;
        }
        ASSERT_EQ(dialogs.Fake.Calls.size(), 1u) << c.Shown;
        EXPECT_EQ(dialogs.Fake.Calls[0].Text, c.Shown);
        EXPECT_EQ(dialogs.Fake.Calls[0].Caption, Application->Title());
        EXPECT_EQ(dialogs.Fake.Calls[0].Flags, UINT(MB_OK | MB_ICONSTOP));
    }

    // OnException replaces the display; the posted path and the paint path have the boundary too.
    std::vector<std::string> caught;
    Application->OnException = [&](TObject* sender, Exception* e) {
        EXPECT_EQ(sender, p);
        caught.push_back(e->Message);
    };
    p->OnMessage = [](TMessage& m) {
        if (m.Msg == WM_USER + 1)
            throw Exception("posted");
        if (m.Msg == WM_PAINT)
            throw Exception("paint");
    };
    PostMessage(p->Handle(), WM_USER + 1, 0, 0);
    Application->ProcessMessages();
    ClientWidget(p)->grab();
    EXPECT_TRUE(InOrder<std::string>(caught, {"posted", "paint"}));
}

TEST_F(CoreMessages, AnExceptionFromAQtSignalWaitsUntilQtHasReturned) {
    class TButtonProbe : public TProbe {
    public:
        using TProbe::TProbe;
        QPushButton* Button = nullptr;

    protected:
        void CreateWnd() override {
            TProbe::CreateWnd();
            Button = new QPushButton();
            QObject::connect(Button, &QPushButton::clicked,
                             [this] { Perform(CN_COMMAND, MAKEWPARAM(0, BN_CLICKED), 0); });
            SetNativeWidget(this, Button);
        }
    };
    auto* b = new TButtonProbe(Form);
    b->SetParent(Form);
    b->SetBounds(0, 0, 80, 25);
    Form->Show();
    b->OnMessage = [](TMessage& m) {
        if (m.Msg == CN_COMMAND)
            throw Exception("Неверная скорость");
    };
    std::vector<std::string> caught;
    Application->OnException = [&](TObject*, Exception* e) { caught.push_back(e->Message); };
    // Qt finishes its own work: the next listener of the same signal still hears it.
    int laterListener = 0;
    QObject::connect(b->Button, &QPushButton::clicked, [&] { ++laterListener; });
    SendMouse(b->Button, QEvent::MouseButtonPress, 5, 5);
    SendMouse(b->Button, QEvent::MouseButtonRelease, 5, 5);
    EXPECT_EQ(caught, std::vector<std::string>{"Неверная скорость"});
    EXPECT_EQ(laterListener, 1);
    EXPECT_FALSE(b->Button->isDown());
    // A Perform from code (no Qt in between) still throws to its caller.
    EXPECT_THROW(b->Perform(CN_COMMAND, 0, 0), Exception);
}

TEST_F(CoreMessages, GraphicChildrenGetMouseMessagesEnterLeaveAndCapture) {
    std::vector<std::string> log;
    auto* host = new TProbe(Form);
    host->SetParent(Form);
    host->SetBounds(0, 0, 200, 100);
    auto* a = new TGraphicProbe(Form, "a", &log);
    a->SetParent(host);
    a->SetBounds(10, 10, 40, 40);
    auto* b = new TGraphicProbe(Form, "b", &log); // on top of a where they overlap
    b->SetParent(host);
    b->SetBounds(40, 10, 40, 40);
    auto* hidden = new TGraphicProbe(Form, "hidden", &log);
    hidden->SetParent(host);
    hidden->SetBounds(100, 10, 20, 20);
    hidden->SetVisible(false);
    int aClicks = 0;
    a->OnClick = [&](TObject*) { ++aClicks; };
    Form->Show();
    QWidget* w = ClientWidget(host);

    struct Step {
        int X, Y;
        std::vector<std::string> Expect;
    } moves[] = {
        {20, 20, {"a:enter", "a:move"}},
        {45, 20, {"a:leave", "b:enter", "b:move"}}, // overlap: the later (topmost) child
        {105, 15, {"b:leave"}},                     // the hidden one is skipped
        {85, 20, {}},
    };
    for (const Step& s : moves) {
        log.clear();
        SendMouse(w, QEvent::MouseMove, s.X, s.Y);
        EXPECT_EQ(log, s.Expect) << s.X << "," << s.Y;
    }

    // A press captures: moves and the release outside still go to a, in a's coordinates; no click.
    log.clear();
    SendMouse(w, QEvent::MouseButtonPress, 20, 20);
    EXPECT_EQ(a->LastPos, TPoint(10, 10));
    SendMouse(w, QEvent::MouseMove, 150, 90, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(a->LastPos, TPoint(140, 80));
    SendMouse(w, QEvent::MouseButtonRelease, 150, 90);
    EXPECT_EQ(aClicks, 0);
    EXPECT_TRUE(InOrder<std::string>(log, {"a:enter", "a:down", "a:move", "a:up"}));
    EXPECT_EQ(std::count(log.begin(), log.end(), "b:down"), 0);
    Click(w, 20, 20);
    EXPECT_EQ(aClicks, 1);

    // A disabled graphic control lets the parent have the click.
    a->SetEnabled(false);
    int hostDowns = 0;
    host->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int X, int Y) {
        ++hostDowns;
        EXPECT_EQ(TPoint(X, Y), TPoint(20, 20));
    };
    Click(w, 20, 20);
    EXPECT_EQ(hostDowns, 1);
    EXPECT_EQ(aClicks, 1);
}

TEST_F(CoreMessages, TheCursorIsThatOfTheControlUnderTheMouse) {
    auto* host = new TProbe(Form);
    host->SetParent(Form);
    host->SetBounds(0, 0, 100, 50);
    auto* g = new TGraphicProbe(Form, "g", nullptr);
    g->SetParent(host);
    g->SetBounds(10, 10, 20, 20);
    g->SetCursor(crHandPoint);
    Form->Show();
    QWidget* w = ClientWidget(host);
    struct {
        int X, Y;
        TCursor HostCursor;
        Qt::CursorShape Expect;
    } cases[] = {
        {15, 15, crDefault, Qt::PointingHandCursor},
        {50, 15, crDefault, Qt::ArrowCursor},
        {50, 15, crIBeam, Qt::IBeamCursor},
        {15, 15, crIBeam, Qt::PointingHandCursor},
    };
    for (auto& c : cases) {
        host->SetCursor(c.HostCursor);
        SendMouse(w, QEvent::MouseMove, c.X, c.Y);
        EXPECT_EQ(w->cursor().shape(), c.Expect) << c.X << " " << c.HostCursor;
    }
    // A WM_SETCURSOR handler chooses its own.
    host->OnMessage = [](TMessage& m) {
        if (m.Msg == WM_SETCURSOR) {
            ::SetCursor(Screen->Cursors(crCross));
            m.Msg = WM_NULL;
            m.Result = 1;
        }
    };
    SendMouse(w, QEvent::MouseMove, 15, 15);
    EXPECT_EQ(w->cursor().shape(), Qt::CrossCursor);
}

TEST_F(CoreMessages, HintsShowTheirShortPartWhenShowHintIsOn) {
    auto* host = new TProbe(Form);
    host->SetParent(Form);
    host->SetBounds(0, 0, 100, 50);
    auto* g = new TGraphicProbe(Form, "g", nullptr);
    g->SetParent(host);
    g->SetBounds(10, 10, 20, 20);
    g->SetHint("Открыть|Открыть базу с диска");
    Form->Show();
    Application->SetHintPause(1);
    QWidget* w = ClientWidget(host);
    SendMouse(w, QEvent::MouseMove, 15, 15);
    WaitFor([] { return false; }, 30);
    EXPECT_EQ(Application->HintWindow(), nullptr); // ShowHint is off, as the form's
    SendMouse(w, QEvent::MouseMove, 50, 15);
    Form->SetShowHint(true); // children follow through ParentShowHint
    EXPECT_TRUE(g->ShowHint());
    SendMouse(w, QEvent::MouseMove, 15, 15);
    ASSERT_TRUE(WaitFor([] { return Application->HintWindow() != nullptr; }));
    EXPECT_EQ(Application->HintWindow()->Caption(), "Открыть");
    SendMouse(w, QEvent::MouseMove, 50, 15);
    EXPECT_EQ(Application->HintWindow(), nullptr);
    Application->SetHintPause(500);
    struct {
        const char* Hint;
        const char* Short;
        const char* Long;
    } parts[] = {{"a|b", "a", "b"}, {"a", "a", "a"}, {"|b", "", "b"}, {"a|b|c", "a", "b|c"}};
    for (auto& p : parts) {
        EXPECT_EQ(GetShortHint(p.Hint), p.Short);
        EXPECT_EQ(GetLongHint(p.Hint), p.Long);
    }
}

TEST_F(CoreMessages, GraphicChildrenArePaintedByTheParentInTheirBox) {
    auto* host = new TProbe(Form);
    host->SetParent(Form);
    host->SetBounds(0, 0, 60, 40);
    host->SetColor(clWhite);
    auto* g = new TGraphicProbe(Form, "g", nullptr);
    g->SetParent(host);
    g->SetBounds(10, 5, 20, 10);
    g->SetColor(clRed);
    QImage img = HandleWidget(host)->grab().toImage();
    struct {
        int X, Y;
        TColor Expect;
    } pixels[] = {{10, 5, clRed}, {29, 14, clRed}, {9, 5, clWhite}, {30, 14, clWhite}, {29, 15, clWhite}};
    for (auto& px : pixels)
        EXPECT_EQ(Pixel(img, px.X, px.Y), px.Expect) << px.X << "," << px.Y;
}

TEST_F(CoreMessages, FrameStylesInsetTheClientArea) {
    struct Case {
        DWORD Style, ExStyle;
        int Border, Inset;
    } cases[] = {
        {0, 0, 0, 0},
        {WS_BORDER, 0, 0, 1},
        {0, WS_EX_CLIENTEDGE, 0, 2},
        {WS_BORDER, WS_EX_CLIENTEDGE, 0, 3},
        {0, WS_EX_CLIENTEDGE, 4, 6},
    };
    for (const Case& c : cases) {
        auto* f = new TFramedProbe(Form);
        f->Style = c.Style;
        f->ExStyle = c.ExStyle;
        f->SetBorderWidth(c.Border);
        f->SetParent(Form);
        f->SetBounds(0, 0, 50, 30);
        EXPECT_EQ(f->ClientRect(), Rect(0, 0, 50 - 2 * c.Inset, 30 - 2 * c.Inset));
        EXPECT_EQ(ClientWidget(f)->geometry(), QRect(c.Inset, c.Inset, 50 - 2 * c.Inset, 30 - 2 * c.Inset));
        EXPECT_EQ(f->ClientToScreen(Point(0, 0)).x - f->Parent()->ClientToScreen(Point(0, 0)).x, c.Inset);
        delete f;
    }
}

TEST_F(CoreMessages, SunkenEdgeIsPaintedInTheFrame) {
    auto* e = new TFramedProbe(Form);
    e->ExStyle = WS_EX_CLIENTEDGE;
    e->SetParent(Form);
    e->SetBounds(0, 0, 30, 20);
    e->SetColor(clWhite);
    QImage img = HandleWidget(e)->grab().toImage();
    EXPECT_EQ(Pixel(img, 0, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Pixel(img, 29, 19), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(Pixel(img, 2, 2), clWhite);
    EXPECT_EQ(Pixel(img, 27, 17), clWhite);
}

TEST_F(CoreMessages, FocusMovesWithEnterAndExitAlongTheParentChain) {
    std::vector<std::string> log;
    auto track = [&](TWinControl* c, const std::string& name) {
        c->OnEnter = [&log, name](TObject*) { log.push_back("enter " + name); };
        c->OnExit = [&log, name](TObject*) { log.push_back("exit " + name); };
    };
    auto* e1 = new TProbe(Form);
    e1->SetParent(Form);
    e1->SetTabStop(true);
    auto* panel = new TProbe(Form);
    panel->SetParent(Form);
    auto* e2 = new TProbe(Form);
    e2->SetParent(panel);
    e2->SetTabStop(true);
    auto* e3 = new TProbe(Form);
    e3->SetParent(panel);
    e3->SetTabStop(true);
    track(e1, "e1");
    track(panel, "panel");
    track(e2, "e2");
    track(e3, "e3");
    EXPECT_FALSE(e1->CanFocus()); // the form is hidden
    Form->Show();
    ASSERT_TRUE(e1->CanFocus());

    e1->SetFocus();
    EXPECT_EQ(Form->ActiveControl(), e1);
    e2->SetFocus();
    e3->SetFocus();
    e1->SetFocus();
    EXPECT_EQ(log, (std::vector<std::string>{"enter e1", "exit e1", "enter panel", "enter e2", "exit e2",
                                             "enter e3", "exit e3", "exit panel", "enter e1"}));

    // Tab goes through the form in tab order, into the panel; Shift+Tab back.
    struct {
        Qt::KeyboardModifiers Mods;
        TWinControl* Expect;
    } tabs[] = {{Qt::NoModifier, e2}, {Qt::NoModifier, e3}, {Qt::NoModifier, e1}, {Qt::ShiftModifier, e3}};
    for (auto& t : tabs) {
        TWinControl* from = Form->ActiveControl();
        SendKey(ClientWidget(from), Qt::Key_Tab, "\t", t.Mods);
        EXPECT_EQ(Form->ActiveControl(), t.Expect);
    }

    // A disabled control cannot take the focus; disabling the focused one gives it up.
    e3->SetEnabled(false);
    EXPECT_NE(Form->ActiveControl(), e3);
    EXPECT_FALSE(e3->CanFocus());
    EXPECT_THROW(e3->SetFocus(), EInvalidOperation);
}

// An editor keeps its caret when the focus goes to one of its own scroll bars: the focus messages
// name the other window of the change.
TEST_F(CoreMessages, FocusMessagesNameTheOtherWindow) {
    auto* a = new TProbe(Form);
    a->SetParent(Form);
    a->SetBounds(0, 0, 20, 20);
    auto* b = new TProbe(Form);
    b->SetParent(Form);
    b->SetBounds(30, 0, 20, 20);
    std::vector<std::pair<std::string, HWND>> seen;
    auto watch = [&](TProbe* p, const std::string& name) {
        p->OnMessage = [&seen, name](TMessage& m) {
            if (m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS)
                seen.push_back(
                    {name + (m.Msg == WM_SETFOCUS ? " set" : " kill"), reinterpret_cast<HWND>(m.WParam)});
        };
    };
    watch(a, "a");
    watch(b, "b");
    Form->Show();
    // The shown form is the active window at once, so its controls take the focus straight away.
    a->SetFocus();
    EXPECT_TRUE(a->Focused());
    seen.clear();
    b->SetFocus();
    a->SetFocus();
    using Seen = std::vector<std::pair<std::string, HWND>>;
    EXPECT_EQ(seen, (Seen{{"a kill", b->Handle()},
                          {"b set", a->Handle()},
                          {"b kill", a->Handle()},
                          {"a set", b->Handle()}}));
}

TEST_F(CoreMessages, AShownFormFocusesItsFirstTabStop) {
    auto* plain = new TProbe(Form);
    plain->SetParent(Form);
    auto* first = new TProbe(Form);
    first->SetParent(Form);
    first->SetTabStop(true);
    auto* second = new TProbe(Form);
    second->SetParent(Form);
    second->SetTabStop(true);
    second->SetTabOrder(0);
    EXPECT_EQ(second->TabOrder(), 0);
    EXPECT_EQ(plain->TabOrder(), 1);
    EXPECT_EQ(first->TabOrder(), 2);
    Form->Show();
    EXPECT_EQ(Form->ActiveControl(), second);
}

TEST_F(CoreMessages, AFormWithoutFocusableControlsTakesTheKeys) {
    auto* g = new TGraphicProbe(Form, "g", nullptr);
    g->SetParent(Form);
    std::vector<WORD> keys;
    Form->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) { keys.push_back(Key); };
    Form->Show();
    EXPECT_EQ(Form->ActiveControl(), nullptr);
    // The window's focus goes to the form's client area (Qt delivers it once the window is active).
    QWidget* focus = HandleWidget(Form)->focusWidget();
    ASSERT_EQ(focus, ClientWidget(Form));
    SendKey(focus, Qt::Key_F5, "");
    EXPECT_EQ(keys, std::vector<WORD>{VK_F5});
    EXPECT_EQ(Form->ActiveControl(), nullptr);
}

TEST_F(CoreMessages, TrackMouseEventAsksForOneMouseLeave) {
    auto* p = new TProbe(Form);
    p->SetParent(Form);
    Form->Show();
    TTrackMouseEvent t;
    t.dwFlags = TME_LEAVE;
    t.hwndTrack = p->Handle();
    ASSERT_TRUE(TrackMouseEvent(&t));
    for (int i = 0; i < 2; ++i) {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(ClientWidget(p), &leave);
    }
    EXPECT_EQ(std::count(p->Log.begin(), p->Log.end(), UINT(WM_MOUSELEAVE)), 1);
}

TEST_F(CoreMessages, KeysBecomeKeyDownThenCharInCp1251) {
    auto* p = new TProbe(Form);
    p->SetParent(Form);
    Form->Show();
    std::vector<std::string> log;
    p->OnKeyDown = [&](TObject*, WORD& Key, TShiftState Shift) {
        log.push_back("down " + IntToStr(Key) + (Shift.Contains(ssCtrl) ? " ctrl" : ""));
        if (Key == VK_F2)
            Key = 0;
    };
    p->OnKeyPress = [&](TObject*, char& Key) {
        log.push_back("press " + IntToStr(static_cast<unsigned char>(Key)));
    };
    p->OnKeyUp = [&](TObject*, WORD& Key, TShiftState) { log.push_back("up " + IntToStr(Key)); };
    struct Case {
        int QtKey;
        QString Text;
        Qt::KeyboardModifiers Mods;
        std::vector<std::string> Expect;
    } cases[] = {
        {Qt::Key_A, "a", Qt::NoModifier, {"down 65", "press 97", "up 65"}},
        // Ж sits on the US layout's semicolon key: VK_OEM_1, its character still CP1251 0xE6.
        {0x0416, QString::fromUtf16(u"ж"), Qt::NoModifier, {"down 186", "press 230", "up 186"}},
        {Qt::Key_Left, "", Qt::NoModifier, {"down 37", "up 37"}},
        {Qt::Key_F2, "", Qt::NoModifier, {"down 113", "up 113"}},
        {Qt::Key_C, QString(QChar(3)), Qt::ControlModifier, {"down 67 ctrl", "press 3", "up 67"}},
        {Qt::Key_Return, "\r", Qt::NoModifier, {"down 13", "press 13", "up 13"}},
    };
    for (const Case& c : cases) {
        log.clear();
        SendKey(ClientWidget(p), c.QtKey, c.Text, c.Mods);
        EXPECT_EQ(log, c.Expect) << c.Expect[0];
    }
    // A key eaten in OnKeyDown makes no character.
    p->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) { Key = 0; };
    log.clear();
    SendKey(ClientWidget(p), Qt::Key_A, "a");
    EXPECT_EQ(log, (std::vector<std::string>{"up 65"}));
}

TEST_F(CoreMessages, AltLetterAsksTheFormForTheAccelerator) {
    auto* p = new TProbe(Form);
    p->SetParent(Form);
    auto* target = new TProbe(Form);
    target->SetParent(Form);
    std::vector<WPARAM> asked;
    target->OnMessage = [&](TMessage& m) {
        if (m.Msg == CM_DIALOGCHAR) {
            asked.push_back(m.WParam);
            m.Result = m.WParam == 'f';
        }
    };
    Form->Show();
    SendKey(ClientWidget(p), Qt::Key_F, "f", Qt::AltModifier);
    SendKey(ClientWidget(p), Qt::Key_G, "g", Qt::AltModifier);
    EXPECT_EQ(asked, (std::vector<WPARAM>{'f', 'g'}));
    EXPECT_TRUE(InOrder<UINT>(p->Log, {WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP}));
}

TEST_F(CoreMessages, AWrappedQtWidgetGetsWhatTheHandlersLeave) {
    class TLineProbe : public TProbe {
    public:
        using TProbe::TProbe;
        QLineEdit* Line = nullptr;

    protected:
        void CreateWnd() override {
            TProbe::CreateWnd();
            Line = new QLineEdit();
            SetNativeWidget(this, Line);
        }
    };
    auto* p = new TLineProbe(Form);
    p->SetParent(Form);
    p->SetBounds(0, 0, 100, 24);
    Form->Show();
    ASSERT_NE(p->Line, nullptr);
    p->OnKeyPress = [](TObject*, char& Key) {
        if (Key == 'x')
            Key = 0;
        else
            Key = AnsiUpperChar(Key);
    };
    p->OnKeyDown = [](TObject*, WORD& Key, TShiftState) {
        if (Key == VK_HOME)
            Key = 0;
    };
    struct {
        int QtKey;
        QString Text;
    } keys[] = {{Qt::Key_A, "a"},   {Qt::Key_X, "x"},   {0x0431, QString::fromUtf16(u"б")},
                {Qt::Key_Home, ""}, {Qt::Key_Left, ""}, {Qt::Key_C, "c"}};
    for (auto& k : keys)
        SendKey(p->Line, k.QtKey, k.Text);
    // "x" eaten, letters upper-cased on the way in, Home eaten, Left moved the cursor before "Б".
    EXPECT_EQ(p->Line->text(), QString::fromUtf16(u"ACБ"));
    EXPECT_EQ(p->Perform(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS);

    // A click reaches the control's events and the widget.
    int downs = 0;
    p->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    SendMouse(p->Line, QEvent::MouseButtonPress, 1, 5);
    SendMouse(p->Line, QEvent::MouseButtonRelease, 1, 5);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(p->Line->cursorPosition(), 0);
}

TEST_F(CoreMessages, AlignAndAnchorsPlaceChildren) {
    auto* host = new TProbe(Form);
    host->SetParent(Form);
    host->SetBounds(0, 0, 200, 100);
    auto make = [&](TAlign a, int l, int t, int w, int h) {
        auto* c = new TProbe(Form);
        c->SetParent(host);
        c->SetBounds(l, t, w, h);
        c->SetAlign(a);
        return c;
    };
    TProbe* top = make(alTop, 0, 0, 5, 10);
    TProbe* bottom = make(alBottom, 0, 0, 5, 20);
    TProbe* left = make(alLeft, 0, 0, 30, 5);
    TProbe* right = make(alRight, 0, 0, 25, 5);
    TProbe* client = make(alClient, 0, 0, 5, 5);
    TProbe* pinned = make(alNone, 150, 40, 20, 10);
    pinned->SetAnchors(TAnchors{akTop, akRight});
    TProbe* stretched = make(alNone, 40, 40, 100, 10);
    stretched->SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});

    struct Expect {
        TControl* C;
        TRect Box;
    };
    for (auto& e : {Expect{top, Rect(0, 0, 200, 10)}, Expect{bottom, Rect(0, 80, 200, 100)},
                    Expect{left, Rect(0, 10, 30, 80)}, Expect{right, Rect(175, 10, 200, 80)},
                    Expect{client, Rect(30, 10, 175, 80)}})
        EXPECT_EQ(e.C->BoundsRect(), e.Box);

    host->SetBounds(0, 0, 300, 150);
    for (auto& e : {Expect{top, Rect(0, 0, 300, 10)}, Expect{bottom, Rect(0, 130, 300, 150)},
                    Expect{client, Rect(30, 10, 275, 130)}, Expect{pinned, Rect(250, 40, 270, 50)},
                    Expect{stretched, Rect(40, 40, 240, 100)}})
        EXPECT_EQ(e.C->BoundsRect(), e.Box);

    // Hiding an aligned control gives its room to the others.
    top->SetVisible(false);
    EXPECT_EQ(client->BoundsRect(), Rect(30, 0, 275, 130));
}

TEST_F(CoreMessages, CanResizeAdjustsOrRefusesANewSize) {
    // Widths snap to tens; heights above 100 are refused.
    class TSnapping : public TProbe {
    public:
        using TProbe::TProbe;

    protected:
        bool CanResize(int& W, int& H) override {
            W = W / 10 * 10;
            return H <= 100;
        }
    };
    auto* p = new TSnapping(Form);
    p->SetParent(Form);
    p->SetBounds(0, 0, 40, 20);
    p->Constraints().MinWidth = 30;
    struct {
        int L, W, H;
        TRect Expect;
    } cases[] = {
        {0, 57, 30, Rect(0, 0, 50, 30)},
        {5, 64, 150, Rect(5, 0, 55, 30)}, // refused: the size stays, the move happens
        {5, 12, 40, Rect(5, 0, 35, 40)},  // adjusted to 10, then the constraint's 30
    };
    for (auto& c : cases) {
        p->SetBounds(c.L, 0, c.W, c.H);
        EXPECT_EQ(p->BoundsRect(), c.Expect) << c.W << "x" << c.H;
    }
}

TEST_F(CoreMessages, ParentColorAndFontFollowUntilSetOwn) {
    auto* host = new TProbe(Form);
    host->SetParent(Form);
    auto* child = new TGraphicProbe(Form, "c", nullptr);
    child->SetParent(host);
    host->SetColor(clYellow);
    EXPECT_EQ(child->Color(), clYellow);
    EXPECT_TRUE(child->ParentColor());
    host->Font()->SetSize(14);
    EXPECT_EQ(child->Font()->Size(), 14);
    EXPECT_TRUE(child->ParentFont());

    child->SetColor(clRed);
    child->Font()->SetSize(9);
    EXPECT_FALSE(child->ParentColor());
    EXPECT_FALSE(child->ParentFont());
    host->SetColor(clBlue);
    host->Font()->SetSize(20);
    EXPECT_EQ(child->Color(), clRed);
    EXPECT_EQ(child->Font()->Size(), 9);

    child->SetParentColor(true);
    child->SetParentFont(true);
    EXPECT_EQ(child->Color(), clBlue);
    EXPECT_EQ(child->Font()->Size(), 20);
}

TEST_F(CoreMessages, ChangesSendTheirNotifications) {
    auto* p = new TProbe(Form);
    p->SetParent(Form);
    struct Case {
        std::function<void()> Change;
        UINT Msg;
    } cases[] = {
        {[&] { p->SetEnabled(false); }, CM_ENABLEDCHANGED},
        {[&] { p->SetVisible(false); }, CM_VISIBLECHANGED},
        {[&] { p->SetColor(clLime); }, CM_COLORCHANGED},
        {[&] { p->Font()->SetName("Arial"); }, CM_FONTCHANGED},
        {[&] { p->SetCaption("Пуск"); }, CM_TEXTCHANGED},
        {[&] { p->SetShowHint(true); }, CM_SHOWHINTCHANGED},
        {[&] { p->SetCursor(crHandPoint); }, CM_CURSORCHANGED},
        {[&] { p->SetTabStop(true); }, CM_TABSTOPCHANGED},
    };
    for (const Case& c : cases) {
        p->Log.clear();
        c.Change();
        EXPECT_EQ(std::count(p->Log.begin(), p->Log.end(), c.Msg), 1) << std::hex << c.Msg;
        p->Log.clear();
        c.Change(); // the same value again changes nothing
        EXPECT_EQ(std::count(p->Log.begin(), p->Log.end(), c.Msg), 0) << std::hex << c.Msg;
    }
    EXPECT_EQ(p->Text(), "Пуск");
}

TEST_F(CoreMessages, TextGoesThroughWindowMessages) {
    auto* p = new TProbe(Form);
    p->SetParent(Form);
    p->Log.clear();
    p->SetText("Канал");
    EXPECT_TRUE(InOrder<UINT>(p->Log, {WM_SETTEXT, CM_TEXTCHANGED}));
    EXPECT_EQ(p->GetTextLen(), 5);
    struct {
        int Size;
        std::string Expect;
    } bufs[] = {{10, "Канал"}, {6, "Канал"}, {5, "Кана"}, {1, ""}};
    for (auto& b : bufs) {
        char buf[16];
        std::fill(std::begin(buf), std::end(buf), 'x');
        EXPECT_EQ(p->GetTextBuf(buf, b.Size), int(b.Expect.size()));
        EXPECT_EQ(std::string(buf), b.Expect);
    }
    // A handler that keeps WM_SETTEXT from the default handler keeps the old text.
    p->OnMessage = [](TMessage& m) {
        if (m.Msg == WM_SETTEXT)
            m.Msg = WM_NULL;
    };
    p->SetText("other");
    EXPECT_EQ(p->Text(), "Канал");
}

TEST_F(CoreMessages, MovingAWindowSendsWindowPosChanged) {
    auto* p = new TProbe(Form);
    p->SetParent(Form);
    p->SetBounds(1, 2, 30, 40);
    p->HandleNeeded();
    std::vector<TWindowPos> seen;
    p->OnMessage = [&](TMessage& m) {
        if (m.Msg == WM_WINDOWPOSCHANGED)
            seen.push_back(*reinterpret_cast<TWindowPos*>(m.LParam));
    };
    p->SetBounds(5, 6, 30, 40);
    p->SetBounds(5, 6, 31, 40);
    p->SetBounds(5, 6, 31, 40);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].x, 5);
    EXPECT_TRUE(seen[0].flags & SWP_NOSIZE);
    EXPECT_EQ(seen[1].cx, 31);
    EXPECT_TRUE(seen[1].flags & SWP_NOMOVE);
}

TEST_F(CoreMessages, WindowTimersAndTheCaret) {
    auto* p = new TProbe(Form);
    p->SetParent(Form);
    Form->Show();
    int ticks = 0;
    p->OnMessage = [&](TMessage& m) {
        if (m.Msg == WM_TIMER && m.WParam == 7)
            ++ticks;
    };
    EXPECT_EQ(SetTimer(p->Handle(), 7, 5), 7u);
    EXPECT_TRUE(WaitFor([&] { return ticks >= 2; }));
    EXPECT_TRUE(KillTimer(p->Handle(), 7));
    EXPECT_FALSE(KillTimer(p->Handle(), 7));
    int now = ticks;
    WaitFor([] { return false; }, 40);
    EXPECT_EQ(ticks, now);

    // The caret starts hidden; shows and hides count like Windows.
    ASSERT_TRUE(CreateCaret(p->Handle(), nullptr, 2, 14));
    EXPECT_TRUE(SetCaretPos(5, 6));
    TPoint pos;
    EXPECT_TRUE(GetCaretPos(&pos));
    EXPECT_EQ(pos, TPoint(5, 6));
    EXPECT_TRUE(ShowCaret(p->Handle()));
    EXPECT_FALSE(ShowCaret(p->Handle()));
    EXPECT_TRUE(HideCaret(p->Handle()));
    EXPECT_TRUE(HideCaret(p->Handle()));
    EXPECT_TRUE(ShowCaret(p->Handle()));
    EXPECT_TRUE(ShowCaret(p->Handle()));
    EXPECT_FALSE(ShowCaret(p->Handle()));
    EXPECT_TRUE(DestroyCaret());
    EXPECT_FALSE(SetCaretPos(1, 1));
}

// A grid hosts an in-place editor in a panel and frees both when editing ends: from the editor's
// OnExit (focus moved on) or from its own key event. Nothing may touch them afterwards.
TEST_F(CoreMessages, AnEditorFreedByItsHostWhenEditingEndsGoesQuietly) {
    class TEditorProbe : public TProbe {
    public:
        TEditorProbe(TComponent* AOwner, int* freed) : TProbe(AOwner), Freed(freed) {}
        ~TEditorProbe() override { ++*Freed; }
        int* Freed;

    protected:
        void CreateWnd() override {
            TProbe::CreateWnd();
            SetNativeWidget(this, new QLineEdit());
        }
    };
    // ByExit: the editor's OnExit ends the edit; ByHostExit: the host's (a panel of check boxes).
    enum End { ByExit, ByHostExit, ByOwnKey };
    struct Case {
        const char* Name;
        End How;
        std::function<void(TWinControl* grid, TWinControl* editor)> Leave;
    } cases[] = {
        {"SetFocus on the grid", ByExit, [](TWinControl* grid, TWinControl*) { grid->SetFocus(); }},
        {"Qt moves the focus", ByExit,
         [](TWinControl* grid, TWinControl*) { ClientWidget(grid)->setFocus(Qt::MouseFocusReason); }},
        {"Tab in the editor", ByExit,
         [](TWinControl*, TWinControl* editor) { SendKey(ClientWidget(editor), Qt::Key_Tab, "\t"); }},
        {"Shift+Tab in the editor", ByExit,
         [](TWinControl*, TWinControl* editor) {
             SendKey(ClientWidget(editor), Qt::Key_Backtab, "", Qt::ShiftModifier);
         }},
        {"Enter ends the edit", ByOwnKey,
         [](TWinControl*, TWinControl* editor) { SendKey(ClientWidget(editor), Qt::Key_Return, "\r"); }},
        {"the host's own OnExit", ByHostExit, [](TWinControl* grid, TWinControl*) { grid->SetFocus(); }},
        {"Escape ends the edit", ByOwnKey,
         [](TWinControl*, TWinControl* editor) { SendKey(ClientWidget(editor), Qt::Key_Escape, "\x1b"); }},
    };
    TFakeDialogScope dialogs;
    auto* grid = new TProbe(Form);
    grid->SetParent(Form);
    grid->SetBounds(0, 0, 200, 100);
    grid->SetTabStop(true);
    Form->Show();
    for (const Case& c : cases) {
        int freed = 0;
        std::vector<std::string> log;
        grid->OnEnter = [&](TObject*) { log.push_back("enter grid"); };
        grid->OnExit = [&](TObject*) { log.push_back("exit grid"); };
        TProbe* host = new TProbe(grid);
        host->SetParent(grid);
        host->SetBounds(10, 10, 80, 20);
        auto* editor = new TEditorProbe(host, &freed);
        editor->SetParent(host);
        editor->SetBounds(0, 0, 80, 20);
        editor->SetTabStop(true);
        auto endEdit = [&, host] {
            log.push_back("end edit");
            delete host;
        };
        editor->OnExit = [&](TObject*) {
            if (c.How == ByExit)
                endEdit();
        };
        host->OnExit = [&](TObject*) {
            if (c.How == ByHostExit)
                endEdit();
        };
        editor->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) {
            if (c.How == ByOwnKey && (Key == VK_RETURN || Key == VK_ESCAPE)) {
                grid->SetFocus();
                endEdit();
                // A host that refreshes its views at once, still inside the editor's key event.
                Application->ProcessMessages();
            }
        };
        editor->OnKeyPress = [&](TObject*, char&) { log.push_back("char after the end"); };
        editor->SetFocus();
        ASSERT_EQ(Form->ActiveControl(), editor) << c.Name;
        log.clear();

        c.Leave(grid, editor);
        Application->ProcessMessages();
        EXPECT_EQ(freed, 1) << c.Name;
        EXPECT_EQ(grid->ControlCount(), 0) << c.Name;
        EXPECT_EQ(Form->ActiveControl(), grid) << c.Name;
        // The grid held the focus around its editor all along: it is not entered again.
        EXPECT_EQ(log, std::vector<std::string>{"end edit"}) << c.Name;
        EXPECT_TRUE(dialogs.Fake.Calls.empty()) << c.Name;
        // The grid goes on working after the editor's window went.
        std::vector<WORD> keys;
        grid->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) { keys.push_back(Key); };
        SendKey(ClientWidget(grid), Qt::Key_F2, "");
        EXPECT_EQ(keys, std::vector<WORD>{VK_F2}) << c.Name;
        grid->OnKeyDown = nullptr;
    }
}

// A button that closes its own panel: the control is freed by its own click or double click.
TEST_F(CoreMessages, AControlFreedByItsOwnClickGoesQuietly) {
    TFakeDialogScope dialogs;
    auto* host = new TProbe(Form);
    host->SetParent(Form);
    host->SetBounds(0, 0, 100, 50);
    Form->Show();
    struct Case {
        const char* Name;
        bool Graphic;
        bool Double;
    } cases[] = {{"windowed, click", false, false},
                 {"graphic, click", true, false},
                 {"windowed, double click", false, true},
                 {"graphic, double click", true, true}};
    for (const Case& c : cases) {
        TControl* victim = c.Graphic ? static_cast<TControl*>(new TGraphicProbe(Form, "g", nullptr))
                                     : static_cast<TControl*>(new TProbe(Form));
        victim->SetParent(host);
        victim->SetBounds(10, 10, 30, 20);
        int ups = 0;
        host->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++ups; };
        TNotifyEvent free = [victim](TObject*) { delete victim; };
        (c.Double ? victim->OnDblClick : victim->OnClick) = free;
        QWidget* w = c.Graphic ? ClientWidget(host) : ClientWidget(static_cast<TWinControl*>(victim));
        int at = c.Graphic ? 15 : 5;
        Click(w, at, at);
        if (c.Double) {
            SendMouse(w, QEvent::MouseButtonDblClick, at, at);
            SendMouse(w, QEvent::MouseButtonRelease, at, at);
        }
        Application->ProcessMessages();
        EXPECT_EQ(host->ControlCount(), 0) << c.Name;
        EXPECT_NE(MouseControl(), victim) << c.Name;
        EXPECT_TRUE(dialogs.Fake.Calls.empty()) << c.Name;
        // The next click on the host's free area reaches the host itself.
        Click(ClientWidget(host), 15, 15);
        EXPECT_GE(ups, 1) << c.Name;
    }
}

TEST_F(CoreMessages, AFormReleasedFromItsOwnClickGoesAfterTheEvent) {
    auto* other = new TForm(nullptr);
    auto* p = new TProbe(other);
    p->SetParent(other);
    p->SetBounds(0, 0, 20, 20);
    other->Show();
    bool destroyed = false;
    other->OnDestroy = [&](TObject*) { destroyed = true; };
    p->OnClick = [&](TObject*) { other->Release(); };
    Click(ClientWidget(p), 5, 5);
    EXPECT_FALSE(destroyed);
    int before = Screen->FormCount();
    Application->ProcessMessages();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(Screen->FormCount(), before - 1);
}

} // namespace
