// Beside-the-GUI platform layer: the shell namespace over the file system.
#include "shell.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "cp1251.h"
#include "sysutils.h"

namespace fs = std::filesystem;

const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_IMalloc = {0x00000002, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_IShellFolder = {0x000214E6, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_IEnumIDList = {0x000214F2, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace {

// The path segments of a list (the file system's bytes); stops at a count too small to be an
// item.
std::vector<std::string> Segments(LPCITEMIDLIST list) {
    std::vector<std::string> out;
    for (auto p = reinterpret_cast<const BYTE*>(list); p;) {
        WORD cb;
        std::memcpy(&cb, p, 2);
        if (cb < 2)
            break;
        out.emplace_back(reinterpret_cast<const char*>(p + 2), cb - 2);
        p += cb;
    }
    return out;
}

LPITEMIDLIST MakeList(const std::vector<std::string>& segments) {
    size_t size = 2;
    for (const std::string& s : segments)
        size += 2 + s.size();
    auto* p = static_cast<BYTE*>(CoTaskMemAlloc(size));
    if (!p)
        return nullptr;
    BYTE* at = p;
    for (const std::string& s : segments) {
        const WORD cb = WORD(2 + s.size());
        std::memcpy(at, &cb, 2);
        std::memcpy(at + 2, s.data(), s.size());
        at += cb;
    }
    at[0] = at[1] = 0;
    return reinterpret_cast<LPITEMIDLIST>(p);
}

// The segments of a native absolute path, "." and ".." resolved by the text.
std::vector<std::string> PathSegments(const fs::path& path) {
    std::vector<std::string> out;
    for (const fs::path& part : path.lexically_normal().relative_path())
        if (!part.empty() && part != ".")
            out.push_back(part.string());
    return out;
}

std::string NativeOf(const std::vector<std::string>& segments) {
    std::string path;
    for (const std::string& s : segments)
        path += "/" + s;
    return path.empty() ? "/" : path;
}

// A name from the file system as program text; one the text cannot hold shows '?' there, fit
// only for display.
std::string Shown(const std::string& native) {
    std::string text;
    TryFromNativePath(native, text);
    return text;
}

std::u16string Wide(const std::string& native) { return Cp1251ToUtf16(Shown(native)); }

bool Exists(const std::string& native) {
    struct stat st;
    return ::lstat(native.c_str(), &st) == 0;
}

ULONG AttributesOf(const std::string& native, ULONG wanted) {
    struct stat st, lst;
    if (::lstat(native.c_str(), &lst) != 0)
        return 0;
    const bool linked = S_ISLNK(lst.st_mode);
    if (::stat(native.c_str(), &st) != 0)
        st = lst;
    ULONG a = SFGAO_FILESYSTEM | SFGAO_CANCOPY | SFGAO_CANLINK;
    if (linked)
        a |= SFGAO_LINK;
    const fs::path p(native);
    if (p.filename().string().rfind('.', 0) == 0)
        a |= SFGAO_HIDDEN;
    if (::access(native.c_str(), W_OK) != 0)
        a |= SFGAO_READONLY;
    if (native != "/" && ::access(p.parent_path().c_str(), W_OK) == 0)
        a |= SFGAO_CANMOVE | SFGAO_CANRENAME | SFGAO_CANDELETE;
    if (S_ISDIR(st.st_mode)) {
        a |= SFGAO_FOLDER | SFGAO_FILESYSANCESTOR;
        // Looking for a subfolder reads the folder: only when asked.
        if (wanted & SFGAO_HASSUBFOLDER) {
            std::error_code ec;
            for (const auto& e : fs::directory_iterator(native, ec))
                if (e.is_directory(ec)) {
                    a |= SFGAO_HASSUBFOLDER;
                    break;
                }
        }
    } else {
        a |= SFGAO_STREAM;
    }
    return a;
}

class Allocator final : public IMalloc {
public:
    HRESULT QueryInterface(const IID& iid, void** object) override {
        if (!object)
            return E_INVALIDARG;
        *object = iid == IID_IUnknown || iid == IID_IMalloc ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    void* Alloc(std::size_t size) override { return CoTaskMemAlloc(size); }
    void* Realloc(void* block, std::size_t size) override { return CoTaskMemRealloc(block, size); }
    void Free(void* block) override { CoTaskMemFree(block); }
    std::size_t GetSize(void* block) override;
    int DidAlloc(void* block) override { return block ? -1 : 0; } // cannot tell
    void HeapMinimize() override {}
};

// Blocks carry their size ahead of them, so GetSize can answer.
struct BlockHead {
    std::size_t size;
    std::max_align_t align;
};
constexpr std::size_t kHead = offsetof(BlockHead, align);

std::size_t Allocator::GetSize(void* block) {
    if (!block)
        return std::size_t(-1);
    std::size_t size;
    std::memcpy(&size, static_cast<char*>(block) - kHead, sizeof size);
    return size;
}

template <class Interface> class Counted : public Interface {
public:
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        const ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }

private:
    std::atomic<ULONG> refs_{1};
};

class Enumerator final : public Counted<IEnumIDList> {
public:
    explicit Enumerator(std::vector<std::string> names) : names_(std::move(names)) {}
    HRESULT QueryInterface(const IID& iid, void** object) override {
        if (!object)
            return E_INVALIDARG;
        *object = iid == IID_IUnknown || iid == IID_IEnumIDList ? this : nullptr;
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    HRESULT Next(ULONG count, LPITEMIDLIST* lists, ULONG* fetched) override {
        if (!lists || (count > 1 && !fetched))
            return E_INVALIDARG;
        ULONG n = 0;
        for (; n < count && at_ < names_.size(); ++n)
            lists[n] = MakeList({names_[at_++]});
        if (fetched)
            *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT Skip(ULONG count) override {
        at_ = std::min(names_.size(), at_ + count);
        return at_ < names_.size() ? S_OK : S_FALSE;
    }
    HRESULT Reset() override {
        at_ = 0;
        return S_OK;
    }
    HRESULT Clone(IEnumIDList** copy) override {
        if (!copy)
            return E_INVALIDARG;
        auto* e = new Enumerator(names_);
        e->at_ = at_;
        *copy = e;
        return S_OK;
    }

private:
    std::vector<std::string> names_;
    size_t at_ = 0;
};

class Folder final : public Counted<IShellFolder> {
public:
    explicit Folder(std::vector<std::string> segments) : segments_(std::move(segments)) {}

    HRESULT QueryInterface(const IID& iid, void** object) override {
        if (!object)
            return E_INVALIDARG;
        *object = iid == IID_IUnknown || iid == IID_IShellFolder ? this : nullptr;
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

    HRESULT ParseDisplayName(void*, void*, const char16_t* name, ULONG* eaten, LPITEMIDLIST* list,
                             ULONG* attributes) override {
        if (!name || !list)
            return E_INVALIDARG;
        *list = nullptr;
        const std::u16string_view text(name);
        const std::string native = NativePath(Utf16ToCp1251(text));
        const fs::path full =
            !native.empty() && native[0] == '/' ? fs::path(native) : fs::path(Path()) / native;
        std::vector<std::string> target = PathSegments(full);
        if (!Exists(NativeOf(target)))
            return HResultFromError(ENOENT);
        if (target.size() < segments_.size() ||
            !std::equal(segments_.begin(), segments_.end(), target.begin()))
            return E_INVALIDARG; // outside this folder
        target.erase(target.begin(), target.begin() + std::ptrdiff_t(segments_.size()));
        *list = MakeList(target);
        if (!*list)
            return E_OUTOFMEMORY;
        if (eaten)
            *eaten = ULONG(text.size());
        if (attributes)
            *attributes &= AttributesOf(NativeOf(Joined(*list)), *attributes);
        return S_OK;
    }

    HRESULT EnumObjects(void*, DWORD flags, IEnumIDList** result) override {
        if (!result)
            return E_INVALIDARG;
        *result = nullptr;
        std::error_code ec;
        fs::directory_iterator it(Path(), ec);
        if (ec)
            return HResultFromError(DWORD(ec.value()));
        std::vector<std::string> names;
        for (const auto& e : it) {
            const std::string name = e.path().filename().string();
            if (name.rfind('.', 0) == 0 && !(flags & SHCONTF_INCLUDEHIDDEN))
                continue;
            const bool dir = e.is_directory(ec);
            if (dir ? (flags & SHCONTF_FOLDERS) : (flags & SHCONTF_NONFOLDERS))
                names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        *result = new Enumerator(std::move(names));
        return S_OK;
    }

    HRESULT BindToObject(LPCITEMIDLIST list, void*, const IID& iid, void** object) override {
        if (!object)
            return E_INVALIDARG;
        *object = nullptr;
        if (!(iid == IID_IShellFolder))
            return E_NOINTERFACE;
        const std::vector<std::string> target = Joined(list);
        std::error_code ec;
        if (!fs::is_directory(NativeOf(target), ec))
            return HResultFromError(ENOTDIR);
        *object = static_cast<IShellFolder*>(new Folder(target));
        return S_OK;
    }

    HRESULT BindToStorage(LPCITEMIDLIST, void*, const IID&, void** object) override {
        if (object)
            *object = nullptr;
        return E_NOTIMPL;
    }

    HRESULT CompareIDs(LPARAM, LPCITEMIDLIST list1, LPCITEMIDLIST list2) override {
        const auto a = Segments(list1), b = Segments(list2);
        int order = 0;
        for (size_t i = 0; !order && i < std::min(a.size(), b.size()); ++i) {
            order = CompareText(a[i], b[i]);
            if (!order)
                order = a[i].compare(b[i]);
        }
        if (!order)
            order = int(a.size()) - int(b.size());
        return HRESULT(WORD(short(order < 0 ? -1 : order > 0 ? 1 : 0)));
    }

    HRESULT CreateViewObject(void*, const IID&, void** object) override {
        if (object)
            *object = nullptr;
        return E_NOTIMPL;
    }

    HRESULT GetAttributesOf(UINT count, LPCITEMIDLIST* lists, ULONG* inOut) override {
        if (!inOut || (count && !lists))
            return E_INVALIDARG;
        const ULONG wanted = *inOut;
        ULONG shared = count ? ~ULONG(0) : AttributesOf(Path(), wanted);
        if (!count && !Exists(Path()))
            return HResultFromError(ENOENT);
        for (UINT i = 0; i < count; ++i) {
            const std::string native = NativeOf(Joined(lists[i]));
            if ((wanted & SFGAO_VALIDATE) && !Exists(native))
                return HResultFromError(ENOENT);
            shared &= AttributesOf(native, wanted);
        }
        *inOut = wanted & shared;
        return S_OK;
    }

    HRESULT GetUIObjectOf(void*, UINT, LPCITEMIDLIST*, const IID&, UINT*, void** object) override {
        if (object)
            *object = nullptr;
        return E_NOTIMPL;
    }

    HRESULT GetDisplayNameOf(LPCITEMIDLIST list, DWORD flags, STRRET* name) override {
        if (!name)
            return E_INVALIDARG;
        const std::vector<std::string> target = Joined(list);
        const bool full = (flags & SHGDN_FORPARSING) && !(flags & SHGDN_INFOLDER);
        const std::string text = full || target.empty() ? NativeOf(target) : target.back();
        const std::u16string wide = Wide(text);
        auto* out = static_cast<char16_t*>(CoTaskMemAlloc((wide.size() + 1) * sizeof(char16_t)));
        if (!out)
            return E_OUTOFMEMORY;
        std::memcpy(out, wide.c_str(), (wide.size() + 1) * sizeof(char16_t));
        name->uType = STRRET_WSTR;
        name->pOleStr = out;
        return S_OK;
    }

    HRESULT SetNameOf(void*, LPCITEMIDLIST list, const char16_t* name, DWORD,
                      LPITEMIDLIST* newList) override {
        if (newList)
            *newList = nullptr;
        const auto item = Segments(list);
        if (!name || item.size() != 1)
            return E_INVALIDARG;
        const std::string newName = NativePath(Utf16ToCp1251(name));
        if (newName.empty() || newName.find('/') != std::string::npos || newName == "." || newName == "..")
            return E_INVALIDARG;
        const fs::path dir(Path());
        if (::rename((dir / item[0]).c_str(), (dir / newName).c_str()) != 0)
            return HResultFromError(DWORD(errno));
        if (newList)
            *newList = MakeList({newName});
        return S_OK;
    }

private:
    std::string Path() const { return NativeOf(segments_); }
    std::vector<std::string> Joined(LPCITEMIDLIST list) const {
        std::vector<std::string> all = segments_;
        for (std::string& s : Segments(list))
            all.push_back(std::move(s));
        return all;
    }

    std::vector<std::string> segments_;
};

std::string EnvDir(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v && v[0] == '/' ? std::string(v) : fallback;
}

std::string Home() {
    const char* h = std::getenv("HOME");
    return h && *h ? std::string(h) : std::string("/");
}

// A folder of $XDG_CONFIG_HOME/user-dirs.dirs (lines NAME="$HOME/..." or NAME="/...").
std::string UserDir(const char* name, const std::string& fallback) {
    std::ifstream in(EnvDir("XDG_CONFIG_HOME", Home() + "/.config") + "/user-dirs.dirs");
    const std::string key = std::string(name) + "=\"";
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(key, 0) != 0 || line.size() < key.size() + 1 || line.back() != '"')
            continue;
        std::string value = line.substr(key.size(), line.size() - key.size() - 1);
        if (value.rfind("$HOME", 0) == 0)
            value = Home() + value.substr(5);
        if (!value.empty() && value[0] == '/')
            return value;
    }
    return fallback;
}

// The native path of a special folder; empty when it has no meaning here.
std::string SpecialNative(int folder) {
    switch (folder) {
    case CSIDL_DESKTOP:
    case CSIDL_DRIVES: return "/";
    case CSIDL_DESKTOPDIRECTORY: return UserDir("XDG_DESKTOP_DIR", Home() + "/Desktop");
    case CSIDL_PERSONAL: return UserDir("XDG_DOCUMENTS_DIR", Home());
    case CSIDL_TEMPLATES: return UserDir("XDG_TEMPLATES_DIR", Home());
    case CSIDL_MYPICTURES: return UserDir("XDG_PICTURES_DIR", Home());
    case CSIDL_MYMUSIC: return UserDir("XDG_MUSIC_DIR", Home());
    case CSIDL_MYVIDEO: return UserDir("XDG_VIDEOS_DIR", Home());
    case CSIDL_PROFILE: return Home();
    case CSIDL_APPDATA: return EnvDir("XDG_CONFIG_HOME", Home() + "/.config");
    case CSIDL_LOCAL_APPDATA: return EnvDir("XDG_DATA_HOME", Home() + "/.local/share");
    case CSIDL_INTERNET_CACHE: return EnvDir("XDG_CACHE_HOME", Home() + "/.cache");
    default: return "";
    }
}

std::string TypeName(const std::string& native, bool folder) {
    if (folder)
        return "File folder";
    const std::string ext = fs::path(native).extension().string();
    return ext.size() > 1 ? AnsiUpperCase(Shown(ext.substr(1))) + " File" : "File";
}

void CopyText(char* to, size_t size, const std::string& text) {
    const size_t n = std::min(size - 1, text.size());
    std::memcpy(to, text.data(), n);
    to[n] = 0;
}

} // namespace

// ---- Memory and the component model ------------------------------------------------------------

void* CoTaskMemAlloc(std::size_t size) {
    auto* p = static_cast<char*>(std::malloc(kHead + size));
    if (!p)
        return nullptr;
    std::memcpy(p, &size, sizeof size);
    return p + kHead;
}

void* CoTaskMemRealloc(void* block, std::size_t size) {
    if (!block)
        return CoTaskMemAlloc(size);
    auto* p = static_cast<char*>(std::realloc(static_cast<char*>(block) - kHead, kHead + size));
    if (!p)
        return nullptr;
    std::memcpy(p, &size, sizeof size);
    return p + kHead;
}

void CoTaskMemFree(void* block) {
    if (block)
        std::free(static_cast<char*>(block) - kHead);
}

HRESULT CoInitialize(void*) { return S_OK; }

void CoUninitialize() {}

HRESULT CoCreateInstance(const CLSID&, void*, DWORD, const IID&, void** object) {
    if (object)
        *object = nullptr;
    return REGDB_E_CLASSNOTREG;
}

DWORD GetFileVersionInfoSize(std::string_view, DWORD* handle) {
    if (handle)
        *handle = 0;
    SetLastError(ENODATA);
    return 0;
}

HRESULT CLSIDFromString(std::string_view t, CLSID* clsid) {
    // {xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}: 38 characters, dashes at 9, 14, 19 and 24.
    if (!clsid || t.size() != 38 || t[0] != '{' || t[37] != '}')
        return E_INVALIDARG;
    std::string hex;
    for (size_t i = 1; i < 37; ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash != (t[i] == '-'))
            return E_INVALIDARG;
        if (!dash) {
            if (!std::isxdigit(static_cast<unsigned char>(t[i])))
                return E_INVALIDARG;
            hex += t[i];
        }
    }
    auto field = [&](size_t from, size_t digits) {
        return std::strtoull(hex.substr(from, digits).c_str(), nullptr, 16);
    };
    clsid->Data1 = DWORD(field(0, 8));
    clsid->Data2 = WORD(field(8, 4));
    clsid->Data3 = WORD(field(12, 4));
    for (size_t i = 0; i < 8; ++i)
        clsid->Data4[i] = BYTE(field(16 + 2 * i, 2));
    return S_OK;
}

HRESULT SHGetMalloc(IMalloc** malloc) {
    static Allocator allocator;
    if (!malloc)
        return E_INVALIDARG;
    *malloc = &allocator;
    return S_OK;
}

HRESULT SHGetDesktopFolder(IShellFolder** folder) {
    if (!folder)
        return E_INVALIDARG;
    *folder = new Folder({});
    return S_OK;
}

// ---- Item-ID lists ------------------------------------------------------------------------------

UINT ILGetSize(LPCITEMIDLIST list) {
    if (!list)
        return 0;
    UINT size = 2;
    for (const std::string& s : Segments(list))
        size += UINT(2 + s.size());
    return size;
}

LPITEMIDLIST ILGetNext(LPCITEMIDLIST list) {
    if (!list || list->mkid.cb < 2)
        return nullptr;
    auto next = reinterpret_cast<const BYTE*>(list) + list->mkid.cb;
    WORD cb;
    std::memcpy(&cb, next, 2);
    return cb < 2 ? nullptr : reinterpret_cast<LPITEMIDLIST>(const_cast<BYTE*>(next));
}

LPITEMIDLIST ILFindLastID(LPCITEMIDLIST list) {
    if (!list)
        return nullptr;
    auto last = const_cast<LPITEMIDLIST>(list);
    for (LPITEMIDLIST next = ILGetNext(last); next; next = ILGetNext(next))
        last = next;
    return last;
}

BOOL ILRemoveLastID(LPITEMIDLIST list) {
    if (!list || list->mkid.cb < 2)
        return FALSE;
    LPITEMIDLIST last = ILFindLastID(list);
    last->mkid.cb = 0;
    reinterpret_cast<BYTE*>(last)[1] = 0;
    return TRUE;
}

LPITEMIDLIST ILClone(LPCITEMIDLIST list) { return list ? MakeList(Segments(list)) : nullptr; }

LPITEMIDLIST ILCloneFirst(LPCITEMIDLIST list) {
    if (!list)
        return nullptr;
    auto segments = Segments(list);
    segments.resize(std::min<size_t>(segments.size(), 1));
    return MakeList(segments);
}

LPITEMIDLIST ILCombine(LPCITEMIDLIST first, LPCITEMIDLIST second) {
    if (!first && !second)
        return nullptr;
    auto all = Segments(first);
    for (std::string& s : Segments(second))
        all.push_back(std::move(s));
    return MakeList(all);
}

BOOL ILIsEqual(LPCITEMIDLIST a, LPCITEMIDLIST b) {
    if (!a || !b)
        return a == b;
    return Segments(a) == Segments(b);
}

BOOL ILIsParent(LPCITEMIDLIST parent, LPCITEMIDLIST child, BOOL immediate) {
    if (!parent || !child)
        return FALSE;
    const auto p = Segments(parent), c = Segments(child);
    if (c.size() <= p.size() || (immediate && c.size() != p.size() + 1))
        return FALSE;
    return std::equal(p.begin(), p.end(), c.begin());
}

LPITEMIDLIST ILAppendID(LPITEMIDLIST list, const SHITEMID* item, BOOL append) {
    if (!item || item->cb < 2)
        return list;
    auto segments = Segments(list);
    std::string s(reinterpret_cast<const char*>(item->abID), item->cb - 2);
    if (append)
        segments.push_back(std::move(s));
    else
        segments.insert(segments.begin(), std::move(s));
    LPITEMIDLIST result = MakeList(segments);
    ILFree(list);
    return result;
}

void ILFree(LPITEMIDLIST list) { CoTaskMemFree(list); }

LPITEMIDLIST ILCreateFromPath(std::string_view path) {
    if (path.empty())
        return nullptr;
    std::error_code ec;
    const fs::path full = fs::absolute(NativePath(path), ec);
    if (ec)
        return nullptr;
    const auto segments = PathSegments(full);
    return Exists(NativeOf(segments)) ? MakeList(segments) : nullptr;
}

BOOL SHGetPathFromIDList(LPCITEMIDLIST list, char* path) {
    if (!path)
        return FALSE;
    path[0] = 0;
    std::string text;
    if (!TryFromNativePath(NativeOf(Segments(list)), text) || text.size() >= size_t(MAX_PATH))
        return FALSE;
    CopyText(path, MAX_PATH, text);
    return TRUE;
}

std::string SpecialFolderPath(int folder) {
    const std::string native = SpecialNative(folder);
    std::error_code ec;
    std::string path;
    return !native.empty() && fs::is_directory(native, ec) && TryFromNativePath(native, path) ? path : "";
}

HRESULT SHGetSpecialFolderLocation(void*, int folder, LPITEMIDLIST* list) {
    if (!list)
        return E_INVALIDARG;
    *list = nullptr;
    const std::string native = SpecialNative(folder);
    std::error_code ec;
    if (native.empty() || !fs::is_directory(native, ec))
        return E_FAIL;
    *list = MakeList(PathSegments(native));
    return *list ? S_OK : E_OUTOFMEMORY;
}

DWORD_PTR SHGetFileInfo(const void* path, DWORD fileAttributes, SHFILEINFO* info, UINT infoSize, UINT flags) {
    if (info && infoSize < sizeof(SHFILEINFO))
        return 0;
    std::string native;
    if (flags & SHGFI_PIDL) {
        native = NativeOf(Segments(static_cast<LPCITEMIDLIST>(path)));
    } else {
        if (!path)
            return 0;
        native = NativePath(static_cast<const char*>(path));
    }
    bool folder;
    ULONG attributes = 0;
    if (flags & SHGFI_USEFILEATTRIBUTES) {
        folder = fileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    } else {
        if (!Exists(native))
            return 0;
        attributes = AttributesOf(native, info && (flags & SHGFI_ATTRIBUTES) ? info->dwAttributes : 0);
        folder = attributes & SFGAO_FOLDER;
    }
    const bool program = !folder && !(flags & SHGFI_USEFILEATTRIBUTES) && ::access(native.c_str(), X_OK) == 0;
    if (info) {
        if (flags & (SHGFI_SYSICONINDEX | SHGFI_ICON))
            info->iIcon = native == "/" ? SHELL_ICON_ROOT
                          : folder  ? (flags & SHGFI_OPENICON ? SHELL_ICON_FOLDER_OPEN : SHELL_ICON_FOLDER)
                          : program ? SHELL_ICON_PROGRAM
                                    : SHELL_ICON_DOCUMENT;
        if (flags & SHGFI_ICON)
            info->hIcon = nullptr;
        if (flags & SHGFI_ATTRIBUTES)
            info->dwAttributes = attributes & info->dwAttributes;
        if (flags & SHGFI_DISPLAYNAME) {
            const fs::path p(native);
            CopyText(info->szDisplayName, MAX_PATH, Shown(native == "/" ? native : p.filename().string()));
        }
        if (flags & SHGFI_TYPENAME)
            CopyText(info->szTypeName, sizeof info->szTypeName, TypeName(native, folder));
    }
    if (flags & SHGFI_SYSICONINDEX)
        return flags & SHGFI_SMALLICON ? SHELL_IMAGELIST_SMALL : SHELL_IMAGELIST_LARGE;
    return 1;
}
