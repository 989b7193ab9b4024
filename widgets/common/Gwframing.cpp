// The shared custom framing and state colours of framed controls.
#include "Gwframing.h"

void TGwFraming::SetDisabledColor(TColor Value) {
    FDisabledColor = Value;
    if (!FHost->FramingEnabled())
        UpdateColors();
}

void TGwFraming::SetFocusColor(TColor Value) {
    FFocusColor = Value;
    if (FHost->FramingFocused())
        UpdateColors();
}

void TGwFraming::SetReadOnlyColor(TColor Value) {
    FReadOnlyColor = Value;
    if (FHost->FramingReadOnly())
        UpdateColors();
}

void TGwFraming::SetReadOnlyColorOnFocus(bool Value) {
    if (Value == FReadOnlyColorOnFocus)
        return;
    FReadOnlyColorOnFocus = Value;
    UpdateColors();
}

void TGwFraming::SetFrameHotTrack(bool Value) {
    if (Value == FFrameHotTrack)
        return;
    FFrameHotTrack = Value;
    if (Value) {
        SetFrameVisible(true);
        if (!FHost->FramingLoading())
            FFrameSides = AllSides;
    }
    FHost->FramingRepaintFrame();
}

void TGwFraming::SetFrameVisible(bool Value) {
    if (Value == FFrameVisible)
        return;
    FFrameVisible = Value;
    FHost->FramingRecreateWindow();
}

void TGwFraming::SetFramingPreference(TFramingPreference Value) {
    if (Value == FFramingPreference)
        return;
    FFramingPreference = Value;
    if (Value == fpCustomFraming)
        FHost->FramingRepaintFrame();
}

void TGwFraming::SetFlatButtonColor(TColor Value) {
    if (Value == FFlatButtonColor)
        return;
    FFlatButtonColor = Value;
    FHost->FramingButtonsChanged();
}

void TGwFraming::SetFlatButtons(bool Value) {
    if (Value == FFlatButtons)
        return;
    FFlatButtons = Value;
    FHost->FramingButtonsChanged();
}

void TGwFraming::ReadFrameFlat(bool Value) {
    FFrameHotTrack = Value;
    if (Value) {
        FFrameStyle = fsStatus;
        FFrameHotStyle = fsLowered;
    }
}

TColor TGwFraming::StateColor() const {
    if (!FHost->FramingEnabled())
        return FDisabledColor;
    const bool readOnly = FHost->FramingReadOnly();
    if (FHost->FramingFocused())
        return readOnly && FReadOnlyColorOnFocus ? FReadOnlyColor : FFocusColor;
    return readOnly ? FReadOnlyColor : FNormalColor;
}

void TGwFraming::UpdateColors() {
    if (FHost->FramingLoading())
        return;
    FUpdatingColor = true;
    try {
        FHost->FramingSetColor(StateColor());
    } catch (...) {
        FUpdatingColor = false;
        throw;
    }
    FUpdatingColor = false;
}

void TGwFraming::ColorChanged() {
    if (!FUpdatingColor) {
        const TColor now = FHost->FramingColor();
        if (FFocusColor == FNormalColor)
            FFocusColor = now;
        FNormalColor = now;
    }
    if (DrawsFrame())
        FHost->FramingRepaintFrame();
}

void TGwFraming::UpdateFrame(bool ViaMouse, bool In) {
    if (ViaMouse)
        FMouseOver = In;
    else
        FHasFocus = In;
    if (FFrameHotTrack)
        FHost->FramingRepaintFrame();
    UpdateColors();
}

bool TGwFraming::PaintFrame(TCanvas* WindowCanvas, int Width, int Height, TGwFrameRing Ring) const {
    if (!DrawsFrame())
        return false;
    const bool hot = FFrameHotTrack && Hot();
    DrawFrame(WindowCanvas, Width, Height, hot ? FFrameHotStyle : FFrameStyle, FHost->FramingColor(),
              hot ? FFrameHotColor : FFrameColor, FFrameSides, Ring);
    return true;
}

bool TGwFraming::Stored(TGwFrameControllerProperty Property) const {
    return !FFrameController.Controller() || !Notifications.Contains(Property);
}

bool TGwFraming::SetFramingProperty(TGwFrameControllerProperty Property, int Value) {
    const TFrameStyle style = TFrameStyle(Value & 0xFF) <= fsFlatBold ? TFrameStyle(Value & 0xFF) : fsFlat;
    switch (Property) {
    case fcpColor:
        FHost->FramingSetColor(Value);
        ColorChanged();
        UpdateColors();
        return true;
    case fcpFocusColor: SetFocusColor(Value); return true;
    case fcpDisabledColor: SetDisabledColor(Value); return true;
    case fcpReadOnlyColor: SetReadOnlyColor(Value); return true;
    case fcpReadOnlyColorOnFocus: SetReadOnlyColorOnFocus(Value & 0xFF); return true;
    case fcpParentColor: FHost->FramingSetParentColor(Value & 0xFF); return true;
    case fcpFlatButtonColor: SetFlatButtonColor(Value); return true;
    case fcpFlatButtons: SetFlatButtons(Value & 0xFF); return true;
    case fcpFrameColor: SetFrameColor(Value); return true;
    case fcpFrameHotColor: SetFrameHotColor(Value); return true;
    case fcpFrameHotTrack: SetFrameHotTrack(Value & 0xFF); return true;
    case fcpFrameHotStyle: SetFrameHotStyle(style); return true;
    case fcpFrameSides: SetFrameSides(TSides::FromInt(unsigned(Value) & 0xF)); return true;
    case fcpFrameStyle: SetFrameStyle(style); return true;
    case fcpFrameVisible: SetFrameVisible(Value & 0xFF); return true;
    case fcpFramingPreference: SetFramingPreference(TFramingPreference((Value & 0xFF) != 0)); return true;
    case fcpAll: break;
    }
    return false;
}

bool PullBorderFraming(TControl* Control, TGwFrameController* Controller,
                       const TGwFrameControllerNotifications& Notifications, const TGwBorderLook& Look) {
    if (!Controller || !Controller->FrameVisible())
        return false;
    const TGwFrameControllerNotifications& n = Notifications;
    if (n.Contains(fcpFrameStyle))
        Look.Outer = Controller->FrameStyle();
    if (n.Contains(fcpFrameSides))
        Look.Sides = Controller->FrameSides();
    if (n.Contains(fcpFrameColor)) {
        Look.FlatColor = Controller->FrameColor();
        Look.FlatColorAdjustment = 0;
    }
    if (n.Contains(fcpColor))
        Control->SetColor(Controller->Color());
    if (n.Contains(fcpParentColor))
        Control->SetParentColor(Controller->ParentColor());
    if (n.Contains(fcpColor)) {
        Look.Highlight = LighterColor(Control->Color(), 100);
        Look.Shadow = DarkerColor(Control->Color(), 50);
    }
    return true;
}
