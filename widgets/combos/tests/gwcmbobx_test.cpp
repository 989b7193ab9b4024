// The combo box base and the standard combo box: typing into the platform's combo box as the
// keyboard would (auto-completion, type-to-find with its time-out, Cyrillic letters), read-only
// mode, the wheel, leaving with a text that is no item, values, and the frame and button looks.
#include <gtest/gtest.h>

#include "Gwcmbobx.h"
#include "clipbrd.h"
#include "gw_support.h"
#include "inputkit.h"
#include "screenkit.h"
#include "sysinfo.h"

namespace {

namespace Key = inputkit::Key;
using inputkit::Press;
using inputkit::Type;

// One wheel notch over the middle of the control (negative: towards the user).
void Wheel(TWinControl* c, int notches) { inputkit::Wheel(c, c->Width() / 2, c->Height() / 2, notches); }

class GwCombo : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        SetBeepHandler([this](UINT) { ++Beeps; });
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Form->Show();
        Combo = new TGwComboBox(Form);
        Combo->SetParent(Form);
        Combo->SetBounds(10, 10, 150, 21);
        for (const char* s : {"Apple", "Apricot", "Banana", "Ялта", "якорь"})
            Combo->Items()->Add(s);
        Combo->OnChange = [this](TObject*) { ++Changes; };
        Combo->OnKeyPress = [this](TObject*, char&) { ++KeyPresses; };
        Other = new TGwComboBox(Form);
        Other->SetParent(Form);
        Other->SetBounds(10, 60, 150, 21);
        Combo->SetFocus();
    }
    void TearDown() override {
        SetBeepHandler(nullptr);
        delete Form;
        Application->ProcessMessages();
    }
    // The edit text with the selected tail in brackets: "Ap[ple]".
    std::string Shown() {
        std::string t = Combo->Text();
        int a = Combo->SelStart(), n = Combo->SelLength();
        if (n == 0)
            return t;
        return t.substr(0, a) + "[" + t.substr(a, n) + "]" + t.substr(a + n);
    }
    TForm* Form = nullptr;
    TGwComboBox* Combo = nullptr;
    TGwComboBox* Other = nullptr;
    int Beeps = 0;
    int Changes = 0;
    int KeyPresses = 0;
};

struct TypingCase {
    const char* Name;
    std::string Keys; // '\b' is Backspace
    bool AllowEdit;
    bool KeepSearchCase;
    std::string Shown;
    int ItemIndex;
    int Beeps;
    int KeyPresses; // once per key, and once more for each key that completed or emptied the text
};

void PrintTo(const TypingCase& c, std::ostream* os) { *os << c.Name; }

class GwComboTyping : public GwCombo, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(GwComboTyping, CompletesFromTheFirstItemTheTextStarts) {
    const TypingCase& c = GetParam();
    Combo->AllowEdit = c.AllowEdit;
    Combo->KeepSearchCase = c.KeepSearchCase;
    for (char k : c.Keys)
        if (k == '\b')
            Press(Combo, Key::Backspace);
        else
            Type(Combo, std::string(1, k));
    EXPECT_EQ(Shown(), c.Shown);
    EXPECT_EQ(Combo->ItemIndex(), c.ItemIndex);
    EXPECT_EQ(Beeps, c.Beeps);
    EXPECT_EQ(KeyPresses, c.KeyPresses);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GwComboTyping,
    ::testing::Values(TypingCase{"OneLetter", "a", true, false, "A[pple]", 0, 0, 2},
                      TypingCase{"ThreeLetters", "apr", true, false, "Apr[icot]", 1, 0, 6},
                      TypingCase{"BackspaceDropsTheLastTyped", "apr\b", true, false, "Ap[ple]", 0, 0, 8},
                      TypingCase{"BackspaceToNothing", "a\b", true, false, "", -1, 0, 4},
                      TypingCase{"NoItemTypesTheLetter", "ax", true, false, "Ax", -1, 0, 3},
                      TypingCase{"NoItemWithoutEditBeeps", "ax", false, false, "A[pple]", 0, 1, 3},
                      TypingCase{"KeepSearchCase", "APR", true, true, "APR[icot]", -1, 0, 6},
                      TypingCase{"CyrillicCaseless", "я", true, false, "Я[лта]", 3, 0, 2},
                      TypingCase{"CyrillicSecondItem", "як", true, false, "як[орь]", 4, 0, 4}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(GwCombo, ListOnlySearchRestartsAfterTheTimeOut) {
    Combo->SetStyle(csDropDownList);
    Type(Combo, "ба");
    EXPECT_EQ(Combo->ItemIndex(), -1) << "no item starts with the Cyrillic letters";
    EXPECT_EQ(Beeps, 2);
    Type(Combo, "b");
    EXPECT_EQ(Combo->ItemIndex(), 2);
    ASSERT_TRUE(Combo->SearchTimer()->Enabled());
    EXPECT_EQ(Combo->SearchTimer()->Interval(), 1500u);
    Type(Combo, "a");
    EXPECT_EQ(Combo->SearchText(), "ba");
    EXPECT_EQ(Combo->ItemIndex(), 2);
    Combo->SearchTimer()->OnTimer(nullptr);
    EXPECT_FALSE(Combo->SearchTimer()->Enabled());
    Type(Combo, "я");
    EXPECT_EQ(Combo->ItemIndex(), 3) << "a new search after the time-out";
    Type(Combo, "к");
    EXPECT_EQ(Combo->ItemIndex(), 4);
    Press(Combo, Key::Backspace);
    EXPECT_EQ(Combo->SearchText(), "я");
    EXPECT_EQ(Combo->ItemIndex(), 3);
}

TEST_F(GwCombo, ListOnlySearchTellsTheKeyOnceMoreWhenItFinds) {
    Combo->SetStyle(csDropDownList);
    std::string told;
    Combo->OnKeyPress = [&](TObject*, char& k) { told += k; };
    Combo->OnChange = [&](TObject*) { told += '~'; };
    Type(Combo, "x"); // no item: told once, by the key itself
    EXPECT_EQ(told, "x");
    Combo->SearchTimer()->OnTimer(nullptr);
    Type(Combo, "b"); // Banana found: told again after the click and the change
    EXPECT_EQ(told, "xb~b");
    EXPECT_EQ(Combo->ItemIndex(), 2);
}

TEST_F(GwCombo, APasteThatCompletesIsToldAsThePasteKey) {
    std::string told;
    Combo->OnKeyPress = [&](TObject*, char& k) { told += k; };
    Clipboard()->SetAsText("Ban");
    Press(Combo, Key::Insert, inputkit::Shift); // a key without a character: told only by the completion
    EXPECT_EQ(Shown(), "Ban[ana]");
    EXPECT_EQ(told, "\x16");
    Combo->SetText("");
    told.clear();
    Press(Combo, 'V', inputkit::Ctrl);
    EXPECT_EQ(Shown(), "Ban[ana]");
    EXPECT_EQ(told, "\x16\x16");
}

TEST_F(GwCombo, ReadOnlyBlocksTypingKeysAndWheelButShowsItsColour) {
    Combo->SetItemIndex(1);
    Combo->SetReadOnly(true);
    Other->SetFocus();
    EXPECT_EQ(Combo->Color(), clInfoBk);
    Combo->SetFocus();
    EXPECT_EQ(Combo->Color(), clWindow) << "focus colour unless read-only-on-focus";
    Type(Combo, "b");
    Press(Combo, Key::Down);
    Press(Combo, Key::Delete);
    Wheel(Combo, -1);
    EXPECT_EQ(Combo->Text(), "Apricot");
    EXPECT_EQ(Combo->ItemIndex(), 1);
    EXPECT_EQ(Changes, 0);
    Combo->SetReadOnlyColorOnFocus(true);
    EXPECT_EQ(Combo->Color(), clInfoBk);
}

TEST_F(GwCombo, WheelStepsAndStopsAtTheEnds) {
    Combo->SetStyle(csDropDownList);
    const int last = Combo->Count() - 1;
    Combo->SetItemIndex(last);
    Wheel(Combo, -1);
    EXPECT_EQ(Combo->ItemIndex(), last);
    Combo->SetItemIndex(0);
    Wheel(Combo, 1);
    EXPECT_EQ(Combo->ItemIndex(), 0);
    EXPECT_EQ(Changes, 0);
    Wheel(Combo, -1);
    EXPECT_EQ(Combo->ItemIndex(), 1);
    EXPECT_EQ(Changes, 1);
}

TEST_F(GwCombo, LeavingWithATextThatIsNoItemFiresNotInListOnce) {
    int notInList = 0;
    Combo->OnNotInList = [&](TObject*) { ++notInList; };
    Type(Combo, "Grape");
    Other->SetFocus();
    EXPECT_EQ(notInList, 1);
    Combo->SetFocus();
    Combo->SetItemIndex(2);
    Other->SetFocus();
    EXPECT_EQ(notInList, 1);
}

TEST_F(GwCombo, ValuesStandForTheirItems) {
    auto* c = Combo;
    c->ClearItemsValues();
    c->AddItemValue("нет опроса", "0");
    c->AddItemValue("непрерывно", "");
    c->AddItemValue("1 s", "1000");
    EXPECT_EQ(c->ItemValue(1), "непрерывно");
    c->SetValue("1000");
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(c->Value(), "1000");
    c->SetValue("непрерывно");
    EXPECT_EQ(c->ItemIndex(), 1);
    c->SetValue("7");
    EXPECT_EQ(c->ItemIndex(), -1);
    c->SetStyle(csDropDownList);
    Wheel(Combo, -1);
    EXPECT_EQ(c->Value(), "0") << "a user's choice brings the value along";
    c->SetValue("5");
    EXPECT_EQ(c->ItemIndex(), -1);
    c->Values()->Put(2, "5");
    EXPECT_EQ(c->ItemIndex(), 2) << "a change of the values applies the current value again";
}

TEST_F(GwCombo, WhatGoesIntoTheFormFollowsTheStateAndTheController) {
    Other->SetFocus();
    EXPECT_TRUE(Combo->IsStored(fcpColor));
    EXPECT_FALSE(Combo->IsStored(fcpFocusColor)) << "a focus colour equal to the colour";
    Combo->SetFocusColor(clYellow);
    EXPECT_TRUE(Combo->IsStored(fcpFocusColor));
    Combo->SetEnabled(false);
    EXPECT_EQ(Combo->Color(), clBtnFace);
    EXPECT_FALSE(Combo->IsStored(fcpColor)) << "a disabled box shows the disabled colour";
    auto* controller = new TGwFrameController(Form);
    Combo->SetFrameController(controller);
    Combo->SetFrameControllerNotifications(TGwFrameControllerNotifications{fcpFrameColor});
    EXPECT_FALSE(Combo->IsStored(fcpFrameColor));
    EXPECT_TRUE(Combo->IsStored(fcpFrameStyle));
    delete controller;
    EXPECT_EQ(Combo->FrameController(), nullptr);
    EXPECT_TRUE(Combo->IsStored(fcpFrameColor));
}

// Pixels: the flat frame on its sides, the read-only strip without a button, the flat button.
TEST_F(GwCombo, FrameAndButtonLooks) {
    TPaper paper(150, 21);
    Combo->SetFrameVisible(true);
    Combo->SetFrameColor(clRed);
    Combo->PaintOverlay(paper.Canvas());
    EXPECT_EQ(paper.At(0, 10), clRed);
    EXPECT_EQ(paper.At(149, 10), clRed);
    EXPECT_EQ(paper.At(1, 10), ColorToRGB(clWindow)) << "the 3-D border is covered with the control colour";
    const int w = GetSystemMetrics(SM_CXVSCROLL);
    paper.Fill(clBlack);
    Combo->SetReadOnly(true);
    Combo->SetColor(clYellow);
    Combo->PaintOverlay(paper.Canvas());
    for (int x = 150 - 2 - w; x < 148; ++x)
        ASSERT_EQ(paper.At(x, 10), clYellow) << x;
    Combo->SetReadOnly(false);
    Combo->SetFlatButtons(true);
    Other->SetFocus();
    paper.Fill(clBlack);
    Combo->PaintOverlay(paper.Canvas());
    TRect strip(150 - 2 - w, 2, 148, 19);
    int arrow = 0;
    for (int y = strip.Top; y < strip.Bottom; ++y)
        for (int x = strip.Left; x < strip.Right; ++x)
            arrow += paper.At(x, y) == clBlack;
    EXPECT_GT(arrow, 3) << "only the arrow is drawn over the control colour";
    EXPECT_EQ(paper.At(strip.Left, strip.Top), clYellow);
}

// The running program's look: Qt paints the combo box, then the control's WM_PAINT goes over it.
TEST_F(GwCombo, FrameAndFlatButtonShowOverTheNativePaint) {
    Combo->SetFrameVisible(true);
    Combo->SetFrameColor(clRed);
    Combo->SetFlatButtons(true);
    Combo->SetColor(clYellow);
    Other->SetFocus();
    TBitmap img;
    screenkit::Window(Combo, img);
    ASSERT_EQ(img.Width(), 150);
    auto at = [&](int x, int y) { return TPaper::Hex(img.Canvas()->GetPixel(x, y)); };
    for (int y : {0, 10, 20})
        EXPECT_EQ(at(0, y), TPaper::Hex(clRed)) << "left edge, row " << y;
    EXPECT_EQ(at(149, 10), TPaper::Hex(clRed)) << "right edge";
    EXPECT_EQ(at(75, 0), TPaper::Hex(clRed)) << "top edge";
    const int w = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(at(150 - 2 - w, 3), TPaper::Hex(clYellow)) << "the cold flat button strip";
}

} // namespace
