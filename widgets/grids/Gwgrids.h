// The string grid of the Gw widget library (widget layer, grids): the platform's string grid with
// the shared custom frame, colours that follow focus and the enabled state, a frame controller,
// and grid lines in colours of its own.
#pragma once

#include "Gwframing.h"
#include "grids.h"

class TGwStringGrid : public TGwFramedBase<TStringGrid> {
public:
    explicit TGwStringGrid(TComponent* AOwner);
    ~TGwStringGrid() override;

    TColor LineColor() const { return FLineColor; }
    virtual void SetLineColor(TColor Value);
    TColor FixedLineColor() const { return FFixedLineColor; }
    virtual void SetFixedLineColor(TColor Value);

    // Turning it on also shows the frame, on all four sides outside loading.
    void SetFrameHotTrack(bool Value) override;
    TGwFrameControllerNotifications& Notifications() { return FFraming.Notifications; }

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
    bool FramingFocused() const override;

private:
    bool EditorHasFocus() const;

    TColor FLineColor = clBtnFace;
    TColor FFixedLineColor = clBtnShadow;
};
