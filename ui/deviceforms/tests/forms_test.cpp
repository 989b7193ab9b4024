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

// Where a modal showing puts the form, asked while it is on show.
template <class Form> TRect ShownBounds(Form& form) {
    TRect shown;
    TTimer closer(nullptr);
    closer.SetInterval(10);
    closer.OnTimer = [&](TObject*) {
        shown = form.BoundsRect();
        form.SetModalResult(mrOk);
    };
    form.ShowModal();
    return shown;
}

TEST(DeviceForms, ScheduleEditorOpensCentredOnTheScreen) {
    Application->Initialize();
    TfrmSchedule form(nullptr);
    ELEMList channels;
    form.Channels = &channels;
    const TRect area = Screen->WorkAreaRect();
    const TRect shown = ShownBounds(form);
    EXPECT_EQ(shown.Left, area.Left + (area.Width() - 567) / 2);
    EXPECT_EQ(shown.Top, area.Top + (area.Height() - 554) / 2);
    const TRect again = ShownBounds(form);
    EXPECT_EQ(again.Left, shown.Left) << "the next showing opens where the last one was";
    EXPECT_EQ(again.Top, shown.Top);
}

TEST(DeviceForms, IndicatorEditorOpensCentredOnTheMainWindow) {
    Application->Initialize();
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->SetBounds(100, 80, 1000, 700);
    main->Show();
    TfrmInd570mp3 form(nullptr);
    ELEMList channels;
    form.Channels = &channels;
    const TRect shown = ShownBounds(form);
    EXPECT_EQ(shown.Left, 100 + (1000 - 690) / 2);
    EXPECT_EQ(shown.Top, 80 + (700 - 360) / 2);
    EXPECT_EQ(shown.Width(), 690);
    delete main;
}

} // namespace
