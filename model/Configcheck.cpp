// Subprogram services of the configuration manager, the version checks and the export for the
// supervisory product. Configuration model layer.
#include <vector>

#include "Configmanager.h"
#include "Storewalk.h"
#include "actions.h"
#include "inifiles.h"
#include "replacefile.h"
#include "sysutils.h"

T_Action* configmanager::CreateSubprogram(const std::string& name) { return Actions->CreateAction(name); }
T_Action* configmanager::CreateSubprogramWithId(uint16_t id) { return Actions->CreateActionWithId(id); }

void configmanager::DeleteSubprogram(T_Action* action) {
    Actions->DeleteAction(action);
    if (action == Current)
        Current = nullptr;
}

std::string configmanager::GetSubprogramName(uint16_t id) { return Actions->DisplayName(id); }
bool configmanager::IsSubprogramDefined(uint16_t id) { return Actions->IsDefined(id); }

std::vector<TSubprogramTab> configmanager::SubprogramTabs(int& selected) {
    std::vector<TSubprogramTab> tabs;
    selected = -1;
    for (T_Action* a : AllSubprograms(Actions)) {
        std::string id = IntToStr(a->Id());
        std::string hint = a->Caption.empty() ? "Подпрограмма " + id : a->Caption + " (" + id + ")";
        if (a == Current)
            selected = static_cast<int>(tabs.size());
        tabs.push_back({a->Name(), hint});
    }
    return tabs;
}

void configmanager::SelectSubprogram(TStrings* lines, const std::string& name) {
    ActionFilter filter;
    filter.Flags = ActionFilter::ByName;
    filter.Name = name;
    T_Action* found = Actions->FindFirst(filter);
    if (!found)
        return;
    // The editor's change events apply to the current subprogram: none while the text is replaced.
    Current = nullptr;
    lines->Clear();
    if (found->Instructions.empty())
        lines->Add("");
    else
        for (int i = 0; i < static_cast<int>(found->Instructions.size()); ++i)
            lines->Add(found->InstructionText(i));
    Current = found;
}

void configmanager::CheckDbVersion(TStrings* strings) {
    strings->Clear();
    if (VersionWord() == kNoVersionWord)
        strings->Add("Версия файла неверная или отсутвует.");
}

void configmanager::CheckFileVersions(TStrings* strings) {
    strings->Clear();
    if (VersionWord() < kCurrentVersionWord)
        strings->Add("Файл создан при помощи старой версии конфигуратора (" + IntToStr(VersionMajor) + "." +
                     IntToStr(VersionMinor) + ")." + " Для редактирования используйте закладку " +
                     "\"Управление каналами\".");
    else if (VersionWord() > 0xFFFE)
        strings->Add("Неизвестная версия файла конфигурации.");
    for (T_Action* a : AllSubprograms(Actions)) {
        uint16_t v = ReadScriptVersion(a, "");
        uint16_t c = a->Version;
        if (v != 0 && v > c)
            strings->Add("Подпрограмма \"" + a->Caption + "\" (" + a->Name() + " - вер." + IntToStr(c / 256) +
                         "." + IntToStr(c % 256) + ")  устарела - новая версия " + IntToStr(v / 256) + "." +
                         IntToStr(v % 256));
    }
}

bool configmanager::ExportScadaConfig(const std::string& path) {
    LastError.clear();
    try {
        // Built in memory and written once (atomically) at the end; nothing of an older file stays.
        TMemIniFile ini(path);
        TStringList old;
        ini.ReadSections(&old);
        for (int i = 0; i < old.Count(); ++i)
            ini.EraseSection(old.Strings(i));
        ini.WriteString("config", "version", "2.12.09.05");
        ini.WriteInteger("config", "objects", static_cast<int>(Objects.Count));
        int n = 0;
        TStringList values;
        TStringList fields;
        for (ELEM* e = Objects.Oldest; e; e = e->Newer) {
            auto* o = static_cast<TObjectItem*>(e);
            std::string s = Trim(o->DisplayType + " " + o->GetDisplayName());
            ini.WriteString("objects", IntToStr(++n), s);
            ini.WriteString(s, "name", s);
            o->GetExportValues(&values);
            for (int i = 0; i < values.Count(); ++i) {
                fields.SetCommaText(values.Strings(i));
                if (fields.Count() != 2)
                    continue;
                ini.WriteString(s, fields.Strings(0), fields.Strings(1));
                if (o->DisplayType == "QBX-510")
                    ini.WriteString("config", fields.Strings(0), fields.Strings(1));
            }
        }
        int k = 0;
        const struct {
            uint16_t Type;
            const char* Key;
        } groups[3] = {{1, "discret_channels"}, {2, "analog_channels"}, {3, "analog_multi_channels"}};
        for (const auto& g : groups) {
            ELEMList list;
            GetChannelsOfType(&list, g.Type);
            ini.WriteInteger("config", g.Key, static_cast<int>(list.Count));
            // Ascending index runs from the newest end.
            for (ELEM* pe = list.Newest; pe; pe = pe->Older) {
                TParamItem* p = static_cast<TParamItemP*>(pe)->Item;
                std::string t = "channel " + IntToStr(g.Type) + ":" + IntToStr(p->ChannelIndex);
                ini.WriteString("channels", IntToStr(++k), t);
                ini.WriteInteger(t, "type", p->ParamType);
                ini.WriteInteger(t, "len", p->BitWidth());
                if (g.Type != 2 || !p->Owner)
                    continue;
                std::string multiplier;
                p->Owner->FormatParamValue(p, multiplier);
                ini.WriteString(t, "const_multiplier", multiplier);
                int m = p->Owner->GetSetpointCount(p);
                if (m > 0 && p->WriteHandler != 0) {
                    std::string points = t + " points";
                    ini.WriteString(t, "set_points", points);
                    for (int j = 1; j <= m; ++j) {
                        std::string text;
                        p->Owner->GetSetpointValueText(p, j - 1, text);
                        ini.WriteString(points, IntToStr(j), text);
                    }
                }
            }
            while (ELEM* pe = list.Newest) {
                list.Remove(pe);
                delete static_cast<TParamItemP*>(pe);
            }
        }
        ini.UpdateFile();
    } catch (const EIniFileException& ex) {
        LastError = WriteFailureText(path, ex.ErrorCode);
        return false;
    } catch (const std::exception& ex) {
        LastError = ex.what();
        return false;
    }
    return true;
}
