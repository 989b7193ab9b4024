// The serial port receiver over the platform's serial port.
#include "Commport.h"

#include "sysutils.h"

CommPort::CommPort() = default;

CommPort::~CommPort() {
    if (IsOpen())
        Close();
}

void CommPort::SetPortName(const std::string& name) {
    if (!IsOpen())
        FName = name;
}

void CommPort::SetBaudRate(DWORD rate) {
    FBaudRate = rate;
    if (IsOpen()) {
        FDcb.BaudRate = rate;
        SetCommState(FHandle, &FDcb);
    }
}

bool CommPort::Open() {
    FHandle = OpenComm(FName);
    if (FHandle == INVALID_HANDLE_VALUE)
        return false;
    FEventMask = kCommEventMask;
    SetCommMask(FHandle, FEventMask);
    FDcb = {};
    FDcb.DCBlength = sizeof(DCB);
    GetCommState(FHandle, &FDcb);
    FDcb.DCBlength = sizeof(DCB);
    FDcb.BaudRate = FBaudRate;
    FDcb.fBinary = 1;
    FDcb.fParity = 0;
    FDcb.fOutxCtsFlow = 0;
    FDcb.fOutxDsrFlow = 0;
    FDcb.fDtrControl = DTR_CONTROL_ENABLE;
    FDcb.fDsrSensitivity = 0;
    FDcb.fTXContinueOnXoff = 1;
    FDcb.fOutX = 0;
    FDcb.fInX = 0;
    FDcb.fErrorChar = 0;
    FDcb.fNull = 0;
    FDcb.fRtsControl = RTS_CONTROL_ENABLE;
    FDcb.fAbortOnError = 0;
    FDcb.ByteSize = 8;
    FDcb.Parity = NOPARITY;
    FDcb.StopBits = ONESTOPBIT;
    FDcb.XonChar = 0x11;
    FDcb.XoffChar = 0x13;
    if (!SetCommState(FHandle, &FDcb)) {
        // An open port nobody reads from looked open but received nothing: close it and say why.
        ReportError(GetLastError());
        CloseComm(FHandle);
        FHandle = INVALID_HANDLE_VALUE;
        return false;
    }
    FThread = std::make_unique<CommThread>(FHandle);
    FThread->StartPause = StartPause;
    FThread->ChunkPause = ChunkPause;
    FThread->ErrorPause = ErrorPause;
    FThread->OnReceive = [this](const uint8_t* d, int n) {
        if (OnReceive)
            OnReceive(d, n);
    };
    FThread->OnError = [this](DWORD code) { ReportError(code); };
    FThread->OnSignal = [this] {
        if (OnSignal)
            OnSignal();
    };
    FThread->OnLineStatus = [this] { UpdateLineStatus(); };
    FThread->OnValue1 = [this](DWORD v) {
        if (OnValue1)
            OnValue1(v);
    };
    FThread->OnValue2 = [this](DWORD v) {
        if (OnValue2)
            OnValue2(v);
    };
    FThread->OnFrameEnd = [this](const uint8_t* d, int n) {
        if (OnFrameEnd)
            OnFrameEnd(d, n);
    };
    FThread->OnValue3 = [this](DWORD v) {
        if (OnValue3)
            OnValue3(v);
    };
    FThread->Start();
    return true;
}

bool CommPort::Close() {
    if (FThread)
        FThread->Terminate();
    SetCommMask(FHandle, 0);
    PurgeComm(FHandle, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    if (FThread) {
        FThread->WaitFor();
        FThread.reset();
    }
    if (!CloseComm(FHandle)) {
        ReportError(GetLastError());
        return false;
    }
    FHandle = INVALID_HANDLE_VALUE;
    return true;
}

void CommPort::ReportError(DWORD code) {
    if (!OnError)
        return;
    std::string text = SysErrorMessage(code);
    if (text.empty())
        return;
    OnError(Format("%s - ошибка %d - %s", FName, static_cast<int>(code), text));
}

void CommPort::UpdateLineStatus() {
    DWORD errors = 0;
    ClearCommError(FHandle, &errors, &FLineStatus);
}

std::vector<std::string> PresentPorts() { return ListCommDevices(); }
