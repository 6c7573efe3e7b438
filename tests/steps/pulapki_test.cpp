// The steps' own traps, which pass over a record's or a pass's failure, against the
// environment's failures: a locked file, a full disk, a read-only or damaged database or
// an I/O error met inside the trap is no record's failure, and reaches the run.
#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "db/awaria_zapisu.h"
#include "db/otworz.h"
#include "db/rejestr.h"
#include "jet/sqlite_fault.h"
#include "steps/165_299/wspolne.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

// While it lives, the program's connection counts rows with a count(*) of its own: the
// n-th count from now fails with SQLite's result code kod, as a count whose read of a
// page failed; the others count as SQLite does. Set it while no statement runs; the
// count stays the connection's own after it, counting as SQLite's does.
class Awaria_Liczenia {
  public:
    Awaria_Liczenia(int n, int kod) {
        zostalo_ = n;
        kod_ = kod;
        sqlite3_create_function(polaczenie().database().session().handle(), "count", 0, SQLITE_UTF8,
                                nullptr, nullptr, &Krok, &Koniec);
    }
    ~Awaria_Liczenia() { zostalo_ = 0; }
    Awaria_Liczenia(const Awaria_Liczenia&) = delete;
    Awaria_Liczenia& operator=(const Awaria_Liczenia&) = delete;
    // The counts still to come before the failing one, that one included; 0 once it came.
    static int zostalo() { return zostalo_; }

  private:
    static void Krok(sqlite3_context* c, int, sqlite3_value**) {
        ++*static_cast<int64_t*>(sqlite3_aggregate_context(c, sizeof(int64_t)));
    }
    static void Koniec(sqlite3_context* c) {
        if (zostalo_ > 0 && --zostalo_ == 0) {
            sqlite3_result_error_code(c, kod_);
            return;
        }
        const auto* n = static_cast<int64_t*>(sqlite3_aggregate_context(c, 0));
        sqlite3_result_int64(c, n != nullptr ? *n : 0);
    }
    static inline int zostalo_ = 0;
    static inline int kod_ = SQLITE_OK;
};

// Where the failure comes: the n-th write from the routine's start (Awaria_Zapisu), the
// n-th count of rows (Awaria_Liczenia), or the reads of pages from the moment the routine
// arms them (sqlite_fault::FailingFiles).
enum class Gdzie { Zapis, Liczenie, Strony };

// What must happen: the engine's failure for the code reaches the routine's caller, or
// the executor that met it asks about it and, unattended, its Abort ends the run with
// marker "0000".
enum class Skutek { Blad, Koniec };

// One trap: the tables its step needs, the routine, where its failure is injected, SQLite's
// result code that it comes with, and what must happen.
struct Pulapka {
    const char* nazwa;
    std::vector<std::string> baza;
    std::function<void(ClsKonwersje&)> krok;
    Gdzie gdzie;
    int ktory;
    int kod;
    Skutek skutek = Skutek::Blad;
};

// The tables of step 6.41: the units already known and the document lines they come
// from, one unit in the purchases.
std::vector<std::string> Baza_641(std::vector<std::string> dalej) {
    std::vector<std::string> b = {
        "create table PRODUKTY_WSP_PRZEL (prod_id long, Sp_Przel text(20), Wsp_Przel money)",
        "create unique index Podstawowy on PRODUKTY_WSP_PRZEL (prod_id, Sp_Przel) with primary",
        "create table DOK_ZAK_ZAWART (SUR_ID long, SP_PRZEL text(20), WSP_PRZEL money, Countt "
        "counter)",
        "create table DOK_PZ_ZAWART (PROD_ID long, SP_PRZEL text(20), WSP_PRZEL money, Countt "
        "counter)",
        "create table DOK_WZ_ZAWART (PROD_ID long, SP_PRZEL text(20), WSP_PRZEL money, Countt "
        "counter)",
        "insert into DOK_ZAK_ZAWART (SUR_ID, SP_PRZEL, WSP_PRZEL) values (7, 'kg', 2)"};
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

const std::vector<std::string> kBaza_T = {
    "create table T (a text(10))", "insert into T values ('x')", "insert into T values ('y')"};

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
         Gdzie::Zapis,
         2,
         SQLITE_FULL},
        // 2.20: the new production document of the report's day, after the work tables'
        // nine drops and nine creations, a delete and the copy of the report.
        {"2.20 production document of a day", kBaza_220, [](ClsKonwersje& k) { k.Konwersja_220(); },
         Gdzie::Zapis, 21, SQLITE_BUSY},
        // 2.61: the save of the first rounded record of the VAT register.
        {"2.61 rounded VAT record",
         {"create table tabela_vat (countt counter, id long, r_dok text(20), n22 money, vat22 "
          "money, n7 money, vat7 money, vat3 money, n3 money, nzw money, n0 money)",
          "insert into tabela_vat (id, n22) values (1, 1.005)",
          "insert into tabela_vat (id, n22) values (2, 2.005)"},
         [](ClsKonwersje& k) { k.Konwersja_261(); },
         Gdzie::Zapis,
         1,
         SQLITE_IOERR_WRITE},
        // 2.81: a Setup name without its prefix, saved by the pass that skips records.
        // (The step's closing save finds nothing pending: it writes nothing and meets no
        // failure.)
        {"2.81 Setup name without its prefix",
         {"create table [Setup] ([Nazwa] TEXT (255), [Wartosc] memo)",
          "insert into Setup (Nazwa) values ('ST1\\DRUKARKA')",
          "insert into Setup (Nazwa) values ('ST2\\KASA')"},
         [](ClsKonwersje& k) { k.Konwersja_281(); },
         Gdzie::Zapis,
         1,
         SQLITE_READONLY},
        // 6.41: the first unit's save, after the delete of the units.
        {"6.41 new unit", Baza_641({}), [](ClsKonwersje& k) { k.Konwersja_641(); }, Gdzie::Zapis, 2,
         SQLITE_FULL},
        // 6.41: the save of a unit under its extended name: its first save met a name
        // that the product uses for another factor.
        {"6.41 new unit under its extended name",
         Baza_641({"insert into DOK_PZ_ZAWART (PROD_ID, SP_PRZEL, WSP_PRZEL) values (7, 'kg', 3)"}),
         [](ClsKonwersje& k) { k.Konwersja_641(); }, Gdzie::Zapis, 4, SQLITE_CORRUPT},
        // 6.41: the count of a product's units found, for the second line of the source
        // from which a unit was added, inside the trap that passes over that line's
        // failures (the planner's count at the delete, the first line's count and the
        // planner's count at the second line's open come first). The opener counts inside
        // its own trap and asks.
        {"6.41 lookup of a unit",
         Baza_641(
             {"insert into DOK_ZAK_ZAWART (SUR_ID, SP_PRZEL, WSP_PRZEL) values (8, 'szt', 3)"}),
         [](ClsKonwersje& k) { k.Konwersja_641(); }, Gdzie::Liczenie, 4, SQLITE_IOERR_READ,
         Skutek::Koniec},
        // The pass that skips failed records, once it skips them: a record's save...
        {"Zapisz_Wiersze_Pomijajac save", kBaza_T,
         [](ClsKonwersje& k) {
             std::unique_ptr<ado::Recordset> rs;
             ASSERT_EQ(k.DbOtwórzSELKonwersje(rs, "a from T"), 2);
             bool pomijaj = true;
             kroki::Zapisz_Wiersze_Pomijajac(
                 *rs, pomijaj, [](ado::Recordset& r) { r.Fields(0) = jet::Value::text("z"); });
         },
         Gdzie::Zapis, 1, SQLITE_CANTOPEN},
        // ... and the move to the next record, which a keyset recordset reads: the first
        // record's change makes the reads of pages fail, as of a damaged file.
        {"Zapisz_Wiersze_Pomijajac move", kBaza_T,
         [](ClsKonwersje&) {
             std::unique_ptr<sqlite_fault::FailingFiles> strony;
             std::unique_ptr<ado::Recordset> rs;
             ASSERT_EQ(DbOtwórzSEL(rs, "a from T", kOtworzKeyset), 2);
             bool pomijaj = true;
             kroki::Zapisz_Wiersze_Pomijajac(*rs, pomijaj, [&strony](ado::Recordset&) {
                 strony = std::make_unique<sqlite_fault::FailingFiles>(
                     SQLITE_CORRUPT, polaczenie().database().session().handle());
             });
         },
         Gdzie::Strony, 1, SQLITE_CORRUPT},
    };
    for (const Pulapka& p : pulapki) {
        SCOPED_TRACE(p.nazwa);
        for (const std::string& s : p.baza) Sql(s);
        // The step starts from a committed database, as in a run.
        polaczenie().database().checkpoint();
        const jet::Error e = Blad_Sqlite(p.kod);
        {
            Awaria_Zapisu z(e, p.gdzie == Gdzie::Zapis ? 1 : 0, p.ktory - 1);
            Awaria_Liczenia l(p.gdzie == Gdzie::Liczenie ? p.ktory : 0, p.kod);
            // One step's unit of work, as the version loop runs it.
            jet::WorkUnit jednostka(polaczenie().database());
            const std::string r = Uruchom([&] { p.krok(k); });
            if (p.skutek == Skutek::Blad) {
                EXPECT_EQ(r, "error " + std::to_string(e.signed_number()) + " " + e.description());
                EXPECT_EQ(komunikaty.str(), "");
            } else {
                EXPECT_EQ(r.rfind("process end 1\n", 0), 0u) << r;
                EXPECT_NE(komunikaty.str().find(e.description()), std::string::npos) << r;
                EXPECT_EQ(Czytaj_Rejestr("dodralvex", 0), "0000");
            }
            EXPECT_EQ(z.zostalo() + l.zostalo(), 0);
        }
        // The next trap's step on a database of its own.
        TearDown();
        komunikaty.str("");
        SetUp();
    }
}

}  // namespace
}  // namespace kroki_test
