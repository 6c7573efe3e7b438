// Step 4.79 on a database of version 4.78: payers of the contractors and of their
// documents, and the numeric kinds of the settlement lines.
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Krok479 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(4.78);
        Sql("create table Kontrahenci (konh_id long, KONH_NAZ_SKROT text(50), konh_platnik "
            "bit, konh_platnik_kto text(50))");
        Sql("create table DEKLARACJE (id long, id_us long, Nazwa text(50), kwota "
            "money)");
        for (const char* t : {"KPIR_KSIEGA", "KH_KSIEGA"})
            Sql(std::string("create table ") + t + " (konh_id long, Wart_kp money)");
        for (const char* t :
             {"DOK_DAR", "DOK_DD", "DOK_DZ", "DOK_FAK", "DOK_FWE", "DOK_PAR", "DOK_PFA", "DOK_PW",
              "DOK_PZ", "DOK_RW", "DOK_WZ", "DOK_ZAK", "DOK_ZPF"})
            Sql(std::string("create table ") + t + " (konh_id long)");
        Sql("create table DOK_FIN (KP_ID long, konh_id long, KB text(1))");
        Sql("create table DOK_KFA (fkorout_id long, konh_id long, fkorout_wart_n money, "
            "fkorout_wart_vat money)");
        Sql("create table DOK_KZA (fkorout_id long, konh_id long, fkorout_wart_n money, "
            "fkorout_wart_vat money)");
        Sql("create table PLACE_LISTY_ZAWART (idp long, IDListy long)");
        Sql("create table DOK_FIN_ZAWART (countt counter, KP_ID long, dok_id long, rodzaj_dok "
            "text(20), kwota money)");
    }
};

TEST_F(Krok479, PayersOfContractorsAndTheirDocuments) {
    // 1 pays for 2 (of two contractors 'Bank', the first); 3 names no contractor; 4 names
    // itself.
    Sql("insert into Kontrahenci values (1, 'Bank', 0, '')");
    Sql("insert into Kontrahenci values (5, 'Bank', 0, '')");
    Sql("insert into Kontrahenci values (2, 'Sklep', -1, 'Bank')");
    Sql("insert into Kontrahenci values (3, 'Inny', -1, 'Nikt')");
    Sql("insert into Kontrahenci values (4, 'Sam', -1, 'Sam')");
    Sql("insert into DOK_FAK values (2)");
    Sql("insert into DOK_FAK values (9)");
    Sql("insert into PLACE_LISTY_ZAWART values (4, 1)");
    Sql("insert into DEKLARACJE values (1, 55, 'Vat7', 10)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_479), "");
    EXPECT_EQ(Wiersze_Z("select konh_id, Platnik_id, konh_platnik*1, konh_platnik_kto from "
                        "Kontrahenci order by konh_id"),
              (Wiersze{{"1", "1", "0", ""},
                       {"2", "1", "-1", "Bank"},
                       {"3", "3", "-1", "Nikt"},
                       {"4", "4", "0", ""},
                       {"5", "5", "0", ""}}));
    EXPECT_EQ(Wiersze_Z("select konh_id, Platnik_id from DOK_FAK order by konh_id"),
              (Wiersze{{"2", "1"}, {"9", "Null"}}));
    EXPECT_EQ(Kolumna("select Platnik_id from PLACE_LISTY_ZAWART"),
              (std::vector<std::string>{"4"}));
    EXPECT_EQ(Wiersze_Z("select Konh_id, Platnik_id from DEKLARACJE"), (Wiersze{{"55", "Null"}}));
    EXPECT_FALSE(Czyta_Sie("select id_us from DEKLARACJE"));
}

TEST_F(Krok479, SettlementKindsAndSignedTexts) {
    Sql("insert into DOK_FIN values (1, 0, 'K')");
    Sql("insert into DOK_FIN values (2, 0, 'B')");
    Sql("insert into DOK_KFA values (5, 0, 10, 2.3)");
    Sql("insert into DOK_KFA values (6, 0, -10, 0)");
    Sql("insert into DOK_KZA values (7, 0, 1, 0)");
    Sql("insert into DOK_KZA values (8, 0, 0, 0)");
    Sql("insert into DEKLARACJE values (9, 0, 'Vat7 luty', -5)");
    Sql("insert into DEKLARACJE values (10, 0, 'Vat7 marzec', 5)");
    struct Linia {
        int kp_id, dok_id;
        std::string rodzaj_dok, rodzaj, nowy;
    };
    const std::vector<Linia> linie = {
        {1, 0, "Zakup", "10", "Zakup"},
        {1, 7, "Korekta RR", "96", "Korekta Zak +"},
        {1, 8, "Korekta RR", "13", "Korekta Zak -"},
        // Lines that no statement chooses keep the new column's Null.
        {1, 8, "Korekta Zak -", "Null", "Korekta Zak -"},
        {1, 5, "Korekta", "95", "Korekta +"},
        {1, 6, "Korekta", "23", "Korekta -"},
        {1, 0, "KP", "56", "KP"},
        {2, 0, "KP", "57", "BP"},
        {1, 0, "KW", "55", "KW"},
        {2, 0, "KW", "58", "BW"},
        {1, 9, "VAT7 -", "84", "VAT7 +"},
        {1, 10, "VAT7 -", "83", "VAT7 -"},
        {1, 0, "faktura wew", "25", "faktura wew"},
        {1, 0, "PIT5", "82", "PIT5"},
        {1, 0, "Inne", "Null", "Inne"},
    };
    Wiersze oczekiwane;
    for (const Linia& l : linie) {
        Sql("insert into DOK_FIN_ZAWART (KP_ID, dok_id, rodzaj_dok) values (" +
            std::to_string(l.kp_id) + ", " + std::to_string(l.dok_id) + ", '" + l.rodzaj_dok +
            "')");
        oczekiwane.push_back({l.rodzaj, l.nowy});
    }
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_479), "");
    EXPECT_EQ(Wiersze_Z("select rodzaj, rodzaj_dok from DOK_FIN_ZAWART order by countt"),
              oczekiwane);
}

}  // namespace
}  // namespace kroki_test
