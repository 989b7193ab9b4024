// The editors a device object opens beyond its property rows (the QBX-520's schedule, the
// QBX-570-МЩ3's indicator choice) are forms of the user interface: the program registers an opener
// for each at start-up, so this layer names no form. Device layer.
#pragma once

#include <cstdint>
#include <functional>

struct ELEMList;

namespace dev {

enum class DeviceEditor : uint8_t {
    Schedule,  // the QBX-520's switching schedule
    Indicator, // the QBX-570-МЩ3's indicator channels
};

// What an editor works on: the configuration's channel list and the asking object's number.
struct DeviceEditorRequest {
    ELEMList* Channels;
    uint16_t ObjectNumber;
};

// Shows the editor modally and returns when it is closed.
using TDeviceEditorOpener = std::function<void(const DeviceEditorRequest&)>;

// Registers the opener of one editor (an empty one: none) and returns the one it replaces.
TDeviceEditorOpener SetDeviceEditorOpener(DeviceEditor editor, TDeviceEditorOpener opener);
// Opens the editor through its opener; false, doing nothing, while none is registered.
bool OpenDeviceEditor(DeviceEditor editor, const DeviceEditorRequest& request);

} // namespace dev
