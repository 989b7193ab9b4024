// The Gw string grid: framing, state colours and grid-line colours over the platform grid.
#include "Gwgrids.h"

#include <algorithm>

#include "Gwthemesrv.h"
#include "forms.h"
#include "winapi.h"

namespace {

// The non-client frame over the whole window: a two-pixel bevel from the fixed colour to the
// grid's colour, then the style over its outer pixels.
void DrawGridFrame(TCanvas* Canvas, int Width, int Height, TColor FixedColor, TColor Color, TFrameStyle Style,
                   TColor FrameColor, TSides Sides) {
    const TRect r(0, 0, Width, Height);
    DrawBevel(Canvas, r, FixedColor, Color, 2, AllSides);
    if (Style == fsFlat)
        DrawSides(Canvas, r, FrameColor, FrameColor, Sides);
    else if (Style == fsFlatBold)
        DrawBevel(Canvas, r, FrameColor, FrameColor, 2, Sides);
    else
        DrawBorderSides(Canvas, r, Style, Sides);
}

// One axis of the grid in pixels: where each line starts in the client area, as the grid lays
// out fixed cells first and then the scrolled ones from the first in view.
struct TAxis {
    int Count, Fixed, First, Line, Extent;
    const TGwStringGrid* Grid;
    bool Cols;

    int Size(int I) const { return Cols ? Grid->ColWidths(I) : Grid->RowHeights(I); }
    // Start of cell I in view, -1 when it is scrolled away or beyond the edge.
    int Start(int I) const {
        int p = 0;
        for (int k = 0; k < Fixed && k < I; ++k)
            p += Size(k) + Line;
        if (I >= Fixed) {
            if (I < First)
                return -1;
            for (int k = First; k < I; ++k)
                p += Size(k) + Line;
        }
        return p < Extent ? p : -1;
    }
    // The last cell that shows at least partly.
    int Last() const {
        int p = 0, last = -1;
        for (int k = 0; k < Count && p < Extent; ++k) {
            if (k == Fixed)
                k = First;
            if (k >= Count)
                break;
            last = k;
            p += Size(k) + Line;
        }
        return last;
    }
    // Clips [A, B] to the cells in view and gives its pixel span; false when nothing shows.
    bool Span(int A, int B, bool IncludeLine, int& Lo, int& Hi) const {
        if (A > B)
            return false;
        if (A >= Fixed && A < First) {
            if (B < First)
                return false;
            A = First;
        }
        const int last = Last();
        if (A > last)
            return false;
        B = std::min(B, last);
        Lo = Start(A);
        Hi = std::min(Start(B) + Size(B), Extent);
        if (IncludeLine)
            Hi += Line;
        return Lo >= 0;
    }
};

} // namespace

TGwStringGrid::TGwStringGrid(TComponent* AOwner) : TGwFramedBase(AOwner) {
    SetDefaultRowHeight(18);
    SetDefaultColWidth(60);
    SetBounds(Left(), Top(), 325, 125);
    SetColor(clWindow);
}

TGwStringGrid::~TGwStringGrid() = default;

void TGwStringGrid::SetLineColor(TColor Value) {
    if (Value == FLineColor)
        return;
    FLineColor = Value;
    Invalidate();
}

void TGwStringGrid::SetFixedLineColor(TColor Value) {
    if (Value == FFixedLineColor)
        return;
    FFixedLineColor = Value;
    Invalidate();
}

void TGwStringGrid::SetFrameHotTrack(bool Value) {
    if (Value == FFraming.FrameHotTrack())
        return;
    FFraming.SetFrameHotTrack(Value);
    Invalidate();
}

void TGwStringGrid::RepaintFrame() {
    if (HandleAllocated()) {
        const TRect r(0, 0, Width(), Height());
        InvalidateWindowFrame(Handle(), r);
    }
}

bool TGwStringGrid::IsActiveControl() {
    if (TCustomForm* form = GetParentForm(this))
        return form->ActiveControl() == this;
    if (!HandleAllocated())
        return false;
    for (HWND h = GetFocus(); h && IsWindow(h); h = GetParent(h))
        if (h == Handle())
            return true;
    return false;
}

void TGwStringGrid::GridRectToScreenRect(const TGridRect& GridRect, TRect& ScreenRect, bool IncludeLine) {
    ScreenRect = TRect();
    const TAxis cols{ColCount(), FixedCols(), LeftCol(), GridLineWidth(), ClientWidth(), this, true};
    const TAxis rows{RowCount(), FixedRows(), TopRow(), GridLineWidth(), ClientHeight(), this, false};
    TRect r;
    if (cols.Span(GridRect.Left, GridRect.Right, IncludeLine, r.Left, r.Right) &&
        rows.Span(GridRect.Top, GridRect.Bottom, IncludeLine, r.Top, r.Bottom))
        ScreenRect = r;
}

bool TGwStringGrid::SetFramingProperty(TGwFrameControllerProperty Property, int Value) {
    switch (Property) {
    case fcpReadOnlyColor:
    case fcpReadOnlyColorOnFocus:
    case fcpFlatButtonColor:
    case fcpFlatButtons: return false; // a grid has no read-only state and no buttons
    case fcpFrameHotTrack: SetFrameHotTrack(Value & 0xFF); return true;
    default: return FFraming.SetFramingProperty(Property, Value);
    }
}

void TGwStringGrid::Loaded() {
    TStringGrid::Loaded();
    UpdateColors();
    UpdateFrame(false, false);
}

void TGwStringGrid::Notification(TComponent* AComponent, TOperation Operation) {
    TStringGrid::Notification(AComponent, Operation);
    if (Operation == opRemove)
        FFraming.ControllerRemoved(AComponent);
}

void TGwStringGrid::CreateParams(TCreateParams& Params) {
    TStringGrid::CreateParams(Params);
    // A 3-D grid's border is the two-pixel client edge, which the custom frame paints over.
    if (BorderStyle() == bsSingle && Ctl3D()) {
        Params.Style &= ~DWORD(WS_BORDER);
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    }
}

TInplaceEdit* TGwStringGrid::CreateEditor() {
    TInplaceEdit* e = TStringGrid::CreateEditor();
    e->SetColor(Color());
    return e;
}

TColor TGwStringGrid::GridLineColor(bool Fixed) {
    if (Fixed)
        return FFixedLineColor;
    // A line in the cells' own colour would vanish.
    if (ColorToRGB(FLineColor) == ColorToRGB(Color()))
        return DarkerColor(FLineColor, 50);
    return FLineColor;
}

void TGwStringGrid::CMColorChanged(TMessage& Message) {
    TStringGrid::CMColorChanged(Message);
    if (TInplaceEdit* e = InplaceEditor())
        e->SetColor(Color());
    FFraming.ColorChanged();
}

void TGwStringGrid::CMParentColorChanged(TMessage& Message) {
    TStringGrid::CMParentColorChanged(Message);
    if (ParentColor())
        FFraming.ColorChanged();
    else if (FFraming.DrawsFrame())
        RepaintFrame();
}

void TGwStringGrid::CMEnabledChanged(TMessage& Message) {
    TStringGrid::CMEnabledChanged(Message);
    UpdateColors();
}

void TGwStringGrid::CMEnter(TMessage& Message) {
    UpdateFrame(false, true);
    TStringGrid::CMEnter(Message);
}

void TGwStringGrid::CMExit(TMessage& Message) {
    TStringGrid::CMExit(Message);
    UpdateFrame(false, false);
}

void TGwStringGrid::CMMouseEnter(TMessage& Message) {
    TStringGrid::CMMouseEnter(Message);
    if (OnMouseEnter)
        OnMouseEnter(this);
    if (!EditorHasFocus())
        UpdateFrame(true, true);
}

void TGwStringGrid::CMMouseLeave(TMessage& Message) {
    TStringGrid::CMMouseLeave(Message);
    if (OnMouseLeave)
        OnMouseLeave(this);
    if (!EditorHasFocus())
        UpdateFrame(true, false);
}

void TGwStringGrid::WMSize(TWMSize& Message) {
    TStringGrid::WMSize(Message);
    if (FFraming.DrawsFrame())
        RepaintFrame();
}

void TGwStringGrid::WMNCPaint(TWMNCPaint& Message) {
    TStringGrid::WMNCPaint(Message);
    TCanvas* dc = Message.DC;
    if (!dc || BorderStyle() == bsNone)
        return;
    if (FFraming.DrawsFrame()) {
        const bool hot = FrameHotTrack() && FFraming.Hot();
        DrawGridFrame(dc, Width(), Height(), FixedColor(), Color(), hot ? FrameHotStyle() : FrameStyle(),
                      hot ? FrameHotColor() : FrameColor(), FrameSides());
        Message.Result = 0;
    } else if (ThemeServices()->ThemesEnabled()) {
        DrawGridFrame(dc, Width(), Height(), FixedColor(), Color(), fsFlat, GetXPThemeColor(xptcEditBorder),
                      AllSides);
    }
}

void TGwStringGrid::FramingRecreateWindow() {
    if (FrameVisible())
        SetCtl3D(true);
    if (HandleAllocated())
        RecreateWnd();
}

// Between enter and exit: focus set from code enters the control before its window holds the
// focus, so asking the window would pick the normal colour on entering.
bool TGwStringGrid::FramingFocused() const { return FFraming.HasFocus(); }

bool TGwStringGrid::EditorHasFocus() const { return InplaceEditor() && InplaceEditor()->Focused(); }
