// Step 3.31 on a database of version 3.30: collective invoices compared with the delivery
// notes and returns that they list.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Krok331 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(3.30);
        Sql("create table DOK_FAK (FAKOUT_ID long, FAKOUT_NUMER text(30), FAKOUT_DATA_WYST date, "
            "FAKOUT_ZBIORCZA logical, FAKOUT_NR_DD memo, FAKOUT_RABAT money, vat7 money, vat22 "
            "money, n7 money, n22 money, nzw money, n0 money, vat3 money, n3 money, b_rabat_n "
            "money, b_rabat_v money, FAKOUT_WART_N money, FAKOUT_WART_VAT money)");
        for (const char* t : {"DOK_DD", "DOK_DZ"})
            Sql(std::string("create table ") + t +
                " (DDOUT_ID long, DDOUT_NUMER text(30), vat7 money, vat22 money, n7 money, n22 "
                "money, nzw money, n0 money, vat3 money, n3 money, DDOUT_WART_N money, "
                "DDOUT_wart_VAT money, rabat money)");
    }
    // A note: its number, buckets n22 and vat22, n7 and vat7, and discount.
    static void Nota(const char* tabela, int id, const std::string& numer, const char* n22,
                     const char* vat22, const char* n7, const char* vat7, const char* rabat) {
        Sql(std::string("insert into ") + tabela +
            " (DDOUT_ID, DDOUT_NUMER, n22, vat22, n7, vat7, nzw, n0, vat3, n3, rabat) values (" +
            std::to_string(id) + ", '" + numer + "', " + n22 + ", " + vat22 + ", " + n7 + ", " +
            vat7 + ", 0, 0, 0, 0, " + rabat + ")");
    }
    // A collective invoice with its list, date, invoice discount and amounts.
    static void Faktura(int id, const std::string& lista, const char* data, const char* rabat,
                        const char* b_rabat_v, const char* wart_n, const char* wart_vat) {
        Sql("insert into DOK_FAK (FAKOUT_ID, FAKOUT_NUMER, FAKOUT_DATA_WYST, FAKOUT_ZBIORCZA, "
            "FAKOUT_NR_DD, FAKOUT_RABAT, vat7, vat22, n7, n22, nzw, n0, vat3, n3, b_rabat_n, "
            "b_rabat_v, FAKOUT_WART_N, FAKOUT_WART_VAT) values (" +
            std::to_string(id) + ", 'F" + std::to_string(id) + "', " + data + ", -1, '" + lista +
            "', " + rabat + ", 1, 1, 1, 1, 1, 1, 1, 1, 1, " + b_rabat_v + ", " + wart_n + ", " +
            wart_vat + ")");
    }
    static Wiersze Kwoty(int id) {
        return Wiersze_Z(
            "select n22, vat22, n7, vat7, nzw, n0, vat3, n3, b_rabat_n, b_rabat_v, FAKOUT_WART_N, "
            "FAKOUT_WART_VAT from DOK_FAK where FAKOUT_ID=" +
            std::to_string(id));
    }
    std::string Log() const {
        std::ifstream plik(folder / "Log");
        std::stringstream s;
        s << plik.rdbuf();
        return s.str();
    }
    static Wiersze Bez_Zmian() {
        return {{"1", "1", "1", "1", "1", "1", "1", "1", "1", "Null", "Null", "Null"}};
    }
};

TEST_F(Krok331, InvoiceTakesTheNotesSumsWhenTheyCarryADiscount) {
    Nota("DOK_DD", 1, "1/2001", "100", "22", "50", "3.5", "5");
    Nota("DOK_DD", 2, "2/2001", "10", "2.2", "0", "0", "0");
    Nota("DOK_DZ", 1, "1/2001", "20", "4.4", "0", "0", "0");
    // Notes: net 140, VAT 23.3; the invoice side (VAT before discount + net) is 110.
    Faktura(1, "«+»1/2001«+»2/2001«-»1/2001«+»9/2001", "#6/1/2001#", "0", "10", "100", "30");
    ASSERT_EQ(Krok(Zbudowane_Kroki().at(331)), "");
    EXPECT_EQ(
        Kwoty(1),
        (Wiersze{{"90", "19,8", "50", "3,5", "0", "0", "0", "0", "140", "23,3", "140", "23,3"}}));
    const std::string log = Log();
    EXPECT_NE(log.find("Opcja \"Sprawdz Kwoty Fzb z DD i DZ\":"), std::string::npos) << log;
    EXPECT_NE(log.find("Konwersja 3,31  znalazła Fzb NR F1 Fzb=130 DD+DZ=163,3"), std::string::npos)
        << log;
    EXPECT_NE(log.find("Konwersja 3,31 znalazła 1 Fzb "), std::string::npos) << log;
    // Again: the invoice now agrees with its notes and stays.
    ASSERT_EQ(Krok(Zbudowane_Kroki().at(331)), "");
    EXPECT_EQ(Kwoty(1)[0][10], "140");
    EXPECT_NE(Log().find("Konwersja 3,31 znalazła 0 Fzb "), std::string::npos);
}

TEST_F(Krok331, InvoicesLeftAlone) {
    Nota("DOK_DD", 1, "1/2001", "100", "22", "0", "0", "0");
    Nota("DOK_DD", 2, "2/2001", "100", "22", "0", "0", "1");
    Nota("DOK_DD", 3, "3/2001", "100", "22", "0", "0", "Null");
    // Notes without a discount (0 or Null).
    Faktura(1, "«+»1/2001«+»3/2001", "#6/2/2001#", "0", "0", "0", "0");
    // Off by exactly 0.05 either way.
    Faktura(2, "«+»2/2001", "#6/2/2001#", "0", "22.05", "100", "0");
    Faktura(3, "«+»2/2001", "#6/2/2001#", "0", "21.95", "100", "0");
    // Before June 2001, and with an invoice discount: not read.
    Faktura(4, "«+»2/2001", "#5/31/2001#", "0", "0", "0", "0");
    Faktura(5, "«+»2/2001", "#6/2/2001#", "3", "0", "0", "0");
    // Off by 0.06: changed.
    Faktura(6, "«+»2/2001", "#6/2/2001#", "0", "22.06", "100", "0");
    ASSERT_EQ(Krok(Zbudowane_Kroki().at(331)), "");
    for (int id : {1, 4, 5}) EXPECT_EQ(Kwoty(id)[0][0], "1") << id;
    EXPECT_EQ(Kwoty(2)[0][10], "100");
    EXPECT_EQ(Kwoty(3)[0][10], "100");
    EXPECT_EQ(Kwoty(6),
              (Wiersze{{"100", "22", "0", "0", "0", "0", "0", "0", "100", "22", "100", "22"}}));
    EXPECT_NE(Log().find("Konwersja 3,31 znalazła 1 Fzb "), std::string::npos);
}

TEST_F(Krok331, NullsAndReturnsOnly) {
    // A return alone gives negative sums; a Null bucket adds nothing and keeps the sum
    // the notes before it made; a Null b_rabat_v counts as none on the invoice side.
    Nota("DOK_DZ", 1, "1/2001", "10", "2.2", "0", "0", "1");
    Nota("DOK_DD", 1, "1/2001", "Null", "2.2", "0", "0", "1");
    Nota("DOK_DD", 2, "2/2001", "5", "1.1", "0", "0", "0");
    Nota("DOK_DD", 3, "3/2001", "100", "22", "0", "0", "1");
    Nota("DOK_DD", 4, "4/2001", "Null", "Null", "50", "3.5", "0");
    Faktura(1, "«-»1/2001", "#6/2/2001#", "0", "0", "0", "0");
    Faktura(2, "«+»2/2001«+»1/2001«+»2/2001", "#6/2/2001#", "0", "Null", "0", "0");
    Faktura(3, "«+»3/2001«+»4/2001«-»1/2001", "#6/2/2001#", "0", "Null", "0", "0");
    ASSERT_EQ(Krok(Zbudowane_Kroki().at(331)), "");
    EXPECT_EQ(
        Kwoty(1),
        (Wiersze{{"-10", "-2,2", "0", "0", "0", "0", "0", "0", "-10", "-2,2", "-10", "-2,2"}}));
    EXPECT_EQ(Kwoty(2),
              (Wiersze{{"10", "4,4", "0", "0", "0", "0", "0", "0", "10", "4,4", "10", "4,4"}}));
    EXPECT_EQ(
        Kwoty(3),
        (Wiersze{{"90", "19,8", "50", "3,5", "0", "0", "0", "0", "140", "23,3", "140", "23,3"}}));
}

TEST_F(Krok331, InvoiceWithoutNumberIsComparedLikeAnyOther) {
    Nota("DOK_DD", 1, "1/2001", "10", "2.2", "0", "0", "1");
    Faktura(1, "«+»1/2001", "#6/2/2001#", "0", "0", "0", "0");
    Sql("update DOK_FAK set FAKOUT_NUMER = Null");
    ASSERT_EQ(Krok(Zbudowane_Kroki().at(331)), "");
    EXPECT_EQ(Kwoty(1)[0][0], "10");
    EXPECT_NE(Log().find("Konwersja 3,31  znalazła Fzb NR  Fzb=0 DD+DZ=12,2"), std::string::npos);
}

TEST_F(Krok331, NumberWithApostropheIsLookedUpAsItStands) {
    Nota("DOK_DD", 1, "1''A", "10", "2.2", "0", "0", "1");
    Faktura(1, "«+»1''A", "#6/2/2001#", "0", "0", "0", "0");
    ASSERT_EQ(Krok(Zbudowane_Kroki().at(331)), "");
    EXPECT_EQ(Kwoty(1)[0][0], "10");
}

}  // namespace
}  // namespace kroki_test
