// The numeric, expand, memo, rich and hot-key edits on a shown form, driven through messages.
#include <gtest/gtest.h>

#include <memory>

#include "Gwedit.h"
#include "Gwmemo.h"
#include "forms.h"
#include "gw_support.h"
#include "inputkit.h"
#include "sysinfo.h"

namespace {

// A form with the control under test and a second edit to take the focus away.
template <class T> struct OnForm {
    explicit OnForm(int W = 120, int H = 21) {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        Other = new TGwEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(10, 250, 100, 21);
        Control = new T(Form);
        Control->SetParent(Form);
        Control->SetBounds(10, 10, W, H);
        Form->Show();
        Other->SetFocus();
        Application->ProcessMessages();
    }
    ~OnForm() {
        delete Form;
        Application->ProcessMessages();
    }
    TForm* Form;
    TGwEdit* Other;
    T* Control;
};

// ---- numeric edit

struct ExitCase {
    const char* Name;
    double Min, Max;
    bool CheckRange, KeepInvalid;
    const char* Typed;
    const char* Shown; // the text after leaving
    bool StaysFocused;
    int Notices; // range errors reported
};

void PrintTo(const ExitCase& c, std::ostream* os) { *os << c.Name; }

class NumericExit : public ::testing::TestWithParam<ExitCase> {};

TEST_P(NumericExit, LeavingReadsChecksAndFormats) {
    const ExitCase& c = GetParam();
    // The cases are written with the US thousands separator.
    struct UsThousands {
        char Kept = ThousandSeparator;
        UsThousands() { ThousandSeparator = ','; }
        ~UsThousands() { ThousandSeparator = Kept; }
    } us;
    OnForm<TGwNumericEdit> f;
    TGwNumericEdit* e = f.Control;
    e->SetMax(c.Max);
    e->SetMin(c.Min);
    e->CheckRange = c.CheckRange;
    int notices = 0;
    e->OnRangeError = [&](TObject*, double Entered, double Adjusted, bool& AutoCorrect) {
        ++notices;
        EXPECT_EQ(Entered, GwEvaluateNumberText(c.Typed));
        EXPECT_TRUE(Adjusted == c.Min || Adjusted == c.Max);
        AutoCorrect = !c.KeepInvalid;
    };
    e->SetFocus();
    e->SetText(c.Typed);
    if (c.StaysFocused)
        EXPECT_THROW(f.Other->SetFocus(), EAbort) << "the focus change is called off";
    else
        f.Other->SetFocus();
    EXPECT_EQ(e->Text(), c.Shown);
    EXPECT_EQ(e->Focused(), c.StaysFocused);
    EXPECT_EQ(notices, c.Notices);
}

INSTANTIATE_TEST_SUITE_P(
    Gw, NumericExit,
    ::testing::Values(ExitCase{"InRange", 1, 10, false, false, "5", "5", false, 0},
                      ExitCase{"BelowMinTakesMin", 1, 10, false, false, "-3", "1", false, 1},
                      ExitCase{"AboveMaxTakesMax", 1, 10, false, false, "12", "10", false, 1},
                      ExitCase{"HandlerKeepsTheEntry", 1, 10, false, true, "12", "12", true, 1},
                      ExitCase{"NoRangeWhenMinIsMax", 0, 0, false, false, "1234", "1,234", false, 0},
                      ExitCase{"CheckRangeForcesTheOneValue", 0, 0, true, false, "77", "0", false, 1},
                      ExitCase{"AccountingNegative", 0, 0, false, false, "(1,234)", "(1,234)", false, 0},
                      ExitCase{"Unreadable", 0, 0, false, false, "abc", "0", false, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(GwNumericEdit, EmptyTextReadsAsMinOrBlank) {
    OnForm<TGwNumericEdit> f;
    TGwNumericEdit* e = f.Control;
    EXPECT_EQ(e->Text(), "0") << "a new edit shows the formatted 0";
    e->SetMax(10);
    e->SetMin(5);
    e->SetText("");
    EXPECT_EQ(e->Value(), 5);
    EXPECT_EQ(e->Text(), "5") << "reading an empty edit writes Min into it";
    e->AllowBlank = true;
    e->BlankValue = -1;
    e->SetText("");
    EXPECT_EQ(e->Value(), -1);
    e->SetFocus();
    f.Other->SetFocus();
    EXPECT_EQ(e->Text(), "") << "a blank edit stays blank when left";
    e->SetMin(20);
    EXPECT_EQ(e->Max(), 20) << "Min above Max raises Max";
}

TEST(GwNumericEdit, IntValueRoundsHalvesToEven) {
    OnForm<TGwNumericEdit> f;
    f.Control->SetIntegersOnly(false);
    f.Control->SetDisplayFormat("0.0");
    for (auto [v, i] : {std::pair{2.5, 2}, {3.5, 4}, {-2.5, -2}, {2.6, 3}}) {
        f.Control->SetValue(v);
        EXPECT_EQ(f.Control->IntValue(), i) << v;
    }
    f.Control->SetValue(2.5);
    f.Control->SetIntegersOnly(true);
    EXPECT_EQ(f.Control->Text(), "2.0") << "turning integers on rounds the value";
}

TEST(GwNumericEdit, RefusedKeysBeepAndChangeNothing) {
    OnForm<TGwNumericEdit> f;
    int beeps = 0;
    SetBeepHandler([&](UINT) { ++beeps; });
    f.Control->SetFocus();
    f.Control->SetText("-12");
    f.Control->SetSelStart(0);
    inputkit::Type(f.Control, "5"); // nothing before the sign
    inputkit::Type(f.Control, "x");
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(f.Control->Text(), "-12");
    f.Control->SetSelStart(3);
    inputkit::Type(f.Control, "5");
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(f.Control->Text(), "-125") << "an accepted key types";
    f.Control->BeepOnInvalidKey = false;
    inputkit::Type(f.Control, "x");
    EXPECT_EQ(beeps, 2);
    SetBeepHandler(nullptr);
    EXPECT_EQ(f.Control->Text(), "-125");
}

// ---- expand edit

TEST(GwExpandEdit, RightClicksWidenAndRestore) {
    OnForm<TGwExpandEdit> f(60);
    TGwExpandEdit* e = f.Control;
    e->SetExpandOn(etMouseButton2Click);
    inputkit::ChooseInNextMenu(""); // the edit menu the release opens
    inputkit::Click(e, 3, 3, inputkit::Right);
    EXPECT_EQ(e->Width(), 60) << "ExpandedWidth 0 never changes the width";
    e->SetExpandedWidth(200);
    inputkit::ChooseInNextMenu(""); // the edit menu the release opens
    inputkit::Click(e, 3, 3, inputkit::Right);
    EXPECT_EQ(e->Width(), 200);
    EXPECT_TRUE(e->Focused());
    inputkit::ChooseInNextMenu(""); // the edit menu the release opens
    inputkit::Click(e, 3, 3, inputkit::Right);
    EXPECT_EQ(e->Width(), 60);
    e->SetExpandOn(etFocus);
    e->SetFocus();
    f.Other->SetFocus();
    e->SetFocus();
    EXPECT_EQ(e->Width(), 200) << "focus widens";
    f.Other->SetFocus();
    EXPECT_EQ(e->Width(), 60) << "leaving restores";
}

// ---- memo and rich edit

template <class T> void FillLines(T* Edit, int N) {
    for (int i = 1; i <= N; ++i)
        Edit->Lines()->Add("line " + std::to_string(i));
}

TEST(GwMemo, LineAndColumnMoveTheCaretAndReport) {
    OnForm<TGwMemo> f(200, 60);
    TGwMemo* m = f.Control;
    m->Lines()->Add("abc");
    m->Lines()->Add("de");
    int line = 0, column = 0;
    m->OnLineColChange = [&](TObject*, int L, int C) {
        line = L;
        column = C;
    };
    m->JumpTo(2, 3);
    EXPECT_EQ(line, 2);
    EXPECT_EQ(column, 3);
    EXPECT_EQ(m->SelStart(), 7) << "after \"abc\" CR LF and \"de\"";
    m->SetColumn(4);
    EXPECT_EQ(m->Column(), 3) << "a column beyond the line's end plus one leaves the caret";
    m->SetLine(1);
    EXPECT_EQ(m->Line(), 1);
    EXPECT_EQ(m->Column(), 1);
}

TEST(GwMemo, SetLineBringsTheLineToTheTop) {
    OnForm<TGwMemo> f(200, 60);
    FillLines(f.Control, 50);
    f.Control->SetLine(20);
    EXPECT_EQ(f.Control->Perform(EM_GETFIRSTVISIBLELINE, 0, 0), 19);
    f.Control->SetLine(1);
    EXPECT_EQ(f.Control->Perform(EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    // A wheel notch down scrolls the system's three lines.
    inputkit::Wheel(f.Control, 20, 20, -1);
    EXPECT_EQ(f.Control->Perform(EM_GETFIRSTVISIBLELINE, 0, 0), 3);
}

TEST(GwMemo, EnterMovesOnWithTabOnEnter) {
    OnForm<TGwMemo> f(200, 60);
    f.Control->TabOnEnter = true;
    f.Control->SetFocus();
    inputkit::Press(f.Control, inputkit::Key::Return);
    Application->ProcessMessages();
    EXPECT_TRUE(f.Other->Focused());
    EXPECT_EQ(f.Control->Lines()->Count(), 0);
}

TEST(GwRichEdit, DisabledKeepsTheDisabledStyleAndTakesDisabledColor) {
    OnForm<TGwRichEdit> f(200, 60);
    TGwRichEdit* r = f.Control;
    r->SetColor(clInfoBk);
    r->SetDisabledColor(clGray);
    r->SetFocus();
    r->SetEnabled(false);
    EXPECT_TRUE(GetWindowLong(r->Handle(), GWL_STYLE) & WS_DISABLED);
    EXPECT_EQ(r->Color(), clGray);
    EXPECT_NE(f.Form->ActiveControl(), r) << "the form takes the focus away";
    r->SetEnabled(true);
    EXPECT_FALSE(GetWindowLong(r->Handle(), GWL_STYLE) & WS_DISABLED);
    EXPECT_EQ(r->Color(), clInfoBk);
}

TEST(GwRichEdit, ReadOnlyLogColourAndRichText) {
    OnForm<TGwRichEdit> f(200, 60);
    TGwRichEdit* r = f.Control;
    r->SetReadOnlyColor(clInfoBk);
    r->SetReadOnly(true);
    EXPECT_EQ(r->Color(), clInfoBk);
    r->Lines()->Add("\xCF\xEE\xF0\xF2 COM1"); // "Порт COM1"
    EXPECT_NE(r->RtfData().find("\\'cf\\'ee\\'f0\\'f2 COM1"), std::string::npos);
}

// ---- hot-key edit

TEST(GwHotKeyEdit, DisabledAndFocusedColours) {
    OnForm<TGwHotKeyEdit> f;
    TGwHotKeyEdit* h = f.Control;
    h->SetColor(clWhite);
    h->SetFocusColor(clYellow);
    h->SetEnabled(false);
    EXPECT_EQ(h->Color(), clBtnFace);
    h->SetEnabled(true);
    h->SetFocus();
    EXPECT_EQ(h->Color(), clYellow);
    f.Other->SetFocus();
    EXPECT_EQ(h->Color(), clWhite);
}

} // namespace
