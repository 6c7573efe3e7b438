// Steps 3.01, 3.05 and 3.30 on collective invoices and their note lists, and the list
// parsing that later steps share.
#include <string>
#include <vector>

#include "steps/165_299/wspolne.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

using jet::Value;
using kroki::Pozycja_Listy;

struct Przypadek_Listy {
    const char* lista;
    std::vector<std::pair<bool, std::string>> pozycje;  // (return?, number)
};

TEST(ListaNot, ItemsInOrderWithBlanksOfTheNumberKept) {
    const std::vector<Przypadek_Listy> przypadki = {
        {"«+»12«+»13«-»4", {{false, "12"}, {false, "13"}, {true, "4"}}},
        {"   «+»12«+»13«-»4  ", {{false, "12"}, {false, "13"}, {true, "4"}}},
        {"«+»12 «+»13", {{false, "12 "}, {false, "13"}}},
        {"«-»2/2001«+»12/2001", {{true, "2/2001"}, {false, "12/2001"}}},
        // A "«" that begins no marker ends the number before it.
        {"«+»12«x»13«-»4", {{false, "12"}, {true, "4"}}},
        {"«+»", {{false, ""}}},
        {"12/2001", {}},
        {"", {}},
        {" ", {}},
        {"«", {}},
        {"«+", {}},
    };
    for (const auto& p : przypadki) {
        std::vector<std::pair<bool, std::string>> wynik;
        for (const Pozycja_Listy& x : kroki::Pozycje_Listy(Value::text(p.lista)))
            wynik.emplace_back(x.zwrot, x.numer);
        EXPECT_EQ(wynik, p.pozycje) << p.lista;
    }
    EXPECT_TRUE(kroki::Pozycje_Listy(Value::null()).empty());
}

class KrokiZbiorcze : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(3.00);
        Sql("create table DOK_FAK (FAKOUT_ID long, FAKOUT_NUMER text(30), FAKOUT_DATA_WYST date, "
            "FAKOUT_ZBIORCZA logical, FAKOUT_NR_DD memo, wart_dd money, wart_kp money, "
            "FAKOUT_WART_N money, FAKOUT_WART_VAT money)");
        for (const char* t : {"DOK_DD", "DOK_DZ"})
            Sql(std::string("create table ") + t +
                " (DDOUT_ID long, DDOUT_NUMER text(30), DDOUT_DATA_WYST date, "
                "DDOUT_DO_ROZLICZENIA logical, Zbiorczy_id long, KorFak logical, Id_KorFak "
                "long, wart_kp money)");
    }
    // A collective (or, with zbiorcza 0, ordinary) invoice.
    static void Faktura(int id, const std::string& data, const std::string& lista,
                        const std::string& wart_dd = "null", int zbiorcza = -1) {
        Sql("insert into DOK_FAK values (" + std::to_string(id) + ", '" + std::to_string(id) +
            "/F', #" + data + "#, " + std::to_string(zbiorcza) + ", " + lista + ", " + wart_dd +
            ", 0, 100, 22)");
    }
    static void Nota(const std::string& t, int id, const std::string& numer,
                     const std::string& data, const std::string& korfak = "0",
                     const std::string& kwota = "0") {
        Sql("insert into " + t + " values (" + std::to_string(id) + ", " + numer + ", #" + data +
            "#, -1, 0, " + korfak + ", 0, " + kwota + ")");
    }
};

TEST_F(KrokiZbiorcze, VatRowsOfBothKindsKeepTheNewerAndBecomeInvoiceRows) {
    Sql("create table tabela_vat (Countt counter, id long, r_dok text(50))");
    const std::vector<std::pair<int, const char*>> wiersze = {
        {1, "sprzedaż_f_vat_zbiorcze"},  // older than an invoice row of id 1: removed
        {1, "sprzedaż_f_vat"},
        {2, "sprzedaż_f_vat"},  // older than a collective row of id 2: removed
        {2, "sprzedaż_f_vat_zbiorcze"},
        {3, "sprzedaż_f_vat_zbiorcze"},  // alone: becomes an invoice row
        {4, "zakup"},
    };
    for (const auto& [id, rodzaj] : wiersze)
        Sql("insert into tabela_vat (id, r_dok) values (" + std::to_string(id) + ", '" + rodzaj +
            "')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_301), "");
    EXPECT_EQ(Wiersze_Z("select Countt, id, r_dok from tabela_vat order by Countt"),
              (Wiersze{{"2", "1", "sprzedaż_f_vat"},
                       {"4", "2", "sprzedaż_f_vat"},
                       {"5", "3", "sprzedaż_f_vat"},
                       {"6", "4", "zakup"}}));
}

TEST_F(KrokiZbiorcze, ListedNotesSettledByAnInvoiceOfTheirDayOrLater) {
    Faktura(1, "03-10-2001", "'«+»123«-»7'");
    Faktura(2, "03-01-2001", "'«+»50'");               // before note 50's day
    Faktura(3, "03-20-2001", "'«+»60'", "null", 0);    // not collective
    Nota("DOK_DD", 1, "'12'", "03-05-2001");           // substring of «+»123: settled
    Nota("DOK_DD", 2, "'50'", "03-05-2001");           // listed only on an earlier invoice
    Nota("DOK_DD", 3, "'60'", "03-05-2001");           // listed only on an ordinary invoice
    Nota("DOK_DD", 4, "'123'", "03-05-2001", "-1");    // a correction's note
    Nota("DOK_DD", 5, "'123'", "03-05-2001", "null");  // KorFak Null
    Nota("DOK_DD", 6, "'123'", "12-30-2000");          // before 2001
    Nota("DOK_DD", 7, "null", "03-05-2001");           // no number
    Nota("DOK_DZ", 1, "'7'", "03-10-2001");            // a return listed as a return
    Nota("DOK_DZ", 2, "'123'", "03-10-2001");          // listed as a delivery note only
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_305), "");
    EXPECT_EQ(Kolumna("select DDOUT_DO_ROZLICZENIA from DOK_DD order by DDOUT_ID"),
              (std::vector<std::string>{"False", "True", "True", "True", "True", "True", "True"}));
    EXPECT_EQ(Kolumna("select DDOUT_DO_ROZLICZENIA from DOK_DZ order by DDOUT_ID"),
              (std::vector<std::string>{"False", "True"}));
    EXPECT_EQ(Linie_Logu("Konwersja poprawiła 1 DD").size(), 1u);
    EXPECT_EQ(Linie_Logu("Konwersja poprawiła 1 DZ").size(), 1u);
}

TEST_F(KrokiZbiorcze, AmountOfListedNotesRecomputedFromTheList) {
    Nota("DOK_DD", 1, "'12'", "03-05-2001", "0", "100.10");
    Nota("DOK_DD", 2, "'13'", "03-05-2001", "0", "50.005");
    Nota("DOK_DD", 3, "'13'", "03-06-2001", "0", "999");  // same number: first row only
    Nota("DOK_DD", 4, "'O''Neil'", "03-06-2001", "0", "7");
    Nota("DOK_DZ", 1, "'4'", "03-07-2001", "0", "20");
    Faktura(1, "03-10-2001", "' «+»12«+»13«-»4 '", "130.11");  // 100.10 + 50.01 - 20
    Faktura(2, "03-11-2001", "'«+»12 «+»13'", "0");            // "12 " finds nothing
    Faktura(3, "03-12-2001", "'«+»99«-»98'", "5");             // nothing found: 0
    Faktura(4, "03-13-2001", "null", "null");                  // no list
    Faktura(5, "03-14-2001", "'«+»O''Neil'", "7");
    Faktura(6, "12-31-2000", "'«+»12'", "1");     // before 2001: untouched
    Faktura(7, "03-15-2001", "'«+»12'", "1", 0);  // ordinary invoice: untouched
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_330), "");
    EXPECT_EQ(Kolumna("select wart_dd from DOK_FAK order by FAKOUT_ID"),
              (std::vector<std::string>{"130,11", "50,01", "0", "0", "7", "1", "1"}));
    // Invoices 2 and 3 had another amount; 4 had none.
    EXPECT_EQ(Linie_Logu("Konwersja 3.29 poprawiła 2 Fzb").size(), 1u);
}

}  // namespace
}  // namespace kroki_test
