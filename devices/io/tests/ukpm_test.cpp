// The УКПМ unit: what a new one holds, the rebuild of its channels when a count changes (checked
// against a simple model of records and channels), the per-channel rows, and what survives a save,
// a load and a deletion.
#include <algorithm>
#include <set>

#include "Ukpmobject.h"
#include "editorhost.h"
#include "forms.h"
#include "iofixture.h"
#include "stdctrls.h"

using namespace iotest;
using Kind = TUKPMItem::Kind;

namespace {

constexpr Kind kAllKinds[] = {TUKPMItem::Ts, TUKPMItem::Tit, TUKPMItem::Tii};
constexpr const char* kKindNames[] = {"TS", "TIT", "TII"};
constexpr int kOrdinalBase[] = {3, 131, 161};

// What the unit should hold: the counts, and the records (the largest count on a rise, the largest
// count before the change on a fall).
struct Model {
    int counts[3] = {0, 0, 0};
    size_t records = 0;

    void Set(Kind kind, int n) {
        n = std::min(n, TUKPMItem::kMaxCount[kind]);
        const int old = counts[kind];
        if (n == old)
            return;
        const int most = *std::max_element(std::begin(counts), std::end(counts));
        records = n > old ? std::max(records, static_cast<size_t>(n)) : static_cast<size_t>(most);
        counts[kind] = n;
    }
};

class Ukpm : public IoTest {
protected:
    TUKPMItem* Add() { return dynamic_cast<TUKPMItem*>(cm->AddObject(TUKPMItem::kTypeCode)); }
    TUKPMItem* Unit() const { return Find<TUKPMItem>(); }

    void Set(TUKPMItem* o, Model& m, Kind kind, int n) {
        ASSERT_TRUE(o->SetCount(kind, std::to_string(n)));
        m.Set(kind, n);
        Verify(o, m);
    }

    // Every record once, in order; channel k of every kind belongs to record k and the record holds its
    // address; records past a count hold none of that kind; nothing else is on the channel list.
    void Verify(TUKPMItem* o, const Model& m) {
        SCOPED_TRACE(std::to_string(m.counts[0]) + "/" + std::to_string(m.counts[1]) + "/" +
                     std::to_string(m.counts[2]));
        const std::vector<TParamItem*> all = Channels();
        const std::set<TParamItem*> onList(all.begin(), all.end());
        ASSERT_EQ(o->Records().size(), m.records);
        std::set<TParamItem*> seen;
        for (size_t n = 0; n < m.records; ++n) {
            TParamItem* r = o->Records()[n];
            EXPECT_TRUE(seen.insert(r).second) << "record listed twice: " << n;
            EXPECT_TRUE(onList.count(r));
            EXPECT_EQ(dev::AddressOf(r), (dev::Address{TUKPMItem::kRecordType, static_cast<uint8_t>(n + 1)}));
            EXPECT_EQ(r->Owner, o);
            EXPECT_EQ(r->Name, "Канал " + std::to_string(n) + " УКПМ");
        }
        for (Kind kind : kAllKinds) {
            SCOPED_TRACE(kKindNames[kind]);
            EXPECT_EQ(o->Count(kind), m.counts[kind]);
            const auto& list = o->ChannelsOf(kind);
            ASSERT_EQ(list.size(), static_cast<size_t>(m.counts[kind]));
            for (size_t n = 0; n < m.records; ++n) {
                const dev::Address entry = dev::GetEntry(o->Records()[n], 3 * kind);
                if (n < list.size()) {
                    TParamItem* c = list[n];
                    EXPECT_TRUE(seen.insert(c).second);
                    EXPECT_TRUE(onList.count(c));
                    EXPECT_EQ(c->Owner, o);
                    EXPECT_EQ(c->Ordinal, n + kOrdinalBase[kind]);
                    EXPECT_EQ(entry, dev::AddressOf(c)) << n;
                } else {
                    EXPECT_TRUE(entry.Empty()) << n;
                }
            }
        }
        ASSERT_EQ(o->TiiSettings().size(), static_cast<size_t>(m.counts[TUKPMItem::Tii]));
        ASSERT_EQ(o->TiiValues().size(), static_cast<size_t>(m.counts[TUKPMItem::Tii]));
        for (size_t n = 0; n < o->TiiSettings().size(); ++n) {
            EXPECT_EQ(dev::AddressOf(o->TiiSettings()[n]),
                      (dev::Address{TUKPMItem::kTiiSettingsType, static_cast<uint8_t>(n + 1)}));
            EXPECT_EQ(dev::AddressOf(o->TiiValues()[n]),
                      (dev::Address{TUKPMItem::kTiiValuesType, static_cast<uint8_t>(n + 1)}));
            EXPECT_TRUE(seen.insert(o->TiiSettings()[n]).second);
            EXPECT_TRUE(seen.insert(o->TiiValues()[n]).second);
        }
        const size_t items = 2 + TUKPMItem::kCrc9Items + seen.size();
        EXPECT_EQ(all.size(), kBuiltInChannelCount + items);
    }
};

TEST_F(Ukpm, NewUnit) {
    TUKPMItem* o = Add();
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(o->Number, 999);
    EXPECT_EQ(cm->AddObject(TUKPMItem::kTypeCode), nullptr); // once per configuration
    ASSERT_EQ(o->CommandCount(), 14);
    EXPECT_EQ(Lines([&](TStrings* s) { o->GetPollCommandNames(s); }).size(), 9u);
    EXPECT_EQ(o->CommandAt(0)->Execute, 0);
    EXPECT_EQ(o->CommandAt(13)->Name, "Управление*");
    EXPECT_EQ(o->CommandAt(13)->Execute, 1);
    EXPECT_EQ(o->CommandAt(13)->Prepare, 0);
    EXPECT_EQ(o->CommandAt(0)->Prepare, o->SubprogramId(1));
    EXPECT_EQ(o->CommandAt(0)->NoAnswer, o->SubprogramId(4));
    EXPECT_EQ(ValueText(o, o->SettingsItem(0)), "Лидер: 8, Сетевой адрес: 0");
    EXPECT_EQ(ValueText(o, o->SettingsItem(1)), "ТС: 0; ТИТ: 0; ТИИ: 0");
    EXPECT_EQ(ValueText(o, o->Crc9Item(0)), "[0],[41],[82],[123]");
    EXPECT_EQ(ValueText(o, o->Crc9Item(127)).substr(ValueText(o, o->Crc9Item(127)).size() - 4), "[22]");
    EXPECT_EQ(TUKPMItem::Crc9Entry(16), 185);
    EXPECT_EQ(Lines([&](TStrings* s) { o->CheckConfiguration(s); }),
              std::vector<std::string>{"Объект \"УКПМ (КОМПАС 1.0) \" - Не задан адрес прибора"});
    Verify(o, Model{});
}

class UkpmKind : public Ukpm, public ::testing::WithParamInterface<Kind> {};

// Rise, bind, fall, rise again, down to nothing and up: the record list never holds a record twice,
// and every channel belongs to its record.
TEST_P(UkpmKind, RebuildFollowsTheModel) {
    const Kind kind = GetParam();
    const Kind other = kind == TUKPMItem::Ts ? TUKPMItem::Tit : TUKPMItem::Ts;
    TUKPMItem* o = Add();
    ASSERT_NE(o, nullptr);
    Model m;
    Set(o, m, kind, 3);
    o->BindParam(3000, 2, o->ChannelsOf(kind)[1]);
    o->BindParam(3000, 3, o->ChannelsOf(kind)[2]);
    Verify(o, m);
    Set(o, m, kind, 1);
    EXPECT_EQ(CountAddress(3000, 3), 0);
    Set(o, m, kind, 3);
    Set(o, m, other, 2);
    Set(o, m, kind, 0);
    Set(o, m, kind, 4);
    Set(o, m, other, 0);
    Set(o, m, kind, 2);
    Set(o, m, kind, 5);
    o->BindParam(3001, 4, o->ChannelsOf(kind)[4]);
    Set(o, m, other, 1);
    Verify(o, m);
    SaveAndReload();
    o = Unit();
    ASSERT_NE(o, nullptr);
    Verify(o, m);
    EXPECT_EQ(dev::AddressOf(o->ChannelsOf(kind)[4]), (dev::Address{3001, 4}));
    Set(o, m, kind, 0);
    Set(o, m, other, 0);
    Set(o, m, kind, 2);
}

INSTANTIATE_TEST_SUITE_P(Kinds, UkpmKind, ::testing::ValuesIn(kAllKinds),
                         [](const ::testing::TestParamInfo<Kind>& info) {
                             return std::string(kKindNames[info.param]);
                         });

// A count past what the unit holds, or below 0, is refused with a message naming the row and its
// range; a text that is no number is refused without one.
TEST_F(Ukpm, CountsPastTheUnitOrNegativeRefusedWithAMessage) {
    TUKPMItem* o = Add();
    ASSERT_NE(o, nullptr);
    messages.clear();
    o->ApplyPropertyValue(4, "129");
    o->ApplyPropertyValue(5, "31");
    o->ApplyPropertyValue(6, "33");
    EXPECT_EQ(RowText(o, 4), "0");
    EXPECT_EQ(RowText(o, 5), "0");
    EXPECT_EQ(RowText(o, 6), "0");
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[2],
              "\"Количество каналов ТИИ\": значение 33 не сохранено, допустимы значения от 0 до 32.");
    o->ApplyPropertyValue(4, "128");
    o->ApplyPropertyValue(5, "30");
    o->ApplyPropertyValue(6, "32");
    EXPECT_EQ(RowText(o, 4), "128");
    EXPECT_EQ(RowText(o, 5), "30");
    EXPECT_EQ(RowText(o, 6), "32");
    messages.clear();
    for (const char* text : {"", "x", "3.5"})
        EXPECT_FALSE(o->SetCount(TUKPMItem::Tii, text)) << text;
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(o->SetCount(TUKPMItem::Tii, "-1"));
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(RowText(o, 6), "32");
    Model m;
    m.Set(TUKPMItem::Ts, 128);
    m.Set(TUKPMItem::Tit, 30);
    m.Set(TUKPMItem::Tii, 32);
    Verify(o, m);
    o->ApplyPropertyValue(2, "44");
    o->ApplyPropertyValue(3, "7");
    EXPECT_EQ(RowText(o, 2), "44");
    EXPECT_EQ(RowText(o, 3), "7");
    // Channels past the pin tables are described without pins.
    EXPECT_EQ(o->GetParamDescription(o->ChannelsOf(TUKPMItem::Ts)[8]), "УКПМ - 7, TC-2/1 (X4-25,27)");
    EXPECT_EQ(o->GetParamDescription(o->ChannelsOf(TUKPMItem::Ts)[127]), "УКПМ - 7, TC-16/8");
    EXPECT_EQ(o->GetParamDescription(o->ChannelsOf(TUKPMItem::Tit)[29]), "УКПМ - 7, TИТ-4/6 (X3-22,24)");
    EXPECT_EQ(o->GetParamDescription(o->ChannelsOf(TUKPMItem::Tii)[31]), "УКПМ - 7, TИИ-4/8 (X3-45,47)");
}

// The control choice edits the ТС channel of the record's own position, even where an earlier
// channel is unbound too; G and N outside 1..8 are refused.
TEST_F(Ukpm, ControlChoiceOnTheChannelOfItsOwnRecord) {
    TUKPMItem* o = Add();
    ASSERT_NE(o, nullptr);
    ASSERT_TRUE(o->SetCount(TUKPMItem::Ts, "3"));
    TParamItem* first = o->ChannelsOf(TUKPMItem::Ts)[0];
    TParamItem* third = o->ChannelsOf(TUKPMItem::Ts)[2];
    const uint16_t stateChange = cm->Actions->FindOrCreate("log_handleStateChange", 0, 0);
    EXPECT_NE(stateChange, 0);
    EXPECT_EQ(third->WriteHandler, stateChange);
    EXPECT_EQ(Lines([&](TStrings* s) { o->ListSetpoints(s, third); }),
              std::vector<std::string>{"Управление"});
    EXPECT_TRUE(o->ApplyChannelSetting(third, 0, "1:3", -1));
    EXPECT_EQ(o->Records()[2]->Value[TUKPMItem::kTuCode], 10);
    EXPECT_EQ(third->ParamType, 1);
    EXPECT_EQ(third->ChangeHandler, o->SubprogramId(3));
    EXPECT_NE(third->ChangeHandler, 0);
    EXPECT_EQ(first->ParamType, 3);
    EXPECT_EQ(first->ChangeHandler, 0);
    std::string text;
    o->GetSetpointText(0, third, text);
    EXPECT_EQ(text, "1:3");
    o->ApplyPropertyValue(3, "5");
    EXPECT_EQ(o->GetParamDescription(third), "УКПМ - 5, TC-1/3 (X4-07,09), ТУ-1/3");
    for (const char* refused : {"0:1", "9:1", "1:0", "1:9", "1:", ":3", "a:b", "13"}) {
        EXPECT_FALSE(o->ApplyChannelSetting(third, 0, refused, -1)) << refused;
        EXPECT_EQ(o->Records()[2]->Value[TUKPMItem::kTuCode], 10) << refused;
    }
    EXPECT_TRUE(o->ApplyChannelSetting(third, 0, "Нет", -1));
    EXPECT_EQ(third->ParamType, 3);
    EXPECT_EQ(third->ChangeHandler, 0);
    o->GetSetpointText(0, third, text);
    EXPECT_EQ(text, "Нет");
}

TEST_F(Ukpm, AnalogTypeAndCheck) {
    TUKPMItem* o = Add();
    ASSERT_NE(o, nullptr);
    ASSERT_TRUE(o->SetCount(TUKPMItem::Tit, "2"));
    o->ApplyPropertyValue(3, "4");
    TParamItem* tit = o->ChannelsOf(TUKPMItem::Tit)[1];
    o->BindParam(3100, 1, tit);
    EXPECT_EQ(Lines([&](TStrings* s) { o->CheckConfiguration(s); }),
              std::vector<std::string>{"Объект \"УКПМ (КОМПАС 1.0) \" - Не указан тип канала \"" + tit->Name +
                                       "\" (3100:1)"});
    EXPECT_EQ(ValueText(o, tit), "не определено");
    EXPECT_TRUE(o->ApplyChannelSetting(tit, 0, "", 6));
    EXPECT_EQ(tit->ParamType, 14);
    EXPECT_EQ(o->Records()[1]->Value[TUKPMItem::kAnalogType], 14);
    EXPECT_FALSE(o->ApplyChannelSetting(tit, 0, "", 10));
    EXPECT_TRUE(Lines([&](TStrings* s) { o->CheckConfiguration(s); }).empty());
    o->Records()[1]->Value[TUKPMItem::kAnalogType] = 99; // damaged
    std::string text;
    o->GetSetpointText(0, tit, text);
    EXPECT_EQ(text, "Неизвестный (99)");
}

// The meter constant a/b and the maximum in watt-hours: no row ever divides by zero.
TEST_F(Ukpm, MeterSettingsNeverDivideByZero) {
    TUKPMItem* o = Add();
    ASSERT_NE(o, nullptr);
    ASSERT_TRUE(o->SetCount(TUKPMItem::Tii, "1"));
    TParamItem* tii = o->ChannelsOf(TUKPMItem::Tii)[0];
    auto row = [&](int r) {
        std::string text = "x";
        o->GetSetpointText(r, tii, text);
        return text;
    };
    EXPECT_EQ(Lines([&](TStrings* s) { o->ListSetpoints(s, tii); }).size(), 3u);
    EXPECT_EQ(row(0), "0/0");
    EXPECT_EQ(row(1), "");
    messages.clear();
    EXPECT_FALSE(o->ApplyChannelSetting(tii, 1, "5", -1)); // b = 0: nothing to convert by
    EXPECT_EQ(messages, (std::vector<std::string>{"\"Максимальное значение, Вт*ч\": значение 5 не сохранено, "
                                                  "сначала задайте \"Постоянная счетчика, имп./Вт*ч\"."}));
    EXPECT_TRUE(o->ApplyChannelSetting(tii, 0, "1000/1", -1));
    EXPECT_EQ(row(0), "1000/1");
    EXPECT_TRUE(o->ApplyChannelSetting(tii, 1, "5", -1));
    EXPECT_EQ(dev::GetU16(o->TiiSettings()[0], 4), 5000);
    EXPECT_EQ(row(1), "5");
    EXPECT_TRUE(o->ApplyChannelSetting(tii, 0, "0/1", -1));
    EXPECT_EQ(row(1), "");
    // A product past 32 bits would not read back as typed: refused with a message naming the range.
    EXPECT_TRUE(o->ApplyChannelSetting(tii, 0, "65535/1", -1));
    messages.clear();
    EXPECT_TRUE(o->ApplyChannelSetting(tii, 1, "65537", -1));
    EXPECT_EQ(row(1), "65537");
    EXPECT_FALSE(o->ApplyChannelSetting(tii, 1, "65538", -1));
    EXPECT_FALSE(o->ApplyChannelSetting(tii, 1, "2147483647", -1));
    EXPECT_EQ(row(1), "65537");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0],
              "\"Максимальное значение, Вт*ч\": значение 65538 не сохранено, допустимы значения от 0 "
              "до 65537.");
    EXPECT_TRUE(o->ApplyChannelSetting(tii, 2, "123", -1));
    EXPECT_EQ(row(2), "123");
    EXPECT_FALSE(o->ApplyChannelSetting(tii, 2, "x", -1));
    EXPECT_EQ(o->GetParamDescription(tii), "УКПМ - 0, TИИ-1/1 (X2-01,03)");
    EXPECT_EQ(dev::GetU16(o->TiiValues()[0], 0), 0xFFFF);
}

// Deleting the unit leaves every item with an address on the list without an owner; a unit added
// again takes them back. CRC-9 items past the table are never taken.
TEST_F(Ukpm, DeletionDetachesAndAReaddedUnitAdopts) {
    dev::NewChannel(&cm->Channels, TUKPMItem::kCrc9Type, 200, 64);
    TUKPMItem* o = Add();
    ASSERT_NE(o, nullptr);
    ASSERT_TRUE(o->SetCount(TUKPMItem::Ts, "2"));
    ASSERT_TRUE(o->SetCount(TUKPMItem::Tii, "1"));
    o->BindParam(3200, 1, o->ChannelsOf(TUKPMItem::Ts)[1]);
    TParamItem* bound = o->ChannelsOf(TUKPMItem::Ts)[1];
    const size_t withUnit = Channels().size();
    cm->DeleteObject(o);
    for (TParamItem* p : Channels())
        EXPECT_EQ(p->Owner, nullptr) << p->Name;
    // The two unbound channels (a ТС and the ТИИ), which nothing could find again, are gone.
    EXPECT_EQ(Channels().size(), withUnit - 2);
    o = Add();
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->Count(TUKPMItem::Ts), 2);
    EXPECT_EQ(o->ChannelsOf(TUKPMItem::Ts)[1], bound);
    EXPECT_EQ(bound->Owner, o);
    EXPECT_EQ(dev::FindChannel(&cm->Channels, TUKPMItem::kCrc9Type, 200)->Owner, nullptr);
    EXPECT_EQ(Channels().size(), withUnit);
}

// A reload takes channels back as the user left them: handler ids and RAM depth stay, a ТС channel
// made anew gets the state-change handler too.
TEST_F(Ukpm, ReloadKeepsWhatTheUserSet) {
    TUKPMItem* o = Add();
    ASSERT_NE(o, nullptr);
    ASSERT_TRUE(o->SetCount(TUKPMItem::Ts, "2"));
    ASSERT_TRUE(o->SetCount(TUKPMItem::Tit, "1"));
    TParamItem* ts = o->ChannelsOf(TUKPMItem::Ts)[0];
    TParamItem* tit = o->ChannelsOf(TUKPMItem::Tit)[0];
    o->BindParam(3300, 1, ts);
    o->BindParam(3301, 1, tit);
    ts->WriteHandler = o->SubprogramId(6);
    ts->ChangeHandler = o->SubprogramId(5);
    tit->SetRamDepth(0);
    SaveAndReload();
    o = Unit();
    ASSERT_NE(o, nullptr);
    ts = o->ChannelsOf(TUKPMItem::Ts)[0];
    tit = o->ChannelsOf(TUKPMItem::Tit)[0];
    EXPECT_EQ(dev::AddressOf(ts), (dev::Address{3300, 1}));
    EXPECT_EQ(ts->WriteHandler, o->SubprogramId(6));
    EXPECT_EQ(ts->ChangeHandler, o->SubprogramId(5));
    EXPECT_EQ(ts->Name, "УКПМ: Канал ТС группа 1 номер 1");
    EXPECT_EQ(tit->RamDepth, 0);
    TParamItem* made = o->ChannelsOf(TUKPMItem::Ts)[1];
    EXPECT_TRUE(dev::IsUnbound(made));
    EXPECT_EQ(made->Name, "УКПМ: Канал ТC группа 1 номер 2");
    EXPECT_EQ(made->WriteHandler, cm->Actions->FindOrCreate("log_handleStateChange", 0, 0));
    EXPECT_NE(made->WriteHandler, 0);
}

} // namespace

namespace {

// The editors, through their change events: a count row rebuilds, the ТС choice tells the host, the
// analog type list does not.
TEST_F(Ukpm, Editors) {
    Application->Initialize();
    auto host = std::make_unique<TForm>(nullptr);
    TUKPMItem* o = Add();
    ASSERT_NE(o, nullptr);
    int done = 0;
    TNotifyEvent after = [&done](TObject*) { ++done; };
    EXPECT_EQ(Lines([&](TStrings* s) { o->GetPropertyNames(s); }).size(), 7u);
    EXPECT_EQ(o->CreatePropertyEditor(7, host.get(), nullptr, after), nullptr);
    auto* count = dynamic_cast<TEdit*>(o->CreatePropertyEditor(4, host.get(), nullptr, after));
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->Text(), "0");
    count->SetText("2"); // a count is applied when the edit ends, not while it is typed
    EXPECT_EQ(o->ChannelsOf(TUKPMItem::Ts).size(), 0u);
    delete count;
    EXPECT_EQ(o->ChannelsOf(TUKPMItem::Ts).size(), 0u);
    {
        testsupport::EditorHost typing;
        ASSERT_TRUE(typing.TypeAndEnd(o->CreatePropertyEditor(4, typing.Host(), nullptr, after), "2"));
        EXPECT_EQ(o->ChannelsOf(TUKPMItem::Ts).size(), 2u);
        EXPECT_EQ(done, 1);
    }
    done = 0;
    ASSERT_TRUE(o->SetCount(TUKPMItem::Tit, "1"));
    TParamItem* ts = o->ChannelsOf(TUKPMItem::Ts)[1];
    auto* choice = dynamic_cast<TComboBox*>(o->CreateSetpointEditor(ts, 0, host.get(), nullptr, after));
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(choice->Text(), "Нет");
    choice->SetText("2:4");
    choice->OnChange(choice);
    EXPECT_EQ(o->Records()[1]->Value[TUKPMItem::kTuCode], 19);
    EXPECT_EQ(done, 1);
    TParamItem* tit = o->ChannelsOf(TUKPMItem::Tit)[0];
    auto* types = dynamic_cast<TComboBox*>(o->CreateSetpointEditor(tit, 0, host.get(), nullptr, after));
    ASSERT_NE(types, nullptr);
    ASSERT_EQ(types->Items()->Count(), 10);
    types->SetItemIndex(9);
    types->OnChange(types);
    EXPECT_EQ(tit->ParamType, 19);
    EXPECT_EQ(done, 1);
    EXPECT_EQ(o->CreateSetpointEditor(o->Records()[0], 0, host.get(), nullptr, after), nullptr);
    host.reset();
    Application->ProcessMessages();
}

} // namespace
