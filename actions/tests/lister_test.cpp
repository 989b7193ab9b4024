// Tests of the lister (actions layer): edge texts, the act operand, and the round trip
// list → assemble (and save → load) over random instruction lists.
#include <gtest/gtest.h>

#include <random>

#include "helpers.h"

namespace {

TEST(Lister, IndexOutsideTheListGivesEmptyText) {
    actionManager m;
    T_Action* a = Assembled(m, {"ret"});
    EXPECT_EQ(a->InstructionText(0), "ret");
    EXPECT_EQ(a->InstructionText(1), "");
    EXPECT_EQ(a->InstructionText(-1), "");
}

// Operands that name no variable, or a do-function that does not exist, list as their numbers, and
// a code without a text form as "op" and its code: each line assembles to the same bytes, where
// the listing used to drop them ("mov", "do") into lines that do not assemble.
TEST(Lister, OperandsWithoutANameListAsNumbers) {
    actionManager m;
    T_Action* a = Assembled(m, {"def a", "mov zz", "do nosuch", "mov #5 a", "do 200"});
    a->Instructions.push_back(TActionLine{0, 15, {}});
    a->Instructions.push_back(TActionLine{0, opNone, {}});
    const char* const kListed[] = {"def a", "mov #0 #0", "do 0", "mov #5 a", "do 200", "op 15", "op 0"};
    TStringList text;
    for (int i = 0; i < int(std::size(kListed)); ++i) {
        EXPECT_EQ(a->InstructionText(i), kListed[i]);
        text.Add(a->InstructionText(i));
    }
    EXPECT_EQ(a->Instructions[1].Operands[0], 0); // "zz" is no variable
    T_Action* back = m.CreateAction("back");
    back->Assemble(text);
    EXPECT_EQ(back->Instructions, a->Instructions);
}

// A def line names its variable only where assembling the listing numbers it the same: defs out
// of order, a name the assembler would take for an earlier one, a name with outer blanks.
TEST(Lister, DefLinesNameOnlyWhatReadsBack) {
    actionManager m;
    T_Action* a = m.CreateAction("a");
    for (const char* name : {"x", "y", "X", " z"})
        a->Variables.Add(name);
    for (uint8_t v : {2, 1, 2, 3, 4}) {
        TActionLine def;
        def.Opcode = opDef;
        def.Operands[0] = v;
        def.SetU16(1, 8);
        a->Instructions.push_back(def);
    }
    TActionLine push;
    push.Opcode = opPushVar;
    for (uint8_t v : {1, 2, 3}) {
        push.Operands[0] = v;
        a->Instructions.push_back(push);
    }
    const char* const kListed[] = {"def #2", "def x",  "def y",  "def #3",
                                   "def #4", "push x", "push y", "push #3"};
    TStringList text;
    for (int i = 0; i < int(std::size(kListed)); ++i) {
        EXPECT_EQ(a->InstructionText(i), kListed[i]);
        text.Add(a->InstructionText(i));
    }
    T_Action* back = m.CreateAction("back");
    back->Assemble(text);
    EXPECT_EQ(back->Instructions, a->Instructions);
}

TEST(Lister, VariableNamesThatAreNotOneFieldAreQuotedAndReadBack) {
    const std::pair<const char*, const char*> kNames[] = {
        {"Счёт", "Счёт"},   {"a\"b", "a\"b"},     {"my var", "\"my var\""},
        {"a,b", "\"a,b\""}, {"\"q", "\"\"\"q\""}, {"", "\"\""},
    };
    TempDir dir;
    for (auto [name, listed] : kNames) {
        actionManager m;
        T_Action* a = m.CreateAction("a");
        a->Variables.Add(name);
        TActionLine def, push;
        def.Opcode = opDef;
        def.Operands[0] = 1;
        def.SetU16(1, 8);
        push.Opcode = opPushVar;
        push.Operands[0] = 1;
        a->Instructions = {def, push};
        EXPECT_EQ(a->InstructionText(1), std::string("push ") + listed);
        TStringList text;
        text.Add(a->InstructionText(0));
        text.Add(a->InstructionText(1));
        T_Action* back = m.CreateAction("back");
        back->Assemble(text);
        EXPECT_EQ(back->Instructions, a->Instructions) << listed;
        ASSERT_EQ(back->Variables.Count(), 1);
        EXPECT_EQ(back->Variables[0], name);
        ASSERT_EQ(a->SaveActFile(dir / "q.act"), 0);
        T_Action* loaded = m.CreateAction("loaded");
        ASSERT_EQ(loaded->LoadActFile(dir / "q.act"), 0) << ReadBytes(dir / "q.act");
        EXPECT_EQ(loaded->Instructions, a->Instructions) << listed;
        EXPECT_EQ(loaded->Variables[0], name);
    }
}

TEST(Lister, ActShowsTheIdWhenTheNameWouldNotReadBack) {
    actionManager m;
    T_Action* numeric = m.CreateAction("12");
    T_Action* blank = m.CreateAction("two words");
    T_Action* semi = m.CreateAction("a;b");
    T_Action* good = m.CreateAction("log_handleStateChange");
    T_Action* twin = m.CreateActionWithId(50);
    twin->SetName("log_handleStateChange"); // a later duplicate name resolves to the first one
    T_Action* a = m.CreateAction("caller");
    for (T_Action* callee : {numeric, blank, semi, good, twin}) {
        TActionLine act;
        act.Opcode = opAct;
        act.SetU16(0, callee->Id());
        a->Instructions.push_back(act);
    }
    TActionLine missing;
    missing.Opcode = opAct;
    missing.SetU16(0, 999);
    a->Instructions.push_back(missing);
    EXPECT_EQ(a->InstructionText(0), "act " + std::to_string(numeric->Id()));
    EXPECT_EQ(a->InstructionText(1), "act " + std::to_string(blank->Id()));
    EXPECT_EQ(a->InstructionText(2), "act " + std::to_string(semi->Id()));
    EXPECT_EQ(a->InstructionText(3), "act log_handleStateChange");
    EXPECT_EQ(a->InstructionText(4), "act 50");
    EXPECT_EQ(a->InstructionText(5), "act 999");
}

TEST(Lister, ListingAnActLineEndsTheStoresRunningSearch) {
    actionManager m;
    T_Action* callee = m.CreateAction("callee");
    m.CreateAction("other");
    T_Action* a = Assembled(m, {"act callee"}, "caller");
    ASSERT_EQ(m.FindFirst({}), callee);
    a->InstructionText(0);
    EXPECT_EQ(m.FindNext(), nullptr); // the lister's id search replaced the walk
}

// A random instruction list that the lister can print: every variable operand names a variable,
// which def lines at the top define in order; do-functions are known; unused bytes are 0.
struct RandomList {
    std::vector<std::string> vars;
    std::vector<TActionLine> code;
};

RandomList MakeRandomList(std::mt19937& rng, const std::vector<uint16_t>& actIds) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    RandomList r;
    int nvars = pick(1, 6);
    for (int i = 0; i < nvars; ++i) {
        std::string name;
        do {
            name = "v";
            for (int k = pick(0, 6); k > 0; --k)
                name += char(pick(0, 1) ? 'a' + pick(0, 25) : '0' + pick(0, 9));
            if (pick(0, 3) == 0)
                name += "_Счёт";
            if (pick(0, 5) == 0)
                name += ",y"; // listed in quotes
        } while (std::find(r.vars.begin(), r.vars.end(), name) != r.vars.end());
        r.vars.push_back(name);
        TActionLine def;
        def.Opcode = opDef;
        def.Operands[0] = uint8_t(i + 1);
        def.SetU16(1, uint16_t(pick(0, 20)));
        r.code.push_back(def);
    }
    auto table = OpcodeTable();
    for (int n = pick(0, 60); n > 0; --n) {
        const TOpcodeInfo& info = table[size_t(pick(0, int(table.size()) - 1))];
        TActionLine l;
        l.Opcode = info.code;
        for (int i = 0; i < info.operandCount; ++i) {
            const TOperand op = info.operands[i];
            switch (op.kind) {
            case TOperandKind::Var: l.Operands[op.at] = uint8_t(pick(1, nvars)); break;
            case TOperandKind::Num16:
            case TOperandKind::Len16:
            case TOperandKind::Target: l.SetU16(op.at, uint16_t(pick(0, 3) ? pick(0, 65535) : 8)); break;
            case TOperandKind::Len8: l.Operands[op.at] = uint8_t(pick(0, 1) ? pick(0, 255) : 8); break;
            case TOperandKind::Num32: l.SetU32(uint32_t(rng())); break;
            case TOperandKind::Function:
                l.Operands[op.at] = uint8_t(pick(1, int(DoFunctionNames().size())));
                break;
            case TOperandKind::Action:
                l.SetU16(op.at, actIds[size_t(pick(0, int(actIds.size()) - 1))]);
                break;
            }
        }
        r.code.push_back(l);
    }
    return r;
}

TEST(Lister, RandomListsListAndReassembleToThemselves) {
    std::mt19937 rng(3105);
    actionManager m;
    std::vector<uint16_t> actIds{m.CreateAction("sub_one")->Id(), m.CreateAction("12")->Id(),
                                 m.CreateAction("two words")->Id(), 999};
    TempDir dir;
    for (int round = 0; round < 400; ++round) {
        RandomList r = MakeRandomList(rng, actIds);
        T_Action* src = m.CreateAction("src");
        src->Instructions = r.code;
        for (auto& v : r.vars)
            src->Variables.Add(v);

        TStringList text;
        for (size_t i = 0; i < r.code.size(); ++i)
            text.Add(src->InstructionText(int(i)));
        T_Action* back = m.CreateAction("back");
        back->Assemble(text);
        ASSERT_EQ(back->Instructions, r.code) << "round " << round;
        ASSERT_EQ(Vars(*back), r.vars);

        std::string file = dir / "r.act";
        ASSERT_EQ(src->SaveActFile(file), 0);
        T_Action* loaded = m.CreateAction("loaded");
        ASSERT_EQ(loaded->LoadActFile(file), 0);
        ASSERT_EQ(loaded->Instructions, r.code) << "round " << round;

        for (T_Action* a : {src, back, loaded})
            m.DeleteAction(a);
    }
}

// What the store may hold: any opcode byte with any five operand bytes (a code's own bytes always
// random, the bytes it does not use random in every other instruction), under any variable list.
// Listing, assembling and an .act file give the same bytes back.
TEST(Lister, RandomInstructionBytesListAndReadBack) {
    std::mt19937 rng(9107);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    actionManager m;
    TempDir dir;
    for (int round = 0; round < 600; ++round) {
        T_Action* src = m.CreateAction("src");
        const int nvars = pick(0, 5);
        for (int i = 0; i < nvars; ++i)
            src->Variables.Add((pick(0, 3) ? "v" : "V") + std::to_string(pick(0, 6)) +
                               (pick(0, 4) ? "" : "_Счёт"));
        if (pick(0, 1)) { // def lines at the top, as an assembled subprogram has them
            for (int i = 1; i <= nvars; ++i)
                src->Instructions.push_back(TActionLine{0, opDef, {uint8_t(i), 8, 0, 0, 0}});
        }
        for (int n = pick(0, 40); n > 0; --n) {
            TActionLine l;
            l.Opcode = uint8_t(pick(0, 3) ? pick(0, opLast) : pick(0, 255));
            const bool stray = pick(0, 1) == 0;
            for (int b = 0; b < kOperandBytes; ++b)
                if (b < l.OperandLength() || stray)
                    l.Operands[b] = uint8_t(pick(0, 1) ? pick(0, nvars + 1) : pick(0, 255));
            src->Instructions.push_back(l);
        }
        TStringList text;
        for (size_t i = 0; i < src->Instructions.size(); ++i)
            text.Add(src->InstructionText(int(i)));
        T_Action* back = m.CreateAction("back");
        back->Assemble(text);
        ASSERT_EQ(back->Instructions, src->Instructions) << "round " << round << "\n" << text.Text();

        const std::string file = dir / "r.act";
        ASSERT_EQ(src->SaveActFile(file), 0);
        T_Action* loaded = m.CreateAction("loaded");
        ASSERT_EQ(loaded->LoadActFile(file), 0) << ReadBytes(file);
        ASSERT_EQ(loaded->Instructions, src->Instructions) << "round " << round << "\n" << ReadBytes(file);
        for (T_Action* a : {src, back, loaded})
            m.DeleteAction(a);
    }
}

} // namespace
