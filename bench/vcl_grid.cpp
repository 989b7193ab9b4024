// Benchmark of the string grid against what a Qt developer writes, a QTableView over a
// QAbstractTableModel: 50,000 rows x 8 columns of Windows-1251 texts put into the control and
// the first page painted (the model keeps its own copy and converts a text when the view asks,
// as the grid converts when it paints); then page-downs pressed, each until painted. Both are
// 640 x 480 views with 18-pixel rows and 64-pixel columns in 672 x 544 windows, built afresh
// each round; a warm round first, then rounds in alternating order, medians printed with their
// ratio (target: ratio <= 1.0, page-down < 16 ms).
// Run: QT_QPA_PLATFORM=offscreen taskset -c N build/bench/bench_vcl_grid
#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "cp1251.h"
#include "forms.h"
#include "paintwatch.h"
#include "grids.h"
#include "handle.h"

namespace {

constexpr int kRows = 50000, kCols = 8, kW = 640, kH = 480, kRowH = 18, kColW = 64, kPages = 20, kRounds = 7;
// Each view sits at the top left of a window somewhat larger than itself.
constexpr int kWindowW = kW + 32, kWindowH = kH + 64;

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

// The rows as the program holds them; a text becomes a QString when the view asks for it.
class TextModel : public QAbstractTableModel {
public:
    void Fill(const std::vector<std::string>& texts) {
        beginResetModel();
        FTexts = texts;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kRows; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kCols; }
    QVariant data(const QModelIndex& i, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        return QString::fromStdU16String(Cp1251ToUtf16(FTexts[size_t(i.row() * kCols + i.column())]));
    }

private:
    std::vector<std::string> FTexts;
};

struct TTimes {
    std::vector<double> Fill, Page;
};

int gQtRow = 0, gGridRow = 0; // where the page-downs ended, to show they moved

void RunQt(const std::vector<std::string>& texts, TTimes& t) {
    auto t0 = Clock::now();
    QWidget window;
    window.resize(kWindowW, kWindowH);
    TextModel model;
    model.Fill(texts);
    auto* view = new QTableView(&window);
    view->setGeometry(0, 0, kW, kH);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(kRowH);
    view->verticalHeader()->setFixedWidth(kColW);
    view->horizontalHeader()->setDefaultSectionSize(kColW);
    view->horizontalHeader()->setFixedHeight(kRowH);
    view->setModel(&model);
    window.show();
    Settle(&window);
    auto t1 = Clock::now();
    view->setFocus();
    view->setCurrentIndex(model.index(0, 0));
    Settle(&window);
    auto t2 = Clock::now();
    for (int i = 0; i < kPages; ++i) {
        PressPageDown(view);
        Settle(&window);
    }
    auto t3 = Clock::now();
    gQtRow = view->currentIndex().row() + 1;
    t.Fill.push_back(Ms(t0, t1));
    t.Page.push_back(Ms(t2, t3) / kPages);
}

void RunGrid(const std::vector<std::string>& texts, TTimes& t) {
    auto t0 = Clock::now();
    TForm form(nullptr);
    form.SetBounds(0, 0, kWindowW, kWindowH);
    auto* grid = new TStringGrid(&form);
    grid->SetParent(&form);
    grid->SetBounds(0, 0, kW, kH);
    grid->SetDefaultRowHeight(kRowH);
    grid->SetDefaultColWidth(kColW);
    grid->SetColCount(kCols + 1);
    grid->SetRowCount(kRows + 1);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            grid->SetCells(c + 1, r + 1, texts[size_t(r * kCols + c)]);
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
    gGridRow = grid->Row();
    t.Fill.push_back(Ms(t0, t1));
    t.Page.push_back(Ms(t2, t3) / kPages);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    qApp->installEventFilter(&gWatch);
    const std::vector<std::string> texts = Texts();
    TTimes qt, grid, warm;
    RunQt(texts, warm);
    RunGrid(texts, warm);
    for (int round = 0; round < kRounds; ++round) {
        if (round % 2) {
            RunQt(texts, qt);
            RunGrid(texts, grid);
        } else {
            RunGrid(texts, grid);
            RunQt(texts, qt);
        }
    }
    const double gFill = Median(grid.Fill), qFill = Median(qt.Fill), gPage = Median(grid.Page),
                 qPage = Median(qt.Page);
    std::printf(
        "fill 50,000 x 8 and paint the first page (median of %d): TStringGrid %.1f ms, QTableView over a "
        "model %.1f ms, ratio %.2f (target <= 1.0)\n",
        kRounds, gFill, qFill, gFill / qFill);
    std::printf(
        "page-down until painted, mean of %d: TStringGrid %.2f ms (target < 16), QTableView %.2f ms, ratio "
        "%.2f; rows reached %d and %d\n",
        kPages, gPage, qPage, gPage / qPage, gGridRow, gQtRow);
    return 0;
}
