// Beside-the-GUI platform layer: the registry classes over one store of our own, an ini-format
// file "registry.ini" in $XDG_CONFIG_HOME/qbxconf/ (else ~/.config/qbxconf/). Every change
// replaces the file atomically at once; a file changed by another program is read again before
// the next call. A damaged store is read as far as it is readable. The system's own keys (colour
// scheme, desktop preferences, file types) are simply absent, so readers take their defaults.
// Key paths use '\'; a path starting with '\' is taken from the root key, any other from the open
// key. Names compare without case (Latin and Cyrillic letters).
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "inifiles.h"
#include "sysutils.h"
#include "wintypes.h"

using HKEY = unsigned int;
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr HKEY HKEY_USERS = 0x80000003u;
constexpr HKEY HKEY_PERFORMANCE_DATA = 0x80000004u;
constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;
constexpr HKEY HKEY_DYN_DATA = 0x80000006u;

enum : unsigned {
    KEY_QUERY_VALUE = 0x1,
    KEY_SET_VALUE = 0x2,
    KEY_CREATE_SUB_KEY = 0x4,
    KEY_ENUMERATE_SUB_KEYS = 0x8,
    KEY_NOTIFY = 0x10,
    KEY_CREATE_LINK = 0x20,
    KEY_READ = 0x20019,
    KEY_WRITE = 0x20006,
    KEY_EXECUTE = 0x20019,
    KEY_ALL_ACCESS = 0xF003F
};

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegDataInfo {
    TRegDataType RegData;
    int DataSize;
};

class ERegistryException : public Exception {
    using Exception::Exception;
};

// The file that holds the store, as it is found now (the environment may change meanwhile).
std::string RegistryStorePath();

class TRegistry : public TObject {
public:
    TRegistry() : TRegistry(KEY_ALL_ACCESS) {}
    explicit TRegistry(unsigned Access) : access_(Access) {}
    ~TRegistry() override { CloseKey(); }

    HKEY RootKey() const { return root_; }
    void SetRootKey(HKEY Value); // closes the open key
    // A non-zero token while a key is open, 0 otherwise.
    HKEY CurrentKey() const { return open_ ? root_ : 0; }
    const std::string& CurrentPath() const { return path_; }
    unsigned Access() const { return access_; }
    void SetAccess(unsigned Value) { access_ = Value; }
    bool LazyWrite = true; // kept for callers; every change is written at once anyway

    // Opens the key, creating it and its parents when CanCreate; false when it is not there (or
    // cannot be created) and the open key stays as it was.
    bool OpenKey(std::string_view Key, bool CanCreate);
    bool OpenKeyReadOnly(std::string_view Key);
    void CloseKey();
    bool CreateKey(std::string_view Key); // ERegistryException "Failed to create key <key>"
    bool DeleteKey(std::string_view Key); // with its subkeys; false when absent or not written
    bool KeyExists(std::string_view Key);
    bool HasSubKeys();
    void GetKeyNames(TStrings* Strings);   // subkeys of the open key
    void GetValueNames(TStrings* Strings); // values of the open key; "" is the default value

    bool ValueExists(std::string_view Name);
    bool DeleteValue(std::string_view Name);
    void RenameValue(std::string_view OldName, std::string_view NewName);
    TRegDataType GetDataType(std::string_view Name); // rdUnknown when absent
    int GetDataSize(std::string_view Name);          // -1 when absent
    bool GetDataInfo(std::string_view Name, TRegDataInfo& Value);

    // Reads fail with ERegistryException "Invalid data type for '<name>'" when the value is of
    // another type (ReadString and ReadBinaryData: an absent value reads as "" and 0 bytes);
    // writes with "Failed to set data for '<name>'" when the key is read-only or the store
    // cannot be written (the store is then unchanged).
    std::string ReadString(std::string_view Name);
    void WriteString(std::string_view Name, std::string_view Value);
    void WriteExpandString(std::string_view Name, std::string_view Value);
    int ReadInteger(std::string_view Name);
    void WriteInteger(std::string_view Name, int Value);
    bool ReadBool(std::string_view Name) { return ReadInteger(Name) != 0; }
    void WriteBool(std::string_view Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }
    // Floats and times are 8-byte binary values.
    double ReadFloat(std::string_view Name);
    void WriteFloat(std::string_view Name, double Value);
    TDateTime ReadDate(std::string_view Name) { return ReadFloat(Name); }
    void WriteDate(std::string_view Name, TDateTime Value) { WriteFloat(Name, Value); }
    TDateTime ReadDateTime(std::string_view Name) { return ReadFloat(Name); }
    void WriteDateTime(std::string_view Name, TDateTime Value) { WriteFloat(Name, Value); }
    TDateTime ReadTime(std::string_view Name) { return ReadFloat(Name); }
    void WriteTime(std::string_view Name, TDateTime Value) { WriteFloat(Name, Value); }
    // The number of bytes read; ERegistryException when the value is longer than BufSize.
    int ReadBinaryData(std::string_view Name, void* Buffer, int BufSize);
    void WriteBinaryData(std::string_view Name, const void* Buffer, int BufSize);

protected:
    // The store path of a key argument, and of the open key ("" when none is open: values are
    // then neither found nor written).
    std::string KeyPath(std::string_view Key) const;
    std::string OpenPath() const;
    bool Writable() const { return !readOnly_ && (access_ & KEY_SET_VALUE); }

private:
    void Put(std::string_view Name, TRegDataType Type, std::string Data);
    std::string Get(std::string_view Name, TRegDataType Type, int Size);

    HKEY root_ = HKEY_CURRENT_USER;
    unsigned access_;
    bool open_ = false;
    bool readOnly_ = false;
    std::string path_;
};

// Sections are subkeys of the open key (the one the constructor opens, creating it, or one opened
// later); with no key open, reads give their defaults and writes fail. Integers and Booleans are
// written as strings, as the ini-file form of the registry has them.
class TRegIniFile : public TRegistry {
public:
    explicit TRegIniFile(std::string_view FileName, unsigned Access = KEY_ALL_ACCESS);
    const std::string& FileName() const { return fileName_; }

    // A value of another type reads as its text (an integer in decimal); binary as Default.
    std::string ReadString(std::string_view Section, std::string_view Ident, const std::string& Default);
    void WriteString(std::string_view Section, std::string_view Ident, std::string_view Value);
    int ReadInteger(std::string_view Section, std::string_view Ident, int Default);
    void WriteInteger(std::string_view Section, std::string_view Ident, int Value);
    bool ReadBool(std::string_view Section, std::string_view Ident, bool Default);
    void WriteBool(std::string_view Section, std::string_view Ident, bool Value);
    void ReadSection(std::string_view Section, TStrings* Strings);
    void ReadSections(TStrings* Strings);
    void ReadSectionValues(std::string_view Section, TStrings* Strings);
    void EraseSection(std::string_view Section);
    void DeleteKey(std::string_view Section, std::string_view Ident);
    using TRegistry::DeleteKey;

    // The typed value of a section (nothing when the section or value is absent); for
    // TRegistryIniFile.
    bool ReadRaw(std::string_view Section, std::string_view Ident, TRegDataType& Type, std::string& Data);
    void WriteRaw(std::string_view Section, std::string_view Ident, TRegDataType Type, std::string Data);

private:
    std::string SectionPath(std::string_view Section) const;
    std::string fileName_;
};

// The ini-file interface over a TRegIniFile it owns; integers are written as integers and
// floats and times as 8-byte binary values, and each reads back text written by TRegIniFile.
class TRegistryIniFile : public TCustomIniFile {
public:
    explicit TRegistryIniFile(std::string_view FileName, unsigned Access = KEY_ALL_ACCESS);
    ~TRegistryIniFile() override;
    TRegIniFile& RegIniFile() { return *reg_; }

    std::string ReadString(std::string_view Section, std::string_view Ident,
                           const std::string& Default) override;
    void WriteString(std::string_view Section, std::string_view Ident, std::string_view Value) override;
    void ReadSection(std::string_view Section, TStrings* Strings) override;
    void ReadSections(TStrings* Strings) override;
    void ReadSectionValues(std::string_view Section, TStrings* Strings) override;
    void EraseSection(std::string_view Section) override;
    void DeleteKey(std::string_view Section, std::string_view Ident) override;
    void UpdateFile() override {}

    int ReadInteger(std::string_view Section, std::string_view Ident, int Default) override;
    void WriteInteger(std::string_view Section, std::string_view Ident, int Value) override;
    double ReadFloat(std::string_view Section, std::string_view Ident, double Default) override;
    void WriteFloat(std::string_view Section, std::string_view Ident, double Value) override;
    TDateTime ReadDate(std::string_view Section, std::string_view Ident, TDateTime Default) override;
    void WriteDate(std::string_view Section, std::string_view Ident, TDateTime Value) override;
    TDateTime ReadDateTime(std::string_view Section, std::string_view Ident, TDateTime Default) override;
    void WriteDateTime(std::string_view Section, std::string_view Ident, TDateTime Value) override;
    TDateTime ReadTime(std::string_view Section, std::string_view Ident, TDateTime Default) override;
    void WriteTime(std::string_view Section, std::string_view Ident, TDateTime Value) override;

private:
    // True with the value when it is an 8-byte binary value; any other is read as text.
    bool ReadBinaryDouble(std::string_view Section, std::string_view Ident, double& Value);
    void WriteBinaryDouble(std::string_view Section, std::string_view Ident, double Value);
    std::unique_ptr<TRegIniFile> reg_;
};
