// Step 2.20: production documents from the order reports and the raw-material cost of
// every production line.
#include "baza_kroku.h"

namespace kroki_test {
namespace {

// Runs statements in order.
void Sql_Wszystkie(std::initializer_list<const char*> teksty) {
    for (const char* t : teksty) polaczenie().Execute(t);
}

class Krok220Test : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.16);
        // The production tables as 2.17 leaves them; 2.19 adds the quantities.
        Sql_Wszystkie(
            {"create table Produkcja (DDOUT_ID counter, DDOUT_NUMER TEXT(50), KONH_ID Long, "
             "DDOUT_DATA_WYST Date, ddout_data_sprz Date, DDOUT_WART_N Single DEFAULT 0, "
             "wart_kp money, rodzdok text(1) null)",
             "create table PRODUKCJA_ZAWARTOSC (SPRZ_ID Long, PROD_ID Long, WSPRZ_ILOSC Single "
             "DEFAULT 0, WSPRZ_CENA_B money, WSPRZ_CENA_VAT text(4))"});
        EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_219), "");
        Sql_Wszystkie(
            {"CREATE TABLE ZAMOWIENIA_RAPORT (data date, prod_id long, ilosc_zam single, "
             "ilosc_prod single, ilosc_prod2 single, ilosc_prod3 single, ilosc_zam2 single, "
             "ilosc_zam3 single, blok long)",
             "CREATE TABLE PRODUKTY (PROD_ID long, nazwa text(50), PROD_WYDAJNOSCzREC single, "
             "PROD_WAGA single, act_recipe logical, act_to_rec logical)",
             "CREATE TABLE PRODUKTY_Receptury (PROD_ID long, sur_id long, ilosc_sur single)",
             "CREATE TABLE ZAKUPY (numer_id long, numer_zaksiegowania text(20), "
             "data_zaksiegowania date)",
             "CREATE TABLE ZAKUPY_ZAWART (numer_id long, sur_id long, WART_N money, "
             "ILOSC single)"});
        // Raw materials (yield Null), the products made by recipe, a semi-product.
        Sql_Wszystkie({"INSERT INTO PRODUKTY VALUES (1, 'mąka', Null, 1, 0, -1)",
                       "INSERT INTO PRODUKTY VALUES (2, 'sól', Null, 1, 0, -1)",
                       "INSERT INTO PRODUKTY VALUES (3, 'drożdże', 1, 1, -1, -1)",
                       "INSERT INTO PRODUKTY VALUES (4, 'cukier', Null, 1, 0, -1)",
                       "INSERT INTO PRODUKTY VALUES (10, 'chleb', 10, 1, -1, 0)",
                       "INSERT INTO PRODUKTY VALUES (11, 'ciasto', 10, 1, 0, 0)",
                       "INSERT INTO PRODUKTY VALUES (12, 'bułka', 1, 1, -1, 0)",
                       "INSERT INTO PRODUKTY VALUES (20, 'zaczyn', 4, 1, -1, -1)",
                       "INSERT INTO PRODUKTY_Receptury VALUES (10, 1, 2)",
                       "INSERT INTO PRODUKTY_Receptury VALUES (11, 1, 2)",
                       "INSERT INTO PRODUKTY_Receptury VALUES (12, 20, 1)",
                       "INSERT INTO PRODUKTY_Receptury VALUES (12, 2, 0.5)",
                       "INSERT INTO PRODUKTY_Receptury VALUES (12, 0, 7)",
                       "INSERT INTO PRODUKTY_Receptury VALUES (20, 1, 2)",
                       "INSERT INTO PRODUKTY_Receptury VALUES (20, 3, 1)",
                       "INSERT INTO PRODUKTY_Receptury VALUES (3, 4, 1)"});
        // Purchases: booked number, booking date; lines (raw material, net value, quantity).
        Sql_Wszystkie({"INSERT INTO ZAKUPY VALUES (1, 'K/1', #03/31/2003#)",
                       "INSERT INTO ZAKUPY VALUES (2, 'K/2', #04/01/2003 18:00:00#)",
                       "INSERT INTO ZAKUPY VALUES (3, '', #03/30/2003#)",
                       "INSERT INTO ZAKUPY VALUES (4, 'K/3', #04/02/2003#)",
                       "INSERT INTO ZAKUPY VALUES (5, 'K/4', #03/01/2003#)",
                       "INSERT INTO ZAKUPY_ZAWART VALUES (1, 1, 15, 6)",
                       "INSERT INTO ZAKUPY_ZAWART VALUES (2, 1, 10, 4)",
                       "INSERT INTO ZAKUPY_ZAWART VALUES (3, 1, 1000, 100)",
                       "INSERT INTO ZAKUPY_ZAWART VALUES (4, 1, 5, 10)",
                       "INSERT INTO ZAKUPY_ZAWART VALUES (5, 20, 3, 1)",
                       "INSERT INTO ZAKUPY_ZAWART VALUES (5, 2, 5, 10)",
                       "INSERT INTO ZAKUPY_ZAWART VALUES (5, 4, 100, 1)"});
    }
    // The report row of a day: product, ordered and produced quantities.
    void report(const std::string& day, int prod, int zam, int p1, int p2, int p3) {
        Sql("INSERT INTO ZAMOWIENIA_RAPORT (data, prod_id, ilosc_zam, ilosc_prod, ilosc_zam2, "
            "ilosc_prod2, ilosc_zam3, ilosc_prod3, blok) VALUES (#" +
            day + "#, " + std::to_string(prod) + ", " + std::to_string(zam) + ", " +
            std::to_string(p1) + ", " + std::to_string(zam + 1) + ", " + std::to_string(p2) + ", " +
            std::to_string(zam + 2) + ", " + std::to_string(p3) + ", 0)");
    }
    Wiersze documents() {
        return Wiersze_Z(
            "SELECT DDOUT_ID, DDOUT_DATA_WYST, DDOUT_NUMER FROM Produkcja ORDER BY DDOUT_ID");
    }
    Wiersze lines() {
        return Wiersze_Z(
            "SELECT SPRZ_ID, PROD_ID, ilosc_zam, ilosc_prod, ilosc_prod2, ilosc_prod3, "
            "WSPRZ_ILOSC, WSPRZ_CENA_B FROM PRODUKCJA_ZAWARTOSC ORDER BY SPRZ_ID, PROD_ID, "
            "ilosc_prod");
    }
    void expect_no_work_tables() {
        for (const char* t :
             {"_KPIR_pomoc2", "_raport_sprzedazy1", "_zuzycie_pomoc_1", "_zuzycie_pomoc_2",
              "_zuzycie_pomoc_3", "_zuzycie_pomoc_4", "_zuzycie_surowcow_pomoc", "_DO_ZUZYCIA",
              "_Zamowienia_araport_pomoc"})
            EXPECT_FALSE(Jest_Tabela(t)) << t;
    }
};

TEST_F(Krok220Test, DaysWithoutDocumentGetOneAndEveryLineIsCostedAtAveragePrices) {
    // 3 April already has a document, issued in the afternoon, with a line of its own.
    Sql_Wszystkie(
        {"INSERT INTO Produkcja (DDOUT_DATA_WYST, DDOUT_NUMER) VALUES "
         "(#04/03/2003 14:30:00#, 'PR/1')",
         "INSERT INTO PRODUKCJA_ZAWARTOSC (SPRZ_ID, PROD_ID, ilosc_prod, ilosc_prod2, "
         "WSPRZ_CENA_B) VALUES (1, 10, 10, Null, 99)",
         // Salt bought without a value given, and without a quantity given.
         "INSERT INTO ZAKUPY_ZAWART VALUES (5, 2, Null, 10)",
         "INSERT INTO ZAKUPY_ZAWART VALUES (5, 2, 3, Null)"});
    report("04/01/2003", 10, 13, 12, 5, 3);
    report("04/01/2003", 12, 2, 2, 0, 0);
    report("04/01/2003", 11, 1, 1, 0, 0);
    report("04/02/2003", 10, 1, 1, 0, 0);
    report("04/02/2003", 10, 2, 2, 0, 0);  // the same product twice on one day
    report("04/03/2003", 10, 5, 5, 0, 0);  // the day that has its document

    // The second run is a repeated one over a completed step: it changes nothing.
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_220), "");
        EXPECT_EQ(documents(), (Wiersze{{"1", "2003-04-03 14:30:00", "PR/1"},
                                        {"2", "2003-04-01", "Null"},
                                        {"3", "2003-04-02", "Null"}}));
        EXPECT_EQ(lines(), (Wiersze{
                               // 20 pieces: 2 recipes, 4 of flour: the flour of 3 April
                               // costs (15 + 10 + 5) / (6 + 4 + 10); the second shift
                               // without a quantity adds none.
                               {"1", "10", "0", "10", "Null", "0", "0", "3"},
                               // Ordered and produced quantities copied. 20 pieces, 4 of
                               // flour at (15 + 10) / (6 + 4): the purchase without a
                               // booking number and the one booked on 2 April left out.
                               {"2", "10", "13", "12", "5", "3", "0", "10"},
                               // Not made by its recipe.
                               {"2", "11", "1", "1", "0", "0", "0", "0"},
                               // 2 rolls: 2 of dough at its own price 3 (6), 1 of salt at
                               // (5 + 0 + 3) / (10 + 10 + 0), a figure not given counting
                               // as none; the dough's flour 1 at 2,5, its yeast never bought.
                               {"2", "12", "2", "2", "0", "0", "0", "8,9"},
                               {"3", "10", "1", "1", "0", "0", "0", "0,3"},
                               {"3", "10", "2", "2", "0", "0", "0", "0,6"},
                           }));
        expect_no_work_tables();
    }
    EXPECT_EQ(komunikaty.str(), "");
}

TEST_F(Krok220Test, EmptyReportAddsNothingAndLeavesCostsAsTheyWere) {
    Sql_Wszystkie({"INSERT INTO Produkcja (DDOUT_DATA_WYST) VALUES (#04/03/2003#)",
                   "INSERT INTO PRODUKCJA_ZAWARTOSC (SPRZ_ID, PROD_ID, ilosc_prod, WSPRZ_CENA_B) "
                   "VALUES (1, 10, 10, 99)"});
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_220), "");
    EXPECT_EQ(documents().size(), 1u);
    EXPECT_EQ(lines(), (Wiersze{{"1", "10", "0", "10", "0", "0", "0", "99"}}));
    expect_no_work_tables();
}

TEST_F(Krok220Test, FailureInsideTheStepEndsItQuietlyAndKeepsWhatItWrote) {
    // Leftovers of an interrupted run: one work table exists, with rows.
    Sql_Wszystkie({"create table [_DO_ZUZYCIA] ([prod_id] Long , ilosc Single DEFAULT 0)",
                   "INSERT INTO [_DO_ZUZYCIA] VALUES (10, 1000)"});
    report("04/01/2003", 10, 13, 12, 5, 3);
    // A report row without a day: its day condition cannot be built.
    Sql("INSERT INTO ZAMOWIENIA_RAPORT (data, prod_id, ilosc_prod) VALUES (Null, 10, 1)");
    report("04/02/2003", 10, 1, 1, 0, 0);

    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_220),
              "");  // returns normally: the loop records the version
    EXPECT_EQ(documents(), (Wiersze{{"1", "2003-04-01", "Null"}, {"2", "2003-04-02", "Null"}}));
    // The documents of the dated days stay; costing did not run.
    EXPECT_EQ(lines(), (Wiersze{{"1", "10", "13", "12", "5", "3", "0", "0"},
                                {"2", "10", "1", "1", "0", "0", "0", "0"}}));
    expect_no_work_tables();
    EXPECT_EQ(komunikaty.str(), "");
}

}  // namespace
}  // namespace kroki_test
