// Common controls drawn by the layer: the status bar (simple text or panels).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "controls.h"

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusBar;

struct TStatusPanel {
    std::string Text;
    int Width = 50;
    TAlignment Alignment = taLeftJustify;
    TStatusPanelBevel Bevel = pbLowered;
};

// The panels of a status bar; a change repaints the bar.
class TStatusPanels {
public:
    explicit TStatusPanels(TStatusBar* bar) : FBar(bar) {}
    TStatusPanel* Add();
    TStatusPanel* Items(int i) { return &FItems.at(size_t(i)); }
    int Count() const { return int(FItems.size()); }
    void Clear();
    void Delete(int i);
    // Call after changing a panel's fields.
    void Changed();

private:
    TStatusBar* FBar;
    std::vector<TStatusPanel> FItems;
};

class TStatusBar : public TCustomControl {
public:
    explicit TStatusBar(TComponent* AOwner);
    ~TStatusBar() override;
    TStatusPanels* Panels() const { return FPanels.get(); }
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool v);
    std::string SimpleText() const { return FSimpleText; }
    void SetSimpleText(const std::string& v);
    // The rectangle of panel i in client coordinates (the last panel runs to the right edge).
    TRect PanelRect(int i);

protected:
    void Paint() override;

private:
    std::unique_ptr<TStatusPanels> FPanels;
    std::string FSimpleText;
    bool FSimplePanel = false;
};
