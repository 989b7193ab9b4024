// Registration of the Sirius and Orion terminals. Device layer.
#include "relayregister.h"

#include "Relayobjects.h"

namespace {

template <class T>
constexpr TRelayClass Entry()
{
    return {&T::Def, &dev::MakeDevice<T>};
}

const TRelayClass kClasses[] = {
    Entry<TSIRIUS2VItem>(),
};

} // namespace

std::span<const TRelayClass> RelayClasses() { return kClasses; }

void RegisterRelayDevices()
{
    for (const TRelayClass& c : kClasses)
        RegisterDeviceClass(c.Def->Tag, c.Factory);
}
