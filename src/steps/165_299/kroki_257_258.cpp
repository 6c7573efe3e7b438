// Steps 2.57 and 2.58: documents linked to the period row of their contractor's
// numbering scheme (after the numbering set-up has made the rows of every scheme for
// every date that occurs), and the last columns of the declaration tables.
#include <string>

#include "db/postep.h"
#include "driver/konwersje.h"
#include "jet/dates.h"
#include "jet/value.h"
#include "steps/165_299/wspolne.h"

using kroki::Rekordy;

namespace {

// A document kind of the linking: the kind the numbering set-up knows, its table, its
// date column and the condition that picks it out of the table.
struct Rodzaj_Dokumentu {
    const char* rodzaj;
    const char* tabela;
    const char* data;
    const char* warunek;
};

// In processing order. A kind without a condition of its own reads the documents of
// its table that the kind before it left unlinked.
constexpr Rodzaj_Dokumentu kRodzaje[] = {
    {"Sprzedaż_F_VAT_korekta", "K_FAKTUR", "fkorout_data_wyst", " AND [zakup] =0 "},
    {"Zakupy_korekta", "K_FAKTUR", "fkorout_data_wyst", " AND [zakup] =-1 "},
    {"Sprzedaż_F_VAT", "FAKTURY", "fakout_data_wyst", ""},
    {"Sprzedaż_F_VAT_zbiorcze", "FAKTURY", "fakout_data_wyst", ""},
    {"Paragon", "Paragon", "ddout_data_wyst", ""},
    {"Sprzedaż_ddost", "DOWODY_DOSTAW", "ddout_data_wyst", ""},
    {"Zakup_ddost", "DOWODY_DOSTAW", "ddout_data_wyst", ""},
    {"Sprzedaż_zwroty", "DOWODY_ZWROTU", "ddout_data_wyst", ""},
    {"Zakup_zwroty", "DOWODY_ZWROTU", "ddout_data_wyst", ""},
    {"Sprzedaż_detal", "Dok_Wewnentrzne", "ddout_data_wyst", " and [rodzdok]='R'"},
    {"Magazyn_PW", "Dok_Wewnentrzne", "ddout_data_wyst", " and [rodzdok]='P'"},
};

// A whole number of a field as a 32-bit integer; Null (a value the suite never left
// there, but an old database may hold) reads as 0, which leaves the document unlinked.
int32_t Liczba(const jet::Value& v) {
    return v.is_null() ? 0 : v.to_long();
}

}  // namespace

void ClsKonwersje::Konwersja_257() {
    for (const char* tabela : {"DOWODY_ZWROTU", "DOWODY_DOSTAW", "K_FAKTUR", "FAKTURY", "PARAGON",
                               "Dok_Wewnentrzne", "Produkcja"})
        DbWykonajKonwersje("alter table [" + std::string(tabela) +
                           "] ADD COLUMN [numer_dokumentu] text(100)");

    std::unique_ptr<ado::Recordset> rs;
    DbOtwórzSELKonwersje(rs, "tryb from sposob_numeracji");
    const bool bez_schematow = Rekordy(rs).Eof();
    ZamknijRSKonwersje(rs);
    if (bez_schematow) return;
    Numeracja_Miesieczna = Czytaj_SetupKonwersje("roczna") == "0";
    // A scheme or a driver without an id names nothing: the set-up makes no period rows
    // for it, and no document is linked through it.
    kroki::Loguj_Bez_Wskazania(*this, 257,
                               "schematy SPOSOB_NUMERACJI bez sm_id (nie mają okresów numeracji)",
                               "[SPOSOB_NUMERACJI] where [sm_id] is null");
    kroki::Loguj_Bez_Wskazania(*this, 257,
                               "kierowcy S_KIEROWCY bez kier_id (nie mają okresów numeracji)",
                               "[S_KIEROWCY] where [kier_id] is null");

    // A scheme without a mode counts as yearly, and a period row without a driver as one
    // for no driver: the set-up and the lookups below then read them as they read 0.
    DbWykonajKonwersje("update [SPOSOB_NUMERACJI] set [tryb]=0 where [tryb] is null");
    DbWykonajKonwersje(
        "update [sposob_numeracji_zawart] set [kierowca_id]=0 where [kierowca_id] is null");
    // A document whose period is Null or names no period row has no period: it is linked
    // anew like one with 0.
    for (const char* tabela :
         {"K_FAKTUR", "FAKTURY", "Paragon", "DOWODY_DOSTAW", "DOWODY_ZWROTU", "Dok_Wewnentrzne"})
        DbWykonajKonwersje("update [" + std::string(tabela) +
                           "] AS D left join [sposob_numeracji_zawart] AS O on D.[smz_id]=O.[id] "
                           "set D.[smz_id]=0 where D.[smz_id]<>0 and O.[id] is null or "
                           "D.[smz_id] is null");

    std::unique_ptr<ado::Recordset> kontrahent;
    std::unique_ptr<ado::Recordset> schemat;
    std::unique_ptr<ado::Recordset> okres;
    for (const Rodzaj_Dokumentu& r : kRodzaje) {
        const std::string t = r.tabela;
        const std::string d = r.data;

        // The counter rows of every scheme, once for each date that occurs. A document
        // without a date has no period: it stays unlinked.
        const std::string z_data = " AND " + d + " Is Not Null ";
        DbOtwórzSELKonwersje(rs, "DISTINCT " + d + " FROM " + t + " WHERE smz_id=0 " + r.warunek +
                                     z_data + " ORDER BY " + d);
        while (!Rekordy(rs).Eof()) {
            double data = rs->Fields(0).value().to_date();
            Inicjuj_Numeracje_Dokumentow(r.rodzaj, data);
            Pokaz_Postep("", "", "Dok:" + t + " " + jet::Value::date(data).to_text());
            rs->MoveNext();
        }
        ZamknijRSKonwersje(rs);

        // Each document with a driver whose contractor has a scheme takes the period row
        // of that scheme (and of its driver, for a scheme per driver) for its date.
        DbOtwórzSELKonwersje(rs, d + ",kier_id,smz_id,KONH_ID FROM " + t + " WHERE smz_id=0  " +
                                     r.warunek + z_data + "  ORDER BY " + d);
        while (!Rekordy(rs).Eof()) {
            const double data = rs->Fields(0).value().to_date();
            const int32_t kier = Liczba(rs->Fields(1).value());
            Pokaz_Postep(
                "", "",
                "Dok:" + t + " " + jet::Value::date(data).to_text() + " " + std::to_string(kier));
            const jet::Value konh_id = rs->Fields(3).value();
            if (kier == 0 || konh_id.is_null()) {
                rs->MoveNext();
                continue;
            }
            int32_t sm = 0;
            if (DbOtwórzSELKonwersje(kontrahent, "sm_id,kier_id from kontrahenci where konh_id=" +
                                                     konh_id.to_text()) > 0)
                sm = Liczba(kontrahent->Fields(0).value());
            ZamknijRSKonwersje(kontrahent);
            if (sm == 0) {
                rs->MoveNext();
                continue;
            }

            // The scheme's mode and driver flag, ordered by themselves: until 2.72 makes
            // sm_id the key, one id may be held twice, and rows of one id that differ
            // read the same each run (those that agree give one value in any order).
            int32_t wynik = -1;
            if (DbOtwórzSELKonwersje(schemat, "tryb,rob_kier from sposob_numeracji where sm_id =" +
                                                  std::to_string(sm) + " order by tryb,rob_kier") >
                0) {
                const jet::Value rob_kier = schemat->Fields(1).value();
                const bool na_kierowce = rob_kier.is_null() || rob_kier.to_bool();
                const jet::Value tryb = schemat->Fields(0).value();
                const auto dzien = jet::dates::from_serial(data);
                const std::string rok = std::to_string(dzien.year);
                const std::string miesiac = std::to_string(dzien.month);
                const std::string sm_t = std::to_string(sm);
                const std::string kier_t = std::to_string(kier);
                std::string tekst;
                switch (tryb.is_null() ? -1 : tryb.to_long()) {
                    case 0:
                        tekst = "id  from sposob_numeracji_zawart where sm_id=" + sm_t +
                                " and rok='" + rok + "'";
                        if (na_kierowce) tekst += "  and kierowca_id=" + kier_t;
                        break;
                    case 1:
                        tekst = "id  from sposob_numeracji_zawart where sm_id=" + sm_t +
                                " and rok='" + rok + "'  and miesiac='" + miesiac + "'";
                        tekst += na_kierowce ? " and kierowca_id=" + kier_t : " ";
                        break;
                    case 2:
                        tekst = "id  from sposob_numeracji_zawart where sm_id=" + sm_t;
                        if (na_kierowce) tekst += " and kierowca_id=" + kier_t;
                        break;
                    default:
                        break;  // no period lookup: the document stays unlinked
                }
                // Of several period rows that fit, the first made (the lowest id).
                if (!tekst.empty()) wynik = DbOtwórzSELKonwersje(okres, tekst + " order by id");
            }
            ZamknijRSKonwersje(schemat);
            if (wynik > 0) {
                rs->Fields(2) = okres->Fields(0).value();
                rs->UpdateBatch(ado::adAffectAll);
            }
            ZamknijRSKonwersje(okres);
            rs->MoveNext();
        }
        ZamknijRSKonwersje(rs);
    }
}

void ClsKonwersje::Konwersja_258() {
    kroki::Utworz_Tabele_Deklaracji(*this);
    DbWykonajKonwersje("alter TABLE [Deklaracje] ADD COLUMN [nr] long");
    DbWykonajKonwersje("alter TABLE [Deklaracje_Zawart] ADD COLUMN [wartosc2] long");
    DbWykonajKonwersje("alter TABLE [Deklaracje_Zawart] ADD COLUMN [Countt] Counter");
}
