// Benchmark of the script editor: TMPSyntaxMemo against QPlainTextEdit with a QSyntaxHighlighter
// colouring the same keywords and comments, on one 100,000-line script in the same run.
// Prints times and ratios (editor / Qt) for: load and tokenize; a keystroke in the middle with the
// repaint each widget asks for; scrolling one page with a repaint of the whole view; and the
// editor's heap per byte of script.
// Targets: load <= 1.0x; keystroke <= 1.0x and < 5 ms; page < 16 ms; memory <= 3x the script.
// Run: QT_QPA_PLATFORM=offscreen build-*/bench/bench_syntaxmemo
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSet>
#include <QSyntaxHighlighter>
#include <QTextCursor>

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_set>

#include "UnitSyntaxMemo.h"
#include "forms.h"
#include "handle.h"

namespace {

constexpr int kLines = 100000;
const char* const kMnemonics[] = {"mov", "add", "sub", "cmp", "jmp", "jz",  "jnz",  "call", "ret", "ld",
                                  "st",  "and", "or",  "xor", "shl", "shr", "push", "pop",  "in",  "out"};
const char* const kRegisters[] = {"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "sp", "acc"};

std::string MakeScript() {
    std::string s;
    for (int i = 0; i < kLines; ++i) {
        const char* m = kMnemonics[i % 20];
        const char* r = kRegisters[i % 10];
        switch (i % 8) {
        case 0: s += "    " + std::string(m) + " " + r + ", $1F      // mask"; break;
        case 1: s += "L" + std::to_string(i) + ": " + m + " " + r + ", r2"; break;
        case 2: s += "    jmp @l:" + std::to_string(i % 5000 + 1); break;
        case 3: s += "{ block comment"; break;
        case 4: s += "  goes on }  " + std::string(m) + " " + r; break;
        case 5: s += "    " + std::string(m) + " " + r + ", 1.5"; break;
        case 6: s += ""; break;
        default: s += "    " + std::string(m) + " (" + r + "), [sp]"; break;
        }
        s += "\r\n";
    }
    return s;
}

double Ms(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

size_t HeapInUse() {
    struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

class Highlighter : public QSyntaxHighlighter {
public:
    explicit Highlighter(QTextDocument* d) : QSyntaxHighlighter(d) {
        for (const char* m : kMnemonics)
            mnemonics.insert(QString::fromLatin1(m));
        for (const char* r : kRegisters)
            registers.insert(QString::fromLatin1(r));
        keyword.setForeground(Qt::darkBlue);
        keyword.setFontWeight(QFont::Bold);
        reg.setForeground(Qt::darkMagenta);
        comment.setForeground(Qt::darkGreen);
        comment.setBackground(QColor(0xC6, 0xDF, 0xC6));
    }
    int blocks = 0;

protected:
    void highlightBlock(const QString& text) override {
        ++blocks;
        int i = 0;
        const int n = int(text.size());
        bool inBlock = previousBlockState() == 1;
        setCurrentBlockState(0);
        while (i < n) {
            if (inBlock) {
                int e = int(text.indexOf(QLatin1Char('}'), i));
                int end = e < 0 ? n : e + 1;
                setFormat(i, end - i, comment);
                i = end;
                if (e < 0) {
                    setCurrentBlockState(1);
                    return;
                }
                inBlock = false;
                continue;
            }
            const QChar c = text[i];
            if (c == QLatin1Char('{')) {
                inBlock = true;
                continue;
            }
            if (c == QLatin1Char('/') && i + 1 < n && text[i + 1] == QLatin1Char('/')) {
                setFormat(i, n - i, comment);
                return;
            }
            if (c.isLetterOrNumber()) {
                int s = i;
                while (i < n && text[i].isLetterOrNumber())
                    ++i;
                const QString w = text.mid(s, i - s);
                if (mnemonics.contains(w))
                    setFormat(s, i - s, keyword);
                else if (registers.contains(w))
                    setFormat(s, i - s, reg);
                continue;
            }
            ++i;
        }
    }

private:
    QSet<QString> mnemonics, registers;
    QTextCharFormat keyword, reg, comment;
};

struct Result {
    double load = 0, key = 0, page = 0;
    size_t heap = 0;
};

Result RunMemo(const std::string& script) {
    Result r;
    TForm form(nullptr);
    form.SetBounds(0, 0, 800, 600);
    auto* memo = new TMPSyntaxMemo(&form);
    memo->SetParent(&form);
    memo->SetAlign(alClient);
    TFont f;
    f.SetName("Courier New");
    f.SetHeight(-16);
    memo->SetFont(&f);
    memo->SetGutterWidth(1);
    memo->SetShowRowNumbers(true);
    memo->AutoRowLink = true;
    std::unordered_set<std::string> mn(std::begin(kMnemonics), std::end(kMnemonics));
    std::unordered_set<std::string> rg(std::begin(kRegisters), std::end(kRegisters));
    memo->SetOnParseWord([&](TObject*, const std::string& w, int, int, TToken& t) {
        if (mn.count(w))
            t = 255;
        else if (rg.count(w))
            t = 254;
    });
    memo->SyntaxAttributes()->SetColor(255, false, 0x800000);
    memo->SyntaxAttributes()->SetStyle(255, mpsBold);
    memo->SyntaxAttributes()->SetColor(254, false, 0x800080);
    form.Show();
    QApplication::processEvents();
    QWidget* w = ClientWidget(memo);

    const size_t before = HeapInUse();
    auto t0 = std::chrono::steady_clock::now();
    {
        TStringStream s(script);
        memo->Lines()->LoadFromStream(&s);
    }
    w->repaint();
    auto t1 = std::chrono::steady_clock::now();
    r.load = Ms(t0, t1);
    r.heap = HeapInUse() - before;

    memo->GotoLine(10, kLines / 2 + 1);
    w->repaint();
    const int keys = 50;
    t0 = std::chrono::steady_clock::now();
    for (int k = 0; k < keys; ++k) {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
        QApplication::sendEvent(w, &down);
        QApplication::processEvents();
    }
    t1 = std::chrono::steady_clock::now();
    r.key = Ms(t0, t1) / keys;

    const int pages = 50;
    memo->SetTopRow(1000);
    w->repaint();
    t0 = std::chrono::steady_clock::now();
    for (int p = 0; p < pages; ++p) {
        memo->SetTopRow(memo->MoveLines(memo->TopRow(), memo->VisibleRows() - 1, true));
        w->repaint();
    }
    t1 = std::chrono::steady_clock::now();
    r.page = Ms(t0, t1) / pages;
    return r;
}

Result RunQt(const std::string& script) {
    Result r;
    QPlainTextEdit edit;
    edit.resize(800, 600);
    QFont font("Liberation Mono");
    font.setPixelSize(16);
    edit.setFont(font);
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    edit.show();
    QApplication::processEvents();
    const QString text = QString::fromLatin1(script.data(), qsizetype(script.size()));
    const size_t before = HeapInUse();
    auto t0 = std::chrono::steady_clock::now();
    auto* hl = new Highlighter(edit.document());
    edit.setPlainText(text);
    hl->rehighlight();
    edit.viewport()->repaint();
    auto t1 = std::chrono::steady_clock::now();
    r.load = Ms(t0, t1);
    r.heap = HeapInUse() - before;
    if (hl->blocks < kLines)
        std::printf("warning: Qt highlighted only %d blocks\n", hl->blocks);

    QTextCursor c(edit.document()->findBlockByNumber(kLines / 2));
    c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 10);
    edit.setTextCursor(c);
    edit.ensureCursorVisible();
    edit.viewport()->repaint();
    const int keys = 50;
    t0 = std::chrono::steady_clock::now();
    for (int k = 0; k < keys; ++k) {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
        QApplication::sendEvent(&edit, &down);
        QApplication::processEvents();
    }
    t1 = std::chrono::steady_clock::now();
    r.key = Ms(t0, t1) / keys;

    const int pages = 50;
    QScrollBar* bar = edit.verticalScrollBar();
    bar->setValue(1000);
    edit.viewport()->repaint();
    t0 = std::chrono::steady_clock::now();
    for (int p = 0; p < pages; ++p) {
        bar->setValue(bar->value() + bar->pageStep());
        edit.viewport()->repaint();
    }
    t1 = std::chrono::steady_clock::now();
    r.page = Ms(t0, t1) / pages;
    return r;
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication::QtApp();
    (void)argc;
    (void)argv;
    const std::string script = MakeScript();
    const Result m = RunMemo(script);
    const Result q = RunQt(script);
    std::printf("script: %d lines, %zu bytes\n", kLines, script.size());
    std::printf("load+tokenize   editor %8.2f ms   Qt %8.2f ms   ratio %.2fx (target <= 1.0x)\n", m.load,
                q.load, m.load / q.load);
    std::printf("keystroke       editor %8.3f ms   Qt %8.3f ms   ratio %.2fx (target <= 1.0x, < 5 ms)\n",
                m.key, q.key, m.key / q.key);
    std::printf("page scroll     editor %8.3f ms   Qt %8.3f ms   ratio %.2fx (target < 16 ms)\n", m.page,
                q.page, m.page / q.page);
    std::printf("memory          editor %8.2f MB   Qt %8.2f MB   editor/script %.2fx (target <= 3x)\n",
                double(m.heap) / 1e6, double(q.heap) / 1e6, double(m.heap) / double(script.size()));
    return 0;
}
