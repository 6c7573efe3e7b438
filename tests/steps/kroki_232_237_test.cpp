// Steps 2.32 to 2.37 on the tables they need, as they stand before each step: cash
// desks, the invoice table names, the merge of the cash payments into KP, the kinds of
// the book entries and the marks of collective documents.
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki232 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(2.33); }

    // The cash documents as step 2.34 finds them: receipts in KP, payments in KW, their
    // settlement lines, the cash reports, Setup with the owner's bank and the empty
    // table of cash desks of step 2.32.
    void Kasa() {
        for (const char* t : {"KP", "KW"})
            Sql(std::string("create table ") + t +
                " (kp_id counter, nr_kp text(30), data date, konh_id long, kwota money, opis "
                "text(100), raport_id long, pozycja long, KB text(1), Prz logical, ID_Kasy long)");
        for (const char* t : {"KP_ZAWART", "KW_ZAWART"})
            Sql(std::string("create table ") + t +
                " (kp_id long, rodzaj_dok text(20), dok_id long, kwota money, Countt counter)");
        Sql("create table Raport_kasowy (raport_id counter, KB text(1), ID_Kasy long)");
        Sql("create table [Setup] ([Nazwa] TEXT (255), [Wartosc] memo)");
        Sql("insert into Setup values ('W:BANK', 'Bank Spółdzielczy w Nowym Targu')");
        Sql("insert into Setup values ('W:KONTO', '12 1240 1431')");
        Sql("create table [KASYBANKI] (ID_Kasy counter,nazwa text(50),rodz text(1),Opis "
            "memo,Nr_Banku text(20),NR_Konta Text(50),KodPocztowy text(6),Miejscowość "
            "Text(30),Ulica Text(40),Telefon Text(50))");
        // Receipts 1 and 2 (2 by bank, already at desk 7); payments 1 and 2.
        Sql("insert into KP (nr_kp, data, konh_id, kwota, opis, raport_id, pozycja, KB, Prz) "
            "values ('KP 1/2001', #01-05-2001#, 3, 100, 'Zapłata', 1, 1, 'K', 0)");
        Sql("insert into KP (nr_kp, data, konh_id, kwota, KB, ID_Kasy) "
            "values ('KP 2/2001', #01-06-2001#, 4, 50, 'B', 7)");
        Sql("insert into KP_ZAWART (kp_id, rodzaj_dok, dok_id, kwota) values (1, 'Faktura', 11, "
            "100)");
        Sql("insert into KW (nr_kp, data, konh_id, kwota, opis, raport_id, pozycja, KB, Prz) "
            "values ('KW 1/2001', #01-07-2001#, 5, 80, 'Mąka', 1, 2, 'K', -1)");
        Sql("insert into KW (nr_kp, data, konh_id, kwota, KB) "
            "values ('KW 2/2001', #01-08-2001#, 6, 30, 'B')");
        Sql("insert into KW_ZAWART (kp_id, rodzaj_dok, dok_id, kwota) values (1, 'Zakup', 21, 60)");
        Sql("insert into KW_ZAWART (kp_id, rodzaj_dok, dok_id, kwota) values (1, 'Zakup', 22, 20)");
        Sql("insert into KW_ZAWART (kp_id, rodzaj_dok, dok_id, kwota) values (2, 'Zakup', 23, 30)");
        Sql("insert into Raport_kasowy (KB) values ('K')");
        Sql("insert into Raport_kasowy (KB, ID_Kasy) values ('K', 5)");
        Sql("insert into Raport_kasowy (KB, ID_Kasy) values ('B', 0)");
    }
};

TEST_F(Kroki232, PaymentsBecomeCashDocumentsWithTheirLines) {
    Kasa();
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_234), "");

    EXPECT_EQ(
        Wiersze_Z("select kp_id, nr_kp, konh_id, kwota, kwota_kw, PW, opis, raport_id, "
                  "pozycja, KB, Prz from KP order by kp_id"),
        (Wiersze{{"1", "KP 1/2001", "3", "100", "0", "P", "Zapłata", "1", "1", "K", "False"},
                 {"2", "KP 2/2001", "4", "50", "0", "P", "Null", "Null", "Null", "B", "Null"},
                 {"3", "KW 1/2001", "5", "0", "80", "W", "Mąka", "1", "2", "K", "True"},
                 {"4", "KW 2/2001", "6", "0", "30", "W", "Null", "Null", "Null", "B", "Null"}}));
    // The receipts keep their lines; each payment's lines point at its new row.
    EXPECT_EQ(
        Wiersze_Z("select kp_id, dok_id, kwota from KP_ZAWART order by dok_id"),
        (Wiersze{{"1", "11", "100"}, {"3", "21", "60"}, {"3", "22", "20"}, {"4", "23", "30"}}));
    EXPECT_FALSE(Jest_Tabela("KW"));
    EXPECT_FALSE(Jest_Tabela("KW_ZAWART"));
    EXPECT_FALSE(Czyta_Sie("select kw_id from KP"));

    // The first cash desk and the owner's bank, blanks in the other fields.
    EXPECT_EQ(Wiersze_Z("select ID_Kasy, nazwa, rodz, Opis, NR_Konta, Telefon from KASYBANKI "
                        "order by ID_Kasy"),
              (Wiersze{{"1", "Kasa główna", "K", " ", " ", " "},
                       {"2", "Bank Spółdzielczy w Nowym Targu", "B", " ", "12 1240 1431", " "}}));
    // Documents and reports without a desk go to the desk or bank of their kind.
    EXPECT_EQ(Kolumna("select ID_Kasy from KP order by kp_id"),
              (std::vector<std::string>{"1", "7", "1", "2"}));
    EXPECT_EQ(Kolumna("select ID_Kasy from Raport_kasowy order by raport_id"),
              (std::vector<std::string>{"1", "5", "2"}));
}

TEST_F(Kroki232, APaymentLineThatNamesNoPaymentLandsOnNoReceiptAndIsLogged) {
    Kasa();
    // Lines naming no payment: 2 is only a receipt's id, 999 nothing, Null nothing.
    Sql("delete from KW_ZAWART where kp_id=2");
    Sql("delete from KW where kp_id=2");
    for (const char* w : {"2, 'Zakup', 31, 18.06", "999, 'Zakup', 32, 5", "Null, 'Zakup', 33, 7"})
        Sql(std::string("insert into KW_ZAWART (kp_id, rodzaj_dok, dok_id, kwota) values (") + w +
            ")");
    // A payment id that KW holds twice: its lines go to the first of its rows only.
    Sql("insert into KW (kp_id, nr_kp, kwota, KB) values (1, 'KW 1/2001 bis', 9, 'K')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_234), "");
    EXPECT_EQ(Wiersze_Z("select kp_id, dok_id, kwota from KP_ZAWART order by dok_id"),
              (Wiersze{{"1", "11", "100"},
                       {"3", "21", "60"},
                       {"3", "22", "20"},
                       {"0", "31", "18,06"},
                       {"0", "32", "5"},
                       {"Null", "33", "7"}}));
    EXPECT_EQ(Linie_Logu("pozycje KW_ZAWART bez istniejącej wypłaty").size(), 1u);
}

TEST_F(Kroki232, ALongBankNameIsCutToItsColumnAndSetupKeepsIt) {
    Kasa();
    const std::string nazwa = "Bank Spółdzielczy Rzemiosła i Rolnictwa w Nowym Targu, Oddział 2";
    Sql("update Setup set Wartosc='" + nazwa + "' where Nazwa='W:BANK'");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_234), "");
    EXPECT_EQ(Kolumna("select nazwa from KASYBANKI where rodz='B'"),
              std::vector<std::string>{"Bank Spółdzielczy Rzemiosła i Rolnictwa w Nowym Ta"});
    EXPECT_EQ(Kolumna("select Wartosc from Setup where Nazwa='W:BANK'"),
              std::vector<std::string>{nazwa});
}

TEST_F(Kroki232, ExistingCashDesksAreKeptAndTheLowestOfEachKindIsUsed) {
    Kasa();
    for (const char* w : {"('Bank 2', 'B')", "('Kasa 2', 'K')", "('Kasa 1', 'K')"})
        Sql(std::string("insert into KASYBANKI (nazwa, rodz) values ") + w);
    Sql("delete from KASYBANKI where nazwa='Kasa 2'");  // desk 2 gone: the lowest desk is 3
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_234), "");
    EXPECT_EQ(Kolumna("select count(*) from KASYBANKI"), std::vector<std::string>{"2"});
    EXPECT_EQ(Kolumna("select ID_Kasy from KP order by kp_id"),
              (std::vector<std::string>{"3", "7", "3", "1"}));
    EXPECT_EQ(Kolumna("select ID_Kasy from Raport_kasowy order by raport_id"),
              (std::vector<std::string>{"3", "5", "1"}));
}

TEST_F(Kroki232, ACashDeskWithoutABankGetsTheOwnersBank) {
    Kasa();
    Sql("insert into KASYBANKI (nazwa, rodz) values ('Kasa 1', 'K')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_234), "");
    EXPECT_EQ(Wiersze_Z("select ID_Kasy, nazwa, rodz from KASYBANKI order by ID_Kasy"),
              (Wiersze{{"1", "Kasa 1", "K"}, {"2", "Bank Spółdzielczy w Nowym Targu", "B"}}));
    // A second run finds the merge and the desks done.
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_234), "");
    EXPECT_EQ(Kolumna("select count(*) from KP"), std::vector<std::string>{"4"});
    EXPECT_EQ(Kolumna("select count(*) from KP_ZAWART"), std::vector<std::string>{"4"});
    EXPECT_EQ(Kolumna("select count(*) from KASYBANKI"), std::vector<std::string>{"2"});
    EXPECT_EQ(Kolumna("select ID_Kasy from KP order by kp_id"),
              (std::vector<std::string>{"1", "7", "1", "2"}));
}

TEST_F(Kroki232, InvoiceTablesTakeTheirNewNamesWhateverTheirCase) {
    Sql("create table Faktury_Wych (FAKOUT_ID counter)");
    Sql("create table FAKTURY_WYCH_ZAWART (FAKOUT_ID long)");
    Sql("create table faktury_wych_korekta (FKOROUT_ID counter)");
    Sql("create table FAKTURY_WYCH_KOREKTA_ZAWART (FKOROUT_ID long)");
    Sql("create table KPIR_KSIEGA (kpir_id counter, uwagi text(60))");
    Sql("insert into KPIR_KSIEGA (uwagi) values ('zaliczka')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_233), "");
    for (const char* t : {"FAKTURY", "FAKTURY_ZAWART", "K_FAKTUR", "K_FAKTUR_ZAWART"})
        EXPECT_TRUE(Jest_Tabela(t)) << t;
    EXPECT_FALSE(Jest_Tabela("FAKTURY_WYCH"));
    EXPECT_EQ(Typ_Pola("KPIR_KSIEGA", "Uwagi"), dao::dbMemo);
    EXPECT_EQ(Kolumna("select Uwagi from KPIR_KSIEGA"), std::vector<std::string>{"zaliczka"});
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_233), "");  // nothing left to rename
    EXPECT_TRUE(Jest_Tabela("K_FAKTUR"));
}

TEST_F(Kroki232, BookEntriesGetTheirKindsAndUndatedOnesGo) {
    Sql("create table PRODUKTY (prod_id long, ACT_SALE logical, ACT_buy logical)");
    Sql("create table KPIR_KSIEGA (kpir_id counter, data date, konh_id long, rodzaj long, "
        "zaksieg text(60), kwota_w money, kwota_in money, id_poj long)");
    Sql("create index INDid_poj on KPIR_KSIEGA (id_poj)");
    Sql("create table KONTRAHENCI (konh_id long)");
    Sql("insert into KONTRAHENCI values (3)");
    struct Wpis {
        const char* zaksieg;
        int konh_id;
        double kwota_w;
        const char* rodzaj;  // before, as SQL
        const char* po;      // after
    };
    const Wpis wpisy[] = {
        {"Sprzedaż", 3, 0, "Null", "1"},  {"Sprzedaż", 0, 0, "Null", "11"},
        {"Zakupy", 3, 0, "7", "2"},       {"Sprzedaż", 3, 12.5, "Null", "4"},
        {"Inne", 3, 0, "7", "0"},         {"Inne", 3, 0, "Null", "Null"},
        {"Sprzedaż", 9, 0, "Null", "11"},  // a contractor that is no longer there
    };
    for (const auto& w : wpisy)
        Sql(std::string("insert into KPIR_KSIEGA (data, konh_id, rodzaj, zaksieg, kwota_w) values "
                        "(#03-01-2001#, ") +
            std::to_string(w.konh_id) + ", " + w.rodzaj + ", '" + w.zaksieg + "', " +
            std::to_string(w.kwota_w) + ")");
    // A sale whose contractor is not given is one without a contractor.
    Sql("insert into KPIR_KSIEGA (data, zaksieg, kwota_w) values (#03-01-2001#, 'Sprzedaż', 0)");
    Sql("insert into KPIR_KSIEGA (zaksieg, rodzaj) values ('Zakupy', 2)");  // no date
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_235), "");
    std::vector<std::string> oczekiwane;
    for (const auto& w : wpisy) oczekiwane.push_back(w.po);
    oczekiwane.push_back("11");
    EXPECT_EQ(Kolumna("select rodzaj from KPIR_KSIEGA order by kpir_id"), oczekiwane);

    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_236), "");
    for (const char* c : {"kwota_in", "zaksieg", "id_poj"})
        EXPECT_FALSE(Czyta_Sie(std::string("select ") + c + " from KPIR_KSIEGA")) << c;
}

TEST_F(Kroki232, ProductsSoldOrBoughtAreActiveOnInternalDocuments) {
    Sql("create table KPIR_KSIEGA (kpir_id counter)");
    Sql("create table PRODUKTY (prod_id long, ACT_SALE logical, ACT_buy logical)");
    Sql("insert into PRODUKTY values (1, -1, 0)");
    Sql("insert into PRODUKTY values (2, 0, -1)");
    Sql("insert into PRODUKTY values (3, 0, 0)");
    Sql("insert into PRODUKTY (prod_id) values (4)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_236), "");
    EXPECT_EQ(Kolumna("select act_wew from PRODUKTY order by prod_id"),
              (std::vector<std::string>{"True", "True", "Null", "Null"}));
}

TEST_F(Kroki232, NewTablesAndColumnsSurviveASecondRun) {
    for (const char* t :
         {"Dok_Wewnentrzne", "DOWODY_DOSTAW", "DOWODY_ZWROTU", "FAKTURY_WYCH", "Paragon",
          "Produkcja", "ZAKUPY", "Raport_kasowy", "KP", "KW", "FAKTURY_WYCH_KOREKTA",
          "REMANENTINWENT_ZAWART", "KADRY_Pracownicy", "_KPiR_Obrot_1"})
        Sql(std::string("create table [") + t + "] (id long)");
    Sql("insert into DOWODY_DOSTAW (id) values (1)");
    for (int przebieg = 0; przebieg < 2; ++przebieg) {
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_232), "");
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_237), "");
    }
    EXPECT_FALSE(Jest_Tabela("_KPiR_Obrot_1"));
    for (const char* t : {"Wydruki", "Place_Parametry", "KASYBANKI"}) EXPECT_TRUE(Jest_Tabela(t));
    EXPECT_EQ(Wiersze_Z("select ID_Kasy, Nr_Mag, Drukowano, Zbiorczy_id, Zakup from DOWODY_DOSTAW"),
              (Wiersze{{"Null", "Null", "Null", "0", "Null"}}));
    EXPECT_TRUE(Czyta_Sie("select Zbiorcza, ID_Kasy from ZAKUPY"));
    EXPECT_TRUE(Czyta_Sie("select Drukowano from FAKTURY_WYCH_KOREKTA"));
    EXPECT_EQ(Typ_Pola("REMANENTINWENT_ZAWART", "wartosc"), dao::dbCurrency);
}

}  // namespace
}  // namespace kroki_test
