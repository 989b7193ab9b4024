// Test support: the user's keys and mouse as real Qt events (see inputkit.h).
#include "inputkit.h"

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QCalendarWidget>
#include <QTableView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QMouseEvent>
#include <QPointer>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include "controls.h"
#include "cp1251.h"
#include "handle.h"

// The window system's entry points that the toolkit's own test library uses: a mouse event as the
// platform reports it to a window, and the shortcut map's look at a key before its widget.
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text, bool autorep, ushort count);

namespace inputkit {
namespace {

// Far enough apart that two clicks never make a double click by accident.
constexpr int kClickGap = 1000;
int gTimestamp = 0;
Qt::MouseButtons gHeld;

Qt::KeyboardModifiers QtMods(TMods m) {
    Qt::KeyboardModifiers q;
    if (m & Shift)
        q |= Qt::ShiftModifier;
    if (m & Ctrl)
        q |= Qt::ControlModifier;
    if (m & Alt)
        q |= Qt::AltModifier;
    if (m & Keypad)
        q |= Qt::KeypadModifier;
    return q;
}

Qt::MouseButton QtButton(TButton b) {
    return b == Right ? Qt::RightButton : b == Middle ? Qt::MiddleButton : Qt::LeftButton;
}

Qt::MouseButtons QtButtons(unsigned held) {
    Qt::MouseButtons q;
    for (TButton b : {Left, Right, Middle})
        if (held & b)
            q |= QtButton(b);
    return q;
}

void SendKey(QWidget* w, QEvent::Type type, int key, TMods mods, const std::string& text,
             unsigned place = 0) {
    ASSERT_NE(w, nullptr) << "no widget takes the keys";
    QString qtext = QString::fromStdString(Cp1251ToUtf8(text));
    QPointer<QWidget> alive(w);
    ++gTimestamp;
    if (type == QEvent::KeyPress &&
        qt_sendShortcutOverrideEvent(w, ulong(gTimestamp), key, QtMods(mods), qtext, false, 1))
        return;
    if (!alive)
        return;
    QKeyEvent e(type, key, QtMods(mods), place, 0, 0, qtext);
    QApplication::sendEvent(w, &e);
}

QWidget* KeyTarget(TWinControl* c) {
    c->HandleNeeded();
    return FocusWidget(c);
}

QWidget* FocusNow() {
    QWidget* w = QApplication::focusWidget();
    if (!w && QApplication::activeWindow())
        w = QApplication::activeWindow()->focusWidget();
    return w;
}

// The window under which c's client point (x, y) lies, and the point in screen coordinates.
struct TWhere {
    QWidget* Top = nullptr;
    QWidget* Own = nullptr; // the widget of c, or of its parent for a graphic control
    QPoint Global;
};

TWhere Locate(TControl* c, int x, int y) {
    TWhere w;
    auto* win = dynamic_cast<TWinControl*>(c);
    TWinControl* owner = win ? win : c->Parent();
    if (!owner) {
        ADD_FAILURE() << "a graphic control without a parent takes no mouse";
        return w;
    }
    owner->HandleNeeded();
    w.Own = ClientWidget(owner);
    TPoint g = c->ClientToScreen(TPoint(x, y));
    w.Global = QPoint(g.x, g.y);
    w.Top = w.Own->window();
    return w;
}

// Sends one mouse event the way the window system does when the window is shown; otherwise to
// the deepest visible widget of the control under the point. double: the press is the second of a
// double click, which the toolkit follows with a double-click event (made here when not shown).
void SendMouse(TControl* c, int x, int y, QEvent::Type type, Qt::MouseButton button, TMods mods,
               bool doubled = false) {
    TWhere w = Locate(c, x, y);
    if (!w.Top)
        return;
    if (type == QEvent::MouseButtonPress)
        gHeld |= button;
    else if (type == QEvent::MouseButtonRelease)
        gHeld &= ~Qt::MouseButtons(button);
    QWindow* window = w.Top->windowHandle();
    if (w.Top->isVisible() && window) {
        QPointF local = window->mapFromGlobal(QPointF(w.Global));
        qt_handleMouseEvent(window, local, QPointF(w.Global), gHeld, button, type, QtMods(mods), gTimestamp);
        QApplication::processEvents();
        return;
    }
    QWidget* target = w.Own;
    if (QWidget* child = w.Own->childAt(w.Own->mapFromGlobal(w.Global)))
        target = child;
    QPointer<QWidget> alive(target);
    QMouseEvent e(type, QPointF(target->mapFromGlobal(w.Global)), QPointF(w.Global),
                  type == QEvent::MouseMove ? Qt::NoButton : button, gHeld, QtMods(mods));
    QApplication::sendEvent(target, &e);
    if (doubled && alive) {
        QMouseEvent d(QEvent::MouseButtonDblClick, QPointF(target->mapFromGlobal(w.Global)),
                      QPointF(w.Global), button, gHeld, QtMods(mods));
        QApplication::sendEvent(target, &d);
    }
}

} // namespace

std::string KeyText(int key, TMods mods) {
    switch (key) {
    case Key::Return:
    case Key::Enter: return "\r";
    case Key::Tab: return "\t";
    case Key::Backspace: return "\b";
    case Key::Escape: return "\x1b";
    case Key::Delete: return "\x7f";
    }
    if (key <= 0 || key >= 0x01000000)
        return "";
    if ((mods & Ctrl) && key < 0x80) {
        // The desktop's control transformation of an ASCII key (Ctrl+4 types FS, not '4').
        const char c = char(key);
        if ((c >= '@' && c < 0x7F) || c == ' ')
            return std::string(1, char(c & 0x1F));
        if (c == '2')
            return std::string(1, '\0');
        if (c >= '3' && c <= '7')
            return std::string(1, char(c - '3' + 0x1B));
        if (c == '8')
            return "\x7f";
        if (c == '/')
            return "\x1f";
    }
    QChar ch{char16_t(key)};
    if (!(mods & Shift))
        ch = ch.toLower();
    return Utf8ToCp1251(QString(ch).toStdString());
}

int KeyOfVirtualKey(unsigned vk, TMods& mods) {
    switch (vk) {
    case VK_SHIFT: return Key::Shift;
    case VK_CONTROL: return Key::Control;
    case VK_MENU: return Key::Alt;
    }
    const int key = VirtualKeyToQtKey(WORD(vk));
    if (key & Qt::KeypadModifier)
        mods = mods | Keypad;
    return key & ~int(Qt::KeyboardModifierMask);
}

void KeyDown(TWinControl* c, int key, TMods mods, const std::string& text) {
    SendKey(KeyTarget(c), QEvent::KeyPress, key, mods, text);
}
void KeyDown(TWinControl* c, int key, TMods mods) { KeyDown(c, key, mods, KeyText(key, mods)); }
void KeyUp(TWinControl* c, int key, TMods mods) {
    SendKey(KeyTarget(c), QEvent::KeyRelease, key, mods, KeyText(key, mods));
}
void Press(TWinControl* c, int key, TMods mods, const std::string& text) {
    QPointer<QWidget> w(KeyTarget(c));
    SendKey(w, QEvent::KeyPress, key, mods, text);
    // The press may have taken the control away (an in-place editor ending on Enter).
    if (w)
        SendKey(w, QEvent::KeyRelease, key, mods, text);
}
void Press(TWinControl* c, int key, TMods mods) { Press(c, key, mods, KeyText(key, mods)); }

namespace {
// The key that types ch, and whether Shift is down for it.
std::pair<int, TMods> KeyOf(char ch) {
    QChar q = QString::fromStdString(Cp1251ToUtf8(std::string(1, ch)))[0];
    QChar upper = q.toUpper();
    return {int(upper.unicode()), q.isLetter() && q == upper ? Shift : None};
}
} // namespace

void Type(TWinControl* c, const std::string& text) {
    for (char ch : text) {
        auto [key, mods] = KeyOf(ch);
        Press(c, key, mods, std::string(1, ch));
    }
}

namespace {
// The space bar's place on the X11 desktop.
constexpr unsigned kSpacePlace = 65;

void TypeOn(QWidget* (*target)(TWinControl*), TWinControl* c, const std::string& text, TLayout layout) {
    for (char ch : text) {
        const std::u16string u = QString::fromStdString(Cp1251ToUtf8(std::string(1, ch))).toStdU16String();
        int key = Key::Space;
        unsigned place = kSpacePlace;
        bool shift = false;
        if (u != u" " && !CharOnLayout(u[0], layout == TLayout::Russian, key, place, shift)) {
            ADD_FAILURE() << "no key of the layout types " << Cp1251ToUtf8(std::string(1, ch));
            continue;
        }
        const TMods mods = shift ? Shift : None;
        QPointer<QWidget> w(target(c));
        SendKey(w, QEvent::KeyPress, key, mods, std::string(1, ch), place);
        if (w)
            SendKey(w, QEvent::KeyRelease, key, mods, std::string(1, ch), place);
    }
}
} // namespace

void Type(TWinControl* c, const std::string& text, TLayout layout) { TypeOn(KeyTarget, c, text, layout); }

void TypeToFocus(const std::string& text, TLayout layout) {
    TypeOn([](TWinControl*) { return FocusNow(); }, nullptr, text, layout);
}

void PressToFocus(int key, TMods mods) {
    QPointer<QWidget> w(FocusNow());
    std::string text = KeyText(key, mods);
    SendKey(w, QEvent::KeyPress, key, mods, text);
    if (w)
        SendKey(w, QEvent::KeyRelease, key, mods, text);
}

void TypeToFocus(const std::string& text) {
    for (char ch : text) {
        auto [key, mods] = KeyOf(ch);
        QPointer<QWidget> w(FocusNow());
        SendKey(w, QEvent::KeyPress, key, mods, std::string(1, ch));
        if (w)
            SendKey(w, QEvent::KeyRelease, key, mods, std::string(1, ch));
    }
}

void MouseDown(TControl* c, int x, int y, TButton b, TMods mods) {
    gTimestamp += kClickGap;
    SendMouse(c, x, y, QEvent::MouseButtonPress, QtButton(b), mods);
}
void MouseUp(TControl* c, int x, int y, TButton b, TMods mods) {
    ++gTimestamp;
    SendMouse(c, x, y, QEvent::MouseButtonRelease, QtButton(b), mods);
}
void MouseMove(TControl* c, int x, int y, unsigned held, TMods mods) {
    ++gTimestamp;
    gHeld = QtButtons(held);
    SendMouse(c, x, y, QEvent::MouseMove, Qt::NoButton, mods);
}
void Click(TControl* c, int x, int y, TButton b, TMods mods) {
    MouseDown(c, x, y, b, mods);
    MouseUp(c, x, y, b, mods);
}
void DoubleClick(TControl* c, int x, int y, TButton b, TMods mods) {
    Click(c, x, y, b, mods);
    // The second press comes within the double-click time: the toolkit makes it a double click.
    ++gTimestamp;
    SendMouse(c, x, y, QEvent::MouseButtonPress, QtButton(b), mods, true);
    MouseUp(c, x, y, b, mods);
}
void Drag(TControl* c, int fromX, int fromY, int toX, int toY, TButton b, TMods mods) {
    MouseDown(c, fromX, fromY, b, mods);
    MouseMove(c, (fromX + toX) / 2, (fromY + toY) / 2, b, mods);
    MouseMove(c, toX, toY, b, mods);
    MouseUp(c, toX, toY, b, mods);
}

void Wheel(TControl* c, int x, int y, int notches, TMods mods) {
    TWhere w = Locate(c, x, y);
    if (!w.Top)
        return;
    QWidget* target = w.Top->childAt(w.Top->mapFromGlobal(w.Global));
    if (!target)
        target = w.Top;
    QWheelEvent e(QPointF(target->mapFromGlobal(w.Global)), QPointF(w.Global), QPoint(),
                  QPoint(0, 120 * notches), gHeld, QtMods(mods), Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &e);
}

namespace {

// A click on the item, or Escape; a menu still open afterwards (a disabled item) is closed.
void ChooseIn(QMenu* menu, const QString& caption) {
    if (!caption.isEmpty()) {
        QAction* item = nullptr;
        for (QAction* a : menu->actions())
            if (a->text() == caption)
                item = a;
        if (!item) {
            ADD_FAILURE() << "the menu has no item " << caption.toStdString();
        } else {
            QPoint p = menu->actionGeometry(item).center();
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(p), QPointF(menu->mapToGlobal(p)),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(menu, &press);
            QMouseEvent release(QEvent::MouseButtonRelease, QPointF(p), QPointF(menu->mapToGlobal(p)),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(menu, &release);
        }
    } else {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(menu, &esc);
    }
    if (menu->isVisible())
        menu->close();
}

// Waits for the next menu to show, then chooses in it once the menu's loop runs.
class TMenuChooser : public QObject {
public:
    explicit TMenuChooser(QString caption) : FCaption(std::move(caption)) { qApp->installEventFilter(this); }
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* menu = qobject_cast<QMenu*>(o);
        if (!menu || e->type() != QEvent::Show)
            return false;
        qApp->removeEventFilter(this);
        QPointer<QMenu> shown(menu);
        QString caption = FCaption;
        QTimer::singleShot(0, menu, [shown, caption] {
            if (shown)
                ChooseIn(shown, caption);
        });
        deleteLater();
        return false;
    }

private:
    QString FCaption;
};

} // namespace

bool DayPoint(TWinControl* c, int year, int month, int day, int& x, int& y) {
    c->HandleNeeded();
    for (QCalendarWidget* cal : ClientWidget(c)->findChildren<QCalendarWidget*>()) {
        auto* view = cal->findChild<QTableView*>();
        if (!cal->isVisible() || !view || cal->yearShown() != year || cal->monthShown() != month)
            continue;
        const QAbstractItemModel* m = view->model();
        // The neighbour months' days share the numbers: the first days stand in the upper rows,
        // the last ones in the lower; the day names' row and the week numbers' column hold no day.
        const int firstColumn = cal->verticalHeaderFormat() == QCalendarWidget::NoVerticalHeader ? 0 : 1;
        const int firstRow = cal->horizontalHeaderFormat() == QCalendarWidget::NoHorizontalHeader ? 0 : 1;
        for (int r = firstRow; r < m->rowCount(); ++r) {
            const int week = r - firstRow;
            if (day < 15 ? week > 3 : week < 2)
                continue;
            for (int col = firstColumn; col < m->columnCount(); ++col) {
                const QModelIndex at = m->index(r, col);
                if (at.data().toInt() != day)
                    continue;
                const QPoint g = view->viewport()->mapToGlobal(view->visualRect(at).center());
                const TPoint p = c->ScreenToClient(TPoint(g.x(), g.y()));
                x = p.x;
                y = p.y;
                return true;
            }
        }
    }
    return false;
}

void ChooseInNextMenu(const std::string& caption) {
    new TMenuChooser(QString::fromStdString(Cp1251ToUtf8(caption)));
}

void ClickMenuBar(TWinControl* form, const std::string& caption) {
    form->HandleNeeded();
    QWidget* top = ClientWidget(form)->window();
    auto* bar = top->findChild<QMenuBar*>();
    QWindow* window = top->windowHandle();
    if (!bar || !top->isVisible() || !window) {
        ADD_FAILURE() << "no shown menu bar";
        return;
    }
    const QString text = QString::fromStdString(Cp1251ToUtf8(caption));
    QAction* title = nullptr;
    for (QAction* a : bar->actions())
        if (a->text() == text)
            title = a;
    if (!title) {
        ADD_FAILURE() << "the menu bar has no title " << text.toStdString();
        return;
    }
    const QPointF global(bar->mapToGlobal(bar->actionGeometry(title).center()));
    const QPointF local = window->mapFromGlobal(global);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        gTimestamp += type == QEvent::MouseButtonPress ? kClickGap : 1;
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        qt_handleMouseEvent(window, local, global, held, Qt::LeftButton, type, Qt::NoModifier, gTimestamp);
        QApplication::processEvents();
    }
}

void WindowManagerSets(TWinControl* form, TWindowManagerState state) {
    form->HandleNeeded();
    QWindow* window = ClientWidget(form)->window()->windowHandle();
    ASSERT_NE(window, nullptr) << "the form has no window of its own shown";
    window->setWindowStates(state == TWindowManagerState::Maximized   ? Qt::WindowMaximized
                            : state == TWindowManagerState::Minimized ? Qt::WindowMinimized
                                                                      : Qt::WindowNoState);
    QApplication::processEvents();
}

void ProcessEvents() { QApplication::processEvents(); }

} // namespace inputkit
