// Steps 5.79 to 5.87 on a database of version 5.78: the columns filled from existing data.
#include <string>
#include <vector>

#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki579 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(5.78);
        Sql("create table Kontrahenci (konh_id long)");
        Sql("create table DOK_FAK (id long, kier_id long, konh_id long, sklepowa logical)");
        Sql("create table KH_SCHEMATY_ZAWART (id long)");
        Sql("create table KH_KONTA (id long)");
        Sql("create table SRODKI_TRWALE (id long, KONTOFK text(50))");
        Sql("create table KH_KSIEGA (id long)");
        Sql("create table KADRY_SWIADECTWA (COUNTT counter, data datetime)");
        Sql("create table DEKLARACJE_ZAWART (id long, wartosc money, wartosc2 money)");
        Sql("create table PLACE_LISTY_ZAWART (IDListy long)");
        Sql("create table KADRY_NIEOBECNOSCI (id long)");
        Sql("create table PLACE_OPISY (POLE long, OPIS text(50), SKR text(20))");
        Sql("create table DOK_KFA (id long, FKOROUT_DATA_WYST datetime)");
    }
    void Kroki() {
        for (int v = 579; v <= 587; ++v) ASSERT_EQ(Krok(Zbudowane_Kroki().at(v)), "") << v;
    }
};

TEST_F(Kroki579, ColumnsAreFilledFromTheirSources) {
    for (const char* f : {"(1, 5, 9, -1)", "(2, 5, 9, 0)", "(3, 5, 9, Null)"})
        Sql(std::string("insert into DOK_FAK values ") + f);
    for (const char* s : {"(1, '011-01')", "(2, '01')", "(3, Null)", "(4, '')"})
        Sql(std::string("insert into SRODKI_TRWALE values ") + s);
    Sql("insert into DEKLARACJE_ZAWART values (1, 12.5, Null)");
    Kroki();
    EXPECT_EQ(Kolumna("select kier_id from DOK_FAK order by id"),
              (std::vector<std::string>{"9", "5", "5"}));
    EXPECT_EQ(Kolumna("select KONTOFK_AMO from SRODKI_TRWALE order by id"),
              (std::vector<std::string>{"070-01", "070", "Null", "070"}));
    EXPECT_EQ(Wiersze_Z("select wartosc, wartosc2 from DEKLARACJE_ZAWART"),
              (Wiersze{{"12,5", "Null"}}));
    EXPECT_EQ(Typ_Pola("DEKLARACJE_ZAWART", "wartosc"), Typ_Pola("KADRY_SWIADECTWA", "Imie"));
    EXPECT_TRUE(Czyta_Sie("select Owartosc7004, wartosc202 from PLACE_LISTY_ZAWART"));
    EXPECT_TRUE(Czyta_Sie("select pit5 from KH_KONTA"));
    EXPECT_TRUE(Czyta_Sie("select Znacznik from KADRY_NIEOBECNOSCI"));
    EXPECT_EQ(Wiersze_Z("select POLE, OPIS, SKR from PLACE_OPISY"),
              (Wiersze{{"202", "Zaniechanie poboru podatku", "Zan.pob.pod."}}));
}

TEST_F(Kroki579, NewDatesStartAsTheRowsOwnAndKeepWhatIsSet) {
    Sql("insert into KADRY_SWIADECTWA (data) values (#02-01-2005#)");
    Sql("insert into DOK_KFA values (1, #03-04-2005#)");
    Sql("insert into DOK_KFA values (2, Null)");
    Kroki();
    EXPECT_EQ(Wiersze_Z("select DataU = data, DataOd = data from KADRY_SWIADECTWA"),
              (Wiersze{{"True", "True"}}));
    Sql("update KADRY_SWIADECTWA set DataU=#01-01-2001#");
    Sql("update DOK_KFA set DataPodpisu=#01-01-2001# where id=1");
    Kroki();  // a repeated run keeps the dates set
    EXPECT_EQ(Kolumna("select year(DataU) from KADRY_SWIADECTWA"),
              (std::vector<std::string>{"2001"}));
    EXPECT_EQ(Kolumna("select year(DataPodpisu) from DOK_KFA order by id"),
              (std::vector<std::string>{"2001", "Null"}));
}

}  // namespace
}  // namespace kroki_test
