// The month calendar of unit Gwpopups.
#include <cmath>

#include "Gwpopups.h"
#include "Gwutils.h"
#include "sysinfo.h"

namespace {
TDateTime FirstOfMonth(TDateTime D) {
    unsigned short y, m, d;
    DecodeDate(D, y, m, d);
    return EncodeDate(y, m, 1);
}
} // namespace

void TGwCalendarColors::Assign(TPersistent* Source) {
    if (auto* s = dynamic_cast<TGwCalendarColors*>(Source)) {
        for (int i = 0; i < 7; ++i)
            FColors[i] = s->FColors[i];
        if (FOwner)
            FOwner->Invalidate();
        return;
    }
    TPersistent::Assign(Source);
}

void TGwCalendarColors::Set(Index I, TColor Value) {
    FColors[I] = Value;
    if (FOwner)
        FOwner->Invalidate();
}

TGwCalendar::TGwCalendar(TComponent* AOwner)
    : TGwCustomPanel(AOwner), FColors(std::make_unique<TGwCalendarColors>(this)),
      FTimer(std::make_unique<TTimer>(nullptr)), FMonthMenu(new TPopupMenu(this)) {
    FElements << ceYear << ceMonth << ceArrows << ceDaysOfWeek << ceFillDays << ceTodayButton
              << ceClearButton;
    SetBounds(Left(), Top(), 147, 159);
    SetBorderOuter(fsLowered);
    SetFlatColorAdjustment(0);
    SetColor(clWindow);
    SetTabStop(true);
    FViewDate = FirstOfMonth(::Date());
    FTimer->SetEnabled(false);
    FTimer->SetInterval(50);
    FTimer->OnTimer = [this](TObject*) { RepeatStep(); };
    SetFirstDayOfWeek(fdowLocale);
    CalcFontSize();
    FYearSpinner = new TGwYearSpinner(this);
    FYearSpinner->SetParent(this);
    FYearSpinner->OnChange = [this](TObject*) {
        unsigned short y, m, d;
        DecodeDate(FViewDate, y, m, d);
        SetViewDate(EncodeDate(FYearSpinner->Value(), m, 1));
    };
    for (int m = 1; m <= 12; ++m) {
        auto* item = new TMenuItem(FMonthMenu);
        item->SetCaption(LongMonthNames[m - 1]);
        item->OnClick = [this, m](TObject*) {
            unsigned short y, vm, d;
            DecodeDate(FViewDate, y, vm, d);
            Step(m - vm);
        };
        FMonthMenu->Items()->Add(item);
    }
}

void TGwCalendar::DisplayMonthPopupMenu(int X, int Y) {
    unsigned short y, m, d;
    DecodeDate(FViewDate, y, m, d);
    for (int i = 0; i < 12; ++i)
        FMonthMenu->Items()->Items(i)->SetChecked(i + 1 == m);
    FMonthMenu->SetPopupComponent(this);
    TPoint p = ClientToScreen(TPoint(X, Y));
    FMonthMenu->Popup(p.x, p.y);
}

unsigned TGwCalendar::DaysToBitmask(std::initializer_list<int> Days) {
    unsigned mask = 0;
    for (int d : Days)
        if (d >= 1 && d <= 31)
            mask |= 1u << (d - 1);
    return mask;
}

void TGwCalendar::GetBoldDays(int Year, int Month, unsigned& Bitmask) {
    if (OnGetBoldDays)
        OnGetBoldDays(this, Year, Month, Bitmask);
}

void TGwCalendar::GetDayFormat(TDateTime Date, int Year, int Month, int Day, TColor& FillColor,
                               TColor& FontColor, TFontStyles& FontStyle) {
    if (OnGetDayFormat)
        OnGetDayFormat(this, Date, Year, Month, Day, FillColor, FontColor, FontStyle);
}

TGwCalendar::~TGwCalendar() = default;

void TGwCalendar::CalcFontSize() {
    TBitmap b;
    b.Canvas()->SetFont(Font());
    TSize s = b.Canvas()->TextExtent("0");
    FW0 = s.cx;
    FH0 = s.cy;
    FTodayWidth = b.Canvas()->TextWidth(TodayCaption());
    FClearWidth = b.Canvas()->TextWidth(ClearCaption());
}

bool TGwCalendar::CanAutoSize(int& NewWidth, int& NewHeight) {
    int h = 4;
    if (FElements.Contains(ceYear) || FElements.Contains(ceMonth))
        h += FH0 + 5;
    int w = NewWidth;
    if (FShowDays) {
        h += 6 * (FH0 + 2) + 1;
        if (FElements.Contains(ceDaysOfWeek))
            h += FH0 + 3;
        w = 7 * (2 * FW0 + 5);
        if (FElements.Contains(ceWeekNumbers))
            w += 2 * FW0 + 5;
    }
    bool today = FElements.Contains(ceTodayButton), clear = FElements.Contains(ceClearButton);
    if (today || clear) {
        h += FH0 + 17;
        int row = today && clear ? FTodayWidth + 39 + FClearWidth : 34 + (today ? FTodayWidth : FClearWidth);
        w = std::max(w, row);
    }
    if (FShowDays)
        w += 4 * FW0;
    NewWidth = w;
    NewHeight = h;
    return true;
}

void TGwCalendar::SetFirstDayOfWeek(TGwFirstDayOfWeek Value) {
    FFirstDayOfWeek = Value;
    if (Value == fdowLocale) {
        char buf[4] = {};
        GetLocaleInfo(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, buf, sizeof buf);
        FFirstDay = buf[0] >= '0' && buf[0] <= '6' ? buf[0] - '0' : 0;
    } else
        FFirstDay = Value;
    Invalidate();
}

void TGwCalendar::SetElements(TGwCalendarElements Value) {
    if (Value == FElements)
        return;
    FElements = Value;
    CalcFontSize();
    AdjustSize();
    Invalidate();
}

void TGwCalendar::SetShowDays(bool Value) {
    if (Value == FShowDays)
        return;
    FShowDays = Value;
    AdjustSize();
    Invalidate();
}

int TGwCalendar::DateInRange(TDateTime D) const {
    if (FMaxDate != 0 && D > FMaxDate)
        return 1;
    if (FMinDate != 0 && D < FMinDate)
        return -1;
    return 0;
}

void TGwCalendar::SetDate(TDateTime Value) {
    switch (DateInRange(Value)) {
    case 1: throw EGwCalendarError(::Format("Date exceeds maximum of %s", DateToStr(FMaxDate)));
    case -1: throw EGwCalendarError(::Format("Date is less than minimum of %s", DateToStr(FMinDate)));
    default: SetDateInternal(Value, false);
    }
}

void TGwCalendar::SetDateInternal(TDateTime Value, bool Force) {
    Value = std::floor(Value);
    if (!Force && (Value == FDate || DateInRange(Value) != 0))
        return;
    FDate = Value;
    SetViewDate(Value == 0 ? ::Date() : Value);
    if (OnChange)
        OnChange(this);
    Invalidate();
}

void TGwCalendar::SetMinDate(TDateTime Value) {
    Value = std::floor(Value);
    if (Value != 0 && FMaxDate != 0 && Value > FMaxDate)
        throw EGwCalendarError(::Format("Date exceeds maximum of %s", DateToStr(FMaxDate)));
    if (Value == FMinDate)
        return;
    if (FDate != 0 && Value != 0 && FDate < Value)
        FDate = Value;
    FMinDate = Value;
    Invalidate();
}

void TGwCalendar::SetMaxDate(TDateTime Value) {
    Value = std::floor(Value);
    if (Value != 0 && FMinDate != 0 && Value < FMinDate)
        throw EGwCalendarError(::Format("Date is less than minimum of %s", DateToStr(FMinDate)));
    if (Value == FMaxDate)
        return;
    if (FDate != 0 && Value != 0 && FDate > Value)
        FDate = Value;
    FMaxDate = Value;
    Invalidate();
}

void TGwCalendar::SetViewDate(TDateTime Value) {
    TDateTime v = FirstOfMonth(Value);
    if ((FMinDate != 0 && v < FirstOfMonth(FMinDate)) || (FMaxDate != 0 && v > FirstOfMonth(FMaxDate)) ||
        v == FViewDate)
        return;
    FViewDate = v;
    if (OnViewDateChange)
        OnViewDateChange(this, v);
    Invalidate();
}

void TGwCalendar::Step(int Months) { SetViewDate(IncMonth(FViewDate, Months)); }

void TGwCalendar::Today() {
    bool allow = true;
    if (OnToday)
        OnToday(this, allow);
    if (allow)
        SetDateInternal(::Date(), false);
}

void TGwCalendar::Clear() {
    bool allow = true;
    if (OnClear)
        OnClear(this, allow);
    if (allow)
        SetDateInternal(0, true);
}

std::string TGwCalendar::Caption(bool WithYear) const {
    return FormatDateTime(WithYear ? "mmmm yyyy" : "mmmm", FViewDate);
}

void TGwCalendar::CalcAreas() {
    for (TRect& a : FAreas)
        a = TRect();
    TRect R(0, 0, Width(), Height());
    FixClientRect(R, true);
    TBitmap b;
    b.Canvas()->SetFont(Font());
    if (FElements.Contains(ceYear) || FElements.Contains(ceMonth)) {
        TRect cap = R;
        cap.Bottom = R.Top + FH0 + 5;
        FAreas[caYear] = cap;
        FAreas[caMonth] = cap;
        if (FElements.Contains(ceYear)) {
            int capWidth = b.Canvas()->TextWidth(Caption(true));
            int yearWidth = b.Canvas()->TextWidth(FormatDateTime(" yyyy", FViewDate));
            int centre = (cap.Left + cap.Right) / 2;
            FAreas[caMonth].Right = centre - capWidth / 2 + capWidth - yearWidth;
        }
        if (FElements.Contains(ceArrows)) {
            FAreas[caLeftArrow] = cap;
            FAreas[caLeftArrow].Right = cap.Left + FH0 + 5;
            FAreas[caRightArrow] = cap;
            FAreas[caRightArrow].Left = cap.Right - FH0 - 5;
        }
        R.Top = cap.Bottom;
    }
    if (FShowDays) {
        R.Left += 2 * FW0 - 1;
        R.Right -= 2 * FW0 + 1;
    }
    bool today = FElements.Contains(ceTodayButton), clear = FElements.Contains(ceClearButton);
    if (today || clear) {
        TRect row = R;
        row.Top = R.Bottom - (FH0 + 18);
        auto button = [&](TRect part, int captionWidth) {
            int w = captionWidth + 17, h = FH0 + 7;
            int x = (part.Left + part.Right - w) / 2, y = (part.Top + part.Bottom - h) / 2;
            return Bounds(x, y, w, h);
        };
        if (today && clear) {
            int split = (row.Left + row.Right - FTodayWidth - FClearWidth - 5) / 2 + FTodayWidth;
            FAreas[caTodayButton] = button(TRect(row.Left, row.Top, split, row.Bottom), FTodayWidth);
            FAreas[caClearButton] = button(TRect(split + 5, row.Top, row.Right, row.Bottom), FClearWidth);
        } else if (today)
            FAreas[caTodayButton] = button(row, FTodayWidth);
        else
            FAreas[caClearButton] = button(row, FClearWidth);
        R.Bottom = row.Top + 1;
    }
    if (FElements.Contains(ceWeekNumbers)) {
        FAreas[caWeekNumbers] = R;
        FAreas[caWeekNumbers].Right = R.Left + 2 * FW0 + 10;
        R.Left = FAreas[caWeekNumbers].Right;
    }
    bool names = FElements.Contains(ceDaysOfWeek);
    int rows = names ? 7 : 6;
    FCellWidth = R.Width() / 7;
    FCellHeight = std::max(0, (R.Height() - (names ? 2 : 1)) / rows);
    if (names) {
        FAreas[caDaysOfWeek] = R;
        FAreas[caDaysOfWeek].Bottom = R.Top + FCellHeight;
        if (FElements.Contains(ceWeekNumbers))
            FAreas[caWeekNumbers].Top = FAreas[caDaysOfWeek].Bottom;
        R.Top = FAreas[caDaysOfWeek].Bottom + 2;
    }
    FAreas[caDays] = R;
}

TGwCalendarArea TGwCalendar::AreaAt(TPoint P) {
    CalcAreas();
    for (int a = caClearButton; a >= caYear; --a)
        if (a != caFillDays && !IsRectEmpty(FAreas[a]) && PtInRect(FAreas[a], P))
            return TGwCalendarArea(a);
    return caFillDays;
}

TRect TGwCalendar::CellRect(TDateTime D) const {
    int i = int(std::floor(D) - FirstShownDate());
    if (i < 0 || i >= 42)
        return TRect();
    const TRect& days = FAreas[caDays];
    return Bounds(days.Left + (i % 7) * FCellWidth, days.Top + (i / 7) * FCellHeight, FCellWidth,
                  FCellHeight);
}

void TGwCalendar::RepeatStep() {
    if (CalendarRepeatStepActs(FRepeat) && FOver == FPressed) {
        bool back = FPressed == caLeftArrow;
        if (BiDiMode() == bdRightToLeft)
            back = !back;
        Step(back ? -1 : 1);
    }
    ++FRepeat;
}

void TGwCalendar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (YearSpinnerShowing()) {
        HideYearSpinner();
        return;
    }
    if (Visible() && !ComponentState().Contains(csDesigning) && CanFocus())
        SetFocus();
    if (Button == mbLeft) {
        FOver = FPressed = AreaAt(TPoint(X, Y));
        FPicked = false;
        if (FPressed == caLeftArrow || FPressed == caRightArrow) {
            FRepeat = 0;
            RepeatStep();
            FTimer->SetEnabled(true);
        } else if (FPressed == caMonth) {
            DisplayMonthPopupMenu(X, Y);
        } else if (FPressed == caDays) {
            TDateTime d = FirstShownDate() + ((Y - FAreas[caDays].Top) / std::max(1, FCellHeight)) * 7 +
                          std::min(6, (X - FAreas[caDays].Left) / std::max(1, FCellWidth));
            TDateTime before = FDate;
            if (DateInRange(d) == 0 && d != FDate) {
                FDate = d; // the view follows on the click
                if (OnChange)
                    OnChange(this);
                Invalidate();
            }
            FPicked = FDate != before;
        } else if (FPressed == caYear)
            ShowYearSpinner();
    }
    TGwCustomPanel::MouseDown(Button, Shift, X, Y);
}

void TGwCalendar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FTimer->SetEnabled(false);
    TGwCalendarArea pressed = FPressed;
    FPressed = caFillDays;
    if (Button == mbLeft && pressed == AreaAt(TPoint(X, Y))) {
        if (pressed == caClearButton)
            Clear();
        else if (pressed == caTodayButton)
            Today();
        else if (FPicked) {
            SetViewDate(FDate);
            FPicked = false;
        }
    }
    TGwCustomPanel::MouseUp(Button, Shift, X, Y);
}

void TGwCalendar::KeyDown(WORD& Key, TShiftState Shift) {
    TGwCustomPanel::KeyDown(Key, Shift);
    if (Shift.Contains(ssShift) || Shift.Contains(ssCtrl) || Shift.Contains(ssAlt))
        return;
    TDateTime base = FDate != 0 ? FDate : std::floor(::Date());
    unsigned short y, m, d;
    DecodeDate(base, y, m, d);
    switch (Key) {
    case VK_LEFT: SetDateInternal(base - 1, false); break;
    case VK_RIGHT: SetDateInternal(base + 1, false); break;
    case VK_UP: SetDateInternal(base - 7, false); break;
    case VK_DOWN: SetDateInternal(base + 7, false); break;
    case VK_HOME: SetDateInternal(EncodeDate(y, m, 1), false); break;
    case VK_END: SetDateInternal(EncodeDate(y, m, DaysInMonth(y, m)), false); break;
    case VK_PRIOR:
        if (FElements.Contains(ceMonth))
            SetDateInternal(IncMonth(base, -1), false);
        break;
    case VK_NEXT:
        if (FElements.Contains(ceMonth))
            SetDateInternal(IncMonth(base, 1), false);
        break;
    case VK_RETURN: Click(); break;
    default: break;
    }
}

void TGwCalendar::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_GETDLGCODE:
    case WM_ERASEBKGND: Message.Result = 1; return;
    default: break;
    }
    TGwCustomPanel::WndProc(Message);
    if (Message.Msg == CM_FONTCHANGED) {
        CalcFontSize();
        AdjustSize();
        Invalidate();
    }
}

void TGwCalendar::Paint() {
    TGwCustomPanel::Paint();
    CalcAreas();
    TCanvas* C = Canvas();
    C->SetFont(Font());
    C->Brush()->SetStyle(bsClear);
    if (!IsRectEmpty(FAreas[caYear])) {
        TRect cap = FAreas[caYear];
        C->Font()->SetColor(Font()->Color());
        C->DrawText(Caption(FElements.Contains(ceYear)), cap, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        C->Pen()->SetColor(FColors->Get(TGwCalendarColors::Lines));
        C->MoveTo(cap.Left, cap.Bottom - 1);
        C->LineTo(cap.Right, cap.Bottom - 1);
        if (FElements.Contains(ceArrows)) {
            TFont saved;
            saved.Assign(*C->Font());
            C->Font()->SetName("Marlett");
            TRect l = FAreas[caLeftArrow], r = FAreas[caRightArrow];
            C->DrawText("3", l, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            C->DrawText("4", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            C->SetFont(&saved);
        }
    }
    if (FShowDays) {
        if (!IsRectEmpty(FAreas[caDaysOfWeek])) {
            C->Font()->SetColor(FColors->Get(TGwCalendarColors::DaysOfWeek));
            for (int i = 0; i < 7; ++i) {
                TRect cell = Bounds(FAreas[caDaysOfWeek].Left + i * FCellWidth, FAreas[caDaysOfWeek].Top,
                                    FCellWidth, FCellHeight);
                C->DrawText(ShortDayNames[(FFirstDay + 1 + i) % 7], cell,
                            DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            }
            C->Pen()->SetColor(FColors->Get(TGwCalendarColors::Lines));
            C->MoveTo(FAreas[caDaysOfWeek].Left, FAreas[caDaysOfWeek].Bottom);
            C->LineTo(FAreas[caDaysOfWeek].Right, FAreas[caDaysOfWeek].Bottom);
        }
        unsigned short vy, vm, vd;
        DecodeDate(FViewDate, vy, vm, vd);
        TDateTime first = FirstShownDate(), today = std::floor(::Date());
        // One question per month shown: the previous, the view's and the next.
        unsigned bold[3] = {};
        for (int k = 0; k < 3; ++k) {
            unsigned short y, m, d;
            DecodeDate(IncMonth(FViewDate, k - 1), y, m, d);
            GetBoldDays(y, m, bold[k]);
        }
        for (int i = 0; i < 42; ++i) {
            TDateTime d = first + i;
            unsigned short y, m, day;
            DecodeDate(d, y, m, day);
            bool inMonth = m == vm;
            if (!inMonth && !FElements.Contains(ceFillDays))
                continue;
            TRect cell = CellRect(d);
            int k = inMonth ? 1 : d < FViewDate ? 0 : 2;
            TColor fill = Color();
            TColor fore = FColors->Get(inMonth ? TGwCalendarColors::Days : TGwCalendarColors::FillDays);
            TFontStyles style = Font()->Style();
            if (bold[k] & (1u << (day - 1)))
                style << fsBold;
            GetDayFormat(d, y, m, day, fill, fore, style);
            if (fill != Color()) {
                C->Brush()->SetStyle(bsSolid);
                C->Brush()->SetColor(fill);
                C->FillRect(cell);
            }
            if (d == FDate) {
                C->Brush()->SetStyle(bsSolid);
                C->Brush()->SetColor(FColors->Get(TGwCalendarColors::SelectedDateBack));
                C->FillRect(cell);
                fore = FColors->Get(TGwCalendarColors::SelectedDateFore);
                if (Focused())
                    C->DrawFocusRect(cell);
            }
            if (d == today) {
                C->Brush()->SetStyle(bsSolid);
                C->Brush()->SetColor(FColors->Get(TGwCalendarColors::TodaysDateFrame));
                C->FrameRect(cell);
            }
            C->Brush()->SetStyle(bsClear);
            C->Font()->SetColor(fore);
            C->Font()->SetStyle(style);
            C->DrawText(IntToStr(day), cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        C->Font()->SetStyle(Font()->Style());
        if (!IsRectEmpty(FAreas[caWeekNumbers])) {
            C->Font()->SetColor(FColors->Get(TGwCalendarColors::DaysOfWeek));
            for (int row = 0; row < 6; ++row) {
                TRect cell(FAreas[caWeekNumbers].Left, FAreas[caDays].Top + row * FCellHeight,
                           FAreas[caWeekNumbers].Right, FAreas[caDays].Top + (row + 1) * FCellHeight);
                C->DrawText(IntToStr(WeekOf(first + row * 7)), cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            }
        }
    }
    C->SetFont(Font());
    if (!IsRectEmpty(FAreas[caTodayButton]))
        DrawPopupButton(C, FAreas[caTodayButton], TodayCaption(), false, FPressed == caTodayButton, false,
                        FButtonFontColor, FButtonColor);
    if (!IsRectEmpty(FAreas[caClearButton]))
        DrawPopupButton(C, FAreas[caClearButton], ClearCaption(), false, FPressed == caClearButton, false,
                        FButtonFontColor, FButtonColor);
}

// ---- year spinner ----------------------------------------------------------------------------------

void TGwCalendar::ShowYearSpinner() {
    CalcAreas();
    unsigned short year, month, day;
    DecodeDate(FViewDate, year, month, day);
    auto yearOf = [](TDateTime D) {
        unsigned short y, m, d;
        DecodeDate(D, y, m, d);
        return int(y);
    };
    FYearSpinner->SetMax(9999);
    FYearSpinner->SetMin(FMinDate != 0 ? yearOf(FMinDate) : 1);
    FYearSpinner->SetMax(FMaxDate != 0 ? yearOf(FMaxDate) : 9999);
    FYearSpinner->SetValue(year);
    // Over the year text: the caption right of the month name.
    const TRect cap = FAreas[caYear];
    const int yearLeft = FAreas[caMonth].Right, yearWidth = cap.Right - yearLeft;
    const int w = 2 * FYearSpinner->ButtonWidth() + 4 * FW0 + 8;
    int left = std::max(0, std::min(yearLeft + (yearWidth - w) / 2, ClientWidth() - w));
    FYearSpinner->SetBounds(left, cap.Top, w, cap.Height());
    FYearSpinner->SetVisible(true);
    if (FYearSpinner->CanFocus())
        FYearSpinner->SetFocus();
}

void TGwCalendar::HideYearSpinner() {
    if (!FYearSpinner->Visible())
        return;
    FYearSpinner->SetVisible(false);
    if (Visible() && CanFocus())
        SetFocus();
}

TGwYearSpinner::TGwYearSpinner(TGwCalendar* Calendar) : TGwSpinner(Calendar), FCalendar(Calendar) {
    SetMax(9999);
    SetMin(1);
    SetTabStop(false);
    SetVisible(false);
}

void TGwYearSpinner::CreateParams(TCreateParams& Params) {
    TGwSpinner::CreateParams(Params);
    Params.WindowClass.style = CS_SAVEBITS;
}

void TGwYearSpinner::KeyPress(char& Key) {
    if (Key == '\t') {
        Key = 0;
        return;
    }
    if (Key == '\r' || Key == 0x1B) {
        Key = 0;
        FCalendar->HideYearSpinner();
        return;
    }
    TGwSpinner::KeyPress(Key);
}

void TGwYearSpinner::KeyDown(WORD& Key, TShiftState Shift) {
    if (Key == VK_ESCAPE) {
        Key = 0;
        FCalendar->HideYearSpinner();
        return;
    }
    if (Key == VK_DOWN) {
        Key = 0;
        return;
    }
    TGwSpinner::KeyDown(Key, Shift);
}

void TGwYearSpinner::WMKillFocus(TWMKillFocus& Message) {
    TGwSpinner::WMKillFocus(Message);
    FCalendar->HideYearSpinner();
}

void TGwYearSpinner::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_CANCELMODE && reinterpret_cast<TControl*>(Message.LParam) != this)
        FCalendar->HideYearSpinner();
    TGwSpinner::Dispatch(Message);
}
