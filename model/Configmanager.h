// The configuration of one concentrator: objects, channels, the ten built-in system channels, the
// subprogram store; the factory, database save and load, checks and the supervisory export.
// Configuration model layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "Devicetypes.h"
#include "Objectstore.h"

class T_Action;
class TChannelIndex;
class TUserObjItem;
class VTActionsVar;
class VTCommands;
class VTRecord;

inline constexpr int kBuiltInChannelCount = 10;
inline constexpr uint16_t kSystemChannelType1 = 0xFFFF;
inline constexpr uint16_t kVersionChannelType = 0xFFFE;
inline constexpr uint8_t kVersionChannelIndex = 5;
inline constexpr uint8_t kCurrentVersionMajor = 2;
inline constexpr uint8_t kCurrentVersionMinor = 1;
inline constexpr uint16_t kCurrentVersionWord = 0x0201;
inline constexpr uint16_t kNoVersionWord = 0xFFFF;
inline constexpr uint32_t kSavePageSize = 512;
inline constexpr uint32_t kLoadPageSize = 1024;
inline constexpr size_t kMaxLoadProblems = 1000;

// One tab of the subprogram tab strip.
struct TSubprogramTab {
    std::string Caption;
    std::string Hint;
};

// "00005" for (5, 5); a longer text is returned whole.
std::string PadNumber(int64_t n, int width);

class configmanager {
public:
    configmanager();
    configmanager(const configmanager&) = delete;
    configmanager& operator=(const configmanager&) = delete;
    ~configmanager();

    // Writes the configuration to a temporary file beside path and renames it over path only when
    // everything was written; on failure returns false with LastError set and leaves the old file.
    // Refuses (false, message naming the item) what the one-byte keys cannot hold.
    bool SaveDatabase(const std::string& path);
    // Fills this fresh manager from the file. Returns false when the file could not be read as a
    // configuration (LastError says why; the manager then must not be saved over the file).
    // A file in use or read-only is read without writing (OpenedReadOnly). Problems found in
    // readable files are collected in LoadProblems and the rest is loaded.
    bool LoadDatabase(const std::string& path);
    std::string LastError;
    std::vector<std::string> LoadProblems;
    bool OpenedReadOnly = false;

    void FillObjectTypeList(TStrings* strings);
    // Creates an object of the type code; null for codes without a class, a second "once" object,
    // when no free object number is left or the device could not be built, and then LastError says
    // why. The object is the manager's.
    TObjectItem* AddObject(int code);
    void DeleteObject(TObjectItem* object);

    void CheckDbVersion(TStrings* strings);
    void CheckFileVersions(TStrings* strings);
    bool HasExtendedFormat() const;
    uint16_t VersionWord() const { return static_cast<uint16_t>(VersionMajor << 8 | VersionMinor); }

    // The .ini of the supervisory product, Windows-1251 with CR LF; false when it cannot be written.
    bool ExportScadaConfig(const std::string& path);

    TParamItem* NewChannel(uint16_t channelType, uint8_t channelIndex);
    void GetChannelsOfType(ELEMList* out, uint16_t channelType);
    void GetObjects(ELEMList* out);
    void ListChannelTypes(TStrings* strings);

    T_Action* CreateSubprogram(const std::string& name);
    T_Action* CreateSubprogramWithId(uint16_t id);
    void DeleteSubprogram(T_Action* action);
    std::string GetSubprogramName(uint16_t id);
    bool IsSubprogramDefined(uint16_t id);
    // Tabs in ascending id; selected gets the current subprogram's tab or -1.
    std::vector<TSubprogramTab> SubprogramTabs(int& selected);
    // Fills a collection tab control (GetTabCollection()->Clear/Add, SetCaption, SetHint, SetTabIndex).
    template <class TabControl> void FillSubprogramTabs(TabControl* tabs) {
        int selected = -1;
        std::vector<TSubprogramTab> list = SubprogramTabs(selected);
        auto* collection = tabs->GetTabCollection();
        collection->Clear();
        for (const TSubprogramTab& t : list) {
            auto* item = collection->Add();
            item->SetCaption(t.Caption);
            item->SetHint(t.Hint);
        }
        tabs->SetTabIndex(selected);
    }
    void SelectSubprogram(TStrings* lines, const std::string& name);

    // The channel list's two hooks.
    void OnParamChanged(TParamItem* param);
    void OnParamRebind(TParamItem* param);

    uint8_t Loading = 0;
    int32_t Counters[kObjectCounterCount] = {};
    uint8_t VersionMajor = kCurrentVersionMajor;
    uint8_t VersionMinor = kCurrentVersionMinor;
    actionManager* Actions = nullptr;
    ELEMList Objects;  // TObjectItem, owned, ascending number
    ELEMList Channels; // TParamItem, owned, the built-in channels first
    T_Action* Current = nullptr;
    TParamItem* BuiltIn[kBuiltInChannelCount] = {};

    // Object counter index of an object (the user-object counter for any user-defined object).
    int CounterOf(TObjectItem* object) const;
    bool IsLiveObject(const TObjectItem* object) const;
    bool IsBuildingObject(const TObjectItem* object) const;
    bool NumberInUse(uint16_t number) const;
    bool InstanceTaken(const TDeviceType* type, uint16_t number) const;

private:
    // Channels of one type with an index, ascending index, equal indexes in list order.
    std::vector<TParamItem*> ChannelsOfType(uint16_t type);
    void BindOrSet(TParamItem* param, uint16_t channelType, uint8_t channelIndex);
    void CloseGap(uint16_t channelType, uint8_t oldIndex);
    void InsertObjectByNumber(TObjectItem* object);
    // Keeps the counts NumberInUse and InstanceTaken read: an object joins (+1) or leaves (-1).
    void CountObject(const TObjectItem* object, int delta);
    void DetachChannelsOf(uintptr_t object);
    // Gives o the number unless that would move one of its channels onto an address a channel
    // other than those of `dying` holds; then nothing changes and a message says why.
    void Renumber(TObjectItem* o, uint16_t number, const TObjectItem* dying);
    std::string SaveLimitProblem();
    bool WriteFile(const std::string& nativePath);

    // The parts of a load (Configload.cpp).
    struct LoadTables;
    void LoadProblem(const std::string& text);
    void TableDamaged(LoadTables& t, const char* name);
    void CheckRead(LoadTables& t, VTRecord& table, const char* name);
    bool ReadFile(uint32_t base);
    template <class T>
    void OpenForRead(uint32_t base, LoadTables& t, std::unique_ptr<T>& out, const char* name);
    void ReadVersion(uint32_t base, LoadTables& t);
    bool OpenTables(uint32_t base, LoadTables& t);
    void ReadSubprograms(LoadTables& t);
    void ReadSubprogramInfo(LoadTables& t, T_Action* action);
    void ReadChannels(LoadTables& t);
    void ReadHandlers(LoadTables& t, TParamItem* p);
    void ReadObjects(LoadTables& t);
    TObjectItem* MakeStoredObject(LoadTables& t, uint16_t number, std::string tag);
    void ReadCommandModes(LoadTables& t, TObjectItem* object);
    bool ReadVariables(T_Action* action, VTActionsVar* var);
    bool ReadUserCommands(TUserObjItem* user, VTCommands* cmd);
    std::unique_ptr<TChannelIndex> fIndex; // of Channels, for its life
    bool fClosing = false;
    // While AddObject's factory runs: the one owner that is neither on the list nor gone.
    bool fBuilding = false;
    uint16_t fBuildingNumber = 0;
    std::unordered_set<const TObjectItem*> fLive;
    std::unordered_map<uint16_t, int32_t> fNumberUse;   // objects per number in use
    std::unordered_map<uint32_t, int32_t> fInstanceUse; // per type code and instance byte
};
