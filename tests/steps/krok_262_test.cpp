// Step 2.62 on a database of version 2.61: the year suffix of 2001 document numbers, the
// order link and change counter on the document tables, Setup columns, the numbering
// flag and the printer table.
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Krok262 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.61);
        Sql("create table K_FAKTUR (fkorout_id counter, fkorout_numer text(30), "
            "fkorout_data_wyst date, zakup long)");
        Sql("create table FAKTURY (fakout_id counter, fakout_numer text(30), fakout_data_wyst "
            "date, FAKOUT_ZBIORCZA logical, FAKOUT_NR_DD text(255))");
        for (const char* t : {"Paragon", "DOWODY_DOSTAW", "DOWODY_ZWROTU", "Produkcja"})
            Sql(std::string("create table ") + t +
                " (ddout_id counter, ddout_numer text(30), ddout_data_wyst date)");
        Sql("create table Dok_Wewnentrzne (ddout_id counter, ddout_numer text(30), "
            "ddout_data_wyst date, rodzdok text(1))");
        Sql("create table [Setup] ([Nazwa] TEXT (255), [Wartosc] memo)");
        Sql("create table sposob_numeracji (sm_id long, nazwa text(50))");
    }
    static void Faktura(const std::string& numer, const std::string& data) {
        Sql("insert into FAKTURY (fakout_numer, fakout_data_wyst, FAKOUT_ZBIORCZA) values (" +
            numer + ", " + data + ", 0)");
    }
};

TEST_F(Krok262, NumbersOf2001LoseTheSuffixOf2000) {
    // Dates month first, as Jet reads them between #.
    Faktura("'FV 12/2000'", "#03/03/2001#");
    Faktura("'FV 12/2000'", "#12/31/2000 23:59:59#");
    Faktura("'FV 12/2000'", "#01/01/2002#");
    Faktura("'FV 13/2000'", "#12/31/2001 23:59:59#");
    Faktura("'FV 14/2000/2000'", "#06/01/2001#");  // the table is walked twice
    Faktura("'FV 15/20001'", "#06/01/2001#");
    Faktura("'FV 16/2000'", "#01/01/2001#");
    Faktura("null", "#06/01/2001#");  // nothing to correct
    Faktura("'FV 17/2000'", "null");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_262), "");
    EXPECT_EQ(Kolumna("select fakout_numer from FAKTURY order by fakout_id"),
              (std::vector<std::string>{"FV 12/2001", "FV 12/2000", "FV 12/2000", "FV 13/2001",
                                        "FV 14/2001/2001", "FV 15/20011", "FV 16/2001", "Null",
                                        "FV 17/2000"}));
}

TEST_F(Krok262, EachDocumentKindIsCorrectedOnItsOwnRows) {
    Sql("insert into K_FAKTUR (fkorout_numer, fkorout_data_wyst, zakup) values "
        "('KF 1/2000', #05/05/2001#, 0)");
    Sql("insert into K_FAKTUR (fkorout_numer, fkorout_data_wyst, zakup) values "
        "('KZ 1/2000', #05/05/2001#, -1)");
    Sql("insert into K_FAKTUR (fkorout_numer, fkorout_data_wyst, zakup) values "
        "('KX 1/2000', #05/05/2001#, 1)");
    Sql("insert into Paragon (ddout_numer, ddout_data_wyst) values ('PA 1/2000/2000', "
        "#05/05/2001#)");
    Sql("insert into DOWODY_DOSTAW (ddout_numer, ddout_data_wyst) values ('WZ 1/2000/2000', "
        "#05/05/2001#)");
    Sql("insert into Dok_Wewnentrzne (ddout_numer, ddout_data_wyst, rodzdok) values "
        "('RW 1/2000', #05/05/2001#, 'R')");
    Sql("insert into Dok_Wewnentrzne (ddout_numer, ddout_data_wyst, rodzdok) values "
        "('PW 1/2000', #05/05/2001#, 'P')");
    Sql("insert into Dok_Wewnentrzne (ddout_numer, ddout_data_wyst, rodzdok) values "
        "('MM 1/2000', #05/05/2001#, 'M')");
    Sql("insert into Produkcja (ddout_numer, ddout_data_wyst) values ('PR 1/2000', #05/05/2001#)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_262), "");
    EXPECT_EQ(Kolumna("select fkorout_numer from K_FAKTUR order by fkorout_id"),
              (std::vector<std::string>{"KF 1/2001", "KZ 1/2001", "KX 1/2000"}));
    // Receipts are walked once, delivery notes twice.
    EXPECT_EQ(Kolumna("select ddout_numer from Paragon"),
              (std::vector<std::string>{"PA 1/2001/2000"}));
    EXPECT_EQ(Kolumna("select ddout_numer from DOWODY_DOSTAW"),
              (std::vector<std::string>{"WZ 1/2001/2001"}));
    EXPECT_EQ(Kolumna("select ddout_numer from Dok_Wewnentrzne order by ddout_id"),
              (std::vector<std::string>{"RW 1/2001", "PW 1/2001", "MM 1/2000"}));
    EXPECT_EQ(Kolumna("select ddout_numer from Produkcja"),
              (std::vector<std::string>{"PR 1/2000"}));
}

TEST_F(Krok262, ACollectiveInvoiceGetsItsFirstNoteCorrected) {
    Sql("insert into FAKTURY (fakout_numer, fakout_data_wyst, FAKOUT_ZBIORCZA, FAKOUT_NR_DD) "
        "values ('FZ 1/2001', #02/02/2001#, -1, '1/2000, 2/2000')");
    Sql("insert into FAKTURY (fakout_numer, fakout_data_wyst, FAKOUT_ZBIORCZA, FAKOUT_NR_DD) "
        "values ('FZ 2/2001', #02/02/2001#, -1, null)");
    Sql("insert into FAKTURY (fakout_numer, fakout_data_wyst, FAKOUT_ZBIORCZA, FAKOUT_NR_DD) "
        "values ('FV 3/2001', #02/02/2001#, 0, '3/2000')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_262), "");
    EXPECT_EQ(Kolumna("select FAKOUT_NR_DD from FAKTURY order by fakout_id"),
              (std::vector<std::string>{"1/2001, 2/2000", "Null", "3/2000"}));
}

TEST_F(Krok262, NewColumnsAndThePrinterTable) {
    Sql("insert into Produkcja (ddout_numer, ddout_data_wyst) values ('PR 1', #05/05/2001#)");
    Sql("insert into Setup values ('ROCZNA', '0')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_262), "");
    EXPECT_TRUE(Numeracja_Miesieczna);
    for (const char* t : {"DOWODY_ZWROTU", "DOWODY_DOSTAW", "K_FAKTUR", "FAKTURY", "PARAGON",
                          "Dok_Wewnentrzne", "Produkcja"})
        EXPECT_TRUE(Czyta_Sie(std::string("select zam_id, zmiany_nr from ") + t)) << t;
    EXPECT_EQ(Wiersze_Z("select zam_id, zmiany_nr from Produkcja"), (Wiersze{{"0", "0"}}));
    EXPECT_TRUE(Czyta_Sie("select USERS, STAN from SETUP"));
    EXPECT_TRUE(Czyta_Sie("select zmiany from sposob_numeracji"));
    EXPECT_TRUE(
        Czyta_Sie("select ID, Port, Emulacja, Podajnik, StronaKodowa, IleLiniNaStronie, "
                  "SzerokoscStrony, Buforowanie, WysunieciePrzed, WysunieciePo, "
                  "LewyMargines, WysunPoStronie, LoginName from DRUKARKI"));
    // The step runs again over its own result.
    Sql("update Setup set Wartosc='1'");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_262), "");
    EXPECT_FALSE(Numeracja_Miesieczna);
}

}  // namespace
}  // namespace kroki_test
