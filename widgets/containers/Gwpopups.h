// Drop-down surfaces of the Gw widget library (widget layer, containers): the
// popup panel that shows its controls in a borderless never-activating window and runs a local
// loop until they pick, cancel or the user clicks elsewhere; typed-date and typed-time reading;
// the clock-face and month-grid arithmetic of the calendar and the time picker; the calendar's year
// spinner.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "Gwpanel.h"
#include "Gwspnedt.h"
#include "menus.h"
#include "sysutils.h"
#include "timers.h"

// ---- Typed dates and times ------------------------------------------------------------------------
// Lenient date reading in the locale's field order: separators optional, month names anywhere,
// missing fields from today. An empty text gives 0 and true; text that makes no date gives 0 and
// false.
bool StrToDateEx(std::string_view Text, TDateTime& Value);
// Lenient time reading in the locale's field order with AM/PM markers; 0 when no time results.
TDateTime StrToTimeEx(std::string_view Text);

// ---- Month grid ----------------------------------------------------------------------------------
// First date of the 7 x 6 grid for the month starting at ViewDate; FirstDay 0 = Monday .. 6 = Sunday.
// The first row always ends with the previous month's last day.
TDateTime CalendarFirstShownDate(TDateTime ViewDate, int FirstDay);
// Whether tick Counter (from 0, every 50 ms) of a held arrow moves the month: every 250 ms during
// the first second, every 100 ms until 10 s, then every tick.
bool CalendarRepeatStepActs(int Counter);

// ---- Clock face ----------------------------------------------------------------------------------
// Hour 1..12 pointed at by (DX, DY) from the centre, screen y downwards.
int ClockHourAt(int DX, int DY);
// Minute 0..59 pointed at; with RestrictBy > 0 rounded to a multiple of it (60 becomes 0).
int ClockMinuteAt(int DX, int DY, int RestrictBy = 0);

// ---- Popups --------------------------------------------------------------------------------------
// Private message that ends and frees a popup.
constexpr UINT CM_GWPOPUPCLOSE = 0x2423;

// Where a W x H popup for a control at screen rectangle R goes: under it by alignment, or at
// (X, Y) from its top-left corner when both are given (not -1); kept inside WorkArea, opening
// above the control when it does not fit below.
TPoint PlacePopup(const TRect& R, TAlignment Alignment, int X, int Y, int W, int H, const TRect& WorkArea);

class TGwCustomPopup : public TGwCustomPanel {
public:
    explicit TGwCustomPopup(TComponent* AOwner);

protected:
    void AdjustClientRect(TRect& Rect) override;
};

class TGwPopup;

class TGwPopupPanel : public TGwCustomPopup {
public:
    explicit TGwPopupPanel(TComponent* AOwner);
    ~TGwPopupPanel() override;

    // Shows the panel's controls under Control; true only when they called Close.
    bool Popup(TControl* Control) { return Popup(Control, -1, -1); }
    bool Popup(TControl* Control, int X, int Y);
    // Accepts and ends a showing popup (an OnClick handler of a button inside the panel).
    void Close(TObject* Sender);
    bool Active() const { return FPopup != nullptr; }
    TControl* PopupControl() const { return FControl; }
    TGwPopup* PopupWindow() const { return FPopup; }

    TNotifyEvent OnClose;
    TNotifyEvent OnPopup;

protected:
    virtual void DoPopup();
    virtual void DoClose();
    void DestroyWnd() override;

private:
    TControl* FControl = nullptr;
    TGwPopup* FPopup = nullptr;
};

// The temporary top-level window a popup panel's controls live on while it shows.
class TGwPopup : public TGwCustomPopup {
public:
    TGwPopup(TGwPopupPanel* Panel);
    // Runs the popup for Control; true when it ended through the panel's Close.
    bool Execute(TControl* Control, TAlignment Alignment, int X, int Y);
    void Accept() { FCancelled = false; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;

private:
    bool OwnsWindow(HWND Wnd);
    bool Filter(TMsg& Msg);
    void MoveChildren(TWinControl* From, TWinControl* To);

    TGwPopupPanel* FPanel;
    TWinControl* FActiveChild = nullptr;
    bool FCancelled = true;
    bool FDone = false;
    bool FClosePosted = false;
};

// ---- Popup button painter ------------------------------------------------------------------------
// The calendar's and the time picker's buttons: border (flat or raised, coloured when not
// clBtnFace), filled in ButtonColor, caption centred on one line, shifted when down.
void DrawPopupButton(TCanvas* Canvas, const TRect& Bounds, const std::string& Caption, bool Themed, bool Down,
                     bool Flat, TColor FontColor, TColor ButtonColor);

// ---- Time picker ---------------------------------------------------------------------------------
class TGwTimePicker;

class TGwClockFaceColors : public TPersistent {
public:
    explicit TGwClockFaceColors(TGwTimePicker* Owner) : FOwner(Owner) {}
    void Assign(TPersistent* Source) override;
    enum Index { Face, Hands, Numbers, HourTicks, MinuteTicks };
    TColor Get(Index I) const { return FColors[I]; }
    void Set(Index I, TColor Value);

private:
    TGwTimePicker* FOwner;
    TColor FColors[5] = {clBtnFace, clWindowText, clWindowText, clBtnShadow, clWindowText};
};

class TGwTimePicker : public TGwCustomPanel {
public:
    explicit TGwTimePicker(TComponent* AOwner);
    ~TGwTimePicker() override;

    TDateTime Time() const { return FTime; }
    void SetTime(TDateTime Value);
    void Clear() { SetTime(0); }
    bool IsClear() const { return FTime == 0; }
    bool PM() const { return FPM; }
    void SetHour(int H);
    void SetMinute(int M);
    void ChangeToAM();
    void ChangeToPM();
    void AdjustHour(int Delta);
    void AdjustMinute(int Delta);

    TGwClockFaceColors* ClockFaceColors() const { return FClockFaceColors.get(); }
    void SetClockFaceColors(TGwClockFaceColors* Value) { FClockFaceColors->Assign(Value); }
    int RestrictMinutesBy = 5;
    bool RestrictMinutes = false;
    bool ShowHowToUseHint = true;
    std::string HowToUseMsg;
    bool ShowSetButton() const { return FShowSetButton; }
    void SetShowSetButton(bool Value) { Change(FShowSetButton, Value); }
    bool ShowTime() const { return FShowTime; }
    void SetShowTime(bool Value) { Change(FShowTime, Value); }
    std::string Format() const { return FFormat; }
    void SetFormat(const std::string& Value) { Change(FFormat, Value); }
    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor Value) { Change(FButtonColor, Value); }
    TColor ButtonFontColor() const { return FButtonFontColor; }
    void SetButtonFontColor(TColor Value) { Change(FButtonFontColor, Value); }
    std::string CaptionAM() const { return FCaptionAM.empty() ? "AM" : FCaptionAM; }
    std::string CaptionPM() const { return FCaptionPM.empty() ? "PM" : FCaptionPM; }
    std::string CaptionSet() const { return FCaptionSet.empty() ? "Set" : FCaptionSet; }
    void SetCaptionAM(const std::string& Value);
    void SetCaptionPM(const std::string& Value);
    void SetCaptionSet(const std::string& Value);
    // The hint text over the clock.
    std::string HowToUseText() const;

    // Geometry of the face (client coordinates).
    TPoint ClockCenter() const { return FCenter; }
    int ClockRadius() const { return FRadius; }
    TRect AMRect() const { return FAMRect; }
    TRect PMRect() const { return FPMRect; }
    TRect SetRect() const { return FSetRect; }
    void CalcRects();

    TNotifyEvent OnChange;
    TNotifyEvent OnSetBtnClick;
    TNotifyEvent OnSetTime;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;
    void DoEnter() override;
    void DoExit() override;
    void WndProc(TMessage& Message) override;

private:
    enum TPressed { pbNone, pbAM, pbPM, pbSet };
    bool InClock(int X, int Y) const;
    int MinuteAt(int X, int Y, bool Restrict) const;
    void DragMinute(int X, int Y, bool Restrict);
    void SetBtnClick();
    void CalcFontSize();
    void DrawClock(TCanvas* Canvas);

    std::unique_ptr<TGwClockFaceColors> FClockFaceColors;
    TDateTime FTime = 0;
    bool FPM = false;
    bool FShowSetButton = false;
    bool FShowTime = true;
    std::string FFormat;
    TColor FButtonColor = clBtnFace;
    TColor FButtonFontColor = clWindowText;
    std::string FCaptionAM, FCaptionPM, FCaptionSet;
    int FW0 = 8, FH0 = 13;
    TRect FTimeRect, FClockRect, FAMRect, FPMRect, FSetRect;
    TPoint FCenter;
    int FRadius = 0;
    TPressed FPressed = pbNone;
    bool FHourDrag = false, FMinuteDrag = false;
    int FLastMinute = 0;
};

// ---- Calendar ------------------------------------------------------------------------------------
class EGwCalendarError : public Exception {
public:
    using Exception::Exception;
};

class TGwCalendar;

// The small spinner the calendar lays over its year caption. Years run from 1 to 9999: year 0 has
// no date.
class TGwYearSpinner : public TGwSpinner {
public:
    explicit TGwYearSpinner(TGwCalendar* Calendar);
    TGwCalendar* Calendar() const { return FCalendar; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void WMKillFocus(TWMKillFocus& Message) override;
    void Dispatch(TMessage& Message) override;

private:
    TGwCalendar* FCalendar;
};

class TGwCalendarColors : public TPersistent {
public:
    explicit TGwCalendarColors(TGwCalendar* Owner) : FOwner(Owner) {}
    void Assign(TPersistent* Source) override;
    enum Index { Days, FillDays, DaysOfWeek, Lines, SelectedDateBack, SelectedDateFore, TodaysDateFrame };
    TColor Get(Index I) const { return FColors[I]; }
    void Set(Index I, TColor Value);

private:
    TGwCalendar* FOwner;
    TColor FColors[7] = {clWindowText, clBtnShadow,     clWindowText,    clBtnShadow,
                         clHighlight,  clHighlightText, TColor(0x000080)};
};

enum TGwCalendarElement {
    ceYear,
    ceMonth,
    ceArrows,
    ceWeekNumbers,
    ceDaysOfWeek,
    ceFillDays,
    ceTodayButton,
    ceClearButton
};
using TGwCalendarElements = Set<TGwCalendarElement, ceYear, ceClearButton>;
enum TGwCalendarArea {
    caYear,
    caMonth,
    caLeftArrow,
    caRightArrow,
    caWeekNumbers,
    caDays,
    caDaysOfWeek,
    caFillDays,
    caTodayButton,
    caClearButton
};
enum TGwFirstDayOfWeek {
    fdowMonday,
    fdowTuesday,
    fdowWednesday,
    fdowThursday,
    fdowFriday,
    fdowSaturday,
    fdowSunday,
    fdowLocale
};

class TGwCalendar : public TGwCustomPanel {
public:
    explicit TGwCalendar(TComponent* AOwner);
    ~TGwCalendar() override;

    TDateTime Date() const { return FDate; }
    // Raises EGwCalendarError for a date outside MinDate..MaxDate.
    void SetDate(TDateTime Value);
    TDateTime MinDate() const { return FMinDate; }
    void SetMinDate(TDateTime Value);
    TDateTime MaxDate() const { return FMaxDate; }
    void SetMaxDate(TDateTime Value);
    // 1 above MaxDate, -1 below MinDate, else 0 (bounds of 0 do not limit).
    int DateInRange(TDateTime D) const;
    TDateTime ViewDate() const { return FViewDate; }
    void SetViewDate(TDateTime Value);
    TDateTime FirstShownDate() const { return CalendarFirstShownDate(FViewDate, FFirstDay); }
    TGwFirstDayOfWeek FirstDayOfWeek() const { return FFirstDayOfWeek; }
    void SetFirstDayOfWeek(TGwFirstDayOfWeek Value);
    TGwCalendarElements Elements() const { return FElements; }
    void SetElements(TGwCalendarElements Value);
    bool ShowDays() const { return FShowDays; }
    void SetShowDays(bool Value);
    TGwCalendarColors* CalendarColors() const { return FColors.get(); }
    void SetCalendarColors(TGwCalendarColors* Value) { FColors->Assign(Value); }
    std::string CaptionTodayBtn, CaptionClearBtn;
    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor Value) { Change(FButtonColor, Value); }
    TColor ButtonFontColor() const { return FButtonFontColor; }
    void SetButtonFontColor(TColor Value) { Change(FButtonFontColor, Value); }
    void Today();
    void Clear();

    // The ten areas of the client rectangle, and the one under a client point (caFillDays: none).
    void CalcAreas();
    TRect Area(TGwCalendarArea A) const { return FAreas[A]; }
    TGwCalendarArea AreaAt(TPoint P);
    // The grid cell of a date shown, as its rectangle; empty when not shown.
    TRect CellRect(TDateTime D) const;
    // One step of a held arrow (the 50 ms timer's tick).
    void RepeatStep();
    // The year spinner over the year caption: shown on a press there, its steps move the view a
    // year within MinDate..MaxDate; Enter, Escape or losing the focus hide it.
    TGwYearSpinner* YearSpinner() const { return FYearSpinner; }
    bool YearSpinnerShowing() const { return FYearSpinner->Visible(); }
    void ShowYearSpinner();
    void HideYearSpinner();
    // The month names menu, checked at the view's month and popped up at the client point.
    TPopupMenu* MonthMenu() const { return FMonthMenu; }
    void DisplayMonthPopupMenu(int X, int Y);
    // Bit d-1 for each listed day d of 1..31; other values are ignored.
    static unsigned DaysToBitmask(std::initializer_list<int> Days);

    TNotifyEvent OnChange;
    std::function<void(TObject* Sender, int Year, int Month, unsigned& Bitmask)> OnGetBoldDays;
    std::function<void(TObject* Sender, TDateTime Date, int Year, int Month, int Day, TColor& FillColor,
                       TColor& FontColor, TFontStyles& FontStyle)>
        OnGetDayFormat;
    std::function<void(TObject* Sender, TDateTime ViewDate)> OnViewDateChange;
    std::function<void(TObject* Sender, bool& Allow)> OnToday;
    std::function<void(TObject* Sender, bool& Allow)> OnClear;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;
    void WndProc(TMessage& Message) override;
    virtual void GetBoldDays(int Year, int Month, unsigned& Bitmask);
    virtual void GetDayFormat(TDateTime Date, int Year, int Month, int Day, TColor& FillColor,
                              TColor& FontColor, TFontStyles& FontStyle);

private:
    void SetDateInternal(TDateTime Value, bool Force);
    void CalcFontSize();
    void Step(int Months);
    std::string Caption(bool WithYear) const;
    std::string TodayCaption() const { return CaptionTodayBtn.empty() ? "Today" : CaptionTodayBtn; }
    std::string ClearCaption() const { return CaptionClearBtn.empty() ? "Clear" : CaptionClearBtn; }

    std::unique_ptr<TGwCalendarColors> FColors;
    std::unique_ptr<TTimer> FTimer;
    TPopupMenu* FMonthMenu; // owned by the calendar as a component
    TDateTime FDate = 0, FMinDate = 0, FMaxDate = 0, FViewDate = 0;
    TGwFirstDayOfWeek FFirstDayOfWeek = fdowLocale;
    int FFirstDay = 0;
    TGwCalendarElements FElements;
    bool FShowDays = true;
    TColor FButtonColor = clBtnFace, FButtonFontColor = clWindowText;
    int FW0 = 8, FH0 = 13, FTodayWidth = 0, FClearWidth = 0;
    int FCellWidth = 0, FCellHeight = 0;
    TRect FAreas[10];
    TGwCalendarArea FPressed = caFillDays;
    TGwCalendarArea FOver = caFillDays;
    int FRepeat = 0;
    bool FPicked = false;
    TGwYearSpinner* FYearSpinner;
};
