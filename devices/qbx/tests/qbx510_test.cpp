// The concentrator object: its channels, signal bindings in the parse blocks, property rows and
// their edits, signal editor, check and export lines, and a missing plug-in file.
#include <algorithm>

#include "Qbx510object.h"
#include "Qbx520object.h"
#include "Qbx530object.h"
#include "fixture.h"
#include "inifiles.h"

using namespace qbx;
using namespace qbxtest;

namespace {

class Qbx510Test : public QbxTest {
protected:
    void SetUp() override {
        QbxTest::SetUp();
        obj = Add<TQbx510Item>(3);
        Unhook();
    }
    std::string Row(int row) { return RowText(obj, row); }
    std::string ValueText(int i) { return QbxTest::ValueText(obj, obj->Param(i)); }
    T_Action* Parser() { return cm->Actions->ById(obj->SubprogramId(kSubParseMessage)); }
    TQbx510Item* obj = nullptr;
};

struct ParamCase {
    int i;
    const char* name;
    uint16_t type;
    uint8_t index;
    uint16_t bits;
    uint8_t kind;
    uint8_t paramType;
    const char* text;
    const char* description; // Х after the comma Cyrillic, X in the parentheses Latin
};

const ParamCase kParams[] = {
    {0, "Режим каналов ТС/ДТКЗ", 65534, 6, 16, 1, 0, "65535", ""},
    {1, "Канал ТС/ДТКЗ X2.1 (X1.1)", kSignal1Type, kSignal1Index, 1, 3, 3, "0", "QBX-510, Х2.1 (X1.1)"},
    {2, "Канал ТС/ДТКЗ X2.2 (X1.2)", 0, 0, 1, 3, 3, "0", "QBX-510, Х2.2 (X1.2)"},
    {16, "Канал ТС/ДТКЗ X1.8 (X3.8)", 0, 0, 1, 3, 3, "0", "QBX-510, Х1.8 (X3.8)"},
    {17, "Состояние питания", kPowerType, kPowerIndex, 1, 3, 4, "0", "QBX-510, ТСП"},
    {18, "Состояние аккумулятора", 0, 0, 1, 3, 5, "0", "QBX-510, ТСА"},
    {19, "Состояние часов", 0, 0, 1, 3, 6, "0", "QBX-510, вирт."},
    {20, "В буфере не сброшенные сообщения", 0, 0, 1, 3, 7, "0", "QBX-510, вирт."},
    {21, "Каналы управления", 1009, 1, 96, 1, 0, "0:0,0:0,0:0,0:0", ""},
    {22, "QBX-адрес концентратора (младший)", 65535, 1, 8, 1, 0, "1", ""},
    {23, "QBX-адрес концентратора (средний, старший)", 65535, 2, 16, 1, 0, "2,3", ""},
    {24, "QBX-адрес родительской ППЛ", 65535, 4, 24, 1, 0, "0,0,0", ""},
    {25, "Сетевой адрес концентратора", 65535, 3, 8, 1, 0, "13", ""},
    {26, "Скорость по СОМ1", 65534, 1, 16, 1, 0, "4800", ""},
    {27, "Скорость по СОМ2", 65534, 2, 16, 1, 0, "4800", ""},
    {28, "Режим каналов ТУ", 65534, 8, 16, 1, 0, "RRRR-IIII", "QBX-510"},
    {29, "Задержки ТУ", 65534, 9, 64, 1, 0, "D1-D2-D3-D4", ""},
    {30, "Настройки", 65534, 10, 16, 1, 0, "FFFFFFFF", ""},
    {31, "Инверсия ТС", 65534, 11, 16, 1, 0, "IIIIIIII", ""},
    {32, "Температура на плате", 0, 0, 16, 2, 17, "не определено", ""},
};

TEST_F(Qbx510Test, NewObjectHasItsChannelsWithTheirDefaults) {
    for (const ParamCase& c : kParams) {
        SCOPED_TRACE(c.i);
        TParamItem* p = obj->Param(c.i);
        EXPECT_EQ(p->Name, c.name);
        EXPECT_EQ(p->ChannelType, c.type);
        EXPECT_EQ(p->ChannelIndex, c.index);
        EXPECT_EQ(p->BitWidth(), c.bits);
        EXPECT_EQ(p->Kind, c.kind);
        EXPECT_EQ(p->ParamType, c.paramType);
        EXPECT_EQ(p->Ordinal, c.i + 1);
        EXPECT_EQ(p->Owner, obj);
        EXPECT_EQ(ValueText(c.i), c.text);
        EXPECT_EQ(obj->GetParamDescription(p), c.description);
    }
    // Inputs 1..16 have the two signal rows; the state signals have none.
    EXPECT_EQ(Lines([&](TStrings* s) { obj->ListSetpoints(s, obj->Param(16)); }),
              (std::vector<std::string>{"Режим", "Управление"}));
    EXPECT_TRUE(Lines([&](TStrings* s) { obj->ListSetpoints(s, obj->Param(17)); }).empty());
    EXPECT_EQ(GetU16(obj->Param(29), 0), 5000);
    EXPECT_EQ(GetU16(obj->Param(29), 6), 5003);
    EXPECT_EQ(obj->Param(32)->RamDepth, 1);
    // The built-in channels of the same addresses serve as the parameters: no address twice.
    for (const ParamCase& c : kParams) {
        if (c.type != 0) {
            EXPECT_EQ(CountAddress(c.type, c.index), 1) << c.i;
        }
    }
    EXPECT_EQ(static_cast<int>(Channels().size()), kBuiltInChannelCount + 27);
    EXPECT_EQ(obj->MessageHandler, obj->SubprogramId(kSubParseMessage));
    ASSERT_NE(Parser(), nullptr);
    EXPECT_EQ(Parser()->Caption, "Разбор сообщения QBX-510");
    EXPECT_EQ(Parser()->Version, 259); // from the version.ini beside it
    EXPECT_EQ(cm->Actions->ById(obj->SubprogramId(kSubMakeControl))->Name(), "qbx510_makeControl");
    EXPECT_TRUE(messages.empty());
}

TEST_F(Qbx510Test, UnboundSignalsAreOfferedForBinding) {
    ELEMList list;
    obj->ListSignalParams(&list, false);
    EXPECT_EQ(list.Count, 21u - 2u); // signals 1..20 and the temperature, less the two bound ones
    obj->ListSignalParams(&list, true);
    EXPECT_EQ(list.Count, 19u + 21u);
    while (list.Oldest) {
        ELEM* e = list.Oldest;
        list.Remove(e);
        delete e;
    }
}

TEST_F(Qbx510Test, DefaultPropertyRows) {
    const std::vector<std::string> names = Lines([&](TStrings* s) { obj->GetPropertyNames(s); });
    ASSERT_EQ(names.size(), 13u);
    EXPECT_EQ(names[7], "Инверсия ТC/ДТКЗ");
    const std::string rows[13] = {"1",
                                  "Да",
                                  "1,2,3",
                                  "0,0,0",
                                  "13",
                                  "4800",
                                  "4800",
                                  std::string(16, '\xA8'),
                                  std::string(4, '\xA8'),
                                  "Потенциальный",
                                  "Потенциальный",
                                  "Потенциальный",
                                  "Потенциальный"};
    for (int r = 0; r < 13; ++r)
        EXPECT_EQ(Row(r), rows[r]) << r;
    EXPECT_EQ(*static_cast<std::string*>(obj->GetPropertyData(7)), "Wingdings");
    EXPECT_EQ(obj->GetPropertyData(6), nullptr);
}

struct EditCase {
    int row;
    const char* text;
    int shownRow;
    const char* shown;
};

// Unreadable or out-of-range texts leave the value as it was.
const EditCase kEdits[] = {
    {2, "7,,9", 2, "7,2,9"},
    {3, "5", 3, "5,0,0"},
    {3, "1, 2 ,3", 3, "1,2,3"},
    {4, "21", 4, "21"},
    {5, "9600", 5, "9600"},
    {6, "57600", 6, "57600"},
    {2, "x,1,1", 2, "1,2,3"},
    {2, "4,5,y", 2, "1,2,3"},
    {4, "abc", 4, "13"},
    {5, "115200", 5, "4800"},
    {1, "Нет", 1, "Нет"},
    {1, "Да", 1, "Да"},
    {10, "Импульсный", 10, "Импульсный"},
};

TEST_F(Qbx510Test, PropertyEditsReachTheSettingsBytes) {
    for (const EditCase& c : kEdits) {
        SCOPED_TRACE(c.text);
        cm = std::make_unique<configmanager>();
        obj = Add<TQbx510Item>(3);
        obj->ApplyPropertyValue(c.row, c.text);
        EXPECT_EQ(Row(c.shownRow), c.shown);
    }
}

TEST_F(Qbx510Test, ImpulseModeAddsItsDelayRow) {
    obj->ApplyPropertyValue(11, "Импульсный"); // ТУ-3
    const std::vector<std::string> names = Lines([&](TStrings* s) { obj->GetPropertyNames(s); });
    ASSERT_EQ(names.size(), 14u);
    EXPECT_EQ(names[13], "Время управления ТУ-3");
    EXPECT_EQ(Row(13), "5002");
    obj->ApplyPropertyValue(13, "7000");
    EXPECT_EQ(GetU16(obj->Param(29), 4), 7000);
    EXPECT_EQ(obj->Param(28)->Value[0], 0x04);

    obj->ApplyPropertyBit(7, 15, true);
    EXPECT_EQ(GetU16(obj->Param(31), 0), 0x8000);
    obj->ApplyPropertyBit(8, 2, true);
    EXPECT_EQ(obj->Param(28)->Value[1], 0x04);
    EXPECT_EQ(Row(8), std::string("\xA8\xA8\xFE\xA8"));
}

TEST_F(Qbx510Test, SignalEditorMovesTheControlChannel) {
    TParamItem* a = obj->Param(1);
    TParamItem* b = obj->Param(2);
    obj->BindParam(101, 1, b);
    obj->ApplySignalChoice(a, 1, "Канал 2", 2);
    EXPECT_EQ(a->ParamType, 1);
    EXPECT_EQ(GetEntry(obj->Param(21), 3), (Address{kSignal1Type, kSignal1Index}));

    obj->ApplySignalChoice(b, 1, "Канал 2", 2);
    EXPECT_EQ(a->ParamType, 3);
    EXPECT_EQ(a->ChangeHandler, 0);
    EXPECT_EQ(b->ParamType, 1);
    EXPECT_EQ(b->ChangeHandler, obj->SubprogramId(kSubDoControl));
    EXPECT_EQ(GetEntry(obj->Param(21), 3), (Address{101, 1}));
    std::string text;
    obj->GetSetpointText(1, b, text);
    EXPECT_EQ(text, "Канал 2");
    obj->GetSetpointText(0, b, text);
    EXPECT_EQ(text, "ТС");

    obj->ApplySignalChoice(b, 1, "Сброс УТКЗ", 5);
    EXPECT_EQ(b->ParamType, 2);
    EXPECT_TRUE(GetEntry(obj->Param(21), 3).Empty());
    obj->GetSetpointText(0, b, text);
    EXPECT_EQ(text, "ДТКЗ");
    obj->GetSetpointText(1, b, text);
    EXPECT_EQ(text, "Сброс УТКЗ");
}

// A stored file may hold a settings channel narrower than the object addresses it (here the control
// table, 96 bits, stored 8 bits wide): the object reads and writes its entries past the width as it
// always did, and only the stored width goes back to the file.
TEST_F(Qbx510Test, NarrowStoredControlTable) {
    auto reload = [&] {
        SaveAndReload();
        obj = Find<TQbx510Item>();
        return obj != nullptr;
    };
    obj->Param(kQbx510ControlTable)->SetBitWidth(8);
    ASSERT_TRUE(reload());
    TParamItem* table = obj->Param(kQbx510ControlTable);
    ASSERT_EQ(table->ValueBytes(), 1);
    EXPECT_EQ(ValueText(kQbx510ControlTable), "0:0,0:0,0:0,0:0");

    obj->ApplySignalChoice(obj->Param(1), 1, "Канал 2", 2);
    EXPECT_EQ(GetEntry(table, 3), (Address{kSignal1Type, kSignal1Index}));
    EXPECT_EQ(ValueText(kQbx510ControlTable),
              "0:0," + AddressText({kSignal1Type, kSignal1Index}) + ",0:0,0:0");
    std::string text;
    obj->GetSetpointText(1, obj->Param(1), text);
    EXPECT_EQ(text, "Канал 2");
    EXPECT_EQ(table->ValueBytes(), 1);

    ASSERT_TRUE(reload());
    EXPECT_EQ(obj->Param(kQbx510ControlTable)->ValueBytes(), 1);
    EXPECT_TRUE(GetEntry(obj->Param(kQbx510ControlTable), 3).Empty());
}

TEST_F(Qbx510Test, BindingWritesTheParseBlock) {
    TParamItem* t = obj->Param(kQbx510Temperature);
    obj->BindParam(300, 2, t);
    TActionLine* push = &Parser()->Instructions[99 - 1];
    EXPECT_EQ(push->Opcode, 3);
    EXPECT_EQ(push->U32(), 300u);
    EXPECT_EQ(push->Operands[4], 16);
    EXPECT_EQ(Parser()->Instructions[100 - 1].Operands[0], 2);
    EXPECT_EQ(Parser()->Instructions[100 - 1].Operands[4], 8);

    obj->BindParam(0, 0, t);
    EXPECT_EQ(push->Opcode, 7);
    EXPECT_EQ(push->U16(0), 103);
    EXPECT_EQ(push->Operands[2], 0);
}

// Its new channels join the list in position order, settings among the signals; the built-in
// channels at its settings' addresses are taken over.
TEST_F(Qbx510Test, NewChannelsJoinTheListInPositionOrder) {
    std::vector<TParamItem*> fresh;
    for (int i = 0; i < obj->ParamCount(); ++i)
        if (std::find(std::begin(cm->BuiltIn), std::end(cm->BuiltIn), obj->Param(i)) == std::end(cm->BuiltIn))
            fresh.push_back(obj->Param(i));
    EXPECT_EQ(fresh.size(), 27u);
    const std::vector<TParamItem*> all = Channels();
    EXPECT_EQ(std::vector<TParamItem*>(all.begin() + kBuiltInChannelCount, all.end()), fresh);
}

TEST_F(Qbx510Test, CheckAndExportLines) {
    EXPECT_TRUE(Lines([&](TStrings* s) { obj->CheckConfiguration(s); }).empty());
    EXPECT_EQ(Lines([&](TStrings* s) { obj->GetExportValues(s); }),
              (std::vector<std::string>{"\"net_address\",\"13\"", "\"qbx_address\",\"1,2,3\""}));
    obj->Param(kQbx510Temperature)->RamDepth = 0;
    EXPECT_EQ(Lines([&](TStrings* s) { obj->CheckConfiguration(s); }),
              (std::vector<std::string>{
                  "Объект \"QBX-510 \" - Параметр \"Температура на плате\" следует размещать в ОЗУ."}));
}

TEST_F(Qbx510Test, DeletedAndAddedAgainTakesBackTheSameChannels) {
    obj->ApplyPropertyValue(4, "7");
    const size_t count = Channels().size();
    cm->DeleteObject(obj);
    // The bound ones wait, unowned, to be taken back; unbound ones could never be found again.
    EXPECT_EQ(Channels().size(), count - 19);
    obj = Add<TQbx510Item>(3);
    EXPECT_EQ(Channels().size(), count);
    EXPECT_EQ(Row(4), "7");
}

// A missing message parser leaves the object without one: its signals stay unbound and nothing
// reads or writes a subprogram that is not there.
// The object keeps the parser's id, not the subprogram: once the user deleted the subprogram,
// binding changes only the channel.
TEST_F(Qbx510Test, DeletedParserIsNotWrittenInto) {
    cm->DeleteSubprogram(Parser());
    ASSERT_EQ(Parser(), nullptr);
    obj->BindParam(300, 2, obj->Param(kQbx510Temperature));
    EXPECT_TRUE(SameAddress(obj->Param(kQbx510Temperature), 300, 2));
    std::string text;
    obj->GetSetpointText(1, obj->Param(1), text);
    EXPECT_EQ(text, "Нет");
}

using Qbx510Plain = QbxTest;

TEST_F(Qbx510Plain, MissingParserIsAnAbsentSubprogram) {
    RemovePlugin(root, "qbx510", "qbx510_parseMessage");
    auto* obj = Add<TQbx510Item>(3);
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(messages, std::vector<std::string>{"Файл не найден: qbx510_parseMessage.act"});
    EXPECT_EQ(obj->SubprogramId(kSubParseMessage), 0);
    EXPECT_EQ(obj->MessageHandler, 0);
    EXPECT_TRUE(IsUnbound(obj->Param(1)));
    EXPECT_EQ(cm->Actions->ByName("qbx510_parseMessage"), nullptr);
    obj->BindParam(5, 5, obj->Param(1));
    EXPECT_EQ(obj->Param(1)->ChannelType, 5);
    std::string text;
    obj->GetPropertyText(1, text);
    EXPECT_EQ(text, "Нет");
    obj->ApplySignalChoice(obj->Param(2), 1, "Нет", 0);
    EXPECT_EQ(obj->Param(2)->ParamType, 3);
}

// A parser file that is there but does not assemble is not "not found": the user reads why, and
// the object goes on without it as without a missing one.
TEST_F(Qbx510Plain, ParserThatDoesNotAssembleSaysWhy) {
    WriteProgram(root, "qbx510", "qbx510_parseMessage", 2, {{2, "gotoz;"}});
    auto* obj = Add<TQbx510Item>(3);
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(messages,
              std::vector<std::string>{"Не удалось открыть файл qbx510_parseMessage.act: Строка 2: '' - "
                                       "недопустимое целое значение"});
    EXPECT_EQ(obj->SubprogramId(kSubParseMessage), 0);
    EXPECT_EQ(cm->Actions->ByName("qbx510_parseMessage"), nullptr);
}

} // namespace

namespace {

// The concentrator is deleted, its signal's channel is given up and the address goes to another
// object's channel; a new concentrator whose parser still names that address leaves the signal
// unbound instead of making a second channel there.
TEST_F(Qbx510Plain, SignalAtAnAddressAnotherObjectHoldsStaysUnbound) {
    cm->DeleteObject(Add<TQbx510Item>(3));
    TParamItem* freed = FindChannel(&cm->Channels, kSignal1Type, kSignal1Index);
    ASSERT_NE(freed, nullptr);
    ASSERT_EQ(freed->Owner, nullptr);
    cm->Channels.Remove(freed);
    delete freed;
    TObjectItem* cell = cm->AddObject(7);
    ASSERT_NE(cell, nullptr);
    ELEMList signals;
    cell->ListSignalParams(&signals, false);
    ASSERT_NE(signals.Oldest, nullptr);
    TParamItem* input = static_cast<TParamItemP*>(signals.Oldest)->Item;
    while (ELEM* e = signals.Newest) {
        signals.Remove(e);
        delete static_cast<TParamItemP*>(e);
    }
    cell->BindParam(kSignal1Type, kSignal1Index, input);

    auto* obj = Add<TQbx510Item>(3);
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(CountAddress(kSignal1Type, kSignal1Index), 1);
    EXPECT_EQ(FindChannel(&cm->Channels, kSignal1Type, kSignal1Index), input);
    EXPECT_TRUE(IsUnbound(obj->Param(1)));
    T_Action* parser = cm->Actions->ById(obj->SubprogramId(kSubParseMessage));
    ASSERT_NE(parser, nullptr);
    EXPECT_EQ(Instruction(parser, Qbx510ParseBlock(1))->Opcode, opGotoA); // the block now skips
    EXPECT_TRUE(SameAddress(obj->Param(17), kPowerType, kPowerIndex));    // its own channel, taken back
}

} // namespace

namespace {

// The concentrator added after other objects: a control input of a cell controller already holds
// 1:1, and the parser binds s1 at 1:3, s17 at 1:9 and the temperature at 2:5. Each signal takes its
// type and place before the next joins the channel list, so the types stay dense and sorted: s1
// moves to 1:2, s17 to 1:3, the temperature to 2:1, and the parser, the schedule controller's
// control channel, the file and the export follow. Deleting the cell closes the gap it leaves.
class Qbx510AddedLast : public QbxTest {
protected:
    void SetUp() override {
        QbxTest::SetUp();
        WriteParser(root, {{1, 1, 3}, {17, 1, 9}, {kQbx510Temperature, 2, 5}});
        schedule = Add<TQbx520Item>(4);
        cell = Add<TQbx530Item>(7);
        cell->BindParam(1, 1, cell->Param(0));
        cell->ApplyControlChoice(cell->Param(0), 1); // ParamType 1: before every signal of type 3
        ASSERT_EQ(cell->Param(0)->ParamType, 1);
        obj = Add<TQbx510Item>(3);
    }
    // Addresses of the concentrator's bound signals, as its parser names them too.
    std::vector<std::string> SignalAddresses() {
        std::vector<std::string> out;
        for (int signal : {1, 17, kQbx510Temperature}) {
            uint16_t type = 0;
            uint8_t index = 0;
            obj->ReadSignalChannel(signal, type, index);
            EXPECT_EQ(AddressOf(obj->Param(signal)), (Address{type, index})) << signal;
            out.push_back(AddressText(AddressOf(obj->Param(signal))));
        }
        return out;
    }
    // The schedule controller's control channel (s17): its row and instructions 6 and 7.
    std::string ControlRow() {
        const std::vector<TParamItem*> offered = schedule->ControlCandidates();
        const auto at = std::find(offered.begin(), offered.end(), obj->Param(17));
        EXPECT_NE(at, offered.end());
        schedule->ApplyControlChoice(static_cast<int>(at - offered.begin()) + 1);
        const std::string row = RowText(schedule, 2);
        T_Action* check = cm->Actions->ById(schedule->ScheduleId());
        const TActionLine* type = Instruction(check, kQbx520ControlPos);
        const TActionLine* index = Instruction(check, kQbx520ControlPos + 1);
        return row + " " + std::to_string(type->Opcode) + ":" + std::to_string(type->Operands[0]) + " " +
               std::to_string(index->Opcode) + ":" + std::to_string(index->Operands[0]);
    }
    // Keys of the ParamValue records of channel types 1 and 2 in a saved file.
    std::vector<std::string> SavedKeys() {
        EXPECT_TRUE(cm->SaveDatabase(dbPath)) << cm->LastError;
        std::vector<std::string> out;
        for (const std::string& r : Records(dbPath))
            if (r.rfind("VTParamValue 0001", 0) == 0 || r.rfind("VTParamValue 0002", 0) == 0)
                out.push_back(r.substr(13));
        return out;
    }
    // The export's channel list and the types of the channel sections.
    std::string Exported() {
        const std::string path = tmpDir + "/scada.ini";
        EXPECT_TRUE(cm->ExportScadaConfig(path));
        TIniFile ini(path);
        TStringList list;
        ini.ReadSectionValues("channels", &list);
        std::string out;
        for (int k = 0; k < list.Count(); ++k) {
            const std::string section = list.ValueFromIndex(k);
            out += section + "=" + ini.ReadString(section, "type", "") + ";";
        }
        return out;
    }
    TQbx520Item* schedule = nullptr;
    TQbx530Item* cell = nullptr;
    TQbx510Item* obj = nullptr;
};

TEST_F(Qbx510AddedLast, SignalsKeepTheirTypesDense) {
    EXPECT_EQ(SignalAddresses(), (std::vector<std::string>{"1:2", "1:3", "2:1"}));
    EXPECT_TRUE(SameAddress(cell->Param(0), 1, 1));
    EXPECT_EQ(ControlRow(), "Состояние питания (1:3) 3:1 3:3");
    // ParamValue keys: type high byte first, index; width 1 (16 for the temperature), then the value.
    EXPECT_EQ(SavedKeys(), (std::vector<std::string>{"000101 010000", "000102 010000", "000103 010000",
                                                     "000201 1000ffff"}));
    EXPECT_EQ(Exported(), "channel 1:1=1;channel 1:2=3;channel 1:3=4;channel 2:1=17;");
}

TEST_F(Qbx510AddedLast, DeletingTheOtherObjectClosesTheGap) {
    cm->DeleteObject(cell);
    EXPECT_EQ(SignalAddresses(), (std::vector<std::string>{"1:1", "1:2", "2:1"}));
    EXPECT_EQ(ControlRow(), "Состояние питания (1:2) 3:1 3:2");
    EXPECT_EQ(SavedKeys(), (std::vector<std::string>{"000101 010000", "000102 010000", "000201 1000ffff"}));
    EXPECT_EQ(Exported(), "channel 1:1=3;channel 1:2=4;channel 2:1=17;");
}

} // namespace
