// Tab controls of the Gw widget library: the tab-strip base, and the collection tab control whose
// tabs come from an editable collection of items. Widget layer (over the GUI core).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "classes.h"
#include "controls.h"
#include "graphics.h"

class TGwCollectionTabControl;

// What one tab shows; the strip is rebuilt from these.
struct TGwTabData {
    std::string Caption;
    TColor Color = clBtnFace;
    int DisabledIndex = -1;
    bool Enabled = true;
    std::string Hint;
    int ImageIndex = -1;
    bool Visible = true;
};

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;
using TTabOrderChangeEvent = std::function<void(TObject* Sender, int OldIndex, int NewIndex)>;

// The tab strip: a row of tabs, one of them active (TabIndex, -1 for none).
class TGwCustomTabControl : public TCustomControl {
public:
    explicit TGwCustomTabControl(TComponent* AOwner);

    int TabIndex() const { return FTabIndex; }
    // Selects the tab at a 0-based index; -1 selects none. Out-of-range indexes are ignored.
    // OnChanging may refuse; OnChange follows a change.
    void SetTabIndex(int Value);
    int TabCount() const { return static_cast<int>(FTabs.size()); }
    const TGwTabData& Tab(int Index) const { return FTabs.at(static_cast<size_t>(Index)); }
    // Tab under a client point, or -1.
    int TabAt(int X, int Y);
    TRect TabRect(int Index);

    int TabHeight = 20;
    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;
    TTabOrderChangeEvent OnTabOrderChange;

    // Sets the index without events (the collection's Clear and Delete use it).
    void SetTabIndexField(int Value) { FTabIndex = Value; }
    virtual void Change();
    virtual void TabOrderChange(int OldIndex, int NewIndex);
    // Recomputes the tabs from TabList and repaints.
    virtual void Rebuild();

protected:
    std::vector<TGwTabData>& TabList() { return FTabs; }
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    std::vector<TGwTabData> FTabs;
    int FTabIndex = -1;
};

class TGwTabCollectionItem : public TCollectionItem {
public:
    explicit TGwTabCollectionItem(TCollection* ACollection);

    void Assign(TPersistent* Source) override;
    std::string DisplayName() const override;

    const std::string& Caption() const { return FCaption; }
    TColor Color() const { return FColor; }
    int DisabledIndex() const { return FDisabledIndex; }
    bool Enabled() const { return FEnabled; }
    const std::string& Hint() const { return FHint; }
    int ImageIndex() const { return FImageIndex; }
    bool Visible() const { return FVisible; }
    int Tag = 0;

    // Each setter stores a new value and tells the collection, which rebuilds the control; the same
    // value does nothing.
    virtual void SetCaption(const std::string& Value);
    virtual void SetColor(TColor Value);
    virtual void SetDisabledIndex(int Value);
    virtual void SetEnabled(bool Value);
    virtual void SetHint(const std::string& Value);
    virtual void SetImageIndex(int Value);
    virtual void SetVisible(bool Value);

    TGwCollectionTabControl* GetTabControl() const;
    void FillTabData(TGwTabData& Data) const;

private:
    std::string FCaption;
    TColor FColor = clBtnFace;
    int FDisabledIndex = -1;
    bool FEnabled = true;
    std::string FHint;
    int FImageIndex = -1;
    bool FVisible = true;
};

class TGwTabCollection : public TCollection {
public:
    explicit TGwTabCollection(TGwCollectionTabControl* AControl);

    TGwTabCollectionItem* Add();
    TGwTabCollectionItem* Insert(int Index);
    // Removes the item and keeps the control on the same tab.
    void Delete(int Index);
    // Removes every item; the control's TabIndex becomes -1 without a change event.
    void Clear();
    void Move(int CurIndex, int NewIndex);
    TGwTabCollectionItem* GetItem(int Index) const override;
    void SetItem(int Index, TCollectionItem* Value) override;
    TGwCollectionTabControl* GetOwner() const { return FControl; }

protected:
    void Update(TCollectionItem* Item) override;

private:
    TGwCollectionTabControl* FControl;
};

class TGwCollectionTabControl : public TGwCustomTabControl {
public:
    explicit TGwCollectionTabControl(TComponent* AOwner);
    ~TGwCollectionTabControl() override;

    TGwTabCollection* GetTabCollection() const { return FTabs; }
    void SetTabCollection(TGwTabCollection* Value);
    void HideAllTabs();
    void ShowAllTabs();
    void DestroyActiveTab();
    void ActiveTabMoved(int NewIndex);
    void Rebuild() override;

private:
    TGwTabCollection* FTabs;
};

// The same control as the program's forms place it.
class TGwTabControl : public TGwCollectionTabControl {
public:
    using TGwCollectionTabControl::TGwCollectionTabControl;
};
