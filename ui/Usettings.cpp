// The settings file.
#include "Usettings.h"

#include <algorithm>
#include <cstdlib>

#include "cp1251.h"
#include "inifiles.h"
#include "replacefile.h"
#include "sysutils.h"

namespace {

const char* const kActions = "DefaultActions";
const char* const kWindow = "Window";
const char* const kSwitchKeys[kViewSwitchCount] = {"p1Visible", "p2Visible", "p3Visible", "p4Visible",
                                                   "p5Visible"};

std::optional<int> ReadInt(TCustomIniFile* ini, const char* section, const std::string& key) {
    std::string text = ini->ReadString(section, key, "");
    int v = 0;
    if (text.empty() || !TryStrToInt(text, v))
        return std::nullopt;
    return v;
}

// The numbers n of the keys "id<n>" that the section holds, from 1 to count, in ascending order:
// the walk over the entries is as long as the section, whatever Count says.
std::vector<int> EntryNumbers(TCustomIniFile* ini, int count) {
    TStringList keys;
    ini->ReadSection(kActions, &keys);
    std::vector<int> numbers;
    for (int k = 0; k < keys.Count(); ++k) {
        const std::string& key = keys[k];
        int n = 0;
        if (key.size() > 2 && AnsiSameText(key.substr(0, 2), "id") && TryStrToInt(key.substr(2), n) &&
            n >= 1 && n <= count && IntToStr(n) == key.substr(2))
            numbers.push_back(n);
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

// A settings file a Linux editor saved is UTF-8: its names come into memory as Windows-1251, as all
// text is. Cyrillic in Windows-1251 is never well-formed UTF-8, so such a file reads as before; the
// file itself is left as it is (the window's values the program writes back are ASCII either way).
std::unique_ptr<TMemIniFile> ReadSettingsFile(const std::string& path) {
    auto ini = std::make_unique<TMemIniFile>(path);
    TStringList lines;
    ini->GetStrings(&lines);
    std::string text = lines.Text();
    const bool bom = text.starts_with("\xEF\xBB\xBF");
    const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return (unsigned char)c < 0x80; });
    if ((ascii && !bom) || !IsWellFormedUtf8(text))
        return ini;
    lines.SetText(Utf8ToCp1251(std::string_view(text).substr(bom ? 3 : 0)));
    ini->SetStrings(&lines);
    return ini;
}

std::string UserConfigFolder() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        return std::string(xdg) + "/qbxconf/";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.config/qbxconf/";
}

} // namespace

std::vector<TDefaultActTemplate> ReadDefaultActions(TCustomIniFile* ini) {
    std::vector<TDefaultActTemplate> out;
    std::optional<int> count = ReadInt(ini, kActions, "Count");
    if (!count || *count < 1)
        return out;
    for (int i : EntryNumbers(ini, *count)) {
        std::string value = ini->ReadString(kActions, "id" + IntToStr(i), "");
        size_t comma = value.find(',');
        if (comma == std::string::npos)
            continue;
        TDefaultActTemplate t;
        t.Name = value.substr(0, comma);
        std::string rest = value.substr(comma + 1);
        std::string idText = rest;
        if (size_t second = rest.find(','); second != std::string::npos) {
            t.File = rest.substr(0, second);
            idText = rest.substr(second + 1);
        }
        // A subprogram id is 16 bits: a larger one would name another subprogram.
        if (!TryStrToInt(idText, t.Id) || t.Id < 0 || t.Id > 0xFFFF)
            continue;
        out.push_back(t);
    }
    return out;
}

TWindowSettings ReadWindowSettings(TCustomIniFile* ini) {
    TWindowSettings s;
    s.Left = ReadInt(ini, kWindow, "Left");
    s.Top = ReadInt(ini, kWindow, "Top");
    s.Width = ReadInt(ini, kWindow, "Width");
    s.Height = ReadInt(ini, kWindow, "Height");
    s.WindowState = ReadInt(ini, kWindow, "WindowState");
    s.PC1Width = ReadInt(ini, kWindow, "PC1Width");
    s.PC2Width = ReadInt(ini, kWindow, "PC2Width");
    s.PC3Width = ReadInt(ini, kWindow, "PC3Width");
    for (int i = 0; i < kViewSwitchCount; ++i)
        s.Visible[i] = ReadInt(ini, kWindow, kSwitchKeys[i]);
    return s;
}

void WriteWindowSettings(TCustomIniFile* ini, const TWindowValues& v) {
    ini->WriteString(kWindow, "WindowState", IntToStr(v.WindowState));
    if (v.WindowState == 0) {
        ini->WriteString(kWindow, "Left", IntToStr(v.Left));
        ini->WriteString(kWindow, "Top", IntToStr(v.Top));
        ini->WriteString(kWindow, "Width", IntToStr(v.Width));
        ini->WriteString(kWindow, "Height", IntToStr(v.Height));
    }
    ini->WriteString(kWindow, "PC3Width", IntToStr(v.PC3Width));
    ini->WriteString(kWindow, "PC2Width", IntToStr(v.PC2Width));
    ini->WriteString(kWindow, "PC1Width", IntToStr(v.PC1Width));
    for (int i = 0; i < kViewSwitchCount; ++i)
        ini->WriteString(kWindow, kSwitchKeys[i], v.Visible[i] ? "1" : "0");
}

TSettingsPaths SettingsPaths(const std::string& exeName) {
    if (exeName.empty())
        return {"", UserConfigFolder() + kUnnamedSettings};
    std::string beside = ChangeFileExt(exeName, ".ini");
    std::string folder = ExtractFilePath(beside);
    if (FileSystem().MayWrite(NativePath(folder.empty() ? "." : folder)))
        return {"", beside};
    return {beside, UserConfigFolder() + ExtractFileName(beside)};
}

std::unique_ptr<TCustomIniFile> ReadSettingsFiles(const TSettingsPaths& paths) {
    std::unique_ptr<TMemIniFile> merged =
        ReadSettingsFile(paths.Installed.empty() ? paths.User : paths.Installed);
    if (paths.Installed.empty())
        return merged;
    const std::unique_ptr<TMemIniFile> user = ReadSettingsFile(paths.User);
    TStringList sections, keys;
    user->ReadSections(&sections);
    for (int i = 0; i < sections.Count(); ++i) {
        const std::string& section = sections[i];
        if (AnsiSameText(section, kActions))
            merged->EraseSection(kActions);
        user->ReadSection(section, &keys);
        for (int k = 0; k < keys.Count(); ++k)
            merged->WriteString(section, keys[k], user->ReadString(section, keys[k], ""));
    }
    return merged;
}
