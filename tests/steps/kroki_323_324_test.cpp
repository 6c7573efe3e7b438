// Steps 3.23 and 3.24 on a database of version 3.22: contract termination, civil
// contracts, customers as their own payers, and the per-column indexes dropped.
#include <algorithm>
#include <string>
#include <vector>

#include "dao/dao.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

using Lista = std::vector<std::string>;

class Kroki323 : public BazaKroku {
  protected:
    void SetUp() override { Otworz(3.22); }
    // The index names of a table, sorted.
    static Lista Indeksy(const std::string& tabela) {
        auto baza = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
        Lista n;
        for (const dao::Index& i : baza->TableDefs(tabela).Indexes()) n.push_back(i.Name);
        std::sort(n.begin(), n.end());
        return n;
    }
};

TEST_F(Kroki323, TerminationCivilContractsAndPayers) {
    Sql("create table KADRY_UMOWY (ID_prac long, numer text(10))");
    Sql("create table KONTRAHENCI (konh_id long, KONH_naz_skrot text(20), KONH_PLATNIK_KTO "
        "text(20), KONH_PLATNIK logical)");
    Sql("insert into KONTRAHENCI values (1, 'SKLEP', 'SKLEP', 0)");
    Sql("insert into KONTRAHENCI values (2, 'KIOSK', 'SKLEP', 0)");
    Sql("insert into KONTRAHENCI values (3, 'HURT', null, 0)");
    Sql("insert into KONTRAHENCI values (4, 'BAR', 'BAR', -1)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_323), "");
    EXPECT_EQ(Kolumna("select KONH_PLATNIK from KONTRAHENCI order by konh_id"),
              (Lista{"True", "False", "False", "True"}));
    Sql("insert into KADRY_UMOWYC (ID_prac, tresc) values (1, 'Umowa zlecenia: rozwóz')");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_323), "");  // again: the civil contracts stay
    EXPECT_EQ(Wiersze_Z("select Countt, tresc from KADRY_UMOWYC"),
              (Wiersze{{"1", "Umowa zlecenia: rozwóz"}}));
}

TEST_F(Kroki323, PerColumnIndexesDropped) {
    Sql("create table SLOWNIK (ID long, Nazwa text(40), Kod text(10))");
    Sql("create unique index Podstawowy on SLOWNIK (ID) with primary");
    Sql("create index indNazwa on SLOWNIK (Nazwa)");
    Sql("create index Kod on SLOWNIK (Kod)");
    Sql("create index indCena on SLOWNIK (Kod)");  // no column Cena: stays
    Sql("create unique index UnicNumer on SLOWNIK (Kod, ID)");
    Sql("create table msysOpcje (ID long, Opcja text(10))");
    Sql("create index indOpcja on msysOpcje (Opcja)");
    Sql("create table MSysDruk (ID long, Opcja text(10))");
    Sql("create index indOpcja on MSysDruk (Opcja)");
    Sql("create table DOK_FAK (FAKOUT_ID long, FAKOUT_NUMER text(30), KONH_ID long)");
    Sql("create index indKONH_ID on DOK_FAK (KONH_ID)");
    Sql("create index indFAKOUT_NUMER on DOK_FAK (FAKOUT_NUMER, FAKOUT_ID)");
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_324), "");
    EXPECT_EQ(Indeksy("SLOWNIK"), (Lista{"Kod", "Podstawowy", "UnicNumer", "indCena"}));
    EXPECT_EQ(Indeksy("msysOpcje"), Lista{});
    EXPECT_EQ(Indeksy("MSysDruk"), Lista{"indOpcja"});
    EXPECT_EQ(Indeksy("DOK_FAK"), Lista{});
    EXPECT_EQ(k.BazaDAO, nullptr);
    ASSERT_EQ(Krok(&ClsKonwersje::Konwersja_324), "");
    EXPECT_EQ(Indeksy("SLOWNIK"), (Lista{"Kod", "Podstawowy", "UnicNumer", "indCena"}));
}

}  // namespace
}  // namespace kroki_test
