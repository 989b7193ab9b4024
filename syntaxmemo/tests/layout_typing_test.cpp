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

// Ctrl+Shift+digit gives the digit's shifted character as its key code on the desktop; the
// editor sets the bookmark of that digit, and Ctrl+digit comes back to it.
struct BookmarkCase {
    const char* Name;
    int ShiftedKey; // the key code of Ctrl+Shift+digit on the US layout
    int Digit;
};

void PrintTo(const BookmarkCase& c, std::ostream* os) { *os << c.Name; }

const BookmarkCase kBookmarks[] = {
    {"Bookmark1", '!', '1'}, {"Bookmark2", '@', '2'}, {"Bookmark3", '#', '3'}, {"Bookmark4", '$', '4'},
    {"Bookmark5", '%', '5'}, {"Bookmark6", '^', '6'}, {"Bookmark7", '&', '7'}, {"Bookmark8", '*', '8'},
    {"Bookmark9", '(', '9'}, {"Bookmark0", ')', '0'},
};

class ShiftedDigitBookmarks : public testing::TestWithParam<BookmarkCase> {
protected:
    void SetUp() override {
        Application->Initialize();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 420, 260);
        Memo = new TMPSyntaxMemo(Form);
        Memo->SetParent(Form);
        Memo->SetAlign(alClient);
        Form->Show();
        Memo->SetFocus();
        ProcessEvents();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    TForm* Form = nullptr;
    TMPSyntaxMemo* Memo = nullptr;
};

TEST_P(ShiftedDigitBookmarks, SetTheDigitsBookmark) {
    const BookmarkCase& c = GetParam();
    for (const char* line : {"one", "two", "three"}) {
        Type(Memo, line);
        Press(Memo, Key::Return);
    }
    Press(Memo, Key::Up);
    Press(Memo, Key::Up);
    Press(Memo, c.ShiftedKey, Ctrl | Shift);
    EXPECT_EQ(Memo->Lines()->Text(), "one\r\ntwo\r\nthree\r\n\r\n");
    Press(Memo, Key::Down);
    Press(Memo, Key::Down);
    ASSERT_EQ(Memo->Range()->GetPosY(), 3);
    Press(Memo, c.Digit, Ctrl);
    EXPECT_EQ(Memo->Range()->GetPosY(), 1);
}

INSTANTIATE_TEST_SUITE_P(Digits, ShiftedDigitBookmarks, testing::ValuesIn(kBookmarks),
                         [](const testing::TestParamInfo<BookmarkCase>& i) {
                             return std::string(i.param.Name);
                         });

} // namespace
