// The Gw date-time picker: framing, flat button, state colours and the dropped month calendar.
#include "Gwdtp.h"

#include "Gwthemesrv.h"
#include "sysinfo.h"
#include "winapi.h"

// ---- month-calendar colours ----------------------------------------------------------------------

void TGwMonthCalColors::Assign(TPersistent* Source) {
    if (auto* s = dynamic_cast<TGwMonthCalColors*>(Source)) {
        for (int i = 0; i < 6; ++i)
            FColors[i] = s->FColors[i];
        return;
    }
    TPersistent::Assign(Source);
}

void TGwMonthCalColors::SetColor(int Index, TColor Value) {
    if (Index < 0 || Index > MCSC_TRAILINGTEXT)
        return;
    FColors[Index] = Value;
    if (FOwner && FOwner->HandleAllocated())
        FOwner->UpdateCalColors(Index, ColorToRGB(Value));
}

void TGwMonthCalColors::SetAllColors() {
    for (int i = 0; i < 6; ++i)
        SetColor(i, FColors[i]);
}

// ---- the dropped calendar ------------------------------------------------------------------------

TGwDropCalendar GwDropCalendar(TCalDayOfWeek FirstDayOfWeek, char LocaleFirstDay, bool ShowToday,
                               bool ShowTodayCircle, bool ShowWeekNumbers, int DropColumns, int DropRows,
                               int WeekNumberWidth, int CalWidth, int CalHeight) {
    TGwDropCalendar d;
    d.FirstDay = FirstDayOfWeek == dowLocaleDefault ? LocaleFirstDay - '0' : int(FirstDayOfWeek);
    (ShowToday ? d.ClearStyles : d.SetStyles) |= MCS_NOTODAY;
    (ShowTodayCircle ? d.ClearStyles : d.SetStyles) |= MCS_NOTODAYCIRCLE;
    (ShowWeekNumbers ? d.SetStyles : d.ClearStyles) |= MCS_WEEKNUMBERS;
    int month = CalWidth + 4 + (ShowWeekNumbers ? WeekNumberWidth : 0);
    d.Width = DropColumns * month;
    d.Height = DropRows * CalHeight;
    return d;
}

// ---- life ----------------------------------------------------------------------------------------

TGwDateTimePicker::TGwDateTimePicker(TComponent* AOwner)
    : TGwFramedBase(AOwner), FCalColors(std::make_unique<TGwMonthCalColors>(this)) {}

TGwDateTimePicker::~TGwDateTimePicker() = default;

void TGwDateTimePicker::CreateWnd() {
    TDateTimePicker::CreateWnd();
    FCalColors->SetAllColors();
    if (FFormatSaved)
        SetFormat(FSavedFormat);
}

void TGwDateTimePicker::DestroyWnd() {
    FSavedFormat = Format();
    FFormatSaved = true;
    TDateTimePicker::DestroyWnd();
}

void TGwDateTimePicker::Loaded() {
    TDateTimePicker::Loaded();
    UpdateColors();
    UpdateFrame(false, false);
}

void TGwDateTimePicker::Notification(TComponent* AComponent, TOperation Operation) {
    TDateTimePicker::Notification(AComponent, Operation);
    if (Operation == opRemove)
        FFraming.ControllerRemoved(AComponent);
}

void TGwDateTimePicker::SetFormat(const std::string& Value) {
    Perform(DTM_SETFORMAT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
}

bool TGwDateTimePicker::UpdateCalColors(int Index, TColor RGB) {
    if (!HandleAllocated())
        return true;
    return Perform(DTM_SETMCCOLOR, WPARAM(Index), LPARAM(RGB)) != -1;
}

bool TGwDateTimePicker::FramingStored(TGwFrameControllerProperty Property) const {
    switch (Property) {
    case fcpFramingPreference: return true;
    case fcpColor: return !FrameController() && Enabled();
    case fcpFocusColor: return !FrameController() && ColorToRGB(FocusColor()) != ColorToRGB(Color());
    default: return !FrameController();
    }
}

// ---- framing -------------------------------------------------------------------------------------

void TGwDateTimePicker::SetFrameHotTrack(bool Value) {
    if (Value == FFraming.FrameHotTrack())
        return;
    FFraming.SetFrameHotTrack(Value);
    Invalidate();
}

void TGwDateTimePicker::SetFrameVisible(bool Value) {
    if (Value && Value != FFraming.FrameVisible())
        SetCtl3D(true);
    FFraming.SetFrameVisible(Value);
}

void TGwDateTimePicker::RepaintFrame() {
    if (HandleAllocated())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

// The frame and the button keep their look while the calendar is down.
void TGwDateTimePicker::UpdateFrame(bool ViaMouse, bool InFocus) {
    if (DroppedDown())
        return;
    if (HandleAllocated() && (FlatButtons() || FrameHotTrack())) {
        TRect r(0, 0, ClientWidth(), ClientHeight());
        if (!FrameHotTrack())
            r.Left = r.Right - GetSystemMetrics(SM_CXVSCROLL) - 2;
        RedrawWindow(Handle(), &r, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_FRAME);
    }
    FFraming.UpdateFrame(ViaMouse, InFocus);
}

void TGwDateTimePicker::WMNCPaint(TWMNCPaint& Message) {
    TDateTimePicker::WMNCPaint(Message);
    if (Message.DC && FFraming.PaintFrame(Message.DC, Width(), Height(), TGwFrameRing::NoColorRing))
        Message.Result = 0;
}

void TGwDateTimePicker::PaintFlatButton(TCanvas* C, bool Copy) {
    if (!FFraming.DrawsFrame() || DateMode() != dmComboBox || !FlatButtons())
        return;
    const int sb = GetSystemMetrics(SM_CXVSCROLL);
    TRect r(Width() - sb - 4, 0, Width() - (Copy ? 4 : 2), Height() - (Copy ? 4 : 2));
    const bool down = DroppedDown();
    auto arrow = [&](TColor Pen, int cx) {
        int cy = r.Top + Height() / 2;
        if (down) {
            ++cx;
            ++cy;
        }
        C->Pen()->SetColor(Pen);
        C->Brush()->SetColor(Enabled() ? clBlack : clBtnShadow);
        C->Polygon({TPoint(cx, cy), TPoint(cx - 5, cy - 5), TPoint(cx + 5, cy - 5)});
    };
    if (!FFraming.Hot()) {
        C->Brush()->SetColor(Color());
        C->FillRect(r);
        arrow(Color(), r.Left + sb / 2 - 1);
        return;
    }
    if (ThemeServices()->GetThemesEnabled()) {
        ThemeServices()->DrawElement(
            C, TThemeServices::GetElementDetails(down ? ttbButtonPressed : ttbButtonHot), r);
    } else {
        TRect inside =
            FlatButtonColor() == clBtnFace
                ? DrawBevel(C, r, down ? clBtnShadow : clBtnHighlight, down ? clBtnHighlight : clBtnShadow, 1)
                : DrawColorBorderSides(C, r, FlatButtonColor(), down ? fsStatus : fsPopup);
        C->Brush()->SetColor(FlatButtonColor());
        C->FillRect(inside);
    }
    arrow(FlatButtonColor(), r.Left + sb / 2);
}

// ---- the dropped calendar ------------------------------------------------------------------------

void TGwDateTimePicker::CalendarDropping() {
    HWND cal = reinterpret_cast<HWND>(Perform(DTM_GETMONTHCAL, 0, 0));
    if (!cal)
        return;
    char locale[4] = {'0'};
    GetLocaleInfo(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, locale, sizeof locale);
    TRect r;
    GetWindowRect(cal, &r);
    HDC dc = GetDC(nullptr);
    dc->SetFont(Font());
    int weekNumbers = dc->TextWidth(" 33   ");
    ReleaseDC(nullptr, dc);
    TGwDropCalendar d = GwDropCalendar(FirstDayOfWeek, locale[0], ShowToday, ShowTodayCircle, ShowWeekNumbers,
                                       FDropColumns, FDropRows, weekNumbers, r.Width(), r.Height());
    SendMessage(cal, MCM_SETFIRSTDAYOFWEEK, 0, d.FirstDay);
    SetWindowLong(cal, GWL_STYLE, (GetWindowLong(cal, GWL_STYLE) | d.SetStyles) & ~d.ClearStyles);
    SetWindowPos(cal, nullptr, 0, 0, d.Width, d.Height, SWP_NOMOVE | SWP_NOZORDER);
}

// ---- messages ------------------------------------------------------------------------------------

void TGwDateTimePicker::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CN_NOTIFY: {
        auto* hdr = reinterpret_cast<TNMHdr*>(Message.LParam);
        if (hdr && hdr->code == DTN_DROPDOWN)
            CalendarDropping();
        TDateTimePicker::Dispatch(Message);
        return;
    }
    case WM_PAINT:
        TDateTimePicker::Dispatch(Message);
        if (Message.WParam)
            PaintFlatButton(reinterpret_cast<TCanvas*>(Message.WParam), false);
        return;
    case WM_SIZE:
    case CM_COLORCHANGED:
        TDateTimePicker::Dispatch(Message);
        if (Message.Msg == CM_COLORCHANGED)
            FFraming.ColorChanged();
        if (FFraming.DrawsFrame())
            RepaintFrame();
        return;
    case CM_PARENTCOLORCHANGED:
        TDateTimePicker::Dispatch(Message);
        if (FFraming.FrameVisible())
            RepaintFrame();
        return;
    case CM_ENABLEDCHANGED:
        TDateTimePicker::Dispatch(Message);
        UpdateColors();
        return;
    case CM_ENTER:
        FFocused = true;
        UpdateFrame(false, true);
        TDateTimePicker::Dispatch(Message);
        return;
    case CM_EXIT:
        TDateTimePicker::Dispatch(Message);
        FFocused = false;
        UpdateFrame(false, false);
        return;
    case CM_MOUSEENTER:
        TDateTimePicker::Dispatch(Message);
        if (OnMouseEnter)
            OnMouseEnter(this);
        UpdateFrame(true, true);
        return;
    case CM_MOUSELEAVE:
        TDateTimePicker::Dispatch(Message);
        if (OnMouseLeave)
            OnMouseLeave(this);
        UpdateFrame(true, false);
        return;
    default: TDateTimePicker::Dispatch(Message);
    }
}
