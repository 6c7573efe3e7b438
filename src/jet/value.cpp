#include "jet/value.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "jet/dates.h"
#include "jet/error.h"
#include "jet/text.h"

namespace jet {

namespace {

// ---------------------------------------------------------------------------
// Number text under Polish settings.

constexpr int kMaxDigits = 40;

// A number read from text: value = (negative ? -1 : 1) * digits * 10^exp10.
struct NumberText {
    bool negative = false;
    char digits[kMaxDigits];
    int ndigits = 0;  // significant digits, leading zeros dropped
    int exp10 = 0;
    bool has_int = false;  // a "&H"/"&O" number: int_value holds it
    int64_t int_value = 0;
};

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the blank at s[i] (space, tab or UTF-8 no-break space), 0 when none.
size_t blank_at(std::string_view s, size_t i) {
    if (i >= s.size()) return 0;
    if (s[i] == ' ' || s[i] == '\t') return 1;
    if (s[i] == '\xC2' && i + 1 < s.size() && s[i + 1] == '\xA0') return 2;
    return 0;
}

void skip_blanks(std::string_view s, size_t& i) {
    while (size_t n = blank_at(s, i)) i += n;
}

// Reads the digits of a "&H" or "&O" number (prefix already skipped) as VB does:
// up to 4 hex digits (6 octal) are an Integer, more a Long (so "&HFFFF" is -1).
bool read_radix(std::string_view s, size_t& i, int radix, int64_t& out) {
    uint64_t v = 0;
    int n = 0;
    for (; i < s.size(); ++i) {
        char c = s[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (radix == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (radix == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            break;
        if (d >= radix) break;
        v = v * static_cast<uint64_t>(radix) + static_cast<uint64_t>(d);
        if (v > 0xFFFFFFFFu) return false;
        ++n;
    }
    if (n == 0) return false;
    if (v <= 0xFFFF && (radix == 16 ? n <= 4 : n <= 6))
        out = static_cast<int16_t>(static_cast<uint16_t>(v));
    else
        out = static_cast<int32_t>(static_cast<uint32_t>(v));
    return true;
}

bool scan_number(std::string_view s, NumberText& nt) {
    size_t i = 0;
    skip_blanks(s, i);
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        nt.negative = s[i] == '-';
        ++i;
        skip_blanks(s, i);
    }
    if (i + 1 < s.size() && s[i] == '&') {
        char r = s[i + 1];
        int radix = (r == 'H' || r == 'h') ? 16 : (r == 'O' || r == 'o') ? 8 : 0;
        if (radix == 0) return false;
        i += 2;
        if (!read_radix(s, i, radix, nt.int_value)) return false;
        if (nt.negative) nt.int_value = -nt.int_value;
        nt.has_int = true;
        skip_blanks(s, i);
        return i == s.size();
    }
    bool any = false;
    auto take = [&](char c, bool fraction) {
        any = true;
        if (nt.ndigits == 0 && c == '0') {
            if (fraction) --nt.exp10;
            return;
        }
        if (nt.ndigits < kMaxDigits) {
            nt.digits[nt.ndigits++] = c;
            if (fraction) --nt.exp10;
        } else if (!fraction) {
            ++nt.exp10;  // digits beyond what a double can tell apart
        }
    };
    while (i < s.size()) {
        if (is_digit(s[i])) {
            take(s[i++], false);
        } else if (size_t b = blank_at(s, i);
                   b && any && is_digit(i + b < s.size() ? s[i + b] : 0)) {
            i += b;  // thousands group separator
        } else {
            break;
        }
    }
    if (i < s.size() && s[i] == ',') {
        ++i;
        while (i < s.size() && is_digit(s[i])) take(s[i++], true);
    }
    if (!any) return false;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        ++i;
        bool eneg = false;
        if (i < s.size() && (s[i] == '-' || s[i] == '+')) eneg = s[i++] == '-';
        if (i >= s.size() || !is_digit(s[i])) return false;
        int e = 0;
        while (i < s.size() && is_digit(s[i])) {
            if (e < 100000) e = e * 10 + (s[i] - '0');
            ++i;
        }
        nt.exp10 += eneg ? -e : e;
    }
    skip_blanks(s, i);
    return i == s.size();
}

double number_value(const NumberText& nt) {
    if (nt.has_int) return static_cast<double>(nt.int_value);
    if (nt.ndigits == 0) return 0.0;
    char buf[kMaxDigits + 16];
    int n = 0;
    if (nt.negative) buf[n++] = '-';
    for (int k = 0; k < nt.ndigits; ++k) buf[n++] = nt.digits[k];
    std::snprintf(buf + n, sizeof buf - static_cast<size_t>(n), "e%d", nt.exp10);
    return std::strtod(buf, nullptr);
}

// The number times 10^4 as a whole count of ten-thousandths (keep_exp = exp10 + 4),
// rounded on its decimal digits, halves to even.
__int128 round_half_even_digits(const NumberText& nt, int keep_exp) {
    // value * 10^4 = digits * 10^(exp10 + 4); keep_exp = exp10 + 4.
    __int128 v = 0;
    const __int128 limit = static_cast<__int128>(1) << 100;
    if (keep_exp >= 0) {
        for (int k = 0; k < nt.ndigits; ++k) v = v * 10 + (nt.digits[k] - '0');
        for (int k = 0; k < keep_exp; ++k) {
            v *= 10;
            if (v > limit) return v;
        }
        return v;
    }
    const int kept = nt.ndigits + keep_exp;  // digits before the rounding point
    for (int k = 0; k < kept; ++k) v = v * 10 + (nt.digits[k] - '0');
    if (kept < 0) return 0;  // far below half a unit
    int first = kept < nt.ndigits ? nt.digits[kept] - '0' : 0;
    bool rest_nonzero = false;
    for (int k = kept + 1; k < nt.ndigits; ++k) rest_nonzero |= nt.digits[k] != '0';
    if (first > 5 || (first == 5 && (rest_nonzero || (v & 1)))) ++v;
    return v;
}

// ---------------------------------------------------------------------------

[[noreturn]] void mismatch() {
    raise(Fault::TypeMismatch);
}
[[noreturn]] void overflow() {
    raise(Fault::Overflow);
}

std::string_view trim_blanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The Boolean words VB and Jet accept in text.
std::optional<bool> bool_word(std::string_view s) {
    s = trim_blanks(s);
    for (auto w : {"true", "yes", "on"})
        if (text::ascii_iequal(s, w)) return true;
    for (auto w : {"false", "no", "off"})
        if (text::ascii_iequal(s, w)) return false;
    if (s == "Prawda" || s == "PRAWDA" || s == "prawda") return true;
    if (s == "Fałsz" || s == "FAŁSZ" || s == "fałsz") return false;
    return std::nullopt;
}

double round_even(double d) {
    return std::nearbyint(d);
}

double checked_date(double serial) {
    if (!in_range(DataType::Date, serial)) overflow();
    return serial;
}

int64_t checked_whole(double d, int64_t lo, int64_t hi) {
    if (!std::isfinite(d)) overflow();
    double r = round_even(d);
    if (r < static_cast<double>(lo) || r > static_cast<double>(hi)) overflow();
    return static_cast<int64_t>(r);
}

// Currency rounded to a whole number, halves to even (CLng of money).
int64_t currency_whole(Currency c) {
    int64_t q = c.scaled / Currency::kScale;
    int64_t r = c.scaled % Currency::kScale;
    int64_t ar = r < 0 ? -r : r;
    if (ar > Currency::kScale / 2 || (ar == Currency::kScale / 2 && (q & 1))) q += r < 0 ? -1 : 1;
    return q;
}

}  // namespace

// ---------------------------------------------------------------------------
// Number text

std::optional<double> parse_number(std::string_view s) {
    NumberText nt;
    if (!scan_number(s, nt)) return std::nullopt;
    double d = number_value(nt);
    if (!std::isfinite(d)) overflow();
    return d;
}

std::optional<Currency> parse_currency(std::string_view s) {
    NumberText nt;
    if (!scan_number(s, nt)) return std::nullopt;
    if (nt.has_int) return Currency{nt.int_value * Currency::kScale};
    if (nt.ndigits + nt.exp10 > 20) overflow();
    __int128 v = round_half_even_digits(nt, nt.exp10 + 4);
    if (nt.negative) v = -v;
    if (v > std::numeric_limits<int64_t>::max() || v < std::numeric_limits<int64_t>::min())
        overflow();
    return Currency{static_cast<int64_t>(v)};
}

std::string double_text(double d) {
    if (d == 0) return "0";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15G", d);
    for (char* p = buf; *p; ++p)
        if (*p == '.') *p = ',';
    return buf;
}

std::string single_text(float f) {
    if (f == 0) return "0";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.7G", static_cast<double>(f));
    for (char* p = buf; *p; ++p)
        if (*p == '.') *p = ',';
    return buf;
}

std::string currency_text(Currency c) {
    const bool neg = c.scaled < 0;
    uint64_t a = neg ? 0 - static_cast<uint64_t>(c.scaled) : static_cast<uint64_t>(c.scaled);
    char buf[40];
    int n = std::snprintf(buf, sizeof buf, "%s%llu", neg ? "-" : "",
                          static_cast<unsigned long long>(a / 10000));
    unsigned frac = static_cast<unsigned>(a % 10000);
    if (frac) {
        char f[8];
        std::snprintf(f, sizeof f, ",%04u", frac);
        int len = 5;
        while (f[len - 1] == '0') --len;
        f[len] = 0;
        std::snprintf(buf + n, sizeof buf - static_cast<size_t>(n), "%s", f);
    }
    return buf;
}

// ---------------------------------------------------------------------------
// Currency

Currency Currency::from_double(double d) {
    if (!in_range(DataType::Currency, d)) overflow();
    // The whole part and the fraction apart, each exact, so that no product of the
    // whole value with 10000 rounds away digits the double holds.
    const double whole = std::trunc(d);
    const double units = (d - whole) * static_cast<double>(kScale);  // |units| < 10000
    if (std::fabs(d) < 1e10 && std::fabs(std::fabs(units - std::trunc(units)) - 0.5) < 1e-6) {
        // Close to half a unit: decide on the decimal digits the double stands for
        // (15 significant), so that 0.00005 is an exact half and goes to even rather
        // than following the binary error of its fraction.
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.14e", d);
        for (char* p = buf; *p; ++p)
            if (*p == '.') *p = ',';
        if (auto c = parse_currency(buf)) return *c;
    }
    const __int128 scaled = static_cast<__int128>(static_cast<int64_t>(whole)) * kScale +
                            static_cast<int64_t>(std::nearbyint(units));
    // The doubles nearest the ends, just past them, stand for the ends.
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    return Currency{scaled > kMax ? kMax : scaled < kMin ? kMin : static_cast<int64_t>(scaled)};
}

double Currency::wide_to_double() const {
    // The whole part is a double exactly and the sum rounds once: where the value lies
    // halfway between two doubles, its fraction is one that r / 10000 gives exactly.
    const int64_t q = scaled / kScale, r = scaled % kScale;
    const double d = static_cast<double>(q) + static_cast<double>(r) / kScale;
    return d > kDoubleMax ? kDoubleMax : d < -kDoubleMax ? -kDoubleMax : d;
}

// ---------------------------------------------------------------------------
// Construction

Value Value::null() {
    Value v;
    v.kind_ = Kind::Null;
    return v;
}
Value Value::boolean(bool b) {
    Value v;
    v.kind_ = Kind::Boolean;
    v.i_ = b ? -1 : 0;
    return v;
}
Value Value::byte(uint8_t x) {
    Value v;
    v.kind_ = Kind::Byte;
    v.i_ = x;
    return v;
}
Value Value::integer(int16_t x) {
    Value v;
    v.kind_ = Kind::Integer;
    v.i_ = x;
    return v;
}
Value Value::long_(int32_t x) {
    Value v;
    v.kind_ = Kind::Long;
    v.i_ = x;
    return v;
}
Value Value::currency(Currency c) {
    Value v;
    v.kind_ = Kind::Currency;
    v.i_ = c.scaled;
    return v;
}
Value Value::single(float x) {
    Value v;
    v.kind_ = Kind::Single;
    v.d_ = x;
    return v;
}
Value Value::dbl(double x) {
    Value v;
    v.kind_ = Kind::Double;
    v.d_ = x;
    return v;
}
Value Value::date(double serial) {
    Value v;
    v.kind_ = Kind::Date;
    v.d_ = serial;
    return v;
}
Value Value::text(std::string s) {
    Value v;
    v.kind_ = Kind::Text;
    v.s_ = std::move(s);
    return v;
}

bool Value::is_numeric() const {
    return kind_ >= Kind::Boolean && kind_ <= Kind::Double;
}

// ---------------------------------------------------------------------------
// Conversions

bool Value::to_bool() const {
    switch (kind_) {
        case Kind::Empty:
            return false;
        case Kind::Null:
            mismatch();
        case Kind::Boolean:
        case Kind::Byte:
        case Kind::Integer:
        case Kind::Long:
        case Kind::Currency:
            return i_ != 0;
        case Kind::Single:
        case Kind::Double:
        case Kind::Date:
            return d_ != 0;
        case Kind::Text: {
            if (auto b = bool_word(s_)) return *b;
            if (auto d = parse_number(s_)) return *d != 0;
            mismatch();
        }
    }
    mismatch();
}

int32_t Value::to_long() const {
    switch (kind_) {
        case Kind::Empty:
            return 0;
        case Kind::Null:
            mismatch();
        case Kind::Boolean:
        case Kind::Byte:
        case Kind::Integer:
        case Kind::Long:
            return static_cast<int32_t>(i_);
        case Kind::Currency: {
            int64_t w = currency_whole(Currency{i_});
            if (w < INT32_MIN || w > INT32_MAX) overflow();
            return static_cast<int32_t>(w);
        }
        case Kind::Single:
        case Kind::Double:
        case Kind::Date:
            return static_cast<int32_t>(checked_whole(d_, INT32_MIN, INT32_MAX));
        case Kind::Text: {
            if (auto d = parse_number(s_))
                return static_cast<int32_t>(checked_whole(*d, INT32_MIN, INT32_MAX));
            mismatch();
        }
    }
    mismatch();
}

double Value::to_double() const {
    switch (kind_) {
        case Kind::Empty:
            return 0;
        case Kind::Null:
            mismatch();
        case Kind::Boolean:
        case Kind::Byte:
        case Kind::Integer:
        case Kind::Long:
            return static_cast<double>(i_);
        case Kind::Currency:
            return Currency{i_}.to_double();
        case Kind::Single:
        case Kind::Double:
        case Kind::Date:
            return d_;
        case Kind::Text: {
            if (auto d = parse_number(s_)) return *d;
            mismatch();
        }
    }
    mismatch();
}

Currency Value::to_currency() const {
    switch (kind_) {
        case Kind::Empty:
            return Currency{};
        case Kind::Null:
            mismatch();
        case Kind::Boolean:
        case Kind::Byte:
        case Kind::Integer:
        case Kind::Long:
            return Currency{i_ * Currency::kScale};
        case Kind::Currency:
            return Currency{i_};
        case Kind::Single:
        case Kind::Double:
        case Kind::Date:
            return Currency::from_double(d_);
        case Kind::Text: {
            if (auto c = parse_currency(s_)) return *c;
            mismatch();
        }
    }
    mismatch();
}

double Value::to_date() const {
    switch (kind_) {
        case Kind::Text: {
            if (auto d = dates::parse(s_)) return *d;
            if (auto d = parse_number(s_)) return checked_date(*d);
            mismatch();
        }
        case Kind::Date:
            return checked_date(d_);
        default:
            return checked_date(to_double());
    }
}

std::string Value::to_text() const {
    switch (kind_) {
        case Kind::Empty:
            return {};
        case Kind::Null:
            mismatch();
        // VB's CStr of a Boolean. The engine's own text of a Yes/No column is "-1"/"0"
        // (see coerce_to).
        case Kind::Boolean:
            return i_ ? "True" : "False";
        case Kind::Byte:
        case Kind::Integer:
        case Kind::Long:
            return std::to_string(i_);
        case Kind::Currency:
            return currency_text(Currency{i_});
        case Kind::Single:
        case Kind::Double:
            // A number that is no value of its type (infinity, NaN) has no text: it is
            // an overflow.
            if (!in_range(natural_type(), d_)) overflow();
            return kind_ == Kind::Single ? single_text(static_cast<float>(d_)) : double_text(d_);
        case Kind::Date:
            return dates::to_text(checked_date(d_));
        case Kind::Text:
            return s_;
    }
    return {};
}

Value Value::coerce_to(DataType type, int size) const {
    if (kind_ == Kind::Null || kind_ == Kind::Empty) return null();
    // A number that is no value of its own type (infinity, NaN, a date past the ends of
    // the range) fits no column, a Double's included.
    if ((kind_ == Kind::Single || kind_ == Kind::Double || kind_ == Kind::Date) &&
        !in_range(natural_type(), d_))
        overflow();
    switch (type) {
        case DataType::Boolean:
            if (kind_ == Kind::Boolean) return *this;
            return boolean(to_bool());
        case DataType::Byte: {
            if (kind_ == Kind::Byte) return *this;
            int32_t v = to_long();
            if (v < 0 || v > 255) overflow();
            return byte(static_cast<uint8_t>(v));
        }
        case DataType::Integer: {
            if (kind_ == Kind::Integer) return *this;
            int32_t v = to_long();
            if (v < INT16_MIN || v > INT16_MAX) overflow();
            return integer(static_cast<int16_t>(v));
        }
        case DataType::Long:
            if (kind_ == Kind::Long) return *this;
            return long_(to_long());
        case DataType::Currency:
            if (kind_ == Kind::Currency) return *this;
            return currency(to_currency());
        case DataType::Single: {
            if (kind_ == Kind::Single) return *this;
            double d = to_double();
            if (!in_range(DataType::Single, d)) overflow();
            return single(static_cast<float>(d));
        }
        case DataType::Double:
            if (kind_ == Kind::Double) return *this;
            return dbl(to_double());
        case DataType::Date:
            return date(to_date());
        case DataType::Text:
        case DataType::Memo: {
            Value out;
            if (kind_ == Kind::Text) {
                out = *this;
            } else if (kind_ == Kind::Boolean) {
                // Jet keeps a Yes/No value as the number -1/0 in its expressions, so its
                // text in a text column is "-1"/"0", not VB's "True"/"False".
                out = text(i_ ? "-1" : "0");
            } else {
                out = text(to_text());
            }
            if (type == DataType::Text) {
                const size_t limit = size > 0 ? static_cast<size_t>(size) : kMaxTextSize;
                if (out.s_.size() > limit && text::length(out.s_) > limit) raise(Fault::TooLong);
            }
            return out;
        }
    }
    mismatch();
}

DataType Value::natural_type() const {
    switch (kind_) {
        case Kind::Boolean:
            return DataType::Boolean;
        case Kind::Byte:
            return DataType::Byte;
        case Kind::Integer:
            return DataType::Integer;
        case Kind::Long:
            return DataType::Long;
        case Kind::Currency:
            return DataType::Currency;
        case Kind::Single:
            return DataType::Single;
        case Kind::Double:
            return DataType::Double;
        case Kind::Date:
            return DataType::Date;
        case Kind::Empty:
        case Kind::Null:
        case Kind::Text:
            break;
    }
    return DataType::Text;
}

bool operator==(const Value& a, const Value& b) {
    if (a.kind_ != b.kind_) return false;
    switch (a.kind_) {
        case Value::Kind::Empty:
        case Value::Kind::Null:
            return true;
        case Value::Kind::Single:
        case Value::Kind::Double:
        case Value::Kind::Date:
            return a.d_ == b.d_;
        case Value::Kind::Text:
            return a.s_ == b.s_;
        default:
            return a.i_ == b.i_;
    }
}

// ---------------------------------------------------------------------------
// Operators

namespace {

using Kind = Value::Kind;

// Numeric rank of VB's operator type lattice (Empty and Boolean act as Integer).
int rank(Kind k) {
    switch (k) {
        case Kind::Byte:
            return 0;
        case Kind::Empty:
        case Kind::Boolean:
        case Kind::Integer:
            return 1;
        case Kind::Long:
            return 2;
        case Kind::Currency:
            return 3;
        case Kind::Single:
            return 4;
        default:
            return 5;  // Double, Date, text read as a number
    }
}

// The type of an arithmetic result: the wider operand, except that money or a
// Long with a Single gives a Double.
Kind result_kind(Kind a, Kind b) {
    int ra = rank(a), rb = rank(b);
    int r = ra > rb ? ra : rb;
    if (r == 4 && (ra == 2 || rb == 2 || ra == 3 || rb == 3)) r = 5;
    static constexpr Kind kByRank[] = {Kind::Byte,     Kind::Integer, Kind::Long,
                                       Kind::Currency, Kind::Single,  Kind::Double};
    return kByRank[r];
}

// A whole-number result in the narrowest type from `kind` up that holds it; a Long
// that overflows becomes a Double, as VB's Variant arithmetic does.
Value whole_result(Kind kind, __int128 v) {
    if (kind == Kind::Byte && v >= 0 && v <= 255) return Value::byte(static_cast<uint8_t>(v));
    if ((kind == Kind::Byte || kind == Kind::Integer) && v >= INT16_MIN && v <= INT16_MAX)
        return Value::integer(static_cast<int16_t>(v));
    if (v >= INT32_MIN && v <= INT32_MAX) return Value::long_(static_cast<int32_t>(v));
    return Value::dbl(static_cast<double>(v));
}

// An operand of arithmetic: text is read as a number (TypeMismatch when it is not).
Value operand(const Value& v) {
    if (v.is_text()) return Value::dbl(v.to_double());
    return v;
}

__int128 whole_of(const Value& v) {
    return v.is_empty() ? 0 : v.raw_int();
}

Value currency_checked(__int128 scaled) {
    if (scaled > std::numeric_limits<int64_t>::max() ||
        scaled < std::numeric_limits<int64_t>::min())
        overflow();
    return Value::currency(Currency{static_cast<int64_t>(scaled)});
}

Value float_result(Kind kind, double d) {
    if (!std::isfinite(d)) overflow();
    if (kind == Kind::Single && std::fabs(d) <= std::numeric_limits<float>::max())
        return Value::single(static_cast<float>(d));
    return Value::dbl(d);
}

enum class Op { Add, Sub, Mul };

Value arith(const Value& a0, const Value& b0, Op op) {
    if (a0.is_null() || b0.is_null()) return Value::null();
    Value a = operand(a0), b = operand(b0);
    // Dates: date ± number is a date; date - date is a number of days.
    if ((a.kind() == Kind::Date || b.kind() == Kind::Date) && op != Op::Mul) {
        double x = a.to_double(), y = b.to_double();
        double r = op == Op::Add ? x + y : x - y;
        if (op == Op::Sub && a.kind() == Kind::Date && b.kind() == Kind::Date) return Value::dbl(r);
        return Value::date(checked_date(r));
    }
    Kind k = result_kind(a.kind(), b.kind());
    switch (k) {
        case Kind::Byte:
        case Kind::Integer:
        case Kind::Long: {
            __int128 x = whole_of(a), y = whole_of(b);
            __int128 r = op == Op::Add ? x + y : op == Op::Sub ? x - y : x * y;
            return whole_result(k, r);
        }
        case Kind::Currency: {
            __int128 x = a.to_currency().scaled, y = b.to_currency().scaled;
            if (op == Op::Add) return currency_checked(x + y);
            if (op == Op::Sub) return currency_checked(x - y);
            // Product of two scaled values: divide the scale out once, halves to even.
            __int128 p = x * y;
            __int128 q = p / Currency::kScale, r = p % Currency::kScale;
            __int128 ar = r < 0 ? -r : r;
            if (ar > Currency::kScale / 2 || (ar == Currency::kScale / 2 && (q & 1)))
                q += r < 0 ? -1 : 1;
            return currency_checked(q);
        }
        default: {
            double x = a.to_double(), y = b.to_double();
            double r = op == Op::Add ? x + y : op == Op::Sub ? x - y : x * y;
            return float_result(k, r);
        }
    }
}

}  // namespace

Value concat(const Value& a, const Value& b) {
    if (a.is_null() && b.is_null()) return Value::null();
    std::string s = a.is_null() ? std::string() : a.to_text();
    if (!b.is_null()) s += b.is_text() ? b.raw_text() : b.to_text();
    return Value::text(std::move(s));
}

Value add(const Value& a, const Value& b) {
    if (a.is_null() || b.is_null()) return Value::null();
    if ((a.is_text() || a.is_empty()) && (b.is_text() || b.is_empty()) &&
        (a.is_text() || b.is_text()))
        return Value::text(a.to_text() + b.to_text());
    return arith(a, b, Op::Add);
}

Value subtract(const Value& a, const Value& b) {
    return arith(a, b, Op::Sub);
}

Value multiply(const Value& a, const Value& b) {
    return arith(a, b, Op::Mul);
}

Value divide(const Value& a, const Value& b) {
    if (a.is_null() || b.is_null()) return Value::null();
    double y = operand(b).to_double();
    if (y == 0) raise(Fault::DivisionByZero);
    double r = operand(a).to_double() / y;
    if (!std::isfinite(r)) overflow();
    return Value::dbl(r);
}

int compare(const Value& a, const Value& b) {
    if (a.is_null() || b.is_null()) mismatch();
    const bool ta = a.is_text() || a.is_empty(), tb = b.is_text() || b.is_empty();
    if (ta && tb) return text::compare(a.raw_text(), b.raw_text());
    if (a.is_text() || b.is_text()) mismatch();
    auto exact = [](Kind k) {
        return k == Kind::Empty || (k >= Kind::Boolean && k <= Kind::Currency);
    };
    if (exact(a.kind()) && exact(b.kind())) {
        __int128 x = a.kind() == Kind::Currency ? a.raw_int() : whole_of(a) * Currency::kScale;
        __int128 y = b.kind() == Kind::Currency ? b.raw_int() : whole_of(b) * Currency::kScale;
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    double x = a.to_double(), y = b.to_double();
    return x < y ? -1 : (x > y ? 1 : 0);
}

}  // namespace jet
