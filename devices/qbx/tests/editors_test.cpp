// The in-place editors the device objects build: hidden in the host, smaller font, the items and
// selection they offer, and what their change events store.
#include <map>

#include "Qbx510object.h"
#include "Qbx530object.h"
#include "Qbx540object.h"
#include "Qbx570object.h"
#include "extctrls.h"
#include "fixture.h"
#include "forms.h"
#include "stdctrls.h"

using namespace qbx;
using namespace qbxtest;

namespace {

class EditorTest : public QbxTest {
protected:
    void SetUp() override {
        QbxTest::SetUp();
        Application->Initialize();
        host = std::make_unique<TForm>(nullptr);
    }
    void TearDown() override {
        host.reset();
        QbxTest::TearDown();
    }
    // Picks an item the way the user does: the list's selection, then its change event.
    static void Choose(TWinControl* editor, int item) {
        auto* combo = dynamic_cast<TComboBox*>(editor);
        ASSERT_NE(combo, nullptr);
        combo->SetItemIndex(item);
        combo->OnChange(combo);
    }
    std::unique_ptr<TForm> host;
};

TEST_F(EditorTest, ConcentratorSpeedListAndBitPanel) {
    auto* obj = Add<TQbx510Item>(3);
    int done = 0;
    TNotifyEvent after = [&done](TObject*) { ++done; };
    auto* combo = dynamic_cast<TComboBox*>(obj->CreatePropertyEditor(5, host.get(), nullptr, after));
    ASSERT_NE(combo, nullptr);
    EXPECT_FALSE(combo->Visible());
    EXPECT_FALSE(combo->ParentFont());
    EXPECT_EQ(combo->Font()->Size(), host->Font()->Size() - 3);
    EXPECT_EQ(combo->Parent(), host.get());
    ASSERT_EQ(combo->Items()->Count(), 9); // 115200 does not fit the 16-bit speed
    EXPECT_EQ(combo->Items()->Strings(8), "57600");
    EXPECT_EQ(combo->Items()->Strings(combo->ItemIndex()), "4800");
    Choose(combo, 5);
    std::string text;
    obj->GetPropertyText(5, text);
    EXPECT_EQ(text, "9600");
    EXPECT_EQ(done, 1);

    TWinControl* panel = obj->CreatePropertyEditor(7, host.get(), nullptr, after);
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(panel->ControlCount(), 16);
    auto* box15 = dynamic_cast<TCheckBox*>(panel->Controls(15));
    ASSERT_NE(box15, nullptr);
    EXPECT_EQ(box15->Left(), 240);
    box15->SetChecked(true);
    EXPECT_EQ(GetU16(obj->Param(kQbx510TsInversion), 0), 0x8000);

    auto* edit = dynamic_cast<TEdit*>(obj->CreatePropertyEditor(2, host.get(), nullptr, nullptr));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Text(), "1,2,3");
    edit->SetText("9,8,7");
    edit->OnChange(edit);
    obj->GetPropertyText(2, text);
    EXPECT_EQ(text, "9,8,7");
    EXPECT_EQ(obj->CreatePropertyEditor(0, host.get(), nullptr, nullptr), nullptr);
}

// The editor every property row of every device gets on a new object, and what it shows first:
// "-" no editor, "edit", "list" (drop-down), "button", "panel" (check boxes).
TEST_F(EditorTest, PropertyRowEditorsOfEveryDevice) {
    const struct {
        int code;
        int row;
        const char* kind;
        const char* text;
    } cases[] = {
        {3, 0, "-", ""},
        {3, 1, "list", "Да"},
        {3, 2, "edit", "1,2,3"},
        {3, 3, "edit", "0,0,0"},
        {3, 4, "edit", "13"},
        {3, 5, "list", "4800"},
        {3, 6, "list", "4800"},
        {3, 7, "panel", ""},
        {3, 8, "panel", ""},
        {3, 9, "list", "Потенциальный"},
        {3, 12, "list", "Потенциальный"},
        {3, 17, "-", ""},
        {4, 0, "-", ""},
        {4, 1, "button", "редактировать"},
        {4, 2, "list", "Нет"},
        {4, 3, "-", ""},
        {7, 0, "-", ""},
        {7, 1, "list", "нет опроса"},
        {7, 2, "list", "Да"},
        {7, 3, "edit", "0"},
        {7, 4, "-", ""},
        {8, 2, "list", "Да"},
        {8, 3, "edit", "0"},
        {8, 4, "-", ""},
        {5, 1, "list", "нет опроса"},
        {5, 2, "list", "Нет"},
        {5, 3, "edit", "4.4.4"},
        {5, 4, "edit", "0"},
        {5, 5, "edit", "0"},
        {5, 6, "-", ""},
        {9, 1, "list", "нет опроса"},
        {9, 2, "edit", "0.0.0"},
        {9, 3, "edit", "0"},
        {9, 4, "-", ""},
        {43, 1, "list", "нет опроса"},
        {43, 2, "edit", "4.0.0"},
        {43, 3, "edit", "1"},
        {43, 4, "edit", "0:0"},
        {43, 5, "button", "настроить"},
        {43, 6, "-", ""},
        {44, 2, "edit", "4.0.0"},
        {44, 3, "edit", "1"},
        {44, 4, "edit", "0:0"},
        {44, 5, "-", ""},
    };
    std::map<int, TObjectItem*> objects;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " row " + std::to_string(c.row));
        if (!objects.count(c.code))
            objects[c.code] = cm->AddObject(c.code);
        TObjectItem* obj = objects[c.code];
        ASSERT_NE(obj, nullptr);
        TWinControl* editor = obj->CreatePropertyEditor(c.row, host.get(), nullptr, nullptr);
        std::string kind = "-", text;
        if (auto* edit = dynamic_cast<TEdit*>(editor)) {
            kind = "edit";
            text = edit->Text();
        } else if (auto* combo = dynamic_cast<TComboBox*>(editor)) {
            kind = "list";
            text = combo->Text();
        } else if (auto* button = dynamic_cast<TButton*>(editor)) {
            kind = "button";
            text = button->Caption();
        } else if (dynamic_cast<TPanel*>(editor)) {
            kind = "panel";
        }
        EXPECT_EQ(kind, c.kind);
        EXPECT_EQ(text, c.text);
        if (editor) {
            EXPECT_FALSE(editor->Visible());
            EXPECT_EQ(editor->Parent(), host.get());
        }
        delete editor;
    }
}

// The set-point editors of the concentrator's inputs and of the QBX-540's analog values: kind, items,
// first selection or text, and what a choice stores.
TEST_F(EditorTest, SetpointEditors) {
    auto* q510 = Add<TQbx510Item>(3);
    auto* q540 = Add<TQbx540Item>(5);
    Unhook();
    q540->ApplyPropertyValue(5, "1");
    TParamItem* input = q510->Param(1);
    TParamItem* analog = q540->Analog(0);
    const struct {
        TObjectItem* obj;
        TParamItem* p;
        int row;
        int items; // -1: an edit box, 0: no editor
        const char* shown;
    } cases[] = {
        {q510, input, 0, 2, "ТС"},         {q510, input, 1, 6, "Нет"}, {q510, input, 2, 0, ""},
        {q510, q510->Param(21), 0, 0, ""}, {q540, analog, 0, -1, "1"}, {q540, analog, 3, -1, "0"},
        {q540, analog, 4, 2, "0..5мА"},    {q540, analog, 5, 4, ""},   {q540, analog, 6, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.obj->Tag + " row " + std::to_string(c.row));
        TWinControl* editor = c.obj->CreateSetpointEditor(c.p, c.row, host.get(), nullptr, nullptr);
        if (c.items == 0) {
            EXPECT_EQ(editor, nullptr);
        } else if (c.items < 0) {
            auto* edit = dynamic_cast<TEdit*>(editor);
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(edit->Text(), c.shown);
        } else {
            auto* combo = dynamic_cast<TComboBox*>(editor);
            ASSERT_NE(combo, nullptr);
            EXPECT_EQ(combo->Items()->Count(), c.items);
            EXPECT_EQ(combo->Text(), c.shown);
        }
        delete editor;
    }

    int done = 0;
    TNotifyEvent after = [&done](TObject*) { ++done; };
    Choose(q510->CreateSetpointEditor(input, 1, host.get(), nullptr, after), 2);
    std::string text;
    q510->GetSetpointText(1, input, text);
    EXPECT_EQ(text, "Канал 2");
    Choose(q540->CreateSetpointEditor(analog, 5, host.get(), nullptr, after), 3);
    EXPECT_EQ(analog->ParamType, 18); // "Давление"
    EXPECT_EQ(q540->Settings(5)->Value[12], 18);
    EXPECT_EQ(done, 2);
}

TEST_F(EditorTest, CellControlList) {
    auto* obj = Add<TQbx530Item>(7);
    Unhook();
    obj->BindParam(3, 9, obj->Param(0));
    TWinControl* editor = obj->CreateSetpointEditor(obj->Param(0), 0, host.get(), nullptr, nullptr);
    auto* combo = dynamic_cast<TComboBox*>(editor);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->Items()->Count(), 4);
    EXPECT_EQ(combo->ItemIndex(), 0);
    Choose(editor, 3);
    std::string text;
    obj->GetSetpointText(0, obj->Param(0), text);
    EXPECT_EQ(text, "ВКЛ. ТУ1, ОТКЛ. ТУ2");
    EXPECT_EQ(obj->CreateSetpointEditor(obj->Param(0), 1, host.get(), nullptr, nullptr), nullptr);
}

TEST_F(EditorTest, IndicatorButtonOpensTheIndicatorEditor) {
    auto* obj = Add<TQbx570mp3Item>(43);
    auto* button = dynamic_cast<TButton*>(obj->CreatePropertyEditor(5, host.get(), nullptr, nullptr));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Caption(), "настроить");
    EXPECT_TRUE(opened.empty());
    button->Click();
    EXPECT_EQ(opened, (std::vector<EditorCall>{{dev::DeviceEditor::Indicator, &cm->Channels, 2512}}));
}

} // namespace
