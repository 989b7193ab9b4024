// Bitmap and gradient painting of the Gw widget library (widget layer): transparent, tiled,
// centred, stretched and flipped bitmaps; gradients in ten directions; trapezoids; painting a
// control's parent behind it.
#pragma once

#include <cstdint>

#include "Gwcommon.h"
#include "controls.h"
#include "wingdi.h"

// Pixels of TransparentColor leave the canvas unchanged. Leaves the canvas's CopyMode at SRCPAINT.
void DrawTransparentBitmap(TCanvas* Canvas, TBitmap* Bitmap, const TRect& DestRect, const TRect& SrcRect,
                           TColor TransparentColor);
// As above, drawn at DestRect's origin from (0, 0, DW, DH) of the prepared image and mask.
void DrawFullTransparentBitmap(TCanvas* Canvas, TBitmap* Bitmap, const TRect& DestRect, const TRect& SrcRect,
                               TColor TransparentColor);
void TileTransparentBitmap(TCanvas* Canvas, TBitmap* Bitmap, const TRect& Rect, TColor TransparentColor);
void StretchTransparentBitmap(TCanvas* Canvas, TBitmap* Bitmap, const TRect& Rect, TColor TransparentColor);
// Tiles anchored at Rect's top-left; an empty bitmap draws nothing.
void TileBitmap(TCanvas* Canvas, TBitmap* Bitmap, const TRect& Rect);
// Tiles anchored at the canvas origin (left of it as well); an empty bitmap draws nothing.
void TileRealizedBitmap(TCanvas* Canvas, TBitmap* Bitmap, const TRect& Rect);
void CenterBitmap(TCanvas* Canvas, TBitmap* Bitmap, const TRect& Rect);
void StretchBitmap(TCanvas* Canvas, TBitmap* Bitmap, const TRect& Rect);
void FlipBitmap(TBitmap* Bitmap);

// Steps up to 8 are a minimum band width in pixels, larger values a number of colours.
void PaintGradient(TCanvas* Canvas, const TRect& Rect, TGradientDirection Direction, TColor StartColor,
                   TColor StopColor, std::uint8_t Steps);
void FillGrad(HDC DC, int X, int Y, int Limit, TColor ColorA, TColor ColorB, std::uint8_t Steps);
void FillGradRect(HDC DC, int Width, int Height, int InsetX, int InsetY, TColor ColorA, TColor ColorB,
                  std::uint8_t Steps);
void FillGradDiag(HDC DC, int Width, int Height, TColor ColorA, TColor ColorB, std::uint8_t Steps);
void BitFillBlit(HDC DC, int X, int Y, int TargetWidth, int TargetHeight, int FilledWidth, int FilledHeight,
                 std::uint32_t Rop);
void BoxBitMirrorBlit(HDC DC, int X, int Y, int Width, int Height, std::uint32_t Rop);

struct TTrap {
    TPoint P0, P1, P2, P3; // top-left, top-right, bottom-right, bottom-left
};
enum TTrapShape { tsLeft, tsCenter, tsRight };
// Scoped: the border style of controls already names bsNone.
enum class TTrapBevelStyle { bsNone, bsLowered, bsRaised };
enum TTrapDirect { tdLargeToSmall, tdSmallToLarge };
void SetTrapezoid(TTrap& Trap, const TRect& Rect, int Size, TTrapShape Shape, TDirection Direction,
                  TTrapDirect Direct);
TTrap AdjustTrapezoid(const TTrap& Trap, const TRect& Rect, TDirection Direction);
TPoint Intersect(TPoint P1, TPoint P2, TPoint P3, TDirection Direction);
void InflateTrapezoid(TTrap& Trap, int Amount);
void DrawTrapezoidBorder(TCanvas* Canvas, const TTrap& Trap, TTrapBevelStyle Bevel, int Width);

// Paints Control's parent (background, then contents) into DC under the control's position (a
// device context is a canvas here, so one form serves both).
void DrawParentImage(TControl* Control, HDC DC, bool InvalidateParent);
