// The menu controller: hooks menu items as they come and go, measures and paints them.
#include "Gwmenuctl.h"

#include <algorithm>

#include "Gwgrafx.h"
#include "Gwutils.h"
#include "registry.h"
#include "sysinfo.h"
#include "wingdi.h"

namespace {

// An item on the main menu's bar (its parent is the menu's root).
bool IsBarItem(TMenuItem* Item) {
    TMenuItem* parent = Item->Parent();
    return parent && !parent->Parent() && dynamic_cast<TMainMenu*>(Item->RootMenu());
}

TCustomImageList* ImagesOf(TMenuItem* Item) {
    TMenu* menu = Item->RootMenu();
    return menu ? menu->Images() : nullptr;
}

// A selection gradient from left to right, or the stop colour alone on a display of few colours.
void FillGradient(TCanvas* Canvas, const TRect& R, TGradientDirection Direction, TColor Start, TColor Stop) {
    if (FullColorSupported) {
        PaintGradient(Canvas, R, Direction, Start, Stop, 1);
    } else {
        Canvas->Brush()->SetColor(Stop);
        Canvas->FillRect(R);
    }
}

} // namespace

TGwMenuController::TGwMenuController(TComponent* AOwner) : TComponent(AOwner) {}

TGwMenuController::~TGwMenuController() {
    if (!ComponentState().Contains(csDesigning))
        CleanupMenuItems();
}

bool TGwMenuController::ReadOldProperty(const std::string& Name, const std::string& Value) {
    const auto color = [&](TColor& Field) {
        TColor c;
        Field = IdentToColor(Value, c) ? c : TColor(StrToInt(Value));
    };
    if (Name == "GradientColorDefault" || Name == "ThemeAware")
        return true;
    if (Name == "GradientColorStart")
        color(SelectionColorStart);
    else if (Name == "GradientColorStop")
        color(SelectionColorStop);
    else if (Name == "FrameColor")
        color(SelectionFrameColor);
    else
        return false;
    return true;
}

void TGwMenuController::Loaded() {
    TComponent::Loaded();
    if (!ComponentState().Contains(csDesigning))
        SetupMenuItems();
}

void TGwMenuController::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (ComponentState().Contains(csDesigning))
        return;
    if (Operation == opInsert) {
        if (auto* item = dynamic_cast<TMenuItem*>(AComponent))
            SetupMenuItem(item);
        return;
    }
    auto it = std::find_if(FMenuItems.begin(), FMenuItems.end(),
                           [&](TMenuItem* Item) { return static_cast<TComponent*>(Item) == AComponent; });
    if (it == FMenuItems.end())
        return;
    // An item being freed is past its own destructor: it is only forgotten, not touched.
    if (AComponent->ComponentState().Contains(csDestroying))
        FMenuItems.erase(it);
    else
        CleanupMenuItem(*it);
}

void TGwMenuController::SetupMenuItems() {
    if (!Owner())
        return;
    for (int i = 0; i < Owner()->ComponentCount(); ++i)
        if (auto* item = dynamic_cast<TMenuItem*>(Owner()->Components(i)))
            SetupMenuItem(item);
}

void TGwMenuController::SetupMenuItem(TMenuItem* Item) {
    if (Item->OnAdvancedDrawItem || std::find(FMenuItems.begin(), FMenuItems.end(), Item) != FMenuItems.end())
        return;
    Item->OnAdvancedDrawItem = [this](TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State) {
        PaintMenuItem(static_cast<TMenuItem*>(Sender), ACanvas, ARect, State);
    };
    Item->OnMeasureItem = [this](TObject* Sender, TCanvas* ACanvas, int& Width, int& Height) {
        MeasureMenuItem(static_cast<TMenuItem*>(Sender), ACanvas, Width, Height);
    };
    Item->FreeNotification(this);
    FMenuItems.push_back(Item);
}

void TGwMenuController::CleanupMenuItems() {
    while (!FMenuItems.empty())
        CleanupMenuItem(FMenuItems.back());
}

void TGwMenuController::CleanupMenuItem(TMenuItem* Item) {
    auto it = std::find(FMenuItems.begin(), FMenuItems.end(), Item);
    if (it == FMenuItems.end())
        return;
    Item->OnAdvancedDrawItem = nullptr;
    Item->OnMeasureItem = nullptr;
    FMenuItems.erase(it);
}

void TGwMenuController::MeasureMenuItem(TMenuItem* Item, TCanvas*, int& Width, int& Height) {
    TCustomImageList* images = ImagesOf(Item);
    if (Item->Caption() == "-")
        Height = 3;
    else
        Height = images ? images->Height() + 6 : 22;
    if (!IsBarItem(Item) && !images)
        Width += 31;
}

void TGwMenuController::PaintMenuItem(TMenuItem* Item, TCanvas* Canvas, const TRect& Rect,
                                      TOwnerDrawState State) {
    const bool flatMenus =
        PlatformVersion.Major > 4 || (PlatformVersion.Major == 4 && PlatformVersion.Minor > 0);
    const bool bar = IsBarItem(Item);
    TCustomImageList* images = ImagesOf(Item);

    TColor frame, selStart, selStop, barStart, barStop;
    if (GradientColorStyle == gcsCustom) {
        frame = SelectionFrameColor;
        selStart = SelectionColorStart;
        selStop = SelectionColorStop;
        barStart = IconBarColorStart;
        barStop = IconBarColorStop;
    } else {
        const TGwSelectionColors s = GetGradientSelectionColors(GradientColorStyle);
        frame = s.Frame;
        selStart = s.Start;
        selStop = s.Stop;
        GetGradientPanelColors(GradientColorStyle, barStart, barStop);
    }
    TRect iconBar = Rect;
    iconBar.Right = Rect.Left + (images ? images->Width() + 8 : 24);
    TRect text = Rect;
    if (!bar)
        text.Left = iconBar.Right;
    Canvas->Font()->SetColor(MenuFontColor);

    const bool selected = State.Contains(odSelected);
    const auto selection = [&](const TRect& R) {
        const TRect inner = DrawBox(Canvas, R, frame);
        FillGradient(Canvas, inner, gdHorizontalEnd, selStart, selStop);
    };
    const auto check = [&] {
        TRect r = iconBar;
        InflateRect(r, -1, -1);
        r.Right -= 2;
        const TRect inner = DrawBox(Canvas, r, frame);
        if (selected) {
            Canvas->Brush()->SetColor(DarkerColor(selStop, 40));
            Canvas->FillRect(inner);
        } else {
            FillGradient(Canvas, inner, gdHorizontalEnd, DarkerColor(selStop, 40), selStart);
        }
        if (images && Item->ImageIndex() != -1)
            return;
        TBitmap glyph;
        glyph.SetSize(16, 16);
        TRect g(0, 0, 16, 16);
        DrawFrameControl(glyph.Canvas()->Handle(), &g, DFC_MENU,
                         Item->RadioItem() ? DFCS_MENUBULLET : DFCS_MENUCHECK);
        glyph.SetTransparent(true);
        const TColor font = Canvas->Font()->Color();
        Canvas->Font()->SetColor(clBtnText);
        const TRect at = CenterRect(inner, 16, 16);
        Canvas->Draw(at.Left, at.Top, &glyph);
        Canvas->Font()->SetColor(font);
    };

    if (bar) {
        if (selected || State.Contains(odHotLight)) {
            TRect r = Rect;
            InflateRect(r, -1, -1);
            selection(r);
        } else {
            Canvas->Brush()->SetColor(GwThemesEnabled() ? clMenuBar : clBtnFace);
            Canvas->FillRect(text);
            if (flatMenus && State.Contains(odInactive))
                Canvas->Font()->SetColor(clGrayText);
        }
    } else if (selected && Item->Enabled()) {
        selection(Rect);
        if (Item->Checked())
            check();
    } else {
        FillGradient(Canvas, iconBar, gdVerticalEnd, barStart, barStop);
        if (Item->Checked())
            check();
        Canvas->Brush()->SetColor(MenuColor);
        Canvas->FillRect(text);
    }

    if (!bar) {
        text.Left += 6;
        if (images && Item->ImageIndex() >= 0 && Item->ImageIndex() < images->Count())
            images->Draw(Canvas, iconBar.Left + 3, iconBar.Top + 3, Item->ImageIndex(), Item->Enabled());
    }
    if (Item->Caption() == "-") {
        Canvas->Pen()->SetColor(clBtnShadow);
        Canvas->MoveTo(text.Left, text.Top + 1);
        Canvas->LineTo(text.Right, text.Top + 1);
        return;
    }
    const TFontStyles style = Canvas->Font()->Style();
    Canvas->Brush()->SetStyle(bsClear);
    if (Item->Default())
        Canvas->Font()->SetStyle(style + TFontStyles{fsBold});
    if (!Item->Enabled())
        Canvas->Font()->SetColor(clGrayText);
    unsigned flags = DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS | (bar ? unsigned(DT_CENTER) : 0u);
    if (HideMenuPrefix() && PlatformVersion.Platform == 2 && PlatformVersion.Major > 4 &&
        State.Contains(odNoAccel))
        flags |= DT_HIDEPREFIX;
    TRect r = text;
    Canvas->DrawText(Item->Caption(), r, flags);
    if (!bar && Item->ShortCut() != 0) {
        TRect s = text;
        s.Right -= 10;
        Canvas->DrawText(ShortCutToText(Item->ShortCut()), s, flags | DT_RIGHT);
    }
    Canvas->Font()->SetStyle(style);
    Canvas->Brush()->SetStyle(bsSolid);
}

bool HideMenuPrefix() {
    try {
        TRegistry reg(KEY_READ);
        reg.SetRootKey(HKEY_CURRENT_USER);
        if (!reg.OpenKeyReadOnly("\\Control Panel\\Desktop"))
            return false;
        const int size = RunningAtLeast(WinVista) ? 8 : 4;
        if (reg.GetDataSize("UserPreferencesMask") != size)
            return false;
        unsigned char mask[8] = {};
        return reg.ReadBinaryData("UserPreferencesMask", mask, size) == size && !(mask[0] & 0x20);
    } catch (const ERegistryException&) {
        return false; // a mask of another type: the prefixes show, as with the setting off
    }
}
