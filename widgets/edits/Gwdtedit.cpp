// The Gw date-time edit: lenient typed dates and times, stepping keys, the date range, and the
// drop-down month calendar or clock.
#include <cmath>

#include "Gwdropedit.h"
#include "Gwutils.h"
#include "forms.h"

namespace {

double WholeDays(TDateTime D) { return std::floor(D); }
double DayPart(TDateTime D) { return D - std::floor(D); }

} // namespace

TGwDateTimeEdit::TGwDateTimeEdit(TComponent* AOwner)
    : TGwCustomEdit(AOwner), FCalendarColors(std::make_unique<TGwCalendarColors>(nullptr)),
      FClockFaceColors(std::make_unique<TGwClockFaceColors>(nullptr)) {
    SetDropButtonVisible(true);
}

TGwDateTimeEdit::~TGwDateTimeEdit() = default;

TDateTime TGwDateTimeEdit::Date() const { return WholeDays(FValue); }
TDateTime TGwDateTimeEdit::Time() const { return DayPart(FValue); }

void TGwDateTimeEdit::CheckRange(TDateTime D) const {
    if (FMaxDate != 0 && D > FMaxDate)
        throw EGwCalendarError(::Format("Date exceeds maximum of %s", DateToStr(FMaxDate)));
    if (FMinDate != 0 && D < FMinDate)
        throw EGwCalendarError(::Format("Date is less than minimum of %s", DateToStr(FMinDate)));
}

void TGwDateTimeEdit::SetDate(TDateTime Value) {
    CheckRange(Value);
    FValue = Value;
    FDateSet = true;
    FEditType = etDate;
    CheckDateTimeChange();
    FSetting = true;
    UpdateText();
    FSetting = false;
}

void TGwDateTimeEdit::SetTime(TDateTime Value) {
    FValue = Value;
    FTimeSet = true;
    FEditType = etTime;
    CheckDateTimeChange();
    FSetting = true;
    UpdateText();
    FSetting = false;
}

void TGwDateTimeEdit::SetMinDate(TDateTime Value) {
    Value = WholeDays(Value);
    if (FMaxDate != 0 && Value > FMaxDate)
        throw EGwCalendarError(::Format("Date exceeds maximum of %s", DateToStr(FMaxDate)));
    SetRange(Value, FMaxDate);
    FMinDate = Value;
}

void TGwDateTimeEdit::SetMaxDate(TDateTime Value) {
    Value = WholeDays(Value);
    if (FMinDate != 0 && Value != 0 && Value < FMinDate)
        throw EGwCalendarError(::Format("Date is less than minimum of %s", DateToStr(FMinDate)));
    SetRange(FMinDate, Value);
    FMaxDate = Value;
}

void TGwDateTimeEdit::SetRange(TDateTime Min, TDateTime Max) {
    if (!IsDate() || FValue == 0)
        return;
    TDateTime v = FValue;
    if (Min != 0 && v < Min)
        v = Min;
    else if (Max != 0 && v > Max)
        v = Max;
    if (v == FValue)
        return;
    FValue = v;
    CheckDateTimeChange();
    UpdateText();
}

void TGwDateTimeEdit::SetEditType(TGwDTEditType Value) {
    if (Value == FEditType)
        return;
    FEditType = Value;
    ReformatDateTime();
}

void TGwDateTimeEdit::SetFormat(const std::string& Value) {
    if (Value == FFormat)
        return;
    SetDateTime();
    FFormat = Value;
    UpdateText();
}

void TGwDateTimeEdit::Clear() {
    FUpdating = true;
    SetText("");
    FUpdating = false;
    FValue = 0;
    CheckDateTimeChange();
    FDateSet = FTimeSet = false;
    UpdateText();
}

void TGwDateTimeEdit::UpdateText() {
    const std::string format = !FFormat.empty() ? FFormat : IsDate() ? "ddddd" : "t";
    const bool set = IsDate() ? FDateSet : FTimeSet;
    FUpdating = true;
    try {
        SetText(FValue == 0 && !set && !FSetting ? std::string() : FormatDateTime(format, FValue));
    } catch (...) {
        FUpdating = false;
        throw;
    }
    FUpdating = false;
    SetModified(false);
}

void TGwDateTimeEdit::SetDateTime() {
    if (!Modified())
        return;
    SetModified(false);
    if (IsDate()) {
        TDateTime v = 0;
        if (!StrToDateEx(Text(), v))
            return; // the typed text stays until the edit is left
        FValue = v;
        FDateSet = true;
    } else {
        FValue = StrToTimeEx(Text());
        FTimeSet = true;
    }
    CheckDateTimeChange();
}

void TGwDateTimeEdit::CheckDateTimeChange() {
    const bool changed =
        IsTime() ? DayPart(FValue) != DayPart(FLastValue) : WholeDays(FValue) != WholeDays(FLastValue);
    if (!changed)
        return;
    FLastValue = FValue;
    DateTimeChange();
}

void TGwDateTimeEdit::DateTimeChange() {
    if (OnDateTimeChange)
        OnDateTimeChange(this, FValue);
}

void TGwDateTimeEdit::InvalidDate(bool& KeepFocused, bool& KeepInvalidText, TDateTime& NewDate) {
    if (OnInvalidDate)
        OnInvalidDate(this, KeepFocused, KeepInvalidText, NewDate);
}

void TGwDateTimeEdit::ReformatDateTime() {
    const std::string typed = Text();
    SetDateTime();
    bool keepFocused = false, keepText = false;
    if (IsDate()) {
        TDateTime v = 0;
        if (!StrToDateEx(typed, v)) {
            TDateTime newDate = 0;
            InvalidDate(keepFocused, keepText, newDate);
            FValue = newDate;
            FDateSet = newDate != 0;
            CheckDateTimeChange();
            if (keepFocused || keepText) {
                SetFocus();
                if (keepText || FValue == 0) {
                    FUpdating = true;
                    SetText(keepText ? typed : std::string());
                    FUpdating = false;
                }
                // Calls off the focus change under way so the edit keeps the focus.
                Abort();
            }
        }
        if (FValue != 0)
            CheckRange(FValue);
    }
    UpdateText();
}

void TGwDateTimeEdit::Change() {
    if (!FUpdating)
        SetDateTime();
    TGwCustomEdit::Change();
}

void TGwDateTimeEdit::Step(TStep Kind, int Count) {
    if (FValue == 0)
        FValue = Kind == stHour || Kind == stMinute ? Now() : ::Date();
    switch (Kind) {
    case stDay: FValue = IncDay(FValue, Count); break;
    case stMonth: FValue = IncMonth(FValue, Count); break;
    case stYear: FValue = IncYear(FValue, Count); break;
    case stHour: FValue = IncHour(FValue, Count); break;
    case stMinute: FValue = IncMinute(FValue, Count); break;
    }
    if (FValue < 0 && IsTime())
        FValue += 1;
    (IsDate() ? FDateSet : FTimeSet) = true;
    CheckDateTimeChange();
    UpdateText();
}

void TGwDateTimeEdit::KeyDown(WORD& Key, TShiftState Shift) {
    TGwCustomEdit::KeyDown(Key, Shift);
    // A read-only edit keeps its value: stepping would change it.
    if (Key == 0 || ReadOnly())
        return;
    const int sign = Key == VK_UP || Key == VK_PRIOR ? 1 : -1;
    if (IsTime()) {
        if (Key == VK_PRIOR || Key == VK_NEXT)
            Step(stHour, sign);
        else if (Key == VK_UP || Key == VK_DOWN)
            Step(stMinute, sign);
        else
            return;
    } else if (Key == VK_UP || Key == VK_DOWN)
        Step(stDay, sign);
    else if (Key == VK_PRIOR || Key == VK_NEXT)
        Step(Shift.Contains(ssShift) ? stYear : stMonth, sign);
    else
        return;
    Key = 0;
}

void TGwDateTimeEdit::KeyPress(char& Key) {
    const bool plus = Key == '+' || Key == '=';
    const bool minus = Key == '-' || Key == '_';
    if (ReadOnly() && (plus || minus)) {
        Key = 0;
        return;
    }
    if (IsTime()) {
        const auto u = static_cast<unsigned char>(Key);
        const bool letter =
            (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u >= 0xC0 || u == 0xA8 || u == 0xB8;
        const char upper = char(u >= 'a' && u <= 'z' ? u - 32 : u);
        if (letter && upper != 'A' && upper != 'M' && upper != 'P') {
            Key = 0;
            InvalidKeyPressed();
            return;
        }
        if (Key != TimeSeparator && (plus || minus)) {
            Step(stHour, plus ? 1 : -1);
            Key = 0;
            return;
        }
    } else if (Key != DateSeparator && (plus || minus)) {
        Step(stDay, plus ? 1 : -1);
        Key = 0;
        return;
    }
    TGwCustomEdit::KeyPress(Key);
}

void TGwDateTimeEdit::DoEnter() {
    TGwCustomEdit::DoEnter();
    UpdateText();
}

void TGwDateTimeEdit::DoExit() {
    TGwCustomEdit::DoExit();
    if (FExiting || ComponentState().Contains(csDestroying))
        return;
    FExiting = true;
    try {
        ReformatDateTime();
    } catch (const EAbort&) {
        FExiting = false;
        throw;
    } catch (const Exception&) {
        FExiting = false;
        Application->MessageBox("Date is beyond valid date range", Application->Title(),
                                MB_OK | MB_ICONERROR);
        SetFocus();
        Abort();
    }
    FExiting = false;
}

void TGwDateTimeEdit::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_WANTARROWS | DLGC_HASSETSEL;
        return;
    }
    TGwCustomEdit::Dispatch(Message);
}

template <class F> void TGwDateTimeEdit::WithPopup(F&& Show) {
    TNotifyEvent enter = OnEnter, exit = OnExit;
    OnEnter = nullptr;
    OnExit = nullptr;
    TCustomForm* form = GetParentForm(this);
    const bool preview = form && form->KeyPreview();
    if (form)
        form->SetKeyPreview(false);
    TControlGuard alive(this);
    try {
        Show();
    } catch (const std::exception&) {
        // A popup that fails leaves the edit as it was.
    }
    if (!alive.Alive())
        return;
    if (form)
        form->SetKeyPreview(preview);
    OnEnter = enter;
    OnExit = exit;
}

void TGwDateTimeEdit::DropDown() {
    if (ReadOnly())
        return;
    TGwCustomEdit::DropDown();
    WithPopup([this] {
        if (IsDate())
            DisplayCalendar();
        else
            DisplayTimePicker();
    });
}

void TGwDateTimeEdit::DisplayCalendar() {
    auto panel = std::make_unique<TGwPopupPanel>(nullptr);
    panel->SetVisible(false);
    panel->SetParent(GetParentForm(this));
    auto* calendar = new TGwCalendar(panel.get());
    calendar->SetParent(panel.get());
    calendar->Font()->SetName(Font()->Name());
    calendar->Font()->SetColor(Font()->Color());
    calendar->SetColor(Color());
    calendar->SetButtonColor(PopupButtonColor);
    calendar->SetButtonFontColor(PopupButtonFontColor);
    calendar->SetElements(CalendarElements);
    calendar->SetFirstDayOfWeek(FirstDayOfWeek);
    calendar->CaptionClearBtn = CaptionClearBtn;
    calendar->CaptionTodayBtn = CaptionTodayBtn;
    calendar->OnViewDateChange = OnViewDateChange;
    calendar->SetMinDate(FMinDate);
    calendar->SetMaxDate(FMaxDate);
    calendar->SetCalendarColors(FCalendarColors.get());
    if (FrameVisible()) {
        panel->SetFlatColor(FrameColor());
        panel->SetBorderOuter(FrameStyle());
    }
    TDateTime start = Date() != 0 ? Date() : WholeDays(::Date());
    if (FMinDate != 0 && start < FMinDate)
        start = FMinDate;
    if (FMaxDate != 0 && start > FMaxDate)
        start = FMaxDate;
    calendar->SetDate(start);
    // A day, today or clear picked (or Enter) accepts; the arrows and the month only browse.
    bool picked = false;
    calendar->OnChange = [&](TObject*) { picked = true; };
    calendar->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) { picked = picked || Key == VK_RETURN; };
    calendar->OnClick = [&](TObject* Sender) {
        if (picked)
            panel->Close(Sender);
    };
    panel->SetAutoSize(true);
    if (!panel->Popup(this))
        return;
    if (calendar->Date() == 0)
        Clear();
    else
        SetDate(calendar->Date());
}

void TGwDateTimeEdit::DisplayTimePicker() {
    auto panel = std::make_unique<TGwPopupPanel>(nullptr);
    panel->SetVisible(false);
    panel->SetParent(GetParentForm(this));
    auto* picker = new TGwTimePicker(panel.get());
    picker->SetParent(panel.get());
    picker->Font()->SetName(Font()->Name());
    picker->SetColor(Color());
    picker->SetButtonColor(PopupButtonColor);
    picker->SetButtonFontColor(PopupButtonFontColor);
    picker->SetCaptionAM(CaptionAM);
    picker->SetCaptionPM(CaptionPM);
    picker->SetCaptionSet(CaptionSet);
    picker->SetClockFaceColors(FClockFaceColors.get());
    picker->RestrictMinutes = RestrictMinutes;
    picker->ShowHowToUseHint = ShowHowToUseHint;
    picker->HowToUseMsg = HowToUseMsg;
    picker->SetShowSetButton(true);
    picker->SetTime(Time() != 0 || FTimeSet ? Time() : DayPart(Now()));
    picker->OnSetBtnClick = [&](TObject* Sender) { panel->Close(Sender); };
    if (panel->Popup(this))
        SetTime(picker->Time());
}
