// The ЦПТ QBX-560: a description run by the driver engine (eight temperatures bound by the user,
// the network address, the table of the temperatures' addresses), and what the engine lacks: two
// set-point channels for each of temperatures 1-7, bound at the temperature's index. Device layer.
#pragma once

#include <cstdint>
#include <string>

#include "deviceengine.h"
#include "qbxdata.h"

class TQbx560Item : public TDeviceEngine {
public:
    static const dev::TDeviceDef Def;
    TQbx560Item(uint16_t number, ELEMList* channels, actionManager* store);
    ~TQbx560Item() override;

    bool SetParamValueText(TParamItem* p, const std::string& text) override;
    std::string GetDisplayName() override;
    std::string GetParamDescription(TParamItem* p) override;
    // Binds the temperature as the engine does, then its set points at the same index.
    void BindParam(uint16_t type, uint8_t index, TParamItem* p) override;
    int GetSetpointCount(TParamItem* p) override;
    void GetSetpointValueText(TParamItem* p, int n, std::string& text) override;
    void SetSetpointValue(TParamItem* p, int n, const std::string& text) override;
    void GetCommandModeText(int n, std::string& text) override;

    TParamItem* SetpointValue(int s) const { return FSpValue[s]; }
    TParamItem* SetpointState(int s) const { return FSpState[s]; }

protected:
    std::string ValueText(int i) const override;

private:
    int TemperatureOf(const TParamItem* p) const; // 0..7, -1 for other parameters
    std::string AddressText() const;              // "a.b.c:d"
    // Binds (or unbinds) the set-point pair of temperature s at its index; false, and nothing
    // changed, when another channel holds the pair's addresses there.
    bool PlaceSetpoints(int s, bool bound);
    bool PairHeld(int s, uint8_t index) const; // a channel not of s's pair at 16/17:index
    std::string SetpointsRefused(int s, uint8_t index);

    TParamItem* FSpValue[8] = {};
    TParamItem* FSpState[8] = {};
};
