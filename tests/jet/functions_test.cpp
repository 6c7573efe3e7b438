#include "jet/functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "jet/dates.h"
#include "jet/error.h"

namespace {

using jet::Currency;
using jet::Value;
namespace fn = jet::fn;

Value cur(int64_t scaled) {
    return Value::currency(Currency::from_scaled(scaled));
}
Value date_of(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
    return Value::date(*jet::dates::to_serial(y, m, d, h, n, s));
}

bool fails(const std::function<void()>& f) {
    try {
        f();
    } catch (const jet::Error&) {
        return true;
    }
    return false;
}

TEST(Round, HalvesToEvenOnTheValuesOwnDigits) {
    struct Row {
        Value x;
        int digits;
        Value expected;
    } rows[] = {
        {Value::dbl(2.5), 0, Value::dbl(2)},
        {Value::dbl(3.5), 0, Value::dbl(4)},
        {Value::dbl(-2.5), 0, Value::dbl(-2)},
        // Halves are judged on the shown digits, not on the binary fraction: the
        // double 2.345 is slightly above 2.345 and 2.355 slightly below 2.355.
        {Value::dbl(2.345), 2, Value::dbl(2.34)},
        {Value::dbl(2.355), 2, Value::dbl(2.36)},
        {Value::dbl(2.675), 2, Value::dbl(2.68)},
        {Value::dbl(0.125), 2, Value::dbl(0.12)},
        {Value::dbl(9.995), 2, Value::dbl(10)},
        {Value::dbl(0.004), 2, Value::dbl(0)},
        {Value::dbl(1e20), 2, Value::dbl(1e20)},
        {Value::dbl(0.375), 2, Value::dbl(0.38)},
        {cur(23450), 2, cur(23400)},  // money: exact decimal digits, to even
        {cur(23550), 2, cur(23600)},
        {cur(-23550), 2, cur(-23600)},
        {cur(16450), 2, cur(16400)},
        {cur(12345), 4, cur(12345)},
        {Value::single(2.5f), 0, Value::single(2.0f)},
        {Value::long_(7), 2, Value::long_(7)},
        {Value::text("2,5"), 0, Value::dbl(2)},
        {Value::null(), 2, Value::null()},
    };
    for (const auto& r : rows) {
        Value got = fn::round(r.x, r.digits);
        EXPECT_TRUE(got == r.expected) << r.x.to_text() << " -> " << got.to_text();
    }
    EXPECT_TRUE(fails([] { fn::round(Value::dbl(1), -1); }));
}

TEST(Format, NumbersWithTheDecimalCommaHalvesAwayFromZero) {
    struct Row {
        Value v;
        const char* fmt;
        const char* text;
    } rows[] = {
        {Value::dbl(2.345), "0.00", "2,35"},
        {Value::dbl(2.344999), "0.00", "2,34"},
        {Value::dbl(-2.345), "0.00", "-2,35"},
        {Value::dbl(0.005), "0.00", "0,01"},
        {Value::dbl(-0.001), "0.00", "-0,00"},
        {Value::dbl(1.005), "0.00", "1,01"},  // 15 significant digits: 1.00500000000000
        {Value::dbl(2.5), "0", "3"},
        {Value::dbl(0.4), "0", "0"},
        {Value::dbl(1234567.891), "#,##0.00", "1\u00a0234\u00a0567,89"},
        {Value::dbl(999.999), "#,##0.00", "1\u00a0000,00"},
        {Value::dbl(12.5), "0.0000", "12,5000"},
        {Value::dbl(0.5), "#.##", ",5"},
        {cur(23450), "0.00", "2,35"},
        {cur(-5), "0.000", "-0,001"},
        {Value::long_(5), "0.00", "5,00"},
        {Value::text("1,5"), "0.00", "1,50"},
        {Value::text("abc"), "0.00", "abc"},
        {Value::dbl(-3), "0.00;(0.00)", "(3,00)"},
        {Value::dbl(0.25), "0%", "25%"},
        {Value::dbl(1.5), "", "1,5"},
    };
    for (const auto& r : rows) {
        Value got = fn::format(r.v, r.fmt);
        ASSERT_TRUE(got.is_text());
        EXPECT_EQ(got.raw_text(), r.text) << r.v.to_text() << " " << r.fmt;
    }
    EXPECT_TRUE(fn::format(Value::null(), "0.00").is_null());
    // An infinite value has no text: it overflows, as CStr of it does.
    for (const char* f : {"0.00", "", "yyyy", "#,##0", "@"}) {
        EXPECT_TRUE(fails([&] { fn::format(Value::dbl(HUGE_VAL), f); })) << f;
        EXPECT_TRUE(fails([&] { fn::format(Value::single(-static_cast<float>(HUGE_VAL)), f); }))
            << f;
    }
    EXPECT_TRUE(fails([] { fn::cstr(Value::dbl(HUGE_VAL)); }));
}

TEST(Format, Dates) {
    const Value d = date_of(2021, 3, 7, 14, 5, 9);
    struct Row {
        Value v;
        const char* fmt;
        const char* text;
    } rows[] = {
        {d, "dd-MM-yyyy", "07-03-2021"},
        {d, "dd-mm-yyyy", "07-03-2021"},  // mm after dd is the month
        {d, "d.M.yy", "7.3.21"},
        {d, "MM", "03"},
        {d, "yyyy", "2021"},
        {d, "hh:mm:ss", "14:05:09"},  // mm after hh is the minute
        {d, "hh:nn", "14:05"},
        {d, "yyyy/mm/dd", "2021-03-07"},
        {d, "dddd d mmmm", "niedziela 7 marzec"},
        {d, "\"Q\"q", "Q1"},
        {Value::text("01-01-1990"), "dd-MM-yyyy", "01-01-1990"},
        {Value::text("1990-01-02 10:00"), "dd-MM-yyyy", "02-01-1990"},
        {Value::text("nie data"), "dd-MM-yyyy", "nie data"},
        {Value::dbl(44000), "yyyy", "2020"},
    };
    for (const auto& r : rows) {
        Value got = fn::format(r.v, r.fmt);
        ASSERT_TRUE(got.is_text());
        EXPECT_EQ(got.raw_text(), r.text) << r.fmt;
    }
}

TEST(Val, VbaRules) {
    struct Row {
        const char* text;
        double value;
    } rows[] = {
        {" 12 34.5x", 1234.5}, {"1,5", 1},     {"", 0},        {"abc", 0},         {"-3.5", -3.5},
        {"  - 2", -2},         {"1e3", 1000},  {"1e", 1},      {"2D2", 200},       {".5", 0.5},
        {"1.2.3", 1.2},        {"&HFF", 255},  {"&HFFFF", -1}, {"&H10000", 65536}, {"&O17", 15},
        {"&Hxyz", 0},          {"\t7\n8", 78}, {"007", 7},
    };
    for (const auto& r : rows) EXPECT_DOUBLE_EQ(fn::val(r.text), r.value) << r.text;
    EXPECT_TRUE(fn::val(Value::null()).is_null());
    EXPECT_TRUE(fn::val(Value::dbl(1.5)) == Value::dbl(1));  // CStr gives "1,5"
}

TEST(TextFunctions, CharactersNotBytes) {
    struct Row {
        Value got;
        Value expected;
    } rows[] = {
        {fn::mid(Value::text("abc"), 5), Value::text("")},
        {fn::mid(Value::text("abc"), 2), Value::text("bc")},
        {fn::mid(Value::text("zażółć"), 3, 3), Value::text("żół")},
        {fn::mid(Value::text("abc"), 2, 10), Value::text("bc")},
        {fn::mid(Value::null(), 1, 2), Value::null()},
        {fn::left(Value::text("łódź"), 2), Value::text("łó")},
        {fn::right(Value::text("łódź"), 2), Value::text("dź")},
        {fn::right(Value::text("ab"), 5), Value::text("ab")},
        {fn::len(Value::text("łódź")), Value::long_(4)},
        {fn::len(Value::null()), Value::null()},
        {fn::trim(Value::text("  a b \t ")), Value::text("a b \t")},
        {fn::ltrim(Value::text("  a ")), Value::text("a ")},
        {fn::rtrim(Value::text("  a ")), Value::text("  a")},
        {fn::trim(Value::text("   ")), Value::text("")},
        {fn::ucase(Value::text("zażółć gęślą")), Value::text("ZAŻÓŁĆ GĘŚLĄ")},
        {fn::lcase(Value::text("ŁÓDŹ")), Value::text("łódź")},
        {fn::ucase(Value::dbl(1.5)), Value::text("1,5")},
    };
    for (const auto& r : rows) EXPECT_TRUE(r.got == r.expected) << r.got.to_text();
    EXPECT_TRUE(fails([] { fn::mid(Value::text("abc"), 0); }));
    EXPECT_TRUE(fails([] { fn::mid(Value::text("abc"), 1, -1); }));
    EXPECT_TRUE(fails([] { fn::left(Value::text("abc"), -1); }));
}

TEST(NumberFunctions, TypesKeptAndConversions) {
    struct Row {
        Value got;
        Value expected;
    } rows[] = {
        {fn::int_(Value::dbl(-2.5)), Value::dbl(-3)},
        {fn::fix(Value::dbl(-2.5)), Value::dbl(-2)},
        {fn::int_(cur(-25000)), cur(-30000)},
        {fn::fix(cur(-25000)), cur(-20000)},
        {fn::int_(Value::text("7,9")), Value::dbl(7)},
        {fn::abs(Value::integer(-32768)), Value::long_(32768)},
        {fn::abs(cur(-5)), cur(5)},
        {fn::cint(Value::dbl(2.5)), Value::integer(2)},
        {fn::clng(Value::text("3,5")), Value::long_(4)},
        {fn::ccur(Value::text("1,23456")), cur(12346)},
        {fn::cdate(Value::text("02-01-2020")), date_of(2020, 1, 2)},
        {fn::cstr(Value::boolean(true)), Value::text("True")},
        {fn::year(date_of(2020, 1, 2)), Value::integer(2020)},
        {fn::month(Value::text("02-01-2020")), Value::integer(1)},
        {fn::day(Value::null()), Value::null()},
        {fn::nz(Value::null(), Value::long_(0)), Value::long_(0)},
        {fn::nz(Value::null()), Value()},
        {fn::nz(Value::text("a"), Value::long_(0)), Value::text("a")},
    };
    for (const auto& r : rows) EXPECT_TRUE(r.got == r.expected) << r.got.to_text();
    EXPECT_TRUE(fails([] { fn::cint(Value::long_(40000)); }));
    EXPECT_TRUE(fails([] { fn::cstr(Value::null()); }));
}

TEST(Like, JetPatternsWithoutCase) {
    struct Row {
        const char* text;
        const char* pattern;
        bool match;
    } rows[] = {
        {"Kowalski", "kow*", true},
        {"Kowalski", "*SKI", true},
        {"Kowalski", "K?walski", true},
        {"Kowalski", "K?w", false},
        {"A12", "A##", true},
        {"A1B", "A##", false},
        {"b", "[a-c]", true},
        {"d", "[a-c]", false},
        {"d", "[!a-c]", true},
        {"a*b", "a[*]b", true},
        {"axb", "a[*]b", false},
        {"Łódź", "ł*Ź", true},
        {"", "*", true},
        {"", "?", false},
        {"abc", "a*c*", true},
        {"mississippi", "*sip*", true},
        {"ab", "a", false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(fn::like(r.text, r.pattern), r.match) << r.text << " like " << r.pattern;
    EXPECT_TRUE(fails([] { fn::like("a", "[a"); }));
}

}  // namespace
