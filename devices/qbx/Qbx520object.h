// The switching-schedule controller QBX-520 ("УО"): two subprograms, the schedule editor, and the
// control-mode signal written into the schedule-checking subprogram. Device layer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "deviceitem.h"
#include "qbxdata.h"

class TQbx520Item : public TDeviceItem {
public:
    TQbx520Item(uint16_t number, ELEMList* channels, actionManager* store);

    bool GetParamValueText(TParamItem* p, std::string& text) override;
    bool SetParamValueText(TParamItem* p, const std::string& text) override;
    void GetPropertyNames(TStrings* s) override;
    void GetPropertyText(int row, std::string& text) override;
    TWinControl* CreatePropertyEditor(int row, TWinControl* host, TNotifyEvent exitEvent,
                                      TNotifyEvent doneEvent) override;
    void CheckConfiguration(TStrings* s) override;
    void CheckSubprogramVersions(TStrings* s) override;

    // The channels the row-2 list offers after "Нет": one-bit channels with an address.
    std::vector<TParamItem*> ControlCandidates();
    // Row-2 choice: 0 "Нет", k the k-th candidate.
    void ApplyControlChoice(int item);
    // Hands the channel list to the schedule editor and shows it.
    void ShowScheduleEditor();

    TParamItem* ControlChannel(); // null when none or no longer on the channel list
    uint16_t ScheduleId() const { return m_schedule; }
    uint16_t MainId() const { return m_main; }

private:
    void LoadSubprograms();
    T_Action* Schedule();             // null without a subprogram of at least seven instructions
    void WriteControl(TParamItem* c); // bound form for c, unbound form for null

    TParamItem* m_control = nullptr; // only dereferenced after it was found on the channel list
    uint16_t m_schedule = 0;
    uint16_t m_main = 0;
    std::vector<TParamItem*> m_offered;
};
