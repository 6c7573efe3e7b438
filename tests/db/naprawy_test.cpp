#include "db/naprawy.h"

#include <gtest/gtest.h>

#include "../jet/sqlite_fault.h"
#include "dao/dao.h"
#include "db/komunikaty.h"
#include "db/postep.h"
#include "db_env.h"

namespace {

class Naprawy : public DbEnv {
  protected:
    // Columns of a table as "name:type:size" in order.
    std::vector<std::string> kolumny(const std::string& tabela) {
        auto db = dao::DBEngine::OpenDatabase(baza);
        auto td = db->TableDefs(tabela);
        std::vector<std::string> w;
        for (int i = 0; i < td.FieldCount(); ++i) {
            auto f = td.Fields(i);
            w.push_back(f.Name() + ":" + std::to_string(f.Type()) + ":" + std::to_string(f.Size()));
        }
        db->Close();
        return w;
    }
};

TEST_F(Naprawy, WidensOnlyShortTextColumnsAndKeepsValues) {
    // An index of another name holds a: it is made again over the column widened.
    otworz_baze({"CREATE TABLE T (k long, a TEXT(50), b TEXT(255))", "CREATE INDEX inda ON T (a)",
                 "CREATE UNIQUE INDEX ka ON T (k, a DESC)",
                 "INSERT INTO T (k, a, b) VALUES (1, 'x''y', 'z')"});
    const std::string prefiks = "[" + baza + "]";
    EXPECT_EQ(Poszerz_Pola_Tekstowe(prefiks, "[t]", -1), -1);
    EXPECT_EQ(kolumny("T"), (std::vector<std::string>{"k:4:4", "b:10:255", "a:10:255"}));
    const auto* ka = polaczenie().database().catalog().table("T")->index("ka");
    ASSERT_NE(ka, nullptr);
    EXPECT_TRUE(ka->unique && ka->columns.size() == 2 && ka->columns[1].descending);
    EXPECT_EQ(wiersze("SELECT k, a, b FROM T"), std::vector<std::string>{"1|x'y|z"});
    ASSERT_EQ(okna.size(), 1u);
    EXPECT_EQ(okna[0].tekst, "Najmniej jedno za krótkie pole tekstowe w tabeli : [t]");

    // Without an open DAO database the routine finds nothing.
    EXPECT_EQ(Poszerz_Pola_Tekstowe(prefiks, "[T]", 0), 0);
    // A table that does not exist: the message, no change, 0.
    okna.clear();
    EXPECT_EQ(Poszerz_Pola_Tekstowe(prefiks, "[Brak]", -1), 0);
    EXPECT_EQ(okna.size(), 1u);
}

// A temporary column of the widening's type standing last beside a short column is that
// column's copy or the only copy of a column that a stopped widening dropped: the schema
// cannot tell, so the widening ends the run before it changes anything, and the table
// keeps both columns.
TEST_F(Naprawy, WideningNeverDropsTheOnlyCopyOfAColumn) {
    for (const char* kopia : {"'x'", "'values of b'"}) {
        SCOPED_TRACE(kopia);
        TearDown();
        SetUp();
        otworz_baze({"CREATE TABLE T (k long, a TEXT(50), ccxxdfredvvcxds__ddfr TEXT(255))",
                     std::string("INSERT INTO T VALUES (1, 'x', ") + kopia + ")"});
        const std::vector<std::string> przed = wiersze("SELECT * FROM T");
        EXPECT_EQ(koniec([&] { Poszerz_Pola_Tekstowe("[" + baza + "]", "[T]", -1); }),
                  platform::exit_status::fatal);
        EXPECT_EQ(znacznik(), "0000");
        EXPECT_NE(okna.back().tekst.find("T.ccxxdfredvvcxds__ddfr"), std::string::npos);
        DbOtwórz();
        EXPECT_EQ(kolumny("T"),
                  (std::vector<std::string>{"k:4:4", "a:10:50", "ccxxdfredvvcxds__ddfr:10:255"}));
        EXPECT_EQ(wiersze("SELECT * FROM T"), przed);
    }
}

// A run that commits each statement of the widening on its own, stopped between two of
// them in the widening of a (the table's first short column; b waits its turn), leaves
// a's values in a, in the temporary column or in both. The next widening of the table
// ends as an uninterrupted one where the schema tells the state: before the temporary
// column is added, or once a is added anew after it. While the temporary column stands
// last it may be a's copy or the only copy of a dropped column: the run ends there with
// nothing changed.
TEST_F(Naprawy, WideningStoppedBetweenAnyTwoStatementsLosesNothing) {
    const std::string tmp = "ccxxdfredvvcxds__ddfr";
    const std::vector<std::string> polecenia = {
        "alter table T drop COLUMN " + tmp + " ",
        "alter table T ADD " + tmp + " text(255)",
        "UPDATE T SET " + tmp + "=[a]",
        "drop INDEX inda ON T",
        "alter table T drop COLUMN a",
        "alter table T ADD a text(255)",
        "UPDATE T SET a=" + tmp,
        "alter table T drop COLUMN " + tmp,
    };
    const std::vector<std::string> poszerzone = {"k:4:4", "a:10:255", "b:10:255"};
    const std::vector<std::string> wartosci = {"1|x|y", "2|Null|z", "3|w|Null"};
    for (size_t n = 0; n <= polecenia.size(); ++n) {
        SCOPED_TRACE("stopped after statement " + std::to_string(n));
        TearDown();
        SetUp();
        okna.clear();
        otworz_baze({"CREATE TABLE T (k long, a TEXT(50), b TEXT(50))",
                     "CREATE INDEX inda ON T (a)", "INSERT INTO T VALUES (1, 'x', 'y')",
                     "INSERT INTO T VALUES (2, Null, 'z')", "INSERT INTO T VALUES (3, 'w', Null)"});
        for (size_t i = 0; i < n; ++i) {
            try {
                polaczenie().Execute(polecenia[i]);
            } catch (const jet::Error&) {
            }
        }
        if (n >= 2 && n <= 5) {
            const std::vector<std::string> przed = kolumny("T");
            const std::vector<std::string> wiersze_przed = wiersze("SELECT * FROM T ORDER BY k");
            EXPECT_EQ(koniec([&] { Poszerz_Pola_Tekstowe("[" + baza + "]", "[T]", -1); }),
                      platform::exit_status::fatal);
            DbOtwórz();
            EXPECT_EQ(kolumny("T"), przed);
            EXPECT_EQ(wiersze("SELECT * FROM T ORDER BY k"), wiersze_przed);
            continue;
        }
        EXPECT_EQ(Poszerz_Pola_Tekstowe("[" + baza + "]", "[T]", -1), -1);
        EXPECT_EQ(kolumny("T"), poszerzone);
        EXPECT_EQ(wiersze("SELECT k, a, b FROM T ORDER BY k"), wartosci);
        ASSERT_EQ(okna.size(), 1u) << "the widening's message, and no failure";
    }
}

// The widening ends quietly on its own failures, but a failure of the file that it meets
// (an I/O error, a damaged page) is passed over by none of its statements: answered
// Abort, it ends the run with the table as it was, and the next widening runs whole.
TEST_F(Naprawy, WideningPassesAFailureOfTheFileOn) {
    otworz_baze({"CREATE TABLE T (k long, a TEXT(50))", "INSERT INTO T (k, a) VALUES (1, 'x')"});
    const std::string prefiks = "[" + baza + "]";
    for (const int kod : {SQLITE_IOERR_READ, SQLITE_CORRUPT}) {
        SCOPED_TRACE(kod);
        odpowiedzi = {vbAbort};
        {
            sqlite_fault::FailingFiles awaria(kod, polaczenie().database().session().handle());
            EXPECT_EQ(koniec([&] { Poszerz_Pola_Tekstowe(prefiks, "[T]", -1); }),
                      platform::exit_status::fatal);
        }
        DbOtwórz();
        EXPECT_EQ(kolumny("T"), (std::vector<std::string>{"k:4:4", "a:10:50"}));
    }
    EXPECT_EQ(Poszerz_Pola_Tekstowe(prefiks, "[T]", -1), -1);
    EXPECT_EQ(kolumny("T"), (std::vector<std::string>{"k:4:4", "a:10:255"}));
    EXPECT_EQ(wiersze("SELECT k, a FROM T"), std::vector<std::string>{"1|x"});
}

TEST_F(Naprawy, TidyUpReplacesNullsAndUpperCasesNames) {
    otworz_baze({"CREATE TABLE Kasa (k long, kwota money, NR_WYJAZDU long, opis TEXT(20), m memo)",
                 "INSERT INTO Kasa (k) VALUES (1)",
                 "CREATE TABLE Nieruszac (NumerWersji double, t TEXT(5))",
                 "INSERT INTO Nieruszac (NumerWersji) VALUES (Null)",
                 "CREATE TABLE [Błędy wklejania] (x long)"});
    Porzadkuj_Baze(baza, 0, -1, "");
    EXPECT_EQ(wiersze("SELECT k, kwota, NR_WYJAZDU, opis, m FROM Kasa"),
              std::vector<std::string>{"1|0|1||"});
    EXPECT_EQ(wiersze("SELECT NumerWersji, t FROM Nieruszac"),
              std::vector<std::string>{"Null|Null"});
    auto db = dao::DBEngine::OpenDatabase(baza);
    EXPECT_EQ(db->TableDefs("kasa").Name(), "KASA");
    EXPECT_EQ(db->TableDefs("nieruszac").Name(), "Nieruszac");
    EXPECT_EQ(db->TableDefs("KASA").Fields("kwota").DefaultValue(), "0");
    EXPECT_EQ(db->TableDefs("KASA").Fields("NR_WYJAZDU").DefaultValue(), "1");
    EXPECT_EQ(db->TableDefs("KASA").Fields("opis").DefaultValue(), "\"\"");
    EXPECT_TRUE(db->TableDefs("KASA").Fields("opis").AllowZeroLength());
    EXPECT_EQ(db->TableDefs("Błędy wklejania").Name(), "Błędy wklejania");  // kept
    db->Close();

    Porzadkuj_Baze(baza, -1, -1, "");
    db = dao::DBEngine::OpenDatabase(baza);
    EXPECT_ANY_THROW(db->TableDefs("Błędy wklejania"));
    db->Close();
}

// With its failures ignored, the tidy-up passes over a statement's own failure (a table
// whose Nulls would break its unique index) and tidies the rest; a failure of the
// environment is no statement's: it stops the tidy-up and reaches the caller.
TEST_F(Naprawy, TidyUpPassesTheEnvironmentsFailuresOnAndSkipsItsOwn) {
    otworz_baze({"CREATE TABLE Lista (k long, opis TEXT(20))",
                 "CREATE UNIQUE INDEX uo ON Lista (opis)", "INSERT INTO Lista (k) VALUES (1)",
                 "INSERT INTO Lista (k) VALUES (2)", "CREATE TABLE Kasa (k long, kwota money)",
                 "INSERT INTO Kasa (k) VALUES (1)"});
    Porzadkuj_Baze(baza, 0, -1, "");
    EXPECT_EQ(wiersze("SELECT k, opis FROM Lista ORDER BY k"),
              (std::vector<std::string>{"1|Null", "2|Null"}));
    EXPECT_EQ(wiersze("SELECT k, kwota FROM Kasa"), std::vector<std::string>{"1|0"});
    EXPECT_TRUE(okna.empty());

    for (const jet::Error& awaria : awarie_srodowiska()) {
        SCOPED_TRACE(awaria.description());
        Awaria_Zapisu a(awaria, 1);
        try {
            Porzadkuj_Baze(baza, 0, -1, "");
            ADD_FAILURE() << "passed over";
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.description(), awaria.description());
        }
        EXPECT_EQ(a.zostalo(), 0);
    }
    // The tidy-up's DAO database was let go each time: the next one runs whole.
    Porzadkuj_Baze(baza, 0, -1, "");
}

TEST_F(Naprawy, WaitCountsDownAndPutsTheLineBack) {
    Pokaz_Postep("", "", "Konwersja");
    Czekaj(3);
    EXPECT_EQ(status_line(3), "Konwersja");
}

}  // namespace
