// The concentrator object QBX-510: its 33 settings and signal channels, the signal bindings held in
// its message-parsing subprogram, property rows, check and export lines. Device layer.
#pragma once

#include <cstdint>
#include <string>

#include "deviceitem.h"
#include "qbxdata.h"

class TQbx510Item : public TDeviceItem {
public:
    TQbx510Item(uint16_t number, ELEMList* channels, actionManager* store);
    ~TQbx510Item() override;

    bool GetParamValueText(TParamItem* p, AnsiString& text) override;
    bool SetParamValueText(TParamItem* p, const AnsiString& text) override;
    AnsiString GetParamDescription(TParamItem* p) override;
    void ListSignalParams(ELEMList* list, bool all) override;
    void BindParam(uint16_t type, uint8_t index, TParamItem* p) override;
    void ListSetpoints(TStrings* s, TParamItem* p) override;
    void GetSetpointText(int row, TParamItem* p, AnsiString& text) override;
    TWinControl* CreateSetpointEditor(TParamItem* p, int row, TWinControl* parent, TNotifyEvent exitEvent,
                                      TNotifyEvent doneEvent) override;
    void GetPropertyNames(TStrings* s) override;
    void GetPropertyText(int row, AnsiString& text) override;
    void* GetPropertyData(int row) override;
    TWinControl* CreatePropertyEditor(int row, TWinControl* parent, TNotifyEvent exitEvent,
                                      TNotifyEvent doneEvent) override;
    void GetExportValues(TStrings* s) override;
    void CheckConfiguration(TStrings* s) override;
    void CheckSubprogramVersions(TStrings* s) override;

    void ReadSignalChannel(int signal, uint16_t& type, uint8_t& index);
    void WriteSignalChannel(int signal, uint16_t type, uint8_t index);
    void ApplySignalEditor(TObject* sender);
    void ApplyPropertyEditor(TObject* sender) override;

    // What the editors apply, without the controls: the signal rows (row 0 text, row 1 item),
    // the property rows by text and the check boxes of rows 7 and 8.
    void ApplySignalChoice(TParamItem* p, int row, const std::string& text, int item);
    void ApplyPropertyValue(int row, const std::string& text) override;
    void ApplyPropertyBit(int row, int bit, bool on);

    TParamItem* Param(int i) const { return m_param[i]; }
    uint16_t SubprogramId(int k) const { return m_sub[k]; }
    int SignalOf(const TParamItem* p) const; // 1..20, 32 for the temperature, 0 otherwise

private:
    void LoadSubprograms();
    int ControlSlot(const TParamItem* p); // 0..3, or 4 when absent from the control table
    uint8_t TuModeLow() const;
    bool IsSub(uint16_t id, int k) const { return id != 0 && id == m_sub[k]; }
    void Unbind(TParamItem* p);            // no control role, ParamType 3
    void SetInputMode(int input, bool ts); // bit of "Режим каналов ТС/ДТКЗ"
    void ClearControlEntryOf(const TParamItem* p);
    int ImpulseChannel(int row) const; // the channel a delay row stands for

    uint16_t m_sub[qbx::kQbx510SubCount] = {};
    TParamItem* m_param[qbx::kQbx510ParamCount] = {};
    AnsiString m_fontName = "Wingdings";
};
