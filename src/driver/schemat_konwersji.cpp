// The conversion class's schema helpers, the checks of a table's copy, and its wait.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/schemat.h"
#include "db/stan.h"
#include "db/wykonaj.h"
#include "driver/konwersje.h"
#include "jet/catalog.h"
#include "jet/database.h"
#include "jet/error.h"
#include "jet/text.h"
#include "platform/wait.h"

namespace {

// The clock as the number hhmmss of the time of day.
long Zegar_HHMMSS() {
    const std::time_t t = std::time(nullptr);
    std::tm lt{};
    localtime_r(&t, &lt);
    return lt.tm_hour * 10000L + lt.tm_min * 100L + lt.tm_sec;
}

// The class's executor for the statements of a change through the temporary column.
Wykonawca_Zmiany Wykonawca(ClsKonwersje& k) {
    return [&k](const std::string& statement) {
        k.DbWykonajKonwersje(statement);
        return true;
    };
}

// The rows that "Select count(*) from " & rows counts; -1 when they cannot be counted.
int64_t Liczba_Wierszy(ClsKonwersje& k, const std::string& rows) {
    return k.Liczba_Z_Zapytania("count(*) from " + rows);
}

// The rows of "Select " & text: the upper-cased names of its columns and its values.
struct Wiersze_Zapytania {
    std::vector<std::string> kolumny;
    std::vector<std::vector<jet::Value>> wiersze;
};

// The rows that "Select " & text reads; nullopt when it cannot be opened (a quiet open).
std::optional<Wiersze_Zapytania> Czytaj_Wiersze(ClsKonwersje& k, const std::string& text) {
    std::unique_ptr<ado::Recordset> rs;
    if (k.DbOtwórzSELKonwersje(rs, text, true) < 0) return std::nullopt;
    Wiersze_Zapytania w;
    for (int i = 0; i < rs->FieldCount(); ++i)
        w.kolumny.push_back(jet::text::upper(rs->Fields(i).Name()));
    for (; !rs->Eof(); rs->MoveNext()) {
        w.wiersze.emplace_back();
        for (int i = 0; i < rs->FieldCount(); ++i)
            w.wiersze.back().push_back(rs->Fields(i).value());
    }
    k.ZamknijRSKonwersje(rs);
    return w;
}

// A value as its copy keeps it: Null, a date, a number (every numeric kind by its value,
// so that a column whose width a step changed still compares) or a text as stored.
std::string Wartosc_Kopii(const jet::Value& v) {
    if (v.is_null() || v.is_empty()) return "N";
    if (v.is_text()) return "T" + v.raw_text();
    const bool data = v.kind() == jet::Value::Kind::Date;
    const double d = (data ? v.to_date() : v.to_double()) + 0.0;  // -0 as 0
    char tekst[40];
    std::snprintf(tekst, sizeof tekst, "%c%a", data ? 'D' : 'L', d);
    return tekst;
}

// True when table holds the rows that "Select " & selection reads and no other row, each
// found by its key column with the values of every column that both have, each row of
// table standing for one row read: always when it reads none (the rows have left their
// source, and the table may be their only record); never when either cannot be read,
// when they have no column in common, or when the rows read have the key and the table
// has not. Rows read without the key (a change of its type left its values in the
// temporary column) are found by the values of the other columns. The table has every
// column read, but one that the source got after the columns that both have (added since
// the copy was made), and any where the table holds a column that the source no longer
// has (the step moved columns from the source to its copy, and then from the copy).
bool Wiersze_W_Tabeli(ClsKonwersje& k, const std::string& table, const std::string& selection,
                      const std::string& key) {
    const auto zrodlo = Czytaj_Wiersze(k, selection);
    const auto tabela = Czytaj_Wiersze(k, "* from [" + table + "]");
    if (!zrodlo || !tabela) return false;
    if (zrodlo->wiersze.empty()) return true;
    std::vector<std::pair<size_t, size_t>> wspolne;  // a column of the rows read, of the table
    for (size_t i = 0; i < zrodlo->kolumny.size(); ++i) {
        const auto j = std::ranges::find(tabela->kolumny, zrodlo->kolumny[i]);
        if (j != tabela->kolumny.end())
            wspolne.emplace_back(i, static_cast<size_t>(j - tabela->kolumny.begin()));
    }
    const std::string klucz = jet::text::upper(key);
    if (wspolne.empty() || (std::ranges::find(zrodlo->kolumny, klucz) != zrodlo->kolumny.end() &&
                            std::ranges::find(tabela->kolumny, klucz) == tabela->kolumny.end()))
        return false;
    const bool przeniesione = wspolne.size() < tabela->kolumny.size();
    for (size_t i = 0; i < wspolne.back().first && !przeniesione; ++i)
        if (std::ranges::find(tabela->kolumny, zrodlo->kolumny[i]) == tabela->kolumny.end())
            return false;
    if (tabela->wiersze.size() != zrodlo->wiersze.size()) return false;
    const auto wiersz = [&](const std::vector<jet::Value>& w, bool z_tabeli) {
        std::vector<std::string> wartosci;
        for (const auto& [z, t] : wspolne) wartosci.push_back(Wartosc_Kopii(w[z_tabeli ? t : z]));
        return wartosci;
    };
    std::map<std::vector<std::string>, int64_t> w_tabeli;
    for (const auto& w : tabela->wiersze) ++w_tabeli[wiersz(w, true)];
    return std::ranges::all_of(zrodlo->wiersze, [&](const std::vector<jet::Value>& w) {
        const auto it = w_tabeli.find(wiersz(w, false));
        return it != w_tabeli.end() && it->second-- > 0;
    });
}

// The check of Sprawdz_Kopie (copy) and of Sprawdz_Przeniesienie, each ending the run
// under its own name.
void Sprawdz_Wiersze(ClsKonwersje& k, const std::string& source, const std::string& target,
                     const std::string& source_rows, const std::string& target_rows, bool copy) {
    if (!k.Jest_Tabela(source)) return;
    const int64_t w_celu = Liczba_Wierszy(k, target_rows);
    const int64_t w_zrodle = Liczba_Wierszy(k, source_rows);
    if (w_celu >= 0 && w_zrodle >= 0 && w_celu >= w_zrodle) return;
    // The copy or move failed, or a stopped run left it short: the source keeps its rows
    // and the step goes no further.
    std::string opis;
    if (w_zrodle < 0)
        opis = "Nie można policzyć wierszy tabeli " + source + " (" +
               (copy ? "kopia " : "przeniesione do ") + target + ")";
    else if (copy)
        opis = w_celu < 0 ? "Brak kopii " + target + " tabeli " + source
                          : "Kopia " + target + " tabeli " + source + " ma " +
                                std::to_string(w_celu) + " wierszy z " + std::to_string(w_zrodle);
    else
        opis = "Do tabeli " + target + " przeniesiono " +
               (w_celu < 0 ? std::string("?") : std::to_string(w_celu)) + " z " +
               std::to_string(w_zrodle) + " wierszy tabeli " + source;
    Blad_Krytyczny(copy ? "Sprawdz_Kopie" : "Sprawdz_Przeniesienie",
                   "Select count(*) from " + source_rows, opis);
}

// The characters of a text type as DDL writes it ("text(80)", "Text  (50) DEFAULT ''",
// "Text" 255); 0 for any other type.
int Rozmiar_Tekstu(const std::string& typ) {
    const std::string t = jet::text::upper(typ);
    if (!t.starts_with("TEXT")) return 0;
    const size_t a = t.find('(', 4);
    if (a == std::string::npos || t.find_first_not_of(' ', 4) != a) return 255;
    return std::atoi(t.c_str() + a + 1);
}

}  // namespace

void ClsKonwersje::Przytnij_Tekst(const std::string& table, const std::string& column, int size) {
    const jet::TableInfo* t = polaczenie().database().catalog().table(Bez_Nawiasow(table));
    const jet::ColumnInfo* c = t != nullptr ? t->column(Bez_Nawiasow(column)) : nullptr;
    if (c == nullptr ||
        (c->type != jet::DataType::Memo && (c->type != jet::DataType::Text || c->size <= size)))
        return;
    const std::string kolumna = "[" + c->name + "]";
    DbWykonajKonwersje(
        "update [" + t->name + "] set " + kolumna + "=" +
        Przytnij_Wartosc(t->name, "", c->name, "[" + t->name + "]", kolumna, "", size) +
        " where len(" + kolumna + ")>" + std::to_string(size));
}

std::string ClsKonwersje::Przytnij_Wartosc(const std::string& table, const std::string& alias,
                                           const std::string& column, const std::string& from,
                                           const std::string& value, const std::string& where,
                                           int size) {
    const jet::TableInfo* t = polaczenie().database().catalog().table(Bez_Nawiasow(table));
    const jet::ColumnInfo* c = t != nullptr ? t->column(Bez_Nawiasow(column)) : nullptr;
    if (c == nullptr) return value;
    if (size <= 0) size = c->type == jet::DataType::Text ? c->size : 0;
    if (size <= 0) return value;
    // The row is named by its primary key, else by its counter.
    std::vector<std::string> klucz;
    if (const jet::IndexInfo* pk = t->primary_key())
        for (const auto& ic : pk->columns) klucz.push_back(t->column_by_id(ic.column_id)->name);
    if (klucz.empty() && t->counter_column() != nullptr) klucz.push_back(t->counter_column()->name);
    const std::string przed = alias.empty() ? "" : alias + ".";
    std::string pola;
    for (const std::string& k : klucz) pola += przed + "[" + k + "], ";
    const std::string n = std::to_string(size);
    std::unique_ptr<ado::Recordset> rs;
    if (DbOtwórzSELKonwersje(rs,
                             pola + value + " from " + from + " where " +
                                 (where.empty() ? "" : "(" + where + ") and ") + "len(" + value +
                                 ")>" + n,
                             true) > 0)
        for (; !rs->Eof(); rs->MoveNext()) {
            std::string wiersz;
            for (size_t i = 0; i < klucz.size(); ++i)
                wiersz += klucz[i] + " = " + NzStr(rs->Fields(static_cast<int>(i)).value()) + ", ";
            Zapisz_Log_Kroku("Konwersja " + Wersja_Kroku(Krok_Konwersji) + ": " + t->name + "." +
                                 c->name + " " + wiersz + "'" +
                                 NzStr(rs->Fields(static_cast<int>(klucz.size())).value()) +
                                 "' skrócono do " + n + " znaków",
                             "Konwersja", Wersja_Kroku(Krok_Konwersji));
        }
    ZamknijRSKonwersje(rs);
    return "left(" + value + "," + n + ")";
}

void ClsKonwersje::Dodaj_Pole(const std::string& table, const std::string& definition) {
    DbWykonajKonwersje("alter table " + table + " add " + definition, false);
}

void ClsKonwersje::Zmien_Typ_Pola(const std::string& column, const std::string& new_type,
                                  const std::string& table, std::string& new_name) {
    const std::string etap = jet::text::upper(new_type) == "COUNTER" ? "Long" : new_type;
    if (new_name.empty()) new_name = column;
    const std::string tmp = kKolumnaTymczasowa;
    // A run of the suite's earlier tool that stopped inside a change through the
    // temporary column left it at any point of the change, and the step's changes are
    // repeated from its first: the table's schema tells where this change goes on from.
    switch (
        Rozstrzygnij_Kopie(table, table, {column, new_name, new_type, etap}, Wykonawca(*this))) {
        case Stan_Kopii::Zmiana_Zakonczona:
            break;
        case Stan_Kopii::Po_Usunieciu:
            Dokoncz_Zmiane_Typu(table, new_name, new_type);
            break;
        case Stan_Kopii::Po_Dodaniu:
            Oddaj_Kopie(table, new_name, Wykonawca(*this));
            CzekajKonwersje(1);
            break;
        default: {  // no temporary column, or its own copy beside its column: the change
                    // runs whole, its first statement dropping the copy
            DbWykonajKonwersje("alter table " + table + " drop COLUMN " + tmp + " ");
            DbWykonajKonwersje("alter table " + table + " ADD " + tmp + " " + etap);
            CzekajKonwersje(1);
            if (const int rozmiar = Rozmiar_Tekstu(etap); rozmiar > 0)
                Przytnij_Tekst(table, column, rozmiar);
            DbWykonajKonwersje("UPDATE " + table + " SET " + tmp + "=[" + column + "]");
            DbWykonajKonwersje("drop INDEX ind" + column + " ON " + table);
            DbWykonajKonwersje("drop INDEX " + column + " ON " + table);
            // An index of another name that holds the column goes with it and is made
            // again over the column added anew.
            const std::vector<Indeks_Tabeli> indeksy =
                Zdejmij_Indeksy_Pola(table, table, column, Wykonawca(*this));
            DbWykonajKonwersje("alter table " + table + " drop COLUMN " + column);
            Dokoncz_Zmiane_Typu(table, new_name, new_type);
            Odtworz_Indeksy_Pola(table, table, indeksy, column, new_name, Wykonawca(*this));
        }
    }
    // Whatever the route, the column does not stay as it was unseen.
    Sprawdz_Zmiane_Pola(table, {column, new_name, new_type, etap});
}

// The retype's second half: the column added anew with its type, filled back from the
// temporary column, which is dropped.
void ClsKonwersje::Dokoncz_Zmiane_Typu(const std::string& table, const std::string& new_name,
                                       const std::string& new_type) {
    DbWykonajKonwersje("alter table " + table + " ADD " + new_name + " " + new_type);
    CzekajKonwersje(1);
    Oddaj_Kopie(table, new_name, Wykonawca(*this));
    CzekajKonwersje(1);
}

void ClsKonwersje::Sprawdz_Kolumny_Tymczasowe() {
    for (const std::string& tabela : Tabele_Z_Kolumna_Tymczasowa())
        Rozstrzygnij_Kopie(tabela, "[" + tabela + "]", {}, Wykonawca(*this));
}

void ClsKonwersje::Zmien_Typ_Pola(const std::string& column, const std::string& new_type,
                                  const std::string& table) {
    std::string nazwa;
    Zmien_Typ_Pola(column, new_type, table, nazwa);
}

std::string ClsKonwersje::Poszerz_Pola_Z_SQLKonwersje(const std::string& statement,
                                                      int32_t& records_affected) {
    // The same repair as the module's: widen the short text columns of the statement's
    // table and run the statement once more.
    return Poszerz_Pola_Z_SQL(statement, records_affected);
}

void ClsKonwersje::CzekajKonwersje(int32_t seconds) {
    // Counts changes of the clock's second and shows the seconds left on status line 3.
    // A wait of 0 still waits for one change (and shows -1). With fast waits the
    // countdown is shown without waiting.
    int32_t licznik = 0;
    const bool szybko = platform::fast_wait();
    long poprzedni = Zegar_HHMMSS();
    do {
        if (!szybko) {
            long teraz = Zegar_HHMMSS();
            while (teraz == poprzedni) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                teraz = Zegar_HHMMSS();
            }
            poprzedni = teraz;
        }
        ++licznik;
        Pokaz_Postep("", "", std::to_string(seconds - licznik));
    } while (licznik < seconds);
}

int64_t ClsKonwersje::Liczba_Z_Zapytania(const std::string& text) {
    std::unique_ptr<ado::Recordset> rs;
    int64_t n = -1;
    if (DbOtwórzSELKonwersje(rs, text, true) > 0) n = NzLng(rs->Fields(0).value());
    ZamknijRSKonwersje(rs);
    return n;
}

bool ClsKonwersje::Jest_Tabela(const std::string& table, const std::string& column) {
    std::unique_ptr<ado::Recordset> rs;
    const std::string pola = column.empty() ? "*" : "[" + column + "]";
    const bool jest = DbOtwórzSELKonwersje(rs, pola + " from [" + table + "] where 0=1", true) >= 0;
    ZamknijRSKonwersje(rs);
    return jest;
}

void ClsKonwersje::Konwersja_Przerwana(int krok, const std::string& stan) {
    throw jet::Error(jet::hr::Unspecified,
                     "Poprzednia konwersja do wersji " + Wersja_Kroku(krok) +
                         " została przerwana " + stan +
                         ". Konwersję zatrzymano; baza zostaje w stanie, w jakim tamta "
                         "konwersja ją zostawiła. Co można zrobić - patrz README, rozdział "
                         "\"A step that the earlier conversion tool left half done\".");
}

void ClsKonwersje::Usun_Pozostala_Kopie(const std::string& source, const std::string& copy,
                                        const std::string& rows) {
    if (!Jest_Tabela(copy) || !Jest_Tabela(source)) return;
    const std::string zrodlo = rows.empty() ? "[" + source + "]" : rows;
    const int64_t w_zrodle = Liczba_Wierszy(*this, zrodlo);
    // With no rows left to move, the copy may be their only record: it stays.
    if (w_zrodle <= 0) return;
    const int64_t w_kopii = Liczba_Wierszy(*this, "[" + copy + "]");
    if (w_kopii >= 0 && w_kopii <= w_zrodle) {
        DbWykonajKonwersje("drop table [" + copy + "]");
        return;
    }
    // More rows than the source: the copy may hold rows that the source has lost since.
    Blad_Krytyczny("Usun_Pozostala_Kopie", "Select count(*) from [" + copy + "]",
                   "Kopia " + copy + " tabeli " + source + " ma " + std::to_string(w_kopii) +
                       " wierszy, więcej niż tabela (" + std::to_string(w_zrodle) + ")");
}

void ClsKonwersje::Sprawdz_Kopie(const std::string& source, const std::string& copy,
                                 const std::string& rows) {
    Sprawdz_Wiersze(*this, source, copy, rows.empty() ? "[" + source + "]" : rows, "[" + copy + "]",
                    true);
}

void ClsKonwersje::Sprawdz_Przeniesienie(const std::string& source, const std::string& target,
                                         const std::string& source_rows,
                                         const std::string& target_rows) {
    Sprawdz_Wiersze(*this, source, target, source_rows, target_rows, false);
}

void ClsKonwersje::Sprawdz_Przeniesione_Wartosci(const Przeniesione_Wartosci& p) {
    if (!Jest_Tabela(p.zrodlo)) return;
    std::string rowne;
    for (const auto& [w_celu, w_zrodle] : p.pola) {
        if (!Jest_Tabela(p.zrodlo, w_zrodle)) continue;
        const std::string z = p.alias + ".[" + w_zrodle + "]";
        // A source value not given matches a target value not given, or any where the carry
        // leaves the target's own.
        const std::string bez_wartosci =
            p.zostawia_cel ? z + " IS NULL" : "(" + w_celu + " IS NULL AND " + z + " IS NULL)";
        rowne += " AND (" + w_celu + "=" + z + " OR " + bez_wartosci + ")";
    }
    if (rowne.empty()) return;
    // Each joined row that no source row tied to its target row matches on every value.
    const std::string brak = "(" + p.zlaczenie + ") LEFT JOIN [" + p.zrodlo + "] AS " + p.alias +
                             " ON (" + p.powiazanie + rowne + ") WHERE " +
                             (p.warunek.empty() ? "" : "(" + p.warunek + ") AND ") + p.alias + "." +
                             p.klucz + " IS NULL";
    const int64_t n = Liczba_Wierszy(*this, brak);
    if (n == 0) return;
    const std::string opis =
        n < 0 ? "Nie można policzyć wierszy tabeli " + p.zrodlo + " (przeniesione do " + p.cel + ")"
              : "Do tabeli " + p.cel + " nie przeniesiono wartości " + std::to_string(n) +
                    " wierszy tabeli " + p.zrodlo;
    Blad_Krytyczny("Sprawdz_Przeniesione_Wartosci", "Select count(*) from " + brak, opis);
}

ClsKonwersje::Oczekiwany_Blad ClsKonwersje::Tabela_Z_Wczesniejszego_Przebiegu(
    const std::string& table, const std::string& selection, const std::string& key) {
    return {
        {jet::Fault::TableExists},
        "tabela " + table + " z wcześniejszego przebiegu zawiera wszystkie kopiowane wiersze",
        [this, table, selection, key] { return Wiersze_W_Tabeli(*this, table, selection, key); }};
}

ClsKonwersje::Oczekiwany_Blad ClsKonwersje::Pusta_Tabela_Z_Wczesniejszego_Przebiegu(
    const std::string& table, const std::string& pattern) {
    return {{jet::Fault::TableExists},
            "tabela " + table + " z wcześniejszego przebiegu ma kolumny tabeli " + pattern,
            [this, table, pattern] {
                // The copy took the pattern's columns, the id that heads them first; the
                // steps may since have added, dropped or moved other columns of either.
                const auto wzor = Czytaj_Wiersze(*this, "* from [" + pattern + "] where 0=1");
                const auto tabela = Czytaj_Wiersze(*this, "* from [" + table + "] where 0=1");
                return wzor && tabela && !wzor->kolumny.empty() &&
                       std::ranges::find(tabela->kolumny, wzor->kolumny.front()) !=
                           tabela->kolumny.end();
            }};
}

ClsKonwersje::Oczekiwany_Blad ClsKonwersje::Wiersz_Z_Wczesniejszego_Przebiegu(
    const std::string& rows) {
    return {{jet::Fault::Duplicate}, "wiersz z wcześniejszego przebiegu: " + rows, [this, rows] {
                return Liczba_Wierszy(*this, rows) > 0;
            }};
}

void ClsKonwersje::Dodaj_Wiersze_Gdy_Brak(const std::string& statement, const std::string& rows,
                                          bool quiet) {
    if (Liczba_Wierszy(*this, rows) > 0) return;
    DbWykonajKonwersje(statement, Wiersz_Z_Wczesniejszego_Przebiegu(rows), quiet);
}

ClsKonwersje::Oczekiwany_Blad ClsKonwersje::Wartosci_Z_Wczesniejszego_Przebiegu(
    const Przeniesione_Wartosci& p) {
    return {{jet::Fault::MissingParameter},
            "wartości tabeli " + p.zrodlo + " przeniesione do tabeli " + p.cel,
            [this, p] {
                Sprawdz_Przeniesione_Wartosci(p);
                return true;
            }};
}

ClsKonwersje::Oczekiwany_Blad ClsKonwersje::Powtorzona_Wartosc(const std::string& table,
                                                               const std::string& column) {
    return {{jet::Fault::Duplicate},
            "tabela " + table + " ma powtórzoną wartość " + column,
            [this, table, column] {
                return Liczba_Z_Zapytania("top 1 count(*)" + Powtorzony_Klucz(table, column)) > 1;
            }};
}

std::string Powtorzony_Klucz(const std::string& tabela, const std::string& klucz,
                             const std::string& warunek) {
    std::string pelne;  // every column of the key has a value
    for (size_t od = 0; od <= klucz.size();) {
        const size_t przecinek = std::min(klucz.find(',', od), klucz.size());
        pelne += (od ? " and " : "") + klucz.substr(od, przecinek - od) + " is not null";
        od = przecinek + 1;
    }
    return " from " + tabela + " where " + pelne + warunek + " group by " + klucz +
           " having count(*)>1";
}
