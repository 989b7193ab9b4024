// Script editor control: keys, characters, mouse, double click and wheel.
#include "UnitSyntaxMemo.h"

#include <algorithm>

#include "forms.h"

namespace {

// A digit of the top row or of the numeric pad, -1 for any other key.
int DigitOf(WORD Key) {
    if (Key >= '0' && Key <= '9')
        return Key - '0';
    if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9)
        return Key - VK_NUMPAD0;
    return -1;
}
} // namespace

// ---- word moves ----------------------------------------------------------------------------------

int TMPCustomSyntaxMemo::TokenAtColumn(int Column, int Line) const {
    const TMPSyntaxParser* tokens = Lines()->TokenListOf(Line);
    if (!tokens)
        return 65535;
    for (int i = 0; i < tokens->Count(); ++i) {
        const TMPSyntaxToken& t = tokens->Tokens()[size_t(i)];
        if (Column < t.Start)
            return -i;
        if (Column < t.Start + t.Length)
            return i;
    }
    return 65535;
}

bool TMPCustomSyntaxMemo::NextWordStart(int& Column, int& Line) const {
    const TMPPos caret = Range()->Caret();
    const int t = TokenAtColumn(caret.X, caret.Y);
    const TMPSyntaxParser* tokens = Lines()->TokenListOf(caret.Y);
    Line = caret.Y;
    if (t < 0) {
        Column = tokens->Token(-t)->Start;
    } else if (t == 65535) {
        Line = MoveLines(caret.Y, 1, false);
        if (!Lines()->ValidIndex(Line))
            return false;
        const TMPSyntaxToken* first = Lines()->TokenListOf(Line)->Token(0);
        Column = first ? first->Start : 0;
    } else if (t == tokens->Count() - 1) {
        Column = tokens->Token(t)->Start + tokens->Token(t)->Length;
    } else {
        Column = tokens->Token(t + 1)->Start;
    }
    return true;
}

bool TMPCustomSyntaxMemo::PrevWordStart(int& Column, int& Line) const {
    const TMPPos caret = Range()->Caret();
    if (!Lines()->ValidIndex(caret.Y))
        return false;
    const TMPSyntaxParser* tokens = Lines()->TokenListOf(caret.Y);
    const int t = TokenAtColumn(caret.X, caret.Y);
    Line = caret.Y;
    auto endOfPrevious = [&] {
        Line = MoveLines(caret.Y, -1, false);
        if (!Lines()->ValidIndex(Line))
            return false;
        const TMPSyntaxParser* above = Lines()->TokenListOf(Line);
        const TMPSyntaxToken* last = above->Token(above->Count() - 1);
        Column = last ? last->Start + last->Length : 0;
        return true;
    };
    if (t >= 0 && t < 65535) {
        const TMPSyntaxToken* tok = tokens->Token(t);
        if (caret.X > tok->Start) {
            Column = tok->Start;
            return true;
        }
        if (t == 0)
            return endOfPrevious();
        Column = tokens->Token(t - 1)->Start;
        return true;
    }
    if (t == 65535) {
        if (!tokens->Count())
            return endOfPrevious();
        Column = tokens->Token(tokens->Count() - 1)->Start;
        return true;
    }
    // In the blank after a token: that token's start (the blank after the first one included).
    Column = tokens->Token(-t - 1)->Start;
    return true;
}

void TMPCustomSyntaxMemo::ExtendTo(int Column, int Line) {
    TMPSynMemoRange* R = Range();
    R->Enlarge(Line - R->GetPosY(), true, false);
    R->Enlarge(Column - R->GetPosX(), false, false);
}

// ---- keys ----------------------------------------------------------------------------------------

// The keys the editor takes, looked at in order: the first row whose key and modifiers match runs;
// a key no row takes goes on to the control (OnKeyDown).
const std::vector<TMPCustomSyntaxMemo::TKeyRow>& TMPCustomSyntaxMemo::KeyTable() {
    using M = TMPCustomSyntaxMemo;
    using N = TKeyNeeds;
    static const std::vector<TKeyRow> table = {
        {"CtrlHover", VK_CONTROL, VK_CONTROL, N::Any, &M::KeyCtrlHover},
        {"Left", VK_LEFT, VK_LEFT, N::Any, &M::KeySideways},
        {"Right", VK_RIGHT, VK_RIGHT, N::Any, &M::KeySideways},
        {"Up", VK_UP, VK_UP, N::Any, &M::KeyUpDown},
        {"Down", VK_DOWN, VK_DOWN, N::Any, &M::KeyUpDown},
        {"Home", VK_HOME, VK_HOME, N::Any, &M::KeyHome},
        {"End", VK_END, VK_END, N::Any, &M::KeyEnd},
        {"PageUp", VK_PRIOR, VK_PRIOR, N::Any, &M::KeyPage},
        {"PageDown", VK_NEXT, VK_NEXT, N::Any, &M::KeyPage},
        {"Delete", VK_DELETE, VK_DELETE, N::Any, &M::KeyDelete},
        {"Tab", VK_TAB, VK_TAB, N::Any, &M::KeyTab},
        {"Backspace", VK_BACK, VK_BACK, N::Any, &M::KeyBackspace},
        {"Return", VK_RETURN, VK_RETURN, N::Any, &M::KeyReturn},
        {"Insert", VK_INSERT, VK_INSERT, N::Any, &M::KeyInsert},
        {"Copy", 'C', 'C', N::Ctrl, &M::KeyCopy},
        {"Cut", 'X', 'X', N::CtrlAlone, &M::KeyCut},
        {"Paste", 'V', 'V', N::CtrlAlone, &M::KeyPaste},
        {"Undo", 'Z', 'Z', N::Ctrl, &M::KeyUndo},
        {"ExpandSection", VK_ADD, VK_ADD, N::Ctrl, &M::KeyExpand},
        {"CollapseSection", VK_SUBTRACT, VK_SUBTRACT, N::Ctrl, &M::KeyCollapse},
        {"CreateSection", VK_F5, VK_F5, N::Any, &M::KeyCreateSection},
        {"ExplodeSection", VK_F6, VK_F6, N::Any, &M::KeyExplodeSection},
        {"Bookmark", '0', '9', N::Ctrl, &M::KeyBookmark},
        {"KeypadBookmark", VK_NUMPAD0, VK_NUMPAD9, N::Ctrl, &M::KeyBookmark},
    };
    return table;
}

bool TMPCustomSyntaxMemo::TKeyRow::Takes(WORD Key, TShiftState Shift) const {
    if (Key < First || Key > Last)
        return false;
    switch (Needs) {
    case TKeyNeeds::Any: return true;
    case TKeyNeeds::Ctrl: return Shift.Contains(ssCtrl);
    case TKeyNeeds::CtrlAlone: return Shift == TShiftState{ssCtrl};
    }
    return false;
}

void TMPCustomSyntaxMemo::KeyDown(WORD& Key, TShiftState Shift) {
    FKeyTaken = false;
    for (const TKeyRow& row : KeyTable())
        if (row.Takes(Key, Shift)) {
            FKeyTaken = true;
            (this->*row.Run)(Key, Shift);
            return;
        }
    TCustomControl::KeyDown(Key, Shift);
}

void TMPCustomSyntaxMemo::KeyCtrlHover(WORD, TShiftState Shift) {
    if (Shift == TShiftState{ssCtrl} && !FCtrlHover) {
        FCtrlHover = true;
        SetCursor(crHandPoint);
        SetHint("");
        SetHotToken(-1, -1);
        SetShowHint(true);
    }
}

void TMPCustomSyntaxMemo::KeySideways(WORD Key, TShiftState Shift) {
    TMPSynMemoRange* R = Range();
    const bool shift = Shift.Contains(ssShift), ctrl = Shift.Contains(ssCtrl);
    const bool right = Key == VK_RIGHT;
    int c = 0, l = 0;
    if (!shift && !ctrl) {
        const TMPPos caret = R->Caret();
        R->Collapse();
        R->SetPosX(std::max(caret.X + (right ? 1 : -1), 0));
    } else if (!shift) {
        R->Collapse();
        if (right ? NextWordStart(c, l) : PrevWordStart(c, l))
            R->SetPos({c, l});
    } else if (!ctrl) {
        R->Enlarge(right ? 1 : -1, false, false);
    } else if (right ? NextWordStart(c, l) : PrevWordStart(c, l)) {
        ExtendTo(c, l);
    }
}

void TMPCustomSyntaxMemo::KeyUpDown(WORD Key, TShiftState Shift) {
    TMPSynMemoRange* R = Range();
    const bool shift = Shift.Contains(ssShift), ctrl = Shift.Contains(ssCtrl);
    const int step = Key == VK_DOWN ? 1 : -1;
    if (!shift && !ctrl) {
        const TMPPos caret = R->Caret();
        R->Collapse();
        R->SetPosY(MoveLines(caret.Y, step, true));
    } else if (!shift) {
        SetTopRow(MoveLines(FTopRow, step, true));
        const int top = VisibleIndexOf(FTopRow), start = VisibleIndexOf(R->GetStartY());
        if (step > 0 && start < top) {
            R->Collapse();
            R->SetPosY(FTopRow);
        } else if (step < 0 && top + FVisibleRows <= start) {
            R->Collapse();
            R->SetPosY(MoveLines(FTopRow, FVisibleRows - 1, true));
        }
    } else if (!ctrl) {
        R->Enlarge(step, true, true);
    } else {
        R->GotoSection(step > 0);
    }
}

void TMPCustomSyntaxMemo::KeyHome(WORD, TShiftState Shift) {
    TMPSynMemoRange* R = Range();
    const bool ctrl = Shift.Contains(ssCtrl);
    const TMPPos caret = R->Caret();
    if (!Shift.Contains(ssShift)) {
        R->Collapse();
        R->SetPos({0, ctrl ? 0 : caret.Y});
    } else {
        if (ctrl)
            R->Enlarge(-caret.Y, true, false);
        R->Enlarge(-R->GetPosX(), false, false);
    }
}

void TMPCustomSyntaxMemo::KeyEnd(WORD, TShiftState Shift) {
    TMPSynMemoRange* R = Range();
    const bool ctrl = Shift.Contains(ssCtrl);
    const TMPPos caret = R->Caret();
    if (!Shift.Contains(ssShift)) {
        R->Collapse();
        const int y = ctrl ? Lines()->Count() - 1 : caret.Y;
        R->SetPos({Lines()->LineLength(y), y});
    } else {
        if (ctrl)
            R->Enlarge(Lines()->Count() - 1 - caret.Y, true, false);
        R->Enlarge(Lines()->LineLength(R->GetPosY()) - R->GetPosX(), false, false);
    }
}

void TMPCustomSyntaxMemo::KeyPage(WORD Key, TShiftState Shift) {
    TMPSynMemoRange* R = Range();
    const bool ctrl = Shift.Contains(ssCtrl);
    const bool down = Key == VK_NEXT;
    const TMPPos caret = R->Caret();
    const int page = FVisibleRows - 1;
    if (!Shift.Contains(ssShift)) {
        R->Collapse();
        if (ctrl)
            R->SetPosY(down ? MoveLines(FTopRow, page, true) : FTopRow);
        else
            R->SetPosY(MoveLines(caret.Y, down ? page : -page, true));
    } else if (ctrl) {
        ExtendTo(caret.X, down ? MoveLines(FTopRow, page, true) : FTopRow);
    } else {
        R->Enlarge(down ? page : -page, true, true);
    }
}

void TMPCustomSyntaxMemo::KeyDelete(WORD, TShiftState) {
    if (!Options().Contains(smoReadOnly))
        Range()->Delete();
}

void TMPCustomSyntaxMemo::KeyTab(WORD, TShiftState) {
    if (!Options().Contains(smoReadOnly))
        Range()->SetText(std::string(size_t(4 - Range()->Caret().X % 4), ' '));
}

void TMPCustomSyntaxMemo::KeyBackspace(WORD, TShiftState) {
    if (Options().Contains(smoReadOnly))
        return;
    TMPSynMemoRange* R = Range();
    const TMPPos caret = R->Caret();
    if (!R->IsEmpty()) {
        R->Delete();
    } else if (caret.X > Lines()->LineLength(caret.Y)) {
        // In the blank space past the end there is nothing to delete: the caret only moves.
        R->SetPosX(caret.X - 1);
    } else if (caret.X > 0) {
        WithinUpdate(Lines(), [&] {
            R->SetPosX(caret.X - 1);
            R->Delete();
        });
    } else {
        // At column 0 only a line directly above is joined: not at the start of the text, not
        // below a folded section.
        const int above = MoveLines(caret.Y, -1, true);
        if (caret.Y > 0 && above == caret.Y - 1)
            WithinUpdate(Lines(), [&] {
                R->SetPos({Lines()->LineLength(above), above});
                R->Delete();
            });
    }
}

void TMPCustomSyntaxMemo::KeyReturn(WORD, TShiftState) {
    if (!Options().Contains(smoReadOnly))
        Range()->SetText("\r\n");
}

void TMPCustomSyntaxMemo::KeyInsert(WORD, TShiftState) {
    if (Options().Contains(smoReadOnly))
        return;
    TMPSynMemoOptions o = Options();
    if (o.Contains(smoOverwrite))
        o >> smoOverwrite;
    else
        o << smoOverwrite;
    SetOptions(o);
}

void TMPCustomSyntaxMemo::KeyCopy(WORD, TShiftState) { Range()->CopyToClipboard(); }
void TMPCustomSyntaxMemo::KeyCut(WORD, TShiftState) { Range()->CutToClipBoard(); }

void TMPCustomSyntaxMemo::KeyPaste(WORD, TShiftState) {
    if (!Options().Contains(smoReadOnly))
        Range()->PasteFromClipboard();
}

void TMPCustomSyntaxMemo::KeyUndo(WORD, TShiftState) {
    if (Range()->CanUndo())
        Range()->DoUndo();
}

void TMPCustomSyntaxMemo::KeyExpand(WORD, TShiftState Shift) {
    Range()->ExpandSection(Shift.Contains(ssShift));
}
void TMPCustomSyntaxMemo::KeyCollapse(WORD, TShiftState Shift) {
    Range()->CollapseSection(Shift.Contains(ssShift));
}
void TMPCustomSyntaxMemo::KeyCreateSection(WORD, TShiftState) { Range()->CreateSection(); }
void TMPCustomSyntaxMemo::KeyExplodeSection(WORD, TShiftState Shift) {
    Range()->ExplodeSection(Shift.Contains(ssCtrl));
}

// Ctrl+Shift+digit sets bookmark digit on the caret's line; Ctrl+digit goes to it.
void TMPCustomSyntaxMemo::KeyBookmark(WORD Key, TShiftState Shift) {
    const int d = DigitOf(Key);
    if (Shift.Contains(ssShift))
        Bookmarks()->SetBookMarks(d, Range()->Caret().Y);
    else if (Bookmarks()->GetBookMarks(d) >= 0)
        GotoLine(0, Bookmarks()->GetBookMarks(d));
}

void TMPCustomSyntaxMemo::KeyUp(WORD& Key, TShiftState Shift) {
    FKeyTaken = false;
    SetCursor(crIBeam);
    // The word's hint belongs to the held key.
    if (FCtrlHover && Application)
        Application->HideHint();
    SetShowHint(false);
    SetHotToken(-1, -1);
    if (OnWordInfo)
        OnWordInfo(this, 0, 0, -1, -1, false);
    FCtrlHover = false;
    TCustomControl::KeyUp(Key, Shift);
}

void TMPCustomSyntaxMemo::KeyPress(char& Key) {
    // A key the key table took types nothing: the X11 desktop gives Ctrl+0, Ctrl+9 and Ctrl with a
    // keypad key their plain character, where Windows sends no character at all.
    if (FKeyTaken) {
        FKeyTaken = false;
        return;
    }
    const unsigned char code = static_cast<unsigned char>(Key);
    if (code < 32 || Options().Contains(smoReadOnly))
        return;
    TMPSynMemoRange* R = Range();
    WithinUpdate(Lines(), [&] {
        const TMPPos caret = R->Caret();
        if (Options().Contains(smoOverwrite) && R->IsEmpty() && caret.X < Lines()->LineLength(caret.Y))
            R->Select(caret, {caret.X + 1, caret.Y});
        R->SetText(std::string(1, Key));
    });
}

// ---- mouse ---------------------------------------------------------------------------------------

void TMPCustomSyntaxMemo::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!Focused() && CanFocus())
        SetFocus();
    TMPSynMemoRange* R = Range();
    if (Button == mbLeft && Shift == TShiftState{ssLeft}) {
        if (X < GutterRect(-1).Right) {
            const int row = FLineHeight > 0 ? (Y - RowBand(-1).Top) / FLineHeight : 0;
            const int line = MoveLines(FTopRow, row, false);
            if (!Lines()->ValidIndex(line))
                return;
            const TMPSynMemoSection* s = Sections()->SectionOfLine(line);
            if (s->Level > 0 && s->FirstLine == line && FoldBox(row, s->Level).Contains({X, Y})) {
                if (s->Collapsed)
                    Sections()->Expand(line, false, false);
                else
                    Sections()->Collapse(line, false, false);
            }
            return;
        }
        FLeftDrag = true;
        R->Collapse();
        const TPoint p = PointToText(X, Y, true);
        int token = 0;
        if (Lines()->ValidIndex(p.y)) {
            R->SetPos({ColumnAtX(p.x, p.y, token), p.y});
        } else if (Lines()->Count()) {
            // Below the text: the end of the last line shown.
            const int last = Sections()->VisibleLines().empty() ? 0 : Sections()->VisibleLines().back();
            R->SetPos({Lines()->LineLength(last), last});
        } else {
            R->SetPos({0, 0});
        }
        return;
    }
    if (Button == mbMiddle && Shift == TShiftState{ssMiddle}) {
        FMiddleDrag = true;
        SetCursor(crSizeAll);
        FMiddleAnchor = PointToText(X, Y, false);
        return;
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TMPCustomSyntaxMemo::MouseMove(TShiftState Shift, int X, int Y) {
    if (FLeftDrag && Shift == TShiftState{ssLeft}) {
        const TPoint p = PointToText(X, Y, true);
        int token = 0;
        TMPPos target;
        if (Lines()->ValidIndex(p.y)) {
            target = {ColumnAtX(p.x, p.y, token), p.y};
        } else if (Lines()->Count()) {
            const int last = Sections()->VisibleLines().empty() ? 0 : Sections()->VisibleLines().back();
            target = {ColumnAtX(p.x, last, token), last};
        }
        if (!(target == Range()->Caret()))
            ExtendTo(target.X, target.Y);
        return;
    }
    if (FMiddleDrag && Shift == TShiftState{ssMiddle}) {
        const TPoint p = PointToText(X, Y, false);
        if (p.y != FMiddleAnchor.y) {
            SetTopRow(MoveLines(FTopRow, FMiddleAnchor.y - p.y, true));
            FMiddleAnchor.y = p.y;
        }
        if (p.x != FMiddleAnchor.x)
            SetHorzOffset(FHorzOffset + FMiddleAnchor.x - p.x);
        return;
    }
    if (FCtrlHover) {
        const TPoint p = PointToText(X, Y, true);
        if (!Lines()->ValidIndex(p.y))
            return;
        int index = 0;
        const int column = ColumnAtX(p.x, p.y, index);
        const TMPSyntaxToken* t = Lines()->TokenListOf(p.y)->Token(index);
        if (!t || column < t->Start || column >= t->Start + t->Length)
            return;
        SetHotToken(index, p.y);
        if (OnWordInfo) {
            OnWordInfo(this, X, Y, index, p.y, true);
        } else {
            SetHint("Word: '" + std::string(Lines()->Line(p.y).substr(t->Start, t->Length)) +
                    "' \r\nStart: " + IntToStr(t->Start) + "\r\nLength: " + IntToStr(t->Length) +
                    "\r\nAs token #" + IntToStr(t->Kind));
        }
        return;
    }
    if (Shift.Empty()) {
        SetCursor(X < GutterRect(-1).Right ? crDefault : crIBeam);
        return;
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TMPCustomSyntaxMemo::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (FMiddleDrag)
        SetCursor(crIBeam);
    FMiddleDrag = false;
    FLeftDrag = false;
}

void TMPCustomSyntaxMemo::DblClickMessage(TWMMouse& Message) {
    const TShiftState shift = KeysToShiftState(WORD(Message.Keys));
    const TPoint p = PointToText(Message.XPos, Message.YPos, true);
    if (!Lines()->ValidIndex(p.y))
        return;
    TMPSynMemoRange* R = Range();
    if (shift.Contains(ssCtrl)) {
        // A line outside every section is in the whole text's, which starts at line -1.
        const TMPSynMemoSection* s = Sections()->SectionOfLine(p.y);
        const int first = s->FirstLine, last = s->LastLine;
        Sections()->Expand(first, false, false);
        R->Collapse();
        R->SetPos({0, std::clamp(first, 0, Lines()->Count() - 1)});
        R->Enlarge(last - first + 1, true, false);
        // No line follows a section that ends the text: its last line is taken to its end.
        if (!Lines()->ValidIndex(last + 1))
            R->Enlarge(Lines()->LineLength(last), false, false);
        return;
    }
    int index = 0;
    const int column = ColumnAtX(p.x, p.y, index);
    const TMPSyntaxToken* t = Lines()->TokenListOf(p.y)->Token(index);
    if (!t || column < t->Start || column >= t->Start + t->Length)
        return;
    R->Collapse();
    R->SetPos({t->Start, p.y});
    R->Enlarge(t->Length, false, false);
}

void TMPCustomSyntaxMemo::WheelMessage(TWMMouseWheel& Message) {
    if (KeysToShiftState(WORD(Message.Keys)).Contains(ssCtrl)) {
        SetHorzOffset(Message.WheelDelta > 0 ? std::max(FHorzOffset - 4, 0) : FHorzOffset + 4);
        return;
    }
    SetTopRow(MoveLines(FTopRow, Message.WheelDelta > 0 ? -1 : 1, true));
}
