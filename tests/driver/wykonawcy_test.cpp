// The conversion class's executors against the engine's real failures.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <regex>

#include "dao/dao.h"
#include "db/schemat.h"
#include "db/wykonaj.h"
#include "driver/konwersje_env.h"
#include "jet/sqlite_fault.h"

namespace {

const std::vector<std::string> kBaza = {
    "CREATE TABLE T (a long, b TEXT(10), c money)", "INSERT INTO T (a, b, c) VALUES (1, 'x', 2.5)",
    "INSERT INTO T (a, b, c) VALUES (1, 'y', 3)",   "CREATE TABLE U (a long)",
    "CREATE UNIQUE INDEX UnicA ON U (a)",           "INSERT INTO U (a) VALUES (7)",
    "CREATE TABLE L (id counter, a long)",          "CREATE INDEX inda ON T (a)",
};

class Wykonawcy : public KonwersjeEnv {
  protected:
    void SetUp() override {
        KonwersjeEnv::SetUp();
        otworz_baze(kBaza);
    }
};

struct Przypadek {
    const char* polecenie;
    bool konczy;  // the process ends (Blad_Krytyczny, marker "0000")
};

// Each statement fails in the engine; the executor either absorbs it (by number and
// keyword, or by a fragment of the description) or ends the run.
TEST_F(Wykonawcy, MainExecutorAbsorbsExpectedSchemaFailuresAndEndsOnOthers) {
    const Przypadek przypadki[] = {
        // number and keyword
        {"ALTER TABLE T ADD a long", false},            // 0x80040E14 "ADD"
        {"alter table T add COLUMN b TEXT(5)", false},  // the keyword in any case
        {"DROP TABLE Brak", false},                     // 0x80040E37 "DROP TABLE"
        {"ALTER TABLE T DROP COLUMN zz", false},        // 0x80040E14 "DROP"
        {"DROP INDEX nie_ma ON T", false},              // 0x80040E14 "DROP"
        {"CREATE TABLE T (a long)", false},             // 0x80040E14 "CREATE TABLE"
        {"CREATE UNIQUE INDEX UnicTA ON T (a)", true},  // duplicates: a key the rows cannot take
        // fragments of the description only
        {"CREATE INDEX inda ON T (a)", false},  // "already exists"
        {"CREATE INDEX ix ON T (zz)", false},   // "There is no field"
        {"ALTER TABLE T ALTER COLUMN zz long", false},
        // the same failures of a statement that changes rows end the run: its rows would
        // be lost or left behind unseen
        {"INSERT INTO U (a) VALUES (7)", true},  // "duplicate values"
        {"SELECT * INTO U FROM T", true},        // "already exists"
        {"UPDATE T SET nie_ma=1", true},         // "Nie podano wartości dla jednego" (0x80040E10)
        {"DELETE FROM T WHERE nie_ma=1", true},
        // anything else ends the run
        {"UPDATE T SET b='z' WHERE a='abc'", true},  // 0x80040E07 in a criteria
        {"INSERT INTO Brak (a) VALUES (1)", true},   // 0x80040E37 without DROP
        {"CREATE INDEX ix ON Brak (a)", true},
        {"SELEKT * FROM T", true},                  // a syntax error without a tolerated keyword
        {"UPDATE T SET b='01234567890123'", true},  // too long: not repaired here
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.polecenie);
        platform::clear_clipboard();
        const bool skonczyl = konczy([&] { k.DbWykonajKonwersje(p.polecenie, false); });
        EXPECT_EQ(skonczyl, p.konczy);
        EXPECT_EQ(schowek(), p.polecenie) << "every failure leaves the statement on the clipboard";
        if (skonczyl) {
            EXPECT_EQ(status, platform::exit_status::fatal);
            EXPECT_EQ(znacznik(), "0000");
            EXPECT_EQ(ile_w_logu(std::string("ERR.BBP:") + p.polecenie), 1);
            otworz_ponownie();
        }
    }
    EXPECT_EQ(wiersze("SELECT a, b FROM T ORDER BY b"), (std::vector<std::string>{"1|x", "1|y"}));
}

// A table that an open statement of the program still reads: a drop meets it as the
// expected failure that the main executor absorbs, the table kept (SQLite refuses any drop
// while a statement reads); met by a copy, a creation or a change of rows, it is no
// statement's failure and ends the run, quiet or not.
TEST_F(Wykonawcy, ATableInUseIsAbsorbedOnlyWhereADropMeetsIt) {
    const struct {
        const char* polecenie;
        bool cichy;
        bool konczy;  // SQLite's code comes at the write; else a statement reads T meanwhile
    } przypadki[] = {
        {"DROP TABLE U", false, false},           {"DROP INDEX inda ON T", false, false},
        {"SELECT * INTO K FROM T", false, true},  {"SELECT * INTO K FROM T", true, true},
        {"CREATE TABLE K (a long)", false, true}, {"INSERT INTO U (a) VALUES (8)", true, true},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.polecenie);
        jet::Session& s = polaczenie().database().session();
        sqlite3_stmt* czyta = nullptr;
        std::optional<Awaria_Zapisu> awaria;
        if (p.konczy) {
            awaria.emplace(Blad_Sqlite(SQLITE_LOCKED), 1);
        } else {
            czyta = s.prepare("SELECT * FROM " +
                              polaczenie().database().catalog().table("T")->sql_name);
            ASSERT_TRUE(s.step(czyta));
        }
        EXPECT_EQ(konczy([&] { k.DbWykonajKonwersje(p.polecenie, p.cichy); }), p.konczy);
        if (czyta) sqlite3_reset(czyta);
        awaria.reset();
        if (p.konczy) {
            EXPECT_EQ(znacznik(), "0000");
            otworz_ponownie();
        }
    }
    EXPECT_EQ(wiersze("SELECT a FROM U"), std::vector<std::string>{"7"});
    EXPECT_EQ(polaczenie().database().catalog().table("K"), nullptr);
    EXPECT_NE(polaczenie().database().catalog().table("T")->index("inda"), nullptr);
}

TEST_F(Wykonawcy, QuietMainExecutorPassesOverSchemaFailuresButNotLostRows) {
    EXPECT_FALSE(konczy([&] { k.DbWykonajKonwersje("CREATE INDEX ix ON Brak (a)", true); }));
    EXPECT_EQ(schowek(), "CREATE INDEX ix ON Brak (a)");
    EXPECT_TRUE(okna.empty());
    EXPECT_TRUE(konczy([&] { k.DbWykonajKonwersje("UPDATE T SET nie_ma=1", true); }));
    EXPECT_EQ(schowek(), "UPDATE T SET nie_ma=1");
    EXPECT_EQ(znacznik(), "0000");
}

// A failure that the step states as expected of a statement that changes rows is passed
// over only while the state it stands for holds; any other failure ends the run.
TEST_F(Wykonawcy, AnExpectedFailureOfAStatementThatChangesRowsNeedsItsState) {
    bool stan = true;
    const ClsKonwersje::Oczekiwany_Blad wiersz_jest{
        {jet::Fault::Duplicate}, "wiersz 7 w tabeli U", [&] { return stan; }};
    const struct {
        const char* polecenie;
        bool stan;
        bool konczy;
        const char* komunikat;  // a part of the Log line of the end, or of the pass
    } przypadki[] = {
        {"INSERT INTO U (a) VALUES (7)", true, false,
         "Oczekiwany stan bazy zachodzi: wiersz 7 w tabeli U"},
        {"INSERT INTO U (a) VALUES (7)", false, true,
         "Oczekiwany stan bazy nie zachodzi: wiersz 7"},
        {"UPDATE U SET nie_ma=1", true, true, "parametrów.)). Polecenie zmieniające dane nie"},
        {"CREATE INDEX ix ON T (zz)", false, false, ""},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.polecenie);
        stan = p.stan;
        EXPECT_EQ(konczy([&] { k.DbWykonajKonwersje(p.polecenie, wiersz_jest); }), p.konczy);
        if (*p.komunikat) {
            EXPECT_EQ(ile_w_logu(p.komunikat), 1);
        }
        if (p.konczy) otworz_ponownie();
    }
    EXPECT_EQ(wiersze("SELECT a FROM U"), std::vector<std::string>{"7"});
}

// A make-table whose table an earlier run made is passed over only when that table holds
// every row the statement would copy, no other, and every column it would make: work
// sums with an extra group (step 5.78), a copy without a column that the step then drops
// from its source (5.47).
TEST_F(Wykonawcy, AnEarlierRunsCopyHoldsEveryRowAndColumnAndNoOther) {
    const struct {
        std::vector<std::string> kopia;  // after "SELECT * INTO C FROM S"
        bool konczy;
    } przypadki[] = {
        {{}, false},
        {{"INSERT INTO C (id, a, b) VALUES (9, 1, 'x')"}, true},
        {{"DELETE FROM C WHERE id=2"}, true},
        {{"ALTER TABLE C DROP COLUMN a"}, true},
        // Columns the source got after the copy, or that moved to the copy.
        {{"ALTER TABLE S ADD COLUMN d long"}, false},
        {{"ALTER TABLE C ADD COLUMN d long", "ALTER TABLE S DROP COLUMN b",
          "ALTER TABLE C DROP COLUMN a"},
         false},
        // Its rows left their source: the copy is their only record.
        {{"DELETE FROM S"}, false},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.kopia.empty() ? "" : p.kopia.front());
        for (const char* s :
             {"CREATE TABLE S (id long, a long, b TEXT(5))", "INSERT INTO S VALUES (1, 1, 'x')",
              "INSERT INTO S VALUES (2, 1, 'y')", "SELECT * INTO C FROM S"})
            polaczenie().Execute(s);
        for (const std::string& s : p.kopia) polaczenie().Execute(s);
        EXPECT_EQ(konczy([&] {
                      k.DbWykonajKonwersje(
                          "SELECT * INTO C FROM S",
                          k.Tabela_Z_Wczesniejszego_Przebiegu("C", "* FROM S", "id"));
                  }),
                  p.konczy);
        if (p.konczy) otworz_ponownie();
        polaczenie().Execute("DROP TABLE C");
        polaczenie().Execute("DROP TABLE S");
    }
}

// Values that an earlier run carried over a join, checked in their target rows: a source
// value not given matches only a target value not given, or any where the carry leaves the
// target's own value.
TEST_F(Wykonawcy, CarriedValuesAreInTheirTargetRows) {
    const struct {
        const char* zrodlo;
        const char* cel;
        bool zostawia_cel;
        bool konczy;
    } przypadki[] = {
        {"5", "5", false, false},   {"5", "6", true, true},     {"Null", "Null", false, false},
        {"Null", "5", false, true}, {"Null", "5", true, false},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(std::string(p.zrodlo) + " " + p.cel);
        polaczenie().Execute("CREATE TABLE S (id long, a long)");
        polaczenie().Execute("CREATE TABLE C (id long, a long)");
        polaczenie().Execute(std::string("INSERT INTO S VALUES (1, ") + p.zrodlo + ")");
        polaczenie().Execute(std::string("INSERT INTO C VALUES (1, ") + p.cel + ")");
        const ClsKonwersje::Przeniesione_Wartosci w{.zrodlo = "S",
                                                    .cel = "C",
                                                    .zlaczenie = "C INNER JOIN S ON C.id=S.id",
                                                    .alias = "S2",
                                                    .powiazanie = "S2.id=C.id",
                                                    .klucz = "id",
                                                    .pola = {{"C.a", "a"}},
                                                    .zostawia_cel = p.zostawia_cel};
        EXPECT_EQ(konczy([&] { k.Sprawdz_Przeniesione_Wartosci(w); }), p.konczy);
        if (p.konczy) otworz_ponownie();
        polaczenie().Execute("DROP TABLE C");
        polaczenie().Execute("DROP TABLE S");
    }
}

TEST_F(Wykonawcy, NoErrExecutorOnlyLogsButNotLostRows) {
    platform::clear_clipboard();
    k.DbWykonajKonwersjeNoErr("CREATE INDEX ix ON T (nie_ma)");
    EXPECT_EQ(schowek(), "<pusty>");
    EXPECT_TRUE(okna.empty());
    EXPECT_EQ(ile_w_logu("CREATE INDEX ix ON T (nie_ma),DbWykonajKonwersjeNoErr,ERROR"), 1);
    EXPECT_TRUE(konczy([&] { k.DbWykonajKonwersjeNoErr("UPDATE T SET nie_ma=1"); }));
    EXPECT_EQ(ile_w_logu("UPDATE T SET nie_ma=1,DbWykonajKonwersjeNoErr,ERROR No value given"), 1);
    EXPECT_EQ(znacznik(), "0000");
}

// A statement that changes rows, failing where an executor passed its failure over without
// a word: by a schema statement's keyword that stands in its values, quietly, or only
// logged. Every executor stops on it, through its question (answered Abort) or at once,
// with a Log line under its own name and the rows as they were.
TEST_F(Wykonawcy, EveryExecutorStopsAtAFailureOfAStatementThatChangesRows) {
    polaczenie().database().execute("INSERT INTO U (a) VALUES (8)");
    const std::string w = " WHERE nie_ma_fn(a)=1 AND b<>'DROP '";  // 0x80040E14 and "DROP "
    bool cichy = true;
    int32_t rekordy = 0;
    const struct {
        const char* etykieta;
        std::function<void()> wykonaj;
    } przypadki[] = {
        {"DbWykonajUPD", [&] { k.DbWykonajUPDKonwersje("T SET b='z'" + w, "", "", ""); }},
        {"DbWykonajIIN", [&] { k.DbWykonajIINKonwersje("U (a) SELECT a FROM T" + w); }},
        {"DbWykonajDEL", [&] { k.DbWykonajDELKonwersje("T" + w); }},
        {"DbWykonaj", [&] { DbWykonaj("UPDATE T SET b='z'" + w); }},
        {"DbWykonajUPD", [&] { DbWykonajUPD("T SET b='z'" + w, "", "", ""); }},
        {"DbWykonajDEL", [&] { DbWykonajDEL("T" + w); }},
        {"DbWykonajUPD",
         [&] { k.DbWykonajUPDKonwersje("U set a=7 where a=8", "", "", "", "", true); }},
        {"DbWykonajUPD", [&] { k.DbWykonajUPDKonwersje("T set nie_ma=1", "", "", "", "", true); }},
        {"DbWykonajIIN", [&] { k.DbWykonajIINKonwersje("U (a) VALUES (7)", "", cichy, rekordy); }},
        {"DbWykonajUPD", [&] { DbWykonajUPD("U set a=7 where a=8", "", "", "", "", true); }},
        {"DbWykonajNoError", [&] { DbWykonaj("UPDATE T SET nie_ma=1", 1); }},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.etykieta);
        const int przed = ile_w_logu(std::string(",") + p.etykieta + ",");
        odpowiedzi = {vbAbort};
        EXPECT_TRUE(konczy(p.wykonaj));
        EXPECT_EQ(znacznik(), "0000");
        EXPECT_GT(ile_w_logu(std::string(",") + p.etykieta + ","), przed);
        otworz_ponownie();
    }
    EXPECT_EQ(wiersze("SELECT a, b FROM T ORDER BY b"), (std::vector<std::string>{"1|x", "1|y"}));
    EXPECT_EQ(wiersze("SELECT a FROM U ORDER BY a"), (std::vector<std::string>{"7", "8"}));
}

TEST_F(Wykonawcy, SqlExecutorResultTexts) {
    struct {
        const char* polecenie;
        bool cichy;
        const char* poczatek;  // the start of the result text
    } przypadki[] = {
        // a unique index that the rows cannot take is reported, never absorbed
        {"CREATE UNIQUE INDEX UnicTA ON T (a)", false, "-2147467259(The changes you requested"},
        {"UPDATE T SET a=2 WHERE b='x'", false, ""},
        {"DROP TABLE Brak", false, ""},
        {"ALTER TABLE T DROP COLUMN zz", false, ""},
        {"ALTER TABLE L ADD drugi int identity", false, ""},  // 0x80040E14 "IDENTITY"
        // " ADD " is tolerated only with 0x80040E21: an existing column is reported
        {"ALTER TABLE T ADD a long", false, "-2147217900(Field 'a' already exists"},
        {"INSERT INTO U (a) VALUES (7)", true, "1"},
        // Duplicate values are no lost connection: Jet's text, naming the table and key.
        {"INSERT INTO U (a) VALUES (7)", false, "-2147467259(The changes you requested"},
        {"UPDATE T SET nie_ma=1", false, "-2147217904(No value given"},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.polecenie);
        int32_t rekordy = 99;
        const std::string r = k.DbWykonajSQLKonwersje(p.polecenie, rekordy, p.cichy);
        if (*p.poczatek == 0) {
            EXPECT_EQ(r, "");
        } else {
            EXPECT_EQ(r.rfind(p.poczatek, 0), 0u) << r;
            EXPECT_EQ(rekordy, -1);
        }
    }
    int32_t rekordy = 0;
    EXPECT_TRUE(k.DbWykonajSQLKonwersje("INSERT INTO U (a) VALUES (7)", rekordy, false)
                    .ends_with("duplicate entries and try again. Table and key: U (a).)"));
    EXPECT_TRUE(okna.empty());
}

// A key or unique index that the rows cannot take: every executor that would pass the
// failure over stops, naming the table, the key and a row that breaks it, and the key is
// not made; a failure that the step states goes on while its state holds.
TEST_F(Wykonawcy, AKeyTheRowsCannotTakeStopsNamingARow) {
    polaczenie().database().execute("INSERT INTO L (a) VALUES (Null)");
    const std::string dup = "CREATE UNIQUE INDEX ix ON T (a)",
                      pusty = "CREATE INDEX ix ON L (a) WITH PRIMARY";
    const std::string w_dup =
        "Wiersze: a = 1 (2 wiersze). Klucza nie utworzono";  // after Jet's "T (a)"
    const std::string w_pusty = "Wiersze: a = Null. Klucza nie utworzono";
    bool stan = false;
    const Oczekiwany_Blad oczekiwany{{jet::Fault::Duplicate}, "powtórzone a", [&] { return stan; }};
    const struct {
        std::function<void()> wykonaj;
        const std::string& wiersz;
        bool konczy;
    } przypadki[] = {
        {[&] { k.DbWykonajKonwersje(dup); }, w_dup, true},
        {[&] { k.DbWykonajKonwersje(pusty, true); }, w_pusty, true},
        {[&] { k.DbWykonajKonwersjeNoErr(dup); }, w_dup, true},
        {[&] { DbWykonaj(dup); }, w_dup, true},
        {[&] { Utworz_Klucz_Podstawowy("L", "a"); }, w_pusty, true},
        {[&] { k.DbWykonajDAOKonwersje(pusty); }, w_pusty, true},
        {[&] { k.dbpExecutekONWERSJIA(DbPolaczenie, dup); }, w_dup, true},
        {[&] { k.DbWykonajKonwersje(dup, oczekiwany); }, w_dup, true},
        {[&] { stan = true, k.DbWykonajKonwersjeNoErr(dup, oczekiwany); }, w_dup, false},
    };
    k.BazaDAO = dao::DBEngine::OpenDatabase(baza);
    for (const auto& p : przypadki) {
        SCOPED_TRACE(&p - przypadki);
        platform::set_clipboard("DROP INDEX inda ON T");  // an earlier failure's
        const int przed = ile_w_logu(p.wiersz);
        EXPECT_EQ(konczy(p.wykonaj), p.konczy);
        EXPECT_EQ(ile_w_logu(p.wiersz) > przed, p.konczy);
        EXPECT_EQ(schowek().rfind("CREATE", 0) == 0, p.konczy) << schowek();
        if (p.konczy) otworz_ponownie();
        if (p.konczy) k.BazaDAO = dao::DBEngine::OpenDatabase(baza);
    }
    k.BazaDAO->Close();
    EXPECT_EQ(polaczenie().database().catalog().table("T")->index("ix"), nullptr);
    EXPECT_EQ(polaczenie().database().catalog().table("L")->primary_key(), nullptr);
}

// Where the rule of the key fits the rows, every executor runs the statement again and
// goes on as after a success: one line of both quantities, and the key.
TEST_F(Wykonawcy, AKeyThatItsRuleFitsIsMadeByEveryExecutor) {
    const std::string klucz =
        "CREATE UNIQUE INDEX Podstawowy ON DOK_FAK_ZAWART (FAKOUT_ID, PROD_ID, ZFAKOUT_CENA_N) "
        "WITH PRIMARY";
    const std::function<void()> wykonawcy[] = {
        [&] { k.DbWykonajKonwersje(klucz); },
        [&] { k.DbWykonajKonwersjeNoErr(klucz); },
        [&] { EXPECT_EQ(DbWykonaj(klucz), ""); },
        [&] { EXPECT_EQ(DbWykonaj(klucz, -1), ""); },
        [&] { EXPECT_EQ(k.DbWykonajDAOKonwersje(klucz), ""); },
        [&] { EXPECT_TRUE(k.dbpExecuteErrkONWERSJIA(DbPolaczenie, klucz)); },
    };
    k.BazaDAO = dao::DBEngine::OpenDatabase(baza);
    Krok_Konwersji = 283;  // the step whose line merges the lines
    for (const auto& wykonaj : wykonawcy) {
        SCOPED_TRACE(&wykonaj - wykonawcy);
        if (&wykonaj != wykonawcy) polaczenie().database().execute("DROP TABLE DOK_FAK_ZAWART");
        polaczenie().database().execute(
            "CREATE TABLE DOK_FAK_ZAWART (FAKOUT_ID long, PROD_ID long, ZFAKOUT_CENA_N money, "
            "ZFAKOUT_ILOSC single)");
        for (const char* ilosc : {"2", "3"})
            polaczenie().database().execute(
                std::string("INSERT INTO DOK_FAK_ZAWART VALUES (1, 7, 2.5, ") + ilosc + ")");
        EXPECT_FALSE(konczy(wykonaj));
        EXPECT_EQ(wiersze("SELECT ZFAKOUT_ILOSC FROM DOK_FAK_ZAWART"),
                  std::vector<std::string>{"5"});
        EXPECT_NE(polaczenie().database().catalog().table("DOK_FAK_ZAWART")->primary_key(),
                  nullptr);
    }
    Krok_Konwersji = 0;
    k.BazaDAO->Close();
}

// A step's own UPDATE or INSERT whose rows would repeat a key of the table it writes: the
// key's rule keeps them (lines alike merged, quantities summed, named in the Log); lines
// at two VAT rates stop with the mend of the rate, never the bare duplicate and its
// question.
TEST_F(Wykonawcy, AStatementThatRepeatsAKeyKeepsItsRowsByTheKeysRule) {
    const std::string scal = "DOK_FAK_ZAWART SET PROD_ID = 7 WHERE PROD_ID = 8",
                      stop = "UPDATE DOK_FAK_ZAWART SET PROD_ID = 7 WHERE PROD_ID = 9",
                      wstaw =
                          "INSERT INTO DOK_FAK_ZAWART (FAKOUT_ID, PROD_ID, ZFAKOUT_CENA_N, "
                          "ZFAKOUT_ILOSC, ZFAKOUT_VAT) SELECT FAKOUT_ID, 7, ZFAKOUT_CENA_N, "
                          "ZFAKOUT_ILOSC, ZFAKOUT_VAT FROM DOK_FAK_ZAWART WHERE PROD_ID = 8";
    const std::vector<std::string> przed{"7|2|22", "8|3|22", "9|4|7"}, scalone{"7|5|22", "9|4|7"},
        wstawione{"7|5|22", "8|3|22", "9|4|7"};
    const std::pair<std::function<void()>, const std::vector<std::string>*> przypadki[] = {
        {[&] { k.DbWykonajUPDKonwersje(scal, "", "", ""); }, &scalone},
        {[&] { k.DbWykonajKonwersje("UPDATE " + scal, true); }, &scalone},
        {[&] { EXPECT_EQ(k.DbWykonajDAOKonwersje(wstaw), ""); }, &wstawione},
        {[&] { k.DbWykonajIINKonwersje(wstaw.substr(12)); }, &wstawione},
        {[&] { k.DbWykonajKonwersje(stop); }, &przed},
        {[&] { EXPECT_EQ(DbWykonaj(stop), ""); }, &przed},
    };
    k.BazaDAO = dao::DBEngine::OpenDatabase(baza);
    Krok_Konwersji = 300;  // after the step that keys the lines by product and price
    for (const auto& [wykonaj, po] : przypadki) {
        SCOPED_TRACE(po->size());
        polaczenie().database().execute(
            "SELECT 1 AS FAKOUT_ID, 7 AS PROD_ID, CCur(2.5) AS ZFAKOUT_CENA_N, CDbl(2) AS "
            "ZFAKOUT_ILOSC, '22' AS ZFAKOUT_VAT INTO DOK_FAK_ZAWART");
        polaczenie().database().execute("INSERT INTO DOK_FAK_ZAWART VALUES (1, 8, 2.5, 3, '22')");
        polaczenie().database().execute("INSERT INTO DOK_FAK_ZAWART VALUES (1, 9, 2.5, 4, '7')");
        polaczenie().database().execute(
            "CREATE INDEX pk ON DOK_FAK_ZAWART (FAKOUT_ID, PROD_ID, "
            "ZFAKOUT_CENA_N) WITH PRIMARY");
        const bool konczy_ = konczy(wykonaj);
        EXPECT_EQ(konczy_, po == &przed);
        if (konczy_) otworz_ponownie(), k.BazaDAO = dao::DBEngine::OpenDatabase(baza);
        for (const auto& o : okna) EXPECT_NE(o.styl, vbAbortRetryIgnore) << o.tytul;
        okna.clear();
        EXPECT_EQ(wiersze("SELECT PROD_ID, ZFAKOUT_ILOSC, ZFAKOUT_VAT FROM DOK_FAK_ZAWART ORDER BY "
                          "PROD_ID"),
                  *po);
        EXPECT_NE(polaczenie().database().catalog().table("DOK_FAK_ZAWART")->primary_key(),
                  nullptr);
        polaczenie().database().execute("DROP TABLE DOK_FAK_ZAWART");
    }
    EXPECT_EQ(ile_w_logu("ZFAKOUT_ILOSC 2 -> 5"), 4);
    EXPECT_EQ(ile_w_logu("ZFAKOUT_CENA_N = 2,5 (2 wiersze). Wiersze polecenia powtórzyłyby klucz "
                         "tabeli; polecenia nie wykonano (wiersze o tym samym kluczu różnią się"),
              2);
    EXPECT_EQ(ile_w_logu("Naprawa w jetsql --suite: UPDATE [DOK_FAK_ZAWART] SET [ZFAKOUT_VAT] = "
                         "'22' WHERE [FAKOUT_ID] = 1 AND [PROD_ID] = 7 AND [ZFAKOUT_CENA_N] = 2.5"),
              2);
    Krok_Konwersji = 0;
    k.BazaDAO->Close();
}

// A stop's mend never moves a figure onto another item: a price list's two prices of one
// product delete the copy the user names by its price, an invoice's lines of one product at
// two VAT rates take one rate; run, the key then takes the rows, each figure on its item.
TEST_F(Wykonawcy, AStopsMendKeepsEachFigureOnItsItem) {
    const struct {
        std::string tabela, wiersz, wiersz2, klucz, naprawa, po;
    } przypadki[] = {
        {"CENNIKI_ZAWART", "'Hurt' AS LCEN_NAZWA_ID, 12 AS PROD_ID, CCur(1) AS CEN_NETTO",
         "'Hurt', 12, 1.2", "LCEN_NAZWA_ID, PROD_ID",
         "DELETE FROM [CENNIKI_ZAWART] WHERE [LCEN_NAZWA_ID] = 'Hurt' AND [PROD_ID] = 12 AND "
         "[CEN_NETTO] = 1.2",
         "Hurt|12|1"},
        {"DOK_FAK_ZAWART",
         "1 AS FAKOUT_ID, 12 AS PROD_ID, CCur(0.6) AS ZFAKOUT_CENA_N, CDbl(33) AS ZFAKOUT_ILOSC, "
         "'7' AS ZFAKOUT_VAT",
         "1, 12, 0.6, 2, '22'", "FAKOUT_ID, PROD_ID",
         "UPDATE [DOK_FAK_ZAWART] SET [ZFAKOUT_VAT] = '7' WHERE [FAKOUT_ID] = 1 AND [PROD_ID] = "
         "12 AND [ZFAKOUT_CENA_N] = 0.6",
         "1|12|0,6|35|7"},
    };
    Krok_Konwersji = 272;
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.tabela);
        polaczenie().database().execute("SELECT " + p.wiersz + " INTO " + p.tabela);
        polaczenie().database().execute("INSERT INTO " + p.tabela + " VALUES (" + p.wiersz2 + ")");
        polaczenie().database().execute("ALTER TABLE " + p.tabela + " ADD nr counter");
        const std::string klucz = "CREATE UNIQUE INDEX ix ON " + p.tabela + " (" + p.klucz + ")";
        EXPECT_TRUE(konczy([&] { k.DbWykonajKonwersje(klucz); }));
        otworz_ponownie();
        EXPECT_EQ(ile_w_logu("Naprawa w jetsql --suite: " + p.naprawa), 1);
        polaczenie().database().execute(p.naprawa);
        EXPECT_FALSE(konczy([&] { k.DbWykonajKonwersje(klucz); }));
        EXPECT_EQ(wiersze("SELECT * FROM " + p.tabela), std::vector<std::string>{p.po + "|1"});
    }
    Krok_Konwersji = 0;
}

TEST_F(Wykonawcy, SqlExecutorWidensShortTextColumnsOnDataTooLong) {
    int32_t rekordy = 0;
    EXPECT_EQ(k.DbWykonajSQLKonwersje("UPDATE T SET b='0123456789012' WHERE b='x'", rekordy), "");
    EXPECT_EQ(rekordy, 1);
}

TEST_F(Wykonawcy, UpdateExecutorCountsAsksAndHonoursQuiet) {
    EXPECT_EQ(k.DbWykonajUPDKonwersje("", "T", "c=c+1", "b='x'"), 1);
    EXPECT_EQ(k.DbWykonajUPDKonwersje("T set c=0", "", "", ""), 2);
    EXPECT_EQ(wiersze("SELECT Sum(c) FROM T"), (std::vector<std::string>{"0"}));

    // A missing column gets the ordinary dialog (no critical end as in the module's twin).
    odpowiedzi = {vbIgnore};
    EXPECT_EQ(k.DbWykonajUPDKonwersje("T set nie_ma=1", "", "", ""), -1);
    ASSERT_EQ(okna.size(), 1u);
    EXPECT_EQ(okna[0].styl, vbAbortRetryIgnore);
    EXPECT_EQ(okna[0].tytul.rfind("błąd:  -2147217904(", 0), 0u) << okna[0].tytul;
    EXPECT_EQ(ile_w_logu("UPDATE T set nie_ma=1,DbWykonajUPD,-2147217904("), 1);

    // Quiet, its failure stated: clipboard and log, -1, no dialog.
    okna.clear();
    const Oczekiwany_Blad brak_kolumny{{jet::Fault::MissingParameter}, "", [] { return true; }};
    EXPECT_EQ(k.DbWykonajUPDKonwersje("T set nie_ma=2", "", "", "", "", true, brak_kolumny), -1);
    EXPECT_TRUE(okna.empty());
    EXPECT_EQ(schowek(), "UPDATE T set nie_ma=2");
    EXPECT_EQ(ile_w_logu("UPDATE T set nie_ma=2,DbWykonajUPD,"), 2);  // the failure, its state

    // Abort ends the run with "0000".
    odpowiedzi = {vbAbort};
    EXPECT_TRUE(konczy([&] { k.DbWykonajUPDKonwersje("T set nie_ma=3", "", "", ""); }));
    EXPECT_EQ(znacznik(), "0000");
}

TEST_F(Wykonawcy, InsertExecutorCutsOneRefusedAliasAndAsksOtherwise) {
    bool cichy = false;
    int32_t rekordy = 0;
    // One "as TT" that the engine refuses: cut out with the two characters after it.
    EXPECT_TRUE(k.DbWykonajIINKonwersje("L (a) VALUES (5) as TT12", "", cichy, rekordy));
    EXPECT_EQ(wiersze("SELECT a FROM L"), (std::vector<std::string>{"5"}));
    EXPECT_TRUE(okna.empty());

    // Twice: the dialog; Ignore still reports true.
    odpowiedzi = {vbIgnore};
    EXPECT_TRUE(k.DbWykonajIINKonwersje("L (a) VALUES (6) as TT12 as TT34", "", cichy, rekordy));
    ASSERT_EQ(okna.size(), 1u);
    EXPECT_EQ(ile_w_logu(",DbWykonajIIN,-2147217900("), 1);

    // Retry runs it again, the replacement text wins over the text.
    okna.clear();
    odpowiedzi = {vbRetry, vbIgnore};
    EXPECT_TRUE(k.DbWykonajIINKonwersje("ignored", "Brak (a) VALUES (1)", cichy, rekordy));
    EXPECT_EQ(okna.size(), 2u);
    EXPECT_EQ(schowek(), "INSERT INTO Brak (a) VALUES (1)");
}

TEST_F(Wykonawcy, DeleteExecutorAndRecordsetOpener) {
    EXPECT_EQ(k.DbWykonajDELKonwersje("T where b='y'"), 1);
    odpowiedzi = {vbIgnore};
    EXPECT_EQ(k.DbWykonajDELKonwersje("Brak"), -1);
    EXPECT_EQ(ile_w_logu("DELETE  FROM Brak,DbWykonajDEL,"), 1);

    std::unique_ptr<ado::Recordset> rs;
    EXPECT_EQ(k.DbOtwórzSELKonwersje(rs, "a, b FROM T"), 1);
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->Fields(1).value().to_text(), "x");

    okna.clear();
    EXPECT_EQ(k.DbOtwórzSELKonwersje(rs, "* FROM Brak", true), -1);
    EXPECT_FALSE(rs) << "a quiet failure leaves an empty reference";
    EXPECT_TRUE(okna.empty());

    odpowiedzi = {vbRetry, vbIgnore};
    EXPECT_EQ(k.DbOtwórzSELKonwersje(rs, "* FROM Brak"), -1);
    ASSERT_EQ(okna.size(), 2u);
    EXPECT_EQ(okna[0].tytul, "Otwórz połączenie");
    EXPECT_EQ(okna[0].tekst.rfind("uwaga wystąpił następujący błąd:  -2147217865(", 0), 0u);

    odpowiedzi = {vbAbort};
    EXPECT_TRUE(konczy([&] { k.DbOtwórzSELKonwersje(rs, "* FROM Brak"); }));
    EXPECT_EQ(ile_w_logu("ERR.BBP:Select * FROM Brak,DbOtwórzSELKonwersje,"), 1);
}

// A locked file or a full disk is a failure of the environment, not of the statement:
// no quiet flag absorbs it. Each quiet executor absorbs what a statement expects (a
// missing index or column, a duplicate), but stops on the environment's failure as its
// path without the flag does: its at-once reruns, then the question (answered Abort:
// the end with "0000") or the critical end.
TEST_F(Wykonawcy, QuietExecutorsAbsorbExpectedFailuresButStopOnTheEnvironments) {
    enum Koniec { Pytanie, Krytyczny };
    struct Wykonawca {
        const char* nazwa;
        std::function<void(const std::string&)> wykonaj;
        const char* oczekiwany;  // fails as the statement expects: absorbed
        const char* zapis;       // would succeed: fails only by the injected failure
        Koniec koniec;
        int przebiegi;  // the runs that fail before the end: the first and the reruns
    };
    // The updates' and inserts' failures are the ones that their steps state.
    const Oczekiwany_Blad stan{
        {jet::Fault::MissingParameter, jet::Fault::Duplicate}, "", [] { return true; }};
    const Wykonawca wykonawcy[] = {
        {"DbWykonajKonwersje quiet", [&](const std::string& p) { k.DbWykonajKonwersje(p, true); },
         "DROP INDEX nie_ma ON T", "DROP INDEX inda ON T", Krytyczny, 1},
        {"DbWykonajKonwersjeNoErr", [&](const std::string& p) { k.DbWykonajKonwersjeNoErr(p); },
         "ALTER TABLE T DROP COLUMN zz", "ALTER TABLE T DROP COLUMN c", Krytyczny, 1},
        {"DbWykonajUPDKonwersje quiet",
         [&](const std::string& p) { k.DbWykonajUPDKonwersje(p, "", "", "", "", true, stan); },
         "T set nie_ma=1", "T set a=2", Pytanie, 151},
        {"DbWykonajIINKonwersje quiet",
         [&](const std::string& p) {
             bool cichy = true;
             int32_t rekordy = 0;
             k.DbWykonajIINKonwersje(p, "", cichy, rekordy, stan);
         },
         "U (a) VALUES (7)", "U (a) VALUES (8)", Pytanie, 1},
        {"DbWykonajDAOKonwersje", [&](const std::string& p) { k.DbWykonajDAOKonwersje(p); },
         "drop index nie_ma on T", "drop index inda on T", Krytyczny, 1},
        {"Usun_Pole", [&](const std::string& p) { Usun_Pole("T", p); }, "zz", "c", Pytanie, 1},
        {"Utworz_Index", [&](const std::string& p) { Utworz_Index(p, "T", "a", 0); }, "inda",
         "nowy", Pytanie, 1},
    };
    k.BazaDAO = dao::DBEngine::OpenDatabase(baza);
    for (const auto& w : wykonawcy) {
        SCOPED_TRACE(w.nazwa);
        okna.clear();
        EXPECT_FALSE(konczy([&] { w.wykonaj(w.oczekiwany); }));
        for (const auto& o : okna) EXPECT_NE(o.styl, vbAbortRetryIgnore) << o.tekst;
        Awaria_Konczy(w.przebiegi, w.koniec == Pytanie ? vbAbortRetryIgnore : vbCritical,
                      [&] { w.wykonaj(w.zapis); });
    }
    k.BazaDAO->Close();
}

// A damaged page, an I/O error, a file that cannot be opened or memory that the system
// does not give, as SQLite reports them when the file's reads fail: the quiet executors,
// which pass over a statement's own failure, stop on them as on any other failure of the
// environment.
TEST_F(Wykonawcy, QuietExecutorsStopOnAPageTheyCannotRead) {
    enum Koniec { Pytanie, Krytyczny };
    struct Wykonawca {
        const char* nazwa;
        std::function<void()> wykonaj;
        Koniec koniec;
    };
    std::unique_ptr<ado::Recordset> rs;
    const Wykonawca wykonawcy[] = {
        {"DbWykonajKonwersje quiet", [&] { k.DbWykonajKonwersje("UPDATE T SET a=2", true); },
         Krytyczny},
        {"DbWykonajKonwersjeNoErr", [&] { k.DbWykonajKonwersjeNoErr("UPDATE T SET a=2"); },
         Krytyczny},
        {"DbOtwórzSELKonwersje quiet", [&] { k.DbOtwórzSELKonwersje(rs, "* FROM T", true); },
         Pytanie},
        {"DbWykonajUPDKonwersje quiet",
         [&] { k.DbWykonajUPDKonwersje("T set a=2", "", "", "", "", true); }, Pytanie},
    };
    for (const int kod : {SQLITE_CORRUPT, SQLITE_IOERR_READ, SQLITE_CANTOPEN, SQLITE_IOERR_NOMEM}) {
        for (const auto& w : wykonawcy) {
            SCOPED_TRACE(std::string(w.nazwa) + " / " + sqlite3_errstr(kod));
            okna.clear();
            odpowiedzi = {vbAbort};
            const std::string opis = Blad_Sqlite(kod).description();
            {
                sqlite_fault::FailingFiles awaria(kod, polaczenie().database().session().handle());
                EXPECT_TRUE(konczy(w.wykonaj));
                EXPECT_GT(awaria.failed(), 0);
            }
            EXPECT_EQ(status, platform::exit_status::fatal);
            EXPECT_EQ(znacznik(), "0000");
            // The executor's box first (the end's own commit meets the file's failure too).
            ASSERT_FALSE(okna.empty());
            EXPECT_EQ(okna.front().styl, w.koniec == Pytanie ? vbAbortRetryIgnore : vbCritical);
            EXPECT_NE((okna.front().tekst + okna.front().tytul).find(opis), std::string::npos)
                << okna.front().tekst;
            otworz_ponownie();
        }
    }
    EXPECT_EQ(wiersze("SELECT a FROM T"), (std::vector<std::string>{"1", "1"}));
}

// Retry after a locked file runs the statement again; the lock gone, it succeeds.
TEST_F(Wykonawcy, QuietUpdateRetriedAfterALockedFileSucceeds) {
    odpowiedzi = {vbRetry};
    {
        Awaria_Zapisu a(jet::Fault::FileLocked, 151);
        EXPECT_EQ(k.DbWykonajUPDKonwersje("T set a=3", "", "", "", "", true), 2);
    }
    EXPECT_EQ(okna.size(), 1u);
    EXPECT_EQ(wiersze("SELECT a FROM T"), (std::vector<std::string>{"3", "3"}));
}

// The result text of a quiet run: "1" only for the statement's own 0x80004005 (a
// duplicate); a locked file gives the lost-connection text, as without the flag.
TEST_F(Wykonawcy, QuietSqlExecutorReportsALockedFile) {
    int32_t rekordy = 0;
    EXPECT_EQ(k.DbWykonajSQLKonwersje("INSERT INTO U (a) VALUES (7)", rekordy, true), "1");
    Awaria_Zapisu a(jet::Fault::FileLocked, 2);
    for (const bool cichy : {true, false})
        EXPECT_EQ(k.DbWykonajSQLKonwersje("CREATE UNIQUE INDEX ub ON T (b)", rekordy, cichy),
                  "-2147467259(Zostało utracone połączenie z bazą lub jest ona zablokowana !) "
                  "Could not lock file.");
    EXPECT_TRUE(okna.empty());
}

// The index executor's own rule stays: a failure, whatever it is, is tried again a
// second later, silently for 500 failures, then the question decides; No goes on
// without the index. Nothing of the environment's failures ends the run here.
TEST_F(Wykonawcy, IndexExecutorAsksAfter500FailuresOfTheEnvironmentAndNoGoesOn) {
    for (const jet::Error& awaria :
         {jet::make_error(jet::Fault::FileLocked), Blad_Sqlite(SQLITE_IOERR_WRITE),
          Blad_Sqlite(SQLITE_CORRUPT)}) {
        SCOPED_TRACE(awaria.description());
        okna.clear();
        odpowiedzi = {vbNo};
        Awaria_Zapisu a(awaria, 501);
        bool wynik = true;
        EXPECT_FALSE(konczy(
            [&] { wynik = k.dbpExecutekONWERSJIA(DbPolaczenie, "CREATE INDEX ix ON T (b)"); }));
        EXPECT_FALSE(wynik);
        EXPECT_EQ(a.zostalo(), 0);
        ASSERT_EQ(okna.size(), 1u);
        EXPECT_NE(okna[0].tekst.find(awaria.description()), std::string::npos) << okna[0].tekst;
        EXPECT_EQ(k.Ostatni_Blad_Opis, awaria.description());
    }
    auto db = dao::DBEngine::OpenDatabase(baza);
    for (const dao::Index& i : db->TableDefs("T").Indexes()) EXPECT_NE(i.Name, "ix");
    db->Close();
}

}  // namespace
