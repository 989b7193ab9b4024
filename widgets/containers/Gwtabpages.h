// The page control and its tab sheets: a tab control whose tabs come from child pages, one page shown
// in the card area; also a dock site where each docked form gets a page. Widget layer.
#pragma once

#include <vector>

#include "Gwtabs.h"

class TGwPageControl;

class TGwTabSheet : public TCustomControl {
public:
    explicit TGwTabSheet(TComponent* AOwner);
    ~TGwTabSheet() override;

    TGwPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TGwPageControl* Value);
    // Position in the control's page list, -1 without a control.
    int PageIndex() const;
    // Moves the page; an index outside the list raises EGwTabControlError.
    void SetPageIndex(int Value);
    // Index of the page's tab, -1 while its tab is hidden.
    int TabIndex() const;
    bool TabEnabled() const { return FTabEnabled; }
    void SetTabEnabled(bool Value);
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    int DisabledIndex() const { return FDisabledIndex; }
    void SetDisabledIndex(int Value);
    // A colour unlike the control's switches the control to coloured tabs.
    void SetColor(TColor Value);
    // Pages are shown and hidden by their control only: always raises EGwTabControlError.
    void SetVisible(bool Value);
    void FillTabData(TGwTabData& Data) const;
    void Changed();

    TGwPaintBackgroundEvent OnPaintBackground;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

protected:
    friend class TGwPageControl;
    void Paint() override;
    void CMTextChanged(TMessage& Message) override;
    void CMShowingChanged(TMessage& Message) override;
    void ShowPage(bool Value) { TControl::SetVisible(Value); }

private:
    TGwPageControl* FPageControl = nullptr;
    int FDisabledIndex = -1;
    int FImageIndex = -1;
    bool FTabEnabled = true;
    bool FTabVisible = true;
};

class TGwPageControl : public TGwCustomTabControl {
public:
    explicit TGwPageControl(TComponent* AOwner);
    ~TGwPageControl() override;

    TGwTabSheet* GetPage(int Index) const { return FPages.at(static_cast<size_t>(Index)); }
    int GetPageCount() const { return static_cast<int>(FPages.size()); }
    TGwTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TGwTabSheet* Page);
    int ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }
    void SetActivePageIndex(int Index);
    TGwTabSheet* FindNextPage(TGwTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
    void SelectNextPage(bool GoForward);
    TGwTabSheet* PageForTab(int TabIndex) const;
    void MakeControlVisible(TControl* Control);
    // A page of this control becomes the active page; any other control is left alone.
    void ShowControl(TControl* AControl);
    TGwTabSheet* GetPageFromDockClient(TControl* Client) const;
    TControl* GetDockClientFromMousePos(TPoint Point);
    bool DblClickUndocks = true;
    // Hidden pages give their window handles back; switched on, every page but the active one does
    // at once.
    bool SaveResources() const { return FSaveResources; }
    virtual void SetSaveResources(bool Value);

    void HideAllTabs() override;
    void ShowAllTabs() override;
    void DestroyActiveTab() override;
    void ActiveTabMoved(int NewIndex) override;
    void Rebuild() override;
    void Changing(int NewIndex, bool& AllowChange) override;
    void PaintCardBackground(TCanvas* ACanvas, int ARow, const TRect& ARect, bool& Handled) override;
    void SetUseColoredTabs(bool Value) override;

    // For the sheets' PageControl setter and destructor only.
    void InsertPage(TGwTabSheet* Page);
    void RemovePage(TGwTabSheet* Page);
    void MovePage(TGwTabSheet* Page, int NewIndex);

protected:
    void CMDialogKey(TWMKey& Message) override;
    void CMColorChanged(TMessage& Message) override;
    void CMDockClient(TMessage& Message) override;
    void CMUnDockClient(TMessage& Message) override;
    void CMDockNotification(TMessage& Message) override;
    void DoAddDockClient(TControl* Client, const TRect& ARect) override;
    void DoRemoveDockClient(TControl* Client) override;
    void GetSiteInfo(TControl* Client, TRect& InfluenceRect, TPoint MousePos, bool& CanDock) override;
    void DockOver(TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept) override;
    void WMLButtonDown(TWMMouse& Message) override;
    void WMLButtonDblClk(TWMMouse& Message) override;
    void WMSetFocus(TWMSetFocus& Message) override;

private:
    void ChangeActivePage(TGwTabSheet* Page);
    bool Releases() const { return FSaveResources && !ComponentState().Contains(csDesigning); }

    std::vector<TGwTabSheet*> FPages;
    TGwTabSheet* FActivePage = nullptr;
    TGwTabSheet* FNewDockSheet = nullptr;
    TGwTabSheet* FUndockingPage = nullptr;
    bool FDestroying = false;
    bool FSaveResources = false;
};
