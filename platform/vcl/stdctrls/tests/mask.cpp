// The mask language as a table (mask, keys typed -> EditText, Text), and the mask edit's paste,
// delete and validation through the message path.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "clipbrd.h"
#include "forms.h"
#include "gfx_support.h"
#include "handle.h"
#include "mask.h"

namespace {

struct MaskCase {
    const char* Name;
    const char* Mask;
    const char* Keys; // typed from the start; '\b' is Backspace
    const char* EditText;
    const char* Text;
};

void PrintTo(const MaskCase& c, std::ostream* os) { *os << c.Name; }

class MaskTable : public ::testing::TestWithParam<MaskCase> {};

struct MaskForm {
    MaskForm() {
        EnsureApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 100);
        Edit = new TMaskEdit(Form);
        Edit->SetParent(Form);
        Edit->SetBounds(10, 10, 150, 21);
        Form->Show();
        Edit->SetFocus();
    }
    ~MaskForm() {
        delete Form;
        Application->ProcessMessages();
    }
    QLineEdit* Line() { return ClientWidget(Edit)->findChild<QLineEdit*>(); }
    void Type(const std::string& keys) {
        for (char c : keys) {
            if (c == '\b')
                TypeKey(Line(), Qt::Key_Backspace, "\b");
            else
                TypeText(Line(), std::string(1, c));
        }
    }
    TForm* Form;
    TMaskEdit* Edit;
};

TEST_P(MaskTable, TypingFillsTheMaskAroundItsLiterals) {
    const MaskCase& c = GetParam();
    MaskForm f;
    f.Edit->SetEditMask(c.Mask);
    f.Type(c.Keys);
    EXPECT_EQ(f.Edit->EditText(), c.EditText);
    EXPECT_EQ(f.Edit->Text(), c.Text);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, MaskTable,
    ::testing::Values(MaskCase{"TimeOfDay", "!90:00;1;_", "1230", "12:30", "12:30"},
                      MaskCase{"TimeTypedSeparatorSkips", "!90:00;1;_", "1:30", "1_:30", "1 :30"},
                      MaskCase{"TimeEmpty", "!90:00;1;_", "", "__:__", "  :  "},
                      MaskCase{"LettersIgnoreDigits", "LL;1;_", "a1b", "ab", "ab"},
                      MaskCase{"UpperThenLower", ">LL<ll;1;_", "abCD", "ABcd", "ABcd"},
                      MaskCase{"CyrillicLetterUpper", ">L;1;_", "\xE6", "\xC6", "\xC6"},
                      MaskCase{"LiteralsNotSaved", "000-00;0;_", "12345", "123-45", "12345"},
                      MaskCase{"EscapedLiteral", "\\L00;1;*", "42", "L42", "L42"},
                      MaskCase{"SignOnlyWhereHash", "#0;1;_", "-5", "-5", "-5"},
                      MaskCase{"BlankCharacter", "00;1;*", "1", "1*", "1 "},
                      MaskCase{"BackspaceBlanksBehindLiteral", "00:00;1;_", "123\b\b", "1_:__", "1 :  "},
                      MaskCase{"AnyCharacter", "CC;1;_", "+ ", "+ ", "+ "},
                      MaskCase{"UnderscoreIsASpace", "0_0;1;#", "12", "1 2", "1 2"}),
    [](const ::testing::TestParamInfo<MaskCase>& i) { return std::string(i.param.Name); });

TEST(MaskText, TextSetFromCodeFillsFromTheLeftOrRightWithBang) {
    EXPECT_EQ(FormatMaskText("000;0;_", "12"), "12 ");
    EXPECT_EQ(FormatMaskText("!000;0;_", "12"), " 12");
    EXPECT_EQ(FormatMaskText("00:00;1;_", "12:3"), "12:3 ");
    // A short optional field ends at the value's separator.
    EXPECT_EQ(FormatMaskText("99:00;1;_", "7:05"), "7 :05");
    TimeSeparator = '.';
    EXPECT_EQ(TEditMask("00:00").EmptyText(), "__.__");
    TimeSeparator = ':';
}

TEST(MaskEdit, PasteDeleteAndCutKeepTheLiteralsInPlace) {
    MaskForm f;
    f.Edit->SetEditMask("00:00;1;_");
    Clipboard()->SetAsText("12:34");
    f.Edit->PasteFromClipboard();
    EXPECT_EQ(f.Edit->EditText(), "12:34");
    f.Edit->SetSelStart(1);
    f.Edit->SetSelLength(3);
    f.Edit->CutToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "2:3");
    EXPECT_EQ(f.Edit->EditText(), "1_:_4");
    f.Edit->SetSelStart(0);
    f.Edit->SetSelLength(0);
    TypeKey(f.Line(), Qt::Key_Delete);
    EXPECT_EQ(f.Edit->EditText(), "__:_4");
    // Pasted text that does not fit stops where it stops fitting.
    f.Edit->SetSelStart(0);
    Clipboard()->SetAsText("9x");
    f.Edit->PasteFromClipboard();
    EXPECT_EQ(f.Edit->EditText(), "9_:_4");
}

TEST(MaskEdit, TextFromCodeIsFormattedAndValidationWantsEveryRequiredPosition) {
    MaskForm f;
    f.Edit->SetEditMask("!90:00;1;_");
    f.Edit->SetText("  :  ");
    EXPECT_EQ(f.Edit->EditText(), "__:__");
    EXPECT_NO_THROW(f.Edit->ValidateEdit()); // untouched: nothing to check
    f.Type("1");
    EXPECT_THROW(f.Edit->ValidateEdit(), EDBEditError);
    EXPECT_EQ(f.Edit->SelStart(), 1); // the caret waits at the first missing digit
    f.Type("\b");
    f.Edit->SetText(" 7:05");
    EXPECT_EQ(f.Edit->EditText(), "_7:05");
    f.Edit->SetModified(true);
    EXPECT_NO_THROW(f.Edit->ValidateEdit()); // the hour's first digit is optional
    f.Edit->SetEditMask("");
    EXPECT_EQ(f.Edit->Text(), " 7:05");
    f.Type("x");
    EXPECT_EQ(f.Edit->Text(), "x 7:05");
}

} // namespace
