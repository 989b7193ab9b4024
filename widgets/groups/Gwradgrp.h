// Radio and check groups of the Gw widget library (groups family, over the containers and
// buttons families): a group box that owns one glyph button per line of its Items.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "Gwpanel.h"
#include "Gwradchk.h"

using TGwIndexChangingEvent = std::function<void(TObject* Sender, int NewIndex, bool& AllowChange)>;
using TStateChangeEvent = std::function<void(TObject* Sender, int Index, TCheckBoxState NewState)>;

// What the two groups share: the items, their layout in columns and the settings pushed into them.
class TGwCustomItemGroup : public TGwCustomGroupBox {
public:
    explicit TGwCustomItemGroup(TComponent* AOwner, int NumGlyphs);
    ~TGwCustomItemGroup() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(const TStrings* Value) { FItems->Assign(const_cast<TStrings*>(Value)); }
    int Columns() const { return FColumns; }
    void SetColumns(int Value);
    TFont* ItemFont() const { return FItemFont.get(); }
    void SetItemFont(const TFont* Value);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value) { Change(FItemHeight, Value); }
    bool SpaceEvenly() const { return FSpaceEvenly; }
    void SetSpaceEvenly(bool Value) { Change(FSpaceEvenly, Value); }
    int StartXPos() const { return FStartXPos; }
    int StartYPos() const { return FStartYPos; }
    void SetStartPos(int Index, int Value) { Change(Index == 1 ? FStartXPos : FStartYPos, Value); }
    int VerticalSpacing() const { return FVerticalSpacing; }
    void SetVerticalSpacing(int Value) { Change(FVerticalSpacing, Value); }
    TBitmap* CustomGlyphs() const { return FCustomGlyphs.get(); }
    void SetCustomGlyphs(TBitmap* Value);
    bool UseCustomGlyphs() const { return FUseCustomGlyphs; }
    void SetUseCustomGlyphs(bool Value);
    int GlyphWidth() const { return FGlyphWidth; }
    int GlyphHeight() const { return FGlyphHeight; }
    TColor TransparentColor() const { return FTransparentColor; }
    void SetTransparentColor(TColor Value) { Change(FTransparentColor, Value); }
    TColor WinMaskColor() const { return FWinMaskColor; }
    void SetWinMaskColor(TColor Value) { Change(FWinMaskColor, Value); }
    TColor ItemFrameColor() const { return FItemFrameColor; }
    void SetItemFrameColor(TColor Value) { Change(FItemFrameColor, Value); }
    bool ItemHotTrack() const { return FItemHotTrack; }
    void SetItemHotTrack(bool Value) { Change(FItemHotTrack, Value); }
    TColor ItemHighlightColor() const { return FItemHighlightColor; }
    void SetItemHighlightColor(TColor Value) { Change(FItemHighlightColor, Value); }
    TColor ItemHotTrackColor = 0x00149BF0;
    TGwHotTrackColorType ItemHotTrackColorType = htctActual;
    bool TabOnEnter = false;

    int Count() const { return int(FButtons.size()); }
    TGwCustomGlyphButton* Item(int Index) const { return FButtons.at(std::size_t(Index)); }
    bool ItemEnabled(int Index) const { return Item(Index)->Enabled(); }
    void SetItemEnabled(int Index, bool Value) { Item(Index)->SetEnabled(Value); }
    virtual bool CanModify() { return true; }
    void Arrange();

protected:
    virtual TGwCustomGlyphButton* CreateItem() = 0;
    virtual void ItemsChange();
    void UpdateItems();
    void CMEnabledChanged(TMessage& Message) override;
    void WMSize(TWMSize& Message) override;
    bool Reading = false;

private:
    template <class T> void Change(T& Field, T Value) {
        if (Field == Value)
            return;
        Field = Value;
        Arrange();
    }
    void CustomGlyphsChanged();

    std::vector<TGwCustomGlyphButton*> FButtons;
    std::unique_ptr<TFont> FItemFont;
    std::unique_ptr<TStringList> FItems;
    int FColumns = 1;
    bool FSpaceEvenly = false;
    int FStartXPos = 8;
    int FStartYPos = 2;
    int FVerticalSpacing = 3;
    int FItemHeight = 17;
    int FGlyphWidth = 13;
    int FGlyphHeight = 13;
    int FNumGlyphs;
    std::unique_ptr<TBitmap> FCustomGlyphs;
    bool FUseCustomGlyphs = false;
    TColor FTransparentColor = clOlive;
    TColor FWinMaskColor = clTeal;
    TColor FItemFrameColor = clBtnShadow;
    bool FItemHotTrack = false;
    TColor FItemHighlightColor = clHighlight;
};

class TGwRadioGroup : public TGwCustomItemGroup {
public:
    explicit TGwRadioGroup(TComponent* AOwner);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    TGwRadioButton* Buttons(int Index) const { return static_cast<TGwRadioButton*>(Item(Index)); }
    TGwIndexChangingEvent OnChanging;

protected:
    TGwCustomGlyphButton* CreateItem() override;
    void ItemsChange() override;
    virtual bool CanChange(int NewIndex);

private:
    void ButtonClick(TObject* Sender);
    int FItemIndex = -1;
    bool FClicking = false;
};

class TGwCheckGroup : public TGwCustomItemGroup {
public:
    explicit TGwCheckGroup(TComponent* AOwner);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value);
    TGwCheckBox* Checks(int Index) const { return static_cast<TGwCheckBox*>(Item(Index)); }
    bool ItemChecked(int Index) const { return Checks(Index)->Checked(); }
    TCheckBoxState ItemState(int Index) const { return Checks(Index)->State(); }
    void SetItemState(int Index, TCheckBoxState Value) { Checks(Index)->SetState(Value); }
    // The stored "CheckStates" list: one state ordinal per item; read states apply on Loaded.
    std::vector<int> WriteCheckStates() const;
    void ReadCheckStates(const std::vector<int>& States) { FCheckStates = States; }
    void Loaded() override;
    TStateChangeEvent OnChange;

protected:
    TGwCustomGlyphButton* CreateItem() override;

private:
    void CheckClick(TObject* Sender);
    bool FAllowGrayed = false;
    std::vector<int> FCheckStates;
};
