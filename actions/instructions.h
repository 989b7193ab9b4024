// Instruction set of the concentrator's script language: opcodes, operand layouts, do-functions.
// Actions layer, its bottom; the assembler, the lister and the database records read these tables.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Operation codes. Codes 0, 15, 20 and 21 have no text form; 0 marks a line the assembler did not know.
enum TOpcode : uint8_t {
    opNone = 0,
    opDo = 1,
    opDef = 2,  // def var len16
    opPush = 3, // push number32 len8
    opPop = 4,
    opGotoZ = 5,
    opGotoC = 6,
    opGotoA = 7,
    opAdd = 8,
    opSub = 9,
    opMul = 10,
    opDiv = 11,
    opShl = 12,
    opShr = 13,
    opRet = 14,
    opNot = 16,
    opAnd = 17,
    opOr = 18,
    opXor = 19,
    opAct = 22,
    opGotoNZ = 23,
    opGotoNC = 24,
    opPushVar = 25,   // push var
    opPushMem = 26,   // push mem offset16 len16
    opPushMemVV = 27, // push mem var var
    opBreak = 28,
    opRev = 29,
    opTest = 30,
    opLdi = 31, // ldi var number16 len8
    opGotoP = 32,
    opGotoNP = 33,
    opMov = 34,
    opAddi = 35,
    opSubi = 36,
    opDefVar = 37,    // def var var
    opPushMemNV = 38, // push mem offset16 var
    opPushMemVN = 39, // push mem var len16
    opPushVNN = 40,   // push var offset16 len16
    opPushVVN = 41,   // push var var len16
    opPushVNV = 42,   // push var offset16 var
    opPushVVV = 43,   // push var var var
    opPopVNN = 44,
    opPopVNV = 45,
    opPopVVN = 46,
    opPopVVV = 47,
    opPopVar = 48,
    opTestVar = 49,
    opLast = opTestVar,
};

// What one operand of a text form is and where its bytes lie.
enum class TOperandKind : uint8_t {
    Var,      // 1 byte, 1-based variable number; lists as " name", nothing for 0 or an unknown number
    Num16,    // u16, lists as " decimal"
    Len16,    // u16 length, left out of the text when it is the default 8
    Len8,     // u8 length, left out of the text when it is the default 8
    Num32,    // u32, lists as " signed decimal"
    Target,   // u16 instruction number, lists right after "@l:"
    Function, // 1 byte do-function number
    Action,   // u16 subprogram id
};

struct TOperand {
    TOperandKind kind;
    uint8_t at; // first operand byte
};

struct TOpcodeInfo {
    uint8_t code;
    std::string_view text; // text form up to its first operand ("push mem", "gotoz @l:")
    uint8_t operandLength; // operand bytes that belong to the code (stored beside it in the database)
    uint8_t operandCount;
    TOperand operands[3];
};

inline constexpr uint16_t kDefaultLength = 8;

// Text form of an instruction that no text form of its code holds (a code without one, or operand
// bytes its code does not use): "op", the decimal code and the five operand bytes in decimal, the
// trailing zero bytes left out.
inline constexpr std::string_view kRawOpcodeText = "op";
inline constexpr int kOperandBytes = 5;
// A variable operand by number, "#" and the decimal number, for a variable that no name in the
// text would give back (a number outside the list, or a name the assembler reads otherwise).
std::string VariableNumberText(uint8_t k);
// Whether text is "#" followed by decimal digits (never a variable name to the assembler).
bool IsVariableNumberText(std::string_view text);
// The number of such a text when it is at most 255.
bool ReadVariableNumber(std::string_view text, uint8_t& k);

// The message of an error raised by script line `line` (from 0): "Строка ", the line's number from 1,
// ": " and the error's own message.
std::string ScriptLineMessage(int line, const std::string& message);

// Every code with a text form, in code order.
std::span<const TOpcodeInfo> OpcodeTable();
// The word a text form starts with: "push" for "push mem", "gotoz" for "gotoz @l:".
std::string_view InstructionWord(const TOpcodeInfo& info);
// Every instruction word once, in the order of the first code with it: the words the assembler
// reads and the script editor marks.
std::span<const std::string_view> InstructionWords();
// The entry of a code, null for 0, 15, 20, 21 and codes above 49.
const TOpcodeInfo* FindOpcode(uint8_t code);
// Operand length of a code: 0 for codes without operands or without a text form.
uint8_t OperandLength(uint8_t code);

// do-function names by number 1..11; number 0 is a name the assembler did not know.
std::span<const std::string_view> DoFunctionNames(); // entry 0 is function 1
// Number of a do-function name (exact match), 0 when unknown.
uint8_t DoFunctionNumber(std::string_view name);
