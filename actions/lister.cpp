// Lister (actions layer): the text form of one instruction, the inverse of the assembler.
#include <utility>
#include <vector>

#include "actions.h"
#include "sysutils.h"

namespace {

// Whether the assembler's comma-text split reads `s` back as one field, unchanged.
bool IsPlainField(std::string_view s) {
    if (s.empty() || s.front() == '"')
        return false;
    for (unsigned char c : s)
        if (c <= ' ' || c == ',')
            return false;
    return true;
}

// A variable operand: the name itself, or in quotes (inner quotes doubled) when the split would not
// give it back, so that the listed line assembles to the same variable.
void AppendVariable(std::string& s, const std::string& name) {
    s += ' ';
    if (IsPlainField(name)) {
        s += name;
        return;
    }
    s += '"';
    for (char c : name) {
        if (c == '"')
            s += '"';
        s += c;
    }
    s += '"';
}

// Whether the assembler, in the editor and through an .act line, reads `a`'s name back as `a`:
// one plain field with no ';' (the .act separator), not an integer, and the first of its name.
bool NameReadsBack(const T_Action& a) {
    const std::string& name = a.Name();
    if (!IsPlainField(name) || name.find_first_of("\";") != std::string::npos ||
        name.find("@l:") != std::string::npos)
        return false;
    int ignored;
    return !TryStrToInt(name, ignored) && a.Owner->ByName(name) == &a;
}

// Whether the assembler defines a variable under this name: "#" and digits is a variable number.
bool Definable(const std::string& name) {
    if (Trim(name) != name)
        return false;
    return !IsVariableNumberText(name);
}

// For each variable k (1-based), the instruction whose def line gives its name back as k when the
// listing is assembled again, or -1. Def lines listed with names define variables in order, so a
// name is listed only where the assembler will number it k; every other variable operand is listed
// by number ("#k"), which reads back to the same byte.
std::vector<int> NamedVariables(const T_Action& a) {
    const int count = a.Variables.Count();
    std::vector<int> line(size_t(count) + 1, -1);
    std::vector<std::string> defined; // in the order the assembler numbers them
    auto isDefined = [&](const std::string& name) {
        for (const std::string& d : defined)
            if (AnsiCompareText(d, name) == 0)
                return true;
        return false;
    };
    for (size_t i = 0; i < a.Instructions.size(); ++i) {
        const TActionLine& l = a.Instructions[i];
        const int v = l.Operands[0];
        if ((l.Opcode != opDef && l.Opcode != opDefVar) || !l.HasTextForm() || v < 1 || v > count ||
            line[size_t(v)] >= 0)
            continue;
        const std::string& name = a.Variables.Get(v - 1);
        if (!Definable(name) || isDefined(name) || int(defined.size()) + 1 != v)
            continue;
        defined.push_back(name);
        line[size_t(v)] = int(i);
    }
    return line;
}

// "op", the code and the operand bytes up to the last one that is not 0: whatever the database or
// a file gave keeps its place and all its bytes.
std::string RawText(const TActionLine& l) {
    std::string s = std::string(kRawOpcodeText) + ' ' + IntToStr(l.Opcode);
    int used = kOperandBytes;
    while (used > 0 && l.Operands[used - 1] == 0)
        --used;
    for (int i = 0; i < used; ++i)
        s += ' ' + IntToStr(l.Operands[i]);
    return s;
}

} // namespace

std::string T_Action::InstructionText(int n) const {
    if (n < 0 || size_t(n) >= Instructions.size())
        return {};
    const TActionLine& l = Instructions[size_t(n)];
    if (!l.HasTextForm())
        return RawText(l);
    const TOpcodeInfo* info = FindOpcode(l.Opcode);
    std::string s(info->text);
    std::vector<int> named;
    for (int i = 0; i < info->operandCount; ++i) {
        const TOperand op = info->operands[i];
        switch (op.kind) {
        case TOperandKind::Var: {
            const int k = l.Operands[op.at];
            if (named.empty())
                named = NamedVariables(*this);
            // A def line before the one that defines the name would define it too early.
            const bool defines = op.at == 0 && (l.Opcode == opDef || l.Opcode == opDefVar);
            const bool byName = k >= 1 && k < int(named.size()) && named[size_t(k)] >= 0 &&
                                (!defines || named[size_t(k)] <= n);
            if (byName)
                AppendVariable(s, Variables.Get(k - 1));
            else
                s += ' ' + VariableNumberText(uint8_t(k));
            break;
        }
        case TOperandKind::Num16: s += ' ' + IntToStr(l.U16(op.at)); break;
        case TOperandKind::Len16:
            if (l.U16(op.at) != kDefaultLength)
                s += ' ' + IntToStr(l.U16(op.at));
            break;
        case TOperandKind::Len8:
            if (l.Operands[op.at] != kDefaultLength)
                s += ' ' + IntToStr(l.Operands[op.at]);
            break;
        case TOperandKind::Num32: s += ' ' + IntToStr(int32_t(l.U32())); break;
        case TOperandKind::Target: s += IntToStr(l.U16(op.at)); break;
        case TOperandKind::Function: {
            auto names = DoFunctionNames();
            int fn = l.Operands[op.at];
            if (fn >= 1 && size_t(fn) <= names.size())
                (s += ' ') += names[size_t(fn - 1)];
            else
                s += ' ' + IntToStr(fn);
            break;
        }
        case TOperandKind::Action: {
            uint16_t id = l.U16(op.at);
            ActionFilter byId;
            byId.Flags = ActionFilter::ById;
            byId.Id = id;
            // The search through the store ends any search running there, as callers expect.
            const T_Action* a = Owner ? Owner->FindFirst(byId) : nullptr;
            s += ' ' + (a && NameReadsBack(*a) ? a->Name() : IntToStr(id));
            break;
        }
        }
    }
    return s;
}
