// Menu images, owner-drawn menu items (measured and painted by their handlers through a TCanvas on
// the menu's painter) and the menus' image lists. GUI core (platform/vcl).
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

#include "core_qt.h"
#include "forms.h"
#include "graphics_qt.h"
#include "handle.h"
#include "menus.h"

namespace {

TMenuItem* ItemOf(QAction* a) { return a ? static_cast<TMenuItem*>(a->data().value<void*>()) : nullptr; }

bool IsOwnerDrawn(TMenuItem* item) {
    TMenu* m = item ? item->RootMenu() : nullptr;
    return m && m->OwnerDraw();
}

// The item a style option paints: found by place (painting) or by caption (measuring, before the
// places are known).
TMenuItem* ItemAt(const QWidget* w, const QRect& r) {
    if (auto* m = qobject_cast<const QMenu*>(w))
        return ItemOf(m->actionAt(r.center()));
    if (auto* b = qobject_cast<const QMenuBar*>(w))
        return ItemOf(b->actionAt(r.center()));
    return nullptr;
}

TMenuItem* ItemByText(const QWidget* w, const QString& text) {
    QString caption = text.section('\t', 0, 0);
    for (QAction* a : w->actions())
        if (a->text() == caption)
            return ItemOf(a);
    return nullptr;
}

// Paints and measures owner-drawn items through their handlers; everything else as Qt would.
class TMenuDrawStyle : public QProxyStyle {
public:
    void drawControl(ControlElement el, const QStyleOption* opt, QPainter* p,
                     const QWidget* w) const override {
        if (el == CE_MenuItem || el == CE_MenuBarItem) {
            TMenuItem* item = ItemAt(w, opt->rect);
            if (IsOwnerDrawn(item) && item->OnAdvancedDrawItem) {
                TOwnerDrawState state;
                if (opt->state & State_Selected)
                    state << odSelected;
                if (!(opt->state & State_Enabled))
                    state << odDisabled << odGrayed;
                if (item->Checked())
                    state << odChecked;
                if (item->Default())
                    state << odDefault;
                if (el == CE_MenuBarItem && (opt->state & State_Selected))
                    state << odHotLight;
                TCanvas canvas;
                p->save();
                BindPainter(&canvas, p);
                QRect q = opt->rect;
                TMessageBoundary::Run(item, [&] {
                    item->OnAdvancedDrawItem(item, &canvas,
                                             TRect(q.left(), q.top(), q.right() + 1, q.bottom() + 1), state);
                });
                BindPainter(&canvas, nullptr);
                p->restore();
                return;
            }
        }
        QProxyStyle::drawControl(el, opt, p, w);
    }

    QSize sizeFromContents(ContentsType ct, const QStyleOption* opt, const QSize& size,
                           const QWidget* w) const override {
        QSize s = QProxyStyle::sizeFromContents(ct, opt, size, w);
        if (ct != CT_MenuItem && ct != CT_MenuBarItem)
            return s;
        auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(opt);
        TMenuItem* item = mi ? ItemByText(w, mi->text) : nullptr;
        if (!IsOwnerDrawn(item) || !item->OnMeasureItem)
            return s;
        int width = s.width(), height = s.height();
        QImage scratch(1, 1, QImage::Format_RGB32);
        QPainter p(&scratch);
        TCanvas canvas;
        BindPainter(&canvas, &p);
        TMessageBoundary::Run(item, [&] { item->OnMeasureItem(item, &canvas, width, height); });
        BindPainter(&canvas, nullptr);
        return QSize(width, height);
    }
};

} // namespace

void InstallMenuDrawStyle(QWidget* menu) {
    static TMenuDrawStyle* style = [] {
        auto* s = new TMenuDrawStyle;
        s->setParent(qApp);
        return s;
    }();
    menu->setStyle(style);
}

void TMenuItem::SyncImage() {
    TMenu* m = RootMenu();
    TCustomImageList* images = m ? m->Images() : nullptr;
    const TQtImage* img = images ? images->ImageAt(FImageIndex) : nullptr;
    FAction->setIcon(img ? QIcon(QPixmap::fromImage(*img)) : QIcon());
}

void TMenu::SetImages(TCustomImageList* v) {
    if (v == FImages)
        return;
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = v;
    FImageLink.reset();
    if (v) {
        v->FreeNotification(this);
        FImageLink = std::make_unique<TChangeLink>();
        FImageLink->OnChange = [this](TObject*) { ImagesChanged(); };
        v->RegisterChanges(FImageLink.get());
    }
    ImagesChanged();
}

void TMenu::ImagesChanged() {
    std::vector<TMenuItem*> todo{FItems.get()};
    while (!todo.empty()) {
        TMenuItem* i = todo.back();
        todo.pop_back();
        if (i != FItems.get())
            i->SyncImage();
        for (int k = 0; k < i->Count(); ++k)
            todo.push_back(i->Items(k));
    }
}

void TMenu::SetOwnerDraw(bool v) {
    FOwnerDraw = v;
    std::vector<TMenuItem*> todo{FItems.get()};
    while (!todo.empty()) {
        TMenuItem* i = todo.back();
        todo.pop_back();
        if (i->Count())
            i->SubMenu()->update();
        for (int k = 0; k < i->Count(); ++k)
            todo.push_back(i->Items(k));
    }
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) {
        FImageLink.reset();
        FImages = nullptr;
        ImagesChanged();
    }
}
