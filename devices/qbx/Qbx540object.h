// The QBX-540 controller: main settings (address, counts), up to 31 analog channels each with a
// conversion settings channel and a bound value channel. Device layer.
#pragma once

#include <cstdint>
#include <string>

#include "deviceitem.h"
#include "qbxdata.h"

class TQbx540Item : public TDeviceItem {
public:
    TQbx540Item(uint16_t number, ELEMList* channels, actionManager* store);
    ~TQbx540Item() override;

    bool GetParamValueText(TParamItem* p, std::string& text) override;
    bool SetParamValueText(TParamItem* p, const std::string& text) override;
    void ListSignalParams(ELEMList* list, bool all) override;
    void BindParam(uint16_t type, uint8_t index, TParamItem* p) override;
    void ListSetpoints(TStrings* s, TParamItem* p) override;
    void GetSetpointText(int n, TParamItem* p, std::string& text) override;
    TWinControl* CreateSetpointEditor(TParamItem* p, int n, TWinControl* host, TNotifyEvent hostEvent,
                                      TNotifyEvent doneEvent) override;
    void GetPropertyNames(TStrings* s) override;
    void GetPollCommandNames(TStrings* s) override;
    void GetPropertyText(int row, std::string& text) override;

    void ApplyAnalogEditor(TObject* sender);
    // What the editors apply: set-point row n of an analog value (text for rows 0-3, item for 4-5)
    // and a property row's text. False when nothing was applied.
    bool ApplyAnalogValue(TParamItem* p, int n, const std::string& text, int item);
    void ApplyPropertyValue(int row, const std::string& text) override;

    int AnalogCount() const; // N, never above 31
    TParamItem* Settings(int slot) const { return m_settings[slot]; }
    TParamItem* Analog(int k) const { return m_value[k]; }
    uint16_t SubprogramId(int k) const { return m_sub[k]; }

protected:
    RowEditor PropertyRowEditor(int row) const override;

private:
    int ValueOf(const TParamItem* p) const;
    void AddAnalog(int k, bool fromEditor);
    void MakeValue(int k);
    void SetCount(int count);

    uint16_t m_sub[5] = {};
    TParamItem* m_settings[qbx::kQbx540Slots] = {};
    TParamItem* m_value[qbx::kQbx540MaxAnalog] = {};
};
