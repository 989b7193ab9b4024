// Benchmark of the Gw string grid against the platform's plain string grid in the same run: fill
// 50,000 rows x 8 columns and paint the first page, then page-downs pressed, each until painted.
// Both grids 640 x 480 in 672 x 544 windows, built afresh each round; a warm round first, then
// rounds in alternating order, medians. The Gw grid has its frame shown and hot-tracked, its own
// line colours and a frame controller. Prints both times and the ratios (target: ratio <= 1.1).
// Run: QT_QPA_PLATFORM=offscreen taskset -c N build/bench/bench_gw_grid
#include <QApplication>
#include <QKeyEvent>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "Gwgrids.h"
#include "forms.h"
#include "paintwatch.h"
#include "handle.h"

namespace {

constexpr int kRows = 50000, kCols = 8, kW = 640, kH = 480, kPages = 20, kRounds = 7;

using Clock = std::chrono::steady_clock;
double Ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::vector<std::string> Texts() {
    const char* words[] = {"Канал", "Параметр", "Значение", "Объект", "Период", "Адрес", "Тип", "Шкала"};
    std::vector<std::string> t;
    t.reserve(size_t(kRows) * kCols);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            t.push_back(std::string(words[c]) + " " + std::to_string(r * kCols + c));
    return t;
}

int gRow = 0; // where the last grid ended, to show the page-downs moved

struct TTimes {
    std::vector<double> Fill, Page;
};

// One round on a fresh form: fill and paint the first page, then page down kPages times.
template <class TGrid, class TSetup>
void Round(const std::vector<std::string>& Texts, TSetup Setup, TTimes& Times) {
    auto t0 = Clock::now();
    TForm form(nullptr);
    form.SetBounds(0, 0, kW + 32, kH + 64);
    auto* grid = new TGrid(&form);
    grid->SetParent(&form);
    grid->SetBounds(0, 0, kW, kH);
    Setup(grid);
    grid->SetDefaultRowHeight(18);
    grid->SetColCount(kCols + 1);
    grid->SetRowCount(kRows + 1);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            grid->SetCells(c + 1, r + 1, Texts[size_t(r * kCols + c)]);
    form.Show();
    QWidget* window = HandleWidget(&form)->window();
    Settle(window);
    auto t1 = Clock::now();
    grid->SetFocus();
    Settle(window);
    auto t2 = Clock::now();
    for (int i = 0; i < kPages; ++i) {
        PressPageDown(ClientWidget(grid));
        Settle(window);
    }
    auto t3 = Clock::now();
    gRow = grid->Row();
    Times.Fill.push_back(Ms(t0, t1));
    Times.Page.push_back(Ms(t2, t3) / kPages);
}

} // namespace

int main() {
    TApplication::QtApp();
    qApp->installEventFilter(&gWatch);
    const std::vector<std::string> texts = Texts();
    TGwFrameController controller(nullptr);
    controller.SetFrameColor(clNavy);
    auto plainSetup = [](TStringGrid*) {};
    auto gwSetup = [&](TGwStringGrid* g) {
        g->SetFrameController(&controller);
        g->SetFramingPreference(fpCustomFraming);
        g->SetFrameHotTrack(true);
        g->SetLineColor(clWindow);
        g->SetFixedLineColor(clNavy);
        g->SetFocusColor(clInfoBk);
    };
    TTimes plain, gw, warm;
    Round<TStringGrid>(texts, plainSetup, warm);
    Round<TGwStringGrid>(texts, gwSetup, warm);
    for (int i = 0; i < kRounds; ++i) {
        if (i % 2) {
            Round<TStringGrid>(texts, plainSetup, plain);
            Round<TGwStringGrid>(texts, gwSetup, gw);
        } else {
            Round<TGwStringGrid>(texts, gwSetup, gw);
            Round<TStringGrid>(texts, plainSetup, plain);
        }
    }
    const double gFill = Median(gw.Fill), pFill = Median(plain.Fill), gPage = Median(gw.Page),
                 pPage = Median(plain.Page);
    std::printf("fill 50,000 x 8 and paint the first page (median of %d): TGwStringGrid %.1f ms, TStringGrid "
                "%.1f ms, "
                "ratio %.2f (target <= 1.1)\n",
                kRounds, gFill, pFill, gFill / pFill);
    std::printf("page-down until painted, mean of %d: TGwStringGrid %.2f ms, TStringGrid %.2f ms, ratio %.2f "
                "(target <= 1.1)\n",
                kPages, gPage, pPage, gPage / pPage);
    std::printf("both grids at row %d after the page-downs\n", gRow);
    return 0;
}
