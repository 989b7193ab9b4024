// Script editor control TMPSyntaxMemo: the view over the text model (SynMemoModel.h) on the GUI
// core's TCustomControl. Layout, metrics, scrolling, caret, row painting, keys and mouse.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SynMemoModel.h"
#include "controls.h"
#include "stdctrls.h"

class TBitmap;

using TMPChangeEvent = std::function<void(TObject* Sender, TChangedItems ChangedItems)>;
class TMPCustomSyntaxMemo;
using TMPWordInfoEvent =
    std::function<void(TMPCustomSyntaxMemo* Sender, int X, int Y, int WordIndex, int Row, bool Showing)>;
using TMPLogEvent = std::function<void(TObject* Sender, const std::string& LogStr)>;

class TMPCustomSyntaxMemo : public TCustomControl, public TMPSynMemoCore {
public:
    explicit TMPCustomSyntaxMemo(TComponent* AOwner);
    ~TMPCustomSyntaxMemo() override;

    // Metrics (valid after the first resize or font change).
    int LineHeight() const { return FLineHeight; }
    int CharWidth(unsigned char c, bool Bold) const { return Widths()[Bold ? 1 : 0][c]; }
    int VisibleRows() const { return FVisibleRows; }
    int HorzOffset() const { return FHorzOffset; }
    int TopRow() const { return FTopRow; }

    TColor SelColor() const { return FSelColor; }
    void SetSelColor(TColor v);
    TColor DefBackColor() const { return FDefBackColor; }
    void SetDefBackColor(TColor v);
    TColor DefForeColor() const { return FDefForeColor; }
    void SetDefForeColor(TColor v);
    int GutterWidth() const { return FGutterWidth; }
    void SetGutterWidth(int v);
    int SectionIndent() const { return FSectionIndent; }
    void SetSectionIndent(int v);
    bool ShowRowNumbers() const { return FShowRowNumbers; }
    void SetShowRowNumbers(bool v);
    void SetOptions(TMPSynMemoOptions Value) override;
    void SetOnParseWord(TParseWordEvent e) { SyntaxAttributes()->OnParseWord = std::move(e); }
    const TParseWordEvent& OnParseWord() const { return SyntaxAttributes()->OnParseWord; }

    TMPChangeEvent OnChange;
    TMPWordInfoEvent OnWordInfo;
    TMPLogEvent OnLog;

    // Rows and lines: -1 hidden/invalid, -2 off the text, -3 below the view (RowOfLine).
    int VisibleIndexOf(int Line) const;
    int LineAtVisibleIndex(int Index) const;
    int RowOfLine(int Line) const;
    int TextX(int Column, int Line) const;
    // TokenIndex: the token under X, minus the next one's index in the blank before it, 65535 past
    // the last token.
    int ColumnAtX(int PixelX, int Line, int& TokenIndex) const;
    // (pixel x in line coordinates, row or, with MapToLine, line).
    TPoint PointToText(int X, int Y, bool MapToLine) const;
    TPoint TextToClient(int PixelX, int Row) const;
    void SetViewOrigin(int AHorzOffset, int ATopRow);
    void SetTopRow(int v) { SetViewOrigin(FHorzOffset, v); }
    void SetHorzOffset(int v) { SetViewOrigin(v, FTopRow); }
    void EnsureVisible(int Column, int Line, int Length);
    void GotoLine(int Column, int Line);
    void SetHotToken(int TokenIndex, int Line);
    TPoint HotToken() const { return FHotToken; }
    void ShowCaret();
    void HideCaret();
    bool CaretShown() const { return FCaretShown; }
    // The two child bars (owned as components; right and bottom).
    TScrollBar* VertScrollBar() const { return FVScroll; }
    TScrollBar* HorzScrollBar() const { return FHScroll; }

    // The editor's keys as a table: a row takes its keys (First..Last, virtual-key codes) when the
    // modifiers meet what it needs, and runs its handler; rows are looked at in order, and a key no
    // row takes goes on to OnKeyDown.
    enum class TKeyNeeds { Any, Ctrl, CtrlAlone };
    struct TKeyRow {
        const char* Name;
        WORD First, Last;
        TKeyNeeds Needs;
        void (TMPCustomSyntaxMemo::*Run)(WORD Key, TShiftState Shift);
        bool Takes(WORD Key, TShiftState Shift) const;
    };
    static const std::vector<TKeyRow>& KeyTable();

    // Layout of row R (-1: the whole height), in client coordinates.
    TRect RowBand(int R) const;
    TRect GutterRect(int R) const;
    TRect TextAreaRect(int R) const;
    TRect FoldBox(int R, int Level) const;

    // Model view hooks.
    void InvalidateLine(int Line) override;
    void InvalidateFrom(int Line) override;
    void InvalidateAll() override;
    void ResetView() override;
    void BeginUpdateView() override;
    void EndUpdateView() override;
    void CaretMoved(int OldLine) override;
    void FileNameChanged() override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void CMFontChanged(TMessage& Message) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyUp(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void Metrics();
    void LayoutRows();
    // The character widths, plain [0] and bold [1], measured when first asked for after a font
    // change: measuring takes a text layout per character, and an editor not yet shown needs none.
    const std::array<std::array<int, 256>, 2>& Widths() const {
        if (!FWidthsMeasured)
            MeasureWidths();
        return FCharWidths;
    }
    int DigitWidth(bool Bold) const { return Widths(), FDigitWidth[Bold ? 1 : 0]; }
    void MeasureWidths() const;
    void MakeScrollBars();
    void PlaceScrollBars();
    void ScrollBarChanged(TObject* Sender);
    bool IsOwnScrollBar(HWND Wnd) const;
    void UpdateScrollBars();
    void FlushRows();
    // The faces of rows First..Last (gutter, its two lines, text area), then each row's own marks;
    // Gutter and Text are the columns of GutterRect and TextAreaRect (the same on every row).
    void PaintRowBackgrounds(TCanvas* C, int First, int Last);
    void PaintRow(TCanvas* C, int Row, const TRect& Gutter, const TRect& Text);
    void PaintFoldMarks(TCanvas* C, const TRect& G, int Line, int RowHeight);
    void PaintTextRuns(TCanvas* C, const TRect& K, int X0, const TMPSyntaxParser& Tokens, int Line,
                       int SelFrom, int SelTo);
    void MakeGlyphs();
    void WheelMessage(TWMMouseWheel& Message);
    void DblClickMessage(TWMMouse& Message);
    // The key table's handlers.
    void KeyCtrlHover(WORD Key, TShiftState Shift);
    void KeySideways(WORD Key, TShiftState Shift);
    void KeyUpDown(WORD Key, TShiftState Shift);
    void KeyHome(WORD Key, TShiftState Shift);
    void KeyEnd(WORD Key, TShiftState Shift);
    void KeyPage(WORD Key, TShiftState Shift);
    void KeyDelete(WORD Key, TShiftState Shift);
    void KeyTab(WORD Key, TShiftState Shift);
    void KeyBackspace(WORD Key, TShiftState Shift);
    void KeyReturn(WORD Key, TShiftState Shift);
    void KeyInsert(WORD Key, TShiftState Shift);
    void KeyCopy(WORD Key, TShiftState Shift);
    void KeyCut(WORD Key, TShiftState Shift);
    void KeyPaste(WORD Key, TShiftState Shift);
    void KeyUndo(WORD Key, TShiftState Shift);
    void KeyExpand(WORD Key, TShiftState Shift);
    void KeyCollapse(WORD Key, TShiftState Shift);
    void KeyCreateSection(WORD Key, TShiftState Shift);
    void KeyExplodeSection(WORD Key, TShiftState Shift);
    void KeyBookmark(WORD Key, TShiftState Shift);
    void ExtendTo(int Column, int Line);
    int TokenAtColumn(int Column, int Line) const;
    bool NextWordStart(int& Column, int& Line) const;
    bool PrevWordStart(int& Column, int& Line) const;
    int LongestLine() const;
    int HorzMax() const;
    int VertMax() const;
    bool CanPaint();

    TColor FSelColor = TColor(0xF7CBA5);
    TColor FDefBackColor = clWindow;
    TColor FDefForeColor = clBlack;
    int FGutterWidth = 32;
    int FSectionIndent = 16;
    bool FShowRowNumbers = false;
    int FLineHeight = 0;
    int FVisibleRows = 0;
    mutable bool FWidthsMeasured = false;
    mutable std::array<std::array<int, 256>, 2> FCharWidths{};
    // Width of a digit in the plain and the bold style when every digit string is that width times
    // its length (tabular figures), else 0: row numbers are then measured.
    mutable std::array<int, 2> FDigitWidth{};
    int FHorzOffset = 0;
    int FTopRow = 0;
    bool FLeftDrag = false, FMiddleDrag = false, FCtrlHover = false;
    bool FKeyTaken = false; // the key table took the key being pressed: its character types nothing
    TPoint FMiddleAnchor;
    bool FCaretShown = false;
    bool FHasCaret = false;
    TPoint FHotToken{-1, -1};
    std::vector<std::uint8_t> FDirtyRows;
    std::unique_ptr<TBitmap> FMeasure; // the canvas the character widths are measured on
    std::unique_ptr<TBitmap> FGlyphs;  // ten 11 x 11 bookmark images side by side
    TScrollBar* FVScroll = nullptr;
    TScrollBar* FHScroll = nullptr;
    bool FSettingBars = false; // the bars' change handler is off while the view sets them
    mutable int FLongest = -1;
};

// The published control; it adds nothing to its base.
class TMPSyntaxMemo : public TMPCustomSyntaxMemo {
public:
    explicit TMPSyntaxMemo(TComponent* AOwner) : TMPCustomSyntaxMemo(AOwner) {}
};

// The platform clipboard for the editor: the plain text, and beside it the marked form with the fold
// markers under a private format of the editor's own (a zero-terminated block).
class TMPPlatformClipboard : public TMPSynMemoClipboard {
public:
    static UINT MarkedFormat();
    void Put(const std::string& Plain, const std::string& Marked) override;
    bool GetMarked(std::string& Text) override;
    bool GetPlain(std::string& Text) override;
};
