// Text model of the script editor: caret and selection, editing, undo, clipboard forms, section
// commands and bookmarks.
#include <gtest/gtest.h>

#include "model_support.h"

namespace {

TMPSynMemoRange* R(TMPSynMemoCore& c) { return c.Range(); }

TEST(Range, UndoOfTypingRestoresTextCaretAndDropsOneRecord) {
    TMPSynMemoCore core;
    LoadText(core, "xy");
    R(core)->SetPos({1, 0});
    for (const char* ch : {"a", "b", "c"})
        R(core)->SetText(ch);
    EXPECT_EQ(Joined(core), "xabcy");
    EXPECT_EQ(R(core)->UndoCount(), 3);
    R(core)->DoUndo();
    EXPECT_EQ(Joined(core), "xaby");
    EXPECT_EQ(R(core)->UndoCount(), 2);
    R(core)->DoUndo();
    R(core)->DoUndo();
    EXPECT_EQ(Joined(core), "xy");
    EXPECT_EQ(R(core)->Caret(), (TMPPos{1, 0}));
    EXPECT_FALSE(R(core)->CanUndo());
}

TEST(Range, UndoDepthDropsTheOldestRecord) {
    TMPSynMemoCore core;
    for (int i = 0; i < 101; ++i)
        R(core)->SetText("a");
    EXPECT_EQ(R(core)->UndoCount(), 100);
    core.Lines()->Clear();
    for (int i = 0; i < 3; ++i)
        R(core)->SetText("b");
    R(core)->SetMaxUndoDepth(10);
    EXPECT_EQ(R(core)->UndoCount(), 3);
    R(core)->SetMaxUndoDepth(1);
    EXPECT_EQ(R(core)->UndoCount(), 1);
    R(core)->SetMaxUndoDepth(0);
    R(core)->SetText("c");
    EXPECT_EQ(R(core)->UndoCount(), 0);
}

TEST(Range, SetTextReplacesSelectionsOverLinesAndPadsPastTheEnd) {
    TMPSynMemoCore core;
    LoadText(core, "one\r\ntwo\r\nthree");
    R(core)->Select({1, 0}, {2, 2});
    EXPECT_EQ(R(core)->GetText(), "ne\r\ntwo\r\nth");
    R(core)->SetText("X\r\nY");
    EXPECT_EQ(Joined(core), "oX|Yree");
    EXPECT_EQ(R(core)->Caret(), (TMPPos{1, 1}));
    R(core)->SetPos({6, 0});
    R(core)->SetText("!");
    EXPECT_EQ(Joined(core), "oX    !|Yree");
    R(core)->DoUndo();
    R(core)->DoUndo();
    EXPECT_EQ(Joined(core), "one|two|three");
}

// A selection whose start lies past the end of its line: replacing it adds no blanks, and undo
// gives the text and the caret back.
struct PastEndCase {
    const char* name;
    const char* text;
    TMPPos from, to;
    const char* put;
    const char* after;
    TMPPos caret;
};

void PrintTo(const PastEndCase& c, std::ostream* os) { *os << c.name; }

const PastEndCase kPastEnd[] = {
    {"DeleteJoinsAnEmptyLine", "\r\nxy", {2, 0}, {1, 1}, "", "y", {0, 0}},
    {"DeleteJoinsAShortLine", "ab\r\ncdef", {5, 0}, {2, 1}, "", "abef", {2, 0}},
    {"TypeOverLines", "ab\r\ncd\r\nef", {4, 0}, {1, 2}, "Z", "abZf", {3, 0}},
    {"TypeOverBlankOnly", "ab", {4, 0}, {6, 0}, "Z", "abZ", {3, 0}},
    {"PasteTwoLines", "\r\nxy", {3, 0}, {1, 1}, "p\r\nq", "p|qy", {1, 1}},
};

class RangePastEnd : public testing::TestWithParam<PastEndCase> {};

TEST_P(RangePastEnd, SelectionStartingPastTheEndIsReplacedWithoutPadding) {
    const PastEndCase& c = GetParam();
    TMPSynMemoCore core;
    LoadText(core, c.text);
    const std::string before = Joined(core);
    R(core)->Select(c.from, c.to);
    R(core)->SetText(c.put);
    EXPECT_EQ(Joined(core), c.after);
    EXPECT_EQ(R(core)->Caret(), c.caret);
    R(core)->DoUndo();
    EXPECT_EQ(Joined(core), before);
    EXPECT_EQ(R(core)->Caret(), c.to);
}

INSTANTIATE_TEST_SUITE_P(Cases, RangePastEnd, testing::ValuesIn(kPastEnd),
                         [](const testing::TestParamInfo<PastEndCase>& i) {
                             return std::string(i.param.name);
                         });

TEST(Range, SetPosClampsAndTrimsTheLineItLeaves) {
    TMPSynMemoCore core;
    LoadText(core, "ab  \r\ncd");
    R(core)->SetPos({4, 0});
    R(core)->SetPos({1, 1});
    EXPECT_EQ(Joined(core), "ab|cd");
    EXPECT_EQ(R(core)->UndoCount(), 0);
    R(core)->SetPos({3, 7});
    EXPECT_EQ(R(core)->Caret(), (TMPPos{0, 1}));
    R(core)->SetPos({-3, -2});
    EXPECT_EQ(R(core)->Caret(), (TMPPos{0, 0}));
    R(core)->SetPos({9, 0});
    EXPECT_EQ(R(core)->Caret(), (TMPPos{9, 0}));
}

TEST(Range, EnlargeMovesTheCaretCornerAndSwaps) {
    TMPSynMemoCore core;
    LoadText(core, "abcd\r\nefgh\r\nijkl");
    R(core)->SetPos({2, 1});
    R(core)->Enlarge(1, false, false);
    EXPECT_EQ(R(core)->GetText(), "g");
    R(core)->Enlarge(-3, false, false);
    EXPECT_EQ(R(core)->GetText(), "ef");
    R(core)->Enlarge(1, true, false);
    EXPECT_EQ(R(core)->GetText(), "gh\r\n");
    R(core)->Enlarge(-5, true, false);
    EXPECT_EQ(R(core)->GetText(), "abcd\r\nef");
    EXPECT_EQ(R(core)->Caret(), (TMPPos{0, 0}));
}

TEST(Range, EnlargeOverVisibleLinesStepsOverFoldedOnes) {
    TMPSynMemoCore core;
    LoadText(core, "0\r\n{<-}1\r\n2\r\n{>>}3\r\n4");
    R(core)->SetPos({0, 1});
    R(core)->Enlarge(1, true, true);
    EXPECT_EQ(R(core)->Caret().Y, 4);
}

TEST(Range, DeleteJoinsAtTheEndOfALineAndStopsAtTheEndOfText) {
    TMPSynMemoCore core;
    LoadText(core, "l0\r\nl1\r\nl2\r\nl3\r\nl4");
    R(core)->SetPos({2, 2});
    R(core)->Delete();
    EXPECT_EQ(Joined(core), "l0|l1|l2l3|l4");
    R(core)->SetPos({2, 3});
    R(core)->Delete();
    EXPECT_EQ(Joined(core), "l0|l1|l2l3|l4");
    R(core)->SetPos({0, 0});
    R(core)->Delete();
    EXPECT_EQ(Joined(core), "0|l1|l2l3|l4");
}

TEST(Range, DeleteWithASelectionDeletesItWhereverTheCaretStands) {
    TMPSynMemoCore core;
    LoadText(core, "ab\r\ncd");
    R(core)->Select({1, 0}, {2, 1});
    ASSERT_EQ(R(core)->Caret(), (TMPPos{2, 1}));
    R(core)->Delete();
    EXPECT_EQ(Joined(core), "a");
    LoadText(core, "\r\nxy");
    R(core)->Select({0, 0}, {1, 1});
    R(core)->Delete();
    EXPECT_EQ(Joined(core), "y");
}

TEST(Range, DeleteOnAnEmptyFirstLineJoinsTheNextLine) {
    TMPSynMemoCore core;
    LoadText(core, "\r\nxy");
    R(core)->SetPos({0, 0});
    R(core)->Delete();
    EXPECT_EQ(Joined(core), "xy");
    LoadText(core, "");
    R(core)->Delete();
    EXPECT_EQ(core.Lines()->Count(), 0);
}

TEST(Range, UndoRestoresTheSectionTreeOfAnExplode) {
    TMPSynMemoCore core;
    LoadText(core, "{<+}0\r\n{<-}1\r\n{>>}2\r\n{>>}3");
    R(core)->SetPos({0, 0});
    R(core)->ExplodeSection(false);
    EXPECT_EQ(SectionList(core), "1-2c@1");
    R(core)->Select({1, 0}, {0, 1});
    R(core)->Delete();
    EXPECT_EQ(SectionList(core), "");
    EXPECT_EQ(Joined(core), "01|2|3");
    R(core)->DoUndo();
    EXPECT_EQ(SectionList(core), "1-2c@1");
    R(core)->DoUndo();
    EXPECT_EQ(SectionList(core), "0-3@1 1-2c@2");
    EXPECT_EQ(Joined(core), "0|1|2|3");
    R(core)->ClearUndo();
    EXPECT_EQ(core.Sections()->EntireSection()->RefCount, 1);
}

TEST(Range, CreateSectionOnOneLineInsertsALineAndUndoRemovesIt) {
    TMPSynMemoCore core;
    LoadText(core, "a\r\nb\r\nc");
    R(core)->SetPos({1, 1});
    R(core)->CreateSection();
    EXPECT_EQ(Joined(core), "a|b||c");
    EXPECT_EQ(SectionList(core), "1-2@1");
    EXPECT_EQ(R(core)->Caret(), (TMPPos{0, 1}));
    R(core)->DoUndo();
    EXPECT_EQ(Joined(core), "a|b|c");
    EXPECT_EQ(SectionList(core), "");
    R(core)->Select({0, 0}, {1, 2});
    R(core)->CreateSection();
    EXPECT_EQ(SectionList(core), "0-2@1");
    EXPECT_EQ(Joined(core), "a|b|c");
}

TEST(Range, CollapseExpandAndGotoSectionAtTheCaret) {
    TMPSynMemoCore core;
    LoadText(core, "x\r\n{<+}a\r\nb\r\n{>>}c\r\n{<+}d\r\n{>>}e");
    R(core)->SetPos({1, 2});
    R(core)->CollapseSection(false);
    EXPECT_EQ(R(core)->Caret(), (TMPPos{0, 1}));
    EXPECT_EQ(VisibleList(core), "0,1,4,5");
    R(core)->ExpandSection(false);
    EXPECT_EQ(VisibleList(core), "0,1,2,3,4,5");
    R(core)->CollapseSection(false);
    R(core)->DoUndo();
    EXPECT_EQ(VisibleList(core), "0,1,2,3,4,5");
    R(core)->SetPos({0, 0});
    R(core)->GotoSection(true);
    EXPECT_EQ(R(core)->Caret().Y, 1);
    R(core)->GotoSection(true);
    EXPECT_EQ(R(core)->Caret().Y, 4);
    R(core)->GotoSection(true);
    EXPECT_EQ(R(core)->Caret().Y, 4);
    R(core)->GotoSection(false);
    EXPECT_EQ(R(core)->Caret().Y, 1);
}

TEST(Clipboard, MarkedCopyCarriesSectionsAndPasteRecreatesThem) {
    TMPSynMemoCore core;
    LoadText(core, "p\r\n{<-}a\r\nb\r\n{>>}c\r\nq");
    R(core)->Select({0, 1}, {1, 4});
    R(core)->CopyToClipboard();
    TMPMemoryClipboard* clip = static_cast<TMPMemoryClipboard*>(core.Clipboard());
    EXPECT_EQ(clip->PlainText, "a\r\nb\r\nc\r\nq");
    EXPECT_EQ(clip->MarkedText, "{<-}a\r\nb\r\n{>>}c\r\nq");
    R(core)->Collapse();
    R(core)->SetText("\r\n");
    R(core)->PasteFromClipboard();
    EXPECT_EQ(Joined(core), "p|a|b|c|q|a|b|c|q");
    EXPECT_EQ(SectionList(core), "1-3c@1 5-7c@1");
    R(core)->DoUndo();
    EXPECT_EQ(Joined(core), "p|a|b|c|q|");
    EXPECT_EQ(SectionList(core), "1-3c@1");
}

TEST(Clipboard, OneLineSectionAndPartialLinesInTheMarkedForm) {
    TMPSynMemoCore core;
    LoadText(core, "{>>}{<+}one\r\n{<+}two\r\n{>>}three");
    R(core)->Select({0, 0}, {5, 2});
    EXPECT_EQ(R(core)->GetMarkedText(), "{>>}{<+}one\r\n{<+}two\r\n{>>}three");
    R(core)->Select({1, 1}, {5, 2});
    EXPECT_EQ(R(core)->GetMarkedText(), "wo\r\nthree");
    R(core)->Select({0, 1}, {2, 2});
    EXPECT_EQ(R(core)->GetMarkedText(), "two\r\nth");
}

TEST(Clipboard, ReadOnlyRefusesCutAndPasteButCopies) {
    TMPSynMemoCore core;
    LoadText(core, "abc");
    core.SetOptions(TMPSynMemoOptions{smoReadOnly, smoSkipSectionsOnCopy});
    R(core)->Select({0, 0}, {2, 0});
    R(core)->CutToClipBoard();
    EXPECT_EQ(Joined(core), "abc");
    R(core)->CopyToClipboard();
    TMPMemoryClipboard* clip = static_cast<TMPMemoryClipboard*>(core.Clipboard());
    EXPECT_EQ(clip->PlainText, "ab");
    EXPECT_FALSE(clip->HasMarked);
    R(core)->PasteFromClipboard();
    EXPECT_EQ(Joined(core), "abc");
    core.SetOptions(TMPSynMemoOptions());
    R(core)->CutToClipBoard();
    EXPECT_EQ(Joined(core), "c");
}

TEST(Range, OffsetsLengthAndSelectAll) {
    TMPSynMemoCore core;
    LoadText(core, "ab\r\ncde");
    R(core)->SetPosition(5);
    EXPECT_EQ(R(core)->Caret(), (TMPPos{1, 1}));
    R(core)->SetLength(2);
    EXPECT_EQ(R(core)->GetText(), "de");
    EXPECT_EQ(R(core)->GetLength(), 2);
    R(core)->SelectAll();
    EXPECT_EQ(R(core)->GetText(), "ab\r\ncde");
    R(core)->SetPosition(1);
    R(core)->SelectFromStart();
    EXPECT_EQ(R(core)->GetText(), "a");
    R(core)->SelectToEnd();
    EXPECT_EQ(R(core)->GetText(), "b\r\ncde");
}

TEST(Bookmarks, ToggleMoveAndClear) {
    TMPSynMemoCore core;
    LoadText(core, "0\r\n1\r\n2\r\n3\r\n4\r\n5");
    TMPBookmarkManager* B = core.Bookmarks();
    int slot = -1;
    EXPECT_FALSE(B->Find(3, slot));
    EXPECT_EQ(slot, -1);
    B->SetBookMarks(2, 3);
    B->SetBookMarks(4, 3);
    EXPECT_EQ(B->GetBookMarks(2), -1);
    EXPECT_EQ(B->GetBookMarks(4), 3);
    B->SetBookMarks(4, 5);
    EXPECT_EQ(B->GetBookMarks(4), 5);
    EXPECT_FALSE(B->Find(3, slot));
    B->SetBookMarks(4, 5);
    EXPECT_EQ(B->GetBookMarks(4), -1);
    B->SetBookMarks(10, 1);
    B->SetBookMarks(-1, 1);
    B->SetBookMarks(1, 99);
    EXPECT_EQ(B->GetBookMarks(10), -1);
    EXPECT_EQ(B->GetBookMarks(1), -1);
    B->SetBookMarks(7, 4);
    core.Lines()->Insert(0, "new");
    EXPECT_EQ(B->GetBookMarks(7), 5);
    core.Lines()->Delete(5);
    EXPECT_EQ(B->GetBookMarks(7), -1);
    B->SetBookMarks(0, 0);
    B->Clear();
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(B->GetBookMarks(i), -1);
}

} // namespace
