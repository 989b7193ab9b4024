// Panel dock manager: the title strip's side, its active and inactive colours, the platform's
// frame without captions, and the managers panels and size panels make for themselves.
#include <gtest/gtest.h>

#include "Gwdockmgr.h"
#include "Gwsplit.h"
#include "forms.h"
#include "extctrls.h"
#include "gw_support.h"
#include "messages.h"
#include "stdctrls.h"

namespace {

struct TFixture {
    TFixture() { TApplication::QtApp(); }
    TForm Form{nullptr};
};

TEST(GwPanelDockManager, PanelsDockThroughTheirOwnManagers) {
    TFixture f;
    TGwPanel panel(&f.Form);
    panel.SetParent(&f.Form);
    panel.SetDockSite(true);
    EXPECT_NE(dynamic_cast<TGwPanelDockManager*>(panel.DockManager()), nullptr);
    TGwSizePanel size(&f.Form);
    size.SetParent(&f.Form);
    size.SetDockSite(true);
    EXPECT_NE(dynamic_cast<TGwSizePanelDockManager*>(size.DockManager()), nullptr);
    EXPECT_TRUE(size.DoubleBuffered());
}

// Docked clients, titles and aligned children all stay inside a dock site's frames.
TEST(GwPanelDockManager, DockedClientsStayInsideTheFrames) {
    TFixture f;
    TGwPanel site(&f.Form);
    site.SetParent(&f.Form);
    site.SetBounds(0, 0, 150, 100);
    site.SetBorderOuter(fsRaised);
    site.SetBorderInner(fsFlat);
    site.SetDockSite(true);
    TPanel docked(&f.Form), aligned(&f.Form);
    docked.SetParent(&f.Form);
    ASSERT_TRUE(docked.ManualDock(&site, nullptr, alClient));
    EXPECT_EQ(docked.BoundsRect(), TRect(3, 3 + 14, 147, 97));
    aligned.SetParent(&site);
    aligned.SetHeight(10);
    aligned.SetAlign(alTop);
    EXPECT_EQ(aligned.BoundsRect(), TRect(3, 3, 147, 13));
}

TEST(GwPanelDockManager, TitleGoesLeftForTopAndBottomPanelsElseOnTop) {
    TFixture f;
    TGwPanel panel(&f.Form);
    panel.SetParent(&f.Form);
    TGwPanelDockManager manager(&panel);
    struct Row {
        TAlign Align;
        TRect Expected;
    } rows[] = {{alTop, TRect(24, 10, 60, 50)},
                {alBottom, TRect(24, 10, 60, 50)},
                {alLeft, TRect(10, 24, 60, 50)},
                {alNone, TRect(10, 24, 60, 50)}};
    for (const Row& r : rows) {
        panel.SetAlign(r.Align);
        TRect rect(10, 10, 60, 50);
        manager.AdjustDockRect(nullptr, rect);
        EXPECT_EQ(rect, r.Expected) << int(r.Align);
    }
}

TEST(GwPanelDockManager, TitleColoursFollowTheClientsFocus) {
    TFixture f;
    TGwPanel panel(&f.Form);
    panel.SetParent(&f.Form);
    panel.SetAlign(alLeft);
    TGwPanelDockManager manager(&panel);
    TLabel graphic(&f.Form);
    TEdit windowed(&f.Form);
    windowed.SetParent(&f.Form);
    const TRect zone(0, 0, 80, 40);
    struct Row {
        const char* Name;
        TControl* Client;
        bool Captions;
        TColor Strip;
    } rows[] = {{"GraphicIsActive", &graphic, true, clActiveCaption},
                {"UnfocusedWindowIsInactive", &windowed, true, clInactiveCaption},
                {"NoCaptionsKeepThePlatformsFrame", &graphic, false, clBtnFace}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Name);
        panel.ShowDockClientCaptions = r.Captions;
        TPaper paper(80, 40);
        manager.PaintDockFrame(paper.Canvas(), r.Client, zone);
        EXPECT_EQ(TPaper::Hex(paper.At(40, 1)), TPaper::Hex(r.Strip));
    }
}

struct TCrossCase {
    const char* Name;
    TAlign Align;
    TRect Strip;
    TRect Glyph;
};
void PrintTo(const TCrossCase& c, std::ostream* os) { *os << c.Name; }

class DockCloseCross : public testing::TestWithParam<TCrossCase> {};

// The close mark is the symbol font's cross in the caption text colour: ink in all four quarters of
// its box and nowhere else on the title strip.
TEST_P(DockCloseCross, SitsAtTheTitlesEnd) {
    const TCrossCase& c = GetParam();
    TFixture f;
    TGwPanel panel(&f.Form);
    panel.SetParent(&f.Form);
    panel.SetAlign(c.Align);
    TGwPanelDockManager manager(&panel);
    TLabel graphic(&f.Form);
    graphic.SetCaption("");
    TPaper paper(80, 60);
    manager.PaintDockFrame(paper.Canvas(), &graphic, TRect(0, 0, 80, 60));
    const std::string ink = TPaper::Hex(clCaptionText);
    int inside = 0, quarters[4] = {};
    for (int y = c.Strip.Top; y < c.Strip.Bottom; ++y)
        for (int x = c.Strip.Left; x < c.Strip.Right; ++x) {
            if (TPaper::Hex(paper.At(x, y)) != ink)
                continue;
            const TRect& g = c.Glyph;
            ASSERT_TRUE(x >= g.Left && x < g.Right && y >= g.Top && y < g.Bottom) << x << "," << y;
            ++inside;
            ++quarters[(x < (g.Left + g.Right) / 2 ? 0 : 1) + (y < (g.Top + g.Bottom) / 2 ? 0 : 2)];
        }
    EXPECT_GE(inside, 8);
    for (int q : quarters)
        EXPECT_GT(q, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, DockCloseCross,
    testing::Values(TCrossCase{"AcrossTheTop", alLeft, TRect(0, 0, 80, 14), TRect(65, 1, 78, 12)},
                    TCrossCase{"DownTheLeft", alTop, TRect(0, 0, 14, 60), TRect(1, 1, 12, 12)}),
    [](const testing::TestParamInfo<TCrossCase>& i) { return std::string(i.param.Name); });

// A docked edit's title is active while the edit has the focus and inactive once it has gone.
TEST(GwPanelDockManager, TheTitleFollowsTheFocusOfADockedEdit) {
    TFixture f;
    f.Form.SetBounds(0, 0, 300, 200);
    TGwPanel site(&f.Form);
    site.SetParent(&f.Form);
    site.SetBounds(0, 0, 150, 100);
    site.SetDockSite(true);
    TEdit docked(&f.Form), other(&f.Form);
    docked.SetParent(&f.Form);
    other.SetParent(&f.Form);
    other.SetBounds(200, 150, 60, 20);
    ASSERT_TRUE(docked.ManualDock(&site, nullptr, alClient));
    f.Form.Show();
    auto strip = [&] {
        TPaper paper(150, 100);
        site.Perform(WM_PAINT, WPARAM(paper.Canvas()), 0);
        return TPaper::Hex(paper.At(100, 7));
    };
    docked.SetFocus();
    EXPECT_EQ(strip(), TPaper::Hex(clActiveCaption));
    other.SetFocus();
    EXPECT_EQ(strip(), TPaper::Hex(clInactiveCaption));
}

// A click elsewhere may move the focus without the site hearing of it: these two messages repaint
// the site, so its titles catch up; other messages leave it alone.
TEST(GwPanelDockManager, ActivationAndCommandsRepaintTheSite) {
    TFixture f;
    TGwPanel site(&f.Form);
    site.SetParent(&f.Form);
    site.SetBounds(0, 0, 150, 100);
    site.SetDockSite(true);
    int paints = 0;
    site.OnPaint = [&](TObject*) { ++paints; };
    f.Form.Show();
    Application->ProcessMessages();
    for (UINT msg : {UINT(WM_NULL), UINT(WM_MOUSEACTIVATE), UINT(WM_COMMAND)}) {
        SCOPED_TRACE(msg);
        paints = 0;
        site.Perform(msg, 0, 0);
        Application->ProcessMessages();
        EXPECT_EQ(paints > 0, msg != WM_NULL);
    }
}

} // namespace
