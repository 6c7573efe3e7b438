#include "db/nz.h"

#include <limits>

#include "jet/error.h"
#include "jet/functions.h"

using jet::Currency;
using jet::Value;

namespace {

// The number of a value as VB's IsNumeric/CCur or Val read it: numbers (Empty as 0)
// and number texts directly, other texts and dates by their leading number.
Currency money_of(const Value& v) {
    if (v.is_numeric() || v.is_empty()) return v.to_currency();
    std::string text = v.is_text() ? v.raw_text() : v.to_text();
    if (auto c = jet::parse_currency(text)) return *c;
    return Currency::from_double(jet::fn::val(text));
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
    return jet::fn::round_currency(Currency{m}, 2);
}

int32_t NzLng(const Value& v) {
    try {
        if (v.is_null()) return 0;
        if (v.is_numeric() || v.is_empty()) return v.to_long();
        std::string text = v.is_text() ? v.raw_text() : v.to_text();
        if (jet::parse_number(text)) return Value::text(text).to_long();
        return Value::dbl(jet::fn::val(text)).to_long();
    } catch (const jet::Error&) {
        return 0;
    }
}

std::string NzKwota_Tekst(const Value& v, std::string_view zero_text) {
    Currency m = NzCur(v);
    if (m.scaled == 0 && !zero_text.empty()) return std::string(zero_text);
    return jet::fn::format(Value::currency(m), "0.00").raw_text();
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
    if (max_len == 0) return s;
    try {
        return std::string(jet::fn::left_view(s, max_len));
    } catch (const jet::Error&) {
        return {};  // a negative length
    }
}

std::string NzStr_Spacja(const Value& v) {
    std::string s = NzStr(v);
    return s.empty() ? " " : s;
}
