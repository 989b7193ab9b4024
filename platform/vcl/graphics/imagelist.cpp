// TImageList: same-sized images with masks, drawn through a canvas. GUI core.
#include "graphics.h"
#include "graphics_qt.h"

#include <QImage>
#include <QPainter>

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}

TImageList::~TImageList() = default;

int TImageList::Count() const { return int(FImages.size()); }

void TImageList::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TImageList::SetWidth(int v)
{
    if (v == FWidth || v <= 0)
        return;
    FWidth = v;
    Clear();
}

void TImageList::SetHeight(int v)
{
    if (v == FHeight || v <= 0)
        return;
    FHeight = v;
    Clear();
}

int TImageList::AddImage(const TQtImage& argb)
{
    if (argb.isNull())
        return -1;
    int first = Count();
    int slices = std::max(1, argb.width() / FWidth);
    for (int i = 0; i < slices; ++i) {
        QImage cell(FWidth, FHeight, QImage::Format_ARGB32);
        cell.fill(Qt::transparent);
        QPainter p(&cell);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, argb, i * FWidth, 0, FWidth, FHeight);
        p.end();
        FImages.push_back(cell);
    }
    Changed();
    return first;
}

int TImageList::Add(TBitmap* Image, TBitmap* Mask)
{
    if (!Image || Image->Empty())
        return -1;
    QImage img = Image->Image().convertToFormat(QImage::Format_ARGB32);
    if (Mask && !Mask->Empty()) {
        QImage m = Mask->Image().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < img.height() && y < m.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            auto* mline = reinterpret_cast<const QRgb*>(m.constScanLine(y));
            for (int x = 0; x < img.width() && x < m.width(); ++x)
                if (qGray(mline[x]) >= 128)
                    line[x] = 0;
        }
    }
    return AddImage(img);
}

int TImageList::AddMasked(TBitmap* Image, TColor MaskColor)
{
    if (!Image || Image->Empty())
        return -1;
    QImage img = Image->Image().convertToFormat(QImage::Format_ARGB32);
    if (MaskColor != clNone) {
        COLORREF k = COLORREF(ColorToRGB(MaskColor));
        QRgb key = qRgb(GetRValue(k), GetGValue(k), GetBValue(k));
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if ((line[x] | 0xFF000000u) == key)
                    line[x] = 0;
        }
    }
    return AddImage(img);
}

void TImageList::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        return;
    FImages.erase(FImages.begin() + Index);
    Changed();
}

void TImageList::Clear()
{
    if (FImages.empty())
        return;
    FImages.clear();
    Changed();
}

void TImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled)
{
    if (!Canvas || Index < 0 || Index >= Count())
        return;
    QPainter* p = Canvas->Handle() ? CanvasPainter(Canvas) : nullptr;
    if (!p)
        return;
    const QImage& img = FImages[size_t(Index)];
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (Enabled) {
        p->drawImage(X, Y, img);
        return;
    }
    // Embossed: dark pixels of the image become a highlight copy shifted by one and a shadow copy.
    QImage hi(img.size(), QImage::Format_ARGB32), sh(img.size(), QImage::Format_ARGB32);
    hi.fill(Qt::transparent);
    sh.fill(Qt::transparent);
    COLORREF h = COLORREF(ColorToRGB(clBtnHighlight)), s = COLORREF(ColorToRGB(clBtnShadow));
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            QRgb c = img.pixel(x, y);
            if (qAlpha(c) && qGray(c) < 192) {
                hi.setPixel(x, y, qRgb(GetRValue(h), GetGValue(h), GetBValue(h)));
                sh.setPixel(x, y, qRgb(GetRValue(s), GetGValue(s), GetBValue(s)));
            }
        }
    p->drawImage(X + 1, Y + 1, hi);
    p->drawImage(X, Y, sh);
}

bool TImageList::GetBitmap(int Index, TBitmap* Image)
{
    if (!Image || Index < 0 || Index >= Count())
        return false;
    QImage out(FWidth, FHeight, QImage::Format_RGB32);
    COLORREF bk = COLORREF(ColorToRGB(BkColor == clNone ? clWhite : BkColor));
    out.fill(QColor(GetRValue(bk), GetGValue(bk), GetBValue(bk)));
    QPainter p(&out);
    p.drawImage(0, 0, FImages[size_t(Index)]);
    p.end();
    Image->SetImage(out);
    return true;
}
