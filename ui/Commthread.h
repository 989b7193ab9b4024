// The serial receiver's reader thread: waits on the port's events, gathers what arrives without a
// pause into frames of at most 1024 bytes and hands them on. User-interface layer (beside the GUI).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "classes.h"
#include "serial.h"

inline constexpr int kCommFrameSize = 1024;
inline constexpr DWORD kCommEventMask = 0x13D; // RXCHAR, TXEMPTY, CTS, DSR, RLSD, ERR

using TCommDataEvent = std::function<void(const uint8_t* Data, int Length)>;
using TCommCodeEvent = std::function<void(DWORD Code)>;
using TCommSignalEvent = std::function<void()>;
using TCommValueEvent = std::function<void(DWORD Value)>;

class CommThread : public TThread {
public:
    // The handle stays the port's: the thread never closes it.
    explicit CommThread(HANDLE port);
    ~CommThread() override;

    // Bound before Start; raised on this thread. The bytes are valid during the call only.
    TCommDataEvent OnReceive;
    TCommCodeEvent OnError;
    TCommSignalEvent OnSignal; // the reader ended because the device went away
    TCommSignalEvent OnLineStatus;
    TCommValueEvent OnValue1, OnValue2, OnValue3;
    TCommDataEvent OnFrameEnd;

    // Bytes read into the read buffer; 0 when nothing was queued or the read failed.
    int ReadAvailable();
    // Discards both directions and clears the error state; false when the latter failed.
    bool Purge();
    void ClearRts();
    bool Running() const { return FRunning; }
    DWORD LastError() const { return FLastError; }

    // Pauses of the loop in milliseconds; tests shorten them.
    int StartPause = 100, TxEmptyPause = 35, ChunkPause = 50, ErrorPause = 100;

protected:
    void Execute() override;

private:
    // Reports a failure once per distinct code in a row; true when the device is gone.
    bool Failed(DWORD code);
    void Deliver(bool frameEnd);

    uint8_t FFrame[kCommFrameSize] = {};
    uint8_t FRead[kCommFrameSize] = {};
    int FGathered = 0;
    DWORD FLastError = 0;
    DWORD FLastReported = 0;
    HANDLE FPort;
    std::atomic<bool> FRunning{false};
};
