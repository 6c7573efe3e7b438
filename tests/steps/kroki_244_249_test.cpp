// Steps 2.44 to 2.49 on a database of version 2.43: unnumbered documents logged in
// Usunieto and deleted with their lines, production numbers, cash desks of old cash
// documents, obsolete tables, and correction lines.
#include "steps/baza_kroku.h"
#include "steps/przerwana_zmiana.h"

namespace kroki_test {
namespace {

class Kroki244 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.43);
        // Headers with their number, deleted-number, id, date, contractor and issuer
        // columns; lines keyed by the header's id.
        Naglowki("faktury", "FAKOUT_ID", "FAKOUT_NUMER", "FAKOUT_DEL", "FAKOUT_DATA_WYST",
                 ", FAKOUT_WYST text(81)");
        Sql("create table faktury_zawart (FAKOUT_ID long, PROD_ID long)");
        Naglowki("k_faktur", "FKOROUT_ID", "FKOROUT_NUMER", "FKOROUT_DEL", "FKOROUT_DATA_WYST", "");
        Sql("create table k_faktur_zawart (FKOROUT_ID long, PROD_ID long, WtymRiR single, "
            "KPiR_RiR long)");
        for (const char* t : {"Paragon", "DOK_WEWNENTRZNE", "DOWODY_DOSTAW", "DOWODY_zwrotu"}) {
            Naglowki(t, "DDOUT_ID", "DDOUT_NUMER", "DDOUT_DEL", "DDOUT_DATA_WYST",
                     ", FAKOUT_WYST text(81), rodzdok text(1), ZAKUP logical");
        }
        for (const char* t : {"Paragon_zawart", "DOWODY_DOSTAW_zawart", "DOWODY_zwrotu_zawart"})
            Sql(std::string("create table ") + t + " (DDOUT_ID long, PROD_ID long)");
        Sql("create table DOK_WEWNENTRZNE_zawart (SPRZ_ID long, PROD_ID long)");
        Sql("create index SPRZ_ID on DOK_WEWNENTRZNE_zawart (SPRZ_ID)");
        Sql("create index PROD_ID on DOK_WEWNENTRZNE_zawart (PROD_ID)");
        Naglowki("ZAKUPY", "NUMER_ID", "NUMER_ZAKSIEGOWANIA", "NUMER_DEL", "DATA_ZAKSIEGOWANIA",
                 "");
        Sql("create table ZAKUPY_zawart (numer_id long, sur_id long, KPiR_RiR long)");
        Naglowki("PRODUKCJA", "DDOUT_ID", "DDOUT_NUMER", "DDOUT_DEL", "DDOUT_DATA_WYST", "");
        Sql("create table produkcja_zawart (sprz_id long, prod_id long)");
        Sql("create table PRODUKCJA_ZAWART_SUROWCE (sprz_id long, sur_id long, rap_id long)");
        Sql("create index indrap_id on PRODUKCJA_ZAWART_SUROWCE (rap_id)");
        Sql("create table NUMERY_OST_DOK (rodzaj_dok text(50), [Miesiąc] integer)");
        Sql("create table KASYBANKI (ID_Kasy counter, [Miejscowość] Text(30))");
    }

    static void Naglowki(const std::string& t, const std::string& id, const std::string& numer,
                         const std::string& del, const std::string& data,
                         const std::string& reszta) {
        Sql("create table " + t + " (" + id + " long, " + numer + " text(200), " + del +
            " text(200), " + data + " date, konh_id long" + reszta + ")");
    }
    // A header with one line: its id, number (nullptr for Null) and a further column list.
    static void Dokument(const std::string& t, const std::string& id_kol,
                         const std::string& numer_kol, int id, const char* numer,
                         const std::string& kolumny = "", const std::string& wartosci = "") {
        Sql("insert into " + t + " (" + id_kol + ", " + numer_kol + ", konh_id" + kolumny +
            ") values (" + std::to_string(id) + ", " +
            (numer ? "'" + std::string(numer) + "'" : std::string("null")) + ", " +
            std::to_string(100 + id) + wartosci + ")");
    }
};

TEST_F(Kroki244, UnnumberedDocumentsAreLoggedThenDeletedWithTheirLines) {
    Sql("insert into faktury values (1, null, 'FA 1/2000', #03/15/2000#, 7, 'Anna')");
    Sql("insert into faktury values (2, 'FA 2/2000', null, #03/16/2000#, 8, 'Anna')");
    Sql("insert into faktury values (3, ' ', null, #03/17/2000#, 9, 'Anna')");  // a blank counts
    for (int id : {1, 1, 2, 3})
        Sql("insert into faktury_zawart values (" + std::to_string(id) + ", 5)");
    Dokument("k_faktur", "FKOROUT_ID", "FKOROUT_NUMER", 1, "");
    Sql("insert into k_faktur_zawart (FKOROUT_ID, PROD_ID) values (1, 5)");
    Dokument("Paragon", "DDOUT_ID", "DDOUT_NUMER", 1, nullptr);
    Dokument("DOK_WEWNENTRZNE", "DDOUT_ID", "DDOUT_NUMER", 1, "", ", rodzdok", ", 'R'");
    Dokument("DOK_WEWNENTRZNE", "DDOUT_ID", "DDOUT_NUMER", 2, nullptr, ", rodzdok", ", 'P'");
    Dokument("DOK_WEWNENTRZNE", "DDOUT_ID", "DDOUT_NUMER", 3, nullptr, ", rodzdok", ", 'X'");
    Dokument("DOK_WEWNENTRZNE", "DDOUT_ID", "DDOUT_NUMER", 4, "SP 4", ", rodzdok", ", 'R'");
    for (int id : {1, 2, 3, 4})
        Sql("insert into DOK_WEWNENTRZNE_zawart values (" + std::to_string(id) + ", 5)");
    Dokument("DOWODY_DOSTAW", "DDOUT_ID", "DDOUT_NUMER", 1, "", ", ZAKUP", ", 0");
    Dokument("DOWODY_DOSTAW", "DDOUT_ID", "DDOUT_NUMER", 2, "", ", ZAKUP", ", -1");
    Dokument("DOWODY_DOSTAW", "DDOUT_ID", "DDOUT_NUMER", 3, "", ", ZAKUP", ", null");
    Sql("insert into DOWODY_DOSTAW_zawart values (3, 5)");
    Dokument("DOWODY_zwrotu", "DDOUT_ID", "DDOUT_NUMER", 1, nullptr, ", ZAKUP", ", -1");
    Dokument("ZAKUPY", "NUMER_ID", "NUMER_ZAKSIEGOWANIA", 1, nullptr);
    Dokument("ZAKUPY", "NUMER_ID", "NUMER_ZAKSIEGOWANIA", 2, "1/2000");
    Sql("insert into ZAKUPY_zawart (numer_id, sur_id) values (1, 5)");
    Sql("insert into ZAKUPY_zawart (numer_id, sur_id) values (2, 6)");

    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_244), "");
    EXPECT_EQ(
        Wiersze_Z("select rodzaj, nr_dokumentu, id_dokumentu, id_kontrahenta, "
                  "data_dokumentu, data_usuniecia, kto_usunol from Usunieto"),
        (Wiersze{{"Sprzedaż_F_VAT", "FA 1/2000", "1", "7", "2000-03-15", "2001-02-20", "Anna"},
                 {"Sprzedaż_korekta", "Null", "1", "101", "Null", "2001-02-20", "Null"},
                 {"Paragon", "Null", "1", "101", "Null", "2001-02-20", "Null"},
                 {"Sprzedaż_detal", "Null", "1", "101", "Null", "2001-02-20", "Null"},
                 {"MAGAZYN_PW", "Null", "2", "102", "Null", "2001-02-20", "Null"},
                 {"Sprzedaż_ddost", "Null", "1", "101", "Null", "2001-02-20", "Null"},
                 {"Zakup_ddost", "Null", "2", "102", "Null", "2001-02-20", "Null"},
                 {"Zakup_zwroty", "Null", "1", "101", "Null", "2001-02-20", "Null"},
                 {"zakupy", "Null", "1", "101", "Null", "2001-02-20", "Null"}}));
    EXPECT_EQ(Kolumna("select FAKOUT_ID from faktury order by 1"),
              (std::vector<std::string>{"2", "3"}));
    EXPECT_EQ(Kolumna("select FAKOUT_ID from faktury_zawart order by 1"),
              (std::vector<std::string>{"2", "3"}));
    EXPECT_EQ(Kolumna("select count(*) from k_faktur"), std::vector<std::string>{"0"});
    EXPECT_EQ(Kolumna("select count(*) from k_faktur_zawart"), std::vector<std::string>{"0"});
    // Kinds outside the log's list go without a row in it.
    EXPECT_EQ(Kolumna("select DDOUT_ID from DOK_WEWNENTRZNE"), std::vector<std::string>{"4"});
    EXPECT_EQ(Kolumna("select ddout_id from DOK_WEWNENTRZNE_zawart"),
              std::vector<std::string>{"4"});
    EXPECT_EQ(Kolumna("select count(*) from DOWODY_DOSTAW"), std::vector<std::string>{"0"});
    EXPECT_EQ(Kolumna("select count(*) from DOWODY_DOSTAW_zawart"), std::vector<std::string>{"0"});
    EXPECT_EQ(Kolumna("select NUMER_ID from ZAKUPY"), std::vector<std::string>{"2"});
    EXPECT_EQ(Kolumna("select numer_id from ZAKUPY_zawart"), std::vector<std::string>{"2"});
    for (const char* gone :
         {"select DDOUT_DEL from DOK_WEWNENTRZNE", "select DDOUT_DEL from DOWODY_DOSTAW",
          "select DDOUT_DEL from DOWODY_ZWROTU", "select FAKOUT_DEL from FAKTURY",
          "select FKOROUT_DEL from K_FAKTUR", "select DDOUT_DEL from PRODUKCJA",
          "select DDOUT_DEL from Paragon", "select NUMER_DEL from ZAKUPY",
          "select WtymRiR from k_faktur_zawart", "select KPiR_RiR from k_faktur_zawart",
          "select KPiR_RiR from Zakupy_zawart", "select sprz_id from produkcja_zawart"})
        EXPECT_FALSE(Czyta_Sie(gone)) << gone;
}

TEST_F(Kroki244, ColumnsWithPolishNamesGetPlainOnesWithTheirValues) {
    Sql("insert into NUMERY_OST_DOK values ('faktura', 13)");
    Sql("insert into KASYBANKI ([Miejscowość]) values ('Nowy Targ')");
    Sql("insert into produkcja_zawart values (4, 9)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_244), "");
    EXPECT_EQ(Wiersze_Z("select rodzaj_dok, MIESIAC from NUMERY_OST_DOK"),
              (Wiersze{{"faktura", "13"}}));
    EXPECT_EQ(Kolumna("select MIEJSCOWOSC from KASYBANKI"), std::vector<std::string>{"Nowy Targ"});
    EXPECT_FALSE(Czyta_Sie("select [Miesiąc] from NUMERY_OST_DOK"));
    EXPECT_EQ(Wiersze_Z("select ddout_id, prod_id from produkcja_zawart"), (Wiersze{{"4", "9"}}));
}

// A run that committed each statement on its own and stopped in the wait after ddout_id
// was added (empty) to one of the line tables left sprz_id's values only in the
// temporary column, and the tables before it moved. The next run ends as an
// uninterrupted one.
TEST_F(Kroki244, RerunAfterAStopBeforeTheCopyBackEndsAsAnUninterruptedRun) {
    const auto dane = [] {
        Dokument("DOK_WEWNENTRZNE", "DDOUT_ID", "DDOUT_NUMER", 1, "", ", rodzdok", ", 'R'");
        Dokument("DOK_WEWNENTRZNE", "DDOUT_ID", "DDOUT_NUMER", 4, "SP 4", ", rodzdok", ", 'R'");
        for (const char* w : {"1, 5", "4, 6", "4, 7", "Null, 8"})
            Sql(std::string("insert into DOK_WEWNENTRZNE_zawart values (") + w + ")");
        for (const char* w : {"4, 9", "Null, 10", "5, 11"})
            Sql(std::string("insert into produkcja_zawart values (") + w + ")");
        for (const char* w : {"4, 1, 3", "6, 2, Null"})
            Sql(std::string("insert into PRODUKCJA_ZAWART_SUROWCE values (") + w + ")");
    };
    dane();
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_244), "");
    const std::vector<std::string> bez_przerwy = Zawartosc_Bazy();
    for (const char* tabela :
         {"dok_wewnentrzne_zawart", "produkcja_zawart", "PRODUKCJA_ZAWART_SUROWCE"}) {
        SCOPED_TRACE(tabela);
        TearDown();
        SetUp();
        dane();
        {
            Stop_Po_Dodaniu stop(tabela, "ddout_id");
            EXPECT_NE(Krok(&ClsKonwersje::Konwersja_244), "");
            ASSERT_TRUE(stop.zatrzymany());
        }
        DbZamknij();
        DbOtwórz();
        EXPECT_EQ(Kolumna(std::string("select count(ddout_id) from ") + tabela),
                  std::vector<std::string>{"0"});
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_244), "");
        EXPECT_EQ(Zawartosc_Bazy(), bez_przerwy);
    }
}

TEST_F(Kroki244, ProductionDocumentsWithoutANumberAreNumberedByTheirId) {
    Dokument("PRODUKCJA", "DDOUT_ID", "DDOUT_NUMER", 5, nullptr);
    Dokument("PRODUKCJA", "DDOUT_ID", "DDOUT_NUMER", 6, "");
    Dokument("PRODUKCJA", "DDOUT_ID", "DDOUT_NUMER", 7, "PP 1");
    Sql("insert into PRODUKCJA_ZAWART_SUROWCE values (5, 1, 3)");
    Sql("create table Usunieto (rodzaj text(50))");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_245), "");
    EXPECT_EQ(Kolumna("select DDOUT_NUMER from PRODUKCJA order by DDOUT_ID"),
              (std::vector<std::string>{"5", "6", "PP 1"}));
    EXPECT_FALSE(Czyta_Sie("select rap_id from PRODUKCJA_ZAWART_SUROWCE"));
    EXPECT_TRUE(Czyta_Sie("select inwentaryzacja from Usunieto"));
}

TEST_F(Kroki244, CashDocumentsWithoutADeskGoToTheCashDeskOrTheBank) {
    Sql("create table KP (id counter, kb text(1), id_kasy long)");
    for (const char* w : {"'K', null", "'K', 0", "'K', 5", "'B', null", "'B', 0", "'X', null"})
        Sql(std::string("insert into KP (kb, id_kasy) values (") + w + ")");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_246), "");
    EXPECT_EQ(Kolumna("select id_kasy from KP order by id"),
              (std::vector<std::string>{"1", "1", "5", "2", "2", "Null"}));
}

TEST_F(Kroki244, ObsoleTablesAndNewColumns) {
    Sql("create table zamowienia_ost (a long)");
    Sql("create table Raport_kasowy (id long)");
    Sql("create table kontrahenci (konh_id long)");
    Sql("insert into kontrahenci values (1)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_247), "");  // Zamowienia_raport is missing
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_248), "");
    EXPECT_FALSE(Jest_Tabela("zamowienia_ost"));
    EXPECT_TRUE(Czyta_Sie("select Closed from Raport_kasowy"));
    EXPECT_EQ(Kolumna("select id_kasy from kontrahenci"), std::vector<std::string>{"Null"});
}

TEST_F(Kroki244, CorrectionLinesByModeAndASecondRunChangesNothing) {
    Sql("drop table k_faktur_zawart");
    Sql("create table K_FAKTUR_ZAWART (id long, zfkorout_tryb text(1), ZFKOROUT_CENA_N money, "
        "ZFKOROUT_ILOSC single, zfkorout_ilosckor single)");
    Sql("create table kontrahenci (konh_id long, id_kasy long)");
    Sql("insert into kontrahenci values (1, null)");
    Sql("insert into kontrahenci values (2, 3)");
    Sql("insert into K_FAKTUR_ZAWART values (1, 'p', 4.5, 2, -1)");
    Sql("insert into K_FAKTUR_ZAWART values (2, 'n', 4.5, 2, -3)");
    Sql("insert into K_FAKTUR_ZAWART values (3, 'n', 4.5, 2, 3)");
    Sql("insert into K_FAKTUR_ZAWART values (4, 'x', 4.5, 2, -3)");
    Sql("alter table K_FAKTUR_ZAWART add column CENA_ORG money");
    // A line without a net price keeps its original price.
    Sql("insert into K_FAKTUR_ZAWART values (5, 'p', null, 2, -1, 2.5)");
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_249), "");
        EXPECT_EQ(Wiersze_Z("select CENA_ORG, ZFKOROUT_ILOSC, zfkorout_ilosckor from "
                            "K_FAKTUR_ZAWART order by id"),
                  (Wiersze{{"4,5", "2", "-1"},
                           {"0", "0", "3"},
                           {"0", "0", "3"},
                           {"Null", "2", "-3"},
                           {"2,5", "2", "-1"}}));
    }
    EXPECT_EQ(Kolumna("select id_kasy from kontrahenci order by konh_id"),
              (std::vector<std::string>{"0", "3"}));
}

}  // namespace
}  // namespace kroki_test
