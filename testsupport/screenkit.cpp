// Test support: what the screen shows of a control (see screenkit.h).
#include "screenkit.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include "controls.h"
#include "cp1251.h"
#include "graphics_qt.h"
#include "handle.h"

namespace screenkit {
namespace {

void Take(QWidget* w, TBitmap& into) { into.SetImage(w ? TQtImage(w->grab().toImage()) : TQtImage()); }

// The widget that shows c's state: its native widget, else the first line edit in its client area.
QWidget* Showing(TWinControl* c) {
    c->HandleNeeded();
    if (QWidget* w = NativeWidget(c))
        return w;
    return ClientWidget(c)->findChild<QLineEdit*>();
}

QAbstractItemView* ShownList(TWinControl* c) {
    auto* box = qobject_cast<QComboBox*>(Showing(c));
    if (!box || !box->view() || !box->view()->isVisible())
        return nullptr;
    return box->view();
}

} // namespace

void Window(TWinControl* c, TBitmap& into) { Take(HandleWidget(c), into); }
void Client(TWinControl* c, TBitmap& into) { Take(ClientWidget(c), into); }
void Native(TWinControl* c, TBitmap& into) {
    c->HandleNeeded();
    Take(NativeWidget(c), into);
}

void OnScreen(TWinControl* c, TBitmap& into) {
    QApplication::processEvents();
    QWidget* w = ClientWidget(c);
    QWidget* top = w->window();
    const QPoint at = w->mapTo(top, QPoint(0, 0));
    into.SetImage(QGuiApplication::primaryScreen()
                      ->grabWindow(top->winId(), at.x(), at.y(), w->width(), w->height())
                      .toImage());
}

class TPaintWatch::TFilter : public QObject {
public:
    TFilter(QWidget* w, std::vector<TRect>& into) : FWidget(w), FInto(into) { w->installEventFilter(this); }
    ~TFilter() override {
        if (FWidget)
            FWidget->removeEventFilter(this);
    }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == FWidget && e->type() == QEvent::Paint) {
            const QRect r = static_cast<QPaintEvent*>(e)->region().boundingRect();
            FInto.push_back(TRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()));
        }
        return false;
    }

private:
    QPointer<QWidget> FWidget;
    std::vector<TRect>& FInto;
};

TPaintWatch::TPaintWatch(TWinControl* c) {
    c->HandleNeeded();
    FFilter = std::make_unique<TFilter>(ClientWidget(c), FPainted);
}

TPaintWatch::~TPaintWatch() = default;

bool DropDown(TWinControl* c, TBitmap& into) {
    QAbstractItemView* view = ShownList(c);
    Take(view, into);
    return view != nullptr;
}

TRect DropDownRow(TWinControl* c, int row) {
    QAbstractItemView* view = ShownList(c);
    if (!view)
        return TRect();
    const QRect r = view->visualRect(view->model()->index(row, 0));
    return TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
}

bool SamePixels(TBitmap& a, TBitmap& b) { return a.Image() == b.Image(); }

TRect DottedRect(TBitmap& with, TBitmap& without) {
    const QImage a = with.Image().convertToFormat(QImage::Format_RGB32);
    const QImage b = without.Image().convertToFormat(QImage::Format_RGB32);
    if (a.size() != b.size())
        return TRect();
    const auto differs = [&](int x, int y) { return a.pixel(x, y) != b.pixel(x, y); };
    QRect box;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (differs(x, y))
                box |= QRect(x, y, 1, 1);
    if (box.width() < 3 || box.height() < 3)
        return TRect();
    // Nothing off the outline.
    for (int y = box.top() + 1; y < box.bottom(); ++y)
        for (int x = box.left() + 1; x < box.right(); ++x)
            if (differs(x, y))
                return TRect();
    // Each side dotted: every other pixel marked, no two neighbours but where two sides meet.
    const auto dotted = [&](QPoint from, QPoint step, int length) {
        int marked = 0;
        for (int i = 0; i < length; ++i) {
            const QPoint p = from + step * i;
            if (!differs(p.x(), p.y()))
                continue;
            ++marked;
            if (i > 0 && i + 2 < length && differs(p.x() + step.x(), p.y() + step.y()))
                return false;
        }
        return marked >= length / 2 - 1;
    };
    if (!dotted(box.topLeft(), {1, 0}, box.width()) || !dotted(box.bottomLeft(), {1, 0}, box.width()) ||
        !dotted(box.topLeft(), {0, 1}, box.height()) || !dotted(box.topRight(), {0, 1}, box.height()))
        return TRect();
    return TRect(box.left(), box.top(), box.right() + 1, box.bottom() + 1);
}

bool Shown(TWinControl* c) {
    if (!c->HandleAllocated() || !HandleWidget(c)->isVisible())
        return false;
    QWidget* native = Showing(c);
    return !native || native->isVisible();
}

std::string ShownText(TWinControl* c) {
    QWidget* w = Showing(c);
    QString text;
    if (auto* box = qobject_cast<QComboBox*>(w))
        text = box->currentText();
    else if (auto* line = qobject_cast<QLineEdit*>(w))
        text = line->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        text = button->text();
    else if (auto* spin = w ? w->findChild<QAbstractSpinBox*>() : nullptr)
        text = spin->text(); // a date picker's editor, beside its check box
    return Utf8ToCp1251(text.toStdString());
}

bool ShownChecked(TWinControl* c) {
    auto* button = qobject_cast<QAbstractButton*>(Showing(c));
    return button && button->isChecked();
}

int ShownPosition(TWinControl* c) {
    auto* slider = qobject_cast<QAbstractSlider*>(Showing(c));
    return slider ? slider->value() : -1;
}

TRect ShownRect(TWinControl* c, TWinControl* in) {
    QWidget* w = HandleWidget(c);
    const QPoint at = w->mapTo(ClientWidget(in), QPoint(0, 0));
    return TRect(at.x(), at.y(), at.x() + w->width(), at.y() + w->height());
}

int StackPlace(TWinControl* c) {
    if (!c->HandleAllocated() || !c->Parent())
        return -1;
    return int(ClientWidget(c->Parent())->children().indexOf(HandleWidget(c)));
}

std::string DesktopClipboardText() {
    return Utf8ToCp1251(QGuiApplication::clipboard()->text().toStdString());
}

void DesktopCopies(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(Cp1251ToUtf8(text)));
}

} // namespace screenkit
