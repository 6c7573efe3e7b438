// The conversion class's own executors. A conversion must be able to run again over
// a partly converted database, so the main executor absorbs every expected schema
// failure (by number and keyword, and by seven fragments of the description) and ends
// the process on any other: a step never goes on after a statement that really failed.
// A failure of the environment (a locked file, a full disk, a read-only database, an I/O
// error) is never expected: no quiet flag and no rule absorbs it.
#include "db/komunikaty.h"
#include "db/otworz.h"
#include "db/polaczenie.h"
#include "db/stan.h"
#include "db/wykonaj.h"
#include "db/wykonawca.h"
#include "driver/konwersje.h"
#include "jet/error.h"
#include "platform/clipboard.h"

namespace {

using jet::hr::MultipleStep;
using jet::hr::Syntax;
using jet::hr::Unspecified;

// Failures that every run of DbWykonajSQLKonwersje absorbs besides the DROP failures
// (after the data-too-long repair), keywords with their blanks: an ADD or a unique index
// already there, an IDENTITY column the table already has.
constexpr Regula_Bledu kPochlanianeKonwersji[] = {
    {MultipleStep, " ADD ", ""},
    {Unspecified, "CREATE UNIQUE", ""},
    {Syntax, "IDENTITY", ""},
};

// DbWykonajKonwersje: the expected schema failures, and fragments of the engine's
// description that mark an expected failure (matched exactly, case-sensitive, in the
// provider's languages).
constexpr Regula_Bledu kOpisyTolerowane[] = {
    {0, "", "Nie podano wartości dla jednego"},
    {0, "", "No such index"},
    {0, "", "There is no field"},
    {0, "", "duplicate values"},
    {0, "", "already exists"},
    {0, "", "doesn't exist"},
    {0, "", "The database engine couldn't lock table"},
};

constexpr Zasady_Wykonawcy kUPDKonwersje{.etykieta = "DbWykonajUPD",
                                         .pochlaniane = kPochlanianeKonwersji,
                                         .ponowienia_utraty = 150,
                                         .cicho_bez_pytania = true};
constexpr Zasady_Wykonawcy kIINKonwersje{.etykieta = "DbWykonajIIN",
                                         .pochlaniane = kPochlanianeKonwersji};
constexpr Zasady_Wykonawcy kDELKonwersje{.etykieta = "DbWykonajDEL",
                                         .pochlaniane = kPochlanianeKonwersji};

// The insert executor's repair: an alias "as TT" that the engine refuses is cut out
// once, with the two characters after it, when the statement holds exactly one.
bool bez_aliasu_TT(std::string& polecenie, const Wynik_Polecenia& w) {
    if (w.numer != Syntax) return false;
    const size_t pierwszy = polecenie.find("as TT");
    if (pierwszy == std::string::npos || polecenie.find("as TT", pierwszy + 7) != std::string::npos)
        return false;
    polecenie = polecenie.substr(0, pierwszy) +
                (pierwszy + 7 < polecenie.size() ? polecenie.substr(pierwszy + 7) : "");
    return true;
}

// DbWykonajKonwersje: runs the statement; a failure of the rules above is passed over,
// any other ends the run. A passed-over failure of a statement that moves,
// carries or deletes rows ends the run as well, unless it is one that oczekiwany states
// and the state it stands for holds.
void Wykonaj_Konwersje(const std::string& statement, bool quiet,
                       const ClsKonwersje::Oczekiwany_Blad& oczekiwany) {
    if (Baza_Otwarta == 0) DbPolacz_Ponownie();
    try {
        polaczenie().Execute(statement, nullptr, -1);
    } catch (const jet::Error& e) {
        platform::set_clipboard(statement);
        const Wynik_Polecenia w = Wynik_Bledu(e);
        const bool pominiety = (quiet && !Awaria_Srodowiska(w)) ||
                               Pasuje(kBledy_Schematu, w, statement) ||
                               Pasuje(kOpisyTolerowane, w, statement);
        if (!pominiety && !Klucz_Nie_Utworzony(w, statement) && !Klucz_Powtorzony(w, statement))
            Blad_Krytyczny("DbWykonajKonwersje", statement, w.tekst);
        Rozstrzygnij_Pominiecie("DbWykonajKonwersje", statement, w, oczekiwany);
    }
}

}  // namespace

void ClsKonwersje::DbWykonajKonwersje(const std::string& statement, bool quiet) {
    Wykonaj_Konwersje(statement, quiet, {});
}

void ClsKonwersje::DbWykonajKonwersje(const std::string& statement,
                                      const Oczekiwany_Blad& oczekiwany, bool quiet) {
    Wykonaj_Konwersje(statement, quiet, oczekiwany);
}

void ClsKonwersje::DbWykonajKonwersjeNoErr(const std::string& statement,
                                           const Oczekiwany_Blad& oczekiwany) {
    if (Baza_Otwarta == 0) DbPolacz_Ponownie();
    try {
        polaczenie().Execute(statement, nullptr, -1);
    } catch (const jet::Error& e) {
        Zapisz_Log(statement, "DbWykonajKonwersjeNoErr", "ERROR " + e.description());
        // A locked file or a full disk lost the write: the run must not go on as if the
        // statement had merely found its work done.
        if (jet::environment_failure(e))
            Blad_Krytyczny("DbWykonajKonwersjeNoErr", statement, result_text(e));
        Rozstrzygnij_Pominiecie("DbWykonajKonwersjeNoErr", statement, Wynik_Bledu(e), oczekiwany);
    }
}

std::string ClsKonwersje::DbWykonajSQLKonwersje(const std::string& statement,
                                                int32_t& records_affected, bool quiet) {
    return Wykonaj_Raz(statement, records_affected, quiet, kPochlanianeKonwersji).tekst;
}

int32_t ClsKonwersje::DbWykonajUPDKonwersje(const std::string& statement, const std::string& table,
                                            const std::string& values, const std::string& condition,
                                            const std::string& /*extra*/, bool quiet,
                                            const Oczekiwany_Blad& oczekiwany) {
    std::string polecenie;
    if (statement.empty()) {
        polecenie = "UPDATE " + table + " set " + values;
        if (!condition.empty()) polecenie += " Where " + condition;
    } else {
        polecenie = "UPDATE " + statement;
    }
    int32_t rekordy = 0;
    const std::string r =
        Wykonaj_W_Petli(polecenie, rekordy, quiet, kUPDKonwersje, {}, oczekiwany).tekst;
    return r.empty() || r == "1" ? rekordy : -1;
}

bool ClsKonwersje::DbWykonajIINKonwersje(const std::string& text, const std::string& replacement,
                                         bool& quiet, int32_t& records_affected,
                                         const Oczekiwany_Blad& oczekiwany) {
    std::string polecenie = "INSERT INTO " + (replacement.empty() ? text : replacement);
    const Wynik_Polecenia w = Wykonaj_W_Petli(polecenie, records_affected, quiet, kIINKonwersje,
                                              bez_aliasu_TT, oczekiwany);
    if (w.tekst == "1") platform::set_clipboard(polecenie);
    return true;
}

bool ClsKonwersje::DbWykonajIINKonwersje(const std::string& text) {
    bool quiet = false;
    int32_t rekordy = 0;
    return DbWykonajIINKonwersje(text, "", quiet, rekordy);
}

int32_t ClsKonwersje::DbWykonajDELKonwersje(const std::string& table_and_condition,
                                            const std::string& what) {
    std::string polecenie = "DELETE " + what + " FROM " + table_and_condition;
    int32_t rekordy = 0;
    return Wykonaj_W_Petli(polecenie, rekordy, false, kDELKonwersje).tekst.empty() ? rekordy : -1;
}

int32_t ClsKonwersje::DbOtwórzSELKonwersje(std::unique_ptr<ado::Recordset>& rs,
                                           const std::string& text, bool quiet) {
    const std::string polecenie = Polecenie_Select(text);
    for (;;) {
        ZamknijRSKonwersje(rs);
        rs = std::make_unique<ado::Recordset>();
        std::string r = DbOtwórzRS(rs, polecenie, 0);
        if (r.empty()) r = Policz_Rekordy(rs);
        if (r.empty()) return rs->RecordCount();
        ZamknijRSKonwersje(rs);
        if (quiet && !Awaria_Srodowiska(r)) return -1;
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
    if (!BazaDAO) return DbWykonajDAO(statement, BazaDAO);
    try {
        BazaDAO->Execute(statement);
        return "";
    } catch (const jet::Error& e) {
        // The steps pass over the description this returns; a failure of the environment
        // ends the run, and so does a key that the rows cannot take, or that rows written
        // would repeat, and its rule does not keep.
        const Wynik_Polecenia w = Wynik_Bledu(e);
        if (Awaria_Srodowiska(w)) Blad_Krytyczny("DbWykonajDAOKonwersje", statement, w.tekst);
        if ((Klucz_Nie_Utworzony(w, statement) || Klucz_Powtorzony(w, statement)) &&
            Rozstrzygnij_Pominiecie("DbWykonajDAOKonwersje", statement, w, {},
                                    Ponowienie_Przez([&] { BazaDAO->Execute(statement); })))
            return "";
        return e.description();
    }
}
