// Tree view paths and colours; check tree states, cascades both ways, vetoes, deletion, keys and
// the text format both ways.
#include <gtest/gtest.h>

#include "Gwtreevw.h"
#include "forms.h"
#include "inputkit.h"
#include "messages.h"

namespace {

struct TFixture {
    TFixture() { TApplication::QtApp(); }
    TForm Form{nullptr};
};

// Root
//   Child
//     Leaf
//   Другой
// Second
struct TPathFixture : TFixture {
    TGwTreeView* Tree = new TGwTreeView(&Form);
    TTreeNode *Root, *Child, *Leaf, *Other, *Second;
    TPathFixture() {
        Tree->SetParent(&Form);
        Root = Tree->Items()->Add(nullptr, "Root");
        Child = Tree->Items()->AddChild(Root, "Child");
        Leaf = Tree->Items()->AddChild(Child, "Leaf");
        Other = Tree->Items()->AddChild(Root, "\xC4\xF0\xF3\xE3\xEE\xE9");
        Second = Tree->Items()->Add(Root, "Second");
    }
};

TEST(GwTreeView, PathsNameEveryLevelWithATrailingBackslash) {
    TPathFixture f;
    EXPECT_EQ(TGwCustomTreeView::PathFromNode(f.Leaf), "Root\\Child\\Leaf\\");
    EXPECT_EQ(TGwCustomTreeView::PathFromNode(nullptr), "");
    struct Row {
        const char* Path;
        TTreeNode* TPathFixture::*Expected;
    } rows[] = {
        {"Root\\Child\\", &TPathFixture::Child},
        {"rOOT\\cHILD", &TPathFixture::Child},
        {"ROOT\\CHILD\\LEAF\\", &TPathFixture::Leaf},
        {"root\\\xE4\xF0\xF3\xE3\xEE\xE9", &TPathFixture::Other}, // Cyrillic, lower case
        {"Second", &TPathFixture::Second},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Path);
        EXPECT_EQ(f.Tree->NodeFromPath(r.Path), f.*r.Expected);
    }
    for (const char* missing : {"Root\\Nothing\\", "Nothing", "Root\\Child\\Leaf\\More", ""}) {
        SCOPED_TRACE(missing);
        EXPECT_EQ(f.Tree->NodeFromPath(missing), nullptr);
    }
    f.Tree->SelectByPath("root\\child\\leaf");
    EXPECT_EQ(f.Tree->Selected(), f.Leaf);
}

TEST(GwTreeView, ColoursFollowEnabledStateAndAutoSelectExcludesAutoExpand) {
    TPathFixture f;
    f.Tree->SetColor(clYellow);
    EXPECT_EQ(f.Tree->NormalColor(), clYellow);
    EXPECT_EQ(f.Tree->FocusColor(), clYellow); // it followed the normal colour
    f.Tree->SetFocusColor(clAqua);
    f.Tree->SetColor(clLime);
    EXPECT_EQ(f.Tree->FocusColor(), clAqua);
    f.Tree->SetDisabledColor(clGray);
    f.Tree->SetEnabled(false);
    EXPECT_EQ(f.Tree->Color(), clGray);
    f.Tree->SetEnabled(true);
    EXPECT_EQ(f.Tree->Color(), clLime);
    f.Tree->SetAutoExpand(true);
    f.Tree->SetAutoSelect(true);
    EXPECT_FALSE(f.Tree->GetAutoExpand());
    f.Tree->SetFrameHotTrack(true);
    EXPECT_TRUE(f.Tree->FrameVisible());
}

// ---------------------------------------------------------------- check tree

// Parent with children A and B, B with child B1; every box unchecked.
struct TCheckFixture : TFixture {
    TGwCheckTree* Tree = new TGwCheckTree(&Form);
    TTreeNode *Parent, *A, *B, *B1;
    std::vector<std::string> Changes;
    TCheckFixture() {
        Tree->SetParent(&Form);
        Parent = Tree->Items()->Add(nullptr, "Parent");
        A = Tree->Items()->AddChild(Parent, "A");
        B = Tree->Items()->AddChild(Parent, "B");
        B1 = Tree->Items()->AddChild(B, "B1");
        Tree->ShowNewNodesUnchecked();
        Tree->OnStateChange = [this](TObject*, TTreeNode* n, TGwCheckState s) {
            Changes.push_back(n->Text() + "=" + std::to_string(int(s)));
        };
    }
    std::string States() {
        std::string s;
        for (TTreeNode* n : {Parent, A, B, B1})
            s += std::to_string(int(TGwCheckTree::NodeState(n)));
        return s;
    }
};

TEST(GwCheckTree, TogglesCascadeDownAndUp) {
    TCheckFixture f;
    f.Tree->ToggleCheckState(f.A);
    EXPECT_EQ(f.States(), "3211"); // the parent is partly checked
    f.Tree->ToggleCheckState(f.B);
    EXPECT_EQ(f.States(), "2222");
    f.Tree->ToggleCheckState(f.Parent);
    EXPECT_EQ(f.States(), "1111");
    // A partly checked node checks its whole subtree.
    f.Tree->ToggleCheckState(f.A);
    ASSERT_EQ(f.States(), "3211");
    f.Tree->ToggleCheckState(f.Parent);
    EXPECT_EQ(f.States(), "2222");
}

TEST(GwCheckTree, AVetoKeepsOneChildAndParentsFollowTheActualStates) {
    TCheckFixture f;
    f.Tree->OnStateChanging = [&](TObject*, TTreeNode* n, TGwCheckState, bool& allow) { allow = n != f.A; };
    f.Tree->ToggleCheckState(f.Parent);
    // A stays unchecked while B and B1 check.
    EXPECT_EQ(f.States(), "2122");
    // Unchecking B1 recomputes B and then the parent from what the children really hold.
    f.Tree->ToggleCheckState(f.B1);
    EXPECT_EQ(f.States(), "1111");
}

TEST(GwCheckTree, WithoutCascadeOnlyTheNodeChangesAndCompletionIsStillReported) {
    TCheckFixture f;
    f.Tree->CascadeChecks = false;
    int completed = 0;
    f.Tree->OnCascadeComplete = [&](TObject*, TTreeNode*) { ++completed; };
    f.Tree->ToggleCheckState(f.B);
    EXPECT_EQ(f.States(), "1121");
    EXPECT_EQ(completed, 1);
}

TEST(GwCheckTree, DeletingTheOnlyCheckedChildUnchecksTheParentFirst) {
    TCheckFixture f;
    f.Tree->ToggleCheckState(f.A);
    f.A->Delete();
    EXPECT_EQ(TGwCheckTree::NodeState(f.Parent), csUnchecked);
}

TEST(GwCheckTree, PartlyCheckedByCodeUnchecksTheSubtree) {
    TCheckFixture f;
    f.Tree->ToggleCheckState(f.B);
    f.Tree->ChangeNodeCheckState(f.B, csPartiallyChecked);
    EXPECT_EQ(TGwCheckTree::NodeState(f.B1), csUnchecked);
    EXPECT_EQ(f.Tree->GetItemState(99), csUnknown);
}

TEST(GwCheckTree, SpaceTogglesTheSelectedNode) {
    TCheckFixture f;
    f.Tree->SetSelected(f.B1);
    inputkit::Press(f.Tree, inputkit::Key::Space);
    EXPECT_EQ(f.States(), "3122");
}

TEST(GwCheckTree, TextFormatRoundTripsWithoutEvents) {
    TFixture app;
    TGwCheckTree tree(&app.Form);
    tree.SetParent(&app.Form);
    TTreeNode* objects = tree.Items()->Add(nullptr, "Objects");
    TTreeNode* meter = tree.Items()->AddChild(objects, "Meter");
    objects->SetStateIndex(csUnchecked);
    meter->SetStateIndex(csChecked);
    const std::string text = tree.SaveToText();
    EXPECT_EQ(text, "1|-1|-1|Objects\r\n\t2|-1|-1|Meter\r\n");

    TGwCheckTree copy(&app.Form);
    copy.SetParent(&app.Form);
    int events = 0;
    copy.OnStateChange = [&](TObject*, TTreeNode*, TGwCheckState) { ++events; };
    TStringList lines;
    lines.SetText(text + "\t\t3|4|5|Register|with bar\n  Plain\n");
    copy.LoadFromLines(&lines);
    EXPECT_EQ(copy.SaveToText(), text + "\t\t3|4|5|Register|with bar\r\n\t\t-1|-1|-1|Plain\r\n");
    EXPECT_EQ(events, 0);
}

TEST(GwCheckTree, AJumpOfTwoLevelsIsRefusedWithTheLinesBeforeKept) {
    TFixture app;
    TGwCheckTree tree(&app.Form);
    TStringList lines;
    lines.SetText("1|-1|-1|Top\n\t\t1|-1|-1|Deep\n");
    EXPECT_THROW(tree.LoadFromLines(&lines), ETreeViewError);
    EXPECT_EQ(tree.Items()->Count(), 1);
    lines.SetText("x|1|1|Top\n");
    EXPECT_THROW(tree.LoadFromLines(&lines), EConvertError);
}

TEST(GwCheckTree, LinesViewAddsIndentedNodesAndSkipsCtrlZ) {
    TFixture app;
    TGwCheckTree tree(&app.Form);
    TGwCheckTreeStrings lines(tree.Items());
    lines.Add("Top");
    lines.Add("\tChild");
    lines.Add("\x1A");
    lines.Add("Next");
    EXPECT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines.Strings(1), "\tChild");
    EXPECT_EQ(tree.Items()->Item(2)->Level(), 0);
    EXPECT_THROW(lines.Add("\t\tToo deep"), ETreeViewError);
}

} // namespace
