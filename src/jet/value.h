// VB's value model: one Variant-like type for every value that crosses the engine,
// the recordsets and the program's helpers (Empty, Null, Boolean, Byte, Integer,
// Long, Currency, Single, Double, Date, Text), with VB's conversion, arithmetic and
// concatenation rules under Polish regional settings (decimal comma).
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "jet/dates.h"
#include "jet/types.h"

namespace jet {

// Currency: exact to 4 decimals, kept as a count of ten-thousandths, from
// -922337203685477.5808 to 922337203685477.5807.
struct Currency {
    int64_t scaled = 0;  // value * 10000

    static constexpr int64_t kScale = 10000;
    // The doubles nearest the range's ends, which stand for the ends (they lie a
    // little past them), and the largest double within the range: what a Currency
    // column keeps at most.
    static constexpr double kDoubleLimit = 922337203685477.625;
    static constexpr double kDoubleMax = 922337203685477.5;
    static Currency from_scaled(int64_t s) { return Currency{s}; }
    // The money value of a double: its exact value rounded to 4 decimals, halves to
    // even (VB's CCur), except that below 1E10, where the double's 15 significant
    // digits reach past the 4th decimal, a half is judged on those digits, so that
    // 0.00005 is a half. A double up to kDoubleLimit past the range is the range's
    // end. Raises Overflow beyond that, for infinity and for NaN.
    static Currency from_double(double d);
    // The double nearest to the value, never past the range's ends (so never past
    // kDoubleMax). from_double gives the value back wherever the double holds its
    // digits: every whole value, every value below 2^39 (about 5.5E11) and most below
    // 9E11.
    double to_double() const {
        constexpr int64_t kExact = int64_t{1} << 53;  // every count up to it is a double
        if (scaled > -kExact && scaled < kExact) return static_cast<double>(scaled) / kScale;
        return wide_to_double();
    }
    friend bool operator==(Currency a, Currency b) { return a.scaled == b.scaled; }
    friend auto operator<=>(Currency a, Currency b) { return a.scaled <=> b.scaled; }

  private:
    double wide_to_double() const;
};

// A date: days since 30 December 1899, the time of day as the fraction (VB's Date).
struct DateSerial {
    double days = 0;
    friend bool operator==(DateSerial a, DateSerial b) { return a.days == b.days; }
};

// True when the number d is a value of the type: a Double is any finite number, a
// Single one within a Single's range, a Date one within dates::in_range, Currency one
// that from_double takes (up to Currency::kDoubleLimit either way); a whole-number
// type any finite number (its own range is checked where it is converted). False for
// infinity and NaN whatever the type. The engine stores, reads and compares only
// numbers that are values of their type: one that is not is an overflow.
inline bool in_range(DataType type, double d) {
    switch (type) {
        case DataType::Single:
            return std::fabs(d) <= static_cast<double>(std::numeric_limits<float>::max());
        case DataType::Date:
            return dates::in_range(d);
        case DataType::Currency:
            return std::fabs(d) <= Currency::kDoubleLimit;
        default:
            return std::isfinite(d);
    }
}

class Value {
  public:
    enum class Kind : uint8_t {
        Empty,
        Null,
        Boolean,
        Byte,
        Integer,
        Long,
        Currency,
        Single,
        Double,
        Date,
        Text
    };

    Value() = default;  // Empty
    static Value null();
    static Value boolean(bool b);
    static Value byte(uint8_t v);
    static Value integer(int16_t v);
    static Value long_(int32_t v);
    static Value currency(Currency c);
    static Value single(float v);
    static Value dbl(double v);
    static Value date(double serial);
    static Value text(std::string s);

    Kind kind() const { return kind_; }
    bool is_empty() const { return kind_ == Kind::Empty; }
    bool is_null() const { return kind_ == Kind::Null; }
    bool is_text() const { return kind_ == Kind::Text; }
    bool is_numeric() const;  // Boolean..Double (Date not included)

    // Raw access; the kind must match (Boolean is stored as -1/0 in i_).
    int64_t raw_int() const { return i_; }
    double raw_double() const { return d_; }
    const std::string& raw_text() const { return s_; }

    // VB's conversions (CBool, CLng, CDbl, CCur, CDate, CStr). Null raises
    // "Invalid use of Null" (a TypeMismatch), a text that does not convert raises
    // TypeMismatch, out of range raises Overflow (a date outside dates::in_range, the
    // text of an infinite number). Text is read under Polish settings: decimal comma,
    // day-first dates.
    bool to_bool() const;
    int32_t to_long() const;  // halves to even
    double to_double() const;
    Currency to_currency() const;
    double to_date() const;
    std::string to_text() const;  // Empty -> ""; numbers with the decimal comma

    // Stores this value into a column of the given type and size (text: characters),
    // as the engine does on INSERT and UPDATE: loose conversion (number <-> text with
    // the decimal comma, text -> date day first, text -> number when it is one),
    // money rounded to 4 decimals (halves to even), Single rounded to 4-byte
    // precision, Yes/No as -1/0 (any non-zero number is -1). Null stays Null.
    // Raises TooLong (text longer than size), TypeMismatch, Overflow (also for an
    // infinite number or NaN into any column, and a date outside the range).
    Value coerce_to(DataType type, int size) const;

    // The Jet type that this value naturally has (Text for Text, Double for Double, ...).
    DataType natural_type() const;

    friend bool operator==(const Value& a, const Value& b);  // same kind and same content

  private:
    Kind kind_ = Kind::Empty;
    int64_t i_ = 0;  // Boolean (-1/0), Byte, Integer, Long, Currency (scaled)
    double d_ = 0;   // Single, Double, Date
    std::string s_;  // Text
};

// VB operators on values: Null propagates except for `&`, which treats Null as "".
Value concat(const Value& a, const Value& b);  // a & b
Value add(const Value& a, const Value& b);     // a + b (text + text concatenates)
Value subtract(const Value& a, const Value& b);
Value multiply(const Value& a, const Value& b);
Value divide(const Value& a, const Value& b);  // always floating; by zero raises

// Number <-> text under Polish regional settings, shared by the conversions and the
// functions. parse_number reads what VB's CDbl reads: blanks around, a sign, digits
// with blanks or no-break spaces between thousands groups, a decimal comma, an
// exponent (E or D), or a "&H"/"&O" number; nullopt for anything else ("1.5" is not
// a number here). The text forms are VB's CStr: 15 significant digits for Double,
// 7 for Single, exponent form outside that ("1E+16", "1E-05"), the decimal comma;
// money without trailing zeros ("6,46", "2").
std::optional<double> parse_number(std::string_view s);
// The exact money value of a number text (rounded to 4 decimals, halves to even);
// nullopt when it is not a number, raises Overflow out of the Currency range.
std::optional<Currency> parse_currency(std::string_view s);
std::string double_text(double d);
std::string single_text(float f);
std::string currency_text(Currency c);

// Jet's comparison of two non-Null values: <0, 0, >0; text without regard to case
// (Polish order); text against a number raises TypeMismatch.
int compare(const Value& a, const Value& b);

}  // namespace jet
