// Script editor, text model: the line store. Every edit runs in an update bracket whose closing
// step recalculates sections and retokenizes the changed lines (with the block-comment cascade).
#include <algorithm>
#include <cstring>

#include "SynMemoModel.h"

namespace {
constexpr size_t TokenCacheSlots = 160; // more than the rows of any screen
}

int TMPSynMemoStrings::UntitledCounter = 1;

void TMPSynMemoStrings::LineRec::Free() {
    if (Owned)
        delete[] Text;
    Text = nullptr;
    Owned = 0;
}

TMPSynMemoStrings::LineRec& TMPSynMemoStrings::LineRec::operator=(LineRec&& o) noexcept {
    if (this != &o) {
        Free();
        Text = o.Text;
        Length = o.Length;
        First = o.First;
        Last = o.Last;
        Entry = o.Entry;
        Dirty = o.Dirty;
        Owned = o.Owned;
        o.Text = nullptr;
        o.Owned = 0;
        o.Length = 0;
    }
    return *this;
}

void TMPSynMemoStrings::LineRec::Set(std::string_view s) {
    // s may point into the old text: copy before the old block goes.
    char* text = s.empty() ? nullptr : new char[s.size()];
    if (!s.empty())
        std::memcpy(text, s.data(), s.size());
    Free();
    Text = text;
    Owned = text != nullptr;
    Length = std::uint32_t(s.size());
}

void TMPSynMemoStrings::LineRec::Borrow(const char* p, std::uint32_t n) {
    Free();
    Text = n ? p : nullptr;
    Length = n;
}

void TMPSynMemoStrings::LineRec::DropPrefix(std::uint32_t n) {
    n = std::min(n, Length);
    if (Owned) {
        Set(View().substr(n));
    } else {
        Text = Length > n ? Text + n : nullptr;
        Length -= n;
    }
}

TMPSynMemoStrings::TMPSynMemoStrings(TMPSynMemoCore* AOwner) : FOwner(AOwner) {
    FFileName = "Untitled" + IntToStr(UntitledCounter++) + ".txt";
    FCache.resize(TokenCacheSlots);
}

TMPSynMemoStrings::~TMPSynMemoStrings() = default;

std::string_view TMPSynMemoStrings::Line(int Index) const {
    return ValidIndex(Index) ? FLines[size_t(Index)].View() : std::string_view();
}

std::string TMPSynMemoStrings::Get(int Index) const { return std::string(Line(Index)); }

TObject* TMPSynMemoStrings::GetObject(int Index) const { return TokenListOf(Index); }

void TMPSynMemoStrings::MarkDirty(int Index) {
    FLines[size_t(Index)].Dirty = 1;
    FDirtyLo = FDirtyLo < 0 ? Index : std::min(FDirtyLo, Index);
    FDirtyHi = std::max(FDirtyHi, Index);
}

void TMPSynMemoStrings::DropCache(int Index) {
    for (CacheSlot& s : FCache)
        if (Index < 0 || s.Line == Index)
            s.Line = -1;
}

void TMPSynMemoStrings::Put(int Index, const std::string& S) {
    if (!ValidIndex(Index))
        return;
    if (FRaw) {
        FLines[size_t(Index)].Set(S);
        return;
    }
    WithinUpdate(this, [&] {
        FLines[size_t(Index)].Set(S);
        MarkDirty(Index);
        DropCache(Index);
        Pending |= pwTextChanged;
    });
}

void TMPSynMemoStrings::Insert(int Index, const std::string& S) {
    if (Index < 0 || Index > GetCount())
        return;
    if (FRaw) {
        FLines.insert(FLines.begin() + Index, LineRec())->Set(S);
        return;
    }
    WithinUpdate(this, [&] {
        RenumberRowLinks(Index, true);
        FLines.insert(FLines.begin() + Index, LineRec())->Set(S);
        if (FDirtyLo >= Index)
            ++FDirtyLo;
        if (FDirtyHi >= Index)
            ++FDirtyHi;
        MarkDirty(Index);
        DropCache(-1);
        Pending |= pwTextChanged;
        if (!(Pending & pwSuspended))
            FOwner->Sections()->LineInserted(Index);
        FOwner->Bookmarks()->LineInserted(Index);
        FOwner->InvalidateFrom(Index);
    });
}

void TMPSynMemoStrings::Delete(int Index) {
    if (!ValidIndex(Index))
        return;
    if (FRaw) {
        FLines.erase(FLines.begin() + Index);
        return;
    }
    WithinUpdate(this, [&] {
        RenumberRowLinks(Index, false);
        if (!(Pending & pwSuspended))
            FOwner->Sections()->LineDeleted(Index);
        FOwner->Bookmarks()->LineDeleted(Index);
        FLines.erase(FLines.begin() + Index);
        if (FDirtyHi > Index)
            --FDirtyHi;
        if (FDirtyLo > Index)
            --FDirtyLo;
        if (FDirtyHi >= GetCount())
            FDirtyHi = GetCount() - 1;
        if (FDirtyLo > FDirtyHi)
            FDirtyLo = FDirtyHi = -1;
        if (Index < GetCount())
            MarkDirty(Index);
        DropCache(-1);
        Pending |= pwTextChanged;
        FOwner->InvalidateFrom(Index);
    });
}

void TMPSynMemoStrings::Clear() {
    WithinUpdate(this, [&] {
        FRaw = true;
        FLines.clear();
        FArena.clear();
        FDirtyLo = FDirtyHi = -1;
        DropCache(-1);
        FOwner->Sections()->ParseMarkers();
        FRaw = false;
        FOwner->ResetView();
        Pending |= pwRecalcSections | pwTokenizeAll;
        SetModified(true);
    });
}

void TMPSynMemoStrings::AssignRaw(std::vector<std::string>&& Lines) {
    FLines.clear();
    FLines.shrink_to_fit();
    FArena.clear();
    size_t total = 0;
    for (const std::string& l : Lines)
        total += l.size();
    char* block = total ? new char[total] : nullptr;
    if (block)
        FArena.emplace_back(block);
    FLines.resize(Lines.size());
    for (size_t i = 0; i < Lines.size(); ++i) {
        if (Lines[i].empty())
            continue;
        std::memcpy(block, Lines[i].data(), Lines[i].size());
        FLines[i].Borrow(block, std::uint32_t(Lines[i].size()));
        block += Lines[i].size();
        std::string().swap(Lines[i]);
    }
    FDirtyLo = FDirtyHi = -1;
    DropCache(-1);
}

void TMPSynMemoStrings::LoadFromStream(TStream* Stream) {
    BeginUpdate();
    auto cleanup = [&] {
        FRaw = false;
        FOwner->Sections()->ParseMarkers();
        FOwner->InvalidateAll();
        Pending |= pwRecalcSections | pwTokenizeAll;
        FOwner->ResetView();
        EndUpdate();
    };
    try {
        FRaw = true;
        std::string data(size_t(Stream->Size() - Stream->Position()), '\0');
        data.resize(size_t(Stream->Read(data.data(), int(data.size()))));
        // Lines end at CR LF, LF or CR; a final line end adds no empty line.
        std::vector<std::string> lines;
        size_t p = 0;
        while (p < data.size()) {
            size_t e = data.find_first_of("\r\n", p);
            if (e == std::string::npos) {
                lines.emplace_back(data, p);
                break;
            }
            lines.emplace_back(data, p, e - p);
            p = e + 1;
            if (data[e] == '\r' && p < data.size() && data[p] == '\n')
                ++p;
        }
        std::string().swap(data);
        AssignRaw(std::move(lines));
    } catch (...) {
        cleanup();
        throw;
    }
    cleanup();
}

void TMPSynMemoStrings::LoadFromFile(const std::string& FileName) {
    TStrings::LoadFromFile(FileName);
    SetFileName(FileName);
    FUntitled = false;
    SetModified(false);
}

namespace {
// The lines as they go to a file: with fold markers when the owner asks for them.
void FileCopy(const TMPSynMemoStrings* S, TMPSynMemoCore* Owner, TStringList& Copy) {
    std::vector<std::string> lines(size_t(S->Count()));
    for (int i = 0; i < S->Count(); ++i)
        lines[size_t(i)] = S->Get(i);
    Copy.SetLines(lines);
    if (Owner->Options().Contains(smoWriteMarkersOnSave))
        Owner->Sections()->WriteMarkers(&Copy);
}
} // namespace

void TMPSynMemoStrings::SaveToStream(TStream* Stream) const {
    TStringList copy;
    FileCopy(this, FOwner, copy);
    copy.SaveToStream(Stream);
    const_cast<TMPSynMemoStrings*>(this)->SetModified(false);
}

void TMPSynMemoStrings::SaveToFile(const std::string& FileName) {
    TStringList copy;
    FileCopy(this, FOwner, copy);
    copy.SaveToFile(FileName);
    SetFileName(FileName);
    FUntitled = false;
    SetModified(false);
}

void TMPSynMemoStrings::New() {
    Clear();
    FOwner->ResetView();
    FFileName = "Untitled" + IntToStr(UntitledCounter++) + ".txt";
    FUntitled = true;
    Pending = 0;
    FOwner->Changed(TChangedItems{ciText});
}

void TMPSynMemoStrings::SetFileName(const std::string& Name) {
    FFileName = Name;
    FOwner->FileNameChanged();
}

void TMPSynMemoStrings::SetModified(bool Value) {
    if (Value == FModified)
        return;
    FModified = Value;
    FOwner->Changed(TChangedItems{ciText});
}

void TMPSynMemoStrings::PutQuiet(int Index, std::string_view S) {
    if (!ValidIndex(Index))
        return;
    FLines[size_t(Index)].Set(S);
    DropCache(Index);
    FOwner->InvalidateLine(Index);
}

void TMPSynMemoStrings::SetUpdateState(bool Updating) {
    if (Updating) {
        ++FUpdateDepth;
        FOwner->BeginUpdateView();
        Pending &= pwSuspended;
        FOwner->Changed(TChangedItems());
        return;
    }
    // The closing work runs while the bracket still counts as open, so its notices gather
    // into the one change raised at the end.
    const std::uint8_t work = Pending;
    if (work & (pwTextChanged | pwSectionsChanged))
        SetModified(true);
    if (work & pwRecalcSections)
        FOwner->Sections()->Recalculate();
    if (work & (pwTextChanged | pwTokenizeAll))
        Retokenize(work & pwTokenizeAll);
    TChangedItems kinds;
    if (work & pwTextChanged)
        kinds << ciText;
    if (work & pwSectionsChanged)
        kinds << ciSections;
    --FUpdateDepth;
    FOwner->EndUpdateView();
    FOwner->FlushChanges(kinds);
}

int TMPSynMemoStrings::EntryState(int Index) const {
    if (Index <= 0)
        return tokText;
    const std::uint8_t last = FLines[size_t(Index) - 1].Last;
    return last == tokMLCommentBeg || last == tokELCommentBeg ? int(last) : int(tokText);
}

bool TMPSynMemoStrings::TokenizeLine(int Index, bool Cascade) {
    if (!ValidIndex(Index))
        return false;
    TMPSyntaxParser* target = nullptr;
    for (CacheSlot& s : FCache)
        if (s.Line == Index && s.Parser)
            target = s.Parser.get();
    thread_local TMPSyntaxParser scratch;
    if (!target)
        target = &scratch;
    LineRec& rec = FLines[size_t(Index)];
    const int entry = EntryState(Index);
    target->Tokenize(rec.View(), Index, FOwner->SyntaxAttributes(), entry);
    rec.First = target->Count() ? std::uint8_t(target->FirstKind()) : 0;
    rec.Last = target->Count() ? std::uint8_t(target->LastKind()) : 0;
    rec.Dirty = 0;
    rec.Entry = std::uint8_t(entry);
    if (!Cascade || Index + 1 >= GetCount())
        return false;
    // The line below needs another pass when the state it starts in is no longer the one it was
    // tokenized with (this also catches the line that closed a comment which is gone now).
    return EntryState(Index + 1) != FLines[size_t(Index) + 1].Entry;
}

void TMPSynMemoStrings::Retokenize(bool All) {
    bool carry = false;
    const int n = GetCount();
    int i = All ? 0 : FDirtyLo;
    if (i < 0)
        i = n;
    for (; i < n; ++i) {
        LineRec& rec = FLines[size_t(i)];
        if (All || rec.Dirty) {
            carry = TokenizeLine(i, !All);
            FOwner->InvalidateLine(i);
        } else if (carry && rec.First) {
            carry = TokenizeLine(i, true);
            FOwner->InvalidateLine(i);
        } else if (!carry && i > FDirtyHi) {
            break;
        }
    }
    FDirtyLo = FDirtyHi = -1;
    Pending &= std::uint8_t(~(pwTextChanged | pwTokenizeAll));
}

TMPSyntaxParser* TMPSynMemoStrings::TokenListOf(int Index) const {
    if (!ValidIndex(Index))
        return nullptr;
    // Painting asks for the same line several times in a row.
    if (CacheSlot& last = FCache[FLastSlot]; last.Line == Index && last.Parser) {
        last.Stamp = ++FStamp;
        return last.Parser.get();
    }
    CacheSlot* victim = &FCache[0];
    for (CacheSlot& s : FCache) {
        if (s.Line == Index && s.Parser) {
            s.Stamp = ++FStamp;
            FLastSlot = size_t(&s - FCache.data());
            return s.Parser.get();
        }
        if (s.Line < 0 || s.Stamp < victim->Stamp)
            victim = &s;
        if (victim->Line < 0)
            break;
    }
    if (!victim->Parser)
        victim->Parser = std::make_unique<TMPSyntaxParser>();
    victim->Line = Index;
    victim->Stamp = ++FStamp;
    FLastSlot = size_t(victim - FCache.data());
    TMPSyntaxParser* p = victim->Parser.get();
    p->Tokenize(FLines[size_t(Index)].View(), Index, FOwner->SyntaxAttributes(), EntryState(Index));
    p->Section = FOwner->Sections()->SectionOfLine(Index);
    p->Row = FOwner->Sections()->VisibleIndexOf(Index);
    return p;
}

void TMPSynMemoStrings::RenumberRowLinks(int Index, bool Inserted) {
    if (!FOwner->AutoRowLink || FLines.empty())
        return;
    const std::string& prefix = FOwner->SyntaxAttributes()->RowLinkPrefix;
    if (prefix.empty())
        return;
    for (int i = 0; i < GetCount(); ++i) {
        const std::string_view line = FLines[size_t(i)].View();
        if (line.find(prefix) == std::string_view::npos)
            continue;
        const TMPSyntaxParser* tokens = TokenListOf(i);
        const TMPSyntaxToken* link = nullptr;
        for (const TMPSyntaxToken& t : tokens->Tokens())
            if (t.Kind == tokReserved) {
                link = &t;
                break;
            }
        if (!link || link->Start + link->Length > int(line.size()))
            continue;
        const std::string text = Trim(line.substr(link->Start, link->Length));
        int number = 0;
        if (text.size() < prefix.size() || !TryStrToInt(text.substr(prefix.size()), number))
            continue;
        if (Inserted && number > Index)
            ++number;
        else if (!Inserted && number > Index + 1)
            --number;
        else
            continue;
        std::string changed(line.substr(0, link->Start));
        changed += prefix + IntToStr(number);
        changed += line.substr(size_t(link->Start) + link->Length);
        FLines[size_t(i)].Set(changed);
        MarkDirty(i);
        DropCache(i);
    }
}

void TMPSynMemoStrings::PositionOfOffset(int Offset, int& Column, int& LineIndex) const {
    Column = 0;
    LineIndex = 0;
    if (FLines.empty())
        return;
    int left = std::max(Offset, 0);
    for (int i = 0; i < GetCount(); ++i) {
        const int len = int(FLines[size_t(i)].Length);
        if (len + 2 > left) {
            Column = left;
            LineIndex = i;
            return;
        }
        left -= len + 2;
    }
    LineIndex = GetCount() - 1;
    Column = int(FLines.back().Length);
}

int TMPSynMemoStrings::OffsetOfPosition(int LineIndex, int Column) const {
    int offset = 0;
    const int last = std::min(LineIndex, GetCount());
    for (int i = 0; i < last; ++i)
        offset += int(FLines[size_t(i)].Length) + 2;
    return offset + std::max(Column, 0);
}
