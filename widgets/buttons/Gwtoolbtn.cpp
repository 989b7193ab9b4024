// The tool button: press, group and drop-down logic, the toolbar's settings, and its classic,
// styled and gradient looks.
#include <algorithm>

#include "Gwbutton.h"
#include "Gwgrafx.h"
#include "Gwthemesrv.h"
#include "Gwutils.h"
#include "actlist.h"
#include "menus.h"
#include "sysinfo.h"
#include "winapi.h"

namespace {

// An 8 x 8 checker of two colours, the look of a latched classic button.
void FillDither(TCanvas* Canvas, const TRect& R, TColor A, TColor B) {
    TBitmap pattern;
    pattern.SetSize(8, 8);
    TCanvas* p = pattern.Canvas();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            p->SetPixel(x, y, (x + y) % 2 == 0 ? A : B);
    Canvas->Brush()->SetBitmap(&pattern);
    Canvas->FillRect(R);
    Canvas->Brush()->SetBitmap(nullptr);
}

} // namespace

TGwToolButton::TGwToolButton(TComponent* AOwner)
    : TGraphicControl(AOwner), FImageChangeLink(std::make_unique<TChangeLink>()) {
    SetControlStyle(TControlStyle{csCaptureMouse});
    FSizingItself = true;
    SetBounds(Left(), Top(), 25, 25);
    FSizingItself = false;
    SetColor(clBtnFace);
    FImageChangeLink->OnChange = [this](TObject*) {
        CheckMinSize();
        Invalidate();
    };
}

TGwToolButton::~TGwToolButton() {
    if (FImages)
        FImages->UnRegisterChanges(FImageChangeLink.get());
}

IGwToolbarSettings* TGwToolButton::Toolbar() const { return dynamic_cast<IGwToolbarSettings*>(Parent()); }

TCustomImageList* TGwToolButton::ImageList() const {
    if (FImages)
        return FImages;
    IGwToolbarSettings* t = Toolbar();
    return t ? t->Images() : nullptr;
}

TPoint TGwToolButton::GetImageSize() {
    TCustomImageList* list = ImageList();
    if (FImageIndex != -1 && list)
        return TPoint(list->Width(), list->Height());
    return TPoint(0, 0);
}

bool TGwToolButton::IsSplitButton() const {
    return FToolStyle == tsDropDown && (bool(OnClick) || Action() != nullptr);
}

bool TGwToolButton::Themed() const { return FVisualStyle == vsWinXP && ThemeServices()->ThemesEnabled(); }

bool TGwToolButton::Active() const {
    return PressedLook() || (FMouseInControl && FState != bsDisabled) ||
           ComponentState().Contains(csDesigning);
}

TGwSelectionColors TGwToolButton::SelectionColors() const {
    if (FGradientColorStyle == gcsCustom)
        return {FSelectionFrameColor, FSelectionColorStart, FSelectionColorStop};
    return GetGradientSelectionColors(FGradientColorStyle);
}

// ---------------------------------------------------------------- toolbar settings

void TGwToolButton::PickupToolbarStyles() {
    if (!Parent())
        return;
    for (UINT m : {CM_TOOLBARSHOWCAPTIONCHANGED, CM_TOOLBARBUTTONLAYOUTCHANGED, CM_TOOLBARBUTTONSIZECHANGED,
                   CM_TOOLBARVISUALSTYLECHANGED})
        Perform(m);
}

void TGwToolButton::ToolbarMessage(UINT Msg) {
    IGwToolbarSettings* t = Toolbar();
    if (!t)
        return;
    switch (Msg) {
    case CM_TOOLBARSHOWCAPTIONCHANGED:
        if (FUseToolbarShowCaption) {
            SetShowCaption(t->ShowButtonCaptions());
            FUseToolbarShowCaption = true;
        }
        break;
    case CM_TOOLBARBUTTONLAYOUTCHANGED:
        if (FUseToolbarButtonLayout) {
            SetLayout(t->ButtonLayout());
            FUseToolbarButtonLayout = true;
        }
        break;
    case CM_TOOLBARBUTTONSIZECHANGED:
        if (FUseToolbarButtonSize) {
            int w = t->ButtonWidth();
            if (FShowCaption) {
                Canvas()->SetFont(Font());
                const int text = Canvas()->TextWidth(Caption());
                const int needed = FLayout == blGlyphLeft || FLayout == blGlyphRight
                                       ? GetImageSize().x + text + 12
                                       : text + 8;
                w = std::max(w, needed);
            }
            if (FToolStyle == tsDropDown)
                w += ArrowWidth;
            FSizingItself = true;
            SetBounds(Left(), Top(), w, t->ButtonHeight());
            FSizingItself = false;
            FUseToolbarButtonSize = true;
        }
        break;
    case CM_TOOLBARVISUALSTYLECHANGED:
        if (FUseToolbarVisualStyle) {
            SetVisualStyle(t->VisualStyle());
            SetGradientColorStyle(t->GradientColorStyle());
            FUseToolbarVisualStyle = true;
        }
        break;
    }
}

void TGwToolButton::SetUseToolbarButtonLayout(bool Value) {
    if (FUseToolbarButtonLayout == Value)
        return;
    FUseToolbarButtonLayout = Value;
    if (Parent() && !ComponentState().Contains(csReading))
        Perform(CM_TOOLBARBUTTONLAYOUTCHANGED);
    Invalidate();
}

void TGwToolButton::SetUseToolbarButtonSize(bool Value) {
    if (FUseToolbarButtonSize == Value)
        return;
    FUseToolbarButtonSize = Value;
    if (Parent() && !ComponentState().Contains(csReading))
        Perform(CM_TOOLBARBUTTONSIZECHANGED);
    Invalidate();
}

void TGwToolButton::SetUseToolbarShowCaption(bool Value) {
    if (FUseToolbarShowCaption == Value)
        return;
    FUseToolbarShowCaption = Value;
    if (Parent() && !ComponentState().Contains(csReading))
        Perform(CM_TOOLBARSHOWCAPTIONCHANGED);
    Invalidate();
}

void TGwToolButton::SetUseToolbarVisualStyle(bool Value) {
    if (FUseToolbarVisualStyle == Value)
        return;
    FUseToolbarVisualStyle = Value;
    if (Parent() && !ComponentState().Contains(csReading))
        Perform(CM_TOOLBARVISUALSTYLECHANGED);
    Invalidate();
}

void TGwToolButton::SetLayout(TButtonLayout Value) {
    FUseToolbarButtonLayout = false;
    FLayout = Value;
    Invalidate();
}

void TGwToolButton::SetShowCaption(bool Value) {
    FUseToolbarShowCaption = false;
    FShowCaption = Value;
    Invalidate();
}

void TGwToolButton::SetVisualStyle(TGwVisualStyle Value) {
    FUseToolbarVisualStyle = false;
    FVisualStyle = Value;
    Invalidate();
}

void TGwToolButton::SetGradientColorStyle(TGwGradientColorStyle Value) {
    FGradientColorStyle = Value;
    Invalidate();
}

void TGwToolButton::ReadUseGradients(bool Value) {
    if (Value)
        SetVisualStyle(vsGradient);
}

void TGwToolButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (!FSizingItself && (AWidth != Width() || AHeight != Height()) && !ComponentState().Contains(csLoading))
        FUseToolbarButtonSize = false;
    TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TGwToolButton::SetToolStyle(TGwToolStyle Value) {
    if (FToolStyle == Value)
        return;
    FToolStyle = Value;
    FGroupIndex = 0;
    if (!ComponentState().Contains(csLoading)) {
        FSizingItself = true;
        SetBounds(Left(), Top(), Width() + (Value == tsDropDown ? ArrowWidth : -ArrowWidth), Height());
        FSizingItself = false;
    }
    Invalidate();
}

void TGwToolButton::Loaded() {
    TGraphicControl::Loaded();
    PickupToolbarStyles();
}

void TGwToolButton::SetParent(TWinControl* AParent) {
    TGraphicControl::SetParent(AParent);
    if (!ComponentState().Contains(csLoading))
        PickupToolbarStyles();
}

void TGwToolButton::CMTextChanged(TMessage& Message) {
    TGraphicControl::CMTextChanged(Message);
    PickupToolbarStyles();
    Invalidate();
}

// ---------------------------------------------------------------- plain setters

void TGwToolButton::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Invalidate();
}

void TGwToolButton::SetFlat(bool Value) {
    FFlat = Value;
    Repaint();
}

void TGwToolButton::SetTransparent(bool Value) {
    FTransparent = Value;
    Invalidate();
}

void TGwToolButton::SetImageIndex(int Value) {
    FImageIndex = Value;
    Invalidate();
}

void TGwToolButton::SetDownIndex(int Value) {
    FDownIndex = Value;
    Invalidate();
}

void TGwToolButton::SetDisabledIndex(int Value) {
    FDisabledIndex = Value;
    Invalidate();
}

void TGwToolButton::SetHotIndex(int Value) {
    FHotIndex = Value;
    Invalidate();
}

void TGwToolButton::SetSelectionColorStart(TColor Value) {
    FSelectionColorStart = Value;
    Invalidate();
}

void TGwToolButton::SetSelectionColorStop(TColor Value) {
    FSelectionColorStop = Value;
    Invalidate();
}

void TGwToolButton::SetSelectionFrameColor(TColor Value) {
    FSelectionFrameColor = Value;
    Invalidate();
}

void TGwToolButton::SetImages(TCustomImageList* Value) {
    if (FImages)
        FImages->UnRegisterChanges(FImageChangeLink.get());
    FImages = Value;
    if (FImages) {
        FImages->RegisterChanges(FImageChangeLink.get());
        FImages->FreeNotification(this);
        CheckMinSize();
    }
    Invalidate();
}

void TGwToolButton::CheckMinSize() {
    if (!FImages)
        return;
    if (Width() < FImages->Width())
        SetWidth(FImages->Width());
    if (Height() < FImages->Height())
        SetHeight(FImages->Height());
}

void TGwToolButton::SetDropDownMenu(TPopupMenu* Value) {
    FDropDownMenu = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TGwToolButton::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FImages)
        SetImages(nullptr);
    if (AComponent == FDropDownMenu)
        FDropDownMenu = nullptr;
}

// ---------------------------------------------------------------- groups and actions

void TGwToolButton::SetGroupIndex(int Value) {
    FGroupIndex = FToolStyle == tsDropDown ? 0 : Value;
    UpdateExclusive();
}

void TGwToolButton::SetAllowAllUp(bool Value) {
    FAllowAllUp = Value;
    UpdateExclusive();
}

void TGwToolButton::SetDown(bool Value) {
    if (FGroupIndex == 0)
        Value = false;
    if (Value == FDown)
        return;
    if (FDown && !FAllowAllUp)
        return;
    FDown = Value;
    if (Value) {
        if (FState == bsUp)
            Invalidate();
        FState = bsExclusive;
        UpdateExclusive();
    } else {
        FState = bsUp;
        Repaint();
    }
}

void TGwToolButton::UpdateExclusive() {
    if (FGroupIndex == 0 || !Parent())
        return;
    TMessage m{CM_BUTTONPRESSED, WPARAM(FGroupIndex), LPARAM(static_cast<TControl*>(this))};
    Parent()->Broadcast(m);
}

void TGwToolButton::ButtonPressed(int Group, TGwToolButton* Sender) {
    if (Group != FGroupIndex || !Sender || Sender == this)
        return;
    if (Sender->Down() && FDown) {
        FDown = false;
        FState = bsUp;
        Invalidate();
    }
    FAllowAllUp = Sender->AllowAllUp();
}

void TGwToolButton::ActionChange(TObject* Sender, bool CheckDefaults) {
    TGraphicControl::ActionChange(Sender, CheckDefaults);
    auto* a = dynamic_cast<TCustomAction*>(Sender);
    if (!a)
        return;
    if (!CheckDefaults || !FDown)
        SetDown(a->Checked());
    if (!CheckDefaults || FImageIndex == -1)
        SetImageIndex(a->ImageIndex());
}

void TGwToolButton::AssignTo(TPersistent* Dest) {
    if (auto* a = dynamic_cast<TCustomAction*>(Dest)) {
        a->SetChecked(FDown);
        a->SetImageIndex(FImageIndex);
        return;
    }
    TGraphicControl::AssignTo(Dest);
}

void TGwToolButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_BUTTONPRESSED:
        ButtonPressed(int(Message.WParam),
                      dynamic_cast<TGwToolButton*>(reinterpret_cast<TControl*>(Message.LParam)));
        return;
    case CM_TOOLBARSHOWCAPTIONCHANGED:
    case CM_TOOLBARBUTTONLAYOUTCHANGED:
    case CM_TOOLBARBUTTONSIZECHANGED:
    case CM_TOOLBARVISUALSTYLECHANGED: ToolbarMessage(Message.Msg); return;
    case CM_DIALOGCHAR:
        if (IsAccel(WORD(Message.WParam), Caption()) && Enabled() && Visible() && Parent() &&
            Parent()->Showing()) {
            if (FToolStyle == tsDropDown && !IsSplitButton())
                DoDropDown();
            else
                Click();
            Message.Result = 1;
            return;
        }
        break;
    }
    TGraphicControl::Dispatch(Message);
}

// ---------------------------------------------------------------- mouse

void TGwToolButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (FToolStyle == tsDropDown) {
        const bool inStrip = UseRightToLeftAlignment() ? X <= ArrowWidth : X >= Width() - ArrowWidth;
        if (FDropDownMenu && Shift == TShiftState{ssLeft} && (inStrip || !IsSplitButton())) {
            const DWORD now = GetTickCount();
            if (FLastDropTime != 0 && now < FLastDropTime + 100) {
                // The press that closed the menu: it does not open it again.
                FClickArmed = true;
                FLastDropTime = 0;
                SetMouseCapture(false);
            } else {
                FState = DropDownPressed;
                Repaint();
                DoDropDown();
                FClickArmed = false;
                FLastDropTime = GetTickCount();
            }
            // The menu's own loop took the release.
            MouseUp(Button, Shift, X, Y);
            return;
        }
        if (!FClickArmed) {
            FClickArmed = true;
            return;
        }
        if (Button == mbLeft && Enabled()) {
            if (!FDown) {
                FState = bsDown;
                Invalidate();
            }
            FDragging = true;
        }
        return;
    }
    if (Button == mbLeft && Enabled()) {
        if (!FDown || FState == bsExclusive) {
            FState = bsDown;
            Invalidate();
        }
        FDragging = true;
    }
}

void TGwToolButton::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (FDragging) {
        int state = bsUp;
        if (FDown)
            state = bsExclusive;
        else if (X >= 0 && X < ClientWidth() && Y >= 0 && Y < ClientHeight())
            state = bsDown;
        if (state != FState) {
            FState = state;
            Invalidate();
        }
    } else if (!FMouseInControl) {
        UpdateTracking();
    }
}

void TGwToolButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    const bool inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y < ClientHeight();
    if (FDragging) {
        FDragging = false;
        bool click = inside;
        if (FGroupIndex == 0) {
            FState = bsUp;
            FMouseInControl = false;
            if (inside)
                Repaint();
        } else if (inside) {
            const bool was = FDown;
            SetDown(!FDown);
            click = FDown != was;
            if (FDown) {
                FState = bsExclusive;
                Repaint();
            }
        } else {
            if (FDown)
                FState = bsExclusive;
            Repaint();
        }
        if (click)
            Click();
        UpdateTracking();
    }
    if (FToolStyle == tsDropDown) {
        if (!inside)
            FClickArmed = true;
        FState = bsUp;
        Repaint();
        UpdateTracking();
    }
}

void TGwToolButton::Click() {
    if (FToolStyle == tsButton || FClickArmed)
        TGraphicControl::Click();
}

void TGwToolButton::DropDown() {
    if (OnDropDown)
        OnDropDown(this);
}

void TGwToolButton::DoDropDown() {
    if (!FDropDownMenu)
        return;
    FDroppingDown = true;
    struct TReset {
        bool& Flag;
        ~TReset() { Flag = false; }
    } reset{FDroppingDown};
    DropDown();
    const TPoint p = DropDownMenuPoint(this, FDropDownMenu);
    FDropDownMenu->SetPopupComponent(this);
    FDropDownMenu->Popup(p.x, p.y);
    if (FGroupIndex > 0 && !FDown)
        Click();
}

void TGwToolButton::UpdateTracking() {
    if (!HotTracking() || !Enabled() || !Parent())
        return;
    TPoint p;
    GetCursorPos(&p);
    const bool over = Parent()->ControlAtPos(Parent()->ScreenToClient(p), false) == this;
    Perform(over ? CM_MOUSEENTER : CM_MOUSELEAVE);
}

void TGwToolButton::CMMouseEnter(TMessage& Message) {
    FMouseInControl = true;
    TGraphicControl::CMMouseEnter(Message);
    if (OnMouseEnter)
        OnMouseEnter(this);
    if (HotTracking())
        Refresh();
}

void TGwToolButton::CMMouseLeave(TMessage& Message) {
    if (!FDroppingDown)
        FMouseInControl = false;
    TGraphicControl::CMMouseLeave(Message);
    if (OnMouseLeave)
        OnMouseLeave(this);
    if (HotTracking())
        Refresh();
}

// ---------------------------------------------------------------- painting

void TGwToolButton::Paint() {
    if (!Enabled()) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
    }
    TRect r = ClientRect();
    DrawBtnBorder(r);
    TCanvas* c = Canvas();
    if (!FTransparent) {
        c->Brush()->SetColor(Color());
        c->FillRect(r);
    }
    if (FVisualStyle != vsGradient && !Themed() && FState == bsExclusive && !(FFlat && FMouseInControl)) {
        if (FTransparent)
            FillDither(c, r, clBtnFace, clBtnHighlight);
        else
            FillDither(c, r, Color(), LighterColor(Color(), 20));
    }
    if (FToolStyle == tsDropDown)
        DrawArrow();
    TRect image, caption;
    GetImageAndCaptionRects(image, caption);
    DrawImage(image);
    DrawCaption(caption);
}

void TGwToolButton::DrawBtnBorder(TRect& R) {
    TCanvas* c = Canvas();
    const bool active = Active();
    if (Themed()) {
        TRect r = R;
        TThemedToolBar element = ttbButtonNormal;
        TThemedElementDetails details;
        if (!FFlat) {
            TThemedButton b = tbPushButtonNormal;
            if (FState == bsDisabled)
                b = tbPushButtonDisabled;
            else if (active)
                b = PressedLook() ? tbPushButtonPressed : tbPushButtonHot;
            details = TThemeServices::GetElementDetails(b);
        } else {
            const bool split = IsSplitButton();
            if (split) {
                if (UseRightToLeftAlignment())
                    r.Left += ArrowWidth;
                else
                    r.Right -= ArrowWidth;
            }
            // A plain drop-down button counts its open menu as pressed; a split one only its body.
            const bool menuOpen = FState == DropDownPressed && !split;
            if (!active && !menuOpen)
                element = split ? ttbSplitButtonNormal : ttbButtonNormal;
            else if (FState == bsDown || menuOpen)
                element = split ? ttbSplitButtonPressed : ttbButtonPressed;
            else if (FState == bsExclusive)
                element = FMouseInControl ? (split ? ttbSplitButtonCheckedHot : ttbButtonCheckedHot)
                                          : (split ? ttbSplitButtonChecked : ttbButtonChecked);
            else
                element = split ? ttbSplitButtonHot : ttbButtonHot;
            details = TThemeServices::GetElementDetails(element);
        }
        ThemeServices()->DrawElement(c, details, r);
        return;
    }
    if (!HotTracking()) {
        R = DrawBorderSides(c, R, PressedLook() ? fsLowered : fsButtonUp);
        return;
    }
    if (!active)
        return;
    if (FVisualStyle != vsGradient) {
        R = DrawBorderSides(c, R, PressedLook() ? fsStatus : fsPopup);
        return;
    }
    const TGwSelectionColors colors = SelectionColors();
    const bool designing = ComponentState().Contains(csDesigning);
    if (designing) {
        InflateRect(R, -1, -1);
        DrawBoxCorners(c, R, colors.Frame, 4);
        return;
    }
    R = DrawBox(c, R, colors.Frame);
    TColor from = colors.Start, to = colors.Stop;
    if (FState == bsDown || FState == DropDownPressed ||
        (FState == bsExclusive && FMouseInControl && FDown)) {
        from = colors.Stop;
        to = colors.Start;
    } else if (FState == bsExclusive && !FMouseInControl) {
        from = DarkerColor(colors.Stop, 40);
        to = colors.Start;
    }
    PaintGradient(c, R, gdHorizontalEnd, from, to, 1);
}

void TGwToolButton::DrawArrow() {
    TCanvas* c = Canvas();
    const bool rtl = UseRightToLeftAlignment();
    const bool split = IsSplitButton();
    int x = rtl ? ArrowWidth : Width() - ArrowWidth;
    TRect strip = ClientRect();
    if (rtl)
        strip.Right = strip.Left + ArrowWidth;
    else
        strip.Left = strip.Right - ArrowWidth;
    if (Themed()) {
        if (split) {
            TThemedToolBar e = ttbSplitButtonDropDownNormal;
            if (FState == bsDisabled)
                e = ttbSplitButtonDropDownDisabled;
            else if (Active() && (FState == bsDown || FState == DropDownPressed))
                e = ttbSplitButtonDropDownPressed;
            else if (Active())
                e = ttbSplitButtonDropDownHot;
            ThemeServices()->DrawElement(c, TThemeServices::GetElementDetails(e), strip);
            return;
        }
    } else if (FState == DropDownPressed) {
        if (FVisualStyle == vsGradient) {
            TRect box = ClientRect();
            if (split) {
                if (rtl)
                    box.Right = box.Left + ArrowWidth + 1;
                else
                    box.Left = box.Right - ArrowWidth - 1;
            }
            const TGwSelectionColors colors = SelectionColors();
            box = DrawBox(c, box, colors.Frame);
            PaintGradient(c, box, gdHorizontalEnd, colors.Stop, colors.Start, 1);
        } else {
            DrawBorderSides(c, split ? strip : ClientRect(), fsStatus);
        }
    } else if ((HotTracking() && FMouseInControl && Enabled()) || (!HotTracking() && Enabled())) {
        if (FState == bsDown && FVisualStyle != vsGradient)
            ++x;
        if (split) {
            if (FVisualStyle == vsGradient) {
                c->Pen()->SetColor(SelectionColors().Frame);
                c->MoveTo(x - 1, 0);
                c->LineTo(x - 1, Height());
            } else {
                if (FState != bsDown) {
                    c->Pen()->SetColor(clBtnHighlight);
                    c->MoveTo(x, 0);
                    c->LineTo(x, Height());
                }
                c->Pen()->SetColor(clBtnShadow);
                c->MoveTo(x - 1, 0);
                c->LineTo(x - 1, Height());
            }
        }
    }
    const TColor color = Enabled() ? clWindowText : clBtnShadow;
    c->Brush()->SetColor(color);
    c->Pen()->SetColor(color);
    int ax = rtl ? 6 : Width() - 8;
    int ay = ClientHeight() / 2 + 2;
    if ((FState == bsDown || FState == DropDownPressed) && FVisualStyle != vsGradient) {
        ++ax;
        ++ay;
    }
    const TPoint arrow[] = {TPoint(ax, ay), TPoint(ax - 2, ay - 2), TPoint(ax + 2, ay - 2)};
    c->Polygon(arrow, 3);
}

void TGwToolButton::GetImageAndCaptionRects(TRect& ImageRect, TRect& CaptionRect) {
    TRect r = ClientRect();
    if (FToolStyle == tsDropDown) {
        if (UseRightToLeftAlignment())
            r.Left += ArrowWidth;
        else
            r.Right -= ArrowWidth;
    }
    InflateRect(r, -2, -2);
    const TPoint s = GetImageSize();
    TCanvas* c = Canvas();
    c->SetFont(Font());
    int shiftBase;
    if (!FShowCaption || Caption().empty()) {
        ImageRect = CenterRect(r, s.x, s.y);
        CaptionRect = TRect();
        shiftBase = ImageRect.Left - 4;
    } else {
        const bool across = FLayout == blGlyphLeft || FLayout == blGlyphRight;
        TRect room = r;
        if (across)
            room.Right -= s.x;
        else
            room.Bottom -= s.y;
        TRect t = room;
        c->DrawText(Caption(), t, DT_CALCRECT | DT_NOCLIP | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
        const int tw = t.Width(), th = t.Height();
        const int gap = 4;
        if (across) {
            const int total = s.x + gap + tw;
            const int left = r.Left + (r.Width() - total) / 2;
            const int imageLeft = FLayout == blGlyphLeft ? left : left + tw + gap;
            const int textLeft = FLayout == blGlyphLeft ? left + s.x + gap : left;
            ImageRect = Bounds(imageLeft, r.Top + (r.Height() - s.y) / 2, s.x, s.y);
            CaptionRect = Bounds(textLeft, r.Top + (r.Height() - th) / 2, tw, th);
            shiftBase = ImageRect.Left - (s.x != 0 ? 4 : 0);
        } else {
            const int total = s.y + gap + th;
            const int top = r.Top + (r.Height() - total) / 2;
            const int imageTop = FLayout == blGlyphTop ? top : top + th + gap;
            const int textTop = FLayout == blGlyphTop ? top + s.y + gap : top;
            ImageRect = Bounds(r.Left + (r.Width() - s.x) / 2, imageTop, s.x, s.y);
            CaptionRect = Bounds(r.Left + (r.Width() - tw) / 2, textTop, tw, th);
            shiftBase = std::min(ImageRect.Left, CaptionRect.Left) - 4;
        }
    }
    if (FAlignment == taLeftJustify) {
        OffsetRect(ImageRect, -shiftBase, 0);
        OffsetRect(CaptionRect, -shiftBase, 0);
    } else if (FAlignment == taRightJustify) {
        OffsetRect(ImageRect, shiftBase, 0);
        OffsetRect(CaptionRect, shiftBase, 0);
    }
    const bool pressed = PressedLook() || (FState == DropDownPressed && !IsSplitButton());
    if (pressed && FVisualStyle != vsGradient) {
        const int dy = Themed() ? 0 : 1;
        OffsetRect(ImageRect, 1, dy);
        OffsetRect(CaptionRect, 1, dy);
    }
}

void TGwToolButton::DrawImage(const TRect& R) {
    TCustomImageList* list = ImageList();
    if (!list || FImageIndex == -1)
        return;
    const bool pressed = PressedLook() || (FState == DropDownPressed && !IsSplitButton());
    const bool hot = FMouseInControl && FHotIndex != -1;
    int index = FImageIndex;
    bool enabled = true;
    if (pressed && FDownIndex != -1)
        index = FDownIndex;
    else if (FDisabledIndex == -1) {
        if (hot && Enabled())
            index = FHotIndex;
        enabled = Enabled();
    } else if (!Enabled())
        index = FDisabledIndex;
    else if (hot)
        index = FHotIndex;
    list->Draw(Canvas(), R.Left, R.Top, index, enabled);
}

void TGwToolButton::DrawCaption(const TRect& R) {
    if (!FShowCaption)
        return;
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsClear);
    c->SetFont(Font());
    if (FState == bsDown && FVisualStyle != vsGradient)
        c->Font()->SetColor(clHighlightText);
    if (!Enabled())
        c->Font()->SetColor(clBtnShadow);
    TRect r = R;
    c->DrawText(Caption(), r,
                DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_NOCLIP |
                    (UseRightToLeftAlignment() ? unsigned(DT_RTLREADING) : 0u));
    c->Brush()->SetStyle(bsSolid);
}
