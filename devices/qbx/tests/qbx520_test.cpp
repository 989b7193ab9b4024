// The switching-schedule controller QBX-520: its two subprograms, the control-mode signal written
// into the schedule-checking subprogram, and the schedule editor.
#include <algorithm>

#include "Qbx520object.h"
#include "fixture.h"

using namespace qbx;
using namespace qbxtest;

namespace {

class Qbx520Test : public QbxTest {
protected:
    std::string Row(int row) { return RowText(obj, row); }
    TActionLine& Line(int pos) { return cm->Actions->ById(obj->ScheduleId())->Instructions[size_t(pos - 1)]; }
    TQbx520Item* obj = nullptr;
};

TEST_F(Qbx520Test, SubprogramsAndControlSignal) {
    obj = Add<TQbx520Item>(4);
    EXPECT_EQ(obj->Number, 2);
    T_Action* main = cm->Actions->ById(13);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->Name(), "qbx520_mainAction");
    EXPECT_EQ(main->Caption, "Основная подпрограмма УО");
    ASSERT_NE(obj->ScheduleId(), 0);
    EXPECT_NE(obj->ScheduleId(), 13);
    EXPECT_EQ(cm->Actions->ById(obj->ScheduleId())->Name(), "qbx520_checkSchedule");
    EXPECT_EQ(Lines([&](TStrings* s) { obj->GetPropertyNames(s); }),
              (std::vector<std::string>{"Идентификатор", "Расписание", "Сигнал режима управления"}));
    EXPECT_EQ(Row(1), "редактировать");
    EXPECT_EQ(Row(2), "нет");

    TParamItem* a = cm->NewChannel(40, 2);
    a->SetBitWidth(1);
    a->Name = "Ключ";
    TParamItem* wide = cm->NewChannel(41, 1);
    wide->SetBitWidth(2);
    const std::vector<TParamItem*> offered = obj->ControlCandidates();
    EXPECT_EQ(std::count(offered.begin(), offered.end(), a), 1);
    EXPECT_EQ(std::count(offered.begin(), offered.end(), wide), 0);

    const int k = static_cast<int>(std::find(offered.begin(), offered.end(), a) - offered.begin()) + 1;
    obj->ApplyControlChoice(k);
    EXPECT_EQ(Row(2), "Ключ (40:2)");
    EXPECT_EQ(Line(6).Opcode, 3);
    EXPECT_EQ(Line(6).U32(), 40u);
    EXPECT_EQ(Line(6).Operands[4], 16);
    EXPECT_EQ(Line(7).U32(), 2u);
    EXPECT_EQ(Line(7).Operands[4], 8);

    obj->ApplyControlChoice(0);
    EXPECT_EQ(Line(6).Opcode, 7);
    EXPECT_EQ(Line(6).U16(0), 17);

    // A bound channel that is deleted is forgotten, never read.
    obj->ApplyControlChoice(k);
    cm->Channels.Remove(a);
    delete a;
    EXPECT_EQ(Row(2), "нет");
    EXPECT_EQ(Line(6).Opcode, 7);
}

// Without a control channel the schedule subprogram gets the unbound form, the jump to 17, whatever
// its file held there.
TEST_F(Qbx520Test, UnboundFormIsWrittenAtConstruction) {
    const std::vector<std::pair<int, std::string>> files[] = {
        {{6, "gotoa;12;"}}, {{6, "push;40;16;"}, {7, "push;2;"}}, // a channel the configuration does not have
    };
    for (const auto& lines : files) {
        cm = std::make_unique<configmanager>();
        WriteProgram(root, "uo", "qbx520_checkSchedule", 20, lines);
        obj = Add<TQbx520Item>(4);
        EXPECT_EQ(Line(6).Opcode, 7);
        EXPECT_EQ(Line(6).U16(0), 17);
        EXPECT_EQ(Row(2), "нет");
    }
}

TEST_F(Qbx520Test, DeletedScheduleSubprogramIsNotWrittenInto) {
    obj = Add<TQbx520Item>(4);
    TParamItem* a = cm->NewChannel(40, 2);
    a->SetBitWidth(1);
    cm->DeleteSubprogram(cm->Actions->ById(obj->ScheduleId()));
    obj->ApplyControlChoice(1);
    EXPECT_EQ(Row(2), "нет");
}

TEST_F(Qbx520Test, BoundSignalComesBackAfterReload) {
    obj = Add<TQbx520Item>(4);
    TParamItem* a = cm->NewChannel(40, 2);
    a->SetBitWidth(1);
    a->Name = "Ключ";
    obj->ApplyControlChoice(1);
    const std::string shown = Row(2);
    SaveAndReload();
    obj = dynamic_cast<TQbx520Item*>(static_cast<TObjectItem*>(cm->Objects.Newest));
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(obj->MainId(), 13);
    EXPECT_EQ(Row(2).substr(Row(2).find('(')), shown.substr(shown.find('(')));
    EXPECT_TRUE(messages.empty());
}

TEST_F(Qbx520Test, RowOneOpensTheScheduleEditor) {
    obj = Add<TQbx520Item>(4);
    obj->ShowScheduleEditor();
    EXPECT_EQ(opened, (std::vector<EditorCall>{{dev::DeviceEditor::Schedule, &cm->Channels, 2}}));
}

} // namespace
