// Benchmark of the GUI core's canvas: a 1,000-row grid of text cells (fill, frame lines, text)
// drawn through TCanvas and through QPainter directly on the same image size. Prints both times
// and the ratio; the layer's overhead should stay under 20 %.
// Run: QT_QPA_PLATFORM=offscreen build-*/bench/bench_vcl_canvas
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

template <class F> double BestOf(int runs, F f) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        f();
        auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const Grid g = MakeGrid();
    const int w = kCols * kColW, h = kRows * kRowH;

    TBitmap bmp;
    bmp.SetSize(w, h);
    QImage direct(w, h, QImage::Format_RGB32);
    TFont font;
    const QFont qf = font.QtFont();

    // Warm up glyph caches for both.
    DrawCanvas(bmp.Canvas(), g);
    {
        QPainter p(&direct);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        DrawDirect(p, g, qf);
    }
    const int runs = 15;
    double tCanvas = BestOf(runs, [&] { DrawCanvas(bmp.Canvas(), g); });
    double tDirect = BestOf(runs, [&] {
        QPainter p(&direct);
        // The same hints the canvas sets: aliased figures and text.
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        DrawDirect(p, g, qf);
    });
    std::printf("grid %d rows x %d cells\n", kRows, kCols);
    std::printf("QPainter direct: %.2f ms\n", tDirect);
    std::printf("TCanvas:         %.2f ms\n", tCanvas);
    std::printf("ratio TCanvas/direct: %.3f (overhead %.1f %%)\n", tCanvas / tDirect,
                (tCanvas / tDirect - 1) * 100);
    return 0;
}
