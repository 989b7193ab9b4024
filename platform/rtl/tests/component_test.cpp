// Object model and lists: ownership, names, free notifications, pointer and object lists,
// collections.
#include <gtest/gtest.h>

#include "classes.h"

namespace {

// Records notifications and its own destruction.
class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::vector<std::string>* log, std::string tag) : TComponent(owner), log_(log) {
        SetName(tag);
    }
    ~Probe() override { log_->push_back("~" + Name()); }

protected:
    // Named by Name(): a component being destroyed is no longer a Probe when others hear of it.
    void Notification(TComponent* c, TOperation op) override {
        log_->push_back(Name() + (op == opInsert ? " +" : " -") + c->Name());
        TComponent::Notification(c, op);
    }

private:
    std::vector<std::string>* log_;
};

struct Counted : TObject {
    explicit Counted(int* alive) : alive_(alive) { ++*alive_; }
    ~Counted() override { --*alive_; }
    int* alive_;
};

} // namespace

TEST(Component, OwnerFreesOwnedLastFirstAndHearsAboutThem) {
    std::vector<std::string> log;
    auto* owner = new Probe(nullptr, &log, "owner");
    auto* a = new Probe(owner, &log, "a");
    new Probe(owner, &log, "b");
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(0), a);
    EXPECT_EQ(a->Owner(), owner);
    EXPECT_EQ(a->ComponentIndex(), 0);
    EXPECT_THROW(owner->Components(2), EListError);
    log.clear();
    delete a; // an owned component may go first; its owner forgets it
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"~a", "owner -a", "b -a"}));
    log.clear();
    delete owner;
    EXPECT_EQ(log, (std::vector<std::string>{"~owner", "~b"}));
}

TEST(Component, FreeNotificationAcrossOwners) {
    std::vector<std::string> log;
    Probe formA(nullptr, &log, "formA"), formB(nullptr, &log, "formB");
    auto* editor = new Probe(&formA, &log, "editor");
    auto* host = new Probe(&formB, &log, "host");
    editor->FreeNotification(host);
    EXPECT_TRUE(editor->ComponentState().Contains(csFreeNotification));
    log.clear();
    delete host;
    EXPECT_NE(std::find(log.begin(), log.end(), "editor -host"), log.end());
    log.clear();
    auto* other = new Probe(&formB, &log, "other");
    other->FreeNotification(editor);
    other->RemoveFreeNotification(editor);
    log.clear();
    delete editor;
    EXPECT_EQ(std::find(log.begin(), log.end(), "other -editor"), log.end());
}

TEST(Component, NamesAreIdentifiersUniquePerOwner) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    a->SetName("Edit1");
    EXPECT_EQ(owner.FindComponent("EDIT1"), a);
    try {
        b->SetName("edit1");
        ADD_FAILURE();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message, "A component named edit1 already exists");
    }
    for (const char* bad : {"1x", "a b", "Ёж", "a-b"})
        EXPECT_THROW(b->SetName(bad), EComponentError) << bad;
    b->SetName("_x1");
    b->SetName("");
    EXPECT_EQ(b->Name(), "");
    EXPECT_EQ(owner.FindComponent(""), nullptr);
}

TEST(Component, StateFlags) {
    TComponent owner(nullptr);
    auto* c = new TComponent(&owner);
    c->SetComponentState(csLoading, true);
    EXPECT_TRUE(c->ComponentState().Contains(csLoading));
    c->Loaded();
    EXPECT_FALSE(c->ComponentState().Contains(csLoading));
    owner.SetDesigning(true);
    EXPECT_TRUE(c->ComponentState().Contains(csDesigning));
    owner.Destroying();
    EXPECT_TRUE(c->ComponentState().Contains(csDestroying));
    EXPECT_EQ(c->ClassName(), "TComponent");
}

TEST(List, IndexErrorsAndOperations) {
    int x[4];
    TList l;
    for (int& v : x)
        l.Add(&v);
    l.Move(0, 3);
    EXPECT_EQ(l[3], &x[0]);
    l.Exchange(0, 3);
    EXPECT_EQ(l.First(), &x[0]);
    EXPECT_EQ(l.Remove(&x[2]), 1); // x0 x2 x3 x1
    EXPECT_EQ(l.Remove(&x[2]), -1);
    l.Insert(3, nullptr);
    l.Pack();
    EXPECT_EQ(l.Count(), 3);
    for (int bad : {-1, 3}) {
        try {
            l.Get(bad);
            ADD_FAILURE();
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message, "List index out of bounds (" + std::to_string(bad) + ")");
        }
    }
    EXPECT_THROW(l.Insert(4, nullptr), EListError);
    EXPECT_THROW(l.Delete(3), EListError);
}

TEST(ObjectList, OwnsUntilExtracted) {
    int alive = 0;
    Counted* kept;
    {
        TObjectList l;
        for (int i = 0; i < 4; ++i)
            l.Add(new Counted(&alive));
        l.Delete(0);
        EXPECT_EQ(alive, 3);
        l.SetItem(0, new Counted(&alive)); // the replaced object goes
        EXPECT_EQ(alive, 3);
        kept = static_cast<Counted*>(l.Extract(l.Items(1)));
        EXPECT_EQ(l.Count(), 2);
    }
    EXPECT_EQ(alive, 1);
    delete kept;
    TObjectList notOwning(false);
    Counted c(&alive);
    notOwning.Add(&c);
    notOwning.Clear();
    EXPECT_EQ(alive, 1);
}

namespace {

class Item : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    std::string Caption;
    void Assign(TPersistent* s) override { Caption = static_cast<Item*>(s)->Caption; }
    void Touch() { Changed(false); }
};

class ItemList : public TCollection {
public:
    ItemList() : TCollection(CollectionItemClass<Item>()) {}
    std::vector<TCollectionItem*> updates;

protected:
    void Update(TCollectionItem* i) override { updates.push_back(i); }
};

} // namespace

TEST(Collection, OwnsItemsKeepsIdsAndReportsUpdates) {
    ItemList c;
    auto* a = static_cast<Item*>(c.Add());
    auto* b = static_cast<Item*>(c.Add());
    auto* d = static_cast<Item*>(c.Insert(0));
    EXPECT_EQ(c.Count(), 3);
    EXPECT_EQ(c.Items(0), d);
    EXPECT_EQ(d->ID(), 2);
    EXPECT_EQ(c.FindItemID(1), b);
    b->SetIndex(0);
    EXPECT_EQ(c.Items(0), b);
    EXPECT_EQ(a->Index(), 2);
    c.updates.clear();
    a->Touch();
    EXPECT_EQ(c.updates, (std::vector<TCollectionItem*>{a}));
    c.BeginUpdate();
    a->Touch();
    c.Delete(0);
    c.EndUpdate();
    EXPECT_EQ(c.updates, (std::vector<TCollectionItem*>{a, nullptr}));
    EXPECT_THROW(c.Items(2), EListError);
    a->Caption = "x";
    ItemList copy;
    copy.Assign(&c);
    EXPECT_EQ(copy.Count(), 2);
    EXPECT_EQ(static_cast<Item*>(copy.Items(1))->Caption, "x");
    delete a;
    EXPECT_EQ(c.Count(), 1);
}
