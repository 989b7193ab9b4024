// What the meters share. Device layer.
#include "meterkit.h"

#include "Editorkit.h"

using namespace dev;
using namespace meter;

namespace meter {

std::string SignedText(const TParamItem* p) {
    const uint32_t v =
        p->Value[0] | p->Value[1] << 8 | p->Value[2] << 16 | static_cast<uint32_t>(p->Value[3]) << 24;
    return IntToStr(static_cast<int32_t>(v));
}

std::string TariffText(const TParamItem* p, const char* unit) {
    std::string text;
    for (int t = 0; t < 4; ++t) {
        uint32_t v = 0;
        for (int b = 3; b >= 0; --b)
            v = v << 8 | p->Value[4 * t + b];
        text += (t ? "; T" : "T") + IntToStr(t + 1) + " = ";
        text += v == 0xFFFFFFFFu ? std::string("?") : IntToStr(static_cast<int32_t>(v)) + unit;
    }
    return text;
}

void MeterCheck(TDeviceEngine* o, TStrings* s, std::span<const int8_t> needed, int firstTariff) {
    s->Clear();
    std::vector<bool> marked(static_cast<size_t>(o->CommandCount()) + 1, false);
    bool tariffs = false;
    for (int i = 0; i < o->ParamCount() && i < static_cast<int>(needed.size()); ++i) {
        const TParamItem* p = o->Param(i);
        if (!p || p->ChannelType == 0 || p->ChannelIndex == 0)
            continue;
        if (needed[i] == kTariffMark)
            tariffs = true;
        else if (needed[i] > 0 && needed[i] < static_cast<int>(marked.size()))
            marked[static_cast<size_t>(needed[i])] = true;
    }
    const std::string head = CheckPrefix(o, o->GetDisplayName());
    bool polled = false, tariffPolled = false;
    for (int n = 1; n < o->CommandCount(); ++n) {
        const TCommandItem* c = o->CommandAt(n);
        polled |= c->Execute == 1;
        tariffPolled |= c->Execute == 1 && c->Number >= firstTariff;
        if (c->Number < firstTariff && marked[c->Number] && c->Execute == 0)
            s->Add(head + " - Отключена команда опроса \"" + c->Name + "\" используемых параметров");
    }
    if (tariffs && !tariffPolled)
        s->Add(head + " - Не включена ни одна команда опроса по тарифам");
    if (polled && o->Period == 0)
        s->Add(head + " - Не указан общий период опроса используемых параметров");
    if (o->NetworkAddress() == 0)
        s->Add(head + " - Не задан адрес счетчика");
}

void VersionCheck(TDeviceEngine* o, actionManager* store, TStrings* s) {
    s->Clear();
    for (size_t k = 0; k < o->Def().Subprograms.size(); ++k) {
        const T_Action* a = Subprogram(store, o->SubprogramId(static_cast<int>(k)));
        if (!a)
            continue;
        const uint16_t v = ReadScriptVersion(a, "");
        const uint16_t c = a->Version;
        if (v != 0 && v > c)
            s->Add("Подпрограмма \"" + a->Caption + "\" (" + a->Name() + " - вер." + IntToStr(c / 256) + "." +
                   IntToStr(c % 256) + ")  устарела - новая версия " + IntToStr(v / 256) + "." +
                   IntToStr(v % 256));
    }
}

namespace {

struct ControlCode {
    uint8_t code;
    const char* text;
};
constexpr ControlCode kControlCodes[] = {
    {0x00, "Нет"},
    {0x11, "Вкл.: Канал ТУ1, Откл.: Канал ТУ1"},
    {0x22, "Вкл.: Канал ТУ2, Откл.: Канал ТУ2"},
    {0x23, "Вкл.: Канал ТУ2, Откл.: Канал ТУ3"},
    {0x32, "Вкл.: Канал ТУ3, Откл.: Канал ТУ2"},
    {0x33, "Вкл.: Канал ТУ3, Откл.: Канал ТУ3"},
};

} // namespace

bool ControlCodeText(uint8_t code, std::string& out) {
    for (const ControlCode& c : kControlCodes) {
        if (c.code == code) {
            out = c.text;
            return true;
        }
    }
    return false;
}

TWinControl* ControlCodeEditor(TWinControl* host, const std::string& text, TNotifyEvent exitEvent,
                               TNotifyEvent apply) {
    std::vector<std::string> items;
    for (const ControlCode& c : kControlCodes)
        items.emplace_back(c.text);
    return MakeChoice(host, std::move(items), Trim(text), std::move(exitEvent), std::move(apply));
}

void StoreControlCode(TParamItem* codes, int i, TObject* sender) {
    const int item = EditorItem(sender);
    if (item >= 0 && item < static_cast<int>(std::size(kControlCodes)))
        codes->Value[i] = kControlCodes[item].code;
}

} // namespace meter

namespace {

const char* UnitOf(uint8_t paramType) {
    switch (paramType) {
    case kCurrent: return " А";
    case kVoltage: return " В";
    case kActivePower: return " Вт";
    case kReactivePower: return " ВАр";
    case kApparentPower: return " ВА";
    default: return "";
    }
}

int DecimalsOf(int factor) { return factor == 10 ? 1 : factor == 100 ? 2 : 3; }

} // namespace

TSetpointMeter::TSetpointMeter(const TDeviceDef& def, const SetpointDef& sp, uint16_t number,
                               ELEMList* channels, actionManager* store)
    : TDeviceEngine(def, number, channels, store), FSp(sp), FValue(sp.params.size()),
      FState(sp.params.size()) {
    static constexpr uint8_t kValueInit[] = {2};
    for (size_t k = 0; k < sp.params.size(); ++k) {
        const TParamItem* m = Param(sp.params[k]);
        const uint8_t index = m->ChannelIndex;
        const bool bound = m->ChannelType != 0 && index != 0;
        if (bound) {
            FValue[k] = FindFreeChannel(FChannels, kSetpointValueType, index);
            if (FValue[k])
                FValue[k]->Owner = this;
            FState[k] = FindFreeChannel(FChannels, kSetpointStateType, index);
        }
        if (!FValue[k]) {
            FValue[k] = NewChannel(FChannels, index ? kSetpointValueType : 0, index, kSetpointValueBits,
                                   kValueInit, 1);
            FValue[k]->Store = FStore;
        }
        FValue[k]->Owner = this;
        if (!FState[k]) {
            FState[k] = NewChannel(FChannels, index ? kSetpointStateType : 0, index, kSetpointStateBits);
            FState[k]->Store = FStore;
            FState[k]->Value.Fill(0xFF);
            FState[k]->RamDepth = 1;
        }
        FState[k]->Owner = this;
        FValue[k]->Name = sp.valueName;
        FState[k]->Name = sp.stateName;
    }
}

TSetpointMeter::~TSetpointMeter() {
    std::vector<TParamItem*> all = FValue;
    all.insert(all.end(), FState.begin(), FState.end());
    for (TParamItem* p : all)
        if (p && ListHolds(FChannels, p))
            TakeOffList(FChannels, p);
    FValue.clear();
    FState.clear();
    for (TParamItem* p : all)
        delete p;
}

int TSetpointMeter::SetpointOf(const TParamItem* p) const {
    const int i = IndexOf(p);
    for (size_t k = 0; i >= 0 && k < FSp.params.size(); ++k)
        if (FSp.params[k] == i)
            return static_cast<int>(k);
    return -1;
}

void TSetpointMeter::UnbindPair(int k) {
    FValue[k]->SetAddress(0, 0);
    FState[k]->SetAddress(0, 0);
}

bool TSetpointMeter::PlacePair(int k, uint8_t index) {
    const std::pair<uint16_t, TParamItem*> pair[] = {{kSetpointValueType, FValue[k]},
                                                     {kSetpointStateType, FState[k]}};
    for (const auto& [type, own] : pair) {
        if (const TParamItem* held = AddressHolder(FChannels, type, index, own)) {
            const std::string text = "Адрес " + AddressText({type, index}) + " уже занят каналом \"" +
                                     held->Name + "\". Уставки канала \"" + Param(FSp.params[k])->Name +
                                     "\" не включены.";
            ReportConfigurationProblem(text);
            return false;
        }
    }
    FValue[k]->SetAddress(kSetpointValueType, index);
    FState[k]->SetAddress(kSetpointStateType, index);
    return true;
}

void TSetpointMeter::BindParam(uint16_t type, uint8_t index, TParamItem* p) {
    TDeviceEngine::BindParam(type, index, p);
    const int k = SetpointOf(p);
    if (k < 0 || !SameAddress(p, type, index))
        return; // not a value with set points, or the binding was refused
    if (index == 0 || p->WriteHandler == 0 || !PlacePair(k, index))
        UnbindPair(k);
}

void TSetpointMeter::ListSetpoints(TStrings* s, TParamItem* p) { TObjectItem::ListSetpoints(s, p); }

int TSetpointMeter::GetSetpointCount(TParamItem* p) { return SetpointOf(p) >= 0 ? 2 : 0; }

int TSetpointMeter::SetpointFactor(int i) const {
    switch (Param(i)->ParamType) {
    case kCurrent:
    case kPowerFactor: return 1000;
    case kVoltage:
    case kActivePower:
    case kReactivePower:
    case kApparentPower: return 10;
    default: return 0;
    }
}

void TSetpointMeter::GetSetpointValueText(TParamItem* p, int n, std::string& out) {
    const int k = SetpointOf(p);
    if (k < 0)
        return;
    const int factor = SetpointFactor(FSp.params[k]);
    if (factor <= 0)
        return;
    if (n != 0 && n != 1) {
        out.clear();
        return;
    }
    const double v = GetU16(FValue[k], 1 + 2 * n) / static_cast<double>(factor);
    out = FloatToStrF(v, ffFixed, 10, DecimalsOf(factor)) + UnitOf(p->ParamType);
}

void TSetpointMeter::SetSetpointValue(TParamItem* p, int n, const std::string& text) {
    const int k = SetpointOf(p);
    if (k < 0)
        return;
    if (text == "Нет") {
        p->WriteHandler = 0;
        UnbindPair(k);
        return;
    }
    const int factor = SetpointFactor(FSp.params[k]);
    if (n != 0 && n != 1)
        return;
    const std::string unit = UnitOf(p->ParamType);
    const int decimals = DecimalsOf(factor);
    const double highest = 0xFFFF / static_cast<double>(factor > 0 ? factor : 1);
    uint16_t raw = 0;
    if (!ReadSetpoint(text, unit.c_str(), factor > 0 ? factor : 1,
                      FloatToStrF(0.0, ffFixed, 10, decimals) + unit,
                      FloatToStrF(highest, ffFixed, 10, decimals) + unit, raw))
        return;
    const uint8_t index = p->ChannelType != 0 ? p->ChannelIndex : 0;
    if (index != 0 && !PlacePair(k, index))
        return;
    SetU16(FValue[k], 1 + 2 * n, raw);
    if (FStore)
        p->WriteHandler = FStore->FindOrCreate(kBoundsHandlerName, kBoundsHandlerReservedId, 1);
    if (index == 0)
        UnbindPair(k);
}
