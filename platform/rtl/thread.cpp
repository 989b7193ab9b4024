// Worker threads of the runtime layer, with a replaceable route to the main thread.
#include "classes.h"

namespace {

std::mutex g_syncLock;
TThread::TSynchronizeHandler g_syncHandler;
// Serialises calls run without a handler; recursive, so that a call may synchronise again.
std::recursive_mutex g_runLock;

} // namespace

TThread::TThread() = default;

TThread::~TThread() {
    if (thread_.joinable()) {
        terminated_ = true;
        if (thread_.get_id() == std::this_thread::get_id())
            thread_.detach();
        else
            thread_.join();
    }
}

void TThread::Start() {
    if (started_)
        return;
    started_ = true;
    thread_ = std::thread([this] { Run(); });
}

int TThread::WaitFor() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id())
        thread_.join();
    return ReturnValue;
}

void TThread::Run() {
    try {
        Execute();
    } catch (...) {
        FatalException = std::current_exception();
    }
    if (OnTerminate) {
        try {
            Synchronize([this] { OnTerminate(this); });
        } catch (...) {
            if (!FatalException)
                FatalException = std::current_exception();
        }
    }
    finished_ = true;
    if (FreeOnTerminate) {
        thread_.detach();
        delete this;
    }
}

void TThread::SetSynchronizeHandler(TSynchronizeHandler Handler) {
    std::lock_guard<std::mutex> g(g_syncLock);
    g_syncHandler = std::move(Handler);
}

void TThread::Synchronize(const std::function<void()>& Method) {
    TSynchronizeHandler h;
    {
        std::lock_guard<std::mutex> g(g_syncLock);
        h = g_syncHandler;
    }
    if (h) {
        h(Method);
        return;
    }
    std::lock_guard<std::recursive_mutex> g(g_runLock);
    Method();
}
