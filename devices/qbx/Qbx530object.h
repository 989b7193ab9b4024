// The cell controller QBX-530 and the discrete-input controller QBX-550: one engine, two data sets.
// Inputs are signal channels bound by the user; three settings channels keep the network address,
// the inputs' addresses and the control-channel table. Device layer.
#pragma once

#include <cstdint>
#include <string>

#include "deviceitem.h"
#include "qbxdata.h"

class TQbxCellItem : public TDeviceItem {
public:
    ~TQbxCellItem() override;

    bool GetParamValueText(TParamItem* p, AnsiString& text) override;
    bool SetParamValueText(TParamItem* p, const AnsiString& text) override;
    AnsiString GetDisplayName() override;
    void SetNumber(uint16_t number) override;
    AnsiString GetParamDescription(TParamItem* p) override;
    void ListSignalParams(ELEMList* list, bool all) override;
    void BindParam(uint16_t type, uint8_t index, TParamItem* p) override;
    void ListSetpoints(TStrings* s, TParamItem* p) override;
    void GetSetpointText(int n, TParamItem* p, AnsiString& text) override;
    TWinControl* CreateSetpointEditor(TParamItem* p, int n, TWinControl* host, TNotifyEvent hostEvent,
                                      TNotifyEvent doneEvent) override;
    void GetPropertyNames(TStrings* s) override;
    void GetPollCommandNames(TStrings* s) override;
    void GetPropertyText(int row, AnsiString& text) override;
    void CheckConfiguration(TStrings* s) override;
    void CheckSubprogramVersions(TStrings* s) override;

    void ApplyControlEditor(TObject* sender);
    // What the editors apply: the control choice (item of "Нет", "Канал 1", "Канал 2",
    // "ВКЛ. ТУ1, ОТКЛ. ТУ2") for an input, and a property row's text.
    void ApplyControlChoice(TParamItem* p, int item);
    void ApplyPropertyValue(int row, const std::string& text) override;

    TParamItem* Param(int i) const { return m_param[i]; }
    uint16_t SubprogramId(int k) const { return m_sub[k]; }
    int InputOf(const TParamItem* p) const; // 0-based input, -1 for other parameters
    uint8_t NetworkAddress() const;

protected:
    RowEditor PropertyRowEditor(int row) const override;
    TQbxCellItem(const qbx::CellDeviceDef& def, uint16_t number, ELEMList* channels, actionManager* store);

private:
    int AddressParam() const { return m_def.inputs; }
    int IndexTable() const { return m_def.inputs + 1; }
    int ControlTable() const { return m_def.inputs + 2; }
    int ParamCount() const { return m_def.inputs + 3; }
    uint8_t SettingsIndex(uint16_t number) const;
    uint16_t ControlId() const { return m_sub[m_def.controlSub]; }
    bool IsControl(const TParamItem* p) const;
    AnsiString ControlText(const TParamItem* p) const;
    void NameParams();
    void Revert(TParamItem* p);
    void MakeControl(TParamItem* p);

    const qbx::CellDeviceDef& m_def;
    uint16_t m_sub[6] = {};
    TParamItem* m_param[11] = {};
};

class TQbx530Item : public TQbxCellItem {
public:
    TQbx530Item(uint16_t number, ELEMList* channels, actionManager* store);
};

class TQbx550Item : public TQbxCellItem {
public:
    TQbx550Item(uint16_t number, ELEMList* channels, actionManager* store);
};
