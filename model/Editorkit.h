// The one kit of in-place editors: every editor of an object row, a set point, a poll command or a
// channel cell is described as data (a kind, its text and items, and the closure that applies a
// change) and built by the kit the program installs at start-up (ui/editorkit/Ueditorkit.h), hidden inside
// the host, not taking the host's font, three points smaller (a list's items three pixels lower). The host
// shows, places and removes it. This layer names no control: until a kit is installed no editor is built.
// Configuration model layer.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "classes.h"

class TWinControl;

enum class TEditorKind {
    Edit,     // edit box holding Text
    Choice,   // drop-down list of Items: item Index selected when Index ≥ 0, else the item equal to Text
              // (none when absent)
    Combo,    // list of Items whose text may also be typed, holding Text
    Button,   // button captioned Text; Apply runs on a click
    BitPanel, // Count 16×16 check boxes side by side, box k ticked when bit k of Bits is set; each
              // box's tag is its bit and Apply receives the box
};

struct TEditorDef {
    TEditorKind Kind = TEditorKind::Edit;
    std::string Text;
    std::vector<std::string> Items;
    int Count = 0;
    unsigned Bits = 0;
    TNotifyEvent Apply; // the change (click) handler: stores the edit, then tells the host
    int Index = -1;     // Choice: the item selected by position
    // A typed edit (Edit, Combo) that ends on a refused change puts back what it opened on: through
    // Revert when set (a change with side effects the opening text does not undo), else by applying
    // its opening text again.
    TNotifyEvent Revert = {};
    // A typed edit whose change makes or frees what no opening text brings back (a channel count:
    // a half-typed count frees the channels the final one keeps) applies once, when the edit ends.
    bool ApplyAtEnd = false;
};

// What builds the editors and reads them back; the program installs the one over the GUI core.
struct TEditorKit {
    std::function<TWinControl*(TWinControl* host, TEditorDef editorDef, TNotifyEvent exitEvent)> Build;
    std::function<std::string(TObject* sender)> Text;
    std::function<int(TObject* sender)> Item;
    std::function<bool(TObject* sender, int& bit, bool& on)> Check;
    std::function<TNotifyEvent(TWinControl* host)> HostExit; // the host's own exit event
};

// Installs `kit` (an empty one: none) and returns the one it replaces.
TEditorKit SetEditorKit(TEditorKit kit);

// Null while no kit is installed.
TWinControl* BuildEditor(TWinControl* host, TEditorDef editorDef, TNotifyEvent exitEvent);

// Shorthands of BuildEditor, one per kind.
TWinControl* MakeEdit(TWinControl* host, const std::string& text, TNotifyEvent exitEvent, TNotifyEvent apply);
// The item equal to `selected` chosen (none when absent).
TWinControl* MakeChoice(TWinControl* host, std::vector<std::string> items, const std::string& selected,
                        TNotifyEvent exitEvent, TNotifyEvent apply);
// Item `selected` chosen by position (none when negative).
TWinControl* MakeChoice(TWinControl* host, std::vector<std::string> items, int selected,
                        TNotifyEvent exitEvent, TNotifyEvent apply);
TWinControl* MakeCombo(TWinControl* host, std::vector<std::string> items, const std::string& text,
                       TNotifyEvent exitEvent, TNotifyEvent apply);
TWinControl* MakeButton(TWinControl* host, const std::string& caption, TNotifyEvent exitEvent,
                        TNotifyEvent click);
TWinControl* MakeBitPanel(TWinControl* host, int count, unsigned bits, TNotifyEvent exitEvent,
                          TNotifyEvent click);

// A value the user entered that the model refuses is reported through CatchRefusal first: while the
// kit runs a typed editor's change it has a catcher installed and the refusal is held for the edit's
// end; otherwise (no catcher) the reporter shows it at once.
using TRefusalCatcher = std::function<void(const std::string& text)>;
TRefusalCatcher SetRefusalCatcher(TRefusalCatcher catcher); // returns the one it replaces
bool CatchRefusal(const std::string& text);                 // false: none installed, show it

// A typed edit left open on a refused change, that the user never ends (the host frees its editor,
// or the model frees what it changes), puts its opening value back without a message. The kit holds
// each such edit here; the model puts them all back before it frees an object.
void HoldRefusedEdit(const void* edit, std::function<void()> putBack); // empty putBack: none held
void PutBackRefusedEdits();

// What an editor holds, read from the sender of its change event.
std::string EditorText(TObject* sender);               // edit or combobox text; empty for others
int EditorItem(TObject* sender);                       // combobox item index; -1 for none or others
bool EditorCheck(TObject* sender, int& bit, bool& on); // a check box of a bit panel
TNotifyEvent EditorHostExit(TWinControl* host);        // the host's exit event, for an editor to share
