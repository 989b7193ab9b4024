// Push button and check box over Qt buttons, and the label that its parent paints. GUI core.
#include <QApplication>
#include <QCheckBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOptionButton>

#include "forms.h"
#include "sysutils.h"
#include "stdctrls.h"
#include "graphics_qt.h"
#include "stdctrls_qt.h"

// The wrapped widgets as their own classes.
static QPushButton* Button(const TButton* b) { return WidgetAs<QPushButton>(b); }
static QCheckBox* Box(const TCheckBox* b) { return WidgetAs<QCheckBox>(b); }

// The classic desktop's buttons. A check box or radio button has a 13-pixel box with its caption 4
// pixels on, where the forms expect it: Qt's own wider box and gap cut captions the forms size to the
// pixel ("Автозапуск"). The keyboard focus shows as the dotted rectangle, inside a push button and around
// a check box's or radio button's caption, however the focus came: Qt's own mark is a tint, shown
// only after a Tab that Qt itself moved (ours moves the focus from the message path).
namespace {
class TClassicButtonStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric m, const QStyleOption* o, const QWidget* w) const override {
        switch (m) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight: return 13;
        case PM_CheckBoxLabelSpacing:
        case PM_RadioButtonLabelSpacing: return 4;
        default: return QProxyStyle::pixelMetric(m, o, w);
        }
    }

    void drawControl(ControlElement e, const QStyleOption* o, QPainter* p, const QWidget* w) const override {
        const auto* b = qstyleoption_cast<const QStyleOptionButton*>(o);
        const bool button = e == CE_PushButton || e == CE_CheckBox || e == CE_RadioButton;
        if (!button || !b || !(o->state & State_HasFocus)) {
            QProxyStyle::drawControl(e, o, p, w);
            return;
        }
        QStyleOptionButton plain(*b);
        plain.state &= ~State_HasFocus;
        QProxyStyle::drawControl(e, &plain, p, w);
        QRect r;
        if (e == CE_PushButton)
            r = o->rect.adjusted(kButtonFocusInset, kButtonFocusInset, -kButtonFocusInset,
                                 -kButtonFocusInset);
        else if (!b->text.isEmpty())
            r = CaptionRect(e == CE_CheckBox ? SE_CheckBoxContents : SE_RadioButtonContents, *b, w);
        if (r.isEmpty())
            return;
        TCanvas canvas;
        p->save();
        BindPainter(&canvas, p);
        canvas.DrawFocusRect(TRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1));
        BindPainter(&canvas, nullptr);
        p->restore();
    }

private:
    static constexpr int kButtonFocusInset = 4; // inside the button's two-pixel frame, one pixel clear

    // The caption's own box, one pixel out all round, within the button.
    QRect CaptionRect(SubElement contents, const QStyleOptionButton& b, const QWidget* w) const {
        const Qt::Alignment align = visualAlignment(b.direction, Qt::AlignLeft | Qt::AlignVCenter);
        const QRect text = b.fontMetrics.boundingRect(subElementRect(contents, &b, w),
                                                      int(align | Qt::TextShowMnemonic), b.text);
        return text.adjusted(-1, -1, 1, 1) & b.rect;
    }
};
} // namespace

void UseClassicButtonStyle(QWidget* w) {
    static TClassicButtonStyle* style = [] {
        auto* s = new TClassicButtonStyle;
        s->setParent(qApp);
        return s;
    }();
    w->setStyle(style);
}

// ---- TButton -------------------------------------------------------------------------------------

TButton::TButton(TComponent* AOwner) : TNativeControl(AOwner) {
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    SetBounds(Left(), Top(), 75, 25);
    SetTabStop(true);
    SetColor(clBtnFace);
}

// The button with the caption and default set before; its handle's first need makes it.
void TButton::CreateWidget() {
    auto* b = new QPushButton(ToQString(TControl::GetText()));
    UseClassicButtonStyle(b);
    b->setAutoDefault(false);
    b->setDefault(FDefault);
    SetWidget(this, b);
    QObject::connect(b, &QPushButton::clicked, [this] {
        if (!FSyncing)
            Notify(BN_CLICKED);
    });
}

TButton::~TButton() = default;

void TButton::SetDefault(bool v) {
    FDefault = v;
    if (QPushButton* b = Button(this))
        b->setDefault(v);
}

void TButton::Click() {
    // The form takes the modal result before OnClick runs, so OnClick can still change it.
    if (ModalResult != mrNone)
        if (TCustomForm* f = GetParentForm(this))
            f->SetModalResult(ModalResult);
    TNativeControl::Click();
}

void TButton::CMTextChanged(TMessage& Message) {
    if (QPushButton* b = Button(this))
        b->setText(ToQString(TControl::GetText()));
    TNativeControl::CMTextChanged(Message);
}

// Enter presses the focused button, or the default button when no other button has the focus;
// Escape presses the cancel button.
void TButton::CMDialogKey(TWMKey& Message) {
    WORD key = WORD(Message.Raw.WParam);
    TCustomForm* form = GetParentForm(this);
    TWinControl* focused = form ? form->ActiveControl() : nullptr;
    bool active = focused == this || (FDefault && !dynamic_cast<TButton*>(focused));
    if (((key == VK_RETURN && active) || (key == VK_ESCAPE && Cancel)) && Visible() && Enabled()) {
        Click();
        Message.Result = 1;
        return;
    }
    TNativeControl::CMDialogKey(Message);
}

void TButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CN_COMMAND:
        if (Message.WParamHi() == BN_CLICKED)
            Click();
        return;
    case BM_CLICK: Click(); return;
    default: TNativeControl::Dispatch(Message);
    }
}

// ---- TCheckBox -----------------------------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* AOwner) : TNativeControl(AOwner) {
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    SetBounds(Left(), Top(), 97, 17);
    SetTabStop(true);
}

static Qt::CheckState QtState(TCheckBoxState v) {
    return v == cbChecked ? Qt::Checked : v == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked;
}

// The box with the caption, state and alignment set before.
void TCheckBox::CreateWidget() {
    auto* b = new QCheckBox(ToQString(TControl::GetText()));
    UseClassicButtonStyle(b);
    b->setTristate(FTristate);
    b->setCheckState(QtState(FState));
    b->setLayoutDirection(FAlignment == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
    SetWidget(this, b);
    QObject::connect(b, &QCheckBox::clicked, [this] {
        if (!FSyncing)
            Notify(BN_CLICKED);
    });
}

TCheckBox::~TCheckBox() = default;

void TCheckBox::SetState(TCheckBoxState v) {
    if (v == FState)
        return;
    FState = v;
    FTristate = v == cbGrayed || AllowGrayed;
    if (QCheckBox* b = Box(this)) {
        FSyncing = true;
        b->setTristate(FTristate);
        b->setCheckState(QtState(v));
        FSyncing = false;
    }
    Click();
}

void TCheckBox::Toggle() {
    switch (FState) {
    case cbUnchecked: SetState(AllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCheckBox::SetAlignment(TAlignment v) {
    FAlignment = v;
    if (QCheckBox* b = Box(this))
        b->setLayoutDirection(v == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}

void TCheckBox::CMTextChanged(TMessage& Message) {
    if (QCheckBox* b = Box(this))
        b->setText(ToQString(TControl::GetText()));
    TNativeControl::CMTextChanged(Message);
}

void TCheckBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CN_COMMAND:
        if (Message.WParamHi() == BN_CLICKED) {
            // Qt has already flipped its box; the state we keep decides, then the box follows it.
            TCheckBoxState before = FState;
            Toggle();
            if (FState == before) {
                FSyncing = true;
                if (QCheckBox* b = Box(this))
                    b->setCheckState(QtState(FState));
                FSyncing = false;
            }
        }
        return;
    case BM_GETCHECK:
        Message.Result = FState == cbChecked  ? BST_CHECKED
                         : FState == cbGrayed ? BST_INDETERMINATE
                                              : BST_UNCHECKED;
        return;
    case BM_SETCHECK:
        SetState(Message.WParam == BST_CHECKED         ? cbChecked
                 : Message.WParam == BST_INDETERMINATE ? cbGrayed
                                                       : cbUnchecked);
        return;
    case BM_CLICK: Toggle(); return;
    default: TNativeControl::Dispatch(Message);
    }
}

// ---- TLabel --------------------------------------------------------------------------------------

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    FControlStyle << csReplicatable << csOpaque;
    SetBounds(Left(), Top(), 65, 17);
}

void TLabel::DoDrawText(TRect& Rect, unsigned Flags) {
    std::string text = Caption();
    // An empty caption still measures one line high.
    if ((Flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&")))
        text += ' ';
    if (!FShowAccelChar)
        Flags |= DT_NOPREFIX;
    TCanvas* c = Canvas();
    c->SetFont(Font());
    if (!Enabled()) {
        OffsetRect(Rect, 1, 1);
        c->Font()->SetColor(clBtnHighlight);
        c->DrawText(text, Rect, Flags);
        OffsetRect(Rect, -1, -1);
        c->Font()->SetColor(clBtnShadow);
    }
    c->DrawText(text, Rect, Flags);
}

void TLabel::Paint() {
    static const unsigned kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    if (!FTransparent) {
        c->Brush()->SetColor(Color());
        c->Brush()->SetStyle(bsSolid);
        c->FillRect(r);
    }
    c->Brush()->SetStyle(bsClear);
    unsigned flags = DT_EXPANDTABS | (FWordWrap ? unsigned(DT_WORDBREAK) : 0u) | kAlign[FAlignment];
    if (FLayout != tlTop) {
        TRect calc = r;
        DoDrawText(calc, flags | DT_CALCRECT);
        int dy = FLayout == tlBottom ? r.Height() - calc.Bottom : (r.Height() - calc.Bottom) / 2;
        OffsetRect(r, 0, dy);
    }
    DoDrawText(r, flags);
}

void TLabel::AdjustBounds() {
    if (!FAutoSize || ComponentState().Contains(csLoading))
        return;
    TRect r = ClientRect();
    DoDrawText(r, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? unsigned(DT_WORDBREAK) : 0u));
    int x = Left();
    if (FAlignment == taRightJustify)
        x += Width() - r.Right;
    SetBounds(x, Top(), r.Right, r.Bottom);
}

void TLabel::SetFocusControl(TWinControl* v) {
    if (v == FFocusControl)
        return;
    if (FFocusControl)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = v;
    if (v)
        v->FreeNotification(this);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

namespace {
// The letter after a single '&' of a caption ("&&" is a literal ampersand), 0 when there is none.
char AccelChar(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] != '&')
            return caption[i + 1];
        ++i;
    }
    return 0;
}
} // namespace

void TLabel::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_DIALOGCHAR && FFocusControl && FShowAccelChar && Enabled()) {
        char a = AccelChar(Caption());
        char key = char(static_cast<unsigned char>(Message.WParam));
        if (a && AnsiSameText(std::string(1, a), std::string(1, key)) && FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            Message.Result = 1;
            return;
        }
    }
    TGraphicControl::Dispatch(Message);
}

void TLabel::SetAlignment(TAlignment v) {
    if (v == FAlignment)
        return;
    FAlignment = v;
    Invalidate();
}

void TLabel::SetAutoSize(bool v) {
    if (v == FAutoSize)
        return;
    FAutoSize = v;
    AdjustBounds();
}

void TLabel::SetTransparent(bool v) {
    if (v == FTransparent)
        return;
    FTransparent = v;
    if (v)
        FControlStyle >> csOpaque;
    else
        FControlStyle << csOpaque;
    Invalidate();
}

void TLabel::SetWordWrap(bool v) {
    if (v == FWordWrap)
        return;
    FWordWrap = v;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetLayout(TTextLayout v) {
    if (v == FLayout)
        return;
    FLayout = v;
    Invalidate();
}

void TLabel::SetShowAccelChar(bool v) {
    if (v == FShowAccelChar)
        return;
    FShowAccelChar = v;
    AdjustBounds();
    Invalidate();
}

void TLabel::CMTextChanged(TMessage& Message) {
    TGraphicControl::CMTextChanged(Message);
    Invalidate();
    AdjustBounds();
}

void TLabel::CMFontChanged(TMessage& Message) {
    TGraphicControl::CMFontChanged(Message);
    AdjustBounds();
}

void TLabel::CMParentFontChanged(TMessage& Message) {
    TGraphicControl::CMParentFontChanged(Message);
    AdjustBounds();
}
