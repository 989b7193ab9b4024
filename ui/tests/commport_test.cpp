// The serial receiver on a pseudo-terminal: the test plays the device on the master side.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include "Commport.h"

namespace {

using namespace std::chrono_literals;

// What the port raised, gathered under a lock (the reader thread raises it).
struct Recorder {
    std::mutex m;
    std::condition_variable cv;
    std::vector<std::string> received, frameEnds, errors;
    int signals = 0;
    size_t bytes = 0;

    void Bind(CommPort& port) {
        port.OnReceive = [this](const uint8_t* d, int n) {
            std::lock_guard g(m);
            received.emplace_back(reinterpret_cast<const char*>(d), size_t(n));
            bytes += size_t(n);
            cv.notify_all();
        };
        port.OnFrameEnd = [this](const uint8_t* d, int n) {
            std::lock_guard g(m);
            frameEnds.emplace_back(reinterpret_cast<const char*>(d), size_t(n));
            cv.notify_all();
        };
        port.OnError = [this](const std::string& t) {
            std::lock_guard g(m);
            errors.push_back(t);
            cv.notify_all();
        };
        port.OnSignal = [this] {
            std::lock_guard g(m);
            ++signals;
            cv.notify_all();
        };
    }
    template <class P> bool WaitFor(P done) {
        std::unique_lock g(m);
        return cv.wait_for(g, 10s, [&] { return done(*this); });
    }
    std::string All() {
        std::lock_guard g(m);
        std::string s;
        for (auto& r : received)
            s += r;
        return s;
    }
};

class Receiver : public ::testing::Test {
protected:
    void SetUp() override {
        char name[256] = {};
        ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
        port.SetPortName(name);
        port.SetBaudRate(9600);
        port.StartPause = 0;
        port.ChunkPause = 20;
        port.ErrorPause = 10;
        rec.Bind(port);
    }
    void TearDown() override {
        port.Close();
        if (master >= 0)
            ::close(master);
        ::close(slave);
    }
    void Send(const std::string& s) {
        size_t done = 0;
        while (done < s.size()) {
            ssize_t w = ::write(master, s.data() + done, s.size() - done);
            ASSERT_GT(w, 0);
            done += size_t(w);
        }
    }
    int master = -1, slave = -1;
    CommPort port;
    Recorder rec;
};

TEST_F(Receiver, BytesSplitAcrossReadsWithoutAPauseMakeOneFrame) {
    ASSERT_TRUE(port.Open());
    Send("AB");
    std::this_thread::sleep_for(5ms);
    Send("CDE");
    ASSERT_TRUE(rec.WaitFor([](Recorder& r) { return !r.frameEnds.empty(); }));
    std::lock_guard g(rec.m);
    EXPECT_EQ(rec.received, std::vector<std::string>{"ABCDE"});
    EXPECT_EQ(rec.frameEnds, std::vector<std::string>{"ABCDE"});
}

TEST_F(Receiver, FramesSeparatedByAPauseArriveApart) {
    ASSERT_TRUE(port.Open());
    Send("one");
    ASSERT_TRUE(rec.WaitFor([](Recorder& r) { return r.frameEnds.size() == 1; }));
    Send("two");
    ASSERT_TRUE(rec.WaitFor([](Recorder& r) { return r.frameEnds.size() == 2; }));
    std::lock_guard g(rec.m);
    EXPECT_EQ(rec.frameEnds, (std::vector<std::string>{"one", "two"}));
}

TEST_F(Receiver, AMegabyteBurstArrivesWholeInFramesOfAtMost1024Bytes) {
    port.ChunkPause = 1;
    ASSERT_TRUE(port.Open());
    std::string data(1 << 20, '\0');
    std::mt19937 rng(7);
    for (char& c : data)
        c = char(rng());
    std::thread writer([&] { Send(data); });
    ASSERT_TRUE(rec.WaitFor([&](Recorder& r) { return r.bytes >= data.size(); }));
    writer.join();
    EXPECT_EQ(rec.All(), data);
    std::lock_guard g(rec.m);
    for (auto& f : rec.received)
        EXPECT_LE(f.size(), size_t(kCommFrameSize));
}

TEST_F(Receiver, AClosedPeerEndsTheReaderWithOneReport) {
    ASSERT_TRUE(port.Open());
    ::close(master);
    master = -1;
    ASSERT_TRUE(rec.WaitFor([](Recorder& r) { return r.signals == 1; }));
    std::this_thread::sleep_for(50ms);
    std::lock_guard g(rec.m);
    EXPECT_EQ(rec.errors.size(), 1u);
    EXPECT_EQ(rec.signals, 1);
}

TEST_F(Receiver, SettingsThePortRefusesCloseItAndAreReported) {
    port.SetBaudRate(12345);
    EXPECT_FALSE(port.Open());
    EXPECT_FALSE(port.IsOpen());
    std::lock_guard g(rec.m);
    ASSERT_EQ(rec.errors.size(), 1u);
    EXPECT_EQ(rec.errors[0].rfind(port.PortName() + " - ошибка ", 0), 0u);
}

TEST_F(Receiver, TheNameIsKeptWhileOpenAndAMissingPortStaysClosedSilently) {
    ASSERT_TRUE(port.Open());
    std::string name = port.PortName();
    port.SetPortName("COM200");
    EXPECT_EQ(port.PortName(), name);
    ASSERT_TRUE(port.Close());
    port.SetPortName("/dev/qbx-no-such-port");
    EXPECT_FALSE(port.Open());
    EXPECT_FALSE(port.IsOpen());
    std::lock_guard g(rec.m);
    EXPECT_TRUE(rec.errors.empty());
}

} // namespace
