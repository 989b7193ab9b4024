// Device type table, add-object menu and class registry. Configuration model layer.
#include "Devicetypes.h"

#include "Changelogobject.h"
#include "Userobject.h"

const TDeviceType DeviceTypeTable[kDeviceTypeCount] = {
    {1, "USEROBJ", "TUserObjItem", 9999, true, false, true},
    {2, "LOGBOOK", "TChangeLogItem", 3, false, true, true},
    {3, "QBX510", "TQbx510Item", 1, false, true, true},
    {4, "QBX520", "TQbx520Item", 2, false, true, true},
    {5, "QBX540", "TQbx540Item", 2299, false, true, true},
    {6, "QBX540M", "", 0, false, false, false},
    {7, "QBX530", "TQbx530Item", 1799, true, false, true},
    {8, "QBX550", "TQbx550Item", 1832, true, false, true},
    {9, "QBX560", "TQbx560Item", 3255, true, false, true},
    {10, "UZA10A2", "TUZA10A2Item", 1255, true, false, true},
    {11, "PC83A2", "TPC83A2Item", 4255, true, false, true},
    {12, "SCHM120", "TSCHM120Item", 7007, true, false, true},
    {13, "BMRZ101KL", "TBMRZ101KLItem", 6107, true, false, true},
    {14, "BMRZ101KL01", "TBMRZ101KL01Item", 6207, true, false, true},
    {15, "BMRZ101KL02", "TBMRZ101KL02Item", 6607, true, false, true},
    {16, "BMRZ103VV", "TBMRZ103VVItem", 6307, true, false, true},
    {17, "BMRZ103VV01", "TBMRZ103VV01Item", 6407, true, false, true},
    {18, "BMRZ103VV02", "TBMRZ103VV02Item", 6807, true, false, true},
    {19, "BMRZ103SV", "TBMRZ103SVItem", 6507, true, false, true},
    {20, "BMRZ103SV01", "TBMRZ103SV01Item", 6707, true, false, true},
    {21, "NL16HV", "TNL16HVItem", 7107, true, false, true},
    {22, "SIRD", "TSIRIUSDItem", 5407, true, false, true},
    {23, "SIR2V", "TSIRIUS2VItem", 4511, true, false, true},
    {24, "SIR2L", "TSIRIUS2LItem", 4755, true, false, true},
    {25, "SIR2LOLD", "TSIRIUS2LOLDItem", 6007, true, false, true},
    {26, "SIR2VOLD", "TSIRIUS2VOLDItem", 4801, true, false, true},
    {27, "SIR2MLOLD", "TSIRIUS2MLOLDItem", 5707, true, false, true},
    {28, "SIR2SOLD", "TSIRIUS2SOLDItem", 5807, true, false, true},
    {29, "SIR2S", "TSIRIUS2SItem", 5507, true, false, true},
    {30, "SIRTN", "TSIRIUSTNItem", 5607, true, false, true},
    {31, "SIRCS", "TSIRIUSCSItem", 5907, true, false, true},
    {32, "ORION2", "TORION2Item", 5208, true, false, true},
    {33, "ORIONRTZ", "TORIONRTZItem", 5307, true, false, true},
    {34, "ATI", "TATIItem", 7207, true, false, true},
    {35, "AD4117", "TADAM4117Item", 5011, true, false, true},
    {36, "RADON", "TRADONRITZItem", 6907, true, false, true},
    {37, "IPC6806", "TIPCItem", 1511, true, false, true},
    {38, "MER230", "TMercury230Item", 999, true, false, true},
    {39, "SET4TM", "TSet4TMItem", 1999, true, false, true},
    {40, "UKPM", "TUKPMItem", 999, false, true, true},
    {41, "ZNAK", "TKYAZNAKItem", 2999, true, false, true},
    {42, "ZNAK_X", "TKYAZNAKXItem", 3499, true, false, true},
    {43, "QBX570MP3", "TQbx570mp3Item", 2511, true, false, true},
    {44, "QBX570MP1", "TQbx570mp1Item", 2639, true, false, true},
    {45, "LIS_SET4TM", "TSet4TMLisItem", 5109, true, false, true},
};

const char* const ObjectMenuEntries[kMenuEntryCount] = {
    "ОБЪЕКТ ПОЛЬЗОВАТЕЛЯ",
    "-",
    "ЖУРНАЛ СООБЩЕНИЙ",
    "-",
    "QBX-510",
    "УО (QBX-520)",
    "QBX-540",
    "QBX-540М",
    "КЯ QBX-530",
    "QBX-550",
    "ЦПТ QBX-560",
    "-",
    "УЗА-10А.2",
    "PC83-А2",
    "ЩМ-120(ЩМ-96)",
    "-",
    "БМРЗ-101КЛ-080408",
    "БМРЗ-101КЛ-151107",
    "БМРЗ-101КЛ-140410",
    "БМРЗ-103ВВ-090708",
    "БМРЗ-103ВВ-260607",
    "БМРЗ-103ВВ-140510",
    "БМРЗ-103СВ-080408",
    "БМРЗ-103СВ-250610",
    "NL-16HV",
    "-",
    "СИРИУС-Д",
    "СИРИУС-2В",
    "СИРИУС-2Л",
    "СИРИУС-2Л(старый)",
    "СИРИУС-2В(старый)",
    "СИРИУС-2МЛ(старый)",
    "СИРИУС-2C(старый)",
    "СИРИУС-2C",
    "СИРИУС-ТН",
    "СИРИУС-ЦС",
    "ОРИОН-2",
    "ОРИОН-РТЗ",
    "Панель ATI",
    "-",
    "ADAM-4117",
    "Радон Риц",
    "-",
    "ИПЦ-6806",
    "МЕРКУРИЙ 230",
    "СЭТ-4ТМ",
    "-",
    "УКПМ (ТМ-КОМПАС 1.0)",
    "КЭЯ \"ЗНАК+\"",
    "КЭЯ \"ЗНАК+\" (ИКС)",
    "-",
    "QBX-570-МЩ3",
    "QBX-570-МЩ1.8",
    "-",
    "СЭТ-4ТМ (Подслушивание)",
};

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

int ObjectCounterIndex(const TDeviceType* type) {
    if (!type || !type->Creatable)
        return -1;
    // "QBX540M" (code 6) has no counter, so later codes shift down by one.
    return type->Code < 6 ? type->Code - 1 : type->Code - 2;
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
