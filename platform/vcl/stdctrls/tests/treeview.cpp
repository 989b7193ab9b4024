// Tree view: the TVM_ messages as a table, notification order of the user's acts against changes
// from code (and a refusal putting Qt's change back), label editing, deletion reports, geometry,
// the images as drawn and as asked for, the vertical scroll protocol, the right click, the paint
// message over the drawn nodes and the tool tips of cut texts.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QThread>
#include <QToolTip>
#include <QTreeWidget>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "comctrls.h"
#include "cp1251.h"
#include "forms.h"
#include "gfx_support.h"
#include "handle.h"
#include "sysutils.h"
#include "winapi.h"

namespace {

class TreeViews : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 300);
        Tree = new TTreeView(Form);
        Tree->SetParent(Form);
        Tree->SetBounds(0, 0, 250, 250);
        Root = Tree->Items()->Add(nullptr, "Root");
        A = Tree->Items()->AddChild(Root, "a");
        B = Tree->Items()->AddChild(Root, "b");
        Leaf = Tree->Items()->AddChild(B, "leaf");
        Other = Tree->Items()->Add(Root, "Other");
        Tree->OnChanging = [&](TObject*, TTreeNode* n, bool& allow) {
            Log.push_back("changing " + (n ? n->Text() : "-"));
            allow = n != Other;
        };
        Tree->OnChange = [&](TObject*, TTreeNode* n) { Log.push_back("change " + (n ? n->Text() : "-")); };
        Tree->OnExpanding = [&](TObject*, TTreeNode* n, bool&) { Log.push_back("expanding " + n->Text()); };
        Tree->OnExpanded = [&](TObject*, TTreeNode* n) { Log.push_back("expanded " + n->Text()); };
        Form->Show();
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    QTreeWidget* Native() { return ClientWidget(Tree)->findChild<QTreeWidget*>(); }
    TForm* Form = nullptr;
    TTreeView* Tree = nullptr;
    TTreeNode *Root, *A, *B, *Leaf, *Other;
    std::vector<std::string> Log;
};

TEST_F(TreeViews, NodesKeepTheirTreeOrder) {
    EXPECT_EQ(Tree->Items()->Count(), 5);
    EXPECT_EQ(Tree->Items()->Item(3), Leaf);
    EXPECT_EQ(Leaf->AbsoluteIndex(), 3);
    EXPECT_EQ(Leaf->Level(), 2);
    EXPECT_EQ(Leaf->GetNext(), Other);
    EXPECT_EQ(Other->GetPrev(), Leaf);
    EXPECT_EQ(B->Index(), 1);
    TTreeNode* before = Tree->Items()->Insert(B, "a2");
    EXPECT_EQ(A->getNextSibling(), before);
    EXPECT_EQ(Native()->topLevelItem(0)->child(1)->text(0), "a2");
}

TEST_F(TreeViews, MessagesAnswerAsAWindowsTreeView) {
    struct Case {
        const char* Name;
        UINT Msg;
        WPARAM W;
        TTreeNode* Node;
        TTreeNode* Result;
    } cases[] = {
        {"root", TVM_GETNEXTITEM, TVGN_ROOT, nullptr, Root},
        {"child", TVM_GETNEXTITEM, TVGN_CHILD, Root, A},
        {"next sibling", TVM_GETNEXTITEM, TVGN_NEXT, A, B},
        {"previous sibling", TVM_GETNEXTITEM, TVGN_PREVIOUS, B, A},
        {"parent", TVM_GETNEXTITEM, TVGN_PARENT, Leaf, B},
        // The first node took the caret when the tree got the focus, as a Windows tree view does.
        {"caret", TVM_GETNEXTITEM, TVGN_CARET, nullptr, Root},
        {"next visible under a collapsed root", TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, Root, Other},
    };
    EXPECT_EQ(Log, (std::vector<std::string>{"changing Root", "change Root"}));
    Log.clear();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(reinterpret_cast<TTreeNode*>(Tree->Perform(c.Msg, c.W, reinterpret_cast<LPARAM>(c.Node))),
                  c.Result);
    }
    EXPECT_EQ(Tree->Perform(TVM_GETCOUNT, 0, 0), 5);
    // TVM_EXPAND expands without the expanding notifications; Expand() tells them.
    Tree->Perform(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Root));
    EXPECT_TRUE(Root->Expanded());
    EXPECT_TRUE(Log.empty());
    EXPECT_EQ(reinterpret_cast<TTreeNode*>(
                  Tree->Perform(TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, reinterpret_cast<LPARAM>(Root))),
              A);
    Tree->Perform(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(B));
    EXPECT_EQ(Tree->Selected(), B);
    EXPECT_EQ(Log, (std::vector<std::string>{"changing b", "change b"}));
    // The item goes in where the rectangle comes out.
    TRect r;
    TTreeNode* item = B;
    std::memcpy(static_cast<void*>(&r), &item, sizeof item);
    EXPECT_EQ(Tree->Perform(TVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r)), 1);
    EXPECT_EQ(r, B->DisplayRect(true));
    TTVHitTestInfo hit;
    hit.pt = TPoint(r.Left + 2, r.Top + r.Height() / 2);
    EXPECT_EQ(reinterpret_cast<TTreeNode*>(Tree->Perform(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))), B);
    EXPECT_EQ(hit.flags, unsigned(TVHT_ONITEMLABEL));
    EXPECT_EQ(Tree->GetNodeAt(r.Left + 2, r.Bottom + 2), Other); // B is collapsed: Other is below it
    EXPECT_EQ(Tree->GetHitTestInfoAt(r.Right + 5, r.Top + 2), unsigned(TVHT_ONITEMRIGHT));
    Tree->Perform(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(B));
    EXPECT_EQ(Tree->Items()->Count(), 3);
}

TEST_F(TreeViews, UserActsAndCodeChangesTellTheSameEventsAndARefusalPutsQtBack) {
    Log.clear();
    Native()->setCurrentItem(nullptr);
    Native()->setCurrentItem(Native()->topLevelItem(0)); // the user's click
    Root->Expand(false);
    Tree->SetSelected(A);
    // The user tries Other: refused, Qt's current item goes back to A.
    Native()->setCurrentItem(Native()->topLevelItem(1));
    EXPECT_EQ(Tree->Selected(), A);
    EXPECT_EQ(Native()->currentItem()->text(0), "a");
    // The user expands B with its button.
    Native()->topLevelItem(0)->child(1)->setExpanded(true);
    EXPECT_TRUE(B->Expanded());
    EXPECT_EQ(Log, (std::vector<std::string>{"changing -", "change -", "changing Root", "change Root",
                                             "expanding Root", "expanded Root", "changing a", "change a",
                                             "changing Other", "expanding b", "expanded b"}));
    // A refused expansion collapses again.
    Tree->OnExpanding = [](TObject*, TTreeNode*, bool& allow) { allow = false; };
    Native()->topLevelItem(1)->setExpanded(true); // no children: nothing to refuse
    B->Collapse(false);
    Native()->topLevelItem(0)->child(1)->setExpanded(true);
    EXPECT_FALSE(B->Expanded());
    EXPECT_FALSE(Native()->topLevelItem(0)->child(1)->isExpanded());
}

TEST_F(TreeViews, LabelEditsAndDeletionsAreReported) {
    std::vector<std::string> deleted;
    Tree->OnDeletion = [&](TObject*, TTreeNode* n) { deleted.push_back(n->Text()); };
    Tree->OnEdited = [](TObject*, TTreeNode*, std::string& s) { s += "!"; };
    Native()->topLevelItem(0)->child(0)->setText(0, "renamed"); // the editor committing
    EXPECT_EQ(A->Text(), "renamed!");
    EXPECT_EQ(Native()->topLevelItem(0)->child(0)->text(0), "renamed!");
    B->Delete();
    EXPECT_EQ(deleted, (std::vector<std::string>{"leaf", "b"}));
    Tree->Items()->Clear();
    EXPECT_EQ(deleted.size(), 5u);
    EXPECT_EQ(Native()->topLevelItemCount(), 0);
}

TEST_F(TreeViews, SortAndFullExpand) {
    Tree->Items()->AddChild(Root, "0 first");
    Tree->SetSortType(stText);
    EXPECT_EQ(Root->getFirstChild()->Text(), "0 first");
    EXPECT_EQ(Tree->Items()->GetFirstNode(), Other);
    ASSERT_EQ(Native()->topLevelItem(1)->text(0), "Root");
    EXPECT_EQ(Native()->topLevelItem(1)->child(0)->text(0), "0 first");
    Tree->FullExpand();
    EXPECT_TRUE(B->Expanded());
    EXPECT_TRUE(Leaf->IsVisible());
    Tree->FullCollapse();
    EXPECT_FALSE(Root->Expanded());
}

// A sorted tree against a plain model of what it promises: every insertion puts the node at its
// index and then stable-sorts its siblings by text (case-blind, so equal texts keep their order).
// Random insertions of each kind, renames and deletions, inside an update and outside; after every
// step the nodes and Qt's items stand in the model's order, and each node's index, the count and
// the nodes by absolute index agree with it.
TEST_F(TreeViews, SortedInsertionsMatchASortAfterEveryInsertion) {
    const char* texts[] = {"a", "A", "b", "B", "ab", "Ab", "я", "Я", "ё", "10", "9", ""};
    std::map<int, std::vector<int>> children; // 0: the top level
    std::map<int, std::string> text;
    std::map<int, int> parentOf;
    auto id = [](TTreeNode* n) { return n ? int(reinterpret_cast<intptr_t>(n->Data)) : 0; };
    std::vector<TTreeNode*> order; // tree order, as the walk below finds it
    std::function<void(int, TTreeNode*, QTreeWidgetItem*)> check = [&](int parent, TTreeNode* first,
                                                                       QTreeWidgetItem* item) {
        std::vector<int> ours;
        int i = 0;
        for (TTreeNode* n = first; n; n = n->getNextSibling(), ++i) {
            ours.push_back(id(n));
            EXPECT_EQ(n->Index(), i);
            order.push_back(n);
            QTreeWidgetItem* q = item ? item->child(i) : Native()->topLevelItem(i);
            ASSERT_TRUE(q);
            EXPECT_EQ(q->text(0), QString::fromStdU16String(Cp1251ToUtf16(n->Text())));
            check(id(n), n->getFirstChild(), q);
        }
        EXPECT_EQ(ours, children[parent]);
        EXPECT_EQ(item ? item->childCount() : Native()->topLevelItemCount(), i);
    };
    for (unsigned seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        auto pick = [&](size_t n) { return size_t(random() % n); };
        Tree->Items()->Clear();
        Tree->SetSortType(stText);
        children.clear();
        std::vector<TTreeNode*> nodes;
        const bool updating = seed % 2 == 0;
        if (updating)
            Tree->Items()->BeginUpdate();
        for (int step = 1; step <= 300; ++step) {
            const std::string s = texts[pick(std::size(texts))];
            TTreeNode* at = nodes.empty() ? nullptr : nodes[pick(nodes.size())];
            const int kind = at ? int(pick(8)) : 0;
            if (kind == 6) {
                at->SetText(s);
                text[id(at)] = s;
            } else if (kind == 7) {
                std::vector<int> gone{id(at)};
                for (size_t i = 0; i < gone.size(); ++i)
                    for (int c : children[gone[i]])
                        gone.push_back(c);
                std::erase(children[parentOf[id(at)]], id(at));
                std::erase_if(nodes,
                              [&](TTreeNode* n) { return std::count(gone.begin(), gone.end(), id(n)); });
                at->Delete();
            } else {
                // Where each kind puts the node before the sort: its parent and index.
                const int sibling = at ? parentOf[id(at)] : 0;
                auto& sib = children[kind < 3 ? sibling : id(at)];
                const int parent = kind < 3 ? sibling : id(at);
                const size_t index = kind == 0 || kind == 3 ? sib.size()
                                     : kind == 2
                                         ? size_t(std::find(sib.begin(), sib.end(), id(at)) - sib.begin())
                                         : 0;
                TTreeNode* made = kind == 0   ? Tree->Items()->Add(at, s)
                                  : kind == 1 ? Tree->Items()->AddFirst(at, s)
                                  : kind == 2 ? Tree->Items()->Insert(at, s)
                                  : kind == 3 ? Tree->Items()->AddChild(at, s)
                                              : Tree->Items()->AddChildFirst(at, s);
                made->Data = reinterpret_cast<void*>(intptr_t(step));
                nodes.push_back(made);
                text[step] = s;
                parentOf[step] = parent;
                sib.insert(sib.begin() + std::ptrdiff_t(index), step);
                std::stable_sort(sib.begin(), sib.end(),
                                 [&](int a, int b) { return AnsiCompareText(text[a], text[b]) < 0; });
            }
            order.clear();
            check(0, Tree->Items()->GetFirstNode(), nullptr);
            ASSERT_EQ(Tree->Items()->Count(), int(order.size()));
            // Forward from the last node asked for, and back to the start.
            if (!order.empty()) {
                const int from = int(pick(order.size()));
                for (int k : {from, int(order.size()) - 1, 0, from})
                    EXPECT_EQ(Tree->Items()->Item(k), order[size_t(k)]);
            }
            if (testing::Test::HasFailure())
                FAIL() << "step " << step << ", kind " << kind;
        }
        if (updating)
            Tree->Items()->EndUpdate();
    }
}

TEST_F(TreeViews, ImagesAndStateImagesAsDrawn) {
    TImageList images(nullptr), states(nullptr);
    for (TImageList* l : {&images, &states}) {
        l->SetWidth(16);
        l->SetHeight(16);
    }
    auto add = [](TImageList& l, TColor c) {
        TBitmap b;
        b.SetSize(16, 16);
        b.Canvas()->Brush()->SetColor(c);
        b.Canvas()->FillRect(Rect(0, 0, 16, 16));
        l.Add(&b, nullptr);
    };
    add(images, clRed);
    add(images, clBlue);
    add(states, clYellow); // state image 0 is never shown, as in the native control
    add(states, clLime);
    Tree->SetImages(&images);
    Tree->SetStateImages(&states);
    Other->SetImageIndex(0);
    Other->SetSelectedIndex(1);
    Other->SetStateIndex(1);
    Tree->SetFocus();
    QImage img = ClientWidget(Tree)->grab().toImage();
    TRect text = Other->DisplayRect(true);
    int y = text.Top + text.Height() / 2;
    // State image, then image, then the text.
    EXPECT_EQ(PixelAt(img, text.Left - 4 - 8, y), clRed);
    EXPECT_EQ(PixelAt(img, text.Left - 4 - 24, y), clLime);
    Tree->SetSelected(Other);
    EXPECT_NE(Tree->Selected(), Other); // refused
    Tree->OnChanging = nullptr;
    Tree->SetSelected(Other);
    img = ClientWidget(Tree)->grab().toImage();
    EXPECT_EQ(PixelAt(img, text.Left - 4 - 8, y), clBlue);
    Other->SetStateIndex(0);
    img = ClientWidget(Tree)->grab().toImage();
    text = Other->DisplayRect(true);
    EXPECT_EQ(PixelAt(img, text.Left - 4 - 8, y), clBlue);
    for (int x = 0; x < text.Left; ++x)
        EXPECT_NE(PixelAt(img, x, y), clYellow) << x;
    Tree->SetImages(nullptr);
    Tree->SetStateImages(nullptr);
}

// One node drawn wholly by the handler (DefaultDraw false), another default-drawn in the colours
// the handler left on the canvas; the handler hears each node's state.
TEST_F(TreeViews, CustomDrawnNodesPaintThroughTheCanvas) {
    std::vector<std::string> seen;
    Tree->OnChanging = nullptr;
    Tree->SetSelected(A);
    Tree->SetFocus();
    Tree->OnCustomDrawItem = [&](TCustomTreeView* t, TTreeNode* n, TCustomDrawState s, bool& DefaultDraw) {
        seen.push_back(n->Text() + (s.Contains(cdsSelected) ? " selected" : "") +
                       (s.Contains(cdsFocused) ? " focused" : ""));
        if (n == Other) {
            t->Canvas()->Brush()->SetColor(clLime);
            t->Canvas()->FillRect(n->DisplayRect(true));
            DefaultDraw = false;
        } else if (n == B) {
            t->Canvas()->Brush()->SetColor(clYellow);
            t->Canvas()->Font()->SetColor(clBlue);
        }
    };
    QImage img = ClientWidget(Tree)->grab().toImage();
    auto has = [&](const std::string& s) { return std::find(seen.begin(), seen.end(), s) != seen.end(); };
    EXPECT_TRUE(has("a selected focused"));
    EXPECT_TRUE(has("Other"));
    TRect other = Other->DisplayRect(true);
    for (int x = other.Left; x < other.Right; ++x)
        for (int y = other.Top; y < other.Bottom; ++y)
            ASSERT_EQ(PixelAt(img, x, y), clLime) << x << "," << y;
    TRect b = B->DisplayRect(true);
    int blue = 0;
    for (int x = b.Left; x < b.Right; ++x)
        for (int y = b.Top; y < b.Bottom; ++y) {
            TColor c = PixelAt(img, x, y);
            ASSERT_NE(c, clWhite) << x << "," << y;
            blue += c == clBlue;
        }
    EXPECT_EQ(PixelAt(img, b.Right - 1, b.Top + 1), clYellow);
    EXPECT_GT(blue, 0); // the text in the handler's font colour
    TRect a = A->DisplayRect(true);
    EXPECT_NE(PixelAt(img, a.Right - 1, a.Top + 1), clLime);
}

TEST_F(TreeViews, ImagesAreAskedForOnceAndAnAnswerSetOnTheNodeIsDrawn) {
    TImageList images(nullptr);
    images.SetWidth(16);
    images.SetHeight(16);
    for (TColor c : {clRed, clBlue}) {
        TBitmap b;
        b.SetSize(16, 16);
        b.Canvas()->Brush()->SetColor(c);
        b.Canvas()->FillRect(Rect(0, 0, 16, 16));
        images.Add(&b, nullptr);
    }
    std::vector<std::string> asked;
    // The handler answers by setting the node's index, as handlers do: that must not ask again.
    Tree->OnGetImageIndex = [&](TObject*, TTreeNode* n) {
        asked.push_back("image " + n->Text());
        n->SetImageIndex(n->Expanded() ? 1 : 0);
    };
    Tree->OnGetSelectedIndex = [&](TObject*, TTreeNode* n) { asked.push_back("selected " + n->Text()); };
    Tree->SetImages(&images);
    EXPECT_EQ(std::count(asked.begin(), asked.end(), "image Root"), 1);
    EXPECT_EQ(std::count(asked.begin(), asked.end(), "selected Root"), 1);
    EXPECT_EQ(asked.size(), 10u);
    // Expanding asks again, and the answer follows the expansion.
    asked.clear();
    Root->Expand(false);
    EXPECT_EQ(asked, (std::vector<std::string>{"image Root", "selected Root"}));
    TRect text = Root->DisplayRect(true);
    QImage img = ClientWidget(Tree)->grab().toImage();
    EXPECT_EQ(PixelAt(img, text.Left - 4 - 8, text.Top + text.Height() / 2), clBlue);
    Tree->SetImages(nullptr);
}

TEST_F(TreeViews, TheVerticalPositionCountsRowsBothWays) {
    for (int i = 0; i < 60; ++i)
        Tree->Items()->Add(Root, "row " + std::to_string(i));
    Application->ProcessMessages();
    HWND h = Tree->Handle();
    EXPECT_EQ(GetScrollPos(h, SB_VERT), 0);
    auto visibleRow = [&](int Row) {
        TTreeNode* n = Tree->Items()->GetFirstNode();
        for (int i = 0; i < Row; ++i)
            n = reinterpret_cast<TTreeNode*>(Tree->Perform(TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, LPARAM(n)));
        return n;
    };
    struct Step {
        const char* Name;
        int Code;
        int Pos;
        int Expected;
    } steps[] = {{"thumb", SB_THUMBPOSITION, 10, 10},
                 {"line down", SB_LINEDOWN, 0, 11},
                 {"line up", SB_LINEUP, 0, 10},
                 {"top", SB_TOP, 0, 0},
                 {"line up at top", SB_LINEUP, 0, 0}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.Name);
        Tree->Perform(WM_VSCROLL, MAKEWPARAM(s.Code, s.Pos), 0);
        EXPECT_EQ(GetScrollPos(h, SB_VERT), s.Expected);
        EXPECT_EQ(Tree->TopItem(), visibleRow(s.Expected));
    }
    TScrollInfo si;
    si.fMask = SIF_RANGE | SIF_PAGE;
    GetScrollInfo(h, SB_VERT, &si);
    EXPECT_EQ(si.nMax - si.nMin + 1, 62) << "every visible row";
    EXPECT_GT(si.nPage, 0u);
    // The user's own scrolling is read the same way.
    Native()->verticalScrollBar()->setValue(5);
    EXPECT_EQ(GetScrollPos(h, SB_VERT), 5);
}

// Records the notifications and messages of a right click, and paints a mark over a node.
class TRecordingTree : public TTreeView {
public:
    using TTreeView::TTreeView;
    std::vector<std::string> Heard;
    TTreeNode* Marked = nullptr;

protected:
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == CN_NOTIFY && reinterpret_cast<TNMHdr*>(Message.LParam)->code == NM_RCLICK)
            Heard.push_back("rclick");
        if (Message.Msg == WM_CONTEXTMENU)
            Heard.push_back("contextmenu");
        if (Message.Msg == WM_RBUTTONUP)
            Heard.push_back("rbuttonup");
        TTreeView::Dispatch(Message);
        if (Message.Msg == WM_PAINT && Marked && Message.WParam) {
            auto* dc = reinterpret_cast<TCanvas*>(Message.WParam);
            dc->Brush()->SetColor(clRed);
            dc->FillRect(Marked->DisplayRect(true));
        }
    }
};

class RecordingTreeViews : public TreeViews {
protected:
    void SetUp() override {
        TreeViews::SetUp();
        R = new TRecordingTree(Form);
        R->SetParent(Form);
        R->SetBounds(0, 0, 120, 120);
        First = R->Items()->Add(nullptr, "first");
        Second = R->Items()->Add(nullptr, "second, a node whose text is longer than the view");
        Tree->Hide();
        Application->ProcessMessages();
    }
    QTreeWidget* View() { return ClientWidget(R)->findChild<QTreeWidget*>(); }
    void RightClick(TTreeNode* n) {
        TRect r = n->DisplayRect(true);
        QPoint at = View()->viewport()->mapFrom(ClientWidget(R), QPoint(r.Left + 3, r.Top + r.Height() / 2));
        QPoint global = View()->viewport()->mapToGlobal(at);
        QMouseEvent down(QEvent::MouseButtonPress, at, global, Qt::RightButton, Qt::RightButton,
                         Qt::NoModifier);
        QApplication::sendEvent(View()->viewport(), &down);
        QMouseEvent up(QEvent::MouseButtonRelease, at, global, Qt::RightButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(View()->viewport(), &up);
    }
    TRecordingTree* R = nullptr;
    TTreeNode *First = nullptr, *Second = nullptr;
};

TEST_F(RecordingTreeViews, ARightClickTellsNmRClickBeforeTheContextMenuAndSelectsOnlyWhenAsked) {
    R->SetSelected(First);
    RightClick(Second);
    EXPECT_EQ(R->Heard, (std::vector<std::string>{"rbuttonup", "rclick", "contextmenu"}));
    EXPECT_EQ(R->Selected(), First) << "a right click leaves the selection, as in Windows";
    R->RightClickSelect = true;
    RightClick(Second);
    EXPECT_EQ(R->Selected(), Second);
}

TEST_F(RecordingTreeViews, ThePaintMessageDrawsOverTheNodesInClientCoordinates) {
    R->Marked = First;
    TRect r = First->DisplayRect(true);
    QImage img = ClientWidget(R)->grab().toImage();
    for (int x = r.Left; x < r.Right; ++x)
        for (int y = r.Top; y < r.Bottom; ++y)
            ASSERT_EQ(PixelAt(img, x, y), clRed) << x << "," << y;
    EXPECT_NE(PixelAt(img, r.Right, r.Top + 1), clRed);
}

TEST_F(RecordingTreeViews, BorderAndToolTipsFollowTheirProperties) {
    EXPECT_EQ(R->ClientWidth(), 120 - 4) << "the client edge";
    auto tipOver = [&](TTreeNode* n) {
        // A tip goes away on a timer.
        QToolTip::hideText();
        QElapsedTimer waited;
        waited.start();
        while (QToolTip::isVisible() && waited.elapsed() < 3000) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(10);
        }
        TRect r = n->DisplayRect(true);
        QPoint at = View()->viewport()->mapFrom(ClientWidget(R), QPoint(r.Left + 3, r.Top + 2));
        QHelpEvent e(QEvent::ToolTip, at, View()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(View()->viewport(), &e);
        return QToolTip::isVisible() ? FromQString(QToolTip::text()) : std::string();
    };
    EXPECT_EQ(tipOver(Second), Second->Text());
    EXPECT_EQ(tipOver(First), "") << "a text shown whole needs no tip";
    R->SetToolTips(false);
    EXPECT_EQ(tipOver(Second), "");
    R->SetBorderStyle(bsNone);
    EXPECT_EQ(R->ClientWidth(), 120);
}

} // namespace
