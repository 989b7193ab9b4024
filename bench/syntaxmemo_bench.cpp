// Benchmark of the script editor: TMPSyntaxMemo against QPlainTextEdit with one QSyntaxHighlighter
// colouring the same keywords and comments, on one 100,000-line script in the same run.
// Both get the same work: the same lines, a 16-pixel monospaced font, the same number of whole
// rows in view, and for a page the same number of lines scrolled (a page down: rows in view - 1).
// Every measure runs once untimed on both (warm: fonts, allocator, Qt's block layouts), then in
// rounds whose order alternates (editor first, then Qt first); the median round is printed.
// Measures: load (text in and coloured, then one repaint); the tokenizer alone (every line
// tokenized again against one QSyntaxHighlighter pass over every block); a keystroke in the
// middle with the repaint each widget asks for; a page scroll with the repaint of the view; and
// the heap per byte of script.
// Targets: load <= 1.0x; keystroke <= 1.0x and < 5 ms; page <= 1.0x and < 16 ms; memory <= 3x.
// Run: QT_QPA_PLATFORM=offscreen taskset -c N build-*/bench/bench_syntaxmemo
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSet>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextCursor>

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_set>
#include <vector>

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

// Median of the rounds.
double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

constexpr int kRounds = 7;
constexpr int kKeys = 50;
constexpr int kPages = 50;
constexpr int kPageStart = 1000; // the line shown at the top when a page run starts

// Our editor on a form, as the subprogram page sets it up.
class MemoSide {
public:
    MemoSide() : form(nullptr) {
        form.SetBounds(0, 0, 800, 600);
        memo = new TMPSyntaxMemo(&form);
        memo->SetParent(&form);
        memo->SetAlign(alClient);
        TFont f;
        f.SetName("Courier New");
        f.SetHeight(-16);
        memo->SetFont(&f);
        memo->SetGutterWidth(1);
        memo->SetShowRowNumbers(true);
        memo->AutoRowLink = true;
        memo->SetOnParseWord([this](TObject*, const std::string& w, int, int, TToken& t) {
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
        w = ClientWidget(memo);
    }
    int Rows() const { return memo->VisibleRows(); }
    void Load(const std::string& script) {
        TStringStream s(script);
        memo->Lines()->LoadFromStream(&s);
        w->repaint();
    }
    void Tokenize() {
        // A change of the attributes tokenizes every line again (what a new colour scheme costs).
        const TMPSyntaxAttributes same(*memo->SyntaxAttributes());
        memo->SyntaxAttributes()->Assign(&same);
    }
    void StartKeys() {
        memo->GotoLine(10, kLines / 2 + 1);
        w->repaint();
    }
    void Key() {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
        QApplication::sendEvent(w, &down);
        QApplication::processEvents();
    }
    void StartPages() {
        memo->SetTopRow(kPageStart);
        w->repaint();
    }
    void Page() {
        memo->SetTopRow(memo->MoveLines(memo->TopRow(), Rows() - 1, true));
        w->repaint();
    }
    int TopLine() const { return memo->TopRow(); }

    TForm form;
    TMPSyntaxMemo* memo;
    QWidget* w;
    std::unordered_set<std::string> mn{std::begin(kMnemonics), std::end(kMnemonics)};
    std::unordered_set<std::string> rg{std::begin(kRegisters), std::end(kRegisters)};
};

// QPlainTextEdit with its block geometry readable, to count the rows it shows.
class PlainEdit : public QPlainTextEdit {
public:
    using QPlainTextEdit::blockBoundingGeometry;
    using QPlainTextEdit::contentOffset;
    using QPlainTextEdit::firstVisibleBlock;
};

// QPlainTextEdit as its users write it: the highlighter attached to the document before the text
// goes in, so every block is highlighted once.
class QtSide {
public:
    explicit QtSide(int rows) {
        edit.resize(800, 600);
        QFont font("Liberation Mono");
        font.setPixelSize(16);
        edit.setFont(font);
        edit.setLineWrapMode(QPlainTextEdit::NoWrap);
        edit.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        edit.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        hl = new Highlighter(edit.document());
        edit.show();
        QApplication::processEvents();
        target = rows;
    }
    // Whole blocks in the viewport from the first visible one.
    int Rows() {
        int n = 0;
        const int height = edit.viewport()->height();
        for (QTextBlock b = edit.firstVisibleBlock(); b.isValid(); b = b.next()) {
            const QRectF r = edit.blockBoundingGeometry(b).translated(edit.contentOffset());
            if (r.bottom() > height)
                break;
            ++n;
        }
        return n;
    }
    // Sizes the edit so that it shows as many whole rows as ours.
    void FitRows() {
        for (int step = 0; step < 20 && Rows() != target; ++step) {
            const int line = int(edit.blockBoundingGeometry(edit.firstVisibleBlock()).height());
            edit.resize(edit.width(), edit.height() + (target - Rows()) * line + (Rows() > target ? -1 : 1));
            QApplication::processEvents();
        }
    }
    void Load(const QString& text) {
        edit.setPlainText(text);
        edit.viewport()->repaint();
    }
    void Tokenize() { hl->rehighlight(); }
    void StartKeys() {
        QTextCursor c(edit.document()->findBlockByNumber(kLines / 2));
        c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 10);
        edit.setTextCursor(c);
        edit.ensureCursorVisible();
        edit.viewport()->repaint();
    }
    void Key() {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
        QApplication::sendEvent(&edit, &down);
        QApplication::processEvents();
    }
    void StartPages() {
        edit.verticalScrollBar()->setValue(kPageStart);
        edit.viewport()->repaint();
    }
    void Page() {
        QScrollBar* bar = edit.verticalScrollBar();
        bar->setValue(bar->value() + target - 1);
        edit.viewport()->repaint();
    }
    int TopLine() const { return edit.firstVisibleBlock().blockNumber(); }

    PlainEdit edit;
    Highlighter* hl;
    int target = 0;
};

template <class F> double Timed(F f) {
    auto t0 = std::chrono::steady_clock::now();
    f();
    return Ms(t0, std::chrono::steady_clock::now());
}

// One measure on both sides: an untimed warm run, then kRounds in alternating order; medians.
template <class M, class Q> std::pair<double, double> Rotated(M memo, Q qt) {
    memo();
    qt();
    std::vector<double> m, q;
    for (int r = 0; r < kRounds; ++r) {
        if (r % 2 == 0) {
            m.push_back(memo());
            q.push_back(qt());
        } else {
            q.push_back(qt());
            m.push_back(memo());
        }
    }
    return {Median(m), Median(q)};
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication::QtApp();
    (void)argc;
    (void)argv;
    const std::string script = MakeScript();
    const QString text = QString::fromLatin1(script.data(), qsizetype(script.size()));

    // Load: a fresh pair of widgets for every round, so each load meets an empty widget.
    std::vector<double> lm, lq;
    size_t heapMemo = 0, heapQt = 0;
    const int rows = MemoSide().Rows();
    for (int r = 0; r <= kRounds; ++r) {
        auto memo = [&] {
            MemoSide side;
            const size_t before = HeapInUse();
            const double t = Timed([&] { side.Load(script); });
            heapMemo = HeapInUse() - before;
            return t;
        };
        auto qt = [&] {
            QtSide side(rows);
            const size_t before = HeapInUse();
            const double t = Timed([&] { side.Load(text); });
            heapQt = HeapInUse() - before;
            // One pass: every block once, and the empty block the document had before the text.
            if (side.hl->blocks < side.edit.document()->blockCount() ||
                side.hl->blocks > side.edit.document()->blockCount() + 1)
                std::printf("warning: Qt highlighted %d blocks of %d\n", side.hl->blocks,
                            side.edit.document()->blockCount());
            return t;
        };
        const double a = r % 2 ? qt() : memo(), b = r % 2 ? memo() : qt();
        if (r == 0)
            continue; // warm
        lm.push_back(r % 2 ? b : a);
        lq.push_back(r % 2 ? a : b);
    }

    MemoSide m;
    m.Load(script);
    QtSide q(rows);
    q.Load(text);
    q.FitRows();
    q.hl->blocks = 0;
    const auto tok =
        Rotated([&] { return Timed([&] { m.Tokenize(); }); }, [&] { return Timed([&] { q.Tokenize(); }); });
    if (q.hl->blocks != (kRounds + 1) * q.edit.document()->blockCount())
        std::printf("warning: Qt highlighted %d blocks in %d passes\n", q.hl->blocks, kRounds + 1);
    m.StartKeys();
    q.StartKeys();
    const auto key = Rotated(
        [&] {
            return Timed([&] {
                       for (int k = 0; k < kKeys; ++k)
                           m.Key();
                   }) /
                   kKeys;
        },
        [&] {
            return Timed([&] {
                       for (int k = 0; k < kKeys; ++k)
                           q.Key();
                   }) /
                   kKeys;
        });
    int lastMemo = 0, lastQt = 0;
    const auto page = Rotated(
        [&] {
            m.StartPages();
            const double t = Timed([&] {
                for (int p = 0; p < kPages; ++p)
                    m.Page();
            });
            lastMemo = m.TopLine();
            return t / kPages;
        },
        [&] {
            q.StartPages();
            const double t = Timed([&] {
                for (int p = 0; p < kPages; ++p)
                    q.Page();
            });
            lastQt = q.TopLine();
            return t / kPages;
        });

    std::printf(
        "script: %d lines, %zu bytes; %d whole rows in view on both (Qt %d); a page scrolls %d lines\n",
        kLines, script.size(), rows, q.Rows(), rows - 1);
    std::printf("after %d pages from line %d: editor top line %d, Qt top line %d\n", kPages, kPageStart + 1,
                lastMemo + 1, lastQt + 1);
    std::printf("medians of %d rounds in alternating order after a warm run\n", kRounds);
    const double load = Median(lm), loadQt = Median(lq);
    std::printf("load+colour     editor %8.2f ms   Qt %8.2f ms   ratio %.2fx (target <= 1.0x)\n", load,
                loadQt, load / loadQt);
    std::printf("tokenize all    editor %8.2f ms   Qt %8.2f ms   ratio %.2fx (Qt: one highlighter pass)\n",
                tok.first, tok.second, tok.first / tok.second);
    std::printf("keystroke       editor %8.3f ms   Qt %8.3f ms   ratio %.2fx (target <= 1.0x, < 5 ms)\n",
                key.first, key.second, key.first / key.second);
    std::printf("page scroll     editor %8.3f ms   Qt %8.3f ms   ratio %.2fx (target <= 1.0x, < 16 ms)\n",
                page.first, page.second, page.first / page.second);
    std::printf("memory          editor %8.2f MB   Qt %8.2f MB   editor/script %.2fx (target <= 3x)\n",
                double(heapMemo) / 1e6, double(heapQt) / 1e6, double(heapMemo) / double(script.size()));
    return 0;
}
