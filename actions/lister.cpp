// Lister (actions layer): the text form of one instruction, the inverse of the assembler.
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

} // namespace

std::string T_Action::InstructionText(int n) const {
    if (n < 0 || size_t(n) >= Instructions.size())
        return {};
    const TActionLine& l = Instructions[size_t(n)];
    const TOpcodeInfo* info = FindOpcode(l.Opcode);
    if (!info)
        return {};
    std::string s(info->text);
    for (int i = 0; i < info->operandCount; ++i) {
        const TOperand op = info->operands[i];
        switch (op.kind) {
        case TOperandKind::Var: {
            int k = l.Operands[op.at];
            if (k >= 1 && k <= Variables.Count())
                AppendVariable(s, Variables.Get(k - 1));
            break;
        }
        case TOperandKind::Num16:
            s += ' ' + IntToStr(l.U16(op.at));
            break;
        case TOperandKind::Len16:
            if (l.U16(op.at) != kDefaultLength)
                s += ' ' + IntToStr(l.U16(op.at));
            break;
        case TOperandKind::Len8:
            if (l.Operands[op.at] != kDefaultLength)
                s += ' ' + IntToStr(l.Operands[op.at]);
            break;
        case TOperandKind::Num32:
            s += ' ' + IntToStr(int32_t(l.U32()));
            break;
        case TOperandKind::Target:
            s += IntToStr(l.U16(op.at));
            break;
        case TOperandKind::Function: {
            auto names = DoFunctionNames();
            int fn = l.Operands[op.at];
            if (fn >= 1 && size_t(fn) <= names.size())
                (s += ' ') += names[size_t(fn - 1)];
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
