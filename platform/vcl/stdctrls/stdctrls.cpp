// Standard controls over Qt widgets, the wrapping base and the edits: the widget sits inside the
// control's handle, values go into it directly, and the user's changes come back as CN_COMMAND
// notifications through the message path. GUI core.
#include "stdctrls.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextFrame>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QValidator>

#include <algorithm>
#include <cstring>

#include "clipbrd.h"
#include "forms.h"
#include "handle.h"
#include "menus.h"
#include "graphics_qt.h"
#include "stdctrls_qt.h"
#include "winapi.h"

// The wrapped widgets as their own classes.
static QLineEdit* Line(const TCustomEdit* e) { return WidgetAs<QLineEdit>(e); }
// An empty selection is a caret position (setSelection would leave the caret where it was).
static void ShowSelection(QLineEdit* e, int start, int end) {
    if (start == end) {
        e->deselect();
        e->setCursorPosition(start);
    } else
        e->setSelection(start, end - start);
}
// The line editor, made now if it was not yet (a request its kept fields cannot answer).
static QLineEdit* LineNeeded(TCustomEdit* e) {
    e->WidgetNeeded();
    return Line(e);
}
static QPlainTextEdit* Memo(const TCustomMemo* m) { return WidgetAs<QPlainTextEdit>(m); }
// The memo's editor, made now if it was not yet: a memo not made yet is empty, and anything that
// reads or writes text, lines or the view needs the editor.
static QPlainTextEdit* MemoNeeded(const TCustomMemo* m) {
    const_cast<TCustomMemo*>(m)->WidgetNeeded();
    return Memo(m);
}

namespace {

// MaxLength as Windows applies it: typing may not make the text longer than the limit, but text set
// from code, or already longer, is kept (Qt's own limit would cut it).
class TLengthLimit : public QValidator {
public:
    TLengthLimit(QLineEdit* e, const int* max) : QValidator(e), FMax(max) {
        // The validator sees the new text only; the length before the edit is kept here.
        QObject::connect(e, &QLineEdit::textChanged, this, [this](const QString& t) { FLength = t.size(); });
    }
    State validate(QString& s, int&) const override {
        return *FMax > 0 && s.size() > *FMax && s.size() > FLength ? Invalid : Acceptable;
    }

private:
    const int* FMax;
    qsizetype FLength = 0;
};

// The clipboard keys of a Windows edit: Shift+Del, Shift+Ins and Ctrl+Ins act at the key,
// Ctrl+X, Ctrl+C and Ctrl+V at their character (their key down does nothing).
struct TEditKey {
    UINT Msg;
    WORD Code;
    bool Shift, Ctrl;
    UINT Command; // 0: the key goes no further
};
constexpr TEditKey kEditKeys[] = {
    {WM_KEYDOWN, VK_DELETE, true, false, WM_CUT},
    {WM_KEYDOWN, VK_INSERT, true, false, WM_PASTE},
    {WM_KEYDOWN, VK_INSERT, false, true, WM_COPY},
    {WM_KEYDOWN, 'X', false, true, 0},
    {WM_KEYDOWN, 'C', false, true, 0},
    {WM_KEYDOWN, 'V', false, true, 0},
    {WM_CHAR, 0x18, false, true, WM_CUT},
    {WM_CHAR, 0x03, false, true, WM_COPY},
    {WM_CHAR, 0x16, false, true, WM_PASTE},
};

const TEditKey* FindEditKey(const TMessage& m) {
    if (m.Msg != WM_KEYDOWN && m.Msg != WM_CHAR)
        return nullptr;
    TShiftState shift = KeyDataToShiftState(m.LParam);
    if (shift.Contains(ssAlt))
        return nullptr;
    for (const TEditKey& k : kEditKeys)
        if (k.Msg == m.Msg && k.Code == WORD(m.WParam) &&
            (m.Msg == WM_CHAR || (shift.Contains(ssShift) == k.Shift && shift.Contains(ssCtrl) == k.Ctrl)))
            return &k;
    return nullptr;
}

} // namespace

// ---- TNativeControl ------------------------------------------------------------------------------

TNativeControl::TNativeControl(TComponent* AOwner)
    : TWinControl(AOwner), FQt(std::make_unique<TNativeControlQt>()) {
    TApplication::QtApp();
}

TNativeControl::~TNativeControl() {
    QWidget* w = Widget(this);
    if (!w)
        return;
    // The derived control is gone: neither its signal handlers nor its message path may run for
    // what the widget does while it goes (losing the focus, for one).
    w->blockSignals(true);
    TakeWidgetBack();
    if (HandleAllocated())
        SetNativeWidget(this, nullptr);
    delete w;
}

void TNativeControlQt::SetWidget(TNativeControl* c, QWidget* w) {
    c->FQt->Held = w;
    c->FQt->Made = true;
    w->hide();
    w->setFont(c->Font()->QtFont());
}

namespace {

// The font colour is the enabled control's; a disabled one writes in clGrayText, as Windows draws
// disabled controls.
void ApplyFont(QWidget* w, TFont* font) {
    w->setFont(font->QtFont());
    QPalette pal = w->palette();
    QColor text = ToQColor(font->Color());
    QColor grey = ToQColor(clGrayText);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (QPalette::ColorRole r : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
            pal.setColor(g, r, g == QPalette::Disabled ? grey : text);
    w->setPalette(pal);
}

void ApplyColor(QWidget* w, TColor color) {
    QPalette pal = w->palette();
    QColor c = ToQColor(color);
    pal.setColor(QPalette::Base, c);
    pal.setColor(QPalette::Window, c);
    pal.setColor(QPalette::Button, c);
    w->setPalette(pal);
}

} // namespace

bool TNativeControl::WidgetMade() const { return !FQt->Held.isNull(); }

void TNativeControl::WidgetNeeded() {
    if (FQt->Made)
        return;
    CreateWidget();
    QWidget* w = Widget(this);
    if (!w)
        return;
    // The changes the widget missed, in the order the messages apply them.
    if (FQt->FontChanged)
        ApplyFont(w, Font());
    if (FQt->ColorChanged)
        ApplyColor(w, Color());
}

void TNativeControl::CreateWnd() {
    WidgetNeeded();
    TWinControl::CreateWnd();
    if (QWidget* w = Widget(this)) {
        SetNativeWidget(this, w);
        w->setFont(Font()->QtFont());
    }
}

// The handle is about to be deleted with its children: the widget leaves it first, without the
// message filters the handle installed on it and its parts (a new handle installs its own).
void TNativeControl::TakeWidgetBack() {
    QWidget* w = Widget(this);
    if (!w)
        return;
    ReleaseMessageFilters(w);
    if (w->parent()) {
        w->hide();
        w->setParent(nullptr);
    }
}

void TNativeControl::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_DESTROY)
        TakeWidgetBack();
    TWinControl::Dispatch(Message);
}

void TNativeControl::Notify(WORD code) { Perform(CN_COMMAND, MAKEWPARAM(0, code), 0); }

void TNativeControl::CMFontChanged(TMessage& Message) {
    TWinControl::CMFontChanged(Message);
    if (QWidget* w = Widget(this))
        ApplyFont(w, Font());
    else if (!FQt->Made)
        FQt->FontChanged = true;
}

void TNativeControl::CMColorChanged(TMessage& Message) {
    TWinControl::CMColorChanged(Message);
    if (QWidget* w = Widget(this))
        ApplyColor(w, Color());
    else if (!FQt->Made)
        FQt->ColorChanged = true;
}

// ---- TCustomEdit ---------------------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* AOwner, bool /*multiLine*/) : TNativeControl(AOwner) {
    // A memo sets its own widget in its constructor; a single-line edit makes its editor late.
    FControlStyle = TControlStyle{csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
    SetBounds(Left(), Top(), 121, 21);
    SetTabStop(true);
    SetColor(clWindow);
}

// The line editor shows the edit's fields; the user's changes come back into them.
void TCustomEdit::CreateWidget() {
    auto* e = new QLineEdit;
    e->setFrame(false);
    e->setValidator(new TLengthLimit(e, &FMaxLength));
    SetWidget(this, e);
    QObject::connect(e, &QLineEdit::textChanged, [this](const QString&) {
        TakeEditorState();
        if (!FSyncing)
            Notify(EN_CHANGE);
    });
    QObject::connect(e, &QLineEdit::cursorPositionChanged, [this](int, int) { TakeEditorState(); });
    QObject::connect(e, &QLineEdit::selectionChanged, [this] { TakeEditorState(); });
    // setText clears the modified flag and leaves the caret at the end: the kept caret, selection
    // and flag go in after it.
    FPushing = true;
    FSyncing = true;
    e->setText(QString::fromStdU16String(FText));
    FSyncing = false;
    ShowSelection(e, FSelStart, FSelEnd);
    e->setReadOnly(FReadOnly);
    e->setModified(FModified);
    FPushing = false;
    e->setEchoMode(FPasswordChar ? QLineEdit::Password : QLineEdit::Normal);
    ApplyAlignment();
}

// The user's typing, caret moves and undo come back into the fields; what the edit pushes into
// the editor itself is not read back half done.
void TCustomEdit::TakeEditorState() {
    QLineEdit* e = Line(this);
    if (FPushing || !e)
        return;
    FText = e->text().toStdU16String();
    FModified = e->isModified();
    if (e->hasSelectedText()) {
        FSelStart = int(e->selectionStart());
        FSelEnd = FSelStart + int(e->selectedText().size());
    } else
        FSelStart = FSelEnd = int(e->cursorPosition());
}

TCustomEdit::~TCustomEdit() = default;

void TCustomEdit::CreateParams(TCreateParams& Params) {
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

void TCustomEdit::CreateWnd() {
    TNativeControl::CreateWnd();
    ApplyAlignment();
}

void TCustomEdit::ApplyAlignment() {
    DWORD style = TWinControlAccess::Style(this);
    Qt::Alignment a = style & ES_RIGHT    ? Qt::AlignRight
                      : style & ES_CENTER ? Qt::AlignHCenter
                                          : Qt::AlignLeft;
    if (QLineEdit* e = Line(this)) {
        e->setAlignment(a | Qt::AlignVCenter);
    } else if (auto* m = WidgetAs<QPlainTextEdit>(this)) {
        QTextOption option = m->document()->defaultTextOption();
        option.setAlignment(a);
        m->document()->setDefaultTextOption(option);
    }
}

TQtString TCustomEdit::EditorText() const { return QString::fromStdU16String(FText); }

// As the editor's setText: the modified flag clears, the caret goes to the end, and a new text is
// reported.
void TCustomEdit::SetEditorText(const TQtString& s) {
    FModified = false;
    if (s == EditorText()) {
        if (QLineEdit* e = Line(this))
            e->setModified(false);
        return;
    }
    FText = s.toStdU16String();
    FSelStart = FSelEnd = int(FText.size());
    if (QLineEdit* e = Line(this)) {
        const bool pushing = FPushing;
        FPushing = true;
        e->setText(s);
        FPushing = pushing;
        return;
    }
    if (!FSyncing)
        Notify(EN_CHANGE);
}

void TCustomEdit::GetSel(int& start, int& end) const {
    start = FSelStart;
    end = FSelEnd;
}

// start -1 removes the selection, leaving the caret at its end.
void TCustomEdit::SetSel(int start, int end) {
    const int len = int(FText.size());
    if (start < 0)
        start = end = FSelEnd;
    else {
        if (end < 0 || end > len)
            end = len;
        start = std::min(start, len);
        if (end < start)
            std::swap(start, end);
    }
    FSelStart = start;
    FSelEnd = end;
    if (QLineEdit* e = Line(this)) {
        const bool pushing = FPushing;
        FPushing = true;
        ShowSelection(e, FSelStart, FSelEnd);
        FPushing = pushing;
    }
}

void TCustomEdit::ReplaceSel(const TQtString& s) {
    if (QLineEdit* e = LineNeeded(this))
        e->insert(s);
}

void TCustomEdit::EditorSetReadOnly(bool v) {
    FReadOnly = v;
    if (QLineEdit* e = Line(this))
        e->setReadOnly(v);
}

bool TCustomEdit::EditorReadOnly() const { return FReadOnly; }
bool TCustomEdit::EditorModified() const { return FModified; }

void TCustomEdit::EditorSetModified(bool v) {
    FModified = v;
    if (QLineEdit* e = Line(this))
        e->setModified(v);
}

void TCustomEdit::EditorUndo() {
    if (Line(this))
        Line(this)->undo();
}

bool TCustomEdit::EditorCanUndo() const { return Line(this) && Line(this)->isUndoAvailable(); }

std::string TCustomEdit::GetText() const { return FromQString(EditorText()); }

// A text set from code replaces the widget's text; the widget then reports the change (EN_CHANGE),
// as a Windows edit does for WM_SETTEXT.
void TCustomEdit::CMTextChanged(TMessage& Message) {
    QString s = ToQString(TControl::GetText());
    if (s != EditorText())
        SetEditorText(s);
    TNativeControl::CMTextChanged(Message);
}

void TCustomEdit::Change() {
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

void TCustomEdit::DoEnter() {
    // Tabbing in selects the text; a click places the caret instead.
    if (AutoSelect && !dynamic_cast<TCustomMemo*>(this) && !ControlState().Contains(csLButtonDown))
        SelectAll();
    TNativeControl::DoEnter();
}

int TCustomEdit::MaxLength() const { return FMaxLength; }

void TCustomEdit::SetMaxLength(int v) { FMaxLength = std::max(0, v); }

bool TCustomEdit::ReadOnly() const { return EditorReadOnly(); }
void TCustomEdit::SetReadOnly(bool v) { EditorSetReadOnly(v); }
bool TCustomEdit::Modified() const { return EditorModified(); }
void TCustomEdit::SetModified(bool v) { EditorSetModified(v); }

void TCustomEdit::SetBorderStyle(TBorderStyle v) {
    if (v == FBorderStyle)
        return;
    FBorderStyle = v;
    RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase v) {
    if (v == FCharCase)
        return;
    FCharCase = v;
    Change();
}

void TCustomEdit::SetPasswordChar(char v) {
    FPasswordChar = v;
    if (Line(this))
        Line(this)->setEchoMode(v ? QLineEdit::Password : QLineEdit::Normal);
}

int TCustomEdit::SelStart() {
    int a, b;
    GetSel(a, b);
    return a;
}

void TCustomEdit::SetSelStart(int v) { SetSel(v, v); }

int TCustomEdit::SelLength() {
    int a, b;
    GetSel(a, b);
    return b - a;
}

void TCustomEdit::SetSelLength(int v) {
    int a = SelStart();
    SetSel(a, a + std::max(0, v));
}

std::string TCustomEdit::SelText() {
    int a, b;
    GetSel(a, b);
    return FromQString(EditorText().mid(a, b - a));
}

void TCustomEdit::SetSelText(const std::string& v) { ReplaceSel(ToQString(v)); }
void TCustomEdit::SelectAll() { SetSel(0, -1); }
void TCustomEdit::ClearSelection() { ReplaceSel(QString()); }
void TCustomEdit::Clear() { SetText(""); }
void TCustomEdit::CutToClipboard() { Perform(WM_CUT, 0, 0); }
void TCustomEdit::CopyToClipboard() { Perform(WM_COPY, 0, 0); }
void TCustomEdit::PasteFromClipboard() { Perform(WM_PASTE, 0, 0); }
bool TCustomEdit::CanUndo() { return Perform(EM_CANUNDO, 0, 0) != 0; }
void TCustomEdit::Undo() { Perform(EM_UNDO, 0, 0); }

void TCustomEdit::DefaultHandler(TMessage& Message) {
    // The user's request shows the edit menu; one sent from code (which the menu's own loop would
    // hold up) goes on to the parent.
    if (Message.Msg == WM_CONTEXTMENU && TMessageBoundary::FromInput()) {
        TPoint at(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
        // From the keyboard: at the edit's top left.
        if (at.x == -1 && at.y == -1)
            at = ClientToScreen(TPoint(0, 0));
        ShowEditMenu(at.x, at.y);
        Message.Result = 1;
        return;
    }
    if (const TEditKey* k = FindEditKey(Message)) {
        if (k->Command)
            Perform(k->Command, 0, 0);
        return;
    }
    if (Message.Msg == WM_KEYDOWN &&
        !EditorTakesKey(WORD(Message.WParam), KeyDataToShiftState(Message.LParam)))
        return;
    TNativeControl::DefaultHandler(Message);
}

bool TCustomEdit::EditorTakesKey(WORD, TShiftState) { return true; }

void TCustomEdit::ShowEditMenu(int X, int Y) {
    int start, end;
    GetSel(start, end);
    const bool selected = end > start, writable = !ReadOnly();
    const struct {
        const char* Caption;
        UINT Msg;
        LPARAM LParam;
        bool Enabled;
    } commands[] = {
        {"&Отменить", WM_UNDO, 0, writable && Perform(EM_CANUNDO, 0, 0) != 0},
        {"-", 0, 0, true},
        {"Вы&резать", WM_CUT, 0, writable && selected},
        {"&Копировать", WM_COPY, 0, selected},
        {"Вст&авить", WM_PASTE, 0, writable && Clipboard()->HasFormat(CF_TEXT)},
        {"&Удалить", WM_CLEAR, 0, writable && selected},
        {"-", 0, 0, true},
        {"Выделить в&се", EM_SETSEL, -1, !EditorText().isEmpty()},
    };
    TPopupMenu menu(nullptr);
    TControlGuard self(this);
    for (const auto& c : commands) {
        auto* item = new TMenuItem(&menu);
        item->SetCaption(c.Caption);
        item->SetEnabled(c.Enabled);
        const UINT msg = c.Msg;
        const LPARAM lp = c.LParam;
        if (msg)
            item->OnClick = [this, self, msg, lp](TObject*) {
                if (self.Alive())
                    Perform(msg, 0, lp);
            };
        menu.Items()->Add(item);
    }
    menu.Popup(X, Y);
}

void TCustomEdit::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_STYLECHANGED:
        if (Message.WParam == WPARAM(GWL_STYLE))
            ApplyAlignment();
        return;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL; return;
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
        ReplaceSel(Message.LParam ? ToQString(reinterpret_cast<const char*>(Message.LParam)) : QString());
        return;
    case EM_LIMITTEXT: SetMaxLength(int(Message.WParam)); return;
    case EM_SETREADONLY:
        SetReadOnly(Message.WParam != 0);
        Message.Result = 1;
        return;
    case EM_GETMODIFY: Message.Result = Modified() ? 1 : 0; return;
    case EM_SETMODIFY: SetModified(Message.WParam != 0); return;
    case EM_CANUNDO: Message.Result = EditorCanUndo() ? 1 : 0; return;
    case EM_UNDO:
    case WM_UNDO:
        Message.Result = EditorCanUndo() ? 1 : 0;
        EditorUndo();
        return;
    case EM_GETLINECOUNT: Message.Result = 1; return;
    case WM_CUT:
        if (QLineEdit* e = LineNeeded(this); e && !e->isReadOnly())
            e->cut();
        return;
    case WM_COPY:
        if (QLineEdit* e = LineNeeded(this))
            e->copy();
        return;
    case WM_PASTE:
        if (QLineEdit* e = LineNeeded(this); e && !e->isReadOnly())
            e->paste();
        return;
    case WM_CLEAR:
        if (!ReadOnly())
            ReplaceSel(QString());
        return;
    default: TNativeControl::Dispatch(Message);
    }
}

// ---- TCustomMemo ---------------------------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* AOwner)
    : TCustomEdit(AOwner, true), FLines(std::make_unique<TMemoStrings>(this)) {
    FControlStyle >> csFixedHeight;
    SetBounds(Left(), Top(), 185, 89);
}

// The editor, empty, with the flags, scroll bars and wrapping set before.
void TCustomMemo::CreateWidget() {
    const bool readOnly = TCustomEdit::EditorReadOnly();
    auto* m = new QPlainTextEdit;
    m->setFrameShape(QFrame::NoFrame);
    m->setTabChangesFocus(true);
    m->setReadOnly(readOnly);
    SetWidget(this, m);
    QObject::connect(m, &QPlainTextEdit::textChanged, [this] {
        if (!FSyncing)
            Notify(EN_CHANGE);
    });
    UpdateWrap();
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::UpdateWrap() {
    QPlainTextEdit* m = Memo(this);
    if (!m)
        return;
    bool horz = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
    bool vert = FScrollBars == ssVertical || FScrollBars == ssBoth;
    m->setHorizontalScrollBarPolicy(horz ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    m->setVerticalScrollBarPolicy(vert ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    // A horizontal scroll bar turns wrapping off, as in a Windows memo.
    m->setLineWrapMode(FWordWrap && !horz ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TCustomMemo::SetScrollBars(TScrollStyle v) {
    FScrollBars = v;
    UpdateWrap();
}

void TCustomMemo::SetWordWrap(bool v) {
    FWordWrap = v;
    UpdateWrap();
}

// The messages about the view: positions in client pixels, first line, scrolling, margins.
void TCustomMemo::ViewMessage(TMessage& Message) {
    QPlainTextEdit* m = MemoNeeded(this);
    QWidget* vp = m->viewport();
    QWidget* client = ClientWidget(this);
    auto toClient = [&](QPoint p) { return client ? vp->mapTo(client, p) : p; };
    auto fromClient = [&](QPoint p) { return client ? vp->mapFrom(client, p) : p; };
    auto firstLine = [&] { return m->cursorForPosition(QPoint(1, 1)).blockNumber(); };
    switch (Message.Msg) {
    case EM_CHARFROMPOS: {
        QTextCursor c =
            m->cursorForPosition(fromClient(QPoint(short(Message.LParamLo()), short(Message.LParamHi()))));
        Message.Result = MAKELRESULT(ToWin(c.position()), c.blockNumber());
        return;
    }
    case EM_POSFROMCHAR: {
        int pos = FromWin(int(Message.WParam));
        if (pos < 0 || pos > m->document()->characterCount() - 1) {
            Message.Result = -1;
            return;
        }
        QTextCursor c(m->document());
        c.setPosition(pos);
        QPoint p = toClient(m->cursorRect(c).topLeft());
        Message.Result = MAKELRESULT(p.x(), p.y());
        return;
    }
    case EM_LINESCROLL: {
        int chars = int(Message.WParam), lines = int(Message.LParam);
        m->verticalScrollBar()->setValue(m->verticalScrollBar()->value() + lines);
        m->horizontalScrollBar()->setValue(m->horizontalScrollBar()->value() +
                                           chars * m->fontMetrics().averageCharWidth());
        Message.Result = 1;
        return;
    }
    case EM_SCROLL: {
        QScrollBar* bar = m->verticalScrollBar();
        int before = bar->value();
        int code = int(Message.WParam);
        int step = code == SB_LINEUP     ? -1
                   : code == SB_LINEDOWN ? 1
                   : code == SB_PAGEUP   ? -bar->pageStep()
                   : code == SB_PAGEDOWN ? bar->pageStep()
                                         : 0;
        if (step == 0) {
            Message.Result = 0;
            return;
        }
        bar->setValue(before + step);
        Message.Result = MAKELRESULT(bar->value() - before, 1);
        return;
    }
    case EM_GETFIRSTVISIBLELINE: Message.Result = firstLine(); return;
    case EM_SETMARGINS: {
        // The document's root frame keeps the margins (EC_USEFONTINFO: a few pixels, as Windows picks).
        QTextFrameFormat f = m->document()->rootFrame()->frameFormat();
        int left = Message.LParamLo(), right = Message.LParamHi();
        if (Message.WParam == EC_USEFONTINFO)
            left = right = m->fontMetrics().averageCharWidth() / 2;
        if (Message.WParam & EC_LEFTMARGIN || Message.WParam == EC_USEFONTINFO)
            f.setLeftMargin(left);
        if (Message.WParam & EC_RIGHTMARGIN || Message.WParam == EC_USEFONTINFO)
            f.setRightMargin(right);
        m->document()->rootFrame()->setFrameFormat(f);
        return;
    }
    case EM_GETMARGINS: {
        QTextFrameFormat f = m->document()->rootFrame()->frameFormat();
        Message.Result = MAKELRESULT(int(f.leftMargin()), int(f.rightMargin()));
        return;
    }
    default: return;
    }
}

int TCustomMemo::ToWin(int qtPos) const {
    QTextBlock b = MemoNeeded(this)->document()->findBlock(qtPos);
    return qtPos + (b.isValid() ? b.blockNumber() : Memo(this)->document()->blockCount() - 1);
}

int TCustomMemo::FromWin(int winPos) const {
    QTextDocument* d = MemoNeeded(this)->document();
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

TQtString TCustomMemo::EditorText() const {
    if (!WidgetMade())
        return QString();
    QString t = Memo(this)->toPlainText();
    t.replace(u'\n', QStringLiteral("\r\n"));
    return t;
}

void TCustomMemo::SetEditorText(const TQtString& s) {
    QString t = s;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    MemoNeeded(this)->setPlainText(t);
}

void TCustomMemo::GetSel(int& start, int& end) const {
    if (!WidgetMade()) {
        start = end = 0;
        return;
    }
    QTextCursor c = Memo(this)->textCursor();
    start = ToWin(c.selectionStart());
    end = ToWin(c.selectionEnd());
}

void TCustomMemo::SetSel(int start, int end) {
    QTextCursor c = MemoNeeded(this)->textCursor();
    if (start < 0) {
        c.clearSelection();
    } else {
        int last = Memo(this)->document()->characterCount() - 1;
        int a = std::min(FromWin(start), last);
        int b = end < 0 ? last : std::min(FromWin(end), last);
        c.setPosition(a);
        c.setPosition(b, QTextCursor::KeepAnchor);
    }
    Memo(this)->setTextCursor(c);
}

void TCustomMemo::ReplaceSel(const TQtString& s) {
    QString t = s;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTextCursor c = MemoNeeded(this)->textCursor();
    c.insertText(t);
    Memo(this)->setTextCursor(c);
    Memo(this)->ensureCursorVisible();
}

// The read-only flag is the edit's field, shown by the editor once made; the empty memo without its
// editor is unmodified and has nothing to undo.
void TCustomMemo::EditorSetReadOnly(bool v) {
    TCustomEdit::EditorSetReadOnly(v);
    if (QPlainTextEdit* m = Memo(this))
        m->setReadOnly(v);
}
bool TCustomMemo::EditorReadOnly() const { return TCustomEdit::EditorReadOnly(); }
bool TCustomMemo::EditorModified() const { return WidgetMade() && Memo(this)->document()->isModified(); }
void TCustomMemo::EditorSetModified(bool v) {
    if (v || WidgetMade())
        MemoNeeded(this)->document()->setModified(v);
}
void TCustomMemo::EditorUndo() {
    if (WidgetMade())
        Memo(this)->undo();
}
bool TCustomMemo::EditorCanUndo() const { return WidgetMade() && Memo(this)->document()->isUndoAvailable(); }

void TCustomMemo::CreateParams(TCreateParams& Params) {
    TCustomEdit::CreateParams(Params);
    Params.Style |= ES_MULTILINE;
    Params.Style |= FAlignment == taRightJustify ? ES_RIGHT : FAlignment == taCenter ? ES_CENTER : ES_LEFT;
}

void TCustomMemo::SetAlignment(TAlignment v) {
    if (v == FAlignment)
        return;
    FAlignment = v;
    if (!HandleAllocated())
        return;
    DWORD& style = TWinControlAccess::Style(this);
    style = (style & ~DWORD(ES_CENTER | ES_RIGHT)) | (v == taRightJustify ? ES_RIGHT
                                                      : v == taCenter     ? ES_CENTER
                                                                          : ES_LEFT);
    ApplyAlignment();
}

void TCustomMemo::Dispatch(TMessage& Message) {
    // The memo's own messages read or change the editor: they make it.
    auto doc = [this] { return MemoNeeded(this)->document(); };
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL |
                         (WantReturns ? DLGC_WANTALLKEYS : 0) | (WantTabs ? DLGC_WANTTAB : 0);
        return;
    case EM_GETLINECOUNT: Message.Result = doc()->blockCount(); return;
    case EM_LINEINDEX: {
        QTextDocument* d = doc();
        int line = int(Message.WParam) < 0 ? Memo(this)->textCursor().blockNumber() : int(Message.WParam);
        QTextBlock b = d->findBlockByNumber(line);
        Message.Result = b.isValid() ? ToWin(b.position()) : -1;
        return;
    }
    case EM_LINEFROMCHAR: {
        QTextDocument* d = doc();
        int pos =
            int(Message.WParam) < 0 ? Memo(this)->textCursor().position() : FromWin(int(Message.WParam));
        Message.Result = d->findBlock(pos).blockNumber();
        return;
    }
    case EM_LINELENGTH: {
        QTextBlock b = doc()->findBlock(FromWin(int(Message.WParam)));
        Message.Result = b.isValid() ? b.length() - 1 : 0;
        return;
    }
    case EM_GETLINE: {
        QTextBlock b = doc()->findBlockByNumber(int(Message.WParam));
        auto* buf = reinterpret_cast<char*>(Message.LParam);
        if (!b.isValid() || !buf) {
            Message.Result = 0;
            return;
        }
        WORD room;
        std::memcpy(&room, buf, sizeof room);
        std::string line = FromQString(b.text());
        size_t n = std::min<size_t>(room, line.size());
        std::memcpy(buf, line.data(), n);
        Message.Result = LRESULT(n);
        return;
    }
    case EM_SCROLLCARET: MemoNeeded(this)->ensureCursorVisible(); return;
    case EM_CHARFROMPOS:
    case EM_POSFROMCHAR:
    case EM_LINESCROLL:
    case EM_SCROLL:
    case EM_GETFIRSTVISIBLELINE:
    case EM_SETMARGINS:
    case EM_GETMARGINS: ViewMessage(Message); return;
    case WM_CUT:
        if (!ReadOnly())
            MemoNeeded(this)->cut();
        return;
    case WM_COPY: MemoNeeded(this)->copy(); return;
    case WM_PASTE:
        if (!ReadOnly())
            MemoNeeded(this)->paste();
        return;
    default: TCustomEdit::Dispatch(Message);
    }
}

// Lines of a memo. A final line end leaves an empty last block that is not a line, so text that
// was built by Add ends with CR LF.
int TMemoStrings::GetCount() const {
    if (!FMemo->WidgetMade())
        return 0;
    QTextDocument* d = Memo(FMemo)->document();
    int n = d->blockCount();
    if (d->lastBlock().length() <= 1)
        --n;
    return n;
}

std::string TMemoStrings::Get(int Index) const {
    QTextBlock b = Memo(FMemo)->document()->findBlockByNumber(Index);
    if (Index < 0 || Index >= GetCount() || !b.isValid())
        Error("List index out of bounds (%d)", Index);
    return FromQString(b.text());
}

void TMemoStrings::Put(int Index, const std::string& S) {
    if (Index < 0 || Index >= GetCount())
        Error("List index out of bounds (%d)", Index);
    QTextBlock b = Memo(FMemo)->document()->findBlockByNumber(Index);
    QTextCursor c(b);
    c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    c.insertText(ToQString(S));
}

void TMemoStrings::Clear() {
    // The empty memo cleared reports a change, as the editor does.
    if (!FMemo->WidgetMade()) {
        if (!FMemo->FSyncing)
            FMemo->Notify(EN_CHANGE);
        return;
    }
    Memo(FMemo)->clear();
}

void TMemoStrings::Delete(int Index) {
    if (Index < 0 || Index >= GetCount())
        Error("List index out of bounds (%d)", Index);
    QTextDocument* d = Memo(FMemo)->document();
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

void TMemoStrings::Insert(int Index, const std::string& S) {
    if (Index < 0 || Index > GetCount())
        Error("List index out of bounds (%d)", Index);
    QPlainTextEdit* m = MemoNeeded(FMemo);
    QTextDocument* d = m->document();
    QTextCursor c(d);
    QTextBlock b = d->findBlockByNumber(Index);
    if (b.isValid()) {
        c.setPosition(b.position());
        c.insertText(ToQString(S) + u'\n');
    } else {
        c.movePosition(QTextCursor::End);
        c.insertText(u'\n' + ToQString(S));
    }
    // The caret follows the inserted line, so a log shows its newest line.
    m->setTextCursor(c);
    m->ensureCursorVisible();
}

int TMemoStrings::Add(const std::string& S) {
    int n = GetCount();
    Insert(n, S);
    return n;
}
