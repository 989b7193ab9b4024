// Drop-down surfaces of the Gw widget library (widget layer, containers and navigation): the
// popup panel that shows its controls in a borderless never-activating window and runs a local
// loop until they pick, cancel or the user clicks elsewhere; typed-date and typed-time reading;
// the clock-face and month-grid arithmetic of the calendar and the time picker.
#pragma once

#include <string>
#include <string_view>

#include "Gwpanel.h"
#include "sysutils.h"

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
