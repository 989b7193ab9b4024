// TRadioButton over QRadioButton (exclusive among its parent's radio buttons by our own rule, not
// Qt's) and TGroupBox drawn by the layer.
#include <QRadioButton>

#include "stdctrls.h"
#include "stdctrls_qt.h"
#include "wingdi.h"

static QRadioButton* Radio(const TRadioButton* c) { return WidgetAs<QRadioButton>(c); }

TRadioButton::TRadioButton(TComponent* AOwner) : TNativeControl(AOwner) {
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    SetBounds(Left(), Top(), 113, 17);
}

// The button with the caption, check and alignment set before.
void TRadioButton::CreateWidget() {
    auto* b = new QRadioButton(ToQString(TControl::GetText()));
    UseClassicButtonStyle(b);
    b->setAutoExclusive(false);
    b->setChecked(FChecked);
    b->setLayoutDirection(FAlignment == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
    SetWidget(this, b);
    QObject::connect(b, &QRadioButton::clicked, [this] {
        if (!FSyncing)
            Notify(BN_CLICKED);
    });
}

TRadioButton::~TRadioButton() = default;

// Checking (from code or by the user) turns the siblings off and clicks the button.
void TRadioButton::SetChecked(bool v) {
    FSyncing = true;
    if (QRadioButton* b = Radio(this))
        b->setChecked(v);
    FSyncing = false;
    if (v == FChecked)
        return;
    FChecked = v;
    SetTabStop(v);
    if (!v)
        return;
    if (Parent())
        for (int i = 0; i < Parent()->ControlCount(); ++i)
            if (auto* r = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); r && r != this)
                r->SetChecked(false);
    Click();
}

void TRadioButton::SetAlignment(TAlignment v) {
    FAlignment = v;
    if (QRadioButton* b = Radio(this))
        b->setLayoutDirection(v == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}

void TRadioButton::CMTextChanged(TMessage& Message) {
    if (QRadioButton* b = Radio(this))
        b->setText(ToQString(TControl::GetText()));
    TNativeControl::CMTextChanged(Message);
}

void TRadioButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CN_COMMAND:
        if (Message.WParamHi() == BN_CLICKED)
            SetChecked(true);
        return;
    case BM_GETCHECK: Message.Result = FChecked ? BST_CHECKED : BST_UNCHECKED; return;
    case BM_SETCHECK: SetChecked(Message.WParam == BST_CHECKED); return;
    case BM_CLICK: SetChecked(true); return;
    default: TNativeControl::Dispatch(Message);
    }
}

// ---- TCustomGroupBox -----------------------------------------------------------------------------

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents,
                                  csSetCaption,      csDoubleClicks, csReplicatable};
    SetBounds(Left(), Top(), 185, 105);
}

// Children sit below the caption line and inside the frame.
void TCustomGroupBox::AdjustClientRect(TRect& Rect) {
    TCustomControl::AdjustClientRect(Rect);
    Canvas()->SetFont(Font());
    Rect.Top += Canvas()->TextHeight("0");
    InflateRect(Rect, -1, -1);
}

void TCustomGroupBox::Paint() {
    TCanvas* c = Canvas();
    c->SetFont(Font());
    int h = c->TextHeight("0");
    TRect r = Rect(0, h / 2 - 1, Width(), Height());
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    // The etched frame: a shadow line with a highlight line one pixel inside and below it.
    c->Brush()->SetColor(clBtnHighlight);
    c->FrameRect(Rect(r.Left + 1, r.Top + 1, r.Right, r.Bottom));
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1));
    std::string text = Caption();
    if (text.empty())
        return;
    TRect tr = Rect(8, 0, 0, h);
    c->DrawText(text, tr, DT_SINGLELINE | DT_CALCRECT);
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(Rect(tr.Left - 1, tr.Top, tr.Right + 1, tr.Bottom));
    c->Brush()->SetStyle(bsClear);
    if (!Enabled())
        c->Font()->SetColor(clGrayText);
    c->DrawText(text, tr, DT_SINGLELINE);
}

void TCustomGroupBox::CMTextChanged(TMessage& Message) {
    TCustomControl::CMTextChanged(Message);
    Invalidate();
}

void TCustomGroupBox::CMFontChanged(TMessage& Message) {
    TCustomControl::CMFontChanged(Message);
    Realign();
}
