// What the QBX-570-МЩ3 indicator shows: up to 16 channels in order, each with its digits after the
// point and its divisor, kept in the object's two parameters. User-interface layer, no controls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ELEMList;
class TParamItem;

inline constexpr uint16_t kIndicatorSourcesType = 1084;
inline constexpr uint16_t kIndicatorFormatsType = 1085;
inline constexpr int kIndicatorLines = 16;
inline constexpr int kIndicatorEntryBytes = 3;
inline constexpr int kIndicatorBytes = kIndicatorLines * kIndicatorEntryBytes;

// The settings of one indicated channel.
struct TIndP {
    uint8_t Digits = 0;
    uint16_t Divisor = 1;
};

// "4:17-" and the name: how channels are shown and matched.
std::string IndicatorChannelText(const TParamItem* p);

struct TIndicatorLine {
    std::string Text;
    TIndP Format;
};

class TIndicatorSettings {
public:
    // Finds the object's two parameters and builds both lists; false (lists empty) when either is
    // missing or too short.
    bool Load(ELEMList* channels, uint16_t objectNumber);

    std::vector<TIndicatorLine> Selected; // indicator order
    std::vector<std::string> Available;   // unordered; the list box sorts

    bool CanAdd() const { return Selected.size() < size_t(kIndicatorLines); }
    // Each returns false when it changed nothing.
    bool Add(const std::string& text);
    bool Remove(const std::string& text);
    bool Move(int line, int delta); // -1 up, +1 down
    // Writes both parameters' entries; false when a parameter is gone.
    bool Write();

private:
    TParamItem* Find(const std::string& text) const;
    ELEMList* channels_ = nullptr;
    uint16_t object_ = 0;
};

// The object's parameter of that type (1084, 1085) with at least 48 value bytes, or null.
TParamItem* FindIndicatorParam(ELEMList* channels, uint16_t objectNumber, uint16_t type);
