// The Gw check list (widget layer, lists): a tabbed list box whose items carry a three-state check
// box and an enabled flag, kept beside the texts and in a plain text file ("&1 1 text" lines).
#pragma once

#include <memory>
#include <vector>

#include "Gwlstbox.h"

// The state of one item (a plain value, copied with its item).
struct TPacket {
    TCheckBoxState State = cbUnchecked;
    bool Enabled = true;
};

class TGwCheckList;

// One line of the text format: "&", the enabled digit, a space, the state digit, a space, the text.
// A line that does not begin with "&", or is shorter than five characters, is a plain text
// (unchecked, enabled). A state that is not 0, 1 or 2 raises EConvertError.
struct TGwCheckListLine {
    std::string Text;
    TPacket Packet;
};
TGwCheckListLine DecodeCheckListLine(const std::string& Line);
std::string EncodeCheckListLine(const std::string& Text, const TPacket& Packet);

// A detached copy of check-list items with their packets.
class TPacketStringList : public TStringList {
public:
    TPacketStringList() = default;
    ~TPacketStringList() override;
    int AddObject(const std::string& S, TObject* AObject) override;
    void AddStrings(const TStrings* Strings) override;
    void Clear() override;
    TPacket* Packet(int Index) const { return FPackets.at(size_t(Index)).get(); }

private:
    std::vector<std::unique_ptr<TPacket>> FPackets;
};

// The items of a check list: texts and objects in the list box, one packet per item beside them.
class TGwCheckListStrings : public TStrings {
public:
    explicit TGwCheckListStrings(TGwCheckList* CheckList) : FCheckList(CheckList) {}
    ~TGwCheckListStrings() override;

    std::string Get(int Index) const override;
    void Put(int Index, const std::string& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    int GetCount() const override;
    int Add(const std::string& S) override;
    void AddStrings(const TStrings* Strings) override;
    void Clear() override;
    void Delete(int Index) override;
    void Exchange(int Index1, int Index2) override;
    void Insert(int Index, const std::string& S) override;
    void Move(int CurIndex, int NewIndex) override;
    // The text format, one "&" line per item; loading replaces the items.
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) const override;
    std::string FormattedText() const;
    void LoadFormatted(const TStrings* Lines);

    TPacket* Packet(int Index) const;

private:
    void CheckIndex(int Index) const;
    int InsertItem(int Index, const std::string& S);
    void AddDecoded(const std::string& Line, TObject* Object);
    // Replaces item Index by a text, object and packet values (the selection is left alone).
    void Replace(int Index, const std::string& S, TObject* Object, const TPacket& Values);

    TGwCheckList* FCheckList;
    std::vector<std::unique_ptr<TPacket>> FPackets;
};

using TStateChangeEvent = std::function<void(TObject* Sender, int Index, TCheckBoxState NewState)>;
using TStateChangingEvent =
    std::function<void(TObject* Sender, int Index, TCheckBoxState NewState, bool& AllowChange)>;

class TGwCheckList : public TGwCustomTabbedListBox {
public:
    explicit TGwCheckList(TComponent* AOwner);
    ~TGwCheckList() override;

    // Index errors raise EListError.
    bool ItemChecked(int Index) const { return GetItemChecked(Index); }
    virtual void SetItemChecked(int Index, bool Value) {
        SetItemState(Index, Value ? cbChecked : cbUnchecked);
    }
    bool ItemEnabled(int Index) const { return GetItemEnabled(Index); }
    virtual void SetItemEnabled(int Index, bool Value);
    TCheckBoxState ItemState(int Index) const { return GetItemState(Index); }
    // A new state repaints the item's check box.
    virtual void SetItemState(int Index, TCheckBoxState Value);

    int AddEx(const std::string& S, bool Checked, bool Enabled);
    void CheckAll();
    void UncheckAll();
    // Checked items, group headers not counted.
    int ItemsChecked() const;
    void SetGroupState(int GroupIndex, TCheckBoxState State);
    void CheckGroup(int GroupIndex) { SetGroupState(GroupIndex, cbChecked); }
    void UncheckGroup(int GroupIndex) { SetGroupState(GroupIndex, cbUnchecked); }
    void EnableGroup(int GroupIndex) { SetGroupEnabled(GroupIndex, true); }
    void DisableGroup(int GroupIndex) { SetGroupEnabled(GroupIndex, false); }
    void LoadFromFile(const std::string& FileName);
    void LoadFromStream(TStream* Stream) { FCheckItems->LoadFromStream(Stream); }
    void SaveToFile(const std::string& FileName) const;
    void SaveToStream(TStream* Stream) const { FCheckItems->SaveToStream(Stream); }
    // Toggles the current item, as a click on its box does.
    virtual void ToggleCheckState();

    bool AllowGrayed() const { return FAllowGrayed; }
    virtual void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
    TBitmap* CustomGlyphs() const { return FCustomGlyphs.get(); }
    // A non-empty strip turns the custom glyphs on; an empty one turns them off.
    virtual void SetCustomGlyphs(TBitmap* Value);
    bool UseCustomGlyphs() const { return FUseCustomGlyphs; }
    virtual void SetUseCustomGlyphs(bool Value);
    TColor HighlightColor() const { return FHighlightColor; }
    virtual void SetHighlightColor(TColor Value) { SetColour(FHighlightColor, Value); }
    TColor ItemFillColor() const { return FItemFillColor; }
    virtual void SetItemFillColor(TColor Value) { SetColour(FItemFillColor, Value); }
    TColor ItemFocusColor() const { return FItemFocusColor; }
    virtual void SetItemFocusColor(TColor Value) { SetColour(FItemFocusColor, Value); }
    TColor ItemFrameColor() const { return FItemFrameColor; }
    virtual void SetItemFrameColor(TColor Value) { SetColour(FItemFrameColor, Value); }
    TColor TransparentColor() const { return FTransparentColor; }
    virtual void SetTransparentColor(TColor Value) { SetColour(FTransparentColor, Value); }
    int GlyphWidth() const { return FGlyphWidth; }
    int GlyphHeight() const { return FGlyphHeight; }
    bool ToggleOnItemClick = false;

    TStateChangeEvent OnChange;
    TStateChangingEvent OnChanging;

protected:
    friend class TGwCheckListStrings;
    // Fills Glyph (resized to the glyph size) with the item's check box.
    virtual void SelectGlyph(int Index, TBitmap* Glyph);
    virtual bool GetItemChecked(int Index) const { return GetItemState(Index) == cbChecked; }
    virtual bool GetItemEnabled(int Index) const { return FCheckItems->Packet(Index)->Enabled; }
    virtual TCheckBoxState GetItemState(int Index) const { return FCheckItems->Packet(Index)->State; }
    virtual bool CanChange(int Index, TCheckBoxState NewState);
    virtual void Change(int Index, TCheckBoxState NewState);

    TStrings* GetItems() const override { return FCheckItems.get(); }
    int OwnerDrawItemIndent() const override { return FGlyphWidth + 8; }
    void UpdateItemHeight() override;
    void DrawListItem(int Index, TRect Rect, TOwnerDrawState State) override;
    int InitialTabStopOffset() override { return FGlyphWidth; }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void WMChar(TWMKey& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;

private:
    void CustomGlyphsChanged();
    void SetGroupEnabled(int GroupIndex, bool Value);
    void SetColour(TColor& Field, TColor Value);
    // The check box of an item in client coordinates, where a click toggles it.
    TRect GlyphZone(int Index) const;

    std::unique_ptr<TGwCheckListStrings> FCheckItems;
    std::unique_ptr<TBitmap> FCustomGlyphs;
    bool FDrawingSuspended = false;
    bool FAllowGrayed = false;
    bool FUseCustomGlyphs = false;
    bool FTogglePending = false;
    int FGlyphWidth = 13;
    int FGlyphHeight = 13;
    int FRememberedIndex = -1;
    TColor FTransparentColor = clOlive;
    TColor FHighlightColor = clHighlight;
    TColor FItemFillColor = clWindow;
    TColor FItemFocusColor = clWindow;
    TColor FItemFrameColor = clBtnShadow;
};

inline constexpr int CheckListGlyphFrames = 6;
