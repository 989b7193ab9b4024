// The spin edit: stepping by keys, buttons and wheel within the range rule, decimals, the key
// filter, read-only mode, the veto, and unreadable text (Min, never an exception) typed through
// the keyboard as the user would.
#include <gtest/gtest.h>

#include "Gwspnedtedit.h"
#include "gw_support.h"
#include "inputkit.h"
#include "sysinfo.h"

namespace {

class GwSpinEdit : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        SetBeepHandler([this](UINT) { ++Beeps; });
        OldSeparator = DecimalSeparator;
        DecimalSeparator = '.';
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Form->Show();
        E = new TGwSpinEdit(Form);
        E->SetParent(Form);
        E->SetBounds(10, 10, 80, 21);
        E->OnButtonClick = [this](TObject*, TSpinButtonType B) { Clicks += B == sbUp ? "u" : "d"; };
        Other = new TGwEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(10, 60, 80, 21);
    }
    void TearDown() override {
        SetBeepHandler(nullptr);
        DecimalSeparator = OldSeparator;
        delete Form;
        Application->ProcessMessages();
    }
    void Type(const std::string& cp1251) { inputkit::Type(E, cp1251); }
    void Key(int K) { inputkit::Press(E, K); }
    // One wheel notch over the edit part (negative: towards the user).
    void Wheel(int notches) { inputkit::Wheel(E, 20, E->Height() / 2, notches); }
    TForm* Form = nullptr;
    TGwSpinEdit* E = nullptr;
    TGwEdit* Other = nullptr;
    int Beeps = 0;
    std::string Clicks;
    char OldSeparator = '.';
};

TEST_F(GwSpinEdit, DefaultsStepByOneBetweenZeroAndAHundredAndRefuseTyping) {
    EXPECT_EQ(E->Text(), "0");
    EXPECT_EQ(E->Alignment(), taRightJustify);
    Key(inputkit::Key::Up);
    Key(inputkit::Key::Up);
    EXPECT_EQ(E->Text(), "2");
    Key(inputkit::Key::PageUp);
    EXPECT_EQ(E->Text(), "12");
    Wheel(-1);
    EXPECT_EQ(E->Text(), "11");
    for (int i = 0; i < 12; ++i)
        Key(inputkit::Key::PageDown);
    EXPECT_EQ(E->Text(), "0");
    E->SpinButtons()->UpRightButton()->Click();
    EXPECT_EQ(E->Value(), 1.0);
    EXPECT_EQ(Clicks, "uuud" + std::string(12, 'd') + "u") << "every step is reported, clamped ones too";
    E->SetFocus();
    Type("5");
    EXPECT_EQ(E->Text(), "1") << "typing is refused without AllowKeyEdit";
    EXPECT_EQ(Beeps, 1);
}

TEST_F(GwSpinEdit, DecimalsAndIntegersOnly) {
    E->SetIntegersOnly(false);
    E->SetDecimals(2);
    E->SetValue(1.5);
    EXPECT_EQ(E->Text(), "1.50");
    E->SetIntegersOnly(true);
    EXPECT_EQ(E->Text(), "2");
    EXPECT_EQ(E->Decimals(), 0);
}

struct RangeCase {
    const char* Name;
    double Min, Max;
    bool CheckRange;
    double Set;
    const char* Shown;
};

TEST_F(GwSpinEdit, RangeRule) {
    const RangeCase cases[] = {{"NoLimits", 0, 0, false, -250, "-250"},
                               {"CheckRangeForcesMin", 0, 0, true, 77, "0"},
                               {"Clamped", -5, 5, false, 9, "5"}};
    for (const auto& c : cases) {
        E->SetCheckRange(false);
        E->SetMin(-1000);
        E->SetMax(1000);
        E->SetMin(c.Min);
        E->SetMax(c.Max);
        E->SetCheckRange(c.CheckRange);
        E->SetValue(c.Set);
        EXPECT_EQ(E->Text(), c.Shown) << c.Name;
    }
}

TEST_F(GwSpinEdit, RaisingMinAboveMaxMovesMaxAndClampsAtOnce) {
    E->SetValue(50);
    E->SetMin(150);
    EXPECT_EQ(E->Max(), 150.0);
    EXPECT_EQ(E->Text(), "150");
}

TEST_F(GwSpinEdit, UnreadableTextReadsAsMinAndIsReplacedOnLeaving) {
    E->AllowKeyEdit = true;
    E->SetMin(3);
    E->SetFocus();
    E->SelectAll();
    Type("1-2");
    EXPECT_EQ(E->Text(), "12") << "a sign only at the start";
    E->SetText("abc");
    EXPECT_EQ(E->Value(), 3.0);
    Key(inputkit::Key::Up);
    EXPECT_EQ(E->Text(), "4") << "stepping starts from Min";
    E->SetText("x7");
    EXPECT_NO_THROW(Other->SetFocus());
    EXPECT_EQ(E->Text(), "3");
    E->AllowBlank = true;
    E->BlankValue = 42;
    E->SetFocus();
    E->SetText("");
    EXPECT_EQ(E->Value(), 42.0);
    Other->SetFocus();
    EXPECT_EQ(E->Text(), "") << "an allowed blank stays";
}

struct CharCase {
    const char* Name;
    std::string Text;
    int SelStart, SelLength;
    char Key;
    bool IntegersOnly;
    bool Valid;
};

class TProbe : public TGwSpinEdit {
public:
    using TGwSpinEdit::IsValidChar;
    using TGwSpinEdit::TGwSpinEdit;
};

TEST_F(GwSpinEdit, KeyFilter) {
    auto* p = new TProbe(Form);
    p->SetParent(Form);
    p->AllowKeyEdit = true;
    const CharCase cases[] = {
        {"Digit", "12", 2, 0, '3', true, true},
        {"Letter", "12", 2, 0, 'a', true, false},
        {"SeparatorRefusedForIntegers", "12", 2, 0, '.', true, false},
        {"Separator", "12", 2, 0, '.', false, true},
        {"SecondSeparator", "1.2", 3, 0, '.', false, false},
        {"SeparatorOverSelectedOne", "1.2", 1, 1, '.', false, true},
        {"SignAtStart", "12", 0, 0, '-', true, true},
        {"SignInside", "12", 1, 0, '-', true, false},
        {"SecondSign", "-12", 0, 0, '+', true, false},
        {"SignOverAll", "-12", 0, 3, '+', true, true},
        {"Backspace", "12", 2, 0, '\b', true, true},
        {"Enter", "12", 2, 0, '\r', true, false},
    };
    for (const CharCase& c : cases) {
        p->SetIntegersOnly(c.IntegersOnly);
        p->SetText(c.Text);
        p->SetSelStart(c.SelStart);
        p->SetSelLength(c.SelLength);
        EXPECT_EQ(p->IsValidChar(c.Key), c.Valid) << c.Name;
    }
    p->AllowKeyEdit = false;
    EXPECT_FALSE(p->IsValidChar('\b')) << "no editing at all without AllowKeyEdit";
    EXPECT_TRUE(p->IsValidChar(0x03)) << "copy stays";
}

TEST_F(GwSpinEdit, ReadOnlyHidesTheButtonsAndStepsNothing) {
    E->SetValue(5);
    E->SetReadOnly(true);
    EXPECT_FALSE(E->SpinButtons()->Visible());
    Key(inputkit::Key::Up);
    Wheel(1);
    EXPECT_EQ(E->Text(), "5");
    EXPECT_EQ(Beeps, 2);
    EXPECT_EQ(E->GetEditRect().Right, E->ClientWidth());
    E->SetReadOnly(false);
    EXPECT_TRUE(E->SpinButtons()->Visible());
    EXPECT_EQ(E->GetEditRect().Right, E->ClientWidth() - 17 - 2);
}

TEST_F(GwSpinEdit, AVetoLeavesTheValueAndFiresNoButtonClick) {
    E->OnChanging = [](TObject*, double NewValue, bool& Allow) { Allow = NewValue <= 2; };
    for (int i = 0; i < 5; ++i)
        Key(inputkit::Key::Up);
    EXPECT_EQ(E->Text(), "2");
    EXPECT_EQ(Clicks, "uu");
}

TEST_F(GwSpinEdit, ButtonsSitAtTheRightEdge) {
    E->SetCtl3D(false);
    E->SetBounds(10, 10, 80, 25);
    EXPECT_EQ(E->SpinButtons()->BoundsRect(), TRect(80 - 17 - 1, 1, 80 - 1, 1 + 23));
    E->SetButtonWidth(20);
    EXPECT_EQ(E->SpinButtons()->Width(), 20);
    E->SetOrientation(orHorizontal);
    EXPECT_EQ(E->SpinButtons()->Width(), 40);
}

} // namespace
