// Registration of the maker's device classes in the device type table. Device layer.
#pragma once

// Registers QBX-510, QBX-520, QBX-530, QBX-540, QBX-550, QBX-560, QBX-570-МЩ3 and QBX-570-МЩ1 with
// the model's device type table. Call once at start-up (and in tests) before objects are added or
// a configuration is loaded; calling again is harmless.
void RegisterQbxDevices();
