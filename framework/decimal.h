// Decimal numbers in wide text, written and read without the C runtime's formatted I/O
// (whose floating-point and locale machinery would be most of the program's size).
#pragma once

#include <string>

namespace fw {

// `value` in decimal digits, with a minus sign when negative.
std::wstring Decimal(long long value);

// Reads an optional minus sign and at least one digit at `text`, after any spaces;
// moves `text` past them and any spaces after. False (and `text` unchanged) when no
// number stands there or it does not fit a long long.
bool ReadDecimal(const wchar_t*& text, long long& value);

// The number 0 to `last` that `text` writes exactly as Decimal writes it (no sign, no
// leading zero, nothing else); -1 for any other text.
int DecimalIndex(const std::wstring& text, int last);

}  // namespace fw
