// Text model of the script editor without a widget: attributes, tokenizer, line store, sections.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "model_support.h"
#include "tempfolder.h"

namespace {

// ---- tokenizer -----------------------------------------------------------------------------------

struct ScanCase {
    const char* Name;
    const char* Line;
    int Entry;
    const char* Runs;
    int Exit;
};

void PrintTo(const ScanCase& c, std::ostream* os) { *os << c.Name; }

const ScanCase ScanCases[] = {
    {"HexAfterAssign", "x := $1F;", 1, "x/1 :=/1 $1F/4 ;/12", 1},
    {"DigitsAndWords", "a1 1a 1.5.2", 1, "a1/1 1/5 a/1 1.5/6 ./18 2/5", 1},
    {"SecondHexAndComment", "$20 x $20 // a // b", 1, "$20/4 x/1 $20/4 ///7 a/7 ///7 b/7", 7},
    {"StringOfTwoWords", "\"abc def\"", 1, "\"abc/2 def\"/3", 1},
    {"OpenBlockComment", "{ start", 1, "{/8 start/8", 8},
    {"ContinuedBlockComment", "end } x", 8, "end/8 }/9 x/1", 1},
    {"ContinuedSecondStyle", "a b*) c", 10, "a/10 b*)/11 c/1", 1},
    {"OpenedAndClosedByOneRun", "(*)", 1, "(*)/11", 1},
    {"EmptyLineKeepsEntry", "", 8, "", 8},
    {"WordBeforeComment", "abc//x", 1, "abc/1 //x/7", 7},
    {"RowLink", "jmp @l:12 go", 1, "jmp/1 @l:12/22 go/1", 1},
    {"ReferenceDereference", "#a ^b", 1, "#/20 a/1 ^/21 b/1", 1},
    {"Punctuation", "f(x)[1],y.", 1, "f/1 (/13 x/1 )/14 [/15 1/5 ]/16 ,/19 y/1 ./18", 1},
    {"CyrillicLetterBeforeDigit",
     "\xEF\xE5\xF0"
     "1 5",
     1,
     "\xEF\xE5\xF0"
     "1/1 5/5",
     1},
    {"UnclosedString", "\"ab cd", 1, "\"ab/2 cd/2", 1},
};

class Tokenizer : public testing::TestWithParam<ScanCase> {};

TEST_P(Tokenizer, GivesTheRuns) {
    const ScanCase& c = GetParam();
    TMPSyntaxAttributes attrs(nullptr);
    TMPSyntaxParser p;
    const int exit = p.Tokenize(c.Line, 0, &attrs, c.Entry);
    EXPECT_EQ(Runs(p, c.Line), c.Runs);
    EXPECT_EQ(exit, c.Exit);
}

INSTANTIATE_TEST_SUITE_P(Cases, Tokenizer, testing::ValuesIn(ScanCases),
                         [](const testing::TestParamInfo<ScanCase>& i) { return std::string(i.param.Name); });

TEST(Tokenizer, HostClassifiesWordsWithPositionAndLine) {
    TMPSyntaxAttributes attrs(nullptr);
    std::vector<std::string> seen;
    attrs.OnParseWord = [&](TObject*, const std::string& w, int pos, int line, TToken& t) {
        seen.push_back(w + "@" + std::to_string(pos) + ":" + std::to_string(line));
        if (w == "mov")
            t = 255;
    };
    TMPSyntaxParser p;
    p.Tokenize("  mov r1", 7, &attrs, 1);
    EXPECT_EQ(Runs(p, "  mov r1"), "mov/255 r1/1");
    EXPECT_EQ(seen, (std::vector<std::string>{"mov@3:7", "r1@7:7"}));
}

TEST(Tokenizer, MergeJoinsSplitStringsAndComments) {
    TMPSyntaxAttributes attrs(nullptr);
    TMPSyntaxParser p;
    const std::string line = "x \"abc def\" { a b } y";
    p.Tokenize(line, 0, &attrs, 1);
    p.MergeRuns();
    EXPECT_EQ(Runs(p, line), "x/1 \"abc def\"/3 { a b }/9 y/1");
    // Two strings stay two: merging ends at the piece that closes the first.
    const std::string two = "\"a b\" \"c d\"";
    p.Tokenize(two, 0, &attrs, 1);
    p.MergeRuns();
    EXPECT_EQ(Runs(p, two), "\"a b\"/3 \"c d\"/3");
}

TEST(Tokenizer, MarkSelectionSplitsAndFlags) {
    TMPSyntaxAttributes attrs(nullptr);
    TMPSyntaxParser p;
    const std::string line = "alpha beta";
    p.Tokenize(line, 0, &attrs, 1);
    p.MarkSelection(2, 8);
    EXPECT_EQ(Runs(p, line), "al/1 pha/1 be/1 ta/1");
    std::string flags;
    for (const TMPSyntaxToken& t : p.Tokens())
        flags += t.Selected() ? '1' : '0';
    EXPECT_EQ(flags, "0110");
}

TEST(Tokenizer, BlankSeparatedScannerGivesOneTokenPerRun) {
    TMPSyntaxAttributes attrs(nullptr);
    attrs.Switches |= sswBLSeparated;
    TMPSyntaxParser p;
    const std::string line = "ld $1F 12 1.5 \"a b\" { c";
    EXPECT_EQ(p.Tokenize(line, 0, &attrs, 1), 8);
    EXPECT_EQ(Runs(p, line), "ld/1 $1F/4 12/5 1.5/6 \"a/3 b\"/3 {/8 c/8");
}

// ---- attributes ----------------------------------------------------------------------------------

// A folder of this process's own: CTest runs every case in a process of its own, at the same time as
// the sanitized build's copy of the same case.
std::string TempPath(const std::string& name) {
    static const testsupport::TempFolder folder("synmemo-");
    return folder.File(name);
}

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary);
    f << bytes;
}

TEST(Attributes, FreshObjectSavesLiteralsColoursAndOnlySetStyles) {
    TMPSyntaxAttributes a(nullptr);
    const std::string path = TempPath("attrs_fresh.ini");
    a.SaveToFile(path);
    TStringList L;
    L.LoadFromFile(path);
    EXPECT_EQ(L[0], "SyntaxVersion=1.0");
    EXPECT_EQ(L.Values("LitString"), "\"");
    EXPECT_EQ(L.Values("HasILComment"), "Y");
    EXPECT_EQ(L.Values("BLSeparated"), "N");
    EXPECT_EQ(L.Values("Fore0"), "-2147483640");
    EXPECT_EQ(L.Values("Back8"), std::to_string(0xC6DFC6));
    EXPECT_EQ(L.Count(), 19 + 2 * 256 + 2 + 2 + 1 + 1 + 1);
    EXPECT_EQ(L.Values("Ital2"), "Y");
    EXPECT_EQ(L.Values("ULin3"), "Y");
    EXPECT_EQ(L.Values("Bold4"), "Y");
    EXPECT_EQ(L.Values("ULin22"), "Y");
    EXPECT_EQ(L.Text().find("=N\r\nBold"), std::string::npos);
    for (int i = 0; i < L.Count(); ++i)
        if (L.Names(i).rfind("Bold", 0) == 0 || L.Names(i).rfind("Ital", 0) == 0 ||
            L.Names(i).rfind("ULin", 0) == 0) {
            EXPECT_EQ(L.ValueFromIndex(i), "Y") << L[i];
        }
}

TEST(Attributes, LoadReadsSwitchesExactlyAndMissingColoursAsNone) {
    TMPSynMemoCore core;
    TMPSyntaxAttributes* a = core.SyntaxAttributes();
    const std::string path = TempPath("attrs_partial.ini");
    WriteFile(
        path,
        "SyntaxVersion=9\r\nLitString='\r\nHasILComment=y\r\nHasMLComment=Y\r\nBack7=255\r\nBold7=Y\r\n");
    a->LoadFromFile(path);
    EXPECT_EQ(a->StringQuote, '\'');
    EXPECT_FALSE(a->Has(sswHasILComment));
    EXPECT_TRUE(a->Has(sswHasMLComment));
    EXPECT_EQ(a->GetColor(7, false), mpclNone);
    EXPECT_EQ(a->GetColor(7, true), 255);
    EXPECT_EQ(a->GetStyle(7), mpsBold);
    EXPECT_EQ(a->GetColor(200, false), mpclNone);
    EXPECT_EQ(a->ILComment, "");
}

TEST(Attributes, MissingOrEmptyOneCharacterKeyKeepsItsValueAndLoadsTheRest) {
    TMPSynMemoCore core;
    TMPSyntaxAttributes* a = core.SyntaxAttributes();
    a->DecimalPoint = ',';
    const std::string path = TempPath("attrs_emptykey.ini");
    WriteFile(path, "LitString=\r\nLitReference=@\r\nLitILComment=;;\r\nFore5=123\r\n");
    a->LoadFromFile(path);
    EXPECT_EQ(a->StringQuote, '"');
    EXPECT_EQ(a->DecimalPoint, ',');
    EXPECT_EQ(a->Reference, '@');
    EXPECT_EQ(a->ILComment, ";;");
    EXPECT_EQ(a->GetColor(5, false), 123);
}

TEST(Attributes, BackgroundSurvivesSaveAndLoadWithoutForeground) {
    TMPSyntaxAttributes a(nullptr);
    a.SetColor(30, false, mpclNone);
    a.SetColor(30, true, 0x123456);
    const std::string path = TempPath("attrs_back.ini");
    a.SaveToFile(path);
    TMPSyntaxAttributes b(nullptr);
    b.LoadFromFile(path);
    EXPECT_EQ(b.GetColor(30, false), mpclNone);
    EXPECT_EQ(b.GetColor(30, true), 0x123456);
    EXPECT_TRUE(b.Equals(4, 4));
    EXPECT_EQ(b.GetStyle(4), mpsBold);
}

TEST(Attributes, UnreadableFileRaisesAndChangesNothing) {
    TMPSynMemoCore core;
    core.SyntaxAttributes()->StringQuote = '`';
    EXPECT_THROW(core.SyntaxAttributes()->LoadFromFile(TempPath("no_such_attrs.ini")), EFOpenError);
    EXPECT_EQ(core.SyntaxAttributes()->StringQuote, '`');
    EXPECT_FALSE(core.Lines()->Updating());
}

TEST(Attributes, CopyAttrsAndAssignReparse) {
    TMPSynMemoCore core;
    TMPSyntaxAttributes* a = core.SyntaxAttributes();
    const TToken kinds[] = {20, 21};
    a->CopyAttrs(4, 1, kinds);
    EXPECT_EQ(a->GetColor(20, false), 0x800000);
    EXPECT_EQ(a->GetStyle(21), mpsBold);
    LoadText(core, "a ' b");
    EXPECT_EQ(LineRuns(core, 0), "a/1 '/1 b/1");
    TMPSyntaxAttributes other(nullptr);
    other.StringQuote = '\'';
    a->Assign(&other);
    EXPECT_EQ(LineRuns(core, 0), "a/1 '/2 b/2");
    int changes = 0;
    core.OnModelChange = [&](TChangedItems) { ++changes; };
    a->Assign(a);
    EXPECT_EQ(changes, 0);
}

// ---- line store ----------------------------------------------------------------------------------

TEST(LineStore, BlockCommentCarriesToTheNextLineButNotOverABlankOne) {
    TMPSynMemoCore core;
    LoadText(core, "a\r\nb\r\nc\r\nd\r\ne\r\n{ open\r\nmid\r\n\r\nafter\r\n");
    EXPECT_EQ(LineRuns(core, 6), "mid/8");
    EXPECT_EQ(LineRuns(core, 8), "after/1");
    core.Lines()->Put(5, "x open");
    EXPECT_EQ(LineRuns(core, 6), "mid/1");
    core.Lines()->Put(5, "(* open");
    EXPECT_EQ(LineRuns(core, 6), "mid/10");
}

TEST(LineStore, CascadeReachesEveryLineOfALongComment) {
    TMPSynMemoCore core;
    std::string text = "x\r\n";
    for (int i = 0; i < 50; ++i)
        text += "w" + std::to_string(i) + "\r\n";
    text += "} tail\r\n";
    LoadText(core, text);
    EXPECT_EQ(LineRuns(core, 30), "w29/1");
    core.Lines()->Put(0, "{ x");
    EXPECT_EQ(LineRuns(core, 30), "w29/8");
    EXPECT_EQ(LineRuns(core, 51), "}/9 tail/1");
    core.Lines()->Put(0, "x");
    EXPECT_EQ(LineRuns(core, 30), "w29/1");
    EXPECT_EQ(LineRuns(core, 51), "}/1 tail/1");
}

TEST(LineStore, RowLinksFollowInsertedAndDeletedLines) {
    TMPSynMemoCore core;
    core.AutoRowLink = true;
    LoadText(core, "l0\r\nl1\r\nl2\r\nl3\r\ngo @l:4 x\r\ngo @l:3\r\ngo @l:bad\r\n");
    core.Lines()->Insert(3, "new");
    EXPECT_EQ(core.Lines()->Get(5), "go @l:5 x");
    EXPECT_EQ(core.Lines()->Get(6), "go @l:3");
    EXPECT_EQ(core.Lines()->Get(7), "go @l:bad");
    core.Lines()->Delete(3);
    core.Lines()->Put(4, "go @l:5 x");
    core.Lines()->Insert(5, "go @l:4");
    core.Lines()->Delete(3);
    EXPECT_EQ(core.Lines()->Get(3), "go @l:4 x");
    EXPECT_EQ(core.Lines()->Get(4), "go @l:4");
    EXPECT_EQ(core.Lines()->Get(5), "go @l:3");
    EXPECT_EQ(LineRuns(core, 3), "go/1 @l:4/22 x/1");
}

TEST(LineStore, UntitledNamesCountUpAndOffsetsCountLineBreaksAsTwo) {
    TMPSynMemoCore core;
    const std::string first = core.Lines()->FileName();
    const int n = std::stoi(first.substr(8));
    core.Lines()->New();
    EXPECT_EQ(core.Lines()->FileName(), "Untitled" + std::to_string(n + 1) + ".txt");
    EXPECT_TRUE(core.Lines()->Untitled());
    LoadText(core, "ab\r\ncde\r\nf");
    int x = 0, y = 0;
    core.Lines()->PositionOfOffset(5, x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(1, 1));
    EXPECT_EQ(core.Lines()->OffsetOfPosition(2, 1), 10);
    core.Lines()->PositionOfOffset(999, x, y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(1, 2));
}

TEST(LineStore, BadIndexesAreIgnored) {
    TMPSynMemoCore core;
    LoadText(core, "a\r\nb");
    core.Lines()->Put(-1, "x");
    core.Lines()->Put(2, "x");
    core.Lines()->Delete(5);
    core.Lines()->Insert(9, "x");
    EXPECT_EQ(Joined(core), "a|b");
    EXPECT_EQ(core.Lines()->TokenListOf(7), nullptr);
    EXPECT_EQ(core.Lines()->Line(-3), "");
    EXPECT_EQ(core.Sections()->EntireSection()->Item(0), nullptr);
}

TEST(LineStore, OnChangeOncePerBracket) {
    TMPSynMemoCore core;
    int changes = 0;
    core.OnModelChange = [&](TChangedItems k) {
        ++changes;
        EXPECT_TRUE(k.Contains(ciText));
    };
    WithinUpdate(core.Lines(), [&] {
        core.Lines()->Add("x");
        core.Lines()->Add("y");
        core.Lines()->Put(0, "z");
    });
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(core.Lines()->Modified());
}

// ---- fold markers and sections -------------------------------------------------------------------

struct MarkerCase {
    const char* Name;
    const char* Text;
    const char* Lines;
    const char* Sections;
};

void PrintTo(const MarkerCase& c, std::ostream* os) { *os << c.Name; }

const MarkerCase MarkerCases[] = {
    {"OneSection", "a\r\n{<+}b\r\nc\r\n{>>}d\r\ne", "a|b|c|d|e", "1-3@1"},
    {"Collapsed", "{<-}x\r\ny\r\n{>>}z", "x|y|z", "0-2c@1"},
    {"Nested", "{<+}a\r\n{<+}b\r\n{>>}c\r\n{>>}d", "a|b|c|d", "0-3@1 1-2@2"},
    {"EndWithoutStart", "{>>}x\r\ny", "|x|y", "0-1@1"},
    {"OpenAtTheEnd", "a\r\n{<+}b\r\nc", "a|b|c|", "1-3@1"},
    {"OneLineSection", "a\r\n{>>}{<+}b\r\nc", "a|b|c", "1-1@1"},
    {"OneLineCollapsed", "{>>}{<-}b", "b", "0-0c@1"},
};

class Markers : public testing::TestWithParam<MarkerCase> {};

TEST_P(Markers, ParseIntoLinesAndSections) {
    const MarkerCase& c = GetParam();
    TMPSynMemoCore core;
    LoadText(core, c.Text);
    EXPECT_EQ(Joined(core), c.Lines);
    EXPECT_EQ(SectionList(core), c.Sections);
}

TEST_P(Markers, WriteAndReadBackGiveTheSameLinesAndSections) {
    const MarkerCase& c = GetParam();
    TMPSynMemoCore core;
    LoadText(core, c.Text);
    core.SetOptions(TMPSynMemoOptions{smoWriteMarkersOnSave});
    const std::string path = TempPath(std::string("markers_") + c.Name + ".txt");
    core.Lines()->SaveToFile(path);
    const std::string lines = Joined(core), sections = SectionList(core);
    TMPSynMemoCore again;
    again.Lines()->LoadFromFile(path);
    EXPECT_EQ(Joined(again), lines);
    EXPECT_EQ(SectionList(again), sections);
    EXPECT_EQ(Joined(core), lines); // the store keeps no markers
}

INSTANTIATE_TEST_SUITE_P(Cases, Markers, testing::ValuesIn(MarkerCases),
                         [](const testing::TestParamInfo<MarkerCase>& i) {
                             return std::string(i.param.Name);
                         });

TEST(Sections, SavedFileCarriesMarkersOnlyWhenAsked) {
    TMPSynMemoCore core;
    LoadText(core, "a\r\n{<-}b\r\n{>>}c");
    const std::string path = TempPath("plain.txt");
    core.Lines()->SaveToFile(path);
    EXPECT_EQ(ReadFile(path), "a\r\nb\r\nc\r\n");
    core.SetOptions(TMPSynMemoOptions{smoWriteMarkersOnSave});
    core.Lines()->SaveToFile(path);
    EXPECT_EQ(ReadFile(path), "a\r\n{<-}b\r\n{>>}c\r\n");
    EXPECT_FALSE(core.Lines()->Modified());
    EXPECT_EQ(core.Lines()->FileName(), path);
}

TEST(Sections, CollapseExpandAndTheVisibleRows) {
    TMPSynMemoCore core;
    LoadText(core, "0\r\n{<+}1\r\n{<+}2\r\n3\r\n{>>}4\r\n{>>}5\r\n6");
    EXPECT_EQ(VisibleList(core), "0,1,2,3,4,5,6");
    core.Sections()->Collapse(3, false, false);
    EXPECT_EQ(VisibleList(core), "0,1,2,5,6");
    EXPECT_EQ(core.Sections()->VisibleIndexOf(3), -1);
    EXPECT_EQ(core.MoveLines(2, 1, false), 5);
    core.Sections()->Collapse(1, false, false);
    EXPECT_EQ(VisibleList(core), "0,1,6");
    core.Sections()->Expand(1, false, false);
    EXPECT_EQ(VisibleList(core), "0,1,2,5,6");
    core.Sections()->Expand(1, true, false);
    EXPECT_EQ(VisibleList(core), "0,1,2,3,4,5,6");
    core.Sections()->Collapse(1, true, true);
    EXPECT_EQ(SectionList(core), "1-5@1 2-4c@2");
    core.Sections()->Expand(3, false, true);
    EXPECT_EQ(SectionList(core), "1-5@1 2-4@2");
    EXPECT_EQ(core.Sections()->LineKind(2), 1);
    EXPECT_EQ(core.Sections()->LineKind(4), 3);
    EXPECT_EQ(core.Sections()->LineKind(3), 0);
    EXPECT_EQ(core.Sections()->LineKind(6), 0);
}

TEST(Sections, ExplodeAndDeletingAFirstLineMoveChildrenUp) {
    TMPSynMemoCore core;
    LoadText(core, "{<+}0\r\n{<+}1\r\n{>>}2\r\n3\r\n{>>}4");
    core.Lines()->Delete(0);
    EXPECT_EQ(SectionList(core), "0-1@1");
    EXPECT_EQ(Joined(core), "1|2|3|4");
    LoadText(core, "{<+}0\r\n{<+}1\r\n{<+}2\r\n{>>}3\r\n{>>}4\r\n{>>}5");
    core.Sections()->Explode(0, false);
    EXPECT_EQ(SectionList(core), "1-4@1 2-3@2");
    core.Sections()->Explode(1, true);
    EXPECT_EQ(SectionList(core), "");
}

TEST(Sections, InsertedLinesMoveAndGrowSections) {
    TMPSynMemoCore core;
    LoadText(core, "0\r\n{<+}1\r\n2\r\n{>>}3\r\n4");
    core.Lines()->Insert(1, "x");
    EXPECT_EQ(SectionList(core), "2-4@1");
    core.Lines()->Insert(4, "y");
    EXPECT_EQ(SectionList(core), "2-5@1");
    core.Lines()->Insert(6, "z");
    EXPECT_EQ(SectionList(core), "2-5@1");
}

TEST(Sections, CreateTakesChildrenAndRefusesEdges) {
    TMPSynMemoCore core;
    LoadText(core, "0\r\n1\r\n{<+}2\r\n{>>}3\r\n4\r\n5");
    EXPECT_FALSE(core.Sections()->Create(2, 5, false));
    EXPECT_FALSE(core.Sections()->Create(-1, 5, false));
    EXPECT_FALSE(core.Sections()->Create(4, 9, false));
    EXPECT_TRUE(core.Sections()->Create(1, 4, true));
    EXPECT_EQ(SectionList(core), "1-4c@1 2-3@2");
    EXPECT_EQ(VisibleList(core), "0,1,5");
    core.Sections()->Collapse(-4, false, false);
    core.Sections()->Expand(100, false, false);
    core.Sections()->Explode(-1, true);
    EXPECT_EQ(SectionList(core), "1-4c@1 2-3@2");
}

TEST(Sections, NextAndPreviousInTreeOrder) {
    TMPSynMemoCore core;
    LoadText(core, "{<+}0\r\n{<+}1\r\n{>>}2\r\n{>>}3\r\n{<+}4\r\n{>>}5");
    TMPSynMemoSections* S = core.Sections();
    TMPSynMemoSection* a = S->NextSection(S->EntireSection());
    TMPSynMemoSection* b = S->NextSection(a);
    TMPSynMemoSection* c = S->NextSection(b);
    EXPECT_EQ(a->FirstLine, 0);
    EXPECT_EQ(b->FirstLine, 1);
    EXPECT_EQ(c->FirstLine, 4);
    EXPECT_EQ(S->NextSection(c), nullptr);
    EXPECT_EQ(S->PrevSection(c), b);
    EXPECT_EQ(S->PrevSection(b), a);
    EXPECT_EQ(S->PrevSection(a), S->EntireSection());
}

} // namespace
