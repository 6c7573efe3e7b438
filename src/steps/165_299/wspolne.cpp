#include "steps/165_299/wspolne.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "db/daty.h"
#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/schemat.h"
#include "db/stan.h"
#include "db/wykonaj.h"
#include "jet/dates.h"
#include "jet/error.h"
#include "jet/text.h"

namespace kroki {

void Pusta_Tabela_Jak(ClsKonwersje& k, const std::string& tabela, const std::string& wzor) {
    k.DbWykonajKonwersje("Select top 1 * into [" + tabela + "] from [" + wzor + "]",
                         k.Pusta_Tabela_Z_Wczesniejszego_Przebiegu(tabela, wzor));
    k.DbWykonajKonwersje("Delete * from [" + tabela + "]");
}

void Dodaj_Wiersz_Gdy_Brak(ClsKonwersje& k, const std::string& tekst,
                           const std::vector<jet::Value>& wartosci) {
    std::unique_ptr<ado::Recordset> rs;
    if (k.DbOtwórzSELKonwersje(rs, tekst) == 0) {
        rs->AddNew();
        for (size_t i = 0; i < wartosci.size(); ++i) rs->Fields(static_cast<int>(i)) = wartosci[i];
        rs->UpdateBatch();
    }
    k.ZamknijRSKonwersje(rs);
}

void Opis_Skladnika(ClsKonwersje& k, int pole, const std::string& opis, const std::string& skr) {
    const std::string p = std::to_string(pole);
    if (k.Liczba_Z_Zapytania("count(*) from [place_opisy] where [pole]=" + p) > 0) return;
    k.DbWykonajIINKonwersje("[place_opisy] (POLE,OPIS,SKR) values (" + p + ",'" + opis + "','" +
                            skr + "')");
}

void Przepnij_Raz(ClsKonwersje& k, bool wczesniej, const std::string& polecenie,
                  const std::string& nowe, int krok, const std::string& stan) {
    if (wczesniej && k.Liczba_Z_Zapytania(nowe) > 0) {
        // The update's own rows: its join and its where, counted.
        const std::string duze = jet::text::upper(polecenie);
        const size_t set = duze.find(" SET "), where = duze.rfind(" WHERE ");
        const std::string stare = "count(*) from " + polecenie.substr(7, set - 7) +
                                  (where == std::string::npos ? "" : polecenie.substr(where));
        if (k.Liczba_Z_Zapytania(stare) > 0) ClsKonwersje::Konwersja_Przerwana(krok, stan);
    }
    k.DbWykonajKonwersje(polecenie);
}

namespace {

void Loguj_Linie(int krok, const std::string& opis, const std::string& tekst) {
    Zapisz_Log_Kroku("Konwersja " + Wersja_Kroku(krok) + ": " + opis + ": " + tekst, "Konwersja",
                     Wersja_Kroku(krok));
}

}  // namespace

void Loguj_Bez_Wskazania(ClsKonwersje& k, int krok, const std::string& opis,
                         const std::string& wiersze) {
    const int64_t n = k.Liczba_Z_Zapytania("count(*) from " + wiersze);
    if (n > 0) Loguj_Linie(krok, opis, std::to_string(n));
}

void Loguj_Wiersze(int krok, const std::string& opis, const std::vector<std::string>& wiersze) {
    if (wiersze.empty()) return;
    Loguj_Linie(krok, opis, std::to_string(wiersze.size()));
    for (const std::string& w : wiersze) Loguj_Linie(krok, opis, w);
}

void Loguj_Usuwane(ClsKonwersje& k, int krok, const std::string& opis, const std::string& wiersze,
                   const std::vector<std::string>& kolumny) {
    Loguj_Bez_Wskazania(k, krok, opis, wiersze);
    std::string lista;
    for (const std::string& c : kolumny) lista += (lista.empty() ? "" : ", ") + c;
    std::unique_ptr<ado::Recordset> rs;
    if (k.DbOtwórzSELKonwersje(rs, lista + " from " + wiersze, true) > 0)
        for (; !rs->Eof(); rs->MoveNext()) {
            std::string wiersz;
            for (size_t i = 0; i < kolumny.size(); ++i) {
                const jet::Value v = rs->Fields(static_cast<int>(i)).value();
                wiersz += (i ? ", " : "") + kolumny[i].substr(kolumny[i].find('.') + 1) + " = " +
                          (v.is_null() ? "Null" : v.to_text());
            }
            Loguj_Linie(krok, opis, wiersz);
        }
    k.ZamknijRSKonwersje(rs);
}

void Usun_Produkcje_Bez_Produktu(ClsKonwersje& k, int krok, const char* usun) {
    // A deleted line is named with its quantities, prices and values that the table holds.
    const auto z_figurami = [&k](const std::string& tabela, std::vector<std::string> kolumny,
                                 std::initializer_list<const char*> figury) {
        for (const char* f : figury)
            if (k.Jest_Tabela(tabela, f)) kolumny.push_back(tabela + "." + f);
        return kolumny;
    };
    const std::string bez_produktu =
        " LEFT JOIN PRODUKTY ON DOK_PRO_zawart.PROD_ID=PRODUKTY.PROD_ID "
        "WHERE PRODUKTY.PROD_ID IS NULL";
    Loguj_Usuwane(
        k, krok, "pozycje produkcji bez produktu (usunięte)", "DOK_PRO_zawart" + bez_produktu,
        z_figurami("DOK_PRO_zawart", {"DDOUT_ID", "DOK_PRO_zawart.PROD_ID"},
                   {"WSPRZ_ILOSC", "WSPRZ_CENA_B", "WSPRZ_CENA_VAT", "ilosc_zam", "ilosc_prod",
                    "ilosc_zam2", "ilosc_prod2", "ilosc_zam3", "ilosc_prod3"}));
    k.DbWykonajKonwersje(std::string(usun) + " DOK_PRO_zawart.* from DOK_PRO_zawart" +
                         bez_produktu);
    for (const char* kolumna : {"PROD_ID", "SUR_ID"}) {
        const std::string bez = std::string(" LEFT JOIN PRODUKTY ON DOK_PRO_zawart_SUROWCE.") +
                                kolumna + "=PRODUKTY.PROD_ID WHERE PRODUKTY.PROD_ID IS NULL";
        Loguj_Usuwane(k, krok,
                      std::string("surowce produkcji bez ") +
                          (kolumna == std::string("SUR_ID") ? "surowca" : "produktu") +
                          " (usunięte)",
                      "DOK_PRO_zawart_SUROWCE" + bez,
                      z_figurami("DOK_PRO_zawart_SUROWCE",
                                 {"DDOUT_ID", "DOK_PRO_zawart_SUROWCE.PROD_ID", "SUR_ID"},
                                 {"Ilosc", "ilosc_sur", "ilosc_polprod", "Wartosc"}));
        k.DbWykonajKonwersje(std::string(usun) +
                             " DOK_PRO_zawart_SUROWCE.* from DOK_PRO_zawart_SUROWCE" + bez);
    }
}

Pierwszy_Wiersz Tylko_Pierwszy_Wiersz(ClsKonwersje& k, const std::string& tabela,
                                      const std::string& wczesniejszy, const std::string& pusty) {
    if (k.Liczba_Z_Zapytania("count(*) from " + tabela + " inner join " + wczesniejszy) == 0)
        return {};
    return {" left join " + wczesniejszy, pusty + " is null"};
}

namespace {

// Stops step krok naming tabela's key klucz and its value, the fields of rs, when
// powtorzony; closes rs.
void Zatrzymaj_Gdy_Powtorzony(ClsKonwersje& k, int krok, const std::string& tabela,
                              const std::string& klucz, bool powtorzony,
                              std::unique_ptr<ado::Recordset>& rs) {
    std::string wartosc;
    for (int i = 0; powtorzony && i < rs->FieldCount(); ++i)
        wartosc += (i ? ", " : "") + NzStr(rs->Fields(i).value());
    k.ZamknijRSKonwersje(rs);
    if (powtorzony)
        throw jet::Error(jet::hr::Unspecified,
                         "Tabela " + tabela + " ma powtórzony klucz " + klucz + " = " + wartosc +
                             ": konwersja do wersji " + Wersja_Kroku(krok) +
                             " nie wie, który z tych wierszy wybrać. Konwersję zatrzymano; baza "
                             "zostaje w ostatniej ukończonej wersji.");
}

}  // namespace

void Jeden_Wiersz_Na_Klucz(ClsKonwersje& k, int krok, const std::string& tabela,
                           const std::string& klucz, const std::string& warunek) {
    std::unique_ptr<ado::Recordset> rs;
    const bool powtorzony =
        k.DbOtwórzSELKonwersje(rs, "top 1 " + klucz + Powtorzony_Klucz(tabela, klucz, warunek),
                               true) > 0;
    Zatrzymaj_Gdy_Powtorzony(k, krok, tabela, klucz, powtorzony, rs);
}

void Strony_Starych_Id(ClsKonwersje& k, int krok, const Stary_Rejestr& r) {
    const std::string t = r.tabela, id = r.id, pole = r.pole;
    std::unique_ptr<ado::Recordset> rs;
    const bool dwie = k.DbOtwórzSELKonwersje(rs,
                                             "top 1 a." + id + " from " + t + " as a inner join " +
                                                 t + " as b on a." + id + "=b." + id + " where a." +
                                                 pole + "<>b." + pole,
                                             true) > 0;
    Zatrzymaj_Gdy_Powtorzony(k, krok, t, id, dwie, rs);
    k.DbWykonajKonwersje(std::string("drop table ") + kStronaStaregoId);
    k.DbWykonajKonwersje(std::string("create table ") + kStronaStaregoId +
                         " (stary long primary key, nowy long)");
    k.DbWykonajKonwersje(std::string("insert into ") + kStronaStaregoId +
                         " (stary, nowy) select R." + id + ", min(K.konh_id) from " + t +
                         " as R inner join KONTRAHENCI as K on (K." + r.pole_strony + " = R." +
                         pole + " or (K." + r.pole_strony + " is null and R." + pole +
                         " is null)) where K.RKONH_NAZWA_ID='" + r.rodzaj + "' and R." + id +
                         " is not null group by R." + id);
}

std::string Wiersze_Bez_Starej_Strony(const std::string& tabela, const std::string& kolumna) {
    const std::string a = "a." + kolumna;
    return tabela + " as a LEFT JOIN " + kStronaStaregoId + " as S ON " + a +
           " = S.stary where S.stary is null and " + a + ">0";
}

void Bez_Starej_Strony(ClsKonwersje& k, int krok, const Stary_Rejestr& r, const std::string& tabela,
                       const std::string& kolumna) {
    const std::string a = "a." + kolumna;
    const std::string wiersze = Wiersze_Bez_Starej_Strony(tabela, kolumna);
    Loguj_Bez_Wskazania(k, krok,
                        tabela + "." + kolumna + " z identyfikatorem spoza " + r.tabela +
                            " (nie wskazują żadnego kontrahenta)",
                        wiersze);
    const size_t gdzie = wiersze.find(" where ");
    k.DbWykonajKonwersje("UPDATE " + wiersze.substr(0, gdzie) + " set " + a + "=0" +
                         wiersze.substr(gdzie));
}

std::string Na_Strony(const std::string& tabela, const std::string& alias,
                      const std::string& kolumna) {
    const std::string a = alias + "." + kolumna;
    return "UPDATE " + tabela + " as " + alias + " INNER JOIN " + kStronaStaregoId + " as S ON " +
           a + " = S.stary set " + a + "=S.nowy";
}

void Numeruj(ClsKonwersje& k, const std::string& tekst,
             const std::function<std::optional<int32_t>(ado::Recordset&)>& licznik) {
    std::unique_ptr<ado::Recordset> rs;
    k.DbOtwórzSELKonwersje(rs, tekst);
    while (!Rekordy(rs).Eof()) {
        if (const auto n = licznik(*rs)) {
            rs->Fields(0) = jet::Value::long_(*n);
            rs->UpdateBatch();
        }
        rs->MoveNext();
    }
    k.ZamknijRSKonwersje(rs);
}

std::string W_Apostrofach(const std::string& tekst) {
    std::string wynik;
    for (char c : tekst) {
        wynik += c;
        if (c == '\'') wynik += '\'';
    }
    return wynik;
}

std::string Suma_Nz(std::initializer_list<std::string> kolumny) {
    std::string suma;
    for (const std::string& k : kolumny) suma += (suma.empty() ? "Nz(" : "+Nz(") + k + ",0)";
    return suma;
}

std::string Kopia_Bez_Nulla(const std::string& a, const std::string& b) {
    return "IIf(" + b + " Is Null," + a + "," + b + ")";
}

ado::Recordset& Rekordy(std::unique_ptr<ado::Recordset>& rs) {
    if (!rs)
        throw jet::Error(jet::hr::NotAllowed, "Object variable or With block variable not set");
    return *rs;
}

bool Rowne(const jet::Value& v, double liczba) {
    if (v.is_null() || v.is_empty()) return false;
    return v.to_double() == liczba;
}

void Z_Baza_DAO(ClsKonwersje& k, const std::function<void(dao::Database&)>& praca, int czekaj) {
    k.BazaDAO = dao::DBEngine::OpenDatabase(polaczenie().Properties(7));
    praca(*k.BazaDAO);
    k.BazaDAO->Close();
    k.BazaDAO.reset();
    if (czekaj > 0) k.CzekajKonwersje(czekaj);
}

void Przebieg_DAO(ClsKonwersje& k, const std::function<void(dao::TableDef&)>& dla_tabeli,
                  int czekaj) {
    Z_Baza_DAO(
        k,
        [&dla_tabeli](dao::Database& baza) {
            const int n = baza.TableDefCount();
            for (int i = 0; i < n; ++i) {
                dao::TableDef td = baza.TableDefs(i);
                if (td.Name().compare(0, 4, "MSys") == 0) continue;
                dla_tabeli(td);
            }
        },
        czekaj);
}

void Usun_Relacje(dao::Database& baza) {
    for (;;) {
        bool usunieto = false;
        for (const dao::Relation& r : baza.Relations()) {
            baza.DeleteRelation(r.Name);
            usunieto = true;
        }
        if (!usunieto) break;
    }
}

void Dodaj_Skladniki_Plac(ClsKonwersje& k, const std::string& warunek,
                          std::span<const Skladnik_Plac> skladniki) {
    k.DbWykonajDELKonwersje(warunek, "");
    for (const Skladnik_Plac& s : skladniki)
        k.DbWykonajIINKonwersje("[place_opisy] (POLE,OPIS,SKR) values (" + std::to_string(s.pole) +
                                ",'" + s.opis + "','" + s.skr + "')");
}

void Zmien_Nazwy_Tabel(ClsKonwersje& k, const std::vector<Zmiana_Nazwy>& zmiany) {
    Przebieg_DAO(k, [&zmiany](dao::TableDef& td) {
        const std::string nazwa = jet::text::upper(td.Name());
        for (const auto& [stara, nowa] : zmiany) {
            if (nazwa == stara) {
                td.SetName(nowa);
                return;
            }
        }
    });
}

void Zapisz_Wiersze_Pomijajac(ado::Recordset& rs, bool& pomijaj,
                              const std::function<void(ado::Recordset&)>& zmien,
                              const std::string& opis) {
    while (!rs.Eof()) {
        try {
            zmien(rs);
            pomijaj = true;
            rs.UpdateBatch();
        } catch (const jet::Error& e) {
            // A locked file or a full disk is no record's failure: it stops the pass.
            if (!pomijaj || jet::environment_failure(e)) throw;
            // A record that cannot be saved keeps its stored values; leaving its change
            // pending would fail the move to the next record again and again. The user
            // finds it in the Log.
            rs.CancelUpdate();
            Zapisz_Log_Kroku(opis + " '" + NzStr(rs.Fields(0).value()) +
                                 "' pozostaje bez zmiany, zapis nie powiódł się: " + result_text(e),
                             "Konwersja", "Zapisz_Wiersze_Pomijajac");
        }
        try {
            rs.MoveNext();
        } catch (const jet::Error& e) {
            if (jet::environment_failure(e)) throw;
            return;
        }
    }
}

}  // namespace kroki

namespace kroki {

void Utworz_Tabele_Deklaracji(ClsKonwersje& k) {
    k.DbWykonajKonwersje(
        "create table [Deklaracje] ([Nazwa] TEXT (50), [Rok] long, [Miesiac] "
        "text(20),[data_wyst] date,[imie] text(30),[nazwisko] text(40),[korekta] "
        "logical,[wniosek] logical,[id] counter)");
    k.DbWykonajKonwersje("create table [Deklaracje_Zawart] (id long,Typ text(20),wartosc money)");
}

std::vector<Pozycja_Listy> Pozycje_Listy(const jet::Value& lista) {
    static constexpr std::string_view kDostawa = "«+»";
    static constexpr std::string_view kZwrot = "«-»";
    static constexpr std::string_view kPoczatek = "«";
    const std::string tekst = NzStr(lista);
    std::string_view s = tekst;
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);

    std::vector<Pozycja_Listy> pozycje;
    for (size_t i = 0; i + kDostawa.size() <= s.size(); ++i) {
        const std::string_view znacznik = s.substr(i, kDostawa.size());
        const bool dostawa = znacznik == kDostawa;
        if (!dostawa && znacznik != kZwrot) continue;
        std::string_view numer = s.substr(i + znacznik.size());
        numer = numer.substr(0, numer.find(kPoczatek));
        pozycje.push_back({!dostawa, std::string(numer)});
    }
    return pozycje;
}

void Utworz_Indeksy_UnicNumer(ClsKonwersje& k, bool bez_bledu) {
    struct Indeks {
        const char* polecenie;
        const char* tabela;
        const char* kolumna;
    };
    static constexpr Indeks kIndeksy[] = {
        {"CREATE UNIQUE INDEX UnicNumer ON DOK_FAK (FAKOUT_NUMER)", "DOK_FAK", "FAKOUT_NUMER"},
        {"CREATE UNIQUE INDEX UnicNumer ON DOK_DD  (DDOUT_NUMER)", "DOK_DD", "DDOUT_NUMER"},
        {"CREATE UNIQUE INDEX UnicNumer ON DOK_DZ  (DDOUT_NUMER)", "DOK_DZ", "DDOUT_NUMER"},
        {"CREATE UNIQUE INDEX UnicNumer ON DOK_KFA (fkorout_numer)", "DOK_KFA", "fkorout_numer"},
        {"CREATE UNIQUE INDEX UnicNumer ON DOK_PAR (DDOUT_NUMER)", "DOK_PAR", "DDOUT_NUMER"},
        {"CREATE UNIQUE INDEX UnicNumer ON DOK_PW  (DDOUT_NUMER)", "DOK_PW", "DDOUT_NUMER"},
        {"CREATE UNIQUE INDEX UnicNumer ON DOK_RW  (DDOUT_NUMER)", "DOK_RW", "DDOUT_NUMER"},
        {"CREATE UNIQUE INDEX UnicNumer ON DOK_ZAK (numer_zaksiegowania)", "DOK_ZAK",
         "numer_zaksiegowania"},
        {"CREATE UNIQUE INDEX UnicNumer ON DOK_KZA (fkorout_numer)", "DOK_KZA", "fkorout_numer"},
        {"CREATE UNIQUE INDEX UnicNumer ON DOK_WZ  (DDOUT_NUMER)", "DOK_WZ", "DDOUT_NUMER"},
        {"CREATE UNIQUE INDEX UnicNumer ON DOK_PZ  (DDOUT_NUMER)", "DOK_PZ", "DDOUT_NUMER"},
    };
    for (const Indeks& i : kIndeksy) {
        const auto oczekiwany = k.Powtorzona_Wartosc(i.tabela, i.kolumna);
        if (bez_bledu)
            k.DbWykonajKonwersjeNoErr(i.polecenie, oczekiwany);
        else
            k.DbWykonajKonwersje(i.polecenie, oczekiwany);
    }
}

namespace {

// A number that its suffixes ('N' for each earlier twin) would make longer than the column
// loses its end first: every row of a number held n times is cut to the column's size less
// n - 1, all alike so that they stay twins, each number cut named in the Log.
void Miejsce_Na_Przyrostki(ClsKonwersje& k, const std::string& tabela, const std::string& kolumna) {
    const std::optional<std::vector<Pole_Tabeli>> pola = Pola_Tabeli(tabela);
    int rozmiar = 0;
    for (const Pole_Tabeli& p : pola.value_or(std::vector<Pole_Tabeli>{}))
        if (jet::text::same_name(p.nazwa, kolumna)) rozmiar = p.rozmiar;
    if (rozmiar <= 0) return;
    std::vector<std::pair<std::string, std::string>> ciete;
    std::unique_ptr<ado::Recordset> rs;
    if (k.DbOtwórzSELKonwersje(rs,
                               kolumna + ", count(*) from " + tabela + " where " + kolumna +
                                   " is not null group by " + kolumna + " having count(*)>1",
                               true) > 0)
        for (; !rs->Eof(); rs->MoveNext()) {
            const std::string numer = NzStr(rs->Fields(0).value());
            const int miesci = std::max(0, rozmiar - (NzLng(rs->Fields(1).value()) - 1));
            if (static_cast<int>(jet::text::length(numer)) > miesci)
                ciete.emplace_back(numer, numer.substr(0, jet::text::offset_of_char(
                                                              numer, static_cast<size_t>(miesci))));
        }
    k.ZamknijRSKonwersje(rs);
    for (const auto& [stary, nowy] : ciete) {
        Zapisz_Log_Kroku("Konwersja " + Wersja_Kroku(Krok_Konwersji) + ": " + tabela + "." +
                             kolumna + " '" + stary + "' skrócono do '" + nowy +
                             "' (miejsce na przyrostki N)",
                         "Konwersja", Wersja_Kroku(Krok_Konwersji));
        k.DbWykonajKonwersje("update " + tabela + " set " + kolumna + "='" + W_Apostrofach(nowy) +
                             "' where " + kolumna + "='" + W_Apostrofach(stary) + "'");
    }
}

// Logs every row (number, id) of a listing of clashing numbers under prefiks, then
// sends the update that appends "N" to the later documents' numbers.
void Popraw_Tabele(ClsKonwersje& k, const std::string& listing, const std::string& prefiks,
                   const std::string& update) {
    // The column numbered: the listing's first, after its alias.
    const size_t kropka = listing.find('.'), przecinek = listing.find(',');
    const size_t z = listing.find(" from "), as = listing.find(" as ", z);
    if (kropka < przecinek && z != std::string::npos && as != std::string::npos)
        Miejsce_Na_Przyrostki(k, listing.substr(z + 6, as - z - 6),
                              listing.substr(kropka + 1, przecinek - kropka - 1));
    std::unique_ptr<ado::Recordset> rs;
    k.DbOtwórzSELKonwersje(rs, listing);
    while (!Rekordy(rs).Eof()) {
        Zapisz_Log_Kroku(
            prefiks + NzStr(rs->Fields(0).value()) + "," + NzStr(rs->Fields(1).value()),
            "Konwersja", "Admin");
        rs->MoveNext();
    }
    k.ZamknijRSKonwersje(rs);
    k.DbWykonajKonwersje(update);
}

}  // namespace

void Popraw_Podwojne_Numery(ClsKonwersje& k) {
    // A number held by n documents gets 'N' once for each earlier one ('N', 'NN', ...),
    // which makes every one of them unique: the update applies once per joined pair.
    const Zamierzony_Raport po_parze{jet::reports::Kind::MultiPair};
    for (const char* t : {"DOK_PAR", "DOK_DD", "DOK_WZ", "DOK_DZ", "DOK_PZ", "DOK_PW", "DOK_RW"}) {
        const std::string T = t;
        Pokaz_Postep("", "", T);
        Popraw_Tabele(k,
                      "t1.ddout_numer,t1.ddout_id from " + T + " as t1 inner join " + T +
                          " as t2 on t1.ddout_numer=t2.ddout_numer where t1.ddout_id>t2.ddout_id",
                      "Podwójne numery w " + T + ": ",
                      "update " + T + " as t1 inner join " + T +
                          " as t2 on t1.ddout_numer=t2.ddout_numer set "
                          "t1.ddout_numer=t1.ddout_numer+'N' where t1.ddout_id>t2.ddout_id");
    }
    Popraw_Tabele(k,
                  "t1.FAKOUT_NUMER,t1.FAKOUT_ID from dok_fak as t1 inner join dok_fak as t2 on "
                  "t1.FAKOUT_NUMER=t2.FAKOUT_NUMER where t1.FAKOUT_ID<>t2.FAKOUT_ID",
                  "Podwójne numery w dok_fak : ",
                  "update dok_fak as t1 inner join dok_fak as t2 on "
                  "t1.FAKOUT_NUMER=t2.FAKOUT_NUMER set t1.FAKOUT_NUMER=t1.FAKOUT_NUMER+'N' "
                  "where t1.FAKOUT_ID>t2.FAKOUT_ID");
    Popraw_Tabele(k,
                  "t1.fkorout_numer,t1.FKOROUT_ID from dok_kfa as t1 inner join dok_kfa as t2 "
                  "on t1.fkorout_numer=t2.fkorout_numer where t1.FKOROUT_ID>t2.FKOROUT_ID",
                  "Podwójne numery w dok_kfa : ",
                  "update dok_Kfa as t1 inner join dok_Kfa as t2 on "
                  "t1.fkorout_numer=t2.fkorout_numer set t1.fkorout_numer=t1.fkorout_numer+'N' "
                  "where t1.FKOROUT_ID>t2.FKOROUT_ID");
    Popraw_Tabele(k,
                  "t1.fkorout_numer,t1.FKOROUT_ID from dok_kza as t1 inner join dok_kza as t2 "
                  "on t1.fkorout_numer=t2.fkorout_numer where t1.FKOROUT_ID<>t2.FKOROUT_ID",
                  "Podwójne numery w dok_kza : ",
                  "update dok_KZa as t1 inner join dok_KZa as t2 on "
                  "t1.fkorout_numer=t2.fkorout_numer set t1.fkorout_numer=t1.fkorout_numer+'N' "
                  "where t1.FKOROUT_ID>t2.FKOROUT_ID");
    Popraw_Tabele(k,
                  "t1.numer_zaksiegowania,t1.numer_id from dok_zak as t1 inner join dok_zak as "
                  "t2 on t1.numer_zaksiegowania=t2.numer_zaksiegowania where "
                  "t1.numer_id>t2.numer_id",
                  "Podwójne numery w dok_zak : ",
                  "update dok_ZaK as t1 inner join dok_ZaK as t2 on "
                  "t1.numer_zaksiegowania=t2.numer_zaksiegowania set "
                  "t1.numer_zaksiegowania=t1.numer_zaksiegowania+'N' where "
                  "t1.numer_id>t2.numer_id");
    Utworz_Indeksy_UnicNumer(k, true);
}

}  // namespace kroki

namespace kroki {

double Dzisiaj() {
    const std::time_t t = std::time(nullptr);
    std::tm lt{};
    localtime_r(&t, &lt);
    return jet::dates::to_serial(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday).value_or(0);
}

std::string Dzien_Tekst(double d) {
    const jet::dates::Parts p = jet::dates::from_serial(d);
    char tekst[16];
    std::snprintf(tekst, sizeof tekst, "%02d-%02d-%04d", p.day, p.month, p.year);
    return tekst;
}

void Usun_Zamowienia_Do(ClsKonwersje& k, double d) {
    if (FMsg_box(" Czy chesz usunąć z bazy zamówienia do " + Dzien_Tekst(d), vbYesNo,
                 "Pytanie przyspieszające konwersję ?") != vbYes)
        return;
    k.DbWykonajDELKonwersje("dok_zam where data<=" + DataSQL_Do(d), "dok_zam.*");
    k.DbWykonajDELKonwersje(
        "dok_zam RIGHT JOIN dok_zam_zawart ON dok_zam.zam_id=dok_zam_zawart.zam_id WHERE "
        "dok_zam.zam_id is null",
        "dok_zam_zawart.*");
    k.DbWykonajDELKonwersje(
        "dok_zam RIGHT JOIN ZAMOWIENIA_KOMENTARZE ON dok_zam.zam_id=ZAMOWIENIA_KOMENTARZE.iddd "
        "WHERE dok_zam.zam_id is null",
        "ZAMOWIENIA_KOMENTARZE.*");
}

}  // namespace kroki
