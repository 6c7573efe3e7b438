#include <gtest/gtest.h>

#include "db/daty.h"
#include "db/teksty.h"
#include "jet/dates.h"
#include "jet/error.h"

namespace {

double date_serial(int y, int m, int d) {
    return *jet::dates::to_serial(y, m, d);
}

TEST(Daty, SqlLiterals) {
    double d = date_serial(2006, 7, 3) + 0.6;
    EXPECT_EQ(DataSQL_Od(d), "#07-03-2006 00:00:00#");
    EXPECT_EQ(DataSQL_Do(d), "#07 03 2006 23:59:59#");
}

TEST(Daty, PeriodBounds) {
    struct Case {
        double d;
        double rok0, rok1, mies0, mies1;
    } cases[] = {
        {date_serial(2004, 2, 15) + 0.5, date_serial(2004, 1, 1), date_serial(2004, 12, 31),
         date_serial(2004, 2, 1), date_serial(2004, 2, 29)},
        {date_serial(2006, 12, 10), date_serial(2006, 1, 1), date_serial(2006, 12, 31),
         date_serial(2006, 12, 1), date_serial(2006, 12, 31)},
        {date_serial(1900, 2, 1), date_serial(1900, 1, 1), date_serial(1900, 12, 31),
         date_serial(1900, 2, 1), date_serial(1900, 2, 28)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Poczatek_Roku(c.d), c.rok0);
        EXPECT_EQ(Koniec_Roku(c.d), c.rok1);
        EXPECT_EQ(Poczatek_Miesiaca(c.d), c.mies0);
        EXPECT_EQ(Koniec_Miesiaca(c.d), c.mies1);
    }
    EXPECT_EQ(Koniec_Miesiaca(date_serial(9999, 12, 5)), date_serial(9999, 12, 31));
    EXPECT_THROW(Poczatek_Roku(3e6), jet::Error);
}

TEST(Daty, Conditions) {
    double od = date_serial(2006, 7, 3);
    EXPECT_EQ(Warunek_Okres(od, "[Data]", 0),
              " ([Data] Between #07-03-2006 00:00:00# and #07-03-2006 23:59:59#) ");
    EXPECT_EQ(Warunek_Okres(od, "[Data]", od - 1), " (0=1) ");
    EXPECT_EQ(Warunek_Okres(od, "Data", date_serial(2006, 8, 31) + 0.25),
              " (Data Between #07-03-2006 00:00:00# and #08-31-2006 23:59:59#) ");
    EXPECT_EQ(Warunek_Dzien(od + 0.9, "d.Data"),
              " (d.Data Between #07-03-2006 00:00:00# and #07-03-2006 23:59:59#) ");
}

TEST(Teksty, Cleaners) {
    EXPECT_EQ(Apostrof_Na_Cudzyslow("O'Neil ''"), "O\"Neil \"\"");
    EXPECT_EQ(Przecinek_Na_Kropke("1,234,5"), "1.234,5");
    EXPECT_EQ(Przecinek_Na_Kropke("12"), "12");
    EXPECT_EQ(Usun_Znaki_Sterujace(std::string("a\r\nb\tc\0d", 8)), "a  b c d");
    EXPECT_EQ(Tekst_Po_Ukosniku("FV 12/  2006/x"), "2006/x");
    EXPECT_EQ(Tekst_Po_Ukosniku("bez"), "");
    EXPECT_EQ(Tekst_Po_Ukosniku("a/"), "");
}

}  // namespace
