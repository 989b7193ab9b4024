// The label of the Gw widget library (widget layer, labels): raised, recessed and shadowed text,
// text turned by any angle or set along an arc, inner and outer borders, condensing with an
// ellipsis, blinking with the shared blink timer and a fly-by colour under the mouse.
#pragma once

#include <cstdint>
#include <functional>

#include "Gwblink.h"
#include "Gwcommon.h"
#include "stdctrls.h"

enum TRotation { roNone, roFlat, roCurve };
enum TCenterPoint {
    cpUpperLeft,
    cpUpperCenter,
    cpUpperRight,
    cpLeftCenter,
    cpCenter,
    cpRightCenter,
    cpLowerLeft,
    cpLowerCenter,
    cpLowerRight
};
enum TGwCondenseCaption { ccNone, ccAtEnd, ccWithinPath };

// Any angle in degrees brought into 0..359.
int NormalizeAngle(int Degrees);

class TGwLabel : public TLabel {
public:
    explicit TGwLabel(TComponent* AOwner);
    ~TGwLabel() override;

    int Angle() const { return FAngle; }
    void SetAngle(int Value);
    TRotation Rotation() const { return FRotation; }
    void SetRotation(TRotation Value);
    TCenterPoint CenterPoint() const { return FCenterPoint; }
    void SetCenterPoint(TCenterPoint Value) { Change(FCenterPoint, Value); }
    TTextStyle TextStyle() const { return FTextStyle; }
    void SetTextStyle(TTextStyle Value) { Change(FTextStyle, Value); }
    bool LightTextStyle() const { return FLightTextStyle; }
    void SetLightTextStyle(bool Value) { Change(FLightTextStyle, Value); }
    TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor Value) { Change(FHighlightColor, Value); }
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor Value) { Change(FShadowColor, Value); }
    int ShadowDepth() const { return FShadowDepth; }
    void SetShadowDepth(int Value) { Change(FShadowDepth, Value); }
    int TextMargin() const { return FTextMargin; }
    void SetTextMargin(int Value) { Change(FTextMargin, Value); }
    TGwCondenseCaption CondenseCaption() const { return FCondenseCaption; }
    void SetCondenseCaption(TGwCondenseCaption Value);

    TFrameStyleEx BorderInner() const { return FBorderInner; }
    void SetBorderInner(TFrameStyleEx Value) { Resize(FBorderInner, Value); }
    TFrameStyleEx BorderOuter() const { return FBorderOuter; }
    void SetBorderOuter(TFrameStyleEx Value) { Resize(FBorderOuter, Value); }
    TSides BorderSides() const { return FBorderSides; }
    void SetBorderSides(TSides Value) { Resize(FBorderSides, Value); }
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) { Resize(FBorderWidth, Value); }
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value) { Resize(FBevelWidth, Value); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { Change(FBorderColor, Value); }
    TColor BorderHighlight() const { return FBorderHighlight; }
    void SetBorderHighlight(TColor Value) { Change(FBorderHighlight, Value); }
    TColor BorderShadow() const { return FBorderShadow; }
    void SetBorderShadow(TColor Value) { Change(FBorderShadow, Value); }
    TColor FlatColor() const { return FFlatColor; }
    void SetFlatColor(TColor Value) { Change(FFlatColor, Value); }
    int FlatColorAdjustment() const { return FFlatColorAdjustment; }
    void SetFlatColorAdjustment(int Value) { Change(FFlatColorAdjustment, Value); }

    bool Blinking() const { return FBlinking; }
    void SetBlinking(bool Value);
    TColor BlinkColor() const { return FBlinkColor; }
    void SetBlinkColor(TColor Value) { Change(FBlinkColor, Value); }
    std::uint16_t BlinkIntervalOff() const;
    void SetBlinkIntervalOff(std::uint16_t Value);
    std::uint16_t BlinkIntervalOn() const;
    void SetBlinkIntervalOn(std::uint16_t Value);
    bool FlyByEnabled() const { return FFlyByEnabled; }
    void SetFlyByEnabled(bool Value);
    TColor FlyByColor() const { return FFlyByColor; }
    void SetFlyByColor(TColor Value) { Change(FFlyByColor, Value); }

    void SetAutoSize(bool Value);
    // The colour the text face is drawn in now (normal, blink or fly-by).
    TColor TextColor() const { return FTextColor; }
    void Loaded() override;
    // Sizes the label to its text, borders and rotation (with AutoSize).
    void AdjustBounds();
    // Grows Rect's right and bottom edges by the borders, the shadow and the rotation.
    void AdjustForBorders(TRect& Rect);
    // Moves Rect's sides in by the border width (when asked) and the framed sides.
    void FixClientRect(TRect& Rect, bool Shrink);

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void Blink(TBlinkState State);

private:
    template <class T> void Change(T& Field, T Value) {
        if (Field == Value)
            return;
        Field = Value;
        Invalidate();
    }
    template <class T> void Resize(T& Field, T Value) {
        if (Field == Value)
            return;
        Field = Value;
        AdjustBounds();
        Invalidate();
    }
    unsigned TextFlags();
    void DrawLayers(const std::function<void(int DX, int DY, TColor Color)>& Layer, int ShadowOffset);
    void Draw3DText(const TRect& Client);
    void DrawArcText();
    TPoint ArcCenter() const;
    TPoint ArcRadius() const;
    bool Loading() const { return ComponentState().Contains(csLoading); }
    void UseTrueTypeFont();

    int FAngle = 0;
    TRotation FRotation = roNone;
    TCenterPoint FCenterPoint = cpCenter;
    TTextStyle FTextStyle = tsNormal;
    bool FLightTextStyle = false;
    TColor FHighlightColor = clBtnHighlight;
    TColor FShadowColor = clBtnShadow;
    int FShadowDepth = 2;
    int FTextMargin = 0;
    TGwCondenseCaption FCondenseCaption = ccNone;
    TFrameStyleEx FBorderInner = fsNone;
    TFrameStyleEx FBorderOuter = fsNone;
    TSides FBorderSides = AllSides;
    int FBorderWidth = 0;
    int FBevelWidth = 1;
    TColor FBorderColor = clBtnFace;
    TColor FBorderHighlight = clBtnHighlight;
    TColor FBorderShadow = clBtnShadow;
    TColor FFlatColor = clBtnShadow;
    int FFlatColorAdjustment = 30;
    bool FBlinking = false;
    TColor FBlinkColor = clHighlight;
    bool FFlyByEnabled = false;
    TColor FFlyByColor = clHighlight;
    TColor FNormalColor = clWindowText;
    TColor FTextColor = clWindowText;
    TColor FSavedColor = clWindowText;
    bool FMouseOver = false;
};

// Cursor number of the hand the URL label shows (the system's hand, registered on first use).
constexpr TCursor crGwHand = 26000;

// A label that opens its address (or, when that is blank, its caption) on the desktop when clicked.
class TGwURLLabel : public TGwLabel {
public:
    explicit TGwURLLabel(TComponent* AOwner);
    std::string URL;
    bool Visited() const { return FVisited; }
    void SetVisited(bool Value);
    TColor VisitedColor() const { return FVisitedColor; }
    void SetVisitedColor(TColor Value);
    TColor UnvisitedColor() const { return FUnvisitedColor; }
    void SetUnvisitedColor(TColor Value);
    // What opens the target; the desktop by default (tests put a recorder here).
    std::function<bool(std::string_view Target)> OpenTarget;
    void Click() override;

private:
    bool FVisited = false;
    TColor FVisitedColor = TColor(0x800080);
    TColor FUnvisitedColor = clHighlight;
};
