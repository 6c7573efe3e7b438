#include <gtest/gtest.h>

#include "db/nz.h"
#include "db/sumy_vat.h"
#include "jet/error.h"

using jet::Currency;
using jet::Value;

namespace {

Currency cur(double d) {
    return Currency::from_double(d);
}

TEST(Nz, Money) {
    struct Case {
        Value v;
        double expected;
    } cases[] = {
        {Value::null(), 0},
        {Value(), 0},
        {Value::text("12.5"), 12.5},  // not a number with the decimal comma: read by Val
        {Value::text("12,5"), 12.5},
        {Value::text(" 1 2.345xyz"), 12.35},  // Val skips blanks anywhere
        {Value::text("abc"), 0},
        {Value::text(""), 0},
        {Value::dbl(0.005), 0.01},
        {Value::dbl(-0.005), -0.01},
        {Value::dbl(2.345), 2.35},
        {Value::dbl(-2.345), -2.35},
        {Value::dbl(2.3449), 2.34},
        {Value::dbl(2.3549), 2.36},
        {Value::dbl(0.00005), 0.00},  // four decimals, halves to even: 0
        {Value::currency(cur(0.015)), 0.02},
        {Value::long_(7), 7},
        {Value::boolean(true), -1},
        {Value::dbl(1e300), 0},  // overflow absorbed
        {Value::text("1e3"), 1000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NzCur(c.v), cur(c.expected))
            << c.v.to_text() << " kind " << static_cast<int>(c.v.kind());
}

TEST(Nz, WholeNumbers) {
    struct Case {
        Value v;
        int32_t expected;
    } cases[] = {
        {Value::null(), 0},           {Value::dbl(2.5), 2},       {Value::dbl(3.5), 4},
        {Value::text("2,5"), 2},      {Value::text("3.5 zł"), 4}, {Value::text("x"), 0},
        {Value::dbl(-2.5), -2},       {Value::dbl(1e12), 0},      {Value::currency(cur(7.5)), 8},
        {Value::text("-12abc"), -12},
    };
    for (const auto& c : cases) EXPECT_EQ(NzLng(c.v), c.expected) << c.v.to_text();
}

TEST(Nz, AmountText) {
    EXPECT_EQ(NzKwota_Tekst(Value::dbl(0.004), "-"), "-");
    EXPECT_EQ(NzKwota_Tekst(Value::dbl(0.004), ""), "0,00");
    EXPECT_EQ(NzKwota_Tekst(Value::null(), ""), "0,00");
    EXPECT_EQ(NzKwota_Tekst(Value::text("12.5"), "-"), "12,50");
    EXPECT_EQ(NzKwota_Tekst(Value::dbl(-1234.005), ""), "-1234,01");
    EXPECT_EQ(NzKwota_Tekst(Value::dbl(0.07), ""), "0,07");
}

TEST(Nz, Texts) {
    EXPECT_EQ(NzStr(Value::null()), "");
    EXPECT_EQ(NzStr(Value::text("a'b")), "a'b");
    EXPECT_EQ(NzStr(Value::dbl(1.5)), "1,5");
    EXPECT_EQ(NzStr_Spacja(Value::null()), " ");
    EXPECT_EQ(NzStr_Spacja(Value::text("")), " ");
    EXPECT_EQ(NzStr_Spacja(Value::text("x")), "x");
    EXPECT_EQ(NzStr_Dl(Value::text("0123456789"), 4), "0123");
    EXPECT_EQ(NzStr_Dl(Value::text("0123456789"), 0), "0123456789");
    EXPECT_EQ(NzStr_Dl(Value::text("Łódź i okolice"), 4), "Łódź");
    EXPECT_EQ(NzStr_Dl(Value::null(), 4), "");
    EXPECT_EQ(NzStr_Dl(Value::text("abc"), -1), "");
}

class SumyVat : public ::testing::Test {
  protected:
    void SetUp() override { Zeruj_Sumy_VAT(); }
};

TEST_F(SumyVat, TaxOfTheAccumulatedNet) {
    Dodaj_Do_Sum_VAT(cur(100), "22");
    EXPECT_EQ(Sumy_Netto_VAT[1], cur(100));
    EXPECT_EQ(Sumy_VAT[1], cur(22));
    Zeruj_Sumy_VAT();
    Dodaj_Do_Sum_VAT(cur(0.05), "22");
    Dodaj_Do_Sum_VAT(cur(0.05), "22");
    EXPECT_EQ(Sumy_Netto_VAT[1], cur(0.10));
    EXPECT_EQ(Sumy_VAT[1], cur(0.02)) << "not 0.01 + 0.01";
}

TEST_F(SumyVat, RateSlots) {
    Dodaj_Do_Sum_VAT(cur(-0.50), "7");
    EXPECT_EQ(Sumy_Netto_VAT[2], cur(-0.50));
    EXPECT_EQ(Sumy_VAT[2], cur(-0.04)) << "-0.035 rounds away from zero";
    Dodaj_Do_Sum_VAT(cur(1), "12");
    EXPECT_EQ(Sumy_VAT[6], cur(0.12));
    Dodaj_Do_Sum_VAT(cur(10), "3");
    EXPECT_EQ(Sumy_VAT[5], cur(0.30));
    Dodaj_Do_Sum_VAT(cur(5), "0");
    EXPECT_EQ(Sumy_Netto_VAT[3], cur(5));
    auto taxes = Sumy_VAT;
    for (const char* other : {"zw", "ZW", "", "22 ", " 7"}) Dodaj_Do_Sum_VAT(cur(1), other);
    EXPECT_EQ(Sumy_Netto_VAT[4], cur(5));
    EXPECT_EQ(Sumy_VAT, taxes);
    EXPECT_EQ(Sumy_Netto_VAT[0], Currency{});
    EXPECT_EQ(Sumy_VAT[3], Currency{});
    EXPECT_EQ(Sumy_VAT[4], Currency{});
}

TEST_F(SumyVat, AmountIsRoundedBeforeAdding) {
    Dodaj_Do_Sum_VAT(cur(0.005), "22");
    EXPECT_EQ(Sumy_Netto_VAT[1], cur(0.01));
}

TEST_F(SumyVat, OverflowIsRaisedAndTheSumKept) {
    Dodaj_Do_Sum_VAT(Currency{900000000000000LL * 10000}, "0");
    EXPECT_THROW(Dodaj_Do_Sum_VAT(Currency{900000000000000LL * 10000}, "0"), jet::Error);
    EXPECT_EQ(Sumy_Netto_VAT[3], (Currency{900000000000000LL * 10000}));
}

}  // namespace
