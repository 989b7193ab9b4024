// Drag and drop and docking: mouse-message sequences checked by the events they raise, dock and
// undock calls checked by the dock tree and the clients' bounds, a floating form's caption dragged
// onto a dock site.
#include <gtest/gtest.h>

#include "core_support.h"
#include "dragdock.h"
#include "handle.h"

namespace {

std::string Str(const TRect& r) {
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom);
}

class Docking : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        Site = new TProbe(Form);
        Site->SetParent(Form);
        Site->SetBounds(0, 0, 300, 200);
        Site->SetUseDockManager(true);
        Site->SetDockSite(true);
        for (auto*& c : Clients) {
            c = new TProbe(Form);
            c->SetParent(Form);
            c->SetBounds(310, 0, 80, 60);
            c->SetDragKind(dkDock);
        }
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    // The clients' bounds in the site, in the order given.
    std::string Layout(std::initializer_list<TControl*> cs) {
        std::string s;
        for (TControl* c : cs)
            s += (s.empty() ? "" : " ") + Str(c->BoundsRect());
        return s;
    }
    TForm* Form = nullptr;
    TProbe* Site = nullptr;
    TProbe* Clients[3] = {};
};

TEST_F(Docking, DockAndUndockCallsShapeTheTreeAndTheBounds) {
    auto [a, b, c] = Clients;
    ASSERT_NE(Site->DockManager(), nullptr);
    EXPECT_TRUE(a->ManualDock(Site, nullptr, alClient));
    EXPECT_EQ(a->HostDockSite(), Site);
    EXPECT_EQ(a->Parent(), Site);
    // The grabber strip (12 pixels) comes off the top of every zone; a 4-pixel splitter follows
    // every zone but the last.
    EXPECT_EQ(Layout({a}), "0,12,300,200");
    b->ManualDock(Site, a, alRight);
    EXPECT_EQ(Layout({a, b}), "0,12,146,200 150,12,300,200");
    c->ManualDock(Site, b, alBottom);
    EXPECT_EQ(Layout({a, b, c}), "0,12,146,200 150,12,300,96 150,112,300,200");
    EXPECT_EQ(Site->DockClientCount(), 3);
    EXPECT_EQ(Site->DockManager()->TopZone()->Orientation, doVertical);

    // Floating gives c a window of its own; the tree closes the gap.
    EXPECT_TRUE(c->ManualFloat(Bounds(500, 40, 120, 90)));
    EXPECT_EQ(Site->DockClientCount(), 2);
    EXPECT_TRUE(c->Floating());
    auto* host = dynamic_cast<TCustomDockForm*>(c->HostDockSite());
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(Str(host->BoundsRect()), "500,40,620,130");
    EXPECT_EQ(Layout({a, b}), "0,12,146,200 150,12,300,200");

    // Docked again below everything: the floating window goes with its last client.
    TControlGuard hostAlive(host);
    c->ManualDock(Site, nullptr, alBottom);
    Application->ProcessMessages();
    EXPECT_FALSE(hostAlive.Alive());
    EXPECT_EQ(Layout({a, b, c}), "0,12,146,96 150,12,300,96 0,112,300,200");

    // A hidden client gives its zone up; a freed one leaves the tree.
    b->Hide();
    EXPECT_EQ(Layout({a, c}), "0,12,300,96 0,112,300,200");
    b->Show();
    delete a;
    EXPECT_EQ(Site->DockClientCount(), 2);
    EXPECT_EQ(Layout({b, c}), "0,12,300,96 0,112,300,200");
}

TEST_F(Docking, DraggingASplitterResizesTheZonesBesideIt) {
    auto [a, b, c] = Clients;
    a->ManualDock(Site, nullptr, alClient);
    b->ManualDock(Site, a, alRight);
    c->ManualDock(Site, b, alBottom);
    TDockTree* tree = Site->DockManager();
    const struct {
        TPoint Pos;
        TControl* Before; // the client of the zone before the splitter, null for none
    } hits[] = {{{148, 100}, a}, {{148, 5}, a}, {{220, 98}, b}, {{100, 100}, nullptr}, {{220, 150}, nullptr}};
    for (const auto& h : hits) {
        TDockZone* z = tree->SplitterAt(h.Pos);
        EXPECT_EQ(z ? z->ChildControl : nullptr, h.Before) << h.Pos.x << "," << h.Pos.y;
    }
    QWidget* w = ClientWidget(Site);
    auto drag = [&](QPoint from, QPoint to) {
        SendMouse(w, QEvent::MouseButtonPress, from.x(), from.y());
        SendMouse(w, QEvent::MouseMove, (from.x() + to.x()) / 2, (from.y() + to.y()) / 2, Qt::NoButton,
                  Qt::LeftButton);
        SendMouse(w, QEvent::MouseMove, to.x(), to.y(), Qt::NoButton, Qt::LeftButton);
        SendMouse(w, QEvent::MouseButtonRelease, to.x(), to.y());
    };
    // The border follows the mouse (the splitter centred on it); the zones after it keep their place.
    drag({148, 100}, {200, 100});
    EXPECT_EQ(Layout({a, b, c}), "0,12,198,200 202,12,300,96 202,112,300,200");
    drag({250, 98}, {250, 60});
    EXPECT_EQ(Layout({a, b, c}), "0,12,198,200 202,12,300,58 202,74,300,200");
    // Neither zone shrinks below its grabber and splitter.
    drag({250, 60}, {250, 2});
    EXPECT_EQ(Layout({a, b, c}), "0,12,198,200 202,12,300,12 202,28,300,200");
    drag({199, 150}, {395, 150});
    EXPECT_EQ(Layout({a, b, c}), "0,12,280,200 284,12,300,12 284,28,300,200");
    // A move without the splitter held does nothing; the sizes stay when the site is laid out again.
    SendMouse(w, QEvent::MouseMove, 100, 5);
    Site->SetBounds(0, 0, 300, 200);
    tree->ResetBounds(true);
    EXPECT_EQ(Layout({a, b, c}), "0,12,280,200 284,12,300,12 284,28,300,200");
}

TEST_F(Docking, UnDockAsksTheSiteAndTheEventsCome) {
    auto [a, b, c] = Clients;
    (void)c;
    std::vector<std::string> seen;
    Site->OnUnDock = [&](TObject*, TControl* client, TWinControl* target, bool& allow) {
        seen.push_back(client == a ? "undock a" : "undock ?");
        allow = target != nullptr;
    };
    a->ManualDock(Site);
    b->ManualDock(Site, a, alLeft);
    // Docked on the left, b's zone keeps its docked width (the splitter comes off it).
    EXPECT_EQ(Layout({b, a}), "0,12,76,200 80,12,300,200");
    EXPECT_FALSE(a->ManualFloat(Bounds(0, 0, 50, 50)));
    EXPECT_EQ(a->HostDockSite(), Site);
    EXPECT_EQ(seen, std::vector<std::string>{"undock a"});
}

TEST_F(Docking, AFormDocksAsAChildWindowAndFloatsAsATopLevelOne) {
    auto* f = new TForm(nullptr);
    TControlGuard alive(f);
    f->SetBounds(420, 300, 160, 90);
    f->SetDragKind(dkDock);
    f->SetCaption("Окно");
    f->Show();
    EXPECT_TRUE(f->DrawsDockCaption());
    EXPECT_TRUE(f->Floating());
    // The sizing frame (4 on each side) and the caption strip are ours: the client starts below it.
    EXPECT_EQ(f->ClientHeight(), 90 - 8 - 16);
    EXPECT_EQ(f->ClientWidth(), 160 - 8);
    f->ManualDock(Site, nullptr, alClient);
    EXPECT_EQ(f->Parent(), Site);
    EXPECT_FALSE(f->Floating());
    EXPECT_FALSE(f->DrawsDockCaption());
    EXPECT_TRUE(f->Showing());
    EXPECT_EQ(Str(f->BoundsRect()), "0,12,300,200");
    f->ManualFloat(Bounds(420, 300, 160, 90));
    EXPECT_EQ(f->Parent(), nullptr);
    EXPECT_EQ(Site->DockClientCount(), 0);
    EXPECT_TRUE(f->Showing());
    EXPECT_EQ(Str(f->BoundsRect()), "420,300,580,390");
    delete f;
    Application->ProcessMessages();
}

TEST_F(Docking, DraggingAFloatingFormsCaptionDocksIt) {
    auto* f = new TForm(nullptr);
    f->SetBounds(420, 300, 160, 90);
    f->SetDragKind(dkDock);
    f->SetDragMode(dmAutomatic);
    f->Show();
    std::vector<TRect> previews;
    SetDockPreviewHook([&](const TRect& r, int, bool show) {
        if (show)
            previews.push_back(r);
    });
    std::vector<std::string> seen;
    Site->OnDockOver = [&](TObject*, TDragDockObject* src, int, int, TDragState, bool& accept) {
        accept = src->Control() == f;
    };
    Site->OnDockDrop = [&](TObject*, TDragDockObject* src, int, int) {
        seen.push_back(src->Control() == f ? "drop" : "drop ?");
    };
    f->OnEndDock = [&](TObject*, TObject* target, int, int) {
        seen.push_back(target == Site ? "end on site" : "end elsewhere");
    };
    QWidget* frame = HandleWidget(f);
    SendMouse(frame, QEvent::MouseButtonPress, 40, 8);
    EXPECT_TRUE(f->Dragging());
    QPoint siteCentre = ClientWidget(Site)->mapToGlobal(QPoint(150, 100));
    QPoint local = frame->mapFromGlobal(siteCentre);
    SendMouse(frame, QEvent::MouseMove, 60, 20, Qt::NoButton, Qt::LeftButton);
    SendMouse(frame, QEvent::MouseMove, local.x(), local.y(), Qt::NoButton, Qt::LeftButton);
    ASSERT_FALSE(previews.empty());
    // Over the empty site the preview is its whole client area.
    TPoint o = Site->ClientToScreen(TPoint(0, 0));
    EXPECT_EQ(Str(previews.back()), Str(Bounds(o.x, o.y, 300, 200)));
    SendMouse(frame, QEvent::MouseButtonRelease, local.x(), local.y());
    EXPECT_FALSE(f->Dragging());
    EXPECT_EQ(f->HostDockSite(), Site);
    EXPECT_EQ(f->Parent(), Site);
    EXPECT_EQ(Str(f->BoundsRect()), "0,12,300,200");
    EXPECT_EQ(seen, (std::vector<std::string>{"drop", "end on site"}));
    SetDockPreviewHook(nullptr);
    Application->ProcessMessages();
}

TEST_F(Docking, ThePreviewIsAnXorFrameOnTheSitesWindowThatEscapeTakesAway) {
    auto* f = new TForm(nullptr);
    f->SetBounds(420, 300, 160, 90);
    f->SetDragKind(dkDock);
    f->SetDragMode(dmAutomatic);
    f->Show();
    Site->SetColor(clWhite);
    Application->ProcessMessages();
    TPoint o = Site->ClientToScreen(TPoint(0, 0));
    QWidget* top = HandleWidget(Form);
    QPoint at = top->mapFromGlobal(QPoint(o.x + 1, o.y + 1));
    auto pixel = [&] { return Pixel(top->grab().toImage(), at.x(), at.y()); };
    TColor before = pixel();
    QWidget* frame = HandleWidget(f);
    SendMouse(frame, QEvent::MouseButtonPress, 40, 8);
    QPoint local = frame->mapFromGlobal(QPoint(o.x + 150, o.y + 100));
    SendMouse(frame, QEvent::MouseMove, 60, 20, Qt::NoButton, Qt::LeftButton);
    SendMouse(frame, QEvent::MouseMove, local.x(), local.y(), Qt::NoButton, Qt::LeftButton);
    Application->ProcessMessages();
    EXPECT_EQ(pixel(), TColor(0xFFFFFF - int(before)));
    SendKey(ClientWidget(f), Qt::Key_Escape, QString(QChar(27)));
    EXPECT_FALSE(f->Dragging());
    Application->ProcessMessages();
    EXPECT_EQ(pixel(), before);
    EXPECT_EQ(f->HostDockSite(), nullptr);
    delete f;
    Application->ProcessMessages();
}

// ---- drag and drop -------------------------------------------------------------------------------

TEST(DragDrop, AMouseSequenceRaisesTheDragEventsInOrder) {
    TApplication::QtApp();
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* src = new TProbe(&form);
    src->SetParent(&form);
    src->SetBounds(10, 10, 60, 40);
    src->SetDragMode(dmAutomatic);
    auto* dst = new TProbe(&form);
    dst->SetParent(&form);
    dst->SetBounds(150, 10, 60, 40);
    form.Show();

    std::vector<std::string> log;
    src->OnStartDrag = [&](TObject*, TDragObject*& o) { log.push_back(o ? "start ?" : "start"); };
    dst->OnDragOver = [&](TObject*, TObject* source, int x, int y, TDragState state, bool& accept) {
        const char* names[] = {"enter", "leave", "move"};
        log.push_back(std::string(names[state]) + " " + std::to_string(x) + "," + std::to_string(y));
        accept = source == src;
    };
    dst->OnDragDrop = [&](TObject*, TObject* source, int x, int y) {
        log.push_back((source == src ? "drop " : "drop ? ") + std::to_string(x) + "," + std::to_string(y));
    };
    src->OnEndDrag = [&](TObject*, TObject* target, int, int) {
        log.push_back(target == dst ? "end on dst" : target ? "end ?" : "end nowhere");
    };
    src->OnClick = [&](TObject*) { log.push_back("click"); };

    QWidget* w = ClientWidget(src);
    SendMouse(w, QEvent::MouseButtonPress, 5, 5);
    EXPECT_TRUE(src->Dragging());
    SendMouse(w, QEvent::MouseMove, 145, 10, Qt::NoButton, Qt::LeftButton); // dst at 5,10
    SendMouse(w, QEvent::MouseMove, 150, 12, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(Screen->Cursor(), crDrag);
    SendMouse(w, QEvent::MouseMove, 100, 100, Qt::NoButton, Qt::LeftButton); // the form itself
    EXPECT_EQ(Screen->Cursor(), crNoDrop);
    SendMouse(w, QEvent::MouseMove, 150, 12, Qt::NoButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, 150, 12);
    EXPECT_FALSE(src->Dragging());
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ(log,
              (std::vector<std::string>{"start", "enter 5,10", "move 5,10", "move 10,12", "leave -40,100",
                                        "enter 10,12", "move 10,12", "drop 10,12", "end on dst"}));

    // Dropped where nothing takes it, or cancelled with Escape: no drop, the end names no target.
    log.clear();
    SendMouse(w, QEvent::MouseButtonPress, 5, 5);
    SendMouse(w, QEvent::MouseMove, 100, 100, Qt::NoButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, 100, 100);
    SendMouse(w, QEvent::MouseButtonPress, 5, 5);
    SendMouse(w, QEvent::MouseMove, 150, 12, Qt::NoButton, Qt::LeftButton);
    SendKey(w, Qt::Key_Escape, QString(QChar(27)));
    EXPECT_FALSE(src->Dragging());
    SendMouse(w, QEvent::MouseButtonRelease, 150, 12);
    EXPECT_EQ(log, (std::vector<std::string>{"start", "end nowhere", "start", "enter 10,12", "move 10,12",
                                             "leave 10,12", "end nowhere"}));
}

TEST(DragDrop, AManualDragWaitsForTheThresholdAndAClickStaysAClick) {
    TApplication::QtApp();
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* src = new TProbe(&form);
    src->SetParent(&form);
    src->SetBounds(10, 10, 60, 40);
    src->SetControlStyle(src->ControlStyle() << csClickEvents);
    std::vector<std::string> log;
    src->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { src->BeginDrag(false); };
    src->OnEndDrag = [&](TObject*, TObject*, int, int) { log.push_back("end"); };
    src->OnClick = [&](TObject*) { log.push_back("click"); };
    form.Show();
    QWidget* w = ClientWidget(src);
    SendMouse(w, QEvent::MouseButtonPress, 5, 5);
    SendMouse(w, QEvent::MouseMove, 7, 7, Qt::NoButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, 7, 7);
    EXPECT_EQ(log, (std::vector<std::string>{"end", "click"}));
}

} // namespace
