// The date-time edit reading back what the Gw date picker shows and what the locale writes, typed
// as a user types it.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "Gwdropedit.h"
#include "Gwdtp.h"
#include "cp1251.h"
#include "forms.h"
#include "inputkit.h"
#include "screenkit.h"
#include "sysinfo.h"

namespace {

TDateTime FixedNow() { return EncodeDate(2026, 7, 15) + 0.5; }

// What the picker shows in each of its date formats, and what the locale and US English write with
// "dd MMMM", typed into the edit key by key and left with Tab: the same date comes back, in every
// month.
TEST(GwDateTimeEdit, ReadsBackWhatThePickerShowsInEveryMonth) {
    TApplication::QtApp();
    SetClock(&FixedNow);
    std::unique_ptr<TForm> form(new TForm(nullptr));
    form->SetBounds(0, 0, 300, 120);
    auto* picker = new TGwDateTimePicker(form.get());
    picker->SetParent(form.get());
    picker->SetBounds(10, 10, 150, 22);
    auto* edit = new TGwDateTimeEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 40, 150, 21);
    auto* next = new TGwEdit(form.get());
    next->SetParent(form.get());
    next->SetBounds(10, 70, 150, 21);
    form->Show();
    int invalid = 0;
    edit->OnInvalidDate = [&](TObject*, bool&, bool&, TDateTime&) { ++invalid; };
    for (int month = 1; month <= 12; ++month) {
        const TDateTime date = EncodeDate(2026, month, 4);
        std::vector<std::string> texts;
        for (TDTDateFormat format : {dfShort, dfLong}) {
            picker->SetDateFormat(format);
            picker->SetDate(date);
            texts.push_back(screenkit::ShownText(picker));
        }
        for (LCID locale : {LCID(LOCALE_USER_DEFAULT), kLocaleUsEnglish})
            texts.push_back(GetDateFormatStr(locale, date, "dd MMMM"));
        for (const std::string& text : texts) {
            edit->SetDate(EncodeDate(2000, 1, 1));
            edit->SetFocus();
            inputkit::Press(edit, inputkit::Key::Home);
            inputkit::Press(edit, inputkit::Key::End, inputkit::Shift);
            const bool cyrillic =
                std::any_of(text.begin(), text.end(), [](char c) { return (unsigned char)c >= 0xC0; });
            inputkit::Type(edit, text, cyrillic ? inputkit::TLayout::Russian : inputkit::TLayout::Us);
            inputkit::Press(edit, inputkit::Key::Tab);
            EXPECT_TRUE(next->Focused());
            EXPECT_EQ(edit->Date(), date) << "month " << month << ": " << Cp1251ToUtf8(text);
        }
    }
    EXPECT_EQ(invalid, 0);
    form.reset();
    Application->ProcessMessages();
    SetClock(nullptr);
}

} // namespace
