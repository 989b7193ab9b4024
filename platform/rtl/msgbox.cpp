// Message-box service of the runtime layer.
#include "msgbox.h"

#include <atomic>
#include <cstdio>

namespace {

int StderrMessageBox(const char* text, const char* caption, unsigned)
{
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
    return IDOK;
}

std::atomic<TMessageBoxHandler> g_handler{&StderrMessageBox};

} // namespace

TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler h)
{
    return g_handler.exchange(h ? h : &StderrMessageBox);
}

int ShowMessageBoxText(const char* text, const char* caption, unsigned flags)
{
    return g_handler.load()(text, caption, flags);
}
