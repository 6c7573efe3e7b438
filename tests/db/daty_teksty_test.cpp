#include <gtest/gtest.h>

#include "db/daty.h"
#include "db/teksty.h"

namespace {

TEST(Daty, SerialsRoundTrip) {
    EXPECT_EQ(date_serial(1899, 12, 30), 0);
    EXPECT_EQ(date_serial(1900, 1, 1), 2);
    EXPECT_EQ(date_serial(2006, 7, 3), 38901);
    EXPECT_EQ(date_serial(2006, 13, 1), date_serial(2007, 1, 1));
    EXPECT_EQ(date_serial(2004, 3, 0), date_serial(2004, 2, 29));
    EXPECT_EQ(date_serial(2004, 0, 1), date_serial(2003, 12, 1));
    for (double s : {0.0, 1.0, 38901.75, 2958465.0, -1.25, 36525.999999}) {
        DateParts p = date_parts(s);
        double back = date_serial(p.year, p.month, p.day);
        double t = time_serial(p.hour, p.minute, p.second);
        EXPECT_NEAR(s < 0 ? back - t : back + t, s, 1e-5) << s;
    }
    DateParts p = date_parts(38901.5 + 1.0 / 86400);
    EXPECT_EQ(p.year * 10000 + p.month * 100 + p.day, 20060703);
    EXPECT_EQ(p.hour * 10000 + p.minute * 100 + p.second, 120001);
    EXPECT_EQ(date_parts(-1.25).day, 29);
    EXPECT_EQ(date_parts(-1.25).hour, 6);
    DateParts late = date_parts(38901.9999999);  // rounds into the next day
    EXPECT_EQ(late.day, 4);
    EXPECT_EQ(late.hour, 0);
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
    EXPECT_EQ(vb::Trim(" \t a \t "), "\t a \t") << "VB trims blanks only";
    EXPECT_EQ(vb::LTrim("  a "), "a ");
}

}  // namespace
