// Saving and loading a configuration: the nine tables of a LOR database. Configuration model layer.
// Saves go to a temporary file that replaces the target only when complete; loads trust nothing
// they read beyond the record it came from.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <unordered_map>

#include "Configmanager.h"
#include "Dbtables.h"
#include "Storewalk.h"
#include "Userobject.h"
#include "actions.h"
#include "sysutils.h"

namespace {
// Longest walk over one table: far more records than a 16-bit address space of keys could hold.
constexpr uint32_t kWalkLimit = 50'000'000;
const uint8_t kVersionBytes[16] = {kCurrentVersionMajor, kCurrentVersionMinor};

bool SyncPath(const std::string& path, bool directory)
{
    int fd = ::open(NativePath(path).c_str(), directory ? O_RDONLY | O_DIRECTORY : O_RDONLY);
    if (fd < 0)
        return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// A cleanly closed LOR file starts with its magic byte and a clear in-use flag.
bool ClosedCleanly(const std::string& path)
{
    FILE* f = std::fopen(NativePath(path).c_str(), "rb");
    if (!f)
        return false;
    unsigned char head[2] = {};
    bool ok = std::fread(head, 1, 2, f) == 2 && head[0] == 0x56 && head[1] == 0;
    std::fclose(f);
    return ok;
}

void PutKey16(uint8_t* key, uint16_t v) { PutU16(key, v); } // the class swaps to high byte first

struct Tables {
    std::unique_ptr<VTActionsEx> ActionsEx;
    std::unique_ptr<VTActionsVar> ActionsVar;
    std::unique_ptr<VTActionsInfo> ActionsInfo;
    std::unique_ptr<VTObjects> Objects;
    std::unique_ptr<VTCommands> Commands;
    std::unique_ptr<VTParamInfo> ParamInfo;
    std::unique_ptr<VTParamInfoEx> ParamInfoEx;
    std::unique_ptr<VTParamValue> ParamValue;
};

// Opens a table for reading; a table the file lacks is not created (and no box is shown for it).
template <class T> std::unique_ptr<T> OpenForRead(LORHANDLE base, const char* name)
{
    if (!IsTable(base, name))
        return nullptr;
    auto t = std::make_unique<T>(base, name);
    if (!t->IsOpen())
        return nullptr;
    return t;
}

// Steps through a table in key order; stops at the end, after the limit, or when a key does not
// grow (a damaged tree must not make the walk go round).
class Walker {
public:
    explicit Walker(VTRecord* t) : fT(t) {}
    bool Start()
    {
        if (!fT)
            return false;
        fT->RTOP();
        return Next();
    }
    bool Next()
    {
        if (++fSteps > kWalkLimit || !fT->RNEXT())
            return false;
        std::string key(reinterpret_cast<const char*>(fT->key()), fT->set.LenKey);
        // Keys are compared in stored byte order, which the class has swapped back.
        std::string stored = key;
        if (stored.size() >= 2 && fSwapped)
            std::swap(stored[0], stored[1]);
        if (fHave && stored <= fLast) {
            Broken = true;
            return false;
        }
        fLast = stored;
        fHave = true;
        return true;
    }
    void SetSwapped(bool s) { fSwapped = s; }
    bool Broken = false;

private:
    VTRecord* fT;
    uint32_t fSteps = 0;
    std::string fLast;
    bool fHave = false;
    bool fSwapped = true;
};
} // namespace

std::string configmanager::SaveLimitProblem()
{
    for (T_Action* a : AllSubprograms(Actions)) {
        std::string refusal = a->SaveRefusal();
        if (!refusal.empty())
            return refusal;
    }
    for (ELEM* e = Objects.Oldest; e; e = e->Newer) {
        auto* o = static_cast<TObjectItem*>(e);
        for (ELEM* c = o->Commands.Oldest; c; c = c->Newer) {
            auto* cmd = static_cast<TCommandItem*>(c);
            if (cmd->Execute == 1 && (cmd->Number == 0 || cmd->Number > kMaxKeyNumber))
                return "Объект \"" + o->DisplayType + " " + o->GetDisplayName() + "\" содержит больше " +
                       IntToStr(kMaxKeyNumber) + " команд опроса и не может быть сохранен.";
        }
    }
    // Channels are stored under their address: a second channel there would silently replace the first.
    std::unordered_map<uint32_t, const TParamItem*> byAddress;
    for (ELEM* e = Channels.Oldest; e; e = e->Newer) {
        auto* p = static_cast<TParamItem*>(e);
        if (p->ChannelType == 0 || p->ChannelIndex == 0)
            continue;
        const std::string address = IntToStr(p->ChannelType) + ":" + IntToStr(p->ChannelIndex);
        if ((p->BitWidth() + 7) / 8 > kParamValueMaxBytes)
            return "Канал " + address + " \"" + p->Name + "\" шире " + IntToStr(kParamValueMaxBytes * 8) +
                   " бит и не может быть сохранен.";
        auto [it, added] = byAddress.emplace(uint32_t{p->ChannelType} << 8 | p->ChannelIndex, p);
        if (!added)
            return "Каналы \"" + it->second->Name + "\" и \"" + p->Name + "\" занимают один адрес " + address +
                   "; конфигурация не может быть сохранена.";
    }
    return {};
}

bool configmanager::SaveDatabase(const std::string& path)
{
    LastError = SaveLimitProblem();
    if (!LastError.empty())
        return false;
    // An existing file must be a file the user may write (a read-only one is refused, as Windows
    // refuses it); the new one takes over its permission bits.
    struct stat old{};
    bool existed = ::stat(NativePath(path).c_str(), &old) == 0;
    if (existed && (!S_ISREG(old.st_mode) || (old.st_mode & 0222) == 0 ||
                    ::access(NativePath(path).c_str(), W_OK) != 0)) {
        LastError = "Файл " + path + " защищен от записи.";
        return false;
    }
    std::string temp = path + ".~tmp";
    DeleteFile(temp);
    auto keepMode = [&] { return !existed || ::chmod(NativePath(temp).c_str(), old.st_mode & 07777) == 0; };
    if (!WriteFile(temp) || !ClosedCleanly(temp) || !keepMode() || !SyncPath(temp, false)) {
        DeleteFile(temp);
        if (LastError.empty())
            LastError = "Не удалось записать файл " + path;
        return false;
    }
    if (std::rename(NativePath(temp).c_str(), NativePath(path).c_str()) != 0) {
        DeleteFile(temp);
        LastError = "Не удалось заменить файл " + path;
        return false;
    }
    std::string dir = ExtractFileDir(path);
    SyncPath(dir.empty() ? "." : dir, true);
    return true;
}

bool configmanager::WriteFile(const std::string& path)
{
    LORHANDLE base = OpenBase(path.c_str(), kSavePageSize, 0);
    if (base <= 32)
        return false;
    bool ok = true;
    auto save = [&ok](VTRecord& t) { ok = t.RSAVE() == 1 && ok; };
    {
        VTDBInfo info(base);
        ok = info.IsOpen();
        info.rec.Key[0] = kDBInfoVersionKind;
        info.rec.Dat[0] = 2;
        info.rec.Dat[1] = VersionMajor;
        info.rec.Dat[2] = VersionMinor;
        save(info);
    }
    {
        VTActionsEx ex(base);
        VTActionsVar var(base);
        VTActionsInfo ainfo(base);
        VTObjects obj(base);
        VTCommands cmd(base);
        VTParamInfo pinfo(base);
        VTParamInfoEx pex(base);
        VTParamValue pval(base);
        ok = ok && ex.IsOpen() && var.IsOpen() && ainfo.IsOpen() && obj.IsOpen() && cmd.IsOpen() &&
             pinfo.IsOpen() && pex.IsOpen() && pval.IsOpen();

        for (T_Action* a : AllSubprograms(Actions)) {
            if (!ok)
                break;
            if (InstructionCount(a) == 0)
                continue;
            int k = 0;
            for (const std::string& name : VariableNames(a)) {
                PutKey16(var.rec.Key, a->Id());
                var.rec.Key[2] = static_cast<uint8_t>(++k);
                PutText(var.rec.Dat, name, kActionsVarMaxName);
                save(var);
            }
            int i = 0;
            ForEachInstruction(a, [&](uint8_t opcode, const uint8_t* operands) {
                ex.rec.Key[0] = static_cast<uint8_t>(a->Id() >> 8); // high byte first, by hand
                ex.rec.Key[1] = static_cast<uint8_t>(a->Id());
                ex.rec.Key[2] = static_cast<uint8_t>(++i);
                uint8_t n = OperandLength(opcode);
                ex.rec.Dat[kActionsExOperandLen] = n;
                ex.rec.Dat[kActionsExOpcode] = opcode;
                std::memcpy(ex.rec.Dat + kActionsExOperands, operands, n);
                save(ex);
            });
            ainfo.rec.Key[0] = static_cast<uint8_t>(a->Id());
            ainfo.rec.Key[1] = static_cast<uint8_t>(a->Id() >> 8);
            PutU16(ainfo.rec.Dat + kActionsInfoVersion, a->Version);
            ainfo.rec.Dat[kActionsInfoFlags] = a->Flags == 9 ? kActionsInfoAutostart : 0;
            PutText(ainfo.rec.Dat + kActionsInfoName, a->Name(), kActionsInfoMaxName);
            save(ainfo);
        }

        for (ELEM* e = Objects.Oldest; e && ok; e = e->Newer) {
            auto* o = static_cast<TObjectItem*>(e);
            if (o->Number == 0)
                continue;
            PutKey16(obj.rec.Key, o->Number);
            obj.rec.Dat[kObjectsPeriod] = o->Period;
            PutU16(obj.rec.Dat + kObjectsHandler, o->MessageHandler);
            obj.rec.Dat[kObjectsSpare] = 0;
            PutText(obj.rec.Dat + kObjectsTag, o->Tag, kObjectsMaxTag);
            save(obj);
            for (ELEM* ce = o->Commands.Oldest; ce; ce = ce->Newer) {
                auto* c = static_cast<TCommandItem*>(ce);
                if (c->Execute != 1)
                    continue;
                PutKey16(cmd.rec.Key, o->Number);
                cmd.rec.Key[2] = static_cast<uint8_t>(c->Number);
                cmd.rec.Dat[kCommandsPeriod] = c->Period;
                PutU16(cmd.rec.Dat + kCommandsParse, c->Parse);
                PutU16(cmd.rec.Dat + kCommandsNoAnswer, c->NoAnswer);
                PutU16(cmd.rec.Dat + kCommandsPrepare, c->Prepare);
                save(cmd);
            }
        }

        for (ELEM* e = Channels.Oldest; e && ok; e = e->Newer) {
            auto* p = static_cast<TParamItem*>(e);
            if (p->ChannelType == 0 || p->ChannelIndex == 0)
                continue;
            if (p->ChannelType == kVersionChannelType && p->ChannelIndex == kVersionChannelIndex)
                p->Value.Assign(kVersionBytes, sizeof kVersionBytes);
            uint8_t flags = (p->WriteHandler ? kParamFlagWriteHandler : 0) |
                            (p->ChangeHandler ? kParamFlagChangeHandler : 0) | (p->RamDepth ? kParamFlagRamDepth : 0);
            for (VTRecord* t : {static_cast<VTRecord*>(&pval), static_cast<VTRecord*>(&pinfo)}) {
                PutKey16(t->key(), p->ChannelType);
                t->key()[2] = p->ChannelIndex;
            }
            PutU16(pval.rec.Dat + kParamValueWidth, p->BitWidth());
            std::memcpy(pval.rec.Dat + kParamValueBytes, p->Value.data(), p->ValueBytes());
            save(pval);
            PutU16(pinfo.rec.Dat + kParamInfoWidth, p->BitWidth());
            pinfo.rec.Dat[kParamInfoFlags] = flags;
            save(pinfo);
            if (flags) {
                PutKey16(pex.rec.Key, p->ChannelType);
                pex.rec.Key[2] = p->ChannelIndex;
                pex.rec.Dat[kParamInfoExDepth] = p->RamDepth;
                PutU16(pex.rec.Dat + kParamInfoExWrite, p->WriteHandler);
                PutU16(pex.rec.Dat + kParamInfoExChange, p->ChangeHandler);
                save(pex);
            }
        }
        FlushBase(base);
    }
    CloseBase(base);
    return ok;
}

bool configmanager::LoadDatabase(const std::string& path)
{
    LastError.clear();
    LoadProblems.clear();
    OpenedReadOnly = false;
    if (!FileExists(path)) {
        LastError = "Файл не найден: " + path;
        return false;
    }
    bool readOnly = ::access(NativePath(path).c_str(), W_OK) != 0;
    LORHANDLE base = OpenBase(path.c_str(), kLoadPageSize, readOnly ? 1 : 0);
    if (!readOnly && (base == LOR_NOT_WRITABLE || base == LOR_IN_USE)) {
        readOnly = true;
        base = OpenBase(path.c_str(), kLoadPageSize, 1);
    }
    if (base <= 32) {
        LastError = "Не удалось открыть файл конфигурации " + path;
        return false;
    }
    OpenedReadOnly = readOnly;
    if (readOnly)
        LoadProblems.push_back("Файл занят или защищен от записи и открыт только для чтения.");
    bool ok = ReadFile(base);
    CloseBase(base);
    return ok;
}

bool configmanager::ReadFile(LORHANDLE base)
{
    auto problem = [this](const std::string& text) {
        if (LoadProblems.size() < 1000)
            LoadProblems.push_back(text);
    };
    VersionMajor = VersionMinor = 0xFF;
    if (auto info = OpenForRead<VTDBInfo>(base, kTableDBInfo)) {
        info->rec.Key[0] = kDBInfoVersionKind;
        if (info->RSEEK()) {
            if (info->DataLength() >= 3 && info->rec.Dat[0] >= 2) {
                VersionMajor = info->rec.Dat[1];
                VersionMinor = info->rec.Dat[2];
            } else
                problem("Запись версии файла повреждена.");
        }
    }
    Tables t;
    t.ActionsEx = OpenForRead<VTActionsEx>(base, kTableActionsEx);
    t.ActionsVar = OpenForRead<VTActionsVar>(base, kTableActionsVar);
    t.ActionsInfo = OpenForRead<VTActionsInfo>(base, kTableActionsInfo);
    t.Objects = OpenForRead<VTObjects>(base, kTableObjects);
    t.Commands = OpenForRead<VTCommands>(base, kTableCommands);
    t.ParamInfo = OpenForRead<VTParamInfo>(base, kTableParamInfo);
    t.ParamInfoEx = OpenForRead<VTParamInfoEx>(base, kTableParamInfoEx);
    t.ParamValue = OpenForRead<VTParamValue>(base, kTableParamValue);
    if (!t.Objects && !t.ParamValue && !t.ActionsEx && VersionWord() == kNoVersionWord) {
        LastError = "Файл не содержит конфигурации.";
        return false;
    }

    Loading = 1;
    Actions->Clear();

    // Subprograms: instructions in key order, grouped by id.
    {
        Walker w(t.ActionsEx.get());
        w.SetSwapped(false);
        T_Action* current = nullptr;
        uint16_t currentId = 0;
        bool skipping = false;
        for (bool more = w.Start(); more; more = w.Next()) {
            VTActionsEx& ex = *t.ActionsEx;
            uint16_t id = static_cast<uint16_t>(ex.rec.Key[0] << 8 | ex.rec.Key[1]);
            if (id == 0) {
                problem("Инструкция подпрограммы с номером 0 пропущена.");
                continue;
            }
            if (!current || id != currentId) {
                currentId = id;
                current = Actions->CreateActionWithId(id);
                skipping = !current;
                if (!current)
                    continue;
                if (t.ActionsInfo) {
                    VTActionsInfo& ai = *t.ActionsInfo;
                    ai.rec.Key[0] = static_cast<uint8_t>(id);
                    ai.rec.Key[1] = static_cast<uint8_t>(id >> 8);
                    if (ai.RSEEK() && ai.DataLength() >= kActionsInfoName) {
                        current->Version = GetU16(ai.rec.Dat + kActionsInfoVersion);
                        current->SetName(GetText(ai.rec.Dat + kActionsInfoName,
                                                 static_cast<int>(ai.DataLength()) - kActionsInfoName));
                        if (ai.rec.Dat[kActionsInfoFlags] & kActionsInfoAutostart)
                            current->Flags = 9;
                    }
                }
                ReadVariables(current, t.ActionsVar.get());
            }
            if (skipping)
                continue;
            uint32_t len = ex.DataLength();
            if (len < kActionsExOperands) {
                problem("Инструкция подпрограммы " + IntToStr(id) + " повреждена.");
                continue;
            }
            uint8_t operands[kActionsExMaxOperands] = {};
            uint32_t n = std::min<uint32_t>({ex.rec.Dat[kActionsExOperandLen], kActionsExMaxOperands,
                                             len - kActionsExOperands});
            std::memcpy(operands, ex.rec.Dat + kActionsExOperands, n);
            AppendInstruction(current, ex.rec.Dat[kActionsExOpcode], operands);
        }
        if (w.Broken)
            problem("Таблица " + std::string(kTableActionsEx) + " повреждена.");
    }

    // Channels, before the objects that take them over.
    {
        Walker w(t.ParamValue.get());
        for (bool more = w.Start(); more; more = w.Next()) {
            VTParamValue& pv = *t.ParamValue;
            uint16_t type = GetU16(pv.rec.Key);
            uint8_t index = pv.rec.Key[2];
            uint32_t len = pv.DataLength();
            // Saves never write an unbound address; such a record would come back as nothing.
            if (len < kParamValueBytes || type == 0 || index == 0) {
                problem("Канал " + IntToStr(type) + ":" + IntToStr(index) + " поврежден.");
                continue;
            }
            uint16_t width = GetU16(pv.rec.Dat + kParamValueWidth);
            uint32_t present = len - kParamValueBytes;
            uint32_t wanted = (width + 7u) / 8u;
            if (wanted > present) {
                problem("Значение канала " + IntToStr(type) + ":" + IntToStr(index) + " короче его разрядности.");
                width = static_cast<uint16_t>(present * 8);
                wanted = present;
            }
            TParamItem* builtIn = nullptr;
            for (TParamItem* b : BuiltIn)
                if (b->ChannelType == type && b->ChannelIndex == index)
                    builtIn = b;
            TParamItem* p = builtIn;
            if (builtIn) {
                uint32_t own = std::min<uint32_t>(builtIn->ValueBytes(), present);
                std::memcpy(builtIn->Value.data(), pv.rec.Dat + kParamValueBytes, own);
            } else {
                p = new TParamItem;
                p->ChannelType = type;
                p->ChannelIndex = index;
                p->SetBitWidth(width);
                p->Store = Actions;
                std::memcpy(p->Value.data(), pv.rec.Dat + kParamValueBytes,
                            std::min<uint32_t>(wanted, p->ValueBytes()));
            }
            if (t.ParamInfoEx) {
                VTParamInfoEx& px = *t.ParamInfoEx;
                PutKey16(px.rec.Key, type);
                px.rec.Key[2] = index;
                if (px.RSEEK()) {
                    if (px.DataLength() >= kParamInfoExDatLen) {
                        p->WriteHandler = GetU16(px.rec.Dat + kParamInfoExWrite);
                        p->ChangeHandler = GetU16(px.rec.Dat + kParamInfoExChange);
                        p->SetRamDepth(px.rec.Dat[kParamInfoExDepth]);
                    } else
                        problem("Обработчики канала " + IntToStr(type) + ":" + IntToStr(index) + " повреждены.");
                }
            }
            if (!builtIn)
                Channels.Append(p);
        }
        if (w.Broken)
            problem("Таблица " + std::string(kTableParamValue) + " повреждена.");
    }

    // Objects, in ascending number.
    {
        Walker w(t.Objects.get());
        bool currentFormat = VersionWord() == kCurrentVersionWord;
        for (bool more = w.Start(); more; more = w.Next()) {
            VTObjects& ob = *t.Objects;
            uint16_t number = GetU16(ob.rec.Key);
            uint32_t len = ob.DataLength();
            if (len < kObjectsTag || number == 0) {
                problem("Объект " + IntToStr(number) + " поврежден.");
                continue;
            }
            uint8_t period = ob.rec.Dat[kObjectsPeriod];
            uint16_t handler = GetU16(ob.rec.Dat + kObjectsHandler);
            std::string tag = GetText(ob.rec.Dat + kObjectsTag, static_cast<int>(len) - kObjectsTag);
            const TDeviceType* type = FindDeviceTypeByTag(tag);
            if (type && !type->Creatable)
                continue; // "QBX540M"
            int counter = ObjectCounterIndex(type);
            if (type && type->Once && Counters[counter] != 0)
                continue;
            TObjectFactory factory = DeviceFactory(type);
            TObjectItem* object = nullptr;
            if (factory) {
                try {
                    object = factory(number, &Channels, Actions);
                } catch (...) {
                    object = nullptr;
                }
                if (!object) {
                    problem("Объект " + tag + " " + IntToStr(number) + " не создан.");
                    continue;
                }
                ++Counters[counter];
                object->MessageHandler = handler;
                object->Period = period;
                for (ELEM* ce = object->Commands.Oldest; ce; ce = ce->Newer) {
                    auto* c = static_cast<TCommandItem*>(ce);
                    VTCommands* cm = t.Commands.get();
                    bool found = false;
                    if (cm) {
                        PutKey16(cm->rec.Key, number);
                        cm->rec.Key[2] = static_cast<uint8_t>(c->Number);
                        found = c->Number >= 1 && c->Number <= kMaxKeyNumber && cm->RSEEK() &&
                                cm->DataLength() >= 1;
                    }
                    if (found) {
                        c->Execute = 1;
                        c->Period = cm->rec.Dat[kCommandsPeriod];
                    } else if (currentFormat) {
                        // This format stores every executed command: a missing one was switched off.
                        c->Execute = 0;
                    }
                }
            } else {
                // A user-defined object, or a device whose class this build lacks: it keeps its tag,
                // its commands and (on the channel list) its channels.
                auto* user = new TUserObjItem(number, &Channels, Actions);
                ++Counters[ObjectCounterIndex(FindDeviceTypeByCode(kUserObjectCode))];
                if (tag.empty()) {
                    problem("Объект " + IntToStr(number) + " без имени загружен как " + kUserObjectTag + ".");
                    tag = kUserObjectTag;
                }
                user->Tag = tag;
                user->MessageHandler = handler;
                user->Period = period;
                ReadUserCommands(user, t.Commands.get());
                object = user;
            }
            Objects.Append(object);
            fLive.insert(object);
        }
        if (w.Broken)
            problem("Таблица " + std::string(kTableObjects) + " повреждена.");
    }

    Loading = 0;
    return true;
}

void configmanager::ReadVariables(T_Action* action, VTActionsVar* var)
{
    if (!var)
        return;
    PutKey16(var->rec.Key, action->Id());
    var->rec.Key[2] = 0; // the next record after (id, 0) is the first variable
    for (int steps = 0; steps <= kMaxKeyNumber && var->RNEXT(); ++steps) {
        if (GetU16(var->rec.Key) != action->Id())
            break;
        std::string name = GetText(var->rec.Dat, static_cast<int>(var->DataLength()));
        AddVariable(action, name);
    }
}

void configmanager::ReadUserCommands(TUserObjItem* user, VTCommands* cmd)
{
    if (!cmd)
        return;
    PutKey16(cmd->rec.Key, user->Number);
    cmd->rec.Key[2] = 0;
    for (int steps = 0; steps <= kMaxKeyNumber && cmd->RNEXT(); ++steps) {
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
}
