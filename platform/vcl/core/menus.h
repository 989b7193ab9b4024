// Menus of the GUI core: TMenuItem, TMainMenu and TPopupMenu over Qt's actions, menus and menu bar.
// Each item owns one action; an item with children also owns the menu they appear in. The Qt
// objects are complete only in core/internal/core_qt.h.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "controls.h"

class TQtAction;
class TQtMenu;
class TQtMenuBar;
class TMenu;

class EMenuError : public Exception {
    using Exception::Exception;
};

// An owner-drawn item is measured (Width and Height come in as the platform's size) and painted
// through the canvas given, which draws on the menu.
using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State)>;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    // "&" marks the accelerator letter; "-" makes a separator.
    std::string Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    // Radio items of one GroupIndex and parent uncheck each other when one is checked.
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool v);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v) { FGroupIndex = v; }
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool v) { FAutoCheck = v; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut v);
    std::string Hint() const { return FHint; }
    void SetHint(const std::string& v) { FHint = v; }
    // The image of the menu's Images shown beside the caption (-1: none).
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    // The default item of its menu, shown bold.
    bool Default() const { return FDefault; }
    void SetDefault(bool v);
    bool IsLine() const { return FCaption == "-"; }

    int Count() const { return int(FItems.size()); }
    TMenuItem* Items(int i) const { return FItems.at(size_t(i)); }
    TMenuItem* operator[](int i) const { return Items(i); }
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const;
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    // Takes the item out without freeing it.
    void Remove(TMenuItem* Item);
    // Takes the item at Index out and frees it.
    void Delete(int Index);
    // Frees every child.
    void Clear();
    int IndexOf(const TMenuItem* Item) const;
    // Child by caption, ignoring "&" and case; null when none.
    TMenuItem* Find(const std::string& ACaption) const;

    // Runs OnClick (checking an AutoCheck item first), as a user's choice does.
    virtual void Click();

    TNotifyEvent OnClick;
    // Used while the item's menu has OwnerDraw on (menudraw.cpp).
    TMenuMeasureItemEvent OnMeasureItem;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

    TQtAction* Action() const { return FAction; }
    TMenu* RootMenu() const;
    // The menu of the children (made on first need).
    TQtMenu* SubMenu();

private:
    friend class TMenu;
    friend class TMainMenu;
    void MenuChanged();
    void Sync();
    void UncheckSiblings();
    void SyncImage();

    std::string FCaption;
    std::string FHint;
    bool FChecked = false;
    bool FRadioItem = false;
    bool FAutoCheck = false;
    bool FEnabled = true;
    bool FVisible = true;
    int FGroupIndex = 0;
    int FImageIndex = -1;
    bool FDefault = false;
    TShortCut FShortCut = 0;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr; // set on a root item
    std::vector<TMenuItem*> FItems;
    TQtAction* FAction = nullptr;
    TQtMenu* FSubMenu = nullptr;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;
    // The root item; its children are the menu's top level.
    TMenuItem* Items() const { return FItems.get(); }
    // Finds the item whose shortcut is sc, at any depth; null when none.
    TMenuItem* FindItemByShortCut(TShortCut sc) const;
    // Runs the item with shortcut sc if it is enabled and visible; true when one ran.
    bool IsShortCut(TShortCut sc);
    // Images of the items (ImageIndex); the menu follows the list's changes.
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v);
    // Items are measured and painted by their OnMeasureItem/OnAdvancedDrawItem handlers.
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool v);

protected:
    friend class TMenuItem;
    virtual void MenuChanged() {}

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void ImagesChanged();
    std::unique_ptr<TMenuItem> FItems;
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<TChangeLink> FImageLink;
    bool FOwnerDraw = false;
};

class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* AOwner);
    ~TMainMenu() override;
    // The bar shown at the top of the form (made on first need, owned by the form's window).
    TQtMenuBar* MenuBar(HWND parent);
    TQtMenuBar* MenuBar() const { return FBar; }

protected:
    void MenuChanged() override;

private:
    TQtMenuBar* FBar = nullptr;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool v) { FAutoPopup = v; }
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* c) { FPopupComponent = c; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment v) { FAlignment = v; }
    // Fires OnPopup, then shows the menu at the screen point and returns when it closes.
    virtual void Popup(int X, int Y);

    TNotifyEvent OnPopup;

private:
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
    TPopupAlignment FAlignment = paLeft;
};

// Text of a shortcut as menus show it ("Ctrl+S", "Shift+F10"), and back (0 when not recognised).
std::string ShortCutToText(TShortCut sc);
TShortCut TextToShortCut(const std::string& text);
// The caption without its "&" marks ("&&" stays one "&").
std::string StripHotkey(const std::string& caption);
