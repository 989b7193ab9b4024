// TDockTree: the standard dock manager. Clients sit in a tree of zones laid over the site's client
// area; each visible client gets a grabber strip with a close button. GUI core (platform/vcl).
#include "dragdock.h"

#include <algorithm>

#include "forms.h"
#include "winapi.h"
#include "wingdi.h"

bool TDockZone::Visible() const {
    if (ChildControl)
        return ChildControl->Visible();
    return std::any_of(Children.begin(), Children.end(), [](const auto& z) { return z->Visible(); });
}

TDockTree::TDockTree(TWinControl* ADockSite) : FDockSite(ADockSite), FTopZone(std::make_unique<TDockZone>()) {
    FOldWndProc = FDockSite->WindowProc;
    FDockSite->WindowProc = [this](TMessage& m) { WindowProc(m); };
}

TDockTree::~TDockTree() { FDockSite->WindowProc = FOldWndProc; }

TDockZone* TDockTree::FindControlZone(TControl* Control) const {
    if (!Control)
        return nullptr;
    std::vector<TDockZone*> todo{FTopZone.get()};
    while (!todo.empty()) {
        TDockZone* z = todo.back();
        todo.pop_back();
        if (z->ChildControl == Control)
            return z;
        for (auto& c : z->Children)
            todo.push_back(c.get());
    }
    return nullptr;
}

void TDockTree::InsertControl(TControl* Control, TAlign InsertAt, TControl* DropCtl) {
    if (!Control || FindControlZone(Control))
        return;
    FSizing = nullptr;
    if (TDockZone* r = FindControlZone(FReplacingControl)) {
        r->ChildControl = Control;
        FReplacingControl = nullptr;
        ResetBounds(true);
        return;
    }
    bool stacked = InsertAt == alTop || InsertAt == alBottom;
    TDockOrientation orient = stacked ? doHorizontal : doVertical;
    bool before = InsertAt == alLeft || InsertAt == alTop;
    auto leaf = std::make_unique<TDockZone>();
    leaf->ChildControl = Control;
    TDockZone* top = FTopZone.get();
    if (top->Children.empty()) {
        leaf->Parent = top;
        top->Children.push_back(std::move(leaf));
        ResetBounds(true);
        return;
    }
    // Beside a docked control, or beside everything.
    TDockZone* t = DropCtl ? FindControlZone(DropCtl) : top;
    // Beside the only client is beside everything.
    if (!t || (t->Parent == top && top->Children.size() == 1))
        t = top;
    if (t == top && top->Children.size() == 1 && top->Orientation == doNoOrient)
        top->Orientation = orient;
    if (InsertAt == alLeft || InsertAt == alRight)
        leaf->Size = Control->LRDockWidth();
    else if (stacked)
        leaf->Size = Control->TBDockHeight();
    if (!t->ChildControl && t->Orientation == orient) {
        leaf->Parent = t;
        t->Children.insert(before ? t->Children.begin() : t->Children.end(), std::move(leaf));
    } else {
        // t splits in two: what it held moves one level down, beside the new leaf.
        auto moved = std::make_unique<TDockZone>();
        moved->ChildControl = t->ChildControl;
        moved->Orientation = t->Orientation;
        moved->Children = std::move(t->Children);
        for (auto& c : moved->Children)
            c->Parent = moved.get();
        moved->Parent = t;
        leaf->Parent = t;
        t->ChildControl = nullptr;
        t->Orientation = orient;
        t->Children.clear();
        if (before) {
            t->Children.push_back(std::move(leaf));
            t->Children.push_back(std::move(moved));
        } else {
            t->Children.push_back(std::move(moved));
            t->Children.push_back(std::move(leaf));
        }
    }
    ResetBounds(true);
}

void TDockTree::RemoveZone(TDockZone* Zone) {
    TDockZone* p = Zone->Parent;
    if (!p)
        return;
    std::erase_if(p->Children, [Zone](const auto& z) { return z.get() == Zone; });
    // An inner zone left with one child takes that child's place.
    if (p->Children.size() == 1 && !p->Children[0]->ChildControl) {
        std::unique_ptr<TDockZone> only = std::move(p->Children[0]);
        p->Children = std::move(only->Children);
        for (auto& c : p->Children)
            c->Parent = p;
        p->Orientation = only->Orientation;
    } else if (p->Children.size() == 1 && p != FTopZone.get()) {
        std::unique_ptr<TDockZone> only = std::move(p->Children[0]);
        p->Children.clear();
        p->ChildControl = only->ChildControl;
        p->Orientation = doNoOrient;
    } else if (p->Children.empty() && p != FTopZone.get()) {
        RemoveZone(p);
    }
    if (FTopZone->Children.size() <= 1 && (FTopZone->Children.empty() || FTopZone->Children[0]->ChildControl))
        FTopZone->Orientation = doNoOrient;
}

void TDockTree::RemoveControl(TControl* Control) {
    TDockZone* z = FindControlZone(Control);
    if (!z)
        return;
    FSizing = nullptr;
    if (z == FTopZone.get()) {
        z->ChildControl = nullptr;
        return;
    }
    RemoveZone(z);
    ResetBounds(true);
    FDockSite->Invalidate();
}

void TDockTree::LayZone(TDockZone* Zone, const TRect& R) {
    Zone->Bounds = R;
    if (Zone->ChildControl) {
        TRect r = R;
        AdjustDockRect(Zone->ChildControl, r);
        Zone->ChildControl->SetBoundsRect(r);
        return;
    }
    std::vector<TDockZone*> shown;
    for (auto& c : Zone->Children)
        if (c->Visible())
            shown.push_back(c.get());
    if (shown.empty())
        return;
    bool stacked = Zone->Orientation == doHorizontal;
    int extent = stacked ? R.Height() : R.Width();
    // Zones placed with a size keep it; the last one takes what is left. When the sizes do not fit,
    // all share evenly.
    int fixed = 0;
    for (size_t i = 0; i + 1 < shown.size(); ++i)
        fixed += shown[i]->Size;
    bool even = fixed >= extent;
    for (size_t i = 0; i + 1 < shown.size(); ++i)
        if (shown[i]->Size <= 0)
            even = true;
    int pos = stacked ? R.Top : R.Left;
    int end = stacked ? R.Bottom : R.Right;
    for (size_t i = 0; i < shown.size(); ++i) {
        bool last = i + 1 == shown.size();
        int len = last ? end - pos : even ? extent / int(shown.size()) : shown[i]->Size;
        // Every zone but the last gives its trailing splitter up.
        int zone = last ? len : std::max(0, len - FSplitterWidth);
        TRect r = stacked ? TRect(R.Left, pos, R.Right, pos + zone) : TRect(pos, R.Top, pos + zone, R.Bottom);
        LayZone(shown[i], r);
        pos += len;
    }
}

void TDockTree::ResetBounds(bool) {
    if (FUpdating)
        return;
    FUpdating = true;
    TRect r = FDockSite->ClientRect();
    LayZone(FTopZone.get(), r);
    FUpdating = false;
}

void TDockTree::GetControlBounds(TControl* Control, TRect& CtlBounds) {
    TDockZone* z = FindControlZone(Control);
    CtlBounds = z ? z->Bounds : TRect();
}

void TDockTree::PositionDockRect(TControl*, TControl* DropCtl, TAlign DropAlign, TRect& DockRect) {
    TDockZone* z = FindControlZone(DropCtl);
    TRect r = z ? z->Bounds : FDockSite->ClientRect();
    if (!FTopZone->Children.empty() || z) {
        int w = r.Width(), h = r.Height();
        switch (DropAlign) {
        case alLeft: r.Right = r.Left + w / 2; break;
        case alRight: r.Left = r.Right - w / 2; break;
        case alTop: r.Bottom = r.Top + h / 2; break;
        case alBottom: r.Top = r.Bottom - h / 2; break;
        default: break;
        }
    }
    TPoint tl = FDockSite->ClientToScreen(TPoint(r.Left, r.Top));
    DockRect = Bounds(tl.x, tl.y, r.Width(), r.Height());
}

bool TDockTree::GrabbersOnTop() const {
    TAlign a = FDockSite->Align();
    return a != alTop && a != alBottom;
}

void TDockTree::AdjustDockRect(TControl*, TRect& ARect) {
    if (GrabbersOnTop())
        ARect.Top += FGrabberSize;
    else
        ARect.Left += FGrabberSize;
}

TRect TDockTree::GrabberRect(const TRect& Z) const {
    return GrabbersOnTop() ? TRect(Z.Left, Z.Top, Z.Right, Z.Top + FGrabberSize)
                           : TRect(Z.Left, Z.Top, Z.Left + FGrabberSize, Z.Bottom);
}

TRect TDockTree::CloseButtonRect(const TRect& Z) const {
    int s = FGrabberSize - 2;
    return GrabbersOnTop() ? Bounds(Z.Right - s - 1, Z.Top + 1, s, s) : Bounds(Z.Left + 1, Z.Top + 1, s, s);
}

void TDockTree::PaintDockFrame(TCanvas* Canvas, TControl*, const TRect& ARect) {
    TRect g = GrabberRect(ARect);
    TRect close = CloseButtonRect(ARect);
    Canvas->Brush()->SetColor(clBtnFace);
    Canvas->FillRect(g);
    // Two raised ridges along the strip, up to the close button.
    for (int i = 0; i < 2; ++i) {
        TRect ridge = GrabbersOnTop()
                          ? TRect(g.Left + 2, g.Top + 3 + 4 * i, close.Left - 2, g.Top + 6 + 4 * i)
                          : TRect(g.Left + 3 + 4 * i, close.Bottom + 2, g.Left + 6 + 4 * i, g.Bottom - 2);
        Frame3D(Canvas, ridge, clBtnHighlight, clBtnShadow, 1);
    }
    TRect b = close;
    Frame3D(Canvas, b, clBtnHighlight, clBtnShadow, 1);
    Canvas->Pen()->SetColor(clBtnText);
    Canvas->MoveTo(close.Left + 2, close.Top + 2);
    Canvas->LineTo(close.Right - 2, close.Bottom - 2);
    Canvas->MoveTo(close.Right - 3, close.Top + 2);
    Canvas->LineTo(close.Left + 1, close.Bottom - 2);
}

void TDockTree::PaintSite(HDC DC) {
    if (!DC)
        return;
    TControlCanvas canvas;
    canvas.PaintOn(DC, [&] {
        std::vector<TDockZone*> todo{FTopZone.get()};
        while (!todo.empty()) {
            TDockZone* z = todo.back();
            todo.pop_back();
            if (z->ChildControl && z->ChildControl->Visible())
                PaintDockFrame(&canvas, z->ChildControl, z->Bounds);
            for (auto& c : z->Children)
                todo.push_back(c.get());
        }
    });
}

TControl* TDockTree::GrabberAt(TPoint Pos, bool& OnClose) {
    OnClose = false;
    std::vector<TDockZone*> todo{FTopZone.get()};
    while (!todo.empty()) {
        TDockZone* z = todo.back();
        todo.pop_back();
        if (z->ChildControl && z->ChildControl->Visible() && PtInRect(GrabberRect(z->Bounds), Pos)) {
            OnClose = PtInRect(CloseButtonRect(z->Bounds), Pos);
            return z->ChildControl;
        }
        for (auto& c : z->Children)
            todo.push_back(c.get());
    }
    return nullptr;
}

TDockZone* TDockTree::SplitterAt(TPoint Pos) const {
    std::vector<TDockZone*> todo{FTopZone.get()};
    while (!todo.empty()) {
        TDockZone* z = todo.back();
        todo.pop_back();
        TDockZone* before = nullptr;
        for (auto& c : z->Children) {
            if (!c->Visible())
                continue;
            todo.push_back(c.get());
            if (before) {
                const TRect &a = before->Bounds, &b = c->Bounds;
                TRect gap = z->Orientation == doHorizontal ? TRect(a.Left, a.Bottom, a.Right, b.Top)
                                                           : TRect(a.Right, a.Top, b.Left, a.Bottom);
                if (PtInRect(gap, Pos))
                    return before;
            }
            before = c.get();
        }
    }
    return nullptr;
}

void TDockTree::MoveSplitter(TPoint Pos) {
    TDockZone* p = FSizing->Parent;
    std::vector<TDockZone*> shown;
    for (auto& c : p->Children)
        if (c->Visible())
            shown.push_back(c.get());
    auto at = std::find(shown.begin(), shown.end(), FSizing);
    if (at == shown.end() || at + 1 == shown.end())
        return;
    bool stacked = p->Orientation == doHorizontal;
    auto start = [&](TDockZone* z) { return stacked ? z->Bounds.Top : z->Bounds.Left; };
    TDockZone* next = *(at + 1);
    // The pair keeps its extent: what one zone gains the other gives, neither below a minimum.
    int from = start(FSizing);
    int pairEnd = at + 2 == shown.end() ? (stacked ? p->Bounds.Bottom : p->Bounds.Right) : start(*(at + 2));
    int minimum = FGrabberSize + FSplitterWidth;
    int len = (stacked ? Pos.y : Pos.x) - from + FSplitterWidth / 2;
    len = std::clamp(len, minimum, std::max(minimum, pairEnd - from - minimum));
    FSizing->Size = len;
    next->Size = pairEnd - from - len;
    ResetBounds(true);
    FDockSite->Invalidate();
}

void TDockTree::SetSplitCursor(TDockZone* Zone) {
    ::SetCursor(Screen->Cursors(Zone->Parent->Orientation == doHorizontal ? crVSplit : crHSplit));
}

void TDockTree::WindowProc(TMessage& Message) {
    TPoint pos(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
        if (TDockZone* z = SplitterAt(pos)) {
            // The zones beside keep the lengths they show now, so only the dragged border moves.
            for (auto& c : z->Parent->Children)
                if (c->Visible())
                    c->Size =
                        (z->Parent->Orientation == doHorizontal ? c->Bounds.Height() : c->Bounds.Width()) +
                        FSplitterWidth;
            FSizing = z;
            SetCapture(FDockSite->Handle());
            return;
        }
        break;
    case WM_MOUSEMOVE:
        if (FSizing) {
            MoveSplitter(pos);
            return;
        }
        break;
    case WM_LBUTTONUP:
        if (FSizing) {
            MoveSplitter(pos);
            FSizing = nullptr;
            ReleaseCapture();
            return;
        }
        break;
    case WM_SETCURSOR: {
        TPoint p;
        GetCursorPos(&p);
        TDockZone* z = FSizing ? FSizing : SplitterAt(FDockSite->ScreenToClient(p));
        if (z) {
            SetSplitCursor(z);
            Message.Result = 1;
            return;
        }
        break;
    }
    default: break;
    }
    switch (Message.Msg) {
    case WM_LBUTTONDOWN: {
        bool onClose = false;
        TControl* c = GrabberAt(pos, onClose);
        if (!c)
            break;
        if (onClose) {
            // The close button hides its client (a form closes, so its OnClose runs).
            if (auto* f = dynamic_cast<TCustomForm*>(c))
                f->Close();
            else
                c->Hide();
        } else {
            c->BeginDrag(false);
        }
        return;
    }
    case WM_PAINT:
        FOldWndProc(Message);
        PaintSite(reinterpret_cast<HDC>(Message.WParam));
        return;
    case WM_SIZE:
        FOldWndProc(Message);
        ResetBounds(false);
        return;
    default: break;
    }
    FOldWndProc(Message);
}
