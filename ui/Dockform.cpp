// The message window.
#include "Dockform.h"

#include "Conjoinhost.h"
#include "Tabhost.h"
#include "dragdock.h"
#include "extctrls.h"

TDockableForm* DockableForm = nullptr;
std::function<void(TWinControl* panel)> HideDockPanel;

namespace {

bool IsDockable(const TObject* c) { return dynamic_cast<const TDockableForm*>(c) != nullptr; }

} // namespace

TDockableForm::TDockableForm(TComponent* AOwner) : TDockClientForm(AOwner) {
    SetCaption("Окно сообщений");
    SetBounds(285, 409, 339, 110);
    SetDockSite(true);
    SetDragKind(dkDock);
    SetDragMode(dmAutomatic);
    PopupMenu1 = new TPopupMenu(this);
    N1 = new TMenuItem(this);
    N1->SetCaption("Очистить Результаты Проверки");
    N1->OnClick = [this](TObject* s) { N1Click(s); };
    N2 = new TMenuItem(this);
    N2->SetCaption("-");
    N3 = new TMenuItem(this);
    N3->SetCaption("Закрыть Окно Сообщений");
    N3->OnClick = [this](TObject* s) { N3Click(s); };
    PopupMenu1->Items()->Add(N1);
    PopupMenu1->Items()->Add(N2);
    PopupMenu1->Items()->Add(N3);
    MessageMemo = new TMemo(this);
    MessageMemo->SetParent(this);
    MessageMemo->SetAlign(alClient);
    MessageMemo->SetReadOnly(true);
    MessageMemo->SetScrollBars(ssVertical);
    MessageMemo->SetWordWrap(false);
    MessageMemo->WantReturns = false;
    MessageMemo->SetPopupMenu(PopupMenu1);
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnShow = [this](TObject* s) { FormShow(s); };
    OnDockOver = [this](TObject* s, TDragDockObject* src, int x, int y, TDragState st, bool& a) {
        FormDockOver(s, src, x, y, st, a);
    };
}

TDockableForm::~TDockableForm() {
    if (DockableForm == this)
        DockableForm = nullptr;
}

TAlign TDockableForm::DockZoneAt(TPoint p, TRect& preview) {
    int w = ClientWidth(), h = ClientHeight();
    struct Zone {
        TRect r;
        TAlign align;
        TRect preview;
    };
    const Zone zones[] = {
        {TRect(0, 0, w / 5, h), alLeft, TRect(0, 0, w / 2, h)},
        {TRect(w / 5, 0, w / 5 * 4, h / 5), alTop, TRect(0, 0, w, h / 2)},
        {TRect(w / 5 * 4, 0, w, h), alRight, TRect(w / 2, 0, w, h)},
        {TRect(w / 5, h / 5 * 4, w / 5 * 4, h), alBottom, TRect(0, h / 2, w, h)},
        {TRect(w / 5, h / 5, w / 5 * 4, h / 5 * 4), alClient, TRect(w / 5, h / 5, w / 5 * 4, h / 5 * 4)},
    };
    for (const Zone& z : zones)
        if (p.x >= z.r.Left && p.x < z.r.Right && p.y >= z.r.Top && p.y < z.r.Bottom) {
            TPoint a = ClientToScreen(z.preview.TopLeft()), b = ClientToScreen(z.preview.BottomRight());
            preview = TRect(a.x, a.y, b.x, b.y);
            return z.align;
        }
    return alNone;
}

void TDockableForm::FormDockOver(TObject*, TDragDockObject* Source, int X, int Y, TDragState, bool& Accept) {
    Accept = IsDockable(Source->Control());
    if (!Accept)
        return;
    TRect preview;
    if (DockZoneAt(TPoint(X, Y), preview) != alNone)
        Source->DockRect = preview;
}

void TDockableForm::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_DOCKCLIENT) {
        HandleDockClient(Message);
        return;
    }
    TDockClientForm::Dispatch(Message);
}

void TDockableForm::HandleDockClient(TMessage& Message) {
    auto* source = reinterpret_cast<TDragDockObject*>(Message.WParam);
    auto* dragged = dynamic_cast<TDockableForm*>(source->Control());
    if (!dragged)
        return;
    TRect preview;
    TAlign zone = DockZoneAt(TPoint(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)), preview);
    if (auto* panel = dynamic_cast<TPanel*>(HostDockSite())) {
        DockManually(dragged, panel, zone);
        return;
    }
    if (zone == alClient) {
        auto* host = new TTabDockHost(Application);
        host->SetBoundsRect(BoundsRect());
        if (!host->PageControl1)
            throw EInvalidCast("Окно со вкладками создано без набора страниц");
        DockManually(this, host->PageControl1, alClient);
        DockManually(dragged, host->PageControl1, alClient);
        host->SetVisible(true);
        return;
    }
    auto* host = new TConjoinDockHost(Application);
    host->SetBoundsRect(BoundsRect());
    DockManually(this, host, alNone);
    SetDockSite(false);
    DockManually(dragged, host, zone);
    dragged->SetDockSite(false);
    host->SetVisible(true);
}

void TDockableForm::FormClose(TObject*, TCloseAction& Action) {
    if (auto* host = dynamic_cast<TConjoinDockHost*>(HostDockSite())) {
        UpdateHostCaption(host, this);
        int visible = 0;
        for (int i = 0; i < host->DockClientCount(); ++i)
            visible += host->DockClients(i)->Visible() ? 1 : 0;
        if (visible <= 1)
            host->Hide();
    }
    if (auto* panel = dynamic_cast<TPanel*>(HostDockSite()); panel && HideDockPanel)
        HideDockPanel(panel);
    Action = caHide;
}

void TDockableForm::FormShow(TObject*) {
    if (auto* host = dynamic_cast<TConjoinDockHost*>(HostDockSite()))
        UpdateHostCaption(host, nullptr);
}

void TDockableForm::N1Click(TObject*) { MessageMemo->Lines()->Clear(); }

void TDockableForm::N3Click(TObject*) { Close(); }

void AddMessage(const std::string& text, uint8_t kind) {
    if (!DockableForm)
        return;
    const char* prefix = kind == kMessageWarning ? "[Предупреждение]: "
                         : kind == kMessageError ? "[Ошибка]: "
                         : kind == kMessageInfo  ? "[Информация]: "
                                                 : "";
    std::string line = prefix + text;
    TStrings* lines = DockableForm->MessageMemo->Lines();
    if (lines->IndexOf(line) < 0)
        lines->Add(line);
}

void DockManually(TControl* control, TWinControl* site, TAlign align) {
    control->ManualDock(site, nullptr, align);
    if (site->OnDockDrop && control->HostDockSite() == site) {
        TDragDockObject o(control);
        o.Floating = false;
        o.DropAlign = align;
        site->OnDockDrop(site, &o, 0, 0);
    }
}
