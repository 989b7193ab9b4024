// In-place editors of objects and channels, built hidden inside the host control the main window's
// grids pass; each applies its text on change. Configuration model layer.
#include "Changelogobject.h"
#include "Editorkit.h"
#include "Objectstore.h"
#include "Storewalk.h"
#include "Userobject.h"
#include "actions.h"
#include "sysutils.h"

namespace {
void Raise(const TNotifyEvent& event, TObject* sender) {
    if (event)
        event(sender);
}
} // namespace

TWinControl* TObjectItem::CreateTreeEditor(TObjectTreeNode* node, TWinControl* host) {
    if (!IsPeriodNode(node))
        return nullptr;
    std::string text = node->GetText();
    size_t colon = text.find(':');
    return MakeCombo(host, {kPeriodNoneText, kPeriodContinuousText, "s", "m", "h"},
                     colon == std::string::npos ? std::string() : Trim(text.substr(colon + 1)),
                     EditorHostExit(host), nullptr);
}

TWinControl* TObjectItem::CreateSetpointEditor(TParamItem* param, int n, TWinControl* host,
                                               TNotifyEvent hostEvent, TNotifyEvent editDone) {
    std::string text;
    GetSetpointValueText(param, n, text);
    TEditorDef editorDef{TEditorKind::Edit, text, {}, 0, 0, [this, param, n, editDone](TObject* sender) {
                             SetSetpointValue(param, n, EditorText(sender));
                             Raise(editDone, sender);
                         }};
    // A set point taken binds its channel's bounds subprogram and places its channel pair, which
    // its opening text does not undo: it is stored once, at the edit's end. A refused one has
    // changed nothing, so nothing but its text is put back (applying the opening text would bind).
    editorDef.ApplyAtEnd = true;
    editorDef.Revert = [](TObject*) {};
    return BuildEditor(host, std::move(editorDef), std::move(hostEvent));
}

// A period typed on its way is stored at once; a refused one puts back the code the editor opened
// on, which its text may not give again (a code loaded with both unit bits set).
TWinControl* TObjectItem::CreatePropertyEditor(int row, TWinControl* host, TNotifyEvent exitEvent,
                                               TNotifyEvent changed) {
    if (row != 1)
        return nullptr;
    std::string text;
    GetPropertyText(1, text);
    TEditorDef editorDef{TEditorKind::Combo,
                         text,
                         {kPeriodNoneText, kPeriodContinuousText, "1 s", "1 m", "1 h"},
                         0,
                         0,
                         [this, changed](TObject* sender) {
                             ApplyPeriodText(EditorText(sender));
                             Raise(changed, sender);
                         }};
    editorDef.Revert = [this, period = Period](TObject*) { Period = period; };
    return BuildEditor(host, std::move(editorDef), std::move(exitEvent));
}

// As the period: a refused mode puts back the command as it opened, one not executed with the
// period it held.
TWinControl* TObjectItem::CreateCommandModeEditor(int n, TWinControl* host, TNotifyEvent exitEvent,
                                                  TNotifyEvent changed) {
    TCommandItem* command = CommandAt(n);
    if (!command)
        return nullptr;
    TEditorDef editorDef{
        TEditorKind::Combo,
        CommandModeText(command->Execute, command->Period),
        {kModeExecute, kModeEverySession, kModeTimedTemplate, kModeNotExecuted},
        0,
        0,
        [command, changed](TObject* sender) {
            TPeriodRefusal refused;
            if (!CommandModeFromText(EditorText(sender), command->Execute, command->Period, &refused))
                ReportPeriodRefused(command->Name, refused);
            Raise(changed, sender);
        }};
    editorDef.Revert = [command, execute = command->Execute, period = command->Period](TObject*) {
        command->Execute = execute;
        command->Period = period;
    };
    return BuildEditor(host, std::move(editorDef), std::move(exitEvent));
}

TWinControl* TUserObjItem::CreatePropertyEditor(int row, TWinControl* host, TNotifyEvent exitEvent,
                                                TNotifyEvent changed) {
    EditRow = static_cast<uint32_t>(row);
    if (row == 2 || row == 4) {
        std::string text;
        GetPropertyText(row, text);
        TEditorDef editorDef{TEditorKind::Edit, text, {}, 0, 0, [this, row, changed](TObject* sender) {
                                 row == 2 ? ApplyTag(EditorText(sender))
                                          : ApplyCommandCount(EditorText(sender));
                                 Raise(changed, sender);
                             }};
        if (row == 4) {
            // A count typed on its way drops and adds commands: a refused edit puts them back as they were.
            std::vector<TCommandItem> commands;
            int selected = -1;
            for (ELEM* e = Commands.Oldest; e; e = e->Newer) {
                if (e == Selected)
                    selected = static_cast<int>(commands.size());
                commands.push_back(*static_cast<TCommandItem*>(e));
            }
            editorDef.Revert = [this, commands, selected](TObject*) { PutCommandsBack(commands, selected); };
        }
        return BuildEditor(host, std::move(editorDef), std::move(exitEvent));
    }
    if (row == 3) {
        std::vector<std::string> items{"Нет"};
        int selected = 0;
        for (T_Action* a : AllSubprograms(Store)) {
            items.push_back(SubprogramItemText(a));
            if (a->Id() == MessageHandler)
                selected = static_cast<int>(items.size()) - 1;
        }
        return MakeChoice(host, std::move(items), selected, std::move(exitEvent),
                          [this, changed](TObject* sender) {
                              ApplyMessageHandlerItem(EditorItem(sender));
                              Raise(changed, sender);
                          });
    }
    return TObjectItem::CreatePropertyEditor(row, host, std::move(exitEvent), std::move(changed));
}

TWinControl* TUserObjItem::CreateCommandModeEditor(int n, TWinControl* host, TNotifyEvent exitEvent,
                                                   TNotifyEvent changed) {
    EditCommandRow = static_cast<uint32_t>(n);
    if (n == 0) {
        std::vector<std::string> items{"Не выбрана"};
        int selected = 0;
        for (int i = 1; i <= CommandCount(); ++i) {
            items.push_back("Команда " + IntToStr(i));
            if (CommandAt(i - 1) == Selected)
                selected = i;
        }
        return MakeChoice(host, std::move(items), selected, std::move(exitEvent),
                          [this, changed](TObject* sender) {
                              ApplySelectedCommandItem(EditorItem(sender));
                              Raise(changed, sender);
                          });
    }
    if (n >= 2 && n <= 4 && Selected) {
        std::string text;
        GetCommandModeText(n, text);
        return MakeEdit(host, text, std::move(exitEvent), [this, n, changed](TObject* sender) {
            ApplyCommandId(n, EditorText(sender));
            Raise(changed, sender);
        });
    }
    return nullptr;
}

TWinControl* TChangeLogItem::CreatePropertyEditor(int row, TWinControl* host, TNotifyEvent exitEvent,
                                                  TNotifyEvent changed) {
    if (row != 1 && row != 3)
        return nullptr;
    std::string text;
    GetPropertyText(row, text);
    return MakeEdit(host, text, std::move(exitEvent), [this, row, changed](TObject* sender) {
        row == 1 ? ApplyLogIndex(EditorText(sender)) : ApplyAlarmSends(EditorText(sender));
        Raise(changed, sender);
    });
}

TWinControl* CreateChannelPropertyEditor(TParamItem* param, int column, TWinControl* host,
                                         TNotifyEvent hostEvent, TNotifyEvent editDone) {
    param->EditColumn = static_cast<uint32_t>(column);
    param->OnEditDone = std::move(editDone);
    std::string text;
    if (column == 4) {
        if (!param->ValueEditable)
            return nullptr;
        if (param->Owner)
            param->Owner->GetParamValueText(param, text);
        else if (param->BitWidth() != 0)
            text = ChannelValueText(param);
    } else if (column == 5 || column == 6) {
        std::vector<std::string> items{"нет"};
        int selected = 0;
        if (param->Store) {
            uint16_t id = column == 5 ? param->WriteHandler : param->ChangeHandler;
            std::string wanted = param->Store->DisplayName(id);
            selected = id == 0 ? 0 : -1;
            for (T_Action* a : AllSubprograms(param->Store)) {
                items.push_back(param->Store->DisplayName(a->Id()));
                if (id != 0 && selected < 0 && items.back() == wanted)
                    selected = static_cast<int>(items.size()) - 1;
            }
        }
        return MakeChoice(host, std::move(items), selected, std::move(hostEvent),
                          [param](TObject* sender) { ApplyChannelPropertyEditor(param, sender); });
    } else if (column == 7) {
        text = IntToStr(param->RamDepth);
    }
    if (text.empty())
        return nullptr;
    // A RAM depth typed on its way fills the value: a refused edit puts both back as they were.
    TEditorDef editorDef{TEditorKind::Edit,
                         text,
                         {},
                         0,
                         0,
                         [param](TObject* sender) { ApplyChannelPropertyEditor(param, sender); }};
    std::vector<uint8_t> bytes;
    for (int b = 0; b < param->ValueBytes(); ++b)
        bytes.push_back(param->Value[b]);
    editorDef.Revert = [param, bytes, text, column, depth = param->RamDepth](TObject*) {
        // What the owner keeps from its value (names that carry an address) follows the opening
        // text; the bytes themselves come back exactly.
        if (column == 4 && param->Owner)
            param->Owner->SetParamValueText(param, text);
        param->RamDepth = depth;
        param->Value.Assign(bytes.data(), static_cast<int>(bytes.size()));
    };
    return BuildEditor(host, std::move(editorDef), std::move(hostEvent));
}

void ApplyChannelPropertyEditor(TParamItem* param, TObject* editor) {
    ApplyChannelPropertyText(param, EditorText(editor), editor);
}
