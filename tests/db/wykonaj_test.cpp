#include "db/wykonaj.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "dao/dao.h"
#include "db/komunikaty.h"
#include "db_env.h"

namespace {

class Wykonaj : public DbEnv {
  protected:
    void SetUp() override {
        DbEnv::SetUp();
        otworz_baze({"CREATE TABLE T (id long, a long, s TEXT(10))",
                     "CREATE UNIQUE INDEX ua ON T (a)",
                     "INSERT INTO T (id, a, s) VALUES (1, 1, 'x')",
                     "INSERT INTO T (id, a, s) VALUES (2, 2, 'x')"});
        Biezaca_Operacja = "Nieruszać 2";
        linii = log().size();
    }
    std::vector<std::string> nowe_linie() const {
        auto l = log();
        return {l.begin() + static_cast<long>(linii), l.end()};
    }
    size_t linii = 0;
};

TEST_F(Wykonaj, ExpectedSchemaFailuresAreAbsorbedOrReturnedSilently) {
    struct Przypadek {
        const char* polecenie;
        const char* poczatek;  // how DbWykonaj's result begins ("" for an absorbed failure)
    };
    const Przypadek przypadki[] = {
        {"DROP TABLE Brak", ""},
        {"ALTER TABLE T DROP COLUMN brak", ""},
        {"DROP INDEX brak ON T", ""},
        {"ALTER TABLE T ADD COLUMN a long", "-2147217900("},
        {"ALTER TABLE T ADD a long", "-2147217900("},
        {"CREATE TABLE T (x long)", "-2147217900("},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.polecenie);
        int32_t rekordy = 5;
        const std::string r = DbWykonaj(p.polecenie, 0, rekordy);
        EXPECT_EQ(rekordy, -1);
        if (*p.poczatek == 0)
            EXPECT_EQ(r, "");
        else
            EXPECT_EQ(r.rfind(p.poczatek, 0), 0u) << r;
    }
    EXPECT_TRUE(okna.empty());
    EXPECT_TRUE(nowe_linie().empty());
}

TEST_F(Wykonaj, ResultTextsOfTheBaseExecutor) {
    int32_t rekordy = 0;
    EXPECT_EQ(DbWykonajSQL("UPDATE T SET a = a + 10", rekordy, false), "");
    EXPECT_EQ(rekordy, 2);
    EXPECT_EQ(DbWykonajSQL("SELEKT 1", rekordy, false).rfind("-2147217900(", 0), 0u);
    EXPECT_EQ(rekordy, -1);
    EXPECT_EQ(DbWykonajSQL("SELECT * FROM Brak", rekordy, false).rfind("-2147217865(", 0), 0u);
    // A duplicate in a unique index comes as the provider's unspecified failure, which a
    // quiet run passes over as it does a lost connection; otherwise it is no lost
    // connection but Jet's "duplicate values", naming the table and key.
    EXPECT_EQ(DbWykonajSQL("UPDATE T SET a = 11", rekordy, true), "1");
    const std::string r = DbWykonajSQL("UPDATE T SET a = 11", rekordy, false);
    EXPECT_EQ(r.rfind("-2147467259(The changes you requested to the table were not successful", 0),
              0u)
        << r;
    EXPECT_TRUE(r.ends_with(" Table and key: T (a).)")) << r;
    // Two VAT rows of one id whose kinds become one (3.01's last update), and a unique
    // index over repeated keys: the table and every column of the key named.
    for (const char* p : {"CREATE TABLE V (id long, r_dok text(30))",
                          "CREATE UNIQUE INDEX P ON V (id, r_dok) WITH PRIMARY",
                          "INSERT INTO V VALUES (1, 'z')", "INSERT INTO V VALUES (1, 'f')"})
        ASSERT_EQ(DbWykonajSQL(p, rekordy, false), "");
    EXPECT_TRUE(DbWykonajSQL("UPDATE V SET r_dok = 'f' WHERE r_dok = 'z'", rekordy, false)
                    .ends_with(" Table and key: V (id, r_dok).)"));
    EXPECT_TRUE(DbWykonajSQL("CREATE UNIQUE INDEX S ON T (s)", rekordy, false)
                    .ends_with(" Table and key: T (s).)"));
    // A primary key over a row with a Null in it: Jet's text, naming the table and key.
    ASSERT_EQ(DbWykonajSQL("INSERT INTO V (r_dok) VALUES ('n')", rekordy, false), "");
    ASSERT_EQ(DbWykonajSQL("DROP INDEX P ON V", rekordy, false), "");
    EXPECT_EQ(DbWykonajSQL("CREATE INDEX P ON V (r_dok, id) WITH PRIMARY", rekordy, false),
              "-2147467259(Index or primary key cannot contain a Null value. Table and key: V "
              "(r_dok, id).)");
}

TEST_F(Wykonaj, NoErrorOnlyLogs) {
    int32_t rekordy = 0;
    const std::string r = DbWykonaj("CREATE INDEX ib ON T (brak)", -1, rekordy);
    EXPECT_EQ(r.rfind("-2147217900(", 0), 0u) << r;
    EXPECT_TRUE(okna.empty());
    EXPECT_EQ(schowek(), "<pusty>");
    std::string w_logu = r;  // apostrophes of a logged field become double quotes
    std::replace(w_logu.begin(), w_logu.end(), '\'', '"');
    EXPECT_EQ(nowe_linie(), std::vector<std::string>{",,,Nieruszać 2,CREATE INDEX ib ON T (brak),"
                                                     "DbWykonajNoError,Error: " +
                                                     w_logu + "," + baza});
}

TEST_F(Wykonaj, OtherFailuresAskAbortRetryIgnore) {
    odpowiedzi = {vbRetry, vbIgnore};
    int32_t rekordy = 0;
    const std::string r = DbWykonaj("SELECT * FROM Brak", 0, rekordy);
    EXPECT_EQ(r.rfind("-2147217865(", 0), 0u);
    ASSERT_EQ(okna.size(), 2u);
    EXPECT_EQ(okna[0].tekst, r + "\r\nSELECT * FROM Brak");
    EXPECT_EQ(okna[0].styl, vbAbortRetryIgnore);
    EXPECT_EQ(okna[0].tytul, "błąd:  " + r + " w Nieruszać 2");
    EXPECT_EQ(schowek(), "SELECT * FROM Brak");
    const auto l = nowe_linie();
    ASSERT_EQ(l.size(), 4u);  // failure, answer, failure, answer
    std::string w_logu = r;   // apostrophes of a logged field become double quotes
    std::replace(w_logu.begin(), w_logu.end(), '\'', '"');
    EXPECT_EQ(l[0], ",,,Nieruszać 2,SELECT * FROM Brak,DbWykonaj," + w_logu + "," + baza);

    okna.clear();
    odpowiedzi = {vbAbort};
    EXPECT_EQ(koniec([&] { DbWykonaj("SELECT * FROM Brak", 0, rekordy); }),
              platform::exit_status::fatal);
    EXPECT_EQ(znacznik(), "0000");
}

TEST_F(Wykonaj, UpdateBuildsItsStatement) {
    EXPECT_EQ(DbWykonajUPD("", "T", "a=a+100", ""), 2);
    EXPECT_EQ(DbWykonajUPD("", "T", "s='z'", "id=1"), 1);
    EXPECT_EQ(DbWykonajUPD("T SET s='w' WHERE id=2", "", "", ""), 1);
    EXPECT_EQ(wiersze("SELECT a, s FROM T ORDER BY id"),
              (std::vector<std::string>{"101|z", "102|w"}));
    EXPECT_TRUE(okna.empty());
}

TEST_F(Wykonaj, UpdateLostConnectionRetriesThenAsks) {
    // Quiet: no rerun and no question; but the rows stay as they were, so the run ends.
    EXPECT_EQ(koniec([&] { DbWykonajUPD("", "T", "a=5", "", "", true); }),
              platform::exit_status::fatal);
    ASSERT_EQ(okna.size(), 1u);
    EXPECT_EQ(okna[0].styl, vbCritical);
    okna.clear();
    Zapisz_Rejestr("dodralvex", "0123", 0);
    DbOtwórz();
    Biezaca_Operacja = "Nieruszać 2";
    linii = log().size();
    // Not quiet: duplicate values are no lost connection, nor asked about: rows that would
    // repeat a key stop with their own text.
    EXPECT_EQ(koniec([&] { DbWykonajUPD("", "T", "a=5", ""); }), platform::exit_status::fatal);
    ASSERT_EQ(okna.size(), 1u);
    EXPECT_EQ(okna[0].styl, vbCritical);
    EXPECT_NE(okna[0].tekst.find("). Wiersze polecenia powtórzyłyby klucz tabeli"),
              std::string::npos);
    EXPECT_EQ(schowek(), "UPDATE T set a=5");
}

TEST_F(Wykonaj, UpdateOfAMissingColumnEndsTheProcess) {
    EXPECT_EQ(koniec([&] { DbWykonajUPD("", "T", "brak=1", "id=1"); }),
              platform::exit_status::fatal);
    ASSERT_EQ(okna.size(), 1u);
    EXPECT_EQ(okna[0].tekst, "UPDATE T set brak=1 Where id=1");
    EXPECT_EQ(okna[0].styl, vbCritical);
    EXPECT_EQ(okna[0].tytul.rfind("Uwaga wystąpił następujący błąd:  -2147217904(", 0), 0u);
    EXPECT_EQ(znacznik(), "0000");
}

TEST_F(Wykonaj, Delete) {
    EXPECT_EQ(DbWykonajDEL("T WHERE id=1"), 1);
    EXPECT_EQ(DbWykonajDEL("T", "*"), 1);
    odpowiedzi = {vbIgnore};
    EXPECT_EQ(DbWykonajDEL("Brak"), -1);
    EXPECT_EQ(schowek(), "DELETE  FROM Brak");
    EXPECT_EQ(nowe_linie().at(0).find(",,,Nieruszać 2,DELETE  FROM Brak,DbWykonajDEL,-2147217865("),
              0u);
}

TEST_F(Wykonaj, TooLongWidensShortTextColumnsAndRunsAgain) {
    DbWykonaj("CREATE TABLE W (k long, s TEXT(5), d TEXT(255), n long)");
    DbWykonaj("CREATE INDEX inds ON W (s)");
    DbWykonaj("INSERT INTO W (k, s, d, n) VALUES (1, 'abc', 'def', 3)");
    int32_t rekordy = 0;
    EXPECT_EQ(DbWykonajSQL("UPDATE W SET s='0123456789' WHERE k=1", rekordy, false), "");
    EXPECT_EQ(rekordy, 1);
    EXPECT_EQ(wiersze("SELECT k, s, d, n FROM W"), std::vector<std::string>{"1|0123456789|def|3"});
    // The table was told about (twice: the repair looks for the open DAO database first).
    ASSERT_FALSE(okna.empty());
    EXPECT_EQ(okna.back().tekst, "Najmniej jedno za krótkie pole tekstowe w tabeli : [W]");

    // A bracketed table name is found as well.
    okna.clear();
    DbWykonaj("CREATE TABLE [V 1] (s TEXT(3))");
    EXPECT_EQ(DbWykonajSQL("INSERT INTO [V 1] (s) VALUES ('abcdef')", rekordy, false), "");
    EXPECT_EQ(wiersze("SELECT s FROM [V 1]"), std::vector<std::string>{"abcdef"});
}

TEST_F(Wykonaj, TooLongRepairFindsTheStatementsTable) {
    struct Przypadek {
        const char* polecenie;
        const char* tabela;
        const char* blad;
    };
    const Przypadek przypadki[] = {
        {"UPDATE Brak SET a='x'", "[Brak]", "-2147217865("},
        {"UPDATE [Brak 2] SET [a]='x'", "[Brak 2]", "-2147217865("},
        {"INSERT INTO Brak (a) VALUES ('x')", "[Brak]", "-2147217865("},
        // A file that does not exist.
        {"INSERT INTO [/x/inna.mdb].[Brak] (a) VALUES ('x')", "[Brak]", "-2147467259("},
    };
    for (const auto& [polecenie, tabela, blad] : przypadki) {
        SCOPED_TRACE(polecenie);
        okna.clear();
        int32_t rekordy = 0;
        // No such table: the message only, then the statement once more, which fails.
        const std::string r = Poszerz_Pola_Z_SQL(polecenie, rekordy);
        EXPECT_EQ(r.rfind(blad, 0), 0u) << r;
        ASSERT_EQ(okna.size(), 2u);
        EXPECT_EQ(okna[1].tekst,
                  "Najmniej jedno za krótkie pole tekstowe w tabeli : " + std::string(tabela));
    }
}

TEST_F(Wykonaj, DaoExecutorReturnsTheDescriptionAlone) {
    auto db = dao::DBEngine::OpenDatabase(baza);
    EXPECT_EQ(DbWykonajDAO("UPDATE T SET a = a + 10", db), "");
    const std::string r = DbWykonajDAO("SELECT * FROM Brak", db);
    EXPECT_FALSE(r.empty());
    EXPECT_EQ(r.find("-2147"), std::string::npos);
    db->Close();
    EXPECT_FALSE(DbWykonajDAO("UPDATE T SET a = 1", nullptr).empty());
}

// The callers pass over the description returned: a failure of the environment is
// raised instead, whatever the statement.
TEST_F(Wykonaj, DaoExecutorRaisesTheEnvironmentsFailures) {
    auto db = dao::DBEngine::OpenDatabase(baza);
    for (const jet::Error& awaria : awarie_srodowiska()) {
        SCOPED_TRACE(awaria.description());
        Awaria_Zapisu a(awaria, 1);
        try {
            DbWykonajDAO("UPDATE T SET a = a + 10", db);
            ADD_FAILURE() << "returned";
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.description(), awaria.description());
        }
        EXPECT_EQ(a.zostalo(), 0);
    }
    // The statement's own failure is still returned.
    Awaria_Zapisu a(jet::make_error(jet::Fault::Duplicate), 1);
    EXPECT_EQ(DbWykonajDAO("UPDATE T SET a = a + 10", db),
              jet::make_error(jet::Fault::Duplicate).description());
    db->Close();
    EXPECT_EQ(wiersze("SELECT a FROM T ORDER BY a"), (std::vector<std::string>{"1", "2"}));
}

TEST_F(Wykonaj, ReconnectsWhenTheConnectionIsDown) {
    DbZamknij();
    int32_t rekordy = 0;
    EXPECT_EQ(DbWykonajSQL("UPDATE T SET a = a + 10", rekordy, false), "");
    EXPECT_EQ(rekordy, 2);
    EXPECT_EQ(Baza_Otwarta, -1);
    EXPECT_EQ(log().back(),
              ",,,Nieruszać 2,Baza Otwarta  -Automat. Użytkownik:,DBCLOSE2, "
              "Stanowsiko ,Win:," +
                  baza);
}

// A file locked for a moment is run again at once, and the Log names the failure.
TEST_F(Wykonaj, ALockedFileRunAgainAtOnceIsLogged) {
    {
        Awaria_Zapisu a(jet::Fault::FileLocked, 1);
        EXPECT_EQ(DbWykonajUPD("", "T", "s = 'y'", ""), 2);
    }
    const auto linie = nowe_linie();
    EXPECT_EQ(std::count_if(linie.begin(), linie.end(),
                            [](const std::string& l) {
                                return l.find(
                                           "UPDATE T set s = \"y\",DbWykonajUPD,Ponowione od "
                                           "razu po błędzie: -2147467259(Could not lock "
                                           "file.)") != std::string::npos;
                            }),
              1);
}

// A locked file or a full disk is no expected failure of a statement: neither the quiet
// flag, nor bez_bledu, nor a rule for the schema statements absorbs it. Each executor
// reruns it as it reruns a lost connection, then asks; Abort ends the process.
TEST_F(Wykonaj, EnvironmentFailuresAreAskedAboutWhateverTheFlags) {
    struct Przypadek {
        const char* nazwa;
        std::function<void(const char*)> wykonaj;
        const char* oczekiwany;  // the statement's expected failure: no question (or none)
        const char* zapis;       // fails only by the injected failure
        int przebiegi;           // the runs that fail before the question
    };
    const Przypadek przypadki[] = {
        {"DbWykonaj bez_bledu", [](const char* p) { DbWykonaj(p, -1); }, "DROP INDEX brak ON T",
         "DROP INDEX ua ON T", 1},
        // a table there already is returned silently, a full disk is not
        {"DbWykonaj", [](const char* p) { DbWykonaj(p, 0); }, "CREATE TABLE T (x long)",
         "CREATE UNIQUE INDEX ui ON T (id)", 1},
        {"DbWykonajUPD quiet", [](const char* p) { DbWykonajUPD("", "T", p, "", "", true); },
         nullptr, "s='q'", 151},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        okna.clear();
        if (p.oczekiwany) p.wykonaj(p.oczekiwany);
        EXPECT_TRUE(okna.empty());
        Awaria_Konczy(p.przebiegi, vbAbortRetryIgnore, [&] { p.wykonaj(p.zapis); });
    }
    // The base executor gives the quiet caller the lost-connection text, not "1".
    int32_t rekordy = 0;
    Awaria_Zapisu a(jet::Fault::FileLocked, 1);
    EXPECT_EQ(DbWykonajSQL("UPDATE T SET a = 7", rekordy, true),
              "-2147467259(Zostało utracone połączenie z bazą lub jest ona zablokowana !) Could "
              "not lock file.");
}

}  // namespace
