// Memo view messages (EM_) as a table, and the rich edit: caret position, read-only, and its lines
// written as rich text with Windows-1251 bytes as \'xx.
#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "comctrls.h"
#include "forms.h"
#include "gfx_support.h"
#include "handle.h"

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

} // namespace
