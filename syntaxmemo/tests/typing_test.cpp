// The editor control takes typed characters through the user's path (the input kit's real key
// events): codes 32..255 become text; control codes never do, whether Ctrl+letter gives one or an
// editing key (Delete gives DEL on the X11 desktop) brings one along.
#include <gtest/gtest.h>

#include <iterator>
#include <random>

#include "UnitSyntaxMemo.h"
#include "forms.h"
#include "inputkit.h"

namespace {

using namespace inputkit;

class Typing : public testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 420, 260);
        Memo = new TMPSyntaxMemo(Form);
        Memo->SetParent(Form);
        Memo->SetAlign(alClient);
        Form->Show();
        ProcessEvents();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    std::string Text() const {
        std::string out;
        for (int i = 0; i < Memo->Lines()->Count(); ++i)
            out += (i ? "|" : "") + Memo->Lines()->Get(i);
        return out;
    }

    TForm* Form = nullptr;
    TMPSyntaxMemo* Memo = nullptr;
};

struct KeyCase {
    const char* name;
    int key;
    TMods mods;
    const char* after; // the text "abc" with the caret after "a" becomes this
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }

const KeyCase kKeys[] = {
    {"CtrlA", 'A', Ctrl, "abc"},
    {"CtrlB", 'B', Ctrl, "abc"},
    {"CtrlQ", 'Q', Ctrl, "abc"},
    {"CtrlShiftS", 'S', Ctrl | Shift, "abc"},
    {"Escape", Key::Escape, None, "abc"},
    {"Delete", Key::Delete, None, "ac"},
    {"ShiftDelete", Key::Delete, Shift, "ac"},
    {"CtrlDelete", Key::Delete, Ctrl, "ac"},
    {"Backspace", Key::Backspace, None, "bc"},
    {"CtrlBackspace", Key::Backspace, Ctrl, "bc"},
    {"Letter", 'Q', None, "aqbc"},
    {"Space", Key::Space, None, "a bc"},
};

class TypingKeys : public Typing, public testing::WithParamInterface<KeyCase> {};

TEST_P(TypingKeys, OnlyCharactersFrom32UpBecomeText) {
    const KeyCase& c = GetParam();
    Type(Memo, "abc");
    Press(Memo, Key::Home);
    Press(Memo, Key::Right);
    Press(Memo, c.key, c.mods);
    EXPECT_EQ(Text(), c.after);
}

INSTANTIATE_TEST_SUITE_P(Table, TypingKeys, testing::ValuesIn(kKeys),
                         [](const testing::TestParamInfo<KeyCase>& i) { return std::string(i.param.name); });

TEST_F(Typing, DeletingASelectionLeavesNoBox) {
    Type(Memo, "push 1");
    Press(Memo, Key::Home);
    Press(Memo, Key::End, Shift);
    Press(Memo, Key::Delete);
    EXPECT_EQ(Text(), "");
    Type(Memo, "\xE6\xFF"); // Cyrillic letters are characters too
    EXPECT_EQ(Text(), "\xE6\xFF");
}

// The caret keeps its column on the empty line below a longer one; a selection from there deletes
// without bringing blanks in.
TEST_F(Typing, SelectionFromTheBlankPastTheEndDeletesWithoutBlanks) {
    Type(Memo, "ab");
    Press(Memo, Key::Return);
    Press(Memo, Key::Return);
    Type(Memo, "xy");
    Press(Memo, Key::Up);
    Press(Memo, Key::Up);
    Press(Memo, Key::End);
    Press(Memo, Key::Down);
    Press(Memo, Key::Down, Shift);
    Press(Memo, Key::Left, Shift);
    Press(Memo, Key::Delete);
    EXPECT_EQ(Text(), "ab|y");
}

// Enter before a word cuts the blank left at the end of the line above; the undo of the Enter
// gives the blank back, so the words stay apart.
struct SplitCase {
    const char* name;
    std::string typed; // "\t" is the Tab key
    int lefts;         // the caret goes this many places left before Enter
    const char* undone;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

const SplitCase kSplits[] = {
    {"AfterTab", "nij\txa", 2, "nij xa"},
    {"AfterSpace", "LD A", 1, "LD A"},
    {"AfterTwoSpaces", "LD  A", 1, "LD  A"},
};

class UndoSplit : public Typing, public testing::WithParamInterface<SplitCase> {};

TEST_P(UndoSplit, GivesTheBlankBack) {
    const SplitCase& c = GetParam();
    for (char ch : c.typed)
        if (ch == '\t')
            Press(Memo, Key::Tab);
        else
            Type(Memo, std::string(1, ch));
    for (int i = 0; i < c.lefts; ++i)
        Press(Memo, Key::Left);
    Press(Memo, Key::Return);
    Press(Memo, 'Z', Ctrl);
    EXPECT_EQ(Text(), c.undone);
}

INSTANTIATE_TEST_SUITE_P(Table, UndoSplit, testing::ValuesIn(kSplits),
                         [](const testing::TestParamInfo<SplitCase>& i) {
                             return std::string(i.param.name);
                         });

// A user's random editing keys, then Ctrl+Z until nothing is left to undo: the text is back, but
// for blanks at the ends of lines.
class UndoEveryKey : public Typing, public testing::WithParamInterface<unsigned> {};

TEST_P(UndoEveryKey, GivesTheTextBack) {
    std::string original = "LD A\r\n  push 1\r\nend";
    TStringStream s(original);
    Memo->Lines()->LoadFromStream(&s);
    const int keys[] = {Key::Return, Key::Tab,  Key::Backspace, Key::Delete, Key::Left, Key::Right,
                        Key::Up,     Key::Down, Key::Home,      Key::End,    'A',       Key::Space};
    std::mt19937 rng(GetParam());
    for (int step = 0; step < 150; ++step)
        Press(Memo, keys[rng() % std::size(keys)]);
    ASSERT_TRUE(Memo->Range()->CanUndo());
    while (Memo->Range()->CanUndo())
        Press(Memo, 'Z', Ctrl);
    std::string back = Text();
    for (size_t p; (p = back.find(" |")) != std::string::npos;)
        back.erase(p, 1);
    while (!back.empty() && back.back() == ' ')
        back.pop_back();
    EXPECT_EQ(back, "LD A|  push 1|end");
}

INSTANTIATE_TEST_SUITE_P(Seeds, UndoEveryKey, testing::Values(1u, 2u, 3u));

} // namespace
