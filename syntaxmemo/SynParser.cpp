// Script editor, text model: the per-line tokenizer (standard and blank-separated scanners) and the
// two token-list edits the painter makes (merging split runs, marking the selection).
#include "SynMemoModel.h"

namespace {

using u8 = unsigned char;

bool IsDigit(u8 b) { return b >= '0' && b <= '9'; }
bool IsHexDigit(u8 b) { return IsDigit(b) || (b >= 'A' && b <= 'F') || (b >= 'a' && b <= 'f'); }

// Letters and digits of the Windows-1251 code page.
bool IsAlnum1251(u8 b) {
    if (b < 128)
        return IsDigit(b) || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
    if (b >= 0xC0)
        return true;
    static const u8 letters[] = {0x80, 0x81, 0x83, 0x8A, 0x8C, 0x8D, 0x8E, 0x8F, 0x90, 0x9A,
                                 0x9C, 0x9D, 0x9E, 0x9F, 0xA1, 0xA2, 0xA3, 0xA5, 0xA8, 0xAA,
                                 0xAF, 0xB2, 0xB3, 0xB4, 0xB8, 0xBA, 0xBC, 0xBD, 0xBE, 0xBF};
    for (u8 l : letters)
        if (l == b)
            return true;
    return false;
}

// 3 quote, 0 blank, 1 punctuation, 2 word.
int CharClass(u8 b, char quote) {
    if (b == u8(quote))
        return 3;
    if (b <= 32)
        return 0;
    if ((b >= 33 && b <= 47) || (b >= 58 && b <= 64))
        return 1;
    return 2;
}

bool At(std::string_view t, size_t i, const std::string& lit) {
    return !lit.empty() && t.compare(i, lit.size(), lit) == 0;
}

bool EndsWith(std::string_view run, const std::string& lit) {
    return !lit.empty() && run.size() >= lit.size() && run.substr(run.size() - lit.size()) == lit;
}

bool IsOpenComment(int kind) { return kind == tokMLCommentBeg || kind == tokELCommentBeg; }

} // namespace

void TMPSyntaxParser::Assign(const TMPSyntaxParser& Source) {
    FTokens = Source.FTokens;
    Section = Source.Section;
    Row = Source.Row;
    Dirty = Source.Dirty;
}

const TMPSyntaxToken* TMPSyntaxParser::Token(int Index) const {
    return Index >= 0 && Index < Count() ? &FTokens[size_t(Index)] : nullptr;
}

void TMPSyntaxParser::AddToken(int Column, int Length, TToken Kind) {
    if (Column < 1 || Length < 0 || Column - 1 > 0xFFFF)
        return;
    TMPSyntaxToken t;
    t.Start = std::uint16_t(Column - 1);
    t.Length = std::uint16_t(std::min(Length, 0xFFFF));
    t.Kind = Kind;
    FTokens.push_back(t);
}

int TMPSyntaxParser::Tokenize(std::string_view Line, int LineIndex, const TMPSyntaxAttributes* Attrs,
                              int EntryState) {
    Clear();
    if (Line.empty() || !Attrs)
        return EntryState;
    // Every run must end at a blank: a line ending in a printable byte gets one more space.
    thread_local std::string text;
    text.assign(Line);
    if (u8(text.back()) >= 32)
        text.push_back(' ');
    return Attrs->Has(sswBLSeparated) ? ScanBlankSeparated(text, LineIndex, *Attrs, EntryState)
                                      : ScanStandard(text, LineIndex, *Attrs, EntryState);
}

int TMPSyntaxParser::ScanStandard(std::string_view t, int LineIndex, const TMPSyntaxAttributes& A,
                                  int state) {
    const size_t n = t.size();
    size_t i = 0;
    size_t wordStart = 0, wordLen = 0;
    std::string word;
    auto emit = [&] {
        if (!wordLen)
            return;
        TToken kind = tokText;
        if (A.OnParseWord) {
            word.assign(t.substr(wordStart, wordLen));
            A.OnParseWord(this, word, int(wordStart) + 1, LineIndex, kind);
        }
        AddToken(int(wordStart) + 1, int(wordLen), kind);
        wordLen = 0;
    };
    // Runs of a comment from i; returns at its closer (state 9 or 11) or at the end of the line.
    auto commentScan = [&] {
        size_t runStart = n;
        while (i < n) {
            if (u8(t[i]) > 32) {
                if (runStart == n)
                    runStart = i;
                ++i;
                const std::string_view run = t.substr(runStart, i - runStart);
                if ((state == tokMLCommentBeg && EndsWith(run, A.MLCommentEnd)) ||
                    (state == tokELCommentBeg && EndsWith(run, A.ELCommentEnd))) {
                    state = state == tokMLCommentBeg ? tokMLCommentEnd : tokELCommentEnd;
                    AddToken(int(runStart) + 1, int(i - runStart), TToken(state));
                    return;
                }
            } else {
                if (runStart != n)
                    AddToken(int(runStart) + 1, int(i - runStart), TToken(state));
                runStart = n;
                ++i;
            }
        }
    };
    while (i < n) {
        const u8 b = u8(t[i]);
        if (state == tokILComment || IsOpenComment(state)) {
            commentScan();
            continue;
        }
        int opened = 0;
        if (A.Has(sswHasELComment) && At(t, i, A.ELCommentBeg))
            opened = tokELCommentBeg;
        else if (A.Has(sswHasMLComment) && At(t, i, A.MLCommentBeg))
            opened = tokMLCommentBeg;
        else if (A.Has(sswHasILComment) && At(t, i, A.ILComment))
            opened = tokILComment;
        if (opened) {
            // A word right before the opener is a token of its own, never merged across the comment.
            emit();
            state = opened;
            commentScan();
            continue;
        }
        if (b == u8(A.StringQuote)) {
            emit();
            size_t runStart = i;
            bool open = true;
            ++i;
            bool closed = false;
            while (i < n && !closed) {
                const u8 c = u8(t[i]);
                if (c > 32 && c < 128 && u8(t[i - 1]) <= 32) {
                    runStart = i;
                    open = true;
                }
                if (c == u8(A.StringQuote)) {
                    ++i;
                    AddToken(int(runStart) + 1, int(i - runStart), tokStringEnd);
                    closed = true;
                } else {
                    if ((c <= 32 || c >= 128) && open) {
                        AddToken(int(runStart) + 1, int(i - runStart), tokString);
                        open = false;
                    }
                    ++i;
                }
            }
            continue;
        }
        if (A.Has(sswHasHexPrefix) && At(t, i, A.HexPrefix)) {
            emit();
            const size_t s = i++;
            while (i < n && IsHexDigit(u8(t[i])))
                ++i;
            AddToken(int(s) + 1, int(i - s), tokHexValue);
            continue;
        }
        if (IsDigit(b) && (i == 0 || !IsAlnum1251(u8(t[i - 1])))) {
            emit();
            const size_t s = i++;
            TToken kind = tokInteger;
            while (i < n) {
                if (t[i] == A.DecimalPoint && kind == tokInteger)
                    kind = tokFloat;
                else if (!IsDigit(u8(t[i])))
                    break;
                ++i;
            }
            AddToken(int(s) + 1, int(i - s), kind);
            continue;
        }
        if (At(t, i, A.RowLinkPrefix)) {
            emit();
            size_t e = t.find(' ', i);
            if (e == std::string_view::npos)
                e = n;
            AddToken(int(i) + 1, int(e - i), tokReserved);
            i = e;
            continue;
        }
        TToken one = 0;
        switch (b) {
        case ';': one = tokEndLine; break;
        case '(': one = tokParenBeg; break;
        case ')': one = tokParenEnd; break;
        case '[': one = tokBrackedBeg; break;
        case ']': one = tokBracketEnd; break;
        case '.': one = tokPoint; break;
        case ',': one = tokComma; break;
        default:
            if (A.Has(sswHasReference) && b == u8(A.Reference))
                one = tokReference;
            else if (A.Has(sswHasDereference) && b == u8(A.Dereference))
                one = tokDereference;
        }
        if (one) {
            emit();
            AddToken(int(i) + 1, 1, one);
            state = one;
            ++i;
            continue;
        }
        state = tokText;
        if (b > 32) {
            if (!wordLen) {
                wordStart = i;
                wordLen = 1;
            } else if (CharClass(b, A.StringQuote) == CharClass(u8(t[i - 1]), A.StringQuote)) {
                ++wordLen;
            } else {
                emit();
                wordStart = i;
                wordLen = 1;
            }
        } else {
            emit();
        }
        ++i;
    }
    emit();
    return state;
}

int TMPSyntaxParser::ScanBlankSeparated(std::string_view t, int LineIndex, const TMPSyntaxAttributes& A,
                                        int state) {
    const size_t n = t.size();
    int prev = IsOpenComment(state) ? state : tokText;
    bool inString = false, inLineComment = false;
    size_t i = 0;
    while (i < n) {
        if (u8(t[i]) <= 32) {
            ++i;
            continue;
        }
        const size_t s = i;
        while (i < n && u8(t[i]) > 32)
            ++i;
        const std::string_view run = t.substr(s, i - s);
        TToken kind = tokText;
        if (inLineComment) {
            kind = tokILComment;
        } else if (IsOpenComment(prev)) {
            kind = TToken(prev);
            if (prev == tokMLCommentBeg && EndsWith(run, A.MLCommentEnd))
                kind = tokMLCommentEnd;
            else if (prev == tokELCommentBeg && EndsWith(run, A.ELCommentEnd))
                kind = tokELCommentEnd;
        } else if (inString) {
            kind = tokStringEnd;
            inString = run.back() != A.StringQuote;
        } else if (A.Has(sswHasELComment) && At(run, 0, A.ELCommentBeg)) {
            kind = EndsWith(run.substr(A.ELCommentBeg.size()), A.ELCommentEnd) ? tokELCommentEnd
                                                                               : tokELCommentBeg;
        } else if (A.Has(sswHasMLComment) && At(run, 0, A.MLCommentBeg)) {
            kind = EndsWith(run.substr(A.MLCommentBeg.size()), A.MLCommentEnd) ? tokMLCommentEnd
                                                                               : tokMLCommentBeg;
        } else if (A.Has(sswHasILComment) && At(run, 0, A.ILComment)) {
            kind = tokILComment;
            inLineComment = true;
        } else if (run[0] == A.StringQuote) {
            kind = tokStringEnd;
            inString = run.size() < 2 || run.back() != A.StringQuote;
        } else if (A.Has(sswHasHexPrefix) && At(run, 0, A.HexPrefix) && run.size() > A.HexPrefix.size()) {
            kind = tokHexValue;
            for (size_t k = A.HexPrefix.size(); k < run.size(); ++k)
                if (!IsHexDigit(u8(run[k])))
                    kind = tokText;
        }
        if (kind == tokText) {
            int points = 0;
            bool digits = true;
            for (char c : run) {
                if (c == A.DecimalPoint)
                    ++points;
                else if (!IsDigit(u8(c)))
                    digits = false;
            }
            if (digits && points <= 1 && run.size() > size_t(points))
                kind = points ? tokFloat : tokInteger;
        }
        if (kind == tokText && A.OnParseWord)
            A.OnParseWord(this, std::string(run), int(s) + 1, LineIndex, kind);
        AddToken(int(s) + 1, int(run.size()), kind);
        prev = kind;
    }
    return IsOpenComment(prev) ? prev : tokText;
}

void TMPSyntaxParser::MergeRuns() {
    for (size_t i = 0; i + 1 < FTokens.size(); ++i) {
        TToken own = 0, end = 0;
        switch (FTokens[i].Kind) {
        case tokString:
            own = tokString;
            end = tokStringEnd;
            break;
        case tokILComment: own = tokILComment; break;
        case tokMLCommentBeg:
            own = tokMLCommentBeg;
            end = tokMLCommentEnd;
            break;
        case tokELCommentBeg:
            own = tokELCommentBeg;
            end = tokELCommentEnd;
            break;
        default: continue;
        }
        // Absorbing stops after the piece that closes the run.
        while (i + 1 < FTokens.size() && FTokens[i].Kind == own &&
               (FTokens[i + 1].Kind == own || (end && FTokens[i + 1].Kind == end))) {
            const TMPSyntaxToken& a = FTokens[i + 1];
            FTokens[i].Length = std::uint16_t(a.Start + a.Length - FTokens[i].Start);
            FTokens[i].Kind = a.Kind;
            FTokens.erase(FTokens.begin() + std::ptrdiff_t(i + 1));
        }
    }
}

void TMPSyntaxParser::SplitAt(int Column) {
    for (size_t i = 0; i < FTokens.size(); ++i) {
        TMPSyntaxToken& t = FTokens[i];
        if (Column > t.Start && Column < t.Start + t.Length) {
            TMPSyntaxToken second = t;
            second.Start = std::uint16_t(Column);
            second.Length = std::uint16_t(t.Start + t.Length - Column);
            t.Length = std::uint16_t(Column - t.Start);
            FTokens.insert(FTokens.begin() + std::ptrdiff_t(i + 1), second);
            return;
        }
    }
}

void TMPSyntaxParser::MarkSelection(int From, int To) {
    SplitAt(From);
    SplitAt(To);
    for (TMPSyntaxToken& t : FTokens) {
        if (t.Start >= From && t.Start <= To - 1)
            t.Flags |= 1;
        else
            t.Flags &= std::uint8_t(~1);
    }
}
