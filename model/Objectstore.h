// Device objects, channels and poll commands: TObjectItem with its 26 virtual operations, TParamItem
// with its value bytes, TCommandItem and the selection pointer elements. Configuration model layer.
#pragma once

#include <cassert>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>

#include "Paramtypes.h"
#include "classes.h"
#include "elem.h"

class TWinControl;
class actionManager;
class TObjectItem;

inline constexpr int kParamValueSize = 256;
inline constexpr const char* kNoNameChannel = "<без названия>";

// A channel's value bytes, stored to the channel's width: up to kInline bytes inside the object, more
// on the heap. Indexing behaves as on a fixed buffer of kParamValueSize bytes, because device objects
// address fixed offsets of adopted channels whose stored width may be narrower: a byte never stored
// reads as the last fill (0 at first), and a write there stores the bytes up to it first.
class TParamValue {
public:
    static constexpr int kInline = 8;

    TParamValue() = default;
    ~TParamValue();

    // The bytes in use: ceil(width / 8) of the channel's width, at most kParamValueSize.
    int size() const { return fSize; }
    // size() bytes, valid until the width changes or a write lands past the stored bytes.
    uint8_t* data() { return Bytes(); }
    const uint8_t* data() const { return Bytes(); }
    // Byte i, 0 <= i < kParamValueSize, in use or not.
    uint8_t operator[](int i) const {
        assert(i >= 0 && i < kParamValueSize);
        return i < fStored ? Bytes()[i] : fFill;
    }
    uint8_t& operator[](int i) {
        assert(i >= 0 && i < kParamValueSize);
        if (i >= fStored)
            Store(i + 1);
        return Bytes()[i];
    }
    // Every byte, in use or not, becomes b.
    void Fill(uint8_t b);
    // Copies n bytes (n <= kParamValueSize) to the front, those past the width too.
    void Assign(const uint8_t* src, int n);

private:
    // Copied only with its channel, which keeps the width and the size in step.
    friend class TParamItem;
    TParamValue(const TParamValue& other);
    TParamValue& operator=(const TParamValue& other);
    // n bytes in use (n <= kParamValueSize); bytes past them are kept for a later widening.
    void Resize(int n);
    // Stores at least the first n bytes.
    void Store(int n);
    bool OnHeap() const { return fStored > kInline; }
    uint8_t* Bytes() { return OnHeap() ? fHeap : fInline; }
    const uint8_t* Bytes() const { return OnHeap() ? fHeap : fInline; }

    union {
        uint8_t fInline[kInline] = {};
        uint8_t* fHeap;
    };
    uint16_t fSize = 0;
    uint16_t fStored = kInline; // bytes held, inline or on the heap
    uint8_t fFill = 0;          // what the bytes past fStored hold
};

// A TNotifyEvent that takes 8 bytes until one is set: only a channel whose cell is being edited has one.
// Set, tested and raised as a TNotifyEvent; copies copy the closure.
class TSparseNotifyEvent {
public:
    TSparseNotifyEvent() = default;
    TSparseNotifyEvent(const TSparseNotifyEvent& other) { *this = other; }
    TSparseNotifyEvent(TSparseNotifyEvent&&) noexcept = default;
    TSparseNotifyEvent& operator=(const TSparseNotifyEvent& other) {
        if (this != &other)
            fEvent = other.fEvent ? std::make_unique<TNotifyEvent>(*other.fEvent) : nullptr;
        return *this;
    }
    TSparseNotifyEvent& operator=(TSparseNotifyEvent&&) noexcept = default;
    // Anything a TNotifyEvent takes, an empty closure or nullptr included.
    template <class F>
    requires(!std::is_same_v<std::remove_cvref_t<F>, TSparseNotifyEvent>) TSparseNotifyEvent&
    operator=(F&& f) {
        TNotifyEvent event(std::forward<F>(f));
        fEvent = event ? std::make_unique<TNotifyEvent>(std::move(event)) : nullptr;
        return *this;
    }

    explicit operator bool() const { return fEvent != nullptr; }
    void operator()(TObject* sender) const {
        if (!fEvent)
            throw std::bad_function_call();
        (*fEvent)(sender);
    }

private:
    std::unique_ptr<TNotifyEvent> fEvent;
};

class TChannelIndex;

// A part of a channel's address: read as its value, written only through TParamItem::SetAddress,
// which keeps the index of the channel's list up to date.
template <class T> class TAddressPart {
public:
    operator T() const { return fValue; }

private:
    friend class TParamItem;
    T fValue = 0;
};

// Channel kinds: the configuration manager renumbers kinds 2 and 3 only.
enum : uint8_t { kChannelBuiltIn = 0, kChannelSetting = 1, kChannelMeasured = 2, kChannelSignal = 3 };

// A device parameter or a channel of the concentrator; lives on the configuration's channel list.
class TParamItem : public ELEM {
public:
    TParamItem();
    virtual ~TParamItem();

    // Ordered by size to leave no padding: a configuration holds tens of thousands of channels.
    TSparseNotifyEvent OnEditDone; // raised after an in-place edit of one of its cells was applied
    uint32_t EditColumn = 0;       // grid column being edited
    uint8_t Kind = 0;              // kChannel*
    uint8_t ParamType = 0;         // 0..26, see ParamTypeNames
    uint8_t RamDepth = 0;
    TAddressPart<uint8_t> ChannelIndex; // with ChannelType the channel address; 0/0 is unbound
    actionManager* Store = nullptr;     // offers the subprograms of the two handler columns
    TObjectItem* Owner = nullptr;       // null for a channel of the concentrator itself
    std::string Name = kNoNameChannel;
    TAddressPart<uint16_t> ChannelType;
    uint16_t WriteHandler = 0; // subprogram ids, 0 = none
    uint16_t ChangeHandler = 0;
    uint16_t Ordinal = 0; // position in the owner's parameter table, from 1
    uint8_t ValueEditable = 1;
    uint8_t Flag2 = 1;

private:
    uint16_t fBitWidth = 0; // only through SetBitWidth, which sizes the value
    friend class TChannelIndex;
    // Kept by the index of its list (fills the padding here): its place on the list and the next
    // channel at its address, so the index needs no entry of its own per channel.
    uint32_t fOrder = 0;
    TChannelIndex* fKeeper = nullptr; // the index of the list it is on, if that list has one
    TParamItem* fNextAt = nullptr;

public:
    TParamValue Value; // ValueBytes() bytes in use

    // The one way to change the address: the index of the list the channel is on follows it.
    void SetAddress(uint16_t type, uint8_t index);
    uint16_t BitWidth() const { return fBitWidth; }
    // The value follows: new bytes read as before (0, or the fill of the last RAM-depth change).
    void SetBitWidth(uint16_t bits);
    // ceil(BitWidth / 8), never more than kParamValueSize.
    int ValueBytes() const { return Value.size(); }
    // Sets the RAM depth; a change refills the value with 0x00 (depth 0) or 0xFF.
    void SetRamDepth(uint8_t depth);
};

// A poll command of an object.
class TCommandItem : public ELEM {
public:
    TCommandItem() = default;
    virtual ~TCommandItem() = default;

    std::string Name;
    uint16_t Number = 0;   // from 1 within the object
    uint8_t Execute = 0;   // 1 when executed
    uint8_t Period = 0;    // period code; 0 = no period of its own, 255 = every session
    uint16_t Prepare = 0;  // subprogram that prepares the query
    uint16_t Parse = 0;    // subprogram that parses the answer
    uint16_t NoAnswer = 0; // subprogram run when there is no answer
};

// Selections hand out these instead of moving the elements; they never own what they point to.
class TObjectItemP : public ELEM {
public:
    explicit TObjectItemP(TObjectItem* o) : Item(o) {}
    TObjectItem* Item;
};

class TParamItemP : public ELEM {
public:
    explicit TParamItemP(TParamItem* p) : Item(p) {}
    TParamItem* Item;
};

// What an object-tree node offers the tree editors; the tree adapts its own node type to it.
class TObjectTreeNode {
public:
    virtual ~TObjectTreeNode() = default;
    virtual std::string GetText() const = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual TObjectTreeNode* GetParent() const = 0;     // null for a top-level node
    virtual TObjectTreeNode* GetFirstChild() const = 0; // null when it has none
};

// Base class of every object of a configuration. Virtual operations keep this slot order.
// Editors are created hidden inside the host, which shows, positions and removes them; a null
// result means the cell is not editable.
class TObjectItem : public ELEM {
public:
    explicit TObjectItem(uint16_t number);
    TObjectItem(const TObjectItem&) = delete;
    TObjectItem& operator=(const TObjectItem&) = delete;
    virtual ~TObjectItem(); // frees the poll commands

    virtual TWinControl* CreateTreeEditor(TObjectTreeNode* node, TWinControl* host);
    virtual void ApplyTreeEditor(TObjectTreeNode* node, const std::string& text);
    virtual bool GetParamValueText(TParamItem* param, std::string& out);
    virtual bool SetParamValueText(TParamItem* param, const std::string& text);
    virtual std::string GetDisplayName();
    virtual void SetNumber(uint16_t number);
    virtual std::string GetParamDescription(TParamItem* param);
    virtual void ListSignalParams(ELEMList* list, bool all);
    virtual void BindParam(uint16_t channelType, uint8_t channelIndex, TParamItem* param);
    virtual void ListSetpoints(TStrings* strings, TParamItem* param);
    virtual void GetSetpointText(int n, TParamItem* param, std::string& out);
    virtual TWinControl* CreateSetpointEditor(TParamItem* param, int n, TWinControl* host,
                                              TNotifyEvent hostEvent, TNotifyEvent editDone);
    virtual int GetSetpointCount(TParamItem* param);
    virtual void GetSetpointValueText(TParamItem* param, int n, std::string& out);
    virtual void SetSetpointValue(TParamItem* param, int n, const std::string& text);
    virtual void FormatParamValue(TParamItem* param, std::string& out);
    virtual void GetPropertyNames(TStrings* strings);
    virtual void GetPollCommandNames(TStrings* strings);
    virtual void GetPropertyText(int row, std::string& out);
    virtual void* GetPropertyData(int row);
    virtual void GetCommandModeText(int n, std::string& out);
    virtual TWinControl* CreatePropertyEditor(int row, TWinControl* host, TNotifyEvent exitEvent,
                                              TNotifyEvent changed);
    virtual TWinControl* CreateCommandModeEditor(int n, TWinControl* host, TNotifyEvent exitEvent,
                                                 TNotifyEvent changed);
    virtual void GetExportValues(TStrings* strings);
    virtual void CheckConfiguration(TStrings* strings);
    virtual void CheckSubprogramVersions(TStrings* strings);

    std::string DisplayType; // root node text of the object tree, e.g. the device type
    std::string Tag;         // stored as the object's type
    uint16_t Number = 0;
    uint16_t MessageHandler = 0; // message-handling subprogram id, 0 = none
    uint8_t Period = 0;          // poll period code
    ELEMList Commands;           // TCommandItem, owned

    // Poll command n (0-based, walking order), or null.
    TCommandItem* CommandAt(int n) const;
    int CommandCount() const;
    // Applies the period editor's text; a refused count keeps the old code and is reported.
    void ApplyPeriodText(const std::string& text);
    // The tree node the period editor serves: "Период опроса" right under this object's root.
    bool IsPeriodNode(TObjectTreeNode* node);
};

// What a device object could not take over as stored, or a request it refused. While a load runs
// the configuration manager collects these as load problems; otherwise they are shown in a
// message box.
void ReportConfigurationProblem(const std::string& text);
// Reports a number typed for `field` that lies outside lo..hi, in the one form of such refusals.
// `unit`, when given, follows the range (" с единицей …").
void ReportNumberRefused(const std::string& field, const std::string& text, int64_t lo, int64_t hi,
                         const std::string& unit = {});
// Reports a typed period not taken: its count outside 0..63, or a number with no unit letter.
void ReportPeriodRefused(const std::string& field, const TPeriodRefusal& refused);
// Reads a number of lo..hi from text into out. One outside that range is reported with `field` and
// the range (false); a text that is not a number is false without a report.
bool ReadNumberInRange(const std::string& text, int64_t lo, int64_t hi, const std::string& field,
                       int64_t& out);
using TProblemSink = std::function<void(const std::string&)>;
// Routes the reports to sink (none: message boxes); returns the sink it replaces.
TProblemSink SetConfigurationProblemSink(TProblemSink sink);

// Channel cells of the main window's grids (columns 4 value, 5/6 handlers, 7 RAM depth).
std::string GetChannelDescription(TParamItem* param);
TWinControl* CreateChannelPropertyEditor(TParamItem* param, int column, TWinControl* host,
                                         TNotifyEvent hostEvent, TNotifyEvent editDone);
void ApplyChannelPropertyEditor(TParamItem* param, TObject* editor);
// The apply step on text alone (the editor's text); the editor above calls it.
void ApplyChannelPropertyText(TParamItem* param, const std::string& text, TObject* sender);
// The value column's text of a channel without an owner: its bytes in decimal joined by ",".
std::string ChannelValueText(const TParamItem* param);
