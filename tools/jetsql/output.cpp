#include "output.h"

#include <charconv>
#include <ostream>
#include <variant>

#include "jet/database.h"
#include "jet/dates.h"
#include "jet/sql/parser.h"

namespace jetsql {

namespace {

template <class T>
std::string shortest(T v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    std::string s(buf, r.ptr);
    if (s == "-0") s = "0";
    return s;
}

std::string currency_text(int64_t scaled) {
    const bool negative = scaled < 0;
    const uint64_t mag = negative ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
    std::string s = std::to_string(mag / 10000);
    uint64_t frac = mag % 10000;
    if (frac != 0) {
        std::string f = std::to_string(frac);
        f.insert(0, 4 - f.size(), '0');
        while (!f.empty() && f.back() == '0') f.pop_back();
        s += "." + f;
    }
    return negative ? "-" + s : s;
}

std::string two(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

std::string date_text(double serial) {
    if (!jet::dates::in_range(serial)) return shortest(serial);
    const auto p = jet::dates::from_serial(serial);
    // Four digits of year always: the engine's dates run from year 100.
    std::string s = std::to_string(p.year);
    s.insert(0, s.size() < 4 ? 4 - s.size() : 0, '0');
    s += "-" + two(p.month) + "-" + two(p.day);
    if (p.hour || p.minute || p.second)
        s += " " + two(p.hour) + ":" + two(p.minute) + ":" + two(p.second);
    return s;
}

std::string escaped(const std::string& t) {
    std::string out;
    out.reserve(t.size());
    for (char c : t) {
        switch (c) {
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default: out += c;
        }
    }
    return out;
}

bool returns_rows(const jet::sql::Statement& st) {
    const auto* sel = std::get_if<jet::sql::Select>(&st);
    return sel != nullptr && sel->into.empty();
}

}  // namespace

std::string format_value(const jet::Value& v) {
    using K = jet::Value::Kind;
    switch (v.kind()) {
        case K::Empty: return "";
        case K::Null: return "Null";
        case K::Boolean:
        case K::Byte:
        case K::Integer:
        case K::Long: return std::to_string(v.raw_int());
        case K::Currency: return currency_text(v.raw_int());
        case K::Single: return shortest(static_cast<float>(v.raw_double()));
        case K::Double: return shortest(v.raw_double());
        case K::Date: return date_text(v.raw_double());
        case K::Text: return escaped(v.raw_text());
    }
    return "";
}

bool statement_writes(std::string_view statement) {
    return !returns_rows(jet::sql::parse(statement));
}

bool run_statement(jet::Database& db, std::string_view statement, std::ostream& out) {
    if (statement_writes(statement)) {
        const int64_t affected = db.execute(statement);
        out << "ok " << affected << '\n';
        return true;
    }
    auto cursor = db.query(statement);
    const auto& cols = cursor->columns();
    for (size_t i = 0; i < cols.size(); ++i) out << (i ? "\t" : "") << cols[i].name;
    out << '\n';
    while (cursor->next()) {
        for (size_t i = 0; i < cols.size(); ++i)
            out << (i ? "\t" : "") << format_value(cursor->value(static_cast<int>(i)));
        out << '\n';
    }
    return false;
}

}  // namespace jetsql
