// The ЦПТ QBX-560: channels of a new object, binding into the address table, set points (with
// either decimal separator), property rows and checks.
#include "Qbx560object.h"
#include "fixture.h"

using namespace qbx;
using namespace qbxtest;

namespace {

class Qbx560Test : public QbxTest {
protected:
    void SetUp() override {
        QbxTest::SetUp();
        obj = Add<TQbx560Item>(9);
        Unhook();
    }
    std::string Text(TParamItem* p) { return ValueText(obj, p); }
    std::string Row(int row) { return RowText(obj, row); }
    std::string Setpoint(int s, int n) {
        std::string t;
        obj->GetSetpointValueText(obj->Param(s), n, t);
        return t;
    }
    TQbx560Item* obj = nullptr;
};

TEST_F(Qbx560Test, NewObject) {
    EXPECT_EQ(obj->Number, 3256);
    EXPECT_TRUE(SameAddress(obj->Param(8), 1080, 1));
    EXPECT_TRUE(SameAddress(obj->Param(9), 1081, 1));
    EXPECT_EQ(obj->Param(9)->BitWidth(), 192);
    EXPECT_EQ(obj->Param(9)->ValueEditable, 0);
    for (int s = 0; s < 8; ++s) {
        EXPECT_EQ(Text(obj->Param(s)), "не определено");
        EXPECT_EQ(obj->Param(s)->Kind, 2);
        EXPECT_EQ(obj->Param(s)->ParamType, 17);
        EXPECT_EQ(obj->Param(s)->Ordinal, s + 1);
    }
    EXPECT_EQ(obj->Param(0)->Name, "QBX-560: Температура 1");
    EXPECT_EQ(Text(obj->Param(9)), "0:0,0:0,0:0,0:0,0:0,0:0,0:0,0:0");
    EXPECT_EQ(Text(obj->Param(8)), "адрес");
    EXPECT_EQ(obj->SetpointValue(0)->BitWidth(), 40);
    EXPECT_EQ(obj->SetpointValue(0)->Value[0], 2);
    EXPECT_EQ(obj->SetpointState(6)->Name, "QBX-560 - Уставка: состояние");
    EXPECT_EQ(obj->SetpointValue(7), nullptr);
    EXPECT_EQ(obj->GetDisplayName(), "ID-3256 QBX(0.0.0:0)");
    EXPECT_EQ(obj->GetParamDescription(obj->Param(2)), "QBX-560 - (0.0.0:0), канал 3");
    EXPECT_EQ(obj->GetSetpointCount(obj->Param(6)), 2);
    EXPECT_EQ(obj->GetSetpointCount(obj->Param(7)), 0);
    std::string mode;
    obj->GetCommandModeText(0, mode);
    EXPECT_EQ(mode, "Не выполнять");
    EXPECT_EQ(Channels().size(), kBuiltInChannelCount + 10u + 14u);
}

TEST_F(Qbx560Test, BindingAndSetpoints) {
    obj->BindParam(5, 7, obj->Param(2));
    const TParamValue& table = obj->Param(9)->Value;
    EXPECT_EQ(table[6], 5);
    EXPECT_EQ(table[7], 0);
    EXPECT_EQ(table[8], 7);
    EXPECT_TRUE(IsUnbound(obj->SetpointValue(2))); // no set points yet

    DecimalSeparator = '.';
    // Either separator reads; an unreadable text, or one past the two bytes, keeps the last value.
    const struct {
        const char* text;
        uint16_t stored;
    } cases[] = {{"25.5", 255},   {"12,3", 123},        {"-1", 123},         {"abc", 123},
                 {" 25,5 ", 255}, {"99999999999", 255}, {"-3000000000", 255}};
    for (const auto& c : cases) {
        obj->SetSetpointValue(obj->Param(2), 0, c.text);
        EXPECT_EQ(GetU16(obj->SetpointValue(2), 1), c.stored) << c.text;
    }
    obj->SetSetpointValue(obj->Param(2), 1, "25,5");
    EXPECT_EQ(Setpoint(2, 1), "25.5 oC");
    DecimalSeparator = ',';
    EXPECT_EQ(Setpoint(2, 1), "25,5 oC");
    DecimalSeparator = '.';
    EXPECT_NE(obj->Param(2)->WriteHandler, 0);
    EXPECT_TRUE(SameAddress(obj->SetpointValue(2), 16, 7));
    EXPECT_TRUE(SameAddress(obj->SetpointState(2), 17, 7));

    obj->SetSetpointValue(obj->Param(2), 0, "Нет");
    EXPECT_EQ(obj->Param(2)->WriteHandler, 0);
    EXPECT_TRUE(IsUnbound(obj->SetpointValue(2)));
    EXPECT_TRUE(IsUnbound(obj->SetpointState(2)));
}

// Stored addresses never give one channel two roles: temperature 1 naming the object's own
// network-address channel, and two temperatures of one channel index whose set-point channels
// share their addresses (the file keeps one channel per address, so only one set comes back).
TEST_F(Qbx560Test, StoredAddressesNeverGiveOneChannelTwoRoles) {
    SetEntry(obj->Param(9), 0, {1080, 1});
    obj->BindParam(3, 5, obj->Param(1));
    obj->BindParam(4, 5, obj->Param(2));
    obj->SetSetpointValue(obj->Param(1), 0, "10");
    obj->SetSetpointValue(obj->Param(2), 0, "20");
    SaveAndReload();
    auto* again = Find<TQbx560Item>();
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again->Param(0), again->Param(8));
    EXPECT_TRUE(IsUnbound(again->Param(0)));
    EXPECT_NE(again->SetpointValue(1), again->SetpointValue(2));
    EXPECT_NE(again->SetpointState(1), again->SetpointState(2));
}

TEST_F(Qbx560Test, AddressRowsAndChecks) {
    obj->ApplyPropertyValue(2, "1.2");
    EXPECT_EQ(Row(2), "0.0.0");
    obj->ApplyPropertyValue(2, "10.20.30");
    obj->ApplyPropertyValue(3, "7");
    obj->ApplyPropertyValue(3, "x");
    EXPECT_EQ(Row(2), "10.20.30");
    EXPECT_EQ(Row(3), "7");
    const std::string head = "Объект \"ЦПТ QBX-560 ID-3256 QBX(10.20.30:7)\"";
    EXPECT_TRUE(Lines([&](TStrings* s) { obj->CheckConfiguration(s); }).empty());
    obj->Period = 3;
    EXPECT_EQ(Lines([&](TStrings* s) { obj->CheckConfiguration(s); }),
              std::vector<std::string>{head + " - Команда опроса \"Опрос QBX-560\" неактивна"});
    obj->CommandAt(0)->Execute = 1;
    obj->Period = 0;
    obj->Param(8)->Value[3] = 0;
    EXPECT_EQ(
        Lines([&](TStrings* s) { obj->CheckConfiguration(s); }),
        (std::vector<std::string>{
            "Объект \"ЦПТ QBX-560 ID-3256 QBX(10.20.30:0)\" - Не указан общий период опроса используемых "
            "параметров",
            "Объект \"ЦПТ QBX-560 ID-3256 QBX(10.20.30:0)\" - Не задан адрес прибора"}));
}

} // namespace

namespace {

// Two temperatures bound at one index (2:7 and 5:7): the set-point pair 16:7/17:7 belongs to one of
// them. The second is refused with a message, whether it sets a set point or is bound there with one.
TEST_F(Qbx560Test, SetpointPairOfAnIndexBelongsToOneTemperature) {
    obj->BindParam(2, 7, obj->Param(0));
    obj->SetSetpointValue(obj->Param(0), 0, "21.5");
    ASSERT_TRUE(SameAddress(obj->SetpointValue(0), 16, 7));
    obj->BindParam(5, 7, obj->Param(1));
    EXPECT_TRUE(messages.empty());

    obj->SetSetpointValue(obj->Param(1), 0, "30");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("уставки канала 7"), std::string::npos) << messages[0];
    EXPECT_EQ(obj->Param(1)->WriteHandler, 0);
    EXPECT_EQ(Setpoint(1, 0), "0.0 oC");

    obj->BindParam(5, 8, obj->Param(1));
    obj->SetSetpointValue(obj->Param(1), 0, "30");
    EXPECT_TRUE(SameAddress(obj->SetpointValue(1), 16, 8));
    obj->BindParam(5, 7, obj->Param(1));
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_TRUE(SameAddress(obj->Param(1), 5, 7));
    EXPECT_EQ(obj->Param(1)->WriteHandler, 0);
    EXPECT_TRUE(IsUnbound(obj->SetpointValue(1)));
    EXPECT_TRUE(IsUnbound(obj->SetpointState(1)));
    EXPECT_EQ(CountAddress(16, 7), 1);
    EXPECT_EQ(CountAddress(17, 7), 1);
    EXPECT_EQ(Setpoint(0, 0), "21.5 oC");
}

// A stored file that already has two temperatures with set points at one index loads with one pair
// and a reported problem, and a second round keeps it so.
TEST_F(Qbx560Test, StoredSharedSetpointIndexLoadsOnePair) {
    obj->BindParam(2, 7, obj->Param(0));
    obj->SetSetpointValue(obj->Param(0), 0, "21.5");
    obj->BindParam(5, 7, obj->Param(1));
    obj->Param(1)->WriteHandler = obj->Param(0)->WriteHandler; // as an older program stored it
    SaveAndReload();
    EXPECT_EQ(cm->LoadProblems.size(), 1u);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(CountAddress(16, 7), 1);
    EXPECT_EQ(CountAddress(17, 7), 1);
    obj = Find<TQbx560Item>();
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(Setpoint(0, 0), "21.5 oC");
    const size_t count = Channels().size();
    SaveAndReload();
    EXPECT_TRUE(cm->LoadProblems.empty());
    EXPECT_EQ(CountAddress(16, 7), 1);
    EXPECT_EQ(Channels().size(), count);
}

} // namespace
