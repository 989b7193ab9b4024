// Registration of the meters and measuring devices. Device layer.
#include "meterregister.h"

#include "Meterobjects.h"

namespace {

template <class T> constexpr TMeterClass Entry() { return {&T::Def, &dev::MakeDevice<T>}; }

const TMeterClass kClasses[] = {
    Entry<TSCHM120Item>(), Entry<TIPCItem>(),      Entry<TMercury230Item>(), Entry<TSet4TMItem>(),
    Entry<TKYAZNAKItem>(), Entry<TKYAZNAKXItem>(), Entry<TSet4TMLisItem>(),
};

} // namespace

std::span<const TMeterClass> MeterClasses() { return kClasses; }

void RegisterMeterDevices() {
    for (const TMeterClass& c : kClasses)
        RegisterDeviceClass(c.Def->Tag(), c.Factory);
}
