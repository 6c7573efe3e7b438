// Step 2.31: the raw-material lines of production documents, and the stock table
// recomputed from the documents dated after the day of the latest stocktaking.
#include "baza_kroku.h"

namespace kroki_test {
namespace {

class Krok231Test : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.30);
        for (const char* t : {
                 "create table ZAMOWIENIA_RAPORT_SUROWCE (data Date, sur_id long, Ilosc single, "
                 "rap_id long)",
                 "create table ZAMOWIENIA_RAPORT (data Date, prod_id long, ilosc_zam single, "
                 "ilosc_prod single, ilosc_prod2 single, ilosc_prod3 single)",
                 "create table magazyn_produktow (prod_id long, ilosc single)",
                 "create table ZUZYCIE_CALKOWITE (sur_id long, ilosc single)",
                 "create table RODZAJ_WYST_DOKUM (RDOK_NAZWA_ID text(50))",
                 "create table Logi (opis text(50))",
                 "create table STANY_MAGAZYNOWE (prod_id long, ilosc single, zakup_il single, "
                 "przych_il single, rozch_il single, produkcja single, zuzycie single, inwent "
                 "single, stan single, Countt counter)",
                 "create table REMANENTINWENT (id_ri counter, Data Date)",
                 "create table REMANENTINWENT_ZAWART (id_ri long, id long, Ilosc_stanfaktyczny "
                 "single)",
                 "create table FAKTURY_WYCH (FAKOUT_ID long, FAKOUT_NUMER text(50), "
                 "FAKOUT_DATA_WYST Date)",
                 "create table FAKTURY_WYCH_ZAWART (FAKOUT_ID long, prod_id long, ZFAKOUT_ILOSC "
                 "single)",
                 "create table FAKTURY_WYCH_KOREKTA (FKOROUT_ID long, FKOROUT_NUMER text(50), "
                 "FKOROUT_DATA_WYST Date, zakup Logical)",
                 "create table FAKTURY_WYCH_KOREKTA_ZAWART (FKOROUT_ID long, prod_id long, "
                 "ZFKOROUT_ILOSC single, zfkorout_ilosckor single)",
                 "create table Paragon (DDOUT_ID long, DDOUT_NUMER text(50), DDOUT_DATA_WYST "
                 "Date)",
                 "create table Paragon_ZAWART (DDOUT_ID long, prod_id long, ZDDOUT_ILOSC single)",
                 "create table DOWODY_DOSTAW (DDOUT_ID long, DDOUT_DATA_WYST Date, "
                 "DDOUT_DO_ROZLICZENIA Logical)",
                 "create table DOWODY_DOSTAW_ZAWART (DDOUT_ID long, prod_id long, ZDDOUT_ILOSC "
                 "single)",
                 "create table DOWODY_ZWROTU (DDOUT_ID long, DDOUT_DATA_WYST Date, "
                 "DDOUT_DO_ROZLICZENIA Logical)",
                 "create table DOWODY_ZWROTU_ZAWART (DDOUT_ID long, prod_id long, ZDDOUT_ILOSC "
                 "single)",
                 "create table zakupy (numer_id long, numer_zaksiegowania text(50), "
                 "data_zaksiegowania Date)",
                 "create table zakupy_zawart (numer_id long, sur_id long, ilosc single)",
                 "create table Dok_Wewnentrzne (ddout_id long, DDOUT_DATA_WYST Date, RodzDok "
                 "text(1))",
                 "create table Dok_Wewnentrzne_ZAWART (sprz_id long, prod_id long, WSPRZ_ILOSC "
                 "single)",
                 "create table Produkcja (DDOUT_ID long, DDOUT_NUMER text(50), DDOUT_DATA_WYST "
                 "Date)",
                 "create table PRODUKCJA_ZAWART (sprz_ID long, prod_id long, ilosc_prod single, "
                 "ilosc_prod2 single, ilosc_prod3 single)",
             })
            Sql(t);
        // Stock rows as step 2.30 left them, with stale movements the step clears.
        for (int p = 1; p <= 3; ++p) Stan(p);
    }

    void Stan(int p) {
        Sql("insert into STANY_MAGAZYNOWE (prod_id, ilosc, zakup_il, przych_il, rozch_il, "
            "produkcja, zuzycie, inwent, stan) values (" +
            std::to_string(p) + ", 9, 9, 9, 9, 9, 9, 4, 0)");
    }

    // One document of a header table with one line for product 1 of the quantity given.
    void Dokument(const std::string& naglowek, const std::string& linie, int id,
                  const std::string& wartosci_naglowka, const std::string& ilosc) {
        Sql("insert into " + naglowek + " values (" + std::to_string(id) + ", " +
            wartosci_naglowka + ")");
        Sql("insert into " + linie + " values (" + std::to_string(id) + ", 1, " + ilosc + ")");
    }

    static constexpr const char* kStany =
        "select prod_id, inwent, ilosc, zakup_il, przych_il, rozch_il, produkcja, zuzycie, stan "
        "from STANY_MAGAZYNOWE order by prod_id";
};

// Two stocktakings; the documents of product 1 straddle the day of the latest one.
TEST_F(Krok231Test, MovementsAfterTheLatestStocktakingDay) {
    Sql("insert into REMANENTINWENT (Data) values (#03/01/2001 10:00:00#)");
    Sql("insert into REMANENTINWENT (Data) values (#01/10/2001#)");
    Sql("insert into REMANENTINWENT_ZAWART values (1, 1, 10)");
    Sql("insert into REMANENTINWENT_ZAWART values (2, 2, 99)");  // an older count
    Sql("insert into REMANENTINWENT_ZAWART values (2, 1, 55)");

    // Sales invoices: on the stocktaking day, the next day, and unnumbered.
    Dokument("FAKTURY_WYCH", "FAKTURY_WYCH_ZAWART", 1, "'F 1', #03/01/2001 18:00:00#", "100");
    Dokument("FAKTURY_WYCH", "FAKTURY_WYCH_ZAWART", 2, "'F 2', #03/02/2001#", "2");
    Dokument("FAKTURY_WYCH", "FAKTURY_WYCH_ZAWART", 3, "'', #03/05/2001#", "50");
    // Receipts.
    Dokument("Paragon", "Paragon_ZAWART", 1, "'P 1', #03/02/2001#", "1");
    Dokument("Paragon", "Paragon_ZAWART", 2, "'', #03/02/2001#", "30");
    // Delivery notes and returns count only when they are to be settled.
    Dokument("DOWODY_DOSTAW", "DOWODY_DOSTAW_ZAWART", 1, "#03/03/2001#, -1", "3");
    Dokument("DOWODY_DOSTAW", "DOWODY_DOSTAW_ZAWART", 2, "#03/03/2001#, 0", "40");
    Dokument("DOWODY_ZWROTU", "DOWODY_ZWROTU_ZAWART", 1, "#03/03/2001#, -1", "1");
    Dokument("DOWODY_ZWROTU", "DOWODY_ZWROTU_ZAWART", 2, "#03/03/2001#, 0", "20");
    // A sales and a purchase correction, each 5 corrected to 3.
    Sql("insert into FAKTURY_WYCH_KOREKTA values (1, 'K 1', #03/04/2001#, 0)");
    Sql("insert into FAKTURY_WYCH_KOREKTA_ZAWART values (1, 1, 5, 3)");
    Sql("insert into FAKTURY_WYCH_KOREKTA values (2, 'K 2', #03/04/2001#, -1)");
    Sql("insert into FAKTURY_WYCH_KOREKTA_ZAWART values (2, 1, 5, 3)");
    // A correction not marked a purchase is a sale's.
    Sql("insert into FAKTURY_WYCH_KOREKTA values (3, 'K 3', #03/04/2001#, Null)");
    Sql("insert into FAKTURY_WYCH_KOREKTA_ZAWART values (3, 1, 5, 3)");
    // Purchases: booked and not booked.
    Dokument("zakupy", "zakupy_zawart", 1, "'1/2001', #03/04/2001#", "20");
    Dokument("zakupy", "zakupy_zawart", 2, "'', #03/04/2001#", "7");
    // Internal documents: a receipt into the warehouse and an issue ('R').
    Dokument("Dok_Wewnentrzne", "Dok_Wewnentrzne_ZAWART", 1, "#03/04/2001#, 'P'", "6");
    Dokument("Dok_Wewnentrzne", "Dok_Wewnentrzne_ZAWART", 2, "#03/04/2001#, 'R'", "4");
    // Production: two lines of one document, and raw materials of its day and of a day
    // without a production document.
    Sql("insert into Produkcja values (7, 'PW 1', #03/06/2001#)");
    Sql("insert into PRODUKCJA_ZAWART values (7, 1, 3, 2, 1)");
    Sql("insert into PRODUKCJA_ZAWART values (7, 2, 1, 0, 0)");
    // A production document made from an order report has no number yet and does not count.
    Sql("insert into Produkcja values (8, Null, #03/06/2001#)");
    Sql("insert into PRODUKCJA_ZAWART values (8, 1, 1, 1, 1)");
    Sql("insert into ZAMOWIENIA_RAPORT_SUROWCE values (#03/06/2001#, 1, 2, 1)");
    Sql("insert into ZAMOWIENIA_RAPORT_SUROWCE values (#03/07/2001#, 1, 50, 2)");

    // Product 1: 10 counted, sold 2+1+3-1-(5-3)-(5-3)=1, bought 20-(5-3)=18, received 6,
    // issued 4, produced 6, consumed 2. Product 2, absent from the stocktaking, keeps its 4.
    const Wiersze oczekiwane = {{"1", "10", "1", "18", "6", "4", "6", "2", "33"},
                                {"2", "4", "0", "0", "0", "0", "1", "0", "5"},
                                {"3", "4", "0", "0", "0", "0", "0", "0", "4"}};
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_231), "");
    EXPECT_EQ(Wiersze_Z(kStany), oczekiwane);

    // The raw-material lines belong to the production document of their day (the new
    // columns' defaults apply to new lines only).
    EXPECT_EQ(Wiersze_Z("select sur_id, sprz_id, Prod_id, ilosc_sur, ilosc_polprod, Wartosc "
                        "from PRODUKCJA_ZAWART_SUROWCE order by rap_id"),
              (Wiersze{{"1", "7", "Null", "Null", "Null", "Null"},
                       {"1", "Null", "Null", "Null", "Null", "Null"}}));
    for (const char* t : {"ZAMOWIENIA_RAPORT_SUROWCE", "magazyn_produktow", "ZUZYCIE_CALKOWITE",
                          "RODZAJ_WYST_DOKUM", "Logi"})
        EXPECT_FALSE(Jest_Tabela(t)) << t;
    EXPECT_TRUE(Czyta_Sie("select data, prod_id, ilosc_zam from ZAMOWIENIA_RAPORT"));
    for (const char* k : {"ilosc_prod", "ilosc_prod2", "ilosc_prod3"})
        EXPECT_FALSE(Czyta_Sie(std::string("select ") + k + " from ZAMOWIENIA_RAPORT")) << k;
    EXPECT_EQ(komunikaty.str(), "");

    // A repeated step recomputes from zero to the same result.
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_231), "");
    EXPECT_EQ(Wiersze_Z(kStany), oczekiwane);
    EXPECT_EQ(komunikaty.str(), "");
}

TEST_F(Krok231Test, WithoutStocktakingEverythingCountsFromNothing) {
    Dokument("FAKTURY_WYCH", "FAKTURY_WYCH_ZAWART", 1, "'F 1', #01/02/1900#", "2");
    Dokument("FAKTURY_WYCH", "FAKTURY_WYCH_ZAWART", 2, "'F 2', #01/01/1900#", "70");
    Dokument("zakupy", "zakupy_zawart", 1, "'1/1999', #06/15/1999#", "5");
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_231), "");
    EXPECT_EQ(Wiersze_Z(kStany), (Wiersze{{"1", "0", "2", "5", "0", "0", "0", "0", "3"},
                                          {"2", "0", "0", "0", "0", "0", "0", "0", "0"},
                                          {"3", "0", "0", "0", "0", "0", "0", "0", "0"}}));
}

// A stocktaking query that fails and is ignored counts as no stocktaking.
TEST_F(Krok231Test, IgnoredStocktakingFailureCountsFromNothing) {
    Sql("drop table REMANENTINWENT");
    Dokument("Paragon", "Paragon_ZAWART", 1, "'P 1', #03/02/2001#", "2");
    Odpowiedzi({5});  // Ignore
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_231), "");
    EXPECT_NE(komunikaty.str().find("REMANENTINWENT"), std::string::npos);
    EXPECT_EQ(Wiersze_Z(kStany).at(0),
              (std::vector<std::string>{"1", "0", "2", "0", "0", "0", "0", "0", "-2"}));
}

// A line without a quantity adds none; a stocktaking without a date cannot be placed
// and counts as none; a product's second stock row takes no movement and no count; two
// lines of a product in the latest stocktaking add up; raw materials of a day with two
// production documents go to the first.
TEST_F(Krok231Test, NullsAndRepeatedRowsCarryEachFigureOnce) {
    struct Przypadek {
        const char* nazwa;
        std::vector<std::string> dane;
        Wiersze stany;  // products 1 (its second row last where it has one) and 2
    };
    const std::vector<Przypadek> przypadki = {
        {"a line without a quantity",
         {"insert into Paragon values (1, 'P 1', #03/02/2001#)",
          "insert into Paragon_ZAWART values (1, 1, Null)",
          "insert into Paragon_ZAWART values (1, 1, 2)",
          "insert into FAKTURY_WYCH_KOREKTA values (1, 'K 1', #03/04/2001#, 0)",
          "insert into FAKTURY_WYCH_KOREKTA_ZAWART values (1, 1, Null, 3)"},
         {{"1", "0", "5", "0", "0", "0", "0", "0", "-5"},
          {"2", "0", "0", "0", "0", "0", "0", "0", "0"}}},
        {"undated stocktakings",
         {"insert into REMANENTINWENT (Data) values (Null)",
          "insert into REMANENTINWENT_ZAWART values (1, 1, 10)"},
         {{"1", "0", "0", "0", "0", "0", "0", "0", "0"},
          {"2", "0", "0", "0", "0", "0", "0", "0", "0"}}},
        {"a second stock row and two counted lines",
         {"insert into REMANENTINWENT (Data) values (#03/01/2001#)",
          "insert into REMANENTINWENT_ZAWART values (1, 1, 10)",
          "insert into REMANENTINWENT_ZAWART values (1, 1, 5)",
          "insert into REMANENTINWENT_ZAWART values (1, 2, Null)",
          "insert into zakupy values (1, '1/2001', #03/04/2001#)",
          "insert into zakupy_zawart values (1, 1, 20)"},
         {{"1", "15", "0", "20", "0", "0", "0", "0", "35"},
          {"1", "0", "0", "0", "0", "0", "0", "0", "0"},
          {"2", "0", "0", "0", "0", "0", "0", "0", "0"}}},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        Sql("delete from STANY_MAGAZYNOWE where prod_id=3");
        if (p.stany.size() == 3) Stan(1);
        for (const std::string& w : p.dane) Sql(w);
        Sql("insert into Produkcja values (8, 'PW 2', #03/06/2001#)");
        Sql("insert into Produkcja values (7, 'PW 1', #03/06/2001#)");
        Sql("insert into ZAMOWIENIA_RAPORT_SUROWCE values (#03/06/2001#, 5, 2, 1)");
        EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_231), "");
        EXPECT_EQ(Wiersze_Z(kStany + std::string(", Countt")), p.stany);
        EXPECT_EQ(Kolumna("select sprz_id from PRODUKCJA_ZAWART_SUROWCE"),
                  std::vector<std::string>{"7"});
        TearDown();
        SetUp();
    }
}

}  // namespace
}  // namespace kroki_test
