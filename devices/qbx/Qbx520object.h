// The switching-schedule controller QBX-520 ("УО"): a description run by the driver engine (no
// parameters, no commands, the schedule-checking subprogram), and what the engine lacks: the main
// subprogram at its fixed id, the schedule editor, and the control-mode signal written into the
// schedule-checking subprogram. Device layer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "deviceengine.h"
#include "qbxdata.h"

class TQbx520Item : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TQbx520Item(uint16_t number, ELEMList* channels, actionManager* store);

    bool GetParamValueText(TParamItem* p, std::string& text) override;
    bool SetParamValueText(TParamItem* p, const std::string& text) override;
    std::string GetDisplayName() override;
    void GetPropertyNames(TStrings* s) override;
    void GetPropertyText(int row, std::string& text) override;
    TWinControl* CreatePropertyEditor(int row, TWinControl* host, TNotifyEvent exitEvent,
                                      TNotifyEvent doneEvent) override;

    // The channels the row-2 list offers after "Нет": one-bit channels with an address.
    std::vector<TParamItem*> ControlCandidates();
    // Row-2 choice: 0 "Нет", k the k-th candidate.
    void ApplyControlChoice(int item);
    // Opens the schedule editor (the registered opener) on the channel list.
    void ShowScheduleEditor();

    TParamItem* ControlChannel(); // null when none or no longer on the channel list
    uint16_t ScheduleId() const { return SubprogramId(0); }
    uint16_t MainId() const { return FMain; }

private:
    void LoadMainSubprogram();
    T_Action* Schedule();             // null without a subprogram of at least seven instructions
    void WriteControl(TParamItem* c); // bound form for c, unbound form for null

    TParamItem* FControl = nullptr; // only dereferenced after it was found on the channel list
    uint16_t FMain = 0;
    std::vector<TParamItem*> FOffered;
};
