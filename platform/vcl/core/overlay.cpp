// Device contexts beyond WM_PAINT: the memory context of GetDC(0), contexts on a window's own paint,
// and drawing on a window outside its paint through an overlay over its top-level window. The
// overlay keeps an inversion mask: what is drawn there is XORed onto the window's pixels, so drawing
// the same outline twice takes it away again. GUI core (platform/vcl).
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>

#include "forms.h"
#include "handle.h"
#include "winapi.h"
#include "graphics_qt.h"

namespace {

// Covers the top-level window, lets the mouse through, and XORs its mask over what is beneath.
class TOverlay : public QWidget {
public:
    explicit TOverlay(QWidget* window) : QWidget(window) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        Fit();
    }
    // The mask follows the window's size; a black pixel leaves the window's pixel as it is.
    void Fit() {
        QSize size = parentWidget()->size();
        if (Mask->size() != size && !Mask->paintingActive()) {
            auto grown = std::make_shared<QImage>(size, QImage::Format_RGB32);
            grown->fill(Qt::black);
            QPainter p(grown.get());
            p.drawImage(0, 0, *Mask);
            p.end();
            Mask = grown;
        }
        setGeometry(QRect(QPoint(0, 0), size));
        raise();
        show();
    }
    // Shared with the contexts drawing into it, which may outlive the window.
    std::shared_ptr<QImage> Mask = std::make_shared<QImage>();

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.drawImage(0, 0, *Mask);
    }
};

// A context handed out by GetDC and its kin, with what it owns until ReleaseDC.
struct TDeviceContext {
    std::unique_ptr<TCanvas> Canvas;
    std::shared_ptr<QImage> Image;     // a memory, scratch or overlay context draws here
    std::unique_ptr<QPainter> Painter; // own painter (memory, scratch, overlay)
    QPainter* Shared = nullptr;        // a paint's painter, saved on the way in
    QPointer<TOverlay> Overlay;
};
std::map<HDC, std::unique_ptr<TDeviceContext>> gContexts;

HDC Hand(std::unique_ptr<TDeviceContext> dc) {
    HDC h = dc->Canvas.get();
    gContexts[h] = std::move(dc);
    return h;
}

// A context over an image of its own: GetDC(0) and a frame drawn outside the frame's paint.
HDC MemoryContext(int w, int h) {
    auto dc = std::make_unique<TDeviceContext>();
    dc->Image = std::make_shared<QImage>(std::max(w, 1), std::max(h, 1), QImage::Format_RGB32);
    dc->Image->fill(Qt::white);
    dc->Painter = std::make_unique<QPainter>(dc->Image.get());
    dc->Canvas = std::make_unique<TCanvas>();
    BindPainter(dc->Canvas.get(), dc->Painter.get());
    return Hand(std::move(dc));
}

// A context on a paint under way, its origin moved to (dx, dy) of that paint.
HDC SharedContext(QPainter* p, int dx, int dy) {
    auto dc = std::make_unique<TDeviceContext>();
    dc->Shared = p;
    p->save();
    p->translate(dx, dy);
    dc->Canvas = std::make_unique<TCanvas>();
    BindPainter(dc->Canvas.get(), p);
    return Hand(std::move(dc));
}

// A context on the overlay of h's top-level window, in h's window or client coordinates.
HDC OverlayContext(HWND h, bool window) {
    QWidget* top = h->window();
    auto* outer = dynamic_cast<TWidgetHandle*>(top);
    if (!outer)
        return nullptr;
    auto* overlay = static_cast<TOverlay*>(outer->Overlay);
    if (!overlay) {
        overlay = new TOverlay(top);
        outer->Overlay = overlay;
    }
    overlay->Fit();
    QWidget* area = window ? static_cast<QWidget*>(h) : h->Client();
    QPoint at = area->mapTo(top, QPoint(0, 0));
    auto dc = std::make_unique<TDeviceContext>();
    dc->Overlay = overlay;
    dc->Image = overlay->Mask;
    dc->Painter = std::make_unique<QPainter>(dc->Image.get());
    dc->Painter->translate(at);
    dc->Painter->setClipRect(area->rect());
    dc->Canvas = std::make_unique<TCanvas>();
    BindPainter(dc->Canvas.get(), dc->Painter.get());
    // Every drawing shows at once, also while the context is held through a whole drag.
    QPointer<TOverlay> shown = overlay;
    dc->Canvas->OnChange = [shown](TObject*) {
        if (shown)
            shown->update();
    };
    return Hand(std::move(dc));
}

} // namespace

HDC GetDC(HWND h) {
    if (!h) {
        TApplication::QtApp();
        return MemoryContext(1, 1);
    }
    if (!IsLiveHandle(h))
        return nullptr;
    if (QPainter* p = ClientPainter(h))
        return SharedContext(p, 0, 0);
    if (QPainter* p = FramePainter(h))
        return SharedContext(p, h->Client()->x(), h->Client()->y());
    return OverlayContext(h, false);
}

HDC GetWindowDC(HWND h) {
    if (!h)
        return GetDC(nullptr);
    if (!IsLiveHandle(h))
        return nullptr;
    if (QPainter* p = FramePainter(h))
        return SharedContext(p, 0, 0);
    // The frame cannot be drawn now: it is drawn again, through WM_NCPAINT, on the next paint.
    h->update();
    return MemoryContext(h->width(), h->height());
}

HDC GetDCEx(HWND h, HRGN, DWORD Flags) {
    if (!h)
        return GetDC(nullptr);
    if (!IsLiveHandle(h))
        return nullptr;
    return OverlayContext(h, Flags & DCX_WINDOW);
}

int ReleaseDC(HWND, HDC dc) {
    auto it = gContexts.find(dc);
    if (it == gContexts.end())
        return 0;
    std::unique_ptr<TDeviceContext> c = std::move(it->second);
    gContexts.erase(it);
    BindPainter(c->Canvas.get(), nullptr);
    if (c->Shared)
        c->Shared->restore();
    if (c->Painter)
        c->Painter->end();
    if (c->Overlay)
        c->Overlay->update();
    return 1;
}
