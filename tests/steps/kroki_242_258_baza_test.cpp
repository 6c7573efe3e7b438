// The release 1.65 database brought through 2.58: invoice book links on the headers,
// correction lines by mode, collective flags, and documents linked to the period rows
// of their contractor's numbering scheme.
#include "kroki_fixture.h"

namespace kroki_test {
namespace {

TEST_F(KrokiTest, Baza165DoWersji258) {
    ASSERT_NO_THROW(kroki(165, 213));
    Wersja_Bazy = 2.13;
    ASSERT_NO_THROW(kroki(213, 241));
    const std::string linie_korekt = jedna("select count(*) from K_FAKTUR_ZAWART");
    ASSERT_NO_THROW(kroki(241, 258));

    for (const char* t : {"Usunieto", "Deklaracje", "Deklaracje_Zawart"})
        EXPECT_TRUE(jest_tabela(t)) << t;
    EXPECT_EQ(jedna("select count(*) from K_FAKTUR_ZAWART"), linie_korekt);
    EXPECT_EQ(jedna("select count(*) from K_FAKTUR_ZAWART where zfkorout_tryb='n' and "
                    "(CENA_ORG<>0 or ZFKOROUT_ILOSC<>0 or zfkorout_ilosckor<0)"),
              "0");
    EXPECT_EQ(jedna("select count(*) from FAKTURY where FAKOUT_ZBIORCZA<>0 and "
                    "(FAKOUT_NR_DD='' or FAKOUT_NR_DD is null)"),
              "0");
    EXPECT_EQ(jedna("select count(*) from NUMERY_OST_DOK where MIESIAC is null"), "0");
    // Documents with a driver whose contractor has the yearly scheme are linked to the
    // period row of their year; the others stay unlinked.
    for (const char* t : {"FAKTURY", "DOWODY_DOSTAW", "Dok_Wewnentrzne"}) {
        const std::string tabela = t;
        const std::string data = tabela == "FAKTURY" ? "fakout_data_wyst" : "ddout_data_wyst";
        EXPECT_EQ(jedna("select count(*) from (" + tabela +
                        " as d inner join kontrahenci as k on k.konh_id=d.konh_id) inner join "
                        "sposob_numeracji_zawart as z on z.id=d.smz_id where k.sm_id<>z.sm_id or "
                        "z.rok<>Format(d." +
                        data + ", 'yyyy')"),
                  "0")
            << t;
        EXPECT_NE(jedna("select count(*) from " + tabela + " where smz_id<>0"), "0") << t;
        EXPECT_EQ(jedna("select count(*) from " + tabela +
                        " as d inner join kontrahenci as k on k.konh_id=d.konh_id where "
                        "d.smz_id<>0 and (k.sm_id=0 or d.kier_id=0)"),
                  "0")
            << t;
    }
}

}  // namespace
}  // namespace kroki_test
