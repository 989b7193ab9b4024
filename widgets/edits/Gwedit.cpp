// The Gw edits: the framed custom edit with its drop button, and the numeric edit's reading of
// typed numbers.
#include "Gwedit.h"

#include <algorithm>

#include "Gwthemesrv.h"
#include "sysutils.h"
#include "wingdi.h"

double GwEvaluateNumberText(std::string_view Text) {
    if (Text.empty())
        return 0;
    // Upper- and lower-case exponent letters count alike, so "1.5e-3" is not negative.
    size_t minus = Text.find('-');
    size_t exponent = Text.find_first_of("Ee");
    bool negative =
        (minus != std::string_view::npos && (exponent == std::string_view::npos || exponent > minus)) ||
        Text.find('(') != std::string_view::npos;
    std::string clean;
    for (size_t i = 0; i < Text.size(); ++i) {
        char c = Text[i];
        if ((c >= '0' && c <= '9') || c == 'E' || c == 'e' || c == DecimalSeparator)
            clean += c;
        else if (c == '-' && i > 0 && (Text[i - 1] == 'E' || Text[i - 1] == 'e'))
            clean += c;
    }
    if (clean.empty())
        return 0;
    if (negative)
        clean.insert(0, 1, '-');
    double v = 0;
    return TryStrToFloat(clean, v) ? v : 0;
}

bool GwIsValidNumberChar(char Key, std::string_view Text, int SelStart, int SelLength, bool IntegersOnly) {
    if (static_cast<unsigned char>(Key) < 32 && Key != 13)
        return true;
    bool digit = Key >= '0' && Key <= '9';
    bool paren = Key == '(' || Key == ')';
    bool sign = Key == '+' || Key == '-';
    bool separator = !IntegersOnly && Key == DecimalSeparator;
    if (!digit && !paren && !sign && !separator && (IntegersOnly || (Key != 'E' && Key != 'e')))
        return false;
    size_t start = size_t(std::max(0, std::min<int>(SelStart, int(Text.size()))));
    std::string_view selected = Text.substr(start, size_t(std::max(0, SelLength)));
    bool hasSeparator = Text.find(DecimalSeparator) != std::string_view::npos;
    if (separator)
        return SelLength > 0 ? (!hasSeparator || selected.find(DecimalSeparator) != std::string_view::npos)
                             : !hasSeparator;
    if (!IntegersOnly)
        return true;
    if (digit || paren)
        return SelStart != 0 || SelLength > 0 || Text.empty() || (Text[0] != '+' && Text[0] != '-');
    bool textHasSign = Text.find_first_of("+-") != std::string_view::npos;
    if (SelStart == 0 && !textHasSign)
        return true;
    return size_t(SelLength) == Text.size() ||
           (SelStart == 0 && SelLength > 0 && selected.find_first_of("+-") != std::string_view::npos);
}

double GwCheckRange(double Value, double Min, double Max, bool CheckRange,
                    const TGwRangeErrorHandler& OnRangeError, bool& KeepInvalid) {
    KeepInvalid = false;
    if (Min == Max && !CheckRange)
        return Value;
    double bound;
    if (Value < Min)
        bound = Min;
    else if (Value > Max)
        bound = Max;
    else
        return Value;
    bool correct = true;
    if (OnRangeError)
        OnRangeError(Value, bound, correct);
    if (correct)
        return bound;
    KeepInvalid = true;
    return Value;
}

// ---- TGwCustomEdit -------------------------------------------------------------------------------

TGwCustomEdit::TGwCustomEdit(TComponent* AOwner) : TGwFramed<TCustomMaskEdit>(AOwner) {
    FControlStyle << csCaptureMouse;
    FControlStyle >> csSetCaption;
}

void TGwCustomEdit::SetAlignment(TAlignment Value) {
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    RecreateWnd();
}

void TGwCustomEdit::SetDropButtonVisible(bool Value) {
    if (Value == FDropButtonVisible)
        return;
    FDropButtonVisible = Value;
    RecreateWnd();
}

void TGwCustomEdit::SetReadOnly(bool Value) {
    if (Value == ReadOnly())
        return;
    TCustomMaskEdit::SetReadOnly(Value);
    ReadOnlyChanged();
}

void TGwCustomEdit::ReadOnlyChanged() {
    if (ReadOnly())
        HideButton();
    else
        ShowButton();
    Framing().UpdateColors();
    RepaintButton();
}

TRect TGwCustomEdit::ButtonRect() {
    if (!FDropButtonVisible)
        return TRect();
    TRect r(0, 0, Width(), Height());
    if (BorderStyle() == bsSingle) {
        const int edge = GwThemesEnabled() ? 1 : 2;
        InflateRect(r, -edge, -edge);
    }
    r.Left = std::max(r.Left, r.Right - ButtonWidth());
    return r;
}

int TGwCustomEdit::ButtonWidth() const {
    return GetSystemMetrics(SM_CXVSCROLL) - (GwThemesEnabled() ? 1 : 0);
}

void TGwCustomEdit::RepaintButton() {
    if (FDropButtonVisible)
        RepaintFrame();
}

void TGwCustomEdit::FramingButtonsChanged() { RepaintButton(); }

void TGwCustomEdit::SetButtonState(TGwEditButtonState Value) {
    if (!FDropButtonVisible || Value == FButtonState)
        return;
    FButtonState = Value;
    RepaintButton();
}

void TGwCustomEdit::UpdateFrame(bool ViaMouse, bool In) {
    TGwFramed::UpdateFrame(ViaMouse, In);
    if (FDropButtonVisible && (FlatButtons() || FrameHotTrack() || GwThemesEnabled()) &&
        FButtonState != bsDown)
        RepaintButton();
}

void TGwCustomEdit::DrawButton(TCanvas* Canvas, TRect& Rect) {
    const bool hot = HasFocus() || MouseOver();
    const bool down = FButtonState == bsDown;
    const bool enabled = Enabled();
    if (GwThemesEnabled() && !(FlatButtons() && !hot)) {
        TThemedComboBox part = !enabled ? tcDropDownButtonDisabled
                               : down   ? tcDropDownButtonPressed
                               : hot    ? tcDropDownButtonHot
                                        : tcDropDownButtonNormal;
        ThemeServices()->DrawElement(Canvas, TThemeServices::GetElementDetails(part), Rect);
        return;
    }
    if (FlatButtons()) {
        TRect inner = Rect;
        TColor face = GwThemesEnabled() ? Color() : Framing().StateColor();
        if (hot && !GwThemesEnabled()) {
            if (FlatButtonColor() == clBtnFace)
                inner = down ? DrawBevel(Canvas, Rect, clBtnShadow, clBtnHighlight, 1)
                             : DrawBevel(Canvas, Rect, clBtnHighlight, clBtnShadow, 1);
            else
                inner = DrawColorBorderSides(Canvas, Rect, FlatButtonColor(), down ? fsStatus : fsPopup);
            face = FlatButtonColor();
        }
        Canvas->Brush()->SetColor(face);
        Canvas->FillRect(inner);
        DrawDropDownArrow(Canvas, inner, GwThemesEnabled() ? uiWindowsXP : uiWindows95,
                          TGwArrowState{hot && down && !GwThemesEnabled(), enabled});
        return;
    }
    unsigned state =
        DFCS_SCROLLCOMBOBOX | (down ? DFCS_PUSHED | DFCS_FLAT : 0u) | (enabled ? 0u : DFCS_INACTIVE);
    DrawFrameControl(Canvas, &Rect, DFC_SCROLL, state);
}

void TGwCustomEdit::DropDown() {
    if (OnDropDown)
        OnDropDown(this);
}

void TGwCustomEdit::CloseUp() {
    if (OnCloseUp)
        OnCloseUp(this);
}

void TGwCustomEdit::DoDropDown() {
    if (!FDropButtonVisible)
        return;
    // No mouse capture here: the popup's own loop must see clicks outside it.
    FDroppingDown = true;
    TControlGuard alive(this);
    try {
        SetButtonState(bsDown);
        DropDown();
        CloseUp();
    } catch (...) {
        if (alive.Alive()) {
            FDroppingDown = false;
            SetButtonState(bsUp);
        }
        throw;
    }
    if (!alive.Alive())
        return;
    SetButtonState(bsUp);
    FDroppingDown = false;
}

void TGwCustomEdit::MouseCancel() {
    if (!FDroppingDown)
        SetButtonState(bsUp);
    if (HandleAllocated() && GetCapture() == Handle())
        ReleaseCapture();
}

void TGwCustomEdit::InvalidKeyPressed() {
    if (BeepOnInvalidKey)
        MessageBeep(0);
}

void TGwCustomEdit::CreateParams(TCreateParams& Params) {
    TGwFramed::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
    Params.Style &= ~DWORD(ES_MULTILINE | ES_RIGHT);
    if (FAlignment == taRightJustify)
        Params.Style |= ES_RIGHT;
}

void TGwCustomEdit::KeyDown(WORD& Key, TShiftState Shift) {
    TGwFramed::KeyDown(Key, Shift);
    if (FDropButtonVisible && Key == VK_DOWN && Shift == TShiftState{ssAlt}) {
        DoDropDown();
        Key = 0;
    }
}

void TGwCustomEdit::KeyPress(char& Key) {
    if (TabOnEnter && Key == '\r') {
        Key = 0;
        PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
        return;
    }
    TGwFramed::KeyPress(Key);
}

void TGwCustomEdit::ValidateError() {
    if (OnValidateError) {
        std::string message;
        OnValidateError(this, message);
        if (!message.empty())
            throw EDBEditError(message);
    }
    TGwFramed::ValidateError();
}

void TGwCustomEdit::Dispatch(TMessage& Message) {
    if (Message.Msg == EM_SETREADONLY) {
        const bool before = ReadOnly();
        TGwFramed::Dispatch(Message);
        if (ReadOnly() != before)
            ReadOnlyChanged();
        return;
    }
    TGwFramed::Dispatch(Message);
}

void TGwCustomEdit::WMNCCalcSize(TWMNCCalcSize& Message) {
    if (FDropButtonVisible && Message.CalcSize_Params) {
        TRect& r = Message.CalcSize_Params->Rgrc[0];
        r.Right = std::max(r.Left, r.Right - ButtonWidth());
    }
    TGwFramed::WMNCCalcSize(Message);
}

void TGwCustomEdit::WMNCPaint(TWMNCPaint& Message) {
    TGwFramed::WMNCPaint(Message);
    HDC dc = Message.DC;
    if (!FDropButtonVisible || !dc)
        return;
    const int saved = dc->SaveDC();
    const TRect strip = ButtonRect();
    // Inside the border: the strip's top, bottom and right are the border's inner edges.
    dc->IntersectClipRect(Width() - strip.Right, strip.Top, strip.Right, strip.Bottom);
    TRect face = strip;
    DrawButton(dc, face);
    dc->ExcludeClipRect(face.Left, face.Top, face.Right, face.Bottom);
    dc->Brush()->SetColor(Color());
    dc->FillRect(strip);
    dc->RestoreDC(saved);
    Message.Result = 0;
}

void TGwCustomEdit::WMNCHitTest(TWMNCHitTest& Message) {
    TGwFramed::WMNCHitTest(Message);
    FMouseInButton = Message.Result == HTNOWHERE || (AllButton() && Message.Result != HTTRANSPARENT);
    if (FMouseInButton)
        Message.Result = HTCLIENT;
}

void TGwCustomEdit::WMSetCursor(TWMSetCursor& Message) {
    if (FMouseInButton) {
        Message.HitTest = HTNOWHERE;
        Message.Raw.LParam = MAKELPARAM(HTNOWHERE, Message.MouseMsg);
    }
    TGwFramed::WMSetCursor(Message);
}

void TGwCustomEdit::WMKillFocus(TWMKillFocus& Message) {
    TGwFramed::WMKillFocus(Message);
    MouseCancel();
}

void TGwCustomEdit::WMLButtonDown(TWMMouse& Message) {
    if (FMouseInButton) {
        if (!Focused())
            SetFocus();
        DoDropDown();
        Message.Result = 0;
        return;
    }
    TGwFramed::WMLButtonDown(Message);
    if (!Focused())
        MouseCancel();
}

void TGwCustomEdit::WMLButtonDblClk(TWMMouse& Message) {
    if (FMouseInButton)
        WMLButtonDown(Message);
    else
        TGwFramed::WMLButtonDblClk(Message);
}

void TGwCustomEdit::WMRButtonDown(TWMMouse& Message) {
    if (FMouseInButton)
        Message.Result = 0;
    else
        TGwFramed::WMRButtonDown(Message);
}

void TGwCustomEdit::WMLButtonUp(TWMMouse& Message) {
    MouseCancel();
    TGwFramed::WMLButtonUp(Message);
}
