// The statement-list steps between 4.67 and 4.88 on databases of the version before
// each: production groups of book entries, fixed-asset accounts and clamped asset parts
// of purchase lines, debit and credit accounts of posting schemes, receipt marks and
// gross prices, correction lines linked to their invoice, and posting contractors.
#include <algorithm>
#include <string>
#include <vector>

#include "dao/dao.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki467 : public BazaKroku {};

TEST_F(Kroki467, BookEntryGroupsFromTheirSourceDocuments) {
    Otworz(4.68);
    Sql("create table KH_KSIEGA (kpir_id long, id_dok long, rodzaj long, id_bazy long)");
    Sql("create table KH_BAZY (ID_BAZY long)");
    for (const char* b : {"0", "1"}) Sql(std::string("insert into KH_BAZY values (") + b + ")");
    for (const char* t :
         {"DOK_FAK (FAKOUT_ID", "DOK_ZAK (Numer_id", "DOK_Par (DDOUT_ID", "DOK_rw (DDOUT_ID",
          "DOK_pw (DDOUT_ID", "DOK_kfa (FKOROUT_ID", "DOK_kza (FKOROUT_ID", "DOK_dar (DDOUT_ID"})
        Sql(std::string("create table ") + t + " long, id_grProd long, id_grProdPod long)");
    Sql("insert into DOK_FAK values (1, 4, 5)");
    Sql("insert into DOK_ZAK values (1, 6, 7)");
    Sql("insert into DOK_kza values (2, 8, 9)");
    const std::vector<std::pair<std::string, std::vector<std::string>>> wpisy = {
        {"1, 1, 20, 0", {"4", "5"}},        // an invoice
        {"2, 1, 11, 0", {"6", "7"}},        // a purchase with the same id
        {"3, 2, 13, 0", {"8", "9"}},        // a purchase correction
        {"4, 1, 20, 1", {"Null", "Null"}},  // another ledger database
        {"5, 3, 20, 0", {"Null", "Null"}},  // no such document
        {"6, 1, 20, Null", {"4", "5"}},     // the ledger database not given: the main one
        {"7, 1, 20, 7", {"4", "5"}},        // one that is not in the register: the main one
    };
    Wiersze oczekiwane;
    for (const auto& [w, o] : wpisy) {
        Sql("insert into KH_KSIEGA values (" + w + ")");
        oczekiwane.push_back(o);
    }
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_469), "");
    EXPECT_EQ(Wiersze_Z("select id_GRProd, id_GrProdPod from KH_KSIEGA order by kpir_id"),
              oczekiwane);
    EXPECT_EQ(Typ_Pola("KH_KSIEGA", "USER_COUNTT"), 4);
}

TEST_F(Kroki467, AssetAccountsAndAssetPartsOfPurchaseLines) {
    Otworz(4.71);
    Sql("create table Uzytkownicy (Stanowisko long)");
    Sql("insert into Uzytkownicy values (3)");
    Sql("create table SRODKI_TRWALE (ID long, id_dok long, id_prod long)");
    Sql("create table DOK_ZAK_ZAWART (numer_id long, sur_ID long, KontoFK text(80), WtymST "
        "single, Ilosc_Mag single)");
    Sql("create index Podstawowy on SRODKI_TRWALE (ID) with primary");
    for (const char* w : {"1, 1, 10", "2, 1, 11", "3, 2, 10", "4, 3, 10", "5, 4, 10"})
        Sql(std::string("insert into SRODKI_TRWALE values (") + w + ")");
    // Purchase 3 has two lines of the asset's product: the first account in text order.
    for (const char* w : {"1, 10, '011', -3, 10", "1, 11, '', 12, 10", "2, 10, Null, 4, 10",
                          "3, 10, '012', 0, 1", "3, 10, '013', 0, 1"})
        Sql(std::string("insert into DOK_ZAK_ZAWART values (") + w + ")");
    // An account wider than the asset's column is cut to it, and the asset named in the Log.
    const std::string dlugie(60, '7');
    Sql("insert into DOK_ZAK_ZAWART values (4, 10, '" + dlugie + "', 0, 1)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_472), "");
    EXPECT_EQ(Kolumna("select KONTOFK from SRODKI_TRWALE order by ID"),
              (std::vector<std::string>{"011", "Null", "Null", "012", dlugie.substr(0, 50)}));
    const std::vector<std::string> log = Linie_Logu("skrócono do");
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("SRODKI_TRWALE.KONTOFK ID = 5, \"" + dlugie + "\" skrócono do 50"),
              std::string::npos)
        << log[0];
    EXPECT_EQ(Kolumna("select WtymST from DOK_ZAK_ZAWART where numer_id<3 order by sur_ID, "
                      "numer_id"),
              (std::vector<std::string>{"0", "4", "10"}));
    EXPECT_EQ(Kolumna("select Stanowisko from Uzytkownicy"), (std::vector<std::string>{"0"}));
}

TEST_F(Kroki467, SchemeAccountsBySideAndReceiptMarks) {
    Otworz(4.73);
    Sql("create table KH_SCHEMATY_ZAWART (SYMBOL_SCH text(10), POLE long, COUNTT counter, "
        "konto text(50), STRONA text(2))");
    Sql("create index Podstawowy on KH_SCHEMATY_ZAWART (SYMBOL_SCH, POLE) with primary");
    for (const char* w : {"'S', 1, '201', 'WN'", "'S', 2, '700', 'MA'", "'S', 3, '100', 'X'"})
        Sql(std::string(
                "insert into KH_SCHEMATY_ZAWART (SYMBOL_SCH, POLE, konto, STRONA) values (") +
            w + ")");
    Sql("create table KH_Ksiega (kpir_id long, rodzaj long, opis text(50))");
    for (const char* w :
         {"1, 20, 'Kasa Fiskalna'", "2, 0, 'Kasa Fiskalna'", "3, 21, 'Kasa Fiskalna'"})
        Sql(std::string("insert into KH_Ksiega values (") + w + ")");
    Sql("create table Kontrahenci (konh_id long, rkonh_nazwa_id text(50), konh_platnik_kto "
        "text(50), LCEN_NAZWA_ID text(50), LCEN_NAZWA_ID_2 text(50), konh_okres text(20))");
    for (const char* w : {"1, 'Kasa Fiskalna', 'Sklep', 'Brak', 'Brak cennika !', 'Brak okresu'",
                          "2, 'Kasa Fiskalna', '', 'A', 'B', 'C'",
                          "3, 'Odbiorca', 'Brak', '', '', ''", "4, Null, '', '', '', ''"})
        Sql(std::string("insert into Kontrahenci values (") + w + ")");
    Sql("create table Produkty (prod_id long)");
    Sql("create table Dok_zak_zawart (numer_id long)");
    Sql("create table DOK_PAR (ddout_id long, konh_id long)");
    for (const char* w : {"1, 1", "2, 2", "3, 3", "4, 4"})
        Sql(std::string("insert into DOK_PAR values (") + w + ")");
    Sql("create table dok_par_zawart (countt counter, ZDDOUT_CENA_N money, ZDDOUT_ILOSC single, "
        "ZDDOUT_VAT text(3), WSPRZ_CENA_BRUTTO money, WSPRZ_WARTOSC_BRUTTO money)");
    // A line at the exempt rate 'zw' has no number to add: its gross price is Null and
    // the step goes on. A line without a quantity keeps its gross value.
    for (const char* w : {"10, 2, '22', 0, 0", "10, 0, '7', 0, 0", "10, 1, '7', 11, 0",
                          "10, 3, 'zw', 0, 0", "10, Null, '7', 11, 0", "10, 2, '22', Null, Null"})
        Sql(std::string("insert into dok_par_zawart (ZDDOUT_CENA_N, ZDDOUT_ILOSC, ZDDOUT_VAT, "
                        "WSPRZ_CENA_BRUTTO, WSPRZ_WARTOSC_BRUTTO) values (") +
            w + ")");
    for (int v = 474; v <= 478; ++v) ASSERT_EQ(Krok(Zbudowane_Kroki().at(v)), "") << v;

    EXPECT_EQ(Wiersze_Z("select Konto_WN, Konto_MA from KH_SCHEMATY_ZAWART order by POLE"),
              (Wiersze{{"201", "Null"}, {"Null", "700"}, {"Null", "Null"}}));
    EXPECT_FALSE(Czyta_Sie("select konto from KH_SCHEMATY_ZAWART"));
    EXPECT_EQ(Kolumna("select rodzaj from KH_Ksiega order by kpir_id"),
              (std::vector<std::string>{"22", "22", "21"}));
    EXPECT_EQ(Wiersze_Z("select KasaFis*1, Sklepowy*1 from DOK_PAR order by ddout_id"),
              (Wiersze{{"0", "-1"}, {"-1", "0"}, {"0", "0"}, {"Null", "Null"}}));
    EXPECT_EQ(Wiersze_Z("select WSPRZ_CENA_BRUTTO, WSPRZ_WARTOSC_BRUTTO from dok_par_zawart "
                        "order by countt"),
              (Wiersze{{"12,2", "24,4"},
                       {"0", "0"},
                       {"11", "11"},
                       {"Null", "0"},
                       {"11", "0"},
                       {"12,2", "24,4"}}));
    EXPECT_EQ(
        Wiersze_Z("select konh_platnik_kto, LCEN_NAZWA_ID, LCEN_NAZWA_ID_2, konh_okres "
                  "from Kontrahenci order by konh_id"),
        (Wiersze{{"Sklep", "", "", ""}, {"", "A", "B", "C"}, {"", "", "", ""}, {"", "", "", ""}}));
}

TEST_F(Kroki467, SettlementSignsCorrectionLinesAndPostingContractors) {
    Otworz(4.80);
    Sql("create table DOK_FIN_ZAWART (kwota money)");
    for (const char* w : {"-5", "7"})
        Sql(std::string("insert into DOK_FIN_ZAWART values (") + w + ")");
    Sql("create table DOK_KFA (fkorout_id long, fakout_id long)");
    Sql("insert into DOK_KFA values (1, 30)");
    Sql("insert into DOK_KFA values (2, 0)");
    Sql("create table DOK_KFA_ZAWART (FKOROUT_ID long, PROD_ID long, ZFKOROUT_CENA_N money, "
        "CENA_ORG money, ZFKOROUT_VAT text(3))");
    Sql("insert into DOK_KFA_ZAWART values (1, 5, 1, 1, '22')");
    Sql("insert into DOK_KFA_ZAWART values (2, 5, 1, 1, '22')");
    // A correction whose invoice is not given, and a line of no correction.
    Sql("insert into DOK_KFA values (3, null)");
    Sql("insert into DOK_KFA_ZAWART values (3, 5, 1, 1, '22')");
    Sql("insert into DOK_KFA_ZAWART values (4, null, 1, null, '22')");
    Sql("create table KH_KONTA (COUNTT long, KONH_ID long)");
    Sql("insert into KH_KONTA values (1, 0)");
    Sql("insert into KH_KONTA values (2, 9)");
    Sql("insert into KH_KONTA values (3, 4)");
    Sql("insert into KH_KONTA values (4, 7)");  // a contractor that is not there
    Sql("create table KONTRAHENCI (KONH_ID long)");
    Sql("insert into KONTRAHENCI values (9)");
    Sql("insert into KONTRAHENCI values (4)");
    Sql("create table kh_ksiega (kpir_id long, rodzaj long)");
    for (const char* w : {"1, 51", "2, 99", "3, 20", "4, 20"})
        Sql(std::string("insert into kh_ksiega values (") + w + ")");
    Sql("create table KH_DEKRETY (COUNTT long, kpir_id long, COUNTT_KONTA long, KONH_ID long, "
        "OPIS text(20))");
    const std::vector<std::pair<std::string, std::string>> linie = {
        {"1, 1, 2, 0, 'a'", "9"},
        {"2, 1, 1, 0, 'a'", "9"},
        {"3, 1, 1, 0, 'b'", "0"},
        {"4, 2, 2, 0, 'a'", "9"},
        {"5, 2, 1, 0, 'a'", "0"},
        {"6, 3, 2, 0, 'a'", "9"},
        {"7, 3, 1, 0, 'b'", "9"},
        // Two contractors in one entry: the line without one takes the first line's.
        {"8, 4, 3, 0, 'a'", "4"},
        {"9, 4, 2, 0, 'a'", "9"},
        {"10, 4, 1, 0, 'a'", "4"},
        {"11, 1, 4, 0, 'b'", "0"},
    };
    std::vector<std::string> oczekiwane;
    for (const auto& [w, o] : linie) {
        Sql("insert into KH_DEKRETY values (" + w + ")");
        oczekiwane.push_back(o);
    }
    for (int przebieg = 0; przebieg < 2; ++przebieg)
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_481), "");
    EXPECT_EQ(Kolumna("select kwota from DOK_FIN_ZAWART"), (std::vector<std::string>{"5", "7"}));
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_485), "");
    EXPECT_EQ(Kolumna("select Fakout_id_Z from DOK_KFA_ZAWART order by FKOROUT_ID"),
              (std::vector<std::string>{"30", "0", "0", "0"}));
    EXPECT_EQ(Wiersze_Z("select PROD_ID, CENA_ORG from DOK_KFA_ZAWART where FKOROUT_ID=4"),
              (Wiersze{{"0", "0"}}));
    EXPECT_ANY_THROW(Sql("insert into DOK_KFA_ZAWART values (1, 5, 1, 1, '22', 30)"));
    // Two lines that the key cannot tell apart once a price not given is 0 stop the step.
    Sql("alter table DOK_KFA_ZAWART drop constraint Podstawowy");
    Sql("insert into DOK_KFA_ZAWART values (3, 5, 1, null, '22', null)");
    Sql("insert into DOK_KFA_ZAWART values (3, 5, 1, 0, '22', 0)");
    EXPECT_NE(Krok(&ClsKonwersje::Konwersja_485)
                  .find("powtórzony klucz "
                        "FKOROUT_ID,PROD_ID,ZFKOROUT_CENA_N,CENA_ORG,ZFKOROUT_VAT,Fakout_id_Z = 3, "
                        "5, 1, 0, 22, 0"),
              std::string::npos);
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_488), "");
    EXPECT_EQ(Kolumna("select KONH_ID from KH_DEKRETY order by COUNTT"), oczekiwane);
}

}  // namespace
}  // namespace kroki_test

namespace kroki_test {
namespace {

TEST_F(Kroki467, PurchaseDatesKeepTheDayAlone) {
    Otworz(4.85);
    Sql("create table DOK_ZAK (numer_id long, data_zaksiegowania datetime, Data_Vat datetime, "
        "Data_Rozl datetime, Na_Nast_M bit)");
    Sql("create table DOK_KZA (fkorout_id long, FKOROUT_DATA_WYST datetime, Data_Vat datetime, "
        "Data_Rozl datetime, Na_Nast_M bit)");
    Sql("insert into DOK_ZAK values (1, #3/5/2005 10:30#, Null, Null, 0)");
    Sql("insert into DOK_ZAK values (2, #3/5/2005#, #3/9/2005 18:15#, #3/20/2005#, 0)");
    Sql("insert into DOK_KZA values (1, #4/2/2005 8:00#, Null, Null, 0)");
    Sql("create table DOK_FAK (fakout_id long)");
    Sql("create table DOK_KFA (fkorout_id long)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_486), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_487), "");
    // Each date as its day and the part of the day left.
    const std::string dni =
        "year(Data_Vat)*10000+month(Data_Vat)*100+day(Data_Vat), "
        "cdbl(Data_Vat)-int(cdbl(Data_Vat)), "
        "year(Data_Rozl)*10000+month(Data_Rozl)*100+day(Data_Rozl), "
        "cdbl(Data_Rozl)-int(cdbl(Data_Rozl))";
    EXPECT_EQ(Wiersze_Z("select " + dni + " from DOK_ZAK order by numer_id"),
              (Wiersze{{"20050305", "0", "20050305", "0"}, {"20050309", "0", "20050320", "0"}}));
    EXPECT_EQ(Wiersze_Z("select " + dni + " from DOK_KZA"),
              (Wiersze{{"20050402", "0", "20050402", "0"}}));
    EXPECT_FALSE(Czyta_Sie("select Na_Nast_M from DOK_ZAK"));
    for (const char* t : {"DOK_FAK", "DOK_KFA", "DOK_KZA"})
        EXPECT_TRUE(Czyta_Sie(std::string("select Sklepowa from ") + t)) << t;
}

// Step 4.82 twice over tables that exist only in part: each index dropped and created
// again, the old "ind" indexes replaced, and a workstation setting name held twice
// leaving its table without a key.
TEST_F(Kroki467, PlainIndexesReplaceTheOldOnes) {
    Otworz(4.81);
    Sql("create table KPIR_OKRESY (id long)");
    Sql("create table DOK_DZ_ZAWART (DDOUT_ID long, PROD_ID long, ZDDOUT_CENA_N money, "
        "ZDDOUT_ILOSC single, ZDDOUT_VAT text(4))");
    Sql("create index indZDDOUT_ILOSC on DOK_DZ_ZAWART (ZDDOUT_ILOSC)");
    Sql("create table SETUP_STANOWISKO (Nazwa text(255), STAN long)");
    Sql("insert into SETUP_STANOWISKO values ('DRUKARKA', 1)");
    Sql("insert into SETUP_STANOWISKO values ('DRUKARKA', 2)");
    Sql("create table WYDRUKI (id long)");
    const std::vector<std::string> indeksy = {"DDOUT_ID", "PROD_ID", "ZDDOUT_CENA_N",
                                              "ZDDOUT_ILOSC", "ZDDOUT_VAT"};
    for (int przebieg = 0; przebieg < 2; ++przebieg) {
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_482), "");
        auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
        std::vector<std::string> nazwy;
        for (const dao::Index& i : baza->TableDefs("DOK_DZ_ZAWART").Indexes())
            nazwy.push_back(i.Name);
        std::sort(nazwy.begin(), nazwy.end());
        EXPECT_EQ(nazwy, indeksy);
        EXPECT_TRUE(baza->TableDefs("SETUP_STANOWISKO").Indexes().empty());
    }
    EXPECT_FALSE(Jest_Tabela("WYDRUKI"));
    EXPECT_TRUE(Czyta_Sie("select ZamknieteKasy from KPIR_OKRESY"));
}

}  // namespace
}  // namespace kroki_test
