// The meters and measuring devices: classes of the driver engine, each holding its description
// (constexpr, in its own source file) and overriding only what its device does differently.
// Device layer.
#pragma once

#include "meterkit.h"

// Mercury 230 three-phase meter: set points on phase values, a password of six bytes, and the
// current scale, which lives in the shared parse subprogram and so holds for every Mercury 230.
class TMercury230Item : public TSetpointMeter {
public:
    static const dev::TDeviceDef Def;
    static const meter::SetpointDef Setpoints;
    TMercury230Item(uint16_t number, ELEMList* channels, actionManager* store)
        : TSetpointMeter(Def, Setpoints, number, channels, store) {}

    // Current readings are in units of 0.001 A × scale (1, 10 or 100). An absent parse subprogram,
    // one too short or without the push, reads as 1; an operand 0 reads as 1.
    uint16_t GetCurrentScale() const;
    // Writes the operand; false (nothing written) where GetCurrentScale reads no operand.
    bool SetCurrentScale(uint16_t scale);
    // Changes the scale and keeps every Mercury 230's current set points in amperes, truncated
    // toward zero; a set point the new scale cannot hold in 16 bits refuses the change with a
    // message naming it, and the scale and every set point stay.
    void ChangeCurrentScale(uint16_t scale);

    bool GetParamValueText(TParamItem* p, std::string& text) override;
    void FormatParamValue(TParamItem* p, std::string& out) override;
    void GetPropertyText(int row, std::string& text) override;
    void ApplyPropertyValue(int row, const std::string& text) override;
    void CheckConfiguration(TStrings* s) override;
    void CheckSubprogramVersions(TStrings* s) override;
    int SetpointFactor(int i) const override;

protected:
    std::string ValueText(int i) const override;

private:
    void RescaleCurrentSetpoints(uint16_t from, uint16_t to);
    // The message of the first current set point that does not fit at scale `to`; empty when all do.
    std::string CurrentSetpointPastScale(uint16_t from, uint16_t to) const;
    void ApplyPasswordType(const std::string& text);
    void ApplyPassword(const std::string& text);
};

// ИПЦ-6806 transducer: six discrete inputs and measured values, a 16-bit address.
class TIPCItem : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TIPCItem(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}

    bool SetParamValueText(TParamItem* p, const std::string& text) override;
    std::string GetDisplayName() override;
    void GetCommandModeText(int n, std::string& out) override;

protected:
    std::string ValueText(int i) const override;
};

// SET-4TM meter: set points on phase values and the meter constant.
class TSet4TMItem : public TSetpointMeter {
public:
    static const dev::TDeviceDef Def;
    TSet4TMItem(uint16_t number, ELEMList* channels, actionManager* store);

    bool GetParamValueText(TParamItem* p, std::string& text) override;
    void CheckConfiguration(TStrings* s) override;
    void CheckSubprogramVersions(TStrings* s) override;

protected:
    std::string ValueText(int i) const override;
};

// SET-4TM that the concentrator only listens to: no poll commands.
class TSet4TMLisItem : public TSetpointMeter {
public:
    static const dev::TDeviceDef Def;
    TSet4TMLisItem(uint16_t number, ELEMList* channels, actionManager* store);

    bool GetParamValueText(TParamItem* p, std::string& text) override;
    void CheckConfiguration(TStrings* s) override;
    void CheckSubprogramVersions(TStrings* s) override;

protected:
    std::string ValueText(int i) const override;
};

// КЭЯ "Знак+" cell controller: seven discrete inputs, each with the code of the telecontrol
// channels that switch it.
class TKYAZNAKItem : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TKYAZNAKItem(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}

    bool GetParamValueText(TParamItem* p, std::string& text) override;
    void ListSetpoints(TStrings* s, TParamItem* p) override;
    void GetSetpointText(int n, TParamItem* p, std::string& out) override;
    TWinControl* CreateSetpointEditor(TParamItem* p, int n, TWinControl* host, TNotifyEvent hostEvent,
                                      TNotifyEvent editDone) override;
    // Stores the chosen code of the input being edited, then tells the host.
    void ApplyControlCode(TObject* sender);

protected:
    std::string ValueText(int i) const override;
};

// КЭЯ "Знак+" (ИКС): the cell controller with three-phase totals and set points.
class TKYAZNAKXItem : public TSetpointMeter {
public:
    static const dev::TDeviceDef Def;
    static const meter::SetpointDef Setpoints;
    TKYAZNAKXItem(uint16_t number, ELEMList* channels, actionManager* store)
        : TSetpointMeter(Def, Setpoints, number, channels, store) {}

    bool GetParamValueText(TParamItem* p, std::string& text) override;
    void ListSetpoints(TStrings* s, TParamItem* p) override;
    void GetSetpointText(int n, TParamItem* p, std::string& out) override;
    TWinControl* CreateSetpointEditor(TParamItem* p, int n, TWinControl* host, TNotifyEvent hostEvent,
                                      TNotifyEvent editDone) override;
    void ApplyControlCode(TObject* sender);

protected:
    std::string ValueText(int i) const override;
};

// ЩМ-120(ЩМ-96) panel meter: six discrete inputs and 29 measured values.
class TSCHM120Item : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TSCHM120Item(uint16_t number, ELEMList* channels, actionManager* store)
        : TDeviceEngine(Def, number, channels, store) {}

protected:
    std::string ValueText(int i) const override;
};
