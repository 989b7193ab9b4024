// Saving a configuration: the nine tables of a LOR database, written to a temporary file that
// replaces the target only when complete. Configuration model layer.
#include <unordered_map>

#include "Configmanager.h"
#include "Dbtables.h"
#include "Storewalk.h"
#include "Userobject.h"
#include "actions.h"
#include "replacefile.h"
#include "sysutils.h"

namespace {
const uint8_t kVersionBytes[16] = {kCurrentVersionMajor, kCurrentVersionMinor};

void PutKey16(uint8_t* key, uint16_t v) { PutU16(key, v); } // the class swaps to high byte first

} // namespace

std::string configmanager::SaveLimitProblem() {
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
            return "Каналы \"" + it->second->Name + "\" и \"" + p->Name + "\" занимают один адрес " +
                   address + "; конфигурация не может быть сохранена.";
    }
    return {};
}

bool configmanager::SaveDatabase(const std::string& path) {
    LastError = SaveLimitProblem();
    if (!LastError.empty())
        return false;
    // The base goes to the replacer's temporary and replaces the file only when it closed cleanly;
    // a file the user may not write is refused there, with the reason.
    const TReplaceResult result = ReplaceFile(path, [this](const std::string& temp) {
        return WriteFile(temp) && BaseFileState(temp.c_str()) == LOR_OK;
    });
    if (!result && LastError.empty())
        LastError = WriteFailureText(path, result.Error);
    return bool(result);
}

// Writes the configuration as a new base at the native path.
bool configmanager::WriteFile(const std::string& nativePath) {
    LORHANDLE base = OpenBase(nativePath.c_str(), kSavePageSize, 0);
    if (!IsBaseHandle(base))
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
            ainfo.rec.Dat[kActionsInfoFlags] = a->Flags == kActionAutostart ? kActionsInfoAutostart : 0;
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
                            (p->ChangeHandler ? kParamFlagChangeHandler : 0) |
                            (p->RamDepth ? kParamFlagRamDepth : 0);
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
