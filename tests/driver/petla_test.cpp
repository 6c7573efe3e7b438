// The version loop in-process, with test steps in place of the step methods.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>

#include "dao/dao.h"
#include "db/postep.h"
#include "db/wykonaj.h"
#include "driver/konwersje_env.h"
#include "driver/liczby.h"
#include "driver/start.h"
#include "jet/session.h"
#include "platform/paths.h"

namespace {

// A file or folder of this test process in the temporary folder, so that two test runs on
// one machine never write each other's.
std::filesystem::path Tymczasowy(const std::string& nazwa) {
    return std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + "_" + nazwa);
}

class Petla : public KonwersjeEnv {
  protected:
    void SetUp() override {
        KonwersjeEnv::SetUp();
        otworz_baze({"CREATE TABLE Nieruszac (NumerWersji DOUBLE)",
                     "INSERT INTO Nieruszac (NumerWersji) VALUES (5.19)",
                     "CREATE TABLE UZYTKOWNICY (nazwa TEXT(10), prawa TEXT(9), prawaK TEXT(9), "
                     "prawaP TEXT(9), prawaF TEXT(9), prawaZ TEXT(9), prawaS TEXT(9), "
                     "prawaM TEXT(9), prawaR TEXT(9), prawaC TEXT(9))",
                     "INSERT INTO UZYTKOWNICY (nazwa, prawa, prawaR) VALUES ('EWA', 'a', 'b')",
                     "CREATE TABLE [Setup] (Nazwa TEXT(50), Wartosc TEXT(255))"});
        Wersja_Bazy = 5.19;
    }
    // Every step method does nothing, except those given.
    void kroki(std::map<int, KrokZastepczy> wybrane) {
        std::map<int, KrokZastepczy> k;
        for (int v = 165; v <= 646; ++v)
            if (Akcja_Kroku(v).rodzaj == RodzajKroku::Metoda) k[v] = [](ClsKonwersje&) {};
        for (auto& [v, f] : wybrane) k[v] = std::move(f);
        Podstaw_Kroki(std::move(k));
    }
    std::string wersja_w_bazie() { return wiersze("SELECT NumerWersji FROM Nieruszac")[0]; }
    // What another process would read of the file now: its committed state only.
    std::string zapisane(const char* tabela, const char* kolumna) {
        sqlite3* db = nullptr;
        std::string out = "?";
        if (sqlite3_open_v2(baza.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            sqlite3_stmt* st = nullptr;
            const std::string sql =
                "SELECT 'SELECT coalesce(' || c.sql_name || ', ''Null'') FROM ' || t.sql_name "
                "FROM MSysJetColumns AS c JOIN MSysJetTables AS t ON t.id = c.table_id WHERE "
                "t.name = ?1 AND c.name = ?2";
            std::string zapytanie;
            if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
                sqlite3_bind_text(st, 1, tabela, -1, SQLITE_STATIC);
                sqlite3_bind_text(st, 2, kolumna, -1, SQLITE_STATIC);
                if (sqlite3_step(st) == SQLITE_ROW)
                    zapytanie = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
            }
            sqlite3_finalize(st);
            st = nullptr;
            if (!zapytanie.empty() &&
                sqlite3_prepare_v2(db, zapytanie.c_str(), -1, &st, nullptr) == SQLITE_OK &&
                sqlite3_step(st) == SQLITE_ROW)
                out = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
            sqlite3_finalize(st);
        }
        sqlite3_close_v2(db);
        return out;
    }
};

// What a step sees when it starts: status line 2 names its version, the log has its
// "Begin" and the registry its version, the database and Wersja_Bazy still hold the
// previous version (after the empty steps 5.20 to 5.25 each wrote theirs).
TEST_F(Petla, EachStepRunsAfterItsBeginAndBeforeItsVersionIsWritten) {
    struct Widok {
        std::string linia2, rejestr, ostatni_log, w_bazie;
        double wersja = 0;
        int start = 0;
    } widok;
    kroki({{526, [&](ClsKonwersje& k) {
                widok = {status_line(2), Czytaj_Rejestr("dodralvexNumerBazy", 0),
                         log().back(),   wersja_w_bazie(),
                         Wersja_Bazy,    k.Wersja_Startowa};
            }}});
    ASSERT_TRUE(k.RUN_Konwersje());
    EXPECT_EQ(widok.linia2, " Konwresja:5,26");
    EXPECT_EQ(widok.rejestr, " 5.26");
    EXPECT_NE(widok.ostatni_log.find(" 526,Konwersja,Begin,"), std::string::npos);
    EXPECT_EQ(widok.w_bazie, "5,25");
    EXPECT_DOUBLE_EQ(widok.wersja, 5.25);
    EXPECT_EQ(widok.start, 519);

    EXPECT_EQ(wersja_w_bazie(), "6,46");
    EXPECT_EQ(Czytaj_Rejestr("dodralvexNumerBazy", 0), " 6.46");
    EXPECT_EQ(status_line(2), " Program:6,46");
    EXPECT_EQ(status_line(3), "Skończyłem");
    EXPECT_EQ(wiersze("SELECT nazwa, prawa, prawaR FROM UZYTKOWNICY"),
              (std::vector<std::string>{"EWA|Null|Null"}));
    // The last step's version waits in one unit with the closing writes for the version
    // check: a run stopped now leaves 6.45 and its rerun does the last step again.
    EXPECT_EQ(zapisane("UZYTKOWNICY", "prawaR"), "b");
    EXPECT_EQ(zapisane("Nieruszac", "NumerWersji"), "6.45");
    EXPECT_EQ(ile_w_logu(" 646,Konwersja,End,"), 0) << "logged once the version check commits";
    EXPECT_EQ(ile_w_logu(",Konwersja,End-All,"), 1);
    EXPECT_EQ(ile_w_logu(",Konwersja,Begin,"), 646 - 519);
}

TEST_F(Petla, StepStatusLineIsRestoredAfterIt) {
    std::string przed_krokiem_527;
    kroki({{526, [](ClsKonwersje&) { Pokaz_Postep("", "", "praca kroku"); }},
           {527, [&](ClsKonwersje&) { przed_krokiem_527 = status_line(3); }}});
    ASSERT_TRUE(k.RUN_Konwersje());
    EXPECT_EQ(przed_krokiem_527, "0") << "line 3 shows again the wait's last count";
}

// Everything the completed run wrote is in the file before the caller reports it
// complete ("3210"): a run stopped after the report has nothing left to do.
TEST_F(Petla, CompletedConversionIsCommittedBeforeItIsReported) {
    kroki({});
    ASSERT_EQ(Sprawdz_Wersje_Bazy(), 1);
    EXPECT_EQ(zapisane("UZYTKOWNICY", "prawaR"), "Null");
    EXPECT_EQ(zapisane("Nieruszac", "NumerWersji"), "6.46");
    EXPECT_EQ(zapisane("Setup", "Wartosc"), "6,46");
}

// A temporary column that the suite's earlier tool left in a table that no step changes:
// when a column added anew with its type stands right after it, the run fills that column
// back after its first step and completes; any other stops the run in its first step with
// "0000" and nothing changed, so that no run completes with one in a table.
TEST_F(Petla, TemporaryColumnLeftInATableIsSettledOrStopsTheFirstStep) {
    struct Przypadek {
        const char* kolumny;
        bool stop;
        std::vector<std::string> po;  // the table after the run
    };
    const Przypadek przypadki[] = {
        {"k long, ccxxdfredvvcxds__ddfr text(255), a text(255)", false, {"1|x"}},
        {"k long, a text(50), ccxxdfredvvcxds__ddfr text(255)", true, {"1|Null|x"}},
    };
    for (const Przypadek& c : przypadki) {
        SCOPED_TRACE(c.kolumny);
        TearDown();
        SetUp();
        polaczenie().Execute(std::string("CREATE TABLE T (") + c.kolumny + ")");
        polaczenie().Execute("INSERT INTO T (k, ccxxdfredvvcxds__ddfr) VALUES (1, 'x')");
        polaczenie().Checkpoint();
        kroki({});
        Zapisz_Rejestr("dodralvex", "0123", 0);
        EXPECT_EQ(konczy([] { Sprawdz_Wersje_Bazy(); }), c.stop);
        if (c.stop) {
            EXPECT_EQ(znacznik(), "0000");
            EXPECT_EQ(zapisane("Nieruszac", "NumerWersji"), "5.19");
            otworz_ponownie();
        }
        EXPECT_EQ(wiersze("SELECT * FROM T"), c.po);
    }
}

// The closing clear empties each rights column that the database keeps, also when one
// of them or the table is missing.
TEST_F(Petla, TheClosingClearEmptiesEachRightsColumnThereIs) {
    const std::pair<const char*, std::vector<std::string>> przypadki[] = {
        {"ALTER TABLE UZYTKOWNICY DROP COLUMN prawaC", {"EWA|Null|Null"}},
        {"DROP TABLE UZYTKOWNICY", {}},
    };
    for (const auto& [zmiana, po] : przypadki) {
        SCOPED_TRACE(zmiana);
        TearDown();
        SetUp();
        polaczenie().Execute(zmiana);
        kroki({});
        ASSERT_TRUE(k.RUN_Konwersje());
        if (!po.empty()) {
            EXPECT_EQ(wiersze("SELECT nazwa, prawa, prawaR FROM UZYTKOWNICY"), po);
        }
    }
}

// A step's "End" is logged once the step is committed: a step whose writes SQLite rolled
// back stops the run at its version's write, and the log has no "End" for it.
TEST_F(Petla, StepEndIsLoggedOnceTheStepIsCommitted) {
    kroki({{527, [](ClsKonwersje&) {
                polaczenie().Execute("UPDATE UZYTKOWNICY SET prawa = 'x'");
                sqlite3_exec(polaczenie().database().session().handle(), "ROLLBACK", nullptr,
                             nullptr, nullptr);
            }}});
    Zapisz_Rejestr("dodralvex", "0123", 0);
    EXPECT_TRUE(konczy([] { Sprawdz_Wersje_Bazy(); }));
    EXPECT_EQ(zapisane("Nieruszac", "NumerWersji"), "5.26");
    EXPECT_EQ(ile_w_logu(" 526,Konwersja,End,"), 1);
    EXPECT_EQ(ile_w_logu(" 527,Konwersja,End,"), 0);
}

// What the Log beside the database says of the run's first step (5.39), by the lines of
// the earlier tool (no mark of this program's before their "Begin") for the file's name.
TEST(Log_Kroku, TellsTheEarlierToolsHalfDoneStepByTheFilesName) {
    const auto w = [](const char* krok, const char* co, const char* sciezka) {
        return std::string("\"2024-03-01 10:00:00,,Ewa,KASA1,,") + krok + ",Konwersja," + co + "," +
               sciezka + "\"\r\n";
    };
    const std::string b = w(" 539", "Begin", "D:\\Dane,1\\Baza.MDB");
    const std::string nasz = w(" 539", std::string(kZnacznik_Kroku).c_str(), "/x/baza.mdb");
    const struct {
        std::string log;
        Stan_Z_Logu stan;
        const char* baza = "/x/baza.mdb";
    } przypadki[] = {
        {b, Stan_Z_Logu::Rozpoczety},
        {w(" 539", "Begin", "/srv/dane/BAZA.mdb"), Stan_Z_Logu::Rozpoczety},
        {w(" 539", "Begin", "D:\\Dane \"24\\baza.mdb"), Stan_Z_Logu::Rozpoczety},
        {b + w(" 539", "End", "D:\\baza.mdb"), Stan_Z_Logu::Zakonczony},
        {w(" 539", "Begin", "D:\\inna.mdb"), Stan_Z_Logu::Brak},
        {w(" 540", "Begin", "D:\\baza.mdb"), Stan_Z_Logu::Brak},
        {w(" 538", "End", "D:\\baza.mdb"), Stan_Z_Logu::Brak},
        {b + w("", "End-All", "D:\\baza.mdb"), Stan_Z_Logu::Brak},
        // This program's own step, cut by a kill, and its stop over the earlier tool's
        // state, which leaves that state as it was.
        {nasz + w(" 539", "Begin", "/x/baza.mdb"), Stan_Z_Logu::Brak},
        {b + nasz + w(" 539", "Begin", "/x/baza.mdb") + "\"x,ERR.MSG\"\r\n",
         Stan_Z_Logu::Rozpoczety},
        // A step of this program's committed after it: the database is its work.
        {b + w(" 537", std::string(kZnacznik_Kroku).c_str(), "/x/baza.mdb") +
             w(" 537", "Begin", "/x/baza.mdb") + w(" 537", "End", "/x/baza.mdb"),
         Stan_Z_Logu::Brak},
        // Damaged lines pass, a last line without its end counts.
        {"\x01,Konwersja,\n,,Konwersja\r\n\"\"\n" + b.substr(0, b.size() - 2),
         Stan_Z_Logu::Rozpoczety},
        // A name in the Windows code page or in UTF-8, a line ended by CR alone.
        {w(" 539", "Begin", "D:\\\xa3\xf3\x64\x9f.mdb") + "\r", Stan_Z_Logu::Rozpoczety,
         "/x/łódź.mdb"},
        {w(" 539", "Begin", "D:\\ŁÓDŹ.mdb"), Stan_Z_Logu::Rozpoczety, "/x/łódź.mdb"},
        {w(" 539", "Begin", "D:\\\xa3\xf3\x64\x9f.mdb"), Stan_Z_Logu::Brak, "/x/lodz.mdb"},
        // A mark makes only the equal "Begin" right after it this program's; an "End" is
        // the earlier tool's only right after its "Begin" of the step.
        {nasz + w(" 539", "Begin", "D:\\baza.mdb"), Stan_Z_Logu::Rozpoczety},
        {w(" 538", std::string(kZnacznik_Kroku).c_str(), "/x/baza.mdb") +
             w(" 539", "Begin", "/x/baza.mdb"),
         Stan_Z_Logu::Rozpoczety},
        {w(" 539", "End", "D:\\baza.mdb"), Stan_Z_Logu::Brak},
    };
    const auto log = Tymczasowy("log_kroku_test.Log");
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.log);
        std::ofstream(log, std::ios::binary) << p.log;
        const Krok_Z_Logu r = Czytaj_Log_Kroku(log.string(), p.baza, 539);
        EXPECT_EQ(r.stan, p.stan);
        EXPECT_EQ(r.wiersz.find("wiersz ") != std::string::npos, p.stan != Stan_Z_Logu::Brak);
    }
    std::filesystem::remove(log);
    EXPECT_EQ(Czytaj_Log_Kroku(log.string(), "/x/baza.mdb", 539).stan, Stan_Z_Logu::Brak);
}

// Any one write of this program's lost, or cut at any byte with the next write run into
// it, leaves the decision as the whole Log gives it, for every step: over no state of the
// earlier tool's, none; over one, that state until a step of this program's commits.
TEST(Log_Kroku, NoWriteOfThisProgramsLostOrCutChangesTheDecision) {
    const auto w = [](const char* czas, int krok, std::string_view co,
                      std::string_view tag = "Konwersja") {
        return "\"2026-12-09 " + std::string(czas) + ",,Ewa,KASA1,Main, " + std::to_string(krok) +
               "," + std::string(tag) + "," + std::string(co) + ",/x/baza.mdb\"\r\n";
    };
    const std::string_view kZakonczony = "Krok zakończony wcześniej (plik Log, wiersz 2)";
    using Z = std::vector<std::string>;  // this program's writes, in order
    const auto krok = [&](int v, std::string_view druga, bool koniec) {
        Z z{w("10:00:00", v, kZnacznik_Kroku) + w("10:00:00", v, "Begin"),
            w("10:00:01", v, druga, druga == kZakonczony ? "Konwersja" : "Kasa")};
        if (koniec) z.push_back(w("10:00:02", v, "End"));
        return z;
    };
    const auto razem = [](std::initializer_list<Z> czesci) {
        Z z;
        for (const Z& c : czesci) z.insert(z.end(), c.begin(), c.end());
        return z;
    };
    const auto obcy = [&](int v, bool koniec) {
        return w("09:00:00", v, "Begin") + (koniec ? w("09:00:01", v, "End") : "");
    };
    const Z przebieg =
        razem({krok(537, "Kasa", true), krok(538, "Kasa", true), krok(539, "Kasa", false)});
    using enum Stan_Z_Logu;
    const struct {
        std::string przed;
        Z nasze;
        std::string po;
        int krok;
        Stan_Z_Logu stan;
    } przypadki[] = {
        {"", przebieg, "", 539, Brak},
        {obcy(539, false), krok(539, "Kasa", false), "", 539, Rozpoczety},
        {obcy(539, true), krok(539, kZakonczony, false), "", 539, Zakonczony},
        {obcy(646, true), razem({krok(646, kZakonczony, false), {w("10:00:03", 0, "End-All")}}), "",
         646, Zakonczony},
        {"",
         razem({krok(645, "Kasa", true),
                krok(646, "Kasa", false),
                {w("10:00:03", 0, "End-All"), w("10:00:04", 646, "End")}}),
         "", 646, Brak},
        // The earlier tool's run after one of this program's.
        {"", razem({krok(537, "Kasa", true), krok(538, "Kasa", false)}), obcy(538, false), 538,
         Rozpoczety},
    };
    const auto log = Tymczasowy("log_kroku_zapisy.Log");
    for (const auto& p : przypadki)
        for (size_t i = 0; i < p.nasze.size(); ++i)
            for (size_t ile = 0; ile <= p.nasze[i].size(); ++ile) {
                // Cut at each edge of a field and of a line: other cuts read alike.
                const std::string& z = p.nasze[i];
                if (ile > 0 && ile < z.size() && !std::strchr(",\"\r\n", z[ile]) &&
                    !std::strchr(",\"\r\n", z[ile - 1]))
                    continue;
                std::string tekst = p.przed;
                for (size_t j = 0; j < p.nasze.size(); ++j) {
                    tekst += j == i ? p.nasze[j].substr(0, ile) : p.nasze[j];
                    // A step's "Begin" that does not reach the Log whole stops the run.
                    if (j == i && ile < p.nasze[j].size() &&
                        p.nasze[j].find(",Begin,") != std::string::npos) {
                        tekst += w("10:00:09", 0, "Krytyczny", "Wyjątek_Pokaż");
                        break;
                    }
                }
                std::ofstream(log, std::ios::binary) << tekst << p.po;
                for (int v = p.krok - 2; v <= p.krok + 1; ++v)
                    ASSERT_EQ(Czytaj_Log_Kroku(log.string(), "/x/baza.mdb", v).stan,
                              v == p.krok ? p.stan : Brak)
                        << "step " << v << ", write " << i << " cut to " << ile << ":\n"
                        << tekst << p.po;
            }
    std::filesystem::remove(log);
}

// Only a regular file's end is read: a folder, a FIFO or a link to a device is read as no
// Log, with the reason, and never waited on; of a Log larger than what is read, its last
// lines count, the first, cut one passed over.
TEST(Log_Kroku, OnlyARegularFilesEndIsRead) {
    const auto dir = Tymczasowy("log_kroku_pliki");
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "katalog");
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir / "zero");
    for (const char* nazwa : {"katalog", "fifo", "zero"}) {
        std::string blad;
        EXPECT_EQ(Czytaj_Log_Kroku((dir / nazwa).string(), "/x/baza.mdb", 539, &blad).stan,
                  Stan_Z_Logu::Brak);
        EXPECT_FALSE(blad.empty()) << nazwa;
    }
    const std::string b = "\"2024-03-01 10:00:00,,,,, 539,Konwersja,Begin,D:\\baza.mdb\"";
    std::ofstream(dir / "Log", std::ios::binary) << b << "\r\n"
                                                 << std::string(33u << 20, 'x') << "\n\n"
                                                 << b << "\r\n";
    std::string blad;
    const Krok_Z_Logu r = Czytaj_Log_Kroku((dir / "Log").string(), "/x/baza.mdb", 539, &blad);
    EXPECT_EQ(r.stan, Stan_Z_Logu::Rozpoczety);
    EXPECT_NE(r.wiersz.find("wiersz 1 od końca"), std::string::npos) << r.wiersz;
    EXPECT_EQ(blad, "");
    std::filesystem::remove_all(dir);
}

// The earlier tool's "Begin" of the run's first step without "End", or its "End" without
// the version: a step of the table (5.09) goes on over it, or takes only its version; any
// other (5.39) stops before it writes, naming the step and the Log's line.
TEST_F(Petla, StepThatTheLogShowsHalfDoneGoesOnOnlyByTheTable) {
    const struct {
        int krok;
        const char* co;
        int ran;
        const char* stop;  // nullptr: the run completes
    } przypadki[] = {
        {509, "Begin", 1, nullptr},
        {509, "End", 0, nullptr},
        {539, "Begin", 0, "5.39 została przerwana w trakcie kroku (plik Log, wiersz"},
        {539, "End", 0, "5.39 została przerwana przed zapisem wersji (plik Log, wiersz"},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(std::to_string(p.krok) + p.co);
        TearDown();
        SetUp();
        Wersja_Bazy = (p.krok - 1) / 100.0;
        polaczenie().Execute("UPDATE Nieruszac SET NumerWersji = " + Tekst_Liczby(Wersja_Bazy));
        const std::string w =
            "\"2024-03-01 10:00:00,,,,, " + std::to_string(p.krok) + ",Konwersja,";
        std::ofstream(platform::log_file_for(Sciezka_Bazy), std::ios::binary | std::ios::app)
            << w << "Begin,C:\\Dane\\baza.mdb\"\r\n"
            << (p.co == std::string("End") ? w + "End,C:\\Dane\\baza.mdb\"\r\n" : "");
        int ran = 0;
        kroki({{p.krok, [&](ClsKonwersje&) {
                    ++ran;
                    polaczenie().Execute("UPDATE UZYTKOWNICY SET prawa = 'x'");
                }}});
        if (p.stop == nullptr) {
            ASSERT_TRUE(k.RUN_Konwersje());
        } else {
            try {
                k.RUN_Konwersje();
                ADD_FAILURE() << "the run went on";
            } catch (const jet::Error& e) {
                EXPECT_NE(e.description().find(p.stop), std::string::npos) << e.description();
                EXPECT_NE(e.description().find("przywróć kopię bazy"), std::string::npos);
            }
            EXPECT_EQ(wersja_w_bazie(), Format_Liczby_2((p.krok - 1) / 100.0));
        }
        EXPECT_EQ(ran, p.ran);
        EXPECT_EQ(ile_w_logu("Krok zakończony wcześniej"), p.ran == 0 && !p.stop ? 1 : 0);
    }
}

// A Log that cannot take a step's mark and "Begin" stops the run before the step.
TEST_F(Petla, LogThatCannotTakeAStepsBeginStopsTheRunBeforeIt) {
    int ran = 0;
    kroki({{521, [&](ClsKonwersje&) { ++ran; }}});
    const std::string log = platform::log_file_for(Sciezka_Bazy);
    std::filesystem::remove(log);
    std::filesystem::create_directory(log);
    EXPECT_THROW(k.RUN_Konwersje(), jet::Error);
    EXPECT_EQ(wersja_w_bazie(), "5,19");
    EXPECT_EQ(ran, 0);
    std::filesystem::remove(log);
}

// A failure a step does not absorb leaves the loop at once: no "End", no version.
TEST_F(Petla, FailureInsideAStepLeavesTheLoopWithoutItsVersion) {
    kroki({{527, [](ClsKonwersje&) { polaczenie().Execute("UPDATE Brak SET a=1"); }}});
    EXPECT_THROW(k.RUN_Konwersje(), jet::Error);
    EXPECT_EQ(wersja_w_bazie(), "5,26");
    EXPECT_EQ(Czytaj_Rejestr("dodralvexNumerBazy", 0), " 5.27");
    EXPECT_EQ(ile_w_logu(" 527,Konwersja,Begin,"), 1);
    EXPECT_EQ(ile_w_logu(" 527,Konwersja,End,"), 0);
    EXPECT_EQ(ile_w_logu("End-All"), 0);
    // Its "Begin" without "End" is this program's own, which the rerun repeats whole.
    EXPECT_EQ(Czytaj_Log_Kroku(platform::log_file_for(Sciezka_Bazy), Sciezka_Bazy, 527).stan,
              Stan_Z_Logu::Brak);
}

// An unbuilt step stops the run in the version check's catch-all: <65434>, "0000"; the
// step before it ended, the unbuilt one only began.
TEST_F(Petla, UnbuiltStepEndsTheRunThroughTheCatchAll) {
    kroki({{530, nullptr}});
    Zapisz_Rejestr("dodralvex", "0123", 0);
    EXPECT_TRUE(konczy([] { Sprawdz_Wersje_Bazy(); }));
    EXPECT_EQ(status, platform::exit_status::fatal);
    EXPECT_EQ(znacznik(), "0000");
    ASSERT_FALSE(okna.empty());
    EXPECT_NE(okna.back().tytul.find("<65434>"), std::string::npos);
    EXPECT_EQ(okna.back().styl, vbCritical);
    EXPECT_NE(okna.back().tekst.find("(Konwersja_530)"), std::string::npos);
    EXPECT_EQ(ile_w_logu(" 530,Konwersja,Begin,"), 1);
    EXPECT_EQ(ile_w_logu(" 529,Konwersja,End,"), 1);
    EXPECT_EQ(ile_w_logu(" 530,Konwersja,End,"), 0);
}

// Step 5.27 writes through the connection, closes it and opens it again, writes
// through a DAO pass of its own, writes once more, then runs `fin`.
void Krok_527_Z_Przerwami(KrokZastepczy fin, ClsKonwersje& k) {
    polaczenie().Execute("UPDATE UZYTKOWNICY SET prawa = 'x'");
    DbZamknij();
    DbOtwórz();
    auto dao = dao::DBEngine::OpenDatabase(Sciezka_Bazy);
    dao->Execute("INSERT INTO UZYTKOWNICY (nazwa) VALUES ('DAO')");
    dao->Close();
    polaczenie().Execute("UPDATE UZYTKOWNICY SET prawaK = 'y'");
    fin(k);
}

// A run that ends inside a step (an Abort at the executor's question, a critical
// error) leaves the database as the step before it left it: none of the step's writes,
// also none made before its reopen or through its DAO pass. The rerun repeats the step.
TEST_F(Petla, EndInsideAStepRollsTheStepBack) {
    struct Przypadek {
        const char* nazwa;
        KrokZastepczy koniec;
        std::deque<int> odpowiedzi;
    };
    const Przypadek przypadki[] = {
        {"Abort", [](ClsKonwersje&) { DbWykonaj("UPDATE Brak SET a=1"); }, {vbAbort}},
        {"critical error",
         [](ClsKonwersje& k) { k.DbWykonajKonwersje("UPDATE Brak SET a=1"); },
         {}},
        {"the step's own failure",
         [](ClsKonwersje&) { polaczenie().Execute("UPDATE Brak SET a=1"); },
         {}},
    };
    for (const Przypadek& c : przypadki) {
        SCOPED_TRACE(c.nazwa);
        TearDown();
        SetUp();
        kroki({{527, [&](ClsKonwersje& k) { Krok_527_Z_Przerwami(c.koniec, k); }}});
        odpowiedzi = c.odpowiedzi;
        Zapisz_Rejestr("dodralvex", "0123", 0);
        EXPECT_TRUE(konczy([] { Sprawdz_Wersje_Bazy(); }));
        EXPECT_EQ(status, platform::exit_status::fatal);
        EXPECT_EQ(zapisane("Nieruszac", "NumerWersji"), "5.26");
        EXPECT_EQ(zapisane("UZYTKOWNICY", "prawa"), "a");
        EXPECT_EQ(zapisane("UZYTKOWNICY", "prawaK"), "Null");

        otworz_ponownie();
        EXPECT_EQ(wiersze("SELECT count(*) FROM UZYTKOWNICY"), std::vector<std::string>{"1"});
        int przebiegi = 0;
        kroki({{527, [&](ClsKonwersje&) { ++przebiegi; }}});
        Czytaj_NumerWersji();
        ASSERT_EQ(Sprawdz_Wersje_Bazy(), 1);
        EXPECT_EQ(przebiegi, 1);
        EXPECT_EQ(zapisane("Nieruszac", "NumerWersji"), "6.46");
    }
}

// SQLite may roll the whole transaction back on a failure (a full disk, an I/O error):
// the step's earlier writes are gone, so its later writes and its commit fail and the
// run ends with <65434> at the previous version, instead of committing half the step.
TEST_F(Petla, StepWhoseTransactionSQLiteRolledBackDoesNotComplete) {
    kroki({{527, [](ClsKonwersje& k) {
                polaczenie().Execute("UPDATE UZYTKOWNICY SET prawa = 'x'");
                // What SQLite does to the transaction on such a failure.
                sqlite3_exec(polaczenie().database().session().handle(), "ROLLBACK", nullptr,
                             nullptr, nullptr);
                // Not even a quiet statement passes over the lost unit: the step stops.
                k.DbWykonajKonwersje("UPDATE UZYTKOWNICY SET prawaK = 'y'", true);
                k.DbWykonajKonwersje("UPDATE UZYTKOWNICY SET prawaM = 'z'", true);
            }}});
    Zapisz_Rejestr("dodralvex", "0123", 0);
    EXPECT_TRUE(konczy([] { Sprawdz_Wersje_Bazy(); }));
    EXPECT_EQ(status, platform::exit_status::fatal);
    const std::string utracona = jet::make_error(jet::Fault::UnitRolledBack).description();
    ASSERT_FALSE(okna.empty());
    EXPECT_NE(okna.front().tekst.find(utracona), std::string::npos) << okna.front().tekst;
    EXPECT_NE(okna.front().tekst.find("prawaK"), std::string::npos) << okna.front().tekst;
    EXPECT_EQ(zapisane("Nieruszac", "NumerWersji"), "5.26");
    EXPECT_EQ(zapisane("UZYTKOWNICY", "prawaK"), "Null");
    EXPECT_EQ(ile_w_logu(" 527,Konwersja,End,"), 0);
}

// A file in the older format is tidied before the loop. The tidy-up passes over its own
// statements' failures and the upgrade follows; a failure of the environment in it stops
// the run before the upgrade and before any step, at the version check.
class PetlaA97 : public Petla {
  protected:
    void SetUp() override {
        KonwersjeEnv::SetUp();
        jet::CreateOptions o;
        o.password = std::string(kDatabasePassword);
        o.format_version = "3.0";
        jet::Database::create(baza, o);
        auto db = jet::Database::open(baza, o.password);
        for (const char* p :
             {"CREATE TABLE _Robocza (x long)", "CREATE TABLE Nieruszac (NumerWersji DOUBLE)",
              "INSERT INTO Nieruszac (NumerWersji) VALUES (6.45)",
              "CREATE TABLE UZYTKOWNICY (nazwa TEXT(10), prawa TEXT(9), prawaK TEXT(9), "
              "prawaP TEXT(9), prawaF TEXT(9), prawaZ TEXT(9), prawaS TEXT(9), prawaM TEXT(9), "
              "prawaR TEXT(9), prawaC TEXT(9))",
              "CREATE UNIQUE INDEX un ON UZYTKOWNICY (nazwa)",
              "INSERT INTO UZYTKOWNICY (prawa) VALUES ('a')",
              "INSERT INTO UZYTKOWNICY (prawa) VALUES ('b')",
              "CREATE TABLE Kasa (k long, kwota money)", "INSERT INTO Kasa (k) VALUES (1)"})
            db->execute(p);
        db->close();
        Sciezka_Bazy = baza;
        DbOtwórz();
        ASSERT_TRUE(Baza_Otwarta);
        Wersja_Bazy = 6.45;
        dao::DBEngine::SetDefaultPassword(kDatabasePassword);
    }
    std::string format() {
        auto db = dao::DBEngine::OpenDatabase(baza);
        const std::string f = db->Properties(6);
        db->Close();
        return f;
    }
    bool kopia() const { return std::filesystem::exists(folder / "A97_baza.mdbbak"); }
};

TEST_F(PetlaA97, TidyUpPassesOverItsOwnFailuresAndTheUpgradeFollows) {
    kroki({});
    // The user names' Nulls cannot all become "" under the unique index: passed over.
    ASSERT_TRUE(k.RUN_Konwersje());
    EXPECT_EQ(format(), "4.0");
    EXPECT_TRUE(kopia());
    EXPECT_EQ(wiersze("SELECT k, kwota FROM KASA"), std::vector<std::string>{"1|0"});
    EXPECT_EQ(wiersze("SELECT nazwa FROM UZYTKOWNICY"), (std::vector<std::string>{"Null", "Null"}));
    EXPECT_EQ(ile_w_logu(",Konwersja,End-All,"), 1);
}

TEST_F(PetlaA97, EnvironmentsFailureInTheTidyUpStopsTheRunBeforeTheUpgrade) {
    kroki({});
    // The first write of the run is the tidy-up's: the scratch table's drop through the
    // DAO executor; the second, one of the tables' tidy-up (the first table's rename).
    for (const int pomin : {0, 1}) {
        for (const jet::Error& awaria : awarie_srodowiska()) {
            SCOPED_TRACE(std::to_string(pomin) + " / " + awaria.description());
            {
                Awaria_Zapisu a(awaria, 1, pomin);
                try {
                    k.RUN_Konwersje();
                    ADD_FAILURE() << "the run went on";
                } catch (const jet::Error& e) {
                    EXPECT_EQ(e.description(), awaria.description());
                }
                EXPECT_EQ(a.zostalo(), 0);
            }
            EXPECT_FALSE(k.BazaDAO) << "the tidy-up's handle on the file is let go";
            EXPECT_FALSE(kopia()) << "no upgrade";
            EXPECT_EQ(ile_w_logu(",Konwersja,Begin,"), 0);
            ASSERT_TRUE(Baza_Otwarta);
            EXPECT_EQ(format(), "3.0");
        }
    }
}

}  // namespace
