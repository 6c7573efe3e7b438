// The release 1.65 database brought through 2.41: cash desks and the merged cash
// documents, the invoice table names, the book entry kinds and the 2.41 document tables.
#include "kroki_fixture.h"

namespace kroki_test {
namespace {

TEST_F(KrokiTest, Baza165DoWersji241) {
    ASSERT_NO_THROW(kroki(165, 213));
    Wersja_Bazy = 2.13;
    ASSERT_NO_THROW(kroki(213, 231));
    const std::string platnosci = jedna("select count(*) from KW");
    const std::string wplaty = jedna("select count(*) from KP");
    const auto numery = kolumna("select FAKOUT_NUMER from FAKTURY_WYCH order by FAKOUT_ID");
    ASSERT_NO_THROW(kroki(231, 241));

    for (const char* t : {"FAKTURY", "FAKTURY_ZAWART", "K_FAKTUR", "K_FAKTUR_ZAWART", "KASYBANKI",
                          "Wydruki", "Place_Parametry", "HELP"})
        EXPECT_TRUE(jest_tabela(t)) << t;
    for (const char* t : {"FAKTURY_WYCH", "KW", "KW_ZAWART", "siec", "KONTRAHENT_RODZAJ"})
        EXPECT_FALSE(jest_tabela(t)) << t;
    // Every payment is a cash document now, and every cash document has its desk.
    EXPECT_EQ(jedna("select count(*) from KP where PW='W'"), platnosci);
    EXPECT_EQ(jedna("select count(*) from KP where PW='P'"), wplaty);
    EXPECT_EQ(wiersze("select nazwa, rodz from KASYBANKI order by ID_Kasy"),
              (Wiersze{{"Kasa główna", "K"}, {"Bank Spółdzielczy w Nowym Targu", "B"}}));
    EXPECT_EQ(jedna("select count(*) from KP where ID_Kasy is null or ID_Kasy=0"), "0");
    // Retyped columns keep their values, and no work column is left behind.
    EXPECT_EQ(kolumna("select FAKOUT_NUMER from FAKTURY order by FAKOUT_ID"), numery);
    EXPECT_FALSE(numery.empty());
    for (const char* t : {"FAKTURY", "K_FAKTUR", "Paragon", "zakupy", "tabela_vat"}) {
        const auto* tabela = polaczenie().database().catalog().table(t);
        ASSERT_NE(tabela, nullptr) << t;
        EXPECT_EQ(tabela->column("ccxxdfredvvcxds__ddfr"), nullptr) << t;
    }
    // The payment forms of invoices are the four kept or their contractor's.
    EXPECT_EQ(jedna("select count(*) from FAKTURY f inner join kontrahenci k on "
                    "k.konh_id=f.konh_id where f.FPLAT_NAZWA_ID<>k.FPLAT_NAZWA_ID and "
                    "f.FPLAT_NAZWA_ID not in ('Gotówka','Przelew','Gotówka+Przelew',"
                    "'Przelew+Gotówka')"),
              "0");
}

}  // namespace
}  // namespace kroki_test
