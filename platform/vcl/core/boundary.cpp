// The public entry to the exception boundary. GUI core (platform/vcl).
#include "boundary.h"

#include "handle.h"

void RunHandler(TObject* Sender, const std::function<void()>& Handler) {
    TMessageBoundary::Run(Sender, Handler);
}

bool RunGuarded(TObject* Sender, const std::function<void()>& Body) {
    return TMessageBoundary::Guard(Sender, Body);
}
