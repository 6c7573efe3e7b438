// Steps 2.38 to 2.41 on the tables they need, as they stand before each step: the book
// entry codes, correction numbers and signs, and the document tables of the 2.41 release.
#include <map>
#include <tuple>

#include "steps/baza_kroku.h"
#include "steps/przerwana_zmiana.h"

namespace kroki_test {
namespace {

class Kroki238 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(2.37); }

    // Every table that step 2.41 changes, with the columns it retypes, drops and reads.
    void Dokumenty() {
        const std::string dd =
            " (DDOUT_ID counter, DDOUT_NUMER text(50), DDOUT_DEL text(50), KONH_ID long, "
            "fplat_nazwa_id text(50), DDOUT_WART_N single, DDOUT_wart_VAT single, rabat single, "
            "b_rabat_n single, b_rabat_v single, zapis logical, ddout_zaplacona logical)";
        for (const char* t :
             {"Paragon", "dowody_dostaw", "dowody_zwrotu", "Dok_Wewnentrzne", "Produkcja"})
            Sql(std::string("create table ") + t + dd);
        Sql("create index FAKOUT_NUMER on dowody_dostaw (DDOUT_NUMER)");
        Sql("create index KONH_ID on dowody_dostaw (KONH_ID)");
        Sql("create table faktury (FAKOUT_ID counter, FAKOUT_NUMER text(50), FAKOUT_DEL "
            "text(50), KONH_ID long, FPLAT_NAZWA_ID text(30), FAKOUT_RABAT single, FAKOUT_WYST "
            "text(50), b_rabat_n single, b_rabat_v single, fakout_kwota_zapl single, zapis "
            "logical, FAKOUT_ZAPLACONA logical, FAKOUT_mag long)");
        Sql("create index [FPŁAT_ID] on faktury (FPLAT_NAZWA_ID)");
        Sql("create table K_faktur (FKOROUT_ID counter, fkorout_numer text(50), fkorout_del "
            "text(50), konh_id long, FPLAT_NAZWA_ID text(50), fkorout_rabat single, b_rabat_n "
            "single, b_rabat_v single, del_fakout_id integer, zapis logical, Fkorout_zaplacona "
            "logical, ZAKUP logical, fkorout_wart_n money, fkorout_wart_vat money, WART_KP money)");
        Sql("create index del_fakout_id on K_faktur (del_fakout_id)");
        Sql("create table zakupy (numer_id counter, numer_zaksiegowania text(50), "
            "numer_dokumentu text(50), numer_del text(50), f_platnosci text(30), del logical, "
            "zapisz logical, zakup_rodzaj text(10), rodzajdok text(10), rozliczona logical)");
        Sql("create table tabela_vat (id long, vat7 single, vat22 single, n7 single, n22 single, "
            "nzw single, n0 single, vat3 single, n3 single)");
        Sql("create table REMANENTINWENT_ZAWART (id long, Cena single)");
        Sql("create table UZYTKOWNICY (id counter, nazwisko_uzytkownika text(50), Haslo "
            "text(50))");
        Sql("create unique index nazwisko_uzytkownika on UZYTKOWNICY (nazwisko_uzytkownika)");
        Sql("create table SRODKI_TRWALE_ZAWART (id long, wlasna_amort logical)");
        Sql("create table siec (id counter, stanowisko text(50))");
        Sql("create index INCOUNTER on siec (id)");
        Sql("create table kontrahenci (konh_id long, Fplat_nazwa_id text(50))");
        Sql("insert into kontrahenci values (1, 'Przelew')");
        Sql("insert into kontrahenci values (2, 'Gotówka')");
    }
};

TEST_F(Kroki238, BookEntryKindsAreRecodedOnce) {
    Sql("create table KPIR_KSIEGA (kpir_id counter, Rodzaj long)");
    Sql("create table KONTRAHENT_RODZAJ (id long)");
    const std::pair<const char*, const char*> kody[] = {
        {"2", "10"}, {"11", "20"}, {"1", "21"}, {"3", "30"},  {"41", "40"},  {"4", "41"},
        {"5", "50"}, {"0", "99"},  {"6", "6"},  {"40", "40"}, {"Null", "99"}};
    for (const auto& [przed, po] : kody)
        Sql(std::string("insert into KPIR_KSIEGA (Rodzaj) values (") + przed + ")");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_238), "");
    std::vector<std::string> oczekiwane;
    for (const auto& kod : kody) oczekiwane.push_back(kod.second);
    EXPECT_EQ(Kolumna("select Rodzaj from KPIR_KSIEGA order by kpir_id"), oczekiwane);
    EXPECT_FALSE(Jest_Tabela("KONTRAHENT_RODZAJ"));
}

// A database without KONTRAHENT_RODZAJ whose book has kind 41 and no kind 4, and whose
// Log says nothing of the step: a first run, converted.
TEST_F(Kroki238, WithoutTheLogsWordAFirstRunConverts) {
    Sql("create table KPIR_KSIEGA (kpir_id counter, Rodzaj long)");
    Sql("insert into KPIR_KSIEGA (Rodzaj) values (41)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_238), "");
    EXPECT_EQ(Kolumna("select Rodzaj from KPIR_KSIEGA"), std::vector<std::string>{"40"});
}

TEST_F(Kroki238, CorrectionNumbersAndPurchaseCorrectionSigns) {
    Sql("create table K_FAKTUR (FKOROUT_ID counter, fkorout_numer text(50), ZAKUP logical, "
        "fkorout_wart_n money, fkorout_wart_vat money, WART_KP money)");
    Sql("create table K_FAKTUR_ZAWART (FKOROUT_ID long, ZFKOROUT_ILOSC single, "
        "zfkorout_ilosckor single)");
    Sql("create table DOWODY_DOSTAW (DDOUT_ID counter, Zbiorczy_id long)");
    Sql("insert into K_FAKTUR (fkorout_numer, ZAKUP, fkorout_wart_n, fkorout_wart_vat, WART_KP) "
        "values ('0', -1, -100, -22, -122)");
    Sql("insert into K_FAKTUR (fkorout_numer, ZAKUP, fkorout_wart_n, fkorout_wart_vat, WART_KP) "
        "values ('FK 0/2001', 0, -50, -3.5, -53.5)");
    Sql("insert into K_FAKTUR_ZAWART values (1, 10, 8)");
    Sql("insert into K_FAKTUR_ZAWART values (1, 4, 0)");
    Sql("insert into K_FAKTUR_ZAWART values (2, 5, 3)");
    Sql("insert into DOWODY_DOSTAW (Zbiorczy_id) values (null)");
    Sql("insert into DOWODY_DOSTAW (Zbiorczy_id) values (4)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_239), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_240), "");
    EXPECT_EQ(Wiersze_Z("select fkorout_numer, fkorout_wart_n, fkorout_wart_vat, WART_KP from "
                        "K_FAKTUR order by FKOROUT_ID"),
              (Wiersze{{"", "100", "22", "122"}, {"FK 0/2001", "-50", "-3,5", "-53,5"}}));
    EXPECT_EQ(Wiersze_Z("select ZFKOROUT_ILOSC, zfkorout_ilosckor from K_FAKTUR_ZAWART order by "
                        "FKOROUT_ID, ZFKOROUT_ILOSC"),
              (Wiersze{{"-10", "-8"}, {"-4", "0"}, {"5", "3"}}));
    EXPECT_EQ(Kolumna("select Zbiorczy_id from DOWODY_DOSTAW order by DDOUT_ID"),
              (std::vector<std::string>{"0", "4"}));
    // Two purchase corrections of one id would change their lines' sign twice: the step
    // stops naming them.
    Sql("insert into K_FAKTUR (FKOROUT_ID, ZAKUP) values (1, -1)");
    EXPECT_NE(Krok(&ClsKonwersje::Konwersja_240).find("ma powtórzony klucz FKOROUT_ID = 1"),
              std::string::npos);
}

TEST_F(Kroki238, PaymentFormsAreReducedToTheFourKept) {
    Dokumenty();
    struct Dokument {
        const char* tabela;
        const char* klucz;
        const char* forma;  // SQL
        int kontrahent;
        const char* po;
    };
    const Dokument dokumenty[] = {
        // Invoices, corrections and delivery notes take the contractor's form.
        {"faktury", "FAKOUT_ID", "'Przelew 7 dni'", 2, "Gotówka"},
        {"faktury", "FAKOUT_ID", "'Przelew+Gotówka'", 2, "Przelew+Gotówka"},
        {"faktury", "FAKOUT_ID", "Null", 1, "Przelew"},
        {"faktury", "FAKOUT_ID", "'Kompensata'", 9, "Kompensata"},  // no such contractor
        {"K_faktur", "FKOROUT_ID", "'Kompensata'", 1, "Przelew"},
        {"K_faktur", "FKOROUT_ID", "'Gotówka'", 1, "Gotówka"},
        {"K_faktur", "FKOROUT_ID", "'Kompensata'", 3, "Kompensata"},  // the contractor has none
        {"dowody_dostaw", "DDOUT_ID", "'gotówka przy odbiorze'", 1, "Przelew"},
        {"dowody_dostaw", "DDOUT_ID", "Null", 2, "Gotówka"},
        // Receipts only fill a missing form; returns keep theirs.
        {"Paragon", "DDOUT_ID", "'Kompensata'", 1, "Kompensata"},
        {"Paragon", "DDOUT_ID", "Null", 1, "Przelew"},
        {"dowody_zwrotu", "DDOUT_ID", "'Kompensata'", 1, "Kompensata"},
        {"dowody_zwrotu", "DDOUT_ID", "Null", 1, "Null"},
    };
    Sql("insert into kontrahenci values (3, Null)");
    for (const auto& d : dokumenty)
        Sql(std::string("insert into ") + d.tabela + " (KONH_ID, FPLAT_NAZWA_ID) values (" +
            std::to_string(d.kontrahent) + ", " + d.forma + ")");
    Sql("insert into zakupy (f_platnosci) values ('Przelew 14 dni')");
    Sql("insert into zakupy (f_platnosci) values ('Gotówka+Przelew')");
    Sql("insert into zakupy (f_platnosci) values (null)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_241), "");

    std::map<std::string, int> wiersz;
    for (const auto& d : dokumenty) {
        const int n = ++wiersz[d.tabela];
        EXPECT_EQ(Kolumna(std::string("select FPLAT_NAZWA_ID from ") + d.tabela + " where " +
                          d.klucz + "=" + std::to_string(n)),
                  std::vector<std::string>{d.po})
            << d.tabela << " " << n;
    }
    EXPECT_EQ(Kolumna("select f_platnosci from zakupy order by numer_id"),
              (std::vector<std::string>{"Przelew", "Gotówka+Przelew", "Null"}));
}

TEST_F(Kroki238, DocumentTablesTakeTheNewTypesAndLoseObsoleteColumns) {
    Dokumenty();
    Sql("insert into faktury (FAKOUT_NUMER, FAKOUT_RABAT, b_rabat_n, FAKOUT_WYST) values "
        "('FA 1/2001', 2.5, 10.25, 'Zofia Gąsienica')");
    Sql("insert into Dok_Wewnentrzne (DDOUT_NUMER, DDOUT_WART_N) values ('PW 3/2001', 123.45)");
    Sql("insert into UZYTKOWNICY (nazwisko_uzytkownika, Haslo) values ('ADMIN', 'tajne')");
    Sql("insert into tabela_vat (id, n22, vat22) values (1, 100, 22)");
    for (int przebieg = 0; przebieg < 2; ++przebieg)
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_241), "") << przebieg;

    EXPECT_EQ(Wiersze_Z("select FAKOUT_NUMER, FAKOUT_RABAT, b_rabat_n, FAKOUT_WYST from faktury"),
              (Wiersze{{"FA 1/2001", "2,5", "10,25", "Zofia Gąsienica"}}));
    EXPECT_EQ(Wiersze_Z("select DDOUT_NUMER, DDOUT_WART_N from Dok_Wewnentrzne"),
              (Wiersze{{"PW 3/2001", "123,45"}}));
    EXPECT_EQ(Wiersze_Z("select nazwisko_uzytkownika, Haslo from UZYTKOWNICY"),
              (Wiersze{{"ADMIN", "tajne"}}));
    EXPECT_EQ(Wiersze_Z("select n22, vat22 from tabela_vat"), (Wiersze{{"100", "22"}}));

    const std::tuple<const char*, const char*, int> typy[] = {
        {"faktury", "FAKOUT_NUMER", dao::dbText},
        {"faktury", "FAKOUT_RABAT", dao::dbCurrency},
        {"K_faktur", "del_fakout_id", dao::dbLong},
        {"K_faktur", "b_rabat_v", dao::dbCurrency},
        {"Paragon", "b_rabat_n", dao::dbCurrency},
        {"produkcja", "rabat", dao::dbCurrency},
        {"tabela_vat", "n3", dao::dbCurrency},
        {"REMANENTINWENT_ZAWART", "Cena", dao::dbCurrency},
        {"dowody_zwrotu", "rabat", dao::dbCurrency},
        {"Dok_Wewnentrzne", "DDOUT_wart_VAT", dao::dbCurrency},
    };
    for (const auto& [tabela, kolumna, typ] : typy)
        EXPECT_EQ(Typ_Pola(tabela, kolumna), typ) << tabela << "." << kolumna;
    {
        ado::Recordset rs;
        rs.Open("select DDOUT_NUMER from dowody_dostaw", polaczenie());
        EXPECT_EQ(rs.Fields(0).DefinedSize(), 200);
    }

    const std::pair<const char*, const char*> usuniete[] = {
        {"zakupy", "del"},
        {"zakupy", "zapisz"},
        {"zakupy", "rozliczona"},
        {"faktury", "zapis"},
        {"faktury", "FAKOUT_mag"},
        {"K_faktur", "Fkorout_zaplacona"},
        {"Paragon", "ddout_zaplacona"},
        {"produkcja", "zapis"},
        {"SRODKI_TRWALE_ZAWART", "wlasna_amort"},
    };
    for (const auto& [tabela, kolumna] : usuniete)
        EXPECT_FALSE(Czyta_Sie(std::string("select ") + kolumna + " from " + tabela))
            << tabela << "." << kolumna;
    EXPECT_TRUE(Czyta_Sie("select FAKOUT_WYST, Zbiorczy_id, Zakup from Paragon"));
    EXPECT_TRUE(Czyta_Sie("select num_ndok, kier_id, smz_id from produkcja"));
    EXPECT_TRUE(Czyta_Sie("select ddout_Termin_zaplaty, Remanent, rodzdok from dowody_zwrotu"));
    EXPECT_FALSE(Jest_Tabela("siec"));
    EXPECT_TRUE(Jest_Tabela("HELP"));
}

// What a stopped run of the suite's earlier tool left (each statement committed on its
// own): the step runs again to the uninterrupted run's database.
TEST_F(Kroki238, StepStoppedPartWayEndsAsAnUninterruptedOne) {
    // The first n statements of each change (column, type, n), in order.
    using Zmiany = std::vector<std::tuple<const char*, const char*, size_t>>;
    const auto zmiany = [](const char* tabela, const Zmiany& z) {
        std::vector<std::string> w;
        for (const auto& [kolumna, typ, n] : z) {
            const auto p = Polecenia_Zmiany(tabela, kolumna, typ);
            w.insert(w.end(), p.begin(), p.begin() + static_cast<std::ptrdiff_t>(n));
        }
        return w;
    };
    const char* kTekst = "text (200)";
    const char* kKwota = "CURRENCY";
    // Purchases whose payment form already has its new type; the first n statements of its
    // change after the changes before it.
    const std::vector<std::string> zakupy = {
        "alter table zakupy drop column f_platnosci", "alter table zakupy add f_platnosci text(50)",
        "insert into zakupy (numer_del, f_platnosci) values ('Z 1', 'Przelew')"};
    const auto zakupy_po = [&](size_t n) {
        return zmiany("zakupy", {{"numer_zaksiegowania", kTekst, 9},
                                 {"numer_dokumentu", kTekst, 9},
                                 {"numer_del", kTekst, 9},
                                 {"f_platnosci", "text(50)", n}});
    };
    const struct {
        MetodaKroku krok;
        std::vector<std::string> baza, stan;
    } przypadki[] = {
        // A column that already has its new type, its change stopped after the copy: the
        // changes before it found theirs as they leave them.
        {&ClsKonwersje::Konwersja_241, zakupy, zakupy_po(3)},
        // Its column dropped: the copy holds its only values and is not dropped.
        {&ClsKonwersje::Konwersja_241, zakupy, zakupy_po(6)},
        // The second change of a discount stopped after the copy.
        {&ClsKonwersje::Konwersja_241,
         {"insert into K_faktur (fkorout_numer, fkorout_rabat) values ('K 1', 2.5)"},
         zmiany("K_faktur", {{"fkorout_numer", kTekst, 9},
                             {"fkorout_del", kTekst, 9},
                             {"fkorout_rabat", kKwota, 9},
                             {"b_rabat_n", kKwota, 9},
                             {"b_rabat_v", kKwota, 9},
                             {"del_fakout_id", "LONG", 9},
                             {"fkorout_rabat", kKwota, 3}})},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.stan.back());
        Wiersze prosto;
        for (const bool przerwany : {false, true}) {
            TearDown();
            Otworz(2.37);
            Dokumenty();
            Sql("create table KONTRAHENT_RODZAJ (id long)");
            for (const std::string& s : p.baza) Sql(s);
            if (przerwany) Wykonaj_Polecenia(p.stan, p.stan.size());
            const std::string r = Krok(p.krok);
            if (!przerwany) {
                ASSERT_EQ(r, "");
                prosto = Zawartosc();
            } else {
                EXPECT_EQ(r, "");
                EXPECT_EQ(Zawartosc(), prosto);
            }
        }
    }
}

}  // namespace
}  // namespace kroki_test
