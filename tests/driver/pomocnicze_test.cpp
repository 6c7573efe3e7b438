// The class's schema helpers, its wait, its Setup access, the numbering set-up, the
// dispatch table and the run's last close.
#include <gtest/gtest.h>

#include <set>

#include "db/postep.h"
#include "driver/konwersje_env.h"
#include "driver/liczby.h"
#include "driver/start.h"
#include "jet/dates.h"
#include "jet/storage_util.h"

namespace {

class Pomocnicze : public KonwersjeEnv {};

TEST_F(Pomocnicze, ChangingATypeKeepsValuesUnderTheOldOrNewName) {
    otworz_baze({"CREATE TABLE produkty (id long, cena double, ilosc long)",
                 "CREATE INDEX indcena ON produkty (cena)",
                 "INSERT INTO produkty (id, cena, ilosc) VALUES (1, 2.5, 3)",
                 "INSERT INTO produkty (id, cena, ilosc) VALUES (2, 10.125, 4)"});
    std::string nazwa;
    k.Zmien_Typ_Pola("cena", "money", "produkty", nazwa);
    EXPECT_EQ(nazwa, "cena") << "an empty new name takes the column's";
    EXPECT_EQ(wiersze("SELECT id, cena FROM produkty ORDER BY id"),
              (std::vector<std::string>{"1|2,5", "2|10,125"}));
    const auto& t = *polaczenie().database().catalog().table("produkty");
    EXPECT_EQ(t.column("ccxxdfredvvcxds__ddfr"), nullptr);
    EXPECT_EQ(t.column("cena")->type, jet::DataType::Currency);

    nazwa = "sztuk";
    k.Zmien_Typ_Pola("ilosc", "TEXT(10)", "produkty", nazwa);
    EXPECT_EQ(wiersze("SELECT sztuk FROM produkty ORDER BY id"),
              (std::vector<std::string>{"3", "4"}));
    EXPECT_EQ(polaczenie().database().catalog().table("produkty")->column("ilosc"), nullptr);
    EXPECT_TRUE(okna.empty());
    EXPECT_EQ(status_line(3), "0") << "the last wait leaves its count on line 3";
}

// A database left by a run that stopped inside a retype: the temporary column holds
// the only copy of the column's values once the column is dropped, and the retype
// resumes from it; a copy of the type the retype gives, beside its column (which has
// the old type still), is the retype's own copy, only a leftover even where its values
// went stale.
TEST_F(Pomocnicze, RetypeResumesFromATemporaryColumnThatHoldsTheOnlyValues) {
    const std::string tmp = "ccxxdfredvvcxds__ddfr";
    struct Przypadek {
        const char* nazwa;
        std::vector<std::string> baza;
    };
    const Przypadek przypadki[] = {
        {"the column dropped",
         {"CREATE TABLE produkty (id long, " + tmp + " money)",
          "INSERT INTO produkty (id, " + tmp + ") VALUES (1, 2.5)",
          "INSERT INTO produkty (id, " + tmp + ") VALUES (2, 10.125)"}},
        {"a leftover copy",
         {"CREATE TABLE produkty (id long, cena double, " + tmp + " money)",
          "INSERT INTO produkty (id, cena, " + tmp + ") VALUES (1, 2.5, 7)",
          "INSERT INTO produkty (id, cena, " + tmp + ") VALUES (2, 10.125, 8)"}},
    };
    for (const Przypadek& c : przypadki) {
        SCOPED_TRACE(c.nazwa);
        TearDown();
        SetUp();
        otworz_baze(c.baza);
        k.Zmien_Typ_Pola("cena", "money", "produkty");
        EXPECT_EQ(wiersze("SELECT id, cena FROM produkty ORDER BY id"),
                  (std::vector<std::string>{"1|2,5", "2|10,125"}));
        const auto& t = *polaczenie().database().catalog().table("produkty");
        EXPECT_EQ(t.column("ccxxdfredvvcxds__ddfr"), nullptr);
        EXPECT_EQ(t.column("cena")->type, jet::DataType::Currency);
        EXPECT_TRUE(okna.empty());
    }
}

// The statements of the retype of ilosc to money under the name nowa, as a run that
// commits each statement on its own sends them (a failing one changes nothing).
std::vector<std::string> Zmiana_Ilosci(const std::string& nowa) {
    const std::string tmp = "ccxxdfredvvcxds__ddfr";
    return {"alter table produkty drop COLUMN " + tmp + " ",
            "alter table produkty ADD " + tmp + " money DEFAULT 0",
            "UPDATE produkty SET " + tmp + "=[ilosc]",
            "drop INDEX indilosc ON produkty",
            "drop INDEX ilosc ON produkty",
            "alter table produkty drop COLUMN ilosc",
            "alter table produkty ADD " + nowa + " money DEFAULT 0",
            "UPDATE produkty SET " + nowa + "=" + tmp,
            "alter table produkty drop COLUMN " + tmp};
}

// A run stopped between any two statements of a retype leaves the values in the column,
// in the temporary column or in both, and the column it fills missing, added but empty,
// or filled. The next run (which repeats the step's retypes from its first) ends as an
// uninterrupted one: with the column's own name or a new one, and when the step retyped
// another column of the table first (under its own name or a new one), which must not
// take the stopped retype's values.
TEST_F(Pomocnicze, RetypeStoppedBetweenAnyTwoStatementsEndsAsAnUninterruptedOne) {
    const std::string tmp = "ccxxdfredvvcxds__ddfr";
    struct Wariant {
        const char* nazwa;
        std::string nowa;  // ilosc's new name, "" for its own
        std::string cena;  // the name under which cena is retyped first, "" for none
    };
    const Wariant warianty[] = {
        {"the column's own name", "", ""},
        {"a new name", "sztuk", ""},
        {"after another column of the table", "", "cena"},
        {"after another column moved to a new name", "", "cena_n"},
    };
    for (const Wariant& w : warianty) {
        const std::string ilosc = w.nowa.empty() ? "ilosc" : w.nowa;
        const std::string cena = w.cena.empty() ? "cena" : w.cena;
        const std::vector<std::string> polecenia = Zmiana_Ilosci(ilosc);
        for (size_t n = 0; n <= polecenia.size(); ++n) {
            SCOPED_TRACE(std::string(w.nazwa) + ", stopped after statement " + std::to_string(n));
            TearDown();
            SetUp();
            otworz_baze({"CREATE TABLE produkty (id long, cena double, ilosc double)",
                         "CREATE INDEX indilosc ON produkty (ilosc)",
                         "INSERT INTO produkty VALUES (1, 2.5, 3)",
                         "INSERT INTO produkty VALUES (2, 10.125, Null)",
                         "INSERT INTO produkty VALUES (3, Null, 7.25)"});
            const auto zmien_cene = [&] {
                std::string nowa = w.cena;
                if (!nowa.empty()) k.Zmien_Typ_Pola("cena", "money", "produkty", nowa);
            };
            zmien_cene();
            for (size_t i = 0; i < n; ++i) {
                try {
                    polaczenie().Execute(polecenia[i]);
                } catch (const jet::Error&) {
                }
            }
            zmien_cene();
            std::string nowa = w.nowa;
            k.Zmien_Typ_Pola("ilosc", "money DEFAULT 0", "produkty", nowa);
            EXPECT_EQ(nowa, ilosc);
            EXPECT_EQ(wiersze("SELECT id, " + cena + ", " + ilosc + " FROM produkty ORDER BY id"),
                      (std::vector<std::string>{"1|2,5|3", "2|10,125|Null", "3|Null|7,25"}));
            const auto& t = *polaczenie().database().catalog().table("produkty");
            EXPECT_EQ(t.column(tmp), nullptr);
            ASSERT_NE(t.column(ilosc), nullptr);
            EXPECT_EQ(t.column(ilosc)->type, jet::DataType::Currency);
            if (ilosc != "ilosc") {
                EXPECT_EQ(t.column("ilosc"), nullptr);
            }
            if (cena != "cena") {
                EXPECT_EQ(t.column("cena"), nullptr);
            }
            EXPECT_TRUE(okna.empty());
        }
    }
}

// The engine refuses to drop a column that an index of another name or a relation
// holds: an index goes with the column and is made again, flags and order kept, over the
// column added anew; what cannot be moved stops the run, which names the column.
TEST_F(Pomocnicze, RetypeMovesTheIndexesThatHoldTheColumnOrStops) {
    struct Przypadek {
        const char* nazwa;
        std::vector<std::string> baza;
        std::string nowa;     // cena's new name, "" for its own
        std::string indeksy;  // the table's indexes afterwards, "" when the run stops
    };
    const Przypadek przypadki[] = {
        {"indexes of other names",
         {"CREATE UNIQUE INDEX ceny ON produkty (id, cena DESC) WITH IGNORE NULL",
          "CREATE UNIQUE INDEX klucz ON produkty (cena) WITH PRIMARY"},
         "cena_n",
         "ceny:U:N:id,cena_n- klucz:PU:R:cena_n "},
        {"a unique index that the new values break",
         {"CREATE UNIQUE INDEX ceny ON produkty (cena)", "UPDATE produkty SET cena=2.2 WHERE id=2"},
         "",
         ""},
        {"a relation",
         {"CREATE TABLE ceny (c double)", "CREATE UNIQUE INDEX c ON ceny (c)",
          "ALTER TABLE produkty ADD CONSTRAINT r_ceny FOREIGN KEY (cena) REFERENCES ceny (c)"},
         "",
         ""},
    };
    for (const Przypadek& c : przypadki) {
        SCOPED_TRACE(c.nazwa);
        TearDown();
        SetUp();
        std::vector<std::string> baza = {"CREATE TABLE produkty (id long, cena double)",
                                         "INSERT INTO produkty VALUES (1, 2.4)",
                                         "INSERT INTO produkty VALUES (2, 7)"};
        baza.insert(baza.end(), c.baza.begin(), c.baza.end());
        otworz_baze(baza);
        std::string nowa = c.nowa;
        const bool stop = konczy([&] { k.Zmien_Typ_Pola("cena", "long", "produkty", nowa); });
        EXPECT_EQ(stop, c.indeksy.empty());
        if (stop) {
            ASSERT_FALSE(okna.empty());
            EXPECT_NE(okna.back().tekst.find("produkty"), std::string::npos) << okna.back().tekst;
            continue;
        }
        const auto& t = *polaczenie().database().catalog().table("produkty");
        EXPECT_EQ(t.column(nowa)->type, jet::DataType::Long);
        std::string indeksy;
        for (const auto& ix : t.indexes) {
            indeksy += ix.name + ":" + (ix.primary ? "P" : "") + (ix.unique ? "U" : "") + ":" +
                       (ix.required ? "R" : "") + (ix.ignore_nulls ? "N" : "") + ":";
            for (const auto& kol : ix.columns)
                indeksy += t.column_by_id(kol.column_id)->name + (kol.descending ? "-" : "") +
                           (&kol == &ix.columns.back() ? " " : ",");
        }
        EXPECT_EQ(indeksy, c.indeksy);
        EXPECT_EQ(wiersze("SELECT id, " + nowa + " FROM produkty ORDER BY id"),
                  (std::vector<std::string>{"1|2", "2|7"}));
    }
}

TEST_F(Pomocnicze, AddingAColumnTwiceIsAbsorbed) {
    otworz_baze({"CREATE TABLE T (a long)"});
    k.Dodaj_Pole("T", "b money DEFAULT 0");
    EXPECT_FALSE(konczy([&] { k.Dodaj_Pole("T", "b money DEFAULT 0"); }));
    EXPECT_NE(polaczenie().database().catalog().table("T")->column("b"), nullptr);
}

TEST_F(Pomocnicze, WaitCountsDownOnLineThreeWithoutTouchingTheOthers) {
    Pokaz_Postep("jeden", "dwa", "trzy");
    k.CzekajKonwersje(3);
    EXPECT_EQ(status_line(1), "jeden");
    EXPECT_EQ(status_line(2), "dwa");
    EXPECT_EQ(status_line(3), "0");
    k.CzekajKonwersje(0);
    EXPECT_EQ(status_line(3), "-1") << "a wait of 0 still counts one change";
    platform::set_fast_wait(false);
    k.CzekajKonwersje(0);  // the real clock: one change of the second
    EXPECT_EQ(status_line(3), "-1");
}

TEST_F(Pomocnicze, SetupAccessActsFromVersion213) {
    otworz_baze({"CREATE TABLE [Setup] (Nazwa TEXT(50), Wartosc TEXT(255))"});
    Wersja_Bazy = 2.12;
    k.Zapisz_SetupKonwersje("roczna", "0");
    EXPECT_TRUE(wiersze("SELECT * FROM [Setup]").empty());
    EXPECT_EQ(k.Czytaj_SetupKonwersje("roczna"), "");

    Wersja_Bazy = 2.13;
    k.Zapisz_SetupKonwersje("roczna", "0");
    k.Zapisz_SetupKonwersje("Roczna", "1");
    k.Zapisz_SetupKonwersje("", "x");
    EXPECT_EQ(wiersze("SELECT Nazwa, Wartosc FROM [Setup]"),
              (std::vector<std::string>{"ROCZNA|1"}));
    EXPECT_EQ(k.Czytaj_SetupKonwersje("roczna"), "1");
    EXPECT_EQ(k.Czytaj_SetupKonwersje("brak"), "");
}

// A completed run's last close leaves the converted database in the file itself, also
// while another program has the file open: the file copied alone, without the log beside
// it, reads 6.46.
TEST_F(Pomocnicze, TheCompletedRunLeavesTheFileWholeAlsoWhileAnotherProgramHasItOpen) {
    utworz_baze({"CREATE TABLE Nieruszac (NumerWersji DOUBLE)",
                 "INSERT INTO Nieruszac (NumerWersji) VALUES (6.45)",
                 "CREATE TABLE [Setup] (Nazwa TEXT(50), Wartosc TEXT(255))"});
    std::map<int, KrokZastepczy> kroki;
    for (int v = 165; v <= 646; ++v)
        if (Akcja_Kroku(v).rodzaj == RodzajKroku::Metoda) kroki[v] = [](ClsKonwersje&) {};
    Podstaw_Kroki(std::move(kroki));
    Zapisz_Rejestr("dodralvex", "0123", 0);
    Zapisz_Rejestr("dodralvexS", baza, 0);
    sqlite3* inny = nullptr;  // another program's idle connection
    ASSERT_EQ(sqlite3_open_v2(baza.c_str(), &inny, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_exec(inny, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    EXPECT_TRUE(konczy([] { Form_Load(); }));
    EXPECT_EQ(status, platform::exit_status::completed);
    EXPECT_EQ(znacznik(), "3210");
    const std::string sam = (folder / "sam.mdb").string();
    storage_test::write_bytes(sam, storage_test::read_bytes(baza));
    sqlite3_close(inny);
    auto db = jet::Database::open(sam, std::string(kDatabasePassword));
    EXPECT_EQ(storage_test::column_values(*db, "Nieruszac", "NumerWersji"),
              (std::vector<std::string>{"6.46"}));
    db->close();
}

// The numbering tables of the suite.
const std::vector<std::string> kNumeracja = {
    "CREATE TABLE [Setup] (Nazwa TEXT(50), Wartosc TEXT(255))",
    "CREATE TABLE SPOSOB_NUMERACJI (sm_id long, tryb long, rob_kier bit)",
    "CREATE TABLE sposob_numeracji_zawart (nr_fa long, nr_fk long, nr_dd long, nr_dz long, "
    "nr_par long, nr_sp long, nr_pw long, id counter, sm_id long, kierowca_id long, "
    "rok TEXT(4), miesiac TEXT(2))",
    "CREATE TABLE Numery_OST_DOK (numer_faktury long, rodzaj_dok TEXT(30), rok long, "
    "MIESIAC long)",
    "CREATE TABLE S_KIEROWCY (kier_id long)",
};

class Numeracja : public KonwersjeEnv {
  protected:
    void SetUp() override {
        KonwersjeEnv::SetUp();
        otworz_baze(kNumeracja);
        Wersja_Bazy = 2.56;
        Data_Dzisiaj = 0;
    }
    void TearDown() override {
        Data_Dzisiaj = 0;
        KonwersjeEnv::TearDown();
    }
    static double data(int r, int m, int d) { return *jet::dates::to_serial(r, m, d); }
};

TEST_F(Numeracja, LastNumberRowsPerKindAndPeriod) {
    struct {
        const char* rodzaj;
        std::vector<std::string> typy;
    } przypadki[] = {
        {"Sprzedaż_F_VAT", {"faktura"}},
        {"Sprzedaż_F_VAT_zbiorcze", {"faktura"}},
        {"zakupy", {"zakupy", "ZakupRA"}},
        {"korekta_z", {"fakturaZak_korekta"}},
        {"Zakup_zwroty", {"dz"}},
        {"Sprzedaż_F_VAT_korekta",
         {"faktura", "faktura_korekta", "Paragon", "dd", "dz", "detal", "PW", "PP", "PR", "zakupy",
          "ZakupyRR", "ZakupRA", "fakturaZak_korekta"}},
    };
    Data_Dzisiaj = data(2002, 5, 17);
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.rodzaj);
        polaczenie().Execute("DELETE FROM Numery_OST_DOK");
        double d = data(2002, 5, 17);
        k.Inicjuj_Numeracje_Dokumentow(p.rodzaj, d);
        std::vector<std::string> oczekiwane;
        for (const auto& t : p.typy) oczekiwane.push_back("0|" + t + "|2002|13");
        std::sort(oczekiwane.begin(), oczekiwane.end());
        auto w = wiersze("SELECT numer_faktury, rodzaj_dok, rok, MIESIAC FROM Numery_OST_DOK");
        std::sort(w.begin(), w.end());
        EXPECT_EQ(w, oczekiwane);
    }

    // Monthly numbering ("roczna" = "0") takes the working date's month; a row that
    // exists is left as it is.
    Wersja_Bazy = 2.57;
    k.Zapisz_SetupKonwersje("roczna", "0");
    polaczenie().Execute("DELETE FROM Numery_OST_DOK");
    polaczenie().Execute(
        "INSERT INTO Numery_OST_DOK (numer_faktury, rodzaj_dok, rok, MIESIAC) VALUES "
        "(41, 'faktura', 2002, 5)");
    k.Dodaj_Numer_OST_DOK("faktura");
    k.Dodaj_Numer_OST_DOK("Paragon");
    EXPECT_TRUE(Numeracja_Miesieczna);
    EXPECT_EQ(wiersze("SELECT numer_faktury, rodzaj_dok, MIESIAC FROM Numery_OST_DOK ORDER BY "
                      "rodzaj_dok"),
              (std::vector<std::string>{"41|faktura|5", "0|Paragon|5"}));
}

TEST_F(Numeracja, ZeroWorkingDateStandsForToday) {
    double d = 0;
    k.Inicjuj_Numeracje_Dokumentow("Paragon", d);
    const auto dzis = jet::dates::from_serial(d);
    EXPECT_GT(dzis.year, 2000) << "the document date became today's date";
    EXPECT_EQ(wiersze("SELECT rok FROM Numery_OST_DOK"),
              (std::vector<std::string>{std::to_string(dzis.year)}));
}

TEST_F(Numeracja, PeriodRowsPerSchemeAndDriver) {
    polaczenie().Execute("INSERT INTO S_KIEROWCY (kier_id) VALUES (4)");
    polaczenie().Execute("INSERT INTO S_KIEROWCY (kier_id) VALUES (9)");
    for (const char* s : {"(1, 0, 0)", "(2, 1, 0)", "(3, 2, -1)", "(5, Null, 0)"})
        polaczenie().Execute(std::string("INSERT INTO SPOSOB_NUMERACJI (sm_id, tryb, rob_kier) "
                                         "VALUES ") +
                             s);
    polaczenie().Execute(
        "INSERT INTO sposob_numeracji_zawart (nr_fa, nr_fk, nr_dd, nr_dz, nr_par, nr_sp, nr_pw, "
        "sm_id, kierowca_id, rok, miesiac) VALUES (12, 0, 0, 0, 0, 0, 0, 1, 0, '2003', '0')");
    double d = data(2003, 7, 2);
    k.Inicjuj_Numeracje_Dokumentow("Paragon", d);
    k.Inicjuj_Numeracje_Dokumentow("Paragon", d);  // a second run adds nothing
    EXPECT_EQ(wiersze("SELECT sm_id, kierowca_id, rok, miesiac, nr_fa FROM "
                      "sposob_numeracji_zawart ORDER BY sm_id, kierowca_id"),
              (std::vector<std::string>{
                  "1|0|2003|0|12",  // yearly, existing: untouched
                  "2|0|2003|7|0",   // monthly, without a leading zero
                  "3|4|0|0|0",      // one series, per driver
                  "3|9|0|0|0",
                  "5|0|0|0|0",  // a Null mode keeps the previous scheme's period
              }));
}

TEST_F(Numeracja, DriverSchemeWithoutDriversAddsNothingAndNullIdsNameNothing) {
    polaczenie().Execute("INSERT INTO SPOSOB_NUMERACJI (sm_id, tryb, rob_kier) VALUES (1, 0, -1)");
    double d = data(2003, 7, 2);
    k.Inicjuj_Numeracje_Dokumentow("Paragon", d);
    EXPECT_TRUE(wiersze("SELECT * FROM sposob_numeracji_zawart").empty());

    // An id beyond the 16-bit range is kept whole, never taken for another one; a Null
    // scheme or driver id gets no rows.
    polaczenie().Execute("INSERT INTO S_KIEROWCY (kier_id) VALUES (Null)");
    polaczenie().Execute("INSERT INTO S_KIEROWCY (kier_id) VALUES (70001)");
    polaczenie().Execute(
        "INSERT INTO SPOSOB_NUMERACJI (sm_id, tryb, rob_kier) VALUES (Null, 0, 0)");
    polaczenie().Execute("UPDATE SPOSOB_NUMERACJI SET sm_id=70000 WHERE sm_id=1");
    k.Inicjuj_Numeracje_Dokumentow("Paragon", d);
    EXPECT_EQ(wiersze("SELECT sm_id, kierowca_id, rok FROM sposob_numeracji_zawart"),
              (std::vector<std::string>{"70000|70001|2003"}));
}

TEST(Tablica, EveryStepNumberHasItsAction) {
    std::set<int> puste, sygnaly, metody;
    for (int v = 100; v <= 700; ++v) {
        const PozycjaKroku a = Akcja_Kroku(v);
        if (v < 165 || v > 646) {
            EXPECT_EQ(a.rodzaj, RodzajKroku::Poza) << v;
            continue;
        }
        if (a.rodzaj == RodzajKroku::Pusty) puste.insert(v);
        if (a.rodzaj == RodzajKroku::Sygnal) sygnaly.insert(v);
        if (a.rodzaj == RodzajKroku::Metoda) metody.insert(v);
        if (a.rodzaj == RodzajKroku::Metoda) {
            const auto it = Zbudowane_Kroki().find(v);
            EXPECT_EQ(a.metoda, it == Zbudowane_Kroki().end() ? nullptr : it->second) << v;
        }
    }
    EXPECT_EQ(puste.size(), 25u);
    EXPECT_EQ(sygnaly.size(), 39u);
    EXPECT_EQ(metody.size(), 418u);
    for (int v : {165, 169, 170, 171, 331, 526, 646}) EXPECT_TRUE(metody.count(v)) << v;
    for (int v : {300, 520, 525, 638}) EXPECT_TRUE(puste.count(v)) << v;
    for (int v : {166, 172, 181, 195, 332, 350, 614, 631, 635}) EXPECT_TRUE(sygnaly.count(v)) << v;
    for (const auto& [v, m] : Zbudowane_Kroki()) EXPECT_TRUE(metody.count(v)) << v;

    // A test's step takes the place of a step method only.
    Podstaw_Kroki({{646, [](ClsKonwersje&) {}}, {300, [](ClsKonwersje&) {}}});
    EXPECT_NE(Akcja_Kroku(646).zastepczy, nullptr);
    EXPECT_EQ(Akcja_Kroku(300).rodzaj, RodzajKroku::Pusty);
    Podstaw_Kroki({});
    EXPECT_EQ(Akcja_Kroku(646).zastepczy, nullptr);
}

TEST(Liczby, PlainAndTwoDecimalTexts) {
    EXPECT_EQ(Tekst_Liczby(166), " 166");
    EXPECT_EQ(Tekst_Liczby(166 / 100.0), " 1.66");
    EXPECT_EQ(Tekst_Liczby(170 / 100.0), " 1.7");
    EXPECT_EQ(Tekst_Liczby(646 / 100.0), " 6.46");
    EXPECT_EQ(Tekst_Liczby(-2), "-2");
    EXPECT_EQ(Format_Liczby_2(170 / 100.0), "1,70");
    EXPECT_EQ(Format_Liczby_2(6.46), "6,46");
}

}  // namespace
