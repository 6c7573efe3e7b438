#include "jet/value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>

#include "jet/dates.h"
#include "jet/error.h"

namespace {

using jet::Currency;
using jet::DataType;
using jet::Value;

uint32_t error_of(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const jet::Error& e) {
        return e.number();
    }
    return 0;
}

uint32_t overflow_number() {
    return jet::fault_number(jet::Fault::Overflow);
}

Value date_of(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
    return Value::date(*jet::dates::to_serial(y, m, d, h, n, s));
}

TEST(ValueText, CStrUnderPolishSettings) {
    struct Row {
        Value v;
        const char* text;
    } rows[] = {
        {Value(), ""},
        {Value::boolean(true), "True"},
        {Value::boolean(false), "False"},
        {Value::long_(-42), "-42"},
        {Value::dbl(1.5), "1,5"},
        {Value::dbl(-0.0), "0"},
        {Value::dbl(0.1 + 0.2), "0,3"},  // 15 significant digits hide the binary tail
        {Value::dbl(123456789012345.0), "123456789012345"},
        {Value::dbl(1e15), "1E+15"},
        {Value::dbl(0.0001), "0,0001"},
        {Value::dbl(0.000015), "1,5E-05"},
        {Value::single(0.1f), "0,1"},
        {Value::currency(Currency::from_scaled(64600)), "6,46"},
        {Value::currency(Currency::from_scaled(-20000)), "-2"},
        {Value::currency(Currency::from_scaled(1)), "0,0001"},
        {date_of(2020, 3, 5), "2020-03-05"},
        {date_of(2020, 3, 5, 7, 8, 9), "2020-03-05 07:08:09"},
        {Value::date(0.5), "12:00:00"},
        {Value::date(0), "00:00:00"},
        {Value::date(-1.25), "1899-12-29 06:00:00"},
        {Value::text("żółw"), "żółw"},
    };
    for (const auto& r : rows) EXPECT_EQ(r.v.to_text(), r.text) << r.text;
}

TEST(ValueText, NumbersReadWithTheDecimalComma) {
    struct Row {
        const char* text;
        std::optional<double> value;
    } rows[] = {
        {"1,5", 1.5},           {" -2,25 ", -2.25},  {"1 234,5", 1234.5},
        {"1\u00a0234", 1234.0}, {",5", 0.5},         {"1E3", 1000.0},
        {"2,5D-1", 0.25},       {"&HFF", 255.0},     {"&HFFFF", -1.0},
        {"&O17", 15.0},         {"+7", 7.0},         {"1.5", std::nullopt},
        {"", std::nullopt},     {"-", std::nullopt}, {"12a", std::nullopt},
        {"1E", std::nullopt},   {"1 ", 1.0},         {" 1 2", 12.0},
        {"1  2", std::nullopt},
    };
    for (const auto& r : rows) EXPECT_EQ(jet::parse_number(r.text), r.value) << r.text;
}

TEST(ValueConversion, CurrencyIsExactAndHalvesToEven) {
    struct Row {
        Value v;
        int64_t scaled;
    } rows[] = {
        {Value::text("0,00005"), 0},  // exact half of a unit: to even
        {Value::text("0,00015"), 2},
        {Value::text("1,23456"), 12346},
        {Value::text("922337203685477,5807"), INT64_MAX},
        {Value::dbl(0.00025), 2},
        {Value::dbl(0.00005), 0},  // 0.00005 * 10000 is above 0.5 in binary
        {Value::dbl(0.00015), 2},
        {Value::dbl(-1.00005), -10000},
        {Value::dbl(1.00015), 10002},
        {Value::dbl(1.645), 16450},
        {Value::long_(-3), -30000},
        {Value::boolean(true), -10000},
    };
    for (const auto& r : rows) EXPECT_EQ(r.v.to_currency().scaled, r.scaled) << r.v.to_text();

    EXPECT_EQ(error_of([] { Value::text("922337203685478").to_currency(); }), overflow_number());
    EXPECT_EQ(error_of([] { Value::dbl(1e300).to_currency(); }), overflow_number());
}

TEST(ValueConversion, WholeNumbersHalveToEvenAndCheckTheRange) {
    struct Row {
        Value v;
        int32_t value;
    } rows[] = {
        {Value::dbl(2.5), 2},
        {Value::dbl(3.5), 4},
        {Value::dbl(-2.5), -2},
        {Value::text("7,5"), 8},
        {Value::currency(Currency::from_scaled(25000)), 2},
        {Value::currency(Currency::from_scaled(-35000)), -4},
        {Value::boolean(true), -1},
        {Value(), 0},
    };
    for (const auto& r : rows) EXPECT_EQ(r.v.to_long(), r.value);
    EXPECT_EQ(error_of([] { Value::dbl(2147483647.5).to_long(); }), overflow_number());
    EXPECT_EQ(error_of([] { Value::text("abc").to_long(); }), jet::hr::TypeMismatch);
    EXPECT_EQ(error_of([] { Value::null().to_long(); }), jet::hr::TypeMismatch);
}

TEST(ValueStore, CoercionIntoColumns) {
    struct Row {
        Value v;
        DataType type;
        int size;
        Value expected;
    } rows[] = {
        {Value::dbl(3), DataType::Boolean, 0, Value::boolean(true)},
        {Value::dbl(0), DataType::Boolean, 0, Value::boolean(false)},
        {Value::text("True"), DataType::Boolean, 0, Value::boolean(true)},
        {Value::text("0"), DataType::Boolean, 0, Value::boolean(false)},
        {Value::dbl(0.1), DataType::Single, 0, Value::single(0.1f)},
        {Value::text("12,345678"), DataType::Currency, 0,
         Value::currency(Currency::from_scaled(123457))},
        {Value::text("1,5"), DataType::Double, 0, Value::dbl(1.5)},
        {Value::dbl(254.5), DataType::Byte, 0, Value::byte(254)},
        {Value::text("31-12-2020"), DataType::Date, 0, date_of(2020, 12, 31)},
        {Value::text("31.12.2020 10:30"), DataType::Date, 0, date_of(2020, 12, 31, 10, 30)},
        {Value::dbl(1.5), DataType::Text, 10, Value::text("1,5")},
        {Value::boolean(true), DataType::Text, 10, Value::text("-1")},
        {Value::boolean(false), DataType::Text, 10, Value::text("0")},
        {date_of(2021, 1, 2), DataType::Text, 10, Value::text("2021-01-02")},
        {Value::text("ąęśćż"), DataType::Text, 5, Value::text("ąęśćż")},
        {Value::currency(Currency::from_scaled(15000)), DataType::Memo, 0, Value::text("1,5")},
        {Value::null(), DataType::Long, 0, Value::null()},
        {Value(), DataType::Text, 5, Value::null()},
    };
    for (const auto& r : rows) {
        Value got = r.v.coerce_to(r.type, r.size);
        EXPECT_TRUE(got == r.expected) << r.v.to_text() << " -> " << got.to_text();
    }
}

TEST(ValueStore, FailuresOnStore) {
    struct Row {
        Value v;
        DataType type;
        int size;
        uint32_t error;
    } rows[] = {
        {Value::text("ąęśćżź"), DataType::Text, 5, jet::hr::TooLong},
        {Value::text(std::string(256, 'x')), DataType::Text, 0, jet::hr::TooLong},
        {Value::text("abc"), DataType::Long, 0, jet::hr::TypeMismatch},
        {Value::text("1.5"), DataType::Double, 0, jet::hr::TypeMismatch},
        {Value::text("maybe"), DataType::Boolean, 0, jet::hr::TypeMismatch},
        {Value::text("32-13-2020"), DataType::Date, 0, jet::hr::TypeMismatch},
        {Value::long_(256), DataType::Byte, 0, overflow_number()},
        {Value::long_(-1), DataType::Byte, 0, overflow_number()},
        {Value::long_(40000), DataType::Integer, 0, overflow_number()},
        {Value::dbl(1e39), DataType::Single, 0, overflow_number()},
        {Value::dbl(1e10), DataType::Date, 0, overflow_number()},
    };
    for (const auto& r : rows)
        EXPECT_EQ(error_of([&] { r.v.coerce_to(r.type, r.size); }), r.error) << r.v.to_text();
    EXPECT_NO_THROW(Value::text(std::string(300, 'x')).coerce_to(DataType::Memo, 0));
}

// An infinite or NaN number overflows wherever it is stored and in its text; so does a
// date outside 1 January 100 ... 31 December 9999. The first day with a time (its
// serial counted forward) is in the range.
TEST(ValueStore, InfinityAndDatesPastTheRangeOverflow) {
    const Value numbers[] = {Value::dbl(HUGE_VAL), Value::dbl(-HUGE_VAL), Value::dbl(std::nan("")),
                             Value::single(static_cast<float>(HUGE_VAL)),
                             Value::single(std::nanf(""))};
    const DataType types[] = {
        DataType::Boolean, DataType::Byte,   DataType::Integer, DataType::Long, DataType::Currency,
        DataType::Single,  DataType::Double, DataType::Date,    DataType::Text, DataType::Memo};
    for (const Value& v : numbers) {
        for (DataType t : types)
            EXPECT_EQ(error_of([&] { v.coerce_to(t, 0); }), overflow_number())
                << v.raw_double() << " into " << static_cast<int>(t);
        EXPECT_EQ(error_of([&] { v.to_text(); }), overflow_number()) << v.raw_double();
    }
    for (double serial : {2958466.0, -657435.0}) {
        EXPECT_EQ(error_of([&] { Value::date(serial).coerce_to(DataType::Date, 0); }),
                  overflow_number());
        EXPECT_EQ(error_of([&] { Value::date(serial).to_date(); }), overflow_number());
    }
    EXPECT_TRUE(Value::date(-657434.5).coerce_to(DataType::Date, 0) == Value::date(-657434.5));
    EXPECT_EQ(Value::dbl(-657434.5).to_date(), -657434.5);
    EXPECT_EQ(Value::date(-657434.5).to_text(), "0100-01-01 12:00:00");
}

TEST(ValueOperators, VbRulesForTypesAndNull) {
    auto cur = [](int64_t s) { return Value::currency(Currency::from_scaled(s)); };
    struct Row {
        Value got;
        Value expected;
    } rows[] = {
        {jet::concat(Value::null(), Value::text("a")), Value::text("a")},
        {jet::concat(Value::null(), Value::null()), Value::null()},
        {jet::concat(Value::text("x"), Value::dbl(1.5)), Value::text("x1,5")},
        {jet::add(Value::text("1"), Value::text("2")), Value::text("12")},
        {jet::add(Value::text("1,5"), Value::long_(2)), Value::dbl(3.5)},
        {jet::add(Value::null(), Value::long_(2)), Value::null()},
        {jet::add(Value::integer(32767), Value::integer(1)), Value::long_(32768)},
        {jet::add(Value::byte(200), Value::byte(100)), Value::integer(300)},
        {jet::add(Value::long_(2147483647), Value::long_(1)), Value::dbl(2147483648.0)},
        {jet::add(cur(1), cur(2)), cur(3)},
        {jet::add(cur(10000), Value::dbl(0.5)), Value::dbl(1.5)},
        {jet::multiply(cur(15000), cur(15000)), cur(22500)},
        {jet::multiply(cur(1), cur(5000)), cur(0)},  // 0.0001 * 0.5 halves to even
        {jet::multiply(cur(3), cur(5000)), cur(2)},
        {jet::subtract(date_of(2020, 1, 2), date_of(2020, 1, 1)), Value::dbl(1)},
        {jet::add(date_of(2020, 1, 1), Value::long_(1)), date_of(2020, 1, 2)},
        {jet::divide(Value::long_(1), Value::long_(4)), Value::dbl(0.25)},
        {jet::multiply(Value::single(1.5f), Value::integer(2)), Value::single(3.0f)},
        {jet::multiply(Value::single(1.5f), Value::long_(2)), Value::dbl(3.0)},
    };
    for (const auto& r : rows) EXPECT_TRUE(r.got == r.expected) << r.got.to_text();
    EXPECT_EQ(error_of([] { jet::divide(Value::long_(1), Value::long_(0)); }),
              jet::fault_number(jet::Fault::DivisionByZero));
    EXPECT_EQ(error_of([] { jet::add(Value::text("x"), Value::long_(1)); }), jet::hr::TypeMismatch);
}

TEST(ValueOperators, CompareUnderJetRules) {
    EXPECT_EQ(jet::compare(Value::text("abc"), Value::text("ABC")), 0);
    EXPECT_LT(jet::compare(Value::text("a"), Value::text("ą")), 0);
    EXPECT_LT(jet::compare(Value::text("ą"), Value::text("b")), 0);
    EXPECT_EQ(jet::compare(Value::currency(Currency::from_scaled(10000)), Value::long_(1)), 0);
    EXPECT_LT(jet::compare(Value::boolean(true), Value::long_(0)), 0);
    EXPECT_GT(jet::compare(Value::dbl(1.5), Value::currency(Currency::from_scaled(14999))), 0);
    EXPECT_EQ(error_of([] { jet::compare(Value::text("1"), Value::long_(1)); }),
              jet::hr::TypeMismatch);
}

}  // namespace
