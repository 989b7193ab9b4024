// Texts a user can type into any row of any QBX device: nothing escapes, and an unreadable text
// changes no settings byte.
#include "Qbx510object.h"
#include "Qbx530object.h"
#include "Qbx540object.h"
#include "Qbx560object.h"
#include "Qbx570object.h"
#include "fixture.h"

using namespace qbx;
using namespace qbxtest;

namespace {

const char* const kJunk[] = {"", " ", "abc", "99999999999", "1.2.3.4", ",,,", ":", "--1", "$zz", "\xFF\xFE"};

class JunkTest : public QbxTest {
protected:
    // Every value byte of every channel the object owns, those past the width too.
    std::string Bytes(const TObjectItem* o) const {
        std::string out;
        for (const TParamItem* p : Channels())
            if (p->Owner == o)
                for (int i = 0; i < kParamValueSize; ++i)
                    out += static_cast<char>(p->Value[i]);
        return out;
    }
    // Feeds every junk text to rows 2..19 through apply and to every owned channel's value text.
    template <class T, class Apply> void Feed(T* obj, Apply apply) {
        const std::string before = Bytes(obj);
        for (const char* text : kJunk) {
            for (int row = 2; row < 20; ++row)
                EXPECT_NO_THROW(apply(obj, row, text)) << row << " " << text;
            for (TParamItem* p : Channels()) {
                if (p->Owner == obj) {
                    EXPECT_NO_THROW(obj->SetParamValueText(p, text));
                }
            }
        }
        EXPECT_TRUE(Bytes(obj) == before) << obj->Tag;
    }
};

TEST_F(JunkTest, UnreadableTextsChangeNothing) {
    auto* q510 = Add<TQbx510Item>(3);
    auto* q530 = Add<TQbx530Item>(7);
    auto* q550 = Add<TQbx550Item>(8);
    auto* q540 = Add<TQbx540Item>(5);
    auto* q560 = Add<TQbx560Item>(9);
    auto* mp3 = Add<TQbx570mp3Item>(43);
    auto* mp1 = Add<TQbx570mp1Item>(44);
    q540->ApplyPropertyValue(5, "1");
    // Rows whose texts are choices ("Да"/"Нет", modes) are left out: any text is a valid choice there.
    Feed(q510, [](TQbx510Item* o, int row, const char* t) {
        if (row != 1 && (row < 9 || row > 12))
            o->ApplyPropertyValue(row, t);
    });
    Feed(q530, [](TQbxCellItem* o, int row, const char* t) { o->ApplyPropertyValue(row, t); });
    Feed(q550, [](TQbxCellItem* o, int row, const char* t) { o->ApplyPropertyValue(row, t); });
    Feed(q540, [](TQbx540Item* o, int row, const char* t) {
        o->ApplyPropertyValue(row, t);
        o->ApplyAnalogValue(o->Analog(0), row % 4, t, -1);
    });
    Feed(q560, [](TQbx560Item* o, int row, const char* t) {
        o->ApplyPropertyValue(row, t);
        o->SetSetpointValue(o->Param(row % 7), row % 2, t);
    });
    Feed(mp3, [](TQbx570mp3Item* o, int row, const char* t) {
        if (row != 5) // the indicator button opens a form
            o->ApplyPropertyValue(row, t);
    });
    Feed(mp1, [](TQbx570mp1Item* o, int row, const char* t) { o->ApplyPropertyValue(row, t); });
}

} // namespace
