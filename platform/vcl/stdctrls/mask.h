// The mask edit: an edit whose text follows an edit mask of the class library's own language.
//   mask[;save[;blank]]   save "0" drops the literals from Text, blank is shown for empty positions
//   !  optional positions missing from a short Text are leading blanks (trailing without it)
//   >  upper case until <     <  lower case until >     <>  no case change
//   \  the next character is a literal
//   L l  letter (required / optional)     A a  letter or digit     C c  any character
//   0 9  digit                            #   digit, + or - (optional)
//   :  the time separator    /  the date separator    _  a space    anything else: a literal
#pragma once

#include <string>
#include <vector>

#include "stdctrls.h"
#include "sysutils.h"

class EDBEditError : public Exception {
    using Exception::Exception;
};

// One parsed edit mask. Positions of EditText map one to one onto Positions().
class TEditMask {
public:
    enum TKind : char { mkLiteral, mkLetter, mkAlnum, mkAny, mkDigit, mkSign };
    enum TCase : char { mcNone, mcUpper, mcLower };
    struct TPosition {
        TKind Kind = mkLiteral;
        bool Required = false;
        TCase Case = mcNone;
        char Literal = 0;
    };

    TEditMask() = default;
    explicit TEditMask(const std::string& mask);
    bool Empty() const { return FPositions.empty(); }
    const std::vector<TPosition>& Positions() const { return FPositions; }
    bool SaveLiterals() const { return FSaveLiterals; }
    char Blank() const { return FBlank; }

    // The edit text with every position empty.
    std::string EmptyText() const;
    bool Editable(int pos) const;
    // c as it goes into position pos (case applied), or 0 when it does not fit there.
    char Accept(int pos, char c) const;
    // Edit text <-> Text (blanks as spaces, literals dropped when not saved).
    std::string ToText(const std::string& editText) const;
    std::string FromText(const std::string& text) const;
    std::string FromEditText(const std::string& editText) const;
    // First required position left blank, or -1.
    int FirstMissing(const std::string& editText) const;
    // Next editable position at or after pos, previous one before pos; -1 when none.
    int NextEditable(int pos) const;
    int PrevEditable(int pos) const;
    // The first literal at or after pos when it is c (no editable position between); else -1.
    int NextLiteral(int pos, char c) const;

private:
    std::vector<TPosition> FPositions;
    bool FSaveLiterals = true;
    bool FLeadingBlanks = false;
    char FBlank = '_';
};

// Text formatted by a mask, as the mask edit would show it with the literals saved or not.
std::string FormatMaskText(const std::string& EditMask, const std::string& Value);

class TCustomMaskEdit : public TCustomEdit {
public:
    explicit TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

    std::string EditMask() const { return FMaskText; }
    void SetEditMask(const std::string& v);
    bool IsMasked() const { return !FMask.Empty(); }
    // The text as shown, blanks included; Text is what it stands for.
    std::string EditText() const;
    void SetEditText(const std::string& v);
    // Raises EDBEditError (through ValidateError) when a required position is blank after a change.
    virtual void ValidateEdit();

protected:
    virtual void ValidateError();
    std::string GetText() const override;
    void CMTextChanged(TMessage& Message) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void Dispatch(TMessage& Message) override;
    bool EditorTakesKey(WORD Key, TShiftState Shift) override;
    void CMExit(TMessage& Message) override;

private:
    // Puts characters at the caret as typed ones (a literal typed at a literal moves past it).
    void Type(const std::string& chars);
    // Blanks the editable positions in [from, to) and leaves the caret at from.
    void BlankRange(int from, int to);
    void Show(const std::string& editText, int caret);
    std::string FMaskText;
    TEditMask FMask;
};

class TMaskEdit : public TCustomMaskEdit {
public:
    explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
};
