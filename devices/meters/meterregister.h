// Registration of the meters and measuring devices in the device type table. Device layer.
#pragma once

#include <span>

#include "Devicetypes.h"
#include "devicedef.h"

// One meter class: its description and the factory of the device type table.
struct TMeterClass {
    const dev::TDeviceDef* Def;
    TObjectFactory Factory;
};

// The seven classes, in type-code order.
std::span<const TMeterClass> MeterClasses();

// Registers every meter class under its tag. Call once at start-up (and in tests) before objects
// are added or a configuration is loaded; calling again is harmless.
void RegisterMeterDevices();
