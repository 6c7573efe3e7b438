// Steps 6.00 to 6.05 on a database of version 5.99: report definitions keyed by ID, the
// discount rows' drivers, and the settled documents' copies on settlement lines.
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki600 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(5.99); }
};

TEST_F(Kroki600, ReportDefinitionsGetAnIdAndFractionalPositions) {
    for (const char* t : {"KH_BILANS", "KH_F01", "KH_RACHUNEK"}) {
        Sql(std::string("create table ") + t + " (Id_poz long, K long, p1 long)");
        Sql(std::string("create unique index Podstawowy on ") + t + " (Id_poz) with primary");
        for (int poz : {9, 38, 47})
            Sql(std::string("insert into ") + t + " values (" + std::to_string(poz) + ", 1, 5)");
    }
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_600), "");
    EXPECT_EQ(Wiersze_Z("select Id_poz, K, p1 from KH_RACHUNEK order by Id_poz"),
              (Wiersze{{"9", "2", "5"}, {"38", "1", "0"}, {"47", "1", "44"}}));
    EXPECT_EQ(Kolumna("select count(*) from KH_RACHUNEK"), (std::vector<std::string>{"3"}));
    for (const char* t : {"KH_BILANS", "KH_F01"}) {
        Sql(std::string("insert into ") + t + " (Id_poz) values (9.5)");  // no key any more
        EXPECT_EQ(Kolumna(std::string("select count(ID) from ") + t + " where Id_poz>=9"),
                  (std::vector<std::string>{"4"}))
            << t;
    }
}

TEST_F(Kroki600, SettlementLinesCopyTheirSettledDocuments) {
    // Every source table, with the columns the updates read.
    const char* dd =
        " (ddout_id long, ddout_numer text(20), DDOUT_DATA_WYST datetime, "
        "DDOUT_DATA_SPRZ datetime, ddout_wart_n money, ddout_wart_vat money, "
        "Zbiorczy_id long)";
    for (const char* t : {"DOK_PAR", "DOK_RW", "DOK_PW", "DOK_WZ", "DOK_PZ", "DOK_DD", "DOK_DZ"})
        Sql(std::string("create table ") + t + dd);
    Sql("create table DOK_ZAK (numer_id long, numer_dokumentu text(20), numer_zaksiegowania "
        "text(20), DATA_zaksiegowania datetime, data_zaplaty datetime, wart_n money, vat money)");
    for (const char* t : {"DOK_FAK", "DOK_FWE"})
        Sql(std::string("create table ") + t +
            " (fakout_id long, fakout_numer text(20), FAKOUT_DATA_WYST datetime, "
            "FAKOUT_TERMIN_ZAPLATY datetime, fakout_wart_n money, fakout_wart_vat money)");
    for (const char* t : {"DOK_KZA", "DOK_KFA"})
        Sql(std::string("create table ") + t +
            " (FKOROUT_ID long, fkorout_numer text(20), numer_dokumentu text(20), "
            "fkorout_DATA_WYST datetime, fkorout_TERM_PLAT datetime, fkorout_wart_n money, "
            "fkorout_wart_vat money)");
    Sql("create table PLACE_LISTY (IDListy long, Numer text(20), datak datetime, dataP datetime)");
    Sql("create table PLACE_LISTY_ZAWART (IDListy long, wartosc11 money, wartosc117 money)");
    Sql("create table DEKLARACJE (ID counter, Konh_id long, data datetime, data_wyst datetime, "
        "kwota money)");
    Sql("create table DOK_FIN (kp_id long, nr_kp text(20), data datetime, kwota money, kwota_kw "
        "money, KontoP_wn text(20), KontoP_ma text(20))");
    for (const char* t : {"KPIR_KSIEGA", "KH_KSIEGA"})
        Sql(std::string("create table ") + t +
            " (kpir_id long, numer text(20), data datetime, wart_fin money)");
    for (const char* t : {"DOK_INN", "DOK_BO"})
        Sql(std::string("create table ") + t +
            " (dok_id long, numer text(20), data datetime, wart_fin money, IDD counter)");
    Sql("create table DOK_FIN_ZAWART (countt counter, rodzaj_dok text(10), dok_id long)");
    Sql("create table kontrahenci (nr_konta_kasowego text(30))");
    Sql("create table S_Inne (ID_slownka long, countt counter, Nazwa text(255))");

    Sql("insert into DOK_ZAK values (1, 'Z/1', 'W/1', #02-03-2004#, #03-03-2004#, 10.005, 2)");  // half to even
    Sql("insert into DOK_FAK values (1, 'F/1', #02-04-2005#, #03-04-2005#, 100, 22)");
    // Gross amounts from 0: a part not given adds nothing, neither given gives 0.
    Sql("insert into DOK_FWE values (1, 'FW/1', #02-04-2005#, #03-04-2005#, 100, Null)");
    Sql("insert into DOK_RW values (1, 'R/1', #02-05-2005#, #02-06-2005#, Null, Null, 0)");
    Sql("insert into DOK_PAR values (1, 'P/1', #02-05-2005#, #02-06-2005#, 5, 1, 9)");
    Sql("insert into DOK_WZ values (1, 'W/1', #02-05-2006#, #02-06-2006#, 5, 1, 9)");
    Sql("insert into DOK_KZA values (1, 'K/1', 'KW/1', #02-07-2005#, #02-08-2005#, -5, -1)");
    for (const char* l : {"1, 'L/1'", "2, 'L/2'", "3, 'L/3'"})
        Sql(std::string("insert into PLACE_LISTY values (") + l + ", #01-31-2005#, #02-10-2005#)");
    // A list's gross amount totals its lines from 0; a part not given adds nothing.
    for (const char* w : {"1, 100, 0.5", "1, 20, Null", "1, Null, Null", "2, Null, Null",
                          "2, Null, Null", "3, Null, 5"})
        Sql(std::string("insert into PLACE_LISTY_ZAWART values (") + w + ")");
    Sql("insert into KPIR_KSIEGA values (1, '12', #02-09-2005#, 7)");
    Sql("insert into DOK_FIN values (1, 'KP/1', #02-11-2005#, 3, 4, '100', '200')");
    // Two opening balances of one dok_id: the first.
    for (const char* w : {"1, 'B/1', #02-12-2005#, 5", "1, 'B/2', #02-13-2005#, 9"})
        Sql(std::string("insert into DOK_BO (dok_id, numer, data, wart_fin) values (") + w + ")");
    // Two declarations of one tax office whose ids cross their office's contractor ids:
    // each settlement line takes its own declaration (by ID), its date as date text.
    Sql("insert into DEKLARACJE (Konh_id, data, data_wyst, kwota) values (2, #01-31-2005#, "
        "#02-20-2005#, 123.456)");
    Sql("insert into DEKLARACJE (Konh_id, data, data_wyst, kwota) values (1, #02-28-2005#, "
        "#03-25-2005#, 50)");
    const char* linie[] = {"'ZV', 1",  "'SV', 1",   "'PA', 1",     "'WZ', 1",
                           "'KZ-', 1", "'PRAC', 1", "'KPIR +', 1", "'XX', 1",
                           "'SV', 2",  "'PIT4', 1", "'V7-', 2",    "'FW', 1",
                           "'RW', 1",  "'BO +', 1", "'PRAC', 2",   "'PRAC', 3"};
    for (const char* l : linie)
        Sql(std::string("insert into DOK_FIN_ZAWART (rodzaj_dok, dok_id) values (") + l + ")");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_604), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_605), "");
    EXPECT_EQ(
        Wiersze_Z("select Numer_zew_dokumentu, Numer_wew_dokumentu, Numer_KH_dokumentu, "
                  "day(Data_dokumentu), day(Termin_dokumentu), Brutto_dokumentu, "
                  "Zbiorczy_id_dokumentu, ROK, WART_KP_ARCH from DOK_FIN_ZAWART order by countt"),
        (Wiersze{{"Z/1", "W/1", "", "3", "3", "12", "0", "2004", "Null"},
                 {"F/1", "F/1", "", "4", "4", "122", "0", "2005", "Null"},
                 {"P/1", "P/1", "", "5", "6", "6", "0", "2005", "Null"},
                 {"W/1", "W/1", "", "5", "6", "6", "9", "2006", "Null"},
                 {"K/1", "KW/1", "", "7", "8", "-6", "0", "2005", "Null"},
                 {"L/1", "L/1", "", "31", "10", "120,5", "0", "2005", "Null"},
                 {"", "", "12", "9", "9", "7", "0", "2005", "Null"},
                 {"Null", "Null", "Null", "Null", "Null", "Null", "Null", "Null", "Null"},
                 {"Null", "Null", "Null", "Null", "Null", "Null", "Null", "Null", "Null"},
                 {"2005-01-31", "2005-01-31", "", "20", "20", "123,46", "0", "2005", "Null"},
                 {"2005-02-28", "2005-02-28", "", "25", "25", "50", "0", "2005", "Null"},
                 {"FW/1", "FW/1", "", "4", "4", "100", "0", "2005", "Null"},
                 {"R/1", "R/1", "", "5", "6", "0", "0", "2005", "Null"},
                 {"B/1", "B/1", "", "12", "12", "5", "0", "2005", "Null"},
                 {"L/2", "L/2", "", "31", "10", "0", "0", "2005", "Null"},
                 {"L/3", "L/3", "", "31", "10", "5", "0", "2005", "Null"}}));
    EXPECT_EQ(Wiersze_Z("select ID_slownka, Nazwa from S_Inne where ID_slownka>8"),
              (Wiersze{{"9", "100"}, {"10", "200"}}));
    // Again, as over the lists that a stopped run of the suite's earlier tool added.
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_604), "");
    EXPECT_EQ(Kolumna("select count(*) from S_Inne"), std::vector<std::string>{"2"});
}

}  // namespace
}  // namespace kroki_test
