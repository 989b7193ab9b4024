// The NM_CUSTOMDRAW round shared by the list view and tree view delegates.
#include <QAbstractItemView>
#include <QPainter>

#include "customdraw_qt.h"
#include "comctrls.h"
#include "forms.h"
#include "graphics_qt.h"
#include "handle.h"

UINT TCustomDrawDelegate::ItemState(const QStyleOptionViewItem& o) {
    UINT s = 0;
    if (o.state & QStyle::State_Selected)
        s |= CDIS_SELECTED;
    if (o.state & QStyle::State_HasFocus)
        s |= CDIS_FOCUS;
    if (o.state & QStyle::State_MouseOver)
        s |= CDIS_HOT;
    if (!(o.state & QStyle::State_Enabled))
        s |= CDIS_DISABLED;
    return s;
}

LRESULT TCustomDrawDelegate::Notify(TWinControl* control, TCanvas* canvas, QAbstractItemView* view,
                                    QPainter* p, LPARAM nm) {
    // The canvas speaks client coordinates, as the item rectangles do; the painter, the viewport's.
    QWidget* client = ClientWidget(control);
    QPoint origin = client ? view->viewport()->mapTo(client, QPoint(0, 0)) : QPoint(0, 0);
    p->save();
    p->translate(-origin);
    BindPainter(canvas, p);
    LRESULT r = CDRF_DODEFAULT;
    TMessageBoundary::Run(control, [&] { r = control->Perform(CN_NOTIFY, 0, nm); });
    BindPainter(canvas, nullptr);
    p->restore();
    return r;
}

void TCustomDrawDelegate::PaintDefault(LRESULT r, TColor text, TColor back, QPainter* p,
                                       const QStyleOptionViewItem& o, const QModelIndex& i) const {
    if (r & CDRF_SKIPDEFAULT)
        return;
    QStyleOptionViewItem opt(o);
    if (r & CDRF_NEWFONT) {
        QColor fore = ToQColor(text), fill = ToQColor(back);
        opt.palette.setColor(QPalette::Text, fore);
        opt.palette.setColor(QPalette::HighlightedText, fore);
        opt.palette.setColor(QPalette::Highlight, fill);
        // The item's own background role would override a backgroundBrush.
        if (!(o.state & QStyle::State_Selected))
            p->fillRect(o.rect, fill);
    }
    QStyledItemDelegate::paint(p, opt, i);
}
