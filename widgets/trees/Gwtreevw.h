// Trees of the Gw widget library (widget layer, trees): the tree view with state colours, frames,
// node paths and node context menus, and the check tree with three-state boxes that cascade.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Gwcommon.h"
#include "Gwsettings.h"
#include "comctrls.h"
#include "menus.h"

// A tree's nodes do not fit the indentation of a line read.
class ETreeViewError : public Exception {
    using Exception::Exception;
};

using TGwTvOnNodeContextMenuEvent =
    std::function<void(TObject* Sender, TTreeNode* Node, TPoint& Pos, TPopupMenu*& Menu)>;

class TGwCustomTreeView : public TCustomTreeView {
public:
    explicit TGwCustomTreeView(TComponent* AOwner);
    ~TGwCustomTreeView() override;

    TColor DisabledColor() const { return FDisabledColor; }
    virtual void SetDisabledColor(TColor Value);
    TColor FocusColor() const { return FFocusColor; }
    virtual void SetFocusColor(TColor Value);
    TColor NormalColor() const { return FNormalColor; }
    TColor FrameColor() const { return FFrameColor; }
    virtual void SetFrameColor(TColor Value);
    TColor FrameHotColor() const { return FFrameHotColor; }
    virtual void SetFrameHotColor(TColor Value) { ChangeFrame(FFrameHotColor, Value); }
    bool FrameHotTrack() const { return FFrameHotTrack; }
    virtual void SetFrameHotTrack(bool Value);
    TFrameStyle FrameHotStyle() const { return FFrameHotStyle; }
    virtual void SetFrameHotStyle(TFrameStyle Value) { ChangeFrame(FFrameHotStyle, Value); }
    TSides FrameSides() const { return FFrameSides; }
    virtual void SetFrameSides(TSides Value) { ChangeFrame(FFrameSides, Value); }
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    virtual void SetFrameStyle(TFrameStyle Value) { ChangeFrame(FFrameStyle, Value); }
    bool FrameVisible() const { return FFrameVisible; }
    virtual void SetFrameVisible(bool Value) { ChangeFrame(FFrameVisible, Value); }
    TFramingPreference FramingPreference() const { return FFramingPreference; }
    virtual void SetFramingPreference(TFramingPreference Value) { ChangeFrame(FFramingPreference, Value); }
    bool GetAutoExpand() const { return AutoExpand; }
    virtual void SetAutoExpand(bool Value);
    bool AutoSelect() const { return FAutoSelect; }
    virtual void SetAutoSelect(bool Value);
    TPen* SelectionPen() { return &FSelectionPen; }
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
    // The frame style and colour drawn now: the hot pair while hot-tracked and focused or hovered.
    TFrameStyle CurrentFrameStyle() const;
    TColor CurrentFrameColor() const;
    bool OverControl() const { return FOverControl; }
    void FullExpand();
    void FullCollapse();
    virtual void UpdateColors();
    virtual bool UseThemes() const;

protected:
    virtual void UpdateFrame(bool ViaMouse, bool InFocus);
    virtual void RepaintFrame();
    virtual void NodeContextMenu(TTreeNode* Node, TPoint& Pos, TPopupMenu*& Menu);
    // Shows Node's menu at Pos (client coordinates); true when a menu showed.
    virtual bool DoNodeContextMenu(TTreeNode* Node, TPoint Pos);
    virtual void DoPreNodeContextMenu();
    void Expand(TTreeNode* Node) override;
    void Collapse(TTreeNode* Node) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void Loaded() override;
    void Dispatch(TMessage& Message) override;

    TTreeNode* FRClickNode = nullptr;

private:
    template <class T> void ChangeFrame(T& Field, T Value) {
        if (Field == Value)
            return;
        Field = Value;
        RepaintFrame();
    }

    bool FUpdatingColor = false;
    TColor FDisabledColor = clBtnFace;
    TColor FFocusColor = clWindow;
    TColor FNormalColor = clWindow;
    TColor FFrameColor = clBtnShadow;
    TColor FFrameHotColor = clBtnShadow;
    bool FFrameHotTrack = false;
    TFrameStyle FFrameHotStyle = fsFlatBold;
    TSides FFrameSides = AllSides;
    TFrameStyle FFrameStyle = fsFlat;
    bool FFrameVisible = false;
    TFramingPreference FFramingPreference = fpXPThemes;
    bool FAutoSelect = false;
    TPen FSelectionPen;
    bool FContextMenuHandled = false;
    bool FOverControl = false;
    bool FFocused = false;
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
