// Standard controls over Qt widgets: the widget sits inside the control's handle, values go into it
// directly, and the user's changes come back as CN_COMMAND notifications through the message path.
// GUI core.
#include "stdctrls.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QValidator>

#include <algorithm>
#include <cstring>

#include "cp1251.h"
#include "forms.h"
#include "handle.h"
#include "sysutils.h"

namespace {

QString ToQ(const std::string& s)
{
    std::u16string u = Cp1251ToUtf16(s);
    return QString::fromUtf16(u.data(), qsizetype(u.size()));
}

std::string FromQ(const QString& s)
{
    return Utf16ToCp1251(std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()), size_t(s.size())));
}

QColor QtColor(TColor c)
{
    COLORREF v = COLORREF(ColorToRGB(c));
    return QColor(GetRValue(v), GetGValue(v), GetBValue(v));
}

// MaxLength as Windows applies it: typing may not make the text longer than the limit, but text set
// from code, or already longer, is kept (Qt's own limit would cut it).
class TLengthLimit : public QValidator {
public:
    TLengthLimit(QLineEdit* e, const int* max) : QValidator(e), FMax(max)
    {
        // The validator sees the new text only; the length before the edit is kept here.
        QObject::connect(e, &QLineEdit::textChanged, this, [this](const QString& t) { FLength = t.size(); });
    }
    State validate(QString& s, int&) const override
    {
        return *FMax > 0 && s.size() > *FMax && s.size() > FLength ? Invalid : Acceptable;
    }

private:
    const int* FMax;
    qsizetype FLength = 0;
};

} // namespace

// ---- TNativeControl ------------------------------------------------------------------------------

TNativeControl::TNativeControl(TComponent* AOwner)
    : TWinControl(AOwner), FWidget(std::make_unique<QPointer<QWidget>>())
{
    TApplication::QtApp();
}

TNativeControl::~TNativeControl()
{
    QWidget* w = Widget();
    if (!w)
        return;
    // The derived control is gone: neither its signal handlers nor its message path may run for
    // what the widget does while it goes (losing the focus, for one).
    w->blockSignals(true);
    TakeWidgetBack();
    if (HandleAllocated())
        SetNativeWidget(nullptr);
    delete w;
}

QWidget* TNativeControl::Widget() const { return FWidget->data(); }

void TNativeControl::SetWidget(QWidget* w)
{
    *FWidget = w;
    w->hide();
    w->setFont(Font()->QtFont());
}

void TNativeControl::CreateWnd()
{
    TWinControl::CreateWnd();
    if (QWidget* w = Widget()) {
        SetNativeWidget(w);
        w->setFont(Font()->QtFont());
    }
}

// The handle is about to be deleted with its children: the widget leaves it first, without the
// message filter the handle installed on it (a new handle installs its own).
void TNativeControl::TakeWidgetBack()
{
    QWidget* w = Widget();
    if (!w)
        return;
    for (QObject* o : w->children())
        if (auto* f = dynamic_cast<TMessageFilter*>(o)) {
            f->Detach();
            w->removeEventFilter(f);
            f->deleteLater();
        }
    if (w->parent()) {
        w->hide();
        w->setParent(nullptr);
    }
}

void TNativeControl::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_DESTROY)
        TakeWidgetBack();
    TWinControl::Dispatch(Message);
}

void TNativeControl::Notify(WORD code)
{
    Perform(CN_COMMAND, MAKEWPARAM(0, code), 0);
}

void TNativeControl::CMFontChanged(TMessage& Message)
{
    TWinControl::CMFontChanged(Message);
    if (QWidget* w = Widget()) {
        w->setFont(Font()->QtFont());
        QPalette pal = w->palette();
        QColor text = QtColor(Font()->Color());
        pal.setColor(QPalette::Text, text);
        pal.setColor(QPalette::WindowText, text);
        pal.setColor(QPalette::ButtonText, text);
        w->setPalette(pal);
    }
}

void TNativeControl::CMColorChanged(TMessage& Message)
{
    TWinControl::CMColorChanged(Message);
    if (QWidget* w = Widget()) {
        QPalette pal = w->palette();
        QColor c = QtColor(Color());
        pal.setColor(QPalette::Base, c);
        pal.setColor(QPalette::Window, c);
        pal.setColor(QPalette::Button, c);
        w->setPalette(pal);
    }
}

// ---- TCustomEdit ---------------------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* AOwner, bool multiLine) : TNativeControl(AOwner)
{
    if (!multiLine) {
        auto* e = new QLineEdit;
        e->setFrame(false);
        e->setValidator(new TLengthLimit(e, &FMaxLength));
        SetWidget(e);
        QObject::connect(e, &QLineEdit::textChanged, [this](const QString&) {
            if (!FSyncing)
                Notify(EN_CHANGE);
        });
    }
    FControlStyle = TControlStyle{csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
    SetBounds(Left(), Top(), 121, 21);
    SetTabStop(true);
    SetColor(clWindow);
}

TCustomEdit::~TCustomEdit() = default;

QLineEdit* TCustomEdit::Line() const { return qobject_cast<QLineEdit*>(Widget()); }

void TCustomEdit::CreateParams(TCreateParams& Params)
{
    TNativeControl::CreateParams(Params);
    Params.Style |= ES_AUTOHSCROLL;
    if (FBorderStyle == bsSingle) {
        if (Ctl3D())
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            Params.Style |= WS_BORDER;
    }
    if (ReadOnly())
        Params.Style |= ES_READONLY;
}

QString TCustomEdit::EditorText() const { return Line() ? Line()->text() : QString(); }

void TCustomEdit::SetEditorText(const QString& s)
{
    if (Line())
        Line()->setText(s);
}

void TCustomEdit::GetSel(int& start, int& end) const
{
    QLineEdit* e = Line();
    if (!e) {
        start = end = 0;
        return;
    }
    if (e->hasSelectedText()) {
        start = int(e->selectionStart());
        end = start + int(e->selectedText().size());
    } else {
        start = end = int(e->cursorPosition());
    }
}

void TCustomEdit::SetSel(int start, int end)
{
    QLineEdit* e = Line();
    if (!e)
        return;
    int len = int(e->text().size());
    if (start < 0) {
        e->deselect();
        return;
    }
    if (end < 0 || end > len)
        end = len;
    start = std::min(start, len);
    if (end < start)
        std::swap(start, end);
    e->setSelection(start, end - start);
}

void TCustomEdit::ReplaceSel(const QString& s)
{
    if (Line())
        Line()->insert(s);
}

void TCustomEdit::EditorSetReadOnly(bool v)
{
    if (Line())
        Line()->setReadOnly(v);
}

bool TCustomEdit::EditorReadOnly() const { return Line() && Line()->isReadOnly(); }
bool TCustomEdit::EditorModified() const { return Line() && Line()->isModified(); }

void TCustomEdit::EditorSetModified(bool v)
{
    if (Line())
        Line()->setModified(v);
}

void TCustomEdit::EditorUndo()
{
    if (Line())
        Line()->undo();
}

bool TCustomEdit::EditorCanUndo() const { return Line() && Line()->isUndoAvailable(); }

std::string TCustomEdit::GetText() const { return FromQ(EditorText()); }

// A text set from code replaces the widget's text; the widget then reports the change (EN_CHANGE),
// as a Windows edit does for WM_SETTEXT.
void TCustomEdit::CMTextChanged(TMessage& Message)
{
    QString s = ToQ(TControl::GetText());
    if (s != EditorText())
        SetEditorText(s);
    TNativeControl::CMTextChanged(Message);
}

void TCustomEdit::Change()
{
    if (FCharCase != ecNormal) {
        QString t = EditorText();
        QString c = FCharCase == ecUpperCase ? t.toUpper() : t.toLower();
        if (c != t) {
            int a, b;
            GetSel(a, b);
            FSyncing = true;
            SetEditorText(c);
            FSyncing = false;
            SetSel(a, b);
        }
    }
    if (OnChange)
        OnChange(this);
}

void TCustomEdit::DoEnter()
{
    if (AutoSelect && !dynamic_cast<TCustomMemo*>(this))
        SelectAll();
    TNativeControl::DoEnter();
}

int TCustomEdit::MaxLength() const { return FMaxLength; }

void TCustomEdit::SetMaxLength(int v)
{
    FMaxLength = std::max(0, v);
}

bool TCustomEdit::ReadOnly() const { return EditorReadOnly(); }
void TCustomEdit::SetReadOnly(bool v) { EditorSetReadOnly(v); }
bool TCustomEdit::Modified() const { return EditorModified(); }
void TCustomEdit::SetModified(bool v) { EditorSetModified(v); }

void TCustomEdit::SetBorderStyle(TBorderStyle v)
{
    if (v == FBorderStyle)
        return;
    FBorderStyle = v;
    RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase v)
{
    if (v == FCharCase)
        return;
    FCharCase = v;
    Change();
}

void TCustomEdit::SetPasswordChar(char v)
{
    FPasswordChar = v;
    if (Line())
        Line()->setEchoMode(v ? QLineEdit::Password : QLineEdit::Normal);
}

int TCustomEdit::SelStart()
{
    int a, b;
    GetSel(a, b);
    return a;
}

void TCustomEdit::SetSelStart(int v) { SetSel(v, v); }

int TCustomEdit::SelLength()
{
    int a, b;
    GetSel(a, b);
    return b - a;
}

void TCustomEdit::SetSelLength(int v)
{
    int a = SelStart();
    SetSel(a, a + std::max(0, v));
}

std::string TCustomEdit::SelText()
{
    int a, b;
    GetSel(a, b);
    return FromQ(EditorText().mid(a, b - a));
}

void TCustomEdit::SetSelText(const std::string& v) { ReplaceSel(ToQ(v)); }
void TCustomEdit::SelectAll() { SetSel(0, -1); }
void TCustomEdit::ClearSelection() { ReplaceSel(QString()); }
void TCustomEdit::Clear() { SetText(""); }
void TCustomEdit::CutToClipboard() { Perform(WM_CUT, 0, 0); }
void TCustomEdit::CopyToClipboard() { Perform(WM_COPY, 0, 0); }
void TCustomEdit::PasteFromClipboard() { Perform(WM_PASTE, 0, 0); }
bool TCustomEdit::CanUndo() { return Perform(EM_CANUNDO, 0, 0) != 0; }
void TCustomEdit::Undo() { Perform(EM_UNDO, 0, 0); }

void TCustomEdit::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
        return;
    case CN_COMMAND:
        if (Message.WParamHi() == EN_CHANGE)
            Change();
        return;
    case EM_GETSEL: {
        int a, b;
        GetSel(a, b);
        if (Message.WParam)
            *reinterpret_cast<DWORD*>(Message.WParam) = DWORD(a);
        if (Message.LParam)
            *reinterpret_cast<DWORD*>(Message.LParam) = DWORD(b);
        Message.Result = (a > 0xFFFF || b > 0xFFFF) ? -1 : MAKELRESULT(a, b);
        return;
    }
    case EM_SETSEL: {
        int a = int(Message.WParam), b = int(Message.LParam);
        if (a == 0 && b == -1)
            SelectAll();
        else
            SetSel(a, b);
        return;
    }
    case EM_REPLACESEL:
        ReplaceSel(Message.LParam ? ToQ(reinterpret_cast<const char*>(Message.LParam)) : QString());
        return;
    case EM_LIMITTEXT:
        SetMaxLength(int(Message.WParam));
        return;
    case EM_SETREADONLY:
        SetReadOnly(Message.WParam != 0);
        Message.Result = 1;
        return;
    case EM_GETMODIFY:
        Message.Result = Modified() ? 1 : 0;
        return;
    case EM_SETMODIFY:
        SetModified(Message.WParam != 0);
        return;
    case EM_CANUNDO:
        Message.Result = EditorCanUndo() ? 1 : 0;
        return;
    case EM_UNDO:
    case WM_UNDO:
        Message.Result = EditorCanUndo() ? 1 : 0;
        EditorUndo();
        return;
    case EM_GETLINECOUNT:
        Message.Result = 1;
        return;
    case WM_CUT:
        if (Line() && !Line()->isReadOnly())
            Line()->cut();
        return;
    case WM_COPY:
        if (Line())
            Line()->copy();
        return;
    case WM_PASTE:
        if (Line() && !Line()->isReadOnly())
            Line()->paste();
        return;
    case WM_CLEAR:
        if (!ReadOnly())
            ReplaceSel(QString());
        return;
    default:
        TNativeControl::Dispatch(Message);
    }
}

// ---- TCustomMemo ---------------------------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner, true), FLines(std::make_unique<TMemoStrings>(this))
{
    auto* m = new QPlainTextEdit;
    m->setFrameShape(QFrame::NoFrame);
    m->setTabChangesFocus(true);
    SetWidget(m);
    QObject::connect(m, &QPlainTextEdit::textChanged, [this] {
        if (!FSyncing)
            Notify(EN_CHANGE);
    });
    FControlStyle >> csFixedHeight;
    SetBounds(Left(), Top(), 185, 89);
    UpdateWrap();
}

TCustomMemo::~TCustomMemo() = default;

QPlainTextEdit* TCustomMemo::Memo() const { return qobject_cast<QPlainTextEdit*>(Widget()); }

void TCustomMemo::UpdateWrap()
{
    QPlainTextEdit* m = Memo();
    bool horz = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
    bool vert = FScrollBars == ssVertical || FScrollBars == ssBoth;
    m->setHorizontalScrollBarPolicy(horz ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    m->setVerticalScrollBarPolicy(vert ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    // A horizontal scroll bar turns wrapping off, as in a Windows memo.
    m->setLineWrapMode(FWordWrap && !horz ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TCustomMemo::SetScrollBars(TScrollStyle v)
{
    FScrollBars = v;
    UpdateWrap();
}

void TCustomMemo::SetWordWrap(bool v)
{
    FWordWrap = v;
    UpdateWrap();
}

int TCustomMemo::ToWin(int qtPos) const
{
    QTextBlock b = Memo()->document()->findBlock(qtPos);
    return qtPos + (b.isValid() ? b.blockNumber() : Memo()->document()->blockCount() - 1);
}

int TCustomMemo::FromWin(int winPos) const
{
    QTextDocument* d = Memo()->document();
    int win = 0;
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next()) {
        int len = b.length() - 1; // without the separator
        if (winPos <= win + len)
            return b.position() + std::max(0, winPos - win);
        win += len + 2;
        if (winPos < win) // between CR and LF
            return b.position() + len;
    }
    return d->characterCount() - 1;
}

QString TCustomMemo::EditorText() const
{
    QString t = Memo()->toPlainText();
    t.replace(u'\n', QStringLiteral("\r\n"));
    return t;
}

void TCustomMemo::SetEditorText(const QString& s)
{
    QString t = s;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    Memo()->setPlainText(t);
}

void TCustomMemo::GetSel(int& start, int& end) const
{
    QTextCursor c = Memo()->textCursor();
    start = ToWin(c.selectionStart());
    end = ToWin(c.selectionEnd());
}

void TCustomMemo::SetSel(int start, int end)
{
    QTextCursor c = Memo()->textCursor();
    if (start < 0) {
        c.clearSelection();
    } else {
        int last = Memo()->document()->characterCount() - 1;
        int a = std::min(FromWin(start), last);
        int b = end < 0 ? last : std::min(FromWin(end), last);
        c.setPosition(a);
        c.setPosition(b, QTextCursor::KeepAnchor);
    }
    Memo()->setTextCursor(c);
}

void TCustomMemo::ReplaceSel(const QString& s)
{
    QString t = s;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTextCursor c = Memo()->textCursor();
    c.insertText(t);
    Memo()->setTextCursor(c);
    Memo()->ensureCursorVisible();
}

void TCustomMemo::EditorSetReadOnly(bool v) { Memo()->setReadOnly(v); }
bool TCustomMemo::EditorReadOnly() const { return Memo()->isReadOnly(); }
bool TCustomMemo::EditorModified() const { return Memo()->document()->isModified(); }
void TCustomMemo::EditorSetModified(bool v) { Memo()->document()->setModified(v); }
void TCustomMemo::EditorUndo() { Memo()->undo(); }
bool TCustomMemo::EditorCanUndo() const { return Memo()->document()->isUndoAvailable(); }

void TCustomMemo::Dispatch(TMessage& Message)
{
    QTextDocument* d = Memo()->document();
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL | (WantReturns ? DLGC_WANTALLKEYS : 0) |
                         (WantTabs ? DLGC_WANTTAB : 0);
        return;
    case EM_GETLINECOUNT:
        Message.Result = d->blockCount();
        return;
    case EM_LINEINDEX: {
        int line = int(Message.WParam) < 0 ? Memo()->textCursor().blockNumber() : int(Message.WParam);
        QTextBlock b = d->findBlockByNumber(line);
        Message.Result = b.isValid() ? ToWin(b.position()) : -1;
        return;
    }
    case EM_LINEFROMCHAR: {
        int pos = int(Message.WParam) < 0 ? Memo()->textCursor().position() : FromWin(int(Message.WParam));
        Message.Result = d->findBlock(pos).blockNumber();
        return;
    }
    case EM_LINELENGTH: {
        QTextBlock b = d->findBlock(FromWin(int(Message.WParam)));
        Message.Result = b.isValid() ? b.length() - 1 : 0;
        return;
    }
    case EM_GETLINE: {
        QTextBlock b = d->findBlockByNumber(int(Message.WParam));
        auto* buf = reinterpret_cast<char*>(Message.LParam);
        if (!b.isValid() || !buf) {
            Message.Result = 0;
            return;
        }
        WORD room;
        std::memcpy(&room, buf, sizeof room);
        std::string line = FromQ(b.text());
        size_t n = std::min<size_t>(room, line.size());
        std::memcpy(buf, line.data(), n);
        Message.Result = LRESULT(n);
        return;
    }
    case EM_SCROLLCARET:
        Memo()->ensureCursorVisible();
        return;
    case WM_CUT:
        if (!ReadOnly())
            Memo()->cut();
        return;
    case WM_COPY:
        Memo()->copy();
        return;
    case WM_PASTE:
        if (!ReadOnly())
            Memo()->paste();
        return;
    default:
        TCustomEdit::Dispatch(Message);
    }
}

// Lines of a memo. A final line end leaves an empty last block that is not a line, so text that
// was built by Add ends with CR LF, as in the original.
int TMemoStrings::GetCount() const
{
    QTextDocument* d = FMemo->Memo()->document();
    int n = d->blockCount();
    if (d->lastBlock().length() <= 1)
        --n;
    return n;
}

std::string TMemoStrings::Get(int Index) const
{
    QTextBlock b = FMemo->Memo()->document()->findBlockByNumber(Index);
    if (Index < 0 || Index >= GetCount() || !b.isValid())
        Error("List index out of bounds (%d)", Index);
    return FromQ(b.text());
}

void TMemoStrings::Put(int Index, const std::string& S)
{
    if (Index < 0 || Index >= GetCount())
        Error("List index out of bounds (%d)", Index);
    QTextBlock b = FMemo->Memo()->document()->findBlockByNumber(Index);
    QTextCursor c(b);
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    c.insertText(ToQ(S));
}

void TMemoStrings::Clear() { FMemo->Memo()->clear(); }

void TMemoStrings::Delete(int Index)
{
    if (Index < 0 || Index >= GetCount())
        Error("List index out of bounds (%d)", Index);
    QTextDocument* d = FMemo->Memo()->document();
    QTextBlock b = d->findBlockByNumber(Index);
    QTextCursor c(b);
    if (b.next().isValid()) {
        c.setPosition(b.next().position(), QTextCursor::KeepAnchor);
    } else {
        c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        if (b.previous().isValid()) {
            c.setPosition(b.previous().position() + b.previous().length() - 1);
            c.setPosition(b.position() + b.length() - 1, QTextCursor::KeepAnchor);
        }
    }
    c.removeSelectedText();
}

void TMemoStrings::Insert(int Index, const std::string& S)
{
    if (Index < 0 || Index > GetCount())
        Error("List index out of bounds (%d)", Index);
    QPlainTextEdit* m = FMemo->Memo();
    QTextDocument* d = m->document();
    QTextCursor c(d);
    QTextBlock b = d->findBlockByNumber(Index);
    if (b.isValid()) {
        c.setPosition(b.position());
        c.insertText(ToQ(S) + u'\n');
    } else {
        c.movePosition(QTextCursor::End);
        c.insertText(u'\n' + ToQ(S));
    }
    // The caret follows the inserted line, so a log shows its newest line.
    m->setTextCursor(c);
    m->ensureCursorVisible();
}

int TMemoStrings::Add(const std::string& S)
{
    int n = GetCount();
    Insert(n, S);
    return n;
}

// ---- TCustomComboBox -----------------------------------------------------------------------------

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TNativeControl(AOwner), FItems(std::make_unique<TComboBoxStrings>(this))
{
    auto* c = new QComboBox;
    c->setMaxVisibleItems(FDropDownCount);
    SetWidget(c);
    // Only the user's acts raise events: activated and textEdited are not emitted for changes
    // made from code.
    QObject::connect(c, &QComboBox::activated, [this](int) {
        if (!FSyncing)
            Notify(CBN_SELCHANGE);
    });
    SetStyle(csDropDown);
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks, csFixedHeight};
    SetBounds(Left(), Top(), 145, 21);
    SetTabStop(true);
    SetColor(clWindow);
}

TCustomComboBox::~TCustomComboBox() = default;

QComboBox* TCustomComboBox::Combo() const { return qobject_cast<QComboBox*>(Widget()); }

void TCustomComboBox::SetStyle(TComboBoxStyle v)
{
    QComboBox* c = Combo();
    FStyle = v;
    bool editable = v == csDropDown || v == csSimple;
    if (c->isEditable() == editable && c->lineEdit())
        return;
    FSyncing = true;
    c->setEditable(editable);
    if (editable) {
        c->setInsertPolicy(QComboBox::NoInsert);
        c->lineEdit()->setFrame(false);
        if (FMaxLength)
            c->lineEdit()->setMaxLength(FMaxLength);
        QObject::connect(c->lineEdit(), &QLineEdit::textEdited, [this](const QString&) {
            if (!FSyncing)
                Notify(CBN_EDITCHANGE);
        });
    }
    FSyncing = false;
}

void TCustomComboBox::CreateParams(TCreateParams& Params)
{
    TNativeControl::CreateParams(Params);
    Params.Style |= FStyle == csDropDownList ? CBS_DROPDOWNLIST : FStyle == csSimple ? CBS_SIMPLE : CBS_DROPDOWN;
}

int TCustomComboBox::ItemIndex() const { return Combo()->currentIndex(); }

void TCustomComboBox::SetItemIndex(int v)
{
    if (v < -1 || v >= Combo()->count())
        v = -1;
    FSyncing = true;
    Combo()->setCurrentIndex(v);
    if (v < 0 && Combo()->isEditable())
        Combo()->setEditText(QString());
    FSyncing = false;
}

std::string TCustomComboBox::GetText() const
{
    QComboBox* c = Combo();
    return FromQ(c->isEditable() ? c->currentText() : (c->currentIndex() >= 0 ? c->currentText() : QString()));
}

// Text from code: an editable box shows it as typed; a drop-down list selects the item that
// matches it (none when no item does).
void TCustomComboBox::CMTextChanged(TMessage& Message)
{
    std::string t = TControl::GetText();
    FSyncing = true;
    if (Combo()->isEditable())
        Combo()->setEditText(ToQ(t));
    else
        Combo()->setCurrentIndex(FItems->IndexOf(t));
    FSyncing = false;
    TNativeControl::CMTextChanged(Message);
}

void TCustomComboBox::SetDropDownCount(int v)
{
    FDropDownCount = std::max(1, v);
    Combo()->setMaxVisibleItems(FDropDownCount);
}

void TCustomComboBox::SetItemHeight(int v)
{
    if (v > 0)
        FItemHeight = v;
}

void TCustomComboBox::SetMaxLength(int v)
{
    FMaxLength = std::max(0, v);
    if (QLineEdit* e = Combo()->lineEdit())
        e->setMaxLength(FMaxLength ? FMaxLength : 32767);
}

void TCustomComboBox::SetSorted(bool v)
{
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

bool TCustomComboBox::DroppedDown() const { return Combo()->view()->isVisible(); }

void TCustomComboBox::SetDroppedDown(bool v)
{
    if (v == DroppedDown())
        return;
    if (v) {
        if (OnDropDown)
            OnDropDown(this);
        Combo()->showPopup();
    } else {
        Combo()->hidePopup();
        if (OnCloseUp)
            OnCloseUp(this);
    }
}

int TCustomComboBox::SelStart()
{
    QLineEdit* e = Combo()->lineEdit();
    return !e ? 0 : e->hasSelectedText() ? int(e->selectionStart()) : int(e->cursorPosition());
}

void TCustomComboBox::SetSelStart(int v)
{
    if (QLineEdit* e = Combo()->lineEdit())
        e->setCursorPosition(v);
}

int TCustomComboBox::SelLength()
{
    QLineEdit* e = Combo()->lineEdit();
    return e ? int(e->selectedText().size()) : 0;
}

void TCustomComboBox::SetSelLength(int v)
{
    if (QLineEdit* e = Combo()->lineEdit())
        e->setSelection(SelStart(), v);
}

std::string TCustomComboBox::SelText()
{
    QLineEdit* e = Combo()->lineEdit();
    return e ? FromQ(e->selectedText()) : std::string();
}

void TCustomComboBox::SelectAll()
{
    if (QLineEdit* e = Combo()->lineEdit())
        e->selectAll();
}

void TCustomComboBox::Clear()
{
    FItems->Clear();
    SetText("");
}

void TCustomComboBox::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::Select()
{
    if (OnSelect)
        OnSelect(this);
}

// First item from `after + 1` on (wrapping) that starts with s, or equals it when exact; -1 if none.
int TCustomComboBox::FindString(const std::string& s, int after, bool exact) const
{
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

void TCustomComboBox::Dispatch(TMessage& Message)
{
    auto str = [&] { return Message.LParam ? std::string(reinterpret_cast<const char*>(Message.LParam)) : std::string(); };
    const int index = int(Message.WParam);
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return;
    case CN_COMMAND:
        switch (Message.WParamHi()) {
        case CBN_SELCHANGE:
            // The original clicked, then changed; OnSelect sits between them.
            Click();
            Select();
            Change();
            break;
        case CBN_EDITCHANGE:
            Change();
            break;
        }
        return;
    case CB_ADDSTRING:
        Message.Result = FItems->Add(str());
        return;
    case CB_INSERTSTRING: {
        int at = index < 0 ? FItems->Count() : index;
        if (at > FItems->Count()) {
            Message.Result = CB_ERR;
            return;
        }
        FItems->Insert(at, str());
        Message.Result = at;
        return;
    }
    case CB_DELETESTRING:
        if (index < 0 || index >= FItems->Count()) {
            Message.Result = CB_ERR;
            return;
        }
        FItems->Delete(index);
        Message.Result = FItems->Count();
        return;
    case CB_RESETCONTENT:
        FItems->Clear();
        return;
    case CB_GETCOUNT:
        Message.Result = FItems->Count();
        return;
    case CB_GETCURSEL:
        Message.Result = ItemIndex();
        return;
    case CB_SETCURSEL:
        SetItemIndex(index);
        Message.Result = ItemIndex() == index ? index : CB_ERR;
        return;
    case CB_GETLBTEXTLEN:
        Message.Result = index >= 0 && index < FItems->Count() ? LRESULT(FItems->Get(index).size()) : LRESULT(CB_ERR);
        return;
    case CB_GETLBTEXT: {
        if (index < 0 || index >= FItems->Count() || !Message.LParam) {
            Message.Result = CB_ERR;
            return;
        }
        std::string s = FItems->Get(index);
        std::memcpy(reinterpret_cast<char*>(Message.LParam), s.c_str(), s.size() + 1);
        Message.Result = LRESULT(s.size());
        return;
    }
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
        Message.Result = FindString(str(), index, Message.Msg == CB_FINDSTRINGEXACT);
        return;
    case CB_SELECTSTRING: {
        int i = FindString(str(), index, false);
        if (i >= 0)
            SetItemIndex(i);
        Message.Result = i;
        return;
    }
    case CB_GETITEMDATA:
        Message.Result = index >= 0 && index < FItems->Count() ? reinterpret_cast<LRESULT>(FItems->GetObject(index))
                                                              : LRESULT(CB_ERR);
        return;
    case CB_SETITEMDATA:
        if (index < 0 || index >= FItems->Count()) {
            Message.Result = CB_ERR;
            return;
        }
        FItems->PutObject(index, reinterpret_cast<TObject*>(Message.LParam));
        return;
    case CB_SHOWDROPDOWN:
        SetDroppedDown(Message.WParam != 0);
        Message.Result = 1;
        return;
    case CB_GETDROPPEDSTATE:
        Message.Result = DroppedDown() ? 1 : 0;
        return;
    case CB_SETITEMHEIGHT:
        SetItemHeight(int(Message.LParam));
        return;
    case CB_GETITEMHEIGHT:
        Message.Result = FItemHeight;
        return;
    case CB_LIMITTEXT:
        SetMaxLength(int(Message.WParam));
        Message.Result = 1;
        return;
    case CB_GETEDITSEL: {
        int a = SelStart(), b = a + SelLength();
        if (Message.WParam)
            *reinterpret_cast<DWORD*>(Message.WParam) = DWORD(a);
        if (Message.LParam)
            *reinterpret_cast<DWORD*>(Message.LParam) = DWORD(b);
        Message.Result = MAKELRESULT(a, b);
        return;
    }
    case CB_SETEDITSEL: {
        int a = short(Message.LParamLo()), b = short(Message.LParamHi());
        if (QLineEdit* e = Combo()->lineEdit()) {
            if (a < 0)
                e->deselect();
            else
                e->setSelection(a, (b < 0 ? int(e->text().size()) : b) - a);
        }
        Message.Result = 1;
        return;
    }
    default:
        TNativeControl::Dispatch(Message);
    }
}

std::string TComboBoxStrings::Get(int Index) const
{
    if (Index < 0 || Index >= GetCount())
        Error("List index out of bounds (%d)", Index);
    return FromQ(FCombo->Combo()->itemText(Index));
}

void TComboBoxStrings::Put(int Index, const std::string& S)
{
    if (Index < 0 || Index >= GetCount())
        Error("List index out of bounds (%d)", Index);
    FCombo->FSyncing = true;
    FCombo->Combo()->setItemText(Index, ToQ(S));
    FCombo->FSyncing = false;
}

TObject* TComboBoxStrings::GetObject(int Index) const
{
    if (Index < 0 || Index >= GetCount())
        Error("List index out of bounds (%d)", Index);
    return reinterpret_cast<TObject*>(FCombo->Combo()->itemData(Index).value<quintptr>());
}

void TComboBoxStrings::PutObject(int Index, TObject* AObject)
{
    if (Index < 0 || Index >= GetCount())
        Error("List index out of bounds (%d)", Index);
    FCombo->Combo()->setItemData(Index, QVariant::fromValue(reinterpret_cast<quintptr>(AObject)));
}

int TComboBoxStrings::GetCount() const { return FCombo->Combo()->count(); }

void TComboBoxStrings::Clear()
{
    // The edit text of an editable box stays, as a Windows combo box keeps it.
    QComboBox* c = FCombo->Combo();
    QString text = c->isEditable() ? c->currentText() : QString();
    FCombo->FSyncing = true;
    c->clear();
    if (c->isEditable())
        c->setEditText(text);
    FCombo->FSyncing = false;
}

void TComboBoxStrings::Delete(int Index)
{
    if (Index < 0 || Index >= GetCount())
        Error("List index out of bounds (%d)", Index);
    FCombo->FSyncing = true;
    FCombo->Combo()->removeItem(Index);
    FCombo->FSyncing = false;
}

void TComboBoxStrings::Insert(int Index, const std::string& S)
{
    if (Index < 0 || Index > GetCount())
        Error("List index out of bounds (%d)", Index);
    QComboBox* c = FCombo->Combo();
    // Qt selects the first item added to an empty box; Windows leaves the selection empty.
    int before = c->currentIndex();
    QString text = c->isEditable() ? c->currentText() : QString();
    FCombo->FSyncing = true;
    c->insertItem(Index, ToQ(S), QVariant::fromValue(quintptr(0)));
    if (before < 0) {
        c->setCurrentIndex(-1);
        if (c->isEditable())
            c->setEditText(text);
    }
    FCombo->FSyncing = false;
}

int TComboBoxStrings::Add(const std::string& S)
{
    int at = GetCount();
    if (FCombo->Sorted()) {
        at = 0;
        while (at < GetCount() && AnsiCompareText(Get(at), S) <= 0)
            ++at;
    }
    Insert(at, S);
    return at;
}

// ---- TButton -------------------------------------------------------------------------------------

TButton::TButton(TComponent* AOwner) : TNativeControl(AOwner)
{
    auto* b = new QPushButton;
    b->setAutoDefault(false);
    SetWidget(b);
    QObject::connect(b, &QPushButton::clicked, [this] {
        if (!FSyncing)
            Notify(BN_CLICKED);
    });
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    SetBounds(Left(), Top(), 75, 25);
    SetTabStop(true);
    SetColor(clBtnFace);
}

TButton::~TButton() = default;

QPushButton* TButton::Button() const { return qobject_cast<QPushButton*>(Widget()); }

void TButton::SetDefault(bool v)
{
    FDefault = v;
    Button()->setDefault(v);
}

void TButton::Click()
{
    // The form takes the modal result before OnClick runs, as in the original.
    if (ModalResult != mrNone)
        if (TCustomForm* f = GetParentForm(this))
            f->SetModalResult(ModalResult);
    TNativeControl::Click();
}

void TButton::CMTextChanged(TMessage& Message)
{
    Button()->setText(ToQ(TControl::GetText()));
    TNativeControl::CMTextChanged(Message);
}

// Enter presses the focused button, or the default button when no other button has the focus;
// Escape presses the cancel button.
void TButton::CMDialogKey(TWMKey& Message)
{
    WORD key = WORD(Message.Raw.WParam);
    TCustomForm* form = GetParentForm(this);
    TWinControl* focused = form ? form->ActiveControl() : nullptr;
    bool active = focused == this || (FDefault && !dynamic_cast<TButton*>(focused));
    if (((key == VK_RETURN && active) || (key == VK_ESCAPE && Cancel)) && Visible() && Enabled()) {
        Click();
        Message.Result = 1;
        return;
    }
    TNativeControl::CMDialogKey(Message);
}

void TButton::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_COMMAND:
        if (Message.WParamHi() == BN_CLICKED)
            Click();
        return;
    case BM_CLICK:
        Click();
        return;
    default:
        TNativeControl::Dispatch(Message);
    }
}

// ---- TCheckBox -----------------------------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* AOwner) : TNativeControl(AOwner)
{
    auto* b = new QCheckBox;
    SetWidget(b);
    QObject::connect(b, &QCheckBox::clicked, [this] {
        if (!FSyncing)
            Notify(BN_CLICKED);
    });
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    SetBounds(Left(), Top(), 97, 17);
    SetTabStop(true);
}

TCheckBox::~TCheckBox() = default;

QCheckBox* TCheckBox::Box() const { return qobject_cast<QCheckBox*>(Widget()); }

void TCheckBox::SetState(TCheckBoxState v)
{
    if (v == FState)
        return;
    FState = v;
    FSyncing = true;
    Box()->setTristate(v == cbGrayed || AllowGrayed);
    Box()->setCheckState(v == cbChecked ? Qt::Checked : v == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
    FSyncing = false;
    Click();
}

void TCheckBox::Toggle()
{
    switch (FState) {
    case cbUnchecked: SetState(AllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCheckBox::SetAlignment(TAlignment v)
{
    FAlignment = v;
    Box()->setLayoutDirection(v == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}

void TCheckBox::CMTextChanged(TMessage& Message)
{
    Box()->setText(ToQ(TControl::GetText()));
    TNativeControl::CMTextChanged(Message);
}

void TCheckBox::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_COMMAND:
        if (Message.WParamHi() == BN_CLICKED) {
            // Qt has already flipped its box; the state we keep decides, then the box follows it.
            TCheckBoxState before = FState;
            Toggle();
            if (FState == before) {
                FSyncing = true;
                Box()->setCheckState(FState == cbChecked ? Qt::Checked : FState == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
                FSyncing = false;
            }
        }
        return;
    case BM_GETCHECK:
        Message.Result = FState == cbChecked ? BST_CHECKED : FState == cbGrayed ? BST_INDETERMINATE : BST_UNCHECKED;
        return;
    case BM_SETCHECK:
        SetState(Message.WParam == BST_CHECKED ? cbChecked : Message.WParam == BST_INDETERMINATE ? cbGrayed : cbUnchecked);
        return;
    case BM_CLICK:
        Toggle();
        return;
    default:
        TNativeControl::Dispatch(Message);
    }
}

// ---- TLabel --------------------------------------------------------------------------------------

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FControlStyle << csReplicatable << csOpaque;
    SetBounds(Left(), Top(), 65, 17);
}

void TLabel::DoDrawText(TRect& Rect, unsigned Flags)
{
    std::string text = Caption();
    // An empty caption still measures one line high.
    if ((Flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&")))
        text += ' ';
    if (!FShowAccelChar)
        Flags |= DT_NOPREFIX;
    TCanvas* c = Canvas();
    c->SetFont(Font());
    if (!Enabled()) {
        OffsetRect(Rect, 1, 1);
        c->Font()->SetColor(clBtnHighlight);
        c->DrawText(text, Rect, Flags);
        OffsetRect(Rect, -1, -1);
        c->Font()->SetColor(clBtnShadow);
    }
    c->DrawText(text, Rect, Flags);
}

void TLabel::Paint()
{
    static const unsigned kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    if (!FTransparent) {
        c->Brush()->SetColor(Color());
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(r);
    }
    c->Brush()->SetStyle(bsClear);
    unsigned flags = DT_EXPANDTABS | (FWordWrap ? unsigned(DT_WORDBREAK) : 0u) | kAlign[FAlignment];
    if (FLayout != tlTop) {
        TRect calc = r;
        DoDrawText(calc, flags | DT_CALCRECT);
        int dy = FLayout == tlBottom ? r.Height() - calc.Bottom : (r.Height() - calc.Bottom) / 2;
        OffsetRect(r, 0, dy);
    }
    DoDrawText(r, flags);
}

void TLabel::AdjustBounds()
{
    if (!FAutoSize || ComponentState().Contains(csLoading))
        return;
    TRect r = ClientRect();
    DoDrawText(r, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? unsigned(DT_WORDBREAK) : 0u));
    int x = Left();
    if (FAlignment == taRightJustify)
        x += Width() - r.Right;
    SetBounds(x, Top(), r.Right, r.Bottom);
}

void TLabel::SetAlignment(TAlignment v)
{
    if (v == FAlignment)
        return;
    FAlignment = v;
    Invalidate();
}

void TLabel::SetAutoSize(bool v)
{
    if (v == FAutoSize)
        return;
    FAutoSize = v;
    AdjustBounds();
}

void TLabel::SetTransparent(bool v)
{
    if (v == FTransparent)
        return;
    FTransparent = v;
    if (v)
        FControlStyle >> csOpaque;
    else
        FControlStyle << csOpaque;
    Invalidate();
}

void TLabel::SetWordWrap(bool v)
{
    if (v == FWordWrap)
        return;
    FWordWrap = v;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetLayout(TTextLayout v)
{
    if (v == FLayout)
        return;
    FLayout = v;
    Invalidate();
}

void TLabel::SetShowAccelChar(bool v)
{
    if (v == FShowAccelChar)
        return;
    FShowAccelChar = v;
    AdjustBounds();
    Invalidate();
}

void TLabel::CMTextChanged(TMessage& Message)
{
    TGraphicControl::CMTextChanged(Message);
    Invalidate();
    AdjustBounds();
}

void TLabel::CMFontChanged(TMessage& Message)
{
    TGraphicControl::CMFontChanged(Message);
    AdjustBounds();
}

void TLabel::CMParentFontChanged(TMessage& Message)
{
    TGraphicControl::CMParentFontChanged(Message);
    AdjustBounds();
}
