// A document posted when its lines are (steps 5.42, 6.13 and 6.39): a line whose posting id
// is not 0 is posted, one not given is not; a header is marked posted by its lines (-1) only
// where it has no posting of its own, 0 or Null as 0.
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Zaksiegowane : public BazaKroku {};

TEST_F(Zaksiegowane, AHeaderIsPostedByItsPostedLinesUnlessItHasAPostingOfItsOwn) {
    // A correction header's posting id, its line's posting id, and the header after the step.
    const struct {
        const char* naglowek;
        const char* pozycja;
        const char* po;
    } przypadki[] = {
        {"Null", "5", "-1"}, {"0", "5", "-1"},         {"7", "5", "7"},
        {"0", "Null", "0"},  {"Null", "Null", "Null"},
    };
    const struct {
        double wersja;
        MetodaKroku krok;
    } kroki[] = {{5.41, &ClsKonwersje::Konwersja_542},
                 {6.12, &ClsKonwersje::Konwersja_613},
                 {6.38, &ClsKonwersje::Konwersja_639}};
    for (const auto& k : kroki) {
        SCOPED_TRACE(k.wersja);
        Otworz(k.wersja);
        for (const char* t : {"DOK_ZAK", "DOK_KZA", "DOK_WZ", "DOK_PZ"}) {
            const std::string id = " (numer_id long, FKOROUT_ID long, DDOUT_ID long, id_kpir long";
            Sql(std::string("create table ") + t + id + ")");
            Sql(std::string("create table ") + t + "_ZAWART" + id +
                ", WTYMST money, KOSZTPOJAZDU_Z bit)");
        }
        // What else steps 5.42 and 6.13 write to.
        for (const char* t :
             {"PRODUKTY_RECEPTURY (PROD_ID long)", "USUNIETO (nr_dokumentu long)",
              "DRUKARKI (Port text(10), Emulacja text(10), Podajnik text(10), StronaKodowa "
              "text(10))",
              "PLACE_LISTY (id long)", "KADRY_UMOWY (id long)",
              "KADRY_WARUNKI ([Inne_skł] text(50), Inne_war text(50))"})
            Sql(std::string("create table ") + t);
        int id = 0;
        for (const auto& p : przypadki) {
            const std::string n = std::to_string(++id);
            Sql("insert into DOK_KZA (FKOROUT_ID, id_kpir) values (" + n + ", " + p.naglowek + ")");
            Sql("insert into DOK_KZA_ZAWART (FKOROUT_ID, id_kpir, WTYMST, KOSZTPOJAZDU_Z) values "
                "(" +
                n + ", " + p.pozycja + ", 0, 0)");
        }
        EXPECT_EQ(Krok(k.krok), "");
        std::vector<std::string> oczekiwane;
        for (const auto& p : przypadki) oczekiwane.push_back(p.po);
        EXPECT_EQ(Kolumna("select id_kpir from DOK_KZA order by FKOROUT_ID"), oczekiwane);
        TearDown();
    }
}

}  // namespace
}  // namespace kroki_test
