// Beside-the-GUI platform layer: the registry store and the classes over it.
// Store file: one section per key, "[HKEY_CURRENT_USER\Software\...]", then one line per value:
//   @="text"            the default value (unnamed)        "name"="text"       a string
//   "name"=expand:"text"  an expandable string              "name"=dword:0000002a  an integer
//   "name"=hex:01,ff,2a   binary bytes
// Texts are Windows-1251 with \\, \" and \xHH (control bytes) escaped. Lines that do not read
// this way are skipped, as are values under a section that does not.
#include "registry.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "replacefile.h"

namespace {

const char* const kRootNames[] = {
    "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};

std::string RootName(HKEY root) {
    return root >= HKEY_CLASSES_ROOT && root <= HKEY_DYN_DATA ? kRootNames[root - HKEY_CLASSES_ROOT] : "";
}

std::string Fold(std::string_view s) { return AnsiUpperCase(s); }

// The non-empty segments of a '\'-separated key path, joined again.
std::string Normalize(std::string_view path) {
    std::string out;
    size_t i = 0;
    while (i <= path.size()) {
        size_t j = path.find('\\', i);
        if (j == std::string_view::npos)
            j = path.size();
        if (j > i) {
            if (!out.empty())
                out += '\\';
            out.append(path.substr(i, j - i));
        }
        i = j + 1;
    }
    return out;
}

std::string Join(std::string_view a, std::string_view b) {
    const std::string nb = Normalize(b);
    if (nb.empty())
        return std::string(a);
    if (a.empty())
        return nb;
    return std::string(a) + '\\' + nb;
}

struct Value {
    std::string name;
    TRegDataType type;
    std::string data;
};

struct Key {
    std::string path; // as first written, root name first
    std::vector<Value> values;

    Value* Find(std::string_view name) {
        for (Value& v : values)
            if (Fold(v.name) == Fold(name))
                return &v;
        return nullptr;
    }
};

// Keys by folded full path; a parent sorts before its children.
using Keys = std::map<std::string, Key>;

bool IsRootPath(std::string_view path) {
    for (const char* r : kRootNames)
        if (Fold(path) == r)
            return true;
    return false;
}

// Keys nest at most this deep below their root, as in the system's registry.
constexpr size_t kMaxDepth = 512;

bool TooDeep(std::string_view path) { return size_t(std::count(path.begin(), path.end(), '\\')) > kMaxDepth; }

// Adds the key and the keys above it up to the root; returns the key.
Key& AddKey(Keys& keys, const std::string& path) {
    for (size_t end = path.find('\\');; end = path.find('\\', end + 1)) {
        const std::string upTo = path.substr(0, end);
        auto [it, added] = keys.try_emplace(Fold(upTo));
        if (added)
            it->second.path = upTo;
        if (end == std::string::npos)
            return it->second;
    }
}

// ---- The file format --------------------------------------------------------------------------

std::string Quote(std::string_view s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '\\' || c == '"') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || c == 0x7F) {
            out += "\\x" + IntToHex(int(c), 2);
        } else {
            out += char(c);
        }
    }
    return out + '"';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads a quoted text at the start of s, leaving s after it.
std::optional<std::string> Unquote(std::string_view& s) {
    if (s.empty() || s[0] != '"')
        return std::nullopt;
    std::string out;
    for (size_t i = 1; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return out;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i >= s.size())
            return std::nullopt;
        if (s[i] == 'x') {
            if (i + 2 >= s.size() || HexDigit(s[i + 1]) < 0 || HexDigit(s[i + 2]) < 0)
                return std::nullopt;
            out += char(HexDigit(s[i + 1]) * 16 + HexDigit(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return std::nullopt;
}

std::optional<Value> ParseValue(std::string_view line) {
    Value v;
    if (!line.empty() && line[0] == '@') {
        line.remove_prefix(1);
    } else {
        auto name = Unquote(line);
        if (!name)
            return std::nullopt;
        v.name = *name;
    }
    if (line.empty() || line[0] != '=')
        return std::nullopt;
    line.remove_prefix(1);
    auto starts = [&](std::string_view p) {
        if (line.substr(0, p.size()) != p)
            return false;
        line.remove_prefix(p.size());
        return true;
    };
    const bool expand = starts("expand:");
    if (expand || (!line.empty() && line[0] == '"')) {
        v.type = expand ? rdExpandString : rdString;
        auto text = Unquote(line);
        if (!text || !line.empty())
            return std::nullopt;
        v.data = *text;
    } else if (starts("dword:")) {
        if (line.size() != 8)
            return std::nullopt;
        uint32_t n = 0;
        for (char c : line) {
            if (HexDigit(c) < 0)
                return std::nullopt;
            n = n * 16 + uint32_t(HexDigit(c));
        }
        v.type = rdInteger;
        v.data.assign(reinterpret_cast<const char*>(&n), 4);
    } else if (starts("hex:")) {
        v.type = rdBinary;
        while (!line.empty()) {
            if (line.size() < 2 || HexDigit(line[0]) < 0 || HexDigit(line[1]) < 0)
                return std::nullopt;
            v.data += char(HexDigit(line[0]) * 16 + HexDigit(line[1]));
            line.remove_prefix(2);
            if (!line.empty() && line[0] == ',' && line.size() > 1)
                line.remove_prefix(1);
            else if (!line.empty())
                return std::nullopt;
        }
    } else {
        return std::nullopt;
    }
    return v;
}

Keys Parse(std::string_view text) {
    Keys keys;
    Key* current = nullptr;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[') {
            current = nullptr;
            if (line.back() != ']')
                continue;
            const std::string path = Normalize(line.substr(1, line.size() - 2));
            const size_t cut = path.find('\\');
            if (IsRootPath(path.substr(0, cut)) && !TooDeep(path))
                current = &AddKey(keys, path);
            continue;
        }
        if (!current)
            continue;
        if (auto v = ParseValue(line); v && !current->Find(v->name))
            current->values.push_back(std::move(*v));
    }
    return keys;
}

std::string Serialize(const Keys& keys) {
    std::string out = "; qbxconf registry store\n";
    for (const auto& [folded, key] : keys) {
        if (key.values.empty() && IsRootPath(key.path))
            continue;
        out += "\n[" + key.path + "]\n";
        for (const Value& v : key.values) {
            out += v.name.empty() ? "@" : Quote(v.name);
            out += '=';
            switch (v.type) {
            case rdExpandString: out += "expand:" + Quote(v.data); break;
            case rdInteger: {
                uint32_t n = 0;
                std::memcpy(&n, v.data.data(), std::min<size_t>(4, v.data.size()));
                out += "dword:" + IntToHex(n, 8);
                break;
            }
            case rdBinary:
            case rdUnknown: {
                out += "hex:";
                for (size_t i = 0; i < v.data.size(); ++i)
                    out += (i ? "," : "") + IntToHex(int(uint8_t(v.data[i])), 2);
                break;
            }
            default: out += Quote(v.data); break;
            }
            out += '\n';
        }
    }
    return out;
}

// ---- The store ----------------------------------------------------------------------------------

struct Stamp {
    int64_t mtime = -1, size = -1;
    uint64_t inode = 0;
    bool operator==(const Stamp&) const = default;
};

Stamp DiskStamp(const std::string& path) {
    struct stat st {};
    if (::stat(NativePath(path).c_str(), &st) != 0)
        return {};
    return {int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, int64_t(st.st_size),
            uint64_t(st.st_ino)};
}

enum class Outcome { Unchanged, Written, Failed };

// A failed write's message with the system's reason, which the store left as the last error.
std::string WithReason(const std::string& text) {
    const std::string reason = SysErrorMessage(GetLastError());
    return reason.empty() ? text : text + ": " + reason;
}

class Store {
public:
    template <class F> auto Read(F f) {
        std::lock_guard lock(m_);
        Sync();
        return f(std::as_const(keys_));
    }

    // Applies edit to a copy of the keys; when it reports a change, the copy is written and
    // kept. A failed write keeps the store as it was.
    Outcome Change(const std::function<bool(Keys&)>& edit) {
        std::lock_guard lock(m_);
        Sync();
        Keys copy = keys_;
        if (!edit(copy))
            return Outcome::Unchanged;
        const std::string dir = ExtractFileDir(path_);
        errno = 0;
        if (path_.empty() || !ForceDirectories(dir)) {
            SetLastError(DWORD(errno != 0 ? errno : ENOENT));
            return Outcome::Failed;
        }
        if (const TReplaceResult written = ReplaceFileBytes(path_, Serialize(copy)); !written) {
            SetLastError(DWORD(written.Error));
            return Outcome::Failed;
        }
        keys_ = std::move(copy);
        stamp_ = DiskStamp(path_);
        return Outcome::Written;
    }

private:
    void Sync() {
        const std::string path = RegistryStorePath();
        const Stamp stamp = DiskStamp(path);
        if (loaded_ && path == path_ && stamp == stamp_)
            return;
        path_ = path;
        stamp_ = stamp;
        loaded_ = true;
        if (path.empty()) {
            keys_.clear();
            return;
        }
        std::ifstream in(NativePath(path), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        keys_ = Parse(text.str());
    }

    std::mutex m_;
    std::string path_;
    Stamp stamp_;
    bool loaded_ = false;
    Keys keys_;
};

Store& TheStore() {
    static Store store;
    return store;
}

std::optional<Value> FindValue(const std::string& keyPath, std::string_view name) {
    return TheStore().Read([&](const Keys& keys) -> std::optional<Value> {
        auto it = keys.find(Fold(keyPath));
        if (it == keys.end())
            return std::nullopt;
        for (const Value& v : it->second.values)
            if (Fold(v.name) == Fold(name))
                return v;
        return std::nullopt;
    });
}

bool KeyThere(const std::string& path) {
    if (IsRootPath(path))
        return true;
    return TheStore().Read([&](const Keys& keys) { return keys.count(Fold(path)) > 0; });
}

std::vector<std::string> SubKeyNames(const std::string& path) {
    return TheStore().Read([&](const Keys& keys) {
        std::vector<std::string> names;
        const std::string prefix = Fold(path) + '\\';
        for (auto it = keys.lower_bound(prefix);
             it != keys.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it)
            if (it->first.find('\\', prefix.size()) == std::string::npos)
                names.push_back(it->second.path.substr(it->second.path.rfind('\\') + 1));
        return names;
    });
}

std::vector<Value> ValuesOf(const std::string& path) {
    return TheStore().Read([&](const Keys& keys) {
        auto it = keys.find(Fold(path));
        return it == keys.end() ? std::vector<Value>() : it->second.values;
    });
}

Outcome SetValue(const std::string& keyPath, std::string_view name, TRegDataType type, std::string data) {
    return TheStore().Change([&](Keys& keys) {
        Key& key = AddKey(keys, keyPath);
        if (Value* v = key.Find(name)) {
            v->type = type;
            v->data = std::move(data);
        } else {
            key.values.push_back({std::string(name), type, std::move(data)});
        }
        return true;
    });
}

std::string DoubleBytes(double v) { return std::string(reinterpret_cast<const char*>(&v), sizeof v); }

} // namespace

std::string RegistryStorePath() {
    std::string base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* pw = ::getpwuid(::getuid());
            home = pw ? pw->pw_dir : "/tmp";
        }
        base = std::string(home) + "/.config";
    }
    // A folder whose name the program's text cannot hold is no store at all (never another name).
    std::string folder;
    return TryFromNativePath(base, folder) ? folder + "/qbxconf/registry.ini" : "";
}

// ---- TRegistry ----------------------------------------------------------------------------------

void TRegistry::SetRootKey(HKEY Value) {
    CloseKey();
    root_ = Value;
}

std::string TRegistry::OpenPath() const { return open_ ? Join(RootName(root_), path_) : ""; }

std::string TRegistry::KeyPath(std::string_view Key) const {
    if (RootName(root_).empty())
        return "";
    const bool relative = Key.empty() || Key[0] != '\\';
    return Join(relative && open_ ? OpenPath() : RootName(root_), Key);
}

bool TRegistry::OpenKey(std::string_view Key, bool CanCreate) {
    const std::string full = KeyPath(Key);
    if (full.empty() || TooDeep(full))
        return false;
    if (!KeyThere(full)) {
        if (!CanCreate || !(access_ & KEY_CREATE_SUB_KEY))
            return false;
        if (TheStore().Change([&](Keys& keys) {
                AddKey(keys, full);
                return true;
            }) != Outcome::Written)
            return false;
    }
    const size_t cut = full.find('\\');
    path_ = cut == std::string::npos ? "" : full.substr(cut + 1);
    open_ = true;
    readOnly_ = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(std::string_view Key) {
    if (!OpenKey(Key, false))
        return false;
    readOnly_ = true;
    return true;
}

void TRegistry::CloseKey() {
    open_ = false;
    readOnly_ = false;
    path_.clear();
}

bool TRegistry::CreateKey(std::string_view Key) {
    const std::string full = KeyPath(Key);
    if (full.empty() || TooDeep(full) || !(access_ & KEY_CREATE_SUB_KEY))
        throw ERegistryException("Failed to create key " + std::string(Key));
    if (TheStore().Change([&](Keys& keys) {
            const bool had = keys.count(Fold(full)) > 0;
            AddKey(keys, full);
            return !had;
        }) == Outcome::Failed)
        throw ERegistryException(WithReason("Failed to create key " + std::string(Key)));
    return true;
}

bool TRegistry::DeleteKey(std::string_view Key) {
    const std::string full = KeyPath(Key);
    if (full.empty() || IsRootPath(full) || !Writable())
        return false;
    const std::string folded = Fold(full), prefix = folded + '\\';
    return TheStore().Change([&](Keys& keys) {
        auto it = keys.find(folded);
        if (it == keys.end())
            return false;
        it = keys.erase(it);
        while (it != keys.end() && it->first.compare(0, prefix.size(), prefix) == 0)
            it = keys.erase(it);
        return true;
    }) == Outcome::Written;
}

bool TRegistry::KeyExists(std::string_view Key) {
    const std::string full = KeyPath(Key);
    return !full.empty() && KeyThere(full);
}

bool TRegistry::HasSubKeys() { return !SubKeyNames(OpenPath()).empty(); }

void TRegistry::GetKeyNames(TStrings* Strings) {
    Strings->Clear();
    for (const std::string& n : SubKeyNames(OpenPath()))
        Strings->Add(n);
}

void TRegistry::GetValueNames(TStrings* Strings) {
    Strings->Clear();
    for (const Value& v : ValuesOf(OpenPath()))
        Strings->Add(v.name);
}

bool TRegistry::ValueExists(std::string_view Name) { return FindValue(OpenPath(), Name).has_value(); }

bool TRegistry::DeleteValue(std::string_view Name) {
    if (!Writable())
        return false;
    const std::string path = OpenPath();
    return TheStore().Change([&](Keys& keys) {
        auto it = keys.find(Fold(path));
        if (it == keys.end())
            return false;
        auto& values = it->second.values;
        for (auto v = values.begin(); v != values.end(); ++v)
            if (Fold(v->name) == Fold(Name)) {
                values.erase(v);
                return true;
            }
        return false;
    }) == Outcome::Written;
}

void TRegistry::RenameValue(std::string_view OldName, std::string_view NewName) {
    if (!Writable() || ValueExists(NewName))
        return;
    const std::string path = OpenPath();
    TheStore().Change([&](Keys& keys) {
        auto it = keys.find(Fold(path));
        if (it == keys.end())
            return false;
        Value* v = it->second.Find(OldName);
        if (!v)
            return false;
        v->name = std::string(NewName);
        return true;
    });
}

TRegDataType TRegistry::GetDataType(std::string_view Name) {
    auto v = FindValue(OpenPath(), Name);
    return v ? v->type : rdUnknown;
}

int TRegistry::GetDataSize(std::string_view Name) {
    auto v = FindValue(OpenPath(), Name);
    if (!v)
        return -1;
    // Strings count their terminating zero, as the system reports them.
    const bool text = v->type == rdString || v->type == rdExpandString;
    return int(v->data.size()) + (text ? 1 : 0);
}

bool TRegistry::GetDataInfo(std::string_view Name, TRegDataInfo& Value) {
    auto v = FindValue(OpenPath(), Name);
    if (!v)
        return false;
    Value = {v->type, GetDataSize(Name)};
    return true;
}

std::string TRegistry::Get(std::string_view Name, TRegDataType Type, int Size) {
    auto v = FindValue(OpenPath(), Name);
    if (!v || v->type != Type || (Size >= 0 && int(v->data.size()) != Size))
        throw ERegistryException("Invalid data type for '" + std::string(Name) + "'");
    return v->data;
}

void TRegistry::Put(std::string_view Name, TRegDataType Type, std::string Data) {
    if (!Writable() || !open_)
        throw ERegistryException("Failed to set data for '" + std::string(Name) + "'");
    if (SetValue(OpenPath(), Name, Type, std::move(Data)) == Outcome::Failed)
        throw ERegistryException(WithReason("Failed to set data for '" + std::string(Name) + "'"));
}

std::string TRegistry::ReadString(std::string_view Name) {
    auto v = FindValue(OpenPath(), Name);
    if (!v)
        return "";
    if (v->type != rdString && v->type != rdExpandString)
        throw ERegistryException("Invalid data type for '" + std::string(Name) + "'");
    return v->data;
}

void TRegistry::WriteString(std::string_view Name, std::string_view Value) {
    Put(Name, rdString, std::string(Value));
}

void TRegistry::WriteExpandString(std::string_view Name, std::string_view Value) {
    Put(Name, rdExpandString, std::string(Value));
}

int TRegistry::ReadInteger(std::string_view Name) {
    const std::string data = Get(Name, rdInteger, 4);
    int32_t n;
    std::memcpy(&n, data.data(), 4);
    return n;
}

void TRegistry::WriteInteger(std::string_view Name, int Value) {
    Put(Name, rdInteger, std::string(reinterpret_cast<const char*>(&Value), 4));
}

double TRegistry::ReadFloat(std::string_view Name) {
    const std::string data = Get(Name, rdBinary, sizeof(double));
    double v;
    std::memcpy(&v, data.data(), sizeof v);
    return v;
}

void TRegistry::WriteFloat(std::string_view Name, double Value) { Put(Name, rdBinary, DoubleBytes(Value)); }

int TRegistry::ReadBinaryData(std::string_view Name, void* Buffer, int BufSize) {
    auto v = FindValue(OpenPath(), Name);
    if (!v)
        return 0;
    if ((v->type != rdBinary && v->type != rdUnknown) || int(v->data.size()) > BufSize)
        throw ERegistryException("Invalid data type for '" + std::string(Name) + "'");
    std::memcpy(Buffer, v->data.data(), v->data.size());
    return int(v->data.size());
}

void TRegistry::WriteBinaryData(std::string_view Name, const void* Buffer, int BufSize) {
    Put(Name, rdBinary, std::string(static_cast<const char*>(Buffer), size_t(std::max(BufSize, 0))));
}

// ---- TRegIniFile --------------------------------------------------------------------------------

TRegIniFile::TRegIniFile(std::string_view FileName, unsigned Access)
    : TRegistry(Access), fileName_(FileName) {
    OpenKey(FileName, true);
}

std::string TRegIniFile::SectionPath(std::string_view Section) const {
    return CurrentKey() ? Join(OpenPath(), Section) : "";
}

bool TRegIniFile::ReadRaw(std::string_view Section, std::string_view Ident, TRegDataType& Type,
                          std::string& Data) {
    const std::string path = SectionPath(Section);
    auto v = path.empty() ? std::nullopt : FindValue(path, Ident);
    if (!v)
        return false;
    Type = v->type;
    Data = std::move(v->data);
    return true;
}

void TRegIniFile::WriteRaw(std::string_view Section, std::string_view Ident, TRegDataType Type,
                           std::string Data) {
    const std::string path = SectionPath(Section);
    if (!Writable() || path.empty() || TooDeep(path))
        throw ERegistryException("Failed to set data for '" + std::string(Ident) + "'");
    if (SetValue(path, Ident, Type, std::move(Data)) == Outcome::Failed)
        throw ERegistryException(WithReason("Failed to set data for '" + std::string(Ident) + "'"));
}

std::string TRegIniFile::ReadString(std::string_view Section, std::string_view Ident,
                                    const std::string& Default) {
    TRegDataType type;
    std::string data;
    if (!ReadRaw(Section, Ident, type, data))
        return Default;
    if (type == rdString || type == rdExpandString)
        return data;
    if (type == rdInteger && data.size() == 4) {
        int32_t n;
        std::memcpy(&n, data.data(), 4);
        return IntToStr(n);
    }
    return Default;
}

void TRegIniFile::WriteString(std::string_view Section, std::string_view Ident, std::string_view Value) {
    WriteRaw(Section, Ident, rdString, std::string(Value));
}

int TRegIniFile::ReadInteger(std::string_view Section, std::string_view Ident, int Default) {
    return StrToIntDef(ReadString(Section, Ident, ""), Default);
}

void TRegIniFile::WriteInteger(std::string_view Section, std::string_view Ident, int Value) {
    WriteString(Section, Ident, IntToStr(Value));
}

bool TRegIniFile::ReadBool(std::string_view Section, std::string_view Ident, bool Default) {
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TRegIniFile::WriteBool(std::string_view Section, std::string_view Ident, bool Value) {
    WriteInteger(Section, Ident, Value ? 1 : 0);
}

void TRegIniFile::ReadSection(std::string_view Section, TStrings* Strings) {
    Strings->Clear();
    for (const Value& v : ValuesOf(SectionPath(Section)))
        Strings->Add(v.name);
}

void TRegIniFile::ReadSections(TStrings* Strings) { GetKeyNames(Strings); }

void TRegIniFile::ReadSectionValues(std::string_view Section, TStrings* Strings) {
    Strings->Clear();
    for (const Value& v : ValuesOf(SectionPath(Section)))
        Strings->Add(v.name + "=" + ReadString(Section, v.name, ""));
}

void TRegIniFile::EraseSection(std::string_view Section) {
    if (CurrentKey() && !Normalize(Section).empty())
        TRegistry::DeleteKey(Normalize(Section));
}

void TRegIniFile::DeleteKey(std::string_view Section, std::string_view Ident) {
    if (!Writable())
        return;
    const std::string path = SectionPath(Section);
    TheStore().Change([&](Keys& keys) {
        auto it = keys.find(Fold(path));
        if (it == keys.end())
            return false;
        auto& values = it->second.values;
        const size_t before = values.size();
        std::erase_if(values, [&](const Value& v) { return Fold(v.name) == Fold(Ident); });
        return values.size() != before;
    });
}

// ---- TRegistryIniFile ---------------------------------------------------------------------------

TRegistryIniFile::TRegistryIniFile(std::string_view FileName, unsigned Access)
    : TCustomIniFile(std::string(FileName)), reg_(std::make_unique<TRegIniFile>(FileName, Access)) {}

TRegistryIniFile::~TRegistryIniFile() = default;

std::string TRegistryIniFile::ReadString(std::string_view Section, std::string_view Ident,
                                         const std::string& Default) {
    return reg_->ReadString(Section, Ident, Default);
}

void TRegistryIniFile::WriteString(std::string_view Section, std::string_view Ident, std::string_view Value) {
    reg_->WriteString(Section, Ident, Value);
}

void TRegistryIniFile::ReadSection(std::string_view Section, TStrings* Strings) {
    reg_->ReadSection(Section, Strings);
}

void TRegistryIniFile::ReadSections(TStrings* Strings) { reg_->ReadSections(Strings); }

void TRegistryIniFile::ReadSectionValues(std::string_view Section, TStrings* Strings) {
    reg_->ReadSectionValues(Section, Strings);
}

void TRegistryIniFile::EraseSection(std::string_view Section) { reg_->EraseSection(Section); }

void TRegistryIniFile::DeleteKey(std::string_view Section, std::string_view Ident) {
    reg_->DeleteKey(Section, Ident);
}

int TRegistryIniFile::ReadInteger(std::string_view Section, std::string_view Ident, int Default) {
    return reg_->ReadInteger(Section, Ident, Default);
}

void TRegistryIniFile::WriteInteger(std::string_view Section, std::string_view Ident, int Value) {
    reg_->WriteRaw(Section, Ident, rdInteger, std::string(reinterpret_cast<const char*>(&Value), 4));
}

bool TRegistryIniFile::ReadBinaryDouble(std::string_view Section, std::string_view Ident, double& Value) {
    TRegDataType type;
    std::string data;
    if (!reg_->ReadRaw(Section, Ident, type, data) || type != rdBinary || data.size() != sizeof(double))
        return false;
    std::memcpy(&Value, data.data(), sizeof Value);
    return true;
}

void TRegistryIniFile::WriteBinaryDouble(std::string_view Section, std::string_view Ident, double Value) {
    reg_->WriteRaw(Section, Ident, rdBinary, DoubleBytes(Value));
}

double TRegistryIniFile::ReadFloat(std::string_view Section, std::string_view Ident, double Default) {
    double v;
    return ReadBinaryDouble(Section, Ident, v) ? v : TCustomIniFile::ReadFloat(Section, Ident, Default);
}

void TRegistryIniFile::WriteFloat(std::string_view Section, std::string_view Ident, double Value) {
    WriteBinaryDouble(Section, Ident, Value);
}

TDateTime TRegistryIniFile::ReadDate(std::string_view Section, std::string_view Ident, TDateTime Default) {
    double v;
    return ReadBinaryDouble(Section, Ident, v) ? v : TCustomIniFile::ReadDate(Section, Ident, Default);
}

void TRegistryIniFile::WriteDate(std::string_view Section, std::string_view Ident, TDateTime Value) {
    WriteBinaryDouble(Section, Ident, Value);
}

TDateTime TRegistryIniFile::ReadDateTime(std::string_view Section, std::string_view Ident,
                                         TDateTime Default) {
    double v;
    return ReadBinaryDouble(Section, Ident, v) ? v : TCustomIniFile::ReadDateTime(Section, Ident, Default);
}

void TRegistryIniFile::WriteDateTime(std::string_view Section, std::string_view Ident, TDateTime Value) {
    WriteBinaryDouble(Section, Ident, Value);
}

TDateTime TRegistryIniFile::ReadTime(std::string_view Section, std::string_view Ident, TDateTime Default) {
    double v;
    return ReadBinaryDouble(Section, Ident, v) ? v : TCustomIniFile::ReadTime(Section, Ident, Default);
}

void TRegistryIniFile::WriteTime(std::string_view Section, std::string_view Ident, TDateTime Value) {
    WriteBinaryDouble(Section, Ident, Value);
}
