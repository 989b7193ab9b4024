// The load tab: opening and closing the serial port, the received frame and the port's log.
#include <algorithm>
#include <cstring>

#include "Commport.h"
#include "Umain.h"
#include "sysutils.h"

namespace {

// The port's speed field holds 32 bits.
constexpr int64_t kMaxBaudRate = 0xFFFFFFFF;

// Digits with or without a sign, however many.
bool IsDecimal(const std::string& s) {
    const size_t from = !s.empty() && (s[0] == '-' || s[0] == '+') ? 1 : 0;
    return s.size() > from &&
           std::all_of(s.begin() + long(from), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

void TMainForm::CreatePort() {
    Port = new CommPort();
    Port->OnReceive = [this](const uint8_t* d, int n) { PortDataReceived(d, n); };
    Port->OnFrameEnd = [](const uint8_t*, int) {};
    Port->OnError = [this](const std::string& t) { PortLogText(t); };
    Port->OnSignal = [this] { PostMessage(FPortWindow, WM_PORTSIGNAL, 0, 0); };
}

void TMainForm::Button1Click(TObject*) {
    if (RadioButton1->Checked()) {
        if (Button1->Caption() == "Открыть") {
            FPortWindow = Handle();
            Port->SetPortName(ComboBox1->Text());
            // A text that is no number raises the conversion error; a number the port cannot take
            // is refused by name, and the port stays closed.
            const std::string text = Trim(Edit3->Text());
            int64_t rate = 0;
            if (!TryStrToInt64(text, rate) && !IsDecimal(text))
                rate = StrToInt64(text);
            if (rate < 1 || rate > kMaxBaudRate) {
                MessageDlg("\"скорость\": значение " + text + " не принято, допустимы значения от 1 до " +
                               IntToStr(kMaxBaudRate) + ".",
                           mtError, TMsgDlgButtons{mbOK});
            } else {
                Port->SetBaudRate(static_cast<DWORD>(rate));
                Port->Open();
            }
            if (Port->IsOpen())
                Button1->SetCaption("Закрыть");
        } else {
            Port->Close();
            Button1->SetCaption("Открыть");
        }
    }
    bool closed = Button1->Caption() != "Закрыть";
    for (TControl* c :
         std::initializer_list<TControl*>{RadioButton1, RadioButton2, ComboBox1, Edit1, Edit2, Edit3})
        c->SetEnabled(closed);
}

void TMainForm::CheckBox1Click(TObject*) { Edit4->SetEnabled(CheckBox1->Checked()); }

void TMainForm::PortDataReceived(const uint8_t* Data, int Length) {
    // Runs on the reader thread: the frame is copied and handed over with the posted message.
    std::vector<uint8_t> frame(Data, Data + Length);
    {
        std::lock_guard g(FPortLock);
        std::memcpy(ReceiveBuffer, Data, static_cast<size_t>(Length));
        ReceiveLength = Length;
        FPortFrames.push_back(std::move(frame));
    }
    PostMessage(FPortWindow, WM_PORTDATA, 0, 0);
}

void TMainForm::PortLogText(const std::string& Text) {
    {
        std::lock_guard g(FPortLock);
        FPortLog.push_back(Text);
    }
    PostMessage(FPortWindow ? FPortWindow : Handle(), WM_PORTLOG, 0, 0);
}
