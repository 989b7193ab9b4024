// The serial port receiver: opens one port for receiving and runs its reader thread; frames and error
// texts reach the host through bound events. User-interface layer (beside the GUI).
#pragma once

#include <memory>
#include <string>

#include "Commthread.h"

using TCommTextEvent = std::function<void(const std::string& Text)>;

class CommPort {
public:
    CommPort();
    ~CommPort(); // closes an open port
    CommPort(const CommPort&) = delete;
    CommPort& operator=(const CommPort&) = delete;

    // Raised on the reader thread (OnError also on the thread that calls Close).
    TCommDataEvent OnReceive;
    TCommDataEvent OnFrameEnd;
    TCommTextEvent OnError;
    TCommSignalEvent OnSignal; // the reader ended: the device went away
    std::function<void(bool)> OnRlsd, OnDsr, OnCts;
    TCommValueEvent OnValue1, OnValue2, OnValue3;

    // Ignored while the port is open.
    void SetPortName(const std::string& name);
    const std::string& PortName() const { return FName; }
    // Stored; while open also applied at once.
    void SetBaudRate(DWORD rate);
    DWORD GetBaudRate() const { return FBaudRate; }

    // True when the port is open and its reader runs. A port that cannot be opened stays closed
    // silently; one whose settings cannot be applied is closed again and reported through OnError.
    bool Open();
    // True when the handle was closed; a failure is reported and the handle kept.
    bool Close();
    bool IsOpen() const { return FHandle != INVALID_HANDLE_VALUE; }
    // Forms "<port> - ошибка <code> - <text>" and raises OnError; nothing for a code without text.
    void ReportError(DWORD code);
    void UpdateLineStatus();

    // Tests shorten the reader's pauses before Open.
    int ChunkPause = 50, StartPause = 100, ErrorPause = 100;

private:
    DWORD FEventMask = 0;
    COMSTAT FLineStatus = {};
    DCB FDcb = {};
    std::unique_ptr<CommThread> FThread;
    HANDLE FHandle = INVALID_HANDLE_VALUE;
    std::string FName;
    DWORD FBaudRate = 0;
};

// The serial devices present, as the port list offers them.
std::vector<std::string> PresentPorts();
