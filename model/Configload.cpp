// Loading a configuration from the nine tables of a LOR database. Configuration model layer.
// A load never writes the file, trusts nothing it reads beyond the record it came from, and reports
// every table it could not read to its true end.
#include <algorithm>
#include <cstring>
#include <memory>
#include <set>

#include "Channelindex.h"
#include "Configmanager.h"
#include "Dbtables.h"
#include "Storewalk.h"
#include "Userobject.h"
#include "actions.h"
#include "sysutils.h"

namespace {
// Longest walk over one table: far more records than a 16-bit address space of keys could hold.
constexpr uint32_t kWalkLimit = 50'000'000;
// No record of any table takes fewer bytes of the file (entry header, key, data).
constexpr uint64_t kLeastRecordBytes = 8;

// Steps through a table in key order; stops at the end, after the limit, or when a key does not
// grow (a damaged tree must not make the walk go round). Complete() tells whether the walk read the
// whole table: it ended at the table's true end, on keys in order, with as many records as the
// table counts.
class Walker {
public:
    explicit Walker(VTRecord* t) : fT(t) {}
    bool Start() {
        if (!fT)
            return false;
        fT->RTOP();
        return Next();
    }
    bool Next() {
        if (++fSteps > kWalkLimit)
            return false;
        if (!fT->RNEXT()) {
            fEnded = LastStatus(fT->Table) == LOR_OK;
            return false;
        }
        // Keys are compared in stored byte order, which the class has swapped back. A class's key
        // is never longer than its record's key field.
        Key stored;
        stored.len = std::min<size_t>(fT->set.LenKey, sizeof stored.bytes);
        std::memcpy(stored.bytes, fT->key(), stored.len);
        if (stored.len >= 2 && fSwapped)
            std::swap(stored.bytes[0], stored.bytes[1]);
        if (fHave && !(fLast < stored)) {
            fBroken = true;
            return false;
        }
        fLast = stored;
        fHave = true;
        return true;
    }
    void SetSwapped(bool s) { fSwapped = s; }
    bool Complete() const { return !fT || (fEnded && !fBroken && fSteps - 1 == fT->COUNT()); }

private:
    struct Key {
        uint8_t bytes[4] = {};
        size_t len = 0;
        // Unsigned bytes, the shorter key first on a tie, as the store orders them.
        bool operator<(const Key& o) const {
            const int c = std::memcmp(bytes, o.bytes, std::min(len, o.len));
            return c < 0 || (c == 0 && len < o.len);
        }
    };
    VTRecord* fT;
    uint32_t fSteps = 0;
    Key fLast;
    bool fHave = false;
    bool fSwapped = true;
    bool fEnded = false;
    bool fBroken = false;
};
} // namespace

// The tables of a load; a table the file lacks stays null.
struct configmanager::LoadTables {
    std::unique_ptr<VTActionsEx> ActionsEx;
    std::unique_ptr<VTActionsVar> ActionsVar;
    std::unique_ptr<VTActionsInfo> ActionsInfo;
    std::unique_ptr<VTObjects> Objects;
    std::unique_ptr<VTCommands> Commands;
    std::unique_ptr<VTParamInfoEx> ParamInfoEx;
    std::unique_ptr<VTParamValue> ParamValue;
    std::set<std::string> Damaged; // tables already reported
    // The handler records are read in step with the channels, both in key order; the record read
    // last is at hand while HandlersInStep holds (HandlerAhead: one was read). A walk that cannot go
    // on gives way to a seek per channel.
    bool HandlersInStep = false;
    bool HandlerAhead = false;
    uint32_t HandlerKey = 0;
    // Most records the file could hold: a count read from it is trusted only up to this.
    uint64_t MostRecords = 0;
};

namespace {
// Channel address in key order: type, then index.
uint32_t AddressOrder(uint16_t type, uint8_t index) { return uint32_t{type} << 8 | index; }
} // namespace

bool configmanager::LoadDatabase(const std::string& path) {
    LastError.clear();
    LoadProblems.clear();
    OpenedReadOnly = false;
    if (!FileExists(path)) {
        LastError = "Файл не найден: " + path;
        return false;
    }
    // The store takes the system's own (UTF-8) names. Read-only whatever the file allows: a load
    // leaves the file exactly as it was; the store says whether the configuration may later be
    // saved over it.
    int mayWrite = 0;
    LORHANDLE base = OpenBaseForReading(NativePath(path).c_str(), kLoadPageSize, &mayWrite);
    if (!IsBaseHandle(base)) {
        LastError = "Не удалось открыть файл конфигурации " + path;
        return false;
    }
    OpenedReadOnly = mayWrite == 0;
    if (OpenedReadOnly)
        LoadProblems.push_back("Файл занят или защищен от записи и открыт только для чтения.");
    bool ok = ReadFile(base);
    CloseBase(base);
    return ok;
}

void configmanager::LoadProblem(const std::string& text) {
    if (LoadProblems.size() < kMaxLoadProblems)
        LoadProblems.push_back(text);
}

void configmanager::TableDamaged(LoadTables& t, const char* name) {
    if (t.Damaged.insert(name).second)
        LoadProblem("Таблица " + std::string(name) + " повреждена и прочитана не полностью.");
}

// Reports a table whose last read ended on damage rather than on a missing record.
void configmanager::CheckRead(LoadTables& t, VTRecord& table, const char* name) {
    if (LastStatus(table.Table) != LOR_OK)
        TableDamaged(t, name);
}

// Expects a fresh manager. False (LastError set) when the file holds no configuration; otherwise
// true, with what could not be read in LoadProblems.
bool configmanager::ReadFile(LORHANDLE base) {
    LoadTables t;
    t.MostRecords = uint64_t{BasePageCount(base)} * PageSize(base) / kLeastRecordBytes;
    ReadVersion(base, t);
    if (!OpenTables(base, t))
        return false;
    Loading = 1;
    Actions->Clear();
    // What the device constructors cannot take over is a problem of this load.
    struct SinkScope {
        TProblemSink old;
        ~SinkScope() { SetConfigurationProblemSink(std::move(old)); }
    } sinkScope{SetConfigurationProblemSink([this](const std::string& text) { LoadProblem(text); })};
    ReadSubprograms(t);
    ReadChannels(t); // before the objects that take them over
    ReadObjects(t);
    Loading = 0;
    return true;
}

// Opens a table for reading; a table the file lacks is not created (and no box is shown for it).
// A directory that cannot be searched for it is reported.
template <class T>
void configmanager::OpenForRead(LORHANDLE base, LoadTables& t, std::unique_ptr<T>& out, const char* name) {
    if (!IsTable(base, name)) {
        if (LastStatus(base) != LOR_OK)
            TableDamaged(t, name);
        return;
    }
    out = std::make_unique<T>(base, name);
    if (!out->IsOpen())
        out.reset();
}

// The version bytes: the file's, or 0xFF/0xFF when it has no version record.
void configmanager::ReadVersion(LORHANDLE base, LoadTables& t) {
    VersionMajor = VersionMinor = 0xFF;
    std::unique_ptr<VTDBInfo> info;
    OpenForRead(base, t, info, kTableDBInfo);
    if (!info)
        return;
    info->rec.Key[0] = kDBInfoVersionKind;
    if (!info->RSEEK()) {
        CheckRead(t, *info, kTableDBInfo);
        return;
    }
    if (info->DataLength() >= 3 && info->rec.Dat[0] >= 2) {
        VersionMajor = info->rec.Dat[1];
        VersionMinor = info->rec.Dat[2];
    } else {
        LoadProblem("Запись версии файла повреждена.");
    }
}

// False (LastError set) when the file has none of the tables of a configuration.
bool configmanager::OpenTables(LORHANDLE base, LoadTables& t) {
    OpenForRead(base, t, t.ActionsEx, kTableActionsEx);
    OpenForRead(base, t, t.ActionsVar, kTableActionsVar);
    OpenForRead(base, t, t.ActionsInfo, kTableActionsInfo);
    OpenForRead(base, t, t.Objects, kTableObjects);
    OpenForRead(base, t, t.Commands, kTableCommands);
    OpenForRead(base, t, t.ParamInfoEx, kTableParamInfoEx);
    OpenForRead(base, t, t.ParamValue, kTableParamValue);
    if (!t.Objects && !t.ParamValue && !t.ActionsEx && VersionWord() == kNoVersionWord && t.Damaged.empty()) {
        LastError = "Файл не содержит конфигурации.";
        return false;
    }
    return true;
}

// Subprograms: instructions in key order, grouped by id, each with its name and variables.
void configmanager::ReadSubprograms(LoadTables& t) {
    Walker w(t.ActionsEx.get());
    w.SetSwapped(false);
    T_Action* current = nullptr;
    uint16_t currentId = 0;
    bool skipping = false;
    for (bool more = w.Start(); more; more = w.Next()) {
        VTActionsEx& ex = *t.ActionsEx;
        const uint16_t id = static_cast<uint16_t>(ex.rec.Key[0] << 8 | ex.rec.Key[1]);
        if (id == 0) {
            LoadProblem("Инструкция подпрограммы с номером 0 пропущена.");
            continue;
        }
        if (!current || id != currentId) {
            if (current)
                current->Instructions.shrink_to_fit();
            currentId = id;
            current = Actions->CreateActionWithId(id);
            // Room for as many instructions as the keys can number, then exactly those read.
            if (current)
                current->Instructions.reserve(kMaxStoredInstructions);
            skipping = !current;
            if (!current)
                continue;
            ReadSubprogramInfo(t, current);
            if (t.ActionsVar && !ReadVariables(current, t.ActionsVar.get()))
                TableDamaged(t, kTableActionsVar);
        }
        if (skipping)
            continue;
        const uint32_t len = ex.DataLength();
        if (len < kActionsExOperands) {
            LoadProblem("Инструкция подпрограммы " + IntToStr(id) + " повреждена.");
            continue;
        }
        uint8_t operands[kActionsExMaxOperands] = {};
        const uint32_t n = std::min<uint32_t>(
            {ex.rec.Dat[kActionsExOperandLen], kActionsExMaxOperands, len - kActionsExOperands});
        std::memcpy(operands, ex.rec.Dat + kActionsExOperands, n);
        AppendInstruction(current, ex.rec.Dat[kActionsExOpcode], operands);
    }
    if (current)
        current->Instructions.shrink_to_fit();
    if (!w.Complete())
        TableDamaged(t, kTableActionsEx);
}

// Version, name and autostart flag of a subprogram, when the file has its record.
void configmanager::ReadSubprogramInfo(LoadTables& t, T_Action* action) {
    if (!t.ActionsInfo)
        return;
    VTActionsInfo& ai = *t.ActionsInfo;
    ai.rec.Key[0] = static_cast<uint8_t>(action->Id());
    ai.rec.Key[1] = static_cast<uint8_t>(action->Id() >> 8);
    if (!ai.RSEEK()) {
        CheckRead(t, ai, kTableActionsInfo);
        return;
    }
    if (ai.DataLength() < kActionsInfoName)
        return;
    action->Version = GetU16(ai.rec.Dat + kActionsInfoVersion);
    action->SetName(
        GetText(ai.rec.Dat + kActionsInfoName, static_cast<int>(ai.DataLength()) - kActionsInfoName));
    if (ai.rec.Dat[kActionsInfoFlags] & kActionsInfoAutostart)
        action->Flags = kActionAutostart;
}

// Channels with their values and handlers; the built-in channels take their stored values.
void configmanager::ReadChannels(LoadTables& t) {
    if (t.ParamInfoEx) {
        t.ParamInfoEx->RTOP();
        t.HandlerAhead = t.ParamInfoEx->RNEXT();
        t.HandlersInStep = t.HandlerAhead || LastStatus(t.ParamInfoEx->Table) == LOR_OK;
        if (!t.HandlersInStep)
            TableDamaged(t, kTableParamInfoEx);
        if (t.HandlerAhead)
            t.HandlerKey = AddressOrder(GetU16(t.ParamInfoEx->rec.Key), t.ParamInfoEx->rec.Key[2]);
    }
    if (t.ParamValue)
        fIndex->Reserve(static_cast<size_t>(std::min<uint64_t>(t.ParamValue->COUNT(), t.MostRecords)));
    Walker w(t.ParamValue.get());
    for (bool more = w.Start(); more; more = w.Next()) {
        VTParamValue& pv = *t.ParamValue;
        const uint16_t type = GetU16(pv.rec.Key);
        const uint8_t index = pv.rec.Key[2];
        const uint32_t len = pv.DataLength();
        // Saves never write an unbound address; such a record would come back as nothing.
        if (len < kParamValueBytes || type == 0 || index == 0) {
            LoadProblem("Канал " + IntToStr(type) + ":" + IntToStr(index) + " поврежден.");
            continue;
        }
        uint16_t width = GetU16(pv.rec.Dat + kParamValueWidth);
        const uint32_t present = len - kParamValueBytes;
        uint32_t wanted = (width + 7u) / 8u;
        if (wanted > present) {
            LoadProblem("Значение канала " + IntToStr(type) + ":" + IntToStr(index) +
                        " короче его разрядности.");
            width = static_cast<uint16_t>(present * 8);
            wanted = present;
        }
        TParamItem* builtIn = nullptr;
        for (TParamItem* b : BuiltIn)
            if (b->ChannelType == type && b->ChannelIndex == index)
                builtIn = b;
        TParamItem* p = builtIn;
        if (builtIn) {
            const uint32_t own = std::min<uint32_t>(builtIn->ValueBytes(), present);
            std::memcpy(builtIn->Value.data(), pv.rec.Dat + kParamValueBytes, own);
        } else {
            p = new TParamItem;
            p->SetAddress(type, index);
            p->SetBitWidth(width);
            p->Store = Actions;
            std::memcpy(p->Value.data(), pv.rec.Dat + kParamValueBytes,
                        std::min<uint32_t>(wanted, p->ValueBytes()));
        }
        ReadHandlers(t, p);
        if (!builtIn)
            Channels.Append(p);
    }
    if (!w.Complete())
        TableDamaged(t, kTableParamValue);
}

// A channel's RAM depth and handler subprograms, when the file has its record.
void configmanager::ReadHandlers(LoadTables& t, TParamItem* p) {
    if (!t.ParamInfoEx)
        return;
    VTParamInfoEx& px = *t.ParamInfoEx;
    const uint32_t wanted = AddressOrder(p->ChannelType, p->ChannelIndex);
    while (t.HandlersInStep && t.HandlerAhead && t.HandlerKey < wanted) {
        t.HandlerAhead = px.RNEXT();
        const uint32_t key = AddressOrder(GetU16(px.rec.Key), px.rec.Key[2]);
        // A walk that ends on damage or on a key out of order hands over to the seeks.
        t.HandlersInStep = t.HandlerAhead ? key > t.HandlerKey : LastStatus(px.Table) == LOR_OK;
        t.HandlerKey = key;
        if (!t.HandlersInStep)
            TableDamaged(t, kTableParamInfoEx);
    }
    if (t.HandlersInStep) {
        if (!t.HandlerAhead || t.HandlerKey != wanted)
            return;
    } else {
        PutU16(px.rec.Key, p->ChannelType); // the class swaps to high byte first
        px.rec.Key[2] = p->ChannelIndex;
        if (!px.RSEEK()) {
            CheckRead(t, px, kTableParamInfoEx);
            return;
        }
    }
    if (px.DataLength() < kParamInfoExDatLen) {
        LoadProblem("Обработчики канала " + IntToStr(p->ChannelType) + ":" + IntToStr(p->ChannelIndex) +
                    " повреждены.");
        return;
    }
    p->WriteHandler = GetU16(px.rec.Dat + kParamInfoExWrite);
    p->ChangeHandler = GetU16(px.rec.Dat + kParamInfoExChange);
    p->SetRamDepth(px.rec.Dat[kParamInfoExDepth]);
}

// Objects, in ascending number: devices through their constructors, which take over the stored
// channels of their addresses; anything else as a user-defined object.
void configmanager::ReadObjects(LoadTables& t) {
    Walker w(t.Objects.get());
    for (bool more = w.Start(); more; more = w.Next()) {
        VTObjects& ob = *t.Objects;
        const uint16_t number = GetU16(ob.rec.Key);
        const uint32_t len = ob.DataLength();
        if (len < kObjectsTag || number == 0) {
            LoadProblem("Объект " + IntToStr(number) + " поврежден.");
            continue;
        }
        const uint8_t period = ob.rec.Dat[kObjectsPeriod];
        const uint16_t handler = GetU16(ob.rec.Dat + kObjectsHandler);
        const std::string tag = GetText(ob.rec.Dat + kObjectsTag, static_cast<int>(len) - kObjectsTag);
        TObjectItem* object = MakeStoredObject(t, number, tag);
        if (!object)
            continue;
        object->MessageHandler = handler;
        object->Period = period;
        Objects.Append(object);
        fLive.insert(object);
        CountObject(object, 1);
    }
    if (!w.Complete())
        TableDamaged(t, kTableObjects);
}

// The object of a stored record, or null when it is skipped (reported where that loses something).
TObjectItem* configmanager::MakeStoredObject(LoadTables& t, uint16_t number, std::string tag) {
    const TDeviceType* type = FindDeviceTypeByTag(tag);
    if (type && !type->Creatable)
        return nullptr; // "QBX540M"
    const int counter = ObjectCounterIndex(type);
    if (type && type->Once && Counters[counter] != 0)
        return nullptr;
    if (TObjectFactory factory = DeviceFactory(type)) {
        TObjectItem* object = nullptr;
        std::string why = ".";
        try {
            object = factory(number, &Channels, Actions);
        } catch (const std::exception& e) {
            why = std::string(": ") + e.what();
        } catch (...) {
            // Not a standard exception: nothing to name beyond the failure itself.
        }
        if (!object) {
            LoadProblem("Объект " + tag + " " + IntToStr(number) + " не создан" + why);
            return nullptr;
        }
        ++Counters[counter];
        ReadCommandModes(t, object);
        return object;
    }
    // A user-defined object, or a device whose class this build lacks: it keeps its tag, its
    // commands and (on the channel list) its channels.
    auto* user = new TUserObjItem(number, &Channels, Actions);
    ++Counters[ObjectCounterIndex(FindDeviceTypeByCode(kUserObjectCode))];
    if (tag.empty()) {
        LoadProblem("Объект " + IntToStr(number) + " без имени загружен как " + kUserObjectTag + ".");
        tag = kUserObjectTag;
    }
    user->Tag = tag;
    if (t.Commands && !ReadUserCommands(user, t.Commands.get()))
        TableDamaged(t, kTableCommands);
    return user;
}

// Which poll commands of a device are executed, and their periods.
void configmanager::ReadCommandModes(LoadTables& t, TObjectItem* object) {
    // This format stores every executed command: a missing one was switched off.
    const bool currentFormat = VersionWord() == kCurrentVersionWord;
    for (ELEM* ce = object->Commands.Oldest; ce; ce = ce->Newer) {
        auto* c = static_cast<TCommandItem*>(ce);
        VTCommands* cmd = t.Commands.get();
        bool found = false;
        if (cmd && c->Number >= 1 && c->Number <= kMaxKeyNumber) {
            PutU16(cmd->rec.Key, object->Number); // the class swaps to high byte first
            cmd->rec.Key[2] = static_cast<uint8_t>(c->Number);
            found = cmd->RSEEK() && cmd->DataLength() >= 1;
            if (!found)
                CheckRead(t, *cmd, kTableCommands);
        }
        if (found) {
            c->Execute = 1;
            c->Period = cmd->rec.Dat[kCommandsPeriod];
        } else if (currentFormat) {
            c->Execute = 0;
        }
    }
}

// The variables stored for a subprogram; false when the table ended on damage.
bool configmanager::ReadVariables(T_Action* action, VTActionsVar* var) {
    PutU16(var->rec.Key, action->Id()); // the class swaps to high byte first
    var->rec.Key[2] = 0;                // the next record after (id, 0) is the first variable
    for (int steps = 0; steps <= kMaxKeyNumber; ++steps) {
        if (!var->RNEXT())
            return LastStatus(var->Table) == LOR_OK;
        if (GetU16(var->rec.Key) != action->Id())
            break;
        AddVariable(action, GetText(var->rec.Dat, static_cast<int>(var->DataLength())));
    }
    return true;
}

// The poll commands stored for a user-defined object; false when the table ended on damage.
bool configmanager::ReadUserCommands(TUserObjItem* user, VTCommands* cmd) {
    PutU16(cmd->rec.Key, user->Number); // the class swaps to high byte first
    cmd->rec.Key[2] = 0;
    for (int steps = 0; steps <= kMaxKeyNumber; ++steps) {
        if (!cmd->RNEXT())
            return LastStatus(cmd->Table) == LOR_OK;
        if (GetU16(cmd->rec.Key) != user->Number)
            break;
        if (cmd->DataLength() < kCommandsDatLen)
            continue;
        TCommandItem* c = user->AddCommand();
        c->Period = cmd->rec.Dat[kCommandsPeriod];
        c->Parse = GetU16(cmd->rec.Dat + kCommandsParse);
        c->NoAnswer = GetU16(cmd->rec.Dat + kCommandsNoAnswer);
        c->Prepare = GetU16(cmd->rec.Dat + kCommandsPrepare);
    }
    return true;
}
