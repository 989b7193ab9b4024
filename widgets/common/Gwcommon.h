// Shared services of the Gw widget library (widget layer, over the GUI core): colour maths and the
// gradient colour sets, border and frame drawing, glyphs and bars, small utilities.
// Drawing routines paint on the canvas they are given, inside bounds whose right and bottom are
// exclusive, and return the rectangle left inside what they drew.
#pragma once

#include <cstdint>
#include <string>

#include "graphics.h"
#include "stdctrls.h" // TCheckBoxState
#include "sysset.h"

// ---------------------------------------------------------------- shared types

enum TSide { sdLeft, sdTop, sdRight, sdBottom };
using TSides = Set<TSide, sdLeft, sdBottom>;
inline const TSides AllSides{sdLeft, sdTop, sdRight, sdBottom};

enum TFrameStyleEx {
    fsNone,
    fsFlat,
    fsGroove,
    fsBump,
    fsLowered,
    fsButtonDown,
    fsRaised,
    fsButtonUp,
    fsStatus,
    fsPopup,
    fsFlatBold,
    fsFlatRounded
};
using TFrameStyle = TFrameStyleEx; // fsNone .. fsFlatBold

enum TFramingPreference { fpCustomFraming, fpXPThemes };
enum TGwVisualStyle { vsClassic, vsWinXP, vsGradient };
enum TGwGradientColorStyle { gcsSystem, gcsMSOffice, gcsCustom };
enum TGwXPColorScheme { xpcsBlue, xpcsGreen, xpcsSilver };
enum TGwXPThemeColor {
    xptcEditBorder,
    xptcNormalGroupFont,
    xptcSpecialGroupFont,
    xptcGroupBarFill,
    xptcListGroupFill,
    xptcListGroupFont,
    xptcGroupBoxFont
};
enum TGradientDirection {
    gdDiagonalUp,
    gdDiagonalDown,
    gdHorizontalEnd,
    gdHorizontalCenter,
    gdHorizontalBox,
    gdVerticalEnd,
    gdVerticalCenter,
    gdVerticalBox,
    gdSquareBox,
    gdBigSquareBox
};
enum TDirection { dirUp, dirDown, dirLeft, dirRight };
enum TAlignmentVertical { avTop, avCenter, avBottom };
enum TOrientation { orHorizontal, orVertical };
enum TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
enum TGwUIStyle { uiWindows95, uiWindowsXP };
enum TGwGroupBarGradientPath { gpTopToBottom, gpBottomToTop };
enum TGwButtonDisplayState { bdsNormal, bdsDown, bdsHot, bdsDisabled };
enum TGwButtonHotTrackStyle { htsInterior, htsFrame };
// Whether a hot highlight uses its colour itself or the complementary colour.
enum TGwHotTrackColorType { htctComplement, htctActual };

// ---------------------------------------------------------------- themes

// Whether the platform's visual styles are active for the program (the theme services' answer).
// The program installs no styles table, so every widget draws its classic look.
bool GwThemesEnabled();

// ---------------------------------------------------------------- colours (HSL on 0..240)

// Set once at start-up (first use): the display shows more than 256 colours; the desktop scheme.
extern bool FullColorSupported;
extern TGwXPColorScheme CurrentXPColorScheme;

void ColorToHSL(TColor Color, std::uint8_t& H, std::uint8_t& S, std::uint8_t& L);
// Each channel is clamped to 0..1 before packing (an out-of-range luminance cannot wrap).
TColor HSLtoColor(std::uint8_t H, std::uint8_t S, std::uint8_t L);
std::uint8_t ColorHue(TColor Color);
std::uint8_t ColorSaturation(TColor Color);
std::uint8_t ColorLuminance(TColor Color);
// Amounts are luminance units of the 0..240 scale, not percentages.
TColor DarkerColor(TColor Color, std::uint8_t Amount);
TColor LighterColor(TColor Color, std::uint8_t Amount);
// 0 returns Color itself (a system colour stays unresolved).
TColor AdjustColor(TColor Color, int Amount);
// Weight 255 gives Fore, 0 gives Back (both resolved to RGB).
TColor BlendColors(TColor ForeColor, TColor BackColor, std::uint8_t Weight);
bool ColorsTooClose(TColor Color1, TColor Color2);
TColor ComplementaryColor(TColor Color);
TColor ComplementaryColor(TColor Color, std::uint8_t Luminance);
TColor GetXPThemeColor(TGwXPThemeColor Element);
TGwXPColorScheme GetXPColorScheme();
bool IsFullColorSupported();

struct TGwSelectionColors {
    TColor Frame, Start, Stop;
};
struct TGwStatusBarColors {
    TColor Start, Stop, Third;
};
TGwSelectionColors GetGradientSelectionColors(TGwGradientColorStyle Style);
void GetGradientPanelColors(TGwGradientColorStyle Style, TColor& StartColor, TColor& StopColor);
TColor GetGradientPanelFrameColor(TGwGradientColorStyle Style);
TGwStatusBarColors GetGradientStatusBarColors(TGwGradientColorStyle Style);
void GetGradientGroupBarColors(TGwGradientColorStyle Style, TColor& FirstColor, TColor& SecondColor);
void GetGradientGroupItemColors(TGwGradientColorStyle Style, TColor& FirstColor, TColor& SecondColor);
// Ten colours of a category group; Special selects the special group's set.
struct TGwCategoryGroupColors {
    TColor C[10];
};
TGwCategoryGroupColors GetGradientCategoryGroupColors(TGwGradientColorStyle Style, bool Special);
struct TGwOutlookGroupColors {
    TColor C[6];
};
TGwOutlookGroupColors GetGradientOutlookGroupColors(TGwGradientColorStyle Style);

// ---------------------------------------------------------------- borders and frames

TRect DrawSides(TCanvas* Canvas, const TRect& Bounds, TColor ULColor, TColor LRColor, TSides Sides);
TRect DrawBevel(TCanvas* Canvas, const TRect& Bounds, TColor ULColor, TColor LRColor, int Width,
                TSides Sides = AllSides);
enum class TGw3DLook { Raised, Lowered };
enum class TGwButtonLook { Up, Down };
TRect DrawCtl3DBorderSides(TCanvas* Canvas, const TRect& Bounds, TGw3DLook Look, TSides Sides = AllSides);
TRect DrawButtonBorderSides(TCanvas* Canvas, const TRect& Bounds, TGwButtonLook Look,
                            TSides Sides = AllSides);
TRect DrawColorButtonBorderSides(TCanvas* Canvas, const TRect& Bounds, TColor Color, TGwButtonLook Look,
                                 TSides Sides = AllSides);
TRect DrawBorderSides(TCanvas* Canvas, const TRect& Bounds, TFrameStyle Style, TSides Sides = AllSides);
TRect DrawColorBorderSides(TCanvas* Canvas, const TRect& Bounds, TColor Color, TFrameStyleEx Style,
                           TSides Sides = AllSides);
TRect DrawBox(TCanvas* Canvas, const TRect& Bounds, TColor Color);
TRect DrawBoxCorners(TCanvas* Canvas, const TRect& Bounds, TColor Color, int Length);
TRect DrawDashedBorder(TCanvas* Canvas, const TRect& Bounds, TColor Color);
TRect DrawFocusBorder(TCanvas* Canvas, const TRect& Bounds);
TRect DrawRoundedFlatBorder(TCanvas* Canvas, const TRect& Bounds, TColor Color, TSides Sides = AllSides);

// Width a frame style takes from each framed side (fsStatus and fsPopup: the bevel width).
int FrameStyleWidth(TFrameStyleEx Style, int BevelWidth);

// The outer frame, border and inner frame of a panel, from the outside in.
struct TGwInnerOuterFrame {
    TFrameStyleEx OuterStyle = fsNone;
    TFrameStyleEx InnerStyle = fsNone;
    int BorderWidth = 0;
    TSides Sides = AllSides;
    int BevelWidth = 1;
    TColor BorderColor = clBtnFace;
    TColor BorderHighlight = clBtnHighlight;
    TColor BorderShadow = clBtnShadow;
    TColor FlatColor = clBtnShadow;
    int FlatColorAdjustment = 0;
    TColor Color = clBtnFace;
    TColor ParentColor = clBtnFace;
    bool Transparent = false;
    bool SoftInnerFlatBorder = false;
};
TRect DrawInnerOuterBorders(TCanvas* Canvas, const TRect& Bounds, const TGwInnerOuterFrame& Frame);

// The non-client frame of a framed control of Width x Height. PaintColorRing first paints the two
// outer pixels in Color (the space a 3-D border would take) and frames inside them.
enum class TGwFrameRing { PaintColorRing, NoColorRing };
void DrawFrame(TCanvas* Canvas, int Width, int Height, TFrameStyle Style, TColor Color, TColor FrameColor,
               TSides Sides, TGwFrameRing Ring);

// A soft shadow Depth pixels wide below and to the right of Bounds.
void DrawDropShadow(TCanvas* Canvas, const TRect& Bounds, int Depth, TColor ShadowColor);

// Repaints the non-client frame of window Handle over R (window coordinates); nothing while the
// window does not show, whose frame has nothing to clip to.
void InvalidateWindowFrame(HWND Handle, const TRect& R);
// A control with a Transparent property: it shows its parent's image, so it repaints when the
// parent's look changes.
class IGwTransparentControl {
public:
    virtual ~IGwTransparentControl() = default;
    virtual bool Transparent() const = 0;
};
// Invalidates each direct child of Container, in order, that is transparent.
void InvalidateControls(TWinControl* Container);

// ---------------------------------------------------------------- glyphs and bars

void DrawGroupBarBackground(TCanvas* Canvas, const TRect& Bounds, TGwVisualStyle VisualStyle,
                            TGwGradientColorStyle GradientColorStyle, TGwGroupBarGradientPath GradientPath,
                            TColor StartColor, TColor StopColor);
struct TGwBarLook {
    TOrientation Orientation = orHorizontal;
    bool Transparent = false;
};
// Fewer than one segment paints only the background; Percent is clamped to 0..100 for the lit count.
void DrawLEDBar(TCanvas* Canvas, const TRect& Bounds, TGwBarLook Look, TColor BarColor, TColor BackColor,
                int Segments, int Percent);
// The percentage text (when ShowPercent) is centred between the bounds' left and right.
void DrawPercentBar(TCanvas* Canvas, const TRect& Bounds, TGwBarLook Look, TColor BarColor, TColor BackColor,
                    std::uint16_t Percent, bool ShowPercent);
void DrawGradientPercentBar(TCanvas* Canvas, const TRect& Bounds, TGwBarLook Look, TColor BarStartColor,
                            TColor BarStopColor, TColor BackStartColor, TColor BackStopColor,
                            TGradientDirection Direction, std::uint16_t Percent, bool ShowPercent);
// Pressed moves the shape one pixel right and down; a disabled shape is drawn in clBtnShadow.
struct TGwArrowState {
    bool Down = false;
    bool Enabled = true;
};
void DrawDropDownArrow(TCanvas* Canvas, const TRect& Bounds, TGwUIStyle UIStyle, TGwArrowState State);
void DrawSpinArrow(TCanvas* Canvas, const TRect& Bounds, TGwUIStyle UIStyle, TDirection Direction,
                   TGwArrowState State);
void DrawCloseX(TCanvas* Canvas, const TRect& Bounds, TGwUIStyle UIStyle, TGwArrowState State);
void DrawHighlightBox(TCanvas* Canvas, const TRect& Bounds, TGradientDirection Direction, TColor StartColor,
                      TColor StopColor);

// The colours and state of a check box or radio button glyph.
struct TGwGlyphColors {
    TGwButtonDisplayState DisplayState = bdsNormal;
    bool Focused = false;
    TGwButtonHotTrackStyle HotTrackStyle = htsInterior;
    TColor FrameColor = clBtnShadow;
    TColor HighlightColor = clWindowText;
    TColor FillColor = clWindow;
    TColor FocusColor = clWindow;
    TColor DisabledColor = clBtnFace;
    TColor HotTrackStartColor = clWindow;
    TColor HotTrackStopColor = clHighlight;
    bool ReadOnly = false;
    bool ReadOnlyColorOnFocus = false;
    TColor ReadOnlyColor = clInfoBk;
};
void DrawCheckBox(TCanvas* Canvas, const TRect& Bounds, TCheckBoxState State, const TGwGlyphColors& Look);
// Color is the background outside the circle (TransparentColor instead when Transparent).
void DrawRadioButton(TCanvas* Canvas, const TRect& Bounds, bool Checked, const TGwGlyphColors& Look,
                     TColor Color, bool Transparent, TColor TransparentColor);
