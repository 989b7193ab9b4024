// The program's start.
#include "Uprogram.h"

#include <mutex>

#include "Conjoinhost.h"
#include "Dockform.h"
#include "Uind570mp3.h"
#include "Umain.h"
#include "Ueditorkit.h"
#include "Unewparam.h"
#include "Uschedule.h"
#include "bmrzregister.h"
#include "boundary.h"
#include "deviceeditors.h"
#include "ioregister.h"
#include "meterregister.h"
#include "qbxregister.h"
#include "relayregister.h"

void RegisterAllDevices() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterQbxDevices();
        RegisterMeterDevices();
        RegisterRelayDevices();
        RegisterBmrzDevices();
        RegisterIoDevices();
    });
}

namespace {

// The device objects' schedule and indicator editors are the two forms behind their globals.
void RegisterDeviceEditors() {
    dev::SetDeviceEditorOpener(dev::DeviceEditor::Schedule, [](const dev::DeviceEditorRequest& r) {
        if (!frmSchedule)
            return;
        frmSchedule->Channels = r.Channels;
        frmSchedule->ShowModal();
    });
    dev::SetDeviceEditorOpener(dev::DeviceEditor::Indicator, [](const dev::DeviceEditorRequest& r) {
        if (!frmInd570mp3)
            return;
        frmInd570mp3->Channels = r.Channels;
        frmInd570mp3->ObjectNumber = r.ObjectNumber;
        frmInd570mp3->ShowModal();
    });
}

} // namespace

void CreateProgramForms() {
    Application->CreateForm(MainForm);
    Application->CreateForm(fmNewParam);
    Application->CreateForm(frmSchedule);
    Application->CreateForm(frmInd570mp3);
    Application->CreateForm(ConjoinDockHost);
    Application->CreateForm(DockableForm);
    RegisterDeviceEditors();
    InstallEditorKit();
}

int RunProgram(const std::function<void()>& start) {
    const bool ran = RunGuarded(Application, [&] {
        Application->Initialize();
        start();
        Application->Run();
    });
    return ran ? 0 : 1;
}
