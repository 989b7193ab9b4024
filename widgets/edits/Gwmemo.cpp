// The Gw memo and rich edit (framed multi-line edits with caret line and column) and the hot-key
// edit.
#include "Gwmemo.h"

#include <cstdlib>

#include "Gwedit.h"
#include "clipbrd.h"
#include "forms.h"
#include "sysinfo.h"

// ---- TGwMultiLine --------------------------------------------------------------------------------

template <class Base> void TGwMultiLine<Base>::SetReadOnly(bool Value) {
    if (Value == this->ReadOnly())
        return;
    Base::SetReadOnly(Value);
    this->Framing().UpdateColors();
}

template <class Base> int TGwMultiLine<Base>::CaretLine() {
    if (this->SelLength() > 0) {
        TPoint caret;
        if (!GetCaretPos(&caret))
            return 0;
        LRESULT r = this->Perform(EM_CHARFROMPOS, 0, PointToLParam(caret));
        return r < 0 ? 0 : HIWORD(DWORD(r));
    }
    return int(this->Perform(EM_LINEFROMCHAR, WPARAM(this->SelStart()), 0));
}

template <class Base> int TGwMultiLine<Base>::Line() { return CaretLine() + 1; }

template <class Base> int TGwMultiLine<Base>::Column() {
    int pos = this->SelStart();
    if (this->SelLength() > 0) {
        TPoint caret;
        if (!GetCaretPos(&caret))
            return 1;
        LRESULT r = this->Perform(EM_CHARFROMPOS, 0, PointToLParam(caret));
        if (r < 0)
            return 1;
        pos = LOWORD(DWORD(r));
    }
    LRESULT start = this->Perform(EM_LINEINDEX, WPARAM(this->Perform(EM_LINEFROMCHAR, WPARAM(pos), 0)), 0);
    return start < 0 ? 1 : pos - int(start) + 1;
}

template <class Base> void TGwMultiLine<Base>::SetLine(int Value) {
    LRESULT start = this->Perform(EM_LINEINDEX, WPARAM(Value - 1), 0);
    if (Value < 1 || start < 0)
        return;
    this->Perform(EM_SETSEL, WPARAM(start), start);
    if (Line() == Value) {
        const LRESULT first = this->Perform(EM_GETFIRSTVISIBLELINE, 0, 0);
        this->Perform(EM_LINESCROLL, 0, LPARAM(Value - first - 1));
    }
    LineColChange();
}

template <class Base> void TGwMultiLine<Base>::SetColumn(int Value) {
    const LRESULT start = this->Perform(EM_LINEINDEX, WPARAM(-1), 0);
    if (start < 0 || Value < 1)
        return;
    const LRESULT room = this->Perform(EM_LINELENGTH, WPARAM(start), 0) + 1;
    if (Value > room)
        return;
    this->Perform(EM_SETSEL, WPARAM(start + Value - 1), start + Value - 1);
    LineColChange();
}

template <class Base> void TGwMultiLine<Base>::JumpTo(int ALine, int AColumn) {
    SetLine(ALine);
    if (Line() == ALine)
        SetColumn(AColumn);
}

// The caret is asked for only when someone listens: a log appends thousands of lines.
template <class Base> void TGwMultiLine<Base>::LineColChange() {
    if (OnLineColChange)
        OnLineColChange(this, Line(), Column());
    ClipboardChange();
}

template <class Base> void TGwMultiLine<Base>::ClipboardChange() {
    if (OnClipboardChange)
        OnClipboardChange(this, this->SelLength() > 0, Clipboard()->HasFormat(CF_TEXT));
}

template <class Base> void TGwMultiLine<Base>::CreateWnd() {
    Base::CreateWnd();
    LineColChange();
}

template <class Base> void TGwMultiLine<Base>::Change() {
    Base::Change();
    LineColChange();
}

template <class Base> void TGwMultiLine<Base>::Click() {
    Base::Click();
    LineColChange();
}

template <class Base> void TGwMultiLine<Base>::KeyDown(WORD& Key, TShiftState Shift) {
    Base::KeyDown(Key, Shift);
    // Enter as Tab breaks no line: the key moves on here and is eaten before the widget sees it.
    if (TabOnEnter && Key == VK_RETURN && Shift.Empty()) {
        Key = 0;
        PostMessage(this->Handle(), WM_KEYDOWN, VK_TAB, 0);
        return;
    }
    // The platform lets a memo that wants all keys keep Tab too; the class library's memo hands
    // Tab to the form unless WantTabs (Enter as Tab depends on it).
    if (Key == VK_TAB && !this->WantTabs && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt))
        if (TCustomForm* form = GetParentForm(this))
            if (form->Perform(CM_DIALOGKEY, VK_TAB, 0) != 0)
                Key = 0;
    LineColChange();
}

template <class Base> void TGwMultiLine<Base>::KeyUp(WORD& Key, TShiftState Shift) {
    Base::KeyUp(Key, Shift);
    LineColChange();
}

template <class Base> void TGwMultiLine<Base>::KeyPress(char& Key) {
    if (TabOnEnter && Key == '\r') {
        Key = 0;
        PostMessage(this->Handle(), WM_KEYDOWN, VK_TAB, 0);
        return;
    }
    Base::KeyPress(Key);
}

template <class Base> void TGwMultiLine<Base>::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    Base::MouseUp(Button, Shift, X, Y);
    LineColChange();
}

// Without a handler of its own the wheel scrolls the system's lines (or pages) per notch.
template <class Base>
bool TGwMultiLine<Base>::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    if (this->OnMouseWheel)
        return Base::DoMouseWheel(Shift, WheelDelta, MousePos);
    int notches = WheelDelta / 120;
    UINT lines = 3;
    SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const bool pages = lines == 65535;
    int steps = pages ? std::abs(notches) : std::abs(notches) * int(lines);
    const WPARAM code =
        pages ? (WheelDelta > 0 ? SB_PAGEUP : SB_PAGEDOWN) : (WheelDelta > 0 ? SB_LINEUP : SB_LINEDOWN);
    for (; steps > 0; --steps)
        if (LOWORD(DWORD(this->Perform(EM_SCROLL, code, 0))) == 0)
            break;
    return true;
}

template <class Base> void TGwMultiLine<Base>::Dispatch(TMessage& Message) {
    if (Message.Msg == EM_SETREADONLY) {
        const bool before = this->ReadOnly();
        Base::Dispatch(Message);
        if (this->ReadOnly() != before)
            this->Framing().UpdateColors();
        return;
    }
    Base::Dispatch(Message);
}

template class TGwMultiLine<TCustomMemo>;
template class TGwMultiLine<TCustomRichEdit>;

// ---- TGwRichEdit ---------------------------------------------------------------------------------

std::string TGwRichEdit::RtfData() const {
    TMemoryStream stream;
    Lines()->SaveToStream(&stream);
    stream.SetPosition(0);
    TStringList lines;
    lines.LoadFromStream(&stream);
    return lines.Text();
}

void TGwRichEdit::CMEnabledChanged(TMessage&) {
    if (!Enabled() && Parent())
        if (TCustomForm* form = GetParentForm(this))
            form->DefocusControl(this, false);
    // Only the window style changes, so the colours stay the edit's; the window refuses input as
    // a WS_DISABLED window does.
    if (HandleAllocated()) {
        const LPARAM style = GetWindowLong(Handle(), GWL_STYLE);
        SetWindowLong(Handle(), GWL_STYLE, Enabled() ? style & ~LPARAM(WS_DISABLED) : style | WS_DISABLED);
        EnableWindow(Handle(), Enabled() ? 1 : 0);
    }
    Framing().UpdateColors();
}

// ---- TGwHotKeyEdit -------------------------------------------------------------------------------

TGwHotKeyEdit::TGwHotKeyEdit(TComponent* AOwner) : TGwFramed<THotKey>(AOwner) { SetHeight(21); }
