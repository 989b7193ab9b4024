// Tests of the assembler (actions layer): variables, defaults, unrecognised lines, errors.
#include <gtest/gtest.h>

#include "helpers.h"

namespace {

TEST(Assembler, VariableWinsOverNumber) {
    actionManager m;
    T_Action* plain = Assembled(m, {"push 7"}, "p");
    EXPECT_EQ(plain->Instructions[0].Opcode, opPush);
    EXPECT_EQ(plain->Instructions[0].U32(), 7u);
    EXPECT_EQ(plain->Instructions[0].Operands[4], 8);
    T_Action* var = Assembled(m, {"def 7", "push 7"}, "v");
    EXPECT_EQ(var->Instructions[1].Opcode, opPushVar);
    EXPECT_EQ(var->Instructions[1].Operands[0], 1);
}

TEST(Assembler, VariablesFollowTheFirstDefOfEachName) {
    actionManager m;
    T_Action* a = Assembled(m, {"push x", "def a", "def b 4", "def A 2", "def x"});
    EXPECT_EQ(Vars(*a), (std::vector<std::string>{"a", "b", "x"}));
    EXPECT_EQ(a->Instructions[0].Opcode, opPushVar); // defined further down
    EXPECT_EQ(a->Instructions[0].Operands[0], 3);
    EXPECT_EQ(a->Instructions[3].Operands[0], 1);
    EXPECT_EQ(a->Instructions[3].U16(1), 2);
}

TEST(Assembler, DefCountsWhereverItsFieldStarts) {
    actionManager m;
    T_Action* a = Assembled(m, {"test x", "test y", "test z", "\t def x", "\"def\" y", ",def z"});
    EXPECT_EQ(Vars(*a), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(a->Instructions[0].Opcode, opTestVar);
    EXPECT_EQ(a->Instructions[1].Opcode, opTestVar);
    EXPECT_EQ(a->Instructions[1].Operands[0], 2);
    EXPECT_EQ(a->Instructions[2].Opcode, opTest); // the first field of ",def z" is empty
    EXPECT_EQ(a->Instructions[5], TActionLine());
}

TEST(Assembler, NamesCompareWithoutLetterCaseCyrillicToo) {
    actionManager m;
    T_Action* a = Assembled(m, {"def Счёт", "push СЧЁТ", "def Cnt", "pop cnt"});
    EXPECT_EQ(Vars(*a), (std::vector<std::string>{"Счёт", "Cnt"}));
    EXPECT_EQ(a->Instructions[1].Operands[0], 1);
    EXPECT_EQ(a->Instructions[3].Opcode, opPopVar);
    EXPECT_EQ(a->Instructions[3].Operands[0], 2);
}

TEST(Assembler, MovWithUndefinedOrMissingSecondOperand) {
    actionManager m;
    T_Action* a = Assembled(m, {"def a", "def b", "mov a b", "mov a z", "mov a"});
    EXPECT_EQ(a->Instructions[2].Operands[1], 2);
    EXPECT_EQ(a->Instructions[3].Operands[1], 0);
    EXPECT_EQ(a->Instructions[4].Operands[1], 0);
    EXPECT_EQ(a->InstructionText(3), "mov a #0");
}

TEST(Assembler, BlankLinesGiveNothingOtherUnknownLinesGiveOpcodeZero) {
    actionManager m;
    T_Action* a = Assembled(m, {"", "   ", "\t", "PUSH 5", "// remark"});
    ASSERT_EQ(a->Instructions.size(), 2u);
    EXPECT_EQ(a->Instructions[0], TActionLine());
    EXPECT_EQ(a->Instructions[1], TActionLine());
}

TEST(Assembler, QuotedFieldKeepsItsBlank) {
    actionManager m;
    T_Action* a = Assembled(m, {"def \"my var\" 2", "push \"my var\""});
    EXPECT_EQ(Vars(*a), (std::vector<std::string>{"my var"}));
    EXPECT_EQ(a->Instructions[1].Opcode, opPushVar);
}

TEST(Assembler, EmptyTextEmptiesBothLists) {
    actionManager m;
    T_Action* a = Assembled(m, {"def a", "ret"});
    TStringList none;
    EXPECT_TRUE(a->Assemble(none));
    EXPECT_TRUE(a->Instructions.empty());
    EXPECT_EQ(a->Variables.Count(), 0);
}

TEST(Assembler, VariableNumbersPastOneByteAreCutToTheByte) {
    actionManager m;
    T_Action* a = m.CreateAction("big");
    TStringList l;
    for (int i = 1; i <= 256; ++i)
        l.Add("def v" + std::to_string(i));
    l.Add("push v256");
    a->Assemble(l);
    EXPECT_EQ(a->Variables.Count(), 256);
    EXPECT_EQ(a->Instructions.back().Opcode, opPushVar);
    EXPECT_EQ(a->Instructions.back().Operands[0], 0);
    EXPECT_NE(a->SaveRefusal(), "");
}

struct ErrorCase {
    const char* line;
    bool conversion; // else a list-index error
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << '"' << c.line << '"'; }

const ErrorCase kErrors[] = {
    {"push abc", true},   {"push 5 x", true},   {"push 99999999999", true},
    {"def a zz", true},   {"ldi a q", true},    {"gotoz @l:", true},
    {"gotoz @l:x", true}, {"act nosuch", true}, {"push a b q", true},
    {"push mem q", true}, {"def", false},       {"do", false},
    {"act", false},       {"mov", false},       {"addi", false},
    {"subi", false},      {"ldi", false},       {"gotoa", false},
    {"gotonp", false},
};

class AssemblerError : public testing::TestWithParam<ErrorCase> {};

TEST_P(AssemblerError, RaisesAndLeavesTheSubprogramAsItWas) {
    const ErrorCase& c = GetParam();
    actionManager m;
    T_Action* a = Assembled(m, {"def keep", "push keep", "ret"});
    std::vector<TActionLine> before = a->Instructions;
    TStringList l;
    SetLines(l, {"def a", "def b", "def other", c.line, "ret"});
    if (c.conversion)
        EXPECT_THROW(a->Assemble(l), EConvertError);
    else
        EXPECT_THROW(a->Assemble(l), EListError);
    EXPECT_EQ(a->Instructions, before);
    EXPECT_EQ(Vars(*a), (std::vector<std::string>{"keep"}));
}

// The error names the text line that raised, counted as the editor shows it (blank lines too).
TEST_P(AssemblerError, NamesTheLineOfTheText) {
    const ErrorCase& c = GetParam();
    actionManager m;
    T_Action* a = m.CreateAction("t");
    TStringList l;
    SetLines(l, {"def a", "", "def b", "   ", "def other", c.line, "ret"});
    try {
        a->Assemble(l);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        const auto* at = dynamic_cast<const EScriptLine*>(&e);
        ASSERT_NE(at, nullptr) << e.Message;
        EXPECT_EQ(at->Line, 5);
        EXPECT_TRUE(e.Message.starts_with("Строка 6: ")) << e.Message;
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, AssemblerError, testing::ValuesIn(kErrors));

TEST(Assembler, ActTakesANumberOrAStoredName) {
    actionManager m;
    T_Action* callee = m.CreateAction("callee");
    callee->Caption = "Вызываемая";
    T_Action* a = Assembled(m, {"act callee", "act 40", "act $2"}, "caller");
    EXPECT_EQ(a->Instructions[0].U16(0), callee->Id());
    EXPECT_EQ(a->Instructions[1].U16(0), 40);
    EXPECT_EQ(a->Instructions[2].U16(0), 2);
    TStringList byCaption;
    SetLines(byCaption, {"act Вызываемая"});
    EXPECT_THROW(a->Assemble(byCaption), EConvertError);
}

// Every code of the instruction table, with operands that are not the defaults, reads back from the
// line the lister writes for it: the assembler knows every word the table has.
TEST(Assembler, EveryCodeOfTheTableReadsBackFromItsLine) {
    actionManager m;
    T_Action* src = m.CreateAction("src");
    const uint16_t callee = m.CreateAction("callee")->Id();
    for (uint8_t k : {1, 2}) {
        TActionLine def;
        def.Opcode = opDef;
        def.Operands[0] = k;
        def.SetU16(1, 4);
        src->Instructions.push_back(def);
    }
    src->Variables.Add("x");
    src->Variables.Add("y");
    for (const TOpcodeInfo& info : OpcodeTable()) {
        TActionLine l;
        l.Opcode = info.code;
        for (int i = 0; i < info.operandCount; ++i) {
            const TOperand op = info.operands[i];
            switch (op.kind) {
            case TOperandKind::Var: l.Operands[op.at] = uint8_t(1 + i % 2); break;
            case TOperandKind::Num16: l.SetU16(op.at, 300); break;
            case TOperandKind::Len16: l.SetU16(op.at, 5); break;
            case TOperandKind::Len8: l.Operands[op.at] = 5; break;
            case TOperandKind::Num32: l.SetU32(70000); break;
            case TOperandKind::Target: l.SetU16(op.at, 3); break;
            case TOperandKind::Function: l.Operands[op.at] = 2; break;
            case TOperandKind::Action: l.SetU16(op.at, callee); break;
            }
        }
        src->Instructions.push_back(l);
    }
    TStringList text;
    for (size_t i = 0; i < src->Instructions.size(); ++i) {
        text.Add(src->InstructionText(int(i)));
        ASSERT_NE(text[int(i)].rfind(std::string(kRawOpcodeText) + " ", 0), 0u) << text[int(i)];
    }
    T_Action* back = m.CreateAction("back");
    back->Assemble(text);
    ASSERT_EQ(back->Instructions.size(), src->Instructions.size());
    for (size_t i = 0; i < src->Instructions.size(); ++i)
        EXPECT_EQ(back->Instructions[i], src->Instructions[i]) << text[int(i)];
}

} // namespace
