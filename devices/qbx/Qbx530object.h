// The cell controller QBX-530 and the discrete-input controller QBX-550: two descriptions run by the
// driver engine. Inputs are signal channels bound by the user; three settings channels keep the
// network address, the inputs' addresses and the control-channel table, which this class adds to the
// engine: an input can be chosen as a control channel. Device layer.
#pragma once

#include <cstdint>
#include <string>

#include "deviceengine.h"
#include "qbxdata.h"

class TQbxCellItem : public TDeviceEngine {
public:
    bool SetParamValueText(TParamItem* p, const AnsiString& text) override;
    AnsiString GetParamDescription(TParamItem* p) override;
    // Moves the control-table entries of a control input along with its binding.
    void BindParam(uint16_t type, uint8_t index, TParamItem* p) override;
    void ListSetpoints(TStrings* s, TParamItem* p) override;
    void GetSetpointText(int n, TParamItem* p, AnsiString& text) override;
    TWinControl* CreateSetpointEditor(TParamItem* p, int n, TWinControl* host, TNotifyEvent hostEvent,
                                      TNotifyEvent doneEvent) override;

    void ApplyControlEditor(TObject* sender);
    // What the editor applies: the control choice (item of "Нет", "Канал 1", "Канал 2",
    // "ВКЛ. ТУ1, ОТКЛ. ТУ2") for an input.
    void ApplyControlChoice(TParamItem* p, int item);

    int InputOf(const TParamItem* p) const; // 0-based input, -1 for other parameters

protected:
    TQbxCellItem(const qbx::CellDeviceDef& def, uint16_t number, ELEMList* channels, actionManager* store);
    std::string ValueText(int i) const override;

private:
    int Inputs() const { return FCell.device.SignalCount; }
    int AddressParam() const { return Inputs(); }
    int IndexTable() const { return Inputs() + 1; }
    int ControlTable() const { return Inputs() + 2; }
    uint16_t ControlId() const { return SubprogramId(FCell.controlSub); }
    bool IsControl(const TParamItem* p) const;
    AnsiString ControlText(const TParamItem* p) const;
    void NameParams();
    void Revert(TParamItem* p);
    void MakeControl(TParamItem* p);

    const qbx::CellDeviceDef& FCell;
};

class TQbx530Item : public TQbxCellItem {
public:
    TQbx530Item(uint16_t number, ELEMList* channels, actionManager* store);
};

class TQbx550Item : public TQbxCellItem {
public:
    TQbx550Item(uint16_t number, ELEMList* channels, actionManager* store);
};
