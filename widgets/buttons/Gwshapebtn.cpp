// The shape button: raised and pressed images built from a bitmap's outline, hits and hints
// inside the shape only.
#include <algorithm>

#include "Gwbutton.h"
#include "Gwcommon.h"
#include "Gwgrafx.h"

namespace {

// The bevel rings: ring k (1..3) is the square of offsets at distance k, split into the upper-left
// side (the column X = k and the row Y = k) and the lower-right side (X = -k and Y = -k). A shape
// pixel P lies on a side of ring k when P minus one of the side's offsets is outside the shape;
// where both sides claim it the lower-right one wins, as though painted after the upper-left.
std::vector<TPoint> RingSide(int K, bool UpperLeft) {
    std::vector<TPoint> side;
    if (UpperLeft) {
        for (int y = -K; y <= K; ++y)
            side.push_back(TPoint(K, y));
        for (int x = K - 1; x >= -K; --x)
            side.push_back(TPoint(x, K));
    } else {
        for (int y = K - 1; y >= -K; --y)
            side.push_back(TPoint(-K, y));
        for (int x = -K + 1; x <= K - 1; ++x)
            side.push_back(TPoint(x, -K));
    }
    return side;
}

} // namespace

TGwShapeButton::TGwShapeButton(TComponent* AOwner)
    : TGraphicControl(AOwner), FBitmap(std::make_unique<TBitmap>()), FBitmapUp(std::make_unique<TBitmap>()),
      FBitmapDown(std::make_unique<TBitmap>()) {
    SetControlStyle(TControlStyle{csCaptureMouse});
    SetBounds(Left(), Top(), 80, 80);
    SetParentFont(false);
    FBitmap->OnChange = [this](TObject*) { BitmapChanged(); };
}

TGwShapeButton::~TGwShapeButton() { FBitmap->OnChange = nullptr; }

void TGwShapeButton::SetAutoSize(bool Value) {
    FAutoSize = Value;
    SetBounds(Left(), Top(), Width(), Height());
}

void TGwShapeButton::SetBevelWidth(TGwBevelWidth Value) {
    FBevelWidth = std::clamp(Value, 0, 2);
    BitmapChanged();
}

void TGwShapeButton::SetBevelHighlightColor(TColor Value) {
    FBevelHighlightColor = Value;
    BitmapChanged();
}

void TGwShapeButton::SetBevelShadowColor(TColor Value) {
    FBevelShadowColor = Value;
    BitmapChanged();
}

void TGwShapeButton::SetBorderColor(TColor Value) {
    FBorderColor = Value;
    BitmapChanged();
}

void TGwShapeButton::SetBorderStyle(TBorderStyle Value) {
    FBorderStyle = Value;
    BitmapChanged();
}

void TGwShapeButton::SetBitmap(TBitmap* Value) {
    if (Value)
        FBitmap->Assign(Value);
    else
        FBitmap->SetSize(0, 0);
    BitmapChanged();
}

void TGwShapeButton::SetBitmapUp(TBitmap* Value) { FBitmapUp->Assign(Value); }
void TGwShapeButton::SetBitmapDown(TBitmap* Value) { FBitmapDown->Assign(Value); }

void TGwShapeButton::SetCaptionPosition(TGwCaptionPosition Value) {
    FCaptionPosition = Value;
    Invalidate();
}

void TGwShapeButton::SetCaptionXY(int X, int Y) {
    if (X == FCaptionX && Y == FCaptionY)
        return;
    FCaptionX = X;
    FCaptionY = Y;
    FCaptionPosition = cpXY;
    Invalidate();
}

void TGwShapeButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (FAutoSize && FBitmap && !FBitmap->Empty() && !ComponentState().Contains(csReading)) {
        AWidth = FBitmap->Width() + 4;
        AHeight = FBitmap->Height() + 4;
    }
    TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

bool TGwShapeButton::PtInMask(int X, int Y) const {
    if (FMask.empty())
        return true;
    if (X < 0 || Y < 0 || X >= FMaskWidth || Y >= FMaskHeight)
        return false;
    return FMask[size_t(Y * FMaskWidth + X)];
}

void TGwShapeButton::BuildMask() {
    FMask.clear();
    FMaskWidth = FBitmap->Width();
    FMaskHeight = FBitmap->Height();
    if (FBitmap->Empty())
        return;
    const TColor clear = ColorToRGB(FBitmap->TransparentColor());
    TCanvas* c = FBitmap->Canvas();
    FMask.resize(size_t(FMaskWidth * FMaskHeight));
    for (int y = 0; y < FMaskHeight; ++y)
        for (int x = 0; x < FMaskWidth; ++x)
            FMask[size_t(y * FMaskWidth + x)] = c->GetPixel(x, y) != clear;
}

TColor TGwShapeButton::BevelColor(TButtonState Look, bool UpperLeft) const {
    const bool highlight = (Look == bsUp) == UpperLeft;
    if (!highlight)
        return FBevelShadowColor;
    // A highlight equal to the outside colour would vanish into it.
    if (ColorToRGB(FBevelHighlightColor) == ColorToRGB(FBitmap->TransparentColor()))
        return DarkerColor(FBevelHighlightColor, 1);
    return FBevelHighlightColor;
}

void TGwShapeButton::Create3DBitmap(TBitmap* Target, TButtonState Look) {
    Target->Assign(FBitmap.get());
    const int rings = FBevelWidth + (FBorderStyle == bsSingle ? 1 : 0);
    if (rings == 0)
        return;
    TCanvas* c = Target->Canvas();
    // The last ring is the outermost: it lies at distance 1 from the outside, ring 1 innermost.
    for (int y = 0; y < FMaskHeight; ++y)
        for (int x = 0; x < FMaskWidth; ++x) {
            if (!PtInMask(x, y))
                continue;
            for (int distance = 1; distance <= rings; ++distance) {
                const int ring = rings - distance + 1;
                bool upperLeft = false, found = false;
                for (bool ul : {false, true}) {
                    for (const TPoint& o : RingSide(distance, ul))
                        if (!PtInMask(x - o.x, y - o.y)) {
                            found = true;
                            upperLeft = ul;
                            break;
                        }
                    if (found)
                        break;
                }
                if (!found)
                    continue;
                const bool last = ring == rings;
                if (!(Look == bsDown && last && upperLeft)) {
                    const TColor color =
                        last && FBorderStyle == bsSingle ? FBorderColor : BevelColor(Look, upperLeft);
                    c->SetPixel(x, y, color);
                }
                break;
            }
        }
}

void TGwShapeButton::BitmapChanged() {
    SetBounds(Left(), Top(), Width(), Height());
    if (ComponentState().Contains(csReading) || ComponentState().Contains(csLoading)) {
        Invalidate();
        return;
    }
    if (FBitmap->Empty()) {
        FBitmapUp->SetSize(0, 0);
        FBitmapDown->SetSize(0, 0);
        FMask.clear();
        Invalidate();
        return;
    }
    BuildMask();
    Create3DBitmap(FBitmapUp.get(), bsUp);
    Create3DBitmap(FBitmapDown.get(), bsDown);
    Invalidate();
}

void TGwShapeButton::Loaded() {
    TGraphicControl::Loaded();
    if (FBitmap->Empty())
        return;
    BuildMask();
    // Images read from the form and the shape must agree.
    if (FBitmapUp->Width() == FMaskWidth && FBitmapUp->Height() == FMaskHeight) {
        const TColor clear = ColorToRGB(FBitmap->TransparentColor());
        TCanvas* up = FBitmapUp->Canvas();
        for (int y = 0; y < FMaskHeight; ++y)
            for (int x = 0; x < FMaskWidth; ++x)
                if (up->GetPixel(x, y) == clear)
                    FMask[size_t(y * FMaskWidth + x)] = false;
    }
}

void TGwShapeButton::Paint() {
    TCanvas* c = Canvas();
    const bool designing = ComponentState().Contains(csDesigning);
    if (designing) {
        c->Pen()->SetStyle(psDash);
        c->Brush()->SetStyle(bsClear);
        c->Rectangle(0, 0, Width(), Height());
        c->Pen()->SetStyle(psSolid);
        c->Brush()->SetStyle(bsSolid);
    }
    if (designing || FState == bsDisabled || FState == bsExclusive)
        FState = bsUp;
    TBitmap* image = FState == bsUp ? FBitmapUp.get() : FBitmapDown.get();
    if (!image->Empty()) {
        const int shift = FState == bsDown ? 1 : 0;
        DrawTransparentBitmap(c, image, Bounds(shift, shift, image->Width(), image->Height()),
                              TRect(0, 0, image->Width(), image->Height()), FBitmap->TransparentColor());
    }
    if (!Caption().empty()) {
        c->SetFont(Font());
        DrawButtonText(c, Caption(), GetCaptionRect(c, Caption()), FState);
    }
}

TRect TGwShapeButton::GetCaptionRect(TCanvas* Canvas, const std::string& Caption) {
    if (FCaptionPosition == cpCentered)
        return ClientRect();
    TRect r(0, 0, ClientWidth(), ClientHeight());
    Canvas->DrawText(Caption, r, DT_CALCRECT);
    OffsetRect(r, FCaptionX, FCaptionY);
    return r;
}

void TGwShapeButton::DrawButtonText(TCanvas* Canvas, const std::string& Caption, TRect Rect,
                                    TButtonState State) {
    Canvas->Brush()->SetStyle(bsClear);
    if (State == bsDown)
        OffsetRect(Rect, 1, 1);
    Canvas->DrawText(Caption, Rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    Canvas->Brush()->SetStyle(bsSolid);
}

bool TGwShapeButton::HitInside(int X, int Y) {
    if (PreciseClick)
        return PtInMask(X, Y);
    return X >= 0 && X < ClientWidth() && Y >= 0 && Y < ClientHeight();
}

void TGwShapeButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled())
        return;
    if (!PreciseClick || PtInMask(X, Y)) {
        FState = bsDown;
        Repaint();
    }
    FDragging = true;
}

void TGwShapeButton::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    const bool inShape = PtInMask(X, Y);
    if (!inShape && PreciseShowHint) {
        if (!FHintSaved) {
            FSavedParentShowHint = ParentShowHint();
            FSavedShowHint = ShowHint();
            SetShowHint(false);
            SetParentShowHint(false);
            FHintSaved = true;
        }
    } else if (!inShape && PreciseClick) {
        if (!FCursorSaved) {
            FSavedCursor = Cursor();
            SetCursor(crDefault);
            FCursorSaved = true;
        }
    } else {
        if (FHintSaved) {
            SetShowHint(FSavedShowHint);
            SetParentShowHint(FSavedParentShowHint);
            FHintSaved = false;
        }
        if (FCursorSaved) {
            SetCursor(FSavedCursor);
            FCursorSaved = false;
        }
    }
    if (!FDragging)
        return;
    const TButtonState state = HitInside(X, Y) ? bsDown : bsUp;
    if (state != FState) {
        FState = state;
        Repaint();
    }
}

void TGwShapeButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging)
        return;
    FDragging = false;
    const bool inside = HitInside(X, Y);
    if (FState == bsDown) {
        FState = bsUp;
        Repaint();
    }
    if (inside)
        Click();
}

void TGwShapeButton::CMHitTest(TCMHitTest& Message) {
    Message.Result = !PreciseClick || PtInMask(Message.XPos, Message.YPos) ? 1 : 0;
}

void TGwShapeButton::CMFontChanged(TMessage& Message) {
    TGraphicControl::CMFontChanged(Message);
    Invalidate();
}

void TGwShapeButton::CMTextChanged(TMessage& Message) {
    TGraphicControl::CMTextChanged(Message);
    Invalidate();
}

void TGwShapeButton::CMSysColorChange(TMessage& Message) {
    TGraphicControl::CMSysColorChange(Message);
    BitmapChanged();
}

void TGwShapeButton::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_DIALOGCHAR && Enabled() && IsAccel(WORD(Message.WParam), Caption())) {
        Click();
        Message.Result = 1;
        return;
    }
    TGraphicControl::Dispatch(Message);
}
