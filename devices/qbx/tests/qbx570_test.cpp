// The indicator controllers QBX-570-МЩ3 and QBX-570-МЩ1: settings channels, address and register
// rows, the register's uniqueness, and settings that follow the object's number.
#include "Qbx570object.h"
#include "fixture.h"

#include <sys/mman.h>

#include <new>

using namespace qbx;
using namespace qbxtest;

namespace {

class Qbx570Test : public QbxTest {
protected:
    static std::string Row(TObjectItem* o, int row) { return RowText(o, row); }
};

TEST_F(Qbx570Test, Mp3NewObjectAndRows) {
    auto* o = Add<TQbx570mp3Item>(43);
    EXPECT_EQ(o->Number, 2512);
    const struct {
        int k;
        uint16_t type;
        uint16_t bits;
        const char* name;
    } params[] = {{0, 1083, 56, "QBX-570-МЩ3: Настройки QBX-570-МЩ3"},
                  {1, 1084, 384, "QBX-570-МЩ3: Номера регистров индикации"},
                  {2, 1085, 384, "QBX-570-МЩ3: Настройки каналов индикации"}};
    for (const auto& p : params) {
        EXPECT_TRUE(SameAddress(o->Param(p.k), p.type, 1)) << p.k;
        EXPECT_EQ(o->Param(p.k)->BitWidth(), p.bits);
        EXPECT_EQ(o->Param(p.k)->Name, p.name);
        EXPECT_EQ(o->Param(p.k)->Kind, 1);
    }
    EXPECT_EQ(o->Param(2)->Value[0], 0);
    EXPECT_EQ(GetU16(o->Param(2), 1), 1);
    EXPECT_EQ(GetU16(o->Param(2), 46), 1);
    EXPECT_EQ(o->GetDisplayName(), "ID-2512, адрес 4.0.0-1");
    EXPECT_EQ(Row(o, 4), "0:0");
    EXPECT_EQ(Row(o, 5), "Щелкни для настройки");
    EXPECT_EQ(o->MessageHandler, o->SubprogramId(2));
    EXPECT_EQ(o->CommandAt(0)->NoAnswer, o->SubprogramId(3));
    std::string text, mode;
    o->GetParamValueText(o->Param(0), text);
    EXPECT_EQ(text, "значение недоступно");
    o->GetCommandModeText(0, mode);
    EXPECT_EQ(mode, "Не выполнять");

    o->ApplyPropertyValue(4, "300:5");
    EXPECT_EQ(o->Param(0)->Value[4], 0x2C);
    EXPECT_EQ(o->Param(0)->Value[5], 0x01);
    EXPECT_EQ(o->Param(0)->Value[6], 5);
    const struct {
        int row;
        const char* text;
        const char* shown;
    } edits[] = {{2, "10.20.30.40", "4.0.0"}, {2, "10.20.30", "10.20.30"}, {3, "9", "9"}, {3, "q", "9"},
                 {4, "7", "300:5"},           {4, "7:x", "300:5"}};
    for (const auto& e : edits) {
        o->ApplyPropertyValue(e.row, e.text);
        EXPECT_EQ(Row(o, e.row), e.shown) << e.text;
    }
}

TEST_F(Qbx570Test, Mp1RegisterIsUniqueAndComesBack) {
    auto* o = Add<TQbx570mp1Item>(44);
    EXPECT_EQ(o->Number, 2640);
    EXPECT_TRUE(SameAddress(o->Param(0), 1086, 1));
    EXPECT_TRUE(IsUnbound(o->Param(1)));
    EXPECT_EQ(o->Param(1)->BitWidth(), 32);
    EXPECT_EQ(o->Param(1)->Name, "QBX-570-МЩ1: Значение индикации");
    EXPECT_EQ(o->CommandAt(0)->Execute, 1);
    EXPECT_EQ(Row(o, 4), "0:0");

    o->ApplyPropertyValue(4, "65535:3"); // a built-in channel's address: refused
    EXPECT_EQ(Row(o, 4), "0:0");
    o->ApplyPropertyValue(4, "0:7");
    EXPECT_TRUE(SameAddress(o->Param(1), 0, 7));
    o->ApplyPropertyValue(4, "2000:3");
    EXPECT_EQ(Row(o, 4), "2000:3");
    EXPECT_TRUE(SameAddress(o->Param(1), 2000, 3));

    const size_t count = Channels().size();
    SaveAndReload();
    EXPECT_EQ(Channels().size(), count);
    auto again = Objects<TQbx570mp1Item>();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_TRUE(SameAddress(again[0]->Param(1), 2000, 3));
    EXPECT_EQ(CountAddress(2000, 3), 1);
}

// Deleting the first of two controllers renumbers the second; its settings channels move with it,
// so the next load finds them instead of making defaults beside orphans.
TEST_F(Qbx570Test, SettingsFollowTheNumber) {
    auto* first = Add<TQbx570mp3Item>(43);
    auto* second = Add<TQbx570mp3Item>(43);
    second->ApplyPropertyValue(2, "7.8.9");
    auto* mp1a = Add<TQbx570mp1Item>(44);
    auto* mp1b = Add<TQbx570mp1Item>(44);
    mp1b->ApplyPropertyValue(3, "42");
    cm->DeleteObject(first);
    cm->DeleteObject(mp1a);
    EXPECT_EQ(second->Number, 2512);
    EXPECT_EQ(second->Param(0)->ChannelIndex, 1);
    EXPECT_EQ(second->Param(2)->ChannelIndex, 1);
    EXPECT_EQ(mp1b->Param(0)->ChannelIndex, 1);

    const size_t count = Channels().size();
    SaveAndReload();
    EXPECT_EQ(Channels().size(), count);
    auto mp3 = Objects<TQbx570mp3Item>();
    ASSERT_EQ(mp3.size(), 1u);
    EXPECT_EQ(Row(mp3[0], 2), "7.8.9");
    auto mp1 = Objects<TQbx570mp1Item>();
    ASSERT_EQ(mp1.size(), 1u);
    EXPECT_EQ(Row(mp1[0], 3), "42");
    EXPECT_EQ(CountAddress(1083, 1), 1);
    EXPECT_EQ(CountAddress(1083, 2), 0);
}

// An object of another kind whose storage cannot be read once it is freed: a read through a stale
// owner pointer faults in every build, not only under AddressSanitizer.
struct Leaver : TObjectItem {
    using TObjectItem::TObjectItem;
    ~Leaver() override { ++destroyed; }
    static void* operator new(size_t size) {
        void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED)
            throw std::bad_alloc();
        return p;
    }
    static void operator delete(void* p, size_t size) { ::mprotect(p, size, PROT_NONE); } // never reused
    static inline int destroyed = 0;
};

// An object of another kind may leave a channel naming it behind. When the configuration is torn
// down after that object is gone, a controller's destructor never reads that owner, the other
// object is freed once, and no controller stays behind to be renumbered with the next
// configuration's.
TEST_F(Qbx570Test, TeardownNeverReadsOwnersOfOtherObjects) {
    Add<TQbx570mp3Item>(43);
    Add<TQbx570mp3Item>(43);
    Add<TQbx570mp1Item>(44);
    auto* leaver = new Leaver(9999);
    cm->NewChannel(3000, 1)->Owner = leaver;
    cm->Objects.Append(leaver); // the newest: freed first
    Leaver::destroyed = 0;
    cm.reset();
    EXPECT_EQ(Leaver::destroyed, 1);

    cm = std::make_unique<configmanager>();
    auto* first = Add<TQbx570mp3Item>(43);
    auto* second = Add<TQbx570mp3Item>(43);
    EXPECT_EQ(first->Number, 2512);
    cm->DeleteObject(first);
    EXPECT_EQ(second->Number, 2512);
    EXPECT_EQ(second->Param(0)->ChannelIndex, 1);
    EXPECT_EQ(Objects<TQbx570mp3Item>(), std::vector<TQbx570mp3Item*>{second});
}

} // namespace
