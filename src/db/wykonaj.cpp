#include "db/wykonaj.h"

#include <array>
#include <charconv>

#include "ado/ado.h"
#include "dao/dao.h"
#include "db/komunikaty.h"
#include "db/naprawy.h"
#include "db/polaczenie.h"
#include "db/stan.h"
#include "jet/error.h"
#include "jet/text.h"
#include "platform/clipboard.h"

namespace {

using jet::hr::MultipleStep;
using jet::hr::NoSuchTable;
using jet::hr::Syntax;
using jet::hr::TooLong;
using jet::hr::Unspecified;

constexpr int32_t s(uint32_t hr) {
    return static_cast<int32_t>(hr);
}

bool zawiera(std::string_view tekst, std::string_view fragment) {
    return tekst.find(fragment) != std::string_view::npos;
}

// Failures of schema statements that DbWykonaj returns without asking: a number and a
// keyword of the upper-cased statement.
struct Tolerowany {
    int32_t numer;
    std::string_view slowo;
};
constexpr std::array<Tolerowany, 8> kTolerowane{{
    {s(NoSuchTable), "DROP TABLE"},
    {s(NoSuchTable), "DROP COLUMN"},
    {s(Syntax), "DROP"},
    {s(MultipleStep), "DROP"},
    {s(MultipleStep), "ADD"},
    {s(Unspecified), "CREATE UNIQUE"},
    {s(Syntax), "CREATE TABLE"},
    {s(Syntax), "ADD"},
}};

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

}  // namespace

std::string result_text(const jet::Error& e) {
    return std::to_string(e.signed_number()) + "(" + e.description() + ")";
}

int32_t result_number(std::string_view wynik) {
    int32_t n = 0;
    std::from_chars(wynik.data(), wynik.data() + wynik.size(), n);
    return n;
}

std::string DbWykonajSQL(std::string_view polecenie, int32_t& rekordy, bool cicho) {
    rekordy = -1;
    try {
        if (!Baza_Otwarta) DbPolacz_Ponownie();
        polaczenie().CursorLocation = ado::adUseServer;
        polaczenie().Execute(polecenie, &rekordy, 1);
        return "";
    } catch (const jet::Error& e) {
        rekordy = -1;
        const std::string duze = jet::text::upper(polecenie);
        const uint32_t n = e.number();
        if (n == TooLong) return Poszerz_Pola_Z_SQL(polecenie, rekordy);
        if (n == NoSuchTable && zawiera(duze, "DROP TABLE ")) return "";
        if (n == NoSuchTable && zawiera(duze, "DROP COLUMN ")) return "";
        if (n == Syntax && zawiera(duze, "DROP ")) return "";
        if (n == MultipleStep && zawiera(duze, "DROP ")) return "";
        if (n == Unspecified) {
            if (cicho) return "1";
            return lost_connection_text(e);
        }
        return result_text(e);
    }
}

std::string Poszerz_Pola_Z_SQL(std::string_view polecenie, int32_t& rekordy) {
    try {
        const auto [prefiks, tabela] = prefiks_i_tabela(polecenie);
        if (!Poszerz_Pola_Tekstowe(prefiks, tabela, 0)) Poszerz_Pola_Tekstowe(prefiks, tabela, -1);
        polaczenie().Execute(polecenie, &rekordy, 1);
        return "";
    } catch (const jet::Error& e) {
        return result_text(e);
    }
}

std::string DbWykonaj(std::string_view polecenie, int16_t bez_bledu, int32_t& rekordy) {
    for (;;) {
        const std::string r = DbWykonajSQL(polecenie, rekordy, false);
        if (r.empty()) return "";
        if (bez_bledu) {
            Zapisz_Log(polecenie, "DbWykonajNoError", "Error: " + r);
            return r;
        }
        platform::set_clipboard(polecenie);
        const int32_t numer = result_number(r);
        const std::string duze = jet::text::upper(polecenie);
        for (const Tolerowany& t : kTolerowane)
            if (numer == t.numer && zawiera(duze, t.slowo)) return r;
        Zapisz_Log(polecenie, "DbWykonaj", r);
        if (!pytaj_ponow(r, polecenie)) return r;
    }
}

std::string DbWykonaj(std::string_view polecenie, int16_t bez_bledu) {
    int32_t rekordy = -1;
    return DbWykonaj(polecenie, bez_bledu, rekordy);
}

int32_t DbWykonajUPD(std::string_view polecenie, std::string_view tabela, std::string_view wartosci,
                     std::string_view warunek, std::string_view, bool cicho) {
    std::string pol;
    if (polecenie.empty()) {
        pol = "UPDATE " + std::string(tabela) + " set " + std::string(wartosci);
        if (!warunek.empty()) pol += " Where " + std::string(warunek);
    } else {
        pol = "UPDATE " + std::string(polecenie);
    }
    for (;;) {
        int32_t rekordy = -1;
        std::string r = DbWykonajSQL(pol, rekordy, cicho);
        if (r.empty() || r == "1") return rekordy;
        if (zawiera(r, "-2147467259(")) {
            // A file that another workstation holds locked for a moment: run again at once.
            for (int i = 0; i < 150; ++i) {
                r = DbWykonajSQL(pol, rekordy, false);
                if (r.empty()) return rekordy;
            }
        }
        platform::set_clipboard(pol);
        if (zawiera(r, "-2147217904(") ||
            zawiera(r, "No value given for one or more required parameters.")) {
            FMsg_box(pol, vbCritical,
                     "Uwaga wystąpił następujący błąd:  " + r + " w " + Biezaca_Operacja);
            Wylogowanie();
        }
        Zapisz_Log(pol, "DbWykonajUPD", r);
        if (!pytaj_ponow(r, pol)) return rekordy;
    }
}

int32_t DbWykonajDEL(std::string_view tabela_i_warunek, std::string_view co) {
    const std::string pol = "DELETE " + std::string(co) + " FROM " + std::string(tabela_i_warunek);
    for (;;) {
        int32_t rekordy = -1;
        const std::string r = DbWykonajSQL(pol, rekordy, false);
        if (r.empty()) return rekordy;
        platform::set_clipboard(pol);
        Zapisz_Log(pol, "DbWykonajDEL", r);
        if (!pytaj_ponow(r, pol)) return -1;
    }
}

std::string DbWykonajDAO(std::string_view polecenie, const std::shared_ptr<dao::Database>& baza) {
    try {
        if (!baza)
            throw jet::Error(jet::hr::NotAllowed, "Object variable or With block variable not set");
        baza->Execute(polecenie);
        return "";
    } catch (const jet::Error& e) {
        return e.description();
    }
}

std::string lost_connection_text(const jet::Error& e) {
    return std::to_string(e.signed_number()) +
           "(Zostało utracone połączenie z bazą lub jest ona zablokowana !) " + e.description();
}
