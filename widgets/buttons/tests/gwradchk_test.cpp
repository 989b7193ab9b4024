// Glyph check boxes and radio buttons: the custom strip rule, the library's own strip, glyph
// states as drawn, sibling radio buttons, read-only boxes, clicks through the message path.
#include <gtest/gtest.h>

#include <memory>

#include "Gwradchk.h"
#include "forms.h"
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

} // namespace
