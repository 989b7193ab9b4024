// The window handle of a TWinControl: an outer QWidget covering the window box (non-client frame)
// and an inner client QWidget. GUI core internals; only the platform/vcl sources include this.
#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <map>

#include "controls.h"

class QTimer;

// Turns the Qt events of one widget of a control (outer, client or a wrapped native widget) into
// messages for that control.
class TMessageFilter : public QObject {
public:
    enum Role { Outer, Client, Native };
    TMessageFilter(TWinControl* control, Role role, QObject* parent) : QObject(parent), FControl(control), FRole(role) {}
    bool eventFilter(QObject* watched, QEvent* event) override;
    void Detach() { FControl = nullptr; }

private:
    TWinControl* FControl;
    Role FRole;
};

class TClientArea : public QWidget {
public:
    TClientArea(TWinControl* control, QWidget* parent);
    TMessageFilter* Filter() const { return FFilter; }

protected:
    bool event(QEvent* e) override;

private:
    TMessageFilter* FFilter = nullptr;
};

class TWidgetHandle : public QWidget {
public:
    TWidgetHandle(TWinControl* control, QWidget* parent);
    ~TWidgetHandle() override;
    TWinControl* Control() const { return FControl; }
    TClientArea* Client() const { return FClient; }
    // The control is going away: no more messages from this widget.
    void Detach();

    std::map<UINT, QTimer*> Timers;
    // TrackMouseEvent asked for a WM_MOUSELEAVE.
    bool TrackLeave = false;

protected:
    bool event(QEvent* e) override;

private:
    TWinControl* FControl;
    TClientArea* FClient = nullptr;
    TMessageFilter* FFilter = nullptr;
};

// The Qt event being translated right now, so DefaultHandler can give it to the widget's own
// handling; null when a message did not come from Qt (Perform, PostMessage).
struct TNativeEvent {
    QObject* Target = nullptr;
    QEvent* Event = nullptr;
    UINT Msg = 0;
    bool Done = false;
};
TNativeEvent* CurrentNativeEvent();

// Delivers a message to a control through WindowProc, inside the exception boundary: an exception
// goes to Application->HandleException and never reaches Qt.
void DeliverMessage(TControl* control, TMessage& message);
// How many deliveries are under way now (a handler that runs inside another handler counts twice).
// Outside every one, no widget is inside its own event and freed windows may really go.
int MessageDepth();

// Posted-message event carrying a TMessage.
QEvent::Type PostedMessageEventType();

// Mouse tracking shared by all controls: the control under the mouse (for CM_MOUSEENTER and
// CM_MOUSELEAVE) and the one that holds the capture.
void SetMouseControl(TControl* c);
TControl* MouseControl();
void SetCaptureControl(TControl* c);
TControl* CaptureControl();
// Forgets c everywhere it is remembered (mouse, capture, caret); called as c goes away.
void ForgetControl(TControl* c);
void ForgetControlCaret(TControl* c);

// Qt key code to Windows virtual key (0 when none).
WORD QtKeyToVirtualKey(int qtKey);

// Keyboard modifiers and mouse buttons: those of the input event being delivered, else Qt's state.
Qt::KeyboardModifiers CurrentModifiers();
Qt::MouseButtons CurrentButtons();
QPoint CurrentMousePos();

// Qt key code of a virtual key (0 when none), and the Qt cursor of a TCursor.
int VirtualKeyToQtKey(WORD vk);
Qt::CursorShape QtCursorShape(TCursor c);
