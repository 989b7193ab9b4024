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

TEST(Lister, VariableNumbersOutsideTheListShowNothing) {
    actionManager m;
    T_Action* a = Assembled(m, {"def a"});
    TActionLine mov;
    mov.Opcode = opMov;
    a->Instructions.push_back(mov); // operands that named no variable
    mov.Operands[0] = 5;
    mov.Operands[1] = 1;
    a->Instructions.push_back(mov);
    EXPECT_EQ(a->InstructionText(1), "mov");
    EXPECT_EQ(a->InstructionText(2), "mov a");
}

TEST(Lister, VariableNamesThatAreNotOneFieldAreQuotedAndReadBack) {
    const std::pair<const char*, const char*> kNames[] = {
        {"Счёт", "Счёт"},         {"a\"b", "a\"b"},      {"my var", "\"my var\""},
        {"a,b", "\"a,b\""},        {"\"q", "\"\"\"q\""},   {"", "\"\""},
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
            case TOperandKind::Var:
                l.Operands[op.at] = uint8_t(pick(1, nvars));
                break;
            case TOperandKind::Num16:
            case TOperandKind::Len16:
            case TOperandKind::Target:
                l.SetU16(op.at, uint16_t(pick(0, 3) ? pick(0, 65535) : 8));
                break;
            case TOperandKind::Len8:
                l.Operands[op.at] = uint8_t(pick(0, 1) ? pick(0, 255) : 8);
                break;
            case TOperandKind::Num32:
                l.SetU32(uint32_t(rng()));
                break;
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

std::vector<std::string> Vars(const T_Action& a) {
    std::vector<std::string> v;
    for (int i = 0; i < a.Variables.Count(); ++i)
        v.push_back(a.Variables[i]);
    return v;
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

} // namespace
