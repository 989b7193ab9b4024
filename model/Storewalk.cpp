// Walks of the subprogram store for the model, and the default-subprogram loader of the journal.
// Configuration model layer.
#include "Storewalk.h"

#include <cstring>

#include "actions.h"
#include "msgbox.h"
#include "sysutils.h"

std::vector<T_Action*> AllSubprograms(actionManager* store) {
    std::vector<T_Action*> v;
    if (!store)
        return v;
    v.reserve(store->Count());
    for (const auto& [id, a] : store->Actions())
        v.push_back(a);
    return v;
}

T_Action* SubprogramById(actionManager* store, uint16_t id) { return store ? store->ById(id) : nullptr; }

T_Action* SubprogramByName(actionManager* store, const std::string& name) {
    if (!store)
        return nullptr;
    for (const auto& [id, a] : store->Actions())
        if (a->Name() == name || a->Caption == name)
            return a;
    return nullptr;
}

std::string SubprogramItemText(T_Action* action) {
    return action->Name().empty() ? "Подпрограмма " + IntToStr(action->Id()) : action->Name();
}

int InstructionCount(T_Action* action) { return static_cast<int>(action->Instructions.size()); }
int VariableCount(T_Action* action) { return action->Variables.Count(); }

std::vector<std::string> VariableNames(T_Action* action) {
    std::vector<std::string> v;
    for (int i = 0; i < action->Variables.Count(); ++i)
        v.push_back(action->Variables.Strings(i));
    return v;
}

void ForEachInstruction(T_Action* action, const std::function<void(uint8_t, const uint8_t*)>& f) {
    for (const TActionLine& line : action->Instructions)
        f(line.Opcode, line.Operands);
}

void AppendInstruction(T_Action* action, uint8_t opcode, const uint8_t operands[5]) {
    TActionLine line;
    line.Opcode = opcode;
    std::memcpy(line.Operands, operands, sizeof line.Operands);
    action->Instructions.push_back(line);
}

void AddVariable(T_Action* action, const std::string& name) {
    for (int i = 0; i < action->Variables.Count(); ++i)
        if (action->Variables.Strings(i) == name)
            return;
    action->Variables.Add(name);
}

std::string PluginFileFailure(const std::string& file, const std::string& reason) {
    if (!FileExists(file))
        return "Файл не найден: " + ExtractFileName(file);
    return "Не удалось открыть файл " + ExtractFileName(file) + ": " + reason;
}

uint16_t LoadDefaultSubprogram(actionManager* store, const std::string& folder, const std::string& name,
                               const std::string& caption, uint16_t reservedId) {
    T_Action* a = SubprogramByName(store, name);
    if (!a) {
        T_Action* reserved = store->ById(reservedId);
        if (reserved && reserved->Name() == "action" + IntToStr(reservedId))
            a = reserved;
    }
    if (!a)
        a = store->CreateAction(name);
    if (!a)
        return 0;
    if (a->Instructions.empty()) {
        std::string file = PluginFile(folder, name);
        if (std::string reason; a->LoadActFile(file, &reason) != 0) {
            const std::string text = PluginFileFailure(file, reason);
            ShowMessageBoxText(text.c_str(), "Ошибка", MB_OK | MB_ICONERROR);
            store->DeleteAction(a);
            return 0;
        }
    }
    a->SetName(name);
    a->Caption = caption;
    return a->Id();
}
