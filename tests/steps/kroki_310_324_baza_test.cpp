// The release 1.65 database brought through 3.24: customers that pay for themselves, unit
// weights, the VAT breakdown in the document headers and no per-column index left. Runs
// once every step up to 3.24 is built.
#include <string>

#include "dao/dao.h"
#include "kroki_fixture.h"

namespace kroki_test {
namespace {

TEST_F(KrokiTest, Baza165DoWersji324) {
    std::string brak;
    for (int v = 166; v <= 324; ++v) {
        const PozycjaKroku p = Akcja_Kroku(v);
        if (p.rodzaj == RodzajKroku::Metoda && p.metoda == nullptr) brak += " " + std::to_string(v);
    }
    ASSERT_EQ(brak, "") << "steps not built";

    // As the version loop: during step v the database version is the previous one reached.
    for (int v = 166; v <= 324; ++v) {
        const PozycjaKroku p = Akcja_Kroku(v);
        if (p.rodzaj == RodzajKroku::Metoda) {
            Krok_Konwersji = v;
            ASSERT_NO_THROW((k.*p.metoda)()) << v;
        }
        Wersja_Bazy = v / 100.0;
    }

    EXPECT_FALSE(jest_tabela("tabela_vat"));
    EXPECT_EQ(jedna("select count(*) from KONTRAHENCI where KONH_PLATNIK=0 and "
                    "KONH_naz_skrot=KONH_PLATNIK_KTO"),
              "0");
    EXPECT_EQ(jedna("select count(*) from S_JEDNOSTKI where JED_WAGAwKG<=0 or JED_WAGAwKG is "
                    "null"),
              "0");
    // A sales invoice that carries a breakdown adds up to its net total.
    EXPECT_EQ(jedna("select count(*) from DOK_FAK where "
                    "format(FAKOUT_WART_N,'0.00')<>format(n7+n22+n0+nzw+n3,'0.00')"),
              "0");
    auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
    for (int i = 0; i < baza->TableDefCount(); ++i) {
        const dao::TableDef td = baza->TableDefs(i);
        if (td.Name().starts_with("MSys")) continue;
        for (const dao::Index& x : td.Indexes())
            for (int f = 0; f < td.FieldCount(); ++f)
                EXPECT_NE(x.Name, "ind" + td.Fields(f).Name()) << td.Name();
    }
}

}  // namespace
}  // namespace kroki_test
