// The message window: a dockable form that lists the findings of checks and guards, docks into
// the main window's bottom panel and builds a host form around itself and another dockable form
// dropped onto it. User-interface layer.
#pragma once

#include <functional>
#include <string>

#include "Dockformbase.h"
#include "menus.h"
#include "stdctrls.h"

class TDockableForm : public TDockClientForm {
public:
    explicit TDockableForm(TComponent* AOwner);
    ~TDockableForm() override;

    TMemo* MessageMemo;
    TPopupMenu* PopupMenu1;
    TMenuItem *N1, *N2, *N3;

    // The zone under a client point and its preview rectangle in screen coordinates.
    TAlign DockZoneAt(TPoint p, TRect& preview);
    void FormDockOver(TObject* Sender, TDragDockObject* Source, int X, int Y, TDragState State, bool& Accept);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormShow(TObject* Sender);
    void N1Click(TObject* Sender);
    void N3Click(TObject* Sender);

protected:
    void Dispatch(TMessage& Message) override;

private:
    void HandleDockClient(TMessage& Message);
};

// Kinds of AddMessage: 1 warning, 2 error, 3 information; others add no prefix.
inline constexpr uint8_t kMessageWarning = 1, kMessageError = 2, kMessageInfo = 3;
// Adds "<prefix><text>" to the message window unless an equal line is there; does not show it.
void AddMessage(const std::string& text, uint8_t kind);

// Docks the control into the site as ManualDock does, then runs the site's OnDockDrop as a dropped
// form would (the platform's ManualDock raises none), so the site lays its clients out either way.
void DockManually(TControl* control, TWinControl* site, TAlign align);

// Hides a dock panel the message window leaves by closing (the main window sets it: the panel and
// its splitter are the window's).
extern std::function<void(TWinControl* panel)> HideDockPanel;

extern TDockableForm* DockableForm;

// A handler reached by a sender of the wrong class, or a host without its page control.
class EInvalidCast : public Exception {
public:
    using Exception::Exception;
};
