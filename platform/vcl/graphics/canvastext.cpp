// Text on TCanvas: the CP1251 and symbol-font mapping at the Qt boundary, text cells placed by
// SetTextAlign, and DrawText with the DT_ flags. GUI core.
#include "graphics.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QStringList>
#include <QTextLayout>

#include <algorithm>

#include "cp1251.h"
#include "graphics_qt.h"

namespace {

QColor QRef(COLORREF c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

QRect QR(int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); }

// Shaping a string costs more than drawing its glyphs, and a window draws the same words again and
// again: the glyphs of the strings drawn lately are kept per font, with the baseline at 0, shaped as
// drawText shapes them (one line, no wrapping, the painter's device and direction).
struct TShapeKey {
    QFont font;
    QString text;
    int dpi;
    Qt::LayoutDirection direction;
    bool operator==(const TShapeKey&) const = default;
};

size_t qHash(const TShapeKey& k, size_t seed = 0) {
    return qHashMulti(seed, k.font, k.text, k.dpi, int(k.direction));
}

struct TShaped {
    QList<QGlyphRun> runs;
    QRectF bounds; // of every glyph, from the baseline origin
};

const TShaped& ShapedRuns(QPainter* p, const QString& s) {
    static QHash<TShapeKey, TShaped> cache;
    constexpr qsizetype kMaxStrings = 8192;
    const QFont& font = p->font();
    const TShapeKey key{font, s, p->device()->logicalDpiY(), p->layoutDirection()};
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    if (cache.size() >= kMaxStrings)
        cache.clear();
    QTextLayout layout(s, font, p->device());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(p->layoutDirection());
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
    TShaped shaped{layout.glyphRuns(), {}};
    for (QGlyphRun& run : shaped.runs) {
        QList<QPointF> at = run.positions();
        for (QPointF& q : at)
            q.ry() -= line.ascent();
        run.setPositions(at);
        shaped.bounds |= run.boundingRect();
    }
    return *cache.insert(key, shaped);
}

// Measuring shapes the whole string each time, and the forms measure the same strings in the same
// fonts over and over (a label at each change of its parent's font, a caption before it is drawn):
// widths are kept per font, as the metrics of one canvas font give them.
struct TAdvanceKey {
    QFont font;
    QString text;
    bool operator==(const TAdvanceKey&) const = default;
};

size_t qHash(const TAdvanceKey& k, size_t seed = 0) { return qHashMulti(seed, k.font, k.text); }

int Advance(const QFontMetrics& fm, const QFont& font, const QString& s) {
    static QHash<TAdvanceKey, int> cache;
    constexpr qsizetype kMaxStrings = 8192;
    TAdvanceKey key{font, s};
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    if (cache.size() >= kMaxStrings)
        cache.clear();
    return *cache.insert(key, fm.horizontalAdvance(s));
}

} // namespace

// ---------------------------------------------------------------- text

std::u16string FontText(const TFont& f, const std::string& text) {
    if (f.IsWingdings() || f.IsMarlett()) {
        struct Glyph {
            unsigned char code;
            char16_t u;
        };
        static const Glyph kWingdings[] = {
            {0xA8, u'\u2610'}, {0xFE, u'\u2611'}, {0xFD, u'\u2612'}, {0xFC, u'\u2713'},
            {0xFB, u'\u2717'}, {0x6C, u'\u25CF'}, {0x6E, u'\u25A0'}, {0x6F, u'\u25A1'},
        };
        static const Glyph kMarlett[] = {
            {'r', u'\u2715'}, {'0', u'\u2581'}, {'1', u'\u25A1'}, {'2', u'\u2750'}, {'3', u'\u25C2'},
            {'4', u'\u25B8'}, {'5', u'\u25B4'}, {'6', u'\u25BE'}, {'a', u'\u2713'}, {'h', u'\u2026'},
            {'n', u'\u25CF'}, {'u', u'\u25BE'}, {'t', u'\u25B4'},
        };
        const Glyph* map = f.IsWingdings() ? kWingdings : kMarlett;
        size_t n = f.IsWingdings() ? std::size(kWingdings) : std::size(kMarlett);
        std::u16string out;
        for (unsigned char ch : text) {
            char16_t u = char16_t(Cp1251ToUnicode(ch));
            for (size_t i = 0; i < n; ++i)
                if (map[i].code == ch)
                    u = map[i].u;
            out += u;
        }
        return out;
    }
    return Cp1251ToUtf16(text);
}

QString ToQString(const std::string& s) {
    std::u16string u = Cp1251ToUtf16(s);
    return QString::fromUtf16(u.data(), qsizetype(u.size()));
}

std::string FromQString(const QString& s) {
    return Utf16ToCp1251(std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()), size_t(s.size())));
}

TQtString TCanvas::ToQt(const std::string& text) const {
    std::u16string u = FontText(DrawFont(), text);
    return QString::fromUtf16(u.data(), qsizetype(u.size()));
}

// Measuring needs no painter: a canvas without a device still knows its font.
TSize TCanvas::TextExtent(const std::string& text) {
    RequiredPainter();
    SelectFont();
    return TSize(Advance(*FQt->Metrics, FQt->MetricsFont, ToQt(text)), FQt->Metrics->height());
}

// Draws one line of text whose cell's top-left is (x, y) (after alignment), in the text colour,
// on the background colour when the mode is opaque.
void TCanvas::DrawTextLine(int x, int y, const TQtString& s, int width, bool opaque, const TQtRect* clip) {
    const QPointF baseline(x, y + FQt->Metrics->ascent());
    const QFont& font = FQt->Painter->font();
    // Glyph runs leave underline and strike-out out: such text is drawn as the painter draws it.
    const bool lines = font.underline() || font.strikeOut();
    const TShaped* shaped = lines ? nullptr : &ShapedRuns(FQt->Painter, s);
    // Glyphs that lie inside the clip box need no clipping.
    const bool clipped =
        clip && !(shaped && !opaque && QRectF(*clip).contains(shaped->bounds.translated(baseline)));
    if (clipped) {
        FQt->Painter->save();
        FQt->Painter->setClipRect(*clip, Qt::IntersectClip);
    }
    if (opaque)
        FQt->Painter->fillRect(QRect(x, y, width, FQt->Metrics->height()), QRef(FBkColor));
    FQt->Painter->setPen(QRef(FTextColor));
    if (shaped) {
        for (const QGlyphRun& run : shaped->runs)
            FQt->Painter->drawGlyphRun(baseline, run);
    } else {
        FQt->Painter->drawText(baseline, s);
    }
    if (clipped)
        FQt->Painter->restore();
}

// Where the cell's top-left lies from the reference point that SetTextAlign names.
void TCanvas::AlignOffset(int width, int& ox, int& oy) const {
    ox = oy = 0;
    switch (FTextAlign & TA_CENTER) {
    case TA_RIGHT: ox = -width; break;
    case TA_CENTER: ox = -width / 2; break;
    default: break;
    }
    switch (FTextAlign & TA_BASELINE) {
    case TA_BASELINE: oy = -FQt->Metrics->ascent(); break;
    case TA_BOTTOM: oy = -FQt->Metrics->height(); break;
    default: break;
    }
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    if (!RequiredPainter())
        return;
    Changing();
    SelectFont();
    SelectBrush();
    QString s = ToQt(text);
    int w = Advance(*FQt->Metrics, FQt->MetricsFont, s);
    bool updateCp = (FTextAlign & TA_UPDATECP) != 0;
    if (updateCp) {
        x = FPenPos.x;
        y = FPenPos.y;
    }
    int ox, oy;
    AlignOffset(w, ox, oy);
    if (DrawFont().Orientation() != 0) {
        FQt->Painter->save();
        FQt->Painter->translate(x, y);
        FQt->Painter->rotate(-DrawFont().Orientation() / 10.0);
        DrawTextLine(ox, oy, s, w, FBkMode == OPAQUE, nullptr);
        FQt->Painter->restore();
    } else {
        DrawTextLine(x + ox, y + oy, s, w, FBkMode == OPAQUE, nullptr);
    }
    if (updateCp)
        FPenPos.x = (FTextAlign & TA_CENTER) == TA_RIGHT ? x - w : x + w;
    else
        FPenPos = TPoint(x + w, y);
    Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
    if (!RequiredPainter())
        return;
    Changing();
    SelectFont();
    SelectBrush();
    TQtRect box = QR(r.Left, r.Top, r.Right, r.Bottom);
    if (FBrush->Style() != bsClear)
        FQt->Painter->fillRect(box, QRef(FBkColor));
    QString s = ToQt(text);
    // Measuring costs as much as drawing: only a right or centred reference point needs the width.
    int ox, oy;
    AlignOffset((FTextAlign & TA_CENTER) ? Advance(*FQt->Metrics, FQt->MetricsFont, s) : 0, ox, oy);
    DrawTextLine(x + ox, y + oy, s, 0, false, &box);
    Changed();
}

void TCanvas::GetTextMetrics(TEXTMETRIC& tm) {
    RequiredPainter();
    SelectFont();
    const TFont& font = DrawFont();
    const QFont& f = font.QtFont();
    tm = TEXTMETRIC();
    tm.tmHeight = FQt->Metrics->height();
    tm.tmAscent = FQt->Metrics->ascent();
    tm.tmDescent = FQt->Metrics->descent();
    int em = f.pixelSize() > 0 ? f.pixelSize() : tm.tmHeight;
    tm.tmInternalLeading = std::max(0, tm.tmHeight - em);
    tm.tmExternalLeading = std::max(0, FQt->Metrics->leading());
    tm.tmAveCharWidth = FQt->Metrics->averageCharWidth();
    tm.tmMaxCharWidth = FQt->Metrics->maxWidth();
    tm.tmWeight = font.Style().Contains(fsBold) ? 700 : 400;
    tm.tmItalic = font.Style().Contains(fsItalic);
    tm.tmUnderlined = font.Style().Contains(fsUnderline);
    tm.tmStruckOut = font.Style().Contains(fsStrikeOut);
    FaceTraits(font, tm.tmPitchAndFamily, tm.tmCharSet);
}

unsigned TCanvas::SetTextAlign(unsigned align) {
    unsigned old = FTextAlign;
    FTextAlign = align;
    return old;
}

COLORREF TCanvas::SetTextColor(COLORREF c) {
    if (FQt->Painter)
        SelectFont();
    COLORREF old = FTextColor;
    FTextColor = c & 0xFFFFFF;
    return old;
}

COLORREF TCanvas::SetBkColor(COLORREF c) {
    SelectBrush();
    COLORREF old = FBkColor;
    FBkColor = c & 0xFFFFFF;
    return old;
}

int TCanvas::SetBkMode(int mode) {
    SelectBrush();
    int old = FBkMode;
    if (mode == TRANSPARENT || mode == OPAQUE)
        FBkMode = mode;
    return old;
}

// ---------------------------------------------------------------- DrawText

namespace {

struct TextLine {
    QString text;
    int underline = -1; // index of the character after a single '&'
};

// Removes '&' prefixes ("&&" is a literal ampersand) and notes the underlined character.
TextLine StripPrefix(const QString& s, bool keepPrefix) {
    TextLine out;
    if (keepPrefix) {
        out.text = s;
        return out;
    }
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'&') {
            if (i + 1 < s.size() && s[i + 1] == u'&') {
                out.text += u'&';
                ++i;
                continue;
            }
            if (i + 1 < s.size())
                out.underline = int(out.text.size());
            continue;
        }
        out.text += s[i];
    }
    return out;
}

} // namespace

int TCanvas::DrawText(const std::string& text, TRect& r, unsigned flags) {
    if (!RequiredPainter() && !(flags & DT_CALCRECT))
        return 0;
    SelectFont();
    SelectBrush();
    const QFontMetrics& fm = *FQt->Metrics;
    const int lineH = fm.height() + ((flags & DT_EXTERNALLEADING) ? fm.leading() : 0);
    const int tabW = 8 * std::max(1, fm.averageCharWidth());
    auto width = [&](const QString& s) {
        if (!(flags & DT_EXPANDTABS) || !s.contains(u'\t'))
            return Advance(fm, FQt->MetricsFont, s);
        // Each tab moves to the next stop; the text before the first one starts at 0.
        const QStringList parts = s.split(u'\t');
        int w = 0;
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i)
                w = (w / tabW + 1) * tabW;
            w += Advance(fm, FQt->MetricsFont, parts[i]);
        }
        return w;
    };

    QString all = ToQt(text);
    std::vector<TextLine> lines;
    {
        QStringList raw;
        if (flags & DT_SINGLELINE) {
            QString one = all;
            one.remove(u'\r');
            one.remove(u'\n');
            raw << one;
        } else {
            all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            all.replace(u'\r', u'\n');
            raw = all.split(u'\n');
        }
        const int maxW = r.Width();
        for (const QString& para : raw) {
            TextLine tl = StripPrefix(para, flags & DT_NOPREFIX);
            if (!(flags & DT_WORDBREAK) || (flags & DT_SINGLELINE) || width(tl.text) <= maxW) {
                lines.push_back(tl);
                continue;
            }
            // Break at spaces; a word wider than the box stays whole on its own line.
            QString rest = tl.text;
            int under = tl.underline;
            while (!rest.isEmpty()) {
                qsizetype cut = rest.size();
                if (width(rest) > maxW) {
                    qsizetype best = -1;
                    for (qsizetype i = 1; i < rest.size(); ++i)
                        if (rest[i] == u' ' && width(rest.left(i)) <= maxW)
                            best = i;
                    if (best < 0) {
                        best = rest.indexOf(u' ');
                        if (best < 0)
                            best = rest.size();
                    }
                    cut = best;
                }
                TextLine part;
                part.text = rest.left(cut);
                if (under >= 0 && under < cut)
                    part.underline = under;
                lines.push_back(part);
                qsizetype skip = cut;
                while (skip < rest.size() && rest[skip] == u' ')
                    ++skip;
                under = under >= 0 ? int(under - skip) : -1;
                rest = rest.mid(skip);
            }
        }
    }
    if (text.empty())
        lines.clear();

    int maxLine = 0;
    for (const TextLine& l : lines)
        maxLine = std::max(maxLine, width(l.text));
    const int total = int(lines.size()) * lineH;

    if (flags & DT_CALCRECT) {
        r.Right = r.Left + maxLine;
        r.Bottom = r.Top + total;
        return total;
    }

    int y = r.Top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER)
            y = (r.Top + r.Bottom - lineH) / 2;
        else if (flags & DT_BOTTOM)
            y = r.Bottom - lineH;
    }
    Changing();
    TQtRect box = QR(r.Left, r.Top, r.Right, r.Bottom);
    const TQtRect* clip = (flags & DT_NOCLIP) ? nullptr : &box;
    const bool opaque = FBkMode == OPAQUE;
    for (const TextLine& l : lines) {
        QString s = l.text;
        if (flags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS))
            s = fm.elidedText(s, (flags & DT_PATH_ELLIPSIS) ? Qt::ElideMiddle : Qt::ElideRight, r.Width());
        int w = width(s);
        int x = r.Left;
        if (flags & DT_CENTER)
            x = (r.Left + r.Right - w) / 2;
        else if (flags & DT_RIGHT)
            x = r.Right - w;
        if ((flags & DT_EXPANDTABS) && s.contains(u'\t')) {
            const QStringList parts = s.split(u'\t');
            int px = 0;
            for (qsizetype i = 0; i < parts.size(); ++i) {
                if (i)
                    px = (px / tabW + 1) * tabW;
                int pw = Advance(fm, FQt->MetricsFont, parts[i]);
                DrawTextLine(x + px, y, parts[i], pw, opaque, clip);
                px += pw;
            }
        } else {
            DrawTextLine(x, y, s, w, opaque, clip);
        }
        if (l.underline >= 0 && !(flags & DT_HIDEPREFIX) && l.underline < s.size()) {
            int ux = x + fm.horizontalAdvance(s.left(l.underline));
            int uw = fm.horizontalAdvance(s.mid(l.underline, 1));
            int uy = y + fm.ascent() + std::max(1, fm.underlinePos());
            if (!clip || box.contains(QPoint(ux, uy)))
                FQt->Painter->fillRect(QRect(ux, uy, uw, 1), QRef(FTextColor));
        }
        y += lineH;
    }
    Changed();
    return (y - lineH * int(lines.size())) - r.Top + total;
}
