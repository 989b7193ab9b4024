// TBitmap over a QImage, with a canvas that opens a painter on the image when first drawn on. GUI core.
#include "graphics.h"

#include <QImage>
#include <QPainter>

#include "graphics_qt.h"
#include "replacefile.h"
#include "sysutils.h"

class TBitmap::BitmapCanvas : public TCanvas {
public:
    explicit BitmapCanvas(TBitmap* owner) : FOwner(owner) {}
    ~BitmapCanvas() override { Close(); }

    void Close() {
        if (!FOwn)
            return;
        BindPainter(this, nullptr);
        FOwn->end();
        FOwn.reset();
    }

protected:
    void CreateHandle() override {
        if (FOwn || FOwner->FImage->isNull())
            return;
        FOwn = std::make_unique<QPainter>(FOwner->FImage.get());
        BindPainter(this, FOwn.get());
    }
    TQtImage* OwnImage() const override { return FOwner->FImage->isNull() ? nullptr : FOwner->FImage.get(); }
    bool IsMonochrome() const override { return FOwner->FMonochrome; }

private:
    TBitmap* FOwner;
    std::unique_ptr<QPainter> FOwn;
};

TBitmap::TBitmap() : FImage(std::make_unique<TQtImage>()) {}

TBitmap::~TBitmap() { FCanvas.reset(); }

void TBitmap::EndPaint() const {
    if (FCanvas)
        FCanvas->Close();
}

// The sizes are kept apart from the image: setting Height and then Width of an empty bitmap
// gives a bitmap of both, though it has no pixels in between.
int TBitmap::Width() const { return FW; }
int TBitmap::Height() const { return FH; }

void TBitmap::SetWidth(int v) { SetSize(v, Height()); }
void TBitmap::SetHeight(int v) { SetSize(Width(), v); }

// New area is white; the old picture stays at the top-left.
void TBitmap::SetSize(int w, int h) {
    w = std::max(0, w);
    h = std::max(0, h);
    if (w == Width() && h == Height())
        return;
    EndPaint();
    FW = w;
    FH = h;
    QImage img;
    if (w > 0 && h > 0) {
        img = QImage(w, h, QImage::Format_RGB32);
        img.fill(Qt::white);
        if (!FImage->isNull()) {
            QPainter p(&img);
            p.drawImage(0, 0, *FImage);
        }
    }
    *FImage = img;
    if (OnChange)
        OnChange(this);
}

TCanvas* TBitmap::Canvas() {
    if (!FCanvas)
        FCanvas = std::make_unique<BitmapCanvas>(this);
    return FCanvas.get();
}

namespace {
// Only white stays white in one bit per pixel.
void ToMonochrome(QImage& img) {
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            line[x] = (line[x] & 0xFFFFFFu) == 0xFFFFFFu ? 0xFFFFFFFFu : 0xFF000000u;
    }
}
} // namespace

void TBitmap::SetMonochrome(bool v) {
    if (v == FMonochrome)
        return;
    EndPaint();
    FMonochrome = v;
    if (v && !FImage->isNull())
        ToMonochrome(*FImage);
    if (OnChange)
        OnChange(this);
}

TColor TBitmap::TransparentColor() const {
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault)
        return FTransparentColor;
    if (FImage->isNull())
        return clDefault;
    QRgb c = FImage->pixel(0, FImage->height() - 1);
    return TColor(RGB(qRed(c), qGreen(c), qBlue(c)));
}

void TBitmap::SetTransparentColor(TColor c) {
    FTransparentColor = c;
    FTransparentMode = c == clDefault ? tmAuto : tmFixed;
}

void TBitmap::Assign(const TBitmap* src) {
    if (!src || src == this)
        return;
    EndPaint();
    src->EndPaint();
    *FImage = src->FImage->copy();
    FW = src->FW;
    FH = src->FH;
    FPixelFormat = src->FPixelFormat;
    FTransparentMode = src->FTransparentMode;
    FTransparentColor = src->FTransparentColor;
    FMonochrome = src->FMonochrome;
    SetTransparent(src->Transparent());
}

void TBitmap::Assign(TPersistent* Source) {
    if (auto* b = dynamic_cast<TBitmap*>(Source))
        Assign(static_cast<const TBitmap*>(b));
    else
        TPersistent::Assign(Source);
}

void TBitmap::LoadFromFile(const std::string& fileName) {
    QImage img;
    if (!img.load(QString::fromStdString(NativePath(fileName))))
        throw EInvalidGraphic("Bitmap image is not valid");
    SetImage(img);
}

void TBitmap::SaveToFile(const std::string& fileName) {
    EndPaint();
    // Through the file replacer: a failed save keeps the old file.
    const TReplaceResult saved = ReplaceFile(fileName, [this](const std::string& nativeTemp) {
        return FImage->save(QString::fromStdString(nativeTemp), "BMP");
    });
    if (!saved)
        throw EFCreateError("Cannot create file " + fileName);
}

TQtImage TBitmap::Image() const {
    // While a painter is open on the image a shallow copy would keep changing under the caller.
    if (FCanvas && CanvasPainter(FCanvas.get()))
        return FImage->copy();
    return *FImage;
}

void TBitmap::SetImage(const TQtImage& img) {
    EndPaint();
    *FImage = img.isNull() ? QImage() : img.convertToFormat(QImage::Format_RGB32);
    if (FMonochrome)
        ToMonochrome(*FImage);
    FW = FImage->width();
    FH = FImage->height();
    if (OnChange)
        OnChange(this);
}

// Transparent bitmaps leave the pixels of their transparent colour untouched.
void TBitmap::DrawOn(TCanvas* dst, const TRect& r) {
    QPainter* p = CanvasPainter(dst);
    // A copy only where the bitmap is drawn onto itself; elsewhere its pixels are read in place.
    QImage src = p->device() == FImage.get() ? FImage->copy() : *FImage;
    if (Transparent()) {
        QRgb key = QColor(GetRValue(COLORREF(ColorToRGB(TransparentColor()))),
                          GetGValue(COLORREF(ColorToRGB(TransparentColor()))),
                          GetBValue(COLORREF(ColorToRGB(TransparentColor()))))
                       .rgb();
        src = src.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < src.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(src.scanLine(y));
            for (int x = 0; x < src.width(); ++x)
                if ((line[x] | 0xFF000000u) == (key | 0xFF000000u))
                    line[x] = 0;
        }
    }
    QRect target(r.Left, r.Top, r.Width(), r.Height());
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->drawImage(target, src);
}
