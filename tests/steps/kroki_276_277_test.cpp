// Steps 2.76 and 2.77 on a database of version 2.75: the purchase-side documents and the
// warehouse receipts moved into tables of their own, and the document-kind names of
// the numbering tables and the VAT register renamed and lower-cased.
#include "db/awaria_zapisu.h"
#include "db/otworz.h"
#include "steps/165_299/wspolne.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki276 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.75);
        Sql("create table DOK_KFA (FKOROUT_ID counter, FKOROUT_NUMER text(200), ZAKUP logical, "
            "FKOROUT_WART_N money)");
        Sql("create table DOK_KFA_ZAWART (FKOROUT_ID long, PROD_ID long, ZFKOROUT_ILOSC single)");
        for (const char* t : {"DOK_DZ", "DOK_DD", "DOK_RW"}) {
            Sql(std::string("create table ") + t +
                " (DDOUT_ID counter, DDOUT_NUMER text(200), ZAKUP logical, rodzdok text(1))");
            Sql(std::string("create table ") + t +
                "_ZAWART (DDOUT_ID long, PROD_ID long, WSPRZ_ILOSC single)");
        }
        Sql("create table NUMERY_OST_DOK (numer_faktury long, rodzaj_dok text(50), rok integer, "
            "MIESIAC integer)");
        Sql("create table NUMERY_OST_DOK_NAG (DOKUMENT text(50), nazwa text(100))");
        Sql("create table tabela_vat (countt counter, id long, r_dok text(30))");
    }
    // A header with two lines.
    static void Dokument(const std::string& tabela, const std::string& klucz, int id,
                         const std::string& kolumna, const std::string& wartosc) {
        Sql("insert into " + tabela + " (" + klucz + ", " + kolumna + ") values (" +
            std::to_string(id) + ", " + wartosc + ")");
        for (int p = 1; p <= 2; ++p)
            Sql("insert into " + tabela + "_ZAWART (" + klucz + ", PROD_ID) values (" +
                std::to_string(id) + ", " + std::to_string(p) + ")");
    }
    static std::vector<std::string> Klucze(const std::string& tabela, const std::string& klucz) {
        return Kolumna("select " + klucz + " from " + tabela + " order by " + klucz);
    }
    static void Nazwy(const std::string& tabela, const std::string& kolumna,
                      const std::vector<std::string>& nazwy) {
        for (const auto& n : nazwy)
            Sql("insert into " + tabela + " (" + kolumna + ") values (" +
                (n == "Null" ? n : "'" + n + "'") + ")");
    }
    using Lista = std::vector<std::string>;
};

TEST_F(Kroki276, PurchaseSideDocumentsMoveWithTheirLines) {
    Dokument("DOK_KFA", "FKOROUT_ID", 1, "ZAKUP", "0");
    Dokument("DOK_KFA", "FKOROUT_ID", 2, "ZAKUP", "-1");
    Sql("update DOK_KFA set FKOROUT_NUMER='FKZ 1/2001', FKOROUT_WART_N=100 where FKOROUT_ID=2");
    Dokument("DOK_DD", "DDOUT_ID", 3, "ZAKUP", "-1");
    Dokument("DOK_DD", "DDOUT_ID", 4, "ZAKUP", "null");  // not of the purchase side
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_276), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_276), "");  // a second run moves nothing more

    EXPECT_EQ(Wiersze_Z("select FKOROUT_ID, FKOROUT_NUMER, FKOROUT_WART_N from DOK_KZA"),
              (Wiersze{{"2", "FKZ 1/2001", "100"}}));
    EXPECT_EQ(Klucze("DOK_KZA_ZAWART", "FKOROUT_ID"), (Lista{"2", "2"}));
    EXPECT_EQ(Klucze("DOK_KFA", "FKOROUT_ID"), (Lista{"1"}));
    EXPECT_EQ(Klucze("DOK_KFA_ZAWART", "FKOROUT_ID"), (Lista{"1", "1"}));
    EXPECT_EQ(Klucze("DOK_WZ_ZAWART", "DDOUT_ID"), (Lista{"3", "3"}));
    EXPECT_EQ(Klucze("DOK_DD_ZAWART", "DDOUT_ID"), (Lista{"4", "4"}));
    // Nothing to move: the table is made empty, with the source's columns.
    EXPECT_EQ(Kolumna("select count(*) from DOK_PZ_ZAWART"), (Lista{"0"}));
    EXPECT_TRUE(Czyta_Sie("select DDOUT_ID, DDOUT_NUMER, ZAKUP, rodzdok from DOK_PZ"));
}

TEST_F(Kroki276, WarehouseReceiptsMoveAndKindNamesAreRenamed) {
    Dokument("DOK_RW", "DDOUT_ID", 1, "rodzdok", "'R'");
    Dokument("DOK_RW", "DDOUT_ID", 2, "rodzdok", "'P'");
    Nazwy("NUMERY_OST_DOK", "rodzaj_dok",
          {"Faktura", "Paragon", "faktura_korekta", "FakturaZak_korekta", "DD", "Detal", "dz", "PP",
           "pr", "PW", "ZakupRA", "ZakupyRR", "Null"});
    Nazwy("NUMERY_OST_DOK_NAG", "DOKUMENT",
          {"Rachunek zbiorczy", "rachunek_korekta", "faktura", "RACHUNEK", "Faktura Zbiorcza",
           "faktura_korekta", "Zakupy"});
    Nazwy("tabela_vat", "r_dok",
          {"faktura", "Sprzedaż_Korekta", "fakturaZak_korekta", "PP", "ZAKUPY", "dd"});
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_277), "");

    EXPECT_EQ(Klucze("DOK_PW", "DDOUT_ID"), (Lista{"2"}));
    EXPECT_EQ(Klucze("DOK_PW_ZAWART", "DDOUT_ID"), (Lista{"2", "2"}));
    EXPECT_EQ(Klucze("DOK_RW", "DDOUT_ID"), (Lista{"1"}));
    EXPECT_EQ(Klucze("DOK_RW_ZAWART", "DDOUT_ID"), (Lista{"1", "1"}));

    EXPECT_EQ(Kolumna("select rodzaj_dok from NUMERY_OST_DOK"),
              (Lista{"sprzedaż_f_vat", "paragon", "sprzedaż_f_vat_korekta", "zakupy_korekta",
                     "sprzedaż_ddost", "sprzedaż_detal", "sprzedaż_zwroty", "produkcja_p",
                     "produkcja_r", "magazyn_pw", "zakupyra", "zakupyrr", "Null"}));
    EXPECT_EQ(Kolumna("select DOKUMENT from NUMERY_OST_DOK_NAG"),
              (Lista{"sprzedaż_f_vat", "sprzedaż_f_vat_korekta", "zakupy"}));
    // The register's own map: "faktura" has no entry there and is only lower-cased.
    EXPECT_EQ(Kolumna("select r_dok from tabela_vat order by countt"),
              (Lista{"faktura", "sprzedaż_f_vat_korekta", "zakupy_korekta", "produkcja_p", "zakupy",
                     "dd"}));
    EXPECT_EQ(status_line(3), "dd");
}

// A name that cannot be saved keeps its old one and the pass goes on, the first row of
// the step included.
TEST_F(Kroki276, ANameThatCannotBeSavedStaysAndThePassGoesOn) {
    Sql("drop table tabela_vat");
    Sql("create table tabela_vat (countt counter, id long, r_dok text(10))");
    Sql("create unique index rodzaj on NUMERY_OST_DOK (rodzaj_dok)");
    Nazwy("NUMERY_OST_DOK", "rodzaj_dok", {"Faktura", "sprzedaż_f_vat", "DETAL"});
    Nazwy("tabela_vat", "r_dok", {"PP", "ZAKUPY", "PR"});
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_277), "");
    EXPECT_EQ(Kolumna("select rodzaj_dok from NUMERY_OST_DOK"),
              (Lista{"Faktura", "sprzedaż_f_vat", "sprzedaż_detal"}));
    // "produkcja_p" is longer than the column takes.
    EXPECT_EQ(Kolumna("select r_dok from tabela_vat order by countt"),
              (Lista{"PP", "zakupy", "PR"}));
    // Each name kept is in the Log (which writes its apostrophes as double quotes).
    EXPECT_EQ(Linie_Logu("pozostaje bez zmiany").size(), 3u);
    EXPECT_EQ(Linie_Logu("NUMERY_OST_DOK.rodzaj_dok \"Faktura\" pozostaje").size(), 1u);
    EXPECT_EQ(Linie_Logu("tabela_vat.r_dok \"PR\" pozostaje").size(), 1u);
}

// The pass that passes over a record's failure does not pass over a locked file or a full
// disk: the write is lost, so the failure reaches the step.
TEST_F(Kroki276, APassThatSkipsFailedRecordsStopsOnAFullDisk) {
    Sql("insert into NUMERY_OST_DOK_NAG (DOKUMENT, nazwa) values ('a', 'x')");
    std::unique_ptr<ado::Recordset> rs;
    ASSERT_EQ(k.DbOtwórzSELKonwersje(rs, "DOKUMENT, nazwa from NUMERY_OST_DOK_NAG"), 1);
    bool pomijaj = true;
    Awaria_Zapisu a(jet::Fault::DiskFull, 1);
    EXPECT_EQ(Uruchom([&] {
                  kroki::Zapisz_Wiersze_Pomijajac(
                      *rs, pomijaj, [](ado::Recordset& r) { r.Fields(1) = jet::Value::text("y"); });
              }),
              "error -2147467259 Not enough space on disk.");
    EXPECT_EQ(a.zostalo(), 0);
    rs.reset();
}

}  // namespace
}  // namespace kroki_test
