// Registration of the Sirius and Orion terminals. Device layer.
#include "relayregister.h"

#include "Relayobjects.h"

namespace {

template <class T> constexpr TRelayClass Entry() { return {&T::Def, &dev::MakeDevice<T>}; }

const TRelayClass kClasses[] = {
    Entry<TSIRIUSDItem>(),     Entry<TSIRIUS2VItem>(),    Entry<TSIRIUS2LItem>(),
    Entry<TSIRIUS2LOLDItem>(), Entry<TSIRIUS2VOLDItem>(), Entry<TSIRIUS2MLOLDItem>(),
    Entry<TSIRIUS2SOLDItem>(), Entry<TSIRIUS2SItem>(),    Entry<TSIRIUSTNItem>(),
    Entry<TSIRIUSCSItem>(),    Entry<TORION2Item>(),      Entry<TORIONRTZItem>(),
};

} // namespace

std::span<const TRelayClass> RelayClasses() { return kClasses; }

void RegisterRelayDevices() {
    for (const TRelayClass& c : kClasses)
        RegisterDeviceClass(c.Def->Tag(), c.Factory);
}
