// Every QBX class as registered: its description agrees with the device type table, and the
// settings numbered by the object's instance sit at index 1 for the first object and follow the
// number when an object before it is deleted.
#include <map>
#include <set>
#include <string>

#include "deviceengine.h"
#include "fixture.h"
#include "qbxregister.h"

using namespace qbxtest;

namespace {

class QbxClassTest : public QbxTest, public ::testing::WithParamInterface<TQbxClass> {
protected:
    // Instance indexes of the object's settings numbered by the instance.
    static std::vector<int> InstanceIndexes(TObjectItem* o) {
        std::vector<int> v;
        auto* e = dynamic_cast<TDeviceEngine*>(o);
        if (!e)
            return v;
        for (size_t k = 0; k < e->Def().Settings.size(); ++k)
            if (e->Def().Settings[k].index == 0)
                v.push_back(e->Param(e->SettingPos(static_cast<int>(k)))->ChannelIndex);
        return v;
    }
    bool AddressesUnique() const {
        std::set<uint32_t> seen;
        for (TParamItem* p : Channels())
            if (p->ChannelIndex != 0 && !seen.insert(uint32_t{p->ChannelType} << 8 | p->ChannelIndex).second)
                return false;
        return true;
    }
};

TEST_P(QbxClassTest, AgreesWithTheTypeTableAndNumbersItsSettings) {
    const dev::TDeviceDef& def = *GetParam().Def;
    const TDeviceType* type = FindDeviceTypeByTag(def.Tag());
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->Code, def.TypeCode);
    EXPECT_EQ(&def.Type(), type); // its code and its tag name the same row
    // The type captions objects have always shown.
    static const std::map<std::string, std::string> kDisplayTypes = {
        {"QBX510", "QBX-510"},
        {"QBX520", "УО (QBX-520)"},
        {"QBX540", "Контроллер QBX-540"},
        {"QBX530", "Контроллер ячейки QBX-530"},
        {"QBX550", "Контроллер дискретного ввода QBX-550"},
        {"QBX560", "ЦПТ QBX-560"},
        {"QBX570MP3", "Контроллер QBX-570-МЩ3"},
        {"QBX570MP1", "Контроллер QBX-570-МЩ1"},
    };
    TObjectItem* first = cm->AddObject(def.TypeCode);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Tag, def.Tag());
    EXPECT_EQ(first->DisplayType, kDisplayTypes.at(def.Tag()));
    ASSERT_NE(dynamic_cast<TDeviceEngine*>(first), nullptr);
    for (int index : InstanceIndexes(first))
        EXPECT_EQ(index, 1);
    if (type->Counted) {
        TObjectItem* second = cm->AddObject(def.TypeCode);
        ASSERT_NE(second, nullptr);
        for (int index : InstanceIndexes(second))
            EXPECT_EQ(index, 2);
        cm->DeleteObject(first);
        for (int index : InstanceIndexes(second))
            EXPECT_EQ(index, 1);
    }
    EXPECT_TRUE(AddressesUnique());
    EXPECT_TRUE(messages.empty());
}

// "position type:index bits kind ParamType" of every parameter of a class's first object, in a
// configuration holding nothing else: the addresses the classes are given, pinned so that a change
// of the engine cannot move them unnoticed. The fixture's parser binds s1 at 100:1 and s17 at 200:1.
std::vector<std::string> Pinned(const std::string& tag) {
    struct Row {
        int first, last;
        uint16_t type;
        uint8_t index;
        uint16_t bits;
        uint8_t kind, paramType;
    };
    static const std::map<std::string, std::vector<Row>> kPins = {
        {"QBX510",
         {{0, 0, 65534, 6, 16, 1, 0},
          {1, 1, kSignal1Type, 1, 1, 3, 3},
          {2, 16, 0, 0, 1, 3, 3},
          {17, 17, kPowerType, 1, 1, 3, 4},
          {18, 18, 0, 0, 1, 3, 5},
          {19, 19, 0, 0, 1, 3, 6},
          {20, 20, 0, 0, 1, 3, 7},
          {21, 21, 1009, 1, 96, 1, 0},
          {22, 22, 65535, 1, 8, 1, 0},
          {23, 23, 65535, 2, 16, 1, 0},
          {24, 24, 65535, 4, 24, 1, 0},
          {25, 25, 65535, 3, 8, 1, 0},
          {26, 26, 65534, 1, 16, 1, 0},
          {27, 27, 65534, 2, 16, 1, 0},
          {28, 28, 65534, 8, 16, 1, 0},
          {29, 29, 65534, 9, 64, 1, 0},
          {30, 30, 65534, 10, 16, 1, 0},
          {31, 31, 65534, 11, 16, 1, 0},
          {32, 32, 0, 0, 16, 2, 17}}},
        {"QBX520", {}},
        {"QBX540", {{0, 0, 1008, 1, 40, 0, 0}}},
        {"QBX530",
         {{0, 6, 0, 0, 1, 3, 3},
          {7, 7, 1030, 1, 8, 1, 0},
          {8, 8, 1031, 1, 168, 1, 0},
          {9, 9, 1032, 1, 56, 1, 0}}},
        {"QBX550",
         {{0, 7, 0, 0, 1, 3, 3},
          {8, 8, 1033, 1, 8, 1, 0},
          {9, 9, 1034, 1, 192, 1, 0},
          {10, 10, 1035, 1, 56, 1, 0}}},
        {"QBX560", {{0, 7, 0, 0, 16, 2, 17}, {8, 8, 1080, 1, 32, 1, 0}, {9, 9, 1081, 1, 192, 1, 0}}},
        {"QBX570MP3", {{0, 0, 1083, 1, 56, 1, 0}, {1, 1, 1084, 1, 384, 1, 0}, {2, 2, 1085, 1, 384, 1, 0}}},
        {"QBX570MP1", {{0, 0, 1086, 1, 56, 1, 0}, {1, 1, 0, 0, 32, 1, 0}}},
    };
    std::vector<std::string> out;
    for (const Row& r : kPins.at(tag))
        for (int i = r.first; i <= r.last; ++i)
            out.push_back(std::to_string(i) + " " + std::to_string(r.type) + ":" + std::to_string(r.index) +
                          " " + std::to_string(r.bits) + " " + std::to_string(r.kind) + " " +
                          std::to_string(r.paramType));
    return out;
}

TEST_P(QbxClassTest, FirstObjectTakesItsGivenAddresses) {
    const dev::TDeviceDef& def = *GetParam().Def;
    auto* o = dynamic_cast<TDeviceEngine*>(cm->AddObject(def.TypeCode));
    ASSERT_NE(o, nullptr);
    std::vector<std::string> got;
    for (int i = 0; i < o->ParamCount(); ++i) {
        const TParamItem* p = o->Param(i);
        EXPECT_EQ(p->Ordinal, i + 1) << i;
        got.push_back(std::to_string(i) + " " + std::to_string(p->ChannelType) + ":" +
                      std::to_string(p->ChannelIndex) + " " + std::to_string(p->BitWidth()) + " " +
                      std::to_string(p->Kind) + " " + std::to_string(p->ParamType));
    }
    EXPECT_EQ(got, Pinned(def.Tag()));
}

INSTANTIATE_TEST_SUITE_P(Classes, QbxClassTest, ::testing::ValuesIn(QbxClasses().begin(), QbxClasses().end()),
                         [](const ::testing::TestParamInfo<TQbxClass>& info) {
                             return std::string(info.param.Def->Tag());
                         });

} // namespace

void PrintTo(const TQbxClass& c, std::ostream* os) { *os << c.Def->Tag(); }
