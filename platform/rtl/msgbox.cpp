// Message-box service of the runtime layer.
#include "msgbox.h"

#include <atomic>
#include <cstdio>

#include "cp1251.h"

namespace {

// Terminals speak UTF-8; the texts are CP1251.
int StderrMessageBox(const char* text, const char* caption, unsigned) {
    std::fprintf(stderr, "%s: %s\n", Cp1251ToUtf8(caption ? caption : "").c_str(),
                 Cp1251ToUtf8(text ? text : "").c_str());
    return IDOK;
}

std::atomic<TMessageBoxHandler> g_handler{&StderrMessageBox};

} // namespace

TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler h) {
    return g_handler.exchange(h ? h : &StderrMessageBox);
}

int ShowMessageBoxText(const char* text, const char* caption, unsigned flags) {
    return g_handler.load()(text, caption, flags);
}
