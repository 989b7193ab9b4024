// Glyph check boxes and radio buttons: the custom strip rule, the library's own strip, glyph
// states as drawn (under the visual styles too), sibling radio buttons, read-only boxes, clicks
// through the message path, an action's Checked through the link.
#include <gtest/gtest.h>

#include <memory>

#include "Gwradchk.h"
#include "actlist.h"
#include "forms.h"
#include "gw_recorders.h"
#include "gw_support.h"
#include "inputkit.h"
#include "messages.h"

namespace {

class GwRadChk : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        RegisterGwButtonResources();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    template <class T> T* Make(int Top) {
        auto* b = new T(Form);
        b->SetParent(Form);
        b->SetBounds(10, Top, 120, 17);
        b->OnClick = [this](TObject* s) { Clicked.push_back(s); };
        return b;
    }
    static void Click(TControl* c) { inputkit::Click(c, 5, 5); }
    static std::unique_ptr<TBitmap> OwnStrip() {
        auto b = std::make_unique<TBitmap>();
        b->LoadFromResourceName(0, GwCheckStripResource);
        return b;
    }
    TForm* Form = nullptr;
    std::vector<TObject*> Clicked;
};

TEST_F(GwRadChk, OwnStripHasNineCellsOfItsStates) {
    auto strip = OwnStrip();
    TBitmap& b = *strip;
    ASSERT_EQ(b.Width(), 117);
    ASSERT_EQ(b.Height(), 13);
    // (9, 3) is the tip of the check mark in every cell.
    const char* expected[9] = {"FFFFFF", "000000", "808080", "C0C0C0", "000000",
                               "808080", "C8D0D4", "808080", "A0A0A0"};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(TPaper::Hex(b.Canvas()->GetPixel(13 * i + 9, 3)), expected[i]) << "cell " << i;
    EXPECT_EQ(TPaper::Hex(b.Canvas()->GetPixel(0, 0)), "808080");
}

TEST_F(GwRadChk, StripChangesFollowTheCheckBoxRule) {
    auto* box = Make<TGwCheckBox>(10);
    auto strip = OwnStrip();
    box->SetCustomGlyphs(strip.get());
    EXPECT_TRUE(box->UseCustomGlyphs());
    EXPECT_EQ(box->GlyphWidth(), 13);
    TBitmap small;
    small.SetSize(90, 10);
    box->SetCustomGlyphs(&small);
    EXPECT_EQ(box->GlyphWidth(), 10);
    EXPECT_EQ(box->GlyphHeight(), 10);
    box->SetCustomGlyphs(nullptr);
    EXPECT_FALSE(box->UseCustomGlyphs());
    EXPECT_EQ(box->GlyphWidth(), 13);
    box->SetUseCustomGlyphs(true);
    EXPECT_EQ(box->GlyphWidth(), 0) << "an empty strip gives no glyph";
}

struct TCheckGlyphCase {
    const char* Name;
    TCheckBoxState State;
    bool Enabled;
    const char* Tip;
};
void PrintTo(const TCheckGlyphCase& c, std::ostream* os) { *os << c.Name; }
class GwCheckGlyph : public GwRadChk, public ::testing::WithParamInterface<TCheckGlyphCase> {};

TEST_P(GwCheckGlyph, CustomStripCellIsDrawnForTheState) {
    // The schedule editor's box: no caption, button-face fill, the library's strip.
    auto* box = Make<TGwCheckBox>(10);
    box->SetFillColor(clBtnFace);
    auto strip = OwnStrip();
    box->SetCustomGlyphs(strip.get());
    box->InitState(GetParam().State);
    box->SetEnabled(GetParam().Enabled);
    TPaper p(120, 17);
    box->Perform(WM_PAINT, WPARAM(p.Canvas()));
    EXPECT_EQ(TPaper::Hex(p.At(9, 2 + 3)), GetParam().Tip);
    EXPECT_EQ(TPaper::Hex(p.At(0, 2)), "808080");
}

INSTANTIATE_TEST_SUITE_P(States, GwCheckGlyph,
                         ::testing::Values(TCheckGlyphCase{"Unchecked", cbUnchecked, true, "FFFFFF"},
                                           TCheckGlyphCase{"Checked", cbChecked, true, "000000"},
                                           TCheckGlyphCase{"Grayed", cbGrayed, true, "808080"},
                                           TCheckGlyphCase{"CheckedDisabled", cbChecked, false, "808080"},
                                           TCheckGlyphCase{"UncheckedDisabled", cbUnchecked, false,
                                                           "C8D0D4"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(GwRadChk, ClassicAndFlatGlyphsShowTheCheck) {
    for (bool flat : {false, true}) {
        auto* box = Make<TGwCheckBox>(10);
        box->SetHotTrack(flat);
        TPaper unchecked(120, 17), checked(120, 17);
        box->Perform(WM_PAINT, WPARAM(unchecked.Canvas()));
        box->SetChecked(true);
        box->Perform(WM_PAINT, WPARAM(checked.Canvas()));
        int differ = 0;
        for (int y = 2; y < 15; ++y)
            for (int x = 0; x < 13; ++x)
                differ += unchecked.At(x, y) != checked.At(x, y);
        EXPECT_GT(differ, 5) << (flat ? "flat" : "classic");
        delete box;
    }
}

TEST_F(GwRadChk, MouseClicksCycleTheStateAndGrayedGoesToChecked) {
    auto* box = Make<TGwCheckBox>(10);
    Click(box);
    EXPECT_EQ(box->State(), cbChecked);
    EXPECT_EQ(box->Perform(BM_GETCHECK), 1);
    Click(box);
    EXPECT_EQ(box->State(), cbUnchecked);
    box->InitState(cbGrayed);
    Click(box);
    EXPECT_EQ(box->State(), cbChecked);
    box->AllowGrayed = true;
    Click(box);
    Click(box);
    EXPECT_EQ(box->State(), cbGrayed);
    EXPECT_EQ(Clicked.size(), 5u);
}

TEST_F(GwRadChk, ReadOnlyBoxIgnoresTheMouseAndKeysButNotCode) {
    auto* box = Make<TGwCheckBox>(10);
    box->SetCaption("&Да");
    box->SetReadOnly(true);
    Click(box);
    box->SetFocus();
    inputkit::Press(box, inputkit::Key::Space);
    box->Perform(CM_DIALOGCHAR, WPARAM(std::uint8_t('\xE4')), 0);
    EXPECT_EQ(box->State(), cbUnchecked);
    box->ChangeState();
    EXPECT_EQ(box->State(), cbChecked);
}

TEST_F(GwRadChk, SpaceTogglesAnEditableBox) {
    auto* box = Make<TGwCheckBox>(10);
    box->SetFocus();
    inputkit::KeyDown(box, inputkit::Key::Space);
    EXPECT_TRUE(box->PressedInside());
    inputkit::KeyUp(box, inputkit::Key::Space);
    EXPECT_EQ(box->State(), cbChecked);
}

TEST_F(GwRadChk, CheckingARadioButtonUnchecksItsRadioSiblingsOnly) {
    auto* a = Make<TGwRadioButton>(10);
    auto* b = Make<TGwRadioButton>(30);
    auto* box = Make<TGwCheckBox>(50);
    box->InitState(cbChecked);
    a->SetChecked(true);
    Clicked.clear();
    Click(b);
    EXPECT_TRUE(b->Checked());
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(Clicked, std::vector<TObject*>{b}) << "unchecking fires no click";
    EXPECT_TRUE(b->TabStop());
    EXPECT_FALSE(a->TabStop());
    a->SetReadOnly(true);
    EXPECT_TRUE(b->ReadOnly()) << "read-only spreads to the radio siblings";
    Click(a);
    EXPECT_FALSE(a->Checked());
}

// ---------------------------------------------------------------- the styled look

using namespace gwtests;

class ThemedGlyph : public GwRadChk {
protected:
    void SetUp() override {
        GwRadChk::SetUp();
        RecordThemes();
    }
    void TearDown() override {
        StopRecordingThemes();
        GwRadChk::TearDown();
    }
};

enum class TLook { Normal, Hot, Pressed, Disabled };

struct TThemedGlyphCase {
    const char* Name;
    bool Radio;
    TCheckBoxState State;
    TLook Look;
    TThemedButton Element;
};
void PrintTo(const TThemedGlyphCase& c, std::ostream* os) { *os << c.Name; }
class ThemedGlyphLook : public ThemedGlyph, public ::testing::WithParamInterface<TThemedGlyphCase> {};

TEST_P(ThemedGlyphLook, DrawsTheStylesElementOfItsStateInPlaceOfTheClassicGlyph) {
    const TThemedGlyphCase& c = GetParam();
    TGwCustomGlyphButton* b =
        c.Radio ? static_cast<TGwCustomGlyphButton*>(Make<TGwRadioButton>(10)) : Make<TGwCheckBox>(10);
    if (c.Radio)
        b->SetChecked(c.State == cbChecked);
    else
        static_cast<TGwCheckBox*>(b)->InitState(c.State);
    inputkit::MouseMove(Form, 250, 150);
    switch (c.Look) {
    case TLook::Normal: break;
    case TLook::Hot: inputkit::MouseMove(b, 5, 5); break;
    case TLook::Pressed: inputkit::MouseDown(b, 5, 5); break;
    case TLook::Disabled: b->SetEnabled(false); break;
    }
    gDrawn.clear();
    TPaper p(120, 17);
    b->Perform(WM_PAINT, WPARAM(p.Canvas()));
    const std::vector<TThemeCall> drawn = gDrawn;
    if (c.Look == TLook::Pressed)
        inputkit::MouseUp(b, 5, 5);
    const TThemedElementDetails want = TThemeServices::GetElementDetails(c.Element);
    EXPECT_EQ(drawn, (std::vector<TThemeCall>{{want.Part, want.State}}));
    // The recording styles draw nothing: no classic box or circle under the element.
    const TRect glyph = b->GlyphRect();
    int other = 0;
    for (int y = glyph.Top; y < glyph.Bottom; ++y)
        for (int x = glyph.Left; x < glyph.Right; ++x)
            other += ColorToRGB(p.At(x, y)) != ColorToRGB(clWindow);
    EXPECT_EQ(other, 0);
}

INSTANTIATE_TEST_SUITE_P(
    States, ThemedGlyphLook,
    ::testing::Values(
        TThemedGlyphCase{"RadioUnchecked", true, cbUnchecked, TLook::Normal, tbRadioButtonUncheckedNormal},
        TThemedGlyphCase{"RadioUncheckedHot", true, cbUnchecked, TLook::Hot, tbRadioButtonUncheckedHot},
        TThemedGlyphCase{"RadioUncheckedPressed", true, cbUnchecked, TLook::Pressed,
                         tbRadioButtonUncheckedPressed},
        TThemedGlyphCase{"RadioUncheckedDisabled", true, cbUnchecked, TLook::Disabled,
                         tbRadioButtonUncheckedDisabled},
        TThemedGlyphCase{"RadioChecked", true, cbChecked, TLook::Normal, tbRadioButtonCheckedNormal},
        TThemedGlyphCase{"RadioCheckedHot", true, cbChecked, TLook::Hot, tbRadioButtonCheckedHot},
        TThemedGlyphCase{"RadioCheckedPressed", true, cbChecked, TLook::Pressed, tbRadioButtonCheckedPressed},
        TThemedGlyphCase{"RadioCheckedDisabled", true, cbChecked, TLook::Disabled,
                         tbRadioButtonCheckedDisabled},
        TThemedGlyphCase{"BoxUnchecked", false, cbUnchecked, TLook::Normal, tbCheckBoxUncheckedNormal},
        TThemedGlyphCase{"BoxUncheckedHot", false, cbUnchecked, TLook::Hot, tbCheckBoxUncheckedHot},
        TThemedGlyphCase{"BoxCheckedPressed", false, cbChecked, TLook::Pressed, tbCheckBoxCheckedPressed},
        TThemedGlyphCase{"BoxCheckedDisabled", false, cbChecked, TLook::Disabled, tbCheckBoxCheckedDisabled},
        TThemedGlyphCase{"BoxGrayed", false, cbGrayed, TLook::Normal, tbCheckBoxMixedNormal},
        TThemedGlyphCase{"BoxGrayedHot", false, cbGrayed, TLook::Hot, tbCheckBoxMixedHot},
        TThemedGlyphCase{"BoxGrayedPressed", false, cbGrayed, TLook::Pressed, tbCheckBoxMixedPressed},
        TThemedGlyphCase{"BoxGrayedDisabled", false, cbGrayed, TLook::Disabled, tbCheckBoxMixedDisabled}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ThemedGlyph, CustomGlyphsBeatTheStyles) {
    auto* box = Make<TGwCheckBox>(10);
    auto strip = OwnStrip();
    box->SetCustomGlyphs(strip.get());
    TPaper p(120, 17);
    box->Perform(WM_PAINT, WPARAM(p.Canvas()));
    EXPECT_TRUE(gDrawn.empty());
    EXPECT_EQ(TPaper::Hex(p.At(0, 2)), "808080");
}

// ---------------------------------------------------------------- the action link

TEST_F(GwRadChk, AnActionChecksTheBoxWithoutAClickAndAClickOnTheBoxChecksTheAction) {
    auto* box = Make<TGwCheckBox>(10);
    box->OnClick = nullptr;
    TAction action(Form);
    action.SetAutoCheck(true);
    int executed = 0;
    action.OnExecute = [&](TObject*) { ++executed; };
    box->SetAction(&action);
    box->OnClick = [this](TObject* s) { Clicked.push_back(s); };
    action.SetChecked(true);
    EXPECT_EQ(box->State(), cbChecked);
    EXPECT_FALSE(box->IsCheckedStored()) << "the action supplies Checked";
    action.SetChecked(false);
    EXPECT_EQ(box->State(), cbUnchecked);
    EXPECT_TRUE(Clicked.empty()) << "a state the action pushes fires no click";
    // The box's own click runs the action, which checks itself and keeps showing on the box.
    box->OnClick = nullptr;
    Click(box);
    EXPECT_EQ(executed, 1);
    EXPECT_TRUE(action.Checked());
    EXPECT_TRUE(box->Checked());
    Click(box);
    EXPECT_EQ(executed, 2);
    EXPECT_FALSE(action.Checked());
    EXPECT_FALSE(box->Checked());
    action.SetChecked(true);
    EXPECT_TRUE(box->Checked()) << "still linked after the clicks";
}

TEST_F(GwRadChk, GroupedActionsMoveTheCheckAmongTheirRadioButtons) {
    TActionList list(Form);
    TAction first(Form), second(Form);
    for (TAction* a : {&first, &second}) {
        a->SetActionList(&list);
        a->SetGroupIndex(1);
    }
    first.SetChecked(true);
    auto* a = Make<TGwRadioButton>(10);
    auto* b = Make<TGwRadioButton>(30);
    a->SetAction(&first);
    b->SetAction(&second);
    EXPECT_TRUE(a->Checked());
    EXPECT_FALSE(b->Checked());
    Clicked.clear();
    second.SetChecked(true);
    EXPECT_FALSE(first.Checked());
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(Clicked.empty());
    first.SetChecked(true);
    EXPECT_TRUE(a->Checked());
    EXPECT_FALSE(b->Checked());
    EXPECT_TRUE(Clicked.empty());
}

TEST_F(GwRadChk, ABoxTheUserChangedApartFromItsActionIsNoLongerLinked) {
    auto* box = Make<TGwCheckBox>(10);
    TAction action(Form);
    box->SetAction(&action);
    action.SetChecked(true);
    // OnClick is the box's own: the click does not run the action.
    Click(box);
    EXPECT_FALSE(box->Checked());
    EXPECT_TRUE(action.Checked());
    EXPECT_TRUE(box->IsCheckedStored());
}

} // namespace
