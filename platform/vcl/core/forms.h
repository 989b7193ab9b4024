// Forms, the application object and the screen: top-level windows, modal loops, the message loop
// and the exception display. GUI core (platform/vcl).
#pragma once

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "controls.h"
#include "msgbox.h"

class TMainMenu;
class TQtEventLoop;

enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = Set<TBorderIcon, biSystemMenu, biHelp>;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    // Fires OnCreate once; TApplication::CreateForm calls it after construction, a first Show otherwise.
    virtual void AfterConstruction();
    // Marks the form and every control on it csDestroying (none is laid out or raises OnResize from
    // then on), then fires OnDestroy once; call before deleting a form whose handlers use the
    // derived object. The destructor marks them too.
    virtual void BeforeDestruction();

    void Show();
    void Hide();
    // A dockable form floating on its own: frameless, with a caption strip the layer draws (whose
    // press starts a dock drag) and a close box on it.
    bool DrawsDockCaption() const;
    void SetParent(TWinControl* AParent) override;
    // Shows the form and runs a local event loop until ModalResult is set (and the close is allowed).
    int ShowModal();
    // Closes as the user would: OnCloseQuery, then OnClose with its action.
    void Close();
    bool CloseQuery();
    void Release();

    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult v);
    bool Modal() const { return FModal; }
    bool Active() const;

    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition v) { FPosition = v; }
    // A place given in code before the first show (a window restoring its last geometry) is kept
    // over the default placement.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons v) { FBorderIcons = v; }
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle v);
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState v);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool v) { FKeyPreview = v; }
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* m);

    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* c);
    // Updates the form's action lists and its controls' actions (actlist.cpp).
    void UpdateActions();
    // Called by a control that took the focus: moves the active control and sends CM_EXIT/CM_ENTER.
    bool SetFocusedControl(TWinControl* c);
    void DefocusControl(TWinControl* c, bool Removing);
    void FocusControl(TWinControl* c);

    TCanvas* Canvas() const { return FCanvas.get(); }

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    // A form docked into a site is a child window there.
    bool IsTopLevel() const override { return Parent() == nullptr; }
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void PaintWindow(HDC DC) override;
    virtual void Paint();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    void Dispatch(TMessage& Message) override;
    void CMShowingChanged(TMessage& Message) override;
    void CMVisibleChanged(TMessage& Message) override;
    void CMDialogKey(TWMKey& Message) override;
    void WMNCCalcSize(TWMNCCalcSize& Message) override;
    void WMNCPaint(TWMNCPaint& Message) override;
    void WMNCHitTest(TWMNCHitTest& Message) override;
    void WMNCLButtonDown(TMessage& Message) override;
    void WMNCLButtonUp(TMessage& Message);
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void WMClose(TMessage& Message);
    // A standard action looks for its target: the active control, then the form (actlist.cpp).
    virtual void CMActionExecute(TMessage& Message);
    virtual void CMActionUpdate(TMessage& Message);

private:
    friend class TApplication;
    friend class TWidgetHandle;
    void PlaceWindow();
    void CloseModal();

    std::unique_ptr<TControlCanvas> FCanvas;
    TWinControl* FActiveControl = nullptr;
    TMainMenu* FMenu = nullptr;
    TModalResult FModalResult = mrNone;
    TPosition FPosition = poDesigned;
    TBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TFormStyle FFormStyle = fsNormal;
    TWindowState FWindowState = wsNormal;
    TQtEventLoop* FModalLoop = nullptr;
    bool FModal = false;
    bool FKeyPreview = false;
    bool FCreated = false;
    bool FDestroyed = false;
    bool FPlaced = false;
    bool FMovedInCode = false;
    bool FCloseBoxDown = false;
};

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

using TExceptionEvent = std::function<void(TObject* Sender, Exception* E)>;
// Done false asks for another call without waiting for an event.
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
// Sees a queued message (input and posted messages) before its window does; Handled eats it.
using TMessageEvent = std::function<void(TMsg& Msg, bool& Handled)>;
// A message hook: true eats the message; changing Msg.hwnd sends it to that window instead.
using TMessageHook = std::function<bool(TMsg& Msg)>;
using TShowHintEvent = std::function<void(std::string& HintStr, bool& CanShow, THintInfo& HintInfo)>;

// The application object. It owns Qt's application object (made on Initialize or on first need)
// and the forms created through CreateForm.
class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    void Initialize();
    // Creates a form owned by the application; the first one becomes the main form.
    template <class T> void CreateForm(T*& Reference) {
        Reference = new T(this);
        AddForm(Reference);
        Reference->AfterConstruction();
    }
    // Shows the main form and runs the message loop until it closes or Terminate is called; then
    // frees the forms it owns, newest first, each after its OnDestroy.
    void Run();
    void ProcessMessages();
    // Waits for events and handles them; OnIdle runs when the queue has drained.
    void HandleMessage();
    // Runs the event loop until Done() answers true (checked after every event), waiting for
    // events in between. A local loop of a popup or a drag.
    void RunLoop(const std::function<bool()>& Done);
    void Terminate();
    bool Terminated() const { return FTerminated; }

    // Call inside a catch block: hands the exception in flight to OnException, or shows it.
    void HandleException(TObject* Sender);
    void ShowException(const Exception* E);
    void ShowException(const std::string& Message);
    // A message box through the dialog service; the result is an ID* value.
    int MessageBox(const std::string& Text, const std::string& Caption, UINT Flags = MB_OK);

    TCustomForm* MainForm() const { return FMainForm; }
    std::string ExeName() const; // ProgramPath(): empty when the path is unknown or refused
    // The program's file name without extension until set.
    std::string Title() const;
    void SetTitle(const std::string& v) { FTitle = v; }
    std::string Hint() const { return FHint; }
    void SetHint(const std::string& v) { FHint = v; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v) { FShowHint = v; }
    // Number of exceptions HandleException has seen (kept for tests of the boundary).
    int ExceptionCount() const { return FExceptionCount; }

    // True while one of the program's windows is the active one.
    bool Active() const;

    // Hooks see every queued message, newest hook first, before OnMessage; returns an id for
    // UnhookMessages.
    int HookMessages(TMessageHook Hook);
    void UnhookMessages(int Id);
    // Offers a queued message to the hooks and OnMessage; true when one ate it. The platform's
    // event translation calls it; so may a local loop that takes messages itself.
    bool FilterMessage(TMsg& Msg);

    // Hints: the colour of the hint window, the pause before it shows and before it hides (ms).
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor v) { FHintColor = v; }
    int HintPause() const { return FHintPause; }
    void SetHintPause(int v) { FHintPause = v; }
    int HintShortPause() const { return FHintShortPause; }
    void SetHintShortPause(int v) { FHintShortPause = v; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int v) { FHintHidePause = v; }
    // Shows the hint of the control under the mouse now; CancelHint hides it and waits for the
    // next pause; HideHint only hides it.
    void ActivateHint(TPoint CursorPos);
    void CancelHint();
    void HideHint();
    // The hint window shown now (null when none).
    THintWindow* HintWindow() const;

    TExceptionEvent OnException;
    TIdleEvent OnIdle;
    TMessageEvent OnMessage;
    TShowHintEvent OnShowHint;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

    // Makes Qt's application object on first need (with the program's arguments when known).
    static void QtApp();
    // Runs OnIdle; the platform calls it when the event queue has drained.
    void Idle();

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* f);

    TCustomForm* FMainForm = nullptr;
    std::string FTitle;
    std::string FHint;
    bool FShowHint = true;
    bool FTerminated = false;
    bool FRunning = false;
    int FExceptionCount = 0;
    std::vector<std::pair<int, TMessageHook>> FHooks;
    int FNextHook = 1;
    TColor FHintColor = clInfoBk;
    int FHintPause = 500;
    int FHintShortPause = 50;
    int FHintHidePause = 2500;
};

extern TApplication* Application;

// The screen: size, the global cursor, the active form and control, the installed font names.
class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner);
    ~TScreen() override;
    int Width() const;
    int Height() const;
    int PixelsPerInch() const { return ScreenPixelsPerInch; }
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor v);
    // The cursor handle of a cursor index: a standard shape, or one set with SetCursors.
    HCURSOR Cursors(TCursor c) const;
    void SetCursors(TCursor c, HCURSOR h);
    // The monitors (sysinfo.h), the primary one first.
    int MonitorCount() const;
    TMonitor* Monitors(int i) const;
    TMonitor* MonitorFromPoint(TPoint p, TMonitorDefaultTo d = mdNearest) const;
    TMonitor* MonitorFromRect(const TRect& r, TMonitorDefaultTo d = mdNearest) const;
    TMonitor* MonitorFromWindow(HWND h, TMonitorDefaultTo d = mdNearest) const;
    // The primary monitor's work area.
    TRect WorkAreaRect() const;
    int WorkAreaLeft() const { return WorkAreaRect().Left; }
    int WorkAreaTop() const { return WorkAreaRect().Top; }
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }
    TCustomForm* ActiveForm() const;
    TWinControl* ActiveControl() const;
    // Font family names, sorted.
    TStrings* Fonts();
    int FormCount() const { return int(FForms.size()); }
    TCustomForm* Forms(int i) const { return FForms.at(size_t(i)); }
    TFont* MenuFont();
    TFont* HintFont();
    TFont* IconFont();

private:
    friend class TCustomForm;
    std::vector<TCustomForm*> FForms;
    std::unique_ptr<TStringList> FFonts;
    std::unique_ptr<TFont> FMenuFont, FHintFont, FIconFont;
    TCursor FCursor = crDefault;
};

extern TScreen* Screen;
