// TComboBox over QComboBox: items, choice and edit text kept by the box and mirrored in the widget,
// the user's choices and typing written back and reported as CBN_ notifications, the CB_ messages
// answered. GUI core.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>

#include <functional>

#include <algorithm>
#include <cstring>

#include "forms.h"
#include "handle.h"
#include "stdctrls.h"
#include "sysutils.h"
#include "graphics_qt.h"
#include "stdctrls_qt.h"

// The wrapped widget, made now if it was not yet (a request the box's fields cannot answer).
static QComboBox* Combo(const TCustomComboBox* c) {
    const_cast<TCustomComboBox*>(c)->WidgetNeeded();
    return WidgetAs<QComboBox>(c);
}

static bool IsEditable(TComboBoxStyle s) { return s == csDropDown || s == csSimple; }

// ---- TCustomComboBox -----------------------------------------------------------------------------

namespace {
// Rows of the drop-down list as high as ItemHeight says (in-place editors make them smaller).
class ItemHeightDelegate : public QStyledItemDelegate {
public:
    ItemHeightDelegate(QObject* parent, int h) : QStyledItemDelegate(parent), FHeight(h) {}
    void SetHeight(int h) { FHeight = h; }
    QSize sizeHint(const QStyleOptionViewItem& o, const QModelIndex& i) const override {
        QSize s = QStyledItemDelegate::sizeHint(o, i);
        s.setHeight(FHeight);
        return s;
    }

private:
    int FHeight;
};
} // namespace

namespace {
// Windows drops the list below the box, DropDownCount rows high. A style that shows a list-only
// box's list as a menu over the box (Fusion) ignores that count and lets the list fill the screen.
class TDropBelowStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* opt, const QWidget* w,
                  QStyleHintReturn* ret) const override {
        return hint == SH_ComboBox_Popup ? 0 : QProxyStyle::styleHint(hint, opt, w, ret);
    }
};

void InstallDropBelowStyle(QComboBox* c) {
    static TDropBelowStyle* style = [] {
        auto* s = new TDropBelowStyle;
        s->setParent(qApp);
        return s;
    }();
    c->setStyle(style);
}

// The user's drop-down and close-up, reported as the Windows combo box does: CBN_DROPDOWN before the
// list shows; after it closes, CBN_SELENDOK (an item was chosen) or CBN_SELENDCANCEL, then
// CBN_CLOSEUP. Qt reports the choice after hiding the list, so the close-up follows it queued.
class TQtComboBox : public QComboBox {
public:
    std::function<void(WORD)> Notify;
    // Owner-draw styles paint the closed box's field themselves (the frame and arrow stay Qt's).
    std::function<void(QPainter&, const QRect&)> PaintField;
    bool Chosen = false;
    void paintEvent(QPaintEvent* e) override {
        if (!PaintField) {
            QComboBox::paintEvent(e);
            return;
        }
        QStylePainter p(this);
        QStyleOptionComboBox opt;
        initStyleOption(&opt);
        opt.currentText.clear();
        opt.currentIcon = QIcon();
        p.drawComplexControl(QStyle::CC_ComboBox, opt);
        PaintField(p, style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this));
    }
    void showPopup() override {
        Chosen = false;
        Notify(CBN_DROPDOWN);
        QComboBox::showPopup();
    }
    void hidePopup() override {
        bool shown = view()->isVisible();
        QComboBox::hidePopup();
        if (!shown)
            return;
        QPointer<TQtComboBox> self(this);
        QMetaObject::invokeMethod(
            this,
            [self] {
                if (!self)
                    return;
                self->Notify(self->Chosen ? CBN_SELENDOK : CBN_SELENDCANCEL);
                if (self)
                    self->Notify(CBN_CLOSEUP);
            },
            Qt::QueuedConnection);
    }
};
} // namespace

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TNativeControl(AOwner), FItems(std::make_unique<TComboBoxStrings>(this)),
      FCanvas(std::make_unique<TControlCanvas>()) {
    FCanvas->SetControl(this);
    SetStyle(csDropDown);
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks, csFixedHeight};
    SetBounds(Left(), Top(), 145, 21);
    SetTabStop(true);
    SetColor(clWindow);
}

TCustomComboBox::~TCustomComboBox() = default;

// The QComboBox is made when the handle is first needed (a form's hidden boxes never make one), or
// when a request needs the widget itself; it then shows the box's items, choice and text.
void TCustomComboBox::CreateWidget() {
    auto* c = new TQtComboBox;
    // The close-up arrives queued, outside any window's message: it runs inside the boundary.
    c->Notify = [this](WORD code) { TMessageBoundary::Run(this, [&] { Notify(code); }); };
    c->setMaxVisibleItems(FDropDownCount);
    InstallDropBelowStyle(c);
    SetWidget(this, c);
    // Only the user's acts raise events: activated and textEdited are not emitted for changes
    // made from code. The user's choice and typing come back into the box's fields first.
    QObject::connect(c, &QComboBox::activated, [this, c](int) {
        c->Chosen = true;
        if (!FSyncing)
            Notify(CBN_SELCHANGE);
    });
    QObject::connect(c, &QComboBox::currentIndexChanged, [this](int i) {
        if (!FSyncing)
            FItemIndex = i;
    });
    QObject::connect(c, &QComboBox::editTextChanged, [this](const QString& t) {
        if (!FSyncing && IsEditable(FStyle))
            FText = FromQString(t);
    });
    ApplyStyle();
    FSyncing = true;
    for (const auto& row : FRows)
        c->addItem(ToQString(row.first));
    FSyncing = false;
    PushChoice();
    if (FMaxLength && c->lineEdit())
        c->lineEdit()->setMaxLength(FMaxLength);
    if (FDropDownWidth)
        c->view()->setMinimumWidth(FDropDownWidth);
}

// The edit keeps at most MaxLength characters of what it is given.
void TCustomComboBox::SetEditText(const std::string& s) {
    FText = FMaxLength && int(s.size()) > FMaxLength ? s.substr(0, size_t(FMaxLength)) : s;
}

void TCustomComboBox::PushChoice() {
    if (!WidgetMade())
        return;
    QComboBox* c = Combo(this);
    const bool syncing = FSyncing;
    FSyncing = true;
    c->setCurrentIndex(FItemIndex);
    if (c->isEditable())
        c->setEditText(ToQString(FText));
    FSyncing = syncing;
}

void TCustomComboBox::SetStyle(TComboBoxStyle v) {
    // A box that becomes editable shows its chosen item in the edit.
    if (IsEditable(v) && !IsEditable(FStyle))
        SetEditText(FItemIndex >= 0 ? FRows[size_t(FItemIndex)].first : std::string());
    FStyle = v;
    if (WidgetMade())
        ApplyStyle();
}

void TCustomComboBox::ApplyStyle() {
    QComboBox* c = Combo(this);
    UpdateDelegate();
    bool editable = IsEditable(FStyle);
    if (c->isEditable() == editable && c->lineEdit())
        return;
    FSyncing = true;
    c->setEditable(editable);
    if (editable) {
        c->setInsertPolicy(QComboBox::NoInsert);
        c->lineEdit()->setFrame(false);
        if (FMaxLength)
            c->lineEdit()->setMaxLength(FMaxLength);
        QObject::connect(c->lineEdit(), &QLineEdit::textEdited, [this](const QString& t) {
            if (FSyncing)
                return;
            FText = FromQString(t);
            Notify(CBN_EDITCHANGE);
        });
    }
    FSyncing = false;
    PushChoice();
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
    TNativeControl::CreateParams(Params);
    Params.Style |= FStyle == csDropDownList ? CBS_DROPDOWNLIST
                    : FStyle == csSimple     ? CBS_SIMPLE
                                             : CBS_DROPDOWN;
}

int TCustomComboBox::ItemIndex() const { return FItemIndex; }

// The edit of an editable box shows the chosen item, or nothing.
void TCustomComboBox::SetItemIndex(int v) {
    if (v < -1 || v >= FItems->Count())
        v = -1;
    FItemIndex = v;
    SetEditText(v >= 0 ? FRows[size_t(v)].first : std::string());
    PushChoice();
}

std::string TCustomComboBox::GetText() const {
    return IsEditable(FStyle) ? FText : FItemIndex >= 0 ? FRows[size_t(FItemIndex)].first : std::string();
}

// Text from code: an editable box shows it as typed; a drop-down list selects the item that
// matches it (none when no item does).
void TCustomComboBox::CMTextChanged(TMessage& Message) {
    std::string t = TControl::GetText();
    if (IsEditable(FStyle)) {
        SetEditText(AsStored(t));
        PushChoice();
    } else
        SetItemIndex(FItems->IndexOf(t));
    TNativeControl::CMTextChanged(Message);
}

void TCustomComboBox::SetDropDownCount(int v) {
    FDropDownCount = std::max(1, v);
    if (WidgetMade())
        Combo(this)->setMaxVisibleItems(FDropDownCount);
}

void TCustomComboBox::SetItemHeight(int v) {
    if (v <= 0)
        return;
    FItemHeight = v;
    if (!WidgetMade())
        return;
    UpdateDelegate();
    if (auto* d = dynamic_cast<ItemHeightDelegate*>(Combo(this)->itemDelegate()))
        d->SetHeight(v);
}

void TCustomComboBox::SetMaxLength(int v) {
    FMaxLength = std::max(0, v);
    SetEditText(FText);
    if (WidgetMade())
        if (QLineEdit* e = Combo(this)->lineEdit())
            e->setMaxLength(FMaxLength ? FMaxLength : 32767);
}

void TCustomComboBox::SetSorted(bool v) {
    if (v == FSorted)
        return;
    FSorted = v;
    if (!v)
        return;
    std::vector<std::pair<std::string, TObject*>> items;
    for (int i = 0; i < FItems->Count(); ++i)
        items.emplace_back(FItems->Get(i), FItems->GetObject(i));
    std::stable_sort(items.begin(), items.end(),
                     [](const auto& a, const auto& b) { return AnsiCompareText(a.first, b.first) < 0; });
    std::string text = GetText();
    FItems->Clear();
    for (auto& [s, o] : items)
        FItems->AddObject(s, o);
    SetText(text);
}

bool TCustomComboBox::DroppedDown() const { return WidgetMade() && Combo(this)->view()->isVisible(); }

// The list's events arrive as notifications (CBN_DROPDOWN, CBN_CLOSEUP), as for the user's acts.
void TCustomComboBox::SetDroppedDown(bool v) {
    if (v == DroppedDown())
        return;
    if (v)
        Combo(this)->showPopup();
    else
        Combo(this)->hidePopup();
}

void TCustomComboBox::SetDropDownWidth(int v) {
    FDropDownWidth = std::max(0, v);
    if (WidgetMade())
        Combo(this)->view()->setMinimumWidth(FDropDownWidth);
}

void TCustomComboBox::DropDown() {
    if (OnDropDown)
        OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
    if (OnCloseUp)
        OnCloseUp(this);
}

void TCustomComboBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    FCanvas->FillRect(Rect);
    if (Index >= 0 && Index < FItems->Count())
        FCanvas->TextOut(Rect.Left + 2, Rect.Top, FItems->Get(Index));
}

void TCustomComboBox::MeasureItem(int Index, int& Height) {
    if (OnMeasureItem)
        OnMeasureItem(this, Index, Height);
}

// Owner-draw styles paint the list through DrawItem; the others keep Qt's rows.
void TCustomComboBox::UpdateDelegate() {
    QComboBox* c = Combo(this);
    auto* q = static_cast<TQtComboBox*>(c);
    q->PaintField = nullptr;
    if (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable) {
        c->setItemDelegate(TOwnerDrawQt::ForCombo(this, c));
        q->PaintField = [this](QPainter& p, const QRect& r) {
            TOwnerDrawState state{odComboBoxEdit};
            bool focused = Combo(this)->hasFocus();
            if (focused)
                state << odSelected << odFocused;
            FCanvas->SetFont(Font());
            FCanvas->Brush()->SetColor(focused ? clHighlight : Color());
            FCanvas->Font()->SetColor(focused ? clHighlightText : Font()->Color());
            BindPainter(FCanvas.get(), &p);
            TMessageBoundary::Run(this, [&] {
                DrawItem(ItemIndex(), TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1), state);
            });
            BindPainter(FCanvas.get(), nullptr);
        };
    } else if (!dynamic_cast<ItemHeightDelegate*>(c->itemDelegate()))
        c->setItemDelegate(new ItemHeightDelegate(c, FItemHeight));
}

int TCustomComboBox::SelStart() {
    QLineEdit* e = Combo(this)->lineEdit();
    return !e ? 0 : e->hasSelectedText() ? int(e->selectionStart()) : int(e->cursorPosition());
}

void TCustomComboBox::SetSelStart(int v) {
    if (QLineEdit* e = Combo(this)->lineEdit())
        e->setCursorPosition(v);
}

int TCustomComboBox::SelLength() {
    QLineEdit* e = Combo(this)->lineEdit();
    return e ? int(e->selectedText().size()) : 0;
}

void TCustomComboBox::SetSelLength(int v) {
    if (QLineEdit* e = Combo(this)->lineEdit())
        e->setSelection(SelStart(), v);
}

std::string TCustomComboBox::SelText() {
    QLineEdit* e = Combo(this)->lineEdit();
    return e ? FromQString(e->selectedText()) : std::string();
}

void TCustomComboBox::SelectAll() {
    if (QLineEdit* e = Combo(this)->lineEdit())
        e->selectAll();
}

void TCustomComboBox::Clear() {
    FItems->Clear();
    SetText("");
}

void TCustomComboBox::Change() {
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::Select() {
    if (OnSelect)
        OnSelect(this);
}

// First item from `after + 1` on (wrapping) that starts with s, or equals it when exact; -1 if none.
int TCustomComboBox::FindString(const std::string& s, int after, bool exact) const {
    int n = FItems->Count();
    for (int k = 0; k < n; ++k) {
        int i = (after + 1 + k) % n;
        if (i < 0)
            i += n;
        std::string item = FItems->Get(i);
        if (exact ? AnsiSameText(item, s) : AnsiSameText(item.substr(0, s.size()), s))
            return i;
    }
    return CB_ERR;
}

void TCustomComboBox::Dispatch(TMessage& Message) {
    using C = TCustomComboBox;
    using M = TMessage;
    struct TRow {
        UINT Msg;
        void (*Run)(C& c, M& m);
    };
    // The message's string in LParam, and whether WParam names an item.
    static auto str = [](const M& m) {
        return m.LParam ? std::string(reinterpret_cast<const char*>(m.LParam)) : std::string();
    };
    static auto item = [](C& c, const M& m) {
        return int(m.WParam) >= 0 && int(m.WParam) < c.FItems->Count();
    };
    // The messages the combo box answers itself; the rest go on to the native control.
    static const TRow rows[] = {
        {WM_GETDLGCODE, [](C&, M& m) { m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }},
        {CN_COMMAND,
         [](C& c, M& m) {
             switch (m.WParamHi()) {
             case CBN_SELCHANGE:
                 // A selection is a click, then OnSelect, then the change.
                 c.Click();
                 c.Select();
                 c.Change();
                 break;
             case CBN_EDITCHANGE: c.Change(); break;
             case CBN_DROPDOWN: c.DropDown(); break;
             case CBN_CLOSEUP: c.CloseUp(); break;
             }
         }},
        {CB_ADDSTRING, [](C& c, M& m) { m.Result = c.FItems->Add(str(m)); }},
        {CB_INSERTSTRING,
         [](C& c, M& m) {
             int at = int(m.WParam) < 0 ? c.FItems->Count() : int(m.WParam);
             if (at > c.FItems->Count()) {
                 m.Result = CB_ERR;
                 return;
             }
             c.FItems->Insert(at, str(m));
             m.Result = at;
         }},
        {CB_DELETESTRING,
         [](C& c, M& m) {
             if (!item(c, m)) {
                 m.Result = CB_ERR;
                 return;
             }
             c.FItems->Delete(int(m.WParam));
             m.Result = c.FItems->Count();
         }},
        {CB_RESETCONTENT, [](C& c, M&) { c.FItems->Clear(); }},
        {CB_GETCOUNT, [](C& c, M& m) { m.Result = c.FItems->Count(); }},
        {CB_GETCURSEL, [](C& c, M& m) { m.Result = c.ItemIndex(); }},
        {CB_SETCURSEL,
         [](C& c, M& m) {
             const int index = int(m.WParam);
             c.SetItemIndex(index);
             m.Result = c.ItemIndex() == index ? index : CB_ERR;
         }},
        {CB_GETLBTEXTLEN,
         [](C& c, M& m) {
             m.Result = item(c, m) ? LRESULT(c.FItems->Get(int(m.WParam)).size()) : LRESULT(CB_ERR);
         }},
        {CB_GETLBTEXT,
         [](C& c, M& m) {
             if (!item(c, m) || !m.LParam) {
                 m.Result = CB_ERR;
                 return;
             }
             std::string s = c.FItems->Get(int(m.WParam));
             std::memcpy(reinterpret_cast<char*>(m.LParam), s.c_str(), s.size() + 1);
             m.Result = LRESULT(s.size());
         }},
        {CB_FINDSTRING, [](C& c, M& m) { m.Result = c.FindString(str(m), int(m.WParam), false); }},
        {CB_FINDSTRINGEXACT, [](C& c, M& m) { m.Result = c.FindString(str(m), int(m.WParam), true); }},
        {CB_SELECTSTRING,
         [](C& c, M& m) {
             int i = c.FindString(str(m), int(m.WParam), false);
             if (i >= 0)
                 c.SetItemIndex(i);
             m.Result = i;
         }},
        {CB_GETITEMDATA,
         [](C& c, M& m) {
             m.Result =
                 item(c, m) ? reinterpret_cast<LRESULT>(c.FItems->GetObject(int(m.WParam))) : LRESULT(CB_ERR);
         }},
        {CB_SETITEMDATA,
         [](C& c, M& m) {
             if (!item(c, m)) {
                 m.Result = CB_ERR;
                 return;
             }
             c.FItems->PutObject(int(m.WParam), reinterpret_cast<TObject*>(m.LParam));
         }},
        {CB_SHOWDROPDOWN,
         [](C& c, M& m) {
             c.SetDroppedDown(m.WParam != 0);
             m.Result = 1;
         }},
        {CB_GETDROPPEDSTATE, [](C& c, M& m) { m.Result = c.DroppedDown() ? 1 : 0; }},
        {CB_SETITEMHEIGHT, [](C& c, M& m) { c.SetItemHeight(int(m.LParam)); }},
        {CB_SETDROPPEDWIDTH,
         [](C& c, M& m) {
             c.SetDropDownWidth(int(m.WParam));
             m.Result = c.FDropDownWidth;
         }},
        {CB_GETITEMHEIGHT, [](C& c, M& m) { m.Result = c.FItemHeight; }},
        {CB_LIMITTEXT,
         [](C& c, M& m) {
             c.SetMaxLength(int(m.WParam));
             m.Result = 1;
         }},
        {CB_GETEDITSEL,
         [](C& c, M& m) {
             int a = c.SelStart(), b = a + c.SelLength();
             if (m.WParam)
                 *reinterpret_cast<DWORD*>(m.WParam) = DWORD(a);
             if (m.LParam)
                 *reinterpret_cast<DWORD*>(m.LParam) = DWORD(b);
             m.Result = MAKELRESULT(a, b);
         }},
        {CB_SETEDITSEL,
         [](C& c, M& m) {
             int a = short(m.LParamLo()), b = short(m.LParamHi());
             if (QLineEdit* e = Combo(&c)->lineEdit()) {
                 if (a < 0)
                     e->deselect();
                 else
                     e->setSelection(a, (b < 0 ? int(e->text().size()) : b) - a);
             }
             m.Result = 1;
         }},
    };
    for (const TRow& row : rows)
        if (row.Msg == Message.Msg) {
            row.Run(*this, Message);
            return;
        }
    TNativeControl::Dispatch(Message);
}

// The items are the box's own; the widget, once made, shows their texts.
TComboBoxStrings::TComboBoxStrings(TCustomComboBox* combo) : TItemStrings(combo->FRows), FCombo(combo) {}

bool TComboBoxStrings::Sorted() const { return FCombo->Sorted(); }

// The chosen item's new text is the edit's too.
void TComboBoxStrings::RowPut(int Index) {
    const std::string& text = FRows[size_t(Index)].first;
    if (Index == FCombo->FItemIndex)
        FCombo->SetEditText(text);
    if (FCombo->WidgetMade()) {
        QComboBox* c = Combo(FCombo);
        FCombo->FSyncing = true;
        c->setItemText(Index, ToQString(text));
        FCombo->FSyncing = false;
        FCombo->PushChoice();
    }
}

// The edit text of an editable box stays, as a Windows combo box keeps it.
void TComboBoxStrings::RowsCleared() {
    FCombo->FItemIndex = -1;
    if (FCombo->WidgetMade()) {
        QComboBox* c = Combo(FCombo);
        FCombo->FSyncing = true;
        c->clear();
        FCombo->FSyncing = false;
        FCombo->PushChoice();
    }
}

// Deleting the chosen item chooses the one that takes its place (the last when it was the
// last), and the edit shows it; with no item left nothing is chosen and the edit is empty.
void TComboBoxStrings::RowDeleted(int Index) {
    int& chosen = FCombo->FItemIndex;
    if (chosen > Index)
        --chosen;
    else if (chosen == Index) {
        chosen = std::min(Index, int(FRows.size()) - 1);
        FCombo->SetEditText(chosen >= 0 ? FRows[size_t(chosen)].first : std::string());
    }
    if (FCombo->WidgetMade()) {
        QComboBox* c = Combo(FCombo);
        FCombo->FSyncing = true;
        c->removeItem(Index);
        FCombo->FSyncing = false;
        FCombo->PushChoice();
    }
}

// The chosen item keeps its place among the others; an empty box chooses none (Qt would choose
// the first item added).
void TComboBoxStrings::RowInserted(int Index) {
    if (FCombo->FItemIndex >= Index)
        ++FCombo->FItemIndex;
    if (FCombo->WidgetMade()) {
        QComboBox* c = Combo(FCombo);
        FCombo->FSyncing = true;
        c->insertItem(Index, ToQString(FRows[size_t(Index)].first));
        FCombo->FSyncing = false;
        FCombo->PushChoice();
    }
}
