// The settings file: the subprogram templates of [DefaultActions] and the window's [Window] values,
// read at start-up and written at shut-down. User-interface layer.
#pragma once

#include <memory>
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

// Where the settings live. The user's file is read and written: the program's own path with ".ini"
// when its folder takes new files; otherwise the same-named file in the user's configuration folder,
// and then the installed file beside the program is read under it, so that what an installation
// ships (its templates) stays offered. Without the program's path (unknown, or refused for a name
// Windows-1251 cannot hold) the user's file is "qbxconf.ini" in the user's folder and there is no
// installed one.
inline constexpr const char* kUnnamedSettings = "qbxconf.ini";
struct TSettingsPaths {
    std::string Installed; // empty when none is read beside the user's
    std::string User;
};
TSettingsPaths SettingsPaths(const std::string& exeName);

// The settings as read: the installed file's values with the user's file over them, key by key. The
// templates are one numbered list, so a [DefaultActions] section in the user's file replaces the
// installed list whole. Only read from: the result is never written.
std::unique_ptr<TCustomIniFile> ReadSettingsFiles(const TSettingsPaths& paths);
