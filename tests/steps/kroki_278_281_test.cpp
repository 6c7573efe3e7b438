// Steps 2.78 to 2.81: keys of the purchase-side and warehouse document tables, the
// schema-wide pass that drops the "ind" & column indexes, cash-document columns, the key
// of the numbering periods, report years and setup names without their prefix.
#include "dao/dao.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

using Lista = std::vector<std::string>;

class Kroki278 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(2.77); }

    // The indexes of a table: name, then "P" for a primary one, then its columns.
    static Lista Indeksy(const std::string& tabela) {
        Lista w;
        for (const dao::Index& x :
             dao::DBEngine::OpenDatabase(polaczenie().Properties(7))->TableDefs(tabela).Indexes()) {
            w.push_back(x.Name + (x.Primary ? " P" : ""));
            for (const auto& f : x.Fields) w.back() += " " + f;
        }
        std::sort(w.begin(), w.end());
        return w;
    }
    void Dokumenty_278() {
        for (const char* t : {"DOK_PZ", "DOK_WZ", "DOK_PW"}) {
            Sql(std::string("create table ") + t + " (DDOUT_ID long, DDOUT_NUMER text(200))");
            Sql(std::string("create table ") + t +
                "_ZAWART (DDOUT_ID long, PROD_ID long, ZDDOUT_ILOSC single, ZDDOUT_CENA_N money)");
        }
        Sql("create table DOK_KZA (FKOROUT_ID long, FKOROUT_NUMER text(200))");
        Sql("create table DOK_KZA_ZAWART (FKOROUT_ID long, PROD_ID long)");
        Sql("create table dok_fin (kp_id long, nr_kp text(30))");
    }
};

TEST_F(Kroki278, NewDocumentTablesGetTheirKeys) {
    Dokumenty_278();
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_278), "");
    EXPECT_EQ(Indeksy("DOK_PZ"), (Lista{"Podstawowy P DDOUT_ID"}));
    EXPECT_EQ(Indeksy("DOK_PW_ZAWART"), (Lista{"Podstawowy P DDOUT_ID PROD_ID"}));
    EXPECT_EQ(Indeksy("DOK_KZA_ZAWART"), (Lista{"Podstawowy P FKOROUT_ID PROD_ID"}));
    EXPECT_EQ(Indeksy("DOK_WZ_ZAWART"), (Lista{"Podstawowy P DDOUT_ID PROD_ID"}));
    EXPECT_TRUE(Czyta_Sie("select eksportowano, zawrtosc_exp, nazwa_pliku from dok_fin"));
    EXPECT_EQ(k.BazaDAO, nullptr);
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_278), "");  // a second run changes nothing
    EXPECT_EQ(Indeksy("DOK_PW_ZAWART"), (Lista{"Podstawowy P DDOUT_ID PROD_ID"}));
    // Two lines of one product on one issue at one price: one line of both quantities.
    Sql("drop index Podstawowy on DOK_WZ_ZAWART");
    Sql("insert into DOK_WZ_ZAWART values (1, 7, 2, 1.5)");
    Sql("insert into DOK_WZ_ZAWART values (1, 7, 3, 1.5)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_278), "");
    EXPECT_EQ(Wiersze_Z("select ZDDOUT_ILOSC from DOK_WZ_ZAWART"), Wiersze{{"5"}});
    EXPECT_EQ(Indeksy("DOK_WZ_ZAWART"), (Lista{"Podstawowy P DDOUT_ID PROD_ID"}));
}

// A table loses each index named "ind" & one of its own columns (a primary one too) and
// keeps the others; an index named after a column of another table stays.
TEST_F(Kroki278, TheIndexPassDropsOnlyIndOfItsOwnColumns) {
    Dokumenty_278();
    Sql("create table STANY_MAGAZYNOWE (Countt counter, prod_id long, NR_MAG long, ilosc single)");
    Sql("create index indCountt on STANY_MAGAZYNOWE (Countt) with primary");
    Sql("create index indprod_id on STANY_MAGAZYNOWE (prod_id)");
    Sql("create index prod_id on STANY_MAGAZYNOWE (prod_id)");
    Sql("create index indKONH_ID on STANY_MAGAZYNOWE (NR_MAG)");
    Sql("create index ind on STANY_MAGAZYNOWE (ilosc)");
    Sql("create table KONTRAHENCI (KONH_ID long, KONH_NAZWA text(50))");
    Sql("create unique index Podstawowy on KONTRAHENCI (KONH_ID) with primary");
    Sql("create index indKONH_NAZWA on KONTRAHENCI (KONH_NAZWA)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_278), "");
    EXPECT_EQ(Indeksy("STANY_MAGAZYNOWE"),
              (Lista{"ind ilosc", "indKONH_ID NR_MAG", "prod_id prod_id"}));
    EXPECT_EQ(Indeksy("KONTRAHENCI"), (Lista{"Podstawowy P KONH_ID"}));
}

TEST_F(Kroki278, NumberingPeriodsGetTheirFourColumnKey) {
    Sql("create table SPOSOB_NUMERACJI_ZAWART (id counter, sm_id long, kierowca_id long, rok "
        "integer, miesiac integer)");
    Sql("create unique index Podstawowy on SPOSOB_NUMERACJI_ZAWART (id) with primary");
    Sql("insert into SPOSOB_NUMERACJI_ZAWART (sm_id, kierowca_id, rok, miesiac) values (1, 0, "
        "2001, 1)");
    Sql("insert into SPOSOB_NUMERACJI_ZAWART (sm_id, kierowca_id, rok, miesiac) values (1, 0, "
        "2001, 2)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_279), "");
    EXPECT_EQ(Indeksy("SPOSOB_NUMERACJI_ZAWART"),
              (Lista{"Podstawowy P sm_id rok miesiac kierowca_id"}));

    // A period written twice whole under two ids is one row: the documents that name the
    // copy by its id name the row kept (the table of the keys' rules shows it).
    Sql("drop index Podstawowy on SPOSOB_NUMERACJI_ZAWART");
    Sql("create unique index Podstawowy on SPOSOB_NUMERACJI_ZAWART (id) with primary");
    Sql("insert into SPOSOB_NUMERACJI_ZAWART (sm_id, kierowca_id, rok, miesiac) values (1, 0, "
        "2001, 2)");
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_279), "");
    EXPECT_EQ(Kolumna("select id from SPOSOB_NUMERACJI_ZAWART order by id"), (Lista{"1", "2"}));
}

// The year after the slash, left-trimmed. A number without one gives an empty text that
// the whole-number column refuses: that report keeps no year and the step goes on.
TEST_F(Kroki278, ReportsTakeTheYearAfterTheSlash) {
    Sql("create table dok_fra (id counter, raport_nr text(30))");
    for (const char* nr : {"'12/2001'", "'3/ 2002'", "'bez roku'"})
        Sql(std::string("insert into dok_fra (raport_nr) values (") + nr + ")");
    EXPECT_EQ(Krok(&ClsKonwersje::Konwersja_280), "");
    EXPECT_EQ(Kolumna("select ROK from dok_fra order by id"), (Lista{"2001", "2002", "Null"}));
    Sql("delete from dok_fra");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_280), "");  // empty: only the column
}

TEST_F(Kroki278, SetupNamesLoseTheirWorkstationPrefix) {
    Sql("create table [Setup] ([Nazwa] TEXT (255), [Wartosc] memo)");
    Sql("create unique index Podstawowy on Setup (Nazwa) with primary");
    for (const char* n : {"ST1\\DRUKARKA FAKTUR", "ST3\\ST5\\KOPIE", "ST5\\ST3\\PORT", "ST10\\X",
                          "st1\\Y", "STx\\Z", "AKT_ROK", "ST0\\AKT_ROK", "ST9\\KASA"})
        Sql(std::string("insert into Setup (Nazwa, Wartosc) values ('") + n + "', '1')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_281), "");
    // ST0\AKT_ROK would take the name of a row that exists: it keeps its own.
    EXPECT_EQ(Kolumna("select Nazwa from Setup"),
              (Lista{"DRUKARKA FAKTUR", "KOPIE", "ST3\\PORT", "ST10\\X", "st1\\Y", "STx\\Z",
                     "AKT_ROK", "ST0\\AKT_ROK", "KASA"}));
    EXPECT_EQ(Linie_Logu("Setup.Nazwa \"ST0\\AKT_ROK\" pozostaje bez zmiany").size(), 1u);
}

}  // namespace
}  // namespace kroki_test
