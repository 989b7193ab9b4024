// Menus over QAction/QMenu/QMenuBar. GUI core (platform/vcl).
#include "menus.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QScopedValueRollback>
#include <QToolButton>

#include <algorithm>

#include "core_qt.h"
#include "cp1251.h"
#include "forms.h"
#include "handle.h"

namespace {

QString ToQt(const std::string& s) { return QString::fromStdString(Cp1251ToUtf8(s)); }

// A menu bar makes its overflow button at once and asks the style for the button's arrow; the style
// reads that picture through Qt's image reader, which first loads every image-format plugin: about
// 1 ms of the program's start, for a button shown only when the menus do not fit. While a main
// menu's bar is made the application's style answers with no icon, and the button gets the style's
// own icon just before it first paints.
bool gMakingMenuBar = false;

class TApplicationStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (gMakingMenuBar && which == SP_ToolBarHorizontalExtensionButton)
            return QIcon();
        return QProxyStyle::standardIcon(which, option, widget);
    }
};

void GiveExtensionIcon(QToolButton* button) {
    button->setIcon(button->style()->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, nullptr,
                                                  button->parentWidget()));
}

// Gives a bar's overflow button its icon before the button first paints. Not when it is first shown:
// a bar still being filled, narrower than its window, shows the button for a moment.
class TExtensionIconOnPaint : public QObject {
public:
    explicit TExtensionIconOnPaint(QToolButton* button) : QObject(button) {
        button->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            auto* button = static_cast<QToolButton*>(watched);
            button->removeEventFilter(this);
            GiveExtensionIcon(button);
            deleteLater();
        }
        return false;
    }
};

// A new bar's buttons left without their icon get it when they paint.
void DeferExtensionIcons(QMenuBar* bar) {
    for (QToolButton* b : bar->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
        if (b->icon().isNull())
            new TExtensionIconOnPaint(b);
}

} // namespace

void InstallApplicationStyle() {
    if (!dynamic_cast<TApplicationStyle*>(QApplication::style()))
        QApplication::setStyle(new TApplicationStyle(QApplication::style()));
}

// ---- TMenuItem -------------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FAction(new TQtAction()) {
    // The owner-draw style finds the item of an action through this.
    FAction->setData(QVariant::fromValue(static_cast<void*>(this)));
    // A menu choice arrives from Qt: its handler runs inside the boundary.
    QObject::connect(FAction, &QAction::triggered,
                     [this](bool) { TMessageBoundary::Run(this, [this] { Click(); }); });
}

TMenuItem::~TMenuItem() {
    while (!FItems.empty()) {
        TMenuItem* c = FItems.back();
        FItems.pop_back();
        c->FParent = nullptr;
        delete c;
    }
    if (FParent)
        FParent->Remove(this);
    delete FSubMenu;
    delete FAction;
}

void TMenuItem::SetCaption(const std::string& v) {
    if (FCaption == v)
        return;
    FCaption = v;
    Sync();
}

void TMenuItem::SetChecked(bool v) {
    if (FChecked == v)
        return;
    FChecked = v;
    if (v && FRadioItem)
        UncheckSiblings();
    Sync();
}

void TMenuItem::SetRadioItem(bool v) {
    FRadioItem = v;
    if (v && FChecked)
        UncheckSiblings();
    Sync();
}

void TMenuItem::UncheckSiblings() {
    if (!FParent)
        return;
    for (TMenuItem* s : FParent->FItems)
        if (s != this && s->FRadioItem && s->FGroupIndex == FGroupIndex && s->FChecked) {
            s->FChecked = false;
            s->Sync();
        }
}

void TMenuItem::SetEnabled(bool v) {
    FEnabled = v;
    Sync();
}

void TMenuItem::SetVisible(bool v) {
    FVisible = v;
    Sync();
}

void TMenuItem::SetShortCut(TShortCut v) {
    FShortCut = v;
    Sync();
}

void TMenuItem::Sync() {
    FAction->setSeparator(IsLine());
    // A separator with text is a titled section to Qt's styles, which draw the text before the rule.
    FAction->setText(IsLine() ? QString() : ToQt(FCaption));
    FAction->setCheckable(FChecked || FRadioItem || FAutoCheck);
    FAction->setChecked(FChecked);
    FAction->setEnabled(FEnabled);
    FAction->setVisible(FVisible);
    QFont f = FAction->font();
    f.setBold(FDefault);
    FAction->setFont(f);
    if (FShortCut) {
        WORD key;
        TShiftState shift;
        ShortCutToKey(FShortCut, key, shift);
        int k = VirtualKeyToQtKey(key);
        if (shift.Contains(ssShift))
            k |= Qt::SHIFT;
        if (shift.Contains(ssCtrl))
            k |= Qt::CTRL;
        if (shift.Contains(ssAlt))
            k |= Qt::ALT;
        FAction->setShortcut(QKeySequence(k));
    } else {
        FAction->setShortcut(QKeySequence());
    }
}

int TMenuItem::MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

int TMenuItem::IndexOf(const TMenuItem* Item) const {
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (!Item)
        return;
    if (Item->FParent)
        throw EMenuError("Menu inserted twice");
    if (Index < 0 || Index > Count())
        Index = Count();
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    // Only the new action goes in: rebuilding the whole menu on every add made filling a long
    // menu quadratic.
    size_t next = size_t(Index) + 1;
    SubMenu()->insertAction(next < FItems.size() ? FItems[next]->FAction : nullptr, Item->FAction);
    Item->SyncImage();
    MenuChanged();
}

void TMenuItem::Remove(TMenuItem* Item) {
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    if (it == FItems.end())
        return;
    FItems.erase(it);
    Item->FParent = nullptr;
    SubMenu()->removeAction(Item->FAction);
    MenuChanged();
}

void TMenuItem::Delete(int Index) {
    if (Index < 0 || Index >= Count())
        throw EMenuError("Menu index out of range");
    TMenuItem* c = FItems[size_t(Index)];
    Remove(c);
    delete c;
}

void TMenuItem::Clear() {
    while (!FItems.empty())
        Delete(Count() - 1);
}

TMenuItem* TMenuItem::Find(const std::string& ACaption) const {
    std::string want = StripHotkey(ACaption);
    for (TMenuItem* c : FItems)
        if (AnsiSameText(StripHotkey(c->FCaption), want))
            return c;
    return nullptr;
}

TQtMenu* TMenuItem::SubMenu() {
    if (!FSubMenu) {
        FSubMenu = new TQtMenu();
        InstallMenuDrawStyle(FSubMenu);
        // Opening a submenu runs the parent item's OnClick, so it can fill or tick its children.
        QObject::connect(FSubMenu, &QMenu::aboutToShow, [this] {
            TMessageBoundary::Run(this, [this] {
                if (OnClick)
                    OnClick(this);
            });
        });
        if (!FMenu)
            FAction->setMenu(FSubMenu);
    }
    return FSubMenu;
}

void TMenuItem::SetImageIndex(int v) {
    FImageIndex = v;
    SyncImage();
}

void TMenuItem::SetDefault(bool v) {
    FDefault = v;
    Sync();
}

TMenu* TMenuItem::RootMenu() const {
    const TMenuItem* i = this;
    while (i->FParent)
        i = i->FParent;
    return i->FMenu;
}

void TMenuItem::MenuChanged() {
    if (FMenu)
        FMenu->MenuChanged();
}

void TMenuItem::Click() {
    if (FAutoCheck)
        SetChecked(!FChecked);
    if (OnClick)
        OnClick(this);
}

// ---- TMenu / TMainMenu / TPopupMenu ----------------------------------------------------------------

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr)) {
    FItems->FMenu = this;
}

TMenu::~TMenu() {
    FImageLink.reset();
    FItems.reset();
}

static TMenuItem* FindShortCut(TMenuItem* item, TShortCut sc) {
    for (int i = 0; i < item->Count(); ++i) {
        TMenuItem* c = item->Items(i);
        if (c->ShortCut() == sc)
            return c;
        if (TMenuItem* d = FindShortCut(c, sc))
            return d;
    }
    return nullptr;
}

TMenuItem* TMenu::FindItemByShortCut(TShortCut sc) const {
    return sc ? FindShortCut(FItems.get(), sc) : nullptr;
}

bool TMenu::IsShortCut(TShortCut sc) {
    TMenuItem* i = FindItemByShortCut(sc);
    for (TMenuItem* p = i; p && p != FItems.get(); p = p->Parent())
        if (!p->Enabled() || !p->Visible())
            return false;
    if (!i)
        return false;
    i->Click();
    return true;
}

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}

TMainMenu::~TMainMenu() {
    // The bar belongs to the form's window; it only loses its actions and its link to this menu.
    if (FBar) {
        FBar->disconnect();
        FBar->clear();
    }
}

TQtMenuBar* TMainMenu::MenuBar(HWND parent) {
    if (FBar && FBar->parentWidget() != parent)
        FBar = nullptr;
    if (!FBar) {
        {
            QScopedValueRollback<bool> making(gMakingMenuBar, true);
            FBar = new TQtMenuBar(parent);
        }
        DeferExtensionIcons(FBar);
        InstallMenuDrawStyle(FBar);
        QObject::connect(FBar, &QObject::destroyed, [this](QObject*) { FBar = nullptr; });
        MenuChanged();
    }
    return FBar;
}

void TMainMenu::MenuChanged() {
    if (!FBar)
        return;
    FBar->clear();
    for (int i = 0; i < Items()->Count(); ++i)
        FBar->addAction(Items()->Items(i)->Action());
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Popup(int X, int Y) {
    if (OnPopup)
        OnPopup(this);
    TApplication::QtApp();
    Items()->SubMenu()->exec(QPoint(X, Y));
}

// ---- shortcut text ---------------------------------------------------------------------------------

std::string StripHotkey(const std::string& caption) {
    std::string r;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&')
                r += caption[++i];
            continue;
        }
        r += caption[i];
    }
    return r;
}

namespace {

const struct {
    WORD Key;
    const char* Name;
} kKeyNames[] = {
    {VK_BACK, "BkSp"},  {VK_TAB, "Tab"},     {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"}, {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},   {VK_END, "End"},      {VK_HOME, "Home"},  {VK_LEFT, "Left"},
    {VK_UP, "Up"},      {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},    {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
};

std::string KeyName(WORD key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return std::string(1, char(key));
    if (key >= VK_F1 && key <= VK_F12)
        return "F" + IntToStr(key - VK_F1 + 1);
    for (const auto& k : kKeyNames)
        if (k.Key == key)
            return k.Name;
    return std::string();
}

} // namespace

std::string ShortCutToText(TShortCut sc) {
    WORD key;
    TShiftState shift;
    ShortCutToKey(sc, key, shift);
    std::string name = KeyName(key);
    if (name.empty())
        return std::string();
    std::string r;
    if (shift.Contains(ssShift))
        r += "Shift+";
    if (shift.Contains(ssCtrl))
        r += "Ctrl+";
    if (shift.Contains(ssAlt))
        r += "Alt+";
    return r + name;
}

TShortCut TextToShortCut(const std::string& text) {
    TShiftState shift;
    std::string rest = text;
    for (bool again = true; again;) {
        again = false;
        for (auto [prefix, item] :
             {std::pair{"Shift+", ssShift}, std::pair{"Ctrl+", ssCtrl}, std::pair{"Alt+", ssAlt}}) {
            std::string p = prefix;
            if (rest.size() > p.size() && SameText(rest.substr(0, p.size()), p)) {
                shift << item;
                rest = rest.substr(p.size());
                again = true;
            }
        }
    }
    for (int k = 1; k < 256; ++k)
        if (!KeyName(WORD(k)).empty() && SameText(KeyName(WORD(k)), rest))
            return ShortCut(WORD(k), shift);
    return 0;
}
