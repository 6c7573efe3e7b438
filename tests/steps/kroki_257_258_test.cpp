// Steps 2.57 and 2.58 on a database of version 2.56: documents linked to the period
// rows of their contractor's numbering scheme, and the declaration columns.
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki257 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(2.56);
        Sql("create table [Setup] ([Nazwa] TEXT (255), [Wartosc] memo)");
        Sql("create table SPOSOB_NUMERACJI (sm_id long, nazwa text(50), tryb integer, rob_kier "
            "logical)");
        Sql("create table sposob_numeracji_zawart (id counter, sm_id long, kierowca_id long, rok "
            "text(4), miesiac text(2), nr_fa long, nr_fk long, nr_dd long, nr_dz long, nr_par "
            "long, nr_sp long, nr_pw long)");
        Sql("create table Numery_OST_DOK (numer_faktury long, rodzaj_dok text(50), rok long, "
            "MIESIAC long)");
        Sql("create table S_KIEROWCY (kier_id long)");
        Sql("insert into S_KIEROWCY values (1)");
        Sql("insert into S_KIEROWCY values (2)");
        Sql("create table kontrahenci (konh_id long, sm_id long, kier_id long)");
        Dokumenty("K_FAKTUR", "fkorout_data_wyst", ", zakup logical");
        Dokumenty("FAKTURY", "fakout_data_wyst", "");
        for (const char* t : {"Paragon", "DOWODY_DOSTAW", "DOWODY_ZWROTU", "Produkcja"})
            Dokumenty(t, "ddout_data_wyst", "");
        Dokumenty("Dok_Wewnentrzne", "ddout_data_wyst", ", rodzdok text(1)");
    }
    static void Dokumenty(const std::string& t, const std::string& data,
                          const std::string& reszta) {
        Sql("create table " + t + " (id long, " + data +
            " date, kier_id long, smz_id long, KONH_ID long" + reszta + ")");
    }
    // A document: table, id, date (a Jet literal or null), driver, contractor, and the
    // values of further columns.
    static void Dokument(const std::string& t, int id, const std::string& data, int kier, int konh,
                         const std::string& kolumny = "", const std::string& wartosci = "") {
        const std::string d = t == "K_FAKTUR"  ? "fkorout_data_wyst"
                              : t == "FAKTURY" ? "fakout_data_wyst"
                                               : "ddout_data_wyst";
        Sql("insert into " + t + " (id, " + d + ", kier_id, smz_id, KONH_ID" + kolumny +
            ") values (" + std::to_string(id) + ", " + data + ", " + std::to_string(kier) +
            ", 0, " + std::to_string(konh) + wartosci + ")");
    }
    // The id of the period row of a scheme, driver, year and month.
    static std::string Okres(int sm, int kier, const std::string& rok, const std::string& mies) {
        const auto w =
            Kolumna("select id from sposob_numeracji_zawart where sm_id=" + std::to_string(sm) +
                    " and kierowca_id=" + std::to_string(kier) + " and rok='" + rok +
                    "' and miesiac='" + mies + "'");
        return w.size() == 1 ? w[0] : "(" + std::to_string(w.size()) + " rows)";
    }
    std::string Krok257() { return Krok(&ClsKonwersje::Konwersja_257); }
};

TEST_F(Kroki257, WithoutNumberingSchemesOnlyTheNumberColumnsAreAdded) {
    Sql("insert into kontrahenci values (10, 1, 1)");
    Dokument("FAKTURY", 1, "#03/05/2001#", 1, 10);
    ASSERT_EQ(Krok257(), "");
    for (const char* t : {"DOWODY_ZWROTU", "DOWODY_DOSTAW", "K_FAKTUR", "FAKTURY", "PARAGON",
                          "Dok_Wewnentrzne", "Produkcja"})
        EXPECT_TRUE(Czyta_Sie(std::string("select numer_dokumentu from ") + t)) << t;
    EXPECT_EQ(Kolumna("select smz_id from FAKTURY"), std::vector<std::string>{"0"});
    EXPECT_EQ(Kolumna("select count(*) from Numery_OST_DOK"), std::vector<std::string>{"0"});
    EXPECT_EQ(Kolumna("select count(*) from sposob_numeracji_zawart"),
              std::vector<std::string>{"0"});
}

TEST_F(Kroki257, DocumentsTakeThePeriodRowOfTheirContractorsScheme) {
    // Schemes: yearly, monthly per driver, one series with a Null per-driver flag, one
    // series for all drivers.
    Sql("insert into SPOSOB_NUMERACJI values (1, 'Roczna', 0, 0)");
    Sql("insert into SPOSOB_NUMERACJI values (2, 'Miesięczna', 1, -1)");
    Sql("insert into SPOSOB_NUMERACJI values (3, 'Ciągła', 2, null)");
    Sql("insert into SPOSOB_NUMERACJI values (4, 'Jedna', 2, 0)");
    // A scheme without an id names nothing; one beyond the 16-bit range is one like any.
    Sql("insert into SPOSOB_NUMERACJI values (null, 'Bez id', 0, 0)");
    Sql("insert into SPOSOB_NUMERACJI values (70000, 'Duża', 0, 0)");
    Sql("insert into SPOSOB_NUMERACJI values (5, 'Bez trybu', null, 0)");  // yearly
    // An existing period row keeps its counters.
    Sql("insert into sposob_numeracji_zawart (sm_id, kierowca_id, rok, miesiac, nr_fa) values "
        "(1, 0, '2001', '0', 41)");
    for (const char* w : {"10, 1, 1", "20, 2, 2", "30, 3, 1", "40, 0, 1", "50, 4, 1", "60, null, 1",
                          "70, 70000, 1"})
        Sql(std::string("insert into kontrahenci values (") + w + ")");
    Sql("insert into kontrahenci values (80, 5, 1)");
    const std::string marzec = "#03/05/2001#";
    struct {
        int id, kier, konh;
    } faktury[] = {
        {1, 1, 10},   // yearly
        {2, 2, 20},   // monthly, per driver
        {3, 0, 10},   // no driver
        {4, 1, 30},   // per driver by the Null flag, but the set-up made no driver rows
        {5, 1, 40},   // contractor without a scheme
        {6, 1, 99},   // no such contractor
        {7, 1, 50},   // one series
        {8, 1, 60},   // a Null scheme
        {11, 1, 70},  // a scheme id beyond 16 bits
    };
    for (const auto& f : faktury) Dokument("FAKTURY", f.id, marzec, f.kier, f.konh);
    Sql("insert into FAKTURY (id, fakout_data_wyst, kier_id, smz_id, KONH_ID) values (9, "
        "#01/02/2000#, 1, 1, 10)");
    // A period Null or naming no row is none; no mode is yearly; a driver is kept as it stands.
    for (const char* w : {"12, 5, 0, 50", "13, 1, 999, 10", "14, 1, null, 10", "15, 1, 0, 80"})
        Sql(std::string("insert into FAKTURY (id, kier_id, smz_id, KONH_ID, fakout_data_wyst) "
                        "values (") +
            w + ", #03/05/2001#)");
    // A Null driver counts as none: the document stays unlinked and the step goes on.
    Sql("insert into FAKTURY (id, fakout_data_wyst, kier_id, smz_id, KONH_ID) values (10, "
        "#03/05/2001#, null, 0, 10)");
    Dokument("K_FAKTUR", 1, "#12/31/2000#", 1, 10, ", zakup", ", 0");
    Dokument("K_FAKTUR", 2, "#01/15/2001#", 2, 20, ", zakup", ", -1");
    Dokument("K_FAKTUR", 3, "#01/15/2001#", 1, 10, ", zakup", ", null");  // neither kind
    Dokument("Dok_Wewnentrzne", 1, marzec, 1, 10, ", rodzdok", ", 'P'");
    Dokument("Dok_Wewnentrzne", 2, marzec, 1, 10, ", rodzdok", ", 'X'");
    Dokument("DOWODY_ZWROTU", 1, "#11/30/2001#", 2, 20);

    ASSERT_EQ(Krok257(), "");
    const std::string rok2001 = Okres(1, 0, "2001", "0");
    EXPECT_EQ(Kolumna("select smz_id from FAKTURY order by id"),
              (std::vector<std::string>{rok2001, Okres(2, 2, "2001", "3"), "0", "0", "0", "0",
                                        Okres(4, 0, "0", "0"), "0", rok2001, "0",
                                        Okres(70000, 0, "2001", "0"), Okres(4, 0, "0", "0"),
                                        rok2001, rok2001, Okres(5, 0, "2001", "0")}));
    EXPECT_EQ(Kolumna("select count(*) from sposob_numeracji_zawart where sm_id is null"),
              std::vector<std::string>{"0"});
    EXPECT_EQ(Linie_Logu("SPOSOB_NUMERACJI bez sm_id (nie mają okresów numeracji): 1").size(), 1u);
    EXPECT_EQ(Kolumna("select smz_id from K_FAKTUR order by id"),
              (std::vector<std::string>{Okres(1, 0, "2000", "0"), Okres(2, 2, "2001", "1"), "0"}));
    EXPECT_EQ(Kolumna("select smz_id from Dok_Wewnentrzne order by id"),
              (std::vector<std::string>{rok2001, "0"}));
    EXPECT_EQ(Kolumna("select smz_id from DOWODY_ZWROTU"),
              (std::vector<std::string>{Okres(2, 2, "2001", "11")}));
    EXPECT_EQ(Kolumna("select nr_fa from sposob_numeracji_zawart where id=" + rok2001),
              std::vector<std::string>{"41"});
    // The monthly scheme got a row for each driver; the Null-flag scheme one for no driver.
    EXPECT_NE(Okres(2, 1, "2001", "3"), "(0 rows)");
    EXPECT_NE(Okres(3, 0, "0", "0"), "(0 rows)");
    // The last-number rows of the numbering types, yearly without the Setup row "roczna".
    EXPECT_EQ(Kolumna("select distinct MIESIAC from Numery_OST_DOK"),
              std::vector<std::string>{"13"});
    EXPECT_EQ(Kolumna("select count(*) from Numery_OST_DOK"), std::vector<std::string>{"13"});

    // A second run links nothing more and adds no period row.
    const auto okresy = Wiersze_Z("select * from sposob_numeracji_zawart order by id");
    const auto faktury_po = Kolumna("select smz_id from FAKTURY order by id");
    ASSERT_EQ(Krok257(), "");
    EXPECT_EQ(Wiersze_Z("select * from sposob_numeracji_zawart order by id"), okresy);
    EXPECT_EQ(Kolumna("select smz_id from FAKTURY order by id"), faktury_po);
}

TEST_F(Kroki257, AnUndatedDocumentStaysUnlinkedAndTheStepGoesOn) {
    Sql("insert into SPOSOB_NUMERACJI values (1, 'Roczna', 0, 0)");
    Sql("insert into kontrahenci values (10, 1, 1)");
    Dokument("K_FAKTUR", 1, "#12/31/2000#", 1, 10, ", zakup", ", 0");
    Dokument("FAKTURY", 1, "null", 1, 10);
    EXPECT_EQ(Krok257(), "");
    EXPECT_EQ(Kolumna("select smz_id from K_FAKTUR"),
              (std::vector<std::string>{Okres(1, 0, "2000", "0")}));
    EXPECT_EQ(Kolumna("select smz_id from FAKTURY"), std::vector<std::string>{"0"});
}

TEST_F(Kroki257, DeclarationTablesGetTheirLastColumns) {
    Sql("create table [Deklaracje] ([Nazwa] TEXT (50), [id] counter)");
    Sql("insert into Deklaracje (Nazwa) values ('VAT-7')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_258), "");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_258), "");
    EXPECT_EQ(Wiersze_Z("select Nazwa, nr from Deklaracje"), (Wiersze{{"VAT-7", "Null"}}));
    Sql("insert into Deklaracje_Zawart (id, Typ, wartosc, wartosc2) values (1, 'K20', 5, 2)");
    Sql("insert into Deklaracje_Zawart (id, Typ, wartosc, wartosc2) values (1, 'K21', 6, 3)");
    EXPECT_EQ(Kolumna("select Countt from Deklaracje_Zawart order by Typ"),
              (std::vector<std::string>{"1", "2"}));
}

}  // namespace
}  // namespace kroki_test
