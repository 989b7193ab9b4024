// The Gw colour edit: a swatch whose whole face opens the colour picker in a popup panel.
#include "Gwdropedit.h"

#include "Gwborder.h"
#include "forms.h"

TGwColorEdit::TGwColorEdit(TComponent* AOwner) : TGwCustomEdit(AOwner) {
    FControlStyle >> csDoubleClicks;
    SetParentColor(false);
    SetDropButtonVisible(true);
}

void TGwColorEdit::SetSelectedColor(TColor Value) {
    if (Value == FSelectedColor)
        return;
    FSelectedColor = Value;
    Invalidate();
}

void TGwColorEdit::SetCustomColors(TGwCustomColors* Value) {
    FCustomColors = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TGwColorEdit::Notification(TComponent* AComponent, TOperation Operation) {
    TGwCustomEdit::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FCustomColors)
        FCustomColors = nullptr;
}

void TGwColorEdit::DropDown() {
    TGwCustomEdit::DropDown();
    if (!ReadOnly())
        DisplayColorPicker();
}

// Typing does nothing; only Alt+Down (through the drop button's keys) and clicks reach the edit.
// Tab passes too: here the form's tab navigation runs from the control's own key handling.
void TGwColorEdit::WndProc(TMessage& Message) {
    const UINT m = Message.Msg;
    const bool altDown = m == WM_SYSKEYDOWN && Message.WParam == VK_DOWN && (Message.LParam & KF_ALTDOWN_BIT);
    const bool tab = (m == WM_KEYDOWN || m == WM_KEYUP) && Message.WParam == VK_TAB;
    if (m >= WM_KEYFIRST && m <= WM_KEYLAST && !altDown && !tab)
        return;
    if (m == WM_RBUTTONDOWN)
        return;
    TGwCustomEdit::WndProc(Message);
    switch (m) {
    case WM_LBUTTONDOWN:
        if (HandleAllocated()) {
            HideCaret(Handle());
            if (GetCapture() == Handle())
                ReleaseCapture();
        }
        break;
    case WM_SETFOCUS:
        HideCaret(Handle());
        Invalidate();
        break;
    case WM_KILLFOCUS:
        if (!DroppingDown())
            Invalidate();
        break;
    default: break;
    }
}

void TGwColorEdit::PaintSwatch(TCanvas* Canvas) {
    TRect r = FSwatch;
    InflateRect(r, -2, -2);
    const bool marked = Focused() || DroppingDown();
    Canvas->Font()->Assign(*Font());
    if (FSelectedColor != clNone) {
        TRect inner = r;
        DrawEdge(Canvas, &inner, BDR_RAISEDOUTER, BF_RECT | BF_ADJUST | BF_FLAT);
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(FSelectedColor);
        Canvas->FillRect(inner);
    } else {
        const TColor hatch = marked ? clBtnShadow : clBtnFace;
        const TBrushStyle style = Canvas->Brush()->Style();
        Canvas->Pen()->SetColor(hatch);
        Canvas->Brush()->SetColor(hatch);
        Canvas->Brush()->SetStyle(bsBDiagonal);
        // The hatch goes over the edit's colour, as a hatch brush draws with a transparent back.
        const int mode = Canvas->SetBkMode(TRANSPARENT);
        Canvas->Rectangle(r);
        Canvas->SetBkMode(mode);
        Canvas->Brush()->SetStyle(style);
    }
    if (marked)
        Canvas->DrawFocusRect(r);
}

// The swatch takes the whole client box, so the client is made empty and the swatch is painted with
// the frame: the native text line would otherwise cover it.
void TGwColorEdit::WMNCCalcSize(TWMNCCalcSize& Message) {
    TGwCustomEdit::WMNCCalcSize(Message);
    if (!Message.CalcSize_Params)
        return;
    TRect& r = Message.CalcSize_Params->Rgrc[0];
    FSwatch = r;
    r.Right = r.Left;
    r.Bottom = r.Top;
}

void TGwColorEdit::WMNCPaint(TWMNCPaint& Message) {
    TGwCustomEdit::WMNCPaint(Message);
    if (!Message.DC)
        return;
    Message.DC->Brush()->SetColor(Color());
    Message.DC->FillRect(FSwatch);
    PaintSwatch(Message.DC);
    Message.Result = 0;
}

void TGwColorEdit::DisplayColorPicker() {
    auto panel = std::make_unique<TGwPopupPanel>(nullptr);
    panel->SetVisible(false);
    panel->SetParent(GetParentForm(this));
    auto* picker = new TGwColorPicker(panel.get());
    picker->SetParent(panel.get());
    picker->Font()->SetName(Font()->Name());
    picker->SetNoColorCaption(NoColorCaption);
    picker->SetShowNoColor(ShowNoColor);
    picker->SetCustomColorCaption(CustomColorCaption);
    picker->SetDefaultColorCaption(DefaultColorCaption);
    picker->SetShowCustomColor(ShowCustomColor);
    picker->SetShowDefaultColor(ShowDefaultColor);
    picker->SetShowSystemColors(ShowSystemColors);
    picker->ShowColorHints = ShowColorHints;
    picker->SetCustomColor(CustomColor);
    picker->SetDefaultColor(DefaultColor);
    picker->SetSelectedColor(FSelectedColor);
    picker->SetCustomColors(FCustomColors);
    picker->ColorDlgOptions = ColorDlgOptions;
    if (FrameVisible()) {
        panel->SetFlatColor(FrameColor());
        panel->SetBorderOuter(FrameStyle());
    }
    picker->SetAutoSize(true);
    // A colour picked with the mouse accepts when the button comes up.
    bool picked = false;
    picker->OnChange = [&](TObject*) { picked = true; };
    picker->OnClick = [&](TObject* Sender) {
        if (picked)
            panel->Close(Sender);
    };
    TCustomForm* form = GetParentForm(this);
    const bool preview = form && form->KeyPreview();
    if (form)
        form->SetKeyPreview(false);
    TControlGuard alive(this);
    const bool accepted = panel->Popup(this);
    if (!alive.Alive())
        return;
    if (form)
        form->SetKeyPreview(preview);
    if (!accepted)
        return;
    CustomColor = picker->CustomColor();
    SetSelectedColor(picker->SelectedColor());
    Change();
}
