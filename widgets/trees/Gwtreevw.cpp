// Tree view: state colours, the library frame, node paths, auto-select, node context menus
// (widget layer, trees).
#include "Gwtreevw.h"

#include "Gwthemesrv.h"
#include "forms.h"
#include "messages.h"
#include "sysutils.h"
#include "winapi.h"

TGwCustomTreeView::TGwCustomTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    FSelectionPen.SetColor(clBtnShadow);
}

TGwCustomTreeView::~TGwCustomTreeView() = default;

void TGwCustomTreeView::Loaded() {
    TCustomTreeView::Loaded();
    UpdateColors();
}

void TGwCustomTreeView::UpdateColors() {
    if (ComponentState().Contains(csLoading))
        return;
    FUpdatingColor = true;
    SetColor(!Enabled() ? FDisabledColor : FFocused ? FFocusColor : FNormalColor);
    FUpdatingColor = false;
}

void TGwCustomTreeView::SetDisabledColor(TColor Value) {
    FDisabledColor = Value;
    if (!Enabled())
        UpdateColors();
}

void TGwCustomTreeView::SetFocusColor(TColor Value) {
    FFocusColor = Value;
    if (FFocused)
        UpdateColors();
}

void TGwCustomTreeView::SetFrameColor(TColor Value) { ChangeFrame(FFrameColor, Value); }

void TGwCustomTreeView::SetFrameHotTrack(bool Value) {
    FFrameHotTrack = Value;
    if (Value) {
        FFrameVisible = true;
        if (!ComponentState().Contains(csLoading))
            FFrameSides = AllSides;
    }
    RepaintFrame();
}

void TGwCustomTreeView::RepaintFrame() {
    if (HandleAllocated())
        SendMessage(Handle(), WM_NCPAINT, 0, 0);
}

bool TGwCustomTreeView::UseThemes() const {
    return FFramingPreference == fpXPThemes && ThemeServices()->ThemesEnabled();
}

TFrameStyle TGwCustomTreeView::CurrentFrameStyle() const {
    return FFrameHotTrack && (FFocused || FOverControl) ? FFrameHotStyle : FFrameStyle;
}

TColor TGwCustomTreeView::CurrentFrameColor() const {
    return FFrameHotTrack && (FFocused || FOverControl) ? FFrameHotColor : FFrameColor;
}

void TGwCustomTreeView::UpdateFrame(bool ViaMouse, bool InFocus) {
    if (ViaMouse)
        FOverControl = InFocus;
    else
        FFocused = InFocus;
    if (FFrameHotTrack)
        RepaintFrame();
    UpdateColors();
}

void TGwCustomTreeView::SetAutoExpand(bool Value) {
    AutoExpand = Value;
    if (Value)
        FAutoSelect = false;
}

void TGwCustomTreeView::SetAutoSelect(bool Value) {
    FAutoSelect = Value;
    if (Value)
        AutoExpand = false;
}

void TGwCustomTreeView::Expand(TTreeNode* Node) {
    TCustomTreeView::Expand(Node);
    if (FAutoSelect && Node)
        SetSelected(Node);
}

void TGwCustomTreeView::Collapse(TTreeNode* Node) {
    if (FAutoSelect && Node)
        SetSelected(Node);
    TCustomTreeView::Collapse(Node);
}

void TGwCustomTreeView::FullExpand() {
    const bool autoSelect = FAutoSelect;
    FAutoSelect = false;
    TCustomTreeView::FullExpand();
    FAutoSelect = autoSelect;
}

void TGwCustomTreeView::FullCollapse() {
    const bool autoSelect = FAutoSelect;
    FAutoSelect = false;
    TCustomTreeView::FullCollapse();
    FAutoSelect = autoSelect;
}

TTreeNode* TGwCustomTreeView::GetSelected() const {
    if (!HandleAllocated())
        return nullptr;
    if (FRClickNode && RightClickSelect)
        return FRClickNode;
    return Selected();
}

std::string TGwCustomTreeView::PathFromNode(const TTreeNode* Node) {
    std::string path;
    for (const TTreeNode* n = Node; n; n = n->Parent())
        path = n->Text() + "\\" + path;
    return path;
}

TTreeNode* TGwCustomTreeView::NodeFromPath(std::string Path) const {
    if (Path.empty())
        return nullptr;
    if (Path.back() != '\\')
        Path += '\\';
    const std::string wanted = AnsiUpperCase(Path);
    const TCursor saved = Screen->Cursor();
    Screen->SetCursor(crHourGlass);
    TTreeNode* found = nullptr;
    TTreeNode* level = Items()->GetFirstNode();
    // Each step matches one more part of the path among the children of the node found before.
    for (size_t end = wanted.find('\\'); end != std::string::npos; end = wanted.find('\\', end + 1)) {
        const std::string prefix = wanted.substr(0, end + 1);
        TTreeNode* match = nullptr;
        for (TTreeNode* n = level; n; n = n->getNextSibling())
            if (AnsiUpperCase(PathFromNode(n)) == prefix) {
                match = n;
                break;
            }
        found = match;
        if (!match)
            break;
        level = match->getFirstChild();
    }
    Screen->SetCursor(saved);
    return found;
}

void TGwCustomTreeView::SelectByPath(const std::string& Path) {
    if (TTreeNode* n = NodeFromPath(Path))
        SetSelected(n);
}

void TGwCustomTreeView::NodeContextMenu(TTreeNode* Node, TPoint& Pos, TPopupMenu*& Menu) {
    Menu = PopupMenu();
    if (OnNodeContextMenu)
        OnNodeContextMenu(this, Node, Pos, Menu);
}

bool TGwCustomTreeView::DoNodeContextMenu(TTreeNode* Node, TPoint Pos) {
    TPopupMenu* menu = nullptr;
    TPopupMenu* const before = PopupMenu();
    NodeContextMenu(Node, Pos, menu);
    if (menu != before)
        FContextMenuHandled = true;
    if (!menu)
        return false;
    SetMouseCapture(false);
    menu->SetPopupComponent(this);
    const TPoint screen = ClientToScreen(Pos);
    menu->Popup(screen.x, screen.y);
    return true;
}

void TGwCustomTreeView::DoPreNodeContextMenu() {
    if (TTreeNode* n = Selected()) {
        const TRect r = n->DisplayRect(true);
        DoNodeContextMenu(n, TPoint(r.Left + r.Width() / 2, r.Top + r.Height() / 2));
    } else if (PopupMenu()) {
        const TPoint p = ClientToScreen(TPoint(0, 0));
        PopupMenu()->SetPopupComponent(this);
        PopupMenu()->Popup(p.x, p.y);
    }
}

void TGwCustomTreeView::KeyDown(WORD& Key, TShiftState Shift) {
    if (Key == VK_APPS || (Key == VK_F10 && Shift.Contains(ssShift))) {
        Key = 0;
        DoPreNodeContextMenu();
        return;
    }
    TCustomTreeView::KeyDown(Key, Shift);
}

void TGwCustomTreeView::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_COLORCHANGED:
        if (!FUpdatingColor) {
            if (FFocusColor == FNormalColor)
                FFocusColor = Color();
            FNormalColor = Color();
        }
        break;
    case CM_ENABLEDCHANGED:
        TCustomTreeView::Dispatch(Message);
        UpdateColors();
        return;
    case CM_ENTER:
        TCustomTreeView::Dispatch(Message);
        UpdateFrame(false, true);
        return;
    case CM_EXIT:
        TCustomTreeView::Dispatch(Message);
        UpdateFrame(false, false);
        return;
    case CM_MOUSEENTER:
        TCustomTreeView::Dispatch(Message);
        UpdateFrame(true, true);
        if (OnMouseEnter)
            OnMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        TCustomTreeView::Dispatch(Message);
        UpdateFrame(true, false);
        if (OnMouseLeave)
            OnMouseLeave(this);
        return;
    case WM_CONTEXTMENU:
        // Handled here, never passed on: the node's menu is the tree's own.
        if (!ComponentState().Contains(csDesigning) && !Selected() && !FContextMenuHandled) {
            if (Message.LParam == LPARAM(-1)) {
                DoPreNodeContextMenu();
            } else {
                const TPoint p = ScreenToClient(TPoint(short(Message.LParamLo()), short(Message.LParamHi())));
                DoNodeContextMenu(nullptr, p);
            }
        }
        FContextMenuHandled = false;
        return;
    default: break;
    }
    TCustomTreeView::Dispatch(Message);
}
