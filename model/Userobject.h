// The user-defined object: a device described by a database tag, a message handler and poll commands
// bound to subprograms. Configuration model layer.
#pragma once

#include <vector>

#include "Objectstore.h"

inline constexpr const char* kUserObjectTag = "USEROBJ";
inline constexpr const char* kUserObjectType = "ОБЪЕКТ ПОЛЬЗОВАТЕЛЯ";

class TUserObjItem : public TObjectItem {
public:
    TUserObjItem(uint16_t number, ELEMList* channels, actionManager* store);

    std::string GetDisplayName() override;
    void GetPropertyNames(TStrings* strings) override;
    void GetPollCommandNames(TStrings* strings) override;
    void GetPropertyText(int row, std::string& out) override;
    void GetCommandModeText(int n, std::string& out) override;
    TWinControl* CreatePropertyEditor(int row, TWinControl* host, TNotifyEvent exitEvent,
                                      TNotifyEvent changed) override;
    TWinControl* CreateCommandModeEditor(int n, TWinControl* host, TNotifyEvent exitEvent,
                                         TNotifyEvent changed) override;

    // The apply steps of the editors, on the editor's text or item index.
    // Row 2: the tag in upper case, cut to the stored width; an empty tag or the tag of a known
    // device type is refused (false) because the object would reload as another device.
    bool ApplyTag(const std::string& text);
    void ApplyMessageHandlerItem(int itemIndex);           // row 3: 0 = none, i = the store's i-th subprogram
    bool ApplyCommandCount(const std::string& text);       // row 4; false when the text is no count 0..255
    void ApplySelectedCommandItem(int itemIndex);          // command row 0
    void ApplyCommandId(int row, const std::string& text); // command rows 2..4

    // Appends a command with the next number (load and the count editor).
    TCommandItem* AddCommand();
    // Replaces the commands with copies of `commands`, the one at `selected` (-1: none) selected.
    void PutCommandsBack(const std::vector<TCommandItem>& commands, int selected);
    void RenumberCommands();

    uint32_t EditRow = 0;
    uint32_t EditCommandRow = 0;
    ELEMList* Channels;
    actionManager* Store;
    TCommandItem* Selected = nullptr;
};
