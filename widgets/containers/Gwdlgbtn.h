// The dialog-button bar (widget layer, on the button and container families): OK, Cancel and Help
// bitmap buttons laid out in a row at the right or in a column, with an optional divider.
#pragma once

#include <array>

#include "Gwbutton.h"
#include "Gwpanel.h"

class TBasicAction;

// Buttons are numbered 1 (OK), 2 (Cancel) and 3 (Help) in the indexed accessors.
class TGwDialogButtons : public TGwCustomPanel {
public:
    enum : int { btOk = 1, btCancel = 2, btHelp = 3 };
    explicit TGwDialogButtons(TComponent* AOwner);

    TGwBitBtn* Button(int Index) const { return FButtons.at(size_t(Index - 1)); }
    TBasicAction* Action(int Index) const;
    void SetAction(int Index, TBasicAction* Value);
    std::string ButtonCaption(int Index) const { return Button(Index)->Caption(); }
    void SetButtonCaption(int Index, const std::string& Value) { Button(Index)->SetCaption(Value); }
    bool ButtonEnabled(int Index) const { return Button(Index)->Enabled(); }
    void SetButtonEnabled(int Index, bool Value) { Button(Index)->SetEnabled(Value); }
    TModalResult ButtonModalResult(int Index) const { return Button(Index)->ModalResult; }
    void SetButtonModalResult(int Index, TModalResult Value) { Button(Index)->ModalResult = Value; }
    bool ShowButton(int Index) const { return Button(Index)->Visible(); }
    virtual void SetShowButton(int Index, bool Value);
    int ButtonWidth(int Index) const { return FWidths.at(size_t(Index - 1)); }
    virtual void SetBtnWidth(int Index, int Value);

    // Settings of all three buttons, read from OK.
    TColor ButtonColor() const { return Button(btOk)->Color(); }
    void SetButtonColor(TColor Value);
    TColor ButtonFrameColor() const { return Button(btOk)->FrameColor(); }
    void SetButtonFrameColor(TColor Value);
    bool HotTrack() const { return Button(btOk)->HotTrack(); }
    void SetHotTrack(bool Value);
    TColor HighlightColor() const { return Button(btOk)->HighlightColor(); }
    void SetHighlightColor(TColor Value);
    TColor HotTrackColor() const { return Button(btOk)->HotTrackColor; }
    void SetHotTrackColor(TColor Value);
    TGwHotTrackColorType HotTrackColorType() const { return Button(btOk)->HotTrackColorType; }
    void SetHotTrackColorType(TGwHotTrackColorType Value);
    // A retired stored property of older forms: sets HotTrack.
    void ReadFrameFlat(bool Value) { SetHotTrack(Value); }

    bool CancelCancel() const { return Button(btCancel)->Cancel; }
    void SetCancelCancel(bool Value) { Button(btCancel)->Cancel = Value; }
    bool OKDefault() const { return Button(btOk)->Default(); }
    void SetOKDefault(bool Value) { Button(btOk)->SetDefault(Value); }
    bool ShowDivider() const { return FShowDivider; }
    virtual void SetShowDivider(bool Value);
    bool ShowGlyphs() const { return FShowGlyphs; }
    // Loads the three standard glyphs, or clears them.
    virtual void SetShowGlyphs(bool Value);
    // Also sizes the bar for its side and lays the buttons out again.
    void SetAlign(TAlign Value);

    TNotifyEvent OnClickOk;
    TNotifyEvent OnClickCancel;
    TNotifyEvent OnClickHelp;

    virtual void AdjustPanelSize();
    virtual void PositionButtons();

protected:
    virtual void CreateButtons();
    void Paint() override;
    void Loaded() override;
    void Resize() override;
    void ChangeScale(int M, int D) override;

private:
    void ButtonClick(int Index);
    std::array<TGwBitBtn*, 3> FButtons{};
    std::array<int, 3> FWidths{75, 75, 75};
    int FButtonHeight = 25;
    int FDefaultWidth = 75;
    bool FShowDivider = false;
    bool FShowGlyphs = false;
};
