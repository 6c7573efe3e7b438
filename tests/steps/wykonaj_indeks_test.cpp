// The index executor with retries: attempts until one succeeds, a second apart, silent
// for 500 failures and then asking after each failure whether to go on; an index that
// exists already is not tried again, and rows that the index cannot take stop the run.
#include <string>
#include <vector>

#include "db/polaczenie.h"
#include "db/postep.h"
#include "platform/message_box.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class WykonajIndeks : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(5.47);
        Sql("create table T (x long)");
        Sql("insert into T values (1)");
        Sql("insert into T values (1)");
    }
    void TearDown() override {
        platform::set_answer_source(nullptr);
        BazaKroku::TearDown();
    }
};

TEST_F(WykonajIndeks, RetriesUntilTheIndexIsMadeOrTheUserStops) {
    const std::string indeks = "CREATE UNIQUE INDEX ux ON T (x)";
    struct Przypadek {
        const char* nazwa;
        bool duplikat;                // the index fails while T holds the duplicate
        bool istnieje;                // the index is there before the call
        std::vector<int> odpowiedzi;  // answers to the questions, in order
        bool napraw_przy_pytaniu;     // the duplicate goes at the first question
        bool wynik;
        size_t pytania;
        bool czeka;  // a failed attempt waits before the next one
    };
    const std::vector<Przypadek> przypadki = {
        {"first attempt", false, false, {}, false, true, 0, false},
        {"index already there: one attempt", false, true, {}, false, false, 0, false},
        // rows that no attempt mends: the run stops at the first, naming the row
        {"duplicates", true, false, {}, false, false, 1, false},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        Sql("drop table T");
        Sql("create table T (x long)");
        Sql("insert into T values (1)");
        Sql(p.duplikat ? "insert into T values (1)" : "insert into T values (2)");
        if (p.istnieje) Sql(indeks);
        set_status_line(3, "-");
        std::vector<std::string> pytania;
        size_t n = 0;
        platform::set_answer_source(
            [&](std::string_view tekst, int, std::string_view tytul) -> std::optional<int> {
                pytania.push_back(std::string(tytul) + "|" + std::string(tekst));
                if (p.napraw_przy_pytaniu) Sql("delete from T");
                return n < p.odpowiedzi.size() ? std::optional<int>(p.odpowiedzi[n++])
                                               : std::optional<int>(platform::mb::no);
            });
        bool wynik = false;
        const std::string r =
            Uruchom([&] { wynik = k.dbpExecutekONWERSJIA(DbPolaczenie, indeks); });
        EXPECT_EQ(r.find("Table and key: T (x).). Wiersze: x = 1 (2 wiersze). Klucza") !=
                      std::string::npos,
                  p.duplikat);
        EXPECT_EQ(wynik, p.wynik);
        ASSERT_EQ(pytania.size(), p.pytania);
        EXPECT_EQ(status_line(3) != "-", p.czeka);
        if (!pytania.empty() && !p.duplikat) {
            EXPECT_EQ(pytania[0].rfind("Uwaga|Wystąpił błąd podczas tworzenia index'ów:-", 0), 0u)
                << pytania[0];
            const std::string koniec = " Kontynuować ?";
            EXPECT_EQ(pytania[0].substr(pytania[0].size() - koniec.size()), koniec);
        }
    }
}

TEST_F(WykonajIndeks, OneAttemptReportsWithoutAWord) {
    std::unique_ptr<ado::Connection> brak;
    EXPECT_FALSE(k.dbpExecuteErrkONWERSJIA(brak, "CREATE INDEX a ON T (x)"));
    EXPECT_FALSE(k.dbpExecuteErrkONWERSJIA(DbPolaczenie, "CREATE UNIQUE INDEX ux ON Brak (x)"));
    EXPECT_LT(k.Ostatni_Blad_Numer, 0);
    EXPECT_FALSE(k.Ostatni_Blad_Opis.empty());
    EXPECT_TRUE(k.dbpExecuteErrkONWERSJIA(DbPolaczenie, "CREATE INDEX a ON T (x)"));
    EXPECT_TRUE(komunikaty.str().empty());
    EXPECT_TRUE(Linie_Logu("INDEX").empty());
}

}  // namespace
}  // namespace kroki_test
