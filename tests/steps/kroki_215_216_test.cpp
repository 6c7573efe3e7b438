// Steps 2.15 and 2.16 on a database of version 2.14: contractor columns, and the
// owner's data, options and place of issue moved into Setup.
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki215 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.15);
        Sql("create table [Setup] ([Nazwa] TEXT (255), [Wartosc] memo)");
        Sql("create table wlasciciel (naz1 text(60), naz2 text(60), naz_skrot text(30), "
            "ulica text(40), miasto text(40), kod text(6), tel text(30), fax text(30), "
            "nip text(13), regon text(14), konto text(40), bank text(40))");
        Sql("create table ustawienia (akt_rok long, roczna logical, kopia integer, pytaj long, "
            "Dr_Text text(50), Text2 text(100), Text1 text(100), text3 text(200), "
            "sum_zamowienia logical, licz_odsetki logical, wys_odsetek single, "
            "drukuj_odsetki logical, pokaz_netto integer, id_konh_el long)");
        Sql("create table PARAMETRY_NAGLOWEK (dokument text(50), nazwa text(100))");
        for (const char* t :
             {"ostatnie_wystawienie", "ostatnie_wystawienie3", "ostatnie_wystawienie5"})
            Sql(std::string("create table ") + t + " (id long)");
    }

    static std::string Setup(const std::string& klucz) {
        const auto w = Kolumna("select Wartosc from Setup where Nazwa='" + klucz + "'");
        return w.size() == 1 ? w[0] : "(" + std::to_string(w.size()) + " rows)";
    }
};

TEST_F(Kroki215, ContractorsGetTheDriverShareAndTheExportNumber) {
    Sql("create table Kontrahenci (KONH_ID long, konh_nazwa text(60))");
    Sql("insert into Kontrahenci values (1, 'Alfa')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_215), "");
    Sql("insert into Kontrahenci (KONH_ID) values (2)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_215), "");
    EXPECT_EQ(Wiersze_Z("select ProcentKier, NumerWFK from Kontrahenci order by KONH_ID"),
              (Wiersze{{"0", "Null"}, {"0", "Null"}}));
}

TEST_F(Kroki215, OwnerDataAndOptionsBecomeSetupRows) {
    Sql("insert into wlasciciel values ('Piekarnia Kłos', null, 'Kłos', 'Polna 1', 'Łódź', "
        "'90-001', '42 111', null, '725-000-00-00', '471', '12 1020', 'PKO')");
    Sql("insert into ustawienia values (2001, -1, 2, 1, 'dr', 'T2', 'T1', "
        "'Serwis: (0-22) 631-47-05 codziennie', 0, -1, 12.5, 0, 0, 17)");
    Sql("insert into ustawienia values (1999, 0, 9, 0, 'x', 'x', 'x', 'x', -1, 0, 1, -1, 1, 3)");
    Sql("insert into PARAMETRY_NAGLOWEK values ('Miejsce wystawienia', 'Łódź')");
    Sql("insert into PARAMETRY_NAGLOWEK values ('Stopka', 'Dziękujemy')");
    Sql("insert into PARAMETRY_NAGLOWEK values ('Miejsce wystawienia', 'Kraków')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_216), "");

    const std::pair<const char*, const char*> oczekiwane[] = {
        {"W:NAZWA 1", "Piekarnia Kłos"},
        {"W:NAZWA 2", ""},
        {"W:NAZWA SKRÓT", "Kłos"},
        {"W:ULICA", "Polna 1"},
        {"W:MIASTO", "Łódź"},
        {"W:KOD", "90-001"},
        {"W:TEL", "42 111"},
        {"W:FAX", ""},
        {"W:NIP", "725-000-00-00"},
        {"W:REGON", "471"},
        {"W:KONTO", "12 1020"},
        {"W:BANK", "PKO"},
        {"AKT_ROK", "2001"},
        {"ROCZNA", "1"},
        {"KOPIA", "2"},
        {"PYTAJ", "1"},
        {"DR_TEXT", "dr"},
        {"TEXT2", "T2"},
        {"TEXT1", "T1"},
        {"TEXT3", "Pomoc techniczna: tel. (0-22) 847-31-20"},
        {"SUM_ZAMOWIENIA", "0"},
        {"LICZ_ODSETKI", "1"},
        {"WYS_ODSETEK", "12,5"},
        {"DRUKUJ_ODSETKI", "0"},
        {"POKAZ_NETTO", "0"},
        {"SP_DRUKOWANIE", "0"},
        {"ID_KONH_EL", "17"},
        {"MIEJSCE_WYST", "Łódź"},
    };
    for (const auto& [klucz, wartosc] : oczekiwane) EXPECT_EQ(Setup(klucz), wartosc) << klucz;
    EXPECT_EQ(Kolumna("select count(*) from Setup"), std::vector<std::string>{"28"});
    EXPECT_EQ(Kolumna("select nazwa from PARAMETRY_NAGLOWEK"),
              (std::vector<std::string>{"Dziękujemy", "Kraków"}));
    for (const char* t : {"ostatnie_wystawienie", "ostatnie_wystawienie3", "ostatnie_wystawienie5"})
        EXPECT_FALSE(Jest_Tabela(t)) << t;
}

TEST_F(Kroki215, FooterTextWithoutAnOldNumberIsCarriedOver) {
    for (const char* tekst : {"Tel. 0-22 631-47-07, fax 631-47-08", "", "(0-22) 631-47-06"}) {
        Sql("delete from ustawienia");
        Sql(std::string("insert into ustawienia (kopia, wys_odsetek, text3) values (1, 0, '") +
            tekst + "')");
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_216), "");
        const std::string t = tekst;
        EXPECT_EQ(Setup("TEXT3"), t.find("631-47-06") == std::string::npos
                                      ? t
                                      : "Pomoc techniczna: tel. (0-22) 847-31-20");
    }
}

TEST_F(Kroki215, MissingOrEmptySourcesSkipOnlyTheirOwnKeys) {
    Sql("drop table wlasciciel");
    Sql("insert into ustawienia (kopia, wys_odsetek, roczna) values (1, 0, 0)");
    Odpowiedzi({platform::mb::ignore});
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_216), "");
    EXPECT_EQ(Kolumna("select count(*) from Setup where Nazwa like 'W:*'"),
              std::vector<std::string>{"0"});
    EXPECT_EQ(Setup("ROCZNA"), "0");
    EXPECT_EQ(Setup("PYTAJ"), "0");  // a flag never set (Null) counts as False
    EXPECT_EQ(Kolumna("select count(*) from Setup where Nazwa='MIEJSCE_WYST'"),
              std::vector<std::string>{"0"});
}

TEST_F(Kroki215, NullOptionsAndPlaceOfIssueGiveEmptyValues) {
    Sql("insert into ustawienia (akt_rok, kopia, wys_odsetek) values (2001, null, null)");
    Sql("insert into PARAMETRY_NAGLOWEK (dokument) values ('Miejsce wystawienia')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_216), "");
    for (const char* klucz : {"KOPIA", "WYS_ODSETEK", "MIEJSCE_WYST"})
        EXPECT_EQ(Setup(klucz), "") << klucz;
    EXPECT_EQ(Setup("AKT_ROK"), "2001");
}

}  // namespace
}  // namespace kroki_test
