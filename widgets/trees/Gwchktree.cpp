// Check tree: three-state boxes kept consistent between parents and children, their text
// format, and the tree's nodes as lines (widget layer, trees).
#include <algorithm>

#include "Gwthemesrv.h"
#include "Gwtreevw.h"
#include "messages.h"
#include "sysutils.h"

namespace {

// Leading tabs and spaces: the level; the rest: the line.
int CountLevel(const std::string& Line, std::string& Rest) {
    size_t i = 0;
    while (i < Line.size() && (Line[i] == '\t' || Line[i] == ' '))
        ++i;
    Rest = Line.substr(i);
    return int(i);
}

} // namespace

TTreeNode* AddNodeAtLevel(TTreeNodes* Nodes, TTreeNode* Last, int Level, const std::string& Text) {
    auto invalid = [&] {
        return ETreeViewError("Invalid level (" + IntToStr(Level) + ") for item \"" + Text + "\"");
    };
    if (!Last) {
        if (Level != 0)
            throw invalid();
        return Nodes->Add(nullptr, Text);
    }
    const int lastLevel = Last->Level();
    if (Level == lastLevel)
        return Nodes->Add(Last, Text);
    if (Level == lastLevel + 1)
        return Nodes->AddChild(Last, Text);
    if (Level > lastLevel + 1)
        throw invalid();
    TTreeNode* sibling = Last;
    while (sibling && sibling->Level() > Level)
        sibling = sibling->Parent();
    if (!sibling)
        throw invalid();
    return Nodes->Add(sibling, Text);
}

// ---------------------------------------------------------------- lines view

std::string TGwCheckTreeStrings::Get(int Index) const {
    const TTreeNode* n = FNodes->Item(Index);
    if (!n)
        throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    return std::string(size_t(n->Level()), '\t') + n->Text();
}

TObject* TGwCheckTreeStrings::GetObject(int Index) const {
    const TTreeNode* n = FNodes->Item(Index);
    return n ? static_cast<TObject*>(n->Data) : nullptr;
}

void TGwCheckTreeStrings::PutObject(int Index, TObject* Object) {
    if (TTreeNode* n = FNodes->Item(Index))
        n->Data = Object;
}

void TGwCheckTreeStrings::Delete(int Index) {
    if (TTreeNode* n = FNodes->Item(Index))
        n->Delete();
}

void TGwCheckTreeStrings::Insert(int Index, const std::string& S) {
    TTreeNode* at = FNodes->Item(Index);
    at ? FNodes->Insert(at, S) : FNodes->Add(nullptr, S);
}

int TGwCheckTreeStrings::Add(const std::string& S) {
    if (S == "\x1A")
        return -1;
    std::string text;
    const int level = CountLevel(S, text);
    const int count = FNodes->Count();
    AddNodeAtLevel(FNodes, count ? FNodes->Item(count - 1) : nullptr, level, text);
    return count;
}

void TGwCheckTreeStrings::SetUpdateState(bool Updating) {
    Updating ? FNodes->BeginUpdate() : FNodes->EndUpdate();
}

// ---------------------------------------------------------------- check tree

TGwCheckTree::TGwCheckTree(TComponent* AOwner) : TGwCustomTreeView(AOwner) {
    SetAutoSelect(false);
    SetReadOnly(true);
    FCheckImages = std::make_unique<TImageList>(nullptr);
    FCheckImages->SetName("CheckImages");
    InitStateImages();
    SetStateImages(FCheckImages.get());
}

TGwCheckTree::~TGwCheckTree() { SetStateImages(nullptr); }

// Four 16 x 16 images indexed by check state: 0 and 1 an empty box, 2 a ticked one, 3 a mixed one.
// Visual styles draw the themed check box; else our own 13 x 13 box sits at (2, 2).
void TGwCheckTree::InitStateImages() {
    FCheckImages->Clear();
    FCheckImages->SetWidth(16);
    FCheckImages->SetHeight(16);
    const TColor olive = TColor(RGB(128, 128, 0));
    const TCheckBoxState looks[] = {cbUnchecked, cbUnchecked, cbChecked, cbGrayed};
    const TThemedButton themed[] = {tbCheckBoxUncheckedNormal, tbCheckBoxUncheckedNormal,
                                    tbCheckBoxCheckedNormal, tbCheckBoxMixedNormal};
    TThemeServices* themes = ThemeServices();
    for (int i = 0; i < 4; ++i) {
        TBitmap b;
        b.SetSize(16, 16);
        b.Canvas()->Brush()->SetColor(olive);
        b.Canvas()->FillRect(TRect(0, 0, 16, 16));
        if (themes->ThemesEnabled()) {
            themes->DrawElement(b.Canvas(), themes->GetElementDetails(themed[i]), TRect(0, 0, 16, 16));
        } else {
            TGwGlyphColors colours;
            colours.FrameColor = FrameColor();
            colours.HighlightColor = FHighlightColor;
            colours.DisabledColor = DisabledColor();
            colours.FillColor = clWindow;
            DrawCheckBox(b.Canvas(), TRect(2, 2, 15, 15), looks[i], colours);
        }
        FCheckImages->AddMasked(&b, olive);
    }
}

void TGwCheckTree::SetHighlightColor(TColor Value) {
    FHighlightColor = Value;
    InitStateImages();
    Invalidate();
}

void TGwCheckTree::SetFrameColor(TColor Value) {
    TGwCustomTreeView::SetFrameColor(Value);
    if (FCheckImages) {
        InitStateImages();
        Invalidate();
    }
}

TGwCheckState TGwCheckTree::NodeState(const TTreeNode* Node) {
    const int s = Node ? Node->StateIndex() : 0;
    return s >= csUnknown && s <= csPartiallyChecked ? TGwCheckState(s) : csUnknown;
}

TGwCheckState TGwCheckTree::GetItemState(int Index) const {
    return Index >= 0 && Index < Items()->Count() ? NodeState(Items()->Item(Index)) : csUnknown;
}

void TGwCheckTree::SetItemState(int Index, TGwCheckState Value) {
    if (Index < 0 || Index >= Items()->Count())
        throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    TTreeNode* n = Items()->Item(Index);
    if (NodeState(n) != Value)
        ChangeNodeCheckState(n, Value);
}

bool TGwCheckTree::CanChangeState(TTreeNode* Node, TGwCheckState NewState) {
    bool allow = true;
    if (OnStateChanging)
        OnStateChanging(this, Node, NewState, allow);
    return allow;
}

void TGwCheckTree::StateChange(TTreeNode* Node, TGwCheckState NewState) {
    if (OnStateChange)
        OnStateChange(this, Node, NewState);
}

void TGwCheckTree::CascadeComplete(TTreeNode* Node) {
    if (OnCascadeComplete)
        OnCascadeComplete(this, Node);
}

void TGwCheckTree::SetNodeCheckState(TTreeNode* Node, TGwCheckState NewState) {
    if (!CanChangeState(Node, NewState))
        return;
    Node->SetStateIndex(NewState);
    StateChange(Node, NewState);
}

void TGwCheckTree::ForceCheckState(TTreeNode* Node, TGwCheckState NewState) {
    if (NodeState(Node) == NewState)
        return;
    Node->SetStateIndex(NewState);
    StateChange(Node, NewState);
}

void TGwCheckTree::ToggleCheckState(TTreeNode* Node) {
    FMouseDownOnCheck = false;
    if (!Node || NodeState(Node) == csUnknown)
        return;
    SetNodeCheckState(Node, NodeState(Node) == csChecked ? csUnchecked : csChecked);
    if (CascadeChecks) {
        const bool checked = NodeState(Node) == csChecked;
        UpdateChildren(Node, checked);
        UpdateParents(Node, checked);
    }
    CascadeComplete(Node);
}

void TGwCheckTree::ChangeNodeCheckState(TTreeNode* Node, TGwCheckState NewState) {
    FMouseDownOnCheck = false;
    if (!Node)
        return;
    if (NodeState(Node) != NewState)
        SetNodeCheckState(Node, NewState);
    if (CascadeChecks) {
        const bool checked = NodeState(Node) == csChecked;
        UpdateChildren(Node, checked);
        UpdateParents(Node, checked);
    }
}

void TGwCheckTree::UpdateChildren(TTreeNode* Node, bool Checked) {
    const TGwCheckState state = Checked ? csChecked : csUnchecked;
    // Pre-order through the subtree: GetNext walks a node, its children, then its next sibling.
    const int depth = Node->Level();
    for (TTreeNode* n = Node->GetNext(); n && n->Level() > depth; n = n->GetNext())
        SetNodeCheckState(n, state);
    if (OnUpdateChildren)
        OnUpdateChildren(this);
}

TGwCheckState TGwCheckTree::RuleFromChildren(const TTreeNode* Node, const TTreeNode* IgnoreNode) {
    int checked = 0, unchecked = 0;
    for (int i = 0; i < Node->Count(); ++i) {
        const TTreeNode* child = Node->Item(i);
        if (child == IgnoreNode)
            continue;
        switch (NodeState(child)) {
        case csPartiallyChecked: return csPartiallyChecked;
        case csChecked: ++checked; break;
        case csUnchecked: ++unchecked; break;
        case csUnknown: break;
        }
        if (checked && unchecked)
            return csPartiallyChecked;
    }
    return checked ? csChecked : csUnchecked;
}

void TGwCheckTree::UpdateParents(TTreeNode* Node, bool) {
    for (TTreeNode* n = Node; n && n->Parent(); n = n->Parent())
        SetNodeCheckState(n->Parent(), RuleFromChildren(n->Parent(), nullptr));
}

void TGwCheckTree::UpdateStateFromChildren(TTreeNode* Node, TTreeNode* IgnoreNode) {
    if (!CascadeChecks || !Node)
        return;
    const TGwCheckState state = RuleFromChildren(Node, IgnoreNode);
    SetNodeCheckState(Node, state);
    if (state == csPartiallyChecked)
        return;
    UpdateChildren(Node, state == csChecked);
    UpdateParents(Node, state == csChecked);
}

void TGwCheckTree::UpdateCascadingStates(TTreeNode* Node) {
    if (!CascadeChecks || !Node)
        return;
    const TGwCheckState state = NodeState(Node);
    if (state != csChecked && state != csUnchecked)
        return;
    UpdateChildren(Node, state == csChecked);
    UpdateParents(Node, state == csChecked);
}

void TGwCheckTree::UpdateChildrenCascadingStates(TTreeNode* Node) {
    if (!CascadeChecks || !Node)
        return;
    if (!Node->HasChildren()) {
        UpdateCascadingStates(Node);
        return;
    }
    for (int i = 0; i < Node->Count(); ++i) {
        TTreeNode* child = Node->Item(i);
        child->HasChildren() ? UpdateChildrenCascadingStates(child) : UpdateCascadingStates(child);
    }
}

void TGwCheckTree::SetAllNodes(TGwCheckState State) {
    for (int i = 0; i < Items()->Count(); ++i)
        Items()->Item(i)->SetStateIndex(State);
}

void TGwCheckTree::SetAllChildren(TTreeNode* Node, TGwCheckState State) {
    for (TTreeNode* n = Node; n; n = n->getNextSibling()) {
        n->SetStateIndex(State);
        if (n->HasChildren())
            SetAllChildren(n->getFirstChild(), State);
    }
}

void TGwCheckTree::ShowNewNodesUnchecked() {
    for (int i = 0; i < Items()->Count(); ++i) {
        TTreeNode* n = Items()->Item(i);
        if (n->StateIndex() == -1)
            n->SetStateIndex(csUnchecked);
    }
}

void TGwCheckTree::Delete(TTreeNode* Node) {
    if (CascadeChecks && Node && Node->Parent() && !ComponentState().Contains(csDestroying))
        UpdateStateFromChildren(Node->Parent(), Node);
    TGwCustomTreeView::Delete(Node);
}

void TGwCheckTree::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TTreeNode* n = Selected();
    if (n && Button == mbLeft) {
        const TRect text = n->DisplayRect(true);
        const int imageWidth = Images() ? Images()->Width() : 0;
        const int boxWidth = FCheckImages->Width();
        if (X > text.Left - boxWidth - imageWidth && X <= text.Left - imageWidth && Y >= text.Top &&
            Y < text.Bottom) {
            FMouseDownOnCheck = true;
            FMouseDownIndex = n->AbsoluteIndex();
        }
    }
    TGwCustomTreeView::MouseDown(Button, Shift, X, Y);
}

void TGwCheckTree::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TTreeNode* n = Selected();
    // The node pressed may have gone meanwhile: compare indexes, never look one up.
    if (Button == mbLeft && FMouseDownOnCheck && n && n->AbsoluteIndex() == FMouseDownIndex &&
        ClientRect().Contains(TPoint(X, Y)))
        ToggleCheckState(n);
    TGwCustomTreeView::MouseUp(Button, Shift, X, Y);
}

void TGwCheckTree::KeyUp(WORD& Key, TShiftState Shift) {
    if (Key == VK_SPACE && !IsEditing())
        ToggleCheckState(Selected());
    TGwCustomTreeView::KeyUp(Key, Shift);
}

void TGwCheckTree::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_CHAR:
        if (Message.WParam == ' ')
            return;
        break;
    case WM_PAINT: ShowNewNodesUnchecked(); break;
    default: break;
    }
    TGwCustomTreeView::Dispatch(Message);
}

// ---------------------------------------------------------------- text format

void TGwCheckTree::LoadFromLines(TStrings* Lines) {
    TTreeNodes* nodes = Items();
    nodes->Clear();
    WithinUpdate(nodes, [&] {
        TTreeNode* last = nullptr;
        for (int i = 0; i < Lines->Count(); ++i) {
            std::string rest;
            const int level = CountLevel(Lines->Strings(i), rest);
            int numbers[3] = {-1, -1, -1};
            for (int k = 0; k < 3; ++k) {
                const size_t bar = rest.find('|');
                if (bar == std::string::npos)
                    break;
                numbers[k] = StrToInt(rest.substr(0, bar));
                rest.erase(0, bar + 1);
            }
            last = AddNodeAtLevel(nodes, last, level, rest);
            last->SetStateIndex(numbers[0]);
            last->SetImageIndex(numbers[1]);
            last->SetSelectedIndex(numbers[2]);
        }
    });
}

void TGwCheckTree::LoadFromStream(TStream* Stream) {
    TStringList lines;
    lines.LoadFromStream(Stream);
    LoadFromLines(&lines);
}

void TGwCheckTree::LoadFromFile(const std::string& FileName) {
    TStringList lines;
    lines.LoadFromFile(FileName);
    LoadFromLines(&lines);
}

std::string TGwCheckTree::SaveToText() {
    std::string text;
    for (int i = 0; i < Items()->Count(); ++i) {
        const TTreeNode* n = Items()->Item(i);
        text += std::string(size_t(n->Level()), '\t') + IntToStr(n->StateIndex()) + "|" +
                IntToStr(n->ImageIndex()) + "|" + IntToStr(n->SelectedIndex()) + "|" + n->Text() + "\r\n";
    }
    return text;
}

void TGwCheckTree::SaveToStream(TStream* Stream) {
    const std::string text = SaveToText();
    Stream->WriteBuffer(text.data(), int(text.size()));
}

void TGwCheckTree::SaveToFile(const std::string& FileName) {
    TFileStream file(FileName, fmCreate);
    SaveToStream(&file);
}
