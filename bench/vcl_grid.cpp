// Benchmark of the string grid: 50,000 rows x 8 columns filled with text and one page painted,
// against a QTableWidget holding the same texts in the same run; then a page-down and the repaint
// of the new page. Prints the times and the ratio (target: ratio <= 1.0, page-down repaint < 16 ms).
// Run: QT_QPA_PLATFORM=offscreen build-*/bench/bench_vcl_grid
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableWidget>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "cp1251.h"
#include "forms.h"
#include "grids.h"
#include "handle.h"

namespace {

constexpr int kRows = 50000, kCols = 8, kW = 640, kH = 480, kPages = 40;

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

void PressPageDown(QWidget* w) {
    QKeyEvent down(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(w, &up);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::vector<std::string> texts = Texts();

    // Qt's table: the texts converted once at the boundary, as the layer converts them when painting.
    auto q0 = Clock::now();
    QTableWidget table(kRows, kCols);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            table.setItem(
                r, c,
                new QTableWidgetItem(QString::fromStdU16String(Cp1251ToUtf16(texts[size_t(r * kCols + c)]))));
    table.resize(kW, kH);
    table.show();
    QImage qPage = table.grab().toImage();
    auto q1 = Clock::now();
    for (int i = 0; i < kPages; ++i) {
        PressPageDown(table.viewport());
        table.viewport()->grab();
    }
    auto q2 = Clock::now();

    auto g0 = Clock::now();
    auto* form = new TForm(nullptr);
    form->SetBounds(0, 0, kW, kH);
    auto* grid = new TStringGrid(form);
    grid->SetParent(form);
    grid->SetAlign(alClient);
    grid->SetDefaultRowHeight(18);
    grid->SetColCount(kCols + 1);
    grid->SetRowCount(kRows + 1);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            grid->SetCells(c + 1, r + 1, texts[size_t(r * kCols + c)]);
    form->Show();
    QImage gPage = ClientWidget(grid)->grab().toImage();
    auto g1 = Clock::now();
    grid->SetFocus();
    for (int i = 0; i < kPages; ++i) {
        PressPageDown(ClientWidget(grid));
        ClientWidget(grid)->grab();
    }
    auto g2 = Clock::now();

    double qFill = Ms(q0, q1), gFill = Ms(g0, g1);
    std::printf("fill 50,000 x 8 and paint one page: TStringGrid %.1f ms, QTableWidget %.1f ms, ratio %.2f "
                "(target <= 1.0)\n",
                gFill, qFill, gFill / qFill);
    std::printf("page-down + repaint, mean of %d: TStringGrid %.2f ms (target < 16), QTableWidget %.2f ms; "
                "grid at row %d\n",
                kPages, Ms(g1, g2) / kPages, Ms(q1, q2) / kPages, grid->Row());
    delete form;
    return 0;
}
