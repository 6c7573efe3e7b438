#include "db/nz.h"

#include <cctype>
#include <cstdlib>
#include <limits>

#include "jet/error.h"
#include "jet/text.h"

using jet::Currency;
using jet::Value;

namespace {

// VB's Val: the leading number of a text, blanks, tabs and line feeds skipped anywhere,
// "." as the decimal point, an exponent E or D; 0 when there is none.
double val(std::string_view s) {
    std::string t;
    for (char c : s)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') t += c;
    size_t i = 0;
    std::string num;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) num += t[i++];
    bool digits = false;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])))
        num += t[i++], digits = true;
    if (i < t.size() && t[i] == '.') {
        num += t[i++];
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])))
            num += t[i++], digits = true;
    }
    if (!digits) return 0;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E' || t[i] == 'd' || t[i] == 'D')) {
        std::string e = "e";
        size_t j = i + 1;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) e += t[j++];
        size_t k = j;
        while (k < t.size() && std::isdigit(static_cast<unsigned char>(t[k]))) e += t[k++];
        if (k > j) num += e;
    }
    return std::strtod(num.c_str(), nullptr);
}

// The number of a value as VB's IsNumeric/CCur or Val read it: numbers (Empty as 0)
// and number texts directly, other texts and dates by their leading number.
Currency money_of(const Value& v) {
    if (v.is_numeric() || v.is_empty()) return v.to_currency();
    std::string text = v.is_text() ? v.raw_text() : v.to_text();
    if (auto c = jet::parse_currency(text)) return *c;
    return Currency::from_double(val(text));
}

// Rounds ten-thousandths to hundredths, halves to even.
int64_t round_to_cents(int64_t scaled) {
    int64_t q = scaled / 100, r = scaled % 100;
    if (r > 50 || (r == 50 && q % 2 != 0)) ++q;
    if (r < -50 || (r == -50 && q % 2 != 0)) --q;
    return q * 100;
}

}  // namespace

Currency NzCur(const Value& v) {
    int64_t m = 0;
    try {
        if (!v.is_null()) m = money_of(v).scaled;
    } catch (const jet::Error&) {
        m = 0;
    }
    if (m == std::numeric_limits<int64_t>::max() || m == std::numeric_limits<int64_t>::min())
        return Currency{};  // the nudge would overflow: absorbed like any failed conversion
    m += m > 0 ? 1 : -1;
    return Currency{round_to_cents(m)};
}

int32_t NzLng(const Value& v) {
    try {
        if (v.is_null()) return 0;
        if (v.is_numeric() || v.is_empty()) return v.to_long();
        std::string text = v.is_text() ? v.raw_text() : v.to_text();
        if (jet::parse_number(text)) return Value::text(text).to_long();
        return Value::dbl(val(text)).to_long();
    } catch (const jet::Error&) {
        return 0;
    }
}

std::string NzKwota_Tekst(const Value& v, std::string_view zero_text) {
    int64_t m = NzCur(v).scaled;
    if (m == 0 && !zero_text.empty()) return std::string(zero_text);
    uint64_t a = m < 0 ? 0 - static_cast<uint64_t>(m) : static_cast<uint64_t>(m);
    uint64_t cents = a / 100;
    std::string frac = std::to_string(cents % 100);
    if (frac.size() < 2) frac.insert(0, "0");
    return (m < 0 ? "-" : "") + std::to_string(cents / 100) + "," + frac;
}

std::string NzStr(const Value& v) {
    try {
        return v.is_null() ? std::string() : v.to_text();
    } catch (const jet::Error&) {
        return {};
    }
}

std::string NzStr_Dl(const Value& v, int16_t max_len) {
    std::string s = NzStr(v);
    if (max_len < 0) return {};
    if (max_len > 0) s.resize(jet::text::offset_of_char(s, static_cast<size_t>(max_len)));
    return s;
}

std::string NzStr_Spacja(const Value& v) {
    std::string s = NzStr(v);
    return s.empty() ? " " : s;
}
