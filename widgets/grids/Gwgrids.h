// The string grid of the Gw widget library (widget layer, grids): the platform's string grid with
// the shared custom frame, colours that follow focus and the enabled state, a frame controller,
// and grid lines in colours of its own.
#pragma once

#include "Gwframing.h"
#include "grids.h"

class TGwStringGrid : public TStringGrid, public IGwFramingHost, public IGwFramedControl {
public:
    explicit TGwStringGrid(TComponent* AOwner);
    ~TGwStringGrid() override;

    TColor LineColor() const { return FLineColor; }
    virtual void SetLineColor(TColor Value);
    TColor FixedLineColor() const { return FFixedLineColor; }
    virtual void SetFixedLineColor(TColor Value);

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
    // Turning it on also shows the frame, on all four sides outside loading.
    virtual void SetFrameHotTrack(bool Value);
    TFrameStyle FrameHotStyle() const { return FFraming.FrameHotStyle(); }
    virtual void SetFrameHotStyle(TFrameStyle Value) { FFraming.SetFrameHotStyle(Value); }
    TSides FrameSides() const { return FFraming.FrameSides(); }
    virtual void SetFrameSides(TSides Value) { FFraming.SetFrameSides(Value); }
    TFrameStyle FrameStyle() const { return FFraming.FrameStyle(); }
    virtual void SetFrameStyle(TFrameStyle Value) { FFraming.SetFrameStyle(Value); }
    bool FrameVisible() const { return FFraming.FrameVisible(); }
    // Recreates the window: a visible frame needs the two-pixel client edge.
    virtual void SetFrameVisible(bool Value) { FFraming.SetFrameVisible(Value); }
    TFramingPreference FramingPreference() const { return FFraming.FramingPreference(); }
    virtual void SetFramingPreference(TFramingPreference Value) { FFraming.SetFramingPreference(Value); }
    TGwFrameControllerNotifications& Notifications() { return FFraming.Notifications; }
    // Whether a framing property goes to the form file (not while the controller governs it);
    // Color only while enabled, FocusColor only when it differs from Color.
    bool IsStored(TGwFrameControllerProperty Property);

    virtual bool UseThemes() const { return FFraming.UseThemes(); }
    virtual void UpdateColors() { FFraming.UpdateColors(); }
    virtual void UpdateFrame(bool ViaMouse, bool InFrame) { FFraming.UpdateFrame(ViaMouse, InFrame); }
    virtual void RepaintFrame();
    virtual TGridRect GetFocusSelection() { return Selection(); }
    bool IsActiveControl();
    // Client rectangle of a block of cells, clipped to what is in view; empty when the block is
    // inverted or wholly out of view.
    void GridRectToScreenRect(const TGridRect& GridRect, TRect& ScreenRect, bool IncludeLine);

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // IGwFramedControl
    TGwFrameControllerNotifications FrameControllerNotifications() const override {
        return FFraming.Notifications;
    }
    bool SetFramingProperty(TGwFrameControllerProperty Property, int Value) override;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateParams(TCreateParams& Params) override;
    TInplaceEdit* CreateEditor() override;
    TColor GridLineColor(bool Fixed) override;
    void CMColorChanged(TMessage& Message) override;
    void CMParentColorChanged(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    void CMEnter(TMessage& Message) override;
    void CMExit(TMessage& Message) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void WMSize(TWMSize& Message) override;
    void WMNCPaint(TWMNCPaint& Message) override;

    // IGwFramingHost
    void FramingRepaintFrame() override { RepaintFrame(); }
    void FramingRecreateWindow() override;
    TColor FramingColor() const override { return Color(); }
    void FramingSetColor(TColor Value) override { SetColor(Value); }
    void FramingSetParentColor(bool Value) override { SetParentColor(Value); }
    bool FramingEnabled() const override { return Enabled(); }
    bool FramingFocused() const override;
    bool FramingLoading() const override { return ComponentState().Contains(csLoading); }

private:
    bool EditorHasFocus() const;

    TColor FLineColor = clBtnFace;
    TColor FFixedLineColor = clBtnShadow;
    TGwFraming FFraming{this, this};
};
