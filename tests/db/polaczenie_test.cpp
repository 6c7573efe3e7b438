#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <utility>

#include "dao/dao.h"
#include "db/komunikaty.h"
#include "db_env.h"
#include "jet/sqlite_fault.h"
#include "jet/storage_util.h"
#include "platform/paths.h"

namespace {

class Polaczenie : public DbEnv {
  protected:
    const std::string kSzczegoly = ",DBCLOSE, Stanowsiko ,Win:,";
    const std::string kSzczegoly2 = ",DBCLOSE2, Stanowsiko ,Win:,";
};

TEST_F(Polaczenie, OpenWithoutPathOpensAndLogsNothing) {
    DbOtwórz();
    EXPECT_EQ(Baza_Otwarta, 0);
    EXPECT_EQ(Biezaca_Operacja, "Load Baza");
    EXPECT_FALSE(std::filesystem::exists(dir / "Rejestr.txt"));
    EXPECT_TRUE(okna.empty());
}

TEST_F(Polaczenie, OpenTwiceClosesFirstAndLogsBoth) {
    otworz_baze();
    DbOtwórz();
    EXPECT_EQ(Baza_Otwarta, -1);
    EXPECT_EQ(polaczenie().State(), ado::adStateOpen);
    EXPECT_EQ(polaczenie().Properties(7), baza);
    const auto linie = log();
    ASSERT_EQ(linie.size(), 3u);
    EXPECT_EQ(linie[0], ",,,Load Baza,Baza Otwarta          . Użytkownik:" + kSzczegoly2 + baza);
    EXPECT_EQ(linie[1], ",,,Load Baza,Baza Zamknięta.         Użytkownik:" + kSzczegoly + baza);
    EXPECT_EQ(linie[2], linie[0]);
    // DAO opens of the same file need no password of their own.
    EXPECT_NO_THROW(dao::DBEngine::OpenDatabase(baza)->Close());
    EXPECT_TRUE(okna.empty());
}

// A folder given as the database, with or without a trailing "/", is said to be one, and
// the log goes beside the folder, not inside it. The log line of the report says why, as
// the box does (nobody sees the box under the suite).
TEST_F(Polaczenie, FailedOpenOfMissingFileFolderOrWrongPasswordIsANotice) {
    jet::CreateOptions inne;
    inne.password = "inne";
    jet::Database::create((folder / "obca.mdb").string(), inne);
    const std::string katalog = (dir / "katalog").string();
    std::filesystem::create_directories(katalog);
    const std::string zajeta = (folder / "zajeta.mdb").string();
    const std::string uszkodzona = (folder / "uszkodzona.mdb").string();
    const std::string samo = baza;
    for (const std::string& plik : {zajeta, uszkodzona}) {
        baza = plik;
        utworz_baze();
    }
    baza = samo;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(uszkodzona.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "UPDATE MSysJetProperties SET value='x' WHERE name='NextId'", nullptr, nullptr,
                 nullptr);
    sqlite3_close(db);
    storage_test::OtherProcessHold inny(zajeta);
    const std::string jest_katalogiem = "': it is a folder, not a database file.)";
    const std::pair<std::string, std::string> przypadki[] = {
        {(folder / "brak.mdb").string(), "-2147467259 ("},
        {(folder / "obca.mdb").string(), "-2147217843 ("},
        {katalog, "-2147467259 (Cannot open '" + katalog + jest_katalogiem},
        {katalog + "/", "-2147467259 (Cannot open '" + katalog + "/" + jest_katalogiem},
        {zajeta, "-2147467259 (Could not lock file.)"},
        {uszkodzona, "-2147467259 (The database '" + uszkodzona + "' is damaged: "},
    };
    for (const auto& [sciezka, poczatek] : przypadki) {
        SCOPED_TRACE(sciezka);
        okna.clear();
        Sciezka_Bazy = sciezka;
        DbOtwórz();
        EXPECT_EQ(Baza_Otwarta, 0);
        ASSERT_EQ(okna.size(), 1u);
        EXPECT_EQ(okna[0].styl, vbOKOnly);
        EXPECT_EQ(okna[0].tytul, " Wyjątek w procedurze --- modułu Load Baza.");
        EXPECT_EQ(okna[0].tekst.rfind(poczatek, 0), 0u) << okna[0].tekst;
        const std::string blad = okna[0].tekst.substr(0, okna[0].tekst.rfind(". Nie Krytyczny"));
        std::string linia =
            "ERR.MSG: Wyjątek w procedurze --- modułu Load Baza.,Wyjątek_Pokaż,"
            "Nie Krytyczny: " +
            blad + "," + sciezka + "\"\r\n";
        std::replace(linia.begin(), linia.end(), '\'', '"');
        const std::string zapis = slurp(platform::log_file_for(sciezka));
        EXPECT_NE(zapis.find(linia), std::string::npos) << zapis;
    }
    EXPECT_TRUE(inny.release());
    EXPECT_EQ(znacznik(), "");
    EXPECT_TRUE(std::filesystem::exists(dir / "Log"));
    EXPECT_TRUE(std::filesystem::is_empty(katalog));
}

// The database is opened at the path exactly as written: a folder whose name holds the
// connection string's own characters, blanks at its ends or Polish letters opens, and a
// file whose name ends with a blank is that file, not the one without the blank.
TEST_F(Polaczenie, PathsOpenAsWritten) {
    const std::string samo = baza;  // dane/baza.mdb, beside the one with a trailing blank
    utworz_baze({"CREATE TABLE Nazwa (n TEXT(60))", "INSERT INTO Nazwa (n) VALUES ('inna')"});
    for (const std::string nazwa :
         {"dane;2024/baza.mdb", "a \"b\"/baza.mdb", "it's/baza.mdb", "x=y;z=/baza.mdb",
          " d ; e /baza.mdb", "zażółć/gęślą.mdb", "dane/baza.mdb "}) {
        SCOPED_TRACE(nazwa);
        baza = (dir / nazwa).string();
        std::filesystem::create_directories(std::filesystem::path(baza).parent_path());
        utworz_baze({"CREATE TABLE Nazwa (n TEXT(60))",
                     "INSERT INTO Nazwa (n) VALUES ('" + nazwa.substr(0, 2) + "')"});
        Sciezka_Bazy = baza;
        DbOtwórz();
        ASSERT_EQ(Baza_Otwarta, -1);
        EXPECT_EQ(polaczenie().Properties(7), baza);
        EXPECT_EQ(wiersze("SELECT n FROM Nazwa"), std::vector<std::string>{nazwa.substr(0, 2)});
        DbZamknij();
    }
    EXPECT_TRUE(okna.empty());
    baza = samo;
}

TEST_F(Polaczenie, ReconnectAnsweredYesThenNoEndsWithMarker0000) {
    Sciezka_Bazy = (folder / "brak.mdb").string();
    odpowiedzi = {vbYes, vbNo};
    EXPECT_EQ(koniec([&] { DbPolacz_Ponownie(); }), platform::exit_status::fatal);
    ASSERT_EQ(okna.size(), 2u);
    EXPECT_EQ(okna[1].tekst, "Mam problem z ponownym podłączeniem się do bazy danych. Powtórzyć ?");
    EXPECT_EQ(okna[1].styl, vbYesNo);
    EXPECT_EQ(znacznik(), "0000");
}

TEST_F(Polaczenie, ReconnectOpensSilentlyAndLogsAutomat) {
    DbPolacz_Ponownie();  // no path: nothing is opened, the line is written all the same
    EXPECT_EQ(Baza_Otwarta, 0);
    EXPECT_EQ(log(false),
              std::vector<std::string>{",,,,Baza Otwarta  -Automat. Użytkownik:" + kSzczegoly2});
    utworz_baze();
    Sciezka_Bazy = baza;
    DbPolacz_Ponownie();
    EXPECT_EQ(Baza_Otwarta, -1);
    EXPECT_TRUE(okna.empty());
    EXPECT_EQ(log(), std::vector<std::string>{
                         ",,,,Baza Otwarta  -Automat. Użytkownik:" + kSzczegoly2 + baza});
}

TEST_F(Polaczenie, UnloadNotFinalOnlyCloses) {
    otworz_baze();
    Zapisz_Rejestr("dodralvex", "0123", 0);
    DbZamknij_Unload(0);
    EXPECT_EQ(Baza_Otwarta, 0);
    EXPECT_EQ(DbPolaczenie, nullptr);
    EXPECT_EQ(znacznik(), "0123");
    EXPECT_EQ(log().back(), ",,,Load Baza,Baza Zamknięta.         Użytkownik:" + kSzczegoly + baza);
}

TEST_F(Polaczenie, UnloadFinalCommitsWritesMarker0001AndEnds) {
    otworz_baze({"CREATE TABLE T (a long)"});
    polaczenie().BeginTrans();  // a transaction left open is committed
    polaczenie().Execute("INSERT INTO T (a) VALUES (7)");
    EXPECT_EQ(koniec([&] { DbZamknij_Unload(-1); }), platform::exit_status::stopped);
    EXPECT_EQ(znacznik(), "0001");
    EXPECT_EQ(Baza_Otwarta, 0);
    EXPECT_EQ(log().back(), ",,,Load Baza,Baza Zamknięta-Unload. Użytkownik:" + kSzczegoly2 + baza);
    Sciezka_Bazy = baza;
    DbOtwórzCicho();
    EXPECT_EQ(wiersze("SELECT a FROM T"), std::vector<std::string>{"7"});
}

TEST_F(Polaczenie, Transactions) {
    otworz_baze({"CREATE TABLE T (a long)"});
    auto& c = polaczenie();

    // Nothing open: only the probe is committed, nothing is logged or shown.
    const size_t linii = log().size();
    Begin_Commit_T();
    EXPECT_EQ(log().size(), linii);
    EXPECT_TRUE(okna.empty());
    EXPECT_EQ(c.database().trans_level(), 0);

    // One forgotten transaction: logged with the level 2, shown once, all committed.
    c.BeginTrans();
    c.Execute("INSERT INTO T (a) VALUES (1)");
    Begin_Commit_T();
    EXPECT_EQ(c.database().trans_level(), 0);
    ASSERT_EQ(okna.size(), 1u);
    EXPECT_EQ(okna[0].tekst, "Nie zostały zamknięte poprzednie transakcje - zamykam");
    EXPECT_EQ(log().back(),
              ",,,Load Baza,ERR.MSG:,Begin_Commit_T,Nie zmamknięte transakcje:2," + baza);

    // Begin_T inside an open one commits both and leaves one new transaction.
    okna.clear();
    c.BeginTrans();
    Begin_T();
    EXPECT_EQ(c.database().trans_level(), 1);
    EXPECT_EQ(okna.size(), 1u);
    c.Execute("INSERT INTO T (a) VALUES (2)");
    Rollback_T();
    Begin_T();
    c.Execute("INSERT INTO T (a) VALUES (3)");
    Commit_T();
    EXPECT_EQ(wiersze("SELECT a FROM T ORDER BY a"), (std::vector<std::string>{"1", "3"}));

    // Failures are reported and the caller goes on.
    okna.clear();
    Rollback_T();
    Commit_T();
    ASSERT_EQ(okna.size(), 2u);
    EXPECT_EQ(okna[0].tekst, "Błąd Wycofania Transakcji");
    EXPECT_EQ(okna[1].tekst, "Błąd Zatwierdzenia transakcji");
    const auto linie = log();
    EXPECT_NE(linie[linie.size() - 4].find(",ERR.MSG:"), std::string::npos);
    EXPECT_NE(linie[linie.size() - 4].find(",Rollback_T,Błąd Wycofania Transakcji,"),
              std::string::npos);
}

TEST_F(Polaczenie, LogOutCommitsClosesAndEnds) {
    otworz_baze({"CREATE TABLE T (a long)"});
    Biezaca_Operacja = "Nieruszać 2";
    polaczenie().BeginTrans();
    polaczenie().Execute("INSERT INTO T (a) VALUES (5)");
    EXPECT_EQ(koniec([&] { Wylogowanie(); }), platform::exit_status::fatal);
    EXPECT_EQ(Baza_Otwarta, 0);
    EXPECT_EQ(znacznik(), "0000");
    const auto linie = log();
    EXPECT_EQ(linie[linie.size() - 2],
              ",,,Nieruszać 2,Baza Zamknięta.         Użytkownik:" + kSzczegoly + baza);
    EXPECT_EQ(linie.back(),
              ",,,Nieruszać 2,Wylogowanie.            Użytkownik:" + kSzczegoly + baza);
    DbOtwórzCicho();
    EXPECT_EQ(wiersze("SELECT a FROM T"), std::vector<std::string>{"5"});
}

// Every close that commits (the orderly close, the orderly stop, the reopen, the end of
// a fatal path) reports a commit that fails as a critical exception with the failure,
// and the run ends as on any failed write: marker "0000", the database as of its last
// commit.
TEST_F(Polaczenie, ACommitThatFailsAtTheCloseEndsTheRunWith0000) {
    const std::pair<const char*, std::function<void()>> zamkniecia[] = {
        {"DbZamknij_Unload(0)", [] { DbZamknij_Unload(0); }},
        {"DbZamknij_Unload(-1)", [] { DbZamknij_Unload(-1); }},
        {"DbOtwórz", [] { DbOtwórz(); }},
        {"Wylogowanie", [] { Wylogowanie(); }},
    };
    const std::string pelny = jet::make_error(jet::Fault::DiskFull).description();
    for (const auto& [nazwa, zamknij] : zamkniecia) {
        SCOPED_TRACE(nazwa);
        std::filesystem::remove(baza);
        sqlite_fault::FullLog dysk;
        otworz_baze({"CREATE TABLE T (a long)", "INSERT INTO T (a) VALUES (1)"});
        Zapisz_Rejestr("dodralvex", "0123", 0);
        okna.clear();
        polaczenie().Execute("INSERT INTO T (a) VALUES (2)");
        dysk.set_full(true);
        EXPECT_EQ(koniec(zamknij), platform::exit_status::fatal);
        dysk.set_full(false);
        EXPECT_EQ(znacznik(), "0000");
        EXPECT_EQ(Baza_Otwarta, 0);
        ASSERT_FALSE(okna.empty());
        EXPECT_EQ(okna.back().styl, vbCritical);
        EXPECT_NE(okna.back().tekst.find(pelny), std::string::npos) << okna.back().tekst;
        EXPECT_NE(log().back().find("Wylogowanie."), std::string::npos) << log().back();
        DbOtwórzCicho();
        EXPECT_EQ(wiersze("SELECT a FROM T"), std::vector<std::string>{"1"});
        DbZamknij();
    }
}

// The closes after which the run may end (the ends of the process, and a close marked
// so, as the run's last is) leave the database file holding the whole result on its own,
// also while another program has the file open; any other close (the reopen's) waits for
// nobody and leaves the last commits in the log beside the file.
TEST_F(Polaczenie, TheClosesAfterWhichTheRunMayEndLeaveTheFileWhole) {
    const struct {
        const char* nazwa;
        std::function<void()> zamknij;
        bool calosc;  // the file alone holds the last commit
    } zamkniecia[] = {
        {"DbZamknij_Unload(0)", [] { DbZamknij_Unload(0); }, false},
        {"DbOtwórz", [] { DbOtwórz(); }, false},
        {"the run's last close",
         [] {
             leave_file_whole_at_close();
             DbZamknij_Unload(0);
         },
         true},
        {"DbZamknij_Unload(-1)", [] { DbZamknij_Unload(-1); }, true},
        {"Wylogowanie", [] { Wylogowanie(); }, true},
    };
    const std::string sam = (folder / "sam.mdb").string();
    for (const auto& [nazwa, zamknij, calosc] : zamkniecia) {
        SCOPED_TRACE(nazwa);
        std::filesystem::remove(baza);
        otworz_baze({"CREATE TABLE T (a long)", "INSERT INTO T (a) VALUES (1)"});
        polaczenie().Execute("INSERT INTO T (a) VALUES (2)");
        sqlite3* inny = nullptr;  // another program's idle connection
        ASSERT_EQ(sqlite3_open_v2(baza.c_str(), &inny, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
        sqlite3_exec(inny, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        try {
            zamknij();
        } catch (const platform::ProcessEnd&) {
        }
        storage_test::write_bytes(sam, storage_test::read_bytes(baza));
        sqlite3_close(inny);
        DbZamknij();
        auto db = jet::Database::open(sam, std::string(kDatabasePassword));
        const std::vector<std::string> wiersze_pliku = storage_test::column_values(*db, "T", "a");
        EXPECT_EQ(wiersze_pliku.size(), calosc ? 2u : 1u);
        db->close();
        for (const std::string& linia : log())
            EXPECT_EQ(linia.find("Dziennik zmian bazy"), std::string::npos) << linia;
    }
}

}  // namespace
