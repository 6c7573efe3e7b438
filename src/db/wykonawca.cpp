#include "db/wykonawca.h"

#include <algorithm>
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

// A value as the message of a key names it: Null, a text in quotes, else its text.
std::string wartosc_klucza(const jet::Value& v) {
    if (v.is_null() || v.is_empty()) return "Null";
    return v.is_text() ? "'" + v.raw_text() + "'" : v.to_text();
}

// The key values of a row that keeps the index of a CREATE INDEX from being made, as
// "column = value, ...": the first row with a Null in the key (NullInKey), or the first
// value that two rows share, Nulls apart (Duplicate); "" for another statement, an index
// on another file's table, or a row that cannot be read.
std::string wiersz_lamiacy_klucz(std::string_view polecenie, jet::Fault blad) {
    try {
        const jet::sql::Statement zdanie = jet::sql::parse(polecenie);
        const auto* indeks = std::get_if<jet::sql::CreateIndex>(&zdanie);
        if (indeks == nullptr || !indeks->database.empty() || indeks->columns.empty()) return "";
        const bool pusty = blad == jet::Fault::NullInKey;
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
        std::string wiersz;
        if (DbOtwórzRS(rs,
                       "SELECT TOP 1 " + kolumny + " FROM [" + indeks->table + "] WHERE " +
                           warunek + (pusty ? "" : " GROUP BY " + kolumny + " HAVING Count(*) > 1"),
                       0)
                .empty())
            for (int i = 0; !rs->Eof() && i < rs->FieldCount(); ++i)
                wiersz += (i ? ", " : "") + indeks->columns[static_cast<size_t>(i)].name + " = " +
                          wartosc_klucza(rs->Fields(i).value());
        ZamknijRS(rs);
        return wiersz;
    } catch (const jet::Error&) {
        return "";
    }
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

Wynik_Polecenia Wynik_Bledu(const jet::Error& e) {
    return {result_text(e), e.number(), e.description(), e.fault()};
}

std::string Opis_Bledu(const Wynik_Polecenia& w) {
    return result_text(jet::Error(w.numer, w.opis));
}

void Rozstrzygnij_Pominiecie(std::string_view etykieta, std::string_view polecenie,
                             const Wynik_Polecenia& w, const Oczekiwany_Blad& oczekiwany) {
    const bool klucz = Klucz_Nie_Utworzony(w, polecenie);
    if (!klucz && !Polecenie_Danych(polecenie)) return;
    const std::string blad = Opis_Bledu(w);
    // The end of the stop's message: for a key, the key values of a row that breaks it,
    // with the statement that failed on the clipboard, not one an earlier failure left.
    const auto koniec = [&] {
        if (!klucz) return std::string(kDaneNieZmienione);
        platform::set_clipboard(std::string(polecenie));
        const std::string wiersz = wiersz_lamiacy_klucz(polecenie, *w.blad);
        return (wiersz.empty() ? "" : "Wiersz: " + wiersz + ". ") + kKluczNieUtworzony;
    };
    if (!w.blad || std::find(oczekiwany.bledy.begin(), oczekiwany.bledy.end(), *w.blad) ==
                       oczekiwany.bledy.end())
        Blad_Krytyczny(etykieta, polecenie, blad + ". " + koniec());
    if (!oczekiwany.sprawdz || !oczekiwany.sprawdz())
        Blad_Krytyczny(
            etykieta, polecenie,
            blad + ". Oczekiwany stan bazy nie zachodzi: " + oczekiwany.stan + ". " + koniec());
    Zapisz_Log(polecenie, etykieta, blad + ". Oczekiwany stan bazy zachodzi: " + oczekiwany.stan);
}

bool Klucz_Nie_Utworzony(const Wynik_Polecenia& w, std::string_view polecenie) {
    return (w.blad == jet::Fault::Duplicate || w.blad == jet::Fault::NullInKey) &&
           !Polecenie_Danych(polecenie);
}

bool Utrata_Polaczenia(const Wynik_Polecenia& w) {
    return w.numer == jet::hr::Unspecified && w.blad != jet::Fault::Duplicate &&
           w.blad != jet::Fault::NullInKey;
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
    if (reguly.empty() || Awaria_Srodowiska(w) || Klucz_Nie_Utworzony(w, polecenie)) return false;
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
        Rozstrzygnij_Pominiecie(z.etykieta, polecenie, w, oczekiwany);
        return w;
    };
    for (;; w = Wykonaj_Raz(polecenie, rekordy, cicho, z.pochlaniane)) {
        if (w.tekst.empty()) return w;
        if (w.tekst == "1") {
            Zapisz_Log(polecenie, z.etykieta, Opis_Bledu(w));
            return pominiety();
        }
        if (Utrata_Polaczenia(w)) {
            // A file that another workstation holds locked for a moment: run again at once.
            for (int i = 0; i < z.ponowienia_utraty; ++i) {
                w = Wykonaj_Raz(polecenie, rekordy, false, z.pochlaniane);
                if (w.tekst.empty()) return w;
            }
        }
        platform::set_clipboard(polecenie);
        if (naprawa && naprawa(polecenie, w)) continue;
        if (Pasuje(z.tolerowane, w, polecenie) || Klucz_Nie_Utworzony(w, polecenie))
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
