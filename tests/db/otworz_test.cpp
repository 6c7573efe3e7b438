#include "db/otworz.h"

#include <gtest/gtest.h>

#include "dao/dao.h"
#include "db/komunikaty.h"
#include "db/konto_id.h"
#include "db/wykonaj.h"
#include "db_env.h"

namespace {

class Otworz : public DbEnv {
  protected:
    void SetUp() override {
        DbEnv::SetUp();
        otworz_baze({"CREATE TABLE Setup (Nazwa TEXT(50), Wartosc TEXT(255))",
                     "INSERT INTO Setup (Nazwa, Wartosc) VALUES ('A', '1')",
                     "INSERT INTO Setup (Nazwa, Wartosc) VALUES ('B', '2')"});
        Biezaca_Operacja = "Op";
        linii = log().size();
    }
    size_t linii = 0;
};

TEST(PolecenieSelect, AWholeStatementIsNotGivenASecondSelect) {
    const std::pair<const char*, const char*> przypadki[] = {
        {"* FROM Setup", "Select * FROM Setup"},
        {"Select * FROM Setup", "Select * FROM Setup"},
        {"SELECT DISTINCT a FROM t", "SELECT DISTINCT a FROM t"},
        {"select\t* FROM t", "select\t* FROM t"},
        {"Selected FROM t", "Select Selected FROM t"},  // a column whose name begins so
        {"Select", "Select Select"},
    };
    for (const auto& [tekst, polecenie] : przypadki)
        EXPECT_EQ(Polecenie_Select(tekst), polecenie) << tekst;
}

TEST_F(Otworz, ModesGiveTheirCursors) {
    std::unique_ptr<ado::Recordset> rs;
    EXPECT_EQ(DbOtwórzSEL(rs, "* FROM Setup", kOtworzOdczyt), 2);
    ASSERT_NE(rs, nullptr);
    EXPECT_EQ(rs->Fields(0).value().to_text(), "A");

    EXPECT_EQ(DbOtwórzSEL(rs, "* FROM Setup where Nazwa='B'", kOtworzEdycja), 1);
    rs->Fields(1) = jet::Value::text("22");
    rs->UpdateBatch();
    EXPECT_EQ(DbOtwórzSEL(rs, "Select * FROM Setup ORDER BY Nazwa", kOtworzKeyset), 2);
    rs->MoveNext();
    EXPECT_EQ(rs->Fields(1).value().to_text(), "22");
    ZamknijRS(rs);
    EXPECT_EQ(rs, nullptr);
    ZamknijRS(rs);  // an empty reference: nothing happens
    EXPECT_TRUE(okna.empty());
}

TEST_F(Otworz, SilentFailureLeavesNoTrace) {
    std::unique_ptr<ado::Recordset> rs;
    EXPECT_EQ(DbOtwórzSEL(rs, "* FROM Brak", kOtworzOdczyt, "", -1), -1);
    EXPECT_TRUE(okna.empty());
    EXPECT_EQ(schowek(), "<pusty>");
    EXPECT_EQ(log().size(), linii);
}

TEST_F(Otworz, FailureAsksRetryAndIgnore) {
    std::unique_ptr<ado::Recordset> rs;
    odpowiedzi = {vbRetry, vbIgnore};
    EXPECT_EQ(DbOtwórzSEL(rs, "* FROM Brak", kOtworzOdczyt), -1);
    EXPECT_EQ(rs, nullptr);
    ASSERT_EQ(okna.size(), 2u);
    EXPECT_EQ(okna[0].tytul, "Uwaga wystąpił błąd w Op");
    EXPECT_EQ(okna[0].styl, vbAbortRetryIgnore);
    EXPECT_NE(okna[0].tekst.find("\r\n* FROM Brak"), std::string::npos);
    EXPECT_EQ(okna[0].tekst.rfind("-2147217865(", 0), 0u);
    EXPECT_EQ(schowek(), "Select * FROM Brak");
    const auto l = log();
    EXPECT_EQ(l.at(linii).rfind(",,,Op,Select * FROM Brak,DbOtwórzSEL,-2147217865(", 0), 0u);

    odpowiedzi = {vbAbort};
    EXPECT_EQ(koniec([&] { DbOtwórzSEL(rs, "* FROM Brak", kOtworzOdczyt); }),
              platform::exit_status::fatal);
    EXPECT_EQ(znacznik(), "0000");
}

TEST_F(Otworz, ValueThatCannotBeConvertedTidiesTheDatabaseAndOpensAgain) {
    DbWykonaj("CREATE TABLE Kasa (k long, opis TEXT(10))");
    DbWykonaj("INSERT INTO Kasa (k) VALUES (1)");
    std::unique_ptr<ado::Recordset> rs = std::make_unique<ado::Recordset>();
    const std::string r = DbOtwórzRS(rs, "Select * FROM Setup WHERE Nazwa = 5", kOtworzOdczyt);
    EXPECT_EQ(r.rfind("-2147217913(", 0), 0u) << r;  // the second open fails the same way
    ASSERT_EQ(okna.size(), 2u);
    EXPECT_EQ(okna[0].tekst, "Nastąpi porządkowanie bazy !");
    EXPECT_EQ(okna[1].tekst, "Operacja zakończona");
    EXPECT_EQ(wiersze("SELECT k, opis FROM KASA"), std::vector<std::string>{"1|"});
    auto db = dao::DBEngine::OpenDatabase(baza);
    EXPECT_EQ(db->TableDefs("kasa").Name(), "KASA");
    db->Close();
}

// A failure of the environment in that tidy-up is no failure of the open: it reaches the
// opener's caller, even through a silent opener.
TEST_F(Otworz, EnvironmentsFailureInTheTidyUpReachesTheCaller) {
    DbWykonaj("CREATE TABLE Kasa (k long, opis TEXT(10))");
    for (const jet::Error& awaria : awarie_srodowiska()) {
        SCOPED_TRACE(awaria.description());
        okna.clear();
        std::unique_ptr<ado::Recordset> rs;
        Awaria_Zapisu a(awaria, 1);
        try {
            DbOtwórzSEL(rs, "* FROM Setup WHERE Nazwa = 5", kOtworzOdczyt, "", -1);
            ADD_FAILURE() << "passed over";
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.description(), awaria.description());
        }
        EXPECT_EQ(a.zostalo(), 0);
        ASSERT_EQ(okna.size(), 1u);
        EXPECT_EQ(okna[0].tekst, "Nastąpi porządkowanie bazy !");
    }
}

TEST_F(Otworz, ReconnectsBeforeOpening) {
    DbZamknij();
    std::unique_ptr<ado::Recordset> rs;
    EXPECT_EQ(DbOtwórzRS(rs, "Select * FROM Setup", kOtworzOdczyt), "");
    EXPECT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(Baza_Otwarta, -1);
}

TEST_F(Otworz, AccountId) {
    DbWykonaj(
        "CREATE TABLE KH_KONTA (Countt counter, NR_K_1 TEXT(4), NR_K_2 TEXT(10), "
        "NR_K_3 TEXT(10), NR_K_4 TEXT(10), rok long)");
    DbWykonaj(
        "INSERT INTO KH_KONTA (NR_K_1, NR_K_2, NR_K_3, NR_K_4, rok) "
        "VALUES ('201', '01', '', '', 2003)");
    DbWykonaj(
        "INSERT INTO KH_KONTA (NR_K_1, NR_K_2, NR_K_3, NR_K_4, rok) "
        "VALUES ('201', '01', '', '', 2004)");
    int32_t id = -5;
    ID_konta("201", "01", "", "", id, 2004);
    EXPECT_EQ(id, 2);
    ID_konta("201", "01", "", "", id, 2005);
    EXPECT_EQ(id, 0);
}

}  // namespace
