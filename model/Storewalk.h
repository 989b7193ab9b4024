// Walks of the subprogram store as the model needs them. Configuration model layer (internal).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class actionManager;
class T_Action;

// Every subprogram in ascending id.
std::vector<T_Action*> AllSubprograms(actionManager* store);
T_Action* SubprogramById(actionManager* store, uint16_t id);
// First subprogram whose name (or caption) equals name.
T_Action* SubprogramByName(actionManager* store, const std::string& name);
// A subprogram in lists: its name, or "Подпрограмма " and the id when the name is empty.
std::string SubprogramItemText(T_Action* action);

// Instructions and variables of one subprogram, in the shapes the database records take.
int InstructionCount(T_Action* action);
int VariableCount(T_Action* action);
std::vector<std::string> VariableNames(T_Action* action);
// Calls f(opcode, five operand bytes) for each instruction in order.
void ForEachInstruction(T_Action* action, const std::function<void(uint8_t, const uint8_t*)>& f);
void AppendInstruction(T_Action* action, uint8_t opcode, const uint8_t operands[5]);
// Adds a variable name unless the list already holds it (exact match).
void AddVariable(T_Action* action, const std::string& name);

// What the user is told when a plug-in subprogram file does not load: "Файл не найден: " and its
// name when it is not there, else that it could not be opened and why (it exists, so "not found"
// would send the user looking in the wrong place).
std::string PluginFileFailure(const std::string& file, const std::string& reason);

// Finds or makes the subprogram of a device's role (by name, then an unnamed one under the
// reserved id, else a new one), loads its text from plugin/<folder>/<name>.act when it has no
// instructions, and names and captions it. A file that cannot be loaded is reported
// (PluginFileFailure) and the subprogram is removed. Returns its id, 0 when there is none.
uint16_t LoadDefaultSubprogram(actionManager* store, const std::string& folder, const std::string& name,
                               const std::string& caption, uint16_t reservedId);
