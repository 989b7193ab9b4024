// Registration of the I/O modules, the Радон Риц, the ATI panel and the УКПМ unit in the device type
// table. Device layer.
#pragma once

#include <span>

#include "Devicetypes.h"
#include "devicedef.h"

// One engine class: its description and the factory of the device type table.
struct TIoClass {
    const dev::TDeviceDef* Def;
    TObjectFactory Factory;
};

// The four engine classes, in type-code order (the УКПМ unit is registered beside them).
std::span<const TIoClass> IoClasses();

// Registers every class above and the УКПМ unit under its tag; calling again is harmless.
void RegisterIoDevices();
