// The spinner under a user's keys (the input kit): the numeric keypad's plus and minus step it.
#include <gtest/gtest.h>

#include "Gwspnedt.h"
#include "forms.h"
#include "inputkit.h"

namespace {

using namespace inputkit;

TEST(GwSpinnerInput, KeypadPlusAndMinusStepByIncrement) {
    Application->Initialize();
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, 300, 100);
    auto* spinner = new TGwSpinner(form);
    spinner->SetParent(form);
    spinner->SetValue(50);
    form->Show();
    spinner->SetFocus();
    ProcessEvents();
    Press(spinner, '+', Keypad);
    EXPECT_EQ(spinner->Value(), 51);
    Press(spinner, '-', Keypad);
    Press(spinner, '-', Keypad);
    EXPECT_EQ(spinner->Value(), 49);
    // The main keyboard's minus is no step.
    Press(spinner, '-');
    EXPECT_EQ(spinner->Value(), 49);
    delete form;
    Application->ProcessMessages();
}

} // namespace
