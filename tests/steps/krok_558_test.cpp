// Step 5.58: unique short names, codes and product codes of 25 characters, and the
// contractors numbered 1 to N.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <future>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "dao/dao.h"
#include "platform/clipboard.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Krok558 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(5.57);
        Sql("create table KH_KONTA (ROK long, NR_K_1 text(10), NR_K_2 text(10), NR_K_3 "
            "text(10), NR_K_4 text(10))");
        Sql("insert into KH_KONTA values (2005, '201', '1', '', '')");
        Sql("create table kontrahenci (konh_id long, KONH_NAZ_SKROT text(30), Konh_kod "
            "text(30), konh_numer long, LCEN_NAZWA_ID text(20))");
        Sql("create table produkty (prod_id long, prod_kod text(30))");
    }
    void Kontrahent(int id, const std::string& skrot, const std::string& kod, int numer) {
        Sql("insert into kontrahenci values (" + std::to_string(id) + ", " + skrot + ", " + kod +
            ", " + std::to_string(numer) + ", 'Detal')");
    }

    // Runs the step in a thread of its own; a step that does not return within a
    // minute (a walk that never ends) ends the whole test program with a failure
    // instead of holding it.
    std::string Krok_Z_Terminem() {
        auto wynik =
            std::async(std::launch::async, [this] { return Krok(&ClsKonwersje::Konwersja_558); });
        if (wynik.wait_for(std::chrono::minutes(1)) != std::future_status::ready) {
            std::fputs("Konwersja_558 did not return within a minute\n", stderr);
            std::_Exit(1);
        }
        return wynik.get();
    }

    static std::string Schowek() {
        std::ifstream plik(platform::clipboard_file());
        return std::string(std::istreambuf_iterator<char>(plik), {});
    }

    // The three code columns (Text (25)) and konh_numer have their unique indexes.
    void Sprawdz_Unikalne() {
        const auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
        for (const auto& [tabela, indeks] :
             {std::pair{"kontrahenci", "KONH_NAZ_SKROT"}, std::pair{"kontrahenci", "Konh_kod"},
              std::pair{"kontrahenci", "konh_numer"}, std::pair{"produkty", "prod_kod"}}) {
            bool unikalny = false;
            for (const dao::Index& i : baza->TableDefs(tabela).Indexes())
                unikalny = unikalny || (i.Name == indeks && i.Unique);
            EXPECT_TRUE(unikalny) << indeks;
        }
    }
};

TEST_F(Krok558, CodesBecomeUniqueAndNumbersRunFromOne) {
    Kontrahent(1, "'abc'", "'K1'", 9);
    Kontrahent(2, "'ABC'", "'K1'", 5);
    Kontrahent(3, "'Piekarnia Pod Gubałówką sp'", "'k1'", 12);  // 26 characters
    Kontrahent(4, "'Piekarnia Pod Gubałówką s'", "'K2'", 9);
    Sql("insert into produkty values (1, 'X')");
    Sql("insert into produkty values (2, 'X')");
    Sql("insert into produkty values (3, 'Y')");

    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_558), "");

    const auto skroty = Kolumna("select KONH_NAZ_SKROT from kontrahenci order by konh_id");
    ASSERT_EQ(skroty.size(), 4u);
    EXPECT_EQ(skroty[0].substr(0, 3), "ABC");
    EXPECT_EQ(skroty[1].substr(0, 3), "ABC");
    EXPECT_NE(skroty[0], skroty[1]);
    // The 26th character is cut (and logged); the cut name then equals another one and
    // is made unique like any duplicate, within 25 characters.
    EXPECT_EQ(Linie_Logu("skrócono do 25 znaków").size(), 1u);
    EXPECT_NE(skroty[2], skroty[3]);
    EXPECT_EQ(Kolumna("select max(len(KONH_NAZ_SKROT)) from kontrahenci"),
              (std::vector<std::string>{"25"}));
    const auto kody = Kolumna("select Konh_kod from kontrahenci order by konh_id");
    EXPECT_EQ(std::set<std::string>(kody.begin(), kody.end()).size(), 4u);
    EXPECT_EQ(kody[3], "K2");
    EXPECT_EQ(Kolumna("select konh_numer from kontrahenci order by konh_numer"),
              (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(Kolumna("select konh_id from kontrahenci where konh_numer=1"),
              (std::vector<std::string>{"2"}));
    EXPECT_EQ(Kolumna("select prod_kod from produkty order by prod_id"),
              (std::vector<std::string>{"X", "X1", "Y"}));
    // The unique indexes stand (columns named: the retyped ones now stand last).
    for (const char* s :
         {"insert into produkty (prod_id, prod_kod) values (4, 'Y')",
          "insert into kontrahenci (konh_id, KONH_NAZ_SKROT, Konh_kod, konh_numer) values (5, "
          "'N', 'K2', 99)",
          "insert into kontrahenci (konh_id, KONH_NAZ_SKROT, Konh_kod, konh_numer) values (6, "
          "'N2', 'K9', 1)"})
        EXPECT_NE(Uruchom([&] { Sql(s); }), "") << s;
    EXPECT_EQ(Typ_Pola("KH_KONTA", "NR_K_2"), Typ_Pola("kontrahenci", "Konh_kod"));
}

// Equal values get values of their own within the 25 characters, also where the
// numbered value would be the value itself, longer than 25 characters or another row's
// value; each such change is logged with the row's key. Ordinary duplicates keep the
// numbering of the walks and of the appended "1".
TEST_F(Krok558, EqualCodesGetValuesOfTheirOwn) {
    struct Przypadek {
        const char* nazwa;
        const char* pole;                // KONH_NAZ_SKROT, Konh_kod or prod_kod
        std::vector<std::string> przed;  // the values of keys 1, 2, ...
        std::vector<std::string> po;
        std::vector<int> zmienione;  // the keys whose change is logged
    };
    const std::string zera(25, '0'), jedynki(25, '1'), litery = "ABCDEFGHIJKLMNOPQRSTUVWXY";
    const Przypadek przypadki[] = {
        {"codes of 29 characters equal after the cut",
         "Konh_kod",
         {zera + "1234", zera + "1235"},
         {zera, zera.substr(0, 24) + "1"},
         {2}},
        {"code numbered into another contractor's code",
         "Konh_kod",
         {"K1", "K1", "K10"},
         {"K1", "K11", "K10"},
         {2}},
        {"ordinary duplicate codes", "Konh_kod", {"K1", "k1"}, {"K1", "K10"}, {}},
        {"short names equal after the cut, numbered into themselves",
         "KONH_NAZ_SKROT",
         {jedynki + " sp", jedynki + " SA"},
         {jedynki, jedynki.substr(0, 24) + "2"},
         {2}},
        {"short name numbered into another contractor's name",
         "KONH_NAZ_SKROT",
         {"PIEKARNIA", "PIEKARNIA", "PIEKARNIA1"},
         {"PIEKARNIA", "PIEKARNIA2", "PIEKARNIA1"},
         {2}},
        {"short names of 29 characters numbered in front",
         "KONH_NAZ_SKROT",
         {zera + "1234", zera + "1235"},
         {zera, "1" + zera.substr(0, 24)},
         {}},
        {"product codes sharing their first 25 characters",
         "prod_kod",
         {litery + "-1", litery + "-2"},
         {litery, litery.substr(0, 24) + "1"},
         {2}},
        {"three product codes sharing their first 25 characters",
         "prod_kod",
         {litery + "-1", litery + "-2", litery + "-3"},
         {litery, litery.substr(0, 24) + "1", litery.substr(0, 24) + "2"},
         {2, 3}},
        {"product code appended into another product's code",
         "prod_kod",
         {"X", "X", "X1"},
         {"X", "X2", "X1"},
         {2}},
        {"ordinary duplicate product codes", "prod_kod", {"X", "X", "X"}, {"X", "X1", "X11"}, {}},
    };
    for (const Przypadek& c : przypadki) {
        SCOPED_TRACE(c.nazwa);
        TearDown();
        SetUp();
        komunikaty.str("");
        const std::string pole = c.pole;
        const std::string tabela = pole == "prod_kod" ? "produkty" : "kontrahenci";
        const std::string klucz = pole == "prod_kod" ? "prod_id" : "konh_id";
        for (size_t i = 0; i < c.przed.size(); ++i) {
            const std::string id = std::to_string(i + 1);
            const std::string w = "'" + c.przed[i] + "'";
            if (pole == "prod_kod")
                Sql("insert into produkty values (" + id + ", " + w + ")");
            else if (pole == "Konh_kod")
                Kontrahent(static_cast<int>(i + 1), "'N" + id + "'", w, static_cast<int>(i + 1));
            else
                Kontrahent(static_cast<int>(i + 1), w, "'C" + id + "'", static_cast<int>(i + 1));
        }

        ASSERT_EQ(Krok_Z_Terminem(), "");
        EXPECT_EQ(komunikaty.str(), "");

        EXPECT_EQ(Kolumna("select " + pole + " from " + tabela + " order by " + klucz), c.po);
        // The log writes apostrophes as double quotes.
        const auto linie = Linie_Logu("\" zmieniono na \"");
        ASSERT_EQ(linie.size(), c.zmienione.size());
        for (size_t i = 0; i < linie.size(); ++i) {
            const int id = c.zmienione[i];
            EXPECT_NE(linie[i].find(tabela + "." + pole + " " + std::to_string(id) + ": \"" +
                                    c.przed[id - 1].substr(0, 25) + "\" zmieniono na \"" +
                                    c.po[id - 1] + "\""),
                      std::string::npos)
                << linie[i];
        }
        Sprawdz_Unikalne();
    }
}

// Of an account that the chart holds twice for one year, the first copy (the lowest
// Countt, to which the postings are linked) stays with the later copies' figures and
// links; an account of another year or number stays as it is.
TEST_F(Krok558, AnAccountHeldTwiceForOneYearKeepsItsFirstCopy) {
    Sql("drop table KH_KONTA");
    Sql("create table KH_KONTA (COUNTT long, ROK long, NR_K_1 text(10), NR_K_2 text(10), NR_K_3 "
        "text(10), NR_K_4 text(10), Countt_Konta_Ojaca_1 long, WN_00 money, MA_01 money)");
    Sql("create table KH_DEKRETY (COUNTT long, Countt_Konta long, Countt_Konta_Ojaca_1 long)");
    for (const char* w :
         {"1, 2005, '201', '1', '', '', 0, 10, Null", "2, 2005, '201', '1', '', '', 0, 5, 7",
          "3, 2005, '201', '1', '', '', 0, Null, 1", "4, 2005, '201', '1', '2', '', 3, 0, 0",
          "5, 2006, '201', '1', '', '', 0, 1, 1"})
        Sql(std::string("insert into KH_KONTA values (") + w + ")");
    Sql("insert into KH_DEKRETY values (1, 2, 3)");
    Sql("insert into KH_DEKRETY values (2, 5, 0)");
    ASSERT_EQ(Krok_Z_Terminem(), "");
    EXPECT_EQ(Wiersze_Z("select COUNTT, Countt_Konta_Ojaca_1, WN_00, MA_01 from KH_KONTA order "
                        "by COUNTT"),
              (Wiersze{{"1", "0", "15", "8"}, {"4", "1", "0", "0"}, {"5", "0", "1", "1"}}));
    EXPECT_EQ(Wiersze_Z("select Countt_Konta, Countt_Konta_Ojaca_1 from KH_DEKRETY order by "
                        "COUNTT"),
              (Wiersze{{"1", "1"}, {"5", "0"}}));
    EXPECT_FALSE(Jest_Tabela("tmp_Konta_Pierwsze"));
}

// A database left by a run stopped inside the step by an earlier build (which kept what
// the step wrote) is completed by the next run: equal codes are made unique as by an
// uninterrupted run and the unique indexes are made, also over the codes that a stop at
// the mend of product codes left.
TEST_F(Krok558, RerunAfterAStopCompletesTheStep) {
    struct Przypadek {
        const char* nazwa;
        std::string przed;                // makes the first run stop ("" for none)
        const char* gdzie;                // a text of the stop's message
        std::vector<std::string> miedzy;  // sent before the next run
    };
    const std::string zera(25, '0'), litery = "ABCDEFGHIJKLMNOPQRSTUVWXY";
    const Przypadek przypadki[] = {
        {"no stop, a second run", "", "", {}},
        {"stopped at the price-list index after the short names",
         "alter table kontrahenci drop column LCEN_NAZWA_ID",
         "no field named 'LCEN_NAZWA_ID'",
         {"alter table kontrahenci add column LCEN_NAZWA_ID text(20)"}},
        {"stopped at the renumbering after the codes",
         "alter table kontrahenci drop column konh_numer",
         "UWAGA Load Baza DbOtwórzSELKonwersje",
         {"alter table kontrahenci add column konh_numer long"}},
        // The accounts' primary key refuses an account without its year: Jet's text
        // naming the table and key, no lost connection.
        {"stopped at the accounts' key over an account without its year",
         "insert into KH_KONTA values (Null, '202', '', '', '')",
         "-2147467259(Index or primary key cannot contain a Null value. Table and key: KH_KONTA "
         "(ROK, NR_K_1, NR_K_2, NR_K_3, NR_K_4).)",
         {"update KH_KONTA set ROK=2005 where ROK is null"}},
        // What an earlier build left when the appended "1" passed 25 characters.
        {"stopped at the mend of product codes",
         "",
         "",
         {"drop index prod_kod on produkty",
          "update produkty set prod_kod='" + litery + "' where prod_id=2"}},
    };
    for (const Przypadek& c : przypadki) {
        SCOPED_TRACE(c.nazwa);
        TearDown();
        SetUp();
        komunikaty.str("");
        Kontrahent(1, "'" + zera + "1234'", "'" + zera + "1234'", 7);
        Kontrahent(2, "'" + zera + "1235'", "'" + zera + "1235'", 3);
        Kontrahent(3, "'Piekarnia'", "'K3'", 5);
        Sql("insert into produkty values (1, '" + litery + "-1')");
        Sql("insert into produkty values (2, '" + litery + "-2')");
        if (!c.przed.empty()) Sql(c.przed);
        const std::string pierwszy = Krok_Z_Terminem();
        EXPECT_EQ(pierwszy.empty(), c.przed.empty()) << pierwszy;
        EXPECT_NE(pierwszy.find(c.gdzie), std::string::npos) << pierwszy;
        // The clipboard holds the statement that stopped the step.
        if (pierwszy.find("Table and key: KH_KONTA") != std::string::npos) {
            EXPECT_EQ(Schowek().rfind("CREATE UNIQUE INDEX Podstawowy ON kh_konta", 0), 0u)
                << Schowek();
        }
        if (!pierwszy.empty()) {  // the next start opens the database again
            DbZamknij();
            DbOtwórz();
        }
        for (const std::string& s : c.miedzy) Sql(s);

        ASSERT_EQ(Krok_Z_Terminem(), "");
        Sprawdz_Unikalne();
        EXPECT_EQ(Kolumna("select KONH_NAZ_SKROT from kontrahenci order by konh_id"),
                  (std::vector<std::string>{zera, "1" + zera.substr(0, 24), "Piekarnia"}));
        EXPECT_EQ(Kolumna("select Konh_kod from kontrahenci order by konh_id"),
                  (std::vector<std::string>{zera, zera.substr(0, 24) + "1", "K3"}));
        EXPECT_EQ(Kolumna("select prod_kod from produkty order by prod_id"),
                  (std::vector<std::string>{litery, litery.substr(0, 24) + "1"}));
        EXPECT_EQ(Kolumna("select konh_numer from kontrahenci order by konh_numer"),
                  (std::vector<std::string>{"1", "2", "3"}));
    }
}

}  // namespace
}  // namespace kroki_test
