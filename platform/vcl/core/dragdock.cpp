// Drag and drop and docking over the mouse capture: the one running drag, its CM_DRAG phases, dock
// sites, ManualDock/ManualFloat and floating windows. GUI core (platform/vcl).
#include "dragdock.h"

#include <algorithm>
#include <cstdlib>

#include "handle.h"
#include "winapi.h"
#include "wingdi.h"

namespace {

TDockPreviewHook gPreviewHook;

// The running drag (one at a time, as the mouse is one).
struct TDrag {
    TControl* Control = nullptr;
    TDragObject* Object = nullptr;
    bool Docking = false;
    bool Active = false; // past the threshold
    TPoint Start;
    int Threshold = 5;
    TControl* Target = nullptr;
    bool Accepted = false;
    TPoint GrabOffset; // mouse from the control's top-left, for the floating rectangle
    TCursor SavedCursor = crDefault;
    int Hook = 0; // the application message hook that feeds the drag
} gDrag;

bool IsInside(const TControl* c, const TControl* outer) {
    for (; c; c = c->Parent())
        if (c == outer)
            return true;
    return false;
}

// The window a dragged control floats in (itself for a form), which a drag must not land on.
TControl* FloatWindowOf(TControl* c) {
    if (!c)
        return nullptr;
    if (!c->Parent() && dynamic_cast<TCustomForm*>(c))
        return c;
    if (auto* host = dynamic_cast<TCustomDockForm*>(c->HostDockSite()))
        return host;
    return nullptr;
}

TRect ScreenBounds(TControl* c) {
    if (!c->Parent())
        return c->BoundsRect();
    TPoint o = c->Parent()->ClientToScreen(TPoint(c->Left(), c->Top()));
    return Bounds(o.x, o.y, c->Width(), c->Height());
}

TObject* SourceOf(TDragObject* o) {
    if (auto* c = dynamic_cast<TDragControlObject*>(o))
        return c->Control();
    return o;
}

LRESULT SendDrag(const TDrag& d, TControl* target, TDragMessage phase, TPoint pos) {
    TDragRec rec;
    rec.Pos = pos;
    rec.Source = d.Object;
    rec.Target = target;
    rec.Docking = d.Docking;
    return target->Perform(CM_DRAG, WPARAM(phase), reinterpret_cast<LPARAM>(&rec));
}

// The shown dock sites inside w, the innermost first.
void CollectDockSites(TWinControl* w, std::vector<TWinControl*>& sites) {
    for (int i = 0; i < w->ControlCount(); ++i)
        if (auto* c = dynamic_cast<TWinControl*>(w->Controls(i)); c && c->Showing())
            CollectDockSites(c, sites);
    if (w->DockSite())
        sites.push_back(w);
}

TWinControl* DockTargetAt(TPoint p) {
    TControl* src = gDrag.Control;
    TControl* own = FloatWindowOf(src);
    auto takes = [&](TWinControl* w) {
        if (!w->DockSite() || IsInside(w, src) || w == own)
            return false;
        TRect influence;
        bool can = true;
        w->GetSiteInfo(src, influence, p, can);
        return can && PtInRect(influence, p);
    };
    // The site under the mouse and the sites around it first.
    for (TControl* c = FindDragTarget(p, false); c; c = c->Parent())
        if (auto* w = dynamic_cast<TWinControl*>(c); w && takes(w))
            return w;
    // Then any site whose influence reaches the mouse: a site that keeps no room (a dock panel of
    // height 0 along a window's edge) is under no mouse, yet takes a form dropped beside it.
    for (int i = Screen ? Screen->FormCount() - 1 : -1; i >= 0; --i) {
        TCustomForm* f = Screen->Forms(i);
        if (f->Parent() || f == own || !f->Showing())
            continue;
        std::vector<TWinControl*> sites;
        CollectDockSites(f, sites);
        for (TWinControl* w : sites)
            if (takes(w))
                return w;
    }
    return nullptr;
}

} // namespace

// The engine: friend of the drag objects, driven by the input filter of the message boundary.
class TDragEngine {
public:
    static void DragTo(TPoint p);
    static void Done(bool Drop);
    // Sees every queued message while the drag runs: the mouse and Escape drive it.
    static bool Hook(TMsg& Msg);
};

void TDragEngine::DragTo(TPoint p) {
    TDragObject* o = gDrag.Object;
    o->FDragPos = p;
    TControl* target = gDrag.Docking ? DockTargetAt(p) : FindDragTarget(p, false);
    auto* dock = dynamic_cast<TDragDockObject*>(o);
    if (dock && target) {
        auto* site = static_cast<TWinControl*>(target);
        TPoint cp = site->ScreenToClient(p);
        TControl* on = site->ControlAtPos(cp, false, true);
        dock->DropOnControl = on && on != gDrag.Control && on->HostDockSite() == site ? on : nullptr;
        dock->DropAlign = dock->DropOnControl
                              ? dock->DropOnControl->GetDockEdge(TPoint(cp.x - dock->DropOnControl->Left(),
                                                                        cp.y - dock->DropOnControl->Top()))
                          : site->DockClientCount() ? site->GetDockEdge(cp)
                                                    : alClient;
    }
    if (target != gDrag.Target) {
        TControlGuard old(gDrag.Target);
        if (gDrag.Target && old.Alive())
            SendDrag(gDrag, gDrag.Target, dmDragLeave, p);
        gDrag.Target = target;
        if (target)
            SendDrag(gDrag, target, dmDragEnter, p);
    }
    o->FDragTarget = target;
    gDrag.Accepted = target && SendDrag(gDrag, target, dmDragMove, p) != 0;
    if (dock) {
        dock->Floating = !gDrag.Accepted;
        if (dock->Floating) {
            TControl* c = gDrag.Control;
            dock->DockRect = Bounds(p.x - gDrag.GrabOffset.x, p.y - gDrag.GrabOffset.y, c->UndockWidth(),
                                    c->UndockHeight());
        }
        if (!dock->FShown || dock->FShownRect != dock->DockRect) {
            dock->EraseDragDockImage();
            dock->DrawDragDockImage();
        }
    }
    if (Screen)
        Screen->SetCursor(o->GetDragCursor(gDrag.Accepted, p.x, p.y));
}

void TDragEngine::Done(bool Drop) {
    TDrag d = gDrag;
    gDrag = TDrag();
    if (Application && d.Hook)
        Application->UnhookMessages(d.Hook);
    TControlGuard source(d.Control), target(d.Target);
    if (Screen)
        Screen->SetCursor(d.SavedCursor);
    if (d.Control && d.Control->MouseCapture())
        d.Control->SetMouseCapture(false);
    TDragObject* o = d.Object;
    o->FCancelling = !Drop;
    TPoint p = o->FDragPos;
    auto* dock = dynamic_cast<TDragDockObject*>(o);
    if (dock)
        dock->EraseDragDockImage();
    bool accepted = Drop && d.Active && d.Accepted && d.Target && target.Alive();
    TControl* to = accepted ? d.Target : nullptr;
    if (d.Target && target.Alive() && !accepted && d.Active)
        SendDrag(d, d.Target, dmDragLeave, p);
    if (dock) {
        if (accepted) {
            auto* site = static_cast<TWinControl*>(d.Target);
            TWinControl* host = d.Control->HostDockSite();
            if (!host || host->DoUnDock(site, d.Control)) {
                TPoint cp = site->ScreenToClient(p);
                site->DockDrop(dock, cp.x, cp.y);
            }
        } else if (Drop && d.Active && dock->Floating && source.Alive()) {
            d.Control->Perform(CM_FLOAT, 0, reinterpret_cast<LPARAM>(dock));
        }
    } else if (accepted) {
        TDragRec rec;
        rec.Pos = p;
        rec.Source = o;
        rec.Target = d.Target;
        d.Target->Perform(CM_DRAG, dmDragDrop, reinterpret_cast<LPARAM>(&rec));
    }
    if (source.Alive()) {
        TPoint cp = to ? to->ScreenToClient(p) : TPoint(0, 0);
        o->Finished(to, cp.x, cp.y, accepted);
    }
    if (o->AutoFree)
        delete o;
}

bool TDragEngine::Hook(TMsg& Msg) {
    TWinControl* c = Msg.hwnd ? FindControl(Msg.hwnd) : nullptr;
    if (!gDrag.Control || !c)
        return false;
    TMessage m = MakeMessage(Msg.message, Msg.wParam, Msg.lParam);
    if (m.Msg == WM_KEYDOWN && m.WParam == VK_ESCAPE) {
        Done(false);
        return true;
    }
    if (m.Msg < WM_MOUSEFIRST || m.Msg > WM_MOUSELAST)
        return false;
    TPoint p = c->ClientToScreen(TPoint(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)));
    switch (m.Msg) {
    case WM_MOUSEMOVE:
        if (!gDrag.Active) {
            if (std::abs(p.x - gDrag.Start.x) < gDrag.Threshold &&
                std::abs(p.y - gDrag.Start.y) < gDrag.Threshold)
                return false;
            gDrag.Active = true;
        }
        DragTo(p);
        return true;
    case WM_LBUTTONUP:
        if (!gDrag.Active) {
            // Released before the drag began: a click after all.
            Done(false);
            return false;
        }
        gDrag.Object->FDragPos = p;
        Done(true);
        return true;
    case WM_RBUTTONDOWN: Done(false); return true;
    default: return gDrag.Active;
    }
}

// ---- drag objects --------------------------------------------------------------------------------

TCursor TDragObject::GetDragCursor(bool Accepted, int, int) {
    return Accepted ? TCursor(crDrag) : TCursor(crNoDrop);
}

void TDragObject::Finished(TObject*, int, int, bool) {}

TCursor TDragControlObject::GetDragCursor(bool Accepted, int, int) {
    return Accepted ? FControl->DragCursor() : TCursor(crNoDrop);
}

void TDragControlObject::Finished(TObject* Target, int X, int Y, bool) { FControl->DoEndDrag(Target, X, Y); }

void TDragDockObject::Finished(TObject* Target, int X, int Y, bool) { FControl->DoEndDock(Target, X, Y); }

namespace {

// Inverts a frame of width w around r (screen coordinates) on the overlay of window top: drawing it
// twice leaves the window as it was.
void XorFrame(TWinControl* top, const TRect& given, int w) {
    if (!top || !top->HandleAllocated())
        return;
    // A site may give its preview upside down (a strip above a panel along the bottom edge).
    const TRect r(std::min(given.Left, given.Right), std::min(given.Top, given.Bottom),
                  std::max(given.Left, given.Right), std::max(given.Top, given.Bottom));
    TRect wr;
    GetWindowRect(top->Handle(), &wr);
    HDC dc = GetDCEx(top->Handle(), nullptr, DCX_WINDOW | DCX_CACHE);
    if (!dc)
        return;
    dc->Brush()->SetColor(clWhite);
    int x = r.Left - wr.Left, y = r.Top - wr.Top, cx = r.Width(), cy = r.Height();
    PatBlt(dc, x, y, cx, w, PATINVERT);
    PatBlt(dc, x, y + cy - w, cx, w, PATINVERT);
    PatBlt(dc, x, y + w, w, cy - 2 * w, PATINVERT);
    PatBlt(dc, x + cx - w, y + w, w, cy - 2 * w, PATINVERT);
    ReleaseDC(top->Handle(), dc);
}

} // namespace

void TDragDockObject::DrawDragDockImage() {
    FShownRect = DockRect;
    FShown = true;
    if (gPreviewHook) {
        gPreviewHook(FShownRect, FrameWidth, true);
        return;
    }
    // Only over a site is there a window to draw on; a floating preview shows nothing.
    TControl* top = FDragTarget;
    while (top && top->Parent())
        top = top->Parent();
    FShownOn = dynamic_cast<TWinControl*>(top);
    FShownOnAlive = std::make_unique<TControlGuard>(FShownOn);
    XorFrame(FShownOn, FShownRect, FrameWidth);
}

void TDragDockObject::EraseDragDockImage() {
    if (!FShown)
        return;
    FShown = false;
    if (gPreviewHook) {
        gPreviewHook(FShownRect, FrameWidth, false);
        return;
    }
    if (FShownOnAlive && FShownOnAlive->Alive())
        XorFrame(FShownOn, FShownRect, FrameWidth);
    FShownOn = nullptr;
}

void SetDockPreviewHook(TDockPreviewHook Hook) { gPreviewHook = std::move(Hook); }

TControl* DragControl() { return gDrag.Control; }

TDragObject* DragObject() { return gDrag.Object; }

void CancelDrag() {
    if (gDrag.Control)
        TDragEngine::Done(false);
}

TControl* FindDragTarget(TPoint ScreenPos, bool AllowDisabled) {
    if (!Screen)
        return nullptr;
    TControl* skip = FloatWindowOf(gDrag.Docking ? gDrag.Control : nullptr);
    TWinControl* top = nullptr;
    for (int i = Screen->FormCount() - 1; i >= 0 && !top; --i) {
        TCustomForm* f = Screen->Forms(i);
        if (!f->Parent() && f != skip && f->Showing() && PtInRect(f->BoundsRect(), ScreenPos))
            top = f;
    }
    if (!top)
        return nullptr;
    TControl* c = top;
    while (auto* w = dynamic_cast<TWinControl*>(c)) {
        TControl* child = w->ControlAtPos(w->ScreenToClient(ScreenPos), AllowDisabled, true);
        if (!child || (gDrag.Docking && child == gDrag.Control))
            break;
        c = child;
    }
    return c;
}

// ---- TControl ------------------------------------------------------------------------------------

void TControl::BeginDrag(bool Immediate, int Threshold) {
    if (gDrag.Control)
        return;
    TPoint start;
    GetCursorPos(&start);
    gDrag.Control = this;
    gDrag.Docking = FDragKind == dkDock;
    gDrag.Start = start;
    gDrag.Threshold = Threshold < 0 ? 5 : Threshold;
    TRect r = ScreenBounds(this);
    gDrag.GrabOffset = TPoint(std::clamp(start.x - r.Left, 0, std::max(0, UndockWidth() - 1)),
                              std::clamp(start.y - r.Top, 0, std::max(0, UndockHeight() - 1)));
    gDrag.SavedCursor = Screen ? Screen->Cursor() : TCursor(crDefault);
    TControlGuard self(this);
    if (gDrag.Docking) {
        CalcDockSizes();
        TDragDockObject* o = nullptr;
        DoStartDock(o);
        if (!o) {
            o = new TDragDockObject(this);
            o->AutoFree = true;
        }
        o->DockRect = r;
        gDrag.Object = o;
    } else {
        TDragObject* o = nullptr;
        DoStartDrag(o);
        if (!o) {
            o = new TDragControlObject(this);
            o->AutoFree = true;
        }
        gDrag.Object = o;
    }
    if (!self.Alive()) {
        CancelDrag();
        return;
    }
    gDrag.Object->FDragPos = start;
    if (Application)
        gDrag.Hook = Application->HookMessages([](TMsg& m) { return TDragEngine::Hook(m); });
    SetMouseCapture(true);
    if (Immediate) {
        gDrag.Active = true;
        TDragEngine::DragTo(start);
    }
}

void TControl::EndDrag(bool Drop) {
    if (gDrag.Control == this)
        TDragEngine::Done(Drop);
}

bool TControl::Dragging() const { return gDrag.Control == this; }

bool TControl::Floating() const {
    if (!FHostDockSite)
        return !FParent && dynamic_cast<const TCustomForm*>(this);
    return dynamic_cast<TCustomDockForm*>(FHostDockSite) != nullptr;
}

void TControl::DoStartDrag(TDragObject*& DragObject) {
    if (OnStartDrag)
        OnStartDrag(this, DragObject);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    Accept = false;
    if (OnDragOver) {
        Accept = true;
        OnDragOver(this, Source, X, Y, State, Accept);
    }
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
    if (OnDragDrop)
        OnDragDrop(this, Source, X, Y);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y) {
    if (OnEndDrag)
        OnEndDrag(this, Target, X, Y);
}

void TControl::DoStartDock(TDragDockObject*& DragObject) {
    if (OnStartDock)
        OnStartDock(this, DragObject);
}

void TControl::DoEndDock(TObject* Target, int X, int Y) {
    if (OnEndDock)
        OnEndDock(this, Target, X, Y);
}

void TControl::CMDrag(TMessage& Message) {
    auto* rec = reinterpret_cast<TDragRec*>(Message.LParam);
    if (!rec || !rec->Source)
        return;
    TPoint cp = ScreenToClient(rec->Pos);
    auto phase = TDragMessage(Message.WParam);
    if (phase == dmDragDrop) {
        DragDrop(SourceOf(rec->Source), cp.x, cp.y);
        return;
    }
    if (phase != dmDragEnter && phase != dmDragLeave && phase != dmDragMove)
        return;
    TDragState state = phase == dmDragEnter ? dsDragEnter : phase == dmDragLeave ? dsDragLeave : dsDragMove;
    bool accept = false;
    if (rec->Docking) {
        if (auto* w = dynamic_cast<TWinControl*>(this))
            w->DockOver(static_cast<TDragDockObject*>(rec->Source), cp.x, cp.y, state, accept);
    } else {
        DragOver(SourceOf(rec->Source), cp.x, cp.y, state, accept);
    }
    Message.Result = accept ? 1 : 0;
}

void TControl::CMFloat(TMessage& Message) {
    auto* o = reinterpret_cast<TDragDockObject*>(Message.LParam);
    if (!o)
        return;
    if (!FParent && !FHostDockSite && dynamic_cast<TCustomForm*>(this))
        SetBoundsRect(o->DockRect); // already floating: it only moves
    else if (auto* host = dynamic_cast<TCustomDockForm*>(FHostDockSite))
        host->SetBounds(o->DockRect.Left, o->DockRect.Top, host->Width(), host->Height());
    else
        ManualFloat(o->DockRect);
}

void TControl::CalcDockSizes() {
    if (Floating()) {
        FUndockWidth = Width();
        FUndockHeight = Height();
    } else if (FHostDockSite) {
        TAlign a = FHostDockSite->Align();
        if (a == alLeft || a == alRight)
            FLRDockWidth = Width();
        else if (a == alTop || a == alBottom)
            FTBDockHeight = Height();
    }
}

TAlign TControl::GetDockEdge(TPoint MousePos) {
    int w = Width(), h = Height();
    int left = MousePos.x, right = w - MousePos.x, top = MousePos.y, bottom = h - MousePos.y;
    int m = std::min({left, right, top, bottom});
    if (m == left)
        return alLeft;
    if (m == right)
        return alRight;
    if (m == top)
        return alTop;
    return alBottom;
}

void TControl::DoDock(TWinControl* NewDockSite, TRect& ARect) {
    if (NewDockSite && NewDockSite->UseDockManager() && NewDockSite->DockManager())
        SetAlign(alNone);
    if (!NewDockSite || !NewDockSite->UseDockManager() || !NewDockSite->DockManager())
        SetBoundsRect(ARect);
}

void TControl::Dock(TWinControl* NewDockSite, const TRect& ARect) {
    TWinControl* old = FHostDockSite;
    TRect r = ARect;
    FControlState << csDocking;
    TControlGuard self(this);
    if (old != NewDockSite && old)
        std::erase(old->FDockClients, this);
    FHostDockSite = NewDockSite;
    if (NewDockSite)
        SetParent(NewDockSite);
    else if (FParent)
        SetParent(nullptr);
    DoDock(NewDockSite, r);
    FControlState >> csDocking;
    if (NewDockSite && old != NewDockSite) {
        NewDockSite->FDockClients.push_back(this);
        NewDockSite->DoAddDockClient(this, r);
    }
    if (old && old != NewDockSite)
        old->DoRemoveDockClient(this);
}

bool TControl::ManualDock(TWinControl* NewDockSite, TControl* DropControl, TAlign ControlSide) {
    if (!NewDockSite)
        return ManualFloat(Bounds(Left(), Top(), UndockWidth(), UndockHeight()));
    if (FHostDockSite && !FHostDockSite->DoUnDock(NewDockSite, this))
        return false;
    CalcDockSizes();
    TDragDockObject o(this);
    o.Floating = false;
    o.DropAlign = ControlSide;
    o.DropOnControl = DropControl;
    TPoint origin = NewDockSite->ClientToScreen(TPoint(0, 0));
    o.DockRect = Bounds(origin.x, origin.y, Width(), Height());
    TPoint centre(Width() / 2, Height() / 2);
    o.FDragPos = NewDockSite->ClientToScreen(centre);
    NewDockSite->Perform(CM_DOCKCLIENT, reinterpret_cast<WPARAM>(&o), MAKELPARAM(centre.x, centre.y));
    return true;
}

bool TControl::ManualFloat(const TRect& ScreenPos) {
    if (FHostDockSite && !FHostDockSite->DoUnDock(nullptr, this))
        return false;
    CalcDockSizes();
    if (dynamic_cast<TCustomForm*>(this)) {
        bool shown = Visible();
        Dock(nullptr, ScreenPos);
        if (shown)
            static_cast<TCustomForm*>(this)->Show();
        return true;
    }
    auto* host = new TCustomDockForm(Application);
    host->SetBoundsRect(ScreenPos);
    TDragDockObject o(this);
    o.Floating = false;
    o.DropAlign = alClient;
    o.DockRect = ScreenPos;
    host->Perform(CM_DOCKCLIENT, reinterpret_cast<WPARAM>(&o), 0);
    host->SetCaption(Caption());
    if (Visible())
        host->Show();
    return true;
}

// ---- TWinControl ---------------------------------------------------------------------------------

void TWinControl::SetDockSite(bool v) {
    FDockSite = v;
    if (v && FUseDockManager) {
        TDockTree* m = CreateDockManager();
        if (m != FDockManager.get())
            FDockManager.reset(m);
    } else if (!v) {
        FDockManager.reset();
    }
}

void TWinControl::SetUseDockManager(bool v) {
    FUseDockManager = v;
    if (!v)
        FDockManager.reset();
    else if (FDockSite)
        SetDockSite(true);
}

void TWinControl::SetDockManager(TDockTree* Manager) { FDockManager.reset(Manager); }

TDockTree* TWinControl::CreateDockManager() {
    if (!FDockManager && FDockSite && FUseDockManager)
        return new TDockTree(this);
    return FDockManager.get();
}

void TWinControl::DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept) {
    PositionDockRect(Source);
    Accept = true;
    if (OnDockOver)
        OnDockOver(this, Source, X, Y, State, Accept);
}

void TWinControl::PositionDockRect(TDragDockObject* Source) {
    if (FUseDockManager && FDockManager) {
        FDockManager->PositionDockRect(Source->Control(), Source->DropOnControl, Source->DropAlign,
                                       Source->DockRect);
        return;
    }
    TRect c = GetClientRect();
    TPoint o = ClientToScreen(TPoint(0, 0));
    Source->DockRect = Bounds(o.x, o.y, c.Width(), c.Height());
}

void TWinControl::DockDrop(TDragDockObject* Source, int X, int Y) {
    TControlGuard self(this);
    LRESULT r = Perform(CM_DOCKCLIENT, reinterpret_cast<WPARAM>(Source), MAKELPARAM(X, Y));
    if (self.Alive() && r >= 0 && OnDockDrop)
        OnDockDrop(this, Source, X, Y);
}

bool TWinControl::DoUnDock(TWinControl* NewTarget, TControl* Client) {
    bool allow = true;
    if (OnUnDock)
        OnUnDock(this, Client, NewTarget, allow);
    if (allow)
        Perform(CM_UNDOCKCLIENT, reinterpret_cast<WPARAM>(NewTarget), reinterpret_cast<LPARAM>(Client));
    return allow;
}

void TWinControl::GetSiteInfo(TControl* Client, TRect& InfluenceRect, TPoint MousePos, bool& CanDock) {
    InfluenceRect = ScreenBounds(this);
    InflateRect(InfluenceRect, 10, 10);
    CanDock = true;
    if (OnGetSiteInfo)
        OnGetSiteInfo(this, Client, InfluenceRect, MousePos, CanDock);
}

void TWinControl::CMDockClient(TMessage& Message) {
    auto* o = reinterpret_cast<TDragDockObject*>(Message.WParam);
    if (!o || !o->Control())
        return;
    TRect r = o->DockRect;
    TPoint tl = ScreenToClient(TPoint(r.Left, r.Top));
    TRect dest = Bounds(tl.x, tl.y, r.Width(), r.Height());
    DisableAlign();
    o->Control()->Dock(this, dest);
    if (FUseDockManager && FDockManager)
        FDockManager->InsertControl(o->Control(), o->DropAlign, o->DropOnControl);
    EnableAlign();
}

void TWinControl::CMUnDockClient(TMessage& Message) {
    auto* client = reinterpret_cast<TControl*>(Message.LParam);
    if (FUseDockManager && FDockManager && client)
        FDockManager->RemoveControl(client);
}

void TWinControl::CMDockNotification(TMessage&) {
    if (FUseDockManager && FDockManager) {
        FDockManager->ResetBounds(true);
        Invalidate();
    }
}

void TWinControl::DoAddDockClient(TControl*, const TRect&) {}

void TWinControl::DoRemoveDockClient(TControl*) {}

void TWinControl::WMNCLButtonDown(TMessage& Message) {
    if (Message.WParam == WPARAM(HTCAPTION) && DragKind() == dkDock && DragMode() == dmAutomatic)
        BeginDrag(false);
}

// ---- TCustomDockForm -----------------------------------------------------------------------------

TCustomDockForm::TCustomDockForm(TComponent* AOwner) : TCustomForm(AOwner) {
    SetBorderStyle(bsSizeToolWin);
    SetDragKind(dkDock);
    SetDragMode(dmAutomatic);
    SetDockSite(true);
}

void TCustomDockForm::WMNCLButtonDown(TMessage& Message) {
    // The caption drags the one client along, not the window made for it.
    if (Message.WParam == WPARAM(HTCAPTION) && DockClientCount() == 1)
        DockClients(0)->BeginDrag(false);
    else
        TCustomForm::WMNCLButtonDown(Message);
}

void TCustomDockForm::DoAddDockClient(TControl* Client, const TRect& ARect) {
    TCustomForm::DoAddDockClient(Client, ARect);
    Client->SetAlign(alClient);
}

void TCustomDockForm::DoRemoveDockClient(TControl* Client) {
    TCustomForm::DoRemoveDockClient(Client);
    if (DockClientCount() == 0) {
        Hide();
        Release();
    }
}
