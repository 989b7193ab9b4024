// Profile (.ini) files of the runtime layer.
#include "inifiles.h"

#include <sys/stat.h>

#include "replacefile.h"

namespace {

std::string_view TrimView(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (unsigned char)s[b] <= ' ')
        ++b;
    while (e > b && (unsigned char)s[e - 1] <= ' ')
        --e;
    return s.substr(b, e - b);
}

// The text between '[' and ']' of a header line, trimmed; false for other lines. The view
// points into `line`.
bool HeaderName(std::string_view line, std::string_view& name) {
    std::string_view t = TrimView(line);
    if (t.empty() || t[0] != '[')
        return false;
    size_t close = t.find(']');
    name = TrimView(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    return true;
}

bool IsHeader(std::string_view line) {
    std::string_view name;
    return HeaderName(line, name);
}

// Key and raw value of a key line; false for blank, comment and other lines. The views point
// into `line`.
bool KeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
    std::string_view t = TrimView(line);
    if (t.empty() || t[0] == ';')
        return false;
    size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = TrimView(t.substr(0, eq));
    value = t.substr(eq + 1);
    return true;
}

std::string CleanValue(std::string_view v) {
    std::string t = Trim(v);
    if (t.size() >= 2 && (t[0] == '"' || t[0] == '\'') && t.back() == t[0])
        t = t.substr(1, t.size() - 2);
    return t;
}

std::string OneLine(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c == '\r' || c == '\n')
            c = ' ';
    return r;
}

using Lines = std::vector<std::string>;

// Header line of the first section of that name, or -1.
int FindSection(const Lines& lines, std::string_view Section) {
    std::string_view name;
    const std::string_view want = TrimView(Section);
    for (size_t i = 0; i < lines.size(); ++i)
        if (HeaderName(lines[i], name) && name.size() == want.size() && AnsiSameText(name, want))
            return int(i);
    return -1;
}

// First line after the section that starts at `header`.
int SectionEnd(const Lines& lines, int header) {
    size_t i = size_t(header) + 1;
    while (i < lines.size() && !IsHeader(lines[i]))
        ++i;
    return int(i);
}

// Line of the first key of that name in the section, or -1.
int FindKey(const Lines& lines, int header, std::string_view Ident) {
    std::string_view key, value;
    const std::string_view want = TrimView(Ident);
    const int end = SectionEnd(lines, header);
    for (int i = header + 1; i < end; ++i)
        if (KeyLine(lines[size_t(i)], key, value) && key.size() == want.size() && AnsiSameText(key, want))
            return i;
    return -1;
}

} // namespace

// ---- TCustomIniFile -----------------------------------------------------------------------------

int TCustomIniFile::ReadInteger(std::string_view Section, std::string_view Ident, int Default) {
    std::string s = ReadString(Section, Ident, "");
    return StrToIntDef(s, Default);
}

void TCustomIniFile::WriteInteger(std::string_view Section, std::string_view Ident, int Value) {
    WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(std::string_view Section, std::string_view Ident, bool Default) {
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(std::string_view Section, std::string_view Ident, bool Value) {
    WriteString(Section, Ident, Value ? "1" : "0");
}

namespace {

template <class T>
T ReadConverted(TCustomIniFile& ini, std::string_view Section, std::string_view Ident, T Default,
                bool (*convert)(std::string_view, T&)) {
    T v;
    return convert(ini.ReadString(Section, Ident, ""), v) ? v : Default;
}

} // namespace

double TCustomIniFile::ReadFloat(std::string_view Section, std::string_view Ident, double Default) {
    return ReadConverted(*this, Section, Ident, Default, &TryStrToFloat);
}

void TCustomIniFile::WriteFloat(std::string_view Section, std::string_view Ident, double Value) {
    WriteString(Section, Ident, FloatToStr(Value));
}

TDateTime TCustomIniFile::ReadDate(std::string_view Section, std::string_view Ident, TDateTime Default) {
    return ReadConverted(*this, Section, Ident, Default, &TryStrToDate);
}

void TCustomIniFile::WriteDate(std::string_view Section, std::string_view Ident, TDateTime Value) {
    WriteString(Section, Ident, DateToStr(Value));
}

TDateTime TCustomIniFile::ReadDateTime(std::string_view Section, std::string_view Ident, TDateTime Default) {
    return ReadConverted(*this, Section, Ident, Default, &TryStrToDateTime);
}

void TCustomIniFile::WriteDateTime(std::string_view Section, std::string_view Ident, TDateTime Value) {
    WriteString(Section, Ident, DateTimeToStr(Value));
}

TDateTime TCustomIniFile::ReadTime(std::string_view Section, std::string_view Ident, TDateTime Default) {
    return ReadConverted(*this, Section, Ident, Default, &TryStrToTime);
}

void TCustomIniFile::WriteTime(std::string_view Section, std::string_view Ident, TDateTime Value) {
    WriteString(Section, Ident, TimeToStr(Value));
}

bool TCustomIniFile::SectionExists(std::string_view Section) {
    TStringList keys;
    ReadSection(Section, &keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(std::string_view Section, std::string_view Ident) {
    TStringList keys;
    ReadSection(Section, &keys);
    return keys.IndexOf(Ident) >= 0;
}

// ---- TIniFile -----------------------------------------------------------------------------------

TIniFile::TIniFile(const std::string& FileName) : TIniFile(FileName, true) {}

TIniFile::TIniFile(const std::string& FileName, bool WriteThrough)
    : TCustomIniFile(FileName), writeThrough_(WriteThrough) {
    Refresh();
}

TIniFile::Stamp TIniFile::DiskStamp() const {
    struct stat st {};
    if (stat(NativePath(FileName()).c_str(), &st) != 0)
        return {};
    return {int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, int64_t(st.st_size),
            uint64_t(st.st_ino)};
}

void TIniFile::Refresh() {
    // A buffered file keeps its own changes until UpdateFile.
    if (loaded_ && !writeThrough_)
        return;
    Stamp now = DiskStamp();
    if (loaded_ && now == stamp_)
        return;
    loaded_ = true;
    stamp_ = now;
    lines_.clear();
    TStringList l;
    try {
        l.LoadFromFile(FileName());
    } catch (const EStreamError&) {
        return; // a missing or unreadable file (or a folder) reads as empty, as profile files do
    }
    lines_.reserve(size_t(l.Count()));
    for (int i = 0; i < l.Count(); ++i)
        lines_.push_back(l.Get(i));
}

std::string TIniFile::ReadString(std::string_view Section, std::string_view Ident,
                                 const std::string& Default) {
    Refresh();
    int h = FindSection(lines_, Section);
    if (h < 0)
        return Default;
    int k = FindKey(lines_, h, Ident);
    if (k < 0)
        return Default;
    std::string_view key, value;
    KeyLine(lines_[size_t(k)], key, value);
    return CleanValue(value);
}

void TIniFile::WriteString(std::string_view Section, std::string_view Ident, std::string_view Value) {
    const std::string value = OneLine(Value);
    const std::string section = OneLine(TrimView(Section));
    const std::string ident = OneLine(TrimView(Ident));
    Change([&](Lines& lines) {
        int h = FindSection(lines, section);
        if (h < 0) {
            lines.push_back("[" + section + "]");
            lines.push_back(ident + "=" + value);
        } else if (int k = FindKey(lines, h, ident); k >= 0) {
            std::string_view key, old;
            KeyLine(lines[size_t(k)], key, old);
            lines[size_t(k)] = std::string(key) + "=" + value;
        } else {
            // After the section's last non-blank line, so blank separators stay between sections.
            int at = SectionEnd(lines, h);
            while (at > h + 1 && TrimView(lines[size_t(at - 1)]).empty())
                --at;
            lines.insert(lines.begin() + at, ident + "=" + value);
        }
    });
}

void TIniFile::ReadSection(std::string_view Section, TStrings* Strings) {
    Refresh();
    std::vector<std::string> keys;
    int h = FindSection(lines_, Section);
    if (h >= 0) {
        std::string_view key, value;
        TStringList seen;
        seen.SetSorted(true);
        for (int i = h + 1, end = SectionEnd(lines_, h); i < end; ++i)
            if (KeyLine(lines_[size_t(i)], key, value) && seen.IndexOf(key) < 0) {
                seen.Add(std::string(key));
                keys.emplace_back(key);
            }
    }
    Strings->SetLines(keys);
}

void TIniFile::ReadSections(TStrings* Strings) {
    Refresh();
    std::vector<std::string> names;
    std::string_view name;
    TStringList seen;
    seen.SetSorted(true);
    for (const std::string& l : lines_)
        if (HeaderName(l, name) && seen.IndexOf(name) < 0) {
            seen.Add(std::string(name));
            names.emplace_back(name);
        }
    Strings->SetLines(names);
}

void TIniFile::ReadSectionValues(std::string_view Section, TStrings* Strings) {
    TStringList keys;
    ReadSection(Section, &keys);
    std::vector<std::string> lines;
    for (int i = 0; i < keys.Count(); ++i)
        lines.push_back(keys[i] + "=" + ReadString(Section, keys[i], ""));
    Strings->SetLines(lines);
}

void TIniFile::EraseSection(std::string_view Section) {
    Refresh();
    if (FindSection(lines_, Section) < 0)
        return;
    // Every copy of the section goes, as the lookup would otherwise find the next one.
    Change([&](Lines& lines) {
        for (int h = FindSection(lines, Section); h >= 0; h = FindSection(lines, Section))
            lines.erase(lines.begin() + h, lines.begin() + SectionEnd(lines, h));
    });
}

void TIniFile::DeleteKey(std::string_view Section, std::string_view Ident) {
    Refresh();
    int h = FindSection(lines_, Section);
    if (h < 0 || FindKey(lines_, h, Ident) < 0)
        return;
    // Every copy of the key goes, as the lookup would otherwise find the next one.
    Change([&](Lines& lines) {
        for (int k = FindKey(lines, h, Ident); k >= 0; k = FindKey(lines, h, Ident))
            lines.erase(lines.begin() + k);
    });
}

const std::vector<std::string>& TIniFile::HeldLines() {
    Refresh();
    return lines_;
}

void TIniFile::HoldLines(std::vector<std::string> Lines) {
    Change([&](std::vector<std::string>& lines) { lines = std::move(Lines); });
}

void TMemIniFile::SetStrings(const TStrings* List) {
    std::vector<std::string> lines;
    lines.reserve(size_t(List->Count()));
    for (int i = 0; i < List->Count(); ++i)
        lines.push_back(List->Get(i));
    HoldLines(std::move(lines));
}

void TIniFile::UpdateFile() {
    if (!writeThrough_)
        Save(lines_);
}

void TIniFile::Change(const std::function<void(std::vector<std::string>&)>& edit) {
    Refresh();
    if (!writeThrough_) {
        edit(lines_);
        return;
    }
    // Edited on a copy: a failed save leaves memory as it was.
    Lines lines = lines_;
    edit(lines);
    Save(lines);
    lines_ = std::move(lines);
    stamp_ = DiskStamp();
}

void TIniFile::Save(const std::vector<std::string>& lines) {
    std::string data;
    for (const std::string& l : lines) {
        data += l;
        data += "\r\n";
    }
    if (const TReplaceResult r = ReplaceFileBytes(FileName(), data); !r)
        throw EIniFileException(Format(SIniFileWriteError, FileName()), r.Error);
}
