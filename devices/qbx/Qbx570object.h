// The indicator controllers QBX-570-МЩ3 (up to 16 registers, edited in the indicator form) and
// QBX-570-МЩ1 (one register). They share the address rows and the settings channels' numbering.
// Device layer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "deviceitem.h"
#include "qbxdata.h"

namespace qbx {
// What distinguishes the two indicator controllers' settings.
struct Qbx570Layout {
    const char* displayType;
    const char* tag;
    const char* prefix;
    const char* folder;
    const SubprogramDef* subprograms;
    uint16_t firstType; // settings parameter k has channel type firstType + k
    int indexOffset;    // channel index = (number + offset) mod 256
    int settingsCount;  // parameters numbered with the object
};
extern const Qbx570Layout Qbx570mp3Layout;
extern const Qbx570Layout Qbx570mp1Layout;
} // namespace qbx

class TQbx570Item : public TDeviceItem {
public:
    ~TQbx570Item() override;

    bool GetParamValueText(TParamItem* p, std::string& text) override;
    bool SetParamValueText(TParamItem* p, const std::string& text) override;
    std::string GetDisplayName() override;
    void SetNumber(uint16_t number) override;
    void GetPollCommandNames(TStrings* s) override;
    void GetPropertyText(int row, std::string& text) override;

    void ApplyPropertyValue(int row, const std::string& text) override;

    TParamItem* Param(int k) const { return m_param[k]; }
    uint16_t SubprogramId(int k) const { return m_sub[k]; }

protected:
    RowEditor PropertyRowEditor(int row) const override;
    TQbx570Item(const qbx::Qbx570Layout& layout, uint16_t number, ELEMList* channels, actionManager* store);
    uint8_t SettingsIndex(uint16_t number) const;
    // Moves the settings channels to the index of the current number where that address is free;
    // true when one moved.
    bool FollowNumber();
    // The newest stored settings channel k, or a new one with the given width and default.
    TParamItem* SettingsParam(int k, uint16_t bits, const uint8_t* value, int len, const char* name);
    void Own(TParamItem* p, const char* name);
    virtual void ExtraRowText(int row, std::string& text) = 0;
    // Every controller of this kind in existence (all on the GUI thread), whatever its configuration.
    static std::vector<TQbx570Item*>& LiveControllers();

    const qbx::Qbx570Layout& m_layout;
    uint16_t m_sub[5] = {};
    TParamItem* m_param[3] = {};
    int m_paramCount = 0;
};

class TQbx570mp3Item : public TQbx570Item {
public:
    TQbx570mp3Item(uint16_t number, ELEMList* channels, actionManager* store);
    void GetPropertyNames(TStrings* s) override;
    void ApplyPropertyValue(int row, const std::string& text) override;
    // Hands the channel list and the object number to the indicator form and shows it.
    void ShowIndicatorEditor();

protected:
    RowEditor PropertyRowEditor(int row) const override;
    TWinControl* CreateSpecialEditor(int row, TWinControl* host, TNotifyEvent exitEvent) override;

private:
    void ExtraRowText(int row, std::string& text) override;
};

class TQbx570mp1Item : public TQbx570Item {
public:
    TQbx570mp1Item(uint16_t number, ELEMList* channels, actionManager* store);
    void GetPropertyNames(TStrings* s) override;
    void ApplyPropertyValue(int row, const std::string& text) override;

private:
    void ExtraRowText(int row, std::string& text) override;
};
