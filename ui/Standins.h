// Controls of the main window that the Gw widget library does not offer yet: until they land, the
// platform's own control (or the small composite below) stands in under the name the window uses.
// User-interface layer.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Gwlstbox.h"
#include "Gwtabs.h"
#include "comctrls.h"
#include "extctrls.h"
#include "grids.h"
#include "stdctrls.h"

using TMainGrid = TStringGrid;     // for TGwStringGrid
using TMainComboBox = TComboBox;   // for TGwComboBox
using TMainRichEdit = TRichEdit;   // for TGwRichEdit
using TMainStatusBar = TStatusBar; // for TGwStatusBar
using TMainCheckTree = TTreeView;  // for TGwCheckTree (check state in StateIndex: 1 off, 2 on)

// For TGwPageControl: a tab strip over a client panel holding one panel per page. A hidden tab leaves
// the strip; its page cannot be made active, but stays shown if it already was.
class TMainPageControl : public TPanel {
public:
    explicit TMainPageControl(TComponent* AOwner);

    TPanel* AddPage(const std::string& caption);
    int PageCount() const { return int(FPages.size()); }
    TPanel* Pages(int i) const { return FPages.at(size_t(i)); }
    int PageIndex(const TPanel* page) const;
    TPanel* ActivePage() const;
    int ActivePageIndex() const { return FActive; }
    // Shows the page; a page with a hidden tab is refused. OnChange follows a change.
    void SetActivePageIndex(int i);
    void SetActivePage(TPanel* page) { SetActivePageIndex(PageIndex(page)); }
    bool TabVisible(const TPanel* page) const;
    void SetTabVisible(TPanel* page, bool visible);
    std::string PageCaption(int i) const { return FCaptions.at(size_t(i)); }
    // Captions of the tabs in the strip, in order.
    std::vector<std::string> VisibleTabs() const;

    TNotifyEvent OnChange;
    TGwTabControl* Strip() const { return FStrip; }

private:
    void RebuildStrip();
    TGwTabControl* FStrip;
    TPanel* FClient;
    std::vector<TPanel*> FPages;
    std::vector<std::string> FCaptions;
    std::vector<bool> FVisible;
    int FActive = -1;
    bool FSyncing = false;
};
