// Memo view messages (EM_) as a table, and the rich edit: caret position, read-only, and its lines
// written as rich text with Windows-1251 bytes as \'xx.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextOption>

#include "comctrls.h"
#include "forms.h"
#include "gfx_support.h"
#include "handle.h"
#include "winapi.h"

namespace {

class Memos : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Edit = new TRichEdit(Form);
        Edit->SetParent(Form);
        Edit->SetBounds(0, 0, 250, 100);
        Edit->SetWordWrap(false);
        for (int i = 0; i < 40; ++i)
            Edit->Lines()->Add("Строка " + std::to_string(i));
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    TForm* Form = nullptr;
    TRichEdit* Edit = nullptr;
};

TEST_F(Memos, ViewMessagesScrollAndMapPositions) {
    Edit->Perform(EM_LINESCROLL, 0, -100);
    EXPECT_EQ(Edit->Perform(EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_EQ(Edit->Perform(EM_LINESCROLL, 0, 5), 1);
    EXPECT_EQ(Edit->Perform(EM_GETFIRSTVISIBLELINE, 0, 0), 5);
    EXPECT_EQ(Edit->Perform(EM_SCROLL, SB_LINEUP, 0), MAKELRESULT(-1, 1));
    EXPECT_EQ(Edit->Perform(EM_GETFIRSTVISIBLELINE, 0, 0), 4);
    EXPECT_EQ(Edit->Perform(EM_SCROLL, 99, 0), 0);
    // A character's place and back again: line 6 starts after six lines of 8 bytes and CR LF.
    LRESULT start = Edit->Perform(EM_LINEINDEX, 6, 0);
    EXPECT_EQ(start, 6 * (8 + 2));
    LRESULT pos = Edit->Perform(EM_POSFROMCHAR, WPARAM(start + 2), 0);
    ASSERT_NE(pos, -1);
    LRESULT back = Edit->Perform(EM_CHARFROMPOS, 0, MAKELPARAM(LOWORD(pos) + 1, HIWORD(pos) + 2));
    EXPECT_EQ(LOWORD(back), start + 2);
    EXPECT_EQ(HIWORD(back), 6);
    Edit->Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(7, 3));
    EXPECT_EQ(Edit->Perform(EM_GETMARGINS, 0, 0), MAKELRESULT(7, 3));
}

TEST_F(Memos, RichEditCaretReadOnlyAndRichText) {
    Edit->SetCaretPos(TPoint(3, 2));
    EXPECT_EQ(Edit->CaretPos(), TPoint(3, 2));
    EXPECT_EQ(Edit->SelStart(), 2 * 10 + 3);
    Edit->SetReadOnly(true);
    EXPECT_TRUE(ClientWidget(Edit)->findChild<QPlainTextEdit*>()->isReadOnly());
    Edit->Lines()->Clear();
    Edit->Lines()->Add("Ошибка {1}\\");
    Edit->Lines()->Add("ok\tдалее");
    Edit->Font()->SetName("Courier New");
    Edit->Font()->SetSize(10);
    TStringStream out("");
    Edit->Lines()->SaveToStream(&out);
    EXPECT_EQ(out.DataString(),
              "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset204 Courier New;}}\r\n"
              "\\viewkind4\\uc1\\pard\\lang1049\\f0\\fs20 "
              "\\'ce\\'f8\\'e8\\'e1\\'ea\\'e0 \\{1\\}\\\\\\par\r\n"
              "ok\\tab \\'e4\\'e0\\'eb\\'e5\\'e5\\par\r\n}\r\n");
    Edit->PlainText = true;
    TStringStream plain("");
    Edit->Lines()->SaveToStream(&plain);
    EXPECT_EQ(plain.DataString(), "Ошибка {1}\\\r\nok\tдалее\r\n");
}

// An edit whose window is made with the alignment bits a derived class asks for.
class TAlignedEdit : public TEdit {
public:
    TAlignedEdit(TComponent* AOwner, DWORD Bits) : TEdit(AOwner), FBits(Bits) {}

protected:
    void CreateParams(TCreateParams& Params) override {
        TEdit::CreateParams(Params);
        Params.Style |= FBits;
    }

private:
    DWORD FBits;
};

struct AlignCase {
    const char* Name;
    DWORD Bits;
    Qt::Alignment Want;
};
const AlignCase kAlignCases[] = {
    {"ES_LEFT", ES_LEFT, Qt::AlignLeft},
    {"ES_CENTER", ES_CENTER, Qt::AlignHCenter},
    {"ES_RIGHT", ES_RIGHT, Qt::AlignRight},
};

// The alignment bits show in the editor, whether the window is made with them or they change
// later through SetWindowLong; a memo's Alignment likewise.
TEST(EditAlignment, StyleBitsAlignTheTextAtCreationAndAtRunTime) {
    EnsureApp();
    TForm form(nullptr);
    for (const AlignCase& c : kAlignCases) {
        SCOPED_TRACE(c.Name);
        auto* made = new TAlignedEdit(&form, c.Bits);
        made->SetParent(&form);
        made->HandleNeeded();
        auto* line = ClientWidget(made)->findChild<QLineEdit*>();
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->alignment() & Qt::AlignHorizontal_Mask, c.Want);

        auto* changed = new TEdit(&form);
        changed->SetParent(&form);
        const LPARAM style = GetWindowLong(changed->Handle(), GWL_STYLE);
        SetWindowLong(changed->Handle(), GWL_STYLE, (style & ~LPARAM(ES_CENTER | ES_RIGHT)) | LPARAM(c.Bits));
        EXPECT_EQ(ClientWidget(changed)->findChild<QLineEdit*>()->alignment() & Qt::AlignHorizontal_Mask,
                  c.Want);
    }
    TMemo* memo = new TMemo(&form);
    memo->SetParent(&form);
    memo->HandleNeeded();
    auto* doc = ClientWidget(memo)->findChild<QPlainTextEdit*>()->document();
    const std::pair<TAlignment, Qt::Alignment> memoCases[] = {
        {taRightJustify, Qt::AlignRight}, {taCenter, Qt::AlignHCenter}, {taLeftJustify, Qt::AlignLeft}};
    for (auto [alignment, want] : memoCases) {
        memo->SetAlignment(alignment);
        EXPECT_EQ(doc->defaultTextOption().alignment() & Qt::AlignHorizontal_Mask, want);
    }
    memo->SetAlignment(taRightJustify);
    memo->RecreateWnd();
    memo->HandleNeeded();
    EXPECT_TRUE(GetWindowLong(memo->Handle(), GWL_STYLE) & ES_RIGHT);
    EXPECT_EQ(doc->defaultTextOption().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

} // namespace
