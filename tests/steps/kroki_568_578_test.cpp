// Steps 5.68 to 5.78 on a database of version 5.67: prices before discount and price
// discounts, the period of advances, and the merge of repeated sales-invoice lines.
#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

#include "jet/rowaccess.h"
#include "jet/session.h"
#include "steps/baza_kroku.h"

namespace kroki_test {
namespace {

class Kroki568 : public BazaKroku {
  protected:
    void SetUp() override {
        Otworz(5.67);
        Sql("create table DOK_FAK_ZAWART (COUNTT counter, FAKOUT_ID long, PROD_ID long, "
            "ZFAKOUT_CENA_N money, ZFAKOUT_ILOSC single, Ilosc_Na_Magazyn single)");
        for (const char* t : {"DOK_DD_ZAWART", "DOK_DZ_ZAWART"})
            Sql(std::string("create table ") + t + " (id long, ZDDOUT_CENA_N money)");
        Sql("create table KADRY_ZAS (countt counter, ID_PRAC long, data datetime)");
        Sql("create table PLACE_OPISY (POLE long, OPIS text(50), SKR text(20))");
        Sql("create table PLACE_LISTY_ZAWART (IDListy long)");
        Sql("create table Kontrahenci (konh_id long)");
        Sql("create table PLACE_ZESTAWIENIA (id long)");
    }
    void Kroki(int od, int do_) {
        for (const auto& [v, m] : Zbudowane_Kroki()) {
            if (v >= od && v <= do_) {
                ASSERT_EQ(Krok(m), "") << v;
            }
        }
    }
    static void Linia(int countt, int faktura, const std::string& produkt, const std::string& cena,
                      double ilosc) {
        Linia(std::to_string(countt) + ", " + std::to_string(faktura) + ", " + produkt + ", " +
              cena + ", " + std::to_string(ilosc) + ", " + std::to_string(ilosc * 2));
    }
    // A line from its values: COUNTT, FAKOUT_ID, PROD_ID, ZFAKOUT_CENA_N, ZFAKOUT_ILOSC,
    // Ilosc_Na_Magazyn.
    static void Linia(const std::string& wartosci) {
        Sql("insert into DOK_FAK_ZAWART (COUNTT, FAKOUT_ID, PROD_ID, ZFAKOUT_CENA_N, "
            "ZFAKOUT_ILOSC, Ilosc_Na_Magazyn) values (" +
            wartosci + ")");
    }

    // Invoice lines of every kind the merge tells apart, over a database of version 5.77.
    void Linie_Do_Scalenia() {
        Kroki(568, 577);
        // COUNTT, FAKOUT_ID, PROD_ID, ZFAKOUT_CENA_N, ZFAKOUT_ILOSC, Ilosc_Na_Magazyn
        const std::vector<std::vector<const char*>> linie = {
            {"200", "1", "7", "10", "2", "4"},   // two lines: 202 takes 200's quantities
            {"201", "1", "5", "2", "0.1", "1"},  // three lines, between the others
            {"202", "1", "7", "10", "3", "6"},
            {"203", "1", "5", "2", "0.2", "2"},
            {"204", "1", "5", "2", "0.3", "4"},
            {"205", "2", "7", "10", "Null", "1"},  // a line without a quantity adds none
            {"206", "2", "7", "10", "1", "1"},
            {"207", "2", "7", "10", "2", "Null"},
            {"208", "2", "8", "10", "1", "1"},  // another discount
            {"209", "2", "8", "10", "1", "1"},
            {"210", "Null", "7", "10", "1", "1"},  // no invoice, no price: never repeated
            {"211", "Null", "7", "10", "1", "1"},
            {"212", "3", "9", "Null", "1", "1"},
            {"213", "3", "9", "Null", "1", "1"},
            {"214", "3", "0", "10", "1", "1"},  // no product: left alone
            {"215", "3", "0", "10", "1", "1"},
            {"216", "3", "7", "10", "1", "1"},  // alone
        };
        for (const auto& l : linie) {
            std::string w;
            for (const char* v : l) w += (w.empty() ? "" : ", ") + std::string(v);
            Linia(w);
        }
        Sql("update DOK_FAK_ZAWART set RABAT_CEN=Null, CENA_B_RABATU=Null");
        Sql("update DOK_FAK_ZAWART set RABAT_CEN=1 where COUNTT=208");
        Sql("insert into DOK_DD_ZAWART (id, ZDDOUT_CENA_N) values (1, 4)");  // another table
        Sql("insert into DOK_DD_ZAWART (id, ZDDOUT_CENA_N) values (1, 4)");
    }
    // Everything the merge may change: the invoice lines, the other table's lines and the
    // tables of the database.
    Wiersze Stan() {
        Wiersze w = Wiersze_Z("select * from DOK_FAK_ZAWART order by COUNTT");
        for (const auto& r : Wiersze_Z("select * from DOK_DD_ZAWART")) w.push_back(r);
        w.emplace_back();
        for (const jet::TableInfo* t : polaczenie().database().catalog().tables())
            w.back().push_back(t->name);
        return w;
    }
};

// Stops a run at the engine's n-th write: that statement fails before it changes
// anything, and the executor's question gets its safe answer, Abort, which keeps what
// the run wrote and ends the process. The engine calls its before-write hook at the
// start of each statement (more than once for a statement that nests schema changes: a
// stop there still fails the whole statement); the hook is set again at each SQLite
// statement that follows, so that every write is counted.
class Zatrzymanie {
  public:
    explicit Zatrzymanie(int n) : n_(n), baza_(polaczenie().database()) {
        sqlite3_trace_v2(baza_.session().handle(), SQLITE_TRACE_STMT, &Zatrzymanie::Slad, this);
        Uzbroj();
    }
    ~Zatrzymanie() {
        if (zatrzymany_) return;  // the end of the process closed the database
        sqlite3_trace_v2(baza_.session().handle(), 0, nullptr, nullptr);
        if (uzbrojony_) jet::cancel_before_write(baza_, klucz_);
    }
    Zatrzymanie(const Zatrzymanie&) = delete;
    Zatrzymanie& operator=(const Zatrzymanie&) = delete;

  private:
    void Uzbroj() {
        uzbrojony_ = true;
        klucz_ = jet::before_next_write(baza_, [this] { Zapis(); });
    }
    void Zapis() {
        uzbrojony_ = false;
        if (++zapisy_ < n_) return;
        zatrzymany_ = true;
        sqlite3_trace_v2(baza_.session().handle(), 0, nullptr, nullptr);
        throw jet::Error(jet::hr::TypeMismatch, "zatrzymanie");
    }
    static int Slad(unsigned, void* z, void*, void*) {
        auto* t = static_cast<Zatrzymanie*>(z);
        if (!t->uzbrojony_) t->Uzbroj();
        return 0;
    }

    int n_;
    int zapisy_ = 0;
    bool uzbrojony_ = false;
    bool zatrzymany_ = false;
    uint64_t klucz_ = 0;
    jet::Database& baza_;
};

TEST_F(Kroki568, DiscountColumnsAreCompletedOnlyWhereEmpty) {
    Sql("insert into DOK_DD_ZAWART values (1, 4)");
    Sql("insert into DOK_DZ_ZAWART values (1, 6)");
    Kroki(568, 572);
    Linia(1, 1, "7", "10", 1);  // added after 5.68: no price before discount yet
    Sql("update DOK_DD_ZAWART set CENA_B_RABATU=9, RABAT_CEN=Null");
    Sql("update DOK_DZ_ZAWART set CENA_B_RABATU=Null, RABAT_CEN=2");
    Kroki(573, 577);
    EXPECT_EQ(Wiersze_Z("select CENA_B_RABATU, RABAT_CEN from DOK_FAK_ZAWART"),
              (Wiersze{{"10", "0"}}));
    EXPECT_EQ(Wiersze_Z("select CENA_B_RABATU, RABAT_CEN from DOK_DD_ZAWART"),
              (Wiersze{{"9", "0"}}));
    EXPECT_EQ(Wiersze_Z("select CENA_B_RABATU, RABAT_CEN from DOK_DZ_ZAWART"),
              (Wiersze{{"6", "2"}}));
    EXPECT_FALSE(Jest_Tabela("PLACE_ZESTAWIENIA"));
    for (const char* t : {"KONTRAHENCI_RABATY_CEN", "KADRY_INFO", "Dok_Mi"})
        EXPECT_TRUE(Jest_Tabela(t)) << t;
    EXPECT_TRUE(Czyta_Sie("select wartosc198, wartosc201 from PLACE_LISTY_ZAWART"));
    EXPECT_TRUE(
        Czyta_Sie("select Tryb_REAL, Cena_Poj, Dom_text_na_kp, Dom_text_na_kw from Kontrahenci"));
    EXPECT_EQ(Kolumna("select POLE from PLACE_OPISY order by POLE"),
              (std::vector<std::string>{"198", "199", "200", "201"}));
}

TEST_F(Kroki568, AdvancesTakeTheirDateAsTheirPeriod) {
    Sql("insert into KADRY_ZAS (ID_PRAC, data) values (1, #03-15-2005#)");
    Kroki(569, 569);
    EXPECT_EQ(Wiersze_Z("select DataOd = data, DataDo = data from KADRY_ZAS"),
              (Wiersze{{"True", "True"}}));
    // An advance without a date gives no period, which the key cannot take: the step stops.
    Sql("drop index Podstawowy on KADRY_ZAS");
    Sql("insert into KADRY_ZAS (ID_PRAC, data) values (1, Null)");
    EXPECT_NE(Krok(Zbudowane_Kroki().at(569))
                  .find("Wiersze: ID_PRAC = 1, DataOd = Null, countt = 2. Klucza"),
              std::string::npos);
}

TEST_F(Kroki568, RepeatedInvoiceLinesMergeIntoTheLatest) {
    Kroki(568, 577);
    Linia(100, 1, "7", "10", 2);
    Linia(101, 1, "7", "10", 3);  // takes 100's quantities
    Linia(102, 1, "8", "10", 1);
    Linia(103, 1, "8", "10", 4);
    Sql("update DOK_FAK_ZAWART set RABAT_CEN=1 where COUNTT=103");  // another discount
    Linia(104, 2, "7", "10", 5);                                    // another invoice
    Linia(105, 1, "9", "Null", 1);                                  // no price: never matches
    Linia(106, 1, "9", "Null", 1);
    Linia(107, 3, "5", "2", 1);  // three lines of one group: all go into the latest
    Linia(108, 3, "5", "2", 2);
    Linia(109, 3, "5", "2", 4);
    Sql("update DOK_FAK_ZAWART set RABAT_CEN=Null, CENA_B_RABATU=Null where COUNTT<>103");
    Kroki(578, 578);
    EXPECT_EQ(Wiersze_Z("select COUNTT, ZFAKOUT_ILOSC, Ilosc_Na_Magazyn, RABAT_CEN, CENA_B_RABATU "
                        "from DOK_FAK_ZAWART order by COUNTT"),
              (Wiersze{{"101", "5", "10", "0", "10"},
                       {"102", "1", "2", "0", "10"},
                       {"103", "4", "8", "1", "10"},
                       {"104", "5", "10", "0", "10"},
                       {"105", "1", "2", "0", "0"},  // no price: none before the discount
                       {"106", "1", "2", "0", "0"},
                       {"109", "7", "14", "0", "2"}}));
    // A repeated run over marked lines left by a stopped run deletes them first.
    Sql("update DOK_FAK_ZAWART set PROD_ID=-PROD_ID where COUNTT=102");
    Kroki(578, 578);
    EXPECT_EQ(Kolumna("select ZFAKOUT_ILOSC from DOK_FAK_ZAWART where PROD_ID=8"),
              (std::vector<std::string>{"4"}));
}

TEST_F(Kroki568, RepeatedLinesMergeByTheirKeysAndTotals) {
    Linie_Do_Scalenia();
    Kroki(578, 578);
    EXPECT_EQ(Wiersze_Z("select COUNTT, PROD_ID, ZFAKOUT_ILOSC, Ilosc_Na_Magazyn from "
                        "DOK_FAK_ZAWART order by COUNTT"),
              (Wiersze{{"202", "7", "5", "10"},
                       {"204", "5", "0,6", "7"},
                       {"207", "7", "3", "2"},
                       {"208", "8", "1", "1"},
                       {"209", "8", "1", "1"},
                       {"210", "7", "1", "1"},
                       {"211", "7", "1", "1"},
                       {"212", "9", "1", "1"},
                       {"213", "9", "1", "1"},
                       {"214", "0", "1", "1"},
                       {"215", "0", "1", "1"},
                       {"216", "7", "1", "1"}}));
    EXPECT_EQ(Kolumna("select count(*) from DOK_DD_ZAWART"), (std::vector<std::string>{"2"}));
}

// A run stopped at any of its statements keeps what it wrote; the repeated step then
// ends with the database of an uninterrupted run: no quantity lost or counted twice, no
// work table left. The last case stops nowhere and is repeated whole, as after a stop
// during the final wait.
TEST_F(Kroki568, MergeStoppedAtAnyStatementIsCompletedByTheRerun) {
    Linie_Do_Scalenia();
    Kroki(578, 578);
    const Wiersze wzor = Stan();
    int zatrzymania = 0;
    for (int n = 1;; ++n) {
        SCOPED_TRACE("stopped at write " + std::to_string(n));
        TearDown();
        SetUp();
        Linie_Do_Scalenia();
        std::string wynik;
        {
            Zatrzymanie z(n);
            wynik = Krok(&ClsKonwersje::Konwersja_578);
        }
        if (!wynik.empty()) {
            ASSERT_EQ(wynik.rfind("process end", 0), 0u) << wynik;
            ++zatrzymania;
            DbOtwórz();
            ASSERT_NE(Baza_Otwarta, 0);
        }
        Kroki(578, 578);
        EXPECT_EQ(Stan(), wzor);
        if (wynik.empty()) break;
    }
    EXPECT_GE(zatrzymania, 8);  // every statement that writes
}

}  // namespace
}  // namespace kroki_test
