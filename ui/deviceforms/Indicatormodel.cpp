// The QBX-570-МЩ3 indicator settings over the channel list.
#include "Indicatormodel.h"

#include <algorithm>

#include "Objectstore.h"
#include "elem.h"
#include "sysutils.h"

namespace {

TParamItem* AsParam(ELEM* e) { return static_cast<TParamItem*>(e); }

bool Listable(const TParamItem* p) {
    return p->ChannelType != 0 && p->ChannelIndex != 0 && (p->BitWidth() == 8 || p->BitWidth() == 16);
}

} // namespace

std::string IndicatorChannelText(const TParamItem* p) {
    return IntToStr(p->ChannelType) + ":" + IntToStr(p->ChannelIndex) + "-" + p->Name;
}

TParamItem* FindIndicatorParam(ELEMList* channels, uint16_t objectNumber, uint16_t type) {
    const uint8_t index = uint8_t(objectNumber + 49);
    for (ELEM* e = channels ? channels->Oldest : nullptr; e; e = e->Newer) {
        TParamItem* p = AsParam(e);
        if (p->ChannelType == type && p->ChannelIndex == index && p->ValueBytes() >= kIndicatorBytes)
            return p;
    }
    return nullptr;
}

bool TIndicatorSettings::Load(ELEMList* channels, uint16_t objectNumber) {
    channels_ = channels;
    object_ = objectNumber;
    Selected.clear();
    Available.clear();
    TParamItem* sources = FindIndicatorParam(channels, objectNumber, kIndicatorSourcesType);
    TParamItem* formats = FindIndicatorParam(channels, objectNumber, kIndicatorFormatsType);
    if (!sources || !formats)
        return false;
    for (int i = 0; i < kIndicatorLines; ++i) {
        const int b = i * kIndicatorEntryBytes;
        uint16_t type = uint16_t(sources->Value[b] | sources->Value[b + 1] << 8);
        uint8_t index = sources->Value[b + 2];
        if (type == 0 || index == 0)
            continue;
        for (ELEM* e = channels->Oldest; e; e = e->Newer) {
            TParamItem* p = AsParam(e);
            if (p->ChannelType == type && p->ChannelIndex == index) {
                TIndP f{formats->Value[b], uint16_t(formats->Value[b + 1] | formats->Value[b + 2] << 8)};
                Selected.push_back({IndicatorChannelText(p), f});
                break;
            }
        }
    }
    for (ELEM* e = channels->Oldest; e; e = e->Newer) {
        TParamItem* p = AsParam(e);
        std::string text = IndicatorChannelText(p);
        if (Listable(p) &&
            std::none_of(Selected.begin(), Selected.end(), [&](auto& l) { return l.Text == text; }))
            Available.push_back(text);
    }
    return true;
}

bool TIndicatorSettings::Add(const std::string& text) {
    auto at = std::find(Available.begin(), Available.end(), text);
    if (text.empty() || at == Available.end() || !CanAdd())
        return false;
    Selected.push_back({text, {}});
    Available.erase(at);
    return true;
}

bool TIndicatorSettings::Remove(const std::string& text) {
    auto at = std::find_if(Selected.begin(), Selected.end(), [&](auto& l) { return l.Text == text; });
    if (text.empty() || at == Selected.end())
        return false;
    Available.push_back(text);
    Selected.erase(at);
    return true;
}

bool TIndicatorSettings::Move(int line, int delta) {
    int to = line + delta;
    if (line < 0 || line >= int(Selected.size()) || to < 0 || to >= int(Selected.size()))
        return false;
    std::swap(Selected[size_t(line)], Selected[size_t(to)]);
    return true;
}

TParamItem* TIndicatorSettings::Find(const std::string& text) const {
    for (ELEM* e = channels_ ? channels_->Oldest : nullptr; e; e = e->Newer)
        if (IndicatorChannelText(AsParam(e)) == text)
            return AsParam(e);
    return nullptr;
}

bool TIndicatorSettings::Write() {
    TParamItem* sources = FindIndicatorParam(channels_, object_, kIndicatorSourcesType);
    TParamItem* formats = FindIndicatorParam(channels_, object_, kIndicatorFormatsType);
    if (!sources || !formats)
        return false;
    for (int b = 0; b < kIndicatorBytes; ++b)
        sources->Value[b] = 0;
    for (size_t r = 0; r < Selected.size() && r < size_t(kIndicatorLines); ++r) {
        TParamItem* p = Find(Selected[r].Text);
        if (!p)
            continue;
        const int b = int(r) * kIndicatorEntryBytes;
        sources->Value[b] = uint8_t(p->ChannelType);
        sources->Value[b + 1] = uint8_t(p->ChannelType >> 8);
        sources->Value[b + 2] = p->ChannelIndex;
        formats->Value[b] = Selected[r].Format.Digits;
        formats->Value[b + 1] = uint8_t(Selected[r].Format.Divisor);
        formats->Value[b + 2] = uint8_t(Selected[r].Format.Divisor >> 8);
    }
    return true;
}
