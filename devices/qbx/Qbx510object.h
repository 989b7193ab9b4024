// The concentrator object QBX-510: a description run by the driver engine (33 settings and signal
// channels at fixed addresses, the signal bindings held in the parse blocks of its message parser),
// and what the engine lacks: the signal editor with the control-channel table, the property rows,
// check and export lines, and channels that outlive the object. Device layer.
#pragma once

#include <cstdint>
#include <string>

#include "deviceengine.h"
#include "qbxdata.h"

class TQbx510Item : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TQbx510Item(uint16_t number, ELEMList* channels, actionManager* store);
    ~TQbx510Item() override;

    bool SetParamValueText(TParamItem* p, const AnsiString& text) override;
    std::string GetDisplayName() override;
    AnsiString GetParamDescription(TParamItem* p) override;
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

    int SignalOf(const TParamItem* p) const; // 1..20, 32 for the temperature, 0 otherwise

protected:
    std::string ValueText(int i) const override;

private:
    int ControlSlot(const TParamItem* p) const; // 0..3, or 4 when absent from the control table
    uint8_t TuModeLow() const;
    bool IsSub(uint16_t id, int k) const { return id != 0 && id == SubprogramId(k); }
    void Unbind(TParamItem* p);            // no control role, ParamType 3
    void SetInputMode(int input, bool ts); // bit of "Режим каналов ТС/ДТКЗ"
    void ClearControlEntryOf(const TParamItem* p);
    int ImpulseChannel(int row) const; // the channel a delay row stands for

    AnsiString FFontName = "Wingdings";
};
