// TDateTimePicker over QDateTimeEdit (with an optional check box) dropping a month-calendar window
// of ours: TDateTime <-> QDateTime, Windows format pictures translated to Qt's, the DTM_/MCM_
// messages.
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QTextCharFormat>

#include <algorithm>
#include <cmath>
#include <functional>

#include "comctrls.h"
#include "forms.h"
#include "handle.h"
#include "stdctrls_qt.h"
#include "sysutils.h"
#include "winapi.h"

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

// Monday = 0 … Sunday = 6, the locale's day for dowLocaleDefault.
int EffectiveFirstDay(TCalDayOfWeek d) {
    return d == dowLocaleDefault ? int(QLocale().firstDayOfWeek()) - 1 : int(d);
}

// The looks a month calendar takes from its owner: first day of week and the six colours.
void ApplyCalendarLook(QCalendarWidget* cal, TCalDayOfWeek firstDay, const TColor (&colors)[6]) {
    cal->setFirstDayOfWeek(Qt::DayOfWeek(EffectiveFirstDay(firstDay) + 1));
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

// The MCM_ messages every calendar answers alike; false for any other message. Changes are
// applied by the caller's apply.
bool CalendarMessage(TMessage& m, TCalDayOfWeek& firstDay, TColor (&colors)[6],
                     const std::function<void()>& apply) {
    switch (m.Msg) {
    case MCM_SETFIRSTDAYOFWEEK:
    case MCM_GETFIRSTDAYOFWEEK:
        m.Result = MAKELRESULT(EffectiveFirstDay(firstDay), firstDay != dowLocaleDefault ? 1 : 0);
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

TSystemTime ToSystemTime(QDate d) {
    TSystemTime st;
    st.wYear = WORD(d.year());
    st.wMonth = WORD(d.month());
    st.wDay = WORD(d.day());
    st.wDayOfWeek = WORD(d.dayOfWeek() % 7);
    return st;
}

// One month of the dropped calendar: Qt's calendar with the neighbours' days in the trailing colour
// and today circled.
class TMonthView : public QCalendarWidget {
public:
    QDate Today;
    bool Circle = true;
    // The month before shows its days only in the first month, the one after only in the last.
    bool Before = true, After = true;
    QColor Trailing;

protected:
    void paintCell(QPainter* p, const QRect& r, QDate d) const override {
        if (d.month() == monthShown()) {
            QCalendarWidget::paintCell(p, r, d);
        } else {
            const QDate first(yearShown(), monthShown(), 1);
            p->save();
            p->fillRect(r, palette().color(QPalette::Base));
            if (d < first ? Before : After) {
                p->setPen(Trailing);
                p->drawText(r, Qt::AlignCenter, QString::number(d.day()));
            } else {
                d = QDate(); // a blank cell is never today
            }
            p->restore();
        }
        if (Circle && d == Today) {
            p->save();
            p->setPen(QColor(Qt::red));
            p->setBrush(Qt::NoBrush);
            p->drawEllipse(r.adjusted(1, 1, -2, -2));
            p->restore();
        }
    }
};

// The months of a month-calendar window laid out in the whole months its size holds, their pages
// following each other, and the today line under them.
class TMonthGrid : public QWidget {
public:
    explicit TMonthGrid(std::function<void()> picked) : FPicked(std::move(picked)) {
        FTodayLine = new QPushButton(this);
        FTodayLine->setFlat(true);
        FTodayLine->setFocusPolicy(Qt::NoFocus);
        QObject::connect(FTodayLine, &QPushButton::clicked, [this] {
            SetSelected(Today);
            FPicked();
        });
        Today = QDate::currentDate();
        Selected = Today;
        First = QDate(Today.year(), Today.month(), 1);
        TMonthView* probe = View(0);
        probe->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
        FMonthWeeks = probe->sizeHint();
        probe->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        FMonth = probe->sizeHint();
    }
    QDate Today, Selected, First;
    bool WeekNumbers = false, ShowToday = true, Circle = true;
    int Count = 1;
    TCalDayOfWeek FirstDay = dowLocaleDefault;
    TColor Colors[6] = {};
    std::vector<DWORD> Bold; // from the month before First

    QSize MonthSize() const { return WeekNumbers ? FMonthWeeks : FMonth; }
    int TodayHeight() const { return FTodayLine->sizeHint().height(); }
    TMonthView* View(size_t i) {
        while (FViews.size() <= i) {
            auto* v = new TMonthView;
            v->setParent(this);
            for (QWidget* w : v->findChildren<QWidget*>())
                w->setFocusPolicy(Qt::NoFocus);
            v->setFocusPolicy(Qt::NoFocus);
            const size_t at = FViews.size();
            QObject::connect(v, &QCalendarWidget::currentPageChanged, [this, at](int y, int m) {
                if (!FLaying)
                    ShowFrom(QDate(y, m, 1).addMonths(-int(at)));
            });
            QObject::connect(v, &QCalendarWidget::clicked, [this](QDate d) {
                SetSelected(d);
                FPicked();
            });
            FViews.push_back(v);
        }
        return FViews[i];
    }
    void SetSelected(QDate d) {
        if (!d.isValid())
            return;
        Selected = d;
        if (d < First)
            First = QDate(d.year(), d.month(), 1);
        else if (d >= First.addMonths(Count))
            First = QDate(d.year(), d.month(), 1).addMonths(1 - Count);
        Layout();
    }
    void ShowFrom(QDate first) {
        First = first;
        Layout();
    }
    void Layout() {
        FLaying = true;
        const int todayH = ShowToday ? TodayHeight() : 0;
        // At most a year, as a Windows month calendar shows.
        const QSize month = MonthSize();
        const int cols = std::clamp(width() / std::max(1, month.width()), 1, 12);
        const int rows = std::clamp((height() - todayH) / std::max(1, month.height()), 1, 12 / cols);
        Count = cols * rows;
        const int cw = width() / cols, ch = (height() - todayH) / rows;
        for (size_t i = 0; i < FViews.size() || int(i) < Count; ++i) {
            TMonthView* v = View(i);
            ApplyCalendarLook(v, FirstDay, Colors);
            if (int(i) >= Count) {
                v->hide();
                continue;
            }
            const QDate page = First.addMonths(int(i));
            v->Today = Today;
            v->Circle = Circle;
            v->Before = i == 0;
            v->After = int(i) == Count - 1;
            v->Trailing = ToQColor(Colors[MCSC_TRAILINGTEXT]);
            v->setVerticalHeaderFormat(WeekNumbers ? QCalendarWidget::ISOWeekNumbers
                                                   : QCalendarWidget::NoVerticalHeader);
            // Only the month holding the selection shows it; Qt's calendar moves to a date it selects.
            const bool holds = Selected.year() == page.year() && Selected.month() == page.month();
            v->setSelectedDate(holds ? Selected : page);
            v->setCurrentPage(page.year(), page.month());
            QPalette pal = v->palette();
            pal.setColor(QPalette::Highlight,
                         holds ? palette().color(QPalette::Highlight) : pal.color(QPalette::Base));
            pal.setColor(QPalette::HighlightedText,
                         holds ? palette().color(QPalette::HighlightedText) : pal.color(QPalette::Text));
            v->setPalette(pal);
            v->setDateTextFormat(QDate(), QTextCharFormat());
            for (size_t m = 0; m < Bold.size(); ++m) {
                const QDate month = First.addMonths(int(m) - 1);
                for (int day = 1; day <= month.daysInMonth(); ++day)
                    if (Bold[m] & (DWORD(1) << (day - 1))) {
                        QTextCharFormat f = v->dateTextFormat(month.addDays(day - 1));
                        f.setFontWeight(QFont::Bold);
                        v->setDateTextFormat(month.addDays(day - 1), f);
                    }
            }
            v->setGeometry(int(i) % cols * cw, int(i) / cols * ch, cw, ch);
            v->show();
        }
        FTodayLine->setText(ToQString("Сегодня: " + DateToStr(FromQt(QDateTime(Today, QTime(0, 0))))));
        FTodayLine->setGeometry(0, height() - todayH, width(), todayH);
        FTodayLine->setVisible(ShowToday);
        FLaying = false;
    }

protected:
    void resizeEvent(QResizeEvent*) override { Layout(); }

private:
    std::function<void()> FPicked;
    std::vector<TMonthView*> FViews;
    QPushButton* FTodayLine = nullptr;
    QSize FMonth, FMonthWeeks;
    bool FLaying = false;
};

// Qt's editor takes the user's presses and keys itself: this watch turns those that drop, steer
// and close the calendar into the picker's own calls.
class TDropWatch : public QObject {
public:
    TDropWatch(QObject* parent, std::function<bool(QEvent*)> take)
        : QObject(parent), FTake(std::move(take)) {}
    bool eventFilter(QObject*, QEvent* e) override { return FTake(e); }

private:
    std::function<bool(QEvent*)> FTake;
};

// Qt's editor leaves a typed number its field cannot hold as unfinished text, and on leaving makes
// another date of it (31 February became 3 January). A Windows picker keeps a valid date: such a
// number takes the field's last value (a day past the month's end, the month's last day; a month
// or year without the day, the last day it has), and no other field moves.
class TPickerEdit : public QDateTimeEdit {
public:
    // A digit goes to the field it is typed in, as on a Windows picker: two digits fill a field
    // and go on to the next. Qt goes on after one digit when no second one makes a day of this
    // month, and the next digit changes the month.
    void keyPressEvent(QKeyEvent* e) override {
        const Section field = currentSection();
        const bool ampm = displayedSections() & AmPmSection;
        const bool ours = field == DaySection || field == MonthSection || field == MinuteSection ||
                          field == SecondSection || (field == HourSection && !ampm);
        if (e->modifiers() & ~Qt::KeypadModifier || e->text().size() != 1 || !e->text()[0].isDigit() ||
            !ours) {
            FTyped.clear();
            QDateTimeEdit::keyPressEvent(e);
            return;
        }
        if (field != FField || FTyped.size() >= 2)
            FTyped.clear();
        FField = field;
        FTyped += e->text();
        const int typed = FTyped.toInt();
        QDate d = date();
        QTime t = time();
        const auto clampTo = [typed](int low, int high) { return std::clamp(typed, low, high); };
        if (typed > 0 || field == HourSection || field == MinuteSection || field == SecondSection) {
            if (field == DaySection)
                d = QDate(d.year(), d.month(), clampTo(1, d.daysInMonth()));
            else if (field == MonthSection) {
                const QDate first(d.year(), clampTo(1, 12), 1);
                d = QDate(first.year(), first.month(), std::min(d.day(), first.daysInMonth()));
            } else if (field == HourSection)
                t = QTime(clampTo(0, 23), t.minute(), t.second(), t.msec());
            else if (field == MinuteSection)
                t = QTime(t.hour(), clampTo(0, 59), t.second(), t.msec());
            else
                t = QTime(t.hour(), t.minute(), clampTo(0, 59), t.msec());
            setDateTime(QDateTime(d, t));
        }
        int at = currentSectionIndex();
        if (FTyped.size() >= 2 && at + 1 < sectionCount()) {
            ++at;
            FTyped.clear();
        }
        setCurrentSectionIndex(at);
        setSelectedSection(sectionAt(at));
        e->accept();
    }

    QValidator::State validate(QString& text, int& pos) const override {
        const QValidator::State state = QDateTimeEdit::validate(text, pos);
        if (state == QValidator::Acceptable)
            return state;
        QString clamped = Clamped(text);
        int at = pos;
        if (clamped == text || QDateTimeEdit::validate(clamped, at) != QValidator::Acceptable)
            return state;
        text = clamped;
        pos = at;
        return QValidator::Acceptable;
    }

private:
    enum TField { fDay, fMonth, fYear, fHour, fMinute, fSecond, fCount };
    struct TRun {
        qsizetype At = -1, Len = 0;
        int Value = 0;
    };
    // The text with every number past its field's last value set to that value; the text as it is
    // when it does not follow the picture's numbers (names of months, AM/PM, half-typed text).
    QString Clamped(const QString& text) const {
        const QString fmt = displayFormat();
        TRun runs[fCount];
        bool twoDigitYear = false;
        qsizetype t = 0;
        for (qsizetype f = 0; f < fmt.size();) {
            const QChar c = fmt[f];
            if (c == u'\'') {
                const qsizetype end = fmt.indexOf(u'\'', f + 1);
                const QString lit = fmt.mid(f + 1, end < 0 ? -1 : end - f - 1);
                if (text.mid(t, lit.size()) != lit)
                    return text;
                t += lit.size();
                f = end < 0 ? fmt.size() : end + 1;
                continue;
            }
            qsizetype n = 1;
            while (f + n < fmt.size() && fmt[f + n] == c)
                ++n;
            f += n;
            if (!c.isLetter()) {
                if (text.mid(t, n) != fmt.mid(f - n, n))
                    return text;
                t += n;
                continue;
            }
            const QString fields = QStringLiteral("dMyhHms");
            const qsizetype kind = fields.indexOf(c);
            if (kind < 0 || (c != u'y' && n > 2))
                return text;
            static const TField of[] = {fDay, fMonth, fYear, fHour, fHour, fMinute, fSecond};
            const qsizetype most = c == u'y' && n > 2 ? 4 : 2;
            qsizetype len = 0;
            while (len < most && t + len < text.size() && text[t + len].isDigit())
                ++len;
            if (len == 0)
                return text;
            TRun& r = runs[of[kind]];
            r = TRun{t, len, text.mid(t, len).toInt()};
            twoDigitYear = twoDigitYear || (c == u'y' && n <= 2);
            t += len;
        }
        if (t != text.size())
            return text;
        const QDate now = date();
        const int year = runs[fYear].At < 0 ? now.year() : runs[fYear].Value + (twoDigitYear ? 1900 : 0);
        const int month = runs[fMonth].At < 0 ? now.month() : std::clamp(runs[fMonth].Value, 1, 12);
        const int last[fCount] = {QDate(year, month, 1).daysInMonth(), 12, 9999, 23, 59, 59};
        QString out = text;
        for (int i = 0; i < fCount; ++i)
            if (runs[i].At >= 0 && runs[i].Value > last[i])
                out.replace(runs[i].At, runs[i].Len,
                            QStringLiteral("%1").arg(last[i], int(runs[i].Len), 10, QChar(u'0')));
        return out;
    }

    Section FField = NoSection;
    QString FTyped; // the digits typed into FField since the user came to it
};

} // namespace

struct TDateTimePickerQt {
    static QDateTime Value(const TDateTimePicker* p) {
        return QDateTime(QDate::fromJulianDay(p->FDay), QTime(0, 0).addMSecs(p->FMs));
    }
    static void SetValue(TDateTimePicker* p, const QDateTime& v) {
        p->FDay = v.date().toJulianDay();
        p->FMs = v.time().msecsSinceStartOfDay();
    }
    static QDateTimeEdit* Edit(const TDateTimePicker* p) { return Widget(p)->findChild<QDateTimeEdit*>(); }
    static QCheckBox* Box(const TDateTimePicker* p) { return Widget(p)->findChild<QCheckBox*>(); }
    static TMonthGrid* Grid(const TCommonCalendar* c) { return static_cast<TMonthGrid*>(Widget(c)); }
    // The editor's presses and keys that drop, steer or close the calendar; true takes the event.
    static bool EditorInput(TDateTimePicker* p, QEvent* e);
};
using Q = TDateTimePickerQt;

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TNativeControl(AOwner) {
    FMinDate = EncodeDate(1752, 9, 14);
    FMaxDate = EncodeDate(9999, 12, 31);
    Q::SetValue(this, ToQt(::Now()));
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks, csFixedHeight};
    SetBounds(Left(), Top(), 186, 21);
    SetTabStop(true);
    SetColor(clWindow);
    SetDateMode(dmComboBox);
}

// The editor and its check box, with what was set before: the format first, as the value set after
// a format keeps its time.
void TDateTimePicker::CreateWidget() {
    auto* box = new QWidget;
    auto* lay = new QHBoxLayout(box);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(2);
    auto* check = new QCheckBox;
    check->setChecked(FChecked);
    check->setVisible(FShowCheckbox);
    auto* edit = new TPickerEdit;
    edit->setFrame(false);
    edit->setEnabled(FChecked);
    // The pop-up's arrow is Qt's; a press on it drops our month-calendar window instead.
    edit->setCalendarPopup(CanDrop());
    edit->setDisplayFormat(ToQString(DateTimeFormatToQt(Picture())));
    edit->setDateTime(Q::Value(this));
    lay->addWidget(check);
    lay->addWidget(edit, 1);
    // The focus the picker takes (Tab, a click, SetFocus) is the editor's, which takes the keys.
    box->setFocusProxy(edit);
    SetWidget(this, box);
    edit->installEventFilter(new TDropWatch(edit, [this](QEvent* e) {
        // An event whose handler threw is taken: the editor does not act on it as well.
        bool taken = true;
        TMessageBoundary::Run(this, [&] { taken = TDateTimePickerQt::EditorInput(this, e); });
        return taken;
    }));
    // The editor's value, whoever changed it (the user, its range, its format), is the picker's.
    QObject::connect(edit, &QDateTimeEdit::dateTimeChanged, [this](const QDateTime& v) {
        Q::SetValue(this, v);
        if (!FSyncing)
            NotifyPicker(DTN_DATETIMECHANGE);
    });
    QObject::connect(check, &QCheckBox::toggled, [this](bool on) {
        FChecked = on;
        Q::Edit(this)->setEnabled(on);
        if (!FSyncing)
            NotifyPicker(DTN_DATETIMECHANGE);
    });
}

TDateTimePicker::~TDateTimePicker() {
    if (FHook >= 0 && Application)
        Application->UnhookMessages(FHook);
}

void TDateTimePicker::CreateParams(TCreateParams& Params) {
    TNativeControl::CreateParams(Params);
    if (Ctl3D())
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
        Params.Style |= WS_BORDER;
}

void TDateTimePicker::CreateWnd() {
    TNativeControl::CreateWnd();
    // The drop watch goes in front of the message path's filter on the editor (which hands the
    // presses it delivers to the editor directly), so a press on the drop button still drops.
    QDateTimeEdit* edit = Q::Edit(this);
    for (QObject* o : edit->children())
        if (auto* watch = dynamic_cast<TDropWatch*>(o))
            edit->installEventFilter(watch);
}

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

// Whether a Qt format picture shows the date only (no time section), as the editor kept before its
// widget is made needs: such a format drops the time of the value when it is set.
static bool DateOnly(const QString& qt) {
    bool date = false;
    for (qsizetype i = 0; i < qt.size(); ++i) {
        const QChar c = qt[i];
        if (c == u'\'') {
            const qsizetype end = qt.indexOf(u'\'', i + 1);
            if (end < 0)
                return false;
            i = end;
        } else if (c == u'd' || c == u'M' || c == u'y') {
            date = true;
        } else if (QStringLiteral("hHmszaApPt").contains(c)) {
            return false;
        }
    }
    return date;
}

std::string TDateTimePicker::Picture() const {
    return !FFormat.empty()        ? FFormat
           : FKind == dtkTime      ? std::string("HH:mm:ss")
           : FDateFormat == dfLong ? std::string("d MMMM yyyy")
                                   : ShortDateFormat;
}

void TDateTimePicker::SetKind(TDateTimeKind v) {
    FKind = v;
    SetDateMode(FDateMode);
}

void TDateTimePicker::SetDateMode(TDTDateMode v) {
    FDateMode = v;
    if (WidgetMade())
        Q::Edit(this)->setCalendarPopup(CanDrop());
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
    const QString picture = ToQString(DateTimeFormatToQt(Picture()));
    if (!WidgetMade()) {
        // Kept while the format shows the date only, as the editor would: the value's time goes.
        if (DateOnly(picture)) {
            FMs = 0;
            return;
        }
        WidgetNeeded();
    }
    FSyncing = true;
    Q::Edit(this)->setDisplayFormat(picture);
    FSyncing = false;
    // A new format may drop what it does not show without telling.
    Q::SetValue(this, Q::Edit(this)->dateTime());
}

TDateTime TDateTimePicker::DateTime() const { return FromQt(Q::Value(this)); }

// The editor applies its range and format to the value; without it, the first range applies.
void TDateTimePicker::SetDateTime(TDateTime v) {
    if (WidgetMade()) {
        QDateTimeEdit* e = Q::Edit(this);
        FSyncing = true;
        e->setDateTime(ToQt(v));
        FSyncing = false;
        Q::SetValue(this, e->dateTime());
        return;
    }
    const QDateTime first(QDate(1752, 9, 14), QTime(0, 0));
    const QDateTime last(QDate(9999, 12, 31), QTime(23, 59, 59, 999));
    Q::SetValue(this, std::clamp(ToQt(v), first, last));
}

TDateTime TDateTimePicker::Date() const { return std::floor(DateTime()); }
void TDateTimePicker::SetDate(TDateTime v) { SetDateTime(std::floor(v) + (DateTime() - Date())); }
TDateTime TDateTimePicker::Time() const { return DateTime() - Date(); }
void TDateTimePicker::SetTime(TDateTime v) { SetDateTime(Date() + (v - std::floor(v))); }

// A range of its own needs the editor's rules: the widget is made.
void TDateTimePicker::SetMinDate(TDateTime v) {
    WidgetNeeded();
    FMinDate = v;
    FSyncing = true;
    Q::Edit(this)->setMinimumDate(ToQt(v).date());
    FSyncing = false;
    Q::SetValue(this, Q::Edit(this)->dateTime());
}

void TDateTimePicker::SetMaxDate(TDateTime v) {
    WidgetNeeded();
    FMaxDate = v;
    FSyncing = true;
    Q::Edit(this)->setMaximumDate(ToQt(v).date());
    FSyncing = false;
    Q::SetValue(this, Q::Edit(this)->dateTime());
}

void TDateTimePicker::SetShowCheckbox(bool v) {
    FShowCheckbox = v;
    if (WidgetMade())
        Q::Box(this)->setVisible(v);
}

void TDateTimePicker::SetChecked(bool v) {
    if (WidgetMade()) {
        FSyncing = true;
        Q::Box(this)->setChecked(v);
        FSyncing = false;
    }
    FChecked = v;
}

void TDateTimePicker::SetCalFirstDayOfWeek(TCalDayOfWeek v) {
    FFirstDay = v;
    ApplyCalendar();
}

bool TDateTimePicker::DroppedDown() const { return FCalendar && FCalendar->Visible(); }

void TDateTimePicker::ApplyCalendar() {
    if (FCalendar)
        FCalendar->SetFirstDayAndColors(FFirstDay, FCalColors);
}

bool TDateTimePicker::InDropButton(TPoint P) const {
    QDateTimeEdit* e = Q::Edit(this);
    if (!e->isVisible())
        return false;
    QStyleOptionComboBox opt;
    opt.initFrom(e);
    opt.editable = true;
    opt.frame = e->hasFrame();
    opt.subControls = QStyle::SC_All;
    QRect arrow = e->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxArrow, e);
    return arrow.translated(e->mapTo(Widget(this), QPoint(0, 0))).contains(P.x, P.y);
}

// The calendar comes down fresh each time, as the window a Windows picker makes for each drop:
// one month's size and the plain styles, for OnDropDown to change.
void TDateTimePicker::DropDown() {
    if (DroppedDown() || !CanDrop() || !HandleAllocated())
        return;
    if (!FCalendar) {
        FCalendar = new TMonthCalWindow(this);
        FCalendar->OnSelect = [this](TObject*) { CloseUp(true); };
    }
    SetWindowLong(FCalendar->Handle(), GWL_STYLE, WS_POPUP | WS_BORDER);
    ApplyCalendar();
    FCalendar->SetDate(Date());
    TRect one = FCalendar->MinReqRect();
    PlaceCalendar(one.Width() + 2, one.Height() + 2);
    FCalendar->SetVisible(true);
    FHook = Application->HookMessages([this](TMsg& m) { return DroppedHook(m); });
    const int w = FCalendar->Width(), h = FCalendar->Height();
    NotifyPicker(DTN_DROPDOWN);
    // A handler that gave the calendar more months gets it placed again for its new size.
    if (DroppedDown() && (FCalendar->Width() != w || FCalendar->Height() != h))
        PlaceCalendar(FCalendar->Width(), FCalendar->Height());
}

// Under the picker, or over it when the work area has no room below; moved sideways to stay inside.
void TDateTimePicker::PlaceCalendar(int Width, int Height) {
    TRect box;
    GetWindowRect(Handle(), &box);
    MONITORINFO mi;
    GetMonitorInfo(MonitorFromRect(&box, MONITOR_DEFAULTTONEAREST), &mi);
    const TRect& work = mi.rcWork;
    int y = box.Bottom;
    if (y + Height > work.Bottom && box.Top - work.Top > work.Bottom - box.Bottom)
        y = std::max(work.Top, box.Top - Height);
    const int x = std::max(work.Left, std::min(box.Left, work.Right - Width));
    FCalendar->SetBounds(x, y, Width, Height);
}

void TDateTimePicker::CloseUp(bool Pick) {
    if (!DroppedDown())
        return;
    if (FHook >= 0)
        Application->UnhookMessages(FHook);
    FHook = -1;
    FCalendar->SetVisible(false);
    // The user's pick changes the value as typing does (DTN_DATETIMECHANGE when it differs).
    if (Pick)
        Q::Edit(this)->setDate(ToQt(FCalendar->Date()).date());
    NotifyPicker(DTN_CLOSEUP);
}

// A press anywhere but on the calendar closes it; the press goes on to its window.
bool TDateTimePicker::DroppedHook(TMsg& Msg) {
    switch (Msg.message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        if (DroppedDown() && Msg.hwnd != FCalendar->Handle())
            CloseUp(false);
        return false;
    default: return false;
    }
}

bool TDateTimePickerQt::EditorInput(TDateTimePicker* p, QEvent* e) {
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* me = static_cast<QMouseEvent*>(e);
        QPoint at = Edit(p)->mapTo(Widget(p), me->position().toPoint());
        if (p->DroppedDown()) {
            // The press that closes the calendar does not drop it again.
            p->CloseUp(false);
            return true;
        }
        if (me->button() != Qt::LeftButton || !p->CanDrop() || !p->InDropButton(TPoint(at.x(), at.y())))
            return false;
        p->DropDown();
        return true;
    }
    case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(e);
        const bool alt = ke->modifiers() & Qt::AltModifier;
        const bool toggle =
            ke->key() == Qt::Key_F4 || (alt && (ke->key() == Qt::Key_Down || ke->key() == Qt::Key_Up));
        if (!p->DroppedDown()) {
            if (!toggle || !p->CanDrop())
                return false;
            p->DropDown();
            return true;
        }
        if (toggle || ke->key() == Qt::Key_Escape)
            p->CloseUp(false);
        else if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter)
            p->FCalendar->Key(VK_RETURN);
        else if (WORD vk = QtKeyToVirtualKey(ke->key()))
            p->FCalendar->Key(vk);
        return true;
    }
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride: return p->DroppedDown();
    case QEvent::FocusOut: p->CloseUp(false); return false;
    default: return false;
    }
}

void TDateTimePicker::Dispatch(TMessage& Message) {
    if (CalendarMessage(Message, FFirstDay, FCalColors, [this] { ApplyCalendar(); }))
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
        Message.Result = DroppedDown() ? reinterpret_cast<LRESULT>(FCalendar->Handle()) : 0;
        return;
    default: TNativeControl::Dispatch(Message);
    }
}

// ---- TCommonCalendar -----------------------------------------------------------------------------

TCommonCalendar::TCommonCalendar(TComponent* AOwner) : TNativeControl(AOwner) {
    SetWidget(this, new TMonthGrid([this] { DayPicked(); }));
    // The day picked is the click: the calendar keeps the button's release to itself, as the
    // Windows month calendar's own tracking does.
    FControlStyle >> csClickEvents;
    TRect one = MinReqRect();
    SetBounds(Left(), Top(), one.Width(), one.Height());
}

TCommonCalendar::~TCommonCalendar() = default;

void TCommonCalendar::CreateWnd() {
    TNativeControl::CreateWnd();
    ApplyStyle();
}

TDateTime TCommonCalendar::Date() const { return FromQt(QDateTime(Q::Grid(this)->Selected, QTime(0, 0))); }

void TCommonCalendar::SetDate(TDateTime v) { Q::Grid(this)->SetSelected(ToQt(v).date()); }

int TCommonCalendar::MonthCount() const { return Q::Grid(this)->Count; }

TRect TCommonCalendar::MinReqRect() const {
    TMonthGrid* g = Q::Grid(this);
    return TRect(0, 0, g->MonthSize().width(),
                 g->MonthSize().height() + (g->ShowToday ? g->TodayHeight() : 0));
}

void TCommonCalendar::SetFirstDayAndColors(TCalDayOfWeek FirstDay, const TColor (&Colors)[6]) {
    FFirstDay = FirstDay;
    std::copy(std::begin(Colors), std::end(Colors), FCalColors);
    TMonthGrid* g = Q::Grid(this);
    g->FirstDay = FirstDay;
    std::copy(std::begin(Colors), std::end(Colors), g->Colors);
    g->Layout();
}

bool TCommonCalendar::WeekNumbersShown() const { return Q::Grid(this)->WeekNumbers; }

void TCommonCalendar::ShowWeekNumbers(bool v) {
    if (!HandleAllocated()) {
        Q::Grid(this)->WeekNumbers = v;
        Q::Grid(this)->Layout();
        return;
    }
    const LPARAM style = GetWindowLong(Handle(), GWL_STYLE);
    SetWindowLong(Handle(), GWL_STYLE, v ? style | MCS_WEEKNUMBERS : style & ~LPARAM(MCS_WEEKNUMBERS));
}

void TCommonCalendar::ApplyStyle() {
    TMonthGrid* g = Q::Grid(this);
    DWORD style = TWinControlAccess::Style(this);
    g->WeekNumbers = style & MCS_WEEKNUMBERS;
    g->ShowToday = !(style & MCS_NOTODAY);
    g->Circle = !(style & MCS_NOTODAYCIRCLE);
    g->Layout();
}

bool TCommonCalendar::Key(WORD VirtualKey) {
    TMonthGrid* g = Q::Grid(this);
    QDate d = g->Selected;
    switch (VirtualKey) {
    case VK_LEFT: d = d.addDays(-1); break;
    case VK_RIGHT: d = d.addDays(1); break;
    case VK_UP: d = d.addDays(-7); break;
    case VK_DOWN: d = d.addDays(7); break;
    case VK_PRIOR: d = d.addMonths(-1); break;
    case VK_NEXT: d = d.addMonths(1); break;
    case VK_HOME: d = QDate(d.year(), d.month(), 1); break;
    case VK_END: d = QDate(d.year(), d.month(), d.daysInMonth()); break;
    case VK_RETURN: DayPicked(); return true;
    default: return false;
    }
    g->SetSelected(d);
    return true;
}

void TCommonCalendar::Dispatch(TMessage& Message) {
    TMonthGrid* g = Q::Grid(this);
    if (CalendarMessage(Message, FFirstDay, FCalColors,
                        [this] { SetFirstDayAndColors(FFirstDay, FCalColors); }))
        return;
    auto* st = reinterpret_cast<TSystemTime*>(Message.LParam);
    switch (Message.Msg) {
    case WM_SIZE:
        // A hidden widget hears of its new size only when shown: the months are laid out now.
        TNativeControl::Dispatch(Message);
        g->Layout();
        return;
    case WM_STYLECHANGED:
        if (Message.WParam == WPARAM(GWL_STYLE))
            ApplyStyle();
        return;
    case MCM_GETCURSEL:
        Message.Result = st ? 1 : 0;
        if (st)
            *st = ToSystemTime(g->Selected);
        return;
    case MCM_SETCURSEL: {
        QDate d = st ? QDate(st->wYear, st->wMonth, st->wDay) : QDate();
        Message.Result = d.isValid() ? 1 : 0;
        g->SetSelected(d);
        return;
    }
    case MCM_GETTODAY:
        Message.Result = st ? 1 : 0;
        if (st)
            *st = ToSystemTime(g->Today);
        return;
    case MCM_SETTODAY:
        g->Today = st ? QDate(st->wYear, st->wMonth, st->wDay) : QDate::currentDate();
        if (!g->Today.isValid())
            g->Today = QDate::currentDate();
        g->Layout();
        return;
    case MCM_GETMINREQRECT:
        Message.Result = Message.LParam ? 1 : 0;
        if (Message.LParam)
            *reinterpret_cast<TRect*>(Message.LParam) = MinReqRect();
        return;
    case MCM_GETMONTHRANGE: {
        // With the neighbours' days the month before and the one after count too.
        const bool days = Message.WParam == GMR_DAYSTATE;
        const QDate first = g->First.addMonths(days ? -1 : 0);
        const QDate end = g->First.addMonths(g->Count + (days ? 1 : 0));
        if (st) {
            st[0] = ToSystemTime(first);
            st[1] = ToSystemTime(end.addDays(-1));
        }
        Message.Result = g->Count + (days ? 2 : 0);
        return;
    }
    case MCM_SETDAYSTATE: {
        const int n = std::clamp(int(Message.WParam), 0, 14);
        const auto* states = reinterpret_cast<const MONTHDAYSTATE*>(Message.LParam);
        g->Bold.assign(states ? states : nullptr, states ? states + n : nullptr);
        g->Layout();
        Message.Result = 1;
        return;
    }
    default: TNativeControl::Dispatch(Message);
    }
}

// ---- TMonthCalendar ------------------------------------------------------------------------------

TMonthCalendar::TMonthCalendar(TComponent* AOwner) : TCommonCalendar(AOwner) {
    // It takes the focus itself: the arrow keys arrive as WM_KEYDOWN.
    Widget(this)->setFocusPolicy(Qt::StrongFocus);
    SetTabStop(true);
}

void TMonthCalendar::CreateParams(TCreateParams& Params) {
    TCommonCalendar::CreateParams(Params);
    if (WeekNumbersShown())
        Params.Style |= MCS_WEEKNUMBERS;
}

void TMonthCalendar::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    case WM_KEYDOWN:
        // Enter belongs to the dialog's default button.
        if (Message.WParam != VK_RETURN && Key(WORD(Message.WParam)))
            return;
        break;
    default: break;
    }
    TCommonCalendar::Dispatch(Message);
}

// ---- TMonthCalWindow -----------------------------------------------------------------------------

TMonthCalWindow::TMonthCalWindow(TComponent* AOwner) : TCommonCalendar(AOwner) {
    TRect one = MinReqRect();
    SetBounds(Left(), Top(), one.Width() + 2, one.Height() + 2);
    SetVisible(false);
}

void TMonthCalWindow::CreateParams(TCreateParams& Params) {
    TCommonCalendar::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER;
    Params.ExStyle = 0;
}

void TMonthCalWindow::DayPicked() {
    if (OnSelect)
        OnSelect(this);
}
