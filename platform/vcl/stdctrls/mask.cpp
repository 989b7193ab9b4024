// The mask language and the mask edit's keyboard, paste and validation handling.
#include "mask.h"

#include "clipbrd.h"
#include "graphics_qt.h"

namespace {

bool IsLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0xC0 || c == 0xA8 || c == 0xB8;
}

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

char ApplyCase(char c, TEditMask::TCase mode) {
    if (mode == TEditMask::mcNone)
        return c;
    std::string s(1, c);
    return mode == TEditMask::mcUpper ? AnsiUpperCase(s)[0] : AnsiLowerCase(s)[0];
}

} // namespace

TEditMask::TEditMask(const std::string& mask) {
    // The fields after the mask: ";save;blank". A ';' escaped by '\' belongs to the mask.
    size_t end = mask.size();
    std::vector<size_t> fields;
    for (size_t i = 0; i < mask.size(); ++i) {
        if (mask[i] == '\\')
            ++i;
        else if (mask[i] == ';')
            fields.push_back(i);
    }
    if (!fields.empty()) {
        end = fields[0];
        if (fields.size() >= 2 && fields[1] + 1 < mask.size())
            FBlank = mask[fields[1] + 1];
        std::string save =
            mask.substr(fields[0] + 1, fields.size() >= 2 ? fields[1] - fields[0] - 1 : std::string::npos);
        FSaveLiterals = save != "0";
    }
    TCase mode = mcNone;
    for (size_t i = 0; i < end; ++i) {
        char c = mask[i];
        TPosition p;
        p.Case = mode;
        switch (c) {
        case '!': FLeadingBlanks = true; continue;
        case '>':
            if (i + 1 < end && mask[i + 1] == '<') {
                mode = mcNone;
                ++i;
            } else
                mode = mcUpper;
            continue;
        case '<': mode = mcLower; continue;
        case '\\':
            if (++i >= end)
                continue;
            p.Literal = mask[i];
            break;
        case 'L':
        case 'l':
            p.Kind = mkLetter;
            p.Required = c == 'L';
            break;
        case 'A':
        case 'a':
            p.Kind = mkAlnum;
            p.Required = c == 'A';
            break;
        case 'C':
        case 'c':
            p.Kind = mkAny;
            p.Required = c == 'C';
            break;
        case '0':
        case '9':
            p.Kind = mkDigit;
            p.Required = c == '0';
            break;
        case '#': p.Kind = mkSign; break;
        case ':': p.Literal = TimeSeparator; break;
        case '/': p.Literal = DateSeparator; break;
        case '_': p.Literal = ' '; break;
        default: p.Literal = c; break;
        }
        FPositions.push_back(p);
    }
}

std::string TEditMask::EmptyText() const {
    std::string s;
    for (const TPosition& p : FPositions)
        s += p.Kind == mkLiteral ? p.Literal : FBlank;
    return s;
}

bool TEditMask::Editable(int pos) const {
    return pos >= 0 && pos < int(FPositions.size()) && FPositions[size_t(pos)].Kind != mkLiteral;
}

char TEditMask::Accept(int pos, char c) const {
    if (!Editable(pos))
        return 0;
    const TPosition& p = FPositions[size_t(pos)];
    auto u = static_cast<unsigned char>(c);
    bool fits = false;
    switch (p.Kind) {
    case mkLetter: fits = IsLetter(u); break;
    case mkAlnum: fits = IsLetter(u) || IsDigit(u); break;
    case mkAny: fits = u >= 0x20; break;
    case mkDigit: fits = IsDigit(u); break;
    case mkSign: fits = IsDigit(u) || c == '+' || c == '-'; break;
    case mkLiteral: break;
    }
    return fits ? ApplyCase(c, p.Case) : 0;
}

std::string TEditMask::ToText(const std::string& editText) const {
    std::string s;
    for (size_t i = 0; i < FPositions.size() && i < editText.size(); ++i) {
        bool literal = FPositions[i].Kind == mkLiteral;
        if (literal && !FSaveLiterals)
            continue;
        s += !literal && editText[i] == FBlank ? ' ' : editText[i];
    }
    return s;
}

std::string TEditMask::FromEditText(const std::string& editText) const {
    std::string s = EmptyText();
    for (size_t i = 0; i < s.size() && i < editText.size(); ++i)
        if (Editable(int(i)) && editText[i] != FBlank && editText[i] != ' ')
            s[i] = Accept(int(i), editText[i]) ? Accept(int(i), editText[i]) : editText[i];
    return s;
}

std::string TEditMask::FromText(const std::string& text) const {
    std::string s = EmptyText();
    std::string v = text;
    if (!FSaveLiterals) {
        int places = 0;
        for (const TPosition& p : FPositions)
            places += p.Kind != mkLiteral;
        if (FLeadingBlanks && int(v.size()) < places)
            v.insert(0, size_t(places) - v.size(), ' ');
    }
    size_t j = 0;
    for (size_t i = 0; i < FPositions.size(); ++i) {
        if (FPositions[i].Kind == mkLiteral) {
            if (FSaveLiterals && j < v.size() && v[j] == FPositions[i].Literal)
                ++j;
            continue;
        }
        if (j >= v.size())
            break;
        // A short optional field: the value's separator belongs to the next literal.
        if (!FPositions[i].Required && FSaveLiterals && NextLiteral(int(i), v[j]) >= 0)
            continue;
        char c = v[j++];
        if (c != ' ')
            s[i] = Accept(int(i), c) ? Accept(int(i), c) : c;
    }
    return s;
}

int TEditMask::FirstMissing(const std::string& editText) const {
    for (size_t i = 0; i < FPositions.size(); ++i)
        if (FPositions[i].Required && (i >= editText.size() || editText[i] == FBlank || editText[i] == ' '))
            return int(i);
    return -1;
}

int TEditMask::NextEditable(int pos) const {
    for (int i = std::max(pos, 0); i < int(FPositions.size()); ++i)
        if (Editable(i))
            return i;
    return -1;
}

int TEditMask::NextLiteral(int pos, char c) const {
    for (int i = std::max(pos, 0); i < int(FPositions.size()); ++i)
        if (!Editable(i))
            return FPositions[size_t(i)].Literal == c ? i : -1;
    return -1;
}

int TEditMask::PrevEditable(int pos) const {
    for (int i = std::min(pos, int(FPositions.size())) - 1; i >= 0; --i)
        if (Editable(i))
            return i;
    return -1;
}

std::string FormatMaskText(const std::string& EditMask, const std::string& Value) {
    TEditMask m(EditMask);
    return m.ToText(m.FromText(Value));
}

// ---- TCustomMaskEdit ---------------------------------------------------------------------------------

void TCustomMaskEdit::SetEditMask(const std::string& v) {
    if (v == FMaskText)
        return;
    std::string text = GetText();
    FMaskText = v;
    FMask = TEditMask(v);
    SetMaxLength(int(FMask.Positions().size()));
    Show(IsMasked() ? FMask.FromText(text) : text, 0);
}

std::string TCustomMaskEdit::EditText() const { return FromQString(EditorText()); }

void TCustomMaskEdit::SetEditText(const std::string& v) { Show(IsMasked() ? FMask.FromEditText(v) : v, 0); }

std::string TCustomMaskEdit::GetText() const {
    std::string edit = EditText();
    return IsMasked() ? FMask.ToText(edit) : edit;
}

void TCustomMaskEdit::CMTextChanged(TMessage& Message) {
    if (!IsMasked()) {
        TCustomEdit::CMTextChanged(Message);
        return;
    }
    QString s = ToQString(FMask.FromText(TControl::GetText()));
    if (s != EditorText())
        SetEditorText(s);
    TWinControl::CMTextChanged(Message);
}

void TCustomMaskEdit::Show(const std::string& editText, int caret) {
    QString s = ToQString(editText);
    if (s != EditorText())
        SetEditorText(s);
    SetSel(caret, caret);
}

void TCustomMaskEdit::ValidateEdit() {
    if (!IsMasked() || !Modified())
        return;
    int missing = FMask.FirstMissing(EditText());
    if (missing < 0)
        return;
    SetSel(missing, missing);
    ValidateError();
}

void TCustomMaskEdit::ValidateError() {
    throw EDBEditError("Invalid input value.  Use escape key to abandon changes");
}

void TCustomMaskEdit::CMExit(TMessage& Message) {
    // Leaving with a required position blank keeps the focus here and reports the error.
    try {
        ValidateEdit();
    } catch (...) {
        SetFocus();
        throw;
    }
    TCustomEdit::CMExit(Message);
}

void TCustomMaskEdit::BlankRange(int from, int to) {
    std::string s = EditText();
    for (int i = from; i < to && i < int(s.size()); ++i)
        if (FMask.Editable(i))
            s[size_t(i)] = FMask.Blank();
    Show(s, from);
    SetModified(true);
}

void TCustomMaskEdit::Type(const std::string& chars) {
    int start, end;
    GetSel(start, end);
    if (end > start)
        BlankRange(start, end);
    std::string s = EditText();
    int pos = start;
    bool changed = false;
    for (char c : chars) {
        if (pos < int(s.size()) && !FMask.Editable(pos) && s[size_t(pos)] == c) {
            ++pos;
            continue;
        }
        int q = FMask.NextEditable(pos);
        if (char put = q < 0 ? 0 : FMask.Accept(q, c)) {
            s[size_t(q)] = put;
            changed = true;
            pos = q + 1;
            continue;
        }
        // A separator typed inside a field closes the field; one typed just after the caret
        // skipped over it is already there.
        int literal = FMask.NextLiteral(pos, c);
        if (literal >= 0)
            pos = literal + 1;
        else if (pos == 0 || FMask.Editable(pos - 1) || s[size_t(pos - 1)] != c)
            break;
    }
    int caret = FMask.NextEditable(pos);
    Show(s, caret >= 0 ? caret : pos);
    if (changed)
        SetModified(true);
}

void TCustomMaskEdit::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomEdit::KeyDown(Key, Shift);
    if (!IsMasked() || Key == 0 || ReadOnly())
        return;
    int start, end;
    GetSel(start, end);
    if (Key == VK_DELETE && !Shift.Contains(ssShift)) {
        BlankRange(start, end > start ? end : start + 1);
        Key = 0;
    } else if (Key == VK_BACK) {
        if (end > start)
            BlankRange(start, end);
        else if (int q = FMask.PrevEditable(start); q >= 0)
            BlankRange(q, q + 1);
        Key = 0;
    }
}

// Every change of a masked text goes through the mask: of the line edit's own keys only those
// that move the caret or select reach it (its word deletions, Ctrl+K and undo would edit behind
// the mask).
bool TCustomMaskEdit::EditorTakesKey(WORD Key, TShiftState Shift) {
    return !IsMasked() || (Key >= VK_PRIOR && Key <= VK_DOWN) || (Key == 'A' && Shift == TShiftState{ssCtrl});
}

void TCustomMaskEdit::KeyPress(char& Key) {
    TCustomEdit::KeyPress(Key);
    if (!IsMasked() || Key == 0)
        return;
    auto u = static_cast<unsigned char>(Key);
    if (u < 0x20)
        return;
    if (!ReadOnly())
        Type(std::string(1, Key));
    Key = 0;
}

void TCustomMaskEdit::Dispatch(TMessage& Message) {
    if (IsMasked() && !ReadOnly()) {
        int start, end;
        switch (Message.Msg) {
        case WM_PASTE: Type(Clipboard()->AsText()); return;
        case WM_CUT:
            GetSel(start, end);
            if (end > start) {
                Clipboard()->SetAsText(EditText().substr(size_t(start), size_t(end - start)));
                BlankRange(start, end);
            }
            return;
        case WM_CLEAR:
            GetSel(start, end);
            BlankRange(start, end);
            return;
        default: break;
        }
    }
    TCustomEdit::Dispatch(Message);
}
