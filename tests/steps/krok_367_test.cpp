// Step 3.67: delivery notes and returns linked to the collective invoices that bill
// them, by the invoices' note lists and, for numbers changed with "N", by pairing.
#include <string>
#include <tuple>
#include <vector>

#include "db/komunikaty.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Krok367 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(3.66);
        Sql("create table DOK_FAK (FAKOUT_ID long, FAKOUT_NUMER text(30), FAKOUT_DATA_WYST date, "
            "FAKOUT_ZBIORCZA logical, FAKOUT_NR_DD memo, konh_id long, b_rabat_n money, "
            "b_rabat_v money)");
        for (const char* t : {"DOK_DD", "DOK_DZ"})
            Sql(std::string("create table ") + t +
                " (DDOUT_ID long, DDOUT_NUMER text(30), DDOUT_DATA_WYST date, konh_id long, "
                "DDOUT_DO_ROZLICZENIA logical, KorFak logical, Zbiorczy_id long)");
    }
    // A collective invoice of the contractor konh issued on the given day of January 2006.
    static void Faktura(int id, int dzien, const std::string& lista, int konh = 1) {
        Sql("insert into DOK_FAK values (" + std::to_string(id) + ", 'F/" + std::to_string(id) +
            "', #01-" + std::to_string(dzien) + "-2006#, -1, " + lista + ", " +
            std::to_string(konh) + ", 0, 0)");
    }
    static void Nota(const std::string& t, int id, const std::string& numer, int dzien,
                     int konh = 1, int rozliczenia = 0, int korfak = 0) {
        Sql("insert into " + t + " values (" + std::to_string(id) + ", '" + numer + "', #01-" +
            std::to_string(dzien) + "-2006#, " + std::to_string(konh) + ", " +
            std::to_string(rozliczenia) + ", " + std::to_string(korfak) + ", 0)");
    }
    // (id, Zbiorczy_id) of every note of the table, by id.
    static Wiersze Linki(const std::string& t) {
        return Wiersze_Z("select DDOUT_ID, Zbiorczy_id from " + t + " order by DDOUT_ID");
    }
    std::string Uruchom367() { return Krok(&ClsKonwersje::Konwersja_367); }
};

TEST_F(Krok367, ListsAreFollowedAndShortListsSkipped) {
    Faktura(1, 5, "'«+»DD/1/05«-»DZ/2/05'");
    Faktura(2, 5, "'  «+»D/3 '");  // 6 characters once trimmed
    Faktura(3, 5, "'«+»DD/4'");    // 7 characters
    Faktura(4, 5, "null");
    Faktura(5, 5, "''");
    Nota("DOK_DD", 1, "DD/1/05", 2);
    Nota("DOK_DD", 2, "D/3", 2);
    Nota("DOK_DD", 3, "DD/4", 2);
    Nota("DOK_DZ", 1, "DZ/2/05", 2);
    ASSERT_EQ(Uruchom367(), "");
    EXPECT_EQ(Linki("DOK_DD"), (Wiersze{{"1", "1"}, {"2", "0"}, {"3", "3"}}));
    EXPECT_EQ(Linki("DOK_DZ"), (Wiersze{{"1", "1"}}));
}

TEST_F(Krok367, NoteOnSeveralListsEndsOnTheOldestInvoice) {
    Faktura(10, 5, "'«+»DD/1«+»DD/2'");
    Faktura(7, 6, "'«+»DD/1'");
    Nota("DOK_DD", 1, "DD/1", 2);
    Nota("DOK_DD", 2, "DD/2", 2);
    ASSERT_EQ(Uruchom367(), "");
    EXPECT_EQ(Linki("DOK_DD"), (Wiersze{{"1", "7"}, {"2", "10"}}));
}

TEST_F(Krok367, RenumberedNotesPairedByDate) {
    Faktura(12, 31, "'«+»DD/4'");
    Faktura(9, 5, "'«+»DD/4'");
    Nota("DOK_DD", 1, "DD/4", 3);
    Nota("DOK_DD", 2, "DD/4N", 10);
    ASSERT_EQ(Uruchom367(), "");
    EXPECT_EQ(Linki("DOK_DD"), (Wiersze{{"1", "9"}, {"2", "12"}}));
    // A second run changes nothing.
    ASSERT_EQ(Uruchom367(), "");
    EXPECT_EQ(Linki("DOK_DD"), (Wiersze{{"1", "9"}, {"2", "12"}}));
}

TEST_F(Krok367, DatePairingStopsWhenNoInvoiceIsLateEnough) {
    // Both invoices precede the renumbered note: nothing is paired for it, and the
    // contractor pass (other contractors than the invoices') leaves it unlinked too.
    Faktura(12, 4, "'«+»DD/4'", 5);
    Faktura(9, 5, "'«+»DD/4'", 6);
    Nota("DOK_DD", 1, "DD/4", 3, 7, -1);
    Nota("DOK_DD", 2, "DD/4N", 10, 8);
    Nota("DOK_DD", 3, "DD/4NN", 11, 9);
    ASSERT_EQ(Uruchom367(), "");
    EXPECT_EQ(Linki("DOK_DD"), (Wiersze{{"1", "9"}, {"2", "0"}, {"3", "0"}}));
}

TEST_F(Krok367, KeyIsASubstringAndUnlistedNumberLinksToNothing) {
    // DD/4N's key «+»DD/4 is found in a list naming DD/45: one invoice, linked at once.
    Faktura(3, 5, "'«+»DD/45'");
    Nota("DOK_DD", 1, "DD/4N", 2);
    Nota("DOK_DD", 2, "DD/7N", 2);
    ASSERT_EQ(Uruchom367(), "");
    EXPECT_EQ(Linki("DOK_DD"), (Wiersze{{"1", "3"}, {"2", "0"}}));
}

TEST_F(Krok367, ReturnsPairedByContractor) {
    // Pass 1 links DZ/5 to invoice 6, the oldest listing it. The returns are dated after
    // both invoices, so pass 4 pairs nothing for DZ/5N. Pass 5: invoice slot 0 (invoice
    // 8, contractor 2) takes the one note of contractor 2, DZ/5 (still a candidate while
    // unsettled); invoice 6 (contractor 9) matches no note, and the one free note left,
    // DZ/5N of contractor 4, goes to it whatever its contractor.
    Faktura(8, 1, "'«-»DZ/5'", 2);
    Faktura(6, 1, "'«-»DZ/5'", 9);
    Nota("DOK_DZ", 1, "DZ/5", 20, 2);
    Nota("DOK_DZ", 2, "DZ/5N", 20, 4);
    ASSERT_EQ(Uruchom367(), "");
    EXPECT_EQ(Linki("DOK_DZ"), (Wiersze{{"1", "8"}, {"2", "6"}}));
    // DD/7NN's empty invoice slot 2 (contractor 0) matches DD/7, which keeps invoice 4.
    Faktura(5, 1, "'«+»DD/7'", 2);
    Faktura(4, 1, "'«+»DD/7'", 3);
    for (const auto& [id, numer, konh] : std::vector<std::tuple<int, std::string, int>>{
             {1, "DD/7", 0}, {2, "DD/7N", 3}, {3, "DD/7NN", 2}})
        Nota("DOK_DD", id, numer, 20, konh, 0, id == 1 ? 0 : -1);
    ASSERT_EQ(Uruchom367(), "");
    EXPECT_EQ(Linki("DOK_DD"), (Wiersze{{"1", "4"}, {"2", "4"}, {"3", "5"}}));
}

TEST_F(Krok367, ContractorPairingStopsWhenSeveralNotesAreFree) {
    // k = 2: three invoice and three note slots. Invoice slot 0 (contractor 4) matches
    // no note, and three notes are free: nothing is linked by pairing.
    Faktura(8, 1, "'«+»DD/5'", 4);
    Faktura(7, 1, "'«+»DD/5'", 4);
    Faktura(6, 1, "'«+»DD/5'", 4);
    Nota("DOK_DD", 1, "DD/5", 20, 3, -1, -1);
    Nota("DOK_DD", 2, "DD/5N", 20, 2, 0, -1);
    Nota("DOK_DD", 3, "DD/5NN", 20, 1, 0, -1);
    ASSERT_EQ(Uruchom367(), "");
    EXPECT_EQ(Linki("DOK_DD"), (Wiersze{{"1", "6"}, {"2", "0"}, {"3", "0"}}));
}

TEST_F(Krok367, NumberWithApostropheIsLookedUpAsOneLiteral) {
    Faktura(4, 5, "'«+»DD/1''A«+»DD/2''BN'");
    Faktura(3, 6, "'«+»DD/2''B'");
    Nota("DOK_DD", 1, "DD/1''A", 2);
    Nota("DOK_DD", 2, "DD/2''BN", 2);
    Nota("DOK_DD", 3, "DD/2''B", 2);
    ASSERT_EQ(Uruchom367(), "");
    // DD/2'BN is named by invoice 4's list and DD/2'B by invoice 3's.
    EXPECT_EQ(Linki("DOK_DD"), (Wiersze{{"1", "4"}, {"2", "4"}, {"3", "3"}}));
}

TEST_F(Krok367, IgnoredQueryCountsAsOneWithoutRecords) {
    // Returns without KorFak: the queries of passes 4 and 5 fail and are ignored; the
    // other passes do their work.
    Sql("drop table DOK_DZ");
    Sql("create table DOK_DZ (DDOUT_ID long, DDOUT_NUMER text(30), DDOUT_DATA_WYST date, konh_id "
        "long, DDOUT_DO_ROZLICZENIA logical, Zbiorczy_id long)");
    Faktura(12, 31, "'«+»DD/4«-»DZ/1'");
    Faktura(9, 5, "'«+»DD/4'");
    Nota("DOK_DD", 1, "DD/4", 3);
    Nota("DOK_DD", 2, "DD/4N", 10);
    Sql("insert into DOK_DZ values (1, 'DZ/1', #01-02-2006#, 1, 0, 0)");
    Odpowiedzi({vbIgnore, vbIgnore});
    ASSERT_EQ(Uruchom367(), "");
    EXPECT_EQ(Linki("DOK_DD"), (Wiersze{{"1", "9"}, {"2", "12"}}));
    EXPECT_EQ(Linki("DOK_DZ"), (Wiersze{{"1", "12"}}));
    EXPECT_NE(komunikaty.str().find("Ignoruj (5): scripted answers item 2"), std::string::npos)
        << komunikaty.str();
}

}  // namespace
}  // namespace kroki_test
