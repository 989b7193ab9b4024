// Splitter: two panes and the bar between them (widget layer, containers).
#include <algorithm>
#include <climits>
#include <cmath>

#include "Gwsplit.h"
#include "messages.h"
#include "sysutils.h"
#include "winapi.h"

namespace {

int Rounded(double V) { return int(std::lrint(V)); }

// What a frame takes from one side in the splitter's offset (the flat bold looks count none here).
int OffsetFrameWidth(TFrameStyleEx Style, int BevelWidth) {
    switch (Style) {
    case fsNone:
    case fsFlatBold:
    case fsFlatRounded: return 0;
    case fsFlat: return 1;
    case fsStatus:
    case fsPopup: return BevelWidth;
    default: return 2;
    }
}

enum TArrow { arLeft, arRight, arUp, arDown };

void DrawArrow(TCanvas* C, int X, int Y, TArrow A) {
    switch (A) {
    case arLeft: C->Polygon({TPoint(X + 1, Y - 2), TPoint(X - 1, Y), TPoint(X + 1, Y + 2)}); break;
    case arRight: C->Polygon({TPoint(X - 1, Y - 2), TPoint(X + 1, Y), TPoint(X - 1, Y + 2)}); break;
    case arUp: C->Polygon({TPoint(X - 2, Y + 1), TPoint(X, Y - 1), TPoint(X + 2, Y + 1)}); break;
    case arDown: C->Polygon({TPoint(X - 2, Y - 1), TPoint(X, Y + 1), TPoint(X + 2, Y - 1)}); break;
    }
}

// Sets a flag for the life of a scope.
struct TFlagScope {
    bool& Flag;
    bool Old;
    explicit TFlagScope(bool& F) : Flag(F), Old(F) { Flag = true; }
    ~TFlagScope() { Flag = Old; }
};

} // namespace

// ---------------------------------------------------------------- panes

TGwSplitterPane::TGwSplitterPane(TComponent* AOwner) : TGwCustomPanel(AOwner) {
    FSplitter = dynamic_cast<TGwSplitter*>(AOwner);
    TControlStyle style = ControlStyle();
    style << csAcceptsControls << csDisplayDragImage;
    SetControlStyle(style);
    SetBorderOuter(fsNone);
    SetTabStop(false);
}

void TGwSplitterPane::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_NCHITTEST:
        // The bar's mouse belongs to the splitter beneath.
        if (!DockSite() && !ComponentState().Contains(csDesigning)) {
            Message.Result = HTTRANSPARENT;
            return;
        }
        break;
    case CM_VISIBLECHANGED:
        TGwCustomPanel::WndProc(Message);
        if (FSplitter)
            FSplitter->ResizePanes();
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: Invalidate(); break;
    default: break;
    }
    TGwCustomPanel::WndProc(Message);
}

void TGwPaneData::Assign(TPersistent* Source) {
    auto* other = dynamic_cast<TGwPaneData*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    SetColor(other->Color());
    SetBorderColor(other->BorderColor());
    SetBorderInner(other->BorderInner());
    SetBorderOuter(other->BorderOuter());
    SetBorderWidth(other->BorderWidth());
    SetFlatColor(other->FlatColor());
    SetFlatColorAdjustment(other->FlatColorAdjustment());
    SetDockSite(other->DockSite());
    SetShowDockClientCaptions(other->ShowDockClientCaptions());
    SetVisible(other->Visible());
}

// ---------------------------------------------------------------- splitter

TGwSplitter::TGwSplitter(TComponent* AOwner) : TGwDragBarPanel(AOwner) {
    TControlStyle style = ControlStyle();
    style >> csAcceptsControls;
    style << csCaptureMouse << csOpaque << csDisplayDragImage;
    SetControlStyle(style);
    SetBorderOuter(fsNone);
    SetBounds(Left(), Top(), 200, 100);
    for (int i = 0; i < 2; ++i) {
        FPanes[i] = new TGwSplitterPane(this);
        FPanes[i]->SetParent(this);
        FPaneData[i] = std::make_unique<TGwPaneData>(FPanes[i]);
        ForwardDocking(i);
    }
    UpdateManualPosition(FPosition);
    UpdateFixedSize();
    ResizePanes();
}

void TGwSplitter::ForwardDocking(int Pane) {
    TGwSplitterPane* p = FPanes[Pane];
    const bool ul = Pane == 0;
    p->OnGetSiteInfo = [this, ul](TObject*, TControl* Client, TRect& Influence, TPoint MousePos,
                                  bool& CanDock) {
        if (auto& e = ul ? OnULGetSiteInfo : OnLRGetSiteInfo)
            e(this, Client, Influence, MousePos, CanDock);
    };
    p->OnDockOver = [this, ul](TObject*, TDragDockObject* Source, int X, int Y, TDragState State,
                               bool& Accept) {
        if (auto& e = ul ? OnULDockOver : OnLRDockOver)
            e(this, Source, X, Y, State, Accept);
    };
    p->OnDockDrop = [this, ul](TObject*, TDragDockObject* Source, int X, int Y) {
        if (auto& e = ul ? OnULDockDrop : OnLRDockDrop)
            e(this, Source, X, Y);
    };
    p->OnUnDock = [this, ul](TObject*, TControl* Client, TWinControl* NewTarget, bool& Allow) {
        if (auto& e = ul ? OnULUnDock : OnLRUnDock)
            e(this, Client, NewTarget, Allow);
    };
}

void TGwSplitter::SetTransparent(bool Value) {
    TGwCustomPanel::SetTransparent(Value);
    for (TGwSplitterPane* pane : FPanes)
        pane->SetTransparent(Value);
    ResizePanes();
}

void TGwSplitter::SetParentColor(bool Value) {
    TGwCustomPanel::SetParentColor(Value);
    for (TGwSplitterPane* pane : FPanes)
        pane->SetParentColor(Value);
}

TRect TGwSplitter::GetClientRect() {
    TRect r = TGwCustomPanel::GetClientRect();
    if (!DockSite())
        FixClientRect(r, true);
    return r;
}

void TGwSplitter::AlignControls(TControl* AControl, TRect& Rect) {
    if (ComponentState().Contains(csLoading))
        return;
    TGwCustomPanel::AlignControls(AControl, Rect);
    // Frames and the border width realign: the panes follow the client area they change.
    ResizePanes();
}

int TGwSplitter::GetBorderOffset() {
    int offset = BorderWidth();
    for (TFrameStyleEx style : {BorderOuter(), BorderInner()}) {
        const int w = OffsetFrameWidth(style, BevelWidth());
        offset += (BorderSides().Contains(sdLeft) ? w : 0) + (BorderSides().Contains(sdTop) ? w : 0);
    }
    return offset;
}

void TGwSplitter::CheckPosition(int& Position) {
    if (!HasPanes() || !FPanes[0]->Visible() || !FPanes[1]->Visible())
        return;
    const bool ignore = FHotSpotClosed && HotSpotIgnoreMargins;
    const int low = ignore ? 0 : FMarginMin, high = ignore ? 0 : FMarginMax;
    Position = std::max(Position, low);
    const int limit = Extent() - high - FSplitterWidth - 2 * GetBorderOffset();
    if (Position > limit)
        Position = limit;
    // A splitter narrower than its bar leaves the upper-left pane empty rather than negative.
    Position = std::max(Position, 0);
}

void TGwSplitter::SetPosition(int Value) {
    if (Value == FPosition && !FForce)
        return;
    CheckPosition(Value);
    if (!CanChange(Value))
        return;
    FPosition = Value;
    const int base = PercentBase();
    FPercent = base != 0 ? Rounded(double(Value) / base * 100) : 0;
    ResizePanes();
    UpdateFixedSize();
    Change();
}

void TGwSplitter::SetLockedPosition(int Value) {
    if (Value == FPosition)
        return;
    SetPosition(Value);
    UpdateManualPosition(FPosition);
}

void TGwSplitter::UpdateFixedSize() {
    FFixedSize = FFixedPane == fpUpperLeft ? FPosition : Extent() - FPosition;
}

void TGwSplitter::UpdateManualPosition(int Position) {
    FManualPosition = FFixedPane == fpUpperLeft ? Position : Extent() - Position;
}

void TGwSplitter::ApplyPercentMargins() {
    const int base = PercentBase();
    SetMarginMin(Rounded(FPercentMin / 100.0 * base));
    SetMarginMax(base - Rounded(FPercentMax / 100.0 * base));
}

void TGwSplitter::SetPercent(int Value) {
    if (Value == FPercent)
        return;
    FPercent = Value;
    if (ComponentState().Contains(csLoading))
        return;
    FUsePercent = true;
    SetPosition(Rounded(Value / 100.0 * PercentBase()));
}

void TGwSplitter::SetPercentMin(int Value) {
    FPercentMin = std::max(Value, 0);
    if (!ComponentState().Contains(csLoading) && FUsePercent)
        SetMarginMin(Rounded(FPercentMin / 100.0 * PercentBase()));
}

void TGwSplitter::SetPercentMax(int Value) {
    FPercentMax = std::min(Value, 100);
    if (!ComponentState().Contains(csLoading) && FUsePercent)
        SetMarginMax(PercentBase() - Rounded(FPercentMax / 100.0 * PercentBase()));
}

void TGwSplitter::SetUsePercent(bool Value) {
    if (Value == FUsePercent)
        return;
    FUsePercent = Value;
    if (Value) {
        FFixedPane = fpUpperLeft;
        SetPercentMin(FPercentMin);
        SetPercentMax(FPercentMax);
    }
    TFlagScope force(FForce);
    SetPosition(FPosition);
}

void TGwSplitter::SetMarginMin(int Value) {
    FMarginMin = std::max(Value, 0);
    if (Extent() < FMarginMin + FMarginMax)
        FMarginMin = std::max(Extent() - FMarginMax, 0);
}

void TGwSplitter::SetMarginMax(int Value) {
    FMarginMax = std::max(Value, 0);
    if (Extent() < FMarginMin + FMarginMax)
        FMarginMax = std::max(Extent() - FMarginMin, 0);
}

void TGwSplitter::SetFixedPane(TFixedPane Value) {
    if (Value == FFixedPane)
        return;
    FFixedPane = Value;
    if (Value == fpLowerRight)
        FUsePercent = false;
    UpdateManualPosition(FPosition);
    UpdateFixedSize();
}

void TGwSplitter::SetOrientation(TOrientation Value) {
    if (Value == FOrientation)
        return;
    FOrientation = Value;
    if (FUsePercent) {
        TFlagScope force(FForce);
        SetPosition(Rounded(FPercent / 100.0 * PercentBase()));
        ApplyPercentMargins();
    } else {
        ResizePanes();
    }
    Invalidate();
}

void TGwSplitter::SetSplitterStyle(TSplitterStyle Value) {
    if (Value == FSplitterStyle)
        return;
    FSplitterStyle = Value;
    if (Value != ssStandard && FSplitterWidth < 6)
        SetSplitterWidth(6);
    Invalidate();
}

void TGwSplitter::SetSplitterWidth(int Value) {
    Value = std::max(Value, 0);
    if (Value == FSplitterWidth)
        return;
    FSplitterWidth = Value;
    ResizePanes();
    Invalidate();
}

void TGwSplitter::SetHotSpotVisible(bool Value) {
    if (Value == FHotSpotVisible)
        return;
    FHotSpotVisible = Value;
    if (Value && FSplitterWidth < 7)
        SetSplitterWidth(7);
    Invalidate();
}

void TGwSplitter::SetHotSpotSizePercent(int Value) {
    if (Value == FHotSpotSizePercent)
        return;
    FHotSpotSizePercent = Value;
    UpdateHotSpotRect();
    Invalidate();
}

TGwSplitterPane* TGwSplitter::GetSelectedPaneControl() {
    return FSelectedPane == spUpperLeft ? FPanes[0] : FPanes[1];
}

TGwPaneData* TGwSplitter::GetPaneData(int Index) {
    if (Index < 0 || Index > 1)
        throw Exception("Pane index out of range: " + IntToStr(Index));
    return FPaneData[Index].get();
}

void TGwSplitter::SetPaneData(int Index, TGwPaneData* Data) { GetPaneData(Index)->Assign(Data); }

void TGwSplitter::Resize() {
    TGwCustomPanel::Resize();
    const TComponentState state = ComponentState();
    if (!HasPanes() || state.Contains(csWriting) || state.Contains(csDestroying))
        return;
    TFlagScope force(FForce);
    const int base = PercentBase();
    if (FFixedPane == fpUpperLeft && FUsePercent) {
        ApplyPercentMargins();
        if (FHotSpotClosed)
            SetPosition(FClosedToMin ? 0 : base);
        else
            SetPosition(Rounded(FPercent / 100.0 * base));
    } else if (FFixedPane == fpUpperLeft) {
        SetPosition(FHotSpotClosed ? (FClosedToMin ? 0 : INT_MAX) : FPosition);
        // Back to where the user put the bar once there is room again.
        if (FManualPosition > FPosition && !FHotSpotClosed)
            SetPosition(FManualPosition);
    } else if (!FUsePercent) {
        SetPosition(Extent() - FFixedSize);
        if (FManualPosition > Extent() - FPosition && !FHotSpotClosed)
            SetPosition(Extent() - FManualPosition);
        if (FHotSpotClosed)
            FHotSpotPosition = Extent() - FManualPosition;
    }
}

void TGwSplitter::ResizePanes() {
    if (!HasPanes() || ComponentState().Contains(csLoading))
        return;
    const TRect k = ClientRect();
    const int w = k.Width(), h = k.Height();
    const bool ul = FPanes[0]->Visible(), lr = FPanes[1]->Visible();
    const bool both = ul && lr;
    const int along = FOrientation == orHorizontal ? w : h;
    // Offsets and extents along the axis: upper-left pane, bar, lower-right pane.
    const int ulSize = both ? FPosition : ul ? along : 0;
    const int barAt = both ? FPosition : 0, barSize = both ? FSplitterWidth : 0;
    const int lrAt = both ? FPosition + FSplitterWidth : 0;
    const int lrSize = both ? along - FPosition - FSplitterWidth : lr ? along : 0;
    DisableAlign();
    if (FOrientation == orHorizontal) {
        FPanes[0]->SetBounds(k.Left, k.Top, ulSize, h);
        FBarRect = TRect(k.Left + barAt, k.Top, k.Left + barAt + barSize, k.Top + h);
        FPanes[1]->SetBounds(k.Left + lrAt, k.Top, std::max(lrSize, 0), h);
    } else {
        FPanes[0]->SetBounds(k.Left, k.Top, w, ulSize);
        FBarRect = TRect(k.Left, k.Top + barAt, k.Left + w, k.Top + barAt + barSize);
        FPanes[1]->SetBounds(k.Left, k.Top + lrAt, w, std::max(lrSize, 0));
    }
    UpdateHotSpotRect();
    for (TGwSplitterPane* pane : FPanes)
        for (int i = 0; i < pane->ControlCount(); ++i)
            if (auto* inner = dynamic_cast<TGwSplitter*>(pane->Controls(i)))
                inner->ResizePanes();
    EnableAlign();
    if (RealTimeDrag) {
        FPanes[0]->Update();
        FPanes[1]->Update();
    }
    Invalidate();
}

void TGwSplitter::UpdateHotSpotRect() {
    const TRect& b = FBarRect;
    if (FOrientation == orHorizontal) {
        const int length = b.Height(), centre = b.Top + length / 2;
        const int half = Rounded(FHotSpotSizePercent / 100.0 * length) / 2;
        FHotSpotRect = TRect(b.Left, centre - half, b.Right, centre + half);
    } else {
        const int length = b.Width(), centre = b.Left + length / 2;
        const int half = Rounded(FHotSpotSizePercent / 100.0 * length) / 2;
        FHotSpotRect = TRect(centre - half, b.Top, centre + half, b.Bottom);
    }
}

void TGwSplitter::Change() {
    if (OnChange)
        OnChange(this);
}

bool TGwSplitter::CanChange(int NewPos) {
    bool allow = true;
    if (OnChanging)
        OnChanging(this, NewPos, allow);
    return allow;
}

void TGwSplitter::HotSpotClick() {
    if (OnHotSpotClick)
        OnHotSpotClick(this);
}

void TGwSplitter::CloseHotSpot() { CloseHotSpot(FHotSpotDirection == hsdMin); }

void TGwSplitter::CloseHotSpot(bool ToMin) {
    if (FHotSpotClosed)
        return;
    FHotSpotClosed = true;
    FHotSpotPosition = FPosition;
    (ToMin ? FClosedToMin : FClosedToMax) = true;
    SetPosition(ToMin ? 0 : INT_MAX);
}

void TGwSplitter::RestoreHotSpot() {
    if (!FHotSpotClosed)
        return;
    ResetHotSpot();
    SetPosition(FHotSpotPosition);
    UpdateManualPosition(FPosition);
}

void TGwSplitter::ResetHotSpot() { FHotSpotClosed = FClosedToMin = FClosedToMax = false; }

TRect TGwSplitter::MaskRect(int Position) {
    const int o = GetBorderOffset();
    return FOrientation == orHorizontal
               ? TRect(o + Position, o, o + Position + FBarRect.Width(), o + FBarRect.Height())
               : TRect(o, o + Position, o + FBarRect.Width(), o + Position + FBarRect.Height());
}

int TGwSplitter::BeginDrag(TPoint P) {
    FPointerOffset = FOrientation == orHorizontal ? P.x - Width() / 2 : P.y - Height() / 2;
    FDragStart = FPosition;
    return FPosition;
}

bool TGwSplitter::DragPosition(int X, int Y, int& Position) {
    Position = (FOrientation == orHorizontal ? X : Y) + FDragStart - Extent() / 2 - FPointerOffset;
    CheckPosition(Position);
    return CanChange(Position);
}

void TGwSplitter::ApplyDrag(int Position, bool) {
    SetPosition(Position);
    UpdateManualPosition(Position);
}

void TGwSplitter::HotSpotReleased(TPoint P) {
    if (!FHotSpotRect.Contains(P))
        return;
    if (!FHotSpotClosed) {
        const TRect& h = FHotSpotRect;
        const bool beforeCentre =
            FOrientation == orHorizontal ? P.y < h.Top + h.Height() / 2 : P.x < h.Left + h.Width() / 2;
        CloseHotSpot(FHotSpotDirection == hsdMin || (FHotSpotDirection == hsdBoth && beforeCentre));
    } else {
        RestoreHotSpot();
    }
    HotSpotClick();
}

void TGwSplitter::Paint() {
    TGwCustomPanel::Paint();
    DrawSplitterBar();
}

void TGwSplitter::DrawSplitterBar() {
    if (FBarRect.IsEmpty())
        return;
    TCanvas* c = Canvas();
    if (FSplitterStyle == ssGroove || FSplitterStyle == ssBump) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect(TRect(FBarRect.Left, FBarRect.Top, FBarRect.Right + 1, FBarRect.Bottom + 1));
        DrawSplitBarStrips(c, FBarRect, FSplitterStyle, FOrientation == orVertical);
    } else if (FSplitterStyle == ssGroupBar && VisualStyle() != vsClassic) {
        DrawGroupBarBackground(c, FBarRect, VisualStyle(), GradientColorStyle(), FGradientPath,
                               GradientColorStart(), GradientColorStop());
    }
    if (FHotSpotVisible)
        DrawHotSpot(!FHotSpotNormal, CursorPosition());
}

void TGwSplitter::DrawHotSpot(bool Highlight, TPoint P) {
    TCanvas* c = Canvas();
    const TRect r = FHotSpotRect;
    const TRect inner = DrawSides(c, r, FHotSpotFrameColor, FHotSpotFrameColor, AllSides);
    const int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
    const bool horizontal = FOrientation == orHorizontal;
    c->Brush()->SetStyle(bsSolid);
    if (FHotSpotDirection == hsdBoth) {
        c->Brush()->SetColor(FHotSpotColor);
        c->FillRect(inner);
        if (Highlight) {
            TRect half = inner;
            if (!FHotSpotClosed) {
                if (horizontal)
                    (P.y >= cy ? half.Top : half.Bottom) = cy;
                else
                    (P.x >= cx ? half.Left : half.Right) = cx;
            }
            c->Brush()->SetColor(FHotSpotHighlight);
            c->FillRect(half);
        }
        if (!FHotSpotClosed) {
            c->Pen()->SetColor(FHotSpotFrameColor);
            if (horizontal) {
                c->MoveTo(r.Left, cy);
                c->LineTo(r.Right, cy);
            } else {
                c->MoveTo(cx, r.Top);
                c->LineTo(cx, r.Bottom);
            }
        }
    } else {
        c->Brush()->SetColor(Highlight ? FHotSpotHighlight : FHotSpotColor);
        c->FillRect(inner);
    }
    // Arrows point the way the next click moves the bar.
    const TArrow toMin = horizontal ? arLeft : arUp, toMax = horizontal ? arRight : arDown;
    TArrow first = toMin, second = toMin;
    if (FHotSpotClosed) {
        first = second = FClosedToMin ? toMax : toMin;
    } else if (FHotSpotDirection == hsdMax) {
        first = second = toMax;
    } else if (FHotSpotDirection == hsdBoth) {
        second = toMax;
    }
    c->Pen()->SetColor(FHotSpotDotColor);
    c->Brush()->SetColor(FHotSpotDotColor);
    if (horizontal) {
        DrawArrow(c, cx, r.Top + 8, first);
        DrawArrow(c, cx, r.Bottom - 8, second);
    } else {
        DrawArrow(c, r.Left + 8, cy, first);
        DrawArrow(c, r.Right - 8, cy, second);
    }
    const int length = horizontal ? r.Height() : r.Width();
    const int from = horizontal ? r.Top : r.Left, centre = horizontal ? cy : cx;
    for (int i = 0; i <= (length - 32) / 3; ++i) {
        const int d = from + 15 + 3 * i;
        if (FHotSpotDirection == hsdBoth && !FHotSpotClosed && std::abs(d - centre) < 4)
            continue;
        horizontal ? c->SetPixel(cx, d, FHotSpotDotColor) : c->SetPixel(d, cy, FHotSpotDotColor);
    }
}

void TGwSplitter::WndProc(TMessage& Message) {
    if (FBuffer.Paint(this, Message))
        return;
    switch (Message.Msg) {
    case WM_SETCURSOR: {
        const TPoint p = CursorPosition();
        const bool inHotSpot = FHotSpotVisible && FHotSpotRect.Contains(p);
        // With both directions the highlighted half follows the cursor.
        if (FHotSpotVisible && (inHotSpot == FHotSpotNormal || (inHotSpot && FHotSpotDirection == hsdBoth))) {
            FHotSpotNormal = !inHotSpot;
            if (HandleAllocated())
                InvalidateRect(Handle(), &FHotSpotRect, 0);
        }
        if (FBarRect.Contains(p) && !LockBar) {
            SetCursor(FCursors.For(FOrientation == orVertical, inHotSpot));
            Message.Result = 1;
            return;
        }
        break;
    }
    case CM_MOUSELEAVE:
        TGwCustomPanel::WndProc(Message);
        if (FHotSpotVisible && !FHotSpotNormal) {
            FHotSpotNormal = true;
            if (HandleAllocated())
                InvalidateRect(Handle(), &FHotSpotRect, 0);
        }
        return;
    case CM_DESIGNHITTEST: {
        // Shift with Ctrl leaves the mouse to the designer, to select the splitter itself.
        const TPoint p(short(Message.LParamLo()), short(Message.LParamHi()));
        const bool designerKeys = (Message.WParam & (MK_SHIFT | MK_CONTROL)) == (MK_SHIFT | MK_CONTROL);
        Message.Result = (Sizing() || FBarRect.Contains(p)) && !designerKeys ? 1 : 0;
        return;
    }
    case WM_SHOWWINDOW:
        TGwCustomPanel::WndProc(Message);
        if (!ComponentState().Contains(csDestroying) && HasPanes()) {
            FPanes[0]->Invalidate();
            FPanes[1]->Invalidate();
        }
        return;
    default: break;
    }
    TGwCustomPanel::WndProc(Message);
}
