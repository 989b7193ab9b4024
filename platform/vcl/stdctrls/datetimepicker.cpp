// TDateTimePicker over QDateTimeEdit (with its own calendar pop-up and an optional check box):
// TDateTime <-> QDateTime, Windows format pictures translated to Qt's, the DTM_/MCM_ messages.
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QTextCharFormat>

#include <algorithm>
#include <cmath>
#include <functional>

#include "comctrls.h"
#include "stdctrls_qt.h"
#include "sysutils.h"

namespace {

const QDate kEpoch(1899, 12, 30);

QDateTime ToQt(TDateTime v) {
    double days = std::floor(v);
    qint64 ms = std::llround((v - days) * 86400000.0);
    return QDateTime(kEpoch.addDays(qint64(days)), QTime(0, 0).addMSecs(int(std::min<qint64>(ms, 86399999))));
}

TDateTime FromQt(const QDateTime& d) {
    return double(kEpoch.daysTo(d.date())) + d.time().msecsSinceStartOfDay() / 86400000.0;
}

// The looks a month calendar takes from its owner: first day of week and the six colours.
void ApplyCalendarLook(QCalendarWidget* cal, TCalDayOfWeek firstDay, const TColor (&colors)[6]) {
    cal->setFirstDayOfWeek(firstDay == dowLocaleDefault ? QLocale().firstDayOfWeek()
                                                        : Qt::DayOfWeek(int(firstDay) + 1));
    QPalette pal = cal->palette();
    pal.setColor(QPalette::Base, ToQColor(colors[MCSC_MONTHBK]));
    pal.setColor(QPalette::Window, ToQColor(colors[MCSC_BACKGROUND]));
    pal.setColor(QPalette::Text, ToQColor(colors[MCSC_TEXT]));
    cal->setPalette(pal);
    QTextCharFormat header;
    header.setBackground(ToQColor(colors[MCSC_TITLEBK]));
    header.setForeground(ToQColor(colors[MCSC_TITLETEXT]));
    cal->setHeaderTextFormat(header);
}

// The MCM_ messages both calendars answer alike; false for any other message. Changes are applied
// by the caller's apply.
bool CalendarMessage(TMessage& m, QCalendarWidget* cal, TCalDayOfWeek& firstDay, TColor (&colors)[6],
                     const std::function<void()>& apply) {
    switch (m.Msg) {
    case MCM_SETFIRSTDAYOFWEEK:
    case MCM_GETFIRSTDAYOFWEEK:
        m.Result = MAKELRESULT(int(cal->firstDayOfWeek()) - 1, firstDay != dowLocaleDefault ? 1 : 0);
        if (m.Msg == MCM_SETFIRSTDAYOFWEEK) {
            firstDay = TCalDayOfWeek(std::clamp(int(m.LParam), 0, 6));
            apply();
        }
        return true;
    case MCM_SETCOLOR:
    case MCM_GETCOLOR: {
        int i = int(m.WParam);
        if (i < 0 || i > MCSC_TRAILINGTEXT) {
            m.Result = -1;
            return true;
        }
        m.Result = LRESULT(ColorToRGB(colors[i]));
        if (m.Msg == MCM_SETCOLOR) {
            colors[i] = TColor(m.LParam);
            apply();
        }
        return true;
    }
    default: return false;
    }
}

// Reports the calendar pop-up's showing and hiding to the picker.
class TPopupWatch : public QObject {
public:
    TPopupWatch(QObject* parent, std::function<void(bool)> shown)
        : QObject(parent), FShown(std::move(shown)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Show)
            FShown(true);
        else if (e->type() == QEvent::Hide)
            FShown(false);
        return false;
    }

private:
    std::function<void(bool)> FShown;
};

} // namespace

struct TDateTimePickerQt {
    static QDateTimeEdit* Edit(const TDateTimePicker* p) { return Widget(p)->findChild<QDateTimeEdit*>(); }
    static QCheckBox* Box(const TDateTimePicker* p) { return Widget(p)->findChild<QCheckBox*>(); }
    static QCalendarWidget* Calendar(const TDateTimePicker* p) { return Edit(p)->calendarWidget(); }
    static QCalendarWidget* Calendar(const TMonthCalendar* c) { return WidgetAs<QCalendarWidget>(c); }
};
using Q = TDateTimePickerQt;

std::string DateTimeFormatToQt(const std::string& Format) {
    std::string out;
    for (size_t i = 0; i < Format.size();) {
        char c = Format[i];
        size_t n = 1;
        while (i + n < Format.size() && Format[i + n] == c)
            ++n;
        if (c == '\'') {
            size_t end = Format.find('\'', i + 1);
            out += Format.substr(i, end == std::string::npos ? std::string::npos : end - i + 1);
            i = end == std::string::npos ? Format.size() : end + 1;
            continue;
        }
        std::string run(n, c);
        switch (c) {
        case 'd':
        case 'M':
        case 'h':
        case 'H':
        case 'm':
        case 's': out += run; break;
        case 'y': out += n <= 2 ? "yy" : "yyyy"; break;
        case 't': out += "AP"; break;
        default:
            // Other letters would be format letters to Qt: quoted as text.
            out += std::isalpha(static_cast<unsigned char>(c)) ? "'" + run + "'" : run;
            break;
        }
        i += n;
    }
    return out;
}

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TNativeControl(AOwner) {
    auto* box = new QWidget;
    auto* lay = new QHBoxLayout(box);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(2);
    auto* check = new QCheckBox;
    check->setChecked(true);
    check->hide();
    auto* edit = new QDateTimeEdit;
    auto* cal = new QCalendarWidget;
    // Qt takes a calendar of ours only while the pop-up is on.
    edit->setCalendarPopup(true);
    edit->setCalendarWidget(cal);
    lay->addWidget(check);
    lay->addWidget(edit, 1);
    SetWidget(this, box);
    cal->installEventFilter(new TPopupWatch(cal, [this](bool shown) {
        if (!FSyncing)
            NotifyPicker(shown ? DTN_DROPDOWN : DTN_CLOSEUP);
    }));
    QObject::connect(edit, &QDateTimeEdit::dateTimeChanged, [this](const QDateTime&) {
        if (!FSyncing)
            NotifyPicker(DTN_DATETIMECHANGE);
    });
    QObject::connect(check, &QCheckBox::toggled, [this](bool on) {
        FChecked = on;
        Q::Edit(this)->setEnabled(on);
        if (!FSyncing)
            NotifyPicker(DTN_DATETIMECHANGE);
    });
    FMinDate = EncodeDate(1752, 9, 14);
    FMaxDate = EncodeDate(9999, 12, 31);
    FSyncing = true;
    edit->setDateTime(ToQt(::Now()));
    FSyncing = false;
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks, csFixedHeight};
    SetBounds(Left(), Top(), 186, 21);
    SetTabStop(true);
    SetColor(clWindow);
    SetDateMode(dmComboBox);
}

TDateTimePicker::~TDateTimePicker() = default;

void TDateTimePicker::NotifyPicker(int code) {
    TNMHdr hdr;
    hdr.hwndFrom = HandleAllocated() ? Handle() : nullptr;
    hdr.code = code;
    Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
}

void TDateTimePicker::Change() {
    if (OnChange)
        OnChange(this);
}

void TDateTimePicker::SetKind(TDateTimeKind v) {
    FKind = v;
    SetDateMode(FDateMode);
}

void TDateTimePicker::SetDateMode(TDTDateMode v) {
    FDateMode = v;
    Q::Edit(this)->setCalendarPopup(v == dmComboBox && FKind == dtkDate);
    ApplyFormat();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat v) {
    FDateFormat = v;
    ApplyFormat();
}

void TDateTimePicker::SetFormat(const std::string& v) {
    FFormat = v;
    ApplyFormat();
}

void TDateTimePicker::ApplyFormat() {
    std::string picture = !FFormat.empty()        ? FFormat
                          : FKind == dtkTime      ? std::string("HH:mm:ss")
                          : FDateFormat == dfLong ? std::string("d MMMM yyyy")
                                                  : ShortDateFormat;
    FSyncing = true;
    Q::Edit(this)->setDisplayFormat(ToQString(DateTimeFormatToQt(picture)));
    FSyncing = false;
}

TDateTime TDateTimePicker::DateTime() const { return FromQt(Q::Edit(this)->dateTime()); }

void TDateTimePicker::SetDateTime(TDateTime v) {
    FSyncing = true;
    Q::Edit(this)->setDateTime(ToQt(v));
    FSyncing = false;
}

TDateTime TDateTimePicker::Date() const { return std::floor(DateTime()); }
void TDateTimePicker::SetDate(TDateTime v) { SetDateTime(std::floor(v) + (DateTime() - Date())); }
TDateTime TDateTimePicker::Time() const { return DateTime() - Date(); }
void TDateTimePicker::SetTime(TDateTime v) { SetDateTime(Date() + (v - std::floor(v))); }

void TDateTimePicker::SetMinDate(TDateTime v) {
    FMinDate = v;
    FSyncing = true;
    Q::Edit(this)->setMinimumDate(ToQt(v).date());
    FSyncing = false;
}

void TDateTimePicker::SetMaxDate(TDateTime v) {
    FMaxDate = v;
    FSyncing = true;
    Q::Edit(this)->setMaximumDate(ToQt(v).date());
    FSyncing = false;
}

void TDateTimePicker::SetShowCheckbox(bool v) {
    FShowCheckbox = v;
    Q::Box(this)->setVisible(v);
}

void TDateTimePicker::SetChecked(bool v) {
    FSyncing = true;
    Q::Box(this)->setChecked(v);
    FSyncing = false;
    FChecked = v;
}

void TDateTimePicker::SetCalFirstDayOfWeek(TCalDayOfWeek v) {
    FFirstDay = v;
    ApplyCalendar();
}

bool TDateTimePicker::DroppedDown() const { return Q::Calendar(this)->isVisible(); }

void TDateTimePicker::ApplyCalendar() { ApplyCalendarLook(Q::Calendar(this), FFirstDay, FCalColors); }

void TDateTimePicker::Dispatch(TMessage& Message) {
    if (CalendarMessage(Message, Q::Calendar(this), FFirstDay, FCalColors, [this] { ApplyCalendar(); }))
        return;
    switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case CN_NOTIFY: {
        auto* hdr = reinterpret_cast<TNMHdr*>(Message.LParam);
        if (!hdr)
            return;
        if (hdr->code == DTN_DATETIMECHANGE)
            Change();
        else if (hdr->code == DTN_DROPDOWN && OnDropDown)
            OnDropDown(this);
        else if (hdr->code == DTN_CLOSEUP && OnCloseUp)
            OnCloseUp(this);
        return;
    }
    case DTM_SETFORMAT:
        SetFormat(Message.LParam ? std::string(reinterpret_cast<const char*>(Message.LParam))
                                 : std::string());
        Message.Result = 1;
        return;
    case DTM_SETMCCOLOR:
    case DTM_GETMCCOLOR: {
        int i = int(Message.WParam);
        if (i < 0 || i > MCSC_TRAILINGTEXT) {
            Message.Result = -1;
            return;
        }
        Message.Result = LRESULT(ColorToRGB(FCalColors[i]));
        if (Message.Msg == DTM_SETMCCOLOR) {
            FCalColors[i] = TColor(Message.LParam);
            ApplyCalendar();
        }
        return;
    }
    case DTM_GETMONTHCAL:
        Message.Result = DroppedDown() && HandleAllocated() ? reinterpret_cast<LRESULT>(Handle()) : 0;
        return;
    default: TNativeControl::Dispatch(Message);
    }
}

// ---- TMonthCalendar ------------------------------------------------------------------------------

TMonthCalendar::TMonthCalendar(TComponent* AOwner) : TNativeControl(AOwner) {
    auto* cal = new QCalendarWidget;
    cal->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    SetWidget(this, cal);
    QObject::connect(cal, &QCalendarWidget::clicked, [this](QDate) {
        if (!FSyncing)
            Click();
    });
    FSyncing = true;
    cal->setSelectedDate(QDate::currentDate());
    FSyncing = false;
    SetBounds(Left(), Top(), 191, 154);
    SetTabStop(true);
    ApplyCalendar();
}

TMonthCalendar::~TMonthCalendar() = default;

TDateTime TMonthCalendar::Date() const {
    return FromQt(QDateTime(Q::Calendar(this)->selectedDate(), QTime(0, 0)));
}

void TMonthCalendar::SetDate(TDateTime v) {
    FSyncing = true;
    Q::Calendar(this)->setSelectedDate(ToQt(v).date());
    FSyncing = false;
}

void TMonthCalendar::SetFirstDayOfWeek(TCalDayOfWeek v) {
    FFirstDay = v;
    ApplyCalendar();
}

void TMonthCalendar::SetWeekNumbers(bool v) {
    FWeekNumbers = v;
    Q::Calendar(this)->setVerticalHeaderFormat(v ? QCalendarWidget::ISOWeekNumbers
                                                 : QCalendarWidget::NoVerticalHeader);
}

void TMonthCalendar::ApplyCalendar() { ApplyCalendarLook(Q::Calendar(this), FFirstDay, FCalColors); }

void TMonthCalendar::Dispatch(TMessage& Message) {
    if (CalendarMessage(Message, Q::Calendar(this), FFirstDay, FCalColors, [this] { ApplyCalendar(); }))
        return;
    auto* st = reinterpret_cast<TSystemTime*>(Message.LParam);
    switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    case MCM_GETCURSEL: {
        Message.Result = st ? 1 : 0;
        if (st) {
            QDate d = Q::Calendar(this)->selectedDate();
            *st = TSystemTime();
            st->wYear = WORD(d.year());
            st->wMonth = WORD(d.month());
            st->wDay = WORD(d.day());
            st->wDayOfWeek = WORD(d.dayOfWeek() % 7);
        }
        return;
    }
    case MCM_SETCURSEL: {
        QDate d = st ? QDate(st->wYear, st->wMonth, st->wDay) : QDate();
        QCalendarWidget* cal = Q::Calendar(this);
        Message.Result = d.isValid() && d >= cal->minimumDate() && d <= cal->maximumDate() ? 1 : 0;
        if (Message.Result)
            SetDate(FromQt(QDateTime(d, QTime(0, 0))));
        return;
    }
    default: TNativeControl::Dispatch(Message);
    }
}
