// A configuration holding every QBX device type, saved and loaded: the same objects, no channel
// twice, and the bindings kept.
#include <functional>
#include <map>

#include "Qbx510object.h"
#include "Qbx530object.h"
#include "Qbx540object.h"
#include "Qbx560object.h"
#include "Qbx570object.h"
#include "fixture.h"

using namespace qbx;
using namespace qbxtest;

namespace {

using RoundTrip = QbxTest;

// Type codes of every class this module registers.
const int kCodes[] = {3, 4, 5, 7, 8, 9, 43, 44};

// The first n value bytes, those past the width too.
std::string FirstBytes(const TParamValue& v, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += static_cast<char>(v[i]);
    return out;
}

TEST_F(RoundTrip, EveryDeviceTypeSurvivesSaveAndLoad) {
    for (int code : kCodes)
        ASSERT_NE(cm->AddObject(code), nullptr) << code;
    Find<TQbx540Item>()->ApplyPropertyValue(5, "2");
    auto* cell = Find<TQbx530Item>();
    cell->BindParam(3, 9, cell->Param(0));
    cell->ApplyControlChoice(cell->Param(0), 1);
    auto* qbx540 = Find<TQbx540Item>();
    qbx540->BindParam(4, 9, qbx540->Analog(1));
    auto* qbx560 = Find<TQbx560Item>();
    qbx560->BindParam(5, 9, qbx560->Param(0));
    qbx560->SetSetpointValue(qbx560->Param(0), 0, "21.5");
    Find<TQbx570mp1Item>()->ApplyPropertyValue(4, "6:9");
    Find<TQbx510Item>()->ApplyPropertyValue(4, "33");

    // What identifies each channel after the load: its address and bytes, and its owner's type.
    auto snapshot = [&] {
        std::multimap<std::pair<int, int>, std::string> out;
        for (const TParamItem* p : Channels())
            if (p->ChannelType != 0 || p->ChannelIndex != 0)
                out.emplace(std::make_pair(p->ChannelType, p->ChannelIndex),
                            (p->Owner ? p->Owner->Tag : std::string("-")) + "/" + p->Name + "/" +
                                std::to_string(p->BitWidth()) + "/" + std::to_string(p->ParamType) + "/" +
                                FirstBytes(p->Value, 16));
        return out;
    };
    const auto before = snapshot();
    const size_t count = Channels().size();
    const size_t unbound = count - before.size();
    for (const auto& [address, what] : before)
        EXPECT_EQ(before.count(address), 1u) << address.first << ":" << address.second;

    SaveAndReload();
    EXPECT_EQ(cm->Objects.Count, std::size(kCodes));
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(Channels().size() - snapshot().size(), unbound);
    EXPECT_EQ(Channels().size(), count);
    EXPECT_TRUE(messages.empty());

    cell = Find<TQbx530Item>();
    EXPECT_EQ(AddressOf(cell->Param(0)).type, 3);
    EXPECT_EQ(cell->Param(0)->ParamType, 1);
    EXPECT_EQ(AddressOf(Find<TQbx540Item>()->Analog(1)).type, 4);
    EXPECT_EQ(AddressOf(Find<TQbx560Item>()->Param(0)).type, 5);
    EXPECT_EQ(AddressOf(Find<TQbx570mp1Item>()->Param(1)), (Address{6, 9}));
    std::string text;
    Find<TQbx510Item>()->GetPropertyText(4, text);
    EXPECT_EQ(text, "33");

    // A second round gives the same file contents back.
    SaveAndReload();
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(Channels().size(), count);

    // Deleting every object leaves the built-in channels and the concentrator's bound settings
    // and signals, which wait unowned for the next concentrator object.
    while (cm->Objects.Newest)
        cm->DeleteObject(static_cast<TObjectItem*>(cm->Objects.Newest));
    for (TParamItem* p : Channels())
        EXPECT_EQ(p->Owner, nullptr) << p->Name;
    EXPECT_EQ(Channels().size(), kBuiltInChannelCount + 8u);
}

// Every channel of the configuration with an address: its address and what identifies it.
std::multimap<std::pair<int, int>, std::string> Addresses(const std::vector<TParamItem*>& channels) {
    std::multimap<std::pair<int, int>, std::string> out;
    for (const TParamItem* p : channels)
        if (p->ChannelType != 0 || p->ChannelIndex != 0)
            out.emplace(std::make_pair(p->ChannelType, p->ChannelIndex),
                        (p->Owner ? p->Owner->Tag : std::string("-")) + "/" + p->Name);
    return out;
}

// The concentrator is added last, to a configuration whose other objects already hold channels of
// the types its parser binds at free addresses: the renumbering moves its signals while it is being
// built, and its parser must follow, or a reload binds other channels. Save, load, save writes the
// same records.
TEST_F(RoundTrip, ConcentratorAddedLastKeepsItsBindingsOverRounds) {
    WriteParser(root, {{1, 1, 7}, {2, 1, 8}, {17, 1, 9}, {32, 2, 9}});
    for (int code : kCodes) {
        if (code == 3)
            continue;
        ASSERT_NE(cm->AddObject(code), nullptr) << code;
    }
    auto* cell = Find<TQbx530Item>();
    cell->BindParam(1, 1, cell->Param(0));
    cell->Param(0)->RaiseChanged();
    auto* qbx560 = Find<TQbx560Item>();
    qbx560->BindParam(2, 1, qbx560->Param(0));
    qbx560->Param(0)->RaiseChanged();
    auto* qbx540 = Find<TQbx540Item>();
    qbx540->ApplyPropertyValue(5, "2");
    qbx540->BindParam(2, 2, qbx540->Analog(1));
    qbx540->Analog(1)->RaiseChanged();
    auto* obj = dynamic_cast<TQbx510Item*>(cm->AddObject(3));
    ASSERT_NE(obj, nullptr);

    // The parser names the channels the object holds.
    for (int signal : {1, 2, 17, kQbx510Temperature}) {
        uint16_t type = 0;
        uint8_t index = 0;
        obj->ReadSignalChannel(signal, type, index);
        EXPECT_EQ(AddressOf(obj->Param(signal)), (Address{type, index})) << signal;
    }
    const auto before = Addresses(Channels());
    for (const auto& [address, what] : before)
        EXPECT_EQ(before.count(address), 1u) << address.first << ":" << address.second;
    const size_t count = Channels().size();

    const std::string first = tmpDir + "/first.cdb";
    ASSERT_TRUE(cm->SaveDatabase(first)) << cm->LastError;
    SaveAndReload();
    EXPECT_EQ(Addresses(Channels()), before);
    EXPECT_EQ(Channels().size(), count);
    ASSERT_TRUE(cm->SaveDatabase(dbPath)) << cm->LastError;
    EXPECT_EQ(Records(dbPath), Records(first));

    SaveAndReload();
    EXPECT_EQ(Addresses(Channels()), before);
    EXPECT_EQ(Channels().size(), count);
}

// Control channels of the concentrator come back with the type their telecontrol mode gives.
TEST_F(RoundTrip, ConcentratorControlChannelsKeepTheirMode) {
    auto* obj = dynamic_cast<TQbx510Item*>(cm->AddObject(3));
    ASSERT_NE(obj, nullptr);
    obj->ApplyPropertyValue(10, "Импульсный"); // ТУ-2: low byte 0x02
    obj->BindParam(101, 1, obj->Param(2));
    obj->ApplySignalChoice(obj->Param(1), 1, "Канал 1", 1);
    obj->ApplySignalChoice(obj->Param(2), 1, "Канал 2", 2);
    const Address a1 = AddressOf(obj->Param(1)), a2 = AddressOf(obj->Param(2));
    SaveAndReload();
    obj = Find<TQbx510Item>();
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(AddressOf(obj->Param(1)), a1);
    EXPECT_EQ(AddressOf(obj->Param(2)), a2);
    EXPECT_EQ(obj->Param(1)->ParamType, 1);
    EXPECT_EQ(obj->Param(2)->ParamType, 2);
    std::string text;
    obj->GetSetpointText(1, obj->Param(2), text);
    EXPECT_EQ(text, "Канал 2");
}

// A missing plug-in file: the message names the file, the subprogram is not kept, and what would
// have named it holds 0.
TEST_F(RoundTrip, MissingFileLeavesIdZero) {
    const struct {
        int code;
        const char* folder;
        const char* name;
        std::function<int(TObjectItem*)> id; // where the device would keep the id
    } cases[] = {
        {7, "qbx530", "qbx530_prepareMessage", [](TObjectItem* o) { return int(o->CommandAt(0)->Prepare); }},
        {8, "qbx550", "qbx550_parseMessage", [](TObjectItem* o) { return int(o->MessageHandler); }},
        {5, "qbx540", "qbx540_handleNoAnswer", [](TObjectItem* o) { return int(o->CommandAt(0)->NoAnswer); }},
        {9, "qbx560", "qbx560_noAnswer", [](TObjectItem* o) { return int(o->CommandAt(0)->NoAnswer); }},
        {43, "qbx570mp3", "qbx570mp3_parseMessage", [](TObjectItem* o) { return int(o->MessageHandler); }},
        {44, "qbx570mp1", "qbx570mp1_parseAnswer",
         [](TObjectItem* o) { return int(o->CommandAt(0)->Parse); }},
        {4, "uo", "qbx520_mainAction", [](TObjectItem*) { return 0; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        cm = std::make_unique<configmanager>();
        WritePlugins(root);
        RemovePlugin(root, c.folder, c.name);
        messages.clear();
        TObjectItem* o = cm->AddObject(c.code);
        ASSERT_NE(o, nullptr);
        EXPECT_EQ(messages, std::vector<std::string>{std::string("Файл не найден: ") + c.name + ".act"});
        EXPECT_EQ(cm->Actions->ByName(c.name), nullptr);
        EXPECT_EQ(c.id(o), 0);
    }
    EXPECT_EQ(cm->Actions->ById(13), nullptr); // the QBX-520 main subprogram's fixed id
}

} // namespace
