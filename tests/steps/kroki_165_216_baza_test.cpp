// The release 1.65 database brought to 2.16 step by step, as the version loop runs the
// steps, and the outcome of steps 1.98 to 2.16 on its rows.
#include <cmath>
#include <map>

#include "db/nz.h"
#include "jet/text.h"
#include "kroki_fixture.h"

namespace kroki_test {
namespace {

TEST_F(KrokiTest, Baza165DoWersji216) {
    // The Setup table exists from 2.13 on: the later steps run with that version recorded.
    ASSERT_NO_THROW(kroki(165, 213));
    Wersja_Bazy = 2.13;
    ASSERT_NO_THROW(kroki(213, 216));
    // A Setup value: its text, or how many rows the key has.
    const auto Setup = [this](const std::string& klucz) {
        const auto w = kolumna("select Wartosc from Setup where Nazwa='" + klucz + "'");
        return w.size() == 1 ? w[0] : "(" + std::to_string(w.size()) + " rows)";
    };

    EXPECT_EQ(Setup("W:NAZWA 1"), "Piekarnia \"Złoty Kłos\"");
    EXPECT_EQ(Setup("W:FAX"), "");
    EXPECT_EQ(Setup("ROCZNA"), "1");
    EXPECT_EQ(Setup("PYTAJ"), "0");
    EXPECT_EQ(Setup("KOPIA"), "A:\\");
    EXPECT_EQ(Setup("WYS_ODSETEK"), "21");
    EXPECT_EQ(Setup("MIEJSCE_WYST"), "Nowy Targ");
    EXPECT_EQ(jet::text::length(Setup("SALDO_POTWIERDZENIE_1")), 260u);
    EXPECT_TRUE(kolumna("select nazwa from PARAMETRY_NAGLOWEK where dokument='Miejsce wystawienia'")
                    .empty());

    EXPECT_FALSE(jest_tabela("FORMY_PLATNOSCI"));
    for (const auto& kod : kolumna("select distinct FPLAT_NAZWA_ID from Kontrahenci"))
        EXPECT_TRUE(kod == "G" || kod == "P" || kod == "Gotówka") << kod;
    EXPECT_EQ(kolumna("select count(*) from Kontrahenci where FPLAT_DNI_ZWLOKI is null or "
                      "ProcentKier is null"),
              std::vector<std::string>{"0"});

    // One register row per booked purchase; each net is its document's line sum for the
    // rate, rounded to grosze, and each tax that net times the rate.
    const auto booked = kolumna("select count(*) from zakupy where numer_zaksiegowania<>''");
    EXPECT_EQ(kolumna("select count(*) from tabela_vat where r_dok='zakupy'"), booked);
    std::map<std::pair<std::string, std::string>, double> linie;
    for (const auto& w : wiersze("select z.numer_id, l.VAT, l.wart_n from zakupy z inner join "
                                 "zakupy_zawart l on z.numer_id=l.numer_id where "
                                 "z.numer_zaksiegowania<>''"))
        linie[{w[0], w[1]}] += jet::Value::text(w[2]).to_double();
    const auto netto = [&](const std::string& id, const char* stawka) {
        const auto it = linie.find({id, stawka});
        return it == linie.end()
                   ? 0.0
                   : NzCur(jet::Value::single(static_cast<float>(it->second))).to_double();
    };
    int sprawdzone = 0;
    for (const auto& w : wiersze("select id, n7, vat7, n22, vat22, n0 from tabela_vat where "
                                 "r_dok='zakupy'")) {
        const double n7 = netto(w[0], "7"), n22 = netto(w[0], "22"), n0 = netto(w[0], "0");
        EXPECT_NEAR(jet::Value::text(w[1]).to_double(), n7, 0.0101) << w[0];
        EXPECT_NEAR(jet::Value::text(w[2]).to_double(), std::round(n7 * 7) / 100, 0.0101) << w[0];
        EXPECT_NEAR(jet::Value::text(w[3]).to_double(), n22, 0.0101) << w[0];
        EXPECT_NEAR(jet::Value::text(w[4]).to_double(), std::round(n22 * 22) / 100, 0.0101) << w[0];
        EXPECT_NEAR(jet::Value::text(w[5]).to_double(), n0, 0.0101) << w[0];
        ++sprawdzone;
    }
    EXPECT_GT(sprawdzone, 0);
}

}  // namespace
}  // namespace kroki_test
