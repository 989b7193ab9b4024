// Script editor control: construction, metrics and layout, row/line mapping, scrolling, the caret,
// the repaint bookkeeping and the platform clipboard for the editor.
#include "UnitSyntaxMemo.h"

#include <algorithm>
#include <cstring>

#include "clipbrd.h"
#include "forms.h"
#include "winapi.h"

// ---- platform clipboard --------------------------------------------------------------------------

namespace {

TMPPlatformClipboard& PlatformClipboard() {
    static TMPPlatformClipboard c;
    return c;
}

} // namespace

UINT TMPPlatformClipboard::MarkedFormat() {
    static const UINT format = RegisterClipboardFormat("QBX Script Editor Marked Text");
    return format;
}

void TMPPlatformClipboard::Put(const std::string& Plain, const std::string& Marked) {
    // Both forms land together: a paste elsewhere sees the plain text, an editor the marked one.
    ::Clipboard()->Open();
    ::Clipboard()->SetAsText(Plain);
    if (!Marked.empty()) {
        if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, Marked.size() + 1)) {
            if (char* p = static_cast<char*>(GlobalLock(block))) {
                std::memcpy(p, Marked.c_str(), Marked.size() + 1);
                GlobalUnlock(block);
                ::Clipboard()->SetAsHandle(MarkedFormat(), block);
            } else {
                GlobalFree(block);
            }
        }
    }
    ::Clipboard()->Close();
}

bool TMPPlatformClipboard::GetMarked(std::string& Text) {
    if (!::Clipboard()->HasFormat(MarkedFormat()))
        return false;
    HGLOBAL block = ::Clipboard()->GetAsHandle(MarkedFormat());
    const char* p = static_cast<const char*>(GlobalLock(block));
    if (!p)
        return false;
    // Up to the terminating zero; a block from elsewhere may lack it.
    Text.assign(p, strnlen(p, GlobalSize(block)));
    GlobalUnlock(block);
    return true;
}

bool TMPPlatformClipboard::GetPlain(std::string& Text) {
    if (!::Clipboard()->HasFormat(CF_TEXT))
        return false;
    Text = ::Clipboard()->AsText();
    return true;
}

// ---- construction --------------------------------------------------------------------------------

TMPCustomSyntaxMemo::TMPCustomSyntaxMemo(TComponent* AOwner)
    : TCustomControl(AOwner), FMeasure(std::make_unique<TBitmap>()), FGlyphs(std::make_unique<TBitmap>()) {
    MakeScrollBars();
    OnModelChange = [this](TChangedItems k) {
        if (OnChange)
            OnChange(this, k);
    };
    TMPPlatformClipboard::MarkedFormat(); // known before the first copy
    SetClipboard(&PlatformClipboard());
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque, csCaptureMouse, csDoubleClicks, csClickEvents});
    FMeasure->SetSize(1, 1);
    TFont f;
    f.SetName("Arial");
    f.SetSize(9);
    f.SetColor(clBlack);
    SetFont(&f);
    SetTabStop(true);
    SetBounds(Left(), Top(), 185, 89);
    SetColor(clWindow);
    SetCursor(crIBeam);
    Metrics();
}

TMPCustomSyntaxMemo::~TMPCustomSyntaxMemo() {
    OnModelChange = nullptr;
    SetClipboard(nullptr);
    for (TScrollBar* bar : {FVScroll, FHScroll}) {
        bar->OnChange = nullptr;
        bar->OnEnter = nullptr;
    }
}

void TMPCustomSyntaxMemo::MakeScrollBars() {
    FVScroll = new TScrollBar(this);
    FVScroll->SetKind(sbVertical);
    FHScroll = new TScrollBar(this);
    for (TScrollBar* bar : {FVScroll, FHScroll}) {
        bar->SetParent(this);
        bar->SetTabStop(false);
        bar->SetEnabled(false);
        bar->OnChange = [this](TObject* Sender) { ScrollBarChanged(Sender); };
        // Keys belong to the text: a bar that gets the focus hands it back.
        bar->OnEnter = [this](TObject*) {
            if (CanFocus())
                SetFocus();
        };
    }
    PlaceScrollBars();
}

void TMPCustomSyntaxMemo::PlaceScrollBars() {
    FVScroll->SetAlign(alRight);
    FHScroll->SetAlign(alBottom);
    for (TScrollBar* bar : {FVScroll, FHScroll}) {
        bar->SetCtl3D(true);
        bar->SetVisible(true);
    }
}

bool TMPCustomSyntaxMemo::IsOwnScrollBar(HWND Wnd) const {
    if (!Wnd)
        return false;
    for (TScrollBar* bar : {FVScroll, FHScroll})
        if (bar->HandleAllocated() && bar->Handle() == Wnd)
            return true;
    return false;
}

void TMPCustomSyntaxMemo::ScrollBarChanged(TObject* Sender) {
    if (FSettingBars)
        return;
    if (Sender == FHScroll)
        SetHorzOffset(FHScroll->Position());
    else
        SetTopRow(LineAtVisibleIndex(FVScroll->Position()));
}

void TMPCustomSyntaxMemo::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

// ---- properties ----------------------------------------------------------------------------------

void TMPCustomSyntaxMemo::SetSelColor(TColor v) {
    if (v == FSelColor)
        return;
    FSelColor = v;
    if (!Range()->IsEmpty())
        InvalidateAll();
}

void TMPCustomSyntaxMemo::SetDefBackColor(TColor v) {
    FDefBackColor = v;
    InvalidateAll();
}

void TMPCustomSyntaxMemo::SetDefForeColor(TColor v) {
    FDefForeColor = v;
    InvalidateAll();
}

void TMPCustomSyntaxMemo::SetGutterWidth(int v) {
    if (v == FGutterWidth)
        return;
    FGutterWidth = v;
    InvalidateAll();
}

void TMPCustomSyntaxMemo::SetSectionIndent(int v) {
    FSectionIndent = v;
    InvalidateAll();
}

void TMPCustomSyntaxMemo::SetShowRowNumbers(bool v) {
    if (v == FShowRowNumbers)
        return;
    FShowRowNumbers = v;
    InvalidateAll();
}

void TMPCustomSyntaxMemo::SetOptions(TMPSynMemoOptions Value) {
    const TMPSynMemoOptions old = Options();
    if (Value == old)
        return;
    TMPSynMemoCore::SetOptions(Value);
    const TMPSynMemoOptions on = Value - old;
    if (on.Contains(smoShowFileNameInTabSheet) || on.Contains(smoShowFileNameInFormCaption))
        FileNameChanged();
    const TMPSynMemoOptions layout{smoAutoGutterWidth, smoVSNET_SectionsStyle};
    if (!((Value - old) * layout).Empty() || !((old - Value) * layout).Empty())
        InvalidateAll();
}

void TMPCustomSyntaxMemo::FileNameChanged() {
    const std::string& name = Lines()->FileName();
    if (Options().Contains(smoShowFileNameInTabSheet) && Parent() && Parent()->ClassName() == "TTabSheet")
        Parent()->SetCaption(ExtractFileName(name));
    if (Options().Contains(smoShowFileNameInFormCaption))
        if (TCustomForm* form = GetParentForm(this))
            form->SetCaption((Application ? Application->Title() : std::string()) + " - " + name);
}

// ---- metrics and layout --------------------------------------------------------------------------

void TMPCustomSyntaxMemo::Metrics() {
    const int h = Font()->Height();
    FLineHeight = h < 0 ? 3 - h : h + 3;
    FWidthsMeasured = false;
    LayoutRows();
}

void TMPCustomSyntaxMemo::LayoutRows() {
    PlaceScrollBars();
    const TRect band = RowBand(-1);
    FVisibleRows = std::max(0, band.Height() / std::max(FLineHeight, 1));
    FDirtyRows.assign(size_t(FVisibleRows), 1);
}

void TMPCustomSyntaxMemo::MeasureWidths() const {
    FWidthsMeasured = true;
    TCanvas* c = FMeasure->Canvas();
    c->SetFont(const_cast<TMPCustomSyntaxMemo*>(this)->Font());
    for (int bold = 0; bold < 2; ++bold) {
        c->Font()->SetStyle(bold ? TFontStyles{fsBold} : TFontStyles());
        for (int ch = 0; ch < 256; ++ch)
            FCharWidths[size_t(bold)][size_t(ch)] = c->TextWidth(std::string(1, char(ch)));
        const auto& w = FCharWidths[size_t(bold)];
        const bool tabular =
            std::all_of(w.begin() + '0', w.begin() + '9' + 1, [&](int d) { return d == w['0']; }) &&
            c->TextWidth("90123456789") == 11 * w['0'];
        FDigitWidth[size_t(bold)] = tabular ? w['0'] : 0;
    }
}

TRect TMPCustomSyntaxMemo::RowBand(int R) const {
    auto* self = const_cast<TMPCustomSyntaxMemo*>(this);
    const int cw = self->ClientWidth(),
              ch = self->ClientHeight() - (FHScroll->Visible() ? FHScroll->Height() : 0);
    TRect r = R < 0
                  ? Rect(0, 0, cw, ch)
                  : Bounds(0, R * FLineHeight, cw, std::max(0, std::min(FLineHeight, ch - R * FLineHeight)));
    r.Right -= (FVScroll->Visible() ? FVScroll->Width() : 0) + 1;
    return r;
}

TRect TMPCustomSyntaxMemo::GutterRect(int R) const {
    TRect g = RowBand(R);
    if (Options().Contains(smoVSNET_SectionsStyle)) {
        g.Right = g.Left + FGutterWidth + FSectionIndent + 2;
        return g;
    }
    const int depth =
        Options().Contains(smoAutoGutterWidth) ? Sections()->MaxLevel() : Sections()->RecordedMaxLevel();
    g.Right = g.Left + FGutterWidth + depth * FSectionIndent + 2;
    if (FShowRowNumbers) {
        for (char d : IntToStr(Lines()->Count()))
            g.Right += Widths()[1][static_cast<unsigned char>(d)];
        g.Right += 4;
    }
    return g;
}

TRect TMPCustomSyntaxMemo::TextAreaRect(int R) const {
    TRect t = RowBand(R);
    t.Left = GutterRect(R).Right;
    return t;
}

TRect TMPCustomSyntaxMemo::FoldBox(int R, int Level) const {
    const TRect band = RowBand(R);
    const int left = Options().Contains(smoVSNET_SectionsStyle) ? FGutterWidth + 2
                                                                : FGutterWidth + (Level - 1) * FSectionIndent;
    return Bounds(band.Left + left, (band.Top + band.Bottom) / 2 - 4, 9, 9);
}

// ---- rows and lines ------------------------------------------------------------------------------

int TMPCustomSyntaxMemo::VisibleIndexOf(int Line) const {
    Sections()->RecalculateIfPending();
    return Sections()->VisibleIndexOf(Line);
}

int TMPCustomSyntaxMemo::LineAtVisibleIndex(int Index) const {
    Sections()->RecalculateIfPending();
    return Sections()->LineAtVisibleIndex(Index);
}

int TMPCustomSyntaxMemo::RowOfLine(int Line) const {
    const int vi = VisibleIndexOf(Line);
    if (vi < 0)
        return -2;
    const int row = vi - std::max(VisibleIndexOf(FTopRow), 0);
    if (row < 0)
        return -1;
    return row >= FVisibleRows ? -3 : row;
}

int TMPCustomSyntaxMemo::TextX(int Column, int Line) const {
    const int space = Widths()[0][' '];
    const TMPSyntaxParser* tokens = Lines()->TokenListOf(Line);
    if (!tokens)
        return std::max(Column, 0) * space;
    const std::string_view text = Lines()->Line(Line);
    int x = 0, c = 0;
    for (const TMPSyntaxToken& t : tokens->Tokens()) {
        if (Column <= t.Start)
            break;
        x += (t.Start - c) * space;
        const bool bold = SyntaxAttributes()->GetStyle(t.Kind) & mpsBold;
        const int end = std::min<int>({t.Start + t.Length, Column, int(text.size())});
        for (int k = t.Start; k < end; ++k)
            x += Widths()[bold][static_cast<unsigned char>(text[size_t(k)])];
        c = std::max<int>(end, t.Start);
        if (Column <= t.Start + t.Length)
            return x + (Column - c) * space;
        c = t.Start + t.Length;
    }
    return x + std::max(Column - c, 0) * space;
}

int TMPCustomSyntaxMemo::ColumnAtX(int PixelX, int Line, int& TokenIndex) const {
    const int space = std::max(Widths()[0][' '], 1);
    TokenIndex = 65535;
    const TMPSyntaxParser* tokens = Lines()->TokenListOf(Line);
    if (PixelX < 0 || !tokens)
        return std::max(PixelX, 0) / space;
    const std::string_view text = Lines()->Line(Line);
    int x = 0, c = 0;
    for (int i = 0; i < tokens->Count(); ++i) {
        const TMPSyntaxToken& t = tokens->Tokens()[size_t(i)];
        for (; c < t.Start; ++c, x += space)
            if (x + space > PixelX) {
                TokenIndex = -i;
                return c;
            }
        const bool bold = SyntaxAttributes()->GetStyle(t.Kind) & mpsBold;
        for (; c < t.Start + t.Length; ++c) {
            const int w =
                c < int(text.size()) ? Widths()[bold][static_cast<unsigned char>(text[size_t(c)])] : space;
            if (x + w > PixelX) {
                TokenIndex = i;
                return c;
            }
            x += w;
        }
    }
    return c + (PixelX - x) / space;
}

TPoint TMPCustomSyntaxMemo::PointToText(int X, int Y, bool MapToLine) const {
    // Truncated toward zero, as the gutter's rows are: a point less than a row above the text is
    // still on the first row shown.
    int row = FLineHeight > 0 ? (Y - RowBand(-1).Top) / FLineHeight : 0;
    if (MapToLine)
        row = MoveLines(FTopRow, row, false);
    return {FHorzOffset + X - TextAreaRect(-1).Left, row};
}

TPoint TMPCustomSyntaxMemo::TextToClient(int PixelX, int Row) const {
    return {TextAreaRect(-1).Left + PixelX - FHorzOffset, Row * FLineHeight};
}

// ---- scrolling -----------------------------------------------------------------------------------

int TMPCustomSyntaxMemo::LongestLine() const {
    if (FLongest < 0) {
        FLongest = 0;
        for (int i = 0; i < Lines()->Count(); ++i)
            FLongest = std::max(FLongest, Lines()->LineLength(i));
    }
    return FLongest;
}

int TMPCustomSyntaxMemo::HorzMax() const {
    return std::max(0, 10 * LongestLine() - TextAreaRect(-1).Width());
}

int TMPCustomSyntaxMemo::VertMax() const {
    Sections()->RecalculateIfPending();
    return std::max(0, int(Sections()->VisibleLines().size()) - FVisibleRows + 1);
}

void TMPCustomSyntaxMemo::UpdateScrollBars() {
    if (!Parent() || Lines()->Updating())
        return;
    const int vmax = VertMax(), hmax = HorzMax();
    // A bar is told only what changed: each telling repaints it.
    auto params = [](TScrollBar* bar, int position, int max) {
        if (bar->Position() != position || bar->Min() != 0 || bar->Max() != max)
            bar->SetParams(position, 0, max);
    };
    FSettingBars = true;
    params(FVScroll, std::max(VisibleIndexOf(FTopRow), 0), vmax);
    FVScroll->SetSmallChange(1);
    // A view of one or two rows still pages forward.
    FVScroll->SetLargeChange(TScrollBarInc(std::max(FVisibleRows - 2, 1)));
    FVScroll->SetEnabled(vmax > 0);
    params(FHScroll, FHorzOffset, hmax);
    FHScroll->SetSmallChange(1);
    FHScroll->SetLargeChange(32);
    FHScroll->SetEnabled(hmax > 0);
    FSettingBars = false;
}

void TMPCustomSyntaxMemo::SetViewOrigin(int AHorzOffset, int ATopRow) {
    const int h = std::clamp(AHorzOffset, 0, HorzMax());
    const int vmax = VertMax();
    int vi = VisibleIndexOf(ATopRow);
    vi = vi < 0 ? vmax : std::clamp(vi, 0, vmax);
    const int t = std::max(LineAtVisibleIndex(vi), 0);
    if (h == FHorzOffset && t == FTopRow)
        return;
    FHorzOffset = h;
    FTopRow = t;
    InvalidateAll();
    UpdateScrollBars();
}

void TMPCustomSyntaxMemo::EnsureVisible(int Column, int Line, int Length) {
    const int row = RowOfLine(Line);
    if (row == -2)
        return;
    int top = FTopRow;
    if (row == -1)
        top = Line;
    else if (row == -3)
        top = MoveLines(Line, 1 - FVisibleRows, true);
    const int x = TextX(Column, Line), w = 10 * Length, width = TextAreaRect(-1).Width();
    int offset = FHorzOffset;
    if (x < FHorzOffset)
        offset = x;
    else if (x + w - FHorzOffset > width)
        offset = x + w - width;
    if (top != FTopRow || offset != FHorzOffset)
        SetViewOrigin(offset, top);
}

void TMPCustomSyntaxMemo::GotoLine(int Column, int Line) {
    if (!Lines()->ValidIndex(Line))
        return;
    WithinUpdate(Lines(), [&] {
        if (VisibleIndexOf(Line) < 0)
            Sections()->Expand(Line, false, true);
        SetViewOrigin(0, MoveLines(Line, -2, true));
        Range()->SetPos({Column, Line});
    });
}

void TMPCustomSyntaxMemo::SetHotToken(int TokenIndex, int Line) {
    WithinUpdate(Lines(), [&] {
        InvalidateLine(FHotToken.y);
        FHotToken = {-1, -1};
        const TMPSyntaxParser* tokens = Lines()->TokenListOf(Line);
        if (!tokens)
            return;
        if (const TMPSyntaxToken* t = tokens->Token(TokenIndex)) {
            EnsureVisible(t->Start, Line, t->Length);
            FHotToken = {TokenIndex, Line};
            InvalidateLine(Line);
        }
    });
}

void TMPCustomSyntaxMemo::ResetView() {
    TMPSynMemoCore::ResetView();
    FHorzOffset = 0;
    FTopRow = 0;
    FLeftDrag = FMiddleDrag = false;
    FLongest = -1;
    InvalidateAll();
}

// ---- repaint bookkeeping and caret ---------------------------------------------------------------

bool TMPCustomSyntaxMemo::CanPaint() {
    // Rows stay marked while the control is hidden and are painted when it shows again.
    return Parent() && HandleAllocated() && Visible() && !Lines()->Updating() && FLineHeight > 0;
}

void TMPCustomSyntaxMemo::InvalidateLine(int Line) {
    if (FLongest >= 0)
        FLongest = std::max(FLongest, Lines()->LineLength(Line));
    const int row = RowOfLine(Line);
    if (row >= 0 && row < int(FDirtyRows.size()))
        FDirtyRows[size_t(row)] = 1;
    FlushRows();
}

void TMPCustomSyntaxMemo::InvalidateFrom(int Line) {
    FLongest = -1;
    int row = RowOfLine(Line);
    if (row == -1)
        row = 0;
    if (row >= 0)
        std::fill(FDirtyRows.begin() + std::min<ptrdiff_t>(row, ptrdiff_t(FDirtyRows.size())),
                  FDirtyRows.end(), 1);
    FlushRows();
}

void TMPCustomSyntaxMemo::InvalidateAll() {
    std::fill(FDirtyRows.begin(), FDirtyRows.end(), 1);
    FlushRows();
}

// The dirty rows go to the window as one invalid band; the window paints them (Paint) in its next
// paint, which on this platform is the only time a window takes pixels.
void TMPCustomSyntaxMemo::FlushRows() {
    if (!CanPaint())
        return;
    TRect dirty;
    bool any = false;
    HideCaret();
    for (int r = 0; r < int(FDirtyRows.size()); ++r) {
        if (!FDirtyRows[size_t(r)])
            continue;
        FDirtyRows[size_t(r)] = 0;
        const TRect band = RowBand(r);
        if (!any)
            dirty = band;
        else
            UnionRect(dirty, dirty, band);
        any = true;
    }
    if (any) {
        dirty.Left = 0;
        dirty.Right = ClientWidth();
        InvalidateRect(Handle(), &dirty, false);
    }
    ShowCaret();
}

void TMPCustomSyntaxMemo::Paint() {
    if (!Parent())
        return;
    FlushRows();
    // Every row the window asks for, straight onto it (the paint is buffered by the window system,
    // so a row never flickers), and the background where no row stands.
    TCanvas* C = Canvas();
    const TRect clip = C->ClipRect();
    TRect r;
    int first = -1, last = -1;
    for (int row = 0; row < FVisibleRows; ++row)
        if (IntersectRect(r, clip, RowBand(row))) {
            first = first < 0 ? row : first;
            last = row;
        }
    if (first >= 0) {
        // The faces are the same on every row: filled once for all of them.
        PaintRowBackgrounds(C, first, last);
        // The control's font once; the rows change only its style and colour.
        C->SetFont(Font());
        const TRect gutter = GutterRect(-1), text = TextAreaRect(-1);
        for (int row = first; row <= last; ++row)
            PaintRow(C, row, gutter, text);
    }
    const TRect band = RowBand(-1);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color());
    for (const TRect& rest : {Rect(band.Right, 0, ClientWidth(), ClientHeight()),
                              Rect(0, FVisibleRows * FLineHeight, band.Right, ClientHeight())})
        if (IntersectRect(r, clip, rest))
            C->FillRect(r);
}

void TMPCustomSyntaxMemo::BeginUpdateView() { HideCaret(); }

void TMPCustomSyntaxMemo::EndUpdateView() {
    FlushRows();
    UpdateScrollBars();
}

void TMPCustomSyntaxMemo::CaretMoved(int OldLine) {
    const TMPPos caret = Range()->Caret();
    EnsureVisible(caret.X, caret.Y, 1);
    if (FShowRowNumbers) {
        InvalidateLine(OldLine);
        InvalidateLine(caret.Y);
    }
}

void TMPCustomSyntaxMemo::ShowCaret() {
    if (!FHasCaret || !HandleAllocated() || Lines()->Updating() || FLineHeight <= 0)
        return;
    const TMPPos caret = Range()->Caret();
    TPoint p;
    if (Lines()->Count() == 0) {
        p = TextToClient(0, 0);
    } else {
        const int row = RowOfLine(caret.Y);
        if (row < 0) {
            HideCaret();
            return;
        }
        p = TextToClient(TextX(caret.X, caret.Y), row);
    }
    SetCaretPos(p.x, p.y);
    ::ShowCaret(Handle());
    FCaretShown = true;
}

void TMPCustomSyntaxMemo::HideCaret() {
    if (!FCaretShown || !Parent())
        return;
    ::HideCaret(Handle());
    FCaretShown = false;
}

// ---- messages ------------------------------------------------------------------------------------

void TMPCustomSyntaxMemo::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        // Tab is one of the editor's keys (it inserts spaces), not a move to the next control.
        Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB;
        return;
    case WM_ERASEBKGND:
        // Paint covers every pixel of the client: an erase first would only be painted over.
        Message.Result = 1;
        return;
    case WM_SIZE:
        TCustomControl::Dispatch(Message);
        WithinUpdate(Lines(), [&] {
            LayoutRows();
            InvalidateAll();
        });
        if (!ComponentState().Contains(csDesigning))
            UpdateScrollBars();
        return;
    case WM_SETFOCUS:
        TCustomControl::Dispatch(Message);
        if (IsOwnScrollBar(TWMSetFocus(Message).FocusedWnd) && FHasCaret)
            return;
        CreateCaret(Handle(), nullptr, 1, FLineHeight);
        FHasCaret = true;
        ShowCaret();
        return;
    case WM_KILLFOCUS:
        if (IsOwnScrollBar(TWMKillFocus(Message).FocusedWnd)) {
            TCustomControl::Dispatch(Message);
            return;
        }
        HideCaret();
        FHasCaret = false;
        DestroyCaret();
        TCustomControl::Dispatch(Message);
        return;
    case CM_HINTSHOW:
        TCustomControl::Dispatch(Message);
        // The word's text may hold a '|', which is no short/long separator here.
        if (FCtrlHover)
            TCMHintShow(Message).HintInfo->HintStr = Hint();
        return;
    case WM_LBUTTONDBLCLK: {
        TWMMouse m(Message);
        DblClickMessage(m);
        return;
    }
    case WM_MOUSEWHEEL: {
        TWMMouseWheel m(Message);
        WheelMessage(m);
        Message.Result = 1;
        return;
    }
    default: TCustomControl::Dispatch(Message);
    }
}

void TMPCustomSyntaxMemo::CMFontChanged(TMessage& Message) {
    TCustomControl::CMFontChanged(Message);
    FWidthsMeasured = false;
    if (!Lines())
        return;
    WithinUpdate(Lines(), [&] {
        Metrics();
        InvalidateAll();
    });
}
