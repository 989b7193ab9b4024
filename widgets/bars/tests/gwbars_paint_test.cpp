// The bars' looks: the themed rebar, chevron, status bar, pane text and gripper through the visual
// styles (painted in a colour per part, so pixels show where each went), the chevron glyph's
// colour, and the classic size grip.
#include <gtest/gtest.h>

#include "Gwbars.h"
#include "gw_styles.h"
#include "gw_support.h"
#include "wingdi.h"

namespace {

// Each themed background fills its rectangle in a colour of its class and part.
TColor PartColor(const std::wstring& Class, int Part) {
    if (Class == L"rebar")
        return Part == 0 ? clAqua : clNavy; // background, chevron
    if (Class == L"status")
        return Part == 0 ? clYellow : Part == SP_GRIPPER ? clPurple : clTeal;
    return clFuchsia;
}

HRESULT PaintBackground(HTHEME Theme, HDC DC, int Part, int State, const TRect* R, const TRect* Clip) {
    gwstyles::Background(Theme, DC, Part, State, R, Clip);
    HBRUSH brush = CreateSolidBrush(COLORREF(ColorToRGB(PartColor(gwstyles::ClassOf(Theme), Part))));
    FillRect(DC, R, brush);
    DeleteObject(brush);
    return S_OK;
}

TColor gGlyphColor = clRed;
HRESULT GlyphColor(HTHEME, int, int, int Property, COLORREF* Color) {
    *Color = COLORREF(ColorToRGB(gGlyphColor));
    return Property == TMT_TEXTCOLOR ? S_OK : E_FAIL;
}

// The recording table with painted backgrounds and the combo box's glyph colour.
class TPaintingStyles : public gwstyles::TRecordingStyles {
public:
    TPaintingStyles() {
        SetVisualStylesTable({VisualStylesEntry("OpenThemeData", &gwstyles::Open),
                              VisualStylesEntry("CloseThemeData", &gwstyles::Close),
                              VisualStylesEntry("DrawThemeBackground", &PaintBackground),
                              VisualStylesEntry("DrawThemeText", &gwstyles::Text),
                              VisualStylesEntry("GetThemeColor", &GlyphColor),
                              VisualStylesEntry("IsThemeActive", &gwstyles::Yes),
                              VisualStylesEntry("IsAppThemed", &gwstyles::Yes),
                              VisualStylesEntry("GetThemeAppProperties", &gwstyles::AppProperties)});
        FreeThemeServices();
    }
};

void PaintInto(TWinControl* C, TPaper& P) { C->Perform(WM_PAINT, WPARAM(P.Canvas()), 0); }

struct TFormFixture {
    TForm Form{nullptr};
    TFormFixture() {
        TApplication::QtApp();
        Form.SetBounds(0, 0, 300, 200);
    }
};

// A one-row toolbar 100 wide with six 25-pixel panels: the overflow button shows.
struct TOverflowFixture : TFormFixture {
    TGwToolbar* Bar = new TGwToolbar(&Form);
    TOverflowFixture(TGwVisualStyle Look) {
        Form.SetClientWidth(100);
        Bar->SetParent(&Form);
        Bar->SetWrapControls(false);
        Bar->SetVisualStyle(Look);
        Bar->SetColor(clBtnFace);
        for (int i = 0; i < 6; ++i) {
            auto* p = new TPanel(&Form);
            p->SetBounds(0, 0, 25, 25);
            p->SetParent(Bar);
        }
        Bar->PositionControls();
    }
    TWinControl* Button() { return static_cast<TWinControl*>(Bar->OverflowButton()); }
};

TEST(ThemedToolbar, TheXPLookIsTheRebarBackgroundAndTheClassicLookIsTheGroove) {
    TPaintingStyles styles;
    TFormFixture f;
    TGwToolbar bar(&f.Form);
    bar.SetParent(&f.Form);
    TPaper paper(bar.Width(), bar.Height());
    PaintInto(&bar, paper);
    const auto drawn = styles.Of("DrawThemeBackground");
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].Class, L"rebar");
    EXPECT_EQ(drawn[0].Rect, TRect(0, 0, bar.Width(), bar.Height()));
    EXPECT_EQ(paper.At(10, 0), clAqua) << "no groove over the theme's background";

    gwstyles::Calls().clear();
    bar.SetVisualStyle(vsClassic);
    PaintInto(&bar, paper);
    EXPECT_TRUE(styles.Of("DrawThemeBackground").empty());
    EXPECT_NE(paper.At(10, 0), clAqua);
}

TEST(ThemedToolbar, TheOverflowButtonIsTheRebarsChevronPressedWhileHeld) {
    TPaintingStyles styles;
    TOverflowFixture f(vsWinXP);
    ASSERT_TRUE(f.Bar->OverflowShown());
    TPaper paper(14, f.Bar->Height());
    PaintInto(f.Button(), paper);
    f.Button()->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PaintInto(f.Button(), paper);
    // Off the button and released there: no popup.
    f.Button()->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 5));
    f.Button()->Perform(WM_LBUTTONUP, 0, MAKELPARAM(50, 5));
    const auto drawn = styles.Of("DrawThemeBackground");
    ASSERT_EQ(drawn.size(), 4u);
    const int rebarChevron = 4;
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(drawn[i].Class, L"rebar");
        EXPECT_EQ(drawn[i].Part, i % 2 == 0 ? 0 : rebarChevron);
        EXPECT_EQ(drawn[i].Rect, TRect(0, 0, 14, f.Bar->Height()));
    }
    EXPECT_EQ(drawn[1].State, 1) << "normal";
    EXPECT_EQ(drawn[3].State, 3) << "pressed";
    EXPECT_EQ(paper.At(4, 4), clNavy) << "no glyph of our own over the theme's chevron";
}

struct TGlyphCase {
    const char* Name;
    bool Styles;
    TColor ThemeGlyph;
    TColor Shown;
};
void PrintTo(const TGlyphCase& c, std::ostream* os) { *os << c.Name; }

class ChevronGlyph : public testing::TestWithParam<TGlyphCase> {};

TEST_P(ChevronGlyph, TakesTheComboBoxGlyphColourUnderStyles) {
    const TGlyphCase& c = GetParam();
    std::unique_ptr<TPaintingStyles> styles(c.Styles ? new TPaintingStyles : nullptr);
    gGlyphColor = c.ThemeGlyph;
    TOverflowFixture f(vsClassic);
    TPaper paper(14, f.Bar->Height());
    PaintInto(f.Button(), paper);
    EXPECT_EQ(TPaper::Hex(paper.At(3, 4)), TPaper::Hex(c.Shown)) << "the chevron's first dot";
    EXPECT_EQ(TPaper::Hex(paper.At(7, 12)), TPaper::Hex(clBtnFace)) << "the box's fill below it";
    if (styles) {
        EXPECT_TRUE(styles->Of("DrawThemeBackground").empty()) << "the classic look's own box";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChevronGlyph,
    testing::Values(TGlyphCase{"WithoutStylesBlack", false, clRed, clBlack},
                    TGlyphCase{"ThemeColour", true, clRed, clRed},
                    TGlyphCase{"TooCloseToTheWindowColour", true, TColor(0xFEFEFE), cl3DDkShadow}),
    [](const testing::TestParamInfo<TGlyphCase>& i) { return std::string(i.param.Name); });

TEST(ThemedStatusBar, BarCaptionAndGripperComeFromTheTheme) {
    TPaintingStyles styles;
    TFormFixture f;
    TGwStatusBar bar(&f.Form);
    bar.SetParent(&f.Form);
    bar.SetAlign(alNone);
    bar.SetBounds(0, 0, 200, 19);
    bar.SetSimpleStatus(true);
    bar.SetSimpleCaption("Ready");
    EXPECT_EQ(bar.ClientRect(), TRect(1, 1, 199, 19)) << "one in at left, top and right";
    TPaper paper(200, 19);
    PaintInto(&bar, paper);
    const auto drawn = styles.Of("DrawThemeBackground");
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].Class, L"status");
    EXPECT_EQ(drawn[0].Part, 0);
    EXPECT_EQ(drawn[0].Rect, TRect(0, 0, 200, 19));
    EXPECT_EQ(drawn[1].Part, SP_GRIPPER);
    EXPECT_EQ(drawn[1].Rect, TRect(179, 1, 199, 18))
        << "20 wide at the right of the client less its last row";
    const auto texts = styles.Of("DrawThemeText");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Text, L"Ready");
    EXPECT_EQ(texts[0].Class, L"status");
    EXPECT_EQ(texts[0].Rect, TRect(1, 1, 199, 19));
    EXPECT_EQ(texts[0].Flags, DWORD(DT_SINGLELINE | DT_VCENTER));
    EXPECT_EQ(paper.At(100, 10), clYellow);
    EXPECT_EQ(paper.At(190, 10), clPurple);

    gwstyles::Calls().clear();
    bar.SetVisualStyle(vsClassic);
    PaintInto(&bar, paper);
    EXPECT_TRUE(styles.Of("DrawThemeBackground").empty());
    EXPECT_TRUE(styles.Of("DrawThemeText").empty());
}

struct TGripCase {
    const char* Name;
    TBorderStyle Border;
    TWindowState State;
    bool Shown;
};
void PrintTo(const TGripCase& c, std::ostream* os) { *os << c.Name; }

class ClassicGrip : public testing::TestWithParam<TGripCase> {};

TEST_P(ClassicGrip, SixEmbossedDotsOnlyOnASizeableRestoredForm) {
    const TGripCase& c = GetParam();
    TFormFixture f;
    f.Form.SetBorderStyle(c.Border);
    f.Form.SetWindowState(c.State);
    auto* page = new TPanel(&f.Form); // the grip asks the form, not the parent
    page->SetParent(&f.Form);
    page->SetBounds(0, 0, 250, 100);
    TGwStatusBar bar(&f.Form);
    bar.SetParent(page);
    bar.SetAlign(alNone);
    bar.SetBounds(0, 0, 200, 19);
    bar.SetVisualStyle(vsClassic);
    EXPECT_EQ(bar.SizeGripActive(), c.Shown);
    TPaper paper(200, 19);
    PaintInto(&bar, paper);
    // Client (-1, 1, 201, 20) less its last row: r = 200, b = 19; the dots' light squares start at
    // (196, 7), (196, 11), (196, 15), (192, 11), (192, 15), (188, 15), the dark ones one up and left.
    const TColor light = c.Shown ? clBtnHighlight : clBtnFace, dark = c.Shown ? clBtnShadow : clBtnFace;
    for (TPoint p : {TPoint(196, 7), TPoint(196, 11), TPoint(196, 15), TPoint(192, 11), TPoint(192, 15),
                     TPoint(188, 15)}) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        EXPECT_EQ(TPaper::Hex(paper.At(p.x + 1, p.y + 1)), TPaper::Hex(light));
        EXPECT_EQ(TPaper::Hex(paper.At(p.x, p.y)), TPaper::Hex(dark));
        EXPECT_EQ(TPaper::Hex(paper.At(p.x - 1, p.y - 1)), TPaper::Hex(dark));
    }
    EXPECT_EQ(TPaper::Hex(paper.At(188, 8)), TPaper::Hex(clBtnFace)) << "the triangle's empty corner";
}

INSTANTIATE_TEST_SUITE_P(Cases, ClassicGrip,
                         testing::Values(TGripCase{"Sizeable", bsSizeable, wsNormal, true},
                                         TGripCase{"SizeableToolWindow", bsSizeToolWin, wsNormal, true},
                                         TGripCase{"FixedBorder", bsSingle, wsNormal, false},
                                         TGripCase{"Maximised", bsSizeable, wsMaximized, false}),
                         [](const testing::TestParamInfo<TGripCase>& i) {
                             return std::string(i.param.Name);
                         });

} // namespace
