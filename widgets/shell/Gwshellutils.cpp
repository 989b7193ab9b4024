// Shell utilities (widget layer, shell) over the platform's shell namespace.
#include "Gwshellutils.h"

#include <algorithm>
#include <cstring>

#include "cp1251.h"
#include "registry.h"
#include "sysinfo.h"
#include "sysutils.h"

// ---------------------------------------------------------------- component model and memory

bool ShellComponentModelStarted() {
    struct TStart {
        bool Ok = Succeeded(CoInitialize(nullptr));
        ~TStart() {
            if (Ok)
                CoUninitialize();
        }
    };
    static TStart start;
    return start.Ok;
}

IMalloc_NRC* ShellIMalloc() {
    static IMalloc_NRC* malloc = [] {
        ShellComponentModelStarted();
        IMalloc* m = nullptr;
        return Succeeded(SHGetMalloc(&m)) ? m : nullptr;
    }();
    return malloc;
}

void* ShellMemAlloc(std::size_t Size) { return ShellIMalloc() ? ShellIMalloc()->Alloc(Size) : nullptr; }

void* ShellMemRealloc(void* Block, std::size_t Size) {
    return Block ? ShellIMalloc()->Realloc(Block, Size) : nullptr;
}

void ShellMemFree(void* Block) {
    if (Block)
        ShellIMalloc()->Free(Block);
}

HRESULT ShellGetDesktopFolder(IShellFolder_NRC*& Folder) { return SHGetDesktopFolder(&Folder); }

// ---------------------------------------------------------------- item-ID lists

namespace {

WORD ItemSize(const BYTE* P) {
    WORD cb;
    std::memcpy(&cb, P, sizeof cb);
    return cb;
}

const BYTE* Bytes(LPCITEMIDLIST L) { return reinterpret_cast<const BYTE*>(L); }

// The desktop's order of two lists: the low 16 bits of its result as a signed number.
int FolderOrder(IShellFolder_NRC* Folder, LPCITEMIDLIST A, LPCITEMIDLIST B, bool& Ok) {
    const HRESULT r = Folder->CompareIDs(0, A, B);
    Ok = Succeeded(r);
    return short(WORD(DWORD(r) & 0xFFFF));
}

LPITEMIDLIST Allocate(IMalloc_NRC* Malloc, std::size_t Size) {
    return static_cast<LPITEMIDLIST>(Malloc ? Malloc->Alloc(Size) : ShellMemAlloc(Size));
}

} // namespace

UINT IdListLen(LPCITEMIDLIST List) {
    if (!List)
        return 0;
    const BYTE* p = Bytes(List);
    UINT length = 0;
    for (WORD cb = ItemSize(p); cb != 0; cb = ItemSize(p + length))
        length += cb;
    return length + 2;
}

int CompareAbsIdLists(LPCITEMIDLIST A, LPCITEMIDLIST B) {
    if (!A && !B)
        return 0;
    if (!A || !B)
        return -1;
    const bool emptyA = ItemSize(Bytes(A)) == 0, emptyB = ItemSize(Bytes(B)) == 0;
    if (emptyA && emptyB)
        return 0;
    if (emptyA || emptyB)
        return -1;
    IShellFolder_NRC* desktop = nullptr;
    if (!Succeeded(ShellGetDesktopFolder(desktop)) || !desktop)
        return 0x7FFFFFFF;
    bool ok = false;
    const int order = FolderOrder(desktop, A, B, ok);
    desktop->Release();
    return ok ? order : 0x7FFFFFFF;
}

LPITEMIDLIST ConcatIdLists(IMalloc_NRC* Malloc, LPCITEMIDLIST A, LPCITEMIDLIST B) {
    const UINT la = std::max<int>(int(IdListLen(A)) - 2, 0), lb = std::max<int>(int(IdListLen(B)) - 2, 0);
    LPITEMIDLIST list = Allocate(Malloc, la + lb + 2);
    if (!list)
        return nullptr;
    BYTE* out = reinterpret_cast<BYTE*>(list);
    if (la)
        std::memcpy(out, A, la);
    if (lb)
        std::memcpy(out + la, B, lb);
    out[la + lb] = out[la + lb + 1] = 0;
    return list;
}

LPITEMIDLIST CopyIdList(IMalloc_NRC* Malloc, LPCITEMIDLIST A) { return ConcatIdLists(Malloc, A, nullptr); }

int TGwIdListArray::Count() const {
    if (!FList)
        return 0;
    int n = 0;
    for (const BYTE* p = Bytes(FList); ItemSize(p) != 0; p += ItemSize(p))
        ++n;
    return n;
}

LPITEMIDLIST TGwIdListArray::GetItem(int Index) {
    ShellMemFree(FResult);
    FResult = nullptr;
    if (!FList || Index < 0)
        return nullptr;
    const int count = Count();
    if (count == 0 && Index == 0)
        return FResult = CopyIdList(nullptr, FList);
    if (Index >= count)
        return nullptr;
    const BYTE* p = Bytes(FList);
    for (int i = 0; i < Index; ++i)
        p += ItemSize(p);
    const WORD cb = ItemSize(p);
    FResult = static_cast<LPITEMIDLIST>(ShellMemAlloc(cb + 2u));
    if (FResult) {
        BYTE* out = reinterpret_cast<BYTE*>(FResult);
        std::memcpy(out, p, cb);
        out[cb] = out[cb + 1] = 0;
    }
    return FResult;
}

LPITEMIDLIST TGwIdListArray::GoUp(int Levels) {
    ShellMemFree(FResult);
    FResult = nullptr;
    const int count = Count(), keep = count - Levels;
    if (!FList || keep < 0 || keep > count)
        return nullptr;
    const BYTE* p = Bytes(FList);
    size_t size = 0;
    for (int i = 0; i < keep; ++i)
        size += ItemSize(p + size);
    FResult = static_cast<LPITEMIDLIST>(ShellMemAlloc(size + 2));
    if (FResult) {
        BYTE* out = reinterpret_cast<BYTE*>(FResult);
        std::memset(out, 0, size + 2);
        std::memcpy(out, p, size);
    }
    return FResult;
}

// ---------------------------------------------------------------- list of item-ID lists

TGwPidlList::TEntry& TGwPidlList::At(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    return FItems[size_t(Index)];
}

int TGwPidlList::Compare(LPCITEMIDLIST A, LPCITEMIDLIST B) const {
    if (ShellFolder) {
        bool ok = false;
        return FolderOrder(ShellFolder, A, B, ok);
    }
    const UINT la = IdListLen(A), lb = IdListLen(B);
    const BYTE *pa = Bytes(A), *pb = Bytes(B);
    for (UINT i = 0; i < std::min(la, lb); ++i)
        if (pa[i] != pb[i])
            return int(pa[i]) - int(pb[i]);
    return int(la) - int(lb);
}

bool TGwPidlList::BinarySearch(LPCITEMIDLIST List, int& Index) const {
    int low = 0, high = Count() - 1;
    bool found = false;
    while (low <= high) {
        const int middle = (low + high) >> 1;
        const int c = Compare(FItems[size_t(middle)].List, List);
        if (c < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
            if (c == 0) {
                found = true;
                if (Duplicates != dupAccept)
                    low = middle;
            }
        }
    }
    Index = low;
    return found;
}

int TGwPidlList::AddObject(LPITEMIDLIST List, TObject* Object) {
    if (!FSorted) {
        FItems.push_back({List, Object});
        return Count() - 1;
    }
    int index = 0;
    if (BinarySearch(List, index)) {
        if (Duplicates == dupIgnore)
            return index;
        if (Duplicates == dupError)
            throw Exception("TGwPidlList: Duplicate PIDL");
    }
    InsertObject(index, List, Object);
    return index;
}

void TGwPidlList::InsertObject(int Index, LPITEMIDLIST List, TObject* Object) {
    if (Index < 0 || Index > Count())
        throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    FItems.insert(FItems.begin() + Index, TEntry{List, Object});
}

void TGwPidlList::Delete(int Index) {
    TEntry& e = At(Index);
    if (Malloc && e.List)
        Malloc->Free(e.List);
    FItems.erase(FItems.begin() + Index);
}

void TGwPidlList::Clear() {
    while (Count() > 0)
        Delete(Count() - 1);
}

int TGwPidlList::IndexOf(LPCITEMIDLIST List) const {
    if (FSorted) {
        int index = 0;
        return BinarySearch(List, index) ? index : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (Compare(FItems[size_t(i)].List, List) == 0)
            return i;
    return -1;
}

void TGwPidlList::SetSorted(bool Value) {
    FSorted = Value;
    if (Value)
        std::stable_sort(FItems.begin(), FItems.end(),
                         [this](const TEntry& a, const TEntry& b) { return Compare(a.List, b.List) < 0; });
}

// ---------------------------------------------------------------- versions

bool IsWin95() { return PlatformVersion.Platform == VER_PLATFORM_WIN32_WINDOWS; }
bool IsOSR2OrGreater() { return IsWin95() && PlatformVersion.Build > 1000; }
bool IsWinNT() { return PlatformVersion.Platform == VER_PLATFORM_WIN32_NT; }
bool IsWin2000() { return IsWinNT() && PlatformVersion.Major >= 5; }
bool HasWin95Shell() { return IsWin95() || (IsWinNT() && PlatformVersion.Major >= 4); }

TGwModuleVersion ComCtlVersion() {
    return {0, (PlatformVersion.ComCtlMajor << 16) | PlatformVersion.ComCtlMinor};
}

TGwModuleVersion ShellVersion() {
    return {PlatformVersion.Build << 16, (PlatformVersion.Major << 16) | PlatformVersion.Minor};
}

bool GetModuleVersion(const std::string& FileName, TGwModuleVersion& Version) {
    DWORD handle = 0;
    if (GetFileVersionInfoSize(FileName, &handle) == 0)
        return false;
    Version = {0, 0};
    return false;
}

// ---------------------------------------------------------------- folders, names and icons

namespace {

// The shell's number of each special folder: the enumeration's ordinal.
int CsidlNumber(TCSIDL Folder) { return int(Folder); }

DWORD NameFlags(TGwFriendlyNameFlags Flags) {
    static const DWORD flags[] = {SHGDN_NORMAL, SHGDN_INFOLDER, SHGDN_FORPARSING,
                                  SHGDN_FOREDITING | SHGDN_INFOLDER};
    return flags[Flags];
}

} // namespace

HRESULT ShellGetFolderFromIdList(LPCITEMIDLIST IdList, IShellFolder_NRC*& Folder) {
    IShellFolder_NRC* desktop = nullptr;
    HRESULT r = ShellGetDesktopFolder(desktop);
    if (!Succeeded(r))
        return r;
    if (!IdList || ItemSize(Bytes(IdList)) == 0) {
        Folder = desktop;
        return r;
    }
    r = desktop->BindToObject(IdList, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&Folder));
    desktop->Release();
    return r;
}

HRESULT ShellGetIdListFromPath(const std::string& Path, LPITEMIDLIST& IdList) {
    IShellFolder_NRC* desktop = nullptr;
    HRESULT r = ShellGetDesktopFolder(desktop);
    if (!Succeeded(r))
        return r;
    std::u16string wide = Cp1251ToUtf16(Path);
    wide.resize(std::min<size_t>(wide.size(), MAX_PATH));
    ULONG eaten = 0;
    r = desktop->ParseDisplayName(nullptr, nullptr, wide.c_str(), &eaten, &IdList, nullptr);
    desktop->Release();
    return r;
}

std::string ShellGetPathFromIdList(LPCITEMIDLIST IdList) {
    static const BYTE empty[2] = {0, 0};
    char path[MAX_PATH] = {};
    const LPCITEMIDLIST list = IdList ? IdList : reinterpret_cast<LPCITEMIDLIST>(empty);
    return SHGetPathFromIDList(list, path) ? std::string(path) : std::string();
}

std::string ShellGetDisplayPathName(const std::string& Path) {
    LPITEMIDLIST list = nullptr;
    if (!Succeeded(ShellGetIdListFromPath(Path, list)))
        return "";
    const std::string result = ShellGetPathFromIdList(list);
    ShellMemFree(list);
    return result;
}

HRESULT ShellGetSpecialFolderIdList(TCSIDL Folder, LPITEMIDLIST& IdList) {
    return SHGetSpecialFolderLocation(nullptr, CsidlNumber(Folder), &IdList);
}

std::string ShellGetSpecialFolderPath(TCSIDL Folder) {
    LPITEMIDLIST list = nullptr;
    if (!Succeeded(ShellGetSpecialFolderIdList(Folder, list)))
        return "";
    const std::string result = ShellGetPathFromIdList(list);
    ShellMemFree(list);
    return result;
}

int ShellGetIconIndex(LPCITEMIDLIST IdList, UINT Flags) {
    SHFILEINFO info{};
    SHGetFileInfo(IdList, 0, &info, sizeof info, Flags | SHGFI_SYSICONINDEX | SHGFI_PIDL);
    return info.iIcon;
}

int ShellGetIconIndexFromPath(const std::string& Path, UINT Flags) {
    SHFILEINFO info{};
    SHGetFileInfo(Path.c_str(), 0, &info, sizeof info, Flags | SHGFI_SYSICONINDEX);
    return info.iIcon;
}

int ShellGetIconIndexFromExt(const std::string& Ext, UINT Flags) {
    SHFILEINFO info{};
    SHGetFileInfo(Ext.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                  Flags | SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES);
    return info.iIcon;
}

int ShellGetSpecialFolderIconIndex(TCSIDL Folder, UINT Flags) {
    LPITEMIDLIST list = nullptr;
    const HRESULT r = ShellGetSpecialFolderIdList(Folder, list);
    if (!Succeeded(r))
        throw Exception("Special folder " + IntToStr(int(Folder)) + " unavailable (" + IntToHex(DWORD(r), 8) +
                        ")");
    const int index = ShellGetIconIndex(list, Flags);
    ShellMemFree(list);
    return index;
}

bool ShellCSIDLEqualsIdList(LPCITEMIDLIST IdList, TCSIDL Folder) {
    LPITEMIDLIST list = nullptr;
    if (!Succeeded(ShellGetSpecialFolderIdList(Folder, list)))
        return false;
    const bool equal = CompareAbsIdLists(IdList, list) == 0;
    ShellMemFree(list);
    return equal;
}

TCSIDL ShellFindCSIDLFromIdList(LPCITEMIDLIST IdList) {
    for (int f = csidlDesktop; f < csidlNone; ++f)
        if (ShellCSIDLEqualsIdList(IdList, TCSIDL(f)))
            return TCSIDL(f);
    return csidlNone;
}

std::string StrretToString(LPCITEMIDLIST IdList, const STRRET& StrRet) {
    switch (StrRet.uType) {
    case STRRET_WSTR: return StrRet.pOleStr ? Utf16ToCp1251(StrRet.pOleStr) : std::string();
    case STRRET_OFFSET:
        return IdList ? std::string(reinterpret_cast<const char*>(Bytes(IdList) + StrRet.uOffset)) : "";
    case STRRET_CSTR: return std::string(StrRet.cStr, strnlen(StrRet.cStr, MAX_PATH));
    default: return "";
    }
}

void StrretFree(STRRET& StrRet) {
    if (StrRet.uType == STRRET_WSTR && StrRet.pOleStr) {
        CoTaskMemFree(StrRet.pOleStr);
        StrRet.pOleStr = nullptr;
    }
}

std::string ShellGetFriendlyNameFromIdList(IShellFolder_NRC* Folder, LPCITEMIDLIST IdList,
                                           TGwFriendlyNameFlags Flags) {
    IShellFolder_NRC* folder = Folder;
    if (!folder && !Succeeded(ShellGetDesktopFolder(folder)))
        return "";
    STRRET name{};
    HRESULT r = folder->GetDisplayNameOf(IdList, NameFlags(Flags), &name);
    if (!Succeeded(r))
        r = folder->GetDisplayNameOf(IdList, NameFlags(Flags), &name);
    std::string result;
    if (Succeeded(r)) {
        result = StrretToString(IdList, name);
        StrretFree(name);
    }
    if (!Folder)
        folder->Release();
    return result;
}

std::string ShellGetFriendlyNameForLastIdListElement(LPCITEMIDLIST IdList) {
    TGwIdListArray items(IdList);
    const int count = items.Count();
    if (count <= 1)
        return ShellGetFriendlyNameFromIdList(nullptr, IdList, fnInFolder);
    IShellFolder_NRC* parent = nullptr;
    if (!Succeeded(ShellGetFolderFromIdList(items.GoUp(1), parent)))
        return "";
    const std::string name = ShellGetFriendlyNameFromIdList(parent, items.GetItem(count - 1), fnInFolder);
    parent->Release();
    return name;
}

DWORD_PTR ShellGetSystemImageList(TGwShellIconSize Size) {
    static const BYTE empty[2] = {0, 0};
    SHFILEINFO info{};
    return SHGetFileInfo(empty, 0, &info, sizeof info,
                         SHGFI_PIDL | SHGFI_SYSICONINDEX |
                             (Size == iszSmall ? SHGFI_SMALLICON : SHGFI_LARGEICON));
}

// ---------------------------------------------------------------- shortcuts, file types, drives

namespace {

// The shell-link class ({00021401-0000-0000-C000-000000000046}).
CLSID ShellLinkClass() {
    CLSID c{};
    CLSIDFromString("{00021401-0000-0000-C000-000000000046}", &c);
    return c;
}

int FlushLock = 0;

} // namespace

bool CreateShortcut(const std::string&, const TLinkData&) {
    void* link = nullptr;
    return Succeeded(CoCreateInstance(ShellLinkClass(), nullptr, 1, IID_IUnknown, &link));
}

bool CreateQuickShortcut(const std::string& FileName, const std::string& Target) {
    TLinkData data;
    data.PathName = Target;
    data.Options = TLinkDataOptions{ldoUseDesc, ldoUseWorkDir};
    data.Desc = Target;
    data.WorkingDir = ExtractFilePath(Target);
    return CreateShortcut(FileName, data);
}

bool ResolveShortcut(const std::string&, TLinkData& LinkData, bool) {
    LinkData.IdList = nullptr;
    void* link = nullptr;
    return Succeeded(CoCreateInstance(ShellLinkClass(), nullptr, 1, IID_IUnknown, &link));
}

bool GwClsidFromFileType(const std::string& FileType, CLSID& Clsid) {
    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    if (!reg.OpenKeyReadOnly(FileType))
        return false;
    std::string value = reg.ReadString("");
    if (AnsiUpperCase(value.substr(0, 6)) == "CLSID\\")
        return Succeeded(CLSIDFromString(value.substr(6), &Clsid));
    if (!reg.KeyExists("CLSID")) {
        reg.CloseKey();
        if (value.empty() || !reg.OpenKeyReadOnly(value))
            return false;
    }
    if (!reg.OpenKeyReadOnly(reg.CurrentPath() + "\\CLSID"))
        return false;
    return Succeeded(CLSIDFromString(reg.ReadString(""), &Clsid));
}

void FlushDriveInfoCache() {
    if (FlushLock > 0)
        return;
    LPITEMIDLIST drives = nullptr;
    if (!Succeeded(ShellGetSpecialFolderIdList(csidlDrives, drives)))
        return;
    IShellFolder_NRC* folder = nullptr;
    if (Succeeded(ShellGetFolderFromIdList(drives, folder)) && folder) {
        ULONG attributes = SFGAO_VALIDATE;
        folder->GetAttributesOf(0, nullptr, &attributes);
        folder->Release();
    }
    ShellMemFree(drives);
}

void LockFlushDriveInfoCache() { ++FlushLock; }
void UnlockFlushDriveInfoCache() { --FlushLock; }

bool IsNetworkDriveConnected(char) { return true; }

// ---------------------------------------------------------------- strings

std::string FormatStrPos(const std::string& Format, const std::vector<std::string>& Strings) {
    if (Strings.size() > 50)
        throw Exception("FormatStrPos: Too many substitution strings");
    std::string out;
    for (size_t i = 0; i < Format.size(); ++i) {
        if (Format[i] != '%' || i + 1 >= Format.size()) {
            out += Format[i];
            continue;
        }
        size_t j = i + 1;
        int n = 0;
        while (j < Format.size() && j < i + 3 && Format[j] >= '0' && Format[j] <= '9')
            n = n * 10 + (Format[j++] - '0');
        if (j == i + 1) {
            // "%%" and the other escapes stand for the character after the percent sign.
            out += Format[j];
            i = j;
            continue;
        }
        if (n >= 1 && size_t(n) <= Strings.size())
            out += Strings[size_t(n - 1)];
        i = j - 1;
    }
    return out;
}

std::string EnsureTrailingCharDB(const std::string& S, char Ch) {
    if (S.empty() || S.back() == Ch)
        return S;
    return S + Ch;
}

std::string TrimRightDB(const std::string& S) {
    size_t end = S.size();
    while (end > 0 && static_cast<unsigned char>(S[end - 1]) < 33)
        --end;
    return S.substr(0, end);
}

void CopyCharDB(size_t& Index, const std::string& S, std::string& Dest) {
    if (Index < S.size())
        Dest += S[Index++];
}

void ParametizeCmdLineDB(const std::string& CmdLine, TStrings* List) {
    enum { Between, Word, Quoted } state = Between;
    std::string text;
    auto flush = [&] {
        const std::string t = TrimRightDB(text);
        if (!t.empty())
            List->Add(t);
        text.clear();
    };
    for (size_t i = 0; i < CmdLine.size();) {
        const char c = CmdLine[i];
        const bool separator = c == ' ' || c == '\t';
        switch (state) {
        case Between:
            if (c == '"') {
                text.clear();
                state = Quoted;
                ++i;
            } else if (separator) {
                ++i;
            } else {
                text.clear();
                CopyCharDB(i, CmdLine, text);
                state = Word;
            }
            break;
        case Word:
            if (c == '"' || separator) {
                flush();
                state = c == '"' ? Quoted : Between;
                ++i;
            } else {
                CopyCharDB(i, CmdLine, text);
            }
            break;
        case Quoted:
            if (c == '"') {
                flush();
                state = Between;
                ++i;
            } else {
                CopyCharDB(i, CmdLine, text);
            }
            break;
        }
    }
    flush();
}

// ---------------------------------------------------------------- device changes

void TGwDeviceChangeHandler::Add(const void* Id, TGwDeviceChangeMethod Handler) {
    FHandlers.push_back({Id, std::move(Handler)});
}

void TGwDeviceChangeHandler::Remove(const void* Id) {
    auto it = std::find_if(FHandlers.begin(), FHandlers.end(), [Id](const TEntry& e) { return e.Id == Id; });
    if (it != FHandlers.end())
        FHandlers.erase(it);
}

void TGwDeviceChangeHandler::BroadcastToList(TMessage& Message) {
    if (!Enabled)
        return;
    // A handler may register or remove others: walk a copy.
    const std::vector<TEntry> handlers = FHandlers;
    for (const TEntry& e : handlers)
        e.Handler(Message);
}

TGwDeviceChangeHandler* GwDeviceChangeHandler() {
    static TGwDeviceChangeHandler handler;
    return &handler;
}
