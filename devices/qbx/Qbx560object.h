// The ЦПТ QBX-560: eight temperature channels bound by the user, its network address, the table of
// the temperatures' addresses, and two set-point channels for each of temperatures 1-7. Device layer.
#pragma once

#include <cstdint>
#include <string>

#include "deviceitem.h"
#include "qbxdata.h"

class TQbx560Item : public TDeviceItem {
public:
    TQbx560Item(uint16_t number, ELEMList* channels, actionManager* store);
    ~TQbx560Item() override;

    bool GetParamValueText(TParamItem* p, std::string& text) override;
    bool SetParamValueText(TParamItem* p, const std::string& text) override;
    std::string GetDisplayName() override;
    void SetNumber(uint16_t number) override;
    std::string GetParamDescription(TParamItem* p) override;
    void ListSignalParams(ELEMList* list, bool all) override;
    void BindParam(uint16_t type, uint8_t index, TParamItem* p) override;
    int GetSetpointCount(TParamItem* p) override;
    void GetSetpointValueText(TParamItem* p, int n, std::string& text) override;
    void SetSetpointValue(TParamItem* p, int n, const std::string& text) override;
    void GetPropertyNames(TStrings* s) override;
    void GetPollCommandNames(TStrings* s) override;
    void GetPropertyText(int row, std::string& text) override;
    void GetCommandModeText(int n, std::string& text) override;
    void CheckConfiguration(TStrings* s) override;
    void CheckSubprogramVersions(TStrings* s) override;

    void ApplyPropertyValue(int row, const std::string& text) override;

    TParamItem* Param(int i) const { return m_param[i]; }
    TParamItem* SetpointValue(int s) const { return m_spValue[s]; }
    TParamItem* SetpointState(int s) const { return m_spState[s]; }
    uint16_t SubprogramId(int k) const { return m_sub[k]; }

protected:
    RowEditor PropertyRowEditor(int row) const override;

private:
    int TemperatureOf(const TParamItem* p) const; // 0..7, -1 for other parameters
    std::string AddressText() const;              // "a.b.c:d"
    // Binds (or unbinds) the set-point pair of temperature s at its index; false, and nothing
    // changed, when another channel holds the pair's addresses there.
    bool PlaceSetpoints(int s, bool bound);
    bool PairHeld(int s, uint8_t index) const; // a channel not of s's pair at 16/17:index
    std::string SetpointsRefused(int s, uint8_t index);

    uint16_t m_sub[4] = {};
    TParamItem* m_param[10] = {};
    TParamItem* m_spValue[8] = {};
    TParamItem* m_spState[8] = {};
};
