// What the font pickers of the Gw widget library share (widget layer, shared services): which
// faces they list, the type mark of a face, how a face's item is written, and the floating
// preview panel.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "extctrls.h"
#include "messages.h"

enum TGwFontDevice { fdScreen, fdPrinter };
enum TGwFontType { ftAll, ftTrueType, ftFixedPitch, ftPrinter };
enum TGwShowStyle { ssFontName, ssFontSample, ssFontNameAndSample, ssFontPreview };

// The floating sample beside a font list; it tells its owning control to hide it when it loses
// the focus or is cancelled.
class TGwPreviewFontPanel : public TCustomPanel {
public:
    explicit TGwPreviewFontPanel(TComponent* AOwner);
    TWinControl* Control = nullptr;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void WMKillFocus(TWMKillFocus& Message) override;
    void WMCancelMode(TMessage& Message) override;
};

// Sent to the owner of a preview panel to hide it.
inline constexpr UINT CM_HIDEPREVIEWPANEL = CM_BASE + 1006;

// The 12 x 12 type marks, on olive (the colour drawn transparent), registered under these names.
enum TGwFontMark { fmkTrueType, fmkFixedPitch, fmkTrueTypeFixed, fmkPrinter, fmkDevice };
inline constexpr int FontMarkCount = 5;
extern const char* const FontMarkNames[FontMarkCount];
using TGwFontMarks = std::array<std::unique_ptr<TBitmap>, FontMarkCount>;
void LoadFontMarks(TGwFontMarks& Marks);
// The mark of a face from its pitch-and-family byte (TMPF_FIXED_PITCH set means variable pitch).
TGwFontMark FontMarkOf(unsigned PitchAndFamily, TGwFontDevice Device);

// Adds the screen's faces that pass the filter, each with its pitch-and-family byte as its
// object; a face already listed is skipped. There is no printer here: ftPrinter adds none.
void AddFontFaces(TStrings* Items, TGwFontType Type, bool ShowSymbolFonts);

// Writes a face's name in R: in Font, in the face itself (ssFontSample), or both halves with a
// divider line between them (ssFontNameAndSample); vertically centred, 2 pixels in.
void DrawFontFace(TCanvas* Canvas, const TRect& R, const std::string& Name, TGwShowStyle Style,
                  const TFont* Font, TColor TextColor, TColor DividerColor);
