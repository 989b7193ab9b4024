// The panel dock manager (widget layer, containers): docked clients of a custom panel get a title
// bar in a small caption font with a close glyph, across their top or down their left side.
#pragma once

#include <memory>
#include <string>

#include "Gwpanel.h"
#include "dragdock.h"

class TGwPanelDockManager : public TDockTree {
public:
    static constexpr int TitleSize = 14;

    explicit TGwPanelDockManager(TWinControl* ADockSite);
    ~TGwPanelDockManager() override;

    TGwCustomPanel* Panel() const { return FPanel; }
    TFont* CaptionFont() { return &FCaptionFont; }
    TFont* GlyphFont() { return &FGlyphFont; }
    void AdjustDockRect(TControl* Control, TRect& ARect) override;
    void PaintDockFrame(TCanvas* Canvas, TControl* Control, const TRect& ARect) override;
    void WindowProc(TMessage& Message) override;
    // A caption turned a quarter left, written upwards from the bottom of Rect.
    void DrawVertTitle(TCanvas* Canvas, const std::string& Caption, const TRect& Rect);

protected:
    // Caption colours: inactive for a windowed client without the focus, else active.
    void SetTitleColours(TCanvas* Canvas, TControl* Control);
    // The close cross: "r" of the symbol font the canvas holds, at Rect's top-left.
    void DrawCloseGlyph(TCanvas* Canvas, const TRect& Rect);

private:
    TGwCustomPanel* FPanel;
    TFont FCaptionFont;
    TFont FGlyphFont;
};
