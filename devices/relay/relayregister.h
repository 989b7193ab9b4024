// Registration of the Sirius and Orion terminals in the device type table. Device layer.
#pragma once

#include <span>

#include "Devicetypes.h"
#include "devicedef.h"

// One terminal class: its description and the factory of the device type table.
struct TRelayClass {
    const dev::TDeviceDef* Def;
    TObjectFactory Factory;
};

// The twelve classes, in type-code order.
std::span<const TRelayClass> RelayClasses();

// Registers every terminal class under its tag. Call once at start-up (and in tests) before
// objects are added or a configuration is loaded; calling again is harmless.
void RegisterRelayDevices();
