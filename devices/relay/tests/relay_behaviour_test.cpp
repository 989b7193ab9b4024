// What the terminals do with channels: bindings through the index tables across a save and a load,
// exclusive adoption, widening of stored tables, refused bindings, two-phase destruction, edits.
#include "relayfixture.h"

using namespace relaytest;

namespace {

class RelayBehaviour : public RelayTest, public ::testing::WithParamInterface<TRelayClass> {
protected:
    const dev::TDeviceDef& def = *GetParam().Def;
};

} // namespace
