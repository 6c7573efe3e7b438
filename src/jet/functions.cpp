#include "jet/functions.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

#include "jet/dates.h"
#include "jet/error.h"
#include "jet/text.h"

namespace jet::fn {

using Kind = Value::Kind;

void invalid_call() {
    throw Error(hr::Unspecified, "Invalid procedure call or argument");
}

// ---------------------------------------------------------------------------
// Decimal digits of numbers

namespace {

// A decimal number: |value| = 0.d1d2d3... * 10^point.
struct Decimal {
    bool negative = false;
    std::string digits;  // no leading zeros; empty for zero
    int point = 0;
};

Decimal decimal_of_double(double x) {
    Decimal d;
    d.negative = x < 0;
    if (x == 0 || !std::isfinite(x)) return d;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(x));  // 15 significant digits
    d.digits.push_back(buf[0]);
    char* p = buf + 2;
    while (*p >= '0' && *p <= '9') d.digits.push_back(*p++);
    d.point = std::atoi(p + 1) + 1;
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    return d;
}

Decimal decimal_of_currency(Currency c) {
    Decimal d;
    d.negative = c.scaled < 0;
    uint64_t a = d.negative ? 0 - static_cast<uint64_t>(c.scaled) : static_cast<uint64_t>(c.scaled);
    if (a == 0) return d;
    d.digits = std::to_string(a);
    d.point = static_cast<int>(d.digits.size()) - 4;
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    return d;
}

// Rounds to `decimals` places: halves away from zero (Format) or to even (Round).
void round_decimal(Decimal& d, int decimals, bool halves_to_even) {
    const int keep = d.point + decimals;
    if (keep >= static_cast<int>(d.digits.size())) return;
    if (keep < 0) {
        d.digits.clear();
        d.point = 0;
        return;
    }
    const char next = d.digits[static_cast<size_t>(keep)];
    bool up = next >= '5';
    if (halves_to_even && next == '5' && d.digits.size() == static_cast<size_t>(keep) + 1) {
        const char last = keep > 0 ? d.digits[static_cast<size_t>(keep) - 1] : '0';
        up = (last - '0') % 2 == 1;
    }
    d.digits.resize(static_cast<size_t>(keep));
    if (up) {
        int k = keep - 1;
        while (k >= 0 && d.digits[static_cast<size_t>(k)] == '9')
            d.digits[static_cast<size_t>(k--)] = '0';
        if (k >= 0) {
            ++d.digits[static_cast<size_t>(k)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.point;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) d.point = 0;
}

double double_of_decimal(const Decimal& d) {
    if (d.digits.empty()) return 0.0;
    std::string s = d.digits + "e" + std::to_string(d.point - static_cast<int>(d.digits.size()));
    double x = std::strtod(s.c_str(), nullptr);
    return d.negative ? -x : x;
}

}  // namespace

// ---------------------------------------------------------------------------
// Round

double round_double(double x, int digits) {
    if (!std::isfinite(x)) return x;
    Decimal d = decimal_of_double(x);
    if (d.point + digits >= static_cast<int>(d.digits.size())) return x;
    round_decimal(d, digits, true);
    return double_of_decimal(d);
}

Currency round_currency(Currency c, int digits) {
    if (digits >= 4) return c;
    int64_t unit = 1;
    for (int k = digits; k < 4; ++k) unit *= 10;
    int64_t q = c.scaled / unit, r = c.scaled % unit;
    int64_t ar = r < 0 ? -r : r;
    if (ar * 2 > unit || (ar * 2 == unit && (q & 1))) q += r < 0 ? -1 : 1;
    return Currency{q * unit};
}

namespace {

// Applies a rounding keeping the value's type: on_double for the floating kinds and
// text (read as a Double), on_money for Currency; whole numbers stay as they are.
template <typename D, typename M>
Value keep_type(const Value& v, D on_double, M on_money) {
    switch (v.kind()) {
        case Kind::Null:
            return v;
        case Kind::Empty:
            return Value::integer(0);
        case Kind::Boolean:
            return Value::integer(static_cast<int16_t>(v.raw_int()));
        case Kind::Byte:
        case Kind::Integer:
        case Kind::Long:
            return v;
        case Kind::Currency:
            return Value::currency(on_money(Currency{v.raw_int()}));
        case Kind::Single:
            return Value::single(static_cast<float>(on_double(v.raw_double())));
        case Kind::Date:
            return Value::date(on_double(v.raw_double()));
        case Kind::Double:
        case Kind::Text:
            break;
    }
    return Value::dbl(on_double(v.to_double()));
}

}  // namespace

Value round(const Value& x, int digits) {
    if (digits < 0) invalid_call();
    return keep_type(
        x, [&](double d) { return round_double(d, digits); },
        [&](Currency c) { return round_currency(c, digits); });
}

// ---------------------------------------------------------------------------
// Format: numbers

namespace {

// One section of a number format.
struct NumberFormat {
    std::string prefix, suffix;
    int int_zeros = 0;
    bool grouping = false, point = false, percent = false;
    int dec_zeros = 0, dec_places = 0;
};

// Splits a format into its ';' sections (quotes and backslash escapes respected).
std::vector<std::string_view> sections(std::string_view fmt) {
    std::vector<std::string_view> out;
    size_t start = 0;
    bool quoted = false;
    for (size_t i = 0; i < fmt.size(); ++i) {
        char c = fmt[i];
        if (c == '"')
            quoted = !quoted;
        else if (c == '\\' && !quoted)
            ++i;
        else if (c == ';' && !quoted) {
            out.push_back(fmt.substr(start, i - start));
            start = i + 1;
        }
    }
    out.push_back(fmt.substr(start));
    return out;
}

NumberFormat parse_number_format(std::string_view f) {
    NumberFormat nf;
    bool seen_digit = false, after_digits = false;
    auto literal = [&](std::string_view s) { (seen_digit ? nf.suffix : nf.prefix).append(s); };
    for (size_t i = 0; i < f.size(); ++i) {
        char c = f[i];
        if (c == '0' || c == '#') {
            seen_digit = true;
            if (after_digits) continue;  // placeholders after a literal: one run only
            if (nf.point) {
                ++nf.dec_places;
                if (c == '0') nf.dec_zeros = nf.dec_places;
            } else if (c == '0') {
                ++nf.int_zeros;
            }
        } else if (c == '.' && !nf.point && !after_digits) {
            nf.point = true;
            seen_digit = true;
        } else if (c == ',' && seen_digit && !nf.point && !after_digits) {
            nf.grouping = true;
        } else if (c == '"') {
            size_t end = f.find('"', i + 1);
            if (end == std::string_view::npos) end = f.size();
            literal(f.substr(i + 1, end - i - 1));
            if (seen_digit) after_digits = true;
            i = end;
        } else if (c == '\\' && i + 1 < f.size()) {
            literal(f.substr(++i, 1));
            if (seen_digit) after_digits = true;
        } else {
            if (c == '%') nf.percent = true;
            literal(f.substr(i, 1));
            if (seen_digit) after_digits = true;
        }
    }
    return nf;
}

std::string render_number(Decimal d, const NumberFormat& nf, bool show_sign) {
    round_decimal(d, nf.dec_places, false);
    std::string int_part;
    for (int k = 0; k < d.point; ++k)
        int_part.push_back(k < static_cast<int>(d.digits.size()) ? d.digits[static_cast<size_t>(k)]
                                                                 : '0');
    while (static_cast<int>(int_part.size()) < nf.int_zeros) int_part.insert(int_part.begin(), '0');
    if (nf.grouping && int_part.size() > 3) {
        std::string g;
        const size_t n = int_part.size();
        for (size_t k = 0; k < n; ++k) {
            if (k > 0 && (n - k) % 3 == 0) g += "\u00a0";
            g.push_back(int_part[k]);
        }
        int_part = std::move(g);
    }
    std::string frac;
    for (int k = 0; k < nf.dec_places; ++k) {
        int idx = d.point + k;
        frac.push_back(idx >= 0 && idx < static_cast<int>(d.digits.size())
                           ? d.digits[static_cast<size_t>(idx)]
                           : '0');
    }
    while (static_cast<int>(frac.size()) > nf.dec_zeros && !frac.empty() && frac.back() == '0')
        frac.pop_back();
    std::string out;
    if (show_sign && d.negative) out.push_back('-');
    out += nf.prefix;
    out += int_part;
    if (nf.point) out.push_back(',');
    out += frac;
    out += nf.suffix;
    return out;
}

std::string format_number(const Value& v, std::string_view fmt) {
    Decimal d;
    double x;
    if (v.kind() == Kind::Currency) {
        x = v.to_double();
        d = decimal_of_currency(v.to_currency());
    } else {
        x = v.to_double();
        d = decimal_of_double(x);
    }
    auto secs = sections(fmt);
    size_t which = 0;
    if (x < 0 && secs.size() >= 2)
        which = 1;
    else if (x == 0 && secs.size() >= 3)
        which = 2;
    NumberFormat nf = parse_number_format(secs[which]);
    if (nf.percent) d = decimal_of_double(x * 100);
    return render_number(std::move(d), nf, which == 0);
}

// ---------------------------------------------------------------------------
// Format: dates

constexpr const char* kMonths[] = {"styczeń",  "luty",        "marzec",   "kwiecień",
                                   "maj",      "czerwiec",    "lipiec",   "sierpień",
                                   "wrzesień", "październik", "listopad", "grudzień"};
constexpr const char* kMonthsShort[] = {"sty", "lut", "mar", "kwi", "maj", "cze",
                                        "lip", "sie", "wrz", "paź", "lis", "gru"};
constexpr const char* kDays[] = {"niedziela", "poniedziałek", "wtorek", "środa",
                                 "czwartek",  "piątek",       "sobota"};
constexpr const char* kDaysShort[] = {"N", "Pn", "Wt", "Śr", "Cz", "Pt", "So"};

char lower_ascii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool is_date_letter(char c) {
    c = lower_ascii(c);
    return c == 'd' || c == 'm' || c == 'y' || c == 'h' || c == 'n' || c == 's' || c == 'q' ||
           c == 'w';
}

struct DateToken {
    char letter = 0;  // lower case; 0 for literal text
    int count = 0;
    std::string literal;
};

std::vector<DateToken> date_tokens(std::string_view f) {
    std::vector<DateToken> out;
    auto lit = [&](std::string_view s) {
        if (out.empty() || out.back().letter) out.push_back(DateToken{});
        out.back().literal.append(s);
    };
    for (size_t i = 0; i < f.size(); ++i) {
        char c = f[i];
        if (is_date_letter(c)) {
            char l = lower_ascii(c);
            int n = 0;
            while (i < f.size() && lower_ascii(f[i]) == l) ++n, ++i;
            --i;
            out.push_back(DateToken{l, n, {}});
        } else if (c == '"') {
            size_t end = f.find('"', i + 1);
            if (end == std::string_view::npos) end = f.size();
            lit(f.substr(i + 1, end - i - 1));
            i = end;
        } else if (c == '\\' && i + 1 < f.size()) {
            lit(f.substr(++i, 1));
        } else if (c == '/') {
            lit("-");  // the Polish date separator
        } else {
            lit(f.substr(i, 1));
        }
    }
    return out;
}

std::string two(int v) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", v);
    return b;
}

std::string format_date(double serial, std::string_view fmt) {
    dates::Parts p = dates::from_serial(serial);
    auto toks = date_tokens(fmt);
    // Weekday: 30 December 1899 was a Saturday. The day's number is that of the
    // calendar day shown (a serial before that day counts its time forward).
    const auto day_no = static_cast<int64_t>(*dates::to_serial(p.year, p.month, p.day));
    const int weekday = static_cast<int>(((day_no + 6) % 7 + 7) % 7);  // 0 = Sunday
    std::string out;
    int prev_letter = 0;
    for (size_t k = 0; k < toks.size(); ++k) {
        const DateToken& t = toks[k];
        if (!t.letter) {
            out += t.literal;
            continue;
        }
        char l = t.letter;
        if (l == 'm' && t.count <= 2) {
            char next = 0;
            for (size_t j = k + 1; j < toks.size() && !next; ++j) next = toks[j].letter;
            if (prev_letter == 'h' || next == 's') l = 'n';
        }
        const int n = t.count;
        switch (l) {
            case 'd':
                if (n == 1)
                    out += std::to_string(p.day);
                else if (n == 2)
                    out += two(p.day);
                else if (n == 3)
                    out += kDaysShort[weekday];
                else if (n == 4)
                    out += kDays[weekday];
                else
                    out += dates::to_text(static_cast<double>(day_no));
                break;
            case 'm':
                if (n == 1)
                    out += std::to_string(p.month);
                else if (n == 2)
                    out += two(p.month);
                else if (n == 3)
                    out += kMonthsShort[p.month - 1];
                else
                    out += kMonths[p.month - 1];
                break;
            case 'y':
                if (n == 1) {
                    auto jan1 = dates::to_serial(p.year, 1, 1);
                    out += std::to_string(static_cast<int>(day_no - *jan1) + 1);
                } else if (n <= 3) {
                    out += two(p.year % 100);
                } else {
                    char b[8];
                    std::snprintf(b, sizeof b, "%04d", p.year);
                    out += b;
                }
                break;
            case 'h':
                out += n == 1 ? std::to_string(p.hour) : two(p.hour);
                break;
            case 'n':
                out += n == 1 ? std::to_string(p.minute) : two(p.minute);
                break;
            case 's':
                out += n == 1 ? std::to_string(p.second) : two(p.second);
                break;
            case 'q':
                out += std::to_string((p.month - 1) / 3 + 1);
                break;
            case 'w':
                out += std::to_string(weekday + 1);
                break;
        }
        prev_letter = l;
    }
    return out;
}

enum class FormatKind { Number, Date, Other };

FormatKind kind_of_format(std::string_view f) {
    bool date = false;
    bool quoted = false;
    for (size_t i = 0; i < f.size(); ++i) {
        char c = f[i];
        if (c == '"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == '\\')
            ++i;
        else if (c == '0' || c == '#')
            return FormatKind::Number;
        else if (is_date_letter(c))
            date = true;
    }
    return date ? FormatKind::Date : FormatKind::Other;
}

}  // namespace

Value format(const Value& v, std::string_view fmt) {
    if (v.is_null()) return v;
    if (v.is_empty()) return Value::text("");
    // A number that is no value of its type (infinity, NaN, a date past the ends of the
    // range) has no text in any format: an overflow, as CStr.
    if ((v.kind() == Kind::Double || v.kind() == Kind::Single || v.kind() == Kind::Date) &&
        !in_range(v.natural_type(), v.raw_double()))
        raise(Fault::Overflow);
    if (fmt.empty()) return Value::text(v.to_text());
    switch (kind_of_format(fmt)) {
        case FormatKind::Number:
            if (v.is_text() && !parse_number(v.raw_text())) return v;
            return Value::text(format_number(v, fmt));
        case FormatKind::Date: {
            double serial;
            if (v.is_text()) {
                auto d = dates::parse(v.raw_text());
                if (!d) {
                    auto n = parse_number(v.raw_text());
                    if (!n || !dates::in_range(*n)) return v;
                    d = n;
                }
                serial = *d;
            } else {
                serial = v.to_double();
                if (!dates::in_range(serial)) raise(Fault::Overflow);
            }
            return Value::text(format_date(serial, fmt));
        }
        case FormatKind::Other:
            break;
    }
    return Value::text(v.to_text());
}

// ---------------------------------------------------------------------------
// Val

double val(std::string_view s) {
    size_t i = 0;
    auto skip = [&] {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n')) ++i;
    };
    auto peek = [&]() -> char {
        skip();
        return i < s.size() ? s[i] : '\0';
    };
    if (peek() == '&' && i + 1 < s.size()) {
        ++i;
        char r = lower_ascii(peek());
        int radix = r == 'h' ? 16 : r == 'o' ? 8 : 0;
        if (radix == 0) return 0;
        ++i;
        uint64_t v = 0;
        int n = 0;
        for (;;) {
            char c = lower_ascii(peek());
            int d = (c >= '0' && c <= '9') ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : 99;
            if (d >= radix) break;
            v = v * static_cast<uint64_t>(radix) + static_cast<uint64_t>(d);
            if (v > 0xFFFFFFFFu) raise(Fault::Overflow);
            ++n;
            ++i;
        }
        if (n == 0) return 0;
        if (v <= 0xFFFF && (radix == 16 ? n <= 4 : n <= 6))
            return static_cast<int16_t>(static_cast<uint16_t>(v));
        return static_cast<int32_t>(static_cast<uint32_t>(v));
    }
    bool negative = false;
    if (peek() == '-' || peek() == '+') {
        negative = s[i] == '-';
        ++i;
    }
    std::string digits;
    int exp10 = 0;
    bool point = false;
    for (;;) {
        char c = peek();
        if (c >= '0' && c <= '9') {
            if (!(digits.empty() && c == '0')) {
                if (digits.size() < 40) {
                    digits.push_back(c);
                    if (point) --exp10;
                } else if (!point) {
                    ++exp10;
                }
            } else if (point) {
                --exp10;
            }
            ++i;
        } else if (c == '.' && !point) {
            point = true;
            ++i;
        } else {
            break;
        }
    }
    char c = lower_ascii(peek());
    if (c == 'e' || c == 'd') {
        size_t save = i;
        ++i;
        bool eneg = false;
        if (peek() == '-' || peek() == '+') eneg = s[i++] == '-';
        if (peek() >= '0' && peek() <= '9') {
            int e = 0;
            while (peek() >= '0' && peek() <= '9') {
                if (e < 100000) e = e * 10 + (s[i] - '0');
                ++i;
            }
            exp10 += eneg ? -e : e;
        } else {
            i = save;
        }
    }
    if (digits.empty()) return 0;
    digits += "e" + std::to_string(exp10);
    double d = std::strtod(digits.c_str(), nullptr);
    if (!std::isfinite(d)) raise(Fault::Overflow);
    return negative ? -d : d;
}

Value val(const Value& v) {
    if (v.is_null()) return v;
    if (v.is_text()) return Value::dbl(val(v.raw_text()));
    return Value::dbl(val(v.to_text()));
}

// ---------------------------------------------------------------------------
// Text functions

std::string_view ltrim_view(std::string_view s) {
    size_t i = s.find_first_not_of(' ');
    return i == std::string_view::npos ? std::string_view() : s.substr(i);
}

std::string_view rtrim_view(std::string_view s) {
    size_t i = s.find_last_not_of(' ');
    return i == std::string_view::npos ? std::string_view() : s.substr(0, i + 1);
}

std::string_view trim_view(std::string_view s) {
    return rtrim_view(ltrim_view(s));
}

namespace {

// The text argument of a text function: Null stays Null (nullopt), others are their CStr.
template <typename F>
Value on_text(const Value& v, F f) {
    if (v.is_null()) return v;
    if (v.is_text()) return Value::text(std::string(f(std::string_view(v.raw_text()))));
    std::string s = v.to_text();
    return Value::text(std::string(f(std::string_view(s))));
}

}  // namespace

Value trim(const Value& v) {
    return on_text(v, trim_view);
}
Value ltrim(const Value& v) {
    return on_text(v, ltrim_view);
}
Value rtrim(const Value& v) {
    return on_text(v, rtrim_view);
}

std::string_view mid_view(std::string_view s, int64_t start, std::optional<int64_t> length) {
    if (start < 1 || (length && *length < 0)) invalid_call();
    size_t from = text::offset_of_char(s, static_cast<size_t>(start - 1));
    std::string_view rest = s.substr(from);
    if (!length) return rest;
    return rest.substr(0, text::offset_of_char(rest, static_cast<size_t>(*length)));
}

std::string_view left_view(std::string_view s, int64_t n) {
    if (n < 0) invalid_call();
    return s.substr(0, text::offset_of_char(s, static_cast<size_t>(n)));
}

std::string_view right_view(std::string_view s, int64_t n) {
    if (n < 0) invalid_call();
    const size_t chars = text::length(s);
    if (static_cast<size_t>(n) >= chars) return s;
    return s.substr(text::offset_of_char(s, chars - static_cast<size_t>(n)));
}

Value mid(const Value& s, int64_t start, std::optional<int64_t> length) {
    return on_text(s, [&](std::string_view t) { return mid_view(t, start, length); });
}

Value left(const Value& s, int64_t n) {
    return on_text(s, [&](std::string_view t) { return left_view(t, n); });
}

Value right(const Value& s, int64_t n) {
    return on_text(s, [&](std::string_view t) { return right_view(t, n); });
}

Value len(const Value& s) {
    if (s.is_null()) return s;
    if (s.is_text()) return Value::long_(static_cast<int32_t>(text::length(s.raw_text())));
    return Value::long_(static_cast<int32_t>(text::length(s.to_text())));
}

Value ucase(const Value& s) {
    return on_text(s, [](std::string_view t) { return text::upper(t); });
}

Value lcase(const Value& s) {
    return on_text(s, [](std::string_view t) { return text::lower(t); });
}

// ---------------------------------------------------------------------------
// Dates

namespace {

template <typename F>
Value date_part(const Value& d, F f) {
    if (d.is_null()) return d;
    return Value::integer(static_cast<int16_t>(f(dates::from_serial(d.to_date()))));
}

}  // namespace

Value year(const Value& d) {
    return date_part(d, [](const dates::Parts& p) { return p.year; });
}
Value month(const Value& d) {
    return date_part(d, [](const dates::Parts& p) { return p.month; });
}
Value day(const Value& d) {
    return date_part(d, [](const dates::Parts& p) { return p.day; });
}

// ---------------------------------------------------------------------------
// Conversions

Value cstr(const Value& v) {
    return Value::text(v.is_text() ? v.raw_text() : v.to_text());
}
Value clng(const Value& v) {
    return Value::long_(v.to_long());
}
Value cint(const Value& v) {
    int32_t x = v.to_long();
    if (x < INT16_MIN || x > INT16_MAX) raise(Fault::Overflow);
    return Value::integer(static_cast<int16_t>(x));
}
Value cdbl(const Value& v) {
    return Value::dbl(v.to_double());
}
Value ccur(const Value& v) {
    return Value::currency(v.to_currency());
}
Value cdate(const Value& v) {
    return Value::date(v.to_date());
}

// ---------------------------------------------------------------------------
// Numbers

Value int_(const Value& v) {
    return keep_type(
        v, [](double d) { return std::floor(d); },
        [](Currency c) {
            int64_t q = c.scaled / Currency::kScale;
            if (c.scaled % Currency::kScale < 0) --q;
            return Currency{q * Currency::kScale};
        });
}

Value fix(const Value& v) {
    return keep_type(
        v, [](double d) { return std::trunc(d); },
        [](Currency c) { return Currency{c.scaled / Currency::kScale * Currency::kScale}; });
}

Value abs(const Value& v) {
    switch (v.kind()) {
        case Kind::Null:
            return v;
        case Kind::Empty:
            return Value::integer(0);
        case Kind::Boolean:
        case Kind::Integer: {
            int64_t a = v.raw_int() < 0 ? -v.raw_int() : v.raw_int();
            if (a > INT16_MAX) return Value::long_(static_cast<int32_t>(a));
            return Value::integer(static_cast<int16_t>(a));
        }
        case Kind::Byte:
            return v;
        case Kind::Long: {
            int64_t a = v.raw_int() < 0 ? -v.raw_int() : v.raw_int();
            if (a > INT32_MAX) return Value::dbl(static_cast<double>(a));
            return Value::long_(static_cast<int32_t>(a));
        }
        case Kind::Currency: {
            if (v.raw_int() == std::numeric_limits<int64_t>::min()) raise(Fault::Overflow);
            return Value::currency(Currency{v.raw_int() < 0 ? -v.raw_int() : v.raw_int()});
        }
        case Kind::Single:
            return Value::single(std::fabs(static_cast<float>(v.raw_double())));
        case Kind::Date:
            return Value::date(std::fabs(v.raw_double()));
        case Kind::Double:
        case Kind::Text:
            break;
    }
    return Value::dbl(std::fabs(v.to_double()));
}

Value nz(const Value& v, const Value& other) {
    return v.is_null() ? other : v;
}

// ---------------------------------------------------------------------------
// Like

namespace {

// Decodes the code point at s[i] and advances i (invalid bytes stand for themselves).
char32_t next_cp(std::string_view s, size_t& i) {
    auto c = static_cast<unsigned char>(s[i++]);
    if (c < 0x80) return c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    char32_t cp = c & (0x3F >> extra);
    for (int k = 0; k < extra && i < s.size(); ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    return cp;
}

std::u32string code_points(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) out.push_back(next_cp(s, i));
    return out;
}

// Matches one character against the single-character pattern item at p[pi]
// (?, #, [list] or a literal); advances pi past the item. False when the pattern
// item is malformed.
bool item_matches(const std::u32string& p, size_t& pi, char32_t c, bool& ok) {
    char32_t pc = p[pi];
    ok = true;
    if (pc == U'?') {
        ++pi;
        return true;
    }
    if (pc == U'#') {
        ++pi;
        return c >= U'0' && c <= U'9';
    }
    if (pc != U'[') {
        ++pi;
        return pc == c;
    }
    size_t j = pi + 1;
    bool negate = false;
    if (j < p.size() && p[j] == U'!') negate = true, ++j;
    bool hit = false;
    bool first = true;
    while (j < p.size() && (p[j] != U']' || first)) {
        first = false;
        char32_t lo = p[j], hi = lo;
        if (j + 2 < p.size() && p[j + 1] == U'-' && p[j + 2] != U']') {
            hi = p[j + 2];
            j += 3;
        } else {
            ++j;
        }
        if (c >= lo && c <= hi) hit = true;
    }
    if (j >= p.size()) {
        ok = false;
        return false;
    }
    pi = j + 1;
    return hit != negate;
}

}  // namespace

bool like(std::string_view text_in, std::string_view pattern_in) {
    const std::u32string t = code_points(text::fold(text_in));
    const std::u32string p = code_points(text::fold(pattern_in));
    size_t ti = 0, pi = 0;
    size_t star_p = std::u32string::npos, star_t = 0;
    while (ti < t.size()) {
        if (pi < p.size() && p[pi] == U'*') {
            star_p = ++pi;
            star_t = ti;
            continue;
        }
        if (pi < p.size()) {
            size_t next = pi;
            bool ok;
            if (item_matches(p, next, t[ti], ok)) {
                pi = next;
                ++ti;
                continue;
            }
            if (!ok) raise(Fault::SyntaxInExpression, "LIKE");
        }
        if (star_p == std::u32string::npos) return false;
        pi = star_p;
        ti = ++star_t;
    }
    while (pi < p.size() && p[pi] == U'*') ++pi;
    return pi == p.size();
}

}  // namespace jet::fn
