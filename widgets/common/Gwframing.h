// The custom framing and state colours that every framed control of the Gw widget library shares
// (edits, memos, list boxes, grids, list views, the date-time picker): the sixteen framing
// settings, the colour that follows focus, the enabled and read-only states, the hot frame, the
// frame controller link and the non-client frame painting. A control holds one TGwFraming,
// answers its host hooks and forwards IGwFramedControl to it, so the frame controller pushes
// settings through the same setters the control's own properties use.
#pragma once

#include "Gwcommon.h"
#include "Gwsettings.h"

// The border of a control that draws its own frame (panel, frame control), as a frame controller
// sets it: the frame's style, sides and flat colour, and the bevel colours that follow the colour.
struct TGwBorderLook {
    TFrameStyleEx& Outer;
    TSides& Sides;
    TColor& FlatColor;
    int& FlatColorAdjustment;
    TColor& Highlight;
    TColor& Shadow;
};

// Pulls what Notifications lets through of Controller's frame style, sides, frame colour, colour and
// parent colour into Control and its border; the bevel colours follow the colour Control then shows.
// False, with nothing changed, without a controller or while it draws no frames.
bool PullBorderFraming(TControl* Control, TGwFrameController* Controller,
                       const TGwFrameControllerNotifications& Notifications, const TGwBorderLook& Look);

// What a framed control does for its framing: repaint the non-client frame, recolour itself,
// recreate its window, and set the colours the framing chooses.
class IGwFramingHost {
public:
    virtual ~IGwFramingHost() = default;
    virtual void FramingRepaintFrame() = 0;
    virtual void FramingRecreateWindow() = 0;
    // The control's current colour; setting it is marked as the framing's own change.
    virtual TColor FramingColor() const = 0;
    virtual void FramingSetColor(TColor Value) = 0;
    virtual void FramingSetParentColor(bool Value) = 0;
    // The control's state that picks the colour.
    virtual bool FramingEnabled() const = 0;
    virtual bool FramingFocused() const = 0;
    virtual bool FramingReadOnly() const { return false; }
    virtual bool FramingLoading() const = 0;
    // Drop buttons (edits only) repaint on these.
    virtual void FramingButtonsChanged() {}
};

class TGwFraming {
public:
    TGwFraming(TComponent* Control, IGwFramingHost* Host) : FFrameController(Control), FHost(Host) {}
    TGwFraming(const TGwFraming&) = delete;
    TGwFraming& operator=(const TGwFraming&) = delete;

    TColor DisabledColor() const { return FDisabledColor; }
    void SetDisabledColor(TColor Value);
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor Value);
    TColor ReadOnlyColor() const { return FReadOnlyColor; }
    void SetReadOnlyColor(TColor Value);
    bool ReadOnlyColorOnFocus() const { return FReadOnlyColorOnFocus; }
    void SetReadOnlyColorOnFocus(bool Value);
    TColor FrameColor() const { return FFrameColor; }
    void SetFrameColor(TColor Value) { Repaint(FFrameColor, Value); }
    TColor FrameHotColor() const { return FFrameHotColor; }
    void SetFrameHotColor(TColor Value) { Repaint(FFrameHotColor, Value); }
    bool FrameHotTrack() const { return FFrameHotTrack; }
    void SetFrameHotTrack(bool Value);
    TFrameStyle FrameHotStyle() const { return FFrameHotStyle; }
    void SetFrameHotStyle(TFrameStyle Value) { Repaint(FFrameHotStyle, Value); }
    TSides FrameSides() const { return FFrameSides; }
    void SetFrameSides(TSides Value) { Repaint(FFrameSides, Value); }
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle Value) { Repaint(FFrameStyle, Value); }
    bool FrameVisible() const { return FFrameVisible; }
    void SetFrameVisible(bool Value);
    TFramingPreference FramingPreference() const { return FFramingPreference; }
    void SetFramingPreference(TFramingPreference Value);
    TColor FlatButtonColor() const { return FFlatButtonColor; }
    void SetFlatButtonColor(TColor Value);
    bool FlatButtons() const { return FFlatButtons; }
    void SetFlatButtons(bool Value);
    TGwFrameController* FrameController() const { return FFrameController.Controller(); }
    void SetFrameController(TGwFrameController* Value) { FFrameController.SetController(Value); }
    TGwFrameControllerNotifications Notifications = AllFrameNotifications();
    // Retired stored properties of older forms.
    void ReadFrameFlat(bool Value);
    void ReadFrameFocusStyle(TFrameStyle Value) { FFrameHotStyle = Value; }

    // The colour the control shows now: disabled, focused (read-only on focus), read-only or normal.
    TColor StateColor() const;
    // Sets the control's colour to StateColor (not while loading).
    void UpdateColors();
    // A colour change not made by UpdateColors: the normal colour follows, and the focus colour
    // with it when it was the normal colour. Repaints the frame when it is drawn.
    void ColorChanged();
    TColor NormalColor() const { return FNormalColor; }
    // Hot state: focus (ViaMouse false) or the mouse over the control.
    void UpdateFrame(bool ViaMouse, bool In);
    bool Hot() const { return FHasFocus || FMouseOver; }
    // Between the control's enter and exit.
    bool HasFocus() const { return FHasFocus; }
    bool MouseOver() const { return FMouseOver; }
    bool UseThemes() const { return FFramingPreference == fpXPThemes && GwThemesEnabled(); }
    // Whether the custom frame is drawn at all.
    bool DrawsFrame() const { return FFrameVisible && !UseThemes(); }
    // Paints the non-client frame of a Width x Height window in the hot or normal look; false
    // when the custom frame is not drawn.
    bool PaintFrame(TCanvas* WindowCanvas, int Width, int Height, TGwFrameRing Ring) const;
    // Whether a property is written to the form: not while the controller governs it.
    bool Stored(TGwFrameControllerProperty Property) const;
    // The controller is going away.
    void ControllerRemoved(TComponent* AComponent) { FFrameController.Removed(AComponent); }

    // IGwFramedControl of the control, forwarded here.
    bool SetFramingProperty(TGwFrameControllerProperty Property, int Value);

private:
    template <class T> void Repaint(T& Field, T Value) {
        if (Field == Value)
            return;
        Field = Value;
        FHost->FramingRepaintFrame();
    }

    TGwFrameControllerLink FFrameController;
    IGwFramingHost* FHost;
    TColor FNormalColor = clWindow;
    TColor FDisabledColor = clBtnFace;
    TColor FFocusColor = clWindow;
    TColor FReadOnlyColor = clInfoBk;
    bool FReadOnlyColorOnFocus = false;
    TColor FFrameColor = clBtnShadow;
    TColor FFrameHotColor = clBtnShadow;
    bool FFrameHotTrack = false;
    TFrameStyle FFrameHotStyle = fsFlatBold;
    TSides FFrameSides = AllSides;
    TFrameStyle FFrameStyle = fsFlat;
    bool FFrameVisible = false;
    TFramingPreference FFramingPreference = fpXPThemes;
    TColor FFlatButtonColor = clBtnFace;
    bool FFlatButtons = false;
    bool FUpdatingColor = false;
    bool FHasFocus = false;
    bool FMouseOver = false;
};

// A framed control over a platform control Base: it holds the one TGwFraming, gives its settings
// as the control's own properties and answers the host hooks every framed control answers alike.
// A control overrides the setters it does more in, and answers the focus, the frame repaint and
// the window re-creation itself.
template <class Base> class TGwFramedBase : public Base, public IGwFramingHost, public IGwFramedControl {
public:
    explicit TGwFramedBase(TComponent* AOwner) : Base(AOwner) {}

    TColor DisabledColor() const { return FFraming.DisabledColor(); }
    virtual void SetDisabledColor(TColor Value) { FFraming.SetDisabledColor(Value); }
    TColor FocusColor() const { return FFraming.FocusColor(); }
    virtual void SetFocusColor(TColor Value) { FFraming.SetFocusColor(Value); }
    TColor FrameColor() const { return FFraming.FrameColor(); }
    virtual void SetFrameColor(TColor Value) { FFraming.SetFrameColor(Value); }
    TColor FrameHotColor() const { return FFraming.FrameHotColor(); }
    virtual void SetFrameHotColor(TColor Value) { FFraming.SetFrameHotColor(Value); }
    bool FrameHotTrack() const { return FFraming.FrameHotTrack(); }
    virtual void SetFrameHotTrack(bool Value) { FFraming.SetFrameHotTrack(Value); }
    TFrameStyle FrameHotStyle() const { return FFraming.FrameHotStyle(); }
    virtual void SetFrameHotStyle(TFrameStyle Value) { FFraming.SetFrameHotStyle(Value); }
    TSides FrameSides() const { return FFraming.FrameSides(); }
    virtual void SetFrameSides(TSides Value) { FFraming.SetFrameSides(Value); }
    TFrameStyle FrameStyle() const { return FFraming.FrameStyle(); }
    virtual void SetFrameStyle(TFrameStyle Value) { FFraming.SetFrameStyle(Value); }
    bool FrameVisible() const { return FFraming.FrameVisible(); }
    virtual void SetFrameVisible(bool Value) { FFraming.SetFrameVisible(Value); }
    TFramingPreference FramingPreference() const { return FFraming.FramingPreference(); }
    virtual void SetFramingPreference(TFramingPreference Value) { FFraming.SetFramingPreference(Value); }
    TGwFrameController* FrameController() const { return FFraming.FrameController(); }
    virtual void SetFrameController(TGwFrameController* Value) { FFraming.SetFrameController(Value); }
    TGwFrameControllerNotifications FrameControllerNotifications() const override {
        return FFraming.Notifications;
    }
    void SetFrameControllerNotifications(TGwFrameControllerNotifications Value) {
        FFraming.Notifications = Value;
    }
    bool SetFramingProperty(TGwFrameControllerProperty Property, int Value) override {
        return FFraming.SetFramingProperty(Property, Value);
    }
    // Whether a property goes into the form: Color only while enabled, FocusColor only when it is
    // not Color, and nothing the frame controller governs.
    bool IsStored(TGwFrameControllerProperty Property) const {
        if (!FFraming.Stored(Property))
            return false;
        if (Property == fcpColor)
            return this->Enabled();
        if (Property == fcpFocusColor)
            return ColorToRGB(FFraming.FocusColor()) != ColorToRGB(this->Color());
        return true;
    }
    // Retired stored properties of older forms.
    void ReadFrameFlat(bool Value) { FFraming.ReadFrameFlat(Value); }
    void ReadFrameFocusStyle(TFrameStyle Value) { FFraming.ReadFrameFocusStyle(Value); }
    virtual bool UseThemes() const { return FFraming.UseThemes(); }

protected:
    // IGwFramingHost
    TColor FramingColor() const override { return this->Color(); }
    void FramingSetColor(TColor Value) override { this->SetColor(Value); }
    void FramingSetParentColor(bool Value) override { this->SetParentColor(Value); }
    bool FramingEnabled() const override { return this->Enabled(); }
    bool FramingLoading() const override { return this->ComponentState().Contains(csLoading); }

    TGwFraming FFraming{this, this};
};
