// The QBX-540 controller: a description run by the driver engine (the main settings with address
// and counts, its commands, subprograms and rows), and what the engine lacks: a count of up to 31
// analog channels, each a conversion settings channel and a bound value channel, and the stored
// index tables it keeps but never makes. Device layer.
#pragma once

#include <cstdint>
#include <string>

#include "deviceengine.h"
#include "qbxdata.h"

class TQbx540Item : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TQbx540Item(uint16_t number, ELEMList* channels, actionManager* store);
    ~TQbx540Item() override;

    bool GetParamValueText(TParamItem* p, std::string& text) override;
    std::string GetDisplayName() override;
    void ListSignalParams(ELEMList* list, bool all) override;
    void BindParam(uint16_t type, uint8_t index, TParamItem* p) override;
    void ListSetpoints(TStrings* s, TParamItem* p) override;
    void GetSetpointText(int n, TParamItem* p, std::string& text) override;
    TWinControl* CreateSetpointEditor(TParamItem* p, int n, TWinControl* host, TNotifyEvent hostEvent,
                                      TNotifyEvent doneEvent) override;

    void ApplyAnalogEditor(TObject* sender);
    // What the editors apply: set-point row n of an analog value (text for rows 0-3, item for 4-5)
    // and a property row's text. False when nothing was applied.
    bool ApplyAnalogValue(TParamItem* p, int n, const std::string& text, int item);
    void ApplyPropertyValue(int row, const std::string& text) override;

    int AnalogCount() const; // N, never above 31
    TParamItem* Settings(int slot) const { return FSettings[slot]; }
    TParamItem* Analog(int k) const { return FValue[k]; }

protected:
    std::string ValueText(int i) const override;

private:
    int ValueOf(const TParamItem* p) const;
    void AddAnalog(int k, bool fromEditor);
    void MakeValue(int k);
    void SetCount(int count);

    TParamItem* FSettings[qbx::kQbx540Slots] = {}; // slot 0 is the engine's main settings
    TParamItem* FValue[qbx::kQbx540MaxAnalog] = {};
};
