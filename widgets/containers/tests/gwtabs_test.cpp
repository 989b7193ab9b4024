// The collection tab control, alone and filled by the configuration manager's subprogram tabs.
#include <gtest/gtest.h>

#include "Configmanager.h"
#include "Gwtabs.h"
#include "actions.h"
#include "forms.h"

namespace {

// Tab layout measures text, which needs the toolkit's application.
class TQtApplication : public ::testing::Environment {
    void SetUp() override { TApplication::QtApp(); }
};
const auto* const kQt = ::testing::AddGlobalTestEnvironment(new TQtApplication);

std::vector<std::string> Captions(TGwCollectionTabControl& t) {
    std::vector<std::string> v;
    for (int i = 0; i < t.TabCount(); ++i)
        v.push_back(t.Tab(i).Caption);
    return v;
}

TEST(GwTabs, ClearAddAndDeleteKeepTheActiveTab) {
    TGwTabControl tabs(nullptr);
    int changes = 0;
    tabs.OnChange = [&](TObject*) { ++changes; };
    TGwTabCollection* c = tabs.GetTabCollection();
    c->Clear();
    for (int i = 0; i < 3; ++i)
        c->Add();
    EXPECT_EQ(Captions(tabs), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(tabs.TabIndex(), -1);
    c->GetItem(0)->SetCaption("a");
    c->GetItem(1)->SetCaption("b");
    c->GetItem(2)->SetCaption("c");
    EXPECT_EQ(Captions(tabs), (std::vector<std::string>{"a", "b", "c"}));
    tabs.SetTabIndex(2);
    EXPECT_EQ(changes, 1);
    c->Delete(0);
    EXPECT_EQ(tabs.TabIndex(), 1);
    EXPECT_EQ(tabs.Tab(tabs.TabIndex()).Caption, "c");
    tabs.SetTabIndex(0);
    c->Delete(0);
    EXPECT_EQ(tabs.TabIndex(), 0);
    c->Delete(0);
    EXPECT_EQ(tabs.TabIndex(), -1);
    c->Add();
    c->Add();
    c->GetItem(1)->SetVisible(false);
    EXPECT_FALSE(tabs.Tab(1).Visible);
    EXPECT_EQ(tabs.TabCount(), 2);
    tabs.SetTabIndex(5);
    EXPECT_EQ(tabs.TabIndex(), -1);
}

// The drag of the active tab moves its item, keeps it active and reports the move; the close
// command deletes the active item. With no active tab both do nothing.
TEST(GwTabs, ActiveTabMovedAndDestroyed) {
    TGwTabControl tabs(nullptr);
    std::vector<std::pair<int, int>> moves;
    tabs.OnTabOrderChange = [&](TObject*, int from, int to) { moves.emplace_back(from, to); };
    TGwTabCollection* c = tabs.GetTabCollection();
    for (const char* caption : {"a", "b", "c"})
        c->Add()->SetCaption(caption);
    tabs.ActiveTabMoved(2);
    tabs.DestroyActiveTab();
    EXPECT_TRUE(moves.empty());
    EXPECT_EQ(tabs.TabCount(), 3);
    tabs.SetTabIndex(0);
    tabs.ActiveTabMoved(2);
    EXPECT_EQ(Captions(tabs), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_EQ(tabs.TabIndex(), 2);
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{0, 2}}));
    tabs.DestroyActiveTab();
    EXPECT_EQ(Captions(tabs), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(tabs.TabIndex(), 1);
}

// Dropping the dragged active tab on another moves its item there; a hidden item keeps its index.
TEST(GwTabs, DroppedTabMovesItsItem) {
    TGwTabControl tabs(nullptr);
    tabs.SetBounds(0, 0, 300, 60);
    tabs.SetTabStyle(tsCutCorner);
    tabs.SetTabWidth(40);
    tabs.SetTabHeight(20);
    std::vector<std::pair<int, int>> moves;
    tabs.OnTabOrderChange = [&](TObject*, int from, int to) { moves.emplace_back(from, to); };
    for (const char* caption : {"a", "b", "c", "d"})
        tabs.GetTabCollection()->Add()->SetCaption(caption);
    tabs.GetTabCollection()->GetItem(1)->SetVisible(false);
    EXPECT_EQ(tabs.TabRect(2), (TRect{42, 0, 82, 20}));
    tabs.SetTabIndex(0);
    tabs.DragDrop(&tabs, 60, 10); // nothing happens without tab dragging
    tabs.SetAllowTabDragging(true);
    tabs.DragDrop(&tabs, 60, 10);
    EXPECT_EQ(Captions(tabs), (std::vector<std::string>{"b", "c", "a", "d"}));
    EXPECT_EQ(tabs.TabIndex(), 2);
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{0, 2}}));
}

TEST(GwTabs, AssignLeavesTag) {
    TGwTabControl tabs(nullptr);
    TGwTabCollectionItem* a = tabs.GetTabCollection()->Add();
    TGwTabCollectionItem* b = tabs.GetTabCollection()->Add();
    a->Tag = 5;
    a->SetCaption("x");
    a->SetHint("h");
    b->Tag = 7;
    b->Assign(a);
    EXPECT_EQ(b->Caption(), "x");
    EXPECT_EQ(b->Hint(), "h");
    EXPECT_EQ(b->Tag, 7);
}

TEST(GwTabs, SubprogramTabsOfAConfiguration) {
    TGwTabControl tabs(nullptr);
    configmanager c;
    c.FillSubprogramTabs(&tabs);
    EXPECT_EQ(tabs.TabCount(), 0);
    EXPECT_EQ(tabs.TabIndex(), -1);
    T_Action* a = c.CreateSubprogram("first");
    T_Action* b = c.CreateSubprogram("second");
    b->Caption = "Опрос";
    TStringList lines;
    c.SelectSubprogram(&lines, "Опрос");
    EXPECT_EQ(c.Current, b);
    EXPECT_EQ(lines.Count(), 1);
    EXPECT_EQ(lines.Strings(0), "");
    c.FillSubprogramTabs(&tabs);
    EXPECT_EQ(Captions(tabs), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(tabs.Tab(0).Hint, "Подпрограмма " + std::to_string(a->Id()));
    EXPECT_EQ(tabs.Tab(1).Hint, "Опрос (" + std::to_string(b->Id()) + ")");
    EXPECT_EQ(tabs.TabIndex(), 1);
    c.DeleteSubprogram(b);
    EXPECT_EQ(c.Current, nullptr);
    c.FillSubprogramTabs(&tabs);
    EXPECT_EQ(tabs.TabCount(), 1);
    EXPECT_EQ(tabs.TabIndex(), -1);
}

} // namespace
