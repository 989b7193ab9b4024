// What the terminals do with channels: bindings through the index tables across a save and a load,
// exclusive adoption, widening of stored tables, refused bindings, two-phase destruction, edits.
#include <filesystem>

#include "Relayobjects.h"
#include "forms.h"
#include "relayfixture.h"
#include "stdctrls.h"

using namespace relaytest;

namespace {

int Index(TDeviceEngine* o, dev::Role role) { return o->IndexOf(o->Setting(role)); }

// Where signal i is recorded.
dev::Address Entry(TDeviceEngine* o, int i) {
    int table = 0, offset = 0;
    EXPECT_TRUE(o->EntryOf(i, table, offset)) << i;
    return dev::GetEntry(o->Param(table), offset);
}

class RelayBehaviour : public RelayTest, public ::testing::WithParamInterface<TRelayClass> {
protected:
    const dev::TDeviceDef& def = *GetParam().Def;
    // Signals bound by the round trip: the first, one past the first table, the last.
    std::vector<int> Bound() const { return {0, 21, def.SignalCount - 1}; }
};

TEST_P(RelayBehaviour, BindingsAndSettingsSurviveSaveAndLoad) {
    TDeviceEngine* o = Add(def);
    ASSERT_NE(o, nullptr);
    o->ApplyPropertyValue(2, "7");
    o->ApplyPropertyValue(3, "9600");
    const bool password = o->Setting(dev::Role::Password) != nullptr;
    if (password)
        o->ApplyPropertyValue(4, "4660");
    std::vector<TParamItem*> bound;
    for (size_t k = 0; k < Bound().size(); ++k) {
        TParamItem* p = o->Param(Bound()[k]);
        o->BindParam(static_cast<uint16_t>(3000 + k), 1, p);
        bound.push_back(p);
    }
    const size_t channels = Channels().size();
    SaveAndReload();

    std::vector<TDeviceEngine*> all = Objects(def.Tag());
    ASSERT_EQ(all.size(), 1u);
    o = all[0];
    EXPECT_EQ(Channels().size(), channels);
    EXPECT_EQ(RowText(o, 2), "7");
    EXPECT_EQ(RowText(o, 3), "9600");
    if (password) {
        EXPECT_EQ(RowText(o, 4), "4660");
    }
    for (size_t k = 0; k < Bound().size(); ++k) {
        const int i = Bound()[k];
        TParamItem* p = o->Param(i);
        EXPECT_EQ(p->ChannelType, 3000 + k) << i;
        EXPECT_EQ(p->ChannelIndex, 1) << i;
        EXPECT_EQ(p->Owner, o);
        EXPECT_EQ(Entry(o, i), (dev::Address{static_cast<uint16_t>(3000 + k), 1}));
        EXPECT_EQ(CountAddress(static_cast<uint16_t>(3000 + k), 1), 1);
    }
    EXPECT_TRUE(dev::IsUnbound(o->Param(1)));
    for (int i = 0; i < o->ParamCount(); ++i)
        EXPECT_EQ(o->Param(i)->Owner, o);
    EXPECT_TRUE(messages.empty());
}

TEST_P(RelayBehaviour, BindingRefusedWhereAnotherChannelHoldsTheAddress) {
    TDeviceEngine* o = Add(def);
    ASSERT_NE(o, nullptr);
    o->BindParam(4000, 2, o->Param(0));
    o->BindParam(4000, 2, o->Param(1));
    EXPECT_TRUE(dev::IsUnbound(o->Param(1)));
    EXPECT_TRUE(Entry(o, 1).Empty());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("4000:2"), std::string::npos);
    // A settings channel holds its address as well.
    TParamItem* address = o->Setting(dev::Role::Address);
    o->BindParam(address->ChannelType, address->ChannelIndex, o->Param(1));
    EXPECT_TRUE(dev::IsUnbound(o->Param(1)));
    EXPECT_EQ(messages.size(), 2u);
    // Rebinding a channel at its own address, and unbinding, are no conflicts.
    o->BindParam(4000, 2, o->Param(0));
    o->BindParam(0, 0, o->Param(0));
    EXPECT_TRUE(Entry(o, 0).Empty());
    EXPECT_EQ(messages.size(), 2u);
}

TEST_P(RelayBehaviour, OnlySignalsAreBound) {
    TDeviceEngine* o = Add(def);
    ASSERT_NE(o, nullptr);
    for (int i = def.SignalCount; i < o->ParamCount(); ++i) {
        TParamItem* p = o->Param(i);
        const dev::Address before = dev::AddressOf(p);
        o->BindParam(4100, 3, p);
        EXPECT_EQ(dev::AddressOf(p), before) << i;
    }
    for (int i = def.SignalCount; i < o->ParamCount(); ++i) {
        int table = 0, offset = 0;
        EXPECT_FALSE(o->EntryOf(i, table, offset)) << i;
    }
    ELEMList list;
    o->ListSignalParams(&list, true);
    EXPECT_EQ(list.Count, def.SignalCount);
    while (ELEM* e = list.Newest) {
        list.Remove(e);
        delete e;
    }
}

TEST_P(RelayBehaviour, ExclusiveAdoptionAndWidening) {
    TDeviceEngine* a = Add(def);
    TDeviceEngine* b = Add(def);
    ASSERT_TRUE(a && b);
    a->BindParam(4200, 1, a->Param(0));
    // A damaged file: two entries of one object and one of another name the same channel.
    int table = 0, offset = 0;
    ASSERT_TRUE(a->EntryOf(1, table, offset));
    dev::SetEntry(a->Param(table), offset, {4200, 1});
    ASSERT_TRUE(b->EntryOf(0, table, offset));
    dev::SetEntry(b->Param(table), offset, {4200, 1});
    // The last table of b stored one entry wide.
    const int last = b->ParamCount() - 1 - (b->Setting(dev::Role::Password) ? 1 : 0);
    const uint16_t fullBits = b->Param(last)->BitWidth();
    b->Param(last)->SetBitWidth(24);
    SaveAndReload();

    std::vector<TDeviceEngine*> all = Objects(def.Tag());
    ASSERT_EQ(all.size(), 2u);
    a = all[0];
    b = all[1];
    EXPECT_EQ(a->Param(0)->ChannelType, 4200);
    EXPECT_TRUE(dev::IsUnbound(a->Param(1)));
    EXPECT_TRUE(dev::IsUnbound(b->Param(0)));
    EXPECT_EQ(CountAddress(4200, 1), 1);
    EXPECT_EQ(b->Param(last)->BitWidth(), fullBits);
    // The widened table records its last signal, and keeps it through the next round.
    b->BindParam(4300, 1, b->Param(def.SignalCount - 1));
    SaveAndReload();
    b = Objects(def.Tag())[1];
    EXPECT_EQ(b->Param(def.SignalCount - 1)->ChannelType, 4300);
}

TEST_P(RelayBehaviour, DestructionRebindsWhileEveryParameterLives) {
    TDeviceEngine* o = nullptr;
    int rebinds = 0, alive = 0;
    // Set before the object is built: the list copies its hooks into every channel it takes.
    cm->Channels.OnRebind = [&](ELEM* e) {
        auto* p = static_cast<TParamItem*>(e);
        ++rebinds;
        o->BindParam(0, 0, p);
        for (int i = 0; i < o->ParamCount(); ++i)
            alive += o->Param(i) && !o->GetParamDescription(o->Param(i)).empty() ? 1 : 0;
    };
    o = Add(def);
    ASSERT_NE(o, nullptr);
    o->BindParam(4400, 1, o->Param(0));
    o->BindParam(4400, 2, o->Param(def.SignalCount - 1));
    cm->DeleteObject(o);
    EXPECT_EQ(rebinds, def.ParamCount());
    EXPECT_EQ(alive, def.ParamCount() * def.SignalCount);
    EXPECT_EQ(Channels().size(), static_cast<size_t>(kBuiltInChannelCount));
}

TEST_P(RelayBehaviour, TypedNumbersOutsideTheirFieldChangeNothing) {
    TDeviceEngine* o = Add(def);
    ASSERT_NE(o, nullptr);
    TParamItem* address = o->Setting(dev::Role::Address);
    for (const char* text : {"256", "-1", "abc", "", "1e3"}) {
        o->ApplyPropertyValue(2, text);
        EXPECT_EQ(RowText(o, 2), "0") << text;
        EXPECT_FALSE(o->SetParamValueText(address, text));
        EXPECT_EQ(address->Value[0], 0) << text;
    }
    o->ApplyPropertyValue(2, " 255 ");
    EXPECT_EQ(RowText(o, 2), "255");
    EXPECT_FALSE(o->SetParamValueText(address, "12"));
    EXPECT_EQ(RowText(o, 2), "12");
    o->ApplyPropertyValue(3, "");
    EXPECT_EQ(RowText(o, 3), "19200");
    if (o->Setting(dev::Role::Password)) {
        o->ApplyPropertyValue(4, "65536");
        EXPECT_EQ(RowText(o, 4), "0");
        o->ApplyPropertyValue(4, "65535");
        EXPECT_EQ(RowText(o, 4), "65535");
    } else {
        std::string untouched = "x";
        o->GetPropertyText(4, untouched);
        EXPECT_EQ(untouched, "x");
    }
}

TEST_P(RelayBehaviour, PropertyEditors) {
    Application->Initialize();
    auto host = std::make_unique<TForm>(nullptr);
    TDeviceEngine* o = Add(def);
    ASSERT_NE(o, nullptr);
    int done = 0;
    TNotifyEvent after = [&done](TObject*) { ++done; };
    auto* combo = dynamic_cast<TComboBox*>(o->CreatePropertyEditor(3, host.get(), nullptr, after));
    ASSERT_NE(combo, nullptr);
    EXPECT_FALSE(combo->Visible());
    EXPECT_FALSE(combo->ParentFont());
    EXPECT_EQ(combo->Font()->Size(), host->Font()->Size() - 3);
    ASSERT_EQ(combo->Items()->Count(), 6);
    EXPECT_EQ(combo->Items()->Strings(combo->ItemIndex()), "19200");
    combo->SetItemIndex(4);
    combo->OnChange(combo);
    EXPECT_EQ(RowText(o, 3), "36400");
    EXPECT_EQ(done, 1);
    auto* edit = dynamic_cast<TEdit*>(o->CreatePropertyEditor(2, host.get(), nullptr, after));
    ASSERT_NE(edit, nullptr);
    edit->SetText("abc"); // raises the change event
    EXPECT_EQ(RowText(o, 2), "0");
    edit->SetText("9");
    EXPECT_EQ(RowText(o, 2), "9");
    EXPECT_EQ(done, 3);
    const bool password = o->Setting(dev::Role::Password) != nullptr;
    EXPECT_EQ(o->CreatePropertyEditor(4, host.get(), nullptr, after) != nullptr, password);
    EXPECT_EQ(o->CreatePropertyEditor(5, host.get(), nullptr, after), nullptr);
    EXPECT_NE(o->CreatePropertyEditor(1, host.get(), nullptr, after), nullptr);
    host.reset();
    Application->ProcessMessages();
}

TEST_P(RelayBehaviour, ValueTexts) {
    TDeviceEngine* o = Add(def);
    ASSERT_NE(o, nullptr);
    o->ApplyPropertyValue(2, "7");
    o->BindParam(4500, 3, o->Param(0));
    EXPECT_EQ(ValueText(o, o->Param(0)), "2");
    EXPECT_EQ(ValueText(o, o->Setting(dev::Role::Address)), "адрес 7, скорость 19200");
    const std::string table = ValueText(o, o->Param(Index(o, dev::Role::IndexTable)));
    EXPECT_EQ(table.rfind("4500:3,0:0,", 0), 0u) << table;
    for (int i = 0; i < def.SignalCount; ++i) {
        TParamItem* p = o->Param(i);
        if (p->Kind != kChannelMeasured)
            continue;
        EXPECT_EQ(ValueText(o, p), "не определено");
        p->RamDepth = 0;
        p->Value.Fill(0);
        p->Value[0] = 0x39;
        p->Value[1] = 0x30;
        EXPECT_EQ(ValueText(o, p), "12345");
        break;
    }
    TParamItem foreign;
    std::string text = "x";
    EXPECT_TRUE(o->GetParamValueText(&foreign, text));
    EXPECT_EQ(text, "x");
    EXPECT_EQ(o->GetParamDescription(&foreign), "");
}

TEST_P(RelayBehaviour, RenumberingRestampsOnlyTheSettings) {
    TDeviceEngine* a = Add(def);
    TDeviceEngine* b = Add(def);
    ASSERT_TRUE(a && b);
    b->BindParam(4600, 1, b->Param(0));
    b->ApplyPropertyValue(2, "5");
    cm->DeleteObject(a);
    EXPECT_EQ(b->Number, def.NumberBase() + 1);
    for (int i = def.SignalCount; i < b->ParamCount(); ++i)
        EXPECT_EQ(b->Param(i)->ChannelIndex, 1) << i;
    EXPECT_EQ(b->Param(0)->ChannelType, 4600);
    SaveAndReload();
    b = Objects(def.Tag())[0];
    EXPECT_EQ(RowText(b, 2), "5");
    EXPECT_EQ(b->Param(0)->ChannelType, 4600);
}

TEST_P(RelayBehaviour, MissingPluginFile) {
    const std::string query = def.Subprograms[def.PrepareSub].name;
    const std::string parse = def.Subprograms[def.ParseSub].name;
    std::filesystem::remove(root + def.Folder + "/" + query + ".act");
    std::filesystem::remove(root + def.Folder + "/" + parse + ".act");
    // Another item already names a subprogram of the parse name: it stays in the store.
    T_Action* shared = cm->Actions->CreateAction(parse);
    ASSERT_NE(shared, nullptr);
    const uint16_t sharedId = shared->Id();
    TDeviceEngine* o = Add(def);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(messages, (std::vector<std::string>{"Файл не найден: " + query + ".act",
                                                  "Файл не найден: " + parse + ".act"}));
    EXPECT_EQ(o->SubprogramId(def.PrepareSub), 0);
    EXPECT_EQ(o->SubprogramId(def.ParseSub), 0);
    EXPECT_EQ(cm->Actions->FindOrCreate(query, 0, 0), 0);
    EXPECT_EQ(dev::Subprogram(cm->Actions, sharedId), shared);
    for (int n = 0; n < o->CommandCount(); ++n) {
        EXPECT_EQ(o->CommandAt(n)->Prepare, 0);
        EXPECT_EQ(o->CommandAt(n)->Parse, 0);
        EXPECT_NE(o->CommandAt(n)->NoAnswer, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Terminals, RelayBehaviour,
                         ::testing::ValuesIn(RelayClasses().begin(), RelayClasses().end()), ClassName());

// The old Sirius-2L's last index table reaches over its settings positions; they keep their values
// and addresses across a save and a load.
TEST_F(RelayTest, OldSirius2lSettingsStayOutOfTheChannelGrid) {
    TDeviceEngine* o = Add(TSIRIUS2LOLDItem::Def);
    ASSERT_NE(o, nullptr);
    o->ApplyPropertyValue(2, "7");
    o->ApplyPropertyValue(3, "4800");
    for (int i = 56; i < 60; ++i)
        o->BindParam(0, 0, o->Param(i));
    o->BindParam(5000, 1, o->Param(55));
    SaveAndReload();
    o = Objects("SIR2LOLD")[0];
    EXPECT_EQ(o->GetDisplayName(), "ID-6008 адрес 7");
    EXPECT_EQ(RowText(o, 3), "4800");
    EXPECT_EQ(o->Param(56)->ChannelType, 1420);
    EXPECT_EQ(o->Param(59)->ChannelType, 1423);
    EXPECT_EQ(o->Param(55)->ChannelType, 5000);
    EXPECT_EQ(Entry(o, 55), (dev::Address{5000, 1}));
}

TEST_F(RelayTest, SaveRefusesTwoChannelsAtOneAddressNamingBoth) {
    TDeviceEngine* o = Add(TSIRIUS2VItem::Def);
    ASSERT_NE(o, nullptr);
    o->BindParam(5100, 1, o->Param(0));
    o->Param(1)->SetAddress(5100, 1);
    EXPECT_FALSE(cm->SaveDatabase(dbPath));
    EXPECT_NE(cm->LastError.find(o->Param(0)->Name), std::string::npos) << cm->LastError;
    EXPECT_NE(cm->LastError.find(o->Param(1)->Name), std::string::npos) << cm->LastError;
    EXPECT_NE(cm->LastError.find("5100:1"), std::string::npos) << cm->LastError;
    EXPECT_FALSE(std::filesystem::exists(dbPath));
}

} // namespace
