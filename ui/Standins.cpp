// The stand-in page control.
#include "Standins.h"

#include <algorithm>

TMainPageControl::TMainPageControl(TComponent* AOwner) : TPanel(AOwner) {
    SetBevelOuter(bvNone);
    FStrip = new TGwTabControl(this);
    FStrip->SetParent(this);
    FStrip->SetAlign(alTop);
    FStrip->SetHeight(26);
    FStrip->TabHeight = 24;
    FStrip->OnChange = [this](TObject*) {
        if (FSyncing)
            return;
        int n = FStrip->TabIndex();
        for (int i = 0; i < PageCount(); ++i)
            if (FVisible[size_t(i)] && n-- == 0) {
                SetActivePageIndex(i);
                return;
            }
    };
    FClient = new TPanel(this);
    FClient->SetParent(this);
    FClient->SetAlign(alClient);
    FClient->SetBevelOuter(bvNone);
}

TPanel* TMainPageControl::AddPage(const std::string& caption) {
    auto* page = new TPanel(this);
    page->SetParent(FClient);
    page->SetAlign(alClient);
    page->SetBevelOuter(bvNone);
    page->SetVisible(false);
    FPages.push_back(page);
    FCaptions.push_back(caption);
    FVisible.push_back(true);
    RebuildStrip();
    return page;
}

int TMainPageControl::PageIndex(const TPanel* page) const {
    auto it = std::find(FPages.begin(), FPages.end(), page);
    return it == FPages.end() ? -1 : int(it - FPages.begin());
}

TPanel* TMainPageControl::ActivePage() const { return FActive < 0 ? nullptr : FPages[size_t(FActive)]; }

void TMainPageControl::SetActivePageIndex(int i) {
    if (i < 0 || i >= PageCount() || !FVisible[size_t(i)] || i == FActive)
        return;
    if (FActive >= 0)
        FPages[size_t(FActive)]->SetVisible(false);
    FActive = i;
    FPages[size_t(i)]->SetVisible(true);
    RebuildStrip();
    if (OnChange)
        OnChange(this);
}

bool TMainPageControl::TabVisible(const TPanel* page) const {
    int i = PageIndex(page);
    return i >= 0 && FVisible[size_t(i)];
}

void TMainPageControl::SetTabVisible(TPanel* page, bool visible) {
    int i = PageIndex(page);
    if (i < 0 || FVisible[size_t(i)] == visible)
        return;
    FVisible[size_t(i)] = visible;
    RebuildStrip();
}

std::vector<std::string> TMainPageControl::VisibleTabs() const {
    std::vector<std::string> out;
    for (int i = 0; i < PageCount(); ++i)
        if (FVisible[size_t(i)])
            out.push_back(FCaptions[size_t(i)]);
    return out;
}

void TMainPageControl::RebuildStrip() {
    FSyncing = true;
    auto* tabs = FStrip->GetTabCollection();
    tabs->Clear();
    int selected = -1, n = 0;
    for (int i = 0; i < PageCount(); ++i) {
        if (!FVisible[size_t(i)])
            continue;
        tabs->Add()->SetCaption(FCaptions[size_t(i)]);
        if (i == FActive)
            selected = n;
        ++n;
    }
    FStrip->SetTabIndex(selected);
    FSyncing = false;
}
