// Radio and check groups.
#include "Gwradgrp.h"

#include <algorithm>

#include "menus.h"

// ---------------------------------------------------------------- TGwCustomItemGroup

TGwCustomItemGroup::TGwCustomItemGroup(TComponent* AOwner, int NumGlyphs)
    : TGwCustomGroupBox(AOwner), FItemFont(std::make_unique<TFont>()),
      FItems(std::make_unique<TStringList>()), FNumGlyphs(NumGlyphs),
      FCustomGlyphs(std::make_unique<TBitmap>()) {
    SetControlStyle(ControlStyle() - TControlStyle{csReplicatable});
    FItemFont->SetName("MS Sans Serif");
    FItemFont->SetSize(8);
    FItemFont->OnChange = [this](TObject*) { Arrange(); };
    FItems->OnChange = [this](TObject*) { ItemsChange(); };
    FCustomGlyphs->OnChange = [this](TObject*) { CustomGlyphsChanged(); };
    SetColor(clBtnFace);
}

TGwCustomItemGroup::~TGwCustomItemGroup() {
    FItems->OnChange = nullptr;
    FItemFont->OnChange = nullptr;
    FCustomGlyphs->OnChange = nullptr;
}

void TGwCustomItemGroup::SetColumns(int Value) {
    Value = std::clamp(Value, 1, 16);
    if (FColumns == Value)
        return;
    FColumns = Value;
    Arrange();
    Invalidate();
}

void TGwCustomItemGroup::SetItemFont(const TFont* Value) {
    FItemFont->Assign(*Value);
    Arrange();
}

void TGwCustomItemGroup::SetCustomGlyphs(TBitmap* Value) {
    if (Value)
        FCustomGlyphs->Assign(Value);
    else
        FCustomGlyphs->SetSize(0, 0);
    CustomGlyphsChanged();
}

void TGwCustomItemGroup::CustomGlyphsChanged() {
    // As a single check box does: custom glyphs only for a strip with cells; the glyph size
    // follows the strip, and an empty strip brings the 13 x 13 glyphs back.
    SetUseCustomGlyphs(!FCustomGlyphs->Empty());
    Invalidate();
}

void TGwCustomItemGroup::SetUseCustomGlyphs(bool Value) {
    FUseCustomGlyphs = Value;
    if (Value) {
        FGlyphWidth = FCustomGlyphs->Width() / FNumGlyphs;
        FGlyphHeight = FCustomGlyphs->Height();
    } else {
        FGlyphWidth = FGlyphHeight = 13;
    }
    Arrange();
}

void TGwCustomItemGroup::ItemsChange() {
    if (!Reading)
        UpdateItems();
}

void TGwCustomItemGroup::UpdateItems() {
    while (Count() < FItems->Count())
        FButtons.push_back(CreateItem());
    while (Count() > FItems->Count()) {
        delete FButtons.back();
        FButtons.pop_back();
    }
    for (int i = 0; i < Count(); ++i)
        Item(i)->SetCaption(FItems->Strings(i));
    Arrange();
    Invalidate();
}

void TGwCustomItemGroup::Arrange() {
    if (FButtons.empty() || Reading)
        return;
    const int n = Count();
    const int rows = (n + FColumns - 1) / FColumns;
    TRect client(0, 0, Width(), Height());
    AdjustClientRect(client);
    const int top = client.Top + FStartYPos;
    std::vector<int> colWidth(std::size_t(FColumns), 0);
    if (!FSpaceEvenly) {
        TBitmap measure;
        measure.Canvas()->SetFont(FItemFont.get());
        for (int i = 0; i < n; ++i) {
            const int w = measure.Canvas()->TextWidth(StripHotkey(FItems->Strings(i))) + FGlyphWidth + 12;
            int& c = colWidth[std::size_t(i / rows)];
            c = std::max(c, w);
        }
    }
    const int even = (Width() - FStartXPos - 2 * BorderWidth() - 10) / FColumns;
    for (int i = 0; i < n; ++i) {
        const int col = i / rows, row = i % rows;
        int left = 0, width = 0;
        if (FSpaceEvenly) {
            left = col * even;
            width = even;
        } else {
            for (int c = 0; c < col; ++c)
                left += colWidth[std::size_t(c)];
            width = colWidth[std::size_t(col)] - 4;
        }
        left += FStartXPos;
        TGwCustomGlyphButton* b = Item(i);
        b->SetBounds(left, row * (FItemHeight + FVerticalSpacing) + top, width, FItemHeight);
        b->SetVisible(true);
        b->SetFont(FItemFont.get());
        b->SetTransparent(Transparent());
        b->SetWinMaskColor(FWinMaskColor);
        b->SetTransparentColor(FTransparentColor);
        b->SetCustomGlyphs(FUseCustomGlyphs ? FCustomGlyphs.get() : nullptr);
        b->SetUseCustomGlyphs(FUseCustomGlyphs);
        b->SetFrameColor(FItemFrameColor);
        b->SetHotTrack(FItemHotTrack);
        b->SetHighlightColor(FItemHighlightColor);
        b->HotTrackColor = ItemHotTrackColor;
        b->HotTrackColorType = ItemHotTrackColorType;
    }
}

void TGwCustomItemGroup::CMEnabledChanged(TMessage& Message) {
    TGwCustomGroupBox::CMEnabledChanged(Message);
    Repaint();
    for (TGwCustomGlyphButton* b : FButtons)
        b->SetEnabled(Enabled());
}

void TGwCustomItemGroup::WMSize(TWMSize& Message) {
    TGwCustomGroupBox::WMSize(Message);
    Arrange();
}

// ---------------------------------------------------------------- TGwRadioGroup

namespace {

template <class Base> class TGwGroupItem : public Base {
public:
    explicit TGwGroupItem(TGwCustomItemGroup* Group) : Base(Group) {
        this->SetVisible(false);
        this->SetEnabled(Group->Enabled());
        this->SetParentShowHint(false);
        this->SetParent(Group);
        this->SetParentFont(false);
    }
};

} // namespace

TGwRadioGroup::TGwRadioGroup(TComponent* AOwner) : TGwCustomItemGroup(AOwner, 6) {}

TGwCustomGlyphButton* TGwRadioGroup::CreateItem() {
    auto* b = new TGwGroupItem<TGwRadioButton>(this);
    b->OnClick = [this](TObject* s) { ButtonClick(s); };
    return b;
}

void TGwRadioGroup::ItemsChange() {
    if (Reading)
        return;
    if (FItemIndex >= Items()->Count())
        FItemIndex = Items()->Count() - 1;
    UpdateItems();
    if (FItemIndex >= 0) {
        FClicking = true;
        Buttons(FItemIndex)->SetChecked(true);
        FClicking = false;
    }
}

void TGwRadioGroup::SetItemIndex(int Value) {
    if (Reading) {
        FItemIndex = Value;
        return;
    }
    Value = std::clamp(Value, -1, Count() - 1);
    if (Value == FItemIndex)
        return;
    if (FItemIndex >= 0)
        Buttons(FItemIndex)->SetChecked(false);
    FItemIndex = Value;
    if (Value >= 0)
        Buttons(Value)->SetChecked(true);
}

bool TGwRadioGroup::CanChange(int NewIndex) {
    bool allow = true;
    if (OnChanging)
        OnChanging(this, NewIndex, allow);
    return allow;
}

void TGwRadioGroup::ButtonClick(TObject* Sender) {
    if (FClicking)
        return;
    int index = -1;
    for (int i = 0; i < Count(); ++i)
        if (Item(i) == Sender)
            index = i;
    if (CanChange(index)) {
        FItemIndex = index;
        Click();
        return;
    }
    FClicking = true;
    if (FItemIndex < 0)
        static_cast<TGwRadioButton*>(Sender)->SetChecked(false);
    else
        Buttons(FItemIndex)->SetChecked(true);
    FClicking = false;
}

// ---------------------------------------------------------------- TGwCheckGroup

TGwCheckGroup::TGwCheckGroup(TComponent* AOwner) : TGwCustomItemGroup(AOwner, 9) {}

TGwCustomGlyphButton* TGwCheckGroup::CreateItem() {
    auto* b = new TGwGroupItem<TGwCheckBox>(this);
    b->AllowGrayed = FAllowGrayed;
    b->OnClick = [this](TObject* s) { CheckClick(s); };
    return b;
}

void TGwCheckGroup::SetAllowGrayed(bool Value) {
    if (FAllowGrayed == Value)
        return;
    FAllowGrayed = Value;
    for (int i = 0; i < Count(); ++i)
        Checks(i)->AllowGrayed = Value;
    Arrange();
}

void TGwCheckGroup::CheckClick(TObject* Sender) {
    for (int i = 0; i < Count(); ++i)
        if (Item(i) == Sender && OnChange)
            OnChange(this, i, Checks(i)->State());
}

std::vector<int> TGwCheckGroup::WriteCheckStates() const {
    std::vector<int> states;
    for (int i = 0; i < Count(); ++i)
        states.push_back(int(ItemState(i)));
    return states;
}

void TGwCheckGroup::Loaded() {
    TGwCustomItemGroup::Loaded();
    for (std::size_t i = 0; i < FCheckStates.size() && int(i) < Count(); ++i)
        SetItemState(int(i), TCheckBoxState(std::clamp(FCheckStates[i], 0, 2)));
}
