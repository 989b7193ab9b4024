// TImageList: same-sized images with masks, drawn through a canvas. GUI core.
#include "graphics.h"
#include "graphics_qt.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) {}

TImageList::~TImageList() {
    for (TChangeLink* l : FLinks)
        l->SetSender(nullptr);
}

TChangeLink::~TChangeLink() {
    if (FSender)
        FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
    if (OnChange)
        OnChange(FSender);
}

void TImageList::RegisterChanges(TChangeLink* Value) {
    if (!Value || std::find(FLinks.begin(), FLinks.end(), Value) != FLinks.end())
        return;
    if (Value->Sender() && Value->Sender() != this)
        Value->Sender()->UnRegisterChanges(Value);
    Value->SetSender(this);
    FLinks.push_back(Value);
}

void TImageList::UnRegisterChanges(TChangeLink* Value) {
    auto it = std::find(FLinks.begin(), FLinks.end(), Value);
    if (it == FLinks.end())
        return;
    FLinks.erase(it);
    Value->SetSender(nullptr);
}

const TQtImage* TImageList::ImageAt(int Index) const {
    return Index >= 0 && Index < Count() ? &FImages[size_t(Index)] : nullptr;
}

void TImageList::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChangedInUpdate)
        Changed();
}

bool TImageList::Overlay(int ImageIndex, int Overlay) {
    if (ImageIndex < 0 || ImageIndex >= Count() || Overlay < 0 || Overlay > 3)
        return false;
    FOverlays[Overlay] = ImageIndex;
    Changed();
    return true;
}

int TImageList::OverlayImage(int Overlay) const {
    return Overlay >= 0 && Overlay <= 3 ? FOverlays[Overlay] : -1;
}

void TImageList::DrawOverlay(TCanvas* Canvas, int X, int Y, int Index, int Overlay, bool Enabled) {
    Draw(Canvas, X, Y, Index, Enabled);
    int o = OverlayImage(Overlay);
    if (o >= 0)
        Draw(Canvas, X, Y, o, Enabled);
}

int TImageList::Count() const { return int(FImages.size()); }

void TImageList::Changed() {
    if (FUpdateCount > 0) {
        FChangedInUpdate = true;
        return;
    }
    FChangedInUpdate = false;
    if (OnChange)
        OnChange(this);
    // A link's handler may unregister itself (or another): walk a copy, skipping the gone ones.
    std::vector<TChangeLink*> links = FLinks;
    for (TChangeLink* l : links)
        if (std::find(FLinks.begin(), FLinks.end(), l) != FLinks.end())
            l->Change();
}

void TImageList::SetWidth(int v) {
    if (v == FWidth || v <= 0)
        return;
    FWidth = v;
    Clear();
}

void TImageList::SetHeight(int v) {
    if (v == FHeight || v <= 0)
        return;
    FHeight = v;
    Clear();
}

int TImageList::AddImage(const TQtImage& argb) {
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

int TImageList::Add(TBitmap* Image, TBitmap* Mask) {
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

int TImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
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

void TImageList::Delete(int Index) {
    if (Index < 0 || Index >= Count())
        return;
    FImages.erase(FImages.begin() + Index);
    // Overlays follow their images: the deleted one is gone, later ones move down.
    for (int& o : FOverlays)
        o = o == Index ? -1 : o > Index ? o - 1 : o;
    Changed();
}

void TImageList::Clear() {
    if (FImages.empty())
        return;
    FImages.clear();
    for (int& o : FOverlays)
        o = -1;
    Changed();
}

void TImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
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

bool TImageList::GetBitmap(int Index, TBitmap* Image) {
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

TImageList* SmallSystemImageList() {
    static TImageList* list = [] {
        auto* l = new TImageList(nullptr);
        // Drawn once in the classic colours: folder (closed, open), document, drive.
        QImage strip(64, 16, QImage::Format_ARGB32);
        strip.fill(Qt::transparent);
        QPainter p(&strip);
        QColor folder(255, 215, 96), edge(128, 96, 0), paper(255, 255, 255), ink(0, 0, 0),
            metal(192, 192, 192);
        p.setPen(edge);
        p.setBrush(folder);
        p.drawRect(1, 4, 13, 9);
        p.drawRect(1, 2, 5, 2);
        p.drawRect(17, 4, 13, 9);
        p.drawPolygon(QPolygon({QPoint(19, 7), QPoint(31, 7), QPoint(29, 13), QPoint(17, 13)}));
        p.setPen(ink);
        p.setBrush(paper);
        p.drawRect(35, 1, 9, 13);
        p.drawLine(37, 4, 42, 4);
        p.drawLine(37, 7, 42, 7);
        p.setBrush(metal);
        p.drawRect(49, 6, 13, 5);
        p.fillRect(59, 8, 2, 2, QColor(0, 160, 0));
        p.end();
        l->AddImage(strip);
        return l;
    }();
    return list;
}
