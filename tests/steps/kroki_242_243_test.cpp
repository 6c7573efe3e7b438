// Steps 2.42 and 2.43 on a database of version 2.41: purchase prices into the price
// lists, the book link moved to invoice headers, cash-document texts split into a
// contractor and a description, and the wider issuer column.
#include "steps/165_299/wspolne.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki242 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.41);
        Sql("create table PRODUKTY (PROD_ID long, rodzaj text(1))");
        Sql("create table CENNIKI_ZAWART (PROD_ID long, CEN_Narzut money, CEN_NETTO money, "
            "Narzut single)");
        Sql("create table zakupy_zawart (numer_id long, sur_ID long, CENA_N money, WtymRiR "
            "single, Countt counter)");
        Sql("create index indWtymRiR on zakupy_zawart (WtymRiR)");
        Sql("create table faktury (fakout_id long, id_kpir long)");
        Sql("create table faktury_ZAWART (fakout_id long, KPIR_id long, Nie_Ksieguj logical, "
            "Countt counter)");
        Sql("create table k_faktur (fkorout_id long, id_kpir long)");
        Sql("create table k_faktur_ZAWART (fkorout_id long, KPIR_id long, WtymRiR single, Countt "
            "counter)");
        Sql("create table Paragon_ZAWART (DDOUT_ID long, kpir_id long, Nie_Ksieguj logical)");
        Sql("create table DOWODY_DOSTAW_Zawart (DDOUT_ID long)");
        Sql("create table DOWODY_Zwrotu_Zawart (DDOUT_ID long)");
        Sql("create table SRODKI_TRWALE_ZAWART (id long, kpir_id long)");
        Sql("create table KP (id counter, konh_id long, opis text(100))");
        Sql("create table KONTRAHENCI (konh_id long, konh_nazwa text(100), konh_nazwa2 "
            "text(100))");
    }
    std::string Krok242() { return Krok(&ClsKonwersje::Konwersja_242); }
};

TEST_F(Kroki242, BoughtProductsTakeThePurchasePriceRaisedByTheLineMarkup) {
    Sql("insert into PRODUKTY values (1, 'S')");
    Sql("insert into PRODUKTY values (2, 'T')");
    Sql("insert into PRODUKTY values (3, 'P')");  // an own product keeps its prices
    Sql("insert into PRODUKTY values (4, 'T')");  // bought, but never purchased
    for (int p = 1; p <= 4; ++p)
        Sql("insert into CENNIKI_ZAWART values (" + std::to_string(p) + ", 9, 9, " +
            (p == 2 ? "25" : "10") + ")");
    Sql("insert into zakupy_zawart (numer_id, sur_ID, CENA_N) values (1, 1, 2)");
    Sql("insert into zakupy_zawart (numer_id, sur_ID, CENA_N) values (1, 2, 4)");
    Sql("insert into zakupy_zawart (numer_id, sur_ID, CENA_N) values (1, 3, 1)");
    // The latest purchase line with a price counts; a line without a markup adds none.
    Sql("insert into zakupy_zawart (numer_id, sur_ID, CENA_N) values (2, 1, 3)");
    Sql("insert into zakupy_zawart (numer_id, sur_ID, CENA_N) values (3, 1, Null)");
    Sql("insert into PRODUKTY values (5, 'S')");
    Sql("insert into CENNIKI_ZAWART values (5, 9, 9, Null)");
    Sql("insert into zakupy_zawart (numer_id, sur_ID, CENA_N) values (1, 5, 6)");
    ASSERT_EQ(Krok242(), "");
    EXPECT_EQ(Wiersze_Z("select PROD_ID, CEN_Narzut, CEN_NETTO from CENNIKI_ZAWART order by 1"),
              (Wiersze{{"1", "3", "3,3"},
                       {"2", "4", "5"},
                       {"3", "9", "9"},
                       {"4", "9", "9"},
                       {"5", "6", "6"}}));
}

TEST_F(Kroki242, BookLinkMovesToInvoiceHeadersAndOldLineColumnsGo) {
    // An invoice takes the lowest book entry its lines name; a line without one (Null or
    // 0) takes no part, and an invoice whose lines name none keeps its own.
    const struct {
        std::vector<const char*> linie;  // the KPIR_id of the invoice's lines
        const char* przed;
        const char* po;
    } przypadki[] = {
        {{"71"}, "null", "71"},
        {{}, "5", "5"},
        {{"null", "73", "72"}, "0", "72"},
        {{"null"}, "0", "0"},
        {{"74", "74"}, "0", "74"},
        {{"0", "75"}, "0", "75"},
    };
    int id = 0;
    for (const auto& p : przypadki) {
        Sql("insert into faktury values (" + std::to_string(++id) + ", " + p.przed + ")");
        Sql("insert into k_faktur values (" + std::to_string(id) + ", " + p.przed + ")");
        for (const std::string v : p.linie) {
            Sql("insert into faktury_ZAWART (fakout_id, KPIR_id) values (" + std::to_string(id) +
                ", " + v + ")");
            Sql("insert into k_faktur_ZAWART (fkorout_id, KPIR_id) values (" + std::to_string(id) +
                ", " + v + ")");
        }
    }
    Sql("insert into SRODKI_TRWALE_ZAWART values (1, 91)");
    ASSERT_EQ(Krok242(), "");
    Wiersze po;
    for (const auto& p : przypadki) po.push_back({std::to_string(po.size() + 1), p.po});
    EXPECT_EQ(Wiersze_Z("select fakout_id, id_kpir from faktury order by 1"), po);
    EXPECT_EQ(Wiersze_Z("select fkorout_id, id_kpir from k_faktur order by 1"), po);
    EXPECT_EQ(Kolumna("select id_kpir from k_faktur_ZAWART where fkorout_id=1"),
              std::vector<std::string>{"71"});
    EXPECT_EQ(Kolumna("select id_kpir from SRODKI_TRWALE_ZAWART"), std::vector<std::string>{"91"});
    for (const char* gone :
         {"select WtymRiR from zakupy_zawart", "select WtymRiR from k_faktur_ZAWART",
          "select kpir_id from k_faktur_ZAWART", "select kpir_id from faktury_ZAWART",
          "select Nie_Ksieguj from faktury_ZAWART", "select kpir_id from Paragon_ZAWART",
          "select Nie_Ksieguj from Paragon_ZAWART", "select ccxxdfredvvcxds__ddfr from KP"})
        EXPECT_FALSE(Czyta_Sie(gone)) << gone;
    for (const char* added :
         {"select id_kpir from DOWODY_DOSTAW_Zawart", "select id_kpir from DOWODY_Zwrotu_Zawart",
          "select Vat_Termin_Platnosci from PRODUKTY",
          "select Dla, Zmiana_kwoty_na_dekretacji from KP"})
        EXPECT_TRUE(Czyta_Sie(added)) << added;
}

TEST_F(Kroki242, CashTextsSplitAtTheMarkerIntoContractorAndDescription) {
    Sql("insert into KONTRAHENCI values (7, 'Jan', 'Kowalski')");
    Sql("insert into KONTRAHENCI values (8, 'D''Arc', 'Joanna')");
    Sql("insert into KONTRAHENCI values (9, '', '')");
    Sql("insert into KONTRAHENCI values (10, 'Bez', null)");
    struct Przypadek {
        int konh_id;
        const char* opis;
        Wiersze po;  // konh_id, opis, dla
    } przypadki[] = {
        {0, "Jan  Kowalski«+»Za chleb 'razowy'", {{"7", "Za chleb \"razowy\"", "Niezależne"}}},
        {0, "Obcy«+»O'Reilly", {{"0", "O\"Reilly", "Obcy"}}},
        {0, "bez znacznika 'x' «+", {{"0", "bez znacznika 'x' «+", ""}}},
        // An empty name: the contractor with two empty name parts is called "  ".
        {0, "«+»tekst", {{"0", "tekst", ""}}},
        // A name with an apostrophe is looked up with a double quote and never matches.
        {0, "D'Arc  Joanna«+»zaliczka", {{"0", "zaliczka", "D\"Arc  Joanna"}}},
        {0, "Bez  «+»x", {{"0", "x", "Bez  "}}},  // a Null second part matches nothing
        {0, "Jan  Kowalski«+»raz«+»dwa", {{"7", "raz«+»dwa", "Niezależne"}}},
        {3, "Jan  Kowalski«+»ma kontrahenta", {{"3", "Jan  Kowalski«+»ma kontrahenta", ""}}},
    };
    for (const auto& p : przypadki)
        Sql("insert into KP (konh_id, opis) values (" + std::to_string(p.konh_id) + ", '" +
            kroki::W_Apostrofach(p.opis) + "')");
    ASSERT_EQ(Krok242(), "");
    const Wiersze po = Wiersze_Z("select konh_id, opis, dla from KP order by id");
    ASSERT_EQ(po.size(), std::size(przypadki));
    for (size_t i = 0; i < po.size(); ++i)
        EXPECT_EQ(Wiersze{po[i]}, przypadki[i].po) << przypadki[i].opis;
}

// A document without a description has no name to move: it stays, and the step goes on.
TEST_F(Kroki242, ANullDescriptionWithoutContractorStaysAndTheStepGoesOn) {
    Sql("insert into KP (konh_id, opis) values (0, 'Obcy«+»pierwszy')");
    Sql("insert into KP (konh_id, opis) values (0, null)");
    Sql("insert into KP (konh_id, opis) values (0, 'Obcy«+»trzeci')");
    ASSERT_EQ(Krok242(), "");
    EXPECT_EQ(Wiersze_Z("select konh_id, opis, dla from KP order by id"),
              (Wiersze{{"0", "pierwszy", "Obcy"}, {"0", "Null", ""}, {"0", "trzeci", "Obcy"}}));
}

TEST_F(Kroki242, IssuerColumnsWidenWithTheirValues) {
    for (const char* t : {"DOK_WEWNENTRZNE", "DOWODY_DOSTAW", "DOWODY_ZWROTU", "Paragon"}) {
        Sql(std::string("create table ") + t + " (DDOUT_ID long, FAKOUT_WYST text(26))");
        Sql(std::string("insert into ") + t + " values (1, 'Anna Nowak')");
    }
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_243), "");
    const std::string dlugi(81, 'x');
    for (const char* t : {"DOK_WEWNENTRZNE", "DOWODY_DOSTAW", "DOWODY_ZWROTU", "Paragon"}) {
        Sql(std::string("insert into ") + t + " values (2, '" + dlugi + "')");
        EXPECT_EQ(Kolumna(std::string("select FAKOUT_WYST from ") + t + " order by DDOUT_ID"),
                  (std::vector<std::string>{"Anna Nowak", dlugi}))
            << t;
    }
}

}  // namespace
}  // namespace kroki_test
