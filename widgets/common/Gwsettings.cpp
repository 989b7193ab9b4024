// The settings store, the frame controller and the custom colours of the Gw widget library.
#include "Gwsettings.h"

#include <algorithm>

#include "registry.h"

// ---------------------------------------------------------------- registry form

namespace {

// The platform's registry as the store: key Path under Root, created when the access allows it
// (a reader never leaves an empty key behind), and a section's values listed by their type.
class TGwRegistryStore : public TRegistryIniFile {
public:
    TGwRegistryStore(unsigned Root, const std::string& Path, unsigned Access) : TRegistryIniFile("", Access) {
        RegIniFile().SetRootKey(Root);
        if (Access & KEY_CREATE_SUB_KEY)
            RegIniFile().OpenKey(Path, true);
        else
            RegIniFile().OpenKeyReadOnly(Path);
    }

    void ReadSectionValues(std::string_view Section, TStrings* Strings) override {
        TRegistry reg(KEY_READ);
        reg.SetRootKey(RegIniFile().RootKey());
        std::string path = RegIniFile().CurrentPath();
        if (path.empty() || path.back() != '\\')
            path += '\\';
        if (!reg.OpenKeyReadOnly(path + std::string(Section)))
            return;
        TStringList names;
        reg.GetValueNames(&names);
        WithinUpdate(Strings, [&] {
            for (int i = 0; i < names.Count(); ++i)
                Strings->Add(Line(reg, names[i]));
        });
    }

private:
    // A value as text by its type; the unnamed default value is listed as "Default", of whatever
    // type it is.
    static std::string Line(TRegistry& Reg, const std::string& Name) {
        return (Name.empty() ? std::string("Default") : Name) + "=" + ValueText(Reg, Name);
    }

    static std::string ValueText(TRegistry& Reg, const std::string& Name) {
        switch (Reg.GetDataType(Name)) {
        case rdString:
        case rdExpandString: return Reg.ReadString(Name);
        case rdInteger: return IntToStr(Reg.ReadInteger(Name));
        case rdBinary: {
            std::string bytes(size_t(std::max(Reg.GetDataSize(Name), 0)), '\0');
            Reg.ReadBinaryData(Name, bytes.data(), int(bytes.size()));
            std::string hex;
            for (unsigned char b : bytes)
                hex += (hex.empty() ? "" : " ") + IntToHex(b, 2);
            return hex;
        }
        default: return "Unknown Data Type";
        }
    }
};

TGwRegistryStoreFactory& RegistryFactory() {
    static TGwRegistryStoreFactory factory = GwPlatformRegistryStore();
    return factory;
}

} // namespace

TGwRegistryStoreFactory GwPlatformRegistryStore() {
    return [](unsigned Root, const std::string& Path, unsigned Access) {
        return std::unique_ptr<TCustomIniFile>(new TGwRegistryStore(Root, Path, Access));
    };
}

unsigned RegKeyRoot(TGwRegKey Key) { return 0x80000000u + unsigned(Key); }

unsigned RegAccessMask(TGwRegAccess Access) {
    static const unsigned masks[] = {0x1, 0x2, 0x4, 0x8, 0x10, 0x20, 0x20019, 0x20006, 0x20019, 0xF003F};
    unsigned mask = 0;
    for (int i = keyQueryValue; i <= keyAllAccess; ++i)
        if (Access.Contains(TGwRegAccessKey(i)))
            mask |= masks[i];
    return mask;
}

void SetGwRegistryStoreFactory(TGwRegistryStoreFactory Factory) { RegistryFactory() = std::move(Factory); }

std::string GwReadRegistryString(const std::string& Key, const std::string& Section,
                                 const std::string& Name) {
    if (!RegistryFactory())
        return {};
    try {
        auto store = RegistryFactory()(RegKeyRoot(hkeyCurrentUser), Key, RegAccessMask({keyRead}));
        return store ? store->ReadString(Section, Name, "") : std::string();
    } catch (const Exception&) {
        return {}; // whatever store is installed, one that cannot be read answers as no value
    }
}

// ---------------------------------------------------------------- TGwRegIniFile

TGwRegIniFile::TGwRegIniFile(TComponent* AOwner) : TComponent(AOwner) {}

TGwRegIniFile::~TGwRegIniFile() = default;

void TGwRegIniFile::SetPath(const std::string& Value) {
    if (Value != FPath) {
        FPath = Value;
        Reopen();
    }
}

void TGwRegIniFile::SetPathType(TGwPathType Value) {
    if (Value != FPathType) {
        FPathType = Value;
        Reopen();
    }
}

void TGwRegIniFile::SetRegKey(TGwRegKey Value) {
    if (Value != FRegKey) {
        FRegKey = Value;
        Reopen();
    }
}

void TGwRegIniFile::SetRegAccess(TGwRegAccess Value) {
    if (Value != FRegAccess) {
        FRegAccess = Value;
        Reopen();
    }
}

TCustomIniFile& TGwRegIniFile::CheckAccess() {
    if (!FReopen && FStore)
        return *FStore;
    FStore.reset();
    if (FPathType == ptRegistry) {
        if (FPath.empty())
            FPath = "\\Software\\Temp\\" + Application->Title();
        if (!RegistryFactory())
            throw ENoRegIniFile("The registry is not available on this system");
        FStore = RegistryFactory()(RegKeyRoot(FRegKey), FPath, RegAccessMask(FRegAccess));
    } else {
        if (FPath.empty())
            FPath = ChangeFileExt(Application->ExeName(), ".ini");
        FStore = std::make_unique<TIniFile>(FPath);
    }
    FReopen = false;
    return *FStore;
}

bool TGwRegIniFile::ReadBool(const std::string& Section, const std::string& Key, bool Default) {
    return CheckAccess().ReadBool(Section, Key, Default);
}

TDateTime TGwRegIniFile::ReadDate(const std::string& Section, const std::string& Key, TDateTime Default) {
    return CheckAccess().ReadDate(Section, Key, Default);
}

TDateTime TGwRegIniFile::ReadDateTime(const std::string& Section, const std::string& Key, TDateTime Default) {
    return CheckAccess().ReadDateTime(Section, Key, Default);
}

double TGwRegIniFile::ReadFloat(const std::string& Section, const std::string& Key, double Default) {
    return CheckAccess().ReadFloat(Section, Key, Default);
}

int TGwRegIniFile::ReadInteger(const std::string& Section, const std::string& Key, int Default) {
    return CheckAccess().ReadInteger(Section, Key, Default);
}

std::string TGwRegIniFile::ReadString(const std::string& Section, const std::string& Key,
                                      const std::string& Default) {
    return CheckAccess().ReadString(Section, Key, Default);
}

TDateTime TGwRegIniFile::ReadTime(const std::string& Section, const std::string& Key, TDateTime Default) {
    return CheckAccess().ReadTime(Section, Key, Default);
}

void TGwRegIniFile::WriteBool(const std::string& Section, const std::string& Key, bool Value) {
    CheckAccess().WriteBool(Section, Key, Value);
}

void TGwRegIniFile::WriteDate(const std::string& Section, const std::string& Key, TDateTime Value) {
    CheckAccess().WriteDate(Section, Key, Value);
}

void TGwRegIniFile::WriteDateTime(const std::string& Section, const std::string& Key, TDateTime Value) {
    CheckAccess().WriteDateTime(Section, Key, Value);
}

void TGwRegIniFile::WriteFloat(const std::string& Section, const std::string& Key, double Value) {
    CheckAccess().WriteFloat(Section, Key, Value);
}

void TGwRegIniFile::WriteInteger(const std::string& Section, const std::string& Key, int Value) {
    CheckAccess().WriteInteger(Section, Key, Value);
}

void TGwRegIniFile::WriteString(const std::string& Section, const std::string& Key,
                                const std::string& Value) {
    CheckAccess().WriteString(Section, Key, Value);
}

void TGwRegIniFile::WriteTime(const std::string& Section, const std::string& Key, TDateTime Value) {
    CheckAccess().WriteTime(Section, Key, Value);
}

bool TGwRegIniFile::SectionExists(const std::string& Section) { return CheckAccess().SectionExists(Section); }

bool TGwRegIniFile::ValueExists(const std::string& Section, const std::string& Key) {
    return CheckAccess().ValueExists(Section, Key);
}

void TGwRegIniFile::ReadSection(const std::string& Section, TStrings* Strings) {
    CheckAccess().ReadSection(Section, Strings);
}

void TGwRegIniFile::ReadSections(TStrings* Strings) { CheckAccess().ReadSections(Strings); }

void TGwRegIniFile::ReadSectionValues(const std::string& Section, TStrings* Strings) {
    CheckAccess().ReadSectionValues(Section, Strings);
}

void TGwRegIniFile::EraseSection(const std::string& Section) { CheckAccess().EraseSection(Section); }

void TGwRegIniFile::DeleteKey(const std::string& Section, const std::string& Key) {
    CheckAccess().DeleteKey(Section, Key);
}

// ---------------------------------------------------------------- TGwFrameController

TGwFrameControllerNotifications AllFrameNotifications() {
    return TGwFrameControllerNotifications::FromInt(0xFFFF);
}

TGwFrameController::TGwFrameController(TComponent* AOwner) : TComponent(AOwner) {}

TGwFrameController::~TGwFrameController() = default;

void TGwFrameController::AddControl(TComponent* Control) {
    if (!FControls)
        FControls = std::make_unique<std::vector<TComponent*>>();
    if (std::find(FControls->begin(), FControls->end(), Control) != FControls->end())
        return;
    FControls->push_back(Control);
    UpdateControlFrame(Control, fcpAll);
}

void TGwFrameController::RemoveControl(TComponent* Control) {
    if (!FControls)
        return;
    std::erase(*FControls, Control);
    if (FControls->empty())
        FControls.reset();
}

void TGwFrameController::EndUpdate() {
    if (--FUpdateCount <= 0) {
        FUpdateCount = 0;
        UpdateFrames(fcpAll);
    }
}

void TGwFrameController::UpdateFrames(TGwFrameControllerProperty Property) {
    if (FUpdateCount >= 1 || !FControls)
        return;
    // A control's setter may register or drop controls: walk a copy.
    const std::vector<TComponent*> controls = *FControls;
    for (TComponent* c : controls)
        UpdateControlFrame(c, Property);
}

int TGwFrameController::ValueOf(TGwFrameControllerProperty Property) const {
    switch (Property) {
    case fcpColor: return FColor;
    case fcpFocusColor: return FFocusColor;
    case fcpDisabledColor: return FDisabledColor;
    case fcpReadOnlyColor: return FReadOnlyColor;
    case fcpReadOnlyColorOnFocus: return FReadOnlyColorOnFocus;
    case fcpParentColor: return FParentColor;
    case fcpFlatButtonColor: return FFlatButtonColor;
    case fcpFlatButtons: return FFlatButtons;
    case fcpFrameColor: return FFrameColor;
    case fcpFrameHotColor: return FFrameHotColor;
    case fcpFrameHotTrack: return FFrameHotTrack;
    case fcpFrameHotStyle: return FFrameHotStyle;
    case fcpFrameSides: return int(FFrameSides.ToInt());
    case fcpFrameStyle: return FFrameStyle;
    case fcpFrameVisible: return FFrameVisible;
    case fcpFramingPreference: return FFramingPreference;
    case fcpAll: break;
    }
    return 0;
}

void TGwFrameController::UpdateControlFrame(TComponent* Control, TGwFrameControllerProperty Property) {
    if (!dynamic_cast<TControl*>(Control))
        return;
    if (auto* pull = dynamic_cast<IGwCustomFramingNotification*>(Control)) {
        pull->CustomFramingChanged();
        return;
    }
    auto* framed = dynamic_cast<IGwFramedControl*>(Control);
    if (!framed)
        return;
    const TGwFrameControllerNotifications n = framed->FrameControllerNotifications();
    const auto push = [&](TGwFrameControllerProperty p) {
        if (n.Contains(p))
            framed->SetFramingProperty(p, ValueOf(p));
    };
    if (Property != fcpAll) {
        push(Property);
        return;
    }
    push(fcpParentColor);
    if (!FParentColor)
        push(fcpColor);
    for (TGwFrameControllerProperty p :
         {fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus, fcpFocusColor, fcpFlatButtonColor,
          fcpFlatButtons, fcpFrameColor, fcpFrameHotColor, fcpFrameHotTrack, fcpFrameHotStyle, fcpFrameSides,
          fcpFrameStyle, fcpFrameVisible, fcpFramingPreference})
        push(p);
}

template <class T> void TGwFrameController::Change(T& Field, T Value, TGwFrameControllerProperty Property) {
    if (Field == Value)
        return;
    Field = Value;
    UpdateFrames(Property);
}

void TGwFrameController::SetColor(TColor Value) {
    if (Value == FColor)
        return;
    if (FColor == FFocusColor)
        FFocusColor = Value;
    FColor = Value;
    FParentColor = false;
    UpdateFrames(fcpColor);
}

void TGwFrameController::SetParentColor(bool Value) {
    if (Value == FParentColor)
        return;
    FParentColor = Value;
    UpdateFrames(fcpParentColor);
    if (!Value)
        UpdateFrames(fcpColor);
}

void TGwFrameController::SetFlatButtonColor(TColor Value) {
    Change(FFlatButtonColor, Value, fcpFlatButtonColor);
}
void TGwFrameController::SetFlatButtons(bool Value) { Change(FFlatButtons, Value, fcpFlatButtons); }
void TGwFrameController::SetDisabledColor(TColor Value) { Change(FDisabledColor, Value, fcpDisabledColor); }
void TGwFrameController::SetReadOnlyColor(TColor Value) { Change(FReadOnlyColor, Value, fcpReadOnlyColor); }
void TGwFrameController::SetReadOnlyColorOnFocus(bool Value) {
    Change(FReadOnlyColorOnFocus, Value, fcpReadOnlyColorOnFocus);
}
void TGwFrameController::SetFocusColor(TColor Value) { Change(FFocusColor, Value, fcpFocusColor); }
void TGwFrameController::SetFrameColor(TColor Value) { Change(FFrameColor, Value, fcpFrameColor); }
void TGwFrameController::SetFrameHotColor(TColor Value) { Change(FFrameHotColor, Value, fcpFrameHotColor); }
void TGwFrameController::SetFrameHotStyle(TFrameStyle Value) {
    Change(FFrameHotStyle, Value, fcpFrameHotStyle);
}
void TGwFrameController::SetFrameSides(TSides Value) { Change(FFrameSides, Value, fcpFrameSides); }
void TGwFrameController::SetFrameStyle(TFrameStyle Value) { Change(FFrameStyle, Value, fcpFrameStyle); }
void TGwFrameController::SetFrameVisible(bool Value) { Change(FFrameVisible, Value, fcpFrameVisible); }
void TGwFrameController::SetFramingPreference(TFramingPreference Value) {
    Change(FFramingPreference, Value, fcpFramingPreference);
}

void TGwFrameController::SetFrameHotTrack(bool Value) {
    if (Value == FFrameHotTrack)
        return;
    FFrameHotTrack = Value;
    if (Value) {
        SetFrameVisible(true);
        if (!ComponentState().Contains(csLoading))
            FFrameSides = AllSides;
    }
    UpdateFrames(fcpFrameHotTrack);
}

void TGwFrameController::SetRegIniFile(TGwRegIniFile* Value) {
    FRegIniFile = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TGwFrameController::ReadFrameFlat(bool Value) {
    FFrameHotTrack = Value;
    if (Value) {
        FFrameStyle = fsStatus;
        FFrameHotStyle = fsLowered;
    }
}

void TGwFrameController::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TGwFrameController*>(Source);
    if (!src) {
        TComponent::Assign(Source);
        return;
    }
    BeginUpdate();
    FColor = src->FColor;
    FDisabledColor = src->FDisabledColor;
    FReadOnlyColor = src->FReadOnlyColor;
    FReadOnlyColorOnFocus = src->FReadOnlyColorOnFocus;
    FFlatButtonColor = src->FFlatButtonColor;
    FFlatButtons = src->FFlatButtons;
    FFocusColor = src->FFocusColor;
    FFrameColor = src->FFrameColor;
    FFrameHotColor = src->FFrameHotColor;
    FFrameHotStyle = src->FFrameHotStyle;
    FFrameHotTrack = src->FFrameHotTrack;
    FFrameSides = src->FFrameSides;
    FFrameStyle = src->FFrameStyle;
    FFrameVisible = src->FFrameVisible;
    FFramingPreference = src->FFramingPreference;
    FParentColor = src->FParentColor;
    EndUpdate();
}

void TGwFrameController::Loaded() {
    TComponent::Loaded();
    UpdateControls();
}

void TGwFrameController::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FRegIniFile)
        FRegIniFile = nullptr;
}

namespace {

// The stored keys of the frame sides, by side.
const char* const SideKeys[] = {"FrameSides_Left", "FrameSides_Top", "FrameSides_Right", "FrameSides_Bottom"};

} // namespace

void TGwFrameController::Load(const std::string& Section) {
    if (!FRegIniFile)
        throw ENoRegIniFile(sGwCannotLoadCustomFraming);
    TGwRegIniFile& r = *FRegIniFile;
    BeginUpdate();
    try {
        FColor = r.ReadInteger(Section, "Color", clWindow);
        FFlatButtonColor = r.ReadInteger(Section, "FlatButtonColor", clBtnFace);
        FFlatButtons = r.ReadBool(Section, "FlatButtons", true);
        FDisabledColor = r.ReadInteger(Section, "DisabledColor", clWindow);
        FReadOnlyColor = r.ReadInteger(Section, "ReadOnlyColor", clInfoBk);
        FReadOnlyColorOnFocus = r.ReadBool(Section, "ReadOnlyColorOnFocus", false);
        FFocusColor = r.ReadInteger(Section, "FocusColor", clWindow);
        FFrameColor = r.ReadInteger(Section, "FrameColor", clBtnShadow);
        FFrameHotColor = r.ReadInteger(Section, "FrameHotColor", clBtnShadow);
        FFrameHotStyle =
            TFrameStyle(std::clamp(r.ReadInteger(Section, "FrameHotStyle", fsFlatBold), 0, int(fsFlatBold)));
        FFrameHotTrack = r.ReadBool(Section, "FrameHotTrack", false);
        TSides sides;
        for (int s = sdLeft; s <= sdBottom; ++s)
            if (r.ReadBool(Section, SideKeys[s], true))
                sides << TSide(s);
        FFrameSides = sides;
        FFrameStyle =
            TFrameStyle(std::clamp(r.ReadInteger(Section, "FrameStyle", fsFlat), 0, int(fsFlatBold)));
        FFrameVisible = r.ReadBool(Section, "FrameVisible", false);
        FFramingPreference =
            TFramingPreference(std::clamp(r.ReadInteger(Section, "FramingPreference", fpXPThemes), 0, 1));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TGwFrameController::Save(const std::string& Section) {
    if (!FRegIniFile)
        throw ENoRegIniFile(sGwCannotSaveCustomFraming);
    TGwRegIniFile& r = *FRegIniFile;
    r.WriteInteger(Section, "Color", FColor);
    r.WriteInteger(Section, "FlatButtonColor", FFlatButtonColor);
    r.WriteBool(Section, "FlatButtons", FFlatButtons);
    r.WriteInteger(Section, "DisabledColor", FDisabledColor);
    r.WriteInteger(Section, "ReadOnlyColor", FReadOnlyColor);
    r.WriteBool(Section, "ReadOnlyColorOnFocus", FReadOnlyColorOnFocus);
    r.WriteInteger(Section, "FocusColor", FFocusColor);
    r.WriteInteger(Section, "FrameColor", FFrameColor);
    r.WriteInteger(Section, "FrameHotColor", FFrameHotColor);
    r.WriteInteger(Section, "FrameHotStyle", FFrameHotStyle);
    r.WriteBool(Section, "FrameHotTrack", FFrameHotTrack);
    for (int s = sdLeft; s <= sdBottom; ++s)
        r.WriteBool(Section, SideKeys[s], FFrameSides.Contains(TSide(s)));
    r.WriteInteger(Section, "FrameStyle", FFrameStyle);
    r.WriteBool(Section, "FrameVisible", FFrameVisible);
    r.WriteInteger(Section, "FramingPreference", FFramingPreference);
}

// ---------------------------------------------------------------- TGwFrameControllerLink

TGwFrameControllerLink::~TGwFrameControllerLink() {
    if (FController)
        FController->RemoveControl(FControl);
}

void TGwFrameControllerLink::SetController(TGwFrameController* Value) {
    if (FController)
        FController->RemoveControl(FControl);
    FController = Value;
    if (Value) {
        Value->FreeNotification(FControl);
        Value->AddControl(FControl);
    }
}

void TGwFrameControllerLink::Removed(TComponent* AComponent) {
    if (AComponent == FController)
        FController = nullptr;
}

// ---------------------------------------------------------------- TGwCustomColors

TGwCustomColors::TGwCustomColors(TComponent* AOwner)
    : TComponent(AOwner), FColors(std::make_unique<TStringList>()) {
    InitColors();
}

void TGwCustomColors::InitColors() {
    for (char letter = 'A'; letter <= 'P'; ++letter)
        FColors->Add(std::string("Color") + letter + "=FFFFFF");
}

void TGwCustomColors::SetColors(const TStrings* Value) {
    FColors->Assign(const_cast<TStrings*>(Value));
    FixupColors();
}

void TGwCustomColors::FixupColors() {
    for (int i = 0; i < FColors->Count(); ++i) {
        const unsigned value = unsigned(StrToInt("$" + FColors->ValueFromIndex(i))) & 0xFFFFFFu;
        FColors->Put(i, FColors->Names(i) + "=" + IntToHex(value, 6));
    }
}

void TGwCustomColors::Load(const std::string& Section) {
    if (!FRegIniFile)
        throw ENoRegIniFile(sGwCannotLoadCustomColors);
    FRegIniFile->ReadSectionValues(Section, FColors.get());
    FixupColors();
}

void TGwCustomColors::Save(const std::string& Section) {
    if (!FRegIniFile)
        throw ENoRegIniFile(sGwCannotSaveCustomColors);
    for (int i = 0; i < FColors->Count(); ++i)
        FRegIniFile->WriteString(Section, FColors->Names(i), FColors->ValueFromIndex(i));
}

void TGwCustomColors::SetRegIniFile(TGwRegIniFile* Value) {
    FRegIniFile = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TGwCustomColors::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FRegIniFile)
        FRegIniFile = nullptr;
}

// ---------------------------------------------------------------- TGwDialogComponent

TGwDialogComponent::TGwDialogComponent(TComponent* AOwner)
    : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
    FFont->SetName("MS Sans Serif");
    FFont->SetSize(8);
}

void TGwDialogComponent::SetCenterToParent(bool Value) {
    FCenterToParent = Value;
    Position = Value ? poOwnerFormCenter : poScreenCenter;
}

void TGwDialogComponent::CenterForm(TCustomForm* Form) const { Form->SetPosition(Position); }
