// Step 5.58: codes of 25 characters for account segments, contractors' short names and
// codes and product codes; the last three made unique and indexed uniquely, and the
// contractors numbered 1 to N.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/otworz.h"
#include "db/schemat.h"
#include "driver/konwersje.h"
#include "jet/functions.h"
#include "jet/text.h"
#include "steps/165_299/wspolne.h"

namespace {

constexpr const char* kTypKodu = "Text (25) default ''";
constexpr size_t kDlugoscKodu = 25;

// A code column and the key of its table, as the step's own statements name them.
struct Kolumna_Kodu {
    std::string tabela, klucz, pole;
};

// The start of a log line about a row's code: table, column, the row's key, old value.
std::string Opis_Wiersza(const Kolumna_Kodu& kol, const std::string& klucz,
                         const std::string& wartosc) {
    return kol.tabela + "." + kol.pole + " " + klucz + ": '" + wartosc + "'";
}

// Values longer than the new 25 characters are cut to them before the column is
// retyped: the copy back into the narrower column would otherwise fail and stop the
// conversion at this step on every run. Each cut value is logged with its row's key;
// equal values that the cut makes are then made unique like any other. A column that does
// not read is in the middle of its change, which an earlier run began once it had cut the
// values: they wait in the temporary column, cut already.
void Przytnij_Do_Kodu(ClsKonwersje& k, const Kolumna_Kodu& kol) {
    if (!k.Jest_Tabela(kol.tabela, kol.pole)) return;
    std::unique_ptr<ado::Recordset> rs;
    const std::string warunek = " from " + kol.tabela + " where len(" + kol.pole + ")>25";
    if (k.DbOtwórzSELKonwersje(rs, kol.klucz + "," + kol.pole + warunek) < 1) {
        ZamknijRS(rs);
        return;
    }
    for (; !rs->Eof(); rs->MoveNext())
        Zapisz_Log_Kroku(
            Opis_Wiersza(kol, NzStr(rs->Fields(0).value()), NzStr(rs->Fields(1).value())) +
                " skrócono do 25 znaków",
            "Konwersja", "Naprawa kodu");
    ZamknijRS(rs);
    k.DbWykonajKonwersje("update " + kol.tabela + " set " + kol.pole + "=left(" + kol.pole +
                         ",25) where len(" + kol.pole + ")>25");
}

// The values of a code column, folded as the engine and the unique index compare them.
// A read whose failure was ignored gives none.
std::unordered_set<std::string> Wartosci_Kolumny(ClsKonwersje& k, const Kolumna_Kodu& kol) {
    std::unique_ptr<ado::Recordset> rs;
    std::unordered_set<std::string> wartosci;
    if (k.DbOtwórzSELKonwersje(rs, kol.pole + " from " + kol.tabela) > 0)
        for (; !rs->Eof(); rs->MoveNext())
            wartosci.insert(jet::text::fold(NzStr(rs->Fields(0).value())));
    ZamknijRS(rs);
    return wartosci;
}

// The key of the row that holds wartosc, a value that only one row holds ("" when none
// does); the lowest key, should the engine's comparison find two.
std::string Klucz_Wiersza(ClsKonwersje& k, const Kolumna_Kodu& kol, const std::string& wartosc) {
    std::unique_ptr<ado::Recordset> rs;
    std::string klucz;
    if (k.DbOtwórzSELKonwersje(rs, kol.klucz + " from " + kol.tabela + " where " + kol.pole + "='" +
                                       kroki::W_Apostrofach(wartosc) + "' order by " + kol.klucz) >
        0)
        klucz = NzStr(rs->Fields(0).value());
    ZamknijRS(rs);
    return klucz;
}

// A value of a row's own for a duplicate: the start of baza followed by a number from od
// upward, baza cut first so that the number fits within the code's 25 characters; the
// first such value whose folded form is not in zajete is taken and added to it.
std::string Wolna_Wartosc(const std::string& baza, int64_t od,
                          std::unordered_set<std::string>& zajete) {
    for (int64_t n = od;; ++n) {
        const std::string numer = std::to_string(n);
        const std::string nowa = jet::text::with_suffix(baza, numer, kDlugoscKodu);
        if (zajete.insert(jet::text::fold(nowa)).second) return nowa;
    }
}

// Logs a duplicate given a value of its own in place of the one the numbering would have
// given (longer than the column or another row's value).
void Zapisz_Zmiane(const Kolumna_Kodu& kol, const std::string& klucz, const std::string& stara,
                   const std::string& nowa) {
    Zapisz_Log_Kroku(Opis_Wiersza(kol, klucz, stara) + " zmieniono na '" + nowa + "'", "Konwersja",
                     "Naprawa kodu");
}

// Logs duplicates that the repeated passes did not remove; the unique index that follows
// then stops the conversion with the engine's message.
void Zapisz_Pozostale(const Kolumna_Kodu& kol, int32_t przebiegi) {
    Zapisz_Log_Kroku(kol.tabela + "." + kol.pole + ": powtórzenia pozostały po " +
                         std::to_string(przebiegi) + " przebiegach",
                     "Konwersja", "Naprawa kodu");
}

// The walk that makes the values of a contractor column unique (see Konwersja_558):
// passes over the duplicates in value order (the rows of one value by their ids, as lista
// orders them) until a pass changes nothing. A numbered value that a row already holds
// (the row itself too, when the number put in front and the cut give the value back) is
// replaced by a value of the row's own, so that every change takes a row out of the
// duplicates for good: the passes that change something are then at most as many as the
// first pass's rows, and a walk that goes beyond that stops with a logged error instead
// of running on. The values held are read at the start of each pass and the pass adds
// those it writes; a value that a change frees counts as held until the next pass (the
// walk's rows do not say which row they are).
void Unikalne_Wartosci(ClsKonwersje& k, const std::string& lista, const Kolumna_Kodu& kol,
                       bool krotka, int32_t& licznik) {
    std::unique_ptr<ado::Recordset> rs;
    int32_t limit = -1;
    for (int32_t przebiegi = 1;; ++przebiegi) {
        const int32_t wiersze = k.DbOtwórzSELKonwersje(rs, lista);
        if (limit < 0) limit = wiersze;
        ado::Recordset& r = kroki::Rekordy(rs);
        std::unordered_set<std::string> zajete;
        if (!r.Eof()) zajete = Wartosci_Kolumny(k, kol);
        std::string poprzedni;
        int32_t zmiany = 0;
        for (; !r.Eof(); r.MoveNext()) {
            const std::string stara = NzStr(r.Fields(0).value());
            const std::string wartosc = std::string(jet::fn::trim_view(stara));
            const std::string klucz = jet::text::upper(wartosc);
            if (klucz != poprzedni) {
                poprzedni = klucz;
            } else {
                const int32_t numer = krotka ? licznik : zmiany;
                const std::string przyrostek = std::to_string(numer);
                const std::string& baza = krotka ? klucz : wartosc;
                std::string nowa = wartosc + przyrostek;
                if (jet::text::length(nowa) > kDlugoscKodu) {
                    nowa = przyrostek + baza;
                    nowa.resize(jet::text::offset_of_char(nowa, kDlugoscKodu));
                }
                const bool wlasna = !zajete.insert(jet::text::fold(nowa)).second;
                if (wlasna) nowa = Wolna_Wartosc(baza, numer, zajete);
                r.Fields(0) = jet::Value::text(nowa);
                r.UpdateBatch(ado::adAffectCurrent);
                if (wlasna) Zapisz_Zmiane(kol, Klucz_Wiersza(k, kol, nowa), stara, nowa);
                ++zmiany;
            }
            ++licznik;
        }
        if (zmiany == 0) break;
        ZamknijRS(rs);
        if (przebiegi > limit) {
            Zapisz_Pozostale(kol, przebiegi);
            return;
        }
        k.CzekajKonwersje(3);
    }
    ZamknijRS(rs);
}

// Prepares the mend that appends "1" to the higher-keyed of two rows with equal codes,
// once for every lower-keyed row with the same code (so that of three equal codes X the
// second becomes X1 and the third X11). A row whose appended value would be longer than
// the column, or equal a value that a row holds or that another row would get, is given
// a value of its own at once (its code cut so that a number from 1 fits, see
// Wolna_Wartosc) and logged; the mend then changes only rows whose appended values fit
// and are unique. Repeated until no such row is left (a row given a value of its own
// changes what the mend gives the rows above it); each repetition takes a row out of the
// duplicates, so repetitions beyond the first list's rows stop with a logged error (the
// unique index that follows then stops the conversion).
void Przed_Dopisaniem_Jedynki(ClsKonwersje& k, const Kolumna_Kodu& kol) {
    const std::string lista = "k1." + kol.klucz + ",k1." + kol.pole + " from " + kol.tabela +
                              " as k1 inner join " + kol.tabela + " as k2 on k1." + kol.pole +
                              "=k2." + kol.pole + " where k1." + kol.klucz + ">k2." + kol.klucz +
                              " order by k1." + kol.klucz;
    struct Wiersz {
        std::string klucz, wartosc, po_dopisaniu;
        bool wlasna = false;  // gets a value of its own
    };
    int32_t limit = -1;
    for (int32_t przebiegi = 1;; ++przebiegi) {
        std::unique_ptr<ado::Recordset> rs;
        const int32_t n = k.DbOtwórzSELKonwersje(rs, lista);
        if (limit < 0) limit = n;
        std::vector<Wiersz> wiersze;
        for (ado::Recordset& r = kroki::Rekordy(rs); !r.Eof(); r.MoveNext()) {
            const std::string klucz = NzStr(r.Fields(0).value());
            if (!wiersze.empty() && wiersze.back().klucz == klucz) {
                wiersze.back().po_dopisaniu += "1";
            } else {
                const std::string wartosc = NzStr(r.Fields(1).value());
                wiersze.push_back({klucz, wartosc, wartosc + "1"});
            }
        }
        ZamknijRS(rs);
        if (wiersze.empty()) return;
        std::unordered_set<std::string> zajete = Wartosci_Kolumny(k, kol), wyniki, powtorzone;
        for (const Wiersz& w : wiersze)
            if (!wyniki.insert(jet::text::fold(w.po_dopisaniu)).second)
                powtorzone.insert(jet::text::fold(w.po_dopisaniu));
        for (Wiersz& w : wiersze) {
            const std::string wynik = jet::text::fold(w.po_dopisaniu);
            w.wlasna = jet::text::length(w.po_dopisaniu) > kDlugoscKodu ||
                       powtorzone.contains(wynik) || zajete.contains(wynik);
        }
        bool zmiana = false;
        for (const Wiersz& w : wiersze)
            if (!w.wlasna) zajete.insert(jet::text::fold(w.po_dopisaniu));
        for (const Wiersz& w : wiersze) {
            if (!w.wlasna) continue;
            const std::string nowa = Wolna_Wartosc(w.wartosc, 1, zajete);
            k.DbWykonajKonwersje("update " + kol.tabela + " set " + kol.pole + "='" +
                                 kroki::W_Apostrofach(nowa) + "' where " + kol.klucz + "=" +
                                 w.klucz);
            Zapisz_Zmiane(kol, w.klucz, w.wartosc, nowa);
            zmiana = true;
        }
        if (!zmiana) return;
        if (przebiegi > limit) {
            Zapisz_Pozostale(kol, przebiegi);
            return;
        }
    }
}

// An account (K1) of the same year and number as K, entered before it (a lower Countt).
constexpr const char* kTeSameKonto =
    "kh_konta as K1 on K1.ROK=K.ROK and K1.NR_K_1=K.NR_K_1 and K1.NR_K_2=K.NR_K_2 and "
    "K1.NR_K_3=K.NR_K_3 and K1.NR_K_4=K.NR_K_4 and K1.COUNTT<K.COUNTT";
// The table of the later copies of an account (pozne, its Countt) and of the first copy
// (pierwsze, the lowest Countt of that year and number), made and dropped by the step.
constexpr const char* kPierwszeKonta = "tmp_Konta_Pierwsze";

// The columns that hold an account's link to another account.
struct Powiazanie {
    const char* tabela;
    const char* kolumna;
};
constexpr Powiazanie kPowiazaniaKont[] = {
    {"KH_DEKRETY", "Countt_Konta"},         {"KH_DEKRETY", "Countt_Konta_Ojaca_1"},
    {"KH_DEKRETY", "Countt_Konta_Ojaca_2"}, {"KH_DEKRETY", "Countt_Konta_Ojaca_3"},
    {"KH_KONTA", "Countt_Konta_Ojaca_1"},   {"KH_KONTA", "Countt_Konta_Ojaca_2"},
    {"KH_KONTA", "Countt_Konta_Ojaca_3"},   {"KH_SCHEMATY_ZAWART", "Countt_Konta"},
};

// The set list that adds the figures of the later copy L to the first copy F: the
// turnovers and opening balances of every month that the chart has, a figure not given
// adding nothing.
std::string Dodaj_Kwoty_Kopii(ClsKonwersje& k) {
    std::string lista;
    for (const char* przedrostek : {"WN_", "MA_", "DZ_WN_", "DZ_MA_"})
        for (int m = 0; m <= 12; ++m) {
            const std::string c = przedrostek + std::string(m < 10 ? "0" : "") + std::to_string(m);
            if (!k.Jest_Tabela("KH_KONTA", c)) continue;
            lista += std::string(lista.empty() ? "" : ",") + "F." + c + "=IIf(L." + c +
                     " is null,F." + c + ",Nz(F." + c + ",0)+L." + c + ")";
        }
    return lista;
}

// Steps 4.59 and 4.62 linked the postings of an account that the chart holds twice for
// one year and number to its first copy, the lowest Countt. The later copies go, so that
// the accounts' key is made: first every link to one of them names the first copy, and
// the first copy takes their turnovers and opening balances (the later copies' postings
// are its postings now). An account without its year or a part of its number, which no
// fact completes, is left to the key, which then stops naming it.
void Scal_Powtorzone_Konta(ClsKonwersje& k) {
    if (k.Liczba_Z_Zapytania("count(*) from kh_konta as K inner join " +
                             std::string(kTeSameKonto)) <= 0)
        return;
    const std::string mapa = kPierwszeKonta;
    k.DbWykonajKonwersje("drop table " + mapa);
    k.DbWykonajKonwersje("create table " + mapa + " (pozne long primary key, pierwsze long)");
    k.DbWykonajKonwersje("insert into " + mapa +
                         " (pozne, pierwsze) select K.COUNTT, Min(K1.COUNTT) from kh_konta as K "
                         "inner join " +
                         kTeSameKonto + " group by K.COUNTT");
    // Each later copy is named, with the first copy that takes it.
    kroki::Loguj_Usuwane(k, 558, "powtórzone konta scalone z pierwszym (najniższy Countt)",
                         "kh_konta inner join " + mapa + " on kh_konta.COUNTT=" + mapa + ".pozne",
                         {"kh_konta.COUNTT", "kh_konta.ROK", "kh_konta.NR_K_1", "kh_konta.NR_K_2",
                          "kh_konta.NR_K_3", "kh_konta.NR_K_4", mapa + ".pierwsze"});
    for (const Powiazanie& p : kPowiazaniaKont) {
        if (!k.Jest_Tabela(p.tabela, p.kolumna)) continue;
        const std::string c = std::string(p.tabela) + "." + p.kolumna;
        k.DbWykonajKonwersje("update " + std::string(p.tabela) + " inner join " + mapa + " on " +
                             c + "=" + mapa + ".pozne set " + c + "=" + mapa + ".pierwsze");
    }
    const std::string kwoty = Dodaj_Kwoty_Kopii(k);
    if (!kwoty.empty()) {
        // A first copy of several later ones takes the figures of each once.
        const Zamierzony_Raport po_kopii{jet::reports::Kind::MultiPair};
        k.DbWykonajKonwersje("update (kh_konta as F inner join " + mapa + " on F.COUNTT=" + mapa +
                             ".pierwsze) inner join kh_konta as L on L.COUNTT=" + mapa +
                             ".pozne set " + kwoty);
    }
    k.DbWykonajKonwersje("delete kh_konta.* from kh_konta inner join " + mapa +
                         " on kh_konta.COUNTT=" + mapa + ".pozne");
    k.DbWykonajKonwersje("drop table " + mapa);
}

}  // namespace

void ClsKonwersje::Przenumeruj_Kontrahentow() {
    std::unique_ptr<ado::Recordset> rs;
    // Contractors of one old number, or of none, in the order of their ids.
    DbOtwórzSELKonwersje(rs, "[konh_numer] from [kontrahenci] order by [konh_numer],[konh_id]");
    ado::Recordset& r = kroki::Rekordy(rs);
    int32_t licznik = 0;
    for (; !r.Eof(); r.MoveNext()) r.Fields(0) = jet::Value::long_(++licznik);
    r.UpdateBatch();
    ZamknijRS(rs);
}

void ClsKonwersje::Konwersja_558() {
    const Kolumna_Kodu skrot{"kontrahenci", "konh_id", "KONH_NAZ_SKROT"};
    const Kolumna_Kodu kod{"kontrahenci", "konh_id", "Konh_kod"};
    const Kolumna_Kodu produkt{"produkty", "prod_id", "prod_kod"};
    int32_t licznik = 0;

    for (const char* indeks : {"Podstawowy", "NR_K_2", "NR_K_3", "NR_K_4"})
        Usun_Index(indeks, "KH_KONTA");
    for (const char* kol : {"NR_K_2", "NR_K_3", "NR_K_4"})
        Zmien_Typ_Pola(kol, kTypKodu, "kh_konta");
    Scal_Powtorzone_Konta(*this);
    Utworz_Klucz_Podstawowy("kh_konta", "ROK,NR_K_1,NR_K_2,NR_K_3,NR_K_4", 1);
    for (const char* kol : {"NR_K_2", "NR_K_3", "NR_K_4"}) Utworz_Index(kol, "kh_konta", kol, 1);

    Usun_Index("Cennik", "kontrahenci");
    Usun_Index("indKONH_NAZ_SKROT", "kontrahenci");
    Przytnij_Do_Kodu(*this, skrot);
    Zmien_Typ_Pola("KONH_NAZ_SKROT", kTypKodu, "kontrahenci");
    Utworz_Index("KONH_NAZ_SKROT", "kontrahenci", "KONH_NAZ_SKROT");
    {
        // A shared short name is written in capitals once per party that shares it: the
        // same value each time.
        const Zamierzony_Raport po_parze{jet::reports::Kind::MultiPair};
        DbWykonajUPDKonwersje("",
                              "kontrahenci as k1 inner join kontrahenci as k2 on "
                              "k1.KONH_NAZ_SKROT=k2.KONH_NAZ_SKROT",
                              "k1.KONH_NAZ_SKROT=ucase(k1.KONH_NAZ_SKROT)",
                              "k1.konh_id<>k2.konh_id");
    }
    Unikalne_Wartosci(*this,
                      "k1.[KONH_NAZ_SKROT] from kontrahenci as k1 inner join kontrahenci as k2 on "
                      "k1.KONH_NAZ_SKROT=k2.KONH_NAZ_SKROT where k1.konh_id<>k2.konh_id order by "
                      "k1.KONH_NAZ_SKROT,k1.konh_id",
                      skrot, true, licznik);
    Usun_Index("KONH_NAZ_SKROT", "kontrahenci");
    Utworz_Index_Unikalny("KONH_NAZ_SKROT", "kontrahenci", "KONH_NAZ_SKROT", 1);
    Utworz_Index("Cennik", "kontrahenci", "KONH_NAZ_SKROT,LCEN_NAZWA_ID,KONH_ID", 1);

    Przytnij_Do_Kodu(*this, kod);
    Zmien_Typ_Pola("Konh_kod", kTypKodu, "kontrahenci");
    Utworz_Index("Konh_kod", "kontrahenci", "Konh_kod");
    {
        // As the short names: the same capitals once per party that shares the code.
        const Zamierzony_Raport po_parze{jet::reports::Kind::MultiPair};
        DbWykonajUPDKonwersje(
            "", "kontrahenci as k1 inner join kontrahenci as k2 on k1.Konh_kod=k2.Konh_kod",
            "k1.Konh_kod=ucase(k1.Konh_kod)", "k1.konh_id<>k2.konh_id");
    }
    Unikalne_Wartosci(*this,
                      "k1.[Konh_kod] from kontrahenci as k1 inner join kontrahenci as k2 on "
                      "k1.Konh_kod=k2.Konh_kod  where k1.konh_id<>k2.konh_id order by k1.konh_kod,"
                      "k1.konh_id",
                      kod, false, licznik);
    Przed_Dopisaniem_Jedynki(*this, kod);
    {
        // A code that n parties share gets "1" once for each earlier party that has it,
        // which makes the codes unique.
        const Zamierzony_Raport po_parze{jet::reports::Kind::MultiPair};
        DbWykonajUPDKonwersje(
            "", "kontrahenci as k1 inner join kontrahenci as k2 on k1.Konh_kod=k2.Konh_kod",
            "k1.Konh_kod=k1.Konh_kod & '1' ", "k1.KONH_ID>k2.KONH_ID");
    }
    Usun_Index("Konh_kod", "kontrahenci");
    Utworz_Index_Unikalny("Konh_kod", "kontrahenci", "Konh_kod", 1);

    Przenumeruj_Kontrahentow();
    Utworz_Index_Unikalny("konh_numer", "kontrahenci", "konh_numer", 1);

    Usun_Index("prod_kod", "produkty");
    Przytnij_Do_Kodu(*this, produkt);
    Zmien_Typ_Pola("prod_kod", kTypKodu, "produkty");
    Utworz_Index("prod_kod", "produkty", "prod_kod");
    Przed_Dopisaniem_Jedynki(*this, produkt);
    {
        // As the parties' codes: "1" once for each earlier product of the code.
        const Zamierzony_Raport po_parze{jet::reports::Kind::MultiPair};
        DbWykonajUPDKonwersje("",
                              "produkty as k1 inner join produkty as k2 on k1.prod_kod=k2.prod_kod",
                              "k1.prod_kod=k1.prod_kod & '1' ", "k1.prod_id>k2.prod_id");
    }
    Usun_Index("prod_kod", "produkty");
    Utworz_Index_Unikalny("prod_kod", "produkty", "prod_kod", 1);
}
