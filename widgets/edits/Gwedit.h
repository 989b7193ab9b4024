// Number reading of the Gw numeric edit (widget layer, edits): the forgiving evaluator of typed
// text, the key filter and the range check, kept apart from the control so every rule is
// exercised on its own.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// The value of typed text: digits, exponent and the current decimal separator count; a "(" or a
// "-" outside the exponent makes it negative; everything else is dropped. Text that still makes
// no number is 0.
double GwEvaluateNumberText(std::string_view Text);

// Whether Key may be typed into Text with the caret at SelStart and SelLength characters selected.
bool GwIsValidNumberChar(char Key, std::string_view Text, int SelStart, int SelLength, bool IntegersOnly);

// (Sender-less) out-of-range notice: entered value, the bound it would become, and whether to
// correct it (starts true).
using TGwRangeErrorHandler = std::function<void(double Entered, double Adjusted, bool& AutoCorrect)>;

// The value to keep for Value in [Min, Max]: checked when Min differs from Max or CheckRange is
// set; the bound unless the handler keeps the entry, which sets KeepInvalid.
double GwCheckRange(double Value, double Min, double Max, bool CheckRange,
                    const TGwRangeErrorHandler& OnRangeError, bool& KeepInvalid);
