// Docking the message window: sequences of drops and undocks, each step checked by where every
// form ends up (floating, in the panel, in a conjoin or a tab host) and by the hosts that live.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Conjoinhost.h"
#include "Dockform.h"
#include "Tabhost.h"
#include "dragdock.h"
#include "extctrls.h"

namespace {

class Docking : public ::testing::Test {
public:
    void SetUp() override {
        Application->Initialize();
        site = new TForm(Application);
        site->SetBounds(0, 0, 600, 400);
        panel = new TPanel(site);
        panel->SetParent(site);
        panel->SetAlign(alBottom);
        panel->SetHeight(120);
        panel->SetDockSite(true);
        a = DockableForm = new TDockableForm(Application);
        b = new TDockableForm(Application);
        b->SetCaption("B");
        a->Show();
        b->Show();
    }
    void TearDown() override {
        for (int i = Application->ComponentCount() - 1; i >= 0;
             i = std::min(i - 1, Application->ComponentCount() - 1))
            delete Application->Components(i);
        Application->ProcessMessages();
        DockableForm = nullptr;
    }
    // Drops f on the message window at a client point, as the drag engine's drop does.
    void Drop(TControl* f, int x, int y) {
        TDragDockObject o(f);
        o.Floating = false;
        a->Perform(CM_DOCKCLIENT, reinterpret_cast<WPARAM>(&o), MAKELPARAM(x, y));
        Settle();
    }
    void Float(TControl* f) {
        TPoint p = f->ClientToScreen(TPoint(0, 0));
        f->ManualFloat(Bounds(p.x, p.y, f->UndockWidth(), f->UndockHeight()));
        Settle();
    }
    void Settle() {
        for (int i = 0; i < 3; ++i)
            Application->ProcessMessages();
    }
    std::string Where(TControl* f) {
        TWinControl* host = f->HostDockSite();
        if (!host)
            return "floating";
        if (host == panel)
            return "panel";
        if (auto* c = dynamic_cast<TConjoinDockHost*>(host))
            return "conjoin of " + std::to_string(c->DockClientCount());
        if (dynamic_cast<TTabDockHost*>(host->Owner()))
            return "tabs of " + std::to_string(host->DockClientCount());
        return "elsewhere";
    }
    // The forms' places and the number of host forms alive, as one line.
    std::string Tree() {
        int hosts = 0;
        for (int i = 0; i < Application->ComponentCount(); ++i)
            hosts += dynamic_cast<TConjoinDockHost*>(Application->Components(i)) ||
                     dynamic_cast<TTabDockHost*>(Application->Components(i));
        return "A " + Where(a) + ", B " + Where(b) + ", hosts " + std::to_string(hosts);
    }

    TForm* site = nullptr;
    TPanel* panel = nullptr;
    TDockableForm *a = nullptr, *b = nullptr;
};

struct Step {
    const char* what;
    std::function<void(Docking&)> act;
    const char* tree;
};

TEST_F(Docking, DropsAndUndocksLeaveTheExpectedHosts) {
    int w = 0, h = 0;
    const std::vector<Step> steps = {
        {"B on the left fifth", [&](Docking& d) { d.Drop(d.b, 2, h / 2); },
         "A conjoin of 2, B conjoin of 2, hosts 1"},
        {"B leaves the conjoin host", [](Docking& d) { d.Float(d.b); }, "A floating, B floating, hosts 0"},
        {"B in the centre", [&](Docking& d) { d.Drop(d.b, w / 2, h / 2); },
         "A tabs of 2, B tabs of 2, hosts 1"},
        {"B leaves the tab host", [](Docking& d) { d.Float(d.b); }, "A floating, B floating, hosts 0"},
        {"A into the panel", [](Docking& d) { DockManually(d.a, d.panel, alClient); },
         "A panel, B floating, hosts 0"},
        {"B on A in the panel", [&](Docking& d) { d.Drop(d.b, w / 2, 1); }, "A panel, B panel, hosts 0"},
        {"a plain form on A",
         [](Docking& d) {
             TForm plain(Application);
             d.Drop(&plain, 1, 1);
         },
         "A panel, B panel, hosts 0"},
    };
    for (const Step& s : steps) {
        w = a->ClientWidth();
        h = a->ClientHeight();
        s.act(*this);
        EXPECT_EQ(Tree(), s.tree) << s.what;
    }
}

TEST_F(Docking, ZonesSplitTheClientInFifths) {
    a->SetClientWidth(500);
    a->SetClientHeight(100);
    struct Case {
        TPoint p;
        TAlign zone;
    } cases[] = {{{0, 50}, alLeft},     {{99, 50}, alLeft},   {{100, 0}, alTop},  {{100, 50}, alClient},
                 {{100, 99}, alBottom}, {{400, 50}, alRight}, {{250, 19}, alTop}, {{250, 20}, alClient},
                 {{499, 99}, alRight},  {{500, 50}, alNone}};
    for (const Case& c : cases) {
        TRect preview;
        EXPECT_EQ(a->DockZoneAt(c.p, preview), c.zone) << c.p.x << "," << c.p.y;
    }
    TRect preview;
    a->DockZoneAt(TPoint(10, 10), preview);
    TPoint origin = a->ClientToScreen(TPoint(0, 0));
    EXPECT_EQ(preview.Left, origin.x);
    EXPECT_EQ(preview.Right - preview.Left, 250);
}

TEST_F(Docking, TheTabHostShowsEachFormOnAPageOfItsOwn) {
    Drop(b, a->ClientWidth() / 2, a->ClientHeight() / 2);
    auto* host = dynamic_cast<TTabDockHost*>(a->HostDockSite() ? a->HostDockSite()->Owner() : nullptr);
    ASSERT_NE(host, nullptr);
    TGwPageControl* pages = host->PageControl1;
    ASSERT_EQ(pages->GetPageCount(), 2);
    std::vector<std::string> captions;
    for (int i = 0; i < pages->TabCount(); ++i)
        captions.push_back(pages->Tab(i).Caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"Окно сообщений", "B"}));
    EXPECT_EQ(pages->GetPageFromDockClient(a), pages->GetPage(0));
    EXPECT_EQ(pages->GetPageFromDockClient(b), pages->GetPage(1));
    // One page at a time: the form docked last is on show.
    EXPECT_EQ(pages->ActivePage(), pages->GetPage(1));
    EXPECT_FALSE(pages->GetPage(0)->Visible());
    pages->SetActivePageIndex(0);
    EXPECT_TRUE(a->Showing());
    EXPECT_FALSE(b->Showing());

    Float(b); // its page goes with it; the host floats A and frees itself
    EXPECT_EQ(Tree(), "A floating, B floating, hosts 0");
}

TEST_F(Docking, ClosingTheMessageWindowHidesItsConjoinHostWhenAlone) {
    Drop(b, 2, 10);
    auto* host = dynamic_cast<TConjoinDockHost*>(a->HostDockSite());
    ASSERT_NE(host, nullptr);
    host->Show();
    b->Hide();
    a->Close();
    EXPECT_FALSE(host->Visible());
    EXPECT_FALSE(a->Visible());
}

} // namespace
