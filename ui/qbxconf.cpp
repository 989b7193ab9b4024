// The program qbxconf: the configurator of the QBX-510 data concentrator. It reads no arguments.
#include "Uprogram.h"
#include "forms.h"

int main() {
    try {
        Application->Initialize();
        RegisterAllDevices();
        CreateProgramForms();
        Application->Run();
    } catch (Exception& e) {
        Application->ShowException(&e);
    }
    return 0;
}
