// The bitmap button and the menu button, with the kinds' captions and glyphs and the drop-down
// menu placement they share with the toolbar buttons.
#include <algorithm>
#include <array>
#include <memory>

#include "Gwbutton.h"
#include "Gwgrafx.h"
#include "Gwthemesrv.h"
#include "Gwutils.h"
#include "actlist.h"
#include "forms.h"
#include "menus.h"
#include "resources.h"
#include "sysinfo.h"
#include "sysutils.h"
#include "winapi.h"

namespace {

struct TKindInfo {
    const char* Caption;
    TModalResult Result;
    const char* Resource;
};

const TKindInfo Kinds[] = {
    {"", mrNone, ""},
    {"OK", mrOk, "GWCOMMON_OK"},
    {"Cancel", mrCancel, "GWCOMMON_CANCEL"},
    {"&Help", mrNone, "GWCOMMON_HELP"},
    {"&Yes", mrYes, "GWCOMMON_YES"},
    {"&No", mrNo, "GWCOMMON_NO"},
    {"&Close", mrNone, "GWCOMMON_CLOSE"},
    {"Abort", mrAbort, "GWCOMMON_ABORT"},
    {"&Retry", mrRetry, "GWCOMMON_RETRY"},
    {"&Ignore", mrIgnore, "GWCOMMON_IGNORE"},
    {"&All", mrAll, "GWCOMMON_ALL"},
};

// Loaded on first request, shared by every button, freed when the program ends.
std::array<std::unique_ptr<TBitmap>, 11> gKindGlyphs;

bool KindIsDefault(TBitBtnKind K) { return K == bkOK || K == bkYes; }
bool KindIsCancel(TBitBtnKind K) { return K == bkCancel || K == bkNo; }

int MulDiv(int Value, int M, int D) { return D == 0 ? Value : int((std::int64_t(Value) * M + D / 2) / D); }

} // namespace

TBitmap* GetBitBtnGlyph(TBitBtnKind Kind) {
    if (Kind == bkCustom)
        return nullptr;
    std::unique_ptr<TBitmap>& g = gKindGlyphs[size_t(Kind)];
    if (!g) {
        RegisterGwBitBtnResources();
        auto b = std::make_unique<TBitmap>();
        b->LoadFromResourceName(HInstance, Kinds[Kind].Resource);
        g = std::move(b);
    }
    return g.get();
}

std::string BitBtnCaption(TBitBtnKind Kind) { return Kinds[Kind].Caption; }
TModalResult BitBtnModalResult(TBitBtnKind Kind) { return Kinds[Kind].Result; }

int GetMenuWidth(TControl*, TPopupMenu* PopupMenu) {
    TBitmap scratch;
    TCanvas* c = scratch.Canvas();
    c->SetFont(Screen->MenuFont());
    int widest = 0;
    if (PopupMenu)
        for (int i = 0; i < PopupMenu->Items()->Count(); ++i)
            widest = std::max(widest, c->TextWidth(PopupMenu->Items()->Items(i)->Caption()));
    return widest + 56;
}

TPoint DropDownMenuPoint(TControl* Control, TPopupMenu* Menu) {
    TPoint p = Control->ClientToScreen(
        TPoint(Control->UseRightToLeftAlignment() ? Control->Width() : 0, Control->Height()));
    const int menuWidth = GetMenuWidth(Control, Menu);
    const TMonitor* monitor = GetMonitorContainingPoint(p);
    const int right = monitor ? GetMonitorWorkArea(monitor).Right : GetActiveWorkAreaWidth(Control->Parent());
    if (p.x + menuWidth > right)
        p.x -= menuWidth - Control->Width();
    return p;
}

// ---------------------------------------------------------------- TGwBitBtn

TGwBitBtn::TGwBitBtn(TComponent* AOwner)
    : TGwButton(AOwner), FGlyph(std::make_unique<TBitmap>()),
      FImageChangeLink(std::make_unique<TChangeLink>()) {
    FGlyph->OnChange = [this](TObject*) { GlyphChanged(); };
    FImageChangeLink->OnChange = [this](TObject*) { Invalidate(); };
}

TGwBitBtn::~TGwBitBtn() {
    FGlyph->OnChange = nullptr;
    if (FImages)
        FImages->UnRegisterChanges(FImageChangeLink.get());
}

void TGwBitBtn::SetGlyph(TBitmap* Value) {
    if (Value)
        FGlyph->Assign(Value);
    else
        FGlyph->SetSize(0, 0);
    FGlyphModified = true;
    GlyphChanged();
}

void TGwBitBtn::GlyphChanged() {
    const int h = FGlyph->Height(), w = FGlyph->Width();
    if (h != 0 && w % h == 0) {
        FNumGlyphs = w / h;
        if (FNumGlyphs < 1 || FNumGlyphs > 4)
            FNumGlyphs = 1;
    }
    Invalidate();
}

TBitBtnKind TGwBitBtn::Kind() {
    if (FKind != bkCustom && (Default() != KindIsDefault(FKind) || Cancel != KindIsCancel(FKind) ||
                              ModalResult != Kinds[FKind].Result || FGlyphModified))
        FKind = bkCustom;
    return FKind;
}

void TGwBitBtn::SetKind(TBitBtnKind Value) {
    if (Value != FKind && Value != bkCustom) {
        SetDefault(KindIsDefault(Value));
        Cancel = KindIsCancel(Value);
        const bool loading = ComponentState().Contains(csLoading);
        if (*Kinds[Value].Caption && (!loading || Caption().empty()))
            SetCaption(Kinds[Value].Caption);
        ModalResult = Kinds[Value].Result;
        FGlyph->Assign(GetBitBtnGlyph(Value));
        FNumGlyphs = 2;
        FGlyphModified = false;
    }
    FKind = Value;
    Invalidate();
}

bool TGwBitBtn::IsCaptionStored() {
    const TBitBtnKind k = Kind();
    return k == bkCustom || AnsiCompareStr(Caption(), Kinds[k].Caption) != 0;
}

void TGwBitBtn::SetLayout(TButtonLayout Value) {
    FLayout = Value;
    Invalidate();
}

void TGwBitBtn::SetMargin(int Value) {
    if (Value < -1)
        return;
    FMargin = Value;
    Invalidate();
}

void TGwBitBtn::SetNumGlyphs(int Value) {
    FNumGlyphs = Value;
    Invalidate();
}

void TGwBitBtn::SetSpacing(int Value) {
    FSpacing = Value;
    Invalidate();
}

void TGwBitBtn::SetImageIndex(int Value) {
    FImageIndex = Value;
    Invalidate();
}

void TGwBitBtn::SetDisabledIndex(int Value) {
    FDisabledIndex = Value;
    Invalidate();
}

void TGwBitBtn::SetImages(TCustomImageList* Value) {
    if (FImages)
        FImages->UnRegisterChanges(FImageChangeLink.get());
    FImages = Value;
    if (FImages) {
        FImages->RegisterChanges(FImageChangeLink.get());
        FImages->FreeNotification(this);
    }
    Invalidate();
}

void TGwBitBtn::Notification(TComponent* AComponent, TOperation Operation) {
    TGwButton::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages)
        SetImages(nullptr);
}

void TGwBitBtn::ActionChange(TObject* Sender, bool CheckDefaults) {
    TGwButton::ActionChange(Sender, CheckDefaults);
    if (auto* a = dynamic_cast<TCustomAction*>(Sender))
        if (!CheckDefaults || FImageIndex == -1)
            SetImageIndex(a->ImageIndex());
}

void TGwBitBtn::ChangeScale(int M, int D) {
    TGwButton::ChangeScale(M, D);
    FMargin = MulDiv(FMargin, M, D);
    FSpacing = MulDiv(FSpacing, M, D);
}

bool TGwBitBtn::HasImage() const { return FImages && FImageIndex != -1; }

TPoint TGwBitBtn::GetImageSize() {
    if (HasImage())
        return TPoint(FImages->Width(), FImages->Height());
    if (!FGlyph->Empty())
        return TPoint(FGlyph->Width() / std::max(FNumGlyphs, 1), FGlyph->Height());
    return TPoint(0, 0);
}

int TGwBitBtn::CaptionHeight() {
    TRect r = ClientRect();
    Canvas()->SetFont(Font());
    Canvas()->DrawText(Caption(), r, DT_CALCRECT | DT_NOCLIP | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
    return r.Height();
}

TRect TGwBitBtn::GetCaptionRect() {
    TRect r = TGwButton::GetCaptionRect();
    if (!HasImage() && FGlyph->Empty())
        return r;
    const TPoint s = GetImageSize();
    const int across = FMargin + s.x + FSpacing, down = FMargin + s.y + FSpacing;
    switch (FLayout) {
    case blGlyphLeft: r.Left += across; break;
    case blGlyphRight: r.Right -= across; break;
    case blGlyphTop:
    case blGlyphBottom:
        if (FMargin >= 0) {
            if (FLayout == blGlyphTop)
                r.Top += down;
            else
                r.Bottom -= down;
        } else {
            const int th = CaptionHeight();
            r.Top += (Height() - (s.y + th + FSpacing)) / 2 + (FLayout == blGlyphTop ? s.y : 0);
            r.Bottom = r.Top + th;
        }
        break;
    }
    return r;
}

TRect TGwBitBtn::GetGlyphRect() {
    TRect r = TGwButton::GetCaptionRect();
    const bool themed = UsesThemes();
    if (PressedInside())
        OffsetRect(r, -1, themed ? 0 : -1);
    const TPoint s = GetImageSize();
    if (FMargin >= 0) {
        switch (FLayout) {
        case blGlyphLeft: r.Left += FMargin; break;
        case blGlyphRight: r.Left = r.Right - FMargin - s.x; break;
        case blGlyphTop: r.Top += FMargin; break;
        case blGlyphBottom: r.Top = r.Bottom - FMargin - s.y; break;
        }
    } else {
        switch (FLayout) {
        case blGlyphLeft: break;
        case blGlyphRight: r.Left = r.Right - s.x; break;
        case blGlyphTop: r.Top = (Height() - (s.y + CaptionHeight() + FSpacing)) / 2; break;
        case blGlyphBottom:
            r.Top += (Height() - (s.y + CaptionHeight() + FSpacing)) / 2 + CaptionHeight();
            break;
        }
    }
    if (FLayout == blGlyphTop || FLayout == blGlyphBottom)
        r.Left += (r.Width() - s.x + 1) / 2;
    else
        r.Top += (r.Height() - s.y + 1) / 2;
    r.Right = r.Left + s.x;
    r.Bottom = r.Top + s.y;
    if (PressedInside())
        OffsetRect(r, themed ? 2 : 1, themed ? 0 : 1);
    return r;
}

void TGwBitBtn::DrawButtonContent() {
    TGwButton::DrawButtonContent();
    const TRect r = GetGlyphRect();
    if (FKind == bkCustom && HasImage())
        DrawImage(r);
    else if (!FGlyph->Empty())
        DrawGlyph(r);
}

void TGwBitBtn::DrawImage(const TRect& R) {
    if (FDisabledIndex == -1)
        FImages->Draw(Canvas(), R.Left, R.Top, FImageIndex, Enabled());
    else
        FImages->Draw(Canvas(), R.Left, R.Top, Enabled() ? FImageIndex : FDisabledIndex, true);
}

void TGwBitBtn::DrawGlyph(const TRect& R) {
    const int w = R.Width();
    int frame = 0;
    if (FNumGlyphs == 4 && State() == bsExclusive)
        frame = 3;
    else if (FNumGlyphs >= 3 && (State() == bsDown || PressedInside()))
        frame = 2;
    else if (FNumGlyphs >= 2 && !Enabled())
        frame = 1;
    TBitmap tmp;
    tmp.SetSize(w, R.Height());
    const TRect all(0, 0, w, R.Height());
    tmp.Canvas()->CopyRect(all, Canvas(), R);
    DrawFullTransparentBitmap(tmp.Canvas(), FGlyph.get(), all, Bounds(frame * w, 0, w, R.Height()),
                              FGlyph->TransparentColor());
    Canvas()->Draw(R.Left, R.Top, &tmp);
}

// ---------------------------------------------------------------- menu buttons

template <class Base> TGwMenuDropDown<Base>::TGwMenuDropDown(TComponent* AOwner) : Base(AOwner) {
    TControlStyle style = this->ControlStyle();
    style >> csDoubleClicks;
    this->SetControlStyle(style);
    this->SetDragMode(dmManual);
}

template <class Base> void TGwMenuDropDown<Base>::SetDropDownMenu(TPopupMenu* Value) {
    FDropDownMenu = Value;
    if (Value)
        Value->FreeNotification(this);
}

template <class Base> void TGwMenuDropDown<Base>::SetShowArrow(bool Value) {
    FShowArrow = Value;
    this->Invalidate();
}

template <class Base> void TGwMenuDropDown<Base>::Notification(TComponent* AComponent, TOperation Operation) {
    Base::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDropDownMenu)
        FDropDownMenu = nullptr;
}

template <class Base>
void TGwMenuDropDown<Base>::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    Base::MouseDown(Button, Shift, X, Y);
    if (!FDropDownMenu || Shift != TShiftState{ssLeft} || !DropsAt(X))
        return;
    const DWORD now = GetTickCount();
    if (FLastDropTime != 0 && now < FLastDropTime + 100) {
        // The press that closed the menu: it does not open it again.
        FSkipClick = true;
        FLastDropTime = 0;
        this->SetMouseCapture(false);
    } else {
        DoDropDown();
        FSkipClick = true;
        FLastDropTime = GetTickCount();
    }
    // The menu's own loop took the release.
    Base::MouseUp(Button, Shift, X, Y);
}

template <class Base> bool TGwMenuDropDown<Base>::TakeSkipClick() {
    const bool skip = FSkipClick;
    FSkipClick = false;
    return skip;
}

template <class Base> void TGwMenuDropDown<Base>::DropDown() {
    if (OnDropDown)
        OnDropDown(this);
}

template <class Base> void TGwMenuDropDown<Base>::DoDropDown() {
    if (!FDropDownMenu)
        return;
    DropDown();
    const TPoint p = DropDownMenuPoint(this, FDropDownMenu);
    FDropDownMenu->SetPopupComponent(this);
    FDropDownMenu->Popup(p.x, p.y);
}

template class TGwMenuDropDown<TGwBitBtn>;
template class TGwMenuDropDown<TGwToolbarButton>;

TGwMenuButton::TGwMenuButton(TComponent* AOwner) : TGwMenuDropDown(AOwner) { SetWidth(110); }

TRect TGwMenuButton::GetCaptionRect() {
    TRect r = TGwBitBtn::GetCaptionRect();
    if (ShowArrow()) {
        if (UseRightToLeftAlignment())
            r.Left += 14;
        else
            r.Right -= 14;
    }
    return r;
}

TRect TGwMenuButton::GetGlyphRect() {
    TRect r = TGwBitBtn::GetGlyphRect();
    if (ShowArrow()) {
        if (Layout() == blGlyphRight)
            OffsetRect(r, -14, 0);
        else if (Layout() == blGlyphTop || Layout() == blGlyphBottom)
            OffsetRect(r, -7, 0);
    }
    return r;
}

void TGwMenuButton::Paint() {
    TGwBitBtn::Paint();
    if (!ShowArrow())
        return;
    TCanvas* c = Canvas();
    const TColor color = Enabled() ? clWindowText : clBtnShadow;
    c->Brush()->SetColor(color);
    c->Pen()->SetColor(color);
    const TRect cr = ClientRect();
    int x = UseRightToLeftAlignment() ? 8 : cr.Right - 12;
    int y = (cr.Bottom - cr.Top) / 2 + cr.Top + 2;
    if (PressedInside()) {
        ++x;
        ++y;
    }
    const TPoint arrow[] = {TPoint(x, y), TPoint(x - 3, y - 3), TPoint(x + 3, y - 3)};
    c->Polygon(arrow, 3);
}

void TGwMenuButton::Click() {
    if (TakeSkipClick())
        return;
    if (DropDownMenu() && !SuppressDropDown()) {
        MouseDown(mbLeft, TShiftState{ssLeft}, 0, 0);
        return;
    }
    TGwBitBtn::Click();
}

void TGwMenuButton::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_MOUSEMOVE:
        if (!FTracking) {
            FTracking = true;
            TTrackMouseEvent t;
            t.dwFlags = TME_LEAVE;
            t.hwndTrack = Handle();
            TrackMouseEvent(&t);
        }
        break;
    case WM_MOUSELEAVE:
        FTracking = false;
        Perform(CM_MOUSELEAVE);
        break;
    case WM_KEYDOWN:
        if (Message.WParam == VK_F4) {
            DoDropDown();
            SkipNextClick();
        }
        break;
    }
    TGwBitBtn::WndProc(Message);
}
