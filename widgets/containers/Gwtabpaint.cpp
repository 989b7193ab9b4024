// Painting of the tab engine: tabs, cards, captions, the scroller and the close button, all drawn
// into one off-screen bitmap. Widget layer.
#include <algorithm>

#include "Gwgrafx.h"
#include "Gwtabs.h"
#include "Gwthemesrv.h"
#include "boundary.h"
#include "forms.h"
#include "winapi.h"
#include "wingdi.h"

namespace {

bool Meets(const TRect& A, const TRect& B) {
    return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}

size_t ExpectedPoints(TGwTabStyle Style, bool Soft) {
    switch (Style) {
    case tsCutCorner: return 5;
    case tsRoundCorners: return 6;
    default: return Soft ? 6 : (Style == tsDoubleSlant ? 4 : 5);
    }
}

} // namespace

void TGwCustomTabControl::PaintBackground(TCanvas* ACanvas, const TRect& ARect, bool& Handled) {
    if (OnPaintBackground)
        OnPaintBackground(this, ACanvas, ARect, Handled);
}

void TGwCustomTabControl::PaintCardBackground(TCanvas* ACanvas, int ARow, const TRect& ARect, bool& Handled) {
    if (OnPaintCardBackground)
        OnPaintCardBackground(this, ACanvas, ARow, ARect, Handled);
}

void TGwCustomTabControl::PaintTabBackground(TCanvas* ACanvas, int ATabIndex, const TRect& ARect,
                                             bool& Handled) {
    if (OnPaintTabBackground)
        OnPaintTabBackground(this, ACanvas, ATabIndex, ARect, Handled);
}

// A paint that fails (a bad index, a shape error) leaves the frame unfinished but never leaves the
// paint message. The window's paint is already double-buffered, so the control draws straight into
// it: an off-screen copy of the whole control cost the first paint a full-size image to fill and
// copy.
void TGwCustomTabControl::Paint() {
    RunHandler(this, [this] { PaintTo(Canvas()); });
}

void TGwCustomTabControl::PaintTo(TCanvas* C) {
    CheckCalcNeeded();
    if (FParentBackgroundColor && Parent())
        FBackgroundColor = Parent()->Color();
    TRect whole{0, 0, Width() + 1, Height() + 1};
    bool handled = false;
    PaintBackground(C, whole, handled);
    if (!handled) {
        if (FTransparent) {
            DrawParentImage(this, C->Handle(), false);
        } else {
            C->Brush()->SetStyle(bsSolid);
            C->Brush()->SetColor(FBackgroundColor);
            C->FillRect(whole);
        }
    }
    // Far rows first, each row's tabs from the last to the first, so nearer tabs overlap; the back
    // cards between the rows, the current tab last and then the front card that joins it.
    bool currentShown = FTabIndex >= 0 && FTabIndex < TabCount() && TabInView(FTabIndex) &&
                        (FScrollerNeeded ? FTabIndex >= FFirstIndex : true);
    for (int row = FRowExtent - 1; row >= 0; --row) {
        for (int i = TabCount() - 1; i >= 0; --i) {
            const TGwTabData& t = Tab(i);
            if (i == FTabIndex || !t.Visible || t.Row != row || !TabInView(i) ||
                (FScrollerNeeded && i < FFirstIndex))
                continue;
            DrawTab(C, i);
        }
        if (row > 0)
            DrawCard(C, row);
    }
    DrawCard(C, 0);
    if (currentShown)
        DrawTab(C, FTabIndex);
    DrawControlButtons(C);
    DrawMoveTabIndicator(C);
}

// Where a dragged tab will land: a band across the drop target's edge on the side the tab ends up,
// two triangles pointing at that edge. Worked out with the tabs on top, then mapped.
void TGwCustomTabControl::DrawMoveTabIndicator(TCanvas* C) {
    if (FDropTarget < 0 || FDropTarget >= TabCount() || FTabIndex < 0 || FTabIndex >= TabCount() ||
        !Tab(FDropTarget).Visible)
        return;
    TRect t = CalcTabRect(FDropTarget);
    bool leading = (FDropTarget < FTabIndex) != (FTabSequence == tsReverse);
    int half = (t.Bottom - t.Top) / 2, edge;
    if (leading)
        edge = t.Left + (FTabStyle == tsDoubleSlant || FTabStyle == tsBackSlant ? half : 0);
    else
        edge = t.Right - (FTabStyle == tsSingleSlant || FTabStyle == tsDoubleSlant  ? half
                          : FTabStyle == tsCutCorner || FTabStyle == tsRoundCorners ? 1
                                                                                    : 0);
    int y0 = t.Top - 2, y1 = t.Top + 6;
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBtnShadow);
    C->FillRect(CalcMapRect(TRect{edge - 8, y0, edge + 7, y1}));
    C->Pen()->SetStyle(psClear);
    C->Brush()->SetColor(clBlack);
    for (int side : {-1, 1}) {
        std::vector<TPoint> tri{{edge + side * 7, y0}, {edge + side * 7, y1}, {edge + side, (y0 + y1) / 2}};
        for (TPoint& p : tri)
            p = CalcMapPoint(p);
        C->Polygon(tri);
    }
    C->Pen()->SetStyle(psSolid);
}

void TGwCustomTabControl::DrawOutline(TCanvas* C, const std::vector<TPoint>& Pts, TColor Color) {
    C->Pen()->SetColor(Color);
    C->Pen()->SetStyle(psSolid);
    C->MoveTo(Pts.front().x, Pts.front().y);
    for (size_t k = 1; k < Pts.size(); ++k)
        C->LineTo(Pts[k].x, Pts[k].y);
}

void TGwCustomTabControl::DrawTab(TCanvas* C, int Index) {
    const TGwTabData& t = Tab(Index);
    TRect m = CalcMapRect(CalcTabRect(Index));
    if (!Meets(m, C->ClipRect()))
        return;
    std::vector<TPoint> pts = CalcMappedTabRegionPts(Index);
    if (pts.size() != ExpectedPoints(FTabStyle, FSoftCorners))
        throw EGwTabControlError(SGwTabWrongPointCount);
    HRGN rgn = CalcTabRegion(Index, m);
    HDC dc = C->Handle();
    int saved = SaveDC(dc);
    if (!saved)
        throw EGwTabControlError(SGwTabSaveDC);
    SelectClipRgn(dc, rgn);
    bool current = Index == FTabIndex;
    TColor base = FUseColoredTabs ? t.Color : Color();
    bool handled = false;
    PaintTabBackground(C, Index, m, handled);
    if (!handled) {
        C->Brush()->SetStyle(bsSolid);
        if (current || !FUseGradients || !IsFullColorSupported()) {
            C->Brush()->SetColor(base);
            C->FillRect(m);
        } else {
            TColor dark = FTabColors.Shadow(), light = FTabColors.Unselected();
            if (FUseColoredTabs) {
                dark = t.Color;
                light = t.Color == clBtnFace ? clBtnFace : DarkerColor(t.Color, 20);
            }
            bool nearFirst = FTabOrientation == toTop || FTabOrientation == toLeft;
            PaintGradient(C, m, Vertical() ? gdVerticalEnd : gdHorizontalEnd, nearFirst ? dark : light,
                          nearFirst ? light : dark, 1);
        }
    }
    if (FHotTrack && FHotTrackStyle == htsTab && (current || Index == FHotIndex)) {
        TRect bar{m.Left - 1, m.Top - 1, m.Right + 1, m.Bottom + 1};
        int deep = (FTabOrientation == toTop || FTabOrientation == toLeft) ? 6 : 4;
        switch (FTabOrientation) {
        case toTop: bar.Bottom = bar.Top + deep; break;
        case toBottom: bar.Top = bar.Bottom - deep; break;
        case toLeft: bar.Right = bar.Left + deep; break;
        case toRight: bar.Left = bar.Right - deep; break;
        }
        TColor hot =
            FHotTrackColorType == htctComplement ? ComplementaryColor(FHotTrackColor) : FHotTrackColor;
        C->Brush()->SetColor(current ? FTabColors.HighlightBar() : hot);
        C->FillRect(bar);
    }
    TRect faceRect = CalcTabFaceRect(Index);
    DrawCaption(C, Index, faceRect);
    RestoreDC(dc, saved);
    DrawOutline(C, pts, AdjustColor(FFlatColor, FFlatColorAdjustment));
    if (current && FShowFocusRect && Focused())
        C->DrawFocusRect(FocusRect(faceRect));
}

// The face grown by 1 along the row (a pixel lower too under top and bottom tabs), kept clear of the
// round style's corners.
TRect TGwCustomTabControl::FocusRect(const TRect& Face) const {
    TRect r = Face;
    bool round = FTabStyle == tsRoundCorners;
    switch (FTabOrientation) {
    case toTop:
    case toBottom:
        r = {r.Left - 1, r.Top, r.Right + 1, r.Bottom + 1};
        if (round && FTabOrientation == toTop)
            r.Top += 1;
        else if (round)
            r.Bottom -= 1;
        break;
    case toLeft:
    case toRight:
        r = {r.Left, r.Top - 1, r.Right, r.Bottom + 1};
        if (round && FTabOrientation == toLeft)
            r.Left += 2;
        else if (round)
            r.Right -= 2;
        break;
    }
    return r;
}

void TGwCustomTabControl::DrawCaption(TCanvas* C, int Index, const TRect& Face) {
    const TGwTabData& t = Tab(Index);
    TRect text = Face;
    int img = t.Enabled || t.DisabledIndex < 0 ? t.ImageIndex : t.DisabledIndex;
    if (FImages && (t.ImageIndex >= 0 || t.DisabledIndex >= 0)) {
        int iw = FImages->Width(), ih = FImages->Height();
        // Only a tab with an image gives room to it; the others keep their whole face for text.
        TRect ir = Face;
        switch (FImagePosition) {
        case ipLeft:
            ir.Right = ir.Left + iw;
            text.Left = ir.Right + FImageMargin;
            break;
        case ipRight:
            ir.Left = ir.Right - iw;
            text.Right = ir.Left - FImageMargin;
            break;
        case ipTop:
            ir.Bottom = ir.Top + ih;
            text.Top = ir.Bottom + FImageMargin;
            break;
        case ipBottom:
            ir.Top = ir.Bottom - ih;
            text.Bottom = ir.Top - FImageMargin;
            break;
        default: break;
        }
        bool lookEnabled = t.Enabled || t.DisabledIndex >= 0;
        if (img >= 0 && FImagePosition == ipStretch) {
            // Drawn on a key colour first, so the image keeps its own transparency when stretched.
            TBitmap b;
            b.SetSize(iw, ih);
            b.Canvas()->Brush()->SetColor(clFuchsia);
            b.Canvas()->FillRect(TRect{0, 0, iw, ih});
            FImages->Draw(b.Canvas(), 0, 0, img, lookEnabled);
            b.SetTransparentColor(clFuchsia);
            b.SetTransparent(true);
            // The face measures the caption alone; the image never shrinks below its own size.
            if (ir.Width() < iw)
                ir = {(ir.Left + ir.Right - iw) / 2, ir.Top, (ir.Left + ir.Right - iw) / 2 + iw, ir.Bottom};
            if (ir.Height() < ih)
                ir = {ir.Left, (ir.Top + ir.Bottom - ih) / 2, ir.Right, (ir.Top + ir.Bottom - ih) / 2 + ih};
            C->StretchDraw(ir, &b);
        } else if (img >= 0) {
            int x = ir.Left + (FImageAlignment == haCenter  ? (ir.Width() - iw) / 2
                               : FImageAlignment == haRight ? ir.Width() - iw
                                                            : 0);
            int y = ir.Top + (FImageAlignmentVertical == vaCenter   ? (ir.Height() - ih) / 2
                              : FImageAlignmentVertical == vaBottom ? ir.Height() - ih
                                                                    : 0);
            FImages->Draw(C, x, y, img, lookEnabled);
        }
    }
    if (t.Caption.empty())
        return;
    bool bold = FBoldCurrentTab && Index == FTabIndex;
    TSize block = CalcTextExtent(t.Caption, bold);
    if (!VerticalText()) {
        if (FTextAlignmentVertical == vaCenter)
            text.Top += (text.Height() - block.cy) / 2;
        else if (FTextAlignmentVertical == vaBottom)
            text.Top = text.Bottom - block.cy;
    } else if (FTextAlignment == haCenter) {
        int in = (text.Width() - block.cx) / 2;
        text.Left += in;
        text.Right -= in;
    } else if (FTabOrientation == toRight && FTextAlignment == haLeft) {
        text.Right = text.Left + block.cx;
    } else if (FTabOrientation != toRight && FTextAlignment == haRight) {
        text.Left = text.Right - block.cx;
    }
    std::vector<std::string> lines;
    ParseTextLines(t.Caption, lines);
    int lineH = lines.empty() ? 0 : block.cy / static_cast<int>(lines.size());
    if (VerticalText())
        lineH = lines.empty() ? 0 : block.cx / static_cast<int>(lines.size());
    auto draw = [&](int ox, int oy, TColor color) {
        for (size_t k = 0; k < lines.size(); ++k) {
            int step = static_cast<int>(k) * lineH;
            if (!VerticalText())
                DoTextOut(C, text.Left + ox, text.Top + step + oy, lines[k], color);
            else if (FTabOrientation == toRight)
                DoTextOut(C, text.Right - step + ox, text.Top + oy, lines[k], color);
            else
                DoTextOut(C, text.Left + step + ox, text.Bottom + oy, lines[k], color);
        }
    };
    C->Font()->Assign(*Font());
    if (bold)
        C->Font()->SetStyle(C->Font()->Style() + TFontStyles{fsBold});
    if (VerticalText())
        C->Font()->SetOrientation(FTabOrientation == toRight ? 2700 : 900);
    if (!t.Enabled) {
        draw(1, 1, GetTextColor(Index, txDisabledHighlight, FTextColors.DisabledHighlight()));
        draw(0, 0, GetTextColor(Index, txDisabledShadow, FTextColors.DisabledShadow()));
    } else if (FHotTrack && Index == FHotIndex) {
        draw(0, 0,
             GetTextColor(Index, txHot, FHotTrackStyle == htsText ? FHotTrackColor : FTextColors.Selected()));
    } else if (Index == FTabIndex) {
        draw(0, 0, GetTextColor(Index, txSelected, FTextColors.Selected()));
    } else {
        draw(0, 0, GetTextColor(Index, txNormal, FTextColors.Unselected()));
    }
    C->Font()->SetOrientation(0);
}

void TGwCustomTabControl::DoTextOut(TCanvas* C, int X, int Y, const std::string& Text, TColor Color) {
    std::string parts[3];
    SplitAccel(Text, parts[0], parts[1], parts[2]);
    C->Brush()->SetStyle(bsClear);
    C->Font()->SetColor(Color);
    for (int k = 0; k < 3; ++k) {
        if (parts[k].empty())
            continue;
        bool underline = k == 1 && !C->Font()->Style().Contains(fsUnderline);
        if (underline)
            C->Font()->SetStyle(C->Font()->Style() + TFontStyles{fsUnderline});
        C->TextOut(X, Y, parts[k]);
        int advance = C->TextExtent(parts[k]).cx;
        if (underline)
            C->Font()->SetStyle(C->Font()->Style() - TFontStyles{fsUnderline});
        if (!VerticalText())
            X += advance;
        else if (FTabOrientation == toRight)
            Y += advance;
        else
            Y -= advance;
    }
    C->Brush()->SetStyle(bsSolid);
}

// The shadow darkens what lay under the card (Under gives it by client point), not the card's own
// colour. The edges mostly lie over one plain colour, so each run of one shade is filled at once.
void TGwCustomTabControl::DrawShadeRun(TCanvas* C, const std::function<TColor(TPoint)>& Under, TPoint From,
                                       TPoint To, int Weight) {
    int dx = (To.x > From.x) - (To.x < From.x), dy = (To.y > From.y) - (To.y < From.y);
    auto shade = [&](TPoint p) { return BlendColors(clBlack, Under(p), static_cast<std::uint8_t>(Weight)); };
    TBrush* brush = C->Brush();
    TColor keepColor = brush->Color();
    TBrushStyle keepStyle = brush->Style();
    brush->SetStyle(bsSolid);
    TPoint p = From;
    while (p != To) {
        TColor c = shade(p);
        TPoint last = p, q{p.x + dx, p.y + dy};
        while (q != To && shade(q) == c) {
            last = q;
            q = TPoint{q.x + dx, q.y + dy};
        }
        brush->SetColor(c);
        C->FillRect(TRect{std::min(p.x, last.x), std::min(p.y, last.y), std::max(p.x, last.x) + 1,
                          std::max(p.y, last.y) + 1});
        p = q;
    }
    brush->SetColor(keepColor);
    brush->SetStyle(keepStyle);
}

void TGwCustomTabControl::DrawCard(TCanvas* C, int Row) {
    TRect r = CalcMappedCardRect(Row);
    if (r.Width() == 0)
        return;
    bool current = FTabIndex >= 0 && FTabIndex < TabCount();
    TColor fill = FUseColoredTabs && current ? Tab(FTabIndex).Color : Color();
    bool shadow = FShowCardFrame && FShowFullFrame && FShowShadow && FTabOrientation == toTop &&
                  FTabSequence == tsStandard;
    // The shadow falls on the card's two right columns and two bottom rows: only they are kept (a
    // copy of the whole card cost the first paint a card-sized image).
    int w = r.Width(), h = r.Height();
    TBitmap right, bottom;
    if (shadow) {
        right.SetSize(2, h);
        right.Canvas()->CopyRect(TRect{0, 0, 2, h}, C, TRect{r.Right - 2, r.Top, r.Right, r.Bottom});
        bottom.SetSize(w, 2);
        bottom.Canvas()->CopyRect(TRect{0, 0, w, 2}, C, TRect{r.Left, r.Bottom - 2, r.Right, r.Bottom});
    }
    auto under = [&](TPoint p) {
        int x = p.x - r.Left, y = p.y - r.Top;
        if (x < 0 || y < 0 || x >= w || y >= h)
            return TColor(-1);
        return x >= w - 2 ? right.Canvas()->GetPixel(x - (w - 2), y)
                          : bottom.Canvas()->GetPixel(x, y - (h - 2));
    };
    bool handled = false;
    PaintCardBackground(C, Row, r, handled);
    if (!handled) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(fill);
        C->FillRect(r);
    }
    if (!FShowCardFrame)
        return;
    TColor line = AdjustColor(FFlatColor, FFlatColorAdjustment);
    TPoint p0{r.Left, r.Top}, p1{r.Right - 1, r.Top}, p2{r.Right - 1, r.Bottom - 1}, p3{r.Left, r.Bottom - 1};
    if (shadow) {
        DrawOutline(C, {p0, {p1.x - 2, p1.y}, {p2.x - 2, p2.y - 2}, {p3.x, p3.y - 2}, p0}, line);
        DrawShadeRun(C, under, {p1.x - 1, p1.y + 1}, {p2.x - 1, p2.y - 1}, 30);
        DrawShadeRun(C, under, {p2.x - 1, p2.y - 1}, {p3.x, p3.y - 1}, 30);
        DrawShadeRun(C, under, {p1.x - 1, p1.y}, p1, 15);
        DrawShadeRun(C, under, p1, p2, 15);
        DrawShadeRun(C, under, p2, p3, 15);
        DrawShadeRun(C, under, p3, {p3.x, p3.y - 1}, 15);
    } else if (FShowFullFrame) {
        DrawOutline(C, {p0, p1, p2, p3, p0}, line);
    } else {
        switch (FTabOrientation) {
        case toTop: DrawOutline(C, {p0, {p1.x + 1, p1.y}}, line); break;
        case toBottom: DrawOutline(C, {p3, {p2.x + 1, p2.y}}, line); break;
        case toLeft: DrawOutline(C, {p0, {p3.x, p3.y + 1}}, line); break;
        case toRight: DrawOutline(C, {p1, {p2.x, p2.y + 1}}, line); break;
        }
    }
    // The front card stays open under the current tab so the two read as one.
    if (Row != 0 || !current || !TabInView(FTabIndex))
        return;
    TRect tr = TabRect(FTabIndex);
    C->Pen()->SetColor(fill);
    switch (FTabOrientation) {
    case toTop:
        C->MoveTo(tr.Left + 1, r.Top);
        C->LineTo(tr.Right - 1, r.Top);
        break;
    case toBottom:
        C->MoveTo(tr.Left + 1, r.Bottom - 1);
        C->LineTo(tr.Right - 1, r.Bottom - 1);
        break;
    case toLeft:
        C->MoveTo(r.Left, tr.Top + 1);
        C->LineTo(r.Left, tr.Bottom - 1);
        break;
    case toRight:
        C->MoveTo(r.Right - 1, tr.Top + 1);
        C->LineTo(r.Right - 1, tr.Bottom - 1);
        break;
    }
}

// One step along the row toward the first tab, in client coordinates.
TPoint TGwCustomTabControl::InwardStep() const {
    bool rev = FTabSequence == tsReverse;
    switch (FTabOrientation) {
    case toTop:
    case toBottom: return {rev ? 1 : -1, 0};
    case toLeft: return {0, rev ? -1 : 1};
    default: return {0, rev ? 1 : -1};
    }
}

TRect TGwCustomTabControl::CloseButtonRect() {
    TRect ir = GetIndexRect();
    int s = ScrollerSize(), m = FMargin, x = 0, y = 0;
    bool rev = FTabSequence == tsReverse;
    switch (FTabOrientation) {
    case toTop:
        x = rev ? ir.Left + m : ir.Right - s - (FShowShadow ? 1 : -1) - m;
        y = ir.Bottom - s - 2;
        break;
    case toLeft:
        x = ir.Right - s - 2;
        y = rev ? ir.Bottom - s + 1 - m : ir.Top + m;
        break;
    case toBottom:
        x = rev ? ir.Left + m : ir.Right - s + 1 - m;
        y = ir.Top + 2;
        break;
    case toRight:
        x = ir.Left + 2;
        y = rev ? ir.Top + m : ir.Bottom - s + 1 - m;
        break;
    }
    return {x, y, x + s, y + s};
}

TRect TGwCustomTabControl::MenuButtonRect() {
    TRect r = CloseButtonRect();
    TPoint in = InwardStep();
    int shift = CloseButtonSpace();
    OffsetRect(r, in.x * shift, in.y * shift);
    return r;
}

void TGwCustomTabControl::BuildTabMenu(TPopupMenu* Menu) {
    Menu->Items()->Clear();
    Menu->SetImages(FImages);
    for (int i = 0; i < TabCount(); ++i) {
        const TGwTabData& t = Tab(i);
        if (!t.Visible)
            continue;
        auto* item = new TMenuItem(Menu);
        item->SetCaption(t.Caption);
        item->SetChecked(i == FTabIndex);
        item->SetEnabled(t.Enabled);
        item->SetImageIndex(!t.Enabled && t.DisabledIndex >= 0 ? t.DisabledIndex : t.ImageIndex);
        item->Tag = i;
        item->SetShortCut(0);
        item->OnClick = [this](TObject* Sender) {
            SetTabIndex(static_cast<int>(static_cast<TMenuItem*>(Sender)->Tag));
        };
        Menu->Items()->Add(item);
    }
}

void TGwCustomTabControl::DisplayMenu() {
    if (!FTabMenu)
        FTabMenu = new TPopupMenu(this);
    BuildTabMenu(FTabMenu);
    TRect r = MenuButtonRect();
    bool byRight = FTabOrientation == toRight ||
                   (FTabSequence == tsStandard && (FTabOrientation == toTop || FTabOrientation == toBottom));
    FTabMenu->SetAlignment(byRight ? paRight : paLeft);
    TPoint p = ClientToScreen(TPoint(byRight ? r.Right : r.Left, r.Bottom));
    FTabMenu->Popup(p.x, p.y);
}

// Half 0 scrolls toward the first tab, half 1 toward the last. The scroller sits inward of the
// close and menu buttons, its far end where the close button's would be.
TRect TGwCustomTabControl::ScrollerRect(int Half) {
    TRect c = CloseButtonRect();
    TPoint in = InwardStep();
    int s = c.Width();
    int shift = CloseButtonSpace() + MenuButtonSpace();
    OffsetRect(c, in.x * shift, in.y * shift);
    TRect nearHalf = c, farHalf = c;
    OffsetRect(nearHalf, in.x * (s - 1), in.y * (s - 1));
    // The near half (toward the first tab) scrolls back.
    return Half == 0 ? nearHalf : farHalf;
}

// Flat look: a gradient face (its colours exchanged while held) in the flat frame colour.
void TGwCustomTabControl::DrawButtonFrame(TCanvas* C, const TRect& R, bool Pressed) {
    TColor frame = AdjustColor(FFlatColor, FFlatColorAdjustment);
    C->Pen()->SetColor(frame);
    C->Pen()->SetStyle(psSolid);
    if (!FUseGradients) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(FTabColors.Unselected());
        C->Rectangle(R);
        return;
    }
    TColor top = FTabColors.Unselected(), bottom = FTabColors.Shadow();
    if (Pressed)
        std::swap(top, bottom);
    PaintGradient(C, TRect{R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1}, gdHorizontalEnd, top, bottom,
                  32);
    C->Brush()->SetStyle(bsClear);
    C->Rectangle(R);
    C->Brush()->SetStyle(bsSolid);
}

void TGwCustomTabControl::DrawScroller(TCanvas* C) {
    static const TDirection back[] = {dirLeft, dirDown, dirLeft, dirUp};
    static const TDirection on[] = {dirRight, dirUp, dirRight, dirDown};
    // The theme's spin buttons by the way their arrow points: normal, pressed, disabled.
    static const TThemedSpin themed[][3] = {{tsUpNormal, tsUpPressed, tsUpDisabled},
                                            {tsDownNormal, tsDownPressed, tsDownDisabled},
                                            {tsDownHorzNormal, tsDownHorzPressed, tsDownHorzDisabled},
                                            {tsUpHorzNormal, tsUpHorzPressed, tsUpHorzDisabled}};
    bool rev = FTabSequence == tsReverse;
    bool styled = ThemeServices()->ThemesEnabled();
    for (TGwTabButton half : {tbScrollBack, tbScrollOn}) {
        TRect r = ScrollerRect(half);
        bool down = PressedButton() == half;
        bool enabled = half == tbScrollBack ? FFirstIndex > 0 && !TabInView(FirstVisible())
                                            : LastVisible() >= 0 && !TabInView(LastVisible());
        TDirection d = (half == tbScrollBack) != rev ? back[FTabOrientation] : on[FTabOrientation];
        if (styled) {
            TThemedSpin part = themed[d][!enabled ? 2 : down ? 1 : 0];
            ThemeServices()->DrawElement(C, TThemeServices::GetElementDetails(part), r);
            continue;
        }
        DrawButtonFrame(C, r, down);
        TGwArrowState st;
        st.Down = down;
        st.Enabled = enabled;
        DrawSpinArrow(C, r, uiWindows95, d, st);
    }
}

void TGwCustomTabControl::DrawControlButtons(TCanvas* C) {
    bool styled = ThemeServices()->ThemesEnabled();
    if (MenuButtonSpace() > 0) {
        // The arrow points away from the tabs, toward the card.
        static const TDirection away[] = {dirDown, dirRight, dirUp, dirLeft};
        static const TThemedScrollBar themed[][2] = {{tsArrowBtnUpNormal, tsArrowBtnUpPressed},
                                                     {tsArrowBtnDownNormal, tsArrowBtnDownPressed},
                                                     {tsArrowBtnLeftNormal, tsArrowBtnLeftPressed},
                                                     {tsArrowBtnRightNormal, tsArrowBtnRightPressed}};
        TRect r = MenuButtonRect();
        bool down = PressedButton() == tbMenu;
        TDirection d = away[FTabOrientation];
        if (styled) {
            ThemeServices()->DrawElement(C, TThemeServices::GetElementDetails(themed[d][down]), r);
        } else {
            DrawButtonFrame(C, r, down);
            TGwArrowState st;
            st.Down = down;
            DrawSpinArrow(C, r, uiWindows95, d, st);
        }
    }
    if (CloseButtonSpace() > 0) {
        TRect r = CloseButtonRect();
        bool down = PressedButton() == tbClose, current = FTabIndex >= 0 && FTabIndex < TabCount();
        if (styled) {
            TThemedWindow part = !current ? twSmallCloseButtonDisabled
                                 : down   ? twSmallCloseButtonPressed
                                          : twSmallCloseButtonNormal;
            ThemeServices()->DrawElement(C, TThemeServices::GetElementDetails(part), r);
        } else {
            DrawButtonFrame(C, r, down);
            TGwArrowState st;
            st.Down = down;
            st.Enabled = current;
            DrawCloseX(C, r, uiWindows95, st);
        }
    }
    if (FScrollerNeeded)
        DrawScroller(C);
}

void TGwCustomTabControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    TCustomControl::DragOver(Source, X, Y, State, Accept);
    Accept = false;
    if (!FAllowTabDragging || Source != this)
        return;
    int target = -1;
    RunHandler(this, [&] { target = State == dsDragLeave ? -1 : TabAtPos(X, Y); });
    Accept = target >= 0 && target != FTabIndex;
    if (target < 0 && State != dsDragLeave) {
        if (!FDragScrollTimer) {
            FDragScrollTimer = new TTimer(this);
            FDragScrollTimer->OnTimer = [this](TObject*) { ScrollTimerExpired(); };
        }
        FDragScrollTimer->SetInterval(400);
        FDragScrollTimer->SetEnabled(true);
    }
    int shown = Accept ? target : -1;
    if (shown != FDropTarget) {
        FDropTarget = shown;
        Invalidate();
    }
}

int TGwCustomTabControl::DragScrollDirection(TPoint P) {
    int dir = 0;
    switch (FTabOrientation) {
    case toTop:
    case toBottom: dir = P.x < 0 ? -1 : P.x > Width() ? 1 : 0; break;
    case toLeft: dir = P.y < 0 ? 1 : P.y > Height() ? -1 : 0; break;
    case toRight: dir = P.y < 0 ? -1 : P.y > Height() ? 1 : 0; break;
    }
    return FTabSequence == tsReverse ? -dir : dir;
}

void TGwCustomTabControl::ScrollTimerExpired() {
    if (FDragScrollTimer)
        FDragScrollTimer->SetInterval(300);
    if (!Dragging())
        return;
    TPoint p;
    GetCursorPos(&p);
    if (int dir = DragScrollDirection(ScreenToClient(p)))
        ScrollTabs(dir > 0);
}

void TGwCustomTabControl::DragDrop(TObject* Source, int X, int Y) {
    TCustomControl::DragDrop(Source, X, Y);
    if (FDragScrollTimer)
        FDragScrollTimer->SetEnabled(false);
    FDropTarget = -1;
    Invalidate();
    if (!FAllowTabDragging || Source != this)
        return;
    RunHandler(this, [this, X, Y] {
        int target = TabAtPos(X, Y);
        if (target >= 0)
            ActiveTabMoved(target);
    });
}

void TGwCustomTabControl::CMMouseLeave(TMessage& Message) {
    TCustomControl::CMMouseLeave(Message);
    if (FHotIndex != -1) {
        FHotIndex = -1;
        Invalidate();
    }
}

void TGwCustomTabControl::CMFontChanged(TMessage& Message) {
    TCustomControl::CMFontChanged(Message);
    Rebuild();
}
