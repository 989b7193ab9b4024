// Trees of the Gw widget library (widget layer, trees): the tree view with state colours, frames,
// node paths and node context menus, and the check tree with three-state boxes that cascade.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Gwframing.h"
#include "comctrls.h"
#include "menus.h"

using TGwTvOnNodeContextMenuEvent =
    std::function<void(TObject* Sender, TTreeNode* Node, TPoint& Pos, TPopupMenu*& Menu)>;

class TGwCustomTreeView : public TGwFramedBase<TCustomTreeView> {
public:
    explicit TGwCustomTreeView(TComponent* AOwner);
    ~TGwCustomTreeView() override;

    TColor NormalColor() const { return FFraming.NormalColor(); }
    // The controller's settings go through the control's own setters, so a derived control hears
    // them as it hears its properties.
    bool SetFramingProperty(TGwFrameControllerProperty Property, int Value) override;
    bool GetAutoExpand() const { return AutoExpand; }
    virtual void SetAutoExpand(bool Value);
    bool AutoSelect() const { return FAutoSelect; }
    virtual void SetAutoSelect(bool Value);
    // The outline around the selected node's text while the tree is unfocused and shows its
    // selection.
    TPen* SelectionPen() { return &FSelectionPen; }
    virtual void SetSelectionPen(const TPen& Value);
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TGwTvOnNodeContextMenuEvent OnNodeContextMenu;

    // The right-clicked node while its menu is prepared (with RightClickSelect), else the selection.
    TTreeNode* GetSelected() const;
    // The texts from the root down to Node, each followed by a backslash; empty for none.
    static std::string PathFromNode(const TTreeNode* Node);
    // The node whose path matches, letter case aside; a missing final backslash is added.
    TTreeNode* NodeFromPath(std::string Path) const;
    void SelectByPath(const std::string& Path);
    // Pushes the state index of Node and of every node below it into the view.
    void UpdateStateIndexDisplay(TTreeNode* Node);
    void InvalidateNode(TTreeNode* Node, bool TextOnly, bool Erase);
    // The frame style and colour drawn now: the hot pair while hot-tracked and focused or hovered.
    TFrameStyle CurrentFrameStyle() const;
    TColor CurrentFrameColor() const;
    bool OverControl() const { return FFraming.MouseOver(); }
    bool ContextMenuHandled() const { return FContextMenuHandled; }
    void FullExpand();
    void FullCollapse();
    virtual void UpdateColors() { FFraming.UpdateColors(); }

protected:
    virtual void UpdateFrame(bool ViaMouse, bool InFocus) { FFraming.UpdateFrame(ViaMouse, InFocus); }
    virtual void RepaintFrame();
    virtual void NodeContextMenu(TTreeNode* Node, TPoint& Pos, TPopupMenu*& Menu);
    // Shows Node's menu at Pos (client coordinates); true when a menu showed.
    virtual bool DoNodeContextMenu(TTreeNode* Node, TPoint Pos);
    virtual void DoPreNodeContextMenu();
    void Expand(TTreeNode* Node) override;
    void Collapse(TTreeNode* Node) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void CreateParams(TCreateParams& Params) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WMNCPaint(TWMNCPaint& Message) override;
    void Dispatch(TMessage& Message) override;

    // IGwFramingHost
    void FramingRepaintFrame() override { RepaintFrame(); }
    void FramingRecreateWindow() override { RecreateWnd(); }
    bool FramingFocused() const override { return FFraming.HasFocus(); }

    TTreeNode* FRClickNode = nullptr;

private:
    // Moves the top row by the wheel's lines, as a thumb-position scroll.
    void WheelScroll(int Lines);
    void NodeRightClicked();
    void AskImages(TMessage& Message);
    void PaintSelectionOutline(TCanvas* DC);

    bool FAutoSelect = false;
    TPen FSelectionPen;
    bool FContextMenuHandled = false;
};

class TGwTreeView : public TGwCustomTreeView {
public:
    explicit TGwTreeView(TComponent* AOwner) : TGwCustomTreeView(AOwner) {}
};

// ---------------------------------------------------------------- check tree

enum TGwCheckState { csUnknown = 0, csUnchecked = 1, csChecked = 2, csPartiallyChecked = 3 };

using TGwCheckTreeChangingEvent =
    std::function<void(TObject* Sender, TTreeNode* Node, TGwCheckState NewState, bool& AllowChange)>;
using TGwCheckTreeChangeEvent = std::function<void(TObject* Sender, TTreeNode* Node, TGwCheckState NewState)>;
using TGwCheckTreeCascadeCompleteEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;

class TGwCheckTree;

// The tree's nodes as lines: tabs for the level, then the text.
class TGwCheckTreeStrings : public TStrings {
public:
    explicit TGwCheckTreeStrings(TTreeNodes* Nodes) : FNodes(Nodes) {}
    std::string Get(int Index) const override;
    int GetCount() const override { return FNodes->Count(); }
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* Object) override;
    void Clear() override { FNodes->Clear(); }
    void Delete(int Index) override;
    void Insert(int Index, const std::string& S) override;
    // An indented line becomes a node after the last one; a lone Ctrl-Z is skipped.
    int Add(const std::string& S) override;

protected:
    void SetUpdateState(bool Updating) override;

private:
    TTreeNodes* FNodes;
};

class TGwCheckTree : public TGwCustomTreeView {
public:
    explicit TGwCheckTree(TComponent* AOwner);
    ~TGwCheckTree() override;

    bool CascadeChecks = true;
    TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor Value);
    void SetFrameColor(TColor Value) override;
    TImageList* CheckImages() const { return FCheckImages.get(); }
    TGwCheckTreeChangingEvent OnStateChanging;
    TGwCheckTreeChangeEvent OnStateChange;
    TNotifyEvent OnUpdateChildren;
    TGwCheckTreeCascadeCompleteEvent OnCascadeComplete;

    static TGwCheckState NodeState(const TTreeNode* Node);
    // The state of the node at absolute Index; csUnknown for an index out of range.
    TGwCheckState GetItemState(int Index) const;
    void SetItemState(int Index, TGwCheckState Value);
    void ChangeNodeCheckState(TTreeNode* Node, TGwCheckState NewState);
    void SetNodeCheckState(TTreeNode* Node, TGwCheckState NewState);
    void ForceCheckState(TTreeNode* Node, TGwCheckState NewState);
    void ToggleCheckState(TTreeNode* Node);
    void UpdateCascadingStates(TTreeNode* Node);
    void UpdateChildrenCascadingStates(TTreeNode* Node);
    void UpdateStateFromChildren(TTreeNode* Node, TTreeNode* IgnoreNode);
    void SetAllNodes(TGwCheckState State);
    void SetAllChildren(TTreeNode* Node, TGwCheckState State);
    // Nodes added since the last paint show an empty box.
    void ShowNewNodesUnchecked();

    // The text format: tabs for the level, then state|image|selected image|text, one line a node.
    void LoadFromFile(const std::string& FileName);
    void LoadFromStream(TStream* Stream);
    void SaveToFile(const std::string& FileName);
    void SaveToStream(TStream* Stream);
    void LoadFromLines(TStrings* Lines);
    std::string SaveToText();

protected:
    virtual void InitStateImages();
    virtual void UpdateParents(TTreeNode* Node, bool Checked);
    virtual void UpdateChildren(TTreeNode* Node, bool Checked);
    virtual void CascadeComplete(TTreeNode* Node);
    virtual bool CanChangeState(TTreeNode* Node, TGwCheckState NewState);
    virtual void StateChange(TTreeNode* Node, TGwCheckState NewState);
    void Delete(TTreeNode* Node) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void Dispatch(TMessage& Message) override;

private:
    static TGwCheckState RuleFromChildren(const TTreeNode* Node, const TTreeNode* IgnoreNode);
    std::unique_ptr<TImageList> FCheckImages;
    TColor FHighlightColor = clHighlight;
    int FMouseDownIndex = -1;
    bool FMouseDownOnCheck = false;
};

// Places a node read at Level after Last (the node read before it, or none); raises
// ETreeViewError for a jump of more than one level or a climb past the top.
TTreeNode* AddNodeAtLevel(TTreeNodes* Nodes, TTreeNode* Last, int Level, const std::string& Text);
