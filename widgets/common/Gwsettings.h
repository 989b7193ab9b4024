// Settings of the Gw widget library (widget layer): the settings store TGwRegIniFile (an .ini file
// or a registry key), the frame controller that frames a set of controls alike, and the shared
// custom colours of the colour dialog.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Gwcommon.h"
#include "classes.h"
#include "forms.h"
#include "inifiles.h"
#include "sysutils.h"

class ENoRegIniFile : public Exception {
    using Exception::Exception;
};

inline constexpr const char* sGwNoRegIniFile = "No TGwRegIniFile component specified";
inline constexpr const char* sGwCannotLoadCustomFraming =
    "Cannot load Custom Framing settings--No TGwRegIniFile component specified";
inline constexpr const char* sGwCannotSaveCustomFraming =
    "Cannot save Custom Framing settings--No TGwRegIniFile component specified";
inline constexpr const char* sGwCannotLoadCustomColors =
    "Cannot load Custom Colors--No TGwRegIniFile component specified";
inline constexpr const char* sGwCannotSaveCustomColors =
    "Cannot save Custom Colors--No TGwRegIniFile component specified";

enum TGwPathType { ptIniFile, ptRegistry };
enum TGwRegKey {
    hkeyClassesRoot,
    hkeyCurrentUser,
    hkeyLocalMachine,
    hkeyUsers,
    hkeyPerformanceData,
    hkeyCurrentConfig,
    hkeyDynData
};
enum TGwRegAccessKey {
    keyQueryValue,
    keySetValue,
    keyCreateSubKey,
    keyEnumerateSubKeys,
    keyNotify,
    keyCreateLink,
    keyRead,
    keyWrite,
    keyExecute,
    keyAllAccess
};
using TGwRegAccess = Set<TGwRegAccessKey, keyQueryValue, keyAllAccess>;

// HKEY_CLASSES_ROOT (0x80000000) … HKEY_DYN_DATA (0x80000006).
unsigned RegKeyRoot(TGwRegKey Key);
// The OR of the access members' masks.
unsigned RegAccessMask(TGwRegAccess Access);

// The registry form of the store: an .ini-shaped view of key Path under Root, opened with creation
// allowed. It is the platform's registry unless a test installs another; with none (null) a
// registry store cannot be opened (ENoRegIniFile).
using TGwRegistryStoreFactory =
    std::function<std::unique_ptr<TCustomIniFile>(unsigned Root, const std::string& Path, unsigned Access)>;
void SetGwRegistryStoreFactory(TGwRegistryStoreFactory Factory);
// The platform's registry, the store installed at start.
TGwRegistryStoreFactory GwPlatformRegistryStore();
// Value Name of section Section under HKEY_CURRENT_USER\Key; empty when unreadable.
std::string GwReadRegistryString(const std::string& Key, const std::string& Section, const std::string& Name);

class TGwRegIniFile : public TComponent {
public:
    explicit TGwRegIniFile(TComponent* AOwner);
    ~TGwRegIniFile() override;

    // Empty until the first operation fills in the default (the .ini beside the program, or
    // "\Software\Temp\" plus the application title).
    const std::string& Path() const { return FPath; }
    void SetPath(const std::string& Value);
    TGwPathType PathType() const { return FPathType; }
    void SetPathType(TGwPathType Value);
    TGwRegKey RegKey() const { return FRegKey; }
    void SetRegKey(TGwRegKey Value);
    TGwRegAccess RegAccess() const { return FRegAccess; }
    void SetRegAccess(TGwRegAccess Value);

    bool ReadBool(const std::string& Section, const std::string& Key, bool Default);
    TDateTime ReadDate(const std::string& Section, const std::string& Key, TDateTime Default);
    TDateTime ReadDateTime(const std::string& Section, const std::string& Key, TDateTime Default);
    double ReadFloat(const std::string& Section, const std::string& Key, double Default);
    int ReadInteger(const std::string& Section, const std::string& Key, int Default);
    std::string ReadString(const std::string& Section, const std::string& Key, const std::string& Default);
    TDateTime ReadTime(const std::string& Section, const std::string& Key, TDateTime Default);
    void WriteBool(const std::string& Section, const std::string& Key, bool Value);
    void WriteDate(const std::string& Section, const std::string& Key, TDateTime Value);
    void WriteDateTime(const std::string& Section, const std::string& Key, TDateTime Value);
    void WriteFloat(const std::string& Section, const std::string& Key, double Value);
    void WriteInteger(const std::string& Section, const std::string& Key, int Value);
    void WriteString(const std::string& Section, const std::string& Key, const std::string& Value);
    void WriteTime(const std::string& Section, const std::string& Key, TDateTime Value);
    bool SectionExists(const std::string& Section);
    bool ValueExists(const std::string& Section, const std::string& Key);
    void ReadSection(const std::string& Section, TStrings* Strings);
    void ReadSections(TStrings* Strings);
    void ReadSectionValues(const std::string& Section, TStrings* Strings);
    void EraseSection(const std::string& Section);
    void DeleteKey(const std::string& Section, const std::string& Key);

private:
    TCustomIniFile& CheckAccess();
    void Reopen() { FReopen = true; }

    std::string FPath;
    TGwPathType FPathType = ptIniFile;
    TGwRegKey FRegKey = hkeyCurrentUser;
    TGwRegAccess FRegAccess{keyAllAccess};
    bool FReopen = true;
    std::unique_ptr<TCustomIniFile> FStore;
};

// ---------------------------------------------------------------- frame controller

enum TGwFrameControllerProperty {
    fcpColor,
    fcpFocusColor,
    fcpDisabledColor,
    fcpReadOnlyColor,
    fcpReadOnlyColorOnFocus,
    fcpParentColor,
    fcpFlatButtonColor,
    fcpFlatButtons,
    fcpFrameColor,
    fcpFrameHotColor,
    fcpFrameHotTrack,
    fcpFrameHotStyle,
    fcpFrameSides,
    fcpFrameStyle,
    fcpFrameVisible,
    fcpFramingPreference,
    fcpAll
};
using TGwFrameControllerNotifications = Set<TGwFrameControllerProperty, fcpColor, fcpFramingPreference>;
TGwFrameControllerNotifications AllFrameNotifications();

// A control that pulls the controller's settings itself instead of having them pushed.
class IGwCustomFramingNotification {
public:
    virtual ~IGwCustomFramingNotification() = default;
    virtual void CustomFramingChanged() = 0;
};

// A control that takes pushed settings: each is set through the control's own setter, with all its
// side effects. A control answers false for a setting it does not have (it is skipped).
class IGwFramedControl {
public:
    virtual ~IGwFramedControl() = default;
    virtual TGwFrameControllerNotifications FrameControllerNotifications() const = 0;
    // Colours come as the full 32 bits, Booleans as 0/1, enumerations as their ordinal, the sides
    // as the set's bits.
    virtual bool SetFramingProperty(TGwFrameControllerProperty Property, int Value) = 0;
};

class TGwFrameController : public TComponent {
public:
    explicit TGwFrameController(TComponent* AOwner);
    ~TGwFrameController() override;

    void AddControl(TComponent* Control);
    void RemoveControl(TComponent* Control);
    int ControlCount() const { return FControls ? int(FControls->size()) : 0; }
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    void UpdateControls() { UpdateFrames(fcpAll); }
    virtual void UpdateControlFrame(TComponent* Control, TGwFrameControllerProperty Property);
    virtual void UpdateFrames(TGwFrameControllerProperty Property);
    void Assign(TPersistent* Source) override;
    // Retired stored properties of older forms: "FrameFlat" (Boolean) and "FrameFocusStyle".
    void ReadFrameFlat(bool Value);
    void ReadFrameFocusStyle(TFrameStyle Value) { FFrameHotStyle = Value; }
    void Load(const std::string& Section);
    void Save(const std::string& Section);

    TColor Color() const { return FColor; }
    virtual void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    virtual void SetParentColor(bool Value);
    TColor FlatButtonColor() const { return FFlatButtonColor; }
    virtual void SetFlatButtonColor(TColor Value);
    bool FlatButtons() const { return FFlatButtons; }
    virtual void SetFlatButtons(bool Value);
    TColor DisabledColor() const { return FDisabledColor; }
    virtual void SetDisabledColor(TColor Value);
    TColor ReadOnlyColor() const { return FReadOnlyColor; }
    virtual void SetReadOnlyColor(TColor Value);
    bool ReadOnlyColorOnFocus() const { return FReadOnlyColorOnFocus; }
    virtual void SetReadOnlyColorOnFocus(bool Value);
    TColor FocusColor() const { return FFocusColor; }
    virtual void SetFocusColor(TColor Value);
    TColor FrameColor() const { return FFrameColor; }
    virtual void SetFrameColor(TColor Value);
    TColor FrameHotColor() const { return FFrameHotColor; }
    virtual void SetFrameHotColor(TColor Value);
    bool FrameHotTrack() const { return FFrameHotTrack; }
    virtual void SetFrameHotTrack(bool Value);
    TFrameStyle FrameHotStyle() const { return FFrameHotStyle; }
    virtual void SetFrameHotStyle(TFrameStyle Value);
    TSides FrameSides() const { return FFrameSides; }
    virtual void SetFrameSides(TSides Value);
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    virtual void SetFrameStyle(TFrameStyle Value);
    bool FrameVisible() const { return FFrameVisible; }
    virtual void SetFrameVisible(bool Value);
    TFramingPreference FramingPreference() const { return FFramingPreference; }
    virtual void SetFramingPreference(TFramingPreference Value);
    TGwRegIniFile* RegIniFile() const { return FRegIniFile; }
    virtual void SetRegIniFile(TGwRegIniFile* Value);

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    int ValueOf(TGwFrameControllerProperty Property) const;
    template <class T> void Change(T& Field, T Value, TGwFrameControllerProperty Property);

    TColor FColor = clWindow;
    bool FParentColor = false;
    std::unique_ptr<std::vector<TComponent*>> FControls;
    TColor FFlatButtonColor = clBtnFace;
    bool FFlatButtons = true;
    TColor FDisabledColor = clBtnFace;
    TColor FReadOnlyColor = clInfoBk;
    bool FReadOnlyColorOnFocus = false;
    TColor FFocusColor = clWindow;
    TColor FFrameColor = clBtnShadow;
    TColor FFrameHotColor = clBtnShadow;
    bool FFrameHotTrack = false;
    TFrameStyle FFrameHotStyle = fsFlatBold;
    TSides FFrameSides = AllSides;
    TFrameStyle FFrameStyle = fsFlat;
    bool FFrameVisible = false;
    TFramingPreference FFramingPreference = fpXPThemes;
    int FUpdateCount = 0;
    TGwRegIniFile* FRegIniFile = nullptr;
};

// A control's link to the frame controller that governs it. Setting a controller registers the
// control, which the controller updates at once, and asks to be told when the controller goes;
// the control hands its Notification on to Removed; the control leaves the controller when the
// link goes with it.
class TGwFrameControllerLink {
public:
    explicit TGwFrameControllerLink(TComponent* Control) : FControl(Control) {}
    ~TGwFrameControllerLink();
    TGwFrameControllerLink(const TGwFrameControllerLink&) = delete;
    TGwFrameControllerLink& operator=(const TGwFrameControllerLink&) = delete;

    TGwFrameController* Controller() const { return FController; }
    void SetController(TGwFrameController* Value);
    // The component going away (opRemove): forgets it when it is the controller.
    void Removed(TComponent* AComponent);

private:
    TComponent* FControl;
    TGwFrameController* FController = nullptr;
};

// The sixteen custom colours of the colour dialog, "ColorA=FFFFFF" … "ColorP=FFFFFF".
class TGwCustomColors : public TComponent {
public:
    explicit TGwCustomColors(TComponent* AOwner);
    TStringList* Colors() const { return FColors.get(); }
    // Takes the lines, then writes every value as six upper-case hexadecimal digits (masked to
    // 24 bits); a value that is not hexadecimal stops there with EConvertError.
    virtual void SetColors(const TStrings* Value);
    std::string GetColorName(int Index) const { return FColors->Names(Index); }
    void Load(const std::string& Section);
    void Save(const std::string& Section);
    TGwRegIniFile* RegIniFile() const { return FRegIniFile; }
    virtual void SetRegIniFile(TGwRegIniFile* Value);

protected:
    virtual void InitColors();
    void FixupColors();
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::unique_ptr<TStringList> FColors;
    TGwRegIniFile* FRegIniFile = nullptr;
};

// ---------------------------------------------------------------- dialog components

class EInvalidFieldType : public Exception {
    using Exception::Exception;
};

// Base of the library's dialog components: the font and the placement of the dialog shown.
class TGwDialogComponent : public TComponent {
public:
    explicit TGwDialogComponent(TComponent* AOwner);
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* Value) { FFont->Assign(*Value); }
    bool CenterToParent() const { return FCenterToParent; }
    // Centring on the parent places the dialog over its owner form, else over the screen.
    void SetCenterToParent(bool Value);
    TPosition Position = poScreenCenter;
    int OriginLeft = 100;
    int OriginTop = 100;
    void CenterForm(TCustomForm* Form) const;

private:
    std::unique_ptr<TFont> FFont;
    bool FCenterToParent = false;
};
