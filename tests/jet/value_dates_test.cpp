#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "jet/dates.h"

namespace {

namespace dates = jet::dates;

TEST(Dates, SerialsOfCalendarDates) {
    struct Row {
        int y, m, d, h, n, s;
        double serial;
    } rows[] = {
        {1899, 12, 30, 0, 0, 0, 0},       {1899, 12, 31, 0, 0, 0, 1},
        {1900, 1, 1, 0, 0, 0, 2},         {1900, 3, 1, 0, 0, 0, 61},  // no 29 February 1900
        {2000, 2, 29, 0, 0, 0, 36585},    {2020, 1, 1, 12, 0, 0, 43831.5},
        {1899, 12, 29, 6, 0, 0, -1.25},   {100, 1, 1, 0, 0, 0, -657434},
        {9999, 12, 31, 0, 0, 0, 2958465},
    };
    for (const auto& r : rows) {
        auto s = dates::to_serial(r.y, r.m, r.d, r.h, r.n, r.s);
        ASSERT_TRUE(s.has_value());
        EXPECT_DOUBLE_EQ(*s, r.serial) << r.y << "-" << r.m << "-" << r.d;
        dates::Parts p = dates::from_serial(r.serial);
        EXPECT_EQ(p.year, r.y);
        EXPECT_EQ(p.month, r.m);
        EXPECT_EQ(p.day, r.d);
        EXPECT_EQ(p.hour, r.h);
    }
    EXPECT_FALSE(dates::to_serial(2021, 2, 29).has_value());
    EXPECT_FALSE(dates::to_serial(99, 12, 31).has_value());
    EXPECT_FALSE(dates::to_serial(2021, 1, 1, 24).has_value());
}

// The range runs from 1 January 100 (its serial -657434; with a time, counted forward,
// down to just above -657435) to 31 December 9999, 23:59:59.
TEST(Dates, TheRangeRunsFromTheFirstDaysMidnightToTheLastSecond) {
    for (double in : {-657434.0, -657434.5, -657434.99999, 0.0, 2958465.0, dates::kMaxSerial})
        EXPECT_TRUE(dates::in_range(in)) << in;
    for (double out :
         {-657435.0, -657435.5, 2958466.0, 2958465.99999999, HUGE_VAL, -HUGE_VAL, std::nan("")})
        EXPECT_FALSE(dates::in_range(out)) << out;
    const dates::Parts p = dates::from_serial(-657434.5);
    EXPECT_EQ(p.year * 10000 + p.month * 100 + p.day, 1000101);
    EXPECT_EQ(p.hour, 12);
}

TEST(Dates, TimeRoundsToTheSecondAndCarriesIntoTheNextDay) {
    dates::Parts p = dates::from_serial(1.0 - 0.1 / 86400);
    EXPECT_EQ(p.day, 31);
    EXPECT_EQ(p.hour, 0);
    p = dates::from_serial(-0.5);  // same time of day as 0.5
    EXPECT_EQ(p.day, 30);
    EXPECT_EQ(p.hour, 12);
}

TEST(Dates, ParsingDayFirst) {
    auto serial = [](int y, int m, int d, int h = 0, int n = 0, int s = 0) {
        return dates::to_serial(y, m, d, h, n, s);
    };
    struct Row {
        const char* text;
        std::optional<double> serial;
    } rows[] = {
        {"05-03-2020", serial(2020, 3, 5)},
        {"5.3.2020", serial(2020, 3, 5)},
        {"05/03/2020", serial(2020, 3, 5)},
        {"2020-03-05", serial(2020, 3, 5)},
        {" 2020-03-05 07:08:09 ", serial(2020, 3, 5, 7, 8, 9)},
        {"31.12.2020.", serial(2020, 12, 31)},
        {"01-01-29", serial(2029, 1, 1)},
        {"01-01-30", serial(1930, 1, 1)},
        {"12-25-2020", serial(2020, 12, 25)},  // impossible day first: month first
        {"10:30", 10.5 / 24},
        {"1:00 PM", 13.0 / 24},
        {"12:00 AM", 0.0},
        {"2020-13-01", std::nullopt},
        {"32-01-2020", std::nullopt},
        {"1,5", std::nullopt},
        {"abc", std::nullopt},
        {"01-01", std::nullopt},
        {"25:00", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& r : rows) {
        auto got = dates::parse(r.text);
        ASSERT_EQ(got.has_value(), r.serial.has_value()) << r.text;
        if (got) {
            EXPECT_NEAR(*got, *r.serial, 1e-9) << r.text;
        }
    }
}

TEST(Dates, ShortTextRoundTrips) {
    for (double s : {0.0, 1.0, 43831.5, -1.25, 2958465.0, 36585.999988425923}) {
        auto back = dates::parse(dates::to_text(s));
        ASSERT_TRUE(back.has_value()) << dates::to_text(s);
        EXPECT_NEAR(*back, s, 1.0 / 86400) << dates::to_text(s);
    }
}

}  // namespace
