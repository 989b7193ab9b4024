// The BMRZ terminals, the УЗА-10А.2 and the РС83-А2: one table over the ten classes, checked
// against the terminals' own figures, and the УЗА-10А.2's relay choice.
#include <filesystem>
#include <fstream>
#include <map>

#include "Bmrzobjects.h"
#include "bmrzregister.h"
#include "forms.h"
#include "records.h"
#include "relayfixture.h"
#include "stdctrls.h"

using namespace relaytest;
namespace fs = std::filesystem;

namespace {

struct Control {
    int index;
    uint8_t type;
    const char* subprogram; // the change handler's name
};

struct BmrzExpect {
    int code;
    uint16_t firstNumber;
    uint16_t firstCode; // channel type of the first settings parameter
    int params;
    int signals;
    std::vector<uint16_t> settingBits;
    const char* display;
    const char* poll;
    std::vector<uint8_t> execute;
    uint8_t signalType;
    uint16_t signalBits;
    uint8_t signalInit;
    std::vector<Control> controls;
    std::pair<int, int> measures;                          // first and last current
    std::vector<std::pair<int, std::string>> descriptions; // at network address 3
};

const BmrzExpect kBmrz{13, 6108, 1440, 27,       24, {40, 504, 72}, "", "", {0, 1, 1, 1, 1}, 24,
                       2,  2,    {},   {-1, -1}, {}};

BmrzExpect Bmrz(int code, uint16_t first, uint16_t firstCode, const char* display, const char* poll,
                const char* folder, std::vector<std::pair<int, std::string>> descriptions) {
    BmrzExpect x = kBmrz;
    x.code = code;
    x.firstNumber = first;
    x.firstCode = firstCode;
    x.display = display;
    x.poll = poll;
    static std::vector<std::string> names;
    names.push_back(std::string(folder) + "_prepareControl");
    const char* control = names.back().c_str();
    names.push_back(std::string(folder) + "_prepareReset");
    x.controls = {{22, 22, control}, {23, 23, names.back().c_str()}};
    x.descriptions = std::move(descriptions);
    return x;
}

const std::map<std::string, BmrzExpect>& BmrzExpected() {
    static const std::map<std::string, BmrzExpect> table = [] {
        std::map<std::string, BmrzExpect> t;
        t["UZA10A2"] = {10,
                        1256,
                        1010,
                        21,
                        15,
                        {8, 96, 96, 96, 72, 16},
                        "УЗА-10А.2",
                        "Опрос данных УЗА10А2",
                        {0, 1},
                        3,
                        1,
                        0,
                        {{5, 1, "uza10a2_prepareControl"}},
                        {12, 14},
                        {{0, "УЗА-10.А2 - 3, инд. \"МТЗ\""},
                         {5, "УЗА-10.А2 - 3, инд. \"Вход 2\""},
                         {8, "УЗА-10.А2 - 3, Вх.1(X18-X19)"},
                         {13, "УЗА-10.А2 - 3, ф.C"},
                         {14, "УЗА-10.А2 - 3, 3I0"}}};
        std::vector<Control> pc83;
        for (int i = 0; i <= 37; ++i)
            if (i <= 5 || i >= 24)
                pc83.push_back({i, static_cast<uint8_t>(i <= 5 ? 23 : 22), "pc83a2_prepareControl"});
        t["PC83A2"] = {11,
                       4256,
                       1110,
                       45,
                       42,
                       {40, 504, 504},
                       "РС83-А2",
                       "Опрос данных PC83-А2",
                       {0, 1},
                       24,
                       2,
                       2,
                       pc83,
                       {38, 41},
                       {{0, "PC83-А2 - 3, инд. \"МТЗ\""}, {14, "PC83-А2 - 3, 3I0"}, {15, ""}, {41, ""}}};
        const char* kl = "Опрос дискр. кан. БМРЗ101КЛ";
        const char* vv = "Опрос дискр. кан. БМРЗ103ВВ";
        const char* sv = "Опрос дискр. кан. БМРЗ103CВ";
        t["BMRZ101KL"] = Bmrz(13, 6108, 1440, "БМРЗ-101КЛ-080408", kl, "bmrz101kl",
                              {{0, "БМРЗ-101КЛ - 3, вх. сиг. \"РПО\""},
                               {17, "БМРЗ-101КЛ - 3, вых. сиг. \"АПВ сигнал\""},
                               {23, "БМРЗ-101КЛ - 3, инд. \"Сброс срабатываний (ТУ)\""}});
        t["BMRZ101KL01"] = Bmrz(14, 6208, 1460, "БМРЗ-101КЛ-151107", kl, "bmrz101kl01",
                                {{9, "БМРЗ-101КЛ - 3, вх. сиг. \"Блокировка ЗМН\""}});
        t["BMRZ101KL02"] = Bmrz(15, 6608, 1540, "БМРЗ-101КЛ-140410", kl, "bmrz101kl02",
                                {{20, "БМРЗ-101КЛ - 3, инд. \"Св-д Местное Управление (МУ)\""}});
        t["BMRZ103VV"] = Bmrz(16, 6308, 1480, "БМРЗ-103ВВ-090708", vv, "bmrz103vv",
                              {{4, "БМРЗ-103ВВ - 3, вх. сиг. \"Разреш. АВР\""},
                               {17, "БМРЗ-103ВВ - 3, вых. сиг. \"Разрешение АВР\""}});
        t["BMRZ103VV01"] = Bmrz(17, 6408, 1500, "БМРЗ-103ВВ-260607", vv, "bmrz103vv01",
                                {{17, "БМРЗ-103ВВ - 3, вых. сиг. \"Разрешение АВР\""}});
        t["BMRZ103VV02"] = Bmrz(18, 6808, 1580, "БМРЗ-103ВВ-140510", vv, "bmrz103vv02",
                                {{16, "БМРЗ-103ВВ - 3, вых. сиг. \"Выход\""}});
        t["BMRZ103SV"] = Bmrz(19, 6508, 1520, "БМРЗ-103CВ-080408", sv, "bmrz103sv",
                              {{15, "БМРЗ-103CВ - 3, вых. сиг. \"УРОВд1\""}});
        t["BMRZ103SV01"] = Bmrz(20, 6708, 1560, "БМРЗ-103CВ-250610", sv, "bmrz103sv01",
                                {{17, "БМРЗ-103CВ - 3, вых. сиг. \"УРОВд2\""}});
        return t;
    }();
    return table;
}

class BmrzTest : public RelayTest {
protected:
    void SetUp() override {
        RelayTest::SetUp();
        RegisterBmrzDevices();
        for (const TRelayClass& c : BmrzClasses())
            for (const dev::SubprogramDef& s : c.Def->Subprograms)
                Write(s.folder ? s.folder : c.Def->Folder, s.name);
    }
    void Write(const std::string& folder, const std::string& name) {
        const fs::path path = fs::path(root) / folder / (name + ".act");
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << "1;ret;\n2;ret;";
    }
    std::string Name(uint16_t id) const {
        T_Action* a = dev::Subprogram(cm->Actions, id);
        return a ? a->Name() : std::string();
    }
};

class BmrzTable : public BmrzTest, public ::testing::WithParamInterface<TRelayClass> {
protected:
    const dev::TDeviceDef& def = *GetParam().Def;
    const BmrzExpect& x = BmrzExpected().at(def.Tag());
};

TEST_P(BmrzTable, TypeRowSettingsAndSignals) {
    const TDeviceType* type = FindDeviceTypeByTag(def.Tag());
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->Code, x.code);
    EXPECT_EQ(def.TypeCode, x.code);
    EXPECT_EQ(&def.Type(), type); // its code and its tag name the same row
    EXPECT_EQ(DeviceFactory(type), GetParam().Factory);
    TDeviceEngine* o = Add(def);
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(o->Number, x.firstNumber);
    EXPECT_EQ(o->DisplayType, x.display);
    ASSERT_EQ(o->ParamCount(), x.params);
    ASSERT_EQ(def.SignalCount, x.signals);
    std::vector<uint16_t> bits;
    for (int i = x.signals; i < x.params; ++i) {
        TParamItem* p = o->Param(i);
        EXPECT_EQ(dev::AddressOf(p), (dev::Address{static_cast<uint16_t>(x.firstCode + i - x.signals), 1}));
        EXPECT_EQ(p->Kind, kChannelSetting);
        EXPECT_EQ(p->ValueEditable, i == x.signals ? 1 : 0);
        bits.push_back(p->BitWidth());
    }
    EXPECT_EQ(bits, x.settingBits);
    const uint16_t stateChange = cm->Actions->FindOrCreate("log_handleStateChange", 0, 0);
    std::map<int, Control> controls;
    for (const Control& c : x.controls)
        controls[c.index] = c;
    for (int i = 0; i < x.signals; ++i) {
        SCOPED_TRACE(i);
        TParamItem* p = o->Param(i);
        EXPECT_TRUE(dev::IsUnbound(p));
        EXPECT_EQ(p->Ordinal, i + 1);
        EXPECT_EQ(p->Name, std::string(def.NamePrefix) + def.ParamNames[i]);
        if (i >= x.measures.first && i <= x.measures.second) {
            EXPECT_EQ(p->Kind, kChannelMeasured);
            EXPECT_EQ(p->ParamType, 8);
            EXPECT_EQ(p->BitWidth(), 16);
            EXPECT_EQ(RelayTest::ValueText(o, p), "не определено");
            continue;
        }
        EXPECT_EQ(p->Kind, kChannelSignal);
        EXPECT_EQ(p->BitWidth(), x.signalBits);
        EXPECT_EQ(p->Value[0], x.signalInit);
        EXPECT_EQ(p->WriteHandler, stateChange);
        const bool control = controls.count(i) != 0;
        EXPECT_EQ(p->ParamType, control ? controls[i].type : x.signalType);
        EXPECT_EQ(Name(p->ChangeHandler), control ? controls[i].subprogram : "");
    }
    ELEMList list;
    o->ListSignalParams(&list, false);
    EXPECT_EQ(list.Count, static_cast<uint32_t>(x.signals));
    while (ELEM* e = list.Newest) {
        list.Remove(e);
        delete e;
    }
}

TEST_P(BmrzTable, CommandsSubprogramsDescriptionsAndChecks) {
    TDeviceEngine* o = Add(def);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(Lines([&](TStrings* s) { o->GetPollCommandNames(s); }), std::vector<std::string>{x.poll});
    ASSERT_EQ(o->CommandCount(), static_cast<int>(x.execute.size()));
    const bool uzaShape = x.code <= 11; // subprogram 0 is the shared checksum
    const std::string folder = def.Folder;
    for (int n = 0; n < o->CommandCount(); ++n) {
        EXPECT_EQ(o->CommandAt(n)->Execute, x.execute[n]);
        EXPECT_EQ(Name(o->CommandAt(n)->Prepare), folder + "_prepareQuery");
        EXPECT_EQ(Name(o->CommandAt(n)->Parse), folder + "_parseAnswer");
        EXPECT_EQ(Name(o->CommandAt(n)->NoAnswer), folder + "_handleNoAnswer");
    }
    for (size_t k = 0; k < def.Subprograms.size(); ++k) {
        T_Action* a = dev::Subprogram(cm->Actions, o->SubprogramId(static_cast<int>(k)));
        ASSERT_NE(a, nullptr) << k;
        EXPECT_EQ(a->Caption, def.Subprograms[k].caption);
        const std::string expected = uzaShape && k == 0
                                         ? root + "createCRC16.act"
                                         : root + folder + "/" + def.Subprograms[k].name + ".act";
        EXPECT_EQ(fs::path(a->FilePath), fs::path(expected));
    }
    const std::string head = "Объект \"" + std::string(x.display) + " ID-" + std::to_string(x.firstNumber);
    EXPECT_EQ(Lines([&](TStrings* s) { o->CheckConfiguration(s); }),
              std::vector<std::string>{head + " адрес 0\" - Не задан адрес прибора"});
    o->ApplyPropertyValue(2, "3");
    o->CommandAt(0)->Execute = 1;
    EXPECT_EQ(Lines([&](TStrings* s) { o->CheckConfiguration(s); }),
              std::vector<std::string>{head +
                                       " адрес 3\" - Не указан общий период опроса используемых параметров"});
    for (const auto& [i, text] : x.descriptions)
        EXPECT_EQ(o->GetParamDescription(o->Param(i)), text) << i;
    EXPECT_EQ(o->GetParamDescription(o->Param(x.signals)), "");
    // The УЗА-10А.2 and the РС83-А2 show every command's mode as that of the first.
    o->CommandAt(1)->Execute = 0;
    std::string mode;
    o->GetCommandModeText(1, mode);
    EXPECT_EQ(mode, uzaShape ? "Выполнять" : "Не выполнять");
}

TEST_P(BmrzTable, BindingsAndAddressSurviveSaveAndLoad) {
    TDeviceEngine* o = Add(def);
    ASSERT_NE(o, nullptr);
    o->ApplyPropertyValue(2, "9");
    o->BindParam(3500, 7, o->Param(x.signals - 1));
    o->BindParam(3500, 8, o->Param(0));
    SaveAndReload();
    const std::vector<TDeviceEngine*> all = Objects(def.Tag());
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0]->NetworkAddress(), 9);
    EXPECT_EQ(dev::AddressOf(all[0]->Param(x.signals - 1)), (dev::Address{3500, 7}));
    EXPECT_EQ(dev::AddressOf(all[0]->Param(0)), (dev::Address{3500, 8}));
    cm->DeleteObject(all[0]);
    EXPECT_EQ(Channels().size(), static_cast<size_t>(kBuiltInChannelCount));
}

// A new current is undefined, its 256 bytes 0xFF except the two its width covers, which start at
// zero: that is what the first save writes for it (width 16, value 00 00).
TEST_F(BmrzTest, NewCurrentsHoldZeroInTheBytesTheirWidthCovers) {
    const struct {
        const dev::TDeviceDef* def;
        int first, last;
    } kCurrents[] = {{&TUZA10A2Item::Def, 12, 14}, {&TPC83A2Item::Def, 38, 41}};
    uint8_t index = 0;
    for (const auto& c : kCurrents) {
        TDeviceEngine* o = Add(*c.def);
        ASSERT_NE(o, nullptr);
        for (int i = c.first; i <= c.last; ++i) {
            SCOPED_TRACE(std::string(c.def->Tag()) + " " + std::to_string(i));
            TParamItem* p = o->Param(i);
            EXPECT_EQ(p->RamDepth, 1);
            EXPECT_EQ(p->Value[0], 0);
            EXPECT_EQ(p->Value[1], 0);
            for (int b = 2; b < 256; ++b)
                ASSERT_EQ(p->Value[b], 0xFF) << b;
            EXPECT_EQ(RelayTest::ValueText(o, p), "не определено");
            o->BindParam(2, ++index, p);
        }
    }
    ASSERT_TRUE(cm->SaveDatabase(dbPath)) << cm->LastError;
    std::vector<std::string> values;
    for (const std::string& r : devtest::Records(dbPath))
        if (r.rfind("VTParamValue 0002", 0) == 0)
            values.push_back(r);
    std::vector<std::string> expected;
    for (int k = 1; k <= index; ++k) {
        char key[8];
        std::snprintf(key, sizeof key, "%02x", k);
        expected.push_back(std::string("VTParamValue 0002") + key + " 10000000");
    }
    EXPECT_EQ(values, expected);
}

INSTANTIATE_TEST_SUITE_P(Terminals, BmrzTable,
                         ::testing::ValuesIn(BmrzClasses().begin(), BmrzClasses().end()), ClassName());

TEST_F(BmrzTest, TenClassesInTypeCodeOrder) {
    std::vector<int> codes;
    for (const TRelayClass& c : BmrzClasses())
        codes.push_back(c.Def->TypeCode);
    EXPECT_EQ(codes, (std::vector<int>{10, 11, 13, 14, 15, 16, 17, 18, 19, 20}));
    EXPECT_NE(std::string(TBMRZ103SVItem::Def.DisplayType()),
              TBMRZ103SVItem::Def.Type().Caption); // Latin C against Cyrillic С
}

// The relay choice k = 4·on + off; the codes 0-3 read as relays 1-4 in the set-point row and in the
// value of "Коды управл." alike.
TEST_F(BmrzTest, UzaRelayChoice) {
    auto* o = dynamic_cast<TUZA10A2Item*>(Add(TUZA10A2Item::Def));
    ASSERT_NE(o, nullptr);
    TParamItem* breaker = o->Param(TUZA10A2Item::kBreaker);
    TParamItem* codes = o->Param(TUZA10A2Item::kCodes);
    EXPECT_EQ(RelayTest::ValueText(o, codes), "вкл.:RL1, выкл.:RL1");
    EXPECT_EQ(Lines([&](TStrings* s) { o->ListSetpoints(s, breaker); }),
              std::vector<std::string>{"Управление"});
    EXPECT_TRUE(Lines([&](TStrings* s) { o->ListSetpoints(s, o->Param(4)); }).empty());
    breaker->ChangeHandler = 0;
    o->ApplyRelayChoice(9);
    EXPECT_EQ(codes->Value[0], 2);
    EXPECT_EQ(codes->Value[1], 1);
    EXPECT_EQ(Name(breaker->ChangeHandler), "uza10a2_prepareControl");
    std::string text;
    o->GetSetpointText(0, breaker, text);
    EXPECT_EQ(text, "вкл.:RL3, выкл.:RL2");
    EXPECT_EQ(RelayTest::ValueText(o, codes), "вкл.:RL3, выкл.:RL2");
    for (int k : {-1, 16}) {
        o->ApplyRelayChoice(k);
        EXPECT_EQ(codes->Value[0], 2);
        EXPECT_EQ(codes->Value[1], 1);
    }
    o->ApplyPropertyValue(2, "4");
    EXPECT_EQ(RelayTest::ValueText(o, o->Param(15)), "4");
    EXPECT_EQ(RowText(o, 2), "4");
}

// A subprogram whose file is missing leaves id 0 in every place that would name it: the commands,
// the breaker's control, the relay choice; nothing is made in its place.
TEST_F(BmrzTest, UzaMissingSubprogramsLeaveIdZero) {
    fs::remove(fs::path(root) / "uza10a2" / "uza10a2_prepareQuery.act");
    fs::remove(fs::path(root) / "uza10a2" / "uza10a2_prepareControl.act");
    auto* o = dynamic_cast<TUZA10A2Item*>(Add(TUZA10A2Item::Def));
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(messages, (std::vector<std::string>{"Файл не найден: uza10a2_prepareQuery.act",
                                                  "Файл не найден: uza10a2_prepareControl.act"}));
    EXPECT_EQ(o->CommandAt(0)->Prepare, 0);
    EXPECT_EQ(o->CommandAt(1)->Prepare, 0);
    EXPECT_NE(o->CommandAt(0)->Parse, 0);
    TParamItem* breaker = o->Param(TUZA10A2Item::kBreaker);
    EXPECT_EQ(breaker->ChangeHandler, 0);
    o->ApplyRelayChoice(5);
    EXPECT_EQ(breaker->ChangeHandler, 0);
    EXPECT_EQ(cm->Actions->FindOrCreate("uza10a2_prepareControl", 0, 0), 0);
}

} // namespace

namespace {

TEST_F(BmrzTest, UzaRelayChoiceEditor) {
    Application->Initialize();
    auto host = std::make_unique<TForm>(nullptr);
    auto* o = dynamic_cast<TUZA10A2Item*>(Add(TUZA10A2Item::Def));
    ASSERT_NE(o, nullptr);
    int done = 0;
    TNotifyEvent after = [&done](TObject*) { ++done; };
    TParamItem* breaker = o->Param(TUZA10A2Item::kBreaker);
    EXPECT_EQ(o->CreateSetpointEditor(o->Param(0), 0, host.get(), nullptr, after), nullptr);
    EXPECT_EQ(o->CreateSetpointEditor(breaker, 1, host.get(), nullptr, after), nullptr);
    auto* list = dynamic_cast<TComboBox*>(o->CreateSetpointEditor(breaker, 0, host.get(), nullptr, after));
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->Visible());
    ASSERT_EQ(list->Items()->Count(), 16);
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(list->Items()->Strings(15), "вкл.:RL4, выкл.:RL4");
    list->SetItemIndex(14);
    list->OnChange(list);
    EXPECT_EQ(RelayTest::ValueText(o, o->Param(TUZA10A2Item::kCodes)), "вкл.:RL4, выкл.:RL3");
    EXPECT_EQ(done, 1);
    host.reset();
    Application->ProcessMessages();
}

} // namespace
