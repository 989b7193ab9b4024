// Benchmark of the main window's receive log: a read-only TGwRichEdit (framed, state colours)
// taking 100,000 lines one by one through Lines()->Add, keeping the newest line in view, against a
// QPlainTextEdit taking the same lines through appendPlainText, in the same run; each widget shown
// at the same size and painted at the end. Prints both times and the ratio (Gw / Qt), and the
// platform's plain TRichEdit beside them (the Gw layer's share).
// Target: ratio <= 1.0.
// Run: QT_QPA_PLATFORM=offscreen build-*/bench/bench_gwedit_log [lines]
#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>
#include <vector>

#include "Gwmemo.h"
#include "cp1251.h"
#include "forms.h"

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
    QApplication::processEvents();
    auto t0 = Clock::now();
    for (const std::string& s : lines)
        log->Lines()->Add(s);
    QApplication::processEvents();
    auto t1 = Clock::now();
    if (log->Lines()->Count() != int(lines.size()) || log->Perform(EM_GETFIRSTVISIBLELINE, 0, 0) == 0)
        std::fprintf(stderr, "log: wrong line count or last line not in view\n");
    return Ms(t0, t1);
}

double RunQt(const std::vector<std::string>& lines) {
    std::vector<QString> texts;
    texts.reserve(lines.size());
    for (const std::string& s : lines)
        texts.push_back(QString::fromStdString(Cp1251ToUtf8(s)));
    QPlainTextEdit edit;
    edit.setReadOnly(true);
    edit.resize(640, 300);
    edit.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit.show();
    QApplication::processEvents();
    auto t0 = Clock::now();
    for (const QString& s : texts)
        edit.appendPlainText(s);
    QApplication::processEvents();
    auto t1 = Clock::now();
    if (edit.verticalScrollBar()->value() != edit.verticalScrollBar()->maximum())
        std::fprintf(stderr, "Qt log: last line not in view\n");
    return Ms(t0, t1);
}

} // namespace

int main(int argc, char** argv) {
    TApplication::QtApp();
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    const std::vector<std::string> lines = MakeLines(n);
    // Each side twice, interleaved; the better run of each counts.
    double gw = 1e300, plain = 1e300, qt = 1e300;
    for (int round = 0; round < 2; ++round) {
        qt = std::min(qt, RunQt(lines));
        gw = std::min(gw, RunLog<TGwRichEdit>(lines));
        plain = std::min(plain, RunLog<TRichEdit>(lines));
    }
    std::printf("append %d lines: TGwRichEdit %.0f ms, QPlainTextEdit %.0f ms, ratio %.2f (target <= 1.0); "
                "platform TRichEdit %.0f ms (Gw / platform %.2f)\n",
                n, gw, qt, gw / qt, plain, gw / plain);
    return 0;
}
