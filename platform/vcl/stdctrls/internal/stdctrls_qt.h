// The Qt side of the standard controls: the widget a control wraps and typed access to it.
// Internal to platform/vcl (its sources and tests); stdctrls.h names none of it.
#pragma once

#include <QPointer>
#include <QWidget>

#include "graphics_qt.h"
#include "stdctrls.h"

struct TNativeControlQt {
    // The wrapped widget; it lives as long as the control unless Qt deletes it first.
    QPointer<QWidget> Held;
    // Set by SetWidget: a widget deleted by Qt is not made again.
    bool Made = false;
    // A font or colour change that came while there was no widget, applied when it is made.
    bool FontChanged = false, ColorChanged = false;

    static QWidget* Widget(const TNativeControl* c) { return c->FQt->Held.data(); }
    // Takes the widget the derived constructor made: hidden until a handle shows it, in the
    // control's font.
    static void SetWidget(TNativeControl* c, QWidget* w);
};

// The widget a control wraps (null once Qt deleted it), and the same as its own class.
inline QWidget* Widget(const TNativeControl* c) { return TNativeControlQt::Widget(c); }
template <class W> W* WidgetAs(const TNativeControl* c) {
    return qobject_cast<W*>(TNativeControlQt::Widget(c));
}
inline void SetWidget(TNativeControl* c, QWidget* w) { TNativeControlQt::SetWidget(c, w); }

// Text as the widget would give it back (Windows-1251 through Unicode): what a control keeps for
// its widget answers the same before and after the widget is made.
inline std::string AsStored(const std::string& s) { return FromQString(ToQString(s)); }

// Gives a push button, check box or radio button the classic desktop's look: its metrics, and the
// dotted focus rectangle.
void UseClassicButtonStyle(QWidget* w);

class QAbstractItemDelegate;
class QObject;

// Item delegates that paint the rows of a list box or a combo box's list through the control's
// DrawItem on its TCanvas, and size them through MeasureItem.
struct TOwnerDrawQt {
    static QAbstractItemDelegate* ForList(TCustomListBox* list, QObject* parent);
    static QAbstractItemDelegate* ForCombo(TCustomComboBox* combo, QObject* parent);
};
