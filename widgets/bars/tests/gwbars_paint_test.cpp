// The bars' looks: the themed rebar, chevron, status bar, pane text and gripper through the visual
// styles (painted in a colour per part, so pixels show where each went), the chevron glyph's
// colour, and the classic size grip.
#include <gtest/gtest.h>

#include "Gwbars.h"
#include "Gwtoolbarform.h"
#include "gw_styles.h"
#include "gw_support.h"
#include "inputkit.h"
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
    inputkit::MouseDown(f.Button(), 5, 5);
    PaintInto(f.Button(), paper);
    // Off the button and released there: no popup.
    inputkit::MouseMove(f.Button(), 50, 5, inputkit::Left);
    inputkit::MouseUp(f.Button(), 50, 5);
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

// Each row shows the control's picture 2 pixels into the drawn rectangle: a tool button's image, or
// the dialog's own spacer pictures (two bars, and a groove between them for a grooved spacer).
TEST(CustomizeDialogList, RowsShowEachControlsPicture) {
    TFormFixture f;
    TImageList images(&f.Form);
    images.SetWidth(16);
    images.SetHeight(16);
    for (TColor colour : {clBlue, clRed}) {
        TBitmap b;
        b.SetSize(16, 16);
        b.Canvas()->Brush()->SetColor(colour);
        b.Canvas()->FillRect(TRect(0, 0, 16, 16));
        images.Add(&b, nullptr);
    }
    TGwToolbar* bar = new TGwToolbar(&f.Form);
    bar->SetParent(&f.Form);
    bar->SetImages(&images);
    auto* groove = new TGwSpacer(&f.Form);
    groove->SetGrooved(true);
    groove->SetParent(bar);
    auto* plain = new TGwSpacer(&f.Form);
    plain->SetParent(bar);
    auto* tool = new TGwToolButton(&f.Form);
    tool->SetImageIndex(1);
    tool->SetParent(bar);
    TGwFrmCustomizeToolbar dialog(&f.Form);
    dialog.Toolbar = bar;
    std::vector<TRect> rows(3);
    dialog.LstControls->OnDrawItem = [&](TWinControl* c, int i, TRect r, TOwnerDrawState s) {
        rows.at(size_t(i)) = r;
        dialog.ListBoxDrawItem(c, i, r, s);
    };
    dialog.UpdateControls(bar->CustomizeCaptions(), true);
    dialog.LstControls->SetItemIndex(-1);
    dialog.Show();
    TGwCheckList* list = dialog.LstControls;
    TPaper p(list->Width(), list->Height());
    list->PaintTo(p.Canvas(), 0, 0);
    const TPoint client = list->ClientOrigin(),
                 window = dialog.ClientToScreen(TPoint(list->Left(), list->Top()));
    const auto at = [&](int Row, int X, int Y) {
        const TRect& r = rows[size_t(Row)];
        return TPaper::Hex(p.At(client.x - window.x + r.Left + 2 + X, client.y - window.y + r.Top + 2 + Y));
    };
    EXPECT_EQ(at(0, 3, 5), TPaper::Hex(clBlack)) << "a bar";
    EXPECT_EQ(at(0, 7, 5), TPaper::Hex(clBtnShadow)) << "the groove";
    EXPECT_EQ(at(1, 3, 5), TPaper::Hex(clBlack));
    EXPECT_EQ(at(1, 7, 5), TPaper::Hex(clWindow)) << "no groove";
    EXPECT_EQ(at(1, 0, 0), TPaper::Hex(clWindow)) << "the see-through ground";
    EXPECT_EQ(at(2, 8, 8), TPaper::Hex(clRed)) << "image 1 of the toolbar's list";
}

} // namespace
