// Benchmark of the Gw string grid against the platform's plain string grid in the same run: fill
// 50,000 rows x 8 columns and paint a page, then page down and repaint, each the best of five
// rounds. The Gw grid has its frame shown and hot-tracked, its own line colours and a frame
// controller. Prints both times and the ratios (target: ratio <= 1.1).
// Run: QT_QPA_PLATFORM=offscreen build-*/bench/bench_gw_grid
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "Gwgrids.h"
#include "forms.h"
#include "messages.h"

namespace {

constexpr int kRows = 50000, kCols = 8, kW = 640, kH = 480, kPages = 40, kRounds = 5;

using Clock = std::chrono::steady_clock;
double Ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
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
    double Fill = 1e30, Scroll = 1e30;
};

// One round on a fresh form: fill and paint a page, then page down and repaint kPages times.
template <class TGrid, class TSetup>
void Round(const std::vector<std::string>& Texts, TSetup Setup, TTimes& Best) {
    TBitmap page;
    page.SetSize(kW, kH);
    page.Canvas()->FillRect(TRect(0, 0, kW, kH)); // the canvas paints from here on
    auto t0 = Clock::now();
    TForm form(nullptr);
    form.SetBounds(0, 0, kW, kH);
    auto* grid = new TGrid(&form);
    grid->SetParent(&form);
    grid->SetAlign(alClient);
    Setup(grid);
    grid->SetDefaultRowHeight(18);
    grid->SetColCount(kCols + 1);
    grid->SetRowCount(kRows + 1);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            grid->SetCells(c + 1, r + 1, Texts[size_t(r * kCols + c)]);
    form.Show();
    grid->PaintTo(page.Canvas(), 0, 0);
    auto t1 = Clock::now();
    grid->SetFocus();
    for (int i = 0; i < kPages; ++i) {
        grid->Perform(WM_KEYDOWN, VK_NEXT, 0);
        grid->PaintTo(page.Canvas(), 0, 0);
    }
    auto t2 = Clock::now();
    gRow = grid->Row();
    Best.Fill = std::min(Best.Fill, Ms(t0, t1));
    Best.Scroll = std::min(Best.Scroll, Ms(t1, t2) / kPages);
}

} // namespace

int main() {
    TApplication::QtApp();
    const std::vector<std::string> texts = Texts();
    TGwFrameController controller(nullptr);
    controller.SetFrameColor(clNavy);
    TTimes plain, gw;
    for (int i = 0; i < kRounds; ++i) {
        Round<TStringGrid>(
            texts, [](TStringGrid*) {}, plain);
        Round<TGwStringGrid>(
            texts,
            [&](TGwStringGrid* g) {
                g->SetFrameController(&controller);
                g->SetFramingPreference(fpCustomFraming);
                g->SetFrameHotTrack(true);
                g->SetLineColor(clWindow);
                g->SetFixedLineColor(clNavy);
                g->SetFocusColor(clInfoBk);
            },
            gw);
    }
    std::printf("fill 50,000 x 8 and paint one page: TGwStringGrid %.1f ms, TStringGrid %.1f ms, ratio %.2f "
                "(target <= 1.1)\n",
                gw.Fill, plain.Fill, gw.Fill / plain.Fill);
    std::printf("page-down + repaint, mean of %d: TGwStringGrid %.2f ms, TStringGrid %.2f ms, ratio %.2f "
                "(target <= 1.1)\n",
                kPages, gw.Scroll, plain.Scroll, gw.Scroll / plain.Scroll);
    std::printf("both grids at row %d after the page-downs\n", gRow);
    return 0;
}
