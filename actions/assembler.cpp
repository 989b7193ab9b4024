// Assembler (actions layer): script text, one instruction per line, to a subprogram's instruction list.
// Two passes: the first collects the def'd variable names, so an operand may name a variable defined
// later; the second encodes every non-empty line. The subprogram changes only when both have finished.
#include <initializer_list>
#include <map>
#include <optional>
#include <unordered_map>

#include "actions.h"
#include "sysutils.h"

namespace {

enum class Rule : uint8_t { Do, Def, Mov, Imm, Push, Pop, Jump, Act, Test, Plain, Raw };

struct Mnemonic {
    Rule rule;
    uint8_t code; // the word's first code: the opcode of every rule but Def, Push, Pop, Test and Raw
};

// How the lines of a word are encoded, from the first code with that word. The words whose operands
// choose among several codes (def, push, pop, test) have encoders of their own; the others follow
// their code's operand layout. No rule: the assembler cannot read the word.
std::optional<Rule> RuleFor(const TOpcodeInfo& info) {
    switch (info.code) {
    case opDef: return Rule::Def;
    case opPush: return Rule::Push;
    case opPop: return Rule::Pop;
    case opTest: return Rule::Test;
    default: break;
    }
    using K = TOperandKind;
    auto layout = [&](std::initializer_list<TOperand> ops) {
        if (info.operandCount != ops.size())
            return false;
        const TOperand* op = info.operands;
        for (const TOperand& want : ops)
            if (op->kind != want.kind || op++->at != want.at)
                return false;
        return true;
    };
    if (layout({}))
        return Rule::Plain;
    if (layout({{K::Target, 0}}))
        return Rule::Jump;
    if (layout({{K::Function, 0}}))
        return Rule::Do;
    if (layout({{K::Action, 0}}))
        return Rule::Act;
    if (layout({{K::Var, 0}, {K::Var, 1}}))
        return Rule::Mov;
    if (layout({{K::Var, 0}, {K::Num16, 1}, {K::Len8, 3}}))
        return Rule::Imm;
    return std::nullopt;
}

// The words of the instruction table, and the raw form of any code.
const std::unordered_map<std::string_view, Mnemonic>& Mnemonics() {
    static const std::unordered_map<std::string_view, Mnemonic> table = [] {
        std::unordered_map<std::string_view, Mnemonic> t{{kRawOpcodeText, {Rule::Raw, opNone}}};
        for (const TOpcodeInfo& info : OpcodeTable())
            if (!t.count(InstructionWord(info)))
                if (std::optional<Rule> rule = RuleFor(info))
                    t.emplace(InstructionWord(info), Mnemonic{*rule, info.code});
        return t;
    }();
    return table;
}

// Variable numbers by name, compared as the runtime's string lists compare (AnsiCompareText), so a
// lookup costs a few comparisons instead of a walk with a copy of every name.
struct TextLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return AnsiCompareText(a, b) < 0; }
};
using VarIndex = std::map<std::string, uint8_t, TextLess>; // 1-based number cut to its byte

// False when the line's first comma-text field cannot be "def": it starts neither with 'd' nor with a
// quote. Spares the first pass splitting every line.
bool MayBeDef(std::string_view line) {
    for (char c : line)
        if (static_cast<unsigned char>(c) > ' ')
            return c == 'd' || c == '"';
    return false;
}

class LineEncoder {
public:
    LineEncoder(const TStringList& fields, const VarIndex& vars, const actionManager* store)
        : f_(fields), vars_(vars), store_(store) {}

    TActionLine Encode() {
        TActionLine l;
        auto it = Mnemonics().find(f_.Get(0));
        if (it == Mnemonics().end())
            return l;
        const Mnemonic m = it->second;
        switch (m.rule) {
        case Rule::Do:
            l.Opcode = m.code;
            l.Operands[0] = Function(f_.Get(1));
            break;
        case Rule::Def: EncodeDef(l); break;
        case Rule::Mov:
            l.Opcode = m.code;
            l.Operands[0] = VarOrZero(f_.Get(1));
            l.Operands[1] = Fields() >= 3 ? VarOrZero(f_.Get(2)) : 0;
            break;
        case Rule::Imm:
            l.Opcode = m.code;
            l.Operands[0] = VarOrZero(f_.Get(1));
            l.Operands[3] = kDefaultLength;
            if (Fields() >= 3) {
                l.SetU16(1, uint16_t(Num(f_.Get(2))));
                if (Fields() >= 4)
                    l.Operands[3] = uint8_t(Num(f_.Get(3)));
            }
            break;
        case Rule::Push: EncodePush(l); break;
        case Rule::Pop: EncodePop(l); break;
        case Rule::Jump:
            l.Opcode = m.code;
            l.SetU16(0, uint16_t(Target(f_.Get(1))));
            break;
        case Rule::Act:
            l.Opcode = m.code;
            l.SetU16(0, ActId(f_.Get(1)));
            break;
        case Rule::Test:
            if (Fields() >= 2 && Var(f_.Get(1))) {
                l.Opcode = opTestVar;
                l.Operands[0] = *Var(f_.Get(1));
            } else {
                l.Opcode = opTest;
            }
            break;
        case Rule::Plain: l.Opcode = m.code; break;
        case Rule::Raw:
            l.Opcode = uint8_t(Num(f_.Get(1)));
            for (int i = 0; i < kOperandBytes && i + 2 < Fields(); ++i)
                l.Operands[i] = uint8_t(Num(f_.Get(i + 2)));
            break;
        }
        return l;
    }

private:
    int Fields() const { return f_.Count(); }

    // 1-based number of a defined variable, cut to its byte, or the number of a "#k" operand;
    // nullopt for a name that is no variable.
    std::optional<uint8_t> Var(const std::string& field) const {
        const std::string name = Trim(field);
        auto it = vars_.find(name);
        if (it != vars_.end())
            return it->second;
        uint8_t k;
        if (ReadVariableNumber(name, k))
            return k;
        return std::nullopt;
    }
    // A do-function by name, or by its number as the lister writes an unknown one; 0 otherwise.
    static uint8_t Function(const std::string& field) {
        const std::string name = Trim(field);
        if (uint8_t fn = DoFunctionNumber(name))
            return fn;
        int n;
        return TryStrToInt(name, n) && n >= 0 && n <= 255 ? uint8_t(n) : 0;
    }
    uint8_t VarOrZero(const std::string& field) const { return Var(field).value_or(0); }
    static int Num(const std::string& field) { return StrToInt(Trim(field)); }
    // Skips the "@l:" of the text form (whatever its three characters are); not trimmed.
    static int Target(const std::string& field) {
        return StrToInt(std::string_view(field).substr(std::min<size_t>(3, field.size())));
    }

    // A number keeps the stored files working; a stored subprogram's name is what the lister prints.
    uint16_t ActId(const std::string& field) const {
        std::string text = Trim(field);
        int id;
        if (TryStrToInt(text, id))
            return uint16_t(id);
        if (const T_Action* a = store_ ? store_->ByName(text) : nullptr)
            return a->Id();
        return uint16_t(StrToInt(text)); // raises the conversion error
    }

    void EncodeDef(TActionLine& l) const {
        l.Operands[0] = VarOrZero(f_.Get(1));
        l.Opcode = opDef;
        if (Fields() == 2) {
            l.SetU16(1, kDefaultLength);
        } else if (auto v = Var(f_.Get(2))) {
            l.Opcode = opDefVar;
            l.Operands[1] = *v;
        } else {
            l.SetU16(1, uint16_t(Num(f_.Get(2))));
        }
    }

    // Offset (field 2) and length (field 3) of push and pop with a variable and of push mem, from byte
    // `at` on: a variable offset takes one byte, a numeric one two, and the length follows it. The
    // opcodes are {var offset + length, var offset + var length, offset + length, offset + var length}.
    void EncodeOffsetLength(TActionLine& l, int at, const uint8_t (&op)[4]) const {
        int lenAt;
        const uint8_t* codes; // {with a length, with a variable length}
        if (auto offset = Var(f_.Get(2))) {
            l.Operands[at] = *offset;
            lenAt = at + 1;
            codes = op;
        } else {
            l.SetU16(at, uint16_t(Num(f_.Get(2))));
            lenAt = at + 2;
            codes = op + 2;
        }
        if (Fields() == 3) {
            l.SetU16(lenAt, kDefaultLength);
            l.Opcode = codes[0];
        } else if (auto len = Var(f_.Get(3))) {
            l.Operands[lenAt] = *len;
            l.Opcode = codes[1];
        } else {
            l.SetU16(lenAt, uint16_t(Num(f_.Get(3))));
            l.Opcode = codes[0];
        }
    }

    void EncodePush(TActionLine& l) const {
        static constexpr uint8_t kPushVar[4] = {opPushVVN, opPushVVV, opPushVNN, opPushVNV};
        static constexpr uint8_t kPushMem[4] = {opPushMemVN, opPushMemVV, opPushMem, opPushMemNV};
        if (Fields() == 1) {
            l.Opcode = opPush;
            l.Operands[4] = kDefaultLength;
            return;
        }
        if (auto v = Var(f_.Get(1))) { // a variable named "mem" is a variable
            l.Operands[0] = *v;
            if (Fields() == 2)
                l.Opcode = opPushVar;
            else
                EncodeOffsetLength(l, 1, kPushVar);
            return;
        }
        if (Trim(f_.Get(1)) == "mem") {
            if (Fields() == 2) { // offset 0, default length
                l.SetU16(2, kDefaultLength);
                l.Opcode = opPushMem;
            } else {
                EncodeOffsetLength(l, 0, kPushMem);
            }
            return;
        }
        l.Opcode = opPush;
        l.SetU32(uint32_t(Num(f_.Get(1))));
        l.Operands[4] = Fields() >= 3 ? uint8_t(Num(f_.Get(2))) : kDefaultLength;
    }

    void EncodePop(TActionLine& l) const {
        static constexpr uint8_t kPopVar[4] = {opPopVVN, opPopVVV, opPopVNN, opPopVNV};
        if (Fields() == 1) {
            l.Opcode = opPop;
            return;
        }
        auto v = Var(f_.Get(1));
        if (!v)
            return; // a pop into something that is no variable stays unrecognised
        l.Operands[0] = *v;
        if (Fields() == 2)
            l.Opcode = opPopVar;
        else
            EncodeOffsetLength(l, 1, kPopVar);
    }

    const TStringList& f_;
    const VarIndex& vars_;
    const actionManager* store_;
};

} // namespace

bool T_Action::Assemble(const TStrings& lines) {
    TStringList vars;
    VarIndex index;
    TStringList fields;
    std::vector<TActionLine> code;
    const int n = lines.Count();
    int i = 0; // the line being read, named by an error
    try {
        for (i = 0; i < n; ++i) {
            const std::string line = lines.Get(i);
            if (!MayBeDef(line))
                continue;
            fields.SetCommaText(line);
            if (fields.Count() > 0 && fields.Get(0) == "def") {
                std::string name = Trim(fields.Get(1)); // a def without a name raises the list-index error
                if (IsVariableNumberText(name))
                    continue; // "#k" names variable k, it defines none
                if (index.emplace(name, uint8_t(vars.Count() + 1)).second)
                    vars.Add(name);
            }
        }
        code.reserve(size_t(n));
        for (i = 0; i < n; ++i) {
            fields.SetCommaText(lines.Get(i));
            if (fields.Count() == 0)
                continue;
            code.push_back(LineEncoder(fields, index, Owner).Encode());
        }
    } catch (const EConvertError& e) {
        throw EScriptError<EConvertError>(e, i);
    } catch (const EListError& e) {
        throw EScriptError<EListError>(e, i);
    }
    Instructions.swap(code);
    Variables.Assign(&vars);
    return true;
}
