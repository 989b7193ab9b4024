// Device type table, add-object menu and class registry. Configuration model layer.
#include "Devicetypes.h"

#include "Changelogobject.h"
#include "Userobject.h"

// One row per type, so that each column reads down.
// clang-format off
const TDeviceType DeviceTypeTable[kDeviceTypeCount] = {
    {1, "USEROBJ", "TUserObjItem", kUserObjectType, "ОБЪЕКТ ПОЛЬЗОВАТЕЛЯ", 1, 0, 9999, true, false, true},
    {2, "LOGBOOK", "TChangeLogItem", kChangeLogType, "ЖУРНАЛ СООБЩЕНИЙ", 2, 1, 3, false, true, true},
    {3, "QBX510", "TQbx510Item", "QBX-510", "QBX-510", 3, 2, 1, false, true, true},
    {4, "QBX520", "TQbx520Item", "УО (QBX-520)", "УО (QBX-520)", 3, 3, 2, false, true, true},
    {5, "QBX540", "TQbx540Item", "Контроллер QBX-540", "QBX-540", 3, 4, 2299, false, true, true},
    {6, "QBX540M", "", "", "QBX-540М", 3, -1, 0, false, false, false},
    {7, "QBX530", "TQbx530Item", "Контроллер ячейки QBX-530", "КЯ QBX-530", 3, 5, 1799, true, false, true},
    {8, "QBX550", "TQbx550Item", "Контроллер дискретного ввода QBX-550", "QBX-550", 3, 6, 1832, true, false, true},
    {9, "QBX560", "TQbx560Item", "ЦПТ QBX-560", "ЦПТ QBX-560", 3, 7, 3255, true, false, true},
    {10, "UZA10A2", "TUZA10A2Item", "УЗА-10А.2", "УЗА-10А.2", 4, 8, 1255, true, false, true},
    {11, "PC83A2", "TPC83A2Item", "РС83-А2", "PC83-А2", 4, 9, 4255, true, false, true},
    {12, "SCHM120", "TSCHM120Item", "ЩМ-120(ЩМ-96)", "ЩМ-120(ЩМ-96)", 4, 10, 7007, true, false, true},
    {13, "BMRZ101KL", "TBMRZ101KLItem", "БМРЗ-101КЛ-080408", "БМРЗ-101КЛ-080408", 5, 11, 6107, true, false, true},
    {14, "BMRZ101KL01", "TBMRZ101KL01Item", "БМРЗ-101КЛ-151107", "БМРЗ-101КЛ-151107", 5, 12, 6207, true, false, true},
    {15, "BMRZ101KL02", "TBMRZ101KL02Item", "БМРЗ-101КЛ-140410", "БМРЗ-101КЛ-140410", 5, 13, 6607, true, false, true},
    {16, "BMRZ103VV", "TBMRZ103VVItem", "БМРЗ-103ВВ-090708", "БМРЗ-103ВВ-090708", 5, 14, 6307, true, false, true},
    {17, "BMRZ103VV01", "TBMRZ103VV01Item", "БМРЗ-103ВВ-260607", "БМРЗ-103ВВ-260607", 5, 15, 6407, true, false, true},
    {18, "BMRZ103VV02", "TBMRZ103VV02Item", "БМРЗ-103ВВ-140510", "БМРЗ-103ВВ-140510", 5, 16, 6807, true, false, true},
    {19, "BMRZ103SV", "TBMRZ103SVItem", "БМРЗ-103CВ-080408", "БМРЗ-103СВ-080408", 5, 17, 6507, true, false, true},
    {20, "BMRZ103SV01", "TBMRZ103SV01Item", "БМРЗ-103CВ-250610", "БМРЗ-103СВ-250610", 5, 18, 6707, true, false, true},
    {21, "NL16HV", "TNL16HVItem", "NL-16HV", "NL-16HV", 5, 19, 7107, true, false, true},
    {22, "SIRD", "TSIRIUSDItem", "СИРИУС-Д", "СИРИУС-Д", 6, 20, 5407, true, false, true},
    {23, "SIR2V", "TSIRIUS2VItem", "СИРИУС-2В", "СИРИУС-2В", 6, 21, 4511, true, false, true},
    {24, "SIR2L", "TSIRIUS2LItem", "СИРИУС-2Л", "СИРИУС-2Л", 6, 22, 4755, true, false, true},
    {25, "SIR2LOLD", "TSIRIUS2LOLDItem", "Сириус-2Л(старый)", "СИРИУС-2Л(старый)", 6, 23, 6007, true, false, true},
    {26, "SIR2VOLD", "TSIRIUS2VOLDItem", "Сириус-2В(старый)", "СИРИУС-2В(старый)", 6, 24, 4801, true, false, true},
    {27, "SIR2MLOLD", "TSIRIUS2MLOLDItem", "СИРИУС-2МЛ(старый)", "СИРИУС-2МЛ(старый)", 6, 25, 5707, true, false, true},
    {28, "SIR2SOLD", "TSIRIUS2SOLDItem", "Сириус-2С(старый)", "СИРИУС-2C(старый)", 6, 26, 5807, true, false, true},
    {29, "SIR2S", "TSIRIUS2SItem", "СИРИУС-2C", "СИРИУС-2C", 6, 27, 5507, true, false, true},
    {30, "SIRTN", "TSIRIUSTNItem", "СИРИУС-ТН", "СИРИУС-ТН", 6, 28, 5607, true, false, true},
    {31, "SIRCS", "TSIRIUSCSItem", "СИРИУС-ЦС", "СИРИУС-ЦС", 6, 29, 5907, true, false, true},
    {32, "ORION2", "TORION2Item", "ОРИОН-2", "ОРИОН-2", 6, 30, 5208, true, false, true},
    {33, "ORIONRTZ", "TORIONRTZItem", "ОРИОН-РТЗ", "ОРИОН-РТЗ", 6, 31, 5307, true, false, true},
    {34, "ATI", "TATIItem", "ATI", "Панель ATI", 6, 32, 7207, true, false, true},
    {35, "AD4117", "TADAM4117Item", "ADAM-4117", "ADAM-4117", 7, 33, 5011, true, false, true},
    {36, "RADON", "TRADONRITZItem", "Радон Риц", "Радон Риц", 7, 34, 6907, true, false, true},
    {37, "IPC6806", "TIPCItem", "ИПЦ-6806", "ИПЦ-6806", 8, 35, 1511, true, false, true},
    {38, "MER230", "TMercury230Item", "МЕРКУРИЙ 230", "МЕРКУРИЙ 230", 8, 36, 999, true, false, true},
    {39, "SET4TM", "TSet4TMItem", "СЭТ-4ТМ", "СЭТ-4ТМ", 8, 37, 1999, true, false, true},
    {40, "UKPM", "TUKPMItem", "УКПМ (КОМПАС 1.0)", "УКПМ (ТМ-КОМПАС 1.0)", 9, 38, 999, false, true, true},
    {41, "ZNAK", "TKYAZNAKItem", "КЭЯ \"Знак+\"", "КЭЯ \"ЗНАК+\"", 9, 39, 2999, true, false, true},
    {42, "ZNAK_X", "TKYAZNAKXItem", "КЭЯ \"Знак+\" (ИКС)", "КЭЯ \"ЗНАК+\" (ИКС)", 9, 40, 3499, true, false, true},
    {43, "QBX570MP3", "TQbx570mp3Item", "Контроллер QBX-570-МЩ3", "QBX-570-МЩ3", 10, 41, 2511, true, false, true},
    {44, "QBX570MP1", "TQbx570mp1Item", "Контроллер QBX-570-МЩ1", "QBX-570-МЩ1.8", 10, 42, 2639, true, false, true},
    {45, "LIS_SET4TM", "TSet4TMLisItem", "СЭТ-4ТМ (Подслушивание)", "СЭТ-4ТМ (Подслушивание)", 11, 43, 5109, true, false, true},
};
// clang-format on

namespace {
TObjectItem* MakeUserObject(uint16_t number, ELEMList* channels, actionManager* store) {
    return new TUserObjItem(number, channels, store);
}

TObjectItem* MakeChangeLog(uint16_t number, ELEMList* channels, actionManager* store) {
    return new TChangeLogItem(number, channels, store);
}

TObjectFactory& FactorySlot(int code) {
    static TObjectFactory slots[kDeviceTypeCount + 1] = {};
    return slots[code];
}
} // namespace

const TDeviceType* FindDeviceTypeByCode(int code) {
    if (code < 1 || code > kDeviceTypeCount)
        return nullptr;
    return &DeviceTypeTable[code - 1];
}

const TDeviceType* FindDeviceTypeByTag(std::string_view tag) {
    for (const TDeviceType& t : DeviceTypeTable)
        if (t.Code != kUserObjectCode && tag == t.Tag)
            return &t;
    return nullptr;
}

int ObjectCounterIndex(const TDeviceType* type) { return type && type->Creatable ? type->Counter : -1; }

std::vector<TObjectMenuEntry> ObjectMenu() {
    std::vector<TObjectMenuEntry> menu;
    for (const TDeviceType& t : DeviceTypeTable) {
        if (!menu.empty() && t.Group != DeviceTypeTable[t.Code - 2].Group)
            menu.push_back({"-", 0});
        menu.push_back({t.Caption, t.Code});
    }
    return menu;
}

uint16_t DeviceObjectNumber(const TDeviceType* type, int n) {
    return static_cast<uint16_t>(type->Counted ? type->Base + n : type->Base);
}

bool RegisterDeviceClass(std::string_view tag, TObjectFactory factory) {
    const TDeviceType* type = FindDeviceTypeByTag(tag);
    if (!type || !type->Creatable || type->Code == kChangeLogCode)
        return false;
    FactorySlot(type->Code) = factory;
    return true;
}

void UnregisterDeviceClass(std::string_view tag) {
    const TDeviceType* type = FindDeviceTypeByTag(tag);
    if (type && type->Code != kChangeLogCode)
        FactorySlot(type->Code) = nullptr;
}

TObjectFactory DeviceFactory(const TDeviceType* type) {
    if (!type || !type->Creatable)
        return nullptr;
    if (type->Code == kUserObjectCode)
        return MakeUserObject;
    if (type->Code == kChangeLogCode)
        return MakeChangeLog;
    return FactorySlot(type->Code);
}
