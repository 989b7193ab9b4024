// The one exception boundary as code outside the GUI core reaches it: a handler a control calls in
// the middle of its own work (a paint, a drop, a page shown) runs as a delivery, and what it throws
// is reported once to Application->HandleException(Sender) while the control goes on. GUI core.
#pragma once

#include <functional>

class TObject;

void RunHandler(TObject* Sender, const std::function<void()>& Handler);
