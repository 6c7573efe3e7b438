// Null-safe readers of field values: Null becomes 0, "" or a blank, so that a Null in an
// old database never stops a step. Each absorbs its own conversion failures (a value
// that cannot be converted gives 0 or "").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "jet/value.h"

// Money of a value rounded to 2 decimals: Null gives 0; a number, or a text that reads as
// a number with the decimal comma, gives that number; any other text its leading number
// read with "." as the decimal point (0 when there is none). The amount (exact at 4
// decimals) is nudged by 0.0001 away from zero (0 counts as negative) and rounded to 2
// decimals, halves to even, so that 2.345 gives 2.35 and -2.345 gives -2.35.
jet::Currency NzCur(const jet::Value& v);

// A whole number of a value: Null gives 0; a number or a number text the nearest
// integer, halves to even; any other text its leading number ("." decimal point),
// rounded the same way.
int32_t NzLng(const jet::Value& v);

// The amount of NzCur as text with two decimals and the decimal comma ("12,50"); when it
// is 0 and zero_text is not "", zero_text.
std::string NzKwota_Tekst(const jet::Value& v, std::string_view zero_text);

// The value as text; Null gives "".
std::string NzStr(const jet::Value& v);

// The value as text cut to max_len characters (0: not cut); Null and "" give "".
std::string NzStr_Dl(const jet::Value& v, int16_t max_len);

// The value as text; Null and "" give a single blank.
std::string NzStr_Spacja(const jet::Value& v);
