// TSpeedButton: state machine of the mouse and the group, and its painting with TCanvas.
#include "buttons.h"

#include "wingdi.h"

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
    FControlStyle = TControlStyle{csCaptureMouse, csDoubleClicks};
    SetBounds(Left(), Top(), 23, 22);
    FGlyph->OnChange = [this](TObject*) { Invalidate(); };
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetGlyph(const TBitmap* v) {
    FGlyph->Assign(v);
    // A strip of square frames tells how many it holds.
    if (v && v->Height() > 0 && v->Width() % v->Height() == 0 && v->Width() / v->Height() <= 4)
        FNumGlyphs = std::max(1, v->Width() / v->Height());
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(TNumGlyphs v) {
    FNumGlyphs = std::clamp(v, 1, 4);
    Invalidate();
}

void TSpeedButton::SetGroupIndex(int v) {
    FGroupIndex = v;
    if (v == 0)
        SetDown(false);
}

void TSpeedButton::SetDown(bool v) {
    if (FGroupIndex == 0)
        v = false;
    if (v == FDown || (FDown && !v && !FAllowAllUp))
        return;
    FDown = v;
    FState = v ? bsExclusive : bsUp;
    Invalidate();
    if (v)
        ReleaseGroup();
}

void TSpeedButton::SetAllowAllUp(bool v) {
    FAllowAllUp = v;
    if (Parent() && FGroupIndex != 0)
        for (int i = 0; i < Parent()->ControlCount(); ++i)
            if (auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
                b && b->FGroupIndex == FGroupIndex)
                b->FAllowAllUp = v;
}

void TSpeedButton::ReleaseGroup() {
    if (!Parent())
        return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
        if (b && b != this && b->FGroupIndex == FGroupIndex && b->FDown) {
            b->FDown = false;
            b->FState = bsUp;
            b->Invalidate();
        }
    }
}

void TSpeedButton::SetFlat(bool v) {
    FFlat = v;
    Invalidate();
}
void TSpeedButton::SetLayout(TButtonLayout v) {
    FLayout = v;
    Invalidate();
}
void TSpeedButton::SetMargin(int v) {
    FMargin = v;
    Invalidate();
}
void TSpeedButton::SetSpacing(int v) {
    FSpacing = v;
    Invalidate();
}
void TSpeedButton::SetTransparent(bool v) {
    FTransparent = v;
    Invalidate();
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled())
        return;
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FDragging)
        return;
    bool inside = X >= 0 && X < Width() && Y >= 0 && Y < Height();
    TButtonState s = FDown ? bsExclusive : inside ? bsDown : bsUp;
    if (s != FState) {
        FState = s;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging || Button != mbLeft)
        return;
    FDragging = false;
    bool inside = X >= 0 && X < Width() && Y >= 0 && Y < Height();
    if (FGroupIndex == 0) {
        FState = bsUp;
        Invalidate();
        if (inside)
            Click();
        return;
    }
    if (inside)
        SetDown(!FDown);
    FState = FDown ? bsExclusive : bsUp;
    Invalidate();
    if (inside)
        Click();
}

void TSpeedButton::CMMouseEnter(TMessage& Message) {
    TGraphicControl::CMMouseEnter(Message);
    FMouseInControl = true;
    if (FFlat && Enabled())
        Invalidate();
}

void TSpeedButton::CMMouseLeave(TMessage& Message) {
    TGraphicControl::CMMouseLeave(Message);
    FMouseInControl = false;
    if (FFlat && Enabled())
        Invalidate();
}

void TSpeedButton::CMEnabledChanged(TMessage& Message) {
    TGraphicControl::CMEnabledChanged(Message);
    FState = !Enabled() ? bsDisabled : FDown ? bsExclusive : bsUp;
    Invalidate();
}

void TSpeedButton::CMTextChanged(TMessage& Message) {
    TGraphicControl::CMTextChanged(Message);
    Invalidate();
}

void TSpeedButton::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    bool pushed = FState == bsDown || FState == bsExclusive;
    if (!FFlat || !FTransparent) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(FState == bsExclusive && (!FFlat || !FMouseInControl) ? clBtnHighlight
                                                                                   : Color());
        c->FillRect(r);
    }
    TRect edge = r;
    if (!FFlat)
        c->DrawEdge(edge, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    else if (pushed || (FMouseInControl && Enabled()))
        c->DrawEdge(edge, pushed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    int offset = pushed ? 1 : 0;

    // Glyph frame for the state, then the caption beside it as the layout says.
    // A state without a frame of its own shows the up frame.
    int frame = int(FState) < FNumGlyphs ? int(FState) : 0;
    int gw = FGlyph->Empty() ? 0 : FGlyph->Width() / FNumGlyphs, gh = FGlyph->Empty() ? 0 : FGlyph->Height();
    std::string caption = Caption();
    c->SetFont(Font());
    TSize ts = caption.empty() ? TSize{0, 0} : c->TextExtent(caption);
    bool horizontal = FLayout == blGlyphLeft || FLayout == blGlyphRight;
    int gap = gw && ts.cx ? FSpacing : 0;
    int total = horizontal ? gw + gap + ts.cx : gh + gap + ts.cy;
    int room = horizontal ? r.Width() : r.Height();
    int start = FMargin < 0 ? (room - total) / 2 : FMargin;
    TPoint g, t;
    if (horizontal) {
        int gx = FLayout == blGlyphLeft ? start : room - start - gw;
        int tx = FLayout == blGlyphLeft ? start + gw + gap : room - start - gw - gap - ts.cx;
        g = TPoint(gx, (r.Height() - gh) / 2);
        t = TPoint(tx, (r.Height() - ts.cy) / 2);
    } else {
        int gy = FLayout == blGlyphTop ? start : room - start - gh;
        int ty = FLayout == blGlyphTop ? start + gh + gap : room - start - gh - gap - ts.cy;
        g = TPoint((r.Width() - gw) / 2, gy);
        t = TPoint((r.Width() - ts.cx) / 2, ty);
    }
    if (gw) {
        TBitmap part;
        part.SetSize(gw, gh);
        part.Canvas()->CopyRect(Rect(0, 0, gw, gh), FGlyph->Canvas(), Bounds(frame * gw, 0, gw, gh));
        if (FState == bsDisabled && FNumGlyphs <= int(bsDisabled)) {
            // No disabled frame: the up frame embossed in the 3-D colours.
            TImageList emboss(nullptr);
            emboss.SetWidth(gw);
            emboss.SetHeight(gh);
            emboss.AddMasked(&part, FGlyph->TransparentColor());
            emboss.Draw(c, g.x + offset, g.y + offset, 0, false);
        } else {
            part.SetTransparent(true);
            part.SetTransparentColor(FGlyph->TransparentColor());
            c->Draw(g.x + offset, g.y + offset, &part);
        }
    }
    if (!caption.empty()) {
        c->Brush()->SetStyle(bsClear);
        TRect tr = Bounds(t.x + offset, t.y + offset, ts.cx, ts.cy);
        if (!Enabled()) {
            OffsetRect(tr, 1, 1);
            c->Font()->SetColor(clBtnHighlight);
            c->DrawText(caption, tr, DT_CENTER | DT_SINGLELINE);
            OffsetRect(tr, -1, -1);
            c->Font()->SetColor(clBtnShadow);
        }
        c->DrawText(caption, tr, DT_CENTER | DT_SINGLELINE);
    }
}
