// The one kit of in-place editors: every editor of an object row, a set point, a poll command or a
// channel cell is described as data (a kind, its text and items, and the closure that applies a
// change) and built here, hidden inside the host, not taking the host's font, three points smaller
// (a list's items three pixels lower). The host shows, places and removes it. Configuration model
// layer (uses the GUI core).
#pragma once

#include <string>
#include <vector>

#include "classes.h"

class TWinControl;

enum class TEditorKind {
    Edit,     // edit box holding Text
    Choice,   // drop-down list of Items, the item equal to Text selected (none when absent)
    Combo,    // list of Items whose text may also be typed, holding Text
    Button,   // button captioned Text; Apply runs on a click
    BitPanel, // Count 16×16 check boxes side by side, box k ticked when bit k of Bits is set; each
              // box's tag is its bit and Apply receives the box
};

struct TEditorSpec {
    TEditorKind Kind = TEditorKind::Edit;
    std::string Text;
    std::vector<std::string> Items;
    int Count = 0;
    unsigned Bits = 0;
    TNotifyEvent Apply; // the change (click) handler: stores the edit, then tells the host
};

TWinControl* BuildEditor(TWinControl* host, TEditorSpec editorSpec, TNotifyEvent exitEvent);

// Shorthands of BuildEditor.
TWinControl* MakeComboEditor(TWinControl* host, const std::vector<std::string>& items,
                             const std::string& selected, TNotifyEvent exitEvent, TNotifyEvent changeEvent);
TWinControl* MakeEditEditor(TWinControl* host, const std::string& text, TNotifyEvent exitEvent,
                            TNotifyEvent changeEvent);
TWinControl* MakeButtonEditor(TWinControl* host, const std::string& caption, TNotifyEvent exitEvent,
                              TNotifyEvent clickEvent);
TWinControl* MakeBitPanel(TWinControl* host, int count, unsigned bits, TNotifyEvent exitEvent,
                          TNotifyEvent clickEvent);

// What an editor holds, read from the sender of its change event.
std::string EditorText(TObject* sender);               // edit or combobox text; empty for others
int EditorItem(TObject* sender);                       // combobox item index; -1 for none or others
bool EditorCheck(TObject* sender, int& bit, bool& on); // a check box of a bit panel
