// The Delete key under a user's keys: the X11 desktop gives it the text DEL, yet, as in Windows, it
// is a key and types no character, on an edit, a mask edit and a grid's in-place editor.
#include <gtest/gtest.h>

#include <string>

#include "forms.h"
#include "grids.h"
#include "inputkit.h"
#include "mask.h"
#include "stdctrls.h"

namespace {

using namespace inputkit;

enum class Host { Edit, MaskEdit, GridEditor };

struct DeleteCase {
    const char* Name;
    Host Where;
    TMods Mods;
    bool DeletesNext; // the key removes the character after the caret
};

void PrintTo(const DeleteCase& c, std::ostream* os) { *os << c.Name; }

// Keypad: the keypad's Delete, which is also its Decimal with NumLock off.
const DeleteCase kCases[] = {
    {"EditDelete", Host::Edit, None, true},
    {"EditShiftDelete", Host::Edit, Shift, false},
    {"EditCtrlDelete", Host::Edit, Ctrl, true},
    {"EditKeypadDelete", Host::Edit, Keypad, true},
    {"MaskEditDelete", Host::MaskEdit, None, true},
    {"MaskEditCtrlDelete", Host::MaskEdit, Ctrl, true},
    {"GridEditorDelete", Host::GridEditor, None, true},
    {"GridEditorShiftDelete", Host::GridEditor, Shift, false},
    {"GridEditorCtrlDelete", Host::GridEditor, Ctrl, true},
    {"GridEditorKeypadDelete", Host::GridEditor, Keypad, true},
};

class DeleteKey : public ::testing::TestWithParam<DeleteCase> {
protected:
    void SetUp() override {
        Application->Initialize();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Form->Show();
        ProcessEvents();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    // The focused editor holding "abc def" with the caret at its start.
    TCustomEdit* MakeEditor(Host where) {
        TCustomEdit* ed = nullptr;
        if (where == Host::GridEditor) {
            auto* grid = new TStringGrid(Form);
            grid->SetParent(Form);
            grid->SetBounds(10, 10, 280, 150);
            grid->SetOptions(grid->Options() << goEditing);
            grid->SetCells(1, 1, "abc def");
            grid->SetFocus();
            Press(grid, Key::F(2));
            ed = grid->InplaceEditor();
        } else {
            ed = where == Host::MaskEdit ? new TMaskEdit(Form) : static_cast<TCustomEdit*>(new TEdit(Form));
            ed->SetParent(Form);
            ed->SetBounds(10, 10, 150, 21);
            ed->SetText("abc def");
            ed->SetFocus();
        }
        ProcessEvents();
        Press(ed, Key::Home);
        return ed;
    }
    TForm* Form = nullptr;
};

TEST_P(DeleteKey, IsAKeyAndTypesNoCharacter) {
    const DeleteCase& c = GetParam();
    TCustomEdit* ed = MakeEditor(c.Where);
    ASSERT_NE(ed, nullptr);
    ASSERT_TRUE(ed->Focused());
    std::vector<WORD> downs;
    std::string typed;
    ed->OnKeyDown = [&](TObject*, WORD& k, TShiftState) { downs.push_back(k); };
    ed->OnKeyPress = [&](TObject*, char& ch) { typed += ch; };
    PressToFocus(Key::Delete, c.Mods);
    EXPECT_EQ(downs, std::vector<WORD>{VK_DELETE});
    EXPECT_EQ(typed, "");
    EXPECT_EQ(ed->Text().find('\x7f'), std::string::npos) << ed->Text();
    if (c.DeletesNext)
        EXPECT_EQ(ed->Text().substr(0, 1), c.Mods & Ctrl ? "d" : "b");
    else
        EXPECT_EQ(ed->Text(), "abc def");
}

INSTANTIATE_TEST_SUITE_P(Keys, DeleteKey, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<DeleteCase>& i) {
                             return std::string(i.param.Name);
                         });

} // namespace
