// The release 1.65 database brought through 2.31: the 2.30 names, a stock row for every
// product and the stock recomputed from the documents.
#include "kroki_fixture.h"

namespace kroki_test {
namespace {

TEST_F(KrokiTest, Baza165DoWersji231) {
    ASSERT_NO_THROW(kroki(165, 213));
    Wersja_Bazy = 2.13;
    ASSERT_NO_THROW(kroki(213, 231));

    for (const char* t :
         {"Dok_Wewnentrzne", "Dok_Wewnentrzne_ZAWART", "PRODUKCJA_ZAWART", "REMANENTINWENT_ZAWART",
          "STANY_MAGAZYNOWE", "S_GRUPY", "S_JEDNOSTKI", "Numery_OST_DOK", "CENNIKI",
          "CENNIKI_ZAWART", "PRODUKCJA_ZAWART_SUROWCE", "SRODKI_TRWALE_ZAWART"})
        EXPECT_TRUE(jest_tabela(t)) << t;
    for (const char* t : {"SPRZEDAZ_NEW", "SPRZEDAZ_ILOSC", "magazyn_produktow",
                          "ZUZYCIE_CALKOWITE", "Logi", "zakupy_ilosc", "ZAMOWIENIA_RAPORT_SUROWCE"})
        EXPECT_FALSE(jest_tabela(t)) << t;
    // One stock row per product, and the current stock is the sum of its movements.
    EXPECT_EQ(jedna("select count(*) from PRODUKTY"),
              jedna("select count(*) from STANY_MAGAZYNOWE"));
    EXPECT_EQ(jedna("select count(*) from PRODUKTY p left join STANY_MAGAZYNOWE s on "
                    "p.prod_id=s.prod_id where s.prod_id is null"),
              "0");
    EXPECT_EQ(jedna("select count(*) from STANY_MAGAZYNOWE where abs(stan-(inwent+zakup_il+"
                    "przych_il+produkcja-rozch_il-ilosc-zuzycie))>0.01"),
              "0");
    EXPECT_NE(jedna("select count(*) from STANY_MAGAZYNOWE where ilosc<>0"), "0");
}

}  // namespace
}  // namespace kroki_test
