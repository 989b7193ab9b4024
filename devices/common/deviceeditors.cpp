// The registered openers of the device editors. Device layer.
#include "deviceeditors.h"

#include <utility>

namespace dev {

namespace {

TDeviceEditorOpener& Slot(DeviceEditor editor) {
    static TDeviceEditorOpener slots[2];
    return slots[static_cast<size_t>(editor)];
}

} // namespace

TDeviceEditorOpener SetDeviceEditorOpener(DeviceEditor editor, TDeviceEditorOpener opener) {
    return std::exchange(Slot(editor), std::move(opener));
}

bool OpenDeviceEditor(DeviceEditor editor, const DeviceEditorRequest& request) {
    // A copy, so that an opener that registers another while it runs stays alive to its end.
    const TDeviceEditorOpener opener = Slot(editor);
    if (!opener)
        return false;
    opener(request);
    return true;
}

} // namespace dev
