// The conversion class's own executors. A conversion must be able to run again over
// a partly converted database, so the main executor absorbs every expected schema
// failure (by number and keyword, and by seven fragments of the description) and ends
// the process on any other: a step never goes on after a statement that really failed.
#include <array>
#include <string_view>

#include "db/komunikaty.h"
#include "db/otworz.h"
#include "db/polaczenie.h"
#include "db/stan.h"
#include "db/wykonaj.h"
#include "driver/konwersje.h"
#include "jet/error.h"
#include "jet/text.h"
#include "platform/clipboard.h"

namespace {

constexpr int kPolecenieTekstowe = 1;  // Execute's option: the statement is command text

bool zawiera(std::string_view tekst, std::string_view fragment) {
    return tekst.find(fragment) != std::string_view::npos;
}

struct Para {
    uint32_t numer;
    std::string_view slowo;
};

// The expected schema failures of DbWykonajKonwersje: the failure's number and a
// keyword of the upper-cased statement, tested in this order.
constexpr std::array<Para, 8> kParyKonwersji = {{
    {jet::hr::NoSuchTable, "DROP TABLE"},
    {jet::hr::NoSuchTable, "DROP COLUMN"},
    {jet::hr::Syntax, "DROP"},
    {jet::hr::MultipleStep, "DROP"},
    {jet::hr::MultipleStep, "ADD"},
    {jet::hr::Unspecified, "CREATE UNIQUE"},
    {jet::hr::Syntax, "CREATE TABLE"},
    {jet::hr::Syntax, "ADD"},
}};

// Fragments of the engine's description that mark an expected failure (matched
// exactly, case-sensitive, in the provider's languages).
constexpr std::array<std::string_view, 7> kFragmenty = {
    "Nie podano wartości dla jednego",
    "No such index",
    "There is no field",
    "duplicate values",
    "already exists",
    "doesn't exist",
    "The database engine couldn't lock table",
};

// The pairs of DbWykonajSQLKonwersje after the data-too-long repair, with their blanks.
constexpr std::array<Para, 7> kParySQL = {{
    {jet::hr::NoSuchTable, "DROP TABLE "},
    {jet::hr::NoSuchTable, "DROP COLUMN "},
    {jet::hr::Syntax, "DROP "},
    {jet::hr::MultipleStep, "DROP "},
    {jet::hr::MultipleStep, " ADD "},
    {jet::hr::Unspecified, "CREATE UNIQUE"},
    {jet::hr::Syntax, "IDENTITY"},
}};

template <size_t N>
bool para_pasuje(const std::array<Para, N>& pary, uint32_t numer, std::string_view wielkie) {
    for (const auto& p : pary)
        if (p.numer == numer && zawiera(wielkie, p.slowo)) return true;
    return false;
}

// The Abort/Retry/Ignore box of the update, insert and delete executors; Abort ends
// the process. Returns true for Retry, false for Ignore.
bool Zapytaj_Ponow(const std::string& r, const std::string& polecenie) {
    const int32_t odp = FMsg_box(r + "\r\n" + polecenie, vbAbortRetryIgnore,
                                 "błąd:  " + r + " w " + Biezaca_Operacja);
    if (odp == vbAbort) Wylogowanie();
    return odp == vbRetry;
}

}  // namespace

void ClsKonwersje::DbWykonajKonwersje(const std::string& statement, bool quiet) {
    if (Baza_Otwarta == 0) DbPolacz_Ponownie();
    try {
        polaczenie().Execute(statement, nullptr, -1);
    } catch (const jet::Error& e) {
        platform::set_clipboard(statement);
        if (quiet) return;
        const std::string wielkie = jet::text::upper(statement);
        if (para_pasuje(kParyKonwersji, e.number(), wielkie)) return;
        for (auto f : kFragmenty)
            if (zawiera(e.description(), f)) return;
        Blad_Krytyczny("DbWykonajKonwersje", statement, result_text(e));
    }
}

void ClsKonwersje::DbWykonajKonwersjeNoErr(const std::string& statement) {
    if (Baza_Otwarta == 0) DbPolacz_Ponownie();
    try {
        polaczenie().Execute(statement, nullptr, -1);
    } catch (const jet::Error& e) {
        Zapisz_Log(statement, "DbWykonajKonwersjeNoErr", "ERROR " + e.description());
    }
}

std::string ClsKonwersje::DbWykonajSQLKonwersje(const std::string& statement,
                                                int32_t& records_affected, bool quiet) {
    if (Baza_Otwarta == 0) DbPolacz_Ponownie();
    try {
        auto& c = polaczenie();
        c.CursorLocation = ado::adUseServer;
        c.Execute(statement, &records_affected, kPolecenieTekstowe);
        return "";
    } catch (const jet::Error& e) {
        records_affected = -1;
        if (e.number() == jet::hr::TooLong)
            return Poszerz_Pola_Z_SQLKonwersje(statement, records_affected);
        if (para_pasuje(kParySQL, e.number(), jet::text::upper(statement))) return "";
        if (e.number() == jet::hr::Unspecified) return quiet ? "1" : lost_connection_text(e);
        return result_text(e);
    }
}

int32_t ClsKonwersje::DbWykonajUPDKonwersje(const std::string& statement, const std::string& table,
                                            const std::string& values, const std::string& condition,
                                            const std::string& /*extra*/, bool quiet) {
    std::string polecenie;
    if (statement.empty()) {
        polecenie = "UPDATE " + table + " set " + values;
        if (!condition.empty()) polecenie += " Where " + condition;
    } else {
        polecenie = "UPDATE " + statement;
    }
    int32_t rekordy = 0;
    for (;;) {
        std::string r = DbWykonajSQLKonwersje(polecenie, rekordy, quiet);
        if (r.empty() || r == "1") return rekordy;
        if (zawiera(r, "-2147467259(")) {
            for (int i = 0; i < 150; ++i) {
                r = DbWykonajSQLKonwersje(polecenie, rekordy, false);
                if (r.empty()) return rekordy;
            }
        }
        platform::set_clipboard(polecenie);
        Zapisz_Log(polecenie, "DbWykonajUPD", r);
        if (quiet) return -1;
        if (!Zapytaj_Ponow(r, polecenie)) return -1;
    }
}

bool ClsKonwersje::DbWykonajIINKonwersje(const std::string& text, const std::string& replacement,
                                         bool& quiet, int32_t& records_affected) {
    std::string polecenie = "INSERT INTO " + (replacement.empty() ? text : replacement);
    for (;;) {
        const std::string r = DbWykonajSQLKonwersje(polecenie, records_affected, quiet);
        if (r.empty()) return true;
        platform::set_clipboard(polecenie);
        if (r == "1") return true;
        if (zawiera(r, "-2147217900(")) {
            // An alias "as TT" that the engine refuses is cut out once, with the two
            // characters after it, when the statement holds exactly one.
            const size_t pierwszy = polecenie.find("as TT");
            if (pierwszy != std::string::npos &&
                polecenie.find("as TT", pierwszy + 7) == std::string::npos) {
                polecenie = polecenie.substr(0, pierwszy) +
                            (pierwszy + 7 < polecenie.size() ? polecenie.substr(pierwszy + 7) : "");
                continue;
            }
        }
        Zapisz_Log(polecenie, "DbWykonajIIN", r);
        if (!Zapytaj_Ponow(r, polecenie)) return true;
    }
}

bool ClsKonwersje::DbWykonajIINKonwersje(const std::string& text) {
    bool quiet = false;
    int32_t rekordy = 0;
    return DbWykonajIINKonwersje(text, "", quiet, rekordy);
}

int32_t ClsKonwersje::DbWykonajDELKonwersje(const std::string& table_and_condition,
                                            const std::string& what) {
    const std::string polecenie = "DELETE " + what + " FROM " + table_and_condition;
    int32_t rekordy = 0;
    for (;;) {
        const std::string r = DbWykonajSQLKonwersje(polecenie, rekordy, false);
        if (r.empty()) return rekordy;
        platform::set_clipboard(polecenie);
        Zapisz_Log(polecenie, "DbWykonajDEL", r);
        if (!Zapytaj_Ponow(r, polecenie)) return -1;
    }
}

int32_t ClsKonwersje::DbOtwórzSELKonwersje(std::unique_ptr<ado::Recordset>& rs,
                                           const std::string& text, bool quiet) {
    const std::string polecenie = Polecenie_Select(text);
    for (;;) {
        ZamknijRSKonwersje(rs);
        rs = std::make_unique<ado::Recordset>();
        const std::string r = DbOtwórzRS(rs, polecenie, 0);
        if (r.empty()) return rs->RecordCount();
        ZamknijRSKonwersje(rs);
        if (quiet) return -1;
        const int32_t odp = FMsg_box("uwaga wystąpił następujący błąd:  " + r, vbAbortRetryIgnore,
                                     "Otwórz połączenie");
        if (odp == vbAbort) Blad_Krytyczny("DbOtwórzSELKonwersje", polecenie, r);
        if (odp == vbIgnore) return -1;
    }
}

void ClsKonwersje::ZamknijRSKonwersje(std::unique_ptr<ado::Recordset>& rs) {
    ZamknijRS(rs);
}

std::string ClsKonwersje::DbWykonajDAOKonwersje(const std::string& statement) {
    return DbWykonajDAO(statement, BazaDAO);
}
