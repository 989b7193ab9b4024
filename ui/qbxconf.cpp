// The program qbxconf: the configurator of the QBX-510 data concentrator. It reads no arguments.
#include "Uprogram.h"

int main() {
    return RunProgram([] {
        RegisterAllDevices();
        CreateProgramForms();
    });
}
