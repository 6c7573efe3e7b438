// Steps 3.57 and 3.61 to 3.66: the contract terms table, small column additions, the
// clean-up of orphan break rows, rounding remainders of collective documents and gross
// prices of price lists.
#include <string>
#include <vector>

#include "baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki357Test : public BazaKroku {
  protected:
    void SetUp() override { Otworz(3.56); }

    // The contracts as step 3.18 left them: Stanowisko and Dział after Countt.
    static void Umowy() {
        Sql("create table KADRY_UMOWY (ID_prac long, RodzajUm text(1), Dataod date, Datado date, "
            "numer text(10), etat text(6), RodzajStawki text(1), StawkaG currency, StawkaM "
            "currency, Dodatek currency, ProcentP currency, Countt counter, Stanowisko text(40), "
            "[Dział] text(40), DataRozw Date, SposobRozw Text(40))");
    }
};

TEST_F(Kroki357Test, TermsCopyContractsAndPointBack) {
    Umowy();
    for (int i = 1; i <= 7; ++i)
        Sql("insert into KADRY_UMOWY (ID_prac, Dataod, numer) values (" + std::to_string(10 + i) +
            (i == 3 ? ", Null" : ", #2000-01-0" + std::to_string(i) + "#") + ", 'U" +
            std::to_string(i) + "')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_357), "");

    EXPECT_EQ(Wiersze_Z("select ID_prac, numer from KADRY_WARUNKI where ID_Umowy=7"),
              (Wiersze{{"17", "U7"}}));
    EXPECT_EQ(Kolumna("select count(*) from KADRY_WARUNKI where ID_Umowy<>Countt"),
              (std::vector<std::string>{"0"}));
    // The new contract columns stay out of the terms.
    EXPECT_FALSE(Czyta_Sie("select Data_um from KADRY_WARUNKI"));
    EXPECT_EQ(Typ_Pola("KADRY_WARUNKI", "ID_Umowy"), 4);
    EXPECT_EQ(Typ_Pola("KADRY_UMOWY", "Zwolnienie"), 2);
    EXPECT_EQ(Typ_Pola("KADRY_UMOWY", "Ekwiwalent"), 4);  // Jet's integer is a long
    // A contract without a start date keeps Null dates; the others take it.
    EXPECT_EQ(Wiersze_Z("select Countt, Data_um is null, Data_rozp is null, Miejsce_wyk, "
                        "Skroc_wyp, Zwolnienie, Ekwiwalent from KADRY_UMOWY where Countt in "
                        "(2,3) order by Countt"),
              (Wiersze{{"2", "False", "False", "", "", "0", "0"},
                       {"3", "True", "True", "", "", "0", "0"}}));

    // Run again, the terms keep their rows and the contracts their values.
    Sql("update KADRY_UMOWY set Miejsce_wyk='Piekarnia' where Countt=1");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_357), "");
    EXPECT_EQ(Kolumna("select count(*) from KADRY_WARUNKI"), (std::vector<std::string>{"7"}));
    EXPECT_EQ(Kolumna("select Miejsce_wyk from KADRY_UMOWY where Countt=1"),
              (std::vector<std::string>{"Piekarnia"}));
}

TEST_F(Kroki357Test, NoContractsGiveEmptyTerms) {
    Umowy();
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_357), "");
    EXPECT_TRUE(Kolumna("select count(*) from KADRY_WARUNKI") == std::vector<std::string>{"0"});
    for (const char* kolumna : {"ID_prac", "Stanowisko", "Dział", "SposobRozw", "ID_Umowy"})
        EXPECT_TRUE(Czyta_Sie(std::string("select [") + kolumna + "] from KADRY_WARUNKI"))
            << kolumna;
}

TEST_F(Kroki357Test, Steps361To365) {
    Sql("create table SRODKI_TRWALE (id long, WSPOLCZYNNIK_old long)");
    Sql("insert into SRODKI_TRWALE (id) values (1)");
    Sql("insert into SRODKI_TRWALE (id) values (2)");
    Sql("create table PRODUKTY_Receptury (prod_id long, pprod_nazwa_id text(50))");
    Sql("insert into PRODUKTY_Receptury values (1, 'Mąka żytnia typ 720')");
    Sql("create table DOK_FIN (kp_id long)");
    Sql("insert into DOK_FIN values (5)");
    Sql("create table Kontrahenci (konh_id long)");
    Sql("insert into Kontrahenci values (9)");
    Sql("create table PLACE_LISTY (IDListy long)");
    Sql("insert into PLACE_LISTY values (15)");
    Sql("create table PLACE_SWIADCZ_PRZERWY (IDListy long, dni long)");
    for (const char* w : {"15, 1", "16, 2", "Null, 3"})
        Sql(std::string("insert into PLACE_SWIADCZ_PRZERWY values (") + w + ")");
    Sql("create table Produkty (prod_id long)");
    Sql("insert into Produkty values (1)");
    Sql("create table DOK_DZ (ddout_id long)");
    Sql("insert into DOK_DZ values (1)");
    Sql("create table KADRY_UMOWYC (id long, Dataod date)");
    Sql("insert into KADRY_UMOWYC values (1, #2001-03-01#)");
    Sql("insert into KADRY_UMOWYC values (2, Null)");

    for (MetodaKroku m :
         {&ClsKonwersje::Konwersja_361, &ClsKonwersje::Konwersja_362, &ClsKonwersje::Konwersja_363,
          &ClsKonwersje::Konwersja_364, &ClsKonwersje::Konwersja_365})
        ASSERT_EQ(Krok(m), "");

    EXPECT_EQ(Kolumna("select WSPOLCZYNNIK from SRODKI_TRWALE"),
              (std::vector<std::string>{"1", "1"}));
    EXPECT_EQ(Kolumna("select pprod_nazwa_id from PRODUKTY_Receptury"),
              (std::vector<std::string>{"Mąka żytnia typ 720"}));
    EXPECT_EQ(Kolumna("select kierowca_id from DOK_FIN"), (std::vector<std::string>{"0"}));
    EXPECT_EQ(Wiersze_Z("select kier_id2, kier_id3, kod_prod is null from Kontrahenci"),
              (Wiersze{{"0", "0", "True"}}));
    EXPECT_EQ(Kolumna("select dni from PLACE_SWIADCZ_PRZERWY"), (std::vector<std::string>{"1"}));
    EXPECT_EQ(Kolumna("select prod_kod2 from Produkty"), (std::vector<std::string>{"Null"}));
    EXPECT_EQ(Kolumna("select Komentarz from DOK_DZ"), (std::vector<std::string>{"Null"}));
    EXPECT_EQ(Typ_Pola("DOK_DZ", "Komentarz"), 12);
    EXPECT_EQ(Wiersze_Z("select id, kwota, rata, Termin, Post_szcz, Data_um is null, "
                        "Data_um=Dataod from KADRY_UMOWYC order by id"),
              (Wiersze{{"1", "0", "0", "", "", "False", "True"},
                       {"2", "0", "0", "", "", "True", "Null"}}));

    // Run again, the coefficient and the drivers are set once more.
    Sql("update SRODKI_TRWALE set WSPOLCZYNNIK=3");
    Sql("update Kontrahenci set kier_id2=4");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_361), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_363), "");
    EXPECT_EQ(Kolumna("select WSPOLCZYNNIK from SRODKI_TRWALE"),
              (std::vector<std::string>{"1", "1"}));
    EXPECT_EQ(Kolumna("select kier_id2 from Kontrahenci"), (std::vector<std::string>{"0"}));
}

class Krok366Test : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(3.65);
        Sql("create table dok_fak (FAKOUT_ID long, FAKOUT_ZBIORCZA logical, FAKOUT_WART_N "
            "currency, FAKOUT_WART_VAT currency, wart_kp currency, wart_dd currency)");
        Sql("create table dok_zak (numer_id long, Zbiorcza logical, WART_N currency, VAT "
            "currency, wart_kp currency)");
        Sql("create table produkty (prod_id long, STVAT_ID text(2))");
        Sql("create table CENNIKI_ZAWART (LCEN_NAZWA_ID long, prod_id long, CEN_Narzut currency, "
            "Cen_Brutto currency)");
        Sql("create table KADRY_PRACOWNICY (id long)");
    }
};

TEST_F(Krok366Test, RemaindersOfCollectiveDocuments) {
    // id, collective, remainder (gross minus settled), wart_dd (or wart_kp), expected after.
    struct Przypadek {
        int id;
        bool zbiorcza;
        const char* reszta;
        const char* zaplacono;
        const char* po;
    };
    const std::vector<Przypadek> przypadki = {
        {1, true, "0.01", "50", "50,01"},  {2, true, "0.02", "50", "50,02"},
        {3, true, "-0.01", "50", "49,99"}, {4, true, "-0.02", "50", "49,98"},
        {5, true, "0.03", "50", "50"},     {6, true, "-0.03", "50", "50"},
        {7, true, "0", "50", "50"},        {8, false, "0.01", "50", "50"},
        {9, true, "0.01", "0", "0"},
    };
    for (const Przypadek& p : przypadki) {
        const std::string id = std::to_string(p.id);
        const std::string z = p.zbiorcza ? "-1" : "0";
        // Net 100 plus VAT 22 against 72 paid and the rest in notes or paid.
        const std::string brutto_bez = std::string("72+") + p.zaplacono + "+" + p.reszta;
        Sql("insert into dok_fak values (" + id + ", " + z + ", 100, 22, 72, " + p.zaplacono + ")");
        Sql("update dok_fak set FAKOUT_WART_N=" + brutto_bez + "-22 where FAKOUT_ID=" + id);
        Sql("insert into dok_zak values (" + id + ", " + z + ", 0, 22, " + p.zaplacono + ")");
        Sql("update dok_zak set WART_N=" + std::string(p.zaplacono) + "+" + p.reszta +
            "-22 where numer_id=" + id);
    }
    // A sale whose settled amount is not given: as one of 0.
    Sql("insert into dok_fak values (10, -1, 100, 22, Null, 121.99)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_366), "");
    EXPECT_EQ(Kolumna("select wart_dd from dok_fak where FAKOUT_ID=10"),
              (std::vector<std::string>{"122"}));
    for (const Przypadek& p : przypadki) {
        const std::string id = std::to_string(p.id);
        EXPECT_EQ(Kolumna("select wart_dd from dok_fak where FAKOUT_ID=" + id),
                  (std::vector<std::string>{p.po}))
            << "sale " << id;
        EXPECT_EQ(Kolumna("select wart_kp from dok_zak where numer_id=" + id),
                  (std::vector<std::string>{p.po}))
            << "purchase " << id;
    }
}

TEST_F(Krok366Test, GrossPricesAndEmployeeColumns) {
    int prod = 0;
    for (const char* stawka : {"22", "7", "3", "zw", "0", "5"})
        Sql("insert into produkty values (" + std::to_string(++prod) + ", '" + stawka + "')");
    // Each product on three lines: gross price missing, zero, and set.
    for (int p = 1; p <= prod; ++p) {
        Sql("insert into CENNIKI_ZAWART values (1, " + std::to_string(p) + ", 10.5, Null)");
        Sql("insert into CENNIKI_ZAWART values (2, " + std::to_string(p) + ", 10.5, 0)");
        Sql("insert into CENNIKI_ZAWART values (3, " + std::to_string(p) + ", 10.5, 9)");
    }
    // A line without a net price keeps its gross 0.
    Sql("insert into produkty values (7, '22')");
    Sql("insert into CENNIKI_ZAWART values (1, 7, Null, 0)");
    Sql("insert into KADRY_PRACOWNICY values (1)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_366), "");
    EXPECT_EQ(Kolumna("select Cen_Brutto from CENNIKI_ZAWART where prod_id=7"),
              std::vector<std::string>{"0"});

    const std::vector<std::string> brutto = {"12,81", "11,235", "10,815", "10,5", "10,5", "Null"};
    for (int p = 1; p <= prod; ++p) {
        const std::string wynik = brutto[static_cast<size_t>(p - 1)];
        EXPECT_EQ(Kolumna("select Cen_Brutto from CENNIKI_ZAWART where prod_id=" +
                          std::to_string(p) + " order by LCEN_NAZWA_ID"),
                  (std::vector<std::string>{wynik, wynik == "Null" ? "0" : wynik, "9"}))
            << "product " << p;
    }
    EXPECT_EQ(Wiersze_Z("select Dowod, Paszport, Obywatelstwo, Bank, Konto, US, KartaStP, "
                        "KartaCzP from KADRY_PRACOWNICY"),
              (Wiersze{{"", "", "", "", "", "0", "0", "0"}}));
    EXPECT_EQ(Typ_Pola("KADRY_PRACOWNICY", "KartaCzP"), 2);
}

}  // namespace
}  // namespace kroki_test
