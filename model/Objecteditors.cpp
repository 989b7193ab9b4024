// In-place editors of objects and channels, built hidden inside the host control the main window's
// grids pass; each applies its text on change. Configuration model layer (uses the GUI core).
#include "Changelogobject.h"
#include "Editorkit.h"
#include "Objectstore.h"
#include "Storewalk.h"
#include "Userobject.h"
#include "actions.h"
#include "sysutils.h"

#include "stdctrls.h"

namespace {
TComboBox* MakeCombo(TWinControl* host, std::initializer_list<const char*> items, const std::string& text,
                     TNotifyEvent exitEvent) {
    return static_cast<TComboBox*>(BuildEditor(
        host, {TEditorKind::Combo, text, {items.begin(), items.end()}, 0, 0, nullptr}, std::move(exitEvent)));
}

TEdit* MakeEdit(TWinControl* host, const std::string& text, TNotifyEvent exitEvent) {
    return static_cast<TEdit*>(
        BuildEditor(host, {TEditorKind::Edit, text, {}, 0, 0, nullptr}, std::move(exitEvent)));
}

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
                     colon == std::string::npos ? std::string() : Trim(text.substr(colon + 1)), host->OnExit);
}

TWinControl* TObjectItem::CreateSetpointEditor(TParamItem* param, int n, TWinControl* host,
                                               TNotifyEvent hostEvent, TNotifyEvent editDone) {
    std::string text;
    GetSetpointValueText(param, n, text);
    TEdit* edit = MakeEdit(host, text, std::move(hostEvent));
    edit->OnChange = [this, param, n, edit, editDone](TObject*) {
        SetSetpointValue(param, n, edit->Text());
        Raise(editDone, edit);
    };
    return edit;
}

TWinControl* TObjectItem::CreatePropertyEditor(int row, TWinControl* host, TNotifyEvent exitEvent,
                                               TNotifyEvent changed) {
    if (row != 1)
        return nullptr;
    std::string text;
    GetPropertyText(1, text);
    TComboBox* combo = MakeCombo(host, {kPeriodNoneText, kPeriodContinuousText, "1 s", "1 m", "1 h"}, text,
                                 std::move(exitEvent));
    combo->OnChange = [this, combo, changed](TObject*) {
        ApplyPeriodText(combo->Text());
        Raise(changed, combo);
    };
    return combo;
}

TWinControl* TObjectItem::CreateCommandModeEditor(int n, TWinControl* host, TNotifyEvent exitEvent,
                                                  TNotifyEvent changed) {
    TCommandItem* command = CommandAt(n);
    if (!command)
        return nullptr;
    TComboBox* combo =
        MakeCombo(host, {kModeExecute, kModeEverySession, kModeTimedTemplate, kModeNotExecuted},
                  CommandModeText(command->Execute, command->Period), std::move(exitEvent));
    combo->OnChange = [command, combo, changed](TObject*) {
        CommandModeFromText(combo->Text(), command->Execute, command->Period);
        Raise(changed, combo);
    };
    return combo;
}

TWinControl* TUserObjItem::CreatePropertyEditor(int row, TWinControl* host, TNotifyEvent exitEvent,
                                                TNotifyEvent changed) {
    EditRow = static_cast<uint32_t>(row);
    if (row == 2 || row == 4) {
        std::string text;
        GetPropertyText(row, text);
        TEdit* edit = MakeEdit(host, text, std::move(exitEvent));
        edit->OnChange = [this, row, edit, changed](TObject*) {
            row == 2 ? ApplyTag(edit->Text()) : ApplyCommandCount(edit->Text());
            Raise(changed, edit);
        };
        return edit;
    }
    if (row == 3) {
        TComboBox* combo = MakeCombo(host, {"Нет"}, "", std::move(exitEvent));
        combo->SetStyle(csDropDownList);
        int selected = 0, i = 0;
        for (T_Action* a : AllSubprograms(Store)) {
            combo->Items()->Add(SubprogramItemText(a));
            ++i;
            if (a->Id() == MessageHandler)
                selected = i;
        }
        combo->SetItemIndex(selected);
        combo->OnChange = [this, combo, changed](TObject*) {
            ApplyMessageHandlerItem(combo->ItemIndex());
            Raise(changed, combo);
        };
        return combo;
    }
    return TObjectItem::CreatePropertyEditor(row, host, std::move(exitEvent), std::move(changed));
}

TWinControl* TUserObjItem::CreateCommandModeEditor(int n, TWinControl* host, TNotifyEvent exitEvent,
                                                   TNotifyEvent changed) {
    EditCommandRow = static_cast<uint32_t>(n);
    if (n == 0) {
        TComboBox* combo = MakeCombo(host, {"Не выбрана"}, "", std::move(exitEvent));
        combo->SetStyle(csDropDownList);
        int selected = 0;
        for (int i = 1; i <= CommandCount(); ++i) {
            combo->Items()->Add("Команда " + IntToStr(i));
            if (CommandAt(i - 1) == Selected)
                selected = i;
        }
        combo->SetItemIndex(selected);
        combo->OnChange = [this, combo, changed](TObject*) {
            ApplySelectedCommandItem(combo->ItemIndex());
            Raise(changed, combo);
        };
        return combo;
    }
    if (n >= 2 && n <= 4 && Selected) {
        std::string text;
        GetCommandModeText(n, text);
        TEdit* edit = MakeEdit(host, text, std::move(exitEvent));
        edit->OnChange = [this, n, edit, changed](TObject*) {
            ApplyCommandId(n, edit->Text());
            Raise(changed, edit);
        };
        return edit;
    }
    return nullptr;
}

TWinControl* TChangeLogItem::CreatePropertyEditor(int row, TWinControl* host, TNotifyEvent exitEvent,
                                                  TNotifyEvent changed) {
    if (row != 1 && row != 3)
        return nullptr;
    std::string text;
    GetPropertyText(row, text);
    TEdit* edit = MakeEdit(host, text, std::move(exitEvent));
    edit->OnChange = [this, row, edit, changed](TObject*) {
        row == 1 ? ApplyLogIndex(edit->Text()) : ApplyAlarmSends(edit->Text());
        Raise(changed, edit);
    };
    return edit;
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
        TComboBox* combo = MakeCombo(host, {"нет"}, "", std::move(hostEvent));
        combo->SetStyle(csDropDownList);
        int selected = 0;
        if (param->Store) {
            uint16_t id = column == 5 ? param->WriteHandler : param->ChangeHandler;
            std::string wanted = param->Store->DisplayName(id);
            selected = id == 0 ? 0 : -1;
            int i = 0;
            for (T_Action* a : AllSubprograms(param->Store)) {
                std::string name = param->Store->DisplayName(a->Id());
                combo->Items()->Add(name);
                ++i;
                if (id != 0 && selected < 0 && name == wanted)
                    selected = i;
            }
        }
        combo->SetItemIndex(selected);
        combo->OnChange = [param, combo](TObject*) { ApplyChannelPropertyEditor(param, combo); };
        return combo;
    } else if (column == 7) {
        text = IntToStr(param->RamDepth);
    }
    if (text.empty())
        return nullptr;
    TEdit* edit = MakeEdit(host, text, std::move(hostEvent));
    edit->OnChange = [param, edit](TObject*) { ApplyChannelPropertyEditor(param, edit); };
    return edit;
}

void ApplyChannelPropertyEditor(TParamItem* param, TWinControl* editor) {
    ApplyChannelPropertyText(param, EditorText(editor), editor);
}
