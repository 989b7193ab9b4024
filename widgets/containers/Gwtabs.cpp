// The tab engine and the collection tab control of the Gw widget library. Widget layer.
#include "Gwtabs.h"

#include <algorithm>

#include "Gwgrafx.h"
#include "messages.h"
#include "wingdi.h"

// ---- properties ----

#define GW_TAB_SETTER(Type, Name)                                                                            \
    void TGwCustomTabControl::Set##Name(Type Value) {                                                        \
        if (F##Name == Value)                                                                                \
            return;                                                                                          \
        F##Name = Value;                                                                                     \
        Rebuild();                                                                                           \
    }

GW_TAB_SETTER(bool, AlignTabs)
GW_TAB_SETTER(bool, AllowTabDragging)
GW_TAB_SETTER(bool, BoldCurrentTab)
GW_TAB_SETTER(bool, UseColoredTabs)
GW_TAB_SETTER(TColor, FlatColor)
GW_TAB_SETTER(int, FlatColorAdjustment)
GW_TAB_SETTER(TGwHorizontalAlignment, ImageAlignment)
GW_TAB_SETTER(TGwVerticalAlignment, ImageAlignmentVertical)
GW_TAB_SETTER(int, ImageMargin)
GW_TAB_SETTER(TGwImagePosition, ImagePosition)
GW_TAB_SETTER(bool, HotTrack)
GW_TAB_SETTER(TColor, HotTrackColor)
GW_TAB_SETTER(TGwHotTrackColorType, HotTrackColorType)
GW_TAB_SETTER(TGwTabHotTrackStyle, HotTrackStyle)
GW_TAB_SETTER(int, Margin)
GW_TAB_SETTER(bool, MultiLine)
GW_TAB_SETTER(int, RowIndent)
GW_TAB_SETTER(int, RowOverlap)
GW_TAB_SETTER(bool, ShowCard)
GW_TAB_SETTER(bool, ShowCardFrame)
GW_TAB_SETTER(bool, ShowFocusRect)
GW_TAB_SETTER(bool, ShowFullFrame)
GW_TAB_SETTER(bool, ShowShadow)
GW_TAB_SETTER(bool, SoftCorners)
GW_TAB_SETTER(int, TabOverlap)
GW_TAB_SETTER(bool, TabHints)
GW_TAB_SETTER(TGwTabOrientation, TabOrientation)
GW_TAB_SETTER(TGwTabSequence, TabSequence)
GW_TAB_SETTER(TGwTabStyle, TabStyle)
GW_TAB_SETTER(TGwHorizontalAlignment, TextAlignment)
GW_TAB_SETTER(TGwVerticalAlignment, TextAlignmentVertical)
GW_TAB_SETTER(bool, Transparent)
GW_TAB_SETTER(bool, UseGradients)
#undef GW_TAB_SETTER

// The list tells us when it goes, so no tab draws from a freed list.
void TGwCustomTabControl::SetImages(TImageList* Value) {
    if (Value == FImages)
        return;
    if (FImages) {
        FImages->RemoveFreeNotification(this);
        FImages->UnRegisterChanges(&FImageChangeLink);
    }
    FImages = Value;
    if (Value) {
        Value->FreeNotification(this);
        Value->RegisterChanges(&FImageChangeLink);
    }
    Rebuild();
}

void TGwCustomTabControl::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages)
        SetImages(nullptr);
}

void TGwCustomTabControl::SetCutCornerSize(int Value) {
    if (Value < 0 || Value == FCutCornerSize)
        return;
    FCutCornerSize = Value;
    if (FTabStyle == tsCutCorner)
        Rebuild();
}

void TGwCustomTabControl::SetTabWidth(int Value) {
    if (Value < 0 || Value == FTabWidth)
        return;
    FTabWidth = Value;
    Rebuild();
}

void TGwCustomTabControl::SetTabHeight(int Value) {
    if (Value < 0 || Value == TabHeight)
        return;
    TabHeight = Value;
    Rebuild();
}

// A bitmap font cannot turn, so vertical text falls back to a TrueType face.
void TGwCustomTabControl::SetTextOrientation(TOrientation Value) {
    if (Value == FTextOrientation)
        return;
    FTextOrientation = Value;
    if (Value == orVertical && Font()->Name() != "Verdana" && Font()->Name() != "Arial")
        Font()->SetName("Verdana");
    Rebuild();
}

void TGwCustomTabControl::SetBackgroundColor(TColor Value) {
    FParentBackgroundColor = false;
    if (Value == FBackgroundColor)
        return;
    FBackgroundColor = Value;
    Invalidate();
}

void TGwCustomTabControl::SetParentBackgroundColor(bool Value) {
    if (Value == FParentBackgroundColor)
        return;
    FParentBackgroundColor = Value;
    if (Value && Parent())
        FBackgroundColor = Parent()->Color();
    Invalidate();
}

void TGwCustomTabControl::SetShowCloseButton(bool Value) {
    if (Value == FShowCloseButton)
        return;
    FShowCloseButton = Value;
    Rebuild();
}

void TGwCustomTabControl::SetShowMenuButton(bool Value) {
    if (Value == FShowMenuButton)
        return;
    FShowMenuButton = Value;
    Rebuild();
}

void TGwCustomTabControl::SetTabRegionCacheSize(int Value) { FRegionCache.SetCapacity(Value); }

// ---- construction and events ----

TGwCustomTabControl::TGwCustomTabControl(TComponent* AOwner) : TCustomControl(AOwner) {
    SetTabStop(true);
    SetBounds(Left(), Top(), 300, 100);
    SetCalcNeeded(true);
    // Images added to or taken from the list change the tabs' extents.
    FImageChangeLink.OnChange = [this](TObject*) { Rebuild(); };
}

TGwCustomTabControl::~TGwCustomTabControl() = default;

void TGwCustomTabControl::SetCalcNeeded(bool Value) {
    FCalcNeeded = Value;
    if (Value)
        Invalidate();
}

void TGwCustomTabControl::Changing(int NewIndex, bool& AllowChange) {
    if (OnChanging)
        OnChanging(this, NewIndex, AllowChange);
}

void TGwCustomTabControl::Change() {
    if (OnChange)
        OnChange(this);
}

void TGwCustomTabControl::PageChange() {
    if (OnPageChange)
        OnPageChange(this);
}

void TGwCustomTabControl::TabClick() {
    if (OnTabClick)
        OnTabClick(this);
}

void TGwCustomTabControl::TabOrderChange(int OldIndex, int NewIndex) {
    if (OnTabOrderChange)
        OnTabOrderChange(this, OldIndex, NewIndex);
}

TColor TGwCustomTabControl::GetTextColor(int Index, TGwTextStyle Style, TColor Default) {
    bool handled = false;
    TColor c = Default;
    if (OnGetTextColor)
        OnGetTextColor(this, Index, Style, c, handled);
    return handled ? c : Default;
}

void TGwCustomTabControl::Rebuild() {
    if (FTabIndex >= TabCount())
        FTabIndex = TabCount() - 1;
    SetCalcNeeded(true);
}

bool TGwCustomTabControl::CanSelectTab(int Index) {
    if (Index < 0 || Index >= TabCount())
        return false;
    const TGwTabData& t = Tab(Index);
    if (!t.Visible || !t.Enabled)
        return false;
    bool allow = true;
    if (Index != FTabIndex)
        Changing(Index, allow);
    return allow;
}

bool TGwCustomTabControl::CanClose() {
    bool allow = false;
    if (OnClose)
        OnClose(this, allow);
    return allow;
}

void TGwCustomTabControl::CloseActiveTab() {
    if (FTabIndex >= 0 && CanClose())
        DestroyActiveTab();
}

void TGwCustomTabControl::SetTabIndex(int Value) {
    if (Value < 0 || Value >= TabCount()) {
        FTabIndex = -1;
        Invalidate();
        return;
    }
    if (Value != FTabIndex && !FKeyboardSelect && !CanSelectTab(Value))
        return;
    int old = FTabIndex;
    FTabIndex = Value;
    // A layout still to come brings the tab forward itself (and a control never shown measures nothing).
    if (!FCalcNeeded)
        ShowTab(Value);
    Invalidate();
    if (old != Value) {
        Change();
        PageChange();
    }
}

// ---- layout ----

int TGwCustomTabControl::GetTabOffset(int N) const {
    switch (FTabStyle) {
    case tsSingleSlant:
    case tsBackSlant: return N / 2;
    case tsDoubleSlant: return N;
    default: return FTabOverlap;
    }
}

void TGwCustomTabControl::ParseTextLines(const std::string& Text, std::vector<std::string>& Lines) {
    Lines.clear();
    size_t start = 0;
    for (;;) {
        size_t p = Text.find("\r\n", start);
        Lines.push_back(Text.substr(start, p == std::string::npos ? std::string::npos : p - start));
        if (p == std::string::npos)
            return;
        start = p + 2;
    }
}

void TGwCustomTabControl::SplitAccel(const std::string& Text, std::string& Before, std::string& Accel,
                                     std::string& After) {
    Before.clear();
    Accel.clear();
    After.clear();
    for (size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] != '&') {
            Before += Text[i];
            continue;
        }
        if (i + 1 < Text.size() && Text[i + 1] == '&') {
            Before += '&';
            ++i;
            continue;
        }
        if (i + 1 < Text.size()) {
            Accel = Text.substr(i + 1, 1);
            After = Text.substr(i + 2);
        }
        return;
    }
}

// Layout and paint ask for the same few captions many times over: each is measured once per font
// (any change to the control's font bumps its revision) and text orientation.
TSize TGwCustomTabControl::CalcTextExtent(const std::string& Text, bool Bold) {
    if (FExtentsFontRevision != Font()->Revision() || FExtentsVertical != VerticalText()) {
        FExtents[0].clear();
        FExtents[1].clear();
        FExtentsFontRevision = Font()->Revision();
        FExtentsVertical = VerticalText();
    }
    std::map<std::string, TSize>& known = FExtents[Bold ? 1 : 0];
    if (auto it = known.find(Text); it != known.end())
        return it->second;
    // Captions renamed again and again do not pile up.
    if (known.size() >= 256)
        known.clear();
    TCanvas* c = Canvas();
    c->Font()->Assign(*Font());
    if (Bold)
        c->Font()->SetStyle(c->Font()->Style() + TFontStyles{fsBold});
    std::vector<std::string> lines;
    ParseTextLines(Text, lines);
    TSize total{0, 0};
    for (const std::string& line : lines) {
        std::string a, b, r;
        SplitAccel(line, a, b, r);
        TSize s = c->TextExtent(a + b + r);
        if (VerticalText()) {
            total.cx += s.cy;
            total.cy = std::max(total.cy, static_cast<int>(s.cx));
        } else {
            total.cx = std::max(total.cx, static_cast<int>(s.cx));
            total.cy += s.cy;
        }
    }
    known.emplace(Text, total);
    return total;
}

TSize TGwCustomTabControl::DefaultFaceExtent() {
    TSize s = CalcTextExtent(FTabStyle == tsRoundCorners ? "AAA" : "A", FBoldCurrentTab);
    return s;
}

TSize TGwCustomTabControl::CalcFaceExtent(int Index) {
    const TGwTabData& t = Tab(Index);
    TSize text = CalcTextExtent(t.Caption, FBoldCurrentTab);
    TSize image{0, 0};
    if (FImages && (t.ImageIndex >= 0 || t.DisabledIndex >= 0))
        image = TSize{FImages->Width(), FImages->Height()};
    TSize face;
    switch (FImagePosition) {
    case ipLeft:
    case ipRight: face = TSize{FImageMargin + image.cx + text.cx, std::max(image.cy, text.cy)}; break;
    case ipTop:
    case ipBottom: face = TSize{std::max(image.cx, text.cx), FImageMargin + image.cy + text.cy}; break;
    case ipBack: face = TSize{std::max(image.cx, text.cx), std::max(image.cy, text.cy)}; break;
    default: face = text;
    }
    TSize def = DefaultFaceExtent();
    if (FTabWidth == 0)
        face.cx = std::max(face.cx, def.cx);
    if (TabHeight <= 0)
        face.cy = std::max(face.cy, def.cy);
    return face;
}

TSize TGwCustomTabControl::CalcTabExtentFromTabFaceExtent(TSize Face, bool KeepFixed) const {
    int w = Face.cx + 2, h = Face.cy + 2;
    int th = std::max(0, TabHeight);
    int s = FCutCornerSize;
    bool v = Vertical(), vt = FTextOrientation == orVertical;
    TSize e;
    switch (FTabStyle) {
    case tsSingleSlant:
    case tsBackSlant:
        e = v ? TSize{w + 4, 2 * GetTabOffset(w + 4) + h + 4 + th / 2}
              : TSize{2 * GetTabOffset(h + 4) + w + 4 + th / 2, h + 4};
        break;
    case tsDoubleSlant:
        e = v ? TSize{w + 4, 2 * GetTabOffset(w) + h + 4 + th}
              : TSize{2 * GetTabOffset(h) + w + 4 + th, h + 4};
        break;
    case tsCutCorner:
        if (!v)
            e = vt ? TSize{w + 8, h + s + 5} : TSize{w + 2 * s + 6, h + 5};
        else
            e = vt ? TSize{w + 5, h + 2 * s + 6} : TSize{w + s + 5, h + 8};
        break;
    case tsRoundCorners: e = vt ? TSize{w + 4, h + 14} : TSize{w + 14, h + 4}; break;
    }
    if (!KeepFixed)
        return e;
    if (FTabWidth > 0)
        e.cx = FTabWidth;
    if (th > 0)
        e.cy = th;
    return e;
}

// The slants are as deep as the row is high, so a tab lower than its row (a short caption beside a
// long one on side tabs) is lengthened by what its deeper slants take, and its face stays whole.
int TGwCustomTabControl::TabLength(int Index) {
    TSize face = CalcFaceExtent(Index);
    TSize e = CalcTabExtentFromTabFaceExtent(face);
    bool slanted = FTabStyle == tsSingleSlant || FTabStyle == tsBackSlant || FTabStyle == tsDoubleSlant;
    if (!slanted)
        return AlongRow(e);
    int across = AcrossRow(e);
    int need = AlongRow(CalcTabExtentFromTabFaceExtent(face, false));
    if (FRowHeight > across)
        need += 2 * (GetTabOffset(FRowHeight) - GetTabOffset(across));
    bool fixed = Vertical() ? TabHeight > 0 : FTabWidth > 0;
    if (!fixed)
        return need;
    // A fixed length stays, except on side tabs with horizontal text: there the slants run as deep
    // as the longest caption and would leave no room for the face.
    return Vertical() && !VerticalText() ? std::max(AlongRow(e), need) : AlongRow(e);
}

// The face is centred between the straight edge and the middle of the slant, then moved away from
// the slant as far as its outer corner needs: on side tabs with horizontal text the slant runs as
// deep as the caption is long, and a face centred in the whole tab falls under it.
TRect TGwCustomTabControl::CalcTabFaceRect(int Index) {
    TRect t = CalcTabRect(Index);
    int h = t.Height();
    TSize face = CalcFaceExtent(Index);
    int dy = std::max(0, (h - AcrossRow(face)) / 2);
    int left = t.Left, right = t.Right;
    if (FTabStyle == tsSingleSlant)
        right -= h / 2;
    else if (FTabStyle == tsBackSlant)
        left += h / 2;
    int dx = std::max(0, (right - left - AlongRow(face)) / 2);
    int a = left + dx, b = right - dx;
    if (FTabStyle == tsSingleSlant && b > t.Right - h + dy) {
        int shift = std::min(b - (t.Right - h + dy), std::max(0, a - t.Left));
        a -= shift;
        b -= shift;
    } else if (FTabStyle == tsBackSlant && a < t.Left + h - dy) {
        int shift = std::min(t.Left + h - dy - a, std::max(0, t.Right - b));
        a += shift;
        b += shift;
    }
    return CalcMapRect({a, t.Top + dy, b, t.Bottom - dy});
}

int TGwCustomTabControl::FirstVisible() const {
    for (int i = 0; i < FTabList.GetCount(); ++i)
        if (FTabList.GetItem(i)->Visible)
            return i;
    return -1;
}

int TGwCustomTabControl::LastVisible() const {
    for (int i = FTabList.GetCount() - 1; i >= 0; --i)
        if (FTabList.GetItem(i)->Visible)
            return i;
    return -1;
}

int TGwCustomTabControl::IndexWidth() { return Vertical() ? Height() : Width(); }

int TGwCustomTabControl::IndexHeight() {
    if (!FShowCard) {
        int h = (Vertical() ? Width() : Height()) - 1;
        if (FTabStyle == tsRoundCorners && (FTabOrientation == toBottom || FTabOrientation == toRight))
            --h;
        return h;
    }
    return (FTabStyle == tsRoundCorners ? 3 : 0) + (FRowHeight - FRowOverlap) * (FRowExtent - 1) + FRowHeight;
}

TRect TGwCustomTabControl::GetIndexRect() {
    CheckCalcNeeded();
    int w = Width(), h = Height(), ih = IndexHeight();
    switch (FTabOrientation) {
    case toTop: return {0, 0, w, ih};
    case toBottom: return {0, h - ih, w, h};
    case toLeft: return {0, 0, ih, h};
    default: return {w - ih, 0, w, h};
    }
}

int TGwCustomTabControl::RowExtent() {
    CheckCalcNeeded();
    return FRowExtent;
}

int TGwCustomTabControl::RowHeight() {
    CheckCalcNeeded();
    return FRowHeight;
}

bool TGwCustomTabControl::ScrollerNeeded() {
    CheckCalcNeeded();
    return FScrollerNeeded;
}

void TGwCustomTabControl::CheckCalcNeeded() {
    if (!FCalcNeeded && FCalcTabHeight == TabHeight && FCalcWidth == Width() && FCalcHeight == Height())
        return;
    FCalcNeeded = false;
    FCalcTabHeight = TabHeight;
    FCalcWidth = Width();
    FCalcHeight = Height();
    CalcMetrics();
    FRegionCache.Clear();
    CalcScrollerNeeded();
    if (!FScrollerNeeded) {
        FFirstIndex = std::max(0, FirstVisible());
    } else {
        int old = FFirstIndex;
        int i = std::max(0, old);
        while (i < TabCount() && !TabInView(i))
            ++i;
        if (i >= TabCount()) {
            i = std::min(old, TabCount()) - 1;
            while (i >= 0 && !TabInView(i))
                --i;
        }
        FFirstIndex = i >= 0 ? i : std::max(0, FirstVisible());
    }
    int old = FTabIndex;
    ValidateSelection();
    if (FTabIndex != old) {
        int valid = FTabIndex;
        FTabIndex = old;
        FKeyboardSelect = true;
        SetTabIndex(valid);
        FKeyboardSelect = false;
    }
    if (FTabIndex >= 0)
        ShowTab(FTabIndex);
    // The card follows the tabs (rows, widths): the controls on it are laid out in it anew.
    if (ControlCount() > 0)
        Realign();
}

// Brings the tab's row to the front, or scrolls the row until the tab is in view.
void TGwCustomTabControl::ShowTab(int Index) {
    if (!FScrollerNeeded) {
        BringTabToFrontRow(Index);
    } else if (Index < FFirstIndex) {
        FFirstIndex = Index;
    } else {
        while (FFirstIndex < Index && !TabInView(Index))
            ++FFirstIndex;
    }
    FRegionCache.Clear();
}

// Moves the selection off a tab that can no longer be selected, forward first, then backward.
void TGwCustomTabControl::ValidateSelection() {
    int n = TabCount();
    if (FTabIndex < 0 || FirstVisible() < 0) {
        FTabIndex = FirstVisible() < 0 ? -1 : FTabIndex;
        return;
    }
    auto selectable = [&](int i) { return Tab(i).Visible && Tab(i).Enabled; };
    int i = FTabIndex;
    while (i < n && !selectable(i))
        ++i;
    if (i >= n) {
        i = std::min(FTabIndex, n - 1);
        while (i >= 0 && !selectable(i))
            --i;
    }
    FTabIndex = i;
}

void TGwCustomTabControl::CalcMetrics() {
    FRowExtent = 1;
    TSize maxFace = DefaultFaceExtent();
    if (FTabWidth > 0)
        maxFace.cx = 0;
    if (TabHeight > 0)
        maxFace.cy = 0;
    for (int i = 0; i < TabCount(); ++i) {
        if (!Tab(i).Visible)
            continue;
        TSize f = CalcFaceExtent(i);
        maxFace.cx = std::max(maxFace.cx, f.cx);
        maxFace.cy = std::max(maxFace.cy, f.cy);
    }
    FRowHeight = AcrossRow(CalcTabExtentFromTabFaceExtent(maxFace));
    int iw = IndexWidth();
    if (FMultiLine)
        FRowExtent = CalcRowCount(iw);
    PlaceTabs(iw);
    if (FMultiLine && FAlignTabs && (Vertical() ? TabHeight <= 0 : FTabWidth == 0))
        JustifyRows(iw);
}

int TGwCustomTabControl::CalcRowCount(int IndexWidth) {
    int off = GetTabOffset(FRowHeight);
    int rows = 1;
    int full = IndexWidth - 2 * FMargin;
    // Each trial adds a row; a tab alone at a row start always stays, so rows never exceed the tabs.
    for (int trial = 0; trial <= TabCount(); ++trial) {
        int w = full - (rows - 1) * FRowIndent;
        int limit = FTabStyle == tsRoundCorners ? w - 4 : w;
        int row = 0, x = FMargin;
        bool fits = true;
        for (int i = 0; i < TabCount() && fits; ++i) {
            if (!Tab(i).Visible)
                continue;
            int tw = std::min(TabLength(i), std::max(0, limit));
            if (x + tw >= w && x != FMargin) {
                if (row + 1 < rows) {
                    ++row;
                    x = FMargin;
                } else {
                    fits = false;
                    break;
                }
            }
            x += tw - off + 1;
        }
        if (fits)
            return rows;
        ++rows;
    }
    return rows;
}

void TGwCustomTabControl::PlaceTabs(int IndexWidth) {
    int off = GetTabOffset(FRowHeight);
    int w = IndexWidth - 2 * FMargin - (FMultiLine ? (FRowExtent - 1) * FRowIndent : 0);
    int limit = FTabStyle == tsRoundCorners ? w - 4 : w;
    int ih = IndexHeight();
    int y = ih - FRowHeight, row = 0;
    bool rev = FTabSequence == tsReverse;
    int x = rev ? -FMargin : FMargin;
    int minLeft = 0;
    for (int i = 0; i < TabCount(); ++i) {
        TGwTabData* t = FTabList.GetItem(i);
        if (!t->Visible) {
            t->Rect = {};
            t->Row = 0;
            continue;
        }
        int tw = TabLength(i);
        if (FMultiLine) {
            tw = std::min(tw, std::max(0, limit));
            int used = rev ? -x : x;
            if (used + tw >= w && used != FMargin && row + 1 < FRowExtent) {
                y -= FRowHeight - FRowOverlap;
                ++row;
                x = rev ? -FMargin : FMargin;
            }
        }
        t->Rect = rev ? TRect{x - tw, y, x, y + FRowHeight} : TRect{x, y, x + tw, y + FRowHeight};
        t->Row = row;
        minLeft = std::min(minLeft, static_cast<int>(t->Rect.Left));
        x += rev ? -(tw - off + 1) : tw - off + 1;
    }
    if (rev) {
        int shift = FMultiLine ? IndexWidth : -minLeft;
        for (int i = 0; i < TabCount(); ++i)
            if (Tab(i).Visible)
                OffsetRect(FTabList.GetItem(i)->Rect, shift, 0);
    }
}

void TGwCustomTabControl::JustifyRows(int IndexWidth) {
    bool rev = FTabSequence == tsReverse;
    for (int row = 0; row < FRowExtent; ++row) {
        std::vector<TGwTabData*> tabs;
        for (int i = 0; i < TabCount(); ++i)
            if (Tab(i).Visible && Tab(i).Row == row)
                tabs.push_back(FTabList.GetItem(i));
        if (tabs.empty())
            continue;
        int span = rev ? tabs.front()->Rect.Right - tabs.back()->Rect.Left
                       : tabs.back()->Rect.Right - tabs.front()->Rect.Left;
        int free = IndexWidth - 2 * FMargin - (FRowExtent - 1) * FRowIndent - span -
                   (FTabStyle == tsRoundCorners ? 4 : 0);
        if (free <= 0)
            continue;
        int n = static_cast<int>(tabs.size()), gained = 0;
        for (int k = 0; k < n; ++k) {
            int more = free / n + (k < free % n ? 1 : 0);
            TRect& r = tabs[static_cast<size_t>(k)]->Rect;
            if (rev) {
                OffsetRect(r, -gained, 0);
                r.Left -= more;
            } else {
                OffsetRect(r, gained, 0);
                r.Right += more;
            }
            gained += more;
        }
    }
}

void TGwCustomTabControl::BringTabToFrontRow(int Index) {
    if (!FMultiLine || Index < 0 || Index >= TabCount() || !Tab(Index).Visible)
        return;
    int rows = 0;
    for (int i = 0; i < TabCount(); ++i)
        if (Tab(i).Visible)
            rows = std::max(rows, Tab(i).Row + 1);
    int r = Tab(Index).Row;
    if (r == 0 || rows == 0)
        return;
    std::vector<std::pair<int, int>> extent(static_cast<size_t>(rows), {0, 0});
    std::vector<bool> met(static_cast<size_t>(rows), false);
    for (int i = 0; i < TabCount(); ++i) {
        const TGwTabData& t = Tab(i);
        if (t.Visible && !met[static_cast<size_t>(t.Row)]) {
            met[static_cast<size_t>(t.Row)] = true;
            extent[static_cast<size_t>(t.Row)] = {t.Rect.Top, t.Rect.Bottom};
        }
    }
    for (int i = 0; i < TabCount(); ++i) {
        TGwTabData* t = FTabList.GetItem(i);
        if (!t->Visible)
            continue;
        t->Row = (t->Row + (rows - r) % rows) % rows;
        t->Rect.Top = extent[static_cast<size_t>(t->Row)].first;
        t->Rect.Bottom = extent[static_cast<size_t>(t->Row)].second;
    }
    FRegionCache.Clear();
}

int TGwCustomTabControl::ScrollerSize() {
    int s = CalcTextExtent("A", false).cy + (VerticalText() ? 2 : 4);
    bool grow = Vertical() ? (VerticalText() && FTabWidth > 0) : (!VerticalText() && TabHeight > 0);
    return grow ? std::max(s, FRowHeight - 2) : std::min(s, FRowHeight - 2);
}

int TGwCustomTabControl::CloseButtonSpace() {
    return FShowCloseButton && TabCount() > 0 ? ScrollerSize() + 2 : 0;
}

int TGwCustomTabControl::MenuButtonSpace() {
    return FShowMenuButton && TabCount() > 0 ? ScrollerSize() + 2 : 0;
}

void TGwCustomTabControl::CalcScrollerNeeded() {
    FScrollerNeeded = false;
    int first = FirstVisible(), last = LastVisible();
    if (FMultiLine || first < 0)
        return;
    int a = IndexWidth() - 2 * FMargin - CloseButtonSpace() - MenuButtonSpace();
    FScrollerNeeded = FTabSequence == tsStandard ? Tab(last).Rect.Right > a : Tab(first).Rect.Right > a;
}

int TGwCustomTabControl::GetInitialTabOffset() {
    if (FFirstIndex < 0 || FFirstIndex >= TabCount())
        return 0;
    int m = FMargin + (FTabStyle == tsRoundCorners ? 2 : 0);
    const TRect& r = Tab(FFirstIndex).Rect;
    return FTabSequence == tsStandard ? r.Left - m : r.Right + m;
}

bool TGwCustomTabControl::TabInView(int Index) {
    CheckCalcNeeded();
    if (Index < 0 || Index >= TabCount() || !Tab(Index).Visible)
        return false;
    if (!FScrollerNeeded)
        return true;
    int b = IndexWidth() - 2 * ScrollerSize() - 2 * FMargin - CloseButtonSpace() - MenuButtonSpace();
    int o = GetInitialTabOffset();
    const TRect& r = Tab(Index).Rect;
    if (FTabSequence == tsStandard)
        return r.Left >= o && r.Right - o <= b;
    return r.Right <= o && o - r.Left <= b;
}

void TGwCustomTabControl::ScrollTabs(bool Right) {
    CheckCalcNeeded();
    int old = FFirstIndex;
    if (Right) {
        if (FFirstIndex >= TabCount() - 1 || TabInView(LastVisible()))
            return;
        do
            ++FFirstIndex;
        while (FFirstIndex < TabCount() && !TabInView(FFirstIndex));
        if (FFirstIndex >= TabCount())
            FFirstIndex = old;
    } else {
        if (FFirstIndex <= 0 || TabInView(FirstVisible()))
            return;
        do
            --FFirstIndex;
        while (FFirstIndex >= 0 && !TabInView(FFirstIndex));
        if (FFirstIndex < 0)
            FFirstIndex = old;
    }
    if (FFirstIndex != old) {
        FRegionCache.Clear();
        Invalidate();
    }
}

TPoint TGwCustomTabControl::CalcMapPoint(TPoint P) {
    TRect ir = GetIndexRect();
    int o = GetInitialTabOffset();
    int x = P.x, y = P.y;
    bool rev = FTabSequence == tsReverse;
    switch (FTabOrientation) {
    case toTop: return rev ? TPoint{ir.Right - (o - x), y + ir.Top} : TPoint{x - o + ir.Left, y + ir.Top};
    case toLeft:
        return rev ? TPoint{y + ir.Left, (o - x) + ir.Top} : TPoint{y + ir.Left, ir.Bottom - (x - o)};
    case toBottom:
        return rev ? TPoint{ir.Right - (o - x), ir.Bottom - y} : TPoint{x - o + ir.Left, ir.Bottom - y};
    default: return rev ? TPoint{ir.Right - y, ir.Bottom - (o - x)} : TPoint{ir.Right - y, x - o + ir.Top};
    }
}

TRect TGwCustomTabControl::CalcMapRect(const TRect& R) {
    TPoint a = CalcMapPoint({R.Left, R.Top}), b = CalcMapPoint({R.Right, R.Bottom});
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

TRect TGwCustomTabControl::CalcTabRect(int Index) {
    TRect r = Tab(Index).Rect;
    int shift = Tab(Index).Row * FRowIndent;
    OffsetRect(r, FTabSequence == tsReverse ? -shift : shift, 0);
    if (FTabStyle == tsRoundCorners && Index == FTabIndex) {
        r.Left -= 2;
        r.Right += 2;
        r.Top -= 2;
    }
    return r;
}

TRect TGwCustomTabControl::TabRect(int Index) {
    CheckCalcNeeded();
    if (Index < 0 || Index >= TabCount() || !Tab(Index).Visible)
        return {};
    return CalcMapRect(CalcTabRect(Index));
}

std::vector<TPoint> TGwCustomTabControl::CalcMappedTabRegionPts(int Index) {
    CheckCalcNeeded();
    if (Index < 0 || Index >= TabCount() || !Tab(Index).Visible)
        return {};
    TRect r = CalcTabRect(Index);
    int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom, h = B - T, s = FCutCornerSize;
    std::vector<TPoint> p;
    switch (FTabStyle) {
    case tsSingleSlant:
        p = FSoftCorners ? std::vector<TPoint>{{L, B},         {L, T + 2},         {L + 2, T},
                                               {R - h - 4, T}, {R - h + 2, T + 2}, {R, B}}
                         : std::vector<TPoint>{{L, B}, {L, T + 2}, {L + 2, T}, {R - h, T}, {R, B}};
        break;
    case tsDoubleSlant:
        p = FSoftCorners ? std::vector<TPoint>{{L, B},         {L + h - 2, T + 2}, {L + h + 4, T},
                                               {R - h - 4, T}, {R - h + 2, T + 2}, {R, B}}
                         : std::vector<TPoint>{{L, B}, {L + h, T}, {R - h, T}, {R, B}};
        break;
    case tsCutCorner: p = {{L, B}, {L, T}, {R - s, T}, {R, T + s}, {R, B}}; break;
    case tsRoundCorners: p = {{L, B}, {L, T + 2}, {L + 2, T}, {R - 2, T}, {R, T + 2}, {R, B}}; break;
    case tsBackSlant:
        p = FSoftCorners ? std::vector<TPoint>{{L, B},     {L + h - 2, T + 2}, {L + h + 4, T},
                                               {R - 2, T}, {R, T + 2},         {R, B}}
                         : std::vector<TPoint>{{L, B}, {L + h, T}, {R - 2, T}, {R, T + 2}, {R, B}};
        break;
    }
    for (TPoint& q : p)
        q = CalcMapPoint(q);
    return p;
}

HRGN TGwCustomTabControl::CalcTabRegion(int Index, const TRect& Mapped) {
    if (HRGN r = FRegionCache.Find(Mapped))
        return r;
    std::vector<TPoint> pts = CalcMappedTabRegionPts(Index);
    if (pts.size() <= 2)
        return nullptr;
    HRGN r = CreatePolygonRgn(pts.data(), static_cast<int>(pts.size()));
    if (!r)
        throw EGwTabControlError(SGwTabCreateRegion);
    FRegionCache.Add(Mapped, r);
    return r;
}

int TGwCustomTabControl::TabAtPos(int X, int Y) {
    CheckCalcNeeded();
    int n = TabCount();
    if (n == 0)
        return -1;
    auto hit = [&](int i) {
        if (i < 0 || i >= n || !TabInView(i))
            return false;
        TRect m = CalcMapRect(CalcTabRect(i));
        if (X < m.Left || X >= m.Right || Y < m.Top || Y >= m.Bottom)
            return false;
        HRGN r = CalcTabRegion(i, m);
        return r && PtInRegion(r, X, Y);
    };
    if (hit(FTabIndex))
        return FTabIndex;
    int start = std::clamp(FFirstIndex, 0, n - 1);
    for (int k = 0; k < n; ++k) {
        int i = (start + k) % n;
        if (i != FTabIndex && hit(i))
            return i;
    }
    return -1;
}

TRect TGwCustomTabControl::CalcMappedCardRect(int Row) {
    CheckCalcNeeded();
    TRect whole = ClientRect();
    if (TabCount() == 0 && FShowCard)
        return whole;
    int d = (FRowHeight - FRowOverlap) * Row;
    int tabSide = IndexHeight() - d, far = d;
    int startShift = FRowIndent * Row, endShift = FRowIndent * (FRowExtent - Row - 1);
    if (FTabSequence == tsReverse)
        std::swap(startShift, endShift);
    TRect r = whole;
    if (!FShowCard) {
        // Reaches past the edges away from the tabs so only the tab-side edge shows.
        far = -3;
        startShift = endShift = -3;
    }
    switch (FTabOrientation) {
    case toTop: r = {r.Left + startShift, r.Top + tabSide, r.Right - endShift, r.Bottom - far}; break;
    case toBottom: r = {r.Left + startShift, r.Top + far, r.Right - endShift, r.Bottom - tabSide}; break;
    case toLeft: r = {r.Left + tabSide, r.Top + endShift, r.Right - far, r.Bottom - startShift}; break;
    case toRight: r = {r.Left + far, r.Top + startShift, r.Right - tabSide, r.Bottom - endShift}; break;
    }
    if (r.Right <= r.Left || r.Bottom <= r.Top)
        return {};
    return r;
}

TRect TGwCustomTabControl::GetDisplayRect() {
    if (!FShowCard)
        return {};
    TRect r = CalcMappedCardRect(0);
    if (r.Width() == 0)
        return r;
    if (FShowCardFrame && FShowFullFrame) {
        r.Left += 1;
        r.Top += 1;
        bool shadow = FTabOrientation == toTop && FTabSequence == tsStandard && FShowShadow;
        r.Right -= shadow ? 2 : 1;
        r.Bottom -= shadow ? 2 : 1;
    } else if (FShowCardFrame) {
        switch (FTabOrientation) {
        case toTop: r.Top += 1; break;
        case toBottom: r.Bottom -= 1; break;
        case toLeft: r.Left += 1; break;
        case toRight: r.Right -= 1; break;
        }
    }
    return r;
}

// Without child controls there is nothing to lay out in the card: a control being made (sized before
// it has its parent's font) measures nothing yet.
void TGwCustomTabControl::AdjustClientRect(TRect& Rect) {
    if (ControlCount() > 0)
        Rect = GetDisplayRect();
}

void TGwCustomTabControl::WMSize(TWMSize& Message) {
    TCustomControl::WMSize(Message);
    Rebuild();
}

void TGwCustomTabControl::WMGetDlgCode(TMessage& Message) { Message.Result = DLGC_WANTARROWS; }

// ---- input ----

void TGwCustomTabControl::SelectFromKeyboard(int Index) {
    FKeyboardSelect = true;
    SetTabIndex(Index);
    FKeyboardSelect = false;
    TabClick();
}

void TGwCustomTabControl::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    StepByKey(Key);
}

void TGwCustomTabControl::StepByKey(WORD Key) {
    int n = TabCount();
    if (n == 0)
        return;
    bool rev = FTabSequence == tsReverse;
    bool left = FTabOrientation == toLeft;
    if (Key == VK_HOME || Key == VK_END) {
        bool toFirst = (Key == VK_HOME) != ((left && !rev) || (!left && rev));
        int step = toFirst ? 1 : -1;
        for (int i = toFirst ? 0 : n - 1; i >= 0 && i < n && i != FTabIndex; i += step)
            if (CanSelectTab(i)) {
                SelectFromKeyboard(i);
                return;
            }
        return;
    }
    bool forwardKey;
    if (Key == VK_LEFT || Key == VK_UP)
        forwardKey = left ? !rev : rev;
    else if (Key == VK_RIGHT || Key == VK_DOWN)
        forwardKey = left ? rev : !rev;
    else
        return;
    int i = FTabIndex;
    for (int k = 0; k < n; ++k) {
        i = forwardKey ? (i + 1) % n : (i <= 0 ? n - 1 : i - 1);
        if (i == FTabIndex)
            return;
        if (CanSelectTab(i)) {
            SelectFromKeyboard(i);
            return;
        }
    }
}

TGwCustomTabControl::TGwTabButton TGwCustomTabControl::ButtonAtPos(int X, int Y) {
    auto in = [&](const TRect& r) { return X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom; };
    if (ScrollerNeeded())
        for (TGwTabButton b : {tbScrollBack, tbScrollOn})
            if (in(ScrollerRect(b)))
                return b;
    if (CloseButtonSpace() > 0 && in(CloseButtonRect()))
        return tbClose;
    if (MenuButtonSpace() > 0 && in(MenuButtonRect()))
        return tbMenu;
    return tbNone;
}

// A button acts on release over it; a held scroller arrow also repeats.
void TGwCustomTabControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    FPressedIndex = -1;
    if (!Enabled())
        return;
    if (TGwTabButton b = ButtonAtPos(X, Y); b != tbNone) {
        FButtonPressed = b;
        FButtonInside = true;
        SetMouseCapture(true);
        if (b == tbScrollBack || b == tbScrollOn) {
            if (!FRepeatTimer) {
                FRepeatTimer = new TTimer(this);
                FRepeatTimer->OnTimer = [this](TObject*) { RepeatTimerExpired(); };
            }
            FRepeatTimer->SetInterval(400);
            FRepeatTimer->SetEnabled(true);
        }
        Invalidate();
        return;
    }
    int i = TabAtPos(X, Y);
    if (i < 0 || !Tab(i).Enabled)
        return;
    if (TabStop() && i == FTabIndex && CanFocus()) {
        SetFocus();
        if (!Focused())
            return;
    }
    SetTabIndex(i);
    if (FTabIndex == i)
        TabClick();
    FPressedIndex = i;
}

void TGwCustomTabControl::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (FButtonPressed != tbNone) {
        bool inside = ButtonAtPos(X, Y) == FButtonPressed;
        if (inside != FButtonInside) {
            FButtonInside = inside;
            Invalidate();
        }
        return;
    }
    int i = TabAtPos(X, Y);
    if (i != FHotIndex) {
        FHotIndex = i;
        if (FHotTrack)
            Invalidate();
        if (FTabHints)
            SetHint(i >= 0 ? Tab(i).Hint : std::string());
    }
    if (Shift.Contains(ssLeft) && FAllowTabDragging && FPressedIndex >= 0 && FPressedIndex == FTabIndex &&
        !Dragging())
        BeginDrag(false);
}

// A click on a button acts once, on release and only when released over the same button.
void TGwCustomTabControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    FPressedIndex = -1;
    if (FButtonPressed == tbNone)
        return;
    TGwTabButton b = FButtonPressed;
    bool inside = FButtonInside;
    FButtonPressed = tbNone;
    FButtonInside = false;
    if (FRepeatTimer)
        FRepeatTimer->SetEnabled(false);
    SetMouseCapture(false);
    Invalidate();
    if (!inside)
        return;
    switch (b) {
    case tbScrollBack:
    case tbScrollOn: ScrollTabs(b == tbScrollOn); break;
    case tbClose: CloseActiveTab(); break;
    case tbMenu: DisplayMenu(); break;
    default: break;
    }
}

void TGwCustomTabControl::RepeatTimerExpired() {
    if (FRepeatTimer)
        FRepeatTimer->SetInterval(100);
    if ((FButtonPressed == tbScrollBack || FButtonPressed == tbScrollOn) && FButtonInside)
        ScrollTabs(FButtonPressed == tbScrollOn);
}

unsigned TGwCustomTabControl::RepeatInterval() const {
    return FRepeatTimer && FRepeatTimer->Enabled() ? FRepeatTimer->Interval() : 0;
}

void TGwCustomTabControl::CMDialogChar(TWMKey& Message) {
    if (SelectByAccel(static_cast<char>(Message.CharCode)))
        Message.Result = 1;
    else
        TCustomControl::CMDialogChar(Message);
}

bool TGwCustomTabControl::SelectByAccel(char key) {
    for (int i = 0; i < TabCount(); ++i) {
        const TGwTabData& t = Tab(i);
        std::string a, accel, r;
        SplitAccel(t.Caption, a, accel, r);
        if (!t.Visible || !t.Enabled || accel.empty() ||
            AnsiUpperCase(accel) != AnsiUpperCase(std::string(1, key)))
            continue;
        if (CanFocus()) {
            SetFocus();
            if (!Focused())
                return true; // the focus was refused elsewhere: the key is used up, nothing selected
        }
        SetTabIndex(i);
        if (FTabIndex == i)
            TabClick();
        return true;
    }
    return false;
}
