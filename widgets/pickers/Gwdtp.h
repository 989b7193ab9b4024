// The Gw date-time picker (widget layer, basic controls): the platform picker with the custom
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

class TGwDateTimePicker : public TDateTimePicker, public IGwFramingHost, public IGwFramedControl {
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

    virtual bool UseThemes() const { return FFraming.UseThemes(); }
    bool FlatButtons() const { return FFraming.FlatButtons(); }
    virtual void SetFlatButtons(bool Value) { FFraming.SetFlatButtons(Value); }
    TColor FlatButtonColor() const { return FFraming.FlatButtonColor(); }
    virtual void SetFlatButtonColor(TColor Value) { FFraming.SetFlatButtonColor(Value); }
    TColor DisabledColor() const { return FFraming.DisabledColor(); }
    virtual void SetDisabledColor(TColor Value) { FFraming.SetDisabledColor(Value); }
    TColor FocusColor() const { return FFraming.FocusColor(); }
    virtual void SetFocusColor(TColor Value) { FFraming.SetFocusColor(Value); }
    TColor FrameColor() const { return FFraming.FrameColor(); }
    virtual void SetFrameColor(TColor Value) { FFraming.SetFrameColor(Value); }
    TGwFrameController* FrameController() const { return FFraming.FrameController(); }
    virtual void SetFrameController(TGwFrameController* Value) { FFraming.SetFrameController(Value); }
    TColor FrameHotColor() const { return FFraming.FrameHotColor(); }
    virtual void SetFrameHotColor(TColor Value) { FFraming.SetFrameHotColor(Value); }
    bool FrameHotTrack() const { return FFraming.FrameHotTrack(); }
    virtual void SetFrameHotTrack(bool Value);
    TFrameStyle FrameHotStyle() const { return FFraming.FrameHotStyle(); }
    virtual void SetFrameHotStyle(TFrameStyle Value) { FFraming.SetFrameHotStyle(Value); }
    TSides FrameSides() const { return FFraming.FrameSides(); }
    virtual void SetFrameSides(TSides Value) { FFraming.SetFrameSides(Value); }
    TFrameStyle FrameStyle() const { return FFraming.FrameStyle(); }
    virtual void SetFrameStyle(TFrameStyle Value) { FFraming.SetFrameStyle(Value); }
    bool FrameVisible() const { return FFraming.FrameVisible(); }
    virtual void SetFrameVisible(bool Value);
    TFramingPreference FramingPreference() const { return FFraming.FramingPreference(); }
    virtual void SetFramingPreference(TFramingPreference Value) { FFraming.SetFramingPreference(Value); }
    TGwFrameControllerNotifications FrameControllerNotifications() const override {
        return FFraming.Notifications;
    }
    void SetFrameControllerNotifications(TGwFrameControllerNotifications Value) {
        FFraming.Notifications = Value;
    }
    bool SetFramingProperty(TGwFrameControllerProperty Property, int Value) override {
        return FFraming.SetFramingProperty(Property, Value);
    }
    // Whether a property is written to the form (the colour only without a controller and while
    // enabled, the focus colour only when it differs from the colour).
    bool FramingStored(TGwFrameControllerProperty Property) const;
    // Retired properties of older forms, read and never written.
    void ReadFrameFlat(bool Value) { FFraming.ReadFrameFlat(Value); }
    void ReadFrameFocusStyle(TFrameStyle Value) { FFraming.ReadFrameFocusStyle(Value); }

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
    TColor FramingColor() const override { return Color(); }
    void FramingSetColor(TColor Value) override { SetColor(Value); }
    void FramingSetParentColor(bool Value) override { SetParentColor(Value); }
    bool FramingEnabled() const override { return Enabled(); }
    bool FramingFocused() const override { return FFocused; }
    bool FramingLoading() const override { return ComponentState().Contains(csLoading); }
    void FramingButtonsChanged() override { Invalidate(); }

private:
    TGwFraming FFraming{this, this};
    std::unique_ptr<TGwMonthCalColors> FCalColors;
    int FDropColumns = 1, FDropRows = 1;
    bool FFocused = false;
    std::string FSavedFormat;
    bool FFormatSaved = false;
};
