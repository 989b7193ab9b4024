// The Gw date-time picker (widget layer, pickers): the platform picker with the custom
// framing of the other framed controls, a flat drop-down button, state colours, and the look of
// the month calendar it drops down (colours, first day of week, today line, week numbers, more
// than one month).
#pragma once

#include <algorithm>
#include <memory>

#include "Gwframing.h"
#include "comctrls.h"

class TGwDateTimePicker;

class TGwMonthCalColors : public TPersistent {
public:
    explicit TGwMonthCalColors(TGwDateTimePicker* Owner) : FOwner(Owner) {}
    void Assign(TPersistent* Source) override;
    // Indexes are the month-calendar colour indexes (MCSC_BACKGROUND .. MCSC_TRAILINGTEXT).
    TColor Get(int Index) const { return FColors[Index]; }
    void SetColor(int Index, TColor Value);
    // Sends all six to the picker's window.
    void SetAllColors();

private:
    TGwDateTimePicker* FOwner;
    TColor FColors[6] = {clWindow, clWindowText, clActiveCaption, clCaptionText, clWindow, TColor(0x808080)};
};

// What the drop-down does to the month calendar: its first day (0 = Monday), the style bits to
// set and to clear, and its new size.
struct TGwDropCalendar {
    int FirstDay = 0;
    LPARAM SetStyles = 0, ClearStyles = 0;
    int Width = 0, Height = 0;
};
// LocaleFirstDay is the locale's first-day digit; WeekNumberWidth the width of " 33   " in the
// picker's font; CalWidth and CalHeight the calendar's size as the platform made it.
TGwDropCalendar GwDropCalendar(TCalDayOfWeek FirstDayOfWeek, char LocaleFirstDay, bool ShowToday,
                               bool ShowTodayCircle, bool ShowWeekNumbers, int DropColumns, int DropRows,
                               int WeekNumberWidth, int CalWidth, int CalHeight);

class TGwDateTimePicker : public TGwFramedBase<TDateTimePicker> {
public:
    explicit TGwDateTimePicker(TComponent* AOwner);
    ~TGwDateTimePicker() override;

    TGwMonthCalColors* CalColors() const { return FCalColors.get(); }
    void SetCalColors(TGwMonthCalColors* Value) { FCalColors->Assign(Value); }
    // 1..4 months across and down.
    int DropColumns() const { return FDropColumns; }
    void SetDropColumns(int Value) { FDropColumns = std::clamp(Value, 1, 4); }
    int DropRows() const { return FDropRows; }
    void SetDropRows(int Value) { FDropRows = std::clamp(Value, 1, 4); }
    bool ShowToday = false;
    bool ShowTodayCircle = false;
    bool ShowWeekNumbers = false;
    TCalDayOfWeek FirstDayOfWeek = dowLocaleDefault;
    // Sent to the window as DTM_SETFORMAT; kept across a re-created window.
    virtual void SetFormat(const std::string& Value);
    // DTM_SETMCCOLOR when there is a window; false only when the window refuses.
    bool UpdateCalColors(int Index, TColor RGB);

    bool FlatButtons() const { return FFraming.FlatButtons(); }
    virtual void SetFlatButtons(bool Value) { FFraming.SetFlatButtons(Value); }
    TColor FlatButtonColor() const { return FFraming.FlatButtonColor(); }
    virtual void SetFlatButtonColor(TColor Value) { FFraming.SetFlatButtonColor(Value); }
    void SetFrameHotTrack(bool Value) override;
    void SetFrameVisible(bool Value) override;
    // Whether a property is written to the form (the colour only without a controller and while
    // enabled, the focus colour only when it differs from the colour).
    bool FramingStored(TGwFrameControllerProperty Property) const;

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    virtual void UpdateColors() { FFraming.UpdateColors(); }
    virtual void UpdateFrame(bool ViaMouse, bool InFocus);
    virtual void RepaintFrame();
    // The drop-down button drawn flat over the platform's, on a DC of the client area; Copy: the
    // DC is a copy of the control (two pixels of frame less on each side).
    void PaintFlatButton(TCanvas* Canvas, bool Copy);
    // Applies the calendar's look to the month calendar that is dropping down.
    void CalendarDropping();
    void CreateWnd() override;
    void DestroyWnd() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;
    void WMNCPaint(TWMNCPaint& Message) override;

    // IGwFramingHost
    void FramingRepaintFrame() override { RepaintFrame(); }
    void FramingRecreateWindow() override { RecreateWnd(); }
    bool FramingFocused() const override { return FFocused; }
    void FramingButtonsChanged() override { Invalidate(); }

private:
    std::unique_ptr<TGwMonthCalColors> FCalColors;
    int FDropColumns = 1, FDropRows = 1;
    bool FFocused = false;
    std::string FSavedFormat;
    bool FFormatSaved = false;
};
