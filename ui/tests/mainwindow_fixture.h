// The main window as the program makes it, for the window's tests: a settings file and a plug-in
// folder of their own, the dialog service answered by the test's Dialogs, every form freed after.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "Devicetypes.h"
#include "Umain.h"
#include "actions.h"
#include "dialogs.h"
#include "tempfolder.h"

template <class Dialogs> class TMainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        RegisterAllDevices();
        TMainForm::SettingsPathOverride = dir.File("qbxconf.ini");
        std::filesystem::create_directories(dir.File("plugin"));
        SetPluginFolder(dir.File("plugin/"));
        old = SetDialogService(&dialogs);
        CreateProgramForms();
        m = MainForm;
    }
    void TearDown() override {
        for (int i = Application->ComponentCount() - 1; i >= 0;
             i = std::min(i - 1, Application->ComponentCount() - 1))
            if (auto* f = dynamic_cast<TCustomForm*>(Application->Components(i))) {
                f->BeforeDestruction();
                delete f;
            }
        Application->ProcessMessages();
        SetDialogService(old);
        SetPluginFolder("");
        TMainForm::SettingsPathOverride.clear();
    }

    // The main window shown at the size it first opens with on a desktop.
    void ShowAtDefaultSize() {
        m->SetBounds(0, 0, 1051, 753);
        m->Show();
    }

    testsupport::TempFolder dir;
    Dialogs dialogs;
    TDialogService* old = nullptr;
    TMainForm* m = nullptr;
};
