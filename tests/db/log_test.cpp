#include <gtest/gtest.h>

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

}  // namespace
