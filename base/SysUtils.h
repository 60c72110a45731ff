#pragma once
// Text helpers and integer text conversions in the class library's manner. Pure functions: any thread.
#include <cstdint>
#include <string>

namespace kes {

// Reads a 32-bit signed integer: optional leading blanks, an optional sign, then decimal digits, or hexadecimal
// digits after "$" or "0x"; nothing may follow. False (and `value` untouched) for anything else or out of range.
// Hexadecimal text may give the full 32-bit pattern ("$FFFFFFFF" is -1).
bool TryStrToInt(const std::string& text, int& value);
// TryStrToInt, or `fallback` when the text is no integer.
int StrToIntDef(const std::string& text, int fallback);
// TryStrToInt of the trimmed text; raises EConvertError "'text' is not a valid integer value" for anything else.
int StrToInt(const std::string& text);

// The text without leading and trailing blanks and control characters (every byte up to ' ').
std::string Trim(const std::string& text);
inline std::string IntToStr(int value) { return std::to_string(value); }

}  // namespace kes
