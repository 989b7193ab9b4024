// Script editor, text model (no widget): token kinds and attributes, the per-line tokenizer, the
// line store with its update bracket, folding sections, caret/selection/undo, bookmarks.
// The editor control (UnitSyntaxMemo.h) is one owner of this model; tests use another.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "classes.h"

// ---- token kinds, colours, styles ----------------------------------------------------------------

using TToken = std::uint16_t;
enum : TToken {
    tokBlank,
    tokText,
    tokString,
    tokStringEnd,
    tokHexValue,
    tokInteger,
    tokFloat,
    tokILComment,
    tokMLCommentBeg,
    tokMLCommentEnd,
    tokELCommentBeg,
    tokELCommentEnd,
    tokEndLine,
    tokParenBeg,
    tokParenEnd,
    tokBrackedBeg,
    tokBracketEnd,
    tokOperator,
    tokPoint,
    tokComma,
    tokReference,
    tokDereference,
    tokReserved
};
constexpr int TokenKindCount = 256;
extern const char* const TokenKindNames[tokReserved + 1];

// Colours as the GUI library stores them (0x00BBGGRR, 0x80000000 + index for system colours).
using TMPColor = std::int32_t;
constexpr TMPColor mpclNone = 0x20000000; // no fill, the control's default text colour
constexpr TMPColor mpclWindowText = TMPColor(0x80000008u);
constexpr TMPColor mpclWindow = TMPColor(0x80000005u);

// Font style bits, in the GUI library's order.
using TMPStyle = std::uint8_t;
enum : TMPStyle { mpsBold = 1, mpsItalic = 2, mpsUnderline = 4, mpsStrikeOut = 8 };

struct TMPTokenStyle {
    TMPColor Fore = mpclWindowText;
    TMPColor Back = mpclWindow;
    TMPStyle Style = 0;
};

// The attribute switches, bit by bit.
enum TMPSyntaxSwitch : std::uint8_t {
    sswHasELComment = 1,
    sswHasMLComment = 2,
    sswHasILComment = 4,
    sswHasHexPrefix = 8,
    sswValidFloat = 16,
    sswHasReference = 32,
    sswHasDereference = 64,
    sswBLSeparated = 128
};

// Fold markers by marker kind (0: none) and start markers by the collapsed flag.
extern const char* const FoldMarkers[4];
extern const char* const StartMarkers[2];
constexpr int FoldMarkerLength = 4;
// 0 for none, 1 "{<+}", 2 "{<-}", 3 "{>>}" at the start of the text.
int MarkerKind(std::string_view Text);

class TMPSynMemoCore;
class TMPSyntaxParser;

// Word classification by the host: may change Token (1 on entry).
using TParseWordEvent =
    std::function<void(TObject* Sender, const std::string& Word, int Pos, int Line, TToken& Token)>;

class TMPSyntaxAttributes {
public:
    explicit TMPSyntaxAttributes(TMPSynMemoCore* AOwner);

    // Copies literals, switches and slots (not the row-link prefix nor the event), then
    // re-parses every line. Null or itself: nothing.
    void Assign(const TMPSyntaxAttributes* Source);
    bool Equals(TToken a, TToken b) const;
    TMPColor GetColor(TToken Kind, bool Back) const;
    TMPColor GetColorB(TToken Kind, bool Back) const { return GetColor(Kind, Back); }
    void SetColor(TToken Kind, bool Back, TMPColor Color);
    TMPStyle GetStyle(TToken Kind) const;
    void SetStyle(TToken Kind, TMPStyle Style);
    TMPTokenStyle GetTokenStyle(TToken Kind) const;
    // Copies slot Source into Kinds[0..Last].
    void CopyAttrs(TToken Source, int Last, const TToken* Kinds);
    // The name=value attribute file. Load: EFOpenError when unreadable (nothing changes);
    // a missing or empty one-character key keeps its old value. Save: EFCreateError.
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName) const;

    bool Has(std::uint8_t Switch) const { return (Switches & Switch) != 0; }

    char StringQuote = '"';
    std::string ILComment = "//";
    std::string MLCommentBeg = "{", MLCommentEnd = "}";
    std::string ELCommentBeg = "(*", ELCommentEnd = "*)";
    std::string HexPrefix = "$";
    std::string RowLinkPrefix = "@l:";
    char DecimalPoint = '.';
    char Reference = '#';
    char Dereference = '^';
    std::uint8_t Switches = 0x7F;
    TParseWordEvent OnParseWord;

private:
    TMPSynMemoCore* FOwner;
    TMPTokenStyle FSlots[TokenKindCount];
};

// ---- tokens of one line --------------------------------------------------------------------------

struct TMPSyntaxToken {
    std::uint16_t Start = 0; // 0-based column
    std::uint16_t Length = 0;
    TToken Kind = tokText;
    std::uint8_t Flags = 0; // bit 0: selected
    bool Selected() const { return Flags & 1; }
};

class TMPSynMemoSection;

// The tokens of one line in column order.
class TMPSyntaxParser : public TObject {
public:
    TMPSyntaxParser() = default;
    explicit TMPSyntaxParser(const TMPSyntaxParser* Source) {
        if (Source)
            Assign(*Source);
    }
    void Assign(const TMPSyntaxParser& Source);

    int Count() const { return int(FTokens.size()); }
    // Null outside 0..Count-1.
    const TMPSyntaxToken* Token(int Index) const;
    const std::vector<TMPSyntaxToken>& Tokens() const { return FTokens; }
    void Clear() {
        FTokens.clear();
        Dirty = 0;
    }
    // Column is 1-based, as the scanners count.
    void AddToken(int Column, int Length, TToken Kind);
    // Tokens of Line (index LineIndex) starting in EntryState (1, or 8/10 inside a block comment);
    // returns the exit state.
    int Tokenize(std::string_view Line, int LineIndex, const TMPSyntaxAttributes* Attrs, int EntryState);
    TToken FirstKind() const { return FTokens.empty() ? TToken(tokText) : FTokens.front().Kind; }
    TToken LastKind() const { return FTokens.empty() ? TToken(tokText) : FTokens.back().Kind; }
    // Joins split strings and comments into one token each (for painting).
    void MergeRuns();
    // Splits at From and To (exclusive) and flags the pieces in between as selected.
    void MarkSelection(int From, int To);

    TMPSynMemoSection* Section = nullptr;
    int Row = -1;
    std::uint8_t Dirty = 0;

private:
    int ScanStandard(std::string_view Text, int LineIndex, const TMPSyntaxAttributes& A, int State);
    int ScanBlankSeparated(std::string_view Text, int LineIndex, const TMPSyntaxAttributes& A, int State);
    void SplitAt(int Column);
    std::vector<TMPSyntaxToken> FTokens;
};

// ---- folding sections ----------------------------------------------------------------------------

// A run of lines that folds; children lie inside it in order of first line.
class TMPSynMemoSection {
public:
    TMPSynMemoSection(TMPSynMemoSection* AParent, int AFirst, int ALast, bool ACollapsed);
    virtual ~TMPSynMemoSection();
    TMPSynMemoSection(const TMPSynMemoSection&) = delete;
    TMPSynMemoSection& operator=(const TMPSynMemoSection&) = delete;

    int Count() const { return int(FChildren.size()); }
    // Null outside 0..Count-1.
    TMPSynMemoSection* Item(int Index) const;
    int IndexOf(const TMPSynMemoSection* Child) const;
    void Insert(int Index, TMPSynMemoSection* Child);
    // Hands the child back without deleting it.
    TMPSynMemoSection* Extract(TMPSynMemoSection* Child);
    void SetLevel(int Value);
    void AddRef() { ++RefCount; }
    // Deletes the whole tree when the last reference goes.
    void Release();

    TMPSynMemoSection* Parent;
    int FirstLine;
    int LastLine;
    int Level = 0;
    std::uint8_t Collapsed;
    int RefCount = 0;

private:
    std::vector<TMPSynMemoSection*> FChildren;
};

// A copy of a section and its subtree (what an undo record keeps).
class TMPSMSectionClone : public TMPSynMemoSection {
public:
    TMPSMSectionClone(const TMPSynMemoSection* Source, TMPSynMemoSection* AParent);
};

class TMPSynMemoSections {
public:
    explicit TMPSynMemoSections(TMPSynMemoCore* AOwner);
    virtual ~TMPSynMemoSections();

    TMPSynMemoSection* EntireSection() const { return FEntire; }
    // Innermost section whose lines hold Line (the whole-text section for any other line).
    TMPSynMemoSection* SectionOfLine(int Line) const;
    // 1 first line of an expanded section, 2 of a collapsed one, 3 last line, 0 otherwise.
    int LineKind(int Line) const;
    TMPSynMemoSection* NextSection(TMPSynMemoSection* S) const;
    TMPSynMemoSection* PrevSection(TMPSynMemoSection* S) const;
    bool IsVisible(TMPSynMemoSection* S);
    void Collapse(int Line, bool Recursive, bool ExceptSelf);
    void Expand(int Line, bool Recursive, bool OpenParents);
    void Explode(int Line, bool Recursive);
    // False when the bounds are refused (not directly in one section, or on a section's edge).
    bool Create(int First, int Last, bool Collapsed);
    void ReplaceEntireSection(TMPSynMemoSection* S);
    void Recalculate();
    // Recalculates first when one is pending.
    void RecalculateIfPending();

    // Reads and strips the fold markers of the owner's lines (raw list access), repairing
    // unbalanced ones.
    virtual void ParseMarkers();
    virtual void LineDeleted(int Index);
    virtual void LineInserted(int Index);
    // Prefixes the lines of Target (a copy of the text) with the markers of every section.
    virtual void WriteMarkers(TStrings* Target) const;

    // Visible rows: line of each row, and row of a line (-1 hidden or invalid).
    const std::vector<int>& VisibleLines() const { return FVisible; }
    int VisibleIndexOf(int Line) const;
    int LineAtVisibleIndex(int Index) const;
    int MaxLevel() const { return FMaxLevel; }
    int RecordedMaxLevel() const { return FRecordedMaxLevel; }

private:
    void CopyBeforeChange();
    void SetSubtree(TMPSynMemoSection* S, bool Collapsed, bool Self, bool Recursive);
    void ExplodeSection(TMPSynMemoSection* S, bool Recursive);
    void Emit(const TMPSynMemoSection* S, int From, int To, std::vector<int>& Out);
    void Shift(TMPSynMemoSection* S, int Index, int Delta);

    TMPSynMemoCore* FOwner;
    TMPSynMemoSection* FEntire = nullptr;
    std::vector<int> FVisible;
    int FMaxLevel = 0;
    int FRecordedMaxLevel = 0;
};

// ---- line store ----------------------------------------------------------------------------------

// Pending work of an update bracket.
enum : std::uint8_t {
    pwTextChanged = 1,
    pwSectionsChanged = 2,
    pwRecalcSections = 4,
    pwTokenizeAll = 8,
    pwSuspended = 16
};

// The text of the editor: one compact record per line (text bytes, the token kinds at both ends for
// the comment carry, the dirty mark). Tokens themselves are made when a line is looked at and kept
// for the lines in view, so a long script costs little more than its bytes.
class TMPSynMemoStrings : public TStrings {
public:
    explicit TMPSynMemoStrings(TMPSynMemoCore* AOwner);
    ~TMPSynMemoStrings() override;

    std::string Get(int Index) const override;
    void Put(int Index, const std::string& S) override;
    TObject* GetObject(int Index) const override;
    int GetCount() const override { return int(FLines.size()); }
    void Clear() override;
    void Delete(int Index) override;
    void Insert(int Index, const std::string& S) override;
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) const override;
    void LoadFromFile(const std::string& FileName);
    void SaveToFile(const std::string& FileName);

    // The line's bytes without a copy; empty for a bad index.
    std::string_view Line(int Index) const;
    int LineLength(int Index) const { return int(Line(Index).size()); }
    // True when the line below must be tokenized too.
    bool TokenizeLine(int Index, bool Cascade);
    // Token list of the line as of now (null for a bad index); valid until the text next changes.
    TMPSyntaxParser* TokenListOf(int Index) const;
    void New();
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& Name);
    bool Modified() const { return FModified; }
    void SetModified(bool Value);
    bool Untitled() const { return FUntitled; }
    bool ValidIndex(int Index) const { return Index >= 0 && Index < GetCount(); }
    // Character offsets into the whole text (a line break counts 2).
    void PositionOfOffset(int Offset, int& Column, int& LineIndex) const;
    int OffsetOfPosition(int LineIndex, int Column) const;
    bool Updating() const { return FUpdateDepth > 0; }
    std::uint8_t Pending = 0;
    // Stores the text without marking it changed (trailing blanks the caret leaves behind).
    void PutQuiet(int Index, std::string_view S);
    // Rebuilds every line's tokens at the end of the bracket.
    void TokenizeAllPending() { Pending |= pwTokenizeAll; }

protected:
    void SetUpdateState(bool Updating) override;

private:
    // 16 bytes a line. Loaded text lives in one block for the whole file (FArena); a line
    // changed later owns a block of its own.
    struct LineRec {
        LineRec() = default;
        LineRec(LineRec&& o) noexcept { *this = std::move(o); }
        LineRec& operator=(LineRec&& o) noexcept;
        ~LineRec() { Free(); }
        void Set(std::string_view s);
        void Borrow(const char* p, std::uint32_t n);
        void DropPrefix(std::uint32_t n);
        std::string_view View() const { return {Text, Length}; }

        const char* Text = nullptr;
        std::uint32_t Length = 0;
        std::uint8_t First = 0; // kind of the first token, 0 without tokens
        std::uint8_t Last = 0;  // kind of the last token, 0 without tokens
        std::uint8_t Entry = 1; // the state it was last tokenized from
        std::uint8_t Dirty : 1 = 0;
        std::uint8_t Owned : 1 = 0;

    private:
        void Free();
    };
    struct CacheSlot {
        int Line = -1;
        std::uint32_t Stamp = 0;
        std::unique_ptr<TMPSyntaxParser> Parser;
    };
    friend class TMPSynMemoSections;
    // Replaces all lines in raw mode: no tokens, sections, row links (loading).
    void AssignRaw(std::vector<std::string>&& Lines);
    void MarkDirty(int Index);
    void Retokenize(bool All);
    void RenumberRowLinks(int Index, bool Inserted);
    void DropCache(int Index); // -1: every slot
    int EntryState(int Index) const;

    TMPSynMemoCore* FOwner;
    std::vector<LineRec> FLines;
    std::vector<std::unique_ptr<char[]>> FArena;
    std::string FFileName;
    bool FUntitled = false;
    bool FModified = false;
    bool FRaw = false;
    int FUpdateDepth = 0;
    int FDirtyLo = -1, FDirtyHi = -1;
    mutable std::vector<CacheSlot> FCache;
    mutable size_t FLastSlot = 0; // the slot of the last line asked for
    mutable std::uint32_t FStamp = 0;
    static int UntitledCounter;
};

// ---- caret, selection, undo ----------------------------------------------------------------------

struct TMPPos {
    int X = 0, Y = 0; // column, line
    bool operator==(const TMPPos&) const = default;
    bool operator<(const TMPPos& o) const { return Y < o.Y || (Y == o.Y && X < o.X); }
};

struct TMPSynMemoUndoItem {
    TMPSynMemoUndoItem() = default;
    TMPSynMemoUndoItem(const TMPSynMemoUndoItem&) = delete;
    TMPSynMemoUndoItem& operator=(const TMPSynMemoUndoItem&) = delete;
    ~TMPSynMemoUndoItem();
    TMPPos Caret, SelStart, SelEnd;
    bool NoSelection = true;
    std::string Text;
    // The blank run that ended the line before SelStart: a caret leaving the line cuts it without a
    // record, so the undo puts it back before replacing.
    std::string Blank;
    TMPSynMemoSection* Sections = nullptr; // counted reference
};

class TMPSynMemoRange {
public:
    explicit TMPSynMemoRange(TMPSynMemoCore* AOwner);
    ~TMPSynMemoRange();

    int GetPosX() const { return FCaret.X; }
    int GetPosY() const { return FCaret.Y; }
    void SetPosX(int X) { SetPos({X, FCaret.Y}); }
    void SetPosY(int Y) { SetPos({FCaret.X, Y}); }
    int GetStartX() const { return FStart.X; }
    int GetStartY() const { return FStart.Y; }
    int GetEndX() const { return FEnd.X; }
    int GetEndY() const { return FEnd.Y; }
    TMPPos Caret() const { return FCaret; }
    TMPPos SelStart() const { return FStart; }
    TMPPos SelEnd() const { return FEnd; }
    bool NoSelection() const { return FNoSelection; }
    void SetPos(TMPPos P);
    void SetRange(int Which, int Value);
    void Collapse();
    void Enlarge(int Delta, bool Vertical, bool VisibleLines);
    bool IsEmpty() const { return FStart == FEnd; }
    std::string GetText() const;
    void SetText(const std::string& Text);
    std::string GetMarkedText() const;
    void SetMarkedText(const std::string& Text);
    void Delete();
    void CutFinalSpaces(int Unused = 0);
    void CopyToClipboard();
    void CutToClipBoard();
    void PasteFromClipboard();
    TMPSynMemoUndoItem* AddUndo(const std::string& Text);
    void DoUndo();
    void ClearUndo();
    bool CanUndo() const { return !FUndo.empty(); }
    int UndoCount() const { return int(FUndo.size()); }
    int MaxUndoDepth() const { return FMaxUndo; }
    void SetMaxUndoDepth(int Depth);
    void CollapseSection(bool Flag);
    void ExpandSection(bool Flag);
    void ExplodeSection(bool Flag);
    void CreateSection();
    void GotoSection(bool Forward);
    void SelectAll();
    void SelectFromStart();
    void SelectToEnd();
    int GetPosition() const;
    void SetPosition(int Offset);
    int GetLength() const;
    void SetLength(int Count);
    // Puts caret, selection and flag back to (0, 0) and drops the undo list (view reset).
    void Reset();
    // Sets the selection directly (start and end ordered), the caret at the end given as Caret.
    void Select(TMPPos From, TMPPos To);

private:
    void SelectOffsets(int From, int To);
    void PushSectionUndo();
    // Gives the line at FStart back the blank a caret leaving it cut, up to FStart.
    void RestoreBlank(const std::string& Blank);
    void AfterMove(int OldLine);

    TMPSynMemoCore* FOwner;
    TMPPos FStart, FEnd, FCaret;
    bool FNoSelection = true;
    int FMaxUndo = 100;
    std::vector<std::unique_ptr<TMPSynMemoUndoItem>> FUndo;
    std::unique_ptr<TMPSynMemoUndoItem> FDiscarded;
};

// ---- bookmarks -----------------------------------------------------------------------------------

class TMPBookmarkManager {
public:
    explicit TMPBookmarkManager(TMPSynMemoCore* AOwner);
    void Clear();
    bool Find(int Line, int& Index) const;
    // -1 for an empty slot or a bad index.
    int GetBookMarks(int Index) const;
    // Toggles or moves bookmark Index onto Line; a bad index is ignored.
    void SetBookMarks(int Index, int Line);
    // Bookmarks move with their lines; one on a deleted line goes.
    void LineInserted(int Line);
    void LineDeleted(int Line);

private:
    TMPSynMemoCore* FOwner;
    int FSlots[10];
};

// ---- the owner of the model ----------------------------------------------------------------------

enum TMPSynMemoOption {
    smoShowFileNameInTabSheet,
    smoShowFileNameInFormCaption,
    smoReadOnly,
    smoOverwrite,
    smoSkipSectionsOnCopy,
    smoSkipSectionsOnPaste,
    smoAutoGutterWidth,
    smoWriteMarkersOnSave,
    smoVSNET_SectionsStyle
};
using TMPSynMemoOptions = Set<TMPSynMemoOption, smoShowFileNameInTabSheet, smoVSNET_SectionsStyle>;

// Change kinds raised through OnChange.
enum TChangedItem { ciText, ciSections, ciSelection, ciUndo, ciOptions };
using TChangedItems = Set<TChangedItem, ciText, ciOptions>;

// Where the clipboard is reached: plain text, and the marked form with fold markers.
class TMPSynMemoClipboard {
public:
    virtual ~TMPSynMemoClipboard() = default;
    // Marked empty: only the plain form.
    virtual void Put(const std::string& Plain, const std::string& Marked) = 0;
    virtual bool GetMarked(std::string& Text) = 0;
    virtual bool GetPlain(std::string& Text) = 0;
};

// A clipboard in memory (tests, and a control that has no other).
class TMPMemoryClipboard : public TMPSynMemoClipboard {
public:
    void Put(const std::string& Plain, const std::string& Marked) override;
    bool GetMarked(std::string& Text) override;
    bool GetPlain(std::string& Text) override;
    bool HasPlain = false, HasMarked = false;
    std::string PlainText, MarkedText;
};

// Owns the model's parts and answers for the view. The editor control derives from it; the
// view hooks do nothing here, so the model runs without a widget.
class TMPSynMemoCore {
public:
    TMPSynMemoCore();
    virtual ~TMPSynMemoCore();
    TMPSynMemoCore(const TMPSynMemoCore&) = delete;
    TMPSynMemoCore& operator=(const TMPSynMemoCore&) = delete;

    TMPSynMemoStrings* Lines() const { return FLines.get(); }
    TMPSynMemoRange* Range() const { return FRange.get(); }
    TMPSynMemoSections* Sections() const { return FSections.get(); }
    TMPSyntaxAttributes* SyntaxAttributes() const { return FAttributes.get(); }
    TMPBookmarkManager* Bookmarks() const { return FBookmarks.get(); }
    TMPSynMemoOptions Options() const { return FOptions; }
    virtual void SetOptions(TMPSynMemoOptions Value);
    bool AutoRowLink = false;
    TMPSynMemoClipboard* Clipboard() const { return FClipboard; }
    // Not owned; null restores the built-in memory clipboard.
    void SetClipboard(TMPSynMemoClipboard* C) { FClipboard = C ? C : &FMemoryClipboard; }

    // Line delta visible rows away from Line (hidden lines stepped over); -1 when there is none.
    int MoveLines(int Line, int Delta, bool Clamp) const;

    // Gathers change kinds; raises OnModelChange once the line store is outside its brackets.
    virtual void Changed(TChangedItems Kinds);
    // Adds Kinds and raises whatever is pending (the end of an outermost bracket).
    void FlushChanges(TChangedItems Kinds);

    // View hooks.
    virtual void ResetView();
    virtual void InvalidateLine(int) {}
    virtual void InvalidateFrom(int) {}
    virtual void InvalidateAll() {}
    virtual void BeginUpdateView() {}
    // The line store closed its outermost bracket.
    virtual void EndUpdateView() {}
    // The caret moved from OldLine.
    virtual void CaretMoved(int) {}
    virtual void FileNameChanged() {}

    std::function<void(TChangedItems)> OnModelChange;

protected:
    // Drops the options that a view reset clears, without the setter.
    void ClearOptions(TMPSynMemoOptions Items) { FOptions -= Items; }
    TChangedItems FQueuedChanges;

private:
    TMPSynMemoOptions FOptions;
    TMPMemoryClipboard FMemoryClipboard;
    TMPSynMemoClipboard* FClipboard = &FMemoryClipboard;
    std::unique_ptr<TMPSyntaxAttributes> FAttributes;
    std::unique_ptr<TMPSynMemoStrings> FLines;
    std::unique_ptr<TMPSynMemoSections> FSections;
    std::unique_ptr<TMPSynMemoRange> FRange;
    std::unique_ptr<TMPBookmarkManager> FBookmarks;
};
