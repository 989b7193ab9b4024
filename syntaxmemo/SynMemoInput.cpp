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

void TMPCustomSyntaxMemo::KeyDown(WORD& Key, TShiftState Shift) {
    TMPSynMemoRange* R = Range();
    const bool shift = Shift.Contains(ssShift), ctrl = Shift.Contains(ssCtrl);
    const bool onlyCtrl = Shift == TShiftState{ssCtrl};
    const bool readOnly = Options().Contains(smoReadOnly);
    const TMPPos caret = R->Caret();
    const int page = FVisibleRows - 1;
    int c = 0, l = 0;
    switch (Key) {
    case VK_CONTROL:
        if (onlyCtrl && !FCtrlHover) {
            FCtrlHover = true;
            SetCursor(crHandPoint);
            SetHint("");
            SetHotToken(-1, -1);
            SetShowHint(true);
        }
        return;
    case VK_RIGHT:
    case VK_LEFT: {
        const bool right = Key == VK_RIGHT;
        if (!shift && !ctrl) {
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
        return;
    }
    case VK_DOWN:
    case VK_UP: {
        const int step = Key == VK_DOWN ? 1 : -1;
        if (!shift && !ctrl) {
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
        return;
    }
    case VK_HOME:
        if (!shift) {
            R->Collapse();
            R->SetPos({0, ctrl ? 0 : caret.Y});
        } else {
            if (ctrl)
                R->Enlarge(-caret.Y, true, false);
            R->Enlarge(-R->GetPosX(), false, false);
        }
        return;
    case VK_END:
        if (!shift) {
            R->Collapse();
            const int y = ctrl ? Lines()->Count() - 1 : caret.Y;
            R->SetPos({Lines()->LineLength(y), y});
        } else {
            if (ctrl)
                R->Enlarge(Lines()->Count() - 1 - caret.Y, true, false);
            R->Enlarge(Lines()->LineLength(R->GetPosY()) - R->GetPosX(), false, false);
        }
        return;
    case VK_NEXT:
    case VK_PRIOR: {
        const bool down = Key == VK_NEXT;
        if (!shift) {
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
        return;
    }
    case VK_DELETE:
        if (!readOnly)
            R->Delete();
        return;
    case VK_TAB:
        if (!readOnly)
            R->SetText(std::string(size_t(4 - caret.X % 4), ' '));
        return;
    case VK_BACK:
        if (readOnly)
            return;
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
        return;
    case VK_RETURN:
        if (!readOnly)
            R->SetText("\r\n");
        return;
    case VK_INSERT:
        if (!readOnly) {
            TMPSynMemoOptions o = Options();
            if (o.Contains(smoOverwrite))
                o >> smoOverwrite;
            else
                o << smoOverwrite;
            SetOptions(o);
        }
        return;
    case 'C':
        if (ctrl) {
            R->CopyToClipboard();
            return;
        }
        break;
    case 'X':
        if (onlyCtrl) {
            R->CutToClipBoard();
            return;
        }
        break;
    case 'V':
        if (onlyCtrl) {
            if (!readOnly)
                R->PasteFromClipboard();
            return;
        }
        break;
    case 'Z':
        if (ctrl) {
            if (R->CanUndo())
                R->DoUndo();
            return;
        }
        break;
    case VK_ADD:
    case VK_SUBTRACT:
        if (ctrl) {
            if (Key == VK_ADD)
                R->ExpandSection(shift);
            else
                R->CollapseSection(shift);
            return;
        }
        break;
    case VK_F5: R->CreateSection(); return;
    case VK_F6: R->ExplodeSection(ctrl); return;
    default:
        if (const int d = DigitOf(Key); d >= 0 && ctrl) {
            if (shift)
                Bookmarks()->SetBookMarks(d, caret.Y);
            else if (Bookmarks()->GetBookMarks(d) >= 0)
                GotoLine(0, Bookmarks()->GetBookMarks(d));
            return;
        }
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TMPCustomSyntaxMemo::KeyUp(WORD& Key, TShiftState Shift) {
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
        const TMPSynMemoSection* s = Sections()->SectionOfLine(p.y);
        if (s == Sections()->EntireSection())
            return;
        const int first = s->FirstLine, last = s->LastLine;
        Sections()->Expand(first, false, false);
        R->Collapse();
        R->SetPos({0, std::clamp(first, 0, Lines()->Count() - 1)});
        R->Enlarge(last - first + 1, true, false);
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
