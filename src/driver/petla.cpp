// The version loop: every step number from the database's version plus one up to
// 646, each recorded in the log and the registry before it runs and in the database
// after it has run, so that a stopped run resumes at the step that did not finish.
#include <charconv>
#include <cmath>

#include "db/komunikaty.h"
#include "db/nz.h"
#include "db/otworz.h"
#include "db/polaczenie.h"
#include "db/postep.h"
#include "db/rejestr.h"
#include "db/stan.h"
#include "db/teksty.h"
#include "driver/klucze.h"
#include "driver/konwersje.h"
#include "driver/liczby.h"
#include "jet/database.h"
#include "jet/error.h"
#include "platform/paths.h"
#include "platform/terminal.h"

namespace {

constexpr int kOstatniKrok = 646;

// The number of a step from a version: the version written with two decimals, read back
// as a single-precision number, times 100, to the nearest integer (1.65 gives 165).
int Krok_Wersji(double wersja) {
    const float dwa_miejsca = static_cast<float>(std::round(wersja * 100.0) / 100.0);
    return static_cast<int>(std::lround(dwa_miejsca * 100.0f));
}

// What the earlier tool left of a step that cannot go on over it, by the Log's line,
// and what to do: the message's text after "została przerwana ".
std::string Stan_Przerwanego(const Krok_Z_Logu& log) {
    const bool koniec = log.stan == Stan_Z_Logu::Zakonczony;
    return (koniec ? "przed zapisem wersji (" + log.wiersz +
                         " ma jego \"End\", baza nie ma jego wersji)"
                   : "w trakcie kroku (" + log.wiersz + " ma jego \"Begin\" bez \"End\")") +
           "; przywróć kopię bazy zrobioną przed tamtą konwersją i przekonwertuj ją tym programem";
}

}  // namespace

// The conversion brings the rule of the keys: a key that a step makes over rows that an
// older release could hold keeps them by its line (driver/klucze.h).
ClsKonwersje::ClsKonwersje() {
    Ustaw_Regule_Kluczy(Zastosuj_Regule_Klucza);
    Ustaw_Regule_Powtorzen(Zastosuj_Regule_Powtorzen);
}
// Destroying the open step's unit rolls the step back: a run that leaves the loop by a
// failure, or the version check by any way but its commit, leaves the database as the
// last completed step left it, and the lines held for the step go with it.
ClsKonwersje::~ClsKonwersje() {
    Log_Kroku_Porzuc();
}

bool ClsKonwersje::RUN_Konwersje() {
    try {
        if (Baza_Otwarta == 0) DbPolacz_Ponownie();
        Sciezka = polaczenie().Properties(7);
    } catch (const jet::Error& e) {
        Wyjątek_Pokaż(e.signed_number(), e.description(),
                      "/Proc:RUN_Konwersje,ModT:Module,ModN:Konwersja", 0);
        Wersja_Bazy = 0;
        return false;
    }

    // Until the loop a failing statement is skipped and the next one runs.
    Wersja_Startowa = static_cast<int16_t>(Krok_Wersji(Wersja_Bazy));
    const int ostatni = kOstatniKrok;
    float jet_wersja = 0;
    try {
        auto baza = dao::DBEngine::OpenDatabase(Sciezka);
        try {
            jet_wersja =
                static_cast<float>(NzCur(jet::Value::text(baza->Properties(6))).to_double());
        } catch (const jet::Error&) {
        }
        baza->Close();
    } catch (const jet::Error&) {
    }
    CzekajKonwersje(3);
    if (jet_wersja == 0) {
        FMsg_box(
            "Konwersja bazy wykryła błędny numer wersji JET - zero. Być może baza "
            "zabezpieczona jest pezed zapisem",
            vbOKOnly, "");
        return false;
    }
    if (jet_wersja <= 3.0f) {
        Pokaz_Postep("", "", "(97/2000)");
        try {
            Porzadkuj_BazeKonwersje(Sciezka, true);
        } catch (const jet::Error& e) {
            // A failure ends the tidy-up; the upgrade follows on the partly tidied file.
            // The tidy-up's handle on the file is let go first, so that the backup copy
            // is made of the file with every change the tidy-up wrote.
            if (BazaDAO) {
                try {
                    BazaDAO->Close();
                } catch (const jet::Error&) {
                }
                BazaDAO.reset();
            }
            // A failure of the environment (a locked file, a full disk, an I/O error) is
            // no statement's: the run stops before the upgrade, reaching the version check.
            if (jet::environment_failure(e)) throw;
        }
        try {
            Konwertuj_A97_A2000();
        } catch (const jet::Error& e) {
            if (jet::environment_failure(e)) throw;
        }
    }
    Pokaz_Postep("", "", "");

    // From here no failure is handled in this routine: it reaches the version check,
    // and the step it stopped is rolled back when the conversion object goes.
    Czytaj_Log_Przebiegu();
    for (int v = Wersja_Startowa + 1; v <= ostatni; ++v) {
        // The first step, begun and not ended by the earlier tool, or ended and without its
        // version, goes on only where the table of such steps proves that this program's
        // step ends what that run left as an uninterrupted run; ended, it ran whole, and
        // only its version is written. Any other step stops here before its first write.
        const bool pierwszy = v == Wersja_Startowa + 1 && Log_Kroku.krok == v;
        if (pierwszy && Log_Kroku.stan != Stan_Z_Logu::Brak && !Krok_Idzie_Dalej_Po_Przerwaniu(v))
            Konwersja_Przerwana(v, Stan_Przerwanego(Log_Kroku));
        const bool tylko_wersja = pierwszy && Log_Kroku.stan == Stan_Z_Logu::Zakonczony;
        // Each step is a unit of work with its version: a run that ends inside it, by an
        // Abort, a critical error or a kill, leaves the database as the last completed
        // step left it, and the rerun repeats the step whole. A unit whose checkpoint
        // could not commit (a transaction left open) goes on with the next step.
        const bool nowa_jednostka = !step_unit_ || !step_unit_->is_open();
        if (nowa_jednostka) {
            if (!Baza_Otwarta) DbPolacz_Ponownie();
            step_unit_ = std::make_unique<jet::WorkUnit>(polaczenie().database());
        }
        // The lines that name what the step changes reach the Log with its commit.
        Log_Kroku_Wstrzymaj(v, nowa_jednostka);
        Pokaz_Postep("", " Konwresja:" + Format_Liczby_2(v / 100.0), "");
        Zapisany_Etap = status_line(3);
        // The mark and the step's "Begin" reach the Log in one write, so that no "Begin" of
        // this program's is ever read as the earlier tool's; a Log that cannot take them
        // stops the run here, before the step's first write, as a full disk does.
        if (const std::string blad =
                Zapisz_Log_Wiersze(Tekst_Liczby(v), "Konwersja", {kZnacznik_Kroku, "Begin"});
            !blad.empty())
            throw jet::Error(jet::hr::Unspecified,
                             "Nie można zapisać początku konwersji do wersji " + Wersja_Kroku(v) +
                                 " w pliku Log " + platform::log_file_for(Sciezka_Bazy) + ": " +
                                 blad + ". Konwersję zatrzymano przed tym krokiem.");
        Zapisz_Rejestr("dodralvexNumerBazy", Tekst_Liczby(v / 100.0), 0);
        Krok_Konwersji = v;
        if (tylko_wersja)
            Zapisz_Log(Tekst_Liczby(v), "Konwersja",
                       "Krok zakończony wcześniej (" + Log_Kroku.wiersz +
                           " ma jego \"End\"); zapisano tylko wersję");
        else
            Wykonaj_Krok(v);
        // A temporary column that a run of the suite's earlier tool left in a table and
        // that the first step did not settle (or that a later one left) is settled after
        // the run's first step and its last, so that no run ends with one in a table.
        if (v == Wersja_Startowa + 1 || v == ostatni) Sprawdz_Kolumny_Tymczasowe();
        Pokaz_Postep("", "", Zapisany_Etap);
        Wersja_Bazy = v / 100.0;
        std::unique_ptr<ado::Recordset> rs = std::make_unique<ado::Recordset>();
        DbOtwórzRS(rs, "SELECT [NumerWersji] FROM Nieruszac", 0);
        rs->Fields(0).set(jet::Value::dbl(Wersja_Bazy));
        rs->UpdateBatch(ado::adAffectAllChapters);
        ZamknijRS(rs);
        // The step and its version are one unit: commit them together, so that a run
        // stopped in the next step leaves the database exactly as this one left it. The
        // last step's unit also takes the closing writes, and the version check commits
        // it: its version committed alone would tell the rerun of a run stopped before
        // the closing writes that nothing is left to do. The log tells a step's end once it
        // is committed (the last step's, after the version check's commit): a run stopped
        // before that leaves the step's "Begin" without its "End", as its rerun repeats it;
        // the lines that name what the step changed come with its "End", never before the
        // commit (db/komunikaty.h).
        if (v < ostatni)
            Zatwierdz_Z_Logiem_Kroku(Tekst_Liczby(v), "Konwersja", "End", [this] {
                polaczenie().Checkpoint();
                return !step_unit_->is_open();
            });
    }

    Krok_Konwersji = 0;
    Zapisz_Log("", "Konwersja", "End-All");
    Pokaz_Postep("", " Program:" + Format_Liczby_2(ostatni / 100.0), "Porządki");
    Pokaz_Postep("", "", "Skończyłem");
    Wersja_Bazy = 6.46;
    // The users' rights are cleared in each rights column that the database keeps: a
    // database without the table or without one of the columns has none there to clear.
    static constexpr const char* kPrawa[] = {"prawa",  "prawaK", "prawaP", "prawaF", "prawaZ",
                                             "prawaS", "prawaM", "prawaR", "prawaC"};
    for (const char* p : kPrawa)
        if (Jest_Tabela("UZYTKOWNICY", p))
            DbWykonajKonwersje(std::string(" update [UZYTKOWNICY] set [") + p + "]=null", true);
    BArS_Update();
    return true;
}

void ClsKonwersje::Wykonaj_Krok(int v) {
    const PozycjaKroku akcja = Akcja_Kroku(v);
    switch (akcja.rodzaj) {
        case RodzajKroku::Pusty:
            Konwersja_Pusta();
            return;
        case RodzajKroku::Sygnal:
            platform::beep();
            return;
        case RodzajKroku::Metoda:
            if (akcja.zastepczy != nullptr) {
                (*akcja.zastepczy)(*this);
                return;
            }
            if (akcja.metoda == nullptr) {
                // A step that this build does not have must not be passed over: the run
                // stops here, and the version stays at the last step that completed.
                throw jet::Error(0x80004001,
                                 "Ta wersja programu nie zawiera kroku konwersji do wersji " +
                                     Wersja_Kroku(v) + " (Konwersja_" + std::to_string(v) + ").");
            }
            (this->*akcja.metoda)();
            return;
        case RodzajKroku::Poza:
            FMsg_box("NIEROZPOZNANA WERSJA PROGRAMU !!! ", vbCritical, "");
            DbZamknij_Unload(-1);
            return;
    }
}
