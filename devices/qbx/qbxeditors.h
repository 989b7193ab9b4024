// In-place editors of the device objects: created hidden inside the host, not taking the host's
// font, three points smaller; the host shows, places and removes them. Device layer.
#pragma once

#include <string>
#include <vector>

#include "qbxmodel.h"

namespace qbx {

// Drop-down list (items not editable) with the item equal to `selected` chosen (none when absent).
TWinControl* MakeComboEditor(TWinControl* host, const std::vector<std::string>& items,
                             const std::string& selected, TNotifyEvent exitEvent, TNotifyEvent changeEvent);
// Edit box holding `text`.
TWinControl* MakeEditEditor(TWinControl* host, const std::string& text, TNotifyEvent exitEvent,
                            TNotifyEvent changeEvent);
// Button with a caption; clickEvent runs on a click.
TWinControl* MakeButtonEditor(TWinControl* host, const std::string& caption, TNotifyEvent exitEvent,
                              TNotifyEvent clickEvent);
// Panel of `count` 16×16 check boxes side by side, box k ticked when bit k of `bits` is set; each
// box's tag is its bit and clickEvent receives the box.
TWinControl* MakeBitPanel(TWinControl* host, int count, unsigned bits, TNotifyEvent exitEvent,
                          TNotifyEvent clickEvent);

// What an editor holds, read from the sender of its change event.
std::string EditorText(TObject* sender);  // edit or combobox text; empty for others
int EditorItem(TObject* sender);          // combobox item index; -1 for none or others
bool EditorCheck(TObject* sender, int& bit, bool& on); // a check box of a bit panel

} // namespace qbx
