// The cell controller QBX-530 and the discrete-input controller QBX-550: one table of cases run
// against both data sets.
#include "Qbx530object.h"
#include "fixture.h"

using namespace qbx;
using namespace qbxtest;

namespace {

struct CellCase {
    int code;
    int inputs;
    uint16_t firstSettingsType;
    const char* firstInputName; // of a new object (address 0)
    const char* addressName;    // after the address was set to 12
    const char* description3;   // of input 3 at address 12
    const char* displayName;    // at address 12
    const char* pollName;
};

void PrintTo(const CellCase& c, std::ostream* os) { *os << "type code " << c.code; }

const CellCase kCells[] = {
    {7, 7, 1030, "QBX-530: ТС 1", "QBX-530: Сетевой адрес", "QBX-530 - 12, Х2.3", "ID-1800 адрес 12",
     "Опрос данных КЯ QBX-530"},
    {8, 8, 1033, "QBX-550 (адр.0): Ф 1", "QBX-550 (адр.12): Сетевой адрес", "QBX-550 - 12 - Ф3, Х1.3",
     "ID-1833 адрес 12", "Опрос данных QBX-550"},
};

class CellTest : public QbxTest, public ::testing::WithParamInterface<CellCase> {
protected:
    void SetUp() override {
        QbxTest::SetUp();
        obj = Add<TQbxCellItem>(GetParam().code);
        Unhook();
    }
    std::string Text(TParamItem* p) { return ValueText(obj, p); }
    std::string Control(TParamItem* p) {
        std::string t;
        obj->GetSetpointText(0, p, t);
        return t;
    }
    TQbxCellItem* obj = nullptr;
};

TEST_P(CellTest, NewObjectChannelsCommandsAndTexts) {
    const CellCase& c = GetParam();
    const int n = c.inputs;
    for (int s = 0; s < 3; ++s) {
        TParamItem* p = obj->Param(n + s);
        EXPECT_EQ(p->ChannelType, c.firstSettingsType + s);
        EXPECT_EQ(p->ChannelIndex, 1);
        EXPECT_EQ(p->Kind, 1);
        EXPECT_EQ(p->ValueEditable, s == 0 ? 1 : 0);
    }
    EXPECT_EQ(obj->Param(n)->BitWidth(), 8);
    EXPECT_EQ(obj->Param(n + 1)->BitWidth(), 24 * n);
    EXPECT_EQ(obj->Param(n + 2)->BitWidth(), 56);
    EXPECT_EQ(obj->Param(0)->Name, c.firstInputName);
    EXPECT_TRUE(IsUnbound(obj->Param(0)));
    EXPECT_EQ(obj->Param(0)->Kind, 3);
    EXPECT_EQ(obj->Param(0)->ParamType, 3);
    EXPECT_NE(obj->Param(0)->WriteHandler, 0);
    std::string table;
    for (int j = 0; j < n; ++j)
        table += j ? ",0:0" : "0:0";
    EXPECT_EQ(Text(obj->Param(n + 1)), table);
    EXPECT_EQ(Text(obj->Param(n + 2)), "0:0,0:0");

    ASSERT_EQ(obj->CommandCount(), 2);
    EXPECT_EQ(obj->CommandAt(0)->Name, c.pollName);
    EXPECT_EQ(obj->CommandAt(0)->Execute, 0);
    EXPECT_EQ(obj->CommandAt(0)->Prepare, obj->SubprogramId(0));
    EXPECT_EQ(obj->CommandAt(0)->Parse, obj->SubprogramId(1));
    EXPECT_EQ(obj->CommandAt(1)->Name, "Управление*");
    EXPECT_EQ(obj->CommandAt(1)->Execute, 1);
    EXPECT_EQ(obj->CommandAt(1)->Prepare, 0);
    EXPECT_EQ(Lines([&](TStrings* s) { obj->GetPollCommandNames(s); }), std::vector<std::string>{c.pollName});

    std::string row;
    obj->GetPropertyText(2, row);
    EXPECT_EQ(row, "Да");
    obj->SetNumber(static_cast<uint16_t>(obj->Number + 1));
    EXPECT_EQ(obj->Param(n)->ChannelIndex, 2);
}

TEST_P(CellTest, AddressNamesDescriptionAndChecks) {
    const CellCase& c = GetParam();
    const std::string head = std::string("Объект \"") + obj->DisplayType + " ";
    // Address 0, period 0, command not executed: the period hint and the address line.
    obj->ApplyPropertyValue(2, "Нет");
    EXPECT_EQ(
        Lines([&](TStrings* s) { obj->CheckConfiguration(s); }),
        (std::vector<std::string>{
            head + obj->GetDisplayName() +
                "\" - Укажите период опроса прибора или установите свойство обработки сообщений от прибора "
                "равным \"Да\"",
            head + obj->GetDisplayName() + "\" - Не задан адрес прибора"}));

    obj->SetParamValueText(obj->Param(c.inputs), "12");
    EXPECT_EQ(obj->Param(c.inputs)->Name, c.addressName);
    EXPECT_EQ(obj->GetParamDescription(obj->Param(2)), c.description3);
    EXPECT_EQ(obj->GetDisplayName(), c.displayName);
    obj->Period = 5;
    EXPECT_EQ(Lines([&](TStrings* s) { obj->CheckConfiguration(s); }),
              (std::vector<std::string>{head + c.displayName + "\" - Команда опроса \"" + c.pollName +
                                        "\" неактивна"}));
    obj->CommandAt(0)->Execute = 1;
    obj->Period = 0;
    obj->ApplyPropertyValue(2, "Да");
    EXPECT_EQ(Lines([&](TStrings* s) { obj->CheckConfiguration(s); }),
              (std::vector<std::string>{head + c.displayName +
                                        "\" - Не указан общий период опроса используемых параметров"}));
    obj->ApplyPropertyValue(3, "x");
    EXPECT_EQ(obj->NetworkAddress(), 12);
    obj->ApplyPropertyValue(3, "300");
    EXPECT_EQ(obj->NetworkAddress(), 12);
}

TEST_P(CellTest, ControlChannelsMoveBetweenInputs) {
    TParamItem* in2 = obj->Param(1);
    TParamItem* in5 = obj->Param(4);
    obj->BindParam(3, 20, in2);
    obj->BindParam(3, 50, in5);
    TParamItem* table = obj->Param(GetParam().inputs + 2);
    EXPECT_EQ(GetEntry(obj->Param(GetParam().inputs + 1), 3), (Address{3, 20}));

    obj->ApplyControlChoice(in5, 1);
    EXPECT_EQ(in5->ParamType, 1);
    EXPECT_EQ(Control(in5), "Канал 1");
    obj->ApplyControlChoice(in2, 1);
    EXPECT_EQ(in5->ParamType, 3);
    EXPECT_EQ(in5->ChangeHandler, 0);
    EXPECT_EQ(in2->ParamType, 1);
    EXPECT_EQ(GetEntry(table, 0), (Address{3, 20}));
    EXPECT_EQ(table->Value[6], 0);

    obj->ApplyControlChoice(in2, 3);
    EXPECT_EQ(GetEntry(table, 3), (Address{3, 20}));
    EXPECT_EQ(table->Value[6], 1);
    EXPECT_EQ(Control(in2), "ВКЛ. ТУ1, ОТКЛ. ТУ2");

    // Rebinding a control input carries its table entries and its index entry along.
    obj->BindParam(3, 21, in2);
    EXPECT_EQ(GetEntry(table, 0), (Address{3, 21}));
    EXPECT_EQ(GetEntry(table, 3), (Address{3, 21}));
    EXPECT_EQ(GetEntry(obj->Param(GetParam().inputs + 1), 3), (Address{3, 21}));

    obj->ApplyControlChoice(in2, 0);
    EXPECT_TRUE(GetEntry(table, 0).Empty());
    EXPECT_EQ(Control(in2), "Нет");
}

TEST_P(CellTest, StoredInputsComeBackThroughTheIndexTable) {
    const CellCase& c = GetParam();
    obj->BindParam(3, 200, obj->Param(2));
    obj->ApplyControlChoice(obj->Param(2), 2);
    const size_t count = Channels().size();
    SaveAndReload();
    EXPECT_EQ(Channels().size(), count);
    TQbxCellItem* again = Find<TQbxCellItem>();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(AddressOf(again->Param(2)), (Address{3, 200}));
    EXPECT_EQ(again->Param(2)->ParamType, 1);
    EXPECT_EQ(CountAddress(3, 200), 1);
    EXPECT_EQ(CountAddress(c.firstSettingsType, 1), 1);
}

// A stored index table naming one of the object's own settings channels adopts nothing for that
// input: no channel serves two roles (and none is freed twice).
TEST_P(CellTest, IndexTableNamingASettingsChannelAdoptsNothing) {
    const CellCase& c = GetParam();
    SetEntry(obj->Param(c.inputs + 1), 0, {c.firstSettingsType, 1}); // the address channel's own
    const size_t count = Channels().size();
    SaveAndReload();
    TQbxCellItem* again = Find<TQbxCellItem>();
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again->Param(0), again->Param(c.inputs));
    EXPECT_TRUE(IsUnbound(again->Param(0)));
    EXPECT_EQ(again->Param(c.inputs)->Kind, 1);
    EXPECT_EQ(Channels().size(), count);
}

using CellIds = QbxTest;

// An unnamed subprogram under a reserved id is taken over; a named one is not.
TEST_F(CellIds, ReservedIdsAreTakenOverOnlyWhileUnnamed) {
    ASSERT_NE(cm->CreateSubprogramWithId(50), nullptr);
    T_Action* named = cm->CreateSubprogramWithId(51);
    named->SetName("mine");
    auto* obj = Add<TQbx530Item>(7);
    EXPECT_EQ(obj->SubprogramId(0), 50);
    EXPECT_EQ(cm->Actions->ById(50)->Name(), "qbx530_prepareMessage");
    EXPECT_NE(obj->SubprogramId(1), 51);
    EXPECT_EQ(named->Name(), "mine");
    EXPECT_EQ(obj->CommandAt(0)->Prepare, 50);
}

INSTANTIATE_TEST_SUITE_P(Cells, CellTest, ::testing::ValuesIn(kCells),
                         [](const auto& info) { return info.param.code == 7 ? "Qbx530" : "Qbx550"; });

} // namespace
