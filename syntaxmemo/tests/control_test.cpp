// The editor control on a form, offscreen: metrics, keys and mouse through the message path,
// scrolling, and the pixels of one painted row. Input goes in through the input kit, the way a
// user's keys and clicks arrive; pictures come from the screen kit.
#include <gtest/gtest.h>

#include <chrono>
#include <algorithm>
#include <functional>
#include <memory>
#include <thread>

#include "UnitSyntaxMemo.h"
#include "clipbrd.h"
#include "forms.h"
#include "graphics.h"
#include "inputkit.h"
#include "screenkit.h"
#include "winapi.h"

namespace {

namespace Key = inputkit::Key;
using inputkit::TMods;

bool WaitFor(const std::function<bool()>& done, int ms = 2000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done() && std::chrono::steady_clock::now() < end) {
        inputkit::ProcessEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return done();
}

// A click near the bottom of a vertical scroll bar: its down arrow.
void ClickDownArrow(TScrollBar* bar) { inputkit::Click(bar, bar->Width() / 2, bar->Height() - 4); }

class Editor : public testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 420, 260);
        Memo = new TMPSyntaxMemo(Form);
        Memo->SetParent(Form);
        Memo->SetAlign(alClient);
        TFont f;
        f.SetName("Courier New");
        f.SetHeight(-16);
        Memo->SetFont(&f);
        Memo->SetGutterWidth(1);
        Memo->SetShowRowNumbers(true);
        Form->Show();
        inputkit::ProcessEvents();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    void Load(const std::string& text) {
        TStringStream s(text);
        Memo->Lines()->LoadFromStream(&s);
    }
    std::string Text() const {
        std::string out;
        for (int i = 0; i < Memo->Lines()->Count(); ++i)
            out += (i ? "|" : "") + Memo->Lines()->Get(i);
        return out;
    }
    void Key(int key, TMods mods = inputkit::None) { inputkit::Press(Memo, key, mods); }
    void Key(int key, TMods mods, const std::string& text) { inputkit::Press(Memo, key, mods, text); }
    // Wheel notches over the text (negative: towards the user).
    void Wheel(int notches, TMods mods = inputkit::None) { inputkit::Wheel(Memo, 50, 20, notches, mods); }
    // The client area freshly painted, once the queued events are delivered.
    std::unique_ptr<TBitmap> Painted() {
        inputkit::ProcessEvents();
        auto b = std::make_unique<TBitmap>();
        screenkit::Client(Memo, *b);
        return b;
    }
    TPoint Caret() const { return {Memo->Range()->GetPosX(), Memo->Range()->GetPosY()}; }
    // Client point of column c on line l (that line in view).
    TPoint At(int c, int l) const {
        TPoint p = Memo->TextToClient(Memo->TextX(c, l), Memo->RowOfLine(l));
        return {p.x + 1, p.y + Memo->LineHeight() / 2};
    }

    TForm* Form = nullptr;
    TMPSyntaxMemo* Memo = nullptr;
};

TEST_F(Editor, RowHeightComesFromTheFontAndRowNumbersWidenTheGutter) {
    EXPECT_EQ(Memo->LineHeight(), 19);
    EXPECT_EQ(Memo->VisibleRows(), (Memo->ClientHeight() - Memo->HorzScrollBar()->Height()) / 19);
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += "x\r\n";
    Load(text);
    const int with = Memo->GutterRect(-1).Right;
    Memo->SetShowRowNumbers(false);
    const int without = Memo->GutterRect(-1).Right;
    EXPECT_EQ(with - without, 4 * Memo->CharWidth('0', true) + 4);
    Memo->SetShowRowNumbers(true);
    Memo->SetOptions(TMPSynMemoOptions{smoVSNET_SectionsStyle});
    EXPECT_EQ(Memo->GutterRect(-1).Right, 1 + 16 + 2);
    EXPECT_EQ(Memo->TextX(3, 0), 3 * Memo->CharWidth(' ', false));
}

TEST_F(Editor, CharacterWidthsFollowEachFontChange) {
    TBitmap b;
    b.SetSize(1, 1);
    TCanvas* c = b.Canvas();
    for (int height : {-16, -24, -11}) {
        Memo->Font()->SetHeight(height);
        c->SetFont(Memo->Font());
        c->Font()->SetStyle(TFontStyles{fsBold});
        const int bold = c->TextWidth("W");
        c->Font()->SetStyle(TFontStyles());
        EXPECT_EQ(Memo->CharWidth('W', false), c->TextWidth("W")) << height;
        EXPECT_EQ(Memo->CharWidth('W', true), bold) << height;
        EXPECT_EQ(Memo->TextX(2, 0), 2 * c->TextWidth(" ")) << height;
    }
}

struct KeyCase {
    const char* Name;
    const char* Text;
    int X, Y;
    int Key;
    TMods Mods;
    const char* After; // text afterwards
    int CaretX, CaretY;
    const char* Selected;
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.Name; }

const TMods None = inputkit::None;
const TMods Ctrl = inputkit::Ctrl;
const TMods Shift = inputkit::Shift;
const TMods CtrlShift = inputkit::Ctrl | inputkit::Shift;

const KeyCase KeyCases[] = {
    {"RightPassesTheEnd", "ab", 2, 0, Key::Right, None, "ab", 3, 0, ""},
    {"LeftStopsAtZero", "ab", 0, 0, Key::Left, None, "ab", 0, 0, ""},
    {"CtrlRightFromBlanksBeforeFirstToken", "  ab cd", 0, 0, Key::Right, Ctrl, "  ab cd", 5, 0, ""},
    {"CtrlRightPastLastTokenToNextLine", "ab\r\n  cd", 2, 0, Key::Right, Ctrl, "ab|  cd", 2, 1, ""},
    {"CtrlLeftToPreviousToken", "ab cd ef", 6, 0, Key::Left, Ctrl, "ab cd ef", 3, 0, ""},
    {"CtrlLeftFromTheBlankAfterTheFirstToken", "ab cd", 2, 0, Key::Left, Ctrl, "ab cd", 0, 0, ""},
    {"CtrlLeftAtLineStartToEndOfLineAbove", "ab cd\r\nef", 0, 1, Key::Left, Ctrl, "ab cd|ef", 5, 0, ""},
    {"CtrlLeftInsideToken", "ab cdef", 5, 0, Key::Left, Ctrl, "ab cdef", 3, 0, ""},
    {"ShiftRightSelects", "abc", 0, 0, Key::Right, Shift, "abc", 1, 0, "a"},
    {"ShiftCtrlRightSelectsWord", "ab cd", 0, 0, Key::Right, CtrlShift, "ab cd", 3, 0, "ab "},
    {"DownStepsOverFold", "a\r\n{<-}b\r\nc\r\n{>>}d\r\ne", 0, 1, Key::Down, None, "a|b|c|d|e", 0, 4, ""},
    {"ShiftDownSelectsLine", "ab\r\ncd", 1, 0, Key::Down, Shift, "ab|cd", 1, 1, "b\r\nc"},
    {"HomeAndEnd", "abc", 1, 0, Key::End, None, "abc", 3, 0, ""},
    {"CtrlEnd", "a\r\nbcd", 0, 0, Key::End, Ctrl, "a|bcd", 3, 1, ""},
    {"CtrlHome", "a\r\nbcd", 2, 1, Key::Home, Ctrl, "a|bcd", 0, 0, ""},
    {"ShiftEndSelects", "abc", 1, 0, Key::End, Shift, "abc", 3, 0, "bc"},
    {"TabAtColumnFive", "abcde", 5, 0, Key::Tab, None, "abcde   ", 8, 0, ""},
    {"TabAtColumnEight", "abcdefgh", 8, 0, Key::Tab, None, "abcdefgh    ", 12, 0, ""},
    {"BackspaceInsideLine", "abc", 2, 0, Key::Backspace, None, "ac", 1, 0, ""},
    {"BackspaceJoinsLineAbove", "ab\r\ncd", 0, 1, Key::Backspace, None, "abcd", 2, 0, ""},
    {"BackspaceAtTextStartDoesNothing", "ab\r\ncd", 0, 0, Key::Backspace, None, "ab|cd", 0, 0, ""},
    {"BackspaceBelowFoldDoesNothing", "{<-}a\r\n{>>}b\r\ncd", 0, 2, Key::Backspace, None, "a|b|cd", 0, 2, ""},
    {"BackspacePastTheEndOnlyMoves", "ab\r\ncd", 5, 0, Key::Backspace, None, "ab|cd", 4, 0, ""},
    {"DeleteJoins", "ab\r\ncd", 2, 0, Key::Delete, None, "abcd", 2, 0, ""},
    {"ReturnSplits", "abcd", 2, 0, Key::Return, None, "ab|cd", 0, 1, ""},
    {"F5MakesASection", "ab\r\ncd", 1, 0, Key::F(5), None, "ab||cd", 0, 0, ""},
};

class EditorKeys : public Editor, public testing::WithParamInterface<KeyCase> {};

TEST_P(EditorKeys, MoveAndEdit) {
    const KeyCase& c = GetParam();
    Load(c.Text);
    Memo->Range()->SetPos({c.X, c.Y});
    Key(c.Key, c.Mods);
    EXPECT_EQ(Text(), c.After);
    EXPECT_EQ(Caret(), TPoint(c.CaretX, c.CaretY));
    EXPECT_EQ(Memo->Range()->GetText(), c.Selected);
}

INSTANTIATE_TEST_SUITE_P(Table, EditorKeys, testing::ValuesIn(KeyCases),
                         [](const testing::TestParamInfo<KeyCase>& i) { return std::string(i.param.Name); });

// ---- the key table: every row's keys, pressed as a user does, do what the row's handler does ----

// An editor that notes the keys its KeyDown gets, as the message path delivers them.
class TNotingMemo : public TMPSyntaxMemo {
public:
    using TMPSyntaxMemo::TMPSyntaxMemo;
    std::vector<std::pair<WORD, TShiftState>> Downs;

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override {
        Downs.emplace_back(Key, Shift);
        TMPSyntaxMemo::KeyDown(Key, Shift);
    }
};

struct KeyRowCase {
    size_t Row;
    WORD Key; // the row's first or last key
};

void PrintTo(const KeyRowCase& c, std::ostream* os) {
    *os << TMPCustomSyntaxMemo::KeyTable()[c.Row].Name << "_" << c.Key;
}

std::vector<KeyRowCase> KeyRowCases() {
    std::vector<KeyRowCase> cases;
    const auto& table = TMPCustomSyntaxMemo::KeyTable();
    for (size_t i = 0; i < table.size(); ++i) {
        cases.push_back({i, table[i].First});
        if (table[i].Last != table[i].First)
            cases.push_back({i, table[i].Last});
    }
    return cases;
}

class KeyTableEditor : public Editor {
protected:
    // An editor whose outer section (collapsed or not) holds a collapsed one, the caret on the
    // outer section's first line with a selection, an edit to undo and bookmarks 0 and 9 further
    // down: a state that every row's key changes in one of its two forms.
    TNotingMemo* Make(bool Collapsed) {
        auto* m = new TNotingMemo(Form);
        m->SetParent(Form);
        m->SetBounds(0, 0, 420, 260);
        TStringStream s(std::string("alpha beta\r\n") + (Collapsed ? "{<-}" : "{<+}") +
                        "gamma\r\n{<-}delta\r\n{>>}eps\r\n{>>}zeta\r\neta");
        m->Lines()->LoadFromStream(&s);
        m->Range()->SetPos({0, 5});
        m->Range()->SetText("q");
        m->Range()->Select({1, 1}, {3, 1});
        m->Bookmarks()->SetBookMarks(0, 4);
        m->Bookmarks()->SetBookMarks(9, 5);
        return m;
    }
    static std::string State(TMPCustomSyntaxMemo* m) {
        std::string s;
        for (int i = 0; i < m->Lines()->Count(); ++i) {
            const TMPSynMemoSection* sec = m->Sections()->SectionOfLine(i);
            s += m->Lines()->Get(i) + (sec && sec->Collapsed ? "[-]" : "") + "|";
        }
        s += " caret " + std::to_string(m->Range()->GetPosX()) + "," + std::to_string(m->Range()->GetPosY());
        s += " selected '" + m->Range()->GetText() + "'";
        s += m->Options().Contains(smoOverwrite) ? " overwrite" : "";
        s += " top " + std::to_string(m->TopRow());
        s += m->ShowHint() ? " hint" : "";
        s += " clipboard '" + Clipboard()->AsText() + "'";
        for (int d = 0; d < 10; ++d)
            s += " " + std::to_string(m->Bookmarks()->GetBookMarks(d));
        return s;
    }
};

class EditorKeyTable : public KeyTableEditor, public testing::WithParamInterface<KeyRowCase> {};

// The key goes in as a user's press with the modifiers the row needs; the control's KeyDown gets
// the row's key, the first row that takes it is this one, OnKeyDown never sees it, and the editor
// ends as a twin does when the row's handler runs on it directly.
TEST_P(EditorKeyTable, EveryKeyDoesWhatItsRowSays) {
    const KeyRowCase& c = GetParam();
    const auto& table = TMPCustomSyntaxMemo::KeyTable();
    const TMPCustomSyntaxMemo::TKeyRow& row = table[c.Row];
    TMods mods = row.Needs == TMPCustomSyntaxMemo::TKeyNeeds::Any ? None : Ctrl;
    const int key = inputkit::KeyOfVirtualKey(c.Key, mods);
    ASSERT_NE(key, 0);
    bool changed = false;
    for (bool collapsed : {false, true}) {
        SCOPED_TRACE(collapsed ? "collapsed" : "expanded");
        std::unique_ptr<TNotingMemo> a(Make(collapsed)), b(Make(collapsed));
        int leaked = 0;
        a->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++leaked; };
        Clipboard()->SetAsText("pasted");
        const std::string before = State(a.get());
        inputkit::KeyDown(a.get(), key, mods);
        const std::string pressed = State(a.get());
        ASSERT_EQ(a->Downs.size(), 1u);
        const auto [vk, shift] = a->Downs[0];
        EXPECT_EQ(vk, c.Key);
        const auto first =
            std::find_if(table.begin(), table.end(), [&](const auto& r) { return r.Takes(vk, shift); });
        EXPECT_EQ(first - table.begin(), std::ptrdiff_t(c.Row));
        EXPECT_EQ(leaked, 0);
        Clipboard()->SetAsText("pasted");
        (b.get()->*row.Run)(vk, shift);
        EXPECT_EQ(pressed, State(b.get()));
        changed |= pressed != before;
        inputkit::KeyUp(a.get(), key, mods);
    }
    EXPECT_TRUE(changed) << "the key changes nothing in either state";
}

// A row that needs Ctrl leaves the key without it to the control; one that needs Ctrl alone, the
// key with Ctrl and Shift too.
TEST_F(KeyTableEditor, KeysWithoutTheirModifiersGoOnToOnKeyDown) {
    for (const KeyRowCase& c : KeyRowCases()) {
        const TMPCustomSyntaxMemo::TKeyRow& row = TMPCustomSyntaxMemo::KeyTable()[c.Row];
        std::vector<TMods> without;
        if (row.Needs != TMPCustomSyntaxMemo::TKeyNeeds::Any)
            without.push_back(None);
        if (row.Needs == TMPCustomSyntaxMemo::TKeyNeeds::CtrlAlone)
            without.push_back(CtrlShift);
        for (TMods m : without) {
            SCOPED_TRACE(std::string(row.Name) + " " + std::to_string(c.Key) + " modifiers " +
                         std::to_string(m));
            std::unique_ptr<TNotingMemo> a(Make(false));
            std::vector<WORD> seen;
            a->OnKeyDown = [&](TObject*, WORD& k, TShiftState) { seen.push_back(k); };
            TMods mods = m;
            const int key = inputkit::KeyOfVirtualKey(c.Key, mods);
            inputkit::Press(a.get(), key, mods);
            EXPECT_EQ(seen, std::vector<WORD>{c.Key});
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, EditorKeyTable, testing::ValuesIn(KeyRowCases()),
                         [](const testing::TestParamInfo<KeyRowCase>& i) {
                             return std::string(TMPCustomSyntaxMemo::KeyTable()[i.param.Row].Name) + "_" +
                                    std::to_string(i.param.Key);
                         });

TEST_F(Editor, CharactersUndoAndReadOnly) {
    Load("");
    Key('A');
    Key(0x0416, None, "\xE6"); // Cyrillic zhe
    EXPECT_EQ(Text(), "a\xE6");
    Key('Z', Ctrl);
    EXPECT_EQ(Text(), "a");
    Memo->SetOptions(TMPSynMemoOptions{smoReadOnly});
    Key('B');
    Key(Key::Return);
    Key(Key::Delete);
    EXPECT_EQ(Text(), "a");
    Memo->SetOptions(TMPSynMemoOptions());
    Key(Key::Insert);
    EXPECT_TRUE(Memo->Options().Contains(smoOverwrite));
    Memo->Range()->SetPos({0, 0});
    Key('C');
    EXPECT_EQ(Text(), "c");
}

TEST_F(Editor, CopyAndPasteKeysCarrySectionsThroughTheClipboard) {
    Load("p\r\n{<-}a\r\nb\r\n{>>}c\r\nq");
    Memo->Range()->Select({0, 1}, {0, 4});
    Key('C', Ctrl);
    EXPECT_EQ(Clipboard()->AsText(), "a\r\nb\r\nc\r\n");
    Memo->Range()->Collapse();
    Key('V', Ctrl);
    EXPECT_EQ(Text(), "p|a|b|c|a|b|c|q");
    EXPECT_TRUE(Memo->Sections()->SectionOfLine(4)->Collapsed);
    EXPECT_EQ(Memo->Sections()->SectionOfLine(4)->FirstLine, 4);
    // Text copied by someone else is pasted as it is.
    Clipboard()->SetAsText("x");
    Key('V', Ctrl);
    EXPECT_EQ(Text(), "p|a|b|c|a|b|c|xq");
}

// The marked form travels in the editor's private format beside the plain text: a second editor
// gets the sections back, any other reader (and writer) deals in the plain text alone.
TEST_F(Editor, SectionsReachASecondEditorInThePrivateFormat) {
    Load("p\r\n{<-}a\r\nb\r\n{>>}c\r\nq");
    Memo->Range()->Select({0, 1}, {0, 4});
    Key('C', Ctrl);
    const UINT marked = TMPPlatformClipboard::MarkedFormat();
    EXPECT_GE(marked, 0xC000u);
    EXPECT_TRUE(Clipboard()->HasFormat(marked));
    EXPECT_EQ(screenkit::DesktopClipboardText(), "a\r\nb\r\nc\r\n");
    const std::string bytes = Clipboard()->GetBuffer(marked);
    EXPECT_EQ(bytes.substr(0, 5), "{<-}a");
    EXPECT_EQ(bytes.back(), '\0');

    auto* second = new TMPSyntaxMemo(Form);
    second->SetParent(Form);
    second->SetBounds(0, 0, 200, 100);
    TStringStream s("x");
    second->Lines()->LoadFromStream(&s);
    inputkit::Press(second, 'V', Ctrl);
    ASSERT_EQ(second->Lines()->Count(), 4);
    EXPECT_EQ(second->Lines()->Get(3), "x");
    const TMPSynMemoSection* sec = second->Sections()->SectionOfLine(0);
    ASSERT_NE(sec, nullptr);
    EXPECT_TRUE(sec->Collapsed);
    EXPECT_EQ(sec->FirstLine, 0);
    EXPECT_EQ(sec->LastLine, 2);

    // Another program copies: only its text is there, and it is pasted as it is.
    screenkit::DesktopCopies("y{<-}");
    EXPECT_FALSE(Clipboard()->HasFormat(marked));
    Memo->Range()->Select({0, 0}, {0, 0});
    Key('V', Ctrl);
    EXPECT_EQ(Memo->Lines()->Get(0), "y{<-}p") << Text();
    // Copying without sections leaves the private format out.
    Memo->SetOptions(TMPSynMemoOptions{smoSkipSectionsOnCopy});
    Memo->Range()->Select({0, 2}, {0, 3});
    Key('C', Ctrl);
    EXPECT_FALSE(Clipboard()->HasFormat(marked));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
}

TEST_F(Editor, OnKeyDownOnlyForKeysTheEditorLeaves) {
    Load("ab");
    std::vector<WORD> seen;
    Memo->OnKeyDown = [&](TObject*, WORD& k, TShiftState) { seen.push_back(k); };
    Key(Key::Left);
    Key(Key::Down);
    Key('A');
    Key('5');
    EXPECT_EQ(seen, (std::vector<WORD>{'A', '5'}));
}

TEST_F(Editor, BookmarkKeysToggleAndJump) {
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "line" + std::to_string(i) + "\r\n";
    Load(text);
    Memo->Range()->SetPos({0, 40});
    Key('3', CtrlShift);
    EXPECT_EQ(Memo->Bookmarks()->GetBookMarks(3), 40);
    Memo->Range()->SetPos({2, 0});
    Key('4', Ctrl);
    EXPECT_EQ(Caret(), TPoint(2, 0));
    Key('3', Ctrl);
    EXPECT_EQ(Caret(), TPoint(0, 40));
    EXPECT_EQ(Memo->TopRow(), 38);
    Key('3', CtrlShift);
    EXPECT_EQ(Memo->Bookmarks()->GetBookMarks(3), -1);
}

TEST_F(Editor, ClickDragDoubleClickAndFoldBox) {
    Load("alpha beta\r\n{<+}gamma\r\ndelta\r\n{>>}eps\r\nlast");
    const TPoint p = At(2, 0);
    inputkit::MouseDown(Memo, p.x, p.y);
    EXPECT_EQ(Caret(), TPoint(2, 0));
    const TPoint q = At(3, 2);
    inputkit::MouseMove(Memo, q.x, q.y, inputkit::Left);
    inputkit::MouseUp(Memo, q.x, q.y);
    EXPECT_EQ(Memo->Range()->GetText(), "pha beta\r\ngamma\r\ndel");
    const TPoint w = At(7, 0);
    inputkit::DoubleClick(Memo, w.x, w.y);
    EXPECT_EQ(Memo->Range()->GetText(), "beta");
    const TRect box = Memo->FoldBox(1, 1);
    inputkit::Click(Memo, box.Left + 4, box.Top + 4);
    EXPECT_TRUE(Memo->Sections()->SectionOfLine(1)->Collapsed);
    EXPECT_EQ(Memo->RowOfLine(4), 2);
}

// Ctrl+double-click selects every line of the section under the point, unfolding it; a line outside
// every section is in the whole text's section.
struct CtrlDoubleClickCase {
    const char* Name;
    int Line;
    const char* Selected;
    int Unfolded; // the line starting a section that must be open afterwards, or -1
};

void PrintTo(const CtrlDoubleClickCase& c, std::ostream* os) { *os << c.Name; }

class EditorCtrlDoubleClick : public Editor, public testing::WithParamInterface<CtrlDoubleClickCase> {};

const char* const SectionsText = "top\r\n{<+}open\r\n{<+}inner\r\n{>>}x\r\n{>>}close\r\nmid\r\n"
                                 "{<-}fold\r\nin\r\n{>>}end\r\n{<+}tail\r\n{>>}last";

TEST_P(EditorCtrlDoubleClick, SelectsTheLinesOfTheSectionUnderThePoint) {
    const CtrlDoubleClickCase& c = GetParam();
    Load(SectionsText);
    const TPoint p = At(1, c.Line);
    inputkit::DoubleClick(Memo, p.x, p.y, inputkit::Left, Ctrl);
    EXPECT_EQ(Memo->Range()->GetText(), c.Selected);
    if (c.Unfolded >= 0) {
        EXPECT_FALSE(Memo->Sections()->SectionOfLine(c.Unfolded)->Collapsed);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditorCtrlDoubleClick,
    testing::Values(
        CtrlDoubleClickCase{"FirstLineOutsideEverySection", 0,
                            "top\r\nopen\r\ninner\r\nx\r\nclose\r\nmid\r\nfold\r\nin\r\nend\r\ntail\r\nlast",
                            -1},
        CtrlDoubleClickCase{"LineBetweenSections", 5,
                            "top\r\nopen\r\ninner\r\nx\r\nclose\r\nmid\r\nfold\r\nin\r\nend\r\ntail\r\nlast",
                            -1},
        CtrlDoubleClickCase{"OuterSection", 4, "open\r\ninner\r\nx\r\nclose\r\n", -1},
        CtrlDoubleClickCase{"NestedSection", 3, "inner\r\nx\r\n", -1},
        CtrlDoubleClickCase{"FoldedSectionUnfolds", 6, "fold\r\nin\r\nend\r\n", 6},
        CtrlDoubleClickCase{"SectionEndingTheText", 10, "tail\r\nlast", -1}),
    [](const auto& info) { return std::string(info.param.Name); });

// A left drag from the text to a point above it, the view scrolled to line 10: a point less than a
// row above the first row shown is still on it; a row above, and it is the line before.
struct DragAboveCase {
    const char* Name;
    int RowsAbove; // the point is RowsAbove rows and Extra pixels above the text
    int Extra;
    int Line;
};

void PrintTo(const DragAboveCase& c, std::ostream* os) { *os << c.Name; }

class EditorDragAbove : public Editor, public testing::WithParamInterface<DragAboveCase> {};

TEST_P(EditorDragAbove, ReachesTheLineAboveAFullRowAboveTheText) {
    const DragAboveCase& c = GetParam();
    // Below a strip of the form, so that the points above the text are on the form too.
    Memo->SetAlign(alNone);
    Memo->SetBounds(0, 60, 400, 190);
    inputkit::ProcessEvents();
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line" + std::to_string(i) + "\r\n";
    Load(text);
    Memo->SetTopRow(10);
    const TPoint from = At(2, 12);
    const int y = -c.RowsAbove * Memo->LineHeight() - c.Extra;
    inputkit::Drag(Memo, from.x, from.y, from.x, y);
    EXPECT_EQ(Memo->Range()->GetPosY(), c.Line);
}

INSTANTIATE_TEST_SUITE_P(Cases, EditorDragAbove,
                         testing::Values(DragAboveCase{"OnePixelAbove", 0, 1, 10},
                                         DragAboveCase{"JustUnderARowAbove", 1, -1, 10},
                                         DragAboveCase{"ARowAbove", 1, 0, 9},
                                         DragAboveCase{"JustUnderTwoRowsAbove", 2, -1, 9},
                                         DragAboveCase{"TwoRowsAbove", 2, 0, 8}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(Editor, WheelScrollsOneLineWhateverTheDelta) {
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += std::string(50, 'w') + "\r\n";
    Load(text);
    Wheel(-2);
    EXPECT_EQ(Memo->TopRow(), 1);
    Wheel(-1);
    EXPECT_EQ(Memo->TopRow(), 2);
    Wheel(1);
    EXPECT_EQ(Memo->TopRow(), 1);
    Wheel(-1, Ctrl);
    EXPECT_EQ(Memo->HorzOffset(), 4);
    Wheel(1, Ctrl);
    Wheel(1, Ctrl);
    EXPECT_EQ(Memo->HorzOffset(), 0);
}

// The two bars are child controls on the right and at the bottom; the rows stop short of them.
TEST_F(Editor, ScrollBarsTakeTheirRoomAtTheRightAndBottom) {
    TScrollBar* v = Memo->VertScrollBar();
    TScrollBar* h = Memo->HorzScrollBar();
    ASSERT_EQ(v->Parent(), Memo);
    ASSERT_EQ(h->Parent(), Memo);
    const int cw = Memo->ClientWidth(), ch = Memo->ClientHeight();
    EXPECT_EQ(v->Kind(), sbVertical);
    EXPECT_EQ(h->Kind(), sbHorizontal);
    EXPECT_EQ(h->BoundsRect(), Rect(0, ch - h->Height(), cw, ch));
    EXPECT_EQ(v->BoundsRect(), Rect(cw - v->Width(), 0, cw, ch - h->Height()));
    EXPECT_GT(v->Width(), 0);
    EXPECT_GT(h->Height(), 0);
    const TRect band = Memo->RowBand(-1);
    EXPECT_EQ(band.Right, cw - v->Width() - 1);
    EXPECT_EQ(band.Bottom, ch - h->Height());
    EXPECT_EQ(Memo->VisibleRows(), (ch - h->Height()) / 19);
    // Native bars where the controls say, shown over the painted rows.
    for (TScrollBar* bar : {v, h}) {
        EXPECT_TRUE(screenkit::Shown(bar));
        EXPECT_EQ(screenkit::ShownRect(bar, Memo).TopLeft(), bar->BoundsRect().TopLeft());
    }
    Load("mov r1, r2");
    auto img = Painted();
    auto px = [&](int x, int y) { return img->Canvas()->GetPixel(x, y); };
    const TColor window = ColorToRGB(clWindow);
    const TRect T = Memo->TextAreaRect(0);
    EXPECT_EQ(px(T.Right - 1, 2), window);
    int barInk = 0; // the bars' own drawing, not the text background
    for (int y = 0; y < v->Height(); ++y)
        barInk += px(cw - v->Width() / 2, y) != window;
    for (int x = 0; x < h->Width(); ++x)
        barInk += px(x, ch - h->Height() / 2) != window;
    EXPECT_GT(barInk, (v->Height() + h->Width()) / 2);
}

// A click on a bar's arrow and the scroll messages move the view; keys and the wheel move the bars.
TEST_F(Editor, ScrollBarsMoveTheViewAndFollowIt) {
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += std::string(50, 'w') + "\r\n";
    Load(text);
    TScrollBar* v = Memo->VertScrollBar();
    TScrollBar* h = Memo->HorzScrollBar();
    const int rows = Memo->VisibleRows();
    EXPECT_EQ(v->Max(), 100 - rows + 1);
    EXPECT_EQ(h->Max(), 500 - Memo->TextAreaRect(-1).Width());
    EXPECT_EQ(v->LargeChange(), rows - 2);
    EXPECT_TRUE(v->Enabled());
    EXPECT_TRUE(h->Enabled());

    ClickDownArrow(v);
    EXPECT_EQ(Memo->TopRow(), 1);
    EXPECT_EQ(v->Position(), 1);
    struct {
        UINT Msg;
        WORD Code;
        int Top, Offset;
    } steps[] = {
        {WM_VSCROLL, SB_PAGEDOWN, 1 + rows - 2, 0}, {WM_VSCROLL, SB_LINEUP, rows - 2, 0},
        {WM_VSCROLL, SB_BOTTOM, 100 - rows + 1, 0}, {WM_VSCROLL, SB_TOP, 0, 0},
        {WM_HSCROLL, SB_PAGEDOWN, 0, 32},           {WM_HSCROLL, SB_LINEUP, 0, 31},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.Code);
        TScrollBar* to = s.Msg == WM_VSCROLL ? v : h;
        SendMessage(Memo->Handle(), s.Msg, MAKEWPARAM(s.Code, 0), LPARAM(to->Handle()));
        EXPECT_EQ(Memo->TopRow(), s.Top);
        EXPECT_EQ(Memo->HorzOffset(), s.Offset);
    }
    Key(Key::Down, Ctrl);
    EXPECT_EQ(v->Position(), 1);
    EXPECT_EQ(screenkit::ShownPosition(v), 1);
    Wheel(-1);
    EXPECT_EQ(v->Position(), 2);
    Key(Key::End, Ctrl); // the last line at the bottom row; the range leaves one row more
    EXPECT_EQ(v->Position(), v->Max() - 1);
    const int offset = Memo->HorzOffset();
    EXPECT_EQ(h->Position(), offset);
    Wheel(1, Ctrl);
    EXPECT_EQ(h->Position(), offset - 4);
    // Folded lines do not count: the bar counts visible lines.
    Load("{<-}head\r\n" + text + "{>>}end\r\n" + text);
    Memo->SetTopRow(110);
    EXPECT_EQ(v->Position(), 9);
    EXPECT_EQ(v->Max(), 101 - rows + 1);
    Load("short");
    EXPECT_FALSE(v->Enabled());
    EXPECT_FALSE(h->Enabled());
}

TEST_F(Editor, ClickingAScrollBarKeepsTheCaret) {
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line\r\n";
    Load(text);
    Memo->Range()->SetPos({0, 5});
    Memo->SetFocus();
    ASSERT_TRUE(WaitFor([&] { return Memo->CaretShown(); }));
    ClickDownArrow(Memo->VertScrollBar());
    inputkit::ProcessEvents();
    EXPECT_TRUE(Memo->Focused());
    EXPECT_EQ(Memo->TopRow(), 1);
    EXPECT_TRUE(Memo->CaretShown());
    Key(Key::Down);
    EXPECT_EQ(Caret(), TPoint(0, 6));
    // A bar given the focus hands it back to the text.
    Memo->VertScrollBar()->SetFocus();
    inputkit::ProcessEvents();
    EXPECT_TRUE(Memo->Focused());
    EXPECT_TRUE(Memo->CaretShown());
}

TEST_F(Editor, CtrlHoverFramesTheTokenAndReportsIt) {
    Load("mov r1, r2");
    std::vector<std::tuple<int, int, bool>> info;
    Memo->OnWordInfo = [&](TMPCustomSyntaxMemo*, int, int, int index, int row, bool showing) {
        info.emplace_back(index, row, showing);
    };
    // The desktop reports a modifier key's own flag flipped (the state after the event): a press
    // comes without the flag and reads as Ctrl held.
    auto down = [&] { inputkit::KeyDown(Memo, Key::Control, None); };
    auto up = [&] { inputkit::KeyUp(Memo, Key::Control, Ctrl); };
    down();
    const TPoint p = At(5, 0);
    inputkit::MouseMove(Memo, p.x, p.y, 0, Ctrl);
    EXPECT_EQ(Memo->HotToken(), TPoint(1, 0));
    up();
    EXPECT_EQ(Memo->HotToken(), TPoint(-1, -1));
    EXPECT_EQ(info, (std::vector<std::tuple<int, int, bool>>{{1, 0, true}, {-1, -1, false}}));

    // Without a handler the control's hint describes the token.
    Memo->OnWordInfo = nullptr;
    down();
    const TPoint q = At(0, 0);
    inputkit::MouseMove(Memo, q.x, q.y, 0, Ctrl);
    EXPECT_EQ(Memo->Hint(), "Word: 'mov' \r\nStart: 0\r\nLength: 3\r\nAs token #1");
    EXPECT_TRUE(Memo->ShowHint());
    up();
    EXPECT_FALSE(Memo->ShowHint());
}

// The hover hint shows in the application's hint window, whole (a '|' in the word is no hint
// separator), follows the word under the pointer and goes with the Ctrl key.
TEST_F(Editor, CtrlHoverHintShowsInTheHintWindow) {
    Load("mov r1|r2");
    Application->SetHintPause(5);
    Application->SetHintShortPause(5);
    // The mouse comes from elsewhere in the text: a move to where an earlier test left it is no move.
    const TPoint from = At(2, 0);
    inputkit::MouseMove(Memo, from.x, from.y);
    inputkit::KeyDown(Memo, Key::Control, None);
    const TPoint p = At(0, 0);
    inputkit::MouseMove(Memo, p.x, p.y, 0, Ctrl);
    ASSERT_TRUE(WaitFor([] { return Application->HintWindow() != nullptr; }));
    EXPECT_EQ(Application->HintWindow()->Caption(), "Word: 'mov' \r\nStart: 0\r\nLength: 3\r\nAs token #1");
    EXPECT_TRUE(screenkit::Shown(Application->HintWindow()));
    // Four lines of text: the window is taller than three rows of its font.
    EXPECT_GT(Application->HintWindow()->Height(), 3 * Application->HintWindow()->Canvas()->TextHeight("W"));
    const TPoint q = At(6, 0);
    inputkit::MouseMove(Memo, q.x, q.y, 0, Ctrl);
    EXPECT_TRUE(WaitFor([] {
        return Application->HintWindow() &&
               Application->HintWindow()->Caption().rfind("Word: 'r1|r2' \r\nStart: 4\r\n", 0) == 0;
    }));
    inputkit::KeyUp(Memo, Key::Control, Ctrl);
    EXPECT_EQ(Application->HintWindow(), nullptr);
    const TPoint r = At(1, 0);
    inputkit::MouseMove(Memo, r.x, r.y);
    WaitFor([] { return false; }, 30);
    EXPECT_EQ(Application->HintWindow(), nullptr); // no hover, no hint
    Application->SetHintPause(500);
    Application->SetHintShortPause(50);
}

TEST_F(Editor, RowsChangedWhileHiddenArePaintedWhenShownAgain) {
    Load("first");
    inputkit::ProcessEvents();
    Memo->SetVisible(false);
    Memo->Range()->Select({0, 0}, {5, 0});
    Memo->SetVisible(true);
    auto img = Painted();
    const TRect T = Memo->TextAreaRect(0);
    EXPECT_EQ(img->Canvas()->GetPixel(T.Left + 2, 1), TColor(0xF7CBA5));
}

TEST_F(Editor, TopRowOnAHiddenLineIsPulledToAVisibleOne) {
    std::string text = "{<-}head\r\n";
    for (int i = 0; i < 30; ++i)
        text += "in\r\n";
    text += "{>>}end\r\n";
    for (int i = 0; i < 30; ++i)
        text += "out\r\n";
    Load(text);
    Memo->SetTopRow(5);
    EXPECT_NE(Memo->VisibleIndexOf(Memo->TopRow()), -1);
}

// Each page paints only the rows it invalidates; what the window then keeps is what a full paint of
// the same view shows.
TEST_F(Editor, PagedViewShowsWhatAFullPaintShows) {
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += std::string(i % 9 == 0   ? "{<+}"
                            : i % 9 == 4 ? "{>>}"
                                         : "") +
                "push x" + std::to_string(i) + " $1F // note \xE6\r\n";
    Load(text);
    Memo->Bookmarks()->SetBookMarks(2, 30);
    Memo->Range()->Select({2, 3}, {2, 3});
    for (int p = 0; p < 8; ++p) {
        Key(p % 3 == 2 ? Key::Up : Key::PageDown, Shift);
        if (p == 4)
            Wheel(-1, Ctrl); // a few pixels to the side
        TBitmap kept;
        screenkit::OnScreen(Memo, kept);
        ASSERT_TRUE(screenkit::SamePixels(kept, *Painted())) << "page " << p;
    }
}

// One row: gutter face, row number, bookmark glyph, collapsed fold box, selection, collapsed marker.
TEST_F(Editor, PaintedRowShowsGutterMarksSelectionAndMarker) {
    Load("{<-}alpha beta\r\nin\r\n{>>}end\r\nnext");
    Memo->SetGutterWidth(16);
    Memo->Bookmarks()->SetBookMarks(1, 0);
    Memo->Range()->Select({0, 0}, {5, 0});
    auto img = Painted();
    auto px = [&](int x, int y) { return img->Canvas()->GetPixel(x, y); };
    auto qc = [](TColor c) { return ColorToRGB(c); };
    const TRect G = Memo->GutterRect(0), T = Memo->TextAreaRect(0);
    const int h = Memo->LineHeight();
    EXPECT_EQ(px(G.Left + 1, h - 2), qc(clBtnFace));
    EXPECT_EQ(px(G.Left + 2 + 1, 2 + 1), qc(clTeal)); // bookmark glyph 1
    const TRect box = Memo->FoldBox(0, 1);
    EXPECT_EQ(px(box.Left, box.Top + 1), qc(clBlack));
    EXPECT_EQ(px(box.Left + 2, box.Top + 2), qc(clWhite));
    EXPECT_EQ(px((box.Left + box.Right) / 2, box.Top + 3), qc(clBlack)); // the plus
    int numberInk = 0;
    for (int x = box.Right + 2; x < G.Right - 2; ++x)
        for (int y = 0; y < h; ++y)
            numberInk += px(x, y) == qc(clBlack);
    EXPECT_GT(numberInk, 3);
    EXPECT_EQ(px(T.Left + 2, 1), qc(TColor(0xF7CBA5)));
    EXPECT_EQ(px(T.Right - 32, T.Top + 5), qc(TColor(0xFF0000)));
    EXPECT_EQ(px(T.Right - 32 + 6, T.Top + 9), qc(TColor(0xFF0000)));
    const TRect G2 = Memo->GutterRect(4);
    EXPECT_EQ(px(G2.Left + 3, G2.Top + 3), qc(clBtnFace)); // a row below the text: no glyph
    EXPECT_EQ(px(T.Left + 2, G2.Top + 3), qc(clWindow));
}

} // namespace
