// Every QBX class as registered: its description agrees with the device type table, and the
// settings numbered by the object's instance sit at index 1 for the first object and follow the
// number when an object before it is deleted.
#include <set>

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
    const TDeviceType* type = FindDeviceTypeByTag(def.Tag);
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->Code, def.TypeCode);
    EXPECT_EQ(type->Base, def.NumberBase);
    TObjectItem* first = cm->AddObject(def.TypeCode);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Tag, def.Tag);
    EXPECT_EQ(first->DisplayType, def.DisplayType);
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

INSTANTIATE_TEST_SUITE_P(Classes, QbxClassTest, ::testing::ValuesIn(QbxClasses().begin(), QbxClasses().end()),
                         [](const ::testing::TestParamInfo<TQbxClass>& info) {
                             return std::string(info.param.Def->Tag);
                         });

} // namespace
