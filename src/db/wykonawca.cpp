#include "db/wykonawca.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>
#include <variant>

#include "ado/ado.h"
#include "db/komunikaty.h"
#include "db/naprawy.h"
#include "db/otworz.h"
#include "db/polaczenie.h"
#include "db/stan.h"
#include "db/wykonaj.h"
#include "jet/catalog.h"
#include "jet/database.h"
#include "jet/dates.h"
#include "jet/rowaccess.h"
#include "jet/sql/ast.h"
#include "jet/sql/parser.h"
#include "jet/text.h"
#include "jet/value.h"
#include "platform/clipboard.h"

namespace {

bool zawiera(std::string_view tekst, std::string_view fragment) {
    return tekst.find(fragment) != std::string_view::npos;
}

// The Abort/Retry/Ignore question of the executors; Abort ends the process. True for
// Retry.
bool pytaj_ponow(std::string_view wynik, std::string_view polecenie) {
    const int32_t odp =
        FMsg_box(std::string(wynik) + "\r\n" + std::string(polecenie), vbAbortRetryIgnore,
                 "błąd:  " + std::string(wynik) + " w " + Biezaca_Operacja);
    if (odp == vbAbort) Wylogowanie();
    return odp == vbRetry;
}

// The bracketed name that starts at pos, blanks skipped (through its "]"), or the plain
// word that starts there (up to a blank, ")" or "."), put in brackets; pos is left after
// it.
std::string nazwa_od(std::string_view tekst, size_t& pos) {
    while (pos < tekst.size() && tekst[pos] == ' ') ++pos;
    const size_t poczatek = pos;
    if (pos < tekst.size() && tekst[pos] == '[') {
        const size_t koniec = tekst.find(']', pos);
        if (koniec != std::string_view::npos) {
            pos = koniec + 1;
            return std::string(tekst.substr(poczatek, pos - poczatek));
        }
    }
    pos = std::min(tekst.find_first_of(" ).", pos), tekst.size());
    return "[" + std::string(tekst.substr(poczatek, pos - poczatek)) + "]";
}

// The database prefix and the bracketed table of a statement: for a table of another
// file, written [path].[table], the two bracketed names; otherwise the statement's
// second word (the third of INSERT INTO) and the database's own path.
std::pair<std::string, std::string> prefiks_i_tabela(std::string_view pol) {
    const size_t p0 = pol.find('[');
    const size_t p1 = pol.find(']');
    if (p0 < p1 && p1 != std::string_view::npos && pol.substr(p1 + 1, 2) == ".[") {
        const size_t p2 = pol.find(']', p1 + 1);
        if (p2 != std::string_view::npos)
            return {std::string(pol.substr(p0, p1 - p0 + 1)),
                    std::string(pol.substr(p1 + 2, p2 - p1 - 1))};
    }
    size_t pos = std::min(pol.find(' '), pol.find('('));
    pos = pos == std::string_view::npos ? pol.size() : pos + 1;
    std::string tabela = nazwa_od(pol, pos);
    if (jet::text::upper(tabela) == "[INTO]") tabela = nazwa_od(pol, pos);
    return {"[" + Sciezka_Bazy + "]", tabela};
}

// The end of the message of a statement that changes rows and failed: its rows are as
// they were, and so is the database as of the last completed step.
constexpr const char* kDaneNieZmienione =
    "Polecenie zmieniające dane nie zostało wykonane. Konwersję zatrzymano; baza zostaje w "
    "ostatniej ukończonej wersji";

// The end of the message of a key or unique index that the rows cannot take.
constexpr const char* kKluczNieUtworzony =
    "Klucza nie utworzono. Konwersję zatrzymano; baza zostaje w ostatniej ukończonej wersji";

// The end of the message of an INSERT or UPDATE whose rows would repeat a key.
constexpr const char* kKluczPowtorzony =
    "Wiersze polecenia powtórzyłyby klucz tabeli; polecenia nie wykonano. Konwersję "
    "zatrzymano; baza zostaje w ostatniej ukończonej wersji";

// The rows of a key that a message lists; the others are counted.
constexpr size_t kWierszeKomunikatu = 5;

// A value as the message of a key names it: Null, a text in quotes, else its text.
std::string wartosc_klucza(const jet::Value& v) {
    if (v.is_null() || v.is_empty()) return "Null";
    return v.is_text() ? "'" + v.raw_text() + "'" : v.to_text();
}

// "1 wiersz", "2 wiersze", "5 wierszy": a count of rows in Polish.
std::string wierszy(int64_t n) {
    const int64_t j = n % 10, d = n % 100;
    const char* slowo = n == 1                                   ? "wiersz"
                        : j >= 2 && j <= 4 && (d < 12 || d > 14) ? "wiersze"
                                                                 : "wierszy";
    return std::to_string(n) + " " + slowo;
}

// The mend of rows that share the key value of the condition pierwszy in the table T: the
// second of them (by the table's counter, where the key does not hold it) named by what the
// user sees of it: the key's value and the first other column, not a counter nor a memo, in
// which it differs from the first; where no such column tells them apart, by its counter.
// The key's last column of that row set anew, or (usun: a column that names another
// table's row, whose new value would move the row's figures onto another item) the row
// deleted. "" when nothing tells the two rows apart (rows alike whole are one row by the
// rule of the key).
std::string naprawa_powtorzenia(const jet::sql::CreateIndex& indeks, const std::string& T,
                                const std::string& pierwszy, bool usun) {
    const jet::TableInfo* t = polaczenie().database().catalog().table(indeks.table);
    const jet::ColumnInfo* licznik = t ? t->counter_column() : nullptr;
    const auto w_kluczu = [&](std::string_view n) {
        return std::any_of(
            indeks.columns.begin(), indeks.columns.end(),
            [&](const jet::sql::IndexColumn& c) { return jet::text::same_name(c.name, n); });
    };
    std::unique_ptr<ado::Recordset> rs;
    std::vector<std::vector<jet::Value>> dwa;
    std::vector<std::string> nazwy;
    if (DbOtwórzRS(rs,
                   "SELECT * FROM " + T + " WHERE " + pierwszy +
                       (licznik ? " ORDER BY [" + licznik->name + "]" : ""),
                   kOtworzOdczyt)
            .empty()) {
        for (int i = 0; i < rs->FieldCount(); ++i) nazwy.push_back(rs->Fields(i).Name());
        for (; !rs->Eof() && dwa.size() < 2; rs->MoveNext()) {
            dwa.emplace_back();
            for (int i = 0; i < rs->FieldCount(); ++i) dwa.back().push_back(rs->Fields(i).value());
        }
    }
    ZamknijRS(rs);
    if (dwa.size() < 2) return "";
    std::string ktory;
    for (size_t i = 0; i < nazwy.size() && ktory.empty(); ++i) {
        const jet::ColumnInfo* c = t ? t->column(nazwy[i]) : nullptr;
        if (w_kluczu(nazwy[i]) || (c && (c->type == jet::DataType::Memo || c->counter)) ||
            dwa[0][i] == dwa[1][i])
            continue;
        const bool pusta = dwa[1][i].is_null() || dwa[1][i].is_empty();
        ktory = pierwszy + " AND [" + nazwy[i] + "]" +
                (pusta ? " IS NULL" : " = " + Literal_SQL(dwa[1][i]));
    }
    for (size_t i = 0; i < nazwy.size() && ktory.empty(); ++i) {
        const jet::ColumnInfo* c = t ? t->column(nazwy[i]) : nullptr;
        if (c && c->counter && !(dwa[0][i] == dwa[1][i]))
            ktory = (w_kluczu(nazwy[i]) ? "" : pierwszy + " AND ") + "[" + nazwy[i] +
                    "] = " + Literal_SQL(dwa[1][i]);
    }
    if (ktory.empty()) return "";
    if (usun) return "DELETE FROM " + T + " WHERE " + ktory;
    return "UPDATE " + T + " SET [" + indeks.columns.back().name + "] = WARTOŚĆ WHERE " + ktory;
}

// The mend of a Null in the key (naprawa: "... WHERE [COLUMN] IS NULL") for the first such
// row alone: " AND " and its counter, where the table has one that the key does not hold
// and more rows than one hold the Null; "" otherwise.
std::string pierwszy_pusty(const jet::sql::CreateIndex& indeks, const std::string& T,
                           const std::string& naprawa) {
    const jet::TableInfo* t = polaczenie().database().catalog().table(indeks.table);
    const jet::ColumnInfo* licznik = t ? t->counter_column() : nullptr;
    if (licznik == nullptr || std::any_of(indeks.columns.begin(), indeks.columns.end(),
                                          [&](const jet::sql::IndexColumn& c) {
                                              return jet::text::same_name(c.name, licznik->name);
                                          }))
        return "";
    const std::string warunek = naprawa.substr(naprawa.rfind(" WHERE ") + 7);
    std::unique_ptr<ado::Recordset> rs;
    std::vector<jet::Value> liczniki;
    if (DbOtwórzRS(rs,
                   "SELECT TOP 2 [" + licznik->name + "] FROM " + T + " WHERE " + warunek +
                       " ORDER BY [" + licznik->name + "]",
                   kOtworzOdczyt)
            .empty())
        for (; !rs->Eof(); rs->MoveNext()) liczniki.push_back(rs->Fields(0).value());
    ZamknijRS(rs);
    return liczniki.size() < 2 ? ""
                               : " AND [" + licznik->name + "] = " + Literal_SQL(liczniki.front());
}

// The rows that keep the index of a CREATE INDEX from being made: "Wiersze: " and, for
// each row with a Null in the key (NullInKey), its key values, or, for each value that
// rows share, Nulls apart (Duplicate), the value and how many rows hold it, "; " between
// them; kWierszeKomunikatu of them, then how many more. naprawa receives the statement
// with which a user mends the first of them in jetsql: the Null given a value, or one of
// the rows that share it mended (naprawa_powtorzenia, usun). "" for another statement, an index on
// another file's table, or rows that cannot be read.
std::string wiersze_lamiace_klucz(std::string_view polecenie, jet::Fault blad, std::string& naprawa,
                                  bool usun, const std::string& grupa = "") {
    try {
        const jet::sql::Statement zdanie = jet::sql::parse(polecenie);
        const auto* indeks = std::get_if<jet::sql::CreateIndex>(&zdanie);
        if (indeks == nullptr || !indeks->database.empty() || indeks->columns.empty()) return "";
        const bool pusty = blad == jet::Fault::NullInKey;
        const std::string T = "[" + indeks->table + "]";
        std::string kolumny, warunek;
        for (const jet::sql::IndexColumn& c : indeks->columns) {
            const std::string k = "[" + c.name + "]";
            kolumny += (kolumny.empty() ? "" : ", ") + k;
            warunek += (warunek.empty() ? ""
                        : pusty         ? " OR "
                                        : " AND ") +
                       k + (pusty ? " IS NULL" : " IS NOT NULL");
        }
        std::unique_ptr<ado::Recordset> rs;
        std::string wiersze, pierwszy;  // pierwszy: the first value's condition
        size_t n = 0;
        const size_t kol = indeks->columns.size();
        if (DbOtwórzRS(rs,
                       "SELECT " + kolumny + (pusty ? "" : ", Count(*)") + " FROM " + T +
                           " WHERE " + warunek +
                           (pusty ? "" : " GROUP BY " + kolumny + " HAVING Count(*) > 1"),
                       kOtworzOdczyt)
                .empty()) {
            for (; !rs->Eof(); rs->MoveNext(), ++n) {
                if (n >= kWierszeKomunikatu) continue;
                std::string wiersz;
                for (size_t i = 0; i < kol; ++i) {
                    const jet::Value v = rs->Fields(static_cast<int>(i)).value();
                    const std::string& nazwa = indeks->columns[i].name;
                    wiersz += (i ? ", " : "") + nazwa + " = " + wartosc_klucza(v);
                    if (n == 0 && pusty && v.is_null() && naprawa.empty())
                        naprawa = "UPDATE " + T + " SET [" + nazwa + "] = WARTOŚĆ WHERE [" + nazwa +
                                  "] IS NULL";
                    if (n == 0 && !pusty)
                        pierwszy += (i ? " AND [" : "[") + nazwa + "] = " + Literal_SQL(v);
                }
                if (!pusty)
                    wiersz +=
                        " (" + wierszy(rs->Fields(static_cast<int>(kol)).value().to_long()) + ")";
                wiersze += (wiersze.empty() ? "Wiersze: " : "; ") + wiersz;
            }
        }
        ZamknijRS(rs);
        if (n > kWierszeKomunikatu)
            wiersze += " i jeszcze " + std::to_string(n - kWierszeKomunikatu);
        if (!pierwszy.empty())
            naprawa = naprawa_powtorzenia(*indeks, T, grupa.empty() ? pierwszy : grupa, usun);
        if (pusty && !naprawa.empty()) naprawa += pierwszy_pusty(*indeks, T, naprawa);
        return wiersze;
    } catch (const jet::Error&) {
        return "";
    }
}

// The rule of the keys that the conversion installs (Ustaw_Regule_Kluczy).
Regula_Kluczy& regula_kluczy() {
    static Regula_Kluczy regula;
    return regula;
}
Regula_Powtorzen& regula_powtorzen() {
    static Regula_Powtorzen regula;
    return regula;
}

// The end of the stop's message on a key that the rows cannot take, or that an INSERT or
// UPDATE would make them repeat (see Rozstrzygnij_Pominiecie), with the statement that
// failed put on the clipboard, not one an earlier failure left; d the rule's decision: why
// no rule keeps the rows ("" when none is known), its mend of that cause ("": the key's
// own), the key of a statement that writes rows.
std::string koniec_klucza(std::string_view polecenie, const Wynik_Polecenia& w,
                          const Decyzja_Klucza& d = {}) {
    platform::set_clipboard(std::string(polecenie));
    const std::string_view klucz = d.klucz.empty() ? polecenie : std::string_view(d.klucz);
    std::string naprawa, wiersze;
    if (d.powtorzenie)
        wiersze = wiersze_lamiace_klucz(klucz, jet::Fault::Duplicate, naprawa, d.usun, d.grupa);
    if (wiersze.empty()) {
        naprawa.clear();
        wiersze = wiersze_lamiace_klucz(klucz, *w.blad, naprawa, d.usun);
    }
    if (!d.naprawa.empty()) naprawa = d.naprawa;
    std::string koniec = Klucz_Powtorzony(w, polecenie) ? kKluczPowtorzony : kKluczNieUtworzony;
    if (!d.powod.empty()) koniec.insert(koniec.find('.'), " (" + d.powod + ")");
    return (wiersze.empty() ? "" : wiersze + ". ") + koniec +
           (naprawa.empty() ? "" : ". Naprawa w jetsql --suite: " + naprawa);
}

// The key or unique index of a statement, for the rule of the keys; nullopt for another
// statement.
std::optional<jet::sql::CreateIndex> indeks_polecenia(std::string_view polecenie) {
    try {
        jet::sql::Statement zdanie = jet::sql::parse(polecenie);
        if (auto* indeks = std::get_if<jet::sql::CreateIndex>(&zdanie)) return std::move(*indeks);
    } catch (const jet::Error&) {
    }
    return std::nullopt;
}

// The engine's reports name the step being run, as its version ("3.01"; "-" outside
// the steps).
[[maybe_unused]] const bool kRaportyZKrokiem = (jet::reports::set_step_label([] {
                                                    if (Krok_Konwersji == 0)
                                                        return std::string("-");
                                                    const int k = Krok_Konwersji;
                                                    return std::to_string(k / 100) + "." +
                                                           std::to_string(k % 100 / 10) +
                                                           std::to_string(k % 10);
                                                }),
                                                true);

}  // namespace

std::string Literal_SQL(const jet::Value& v) {
    if (v.is_text()) {
        std::string t = "'";
        for (const char c : v.raw_text()) t += c == '\'' ? std::string("''") : std::string(1, c);
        return t + "'";
    }
    if (v.kind() == jet::Value::Kind::Date) {
        const jet::dates::Parts d = jet::dates::from_serial(v.raw_double());
        char tekst[48];
        std::snprintf(tekst, sizeof tekst, "#%d/%d/%d %02d:%02d:%02d#", d.month, d.day, d.year,
                      d.hour, d.minute, d.second);
        return tekst;
    }
    if (v.kind() == jet::Value::Kind::Boolean) return v.raw_int() ? "True" : "False";
    std::string t = v.to_text();
    std::replace(t.begin(), t.end(), ',', '.');
    return t;
}

Wynik_Polecenia Wynik_Bledu(const jet::Error& e) {
    return {result_text(e), e.number(), e.description(), e.fault()};
}

std::string Opis_Bledu(const Wynik_Polecenia& w) {
    return result_text(jet::Error(w.numer, w.opis));
}

void Ustaw_Regule_Kluczy(Regula_Kluczy regula) {
    regula_kluczy() = std::move(regula);
}

void Ustaw_Regule_Powtorzen(Regula_Powtorzen regula) {
    regula_powtorzen() = std::move(regula);
}

bool Rozstrzygnij_Pominiecie(std::string_view etykieta, std::string_view polecenie,
                             const Wynik_Polecenia& w, const Oczekiwany_Blad& oczekiwany,
                             const Ponowienie& ponow) {
    const bool klucz = Klucz_Nie_Utworzony(w, polecenie);
    if (!klucz && !Polecenie_Danych(polecenie)) return false;
    const std::string blad = Opis_Bledu(w);
    const bool oczekiwana = w.blad && std::find(oczekiwany.bledy.begin(), oczekiwany.bledy.end(),
                                                *w.blad) != oczekiwany.bledy.end();
    if (Klucz_Powtorzony(w, polecenie) && !oczekiwana) {
        // The rule's work is one unit: where no rule keeps the rows, the stop's message is
        // read while the rows that repeat the key stand, then all of it is undone.
        const Ponowienie raz = [&] {
            int32_t rekordy = -1;
            return Wykonaj_Raz(polecenie, rekordy, false, {});
        };
        struct Wycofaj {};
        std::string stop;
        try {
            jet::atomically(polaczenie().database(), [&] {
                Decyzja_Klucza d;
                if (regula_powtorzen()) d = regula_powtorzen()(polecenie, ponow ? ponow : raz);
                if (d.los != Los_Klucza::Bez_Reguly) return;
                stop = blad + ". " + koniec_klucza(polecenie, w, d);
                throw Wycofaj{};
            });
        } catch (const Wycofaj&) {
        }
        if (stop.empty()) return true;
        Blad_Krytyczny(etykieta, polecenie, stop);
    }
    if (klucz && !oczekiwana) {
        Decyzja_Klucza d;
        const std::optional<jet::sql::CreateIndex> indeks = indeks_polecenia(polecenie);
        if (indeks && regula_kluczy()) d = regula_kluczy()(*indeks, *w.blad);
        if (d.los == Los_Klucza::Odlozony) return true;
        if (d.los == Los_Klucza::Dopasowany) {
            int32_t rekordy = -1;
            const Wynik_Polecenia po = ponow ? ponow() : Wykonaj_Raz(polecenie, rekordy, false, {});
            if (po.numer == 0 && po.tekst.empty()) return true;
            Blad_Krytyczny(etykieta, polecenie,
                           Opis_Bledu(po) + (Klucz_Nie_Utworzony(po, polecenie)
                                                 ? ". " + koniec_klucza(polecenie, po)
                                                 : ""));
        }
        Blad_Krytyczny(etykieta, polecenie, blad + ". " + koniec_klucza(polecenie, w, d));
    }
    if (!oczekiwana) Blad_Krytyczny(etykieta, polecenie, blad + ". " + kDaneNieZmienione);
    if (!oczekiwany.sprawdz || !oczekiwany.sprawdz())
        Blad_Krytyczny(etykieta, polecenie,
                       blad + ". Oczekiwany stan bazy nie zachodzi: " + oczekiwany.stan + ". " +
                           (klucz ? koniec_klucza(polecenie, w) : kDaneNieZmienione));
    Zapisz_Log(polecenie, etykieta, blad + ". Oczekiwany stan bazy zachodzi: " + oczekiwany.stan);
    return false;
}

bool Klucz_Nie_Utworzony(const Wynik_Polecenia& w, std::string_view polecenie) {
    return (w.blad == jet::Fault::Duplicate || w.blad == jet::Fault::NullInKey) &&
           !Polecenie_Danych(polecenie);
}

bool Klucz_Powtorzony(const Wynik_Polecenia& w, std::string_view polecenie) {
    if (w.blad != jet::Fault::Duplicate) return false;
    try {
        const jet::sql::Statement zdanie = jet::sql::parse(polecenie);
        return std::holds_alternative<jet::sql::Insert>(zdanie) ||
               std::holds_alternative<jet::sql::Update>(zdanie);
    } catch (const jet::Error&) {
        return false;
    }
}

bool Utrata_Polaczenia(const Wynik_Polecenia& w) {
    return w.numer == jet::hr::Unspecified && w.blad != jet::Fault::Duplicate &&
           w.blad != jet::Fault::NullInKey;
}

bool Zablokowany_Plik(const Wynik_Polecenia& w) {
    return w.blad == jet::Fault::FileLocked ||
           (w.numer == jet::hr::Unspecified &&
            w.opis == jet::fault_template(jet::Fault::FileLocked));
}

Ponowienie Ponowienie_Przez(std::function<void()> wykonaj) {
    return [wykonaj = std::move(wykonaj)] {
        try {
            wykonaj();
            return Wynik_Polecenia{};
        } catch (const jet::Error& e) {
            return Wynik_Bledu(e);
        }
    };
}

bool Awaria_Srodowiska(const Wynik_Polecenia& w) {
    return w.numer != 0 && jet::environment_failure(w.numer, w.opis);
}

bool Awaria_Srodowiska(std::string_view tekst_wyniku) {
    const std::optional<jet::Error> blad = failure_of_result_text(tekst_wyniku);
    return blad && jet::environment_failure(*blad);
}

bool Pasuje(std::span<const Regula_Bledu> reguly, const Wynik_Polecenia& w,
            std::string_view polecenie) {
    if (reguly.empty() || Awaria_Srodowiska(w) || Klucz_Nie_Utworzony(w, polecenie) ||
        Klucz_Powtorzony(w, polecenie))
        return false;
    const std::string duze = jet::text::upper(polecenie);
    std::optional<bool> danych;  // read once, when a rule with a keyword needs it
    return std::any_of(reguly.begin(), reguly.end(), [&](const Regula_Bledu& r) {
        if ((r.numer != 0 && r.numer != w.numer) || !zawiera(duze, r.slowo) ||
            !zawiera(w.opis, r.opis))
            return false;
        if (r.slowo.empty()) return true;
        if (!danych) danych = Polecenie_Danych(polecenie);
        return !*danych;
    });
}

bool Polecenie_Danych(std::string_view polecenie) {
    try {
        const jet::sql::Statement zdanie = jet::sql::parse(polecenie);
        if (const auto* select = std::get_if<jet::sql::Select>(&zdanie))
            return !select->into.empty();
        return std::holds_alternative<jet::sql::Insert>(zdanie) ||
               std::holds_alternative<jet::sql::Update>(zdanie) ||
               std::holds_alternative<jet::sql::Delete>(zdanie);
    } catch (const jet::Error&) {
        const std::string duze = jet::text::upper(polecenie);
        const size_t poczatek = duze.find_first_not_of(" \t\r\n(");
        if (poczatek == std::string::npos) return false;
        for (const std::string_view slowo : {"INSERT", "UPDATE", "DELETE"})
            if (duze.compare(poczatek, slowo.size(), slowo) == 0) return true;
        return duze.compare(poczatek, 6, "SELECT") == 0 && duze.find(" INTO ") != std::string::npos;
    }
}

Wynik_Polecenia Wykonaj_Raz(std::string_view polecenie, int32_t& rekordy, bool cicho,
                            std::span<const Regula_Bledu> pochlaniane) {
    rekordy = -1;
    try {
        if (!Baza_Otwarta) DbPolacz_Ponownie();
        polaczenie().CursorLocation = ado::adUseServer;
        polaczenie().Execute(polecenie, &rekordy, 1);
        return {};
    } catch (const jet::Error& e) {
        rekordy = -1;
        if (e.number() == jet::hr::TooLong) return Poszerz_I_Powtorz(polecenie, rekordy);
        Wynik_Polecenia w = Wynik_Bledu(e);
        if (Pasuje(kBledy_Usuwania, w, polecenie) || Pasuje(pochlaniane, w, polecenie)) return {};
        if (w.numer == jet::hr::Unspecified) {
            if (cicho && !Awaria_Srodowiska(w))
                w.tekst = "1";
            else if (Utrata_Polaczenia(w))
                w.tekst = lost_connection_text(e);
        }
        return w;
    }
}

Wynik_Polecenia Poszerz_I_Powtorz(std::string_view polecenie, int32_t& rekordy) {
    try {
        const auto [prefiks, tabela] = prefiks_i_tabela(polecenie);
        if (!Poszerz_Pola_Tekstowe(prefiks, tabela, 0)) Poszerz_Pola_Tekstowe(prefiks, tabela, -1);
        polaczenie().Execute(polecenie, &rekordy, 1);
        return {};
    } catch (const jet::Error& e) {
        return Wynik_Bledu(e);
    }
}

Wynik_Polecenia Wykonaj_W_Petli(std::string& polecenie, int32_t& rekordy, bool cicho,
                                const Zasady_Wykonawcy& z, const Naprawa_Polecenia& naprawa,
                                const Oczekiwany_Blad& oczekiwany) {
    return Wykonaj_W_Petli_Po(Wykonaj_Raz(polecenie, rekordy, cicho, z.pochlaniane), polecenie,
                              rekordy, cicho, z, naprawa, oczekiwany);
}

Wynik_Polecenia Wykonaj_W_Petli_Po(Wynik_Polecenia w, std::string& polecenie, int32_t& rekordy,
                                   bool cicho, const Zasady_Wykonawcy& z,
                                   const Naprawa_Polecenia& naprawa,
                                   const Oczekiwany_Blad& oczekiwany) {
    const auto pominiety = [&] {
        return Rozstrzygnij_Pominiecie(z.etykieta, polecenie, w, oczekiwany) ? Wynik_Polecenia{}
                                                                             : w;
    };
    for (;; w = Wykonaj_Raz(polecenie, rekordy, cicho, z.pochlaniane)) {
        if (w.tekst.empty()) return w;
        if (w.tekst == "1") {
            Zapisz_Log(polecenie, z.etykieta, Opis_Bledu(w));
            return pominiety();
        }
        if (Utrata_Polaczenia(w) && z.ponowienia_utraty > 0 &&
            (!Awaria_Srodowiska(w) || Zablokowany_Plik(w))) {
            // A file that another workstation holds locked for a moment: run again at once,
            // the Log naming the failure. Any other failure of the environment (a full disk,
            // an I/O error) is asked about below.
            Zapisz_Log(polecenie, z.etykieta, "Ponowione od razu po błędzie: " + Opis_Bledu(w));
            for (int i = 0; i < z.ponowienia_utraty; ++i) {
                w = Wykonaj_Raz(polecenie, rekordy, false, z.pochlaniane);
                if (w.tekst.empty()) return w;
            }
        }
        platform::set_clipboard(polecenie);
        if (naprawa && naprawa(polecenie, w)) continue;
        if (Pasuje(z.tolerowane, w, polecenie) || Klucz_Nie_Utworzony(w, polecenie) ||
            Klucz_Powtorzony(w, polecenie))
            return pominiety();
        if (Pasuje(z.konczace, w, polecenie)) {
            FMsg_box(polecenie, vbCritical,
                     "Uwaga wystąpił następujący błąd:  " + w.tekst + " w " + Biezaca_Operacja);
            Wylogowanie();
        }
        Zapisz_Log(polecenie, z.etykieta, w.tekst);
        if (cicho && z.cicho_bez_pytania && !Awaria_Srodowiska(w)) return pominiety();
        if (!pytaj_ponow(w.tekst, polecenie)) return w;
    }
}
