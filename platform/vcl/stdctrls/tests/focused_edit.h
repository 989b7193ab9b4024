// A shown form holding one edit of the class under test, with the focus in it: where a user's keys go.
#pragma once

#include <gtest/gtest.h>

#include "forms.h"
#include "inputkit.h"

template <class TEditClass, class Base = ::testing::Test> class TFocusedEdit : public Base {
protected:
    void SetUp() override {
        Application->Initialize();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 100);
        Edit = new TEditClass(Form);
        Edit->SetParent(Form);
        Edit->SetBounds(10, 10, 150, 21);
        Form->Show();
        Edit->SetFocus();
        inputkit::ProcessEvents();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    TForm* Form = nullptr;
    TEditClass* Edit = nullptr;
};
