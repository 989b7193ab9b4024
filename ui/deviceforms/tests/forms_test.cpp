// The two device editor forms: captions, the fields the device objects set, and a modal showing.
#include <gtest/gtest.h>

#include "Uind570mp3.h"
#include "Uschedule.h"
#include "elem.h"
#include "forms.h"
#include "timers.h"

namespace {

// A modal showing that a timer ends once the modal loop runs.
template <class Form> int ShowAndClose(Form& form) {
    TTimer closer(nullptr);
    closer.SetInterval(10);
    closer.OnTimer = [&form](TObject*) { form.SetModalResult(mrOk); };
    return form.ShowModal();
}

TEST(DeviceForms, ScheduleEditorKeepsTheChannelListAndShowsModally) {
    Application->Initialize();
    TfrmSchedule form(nullptr);
    EXPECT_EQ(form.Caption(), "Изменить расписание:");
    EXPECT_EQ(form.Channels, nullptr);
    ELEMList channels;
    form.Channels = &channels;
    EXPECT_EQ(ShowAndClose(form), mrOk);
    EXPECT_EQ(form.Channels, &channels);
}

TEST(DeviceForms, IndicatorEditorKeepsListAndObjectNumberAndShowsModally) {
    Application->Initialize();
    TfrmInd570mp3 form(nullptr);
    EXPECT_EQ(form.Caption(), "Настройка параметров индикатора");
    ELEMList channels;
    form.Channels = &channels;
    form.ObjectNumber = 2512;
    EXPECT_EQ(ShowAndClose(form), mrOk);
    EXPECT_EQ(form.ObjectNumber, 2512);
}

} // namespace
