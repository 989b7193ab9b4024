#include "Gwpopups.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "Gwutils.h"
#include "forms.h"
#include "winapi.h"

namespace {

constexpr double Pi = std::numbers::pi;

bool IsLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0xC0 || c == 0xA8 || c == 0xB8;
}

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

struct TToken {
    std::string Text;
    bool Letters;
};

// Maximal runs of letters or of digits; everything else only separates.
std::vector<TToken> Tokens(std::string_view Text) {
    std::vector<TToken> r;
    size_t i = 0;
    while (i < Text.size()) {
        unsigned char c = Text[i];
        bool letter = IsLetter(c);
        if (!letter && !IsDigit(c)) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < Text.size() && (letter ? IsLetter(Text[j]) : IsDigit(Text[j])))
            ++j;
        r.push_back({std::string(Text.substr(i, j - i)), letter});
        i = j;
    }
    return r;
}

// The letters of Letters in the order of their first appearance in the upper-cased format.
std::string FieldOrder(const std::string& Format, std::string_view Letters) {
    std::string order;
    for (char c : AnsiUpperCase(Format))
        if (Letters.find(c) != std::string_view::npos && order.find(c) == std::string::npos)
            order += c;
    return order;
}

void Remove(std::string& Order, char Letter) {
    if (auto p = Order.find(Letter); p != std::string::npos)
        Order.erase(p, 1);
}

// The month name a locale writes after the day ("марта" in Russian, "March" in US English).
std::string MonthAfterDay(LCID Locale, int Month) {
    const std::string written = GetDateFormatStr(Locale, EncodeDate(2000, Month, 1), "dd MMMM");
    return written.size() > 3 ? written.substr(3) : std::string();
}

// Month 1..12 a letter token names, or 0.
int MonthNamed(const std::string& Token) {
    for (int m = 1; m <= 12; ++m)
        if (AnsiSameText(Token, ShortMonthNames[m - 1]) || AnsiSameText(Token, LongMonthNames[m - 1]) ||
            AnsiSameText(Token, MonthAfterDay(LOCALE_USER_DEFAULT, m)) ||
            AnsiSameText(Token, MonthAfterDay(kLocaleUsEnglish, m)))
            return m;
    return 0;
}

std::vector<int> SplitDigits(const std::string& Digits, std::initializer_list<size_t> Widths) {
    std::vector<int> parts;
    size_t at = 0;
    for (size_t w : Widths) {
        parts.push_back(std::stoi(Digits.substr(at, w)));
        at += w;
    }
    return parts;
}

std::vector<int> DateParts(const std::string& Digits, bool Split) {
    if (Split)
        switch (Digits.size()) {
        case 3: return SplitDigits(Digits, {1, 2});
        case 4: return SplitDigits(Digits, {2, 2});
        case 5: return SplitDigits(Digits, {1, 2, 2});
        case 6: return SplitDigits(Digits, {2, 2, 2});
        case 8: return SplitDigits(Digits, {2, 2, 4});
        default: break;
        }
    // Long runs are no valid field; keep the conversion inside int.
    return {Digits.size() > 9 ? 1000000000 : std::stoi(Digits)};
}

// The base angle of (DX, DY): 0 at three o'clock, clockwise through 2 pi.
double BaseAngle(int DX, int DY) {
    double a = std::atan(double(DY) / DX);
    if (DX > 0 && DY < 0)
        a += 2 * Pi;
    else if (DX < 0)
        a += Pi;
    return a;
}

} // namespace

bool StrToDateEx(std::string_view Text, TDateTime& Value) {
    std::string text = AnsiUpperCase(Text);
    if (Trim(text).empty()) {
        Value = 0;
        return true;
    }
    std::string order = FieldOrder(ShortDateFormat, "DMY");
    unsigned short ty, tm, td;
    DecodeDate(Date(), ty, tm, td);
    int day = td, month = tm, year = ty;
    bool daySet = false;
    int monthFromNumber = 0; // the number the month was taken from, while no name replaced it
    bool monthRead = false;
    bool unknownWord = false; // a word that names no month
    bool separated = text.find(DateSeparator) != std::string::npos;
    int numbers = 0;
    for (const TToken& t : Tokens(text)) {
        if (t.Letters) {
            int m = MonthNamed(t.Text);
            if (!m) {
                unknownWord = true;
                continue;
            }
            // A number read as the month before its name came is the day when no day was read.
            if (monthFromNumber && !daySet) {
                day = monthFromNumber;
                daySet = true;
                Remove(order, 'D');
            }
            monthFromNumber = 0;
            month = m;
            monthRead = true;
            Remove(order, 'M');
            continue;
        }
        if (numbers == 3 || order.empty())
            continue;
        ++numbers;
        size_t n = t.Text.size();
        bool split = (n >= 3 && n <= 6) || n == 8;
        for (int part : DateParts(t.Text, split && !separated && order != "Y")) {
            if (order.empty())
                break;
            char field = order[0];
            if (part > 999)
                field = 'Y';
            else if (part >= 13 && field == 'M')
                field = 'D';
            if (field == 'D') {
                day = part;
                daySet = true;
            } else if (field == 'M') {
                month = part;
                monthFromNumber = part;
                monthRead = true;
            } else
                year = part;
            Remove(order, field);
        }
    }
    // A month name this reading does not know would otherwise leave today's month in its place.
    if (unknownWord && !monthRead) {
        Value = 0;
        return false;
    }
    if (month > 12) {
        if (day < 13)
            std::swap(day, month);
        else
            month = 1;
    }
    TDateTime d = 0;
    bool ok;
    if (year >= 100)
        ok = TryEncodeDate(year, month, day, d);
    else {
        std::string s;
        for (char f : FieldOrder(ShortDateFormat, "DMY")) {
            if (!s.empty())
                s += DateSeparator;
            s += IntToStr(f == 'D' ? day : f == 'M' ? month : year);
        }
        ok = TryStrToDate(s, d);
    }
    Value = ok ? d : 0;
    return ok;
}

TDateTime StrToTimeEx(std::string_view Text) {
    std::string order = FieldOrder(LongTimeFormat, "HMNSZ");
    int hour = 0, minute = 0, second = 0, msec = 0;
    int half = 0; // 1 morning, 2 afternoon, 0 no marker yet
    int numbers = 0;
    for (const TToken& t : Tokens(AnsiUpperCase(Text))) {
        if (t.Letters) {
            if (half)
                continue;
            if (AnsiSameText(t.Text, TimeAMString) || t.Text == "AM" || t.Text == "A")
                half = 1;
            else if (AnsiSameText(t.Text, TimePMString) || t.Text == "PM" || t.Text == "P")
                half = 2;
            continue;
        }
        if (numbers == 4)
            continue;
        ++numbers;
        std::vector<int> parts;
        if ((t.Text.size() == 3 || t.Text.size() == 4) && !order.empty())
            parts = SplitDigits(t.Text, {t.Text.size() - 2, 2});
        else
            parts = {t.Text.size() > 9 ? 1000000000 : std::stoi(t.Text)};
        for (int part : parts) {
            if (order.empty())
                break;
            char f = order[0];
            order.erase(0, 1);
            if (f == 'H')
                hour = part;
            else if (f == 'M' || f == 'N')
                minute = part;
            else if (f == 'S')
                second = part;
            else
                msec = part;
        }
    }
    if (half == 2 && hour < 12)
        hour += 12;
    if (half == 1 && hour == 12)
        hour = 0;
    while (hour >= 24)
        hour -= 24;
    if (minute >= 60)
        minute = 0;
    if (second >= 60)
        second = 0;
    while (msec > 999)
        msec /= 10;
    TDateTime r = 0;
    return TryEncodeTime(hour, minute, second, msec, r) ? r : 0;
}

TDateTime CalendarFirstShownDate(TDateTime ViewDate, int FirstDay) {
    TDateTime p = std::floor(ViewDate) - 1;
    int k = ((DayOfWeek(p) + 5 - FirstDay) % 7 + 7) % 7;
    return p - k;
}

bool CalendarRepeatStepActs(int Counter) {
    if (Counter < 20)
        return Counter % 5 == 0;
    if (Counter < 200)
        return Counter % 2 == 0;
    return true;
}

int ClockHourAt(int DX, int DY) {
    if (DX == 0)
        return DY < 1 ? 12 : 6;
    // Wrapped where twelve's sector ends (a quarter of an hour past twelve), not at a full turn,
    // so the first half of one o'clock's sector reads 1 rather than 12.
    double a = BaseAngle(DX, DY) + Pi / 3;
    if (a >= 2 * Pi - Pi / 12)
        a -= 2 * Pi;
    for (int h = 1; h <= 12; ++h)
        if (a < h * Pi / 6 - Pi / 12)
            return h;
    return 12;
}

int ClockMinuteAt(int DX, int DY, int RestrictBy) {
    if (DX == 0)
        return DY < 1 ? 0 : 30;
    double a = BaseAngle(DX, DY) + Pi / 2;
    if (a > 2 * Pi)
        a -= 2 * Pi;
    int minute = 0;
    for (int n = 1; n <= 60; ++n)
        if (a < n * Pi / 30 - Pi / 60) {
            minute = n - 1;
            break;
        }
    if (RestrictBy > 0) {
        double n = std::nearbyint(minute / 60.0 * (60 / RestrictBy));
        minute = RestrictBy * int(n);
        if (minute >= 60)
            minute = 0;
    }
    return minute;
}

TPoint PlacePopup(const TRect& R, TAlignment Alignment, int X, int Y, int W, int H, const TRect& WorkArea) {
    int left, top;
    if (X == -1 && Y == -1) {
        top = R.Bottom;
        left = Alignment == taLeftJustify    ? R.Left
               : Alignment == taRightJustify ? R.Right - W
                                             : (R.Left + R.Right - W) / 2;
    } else {
        left = R.Left + X;
        top = R.Top + Y;
    }
    if (left + W > WorkArea.Right)
        left = WorkArea.Right - W;
    if (top + H > WorkArea.Bottom)
        top = R.Top - H;
    if (left < WorkArea.Left)
        left = WorkArea.Left;
    if (top < WorkArea.Top)
        top = WorkArea.Top;
    return TPoint(left, top);
}

// ---- TGwCustomPopup ------------------------------------------------------------------------------

TGwCustomPopup::TGwCustomPopup(TComponent* AOwner) : TGwCustomPanel(AOwner) {
    SetBorderWidth(2);
    SetBorderOuter(fsPopup);
    SetFlatColorAdjustment(0);
    SetVisible(false);
}

void TGwCustomPopup::AdjustClientRect(TRect& Rect) {
    TGwCustomPanel::AdjustClientRect(Rect);
    FixClientRect(Rect, false);
}

// ---- TGwPopupPanel -------------------------------------------------------------------------------

TGwPopupPanel::TGwPopupPanel(TComponent* AOwner) : TGwCustomPopup(AOwner) {
    SetAlignment(taRightJustify);
    SetBounds(Left(), Top(), 100, 100);
    SetColor(clBtnFace);
    SetParentColor(false);
    SetAutoSize(true);
    SetControlStyle(ControlStyle() << csAcceptsControls);
}

TGwPopupPanel::~TGwPopupPanel() {
    delete FPopup;
    FPopup = nullptr;
}

void TGwPopupPanel::DoPopup() {
    if (OnPopup)
        OnPopup(this);
}

void TGwPopupPanel::DoClose() {
    if (OnClose)
        OnClose(this);
}

void TGwPopupPanel::DestroyWnd() {
    Close(this);
    TGwCustomPopup::DestroyWnd();
}

void TGwPopupPanel::Close(TObject*) {
    if (!FPopup)
        return;
    FPopup->Accept();
    if (FPopup->HandleAllocated())
        PostMessage(FPopup->Handle(), CM_GWPOPUPCLOSE, 0, 0);
}

bool TGwPopupPanel::Popup(TControl* Control, int X, int Y) {
    if (FPopup)
        return false;
    FControl = Control;
    TCustomForm* form = GetParentForm(this);
    TWinControl* active = form ? form->ActiveControl() : nullptr;
    bool result = false;
    try {
        DoPopup();
        HandleNeeded();
        RecreateWnd();
        HandleNeeded();
        FPopup = new TGwPopup(this);
        FPopup->SetBorderOuter(BorderOuter());
        FPopup->SetFlatColor(FlatColor());
        result = FPopup->Execute(Control, Alignment(), X, Y);
        DoClose();
    } catch (...) {
        delete FPopup;
        FPopup = nullptr;
        FControl = nullptr;
        throw;
    }
    // The popup's own close message would free it; it goes with its window here, and the message
    // still queued for it is refused by the closed handle.
    delete FPopup;
    FPopup = nullptr;
    FControl = nullptr;
    if (Application->Active() && active && active->CanFocus())
        active->SetFocus();
    return result;
}

// ---- TGwPopup ------------------------------------------------------------------------------------

TGwPopup::TGwPopup(TGwPopupPanel* Panel) : TGwCustomPopup(Panel), FPanel(Panel) {
    SetVisible(false);
    SetParent(GetParentForm(Panel));
    SetColor(Panel->Color());
    Font()->Assign(Panel->Font());
    SetHint(Panel->Hint());
    SetShowHint(Panel->ShowHint());
    SetCtl3D(false);
}

void TGwPopup::CreateParams(TCreateParams& Params) {
    TGwCustomPopup::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = 0;
}

void TGwPopup::MoveChildren(TWinControl* From, TWinControl* To) {
    for (int i = From->ControlCount() - 1; i >= 0; --i)
        From->Controls(i)->SetParent(To);
}

bool TGwPopup::OwnsWindow(HWND Wnd) {
    HWND own = Handle();
    for (HWND w = Wnd; w; w = GetParent(w))
        if (w == own)
            return true;
    return false;
}

// The local loop's look at each queued message; true eats it.
bool TGwPopup::Filter(TMsg& Msg) {
    if (FDone)
        return false;
    switch (Msg.message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
        if (OwnsWindow(Msg.hwnd))
            return false;
        FDone = true;
        return true;
    case WM_ACTIVATEAPP:
    case CM_DEACTIVATE: FDone = true; return false;
    case WM_KILLFOCUS:
    case CM_GWPOPUPCLOSE:
        FDone = true;
        FClosePosted = true;
        return false;
    default:
        if (Msg.message >= WM_KEYFIRST && Msg.message <= WM_KEYLAST) {
            if (Msg.hwnd != Handle()) {
                SendMessage(Handle(), Msg.message, Msg.wParam, Msg.lParam);
                return true;
            }
        }
        return false;
    }
}

bool TGwPopup::Execute(TControl* Control, TAlignment Alignment, int X, int Y) {
    TRect r;
    if (auto* w = dynamic_cast<TWinControl*>(Control))
        GetWindowRect(w->Handle(), &r);
    else {
        TPoint tl = Control->Parent()->ClientToScreen(TPoint(Control->Left(), Control->Top()));
        r = Bounds(tl.x, tl.y, Control->Width(), Control->Height());
    }
    MoveChildren(FPanel, this);
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* w = dynamic_cast<TWinControl*>(Controls(i)); w && w->Enabled() && w->Visible()) {
            FActiveChild = w;
            break;
        }
    int W = FPanel->Width(), H = FPanel->Height();
    TPoint at(X == -1 && Y == -1 ? r.Left : r.Left + X, X == -1 && Y == -1 ? r.Bottom : r.Top + Y);
    TMonitor* monitor = Screen->MonitorFromPoint(at);
    TRect work = monitor ? monitor->WorkareaRect() : Screen->WorkAreaRect();
    TPoint p = PlacePopup(r, Alignment, X, Y, W, H, work);
    SetBounds(p.x, p.y, W, H);
    SetWindowPos(Handle(), HWND_TOP, p.x, p.y, W, H, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    SetVisible(true);
    FCancelled = true;
    FDone = false;
    int hook = Application->HookMessages([this](TMsg& m) { return Filter(m); });
    try {
        Application->RunLoop([this] { return FDone; });
    } catch (...) {
        Application->UnhookMessages(hook);
        throw;
    }
    Application->UnhookMessages(hook);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
    SetVisible(false);
    MoveChildren(this, FPanel);
    FActiveChild = nullptr;
    if (!FClosePosted)
        PostMessage(Handle(), CM_GWPOPUPCLOSE, 0, 0);
    SetParent(nullptr);
    return !FCancelled;
}

void TGwPopup::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; return;
    case WM_NCACTIVATE: Message.Result = 0; return;
    case WM_SYSCOMMAND: PostMessage(Handle(), CM_GWPOPUPCLOSE, 0, 0); return;
    case CM_GWPOPUPCLOSE: FDone = true; return;
    default: break;
    }
    if (Message.Msg >= WM_KEYFIRST && Message.Msg <= WM_KEYLAST) {
        if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_ESCAPE)
            PostMessage(Handle(), CM_GWPOPUPCLOSE, 0, 0);
        if (FActiveChild && FActiveChild->HandleAllocated()) {
            Message.Result = SendMessage(FActiveChild->Handle(), Message.Msg, Message.WParam, Message.LParam);
            return;
        }
    }
    TGwCustomPopup::WndProc(Message);
}
