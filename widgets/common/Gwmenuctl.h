// The menu controller of the Gw widget library (widget layer, shared services): dropped on a form,
// it owner-draws every menu item of that form in a flat gradient look with an icon bar.
#pragma once

#include <string>
#include <vector>

#include "Gwcommon.h"
#include "menus.h"

class TGwMenuController : public TComponent {
public:
    explicit TGwMenuController(TComponent* AOwner);
    ~TGwMenuController() override;

    TGwGradientColorStyle GradientColorStyle = gcsSystem;
    // Used with gcsCustom; the stop colours are also the fills on displays of 256 colours or fewer.
    TColor SelectionColorStart = clBtnFace;
    TColor SelectionColorStop = clBtnShadow;
    TColor SelectionFrameColor = cl3DDkShadow;
    TColor IconBarColorStart = clWhite;
    TColor IconBarColorStop = clBtnFace;
    TColor MenuColor = clWindow;
    TColor MenuFontColor = clWindowText;

    // Retired stored properties of older forms: "GradientColorStart", "GradientColorStop" and
    // "FrameColor" (a colour name or a number) become the selection colours; "GradientColorDefault"
    // and "ThemeAware" are dropped. False for any other name.
    bool ReadOldProperty(const std::string& Name, const std::string& Value);

    void Loaded() override;
    // Hooks every menu item of the owner, in component order.
    void SetupMenuItems();
    // Hooks an item without a draw handler of its own.
    void SetupMenuItem(TMenuItem* Item);
    void CleanupMenuItems();
    // Unhooks an item this controller hooked; any other is left alone.
    void CleanupMenuItem(TMenuItem* Item);
    int HookedCount() const { return int(FMenuItems.size()); }

    virtual void MeasureMenuItem(TMenuItem* Item, TCanvas* Canvas, int& Width, int& Height);
    virtual void PaintMenuItem(TMenuItem* Item, TCanvas* Canvas, const TRect& Rect, TOwnerDrawState State);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::vector<TMenuItem*> FMenuItems;
};

// True when the desktop hides keyboard cues in menus until Alt is pressed: bit 0x20 of the first
// byte of the user's "UserPreferencesMask" clear. A missing or short value gives false.
bool HideMenuPrefix();
