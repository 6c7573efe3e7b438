// The release 1.65 database converted by the real program, as the suite runs it: every
// built step in order with its "Begin" and "End", the version reached recorded; and a
// run killed inside its work, started again, ends with the same database as a run that
// was never stopped.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "droga.h"

namespace {

namespace fs = std::filesystem;
using namespace droga;

class Baza165 : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("konw_e2e165_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // A folder with the registry's request and a copy of a database of the road.
    fs::path przygotuj(const std::string& nazwa, const Przebieg& z) {
        const fs::path folder = dir / nazwa;
        kopiuj_baze(z.folder, folder);
        zadanie(folder);
        return folder;
    }

    fs::path dir;
};

TEST_F(Baza165, ConvertsThroughEveryBuiltStepWithItsLogLines) {
    const Droga& d = ta_droga();
    const int ostatni = d.koniec;
    ASSERT_GE(ostatni, 220);
    const fs::path f = d.prosty.folder;
    EXPECT_EQ(wersja(f), tekst_wersji(ostatni));
    std::vector<int> oczekiwane;
    for (int v = 166; v <= ostatni; ++v) oczekiwane.push_back(v);
    EXPECT_EQ(kroki(f, "End"), oczekiwane);
    if (ostatni < 646) oczekiwane.push_back(ostatni + 1);  // begun, never ended
    EXPECT_EQ(kroki(f, "Begin"), oczekiwane);
    if (ostatni == 646) {
        EXPECT_EQ(d.prosty.status(), 0);
        EXPECT_EQ(rejestr(f, "dodralvex"), "3210");
        EXPECT_EQ(wersja(f), "6,46");
        // The only boxes of a clean run are the two questions whether to delete old
        // orders (steps 3.69 and 4.12), answered No; no failure is shown.
        const std::string boxes = tekst(f / "err.txt");
        size_t pytania = 0;
        for (size_t p = 0; (p = boxes.find("=== ", p)) != std::string::npos; p += 4) ++pytania;
        EXPECT_EQ(pytania, 2u) << boxes;
        EXPECT_EQ(boxes.find("Krytyczny"), std::string::npos) << boxes;
        EXPECT_NE(boxes.find("Czy chesz usunąć z bazy zamówienia do"), std::string::npos);
    } else {
        // A step this build does not have stops the run honestly where it is.
        EXPECT_EQ(d.prosty.status(), 1);
        EXPECT_EQ(rejestr(f, "dodralvex"), "0000");
        EXPECT_NE(tekst(f / "err.txt").find("<65434>"), std::string::npos);
        EXPECT_NE(tekst(f / "err.txt").find("(Konwersja_" + std::to_string(ostatni + 1) + ")"),
                  std::string::npos);
    }
}

// A raw material whose sur_kod is neither of the two kinds (here Null) keeps its
// purchase lines through the whole conversion: at 6.46 they name its own product, as
// they do when it is an ordinary raw material.
TEST_F(Baza165, RawMaterialOfAnotherKindKeepsItsPurchaseLines) {
    const Droga& d = ta_droga();
    ASSERT_EQ(d.koniec, 646) << "the road ends before 6.46";
    const fs::path f = przygotuj("kminek", d.wzor);
    ASSERT_EQ(wykonaj(f, {"update SUROWCE set sur_kod=Null where SUR_NAZWA_id='Kminek'"}), 0);
    ASSERT_EQ(uruchom(f, KONWERSJA), 0);
    EXPECT_EQ(rejestr(f, "dodralvex"), "3210");
    const std::string linie =
        "select count(*) from DOK_ZAK_ZAWART inner join PRODUKTY on "
        "PRODUKTY.prod_id=DOK_ZAK_ZAWART.sur_id where PRODUKTY.PROD_NAZWA_id='Kminek'";
    const std::string w_prostym = jedna(d.prosty.folder, linie);
    EXPECT_NE(w_prostym, "0");
    EXPECT_EQ(jedna(f, linie), w_prostym);
}

// Raw materials and semi-products were numbered from 1 by counters of their own: at 6.46
// each semi-product's recipe holds its own ingredients, raw materials all, and no other
// semi-product that shares an old id with one of them.
TEST_F(Baza165, SemiProductRecipesHoldTheirOwnIngredients) {
    const Droga& d = ta_droga();
    ASSERT_EQ(d.koniec, 646) << "the road ends before 6.46";
    EXPECT_EQ(jedna(d.prosty.folder,
                    "select count(*) from (PRODUKTY_RECEPTURY_ZAWART AS R INNER JOIN PRODUKTY AS "
                    "P ON P.prod_id=R.PROD_ID) INNER JOIN PRODUKTY AS S ON S.prod_id=R.sur_id "
                    "where P.rodzaj='O' and S.rodzaj<>'S'"),
              "0");
    EXPECT_EQ(jedna(d.prosty.folder,
                    "select count(*) from (PRODUKTY_RECEPTURY_ZAWART AS R INNER JOIN PRODUKTY AS "
                    "P ON P.prod_id=R.PROD_ID) INNER JOIN PRODUKTY AS S ON S.prod_id=R.sur_id "
                    "where P.PROD_NAZWA_id='Zaczyn żytni'"),
              "2");
}

// A second production document on a day whose shift-2 document the first one makes,
// with a product in common: at 6.46 the day has produced what its documents said at 4.06.
TEST_F(Baza165, ASecondProductionDocumentOfTheDayKeepsItsShiftQuantities) {
    const Droga& d = ta_droga();
    ASSERT_EQ(d.koniec, 646) << "the road ends before 6.46";
    const fs::path f = przygotuj("dzien", d.postoje.at(kPodzialProdukcji));
    const std::string dzien = "d.DDOUT_DATA_WYST=#03-20-2000#";
    std::vector<std::string> dokument = {
        "insert into DOK_PRO (DDOUT_NUMER, DDOUT_DATA_WYST, Nr_Mag, num_ndok, smz_id, "
        "DDOUT_WART_N, zmiany_nr) values ('X/1', #03-20-2000#, 1, 0, 0, 0, 0)"};
    for (const char* linia : {"1, 150, 10, 5", "3, 270, 20, 7"})
        dokument.push_back(
            "insert into DOK_PRO_ZAWART (PROD_ID, WSPRZ_CENA_B, ilosc_prod, "
            "ilosc_prod2, ilosc_prod3, ddout_id) select " +
            std::string(linia) + ", 0, max(DDOUT_ID) from DOK_PRO");
    ASSERT_EQ(wykonaj(f, dokument), 0);
    const std::string przed = jedna(f,
                                    "select sum(ilosc_prod+ilosc_prod2+ilosc_prod3) from "
                                    "DOK_PRO_ZAWART z inner join DOK_PRO d on "
                                    "d.DDOUT_ID=z.ddout_id where " +
                                        dzien);
    ASSERT_EQ(uruchom(f, KONWERSJA), 0);
    EXPECT_EQ(rejestr(f, "dodralvex"), "3210");
    EXPECT_EQ(jedna(f,
                    "select sum(ZDDOUT_ILOSC) from DOK_PRO_ZAWART z inner join DOK_PRO d on "
                    "d.DDOUT_ID=z.DDOUT_ID where " +
                        dzien),
              przed);
}

// Killed at moments of its work from release 1.65: the next run resumes at the step that
// did not finish and reaches the road's next stop with the road's database there.
TEST_F(Baza165, RunKilledInsideItsWorkResumesToTheSameDatabase) {
    const Droga& d = ta_droga();
    for (int ms : {300, 1200}) {
        const fs::path f = przygotuj("przerwany" + std::to_string(ms), d.wzor);
        const pid_t pid = wystartuj(f, KONWERSJA);
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        ::kill(pid, SIGKILL);
        koniec(pid);
        const std::vector<int> konce = kroki(f, "End");
        const int zrobiony = konce.empty() ? 165 : konce.back();
        const Cel c = cel_od(zrobiony + 1);
        zadanie(f);
        uruchom(f, c.program, c.kroki);
        EXPECT_EQ(wersja(f), tekst_wersji(c.wersja)) << "killed at " << ms << " ms";
        EXPECT_EQ(zawartosc(f), c.wzorzec->zawartosc()) << "killed at " << ms << " ms";
    }
}

// Killed inside the step that cuts production by shift and renumbers it: the database
// stays as the previous step left it, and the next run ends as an uninterrupted one.
TEST_F(Baza165, RunKilledInsideTheProductionSplitResumesToTheSameDatabase) {
    const Droga& d = ta_droga();
    if (d.koniec < kPodzialProdukcji) GTEST_FAIL() << "step 4.07 is not built";
    const Cel c = cel_od(kPodzialProdukcji);
    int w_kroku = 0;
    for (int ms : {0, 30, 150}) {
        const fs::path f =
            przygotuj("przerwany" + std::to_string(ms), d.postoje.at(kPodzialProdukcji));
        EXPECT_EQ(uruchom_i_zabij_w_kroku(f, c.program, c.kroki, kPodzialProdukcji, ms),
                  128 + SIGKILL)
            << ms << " ms";
        if (wersja(f) == "4,06") ++w_kroku;
        zadanie(f);
        uruchom(f, c.program, c.kroki);
        EXPECT_EQ(wersja(f), tekst_wersji(c.wersja)) << "killed " << ms << " ms into 4.07";
        EXPECT_EQ(zawartosc(f), c.wzorzec->zawartosc()) << "killed " << ms << " ms into 4.07";
    }
    EXPECT_GE(w_kroku, 1) << "no run was killed inside step 4.07";
}

}  // namespace
