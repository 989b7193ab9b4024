// Panel dock manager: the title strip's side, its active and inactive colours, the platform's
// frame without captions, and the managers panels and size panels make for themselves.
#include <gtest/gtest.h>

#include "Gwdockmgr.h"
#include "Gwsplit.h"
#include "forms.h"
#include "gw_support.h"
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

} // namespace
