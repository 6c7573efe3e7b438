// The release 1.65 database brought through 2.20: production documents for the days of
// the order report, every line costed, the sales recount booked.
#include "kroki_fixture.h"

namespace kroki_test {
namespace {

TEST_F(KrokiTest, Baza165DoWersji220) {
    ASSERT_NO_THROW(kroki(165, 213));
    Wersja_Bazy = 2.13;
    ASSERT_NO_THROW(kroki(213, 220));

    // One document per report day, one line per report row.
    EXPECT_EQ(kolumna("select DDOUT_DATA_WYST from Produkcja order by DDOUT_DATA_WYST"),
              kolumna("select distinct data from Zamowienia_raport order by data"));
    EXPECT_EQ(kolumna("select count(*) from PRODUKCJA_ZAWARTOSC"),
              kolumna("select count(*) from Zamowienia_raport"));
    // Own products are made by their recipes of booked raw materials: every line that
    // produced something has a cost.
    EXPECT_EQ(kolumna("select count(*) from PRODUKCJA_ZAWARTOSC where "
                      "ilosc_prod+ilosc_prod2+ilosc_prod3>0 and not WSPRZ_CENA_B>0"),
              std::vector<std::string>{"0"});
    for (const char* t : {"_KPIR_pomoc2", "_DO_ZUZYCIA", "_Zamowienia_araport_pomoc",
                          "_REMANENTINWENT_ZAWARTOSC123"})
        EXPECT_FALSE(jest_tabela(t)) << t;
}

}  // namespace
}  // namespace kroki_test
