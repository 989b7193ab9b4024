// Size panel: a panel with a drag bar on one edge (widget layer, containers).
#include "Gwsplit.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "Gwcommon.h"
#include "messages.h"
#include "resources.h"
#include "sysinfo.h"
#include "sysutils.h"
#include "winapi.h"
#include "wingdi.h"

// ---------------------------------------------------------------- outline and cursors

void TGwDragOutline::Begin(TWinControl* Window) {
    End();
    if (!Window || !Window->HandleAllocated())
        return;
    FWindow = Window;
    FDC = GetDCEx(Window->Handle(), nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
    if (!FDC)
        return;
    // The classic halftone: every other pixel black, so the outline shows on any background.
    FPattern = std::make_unique<TBitmap>();
    FPattern->SetSize(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            FPattern->Canvas()->SetPixel(x, y, (x + y) % 2 ? clWhite : clBlack);
    FOldPattern = FDC->Brush()->Bitmap();
    FDC->Brush()->SetBitmap(FPattern.get());
}

void TGwDragOutline::Draw(const TRect& R) {
    if (FDC)
        PatBlt(FDC, R.Left, R.Top, R.Width(), R.Height(), PATINVERT);
}

void TGwDragOutline::End() {
    if (!FDC)
        return;
    FDC->Brush()->SetBitmap(FOldPattern);
    ReleaseDC(FWindow->Handle(), FDC);
    FDC = nullptr;
    FWindow = nullptr;
    FOldPattern = nullptr;
    FPattern.reset();
}

void DrawSplitBarStrips(TCanvas* Canvas, const TRect& Bar, TSplitterStyle Style, bool Across) {
    if (Style != ssGroove && Style != ssBump)
        return;
    const TFrameStyle look = Style == ssGroove ? fsStatus : fsPopup;
    if (Across) {
        const int mid = Bar.Top + Bar.Height() / 2;
        DrawBorderSides(Canvas, TRect(Bar.Left, mid - 3, Bar.Right, mid), look);
        DrawBorderSides(Canvas, TRect(Bar.Left, mid, Bar.Right, mid + 3), look);
    } else {
        const int mid = Bar.Left + Bar.Width() / 2;
        DrawBorderSides(Canvas, TRect(mid - 3, Bar.Top, mid, Bar.Bottom), look);
        DrawBorderSides(Canvas, TRect(mid, Bar.Top, mid + 3, Bar.Bottom), look);
    }
}

TGwSplitCursors::TGwSplitCursors() {
    auto load = [](const char* Name, int Standard) {
        HCURSOR c = LoadCursor(HInstance, Name);
        return c ? c : LoadCursor(HInstance, Standard);
    };
    Horz = load("GWSPLIT_HORZ", IDC_SIZEWE);
    HorzHotSpot = load("GWSPLIT_HORZHOTSPOT", IDC_HAND);
    Vert = load("GWSPLIT_VERT", IDC_SIZENS);
    VertHotSpot = load("GWSPLIT_VERTHOTSPOT", IDC_HAND);
}

TGwSplitCursors::~TGwSplitCursors() {
    for (HCURSOR c : {Horz, HorzHotSpot, Vert, VertHotSpot})
        if (c)
            DestroyCursor(c);
}

HCURSOR TGwSplitCursors::For(bool Across, bool OverHotSpot) const {
    if (Across)
        return OverHotSpot ? VertHotSpot : Vert;
    return OverHotSpot ? HorzHotSpot : Horz;
}

bool TGwPaintBuffer::Paint(TWinControl* Window, TMessage& Message) {
    HDC target = reinterpret_cast<HDC>(Message.WParam);
    // The paint of the buffer itself goes the window's usual way.
    if (Message.Msg != WM_PAINT || !Window->DoubleBuffered() || !target || FPainting)
        return false;
    const int w = Window->Width(), h = Window->Height();
    if (w <= 0 || h <= 0)
        return true;
    TBitmap buffer;
    buffer.SetSize(w, h);
    FPainting = true;
    try {
        Window->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(buffer.Canvas()), 0);
        Window->Perform(WM_PAINT, reinterpret_cast<WPARAM>(buffer.Canvas()), 0);
    } catch (...) {
        FPainting = false;
        throw;
    }
    FPainting = false;
    BitBlt(target, 0, 0, w, h, buffer.Canvas(), 0, 0, SRCCOPY);
    return true;
}

// ---------------------------------------------------------------- bar drag

void TGwDragBarPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGwCustomPanel::MouseDown(Button, Shift, X, Y);
    const TPoint pt(X, Y);
    if (Button != mbLeft || !DragBar().Contains(pt))
        return;
    const bool inHotSpot = OnHotSpot(pt);
    if (LockBar && !inHotSpot)
        return;
    if (!ComponentState().Contains(csDesigning) && !RealTimeDrag && CanFocus())
        SetFocus();
    SetMouseCapture(true);
    FSizing = true;
    FHotSpotPressed = inHotSpot;
    const int start = BeginDrag(pt);
    if (!RealTimeDrag)
        FOutline.Begin(Parent());
    DrawMask(start);
    FLastPosition = start;
}

void TGwDragBarPanel::MouseMove(TShiftState Shift, int X, int Y) {
    TGwCustomPanel::MouseMove(Shift, X, Y);
    if ((FHotSpotPressed && LockBar) || !FSizing)
        return;
    int p = 0;
    if (!DragPosition(X, Y, p) || p == FLastPosition)
        return;
    DragOpens(FLastPosition, p);
    FHotSpotPressed = false;
    DrawMask(FLastPosition);
    DrawMask(p);
    if (RealTimeDrag)
        ApplyDrag(p, true);
    FLastPosition = p;
}

void TGwDragBarPanel::EndDrag() {
    FSizing = false;
    SetMouseCapture(false);
    if (!RealTimeDrag)
        DrawMask(FLastPosition);
}

void TGwDragBarPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGwCustomPanel::MouseUp(Button, Shift, X, Y);
    if (!((FSizing && Button == mbLeft) || FHotSpotPressed))
        return;
    EndDrag();
    if (!RealTimeDrag)
        ApplyDrag(FLastPosition, false);
    if (FHotSpotPressed) {
        FHotSpotPressed = false;
        HotSpotReleased(TPoint(X, Y));
    }
    FOutline.End();
}

void TGwDragBarPanel::KeyDown(WORD& Key, TShiftState Shift) {
    if (Key == VK_ESCAPE && FSizing) {
        // The release that follows no longer ends the drag, so the outline's context goes now.
        EndDrag();
        FHotSpotPressed = false;
        DragCancelled();
        FOutline.End();
        Key = 0;
        return;
    }
    TGwCustomPanel::KeyDown(Key, Shift);
}

void TGwDragBarPanel::DrawMask(int Position) {
    if (RealTimeDrag || !FOutline.Held())
        return;
    TRect r = MaskRect(Position);
    OffsetRect(r, Left(), Top());
    FOutline.Draw(r);
}

// ---------------------------------------------------------------- size panel

TGwCustomSizePanel::TGwCustomSizePanel(TComponent* AOwner) : TGwDragBarPanel(AOwner) {
    SetBorderOuter(fsNone);
    SetAlign(alLeft);
    FLastWidth = Width();
    FLastHeight = Height();
}

TGwCustomSizePanel::TBarEdge TGwCustomSizePanel::Edge() {
    switch (Align()) {
    case alLeft: return TBarEdge::Right;
    case alTop: return TBarEdge::Bottom;
    case alRight: return TBarEdge::Left;
    case alBottom: return TBarEdge::Top;
    case alNone: break;
    default: return TBarEdge::None;
    }
    switch (FSide) {
    case sdLeft: return TBarEdge::Right;
    case sdTop: return TBarEdge::Bottom;
    case sdRight: return TBarEdge::Left;
    case sdBottom: return TBarEdge::Top;
    }
    return TBarEdge::None;
}

void TGwCustomSizePanel::SetAlign(TAlign Value) {
    if (Value == Align())
        return;
    TGwCustomPanel::SetAlign(Value);
    Realign();
}

bool TGwCustomSizePanel::HotSpotTopBottom() {
    const TBarEdge e = Edge();
    return e == TBarEdge::Bottom || e == TBarEdge::Top;
}

void TGwCustomSizePanel::SetSizeBarWidth(int Value) {
    Value = std::max(Value, 1);
    if (Value == FSizeBarWidth)
        return;
    FSizeBarWidth = Value;
    Realign();
    Invalidate();
}

void TGwCustomSizePanel::SetSizeBarStyle(TSplitterStyle Value) {
    if (Value == FSizeBarStyle)
        return;
    FSizeBarStyle = Value;
    if (Value != ssStandard && FSizeBarWidth < 6)
        SetSizeBarWidth(6);
    Invalidate();
}

void TGwCustomSizePanel::SetHotSpotVisible(bool Value) {
    if (Value == FHotSpotVisible)
        return;
    FHotSpotVisible = Value;
    if (!Value)
        FHotSpotClosed = false;
    else if (FSizeBarWidth < 7)
        SetSizeBarWidth(7);
    Invalidate();
}

TRect TGwCustomSizePanel::GetSizeBarRect() {
    const int w = Width(), h = Height();
    const int t = FSizeBarWidth + (DockSite() ? 1 : 0);
    TRect r;
    switch (Edge()) {
    case TBarEdge::Right: r = TRect(w - t, 0, w, h); break;
    case TBarEdge::Bottom: r = TRect(0, h - t, w, h); break;
    case TBarEdge::Left: r = TRect(0, 0, t, h); break;
    case TBarEdge::Top: r = TRect(0, 0, w, t); break;
    case TBarEdge::None: break;
    }
    UpdateHotSpotRect(r);
    return r;
}

void TGwCustomSizePanel::UpdateHotSpotRect(const TRect& BarRect) {
    const bool across = HotSpotTopBottom();
    const int from = across ? BarRect.Left : BarRect.Top;
    const int length = across ? BarRect.Width() : BarRect.Height();
    const int centre = from + length / 2;
    const int half = int(std::lrint(FHotSpotSizePercent / 100.0 * length)) / 2;
    FHotSpotRect = across ? TRect(centre - half, BarRect.Top, centre + half, BarRect.Bottom)
                          : TRect(BarRect.Left, centre - half, BarRect.Right, centre + half);
}

TRect TGwCustomSizePanel::GetClientRect() {
    TRect r = TGwCustomPanel::GetClientRect();
    const int inset = FSizeBarWidth + 1;
    switch (Edge()) {
    case TBarEdge::Right: r.Right -= inset; break;
    case TBarEdge::Bottom: r.Bottom -= inset; break;
    case TBarEdge::Left: r.Left += inset; break;
    case TBarEdge::Top: r.Top += inset; break;
    case TBarEdge::None: break;
    }
    return r;
}

TRect TGwCustomSizePanel::GetControlRect() {
    TRect r = TGwCustomPanel::GetControlRect();
    switch (Edge()) {
    case TBarEdge::Right: r.Right -= FSizeBarWidth; break;
    case TBarEdge::Bottom: r.Bottom -= FSizeBarWidth; break;
    case TBarEdge::Left: r.Left += FSizeBarWidth; break;
    case TBarEdge::Top: r.Top += FSizeBarWidth; break;
    case TBarEdge::None: break;
    }
    return r;
}

void TGwCustomSizePanel::FixClientRect(TRect& Rect, bool ShrinkBorderWidth) {
    if (!FHotSpotClosed)
        TGwCustomPanel::FixClientRect(Rect, ShrinkBorderWidth);
}

TRect TGwCustomSizePanel::GetParentWorkingRect() {
    TWinControl* parent = Parent();
    if (!parent)
        throw Exception("No parent specified");
    TRect f = parent->ClientRect();
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        TAlign a = c->Align();
        if (a == alNone)
            a = FSide == sdLeft ? alLeft : FSide == sdTop ? alTop : FSide == sdRight ? alRight : alBottom;
        switch (a) {
        case alTop: f.Top += c->Height(); break;
        case alBottom: f.Bottom -= c->Height(); break;
        case alLeft: f.Left += c->Width(); break;
        case alRight: f.Right -= c->Width(); break;
        default: break;
        }
    }
    return f;
}

void TGwCustomSizePanel::CheckPosition(int& Position) {
    const TBarEdge e = Edge();
    if (e == TBarEdge::None)
        return;
    const TRect f = GetParentWorkingRect();
    // A drag measures from where the press found the panel, which a real-time drag moves.
    const bool sizing = Sizing();
    const int left = sizing ? FStartLeft : Left(), top = sizing ? FStartTop : Top();
    const int width = sizing ? FStartWidth : Width(), height = sizing ? FStartHeight : Height();
    int low = 0, high = 0;
    switch (e) {
    case TBarEdge::Right:
        low = FMarginMin + FSizeBarWidth + 1;
        high = f.Right - FMarginMax - left;
        break;
    case TBarEdge::Bottom:
        low = FMarginMin + FSizeBarWidth + 1;
        high = f.Bottom - FMarginMax - top;
        break;
    case TBarEdge::Left:
        low = f.Left + FMarginMax - left;
        high = width - FMarginMin - FSizeBarWidth - 1;
        break;
    case TBarEdge::Top:
        low = f.Top + FMarginMax - top;
        high = height - FMarginMin - FSizeBarWidth - 1;
        break;
    case TBarEdge::None: break;
    }
    Position = std::min(std::max(Position, low), high);
    // A panel past the free area's edge would get a negative size: it stops at none.
    if (e == TBarEdge::Right || e == TBarEdge::Bottom)
        Position = std::max(Position, 0);
    else
        Position = std::min(Position, e == TBarEdge::Left ? width : height);
}

int TGwCustomSizePanel::GetMarginExtent() {
    const TRect f = GetParentWorkingRect();
    switch (Edge()) {
    case TBarEdge::Right: return f.Right - Left();
    case TBarEdge::Bottom: return f.Bottom - Top();
    case TBarEdge::Left: return f.Right + Width() - f.Left;
    case TBarEdge::Top: return f.Bottom + Height() - f.Top;
    case TBarEdge::None: break;
    }
    return 0;
}

void TGwCustomSizePanel::SetMarginMin(int Value) {
    FMarginMin = std::max(Value, 0);
    const int extent = GetMarginExtent();
    if (extent < FMarginMin + FMarginMax)
        FMarginMin = std::max(extent - FMarginMax, 0);
}

void TGwCustomSizePanel::SetMarginMax(int Value) {
    FMarginMax = std::max(Value, 0);
    const int extent = GetMarginExtent();
    if (extent < FMarginMin + FMarginMax)
        FMarginMax = std::max(extent - FMarginMin, 0);
}

void TGwCustomSizePanel::ApplyPosition(int P, int Extra) {
    switch (Edge()) {
    case TBarEdge::Right: SetWidth(std::max(P + Extra, 0)); break;
    case TBarEdge::Bottom: SetHeight(std::max(P + Extra, 0)); break;
    case TBarEdge::Left: SetWidth(std::max(FStartPosition - P - Extra + FStartWidth, 0)); break;
    case TBarEdge::Top: SetHeight(std::max(FStartPosition - P - Extra + FStartHeight, 0)); break;
    case TBarEdge::None: break;
    }
}

void TGwCustomSizePanel::Collapse() {
    const bool across = HotSpotTopBottom();
    FHotSpotPosition = across ? Height() : Width();
    FHotSpotClosed = true;
    const int size = (HotSpotIgnoreMargins ? 0 : FMarginMin) + FSizeBarWidth + 1;
    across ? SetHeight(size) : SetWidth(size);
}

void TGwCustomSizePanel::Restore() {
    FHotSpotClosed = false;
    const TBarEdge e = Edge();
    if (e == TBarEdge::Right || e == TBarEdge::Bottom)
        CheckPosition(FHotSpotPosition);
    HotSpotTopBottom() ? SetHeight(FHotSpotPosition) : SetWidth(FHotSpotPosition);
}

void TGwCustomSizePanel::CloseHotSpot() {
    if (!FHotSpotClosed)
        Collapse();
}

void TGwCustomSizePanel::RestoreHotSpot() {
    if (FHotSpotClosed)
        Restore();
}

void TGwCustomSizePanel::HotSpotClick() {
    if (OnHotSpotClick)
        OnHotSpotClick(this);
}

int TGwCustomSizePanel::BeginDrag(TPoint P) {
    const TBarEdge e = Edge();
    FStartPosition = e == TBarEdge::Right ? Width() : e == TBarEdge::Bottom ? Height() : 0;
    FStartLeft = Left();
    FStartTop = Top();
    FStartWidth = Width();
    FStartHeight = Height();
    // The press in screen coordinates: a real-time drag on a left or top bar moves the panel.
    const TPoint screen = ClientToScreen(P);
    FPressAxis = HotSpotTopBottom() ? screen.y : screen.x;
    return FStartPosition;
}

bool TGwCustomSizePanel::DragPosition(int X, int Y, int& Position) {
    const TPoint screen = ClientToScreen(TPoint(X, Y));
    Position = FStartPosition + (HotSpotTopBottom() ? screen.y : screen.x) - FPressAxis;
    CheckPosition(Position);
    return true;
}

void TGwCustomSizePanel::DragOpens(int From, int To) {
    const TBarEdge e = Edge();
    const bool grows = (e == TBarEdge::Right || e == TBarEdge::Bottom) ? To > From : To < From;
    if (grows)
        FHotSpotClosed = false;
}

void TGwCustomSizePanel::HotSpotReleased(TPoint P) {
    if (!FHotSpotRect.Contains(P))
        return;
    FHotSpotClosed ? Restore() : Collapse();
    HotSpotClick();
}

TRect TGwCustomSizePanel::MaskRect(int Position) {
    const TRect bar = GetSizeBarRect();
    const TBarEdge e = Edge();
    const int corner =
        (e == TBarEdge::Right || e == TBarEdge::Bottom) ? Position - FSizeBarWidth : Position + 1;
    return HotSpotTopBottom() ? TRect(bar.Left, corner, bar.Right, corner + bar.Height())
                              : TRect(corner, bar.Top, corner + bar.Width(), bar.Bottom);
}

void TGwCustomSizePanel::Paint() {
    TGwCustomPanel::Paint();
    DrawSizeBar();
}

void TGwCustomSizePanel::DrawSizeBar() {
    TRect r = GetSizeBarRect();
    if (r.IsEmpty())
        return;
    TCanvas* c = Canvas();
    TColor colour = Color();
    const TBarEdge e = Edge();
    if (VisualStyle() != vsClassic && FSizeBarStyle == ssGroupBar) {
        if (e == TBarEdge::Right)
            --r.Left;
        else if (e == TBarEdge::Left)
            ++r.Right;
        else if (e == TBarEdge::Top) {
            ++r.Bottom;
            colour = LighterColor(colour, std::uint8_t(FGradientColorAdjustment));
        }
    }
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(colour);
    c->FillRect(TRect(r.Left, r.Top, r.Right + 1, r.Bottom + 1));
    const bool across = HotSpotTopBottom();
    DrawSplitBarStrips(c, r, FSizeBarStyle, across);
    if (FSizeBarStyle == ssGroupBar && !across)
        DrawGroupBarBackground(c, r, VisualStyle(), GradientColorStyle(), FGradientPath, GradientColorStart(),
                               GradientColorStop());
    if (FHotSpotVisible)
        DrawHotSpot(!FHotSpotNormal);
}

void TGwCustomSizePanel::DrawHotSpot(bool Highlight) {
    TCanvas* c = Canvas();
    const TRect r = FHotSpotRect;
    const TRect inner = DrawSides(c, r, FHotSpotFrameColor, FHotSpotFrameColor, AllSides);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Highlight ? FHotSpotHighlight : FHotSpotColor);
    c->FillRect(inner);
    c->Pen()->SetColor(FHotSpotDotColor);
    c->Brush()->SetColor(FHotSpotDotColor);
    // The arrows point where the next click moves the bar: towards the panel while open.
    const TBarEdge e = Edge();
    const bool towardsLow = (e == TBarEdge::Right || e == TBarEdge::Bottom) != FHotSpotClosed;
    if (HotSpotTopBottom()) {
        const int mid = r.Top + r.Height() / 2;
        const int a = towardsLow ? mid - 1 : mid + 1, b = towardsLow ? mid + 1 : mid - 1;
        c->Polygon({TPoint(r.Left + 6, b), TPoint(r.Left + 8, a), TPoint(r.Left + 10, b)});
        c->Polygon({TPoint(r.Right - 6, b), TPoint(r.Right - 8, a), TPoint(r.Right - 10, b)});
        for (int i = 0; i <= (r.Width() - 32) / 3; ++i)
            c->SetPixel(r.Left + 15 + 3 * i, mid, FHotSpotDotColor);
    } else {
        const int mid = r.Left + r.Width() / 2;
        const int a = towardsLow ? mid - 1 : mid + 1, b = towardsLow ? mid + 1 : mid - 1;
        c->Polygon({TPoint(b, r.Top + 6), TPoint(a, r.Top + 8), TPoint(b, r.Top + 10)});
        c->Polygon({TPoint(b, r.Bottom - 6), TPoint(a, r.Bottom - 8), TPoint(b, r.Bottom - 10)});
        for (int i = 0; i <= (r.Height() - 32) / 3; ++i)
            c->SetPixel(mid, r.Top + 15 + 3 * i, FHotSpotDotColor);
    }
}

void TGwCustomSizePanel::TrackHotSpot(bool Inside) {
    if (!FHotSpotVisible || Inside != FHotSpotNormal)
        return;
    FHotSpotNormal = !Inside;
    if (HandleAllocated())
        InvalidateRect(Handle(), &FHotSpotRect, 0);
}

void TGwCustomSizePanel::WMWindowPosChanged(TMessage& Message) {
    if (FullRepaint || !Caption().empty()) {
        Invalidate();
    } else if (BorderWidth() != 0 && HandleAllocated()) {
        // The border's strips at the old far edges now lie inside.
        const int w = FLastWidth, h = FLastHeight, b = BorderWidth();
        if (Width() != w) {
            const TRect strip(w - b - 1, 0, w, h);
            InvalidateRect(Handle(), &strip, 1);
        }
        if (Height() != h) {
            const TRect strip(0, h - b - 1, w, h);
            InvalidateRect(Handle(), &strip, 1);
        }
    }
    FLastWidth = Width();
    FLastHeight = Height();
    TGwCustomPanel::WndProc(Message);
    // The schedule editor reads the new extent in OnResize, moves included.
    if (!ComponentState().Contains(csLoading))
        Resize();
}

void TGwCustomSizePanel::WndProc(TMessage& Message) {
    if (FBuffer.Paint(this, Message))
        return;
    switch (Message.Msg) {
    case WM_SETCURSOR: {
        const TPoint p = CursorPosition();
        const bool onBar = GetSizeBarRect().Contains(p);
        TrackHotSpot(FHotSpotRect.Contains(p));
        if (onBar && !LockBar) {
            SetCursor(FCursors.For(HotSpotTopBottom(), FHotSpotVisible && FHotSpotRect.Contains(p)));
            Message.Result = 1;
            return;
        }
        break;
    }
    case CM_MOUSELEAVE:
        if (!(HotSpotPressed() && LockBar))
            TrackHotSpot(false);
        break;
    case CM_DESIGNHITTEST: {
        const TPoint p(short(Message.LParamLo()), short(Message.LParamHi()));
        Message.Result = Sizing() || GetSizeBarRect().Contains(p) ? 1 : 0;
        return;
    }
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(Message); return;
    default: break;
    }
    TGwCustomPanel::WndProc(Message);
}

// ---------------------------------------------------------------- dock manager

TDockTree* TGwCustomSizePanel::CreateDockManager() {
    TDockTree* manager = DockManager();
    if (!manager && DockSite() && UseDockManager())
        manager = new TGwSizePanelDockManager(this);
    if (manager)
        SetDoubleBuffered(true);
    return manager;
}

void TGwSizePanelDockManager::PositionDockRect(TControl* Client, TControl* DropCtl, TAlign DropAlign,
                                               TRect& DockRect) {
    TGwPanelDockManager::PositionDockRect(Client, DropCtl, DropAlign, DockRect);
    if (FSizePanel->Align() == alRight)
        DockRect.Left += FSizePanel->SizeBarWidth();
    else if (FSizePanel->Align() == alBottom)
        DockRect.Top += FSizePanel->SizeBarWidth();
}

void TGwSizePanelDockManager::PaintSite(HDC DC) {
    auto* canvas = dynamic_cast<TControlCanvas*>(FSizePanel->Canvas());
    if (FSizePanel->HotSpotClosed() || !canvas)
        return;
    canvas->PaintOn(DC, [&] {
        FSizePanel->DrawSizeBar();
        const int t = FSizePanel->SizeBarWidth();
        for (int i = 0; i < FSizePanel->ControlCount(); ++i) {
            TControl* c = FSizePanel->Controls(i);
            if (!c->Visible() || c->HostDockSite() != FSizePanel)
                continue;
            const TRect b = c->BoundsRect();
            TRect r = b;
            AdjustDockRect(c, r);
            // The title lies as far outside the client as the adjusted rectangle lies inside it.
            r = TRect(2 * b.Left - r.Left, 2 * b.Top - r.Top, 2 * b.Right - r.Right, 2 * b.Bottom - r.Bottom);
            if (FSizePanel->Align() == alRight)
                r = TRect(r.Left - t, r.Top, r.Right + t, r.Bottom);
            else if (FSizePanel->Align() == alBottom)
                r = TRect(r.Left, r.Top - t, r.Right, r.Bottom + t);
            PaintDockFrame(canvas, c, r);
        }
    });
}

void TGwSizePanelDockManager::PaintDockFrame(TCanvas* Canvas, TControl* Control, const TRect& ARect) {
    if (!FSizePanel->ShowDockClientCaptions) {
        TDockTree::PaintDockFrame(Canvas, Control, ARect);
        return;
    }
    SetTitleColours(Canvas, Control);
    const std::string caption = Control ? Control->Caption() : std::string();
    const int g = GrabberSize(), t = FSizePanel->SizeBarWidth();
    const TRect& r = ARect;
    TRect glyph;
    switch (FSizePanel->Align()) {
    case alTop:
    case alBottom: {
        const int shift = FSizePanel->Align() == alBottom ? t : 0;
        DrawVertTitle(Canvas, caption, TRect(r.Left, r.Top + shift, r.Left + g, r.Bottom - shift));
        glyph = TRect(r.Left + 1, r.Top + 1 + shift, r.Left + g - 1, r.Top + 13 + shift);
        break;
    }
    case alLeft:
        Canvas->TextRect(TRect(r.Left, r.Top, r.Right, r.Top + g), r.Left + 2, r.Top, caption);
        glyph = TRect(r.Right - g - 1, r.Top + 1, r.Right - 1, r.Top + 12);
        break;
    case alRight: {
        const TRect bar(r.Left + t, r.Top, r.Right - t, r.Top + g);
        Canvas->TextRect(bar, bar.Left + 2, r.Top, caption);
        glyph = TRect(r.Right - g - t - 1, r.Top + 1, r.Right - t - 1, r.Top + 12);
        break;
    }
    default: return;
    }
    Canvas->Font()->Assign(GlyphFont());
    DrawCloseGlyph(Canvas, glyph);
}
