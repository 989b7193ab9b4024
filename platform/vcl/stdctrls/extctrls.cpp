// TPanel: bevels, border band, background and centred caption, drawn by the layer. GUI core.
#include "extctrls.h"

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                                  csDoubleClicks, csReplicatable};
    SetBounds(Left(), Top(), 185, 41);
    SetColor(clBtnFace);
    // A panel made a dock site lays its clients out through a dock manager.
    SetUseDockManager(true);
}

void TCustomPanel::Changed()
{
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut v)
{
    if (v == FBevelInner)
        return;
    FBevelInner = v;
    Changed();
}

void TCustomPanel::SetBevelOuter(TBevelCut v)
{
    if (v == FBevelOuter)
        return;
    FBevelOuter = v;
    Changed();
}

void TCustomPanel::SetBevelWidth(int v)
{
    if (v == FBevelWidth || v < 1)
        return;
    FBevelWidth = v;
    Changed();
}

void TCustomPanel::SetBorderWidth(int v)
{
    if (v == FBorderWidth || v < 0)
        return;
    FBorderWidth = v;
    Changed();
}

void TCustomPanel::SetAlignment(TAlignment v)
{
    if (v == FAlignment)
        return;
    FAlignment = v;
    Invalidate();
}

void TCustomPanel::CMTextChanged(TMessage& Message)
{
    TCustomControl::CMTextChanged(Message);
    Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect& Rect)
{
    TCustomControl::AdjustClientRect(Rect);
    InflateRect(Rect, -FBorderWidth, -FBorderWidth);
    int bevel = (FBevelOuter != bvNone ? FBevelWidth : 0) + (FBevelInner != bvNone ? FBevelWidth : 0);
    InflateRect(Rect, -bevel, -bevel);
}

namespace {

void BevelColors(TBevelCut cut, TColor& top, TColor& bottom)
{
    top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
    bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
    if (cut == bvSpace)
        top = bottom = clBtnFace;
}

} // namespace

void TCustomPanel::Paint()
{
    static const unsigned kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    TColor top, bottom;
    if (FBevelOuter != bvNone) {
        BevelColors(FBevelOuter, top, bottom);
        Frame3D(c, r, top, bottom, FBevelWidth);
    }
    Frame3D(c, r, Color(), Color(), FBorderWidth);
    if (FBevelInner != bvNone) {
        BevelColors(FBevelInner, top, bottom);
        Frame3D(c, r, top, bottom, FBevelWidth);
    }
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(r);
    std::string caption = Caption();
    if (caption.empty())
        return;
    c->Brush()->SetStyle(bsClear);
    c->SetFont(Font());
    int h = c->TextHeight("W");
    r.Top = (r.Top + r.Bottom - h) / 2;
    r.Bottom = r.Top + h;
    c->DrawText(caption, r, DT_EXPANDTABS | DT_VCENTER | kAlign[FAlignment]);
}
