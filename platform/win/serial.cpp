// Beside-the-GUI platform layer: the Win32 communication calls over termios. Every blocking call
// polls the device together with event descriptors that CloseComm, SetCommMask and PurgeComm
// ring, so another thread can end it at once.
#include "serial.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "replacefile.h"
#include "sysutils.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr DWORD kLineEvents = EV_CTS | EV_DSR | EV_RLSD | EV_RING;
constexpr DWORD kErrorEvents = EV_ERR | EV_BREAK;
// Line changes, line errors and a draining output queue have no descriptor to wait on: while a
// wait wants one of them and the device can report it, the wait looks again this often.
constexpr int kTickMs = 50;

const struct {
    DWORD rate;
    speed_t code;
} kSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

bool SpeedCode(DWORD rate, speed_t& code) {
    for (const auto& s : kSpeeds)
        if (s.rate == rate) {
            code = s.code;
            return true;
        }
    return false;
}

DWORD SpeedRate(speed_t code) {
    for (const auto& s : kSpeeds)
        if (s.code == code)
            return s.rate;
    return 0;
}

// A modem-line or break request the device has no driver support for (a pseudo-terminal).
bool Unsupported(int err) { return err == ENOTTY || err == EINVAL || err == ENOSYS || err == EOPNOTSUPP; }

BOOL Fail(int err) {
    SetLastError(DWORD(err));
    return FALSE;
}

void Ring(int fd) {
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(fd, &one, sizeof one);
}

void Drain(int fd) {
    uint64_t v;
    [[maybe_unused]] ssize_t n = ::read(fd, &v, sizeof v);
}

struct Port {
    int fd = -1;
    // Rung once by CloseComm and never drained: every later wait ends at once.
    int closeBell = -1;
    // Rung by SetCommMask, PurgeComm's aborts; each drained only by its one waiter, and only
    // when the generation shows the ring is older than the wait.
    int maskBell = -1;
    int rxBell = -1;
    int txBell = -1;

    std::mutex m;
    std::condition_variable idle;
    int users = 0;
    bool closed = false;
    bool waiting = false;
    bool reading = false;
    DCB dcb{};
    COMMTIMEOUTS timeouts{};
    DWORD mask = 0;
    uint64_t maskGen = 0, rxGen = 0, txGen = 0;
    bool txPending = false;
    bool hasModem = false;
    int modem = 0;
    bool hasCounters = false;
    serial_icounter_struct counters{};
    DWORD errors = 0;

    ~Port() {
        for (int f : {fd, closeBell, maskBell, rxBell, txBell})
            if (f >= 0)
                ::close(f);
    }

    // Folds the line errors and breaks the device counted since the last look into errors;
    // returns the events the new ones stand for. Caller holds m.
    DWORD TakeCounters() {
        static const struct {
            int serial_icounter_struct::*count;
            DWORD error;
        } kinds[] = {
            {&serial_icounter_struct::frame, CE_FRAME},     {&serial_icounter_struct::parity, CE_RXPARITY},
            {&serial_icounter_struct::overrun, CE_OVERRUN}, {&serial_icounter_struct::buf_overrun, CE_RXOVER},
            {&serial_icounter_struct::brk, CE_BREAK},
        };
        serial_icounter_struct now{};
        if (!hasCounters || ::ioctl(fd, TIOCGICOUNT, &now) != 0)
            return 0;
        DWORD fresh = 0;
        for (const auto& k : kinds)
            if (now.*k.count != counters.*k.count)
                fresh |= k.error;
        counters = now;
        errors |= fresh;
        return (fresh & ~DWORD(CE_BREAK) ? DWORD(EV_ERR) : 0u) | (fresh & CE_BREAK ? DWORD(EV_BREAK) : 0u);
    }

    // The modem lines that changed since the last look, as events. Caller holds m.
    DWORD TakeLines() {
        int now = 0;
        if (!hasModem || ::ioctl(fd, TIOCMGET, &now) != 0)
            return 0;
        const int changed = now ^ modem;
        modem = now;
        DWORD ev = 0;
        if (changed & TIOCM_CTS)
            ev |= EV_CTS;
        if (changed & TIOCM_DSR)
            ev |= EV_DSR;
        if (changed & TIOCM_CAR)
            ev |= EV_RLSD;
        if ((changed & TIOCM_RNG) && !(now & TIOCM_RNG))
            ev |= EV_RING;
        return ev;
    }
};

std::mutex tableMutex;
std::map<HANDLE, std::shared_ptr<Port>> table;
HANDLE nextHandle = 1;

// The port of a handle for the length of one call; CloseComm waits until every use has ended.
class Use {
public:
    explicit Use(HANDLE h) {
        std::lock_guard lock(tableMutex);
        auto it = table.find(h);
        if (it == table.end()) {
            SetLastError(EBADF);
            return;
        }
        port_ = it->second;
        std::lock_guard pl(port_->m);
        ++port_->users;
    }
    ~Use() {
        if (!port_)
            return;
        std::lock_guard pl(port_->m);
        if (--port_->users == 0)
            port_->idle.notify_all();
    }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;
    Port* operator->() const { return port_.get(); }
    Port* get() const { return port_.get(); }
    explicit operator bool() const { return port_ != nullptr; }

private:
    std::shared_ptr<Port> port_;
};

// Sets or clears a modem line; a device without modem lines takes the request as done.
bool SetLine(int fd, int line, bool on) {
    if (::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0 || Unsupported(errno))
        return true;
    SetLastError(DWORD(errno));
    return false;
}

bool ValidDcb(const DCB& d) {
    speed_t code;
    return SpeedCode(d.BaudRate, code) && d.ByteSize >= 5 && d.ByteSize <= 8 && d.Parity <= SPACEPARITY &&
           d.StopBits <= TWOSTOPBITS;
}

// Raw termios settings for a DCB that ValidDcb accepted.
void DcbToTermios(const DCB& d, termios& t) {
    ::cfmakeraw(&t);
    t.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD;
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    t.c_cflag |= sizes[d.ByteSize - 5];
    switch (d.Parity) {
    case ODDPARITY: t.c_cflag |= PARENB | PARODD; break;
    case EVENPARITY: t.c_cflag |= PARENB; break;
    case MARKPARITY: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case SPACEPARITY: t.c_cflag |= PARENB | CMSPAR; break;
    default: break;
    }
    if (d.Parity != NOPARITY && d.fParity)
        t.c_iflag |= INPCK;
    if (d.StopBits != ONESTOPBIT)
        t.c_cflag |= CSTOPB;
    if (d.fOutxCtsFlow || d.fRtsControl == RTS_CONTROL_HANDSHAKE)
        t.c_cflag |= CRTSCTS;
    t.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY);
    if (d.fOutX)
        t.c_iflag |= IXON;
    if (d.fInX)
        t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = cc_t(d.XonChar);
    t.c_cc[VSTOP] = cc_t(d.XoffChar);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    speed_t code = B9600;
    SpeedCode(d.BaudRate, code);
    ::cfsetispeed(&t, code);
    ::cfsetospeed(&t, code);
}

// Waits for the descriptors (the device first) until the deadline (none when negative);
// returns the poll result with errno set on failure.
int PollUntil(pollfd* fds, int n, int timeoutMs) {
    for (;;) {
        int r = ::poll(fds, nfds_t(n), timeoutMs);
        if (r >= 0 || errno != EINTR)
            return r;
    }
}

int MsLeft(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : int(std::min<long long>(left, 1 << 30));
}

// Clears a flag of the port when a call that set it ends.
class Busy {
public:
    Busy(Port* p, bool Port::*flag) : p_(p), flag_(flag) {}
    ~Busy() {
        std::lock_guard lock(p_->m);
        p_->*flag_ = false;
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    Port* p_;
    bool Port::*flag_;
};

// One read or write under the port's timeouts (see ReadComm and WriteComm).
BOOL Transfer(HANDLE h, bool input, char* data, DWORD count, DWORD* done) {
    if (!done || (!data && count))
        return Fail(EINVAL);
    *done = 0;
    Use port(h);
    if (!port)
        return FALSE;
    COMMTIMEOUTS to;
    uint64_t gen;
    {
        std::lock_guard lock(port->m);
        if (input && port->reading)
            return Fail(EBUSY);
        to = port->timeouts;
        gen = input ? port->rxGen : port->txGen;
        if (input)
            port->reading = true;
    }
    std::optional<Busy> busy;
    if (input)
        busy.emplace(port.get(), &Port::reading);
    const int bell = input ? port->rxBell : port->txBell;
    const DWORD mult = input ? to.ReadTotalTimeoutMultiplier : to.WriteTotalTimeoutMultiplier;
    const DWORD constant = input ? to.ReadTotalTimeoutConstant : to.WriteTotalTimeoutConstant;
    const DWORD gap = input ? to.ReadIntervalTimeout : 0;
    const bool immediate = input && gap == MAXDWORD && mult == 0 && constant == 0;
    const bool firstByte =
        input && gap == MAXDWORD && mult == MAXDWORD && constant != 0 && constant != MAXDWORD;
    const bool bounded = !immediate && (mult != 0 || constant != 0);
    const uint64_t totalMs = firstByte ? constant : uint64_t(mult) * count + constant;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(totalMs);
    Clock::time_point lastByte{};
    bool hungUp = false;
    DWORD got = 0;
    while (got < count) {
        ssize_t n =
            input ? ::read(port->fd, data + got, count - got) : ::write(port->fd, data + got, count - got);
        if (n > 0) {
            got += DWORD(n);
            lastByte = Clock::now();
            if (firstByte)
                break;
            continue;
        }
        if (n == 0 || (n < 0 && errno == EAGAIN && hungUp)) {
            // A hung-up terminal reads as end of file; what came before it is delivered first.
            *done = got;
            return got ? TRUE : Fail(EIO);
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN) {
            *done = got;
            return Fail(errno);
        }
        if (immediate)
            break;
        int timeout = bounded ? MsLeft(deadline) : -1;
        if (gap != 0 && gap != MAXDWORD && got > 0) {
            const int g = MsLeft(lastByte + std::chrono::milliseconds(gap));
            timeout = timeout < 0 ? g : std::min(timeout, g);
        }
        if (timeout == 0)
            break;
        pollfd fds[3] = {
            {port->fd, short(input ? POLLIN : POLLOUT), 0}, {port->closeBell, POLLIN, 0}, {bell, POLLIN, 0}};
        if (PollUntil(fds, 3, timeout) < 0) {
            *done = got;
            return Fail(errno);
        }
        if (fds[1].revents) {
            *done = got;
            return Fail(ECANCELED);
        }
        hungUp = fds[0].revents & (POLLHUP | POLLERR | POLLNVAL);
        if (fds[2].revents) {
            std::lock_guard lock(port->m);
            if ((input ? port->rxGen : port->txGen) != gen)
                break;
            Drain(bell);
        }
    }
    *done = got;
    if (!input && got) {
        std::lock_guard lock(port->m);
        port->txPending = true;
    }
    return TRUE;
}

} // namespace

std::string CommDevicePath(std::string_view name) {
    if (name.substr(0, 4) == "\\\\.\\")
        name.remove_prefix(4);
    if (name.size() > 3 && SameText(name.substr(0, 3), "COM")) {
        int n = 0;
        if (TryStrToInt(name.substr(3), n) && n >= 1 && name[3] >= '0' && name[3] <= '9')
            return "/dev/ttyS" + IntToStr(n - 1);
    }
    return std::string(name);
}

HANDLE OpenComm(std::string_view portName) {
    const std::string path = CommDevicePath(portName);
    if (path.empty()) {
        SetLastError(ENOENT);
        return INVALID_HANDLE_VALUE;
    }
    auto port = std::make_shared<Port>();
    port->fd = ::open(NativePath(path).c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (port->fd < 0) {
        SetLastError(DWORD(errno));
        return INVALID_HANDLE_VALUE;
    }
    termios t{};
    if (!::isatty(port->fd) || ::tcgetattr(port->fd, &t) != 0) {
        SetLastError(ENOTTY);
        return INVALID_HANDLE_VALUE;
    }
    // Nobody else may hold the port: another program's lock, or a non-root open after ours.
    if (::flock(port->fd, LOCK_EX | LOCK_NB) != 0) {
        SetLastError(EBUSY);
        return INVALID_HANDLE_VALUE;
    }
    ::ioctl(port->fd, TIOCEXCL);
    DCB& d = port->dcb;
    d.DCBlength = sizeof(DCB);
    d.BaudRate = SpeedRate(::cfgetospeed(&t));
    if (d.BaudRate == 0)
        d.BaudRate = 9600;
    d.fBinary = 1;
    d.fDtrControl = DTR_CONTROL_ENABLE;
    d.fRtsControl = RTS_CONTROL_ENABLE;
    d.fTXContinueOnXoff = 1;
    d.XonLim = 2048;
    d.XoffLim = 512;
    d.ByteSize = 8;
    d.XonChar = 0x11;
    d.XoffChar = 0x13;
    // Raw from the start: a terminal's echo and line editing would otherwise change the bytes.
    DcbToTermios(d, t);
    if (::tcsetattr(port->fd, TCSANOW, &t) != 0) {
        SetLastError(DWORD(errno));
        return INVALID_HANDLE_VALUE;
    }
    port->hasModem = ::ioctl(port->fd, TIOCMGET, &port->modem) == 0;
    port->hasCounters = ::ioctl(port->fd, TIOCGICOUNT, &port->counters) == 0;
    for (int* bell : {&port->closeBell, &port->maskBell, &port->rxBell, &port->txBell}) {
        *bell = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        if (*bell < 0) {
            SetLastError(DWORD(errno));
            return INVALID_HANDLE_VALUE;
        }
    }
    std::lock_guard lock(tableMutex);
    const HANDLE h = nextHandle++;
    table.emplace(h, std::move(port));
    return h;
}

BOOL CloseComm(HANDLE h) {
    std::shared_ptr<Port> port;
    {
        std::lock_guard lock(tableMutex);
        auto it = table.find(h);
        if (it == table.end())
            return Fail(EBADF);
        port = std::move(it->second);
        table.erase(it);
    }
    std::unique_lock lock(port->m);
    port->closed = true;
    Ring(port->closeBell);
    port->idle.wait(lock, [&] { return port->users == 0; });
    const int fd = std::exchange(port->fd, -1);
    lock.unlock();
    // A terminal that stays open on its other side would otherwise keep refusing others.
    ::ioctl(fd, TIOCNXCL);
    return ::close(fd) == 0 ? TRUE : Fail(errno);
}

BOOL GetCommState(HANDLE h, DCB* dcb) {
    Use port(h);
    if (!port)
        return FALSE;
    if (!dcb)
        return Fail(EINVAL);
    std::lock_guard lock(port->m);
    *dcb = port->dcb;
    return TRUE;
}

BOOL SetCommState(HANDLE h, const DCB* dcb) {
    Use port(h);
    if (!port)
        return FALSE;
    if (!dcb || !ValidDcb(*dcb))
        return Fail(EINVAL);
    std::lock_guard lock(port->m);
    termios t{};
    if (::tcgetattr(port->fd, &t) != 0)
        return Fail(errno);
    DcbToTermios(*dcb, t);
    if (::tcsetattr(port->fd, TCSANOW, &t) != 0)
        return Fail(errno);
    // RTS handshaking belongs to the driver (CRTSCTS); toggling it around sends is not offered,
    // so a toggled RTS rests low as it would between sends.
    const bool dtr = dcb->fDtrControl != DTR_CONTROL_DISABLE;
    const bool rts = dcb->fRtsControl == RTS_CONTROL_ENABLE || dcb->fRtsControl == RTS_CONTROL_HANDSHAKE;
    if (!SetLine(port->fd, TIOCM_DTR, dtr) || !SetLine(port->fd, TIOCM_RTS, rts))
        return FALSE;
    port->dcb = *dcb;
    port->dcb.DCBlength = sizeof(DCB);
    return TRUE;
}

BOOL GetCommTimeouts(HANDLE h, COMMTIMEOUTS* timeouts) {
    Use port(h);
    if (!port)
        return FALSE;
    if (!timeouts)
        return Fail(EINVAL);
    std::lock_guard lock(port->m);
    *timeouts = port->timeouts;
    return TRUE;
}

BOOL SetCommTimeouts(HANDLE h, const COMMTIMEOUTS* timeouts) {
    Use port(h);
    if (!port)
        return FALSE;
    if (!timeouts)
        return Fail(EINVAL);
    std::lock_guard lock(port->m);
    port->timeouts = *timeouts;
    return TRUE;
}

BOOL GetCommMask(HANDLE h, DWORD* mask) {
    Use port(h);
    if (!port)
        return FALSE;
    if (!mask)
        return Fail(EINVAL);
    std::lock_guard lock(port->m);
    *mask = port->mask;
    return TRUE;
}

BOOL SetCommMask(HANDLE h, DWORD mask) {
    Use port(h);
    if (!port)
        return FALSE;
    std::lock_guard lock(port->m);
    port->mask = mask;
    ++port->maskGen;
    Ring(port->maskBell);
    // Changes from now on count, not those that happened before the events were wanted.
    port->TakeLines();
    return TRUE;
}

BOOL WaitCommEvent(HANDLE h, DWORD* events) {
    if (!events)
        return Fail(EINVAL);
    *events = 0;
    Use port(h);
    if (!port)
        return FALSE;
    DWORD mask;
    uint64_t gen;
    {
        std::lock_guard lock(port->m);
        if (port->waiting)
            return Fail(EBUSY);
        mask = port->mask;
        gen = port->maskGen;
        if (mask == 0)
            return Fail(EINVAL);
        port->waiting = true;
    }
    Busy busy(port.get(), &Port::waiting);
    for (;;) {
        bool tick;
        {
            std::lock_guard lock(port->m);
            if (port->maskGen != gen)
                return TRUE;
            DWORD ev = 0;
            int queued = 0;
            if (::ioctl(port->fd, FIONREAD, &queued) != 0)
                return Fail(errno);
            if (queued > 0)
                ev |= EV_RXCHAR;
            if (port->txPending) {
                int out = 0;
                if (::ioctl(port->fd, TIOCOUTQ, &out) == 0 && out == 0) {
                    port->txPending = false;
                    ev |= EV_TXEMPTY;
                }
            }
            ev |= port->TakeLines() | port->TakeCounters();
            if (ev & mask) {
                *events = ev & mask;
                return TRUE;
            }
            tick = (port->txPending && (mask & EV_TXEMPTY)) || (port->hasModem && (mask & kLineEvents)) ||
                   (port->hasCounters && (mask & kErrorEvents));
        }
        pollfd fds[3] = {{port->fd, short(mask & EV_RXCHAR ? POLLIN : 0), 0},
                         {port->closeBell, POLLIN, 0},
                         {port->maskBell, POLLIN, 0}};
        if (PollUntil(fds, 3, tick ? kTickMs : -1) < 0)
            return Fail(errno);
        if (fds[1].revents)
            return Fail(ECANCELED);
        if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            int queued = 0;
            if (::ioctl(port->fd, FIONREAD, &queued) != 0)
                return Fail(errno);
            if (queued == 0 || !(mask & EV_RXCHAR))
                return Fail(EIO);
        }
        if (fds[2].revents) {
            std::lock_guard lock(port->m);
            if (port->maskGen == gen)
                Drain(port->maskBell);
        }
    }
}

BOOL ReadComm(HANDLE h, void* buffer, DWORD count, DWORD* read) {
    return Transfer(h, true, static_cast<char*>(buffer), count, read);
}

BOOL WriteComm(HANDLE h, const void* buffer, DWORD count, DWORD* written) {
    return Transfer(h, false, const_cast<char*>(static_cast<const char*>(buffer)), count, written);
}

BOOL PurgeComm(HANDLE h, DWORD flags) {
    Use port(h);
    if (!port)
        return FALSE;
    if (flags & ~DWORD(PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR))
        return Fail(EINVAL);
    std::lock_guard lock(port->m);
    if (flags & PURGE_RXABORT) {
        ++port->rxGen;
        Ring(port->rxBell);
    }
    if (flags & PURGE_TXABORT) {
        ++port->txGen;
        Ring(port->txBell);
    }
    const bool in = flags & PURGE_RXCLEAR, out = flags & PURGE_TXCLEAR;
    if ((in || out) && ::tcflush(port->fd, in && out ? TCIOFLUSH : in ? TCIFLUSH : TCOFLUSH) != 0)
        return Fail(errno);
    if (out)
        port->txPending = false;
    return TRUE;
}

BOOL ClearCommError(HANDLE h, DWORD* errors, COMSTAT* status) {
    Use port(h);
    if (!port)
        return FALSE;
    std::lock_guard lock(port->m);
    int in = 0, out = 0;
    if (::ioctl(port->fd, FIONREAD, &in) != 0)
        return Fail(errno);
    if (::ioctl(port->fd, TIOCOUTQ, &out) != 0)
        out = 0;
    port->TakeCounters();
    if (errors)
        *errors = port->errors;
    port->errors = 0;
    if (status)
        *status = COMSTAT{0, DWORD(std::max(in, 0)), DWORD(std::max(out, 0))};
    return TRUE;
}

BOOL EscapeCommFunction(HANDLE h, DWORD function) {
    Use port(h);
    if (!port)
        return FALSE;
    const int fd = port->fd;
    auto ignoringUnsupported = [](int r) { return r == 0 || Unsupported(errno) ? TRUE : Fail(errno); };
    switch (function) {
    case SETXOFF: return ignoringUnsupported(::tcflow(fd, TCOOFF));
    case SETXON: return ignoringUnsupported(::tcflow(fd, TCOON));
    case SETRTS: return SetLine(fd, TIOCM_RTS, true);
    case CLRRTS: return SetLine(fd, TIOCM_RTS, false);
    case SETDTR: return SetLine(fd, TIOCM_DTR, true);
    case CLRDTR: return SetLine(fd, TIOCM_DTR, false);
    case RESETDEV: return TRUE;
    case SETBREAK: return ignoringUnsupported(::ioctl(fd, TIOCSBRK));
    case CLRBREAK: return ignoringUnsupported(::ioctl(fd, TIOCCBRK));
    default: return Fail(EINVAL);
    }
}

BOOL GetCommModemStatus(HANDLE h, DWORD* status) {
    Use port(h);
    if (!port)
        return FALSE;
    if (!status)
        return Fail(EINVAL);
    int lines = 0;
    if (::ioctl(port->fd, TIOCMGET, &lines) != 0 && !Unsupported(errno))
        return Fail(errno);
    *status = 0;
    const struct {
        int line;
        DWORD bit;
    } map[] = {
        {TIOCM_CTS, MS_CTS_ON}, {TIOCM_DSR, MS_DSR_ON}, {TIOCM_RNG, MS_RING_ON}, {TIOCM_CAR, MS_RLSD_ON}};
    for (const auto& m : map)
        if (lines & m.line)
            *status |= m.bit;
    return TRUE;
}

bool CommDeviceGone(DWORD error) { return error == EIO || error == ENODEV || error == ENXIO; }

std::vector<std::string> ListCommDevices() {
    TFileSystem& fs = FileSystem();
    std::vector<std::string> native, names;
    if (fs.List("/sys/class/tty", names))
        for (const std::string& name : names) {
            const std::string sys = "/sys/class/tty/" + name;
            bool exists = false;
            mode_t mode = 0;
            if (!fs.Inspect(sys + "/device", exists, mode) || !exists)
                continue; // virtual terminals, ptys
            if (name.rfind("ttyS", 0) == 0) {
                // The kernel lists every possible legacy port; only those with a UART are there.
                std::string type;
                if (!fs.ReadText(sys + "/type", type) || StrToIntDef(Trim(type), 0) == 0)
                    continue;
            }
            native.push_back("/dev/" + name);
        }
    // Stable names of USB adapters, which keep naming the same adapter whatever order they came in.
    const std::string byId = "/dev/serial/by-id/";
    if (fs.List(byId, names))
        for (const std::string& name : names) {
            bool exists = false;
            mode_t mode = 0;
            if (fs.Inspect(byId + name, exists, mode) && exists)
                native.push_back(byId + name);
        }
    std::vector<std::string> found;
    for (const std::string& n : native) {
        std::string path;
        if (TryFromNativePath(n, path))
            found.push_back(path);
    }
    std::sort(found.begin(), found.end());
    return found;
}
