// The main window's small pictures, drawn in code: the page tab images and the glyphs of the
// subprogram buttons.
#pragma once

#include "graphics.h"

// Page tab images, by index.
enum TTabPicture { tpObjects, tpSubprograms, tpExpress, tpLoad, tpChannels, tpCount };
// Subprogram status bar glyphs.
enum TGlyphPicture { gpApply, gpSpare, gpRevert };

// Fills List (16 x 16) with one image per TTabPicture, in index order.
void FillTabPictures(TImageList* List);
// A 16 x 16 glyph on the key colour clFuchsia, the glyph's transparent colour.
void DrawGlyphPicture(TGlyphPicture Picture, TBitmap* Glyph);
