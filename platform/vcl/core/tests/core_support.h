// Helpers for the window/message tests of the GUI core: a recording dialog service, Qt input sent to
// a control's widgets, and probe controls that log the messages they see.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "controls.h"
#include "dialogs.h"
#include "forms.h"

// Answers every dialog with a preset value and records what was asked.
class TFakeDialogs : public TDialogService {
public:
    struct Call {
        std::string Kind, Text, Caption;
        UINT Flags = 0;
    };
    std::vector<Call> Calls;
    int BoxAnswer = IDOK;
    int DlgAnswer = mrOk;
    bool FileAnswer = true;
    std::vector<std::string> FileNames{"/tmp/chosen"};
    TFileDialogRequest LastFile;

    int MessageBox(const std::string& Text, const std::string& Caption, UINT Flags) override {
        Calls.push_back({"box", Text, Caption, Flags});
        return BoxAnswer;
    }
    int MessageDlg(const std::string& Msg, TMsgDlgType Type, TMsgDlgButtons Buttons) override {
        Calls.push_back({"dlg", Msg, "", UINT(Type) << 16 | UINT(Buttons.ToInt())});
        return DlgAnswer;
    }
    bool FileDialog(TFileDialogRequest& Request, std::vector<std::string>& Files) override {
        LastFile = Request;
        Calls.push_back({"file", Request.Title, "", 0});
        if (FileAnswer)
            Files = FileNames;
        return FileAnswer;
    }
};

// Installs a fake for the test's life and restores the Qt dialogs afterwards.
class TFakeDialogScope {
public:
    TFakeDialogScope() { old_ = SetDialogService(&Fake); }
    ~TFakeDialogScope() { SetDialogService(nullptr); }
    TFakeDialogs Fake;

private:
    TDialogService* old_;
};

inline void SendMouse(QWidget* w, QEvent::Type type, int x, int y, Qt::MouseButton button = Qt::LeftButton,
                      Qt::MouseButtons buttons = Qt::NoButton) {
    QPointF local(x, y);
    QPointF global = w->mapToGlobal(local.toPoint());
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
        buttons |= button;
    QMouseEvent e(type, local, global, type == QEvent::MouseMove ? Qt::NoButton : button, buttons,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

inline void Click(QWidget* w, int x, int y) {
    SendMouse(w, QEvent::MouseButtonPress, x, y);
    SendMouse(w, QEvent::MouseButtonRelease, x, y);
}

inline void SendKey(QWidget* w, int key, const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent down(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &up);
}

// Runs the event loop until done() or the time runs out; true when done() came true.
inline bool WaitFor(const std::function<bool()>& done, int ms = 2000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// A windowed control that logs every message reaching WndProc and paints itself in Color.
class TProbe : public TCustomControl {
public:
    explicit TProbe(TComponent* AOwner) : TCustomControl(AOwner) {}
    std::vector<UINT> Log;
    int Paints = 0;
    std::function<void(TMessage&)> OnMessage;

    using TWinControl::CreateParams;

protected:
    void WndProc(TMessage& m) override {
        Log.push_back(m.Msg);
        if (OnMessage)
            OnMessage(m);
        TCustomControl::WndProc(m);
    }
    void Paint() override {
        ++Paints;
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
};

// A probe with window styles of the test's choosing (they decide the non-client frame).
class TFramedProbe : public TProbe {
public:
    using TProbe::TProbe;
    DWORD Style = 0, ExStyle = 0;

protected:
    void CreateParams(TCreateParams& p) override {
        TProbe::CreateParams(p);
        p.Style |= Style;
        p.ExStyle |= ExStyle;
    }
};

// A graphic control that logs messages with its name.
class TGraphicProbe : public TGraphicControl {
public:
    TGraphicProbe(TComponent* AOwner, std::string name, std::vector<std::string>* log)
        : TGraphicControl(AOwner), Name_(std::move(name)), Log_(log) {}
    TPoint LastPos;

protected:
    void WndProc(TMessage& m) override {
        const char* what = nullptr;
        switch (m.Msg) {
        case CM_MOUSEENTER: what = "enter"; break;
        case CM_MOUSELEAVE: what = "leave"; break;
        case WM_LBUTTONDOWN: what = "down"; break;
        case WM_LBUTTONUP: what = "up"; break;
        case WM_MOUSEMOVE: what = "move"; break;
        default: break;
        }
        if (what && Log_)
            Log_->push_back(Name_ + ":" + what);
        if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST)
            LastPos = TPoint(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        TGraphicControl::WndProc(m);
    }
    void Paint() override {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(Rect(0, 0, Width(), Height()));
    }

private:
    std::string Name_;
    std::vector<std::string>* Log_;
};

// Position of needle's items in haystack, in order; true when all appear as a subsequence.
template <class T> bool InOrder(const std::vector<T>& haystack, const std::vector<T>& needle) {
    size_t i = 0;
    for (const T& v : haystack)
        if (i < needle.size() && v == needle[i])
            ++i;
    return i == needle.size();
}

inline TColor Pixel(const QImage& img, int x, int y) {
    QRgb c = img.pixel(x, y);
    return TColor(RGB(qRed(c), qGreen(c), qBlue(c)));
}
