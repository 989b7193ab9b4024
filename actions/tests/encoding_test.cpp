// Encodings of every mnemonic family (actions layer): text → opcode and operand bytes → listed text,
// and the listed text assembles back to the same bytes.
#include <gtest/gtest.h>

#include <vector>

#include "helpers.h"

namespace {

struct Case {
    const char* line;
    uint8_t opcode;
    std::vector<uint8_t> bytes; // b0.. (the rest must be 0)
    const char* listed;
    bool reassembles = true;
};

void PrintTo(const Case& c, std::ostream* os) { *os << '"' << c.line << '"'; }

// Variables a = 1, b = 2, c = 3; subprogram "callee" has id 1.
const Case kCases[] = {
    {"do print", 1, {1}, "do print"},
    {"do pollcmdx", 1, {11}, "do pollcmdx"},
    {"do nosuch", 1, {0}, "do 0"},
    {"def a", 2, {1, 8, 0}, "def a"},
    {"def a 16", 2, {1, 16, 0}, "def a 16"},
    {"def a $10", 2, {1, 16, 0}, "def a 16"},
    {"def a b", 37, {1, 2}, "def a b"},
    {"push", 3, {0, 0, 0, 0, 8}, "push 0"},
    {"push 5", 3, {5, 0, 0, 0, 8}, "push 5"},
    {"push 5 8", 3, {5, 0, 0, 0, 8}, "push 5"},
    {"push 5 4", 3, {5, 0, 0, 0, 4}, "push 5 4"},
    {"push -1", 3, {0xFF, 0xFF, 0xFF, 0xFF, 8}, "push -1"},
    {"push $12345678 2", 3, {0x78, 0x56, 0x34, 0x12, 2}, "push 305419896 2"},
    {"push 5 300", 3, {5, 0, 0, 0, 44}, "push 5 44"},
    {"push a", 25, {1}, "push a"},
    {"push A", 25, {1}, "push a"},
    {"push a 3", 40, {1, 3, 0, 8, 0}, "push a 3"},
    {"push a 3 2", 40, {1, 3, 0, 2, 0}, "push a 3 2"},
    {"push a 3 c", 42, {1, 3, 0, 3}, "push a 3 c"},
    {"push a b", 41, {1, 2, 8, 0}, "push a b"},
    {"push a b 2", 41, {1, 2, 2, 0}, "push a b 2"},
    {"push a b c", 43, {1, 2, 3}, "push a b c"},
    {"push mem", 26, {0, 0, 8, 0}, "push mem 0"},
    {"push mem 300", 26, {0x2C, 1, 8, 0}, "push mem 300"},
    {"push mem 300 2", 26, {0x2C, 1, 2, 0}, "push mem 300 2"},
    {"push mem 5 b", 38, {5, 0, 2}, "push mem 5 b"},
    {"push mem a", 39, {1, 8, 0}, "push mem a"},
    {"push mem a 2", 39, {1, 2, 0}, "push mem a 2"},
    {"push mem a b", 27, {1, 2}, "push mem a b"},
    {"pop", 4, {}, "pop"},
    {"pop a", 48, {1}, "pop a"},
    {"pop a 3", 44, {1, 3, 0, 8, 0}, "pop a 3"},
    {"pop a 3 4", 44, {1, 3, 0, 4, 0}, "pop a 3 4"},
    {"pop a 3 c", 45, {1, 3, 0, 3}, "pop a 3 c"},
    {"pop a b", 46, {1, 2, 8, 0}, "pop a b"},
    {"pop a b 4", 46, {1, 2, 4, 0}, "pop a b 4"},
    {"pop a b c", 47, {1, 2, 3}, "pop a b c"},
    {"pop 5", 0, {}, "op 0"},
    {"gotoz @l:12", 5, {12, 0}, "gotoz @l:12"},
    {"gotoz abc12", 5, {12, 0}, "gotoz @l:12"},
    {"gotoc @l:1", 6, {1, 0}, "gotoc @l:1"},
    {"gotoa @l:300", 7, {0x2C, 1}, "gotoa @l:300"},
    {"gotonz @l:2", 23, {2, 0}, "gotonz @l:2"},
    {"gotonc @l:3", 24, {3, 0}, "gotonc @l:3"},
    {"gotop @l:4", 32, {4, 0}, "gotop @l:4"},
    {"gotonp @l:5", 33, {5, 0}, "gotonp @l:5"},
    {"+", 8, {}, "+"},
    {"-", 9, {}, "-"},
    {"*", 10, {}, "*"},
    {"div", 11, {}, "div"},
    {"<<", 12, {}, "<<"},
    {">>", 13, {}, ">>"},
    {"ret", 14, {}, "ret"},
    {"ret 5", 14, {}, "ret"},
    {"~", 16, {}, "~"},
    {"&", 17, {}, "&"},
    {"|", 18, {}, "|"},
    {"^", 19, {}, "^"},
    {"break", 28, {}, "break"},
    {"rev", 29, {}, "rev"},
    {"test", 30, {}, "test"},
    {"test 5", 30, {}, "test"},
    {"test a", 49, {1}, "test a"},
    {"ldi a", 31, {1, 0, 0, 8}, "ldi a 0"},
    {"ldi a 5", 31, {1, 5, 0, 8}, "ldi a 5"},
    {"ldi a 5 2", 31, {1, 5, 0, 2}, "ldi a 5 2"},
    {"ldi a 70000", 31, {1, 0x70, 0x11, 8}, "ldi a 4464"},
    {"addi a 300 1", 35, {1, 0x2C, 1, 1}, "addi a 300 1"},
    {"subi a 1", 36, {1, 1, 0, 8}, "subi a 1"},
    {"mov a b", 34, {1, 2}, "mov a b"},
    {"act 7", 22, {7, 0}, "act 7"},
    {"act $10", 22, {16, 0}, "act 16"},
    {"act callee", 22, {1, 0}, "act callee"},
    {"act 1", 22, {1, 0}, "act callee"},
    {"PUSH 5", 0, {}, "op 0"},
    {"//remark", 0, {}, "op 0"},
    {"push,a,3", 40, {1, 3, 0, 8, 0}, "push a 3"},
    // The raw form: any code with all five operand bytes.
    {"op 0 1 2 3 0 0", 0, {1, 2, 3}, "op 0 1 2 3"},
    {"op 15 0 0 0 0 255", 15, {0, 0, 0, 0, 255}, "op 15 0 0 0 0 255"},
    {"op 8", 8, {}, "+"},
    {"op 8 0 0 0 0 5", 8, {0, 0, 0, 0, 5}, "op 8 0 0 0 0 5"},
    {"op 4 7", 4, {7}, "op 4 7"},
    {"op 34 1 2 9", 34, {1, 2, 9}, "op 34 1 2 9"},
    {"op 2 1 8 0 4", 2, {1, 8, 0, 4}, "op 2 1 8 0 4"},
    {"op 48 2", 48, {2}, "pop b"},
    {"op 300 -1", 44, {255}, "pop #255 0 0"},
};

class Encoding : public testing::TestWithParam<Case> {};

TEST_P(Encoding, EncodesListsAndReassembles) {
    const Case& c = GetParam();
    actionManager m;
    m.CreateAction("callee");
    T_Action* a = Assembled(m, {"def a", "def b", "def c", c.line});
    ASSERT_EQ(a->Instructions.size(), 4u);
    const TActionLine& l = a->Instructions[3];
    EXPECT_EQ(l.Opcode, c.opcode);
    TActionLine want;
    want.Opcode = c.opcode;
    for (size_t i = 0; i < c.bytes.size(); ++i)
        want.Operands[i] = c.bytes[i];
    EXPECT_EQ(std::vector<uint8_t>(l.Operands, l.Operands + 5),
              std::vector<uint8_t>(want.Operands, want.Operands + 5));
    EXPECT_EQ(a->InstructionText(3), c.listed);
    if (!c.reassembles)
        return;
    T_Action* again = Assembled(m, {"def a", "def b", "def c", c.listed}, "again");
    EXPECT_EQ(again->Instructions[3], l);
}

INSTANTIATE_TEST_SUITE_P(AllFamilies, Encoding, testing::ValuesIn(kCases));

TEST(InstructionTable, OperandLengthsCoverTheOperandBytesOfEveryCode) {
    for (int code = 0; code < 256; ++code) {
        const TOpcodeInfo* info = FindOpcode(uint8_t(code));
        bool listed = code >= 1 && code <= 49 && code != 15 && code != 20 && code != 21;
        ASSERT_EQ(info != nullptr, listed) << code;
        if (!info) {
            EXPECT_EQ(OperandLength(uint8_t(code)), 0);
            continue;
        }
        int end = 0;
        for (int i = 0; i < info->operandCount; ++i) {
            const TOperand& op = info->operands[i];
            int width = op.kind == TOperandKind::Num32 ? 4
                        : op.kind == TOperandKind::Var || op.kind == TOperandKind::Len8 ||
                                op.kind == TOperandKind::Function
                            ? 1
                            : 2;
            end = std::max(end, op.at + width);
        }
        EXPECT_EQ(info->operandLength, end) << code;
    }
}

TEST(InstructionTable, FreshLineListsAsItsCodeAndHasNoOperands) {
    T_Action a;
    a.Instructions.emplace_back();
    EXPECT_EQ(a.InstructionText(0), "op 0");
    EXPECT_EQ(a.Instructions[0].OperandLength(), 0);
    for (uint8_t code : {0, 15, 20, 21, 50, 255}) {
        a.Instructions[0].Opcode = code;
        EXPECT_EQ(a.InstructionText(0), "op " + std::to_string(code)) << int(code);
    }
}

} // namespace
