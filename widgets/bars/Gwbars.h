// Bars of the Gw widget library (widget layer, bars): the toolbar that lays its controls out in
// rows or columns and keeps their order in the settings store, and the status bar.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Gwbutton.h"
#include "Gwpanel.h"
#include "Gwsettings.h"

class TGwToolbar;
class TGwPopupPanel;

// One entry of the toolbar's list: the control, and its name for a list read before the controls.
struct TGwToolbarControl {
    TControl* Control = nullptr;
    std::string Name;
};

class TGwToolbarControlList {
public:
    explicit TGwToolbarControlList(TGwToolbar* Toolbar) : FToolbar(Toolbar) {}
    int Count() const { return int(FItems.size()); }
    const TGwToolbarControl& Items(int Index) const { return FItems.at(size_t(Index)); }
    TControl* Controls(int Index) const { return Items(Index).Control; }
    // The existing index of Control, or the index of a new entry.
    int AddControl(TControl* Control);
    void AddControlName(const std::string& Name);
    void RemoveControl(TControl* Control);
    void RemoveControlName(const std::string& Name);
    int IndexOf(TControl* Control) const;
    // Names compare as written; -1 when absent.
    int IndexOfName(const std::string& Name) const;
    void Move(int CurIndex, int NewIndex);
    void Clear() { FItems.clear(); }
    // Resolves the named entries among Owner's components once the form is loaded.
    void ControlsAreLoaded(TComponent* Owner);
    TGwToolbar* Toolbar() const { return FToolbar; }

private:
    TGwToolbar* FToolbar;
    std::vector<TGwToolbarControl> FItems;
};

enum TGwToolbarTextOptions { ttoNoTextLabels, ttoShowTextLabels, ttoSelectiveTextOnRight, ttoCustom };

// The customising dialog's texts, numbered 1 to 9.
class TGwCustomizeCaptions : public TPersistent {
public:
    enum {
        Title = 1,
        Hint,
        Close,
        MoveUp,
        MoveDown,
        TextOptions,
        NoTextLabels,
        ShowTextLabels,
        SelectiveTextOnRight
    };
    TGwCustomizeCaptions();
    const std::string& Caption(int Index) const { return FCaptions.at(size_t(Index - 1)); }
    void SetCaption(int Index, const std::string& Value);
    // Whether the form file keeps the captions.
    bool Changed() const { return FChanged; }

private:
    std::vector<std::string> FCaptions;
    bool FChanged = false;
};

class TGwToolbar : public TGwCustomPanel, public IGwToolbarSettings {
public:
    static constexpr int OverflowButtonWidth = 14;

    explicit TGwToolbar(TComponent* AOwner);
    ~TGwToolbar() override;

    TGwToolbarControlList* ToolbarControls() { return &FControls; }
    // A page scroller takes the size of the toolbar's contents itself: no auto-resizing there.
    void SetParent(TWinControl* AParent) override;
    bool AutoResize() const { return FAutoResize; }
    virtual void SetAutoResize(bool Value);
    bool AutoStyle = true;
    int Margin() const { return FMargin; }
    virtual void SetMargin(int Value) { Relayout(FMargin, Value); }
    int TopMargin() const { return FTopMargin; }
    virtual void SetTopMargin(int Value) { Relayout(FTopMargin, Value); }
    TOrientation Orientation() const { return FOrientation; }
    virtual void SetOrientation(TOrientation Value);
    int RowHeight() const { return FRowHeight; }
    virtual void SetRowHeight(int Value) { Relayout(FRowHeight, Value); }
    bool WrapControls() const { return FWrapControls; }
    virtual void SetWrapControls(bool Value) { Relayout(FWrapControls, Value); }
    TButtonLayout ButtonLayout() const override { return FButtonLayout; }
    virtual void SetButtonLayout(TButtonLayout Value);
    int ButtonWidth() const override { return FButtonWidth; }
    virtual void SetButtonWidth(int Value);
    int ButtonHeight() const override { return FButtonHeight; }
    virtual void SetButtonHeight(int Value);
    bool ShowButtonCaptions() const override { return FShowButtonCaptions; }
    virtual void SetShowButtonCaptions(bool Value);
    bool ShowDivider() const { return FShowDivider; }
    virtual void SetShowDivider(bool Value);
    TGwToolbarTextOptions TextOptions() const { return FTextOptions; }
    virtual void SetTextOptions(TGwToolbarTextOptions Value);
    TCustomImageList* Images() const override { return FImages; }
    virtual void SetImages(TCustomImageList* Value);
    TBitmap* Background() { return &FBackground; }
    TGwCustomizeCaptions* CustomizeCaptions() { return &FCustomizeCaptions; }
    TGwRegIniFile* RegIniFile() const { return FRegIniFile; }
    virtual void SetRegIniFile(TGwRegIniFile* Value);
    TGwVisualStyle VisualStyle() const override { return TGwCustomPanel::VisualStyle(); }
    void SetVisualStyle(TGwVisualStyle Value) override;
    TGwGradientColorStyle GradientColorStyle() const override { return TGwCustomPanel::GradientColorStyle(); }
    void SetGradientColorStyle(TGwGradientColorStyle Value) override;
    void SetBorderInner(TFrameStyleEx Value) override;
    void SetBorderOuter(TFrameStyleEx Value) override;
    void SetBorderSides(TSides Value) override;
    TNotifyEvent OnVisibleChanged;

    // Restyles first with AutoStyle; with AutoResize takes the default thickness of 32.
    void SetAlign(TAlign Value);
    virtual void AdjustStyle(TAlign Value);
    virtual void PositionControls();
    virtual void UpdateButtonSize(int Width, int Height, bool ShowCaption);
    virtual int CalculateRowHeight(int) { return FRowHeight; }
    bool OverflowShown() const { return FOverflowShown; }
    TCustomControl* OverflowButton() const { return FOverflowButton; }
    // Controls of a one-row toolbar that lie past its far edge, in list order.
    std::vector<TControl*> OverflowControls();
    // Shows copies of the tool buttons that do not fit in a popup under the overflow button.
    void DisplayButtons();
    // The popup's toolbar while it shows, else null.
    TGwToolbar* OverflowToolbar() const { return FOverflowToolbar; }
    TPoint InvalidateMarginSize() override;
    // Order, visibility and text option kept in the settings store, section = the toolbar's name.
    void SaveLayout();
    void RestoreLayout();
    // Opens the customising dialog; its changes apply at once.
    void Customize(bool ShowTextOptions = true);
    void Loaded() override;

protected:
    virtual bool CheckAutoResize(bool Value);
    virtual void PositionControl(int Index, int Row, int& Pos);
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void DrawCaption(const TRect&) override {}
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void ChangeScale(int M, int D) override;
    void WndProc(TMessage& Message) override;

private:
    template <class T> void Relayout(T& Field, T Value) {
        if (Field == Value)
            return;
        Field = Value;
        PositionControls();
    }
    void NotifyChildren(UINT Msg);
    void PlaceOverflowButton();

    TGwToolbarControlList FControls{this};
    bool FAutoResize = true;
    int FMargin = 4;
    int FTopMargin = 2;
    TOrientation FOrientation = orHorizontal;
    int FRowHeight = 25;
    bool FWrapControls = true;
    TButtonLayout FButtonLayout = blGlyphLeft;
    int FButtonWidth = 25;
    int FButtonHeight = 25;
    bool FShowButtonCaptions = false;
    bool FShowDivider = true;
    TGwToolbarTextOptions FTextOptions = ttoNoTextLabels;
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<TChangeLink> FImageChangeLink;
    TBitmap FBackground;
    TGwCustomizeCaptions FCustomizeCaptions;
    TGwRegIniFile* FRegIniFile = nullptr;
    TCustomControl* FOverflowButton = nullptr;
    TGwToolbar* FOverflowToolbar = nullptr;
    bool FOverflowShown = false;
    bool FPositioning = false;
    bool FFromTextOptions = false;
    bool FStyling = false;
};

// The overflow popup's stand-in for one of the toolbar's tool buttons: it looks like the original,
// and a click on it closes the popup and is the original's click.
class TGwPopupToolButton : public TGwToolButton {
public:
    explicit TGwPopupToolButton(TComponent* AOwner) : TGwToolButton(AOwner) {}
    ~TGwPopupToolButton() override;
    // From a tool button: every published property, and the click relay.
    void Assign(TPersistent* Source) override;
    TGwToolButton* Original() const { return FOriginal; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void RelayClick(TObject* Sender);
    TGwToolButton* FOriginal = nullptr;
};

class TGwStatusBar : public TGwCustomPanel {
public:
    explicit TGwStatusBar(TComponent* AOwner);
    ~TGwStatusBar() override;

    bool AutoScalePanes = false;
    bool AutoStyle = true;
    bool ShowSizeGrip() const { return FShowSizeGrip; }
    virtual void SetShowSizeGrip(bool Value) { Change(FShowSizeGrip, Value); }
    const std::string& SimpleCaption() const { return FSimpleCaption; }
    virtual void SetSimpleCaption(const std::string& Value) { Change(FSimpleCaption, Value); }
    TFrameStyle SimpleFrameStyle() const { return FSimpleFrameStyle; }
    virtual void SetSimpleFrameStyle(TFrameStyle Value) { Change(FSimpleFrameStyle, Value); }
    bool SimpleStatus() const { return FSimpleStatus; }
    virtual void SetSimpleStatus(bool Value);
    virtual void AdjustStyle();
    // (Width - 13, 0, Width, Height); live only on a sizeable, not maximised form.
    TRect SizeGripRect() const { return TRect(Width() - 13, 0, Width(), Height()); }
    bool SizeGripActive();
    void GetGradientColors(TColor& StartColor, TColor& StopColor) override;
    void Loaded() override;

protected:
    TRect GetClientRect() override;
    virtual void DrawSimpleStatusBorder(TRect& R);
    void Paint() override;
    void Resize() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WndProc(TMessage& Message) override;

private:
    // The theme draws bar, pane, caption and grip while styles are in use for the XP look.
    bool Themed() const;
    void PaintThemed();
    void PaintClassic();
    void PaintSizeGrip(const TRect& R);

    bool FShowSizeGrip = true;
    std::string FSimpleCaption;
    TFrameStyle FSimpleFrameStyle = fsFlat;
    bool FSimpleStatus = false;
    int FRecordedWidth = 0;
    bool FResizedOnce = false;
};
