// The steps' own traps, which pass over a record's or a pass's failure, against the
// environment's failures: a locked file or a full disk met by a write inside the trap
// is no record's failure, and reaches the run.
#include <functional>

#include "db/awaria_zapisu.h"
#include "steps/165_299/wspolne.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

// One trap: the tables its step needs, the routine, the write at which the failure is
// injected (counted from the routine's start, as Awaria_Zapisu counts) and the failure.
// What must happen is the same for each: the failure reaches the routine's caller.
struct Pulapka {
    const char* gdzie;
    std::vector<std::string> baza;
    std::function<void(ClsKonwersje&)> krok;
    int zapis;
    jet::Fault awaria;
};

// The tables of step 6.41: the units already known and the document lines they come
// from, one unit in the purchases.
std::vector<std::string> Baza_641(std::vector<std::string> dalej) {
    std::vector<std::string> b = {
        "create table PRODUKTY_WSP_PRZEL (prod_id long, Sp_Przel text(20), Wsp_Przel money)",
        "create unique index Podstawowy on PRODUKTY_WSP_PRZEL (prod_id, Sp_Przel) with primary",
        "create table DOK_ZAK_ZAWART (SUR_ID long, SP_PRZEL text(20), WSP_PRZEL money)",
        "create table DOK_PZ_ZAWART (PROD_ID long, SP_PRZEL text(20), WSP_PRZEL money)",
        "create table DOK_WZ_ZAWART (PROD_ID long, SP_PRZEL text(20), WSP_PRZEL money)",
        "insert into DOK_ZAK_ZAWART values (7, 'kg', 2)"};
    b.insert(b.end(), dalej.begin(), dalej.end());
    return b;
}

const std::vector<std::string> kBaza_220 = {
    "create table Produkcja (DDOUT_ID counter, DDOUT_DATA_WYST Date)",
    "create table PRODUKCJA_ZAWARTOSC (SPRZ_ID Long, PROD_ID Long, ilosc_zam single, ilosc_prod "
    "single, ilosc_prod2 single, ilosc_prod3 single, ilosc_zam2 single, ilosc_zam3 single, "
    "WSPRZ_CENA_B money)",
    "create table ZAMOWIENIA_RAPORT (data date, prod_id long, ilosc_zam single, ilosc_prod "
    "single, ilosc_prod2 single, ilosc_prod3 single, ilosc_zam2 single, ilosc_zam3 single, "
    "blok long)",
    "insert into ZAMOWIENIA_RAPORT (data, prod_id, ilosc_zam) values (#04/01/2003#, 10, 1)"};

class Pulapki : public BazaKroku {
  protected:
    void SetUp() override { Otworz(2.00); }
};

TEST_F(Pulapki, AFailureOfTheEnvironmentInsideATrapReachesTheRun) {
    const std::vector<Pulapka> pulapki = {
        // 2.08: the save of the first payment form's kind, after the column's addition.
        {"2.08 kind of a payment form",
         {"create table FORMY_PLATNOSCI (FPLAT_NAZWA_ID text(50), FPLAT_DNI_ZWLOKI long)",
          "insert into FORMY_PLATNOSCI values ('Gotówka', 0)",
          "insert into FORMY_PLATNOSCI values ('Przelew', 14)"},
         [](ClsKonwersje& k) { k.Konwersja_208(); },
         2,
         jet::Fault::DiskFull},
        // 2.20: the new production document of the report's day, after the work tables'
        // nine drops, ten creations, a delete and the copy of the report.
        {"2.20 production document of a day", kBaza_220, [](ClsKonwersje& k) { k.Konwersja_220(); },
         21, jet::Fault::FileLocked},
        // 2.61: the save of the first rounded record of the VAT register.
        {"2.61 rounded VAT record",
         {"create table tabela_vat (countt counter, id long, r_dok text(20), n22 money, vat22 "
          "money, n7 money, vat7 money, vat3 money, n3 money, nzw money, n0 money)",
          "insert into tabela_vat (id, n22) values (1, 1.005)",
          "insert into tabela_vat (id, n22) values (2, 2.005)"},
         [](ClsKonwersje& k) { k.Konwersja_261(); },
         1,
         jet::Fault::DiskFull},
        // 2.81: a Setup name without its prefix, saved by the pass that skips records.
        {"2.81 Setup name without its prefix",
         {"create table [Setup] ([Nazwa] TEXT (255), [Wartosc] memo)",
          "insert into Setup (Nazwa) values ('ST1\\DRUKARKA')",
          "insert into Setup (Nazwa) values ('ST2\\KASA')"},
         [](ClsKonwersje& k) { k.Konwersja_281(); },
         1,
         jet::Fault::FileLocked},
        // 6.41: the first unit's save, after the delete of the units.
        {"6.41 new unit", Baza_641({}), [](ClsKonwersje& k) { k.Konwersja_641(); }, 2,
         jet::Fault::DiskFull},
        // 6.41: the save of a unit under its extended name: its first save met a name
        // that the product uses for another factor.
        {"6.41 new unit under its extended name",
         Baza_641({"insert into DOK_PZ_ZAWART values (7, 'kg', 3)"}),
         [](ClsKonwersje& k) { k.Konwersja_641(); }, 4, jet::Fault::FileLocked},
        // The pass that skips failed records, once it skips them.
        {"Zapisz_Wiersze_Pomijajac",
         {"create table T (a text(10))", "insert into T values ('x')",
          "insert into T values ('y')"},
         [](ClsKonwersje& k) {
             std::unique_ptr<ado::Recordset> rs;
             ASSERT_EQ(k.DbOtwórzSELKonwersje(rs, "a from T"), 2);
             bool pomijaj = true;
             kroki::Zapisz_Wiersze_Pomijajac(
                 *rs, pomijaj, [](ado::Recordset& r) { r.Fields(0) = jet::Value::text("z"); });
         },
         1,
         jet::Fault::DiskFull},
    };
    for (const Pulapka& p : pulapki) {
        SCOPED_TRACE(p.gdzie);
        for (const std::string& s : p.baza) Sql(s);
        {
            Awaria_Zapisu a(jet::make_error(p.awaria), 1, p.zapis - 1);
            const jet::Error e = jet::make_error(p.awaria);
            EXPECT_EQ(Uruchom([&] { p.krok(k); }),
                      "error " + std::to_string(e.signed_number()) + " " + e.description());
            EXPECT_EQ(a.zostalo(), 0);
        }
        EXPECT_EQ(komunikaty.str(), "");
        // The next trap's step on a database of its own.
        TearDown();
        komunikaty.str("");
        SetUp();
    }
}

}  // namespace
}  // namespace kroki_test
