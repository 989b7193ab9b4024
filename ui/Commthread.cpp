// The reader thread of the serial receiver.
#include "Commthread.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace {
void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
} // namespace

CommThread::CommThread(HANDLE port) : FPort(port) {}

CommThread::~CommThread() {
    Terminate();
    if (!Suspended())
        WaitFor();
}

void CommThread::ClearRts() { EscapeCommFunction(FPort, CLRRTS); }

bool CommThread::Purge() {
    PurgeComm(FPort, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    DWORD errors = 0;
    COMSTAT status = {};
    return ClearCommError(FPort, &errors, &status);
}

bool CommThread::Failed(DWORD code) {
    FLastError = code;
    // A failure that repeats is reported once: a wait failing in a loop would flood the log.
    if (code != FLastReported && OnError)
        OnError(code);
    FLastReported = code;
    return CommDeviceGone(code);
}

int CommThread::ReadAvailable() {
    DWORD errors = 0;
    COMSTAT status = {};
    if (!ClearCommError(FPort, &errors, &status)) {
        Failed(GetLastError());
        return 0;
    }
    FLastError = errors;
    DWORD want = std::min<DWORD>(status.cbInQue, kCommFrameSize);
    if (want == 0)
        return 0;
    DWORD got = 0;
    if (!ReadComm(FPort, FRead, want, &got)) {
        Failed(GetLastError());
        return 0;
    }
    return static_cast<int>(got);
}

void CommThread::Deliver(bool frameEnd) {
    if (OnReceive)
        OnReceive(FFrame, FGathered);
    if (frameEnd && OnFrameEnd)
        OnFrameEnd(FFrame, FGathered);
}

void CommThread::Execute() {
    Pause(StartPause);
    FRunning = true;
    ClearRts();
    FGathered = 0;
    bool gathered = false;
    while (!Terminated()) {
        DWORD events = 0;
        if (!WaitCommEvent(FPort, &events)) {
            DWORD code = GetLastError();
            if (Terminated())
                break;
            bool gone = Failed(code);
            Purge();
            FGathered = 0;
            if (gone) {
                if (OnSignal)
                    OnSignal();
                break;
            }
            Pause(ErrorPause);
            continue;
        }
        FLastReported = 0;
        if (events & EV_TXEMPTY) {
            Pause(TxEmptyPause);
            ClearRts();
        }
        if (!(events & EV_RXCHAR))
            continue;
        for (;;) {
            int n = ReadAvailable();
            if (n == 0)
                break;
            if (FGathered + n > kCommFrameSize) {
                Deliver(false);
                FGathered = 0;
            }
            std::memcpy(FFrame + FGathered, FRead, static_cast<size_t>(n));
            FGathered += n;
            Pause(ChunkPause);
            gathered = true;
        }
        if (gathered) {
            gathered = false;
            Deliver(true);
            FGathered = 0;
        }
    }
    FRunning = false;
}
