// Steps 2.17 to 2.19: production tables, the sales-stock recount since the latest
// stocktaking, and the quantity columns of the production lines.
#include "baza_kroku.h"

namespace kroki_test {
namespace {

// Runs statements in order.
void Sql_Wszystkie(std::initializer_list<const char*> teksty) {
    for (const char* t : teksty) polaczenie().Execute(t);
}

constexpr int kDaoCurrency = 5;
constexpr int kDaoSingle = 6;

class Krok217Test : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.16);
        Sql_Wszystkie({"CREATE TABLE wlasciciel (id long, nazwa text(50))",
                       "CREATE TABLE ustawienia (id long, opcja text(50))",
                       "CREATE TABLE KADRY_Pracownicy (id counter, nazwisko text(50))",
                       "CREATE TABLE ZAKUPY_KOREKTA (numer_id long)",
                       "CREATE TABLE ZAKUPY_KOREKTA_ZAWART (numer_id long, sur_id long)",
                       "CREATE TABLE ZAKUPY_ZAWART (numer_id long, sur_id long, CENA_N single, "
                       "WART_N single, ILOSC single)",
                       "CREATE TABLE zakupy (numer_id long, WART_N single, VAT single)",
                       "CREATE INDEX indWART_N ON zakupy (WART_N)",
                       "INSERT INTO ZAKUPY_ZAWART VALUES (1, 7, 2.5, 12.3456, 4)",
                       "INSERT INTO zakupy VALUES (1, 12.3456, 2.72)",
                       "INSERT INTO KADRY_Pracownicy (nazwisko) VALUES ('Nowak')"});
    }
};

TEST_F(Krok217Test, ProductionTablesComeSettingsAndCorrectionsGoAmountsBecomeMoney) {
    // The second run is the resumed one over a partly converted database: every
    // statement's failure is an expected one.
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_217), "");
        for (const char* gone :
             {"wlasciciel", "ustawienia", "ZAKUPY_KOREKTA", "ZAKUPY_KOREKTA_ZAWART"})
            EXPECT_FALSE(Jest_Tabela(gone)) << gone;
        EXPECT_EQ(Wiersze_Z("SELECT * FROM Produkcja"), Wiersze{});
        EXPECT_EQ(Wiersze_Z("SELECT * FROM PRODUKCJA_ZAWARTOSC"), Wiersze{});
        EXPECT_EQ(Wiersze_Z("SELECT nazwisko, Kier_symbol, ETAT FROM KADRY_Pracownicy"),
                  (Wiersze{{"Nowak", "Null", "Null"}}));
        EXPECT_EQ(Wiersze_Z("SELECT CENA_N, WART_N FROM ZAKUPY_ZAWART"),
                  (Wiersze{{"2,5", "12,3456"}}));
        EXPECT_EQ(Wiersze_Z("SELECT WART_N, VAT FROM zakupy"), (Wiersze{{"12,3456", "2,72"}}));
        EXPECT_EQ(Typ_Pola("ZAKUPY_ZAWART", "CENA_N"), kDaoCurrency);
        EXPECT_EQ(Typ_Pola("ZAKUPY_ZAWART", "WART_N"), kDaoCurrency);
        EXPECT_EQ(Typ_Pola("zakupy", "WART_N"), kDaoCurrency);
        EXPECT_EQ(Typ_Pola("zakupy", "VAT"), kDaoCurrency);
        EXPECT_THROW(Wiersze_Z("SELECT ccxxdfredvvcxds__ddfr FROM zakupy"), jet::Error);
    }
    // The header's defaults and its kind column, which allows Null.
    Sql("INSERT INTO Produkcja (DDOUT_NUMER) VALUES ('P/1')");
    EXPECT_EQ(Wiersze_Z("SELECT DDOUT_ID, DDOUT_WART_N, rabat, b_rabat_v, rodzdok, wart_kp "
                        "FROM Produkcja"),
              (Wiersze{{"1", "0", "0", "0", "Null", "Null"}}));
    EXPECT_EQ(komunikaty.str(), "");
}

TEST_F(Krok217Test, LinesGetSixQuantityColumnsWithDefaultZero) {
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_217), "");
    Sql("INSERT INTO PRODUKCJA_ZAWARTOSC (SPRZ_ID, PROD_ID) VALUES (1, 2)");
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_219), "");
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_219), "");  // resumed: the columns exist
    Sql("INSERT INTO PRODUKCJA_ZAWARTOSC (SPRZ_ID, PROD_ID) VALUES (1, 3)");
    EXPECT_EQ(
        Wiersze_Z("SELECT PROD_ID, WSPRZ_ILOSC, ilosc_zam, ilosc_prod, ilosc_zam2, ilosc_prod2, "
                  "ilosc_zam3, ilosc_prod3 FROM PRODUKCJA_ZAWARTOSC ORDER BY PROD_ID"),
        (Wiersze{{"2", "0", "Null", "Null", "Null", "Null", "Null", "Null"},
                 {"3", "0", "0", "0", "0", "0", "0", "0"}}));
    EXPECT_EQ(Typ_Pola("PRODUKCJA_ZAWARTOSC", "ilosc_prod3"), kDaoSingle);
}

// The sales-stock recount of 2.18.
class Krok218Test : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.16);
        Sql_Wszystkie(
            {"CREATE TABLE REMANENTINWENT (ID_RI counter, Data date)",
             "CREATE TABLE PRODUKTY (prod_id long, nazwa text(50))",
             "CREATE TABLE SPRZEDAZ_ILOSC (prod_id long, ILOSC single, rozch_il single)",
             "CREATE TABLE SPRZEDAZ_NEW (DDOUT_ID counter, DDOUT_NUMER text(50), "
             "DDOUT_DATA_WYST date, rodzdok text(1))",
             "CREATE TABLE SPRZEDAZ_ZAWARTOSC (SPRZ_ID long, PROD_ID long, WSPRZ_ILOSC single)"});
        for (int p = 1; p <= 8; ++p) {
            Sql("INSERT INTO PRODUKTY VALUES (" + std::to_string(p) + ", 'P" + std::to_string(p) +
                "')");
            if (p != 8)  // product 8 has no quantity row
                Sql("INSERT INTO SPRZEDAZ_ILOSC VALUES (" + std::to_string(p) + ", 100, 30)");
        }
        // Sales documents (number, kind, date of issue), each with its lines (product,
        // quantity); the comments say what 2.18 makes of them with the stocktaking of
        // 10 March 2003.
        struct Dokument {
            const char* numer;
            const char* rodzaj;
            const char* data;
            std::vector<std::pair<int, int>> linie;
        };
        const Dokument dokumenty[] = {
            {"'F/1'", "'R'", "#03/10/2003 15:00:00#", {{1, 5}}},   // on the stocktaking day
            {"'F/2'", "'R'", "#03/11/2003#", {{2, 7}}},            // midnight of the next day
            {"''", "'R'", "#03/12/2003#", {{3, 9}}},               // unnumbered
            {"Null", "'R'", "#03/12/2003#", {{4, 11}}},            // number Null
            {"'P/1'", "'P'", "#03/12/2003#", {{5, 13}}},           // another kind
            {"'F/3'", "'R'", "#03/12/2003#", {{6, 20}, {6, 25}}},  // both lines count
            {"'F/4'", "'R'", "#03/12/2003#", {{8, 4}}},            // product without a quantity row
            {"'F/5'", "'R'", "#06/15/1999#", {{7, 3}}},            // long before the stocktaking
        };
        int id = 0;
        for (const auto& d : dokumenty) {
            Sql(std::string("INSERT INTO SPRZEDAZ_NEW (DDOUT_NUMER, rodzdok, DDOUT_DATA_WYST) "
                            "VALUES (") +
                d.numer + ", " + d.rodzaj + ", " + d.data + ")");
            ++id;
            for (auto [prod, ilosc] : d.linie)
                Sql("INSERT INTO SPRZEDAZ_ZAWARTOSC VALUES (" + std::to_string(id) + ", " +
                    std::to_string(prod) + ", " + std::to_string(ilosc) + ")");
        }
    }
    Wiersze quantities() {
        return Wiersze_Z("SELECT prod_id, ILOSC, rozch_il FROM SPRZEDAZ_ILOSC ORDER BY prod_id");
    }
};

TEST_F(Krok218Test, RecountCoversNumberedSalesAfterTheLatestStocktakingDay) {
    // The latest stocktaking is the one with the latest date, not the highest key.
    Sql_Wszystkie({"INSERT INTO REMANENTINWENT (Data) VALUES (#03/10/2003#)",
                   "INSERT INTO REMANENTINWENT (Data) VALUES (#03/05/2003#)"});
    // A work table left by an interrupted run, with rows in it.
    Sql_Wszystkie({"CREATE TABLE [_REMANENTINWENT_ZAWARTOSC123] (ID long, sprz_il single)",
                   "INSERT INTO [_REMANENTINWENT_ZAWARTOSC123] VALUES (6, 1000)"});
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_218), "");
    const Wiersze expected = {
        {"1", "130", "0"},  // issued on the stocktaking day itself: not counted
        {"2", "123", "7"},  // issued at midnight of the next day: counted
        {"3", "130", "0"},  // unnumbered
        {"4", "130", "0"},  // number Null
        {"5", "130", "0"},  // another kind of document
        {"6", "85", "45"},  // two lines of one document, both counted
        {"7", "130", "0"},  // sold only before the stocktaking
    };
    EXPECT_EQ(quantities(), expected);  // product 8 is not given a row
    EXPECT_FALSE(Jest_Tabela("_REMANENTINWENT_ZAWARTOSC123"));

    // Again over the same data: the recount equals the stored rozch_il.
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_218), "");
    EXPECT_EQ(quantities(), expected);

    // Later sales lower ILOSC by exactly what rozch_il did not yet hold.
    Sql_Wszystkie(
        {"INSERT INTO SPRZEDAZ_NEW (DDOUT_NUMER, rodzdok, DDOUT_DATA_WYST) "
         "VALUES ('F/6', 'R', #03/20/2003#)",
         "INSERT INTO SPRZEDAZ_ZAWARTOSC VALUES (9, 6, 5)"});
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_218), "");
    EXPECT_EQ(quantities()[5], (std::vector<std::string>{"6", "80", "50"}));
    EXPECT_EQ(komunikaty.str(), "");
}

TEST_F(Krok218Test, WithoutStocktakingEveryNumberedSaleCounts) {
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_218), "");
    EXPECT_EQ(quantities(), (Wiersze{{"1", "125", "5"},
                                     {"2", "123", "7"},
                                     {"3", "130", "0"},
                                     {"4", "130", "0"},
                                     {"5", "130", "0"},
                                     {"6", "85", "45"},
                                     {"7", "127", "3"}}));
}

// A product held twice: its rows' quantities count together (an empty one as none) and
// the recount stands on its first row, the other taking none.
TEST_F(Krok218Test, AProductHeldTwiceIsRecountedOnItsFirstRow) {
    Sql_Wszystkie({"INSERT INTO SPRZEDAZ_ILOSC VALUES (1, 40, 10)",
                   "INSERT INTO SPRZEDAZ_ILOSC VALUES (2, Null, Null)"});
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_218), "");
    EXPECT_EQ(Wiersze_Z("SELECT prod_id, ILOSC, rozch_il FROM SPRZEDAZ_ILOSC WHERE prod_id<=2"),
              (Wiersze{{"1", "175", "5"}, {"2", "123", "7"}, {"1", "0", "0"}, {"2", "0", "0"}}));
    EXPECT_FALSE(Czyta_Sie("SELECT [_nr_POM] FROM SPRZEDAZ_ILOSC"));
}

TEST_F(Krok218Test, StocktakingThatCannotBeReadStopsTheStep) {
    Sql("DROP TABLE REMANENTINWENT");
    const Wiersze before = quantities();
    // Ignore: no recordset to read the count from, the failure reaches the loop.
    Odpowiedzi({platform::mb::ignore});
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_218).rfind("error ", 0), 0u);
    EXPECT_EQ(quantities(), before);
    // Abort ends the tool with the fatal marker.
    Odpowiedzi({platform::mb::abort});
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_218).rfind("process end 1\n", 0), 0u);
    DbOtwórz();  // the end closed the connection
    EXPECT_EQ(quantities(), before);
}

}  // namespace
}  // namespace kroki_test
