// Steps 2.63 to 2.68: a cash-account number for contractors, the opening user and the
// balance of cash reports, per-line copies of the products' accounting flags on
// purchase, sales-correction and return-note lines, report groups of products, and the
// declarations' year and month turned into one date.
#include <array>
#include <cstdio>
#include <memory>
#include <string>

#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "jet/dates.h"
#include "jet/error.h"
#include "steps/165_299/wspolne.h"

using kroki::Rekordy;

namespace {

// A per-line flag column: its name and type text, and the product column that fills it.
struct Flaga {
    const char* kolumna;
    const char* typ;
    const char* zrodlo;
};

// In the order in which the columns are added.
constexpr std::array<Flaga, 7> kFlagi = {{
    {"kosztpojazdu_Z", "logical", "kosztpojazdu"},
    {"OdliczVAT_Z", "logical", "OdliczVAT"},
    {"Id_Poj", "long", "Id_Poj_Domyslny"},
    {"Koszt_RiR_Z", "logical", "Koszt_RiR"},
    {"koszt_uz_Z", "logical", "koszt_uz"},
    {"koszt_sz_Z", "logical", "koszt_sz"},
    {"Vat_Termin_Platnosci_Z", "logical", "Vat_Termin_Platnosci"},
}};

// The order of the fill statements: the two cost kinds change places.
constexpr std::array<int, 7> kKolejnoscWypelniania = {0, 1, 2, 3, 5, 4, 6};

// A line table that carries the flags: its name in the add-column and set parts, its
// name in the join, and the column holding the line's product.
struct Linie {
    const char* tabela;
    const char* w_zlaczeniu;
    const char* produkt;
};

constexpr Linie kZakupy = {"Zakupy_zawart", "zakupy_zawart", "sur_id"};
constexpr Linie kKorekty = {"k_faktur_zawart", "k_faktur_zawart", "PROD_ID"};
constexpr Linie kZwroty = {"dowody_zwrotu_zawart", "dowody_zwrotu_zawart", "PROD_ID"};

// The seven flag columns added to the line table.
void Dodaj_Flagi(ClsKonwersje& k, const Linie& l) {
    for (const Flaga& f : kFlagi)
        k.DbWykonajKonwersje(std::string("alter table [") + l.tabela + "] " + "ADD COLUMN" + " [" +
                             f.kolumna + "] " + f.typ);
}

// The seven flags of each line copied from its product; a line whose product does not
// exist, or gives no value of a flag, keeps what it has.
void Wypelnij_Flagi(ClsKonwersje& k, const Linie& l) {
    for (int i : kKolejnoscWypelniania) {
        const Flaga& f = kFlagi[static_cast<size_t>(i)];
        k.DbWykonajKonwersje(
            std::string("update [") + l.w_zlaczeniu + "] inner join [PRODUKTY] on [" +
            l.w_zlaczeniu + "].[" + l.produkt + "]=[PRODUKTY].[prod_id] set [" + l.tabela + "].[" +
            f.kolumna + "]=" +
            kroki::Kopia_Bez_Nulla(std::string("[") + l.tabela + "].[" + f.kolumna + "]",
                                   std::string("[PRODUKTY].[") + f.zrodlo + "]"));
    }
}

}  // namespace

void ClsKonwersje::Konwersja_263() {
    DbWykonajKonwersje("alter table [kontrahenci] ADD COLUMN [nr_konta_kasowego] text(50)");
}

void ClsKonwersje::Konwersja_264() {
    DbWykonajKonwersje("alter table [RAPORT_KASOWY] ADD COLUMN [OPEN_BY] text(50)");
    DbWykonajKonwersje("alter table [RAPORT_KASOWY] ADD COLUMN [SALDO] MONEY");
}

void ClsKonwersje::Konwersja_265() {
    Zmien_Typ_Pola("Podpis", "text (50)", "Kontrahenci");
    Usun_Pole("PRODUKTY", "prod_wl");
    Usun_Pole("PRODUKTY", "r_licz");
    Usun_Pole("PRODUKTY", "nawazka");
    Usun_Pole("zakupy_zawart", "auto");
    Dodaj_Flagi(*this, kZakupy);
    Wypelnij_Flagi(*this, kZakupy);
}

void ClsKonwersje::Konwersja_266() {
    DbWykonajKonwersje("alter table PRODUKTY ADD COLUMN [Grupa_w_zestawieniu] text (50)");
    DbWykonajKonwersje("UPDATE [PRODUKTY] set [Grupa_w_zestawieniu]=[grupa]");
    DbWykonajKonwersje("alter table PRODUKTY ADD COLUMN [Nie_pokazuj_w_zestawieniu] logical");
}

void ClsKonwersje::Konwersja_267() {
    Usun_Pole("PRODUKTY", "sur_id");
    DbWykonajKonwersje("alter table [DEKLARACJE] ADD COLUMN [Data] date");

    std::unique_ptr<ado::Recordset> rs;
    DbOtwórzSELKonwersje(rs, "Rok,Miesiac,Data FROM [DEKLARACJE]");
    while (!Rekordy(rs).Eof()) {
        // The first day of the declaration's month, "01-" & Miesiac & "-" & Rok read day
        // first. A declaration without its year or month has no date: its Data stays
        // empty. A month outside 1 to 12, or a year that makes no date, leaves it empty
        // too, the declaration named in the Log with its year and month (they go at 2.68).
        const jet::Value rok = rs->Fields(0).value();
        const jet::Value miesiac = rs->Fields(1).value();
        if (rok.is_null() || miesiac.is_null()) {
            rs->MoveNext();
            continue;
        }
        bool zapisana = false;
        try {
            const int m = miesiac.to_long();
            const auto data = jet::dates::parse("01-" + NzStr(miesiac) + "-" + NzStr(rok));
            if (m >= 1 && m <= 12 && data) {
                const jet::dates::Parts d = jet::dates::from_serial(*data);
                char tekst[16];
                std::snprintf(tekst, sizeof tekst, "%02d-%02d-%04d", d.day, d.month, d.year);
                rs->Fields(2) = jet::Value::text(tekst);
                rs->UpdateBatch();
                zapisana = true;
            }
        } catch (const jet::Error& e) {
            // A month that is no number, or a year that the date column refuses, makes no
            // date either.
            if (e.fault() != jet::Fault::TypeMismatch && e.fault() != jet::Fault::Overflow) throw;
            rs->CancelUpdate();
        }
        if (!zapisana)
            Zapisz_Log_Kroku("Konwersja 2.67: DEKLARACJE Rok = " + NzStr(rok) + ", Miesiac = " +
                                 NzStr(miesiac) + ": bez daty (rok i miesiąc nie dają daty)",
                             "Konwersja", "2.67");
        rs->MoveNext();
    }
    ZamknijRSKonwersje(rs);
}

void ClsKonwersje::Konwersja_268() {
    Usun_Pole("DEKLARACJE", "Rok");
    Usun_Pole("DEKLARACJE", "Miesiac");
    Usun_Pole("DEKLARACJE", "KOREKTA");
    Wypelnij_Flagi(*this, kZakupy);
    for (const Linie& l : {kKorekty, kZwroty}) {
        Dodaj_Flagi(*this, l);
        Wypelnij_Flagi(*this, l);
    }
}
