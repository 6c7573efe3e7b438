// Steps 3.69 to 3.71: old orders deleted on request, order quantities, order
// redirections, driver slots, production columns and raw materials.
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "jet/dates.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

using Kolumny = std::vector<std::string>;

// Today at midnight, as the step computes it.
double Dzis() {
    const std::time_t t = std::time(nullptr);
    std::tm lt{};
    localtime_r(&t, &lt);
    return *jet::dates::to_serial(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday);
}

// A Jet date literal (month first) of a serial with its time of day.
std::string Literal(double d) {
    const jet::dates::Parts p = jet::dates::from_serial(d);
    char t[40];
    std::snprintf(t, sizeof t, "#%02d-%02d-%04d %02d:%02d:00#", p.month, p.day, p.year, p.hour,
                  p.minute);
    return t;
}

class Zamowienia : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(3.68);
        Sql("create table dok_zam (zam_id long, data date)");
        Sql("create table dok_zam_zawart (zam_id long, prod_id long, ilosc single)");
        Sql("create table ZAMOWIENIA_KOMENTARZE (iddd long, TEKST memo)");
        Sql("create table zamowienia_szablon (konh_id long, prod_id long, ilosc single)");
        const double granica = Dzis() - 120;
        // Orders 1 and 2 on or before the limit day (2 late in it), 3 the day after.
        const double daty[] = {granica - 1, granica + 23.0 / 24, granica + 1};
        for (int i = 0; i < 3; ++i) {
            const std::string id = std::to_string(i + 1);
            Sql("insert into dok_zam values (" + id + ", " + Literal(daty[i]) + ")");
            Sql("insert into dok_zam_zawart values (" + id + ", 7, 1)");
            Sql("insert into ZAMOWIENIA_KOMENTARZE values (" + id + ", 'k')");
        }
        Sql("insert into dok_zam_zawart values (99, 7, 1)");  // an order deleted earlier
        Sql("insert into ZAMOWIENIA_KOMENTARZE values (99, 'k')");
        Sql("insert into zamowienia_szablon values (1, 7, 2)");
    }
    // The question's date: the limit day as dd-MM-yyyy.
    static std::string Granica_Tekst() {
        const jet::dates::Parts p = jet::dates::from_serial(Dzis() - 120);
        char t[16];
        std::snprintf(t, sizeof t, "%02d-%02d-%04d", p.day, p.month, p.year);
        return t;
    }
};

TEST_F(Zamowienia, YesDeletesOldOrdersWithTheirLinesAndComments) {
    Odpowiedzi({6});
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_369), "");
    EXPECT_NE(komunikaty.str().find(" Czy chesz usunąć z bazy zamówienia do " + Granica_Tekst()),
              std::string::npos)
        << komunikaty.str();
    EXPECT_EQ(Kolumna("select zam_id from dok_zam"), Kolumny{"3"});
    EXPECT_EQ(Kolumna("select zam_id from dok_zam_zawart"), Kolumny{"3"});
    EXPECT_EQ(Kolumna("select iddd from ZAMOWIENIA_KOMENTARZE"), Kolumny{"3"});
}

TEST_F(Zamowienia, NoKeepsEverythingAndQuantitiesAreAdded) {
    Odpowiedzi({7});
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_369), "");
    EXPECT_EQ(Kolumna("select count(*) from dok_zam"), Kolumny{"3"});
    EXPECT_EQ(Kolumna("select count(*) from dok_zam_zawart"), Kolumny{"4"});
    EXPECT_EQ(Kolumna("select count(*) from ZAMOWIENIA_KOMENTARZE"), Kolumny{"4"});
    for (const char* t : {"dok_zam_zawart", "zamowienia_szablon"})
        EXPECT_EQ(Wiersze_Z(std::string("select top 1 ilosc4, ilosc9, ilosc10 from ") + t),
                  (Wiersze{{"0", "0", "0"}}))
            << t;

    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_370), "");
    for (const char* t : {"dok_zam_zawart", "zamowienia_szablon"}) {
        EXPECT_TRUE(Czyta_Sie(std::string("select ilosc4, ilosc9 from ") + t)) << t;
        EXPECT_FALSE(Czyta_Sie(std::string("select ilosc10 from ") + t)) << t;
    }
}

TEST_F(Zamowienia, RedirectionsAreTheNineRowsWhateverTheTableHeld) {
    Sql("create table Zamowienia_Przekierowania (Kurs int DEFAULT 0,Zmiana int DEFAULT 0)");
    Sql("insert into Zamowienia_Przekierowania values (4, 4)");
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_370), "") << run;
        EXPECT_EQ(Wiersze_Z("select Kurs, Zmiana from Zamowienia_Przekierowania order by Kurs"),
                  (Wiersze{{"1", "1"},
                           {"2", "2"},
                           {"3", "3"},
                           {"4", "3"},
                           {"5", "3"},
                           {"6", "3"},
                           {"7", "3"},
                           {"8", "3"},
                           {"9", "3"}}));
    }
}

class Krok371 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(3.70);
        Sql("create table Kontrahenci (konh_id long, kier_id long)");
        Sql("insert into Kontrahenci values (1, 3)");
        Sql("create table dok_pro_zawart (ddout_id long, WSPRZ_CENA_VAT money, WSPRZ_ILOSC "
            "single, ilosc_ZAM single, ILOSC_PROD single, ilosc_ZAM2 single, ILOSC_PROD2 single, "
            "ilosc_ZAM3 single, ILOSC_PROD3 single)");
        Sql("create index WSPRZ_ILOSC on dok_pro_zawart (WSPRZ_ILOSC)");
        Sql("insert into dok_pro_zawart values (1, 1, 1, 5, 6, 7, 8, 9, 10)");
        Sql("create table DOK_PRO_ZAWART_SUROWCE (DDOUT_ID long, sur_ID long, Ilosc single, "
            "Wartosc money, ilosc_polprod single, ilosc_SUR single, [DATA] date)");
        Sql("insert into DOK_PRO_ZAWART_SUROWCE values (1, 4, 1.5, 2.25, 0, 0, null)");
        Sql("insert into DOK_PRO_ZAWART_SUROWCE values (1, 4, 2, 3.5, 0, 0, null)");
        Sql("insert into DOK_PRO_ZAWART_SUROWCE values (1, 5, 1, 1, 0, 0, null)");
        Sql("insert into DOK_PRO_ZAWART_SUROWCE values (2, 4, 3, 4, 0, 0, null)");
        std::string kolumny = "DDOUT_ID long";
        for (const char* c : kUsuniete) kolumny += std::string(", ") + c + " long";
        Sql("create table DOK_PRO (" + kolumny + ")");
    }
    static constexpr const char* kUsuniete[] = {"KONH_ID",
                                                "ddout_data_sprz",
                                                "DDOUT_DO_ROZLICZENIA",
                                                "ddout_zaplacona",
                                                "fplat_nazwa_id",
                                                "zbiorczy",
                                                "ddout_Termin_zaplaty",
                                                "Remanent",
                                                "wart_kp",
                                                "rodzdok",
                                                "ID_Kasy",
                                                "kier_id",
                                                "Zbiorczy_id",
                                                "numer_dokumentu",
                                                "Zakup",
                                                "b_rabat_n",
                                                "b_rabat_V",
                                                "DDOUT_wart_VAT",
                                                "rabat",
                                                "zam_id"};
};

TEST_F(Krok371, ColumnsQuantitiesAndRawMaterials) {
    // A line without its document names none (0), and the Log counts it; a raw material
    // whose quantities are all not given sums to 0.
    Sql("insert into DOK_PRO_ZAWART_SUROWCE values (Null, 4, 7, 7, 0, 0, null)");
    Sql("insert into DOK_PRO_ZAWART_SUROWCE values (2, 6, Null, Null, 0, 0, null)");
    Sql("insert into dok_pro_zawart values (2, 1, 1, 5, Null, 7, Null, 9, Null)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_371), "");
    EXPECT_EQ(Linie_Logu("pozycje DOK_PRO_ZAWART_SUROWCE bez dokumentu").size(), 1u);
    EXPECT_EQ(Wiersze_Z("select kier_id, kier_id4, kier_id9 from Kontrahenci"),
              (Wiersze{{"3", "0", "0"}}));
    // The dropped columns go, an indexed one included; the key column stays.
    EXPECT_TRUE(Czyta_Sie("select DDOUT_ID from DOK_PRO"));
    for (const std::string c : {"zam_id from DOK_PRO", "WSPRZ_ILOSC from dok_pro_zawart",
                                "[DATA] from DOK_PRO_ZAWART_SUROWCE"})
        EXPECT_FALSE(Czyta_Sie("select " + c)) << c;
    EXPECT_EQ(
        Wiersze_Z("select ilosc_ZAM, ilosc_ZAM2, ilosc_ZAM3 from dok_pro_zawart order by ddout_id"),
        (Wiersze{{"6", "8", "10"}, {"5", "7", "9"}}));
    EXPECT_EQ(Wiersze_Z("select ddout_id, sur_id, Ilosc, Wartosc from DOK_PRO_SUROWCE order by "
                        "ddout_id, sur_id"),
              (Wiersze{{"0", "4", "7", "7"},
                       {"1", "4", "3,5", "5,75"},
                       {"1", "5", "1", "1"},
                       {"2", "4", "3", "4"},
                       {"2", "6", "0", "0"}}));
    // The key refuses a second row of a document and raw material.
    EXPECT_THROW(Sql("insert into DOK_PRO_SUROWCE (ddout_id, sur_id) values (1, 4)"), jet::Error);
}

}  // namespace
}  // namespace kroki_test
