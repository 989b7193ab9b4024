// The main window under AddressSanitizer and UBSan: made, shown and closed as the program runs it,
// so that no handler of the window runs on a half-destroyed form while it goes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Umain.h"
#include "Uprogram.h"
#include "inifiles.h"
#include "tempfolder.h"

namespace {

TEST(MainWindowLife, OpensAndClosesAsTheProgramDoesWithASettingsFile) {
    testsupport::TempFolder dir;
    const std::string settings = dir.File("qbxconf.ini");
    std::ofstream(settings) << "[DefaultActions]\nCount=3\nid1=A,a.act,1\nid2=nocomma\nid3=C,7\n";
    TMainForm::SettingsPathOverride = settings;
    Application->Initialize();
    RegisterAllDevices();
    CreateProgramForms();
    ASSERT_EQ(MainForm->N5->Count(), 2);

    // The user closes the window once it is up; the program's end takes every form down.
    PostMessage(MainForm->Handle(), WM_CLOSE, 0, 0);
    Application->Run();

    EXPECT_EQ(MainForm, nullptr);
    EXPECT_EQ(Application->ComponentCount(), 0);
    TIniFile written(settings);
    EXPECT_EQ(written.ReadString("Window", "WindowState", ""), "0");
    TMainForm::SettingsPathOverride.clear();
}

} // namespace
