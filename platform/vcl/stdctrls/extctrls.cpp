// TPanel: bevels, border band, background and centred caption, drawn by the layer. GUI core.
#include "extctrls.h"

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                                  csOpaque,          csDoubleClicks, csReplicatable};
    SetBounds(Left(), Top(), 185, 41);
    SetColor(clBtnFace);
    // A panel made a dock site lays its clients out through a dock manager.
    SetUseDockManager(true);
}

void TCustomPanel::Changed() {
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut v) {
    if (v == FBevelInner)
        return;
    FBevelInner = v;
    Changed();
}

void TCustomPanel::SetBevelOuter(TBevelCut v) {
    if (v == FBevelOuter)
        return;
    FBevelOuter = v;
    Changed();
}

void TCustomPanel::SetBevelWidth(int v) {
    if (v == FBevelWidth || v < 1)
        return;
    FBevelWidth = v;
    Changed();
}

void TCustomPanel::SetBorderWidth(int v) {
    if (v == FBorderWidth || v < 0)
        return;
    FBorderWidth = v;
    Changed();
}

void TCustomPanel::SetAlignment(TAlignment v) {
    if (v == FAlignment)
        return;
    FAlignment = v;
    Invalidate();
}

void TCustomPanel::CMTextChanged(TMessage& Message) {
    TCustomControl::CMTextChanged(Message);
    Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
    TCustomControl::AdjustClientRect(Rect);
    InflateRect(Rect, -FBorderWidth, -FBorderWidth);
    int bevel = (FBevelOuter != bvNone ? FBevelWidth : 0) + (FBevelInner != bvNone ? FBevelWidth : 0);
    InflateRect(Rect, -bevel, -bevel);
}

namespace {

void BevelColors(TBevelCut cut, TColor& top, TColor& bottom) {
    top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
    bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
    if (cut == bvSpace)
        top = bottom = clBtnFace;
}

} // namespace

void TCustomPanel::Paint() {
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

// ---- TBevel --------------------------------------------------------------------------------------

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
    FControlStyle << csReplicatable;
    SetBounds(Left(), Top(), 50, 50);
}

void TBevel::SetShape(TBevelShape v) {
    FShape = v;
    Invalidate();
}
void TBevel::SetStyle(TBevelStyle v) {
    FStyle = v;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas* c = Canvas();
    TColor dark = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor light = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    const int w = Width(), h = Height();
    auto line = [c](TColor color, int x1, int y1, int x2, int y2) {
        c->Pen()->SetColor(color);
        c->MoveTo(x1, y1);
        c->LineTo(x2, y2);
    };
    auto box = [&](TRect r, TColor topLeft, TColor bottomRight) {
        line(topLeft, r.Left, r.Bottom - 1, r.Left, r.Top);
        line(topLeft, r.Left, r.Top, r.Right - 1, r.Top);
        line(bottomRight, r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1);
        line(bottomRight, r.Right - 1, r.Bottom - 1, r.Left - 1, r.Bottom - 1);
    };
    c->Pen()->SetWidth(1);
    switch (FShape) {
    case bsBox: box(Rect(0, 0, w, h), dark, light); break;
    case bsFrame:
        box(Rect(1, 1, w, h), light, light);
        box(Rect(0, 0, w - 1, h - 1), dark, dark);
        break;
    case bsTopLine:
        line(dark, 0, 0, w, 0);
        line(light, 0, 1, w, 1);
        break;
    case bsBottomLine:
        line(dark, 0, h - 2, w, h - 2);
        line(light, 0, h - 1, w, h - 1);
        break;
    case bsLeftLine:
        line(dark, 0, 0, 0, h);
        line(light, 1, 0, 1, h);
        break;
    case bsRightLine:
        line(dark, w - 2, 0, w - 2, h);
        line(light, w - 1, 0, w - 1, h);
        break;
    case bsSpacer: break;
    }
}

// ---- TImage --------------------------------------------------------------------------------------

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TBitmap>()) {
    FControlStyle << csReplicatable;
    SetBounds(Left(), Top(), 105, 105);
    FPicture->OnChange = [this](TObject*) { PictureChanged(); };
}

TImage::~TImage() = default;

void TImage::SetStretch(bool v) {
    FStretch = v;
    Invalidate();
}
void TImage::SetCenter(bool v) {
    FCenter = v;
    Invalidate();
}
void TImage::SetProportional(bool v) {
    FProportional = v;
    Invalidate();
}
void TImage::SetTransparent(bool v) {
    FTransparent = v;
    FPicture->SetTransparent(v);
    Invalidate();
}

void TImage::SetAutoSize(bool v) {
    FAutoSize = v;
    PictureChanged();
}

void TImage::PictureChanged() {
    if (FAutoSize && !FPicture->Empty())
        SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
    Invalidate();
}

TRect TImage::DestRect() {
    int pw = FPicture->Width(), ph = FPicture->Height();
    int cw = ClientWidth(), ch = ClientHeight();
    int w = pw, h = ph;
    if (FStretch || (FProportional && (pw > cw || ph > ch))) {
        if (FProportional && pw > 0 && ph > 0) {
            // The largest size of the picture's shape that fits.
            if (cw * ph > ch * pw) {
                h = ch;
                w = ch * pw / ph;
            } else {
                w = cw;
                h = cw * ph / pw;
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect r = Rect(0, 0, w, h);
    if (FCenter)
        OffsetRect(r, (cw - w) / 2, (ch - h) / 2);
    return r;
}

void TImage::Paint() {
    if (FPicture->Empty())
        return;
    FPicture->SetTransparent(FTransparent);
    TRect r = DestRect();
    if (r.Width() == FPicture->Width() && r.Height() == FPicture->Height())
        Canvas()->Draw(r.Left, r.Top, FPicture.get());
    else
        Canvas()->StretchDraw(r, FPicture.get());
}

// ---- TSplitter -----------------------------------------------------------------------------------

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetAlign(alLeft);
    SetBounds(Left(), Top(), 3, 100);
    SetCursor(crHSplit);
}

void TSplitter::SetBeveled(bool v) {
    FBeveled = v;
    Invalidate();
}

TControl* TSplitter::FindControl() const {
    if (!Parent())
        return nullptr;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* c = Parent()->Controls(i);
        if (c == this || !c->Visible() || c->Align() != Align())
            continue;
        bool touches = false;
        switch (Align()) {
        case alLeft: touches = c->Left() + c->Width() == Left(); break;
        case alRight: touches = c->Left() == Left() + Width(); break;
        case alTop: touches = c->Top() + c->Height() == Top(); break;
        case alBottom: touches = c->Top() == Top() + Height(); break;
        default: break;
        }
        if (touches)
            return c;
    }
    return nullptr;
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    FControl = FindControl();
    FDownPos = ClientToScreen(TPoint(X, Y));
    if (FControl)
        FStartSize = Vertical() ? FControl->Width() : FControl->Height();
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    SetCursor(Vertical() ? crHSplit : crVSplit);
    if (!FControl || !Shift.Contains(ssLeft))
        return;
    TPoint p = ClientToScreen(TPoint(X, Y));
    int delta = Vertical() ? p.x - FDownPos.x : p.y - FDownPos.y;
    if (Align() == alRight || Align() == alBottom)
        delta = -delta;
    // The resized control keeps MinSize, and so does the room left for the others.
    int room = Vertical() ? Parent()->ClientWidth() : Parent()->ClientHeight();
    int others = 0;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* c = Parent()->Controls(i);
        if (c != FControl && c->Visible() && c->Align() != alClient && c->Align() != alNone &&
            (Vertical() ? c->Align() == alLeft || c->Align() == alRight
                        : c->Align() == alTop || c->Align() == alBottom))
            others += Vertical() ? c->Width() : c->Height();
    }
    int size = std::clamp(FStartSize + delta, FMinSize, std::max(FMinSize, room - others - FMinSize));
    bool accept = true;
    if (OnCanResize)
        OnCanResize(this, size, accept);
    if (!accept)
        return;
    if (Vertical())
        FControl->SetWidth(size);
    else
        FControl->SetHeight(size);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !FControl)
        return;
    FControl = nullptr;
    if (OnMoved)
        OnMoved(this);
}

void TSplitter::Paint() {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    if (FBeveled)
        Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
}
