// Shell utilities of the Gw widget library (widget layer, shell): shell memory, item-ID lists and
// lists of them, system version tests, folders, names and icons from the shell namespace, shortcut
// files, file-type classes, command-line splitting and the device-change fan-out.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Gwshellintf.h"
#include "classes.h"
#include "messages.h"

// ---- shell memory and item-ID lists

void* ShellMemAlloc(std::size_t Size);
// Nothing is called for a null block.
void* ShellMemRealloc(void* Block, std::size_t Size);
void ShellMemFree(void* Block);
IMalloc_NRC* ShellIMalloc();
HRESULT ShellGetDesktopFolder(IShellFolder_NRC*& Folder);

// Bytes of the items plus 2 for the terminator; 0 for none.
UINT IdListLen(LPCITEMIDLIST List);
// 0 when equal, -1 when only one is null or empty, else the desktop's order; 0x7FFFFFFF when the
// desktop cannot compare.
int CompareAbsIdLists(LPCITEMIDLIST A, LPCITEMIDLIST B);
// New lists from Malloc (the shell's allocator when null); null when memory runs out.
LPITEMIDLIST ConcatIdLists(IMalloc_NRC* Malloc, LPCITEMIDLIST A, LPCITEMIDLIST B);
LPITEMIDLIST CopyIdList(IMalloc_NRC* Malloc, LPCITEMIDLIST A);

// One item-ID list seen as an array of its items. Each result stays valid until the next call.
class TGwIdListArray : public TObject {
public:
    explicit TGwIdListArray(LPCITEMIDLIST List) : FList(List) {}
    ~TGwIdListArray() override { ShellMemFree(FResult); }
    int Count() const;
    // The item alone; null for an index out of range. An empty list's item 0 is an empty list.
    LPITEMIDLIST GetItem(int Index);
    // The list without its last Levels items; null when that is out of range.
    LPITEMIDLIST GoUp(int Levels);

private:
    LPCITEMIDLIST FList;
    LPITEMIDLIST FResult = nullptr;
};

// Item-ID lists with an object each, unsorted or sorted by the folder's order (bytes without one).
class TGwPidlList : public TObject {
public:
    TGwPidlList() = default;
    ~TGwPidlList() override { Clear(); }
    int Count() const { return int(FItems.size()); }
    // Index errors raise EListError.
    LPITEMIDLIST PIDL(int Index) const { return At(Index).List; }
    void SetPIDL(int Index, LPITEMIDLIST List) { At(Index).List = List; }
    TObject* Objects(int Index) const { return At(Index).Object; }
    void SetObject(int Index, TObject* Object) { At(Index).Object = Object; }
    virtual int Add(LPITEMIDLIST List) { return AddObject(List, nullptr); }
    // Sorted with dupError: an equal list raises "TGwPidlList: Duplicate PIDL", the list unchanged.
    virtual int AddObject(LPITEMIDLIST List, TObject* Object);
    void Insert(int Index, LPITEMIDLIST List) { InsertObject(Index, List, nullptr); }
    void InsertObject(int Index, LPITEMIDLIST List, TObject* Object);
    // Frees the item-ID list through Malloc when one is set.
    void Delete(int Index);
    void Clear();
    int IndexOf(LPCITEMIDLIST List) const;
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    TDuplicates Duplicates = dupError;
    IShellFolder_NRC* ShellFolder = nullptr;
    IMalloc_NRC* Malloc = nullptr;

private:
    struct TEntry {
        LPITEMIDLIST List;
        TObject* Object;
    };
    TEntry& At(int Index) const;
    int Compare(LPCITEMIDLIST A, LPCITEMIDLIST B) const;
    bool BinarySearch(LPCITEMIDLIST List, int& Index) const;
    mutable std::vector<TEntry> FItems;
    bool FSorted = false;
};

// ---- versions (from the platform's one version record)

struct TGwModuleVersion {
    DWORD Low, High; // the file version's low word, then its high word
};
bool IsWin95();
bool IsOSR2OrGreater();
bool IsWinNT();
bool IsWin2000();
bool HasWin95Shell();
// The common controls' and the shell's versions as the platform reports them.
TGwModuleVersion ComCtlVersion();
TGwModuleVersion ShellVersion();
// A file's version resource; false when it has none.
bool GetModuleVersion(const std::string& FileName, TGwModuleVersion& Version);

// ---- folders, names and icons

enum TCSIDL {
    csidlDesktop,
    csidl_None1,
    csidlPrograms,
    csidlControls,
    csidlPrinters,
    csidlPersonal,
    csidlFavorites,
    csidlStartup,
    csidlRecent,
    csidlSendTo,
    csidlBitBucket,
    csidlStartMenu,
    csidl_None2,
    csidl_None3,
    csidl_None4,
    csidl_None5,
    csidlDesktopDirectory,
    csidlDrives,
    csidlNetwork,
    csidlNethood,
    csidlFonts,
    csidlTemplates,
    csidlCommonStartMenu,
    csidlCommonPrograms,
    csidlCommonStartup,
    csidlCommonDesktopDirectory,
    csidlAppData,
    csidlPrintHood,
    csidlLocalAppData,
    csidlAltStartup,
    csidlCommonAltStartup,
    csidlCommonFavorites,
    csidlInternetCache,
    csidlCookies,
    csidlHistory,
    csidlCommonAppData,
    csidlWindows,
    csidlSystem,
    csidlProgramFiles,
    csidlMyPictures,
    csidlProfile,
    csidlSystemX86,
    csidlProgramFilesX86,
    csidlProgramFilesCommon,
    csidlProgramFilesCommonX86,
    csidlCommonTemplates,
    csidlCommonDocuments,
    csidlCommonAdminTools,
    csidlAdminTools,
    csidlConnections,
    csidlNone
};
enum TGwFriendlyNameFlags { fnNormal, fnInFolder, fnForParsing, fnForEditing };
enum TGwShellIconSize { iszSmall, iszLarge };

// The folder a list names; the desktop for a null or empty list. The caller releases it.
HRESULT ShellGetFolderFromIdList(LPCITEMIDLIST IdList, IShellFolder_NRC*& Folder);
HRESULT ShellGetIdListFromPath(const std::string& Path, LPITEMIDLIST& IdList);
std::string ShellGetPathFromIdList(LPCITEMIDLIST IdList);
std::string ShellGetDisplayPathName(const std::string& Path);
std::string ShellGetSpecialFolderPath(TCSIDL Folder);
HRESULT ShellGetSpecialFolderIdList(TCSIDL Folder, LPITEMIDLIST& IdList);
int ShellGetIconIndex(LPCITEMIDLIST IdList, UINT Flags);
int ShellGetIconIndexFromPath(const std::string& Path, UINT Flags);
int ShellGetIconIndexFromExt(const std::string& Ext, UINT Flags);
// Raises when the folder's list cannot be had.
int ShellGetSpecialFolderIconIndex(TCSIDL Folder, UINT Flags);
TCSIDL ShellFindCSIDLFromIdList(LPCITEMIDLIST IdList);
bool ShellCSIDLEqualsIdList(LPCITEMIDLIST IdList, TCSIDL Folder);
// Folder null: the desktop.
std::string ShellGetFriendlyNameFromIdList(IShellFolder_NRC* Folder, LPCITEMIDLIST IdList,
                                           TGwFriendlyNameFlags Flags);
std::string ShellGetFriendlyNameForLastIdListElement(LPCITEMIDLIST IdList);
DWORD_PTR ShellGetSystemImageList(TGwShellIconSize Size);
std::string StrretToString(LPCITEMIDLIST IdList, const STRRET& StrRet);
void StrretFree(STRRET& StrRet);

// ---- shortcuts, file types, drives

enum TLinkDataOption { ldoUseDesc, ldoUseArgs, ldoUseIcon, ldoUseWorkDir, ldoUseHotKey, ldoUseShowCmd };
using TLinkDataOptions = Set<TLinkDataOption, ldoUseDesc, ldoUseShowCmd>;
struct TLinkData {
    std::string PathName;
    TLinkDataOptions Options;
    std::string Desc, Args, IconPath;
    int IconIndex = 0;
    std::string WorkingDir;
    int ShowCmd = 0;
    WORD HotKey = 0;
    bool NoUI = false;
    LPITEMIDLIST IdList = nullptr;
};
// Shortcut files have no meaning on this system: both fail as where the link object is missing.
bool CreateShortcut(const std::string& FileName, const TLinkData& LinkData);
bool CreateQuickShortcut(const std::string& FileName, const std::string& Target);
bool ResolveShortcut(const std::string& FileName, TLinkData& LinkData, bool WantIdList);
bool GwClsidFromFileType(const std::string& FileType, CLSID& Clsid);
void FlushDriveInfoCache();
void LockFlushDriveInfoCache();
void UnlockFlushDriveInfoCache();
// True where the network library is missing, as it is here.
bool IsNetworkDriveConnected(char Drive);

// ---- strings (Windows-1251 has no double-byte characters; the routines keep their names)

// %1, %2, ... take Strings in order; more than 50 strings raise.
std::string FormatStrPos(const std::string& Format, const std::vector<std::string>& Strings);
std::string EnsureTrailingCharDB(const std::string& S, char Ch);
std::string TrimRightDB(const std::string& S);
void CopyCharDB(size_t& Index, const std::string& S, std::string& Dest);
void ParametizeCmdLineDB(const std::string& CmdLine, TStrings* List);

// ---- device changes

using TGwDeviceChangeMethod = std::function<void(TMessage& Message)>;

// The registered handlers hear every device change, after the system's notification returned.
class TGwDeviceChangeHandler : public TObject {
public:
    bool Enabled = true;
    // Id tells registrations apart: Remove drops the first with the same Id.
    void Add(const void* Id, TGwDeviceChangeMethod Handler);
    void Remove(const void* Id);
    void BroadcastToList(TMessage& Message);

private:
    struct TEntry {
        const void* Id;
        TGwDeviceChangeMethod Handler;
    };
    std::vector<TEntry> FHandlers;
};
TGwDeviceChangeHandler* GwDeviceChangeHandler();
