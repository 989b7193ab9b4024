// The editor under a user's keys (the input kit): Ctrl with the numeric keypad's minus and plus folds
// and unfolds the section at the caret.
#include <gtest/gtest.h>

#include "UnitSyntaxMemo.h"
#include "forms.h"
#include "inputkit.h"

namespace {

using namespace inputkit;

TEST(EditorInput, CtrlKeypadMinusFoldsAndPlusUnfolds) {
    Application->Initialize();
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 420, 260);
    auto* memo = new TMPSyntaxMemo(form);
    memo->SetParent(form);
    memo->SetAlign(alClient);
    TStringStream s("a\r\n{<+}b\r\nc\r\n{>>}d\r\ne");
    memo->Lines()->LoadFromStream(&s);
    form->Show();
    memo->SetFocus();
    ProcessEvents();
    memo->Range()->SetPos({0, 2});
    Press(memo, '-', Ctrl | Keypad);
    ASSERT_NE(memo->Sections()->SectionOfLine(1), nullptr);
    EXPECT_TRUE(memo->Sections()->SectionOfLine(1)->Collapsed);
    Press(memo, '+', Ctrl | Keypad);
    EXPECT_FALSE(memo->Sections()->SectionOfLine(1)->Collapsed);
    delete form;
    Application->ProcessMessages();
}

} // namespace
