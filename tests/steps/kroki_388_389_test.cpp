// Steps 3.88 and 3.89 on a database of version 3.87 built with the tables they read: the
// register of all parties with every reference moved onto it, renumbered, with unique
// short names and codes; then the parties of cash documents and the merged payees.
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

constexpr const char* kDokumenty[] = {"DOK_FAK", "DOK_DD", "DOK_DZ", "DOK_KFA", "DOK_KZA",
                                      "DOK_PAR", "DOK_PW", "DOK_PZ", "DOK_RW",  "DOK_WZ"};
constexpr const char* kKadry[] = {"KADRY_ADRESY",       "KADRY_NADGODZINY", "KADRY_OPCJE",
                                  "KADRY_PIT",          "KADRY_PODATEK",    "KADRY_RODZINA",
                                  "KADRY_UMOWY",        "KADRY_UMOWYC",     "KADRY_WARUNKI",
                                  "KADRY_NIEOBECNOSCI", "KADRY_SWIADECTWA"};

class Kroki388 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(3.87);
        std::string kier;
        for (int i = 2; i <= 9; ++i) kier += ", Kier_id" + std::to_string(i) + " long";
        Sql("create table KONTRAHENCI (konh_id counter, konh_numer long, konh_activ logical, "
            "KONH_NAZ_SKROT text(16), konh_kod text(15), KONH_NAZWA text(80), KONH_NAZWA2 "
            "text(80), RKONH_NAZWA_ID text(50), KONH_ulica text(50), konh_kodpocztowy text(10), "
            "KONH_miejscowosc text(50), KONH_TEL text(30), KONH_NAZ_BANK text(50), KONH_NR_KONTA "
            "text(50), opis text(100), Powiat text(50), nr_konta_kasowego text(30), Kier_id long" +
            kier + ")");
        Sql("create table S_US (id long, nazwa text(80), ulica text(50), Kod text(10), miasto "
            "text(50))");
        Sql("create table S_Kierowcy (Kier_id long, kier_symbol text(16), kier_nazwa text(50), "
            "Kier_opis text(100))");
        Sql("create table KADRY_PRACOWNICY (id long, Numer long, Nazwisko text(50), Imie1 "
            "text(50), imie_oj text(50), imie_m text(50), miejsce_ur text(50), Plec text(1), imie2 "
            "text(50), kategoria text(1), ube byte, ubr byte, ubc byte, ubw byte, ubz byte, "
            "nazwisko_p text(50), kodzus text(6), Dowod text(20), Paszport text(20), KartaStP "
            "byte, KartaCzP byte, Etat text(20), US long, Data_UR date, BANK text(50), KONTO "
            "text(50))");
        Sql("create table Platnik (idp long, Nazwisko text(50), imie text(50))");
        Sql("create table Platnik_dane (idp long, Nazwa text(50), Wartosc text(100))");
        Sql("create table Deklaracje (id counter, Nazwa text(50), IDP long)");
        for (const char* t : kDokumenty)
            Sql(std::string("create table ") + t + " (id long, Kier_id long)");
        Sql("create table DOK_FIN (kp_id long, konh_id long, Dla text(80), Kierowca_id long, "
            "ID_KASY long)");
        Sql("create table DOK_FIN_ZAWART (kp_id long, rodzaj_dok text(20), dok_id long, kwota "
            "money)");
        Sql("create table DOK_FRA (id long, ID_KASY long)");
        Sql("create table KASYBANKI (id_kasy long, nazwa text(50), Opis text(100), rodz text(1), "
            "Nr_Banku text(50), NR_Konta text(50), KodPocztowy text(10), Ulica text(50), Telefon "
            "text(30), MIEJSCOWOSC text(50), Saldo money, NRWFK text(30))");
        for (const char* t : kKadry) Sql(std::string("create table ") + t + " (ID_prac long)");
        Sql("create table PLACE_DANE (IDP long, IDListy long)");
        Sql("create table KADRY_NIEOBECNOSCI_S (id long)");
    }
    void Kontrahent(int id, const std::string& skrot, const std::string& kod = "Null", int kier = 0,
                    int kier2 = 0) {
        Sql("insert into KONTRAHENCI (konh_id, konh_numer, konh_activ, KONH_NAZ_SKROT, konh_kod, "
            "KONH_NAZWA, RKONH_NAZWA_ID, Kier_id, Kier_id2) values (" +
            std::to_string(id) + ", " + std::to_string(id) + ", -1, " + skrot + ", " + kod +
            ", 'Kontrahent " + std::to_string(id) + "', 'Odbiorca', " + std::to_string(kier) +
            ", " + std::to_string(kier2) + ")");
    }
    std::string Id(const std::string& rodzaj, const std::string& nazwa) {
        const auto w = Kolumna("select konh_id from KONTRAHENCI where RKONH_NAZWA_ID='" + rodzaj +
                               "' and KONH_NAZWA='" + nazwa + "'");
        return w.size() == 1 ? w[0] : "<" + std::to_string(w.size()) + ">";
    }
};

TEST_F(Kroki388, EverySourceBecomesAPartyAndItsReferencesFollow) {
    Kontrahent(1, "'Sklep 1'", "'K1'", 3, 5);
    Kontrahent(2, "'Sklep 2'", "'K2'", 5, 0);
    Sql("insert into S_US values (7, 'Urząd Skarbowy w Nowym Targu', 'Szaflarska 1', "
        "'34-400', 'Nowy Targ')");
    Sql("insert into S_Kierowcy values (5, 'ADAM', 'Adam Bachleda', 'trasa 2')");
    Sql("insert into S_Kierowcy values (3, 'JAN', 'Jan Gąsienica', 'trasa 1')");
    Sql("insert into KADRY_PRACOWNICY (id, Numer, Nazwisko, Imie1, US, Data_UR) values (4, 12, "
        "'Kowalczykowski', 'Bartłomiej', 7, #5/1/1970#)");
    Sql("insert into KADRY_PRACOWNICY (id, Numer, Nazwisko, Imie1, US) values (6, 13, 'Zając', "
        "Null, 0)");
    for (const char* t : kKadry) Sql(std::string("insert into ") + t + " values (4)");
    Sql("insert into PLACE_DANE values (6, 1)");
    for (const char* t : kDokumenty) Sql(std::string("insert into ") + t + " values (1, 5)");
    Sql("insert into KASYBANKI values (1, 'Kasa główna', '', 'K', '', '', '', '', '', '', 120, "
        "'100')");
    Sql("insert into KASYBANKI values (2, 'PKO BP', '', 'B', 'PKO', '12 3456', '', '', '', '', 0, "
        "'130')");
    Sql("insert into KASYBANKI values (3, 'Sejf', '', 'X', '', '', '', '', '', '', 0, '')");
    Sql("insert into DOK_FIN values (1, 0, 'Niezależne', 3, 1)");
    Sql("insert into DOK_FIN values (2, 1, 'Niezależne', 0, 2)");
    Sql("insert into DOK_FIN values (3, 0, 'Jan Nowak', 0, 1)");
    Sql("insert into DOK_FIN values (4, 0, 'Jan Nowak', 0, 9)");
    Sql("insert into DOK_FRA values (1, 2)");
    Sql("insert into DOK_FIN_ZAWART values (1, 'Sp. pozost.zwr.', 0, 0)");
    Sql("insert into DOK_FIN_ZAWART values (2, 'Sp. pozost.', 0, 0)");

    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_388), "");

    const std::string us = Id("US", "Urząd Skarbowy w Nowym Targu");
    const std::string jan = Id("Kierowca", "Jan Gąsienica"), adam = Id("Kierowca", "Adam Bachleda");
    const std::string prac = Id("Pracownik", "Kowalczykowski");
    const std::string kasa = Id("Kasa", "Kasa główna"), bank = Id("Bank", "PKO BP");
    EXPECT_EQ(Kolumna("select US from KADRY_PRACOWNICY order by id"),
              (std::vector<std::string>{us, "0"}));
    EXPECT_EQ(Wiersze_Z("select Kier_id, Kier_id2 from KONTRAHENCI where konh_id<=2 order by "
                        "konh_id"),
              (Wiersze{{jan, adam}, {adam, "0"}}));
    for (const char* t : kDokumenty)
        EXPECT_EQ(Kolumna(std::string("select Kier_id from ") + t),
                  (std::vector<std::string>{adam}))
            << t;
    EXPECT_EQ(Kolumna("select Kierowca_id from DOK_FIN order by kp_id"),
              (std::vector<std::string>{jan, "0", "0", "0"}));
    for (const char* t : kKadry)
        EXPECT_EQ(Kolumna(std::string("select ID_prac from ") + t),
                  (std::vector<std::string>{prac}))
            << t;
    EXPECT_EQ(Kolumna("select IDP from PLACE_DANE"),
              (std::vector<std::string>{Id("Pracownik", "Zając")}));
    // The employee's short name joins 8 and 8 characters; a Null first name makes it Null.
    EXPECT_EQ(Wiersze_Z("select KONH_NAZ_SKROT, KONH_NAZWA2, numer_prac, Konh_US_id from "
                        "KONTRAHENCI where RKONH_NAZWA_ID='Pracownik' order by numer_prac"),
              (Wiersze{{"KowalczyBartłomi", "Bartłomiej", "12", us}, {"Null", "Null", "13", "0"}}));
    // Payees: a party with the payee's name, the documents on it with NIEZALEZNE 2; a
    // document that had a party keeps 'Niezależne' and gets 1.
    const std::string niezal = Id("Pozostali", "Niezależne"), nowak = Id("Pozostali", "Jan Nowak");
    EXPECT_EQ(Wiersze_Z("select konh_id, Dla, NIEZALEZNE, ID_KASY from DOK_FIN order by kp_id"),
              (Wiersze{{niezal, "", "2", kasa},
                       {"1", "Niezależne", "1", bank},
                       {nowak, "", "2", kasa},
                       {nowak, "", "2", "0"}}));
    EXPECT_EQ(Kolumna("select ID_KASY from DOK_FRA"), (std::vector<std::string>{bank}));
    EXPECT_EQ(Wiersze_Z("select RKONH_NAZWA_ID, Saldo, nr_konta_kasowego from KONTRAHENCI where "
                        "rodz is not null order by konh_id"),
              (Wiersze{{"Kasa", "120", "100"}, {"Bank", "0", "130"}, {"!!!", "0", ""}}));
    EXPECT_EQ(Kolumna("select rodzaj_dok from DOK_FIN_ZAWART order by kp_id"),
              (std::vector<std::string>{"PW", "RW"}));
    EXPECT_FALSE(Jest_Tabela("KADRY_NIEOBECNOSCI_S"));
    EXPECT_TRUE(Czyta_Sie("select ID_US from Deklaracje"));
    EXPECT_TRUE(Czyta_Sie("select DataKasyBanku from DOK_FRA"));
    // Numbered 1 to n without gaps, the old parties first.
    const auto numery = Kolumna("select konh_numer from KONTRAHENCI order by konh_numer");
    ASSERT_EQ(numery.size(), 12u);
    for (size_t i = 0; i < numery.size(); ++i) EXPECT_EQ(numery[i], std::to_string(i + 1));
    // The parties made in the order of their old ids, and numbered in the order made.
    EXPECT_EQ(Kolumna("select konh_numer from KONTRAHENCI order by konh_id"), numery);
    EXPECT_LT(std::stoi(jan), std::stoi(adam));
}

TEST_F(Kroki388, PartnersFromTheirStoredValuesAndTheirDeclarationsMoveOnce) {
    Kontrahent(1, "'Sklep 1'");
    Kontrahent(2, "'Sklep 2'");
    Sql("insert into S_US (id, nazwa) values (1, 'US Zakopane')");
    // Partner 3 gets party 4 and partner 4 party 5: each declaration moves once; one of
    // no partner names none.
    Sql("insert into Platnik values (4, 'Mazur', 'Piotr')");
    Sql("insert into Platnik values (3, 'Wójcik', 'Anna')");
    for (const auto& [nazwa, wartosc] : std::vector<std::pair<std::string, std::string>>{
             {"W:NAZWA 1_PIT5_", "Wójcik Anna Maria Katarzyna"},
             {"w:miasto_pit5_", ""},  // an empty twin of the value below
             {"w:miasto_pit5_", "Zakopane"},
             {"US_PIT5_", "US Zakopane"},
             {"DATAUR_PIT5_", "12-03-1961"}})
        Sql("insert into Platnik_dane values (3, '" + nazwa + "', '" + wartosc + "')");
    Sql("insert into Deklaracje (Nazwa, IDP) values ('PIT-5 Wójcik', 3)");
    Sql("insert into Deklaracje (Nazwa, IDP) values ('PIT-5 Mazur', 4)");
    Sql("insert into Deklaracje (Nazwa, IDP) values ('VAT-7', 0)");
    Sql("insert into Deklaracje (Nazwa, IDP) values ('PIT-5', 7)");

    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_388), "");

    const std::string us = Id("US", "US Zakopane");
    EXPECT_EQ(Wiersze_Z("select konh_id, KONH_NAZ_SKROT, KONH_NAZWA, KONH_miejscowosc, "
                        "Konh_ProcWspolnika, Konh_US_id, Konh_DataUR from KONTRAHENCI where "
                        "RKONH_NAZWA_ID='Współnik' order by konh_id"),
              (Wiersze{{"4", "Wójcik Anna Mari", "Wójcik Anna Maria Katarzyna", "Zakopane", "100",
                        us, "1961-03-12"},
                       {"5", "", "", "", "100", "0",
                        Kolumna("select Konh_DataUR from "
                                "KONTRAHENCI where konh_id=5")[0]}}));
    EXPECT_EQ(Kolumna("select Konh_DataUR=Date() from KONTRAHENCI where konh_id=5"),
              (std::vector<std::string>{"True"}));
    EXPECT_EQ(
        Wiersze_Z("select Nazwa, IDP from Deklaracje order by id"),
        (Wiersze{{"PIT-5 Wójcik", "4"}, {"PIT-5 Mazur", "5"}, {"VAT-7", "0"}, {"PIT-5", "0"}}));
}

TEST_F(Kroki388, ShortNamesAndCodesMadeUnique) {
    Kontrahent(5, "'ABC'", "'K'");
    Kontrahent(7, "'ABC'", "'K'");
    Kontrahent(9, "'ABC'", "Null");
    Kontrahent(10, "'Piekarnia Tatrza'", "Null");
    Kontrahent(11, "'Piekarnia Tatrza'", "'k'");
    Kontrahent(12, "Null", "Null");
    Kontrahent(13, "Null", "Null");
    // Numbered with a number not given as 0: after -1, before 5.
    Sql("update KONTRAHENCI set konh_numer=-1 where konh_id=12");
    Sql("update KONTRAHENCI set konh_numer=Null where konh_id=13");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_388), "");
    EXPECT_EQ(Kolumna("select konh_numer from KONTRAHENCI where konh_id>=12 order by konh_id"),
              (std::vector<std::string>{"1", "2"}));
    // The lowest id of each group keeps its value, the others are cut to 11 characters
    // and numbered; no non-Null value is shared afterwards. (A party that meets two
    // others in one pass is changed once per pair by the engine: see
    // tests/jet/regress_p388_test.cpp.)
    const Wiersze w =
        Wiersze_Z("select KONH_NAZ_SKROT, konh_kod from KONTRAHENCI order by konh_id");
    ASSERT_EQ(w.size(), 7u);
    EXPECT_EQ(w[0], (std::vector<std::string>{"ABC", "K"}));
    EXPECT_EQ(w[1], (std::vector<std::string>{"ABC!1", "K!1"}));
    EXPECT_EQ(w[3], (std::vector<std::string>{"Piekarnia Tatrza", "Null"}));
    EXPECT_EQ(w[4][0], "Piekarnia T!1");
    EXPECT_EQ(w[5], (std::vector<std::string>{"Null", "Null"}));
    EXPECT_EQ(w[6], (std::vector<std::string>{"Null", "Null"}));
    for (const char* pole : {"KONH_NAZ_SKROT", "konh_kod"})
        EXPECT_EQ(Kolumna(std::string("select count(*) from KONTRAHENCI as a inner join "
                                      "KONTRAHENCI as b on a.") +
                          pole + "=b." + pole + " where a.konh_id<>b.konh_id"),
                  (std::vector<std::string>{"0"}))
            << pole;
}

TEST_F(Kroki388, NumbersUpToTheEndOfLongAreRenumberedInTheirOrder) {
    for (int id : {5, 6, 7, 8}) Kontrahent(id, "Null");
    Sql("update KONTRAHENCI set konh_numer=2147483647 where konh_id=5");
    Sql("update KONTRAHENCI set konh_numer=Null where konh_id=6");
    Sql("update KONTRAHENCI set konh_numer=3 where konh_id>=7");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_388), "");
    EXPECT_EQ(Kolumna("select konh_numer from KONTRAHENCI where konh_id<=8 order by konh_id"),
              (std::vector<std::string>{"4", "1", "2", "3"}));
}

TEST_F(Kroki388, EmptyAndNullPayeesEachMakeOneParty) {
    Sql("insert into DOK_FIN values (1, 0, '', 0, 0)");
    Sql("insert into DOK_FIN values (2, 0, '', 0, 0)");
    Sql("insert into DOK_FIN values (3, 0, Null, 0, 0)");
    // A contractor not given, or one that names none, is none: the payee's party.
    Sql("insert into DOK_FIN values (4, Null, 'X', 0, 0)");
    Sql("insert into DOK_FIN values (5, 77, 'X', 0, 0)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_388), "");
    EXPECT_EQ(Wiersze_Z("select KONH_NAZWA, RKONH_NAZWA_ID from KONTRAHENCI order by KONH_NAZWA"),
              (Wiersze{{"Null", "Pozostali"}, {"", "Pozostali"}, {"X", "Pozostali"}}));
    // The empty text finds its party by name; a Null finds none, keeps no party, and
    // the new column is not filled in over the rows that existed.
    const std::string pusty = Kolumna("select konh_id from KONTRAHENCI where KONH_NAZWA=''").at(0);
    const std::string x = Kolumna("select konh_id from KONTRAHENCI where KONH_NAZWA='X'").at(0);
    EXPECT_EQ(Wiersze_Z("select konh_id, NIEZALEZNE from DOK_FIN order by kp_id"),
              (Wiersze{{pusty, "2"}, {pusty, "2"}, {"0", "Null"}, {x, "2"}, {x, "2"}}));
}

// An old id that its register holds twice, a name or number that two old ids share, and
// new ids equal to old ones: each reference takes one party, once.
TEST_F(Kroki388, EachOldIdTakesOnePartyOnce) {
    Kontrahent(1, "'Sklep'", "Null", 3, 5);
    Kontrahent(2, "'Hurt'", "Null", 6, 9);
    // Parties in the order of the old ids: 3, 6 and 7 are Adam, 4 and 5 Jan; old id 3
    // becomes 4, old 5 becomes 3.
    for (const char* w : {"(5, 'A1', 'Adam', '')", "(6, 'A2', 'Adam', '')", "(3, 'J', 'Jan', '')",
                          "(3, 'J', 'Jan', '')", "(1, 'A0', 'Adam', '')"})
        Sql(std::string("insert into S_Kierowcy values ") + w);
    for (int id : {3, 5, 6, 9}) Sql("insert into DOK_FAK values (1, " + std::to_string(id) + ")");
    for (int i = 0; i < 2; ++i) {
        Sql("insert into KADRY_PRACOWNICY (id, Numer, Nazwisko) values (4, 12, 'Kos')");
        Sql("insert into KASYBANKI (id_kasy, nazwa, rodz) values (1, 'Kasa', 'K')");
    }
    Sql("insert into KADRY_PRACOWNICY (id, Numer, Nazwisko) values (6, 12, 'Kos')");
    Sql("insert into KADRY_ADRESY values (4)");
    Sql("insert into PLACE_DANE values (6, 1)");
    Sql("insert into DOK_FIN (kp_id, konh_id, Dla, ID_KASY) values (1, 1, 'x', 1)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_388), "");
    const auto pierwsza = [](const char* rodzaj) {
        return Kolumna(std::string("select min(konh_id) from KONTRAHENCI where RKONH_NAZWA_ID='") +
                       rodzaj + "'")[0];
    };
    EXPECT_EQ(Wiersze_Z("select Kier_id, Kier_id2 from KONTRAHENCI where konh_id<=2 order by "
                        "konh_id"),
              (Wiersze{{"4", "3"}, {"3", "0"}}));
    EXPECT_EQ(Kolumna("select Kier_id from DOK_FAK"),
              (std::vector<std::string>{"4", "3", "3", "0"}));
    // Driver 9 does not exist: the references name nothing, and the Log counts them.
    EXPECT_EQ(Linie_Logu("DOK_FAK.Kier_id z identyfikatorem spoza S_Kierowcy (nie wskazują "
                         "żadnego kontrahenta): 1")
                  .size(),
              1u);
    EXPECT_EQ(Kolumna("select ID_prac from KADRY_ADRESY"),
              (std::vector<std::string>{pierwsza("Pracownik")}));
    EXPECT_EQ(Kolumna("select IDP from PLACE_DANE"),
              (std::vector<std::string>{pierwsza("Pracownik")}));
    EXPECT_EQ(Kolumna("select ID_KASY from DOK_FIN"), (std::vector<std::string>{pierwsza("Kasa")}));
    EXPECT_FALSE(Jest_Tabela("_Strona_Starego_Id"));
}

// Two tax offices of one name: an employee of either has the first party of that name;
// one of an office that does not exist has none.
TEST_F(Kroki388, AnEmployeesTaxOfficeIsOneParty) {
    for (const char* w : {"(7, 'US A')", "(8, 'US A')"})
        Sql(std::string("insert into S_US (id, nazwa) values ") + w);
    for (const char* w : {"(1, 1, 8)", "(2, 2, 7)", "(3, 3, 99)"})
        Sql(std::string("insert into KADRY_PRACOWNICY (id, Numer, US) values ") + w);
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_388), "");
    const std::string us =
        Kolumna("select min(konh_id) from KONTRAHENCI where RKONH_NAZWA_ID='US'")[0];
    EXPECT_EQ(Kolumna("select Konh_US_id from KONTRAHENCI where RKONH_NAZWA_ID='Pracownik' "
                      "order by numer_prac"),
              (std::vector<std::string>{us, us, "0"}));
}

// An old id of two names or numbers: nothing tells which the references meant.
TEST_F(Kroki388, AnOldIdOfTwoValuesStopsNamingIt) {
    for (const auto& [wiersze, klucz] : std::vector<std::pair<std::string, std::string>>{
             {"S_Kierowcy (Kier_id, kier_nazwa) values (3, 'Jan')|S_Kierowcy (Kier_id, "
              "kier_nazwa) values (3, 'Piotr')",
              "S_Kierowcy ma powtórzony klucz Kier_id = 3"},
             {"KADRY_PRACOWNICY (id, Numer) values (4, 12)|KADRY_PRACOWNICY (id, Numer) values "
              "(4, 13)",
              "KADRY_PRACOWNICY ma powtórzony klucz id = 4"},
             {"KASYBANKI (id_kasy, nazwa) values (1, 'Kasa')|KASYBANKI (id_kasy, nazwa) values "
              "(1, 'Bank')",
              "KASYBANKI ma powtórzony klucz id_kasy = 1"}}) {
        TearDown();
        SetUp();
        const size_t kreska = wiersze.find('|');
        Sql("insert into " + wiersze.substr(0, kreska));
        Sql("insert into " + wiersze.substr(kreska + 1));
        const std::string w = Krok(&ClsKonwersje::Konwersja_388);
        EXPECT_NE(w.find(klucz), std::string::npos) << w;
    }
}

class Kroki389 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(3.88);
        Sql("create table KONTRAHENCI (konh_id counter, KONH_NAZ_SKROT text(16), RKONH_NAZWA_ID "
            "text(50))");
        Sql("create table DOK_FIN (kp_id long, konh_id long)");
        Sql("create table DOK_FIN_ZAWART (kp_id long, rodzaj_dok text(20), dok_id long, "
            "Countt counter)");
        for (const char* t :
             {"DOK_DD", "DOK_DZ", "DOK_PAR", "DOK_PW", "DOK_PZ", "DOK_RW", "DOK_WZ"})
            Sql(std::string("create table ") + t + " (DDOUT_ID long, konh_id long)");
        Sql("create table DOK_FAK (FAKOUT_ID long, konh_id long)");
        for (const char* t : {"DOK_KFA", "DOK_KZA"})
            Sql(std::string("create table ") + t + " (FKOROUT_ID long, konh_id long)");
        Sql("create table DOK_ZAK (numer_id long, numer_dokumentu text(50), konh_id long)");
    }
};

TEST_F(Kroki389, CashDocumentsTakeTheSettledDocumentsParty) {
    Sql("insert into DOK_FAK values (10, 101)");
    Sql("insert into DOK_ZAK values (10, 'F 1/2003', 102)");
    Sql("insert into DOK_PAR values (10, 103)");
    Sql("insert into DOK_FIN values (1, 0)");  // no lines
    Sql("insert into DOK_FIN values (2, 0)");  // an invoice
    Sql("insert into DOK_FIN values (3, 0)");  // a purchase
    Sql("insert into DOK_FIN values (4, 0)");  // a kind that names no document
    Sql("insert into DOK_FIN values (5, 7)");  // has a party
    Sql("insert into DOK_FIN values (6, 0)");  // 'Paragon' is not 'paragon'
    Sql("insert into DOK_FIN values (7, 0)");  // a document that does not exist
    Sql("insert into DOK_FIN values (8, 0)");  // its first line entered is stored last
    for (const char* w : {"(2, 'Faktura', 10, 1)", "(3, 'Zakup', 10, 2)", "(4, 'KP', 10, 3)",
                          "(5, 'Faktura', 10, 4)", "(6, 'Paragon', 10, 5)", "(7, 'DD', 10, 6)",
                          "(8, 'Zakup', 10, 21)", "(8, 'Faktura', 10, 20)"})
        Sql(std::string("insert into DOK_FIN_ZAWART values ") + w);
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_389), "");
    EXPECT_EQ(Kolumna("select konh_id from DOK_FIN order by kp_id"),
              (std::vector<std::string>{"0", "101", "102", "0", "7", "0", "0", "101"}));
}

TEST_F(Kroki389, PayeesOfOneShortNameMergeIntoTheFirst) {
    for (const auto& [id, skrot, rodzaj] :
         std::vector<std::tuple<int, std::string, std::string>>{{10, "ABC", "Pozostali"},
                                                                {11, "O'Neil", "Pozostali"},
                                                                {12, "abc", "Pozostali"},
                                                                {13, "ABC", "Odbiorca"},
                                                                {14, "o'neil", "Pozostali"},
                                                                {15, "Abc", "Pozostali"}})
        Sql("insert into KONTRAHENCI values (" + std::to_string(id) + ", '" +
            (skrot.find('\'') == std::string::npos ? skrot : "O''" + skrot.substr(2)) + "', '" +
            rodzaj + "')");
    for (int id : {10, 12, 13, 14, 15, 15})
        Sql("insert into DOK_FIN values (" + std::to_string(id) + ", " + std::to_string(id) + ")");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_389), "");
    EXPECT_EQ(Kolumna("select konh_id from KONTRAHENCI order by konh_id"),
              (std::vector<std::string>{"10", "11", "13"}));
    EXPECT_EQ(Kolumna("select konh_id from DOK_FIN order by kp_id"),
              (std::vector<std::string>{"10", "10", "13", "11", "10", "10"}));
}

}  // namespace
}  // namespace kroki_test
