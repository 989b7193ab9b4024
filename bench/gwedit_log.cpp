// Benchmark of the main window's receive log: a read-only TGwRichEdit (framed, state colours)
// taking 100,000 Windows-1251 lines one by one through Lines()->Add, keeping the newest line in
// view, against a QPlainTextEdit taking the same lines through appendPlainText (each converted as
// it comes, as the log converts it), in the same run; each 640 x 300 in a window of that size,
// shown, and timed until painted. A warm round first, then three rounds in rotated order; medians.
// Prints both times and the ratio (Gw / Qt), and the platform's plain TRichEdit beside them (the
// Gw layer's share). Target: ratio <= 1.0.
// Run: QT_QPA_PLATFORM=offscreen taskset -c N build/bench/bench_gwedit_log [lines]
#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>
#include <vector>

#include "Gwmemo.h"
#include "cp1251.h"
#include "forms.h"
#include "paintwatch.h"
#include "handle.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// Lines as the serial receiver writes them (Windows-1251).
std::vector<std::string> MakeLines(int n) {
    std::vector<std::string> lines;
    lines.reserve(size_t(n));
    for (int i = 0; i < n; ++i)
        lines.push_back("[\xC8\xED\xF4\xEE\xF0\xEC\xE0\xF6\xE8\xFF]: COM" + std::to_string(i % 8 + 1) + ": " +
                        std::to_string(i) + " \xEA\xE0\xE4\xF0, " + std::to_string(16 + i % 1008) +
                        " \xE1\xE0\xE9\xF2");
    return lines;
}

// The log as the main window has it (Gw: framed, state colours), or the platform's plain rich edit,
// which tells the Gw layer's share from the platform's.
template <class T> double RunLog(const std::vector<std::string>& lines) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 640, 300);
    auto* log = new T(&form);
    log->SetParent(&form);
    log->SetAlign(alClient);
    log->SetColor(clInfoBk);
    log->SetReadOnly(true);
    log->SetScrollBars(ssVertical);
    if constexpr (std::is_same_v<T, TGwRichEdit>)
        log->SetFrameVisible(true);
    form.Show();
    QWidget* window = HandleWidget(&form)->window();
    Settle(window);
    auto t0 = Clock::now();
    for (const std::string& s : lines)
        log->Lines()->Add(s);
    Settle(window);
    auto t1 = Clock::now();
    if (log->Lines()->Count() != int(lines.size()) || log->Perform(EM_GETFIRSTVISIBLELINE, 0, 0) == 0)
        std::fprintf(stderr, "log: wrong line count or last line not in view\n");
    return Ms(t0, t1);
}

double RunQt(const std::vector<std::string>& lines) {
    QWidget window;
    window.resize(640, 300);
    auto* edit = new QPlainTextEdit(&window);
    edit->setGeometry(0, 0, 640, 300);
    edit->setReadOnly(true);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    window.show();
    Settle(&window);
    auto t0 = Clock::now();
    for (const std::string& s : lines)
        edit->appendPlainText(QString::fromStdU16String(Cp1251ToUtf16(s)));
    Settle(&window);
    auto t1 = Clock::now();
    if (edit->verticalScrollBar()->value() != edit->verticalScrollBar()->maximum())
        std::fprintf(stderr, "Qt log: last line not in view\n");
    return Ms(t0, t1);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    TApplication::QtApp();
    qApp->installEventFilter(&gWatch);
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    const std::vector<std::string> lines = MakeLines(n);
    std::vector<double> gw, plain, qt;
    std::vector<double>* times[] = {&qt, &gw, &plain};
    for (int round = 0; round < 4; ++round)
        for (int k = 0; k < 3; ++k) {
            const int side = (round + k) % 3;
            const double t = side == 0   ? RunQt(lines)
                             : side == 1 ? RunLog<TGwRichEdit>(lines)
                                         : RunLog<TRichEdit>(lines);
            if (round > 0)
                times[side]->push_back(t);
        }
    const double g = Median(gw), q = Median(qt), p = Median(plain);
    std::printf("append %d lines until painted (median of 3): TGwRichEdit %.0f ms, QPlainTextEdit %.0f ms, "
                "ratio %.2f "
                "(target <= 1.0); platform TRichEdit %.0f ms (Gw / platform %.2f)\n",
                n, g, q, g / q, p, g / p);
    return 0;
}
