// Serial port over a pseudo-terminal pair: the port opens the terminal side, the test plays the
// device on the master side.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <future>
#include <utility>
#include <random>
#include <string>
#include <thread>

#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include "replacefile.h"
#include "serial.h"
#include "tempfolder.h"

namespace {

using namespace std::chrono_literals;

class PtyPort : public ::testing::Test {
protected:
    void SetUp() override {
        char name[256] = {};
        ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
        path = name;
        port = OpenComm(path);
        ASSERT_NE(port, INVALID_HANDLE_VALUE) << SysErrorMessage(GetLastError());
        // The test's own terminal descriptor is not needed: the port holds its own.
        ::close(std::exchange(slave, -1));
    }
    void TearDown() override {
        if (port != INVALID_HANDLE_VALUE)
            CloseComm(port);
        if (master >= 0)
            ::close(master);
    }

    void DeviceSends(const std::string& s) const {
        ASSERT_EQ(::write(master, s.data(), s.size()), ssize_t(s.size()));
    }
    // What the port sent, waiting up to a few seconds for n bytes.
    std::string DeviceReceives(size_t n) const {
        std::string got;
        while (got.size() < n) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 5000) <= 0)
                break;
            char buf[256];
            ssize_t r = ::read(master, buf, std::min(sizeof buf, n - got.size()));
            if (r <= 0)
                break;
            got.append(buf, size_t(r));
        }
        return got;
    }
    // Runs call on another thread; returns once the call is about to start, leaving it a moment
    // to get into its wait.
    template <class F> static auto Started(F call) {
        std::promise<void> ready;
        auto started = ready.get_future();
        auto result = std::async(std::launch::async, [call, ready = std::move(ready)]() mutable {
            ready.set_value();
            return call();
        });
        started.wait();
        std::this_thread::sleep_for(50ms);
        return result;
    }
    // Whether the call ends within a few seconds; if not, the port is closed so that it does.
    template <class Future> bool EndsSoon(Future& f) {
        if (f.wait_for(5s) == std::future_status::ready)
            return true;
        if (port != INVALID_HANDLE_VALUE)
            CloseComm(std::exchange(port, INVALID_HANDLE_VALUE));
        return false;
    }
    // Waits until the port has n bytes queued (pseudo-terminal transfer is asynchronous).
    void WaitQueued(DWORD n) const {
        COMSTAT st{};
        for (int i = 0; i < 500 && st.cbInQue < n; ++i) {
            ASSERT_TRUE(ClearCommError(port, nullptr, &st));
            if (st.cbInQue < n)
                std::this_thread::sleep_for(10ms);
        }
        ASSERT_EQ(st.cbInQue, n);
    }
    // What is queued now, read as the receiver reads a chunk.
    std::string ReadQueued(DWORD limit = 1024) const {
        DWORD errors = 0;
        COMSTAT st{};
        EXPECT_TRUE(ClearCommError(port, &errors, &st));
        std::string buf(std::min(st.cbInQue, limit), '\0');
        DWORD got = 0;
        EXPECT_TRUE(ReadComm(port, buf.data(), DWORD(buf.size()), &got));
        buf.resize(got);
        return buf;
    }

    int master = -1, slave = -1;
    std::string path;
    HANDLE port = INVALID_HANDLE_VALUE;
};

TEST(CommNames, PortNamesMapToDevices) {
    const struct {
        const char* name;
        const char* path;
    } cases[] = {
        {"COM1", "/dev/ttyS0"},
        {"com12", "/dev/ttyS11"},
        {"\\\\.\\COM3", "/dev/ttyS2"},
        {"/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"\\\\.\\/dev/ttyACM1", "/dev/ttyACM1"},
        {"COM0", "COM0"},
        {"COMx", "COMx"},
        {"COM", "COM"},
        {"COM-1", "COM-1"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommDevicePath(c.name), c.path) << c.name;
}

TEST(CommNames, MissingPortFailsWithTheSystemText) {
    EXPECT_EQ(OpenComm(""), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ENOENT));
    EXPECT_EQ(OpenComm("/nonexistent/ttyQ9"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ENOENT));
    EXPECT_FALSE(SysErrorMessage(GetLastError()).empty());
    EXPECT_EQ(SysErrorMessage(999999), "");
    EXPECT_EQ(OpenComm("/dev/null"), INVALID_HANDLE_VALUE); // not a terminal
    DWORD events = 0;
    EXPECT_FALSE(WaitCommEvent(12345, &events));
    EXPECT_EQ(GetLastError(), DWORD(EBADF));
}

// The texts the log box shows for a port's failures read as on a Russian desktop.
TEST(CommNames, ErrorTextsAreRussian) {
    const struct {
        DWORD code;
        const char* text;
    } cases[] = {
        {ENOENT, "Не удается найти указанный файл"},
        {EACCES, "Отказано в доступе"},
        {EBUSY, "Запрошенный ресурс занят"},
        {EIO, "Запрос не был выполнен из-за ошибки ввода/вывода на устройстве"},
        {EINVAL, "Параметр задан неверно"},
        {ENOSPC, "Недостаточно места на диске"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SysErrorMessage(c.code), c.text) << c.code;
    // Every failure a port reports by itself: a missing device, a busy one, a hang-up, a closed handle.
    for (DWORD code : {ENOENT, EBUSY, EIO, ENODEV, ENXIO, EBADF, ECANCELED, EINVAL, ENOTTY, EACCES, EPERM}) {
        const std::string text = SysErrorMessage(code);
        ASSERT_FALSE(text.empty()) << code;
        EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](char ch) { return (unsigned char)ch >= 0xC0; }))
            << code << " " << text;
        EXPECT_NE(text.back(), '.') << code;
    }
    EXPECT_EQ(OpenComm("/nonexistent/ttyQ9"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(SysErrorMessage(GetLastError()), "Не удается найти указанный файл");
}

TEST(CommNames, ListedDevicesAreDevicePaths) {
    for (const std::string& d : ListCommDevices())
        EXPECT_EQ(d.rfind("/dev/", 0), 0u) << d;
}

// The machine's /sys and /dev, rebuilt under a temporary folder: every path the listing asks for is
// looked up there.
class FakeDevices : public TFileSystem {
public:
    explicit FakeDevices(std::string root) : fRoot(std::move(root)) { fOld = SetFileSystem(this); }
    ~FakeDevices() override { SetFileSystem(fOld); }
    bool Inspect(const std::string& p, bool& exists, mode_t& mode) override {
        return TFileSystem::Inspect(fRoot + p, exists, mode);
    }
    bool List(const std::string& folder, std::vector<std::string>& names) override {
        return TFileSystem::List(fRoot + folder, names);
    }
    bool ReadText(const std::string& p, std::string& text) override {
        return TFileSystem::ReadText(fRoot + p, text);
    }

private:
    std::string fRoot;
    TFileSystem* fOld;
};

TEST(CommNames, ListedDevicesAreThePortsPresentAndTheirStableNames) {
    namespace fs = std::filesystem;
    testsupport::TempFolder root;
    const fs::path tty = root.File("sys/class/tty"), dev = root.File("dev"), byId = dev / "serial/by-id";
    fs::create_directories(byId);
    fs::create_directories(root.File("sys/devices/platform/serial8250"));
    fs::create_directories(root.File("sys/devices/usb1/1-1"));
    auto port = [&](const std::string& name, const std::string& device, const char* type) {
        fs::create_directories(tty / name);
        if (!device.empty())
            fs::create_directory_symlink("../../../devices/" + device, tty / name / "device");
        if (type)
            std::ofstream(tty / name / "type") << type << "\n";
        std::ofstream(dev / name).put('\0');
    };
    port("ttyS0", "platform/serial8250", "4");  // a 16550A that answers
    port("ttyS1", "platform/serial8250", "0");  // a legacy port without a UART
    port("ttyS2", "platform/serial8250", "\n"); // a type that says nothing
    port("ttyUSB0", "usb1/1-1", nullptr);
    port("ttyACM0", "usb1/1-1", nullptr);
    port("ptmx", "", nullptr); // ptys and virtual terminals have no device
    port("tty1", "", nullptr);
    fs::create_symlink("../../ttyUSB0", byId / "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    fs::create_symlink("../../ttyACM0", byId / "usb-Arduino_Uno_75735-if00");
    fs::create_symlink("../../ttyUSB1", byId / "usb-Prolific_PL2303-if00-port0"); // unplugged

    FakeDevices fake(root.Path());
    const std::vector<std::string> want = {
        "/dev/serial/by-id/usb-Arduino_Uno_75735-if00",
        "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0",
        "/dev/ttyACM0",
        "/dev/ttyS0",
        "/dev/ttyUSB0",
    };
    EXPECT_EQ(ListCommDevices(), want);

    fs::remove_all(byId.parent_path());
    EXPECT_EQ(ListCommDevices(), (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyUSB0"}))
        << "a machine without USB adapters has no by-id folder";
}

TEST_F(PtyPort, OpenIsExclusive) {
    EXPECT_EQ(OpenComm(path), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(EBUSY));
    ASSERT_TRUE(CloseComm(port));
    port = OpenComm(path);
    EXPECT_NE(port, INVALID_HANDLE_VALUE);
}

TEST_F(PtyPort, SettingsReachTheTerminal) {
    const struct {
        DWORD rate;
        BYTE size, parity, stop;
        speed_t speed;
        tcflag_t cflags;
    } cases[] = {
        {4800, 8, NOPARITY, ONESTOPBIT, B4800, CS8},
        {9600, 7, EVENPARITY, TWOSTOPBITS, B9600, CS7 | PARENB | CSTOPB},
        {115200, 8, ODDPARITY, ONESTOPBIT, B115200, CS8 | PARENB | PARODD},
        {1200, 5, SPACEPARITY, ONE5STOPBITS, B1200, CS5 | PARENB | CMSPAR | CSTOPB},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        DCB dcb{};
        ASSERT_TRUE(GetCommState(port, &dcb));
        EXPECT_EQ(dcb.DCBlength, 28u);
        dcb.BaudRate = c.rate;
        dcb.ByteSize = c.size;
        dcb.Parity = c.parity;
        dcb.StopBits = c.stop;
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fRtsControl = RTS_CONTROL_ENABLE; // a terminal has no modem lines: ignored
        ASSERT_TRUE(SetCommState(port, &dcb)) << SysErrorMessage(GetLastError());
        termios t{};
        ASSERT_EQ(::tcgetattr(master, &t), 0);
        EXPECT_EQ(::cfgetospeed(&t), c.speed);
        // A pseudo-terminal always keeps 8 bits and no parity bit; the other bits stay as set.
        const tcflag_t watched = PARODD | CMSPAR | CSTOPB;
        EXPECT_EQ(t.c_cflag & watched, c.cflags & watched);
        EXPECT_EQ(t.c_lflag & (ECHO | ICANON), 0u);
        DCB back{};
        ASSERT_TRUE(GetCommState(port, &back));
        EXPECT_EQ(back.BaudRate, c.rate);
        EXPECT_EQ(back.ByteSize, c.size);
    }
    DCB bad{};
    ASSERT_TRUE(GetCommState(port, &bad));
    bad.BaudRate = 12345;
    EXPECT_FALSE(SetCommState(port, &bad));
    EXPECT_EQ(GetLastError(), DWORD(EINVAL));
    DCB kept{};
    ASSERT_TRUE(GetCommState(port, &kept));
    EXPECT_EQ(kept.BaudRate, 1200u);
    for (DWORD f : {SETRTS, CLRRTS, SETDTR, CLRDTR, SETXOFF, SETXON, RESETDEV})
        EXPECT_TRUE(EscapeCommFunction(port, f)) << f;
    EXPECT_FALSE(EscapeCommFunction(port, 77));
    DWORD lines = 1;
    EXPECT_TRUE(GetCommModemStatus(port, &lines));
    EXPECT_EQ(lines, 0u);
}

TEST_F(PtyPort, BytesTravelBothWays) {
    ASSERT_TRUE(SetCommMask(port, EV_RXCHAR | EV_TXEMPTY | EV_CTS | EV_DSR | EV_RLSD | EV_ERR));
    DeviceSends("hello");
    DWORD events = 0;
    ASSERT_TRUE(WaitCommEvent(port, &events));
    EXPECT_EQ(events, DWORD(EV_RXCHAR));
    WaitQueued(5);
    EXPECT_EQ(ReadQueued(), "hello");
    EXPECT_EQ(ReadQueued(), "");

    DWORD written = 0;
    ASSERT_TRUE(WriteComm(port, "world", 5, &written));
    EXPECT_EQ(written, 5u);
    EXPECT_EQ(DeviceReceives(5), "world");
    ASSERT_TRUE(WaitCommEvent(port, &events));
    EXPECT_EQ(events, DWORD(EV_TXEMPTY));
}

TEST_F(PtyPort, FramesSplitAcrossReadsArriveWhole) {
    // A read of 8 bytes with no timeouts waits for the second piece.
    auto late = std::async(std::launch::async, [&] {
        DeviceSends("abc");
        std::this_thread::sleep_for(50ms);
        DeviceSends("defgh");
    });
    std::string buf(8, '\0');
    DWORD got = 0;
    ASSERT_TRUE(ReadComm(port, buf.data(), 8, &got));
    late.get();
    EXPECT_EQ(got, 8u);
    EXPECT_EQ(buf, "abcdefgh");

    // Reads that take only what is queued see the pieces one by one, nothing lost or doubled.
    COMMTIMEOUTS now{MAXDWORD, 0, 0, 0, 0};
    ASSERT_TRUE(SetCommTimeouts(port, &now));
    DeviceSends("12");
    WaitQueued(2);
    std::string first = ReadQueued(), all = first;
    DeviceSends("345");
    WaitQueued(3);
    all += ReadQueued();
    EXPECT_EQ(first, "12");
    EXPECT_EQ(all, "12345");

    // Waiting for the first byte only.
    COMMTIMEOUTS firstByte{MAXDWORD, MAXDWORD, 5000, 0, 0};
    ASSERT_TRUE(SetCommTimeouts(port, &firstByte));
    DeviceSends("q");
    ASSERT_TRUE(ReadComm(port, buf.data(), 8, &got));
    EXPECT_EQ(std::string(buf.data(), got), "q");
    COMMTIMEOUTS nothing{MAXDWORD, MAXDWORD, 30, 0, 0};
    ASSERT_TRUE(SetCommTimeouts(port, &nothing));
    ASSERT_TRUE(ReadComm(port, buf.data(), 8, &got));
    EXPECT_EQ(got, 0u);

    // A bounded read ends after its total time with what came.
    COMMTIMEOUTS bounded{0, 0, 30, 0, 0};
    ASSERT_TRUE(SetCommTimeouts(port, &bounded));
    DeviceSends("xy");
    WaitQueued(2);
    ASSERT_TRUE(ReadComm(port, buf.data(), 8, &got));
    EXPECT_EQ(std::string(buf.data(), got), "xy");
}

TEST_F(PtyPort, MegabyteBurstLosesNothing) {
    std::string data(1 << 20, '\0');
    std::mt19937 rng(7);
    for (char& c : data)
        c = char(rng());
    auto sender = std::async(std::launch::async, [&] {
        for (size_t off = 0; off < data.size();) {
            ssize_t n = ::write(master, data.data() + off, std::min<size_t>(4096, data.size() - off));
            if (n <= 0)
                return false;
            off += size_t(n);
        }
        return true;
    });
    ASSERT_TRUE(SetCommMask(port, EV_RXCHAR));
    std::string got;
    while (got.size() < data.size()) {
        DWORD events = 0;
        ASSERT_TRUE(WaitCommEvent(port, &events)) << SysErrorMessage(GetLastError());
        if (events & EV_RXCHAR)
            got += ReadQueued();
    }
    EXPECT_TRUE(sender.get());
    EXPECT_EQ(got.size(), data.size());
    EXPECT_TRUE(got == data);
}

TEST_F(PtyPort, ClearingTheMaskEndsAWait) {
    ASSERT_TRUE(SetCommMask(port, EV_RXCHAR));
    auto waiter = Started([&] {
        DWORD events = 99;
        BOOL ok = WaitCommEvent(port, &events);
        return std::make_pair(ok, events);
    });
    ASSERT_TRUE(SetCommMask(port, 0));
    ASSERT_TRUE(EndsSoon(waiter));
    auto [ok, events] = waiter.get();
    EXPECT_TRUE(ok);
    EXPECT_EQ(events, 0u);
    DWORD e = 0;
    EXPECT_FALSE(WaitCommEvent(port, &e)); // nothing to wait for
    EXPECT_EQ(GetLastError(), DWORD(EINVAL));
}

TEST_F(PtyPort, ClosingEndsAWaitAndAReadAtOnce) {
    ASSERT_TRUE(SetCommMask(port, EV_RXCHAR));
    auto waiter = Started([&] {
        DWORD events = 0;
        BOOL ok = WaitCommEvent(port, &events);
        return std::make_pair(ok, GetLastError());
    });
    auto reader = Started([&] {
        char buf[4];
        DWORD got = 0;
        BOOL ok = ReadComm(port, buf, sizeof buf, &got);
        return std::make_pair(ok, GetLastError());
    });
    ASSERT_TRUE(CloseComm(std::exchange(port, INVALID_HANDLE_VALUE)));
    ASSERT_TRUE(EndsSoon(waiter));
    ASSERT_TRUE(EndsSoon(reader));
    EXPECT_EQ(waiter.get(), std::make_pair(FALSE, DWORD(ECANCELED)));
    EXPECT_EQ(reader.get(), std::make_pair(FALSE, DWORD(ECANCELED)));
    // The terminal is free again at once.
    HANDLE again = OpenComm(path);
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    CloseComm(again);
}

TEST_F(PtyPort, PurgeAbortsAWaitingRead) {
    auto reader = Started([&] {
        char buf[4];
        DWORD got = 9;
        BOOL ok = ReadComm(port, buf, sizeof buf, &got);
        return std::make_pair(ok, got);
    });
    ASSERT_TRUE(PurgeComm(port, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR));
    ASSERT_TRUE(EndsSoon(reader));
    EXPECT_EQ(reader.get(), std::make_pair(TRUE, DWORD(0)));
}

TEST_F(PtyPort, PeerClosingIsReportedAndNeverWaitedOn) {
    ASSERT_TRUE(SetCommMask(port, EV_RXCHAR | EV_ERR));
    auto waiter = Started([&] {
        DWORD events = 0;
        BOOL ok = WaitCommEvent(port, &events);
        return std::make_pair(ok, GetLastError());
    });
    ::close(std::exchange(master, -1));
    ASSERT_TRUE(EndsSoon(waiter));
    auto [ok, error] = waiter.get();
    EXPECT_FALSE(ok);
    EXPECT_TRUE(CommDeviceGone(error)) << error;
    EXPECT_FALSE(SysErrorMessage(error).empty());
    // Later calls fail at once the same way, so a reader stops after one report.
    DWORD events = 0;
    EXPECT_FALSE(WaitCommEvent(port, &events));
    EXPECT_TRUE(CommDeviceGone(GetLastError()));
    char buf[4];
    DWORD got = 0;
    EXPECT_FALSE(ReadComm(port, buf, sizeof buf, &got));
    EXPECT_TRUE(CommDeviceGone(GetLastError()));
    EXPECT_TRUE(CloseComm(std::exchange(port, INVALID_HANDLE_VALUE)));
}

} // namespace
