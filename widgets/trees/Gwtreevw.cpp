// Tree view: state colours, the library frame, node paths, auto-select, the selection outline,
// wheel scrolling, image queries and node context menus (widget layer, trees).
#include "Gwtreevw.h"

#include "Gwshellutils.h"
#include "forms.h"
#include "messages.h"
#include "sysinfo.h"
#include "sysutils.h"
#include "winapi.h"

TGwCustomTreeView::TGwCustomTreeView(TComponent* AOwner) : TGwFramedBase(AOwner) {
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

void TGwCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomTreeView::Notification(AComponent, Operation);
    if (Operation == opRemove)
        FFraming.ControllerRemoved(AComponent);
}

// Old comctl32 builds draw broken tool tips in trees.
void TGwCustomTreeView::CreateParams(TCreateParams& Params) {
    TCustomTreeView::CreateParams(Params);
    if (IsWinNT() && ComCtlVersion().High < 0x00040048)
        Params.Style |= TVS_NOTOOLTIPS;
}

// ---- framing -------------------------------------------------------------------------------------

bool TGwCustomTreeView::SetFramingProperty(TGwFrameControllerProperty Property, int Value) {
    switch (Property) {
    case fcpFrameColor: SetFrameColor(Value); return true;
    case fcpDisabledColor: SetDisabledColor(Value); return true;
    case fcpFocusColor: SetFocusColor(Value); return true;
    default: return FFraming.SetFramingProperty(Property, Value);
    }
}

void TGwCustomTreeView::RepaintFrame() {
    if (HandleAllocated())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

TFrameStyle TGwCustomTreeView::CurrentFrameStyle() const {
    return FrameHotTrack() && FFraming.Hot() ? FrameHotStyle() : FrameStyle();
}

TColor TGwCustomTreeView::CurrentFrameColor() const {
    return FrameHotTrack() && FFraming.Hot() ? FrameHotColor() : FrameColor();
}

// The frame is drawn over the client edge, whose ring takes the control's colour.
void TGwCustomTreeView::WMNCPaint(TWMNCPaint& Message) {
    TCustomTreeView::WMNCPaint(Message);
    if (!Message.DC || !FFraming.DrawsFrame())
        return;
    DrawBevel(Message.DC, TRect(0, 0, Width(), Height()), Color(), Color(), 2);
    FFraming.PaintFrame(Message.DC, Width(), Height(), TGwFrameRing::NoColorRing);
    Message.Result = 0;
}

// ---- selection -----------------------------------------------------------------------------------

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

void TGwCustomTreeView::SetSelectionPen(const TPen& Value) {
    FSelectionPen.Assign(Value);
    Invalidate();
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

void TGwCustomTreeView::PaintSelectionOutline(TCanvas* DC) {
    TTreeNode* n = Selected();
    if (!DC || !n || HideSelection || FFraming.HasFocus())
        return;
    const TRect r = n->DisplayRect(true);
    if (r.IsEmpty())
        return;
    DC->Pen()->Assign(FSelectionPen);
    DC->Brush()->SetStyle(bsClear);
    DC->Rectangle(r);
}

void TGwCustomTreeView::UpdateStateIndexDisplay(TTreeNode* Node) {
    if (!Node)
        return;
    const int depth = Node->Level();
    for (TTreeNode* n = Node; n && (n == Node || n->Level() > depth); n = n->GetNext())
        n->SetStateIndex(n->StateIndex());
}

void TGwCustomTreeView::InvalidateNode(TTreeNode* Node, bool TextOnly, bool Erase) {
    if (!Node || !HandleAllocated())
        return;
    const TRect r = Node->DisplayRect(TextOnly);
    InvalidateRect(Handle(), &r, Erase);
}

// ---- paths ---------------------------------------------------------------------------------------

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

// ---- wheel ---------------------------------------------------------------------------------------

void TGwCustomTreeView::WheelScroll(int Lines) {
    if (!HandleAllocated())
        return;
    const int pos = std::max(GetScrollPos(Handle(), SB_VERT) + Lines, 0);
    Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pos), 0);
}

bool TGwCustomTreeView::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    if (!TCustomTreeView::DoMouseWheelDown(Shift, MousePos))
        WheelScroll(Mouse->WheelScrollLines());
    return true;
}

bool TGwCustomTreeView::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    if (!TCustomTreeView::DoMouseWheelUp(Shift, MousePos))
        WheelScroll(-Mouse->WheelScrollLines());
    return true;
}

// ---- images --------------------------------------------------------------------------------------

// Our own answer first; the platform's then runs with the two events detached, so each query
// raises them once.
void TGwCustomTreeView::AskImages(TMessage& Message) {
    auto* di = reinterpret_cast<TNMTVDispInfo*>(Message.LParam);
    if (di->mask & TVIF_IMAGE)
        GetImageIndex(di->hItem);
    if (di->mask & TVIF_SELECTEDIMAGE)
        GetSelectedIndex(di->hItem);
    TTVChangedEvent image = std::move(OnGetImageIndex), selected = std::move(OnGetSelectedIndex);
    OnGetImageIndex = nullptr;
    OnGetSelectedIndex = nullptr;
    auto restore = [&] {
        OnGetImageIndex = std::move(image);
        OnGetSelectedIndex = std::move(selected);
    };
    try {
        TCustomTreeView::Dispatch(Message);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

// ---- context menus -------------------------------------------------------------------------------

void TGwCustomTreeView::NodeContextMenu(TTreeNode* Node, TPoint& Pos, TPopupMenu*& Menu) {
    Menu = PopupMenu();
    if (OnNodeContextMenu)
        OnNodeContextMenu(this, Node, Pos, Menu);
}

bool TGwCustomTreeView::DoNodeContextMenu(TTreeNode* Node, TPoint Pos) {
    TPopupMenu* menu = nullptr;
    NodeContextMenu(Node, Pos, menu);
    if (menu != PopupMenu())
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

// The native right click: the node under the mouse (else the selected one) gets its menu at the
// mouse; the button-up and context-menu messages that follow show nothing more.
void TGwCustomTreeView::NodeRightClicked() {
    if (ComponentState().Contains(csDesigning))
        return;
    TPoint p;
    GetCursorPos(&p);
    p = ScreenToClient(p);
    TTreeNode* n = GetNodeAt(p.x, p.y);
    if (!n)
        n = Selected();
    if (!n)
        return;
    FRClickNode = n;
    try {
        DoNodeContextMenu(n, p);
    } catch (...) {
        FRClickNode = nullptr;
        throw;
    }
    FRClickNode = nullptr;
    FContextMenuHandled = true;
}

void TGwCustomTreeView::KeyDown(WORD& Key, TShiftState Shift) {
    if (Key == VK_APPS || (Key == VK_F10 && Shift.Contains(ssShift))) {
        Key = 0;
        DoPreNodeContextMenu();
        return;
    }
    TCustomTreeView::KeyDown(Key, Shift);
}

// ---- messages ------------------------------------------------------------------------------------

void TGwCustomTreeView::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CN_NOTIFY: {
        const auto* hdr = reinterpret_cast<const TNMHdr*>(Message.LParam);
        if (hdr && hdr->code == TVN_GETDISPINFO) {
            AskImages(Message);
            return;
        }
        if (hdr && hdr->code == NM_RCLICK) {
            NodeRightClicked();
            Message.Result = 1;
            return;
        }
        break;
    }
    case WM_PAINT:
        TCustomTreeView::Dispatch(Message);
        PaintSelectionOutline(reinterpret_cast<TCanvas*>(Message.WParam));
        return;
    case WM_RBUTTONDOWN:
        // A menu shown from the keyboard hears no context-menu message after it: each click starts
        // afresh.
        FContextMenuHandled = false;
        break;
    case WM_RBUTTONUP: {
        // The right click's node menu (NM_RCLICK) and the context menu message both come inside
        // this one; after it a new click starts afresh.
        TControlGuard self(this);
        TCustomTreeView::Dispatch(Message);
        if (self.Alive())
            FContextMenuHandled = false;
        return;
    }
    case WM_CONTEXTMENU:
        // Handled here, never passed on: the node's menu is the tree's own.
        if (!ComponentState().Contains(csDesigning) && !Selected() && !FContextMenuHandled) {
            if (Message.LParam == LPARAM(-1) || DWORD(Message.LParam) == 0xFFFFFFFF) {
                DoPreNodeContextMenu();
            } else {
                const TPoint p = ScreenToClient(TPoint(short(Message.LParamLo()), short(Message.LParamHi())));
                DoNodeContextMenu(nullptr, p);
            }
        }
        FContextMenuHandled = false;
        return;
    case CM_COLORCHANGED:
        TCustomTreeView::Dispatch(Message);
        FFraming.ColorChanged();
        return;
    case CM_SYSCOLORCHANGE:
        TCustomTreeView::Dispatch(Message);
        if (Color() & 0x80000000)
            Perform(CM_COLORCHANGED, 0, 0);
        return;
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
    case WM_SIZE:
        TCustomTreeView::Dispatch(Message);
        if (FFraming.DrawsFrame())
            RepaintFrame();
        return;
    default: break;
    }
    TCustomTreeView::Dispatch(Message);
}
