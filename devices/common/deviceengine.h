// The driver engine: one object class that implements the configuration model's operations from a
// class description (devicedef.h). A device class derives from it, hands it its constexpr
// TDeviceDef, and overrides an operation only where it really differs. Device layer.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "devicedef.h"
#include "deviceitem.h"

class TDeviceEngine : public TDeviceItem {
public:
    // Destruction in two phases: every parameter leaves the channel list and raises its rebind hook
    // while all of them still live (a handler may rebind a signal, which writes its index table),
    // then all are freed.
    ~TDeviceEngine() override;

    bool GetParamValueText(TParamItem* p, std::string& text) override;
    bool SetParamValueText(TParamItem* p, const std::string& text) override;
    std::string GetDisplayName() override;
    void SetNumber(uint16_t number) override;
    std::string GetParamDescription(TParamItem* p) override;
    void ListSignalParams(ELEMList* list, bool all) override;
    // Binds a signal and records it in its index-table entry; (0, 0) unbinds. Refused with a
    // message, changing nothing, when another channel holds the address.
    void BindParam(uint16_t type, uint8_t index, TParamItem* p) override;
    void ListSetpoints(TStrings* s, TParamItem* p) override;
    void GetPropertyNames(TStrings* s) override;
    void GetPollCommandNames(TStrings* s) override;
    void GetPropertyText(int row, std::string& text) override;
    // Command rows count from the first listed command (PollFirst).
    void GetCommandModeText(int n, std::string& out) override;
    TWinControl* CreateCommandModeEditor(int n, TWinControl* host, TNotifyEvent exitEvent,
                                         TNotifyEvent changed) override;
    TWinControl* CreatePropertyEditor(int row, TWinControl* host, TNotifyEvent exitEvent,
                                      TNotifyEvent doneEvent) override;
    void ApplyPropertyValue(int row, const std::string& text) override;
    void CheckConfiguration(TStrings* s) override;
    void CheckSubprogramVersions(TStrings* s) override;

    const dev::TDeviceDef& Def() const { return FDef; }
    int ParamCount() const { return static_cast<int>(FParam.size()); }
    TParamItem* Param(int i) const { return i >= 0 && i < ParamCount() ? FParam[i] : nullptr; }
    int IndexOf(const TParamItem* p) const; // position of one of the object's parameters, else -1
    uint16_t SubprogramId(int k) const { return FSub[k]; }
    uint16_t SlotId(int k) const; // SubprogramId, 0 for a slot the class does not have
    uint8_t InstanceByte() const { return dev::InstanceByte(FDef.NumberBase(), Number); }
    // The first settings parameter of a role, or null.
    TParamItem* Setting(dev::Role role) const;
    uint8_t NetworkAddress() const;
    // The rule of a signal position, or null for a settings position.
    const dev::ParamRule* RuleOf(int i) const;
    bool IsSignal(int i) const;
    // Position of settings parameter k of the description; the settings index at position i, or -1.
    int SettingPos(int k) const;
    int SettingAt(int i) const;
    // Where signal i is recorded: index-table parameter position and byte offset; false when none.
    bool EntryOf(int i, int& table, int& offset) const;
    // The address recorded for signal i (index-table entry or parse block); empty when none. The
    // parse block of signal i, read and written (an empty address writes the unbound form).
    dev::Address RecordedAddress(int i) const;
    dev::Address ReadBlock(int i) const;
    void WriteBlock(int i, dev::Address to);
    // The number a property row shows and edits, and the row's text in its format.
    uint32_t PropertyValue(const dev::PropertyDef& row) const;
    std::string PropertyText(const dev::PropertyDef& row) const;

protected:
    // Builds the whole object: subprograms, commands, the settings block (adopted by its fixed
    // addresses or created), the signals (adopted through the index tables or created), then, in
    // position order, each new signal joins the channel list and every parameter takes its position,
    // kind and type (a signal raises its change hook there). A derived class adds its own after this.
    TDeviceEngine(const dev::TDeviceDef& def, uint16_t number, ELEMList* channels, actionManager* store);

    // Parameter i leaves the engine's care: the derived class keeps or frees it (a destructor that
    // leaves channels on the list for the next object).
    void Detach(int i) { FParam[i] = nullptr; }
    // The value text of parameter i (hook).
    virtual std::string ValueText(int i) const;
    // "Объект "<display type> <display name>"", the head of every check line.
    std::string CheckHead();

private:
    void AdoptFree(const std::unordered_map<uint32_t, std::vector<int>>& wanted);
    // `fresh` marks the parameters made here, not yet on the channel list.
    void AdoptSettings(std::vector<bool>& fresh);
    void AdoptSignals(std::vector<bool>& fresh);
    void CreateSignal(int i, const std::vector<bool>& fresh);
    const dev::PropertyDef* PropertyRow(int row) const;
    bool BlockOf(int i, T_Action*& a, int& n) const;

    const dev::TDeviceDef& FDef;
    std::vector<uint16_t> FSub;
    std::vector<TParamItem*> FParam;
};

// A device class that is its description alone: one type per description D, so that a class
// name of the device type table can stay an alias of it.
template <const dev::TDeviceDef& D> class TDescribedDevice : public TDeviceEngine {
public:
    static constexpr const dev::TDeviceDef& Def = D;
    TDescribedDevice(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(D, number, channels, store) {}
};

namespace dev {

// A factory for the device type table: builds T. What stops the construction goes on to the
// manager, which names it to the user.
template <class T> TObjectItem* MakeDevice(uint16_t number, ELEMList* channels, actionManager* store) {
    return new T(number, channels, store);
}

} // namespace dev
