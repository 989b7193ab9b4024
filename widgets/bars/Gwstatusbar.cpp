// Status bar: a bottom bar with a one-line simple mode, a size grip and panes that scale with it
// (widget layer, bars).
#include "Gwbars.h"
#include "Gwthemesrv.h"
#include "messages.h"
#include "winapi.h"

TGwStatusBar::TGwStatusBar(TComponent* AOwner) : TGwCustomPanel(AOwner) {
    AdjustStyle();
    SetAlign(alBottom);
}

TGwStatusBar::~TGwStatusBar() = default;

void TGwStatusBar::Loaded() {
    TGwCustomPanel::Loaded();
    if (AutoStyle)
        AdjustStyle();
}

void TGwStatusBar::AdjustStyle() {
    SetBorderInner(fsNone);
    SetBorderOuter(fsNone);
    SetBorderSides(AllSides);
    SetHeight(19);
    SetBorderWidth(0);
}

void TGwStatusBar::SetSimpleStatus(bool Value) {
    FSimpleStatus = Value;
    DisableAlign();
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->SetVisible(!Value);
    EnableAlign();
    Invalidate();
}

bool TGwStatusBar::Themed() const { return VisualStyle() == vsWinXP && ThemeServices()->ThemesEnabled(); }

TRect TGwStatusBar::GetClientRect() {
    TRect r = TGwCustomPanel::GetClientRect();
    if (ThemeServices()->ThemesEnabled()) {
        if (FSimpleStatus) {
            ++r.Left;
            ++r.Top;
            --r.Right;
        }
        return r;
    }
    ++r.Bottom;
    if (FSimpleStatus) {
        r.Top = 2;
    } else {
        r.Top = 1;
        --r.Left;
        ++r.Right;
    }
    return r;
}

void TGwStatusBar::GetGradientColors(TColor& StartColor, TColor& StopColor) {
    if (GradientColorStyle() == gcsCustom) {
        StartColor = GradientColorStop();
        StopColor = GradientColorStart();
        return;
    }
    const TGwStatusBarColors c = GetGradientStatusBarColors(GradientColorStyle());
    StartColor = c.Start;
    StopColor = c.Stop;
}

bool TGwStatusBar::SizeGripActive() {
    if (!FShowSizeGrip)
        return false;
    TCustomForm* form = GetParentForm(this);
    return form && (form->BorderStyle() == bsSizeable || form->BorderStyle() == bsSizeToolWin) &&
           form->WindowState() != wsMaximized;
}

void TGwStatusBar::DrawSimpleStatusBorder(TRect& R) {
    if (Themed()) {
        ThemeServices()->DrawElement(Canvas()->Handle(), TThemeServices::GetElementDetails(tsPane), R);
        return;
    }
    if (VisualStyle() == vsGradient)
        return;
    if (FSimpleFrameStyle == fsFlat)
        DrawRoundedFlatBorder(Canvas(), R, AdjustColor(FlatColor(), FlatColorAdjustment()));
    else
        DrawBorderSides(Canvas(), R, FSimpleFrameStyle);
}

void TGwStatusBar::Paint() {
    if (Themed())
        PaintThemed();
    else
        PaintClassic();
    if (SizeGripActive()) {
        TRect g = ClientRect();
        --g.Bottom;
        PaintSizeGrip(g);
    }
}

void TGwStatusBar::PaintThemed() {
    TThemeServices* t = ThemeServices();
    t->DrawElement(Canvas()->Handle(), TThemeServices::GetElementDetails(tsStatusRoot),
                   TRect(0, 0, Width(), Height()));
    if (FSimpleStatus && !FSimpleCaption.empty())
        t->DrawText(Canvas()->Handle(), TThemeServices::GetElementDetails(tsPane), FSimpleCaption,
                    ClientRect(), DT_SINGLELINE | DT_VCENTER, 0);
}

void TGwStatusBar::PaintClassic() {
    TGwCustomPanel::Paint();
    TRect r = ClientRect();
    --r.Bottom;
    if (FSimpleStatus) {
        DrawSimpleStatusBorder(r);
        InflateRect(r, -1, -1);
        if (!FSimpleCaption.empty()) {
            TCanvas* c = Canvas();
            c->Font()->Assign(Font());
            c->Brush()->SetStyle(bsClear);
            c->TextOut(r.Left + 2, r.Top + (r.Height() - c->TextHeight("Pp")) / 2, FSimpleCaption);
        }
    }
}

void TGwStatusBar::PaintSizeGrip(const TRect& R) {
    if (Themed()) {
        ThemeServices()->DrawElement(Canvas()->Handle(), TThemeServices::GetElementDetails(tsGripper),
                                     TRect(R.Right - 20, R.Top, R.Right, R.Bottom));
        return;
    }
    TColor light = clBtnHighlight, dark = clBtnShadow;
    if (VisualStyle() == vsGradient) {
        const TGwStatusBarColors c = GetGradientStatusBarColors(GradientColorStyle());
        light = c.Start;
        dark = c.Stop;
    }
    const int r = R.Right - 1, b = R.Bottom;
    const TPoint dots[] = {{r - 4, b - 12}, {r - 4, b - 8}, {r - 4, b - 4},
                           {r - 8, b - 8},  {r - 8, b - 4}, {r - 12, b - 4}};
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsSolid);
    for (const TPoint& p : dots)
        for (int pass = 0; pass < 2; ++pass) {
            const TColor colour = pass == 0 ? light : dark;
            c->Pen()->SetColor(colour);
            c->Brush()->SetColor(colour);
            c->Rectangle(p.x - pass, p.y - pass, p.x - pass + 2, p.y - pass + 2);
        }
}

void TGwStatusBar::Resize() {
    TGwCustomPanel::Resize();
    const int w = Width();
    // Until a width is known there is nothing to scale from: record it and scale from the next.
    if (!FResizedOnce || FRecordedWidth == 0) {
        FResizedOnce = true;
        FRecordedWidth = w;
        return;
    }
    const int d = w - FRecordedWidth;
    if (AutoScalePanes && d != 0) {
        DisableAlign();
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            c->SetWidth(c->Width() + int(double(d) * c->Width() / FRecordedWidth));
        }
        EnableAlign();
    }
    FRecordedWidth = w;
}

void TGwStatusBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGwCustomPanel::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || ComponentState().Contains(csDesigning) || !SizeGripActive() ||
        !SizeGripRect().Contains(TPoint(X, Y)))
        return;
    ReleaseCapture();
    // Bottom-right sizing of the form.
    if (TCustomForm* form = GetParentForm(this))
        form->Perform(WM_SYSCOMMAND, SC_SIZE + 8, 0);
}

void TGwStatusBar::WndProc(TMessage& Message) {
    if (Message.Msg == WM_SETCURSOR && SizeGripActive()) {
        TPoint p;
        GetCursorPos(&p);
        if (SizeGripRect().Contains(ScreenToClient(p))) {
            SetCursor(Screen->Cursors(crSizeNWSE));
            Message.Result = 1;
            return;
        }
    }
    TGwCustomPanel::WndProc(Message);
}
