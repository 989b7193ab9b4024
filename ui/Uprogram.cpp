// The program's start.
#include "Uprogram.h"

#include <mutex>

#include "Conjoinhost.h"
#include "Dockform.h"
#include "Uind570mp3.h"
#include "Umain.h"
#include "Unewparam.h"
#include "Uschedule.h"
#include "bmrzregister.h"
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

void CreateProgramForms() {
    Application->CreateForm(MainForm);
    Application->CreateForm(fmNewParam);
    Application->CreateForm(frmSchedule);
    Application->CreateForm(frmInd570mp3);
    Application->CreateForm(ConjoinDockHost);
    Application->CreateForm(DockableForm);
}
