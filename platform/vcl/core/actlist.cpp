// Actions and action lists; a control's Action through its link; the idle update of the forms'
// actions. GUI core (platform/vcl).
#include "actlist.h"

#include <algorithm>

#include "forms.h"

// ---- links ---------------------------------------------------------------------------------------

TBasicActionLink::~TBasicActionLink() {
    if (FAction)
        FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
    if (Value == FAction)
        return;
    if (FAction)
        FAction->UnRegisterChanges(this);
    if (Value)
        Value->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent) {
    if (!FAction)
        return false;
    TBasicAction* a = FAction;
    a->SetActionComponent(AComponent);
    struct TReset {
        TBasicAction* A;
        ~TReset() { A->SetActionComponent(nullptr); }
    } reset{a};
    return a->Execute();
}

bool TBasicActionLink::Update() { return FAction && FAction->Update(); }

void TBasicActionLink::Change() {
    if (OnChange)
        OnChange(FAction);
}

void TActionLink::AssignAll() {
    auto* a = dynamic_cast<TCustomAction*>(FAction);
    if (!a)
        return;
    SetCaption(a->Caption());
    SetChecked(a->Checked());
    SetEnabled(a->Enabled());
    SetHelpContext(a->HelpContext());
    SetHint(a->Hint());
    SetImageIndex(a->ImageIndex());
    SetShortCut(a->ShortCut());
    SetVisible(a->Visible());
}

void TActionLink::Change() {
    AssignAll();
    TBasicActionLink::Change();
}

// ---- TBasicAction --------------------------------------------------------------------------------

TBasicAction::~TBasicAction() {
    for (TBasicActionLink* l : FClients)
        l->FAction = nullptr;
}

bool TBasicAction::Execute() {
    if (!OnExecute)
        return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update() {
    if (!OnUpdate)
        return false;
    OnUpdate(this);
    return true;
}

void TBasicAction::RegisterChanges(TBasicActionLink* Value) {
    if (!Value || std::find(FClients.begin(), FClients.end(), Value) != FClients.end())
        return;
    FClients.push_back(Value);
    Value->FAction = this;
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Value) {
    auto it = std::find(FClients.begin(), FClients.end(), Value);
    if (it == FClients.end())
        return;
    FClients.erase(it);
    Value->FAction = nullptr;
}

void TBasicAction::Change() {
    std::vector<TBasicActionLink*> clients = FClients;
    for (TBasicActionLink* l : clients)
        if (std::find(FClients.begin(), FClients.end(), l) != FClients.end())
            l->Change();
}

// ---- TContainedAction ----------------------------------------------------------------------------

namespace {

// The form that hears CM_ACTIONEXECUTE/CM_ACTIONUPDATE: the active one, else the main one.
TCustomForm* ActionForm() {
    TCustomForm* f = Screen ? Screen->ActiveForm() : nullptr;
    if (!f && Application)
        f = Application->MainForm();
    return f;
}

bool SendToActionForm(UINT Msg, TBasicAction* Action) {
    TCustomForm* f = ActionForm();
    return f && f->Perform(Msg, 0, reinterpret_cast<LPARAM>(Action)) == 1;
}

} // namespace

TContainedAction::~TContainedAction() { SetActionList(nullptr); }

void TContainedAction::SetActionList(TActionList* Value) {
    if (Value == FActionList)
        return;
    if (FActionList) {
        auto& v = FActionList->FActions;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
    FActionList = Value;
    if (Value)
        Value->FActions.push_back(this);
}

int TContainedAction::Index() const {
    if (!FActionList)
        return -1;
    auto& v = FActionList->FActions;
    return int(std::find(v.begin(), v.end(), this) - v.begin());
}

bool TContainedAction::Execute() {
    if (FActionList && FActionList->ExecuteAction(this))
        return true;
    if (TBasicAction::Execute())
        return true;
    return SendToActionForm(CM_ACTIONEXECUTE, this);
}

bool TContainedAction::Update() {
    if (FActionList && FActionList->UpdateAction(this))
        return true;
    if (TBasicAction::Update())
        return true;
    return SendToActionForm(CM_ACTIONUPDATE, this);
}

// ---- TCustomAction -------------------------------------------------------------------------------

void TCustomAction::SetCaption(const std::string& v) {
    if (v == FCaption)
        return;
    FCaption = v;
    Change();
}

void TCustomAction::SetChecked(bool v) {
    if (v == FChecked)
        return;
    FChecked = v;
    if (v && FGroupIndex > 0 && ActionList())
        for (int i = 0; i < ActionList()->ActionCount(); ++i) {
            auto* other = dynamic_cast<TCustomAction*>(ActionList()->Actions(i));
            if (other && other != this && other->FGroupIndex == FGroupIndex)
                other->SetChecked(false);
        }
    Change();
}

void TCustomAction::SetEnabled(bool v) {
    if (v == FEnabled)
        return;
    FEnabled = v;
    Change();
}

void TCustomAction::SetVisible(bool v) {
    if (v == FVisible)
        return;
    FVisible = v;
    Change();
}

void TCustomAction::SetHint(const std::string& v) {
    if (v == FHint)
        return;
    FHint = v;
    Change();
}

void TCustomAction::SetImageIndex(int v) {
    if (v == FImageIndex)
        return;
    FImageIndex = v;
    Change();
}

void TCustomAction::SetShortCut(TShortCut v) {
    if (v == FShortCut)
        return;
    FShortCut = v;
    Change();
}

void TCustomAction::SetHelpContext(int v) {
    if (v == FHelpContext)
        return;
    FHelpContext = v;
    Change();
}

bool TCustomAction::Execute() {
    Update();
    if (!FEnabled)
        return false;
    if (FAutoCheck)
        SetChecked(!FChecked);
    return TContainedAction::Execute();
}

// ---- TActionList ---------------------------------------------------------------------------------

TActionList::~TActionList() {
    while (!FActions.empty())
        FActions.back()->SetActionList(nullptr);
}

void TActionList::SetState(TActionListState v) {
    if (v == FState)
        return;
    FState = v;
    if (v == asSuspendedEnabled)
        for (TContainedAction* a : FActions)
            if (auto* c = dynamic_cast<TCustomAction*>(a))
                c->SetEnabled(true);
    if (OnChange)
        OnChange(this);
}

bool TActionList::ExecuteAction(TBasicAction* Action) {
    bool handled = false;
    if (FState == asNormal && OnExecute)
        OnExecute(Action, handled);
    return handled;
}

bool TActionList::UpdateAction(TBasicAction* Action) {
    bool handled = false;
    if (FState == asNormal && OnUpdate)
        OnUpdate(Action, handled);
    return handled;
}

bool TActionList::IsShortCut(TShortCut Key) {
    if (Key == scNone || FState != asNormal)
        return false;
    std::vector<TContainedAction*> actions = FActions;
    for (TContainedAction* a : actions) {
        auto* c = dynamic_cast<TCustomAction*>(a);
        if (c && c->ShortCut() == Key) {
            c->Update();
            return c->Enabled() && c->Execute();
        }
    }
    return false;
}

void TActionList::UpdateActions() {
    if (FState != asNormal)
        return;
    std::vector<TContainedAction*> actions = FActions;
    for (TContainedAction* a : actions)
        if (std::find(FActions.begin(), FActions.end(), a) != FActions.end())
            a->Update();
}

// ---- the control's side --------------------------------------------------------------------------

void TControl::SetAction(TBasicAction* Value) {
    if (!Value) {
        delete FActionLink;
        FActionLink = nullptr;
        return;
    }
    if (!FActionLink)
        FActionLink = CreateActionLink();
    FActionLink->SetAction(Value);
    FActionLink->OnChange = [this](TObject* Sender) { ActionChange(Sender, false); };
    FActionLink->AssignAll();
    ActionChange(Value, true);
}

TControlActionLink* TControl::CreateActionLink() {
    return dynamic_cast<TWinControl*>(this) ? new TWinControlActionLink(this) : new TControlActionLink(this);
}

TBasicAction* TControl::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TControl::ActionChange(TObject*, bool) {}

bool TControl::ExecuteAction(TBasicAction* Action) {
    if (!Action || !Action->HandlesTarget(this))
        return false;
    Action->ExecuteTarget(this);
    return true;
}

bool TControl::UpdateAction(TBasicAction* Action) {
    if (!Action || !Action->HandlesTarget(this))
        return false;
    Action->UpdateTarget(this);
    return true;
}

void TControl::InitiateAction() {
    if (FActionLink)
        FActionLink->Update();
}

void TCustomForm::CMActionExecute(TMessage& Message) {
    auto* a = reinterpret_cast<TBasicAction*>(Message.LParam);
    TWinControl* c = ActiveControl();
    Message.Result = (c && c->ExecuteAction(a)) || ExecuteAction(a) ? 1 : 0;
}

void TCustomForm::CMActionUpdate(TMessage& Message) {
    auto* a = reinterpret_cast<TBasicAction*>(Message.LParam);
    TWinControl* c = ActiveControl();
    Message.Result = (c && c->UpdateAction(a)) || UpdateAction(a) ? 1 : 0;
}

namespace {

void InitiateActions(TWinControl* w) {
    for (int i = 0; i < w->ControlCount(); ++i) {
        TControl* c = w->Controls(i);
        if (!c->Visible())
            continue;
        c->InitiateAction();
        if (auto* cw = dynamic_cast<TWinControl*>(c))
            InitiateActions(cw);
    }
}

} // namespace

void TCustomForm::UpdateActions() {
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* l = dynamic_cast<TActionList*>(Components(i)))
            l->UpdateActions();
    InitiateAction();
    InitiateActions(this);
}

void UpdateFormActions() {
    if (!Screen)
        return;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* f = Screen->Forms(i);
        if (f->Visible())
            f->UpdateActions();
    }
}
