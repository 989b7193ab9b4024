// The indicator controllers QBX-570-МЩ3 (up to 16 registers, edited in the indicator form) and
// QBX-570-МЩ1 (one register, a channel of its own at the address its settings hold): two
// descriptions run by the driver engine. Device layer.
#pragma once

#include <cstdint>
#include <string>

#include "deviceengine.h"
#include "qbxdata.h"

// What both controllers share beyond their descriptions: their values are never shown, and the
// display name carries the network and own address of the settings channel.
class TQbx570Item : public TDeviceEngine {
public:
    std::string GetDisplayName() override;

protected:
    using TDeviceEngine::TDeviceEngine;
    std::string ValueText(int i) const override;
};

class TQbx570mp3Item : public TQbx570Item {
public:
    static const dev::TDeviceDef Def;
    TQbx570mp3Item(uint16_t number, ELEMList* channels, actionManager* store);

    // Row 5 is the indicator button, which opens the form rather than editing a text.
    void GetPropertyText(int row, std::string& text) override;
    TWinControl* CreatePropertyEditor(int row, TWinControl* host, TNotifyEvent exitEvent,
                                      TNotifyEvent doneEvent) override;
    void ApplyPropertyValue(int row, const std::string& text) override;
    // Opens the indicator editor (the registered opener) on the channel list and this object.
    void ShowIndicatorEditor();
};

class TQbx570mp1Item : public TQbx570Item {
public:
    static const dev::TDeviceDef Def;
    TQbx570mp1Item(uint16_t number, ELEMList* channels, actionManager* store);

    // Row 4, the register, moves the register channel too, and only to an address nobody holds.
    void ApplyPropertyValue(int row, const std::string& text) override;
};
