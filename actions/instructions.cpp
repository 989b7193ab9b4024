// Instruction set tables (actions layer): one row per opcode with its text form and operand layout.
#include "instructions.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

using K = TOperandKind;

constexpr TOpcodeInfo kOpcodes[] = {
    {opDo, "do", 1, 1, {{K::Function, 0}}},
    {opDef, "def", 3, 2, {{K::Var, 0}, {K::Len16, 1}}},
    {opPush, "push", 5, 2, {{K::Num32, 0}, {K::Len8, 4}}},
    {opPop, "pop", 0, 0, {}},
    {opGotoZ, "gotoz @l:", 2, 1, {{K::Target, 0}}},
    {opGotoC, "gotoc @l:", 2, 1, {{K::Target, 0}}},
    {opGotoA, "gotoa @l:", 2, 1, {{K::Target, 0}}},
    {opAdd, "+", 0, 0, {}},
    {opSub, "-", 0, 0, {}},
    {opMul, "*", 0, 0, {}},
    {opDiv, "div", 0, 0, {}},
    {opShl, "<<", 0, 0, {}},
    {opShr, ">>", 0, 0, {}},
    {opRet, "ret", 0, 0, {}},
    {opNot, "~", 0, 0, {}},
    {opAnd, "&", 0, 0, {}},
    {opOr, "|", 0, 0, {}},
    {opXor, "^", 0, 0, {}},
    {opAct, "act", 2, 1, {{K::Action, 0}}},
    {opGotoNZ, "gotonz @l:", 2, 1, {{K::Target, 0}}},
    {opGotoNC, "gotonc @l:", 2, 1, {{K::Target, 0}}},
    {opPushVar, "push", 1, 1, {{K::Var, 0}}},
    {opPushMem, "push mem", 4, 2, {{K::Num16, 0}, {K::Len16, 2}}},
    {opPushMemVV, "push mem", 2, 2, {{K::Var, 0}, {K::Var, 1}}},
    {opBreak, "break", 0, 0, {}},
    {opRev, "rev", 0, 0, {}},
    {opTest, "test", 0, 0, {}},
    {opLdi, "ldi", 4, 3, {{K::Var, 0}, {K::Num16, 1}, {K::Len8, 3}}},
    {opGotoP, "gotop @l:", 2, 1, {{K::Target, 0}}},
    {opGotoNP, "gotonp @l:", 2, 1, {{K::Target, 0}}},
    {opMov, "mov", 2, 2, {{K::Var, 0}, {K::Var, 1}}},
    {opAddi, "addi", 4, 3, {{K::Var, 0}, {K::Num16, 1}, {K::Len8, 3}}},
    {opSubi, "subi", 4, 3, {{K::Var, 0}, {K::Num16, 1}, {K::Len8, 3}}},
    {opDefVar, "def", 2, 2, {{K::Var, 0}, {K::Var, 1}}},
    {opPushMemNV, "push mem", 3, 2, {{K::Num16, 0}, {K::Var, 2}}},
    {opPushMemVN, "push mem", 3, 2, {{K::Var, 0}, {K::Len16, 1}}},
    {opPushVNN, "push", 5, 3, {{K::Var, 0}, {K::Num16, 1}, {K::Len16, 3}}},
    {opPushVVN, "push", 4, 3, {{K::Var, 0}, {K::Var, 1}, {K::Len16, 2}}},
    {opPushVNV, "push", 4, 3, {{K::Var, 0}, {K::Num16, 1}, {K::Var, 3}}},
    {opPushVVV, "push", 3, 3, {{K::Var, 0}, {K::Var, 1}, {K::Var, 2}}},
    {opPopVNN, "pop", 5, 3, {{K::Var, 0}, {K::Num16, 1}, {K::Len16, 3}}},
    {opPopVNV, "pop", 4, 3, {{K::Var, 0}, {K::Num16, 1}, {K::Var, 3}}},
    {opPopVVN, "pop", 4, 3, {{K::Var, 0}, {K::Var, 1}, {K::Len16, 2}}},
    {opPopVVV, "pop", 3, 3, {{K::Var, 0}, {K::Var, 1}, {K::Var, 2}}},
    {opPopVar, "pop", 1, 1, {{K::Var, 0}}},
    {opTestVar, "test", 1, 1, {{K::Var, 0}}},
};

// Direct index by code, built once from the table above.
struct ByCode {
    std::array<const TOpcodeInfo*, 256> at{};
    constexpr ByCode() {
        for (const TOpcodeInfo& info : kOpcodes)
            at[info.code] = &info;
    }
};
constexpr ByCode kByCode;

constexpr std::string_view kDoFunctions[] = {
    "print",  "gtime",     "wparam",     "cparam", "rparam",   "pollcmd",
    "logmsg", "makecrc16", "makeqbxcrc", "itoa",   "pollcmdx",
};

} // namespace

std::span<const TOpcodeInfo> OpcodeTable() { return kOpcodes; }

const TOpcodeInfo* FindOpcode(uint8_t code) { return kByCode.at[code]; }

std::string_view InstructionWord(const TOpcodeInfo& info) { return info.text.substr(0, info.text.find(' ')); }

std::span<const std::string_view> InstructionWords() {
    static const std::vector<std::string_view> words = [] {
        std::vector<std::string_view> v;
        for (const TOpcodeInfo& info : kOpcodes)
            if (std::find(v.begin(), v.end(), InstructionWord(info)) == v.end())
                v.push_back(InstructionWord(info));
        return v;
    }();
    return words;
}

uint8_t OperandLength(uint8_t code) {
    const TOpcodeInfo* info = FindOpcode(code);
    return info ? info->operandLength : 0;
}

std::span<const std::string_view> DoFunctionNames() { return kDoFunctions; }

uint8_t DoFunctionNumber(std::string_view name) {
    for (size_t i = 0; i < std::size(kDoFunctions); ++i)
        if (kDoFunctions[i] == name)
            return uint8_t(i + 1);
    return 0;
}

std::string ScriptLineMessage(int line, const std::string& message) {
    return "Строка " + std::to_string(line + 1) + ": " + message;
}

std::string VariableNumberText(uint8_t k) { return "#" + std::to_string(k); }

bool IsVariableNumberText(std::string_view text) {
    if (text.size() < 2 || text.front() != '#')
        return false;
    for (char c : text.substr(1))
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool ReadVariableNumber(std::string_view text, uint8_t& k) {
    if (!IsVariableNumberText(text) || text.size() > 4)
        return false;
    int v = 0;
    for (char c : text.substr(1))
        v = v * 10 + (c - '0');
    if (v > 255)
        return false;
    k = uint8_t(v);
    return true;
}
