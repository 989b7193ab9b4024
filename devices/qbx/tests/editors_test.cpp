// The in-place editors the device objects build: hidden in the host, smaller font, the items and
// selection they offer, and what their change events store.
#include "Qbx510object.h"
#include "Qbx530object.h"
#include "Qbx570object.h"
#include "Uind570mp3.h"
#include "fixture.h"
#include "forms.h"
#include "stdctrls.h"
#include "timers.h"

using namespace qbx;
using namespace qbxtest;

namespace {

class EditorTest : public QbxTest {
protected:
    void SetUp() override
    {
        QbxTest::SetUp();
        Application->Initialize();
        host = std::make_unique<TForm>(nullptr);
    }
    void TearDown() override
    {
        host.reset();
        QbxTest::TearDown();
    }
    // Picks an item the way the user does: the list's selection, then its change event.
    static void Choose(TWinControl* editor, int item)
    {
        auto* combo = dynamic_cast<TComboBox*>(editor);
        ASSERT_NE(combo, nullptr);
        combo->SetItemIndex(item);
        combo->OnChange(combo);
    }
    std::unique_ptr<TForm> host;
};

TEST_F(EditorTest, ConcentratorSpeedListAndBitPanel)
{
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

TEST_F(EditorTest, CellControlList)
{
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

TEST_F(EditorTest, IndicatorButtonOpensTheIndicatorForm)
{
    auto* obj = Add<TQbx570mp3Item>(43);
    TfrmInd570mp3 form(nullptr);
    frmInd570mp3 = &form;
    TTimer closer(&form); // ends the modal loop once it runs
    closer.SetInterval(10);
    closer.OnTimer = [&form](TObject*) { form.SetModalResult(mrOk); };
    auto* button = dynamic_cast<TButton*>(obj->CreatePropertyEditor(5, host.get(), nullptr, nullptr));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Caption(), "настроить");
    button->Click();
    EXPECT_EQ(form.Channels, &cm->Channels);
    EXPECT_EQ(form.ObjectNumber, 2512);
    frmInd570mp3 = nullptr;
}

} // namespace
