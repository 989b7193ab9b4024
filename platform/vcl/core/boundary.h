// The one exception boundary as code outside the GUI core reaches it: a handler a control calls in
// the middle of its own work (a paint, a drop, a page shown) runs as a delivery, and what it throws
// is reported once to Application->HandleException(Sender) while the control goes on. GUI core.
#pragma once

#include <functional>

class TObject;

void RunHandler(TObject* Sender, const std::function<void()>& Handler);
// The program's own run (start-up, then the message loop) under the same catch. It is no delivery:
// between the handlers the loop delivers, no control is inside its own event. False when something
// escaped and was reported.
bool RunGuarded(TObject* Sender, const std::function<void()>& Body);
