// Panels: frames and client rectangles, caption placement, grids, enabled states, group box looks.
#include <gtest/gtest.h>

#include "Gwpanel.h"
#include "forms.h"
#include "gw_styles.h"
#include "gw_support.h"
#include "messages.h"
#include "stdctrls.h"

namespace {

// The panel painted into a bitmap through the paint message.
void PaintInto(TWinControl* c, TPaper& p) {
    TMessage m{WM_PAINT, WPARAM(p.Canvas()), 0};
    c->Perform(m.Msg, m.WParam, m.LParam);
}

// The application first: a form needs Qt's.
struct TApp {
    TApp() { TApplication::QtApp(); }
};

struct TFixture {
    TApp App;
    TForm Form{nullptr};
    TFixture() { Form.SetBounds(0, 0, 300, 200); }
};

TEST(GwPanel, FrameWidthsPerStyle) {
    EXPECT_EQ(FrameStyleWidth(fsNone, 3), 0);
    EXPECT_EQ(FrameStyleWidth(fsFlat, 3), 1);
    EXPECT_EQ(FrameStyleWidth(fsStatus, 3), 3);
    EXPECT_EQ(FrameStyleWidth(fsPopup, 1), 1);
    EXPECT_EQ(FrameStyleWidth(fsGroove, 3), 2);
    EXPECT_EQ(FrameStyleWidth(fsFlatRounded, 3), 2);
}

TEST(GwPanel, ClientRectangleLiesInsideBothFramesOnTheirSides) {
    TFixture f;
    TGwPanel p(&f.Form);
    p.SetParent(&f.Form);
    p.SetBounds(0, 0, 100, 60);
    p.SetBorderOuter(fsStatus);
    p.SetBevelWidth(3);
    p.SetBorderInner(fsFlat);
    p.SetBorderSides(TSides{sdLeft, sdTop});
    TRect r(0, 0, 100, 60);
    p.FixClientRect(r, false);
    EXPECT_EQ(r, TRect(4, 4, 100, 60));
    p.SetBorderWidth(5);
    TRect b(0, 0, 100, 60);
    p.FixClientRect(b, true);
    EXPECT_EQ(b, TRect(9, 9, 95, 55));
    auto* child = new TPanel(&f.Form);
    child->SetParent(&p);
    child->SetAlign(alClient);
    p.Realign();
    EXPECT_EQ(child->Left(), 4 + 5);
    EXPECT_EQ(child->Top(), 4 + 5);
}

TEST(GwPanel, PaintsFramesAndFlatFill) {
    TFixture f;
    TGwPanel p(&f.Form);
    p.SetParent(&f.Form);
    p.SetBounds(0, 0, 40, 30);
    p.SetBorderOuter(fsFlat);
    p.SetFlatColor(clRed);
    p.SetFlatColorAdjustment(0);
    p.SetColor(clLime);
    TPaper paper(40, 30);
    PaintInto(&p, paper);
    EXPECT_EQ(paper.At(0, 10), clRed);
    EXPECT_EQ(paper.At(39, 10), clRed);
    EXPECT_EQ(paper.At(1, 10), clLime);
}

TEST(GwPanel, GradientLookAndTransparency) {
    TFixture f;
    TGwPanel p(&f.Form);
    p.SetParent(&f.Form);
    p.SetBounds(0, 0, 40, 30);
    p.SetBorderOuter(fsNone);
    p.ReadUseGradients(true);
    EXPECT_EQ(p.VisualStyle(), vsGradient);
    p.SetGradientColorStyle(gcsCustom);
    p.SetGradientColorStart(clBlack);
    p.SetGradientColorStop(clWhite);
    TPaper paper(40, 30);
    PaintInto(&p, paper);
    EXPECT_LT(GetRValue(COLORREF(paper.At(20, 0))), 16);
    EXPECT_GT(GetRValue(COLORREF(paper.At(20, 29))), 239);
    p.SetTransparent(true);
    TPaper clear(40, 30);
    clear.Fill(clYellow);
    PaintInto(&p, clear);
    EXPECT_EQ(clear.At(20, 15), clYellow) << "a transparent panel fills nothing";
}

TEST(GwPanel, GridWithAZeroPitchDrawsNothingThatWay) {
    TFixture f;
    TGwPanel p(&f.Form);
    p.SetParent(&f.Form);
    p.SetBounds(0, 0, 40, 30);
    p.SetBorderOuter(fsNone);
    p.SetColor(clWhite);
    p.SetShowGrid(true);
    p.SetGridColor(clBlack);
    p.SetGridSize(10, 0);
    TPaper paper(40, 30);
    PaintInto(&p, paper);
    EXPECT_EQ(paper.At(9, 9), clWhite) << "no rows: no dots";
    p.SetGridSize(10, 10);
    p.SetGridStyle(gsSolidLines);
    PaintInto(&p, paper);
    EXPECT_EQ(paper.At(9, 3), clBlack);
    EXPECT_EQ(paper.At(3, 19), clBlack);
    p.SetGridStyle(gsDots);
    TPaper dots(40, 30);
    PaintInto(&p, dots);
    EXPECT_EQ(dots.At(9, 9), clBlack);
    EXPECT_EQ(dots.At(9, 8), clWhite);
}

TEST(GwPanel, CaptionAlignsVertically) {
    TFixture f;
    TGwPanel p(&f.Form);
    p.SetParent(&f.Form);
    p.SetBounds(0, 0, 80, 60);
    p.SetBorderOuter(fsNone);
    p.SetColor(clWhite);
    p.Font()->SetColor(clBlack);
    p.SetCaption("Ж");
    const auto inkTop = [&](TAlignmentVertical v) {
        p.SetAlignmentVertical(v);
        TPaper paper(80, 60);
        PaintInto(&p, paper);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x)
                if (paper.At(x, y) == clBlack)
                    return y;
        return -1;
    };
    const int top = inkTop(avTop), centre = inkTop(avCenter), bottom = inkTop(avBottom);
    ASSERT_GE(top, 0);
    EXPECT_LT(top, 10);
    EXPECT_GT(centre, 15);
    EXPECT_LT(centre, 35);
    EXPECT_GT(bottom, 35);
}

TEST(GwPanel, ReEnablingRestoresTheChildrensStates) {
    TFixture f;
    TGwPanel p(&f.Form);
    p.SetParent(&f.Form);
    auto* on = new TPanel(&f.Form);
    on->SetParent(&p);
    auto* off = new TPanel(&f.Form);
    off->SetParent(&p);
    off->SetEnabled(false);
    p.SetEnabled(false);
    EXPECT_FALSE(on->Enabled());
    auto* late = new TPanel(&f.Form);
    late->SetParent(&p);
    late->SetEnabled(false);
    p.SetEnabled(true);
    EXPECT_TRUE(on->Enabled());
    EXPECT_FALSE(off->Enabled());
    EXPECT_TRUE(late->Enabled()) << "a child added while disabled is enabled";
}

TEST(GwPanel, BottomAlignedPanelKeepsItsBottomEdge) {
    TFixture f;
    TGwPanel p(&f.Form);
    p.SetParent(&f.Form);
    p.SetBounds(0, 100, 50, 40);
    p.SetAlign(alBottom);
    const int bottom = p.Top() + p.Height();
    p.SetBounds(p.Left(), p.Top(), p.Width(), 60);
    EXPECT_EQ(p.Top() + p.Height(), bottom);
}

TEST(GwPanel, FrameControllerTakesOnlyWhenFramesAreVisible) {
    TFixture f;
    TGwFrameController fc(nullptr);
    TGwPanel p(&f.Form);
    p.SetFrameController(&fc);
    fc.SetFrameStyle(fsLowered);
    EXPECT_EQ(p.BorderOuter(), fsRaised) << "controller frames are off";
    fc.SetFrameVisible(true);
    EXPECT_EQ(p.BorderOuter(), fsLowered);
    p.FrameControllerNotifications >> fcpFrameStyle;
    fc.SetFrameStyle(fsBump);
    EXPECT_EQ(p.BorderOuter(), fsLowered);
    fc.SetColor(0x4080C0);
    EXPECT_EQ(p.Color(), 0x4080C0);
    EXPECT_EQ(p.BorderShadow(), DarkerColor(0x4080C0, 50));
    EXPECT_EQ(fc.ControlCount(), 1);
}

TEST(GwGroupBox, ClientTopFollowsTheStyle) {
    TFixture f;
    TGwGroupBox g(&f.Form);
    g.SetParent(&f.Form);
    g.SetBounds(0, 0, 120, 105);
    g.SetCaption("Группа");
    auto* child = new TPanel(&f.Form);
    child->SetParent(&g);
    child->SetAlign(alClient);
    const auto top = [&] {
        g.Realign();
        return child->Top();
    };
    g.Canvas()->SetFont(g.Font());
    const int h = g.Canvas()->TextHeight("Yy");
    EXPECT_EQ(top(), h + 1) << "gsFlat: H, then one in";
    g.SetGroupStyle(gsBanner);
    EXPECT_EQ(top(), h + 8);
    g.SetGroupStyle(gsCustom);
    EXPECT_EQ(top(), h + 2);
    g.SetCaption("");
    EXPECT_EQ(top(), 2) << "gsCustom without a caption keeps its top";
    g.SetGroupStyle(gsStandard);
    g.SetBorderWidth(h);
    EXPECT_EQ(top(), h + (h / 2 - 1) + 2) << "a border wider than H/2 - 1 moves the top by H/2 - 1 only";
}

TEST(GwGroupBox, FlatLookWithCaptionGap) {
    TFixture f;
    TGwGroupBox g(&f.Form);
    g.SetParent(&f.Form);
    g.SetBounds(0, 0, 120, 60);
    g.SetColor(clWhite);
    g.SetFlatColor(clBlack);
    g.SetFlatColorAdjustment(0);
    g.Font()->SetColor(clBlue);
    g.SetCaption("Ab");
    TPaper paper(120, 60);
    PaintInto(&g, paper);
    const TRect k = g.CaptionRect();
    const int frameTop = g.Canvas()->TextHeight("Pp") / 2 - 1;
    EXPECT_EQ(paper.At(100, frameTop), clBlack) << "the top edge right of the caption";
    for (int x = k.Left; x < k.Right; ++x)
        EXPECT_NE(paper.At(x, frameTop), clBlack) << "the caption breaks the frame at " << x;
    EXPECT_EQ(paper.At(0, 30), clBlack);
    EXPECT_EQ(paper.At(1, frameTop + 1), clBlack) << "corner pixel of the cut";
    EXPECT_EQ(paper.At(0, frameTop), clWhite) << "cut corner";
}

TEST(GwGroupBox, DisabledCaptionIsEmbossed) {
    TFixture f;
    TGwGroupBox g(&f.Form);
    g.SetParent(&f.Form);
    g.SetBounds(0, 0, 120, 60);
    g.SetColor(clWhite);
    g.SetCaption("Ш");
    g.SetEnabled(false);
    TPaper paper(120, 60);
    PaintInto(&g, paper);
    int shadow = 0, light = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) {
            shadow += paper.At(x, y) == ColorToRGB(clBtnShadow);
            light += paper.At(x, y) == ColorToRGB(clBtnHighlight);
        }
    EXPECT_GT(shadow, 3);
    EXPECT_GT(light, 3);
}

TEST(GwSpacer, OrientationSwapsTheSizeAndGrooveIsCentred) {
    TFixture f;
    TGwSpacer s(&f.Form);
    s.SetParent(&f.Form);
    EXPECT_EQ(s.Width(), 8);
    EXPECT_EQ(s.Height(), 25);
    s.SetOrientation(orVertical);
    EXPECT_EQ(s.Width(), 25);
    EXPECT_EQ(s.Height(), 8);
}

// A panel child that counts its invalidations.
class TCountingPanel : public TGwPanel {
public:
    using TGwPanel::TGwPanel;
    int Invalidations = 0;
    void Invalidate() override {
        ++Invalidations;
        TGwPanel::Invalidate();
    }
};

TEST(GwPanel, GradientChangesRepaintOnlyTransparentChildren) {
    TFixture f;
    TGwPanel p(&f.Form);
    p.SetParent(&f.Form);
    auto* clear = new TCountingPanel(&f.Form);
    clear->SetParent(&p);
    clear->SetTransparent(true);
    auto* opaque = new TCountingPanel(&f.Form);
    opaque->SetParent(&p);
    clear->Invalidations = opaque->Invalidations = 0;
    p.SetGradientColorStart(clRed);
    p.SetGradientDirection(gdVerticalBox);
    EXPECT_EQ(clear->Invalidations, 2);
    EXPECT_EQ(opaque->Invalidations, 0);
    p.SetTransparent(true);
    EXPECT_EQ(opaque->Invalidations, 1) << "transparency repaints every child";
}

struct TThemedCase {
    const char* Name;
    TGwGroupBoxStyle Style;
    TGwVisualStyle Look;
    bool Enabled;
    int Backgrounds; // group-box elements drawn
    int State;       // of the one drawn
};
void PrintTo(const TThemedCase& c, std::ostream* os) { *os << c.Name; }

class ThemedGroupBox : public ::testing::TestWithParam<TThemedCase> {};

TEST_P(ThemedGroupBox, AsksTheThemeForTheFrameAndTheCaption) {
    const TThemedCase& c = GetParam();
    TFixture f;
    gwstyles::TRecordingStyles styles;
    TGwGroupBox g(&f.Form);
    g.SetParent(&f.Form);
    g.SetBounds(0, 0, 120, 80);
    g.SetCaption("&Group");
    g.SetGroupStyle(c.Style);
    g.SetVisualStyle(c.Look);
    g.SetEnabled(c.Enabled);
    TPaper paper(120, 80);
    PaintInto(&g, paper);
    const auto frames = styles.Of("DrawThemeBackground");
    ASSERT_EQ(int(frames.size()), c.Backgrounds);
    if (c.Backgrounds == 0)
        return;
    paper.Canvas()->SetFont(g.Font());
    const int h = paper.Canvas()->TextHeight("Pp");
    EXPECT_EQ(frames[0].Class, L"button");
    EXPECT_EQ(frames[0].Part, 4); // the group box
    EXPECT_EQ(frames[0].State, c.State);
    EXPECT_EQ(frames[0].Rect, TRect(0, h / 2 - 1, 120, 80));
    const auto texts = styles.Of("DrawThemeText");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, L"&Group");
    EXPECT_EQ(texts[0].Rect, TRect(8, 0, 58, 13)) << "placed by the theme's text extent";
    EXPECT_EQ(texts[0].Flags, DWORD(DT_LEFT));
}

INSTANTIATE_TEST_SUITE_P(Looks, ThemedGroupBox,
                         ::testing::Values(TThemedCase{"Standard", gsStandard, vsWinXP, true, 1, 1},
                                           TThemedCase{"FlatDisabled", gsFlat, vsWinXP, false, 1, 2},
                                           TThemedCase{"TopLineDrawsItsOwn", gsTopLine, vsWinXP, true, 0, 0},
                                           TThemedCase{"ClassicLook", gsStandard, vsClassic, true, 0, 0}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(GwSpacer, AGroovedSpacerDrawsTheThemesSeparatorForItsShape) {
    TFixture f;
    gwstyles::TRecordingStyles styles;
    TGwSpacer s(&f.Form);
    s.SetParent(&f.Form);
    s.SetGrooved(true);
    TPaper paper(30, 30);
    TMessage m{WM_PAINT, WPARAM(paper.Canvas()), 0};
    s.Perform(m.Msg, m.WParam, m.LParam);
    s.SetOrientation(orVertical);
    s.Perform(m.Msg, m.WParam, m.LParam);
    const auto drawn = styles.Of("DrawThemeBackground");
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].Class, L"toolbar");
    EXPECT_EQ(drawn[0].Part, 5) << "8 x 25: the upright separator";
    EXPECT_EQ(drawn[1].Part, 6) << "25 x 8: the lying one";
    EXPECT_EQ(drawn[1].Rect, TRect(0, 0, 25, 8));
}

} // namespace
