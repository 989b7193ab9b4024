// Buttons of the Gw widget library (buttons family): the owner-drawn base with caption styles and
// press tracking; the push button (flat or classic, default/cancel keys, sticky groups); bitmap, menu,
// control and shape buttons; tool buttons, toolbar speed buttons and their action links.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Gwcommon.h"
#include "actlist.h"
#include "buttons.h" // TButtonState, TButtonLayout
#include "controls.h"
#include "messages.h"

class TPopupMenu;

// Sent to the controls of a parent when a grouped button goes down: WParam the group index,
// LParam the button.
constexpr UINT CM_GWBUTTONPRESSED = 0x2421;

class TGwCustomButton : public TCustomControl {
public:
    explicit TGwCustomButton(TComponent* AOwner);

    TAlignmentVertical AlignmentVertical() const { return FAlignmentVertical; }
    virtual void SetAlignmentVertical(TAlignmentVertical Value) { Change(FAlignmentVertical, Value); }
    bool HotTrack() const { return FHotTrack; }
    virtual void SetHotTrack(bool Value) { Change(FHotTrack, Value); }
    TColor HighlightColor() const { return FHighlightColor; }
    virtual void SetHighlightColor(TColor Value) { Change(FHighlightColor, Value); }
    bool LightTextStyle() const { return FLightTextStyle; }
    virtual void SetLightTextStyle(bool Value) { Change(FLightTextStyle, Value); }
    TTextStyle TextStyle() const { return FTextStyle; }
    virtual void SetTextStyle(TTextStyle Value) { Change(FTextStyle, Value); }
    TColor TextHighlightColor() const { return FTextHighlightColor; }
    virtual void SetTextHighlightColor(TColor Value) { Change(FTextHighlightColor, Value); }
    TColor TextShadowColor() const { return FTextShadowColor; }
    virtual void SetTextShadowColor(TColor Value) { Change(FTextShadowColor, Value); }
    int TextShadowDepth() const { return FTextShadowDepth; }
    virtual void SetTextShadowDepth(int Value) { Change(FTextShadowDepth, Value); }
    bool ThemeAware() const { return FThemeAware; }
    virtual void SetThemeAware(bool Value) { Change(FThemeAware, Value); }
    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool Value) { Change(FTransparent, Value); }
    TColor HotTrackColor = 0x00149BF0;
    TGwHotTrackColorType HotTrackColorType = htctActual;

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    bool MouseOverButton() const { return FMouseOverButton; }
    bool PressedInside() const { return FPressedInside; }
    bool Dragging() const { return FDragging; }
    // Draws the caption in Rect with the text-drawing Flags, in TextStyle, placed by AlignmentVertical.
    virtual void Draw3DText(TCanvas* Canvas, TRect Rect, unsigned Flags);

protected:
    virtual void PaintBackground(HDC) {}
    virtual void UpdateDisplay() {}
    virtual void RepaintDisplay() { Repaint(); }
    virtual TRect GetHotTrackRect() { return ClientRect(); }
    virtual void ChangeState() = 0;
    void RemoveFocus(bool Removing);
    // Whether the styled look is drawn (the platform's visual styles are active and wanted).
    bool UsesThemes() const;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void WMSetFocus(TWMSetFocus& Message) override;
    void WMKillFocus(TWMKillFocus& Message) override;
    void WMEraseBkgnd(TWMEraseBkgnd& Message) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;

    bool FPressedInside = false;

private:
    template <class T> void Change(T& Field, T Value) {
        if (Field == Value)
            return;
        Field = Value;
        Invalidate();
    }
    bool Inside(int X, int Y);
    // Only the part that looks hot is drawn again when the mouse comes or goes.
    void InvalidateHotTrack();

    TAlignmentVertical FAlignmentVertical = avCenter;
    bool FHotTrack = false;
    TColor FHighlightColor = clHighlight;
    bool FLightTextStyle = false;
    TTextStyle FTextStyle = tsNormal;
    TColor FTextHighlightColor = clBtnHighlight;
    TColor FTextShadowColor = clBtnShadow;
    int FTextShadowDepth = 2;
    bool FThemeAware = true;
    bool FTransparent = false;
    bool FDragging = false;
    bool FMouseOverButton = false;
};

class TGwButton : public TGwCustomButton {
public:
    explicit TGwButton(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    virtual void SetAlignment(TAlignment Value);
    bool AllowAllUp() const { return FAllowAllUp; }
    virtual void SetAllowAllUp(bool Value);
    bool Cancel = false;
    bool Default() const { return FDefault; }
    virtual void SetDefault(bool Value);
    bool Down() const { return FDown; }
    virtual void SetDown(bool Value);
    bool DropDownOnEnter = true;
    TColor FrameColor() const { return FFrameColor; }
    virtual void SetFrameColor(TColor Value);
    int GroupIndex() const { return FGroupIndex; }
    virtual void SetGroupIndex(int Value);
    TModalResult ModalResult = mrNone;
    bool ShowDownPattern() const { return FShowDownPattern; }
    virtual void SetShowDownPattern(bool Value);
    bool ShowFocusRect() const { return FShowFocusRect; }
    virtual void SetShowFocusRect(bool Value);
    void SetHotTrack(bool Value) override;
    // A retired stored property of older forms: sets HotTrack.
    void ReadFrameFlat(bool Value) { SetHotTrack(Value); }

    bool Active() const { return FActive; }
    TButtonState State() const { return FState; }
    void Click() override;

protected:
    virtual TRect GetCaptionRect();
    virtual void DrawButtonContent();
    // An 8 x 8 checker in Color and silver (grey on a silver button).
    virtual void CreateBrushPattern(TBitmap* Bitmap);
    void CreateWnd() override;
    void Paint() override;
    void PaintBackground(HDC DC) override;
    void UpdateDisplay() override { Invalidate(); }
    void ChangeState() override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void WMKillFocus(TWMKillFocus& Message) override;
    void CMDialogKey(TWMKey& Message) override;
    void CMDialogChar(TWMKey& Message) override;
    void CMFocusChanged(TCMFocusChanged& Message) override;
    void Dispatch(TMessage& Message) override;
    bool LooksPressed() const { return FPressedInside || FDown; }
    bool SuppressDropDown() const { return FSuppressDropDown; }

private:
    void UpdateExclusive();
    void ButtonPressed(int Group, TGwButton* Sender);
    void PaintFlat(TRect& R);
    void PaintThemed(const TRect& R, bool LooksDefault);
    void PaintFace(const TRect& R);

    TAlignment FAlignment = taCenter;
    bool FAllowAllUp = false;
    bool FDefault = false;
    bool FDown = false;
    TColor FFrameColor = cl3DDkShadow;
    int FGroupIndex = 0;
    bool FShowDownPattern = true;
    bool FShowFocusRect = true;
    bool FActive = false;
    bool FClicking = false;
    bool FSpaceDown = false;
    TButtonState FState = bsUp;
    bool FSuppressDropDown = false;
};

// Whether Key is the accelerator (the character after '&') of Caption, letters in either case.
bool IsAccel(WORD Key, const std::string& Caption);

// ---------------------------------------------------------------- bitmap and menu buttons

enum TBitBtnKind {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};

// The standard glyph of Kind (two frames: normal, disabled), loaded once from its named image and
// shared; owned by the library. Null for bkCustom.
TBitmap* GetBitBtnGlyph(TBitBtnKind Kind);
// The standard caption of Kind; empty for bkCustom.
std::string BitBtnCaption(TBitBtnKind Kind);
TModalResult BitBtnModalResult(TBitBtnKind Kind);
// The width a drop-down menu needs: its widest top-level caption in the menu font, plus 56.
int GetMenuWidth(TControl* Control, TPopupMenu* PopupMenu);
// Registers the kinds' glyphs as named images ("GWCOMMON_OK" ...); the program calls it at start-up.
void RegisterGwBitBtnResources();

// A push button with a glyph (up to four frames: up, disabled, down, held down) or an image of a
// list beside its caption, and the standard kinds with their captions, results and glyphs.
class TGwBitBtn : public TGwButton {
public:
    explicit TGwBitBtn(TComponent* AOwner);
    ~TGwBitBtn() override;

    TBitmap* Glyph() const { return FGlyph.get(); }
    virtual void SetGlyph(TBitmap* Value);
    // A stored kind is reported only while Default, Cancel, ModalResult and the glyph still match it.
    virtual TBitBtnKind Kind();
    virtual void SetKind(TBitBtnKind Value);
    TButtonLayout Layout() const { return FLayout; }
    virtual void SetLayout(TButtonLayout Value);
    int Margin() const { return FMargin; }
    virtual void SetMargin(int Value);
    int NumGlyphs() const { return FNumGlyphs; }
    virtual void SetNumGlyphs(int Value);
    int Spacing() const { return FSpacing; }
    virtual void SetSpacing(int Value);
    int ImageIndex() const { return FImageIndex; }
    virtual void SetImageIndex(int Value);
    int DisabledIndex() const { return FDisabledIndex; }
    virtual void SetDisabledIndex(int Value);
    TCustomImageList* Images() const { return FImages; }
    virtual void SetImages(TCustomImageList* Value);
    // What a form stores: the caption only when it is not the kind's, the rest only for bkCustom.
    bool IsCaptionStored();
    bool IsCustom() { return Kind() == bkCustom; }

    virtual TPoint GetImageSize();
    virtual TRect GetGlyphRect();
    TRect GetCaptionRect() override;

protected:
    virtual void DrawImage(const TRect& R);
    virtual void DrawGlyph(const TRect& R);
    void DrawButtonContent() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    void ChangeScale(int M, int D) override;

private:
    void GlyphChanged();
    bool HasImage() const;
    int CaptionHeight();
    std::unique_ptr<TBitmap> FGlyph;
    TBitBtnKind FKind = bkCustom;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = 2;
    int FNumGlyphs = 1;
    int FSpacing = 4;
    bool FGlyphModified = false;
    int FImageIndex = -1;
    int FDisabledIndex = -1;
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<TChangeLink> FImageChangeLink;
};

// What the menu buttons share over their button class Base: a popup menu dropped below the button
// by a left press (the press that closed it drops it no more), OnDropDown and an arrow mark.
template <class Base> class TGwMenuDropDown : public Base {
public:
    explicit TGwMenuDropDown(TComponent* AOwner);

    TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(TPopupMenu* Value);
    bool ShowArrow() const { return FShowArrow; }
    virtual void SetShowArrow(bool Value);
    TNotifyEvent OnDropDown;

protected:
    virtual void DoDropDown();
    virtual void DropDown();
    // Whether a press at X drops the menu (the arrow's part of a button with a separate arrow).
    virtual bool DropsAt(int) { return true; }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // True once after a press that dropped or closed the menu: its click is no click.
    bool TakeSkipClick();
    // Set by F4, which drops the menu itself.
    void SkipNextClick() { FSkipClick = true; }

private:
    TPopupMenu* FDropDownMenu = nullptr;
    DWORD FLastDropTime = 0;
    bool FSkipClick = false;
    bool FShowArrow = true;
};

// A bitmap button that drops a popup menu below itself, on a press or F4, with an arrow mark.
class TGwMenuButton : public TGwMenuDropDown<TGwBitBtn> {
public:
    explicit TGwMenuButton(TComponent* AOwner);

    void Click() override;
    TRect GetCaptionRect() override;
    TRect GetGlyphRect() override;

protected:
    void Paint() override;
    void WndProc(TMessage& Message) override;

private:
    bool FTracking = false;
};

// Where a drop-down menu of Control opens: below its left edge, moved left when it would pass the
// right edge of the work area.
TPoint DropDownMenuPoint(TControl* Control, TPopupMenu* Menu);

// ---------------------------------------------------------------- control button

enum TGwControlButtonStyle { cbsNone, cbsLeft, cbsUp, cbsRight, cbsDown, cbsDropDown };

class TTimer;

// A small window-less button beside another control: a glyph face, a spin arrow or a drop-down
// arrow, optionally clicking again while it is held.
class TGwControlButton : public TGraphicControl {
public:
    explicit TGwControlButton(TComponent* AOwner);
    ~TGwControlButton() override;

    bool Flat() const { return FFlat; }
    virtual void SetFlat(bool Value);
    TBitmap* Glyph() const { return FGlyph.get(); }
    virtual void SetGlyph(TBitmap* Value);
    int NumGlyphs() const { return FNumGlyphs; }
    virtual void SetNumGlyphs(int Value);
    TGwControlButtonStyle Style() const { return FStyle; }
    virtual void SetStyle(TGwControlButtonStyle Value);
    bool RepeatClicks = false;
    std::uint16_t InitialDelay = 400;
    std::uint16_t Delay = 100;
    // Raised after the glyph changed (the owner of a pair follows custom glyphs through it).
    TNotifyEvent OnGlyphChange;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    bool Pressed() const { return FPressed; }
    bool MouseInControl() const { return FMouseInControl; }
    TTimer* RepeatTimer() const { return FRepeatTimer; }
    TPoint GetImageSize() const;
    void Click() override { TGraphicControl::Click(); }

protected:
    virtual void DrawBtnFace(TRect& R);
    virtual void DrawSpinButton(TRect& R);
    virtual void DrawDropDownButton(TRect& R);
    virtual void DrawGlyph(const TRect& R);
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;

private:
    bool Active() const;
    void DrawClassicFrame(TRect& R, TFrameStyleEx UpStyle);
    void GlyphChanged();
    void TimerExpired();
    void UpdateTracking();

    bool FPressed = false;
    bool FDragging = false;
    bool FFlat = false;
    bool FMouseInControl = false;
    std::unique_ptr<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    TTimer* FRepeatTimer = nullptr;
    TGwControlButtonStyle FStyle = cbsNone;
};

// ---------------------------------------------------------------- shape button

enum TGwCaptionPosition { cpCentered, cpXY };
using TGwBevelWidth = int; // 0 to 2

// A window-less button shaped like the opaque part of a bitmap (pixels of its transparent colour
// are outside), with bevels that follow the outline; hits, hints and the cursor can be limited to
// the shape.
class TGwShapeButton : public TGraphicControl {
public:
    explicit TGwShapeButton(TComponent* AOwner);
    ~TGwShapeButton() override;

    bool AutoSize() const { return FAutoSize; }
    virtual void SetAutoSize(bool Value);
    TGwBevelWidth BevelWidth() const { return FBevelWidth; }
    virtual void SetBevelWidth(TGwBevelWidth Value);
    TColor BevelHighlightColor() const { return FBevelHighlightColor; }
    virtual void SetBevelHighlightColor(TColor Value);
    TColor BevelShadowColor() const { return FBevelShadowColor; }
    virtual void SetBevelShadowColor(TColor Value);
    TBitmap* Bitmap() const { return FBitmap.get(); }
    virtual void SetBitmap(TBitmap* Value);
    // The raised and pressed images built from Bitmap.
    TBitmap* BitmapUp() const { return FBitmapUp.get(); }
    virtual void SetBitmapUp(TBitmap* Value);
    TBitmap* BitmapDown() const { return FBitmapDown.get(); }
    virtual void SetBitmapDown(TBitmap* Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    virtual void SetBorderStyle(TBorderStyle Value);
    TColor BorderColor() const { return FBorderColor; }
    virtual void SetBorderColor(TColor Value);
    TGwCaptionPosition CaptionPosition() const { return FCaptionPosition; }
    virtual void SetCaptionPosition(TGwCaptionPosition Value);
    int CaptionX() const { return FCaptionX; }
    void SetCaptionX(int Value) { SetCaptionXY(Value, FCaptionY); }
    int CaptionY() const { return FCaptionY; }
    void SetCaptionY(int Value) { SetCaptionXY(FCaptionX, Value); }
    bool PreciseClick = true;
    bool PreciseShowHint = true;

    TButtonState State() const { return FState; }
    // Whether (X, Y) lies in the shape; everywhere while there is no shape.
    virtual bool PtInMask(int X, int Y) const;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Click() override { TGraphicControl::Click(); }

protected:
    virtual void DrawButtonText(TCanvas* Canvas, const std::string& Caption, TRect Rect, TButtonState State);
    virtual TRect GetCaptionRect(TCanvas* Canvas, const std::string& Caption);
    virtual void SetCaptionXY(int X, int Y);
    void Paint() override;
    void Loaded() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMHitTest(TCMHitTest& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void CMSysColorChange(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

private:
    void BitmapChanged();
    void BuildMask();
    void Create3DBitmap(TBitmap* Target, TButtonState Look);
    TColor BevelColor(TButtonState Look, bool UpperLeft) const;
    bool HitInside(int X, int Y);

    bool FAutoSize = true;
    TGwBevelWidth FBevelWidth = 2;
    TColor FBevelHighlightColor = clBtnHighlight;
    TColor FBevelShadowColor = clBtnShadow;
    std::unique_ptr<TBitmap> FBitmap, FBitmapUp, FBitmapDown;
    TBorderStyle FBorderStyle = bsSingle;
    TColor FBorderColor = cl3DDkShadow;
    bool FDragging = false;
    // One flag per bitmap pixel, row by row: true inside the shape. Empty: no shape.
    std::vector<bool> FMask;
    int FMaskWidth = 0, FMaskHeight = 0;
    bool FCursorSaved = false, FHintSaved = false;
    TCursor FSavedCursor = crDefault;
    bool FSavedShowHint = false, FSavedParentShowHint = false;
    TGwCaptionPosition FCaptionPosition = cpCentered;
    int FCaptionX = 0, FCaptionY = 0;
    TButtonState FState = bsUp;
};

// ---------------------------------------------------------------- tool button

// Sent by a toolbar to its buttons when one of its settings changed.
constexpr UINT CM_TOOLBARSHOWCAPTIONCHANGED = CM_BASE + 1002;
constexpr UINT CM_TOOLBARBUTTONLAYOUTCHANGED = CM_BASE + 1003;
constexpr UINT CM_TOOLBARBUTTONSIZECHANGED = CM_BASE + 1004;
constexpr UINT CM_TOOLBARVISUALSTYLECHANGED = CM_BASE + 1005;

// What a tool button reads of the toolbar it sits on; the toolbar implements it.
class IGwToolbarSettings {
public:
    virtual ~IGwToolbarSettings() = default;
    virtual int ButtonWidth() const = 0;
    virtual int ButtonHeight() const = 0;
    virtual TButtonLayout ButtonLayout() const = 0;
    virtual bool ShowButtonCaptions() const = 0;
    virtual TGwVisualStyle VisualStyle() const = 0;
    virtual TGwGradientColorStyle GradientColorStyle() const = 0;
    virtual TCustomImageList* Images() const = 0;
};

enum TGwToolStyle { tsButton, tsDropDown };

// A toolbar button: an image of a list in its states, an optional caption, the drop-down and
// split styles with a 14-pixel arrow strip, radio groups, and the toolbar's settings followed.
class TGwToolButton : public TGraphicControl {
public:
    // The menu part of a drop-down button is pressed (a State beyond TButtonState).
    static constexpr int DropDownPressed = 4;
    static constexpr int ArrowWidth = 14;

    explicit TGwToolButton(TComponent* AOwner);
    ~TGwToolButton() override;

    bool AllowAllUp() const { return FAllowAllUp; }
    virtual void SetAllowAllUp(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    virtual void SetAlignment(TAlignment Value);
    bool Down() const { return FDown; }
    virtual void SetDown(bool Value);
    TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
    virtual void SetDropDownMenu(TPopupMenu* Value);
    bool Flat() const { return FFlat; }
    virtual void SetFlat(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    virtual void SetGroupIndex(int Value);
    int ImageIndex() const { return FImageIndex; }
    virtual void SetImageIndex(int Value);
    int DownIndex() const { return FDownIndex; }
    virtual void SetDownIndex(int Value);
    int DisabledIndex() const { return FDisabledIndex; }
    virtual void SetDisabledIndex(int Value);
    int HotIndex() const { return FHotIndex; }
    virtual void SetHotIndex(int Value);
    TCustomImageList* Images() const { return FImages; }
    virtual void SetImages(TCustomImageList* Value);
    TButtonLayout Layout() const { return FLayout; }
    virtual void SetLayout(TButtonLayout Value);
    bool ShowCaption() const { return FShowCaption; }
    virtual void SetShowCaption(bool Value);
    TGwToolStyle ToolStyle() const { return FToolStyle; }
    virtual void SetToolStyle(TGwToolStyle Value);
    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool Value);
    TGwVisualStyle VisualStyle() const { return FVisualStyle; }
    virtual void SetVisualStyle(TGwVisualStyle Value);
    TGwGradientColorStyle GradientColorStyle() const { return FGradientColorStyle; }
    virtual void SetGradientColorStyle(TGwGradientColorStyle Value);
    TColor SelectionColorStart() const { return FSelectionColorStart; }
    virtual void SetSelectionColorStart(TColor Value);
    TColor SelectionColorStop() const { return FSelectionColorStop; }
    virtual void SetSelectionColorStop(TColor Value);
    TColor SelectionFrameColor() const { return FSelectionFrameColor; }
    virtual void SetSelectionFrameColor(TColor Value);
    bool UseToolbarButtonLayout() const { return FUseToolbarButtonLayout; }
    virtual void SetUseToolbarButtonLayout(bool Value);
    bool UseToolbarButtonSize() const { return FUseToolbarButtonSize; }
    virtual void SetUseToolbarButtonSize(bool Value);
    bool UseToolbarShowCaption() const { return FUseToolbarShowCaption; }
    virtual void SetUseToolbarShowCaption(bool Value);
    bool UseToolbarVisualStyle() const { return FUseToolbarVisualStyle; }
    virtual void SetUseToolbarVisualStyle(bool Value);
    // Retired stored properties of older forms.
    void ReadUseGradients(bool Value);

    TNotifyEvent OnDropDown;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    int State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }
    // A drop-down button with a click handler or an action: only the arrow strip drops the menu.
    bool IsSplitButton() const;
    // Images, else the toolbar's, else none.
    TCustomImageList* ImageList() const;
    virtual TPoint GetImageSize();
    virtual void GetImageAndCaptionRects(TRect& ImageRect, TRect& CaptionRect);
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // Takes the new toolbar's settings.
    void SetParent(TWinControl* AParent) override;
    void Click() override;
    // Copies Down and ImageIndex into an action.
    void AssignTo(TPersistent* Dest) override;

protected:
    virtual void PickupToolbarStyles();
    virtual void DrawBtnBorder(TRect& R);
    virtual void DrawImage(const TRect& R);
    virtual void DrawArrow();
    virtual void DrawCaption(const TRect& R);
    virtual void DoDropDown();
    virtual void DropDown();
    void Paint() override;
    void Loaded() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    TControlActionLink* CreateActionLink() override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void CMTextChanged(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

private:
    IGwToolbarSettings* Toolbar() const;
    bool HotTracking() const { return FVisualStyle != vsClassic || FFlat; }
    bool Themed() const;
    bool PressedLook() const { return FState == bsDown || FState == bsExclusive; }
    bool Active() const;
    void UpdateExclusive();
    void UpdateTracking();
    void CheckMinSize();
    void ToolbarMessage(UINT Msg);
    void ButtonPressed(int Group, TGwToolButton* Sender);
    TGwSelectionColors SelectionColors() const;

    bool FAllowAllUp = false;
    bool FDown = false;
    bool FDragging = false;
    bool FFlat = true;
    int FGroupIndex = 0;
    int FImageIndex = -1, FDownIndex = -1, FDisabledIndex = -1, FHotIndex = -1;
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<TChangeLink> FImageChangeLink;
    TButtonLayout FLayout = blGlyphLeft;
    bool FMouseInControl = false;
    TPopupMenu* FDropDownMenu = nullptr;
    DWORD FLastDropTime = 0;
    bool FClickArmed = true;
    TGwToolStyle FToolStyle = tsButton;
    bool FShowCaption = false;
    bool FTransparent = true;
    bool FDroppingDown = false;
    TAlignment FAlignment = taCenter;
    TGwVisualStyle FVisualStyle = vsWinXP;
    TGwGradientColorStyle FGradientColorStyle = gcsSystem;
    TColor FSelectionColorStart = clBtnFace;
    TColor FSelectionColorStop = clBtnShadow;
    TColor FSelectionFrameColor = cl3DDkShadow;
    bool FUseToolbarButtonLayout = true;
    bool FUseToolbarButtonSize = true;
    bool FUseToolbarShowCaption = true;
    bool FUseToolbarVisualStyle = true;
    // Set while the button sizes itself (the toolbar's size, the drop-down strip): keeps the flag.
    bool FSizingItself = false;
    int FState = bsUp;
};

// ---------------------------------------------------------------- toolbar speed buttons

// A flat speed button with a hot glyph shown while the pointer is over it, a caption that can be
// hidden without being lost, and an action link that can leave the caption alone.
class TGwToolbarButton : public TSpeedButton {
public:
    explicit TGwToolbarButton(TComponent* AOwner);
    ~TGwToolbarButton() override;

    TBitmap* HotGlyph() const { return FHotGlyph.get(); }
    // Assigns the bitmap and turns UseHotGlyph on.
    virtual void SetHotGlyph(TBitmap* Value);
    int HotNumGlyphs() const { return FHotNumGlyphs; }
    virtual void SetHotNumGlyphs(int Value);
    bool UseHotGlyph = false;
    bool IgnoreActionCaption = false;
    bool ShowCaption() const { return FShowCaption; }
    virtual void SetShowCaption(bool Value);
    // While the caption is hidden the text stays empty and the caption waits in SaveCaption.
    virtual void SetCaption(const std::string& Value);
    std::string SaveCaption() const { return FSaveCaption; }
    // The form stream's "SaveCaption": written only while the caption is hidden.
    bool StoresSaveCaption() const { return !FShowCaption; }
    void ReadSaveCaption(const std::string& Value) { FSaveCaption = Value; }
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    bool HotGlyphShown() const { return FHotGlyphShown; }
    bool MouseInside() const { return FMouseInside; }

protected:
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    TControlActionLink* CreateActionLink() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    bool FMouseInside = false;

private:
    void HotGlyphChanged();
    bool FHotGlyphShown = false;
    std::unique_ptr<TBitmap> FHotGlyph;
    int FHotNumGlyphs = 1;
    std::unique_ptr<TBitmap> FSavedGlyph;
    std::uint8_t FSavedNumGlyphs = 0;
    std::string FSaveCaption;
    bool FShowCaption = true;
};

// A toolbar button with a drop-down menu: a separator and an arrow mark at its right edge, where a
// press opens the menu.
class TGwMenuToolbarButton : public TGwMenuDropDown<TGwToolbarButton> {
public:
    explicit TGwMenuToolbarButton(TComponent* AOwner);
    void Click() override;

protected:
    void DoDropDown() override;
    bool DropsAt(int X) override { return !ShowArrow() || X >= Width() - 15; }
    void Paint() override;
};

extern template class TGwMenuDropDown<TGwBitBtn>;
extern template class TGwMenuDropDown<TGwToolbarButton>;

// ---------------------------------------------------------------- action links

// The links of the toolbar buttons. An action pushes each of its properties to the link on every
// change; "linked" means the button still shows what the action showed before this change.
class TGwToolbarButtonActionLink : public TControlActionLink {
public:
    explicit TGwToolbarButtonActionLink(TGwToolbarButton* AClient);
    // Only a grouped button that may be released, still showing the action's state.
    bool IsCheckedLinked() const;
    bool IsCaptionLinked() const;
    void SetChecked(bool Value) override;
    void SetCaption(const std::string& Value) override;

private:
    TGwToolbarButton* FClient;
    bool FChecked = false;
};

class TGwToolButtonActionLink : public TControlActionLink {
public:
    explicit TGwToolButtonActionLink(TGwToolButton* AClient);
    bool IsCheckedLinked() const;
    bool IsImageIndexLinked() const;
    void SetChecked(bool Value) override;
    void SetImageIndex(int Value) override;

private:
    TGwToolButton* FClient;
    bool FChecked = false;
    int FImageIndex = -1;
};
