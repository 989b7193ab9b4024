// The tabbed list box: stops computed from the fields, what reaches the list box, cells, stops from
// a header control, and the columns as drawn.
#include <gtest/gtest.h>

#include "Gwlstbox.h"
#include "gw_support.h"
#include "headerctrls.h"
#include "messages.h"

namespace {

// Records the stops the list box is given.
class TProbeTabbedListBox : public TGwTabbedListBox {
public:
    using TGwTabbedListBox::TGwTabbedListBox;
    std::vector<int> SentStops;
    int Sends = 0;

protected:
    void WndProc(TMessage& Message) override {
        if (Message.Msg == LB_SETTABSTOPS) {
            ++Sends;
            const auto* stops = reinterpret_cast<const int*>(Message.LParam);
            SentStops.assign(stops, stops ? stops + Message.WParam : stops);
            if (!stops) {
                EXPECT_EQ(Message.WParam, 0u);
            }
        }
        TGwTabbedListBox::WndProc(Message);
    }
};

class GwTabbedTest : public ::testing::Test {
protected:
    void SetUp() override {
        TApplication::QtApp();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 240);
        Box = new TProbeTabbedListBox(Form);
        Box->SetParent(Form);
        Box->SetBounds(10, 10, 300, 120);
    }
    void TearDown() override {
        delete Form;
        Application->ProcessMessages();
    }
    int Measure(const std::string& S) {
        TPaper p(1, 1);
        p.Canvas()->SetFont(Box->Font());
        return p.Canvas()->TextWidth(S);
    }
    TForm* Form = nullptr;
    TProbeTabbedListBox* Box = nullptr;
};

TEST_F(GwTabbedTest, AutomaticStopsFollowTheWidestFieldOfEachColumn) {
    Box->Add("a\tx\t1");
    Box->Add("abcd\ty");
    Box->SetTabStopsMode(tsmAutomatic);
    const int cw = Box->AvgCharWidth();
    const int first = Measure("abcd") / cw + 4;
    ASSERT_EQ(Box->TabStops()->Count(), 2);
    EXPECT_EQ(Box->TabStops()->Items(0), first);
    EXPECT_EQ(Box->TabStops()->Items(1), first + Measure("x") / cw + 4);
    EXPECT_EQ(Box->SentStops, (std::vector<int>{first * 4, (first + Measure("x") / cw + 4) * 4}));
    // A new item recomputes them; a list without tabs has none.
    Box->Add("abcdefghij\tz");
    EXPECT_EQ(Box->TabStops()->Items(0), Measure("abcdefghij") / cw + 4);
    Box->Items()->Clear();
    Box->Add("no tabs");
    EXPECT_EQ(Box->TabStops()->Count(), 0);
    EXPECT_TRUE(Box->SentStops.empty());
}

TEST_F(GwTabbedTest, GroupHeadersAreMeasuredWithoutTheirPrefix) {
    Box->Add("//WWWW\tx");
    Box->Add("a\ty");
    Box->SetTabStopsMode(tsmAutomatic);
    TPaper p(1, 1);
    p.Canvas()->SetFont(Box->GroupFont());
    EXPECT_EQ(Box->TabStops()->Items(0), p.Canvas()->TextWidth("WWWW") / Box->AvgCharWidth() + 4);
}

TEST_F(GwTabbedTest, AtMostAThousandStopsReachTheListBox) {
    for (int i = 1; i <= 1001; ++i)
        Box->TabStops()->TGwIntegerList::Add(i);
    Box->UpdateTabStops();
    EXPECT_EQ(Box->SentStops.size(), 1000u);
    EXPECT_EQ(Box->SentStops.back(), 4000);
    // A change through the list is sent at once.
    const int sends = Box->Sends;
    Box->TabStops()->Delete(0);
    EXPECT_EQ(Box->Sends, sends + 1);
}

TEST_F(GwTabbedTest, CellsAreTheFieldsBetweenTabs) {
    Box->Add("one\ttwo\tthree");
    Box->Add("single");
    struct {
        const char* Name;
        int Column, Row;
        const char* Text;
        const char* Error;
    } cases[] = {
        {"first", 0, 0, "one", nullptr},
        {"last", 2, 0, "three", nullptr},
        {"no tab", 0, 1, "single", nullptr},
        {"past the last tab", 1, 1, nullptr, "Column parameter out of range"},
        {"negative column", -1, 0, nullptr, "Column parameter out of range"},
        {"past the items", 0, 2, nullptr, "Row parameter out of range"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        if (c.Text) {
            EXPECT_EQ(Box->GetCellText(c.Column, c.Row), c.Text);
            continue;
        }
        try {
            Box->GetCellText(c.Column, c.Row);
            ADD_FAILURE() << "no error";
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message, c.Error);
        }
    }
    Box->SetCellText(1, 0, "2");
    EXPECT_EQ(Box->Items()->Get(0), "one\t2\tthree");
    EXPECT_THROW(Box->SetCellText(3, 0, "x"), EListError);
}

TEST_F(GwTabbedTest, StopsFromAHeaderControl) {
    auto* header = new THeaderControl(Form);
    header->SetParent(Form);
    for (int w : {60, 40, 50})
        header->Sections()->Add()->SetWidth(w);
    const int cw = Box->AvgCharWidth();
    struct {
        const char* Name;
        std::vector<int> Before, After;
    } cases[] = {
        {"left aligned", {1, 2, 3}, {60 / cw + 1, 100 / cw + 1, 150 / cw + 1}},
        {"right aligned takes the next edge", {-1, 2}, {1 - 100 / cw, 100 / cw + 1}},
        {"right aligned last takes the box width", {1, 2, -3}, {60 / cw + 1, 100 / cw + 1, 1 - 300 / cw}},
        {"more stops than sections", {1, 2, 3, 7}, {60 / cw + 1, 100 / cw + 1, 150 / cw + 1, 7}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Box->TabStops()->Clear();
        for (int s : c.Before)
            Box->TabStops()->Add(s);
        Box->UpdateFromHeader(header);
        std::vector<int> got;
        for (int i = 0; i < Box->TabStops()->Count(); ++i)
            got.push_back(Box->TabStops()->Items(i));
        EXPECT_EQ(got, c.After);
    }
    try {
        Box->UpdateFromHeader(Form);
        ADD_FAILURE() << "no error";
    } catch (const EHeaderError& e) {
        EXPECT_EQ(e.Message, "Only THeader and THeaderControl components can be passed to "
                             "TGwCustomTabbedListBox.UpdateFromHeader");
    }
}

TEST_F(GwTabbedTest, OwnerDrawnColumnsStartAtTheirStops) {
    Box->SetStyle(lbOwnerDrawFixed);
    Box->SetColor(clWhite);
    Box->Font()->SetColor(clBlack);
    Box->Add("I\tI");
    Box->TabStops()->Add(10);
    Form->Show();
    TPaper p(Box->Width(), Box->Height());
    Box->PaintTo(p.Canvas(), 0, 0);
    const TPoint window = Form->ClientToScreen(TPoint(Box->Left(), Box->Top()));
    const int dx = Box->ClientOrigin().x - window.x, dy = Box->ClientOrigin().y - window.y;
    const TRect row = Box->ItemRect(0);
    // The stop is 10 average characters from the row's left edge (tab origin 0).
    std::vector<int> inkColumns;
    for (int x = row.Left + 1; x < row.Right - 1; ++x)
        for (int y = row.Top + 1; y < row.Bottom - 1; ++y)
            if (p.At(dx + x, dy + y) == clBlack) {
                inkColumns.push_back(x);
                break;
            }
    ASSERT_FALSE(inkColumns.empty());
    const int stop = 10 * Box->AvgCharWidth();
    EXPECT_LT(inkColumns.front(), row.Left + 2 + 4);
    EXPECT_GE(inkColumns.back(), stop);
    EXPECT_LT(inkColumns.back(), stop + 4);
}

} // namespace
