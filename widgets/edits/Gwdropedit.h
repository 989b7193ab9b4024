// The Gw edits that drop something down (widget layer, edits over containers and display): the
// colour edit with the colour picker and the date-time edit with the month calendar or the clock,
// each shown in a popup panel. Kept apart from Gwedit.h so the plain edits need no popups.
#pragma once

#include "Gwsettings.h"
#include "dialogs.h"
#include "Gwedit.h"
#include "Gwpopups.h"

// ---- Colour edit ---------------------------------------------------------------------------------

// A colour swatch that is all drop button: any click or Alt+Down opens the colour picker.
class TGwColorEdit : public TGwCustomEdit {
public:
    explicit TGwColorEdit(TComponent* AOwner);

    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value);
    TColor CustomColor = clWhite;
    TColor DefaultColor = clHighlight;
    TGwCustomColors* CustomColors() const { return FCustomColors; }
    void SetCustomColors(TGwCustomColors* Value);
    TColorDialogOptions ColorDlgOptions{cdFullOpen};
    std::string CustomColorCaption, DefaultColorCaption, NoColorCaption;
    bool ShowNoColor = false;
    bool ShowCustomColor = false;
    bool ShowDefaultColor = false;
    bool ShowSystemColors = false;
    bool ShowColorHints = true;

protected:
    virtual void DisplayColorPicker();
    void DropDown() override;
    void HideButton() override { SetDropButtonVisible(false); }
    void ShowButton() override { SetDropButtonVisible(true); }
    void Notification(TComponent* AComponent, TOperation Operation) override;
    bool AllButton() const override { return true; }
    void WndProc(TMessage& Message) override;
    void WMNCCalcSize(TWMNCCalcSize& Message) override;
    void WMNCPaint(TWMNCPaint& Message) override;

private:
    void PaintSwatch(TCanvas* Canvas);
    TRect FSwatch; // window coordinates
    TColor FSelectedColor = clNone;
    TGwCustomColors* FCustomColors = nullptr;
};

// ---- Date-time edit ------------------------------------------------------------------------------

enum TGwDTEditType { etDate, etTime };
using TGwDateTimeChangeEvent = std::function<void(TObject* Sender, TDateTime DateTime)>;
using TGwInvalidDateEvent =
    std::function<void(TObject* Sender, bool& KeepFocused, bool& KeepInvalidText, TDateTime& NewDate)>;

// A date or a time of day, typed leniently, stepped by keys, or picked from a drop-down month
// calendar or clock; dates are held in MinDate..MaxDate (0: no bound).
class TGwDateTimeEdit : public TGwCustomEdit {
public:
    explicit TGwDateTimeEdit(TComponent* AOwner);
    ~TGwDateTimeEdit() override;

    TGwDTEditType EditType() const { return FEditType; }
    void SetEditType(TGwDTEditType Value);
    std::string Format() const { return FFormat; }
    void SetFormat(const std::string& Value);
    TDateTime Value() const { return FValue; }
    TDateTime Date() const;
    void SetDate(TDateTime Value);
    TDateTime Time() const;
    void SetTime(TDateTime Value);
    TDateTime MinDate() const { return FMinDate; }
    void SetMinDate(TDateTime Value);
    TDateTime MaxDate() const { return FMaxDate; }
    void SetMaxDate(TDateTime Value);
    void SetRange(TDateTime Min, TDateTime Max);
    void Clear();

    TGwCalendarElements CalendarElements{ceYear,     ceMonth,       ceArrows,     ceDaysOfWeek,
                                         ceFillDays, ceTodayButton, ceClearButton};
    TGwCalendarColors* CalendarColors() const { return FCalendarColors.get(); }
    TGwClockFaceColors* ClockFaceColors() const { return FClockFaceColors.get(); }
    TGwFirstDayOfWeek FirstDayOfWeek = fdowLocale;
    std::string CaptionTodayBtn, CaptionClearBtn, CaptionAM, CaptionPM, CaptionSet, HowToUseMsg;
    bool RestrictMinutes = false;
    bool ShowHowToUseHint = true;
    TColor PopupButtonColor = clBtnFace;
    TColor PopupButtonFontColor = clWindowText;

    std::function<void(TObject* Sender, TDateTime ViewDate)> OnViewDateChange;
    TGwDateTimeChangeEvent OnDateTimeChange;
    TGwInvalidDateEvent OnInvalidDate;

protected:
    bool IsDate() const { return FEditType == etDate; }
    bool IsTime() const { return FEditType == etTime; }
    virtual void DisplayCalendar();
    virtual void DisplayTimePicker();
    virtual void DateTimeChange();
    virtual void InvalidDate(bool& KeepFocused, bool& KeepInvalidText, TDateTime& NewDate);
    void DropDown() override;
    void HideButton() override { SetDropButtonVisible(false); }
    void ShowButton() override { SetDropButtonVisible(true); }
    void Change() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void DoEnter() override;
    void DoExit() override;
    void Dispatch(TMessage& Message) override;

private:
    enum TStep { stDay, stMonth, stYear, stHour, stMinute };
    void Step(TStep Kind, int Count);
    void UpdateText();
    void SetDateTime();
    void CheckDateTimeChange();
    void ReformatDateTime();
    void CheckRange(TDateTime D) const;
    // Runs a popup with the edit's own OnEnter/OnExit and the form's key preview off.
    template <class F> void WithPopup(F&& Show);

    std::unique_ptr<TGwCalendarColors> FCalendarColors;
    std::unique_ptr<TGwClockFaceColors> FClockFaceColors;
    TGwDTEditType FEditType = etDate;
    std::string FFormat;
    TDateTime FValue = 0, FLastValue = 0;
    TDateTime FMinDate = 0, FMaxDate = 0;
    bool FDateSet = false, FTimeSet = false;
    bool FUpdating = false, FSetting = false, FExiting = false;
};
