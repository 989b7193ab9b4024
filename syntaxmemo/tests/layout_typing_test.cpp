// Every printable character of the US and the Russian layout, typed as the desktop sends it (the
// key code, Shift, text and place of its key), reads back as typed, with the caret after it, in the
// script editor, a single-line edit and a grid's cell editor: no character acts as a command key.
#include <gtest/gtest.h>

#include <string>

#include "UnitSyntaxMemo.h"
#include "forms.h"
#include "grids.h"
#include "inputkit.h"
#include "stdctrls.h"

namespace {

using namespace inputkit;

// What a control holds after typing and where its caret stands, in characters.
struct TTyped {
    std::string Text;
    int Caret = -1;
};

enum TTarget { ScriptEditor, SingleLineEdit, GridCell };

struct LayoutCase {
    const char* Name;
    TLayout Layout;
    const char* Chars;
};

const LayoutCase kLayouts[] = {
    {"UsPunctuation", TLayout::Us, " !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~"},
    {"UsLettersAndDigits", TLayout::Us, "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"},
    {"RussianPunctuation", TLayout::Russian, " !\"№;%:?*()-_=+\\/.,"},
    {"RussianLetters", TLayout::Russian,
     "ёйцукенгшщзхъфывапролджэячсмитьбюЁЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮ0123456789"},
};

const struct {
    const char* Name;
    TTarget Target;
} kTargets[] = {{"ScriptEditor", ScriptEditor}, {"SingleLineEdit", SingleLineEdit}, {"GridCell", GridCell}};

class LayoutTyping : public testing::TestWithParam<std::tuple<int, int>> {
protected:
    void SetUp() override {
        Application->Initialize();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 900, 300);
        Form->Show();
        ProcessEvents();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }

    TTyped TypeInto(TTarget t, const std::string& chars, TLayout layout) {
        switch (t) {
        case ScriptEditor: {
            auto* memo = new TMPSyntaxMemo(Form);
            memo->SetParent(Form);
            memo->SetBounds(0, 0, 880, 200);
            memo->SetFocus();
            Type(memo, chars, layout);
            return {memo->Lines()->Text(), memo->Range()->GetPosY() == 0 ? memo->Range()->GetPosX() : -1};
        }
        case SingleLineEdit: {
            auto* edit = new TEdit(Form);
            edit->SetParent(Form);
            edit->SetBounds(0, 0, 880, 21);
            edit->SetFocus();
            Type(edit, chars, layout);
            return {edit->Text(), edit->SelStart()};
        }
        case GridCell: {
            auto* grid = new TStringGrid(Form);
            grid->SetParent(Form);
            grid->SetBounds(0, 0, 880, 200);
            grid->SetDefaultColWidth(800);
            grid->SetOptions(grid->Options() << goEditing);
            grid->SetFocus();
            Press(grid, Key::F(2));
            TypeToFocus(chars, layout);
            TInplaceEdit* ed = grid->InplaceEditor();
            return {grid->Cells(grid->Col(), grid->Row()), ed ? ed->SelStart() : -1};
        }
        }
        return {};
    }

    TForm* Form = nullptr;
};

TEST_P(LayoutTyping, ReadsBackWhatWasTyped) {
    const LayoutCase& l = kLayouts[std::get<0>(GetParam())];
    const TTyped typed = TypeInto(kTargets[std::get<1>(GetParam())].Target, l.Chars, l.Layout);
    std::string text = typed.Text;
    // A memo's text ends its last line.
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    EXPECT_EQ(text, l.Chars);
    EXPECT_EQ(typed.Caret, int(std::string(l.Chars).size()));
}

INSTANTIATE_TEST_SUITE_P(Layouts, LayoutTyping,
                         testing::Combine(testing::Range(0, int(std::size(kLayouts))),
                                          testing::Range(0, int(std::size(kTargets)))),
                         [](const testing::TestParamInfo<std::tuple<int, int>>& i) {
                             return std::string(kLayouts[std::get<0>(i.param)].Name) + "Into" +
                                    kTargets[std::get<1>(i.param)].Name;
                         });

} // namespace
