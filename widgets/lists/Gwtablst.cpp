// The Gw tabbed list box: item fields lined up at tab stops set by hand, computed from the widest
// field of each column, or taken from a header control. Widget layer, lists.
#include <cmath>

#include "Gwlstbox.h"
#include "Gwscreendc.h"
#include "Gwutils.h"
#include "headerctrls.h"

namespace {

// The fields of a text between its tab characters.
std::vector<std::string> SplitFields(const std::string& S) {
    std::vector<std::string> fields(1);
    for (char ch : S)
        if (ch == '\t')
            fields.emplace_back();
        else
            fields.back() += ch;
    return fields;
}

std::string JoinFields(const std::vector<std::string>& Fields) {
    std::string s;
    for (size_t i = 0; i < Fields.size(); ++i)
        s += (i ? "\t" : "") + Fields[i];
    return s;
}

} // namespace

// ---- TGwTabStopList -----------------------------------------------------------------------------

TGwTabStopList::TGwTabStopList(TGwCustomTabbedListBox* Owner) : FOwner(Owner) {
    SetMin(-2147483647);
    SetMax(2147483647);
}

void TGwTabStopList::Changed() {
    if (FOwner)
        FOwner->UpdateTabStops();
}

void TGwTabStopList::SetItem(int Index, int Value) {
    TGwIntegerList::SetItem(Index, Value);
    Changed();
}

int TGwTabStopList::Add(int Value) {
    const int index = TGwIntegerList::Add(Value);
    Changed();
    return index;
}

void TGwTabStopList::Delete(int Index) {
    TGwIntegerList::Delete(Index);
    Changed();
}

void TGwTabStopList::Insert(int Index, int Value) {
    TGwIntegerList::Insert(Index, Value);
    Changed();
}

// ---- TGwCustomTabbedListBox ---------------------------------------------------------------------

TGwCustomTabbedListBox::TGwCustomTabbedListBox(TComponent* AOwner)
    : TGwCustomListBox(AOwner), FTabStops(std::make_unique<TGwTabStopList>(this)) {
    ShowItemHints = false;
}

TGwCustomTabbedListBox::~TGwCustomTabbedListBox() = default;

void TGwCustomTabbedListBox::SetTabStops(const TGwIntegerList* Value) {
    TGwIntegerList copy;
    copy.Assign(const_cast<TGwIntegerList*>(Value));
    FTabStops->TGwIntegerList::Assign(&copy);
    UpdateTabStops();
}

void TGwCustomTabbedListBox::SetTabStopsMode(TGwTabStopsMode Value) {
    if (Value == FTabStopsMode)
        return;
    FTabStopsMode = Value;
    if (Value == tsmAutomatic)
        AdjustTabStops();
}

void TGwCustomTabbedListBox::GetTabArray(int& Count, int* Array) const {
    Count = Min(FTabStops->Count(), MaxTabStops);
    for (int i = 0; i < Count; ++i)
        Array[i] = FTabStops->Items(i) * 4;
}

void TGwCustomTabbedListBox::UpdateTabStops() {
    std::vector<int> stops(MaxTabStops);
    int count = 0;
    GetTabArray(count, stops.data());
    Perform(LB_SETTABSTOPS, WPARAM(count), count ? reinterpret_cast<LPARAM>(stops.data()) : 0);
    Invalidate();
}

std::vector<int> TGwCustomTabbedListBox::PixelStops() const {
    std::vector<int> stops(MaxTabStops);
    int count = 0;
    GetTabArray(count, stops.data());
    stops.resize(size_t(count));
    for (int& stop : stops)
        stop = int(std::lround(double(stop) * FAvgCharWidth / 4));
    return stops;
}

std::string TGwCustomTabbedListBox::GetCellText(int Column, int Row) const {
    if (Row < 0 || Row >= Count())
        throw EListError("Row parameter out of range");
    const std::vector<std::string> fields = SplitFields(Items()->Get(Row));
    if (Column < 0 || Column >= int(fields.size()))
        throw EListError("Column parameter out of range");
    return fields[size_t(Column)];
}

void TGwCustomTabbedListBox::SetCellText(int Column, int Row, const std::string& Text) {
    if (Row < 0 || Row >= Count())
        throw EListError("Row parameter out of range");
    std::vector<std::string> fields = SplitFields(Items()->Get(Row));
    if (Column < 0 || Column >= int(fields.size()))
        throw EListError("Column parameter out of range");
    fields[size_t(Column)] = Text;
    Items()->Put(Row, JoinFields(fields));
}

void TGwCustomTabbedListBox::AdjustTabStops() {
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying))
        return;
    FTabStops->Clear();
    std::vector<std::string> rest;
    std::vector<bool> groups;
    size_t columns = 0;
    for (int i = 0; i < Count(); ++i) {
        rest.push_back(Items()->Get(i));
        groups.push_back(GetItemIsGroup(i));
        columns = std::max(columns, size_t(CountChar('\t', rest.back())));
    }
    TScreenDC itemDC(Font());
    TScreenDC groupDC(GroupFont());
    int last = 0;
    std::vector<int> stops;
    for (size_t column = 0; column < columns; ++column) {
        int widest = 0;
        for (size_t i = 0; i < rest.size(); ++i) {
            const size_t tab = rest[i].find('\t');
            std::string field = rest[i].substr(0, tab);
            rest[i] = tab == std::string::npos ? std::string() : rest[i].substr(tab + 1);
            int width;
            if (groups[i]) {
                if (column == 0)
                    field.erase(0, GroupPrefix().size());
                width = groupDC->TextWidth(field);
            } else {
                width = itemDC->TextWidth(field) + (column == 0 ? InitialTabStopOffset() : 0);
            }
            widest = Max(widest, width);
        }
        last += widest / FAvgCharWidth + 4;
        stops.push_back(last);
    }
    // One update for the whole set.
    for (int stop : stops)
        FTabStops->TGwIntegerList::Add(stop);
    UpdateTabStops();
}

void TGwCustomTabbedListBox::UpdateFromHeader(TControl* Header) {
    auto* header = dynamic_cast<THeaderControl*>(Header);
    if (!header)
        throw EHeaderError("Only THeader and THeaderControl components can be passed to "
                           "TGwCustomTabbedListBox.UpdateFromHeader");
    THeaderSections* sections = header->Sections();
    const int cw = Max(1, FAvgCharWidth);
    const int last = Min(sections->Count() - 1, FTabStops->Count() - 1);
    int sum = 0;
    for (int i = 0; i <= last; ++i) {
        sum += sections->Items(i)->Width();
        int stop;
        if (FTabStops->Items(i) >= 0)
            stop = sum / cw + 1;
        else if (i == sections->Count() - 1)
            stop = 1 - Width() / cw;
        else
            stop = 1 - (sum + sections->Items(i + 1)->Width()) / cw;
        FTabStops->TGwIntegerList::SetItem(i, stop);
    }
    UpdateTabStops();
}

void TGwCustomTabbedListBox::DefaultDrawItem(int Index, TRect Rect, TOwnerDrawState) {
    TCanvas* canvas = Canvas();
    canvas->FillRect(Rect);
    if (Index < 0 || Index >= Count())
        return;
    const std::string text = Items()->Get(Index);
    const std::vector<int> stops = PixelStops();
    const int saved = canvas->SaveDC();
    canvas->IntersectClipRect(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
    TabbedTextOut(canvas, Rect.Left + 2, TextTop(Rect), text.c_str(), int(text.size()), int(stops.size()),
                  stops.data(), 0);
    canvas->RestoreDC(saved);
}

void TGwCustomTabbedListBox::DrawGroup(int Index, TRect Rect, TOwnerDrawState State) {
    PaintGroupBackground(Rect, State, false);
    TCanvas* canvas = Canvas();
    const std::string text = ItemCaption(Index);
    const std::vector<int> stops = PixelStops();
    const int saved = canvas->SaveDC();
    canvas->IntersectClipRect(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
    canvas->Brush()->SetStyle(bsClear);
    TabbedTextOut(canvas, Rect.Left + 2, TextTop(Rect), text.c_str(), int(text.size()), int(stops.size()),
                  stops.data(), 0);
    canvas->RestoreDC(saved);
    canvas->Brush()->SetStyle(bsSolid);
}

void TGwCustomTabbedListBox::GroupFontChanged() {
    if (FTabStopsMode == tsmAutomatic)
        AdjustTabStops();
}

void TGwCustomTabbedListBox::AdjustHorzExtent() {
    std::vector<int> stops;
    for (int i = 0; i < Min(FTabStops->Count(), MaxTabStops); ++i)
        stops.push_back(FTabStops->Items(i) * FAvgCharWidth);
    TScreenDC dc(Font());
    int widest = 0;
    for (int i = 0; i < Count(); ++i) {
        const std::string text = Items()->Get(i) + "x";
        const std::uint32_t extent =
            GetTabbedTextExtent(dc.Canvas(), text.c_str(), int(text.size()), int(stops.size()), stops.data());
        widest = Max(widest, int(extent & 0xFFFF));
    }
    SetHorzExtent(OwnerDrawItemIndent() + widest);
}

void TGwCustomTabbedListBox::CreateWnd() {
    TGwCustomListBox::CreateWnd();
    UpdateTabStops();
}

void TGwCustomTabbedListBox::Loaded() {
    TGwCustomListBox::Loaded();
    if (FTabStopsMode == tsmAutomatic)
        AdjustTabStops();
    UpdateTabStops();
}

void TGwCustomTabbedListBox::WndProc(TMessage& Message) {
    TGwCustomListBox::WndProc(Message);
    if (FTabStopsMode != tsmAutomatic)
        return;
    if (Message.Msg == LB_ADDSTRING || Message.Msg == LB_INSERTSTRING || Message.Msg == LB_DELETESTRING)
        AdjustTabStops();
}

void TGwCustomTabbedListBox::CMFontChanged(TMessage& Message) {
    TGwCustomListBox::CMFontChanged(Message);
    FAvgCharWidth = Max(1, GetAvgCharWidth(Font()));
    if (FTabStopsMode == tsmAutomatic)
        AdjustTabStops();
}
