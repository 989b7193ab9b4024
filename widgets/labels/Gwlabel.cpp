#include "Gwlabel.h"

#include <cmath>
#include <numbers>

#include "Gwutils.h"
#include "desktop.h"
#include "forms.h"
#include "wingdi.h"

namespace {

constexpr double Pi = std::numbers::pi;

// Width a border style takes from a framed side; the bold flat styles count only where the
// client area is shrunk (Bold true), not where the label is sized.
int BorderStyleWidth(TFrameStyleEx Style, int BevelWidth, bool Bold) {
    switch (Style) {
    case fsFlat: return 1;
    case fsStatus:
    case fsPopup: return BevelWidth;
    case fsGroove:
    case fsBump:
    case fsLowered:
    case fsButtonDown:
    case fsRaised:
    case fsButtonUp: return 2;
    case fsFlatBold:
    case fsFlatRounded: return Bold ? 2 : 0;
    default: return 0;
    }
}

} // namespace

int NormalizeAngle(int Degrees) {
    int a = Degrees % 360;
    return a < 0 ? a + 360 : a;
}

TGwLabel::TGwLabel(TComponent* AOwner) : TLabel(AOwner) {
    SetControlStyle(ControlStyle() << csOpaque);
    SetColor(clBtnFace);
    SetParentColor(true);
    FNormalColor = FTextColor = Font()->Color();
    if (!BlinkingControlsList)
        BlinkingControlsList = new TGwBlinkingControlsList;
    BlinkingControlsList->Add(this);
}

TGwLabel::~TGwLabel() {
    if (BlinkingControlsList) {
        BlinkingControlsList->Remove(this);
        FreeBlinkingControlsListIfEmpty();
    }
}

void TGwLabel::UseTrueTypeFont() {
    if (!Loading() && !IsTrueTypeFont(Font()))
        Font()->SetName("Verdana");
}

void TGwLabel::SetAngle(int Value) {
    // Every angle lands in 0..359, also those below -360 (-450 is 270).
    Value = NormalizeAngle(Value);
    if (Value == FAngle)
        return;
    FAngle = Value;
    if (FAngle != 0) {
        UseTrueTypeFont();
        if (FRotation == roNone)
            FRotation = roFlat;
    }
    AdjustBounds();
    Invalidate();
}

void TGwLabel::SetRotation(TRotation Value) {
    if (Value == FRotation)
        return;
    if (Value != roNone)
        UseTrueTypeFont();
    FRotation = Value;
    if (Value == roNone || Value == roFlat)
        FAngle = 0;
    if (Value == roFlat)
        FCenterPoint = cpCenter;
    Invalidate();
}

void TGwLabel::SetCondenseCaption(TGwCondenseCaption Value) {
    if (Value == FCondenseCaption)
        return;
    FCondenseCaption = Value;
    if (Value != ccNone)
        SetAutoSize(false);
    Invalidate();
}

void TGwLabel::SetAutoSize(bool Value) {
    TLabel::SetAutoSize(Value);
    AdjustBounds();
}

void TGwLabel::Loaded() {
    TLabel::Loaded();
    if (FAngle != 0 && FRotation == roNone)
        FRotation = roFlat;
    if (FRotation != roNone && !IsTrueTypeFont(Font()))
        Font()->SetName("Verdana");
    FNormalColor = FTextColor = Font()->Color();
    AdjustBounds();
}

void TGwLabel::SetBlinking(bool Value) {
    if (Value == FBlinking)
        return;
    FBlinking = Value;
    if (!Value) {
        FTextColor = FNormalColor;
        Invalidate();
    }
}

std::uint16_t TGwLabel::BlinkIntervalOff() const {
    return BlinkingControlsList ? BlinkingControlsList->IntervalOff : 500;
}
std::uint16_t TGwLabel::BlinkIntervalOn() const {
    return BlinkingControlsList ? BlinkingControlsList->IntervalOn : 500;
}
void TGwLabel::SetBlinkIntervalOff(std::uint16_t Value) {
    if (BlinkingControlsList)
        BlinkingControlsList->IntervalOff = Value;
}
void TGwLabel::SetBlinkIntervalOn(std::uint16_t Value) {
    if (BlinkingControlsList)
        BlinkingControlsList->IntervalOn = Value;
}

void TGwLabel::Blink(TBlinkState State) {
    FTextColor = State == bsOff ? FBlinkColor : FNormalColor;
    Invalidate();
}

void TGwLabel::SetFlyByEnabled(bool Value) {
    if (Value == FFlyByEnabled)
        return;
    FFlyByEnabled = Value;
    if (!Value && FMouseOver) {
        FTextColor = FSavedColor;
        FMouseOver = false;
    }
    Invalidate();
}

void TGwLabel::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_GETBLINKING: Message.Result = FBlinking ? 1 : 0; return;
    case CM_BLINK:
        if (FBlinking)
            Blink(TBlinkState(Message.WParam));
        return;
    case CM_MOUSEENTER:
        if (FFlyByEnabled && !FMouseOver) {
            FSavedColor = FTextColor;
            FTextColor = FFlyByColor;
            FMouseOver = true;
            Invalidate();
        }
        break;
    case CM_MOUSELEAVE:
        if (FFlyByEnabled && FMouseOver) {
            FTextColor = FSavedColor;
            FMouseOver = false;
            Invalidate();
        }
        break;
    default: break;
    }
    TLabel::Dispatch(Message);
    switch (Message.Msg) {
    case CM_FONTCHANGED:
        if (!FBlinking)
            FNormalColor = FTextColor = Font()->Color();
        if (FAngle != 0 && !IsTrueTypeFont(Font()))
            FAngle = 0;
        AdjustBounds();
        break;
    case CM_TEXTCHANGED:
        AdjustBounds();
        Invalidate();
        break;
    default: break;
    }
}

void TGwLabel::FixClientRect(TRect& Rect, bool Shrink) {
    if (Shrink)
        InflateRect(Rect, -FBorderWidth, -FBorderWidth);
    for (TFrameStyleEx style : {FBorderOuter, FBorderInner}) {
        int w = BorderStyleWidth(style, FBevelWidth, true);
        if (FBorderSides.Contains(sdLeft))
            Rect.Left += w;
        if (FBorderSides.Contains(sdTop))
            Rect.Top += w;
        if (FBorderSides.Contains(sdRight))
            Rect.Right -= w;
        if (FBorderSides.Contains(sdBottom))
            Rect.Bottom -= w;
    }
}

void TGwLabel::AdjustForBorders(TRect& Rect) {
    int widths[] = {BorderStyleWidth(FBorderInner, FBevelWidth, false), FBorderWidth,
                    BorderStyleWidth(FBorderOuter, FBevelWidth, false)};
    for (int w : widths) {
        Rect.Right +=
            w * ((FBorderSides.Contains(sdLeft) ? 1 : 0) + (FBorderSides.Contains(sdRight) ? 1 : 0));
        Rect.Bottom +=
            w * ((FBorderSides.Contains(sdTop) ? 1 : 0) + (FBorderSides.Contains(sdBottom) ? 1 : 0));
    }
    if (FRotation == roNone && FTextStyle == tsShadow) {
        Rect.Right += FShadowDepth;
        Rect.Bottom += FShadowDepth;
    }
    if (FRotation == roFlat && FAngle != 0 && FAngle != 180) {
        if (FTextStyle == tsShadow) {
            Rect.Right += FShadowDepth / 2;
            Rect.Bottom += FShadowDepth / 2;
        }
        double W = Rect.Right, H = Rect.Bottom;
        double a = (FAngle % 90) * Pi / 180;
        if (FAngle == 90 || FAngle == 270)
            a += Pi / 2;
        Rect.Right = int(std::lround(std::cos(a) * W + std::sin(a) * H));
        Rect.Bottom = int(std::lround(std::sin(a) * W + std::cos(a) * H));
    }
}

unsigned TGwLabel::TextFlags() {
    TAlignment align = Alignment();
    if (BiDiMode() == bdRightToLeft)
        align = align == taLeftJustify ? taRightJustify : align == taRightJustify ? taLeftJustify : align;
    unsigned flags = DrawTextAlignments[align] | DT_EXPANDTABS;
    if (BiDiMode() == bdRightToLeft)
        flags |= DT_RTLREADING;
    if (WordWrap())
        flags |= DT_WORDBREAK;
    if (!ShowAccelChar())
        flags |= DT_NOPREFIX;
    if (FCondenseCaption == ccAtEnd)
        flags |= DT_END_ELLIPSIS;
    else if (FCondenseCaption == ccWithinPath)
        flags |= DT_PATH_ELLIPSIS;
    return flags;
}

void TGwLabel::AdjustBounds() {
    if (!AutoSize() || Loading())
        return;
    TRect r(0, 0, Width(), Height());
    FixClientRect(r, true);
    OffsetRect(r, -r.Left, -r.Top);
    std::string text = Caption().empty() ? std::string(" ") : Caption();
    TCanvas* c = Canvas();
    c->SetFont(Font());
    unsigned flags = DT_CALCRECT | DT_EXPANDTABS | (WordWrap() ? unsigned(DT_WORDBREAK) : 0u) |
                     (ShowAccelChar() ? 0u : unsigned(DT_NOPREFIX));
    c->DrawText(text, r, flags);
    AdjustForBorders(r);
    int x = Left();
    TAlignment align = Alignment();
    if (BiDiMode() == bdRightToLeft && align != taCenter)
        align = align == taLeftJustify ? taRightJustify : taLeftJustify;
    if (align == taRightJustify)
        x += Width() - r.Right;
    SetBounds(x, Top(), r.Right, r.Bottom);
}

// Writes the 3-D layers through Layer (offset and colour), the face last; ShadowOffset is the
// drop shadow's offset.
void TGwLabel::DrawLayers(const std::function<void(int, int, TColor)>& Layer, int ShadowOffset) {
    if (!Enabled()) {
        Layer(1, 1, clBtnHighlight);
        Layer(0, 0, clBtnShadow);
        return;
    }
    switch (FTextStyle) {
    case tsRaised:
        if (!FLightTextStyle)
            Layer(1, 1, FShadowColor);
        Layer(-1, -1, FHighlightColor);
        break;
    case tsRecessed:
        Layer(1, 1, FHighlightColor);
        if (!FLightTextStyle)
            Layer(-1, -1, FShadowColor);
        break;
    case tsShadow: Layer(ShadowOffset, ShadowOffset, FShadowColor); break;
    case tsNormal: break;
    }
    Layer(0, 0, FTextColor);
}

void TGwLabel::Draw3DText(const TRect& Client) {
    TCanvas* c = Canvas();
    TRect r = Client;
    InflateRect(r, -FTextMargin, -FTextMargin);
    std::string text = Caption();
    c->SetFont(Font());
    c->Brush()->SetStyle(bsClear);
    if (FRotation == roFlat && FAngle != 0) {
        c->Font()->SetOrientation(FAngle * 10);
        TSize size = c->TextExtent(text.empty() ? std::string(" ") : text);
        double a = FAngle * Pi / 180, ca = std::cos(a), sa = std::sin(a);
        double bw = std::fabs(size.cx * ca) + std::fabs(size.cy * sa);
        double bh = std::fabs(size.cx * sa) + std::fabs(size.cy * ca);
        int col = FCenterPoint % 3, row = FCenterPoint / 3;
        double cx = col == 0 ? r.Left + bw / 2 : col == 1 ? (r.Left + r.Right) / 2.0 : r.Right - bw / 2;
        double cy = row == 0 ? r.Top + bh / 2 : row == 1 ? (r.Top + r.Bottom) / 2.0 : r.Bottom - bh / 2;
        // The text's own centre, turned counter-clockwise with the font, lands on (cx, cy).
        int x = int(std::lround(cx - (size.cx / 2.0 * ca + size.cy / 2.0 * sa)));
        int y = int(std::lround(cy - (-size.cx / 2.0 * sa + size.cy / 2.0 * ca)));
        c->SetTextAlign(TA_LEFT | TA_TOP);
        int half = FShadowDepth / 2;
        bool shadow = Enabled() && FTextStyle == tsShadow;
        DrawLayers(
            [&](int dx, int dy, TColor color) {
                c->Font()->SetColor(color);
                int back = shadow && dx == 0 && dy == 0 ? -half : 0;
                c->TextOut(x + dx + back, y + dy + back, text);
            },
            half);
        return;
    }
    unsigned flags = TextFlags();
    if (Layout() != tlTop) {
        TRect calc = r;
        c->DrawText(text.empty() ? std::string(" ") : text, calc, flags | DT_CALCRECT);
        int diff = r.Height() - calc.Height();
        OffsetRect(r, 0, Layout() == tlCenter ? diff / 2 : diff);
        if (FTextStyle == tsShadow) {
            if (flags & DT_RIGHT)
                OffsetRect(r, -FShadowDepth, 0);
            if (Layout() == tlBottom)
                OffsetRect(r, 0, -FShadowDepth);
        }
    }
    DrawLayers(
        [&](int dx, int dy, TColor color) {
            TRect layer = r;
            OffsetRect(layer, dx, dy);
            c->Font()->SetColor(color);
            c->DrawText(text, layer, flags);
        },
        FShadowDepth);
}

TPoint TGwLabel::ArcCenter() const {
    int B = FBorderWidth, W = Width(), H = Height();
    if (FRotation == roFlat)
        return TPoint(W / 2, H / 2);
    int col = FCenterPoint % 3, row = FCenterPoint / 3;
    return TPoint(col == 0 ? B : col == 1 ? W / 2 : W - B, row == 0 ? B : row == 1 ? H / 2 : H - B);
}

TPoint TGwLabel::ArcRadius() const {
    int B = FBorderWidth, W = Width(), H = Height();
    int col = FCenterPoint % 3, row = FCenterPoint / 3;
    return TPoint(col == 1 ? W / 2 - 2 * B : W - 2 * B, row == 1 ? H / 2 - 2 * B : H - 2 * B);
}

void TGwLabel::DrawArcText() {
    TCanvas* c = Canvas();
    TPoint centre = ArcCenter(), radius = ArcRadius();
    c->SetFont(Font());
    c->Brush()->SetStyle(bsClear);
    c->SetTextAlign(TA_CENTER | TA_BASELINE);
    int h = c->TextHeight("Yy");
    double step = radius.x > 0 ? (c->TextWidth("w") + 2) / double(radius.x) : 0;
    double theta = FAngle * Pi / 180;
    for (char ch : Caption()) {
        int x = centre.x - int(std::lround(std::sin(theta) * (radius.x - h)));
        int y = centre.y - int(std::lround(std::cos(theta) * (radius.y - h)));
        c->Font()->SetOrientation(int(std::lround(theta * 1800 / Pi)));
        std::string s(1, ch);
        DrawLayers(
            [&](int dx, int dy, TColor color) {
                c->Font()->SetColor(color);
                c->TextOut(x + dx, y + dy, s);
            },
            FShadowDepth);
        theta -= step;
    }
    c->SetTextAlign(TA_LEFT | TA_TOP);
}

void TGwLabel::Paint() {
    TCanvas* c = Canvas();
    TGwInnerOuterFrame frame;
    frame.OuterStyle = FBorderOuter;
    frame.InnerStyle = FBorderInner;
    frame.BorderWidth = FBorderWidth;
    frame.Sides = FBorderSides;
    frame.BevelWidth = FBevelWidth;
    frame.BorderColor = FBorderColor;
    frame.BorderHighlight = FBorderHighlight;
    frame.BorderShadow = FBorderShadow;
    frame.FlatColor = FFlatColor;
    frame.FlatColorAdjustment = FFlatColorAdjustment;
    frame.Color = Color();
    frame.ParentColor = Parent() ? Parent()->Color() : Color();
    frame.Transparent = Transparent();
    TRect inner = DrawInnerOuterBorders(c, TRect(0, 0, Width(), Height()), frame);
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(bsSolid);
    if (!Transparent())
        c->FillRect(inner);
    c->Brush()->SetStyle(bsClear);
    if (FRotation == roCurve) {
        DrawArcText();
        return;
    }
    TRect client(0, 0, Width(), Height());
    FixClientRect(client, true);
    Draw3DText(client);
}

TGwURLLabel::TGwURLLabel(TComponent* AOwner) : TGwLabel(AOwner), OpenTarget(ShellOpen) {
    if (Screen && Screen->Cursors(crGwHand) == Screen->Cursors(crDefault))
        Screen->SetCursors(crGwHand, Screen->Cursors(crHandPoint));
    SetCursor(crGwHand);
    Font()->SetStyle(Font()->Style() << fsUnderline);
    Font()->SetColor(FUnvisitedColor);
}

void TGwURLLabel::SetVisited(bool Value) {
    FVisited = Value;
    Font()->SetColor(Value ? FVisitedColor : FUnvisitedColor);
}

void TGwURLLabel::SetVisitedColor(TColor Value) {
    FVisitedColor = Value;
    if (FVisited)
        Font()->SetColor(Value);
}

void TGwURLLabel::SetUnvisitedColor(TColor Value) {
    FUnvisitedColor = Value;
    if (!FVisited)
        Font()->SetColor(Value);
}

void TGwURLLabel::Click() {
    TGwLabel::Click();
    std::string target = Trim(URL).empty() ? Caption() : URL;
    if (Trim(target).empty() || !OpenTarget)
        return;
    if (OpenTarget(target))
        SetVisited(true);
}
