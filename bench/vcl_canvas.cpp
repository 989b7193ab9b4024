// Benchmark of the GUI core's canvas: a 1,000-row grid of text cells (fill, frame lines, text)
// drawn through TCanvas and through QPainter directly on the same image size, a warm round first and
// then rounds in alternating order. Prints the medians and the ratio; the layer's overhead should
// stay under 20 %.
// Run: QT_QPA_PLATFORM=offscreen taskset -c N build/bench/bench_vcl_canvas
#include <QApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "cp1251.h"
#include "graphics.h"
#include "graphics_qt.h"

namespace {

constexpr int kRows = 1000, kCols = 5, kColW = 120, kRowH = 18;

struct Grid {
    std::vector<std::string> cells; // CP1251, as the program keeps its text
};

Grid MakeGrid() {
    Grid g;
    const char* words[] = {"Канал", "Параметр", "Значение", "Объект", "Период опроса"};
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            g.cells.push_back(std::string(words[c]) + " " + std::to_string(r * kCols + c));
    return g;
}

void DrawCanvas(TCanvas* cv, const Grid& g) {
    cv->Font()->SetName("MS Sans Serif");
    cv->Pen()->SetColor(clBtnShadow);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) {
            TRect cell = Bounds(c * kColW, r * kRowH, kColW, kRowH);
            cv->Brush()->SetStyle(bsSolid);
            cv->Brush()->SetColor(r % 2 ? clWindow : clInfoBk);
            cv->FillRect(cell);
            cv->MoveTo(cell.Right - 1, cell.Top);
            cv->LineTo(cell.Right - 1, cell.Bottom);
            cv->MoveTo(cell.Left, cell.Bottom - 1);
            cv->LineTo(cell.Right, cell.Bottom - 1);
            cv->Brush()->SetStyle(bsClear);
            cv->TextRect(TRect(cell.Left + 2, cell.Top + 2, cell.Right - 1, cell.Bottom - 1), cell.Left + 2,
                         cell.Top + 2, g.cells[size_t(r * kCols + c)]);
        }
}

void DrawDirect(QPainter& p, const Grid& g, const QFont& font) {
    p.setFont(font);
    QFontMetrics fm(font);
    const QColor shadow(128, 128, 128), window(255, 255, 255), info(255, 255, 225), text(0, 0, 0);
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) {
            QRect cell(c * kColW, r * kRowH, kColW, kRowH);
            p.fillRect(cell, r % 2 ? window : info);
            p.fillRect(QRect(cell.right(), cell.top(), 1, kRowH), shadow);
            p.fillRect(QRect(cell.left(), cell.bottom(), kColW, 1), shadow);
            std::u16string u = Cp1251ToUtf16(g.cells[size_t(r * kCols + c)]);
            QString s = QString::fromUtf16(u.data(), qsizetype(u.size()));
            QRect clip(cell.left() + 2, cell.top() + 2, kColW - 3, kRowH - 3);
            p.save();
            p.setClipRect(clip, Qt::IntersectClip);
            p.setPen(text);
            p.drawText(cell.left() + 2, cell.top() + 2 + fm.ascent(), s);
            p.restore();
        }
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <class F> double Ms(F f) {
    auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const Grid g = MakeGrid();
    const int w = kCols * kColW, h = kRows * kRowH;

    TBitmap bmp;
    bmp.SetSize(w, h);
    QImage image(w, h, QImage::Format_RGB32);
    TFont font;
    const QFont qf = font.QtFont();

    auto canvas = [&] { DrawCanvas(bmp.Canvas(), g); };
    auto direct = [&] {
        QPainter p(&image);
        // The same hints the canvas sets: aliased figures and text.
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        DrawDirect(p, g, qf);
    };
    // A warm round for both (glyph caches), then rounds in alternating order.
    canvas();
    direct();
    const int runs = 15;
    std::vector<double> tCanvas, tDirect;
    for (int i = 0; i < runs; ++i) {
        if (i % 2) {
            tCanvas.push_back(Ms(canvas));
            tDirect.push_back(Ms(direct));
        } else {
            tDirect.push_back(Ms(direct));
            tCanvas.push_back(Ms(canvas));
        }
    }
    std::printf("grid %d rows x %d cells\n", kRows, kCols);
    const double c = Median(tCanvas), d = Median(tDirect);
    std::printf("QPainter direct: %.2f ms (median of %d)\n", d, runs);
    std::printf("TCanvas:         %.2f ms\n", c);
    std::printf("ratio TCanvas/direct: %.3f (overhead %.1f %%; target < 20 %%)\n", c / d, (c / d - 1) * 100);
    return 0;
}
