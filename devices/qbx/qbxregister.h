// Registration of the maker's device classes in the device type table. Device layer.
#pragma once

#include <span>

#include "Devicetypes.h"
#include "devicedef.h"

// One QBX class: its description and the factory of the device type table.
struct TQbxClass {
    const dev::TDeviceDef* Def;
    TObjectFactory Factory;
};

// QBX-510, QBX-520, QBX-540, QBX-530, QBX-550, QBX-560, QBX-570-МЩ3 and QBX-570-МЩ1, in type-code order.
std::span<const TQbxClass> QbxClasses();

// Registers every class under its tag. Call once at start-up (and in tests) before objects are
// added or a configuration is loaded; calling again is harmless.
void RegisterQbxDevices();
