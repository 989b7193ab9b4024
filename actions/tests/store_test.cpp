// Tests of the subprogram store (actions layer): ids, names, searches, deletion, display names.
#include <gtest/gtest.h>

#include <random>

#include "helpers.h"

namespace {

TEST(ActionStore, IdsSkipThirteen) {
    actionManager m;
    EXPECT_EQ(m.CreateAction("a")->Id(), 1);
    for (int id = 2; id <= 12; ++id)
        ASSERT_TRUE(m.CreateActionWithId(uint16_t(id)));
    EXPECT_EQ(m.CreateAction("b")->Id(), 14);
    EXPECT_EQ(m.CreateAction("c")->Id(), 15);
    T_Action* t = m.CreateActionWithId(13);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->Name(), "action13");
    EXPECT_EQ(m.CreateActionWithId(13), nullptr);
    EXPECT_EQ(m.CreateActionWithId(0), nullptr);
}

TEST(ActionStore, TopIdTakenFallsBackToLowestFreeId) {
    actionManager m;
    ASSERT_TRUE(m.CreateActionWithId(65535));
    EXPECT_EQ(m.CreateAction("a")->Id(), 1);
    for (int id = 2; id <= 14; ++id)
        m.CreateActionWithId(uint16_t(id));
    EXPECT_EQ(m.CreateAction("b")->Id(), 15);
}

TEST(ActionStore, NamesAreRequiredAndUniqueButCaptionsDoNotCount) {
    actionManager m;
    T_Action* a = m.CreateAction("a");
    a->Caption = "cap";
    EXPECT_EQ(m.CreateAction(""), nullptr);
    EXPECT_EQ(m.CreateAction("a"), nullptr);
    ASSERT_TRUE(m.CreateAction("cap"));
    EXPECT_EQ(m.Count(), 2u);
    a->SetName("");
    EXPECT_EQ(a->Name(), "a");
}

TEST(ActionStore, DisplayNames) {
    actionManager m;
    T_Action* a = m.CreateAction("M230_prepareQuery");
    T_Action* b = m.CreateAction("b");
    b->Caption = "Подготовка запроса";
    EXPECT_EQ(m.DisplayName(0), "нет");
    EXPECT_EQ(m.DisplayName(999), "???");
    EXPECT_EQ(m.DisplayName(a->Id()), "M230_prepareQuery");
    EXPECT_EQ(m.DisplayName(b->Id()), "Подготовка запроса");
}

TEST(ActionStore, DeleteRefusesLockedForeignAndNullButClearTakesAll) {
    actionManager m, other;
    T_Action* a = m.CreateAction("a");
    a->Lock = 1;
    T_Action* foreign = other.CreateAction("a");
    m.DeleteAction(a);
    m.DeleteAction(foreign);
    m.DeleteAction(nullptr);
    EXPECT_EQ(m.Contains(a), a);
    EXPECT_EQ(m.Contains(foreign), nullptr);
    EXPECT_EQ(other.Contains(foreign), foreign);
    a->Lock = 0;
    m.DeleteAction(a);
    EXPECT_EQ(m.Count(), 0u);
    other.ById(foreign->Id())->Lock = 5;
    other.Clear();
    EXPECT_EQ(other.Count(), 0u);
}

TEST(ActionStore, ContainsAcceptsAPointerThatWasDeleted) {
    actionManager m;
    T_Action* a = m.CreateAction("a");
    m.DeleteAction(a);
    EXPECT_EQ(m.Contains(a), nullptr);
    m.DeleteAction(a); // a stale pointer is ignored as well
    EXPECT_EQ(m.Count(), 0u);
}

TEST(ActionStore, IsDefinedNeedsInstructions) {
    actionManager m;
    T_Action* empty = m.CreateAction("e");
    T_Action* full = Assembled(m, {"ret"}, "f");
    EXPECT_FALSE(m.IsDefined(0));
    EXPECT_FALSE(m.IsDefined(77));
    EXPECT_FALSE(m.IsDefined(empty->Id()));
    EXPECT_TRUE(m.IsDefined(full->Id()));
}

TEST(ActionStore, SearchesWalkAscendingAndTakeTheMatchIntoTheFilter) {
    actionManager m;
    m.CreateActionWithId(30);
    m.CreateActionWithId(10)->Caption = "x";
    m.CreateActionWithId(20)->SetName("x");
    ActionFilter all;
    std::vector<int> ids;
    for (T_Action* a = m.FindFirst(all); a; a = m.FindNext())
        ids.push_back(a->Id());
    EXPECT_EQ(ids, (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(m.Current(), nullptr);
    EXPECT_EQ(m.FindNext(), nullptr);

    ActionFilter byName;
    byName.Flags = ActionFilter::ByName;
    byName.Name = "x";
    T_Action* first = m.FindFirst(byName); // caption match
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Id(), 10);
    // The stored filter now holds the match's own name, so the walk goes on with "action10".
    EXPECT_EQ(m.Filter().Name, "action10");
    EXPECT_EQ(m.Filter().Id, 10);
    EXPECT_EQ(m.FindNext(), nullptr);

    ActionFilter both;
    both.Flags = ActionFilter::ByName | ActionFilter::ById;
    both.Name = "x";
    both.Id = 30;
    EXPECT_EQ(m.FindFirst(both), nullptr);
    both.Id = 20;
    EXPECT_EQ(m.FindFirst(both)->Id(), 20);
}

TEST(ActionStore, FindNextAfterTheCurrentWasDeletedResumesAbove) {
    actionManager m;
    for (uint16_t id : {1, 2, 3})
        m.CreateActionWithId(id);
    T_Action* a = m.FindFirst({});
    a = m.FindNext();
    ASSERT_EQ(a->Id(), 2);
    m.DeleteAction(a);
    T_Action* next = m.FindNext();
    ASSERT_TRUE(next);
    EXPECT_EQ(next->Id(), 3);
}

TEST(ActionStore, FindOrCreate) {
    actionManager m;
    m.CreateActionWithId(40);
    // Not present by name: the unnamed subprogram under the reserved id is taken and keeps its name.
    EXPECT_EQ(m.FindOrCreate("qbx520_checkSchedule", 40, 1), 40);
    EXPECT_EQ(m.ById(40)->Name(), "action40");
    EXPECT_EQ(m.FindOrCreate("missing", 0, 0), 0);
    EXPECT_EQ(m.FindOrCreate("missing", 41, 0), 0);
    uint16_t made = m.FindOrCreate("log_handleStateChange", 0, 1);
    EXPECT_EQ(m.ById(made)->Name(), "log_handleStateChange");
    EXPECT_EQ(m.FindOrCreate("log_handleStateChange", 0, 1), made);
    m.ById(made)->Caption = "Журнал";
    EXPECT_EQ(m.FindOrCreate("Журнал", 0, 0), made);
    // A renamed subprogram under the reserved id is not taken over.
    m.ById(40)->SetName("other");
    EXPECT_EQ(m.FindOrCreate("qbx520_checkSchedule", 40, 0), 0);
    EXPECT_EQ(m.FindOrCreate("", 0, 1), 0);
}

// The lookups by name and caption against a walk over every subprogram, while names, captions and
// the set of subprograms change at random.
TEST(ActionStore, NameLookupsAgreeWithAWalkThroughChanges) {
    actionManager m;
    std::mt19937 rng(7);
    const std::vector<std::string> texts = {"a", "b", "c", "action3", "action5", "Опрос", ""};
    auto text = [&] { return texts[rng() % texts.size()]; };
    auto any = [&]() -> T_Action* {
        if (m.Count() == 0)
            return nullptr;
        auto it = m.Actions().begin();
        std::advance(it, rng() % m.Count());
        return it->second;
    };
    for (int step = 0; step < 3000; ++step) {
        switch (rng() % 6) {
        case 0: m.CreateAction(text()); break;
        case 1: m.CreateActionWithId(uint16_t(1 + rng() % 8)); break;
        case 2:
            if (T_Action* a = any())
                a->SetName(text());
            break;
        case 3:
            if (T_Action* a = any())
                a->Caption = text();
            break;
        case 4: m.DeleteAction(any()); break;
        default: m.FindOrCreate(text(), uint16_t(rng() % 8), int(rng() % 2)); break;
        }
        for (const std::string& t : texts) {
            const T_Action *byName = nullptr, *byEither = nullptr;
            for (const auto& [id, a] : m.Actions()) {
                if (!byName && a->Name() == t)
                    byName = a;
                if (!byEither && (a->Name() == t || a->Caption == t))
                    byEither = a;
            }
            ASSERT_EQ(m.ByName(t), byName) << "step " << step << ", " << t;
            if (!t.empty()) {
                ASSERT_EQ(m.FindOrCreate(t, 0, 0), byEither ? byEither->Id() : 0)
                    << "step " << step << ", " << t;
            }
            ActionFilter f;
            f.Flags = ActionFilter::ByName;
            f.Name = t;
            ASSERT_EQ(m.FindFirst(f), byEither) << "step " << step << ", " << t;
        }
    }
}

TEST(ActionStore, SaveRefusalNamesTheSubprogramPastOneByteKeys) {
    actionManager m;
    T_Action* a = m.CreateAction("big");
    a->Instructions.resize(kMaxStoredInstructions);
    EXPECT_EQ(a->SaveRefusal(), "");
    a->Instructions.resize(kMaxStoredInstructions + 1);
    EXPECT_NE(a->SaveRefusal().find("\"big\""), std::string::npos);
    EXPECT_NE(a->SaveRefusal().find("256"), std::string::npos);
    a->Instructions.resize(1);
    for (size_t i = 0; i <= kMaxStoredVariables; ++i)
        a->Variables.Add("v" + std::to_string(i));
    EXPECT_NE(a->SaveRefusal().find("переменных"), std::string::npos);
}

} // namespace
