#include "db/schemat.h"

#include <algorithm>
#include <variant>

#include "ado/ado.h"
#include "db/komunikaty.h"
#include "db/naprawy.h"
#include "db/polaczenie.h"
#include "db/stan.h"
#include "db/wykonaj.h"
#include "db/wykonawca.h"
#include "jet/catalog.h"
#include "jet/database.h"
#include "jet/error.h"
#include "jet/sql/parser.h"
#include "jet/text.h"
#include "jet/types.h"
#include "platform/clipboard.h"

namespace {

std::string s(std::string_view v) {
    return std::string(v);
}

// Runs the statement with failures only logged; "" or the result text.
std::string cicho(const std::string& polecenie) {
    return DbWykonaj(polecenie, -1);
}

// Usun_Pole's statements, run as cicho runs them, but a failure logged as what it is:
// the no-error executor's result text names any failure of the provider's unspecified
// number (a table that a statement of the program still reads) a lost connection. A
// failure of the environment is logged and asked about as there.
void cicho_usun(const std::string& polecenie) {
    static constexpr Zasady_Wykonawcy kZasady{.etykieta = "DbWykonaj",
                                              .tolerowane = kBledy_Schematu};
    std::string pol = polecenie;
    int32_t rekordy = -1;
    Wynik_Polecenia w = Wykonaj_Raz(pol, rekordy, false, {});
    if (w.tekst.empty()) return;
    const bool awaria = Awaria_Srodowiska(w);
    Zapisz_Log(pol, "DbWykonajNoError",
               "Error: " + (awaria ? w.tekst : result_text(jet::Error(w.numer, w.opis))));
    if (awaria) Wykonaj_W_Petli_Po(std::move(w), pol, rekordy, false, kZasady);
}

// Runs the statement as cicho runs it; with stop set, a failure that comes back (not the
// rows of a key, which its rule keeps or stops on) puts the statement on the clipboard (the
// one that failed, not one an earlier failure left there), shows its text and ends the
// process.
std::string wykonaj_lub_zatrzymaj(const std::string& polecenie, int16_t stop) {
    std::string wynik = cicho(polecenie);
    if (!wynik.empty() && stop) {
        platform::set_clipboard(polecenie);
        FMsg_box(wynik, vbCritical, "");
        Wylogowanie();
    }
    return wynik;
}

}  // namespace

void Utworz_Tabele(std::string_view nazwa, std::string_view kolumny, std::string_view pola_klucza) {
    cicho("drop table " + s(nazwa));
    DbWykonaj("create table " + s(nazwa) + " ( " + s(kolumny) + ")", 0);
    if (!pola_klucza.empty()) Utworz_Klucz_Podstawowy(nazwa, pola_klucza, 0);
}

void Usun_Index(std::string_view indeks, std::string_view tabela, int16_t stop) {
    wykonaj_lub_zatrzymaj("drop index " + s(indeks) + " ON " + s(tabela), stop);
}

std::string Utworz_Klucz_Podstawowy(std::string_view tabela, std::string_view pola, int16_t stop) {
    cicho("drop index Podstawowy ON " + s(tabela));
    return wykonaj_lub_zatrzymaj(
        "CREATE UNIQUE INDEX Podstawowy ON " + s(tabela) + " (" + s(pola) + ")WITH PRIMARY", stop);
}

void Utworz_Klucze_Z_Zawart(std::string_view tabela, std::string_view pola_klucza,
                            std::string_view pola_zawartosci) {
    Utworz_Klucz_Podstawowy(tabela, pola_klucza, 0);
    Utworz_Klucz_Podstawowy(s(tabela) + "_ZAWART", s(pola_klucza) + "," + s(pola_zawartosci), 0);
}

std::string Utworz_Index_Unikalny(std::string_view indeks, std::string_view tabela,
                                  std::string_view pola, int16_t stop) {
    cicho("drop index " + s(indeks) + " ON " + s(tabela));
    return wykonaj_lub_zatrzymaj(
        "CREATE UNIQUE INDEX " + s(indeks) + " ON " + s(tabela) + " (" + s(pola) + ")", stop);
}

std::string Utworz_Index(std::string_view indeks, std::string_view tabela, std::string& pola,
                         int16_t stop) {
    if (pola.empty()) pola = indeks;
    cicho("drop index " + s(indeks) + " ON " + s(tabela));
    return wykonaj_lub_zatrzymaj(
        "CREATE INDEX " + s(indeks) + " ON " + s(tabela) + " (" + pola + ")", stop);
}

std::string Utworz_Index(std::string_view indeks, std::string_view tabela, std::string_view pola,
                         int16_t stop) {
    std::string kopia(pola);
    return Utworz_Index(indeks, tabela, kopia, stop);
}

void Usun_Pole(std::string_view tabela, std::string_view kolumna) {
    cicho_usun("drop INDEX ind" + s(kolumna) + " ON " + s(tabela));
    cicho_usun("drop INDEX " + s(kolumna) + " ON " + s(tabela));
    cicho_usun("Alter table " + s(tabela) + " drop COLUMN " + s(kolumna));
}

std::string Utworz_Index_Unikalny(std::string_view indeks, std::string_view tabela,
                                  std::string_view pola, const Oczekiwany_Blad& oczekiwany) {
    cicho("drop index " + s(indeks) + " ON " + s(tabela));
    int32_t rekordy = -1;
    return DbWykonaj("CREATE UNIQUE INDEX " + s(indeks) + " ON " + s(tabela) + " (" + s(pola) + ")",
                     -1, rekordy, oczekiwany);
}

namespace {

// The column that a type text gives to a column added with it ("ADD " & name & " " &
// typ), its name aside: a DEFAULT null is no default.
Pole_Tabeli Pole_Z_Typu(const std::string& typ) {
    const jet::sql::Statement zdanie = jet::sql::parse("alter table t add c " + typ);
    const auto* zmiana = std::get_if<jet::sql::AlterTable>(&zdanie);
    if (zmiana == nullptr || zmiana->columns.size() != 1)
        throw jet::Error(jet::hr::Syntax, "Syntax error in field definition: " + typ);
    const jet::sql::ColumnDef& d = zmiana->columns.front();
    Pole_Tabeli p;
    p.typ = static_cast<int>(d.type.type);
    p.rozmiar = d.type.type == jet::DataType::Text ? d.type.size : 0;
    p.licznik = d.type.counter;
    if (d.default_value && d.default_value->kind != jet::sql::ExprKind::Null)
        p.domyslna = d.default_text;
    return p;
}

// Whether two columns hold values alike: type, size of a text and default.
bool Ten_Sam_Typ(const Pole_Tabeli& a, const Pole_Tabeli& b) {
    return a.typ == b.typ &&
           (a.typ != static_cast<int>(jet::DataType::Text) || a.rozmiar == b.rozmiar) &&
           a.domyslna == b.domyslna;
}

// Whether a column is as a type text gives it.
bool Jak_Z_Typu(const Pole_Tabeli& pole, const Pole_Tabeli& wzor) {
    return Ten_Sam_Typ(pole, wzor) && pole.licznik == wzor.licznik;
}

// Whether a column stands as a change of type text nowe leaves it, or with the default
// that the database's tidy-up gives it since.
bool Jak_Po_Zmianie(const Pole_Tabeli& pole, const Pole_Tabeli& nowe) {
    Pole_Tabeli po_porzadkach = nowe;
    po_porzadkach.domyslna = Domyslna_Porzadkow(pole.typ, pole.nazwa);
    return Jak_Z_Typu(pole, nowe) || Jak_Z_Typu(pole, po_porzadkach);
}

// The position of the column named nazwa, -1 when there is none ("" names none).
std::ptrdiff_t Pozycja(const std::vector<Pole_Tabeli>& pola, std::string_view nazwa) {
    if (nazwa.empty()) return -1;
    for (size_t i = 0; i < pola.size(); ++i)
        if (jet::text::same_name(pola[i].nazwa, nazwa)) return static_cast<std::ptrdiff_t>(i);
    return -1;
}

}  // namespace

std::string_view Bez_Nawiasow(std::string_view tabela) {
    if (tabela.size() >= 2 && tabela.front() == '[' && tabela.back() == ']')
        return tabela.substr(1, tabela.size() - 2);
    return tabela;
}

std::optional<std::vector<Pole_Tabeli>> Pola_Tabeli(std::string_view tabela) {
    if (!Baza_Otwarta) DbPolacz_Ponownie();
    const jet::TableInfo* t = polaczenie().database().catalog().table(Bez_Nawiasow(tabela));
    if (t == nullptr) return std::nullopt;
    std::vector<Pole_Tabeli> pola;
    for (const jet::ColumnInfo& c : t->columns)
        pola.push_back({c.name, static_cast<int>(c.type),
                        c.type == jet::DataType::Text ? c.size : 0, c.counter, c.default_text});
    return pola;
}

bool Jest_Kolumna_Tymczasowa(std::string_view tabela) {
    const std::optional<std::vector<Pole_Tabeli>> pola = Pola_Tabeli(tabela);
    return pola && Pozycja(*pola, kKolumnaTymczasowa) >= 0;
}

std::vector<std::string> Tabele_Z_Kolumna_Tymczasowa() {
    if (!Baza_Otwarta) DbPolacz_Ponownie();
    std::vector<std::string> tabele;
    for (const jet::TableInfo* t : polaczenie().database().catalog().tables())
        if (t->column(kKolumnaTymczasowa)) tabele.push_back(t->name);
    return tabele;
}

Stan_Kopii Stan_Kolumny_Tymczasowej(const std::vector<Pole_Tabeli>& pola,
                                    const Zmiana_Pola& zmiana) {
    const std::ptrdiff_t t = Pozycja(pola, kKolumnaTymczasowa);
    const bool ma_kolumne = !zmiana.kolumna.empty();
    const bool ta_sama = jet::text::same_name(zmiana.kolumna, zmiana.nowa_nazwa);
    const std::ptrdiff_t c = Pozycja(pola, zmiana.kolumna);
    const std::ptrdiff_t m = ta_sama ? c : Pozycja(pola, zmiana.nowa_nazwa);
    // Without the temporary column only a change to a new name can be seen done: its
    // column stands under the new name and the old one is gone.
    if (t < 0)
        return ma_kolumne && !ta_sama && c < 0 && m >= 0 ? Stan_Kopii::Zmiana_Zakonczona
                                                         : Stan_Kopii::Brak;
    const Pole_Tabeli& kopia = pola[static_cast<size_t>(t)];
    const bool ostatnia = static_cast<size_t>(t) + 1 == pola.size();
    Pole_Tabeli nowe, etap;
    if (ma_kolumne) {
        nowe = Pole_Z_Typu(zmiana.typ);
        etap = Pole_Z_Typu(zmiana.typ_kopii);
    }
    const bool kopia_zmiany = ma_kolumne && Jak_Z_Typu(kopia, etap);
    // The change is done: its column stands under the new name with the old one gone, or
    // under its own name as the change leaves it (or with the default the database's
    // tidy-up gives it since), before the temporary column that a later change of the
    // table added behind it.
    const bool zakonczona =
        ma_kolumne &&
        (ta_sama ? c >= 0 && c < t && Jak_Po_Zmianie(pola[static_cast<size_t>(c)], nowe)
                 : c < 0 && m >= 0);
    if (!ostatnia) {
        // A column stands right after the temporary column: a change added it anew.
        const Pole_Tabeli& po = pola[static_cast<size_t>(t) + 1];
        if (kopia_zmiany && m == t + 1 && static_cast<size_t>(m) + 1 == pola.size() &&
            Jak_Z_Typu(po, nowe) && (ta_sama || c < 0))
            return Stan_Kopii::Po_Dodaniu;
        if (zakonczona) return Stan_Kopii::Zmiana_Zakonczona;
        // The copy of a column added anew with the temporary column's own type is that
        // column's; a column of another type came after it in another way.
        return Ten_Sam_Typ(po, kopia) ? Stan_Kopii::Cudza_Po_Dodaniu
                                      : Stan_Kopii::Nierozstrzygniety;
    }
    if (kopia_zmiany && c < 0 && m < 0) return Stan_Kopii::Po_Usunieciu;
    if (zakonczona) return Stan_Kopii::Zmiana_Zakonczona;
    // The column is still there: the temporary column is its copy, unless it may be the
    // widening's, which stands last after it has dropped its column as well.
    const Pole_Tabeli poszerzenie = Pole_Z_Typu("text(255)");
    if (kopia_zmiany && c >= 0 && !Jak_Z_Typu(kopia, poszerzenie))
        return Stan_Kopii::Przed_Usunieciem;
    return Stan_Kopii::Nierozstrzygniety;
}

bool Jak_Po_Zmianie_Typu(const Pole_Tabeli& pole, const std::string& typ) {
    return Jak_Po_Zmianie(pole, Pole_Z_Typu(typ));
}

bool Kopia_Zmiany_W_Toku(std::string_view tabela, const std::vector<Zmiana_Pola>& zmiany) {
    const std::optional<std::vector<Pole_Tabeli>> pola = Pola_Tabeli(tabela);
    if (!pola || pola->empty() || !jet::text::same_name(pola->back().nazwa, kKolumnaTymczasowa))
        return false;
    const Pole_Tabeli& kopia = pola->back();
    const std::vector<Pole_Tabeli> przed(pola->begin(), pola->end() - 1);
    // A change's column gone: the copy may be its only record; so may the widening's,
    // which stands last once it has dropped a column of another name.
    if (Jak_Z_Typu(kopia, Pole_Z_Typu("text(255)")) ||
        std::ranges::any_of(zmiany,
                            [&](const Zmiana_Pola& z) { return Pozycja(przed, z.kolumna) < 0; }))
        return false;
    // The columns that the first k changes leave at the end of the table, in their order
    // (a column changed again stands where its last change left it), with their types.
    const auto po_zmianach = [&](size_t k) {
        std::vector<std::pair<std::string, Pole_Tabeli>> koniec;
        for (size_t i = 0; i < k; ++i) {
            std::erase_if(koniec, [&](const auto& p) {
                return jet::text::same_name(p.first, zmiany[i].nowa_nazwa);
            });
            koniec.emplace_back(zmiany[i].nowa_nazwa, Pole_Z_Typu(zmiany[i].typ));
        }
        return koniec;
    };
    for (size_t k = zmiany.size(); k-- > 0;) {
        const auto koniec = po_zmianach(k);
        if (koniec.size() > przed.size()) continue;
        const size_t od = przed.size() - koniec.size();
        bool zgodne = true;
        for (size_t i = 0; i < koniec.size() && zgodne; ++i)
            zgodne = jet::text::same_name(przed[od + i].nazwa, koniec[i].first) &&
                     Jak_Po_Zmianie(przed[od + i], koniec[i].second);
        // The first k changes may be made: the temporary column is then the next one's
        // copy. Fewer may be, where changes found their columns at the end as they leave
        // them.
        if (zgodne && Jak_Z_Typu(kopia, Pole_Z_Typu(zmiany[k].typ_kopii))) return true;
    }
    return false;
}

namespace {

// The table of that name as the catalog holds it now, nullptr when there is none.
const jet::TableInfo* Tabela_Katalogu(std::string_view tabela) {
    if (!Baza_Otwarta) DbPolacz_Ponownie();
    return polaczenie().database().catalog().table(Bez_Nawiasow(tabela));
}

// A column's type as a message names it: "Text(50)", "Currency", "Long licznik".
std::string Opis_Typu(const Pole_Tabeli& p) {
    const auto typ = static_cast<jet::DataType>(p.typ);
    return s(jet::data_type_name(typ)) +
           (typ == jet::DataType::Text ? "(" + std::to_string(p.rozmiar) + ")" : "") +
           (p.licznik ? " licznik" : "");
}

constexpr char kZatrzymano[] = ". Konwersję zatrzymano; baza zostaje w ostatniej ukończonej wersji";

}  // namespace

std::vector<Indeks_Tabeli> Zdejmij_Indeksy_Pola(std::string_view tabela, std::string_view cel,
                                                std::string_view kolumna,
                                                const Wykonawca_Zmiany& wykonaj) {
    std::vector<Indeks_Tabeli> indeksy;
    const jet::TableInfo* t = Tabela_Katalogu(tabela);
    const jet::ColumnInfo* c = t ? t->column(kolumna) : nullptr;
    if (c == nullptr) return indeksy;
    for (const jet::IndexInfo& ix : t->indexes) {
        if (std::ranges::none_of(ix.columns, [&](const auto& k) { return k.column_id == c->id; }))
            continue;
        Indeks_Tabeli i{ix.name, ix.primary, ix.unique, ix.required, ix.ignore_nulls, {}};
        for (const jet::IndexColumnInfo& k : ix.columns)
            i.pola.emplace_back(t->column_by_id(k.column_id)->name, k.descending);
        indeksy.push_back(std::move(i));
    }
    for (const Indeks_Tabeli& i : indeksy) wykonaj("drop INDEX [" + i.nazwa + "] ON " + s(cel));
    return indeksy;
}

void Odtworz_Indeksy_Pola(std::string_view tabela, std::string_view cel,
                          const std::vector<Indeks_Tabeli>& indeksy, std::string_view kolumna,
                          std::string_view nowa, const Wykonawca_Zmiany& wykonaj) {
    for (const Indeks_Tabeli& i : indeksy) {
        std::string pola;
        for (const auto& [pole, malejaco] : i.pola)
            pola += (pola.empty() ? "[" : ", [") +
                    (jet::text::same_name(pole, kolumna) ? s(nowa) : pole) + "]" +
                    (malejaco ? " DESC" : "");
        const std::string polecenie =
            std::string(i.unikalny ? "CREATE UNIQUE INDEX [" : "CREATE INDEX [") + i.nazwa +
            "] ON " + s(cel) + " (" + pola + ")" +
            (i.podstawowy    ? " WITH PRIMARY"
             : i.wymagany    ? " WITH DISALLOW NULL"
             : i.bez_pustych ? " WITH IGNORE NULL"
                             : "");
        wykonaj(polecenie);
        // An executor passes over a unique index that the new values break: the catalog
        // tells whether the index stands over the column.
        const jet::TableInfo* t = Tabela_Katalogu(tabela);
        const jet::IndexInfo* ix = t ? t->index(i.nazwa) : nullptr;
        const jet::ColumnInfo* c = t ? t->column(nowa) : nullptr;
        if (ix != nullptr && c != nullptr &&
            std::ranges::any_of(ix->columns, [&](const auto& k) { return k.column_id == c->id; }))
            continue;
        Blad_Krytyczny("Zmiana kolumny", polecenie,
                       "Indeksu " + i.nazwa + " tabeli " + s(Bez_Nawiasow(tabela)) +
                           " nie udało się utworzyć ponownie na zmienionej kolumnie " + s(nowa) +
                           kZatrzymano);
    }
}

void Sprawdz_Zmiane_Pola(std::string_view tabela, const Zmiana_Pola& zmiana) {
    const std::optional<std::vector<Pole_Tabeli>> pola = Pola_Tabeli(tabela);
    if (!pola) return;
    const Pole_Tabeli wzor = Pole_Z_Typu(zmiana.typ);
    const std::ptrdiff_t m = Pozycja(*pola, zmiana.nowa_nazwa);
    const bool stara = !jet::text::same_name(zmiana.kolumna, zmiana.nowa_nazwa) &&
                       Pozycja(*pola, zmiana.kolumna) >= 0;
    if (m >= 0 && !stara) {
        const Pole_Tabeli& p = (*pola)[static_cast<size_t>(m)];
        if (p.typ == wzor.typ && p.licznik == wzor.licznik &&
            (p.typ != static_cast<int>(jet::DataType::Text) || p.rozmiar == wzor.rozmiar))
            return;
    }
    const std::string nazwa(Bez_Nawiasow(tabela));
    const std::string jest = m < 0 ? "kolumny " + zmiana.nowa_nazwa + " nie ma w tabeli"
                             : stara
                                 ? "kolumna " + zmiana.kolumna + " pozostała w tabeli"
                                 : "kolumna ma typ " + Opis_Typu((*pola)[static_cast<size_t>(m)]);
    std::string relacje;
    for (const jet::RelationInfo& r : polaczenie().database().catalog().relations()) {
        const auto trzyma = [&](const std::string& t, const std::vector<std::string>& kolumny) {
            return jet::text::same_name(t, nazwa) &&
                   std::ranges::any_of(kolumny, [&](const std::string& k) {
                       return jet::text::same_name(k, zmiana.kolumna);
                   });
        };
        if (trzyma(r.table, r.columns) || trzyma(r.foreign_table, r.foreign_columns))
            relacje +=
                (relacje.empty() ? ". Kolumnę " + zmiana.kolumna + " trzyma relacja " : ", ") +
                r.name;
    }
    Blad_Krytyczny(
        "Zmiana kolumny", nazwa + "." + zmiana.kolumna,
        "Zmiana kolumny " + zmiana.kolumna + " tabeli " + nazwa + " na " +
            (jet::text::same_name(zmiana.kolumna, zmiana.nowa_nazwa) ? ""
                                                                     : zmiana.nowa_nazwa + " ") +
            zmiana.typ + " nie powiodła się: " + jest + relacje + kZatrzymano);
}

bool Oddaj_Kopie(std::string_view tabela, std::string_view kolumna,
                 const Wykonawca_Zmiany& wykonaj) {
    const std::string T = s(tabela), tmp = kKolumnaTymczasowa;
    if (!wykonaj("UPDATE " + T + " SET " + s(kolumna) + "=" + tmp)) return false;
    wykonaj("alter table " + T + " drop COLUMN " + tmp);
    return true;
}

Stan_Kopii Rozstrzygnij_Kopie(std::string_view tabela, std::string_view cel,
                              const Zmiana_Pola& zmiana, const Wykonawca_Zmiany& wykonaj) {
    // Another change's column added anew is filled back once; the state is then asked
    // again.
    std::optional<std::vector<Pole_Tabeli>> pola;
    for (int proba = 0; proba < 2; ++proba) {
        pola = Pola_Tabeli(tabela);
        if (!pola) return Stan_Kopii::Brak;
        const Stan_Kopii stan = Stan_Kolumny_Tymczasowej(*pola, zmiana);
        if (stan == Stan_Kopii::Nierozstrzygniety) break;
        if (stan != Stan_Kopii::Cudza_Po_Dodaniu) return stan;
        const size_t t = static_cast<size_t>(Pozycja(*pola, kKolumnaTymczasowa));
        if (!Oddaj_Kopie(cel, (*pola)[t + 1].nazwa, wykonaj)) break;
    }
    const std::string nazwa(Bez_Nawiasow(tabela));
    // The user puts the table right by hand as the README's chapter of this title says.
    // A stop in a step names the step: the user's repair is for the table as that step
    // found it.
    std::string opis;
    if (Krok_Konwersji > 0) opis = "Konwersja do wersji " + Wersja_Kroku(Krok_Konwersji) + ": ";
    opis += "Ze schematu tabeli " + nazwa +
            " nie wynika, czyje wartości przechowuje kolumna tymczasowa " + kKolumnaTymczasowa +
            ". Konwersję zatrzymano; baza zostaje w ostatniej ukończonej wersji. "
            "Naprawa ręczna - patrz README, rozdział \"Temporary column " +
            kKolumnaTymczasowa + ": repair by hand\"";
    // The change's column, which the user compares the temporary column with. Gone under
    // both its names, the temporary column may hold its only copy, and the user who adds
    // it back by hand needs it as the change adds it anew: its new name and its type.
    if (!zmiana.kolumna.empty()) {
        const std::ptrdiff_t c = Pozycja(*pola, zmiana.kolumna);
        const std::ptrdiff_t k = c >= 0 ? c : Pozycja(*pola, zmiana.nowa_nazwa);
        if (k < 0)
            opis +=
                ". Brak w tabeli kolumny, którą zmienia krok (nazwa i typ): " + zmiana.nowa_nazwa +
                " " + zmiana.typ;
        else
            opis += ". Kolumna, którą zmienia krok (nazwa w tabeli i typ po zmianie): " +
                    (*pola)[static_cast<size_t>(k)].nazwa + " " + zmiana.typ;
    }
    Blad_Krytyczny("Kolumna tymczasowa", nazwa + "." + kKolumnaTymczasowa, opis);
}
