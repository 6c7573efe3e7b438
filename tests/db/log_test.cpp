#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "db/komunikaty.h"
#include "db/postep.h"
#include "db_env.h"

namespace {

class Log : public DbEnv {};

TEST_F(Log, LineFormatFieldsAndPlace) {
    // No database known: the fallback log in the configuration folder.
    Biezaca_Operacja = "Nieruszać 2";
    Zapisz_Log("Begin", "RUN", "x");
    const std::string surowa = slurp(dir / "Rejestr.txt");
    EXPECT_TRUE(std::regex_match(
        surowa,
        std::regex(
            "\"\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d,,,,Nieruszać 2,Begin,RUN,x,\"\r\n")))
        << surowa;

    // With a path, "Log" in the database's folder; apostrophes of fields 2 to 9 become
    // double quotes, commas pass unchanged.
    Sciezka_Bazy = baza;
    Uzytkownik_Windows = "jan";
    Stanowisko = "K'1";
    Zapisz_Log("O'Neil, 5", "P'", "d\"");
    Zapisz_Log("druga", "", "");
    const auto linie = log();
    ASSERT_EQ(linie.size(), 2u);
    EXPECT_EQ(linie[0], ",jan,K\"1,Nieruszać 2,O\"Neil, 5,P\",d\"," + baza);
    EXPECT_EQ(linie[1], ",jan,K\"1,Nieruszać 2,druga,,," + baza);
}

TEST_F(Log, UnwritableLogIsLostQuietly) {
    Sciezka_Bazy = (dir / "brak" / "baza.mdb").string();  // folder missing
    Zapisz_Log("x", "y", "z");
    EXPECT_FALSE(std::filesystem::exists(dir / "brak"));
}

TEST_F(Log, MessageBoxTitleAnswerAndLogLine) {
    Sciezka_Bazy = baza;
    odpowiedzi = {vbNo, vbRetry};
    EXPECT_EQ(FMsg_box("Czy dalej?", vbYesNo, ""), vbNo);
    EXPECT_EQ(FMsg_box("Błąd", vbAbortRetryIgnore, "Tytuł"), vbRetry);
    EXPECT_EQ(FMsg_box("Info"), vbOK);  // list used up: the safe answer
    ASSERT_EQ(okna.size(), 3u);
    EXPECT_EQ(okna[0].tytul, "Uwaga");
    EXPECT_EQ(okna[1].tytul, "Tytuł");
    EXPECT_EQ(okna[1].styl, vbAbortRetryIgnore);
    const auto linie = log();
    ASSERT_EQ(linie.size(), 3u);
    EXPECT_EQ(linie[0], ",,,,MSG:Czy dalej?7,FMsg_box,," + baza);
    EXPECT_EQ(linie[1], ",,,,MSG:Błąd4,FMsg_box,Tytuł," + baza);
    EXPECT_EQ(linie[2], ",,,,MSG:Info1,FMsg_box,," + baza);
}

TEST_F(Log, ExceptionReportNotCriticalReturns) {
    Sciezka_Bazy = baza;
    Biezaca_Operacja = "Konwersja";
    Wyjątek_Pokaż(-2147467259, "Could not find file.", "", 0);
    ASSERT_EQ(okna.size(), 1u);
    EXPECT_EQ(okna[0].tytul, " Wyjątek w procedurze --- modułu Konwersja.");
    EXPECT_EQ(okna[0].tekst, "-2147467259 (Could not find file.). Nie Krytyczny");
    EXPECT_EQ(okna[0].styl, vbOKOnly);
    EXPECT_EQ(log().at(0),
              ",,,Konwersja,ERR.MSG: Wyjątek w procedurze --- modułu Konwersja.,"
              "Wyjątek_Pokaż,Nie Krytyczny," +
                  baza);
    EXPECT_EQ(znacznik(), "");
}

TEST_F(Log, CriticalReportsEndTheProcessWithMarker0000) {
    Sciezka_Bazy = baza;
    Biezaca_Operacja = "Op";
    EXPECT_EQ(koniec([&] {
                  Wyjątek_Pokaż(5, "opis", "/Proc:RUN_Konwersje,ModT:Module,ModN:Konwersja", -1);
              }),
              platform::exit_status::fatal);
    EXPECT_EQ(znacznik(), "0000");
    ASSERT_EQ(okna.size(), 1u);
    EXPECT_EQ(okna[0].styl, vbCritical);
    EXPECT_EQ(okna[0].tekst, "5 (opis). Krytyczny");
    auto linie = log();
    ASSERT_EQ(linie.size(), 3u);
    EXPECT_NE(linie[0].find("Wyjątek_Pokaż,Krytyczny: 5 (opis),"), std::string::npos);
    EXPECT_EQ(linie[1],
              ",,,Op,Baza Zamknięta.         Użytkownik:,DBCLOSE, Stanowsiko ,Win:," + baza);
    EXPECT_EQ(linie[2],
              ",,,Op,Wylogowanie.            Użytkownik:,DBCLOSE, Stanowsiko ,Win:," + baza);

    okna.clear();
    Zapisz_Rejestr("dodralvex", "0123", 0);
    EXPECT_EQ(koniec([&] { Blad_Krytyczny("Etykieta", "UPDATE T SET a=1", "-1(zle)"); }),
              platform::exit_status::fatal);
    EXPECT_EQ(znacznik(), "0000");
    ASSERT_EQ(okna.size(), 1u);
    EXPECT_EQ(okna[0].tekst, "-1(zle) ->>>UPDATE T SET a=1");
    EXPECT_EQ(okna[0].tytul, "UWAGA Op Etykieta");
    EXPECT_EQ(okna[0].styl, vbCritical);
    EXPECT_EQ(log().at(3), ",,,Op,ERR.BBP:UPDATE T SET a=1,Etykieta,-1(zle)," + baza);
}

TEST_F(Log, StatusLines) {
    Pokaz_Postep("a", "b", "c");
    Pokaz_Postep("", "", "3");
    EXPECT_EQ(status_line(1), "a");
    EXPECT_EQ(status_line(2), "b");
    EXPECT_EQ(status_line(3), "3");
    Pokaz_Postep(" ", "", "");
    EXPECT_EQ(status_line(1), " ");
    EXPECT_EQ(status_line(2), "b");
    Pokaz_Postep("", "", "");
    EXPECT_EQ(status_line(3), "3");
    Sciezka_Bazy = "/x/b.mdb";
    BArS_Update();
    EXPECT_EQ(status_line(1), " /x/b.mdb ");
    Stala_DISTINCTROW.clear();
    Ustaw_Stale_SQL();
    EXPECT_EQ(Stala_DISTINCTROW, "DISTINCTROW");
}

// The lines that name what a step changed reach the Log with the step's commit, never before
// it; a file beside the Log that cannot take them stops the step before its commit; after
// a stop between the commit and the Log the next run adds each line that the Log lacks,
// once, and drops the lines of a step that was rolled back.
TEST_F(Log, AStepsLinesReachTheLogWithItsCommitOnce) {
    Sciezka_Bazy = baza;
    const std::filesystem::path wstrzymane = folder / "Log.wstrzymane", plik_logu = folder / "Log";
    const auto trzymaj = [] {
        Log_Kroku_Wstrzymaj(459, true);
        Zapisz_Log_Kroku("Konwersja 4.59: a", "Konwersja", "4.59");
        Zapisz_Log_Kroku("Konwersja 4.59: b", "Konwersja", "4.59");
    };
    trzymaj();
    // The file beside the Log, or the Log, a folder: the step stops before its commit.
    for (const std::filesystem::path& folder_zamiast : {wstrzymane, plik_logu}) {
        std::filesystem::create_directories(folder_zamiast / "x");
        bool zatwierdzony = false;
        EXPECT_THROW(Zatwierdz_Z_Logiem_Kroku("459", "Konwersja", "End",
                                              [&] {
                                                  zatwierdzony = true;
                                                  return true;
                                              }),
                     jet::Error);
        EXPECT_FALSE(zatwierdzony);
        std::filesystem::remove_all(folder_zamiast);
        EXPECT_TRUE(log().empty());
        EXPECT_FALSE(std::filesystem::exists(wstrzymane));
    }

    // The step's mark and "Begin" (P) come before its lines (B) in the Log, as the loop
    // writes them; R is any other line (a message of the step, the rerun's "Load Baza").
    Zapisz_Log_Wiersze(" 459", "Konwersja", {kZnacznik_Kroku, "Begin"});
    const std::string P = slurp(plik_logu);
    std::string plik;  // the file beside the Log as a stop right after the commit leaves it
    Zatwierdz_Z_Logiem_Kroku("459", "Konwersja", "End", [&] {
        plik = slurp(wstrzymane);
        EXPECT_EQ(slurp(plik_logu), P);
        return true;
    });
    Log_Kroku_Porzuc();
    EXPECT_EQ(
        log(),
        (std::vector<std::string>{
            ",,,, 459,Konwersja,Krok w jednej transakcji," + baza,
            ",,,, 459,Konwersja,Begin," + baza, ",,,,Konwersja 4.59: a,Konwersja,4.59," + baza,
            ",,,,Konwersja 4.59: b,Konwersja,4.59," + baza, ",,,,459,Konwersja,End," + baza}));
    EXPECT_FALSE(std::filesystem::exists(wstrzymane));
    const std::string B = slurp(plik_logu).substr(P.size()), a = B.substr(0, B.find('\n') + 1);
    std::filesystem::remove(plik_logu);
    Zapisz_Log("Load Baza", "", "");
    const std::string R = slurp(plik_logu), cut = B.substr(0, a.size() + 12);
    const struct {
        const char* nazwa;
        std::string przed;  // the Log when the next run starts
        int krok_bazy;      // the step that the database has
        std::string po;     // the Log after it
    } przypadki[] = {
        {"stopped after the commit, before the Log", P + R, 459, P + R + B},
        {"stopped after the Log, before its file went", P + R + B + R, 459, P + R + B + R},
        {"the write cut short in the second line, the rerun's line after it", P + cut + "\r\n" + R,
         460, P + cut + "\r\n" + R + B.substr(a.size())},
        {"the write cut short in the first line, the Log ending in it", P + B.substr(0, 9), 459,
         P + B.substr(0, 9) + "\r\n" + B},
        {"the rerun's completion stopped before the file went",
         P + cut + "\r\n" + R + B.substr(a.size()) + R, 459,
         P + cut + "\r\n" + R + B.substr(a.size()) + R},
        {"an earlier step's line of the same text and second", a + P + R, 459, a + P + R + B},
        {"a Log moved aside: no Begin of the step", a + R, 459, a + R + B},
        {"stopped before the commit: the step was rolled back", P, 458, P},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        std::ofstream(plik_logu, std::ios::binary | std::ios::trunc) << p.przed;
        std::ofstream(wstrzymane, std::ios::binary) << plik;
        Log_Kroku_Dokoncz(p.krok_bazy);
        EXPECT_FALSE(std::filesystem::exists(wstrzymane));
        EXPECT_EQ(slurp(plik_logu), p.po);
    }
}

// A line appended to a Log that a cut write left without a line end starts a line of its
// own.
TEST_F(Log, ALineAfterACutWriteStartsALineOfItsOwn) {
    Sciezka_Bazy = baza;
    Zapisz_Log("Load Baza", "", "");
    const std::string plik_logu = (folder / "Log").string(), R = slurp(plik_logu);
    for (const auto& [przed, po] : std::initializer_list<std::pair<std::string, std::string>>{
             {"\"2024-01-0", "\"2024-01-0\r\n"}, {"x\r", "x\r\n"}, {"x\r\n", "x\r\n"}}) {
        std::ofstream(plik_logu, std::ios::binary | std::ios::trunc) << przed;
        Zapisz_Log("Load Baza", "", "");
        const std::string t = slurp(plik_logu);  // R but its time after po
        EXPECT_TRUE(t.size() == po.size() + R.size() && t.starts_with(po + "\"2") &&
                    t.ends_with(R.substr(20)))
            << t;
    }
}

}  // namespace
