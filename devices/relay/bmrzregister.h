// Registration of the BMRZ terminals, the УЗА-10А.2 and the РС83-А2 in the device type table.
// Device layer.
#pragma once

#include "relayregister.h"

// The ten classes, in type-code order.
std::span<const TRelayClass> BmrzClasses();

// Registers every class above under its tag; calling again is harmless.
void RegisterBmrzDevices();
