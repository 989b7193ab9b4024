// The settings file: the subprogram templates of [DefaultActions] and the window's [Window] values,
// read at start-up and written at shut-down. User-interface layer.
#pragma once

#include <optional>
#include <string>
#include <vector>

class TCustomIniFile;

struct TDefaultActTemplate {
    std::string Name;
    std::string File; // relative to the plug-in folder
    int Id = 0;
};

// Entries without a comma, whose Count is not a decimal integer or whose id is not one of 0..65535
// are skipped. Only the
// "id<n>" keys the section holds are read, however large Count is.
std::vector<TDefaultActTemplate> ReadDefaultActions(TCustomIniFile* ini);

inline constexpr int kViewSwitchCount = 5; // p1Visible .. p5Visible

// [Window] as read: a key that is absent, empty or not a decimal integer stays unset.
struct TWindowSettings {
    std::optional<int> Left, Top, Width, Height, WindowState;
    std::optional<int> PC1Width, PC2Width, PC3Width;
    std::optional<int> Visible[kViewSwitchCount];
};
TWindowSettings ReadWindowSettings(TCustomIniFile* ini);

// [Window] as written; the geometry only for a normal window (state 0).
struct TWindowValues {
    int Left = 0, Top = 0, Width = 0, Height = 0, WindowState = 0;
    int PC1Width = 0, PC2Width = 0, PC3Width = 0;
    bool Visible[kViewSwitchCount] = {};
};
void WriteWindowSettings(TCustomIniFile* ini, const TWindowValues& v);

// Where the settings are read and written: the program's own path with ".ini" when its folder
// takes new files; otherwise the same-named file in the user's configuration folder is written, and
// read when it exists (else the file beside the program is read). Without the program's path (unknown,
// or refused for a name Windows-1251 cannot hold) both are "qbxconf.ini" in the user's folder.
inline constexpr const char* kUnnamedSettings = "qbxconf.ini";
struct TSettingsPaths {
    std::string Read, Write;
};
TSettingsPaths SettingsPaths(const std::string& exeName);
