// The NM_CUSTOMDRAW round of the item views (list view, tree view): internal to vcl_stdctrls.
#pragma once

#include <QStyledItemDelegate>

#include "controls.h"

class QAbstractItemView;

// A delegate whose custom-drawn cells ask the control first. The derived delegate fills the
// record's own fields (stage, item, rectangle); the base adds the item state, sends it and draws
// the default cell unless the answer skips it.
class TCustomDrawDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    // NM is the control's record: uItemState, clrText and clrTextBk are read and written here.
    template <class NM>
    void PaintCustomDrawn(TWinControl* control, TCanvas* canvas, QAbstractItemView* view, NM& nm, QPainter* p,
                          const QStyleOptionViewItem& o, const QModelIndex& i) const {
        nm.uItemState |= ItemState(o);
        LRESULT r = Notify(control, canvas, view, p, reinterpret_cast<LPARAM>(&nm));
        PaintDefault(r, nm.clrText, nm.clrTextBk, p, o, i);
    }

private:
    static UINT ItemState(const QStyleOptionViewItem& o);
    // CN_NOTIFY with the canvas bound to the painter in client coordinates; a handler's exception
    // goes to the application and leaves the default drawing.
    static LRESULT Notify(TWinControl* control, TCanvas* canvas, QAbstractItemView* view, QPainter* p,
                          LPARAM nm);
    void PaintDefault(LRESULT r, TColor text, TColor back, QPainter* p, const QStyleOptionViewItem& o,
                      const QModelIndex& i) const;
};
