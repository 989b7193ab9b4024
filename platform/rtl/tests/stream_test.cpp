// Streams and threads: files, memory, string lists through streams; thread life cycle.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "classes.h"
#include "tempfolder.h"

namespace {

struct TempFile {
    testsupport::TempFolder folder{"rtl-stream-"};
    std::string path = folder.File("stream.bin");
};

} // namespace

TEST(Stream, FileAndMemoryBehaveAlike) {
    TempFile tf;
    TFileStream file(tf.path, fmCreate);
    TMemoryStream mem;
    for (TStream* s : {static_cast<TStream*>(&file), static_cast<TStream*>(&mem)}) {
        s->WriteBuffer("hello world", 11);
        EXPECT_EQ(s->Size(), 11);
        EXPECT_EQ(s->Position(), 11);
        s->SetPosition(6);
        char buf[16] = {};
        EXPECT_EQ(s->Read(buf, 16), 5);
        EXPECT_STREQ(buf, "world");
        EXPECT_EQ(s->Read(buf, 1), 0);
        EXPECT_THROW(s->ReadBuffer(buf, 1), EReadError);
        s->SetSize(5);
        EXPECT_EQ(s->Size(), 5);
        EXPECT_EQ(s->Position(), 5);
        s->Seek(-2, soEnd);
        s->WriteBuffer("LOs!", 4);
        s->SetPosition(0);
        std::string all(size_t(s->Size()), '\0');
        s->ReadBuffer(all.data(), int(all.size()));
        EXPECT_EQ(all, "helLOs!");
    }
}

TEST(Stream, OpenErrors) {
    TempFile tf;
    EXPECT_THROW(TFileStream(tf.path, fmOpenRead), EFOpenError);
    EXPECT_THROW(TFileStream(tf.path + "/x/y", fmCreate), EFCreateError);
    EXPECT_THROW(TFileStream(std::filesystem::temp_directory_path().string(), fmOpenRead), EFOpenError);
    {
        TFileStream w(tf.path, fmCreate);
        w.WriteBuffer("abc", 3);
    }
    TFileStream r(tf.path, fmOpenRead | fmShareDenyNone);
    EXPECT_THROW(r.WriteBuffer("x", 1), EWriteError);
    TMemoryStream m;
    m.LoadFromFile(tf.path);
    EXPECT_EQ(m.Bytes(), "abc");
}

TEST(Stream, StringListsThroughStreams) {
    TStringStream in("skip\r\nЁж\nb\r\n");
    in.SetPosition(6); // from the position on
    TStringList l;
    l.LoadFromStream(&in);
    ASSERT_EQ(l.Count(), 2);
    EXPECT_EQ(l[0], "Ёж");
    TStringStream out;
    l.SaveToStream(&out);
    EXPECT_EQ(out.DataString(), "Ёж\r\nb\r\n");
    TStringStream copy;
    EXPECT_EQ(copy.CopyFrom(&out, 0), 7);
    EXPECT_EQ(copy.DataString(), out.DataString());
}

namespace {

class Counter : public TThread {
public:
    std::atomic<int> loops{0};
    bool fail = false;

protected:
    void Execute() override {
        if (fail)
            throw EInOutError("port gone", 5);
        while (!Terminated()) {
            ++loops;
            std::this_thread::yield();
        }
        ReturnValue = 7;
    }
};

} // namespace

TEST(Thread, StartTerminateWaitFor) {
    Counter t;
    EXPECT_TRUE(t.Suspended());
    int terminated = 0;
    std::vector<std::string> routed;
    TThread::SetSynchronizeHandler([&](const std::function<void()>& f) {
        routed.push_back("sync");
        f();
    });
    t.OnTerminate = [&](TObject* s) {
        EXPECT_EQ(s, &t);
        ++terminated;
    };
    t.Start();
    while (t.loops < 10)
        std::this_thread::yield();
    t.Terminate();
    EXPECT_EQ(t.WaitFor(), 7);
    EXPECT_TRUE(t.Finished());
    EXPECT_EQ(terminated, 1);
    EXPECT_EQ(routed.size(), 1u);
    TThread::SetSynchronizeHandler(nullptr);
}

TEST(Thread, ExceptionInExecuteIsKept) {
    Counter t;
    t.fail = true;
    t.Start();
    t.WaitFor();
    ASSERT_TRUE(t.FatalException);
    try {
        std::rethrow_exception(t.FatalException);
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message, "port gone");
        EXPECT_EQ(e.ErrorCode, 5);
    }
}

TEST(Thread, DestructorStopsARunningThread) {
    auto* t = new Counter;
    t->Start();
    while (t->loops < 1)
        std::this_thread::yield();
    delete t; // must not hang or crash
}

TEST(Thread, SynchronizeWithoutAHandlerMayNest) {
    int depth = 0;
    TThread::Synchronize([&] {
        TThread::Synchronize([&] { ++depth; }); // hung on a plain mutex before
        ++depth;
    });
    EXPECT_EQ(depth, 2);
}
