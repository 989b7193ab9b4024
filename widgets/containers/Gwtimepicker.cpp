// The time picker and the popup button painter of unit Gwpopups.
#include <cmath>
#include <numbers>

#include "Gwpopups.h"
#include "Gwutils.h"

namespace {
constexpr double Pi = std::numbers::pi;

TPoint OnFace(TPoint Centre, double R, double A) {
    return TPoint(Centre.x + int(std::lround(R * std::cos(A))), Centre.y + int(std::lround(R * std::sin(A))));
}

// A hand as a filled three-point polygon from the centre out to Length at angle A.
void DrawHand(TCanvas* C, TPoint Centre, double Length, double A, int HalfWidth) {
    TPoint tip = OnFace(Centre, Length, A);
    TPoint l = OnFace(Centre, HalfWidth, A - Pi / 2), r = OnFace(Centre, HalfWidth, A + Pi / 2);
    C->Polygon(std::vector<TPoint>{l, tip, r});
}
} // namespace

void DrawPopupButton(TCanvas* Canvas, const TRect& Bounds, const std::string& Caption, bool, bool Down,
                     bool Flat, TColor FontColor, TColor ButtonColor) {
    TRect r = Bounds;
    TGwButtonLook look = Down ? TGwButtonLook::Down : TGwButtonLook::Up;
    if (ButtonColor != clBtnFace)
        r = Flat ? DrawColorBorderSides(Canvas, r, ButtonColor, fsFlat)
                 : DrawColorButtonBorderSides(Canvas, r, ButtonColor, look);
    else
        r = Flat ? DrawBorderSides(Canvas, r, fsFlat) : DrawButtonBorderSides(Canvas, r, look);
    Canvas->Brush()->SetColor(ButtonColor);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->FillRect(r);
    if (Down)
        OffsetRect(r, 2, 2);
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Font()->SetColor(FontColor);
    Canvas->DrawText(Caption, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TGwClockFaceColors::Assign(TPersistent* Source) {
    if (auto* s = dynamic_cast<TGwClockFaceColors*>(Source)) {
        for (int i = 0; i < 5; ++i)
            FColors[i] = s->FColors[i];
        if (FOwner)
            FOwner->Invalidate();
        return;
    }
    TPersistent::Assign(Source);
}

void TGwClockFaceColors::Set(Index I, TColor Value) {
    FColors[I] = Value;
    if (FOwner)
        FOwner->Invalidate();
}

TGwTimePicker::TGwTimePicker(TComponent* AOwner)
    : TGwCustomPanel(AOwner), FClockFaceColors(std::make_unique<TGwClockFaceColors>(this)) {
    SetBounds(Left(), Top(), 160, 190);
    SetBorderOuter(fsLowered);
    SetColor(clWindow);
    SetTabStop(true);
    CalcFontSize();
    CalcRects();
}

TGwTimePicker::~TGwTimePicker() = default;

void TGwTimePicker::CalcFontSize() {
    TBitmap b;
    b.Canvas()->SetFont(Font());
    TSize s = b.Canvas()->TextExtent("0");
    FW0 = s.cx;
    FH0 = s.cy;
}

bool TGwTimePicker::CanAutoSize(int& NewWidth, int& NewHeight) {
    NewHeight = 10 * FH0 + 4 * (FH0 + 2);
    int setWidth = FShowSetButton ? (int(CaptionSet().size()) + 2) * 2 * FW0 + 12 * FW0 : 24 * FW0;
    NewWidth = std::max(13 * (FW0 + 6), setWidth);
    return true;
}

void TGwTimePicker::CalcRects() {
    TRect r(0, 0, Width(), Height());
    FixClientRect(r, true);
    TBitmap b;
    b.Canvas()->SetFont(Font());
    int bh = GetMinFontHeight(Font()) + 4;
    FTimeRect = r;
    FTimeRect.Bottom = FShowTime ? r.Top + bh : r.Top;
    int top = Height() - 5 - bh;
    FAMRect = Bounds(5, top, b.Canvas()->TextWidth(CaptionAM()) + 14, bh);
    FPMRect = Bounds(FAMRect.Right + 5, top, b.Canvas()->TextWidth(CaptionPM()) + 14, bh);
    FSetRect = TRect(FPMRect.Right + (Width() - 5 - FPMRect.Right) / 3, top, Width() - 5, top + bh);
    int a = FAMRect.Top - 5 - FTimeRect.Bottom - 5;
    FCenter = TPoint((Width() - 10) / 2 + 5, FTimeRect.Bottom + 3 + a / 2);
    FRadius = std::max(0, std::min((Width() - 10) / 2, a / 2));
    FClockRect = TRect(FCenter.x - FRadius, FCenter.y - FRadius, FCenter.x + FRadius, FCenter.y + FRadius);
}

void TGwTimePicker::SetTime(TDateTime Value) {
    unsigned short h, m, s, ms;
    DecodeTime(Value, h, m, s, ms);
    TDateTime t = EncodeTime(h, m, 0, 0);
    if (t == FTime)
        return;
    FTime = t;
    FPM = h >= 12;
    if (OnChange)
        OnChange(this);
    Invalidate();
}

void TGwTimePicker::SetHour(int H) {
    if (FPM && H < 12)
        H += 12;
    if (!FPM && H == 12)
        H = 0;
    unsigned short h, m, s, ms;
    DecodeTime(FTime, h, m, s, ms);
    SetTime(EncodeTime(H % 24, m, 0, 0));
}

void TGwTimePicker::SetMinute(int M) {
    unsigned short h, m, s, ms;
    DecodeTime(FTime, h, m, s, ms);
    SetTime(EncodeTime(h, M, 0, 0));
}

void TGwTimePicker::ChangeToAM() {
    unsigned short h, m, s, ms;
    DecodeTime(FTime, h, m, s, ms);
    if (!FPM)
        return;
    FPM = false;
    SetHour(h - 12);
    Invalidate();
}

void TGwTimePicker::ChangeToPM() {
    unsigned short h, m, s, ms;
    DecodeTime(FTime, h, m, s, ms);
    if (FPM)
        return;
    FPM = true;
    SetHour(h == 0 ? 12 : h);
    Invalidate();
}

void TGwTimePicker::AdjustHour(int Delta) {
    TDateTime d = IncHour(Date() + FTime, Delta);
    SetTime(d - std::floor(d));
}

void TGwTimePicker::AdjustMinute(int Delta) {
    TDateTime d = IncMinute(Date() + FTime, Delta);
    SetTime(d - std::floor(d));
}

void TGwTimePicker::SetCaptionAM(const std::string& Value) {
    FCaptionAM = Value;
    CalcRects();
    Invalidate();
}

void TGwTimePicker::SetCaptionPM(const std::string& Value) {
    FCaptionPM = Value;
    CalcRects();
    Invalidate();
}

void TGwTimePicker::SetCaptionSet(const std::string& Value) {
    FCaptionSet = Value;
    CalcRects();
    Invalidate();
}

std::string TGwTimePicker::HowToUseText() const {
    if (!HowToUseMsg.empty())
        return HowToUseMsg;
    return ::Format("Left-click to set Hour\rRight-click to set Minute\r    Ctrl key restricts to %d minutes",
                    RestrictMinutesBy);
}

bool TGwTimePicker::InClock(int X, int Y) const {
    int dx = X - FCenter.x, dy = Y - FCenter.y;
    return dx * dx + dy * dy <= FRadius * FRadius;
}

int TGwTimePicker::MinuteAt(int X, int Y, bool Restrict) const {
    return ClockMinuteAt(X - FCenter.x, Y - FCenter.y, RestrictMinutes || Restrict ? RestrictMinutesBy : 0);
}

void TGwTimePicker::DragMinute(int X, int Y, bool Restrict) {
    int m = MinuteAt(X, Y, Restrict);
    // The minute hand passing twelve carries into the hour.
    if (m == 0 && FLastMinute > 30)
        AdjustHour(1);
    else if (m > 30 && FLastMinute < 30)
        AdjustHour(-1);
    SetMinute(m);
    FLastMinute = m;
}

void TGwTimePicker::SetBtnClick() {
    if (OnSetBtnClick)
        OnSetBtnClick(this);
}

void TGwTimePicker::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!ComponentState().Contains(csDesigning) && CanFocus())
        SetFocus();
    TPoint p(X, Y);
    if (Button == mbLeft && PtInRect(FAMRect, p))
        FPressed = pbAM;
    else if (Button == mbLeft && PtInRect(FPMRect, p))
        FPressed = pbPM;
    else if (Button == mbLeft && FShowSetButton && PtInRect(FSetRect, p))
        FPressed = pbSet;
    else if (InClock(X, Y)) {
        if (Button == mbLeft) {
            SetHour(ClockHourAt(X - FCenter.x, Y - FCenter.y));
            FHourDrag = true;
        } else if (Button == mbRight) {
            FLastMinute = MinuteAt(X, Y, Shift.Contains(ssCtrl));
            SetMinute(FLastMinute);
            FMinuteDrag = true;
        }
    }
    TGwCustomPanel::MouseDown(Button, Shift, X, Y);
}

void TGwTimePicker::MouseMove(TShiftState Shift, int X, int Y) {
    if (FHourDrag && InClock(X, Y))
        SetHour(ClockHourAt(X - FCenter.x, Y - FCenter.y));
    else if (FMinuteDrag)
        DragMinute(X, Y, Shift.Contains(ssCtrl));
    TGwCustomPanel::MouseMove(Shift, X, Y);
}

void TGwTimePicker::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TPoint p(X, Y);
    TPressed pressed = FPressed;
    FPressed = pbNone;
    if (pressed == pbAM && PtInRect(FAMRect, p))
        ChangeToAM();
    else if (pressed == pbPM && PtInRect(FPMRect, p))
        ChangeToPM();
    else if (pressed == pbSet && PtInRect(FSetRect, p))
        SetBtnClick();
    if (FHourDrag) {
        FHourDrag = false;
        if (InClock(X, Y))
            SetHour(ClockHourAt(X - FCenter.x, Y - FCenter.y));
        if (OnSetTime)
            OnSetTime(this);
    } else if (FMinuteDrag) {
        FMinuteDrag = false;
        DragMinute(X, Y, Shift.Contains(ssCtrl));
        if (OnSetTime)
            OnSetTime(this);
    }
    Invalidate();
    TGwCustomPanel::MouseUp(Button, Shift, X, Y);
}

void TGwTimePicker::KeyDown(WORD& Key, TShiftState Shift) {
    TGwCustomPanel::KeyDown(Key, Shift);
    switch (Key) {
    case VK_PRIOR: AdjustHour(1); break;
    case VK_NEXT: AdjustHour(-1); break;
    case VK_UP: AdjustMinute(1); break;
    case VK_DOWN: AdjustMinute(-1); break;
    case VK_RETURN:
        if (FShowSetButton)
            SetBtnClick();
        break;
    default: break;
    }
}

void TGwTimePicker::DoEnter() {
    TGwCustomPanel::DoEnter();
    Invalidate();
}

void TGwTimePicker::DoExit() {
    TGwCustomPanel::DoExit();
    Invalidate();
}

void TGwTimePicker::WndProc(TMessage& Message) {
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = 1;
        return;
    }
    TGwCustomPanel::WndProc(Message);
    if (Message.Msg == CM_FONTCHANGED) {
        CalcFontSize();
        CalcRects();
        Invalidate();
    } else if (Message.Msg == WM_SIZE || Message.Msg == WM_WINDOWPOSCHANGED)
        CalcRects();
}

void TGwTimePicker::DrawClock(TCanvas* C) {
    TGwClockFaceColors& colors = *FClockFaceColors;
    C->Pen()->SetColor(colors.Get(TGwClockFaceColors::Hands));
    C->Brush()->SetColor(colors.Get(TGwClockFaceColors::Face));
    C->Brush()->SetStyle(bsSolid);
    C->Ellipse(FClockRect);
    double R = FRadius;
    for (int m = 0; m < 60; ++m) {
        double a = m * Pi / 30 - Pi / 2;
        bool hour = m % 5 == 0;
        C->Pen()->SetColor(
            colors.Get(hour ? TGwClockFaceColors::HourTicks : TGwClockFaceColors::MinuteTicks));
        TPoint from = OnFace(FCenter, R * (hour ? 0.86 : 0.92), a), to = OnFace(FCenter, R * 0.97, a);
        C->MoveTo(from.x, from.y);
        C->LineTo(to.x, to.y);
    }
    C->Brush()->SetStyle(bsClear);
    C->Font()->SetColor(colors.Get(TGwClockFaceColors::Numbers));
    C->SetTextAlign(TA_CENTER | TA_BASELINE);
    for (int n = 0; n < 12; ++n) {
        TPoint p = OnFace(FCenter, R * 0.7, n * Pi / 6 - Pi / 2);
        C->TextOut(p.x, p.y + FH0 / 3, IntToStr(n == 0 ? 12 : n));
    }
    C->SetTextAlign(TA_LEFT | TA_TOP);
    unsigned short h, m, s, ms;
    DecodeTime(FTime, h, m, s, ms);
    C->Pen()->SetColor(colors.Get(TGwClockFaceColors::Hands));
    C->Brush()->SetColor(colors.Get(TGwClockFaceColors::Hands));
    C->Brush()->SetStyle(bsSolid);
    DrawHand(C, FCenter, R * 0.5, (h % 12) * Pi / 6 + m * Pi / 360 - Pi / 2, 3);
    DrawHand(C, FCenter, R * 0.8, m * Pi / 30 - Pi / 2, 2);
}

void TGwTimePicker::Paint() {
    TGwCustomPanel::Paint();
    CalcRects();
    TCanvas* C = Canvas();
    C->SetFont(Font());
    if (FShowTime) {
        TRect r = FTimeRect;
        C->Brush()->SetStyle(bsClear);
        C->Font()->SetColor(Font()->Color());
        C->DrawText(FormatDateTime(FFormat.empty() ? LongTimeFormat : FFormat, FTime), r,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    if (FRadius > 0)
        DrawClock(C);
    C->SetFont(Font());
    DrawPopupButton(C, FAMRect, CaptionAM(), false, !FPM || FPressed == pbAM, false, FButtonFontColor,
                    FButtonColor);
    DrawPopupButton(C, FPMRect, CaptionPM(), false, FPM || FPressed == pbPM, false, FButtonFontColor,
                    FButtonColor);
    if (FShowSetButton)
        DrawPopupButton(C, FSetRect, CaptionSet(), false, FPressed == pbSet, false, FButtonFontColor,
                        FButtonColor);
}
