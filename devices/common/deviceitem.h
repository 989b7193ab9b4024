// Common base of every device object: the configuration's channel list and subprogram store,
// and the state of the in-place editor the host has open (the row or set point being edited and the
// closure to call after a change). Device layer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "devicekit.h"

class TDeviceItem : public TObjectItem {
public:
    // Remembers the row and the after-change closure, then builds the editor PropertyRowEditor names.
    TWinControl* CreatePropertyEditor(int row, TWinControl* host, TNotifyEvent exitEvent,
                                      TNotifyEvent doneEvent) override;
    // Change handler of the property editors: applies the editor's text to the row being edited,
    // then calls the host's after-change closure.
    virtual void ApplyPropertyEditor(TObject* sender);
    // What a property editor applies, without the control. Rows without an edit change nothing.
    virtual void ApplyPropertyValue(int row, const std::string& text);

protected:
    TDeviceItem(uint16_t number, ELEMList* channels, actionManager* store);

    // The in-place editor of a property row.
    enum class RowEditor {
        None,  // not editable
        Base,  // the base class's (the poll-period list of row 1)
        Text,  // an edit box holding the row's text
        Count, // the same, applied once when the edit ends: the count makes and frees channels
    };
    // Rows 0 and 1 take the base editors, the others none, unless a device says otherwise.
    virtual RowEditor PropertyRowEditor(int row) const;
    // "Да" switches message handling to the given subprogram, any other text off.
    void ApplyMessageHandling(const std::string& text, uint16_t subprogram);

    // Remembers the row and the after-change closure of the property editor being created.
    void BeginPropertyEdit(int row, TNotifyEvent doneEvent);
    // Property editors over the row's text, applied through ApplyPropertyEditor: an edit box, and a
    // drop-down list with the item equal to the text selected.
    TWinControl* RowEdit(int row, TWinControl* host, TNotifyEvent exitEvent, bool atEnd = false);
    TWinControl* RowChoice(int row, TWinControl* host, TNotifyEvent exitEvent,
                           const std::vector<std::string>& items);
    // Calls the property editor's after-change closure when the host gave one.
    void PropertyEdited(TObject* sender);

    // Remembers the parameter, the set point and the after-change closure of a set-point editor.
    void BeginSetpointEdit(TParamItem* p, int n, TNotifyEvent doneEvent);
    void SetpointEdited(TObject* sender);

    ELEMList* FChannels;
    actionManager* FStore;
    int FPropertyRow = -1;
    TNotifyEvent FPropertyDone;
    TParamItem* FSetpointParam = nullptr;
    int FSetpointRow = 0;
    TNotifyEvent FSetpointDone;
};
