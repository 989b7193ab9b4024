// Beside-the-GUI platform layer: the shell namespace, which here is the file system. An item-ID
// list is a run of items, each a 16-bit byte count (itself included) followed by one path segment
// as the file system spells it; a 16-bit zero ends the list. An absolute list names a path from
// "/": the empty list is the desktop (the namespace root, the folder "/"). Special folders come
// from the XDG user folders; names and attributes from the file system; icons are a fixed set.
// Memory handed out (lists, wide strings) comes from CoTaskMemAlloc and goes back through
// CoTaskMemFree, ILFree or the allocator of SHGetMalloc, which are one and the same.
// Calls without a meaning here (shortcut objects, version resources) fail as on a system that
// lacks them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "hresult.h"
#include "wintypes.h"

using LPARAM = std::intptr_t;
using DWORD_PTR = std::uintptr_t;

constexpr HRESULT E_INVALIDARG = HRESULT(0x80070057u);
constexpr HRESULT REGDB_E_CLASSNOTREG = HRESULT(0x80040154u);
// A system error code (errno) as a result code, as HRESULT_FROM_WIN32 forms one.
constexpr HRESULT HResultFromError(DWORD error) {
    return error ? HRESULT(0x80070000u | (error & 0xFFFF)) : S_OK;
}
constexpr bool Succeeded(HRESULT r) { return r >= 0; }

constexpr int MAX_PATH = 260;

#pragma pack(push, 1)
struct SHITEMID {
    WORD cb;
    BYTE abID[1];
};
struct ITEMIDLIST {
    SHITEMID mkid;
};
#pragma pack(pop)
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;

struct GUID {
    DWORD Data1;
    WORD Data2, Data3;
    BYTE Data4[8];
    bool operator==(const GUID&) const = default;
};
using IID = GUID;
using CLSID = GUID;
extern const IID IID_IUnknown;
extern const IID IID_IMalloc;
extern const IID IID_IShellFolder;
extern const IID IID_IEnumIDList;

// Reads "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"; E_INVALIDARG for anything else.
HRESULT CLSIDFromString(std::string_view Text, CLSID* Clsid);

// ---- Memory -------------------------------------------------------------------------------------

void* CoTaskMemAlloc(std::size_t Size);
void* CoTaskMemRealloc(void* Block, std::size_t Size);
void CoTaskMemFree(void* Block);
// The component model needs no start here; kept so callers pair them as they did.
HRESULT CoInitialize(void* Reserved);
void CoUninitialize();
// No component classes are registered: always REGDB_E_CLASSNOTREG (shortcut objects and the
// like have no meaning here).
HRESULT CoCreateInstance(const CLSID& Clsid, void* Outer, DWORD Context, const IID& Iid, void** Object);
// No file carries a version resource: 0, with the last error ENODATA.
DWORD GetFileVersionInfoSize(std::string_view FileName, DWORD* Handle);

class IUnknown {
public:
    virtual HRESULT QueryInterface(const IID& Iid, void** Object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

class IMalloc : public IUnknown {
public:
    virtual void* Alloc(std::size_t Size) = 0;
    virtual void* Realloc(void* Block, std::size_t Size) = 0;
    virtual void Free(void* Block) = 0;
    virtual std::size_t GetSize(void* Block) = 0;
    virtual int DidAlloc(void* Block) = 0;
    virtual void HeapMinimize() = 0;
};

class IEnumIDList : public IUnknown {
public:
    // Up to Count child lists (one item each, relative to the folder); S_FALSE when fewer.
    virtual HRESULT Next(ULONG Count, LPITEMIDLIST* Lists, ULONG* Fetched) = 0;
    virtual HRESULT Skip(ULONG Count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumIDList** Copy) = 0;
};

// Display-name forms and enumeration and attribute flags, with the shell's values.
enum : DWORD {
    SHGDN_NORMAL = 0,
    SHGDN_INFOLDER = 1,
    SHGDN_FOREDITING = 0x1000,
    SHGDN_FORADDRESSBAR = 0x4000,
    SHGDN_FORPARSING = 0x8000
};
enum : DWORD { SHCONTF_FOLDERS = 0x20, SHCONTF_NONFOLDERS = 0x40, SHCONTF_INCLUDEHIDDEN = 0x80 };
enum : ULONG {
    SFGAO_CANCOPY = 0x1,
    SFGAO_CANMOVE = 0x2,
    SFGAO_CANLINK = 0x4,
    SFGAO_CANRENAME = 0x10,
    SFGAO_CANDELETE = 0x20,
    SFGAO_LINK = 0x10000,
    SFGAO_READONLY = 0x40000,
    SFGAO_HIDDEN = 0x80000,
    SFGAO_STREAM = 0x400000,
    SFGAO_VALIDATE = 0x1000000,
    SFGAO_FILESYSANCESTOR = 0x10000000,
    SFGAO_FOLDER = 0x20000000,
    SFGAO_FILESYSTEM = 0x40000000,
    SFGAO_HASSUBFOLDER = 0x80000000
};

enum : UINT { STRRET_WSTR = 0, STRRET_OFFSET = 1, STRRET_CSTR = 2 };
struct STRRET {
    UINT uType;
    union {
        char16_t* pOleStr; // STRRET_WSTR: from CoTaskMemAlloc, freed by the caller
        UINT uOffset;
        char cStr[MAX_PATH];
    };
};

// A folder of the namespace. Lists given to it are relative to it (the desktop's are absolute);
// names are UTF-16 at the interface and Windows-1251 inside.
class IShellFolder : public IUnknown {
public:
    // A path relative to the folder, or absolute; the item must exist (else the system's
    // error code). Eaten, when given, is the length of the name.
    virtual HRESULT ParseDisplayName(void* Owner, void* BindContext, const char16_t* Name, ULONG* Eaten,
                                     LPITEMIDLIST* List, ULONG* Attributes) = 0;
    virtual HRESULT EnumObjects(void* Owner, DWORD Flags, IEnumIDList** Enum) = 0;
    // The folder a list names (IID_IShellFolder only).
    virtual HRESULT BindToObject(LPCITEMIDLIST List, void* BindContext, const IID& Iid, void** Object) = 0;
    virtual HRESULT BindToStorage(LPCITEMIDLIST List, void* BindContext, const IID& Iid, void** Object) = 0;
    // The low 16 bits of the result hold the order as a signed number (<0, 0, >0): item by item,
    // names without case first, then by bytes, a shorter list first.
    virtual HRESULT CompareIDs(LPARAM Param, LPCITEMIDLIST List1, LPCITEMIDLIST List2) = 0;
    virtual HRESULT CreateViewObject(void* Owner, const IID& Iid, void** Object) = 0;
    // The attributes the items share, among those asked for in InOut; with no items, the
    // folder's own. SFGAO_VALIDATE fails for an item that is not there.
    virtual HRESULT GetAttributesOf(UINT Count, LPCITEMIDLIST* Lists, ULONG* InOut) = 0;
    virtual HRESULT GetUIObjectOf(void* Owner, UINT Count, LPCITEMIDLIST* Lists, const IID& Iid,
                                  UINT* Reserved, void** Object) = 0;
    // SHGDN_FORPARSING without SHGDN_INFOLDER: the full path; otherwise the item's own name.
    virtual HRESULT GetDisplayNameOf(LPCITEMIDLIST List, DWORD Flags, STRRET* Name) = 0;
    // Renames an item of this folder; the new one-item list goes to NewList when given.
    virtual HRESULT SetNameOf(void* Owner, LPCITEMIDLIST List, const char16_t* Name, DWORD Flags,
                              LPITEMIDLIST* NewList) = 0;
};

HRESULT SHGetMalloc(IMalloc** Malloc);
HRESULT SHGetDesktopFolder(IShellFolder** Folder);

// ---- Item-ID lists ------------------------------------------------------------------------------

UINT ILGetSize(LPCITEMIDLIST List);            // bytes with the terminator; 0 for none
LPITEMIDLIST ILGetNext(LPCITEMIDLIST List);    // the next item; none at the end
LPITEMIDLIST ILFindLastID(LPCITEMIDLIST List); // the last item (the terminator when empty)
BOOL ILRemoveLastID(LPITEMIDLIST List);        // in place; FALSE for an empty list
LPITEMIDLIST ILClone(LPCITEMIDLIST List);
LPITEMIDLIST ILCloneFirst(LPCITEMIDLIST List);
LPITEMIDLIST ILCombine(LPCITEMIDLIST First, LPCITEMIDLIST Second);
BOOL ILIsEqual(LPCITEMIDLIST A, LPCITEMIDLIST B); // item by item, bytes
BOOL ILIsParent(LPCITEMIDLIST Parent, LPCITEMIDLIST Child, BOOL Immediate);
// A new list with the item appended (or prepended); List is freed.
LPITEMIDLIST ILAppendID(LPITEMIDLIST List, const SHITEMID* Item, BOOL Append);
void ILFree(LPITEMIDLIST List);
// The absolute list of an existing file or folder (a relative path is taken from the current
// folder); none when it is not there.
LPITEMIDLIST ILCreateFromPath(std::string_view Path);

// The file-system path of an absolute list into Path (MAX_PATH bytes); FALSE when it is longer.
BOOL SHGetPathFromIDList(LPCITEMIDLIST List, char* Path);

// Special folders, numbered as the shell numbers them.
enum : int {
    CSIDL_DESKTOP = 0,
    CSIDL_PERSONAL = 5,
    CSIDL_TEMPLATES = 21,
    CSIDL_DESKTOPDIRECTORY = 16,
    CSIDL_DRIVES = 17,
    CSIDL_APPDATA = 26,
    CSIDL_LOCAL_APPDATA = 28,
    CSIDL_INTERNET_CACHE = 32,
    CSIDL_MYPICTURES = 39,
    CSIDL_PROFILE = 40,
    CSIDL_MYMUSIC = 13,
    CSIDL_MYVIDEO = 14
};
// The desktop and the computer are the root; the user folders follow the XDG user folders
// ($XDG_CONFIG_HOME/user-dirs.dirs; the desktop defaults to ~/Desktop, the others to ~); the
// application-data folders follow XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_CACHE_HOME. A folder
// that is not there, and the folders of Windows itself, fail with E_FAIL.
HRESULT SHGetSpecialFolderLocation(void* Owner, int Folder, LPITEMIDLIST* List);
// The same folder's path, or an empty string.
std::string SpecialFolderPath(int Folder);

// ---- File information ---------------------------------------------------------------------------

enum : UINT {
    SHGFI_LARGEICON = 0,
    SHGFI_SMALLICON = 0x1,
    SHGFI_OPENICON = 0x2,
    SHGFI_PIDL = 0x8,
    SHGFI_USEFILEATTRIBUTES = 0x10,
    SHGFI_ICON = 0x100,
    SHGFI_DISPLAYNAME = 0x200,
    SHGFI_TYPENAME = 0x400,
    SHGFI_ATTRIBUTES = 0x800,
    SHGFI_SYSICONINDEX = 0x4000
};
enum : DWORD { FILE_ATTRIBUTE_DIRECTORY = 0x10, FILE_ATTRIBUTE_NORMAL = 0x80 };
// The fixed icon set: indexes into the system image list.
enum : int {
    SHELL_ICON_DOCUMENT = 0,
    SHELL_ICON_FOLDER = 1,
    SHELL_ICON_FOLDER_OPEN = 2,
    SHELL_ICON_PROGRAM = 3,
    SHELL_ICON_ROOT = 4
};
// The system image lists, as tokens for the painting side to draw the fixed set from.
constexpr DWORD_PTR SHELL_IMAGELIST_LARGE = 1, SHELL_IMAGELIST_SMALL = 2;

struct SHFILEINFO {
    void* hIcon; // never set: icons are drawn from the image list by index
    int iIcon;
    DWORD dwAttributes;
    char szDisplayName[MAX_PATH];
    char szTypeName[80];
};

// Path is a Windows-1251 path, or with SHGFI_PIDL an absolute list. With SHGFI_SYSICONINDEX the
// result is the image list's token, otherwise non-zero on success; 0 when the item is not there
// (unless SHGFI_USEFILEATTRIBUTES takes FileAttributes instead of asking the file system).
DWORD_PTR SHGetFileInfo(const void* Path, DWORD FileAttributes, SHFILEINFO* Info, UINT InfoSize, UINT Flags);
