// Step 2.69 on a database of version 2.68: the document tables renamed to their DOK_
// names through a second connection, then the documents' dates cleared of the time.
#include "dao/dao.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Krok269 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.68);
        for (const char* t : {"DOWODY_DOSTAW", "DOWODY_ZWROTU", "Dok_Wewnentrzne", "paragon"})
            Sql(std::string("create table ") + t +
                " (DDOUT_ID long, DDOUT_DATA_WYST date, ddout_data_sprz date)");
        Sql("create table FAKTURY (FAKOUT_ID long, FAKOUT_DATA_WYST date, FAKOUT_DATA_SPRZED "
            "date, FAKOUT_TERMIN_ZAPLATY date)");
        Sql("create table K_FAKTUR (FKOROUT_ID long, FKOROUT_DATA_WYST date, FKOROUT_DATA_SPRZ "
            "date, FKOROUT_TERM_PLAT date)");
        Sql("create table ZAKUPY (numer_id long, data_zaksiegowania date, data_zakupu date, "
            "data_zaplaty date)");
        Sql("create table ZAMOWIENIA_MAIN (zam_id long, data date)");
        Sql("create table CENNIKI (LCEN_NAZWA_ID text(20), LCEN_DATA date)");
        for (const char* t :
             {"DOWODY_DOSTAW_ZAWART", "Dok_Wewnentrzne_ZAWART", "PARAGON_ZAWART", "FAKTURY_ZAWART",
              "DOWODY_ZWROTU_ZAWART", "K_FAKTUR_ZAWART", "ZAKUPY_ZAWART", "ZAMOWIENIA_MAIN_ZAWART",
              "Produkcja", "PRODUKCJA_ZAWART", "PRODUKCJA_ZAWART_SUROWCE", "RemanentInwent",
              "REMANENTINWENT_ZAWART", "RAPORT_KASOWY", "KP", "KP_ZAWART", "KW", "PRODUKTY",
              "Dok_Wewnentrzne_stare"})
            Sql(std::string("create table [") + t + "] (id long)");
    }
    static std::vector<std::string> Tabele() {
        auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
        std::vector<std::string> t;
        for (int i = 0; i < baza->TableDefCount(); ++i) {
            const std::string n = baza->TableDefs(i).Name();
            if (n.rfind("MSys", 0) != 0) t.push_back(n);
        }
        return t;
    }
};

TEST_F(Krok269, DocumentTablesGetTheirDokNames) {
    Sql("insert into paragon (DDOUT_ID, DDOUT_DATA_WYST) values (7, #03/05/2001#)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_269), "");
    EXPECT_EQ(Tabele(), (std::vector<std::string>{"CENNIKI",
                                                  "DOK_DD",
                                                  "DOK_DD_ZAWART",
                                                  "DOK_DZ",
                                                  "DOK_DZ_ZAWART",
                                                  "DOK_FAK",
                                                  "DOK_FAK_ZAWART",
                                                  "DOK_FIN",
                                                  "DOK_FIN_ZAWART",
                                                  "DOK_FRA",
                                                  "DOK_KFA",
                                                  "DOK_KFA_ZAWART",
                                                  "DOK_PAR",
                                                  "DOK_PAR_ZAWART",
                                                  "DOK_PRO",
                                                  "DOK_PRO_ZAWART",
                                                  "DOK_PRO_ZAWART_SUROWCE",
                                                  "DOK_REI",
                                                  "DOK_REI_ZAWART",
                                                  "DOK_RW",
                                                  "DOK_RW_ZAWART",
                                                  "Dok_Wewnentrzne_stare",
                                                  "DOK_ZAK",
                                                  "DOK_ZAK_ZAWART",
                                                  "DOK_ZAM",
                                                  "DOK_ZAM_ZAWART",
                                                  "KW",
                                                  "PRODUKTY"}));
    // The rows go with their table; the DAO connection is gone.
    EXPECT_EQ(Wiersze_Z("select DDOUT_ID from DOK_PAR"), (Wiersze{{"7"}}));
    EXPECT_EQ(k.BazaDAO, nullptr);
    // A second run renames nothing and changes no date.
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_269), "");
    EXPECT_EQ(Tabele().size(), 28u);
    EXPECT_EQ(Kolumna("select DDOUT_DATA_WYST from DOK_PAR"),
              (std::vector<std::string>{"2001-03-05"}));
}

TEST_F(Krok269, DatesLoseTheirTimeOfDay) {
    Sql("insert into DOWODY_DOSTAW values (1, #03/05/2001 14:30:00#, #03/05/2001 23:59:59#)");
    Sql("insert into DOWODY_DOSTAW values (2, #12/31/2001#, null)");
    Sql("insert into FAKTURY values (1, #01/02/2001 08:15:00#, #01/02/2001 08:15:00#, "
        "#01/16/2001 12:00:00#)");
    Sql("insert into ZAKUPY values (1, #02/10/2001 10:00:00#, null, #02/28/2001 18:00:00#)");
    Sql("insert into CENNIKI values ('Detal', #06/01/2000 09:00:00#)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_269), "");
    EXPECT_EQ(Wiersze_Z("select DDOUT_DATA_WYST, ddout_data_sprz from DOK_DD order by DDOUT_ID"),
              (Wiersze{{"2001-03-05", "2001-03-05"}, {"2001-12-31", "Null"}}));
    EXPECT_EQ(Wiersze_Z("select FAKOUT_DATA_WYST, FAKOUT_DATA_SPRZED, FAKOUT_TERMIN_ZAPLATY "
                        "from DOK_FAK"),
              (Wiersze{{"2001-01-02", "2001-01-02", "2001-01-16"}}));
    EXPECT_EQ(Wiersze_Z("select data_zaksiegowania, data_zakupu, data_zaplaty from DOK_ZAK"),
              (Wiersze{{"2001-02-10", "Null", "2001-02-28"}}));
    EXPECT_EQ(Kolumna("select LCEN_DATA from CENNIKI"), (std::vector<std::string>{"2000-06-01"}));
}

// A table of a new name that exists already: the rename is refused and the step stops
// with the version unchanged; the renames made before it stay.
TEST_F(Krok269, ARefusedRenameStopsTheStep) {
    Sql("create table DOK_RW (id long)");
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_269).rfind("error ", 0), 0u);
    EXPECT_TRUE(Jest_Tabela("Dok_Wewnentrzne"));
}

}  // namespace
}  // namespace kroki_test
