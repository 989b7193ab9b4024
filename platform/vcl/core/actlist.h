// Actions of the GUI core: one command (caption, enabled, checked, shortcut, handler) shared by the
// controls and menu items linked to it, kept up to date while the application is idle.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "controls.h"
#include "graphics.h"

class TBasicAction;
class TActionList;

// Ties a client (a control, a menu item) to an action: the action pushes its changes through the
// link's setters; the client executes the action through the link.
class TBasicActionLink : public TObject {
public:
    explicit TBasicActionLink(TObject* AClient) : FClient(AClient) {}
    ~TBasicActionLink() override;
    TBasicAction* Action() const { return FAction; }
    void SetAction(TBasicAction* Value);
    TObject* Client() const { return FClient; }
    // Runs the action on behalf of AComponent; false when nothing handled it.
    virtual bool Execute(TComponent* AComponent = nullptr);
    virtual bool Update();
    TNotifyEvent OnChange;

protected:
    friend class TBasicAction;
    // The action changed: the client takes its properties again.
    virtual void Change();
    TBasicAction* FAction = nullptr;
    TObject* FClient;
};

class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
    ~TBasicAction() override;
    // OnExecute; true when a handler ran.
    virtual bool Execute();
    // OnUpdate; true when a handler ran.
    virtual bool Update();
    // Standard actions act on a target (the focused control); plain ones have none.
    virtual bool HandlesTarget(TObject*) { return false; }
    virtual void UpdateTarget(TObject*) {}
    virtual void ExecuteTarget(TObject*) {}
    // The client that started the running execution (null outside one).
    TComponent* ActionComponent() const { return FActionComponent; }
    void SetActionComponent(TComponent* v) { FActionComponent = v; }
    void RegisterChanges(TBasicActionLink* Value);
    void UnRegisterChanges(TBasicActionLink* Value);
    int ClientCount() const { return int(FClients.size()); }
    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

protected:
    // Tells every link (a client's handler may unlink itself meanwhile).
    void Change();

private:
    std::vector<TBasicActionLink*> FClients;
    TComponent* FActionComponent = nullptr;
};

using TActionEvent = std::function<void(TBasicAction* Action, bool& Handled)>;

// An action that belongs to an action list; the list's handlers see it first.
class TContainedAction : public TBasicAction {
public:
    explicit TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}
    ~TContainedAction() override;
    TActionList* ActionList() const { return FActionList; }
    void SetActionList(TActionList* Value);
    int Index() const;
    std::string Category;
    // The list's OnExecute, then the action's own, then CM_ACTIONEXECUTE to the active form (a
    // standard action finds its target there).
    bool Execute() override;
    // The list's OnUpdate, then the action's own, then CM_ACTIONUPDATE to the active form.
    bool Update() override;

private:
    TActionList* FActionList = nullptr;
};

class TCustomAction : public TContainedAction {
public:
    explicit TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}
    std::string Caption() const { return FCaption; }
    void SetCaption(const std::string& v);
    bool Checked() const { return FChecked; }
    // Checking one action of a group unchecks the others of its list with the same GroupIndex.
    void SetChecked(bool v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    std::string Hint() const { return FHint; }
    void SetHint(const std::string& v);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut v);
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int v);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v) { FGroupIndex = v; }
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool v) { FAutoCheck = v; }
    // Updates first; runs only while enabled (an AutoCheck action flips Checked before).
    bool Execute() override;

private:
    std::string FCaption, FHint;
    bool FChecked = false, FEnabled = true, FVisible = true, FAutoCheck = false;
    int FImageIndex = -1, FHelpContext = 0, FGroupIndex = 0;
    TShortCut FShortCut = scNone;
};

class TAction : public TCustomAction {
public:
    explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

enum TActionListState { asNormal, asSuspended, asSuspendedEnabled };

class TActionList : public TComponent {
public:
    explicit TActionList(TComponent* AOwner) : TComponent(AOwner) {}
    ~TActionList() override;
    int ActionCount() const { return int(FActions.size()); }
    TContainedAction* Actions(int i) const { return FActions.at(size_t(i)); }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v) { FImages = v; }
    TActionListState State() const { return FState; }
    void SetState(TActionListState v);
    // Runs the enabled action whose shortcut is Key; true when one ran.
    bool IsShortCut(TShortCut Key);
    // The list's handlers; true when one set Handled.
    virtual bool ExecuteAction(TBasicAction* Action);
    virtual bool UpdateAction(TBasicAction* Action);
    // Updates every action (the idle pass).
    void UpdateActions();
    TActionEvent OnExecute;
    TActionEvent OnUpdate;
    TNotifyEvent OnChange;

private:
    friend class TContainedAction;
    std::vector<TContainedAction*> FActions;
    TCustomImageList* FImages = nullptr;
    TActionListState FState = asNormal;
};

// A link whose client shows an action's properties: one setter per property, each a no-op here.
class TActionLink : public TBasicActionLink {
public:
    using TBasicActionLink::TBasicActionLink;
    virtual void SetCaption(const std::string&) {}
    virtual void SetChecked(bool) {}
    virtual void SetEnabled(bool) {}
    virtual void SetHelpContext(int) {}
    virtual void SetHint(const std::string&) {}
    virtual void SetImageIndex(int) {}
    virtual void SetShortCut(TShortCut) {}
    virtual void SetVisible(bool) {}
    // Pushes every property of the action (a TCustomAction) through the setters.
    void AssignAll();

protected:
    void Change() override;
};

// A control's link: caption, enabled, hint and visible go to the control.
class TControlActionLink : public TActionLink {
public:
    explicit TControlActionLink(TControl* AClient) : TActionLink(AClient), FControl(AClient) {}
    void SetCaption(const std::string& v) override { FControl->SetCaption(v); }
    void SetEnabled(bool v) override { FControl->SetEnabled(v); }
    void SetHint(const std::string& v) override { FControl->SetHint(v); }
    void SetVisible(bool v) override { FControl->SetVisible(v); }

protected:
    TControl* FControl;
};

class TWinControlActionLink : public TControlActionLink {
public:
    using TControlActionLink::TControlActionLink;
};

// Updates the actions of every visible form: their action lists, then the actions of their
// controls. The application runs it when idle.
void UpdateFormActions();
