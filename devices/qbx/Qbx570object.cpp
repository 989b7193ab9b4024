// The indicator controllers QBX-570-МЩ3 and QBX-570-МЩ1. Device layer.
#include "Qbx570object.h"

#include <algorithm>

#include "Uind570mp3.h"
#include "Editorkit.h"

using namespace qbx;

namespace qbx {
const Qbx570Layout Qbx570mp3Layout = {
    "Контроллер QBX-570-МЩ3", "QBX570MP3", "QBX-570-МЩ3: ", "qbx570mp3", Qbx570mp3Subprograms, 1083, 49, 3,
};
const Qbx570Layout Qbx570mp1Layout = {
    "Контроллер QBX-570-МЩ1", "QBX570MP1", "QBX-570-МЩ1: ", "qbx570mp1", Qbx570mp1Subprograms, 1086, -79, 1,
};
} // namespace qbx

namespace {

constexpr int kTableBits = 384;
constexpr int kSettingsBits = 56;
constexpr int kRegisterBits = 32;

// Sixteen entries of digits 0 and divisor 1.
struct FormatDefault {
    uint8_t bytes[48];
    constexpr FormatDefault() : bytes() {
        for (int e = 0; e < 16; ++e)
            bytes[3 * e + 1] = 1;
    }
};
constexpr FormatDefault kFormatDefault;

// "t:i" (or "t,i") to an address; false unless exactly two integer items.
bool ReadRegister(const std::string& text, Address& out) {
    const std::vector<std::string> items =
        CommaItems(StringReplace(text, ":", ",", TReplaceFlags{rfReplaceAll}));
    int t = 0, i = 0;
    if (items.size() != 2 || !ReadInt(items[0], t) || !ReadInt(items[1], i))
        return false;
    out = {static_cast<uint16_t>(t), static_cast<uint8_t>(i)};
    return true;
}

} // namespace

TQbx570Item::TQbx570Item(const Qbx570Layout& layout, uint16_t number, ELEMList* channels,
                         actionManager* store)
    : TDeviceItem(number, channels, store), m_layout(layout) {
    DisplayType = layout.displayType;
    Tag = layout.tag;
    MessageHandler = 0;
    LoadSubprograms(store, layout.folder, layout.subprograms, 5, nullptr, m_sub);
    LiveControllers().push_back(this);
}

std::vector<TQbx570Item*>& TQbx570Item::LiveControllers() {
    static std::vector<TQbx570Item*> live;
    return live;
}

// The configuration renumbers the remaining controllers before it destroys this one, while our
// channels still hold the addresses they move to; once ours are gone they can follow. The others are
// found among the live controllers, never through channel owners, which may name objects already
// freed while a configuration is torn down.
TQbx570Item::~TQbx570Item() {
    std::vector<TQbx570Item*>& live = LiveControllers();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    for (int k = 0; k < m_paramCount; ++k)
        ReleaseChannel(m_channels, m_param[k]);
    std::vector<TQbx570Item*> others;
    for (TQbx570Item* o : live)
        if (o->m_channels == m_channels)
            others.push_back(o);
    for (size_t pass = 0; pass < others.size(); ++pass) {
        bool moved = false;
        for (TQbx570Item* o : others)
            moved = o->FollowNumber() || moved;
        if (!moved)
            break;
    }
}

uint8_t TQbx570Item::SettingsIndex(uint16_t number) const {
    return static_cast<uint8_t>((number + m_layout.indexOffset) & 0xFF);
}

void TQbx570Item::Own(TParamItem* p, const char* name) {
    p->Name = std::string(m_layout.prefix) + name;
    p->Kind = kChannelSetting;
    p->Owner = this;
}

TParamItem* TQbx570Item::SettingsParam(int k, uint16_t bits, const uint8_t* value, int len,
                                       const char* name) {
    const uint16_t type = static_cast<uint16_t>(m_layout.firstType + k);
    const uint8_t index = SettingsIndex(Number);
    TParamItem* p = nullptr;
    ForEachChannel(m_channels, [&](TParamItem* c) {
        if (SameAddress(c, type, index) && !c->Owner)
            p = c;
        return true;
    });
    if (!p)
        p = NewChannel(m_channels, type, index, bits, value, len);
    Own(p, name);
    return p;
}

bool TQbx570Item::GetParamValueText(TParamItem*, std::string& text) {
    text = "значение недоступно";
    return false;
}

bool TQbx570Item::SetParamValueText(TParamItem*, const std::string&) { return false; }

std::string TQbx570Item::GetDisplayName() {
    return "ID-" + IntToStr(Number) + ", адрес " + DottedBytes(m_param[0]) + "-" +
           IntToStr(m_param[0]->Value[3]);
}

// The settings channels follow the number, so that the next load finds them again; a channel
// already at the new address is not disturbed and ours stay where they were until it is gone.
void TQbx570Item::SetNumber(uint16_t number) {
    TObjectItem::SetNumber(number);
    FollowNumber();
}

bool TQbx570Item::FollowNumber() {
    const uint8_t index = SettingsIndex(Number);
    bool moved = false;
    for (int k = 0; k < m_layout.settingsCount; ++k) {
        TParamItem* p = m_param[k];
        if (!p || p->ChannelIndex == index)
            continue;
        bool taken = false;
        ForEachChannel(m_channels, [&](TParamItem* c) {
            taken = c != p && SameAddress(c, p->ChannelType, index);
            return !taken;
        });
        if (!taken) {
            p->ChannelIndex = index;
            moved = true;
        }
    }
    return moved;
}

void TQbx570Item::GetPollCommandNames(TStrings* s) {
    s->Clear();
    s->Add("Установка индикации");
}

void TQbx570Item::GetPropertyText(int row, std::string& text) {
    if (row <= 1)
        TObjectItem::GetPropertyText(row, text);
    else if (row == 2)
        text = DottedBytes(m_param[0]);
    else if (row == 3)
        text = IntToStr(m_param[0]->Value[3]);
    else if (row == 4)
        text = AddressText(GetEntry(m_param[0], 4));
    else
        ExtraRowText(row, text);
}

TDeviceItem::RowEditor TQbx570Item::PropertyRowEditor(int row) const {
    return row >= 2 && row <= 4 ? RowEditor::Text : TDeviceItem::PropertyRowEditor(row);
}

void TQbx570Item::ApplyPropertyValue(int row, const std::string& text) {
    if (row == 2)
        ApplyDottedBytes(m_param[0], text);
    else if (row == 3)
        ApplyByte(m_param[0], 3, text);
}

// ---- QBX-570-МЩ3 ----

TQbx570mp3Item::TQbx570mp3Item(uint16_t number, ELEMList* channels, actionManager* store)
    : TQbx570Item(Qbx570mp3Layout, number, channels, store) {
    AddCommand(this, "Установка индикации", 1, 0, m_sub[0], m_sub[1], m_sub[3]);
    MessageHandler = m_sub[2];
    m_paramCount = 3;
    m_param[0] = SettingsParam(0, kSettingsBits, kQbx570SettingsDefault, 7, Qbx570mp3ParamNames[0]);
    m_param[1] = SettingsParam(1, kTableBits, nullptr, 0, Qbx570mp3ParamNames[1]);
    m_param[2] = SettingsParam(2, kTableBits, kFormatDefault.bytes, 48, Qbx570mp3ParamNames[2]);
}

void TQbx570mp3Item::GetPropertyNames(TStrings* s) {
    TObjectItem::GetPropertyNames(s);
    for (const char* row :
         {"Сетевой адрес", "Собственный адрес", "Номер текущего значения", "Настройка индикации"})
        s->Add(row);
}

void TQbx570mp3Item::ExtraRowText(int row, std::string& text) {
    if (row == 5)
        text = "Щелкни для настройки";
}

TDeviceItem::RowEditor TQbx570mp3Item::PropertyRowEditor(int row) const {
    return row == 5 ? RowEditor::Special : TQbx570Item::PropertyRowEditor(row);
}

TWinControl* TQbx570mp3Item::CreateSpecialEditor(int, TWinControl* host, TNotifyEvent exitEvent) {
    return MakeButtonEditor(host, "настроить", exitEvent, [this](TObject* s) { ApplyPropertyEditor(s); });
}

void TQbx570mp3Item::ApplyPropertyValue(int row, const std::string& text) {
    Address a;
    if (row == 4) {
        if (ReadRegister(text, a))
            SetEntry(m_param[0], 4, a);
    } else if (row == 5) {
        ShowIndicatorEditor();
    } else {
        TQbx570Item::ApplyPropertyValue(row, text);
    }
}

void TQbx570mp3Item::ShowIndicatorEditor() {
    if (!frmInd570mp3)
        return;
    frmInd570mp3->Channels = m_channels;
    frmInd570mp3->ObjectNumber = Number;
    frmInd570mp3->ShowModal();
}

// ---- QBX-570-МЩ1 ----

TQbx570mp1Item::TQbx570mp1Item(uint16_t number, ELEMList* channels, actionManager* store)
    : TQbx570Item(Qbx570mp1Layout, number, channels, store) {
    AddCommand(this, "Установка индикации", 1, 1, m_sub[0], m_sub[1], 0);
    m_paramCount = 2;
    m_param[0] = SettingsParam(0, kSettingsBits, kQbx570SettingsDefault, 7, Qbx570mp1ParamNames[0]);

    // The shown register is a channel of its own, found by the address the settings hold.
    const Address reg = GetEntry(m_param[0], 4);
    ForEachChannel(channels, [&](TParamItem* c) {
        if (reg.index != 0 && AddressOf(c) == reg && !c->Owner)
            m_param[1] = c;
        return true;
    });
    if (!m_param[1])
        m_param[1] = NewChannel(channels, 0, 0, kRegisterBits);
    Own(m_param[1], Qbx570mp1ParamNames[1]);
}

void TQbx570mp1Item::GetPropertyNames(TStrings* s) {
    TObjectItem::GetPropertyNames(s);
    for (const char* row : {"Сетевой адрес", "Собственный адрес", "Регистр"})
        s->Add(row);
}

void TQbx570mp1Item::ExtraRowText(int, std::string&) {}

void TQbx570mp1Item::ApplyPropertyValue(int row, const std::string& text) {
    if (row != 4) {
        TQbx570Item::ApplyPropertyValue(row, text);
        return;
    }
    Address a;
    if (!ReadRegister(text, a))
        return;
    if (a.type != 0 && a.index != 0 && FindChannel(m_channels, a.type, a.index))
        return; // another channel (or the register itself) already has this address
    SetEntry(m_param[0], 4, a);
    m_param[1]->ChannelType = a.type;
    m_param[1]->ChannelIndex = a.index;
}
