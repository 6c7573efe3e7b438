// The Jet/VBA functions that statements call, on values, under Polish regional
// settings. Null in gives Null out unless a function says otherwise. Errors are
// Jet failures: a conversion that cannot be made raises TypeMismatch, a value out of
// range Overflow, a bad argument (Mid from 0, a negative length) InvalidCall.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "jet/value.h"

namespace jet::fn {

// VB's "Invalid procedure call or argument" (a start below 1, a negative length).
[[noreturn]] void invalid_call();

// Round(x, digits): halves to even on the decimal digits of the value as VB shows
// it: money exactly, a Double on its 15 significant digits (the digits CStr
// prints), not on the binary fraction behind them. So Round(2.345, 2) is 2.34 and
// Round(2.355, 2) is 2.36 although the double 2.345 lies just above 2.345 and 2.355
// just below 2.355; a Double that holds money (4 decimals or fewer) rounds exactly
// as the money would. The result keeps the value's type (text is read as a Double).
// Negative digits raise InvalidCall.
Value round(const Value& x, int digits = 0);
double round_double(double x, int digits);
Currency round_currency(Currency c, int digits);

// Format(v, fmt). Number formats ("0", "0.00", "#,##0.00", "0.0000", sections
// "pos;neg;zero", literal text, "%") print the decimal comma and the no-break space
// as the thousands separator, round halves away from zero on the value's decimal
// digits (15 significant for a Double, exact for money): Format(2.345, "0.00") is
// "2,35". Date formats: d dd ddd dddd, m mm mmm mmmm (M as m; minutes when after
// h/hh or before s/ss), y yy yyyy, h hh, n nn, s ss, q, "/" as "-", ":". A text is
// read as a number or a date for the format's kind; a text that is neither is
// returned as it is. An empty format gives CStr. Null gives Null. A number that is
// no value of its type (infinity, NaN, a date past the ends of the range) raises
// Overflow.
Value format(const Value& v, std::string_view fmt);

// Val(s): the leading number of a text with VBA's rules: blanks, tabs and line feeds
// are skipped anywhere, "." is the decimal point, an exponent E or D, "&H"/"&O"
// numbers; 0 when there is no number. A non-text value is read from its CStr.
// Val(Null) is Null.
double val(std::string_view s);
Value val(const Value& v);

// Trim, LTrim, RTrim: spaces only.
std::string_view trim_view(std::string_view s);
std::string_view ltrim_view(std::string_view s);
std::string_view rtrim_view(std::string_view s);
Value trim(const Value& v);
Value ltrim(const Value& v);
Value rtrim(const Value& v);

// Mid, Left, Right and Len count characters. Mid's start is 1-based; a start past
// the end gives "".
std::string_view mid_view(std::string_view s, int64_t start, std::optional<int64_t> length);
std::string_view left_view(std::string_view s, int64_t n);
std::string_view right_view(std::string_view s, int64_t n);
Value mid(const Value& s, int64_t start, std::optional<int64_t> length = std::nullopt);
Value left(const Value& s, int64_t n);
Value right(const Value& s, int64_t n);
Value len(const Value& s);  // a Long
Value ucase(const Value& s);
Value lcase(const Value& s);

Value year(const Value& d);
Value month(const Value& d);
Value day(const Value& d);

// VB's conversion functions; Null raises TypeMismatch ("Invalid use of Null").
Value cstr(const Value& v);
Value clng(const Value& v);
Value cint(const Value& v);
Value cdbl(const Value& v);
Value ccur(const Value& v);
Value cdate(const Value& v);

// Int (down), Fix (toward zero), Abs: the value's type is kept (text gives Double).
Value int_(const Value& v);
Value fix(const Value& v);
Value abs(const Value& v);

// Nz(v, other): other when v is Null (Empty when there is no other).
Value nz(const Value& v, const Value& other = Value());

// Jet's LIKE without regard to case: * any run, ? one character, # one digit,
// [abc], [a-z], [!a-z] one character in (not in) the list; [*] [?] [#] match the
// character itself.
bool like(std::string_view text, std::string_view pattern);

}  // namespace jet::fn
