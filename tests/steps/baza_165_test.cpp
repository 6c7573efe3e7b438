// The release 1.65 database through the oldest steps: every statement accepted, and the
// shape the later steps expect.
#include "kroki_fixture.h"

namespace kroki_test {
namespace {

TEST_F(KrokiTest, Baza165DoWersji197) {
    EXPECT_EQ(jedna("select NumerWersji from Nieruszac"), "1,65");
    EXPECT_EQ(polaczenie().database().catalog().relations().size(), 3u);
    ASSERT_NO_THROW(kroki(165, 197));

    // The product table holds every kind, numbered 1 ... N in kind order.
    EXPECT_EQ(kolumna("select distinct rodzaj from PRODUKTY order by rodzaj"),
              (std::vector<std::string>{"K", "O", "P", "S", "T"}));
    const auto n = std::stoi(jedna("select count(*) from PRODUKTY"));
    EXPECT_EQ(jedna("select max(prod_numer_id) from PRODUKTY"), std::to_string(n));
    EXPECT_EQ(jedna("select count(*) from PRODUKTY where prod_wl<>1"), "0");
    for (const char* t : {"surowce", "magazyn_surowcow", "PolPRODUKTY", "PolPRODUKTY_receptury"})
        EXPECT_EQ(jedna(std::string("select count(*) from ") + t), "0") << t;
    EXPECT_EQ(jedna("select count(*) from Grupy where Nazwa='Podstawowa'"), "1");
    // Every product has its quantity rows.
    EXPECT_EQ(jedna("select count(*) from PRODUKTY left join SPRZEDAZ_ILOSC on "
                    "PRODUKTY.prod_id=SPRZEDAZ_ILOSC.prod_id where SPRZEDAZ_ILOSC.prod_id is null"),
              "0");
    EXPECT_EQ(jedna("select count(*) from PRODUKTY left join magazyn_produktow on "
                    "PRODUKTY.prod_id=magazyn_produktow.prod_id where magazyn_produktow.prod_id "
                    "is null"),
              "0");
}

}  // namespace
}  // namespace kroki_test
