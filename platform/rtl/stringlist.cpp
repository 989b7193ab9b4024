// String lists of the runtime layer: TStrings (the shared behaviour) and TStringList.
#include "classes.h"

#include <algorithm>

#include "replacefile.h"

namespace {

bool NeedsQuotes(std::string_view s) {
    if (s.empty())
        return true;
    return std::any_of(s.begin(), s.end(),
                       [](char c) { return (unsigned char)c <= ' ' || c == '"' || c == ','; });
}

bool IsSeparatorBlank(char c) { return (unsigned char)c <= ' '; }

// The fields of a comma text, as SetCommaText describes them.
std::vector<std::string> SplitCommaText(std::string_view v) {
    std::vector<std::string> r;
    size_t i = 0;
    const size_t n = v.size();
    auto skipBlanks = [&] {
        while (i < n && IsSeparatorBlank(v[i]))
            ++i;
    };
    skipBlanks();
    while (i < n) {
        std::string field;
        if (v[i] == '"') {
            ++i;
            while (i < n) {
                if (v[i] == '"') {
                    if (i + 1 < n && v[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += v[i++];
            }
        } else {
            size_t b = i;
            while (i < n && !IsSeparatorBlank(v[i]) && v[i] != ',')
                ++i;
            field.assign(v.substr(b, i - b));
        }
        r.push_back(std::move(field));
        skipBlanks();
        if (i < n && v[i] == ',') {
            ++i;
            skipBlanks();
        }
    }
    return r;
}

// The lines of a text, as SetText describes them.
std::vector<std::string> SplitLines(std::string_view v) {
    std::vector<std::string> r;
    size_t i = 0;
    while (i < v.size()) {
        size_t b = i;
        while (i < v.size() && v[i] != '\r' && v[i] != '\n')
            ++i;
        r.emplace_back(v.substr(b, i - b));
        if (i < v.size() && v[i] == '\r')
            ++i;
        if (i < v.size() && v[i] == '\n')
            ++i;
    }
    return r;
}

} // namespace

// ---- TStrings -----------------------------------------------------------------------------------

void TStrings::Error(const char* Msg, int Data) const { throw EStringListError(Format(Msg, Data)); }

void TStrings::Put(int Index, const std::string& S) {
    TObject* o = GetObject(Index);
    WithinUpdate(this, [&] {
        Delete(Index);
        InsertObject(Index, S, o);
    });
}

TObject* TStrings::GetObject(int) const { return nullptr; }
void TStrings::PutObject(int, TObject*) {}

void TStrings::InsertObject(int Index, const std::string& S, TObject* AObject) {
    Insert(Index, S);
    PutObject(Index, AObject);
}

int TStrings::Add(const std::string& S) {
    int i = GetCount();
    Insert(i, S);
    return i;
}

int TStrings::AddObject(const std::string& S, TObject* AObject) {
    int i = Add(S);
    PutObject(i, AObject);
    return i;
}

void TStrings::AddStrings(const TStrings* Strings) {
    if (!Strings)
        return;
    WithinUpdate(this, [&] {
        // Counted first: adding a list to itself doubles it once.
        const int n = Strings->GetCount();
        for (int i = 0; i < n; ++i)
            AddObject(Strings->Get(i), Strings->GetObject(i));
    });
}

void TStrings::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TStrings*>(Source)) {
        if (src == this)
            return;
        WithinUpdate(this, [&] {
            Clear();
            AddStrings(src);
        });
        return;
    }
    TPersistent::Assign(Source);
}

void TStrings::Exchange(int Index1, int Index2) {
    std::string s1 = Get(Index1), s2 = Get(Index2);
    TObject* o1 = GetObject(Index1);
    TObject* o2 = GetObject(Index2);
    WithinUpdate(this, [&] {
        Put(Index1, s2);
        PutObject(Index1, o2);
        Put(Index2, s1);
        PutObject(Index2, o1);
    });
}

void TStrings::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex)
        return;
    std::string s = Get(CurIndex);
    TObject* o = GetObject(CurIndex);
    if (NewIndex < 0 || NewIndex >= GetCount())
        Error(SListIndexError, NewIndex);
    // The copy goes in before the original leaves, so a list that refuses the insertion (a
    // sorted one) keeps the line.
    WithinUpdate(this, [&] {
        if (NewIndex > CurIndex) {
            InsertObject(NewIndex + 1, s, o);
            Delete(CurIndex);
        } else {
            InsertObject(NewIndex, s, o);
            Delete(CurIndex + 1);
        }
    });
}

bool TStrings::Equals(const TStrings* Strings) const {
    if (!Strings || Strings->GetCount() != GetCount())
        return false;
    for (int i = 0; i < GetCount(); ++i)
        if (Get(i) != Strings->Get(i))
            return false;
    return true;
}

int TStrings::CompareStrings(std::string_view S1, std::string_view S2) const {
    return AnsiCompareText(S1, S2);
}

int TStrings::IndexOf(std::string_view S) const {
    for (int i = 0; i < GetCount(); ++i)
        if (CompareStrings(Get(i), S) == 0)
            return i;
    return -1;
}

int TStrings::IndexOfName(std::string_view Name) const {
    for (int i = 0; i < GetCount(); ++i) {
        std::string s = Get(i);
        size_t eq = s.find('=');
        if (eq != std::string::npos && CompareStrings(std::string_view(s).substr(0, eq), Name) == 0)
            return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
    for (int i = 0; i < GetCount(); ++i)
        if (GetObject(i) == AObject)
            return i;
    return -1;
}

std::string TStrings::Names(int Index) const {
    std::string s = Get(Index);
    size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStrings::Values(std::string_view Name) const {
    int i = IndexOfName(Name);
    return i < 0 ? std::string() : ValueFromIndex(i);
}

std::string TStrings::ValueFromIndex(int Index) const {
    std::string s = Get(Index);
    size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(eq + 1);
}

void TStrings::SetValue(std::string_view Name, const std::string& Value) {
    int i = IndexOfName(Name);
    if (!Value.empty()) {
        std::string line = std::string(Name) + "=" + Value;
        if (i < 0)
            Add(line);
        else
            Put(i, line);
    } else if (i >= 0) {
        Delete(i);
    }
}

std::string TStrings::CommaText() const {
    std::string r;
    for (int i = 0; i < GetCount(); ++i) {
        if (i)
            r += ',';
        std::string s = Get(i);
        r += NeedsQuotes(s) ? AnsiQuotedStr(s, '"') : s;
    }
    return r;
}

void TStrings::SetCommaText(std::string_view Value) { SetLines(SplitCommaText(Value)); }

std::string TStrings::Text() const {
    std::string r;
    for (int i = 0; i < GetCount(); ++i) {
        r += Get(i);
        r += "\r\n";
    }
    return r;
}

void TStrings::SetText(std::string_view Value) { SetLines(SplitLines(Value)); }

void TStrings::SetLines(const std::vector<std::string>& Lines) {
    WithinUpdate(this, [&] {
        Clear();
        for (const std::string& l : Lines)
            Add(l);
    });
}

void TStrings::LoadFromFile(const std::string& FileName) {
    // Through the file stream: a folder or an unreadable file is EFOpenError, never a library
    // exception of another kind.
    TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&f);
}

void TStrings::SaveToFile(const std::string& FileName) const {
    if (!ReplaceFileBytes(FileName, Text()))
        throw EFCreateError(Format(SFCreateError, FileName));
}

void TStrings::LoadFromStream(TStream* Stream) {
    std::string data(size_t(Stream->Size() - Stream->Position()), '\0');
    data.resize(size_t(Stream->Read(data.data(), int(data.size()))));
    SetText(data);
}

void TStrings::SaveToStream(TStream* Stream) const {
    const std::string data = Text();
    Stream->WriteBuffer(data.data(), int(data.size()));
}

void TStrings::BeginUpdate() {
    if (updateCount_ == 0)
        SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0)
        SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

// ---- TStringList --------------------------------------------------------------------------------

TStringList::~TStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
}

void TStringList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= GetCount())
        Error(SListIndexError, Index);
}

std::string TStringList::Get(int Index) const {
    CheckIndex(Index);
    return items_[size_t(Index)].s;
}

void TStringList::Put(int Index, const std::string& S) {
    if (sorted_)
        Error(SSortedListError, 0);
    CheckIndex(Index);
    Changing();
    items_[size_t(Index)].s = S;
    Changed();
}

TObject* TStringList::GetObject(int Index) const {
    CheckIndex(Index);
    return items_[size_t(Index)].obj;
}

void TStringList::PutObject(int Index, TObject* AObject) {
    CheckIndex(Index);
    Changing();
    items_[size_t(Index)].obj = AObject;
    Changed();
}

void TStringList::Clear() {
    if (items_.empty())
        return;
    Changing();
    items_.clear();
    Changed();
}

void TStringList::Delete(int Index) {
    CheckIndex(Index);
    Changing();
    items_.erase(items_.begin() + Index);
    Changed();
}

void TStringList::Insert(int Index, const std::string& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const std::string& S, TObject* AObject) {
    if (sorted_)
        Error(SSortedListError, 0);
    if (Index < 0 || Index > GetCount())
        Error(SListIndexError, Index);
    InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(int Index, const std::string& S, TObject* AObject) {
    Changing();
    items_.insert(items_.begin() + Index, Item{S, AObject});
    Changed();
}

int TStringList::AddObject(const std::string& S, TObject* AObject) {
    int at = GetCount();
    if (sorted_ && Find(S, at)) {
        if (Duplicates == dupIgnore)
            return at;
        if (Duplicates == dupError)
            Error(SDuplicateString, 0);
    }
    InsertItem(at, S, AObject);
    return at;
}

void TStringList::Exchange(int Index1, int Index2) {
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    std::swap(items_[size_t(Index1)], items_[size_t(Index2)]);
    Changed();
}

int TStringList::CompareStrings(std::string_view S1, std::string_view S2) const {
    return caseSensitive_ ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

int TStringList::IndexOf(std::string_view S) const {
    if (!sorted_)
        return TStrings::IndexOf(S);
    int i;
    return Find(S, i) ? i : -1;
}

bool TStringList::Find(std::string_view S, int& Index) const {
    int lo = 0, hi = GetCount();
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        if (CompareStrings(items_[size_t(mid)].s, S) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    Index = lo;
    return lo < GetCount() && CompareStrings(items_[size_t(lo)].s, S) == 0;
}

void TStringList::Sort() {
    CustomSort([](TStringList* l, int a, int b) {
        return l->CompareStrings(l->items_[size_t(a)].s, l->items_[size_t(b)].s);
    });
}

void TStringList::CustomSort(const std::function<int(TStringList*, int, int)>& Compare) {
    if (items_.size() < 2)
        return;
    Changing();
    // Sort positions, so that the comparer sees the list as it stands.
    std::vector<int> order(items_.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return Compare(this, a, b) < 0; });
    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (int i : order)
        sorted.push_back(std::move(items_[size_t(i)]));
    items_ = std::move(sorted);
    Changed();
}

void TStringList::SetSorted(bool Value) {
    if (Value == sorted_)
        return;
    if (Value)
        Sort();
    sorted_ = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
    if (Value == caseSensitive_)
        return;
    caseSensitive_ = Value;
    if (sorted_)
        Sort();
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating) {
    if (Updating)
        Changing();
    else
        Changed();
}
