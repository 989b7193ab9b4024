// The colour combo box: standard and system colours with renameable names, a default and a custom
// entry (the platform's colour dialog), custom colours kept in the settings store.
#include <cstdint>

#include "Gwcmbobx.h"
#include "sysutils.h"

namespace {

struct TNamedColor {
    const char* Name;
    TColor Value;
};

const TNamedColor StdColors[16] = {
    {"Black", 0x000000},  {"Maroon", 0x000080},  {"Green", 0x008000}, {"Olive", 0x008080},
    {"Navy", 0x800000},   {"Purple", 0x800080},  {"Teal", 0x808000},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},     {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF},
};

// System colour n is 0x80000000 + n.
const char* const SysColorNames[25] = {
    "ScrollBar",    "Background",     "ActiveCaption", "InactiveCaption", "Menu",
    "Window",       "WindowFrame",    "MenuText",      "WindowText",      "CaptionText",
    "ActiveBorder", "InactiveBorder", "AppWorkSpace",  "Highlight",       "HighlightText",
    "BtnFace",      "BtnShadow",      "GrayText",      "BtnText",         "InactiveCaptionText",
    "BtnHighlight", "3DDkShadow",     "3DLight",       "InfoText",        "InfoBk",
};

TObject* ColorObject(TColor C) {
    return reinterpret_cast<TObject*>(static_cast<std::uintptr_t>(static_cast<std::uint32_t>(C)));
}
TColor ObjectColor(TObject* O) {
    return TColor(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(O)));
}

} // namespace

// ---- TGwColorNames ---------------------------------------------------------------------------------

TGwColorNames::TGwColorNames(TGwColorComboBox* Owner)
    : FOwner(Owner), FDefault("Default"), FCustom("Custom") {
    for (int i = 0; i < 16; ++i)
        FStd[i] = StdColors[i].Name;
    for (int i = 0; i < 25; ++i)
        FSys[i] = SysColorNames[i];
}

void TGwColorNames::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TGwColorNames*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    ShowSysColors = src->ShowSysColors;
    ShowDefault = src->ShowDefault;
    ShowCustom = src->ShowCustom;
    SetDefaultColor(src->FDefault);
    for (int i = 0; i < 16; ++i)
        SetStdColor(i, src->FStd[i]);
    for (int i = 0; i < 25; ++i)
        SetSysColor(i, src->FSys[i]);
    SetCustomColor(src->FCustom);
}

// Renames item Index of the owner's list in place, keeping its selection.
void TGwColorNames::Rename(int Index, const std::string& Value) {
    if (!FOwner || Index < 0 || Index >= FOwner->Items()->Count())
        return;
    int selected = FOwner->ItemIndex();
    FOwner->Items()->Put(Index, Value);
    FOwner->SetItemIndex(selected);
    FOwner->FNamesChanged = true;
}

void TGwColorNames::SetDefaultColor(const std::string& Value) {
    if (Value == FDefault)
        return;
    FDefault = Value;
    if (ShowDefault)
        Rename(0, Value);
}

void TGwColorNames::SetCustomColor(const std::string& Value) {
    if (Value == FCustom)
        return;
    FCustom = Value;
    if (ShowCustom && FOwner)
        Rename(FOwner->Items()->Count() - 1, Value);
}

void TGwColorNames::SetStdColor(int Index, const std::string& Value) {
    if (FStd.at(Index) == Value)
        return;
    FStd[Index] = Value;
    Rename(Index + (ShowDefault ? 1 : 0), Value);
}

void TGwColorNames::SetSysColor(int Index, const std::string& Value) {
    if (FSys.at(Index) == Value)
        return;
    FSys[Index] = Value;
    if (ShowSysColors)
        Rename(Index + 16 + (ShowDefault ? 1 : 0), Value);
}

// ---- TGwColorComboBox ------------------------------------------------------------------------------

TGwColorComboBox::TGwColorComboBox(TComponent* AOwner)
    : TGwCustomComboBox(AOwner), FColorNames(std::make_unique<TGwColorNames>(this)),
      FCustomColors(std::make_unique<TStringList>()) {
    SetStyle(csOwnerDrawFixed);
}

TGwColorComboBox::~TGwColorComboBox() = default;

void TGwColorComboBox::InitColorNames() {
    FColorNames->ShowSysColors = FShowSysColors;
    FColorNames->ShowDefault = FShowDefaultColor;
    FColorNames->ShowCustom = FShowCustomColor;
}

void TGwColorComboBox::BuildList() {
    TStrings* items = Items();
    items->BeginUpdate();
    items->Clear();
    if (FShowDefaultColor)
        items->AddObject(FColorNames->DefaultColor(), ColorObject(FDefaultColor));
    for (int i = 0; i < 16; ++i)
        items->AddObject(FColorNames->GetStdColor(i), ColorObject(StdColors[i].Value));
    if (FShowSysColors)
        for (int i = 0; i < 25; ++i)
            items->AddObject(FColorNames->GetSysColor(i), ColorObject(TColor(0x80000000u + unsigned(i))));
    if (FShowCustomColor)
        items->AddObject(FColorNames->CustomColor(), ColorObject(FCustomColor));
    items->EndUpdate();
    if (FSavedNames) {
        FColorNames->Assign(FSavedNames.get());
        FSavedNames.reset();
    }
    SetItemIndex(FSavedIndex);
}

void TGwColorComboBox::CreateWnd() {
    TGwCustomComboBox::CreateWnd();
    BuildList();
}

void TGwColorComboBox::DestroyWnd() {
    FSavedIndex = ItemIndex();
    if (FNamesChanged && Items()->Count() > 0) {
        FSavedNames = std::make_unique<TGwColorNames>(nullptr);
        FSavedNames->Assign(FColorNames.get());
    }
    TGwCustomComboBox::DestroyWnd();
}

void TGwColorComboBox::Loaded() {
    TGwCustomComboBox::Loaded();
    if (ItemIndex() < 0)
        SetItemIndex(0);
}

TColor TGwColorComboBox::GetColorFromItem(int Index) const { return ObjectColor(Items()->GetObject(Index)); }

TColor TGwColorComboBox::SelectedColor() const {
    return ItemIndex() < 0 ? FDefaultColor : GetColorFromItem(ItemIndex());
}

void TGwColorComboBox::SetSelectedColor(TColor Value) {
    int found = -1;
    for (int i = 0; i < Items()->Count() && found < 0; ++i)
        if (GetColorFromItem(i) == Value)
            found = i;
    if (found < 0) {
        SetCustomColor(Value);
        found = Items()->Count() - 1;
    }
    SetItemIndex(found);
    Change();
}

void TGwColorComboBox::SetCustomColor(TColor Value) {
    if (Value == TColor(-1))
        Value = clBlack;
    FCustomColor = Value;
    if (FShowCustomColor && Items()->Count() > 0) {
        Items()->PutObject(Items()->Count() - 1, ColorObject(Value));
        Invalidate();
    }
}

void TGwColorComboBox::SetDefaultColor(TColor Value) {
    FDefaultColor = Value;
    if (FShowDefaultColor && Items()->Count() > 0) {
        Items()->PutObject(0, ColorObject(Value));
        Invalidate();
    }
}

// The shown entries change the list: it is built again as on a new window.
void TGwColorComboBox::SetShowSysColors(bool Value) {
    if (Value == FShowSysColors)
        return;
    FShowSysColors = Value;
    InitColorNames();
    RecreateWnd();
}

void TGwColorComboBox::SetShowDefaultColor(bool Value) {
    if (Value == FShowDefaultColor)
        return;
    FShowDefaultColor = Value;
    InitColorNames();
    RecreateWnd();
}

void TGwColorComboBox::SetShowCustomColor(bool Value) {
    if (Value == FShowCustomColor)
        return;
    FShowCustomColor = Value;
    InitColorNames();
    RecreateWnd();
}

void TGwColorComboBox::SetShowColorNames(bool Value) {
    if (Value == FShowColorNames)
        return;
    FShowColorNames = Value;
    Invalidate();
}

void TGwColorComboBox::SetFrameVisible(bool Value) {
    TColor selected = SelectedColor();
    TGwCustomComboBox::SetFrameVisible(Value);
    SetSelectedColor(selected);
}

void TGwColorComboBox::CMFontChanged(TMessage& Message) {
    TGwCustomComboBox::CMFontChanged(Message);
    RecreateWnd();
}

void TGwColorComboBox::SetRegIniFile(TGwRegIniFile* Value) {
    FRegIniFile = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TGwColorComboBox::Notification(TComponent* AComponent, TOperation Operation) {
    TGwCustomComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FRegIniFile)
        FRegIniFile = nullptr;
}

std::string TGwColorComboBox::GetCustomColorName(int Index) const { return FCustomColors->Names(Index); }

void TGwColorComboBox::FixupCustomColors() {
    for (int i = 0; i < FCustomColors->Count(); ++i) {
        std::string name = FCustomColors->Names(i);
        int value = StrToInt("$" + FCustomColors->ValueFromIndex(i));
        FCustomColors->Put(i, name + "=" + IntToHex(value & 0xFFFFFF, 6));
    }
}

void TGwColorComboBox::LoadCustomColors(const std::string& Section) {
    if (!FRegIniFile)
        throw ENoRegIniFile("Cannot load Custom Colors--No TGwRegIniFile component specified");
    FRegIniFile->ReadSectionValues(Section, FCustomColors.get());
    FixupCustomColors();
}

void TGwColorComboBox::SaveCustomColors(const std::string& Section) {
    if (!FRegIniFile)
        throw ENoRegIniFile("Cannot save Custom Colors--No TGwRegIniFile component specified");
    for (int i = 0; i < FCustomColors->Count(); ++i)
        FRegIniFile->WriteString(Section, FCustomColors->Names(i), FCustomColors->ValueFromIndex(i));
}

// A cancelled choice opens no dialog; any other command forgets the cancel.
void TGwColorComboBox::Dispatch(TMessage& Message) {
    if (Message.Msg == CN_COMMAND && Message.WParamHi() != CBN_SELENDCANCEL &&
        Message.WParamHi() != CBN_CLOSEUP)
        FSelectionCancelled = false;
    TGwCustomComboBox::Dispatch(Message);
}

void TGwColorComboBox::SelEndCancel() {
    FSelectionCancelled = true;
    TGwCustomComboBox::SelEndCancel();
}

void TGwColorComboBox::CloseUp() {
    TGwCustomComboBox::CloseUp();
    if (FSelectionCancelled || !FShowCustomColor || ItemIndex() != Items()->Count() - 1)
        return;
    TColorDialog dialog(nullptr);
    dialog.SetColor(SelectedColor());
    dialog.CustomColors()->Assign(FCustomColors.get());
    dialog.SetOptions(ColorDlgOptions);
    if (!dialog.Execute())
        return;
    FCustomColors->Assign(dialog.CustomColors());
    FixupCustomColors();
    SetCustomColor(dialog.Color());
}

void TGwColorComboBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    TCanvas* C = Canvas();
    const bool selected = State.Contains(odSelected);
    C->Brush()->SetColor(selected ? clHighlight : Color());
    C->FillRect(Rect);
    if (Index < 0 || Index >= Items()->Count())
        return;
    const bool custom = FShowCustomColor && Index == Items()->Count() - 1;
    TRect r = Rect;
    if (FShowColorNames)
        r.Left += 24;
    TRect swatch(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2);
    if (!State.Contains(odComboBoxEdit))
        OffsetRect(swatch, 2, 0);
    if (FShowColorNames) {
        swatch.Left -= 24;
        swatch.Right = swatch.Left + 16;
    } else if (custom)
        swatch.Right -= 20;
    const TColor color = GetColorFromItem(Index);
    C->Brush()->SetColor(color);
    C->FillRect(swatch);
    TRect inner = DrawBox(C, swatch, clBtnShadow);
    const TColor rgb = ColorToRGB(color);
    const bool dark = GetRValue(rgb) <= 128 && GetGValue(rgb) <= 128 && GetBValue(rgb) <= 128;
    DrawBox(C, inner, dark ? clBlack : TColor(0x808080));
    const TColor text = selected ? clHighlightText : Enabled() ? clWindowText : clBtnShadow;
    C->Brush()->SetColor(selected ? clHighlight : Color());
    C->Pen()->SetColor(text);
    C->Font()->SetColor(text);
    if (custom) {
        C->Brush()->SetColor(text);
        for (int x : {r.Right - 16, r.Right - 12, r.Right - 8})
            C->FillRect(TRect(x, r.Bottom - 7, x + 2, r.Bottom - 4));
        C->Brush()->SetColor(selected ? clHighlight : Color());
    }
    if (FShowColorNames) {
        C->Brush()->SetStyle(bsClear);
        C->TextOut(r.Left + 2, r.Top + (r.Height() - C->TextHeight("Yy")) / 2, Items()->Get(Index));
        C->Brush()->SetStyle(bsSolid);
    }
}
