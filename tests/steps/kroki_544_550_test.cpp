// Steps 5.43 to 5.50: the ledger's posting schemes keyed without their year, delivery
// amounts of corrections, the fixed assets split into headers and lines, and net values
// of purchase-correction lines.
#include <string>
#include <vector>

#include "db/awaria_zapisu.h"
#include "db/rejestr.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Krok543 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(5.42);
        Sql("create table KH_SCHEMATY (SYMBOL_SCH text(10), ROK long)");
        Sql("create unique index Podstawowy on KH_SCHEMATY (SYMBOL_SCH, ROK) with primary");
        Sql("create table KH_SCHEMATY_ZAWART (SYMBOL_SCH text(10), ROK long)");
        Sql("create table S_KONTA_POLACZONE (NR_K_1 text(5), NR_K_2 text(5), NR_K_3 text(5), "
            "NR_K_4 text(5), NR_P_1 text(5), NR_P_2 text(5), NR_P_3 text(5), NR_P_4 text(5), "
            "ROK long)");
        Sql("insert into KH_SCHEMATY values ('A', 2004)");
    }
};

TEST_F(Krok543, SchemesLoseTheirYear) {
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_543), "");
    EXPECT_FALSE(Czyta_Sie("select ROK from KH_SCHEMATY"));
    EXPECT_FALSE(Czyta_Sie("select ROK from S_KONTA_POLACZONE"));
    EXPECT_NE(Uruchom([] { Sql("insert into KH_SCHEMATY values ('A')"); }), "");
}

// Another program holding the file when the step drops the old key: the drop is not
// merely logged (the year would stay, held by the old key, and the run end as if
// converted); the question comes, and unattended its safe answer, Abort, ends the run.
TEST_F(Krok543, ALockedFileStopsTheStep) {
    Awaria_Zapisu a(jet::Fault::FileLocked, 1);
    const std::string r = Krok(&ClsKonwersje::Konwersja_543);
    EXPECT_EQ(r.rfind("process end", 0), 0u) << r;
    EXPECT_NE(r.find("Could not lock file."), std::string::npos) << r;
    EXPECT_EQ(Czytaj_Rejestr("dodralvex", 0), "0000");
}

class Kroki544 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(5.43); }
};

TEST_F(Kroki544, CorrectionsWithoutDeliveryNotesLoseTheirDeliveryAmount) {
    Sql("create table dok_kfa (fkorout_id long, wart_dd money)");
    Sql("create table dok_dz (Id_KorFak long, wart_kp money)");
    Sql("create table PRODUKTY_RECEPTURY (PROD_ID long, WYDAJNOSC single)");
    Sql("create table PRODUKTY (PROD_ID long, Szt_w_opak single, PROD_WAGA single, "
        "PROD_WYDAJNOSCzREC single)");
    Sql("insert into dok_kfa values (1, '12,5')");
    Sql("insert into dok_kfa values (2, '12,5')");
    Sql("insert into dok_kfa values (3, 0)");
    Sql("insert into dok_dz values (2, 4)");
    Sql("insert into PRODUKTY_RECEPTURY values (1, 1)");
    Sql("insert into PRODUKTY_RECEPTURY values (2, 1)");
    Sql("insert into PRODUKTY values (1, 6, '0,5', 2)");
    // A product that gives no yield leaves its recipe's own.
    Sql("insert into PRODUKTY values (2, 4, 1, null)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_544), "");
    EXPECT_EQ(Kolumna("select wart_dd from dok_kfa order by fkorout_id"),
              (std::vector<std::string>{"0", "12,5", "0"}));
    EXPECT_EQ(Wiersze_Z("select Szt_w_opak, Waga, WYDAJNOSC from PRODUKTY_RECEPTURY order by "
                        "PROD_ID"),
              (Wiersze{{"6", "0,5", "2"}, {"4", "1", "1"}}));
    EXPECT_FALSE(Czyta_Sie("select PROD_WAGA from PRODUKTY"));
}

TEST_F(Kroki544, AssetsSplitIntoHeadersAndLines) {
    Sql("create table SRODKI_TRWALE_ZAWART (ID counter, SYMBOL text(20), data_n datetime, "
        "data_zdj_e datetime, umorzenie money, wprowadz text(1), sp_amort text(50), stawka_amort "
        "single, ksiega_id long, KWOTA_DO_AMORT money, KWOTA_ZAMORT money, ILOSC_AMORT long, "
        "Wyposazenie logical, WSPOLCZYNNIK single, KONTOFK text(20), numer text(20), id_prod "
        "long, id_dok long, nazwa text(80), Z_LISTY logical, Rodzaj text(1), CalyAsortyment "
        "logical, Prod_Countt long, wartosc money)");
    Sql("create unique index Podstawowy on SRODKI_TRWALE_ZAWART (ID) with primary");
    Sql("insert into SRODKI_TRWALE_ZAWART (SYMBOL, nazwa, wartosc) values ('S1', 'Piec', 100)");
    Sql("insert into SRODKI_TRWALE_ZAWART (SYMBOL, nazwa, wartosc) values ('S2', 'Waga', 50)");
    for (int przebieg = 0; przebieg < 2; ++przebieg)
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_547), "");
    EXPECT_EQ(Wiersze_Z("select ID, SYMBOL, wartosc from SRODKI_TRWALE order by ID"),
              (Wiersze{{"1", "S1", "100"}, {"2", "S2", "50"}}));
    EXPECT_FALSE(Czyta_Sie("select nazwa from SRODKI_TRWALE"));
    EXPECT_EQ(Wiersze_Z("select ID, id_el, nazwa from SRODKI_TRWALE_ZAWART order by ID"),
              (Wiersze{{"1", "1", "Piec"}, {"2", "2", "Waga"}}));
    EXPECT_FALSE(Czyta_Sie("select SYMBOL from SRODKI_TRWALE_ZAWART"));
    Sql("insert into SRODKI_TRWALE_ZAWART (ID, nazwa) values (1, 'Drzwi pieca')");
    EXPECT_NE(Uruchom([] { Sql("insert into SRODKI_TRWALE (ID, SYMBOL) values (1, 'S3')"); }), "");
}

TEST_F(Kroki544, CorrectionLinesTakeNetValuesAndTheCorrectedLinesVat) {
    Sql("create table DOK_KZA (FKOROUT_ID long, FAKOUT_ID long)");
    Sql("create table DOK_KZA_ZAWART (n long, FKOROUT_ID long, PROD_ID long, ZFKOROUT_CENA_N "
        "money, zfkorout_ilosckor single, CENA_ORG money, ZFKOROUT_ILOSC single, ZFKOROUT_VAT "
        "text(3), OdliczVAT_Z long)");
    Sql("create table DOK_ZAK (numer_id long)");
    Sql("create table DOK_ZAK_ZAWART (numer_id long, sur_ID long, CENA_N money, WART_N money, "
        "VAT text(3), OdliczVAT_Z long, Countt counter)");
    Sql("insert into DOK_KZA values (1, 7)");
    Sql("insert into DOK_ZAK values (7)");
    // Of two lines of product 3 at the price, the first (the second is one of 0 % VAT).
    for (const char* w : {"7, 3, 2, '20,01', '7', 1", "7, 3, 2, '30', '0', 0"})
        Sql(std::string("insert into DOK_ZAK_ZAWART (numer_id, sur_ID, CENA_N, WART_N, VAT, "
                        "OdliczVAT_Z) values (") +
            w + ")");
    Sql("insert into DOK_KZA_ZAWART values (1, 1, 3, '2,5', 9, 2, 10, '22', 0)");
    Sql("insert into DOK_KZA_ZAWART values (2, 1, 4, '2,5', 9, 2, '3,333', '22', 0)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_550), "");
    EXPECT_EQ(Wiersze_Z("select WART_N, WART_N_ORG, VAT_ORG, OdliczVAT_Z from DOK_KZA_ZAWART "
                        "order by n"),
              (Wiersze{{"2,5", "20,01", "7", "1"}, {"15,83", "6,67", "22", "0"}}));
}

}  // namespace
}  // namespace kroki_test
