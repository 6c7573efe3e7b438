// Steps 3.82 to 3.87 on a database of version 3.81: costing columns, employment
// certificates, contract columns, the stocktaking party, payroll components 161 to 167
// and the repair of correction lines that name one product twice.
#include <string>
#include <vector>

#include "dao/dao.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki382 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(3.81); }
    void Kroki(int od, int do_) {
        for (int v = od; v <= do_; ++v) ASSERT_EQ(Krok(Zbudowane_Kroki().at(v)), "") << v;
    }
};

TEST_F(Kroki382, ColumnsAndCertificatesTwiceOver) {
    Sql("create table PRODUKTY_KOSZTY (KOSZT_ID int identity,NAZWA Text (255),KWOTA money "
        "DEFAULT 0,TYP int DEFAULT 0,POBRANE Logical)");
    Sql("create table PRODUKTY_KALKULACJA (KALKULACJA int identity,PROD_ID int DEFAULT 0)");
    Sql("create table KADRY_UMOWY (ID long, ID_PRAC long, Stanowisko text(30), [Dział] "
        "text(30), Etat single)");
    Sql("insert into KADRY_UMOWY values (1, 4, 'Piekarz', 'Produkcja', 1)");
    Sql("create table DOK_REI (REI_ID long, numer text(20))");
    Sql("insert into DOK_REI values (1, '1/2001')");
    for (int przebieg = 0; przebieg < 2; ++przebieg) {
        Kroki(382, 386);
        EXPECT_EQ(Typ_Pola("PRODUKTY_KOSZTY", "data"), dao::dbDate);
        EXPECT_EQ(Typ_Pola("PRODUKTY_KALKULACJA", "Ilosc_wypr"), dao::dbCurrency);
        EXPECT_EQ(Typ_Pola("PRODUKTY_KALKULACJA", "Koszty_na_rec"), dao::dbCurrency);
        EXPECT_EQ(Wiersze_Z("select * from KADRY_UMOWY"),
                  (Wiersze{{"1", "4", "Null", "Null", "Null"}}));
        for (const char* gone : {"Stanowisko", "Dział", "Etat"})
            EXPECT_FALSE(Czyta_Sie(std::string("select [") + gone + "] from KADRY_UMOWY"));
        EXPECT_EQ(Kolumna("select Konh_id from DOK_REI"), (std::vector<std::string>{"0"}));
    }
    Sql("insert into KADRY_SWIADECTWA (ID_PRAC, [Ubezpł], [okrNieskł], [sądRej]) values (4, "
        "'ZUS', 'brak', 'Sąd Rejonowy')");
    EXPECT_EQ(Wiersze_Z("select COUNTT, ID_PRAC, ID_UMOWY, data, urlop, [sądRej] from "
                        "KADRY_SWIADECTWA"),
              (Wiersze{{"1", "4", "0", "Null", "0", "Sąd Rejonowy"}}));
    EXPECT_EQ(Typ_Pola("KADRY_SWIADECTWA", "art188"), dao::dbSingle);
    EXPECT_EQ(Typ_Pola("KADRY_SWIADECTWA", "dataRozw"), dao::dbDate);
}

class Krok387 : public Kroki382 {
  protected:
    void SetUp() override {
        Kroki382::SetUp();
        Sql("create table place_opisy (POLE long, OPIS text(50), SKR text(30))");
        for (int p : {71, 72, 159, 160, 161, 165})
            Sql("insert into place_opisy values (" + std::to_string(p) + ", 'stary', 'st')");
        Sql("create table Place_Dane (IDP long, wartosc160 money, wartosc163 money)");
        Sql("insert into Place_Dane values (1, 5, 7)");
        Sql("create table DOK_KFA_ZAWART (COUNTT counter, FKOROUT_ID long, PROD_ID long, "
            "zfkorout_tryb text(1), ZFKOROUT_ILOSC single)");
        const std::vector<std::string> linie = {
            "1, 10, 'p', 5", "1, 10, 'n', 4", "1, 10, 'p', 3", "1, 11, 'p', 2",
            "1, 10, 'p', 1", "2, 10, 'p', 6", "2, 12, 'p', 8", "2, 12, 'n', 9",
        };
        for (const std::string& l : linie)
            Sql("insert into DOK_KFA_ZAWART (FKOROUT_ID, PROD_ID, zfkorout_tryb, "
                "ZFKOROUT_ILOSC) values (" +
                l + ")");
    }
};

TEST_F(Krok387, ComponentsRewordedAndRepeatedCorrectionLinesCleared) {
    Kroki(387, 387);
    // Of three 'p' lines of product 10 in correction 1 only the last stays 'p'; other
    // products, other corrections and 'n' lines are untouched.
    EXPECT_EQ(Wiersze_Z("select COUNTT, zfkorout_tryb, ZFKOROUT_ILOSC from DOK_KFA_ZAWART "
                        "order by COUNTT"),
              (Wiersze{{"1", "n", "0"},
                       {"2", "n", "4"},
                       {"3", "n", "0"},
                       {"4", "p", "2"},
                       {"5", "p", "1"},
                       {"6", "p", "6"},
                       {"7", "p", "8"},
                       {"8", "n", "9"}}));

    const std::string opisy = "select POLE, OPIS, SKR from place_opisy order by POLE";
    const Wiersze oczekiwane = {
        {"71", "Stawka zasiłku opiekuńczego", "St.zas.op."},
        {"72", "Ilość dni bez umowy", "Il.dni b.um."},
        {"159", "Stawka zasiłku macierzyńskiego", "St.zas.mac."},
        {"160", "Stawka świadczenia rehabilitacyjnegoi", "St.św.reh."},
        {"161", "Stawka za dzień nieob.usprawiedliwionej", "Stawka za nieob.pł"},
        {"162", "Ilość dni nieob.uspr.pł.", "Il.dni n.uspr.pł."},
        {"163", "Wynagrodzenie za nieob.uspr.płatne", "Wyn.za nieob.uspr."},
        {"164", "Stawka za dzień ekwiwalentu ", "Sawka za ekw.url."},
        {"165", "Ilość dni ekwiwalentu za urlop", "Il.dni ekw.za url."},
        {"166", "Ilość godzin roboczych w miesiącu", "Il.godz.rob.mies."},
        {"167", "Ilość godzin nieobecności", "Il.godz.nieob."},
    };
    EXPECT_EQ(Wiersze_Z(opisy), oczekiwane);
    for (int n = 161; n <= 167; ++n)
        EXPECT_EQ(Typ_Pola("Place_Dane", "wartosc" + std::to_string(n)), dao::dbCurrency) << n;
    // The column that existed keeps its amount; a second run changes nothing.
    Kroki(387, 387);
    EXPECT_EQ(Wiersze_Z(opisy), oczekiwane);
    EXPECT_EQ(Wiersze_Z("select wartosc160, wartosc163, wartosc167 from Place_Dane"),
              (Wiersze{{"5", "7", "Null"}}));
}

}  // namespace
}  // namespace kroki_test
